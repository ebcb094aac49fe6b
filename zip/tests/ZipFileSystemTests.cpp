// Where archives meet the file system: names that differ only in case,
// temporaries that must never outlive a run, failed writes, file modes, and
// data that deflate would make larger.
#include "ZipTestSupport.h"
#include "platform/testing/TestPaths.h"
#include "zip/ZipErrors.h"
#include "zip/ZipWriter.h"
#include <QDir>
#include <QFile>
#include <QtEndian>
#include <gtest/gtest.h>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace ziptest;
using moli::testing::ScratchDir;

namespace {

Integer Backup(const QString& Archive, const QString& Root, const QString& Password = {}) {
  TZipWriter writer;
  writer.SetZipName(Archive);
  writer.SetRelativePaths(true);
  writer.SetRootDir(Root);
  writer.SetPassword(Password);
  writer.FilesList()->Add("*.*");
  return writer.CompressFiles();
}

TZipReader& Restorer(TZipReader& Reader, const QString& Archive, const QString& Dest) {
  Reader.SetDoAll(true);
  Reader.SetZipName(Archive);
  Reader.SetOverwriteMode(TUZOverwriteMode::Always);
  Reader.SetRecreateDirs(true);
  Reader.SetDestDir(Dest);
  return Reader;
}

TEST(ZipFileSystem, NamesThatDifferOnlyInCaseAreDifferentFiles) {
  ScratchDir scratch;
  const QString src = scratch.File("src");
  WriteFile(src + "/readme.txt", "lower");
  WriteFile(src + "/README.txt", "upper");
  const QString archive = scratch.File("a.zip");
  ASSERT_EQ(Backup(archive, src), 2);
  const TProcessResult listing = RunTool("unzip", {"-Z1", archive}, scratch.Path());
  EXPECT_EQ(listing.Output.split('\n', Qt::SkipEmptyParts).size(), 2) << listing.Output.toStdString();

  // An update replaces only the file that changed.
  WriteFile(src + "/README.txt", "upper, changed");
  SetModified(src + "/README.txt", QDateTime(QDate(2024, 6, 1), QTime(9, 0)));
  EXPECT_EQ(Backup(archive, src), 1);
  TZipReader reader;
  Restorer(reader, archive, scratch.File("out")).ExtractFiles();
  EXPECT_EQ(TreeDiff(Tree(scratch.File("out")), Tree(src)), "");
}

TEST(ZipFileSystem, NoTemporaryFileIsVisibleWhileWritingOrExtracting) {
  ScratchDir scratch;
  const QString src = scratch.File("src");
  WriteFile(src + "/a.txt", TextBytes(100000, 1));
  WriteFile(src + "/b.txt", TextBytes(5000, 2));
  const QString folder = scratch.File("backups");
  QDir().mkpath(folder);
  const QString archive = folder + "/a.zip";
  // What a kill at this moment would leave behind: only the archive as it was.
  QStringList seen;
  for (int run = 0; run < 2; ++run) {
    TZipWriter writer;
    writer.SetZipName(archive);
    writer.SetRootDir(src);
    writer.SetZipAction(zaReplace);
    writer.FilesList()->Add("*.*");
    writer.OnEndZip = [&](TObject*, const String&, Int64, Int64, Int64) { seen << QDir(folder).entryList(QDir::Files); };
    EXPECT_EQ(writer.CompressFiles(), 2);
  }
  EXPECT_EQ(seen, (QStringList{"a.zip", "a.zip"}));
  EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{"a.zip"});

  const QString dest = scratch.File("dest");
  QDir().mkpath(dest);
  seen.clear();
  TZipReader reader;
  reader.OnFilePercentDone = [&](TObject*, Integer) { seen << QDir(dest).entryList(QDir::Files); };
  Restorer(reader, archive, dest).ExtractFiles();
  EXPECT_EQ(seen.filter("ZTP"), QStringList());
  EXPECT_EQ(TreeDiff(Tree(dest), Tree(src)), "");
}

// Lowers the process's file size limit for its lifetime; writes past it fail with EFBIG.
class TFileSizeLimit {
public:
  explicit TFileSizeLimit(rlim_t Bytes) {
    FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &FOld);
    rlimit limited = FOld;
    limited.rlim_cur = Bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~TFileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &FOld);
    std::signal(SIGXFSZ, FOldHandler);
  }
private:
  rlimit FOld{};
  void (*FOldHandler)(int);
};

TEST(ZipFileSystem, AFailedWriteIsReportedWithTheSystemsReasonAndKeepsTheOldFile) {
  ScratchDir scratch;
  const QString src = scratch.File("src");
  WriteFile(src + "/data.bin", TextBytes(400000, 3));
  const QString archive = scratch.File("a.zip");
  ASSERT_EQ(Backup(archive, src), 1);
  const QString dest = scratch.File("dest");
  WriteFile(dest + "/data.bin", "the old file");
  TZipReader reader;
  Restorer(reader, archive, dest);
  try {
    TFileSizeLimit limit(100000);
    reader.ExtractFiles();
    ADD_FAILURE() << "no failure reported";
  } catch (const ECantWriteUCF& e) {
    EXPECT_TRUE(e.Message().contains(QString::fromLocal8Bit(std::strerror(EFBIG)))) << e.Message().toStdString();
  }
  EXPECT_EQ(ReadFile(dest + "/data.bin"), "the old file");
  EXPECT_EQ(QDir(dest).entryList(QDir::Files), QStringList{"data.bin"});
}

