// How the reader and writer components choose, name, skip and report entries.
#include "ZipTestSupport.h"
#include "platform/testing/TestPaths.h"
#include "zip/ZipErrors.h"
#include "zip/ZipWriter.h"
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace ziptest;
using moli::testing::ScratchDir;

namespace {

struct TFixture {
  ScratchDir Scratch;
  QString Src = Scratch.File("src");
  QString Archive = Scratch.File("a.zip");
  TFixture() {
    WriteFile(Src + "/a.txt", TextBytes(3000, 1));
    WriteFile(Src + "/sub/b.txt", TextBytes(2000, 2));
    WriteFile(Src + "/pic.jpg", RandomBytes(4000, 3));
  }
  Integer Zip(const QStringList& Lines, const std::function<void(TZipWriter&)>& Setup = {}) {
    TZipWriter writer;
    writer.SetZipName(Archive);
    writer.SetRelativePaths(true);
    writer.SetRootDir(Src);
    for (const QString& line : Lines) writer.FilesList()->Add(line);
    if (Setup) Setup(writer);
    return writer.CompressFiles();
  }
  QStringList Listing() const { return RunTool("unzip", {"-Z1", Archive}, Scratch.Path()).Output.split('\n', Qt::SkipEmptyParts); }
};

TEST(ZipReaderProperties, KeepTheirFormsAndReportBadIndexes) {
  TZipReader reader;
  reader.SetDestDir("/data/");
  EXPECT_EQ(reader.DestDir(), "/data");
  reader.SetRootDir("/data");
  EXPECT_EQ(reader.RootDir(), "/data/");
  reader.SetRootDir("");
  EXPECT_EQ(reader.RootDir(), "");
  EXPECT_EQ(reader.ThisVersion(), 223);

  TFixture f;
  ASSERT_EQ(f.Zip({"*.*"}), 3);
  reader.SetZipName(f.Archive);
  reader.ReadZip();
  ASSERT_EQ(reader.Count(), 3);
  try {
    reader.Filename(reader.Count());
    FAIL();
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), "Index 3 is out of range");
  }
  reader.SetZipName(f.Archive.toUpper());  // the name in other letters is another file
  EXPECT_EQ(reader.Count(), 0);
  reader.SetZipName(f.Archive);
  reader.ReadZip();
  reader.Sort(ByName);
  EXPECT_EQ(reader.Filename(0), "a.txt");
  EXPECT_EQ(reader.Filename(2), "b.txt");
  reader.ResetArchive();
  EXPECT_EQ(reader.Count(), 0);
  EXPECT_EQ(reader.ZipName(), "");
}

TEST(ZipExtraction, ChoosesEntriesAndFoldersByTheSettings) {
  TFixture f;
  ASSERT_EQ(f.Zip({"*.*"}), 3);
  struct Case {
    const char* what;
    bool doAll, recreate;
    QStringList masks;
    Integer count;
    QStringList files;
    QString rootDir = {};
  };
  for (const Case& c : std::initializer_list<Case>{
           {"everything", true, true, {}, 3, {"a.txt", "pic.jpg", "sub/b.txt"}},
           {"nothing asked", false, true, {}, 0, {}},
           {"flattened", true, false, {}, 3, {"a.txt", "b.txt", "pic.jpg"}},
           {"by mask", false, true, {"*.txt"}, 2, {"a.txt", "sub/b.txt"}},
           {"by folder mask", false, true, {"sub/*"}, 1, {"sub/b.txt"}},
           {"root folder taken off", true, true, {}, 3, {"a.txt", "b.txt", "pic.jpg"}, "sub"},
           {"root in other letters is another folder", true, true, {}, 3, {"a.txt", "pic.jpg", "sub/b.txt"}, "SUB"}}) {
    const QString dest = f.Scratch.File(QString("out-%1").arg(c.what).replace(' ', '_'));
    TZipReader reader;
    Integer announced = -1;
    reader.OnStartUnZipInfo = [&](TObject*, Integer NumFiles, Int64, bool&) { announced = NumFiles; };
    reader.SetZipName(f.Archive);
    reader.SetDoAll(c.doAll);
    reader.SetRecreateDirs(c.recreate);
    reader.SetOverwriteMode(TUZOverwriteMode::Always);
    reader.SetDestDir(dest);
    reader.SetRootDir(c.rootDir);
    for (const QString& m : c.masks) reader.FilesList()->Add(m);
    EXPECT_EQ(reader.ExtractFiles(), c.count) << c.what;
    EXPECT_EQ(announced, c.count) << c.what;
    EXPECT_EQ(Tree(dest).keys(), c.files) << c.what;
    EXPECT_EQ(reader.FilesList()->Count(), 0) << c.what;
  }
}

