#include "grid/DateTimeElementsX.h"
#include "platform/rtl/SysUtils.h"

namespace {

const String kElementLetters = QStringLiteral("YMDHNS");
const String kMaskSpecials = QStringLiteral("!#09;<>ACLacl");

Integer ElementIndex(QChar Upper) { return Integer(kElementLetters.indexOf(Upper)); }
bool IsElementLetter(QChar Upper) { return ElementIndex(Upper) >= 0; }
bool IsSeparatorLetter(QChar C) { return C == u'/' || C == u':'; }
String Quoted(QChar Letter) { return QStringLiteral("\"%1\"").arg(Letter); }

Integer ParseElementNumber(const String& Text, Integer Pos, Integer Length) {
  String digits;
  for (Integer i = Pos - 1; i < Pos - 1 + Length; ++i) {
    if (i < 0 || i >= Text.size()) continue;
    const QChar c = Text[i];
    if (c == u' ') continue;
    if (c < u'0' || c > u'9') return -1;
    digits += c;
  }
  return digits.isEmpty() ? -1 : digits.toInt();
}

Integer CurrentYear() {
  Word y = 0, m = 0, d = 0;
  DecodeDate(Date(), y, m, d);
  return y;
}

void CompleteDate(DateTimeParts& P) {
  Word ty = 0, tm = 0, td = 0;
  DecodeDate(Date(), ty, tm, td);
  if (P[dteYearX] >= 0) P[dteYearX] = ExpandTwoDigitYear(P[dteYearX]);
  if (P[dteYearX] < 1) P[dteYearX] = ty;
  if (P[dteMonthX] < 1) P[dteMonthX] = tm;
  if (P[dteDayX] < 1) P[dteDayX] = td;
  P[dteMonthX] = std::min<Integer>(P[dteMonthX], 12);
  P[dteYearX] = std::min<Integer>(P[dteYearX], 9999);
  P[dteDayX] = std::min<Integer>(P[dteDayX], DaysInAMonth(Word(P[dteYearX]), Word(P[dteMonthX])));
}

void ClampTime(DateTimeParts& P) {
  for (int i = dteHourX; i <= dteSecondX; ++i) P[i] = std::max<Integer>(P[i], 0);
  P[dteHourX] = std::min<Integer>(P[dteHourX], 23);
  P[dteMinuteX] = std::min<Integer>(P[dteMinuteX], 59);
  P[dteSecondX] = std::min<Integer>(P[dteSecondX], 59);
}

bool PartsFormDateTime(const DateTimeParts& P) {
  const bool noDate = P[dteYearX] < 0 && P[dteMonthX] < 0 && P[dteDayX] < 0;
  if (!noDate) {
    if (P[dteYearX] < 1 || P[dteYearX] > 9999 || P[dteMonthX] < 1 || P[dteMonthX] > 12 || P[dteDayX] < 1 ||
        P[dteDayX] > DaysInAMonth(Word(P[dteYearX]), Word(P[dteMonthX])))
      return false;
  }
  const auto within = [](Integer v, Integer hi) { return v < 0 || v <= hi; };
  return within(P[dteHourX], 23) && within(P[dteMinuteX], 59) && within(P[dteSecondX], 59);
}

}  // namespace

TDateOrderX DateOrderOf(const String& Format) {
  for (const QChar c : Format.toUpper()) {
    if (c == u'M') return doMDYX;
    if (c == u'Y') return doYMDX;
    if (c == u'D') return doDMYX;
  }
  return doDMYX;
}

String DefaultDateEditFormat(bool FourDigitYear) {
  const String year = FourDigitYear ? QStringLiteral("YYYY") : QStringLiteral("YY");
  switch (DateOrderOf(ShortDateFormat)) {
    case doMDYX: return QStringLiteral("MM/DD/") + year;
    case doYMDX: return year + QStringLiteral("/MM/DD");
    default: return QStringLiteral("DD/MM/") + year;
  }
}

