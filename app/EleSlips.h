#pragma once
// Electronic pay slips: one workbook per employee, made from a workbook
// template of the RPT folder by replacing the bracketed placeholders in the
// cells below the template's first row.
#include "platform/office/XlsxSheetText.h"
#include "platform/rtl/SysUtils.h"
#include <QList>
#include <QPair>
#include <QTemporaryDir>
#include <functional>

class TDataSet;

MOLI_DECLARE_EXCEPTION(ESlipTemplateError, Exception)

// The template file name (in the program's RPT folder) for the stored
// attendance mode PrintDays, K visible deductions and G visible earnings.
String EleSlipTemplateName(const String& PrintDays, Integer K, Integer G);

// Folder + "/" + Number as four digits + "_" + EmpName + ".xlsx". Separators
// and ".." in the name are replaced by "_", so every slip stays inside Folder.
String SlipFileName(const String& Folder, Integer Number, const String& EmpName);

// A pay item of the month as a slip shows it.
struct TSlipItem {
  bool Earnings = true;  // GZ<Number>, else KK<Number>
  Integer Number = 0;
  String Caption;
  bool Hidden = false;
};

// The month's items (the "BASE" items when the month has none), in item order.
// Raises when the list cannot be read.
QList<TSlipItem> ReadSlipItems(const String& Month);

// Placeholders and their values in the order they are replaced.
using TSlipValues = QList<QPair<String, String>>;

// The values of one slip: the record's data, the running number, the month,
// the company name and the items (hidden ones "-"). TwoDecimals gives amounts
// two decimals, else none.
TSlipValues SlipValues(TDataSet* Record, Integer Number, const String& Month, const String& Company,
                       const QList<TSlipItem>& Items, bool TwoDecimals);

// Text with the first occurrence of each placeholder replaced by its value
// ("-" for a value that is blank after trimming); the item placeholders of
// slots no item fills become "-" as well, so no placeholder is left.
String ReplacePlaceholders(const String& Text, const TSlipValues& Values);

// A slip cell from its template text: a cell that is just one amount, count
// or attendance placeholder becomes a number, so a spreadsheet can sum it;
// any other text has its placeholders replaced.
TSheetCell FillSlipCell(const String& Text, const TSlipValues& Values);

// A template read once and filled into any number of slips.
class TSlipTemplate {
public:
  // Raises ESlipTemplateError naming the file when it is missing or is no
  // workbook with a first sheet.
  explicit TSlipTemplate(const String& FileName);
  // Writes Target (replacing it) as a copy of the template whose sheet texts
  // below the first row went through Rewrite; styles and every other part stay.
  // Target appears only once complete; a failure raises and leaves it as it was.
  void Fill(const String& Target, const std::function<TSheetCell(const String&)>& Rewrite) const;

private:
  String FFileName;
  QByteArray FSheet;
  QStringList FSharedStrings;
  QTemporaryDir FWork;
};

struct TSlipFailure {
  Integer Number = 0;
  String EmpName;
  String Reason;
};

struct TSlipRun {
  Integer Made = 0;
  QList<TSlipFailure> Failures;
};

// Makes one slip per record of Records (from its first record on) into Folder,
// numbered from 1. A record whose slip fails is reported, leaves no slip under
// its name (an older one is removed) and the next goes on;
// Progress gets the number done and the count after each record.
TSlipRun GenerateSlips(const TSlipTemplate& Template, TDataSet* Records, const String& Folder, const String& Month,
                       const String& Company, const QList<TSlipItem>& Items, bool TwoDecimals,
                       const std::function<void(Integer Done, Integer Count)>& Progress);
