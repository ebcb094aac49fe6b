// The skin's own ini dialect.
#include "skin/SkinIni.h"
#include <gtest/gtest.h>

namespace {

TQuickIni IniOf(const QByteArray& text) {
  TQuickIni ini;
  ini.Load(text);
  return ini;
}

}  // namespace

TEST(SkinIni, ReadsKeysAndNumbersByTheDialectsRules) {
  static const char text[] =
      "Orphan=before any section\r\n"
      "[Buttons]\r\n"
      "  ButtonFace = 240 240 240  \r\n"
      " Trans = 1 \n"
      "Empty=\r"
      "Empty=later lines of a key are never read\r\n"
      "Tile=1\n\rTile=0\n"
      "; Trans=9 is a comment\n"
      "Note=a;b\n"
      "no equals sign here\n"
      "Hex1=0x1F\nHex2=0X1F\nHex3=$1F\nBare=1F\nNeg=-12\nHexNeg=-$10\nHuge=99999999999\nAllBits=0xFFFFFFFF\n"
      "[ Spaced ]\nKey=x\n"
      "[colours]\nMenu=1 2 3\n"
      "[Colours]\nMenu=second section of the name\n"
      "[Tail]\nKey=visible\0[Hidden]\nKey=after the zero byte\n";
  const TQuickIni ini = IniOf(QByteArray(text, sizeof text - 1));
  struct Case {
    const char* section;
    const char* key;
    const char* expected;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"Buttons", "ButtonFace", "240 240 240"},
           {"Buttons", "buttonface", "240 240 240"},
           {"BUTTONS", "BUTTONFACE", "240 240 240"},
           {"Buttons", "Trans", "1"},
           {"Buttons", "Empty", "default"},
           {"Buttons", "Tile", "1"},
           {"Buttons", "Note", "a;b"},
           {"Buttons", "no equals sign here", "default"},
           {"Buttons", "", "default"},
           {"Buttons", "Missing", "default"},
           {"Spaced", "Key", "default"},
           {" Spaced ", "Key", "x"},
           {"Colours", "Menu", "1 2 3"},
           {"Tail", "Key", "visible"},
           {"Hidden", "Key", "default"},
           {"Nowhere", "Key", "default"},
       })
    EXPECT_EQ(ini.ReadString(c.section, c.key, "default"), QString::fromUtf8(c.expected)) << c.section << "/" << c.key;

  struct IntCase {
    const char* key;
    Integer expected;
  };
  for (const IntCase& c : std::initializer_list<IntCase>{{"Hex1", 31}, {"Hex2", 31}, {"Hex3", 31}, {"Bare", -7},
                                                         {"Neg", -12}, {"HexNeg", -16}, {"Huge", -7}, {"AllBits", -1},
                                                         {"Trans", 1}, {"Empty", -7}, {"Note", -7}})
    EXPECT_EQ(ini.ReadInteger("Buttons", c.key, -7), c.expected) << c.key;

  EXPECT_EQ(ini.ReadSections(), (QStringList{"Buttons", "Spaced", "colours", "Colours", "Tail"}));
}

TEST(SkinIni, LoadReplacesWhatWasLoadedAndKeepsNothingOfEmptyText) {
  TQuickIni ini = IniOf("[A]\nK=1\n");
  ini.Load("");
  EXPECT_EQ(ini.ReadString("A", "K", "none"), "none");
  EXPECT_TRUE(ini.ReadSections().isEmpty());
}
