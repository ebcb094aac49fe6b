#include "app/AppSettings.h"
#include "app/PayItemSets.h"
#include "app/PayrollDatabase.h"
#include "app/TaxBrackets.h"
#include "app/tests/MessageRecorder.h"
#include "app/tests/TestDataModule.h"
#include "app/tests/WithoutFileAccessOverride.h"
#include "app/uDM.h"
#include "app/uPub.h"
#include "platform/rtl/Files.h"
#include "platform/testing/TestPaths.h"
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

String U(const char* Text) { return QString::fromUtf8(Text); }

// A program folder of its own with the data module of a first start.
class DataModuleTest : public ::testing::Test {
protected:
  String Query(const String& Sql) { return DM->GetDataBySQL(Sql); }
  int Count(const String& Where) { return Query(QStringLiteral("select count(*) from TGZSet where ") + Where).toInt(); }
  void Exec(const String& Sql) { DM->ADOLocal->ExecuteSql(Sql); }
  void AddItem(const String& Month, const char* Field, const char* Name, int Sort, int Show, const char* Formula) {
    Exec(QStringLiteral("insert into TGZSet (GZMonth, GZField1, GZName, GZType, SortIdx, ShowStu, CalcStr) "
                        "values (%1, %2, %3, %4, %5, %6, %7)")
             .arg(QuotedStr(Month), QuotedStr(U(Field)), QuotedStr(U(Name)))
             .arg(U(Field).startsWith(u'K', Qt::CaseInsensitive) ? 1 : 0)
             .arg(Sort)
             .arg(Show)
             .arg(Formula ? QuotedStr(U(Formula)) : QStringLiteral("NULL")));
  }
  // "GZField1|GZName|SortIdx|ShowStu|CalcStr" of a month's items in key order.
  QStringList Items(const String& Month) {
    TStringList Rows;
    DM->GetDataBySQLToItems(QStringLiteral("select GZField1 || '|' || GZName || '|' || SortIdx || '|' || ShowStu || "
                                           "'|' || CalcStr from TGZSet where GZMonth=%1 order by ID")
                                .arg(QuotedStr(Month)),
                            &Rows, true);
    return Rows.Text().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
  }

  TMessageRecorder Messages;
  TTestDataModule Module;
  const moli::testing::ScratchDir& Folder = Module.Folder();
};

TEST_F(DataModuleTest, FirstStartCreatesTheDatabaseWithItsSeedRows) {
  EXPECT_TRUE(Messages.Messages().isEmpty());
  EXPECT_EQ(Settings().GAppPath, Folder.Path() + u'/');
  EXPECT_TRUE(QFile::exists(Folder.File(QStringLiteral("db/VIRE.dat"))));
  EXPECT_FALSE(QFile::exists(Folder.File(QStringLiteral("db/VIRE.dat.new"))));
  EXPECT_TRUE(DM->ADOLocal->ConnectionString().contains(Folder.File(QStringLiteral("db/VIRE.dat"))));

  EXPECT_EQ(Query(QStringLiteral("select count(*) from TPara")), QStringLiteral("1"));
  EXPECT_EQ(Query(QStringLiteral("select count(*) from TGSModel")), QStringLiteral("7"));
  EXPECT_EQ(Query(QStringLiteral("select YNSTotal || '/' || SLRate || '/' || SQKCS from TGSModel where ClassIdx=4")),
            QStringLiteral("35000.0/25.0/2660.0"));
  // Every record column is there.
  EXPECT_EQ(Query(QStringLiteral("select count(*) from (select OneDayMOney, GZ30, YFTotal, KK15, GZTotal, QM, "
                                 "MobileCode, BankNo, EMail, LOGTime, SelectStu from TGZ)")),
            QStringLiteral("0"));

  Settings().GLogPass = QStringLiteral("stale");
  ASSERT_TRUE(LoadRegPara());
  EXPECT_EQ(Settings().GLogPass, QString());  // the initial "729" counts as no password
  EXPECT_EQ(Settings().GGSLimit, 5000);
  EXPECT_EQ(Settings().GTopPos, 2);
  EXPECT_EQ(Settings().GShowFloat, 1);
  EXPECT_EQ(AmountFormat(), QStringLiteral("0.00"));
  EXPECT_EQ(double(Settings().GPageWidth), 210.0);

  // A second start finds the file and leaves it as it is.
  Exec(QStringLiteral("update TPara set EntName='甲公司'"));
  TDM Again;
  EXPECT_EQ(Again.GetDataBySQL(QStringLiteral("select EntName from TPara")), U("甲公司"));
  EXPECT_TRUE(Messages.Messages().isEmpty());
}

