#include "platform/db/ADODB.h"
#include "platform/db/ConnectionString.h"
#include <algorithm>

TADOConnection::TADOConnection(TComponent* AOwner) : TComponent(AOwner) {}

TADOConnection::~TADOConnection() { FDb.Close(); }

void TADOConnection::SetConnectionString(const String& Value) {
  if (Connected()) Close();
  FConnectionString = Value;
}

void TADOConnection::SetConnected(bool Value) {
  if (Value) Open();
  else Close();
}

void TADOConnection::Open() {
  if (Connected()) return;
  const String file = ConnectionStringValue(FConnectionString, QStringLiteral("Data Source"));
  if (file.isEmpty())
    throw EDatabaseError(QStringLiteral("Cannot open database: the connection string names no Data Source"));
  FDb.Open(file);
}

void TADOConnection::Close() {
  for (TCustomADODataSet* ds : std::vector<TCustomADODataSet*>(FDataSets)) ds->Close();
  FDb.Close();
}

SqliteDatabase& TADOConnection::Database() {
  Open();
  return FDb;
}

void TADOConnection::BeginTrans() { Database().Exec("BEGIN"); }
void TADOConnection::CommitTrans() { Database().Exec("COMMIT"); }
void TADOConnection::RollbackTrans() { Database().Exec("ROLLBACK"); }
bool TADOConnection::InTransaction() const { return FDb.IsOpen() && sqlite3_get_autocommit(FDb.Handle()) == 0; }

Integer TADOConnection::ExecuteSql(const String& Sql) {
  SqliteDatabase& db = Database();
  db.Exec(Sql.toUtf8());
  return db.Changes();
}

// ---------------------------------------------------------------------------------------

TADOCommand::~TADOCommand() { SetConnection(nullptr); }

void TADOCommand::SetConnection(TADOConnection* Value) {
  if (Value == FConnection) return;
  if (FConnection) FConnection->RemoveFreeNotification(this);
  FConnection = Value;
  if (FConnection) FConnection->FreeNotification(this);
}

void TADOCommand::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FConnection) FConnection = nullptr;
}

Integer TADOCommand::Execute() {
  if (!FConnection) throw EDatabaseError(QStringLiteral("Missing Connection or ConnectionString"));
  return FConnection->ExecuteSql(FCommandText);
}
