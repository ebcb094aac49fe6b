// Writes the program's workbook templates of electronic pay slips into the
// folder given by --out. Row 1 is the sheet's header; the placeholders below
// it are filled per employee. Texts are kept in their cells, so a filled slip
// holds no trace of a placeholder; amount cells carry the number format their
// numbers are shown in.
#include "platform/office/XlsxWriter.h"
#include <QCoreApplication>
#include <QDir>
#include <cstdio>

namespace {

struct TTemplateShape {
  const char* Name;
  Integer Earnings;
  Integer Deductions;
  // 0 no attendance, 1 days and day rate, 2 days, hours and rate.
  Integer Attendance;
};

void WriteTemplate(const QString& Folder, const TTemplateShape& Shape) {
  QStringList Captions{QStringLiteral("序号"), QStringLiteral("职员编码"), QStringLiteral("姓名")};
  QStringList Values{QStringLiteral("[SortIdx]"), QStringLiteral("[EmpCode]"), QStringLiteral("[EmpName]")};
  if (Shape.Attendance >= 1) {
    Captions << QStringLiteral("出勤天数");
    Values << QStringLiteral("[WorkDays]");
  }
  if (Shape.Attendance == 2) {
    Captions << QStringLiteral("出勤小时");
    Values << QStringLiteral("[HourCount]");
  }
  if (Shape.Attendance >= 1) {
    Captions << QStringLiteral("工资标准");
    Values << QStringLiteral("[OneDayMOney]");
  }
  for (Integer i = 1; i <= Shape.Earnings; ++i) {
    Captions << QStringLiteral("[工资项目%1]").arg(i);
    Values << QStringLiteral("[GZ%1]").arg(i);
  }
  Captions << QStringLiteral("应发合计");
  Values << QStringLiteral("[YFTotal]");
  if (Shape.Deductions > 0) {
    for (Integer i = 1; i <= Shape.Deductions; ++i) {
      Captions << QStringLiteral("[扣款项目%1]").arg(i);
      Values << QStringLiteral("[KK%1]").arg(i);
    }
    Captions << QStringLiteral("扣款合计");
    Values << QStringLiteral("[KKTotal]");
  }
  Captions << QStringLiteral("实发工资") << QStringLiteral("备注");
  Values << QStringLiteral("[GZTotal]") << QStringLiteral("[Desp]");

  TXlsxCellFormat Title;
  Title.Bold = true;
  Title.FontName = QStringLiteral("宋体");
  TXlsxCellFormat Cell;
  Cell.ThinBorder = true;
  Cell.Wrap = true;
  Cell.Centre = true;
  Cell.CentreVertically = true;
  Cell.FontName = QStringLiteral("宋体");
  TXlsxCellFormat Caption = Cell;
  Caption.Bold = true;

  TXlsxWriter Writer(QDir(Folder).filePath(QString::fromLatin1(Shape.Name)), true);
  Writer.Write(0, 0, QStringLiteral("工资条"), Title);
  Writer.Write(1, 0, QStringLiteral("单位："));
  Writer.Write(1, 1, QStringLiteral("[单位名称]"));
  Writer.Write(1, 3, QStringLiteral("月份："));
  Writer.Write(1, 4, QStringLiteral("[GZMonth]"));
  for (qsizetype k = 0; k < Captions.size(); ++k) Writer.Write(2, Integer(k), Captions[k], Caption);
  // Amounts become number cells in a slip; their cells show them as the program does.
  TXlsxCellFormat Amount = Cell;
  Amount.NumberFormat = QStringLiteral("0.00");
  TXlsxCellFormat Rate = Cell;
  Rate.NumberFormat = QStringLiteral("0");
  for (qsizetype k = 0; k < Values.size(); ++k) {
    const QString& Value = Values[k];
    const bool IsAmount = Value.startsWith(QStringLiteral("[GZ")) || Value.startsWith(QStringLiteral("[KK")) ||
                          Value == QStringLiteral("[YFTotal]");
    Writer.Write(3, Integer(k), Value, IsAmount ? Amount : Value == QStringLiteral("[OneDayMOney]") ? Rate : Cell);
  }
  for (qsizetype k = 0; k < Captions.size(); ++k) Writer.SetColumnWidth(Integer(k), 10);
  Writer.Close();
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication App(argc, argv);
  const QStringList Arguments = App.arguments();
  const qsizetype At = Arguments.indexOf(QStringLiteral("--out"));
  if (At < 0 || At + 1 >= Arguments.size()) {
    std::fprintf(stderr, "usage: slipgen --out FOLDER\n");
    return 2;
  }
  const QString Folder = Arguments.at(At + 1);
  QDir().mkpath(Folder);
  try {
    for (const TTemplateShape& Shape : {TTemplateShape{"GZBillNoKK.xlsx", 30, 0, 0}, {"GZBill.xlsx", 10, 5, 0},
                                        {"GZBill20_5.xlsx", 20, 5, 0}, {"GZBill10_10.xlsx", 10, 10, 0},
                                        {"GZBill20_10.xlsx", 20, 10, 0}, {"GZBill30_15.xlsx", 30, 15, 0},
                                        {"GZBillWithDay.xlsx", 30, 15, 1}, {"GZBillWithHour.xlsx", 30, 15, 2}})
      WriteTemplate(Folder, Shape);
  } catch (const Exception& E) {
    std::fprintf(stderr, "slipgen: %s\n", E.Message().toLocal8Bit().constData());
    return 1;
  }
  return 0;
}
