#include "DbTestSupport.h"

namespace {

class Staff : public ::testing::Test {
protected:
  void SetUp() override {
    Db.Exec(QStringLiteral("CREATE TABLE TGZ (ID INTEGER PRIMARY KEY AUTOINCREMENT, DepartName VARCHAR(50) COLLATE "
                           "NOCASE, EmpName VARCHAR(50) COLLATE NOCASE, GZ1 FLOAT, SelectStu INTEGER, LOGTime DATETIME)"));
    Db.Exec(QStringLiteral("INSERT INTO TGZ (DepartName, EmpName, GZ1, SelectStu, LOGTime) VALUES "
                           "('Sales', 'zhang', 3000, 1, '2024-01-05 08:00:00'), "
                           "('dev', 'Li', 5200.5, 0, '2024-02-01 09:30:00'), "
                           "('Sales', 'wang''s', NULL, 1, NULL), "
                           "('Dev', 'Zhao', 4100, 0, '2023-12-31 23:59:59'), "
                           "('ops', 'qian', 2500, 1, '2024-03-10 12:00:00')"));
    Data = Db.Query(QStringLiteral("select * from TGZ order by ID"), ltBatchOptimistic);
  }

  String Column(const char* name) {
    String text;
    Data->DisableControls();
    const TBookmarkStr mark = Data->Bookmark();
    for (Data->First(); !Data->Eof(); Data->Next())
      text += (text.isEmpty() ? "" : ",") + Data->FieldByName(QString::fromLatin1(name))->AsString();
    if (!mark.isEmpty() && Data->BookmarkValid(mark)) Data->SetBookmark(mark);
    Data->EnableControls();
    return text;
  }

