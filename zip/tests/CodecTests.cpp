#include "zip/Deflate.h"
#include "zip/Inflate.h"
#include "zip/ZipCrc32.h"
#include "platform/testing/CodecPeers.h"
#include <gtest/gtest.h>
#include <zlib.h>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace codecpeers;

Bytes TextLike(size_t Size, unsigned Seed) {
  static const char* words[] = {"工资", "salary ", "net ", "tax ", "department ", "0.00 ", "1234.50 ", "\r\n", "name,", "扣款"};
  std::mt19937 rng(Seed);
  Bytes out;
  while (out.size() < Size) {
    const std::string w = words[rng() % 10];
    out.insert(out.end(), w.begin(), w.end());
  }
  out.resize(Size);
  return out;
}

Bytes Random(size_t Size, unsigned Seed) {
  std::mt19937 rng(Seed);
  Bytes out(Size);
  for (auto& b : out) b = uint8_t(rng());
  return out;
}

Bytes RawDeflateWithZlib(const Bytes& In, int Level) { return ZlibDeflate(In, Level); }

bool RawInflateWithZlib(const Bytes& In, Bytes& Out, size_t Expected) {
  Out.assign(Expected + 1, 0);
  size_t produced = 0;
  const bool ok = ZlibInflate(In, Out.data(), Out.size(), produced);
  Out.resize(produced);
  return ok;
}

TInflateResult InflateBytes(const Bytes& In, Bytes& Out) {
  TMemorySource source(In, 1000);
  TMemorySink sink;
  const TInflateResult r = Inflate(source, sink);
  Out = sink.Data;
  return r;
}

TEST(ZipCrc32, MatchesTheReferenceValues) {
  const std::string check = "123456789";
  EXPECT_EQ(ZipCrc32(reinterpret_cast<const uint8_t*>(check.data()), check.size()), 0xCBF43926u);
  EXPECT_EQ(ZipCrc32(nullptr, 0), 0u);
  const Bytes data = Random(100003, 1);
  uint32_t running = 0xFFFFFFFFu;
  running = ZipCrcUpdate(running, data.data(), 5);
  running = ZipCrcUpdate(running, data.data() + 5, data.size() - 5);
  EXPECT_EQ(~running, uint32_t(crc32(0, data.data(), uInt(data.size()))));
}

TEST(Inflate, DecodesWhatZlibWritesAtEveryLevel) {
  const std::vector<Bytes> inputs = {Bytes{}, TextLike(300000, 2), Random(70000, 3), Bytes(200000, 'a')};
  for (const Bytes& in : inputs)
    for (int level : {0, 1, 6, 9}) {
      Bytes out;
      ASSERT_EQ(InflateBytes(RawDeflateWithZlib(in, level), out), TInflateResult::Ok) << level << " " << in.size();
      EXPECT_EQ(out, in) << level << " " << in.size();
    }
}

TEST(Inflate, ReportsDamageWithoutReadingPastTheInput) {
  const Bytes good = RawDeflateWithZlib(TextLike(50000, 4), 6);
  Bytes out;
  struct Case { const char* what; Bytes data; };
  Bytes badStored = {0x01, 0x05, 0x00, 0x00, 0x00, 'h', 'e', 'l', 'l', 'o'};  // NLEN is not ~LEN
  Bytes reservedType = {0x07};
  Bytes farDistance = {0x03, 0x02, 0x00};  // fixed block whose first symbol copies from before the start
  for (const Case& c : std::initializer_list<Case>{{"truncated", Bytes(good.begin(), good.begin() + long(good.size() / 2))},
                                                   {"empty", Bytes{}},
                                                   {"bad stored length", badStored},
                                                   {"reserved block type", reservedType}}) {
    EXPECT_NE(InflateBytes(c.data, out), TInflateResult::Ok) << c.what;
  }
  EXPECT_NE(InflateBytes(farDistance, out), TInflateResult::Ok);
}

TEST(Deflate, RoundTripsThroughZlibAtEveryLevel) {
  TDeflater deflater;
  const std::vector<Bytes> inputs = {TextLike(400000, 6), Random(100000, 7), Bytes(300000, 0), TextLike(5, 8)};
  for (const Bytes& in : inputs)
    for (int level = 1; level <= 9; ++level) {
      TMemorySource source(in, 7919);
      TMemorySink sink;
      const TDeflateResult r = deflater.Deflate(source, sink, level);
      EXPECT_EQ(r.CompressedSize, sink.Data.size());
      if (r.Stored) {
        EXPECT_EQ(sink.Data, in);
        continue;
      }
      Bytes back;
      ASSERT_TRUE(RawInflateWithZlib(sink.Data, back, in.size())) << level << " " << in.size();
      EXPECT_EQ(back, in) << level;
      Bytes ours;
      ASSERT_EQ(InflateBytes(sink.Data, ours), TInflateResult::Ok);
      EXPECT_EQ(ours, in);
    }
}

TEST(Deflate, StoresWhatDoesNotShrinkAndJudgesText) {
  TDeflater deflater;
  struct Case { Bytes data; bool stored; bool text; };
  for (const Case& c : std::initializer_list<Case>{{Random(10, 9), true, false},
                                                   {Bytes{}, true, false},
                                                   {TextLike(20000, 10), false, true},
                                                   {Random(20000, 11), true, false}}) {
    TMemorySource source(c.data);
    TMemorySink sink;
    const TDeflateResult r = deflater.Deflate(source, sink, 6);
    EXPECT_EQ(r.Stored, c.stored) << c.data.size();
    if (!c.data.empty()) {
      EXPECT_EQ(r.Text, c.text) << c.data.size();
    }
    if (r.Stored) {
      EXPECT_EQ(r.CompressedSize, c.data.size());
    }
  }
  EXPECT_EQ(TDeflater::LevelFlags(1), 4);
  EXPECT_EQ(TDeflater::LevelFlags(2), 4);
  EXPECT_EQ(TDeflater::LevelFlags(6), 0);
  EXPECT_EQ(TDeflater::LevelFlags(9), 2);
}

TEST(Deflate, CompressesAboutAsWellAsZlib) {
  TDeflater deflater;
  const Bytes in = TextLike(1 << 20, 12);
  TMemorySource source(in);
  TMemorySink sink;
  deflater.Deflate(source, sink, 6);
  const double ratio = double(sink.Data.size()) / double(RawDeflateWithZlib(in, 6).size());
  EXPECT_LT(ratio, 1.01);
}

}  // namespace
