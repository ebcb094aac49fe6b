#include "platform/rtl/Classes.h"
#include "platform/testing/TestPaths.h"
#include <QFile>
#include <gtest/gtest.h>

namespace {

QByteArray FileBytes(const QString& Path) {
  QFile f(Path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

TEST(MemoryStream, ReadWriteSeekAndSize) {
  TMemoryStream s;
  s.WriteBuffer(QByteArray("hello"));
  EXPECT_EQ(s.Position(), 5);
  EXPECT_EQ(s.Size(), 5);
  EXPECT_EQ(s.Seek(-2, soEnd), 3);
  char two[2];
  EXPECT_EQ(s.Read(two, 2), 2);
  EXPECT_EQ(QByteArray(two, 2), "lo");
  EXPECT_EQ(s.Read(two, 2), 0);
  EXPECT_THROW(s.ReadBuffer(two, 1), EReadError);

  s.SetPosition(7);  // writing past the end leaves a zero-filled gap
  s.WriteBuffer(QByteArray("!"));
  EXPECT_EQ(s.Bytes(), QByteArray("hello\0\0!", 8));
  s.SetSize(2);
  EXPECT_EQ(s.Position(), 2);
  EXPECT_EQ(s.Bytes(), "he");
  EXPECT_GE(s.Capacity(), 8);
}

TEST(MemoryStream, APositionBeforeTheStartReadsAndWritesNothing) {
  TMemoryStream s;
  s.WriteBuffer(QByteArray("abc"));
  EXPECT_EQ(s.Seek(-10, soCurrent), -7);
  char byte = 'x';
  EXPECT_EQ(s.Read(&byte, 1), 0);
  EXPECT_EQ(byte, 'x');
  EXPECT_THROW(s.ReadBuffer(&byte, 1), EReadError);
  EXPECT_EQ(s.Write("z", 1), 0);
  EXPECT_EQ(s.Bytes(), "abc");
}

TEST(MemoryStream, LittleEndianValuesRoundTrip) {
  TMemoryStream s;
  s.WriteLittleEndian<uint16_t>(0x1234);
  s.WriteLittleEndian<int32_t>(-2);
  s.WriteLittleEndian<int64_t>(0x0102030405060708);
  EXPECT_EQ(s.Bytes().left(6), QByteArray("\x34\x12\xFE\xFF\xFF\xFF", 6));
  s.SetPosition(0);
  EXPECT_EQ(s.ReadLittleEndian<uint16_t>(), 0x1234);
  EXPECT_EQ(s.ReadLittleEndian<int32_t>(), -2);
  EXPECT_EQ(s.ReadLittleEndian<int64_t>(), 0x0102030405060708);
  EXPECT_THROW(s.ReadLittleEndian<Byte>(), EReadError);
}

TEST(Stream, CopyFromCopiesACountOrTheWholeSource) {
  TStringStream source("abcdef");
  source.SetPosition(2);
  TMemoryStream part;
  EXPECT_EQ(part.CopyFrom(&source, 3), 3);
  EXPECT_EQ(part.Bytes(), "cde");
  TMemoryStream whole;
  EXPECT_EQ(whole.CopyFrom(&source, 0), 6);
  EXPECT_EQ(whole.Bytes(), "abcdef");
  source.SetPosition(4);
  EXPECT_THROW(part.CopyFrom(&source, 5), EReadError);
}

TEST(StringStream, HoldsUtf8) {
  TStringStream s(QString::fromUtf8("工资"));
  EXPECT_EQ(s.Size(), 6);
  s.Seek(0, soEnd);
  s.WriteBuffer(QByteArray("ok"));
  EXPECT_EQ(s.DataString(), QString::fromUtf8("工资ok"));
}

TEST(FileStream, ModesCreateOpenAndRefuse) {
  moli::testing::ScratchDir dir;
  const QString path = dir.File("data.bin");
  EXPECT_THROW(TFileStream(path, fmOpenRead), EFOpenError);
  {
    TFileStream created(path, fmCreate);
    created.WriteBuffer(QByteArray("0123456789"));
  }
  {
    TFileStream writer(path, fmOpenWrite | fmShareDenyWrite);  // opening for writing keeps the content
    EXPECT_EQ(writer.Size(), 10);
    writer.Seek(-1, soEnd);
    writer.WriteBuffer(QByteArray("X"));
  }
  EXPECT_EQ(FileBytes(path), "012345678X");
  {
    TFileStream reader(path, fmOpenRead | fmShareDenyNone);
    char c;
    EXPECT_THROW(reader.WriteBuffer("y", 1), EWriteError);
    reader.SetPosition(3);
    reader.ReadBuffer(&c, 1);
    EXPECT_EQ(c, '3');
  }
  {
    TFileStream both(path, fmOpenReadWrite);
    both.SetSize(4);
    EXPECT_EQ(both.Size(), 4);
  }
  EXPECT_EQ(FileBytes(path), "0123");
  {
    TFileStream truncated(path, fmCreate);
  }
  EXPECT_EQ(FileBytes(path), "");
  EXPECT_THROW(TFileStream(dir.File("no/such/folder.bin"), fmCreate), EFCreateError);
  EXPECT_THROW(TFileStream(dir.Path(), fmOpenRead), EFOpenError);
}

TEST(MemoryStream, FileRoundTrip) {
  moli::testing::ScratchDir dir;
  TMemoryStream out;
  out.WriteBuffer(QByteArray("\x00\x01\xFF", 3));
  out.SaveToFile(dir.File("m.bin"));
  TMemoryStream in;
  in.LoadFromFile(dir.File("m.bin"));
  EXPECT_EQ(in.Bytes(), QByteArray("\x00\x01\xFF", 3));
  EXPECT_EQ(in.Position(), 0);
}

}  // namespace
