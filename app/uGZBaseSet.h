#pragma once
// "基本工资项目设置": the captions, states and formulas of a month's pay items,
// edited locally and saved together.
#include "platform/ui/Forms.h"

class TADODataSet;
class TButton;
class TDataSource;
class TDBGridX;
class TEdit;
class TGroupBox;
class TLabel;

class TfrmGZBaseSet : public TForm {
public:
  explicit TfrmGZBaseSet(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TfrmGZBaseSet"); }

  // Opens the month's earnings and deductions, or those of "BASE" when the month
  // has no items of its own; false (with "读取数据库发生错误！" shown) on failure.
  bool ReadyData(const String& Month);
  // Writes both lists' changes in one transaction; on failure nothing is written,
  // "存储数据发生错误！" is shown, the lists show what is stored and the result is false.
  bool SaveData();
  // Edits the current item of the earnings (Button3) or deductions (Button4).
  void Button3Click();
  void Button4Click();
  void Button1Click();  // save

  TEdit* EditMonth;
  TLabel* lblNote;
  TGroupBox* grpEarnings;
  TGroupBox* grpDeductions;
  TADODataSet* dsEarnings;
  TADODataSet* dsDeductions;
  TDataSource* DataSource1;
  TDataSource* DataSource2;
  TDBGridX* DBGridEh1;
  TDBGridX* DBGridEh2;
  TButton* Button3;
  TButton* Button4;
  TButton* Button1;
  TButton* Button2;

private:
  void EditItem(TADODataSet* Items);
};

// Shows the pay items of Month; true when they were saved.
bool ShowGZBaseSet(const String& Month);
