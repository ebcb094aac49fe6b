// Writing rows back: at once on Post and Delete (optimistic locking), or collected until
// UpdateBatch (batch-optimistic). Every value is bound as a parameter, never spliced.
#include "platform/db/ADODB.h"
#include "platform/db/SqlText.h"

class TCustomADODataSet::TWriter {
public:
  TWriter(TCustomADODataSet& DataSet, SqliteDatabase& Db) : FDs(DataSet), FDb(Db) {}

  // Returns the rowid SQLite gave the new row.
  Int64 Insert(TRowId Row) {
    std::vector<int> bound;
    for (int col = 0; col < int(FDs.FColumns.size()); ++col)
      if (!FDs.Store().IsNull(Row, col)) bound.push_back(col);  // a null is left to the column's default
    SqliteStatement& stmt = InsertStatement(bound);
    for (size_t i = 0; i < bound.size(); ++i) Bind(stmt, int(i) + 1, Row, bound[i]);
    stmt.Execute();
    return FDb.LastInsertRowId();
  }

  // Writes the columns that differ from Original; returns the new rowid when the key
  // itself changed, else 0.
  Int64 Update(TRowId Row, TRowId Original) {
    QByteArray assignments;
    std::vector<int> bound;
    Int64 newRowId = 0;
    for (int col = 0; col < int(FDs.FColumns.size()); ++col) {
      if (FDs.Store().SameValue(Row, Original, col)) continue;
      assignments += (bound.empty() ? "" : ",") + QuoteIdentifier(FDs.FColumns[size_t(col)].Name) + "=?";
      bound.push_back(col);
      if (FDs.FColumns[size_t(col)].RowIdAlias && !FDs.Store().IsNull(Row, col)) newRowId = FDs.Store().GetInt(Row, col);
    }
    if (bound.empty()) return 0;
    SqliteStatement& stmt = Prepare("UPDATE " + QuoteIdentifier(FDs.FTable) + " SET " + assignments + " WHERE _rowid_=?");
    for (size_t i = 0; i < bound.size(); ++i) Bind(stmt, int(i) + 1, Row, bound[i]);
    stmt.BindInt64(int(bound.size()) + 1, FDs.RowIdOf(Row));
    stmt.Execute();
    if (FDb.Changes() == 0) NotFound("updating");
    return newRowId;
  }

  void Delete(TRowId Row) {
    SqliteStatement& stmt = Prepare("DELETE FROM " + QuoteIdentifier(FDs.FTable) + " WHERE _rowid_=?");
    stmt.BindInt64(1, FDs.RowIdOf(Row));
    stmt.Execute();
    if (FDb.Changes() == 0) NotFound("deleting");
  }

private:
  [[noreturn]] void NotFound(const char* Action) {
    FDs.Error(QStringLiteral("Row cannot be located for %1; it may have been changed or deleted since it was read")
                  .arg(QLatin1String(Action)));
  }

  // Batches repeat the same few statements, so each is prepared once.
  SqliteStatement& Prepare(const QByteArray& Sql) {
    auto it = FCache.find(Sql);
    if (it == FCache.end()) it = FCache.emplace(Sql, std::make_unique<SqliteStatement>(FDb, Sql)).first;
    it->second->Reset();
    return *it->second;
  }

  // The insert of the Bound columns, its text made once per set of columns:
  // the rows of a large batch mostly fill the same columns.
  SqliteStatement& InsertStatement(const std::vector<int>& Bound) {
    if (const auto it = FInserts.find(Bound); it != FInserts.end()) {
      it->second->Reset();
      return *it->second;
    }
    QByteArray columns, marks;
    for (const int col : Bound) {
      columns += (columns.isEmpty() ? "" : ",") + QuoteIdentifier(FDs.FColumns[size_t(col)].Name);
      marks += marks.isEmpty() ? "?" : ",?";
    }
    SqliteStatement& stmt =
        Prepare(Bound.empty() ? "INSERT INTO " + QuoteIdentifier(FDs.FTable) + " DEFAULT VALUES"
                              : "INSERT INTO " + QuoteIdentifier(FDs.FTable) + " (" + columns + ") VALUES (" + marks + ")");
    FInserts.emplace(Bound, &stmt);
    return stmt;
  }

  void Bind(SqliteStatement& Stmt, int Index, TRowId Row, int Col) {
    const RecordStore& store = FDs.Store();
    if (store.IsNull(Row, Col)) return Stmt.BindNull(Index);
    const TFieldType type = FDs.FieldDefs()->Items(Col)->DataType();
    switch (store.Kind(Col)) {
      case TStoreKind::Integer: return Stmt.BindInt64(Index, store.GetInt(Row, Col));
      case TStoreKind::Float:
        switch (type) {
          case ftDate: return Stmt.BindText(Index, SqlDateTimeText(store.GetFloat(Row, Col), TSqlDateTimePart::Date));
          case ftTime: return Stmt.BindText(Index, SqlDateTimeText(store.GetFloat(Row, Col), TSqlDateTimePart::Time));
          case ftDateTime:
          case ftTimeStamp:
            return Stmt.BindText(Index, SqlDateTimeText(store.GetFloat(Row, Col), TSqlDateTimePart::DateTime));
          default: return Stmt.BindDouble(Index, store.GetFloat(Row, Col));
        }
      case TStoreKind::Bytes: {
        const std::string_view bytes = store.GetBytes(Row, Col);
        const QByteArray data(bytes.data(), qsizetype(bytes.size()));
        if (type == ftMemo || type == ftFmtMemo || type == ftWideString || type == ftString || type == ftFixedChar ||
            type == ftGuid || type == ftOraClob)
          return Stmt.BindText(Index, data);
        return Stmt.BindBlob(Index, data);
      }
    }
  }

