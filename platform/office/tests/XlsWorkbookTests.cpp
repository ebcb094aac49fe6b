#include "platform/office/XlsWorkbook.h"
#include "platform/testing/TestPaths.h"
#include <QFile>
#include <gtest/gtest.h>

namespace {
QString U(const char* Text) { return QString::fromUtf8(Text); }
QString Fixture() { return moli::testing::SourceDir() + QStringLiteral("/platform/office/tests/fixtures/people.xls"); }
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
