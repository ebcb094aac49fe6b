#pragma once
// The picker "选择历史发放月度": the months that have pay records, newest
// name first, for choosing the model of a new month or the source of a copy.
#include "platform/ui/Forms.h"

class TADODataSet;
class TButton;
class TDataSource;
class TDBGridX;

class TfrmSelectHisMonth : public TForm {
public:
  explicit TfrmSelectHisMonth(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TfrmSelectHisMonth"); }

  // Opens the months; false (with "读取数据库发生错误！" shown) when they cannot be read.
  bool ReadyData();
  // The chosen month; empty unless the user chose one.
  const String& Chosen() const { return FChosen; }

  TADODataSet* dsMonths;
  TDataSource* DataSource1;
  TDBGridX* DBGridEh1;
  TButton* btnSelect;
  TButton* btnCancel;

private:
  // Takes the current month and closes; nothing happens on an empty list.
  void Choose();
  String FChosen;
};

// Shows the picker; true with the chosen month in Month, false when the user
// cancels or the months cannot be read.
bool SelectHisMonth(String& Month);
