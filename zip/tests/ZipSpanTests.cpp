#include "ZipTestSupport.h"
#include "platform/testing/TestPaths.h"
#include "zip/ZipErrors.h"
#include "zip/ZipWriter.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

QByteArray Pattern(int Size) {
  QByteArray b;
  for (int i = 0; i < Size; ++i) b.append(char(i * 7 + i / 251));
  return b;
}

QByteArray FileBytes(const QString& Name) {
  QFile f(Name);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TGetNextDiskEvent BlockAnswers(int& Asked) {
  return [&Asked](TObject*, Integer NextDisk, String& FName) {
    ++Asked;
    DefaultGetNextDisk(mmBlocks, NextDisk, FName);
  };
}

}  // namespace

TEST(ZipSpan, PartNamesReplaceTheExtension) {
  EXPECT_EQ(ZipPartName(QStringLiteral("/d/backup.GZBK"), 1), QStringLiteral("/d/backup.001"));
  EXPECT_EQ(ZipPartName(QStringLiteral("/d.x/backup"), 12), QStringLiteral("/d.x/backup.012"));
  EXPECT_EQ(ZipConfigName(QStringLiteral("/d/backup.003")), QStringLiteral("/d/backup.zfc"));
}

// Blocks fill to their room, headers kept together move to the next block,
// an earlier block can be patched, and reading joins the blocks again.
TEST(ZipSpan, BlocksAreWrittenToTheirRoomAndReadBackAsOneStream) {
  moli::testing::ScratchDir dir;
  const String zipName = dir.File(QStringLiteral("set.zip"));
  TMultiZipInfo info;
  info.MultiMode = mmBlocks;
  info.BlockSize = 700;
  const QByteArray data = Pattern(1900);
  {
    TZipSpanWriteStream out(zipName, info, 1000, {}, {}, nullptr);
    out.WriteBuffer(data.left(950));
    out.KeepTogether(60);  // 50 bytes left: the header starts block 2
    EXPECT_EQ(out.CurrentDisk(), 1);
    EXPECT_EQ(out.Position(), 0);
    out.WriteBuffer(data.mid(950));
    out.WriteAt(0, 10, "PATCH");
    EXPECT_EQ(out.Finish(), dir.File(QStringLiteral("set.003")));
  }
  EXPECT_EQ(QFileInfo(dir.File(QStringLiteral("set.001"))).size(), 950);
  EXPECT_EQ(QFileInfo(dir.File(QStringLiteral("set.002"))).size(), 700);
  EXPECT_EQ(QFileInfo(dir.File(QStringLiteral("set.003"))).size(), 250);
  EXPECT_FALSE(QFileInfo::exists(zipName));

  int asked = 0;
  TZipSpanReadStream in(dir.File(QStringLiteral("set.003")), true, 3, BlockAnswers(asked), nullptr);
  EXPECT_EQ(asked, 2);
  QByteArray expected = data;
  expected.replace(10, 5, "PATCH");
  EXPECT_EQ(in.ReadRest(), expected);
  EXPECT_EQ(in.Offset(2, 5), 950 + 700 + 5);
  in.Seek(in.Offset(1, 695), soBeginning);
  char across[10];
  ASSERT_EQ(in.Read(across, 10), 10);
  EXPECT_EQ(QByteArray(across, 10), expected.mid(950 + 695, 10));

  // Blocks with no room would only pile up empty files.
  TMultiZipInfo empty = info;
  empty.BlockSize = 0;
  TZipSpanWriteStream none(dir.File(QStringLiteral("none.zip")), empty, 10, {}, {}, nullptr);
  none.WriteBuffer(Pattern(20));
  EXPECT_THROW(none.Finish(), ENotEnoughRoom);
  none.Discard();
  EXPECT_FALSE(QFileInfo::exists(dir.File(QStringLiteral("none.001"))));
}

