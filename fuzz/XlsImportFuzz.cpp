// A workbook chosen for import may be any file: every byte string must open and show each
// sheet as a data set, or end with an error. The workbook is read by the reader program
// (built beside this target) under its limits; its output and the formula results are
// read here, under the sanitizers.
#include "platform/office/SheetDataSet.h"
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static QTemporaryDir dir;
  static const QString path = dir.filePath(QStringLiteral("fuzz.xls"));
  {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) __builtin_trap();
    file.write(reinterpret_cast<const char*>(data), qint64(size));
  }
  try {
    const TXlsWorkbook book(path);
    for (const String& table : book.TableNames()) {
      TSheetDataSet sheet;
      sheet.SetTable(book.ReadTable(table));
      sheet.Open();
      for (sheet.First(); !sheet.Eof(); sheet.Next())
        for (Integer i = 0; i < sheet.FieldCount(); ++i) sheet.Fields()->Fields(i)->AsString();
    }
  } catch (const Exception&) {
  }
  return 0;
}
