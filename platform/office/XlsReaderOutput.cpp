#include "platform/office/XlsReaderOutput.h"
#include "platform/office/XlsReaderStream.h"
#include <QLocale>
#include <QtEndian>
#include <bit>
#include <cstring>

namespace {

// Numbers as a person typed them: no exponent, no trailing zeros, "." as
// decimal point whatever the machine's locale, and as many digits as it
// takes to read back the very same number.
String NumberText(double Value) {
  if (Value == 0) return QStringLiteral("0");
  return String::number(Value, 'f', QLocale::FloatingPointShortest);
}

class TOutputReader {
public:
  TOutputReader(const QByteArray& Output, const String& FileName) : FOutput(Output), FFileName(FileName) {}

  [[noreturn]] void Fail(const String& What) const {
    throw EWorkbookError(QStringLiteral("无法读取工作簿“%1”：读取程序的输出有误（%2）").arg(FFileName, What));
  }
  qsizetype Left() const { return FOutput.size() - FPos; }
  void Need(qint64 Size) const {
    if (Size > Left()) Fail(QStringLiteral("在第 %1 字节处中断").arg(FPos));
  }
  quint8 U8() {
    Need(1);
    return quint8(FOutput[FPos++]);
  }
  quint32 U32() {
    Need(4);
    const quint32 Value = qFromLittleEndian<quint32>(FOutput.constData() + FPos);
    FPos += 4;
    return Value;
  }
  double Double() {
    Need(8);
    const quint64 Bits = qFromLittleEndian<quint64>(FOutput.constData() + FPos);
    FPos += 8;
    return std::bit_cast<double>(Bits);
  }
  String Text() {
    const quint32 Length = U32();
    Need(Length);
    const String Result = String::fromUtf8(FOutput.constData() + FPos, qsizetype(Length));
    FPos += Length;
    return Result;
  }
  void Expect(const char (&Bytes)[4], const char* What) {
    Need(4);
    if (std::memcmp(FOutput.constData() + FPos, Bytes, 4) != 0) Fail(QString::fromLatin1(What));
    FPos += 4;
  }

private:
  const QByteArray& FOutput;
  const String& FFileName;
  qsizetype FPos = 0;
};

String FormulaText(const TFormulaResult& Result) {
  switch (Result.Kind) {
    case TFormulaResult::frNumber: return NumberText(Result.Value);
    case TFormulaResult::frText:
    case TFormulaResult::frError: return Result.Text;
    case TFormulaResult::frBoolean: return Result.Value != 0 ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    case TFormulaResult::frEmpty: break;
  }
  return String();
}

class TSheetParser {
public:
  TSheetParser(TOutputReader& Reader, const TSheetFormulaResults& Formulas, const String& FileName)
      : FReader(Reader), FFormulas(Formulas), FFileName(FileName) {}

  void Parse(TXlsReaderSheet& Sheet, quint32 Rows, quint32 Columns) {
    TSheetTable Table;
    Table.Name = Sheet.Name + u'$';
    for (quint32 Row = 0; Row < Rows; ++Row) {
      QStringList Values;
      Values.reserve(Columns);
      for (quint32 Column = 0; Column < Columns; ++Column) Values << Cell(Table, Sheet, Row, Column);
      if (Row == 0) {
        for (quint32 Column = 0; Column < Columns; ++Column) {
          const String Caption = Values[Column].trimmed();
          Table.Columns << (Caption.isEmpty() ? QStringLiteral("F%1").arg(Column + 1) : Caption);
        }
      } else {
        Table.Rows << Values;
      }
    }
    if (Rows == 0)
      for (quint32 Column = 0; Column < Columns; ++Column) Table.Columns << QStringLiteral("F%1").arg(Column + 1);
    if (Sheet.Error.isEmpty()) Sheet.Table = std::move(Table);
  }

private:
  String Cell(TSheetTable& Table, TXlsReaderSheet& Sheet, quint32 Row, quint32 Column) {
    switch (FReader.U8()) {
      case xls_reader::ctEmpty: return FormulaCell(Table, Row, Column);
      case xls_reader::ctInteger: return String::number(qint32(FReader.U32()));
      case xls_reader::ctNumber: return NumberText(FReader.Double());
      case xls_reader::ctText: return FReader.Text();
      case xls_reader::ctUnreadable:
        if (Sheet.Error.isEmpty())
          Sheet.Error = QStringLiteral("Cell %1,%2 of sheet %3 in %4 cannot be read")
                            .arg(Row + 1)
                            .arg(Column + 1)
                            .arg(Table.Name, FFileName);
        return String();
      default: FReader.Fail(QStringLiteral("未知的单元格类型"));
    }
  }

