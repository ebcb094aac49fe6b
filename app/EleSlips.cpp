#include "app/EleSlips.h"
#include "app/uDM.h"
#include "app/uPub.h"
#include "platform/db/SqlText.h"
#include "platform/office/XlsxSheetText.h"
#include "platform/rtl/ScopeGuards.h"
#include "zip/ZipWriter.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

const String SheetPart = QStringLiteral("xl/worksheets/sheet1.xml");
const String SharedStringsPart = QStringLiteral("xl/sharedStrings.xml");

String AmountText(Extended Value, bool TwoDecimals) {
  return FormatFloat(TwoDecimals ? QStringLiteral("0.00") : QStringLiteral("0"), Value);
}

QByteArray ReadWhole(const String& FileName) {
  QFile File(FileName);
  if (!File.open(QIODevice::ReadOnly)) return QByteArray();
  return File.readAll();
}

}  // namespace

String EleSlipTemplateName(const String& PrintDays, Integer K, Integer G) {
  if (PrintDays == u"0") {
    if (K == 0) return QStringLiteral("GZBillNoKK.xlsx");
    if (K <= 5) return G <= 10 ? QStringLiteral("GZBill.xlsx") : QStringLiteral("GZBill20_5.xlsx");
    if (K <= 10) return G <= 10 ? QStringLiteral("GZBill10_10.xlsx") : QStringLiteral("GZBill20_10.xlsx");
    return QStringLiteral("GZBill30_15.xlsx");
  }
  if (PrintDays == u"1") return QStringLiteral("GZBillWithDay.xlsx");
  return QStringLiteral("GZBillWithHour.xlsx");
}

String SlipFileName(const String& Folder, Integer Number, const String& EmpName) {
  String Name = EmpName;
  Name.replace(u'/', u'_').replace(u'\\', u'_').replace(QStringLiteral(".."), QStringLiteral("_"));
  String Base = Folder;
  if (!Base.endsWith(u'/')) Base += u'/';
  return Base + PadLeftZeros(IntToStr(Number), 4) + u'_' + Name + QStringLiteral(".xlsx");
}

QList<TSlipItem> ReadSlipItems(const String& Month) {
  TADODataSet Items(nullptr);
  Items.SetConnection(DM->ADOLocal);
  for (const String& Owner : {Month, QStringLiteral("BASE")}) {
    Items.Close();
    Items.SetCommandText(QStringLiteral("Select * from TGZSet where GZMonth=") + QuotedStr(Owner) +
                         QStringLiteral(" Order by gztype,SortIDx"));
    Items.Open();
    if (!Items.IsEmpty()) break;
  }
  static const QRegularExpression FieldPattern(QStringLiteral("^(GZ|KK)(\\d+)$"),
                                               QRegularExpression::CaseInsensitiveOption);
  QList<TSlipItem> Result;
  for (Items.First(); !Items.Eof(); Items.Next()) {
    const QRegularExpressionMatch Match =
        FieldPattern.match(Items.FieldByName(QStringLiteral("GZField1"))->AsString().trimmed());
    if (!Match.hasMatch()) continue;
    TSlipItem Item;
    Item.Earnings = Match.captured(1).compare(QStringLiteral("GZ"), Qt::CaseInsensitive) == 0;
    Item.Number = Match.captured(2).toInt();
    Item.Caption = Items.FieldByName(QStringLiteral("GZName"))->AsString();
    Item.Hidden = Items.FieldByName(QStringLiteral("ShowStu"))->AsInteger() != 0;
    Result << Item;
  }
  return Result;
}