TEST_F(DataModuleTest, TaxBracketsAreReadInBracketOrder) {
  std::vector<TTaxBracket> Brackets = ReadTaxBrackets();
  ASSERT_EQ(Brackets.size(), 7u);
  EXPECT_EQ(double(IncomeTax(8000, 5000, Brackets)), 90.0);
  EXPECT_GE(double(Brackets.back().YNSTotal), 1e9);

  Exec(QStringLiteral("update TGSModel set ClassIdx=99 where ClassIdx=1"));
  Brackets = ReadTaxBrackets();
  EXPECT_EQ(double(Brackets.front().YNSTotal), 12000.0);
  EXPECT_EQ(double(Brackets.back().YNSTotal), 3000.0);

  DM->ADOLocal->Close();
  ASSERT_TRUE(QFile::remove(DatabaseFileName(Settings().GAppPath)));
  EXPECT_TRUE(ReadTaxBrackets().empty());
}

TEST_F(DataModuleTest, LoadRegParaStopsAtTheFirstUnreadableColumn) {
  Exec(QStringLiteral("update TPara set PageWidth=NULL, NameOnTitle=1, LogPass='secret', EntName='乙公司'"));
  ASSERT_TRUE(LoadRegPara());
  EXPECT_EQ(double(Settings().GPageWidth), 0.0);  // a null reads as 0 and the reading goes on
  EXPECT_EQ(Settings().GNameOnTitle, 1);
  EXPECT_EQ(Settings().GLogPass, QStringLiteral("secret"));

  DM->dsPara->Close();
  Exec(QStringLiteral("alter table TPara drop column TopPos"));
  Exec(QStringLiteral("update TPara set GSLimit=3500, LogPass='other'"));
  Settings().GTopPos = 7;
  ASSERT_TRUE(LoadRegPara());
  EXPECT_EQ(Settings().GGSLimit, 3500);                      // read before the missing column
  EXPECT_EQ(Settings().GTopPos, 7);                          // missing: keeps its value
  EXPECT_EQ(Settings().GLogPass, QStringLiteral("secret"));  // after it: not read
}

TEST_F(DataModuleTest, TheListIndexesAreAddedToADatabaseMadeWithoutThem) {
  const String Indexes = QStringLiteral("select count(*) from sqlite_master where type='index' and name in "
                                        "('TGZ_EmpName', 'TGZ_DepartName', 'TGZ_GZMonth_EmpName')");
  EXPECT_EQ(Query(Indexes), QStringLiteral("3"));
  for (const char* Name : {"TGZ_EmpName", "TGZ_DepartName", "TGZ_GZMonth_EmpName"})
    Exec(QStringLiteral("drop index %1").arg(QLatin1String(Name)));
  ASSERT_EQ(Query(Indexes), QStringLiteral("0"));
  TDM Restarted;
  EXPECT_EQ(Restarted.GetDataBySQL(Indexes), QStringLiteral("3"));
  EXPECT_TRUE(Messages.Messages().isEmpty());
}

