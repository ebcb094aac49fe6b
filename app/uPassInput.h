#pragma once
// The password prompt: a hint and one box that shows "*" for each character.
#include "platform/ui/Forms.h"

class TLabel;
class TEdit;
class TButton;

class TfrmPassInput : public TForm {
public:
  explicit TfrmPassInput(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TfrmPassInput"); }

  TLabel* lblHint;
  TEdit* EditPass;
  TButton* btnOK;
  TButton* btnCancel;
};

// Shows the prompt with the window caption Caption and the hint Hint; the box's text,
// whichever button closed it.
String InputPass(const String& Caption, const String& Hint);