TEST(ZipExtraction, ExistingFilesFollowTheOverwriteMode) {
  TFixture f;
  ASSERT_EQ(f.Zip({"a.txt"}), 1);  // the entry is dated 2024-01-02 10:00
  struct Case {
    TUZOverwriteMode mode;
    QDateTime existingDate;
    bool promptAnswer;
    bool replaced;
  };
  const QDateTime older(QDate(2023, 1, 1), QTime(0, 0)), newer(QDate(2025, 1, 1), QTime(0, 0));
  for (const Case& c : std::initializer_list<Case>{{TUZOverwriteMode::Never, older, false, false},
                                                   {TUZOverwriteMode::Always, newer, false, true},
                                                   {TUZOverwriteMode::ifNewer, older, false, true},
                                                   {TUZOverwriteMode::ifNewer, newer, false, false},
                                                   {TUZOverwriteMode::ifOlder, newer, false, true},
                                                   {TUZOverwriteMode::Prompt, older, true, true},
                                                   {TUZOverwriteMode::Prompt, older, false, false}}) {
    const QString dest = f.Scratch.File("dest");
    WriteFile(dest + "/a.txt", "existing");
    SetModified(dest + "/a.txt", c.existingDate);
    TZipReader reader;
    QList<TSkipReason> skips;
    reader.OnSkippingFile = [&](TObject*, TSkipReason Reason, const String&, Integer, bool&) { skips << Reason; };
    reader.OnPromptForOverwrite = [&](TObject*, bool& OverWriteIt, Integer, String&) { OverWriteIt = c.promptAnswer; };
    reader.SetZipName(f.Archive);
    reader.SetDoAll(true);
    reader.SetOverwriteMode(c.mode);
    reader.SetDestDir(dest);
    EXPECT_EQ(reader.ExtractFiles(), c.replaced ? 1 : 0) << int(c.mode);
    EXPECT_EQ(ReadFile(dest + "/a.txt") != "existing", c.replaced) << int(c.mode);
    EXPECT_EQ(skips, c.replaced ? QList<TSkipReason>{} : QList<TSkipReason>{srNoOverwrite}) << int(c.mode);
  }
}

TEST(ZipExtraction, ReadOnlyFilesAreReplacedOnlyWhenAllowed) {
  TFixture f;
  ASSERT_EQ(f.Zip({"a.txt"}), 1);
  const QString dest = f.Scratch.File("dest");
  for (bool allowed : {false, true}) {
    QFile::remove(dest + "/a.txt");
    WriteFile(dest + "/a.txt", "existing");
    QFile::setPermissions(dest + "/a.txt", QFile::ReadOwner);
    TZipReader reader;
    QList<TSkipReason> skips;
    reader.OnSkippingFile = [&](TObject*, TSkipReason Reason, const String&, Integer, bool&) { skips << Reason; };
    reader.SetZipName(f.Archive);
    reader.SetDoAll(true);
    reader.SetOverwriteMode(TUZOverwriteMode::Always);
    reader.SetReplaceReadOnly(allowed);
    reader.SetDestDir(dest);
    EXPECT_EQ(reader.ExtractFiles(), allowed ? 1 : 0);
    EXPECT_EQ(skips.isEmpty(), allowed);
    EXPECT_EQ(skips, allowed ? QList<TSkipReason>{} : QList<TSkipReason>{srCreateError});
    EXPECT_EQ(ReadFile(dest + "/a.txt") == "existing", !allowed);
  }
}

