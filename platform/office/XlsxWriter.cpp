#include "platform/office/XlsxWriter.h"
#include <QFile>
#include <locale.h>
#include <map>
#include <xlsxwriter.h>

namespace {
// The library prints numbers with the C library's printf, which follows the
// process's numeric locale: under a locale with a decimal comma it would write
// "100,25", which no reader takes for a number. Every call that may write runs
// with the C numeric locale on this thread.
class TCNumericLocale {
 public:
  // The thread keeps its other categories (text conversion) as they were.
  TCNumericLocale() {
    locale_t current = duplocale(uselocale(static_cast<locale_t>(nullptr)));
    if (!current) return;
    FLocale = newlocale(LC_NUMERIC_MASK, "C", current);
    if (!FLocale) {
      freelocale(current);
      return;
    }
    FPrevious = uselocale(FLocale);
  }
  ~TCNumericLocale() {
    if (!FLocale) return;
    uselocale(FPrevious);
    freelocale(FLocale);
  }
  TCNumericLocale(const TCNumericLocale&) = delete;
  TCNumericLocale& operator=(const TCNumericLocale&) = delete;

 private:
  locale_t FLocale = nullptr;
  locale_t FPrevious = nullptr;
};
}  // namespace

struct TXlsxWriter::TState {
  String FileName;
  QByteArray NativeName;
  lxw_workbook* Workbook = nullptr;
  lxw_worksheet* Sheet = nullptr;
  std::map<String, lxw_format*> Formats;

  lxw_format* FormatOf(const TXlsxCellFormat& Format) {
    if (Format == TXlsxCellFormat()) return nullptr;
    const String Key = QStringLiteral("%1%2%3%4%5%6\n%7")
                           .arg(Format.Bold)
                           .arg(Format.Wrap)
                           .arg(Format.Centre)
                           .arg(Format.CentreVertically)
                           .arg(Format.ThinBorder)
                           .arg(Format.FontName, Format.NumberFormat);
    auto Found = Formats.find(Key);
    if (Found != Formats.end()) return Found->second;
    lxw_format* Made = workbook_add_format(Workbook);
    if (Format.Bold) format_set_bold(Made);
    if (Format.Wrap) format_set_text_wrap(Made);
    if (Format.Centre) format_set_align(Made, LXW_ALIGN_CENTER);
    if (Format.CentreVertically) format_set_align(Made, LXW_ALIGN_VERTICAL_CENTER);
    if (Format.ThinBorder) format_set_border(Made, LXW_BORDER_THIN);
    if (!Format.FontName.isEmpty()) format_set_font_name(Made, Format.FontName.toUtf8().constData());
    if (!Format.NumberFormat.isEmpty()) format_set_num_format(Made, Format.NumberFormat.toUtf8().constData());
    Formats.emplace(Key, Made);
    return Made;
  }

  void Check(lxw_error Code, const String& What) const {
    if (Code != LXW_NO_ERROR)
      throw EWorkbookError(QStringLiteral("%1 in %2: %3").arg(What, FileName, QString::fromUtf8(lxw_strerror(Code))));
  }
};

TXlsxWriter::TXlsxWriter(const String& FileName, bool InlineStrings) : FState(std::make_unique<TState>()) {
  FState->FileName = FileName;
  FState->NativeName = FileName.toLocal8Bit();
  lxw_workbook_options Options = {};
  Options.constant_memory = InlineStrings ? LXW_TRUE : LXW_FALSE;
  FState->Workbook = workbook_new_opt(FState->NativeName.constData(), &Options);
  if (!FState->Workbook) throw EWorkbookError(QStringLiteral("Cannot start the workbook %1").arg(FileName));
  FState->Sheet = workbook_add_worksheet(FState->Workbook, "Sheet1");
}

TXlsxWriter::~TXlsxWriter() {
  const TCNumericLocale numbers;
  if (!FState->Workbook) return;
  // The library writes only on close: close into the file, then remove it,
  // as an abandoned workbook must not look like a finished one.
  workbook_close(FState->Workbook);
  QFile::remove(FState->FileName);
}

void TXlsxWriter::Write(Integer Row, Integer Column, const String& Text, const TXlsxCellFormat& Format) {
  const TCNumericLocale numbers;
  FState->Check(worksheet_write_string(FState->Sheet, lxw_row_t(Row), lxw_col_t(Column), Text.toUtf8().constData(),
                                       FState->FormatOf(Format)),
                QStringLiteral("Cannot write cell %1,%2").arg(Row + 1).arg(Column + 1));
}

void TXlsxWriter::WriteNumber(Integer Row, Integer Column, double Value, const TXlsxCellFormat& Format) {
  const TCNumericLocale numbers;
  FState->Check(worksheet_write_number(FState->Sheet, lxw_row_t(Row), lxw_col_t(Column), Value, FState->FormatOf(Format)),
                QStringLiteral("Cannot write cell %1,%2").arg(Row + 1).arg(Column + 1));
}

void TXlsxWriter::WriteBlank(Integer Row, Integer Column, const TXlsxCellFormat& Format) {
  const TCNumericLocale numbers;
  FState->Check(worksheet_write_blank(FState->Sheet, lxw_row_t(Row), lxw_col_t(Column), FState->FormatOf(Format)),
                QStringLiteral("Cannot write cell %1,%2").arg(Row + 1).arg(Column + 1));
}

void TXlsxWriter::Merge(Integer FirstRow, Integer FirstColumn, Integer LastRow, Integer LastColumn, const String& Text,
                        const TXlsxCellFormat& Format) {
  const TCNumericLocale numbers;
  FState->Check(worksheet_merge_range(FState->Sheet, lxw_row_t(FirstRow), lxw_col_t(FirstColumn), lxw_row_t(LastRow),
                                      lxw_col_t(LastColumn), Text.toUtf8().constData(), FState->FormatOf(Format)),
                QStringLiteral("Cannot merge cells %1,%2 to %3,%4").arg(FirstRow + 1).arg(FirstColumn + 1).arg(LastRow + 1).arg(LastColumn + 1));
}

void TXlsxWriter::SetColumnWidth(Integer Column, double Characters) {
  const TCNumericLocale numbers;
  FState->Check(worksheet_set_column(FState->Sheet, lxw_col_t(Column), lxw_col_t(Column), Characters, nullptr),
                QStringLiteral("Cannot size column %1").arg(Column + 1));
}

void TXlsxWriter::Close() {
  const TCNumericLocale numbers;
  lxw_workbook* Workbook = FState->Workbook;
  FState->Workbook = nullptr;
  FState->Check(workbook_close(Workbook), QStringLiteral("Cannot write the workbook"));
}
