// Opening ADO data sets: the statement's columns become field definitions and its rows
// are read into memory.
#include "platform/db/ADODB.h"
#include "platform/db/SqlText.h"
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <cctype>
#include <limits>

TCustomADODataSet::TCustomADODataSet(TComponent* AOwner) : TDataSet(AOwner) {}

// No Close here: its events would reach handlers whose owners may be going too.
TCustomADODataSet::~TCustomADODataSet() { DetachConnection(); }

void TCustomADODataSet::DetachConnection() {
  if (!FConnection) return;
  auto& list = FConnection->FDataSets;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  FConnection->RemoveFreeNotification(this);
  FConnection = nullptr;
}

void TCustomADODataSet::SetConnection(TADOConnection* Value) {
  if (Value == FConnection) return;
  Close();
  DetachConnection();
  FConnection = Value;
  if (FConnection) {
    FConnection->FDataSets.push_back(this);
    FConnection->FreeNotification(this);
  }
}

void TCustomADODataSet::Notification(TComponent* AComponent, TOperation Operation) {
  TDataSet::Notification(AComponent, Operation);
  // The connection is going: its data stays in memory, but nothing can be written.
  if (Operation == opRemove && AComponent == FConnection) FConnection = nullptr;
}

void TCustomADODataSet::SetLockType(TADOLockType Value) {
  if (Active()) Error(QStringLiteral("Cannot perform this operation on an open dataset"));
  FLockType = Value;
}

void TCustomADODataSet::SetCommandTextValue(const String& Value) {
  if (Active()) Close();
  FCommandText = Value;
}

bool TCustomADODataSet::CanModify() const { return Active() && !FTable.isEmpty() && FLockType != ltReadOnly; }

TADOConnection* TCustomADODataSet::CheckConnection() {
  if (!FConnection) Error(QStringLiteral("Missing Connection or ConnectionString"));
  FConnection->Open();
  return FConnection;
}

Int64& TCustomADODataSet::RowIdOf(TRowId Row) {
  if (Row >= FRowIds.size()) FRowIds.resize(size_t(Row) + 1, 0);
  return FRowIds[Row];
}

namespace {

// A plain single-table SELECT keeps its row count when the rowid is added to it. Quoted
// text is left out, so that a value such as 'Union' is not taken for a keyword.
bool IsPlainSelect(const QByteArray& Sql) {
  static const QRegularExpression quoted(QStringLiteral("'(?:[^']++|'')*+'|\"(?:[^\"]++|\"\")*+\"|\\[[^\\]]*+\\]"));
  const String text = String::fromUtf8(Sql).replace(quoted, QStringLiteral("''")).simplified().toUpper();
  if (!text.startsWith(QLatin1String("SELECT "))) return false;
  if (text.startsWith(QLatin1String("SELECT DISTINCT "))) return false;
  static const QRegularExpression grouping(QStringLiteral("\\b(GROUP\\s+BY|HAVING|UNION|INTERSECT|EXCEPT)\\b"));
  return !grouping.match(text).hasMatch();
}

QByteArray WithRowId(const QByteArray& Sql) {
  qsizetype pos = 0;
  while (pos < Sql.size() && std::isspace(static_cast<unsigned char>(Sql[pos]))) ++pos;
  pos += 6;  // past SELECT
  return Sql.left(pos) + " _rowid_," + Sql.mid(pos);
}

Integer DeclaredSize(const QByteArray& Decl) {
  const qsizetype open = Decl.indexOf('(');
  if (open < 0) return 0;
  bool ok = false;
  const Integer size = Decl.mid(open + 1, Decl.indexOf(')', open) - open - 1).split(',').value(0).trimmed().toInt(&ok);
  return ok ? size : 0;
}

// Field type for a column: by its declared type, or for expressions by its first value.
TFieldType TypeOfColumn(const QByteArray& Decl, int FirstType, Int64 FirstInt, Integer& Size) {
  const QByteArray t = Decl.toUpper();
  Size = 0;
  auto has = [&](const char* word) { return t.contains(word); };
  if (!t.isEmpty()) {
    if (has("BOOL") || has("BIT") || has("YESNO")) return ftBoolean;
    if (has("SMALLINT") || has("TINYINT")) return ftSmallint;
    if (has("BIGINT") || has("INT8") || has("LARGEINT")) return ftLargeint;
    if (has("INT")) return ftInteger;
    if (has("DATETIME") || has("TIMESTAMP")) return ftDateTime;
    if (has("DATE")) return ftDate;
    if (has("TIME")) return ftTime;
    if (has("CURRENCY") || has("MONEY")) return ftCurrency;
    if (has("DECIMAL") || has("NUMERIC")) return ftBCD;
    if (has("REAL") || has("FLOA") || has("DOUB")) return ftFloat;
    if (has("MEMO") || has("CLOB") || has("LONGTEXT") || has("NTEXT")) return ftMemo;
    if (has("CHAR") || has("TEXT") || has("STRING") || has("GUID")) {
      Size = DeclaredSize(Decl);
      if (Size <= 0) Size = 255;
      return ftWideString;
    }
    if (has("BLOB") || has("BINARY") || has("IMAGE") || has("OLE")) return ftBlob;
  }
  switch (FirstType) {
    case SQLITE_INTEGER:
      return FirstInt >= std::numeric_limits<Integer>::min() && FirstInt <= std::numeric_limits<Integer>::max()
                 ? ftInteger
                 : ftLargeint;
    case SQLITE_FLOAT: return ftFloat;
    case SQLITE_BLOB: return ftBlob;
    default:
      Size = 255;
      return ftWideString;
  }
}

bool IsDateType(TFieldType Type) { return Type == ftDate || Type == ftTime || Type == ftDateTime || Type == ftTimeStamp; }

}  // namespace

