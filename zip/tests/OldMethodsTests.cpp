#include "platform/testing/TestPaths.h"
#include "zip/OldMethods.h"
#include "zip/OldMethodsIO.h"
#include "zip/ZipReader.h"
#include <QFile>
#include <gtest/gtest.h>
#include <algorithm>
#include <random>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

class TBytesSource : public TByteSource {
public:
  explicit TBytesSource(const Bytes& Data) : FData(Data) {}
  size_t Read(uint8_t* Buffer, size_t Count) override {
    const size_t n = std::min(Count, FData.size() - FPos);
    std::copy_n(FData.data() + FPos, n, Buffer);
    FPos += n;
    return n;
  }
private:
  const Bytes& FData;
  size_t FPos = 0;
};

// Refuses to grow past a limit, as extraction refuses more than the declared size.
class TCappedSink : public TByteSink {
public:
  explicit TCappedSink(size_t Limit) : FLimit(Limit) {}
  void Write(const uint8_t* Buffer, size_t Count) override {
    if (Data.size() + Count > FLimit) throw Exception(QStringLiteral("output over its limit"));
    Data.insert(Data.end(), Buffer, Buffer + Count);
  }
  Bytes Data;
private:
  size_t FLimit;
};

QString FixturePath(const QString& Name) {
  return moli::testing::SourceDir() + QStringLiteral("/zip/tests/fixtures/old-methods/") + Name;
}

Bytes FixtureBytes(const QString& Name) {
  QFile f(FixturePath(Name));
  EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << Name.toStdString();
  const QByteArray all = f.readAll();
  return Bytes(all.begin(), all.end());
}

uint32_t Le(const Bytes& B, size_t At, int Width) {
  uint32_t v = 0;
  for (int i = Width - 1; i >= 0; --i) v = (v << 8) | B.at(At + size_t(i));
  return v;
}

// The single entry of a fixture archive, taken from its local header.
struct TEntry {
  uint16_t Flags, Method;
  uint32_t Size;
  Bytes Packed;
};

TEntry OnlyEntry(const QString& Name) {
  const Bytes zip = FixtureBytes(Name);
  const size_t data = 30 + Le(zip, 26, 2) + Le(zip, 28, 2);
  const uint32_t packed = Le(zip, 18, 4);
  return {uint16_t(Le(zip, 6, 2)), uint16_t(Le(zip, 8, 2)), Le(zip, 22, 4),
          Bytes(zip.begin() + ptrdiff_t(data), zip.begin() + ptrdiff_t(data + packed))};
}

void Decode(uint16_t Method, uint16_t Flags, uint32_t Size, const Bytes& Packed, TByteSink& Out) {
  TBytesSource in(Packed);
  ASSERT_TRUE(DecodeOlderMethod(Method, Flags, Size, in, Out));
}

const char* const kFixtures[] = {
    "shrunk",         "shrunk-partial-clear", "reduced-1",          "reduced-2-followers", "reduced-3-followers",
    "reduced-4",      "imploded-4k-2trees",   "imploded-4k-3trees", "imploded-8k-2trees",  "imploded-8k-3trees",
};

class TBitWriter {
public:
  void Put(uint32_t Value, unsigned Count) {
    for (unsigned i = 0; i < Count; ++i, ++FBits) {
      if (FBits % 8 == 0) Data.push_back(0);
      Data.back() |= uint8_t(((Value >> i) & 1) << (FBits % 8));
    }
  }
  Bytes Data;
private:
  unsigned FBits = 0;
};

}  // namespace

TEST(OldMethods, ExtractionDecodesEveryOlderMethod) {
  moli::testing::ScratchDir dir;
  for (const char* name : kFixtures) {
    TZipReader reader;
    reader.SetZipName(FixturePath(QString::fromLatin1(name) + QStringLiteral(".zip")));
    reader.SetDoAll(true);
    reader.SetDestDir(dir.File(QString::fromLatin1(name)));
    ASSERT_EQ(reader.ExtractFiles(), 1) << name;
    QFile out(dir.File(QString::fromLatin1(name) + QStringLiteral("/sample.txt")));
    ASSERT_TRUE(out.open(QIODevice::ReadOnly)) << name;
    const QByteArray bytes = out.readAll();
    EXPECT_EQ(Bytes(bytes.begin(), bytes.end()), FixtureBytes(QString::fromLatin1(name) + QStringLiteral(".txt"))) << name;
  }
}

// Cut short or damaged, a stream either raises the decoder's own error or
// ends with wrong bytes; it never overruns, hangs or raises anything else.
TEST(OldMethods, DamagedStreamsFailCleanly) {
  std::mt19937 rng(7);
  for (const char* name : kFixtures) {
    const TEntry e = OnlyEntry(QString::fromLatin1(name) + QStringLiteral(".zip"));
    const Bytes plain = FixtureBytes(QString::fromLatin1(name) + QStringLiteral(".txt"));
    for (int trial = 0; trial < 40; ++trial) {
      Bytes packed = e.Packed;
      if (trial % 2)
        packed.resize(rng() % packed.size());
      else
        for (int k = 0; k < 3; ++k) packed[rng() % packed.size()] ^= uint8_t(1 + rng() % 255);
      TCappedSink out(e.Size);
      try {
        Decode(e.Method, e.Flags, e.Size, packed, out);
        if (trial % 2) {
          EXPECT_NE(out.Data, plain) << name << " trial " << trial;
        }
      } catch (const EZipDataError&) {
      } catch (const Exception& x) {
        // Only the sink's own limit may stop a decoder that runs on.
        EXPECT_EQ(x.Message(), QStringLiteral("output over its limit")) << name;
      }
    }
  }
}

TEST(OldMethods, MalformedStreamsAreRefused) {
  struct Case {
    const char* what;
    uint16_t method, flags;
    std::vector<std::pair<uint32_t, unsigned>> bits;  // value, width
  };
  std::vector<std::pair<uint32_t, unsigned>> growTooFar = {{'A', 9}};
  for (unsigned size = 9; size <= 13; ++size) growTooFar.insert(growTooFar.end(), {{256, size}, {1, size}});
  const Case cases[] = {
      {"shrunk data starting with a code", 1, 0, {{300, 9}, {'A', 9}}},
      {"shrunk escape 3", 1, 0, {{'A', 9}, {256, 9}, {3, 9}}},
      {"shrunk code size 14", 1, 0, growTooFar},
      // A length tree of 16 four-bit codes: 16, not 64, entries.
      {"imploded tree too short", 6, 0, {{0, 8}, {0xF3, 8}}},
      // 64 one-bit lengths cannot all be codes.
      {"imploded tree over-full", 6, 0, {{3, 8}, {0xF0, 8}, {0xF0, 8}, {0xF0, 8}, {0xF0, 8}}},
      {"reduced data cut short", 2, 0, {{0, 6}}},
  };
  for (const Case& c : cases) {
    TBitWriter w;
    for (auto [value, width] : c.bits) w.Put(value, width);
    TCappedSink out(1000);
    EXPECT_THROW(Decode(c.method, c.flags, 100, w.Data, out), EZipDataError) << c.what;
  }
}

TEST(OldMethods, EmptyEntriesNeedNoInput) {
  for (uint16_t method = 1; method <= 6; ++method) {
    TCappedSink out(0);
    EXPECT_NO_THROW(Decode(method, 6, 0, Bytes{}, out)) << method;
    EXPECT_TRUE(out.Data.empty()) << method;
  }
}
