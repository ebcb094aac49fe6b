#pragma once
// "修改工资设置": the caption, state and formula of one pay item.
#include "platform/ui/Forms.h"

class TButton;
class TComboBox;
class TEdit;

class TfrmGZSetEdit : public TForm {
public:
  explicit TfrmGZSetEdit(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TfrmGZSetEdit"); }

  TEdit* EditName;
  TComboBox* cmbUseStu;  // its index is the state: 0 shown, 1 hidden
  TEdit* EditCalcStr;
  TButton* btnTax;
  TButton* btnSave;
  TButton* btnCancel;

  // Leaving the caption: a caption that names the income tax offers the tax formula.
  void EditNameExit();
  // An empty caption is refused; otherwise the window closes as saved.
  void btnSaveClick();
};

// Edits one item's caption, formula and state (0 shown, 1 hidden). The values
// come back in every case; only a true result says to use them.
bool EditGZSetItem(String& Caption, String& Formula, Integer& State);
