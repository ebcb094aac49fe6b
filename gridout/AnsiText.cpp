#include "gridout/AnsiText.h"
#include "platform/rtl/Encodings.h"

namespace {

bool IsPlainAscii(const String& Text) {
  for (const QChar c : Text)
    if (c.unicode() >= 0x80) return false;
  return true;
}

}  // namespace

bool EncodesToAnsi(const String& Text, QByteArray& Ansi) {
  if (IsPlainAscii(Text)) {
    Ansi = Text.toLatin1();
    return true;
  }
  try {
    Ansi = StringToGbk(Text);
    return true;
  } catch (const EEncodingError&) {
    return false;
  }
}

QByteArray ToAnsiText(const String& Text) {
  QByteArray whole;
  if (EncodesToAnsi(Text, whole)) return whole;
  QByteArray out;
  for (qsizetype i = 0; i < Text.size(); ++i) {
    const qsizetype n = Text[i].isHighSurrogate() && i + 1 < Text.size() ? 2 : 1;
    QByteArray one;
    out += EncodesToAnsi(Text.mid(i, n), one) ? one : QByteArray("?");
    i += n - 1;
  }
  return out;
}

void AppendAnsiText(QByteArray& Out, QStringView Text) {
  const qsizetype start = Out.size();
  Out.resize(start + Text.size());
  char* bytes = Out.data() + start;
  for (const QChar c : Text) {
    if (c.unicode() >= 0x80) {
      Out.truncate(start);
      Out += ToAnsiText(Text.toString());
      return;
    }
    *bytes++ = char(c.unicode());
  }
}

String FromAnsiText(const QByteArray& Ansi) {
  try {
    return GbkToString(Ansi);
  } catch (const EEncodingError&) {
    return QString::fromLatin1(Ansi);
  }
}

Integer AnsiCharLength(const QByteArray& Data, qsizetype Index) {
  const uchar lead = uchar(Data[Index]);
  return lead >= 0x81 && lead <= 0xFE && Index + 1 < Data.size() ? 2 : 1;
}
