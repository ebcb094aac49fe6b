// A skin package carried in a form description.
#include "skin/SkinStream.h"
#include <gtest/gtest.h>

TEST(SkinStream, CarriesThePackageAfterItsCount) {
  TMemoryStream stream;
  WriteSkinStream(&stream, "package bytes");
  WriteSkinStream(&stream, QByteArray());
  EXPECT_EQ(stream.Bytes(), QByteArray("\x0d\0\0\0package bytes\0\0\0\0", 21));
  stream.SetPosition(0);
  EXPECT_EQ(ReadSkinStream(&stream), "package bytes");
  EXPECT_EQ(ReadSkinStream(&stream), QByteArray());
  EXPECT_EQ(stream.Position(), stream.Size());
}

TEST(SkinStream, NegativeCountReadsAsNothingAndAShortStreamRaises) {
  TMemoryStream negative;
  negative.WriteLittleEndian<int32_t>(-5);
  negative.SetPosition(0);
  EXPECT_EQ(ReadSkinStream(&negative), QByteArray());

  TMemoryStream cut;
  cut.WriteLittleEndian<int32_t>(0x7FFFFFFF);
  cut.WriteBuffer(QByteArray("abc"));
  cut.SetPosition(0);
  EXPECT_THROW(ReadSkinStream(&cut), EReadError);
}