TEST_F(DataModuleTest, QueryHelpersFollowTheirEdgeCases) {
  for (const char* Name : {"张三", "", "李四", "张三"})
    Exec(QStringLiteral("insert into TGZ (GZMonth, DepartName, EmpName) values ('202401', 'A', %1)").arg(QuotedStr(U(Name))));
  Exec(QStringLiteral("insert into TGZ (GZMonth, DepartName, EmpName) values ('202401', 'A', NULL)"));

  EXPECT_EQ(Query(QStringLiteral("select EmpName from TGZ where GZMonth='none'")), QString());
  EXPECT_EQ(Query(QStringLiteral("select nonsense from")), QString());
  EXPECT_EQ(Query(QStringLiteral("select EmpName from TGZ order by ID")), U("张三"));

  TStringList List;
  List.Add(QStringLiteral("old"));
  DM->GetDataBySQLToItems(QStringLiteral("select EmpName from TGZ order by ID"), &List, false);
  EXPECT_EQ(List.Text(), U("old\r\n张三\r\n李四\r\n张三\r\n"));
  DM->GetDataBySQLToItems(QStringLiteral("select broken from nowhere"), &List, true);
  EXPECT_EQ(List.Count(), 4);  // a failing query does not clear the list
  DM->GetDataBySQLToItems(QStringLiteral("select distinct EmpName from TGZ order by EmpName"), &List, true);
  EXPECT_EQ(List.Count(), 2);
}

TEST_F(DataModuleTest, StructUpdateCompletesBaseAndMonthsWithItemsOnly) {
  AddItem(QStringLiteral("BASE"), "GZ1", "基本工资", 1, 0, "");
  Exec(QStringLiteral("insert into TGZMonth (GZMonth) values ('202401'), ('202402'), ('O''Brien月')"));
  AddItem(QStringLiteral("202401"), "gz2", "岗位工资", 2, 0, "[基本工资]*0.5");
  AddItem(QStringLiteral("202401"), "KK3", "社保", 3, 0, nullptr);
  AddItem(U("O'Brien月"), "GZ1", "基本工资", 1, 0, "");

  StructUpdate();
  EXPECT_EQ(Count(QStringLiteral("GZMonth='BASE'")), 45);
  EXPECT_EQ(Count(QStringLiteral("GZMonth='BASE' and GZType=0 and ShowStu=1 and SortIdx between 2 and 30")), 29);
  EXPECT_EQ(Count(QStringLiteral("GZMonth='BASE' and GZType=1 and ShowStu=1 and GZName='工资项目'")), 15);
  EXPECT_EQ(Query(QStringLiteral("select GZName from TGZSet where GZMonth='BASE' and GZField1='GZ1'")), U("基本工资"));
  EXPECT_EQ(Query(QStringLiteral("select SortIdx from TGZSet where GZMonth='BASE' and GZField1='KK9'")),
            QStringLiteral("9"));
  EXPECT_EQ(Count(QStringLiteral("GZMonth='202401'")), 45);  // lower-case "gz2" counts as present
  EXPECT_EQ(Count(QStringLiteral("GZMonth='202401' and upper(GZField1)='GZ2'")), 1);
  EXPECT_EQ(Count(QStringLiteral("GZMonth='202402'")), 0);   // a month without items keeps using BASE
  EXPECT_EQ(Count(QStringLiteral("GZMonth='O''Brien月'")), 45);

  StructUpdate();
  EXPECT_EQ(Query(QStringLiteral("select count(*) from TGZSet")), QStringLiteral("135"));
  EXPECT_TRUE(Messages.Messages().isEmpty());
}

TEST_F(DataModuleTest, AddBaseGZSetCopiesTheModelMonthOrBase) {
  AddItem(QStringLiteral("BASE"), "GZ1", "基本工资", 1, 0, " ");
  AddItem(QStringLiteral("202401"), "GZ5", "绩效", 5, 0, "[基本工资]*0.2");
  AddItem(QStringLiteral("202401"), "GZ1", "基本工资", 1, 1, "");
  AddItem(QStringLiteral("202401"), "KK9", "个税", 9, 0, "[&个税]");
  AddItem(U("O'Brien月"), "GZ3", "旧项目", 3, 0, " ");

  ASSERT_TRUE(AddBaseGZSet(U("O'Brien月"), QStringLiteral("202401")));
  EXPECT_EQ(Items(U("O'Brien月")), (QStringList{U("GZ5|绩效|5|0|[基本工资]*0.2"), U("GZ1|基本工资|1|1| "),
                                                U("KK9|个税|9|0|[&个税]")}));
  EXPECT_EQ(Count(QStringLiteral("GZMonth='O''Brien月' and GZType=1")), 1);
  EXPECT_EQ(Items(QStringLiteral("202401")).size(), 3);

  ASSERT_TRUE(AddBaseGZSet(QStringLiteral("202403"), QStringLiteral("空月")));
  EXPECT_EQ(Items(QStringLiteral("202403")), QStringList{U("GZ1|基本工资|1|0| ")});
  EXPECT_TRUE(Messages.Messages().isEmpty());
}

