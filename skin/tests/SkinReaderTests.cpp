// Skin packages: members by name, and refusal of packages that are damaged or too old.
#include "skin/SkinReader.h"
#include "skin/SkinPacker.h"
#include <QRandomGenerator>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

QByteArray Int32(int32_t v) {
  QByteArray b(4, '\0');
  qToLittleEndian(v, b.data());
  return b;
}

// A container laid out by hand, for the faults our packer never writes.
QByteArray Container(int32_t version, const QByteArray& names, const QList<int32_t>& sizes, const QByteArray& data,
                     int32_t listLength = -1) {
  QByteArray c = Int32(version) + Int32(listLength < 0 ? int32_t(names.size()) : listLength) + Int32(0) + Int32(0) + names;
  for (int32_t s : sizes) c += Int32(s);
  return c + data;
}

}  // namespace

TEST(SkinReader, FindsMembersByLowerCasedNameFirstOneWinning) {
  const QByteArray container = BuildSkinContainer({{"Skin.INI", "[Personality]"},
                                                   {"top.bmp", "first top"},
                                                   {"", "nameless"},
                                                   {"TOP.bmp", "second top"},
                                                   {"left.bmp", ""}});
  TSkinReader reader;
  reader.ReadPackage(PackSkinPackage(container));
  EXPECT_EQ(reader.Names(), (QStringList{"skin.ini", "top.bmp", "", "top.bmp", "left.bmp"}));
  EXPECT_EQ(reader.GetMember("Top.BMP"), "first top");
  EXPECT_EQ(reader.GetMember(""), "nameless");
  EXPECT_EQ(reader.GetMember("left.bmp"), "");
  EXPECT_EQ(reader.GetMember("missing.bmp"), "");
  String name = "unchanged";
  EXPECT_EQ(reader.GetMemberContaining(".ini", name), "[Personality]");
  EXPECT_EQ(name, "skin.ini");
  name = "unchanged";
  EXPECT_EQ(reader.GetMemberContaining(".INI", name), "");
  EXPECT_EQ(name, "unchanged");
}

TEST(SkinReader, SplitsTheNameListAtEveryKindOfLineBreak) {
  // CR, LF and CR LF end names; a final break adds none; a zero byte ends the list.
  const QByteArray names("a.ini\rb.bmp\n\r\nc.bmp\0ignored\r\n", 28);
  TSkinReader reader;
  reader.ReadPackage(PackSkinPackage(Container(20000, names, {1, 2, 3, 4}, "abbcccdddd")));
  EXPECT_EQ(reader.Names(), (QStringList{"a.ini", "b.bmp", "", "c.bmp"}));
  EXPECT_EQ(reader.GetMember("c.bmp"), "dddd");
}

TEST(SkinReader, RefusesDamagedAndOlderPackagesAndKeepsWhatItHeld) {
  QByteArray top(3000, '\0');
  QRandomGenerator random(3);
  for (char& c : top) c = char(random.bounded(256));
  const QByteArray good = PackSkinPackage(BuildSkinContainer({{"skin.ini", "[A]"}, {"top.bmp", top}}));
  QByteArray huge = good;
  qToLittleEndian<quint32>(0x7FFFFFFF, huge.data());
  QByteArray longer = good;
  qToLittleEndian<quint32>(qFromLittleEndian<quint32>(good.constData()) + 500, longer.data());
  QByteArray manyNames;
  for (int i = 0; i < 1002; ++i) manyNames += "m\r\n";

  struct Case {
    const char* name;
    QByteArray package;
    const char* message;
  };
  const Case cases[] = {
      {"shorter than its size field", "\1\0", "too short"},
      {"empty container", QByteArray(4, '\0'), "Older Skin File"},
      {"another version", PackSkinPackage(Container(19999, "a.ini\r\n", {1}, "x")), "Older Skin File"},
      {"cut in half", good.left(good.size() / 2), "ends before its data"},
      {"size beyond any stream", huge, "declares more data"},
      {"size beyond this stream", longer, "ends before its data"},
      {"header cut short", PackSkinPackage(Int32(20000) + Int32(0)), "header"},
      {"name list past the end", PackSkinPackage(Container(20000, "a.ini\r\n", {1}, "x", 5000)), "name list"},
      {"size table past the end", PackSkinPackage(Container(20000, "a\r\nb\r\nc\r\n", {}, "")), "size table"},
      {"members past the end", PackSkinPackage(Container(20000, "a\r\nb\r\n", {2, 3}, "abcd")), "members"},
      {"negative size", PackSkinPackage(Container(20000, "a\r\nb\r\n", {-1, 3}, "abcd")), "negative"},
      {"more than 1001 members", PackSkinPackage(Container(20000, manyNames, QList<int32_t>(1002, 0), "")), "1001"},
  };
  for (const Case& c : cases) {
    TSkinReader reader;
    reader.ReadPackage(good);
    try {
      reader.ReadPackage(c.package);
      ADD_FAILURE() << c.name << " was accepted";
    } catch (const ESkinError& e) {
      EXPECT_TRUE(e.Message().contains(c.message)) << c.name << ": " << e.what();
    }
    EXPECT_EQ(reader.GetMember("top.bmp"), top) << c.name;
  }
}

TEST(SkinReader, VersionMessageIsTheOneUsersKnow) {
  TSkinReader reader;
  try {
    reader.ReadPackage(QByteArray(4, '\0'));
    FAIL();
  } catch (const ESkinError& e) {
    EXPECT_EQ(e.Message(), "This is Older Skin File\rPlease update to new version !");
  }
}