  ScratchDatabase Db;
  std::unique_ptr<TADOQuery> Data;
};

TEST_F(Staff, FilterExpressionsSelectTheMatchingRows) {
  struct Case { const char* filter; const char* names; };
  for (const Case& c : std::initializer_list<Case>{
           {"SelectStu=1", "zhang,wang's,qian"},
           {"[DepartName] = 'sales' AND GZ1 > 2800", "zhang"},
           {"DepartName='dev' or EmpName like 'q%'", "Li,Zhao,qian"},
           {"GZ1 >= 4100", "Li,Zhao"},
           {"GZ1 <> 3000", "Li,Zhao,qian"},
           {"GZ1 is null", "wang's"},
           {"GZ1 = Null", "wang's"},
           {"GZ1 IS NOT NULL and not (SelectStu = 1)", "Li,Zhao"},
           {"EmpName = 'wang''s'", "wang's"},
           {"EmpName like '%a%' and EmpName not like '%g%'", "Zhao,qian"},
           {"LOGTime < '2024-01-01'", "Zhao"},
           {"LOGTime >= '2024-02-01 09:30:00'", "Li,qian"},
           {"ID in_list", nullptr}}) {
    if (!c.names) {
      EXPECT_THROW(Data->SetFilter(QString::fromLatin1(c.filter)), EDatabaseError);
      continue;
    }
    Data->SetFilter(QString::fromLatin1(c.filter));
    Data->SetFiltered(true);
    EXPECT_EQ(Column("EmpName"), QString::fromLatin1(c.names)) << c.filter;
    EXPECT_EQ(Data->RecordCount(), Column("EmpName").count(QLatin1Char(',')) + 1) << c.filter;
  }
  Data->SetFiltered(false);
  EXPECT_EQ(Data->RecordCount(), 5);
  for (const char* bad : {"Nope = 1", "GZ1 = 'abc'", "(SelectStu = 1", "EmpName like"}) {
    Data->SetFilter(QString::fromLatin1(bad));
    EXPECT_THROW(Data->SetFiltered(true), EDatabaseError) << bad;
    EXPECT_FALSE(Data->Filtered());
  }
}

TEST_F(Staff, SortIsLocalStableWithoutCaseAndKeptAcrossReopen) {
  Data->Last();
  Data->SetSort(QStringLiteral("DepartName ASC, GZ1 DESC"));
  EXPECT_EQ(Data->FieldByName(QStringLiteral("EmpName"))->AsString(), QStringLiteral("qian"));  // same row
  EXPECT_EQ(Column("EmpName"), QStringLiteral("Li,Zhao,qian,zhang,wang's"));
  Data->SetSort(QStringLiteral("GZ1"));
  EXPECT_EQ(Column("EmpName"), QStringLiteral("wang's,qian,zhang,Zhao,Li"));
  Data->Close();
  Data->Open();
  EXPECT_EQ(Data->Sort(), QStringLiteral("GZ1"));
  EXPECT_EQ(Column("EmpName"), QStringLiteral("wang's,qian,zhang,Zhao,Li"));
  Data->SetSort(QString());
  EXPECT_EQ(Column("EmpName"), QStringLiteral("zhang,Li,wang's,Zhao,qian"));
  EXPECT_THROW(Data->SetSort(QStringLiteral("Missing DESC")), EDatabaseError);
}

TEST_F(Staff, LocateAndLookup) {
  struct Case { const char* fields; Variant key; TLocateOptions options; const char* found; };
  for (const Case& c : std::initializer_list<Case>{
           {"EmpName", Variant("ZHAO"), {loCaseInsensitive}, "Zhao"},
           {"EmpName", Variant("ZHAO"), {}, nullptr},
           {"EmpName", Variant("wa"), {loPartialKey}, "wang's"},
           {"DepartName;SelectStu", Variant::Array({Variant("SALES"), Variant(1)}), {loCaseInsensitive}, "zhang"},
           {"GZ1", Variant(5200.5), {}, "Li"},
           {"GZ1", Variant("4100"), {}, "Zhao"},
           {"GZ1", Variant::Null(), {}, "wang's"}}) {
    Data->First();
    const bool found = Data->Locate(QString::fromLatin1(c.fields), c.key, c.options);
    EXPECT_EQ(found, c.found != nullptr) << c.fields;
    if (found) EXPECT_EQ(Data->FieldByName(QStringLiteral("EmpName"))->AsString(), QString::fromLatin1(c.found));
    else EXPECT_EQ(Data->RecNo(), 1);
  }
  Data->First();
  const Variant v = Data->Lookup(QStringLiteral("EmpName"), Variant("Li"), QStringLiteral("DepartName;GZ1"));
  ASSERT_TRUE(v.IsArray());
  EXPECT_EQ(v[0].AsString(), QStringLiteral("dev"));
  EXPECT_DOUBLE_EQ(v[1].AsDouble(), 5200.5);
  EXPECT_EQ(Data->RecNo(), 1);
  EXPECT_TRUE(VarIsNull(Data->Lookup(QStringLiteral("EmpName"), Variant("nobody"), QStringLiteral("ID"))));
}

TEST_F(Staff, RecNoAndFieldValuesWorkWithinTheCurrentView) {
  Data->SetSort(QStringLiteral("EmpName"));
  Data->SetFilter(QStringLiteral("SelectStu=1"));
  Data->SetFiltered(true);  // qian, wang's, zhang
  Data->SetRecNo(2);
  EXPECT_EQ(Data->FieldByName(QStringLiteral("EmpName"))->AsString(), QStringLiteral("wang's"));
  EXPECT_EQ(Data->RecNo(), 2);
  Data->Last();
  EXPECT_EQ(Data->RecNo(), 3);
  EXPECT_EQ(Data->FieldByName(QStringLiteral("EmpName"))->AsString(), QStringLiteral("zhang"));

  const Variant values = Data->FieldValues(QStringLiteral("empname;GZ1;LOGTime"));
  ASSERT_TRUE(values.IsArray());
  ASSERT_EQ(values.ArrayLength(), 3);
  EXPECT_EQ(values[0].AsString(), QStringLiteral("zhang"));
  EXPECT_DOUBLE_EQ(values[1].AsDouble(), 3000);
  EXPECT_EQ(Data->FieldValues(QStringLiteral("DepartName")).AsString(), QStringLiteral("Sales"));

  Data->Edit();
  Data->SetFieldValues(QStringLiteral("EmpName;GZ1"), Variant::Array({Variant("zhang2"), Variant::Null()}));
  Data->Post();
  EXPECT_EQ(Data->FieldByName(QStringLiteral("EmpName"))->AsString(), QStringLiteral("zhang2"));
  EXPECT_TRUE(Data->FieldByName(QStringLiteral("GZ1"))->IsNull());
  EXPECT_THROW(Data->FieldValues(QStringLiteral("EmpName;Missing")), EDatabaseError);
}

TEST_F(Staff, EveryRowKeepsItsPositionAsRowsAreAppendedInsertedAndRemoved) {
  TField* name = Data->FieldByName(QStringLiteral("EmpName"));
  // Each row's bookmark leads back to it at its place in the order.
  const auto Check = [&](const char* Names) {
    const QStringList expected = QString::fromUtf8(Names).split(u',');
    QList<TBookmarkStr> marks;
    for (Data->First(); !Data->Eof(); Data->Next()) marks << Data->Bookmark();
    ASSERT_EQ(marks.size(), expected.size()) << Names;
    for (qsizetype i = marks.size(); i-- > 0;) {
      Data->SetBookmark(marks[i]);
      EXPECT_EQ(Data->RecNo(), i + 1) << Names;
      EXPECT_EQ(name->AsString(), expected[i]) << Names;
    }
  };
  const auto Add = [&](bool Append, const char* Name) {
    if (Append) Data->Append(); else Data->Insert();
    name->SetAsString(QString::fromUtf8(Name));
    Data->Post();
  };
  EXPECT_EQ(Data->RecNo(), 1);
  Add(true, "a1");
  Add(true, "a2");
  Check("zhang,Li,wang's,Zhao,qian,a1,a2");
  Data->Append();
  Data->Cancel();
  Check("zhang,Li,wang's,Zhao,qian,a1,a2");
  Data->Last();
  const TBookmarkStr gone = Data->Bookmark();
  Data->Delete();
  EXPECT_FALSE(Data->BookmarkValid(gone));
  Add(true, "a3");
  Check("zhang,Li,wang's,Zhao,qian,a1,a3");
  Data->SetRecNo(2);
  Add(false, "m");
  Add(true, "a4");
  Check("zhang,m,Li,wang's,Zhao,qian,a1,a3,a4");
  Data->SetRecNo(3);
  Data->Delete();
  Add(true, "a5");
  Check("zhang,m,wang's,Zhao,qian,a1,a3,a4,a5");
}

TEST_F(Staff, BookmarksCompareInDataSetOrderAndExpire) {
  Data->SetSort(QStringLiteral("EmpName DESC"));
  Data->First();
  const TBookmarkStr first = Data->Bookmark();  // Zhao
  Data->Last();
  const TBookmarkStr last = Data->Bookmark();  // Li
  EXPECT_LT(Data->CompareBookmarks(first, last), 0);
  EXPECT_GT(Data->CompareBookmarks(last, first), 0);
  EXPECT_EQ(Data->CompareBookmarks(first, first), 0);
  EXPECT_LT(Data->CompareBookmarks(TBookmarkStr(), first), 0);

  Data->SetBookmark(first);
  EXPECT_EQ(Data->FieldByName(QStringLiteral("EmpName"))->AsString(), QStringLiteral("Zhao"));
  Data->Delete();
  EXPECT_FALSE(Data->BookmarkValid(first));
  EXPECT_THROW(Data->SetBookmark(first), EDatabaseError);
  EXPECT_TRUE(Data->BookmarkValid(last));
  Data->Close();
  Data->Open();
  EXPECT_FALSE(Data->BookmarkValid(last));
}

TEST_F(Staff, CalculatedAndLookupFields) {
  Data->Close();
  TIntegerField sortIdx;
  sortIdx.SetFieldName(QStringLiteral("SortIdx"));
  sortIdx.SetFieldKind(fkCalculated);
  sortIdx.SetDataSet(Data.get());
  auto departs = Db.Query(QStringLiteral("select 'Sales' as Code, 'Selling' as Title union all "
                                         "select 'dev', 'Building'"));
  TWideStringField title;
  title.SetFieldName(QStringLiteral("Title"));
  title.SetFieldKind(fkLookup);
  title.SetKeyFields(QStringLiteral("DepartName"));
  title.SetLookupDataSet(departs.get());
  title.SetLookupKeyFields(QStringLiteral("Code"));
  title.SetLookupResultField(QStringLiteral("Title"));
  title.SetDataSet(Data.get());
  Data->OnCalcFields = [&](TDataSet* ds) { sortIdx.SetAsInteger(std::abs(ds->RecNo())); };
  Data->Open();
  EXPECT_FALSE(Data->DefaultFields());
  EXPECT_EQ(Data->FieldCount(), 8);
  EXPECT_EQ(Column("SortIdx"), QStringLiteral("1,2,3,4,5"));
  EXPECT_EQ(Column("Title"), QStringLiteral("Selling,Building,Selling,,"));
  Data->SetSort(QStringLiteral("EmpName"));
  EXPECT_EQ(Column("SortIdx"), QStringLiteral("1,2,3,4,5"));
  EXPECT_FALSE(sortIdx.CanModify());
  EXPECT_THROW(sortIdx.SetAsInteger(9), EDatabaseError);  // browsing
  Data->Edit();
  Data->FieldByName(QStringLiteral("DepartName"))->SetAsString(QStringLiteral("Sales"));
  EXPECT_EQ(title.AsString(), QStringLiteral("Selling"));
  title.SetAsString(QStringLiteral("shown"));
  EXPECT_EQ(title.AsString(), QStringLiteral("shown"));
  Data->Cancel();
  Data->Close();
  EXPECT_EQ(Data->FieldCount(), 2);  // the fields the program made stay
}

TEST_F(Staff, NullsReadAsEmptyAndFormatsShapeTheText) {
  ASSERT_TRUE(Data->Locate(QStringLiteral("EmpName"), Variant("wang's"), {}));
  TField* pay = Data->FieldByName(QStringLiteral("gz1"));
  TField* logged = Data->FieldByName(QStringLiteral("LogTime"));
  EXPECT_TRUE(pay->IsNull());
  EXPECT_EQ(pay->AsString(), QString());
  EXPECT_EQ(pay->AsInteger(), 0);
  EXPECT_EQ(pay->AsFloat(), 0.0);
  EXPECT_EQ(logged->DisplayText(), QString());
  EXPECT_EQ(pay->Alignment(), taRightJustify);

  Data->First();
  auto* floatField = dynamic_cast<TFloatField*>(pay);
  ASSERT_NE(floatField, nullptr);
  floatField->SetDisplayFormat(QStringLiteral("0.00"));
  EXPECT_EQ(pay->DisplayText(), QStringLiteral("3000.00"));
  EXPECT_EQ(pay->Text(), QStringLiteral("3000.00"));
  floatField->SetEditFormat(QStringLiteral("0"));
  EXPECT_EQ(pay->Text(), QStringLiteral("3000"));
  dynamic_cast<TDateTimeField*>(logged)->SetDisplayFormat(QStringLiteral("yyyy-mm-dd hh:nn"));
  EXPECT_EQ(logged->DisplayText(), QStringLiteral("2024-01-05 08:00"));
  pay->OnGetText = [](TField* f, String& text, bool display) {
    text = display ? QStringLiteral("[%1]").arg(f->AsInteger()) : QStringLiteral("x");
  };
  EXPECT_EQ(pay->DisplayText(), QStringLiteral("[3000]"));
  EXPECT_EQ(pay->Text(), QStringLiteral("x"));

  Data->Edit();
  EXPECT_THROW(pay->SetAsString(QStringLiteral("12abc")), EConvertError);
  pay->SetText(QStringLiteral("12.5"));
  EXPECT_DOUBLE_EQ(pay->AsFloat(), 12.5);
  pay->SetText(QString());
  EXPECT_TRUE(pay->IsNull());
  EXPECT_TRUE(pay->IsValidChar(QLatin1Char('5')));
  EXPECT_FALSE(pay->IsValidChar(QLatin1Char('x')));
  Data->Cancel();
}

TEST_F(Staff, EventsRunInOrder) {
  std::vector<std::string> log;
  auto hook = [&](TDataSetNotifyEvent& event, const char* name) { event = [&log, name](TDataSet*) { log.push_back(name); }; };
  Data->Close();
  hook(Data->BeforeOpen, "BeforeOpen");
  hook(Data->AfterOpen, "AfterOpen");
  hook(Data->BeforeScroll, "BeforeScroll");
  hook(Data->AfterScroll, "AfterScroll");
  hook(Data->BeforeEdit, "BeforeEdit");
  hook(Data->AfterEdit, "AfterEdit");
  hook(Data->BeforePost, "BeforePost");
  hook(Data->AfterPost, "AfterPost");
  hook(Data->BeforeDelete, "BeforeDelete");
  hook(Data->AfterDelete, "AfterDelete");
  hook(Data->BeforeInsert, "BeforeInsert");
  hook(Data->OnNewRecord, "OnNewRecord");
  hook(Data->AfterInsert, "AfterInsert");
  hook(Data->BeforeCancel, "BeforeCancel");
  hook(Data->AfterCancel, "AfterCancel");
  hook(Data->BeforeClose, "BeforeClose");
  hook(Data->AfterClose, "AfterClose");
  Data->Open();
  Data->Edit();
  Data->FieldByName(QStringLiteral("GZ1"))->SetAsFloat(1);
  Data->Next();  // posts the edit first
  Data->Delete();
  Data->Insert();
  Data->Cancel();
  Data->Close();
  std::string text;
  for (const std::string& s : log) text += s + " ";
  EXPECT_EQ(text,
            "BeforeOpen AfterOpen AfterScroll BeforeEdit AfterEdit BeforePost AfterPost BeforeScroll AfterScroll "
            "BeforeDelete BeforeScroll AfterDelete AfterScroll BeforeInsert BeforeScroll OnNewRecord AfterInsert "
            "AfterScroll BeforeCancel BeforeScroll AfterCancel AfterScroll BeforeClose AfterClose ");
}

}  // namespace
