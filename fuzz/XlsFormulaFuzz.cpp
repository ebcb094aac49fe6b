// Workbooks come from any program: every byte string must give the formula
// results or end with the workbook error, in time and memory bounded by its size.
#include "platform/office/XlsFormulaResults.h"
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    ReadFormulaResults(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
  } catch (const EWorkbookError&) {
  }
  return 0;
}
