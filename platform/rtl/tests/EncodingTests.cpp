#include "platform/rtl/Encodings.h"
#include <gtest/gtest.h>
#include <iconv.h>

namespace {

QString U(const char* Utf8) { return QString::fromUtf8(Utf8); }

TEST(Encoding, RoundTripsThroughEveryEncoding) {
  for (const char* text : {"", "Name=张三 ABC", "工资条打印", "€ ￥ ×"}) {
    const QString s = U(text);
    EXPECT_EQ(Utf8ToString(StringToUtf8(s)), s) << text;
    EXPECT_EQ(GbkToString(StringToGbk(s)), s) << text;
    EXPECT_EQ(Utf16LEToString(StringToUtf16LE(s)), s) << text;
  }
  EXPECT_EQ(StringToGbk(U("工资A")), QByteArray("\xB9\xA4\xD7\xCA" "A"));
  EXPECT_EQ(StringToUtf16LE(U("A工")), QByteArray("A\0\xE5\x5D", 4));
  const QString emoji = U("😀");
  EXPECT_EQ(Utf8ToString(StringToUtf8(emoji)), emoji);
  EXPECT_EQ(Utf16LEToString(StringToUtf16LE(emoji)), emoji);
}

// Each character of the basic plane is encoded as the system's converter encodes it alone.
TEST(Encoding, GbkCodesOfEveryCharacterAreTheConvertersCodes) {
  const iconv_t converter = iconv_open("CP936", "UTF-16LE");
  ASSERT_NE(converter, reinterpret_cast<iconv_t>(-1));
  for (char32_t code = 0; code < 0x10000; ++code) {
    if (code >= 0xD800 && code < 0xE000) continue;
    const char16_t unit = char16_t(code);
    char bytes[8];
    char* in = const_cast<char*>(reinterpret_cast<const char*>(&unit));
    char* out = bytes;
    size_t inLeft = 2, outLeft = sizeof bytes;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    const bool known = iconv(converter, &in, &inLeft, &out, &outLeft) != size_t(-1);
    const QString text = QString(QChar(unit));
    if (known) {
      ASSERT_EQ(StringToGbk(text), QByteArray(bytes, out - bytes)) << unsigned(code);
    } else {
      ASSERT_THROW(StringToGbk(text), EEncodingError) << unsigned(code);
      ASSERT_EQ(DisplayWidth(text + u'x'), 2) << unsigned(code);
    }
  }
  iconv_close(converter);
}

TEST(Encoding, InvalidInputRaisesAClearError) {
  struct Case { const char* name; std::function<void()> convert; const char* message; };
  for (const Case& c : std::initializer_list<Case>{
         {"utf8", [] { Utf8ToString("ok\xFF"); }, "The text is not valid UTF-8"},
         {"gbk bytes", [] { GbkToString("ab\xFF\xFF"); }, "The text is not valid GBK (byte 3)"},
         {"gbk cut", [] { GbkToString("a\x81"); }, "The text is not valid GBK (byte 2)"},
         {"gbk char", [] { StringToGbk(U("ab😀")); }, "The character \"😀\" at position 3 has no GBK code"},
         {"utf16", [] { Utf16LEToString(QByteArray("abc")); }, "UTF-16 text has an odd number of bytes"}}) {
    try {
      c.convert();
      ADD_FAILURE() << c.name << " was accepted";
    } catch (const EEncodingError& e) {
      EXPECT_EQ(e.Message(), U(c.message)) << c.name;
    }
  }
}

TEST(Encoding, LenientGbkMarksEachBrokenByteAndKeepsTheRest) {
  struct Case { QByteArray bytes; const char* text; };
  for (const Case& c : std::initializer_list<Case>{{"\xD6\xD0\xCE\xC4 abc \xFF", "中文 abc \uFFFD"},
                                                   {"\xFF\xFFok", "\uFFFD\uFFFDok"},
                                                   {"\xD6 a", "\uFFFD a"},
                                                   {"a\x81", "a\uFFFD"},
                                                   {"\xB9\xA4", "工"}})
    EXPECT_EQ(GbkToStringLenient(c.bytes), U(c.text)) << c.bytes.toHex().constData();
}

TEST(Encoding, ValidUtf8RejectsMalformedSequences) {
  struct Case { QByteArray bytes; bool valid; };
  for (const Case& c : std::initializer_list<Case>{
         {"", true}, {"plain", true}, {"\xE5\xB7\xA5", true}, {"\xF0\x9F\x98\x80", true},
         {"\xE5\xB7", false}, {"\xC0\xAF", false}, {"\xED\xA0\x80", false}, {"\xB9\xA4\xD7\xCA", false}})
    EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.bytes.toHex().constData();
}

TEST(Encoding, LegacyTextIsUtf8WithoutBomElseGbk) {
  EXPECT_EQ(DecodeLegacyText("\xEF\xBB\xBF\xE5\xB7\xA5"), U("工"));
  EXPECT_EQ(DecodeLegacyText("\xB9\xA4\xD7\xCA"), U("工资"));
  EXPECT_EQ(DecodeLegacyText("ascii"), "ascii");
}

TEST(Encoding, DisplayWidthCountsGbkBytes) {
  struct Case { const char* text; Integer width; };
  for (const Case& c : std::initializer_list<Case>{
         {"", 0}, {"abc", 3}, {"工资条", 6}, {"A工1", 4}, {"ＡＢ", 4}, {"😀x", 2}})
    EXPECT_EQ(DisplayWidth(U(c.text)), c.width) << c.text;
}

}  // namespace
