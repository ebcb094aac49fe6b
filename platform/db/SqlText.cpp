#include "platform/db/SqlText.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Exception.h"
#include <cmath>
#include <cstdio>

namespace {

constexpr Int64 kDaysTo1899_12_30 = -25569;  // 1899-12-30 counted from 1970-01-01
// 0001-01-01 and the day after 9999-12-31, counted from 1899-12-30.
constexpr double kFirstDay = -693593, kEndDay = 2958466;

// Days from 1970-01-01 of a proleptic Gregorian date.
Int64 DaysFromCivil(Int64 y, unsigned m, unsigned d) {
  y -= m <= 2;
  const Int64 era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = unsigned(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + Int64(doe) - 719468;
}

void CivilFromDays(Int64 z, Int64& y, unsigned& m, unsigned& d) {
  z += 719468;
  const Int64 era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = unsigned(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  y = Int64(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y += m <= 2;
}

bool Digits(std::string_view s, size_t pos, size_t count, unsigned& out) {
  if (pos + count > s.size()) return false;
  out = 0;
  for (size_t i = 0; i < count; ++i) {
    const char c = s[pos + i];
    if (c < '0' || c > '9') return false;
    out = out * 10 + unsigned(c - '0');
  }
  return true;
}

// "HH:mm[:ss[.zzz]]" at pos; the fraction of a day.
bool ReadTime(std::string_view s, size_t pos, double& fraction) {
  unsigned h = 0, mi = 0, sec = 0, ms = 0;
  if (!Digits(s, pos, 2, h) || pos + 2 >= s.size() || s[pos + 2] != ':' || !Digits(s, pos + 3, 2, mi)) return false;
  pos += 5;
  if (pos < s.size()) {
    if (s[pos] != ':' || !Digits(s, pos + 1, 2, sec)) return false;
    pos += 3;
    if (pos < s.size()) {
      if (s[pos] != '.') return false;
      ++pos;
      unsigned scale = 100;
      const size_t start = pos;
      while (pos < s.size() && s[pos] >= '0' && s[pos] <= '9') {
        ms += unsigned(s[pos] - '0') * scale;
        scale /= 10;
        ++pos;
      }
      if (pos == start || pos != s.size()) return false;
    }
  }
  if (h > 23 || mi > 59 || sec > 59) return false;
  fraction = (h * 3600000.0 + mi * 60000.0 + sec * 1000.0 + ms) / 86400000.0;
  return true;
}

[[noreturn]] void RaiseOutOfRange(TDateTime Value) {
  throw EConvertError(QStringLiteral("The date-time %1 is outside 0001-01-01 to 9999-12-31").arg(Value));
}

}  // namespace

QByteArray SqlDateTimeText(TDateTime Value, TSqlDateTimePart Part) {
  double days = std::floor(Value);
  if (!(days >= kFirstDay && days < kEndDay)) RaiseOutOfRange(Value);
  Int64 ms = std::llround((Value - days) * 86400000.0);
  if (ms >= 86400000) {
    days += 1;
    ms -= 86400000;
    if (days >= kEndDay) RaiseOutOfRange(Value);
  }
  Int64 y = 0;
  unsigned m = 0, d = 0;
  CivilFromDays(Int64(days) + kDaysTo1899_12_30, y, m, d);
  char buf[64];
  int len = 0;
  const unsigned h = unsigned(ms / 3600000), mi = unsigned(ms / 60000 % 60), s = unsigned(ms / 1000 % 60),
                 z = unsigned(ms % 1000);
  if (Part != TSqlDateTimePart::Time) len = std::snprintf(buf, sizeof buf, "%04lld-%02u-%02u", (long long)y, m, d);
  if (Part == TSqlDateTimePart::DateTime) buf[len++] = ' ';
  if (Part != TSqlDateTimePart::Date) {
    len += std::snprintf(buf + len, sizeof buf - size_t(len), "%02u:%02u:%02u", h, mi, s);
    if (z) len += std::snprintf(buf + len, sizeof buf - size_t(len), ".%03u", z);
  }
  return QByteArray(buf, len);
}

bool TryReadSqlDateTime(std::string_view Text, TDateTime& Value) {
  while (!Text.empty() && Text.front() == ' ') Text.remove_prefix(1);
  while (!Text.empty() && Text.back() == ' ') Text.remove_suffix(1);
  unsigned y = 0, m = 0, d = 0;
  if (Text.size() >= 10 && Text[4] == '-' && Text[7] == '-' && Digits(Text, 0, 4, y) && Digits(Text, 5, 2, m) &&
      Digits(Text, 8, 2, d)) {
    if (m < 1 || m > 12 || d < 1 || d > 31) return false;
    double fraction = 0;
    if (Text.size() > 10 && ((Text[10] != ' ' && Text[10] != 'T') || !ReadTime(Text, 11, fraction))) return false;
    const Int64 days = DaysFromCivil(y, m, d);
    Int64 cy = 0;
    unsigned cm = 0, cd = 0;
    CivilFromDays(days, cy, cm, cd);
    if (cm != m || cd != d) return false;  // 2023-02-30 and the like
    Value = double(days - kDaysTo1899_12_30) + fraction;
    return true;
  }
  double fraction = 0;
  if (!ReadTime(Text, 0, fraction)) return false;
  Value = fraction;
  return true;
}

bool TryReadSqlDateTime(const String& Text, TDateTime& Value) {
  const QByteArray utf8 = Text.toUtf8();
  return TryReadSqlDateTime(std::string_view(utf8.constData(), size_t(utf8.size())), Value);
}

bool TryReadSqlNumber(const String& Text, double& Value) {
  bool ok = false;
  const double v = Text.trimmed().toDouble(&ok);
  if (ok) Value = v;
  return ok;
}

bool ReadQuotedText(const String& Text, qsizetype& Pos, QChar Quote, String& Value) {
  Value.clear();
  for (++Pos; Pos < Text.size(); ++Pos) {
    if (Text[Pos] != Quote) {
      Value += Text[Pos];
    } else if (Pos + 1 < Text.size() && Text[Pos + 1] == Quote) {
      Value += Quote;
      ++Pos;
    } else {
      ++Pos;
      return true;
    }
  }
  return false;
}

String SqlLikeContains(const String& Text) {
  String Escaped;
  Escaped.reserve(Text.size() + 8);
  for (const QChar Ch : Text) {
    if (Ch == u'\\' || Ch == u'%' || Ch == u'_') Escaped += u'\\';
    Escaped += Ch;
  }
  return QuotedStr(u'%' + Escaped + u'%') + QStringLiteral(" escape '\\'");
}
