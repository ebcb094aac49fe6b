#include "skin/SkinText.h"
#include <QStringDecoder>

String SkinTextFromBytes(const QByteArray& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  String text = utf8.decode(bytes);
  if (!utf8.hasError()) return text;
  QStringDecoder gbk("GBK");
  if (gbk.isValid()) return gbk.decode(bytes);
  return String::fromLatin1(bytes);
}

String AsciiLowerCase(const String& text) {
  String result = text;
  for (QChar& c : result)
    if (c >= u'A' && c <= u'Z') c = QChar(c.unicode() + 32);
  return result;
}

String SkinTrim(const String& text) {
  qsizetype first = 0;
  qsizetype last = text.size();
  while (first < last && text[first].unicode() <= 0x20) ++first;
  while (last > first && text[last - 1].unicode() <= 0x20) --last;
  return text.mid(first, last - first);
}