TEST_F(DataModuleTest, AddBaseGZSetTreatsMonthNamesWithoutCase) {
  AddItem(QStringLiteral("BASE"), "GZ1", "基本工资", 1, 0, " ");
  AddItem(QStringLiteral("2024a"), "GZ2", "津贴", 2, 0, " ");
  struct Case { const char* target; const char* source; const char* month; };
  for (const Case& c : std::initializer_list<Case>{{"base", "BASE", "BASE"}, {"Base", "nothing", "BASE"}, {"2024A", "2024a", "2024a"}}) {
    const QStringList before = Items(U(c.month));
    ASSERT_TRUE(AddBaseGZSet(U(c.target), U(c.source))) << c.target;
    EXPECT_EQ(Items(U(c.month)), before) << c.target;
    // The rows keep the month's own spelling.
    EXPECT_EQ(Count(QStringLiteral("GZMonth=%1 COLLATE BINARY").arg(QuotedStr(U(c.month)))), 1) << c.target;
  }
  EXPECT_TRUE(Messages.Messages().isEmpty());
}

TEST_F(DataModuleTest, AFailedAddBaseGZSetKeepsTheMonthsItems) {
  AddItem(QStringLiteral("202401"), "GZ1", "基本工资", 1, 0, " ");
  AddItem(QStringLiteral("202402"), "GZ2", "原有项目", 2, 0, " ");
  Exec(QStringLiteral("create trigger NoNewItems before insert on TGZSet "
                      "begin select raise(abort, 'refused'); end"));
  EXPECT_FALSE(AddBaseGZSet(QStringLiteral("202402"), QStringLiteral("202401")));
  EXPECT_EQ(Messages.Messages(), QStringList{U("增加新月度的工资项目模板失败！")});
  EXPECT_EQ(Items(QStringLiteral("202402")), QStringList{U("GZ2|原有项目|2|0| ")});
  EXPECT_FALSE(DM->ADOLocal->InTransaction());
}

TEST(DataModule, AnUnusableDatabaseIsReportedAndQueriesComeBackEmpty) {
  moli::testing::ScratchDir Folder;
  {
    QFile Blocker(Folder.File(QStringLiteral("db")));  // a file where the database folder should be
    ASSERT_TRUE(Blocker.open(QIODevice::WriteOnly));
  }
  SetProgramFolder(Folder.Path() + u'/');
  TMessageRecorder Messages;
  {
    TDM Module;
    DM = &Module;
    // The message names the file and what went wrong with it.
    ASSERT_EQ(Messages.Messages().size(), 1);
    const String Message = Messages.Messages().front();
    EXPECT_TRUE(Message.startsWith(U("无法打开工资数据库"))) << Message.toStdString();
    EXPECT_TRUE(Message.contains(QDir::toNativeSeparators(Folder.File(QStringLiteral("db/VIRE.dat"))))) << Message.toStdString();
    EXPECT_TRUE(Message.contains(QStringLiteral("原因："))) << Message.toStdString();
    EXPECT_FALSE(Module.ADOLocal->Connected());
    EXPECT_EQ(Module.GetDataBySQL(QStringLiteral("select count(*) from TPara")), QString());
    Settings().GGSLimit = 1234;
    EXPECT_FALSE(LoadRegPara());
    EXPECT_EQ(Settings().GGSLimit, 1234);
    StructUpdate();
    EXPECT_FALSE(AddBaseGZSet(QStringLiteral("202401"), QStringLiteral("BASE")));
    DM = nullptr;
  }
  SetProgramFolder(String());
}