  String FormulaCell(TSheetTable& Table, quint32 Row, quint32 Column) {
    const auto Found = FFormulas.constFind(qMakePair(int(Row), int(Column)));
    if (Found == FFormulas.constEnd()) return String();
    // An error result is no value: the cell is marked, never taken as empty.
    if (Found->Kind == TFormulaResult::frError && Row > 0)
      Table.Unreadable.insert(qMakePair(int(Row) - 1, int(Column)),
                              QStringLiteral("公式的结果是错误值 %1").arg(Found->Text));
    return FormulaText(*Found);
  }

  TOutputReader& FReader;
  const TSheetFormulaResults& FFormulas;
  const String& FFileName;
};

}  // namespace

TXlsReaderResult ParseXlsReaderOutput(const QByteArray& Output, const QHash<String, TSheetFormulaResults>& Formulas,
                                      qint64 MaxCells, const String& FileName) {
  TOutputReader Reader(Output, FileName);
  TXlsReaderResult Result;
  Reader.Expect(xls_reader::Magic, "开头不对");
  switch (Reader.U8()) {
    case xls_reader::rOpened: break;
    case xls_reader::rFailed:
      Result.OpenError = qint32(Reader.U32());
      if (Result.OpenError == 0) Reader.Fail(QStringLiteral("打开失败却没有错误代码"));
      Reader.Expect(xls_reader::Trailer, "结尾不对");
      if (Reader.Left() != 0) Reader.Fail(QStringLiteral("结尾之后还有内容"));
      return Result;
    default: Reader.Fail(QStringLiteral("未知的结果"));
  }
  const quint32 SheetCount = Reader.U32();
  // Every sheet takes at least its name's length and its state.
  Reader.Need(qint64(SheetCount) * 5);
  qint64 Cells = 0;
  for (quint32 Index = 0; Index < SheetCount; ++Index) {
    TXlsReaderSheet Sheet;
    Sheet.Name = Reader.Text();
    if (Sheet.Name.isEmpty()) Sheet.Name = QStringLiteral("Sheet%1").arg(Index + 1);
    switch (Reader.U8()) {
      case xls_reader::sReadable: {
        const quint32 Rows = Reader.U32(), Columns = Reader.U32();
        // A row and a column's title cost as much as a cell, so that rows
        // without columns and columns without rows are bounded too. Checked
        // before it is added up: two 32-bit counts multiplied overflow.
        const qint64 Left = MaxCells - Cells - qint64(Columns);
        if (Left < 0 || qint64(Rows) > Left / (qint64(Columns) + 1))
          throw EWorkbookError(
              QStringLiteral("无法读取工作簿“%1”：工作表 %2 的大小（%3 行 × %4 列）超出了这个文件所能容纳的范围")
                  .arg(FileName, Sheet.Name)
                  .arg(Rows)
                  .arg(Columns));
        Cells += qint64(Rows) * (qint64(Columns) + 1) + qint64(Columns);
        // Every cell takes at least its tag.
        Reader.Need(qint64(Rows) * Columns);
        TSheetParser(Reader, Formulas.value(Sheet.Name), FileName).Parse(Sheet, Rows, Columns);
        break;
      }
      case xls_reader::sUnreadable:
        Sheet.Error = QStringLiteral("The sheet %1$ of %2 cannot be read").arg(Sheet.Name, FileName);
        break;
      default: Reader.Fail(QStringLiteral("未知的工作表状态"));
    }
    Result.Sheets << std::move(Sheet);
  }
  Reader.Expect(xls_reader::Trailer, "结尾不对");
  if (Reader.Left() != 0) Reader.Fail(QStringLiteral("结尾之后还有内容"));
  return Result;
}
