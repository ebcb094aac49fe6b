#include "platform/testing/TestPaths.h"
#include "zip/Inflate.h"
#include "zip/ZipCrc32.h"
#include "zip/ZipCrypt.h"
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>
#include <algorithm>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

class TBytesSource : public TByteSource {
public:
  explicit TBytesSource(const Bytes& Data, size_t From = 0) : FData(Data), FPos(From) {}
  size_t Read(uint8_t* Buffer, size_t Count) override {
    const size_t n = std::min(Count, FData.size() - FPos);
    std::copy_n(FData.data() + FPos, n, Buffer);
    FPos += n;
    return n;
  }
private:
  const Bytes& FData;
  size_t FPos;
};

class TBytesSink : public TByteSink {
public:
  void Write(const uint8_t* Buffer, size_t Count) override { Data.insert(Data.end(), Buffer, Buffer + Count); }
  Bytes Data;
};

uint32_t Le(const Bytes& B, size_t At, int Width) {
  uint32_t v = 0;
  for (int i = Width - 1; i >= 0; --i) v = (v << 8) | B.at(At + size_t(i));
  return v;
}

void PutLe(Bytes& B, uint32_t Value, int Width) {
  for (int i = 0; i < Width; ++i) B.push_back(uint8_t(Value >> (8 * i)));
}

Bytes ReadFile(const QString& Name) {
  QFile f(Name);
  EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << Name.toStdString();
  const QByteArray all = f.readAll();
  return Bytes(all.begin(), all.end());
}

int RunTool(const QString& Program, const QStringList& Args, const QString& Dir) {
  QProcess p;
  p.setWorkingDirectory(Dir);
  p.start(Program, Args);
  p.waitForFinished(60000);
  return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

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

// Both directions against the peer: its encrypted, deflated entry (written
// with a data descriptor) is checked and decoded here, and a stored entry
// encrypted here is extracted by it.
TEST(ZipCrypt, InteroperatesWithInfoZip) {
  moli::testing::ScratchDir dir;
  const Bytes plain = Sample();
  {
    QFile f(dir.File(QStringLiteral("slip.txt")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char*>(plain.data()), qint64(plain.size()));
  }
  ASSERT_EQ(RunTool(QStringLiteral("zip"), {QStringLiteral("-q"), QStringLiteral("-P"), QStringLiteral("pa55"),
                                        QStringLiteral("peer.zip"), QStringLiteral("slip.txt")},
                dir.Path()), 0);
  const Bytes zip = ReadFile(dir.File(QStringLiteral("peer.zip")));
  const uint16_t flags = uint16_t(Le(zip, 6, 2));
  ASSERT_EQ(flags & 9, 9) << "expected an encrypted entry with a data descriptor";
  const size_t data = 30 + Le(zip, 26, 2) + Le(zip, 28, 2);
  // The sizes and CRC live in the descriptor; only the time goes into the check byte.
  TZipCrypt crypt("pa55");
  ASSERT_TRUE(crypt.CheckHeader(&zip[data], TZipCrypt::CheckByteOf(flags, Le(zip, 10, 4), 0)));
  TBytesSource raw(zip, data + ZipCryptHeaderSize);
  TZipDecryptSource source(raw, crypt);
  TBytesSink out;
  // The archive's tail follows the deflate stream; the decoder stops at its last block.
  ASSERT_EQ(Inflate(source, out), TInflateResult::Ok);
  EXPECT_EQ(out.Data, plain);

  const uint32_t crc = ZipCrc32(plain.data(), plain.size());
  TZipCrypt writer("pa55");
  const auto header = writer.MakeHeader(crc);
  Bytes body(header.begin(), header.end());
  TBytesSink sealed;
  TZipEncryptSink sink(sealed, writer);
  sink.Write(plain.data(), plain.size());
  body.insert(body.end(), sealed.Data.begin(), sealed.Data.end());

  const Bytes name = {'o', 'u', 't', '.', 't', 'x', 't'};
  Bytes archive;
  PutLe(archive, 0x04034B50, 4);
  for (uint32_t v : {20u, 1u, 0u, 0u, 0x5021u}) PutLe(archive, v, 2);
  PutLe(archive, crc, 4);
  PutLe(archive, uint32_t(body.size()), 4);
  PutLe(archive, uint32_t(plain.size()), 4);
  PutLe(archive, uint32_t(name.size()), 2);
  PutLe(archive, 0, 2);
  archive.insert(archive.end(), name.begin(), name.end());
  archive.insert(archive.end(), body.begin(), body.end());
  const uint32_t central = uint32_t(archive.size());
  PutLe(archive, 0x02014B50, 4);
  for (uint32_t v : {20u, 20u, 1u, 0u, 0u, 0x5021u}) PutLe(archive, v, 2);
  PutLe(archive, crc, 4);
  PutLe(archive, uint32_t(body.size()), 4);
  PutLe(archive, uint32_t(plain.size()), 4);
  for (uint32_t v : {uint32_t(name.size()), 0u, 0u, 0u, 0u}) PutLe(archive, v, 2);
  PutLe(archive, 0x20, 4);
  PutLe(archive, 0, 4);
  archive.insert(archive.end(), name.begin(), name.end());
  const uint32_t centralSize = uint32_t(archive.size()) - central;
  PutLe(archive, 0x06054B50, 4);
  for (uint32_t v : {0u, 0u, 1u, 1u}) PutLe(archive, v, 2);
  PutLe(archive, centralSize, 4);
  PutLe(archive, central, 4);
  PutLe(archive, 0, 2);
  {
    QFile f(dir.File(QStringLiteral("ours.zip")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char*>(archive.data()), qint64(archive.size()));
  }
  ASSERT_EQ(RunTool(QStringLiteral("unzip"), {QStringLiteral("-q"), QStringLiteral("-P"), QStringLiteral("pa55"),
                                          QStringLiteral("ours.zip"), QStringLiteral("-d"), QStringLiteral("x")},
                dir.Path()), 0);
  EXPECT_EQ(ReadFile(dir.File(QStringLiteral("x/out.txt"))), plain);
  EXPECT_NE(RunTool(QStringLiteral("unzip"), {QStringLiteral("-q"), QStringLiteral("-P"), QStringLiteral("nope"),
                                          QStringLiteral("ours.zip"), QStringLiteral("-d"), QStringLiteral("y")},
                dir.Path()), 0);
}
