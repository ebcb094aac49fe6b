#pragma once
// The custom filter dialog: up to two conditions on one column, each an operator chosen from
// a list and a value, joined by AND or OR, written into the column's filter as its text.
#include "dbgrid/DBGridXColumns.h"
#include "grid/DBCtrlsX.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Panels.h"
#include "platform/ui/StdCtrls.h"

class TDBGridXSimpleFilterDialog : public TForm {
public:
  explicit TDBGridXSimpleFilterDialog(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TDBGridXSimpleFilterDialog"); }

  TLabel* Label1;
  TBevel* Bevel1;
  TComboBox* ComboBox1;
  TEdit* Edit1;
  TDBComboBoxX* DBComboBoxEh1;
  TRadioButton* rbAnd;
  TRadioButton* rbOr;
  TComboBox* ComboBox2;
  TEdit* Edit2;
  TDBComboBoxX* DBComboBoxEh2;
  TLabel* Label2;
  TLabel* Label3;
  TButton* bOk;
  TButton* bCancel;

  // Fills the operator lists for Column and loads its filter.
  void Prepare(TColumnX* Column);
  TColumnX* Column() const { return FColumn; }
  // The operator code of the item chosen in an operator list (0 without one).
  Integer OperatorCode(TComboBox* Operators) const;
  // Selects the item of Code; none when the list does not offer it.
  void SelectOperator(TComboBox* Operators, Integer Code);
  // The filter text the two conditions make.
  String FilterText();

private:
  void FillOperators(TComboBox* Operators, bool OfferLike);
  void LoadCondition(TComboBox* Operators, TDBComboBoxX* Value, TSTOperatorX Operator, const Variant& Operand);
  String ConditionText(TComboBox* Operators, TDBComboBoxX* Value);
  TColumnX* FColumn = nullptr;
  std::vector<Integer> FCodes;
};

// The operator texts of the dialog's lists, by operator code (0 to 18).
extern const char* const SSimpleFilterOperatorTexts[19];
