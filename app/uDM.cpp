#include "app/uDM.h"
#include "app/AppMessages.h"
#include "app/PayrollDatabase.h"
#include "app/uPub.h"
#include "platform/rtl/Files.h"

TDM* DM = nullptr;

TDM::TDM(TComponent* AOwner)
    : TComponent(AOwner),
      ADOLocal(new TADOConnection(this)),
      dsQuery(new TADODataSet(this)),
      dsPara(new TADODataSet(this)) {
  ADOLocal->SetLoginPrompt(false);
  dsQuery->SetConnection(ADOLocal);
  dsPara->SetConnection(ADOLocal);
  dsPara->SetCommandText(QStringLiteral("select * from TPara"));
  dsPara->SetCursorType(ctStatic);
  dsPara->SetLockType(ltBatchOptimistic);
  DataModuleCreate();
}

void TDM::DataModuleCreate() {
  GAppPath = ProgramFolder();
  const String FileName = DatabaseFileName();
  ADOLocal->SetConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + FileName +
                                QStringLiteral(";Persist Security Info=False") +
                                QStringLiteral(";Jet OLEDB:Database Password=qzvm27153906"));
  try {
    if (!FileExists(FileName)) CreatePayrollDatabase(FileName);
    ADOLocal->Open();
  } catch (const Exception&) {
    ShowAppMessage(QStringLiteral("请确认您的程序是否安装正确，或者没有安装MDAC数据访问组件！"));
  }
}

String TDM::GetDataBySQL(const String& SQL) {
  try {
    dsQuery->Close();
    dsQuery->SetCommandText(SQL);
    dsQuery->Open();
    if (dsQuery->IsEmpty() || dsQuery->FieldCount() == 0) return String();
    return dsQuery->Fields()->Fields(0)->AsString();
  } catch (const Exception&) {
    return String();
  }
}

void TDM::GetDataBySQLToItems(const String& SQL, TStrings* Items, bool ClearFirst) {
  try {
    dsQuery->Close();
    dsQuery->SetCommandText(SQL);
    dsQuery->Open();
  } catch (const Exception&) {
    return;
  }
  if (ClearFirst) Items->Clear();
  try {
    for (dsQuery->First(); !dsQuery->Eof(); dsQuery->Next()) {
      const String Value = dsQuery->Fields()->Fields(0)->AsString();
      if (!Value.isEmpty()) Items->Add(Value);
    }
  } catch (const Exception&) {
  }
}
