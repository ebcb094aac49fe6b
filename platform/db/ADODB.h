#pragma once
// The connection, data sets and command object the program talks to its database with,
// over SQLite. A data set on a single table is updatable: rows are written back by
// SQLite's rowid (for tables with an INTEGER PRIMARY KEY that is the key itself).
#include "platform/db/DB.h"
#include "platform/db/SqliteStatement.h"
#include <map>

class TCustomADODataSet;

enum TCursorLocation { clUseServer, clUseClient };
enum TCursorType { ctUnspecified, ctOpenForwardOnly, ctKeyset, ctDynamic, ctStatic };
enum TADOLockType { ltUnspecified, ltReadOnly, ltPessimistic, ltOptimistic, ltBatchOptimistic };
enum TAffectRecords { arCurrent, arFiltered, arAll, arAllChapters };

class TADOConnection : public TComponent {
public:
  explicit TADOConnection(TComponent* AOwner = nullptr);
  ~TADOConnection() override;

  // "Data Source=<database file>;..." — other keys are accepted and ignored.
  const String& ConnectionString() const { return FConnectionString; }
  void SetConnectionString(const String& Value);
  bool Connected() const { return FDb.IsOpen(); }
  void SetConnected(bool Value);
  // Raises EDatabaseError naming the file and the reason when the database cannot be opened.
  void Open();
  // Closes the data sets that use the connection first.
  void Close();
  bool LoginPrompt() const { return FLoginPrompt; }
  void SetLoginPrompt(bool Value) { FLoginPrompt = Value; }

  void BeginTrans();
  void CommitTrans();
  void RollbackTrans();
  bool InTransaction() const;

  SqliteDatabase& Database();
  // Runs every statement of Sql; returns the rows the last one changed.
  Integer ExecuteSql(const String& Sql);

private:
  friend class TCustomADODataSet;
  String FConnectionString;
  bool FLoginPrompt = false;
  SqliteDatabase FDb;
  std::vector<TCustomADODataSet*> FDataSets;
};

class TCustomADODataSet : public TDataSet {
public:
  explicit TCustomADODataSet(TComponent* AOwner = nullptr);
  ~TCustomADODataSet() override;

  TADOConnection* Connection() const { return FConnection; }
  void SetConnection(TADOConnection* Value);
  TCursorType CursorType() const { return FCursorType; }
  void SetCursorType(TCursorType Value) { FCursorType = Value; }
  TADOLockType LockType() const { return FLockType; }
  void SetLockType(TADOLockType Value);
  TCursorLocation CursorLocation() const { return FCursorLocation; }
  void SetCursorLocation(TCursorLocation Value) { FCursorLocation = Value; }

  // Open, updatable (one base table) and not read-only.
  bool CanModify() const override;

  // Batch-optimistic: writes the pending inserts, changes and deletes (of the current row
  // only with arCurrent) in one transaction. On failure nothing is written, the rows stay
  // pending and the error is raised.
  void UpdateBatch(TAffectRecords AffectRecords = arAll);
  // UpdateBatch in two steps, for a caller that writes several data sets in a
  // transaction of its own: WriteBatch writes the pending rows but keeps them
  // pending, so after a rollback every change is still there to write again;
  // AcceptBatch, once the caller committed, marks what was written as stored.
  void WriteBatch(TAffectRecords AffectRecords = arAll);
  void AcceptBatch();
  // Drops every pending change: edited rows get their original values back, deleted
  // rows return, inserted rows go.
  void CancelBatch();
  // Rows with changes not yet written.
  Integer PendingCount() const;

protected:
  const String& CommandTextValue() const { return FCommandText; }
  void SetCommandTextValue(const String& Value);
  void InternalOpen() override;
  void InternalClose() override;
  void InternalPost(TRowId Row, bool Inserted) override;
  void InternalDelete(TRowId Row) override;
  void InternalForget(TRowId Row) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  TADOConnection* CheckConnection();

private:
  struct TColumnInfo {
    QByteArray Name;      // column in the base table
    bool RowIdAlias = false;
  };
  class TWriter;

  void DetachConnection();
  void LoadRows(SqliteStatement& Stmt, int FirstColumn);
  // The result column that is the table's INTEGER PRIMARY KEY, -1 when none is shown.
  int KeyColumn() const;
  Int64& RowIdOf(TRowId Row);

  TADOConnection* FConnection = nullptr;
  String FCommandText;
  TCursorType FCursorType = ctKeyset;
  TADOLockType FLockType = ltOptimistic;
  TCursorLocation FCursorLocation = clUseClient;

  QByteArray FTable;  // empty when the result is not updatable
  std::vector<TColumnInfo> FColumns;
  std::vector<Int64> FRowIds;
  std::map<TRowId, TRowId> FOriginals;  // changed row -> hidden copy of its values as read
  // Rows the last WriteBatch wrote, and the rowids SQLite gave them, until AcceptBatch.
  std::vector<TRowId> FWrittenRows;
  std::vector<std::pair<TRowId, Int64>> FWrittenIds;
};

class TADOQuery : public TCustomADODataSet {
public:
  explicit TADOQuery(TComponent* AOwner = nullptr);
  ~TADOQuery() override;
  TStrings* SQL() const { return FSQL.get(); }
  // Runs the SQL text as a statement without a result; returns the rows changed.
  Integer ExecSQL();
protected:
  void InternalOpen() override;
private:
  std::unique_ptr<TStringList> FSQL;
};

class TADODataSet : public TCustomADODataSet {
public:
  explicit TADODataSet(TComponent* AOwner = nullptr) : TCustomADODataSet(AOwner) {}
  const String& CommandText() const { return CommandTextValue(); }
  void SetCommandText(const String& Value) { SetCommandTextValue(Value); }
};

class TADOCommand : public TComponent {
public:
  explicit TADOCommand(TComponent* AOwner = nullptr) : TComponent(AOwner) {}
  ~TADOCommand() override;
  TADOConnection* Connection() const { return FConnection; }
  void SetConnection(TADOConnection* Value);
  const String& CommandText() const { return FCommandText; }
  void SetCommandText(const String& Value) { FCommandText = Value; }
  // Runs the statement; returns the rows it changed.
  Integer Execute();
protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
private:
  TADOConnection* FConnection = nullptr;
  String FCommandText;
};
