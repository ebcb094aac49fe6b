#pragma once
// The rebuild window "系统重建": clears the months and pay records (and the
// files kept beside them) so that test data entered while learning the
// program can go. Pay items, settings and tax brackets stay.
#include "platform/ui/Forms.h"

class TButton;
class TCheckBox;
class TGroupBox;
class TListBox;
class TMemo;

class TfrmReBulid : public TForm {
public:
  explicit TfrmReBulid(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TfrmReBulid"); }

  // Runs the statements of the list in one transaction: all or none. Those
  // prefixed "B_" run (without the prefix) only with ClearBasic. Raises when
  // one fails, having written nothing.
  void ExecAllSQL(bool ClearBasic);
  // True once the data has been cleared; the program is then to end.
  bool Rebuilt() const { return FRebuilt; }

  TGroupBox* GroupBox1;
  TMemo* Memo1;
  TCheckBox* chkBusiness;
  TCheckBox* chkBasic;
  TListBox* lstSQL;
  TButton* btnRebuild;
  TButton* btnCancel;

private:
  void btnRebuildClick(TObject* Sender);
  bool FRebuilt = false;
};

// Shows the rebuild window modally; true when it cleared the data.
bool ShowReBulid();
