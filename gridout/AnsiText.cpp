#include "gridout/AnsiText.h"
#include "platform/rtl/Encodings.h"

namespace {

bool IsPlainAscii(const String& Text) {
  for (const QChar c : Text)
    if (c.unicode() >= 0x80) return false;
  return true;
}

// One basic-plane character other than a surrogate; '?' where the code page lacks it.
char* PutAnsiChar(char* Out, char16_t Char) {
  const TGbkCode code = GbkCodeOf(Char);
  if (code.Count == 0) {
    *Out++ = '?';
  } else {
    *Out++ = code.Bytes[0];
    if (code.Count == 2) *Out++ = code.Bytes[1];
  }
  return Out;
}

void AppendWhole(TByteBuffer& Out, size_t Start, const String& Text) {
  Out.Truncate(Start);
  const QByteArray bytes = ToAnsiText(Text);
  Out.Append(bytes.constData(), size_t(bytes.size()));
}

bool IsContinuation(unsigned char Byte) { return (Byte & 0xC0) == 0x80; }

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

void AppendAnsiText(TByteBuffer& Out, QStringView Text) {
  const size_t start = Out.Size();
  char* out = Out.Room(size_t(Text.size()) * 2);
  for (const QChar c : Text) {
    const char16_t u = c.unicode();
    if (u < 0x80) {
      *out++ = char(u);
    } else if (QChar::isSurrogate(u)) {
      return AppendWhole(Out, start, Text.toString());
    } else {
      out = PutAnsiChar(out, u);
    }
  }
  Out.Advance(out);
}

// A character takes at least as many bytes in UTF-8 as in the code page, so the UTF-8
// length is room enough. A leading byte-order mark is dropped, as the decoding to a
// string drops it.
void AppendAnsiUtf8(TByteBuffer& Out, std::string_view Utf8) {
  const size_t start = Out.Size();
  char* out = Out.Room(Utf8.size());
  const auto* in = reinterpret_cast<const unsigned char*>(Utf8.data());
  const auto* end = in + Utf8.size();
  if (Utf8.starts_with("\xEF\xBB\xBF")) in += 3;
  while (in < end) {
    const unsigned char lead = *in;
    if (lead < 0x80) {
      *out++ = char(lead);
      ++in;
      continue;
    }
    char16_t u = 0;
    if (lead >= 0xC2 && lead <= 0xDF && end - in >= 2 && IsContinuation(in[1])) {
      u = char16_t((lead & 0x1F) << 6 | (in[1] & 0x3F));
      in += 2;
    } else if (lead >= 0xE0 && lead <= 0xEF && end - in >= 3 && IsContinuation(in[1]) && IsContinuation(in[2])) {
      u = char16_t((lead & 0x0F) << 12 | (in[1] & 0x3F) << 6 | (in[2] & 0x3F));
      if (u < 0x800 || QChar::isSurrogate(u)) break;
      in += 3;
    } else {
      break;
    }
    out = PutAnsiChar(out, u);
  }
  if (in < end) return AppendWhole(Out, start, String::fromUtf8(Utf8.data(), qsizetype(Utf8.size())));
  Out.Advance(out);
}

String FromAnsiText(const QByteArray& Ansi) {
  try {
    return GbkToString(Ansi);
  } catch (const EEncodingError&) {
    return QString::fromLatin1(Ansi);
  }
}
