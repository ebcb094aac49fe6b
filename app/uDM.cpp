#include "app/uDM.h"
#include "app/AppMessages.h"
#include "app/PayrollDatabase.h"
#include "app/uPub.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/ScopeGuards.h"
#include "platform/rtl/SysUtils.h"
#include <QDir>

TDM* DM = nullptr;

TPubSettings& Settings() {
  if (!DM) throw EInvalidOperation(QStringLiteral("The program's settings are used before its data module exists"));
  return DM->Settings;
}

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
  Settings.GAppPath = ProgramFolder();
  const String FileName = DatabaseFileName(Settings.GAppPath);
  ADOLocal->SetConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + FileName +
                                QStringLiteral(";Persist Security Info=False") +
                                QStringLiteral(";Jet OLEDB:Database Password=qzvm27153906"));
  try {
    if (!FileExists(FileName)) CreatePayrollDatabase(FileName);
    ADOLocal->Open();
  } catch (const Exception& E) {
    ShowAppMessage(QStringLiteral("无法打开工资数据库。\n数据库文件：%1\n原因：%2").arg(QDir::toNativeSeparators(FileName), E.Message()));
    return;
  }
  try {
    EnsurePayrollIndexes(*ADOLocal);
  } catch (const Exception&) {
    // A database that cannot take them (read-only) works on without them.
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
  // One change for the whole list: a combo box showing it rebuilds its window once.
  const TUpdateLock<TStrings> Bulk(Items);
  if (ClearFirst) Items->Clear();
  try {
    for (dsQuery->First(); !dsQuery->Eof(); dsQuery->Next()) {
      const String Value = dsQuery->Fields()->Fields(0)->AsString();
      if (!Value.isEmpty()) Items->Add(Value);
    }
  } catch (const Exception&) {
  }
}
