#include "platform/office/XlsReaderOutput.h"
#include <QtEndian>
#include <bit>
#include <gtest/gtest.h>

namespace {

QByteArray U32(quint32 Value) {
  QByteArray Bytes(4, '\0');
  qToLittleEndian(Value, Bytes.data());
  return Bytes;
}

QByteArray Text(const QByteArray& Utf8) { return U32(quint32(Utf8.size())) + Utf8; }

// A workbook of Count sheets.
QByteArray Workbook(const QByteArray& Sheets, quint32 Count = 1) {
  return QByteArray("MXR1") + '\0' + U32(Count) + Sheets + "END!";
}

// A readable sheet of Rows × Columns cells.
QByteArray Sheet(const QByteArray& Name, quint32 Rows, quint32 Columns, const QByteArray& Cells) {
  return Text(Name) + '\0' + U32(Rows) + U32(Columns) + Cells;
}

TXlsReaderResult Parse(const QByteArray& Output, qint64 MaxCells = 1000) {
  return ParseXlsReaderOutput(Output, {}, MaxCells, QStringLiteral("book.xls"));
}

}  // namespace

TEST(XlsReaderOutput, ReadsSheetsCellsAndFormulaResults) {
  double Number = 0.1;
  QByteArray NumberBits(8, '\0');
  qToLittleEndian(std::bit_cast<quint64>(Number), NumberBits.data());
  const QByteArray Empty(1, '\0');
  const QByteArray Cells = QByteArray("\x03") + Text("Name") + Empty + Empty +  // a title, a formula, nothing
                           '\x01' + U32(quint32(-7)) + '\x02' + NumberBits + Empty;
  const QByteArray Output = Workbook(Sheet("S", 2, 3, Cells) + Text("") + '\x01', 2);
  TSheetFormulaResults Formulas;
  Formulas.insert(qMakePair(0, 1), TFormulaResult{TFormulaResult::frText, 0, QStringLiteral("Total")});
  Formulas.insert(qMakePair(1, 2), TFormulaResult{TFormulaResult::frError, 0, QStringLiteral("#N/A")});
  // A formula result only fills a cell the reader leaves empty.
  Formulas.insert(qMakePair(1, 0), TFormulaResult{TFormulaResult::frText, 0, QStringLiteral("ignored")});
  const TXlsReaderResult Result =
      ParseXlsReaderOutput(Output, {{QStringLiteral("S"), Formulas}}, 100, QStringLiteral("book.xls"));
  ASSERT_EQ(Result.Sheets.size(), 2);
  ASSERT_TRUE(Result.Sheets[0].Table);
  const TSheetTable& Table = *Result.Sheets[0].Table;
  EXPECT_EQ(Table.Columns, QStringList({QStringLiteral("Name"), QStringLiteral("Total"), QStringLiteral("F3")}));
  EXPECT_EQ(Table.Rows, QList<QStringList>({{QStringLiteral("-7"), QStringLiteral("0.1"), QStringLiteral("#N/A")}}));
  // An error result is marked by its row below the titles.
  EXPECT_EQ(Table.Unreadable.keys(), (QList<QPair<int, int>>{qMakePair(0, 2)}));
  // A sheet without a name is called after its place; one the library cannot read says so.
  EXPECT_EQ(Result.Sheets[1].Name, QStringLiteral("Sheet2"));
  EXPECT_FALSE(Result.Sheets[1].Table);
  EXPECT_FALSE(Result.Sheets[1].Error.isEmpty());
  EXPECT_EQ(Parse(QByteArray("MXR1\x01") + U32(quint32(-20)) + "END!").OpenError, -20);
}

TEST(XlsReaderOutput, OutputNotInTheFormOrBeyondTheBudgetRaises) {
  const QByteArray Good = Workbook(Sheet("S", 1, 1, QByteArray(1, '\0')));
  ASSERT_NO_THROW(Parse(Good));
  const struct {
    const char* Name;
    QByteArray Output;
  } Cases[] = {
      {"empty", QByteArray()},
      {"another magic", QByteArray("MXR2") + Good.mid(4)},
      {"cut short", Good.chopped(1)},
      {"bytes after the end", Good + 'x'},
      {"unknown result", QByteArray("MXR1\x07") + "END!"},
      {"failure without a code", QByteArray("MXR1\x01") + U32(0) + "END!"},
      {"unknown cell tag", Workbook(Sheet("S", 1, 1, "\x09"))},
      {"unknown sheet state", Workbook(Text("S") + '\x05')},
      {"text longer than the output", Workbook(Sheet("S", 1, 1, QByteArray("\x03") + U32(0xFFFFFFFF)))},
      {"more sheets than the output holds", Workbook(QByteArray(), 0xFFFFFFFF)},
      {"more cells than the output holds", Workbook(Sheet("S", 10, 10, QByteArray(1, '\0')))},
      {"more cells than the budget", Workbook(Sheet("S", 40, 25, QByteArray(1000, '\0')))},
      {"rows without columns beyond the budget", Workbook(Sheet("S", 0xFFFFFFFF, 0, QByteArray()))},
      {"columns without rows beyond the budget", Workbook(Sheet("S", 0, 0xFFFFFFFF, QByteArray()))},
      {"rows × columns beyond 64 bits", Workbook(Sheet("S", 0xFFFFFFFF, 0xFFFFFFFF, QByteArray()))},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    EXPECT_THROW(Parse(Case.Output), EWorkbookError);
  }
}
