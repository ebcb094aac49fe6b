#pragma once
// The dialog that changes the login and management password.
#include "platform/ui/Forms.h"

class TLabel;
class TEdit;
class TButton;
class TGroupBox;

class TfrmPassSet : public TForm {
public:
  explicit TfrmPassSet(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TfrmPassSet"); }

  TEdit* EditOldPass;
  TEdit* EditNewPass;
  TEdit* EditConfirmPass;
  TGroupBox* grpHint;
  TButton* btnOK;
  TButton* btnCancel;

private:
  // Stores the new password when the old one is right and the new one was typed
  // the same twice; closes once it has been stored or could not be.
  void btnOKClick();
};

void ShowPassSet();