TEST(ZipSpan, AMissingPartEndsInAClearErrorInsteadOfAskingForEver) {
  moli::testing::ScratchDir dir;
  for (const char* name : {"set.001", "set.003"}) {
    QFile f(dir.File(QString::fromLatin1(name)));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
  }
  int asked = 0;
  try {
    TZipSpanReadStream in(dir.File(QStringLiteral("set.003")), true, 3, BlockAnswers(asked), nullptr);
    FAIL() << "a missing block was not reported";
  } catch (const EIncompleteZip& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Part 2 of the multi-disk set is missing: ") + dir.File(QStringLiteral("set.002")));
  }
  EXPECT_EQ(asked, 3);  // part 1 once, part 2 twice with the same answer

  const TGetNextDiskEvent refuse = [](TObject*, Integer, String& FName) { FName.clear(); };
  EXPECT_THROW(TZipSpanReadStream(dir.File(QStringLiteral("set.003")), true, 3, refuse, nullptr), EUserCanceled);
}

// No removable disk can be asked for: the built-in answer fails clearly and
// leaves an older archive of the same name as it was; an application may
// still answer with a file of its own, but never with a part already written.
TEST(ZipSpan, SpannedWriteNeedsTheApplicationToNameTheNextDisk) {
  moli::testing::ScratchDir dir;
  const String zipName = dir.File(QStringLiteral("span.zip"));
  {
    QFile old(zipName);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("OLD");
  }
  TMultiZipInfo info;
  info.MultiMode = mmSpan;
  {
    TZipSpanWriteStream out(zipName, info, 10, {}, {}, nullptr);
    out.WriteBuffer(Pattern(20));
    EXPECT_THROW(out.Finish(), ENotEnoughRoom);
    out.Discard();
  }
  EXPECT_EQ(QDir(dir.Path()).entryList(QDir::Files), QStringList{"span.zip"});
  EXPECT_EQ(FileBytes(zipName), "OLD");

  int prepared = 0;
  const TGetNextDiskEvent second = [&](TObject*, Integer NextDisk, String& FName) {
    FName = dir.File(QStringLiteral("disk%1.zip").arg(NextDisk));
  };
  TZipSpanWriteStream out(zipName, info, 10, second, [&](TObject*, Integer) { ++prepared; }, nullptr);
  out.WriteBuffer(Pattern(20));
  EXPECT_EQ(out.Finish(), dir.File(QStringLiteral("disk2.zip")));
  EXPECT_EQ(prepared, 1);
  EXPECT_EQ(FileBytes(zipName) + FileBytes(dir.File(QStringLiteral("disk2.zip"))), Pattern(20));

  const TGetNextDiskEvent same = [&](TObject*, Integer, String& FName) { FName = zipName; };
  TZipSpanWriteStream again(zipName, info, 10, same, {}, nullptr);
  again.WriteBuffer(Pattern(20));
  EXPECT_THROW(again.Finish(), ENotEnoughRoom);
  again.Discard();
}

namespace {

// A corpus and an empty folder for the sets written from it.
class ZipSpanSets : public ::testing::Test {
protected:
  void SetUp() override {
    ziptest::MakeCorpus(Src);
    QDir().mkpath(Sets);
  }

  struct TSplitRun {
    QString Last;       // the archive's name after the write
    QStringList Files;  // every file the write left in the folder
  };

  TSplitRun WriteBlocks(Integer FirstBlock, Integer Block, bool ConfigCopy, TMultiMode Mode = mmBlocks) {
    TZipWriter writer;
    writer.SetZipName(Sets + "/set.zip");
    writer.SetRelativePaths(true);
    writer.SetRootDir(Src);
    writer.MultiZipInfo()->MultiMode = Mode;
    writer.MultiZipInfo()->FirstBlockSize = FirstBlock;
    writer.MultiZipInfo()->BlockSize = Block;
    writer.MultiZipInfo()->SaveZipInfoOnFirstDisk = ConfigCopy;
    writer.SetZipComment("pay database");
    writer.FilesList()->Add("*.*");
    EXPECT_EQ(writer.CompressFiles(), 5);
    return {writer.ZipName(), QDir(Sets).entryList(QDir::Files, QDir::Name)};
  }

