#include "skin/SkinIni.h"
#include "skin/SkinText.h"
#include <limits>

namespace {

bool IsSectionHeader(const String& line) { return line.startsWith(u'[') && line.endsWith(u']'); }

String KeyNameOf(const String& line) {
  const qsizetype eq = line.indexOf(u'=');
  return eq < 0 ? String() : AsciiLowerCase(SkinTrim(line.left(eq)));
}

// Optional sign, then decimal digits or "$" and hexadecimal digits (up to 32 bits).
bool TryParseSkinInteger(const String& text, Integer& value) {
  qsizetype i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  const bool hex = i < text.size() && text[i] == u'$';
  if (hex) ++i;
  if (i == text.size()) return false;
  const uint64_t limit = hex ? 0xFFFFFFFFull : uint64_t(std::numeric_limits<Integer>::max()) + (negative ? 1 : 0);
  uint64_t result = 0;
  for (; i < text.size(); ++i) {
    const char16_t ch = text[i].unicode();
    int digit = -1;
    if (ch >= u'0' && ch <= u'9')
      digit = ch - u'0';
    else if (hex && ch >= u'a' && ch <= u'f')
      digit = ch - u'a' + 10;
    else if (hex && ch >= u'A' && ch <= u'F')
      digit = ch - u'A' + 10;
    if (digit < 0) return false;
    result = result * (hex ? 16 : 10) + uint64_t(digit);
    if (result > limit) return false;
  }
  const Int64 signedResult = hex ? Int64(int32_t(uint32_t(result))) : Int64(result);
  value = Integer(negative ? -signedResult : signedResult);
  return true;
}

}  // namespace

void TQuickIni::Load(const QByteArray& text) {
  FLines.clear();
  FSections.clear();
  const qsizetype zero = text.indexOf('\0');
  const String all = SkinTextFromBytes(zero < 0 ? text : text.left(zero));
  qsizetype start = 0;
  auto keep = [&](qsizetype end) {
    const String line = SkinTrim(all.mid(start, end - start));
    if (line.isEmpty() || line.startsWith(u';')) return;
    if (IsSectionHeader(line)) FSections.push_back({line, int(FLines.size())});
    FLines << line;
  };
  for (qsizetype i = 0; i < all.size(); ++i) {
    if (all[i] != u'\r' && all[i] != u'\n') continue;
    keep(i);
    if (all[i] == u'\r' && i + 1 < all.size() && all[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  keep(all.size());
}

int TQuickIni::FindSection(const String& section) const {
  const String header = u'[' + section + u']';
  for (const TSection& s : FSections)
    if (s.Header.compare(header, Qt::CaseInsensitive) == 0) return s.LineIndex;
  return -1;
}

String TQuickIni::ReadString(const String& section, const String& key, const String& defaultValue) const {
  const String wanted = AsciiLowerCase(key);
  const int at = FindSection(section);
  if (FLines.isEmpty() || at < 0 || wanted.isEmpty()) return defaultValue;
  for (qsizetype i = at + 1; i < FLines.size() && !IsSectionHeader(FLines[i]); ++i) {
    if (KeyNameOf(FLines[i]) != wanted) continue;
    const String value = SkinTrim(FLines[i].mid(FLines[i].indexOf(u'=') + 1));
    return value.isEmpty() ? defaultValue : value;
  }
  return defaultValue;
}

Integer TQuickIni::ReadInteger(const String& section, const String& key, Integer defaultValue) const {
  String text = ReadString(section, key, String());
  if (text.size() > 2 && (text.startsWith(u"0x") || text.startsWith(u"0X"))) text = u'$' + text.mid(2);
  Integer value = 0;
  return TryParseSkinInteger(text, value) ? value : defaultValue;
}

QStringList TQuickIni::ReadSections() const {
  QStringList names;
  for (const TSection& s : FSections) names << SkinTrim(s.Header.mid(1, s.Header.size() - 2));
  return names;
}