void TCustomADODataSet::InternalOpen() {
  SqliteDatabase& db = CheckConnection()->Database();
  const QByteArray sql = FCommandText.trimmed().toUtf8();
  if (sql.isEmpty()) Error(QStringLiteral("CommandText does not return a result set"));
  SqliteStatement plain(db, sql);
  const int columns = plain.ColumnCount();
  if (columns == 0) Error(QStringLiteral("CommandText does not return a result set"));

  QByteArray table;
  bool single = true;
  for (int c = 0; c < columns && single; ++c) {
    const QByteArray t = plain.ColumnTableName(c);
    if (t.isEmpty() || plain.ColumnOriginName(c).isEmpty() || (!table.isEmpty() && t != table)) single = false;
    else table = t;
  }
  std::unique_ptr<SqliteStatement> withRowId;
  if (single && IsPlainSelect(sql)) {
    try {
      withRowId = std::make_unique<SqliteStatement>(db, WithRowId(sql));
      if (withRowId->ColumnCount() != columns + 1) withRowId.reset();
    } catch (const EDatabaseError&) {
      withRowId.reset();  // no rowid to write back by (a view, a join): the result stays read-only
    }
  }
  SqliteStatement& stmt = withRowId ? *withRowId : plain;
  const int first = withRowId ? 1 : 0;
  FTable = withRowId ? table : QByteArray();

  struct TTableColumn {
    QByteArray Type;
    bool NotNull = false, HasDefault = false;
    int Pk = 0;
  };
  std::map<QByteArray, TTableColumn> tableColumns;
  int pkCount = 0;
  if (!FTable.isEmpty()) {
    SqliteStatement pragma(db, "PRAGMA table_info(" + QuoteIdentifier(FTable) + ")");
    while (pragma.Step()) {
      TTableColumn info;
      info.Type = QByteArray(pragma.ColumnText(2)).toUpper();
      info.NotNull = pragma.ColumnInt64(3) != 0;
      info.HasDefault = pragma.ColumnType(4) != SQLITE_NULL;
      info.Pk = int(pragma.ColumnInt64(5));
      if (info.Pk > 0) ++pkCount;
      tableColumns[QByteArray(pragma.ColumnText(1)).toLower()] = info;
    }
  }

  const bool hasRow = stmt.Step();
  FColumns.clear();
  QSet<String> names;
  for (int i = 0; i < columns; ++i) {
    const int c = first + i;
    String name = String::fromUtf8(stmt.ColumnName(c));
    for (int n = 1; names.contains(name.toLower()); ++n) name = String::fromUtf8(stmt.ColumnName(c)) + QStringLiteral("_%1").arg(n);
    names.insert(name.toLower());
    TColumnInfo column;
    column.Name = stmt.ColumnOriginName(c);
    const auto info = tableColumns.find(column.Name.toLower());
    const TTableColumn* tc = info == tableColumns.end() ? nullptr : &info->second;
    column.RowIdAlias = tc && tc->Pk == 1 && pkCount == 1 && tc->Type == "INTEGER";
    Integer size = 0;
    TFieldType type = TypeOfColumn(stmt.ColumnDeclType(c), hasRow ? stmt.ColumnType(c) : SQLITE_NULL,
                                   hasRow ? stmt.ColumnInt64(c) : 0, size);
    if (column.RowIdAlias) type = ftAutoInc;
    FieldDefs()->Add(name, type, size, tc && tc->NotNull && !tc->HasDefault && !column.RowIdAlias);
    FColumns.push_back(column);
  }
  InitStore();
  FRowIds.clear();
  FOriginals.clear();
  if (hasRow) LoadRows(stmt, first);
}

