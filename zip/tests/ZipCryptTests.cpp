#include "ZipTestSupport.h"
#include "platform/testing/TestPaths.h"
#include "zip/ZipCrc32.h"
#include "zip/ZipCrypt.h"
#include "zip/ZipWriter.h"
#include <QDir>
#include <QtEndian>
#include <gtest/gtest.h>
#include <vector>

using namespace ziptest;
using moli::testing::ScratchDir;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Sample() {
  Bytes b;
  for (int i = 0; i < 5000; ++i) b.push_back(uint8_t("payroll slip 工资 "[i % 20] + i / 700));
  return b;
}

}  // namespace

TEST(ZipCrypt, HeaderChecksOnlyWithTheRightPasswordAndDataRoundTrips) {
  const Bytes plain = Sample();
  const uint32_t crc = ZipCrc32(plain.data(), plain.size());
  TZipCrypt writer("s3cret");
  const auto header = writer.MakeHeader(crc);
  Bytes cipher = plain;
  writer.Encrypt(cipher.data(), cipher.size());
  EXPECT_NE(cipher, plain);

  TZipCrypt reader("s3cret");
  ASSERT_TRUE(reader.CheckHeader(header.data(), uint8_t(crc >> 24)));
  reader.Decrypt(cipher.data(), cipher.size());
  EXPECT_EQ(cipher, plain);

  // A fixed header, so the outcome for a wrong password does not depend on the random bytes.
  const uint8_t fixed[ZipCryptHeaderSize] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0x5A, 0xA5};
  uint8_t sealed[ZipCryptHeaderSize];
  std::copy(std::begin(fixed), std::end(fixed), sealed);
  TZipCrypt(QByteArray("right")).Encrypt(sealed, ZipCryptHeaderSize);
  EXPECT_TRUE(TZipCrypt("right").CheckHeader(sealed, 0xA5));
  EXPECT_FALSE(TZipCrypt("wrong").CheckHeader(sealed, 0xA5));
  EXPECT_FALSE(TZipCrypt("").CheckHeader(sealed, 0xA5));
}

TEST(ZipCrypt, CheckByteComesFromTheTimeWhenADataDescriptorFollows) {
  EXPECT_EQ(TZipCrypt::CheckByteOf(0x0001, 0x1234ABCDu, 0x89ABCDEFu), 0x89);
  EXPECT_EQ(TZipCrypt::CheckByteOf(0x0009, 0x1234ABCDu, 0x89ABCDEFu), 0xAB);
}

namespace {

struct TExtracted {
  Integer Count = 0;
  QStringList Skipped;  // stored names reported with srBadPassword
};

TExtracted Extract(const QString& Archive, const QString& Dest, const QString& Password,
                   TBadPasswordEvent OnBadPassword = {}) {
  TZipReader reader;
  reader.SetZipName(Archive);
  reader.SetDoAll(true);
  reader.SetRecreateDirs(true);
  reader.SetOverwriteMode(TUZOverwriteMode::Always);
  reader.SetDestDir(Dest);
  reader.SetPassword(Password);
  reader.OnBadPassword = std::move(OnBadPassword);
  TExtracted result;
  reader.OnSkippingFile = [&](TObject*, TSkipReason Reason, const String& FName, Integer, bool&) {
    if (Reason == srBadPassword) result.Skipped << FName;
  };
  result.Count = reader.ExtractFiles();
  return result;
}

void ExpectNoFiles(const QString& Folder) {
  for (const QString& name : Tree(Folder).keys()) EXPECT_TRUE(name.endsWith('/')) << name.toStdString();
}

}  // namespace

// Both directions against the peers: what we encrypt (stored and deflated)
// they extract with the password, and what Info-ZIP encrypts (with a data
// descriptor, so the check byte comes from the time) we extract.
TEST(ZipCrypt, EncryptedArchivesTravelBothWays) {
  ScratchDir scratch;
  const QString src = scratch.File("src");
  MakeCorpus(src);
  const auto expected = Tree(src);
  for (Integer level : {0, 6}) {
    const QString ours = scratch.File(QString("ours%1.zip").arg(level));
    TZipWriter writer;
    writer.SetZipName(ours);
    writer.SetRelativePaths(true);
    writer.SetRootDir(src);
    writer.SetPackLevel(level);
    writer.SetPassword("pa55");
    writer.FilesList()->Add("*.*");
    ASSERT_EQ(writer.CompressFiles(), 5);
    const QString out = scratch.File(QString("unzip%1").arg(level));
    const TProcessResult unzipped = RunTool("unzip", {"-q", "-P", "pa55", ours, "-d", out}, scratch.Path());
    ASSERT_EQ(unzipped.ExitCode, 0) << unzipped.Output.toStdString();
    EXPECT_EQ(TreeDiff(Tree(out), expected), "") << "level " << level;
    EXPECT_NE(RunTool("unzip", {"-q", "-P", "nope", ours, "-d", out + "-wrong"}, scratch.Path()).ExitCode, 0);
    const QString back = scratch.File(QString("back%1").arg(level));
    EXPECT_EQ(Extract(ours, back, "pa55").Count, 5);
    EXPECT_EQ(TreeDiff(Tree(back), expected), "") << "level " << level;
  }

  const QString peer = scratch.File("peer.zip");
  ASSERT_EQ(RunTool("zip", {"-q", "-r", "-P", "pa55", peer, "."}, src).ExitCode, 0);
  const QString out = scratch.File("peer-out");
  const TExtracted extracted = Extract(peer, out, "pa55");
  EXPECT_TRUE(extracted.Skipped.isEmpty()) << extracted.Skipped.join(", ").toStdString();
  EXPECT_EQ(TreeDiff(Tree(out), expected), "");

  // Kept in an update, the peer's entries keep their descriptor flag, and so need their descriptors.
  WriteFile(src + "/added.txt", TextBytes(2000, 9));
  TZipWriter update;
  update.SetZipName(peer);
  update.SetRootDir(src);
  update.SetPassword("pa55");
  update.FilesList()->Add("added.txt");
  ASSERT_EQ(update.CompressFiles(), 1);
  const TProcessResult tested = RunTool("unzip", {"-tq", "-P", "pa55", peer}, scratch.Path());
  EXPECT_EQ(tested.ExitCode, 0) << tested.Output.toStdString();
}

