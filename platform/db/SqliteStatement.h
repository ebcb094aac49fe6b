#pragma once
// RAII over the SQLite C API: one open database handle and prepared statements on it.
// Every failure becomes an EDatabaseError carrying SQLite's own message.
#include "platform/rtl/SysUtils.h"
#include <sqlite3.h>
#include <QByteArray>

class SqliteDatabase {
public:
  SqliteDatabase() = default;
  ~SqliteDatabase() { Close(); }
  SqliteDatabase(const SqliteDatabase&) = delete;
  SqliteDatabase& operator=(const SqliteDatabase&) = delete;

  // Opens an existing database file for reading and writing; raises when the file is
  // missing or is not a database.
  void Open(const String& FileName);
  void Close();
  bool IsOpen() const { return FHandle != nullptr; }
  sqlite3* Handle() const { return FHandle; }

  // Runs statements that return no rows; raises with the statement text on failure.
  void Exec(const QByteArray& Sql);
  Int64 LastInsertRowId() const { return sqlite3_last_insert_rowid(FHandle); }
  Integer Changes() const { return sqlite3_changes(FHandle); }
  [[noreturn]] void RaiseLastError(const QByteArray& Context) const;
private:
  sqlite3* FHandle = nullptr;
};

class SqliteStatement {
public:
  SqliteStatement(const SqliteDatabase& Db, const QByteArray& Sql);
  ~SqliteStatement() { sqlite3_finalize(FStmt); }
  SqliteStatement(const SqliteStatement&) = delete;
  SqliteStatement& operator=(const SqliteStatement&) = delete;

  // True while a row is available; false once the statement is done. Raises on error.
  bool Step();
  void Reset();
  // Runs a statement that returns no rows to its end.
  void Execute() { while (Step()) {} }

  void BindNull(int Index);
  void BindInt64(int Index, Int64 Value);
  void BindDouble(int Index, double Value);
  void BindText(int Index, const QByteArray& Utf8);
  void BindBlob(int Index, const QByteArray& Bytes);

  int ColumnCount() const { return sqlite3_column_count(FStmt); }
  int ColumnType(int Col) const { return sqlite3_column_type(FStmt, Col); }
  Int64 ColumnInt64(int Col) const { return sqlite3_column_int64(FStmt, Col); }
  double ColumnDouble(int Col) const { return sqlite3_column_double(FStmt, Col); }
  // Text and blob bytes stay valid until the next step or reset.
  const char* ColumnText(int Col) const { return reinterpret_cast<const char*>(sqlite3_column_text(FStmt, Col)); }
  const char* ColumnBlob(int Col) const { return static_cast<const char*>(sqlite3_column_blob(FStmt, Col)); }
  int ColumnBytes(int Col) const { return sqlite3_column_bytes(FStmt, Col); }
  QByteArray ColumnName(int Col) const { return sqlite3_column_name(FStmt, Col); }
  // Declared type, base table and base column; empty for expressions.
  QByteArray ColumnDeclType(int Col) const;
  QByteArray ColumnTableName(int Col) const;
  QByteArray ColumnOriginName(int Col) const;
private:
  void CheckBind(int Result);
  const SqliteDatabase& FDb;
  QByteArray FSql;
  sqlite3_stmt* FStmt = nullptr;
};

// An identifier quoted for SQL text: "name" with inner quotes doubled.
QByteArray QuoteIdentifier(const QByteArray& Name);

// A savepoint that rolls back unless Commit was reached, so an exception leaves the
// database unchanged; it nests inside a transaction the program began itself.
class SqliteSavepoint {
public:
  explicit SqliteSavepoint(SqliteDatabase& Db) : FDb(Db) { FDb.Exec("SAVEPOINT moli_write"); }
  ~SqliteSavepoint();
  SqliteSavepoint(const SqliteSavepoint&) = delete;
  SqliteSavepoint& operator=(const SqliteSavepoint&) = delete;
  void Commit();
private:
  SqliteDatabase& FDb;
  bool FDone = false;
};
