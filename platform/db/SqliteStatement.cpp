#include "platform/db/SqliteStatement.h"

void SqliteDatabase::Open(const String& FileName) {
  Close();
  const QByteArray path = FileName.toUtf8();
  sqlite3* handle = nullptr;
  // A connection is used by one thread only, so SQLite need not lock around every call.
  const int rc = sqlite3_open_v2(path.constData(), &handle, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    const String reason = handle ? String::fromUtf8(sqlite3_errmsg(handle)) : String::fromUtf8(sqlite3_errstr(rc));
    sqlite3_close(handle);
    throw EDatabaseError(QStringLiteral("Cannot open database \"%1\": %2").arg(FileName, reason));
  }
  FHandle = handle;
  sqlite3_busy_timeout(FHandle, 5000);
  // SQLite opens any file lazily; reading the schema now reports a file that is no
  // database at connect time instead of at the first query.
  const int check = sqlite3_exec(FHandle, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
  if (check != SQLITE_OK) {
    const String reason = String::fromUtf8(sqlite3_errmsg(FHandle));
    Close();
    throw EDatabaseError(QStringLiteral("Cannot open database \"%1\": %2").arg(FileName, reason));
  }
}

void SqliteDatabase::Close() {
  if (FHandle) {
    sqlite3_close_v2(FHandle);
    FHandle = nullptr;
  }
}

void SqliteDatabase::Exec(const QByteArray& Sql) {
  if (!FHandle) throw EDatabaseError(QStringLiteral("Connection is not open"));
  if (sqlite3_exec(FHandle, Sql.constData(), nullptr, nullptr, nullptr) != SQLITE_OK) RaiseLastError(Sql);
}

void SqliteDatabase::RaiseLastError(const QByteArray& Context) const {
  throw EDatabaseError(QStringLiteral("%1 [%2]").arg(String::fromUtf8(sqlite3_errmsg(FHandle)),
                                                      String::fromUtf8(Context)));
}

SqliteStatement::SqliteStatement(const SqliteDatabase& Db, const QByteArray& Sql) : FDb(Db), FSql(Sql) {
  if (!Db.IsOpen()) throw EDatabaseError(QStringLiteral("Connection is not open"));
  const char* tail = nullptr;
  if (sqlite3_prepare_v2(Db.Handle(), Sql.constData(), int(Sql.size()), &FStmt, &tail) != SQLITE_OK)
    Db.RaiseLastError(Sql);
  if (!FStmt) throw EDatabaseError(QStringLiteral("Empty statement [%1]").arg(String::fromUtf8(Sql)));
}

bool SqliteStatement::Step() {
  const int rc = sqlite3_step(FStmt);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  sqlite3_reset(FStmt);
  FDb.RaiseLastError(FSql);
}

void SqliteStatement::Reset() {
  sqlite3_reset(FStmt);
  sqlite3_clear_bindings(FStmt);
}

void SqliteStatement::CheckBind(int Result) {
  if (Result != SQLITE_OK) FDb.RaiseLastError(FSql);
}

void SqliteStatement::BindNull(int Index) { CheckBind(sqlite3_bind_null(FStmt, Index)); }
void SqliteStatement::BindInt64(int Index, Int64 Value) { CheckBind(sqlite3_bind_int64(FStmt, Index, Value)); }
void SqliteStatement::BindDouble(int Index, double Value) { CheckBind(sqlite3_bind_double(FStmt, Index, Value)); }

void SqliteStatement::BindText(int Index, const QByteArray& Utf8) {
  CheckBind(sqlite3_bind_text(FStmt, Index, Utf8.constData(), int(Utf8.size()), SQLITE_TRANSIENT));
}

void SqliteStatement::BindBlob(int Index, const QByteArray& Bytes) {
  CheckBind(sqlite3_bind_blob(FStmt, Index, Bytes.constData(), int(Bytes.size()), SQLITE_TRANSIENT));
}

QByteArray SqliteStatement::ColumnDeclType(int Col) const {
  const char* s = sqlite3_column_decltype(FStmt, Col);
  return s ? QByteArray(s) : QByteArray();
}

QByteArray SqliteStatement::ColumnTableName(int Col) const {
  const char* s = sqlite3_column_table_name(FStmt, Col);
  return s ? QByteArray(s) : QByteArray();
}

QByteArray SqliteStatement::ColumnOriginName(int Col) const {
  const char* s = sqlite3_column_origin_name(FStmt, Col);
  return s ? QByteArray(s) : QByteArray();
}

QByteArray QuoteIdentifier(const QByteArray& Name) {
  QByteArray quoted = Name;
  quoted.replace('"', "\"\"");
  return '"' + quoted + '"';
}

SqliteSavepoint::~SqliteSavepoint() {
  if (!FDone && FDb.IsOpen())
    sqlite3_exec(FDb.Handle(), "ROLLBACK TO moli_write; RELEASE moli_write", nullptr, nullptr, nullptr);
}

void SqliteSavepoint::Commit() {
  FDb.Exec("RELEASE moli_write");
  FDone = true;
}
