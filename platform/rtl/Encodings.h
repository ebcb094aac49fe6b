#pragma once
// Text encodings: our own files are UTF-8; files from Windows-era peers are
// code page 936 (GBK). Bytes that cannot be decoded, or characters that cannot
// be encoded, raise EEncodingError.
#include "platform/rtl/SysUtils.h"
#include <QByteArray>
#include <cstdint>

bool IsValidUtf8(const QByteArray& Bytes);
String Utf8ToString(const QByteArray& Bytes);
QByteArray StringToUtf8(const String& S);
String GbkToString(const QByteArray& Bytes);
// The same for text from outside that may be broken: each byte that starts no character
// becomes U+FFFD and decoding goes on with the next byte, so the text around it survives.
String GbkToStringLenient(const QByteArray& Bytes);
QByteArray StringToGbk(const String& S);
String Utf16LEToString(const QByteArray& Bytes);

// The code page 936 form of one basic-plane character other than a surrogate: its byte
// count (1 or 2; 0 when the code page lacks the character) and bytes, lead byte first.
struct TGbkCode {
  uint8_t Count;
  char Bytes[2];
};
TGbkCode GbkCodeOf(char16_t Char);
QByteArray StringToUtf16LE(const String& S);

// Text read from a file we did not write: UTF-8 (a leading byte-order mark is
// dropped) when it is valid UTF-8, otherwise GBK.
String DecodeLegacyText(const QByteArray& Bytes);

// Columns the text takes in a fixed-pitch layout: its GBK byte length, so a CJK
// or full-width character counts 2; characters GBK lacks count 1.
Integer DisplayWidth(const String& S);