String BuildDateTimeMask(const String& EditFormat, DateTimeElementTable& Table) {
  Table = DateTimeElementTable{};
  String body;
  Integer textPos = 1;
  QChar runLetter;
  Integer runLength = 0, runStart = 0;
  bool escaped = false;
  const auto closeRun = [&] {
    if (runLength == 0) return;
    const bool validLength = runLength == 2 || (runLetter == u'Y' && runLength == 4);
    if (!validLength) throw Exception(QStringLiteral("Invalid datetime format element length: ") + Quoted(runLetter));
    TDateTimeElementPosX& entry = Table[size_t(ElementIndex(runLetter))];
    if (entry.Present) throw Exception(QStringLiteral("Duplicating datetime format element: ") + Quoted(runLetter));
    entry = {runStart, runLength, true};
    body += String(runLength, u'9');
    textPos += runLength;
    runLength = 0;
  };
  for (Integer i = 0; i < EditFormat.size(); ++i) {
    const QChar c = EditFormat[i];
    const QChar upper = c.toUpper();
    if (!escaped && IsElementLetter(upper)) {
      if (runLength > 0 && upper == runLetter) {
        ++runLength;
      } else {
        closeRun();
        runLetter = upper;
        runLength = 1;
        runStart = textPos;
      }
      if (runLength > (upper == u'Y' ? 4 : 2))
        throw Exception(QStringLiteral("Element in EditFormat: \"%1\" is too long. Pos: %2").arg(EditFormat).arg(i + 1));
      continue;
    }
    closeRun();
    if (!escaped && c == u'\\') {
      escaped = true;
      continue;
    }
    if (!kMaskSpecials.contains(c)) {
      body += c;
      ++textPos;
    } else if (escaped) {
      body += c;  // the format asked for the mask character itself
      if (!QStringLiteral("!;<>").contains(c)) ++textPos;
    } else {
      body += u'\\';
      body += c;
      ++textPos;
    }
    escaped = false;
  }
  closeRun();
  return QStringLiteral("!") + body + QStringLiteral(";1; ");
}

String EditFormatToDisplayFormat(const String& EditFormat) {
  String result, literal;
  const auto flush = [&] {
    if (literal.isEmpty()) return;
    result += u'\'' + String(literal).replace(u'\'', QStringLiteral("''")) + u'\'';
    literal.clear();
  };
  bool escaped = false;
  for (const QChar c : EditFormat) {
    if (!escaped && c == u'\\') {
      escaped = true;
      continue;
    }
    if (!escaped && (IsElementLetter(c.toUpper()) || IsSeparatorLetter(c))) {
      flush();
      result += c.toUpper();
    } else {
      literal += c;
    }
    escaped = false;
  }
  flush();
  return result;
}

String EditFormatToPattern(const String& EditFormat) {
  String result;
  bool escaped = false;
  for (const QChar c : EditFormat) {
    if (!escaped && c == u'\\') {
      escaped = true;
      continue;
    }
    result += !escaped && (IsElementLetter(c.toUpper()) || IsSeparatorLetter(c)) ? c.toUpper() : QChar(u' ');
    escaped = false;
  }
  return result;
}

Integer ExpandTwoDigitYear(Integer Year) {
  if (Year >= 100) return Year;
  const Integer windowStart = CurrentYear() - 60;
  Integer result = Year + 100 * (windowStart / 100);
  if (result < windowStart) result += 100;
  return result;
}

bool TextToParts(const String& Text, const DateTimeElementTable& Table, DateTimeParts& Parts) {
  bool ok = true;
  for (size_t i = 0; i < Table.size(); ++i) {
    Parts[i] = Table[i].Present ? ParseElementNumber(Text, Table[i].Pos, Table[i].Length) : -1;
    if (Table[i].Present && Parts[i] < 0) ok = false;
  }
  if (Parts[dteYearX] >= 0) Parts[dteYearX] = ExpandTwoDigitYear(Parts[dteYearX]);
  return ok;
}

