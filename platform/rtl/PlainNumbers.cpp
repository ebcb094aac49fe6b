#include "platform/rtl/PlainNumbers.h"
#include <charconv>
#include <clocale>
#include <cstdlib>

namespace {

locale_t CLocale() {
  static const locale_t Locale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
  return Locale;
}

}  // namespace

Extended PlainTextToExtended(const char* text) { return strtold_l(text, nullptr, CLocale()); }

char* PlainScientificDigits(Extended magnitude, int significant, char* buffer, char* bufferEnd) {
  return std::to_chars(buffer, bufferEnd, magnitude, std::chars_format::scientific, significant - 1).ptr;
}
