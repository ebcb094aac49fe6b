#include "platform/rtl/SysUtils.h"
#include "platform/testing/TestPaths.h"
#include <QFile>
#include <gtest/gtest.h>

namespace {

TEST(FileNames, SplitOnBothSeparators) {
  struct Case { const char* name; const char* path; const char* dir; const char* file; const char* ext; };
  for (const Case& c : std::initializer_list<Case>{
         {"/opt/app/db\\VIRE.dat", "/opt/app/db\\", "/opt/app/db", "VIRE.dat", ".dat"},
         {"RPT\\Skin.Skn", "RPT\\", "RPT", "Skin.Skn", ".Skn"},
         {"/opt/a.b/readme", "/opt/a.b/", "/opt/a.b", "readme", ""},
         {"archive.tar.gz", "", "", "archive.tar.gz", ".gz"},
         {"/root.txt", "/", "/", "root.txt", ".txt"},
         {"folder/", "folder/", "folder", "", ""}}) {
    EXPECT_EQ(ExtractFilePath(c.name), c.path) << c.name;
    EXPECT_EQ(ExtractFileDir(c.name), c.dir) << c.name;
    EXPECT_EQ(ExtractFileName(c.name), c.file) << c.name;
    EXPECT_EQ(ExtractFileExt(c.name), c.ext) << c.name;
  }
  EXPECT_EQ(ChangeFileExt("db\\VIRE.dat", ".bak"), "db\\VIRE.bak");
  EXPECT_EQ(ChangeFileExt("a.b/readme", ".txt"), "a.b/readme.txt");
  EXPECT_EQ(ChangeFileExt("工资.xls", ""), QStringLiteral("工资"));
  EXPECT_EQ(IncludeTrailingPathDelimiter("/opt/app"), "/opt/app/");
  EXPECT_EQ(IncludeTrailingPathDelimiter("C:\\app\\"), "C:\\app\\");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("/opt/app/"), "/opt/app");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("/"), "/");
  EXPECT_EQ(ExpandFileName("/opt/app/./db\\..\\RPT/x.rav"), "/opt/app/RPT/x.rav");
  EXPECT_TRUE(ExpandFileName("rel").startsWith(u'/'));
}

TEST(FileSystem, BackslashNamesReachTheFileSystem) {
  moli::testing::ScratchDir scratch;
  const String base = IncludeTrailingPathDelimiter(scratch.Path());
  EXPECT_TRUE(ForceDirectories(base + "db\\sub"));
  EXPECT_TRUE(DirectoryExists(base + "db/sub"));
  EXPECT_FALSE(FileExists(base + "db\\sub"));  // a folder is not a file
  QFile file(base + "db/sub/VIRE.dat");
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("x");
  file.close();
  EXPECT_TRUE(FileExists(base + "db\\sub\\VIRE.dat"));

  TDateTime age = 0;
  ASSERT_TRUE(FileAge(base + "db\\sub\\VIRE.dat", age));
  EXPECT_NEAR(age, Now(), 1.0);
  const TDateTime stamp = EncodeDateTime(2020, 6, 1, 8, 30, 0, 0);
  ASSERT_TRUE(FileSetDate(base + "db\\sub\\VIRE.dat", stamp));
  ASSERT_TRUE(FileAge(base + "db/sub/VIRE.dat", age));
  EXPECT_DOUBLE_EQ(age, stamp);
  EXPECT_FALSE(FileAge(base + "missing", age));
}

TEST(FileSystem, RenameNeverReplacesAndRemovalsReportFailure) {
  moli::testing::ScratchDir scratch;
  const String base = IncludeTrailingPathDelimiter(scratch.Path());
  for (const char* name : {"a.txt", "b.txt"}) {
    QFile file(base + name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(name);
  }
  EXPECT_FALSE(RenameFile(base + "a.txt", base + "b.txt"));
  QFile kept(base + "b.txt");
  ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
  EXPECT_EQ(kept.readAll(), "b.txt");
  EXPECT_TRUE(RenameFile(base + "a.txt", base + "c.txt"));
  EXPECT_FALSE(FileExists(base + "a.txt"));
  EXPECT_TRUE(DeleteFile(base + "c.txt"));
  EXPECT_FALSE(DeleteFile(base + "c.txt"));

  EXPECT_TRUE(CreateDir(base + "d"));
  EXPECT_FALSE(CreateDir(base + "x\\y"));  // no parent
  EXPECT_FALSE(DeleteFile(base + "d"));     // a folder is not deleted as a file
  QFile inside(base + "d/f");
  ASSERT_TRUE(inside.open(QIODevice::WriteOnly));
  inside.close();
  EXPECT_FALSE(RemoveDir(base + "d"));
  EXPECT_TRUE(DeleteFile(base + "d\\f"));
  EXPECT_TRUE(RemoveDir(base + "d"));
  EXPECT_FALSE(ForceDirectories(""));
}

}  // namespace