DateTimeParts ValueToParts(const Variant& Value) {
  DateTimeParts parts;
  parts.fill(-1);
  if (Value.IsNull() || Value.IsEmpty()) return parts;
  Word y = 0, m = 0, d = 0, h = 0, n = 0, s = 0, ms = 0;
  DecodeDate(Value.AsDateTime(), y, m, d);
  DecodeTime(Value.AsDateTime(), h, n, s, ms);
  return {y, m, d, h, n, s};
}

bool PartsToValue(DateTimeParts Parts, const DateTimeElementTable& Table, bool Complete, Variant& Value) {
  if (std::all_of(Parts.begin(), Parts.end(), [](Integer p) { return p == -1; })) {
    Value = Variant::Null();
    return true;
  }
  if (Complete) {
    CompleteDate(Parts);
    ClampTime(Parts);
  } else {
    for (int i = dteYearX; i <= dteSecondX; ++i)
      if (!Table[size_t(i)].Present && Parts[size_t(i)] < 0) Parts[size_t(i)] = i <= dteDayX ? 1 : 0;
  }
  if (!PartsFormDateTime(Parts)) {
    Value = Variant::Null();
    return false;
  }
  Word base[7] = {1900, 1, 1, 0, 0, 0, 0};
  if (!Value.IsNull() && !Value.IsEmpty()) {
    DecodeDate(Value.AsDateTime(), base[0], base[1], base[2]);
    DecodeTime(Value.AsDateTime(), base[3], base[4], base[5], base[6]);
  }
  for (int i = dteYearX; i <= dteSecondX; ++i) {
    const Integer part = Parts[size_t(i)];
    if (Table[size_t(i)].Present && (i <= dteDayX ? part > 0 : part >= 0)) base[i] = Word(part);
  }
  Value = Variant::FromDate(EncodeDateTime(base[0], base[1], base[2], base[3], base[4], base[5], base[6]));
  return true;
}

bool StepElementText(String& Text, const String& Pattern, Integer Pos, bool Up, Integer& SelStart,
                     Integer& SelLength) {
  if (Pattern.isEmpty()) return false;
  Integer p = std::min<Integer>(Pos, Integer(Pattern.size()));
  if (IsSeparatorLetter(Pattern[p - 1])) ++p;
  if (p > Pattern.size()) return false;
  const QChar letter = Pattern[p - 1];
  if (!IsElementLetter(letter)) return false;
  const Integer start = Integer(Pattern.indexOf(letter));
  Integer length = 0;
  while (start + length < Pattern.size() && Pattern[start + length] == letter) ++length;
  Integer value = StrToIntDef(Text.mid(start, length).trimmed(), 0);
  Integer low = 0, high = 59;
  switch (ElementIndex(letter)) {
    case dteYearX: low = 1, high = 9999; break;
    case dteMonthX: low = 1, high = 12; break;
    case dteDayX: low = 1, high = 31; break;
    case dteHourX: high = 23; break;
    default: break;
  }
  value += Up ? 1 : -1;
  if (value > high) value = low;
  if (value < low) value = high;
  const String digits = QStringLiteral("%1").arg(value, int(length), 10, QChar(u'0')).right(length);
  Text = Text.leftJustified(start + length, u' ');
  Text.replace(start, length, digits);
  SelStart = start;
  SelLength = length;
  return true;
}

bool ElementAt(const String& Pattern, Integer Pos, Integer& Start, Integer& Length) {
  Integer p = Pos;
  if (p >= 1 && p <= Pattern.size() && IsSeparatorLetter(Pattern[p - 1])) ++p;
  if (p < 1 || p > Pattern.size() || !IsElementLetter(Pattern[p - 1])) return false;
  const QChar letter = Pattern[p - 1];
  Start = Integer(Pattern.indexOf(letter));
  Length = 0;
  while (Start + Length < Pattern.size() && Pattern[Start + Length] == letter) ++Length;
  return true;
}