TEST(ZipWriting, NamesEntriesRelativeToTheRootAndSkipsWhatItShould) {
  TFixture f;
  WriteFile(f.Src + "/inner.zip", "");
  QStringList skippedTwice;
  int noSuchFile = 0;
  const Integer added = f.Zip({"a.txt", "a.txt", "missing.txt", "*.*"}, [&](TZipWriter& w) {
    w.ExcludeList()->Add("*.zip");
    w.NoCompressList()->Add("*.jpg");
    w.OnSkippingFile = [&](TObject*, TSkipReason Reason, const String& FName, Integer, bool&) {
      if (Reason == srNoOverwrite) skippedTwice << QFileInfo(FName).fileName();
    };
    w.OnNoSuchFile = [&](TObject*, const String&) { ++noSuchFile; };
  });
  EXPECT_EQ(added, 3);
  EXPECT_EQ(f.Listing(), (QStringList{"a.txt", "pic.jpg", "sub/b.txt"}));
  EXPECT_EQ(skippedTwice, (QStringList{"a.txt", "a.txt"}));
  EXPECT_EQ(noSuchFile, 1);
  const TProcessResult verbose = RunTool("unzip", {"-Zv", f.Archive}, f.Scratch.Path());
  EXPECT_TRUE(verbose.Output.contains("compression method:                             none (stored)")) << verbose.Output.toStdString();
  EXPECT_EQ(RunTool("unzip", {"-tq", f.Archive}, f.Scratch.Path()).ExitCode, 0);

  // The archive never takes itself in, even inside the root.
  TFixture inside;
  inside.Archive = inside.Src + "/self.zip";
  EXPECT_EQ(inside.Zip({"*.*"}), 3);
  EXPECT_FALSE(inside.Listing().contains("self.zip"));
}

TEST(ZipWriting, FreshenOnlyRefreshesWhatTheArchiveHolds) {
  TFixture f;
  ASSERT_EQ(f.Zip({"a.txt"}), 1);
  SetModified(f.Src + "/a.txt", QDateTime(QDate(2024, 5, 1), QTime(8, 0)));
  EXPECT_EQ(f.Zip({"*.*"}, [](TZipWriter& w) { w.SetZipAction(zaFreshen); }), 1);
  EXPECT_EQ(f.Listing(), QStringList{"a.txt"});
  EXPECT_EQ(f.Zip({"a.txt"}, [](TZipWriter& w) { w.SetZipAction(zaReplace); }), 1);
}

TEST(ZipWriting, BlankNameDoesNothingAndLevelsSetTheirFlags) {
  TZipWriter writer;
  writer.SetZipName("  ");
  writer.FilesList()->Add("*.*");
  EXPECT_EQ(writer.CompressFiles(), 0);
  EXPECT_EQ(writer.FilesList()->Count(), 1);

  TFixture f;
  for (int level : {0, 1, 6, 9}) {
    QFile::remove(f.Archive);
    ASSERT_EQ(f.Zip({"a.txt", "pic.jpg"}, [&](TZipWriter& w) { w.SetPackLevel(level); }), 2);
    TZipReader reader;
    reader.SetZipName(f.Archive);
    reader.SetDoAll(true);
    reader.SetDestDir(f.Scratch.File(QString("level%1").arg(level)));
    EXPECT_EQ(reader.ExtractFiles(), 2);
    EXPECT_EQ(RunTool("unzip", {"-tq", f.Archive}, f.Scratch.Path()).ExitCode, 0) << level;
    const QString verbose = RunTool("unzip", {"-Zv", f.Archive}, f.Scratch.Path()).Output;
    const char* expected = level == 0 ? "none (stored)" : level == 1 ? "(deflation):               fast" : level == 9 ? "maximum" : "normal";
    EXPECT_TRUE(verbose.contains(expected)) << level;
    // The compressor tells text from binary; stored files are left undecided as binary.
    EXPECT_EQ(verbose.count(QRegularExpression("apparent file type: +text")), level == 0 ? 0 : 1) << level;
  }
}

TEST(ZipReading, RebuildsTheDirectoryFromLocalHeadersWhenAskedTo) {
  TFixture f;
  ASSERT_EQ(f.Zip({"*.*"}), 3);
  const QByteArray whole = ReadFile(f.Archive);
  const QString headersOnly = f.Scratch.File("headers.zip");
  WriteFile(headersOnly, whole.left(whole.indexOf(QByteArray("PK\x01\x02", 4))));
  TZipReader reader;
  reader.SetZipName(headersOnly);
  reader.SetDoAll(true);
  reader.SetRecreateDirs(true);
  reader.SetDestDir(f.Scratch.File("out"));
  EXPECT_THROW(reader.ExtractFiles(), EIncompleteZip);
  reader.SetIncompleteZipMode(izAssumeBad);
  EXPECT_EQ(reader.ExtractFiles(), 3);
  EXPECT_EQ(TreeDiff(Tree(f.Scratch.File("out")), Tree(f.Src)), "");

  TZipReader empty;
  WriteFile(f.Scratch.File("empty.zip"), "");
  empty.SetZipName(f.Scratch.File("empty.zip"));
  empty.ReadZip();
  EXPECT_EQ(empty.Count(), 0);
}

}  // namespace
