#include "platform/rtl/Encodings.h"
#include <QStringDecoder>
#include <QStringEncoder>
#include <atomic>
#include <cstdint>
#include <cerrno>
#include <iconv.h>

namespace {

// Code page 936 is converted through glibc's iconv: Qt's own converters cover only the Unicode forms.
constexpr const char* Cp936 = "CP936";

class TIconv {
public:
  TIconv(const char* To, const char* From) : FHandle(iconv_open(To, From)) {
    if (FHandle == reinterpret_cast<iconv_t>(-1))
      throw EEncodingError(QStringLiteral("The conversion from %1 to %2 is not available")
                               .arg(QLatin1String(From), QLatin1String(To)));
  }
  ~TIconv() { iconv_close(FHandle); }
  TIconv(const TIconv&) = delete;
  TIconv& operator=(const TIconv&) = delete;

  // Converts all of Input. On a byte or character that cannot be converted, returns
  // false with Offset at it, having converted what came before.
  bool Convert(const QByteArray& Input, QByteArray& Output, qsizetype& Offset) {
    iconv(FHandle, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(Input.constData()) + Offset;
    size_t inLeft = size_t(Input.size() - Offset);
    while (inLeft > 0) {
      char buffer[4096];
      char* out = buffer;
      size_t outLeft = sizeof buffer;
      const size_t rc = iconv(FHandle, &in, &inLeft, &out, &outLeft);
      Output.append(buffer, qsizetype(sizeof buffer - outLeft));
      Offset = in - Input.constData();
      if (rc == size_t(-1) && errno != E2BIG) return false;
    }
    return true;
  }
private:
  iconv_t FHandle;
};

[[noreturn]] void RaiseNoGbkCode(const String& S, qsizetype Index) {
  throw EEncodingError(QStringLiteral("The character \"%1\" at position %2 has no GBK code")
                           .arg(S.mid(Index, S[Index].isHighSurrogate() ? 2 : 1))
                           .arg(Index + 1));
}

// Text with surrogates, whose pairs and strays iconv judges as a whole.
QByteArray EncodeGbkThroughIconv(const String& S, bool Strict) {
  thread_local TIconv conv(Cp936, "UTF-16LE");
  const QByteArray input = StringToUtf16LE(S);
  QByteArray output;
  qsizetype offset = 0;
  while (!conv.Convert(input, output, offset)) {
    const qsizetype index = offset / 2;
    if (Strict) RaiseNoGbkCode(S, index);
    output.append('?');
    offset += S[index].isHighSurrogate() && index + 1 < S.size() ? 4 : 2;
  }
  return output;
}

// The code of each character of the basic plane, asked of iconv the first time the
// character is met: the code page has no shift states, so a character's bytes never
// depend on its neighbours. An entry holds the byte count above the bytes; 0 marks a
// character not asked yet.
class TGbkCodes {
public:
  static constexpr uint32_t NoCode = 0xFFFFFFFFu;
  uint32_t CodeOf(char16_t Char) {
    std::atomic<uint32_t>& entry = FCodes[Char];
    uint32_t code = entry.load(std::memory_order_relaxed);
    if (code == 0) {
      code = Ask(Char);
      entry.store(code, std::memory_order_relaxed);
    }
    return code;
  }
private:
  static uint32_t Ask(char16_t Char) {
    thread_local TIconv conv(Cp936, "UTF-16LE");
    const QByteArray input(reinterpret_cast<const char*>(&Char), 2);
    QByteArray output;
    qsizetype offset = 0;
    if (!conv.Convert(input, output, offset) || output.isEmpty() || output.size() > 2) return NoCode;
    uint32_t code = uint32_t(output.size()) << 16;
    for (const char byte : output) code = (code & 0xFFFF0000u) | ((code & 0xFFu) << 8) | uchar(byte);
    return code;
  }
  std::atomic<uint32_t> FCodes[0x10000] = {};
};

TGbkCodes& GbkCodes() {
  static TGbkCodes codes;
  return codes;
}

QByteArray EncodeGbk(const String& S, bool Strict) {
  TGbkCodes& codes = GbkCodes();
  QByteArray output;
  output.reserve(S.size() * 2);
  for (qsizetype i = 0; i < S.size(); ++i) {
    const char16_t c = S[i].unicode();
    if (c < 0x80) {
      output.append(char(c));
      continue;
    }
    if (QChar::isSurrogate(c)) return EncodeGbkThroughIconv(S, Strict);
    const uint32_t code = codes.CodeOf(c);
    if (code == TGbkCodes::NoCode) {
      if (Strict) RaiseNoGbkCode(S, i);
      output.append('?');
    } else if (code >> 16 == 2) {
      output.append(char(code >> 8 & 0xFF));
      output.append(char(code & 0xFF));
    } else {
      output.append(char(code & 0xFF));
    }
  }
  return output;
}

String Decode(QStringDecoder::Encoding Encoding, const QByteArray& Bytes, const String& Failure) {
  QStringDecoder decoder(Encoding, QStringDecoder::Flag::Stateless);
  String decoded = decoder.decode(Bytes);
  if (decoder.hasError()) throw EEncodingError(Failure);
  return decoded;
}

}  // namespace

bool IsValidUtf8(const QByteArray& Bytes) {
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const String decoded = decoder.decode(Bytes);
  return !decoder.hasError();
}

String Utf8ToString(const QByteArray& Bytes) {
  return Decode(QStringDecoder::Utf8, Bytes, QStringLiteral("The text is not valid UTF-8"));
}

QByteArray StringToUtf8(const String& S) {
  QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
  QByteArray encoded = encoder.encode(S);
  if (encoder.hasError()) throw EEncodingError(QStringLiteral("The text holds an unpaired surrogate"));
  return encoded;
}

String GbkToString(const QByteArray& Bytes) {
  thread_local TIconv conv("UTF-16LE", Cp936);
  QByteArray output;
  qsizetype offset = 0;
  if (!conv.Convert(Bytes, output, offset))
    throw EEncodingError(QStringLiteral("The text is not valid GBK (byte %1)").arg(offset + 1));
  return Utf16LEToString(output);
}

String GbkToStringLenient(const QByteArray& Bytes) {
  thread_local TIconv conv("UTF-16LE", Cp936);
  QByteArray output;
  qsizetype offset = 0;
  while (!conv.Convert(Bytes, output, offset)) {
    output.append("\xFD\xFF", 2);
    ++offset;
  }
  return Utf16LEToString(output);
}

QByteArray StringToGbk(const String& S) { return EncodeGbk(S, true); }

TGbkCode GbkCodeOf(char16_t Char) {
  const uint32_t code = GbkCodes().CodeOf(Char);
  if (code == TGbkCodes::NoCode) return {0, {0, 0}};
  if (code >> 16 == 2) return {2, {char(code >> 8 & 0xFF), char(code & 0xFF)}};
  return {1, {char(code & 0xFF), 0}};
}

String Utf16LEToString(const QByteArray& Bytes) {
  if (Bytes.size() % 2 != 0) throw EEncodingError(QStringLiteral("UTF-16 text has an odd number of bytes"));
  return Decode(QStringDecoder::Utf16LE, Bytes, QStringLiteral("The text is not valid UTF-16"));
}

QByteArray StringToUtf16LE(const String& S) {
  QStringEncoder encoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::Stateless);
  return encoder.encode(S);
}

String DecodeLegacyText(const QByteArray& Bytes) {
  static const QByteArray Bom("\xEF\xBB\xBF");
  if (IsValidUtf8(Bytes)) return String::fromUtf8(Bytes.startsWith(Bom) ? Bytes.mid(3) : Bytes);
  return GbkToString(Bytes);
}

Integer DisplayWidth(const String& S) { return Integer(EncodeGbk(S, false).size()); }