  // Extracts into a new folder and tells whether it holds the corpus.
  std::string ExtractSet(const QString& ZipName, const QString& Dest, QList<Integer>* Asked = nullptr) {
    TZipReader reader;
    reader.SetZipName(ZipName);
    reader.SetDoAll(true);
    reader.SetRecreateDirs(true);
    reader.SetDestDir(Scratch.File(Dest));
    if (Asked)
      reader.OnGetNextDisk = [&](TObject*, Integer NextDisk, String& FName) {
        Asked->append(NextDisk);
        DefaultGetNextDisk(mmBlocks, NextDisk, FName);
      };
    EXPECT_EQ(reader.ExtractFiles(), 5);
    return ziptest::TreeDiff(ziptest::Tree(Scratch.File(Dest)), ziptest::Tree(Src));
  }

  moli::testing::ScratchDir Scratch;
  const QString Src = Scratch.File("src");
  const QString Sets = Scratch.File("sets");
};

}  // namespace

// A set of blocks written here is read back here, asking for the blocks by
// number, and by 7-Zip once the blocks carry the names it expects.
TEST_F(ZipSpanSets, BlockSetsTravelToThePeerAndBack) {
  const TSplitRun run = WriteBlocks(20000, 15000, false);
  ASSERT_GE(run.Files.size(), 4) << run.Files.join(' ').toStdString();
  EXPECT_EQ(run.Files.first(), "set.001");
  EXPECT_EQ(run.Last, Sets + "/" + run.Files.last());
  EXPECT_LE(QFileInfo(Sets + "/set.001").size(), 20000);
  EXPECT_LE(QFileInfo(Sets + "/set.002").size(), 15000);

  QList<Integer> asked;
  EXPECT_EQ(ExtractSet(run.Last, "back", &asked), "");
  EXPECT_EQ(asked.first(), 1);
  TZipReader reader;
  reader.SetZipName(run.Last);
  reader.ReadZip();
  EXPECT_EQ(reader.ZipComment(), "pay database");

  // 7-Zip names the parts name.z01, name.z02, ... and the last one name.zip.
  const QString peer = Scratch.File("peer");
  QDir().mkpath(peer);
  for (qsizetype i = 0; i < run.Files.size(); ++i) {
    const QString name = i + 1 == run.Files.size() ? QString("set.zip") : QString("set.z%1").arg(i + 1, 2, 10, QChar('0'));
    ASSERT_TRUE(QFile::copy(Sets + "/" + run.Files[i], peer + "/" + name));
  }
  const ziptest::TProcessResult tested = ziptest::RunTool("7zz", {"x", "-bd", "-oout", "set.zip"}, peer);
  ASSERT_EQ(tested.ExitCode, 0) << tested.Output.toStdString();
  EXPECT_EQ(ziptest::TreeDiff(ziptest::Tree(peer + "/out"), ziptest::Tree(Src)), "");
}

// A set that fits its first block, or its first disk, is a plain archive.
TEST_F(ZipSpanSets, ASetThatFitsOnePartIsAPlainArchive) {
  for (TMultiMode mode : {mmBlocks, mmSpan}) {
    const TSplitRun run = WriteBlocks(10000000, 40000, true, mode);
    EXPECT_EQ(run.Files, QStringList{"set.zip"}) << mode;
    EXPECT_EQ(ziptest::RunTool("unzip", {"-tq", "set.zip"}, Sets).ExitCode, 0) << mode;
  }
}

TEST_F(ZipSpanSets, AMissingBlockIsReportedAndTheDirectoryCopyStandsInForTheEndRecord) {
  const TSplitRun run = WriteBlocks(30000, 40000, true);
  ASSERT_TRUE(run.Files.contains("set.zfc"));

  // Opened by its first block, which has no end record, the set is read through its copy.
  EXPECT_EQ(ExtractSet(Sets + "/set.001", "viaCopy"), "");
  TZipReader reader;
  reader.SetZipName(Sets + "/set.001");
  reader.ReadZip();
  EXPECT_EQ(reader.ZipComment(), "pay database");

  ASSERT_TRUE(QFile::remove(Sets + "/set.002"));
  try {
    ExtractSet(run.Last, "missing");
    FAIL() << "a missing block went unnoticed";
  } catch (const EIncompleteZip& e) {
    EXPECT_EQ(e.Message(), "Part 2 of the multi-disk set is missing: " + Sets + "/set.002");
  }
  EXPECT_FALSE(QFileInfo::exists(Scratch.File("missing")));
}
