#include "platform/office/XlsWorkbook.h"
#include "platform/office/XlsReaderProcess.h"
#include "platform/testing/TestPaths.h"
#include <QFile>
#include <gtest/gtest.h>

namespace {
QString U(const char* Text) { return QString::fromUtf8(Text); }
QString FixtureNamed(const char* Name) {
  return moli::testing::SourceDir() + QStringLiteral("/platform/office/tests/fixtures/") + QLatin1String(Name);
}
QString Fixture() { return FixtureNamed("people.xls"); }

// A stand-in for the reader program: a shell script with the given body.
QString FakeReader(const moli::testing::ScratchDir& Dir, const char* Body) {
  const QString Path = Dir.File(QStringLiteral("reader.sh"));
  QFile Script(Path);
  EXPECT_TRUE(Script.open(QIODevice::WriteOnly | QIODevice::Truncate));
  Script.write(QByteArray("#!/bin/sh\n") + Body + '\n');
  Script.close();
  Script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  return Path;
}
}  // namespace

TEST(XlsWorkbook, ReadsSheetsOfAnotherWriterAsTablesOfText) {
  TXlsWorkbook Book(Fixture());
  EXPECT_EQ(Book.TableNames(), QStringList({U("工资$"), QStringLiteral("Sheet2$")}));
  const TSheetTable Table = Book.ReadTable(U("工资$"));
  EXPECT_EQ(Table.Name, U("工资$"));
  // The first row names the columns; a column without a name gets "F" and its number.
  EXPECT_EQ(Table.Columns, QStringList({U("部门"), U("姓名"), U("应发工资|基本工资"), QStringLiteral("Days"),
                                        QStringLiteral("F5"), U("备注")}));
  ASSERT_EQ(Table.Rows.size(), 3);
  EXPECT_EQ(Table.Rows[0], QStringList({U("财务部"), U("张三"), QStringLiteral("3500"), QStringLiteral("22"),
                                        QStringLiteral("x"), U("全勤")}));
  EXPECT_EQ(Table.Rows[1], QStringList({U("生产部"), U("李四"), QStringLiteral("1234.5"), QStringLiteral("21.5"),
                                        QString(), QString()}));
  EXPECT_EQ(Table.Rows[2], QStringList({U("生产部"), U("王五"), QStringLiteral("-0.25"), QStringLiteral("0"),
                                        QStringLiteral("y"), U("Ünïcode ✓")}));
  // A sheet may be named with or without the "$"; large numbers keep every digit.
  EXPECT_EQ(Book.ReadTable(QStringLiteral("Sheet2")).Rows, QList<QStringList>({{QStringLiteral("10000000")}}));
}

TEST(XlsWorkbook, FormulaCellsGiveTheirLastResultsAndNumbersKeepEveryDigit) {
  TXlsWorkbook Book(moli::testing::SourceDir() + QStringLiteral("/platform/office/tests/fixtures/formulas.xls"));
  const TSheetTable Table = Book.ReadTable(U("工资$"));
  ASSERT_EQ(Table.Rows.size(), 2);
  EXPECT_EQ(Table.Rows[0], QStringList({U("张三"), QStringLiteral("5000"), QStringLiteral("300.5"),
                                        QStringLiteral("5300.5"), QStringLiteral("OK"), QStringLiteral("0.000000123")}));
  EXPECT_EQ(Table.Rows[1], QStringList({U("李四"), QStringLiteral("4000"), QStringLiteral("0"), QStringLiteral("#DIV/0!"),
                                        QStringLiteral("TRUE"), QStringLiteral("123456789.12345679")}));
  // An error result is no value: the cell is marked, never taken as empty.
  ASSERT_EQ(Table.Unreadable.size(), 1);
  EXPECT_TRUE(Table.Unreadable.value(qMakePair(1, 3)).contains(QStringLiteral("#DIV/0!")));
}

TEST(XlsWorkbook, FilesThatAreNoWorkbookAndUnknownSheetsRaise) {
  moli::testing::ScratchDir Dir;
  const QString NotXls = Dir.File(QStringLiteral("notes.xls"));
  QFile File(NotXls);
  ASSERT_TRUE(File.open(QIODevice::WriteOnly));
  File.write("just some text, not a workbook");
  File.close();
  EXPECT_THROW(TXlsWorkbook Book(NotXls), EWorkbookError);
  EXPECT_THROW(TXlsWorkbook Book(Dir.File(QStringLiteral("missing.xls"))), EWorkbookError);
  EXPECT_THROW(TXlsWorkbook Book(moli::testing::SourceDir() + QStringLiteral("/platform/office/tests/fixtures/empty-string.xls")),
               EWorkbookError);
  TXlsWorkbook Book(Fixture());
  EXPECT_THROW(Book.ReadTable(QStringLiteral("Sheet9$")), EWorkbookError);
}

TEST(XlsWorkbook, HostileWorkbooksAreDamagedWorkbooksAndNeverCrashTheProgram) {
  // The root entry's name declared 65535 bytes long makes the reading library
  // read far past its buffer; each sheet of a 5 KB file declaring 65535 × 256
  // cells makes it allocate 256 MB, beyond the reader's limit for that size.
  for (const char* Name : {"dir-name-overread.xls", "huge-dimensions.xls"}) {
    SCOPED_TRACE(Name);
    EXPECT_THROW(TXlsWorkbook Book(FixtureNamed(Name)), EWorkbookError);
  }
  // A reader that crashes on the file is a damaged workbook, never an empty one.
  moli::testing::ScratchDir Dir;
  try {
    TXlsWorkbook Book(Fixture(), FakeReader(Dir, "kill -SEGV $$"));
    ADD_FAILURE() << "a crashed reader was taken for a workbook";
  } catch (const EWorkbookError& E) {
    EXPECT_TRUE(E.Message().startsWith(U("无法读取工作簿“") + Fixture())) << E.Message().toStdString();
  }
}

TEST(XlsReaderProcess, ReadersThatCrashFailOrExceedALimitAreStopped) {
  moli::testing::ScratchDir Dir;
  const struct {
    const char* Body;
    qint64 WallMilliseconds;
    const char* Reason;
  } Cases[] = {
      {"kill -SEGV $$", 60000, "文件已损坏"},
      {"exit 3", 60000, "退出代码 3"},
      {"while :; do :; done", 60000, "文件已损坏"},  // the limit of one second of CPU time ends it
      {"exec sleep 60", 500, "读取超时"},
      {"exec cat /dev/zero", 60000, "超出了这个文件所能容纳的范围"},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Body);
    TXlsReaderLimits Limits = XlsReaderLimitsFor(0);
    Limits.CpuSeconds = 1;
    Limits.WallMilliseconds = Case.WallMilliseconds;
    Limits.Output = 4096;
    try {
      RunXlsReader(FakeReader(Dir, Case.Body), Fixture(), Limits);
      ADD_FAILURE() << "the reader's end was taken for success";
    } catch (const EWorkbookError& E) {
      EXPECT_TRUE(E.Message().contains(U(Case.Reason))) << E.Message().toStdString();
    }
  }
  // The real reader under an address space too small for it is stopped the same way.
  TXlsReaderLimits NoMemory = XlsReaderLimitsFor(0);
  NoMemory.AddressSpace = 1024 * 1024;
  EXPECT_THROW(RunXlsReader(XlsReaderProgram(), Fixture(), NoMemory), EWorkbookError);
  EXPECT_FALSE(RunXlsReader(XlsReaderProgram(), Fixture(), XlsReaderLimitsFor(5632)).isEmpty());
}