// A wrong password is reported for every entry and nothing reaches the
// folder, also when it happens to pass the one-byte header check and only
// the CRC shows it; OnBadPassword can supply the right one.
TEST(ZipCrypt, WrongPasswordSkipsEachEntryAndWritesNothing) {
  ScratchDir scratch;
  const QString src = scratch.File("src");
  MakeCorpus(src);
  const QString peer = scratch.File("peer.zip");
  ASSERT_EQ(RunTool("zip", {"-q", "-r", "-P", "pa55", peer, "."}, src).ExitCode, 0);

  const TExtracted wrong = Extract(peer, scratch.File("wrong"), "guess");
  EXPECT_EQ(wrong.Count, 2);  // the two folders
  EXPECT_EQ(wrong.Skipped.size(), 5);
  ExpectNoFiles(scratch.File("wrong"));

  // A password the check byte of notes.txt lets through, found by trying.
  const QByteArray zip = ReadFile(peer);
  qsizetype at = -1;
  do at = zip.indexOf("PK\x03\x04", at + 1);
  while (at >= 0 && zip.mid(at + 30, 9) != "notes.txt");
  ASSERT_GE(at, 0);
  const auto* local = reinterpret_cast<const uint8_t*>(zip.constData()) + at;
  const uint16_t flags = qFromLittleEndian<uint16_t>(local + 6);
  ASSERT_TRUE(flags & 8);
  const uint8_t check = TZipCrypt::CheckByteOf(flags, qFromLittleEndian<uint32_t>(local + 10), 0);
  const uint8_t* header = local + 30 + qFromLittleEndian<uint16_t>(local + 26) + qFromLittleEndian<uint16_t>(local + 28);
  QString lucky;
  for (int i = 0; lucky.isEmpty(); ++i) {
    const QString candidate = QString("w%1").arg(i);
    if (TZipCrypt(candidate.toLatin1()).CheckHeader(header, check)) lucky = candidate;
  }
  TZipReader reader;
  reader.SetZipName(peer);
  reader.SetDestDir(scratch.File("lucky"));
  reader.SetPassword(lucky);
  reader.FilesList()->Add("notes.txt");
  QStringList skipped;
  reader.OnSkippingFile = [&](TObject*, TSkipReason Reason, const String& FName, Integer, bool&) {
    if (Reason == srBadPassword) skipped << FName;
  };
  EXPECT_EQ(reader.ExtractFiles(), 0);
  EXPECT_EQ(skipped, QStringList{"notes.txt"});
  ExpectNoFiles(scratch.File("lucky"));

  int asked = 0;
  const TExtracted helped = Extract(peer, scratch.File("helped"), "guess", [&](TObject*, Integer, String& NewPassword) {
    ++asked;
    NewPassword = "pa55";
  });
  EXPECT_EQ(helped.Count, 7);
  EXPECT_EQ(asked, 1);  // the new password stays for the entries after
  EXPECT_EQ(TreeDiff(Tree(scratch.File("helped")), Tree(src)), "");
}

// An application cipher replaces the built-in one for the data of packed
// entries on both sides; the header stays the built-in one.
TEST(ZipCrypt, ApplicationCipherReplacesTheBuiltInOneForPackedData) {
  ScratchDir scratch;
  const QString src = scratch.File("src");
  WriteFile(src + "/a.txt", TextBytes(30000, 11));
  WriteFile(src + "/b.txt", TextBytes(9000, 12));
  const auto flip = [](uint8_t* Buffer, Integer Length) {
    for (Integer i = 0; i < Length; ++i) Buffer[i] ^= 0x5A;
  };
  int encrypted = 0;
  TZipWriter writer;
  writer.SetZipName(scratch.File("app.zip"));
  writer.SetRootDir(src);
  writer.SetPassword("pa55");
  writer.OnEncrypt = [&](TObject*, uint8_t* Buffer, Integer Length, const String& Password) {
    EXPECT_EQ(Password, "pa55");
    ++encrypted;
    flip(Buffer, Length);
  };
  writer.FilesList()->Add("*.txt");
  ASSERT_EQ(writer.CompressFiles(), 2);
  EXPECT_GT(encrypted, 0);

  TZipReader reader;
  reader.SetZipName(scratch.File("app.zip"));
  reader.SetDoAll(true);
  reader.SetDestDir(scratch.File("out"));
  reader.SetPassword("pa55");
  reader.OnDecrypt = [&](TObject*, uint8_t* Buffer, Integer Length, const String&) { flip(Buffer, Length); };
  EXPECT_EQ(reader.ExtractFiles(), 2);
  EXPECT_EQ(TreeDiff(Tree(scratch.File("out")), Tree(src)), "");
}