TSlipValues SlipValues(TDataSet* Record, Integer Number, const String& Month, const String& Company,
                       const QList<TSlipItem>& Items, bool TwoDecimals) {
  const auto Text = [Record](const char* Field) { return Record->FieldByName(QLatin1String(Field))->AsString(); };
  const auto Amount = [Record, TwoDecimals](const String& Field) {
    return AmountText(Record->FieldByName(Field)->AsFloat(), TwoDecimals);
  };
  TSlipValues Values{
      {QStringLiteral("[单位名称]"), Company},
      {QStringLiteral("[EmpName]"), Text("EmpName")},
      {QStringLiteral("[EmpCode]"), Text("EmpCode")},
      {QStringLiteral("[Desp]"), Text("QM")},
      {QStringLiteral("[GZMonth]"), Month},
      {QStringLiteral("[WorkDays]"), Text("WorkDays")},
      {QStringLiteral("[HourCount]"), Text("HourCount")},
      {QStringLiteral("[OneDayMOney]"),
       FormatFloat(QStringLiteral("0"), Record->FieldByName(QStringLiteral("OneDayMOney"))->AsFloat())},
      {QStringLiteral("[SortIdx]"), IntToStr(Number)},
      {QStringLiteral("[YFTotal]"), Amount(QStringLiteral("YFTotal"))},
      {QStringLiteral("[KKTotal]"), Amount(QStringLiteral("KKTotal"))},
      {QStringLiteral("[GZTotal]"), Amount(QStringLiteral("GZTotal"))},
  };
  for (const TSlipItem& Item : Items) {
    const String Field = (Item.Earnings ? QStringLiteral("GZ") : QStringLiteral("KK")) + IntToStr(Item.Number);
    const String CaptionKey = (Item.Earnings ? QStringLiteral("[工资项目") : QStringLiteral("[扣款项目")) +
                              IntToStr(Item.Number) + u']';
    Values << qMakePair(CaptionKey, Item.Hidden ? QStringLiteral("-") : Item.Caption);
    Values << qMakePair(u'[' + Field + u']', Item.Hidden ? QStringLiteral("-") : Amount(Field));
  }
  return Values;
}

String ReplacePlaceholders(const String& Text, const TSlipValues& Values) {
  String Result = Text;
  for (const auto& [Placeholder, Value] : Values) {
    const qsizetype At = Result.indexOf(Placeholder);
    if (At < 0) continue;
    Result.replace(At, Placeholder.size(), Value.trimmed().isEmpty() ? QStringLiteral("-") : Value);
  }
  static const QRegularExpression UnusedSlot(QStringLiteral("\\[(?:工资项目|扣款项目|GZ|KK)\\d+\\]"));
  return Result.replace(UnusedSlot, QStringLiteral("-"));
}

TSheetCell FillSlipCell(const String& Text, const TSlipValues& Values) {
  static const QRegularExpression NumberPlaceholder(
      QStringLiteral("^\\[(?:GZ\\d+|KK\\d+|YFTotal|KKTotal|GZTotal|OneDayMOney|WorkDays|HourCount)\\]$"));
  const String Placeholder = Text.trimmed();
  if (NumberPlaceholder.match(Placeholder).hasMatch()) {
    for (const auto& [Key, Value] : Values) {
      if (Key != Placeholder) continue;
      double Number = 0;
      if (TryReadSqlNumber(Value.trimmed(), Number)) return TSheetCell{Value.trimmed(), true};
      break;
    }
  }
  return TSheetCell{ReplacePlaceholders(Text, Values), false};
}

