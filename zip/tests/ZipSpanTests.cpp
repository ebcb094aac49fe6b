#include "platform/testing/TestPaths.h"
#include "zip/ZipErrors.h"
#include "zip/ZipSpan.h"
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
}

TEST(ZipSpan, ASetThatFitsOneBlockTakesTheArchiveName) {
  moli::testing::ScratchDir dir;
  const String zipName = dir.File(QStringLiteral("one.zip"));
  TMultiZipInfo info;
  info.MultiMode = mmBlocks;
  TZipSpanWriteStream out(zipName, info, FirstPartRoom(info, zipName, 1, false, 0), {}, {}, nullptr);
  out.WriteBuffer(Pattern(100));
  EXPECT_EQ(out.Finish(), zipName);
  EXPECT_EQ(FileBytes(zipName), Pattern(100));
  EXPECT_FALSE(QFileInfo::exists(dir.File(QStringLiteral("one.001"))));
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

// No removable disk can be asked for: the built-in answer fails clearly;
// an application may still answer with a file of its own, but never with a
// part already written.
TEST(ZipSpan, SpannedWriteNeedsTheApplicationToNameTheNextDisk) {
  moli::testing::ScratchDir dir;
  const String zipName = dir.File(QStringLiteral("span.zip"));
  TMultiZipInfo info;
  info.MultiMode = mmSpan;
  {
    TZipSpanWriteStream out(zipName, info, 10, {}, {}, nullptr);
    out.WriteBuffer(Pattern(20));
    EXPECT_THROW(out.Finish(), ENotEnoughRoom);
    out.Discard();
  }
  EXPECT_FALSE(QFileInfo::exists(zipName));

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
