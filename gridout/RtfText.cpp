#include "gridout/RtfText.h"
#include "gridout/AnsiText.h"
#include "platform/ui/SystemColors.h"

QByteArray RtfEscapedText(const String& Text) {
  QByteArray out;
  out.reserve(Text.size());
  for (qsizetype i = 0; i < Text.size(); ++i) {
    const QChar c = Text[i];
    const ushort u = c.unicode();
    if (u == '\\' || u == '{' || u == '}') {
      out += '\\';
      out += char(u);
      continue;
    }
    if (u < 0x80) {
      out += char(u);
      continue;
    }
    const qsizetype n = c.isHighSurrogate() && i + 1 < Text.size() && Text[i + 1].isLowSurrogate() ? 2 : 1;
    QByteArray ansi;
    if (n == 1 && EncodesToAnsi(String(c), ansi)) {
      out += "{\\uc" + QByteArray::number(ansi.size()) + "\\u" + QByteArray::number(qint16(u));
      for (const char b : ansi) out += "\\'" + QByteArray::number(uchar(b), 16).rightJustified(2, '0');
      out += '}';
    } else {
      for (qsizetype k = 0; k < n; ++k) out += "{\\uc1\\u" + QByteArray::number(qint16(Text[i + k].unicode())) + "?}";
    }
    i += n - 1;
  }
  return out;
}

String RtfColorKey(TColor Color) {
  const TColor rgb = ColorToRGB(Color);
  return QString::asprintf("%3d%3d%3d", int(rgb & 0xFF), int((rgb >> 8) & 0xFF), int((rgb >> 16) & 0xFF));
}