TEST(ZipFileSystem, AnArchiveThatCannotBeWrittenIsReportedWithTheSystemsReason) {
  // The small file is still in the write buffer when its header is rewritten;
  // the large one overflows the buffer while its data is written.
  for (const int size : {4000, 300000}) {
    ScratchDir scratch;
    WriteFile(scratch.File("src/data.bin"), RandomBytes(size, 5));
    const QString archive = scratch.File("a.zip");
    try {
      TFileSizeLimit limit(2000);
      Backup(archive, scratch.File("src"));
      ADD_FAILURE() << "no failure reported for " << size;
    } catch (const ENotEnoughRoom& e) {
      EXPECT_TRUE(e.Message().contains(QString::fromLocal8Bit(std::strerror(EFBIG)))) << e.Message().toStdString();
    }
    EXPECT_FALSE(QFile::exists(archive)) << size;
  }
}

TEST(ZipFileSystem, AColonIsAnOrdinaryCharacterOfAName) {
  ScratchDir scratch;
  const QString src = scratch.File("src");
  for (const char* name : {"12:30.txt", "会议:记录/a:b.txt", "sub/C:x.txt"}) WriteFile(src + "/" + name, name);
  const QString archive = scratch.File("a.zip");
  ASSERT_EQ(Backup(archive, src), 3);
  TZipReader reader;
  Restorer(reader, archive, scratch.File("out"));
  QStringList paths = reader.EntryPaths();
  paths.sort();
  EXPECT_EQ(paths, (QStringList{"12:30.txt", "sub/C:x.txt", "会议:记录/a:b.txt"}));
  EXPECT_EQ(reader.ExtractFiles(), 3);
  EXPECT_EQ(TreeDiff(Tree(scratch.File("out")), Tree(src)), "");
}

TEST(ZipFileSystem, ASymbolicLinkEntryBecomesAFileWithTheModeOfANewFile) {
  ScratchDir scratch;
  const QString archive = scratch.File("link.zip");
  const TProcessResult made = RunTool("python3",
                                      {"-c",
                                       "import sys, zipfile\n"
                                       "z = zipfile.ZipFile(sys.argv[1], 'w')\n"
                                       "i = zipfile.ZipInfo('link'); i.create_system = 3; i.external_attr = 0o120777 << 16\n"
                                       "z.writestr(i, 'target.txt')\n"
                                       "i = zipfile.ZipInfo('tool'); i.create_system = 3; i.external_attr = 0o100750 << 16\n"
                                       "z.writestr(i, 'a program')\n"
                                       "z.close()\n",
                                       archive},
                                      scratch.Path());
  ASSERT_EQ(made.ExitCode, 0) << made.Output.toStdString();
  const mode_t oldMask = ::umask(027);
  TZipReader reader;
  Restorer(reader, archive, scratch.File("dest")).ExtractFiles();
  ::umask(oldMask);
  struct Case { const char* name; mode_t mode; };
  for (const Case& c : std::initializer_list<Case>{{"link", 0640}, {"tool", 0750}}) {
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(scratch.File(QString("dest/") + c.name)).constData(), &st), 0) << c.name;
    EXPECT_EQ(st.st_mode & 07777, c.mode) << c.name;
  }
  EXPECT_EQ(ReadFile(scratch.File("dest/link")), "target.txt");
}

TEST(ZipFileSystem, DataThatDeflateWouldEnlargeIsStored) {
  for (const QString& password : {QString(), QString("secret")}) {
    ScratchDir scratch;
    const QString src = scratch.File("src");
    WriteFile(src + "/a.bin", RandomBytes(150000, 4));
    WriteFile(src + "/b.txt", TextBytes(300, 5));
    const QString archive = scratch.File("a.zip");
    ASSERT_EQ(Backup(archive, src, password), 2);
    const QByteArray bytes = ReadFile(archive);
    const qsizetype local = bytes.indexOf("a.bin") - kLocalHeaderSize;  // the local header comes first
    ASSERT_GE(local, 0);
    const auto* header = reinterpret_cast<const uint8_t*>(bytes.constData() + local);
    EXPECT_EQ(qFromLittleEndian<uint16_t>(header + 8), kMethodStored) << password.toStdString();
    const uint32_t encryptionHeader = password.isEmpty() ? 0 : 12;
    EXPECT_EQ(qFromLittleEndian<uint32_t>(header + 18), 150000 + encryptionHeader) << password.toStdString();

    const QStringList passwordOption = password.isEmpty() ? QStringList() : QStringList{"-P", password};
    const TProcessResult tested = RunTool("unzip", QStringList{"-tq"} + passwordOption + QStringList{archive}, scratch.Path());
    EXPECT_EQ(tested.ExitCode, 0) << tested.Output.toStdString();
    TZipReader reader;
    reader.SetPassword(password);
    Restorer(reader, archive, scratch.File("dest")).ExtractFiles();
    EXPECT_EQ(TreeDiff(Tree(scratch.File("dest")), Tree(src)), "") << password.toStdString();
  }
}

}  // namespace
