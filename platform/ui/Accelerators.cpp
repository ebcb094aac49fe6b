#include "platform/ui/Accelerators.h"

QChar GetHotkey(const String& Caption) {
  for (qsizetype i = 0; i + 1 < Caption.size(); ++i) {
    if (Caption[i] != u'&') continue;
    if (Caption[i + 1] != u'&') return Caption[i + 1];
    ++i;
  }
  return {};
}

String StripHotkey(const String& Caption) {
  String result;
  result.reserve(Caption.size());
  for (qsizetype i = 0; i < Caption.size(); ++i) {
    if (Caption[i] == u'&' && i + 1 < Caption.size()) ++i;
    result += Caption[i];
  }
  return result;
}

bool IsAccel(Word CharCode, const String& Caption) {
  const QChar hotkey = GetHotkey(Caption);
  return !hotkey.isNull() && hotkey.toUpper() == QChar(char16_t(CharCode)).toUpper();
}
