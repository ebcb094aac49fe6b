#include "platform/rtl/SysUtils.h"
#include <gtest/gtest.h>

namespace {

TEST(Strings, TrimmingRemovesBlanksAndControlCharactersOnly) {
  const String text = QStringLiteral("\t\r\n 工资 \x01 \u3000");
  EXPECT_EQ(Trim(text), QStringLiteral("工资 \x01 \u3000"));  // the ideographic space is text
  EXPECT_EQ(TrimLeft(QStringLiteral("  a  ")), "a  ");
  EXPECT_EQ(TrimRight(QStringLiteral("  a \n")), "  a");
  EXPECT_EQ(Trim(QStringLiteral(" \t ")), "");
}

TEST(Strings, CaseAndComparison) {
  EXPECT_EQ(UpperCase(QStringLiteral("gz1 ä 工")), QStringLiteral("GZ1 ä 工"));
  EXPECT_EQ(AnsiUpperCase(QStringLiteral("gz1 ä")), QStringLiteral("GZ1 Ä"));
  EXPECT_EQ(LowerCase(QStringLiteral("KK15 Ä")), QStringLiteral("kk15 Ä"));
  EXPECT_EQ(AnsiLowerCase(QStringLiteral("Ä")), QStringLiteral("ä"));
  EXPECT_EQ(CompareText("GZ1", "gz1"), 0);
  EXPECT_LT(CompareText("a", "B"), 0);
  EXPECT_GT(CompareStr("a", "B"), 0);
  EXPECT_TRUE(SameText("Base", "BASE"));
  EXPECT_FALSE(SameText("ä", "Ä"));
  EXPECT_TRUE(AnsiSameText("ä", "Ä"));
  EXPECT_LT(AnsiCompareText("李四", "张三"), 0);  // pinyin order: li before zhang
  EXPECT_LT(AnsiCompareStr("a", "B"), 0);
  EXPECT_NE(AnsiCompareStr("a", "A"), 0);
  EXPECT_EQ(AnsiCompareText("a", "A"), 0);
}

TEST(Strings, QuotingDoublesTheQuoteAndReadsItBack) {
  struct Case { const char* plain; const char* quoted; };
  for (const Case& c : std::initializer_list<Case>{{"O'Neil", "'O''Neil'"}, {"", "''"}, {"''", "''''''"}, {"工资", "'工资'"}}) {
    EXPECT_EQ(QuotedStr(QString::fromUtf8(c.plain)), QString::fromUtf8(c.quoted));
    EXPECT_EQ(AnsiDequotedStr(QString::fromUtf8(c.quoted), u'\''), QString::fromUtf8(c.plain));
  }
  EXPECT_EQ(AnsiQuotedStr("say \"hi\"", u'"'), "\"say \"\"hi\"\"\"");
  EXPECT_EQ(AnsiDequotedStr("plain", u'\''), "plain");
  EXPECT_EQ(AnsiDequotedStr("'open", u'\''), "open");
  EXPECT_EQ(AnsiDequotedStr("'a'b", u'\''), "a");
}

TEST(Strings, ReplaceAndDelimiters) {
  EXPECT_EQ(StringReplace("a-b-c", "-", "+", {}), "a+b-c");
  EXPECT_EQ(StringReplace("a-b-c", "-", "+", {rfReplaceAll}), "a+b+c");
  EXPECT_EQ(StringReplace("GZ1 gz1", "gz1", "x", {rfReplaceAll, rfIgnoreCase}), "x x");
  EXPECT_EQ(StringReplace("GZ1 gz1", "gz1", "x", {rfReplaceAll}), "GZ1 x");
  EXPECT_EQ(StringReplace("abc", "", "x", {rfReplaceAll}), "abc");
  EXPECT_EQ(LastDelimiter("\\/.", "db\\sub/VIRE.dat"), 11);
  EXPECT_EQ(LastDelimiter(".", "none"), -1);
  EXPECT_TRUE(IsDelimiter(",;", "a;b", 1));
  EXPECT_FALSE(IsDelimiter(",;", "a;b", 3));
  EXPECT_EQ(StringOfChar(u'-', 3), "---");
  EXPECT_EQ(StringOfChar(u'-', -1), "");
  EXPECT_EQ(AdjustLineBreaks("a\nb\r\nc\rd"), "a\r\nb\r\nc\r\nd");
  EXPECT_EQ(LeftStr("工资条", 2), QStringLiteral("工资"));
  EXPECT_EQ(RightStr("工资条", 5), QStringLiteral("工资条"));
}

}  // namespace
