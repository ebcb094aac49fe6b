// The reader program's output is what a hostile workbook made of it: every
// byte string must give the sheets as data sets, or end with the workbook
// error, in time and memory bounded by its size.
#include "platform/office/SheetDataSet.h"
#include "platform/office/XlsReaderOutput.h"
#include "platform/office/XlsReaderProcess.h"
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray output(reinterpret_cast<const char*>(data), qsizetype(size));
  try {
    const TXlsReaderResult result =
        ParseXlsReaderOutput(output, {}, XlsReaderLimitsFor(qint64(size)).Cells, QStringLiteral("fuzz.xls"));
    for (const TXlsReaderSheet& each : result.Sheets) {
      if (!each.Table) continue;
      TSheetDataSet sheet;
      sheet.SetTable(*each.Table);
      sheet.Open();
      for (sheet.First(); !sheet.Eof(); sheet.Next())
        for (Integer i = 0; i < sheet.FieldCount(); ++i) sheet.Fields()->Fields(i)->AsString();
    }
  } catch (const Exception&) {
  }
  return 0;
}