TSlipTemplate::TSlipTemplate(const String& FileName) : FFileName(FileName) {
  if (!QFileInfo(FileName).isFile())
    throw ESlipTemplateError(QStringLiteral("工资条模板文件不存在：%1").arg(QDir::toNativeSeparators(FileName)));
  if (!FWork.isValid()) throw ESlipTemplateError(QStringLiteral("不能建立临时目录：%1").arg(FWork.errorString()));
  try {
    TZipReader Reader;
    Reader.SetZipName(FileName);
    Reader.SetDestDir(FWork.path());
    Reader.SetRecreateDirs(true);
    Reader.SetOverwriteMode(TUZOverwriteMode::Always);
    Reader.SetDoProcessMessages(false);
    Reader.FilesList()->Add(SheetPart);
    Reader.FilesList()->Add(SharedStringsPart);
    Reader.ExtractFiles();
  } catch (const Exception& E) {
    throw ESlipTemplateError(QStringLiteral("工资条模板文件不能读取：%1（%2）").arg(FileName, E.Message()));
  }
  FSheet = ReadWhole(FWork.filePath(SheetPart));
  if (FSheet.isEmpty())
    throw ESlipTemplateError(QStringLiteral("工资条模板文件没有第一个工作表：%1").arg(FileName));
  const QByteArray Shared = ReadWhole(FWork.filePath(SharedStringsPart));
  try {
    if (!Shared.isEmpty()) FSharedStrings = ReadSharedStrings(Shared);
    RewriteSheetTexts(FSheet, FSharedStrings, 2, [](const String& Text) { return Text; });
  } catch (const Exception& E) {
    throw ESlipTemplateError(QStringLiteral("工资条模板文件不能读取：%1（%2）").arg(FileName, E.Message()));
  }
}

void TSlipTemplate::Fill(const String& Target, const std::function<TSheetCell(const String&)>& Rewrite) const {
  const QByteArray Sheet = RewriteSheetCells(FSheet, FSharedStrings, 2, Rewrite);
  const String SheetFile = FWork.filePath(SheetPart);
  {
    QFile File(SheetFile);
    if (!File.open(QIODevice::WriteOnly | QIODevice::Truncate) || File.write(Sheet) != Sheet.size() || !File.flush())
      throw EInOutError(QStringLiteral("Cannot write %1: %2").arg(SheetFile, File.errorString()));
  }
  // The slip is made under a temporary name and takes its own name only when
  // whole: a failure never leaves a template copy or a cut file that looks
  // like a finished slip.
  const String Partial = Target + QStringLiteral(".part");
  TScopeGuard Discard([&Partial] { QFile::remove(Partial); });
  CopyFileByStream(FFileName, Partial);
  {
    TZipWriter Writer;
    Writer.SetZipName(Partial);
    Writer.SetRootDir(FWork.path());
    Writer.SetRelativePaths(true);
    Writer.SetZipAction(zaReplace);
    Writer.SetDoProcessMessages(false);
    Writer.FilesList()->Add(SheetFile);
    if (Writer.CompressFiles() != 1) throw EInOutError(QStringLiteral("The sheet of %1 was not replaced").arg(Target));
  }
  if (std::rename(QFile::encodeName(Partial).constData(), QFile::encodeName(Target).constData()) != 0)
    throw EInOutError(QStringLiteral("Cannot rename %1 to %2: %3").arg(Partial, Target, QString::fromLocal8Bit(std::strerror(errno))));
  Discard.Dismiss();
}

TSlipRun GenerateSlips(const TSlipTemplate& Template, TDataSet* Records, const String& Folder, const String& Month,
                       const String& Company, const QList<TSlipItem>& Items, bool TwoDecimals,
                       const std::function<void(Integer Done, Integer Count)>& Progress) {
  TSlipRun Run;
  const Integer Count = Records->RecordCount();
  Integer Number = 1;
  for (Records->First(); !Records->Eof(); Records->Next(), ++Number) {
    const String EmpName = Records->FieldByName(QStringLiteral("EmpName"))->AsString();
    try {
      const TSlipValues Values = SlipValues(Records, Number, Month, Company, Items, TwoDecimals);
      Template.Fill(SlipFileName(Folder, Number, EmpName),
                    [&Values](const String& Text) { return FillSlipCell(Text, Values); });
      ++Run.Made;
    } catch (const Exception& E) {
      // An older slip under this name would be mailed in place of the one that failed.
      QFile::remove(SlipFileName(Folder, Number, EmpName));
      Run.Failures << TSlipFailure{Number, EmpName, E.Message()};
    }
    if (Progress) Progress(Number, Count);
  }
  return Run;
}
