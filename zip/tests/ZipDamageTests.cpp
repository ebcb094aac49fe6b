// Damaged, truncated, foreign and hostile archives: failures raise, and no
// file outside the extraction folder (or already there) is harmed.
#include "ZipTestSupport.h"
#include "platform/testing/TestPaths.h"
#include "zip/ZipErrors.h"
#include "zip/ZipWriter.h"
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace ziptest;
using moli::testing::ScratchDir;

namespace {

TZipReader* Restorer(TZipReader& Reader, const QString& Archive, const QString& Dest) {
  Reader.SetDoAll(true);
  Reader.SetZipName(Archive);
  Reader.SetOverwriteMode(TUZOverwriteMode::Always);
  Reader.SetRecreateDirs(true);
  Reader.SetDestDir(Dest);
  return &Reader;
}

QString MakeArchive(const ScratchDir& Scratch, const QByteArray& Content) {
  const QString src = Scratch.File("src");
  WriteFile(src + "/data.bin", Content);
  const QString archive = Scratch.File("a.zip");
  TZipWriter writer;
  writer.SetZipName(archive);
  writer.SetRootDir(src);
  writer.FilesList()->Add("data.bin");
  EXPECT_EQ(writer.CompressFiles(), 1);
  return archive;
}

TEST(ZipDamage, AFlippedByteLeavesTheOldFileAndRaises) {
  for (const QByteArray& content : {TextBytes(200000, 1), RandomBytes(3000, 2)}) {
    ScratchDir scratch;
    const QString archive = MakeArchive(scratch, content);
    QByteArray bytes = ReadFile(archive);
    bytes[kLocalHeaderSize + 8 + 100] = char(bytes[kLocalHeaderSize + 8 + 100] ^ 0x5A);
    WriteFile(archive, bytes);

    const QString dest = scratch.File("dest");
    WriteFile(dest + "/data.bin", "the old file");
    uint32_t badCrcs = 0;
    TZipReader reader;
    reader.OnBadCRC = [&](TObject*, uint32_t, uint32_t, Integer) { ++badCrcs; };
    EXPECT_THROW(Restorer(reader, archive, dest)->ExtractFiles(), EBadZipEntry);
    EXPECT_EQ(ReadFile(dest + "/data.bin"), "the old file");
    EXPECT_EQ(QDir(dest).entryList(QDir::Files), QStringList{"data.bin"});  // no temporary left behind
    EXPECT_EQ(badCrcs, 1u);
    EXPECT_EQ(reader.FilesList()->Count(), 0);
  }
}

TEST(ZipDamage, TruncatedAndForeignArchivesRaise) {
  ScratchDir scratch;
  const QByteArray whole = ReadFile(MakeArchive(scratch, TextBytes(50000, 3)));
  const QString dest = scratch.File("dest");
  struct Case {
    const char* what;
    QByteArray bytes;
  };
  for (const Case& c : std::initializer_list<Case>{{"cut in the data", whole.left(200)},
                                                   {"cut in the directory", whole.left(whole.size() - 30)},
                                                   {"not a zip", QByteArray("just some text, no archive here")},
                                                   {"too short", QByteArray("PK")}}) {
    const QString archive = scratch.File("broken.zip");
    WriteFile(archive, c.bytes);
    TZipReader reader;
    EXPECT_ANY_THROW(Restorer(reader, archive, dest)->ExtractFiles()) << c.what;
    EXPECT_FALSE(QFile::exists(dest + "/data.bin")) << c.what;
  }
  // A directory offset that points past the end: the entries are found
  // again from their local headers.
  QByteArray lying = whole;
  const qsizetype end = lying.lastIndexOf(QByteArray("PK\x05\x06", 4));
  lying[end + 19] = char(0x70);
  const QString archive = scratch.File("lying.zip");
  WriteFile(archive, lying);
  TZipReader reader;
  EXPECT_EQ(Restorer(reader, archive, dest)->ExtractFiles(), 1);
  EXPECT_EQ(ReadFile(dest + "/data.bin"), TextBytes(50000, 3));
}

TEST(ZipDamage, NamesThatLeaveTheTargetFolderAreRefusedBeforeAnythingIsWritten) {
  ScratchDir scratch;
  const QString dest = scratch.File("inside/dest");
  QDir().mkpath(dest);
  for (const char* name : {"../x", "a/../../x", "/etc/x", "C:\\x", "C:x"}) {
    const QString archive = scratch.File("evil.zip");
    QFile::remove(archive);
    const QString script = QString(
        "import zipfile\n"
        "z = zipfile.ZipFile(r'%1', 'w')\n"
        "z.writestr('fine.txt', 'ok')\n"
        "i = zipfile.ZipInfo('x'); i.filename = r'%2'\n"
        "z.writestr(i, 'escaped')\n").arg(archive, name);
    ASSERT_EQ(RunTool("python3", {"-c", script}, scratch.Path()).ExitCode, 0) << name;
    TZipReader reader;
    EXPECT_THROW(Restorer(reader, archive, dest)->ExtractFiles(), EUnsafeZipEntry) << name;
    EXPECT_THROW(reader.EntryPaths(), EUnsafeZipEntry) << name;
    reader.SetRecreateDirs(false);
    EXPECT_EQ(QDir(dest).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList()) << name;
    EXPECT_FALSE(QFile::exists(scratch.File("inside/x"))) << name;
    EXPECT_FALSE(QFile::exists(scratch.File("x"))) << name;
  }
}

TEST(ZipDamage, FoldersReachedThroughSymbolicLinksAreRefused) {
  ScratchDir scratch;
  const QString dest = scratch.File("dest");
  const QString outside = scratch.File("outside");
  QDir().mkpath(dest);
  QDir().mkpath(outside);
  ASSERT_TRUE(QFile::link(outside, dest + "/link"));
  const QString archive = scratch.File("link.zip");
  const QString script = QString("import zipfile\nzipfile.ZipFile(r'%1', 'w').writestr('link/x.txt', 'escaped')\n").arg(archive);
  ASSERT_EQ(RunTool("python3", {"-c", script}, scratch.Path()).ExitCode, 0);
  TZipReader reader;
  EXPECT_THROW(Restorer(reader, archive, dest)->ExtractFiles(), EUnsafeZipEntry);
  EXPECT_FALSE(QFile::exists(outside + "/x.txt"));
}

TEST(ZipDamage, AFailedUpdateLeavesTheOldArchiveWhole) {
  ScratchDir scratch;
  const QString archive = MakeArchive(scratch, TextBytes(20000, 4));
  const QByteArray before = ReadFile(archive);
  WriteFile(scratch.File("src/second.txt"), TextBytes(1000, 5));
  TZipWriter writer;
  writer.SetZipName(archive);
  writer.SetRootDir(scratch.File("src"));
  writer.FilesList()->Add("second.txt");
  writer.OnStartZipInfo = [](TObject*, Integer, Int64, TEndCentral&, bool& StopNow) { StopNow = true; };
  EXPECT_THROW(writer.CompressFiles(), EUserCanceled);
  EXPECT_EQ(ReadFile(archive), before);
  EXPECT_EQ(QDir(scratch.Path()).entryList({"ZTP*"}, QDir::Files), QStringList());
  EXPECT_EQ(writer.FilesList()->Count(), 0);

  // An archive that is not one stays as it is too.
  WriteFile(archive, "not an archive");
  writer.FilesList()->Add("second.txt");
  writer.SetIncompleteZipMode(izAssumeNotAZip);
  EXPECT_THROW(writer.CompressFiles(), ENotAZipFile);
  EXPECT_EQ(ReadFile(archive), "not an archive");
}

}  // namespace

