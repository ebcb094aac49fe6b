#pragma once
// "新增/修改个税设置": one income-tax bracket, added or edited in place.
#include "platform/ui/Forms.h"

class TADODataSet;
class TButton;
class TComboBox;
class TMaskEdit;

enum TGSModelEditMode { gemAdd = 0, gemEdit = 1 };

class TfrmGSBaseSetEdit : public TForm {
public:
  TfrmGSBaseSetEdit(TComponent* AOwner, TADODataSet* Brackets, TGSModelEditMode Mode);
  String ClassName() const override { return QStringLiteral("TfrmGSBaseSetEdit"); }

  // Writes the bracket (a new one in add mode) and closes.
  void btnOkClick();

  TComboBox* cmbClassIdx;  // levels "1".."9"; shown, not chosen
  TMaskEdit* EditYNSTotal;
  TMaskEdit* EditSLRate;
  TMaskEdit* EditSQKCS;
  TButton* btnOk;
  TButton* btnCancel;

private:
  TADODataSet* FBrackets;
  TGSModelEditMode FMode;
};

// Adds a bracket after the existing ones or edits the current one; written at once.
void EditGSModel(TADODataSet* Brackets, TGSModelEditMode Mode);
