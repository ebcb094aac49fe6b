#pragma once
// The program's main window: the pay months on the left, the current month's
// pay records on the right, and the commands around them.
#include "platform/ui/Forms.h"

class TfrmMainGZT : public TForm {
public:
  // Runs the start-up steps (FormCreate).
  explicit TfrmMainGZT(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TfrmMainGZT"); }

  // Program folder, vendor information, caption, default pay items and the
  // settings, in that order.
  void FormCreate();
};

extern TfrmMainGZT* frmMainGZT;
