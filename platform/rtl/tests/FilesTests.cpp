#include "platform/rtl/Files.h"
#include "platform/testing/TestPaths.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

void Touch(const QString& Path, const QByteArray& Bytes = "x") {
  QFile f(Path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << Path.toStdString();
  f.write(Bytes);
}

QByteArray ReadBytes(const QString& Path) {
  QFile f(Path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

mode_t ModeOf(const QString& Path) {
  struct stat st {};
  ::stat(QFile::encodeName(Path).constData(), &st);
  return st.st_mode & 0777;
}

TEST(FileHelpers, ProgramFolderEndsWithASlashAndCanBeReplaced) {
  EXPECT_EQ(ProgramFolder(), QCoreApplication::applicationDirPath() + "/");
  SetProgramFolder("/tmp/moli");
  EXPECT_EQ(ProgramFolder(), "/tmp/moli/");
  SetProgramFolder(QString());
  EXPECT_EQ(ProgramFolder(), QCoreApplication::applicationDirPath() + "/");
}

TEST(FileHelpers, ResolvePathMatchesNamesWithoutCase) {
  moli::testing::ScratchDir dir;
  ASSERT_TRUE(QDir(dir.Path()).mkpath("DB/tmp"));
  ASSERT_TRUE(QDir(dir.Path()).mkpath("RPT"));
  Touch(dir.File("DB/vire.dat"));
  Touch(dir.File("ZW.Txt"));
  const QString base = dir.Path() + "/";
  struct Case { const char* relative; const char* expected; };
  for (const Case& c : std::initializer_list<Case>{
         {"db/VIRE.dat", "DB/vire.dat"}, {"db\\VIRE.dat", "DB/vire.dat"}, {"ZW.txt", "ZW.Txt"},
         {"rpt\\GZBill.RAV", "RPT/GZBill.RAV"}, {"Db/TMP/new.xls", "DB/tmp/new.xls"},
         {"missing/File.txt", "missing/File.txt"}, {"DB/", "DB"}})
    EXPECT_EQ(ResolvePath(dir.Path(), c.relative), base + c.expected) << c.relative;
}

TEST(FileHelpers, ResolvePathPrefersTheExactSpelling) {
  moli::testing::ScratchDir dir;
  Touch(dir.File("a.txt"));
  Touch(dir.File("A.txt"));
  EXPECT_EQ(ResolvePath(dir.Path(), "A.txt"), dir.File("A.txt"));
  EXPECT_EQ(ResolvePath(dir.Path(), "a.TXT"), dir.File("A.txt"));
}

TEST(FileHelpers, AtomicWriteReplacesTheFileAndKeepsOrRestrictsItsMode) {
  moli::testing::ScratchDir dir;
  const QString path = dir.File("data.txt");
  AtomicWriteFile(path, "first");
  EXPECT_EQ(ReadBytes(path), "first");
  ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
  AtomicWriteFile(path, "second");
  EXPECT_EQ(ReadBytes(path), "second");
  EXPECT_EQ(ModeOf(path), 0640u);

  AtomicWriteFile(dir.File("secret.ini"), "pass=1", fpOwnerOnly);
  EXPECT_EQ(ModeOf(dir.File("secret.ini")), 0600u);
  EXPECT_EQ(QDir(dir.Path()).entryList(QDir::Files | QDir::Hidden).size(), 2) << "a temporary file was left";
}

TEST(FileHelpers, FailedAtomicWriteLeavesTheOldFile) {
  moli::testing::ScratchDir dir;
  EXPECT_THROW(AtomicWriteFile(dir.File("no/such/folder.txt"), "x"), EFCreateError);
  // Renaming onto a folder fails after the data was written: the folder stays and no temporary is left.
  ASSERT_TRUE(QDir(dir.Path()).mkpath("target/inside"));
  EXPECT_THROW(AtomicWriteFile(dir.File("target"), "x"), EWriteError);
  EXPECT_TRUE(QFileInfo(dir.File("target/inside")).isDir());
  EXPECT_EQ(QDir(dir.Path()).entryList(QDir::Files | QDir::Hidden).size(), 0);
}

}  // namespace
