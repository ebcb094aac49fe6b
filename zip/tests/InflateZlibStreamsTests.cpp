// Thousands of deflate streams written by zlib in every shape it can take —
// stored, fixed and dynamic blocks, each level and strategy, window and
// memory sizes, flush points and parameter changes inside a stream — must
// decode to exactly what went in.
#include "zip/Inflate.h"
#include "platform/testing/CodecPeers.h"
#include <gtest/gtest.h>
#include <zlib.h>
#include <random>
#include <string>

namespace {

using namespace codecpeers;

struct TStreamShape {
  int Level;
  int Strategy;
  int WindowBits;
  int MemLevel;
  bool SwitchMidway;  // deflateParams to other settings part-way through
  size_t FlushEvery;  // a sync or full flush after this many bytes (0: none)
};

Bytes SampleInput(std::mt19937& Rng) {
  // Sizes spread over orders of magnitude: most streams are small, as are
  // most files, while a few cross the window and the block limits.
  const unsigned magnitude = Rng() % 19;
  const size_t size = magnitude == 0 ? 0 : (size_t(1) << (magnitude - 1)) + Rng() % (size_t(1) << (magnitude - 1));
  Bytes out(size);
  switch (Rng() % 5) {
    case 0:  // noise
      for (auto& b : out) b = uint8_t(Rng());
      break;
    case 1:  // a few symbols: short matches everywhere
      for (auto& b : out) b = uint8_t('a' + Rng() % 4);
      break;
    case 2: {  // long runs
      uint8_t value = 0;
      for (size_t i = 0; i < size; ++i) {
        if (Rng() % 200 == 0) value = uint8_t(Rng());
        out[i] = value;
      }
      break;
    }
    case 3: {  // words repeated at every distance
      static const char* words[] = {"工资 ", "salary ", "net pay ", "0.00\r\n", "部门", "tax ", "x"};
      for (size_t i = 0; i < size;) {
        const std::string w = words[Rng() % 7];
        for (char c : w)
          if (i < size) out[i++] = uint8_t(c);
      }
      break;
    }
    default:  // copies of earlier pieces from far away, with noise between
      for (size_t i = 0; i < size; ++i)
        out[i] = i > 40000 && Rng() % 3 != 0 ? out[i - 32768 + Rng() % 8] : uint8_t(Rng() % 16);
      break;
  }
  return out;
}

TStreamShape SampleShape(std::mt19937& Rng) {
  static const int strategies[] = {Z_DEFAULT_STRATEGY, Z_FIXED, Z_FILTERED, Z_HUFFMAN_ONLY, Z_RLE};
  TStreamShape s;
  s.Level = int(Rng() % 10);
  s.Strategy = strategies[Rng() % 5];
  s.WindowBits = 9 + int(Rng() % 7);
  s.MemLevel = 1 + int(Rng() % 9);
  s.SwitchMidway = Rng() % 4 == 0;
  s.FlushEvery = Rng() % 4 == 0 ? 1 + Rng() % 70000 : 0;
  return s;
}

Bytes ZlibStream(const Bytes& In, const TStreamShape& Shape, std::mt19937& Rng) {
  z_stream z{};
  EXPECT_EQ(deflateInit2(&z, Shape.Level, Z_DEFLATED, -Shape.WindowBits, Shape.MemLevel, Shape.Strategy), Z_OK);
  Bytes out;
  uint8_t buffer[16384];
  auto pump = [&](int Flush) {
    int rc;
    do {
      z.next_out = buffer;
      z.avail_out = sizeof buffer;
      rc = deflate(&z, Flush);
      out.insert(out.end(), buffer, buffer + (sizeof buffer - z.avail_out));
    } while (z.avail_out == 0 || (Flush == Z_FINISH && rc != Z_STREAM_END));
  };
  const size_t piece = Shape.FlushEvery ? Shape.FlushEvery : In.size() + 1;
  for (size_t pos = 0; pos < In.size(); pos += piece) {
    if (Shape.SwitchMidway && pos >= In.size() / 2 && pos < In.size() / 2 + piece) {
      z.next_in = nullptr;
      z.avail_in = 0;
      EXPECT_EQ(deflateParams(&z, int(Rng() % 10), Rng() % 2 ? Z_FIXED : Z_DEFAULT_STRATEGY), Z_OK);
    }
    z.next_in = const_cast<uint8_t*>(In.data() + pos);
    z.avail_in = uInt(std::min(piece, In.size() - pos));
    pump(Shape.FlushEvery ? (Rng() % 2 ? Z_SYNC_FLUSH : Z_FULL_FLUSH) : Z_NO_FLUSH);
  }
  z.next_in = nullptr;
  z.avail_in = 0;
  pump(Z_FINISH);
  deflateEnd(&z);
  return out;
}

std::string Describe(const TStreamShape& s, size_t Size, int Index) {
  return "stream " + std::to_string(Index) + ": " + std::to_string(Size) + " bytes, level " + std::to_string(s.Level) +
         ", strategy " + std::to_string(s.Strategy) + ", window " + std::to_string(s.WindowBits) + ", memory " +
         std::to_string(s.MemLevel) + (s.SwitchMidway ? ", switched" : "") + ", flush every " +
         std::to_string(s.FlushEvery);
}

TEST(Inflate, DecodesThousandsOfRandomZlibStreamsOfEveryShape) {
  std::mt19937 rng(20240611);
  int failures = 0;
  for (int i = 0; i < 3000 && failures < 5; ++i) {
    const Bytes in = SampleInput(rng);
    const TStreamShape shape = SampleShape(rng);
    const Bytes stream = ZlibStream(in, shape, rng);
    TMemorySource source(stream, 1 + rng() % 40000);
    TMemorySink sink;
    const TInflateResult result = Inflate(source, sink);
    if (result != TInflateResult::Ok || sink.Data != in) {
      ++failures;
      ADD_FAILURE() << Describe(shape, in.size(), i) << " result " << int(result);
    }
  }
}

}  // namespace
