#include "app/uDM.h"
#include "app/AppMessages.h"
#include "app/DataBackup.h"
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
  const String ShownName = QDir::toNativeSeparators(FileName);
  try {
    // A restore cut short is finished or undone first, so that its data is
    // found where it belongs and no empty database is made in its place.
    const String KeptAside = RecoverDataFolder(Settings.GAppPath);
    if (!KeptAside.isEmpty())
      ShowAppMessage(QStringLiteral("发现一次未完成的数据还原留下的文件夹，其中保存着还原前的数据，程序没有删除它。\n"
                                    "文件夹：%1\n请检查其中的数据，需要时可从该文件夹恢复数据；"
                                    "该文件夹移走之前无法进行数据库还原。")
                         .arg(QDir::toNativeSeparators(KeptAside)));
    if (!FileExists(FileName)) CreatePayrollDatabase(FileName);
    ADOLocal->Open();
  } catch (const Exception& E) {
    ShowAppMessage(QStringLiteral("无法打开工资数据库。\n数据库文件：%1\n原因：%2").arg(ShownName, E.Message()));
    return;
  }
  try {
    CheckPayrollDatabase(*ADOLocal);
  } catch (const Exception& E) {
    // Working on a damaged file could spoil what is left of it; the program
    // goes on without a connection, as for a missing one.
    ADOLocal->Close();
    ShowAppMessage(QStringLiteral("工资数据库文件已损坏或为空，无法使用。\n数据库文件：%1\n原因：%2\n"
                                  "请通过“数据库维护”菜单的“数据库还原”，从备份文件恢复数据。")
                       .arg(ShownName, E.Message()));
    return;
  }
  if (PayrollDatabaseReadOnly(*ADOLocal))
    ShowAppMessage(QStringLiteral("工资数据库文件是只读的，所做的修改将无法保存。\n数据库文件：%1\n"
                                  "请确认该文件及其所在文件夹可以写入。")
                       .arg(ShownName));
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
