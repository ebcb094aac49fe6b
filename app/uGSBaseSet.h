#pragma once
// "个税计算规则设置": the income-tax brackets and the tax-free threshold, both
// written at once.
#include "platform/ui/Forms.h"

class TADODataSet;
class TButton;
class TDataSource;
class TDBGridX;
class TMaskEdit;

class TfrmGSBaseSet : public TForm {
public:
  explicit TfrmGSBaseSet(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TfrmGSBaseSet"); }

  // Opens the brackets and shows the threshold; failures are ignored.
  void ReadyData();
  // Leaving the threshold: it is stored, an empty field as 0; a failure is ignored.
  void EditGSLimitExit();
  // "发送Excel": the brackets into a workbook, opened afterwards.
  void cmdExcelClick();
  void cmdAddClick();     // a bracket above the highest; at most nine
  void cmdEditClick();
  // Deletes the highest bracket after the user says Yes.
  void cmdDeleteClick();

  TMaskEdit* EditGSLimit;
  TADODataSet* dsGSModel;
  TDataSource* DataSource1;
  TDBGridX* DBGridEh1;
  TButton* cmdPrint;
  TButton* cmdExcel;
  TButton* cmdClose;
  TButton* cmdAdd;
  TButton* cmdEdit;
  TButton* cmdDelete;
};

void ShowGSBaseSet();