namespace {

TEST(ZipLimits, WhatTheFormatCannotHoldIsRefusedInsteadOfWrapped) {
  ScratchDir scratch;
  const QString archive = scratch.File("big.zip");
  {
    // A sparse file one byte past 4 GiB costs no disk space.
    QFile huge(scratch.File("src/huge.bin"));
    QDir().mkpath(scratch.File("src"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize(Int64(0xFFFFFFFF) + 1));
  }
  TZipWriter writer;
  writer.SetZipName(archive);
  writer.SetRootDir(scratch.File("src"));
  writer.FilesList()->Add("huge.bin");
  EXPECT_THROW(writer.CompressFiles(), EZipTooLarge);
  EXPECT_FALSE(QFile::exists(archive));

  // Folder lines need no folder on disk: a cheap way to ask for 65 536 entries.
  writer.SetStorePaths(true);
  for (int i = 0; i <= 0xFFFF; ++i) writer.FilesList()->Add(QString("d%1/").arg(i));
  EXPECT_THROW(writer.CompressFiles(), EZipTooLarge);
  EXPECT_FALSE(QFile::exists(archive));
  EXPECT_EQ(QDir(scratch.Path()).entryList({"ZTP*"}, QDir::Files), QStringList());
}

}  // namespace

namespace {

// Runs a Python script that writes an archive to the path given as its argument.
void CraftArchive(const ScratchDir& Scratch, const QString& Archive, const QString& Script) {
  const TProcessResult made = RunTool("python3", {"-c", Script, Archive}, Scratch.Path());
  ASSERT_EQ(made.ExitCode, 0) << made.Output.toStdString();
}

TEST(ZipHostile, ANulInANameIsRefusedBeforeAnythingIsWritten) {
  ScratchDir scratch;
  const QString dest = scratch.File("dest");
  WriteFile(dest + "/victim.txt", "keep me");
  QFile::setPermissions(dest + "/victim.txt", QFile::ReadOwner);
  const QString archive = scratch.File("nul.zip");
  CraftArchive(scratch, archive,
               "import sys, zipfile\n"
               "z = zipfile.ZipFile(sys.argv[1], 'w')\n"
               "i = zipfile.ZipInfo('x'); i.filename = 'victim.txt' + chr(0) + '.png'\n"
               "z.writestr(i, 'replaced')\n"
               "z.close()\n");
  for (TUZOverwriteMode mode : {TUZOverwriteMode::Never, TUZOverwriteMode::Always}) {
    TZipReader reader;
    Restorer(reader, archive, dest)->SetOverwriteMode(mode);
    EXPECT_THROW(reader.ExtractFiles(), EUnsafeZipEntry);
    EXPECT_EQ(ReadFile(dest + "/victim.txt"), "keep me");
    EXPECT_EQ(QDir(dest).entryList(QDir::Files), QStringList{"victim.txt"});
  }
}

TEST(ZipHostile, EntriesThatShareDataAreRefused) {
  ScratchDir scratch;
  const QString archive = scratch.File("overlap.zip");
  // a.txt holds b.txt's local header and data: one set of bytes, two entries.
  CraftArchive(scratch, archive,
               "import sys, struct, zlib\n"
               "def local(name, data):\n"
               "    return struct.pack('<IHHHHHIIIHH', 0x04034b50, 20, 0, 0, 0, 0x21, zlib.crc32(data), len(data),\n"
               "                       len(data), len(name), 0) + name + data\n"
               "def central(name, data, offset):\n"
               "    return struct.pack('<IHHHHHHIIIHHHHHII', 0x02014b50, 20, 20, 0, 0, 0, 0x21, zlib.crc32(data),\n"
               "                       len(data), len(data), len(name), 0, 0, 0, 0, 0, offset) + name\n"
               "inner = local(b'b.txt', b'hello')\n"
               "blob = local(b'a.txt', inner)\n"
               "cd = central(b'a.txt', inner, 0) + central(b'b.txt', b'hello', 35)\n"
               "end = struct.pack('<IHHHHIIH', 0x06054b50, 0, 0, 2, 2, len(cd), len(blob), 0)\n"
               "open(sys.argv[1], 'wb').write(blob + cd + end)\n");
  const QString dest = scratch.File("dest");
  TZipReader reader;
  EXPECT_THROW(Restorer(reader, archive, dest)->ExtractFiles(), EBadZipFile);
  EXPECT_EQ(Tree(dest).keys(), QStringList());
}

TEST(ZipHostile, MoreEntriesThanTheOldCountHoldsAreNeverDropped) {
  ScratchDir scratch;
  const QString archive = scratch.File("many.zip");
  CraftArchive(scratch, archive,
               "import sys, zipfile\n"
               "with zipfile.ZipFile(sys.argv[1], 'w') as z:\n"
               "    for i in range(70000): z.writestr('f%d' % i, '')\n");
  TZipReader reader;
  reader.SetZipName(archive);
  reader.ReadZip();
  EXPECT_EQ(reader.Count(), 70000);

  // The same archive from a writer that lets the 16-bit count wrap and adds no 64-bit record.
  QByteArray bytes = ReadFile(archive);
  const qsizetype zip64 = bytes.lastIndexOf(QByteArray("PK\x06\x06", 4));
  const qsizetype end = bytes.lastIndexOf(QByteArray("PK\x05\x06", 4));
  ASSERT_GT(zip64, 0);
  QByteArray wrapped = bytes.left(zip64) + bytes.mid(end);
  const qsizetype count = zip64 + 8;
  for (qsizetype at : {count, count + 2}) {
    wrapped[at] = char(70000 & 0xFF);
    wrapped[at + 1] = char((70000 >> 8) & 0xFF);
  }
  WriteFile(archive, wrapped);
  TZipReader wrappedReader;
  wrappedReader.SetZipName(archive);
  EXPECT_THROW(wrappedReader.ReadZip(), EZipTooLarge);
}

}  // namespace
