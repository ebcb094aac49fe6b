// String helpers: trimming, case, comparison, quoting and replacement.
#include "platform/rtl/SysUtils.h"
#include <QCollator>
#include <QLocale>

namespace {

bool IsBlank(QChar c) { return c <= u' '; }

QChar AsciiUpper(QChar c) { return c >= u'a' && c <= u'z' ? QChar(c.unicode() - 32) : c; }
QChar AsciiLower(QChar c) { return c >= u'A' && c <= u'Z' ? QChar(c.unicode() + 32) : c; }

const QLocale& PrcLocale() {
  static const QLocale locale(QLocale::Chinese, QLocale::China);
  return locale;
}

// Collators are not safe to share between threads; each thread keeps its own pair.
QCollator& Collator(Qt::CaseSensitivity sensitivity) {
  thread_local QCollator sensitive = [] { QCollator c(PrcLocale()); c.setCaseSensitivity(Qt::CaseSensitive); return c; }();
  thread_local QCollator insensitive = [] { QCollator c(PrcLocale()); c.setCaseSensitivity(Qt::CaseInsensitive); return c; }();
  return sensitivity == Qt::CaseSensitive ? sensitive : insensitive;
}

int Sign(int value) { return value < 0 ? -1 : value > 0 ? 1 : 0; }

}  // namespace

String Trim(const String& text) { return TrimLeft(TrimRight(text)); }

String TrimLeft(const String& text) {
  int start = 0;
  while (start < text.size() && IsBlank(text[start])) ++start;
  return text.mid(start);
}

String TrimRight(const String& text) {
  int end = int(text.size());
  while (end > 0 && IsBlank(text[end - 1])) --end;
  return text.left(end);
}

String UpperCase(const String& text) {
  String result = text;
  for (QChar& c : result) c = AsciiUpper(c);
  return result;
}

String LowerCase(const String& text) {
  String result = text;
  for (QChar& c : result) c = AsciiLower(c);
  return result;
}

String AnsiUpperCase(const String& text) { return PrcLocale().toUpper(text); }
String AnsiLowerCase(const String& text) { return PrcLocale().toLower(text); }

int CompareStr(const String& a, const String& b) { return Sign(a.compare(b, Qt::CaseSensitive)); }

int CompareText(const String& a, const String& b) { return Sign(UpperCase(a).compare(UpperCase(b), Qt::CaseSensitive)); }

int AnsiCompareStr(const String& a, const String& b) {
  const int order = Collator(Qt::CaseSensitive).compare(a, b);
  // Texts the collation finds equal but that differ still get a stable order.
  return order != 0 ? Sign(order) : CompareStr(a, b);
}

int AnsiCompareText(const String& a, const String& b) { return Sign(Collator(Qt::CaseInsensitive).compare(a, b)); }

bool SameText(const String& a, const String& b) { return CompareText(a, b) == 0; }
bool AnsiSameText(const String& a, const String& b) { return AnsiCompareText(a, b) == 0; }

String QuotedStr(const String& text) { return AnsiQuotedStr(text, u'\''); }

String AnsiQuotedStr(const String& text, QChar quote) {
  String doubled = text;
  doubled.replace(quote, String(2, quote));
  return quote + doubled + quote;
}

String AnsiDequotedStr(const String& text, QChar quote) {
  if (text.isEmpty() || text[0] != quote) return text;
  String result;
  int i = 1;
  for (; i < text.size(); ++i) {
    if (text[i] == quote) {
      if (i + 1 < text.size() && text[i + 1] == quote) {
        result += quote;
        ++i;
      } else {
        return result;
      }
    } else {
      result += text[i];
    }
  }
  return result;  // no closing quote: what followed the opening one
}

String StringReplace(const String& text, const String& oldPattern, const String& newPattern, TReplaceFlags flags) {
  if (oldPattern.isEmpty()) return text;
  const Qt::CaseSensitivity cs = flags.Contains(rfIgnoreCase) ? Qt::CaseInsensitive : Qt::CaseSensitive;
  if (flags.Contains(rfReplaceAll)) return String(text).replace(oldPattern, newPattern, cs);
  const qsizetype at = text.indexOf(oldPattern, 0, cs);
  if (at < 0) return text;
  return String(text).replace(at, oldPattern.size(), newPattern);
}

bool IsDelimiter(const String& delimiters, const String& text, int index) {
  return index >= 0 && index < text.size() && delimiters.contains(text[index]);
}

int LastDelimiter(const String& delimiters, const String& text) {
  for (int i = int(text.size()) - 1; i >= 0; --i)
    if (delimiters.contains(text[i])) return i;
  return -1;
}

String StringOfChar(QChar c, int count) { return count > 0 ? String(count, c) : String(); }

String AdjustLineBreaks(const String& text) {
  String result;
  result.reserve(text.size());
  for (int i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r') {
      if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      result += QStringLiteral("\r\n");
    } else if (text[i] == u'\n') {
      result += QStringLiteral("\r\n");
    } else {
      result += text[i];
    }
  }
  return result;
}

String LeftStr(const String& text, int count) { return count > 0 ? text.left(count) : String(); }
String RightStr(const String& text, int count) { return count > 0 ? text.right(count) : String(); }
