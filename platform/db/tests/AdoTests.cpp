#include "DbTestSupport.h"
#include <cmath>

namespace {

const char* const kAllTypes =
    "CREATE TABLE AllTypes (ID INTEGER PRIMARY KEY AUTOINCREMENT, S VARCHAR(50) COLLATE NOCASE, M MEMO, "
    "I INTEGER, SI SMALLINT, L BIGINT, F FLOAT, C CURRENCY, N DECIMAL(18,4), B BOOLEAN, D DATE, T TIME, "
    "DT DATETIME, BL BLOB)";

struct TypedValues {
  String Text = QString::fromUtf8("O'Brien 张三");
  String Memo = QString::fromUtf8("line 1\r\nline 2 '引号'");
  Integer Int = -123456;
  Integer Small = 321;
  Int64 Large = 9007199254740993LL;
  double Float = 1234.5678;
  double Money = 99.9901;
  double Decimal = -0.25;
  bool Flag = true;
  TDateTime Date = EncodeDate(2024, 2, 29);
  TDateTime Time = EncodeTime(13, 45, 30, 0);
  TDateTime Stamp = EncodeDate(1999, 12, 31) + EncodeTime(23, 59, 59, 0);
  String Bytes = QStringLiteral("raw");
};

void Fill(TDataSet& ds, const TypedValues& v) {
  ds.FieldByName(QStringLiteral("S"))->SetAsString(v.Text);
  ds.FieldByName(QStringLiteral("M"))->SetAsString(v.Memo);
  ds.FieldByName(QStringLiteral("I"))->SetAsInteger(v.Int);
  ds.FieldByName(QStringLiteral("SI"))->SetAsInteger(v.Small);
  ds.FieldByName(QStringLiteral("L"))->SetValue(Variant(v.Large));
  ds.FieldByName(QStringLiteral("F"))->SetAsFloat(v.Float);
  ds.FieldByName(QStringLiteral("C"))->SetAsFloat(v.Money);
  ds.FieldByName(QStringLiteral("N"))->SetAsFloat(v.Decimal);
  ds.FieldByName(QStringLiteral("B"))->SetAsBoolean(v.Flag);
  ds.FieldByName(QStringLiteral("D"))->SetAsDateTime(v.Date);
  ds.FieldByName(QStringLiteral("T"))->SetAsDateTime(v.Time);
  ds.FieldByName(QStringLiteral("DT"))->SetAsDateTime(v.Stamp);
  ds.FieldByName(QStringLiteral("BL"))->SetAsString(v.Bytes);
}

void ExpectValues(TDataSet& ds, const TypedValues& v) {
  EXPECT_EQ(ds.FieldByName(QStringLiteral("S"))->AsString(), v.Text);
  EXPECT_EQ(ds.FieldByName(QStringLiteral("M"))->AsString(), v.Memo);
  EXPECT_EQ(ds.FieldByName(QStringLiteral("I"))->AsInteger(), v.Int);
  EXPECT_EQ(ds.FieldByName(QStringLiteral("SI"))->AsInteger(), v.Small);
  EXPECT_EQ(ds.FieldByName(QStringLiteral("L"))->Value().AsInt64(), v.Large);
  EXPECT_DOUBLE_EQ(ds.FieldByName(QStringLiteral("F"))->AsFloat(), v.Float);
  EXPECT_EQ(ds.FieldByName(QStringLiteral("C"))->AsCurrency(), Currency::FromDouble(v.Money));
  EXPECT_DOUBLE_EQ(ds.FieldByName(QStringLiteral("N"))->AsFloat(), v.Decimal);
  EXPECT_EQ(ds.FieldByName(QStringLiteral("B"))->AsBoolean(), v.Flag);
  EXPECT_DOUBLE_EQ(ds.FieldByName(QStringLiteral("D"))->AsDateTime(), v.Date);
  EXPECT_NEAR(ds.FieldByName(QStringLiteral("T"))->AsDateTime(), v.Time, 1e-9);
  EXPECT_NEAR(ds.FieldByName(QStringLiteral("DT"))->AsDateTime(), v.Stamp, 1e-9);
  EXPECT_EQ(ds.FieldByName(QStringLiteral("BL"))->AsString(), v.Bytes);
}

TEST(AdoDataSet, FieldKindsFollowTheDeclaredColumnTypes) {
  ScratchDatabase db;
  db.Exec(QString::fromUtf8(kAllTypes));
  auto q = db.Query(QStringLiteral("select * from AllTypes"));
  struct Case { const char* name; TFieldType type; };
  const auto is = [&](const char* name, auto* probe) {
    return dynamic_cast<decltype(probe)>(q->FieldByName(QString::fromLatin1(name))) != nullptr;
  };
  EXPECT_TRUE(is("ID", static_cast<TAutoIncField*>(nullptr)));
  EXPECT_TRUE(is("S", static_cast<TWideStringField*>(nullptr)));
  EXPECT_TRUE(is("M", static_cast<TMemoField*>(nullptr)));
  EXPECT_TRUE(is("F", static_cast<TFloatField*>(nullptr)));
  EXPECT_TRUE(is("C", static_cast<TCurrencyField*>(nullptr)));
  EXPECT_TRUE(is("DT", static_cast<TDateTimeField*>(nullptr)));
  for (const Case& c : std::initializer_list<Case>{
           {"ID", ftAutoInc}, {"S", ftWideString}, {"M", ftMemo}, {"I", ftInteger}, {"SI", ftSmallint},
           {"L", ftLargeint}, {"F", ftFloat}, {"C", ftCurrency}, {"N", ftBCD}, {"B", ftBoolean}, {"D", ftDate},
           {"T", ftTime}, {"DT", ftDateTime}, {"BL", ftBlob}})
    EXPECT_EQ(q->FieldByName(QString::fromLatin1(c.name))->DataType(), c.type) << c.name;
  EXPECT_EQ(q->FieldByName(QStringLiteral("S"))->Size(), 50);
  EXPECT_EQ(q->FieldByName(QStringLiteral("s")), q->FindField(QStringLiteral("S")));
  EXPECT_EQ(q->FindField(QStringLiteral("Missing")), nullptr);
  EXPECT_THROW(q->FieldByName(QStringLiteral("Missing")), EDatabaseError);
}

TEST(AdoDataSet, IntegerColumnsKeepValuesBeyond32Bits) {
  ScratchDatabase db;
  db.Exec(QStringLiteral("CREATE TABLE T (ID INTEGER PRIMARY KEY, I INTEGER)"));
  db.Exec(QStringLiteral("INSERT INTO T VALUES (1, 123456789012), (2, -123456789012), (3, 7)"));
  auto q = db.Query(QStringLiteral("select * from T order by ID"));
  TField* I = q->FieldByName(QStringLiteral("I"));
  ASSERT_EQ(I->DataType(), ftInteger);
  EXPECT_EQ(I->AsString(), QStringLiteral("123456789012"));
  EXPECT_EQ(I->Value().AsInt64(), 123456789012LL);
  EXPECT_DOUBLE_EQ(I->AsFloat(), 123456789012.0);
  q->Next();
  EXPECT_EQ(I->AsString(), QStringLiteral("-123456789012"));
  q->Next();
  EXPECT_EQ(I->AsInteger(), 7);
  // Written back through the field, a large value is stored whole.
  q->Edit();
  I->SetAsString(QStringLiteral("9007199254740993"));
  q->Post();
  EXPECT_EQ(db.Scalar(QStringLiteral("select I from T where ID = 3")), QStringLiteral("9007199254740993"));
}

TEST(AdoDataSet, BinaryBlobsKeepTheirBytes) {
  ScratchDatabase db;
  db.Exec(QString::fromUtf8(kAllTypes));
  db.Exec(QStringLiteral("insert into AllTypes (BL) values (X'89504E470D0A1A0AFF00C3'), (NULL)"));
  auto q = db.Query(QStringLiteral("select BL from AllTypes order by ID"));
  auto* blob = dynamic_cast<TBlobField*>(q->FieldByName(QStringLiteral("BL")));
  ASSERT_NE(blob, nullptr);
  EXPECT_EQ(blob->AsBytes(), QByteArray::fromHex("89504E470D0A1A0AFF00C3")) << "bytes that are no UTF-8";
  q->Next();
  EXPECT_TRUE(blob->AsBytes().isEmpty()) << "null";
}

TEST(AdoDataSet, BytesWrittenIntoABlobArePostedAsTheyAreAndARejectedWriteKeepsTheOld) {
  ScratchDatabase db;
  db.Exec(QString::fromUtf8(kAllTypes));
  db.Exec(QStringLiteral("insert into AllTypes (BL) values (X'0102'), (NULL)"));
  auto q = db.Query(QStringLiteral("select ID, BL from AllTypes order by ID"));
  auto* blob = dynamic_cast<TBlobField*>(q->FieldByName(QStringLiteral("BL")));
  ASSERT_NE(blob, nullptr);
  const QByteArray picture = QByteArray::fromHex("89504E4700FFC328");
  q->Edit();
  blob->SetAsBytes(picture);
  EXPECT_EQ(blob->AsBytes(), picture);
  q->Post();
  EXPECT_EQ(db.Scalar(QStringLiteral("select hex(BL) from AllTypes order by ID limit 1")), QStringLiteral("89504E4700FFC328"));

  q->Next();
  blob->OnValidate = [](TField*) { throw EDatabaseError(QStringLiteral("rejected")); };
  q->Edit();
  EXPECT_THROW(blob->SetAsBytes(picture), EDatabaseError);
  EXPECT_TRUE(blob->IsNull()) << "a null stays null";
  q->Cancel();
}

class LockTypes : public ::testing::TestWithParam<TADOLockType> {};

TEST_P(LockTypes, EveryColumnTypeRoundTripsAndNewRowsGetTheirKey) {
  ScratchDatabase db;
  db.Exec(QString::fromUtf8(kAllTypes));
  const TypedValues v;
  auto q = db.Query(QStringLiteral("select * from AllTypes where ID=-1"), GetParam());
  q->Append();
  Fill(*q, v);
  q->Post();
  if (GetParam() == ltBatchOptimistic) {
    EXPECT_EQ(db.Scalar(QStringLiteral("select count(*) from AllTypes")), QStringLiteral("0"));
    EXPECT_TRUE(q->FieldByName(QStringLiteral("ID"))->IsNull());
    q->UpdateBatch();
  }
  const Integer id = q->FieldByName(QStringLiteral("ID"))->AsInteger();
  EXPECT_GT(id, 0);
  EXPECT_EQ(db.Scalar(QStringLiteral("select max(ID) from AllTypes")).toInt(), id);

  auto back = db.Query(QStringLiteral("select * from AllTypes where ID=%1").arg(id), GetParam());
  ASSERT_EQ(back->RecordCount(), 1);
  ExpectValues(*back, v);
  EXPECT_EQ(db.Scalar(QStringLiteral("select DT || '|' || D || '|' || T || '|' || typeof(F) from AllTypes")),
            QStringLiteral("1999-12-31 23:59:59|2024-02-29|13:45:30|real"));

  // Change every column, and clear them, through the other write path.
  TypedValues w;
  w.Text = QStringLiteral("second");
  w.Int = 7;
  w.Flag = false;
  w.Stamp += 1.5;
  back->Edit();
  Fill(*back, w);
  back->Post();
  if (GetParam() == ltBatchOptimistic) back->UpdateBatch();
  ExpectValues(*db.Query(QStringLiteral("select * from AllTypes")), w);

  back->Edit();
  for (const char* name : {"S", "M", "I", "F", "DT", "BL"}) back->FieldByName(QString::fromLatin1(name))->Clear();
  back->Post();
  if (GetParam() == ltBatchOptimistic) back->UpdateBatch();
  EXPECT_EQ(db.Scalar(QStringLiteral("select count(*) from AllTypes where S is null and M is null and I is null "
                                     "and F is null and DT is null and BL is null")),
            QStringLiteral("1"));

  back->Delete();
  if (GetParam() == ltBatchOptimistic) back->UpdateBatch();
  EXPECT_EQ(db.Scalar(QStringLiteral("select count(*) from AllTypes")), QStringLiteral("0"));
}

INSTANTIATE_TEST_SUITE_P(Ado, LockTypes, ::testing::Values(ltOptimistic, ltBatchOptimistic));

class Products : public ::testing::Test {
protected:
  void SetUp() override {
    Db.Exec(QStringLiteral("CREATE TABLE P (ID INTEGER PRIMARY KEY AUTOINCREMENT, Name VARCHAR(20) COLLATE NOCASE "
                           "NOT NULL, Qty INTEGER CHECK (Qty >= 0), Price FLOAT)"));
    Db.Exec(QStringLiteral("INSERT INTO P (Name, Qty, Price) VALUES ('apple', 5, 1.5), ('Banana', 0, 0.25), "
                           "('cherry', 12, 8), ('date', 3, NULL), ('Elder', 7, 2)"));
  }
  String Snapshot() {
    String text;
    auto q = Db.Query(QStringLiteral("select * from P order by ID"));
    for (; !q->Eof(); q->Next())
      text += QStringLiteral("%1:%2:%3;").arg(q->FieldByName(QStringLiteral("ID"))->AsString(),
                                              q->FieldByName(QStringLiteral("Name"))->AsString(),
                                              q->FieldByName(QStringLiteral("Qty"))->AsString());
    return text;
  }
  ScratchDatabase Db;
};

TEST_F(Products, FailedBatchLeavesTheDatabaseUnchangedAndTheRowsPending) {
  const String before = Snapshot();
  auto q = Db.Query(QStringLiteral("select * from P order by ID"), ltBatchOptimistic);
  for (int qty : {10, 20, -1, 40}) {  // the third violates the CHECK constraint
    q->Edit();
    q->FieldByName(QStringLiteral("Qty"))->SetAsInteger(qty);
    q->Post();
    q->Next();
  }
  q->Delete();  // Elder
  q->Append();
  q->FieldByName(QStringLiteral("Name"))->SetAsString(QStringLiteral("fig"));
  q->Post();
  ASSERT_EQ(q->PendingCount(), 6);

  EXPECT_THROW(q->UpdateBatch(), EDatabaseError);
  EXPECT_EQ(Snapshot(), before);
  EXPECT_EQ(q->PendingCount(), 6);
  EXPECT_TRUE(q->FieldByName(QStringLiteral("ID"))->IsNull());

  ASSERT_TRUE(q->Locate(QStringLiteral("Name"), Variant("CHERRY"), {loCaseInsensitive}));
  q->Edit();
  q->FieldByName(QStringLiteral("Qty"))->SetAsInteger(30);
  q->Post();
  q->UpdateBatch();
  EXPECT_EQ(q->PendingCount(), 0);
  EXPECT_EQ(Snapshot(), QStringLiteral("1:apple:10;2:Banana:20;3:cherry:30;4:date:40;6:fig:;"));
}

TEST_F(Products, CancelBatchRestoresRowsAsRead) {
  auto q = Db.Query(QStringLiteral("select * from P order by ID"), ltBatchOptimistic);
  q->Edit();
  q->FieldByName(QStringLiteral("Name"))->SetAsString(QStringLiteral("changed"));
  q->Post();
  q->Next();
  q->Delete();
  q->Append();
  q->FieldByName(QStringLiteral("Name"))->SetAsString(QStringLiteral("new"));
  q->Post();
  q->CancelBatch();
  EXPECT_EQ(q->PendingCount(), 0);
  EXPECT_EQ(q->RecordCount(), 5);
  q->First();
  EXPECT_EQ(q->FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("apple"));
  q->Next();
  EXPECT_EQ(q->FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("Banana"));
}

TEST_F(Products, OptimisticWritesAtOnceAndAFailedPostStaysInEdit) {
  auto q = Db.Query(QStringLiteral("select * from P order by ID"));
  q->Edit();
  q->FieldByName(QStringLiteral("Qty"))->SetAsInteger(-5);
  EXPECT_THROW(q->Post(), EDatabaseError);
  EXPECT_EQ(q->State(), dsEdit);
  EXPECT_EQ(q->FieldByName(QStringLiteral("Qty"))->AsInteger(), -5);
  q->FieldByName(QStringLiteral("Qty"))->SetAsInteger(6);
  q->Post();
  EXPECT_EQ(Db.Scalar(QStringLiteral("select Qty from P where ID=1")), QStringLiteral("6"));

  q->Append();
  EXPECT_THROW(q->Post(), EDatabaseError);  // Name is required
  EXPECT_EQ(q->State(), dsInsert);
  q->Cancel();
  q->Delete();
  EXPECT_EQ(Db.Scalar(QStringLiteral("select count(*) from P")), QStringLiteral("4"));

  // A row deleted behind the data set's back is reported, not silently skipped.
  Db.Exec(QStringLiteral("DELETE FROM P WHERE ID=2"));
  ASSERT_TRUE(q->Locate(QStringLiteral("ID"), Variant(2), {}));
  q->Edit();
  q->FieldByName(QStringLiteral("Qty"))->SetAsInteger(1);
  EXPECT_THROW(q->Post(), EDatabaseError);
}

TEST_F(Products, TextWithQuotesSurvivesSqlBuiltWithQuotedStr) {
  const String name = QString::fromUtf8("O'Neil's \"best\" 苹果");
  TADOCommand cmd;
  cmd.SetConnection(&Db.Connection);
  cmd.SetCommandText(QStringLiteral("INSERT INTO P (Name, Qty) VALUES (%1, 1)").arg(QuotedStr(name)));
  EXPECT_EQ(cmd.Execute(), 1);
  auto q = Db.Query(QStringLiteral("select * from P where Name=%1").arg(QuotedStr(name.toUpper())));
  ASSERT_EQ(q->RecordCount(), 1);  // the column compares without case
  EXPECT_EQ(q->FieldByName(QStringLiteral("Name"))->AsString(), name);
  cmd.SetCommandText(QStringLiteral("UPDATE P SET Qty=Qty+1 WHERE Name=%1").arg(QuotedStr(name)));
  EXPECT_EQ(cmd.Execute(), 1);
  EXPECT_EQ(Db.Scalar(QStringLiteral("select Qty from P where Name=%1").arg(QuotedStr(name))), QStringLiteral("2"));
}

TEST(AdoDataSet, TableWithoutKeyIsUpdatedByRowid) {
  ScratchDatabase db;
  db.Exec(QStringLiteral("CREATE TABLE TPara (EntName TEXT, PrintDays INTEGER)"));
  db.Exec(QStringLiteral("INSERT INTO TPara VALUES ('same', 1), ('same', 1)"));
  auto q = db.Query(QStringLiteral("select * from TPara"), ltBatchOptimistic);
  q->Next();
  q->Edit();
  q->FieldByName(QStringLiteral("EntName"))->SetAsString(QStringLiteral("second"));
  q->Post();
  q->UpdateBatch();
  EXPECT_EQ(db.Scalar(QStringLiteral("select group_concat(EntName, ',') from (select EntName from TPara order by rowid)")),
            QStringLiteral("same,second"));
}

TEST(AdoDataSet, ResultsWithoutOneBaseTableAreReadOnly) {
  ScratchDatabase db;
  db.Exec(QStringLiteral("CREATE TABLE A (ID INTEGER PRIMARY KEY, V INTEGER)"));
  db.Exec(QStringLiteral("INSERT INTO A (V) VALUES (1), (1), (2)"));
  for (const char* sql : {"select count(*) as N from A", "select distinct V from A", "select V, sum(ID) from A group by V"}) {
    auto q = db.Query(QString::fromLatin1(sql));
    EXPECT_FALSE(q->CanModify()) << sql;
    EXPECT_THROW(q->Edit(), EDatabaseError) << sql;
  }
  // Words inside quoted values are data, not clauses: the result stays updatable.
  for (const char* sql : {"select * from A where V <> 'Group by Union' order by ID",
                          "select [V], \"ID\" from A where 'having' <> 'except'"})
    EXPECT_TRUE(db.Query(QString::fromLatin1(sql))->CanModify()) << sql;
  auto count = db.Query(QStringLiteral("Select Count(*) from A"));
  EXPECT_EQ(count->Fields()->Fields(0)->AsInteger(), 3);
  EXPECT_EQ(db.Query(QStringLiteral("select distinct V from A"))->RecordCount(), 2);
}

TEST(AdoConnection, FailedOpenRaisesWithAClearMessage) {
  moli::testing::ScratchDir dir;
  const String missing = dir.File(QStringLiteral("none/VIRE.dat"));
  const String notDb = dir.File(QStringLiteral("text.dat"));
  QFile file(notDb);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(QByteArray(200, 'x'));
  file.close();
  struct Case { String connection; String mentions; };
  for (const Case& c : std::initializer_list<Case>{
           {QStringLiteral("Provider=X;Data Source=") + missing + QStringLiteral(";Jet OLEDB:Database Password=p"), missing},
           {QStringLiteral("Data Source=") + notDb, QStringLiteral("not a database")},
           {QStringLiteral("Provider=X;Persist Security Info=False"), QStringLiteral("Data Source")}}) {
    TADOConnection connection;
    connection.SetConnectionString(c.connection);
    try {
      connection.Open();
      ADD_FAILURE() << c.connection.toStdString();
    } catch (const EDatabaseError& e) {
      EXPECT_TRUE(e.Message().contains(c.mentions)) << e.Message().toStdString();
    }
    EXPECT_FALSE(connection.Connected());
  }
}

TEST(AdoConnection, BadStatementsRaiseAndTransactionsRollBack) {
  ScratchDatabase db;
  db.Exec(QStringLiteral("CREATE TABLE A (V INTEGER)"));
  EXPECT_THROW(db.Query(QStringLiteral("select * from Nowhere")), EDatabaseError);
  EXPECT_THROW(db.Query(QStringLiteral("delete from A")), EDatabaseError);  // no result set
  db.Connection.BeginTrans();
  EXPECT_TRUE(db.Connection.InTransaction());
  db.Exec(QStringLiteral("INSERT INTO A VALUES (1)"));
  db.Connection.RollbackTrans();
  EXPECT_EQ(db.Scalar(QStringLiteral("select count(*) from A")), QStringLiteral("0"));
  TADOQuery q;
  q.SetConnection(&db.Connection);
  q.SQL()->SetText(QStringLiteral("INSERT INTO A VALUES (2)"));
  EXPECT_EQ(q.ExecSQL(), 1);
  q.SQL()->SetText(QStringLiteral("select V from A"));
  q.Open();
  q.SQL()->SetText(QStringLiteral("select V * 10 as V from A"));
  EXPECT_FALSE(q.Active());  // new text closes the query
  q.Open();
  EXPECT_EQ(q.FieldByName(QStringLiteral("V"))->AsInteger(), 20);
}

}  // namespace