void TCustomADODataSet::LoadRows(SqliteStatement& Stmt, int FirstColumn) {
  struct TLoad {
    int Column;
    TStoreKind Kind;
    bool Date;
  };
  std::vector<TLoad> loads;
  for (Integer i = 0; i < FieldDefs()->Count(); ++i) {
    const TFieldType type = FieldDefs()->Items(i)->DataType();
    loads.push_back({FirstColumn + i, StoreKindOf(type), IsDateType(type)});
  }
  RecordStore& store = Store();
  do {
    const TRowId row = AddStoreRow();
    if (FirstColumn) RowIdOf(row) = Stmt.ColumnInt64(0);
    for (size_t i = 0; i < loads.size(); ++i) {
      const TLoad& load = loads[i];
      const int type = Stmt.ColumnType(load.Column);
      if (type == SQLITE_NULL) continue;
      switch (load.Kind) {
        case TStoreKind::Integer:
          store.SetInt(row, int(i), Stmt.ColumnInt64(load.Column));
          break;
        case TStoreKind::Float:
          if (load.Date && type == SQLITE_TEXT) {
            const char* text = Stmt.ColumnText(load.Column);
            const std::string_view view(text, size_t(Stmt.ColumnBytes(load.Column)));
            TDateTime value = 0;
            if (!TryReadSqlDateTime(view, value))
              Error(QStringLiteral("'%1' is not a valid date and time in field '%2'")
                        .arg(String::fromUtf8(text), FieldDefs()->Items(Integer(i))->Name()));
            store.SetFloat(row, int(i), value);
          } else {
            store.SetFloat(row, int(i), Stmt.ColumnDouble(load.Column));
          }
          break;
        case TStoreKind::Bytes: {
          const char* data = type == SQLITE_BLOB ? Stmt.ColumnBlob(load.Column) : Stmt.ColumnText(load.Column);
          store.SetBytes(row, int(i), std::string_view(data ? data : "", size_t(Stmt.ColumnBytes(load.Column))));
          break;
        }
      }
    }
  } while (Stmt.Step());
}

void TCustomADODataSet::InternalClose() {
  FRowIds.clear();
  FOriginals.clear();
  FTable.clear();
  FColumns.clear();
}

// ---------------------------------------------------------------------------------------

TADOQuery::TADOQuery(TComponent* AOwner) : TCustomADODataSet(AOwner), FSQL(std::make_unique<TStringList>()) {
  // New statement text closes the query, so the next Open runs the new statement.
  FSQL->OnChange = [this](TObject*) { Close(); };
}

TADOQuery::~TADOQuery() { FSQL->OnChange = nullptr; }

void TADOQuery::InternalOpen() {
  SetCommandTextValue(FSQL->Text());
  TCustomADODataSet::InternalOpen();
}

Integer TADOQuery::ExecSQL() { return CheckConnection()->ExecuteSql(FSQL->Text()); }