TEST_F(DataModuleTest, ADamagedOrEmptyDatabaseIsReportedWithTheWayOutAndKeptAsItIs) {
  Exec(QStringLiteral("with recursive n(i) as (select 1 union all select i + 1 from n where i < 3000) "
                      "insert into TGZ (GZMonth, EmpName, QM) select '202401', 'e' || i, hex(randomblob(40)) from n"));
  DM->ADOLocal->Close();
  const String FileName = DatabaseFileName(Settings().GAppPath);
  QFile File(FileName);
  ASSERT_TRUE(File.open(QIODevice::ReadOnly));
  QByteArray Damaged = File.readAll();
  File.close();
  QRandomGenerator Noise(39);
  for (qsizetype i = Damaged.size() / 2; i < Damaged.size() / 2 + 8192; ++i) Damaged[i] = char(Noise.bounded(256));

  for (const QByteArray& Content : {Damaged, QByteArray()}) {
    ASSERT_TRUE(File.open(QIODevice::WriteOnly | QIODevice::Truncate));
    File.write(Content);
    File.close();
    Messages.Clear();
    TDM Again;
    ASSERT_EQ(Messages.Messages().size(), 1) << Content.size();
    const String Message = Messages.Messages().front();
    EXPECT_TRUE(Message.startsWith(U("工资数据库文件已损坏或为空"))) << Message.toStdString();
    EXPECT_TRUE(Message.contains(U("数据库还原"))) << Message.toStdString();
    EXPECT_FALSE(Again.ADOLocal->Connected());
    ASSERT_TRUE(File.open(QIODevice::ReadOnly));
    EXPECT_EQ(File.readAll(), Content);  // neither replaced nor written to
    File.close();
  }
}

TEST_F(DataModuleTest, AReadOnlyDatabaseIsReportedAtStart) {
  DM->ADOLocal->Close();
  const String FileName = DatabaseFileName(Settings().GAppPath);
  struct Case { String path; mode_t readOnly, writable; };
  for (const Case& c : {Case{FileName, 0444, 0644}, Case{ExtractFileDir(FileName), 0555, 0755}}) {
    ASSERT_EQ(::chmod(QFile::encodeName(c.path).constData(), c.readOnly), 0);
    Messages.Clear();
    {
      const TWithoutFileAccessOverride NoOverride;
      TDM Again;
      ASSERT_EQ(Messages.Messages().size(), 1) << c.path.toStdString();
      EXPECT_TRUE(Messages.Messages().front().startsWith(U("工资数据库文件是只读的"))) << c.path.toStdString();
      EXPECT_EQ(Again.GetDataBySQL(QStringLiteral("select count(*) from TPara")), QStringLiteral("1"));
    }
    ASSERT_EQ(::chmod(QFile::encodeName(c.path).constData(), c.writable), 0);
  }
}

TEST_F(DataModuleTest, ReadyParaReadsTheVendorFileWithDefaults) {
  ReadyPara();
  EXPECT_EQ(Settings().GBrand, U("墨鲤"));
  EXPECT_FALSE(Settings().GVendorName.isEmpty());
  EXPECT_FALSE(Settings().GVendorHomePage.isEmpty());

  QFile Ini(Folder.File(QStringLiteral("IIS.INI")));
  ASSERT_TRUE(Ini.open(QIODevice::WriteOnly));
  Ini.write(QString::fromUtf8("[Last]\r\nEntName=某软件公司\r\nBrand=青鱼\r\n").toUtf8());
  Ini.close();
  ReadyPara();
  EXPECT_EQ(Settings().GVendorName, U("某软件公司"));
  EXPECT_EQ(Settings().GBrand, U("青鱼"));
  EXPECT_FALSE(Settings().GVendorHomePage.isEmpty());
}

}  // namespace