  TCustomADODataSet& FDs;
  SqliteDatabase& FDb;
  std::map<QByteArray, std::unique_ptr<SqliteStatement>> FCache;
  std::map<std::vector<int>, SqliteStatement*> FInserts;
};

int TCustomADODataSet::KeyColumn() const {
  for (size_t i = 0; i < FColumns.size(); ++i)
    if (FColumns[i].RowIdAlias) return int(i);
  return -1;
}

void TCustomADODataSet::InternalPost(TRowId Row, bool Inserted) {
  if (FLockType == ltBatchOptimistic) {
    if (Inserted) {
      Store().SetState(Row, TRowState::Inserted);
    } else if (Store().State(Row) == TRowState::Unchanged) {
      const TRowId original = AddStoreRow();
      SetHidden(original, true);
      Store().CopyRow(*EditSnapshot(), original);
      FOriginals[Row] = original;
      Store().SetState(Row, TRowState::Modified);
    }
    return;
  }
  TWriter writer(*this, CheckConnection()->Database());
  const int keyCol = KeyColumn();
  if (Inserted) {
    const Int64 id = writer.Insert(Row);
    RowIdOf(Row) = id;
    if (keyCol >= 0) Store().SetInt(Row, keyCol, id);
  } else if (const Int64 id = writer.Update(Row, *EditSnapshot())) {
    RowIdOf(Row) = id;
  }
}

void TCustomADODataSet::InternalDelete(TRowId Row) {
  if (FLockType == ltBatchOptimistic) {
    // A row never written needs no statement: it just goes.
    Store().SetState(Row, Store().State(Row) == TRowState::Inserted ? TRowState::Unchanged : TRowState::Deleted);
    return;
  }
  TWriter writer(*this, CheckConnection()->Database());
  writer.Delete(Row);
}

void TCustomADODataSet::InternalForget(TRowId Row) { Store().SetState(Row, TRowState::Unchanged); }

Integer TCustomADODataSet::PendingCount() const {
  Integer count = 0;
  for (TRowId row = 0; row < Store().RowSlots(); ++row)
    if (Store().State(row) != TRowState::Unchanged) ++count;
  return count;
}

void TCustomADODataSet::UpdateBatch(TAffectRecords AffectRecords) {
  WriteBatch(AffectRecords);
  AcceptBatch();
}

void TCustomADODataSet::WriteBatch(TAffectRecords AffectRecords) {
  FWrittenRows.clear();
  FWrittenIds.clear();
  CheckActive();
  CheckBrowseMode();
  std::vector<TRowId> pending;
  if (AffectRecords == arCurrent) {
    TRowId row = 0;
    if (CurrentRow(row) && Store().State(row) != TRowState::Unchanged) pending.push_back(row);
  } else {
    for (TRowId row = 0; row < Store().RowSlots(); ++row)
      if (Store().State(row) != TRowState::Unchanged) pending.push_back(row);
  }
  if (pending.empty()) return;

  SqliteDatabase& db = CheckConnection()->Database();
  std::vector<std::pair<TRowId, Int64>> newIds;
  {
    SqliteSavepoint savepoint(db);
    TWriter writer(*this, db);
    for (TRowId row : pending) {
      switch (Store().State(row)) {
        case TRowState::Deleted: writer.Delete(row); break;
        case TRowState::Modified:
          if (const Int64 id = writer.Update(row, FOriginals.at(row))) newIds.emplace_back(row, id);
          break;
        case TRowState::Inserted: newIds.emplace_back(row, writer.Insert(row)); break;
        case TRowState::Unchanged: break;
      }
    }
    savepoint.Commit();
  }
  FWrittenRows = std::move(pending);
  FWrittenIds = std::move(newIds);
}

void TCustomADODataSet::AcceptBatch() {
  std::vector<TRowId> pending = std::move(FWrittenRows);
  std::vector<std::pair<TRowId, Int64>> newIds = std::move(FWrittenIds);
  FWrittenRows.clear();
  FWrittenIds.clear();
  if (pending.empty() || !Active()) return;
  // Only now, with everything written, does the memory copy take the new state.
  const int keyCol = KeyColumn();
  for (const auto& [row, id] : newIds) {
    RowIdOf(row) = id;
    if (keyCol >= 0 && Store().State(row) == TRowState::Inserted) Store().SetInt(row, keyCol, id);
  }
  for (TRowId row : pending) {
    Store().SetState(row, TRowState::Unchanged);
    FOriginals.erase(row);
  }
  RefreshWindow();
}

void TCustomADODataSet::CancelBatch() {
  CheckActive();
  Cancel();
  FWrittenRows.clear();
  FWrittenIds.clear();
  for (TRowId row = 0; row < Store().RowSlots(); ++row) {
    switch (Store().State(row)) {
      case TRowState::Inserted: SetHidden(row, true); break;
      case TRowState::Deleted: SetHidden(row, false); break;
      default: break;
    }
    if (const auto original = FOriginals.find(row); original != FOriginals.end())
      Store().CopyRow(original->second, row);
    Store().SetState(row, TRowState::Unchanged);
  }
  FOriginals.clear();
  RefreshView();
}
