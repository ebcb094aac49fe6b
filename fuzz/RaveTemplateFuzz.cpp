// Report templates are text files beside the program that anyone may edit: any UTF-8 text
// must give reports or end with the template error naming the line.
#include "platform/report/RaveTemplate.h"
#include "platform/rtl/Encodings.h"
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  if (!IsValidUtf8(bytes)) return 0;
  try {
    ParseRaveTemplate(Utf8ToString(bytes), QStringLiteral("Fuzz.RAV"));
  } catch (const Exception&) {
  }
  return 0;
}
