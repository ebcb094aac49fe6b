#include "platform/rtl/IniFiles.h"
#include "platform/testing/TestPaths.h"
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

void WriteBytes(const QString& Path, const QByteArray& Bytes) {
  QFile f(Path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(Bytes);
}

QByteArray ReadBytes(const QString& Path) {
  QFile f(Path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QStringList Items(const TStrings& List) {
  QStringList result;
  for (Integer i = 0; i < List.Count(); ++i) result << List[i];
  return result;
}

const char* const Sample =
    "; vendor information\r\n"
    "[Last]\r\n"
    "  EntName =  Moli Soft  \r\n"
    "Empty=\r\n"
    "Port=25\r\n"
    "port=99\r\n"
    "just a line without equals\r\n"
    "; Hidden=1\r\n"
    "Hex=0x1F\r\n"
    "Bad=12abc\r\n"
    "Rate=0.125\r\n"
    "\r\n"
    "[comm]\r\n"
    "Host=smtp.example.com\r\n"
    "[LAST]\r\n"
    "Brand=second section loses\r\n";

TEST(IniFile, ReadsWindowsStyleRules) {
  moli::testing::ScratchDir dir;
  WriteBytes(dir.File("IIS.INI"), Sample);
  TMemIniFile mem(dir.File("IIS.INI"));
  TIniFile direct(dir.File("IIS.INI"));
  for (TCustomIniFile* ini : std::initializer_list<TCustomIniFile*>{&mem, &direct}) {
    EXPECT_EQ(ini->ReadString("last", "ENTNAME", "x"), "Moli Soft");
    EXPECT_EQ(ini->ReadString("Last", "Empty", "default"), "");
    EXPECT_EQ(ini->ReadString("Last", "Missing", "default"), "default");
    EXPECT_EQ(ini->ReadString("Last", "Hidden", "no"), "no");
    EXPECT_EQ(ini->ReadString("Last", "Brand", "none"), "none");
    EXPECT_EQ(ini->ReadInteger("Last", "PORT", 0), 25);
    EXPECT_EQ(ini->ReadInteger("Last", "Hex", 0), 31);
    EXPECT_EQ(ini->ReadInteger("Last", "Bad", -1), -1);
    EXPECT_EQ(ini->ReadInteger("Last", "Empty", 7), 7);
    EXPECT_TRUE(ini->ReadBool("Last", "Port", false));
    EXPECT_TRUE(ini->ReadBool("Last", "Missing", true));
    EXPECT_FALSE(ini->ReadBool("Last", "Bad", false));
    EXPECT_DOUBLE_EQ(ini->ReadFloat("Last", "Rate", 0), 0.125);
    EXPECT_DOUBLE_EQ(ini->ReadFloat("Last", "Bad", 1.5), 1.5);

    TStringList list;
    ini->ReadSections(&list);
    EXPECT_EQ(Items(list), QStringList({"Last", "comm"}));
    ini->ReadSection("LAST", &list);
    EXPECT_EQ(Items(list), QStringList({"EntName", "Empty", "Port", "Hex", "Bad", "Rate"}));
    ini->ReadSectionValues("comm", &list);
    EXPECT_EQ(Items(list), QStringList({"Host=smtp.example.com"}));
    EXPECT_TRUE(ini->SectionExists("COMM"));
    EXPECT_FALSE(ini->SectionExists("none"));
    EXPECT_TRUE(ini->ValueExists("last", "empty"));
    EXPECT_FALSE(ini->ValueExists("last", "hidden"));
  }
}

TEST(IniFile, MissingFileReadsEmptyAndIsCreatedOnWrite) {
  moli::testing::ScratchDir dir;
  const QString path = dir.File("comm.ini");
  TIniFile ini(path);
  EXPECT_EQ(ini.ReadString("comm", "Port", "25"), "25");
  TStringList sections;
  ini.ReadSections(&sections);
  EXPECT_EQ(sections.Count(), 0);
  ini.WriteString("comm", "Host", "mail");
  ini.WriteInteger("comm", "Port", 465);
  ini.WriteBool("comm", "Auth", true);
  EXPECT_EQ(ReadBytes(path), "[comm]\r\nHost=mail\r\nPort=465\r\nAuth=1\r\n");
  EXPECT_THROW(TIniFile(dir.File("no/folder.ini")).WriteString("a", "b", "c"), EFCreateError);
}

TEST(IniFile, WritesKeepCommentsAndOtherLinesAndReplaceTheFirstMatch) {
  moli::testing::ScratchDir dir;
  const QString path = dir.File("a.ini");
  WriteBytes(path, "; keep me\n[A]\nx=1\nx=2\nnote\n\n[B]\ny=1\n");
  TIniFile ini(path);
  ini.WriteString("a", "X", "new");
  ini.WriteString("a", "z", "added");
  ini.WriteString("C", "k", "v");
  EXPECT_EQ(ReadBytes(path), "; keep me\r\n[A]\r\nX=new\r\nx=2\r\nnote\r\nz=added\r\n\r\n[B]\r\ny=1\r\n[C]\r\nk=v\r\n");
  ini.DeleteKey("A", "x");
  EXPECT_EQ(ini.ReadString("A", "x", "gone"), "gone");
  ini.EraseSection("b");
  EXPECT_FALSE(ini.SectionExists("B"));
  EXPECT_EQ(ini.ReadString("C", "k", ""), "v");
}

TEST(IniFile, LineBreaksInNamesOrValuesAreRefusedAndNothingIsWritten) {
  moli::testing::ScratchDir dir;
  const QString path = dir.File("a.ini");
  WriteBytes(path, "[A]\r\nx=1\r\n");
  struct Case { const char* section; const char* ident; const char* value; };
  for (const Case& c : std::initializer_list<Case>{{"A", "x", "1\n[Evil]\ny=1"}, {"A", "x", "a\rb"},
                                                   {"A", "x\ny", "1"}, {"A]\r\n[B", "x", "1"}}) {
    TIniFile direct(path);
    EXPECT_THROW(direct.WriteString(c.section, c.ident, c.value), EIniFileException) << c.value;
    TMemIniFile memory(path);
    EXPECT_THROW(memory.WriteString(c.section, c.ident, c.value), EIniFileException) << c.value;
    memory.UpdateFile();
    EXPECT_EQ(ReadBytes(path), "[A]\r\nx=1\r\n") << c.value;
  }
}

TEST(IniFile, GbkFilesAreReadAndSavedAsUtf8) {
  moli::testing::ScratchDir dir;
  const QString path = dir.File("gbk.ini");
  WriteBytes(path, "[Last]\r\nEntName=\xC4\xAB\xC0\xF0\r\n");  // "墨鲤" in GBK
  TMemIniFile ini(path);
  EXPECT_EQ(ini.ReadString("Last", "EntName", ""), QString::fromUtf8("墨鲤"));
  ini.WriteString("Last", "Brand", QString::fromUtf8("工资"));
  ini.UpdateFile();
  EXPECT_EQ(ReadBytes(path), QString::fromUtf8("[Last]\r\nEntName=墨鲤\r\nBrand=工资\r\n").toUtf8());
}

TEST(IniFile, MemoryIniWritesOnlyOnUpdateFileWhileDirectIniSeesOtherWriters) {
  moli::testing::ScratchDir dir;
  const QString path = dir.File("m.ini");
  WriteBytes(path, "[s]\nk=1\n");
  TMemIniFile mem(path);
  TIniFile direct(path);
  mem.WriteString("s", "k", "2");
  EXPECT_EQ(direct.ReadString("s", "k", ""), "1");
  mem.UpdateFile();
  EXPECT_EQ(direct.ReadString("s", "k", ""), "2");
  direct.WriteString("s", "k", "3");
  EXPECT_EQ(mem.ReadString("s", "k", ""), "2");
}

}  // namespace

namespace {

TEST(IniFile, SecretFilesAreSavedForTheOwnerOnly) {
  moli::testing::ScratchDir dir;
  const QString path = dir.File("comm.ini");
  TIniFile(path, fpOwnerOnly).WriteString("comm", "pass", "secret");
  TMemIniFile mem(path, fpOwnerOnly);
  mem.WriteString("comm", "user", "me");
  mem.UpdateFile();
  struct stat st {};
  ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}

}  // namespace
