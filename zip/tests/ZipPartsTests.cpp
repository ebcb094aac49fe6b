// The building blocks under the archive components: masks, MS-DOS dates,
// buffered streams, the folder walker and the header records.
#include "ZipTestSupport.h"
#include "platform/testing/TestPaths.h"
#include "zip/DirSearch.h"
#include "zip/ZipBufferStream.h"
#include "zip/ZipFileUtils.h"
#include "zip/ZipMasks.h"
#include "zip/ZipRecords.h"
#include <gtest/gtest.h>

using namespace ziptest;
using moli::testing::ScratchDir;

namespace {

TEST(ZipMasks, FollowTheMaskSyntax) {
  struct Case { const char* mask; const char* name; bool matches; };
  for (const Case& c : std::initializer_list<Case>{
           {"*.txt", "a.txt", true},          {"*.txt", "A.TXT", true},           {"*.txt", "a.txt.bak", false},
           {"report<0-9>.doc", "report7.doc", true}, {"report<0-9>.doc", "reportx.doc", false},
           {"<!a-c>*", "apple", false},       {"<^a-c>*", "pear", true},          {"<z-a>", "m", false},
           {"*", "", true},                   {"*", "anything", true},            {"a?c", "ac", false},
           {"a?c", "abc", true},              {"*?", "a", false},                 {"*?", "ab", true},
           {"[x].txt", "[x].txt", true},      {"[x].txt", "x.txt", false},        {"a<bc", "ab", false},
           {"a*", "a", true},                 {"old\\*", "old\\x.dat", true},     {"*\\x.dat", "old\\x.dat", true}})
    EXPECT_EQ(MatchesMask(c.mask, c.name), c.matches) << c.mask << " " << c.name;
  EXPECT_TRUE(IsWildcardName("a|b"));
  EXPECT_FALSE(IsWildcardName("plain.txt"));
}

TEST(ZipFileUtils, ClampsDatesAndRoundsPercentages) {
  const uint32_t date0 = 0x00000000;  // date word 0: month 0, day 0
  EXPECT_EQ(ClampDosDateTime(date0) >> 16, (0u << 9) | (1u << 5) | 1u);
  const uint32_t badTime = (25u << 11) | (61u << 5) | 31u;  // 25:61:62
  EXPECT_EQ(ClampDosDateTime((0x21u << 16) | badTime) & 0xFFFF, (23u << 11) | (59u << 5) | 29u);
  const uint32_t fine = (uint32_t((44 << 9) | (6 << 5) | 15) << 16) | (12u << 11) | (30u << 5) | 10u;
  EXPECT_EQ(ClampDosDateTime(fine), fine);
  TDateTime d = 0;
  ASSERT_TRUE(DosDateTimeToDateTime(fine, d));
  EXPECT_EQ(DateTimeToDosDateTime(d), fine);

  struct Case { Int64 total, done; Integer percent; };
  for (const Case& c : std::initializer_list<Case>{{0, 5, 0}, {3, 1, 33}, {10, 20, 100}, {8, 1, 12}, {200, 1, 0}, {200, 3, 2}})
    EXPECT_EQ(Percent64(c.total, c.done), c.percent) << c.total << " " << c.done;
}

TEST(ZipBufferStream, SeeksPutsBackAndSwitchesBetweenReadingAndWriting) {
  TMemoryStream memory;
  memory.WriteBuffer(QByteArray("0123456789abcdefghij"));
  memory.SetPosition(0);
  TS_BufferStream stream(&memory, 8);
  char c[4] = {};
  ASSERT_EQ(stream.Read(c, 3), 3);
  stream.PutBack('X');
  ASSERT_EQ(stream.Read(c, 2), 2);
  EXPECT_EQ(QByteArray(c, 2), "X3");
  EXPECT_EQ(stream.Seek(-10, soEnd), 10);
  EXPECT_EQ(stream.Seek(10, soEnd), 10);
  EXPECT_THROW(stream.Seek(0, TSeekOrigin(7)), Exception);

  // Writing after reading lands at the logical position; reading again sees it.
  stream.Seek(4, soBeginning);
  ASSERT_EQ(stream.Read(c, 1), 1);
  ASSERT_EQ(stream.Write("WW", 2), 2);
  const Int64 before = memory.Size();
  stream.Seek(0, soCurrent);  // the current position keeps the pending bytes
  EXPECT_EQ(memory.Bytes().mid(5, 2), "56");
  stream.Seek(0, soBeginning);
  char all[20];
  ASSERT_EQ(stream.Read(all, 20), 20);
  EXPECT_EQ(QByteArray(all, 20), "01234WW789abcdefghij");
  EXPECT_EQ(memory.Size(), before);

  TS_BufferStream fresh(&memory, 8);
  EXPECT_THROW(fresh.PutBack('x'), EStreamError);
}

TEST(DirSearch, WalksDepthFirstAndMatchesExtensionlessNames) {
  ScratchDir scratch;
  WriteFile(scratch.File("a.txt"), "a");
  WriteFile(scratch.File("README"), "r");
  WriteFile(scratch.File("sub/b.txt"), "b");
  WriteFile(scratch.File("other/skip/c.txt"), "c");
  auto walk = [&](const QString& folder, bool recurse, const QString& pattern) {
    TDirSearch search(folder, recurse, pattern);
    QStringList found;
    Int64 size;
    for (QString f; !(f = search.NextFile(size)).isEmpty();) found << QDir(scratch.Path()).relativeFilePath(f) + (f.endsWith('/') ? "/" : "");
    return found;
  };
  EXPECT_EQ(walk(scratch.Path(), true, "*.txt"), (QStringList{"a.txt", "other/", "other/skip/", "other/skip/c.txt", "sub/", "sub/b.txt"}));
  EXPECT_EQ(walk(scratch.Path(), false, "*.txt"), QStringList{"a.txt"});
  EXPECT_EQ(walk(scratch.Path(), false, "*."), QStringList{"README"});
  EXPECT_EQ(walk(scratch.Path() + "/s*", false, "*"), QStringList{"sub/b.txt"});
}

TEST(ZipRecords, ReadAndWriteHeadersWithPathsAndNames) {
  TZipHeaderInfo info;
  info.SetDirectory("dir\\sub");
  info.SetFileName(QString::fromUtf8("工资.txt"));
  EXPECT_EQ(info.Directory(), "dir\\sub\\");
  EXPECT_EQ(info.FileNameLength, QByteArray("dir/sub/").size() + QString::fromUtf8("工资.txt").toUtf8().size());
  info.Crc32 = 0x12345678;
  TMemoryStream stream;
  info.WriteLocal(&stream);
  info.WriteCentral(&stream);
  stream.SetPosition(0);
  TZipHeaderInfo local, central;
  ASSERT_TRUE(local.ReadLocal(&stream));
  ASSERT_TRUE(central.ReadCentral(&stream));
  for (const TZipHeaderInfo* read : {&local, &central}) {
    EXPECT_EQ(read->Directory(), "dir\\sub\\");
    EXPECT_EQ(read->FileName(), QString::fromUtf8("工资.txt"));
    EXPECT_EQ(read->Crc32, 0x12345678u);
    EXPECT_TRUE(read->Flags & kFlagUtf8Name);
  }
  EXPECT_TRUE(stream.Bytes().contains("dir/sub/"));
  TZipHeaderInfo wrong;
  stream.SetPosition(1);
  EXPECT_FALSE(wrong.ReadCentral(&stream));
  EXPECT_EQ(stream.Position(), 1);

  // Names without the UTF-8 flag from MS-DOS hosts are code page 936.
  TMemoryStream gbk;
  info.SetDirectory("");
  info.SetFileName("a");
  info.VersionMadeBy = 20;
  info.WriteCentral(&gbk);
  QByteArray bytes = gbk.Bytes();
  bytes.append("\xB9\xA4\xD7\xCA");  // "a" followed by the GBK bytes of "工资"
  bytes[28] = 5;
  TMemoryStream patched;
  patched.WriteBuffer(bytes);
  patched.SetPosition(0);
  ASSERT_TRUE(central.ReadCentral(&patched));
  EXPECT_EQ(central.FileName(), QString::fromUtf8("a工资"));
}

TEST(ZipRecords, FindTheEndRecordNearestTheEnd) {
  TEndCentral end;
  TMemoryStream empty;
  EXPECT_TRUE(end.Find(&empty));
  for (int size = 1; size <= 21; size += 10) {
    TMemoryStream tiny;
    tiny.WriteBuffer(QByteArray(size, 'P'));
    EXPECT_FALSE(end.Find(&tiny)) << size;
  }
  TEndCentral written;
  written.TotalEntries = 3;
  static const char comment[] = "a comment with PK\x05\x06 inside";
  written.SetComment(QByteArray(comment, sizeof(comment) - 1));
  TMemoryStream stream;
  stream.WriteBuffer(QByteArray(100, 'x'));
  written.Write(&stream);
  ASSERT_TRUE(end.Find(&stream));
  EXPECT_EQ(end.TotalEntries, 3);
  EXPECT_EQ(end.CommentOffset, 100 + kEndCentralSize);
}

}  // namespace
