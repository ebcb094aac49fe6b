// Our codecs against zlib on the same bytes. The first byte picks the
// direction: the rest decoded by both inflaters, which must agree on success
// and on the bytes; or the rest compressed by one side and decoded by the
// other, which must give the input back.
#include "zip/Deflate.h"
#include "zip/Inflate.h"
#include <zlib.h>
#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
constexpr size_t kOutputLimit = 1u << 20;

class TFuzzSource : public TByteSource {
public:
  TFuzzSource(const uint8_t* Data, size_t Size, size_t Piece) : FData(Data), FSize(Size), FPiece(Piece) {}
  size_t Read(uint8_t* Buffer, size_t Count) override {
    const size_t n = std::min({Count, FSize - FPos, FPiece});
    if (n > 0) std::memcpy(Buffer, FData + FPos, n);
    FPos += n;
    return n;
  }
private:
  const uint8_t* FData;
  size_t FSize;
  size_t FPiece;
  size_t FPos = 0;
};

class TFuzzSink : public TByteSink {
public:
  void Write(const uint8_t* Buffer, size_t Count) override {
    if (Data.size() + Count > kOutputLimit) throw std::length_error("output limit");
    Data.insert(Data.end(), Buffer, Buffer + Count);
  }
  Bytes Data;
};

void Check(bool Condition) {
  if (!Condition) __builtin_trap();
}

enum class TDecoded { Ok, Failed, TooLarge };

TDecoded OursInflate(const uint8_t* Data, size_t Size, size_t Piece, Bytes& Out) {
  TFuzzSource source(Data, Size, Piece);
  TFuzzSink sink;
  try {
    const TInflateResult r = Inflate(source, sink);
    Out = std::move(sink.Data);
    return r == TInflateResult::Ok ? TDecoded::Ok : TDecoded::Failed;
  } catch (const std::length_error&) {
    return TDecoded::TooLarge;
  }
}

TDecoded ZlibInflate(const uint8_t* Data, size_t Size, Bytes& Out) {
  // One buffer for every run: clearing a fresh one would cost more than the decoding.
  static std::vector<uint8_t> buffer(kOutputLimit + 1);
  z_stream z{};
  inflateInit2(&z, -15);
  z.next_in = const_cast<uint8_t*>(Data);
  z.avail_in = uInt(Size);
  z.next_out = buffer.data();
  z.avail_out = uInt(buffer.size());
  const int rc = inflate(&z, Z_FINISH);
  inflateEnd(&z);
  if (z.total_out > kOutputLimit) return TDecoded::TooLarge;
  Out.assign(buffer.data(), buffer.data() + z.total_out);
  return rc == Z_STREAM_END ? TDecoded::Ok : TDecoded::Failed;
}

Bytes ZlibDeflate(const uint8_t* Data, size_t Size, int Level, int Strategy) {
  z_stream z{};
  deflateInit2(&z, Level, Z_DEFLATED, -15, 8, Strategy);
  Bytes out(deflateBound(&z, uLong(Size)));
  z.next_in = const_cast<uint8_t*>(Data);
  z.avail_in = uInt(Size);
  z.next_out = out.data();
  z.avail_out = uInt(out.size());
  Check(deflate(&z, Z_FINISH) == Z_STREAM_END);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

void BothInflaters(const uint8_t* Data, size_t Size, size_t Piece) {
  Bytes ours, theirs;
  const TDecoded a = OursInflate(Data, Size, Piece, ours);
  const TDecoded b = ZlibInflate(Data, Size, theirs);
  if (a == TDecoded::TooLarge || b == TDecoded::TooLarge) return;
  Check(a == b);
  if (a == TDecoded::Ok) Check(ours == theirs);
}

void OursToZlib(const uint8_t* Data, size_t Size, int Level) {
  TFuzzSource source(Data, Size, 1 + Size % 4099);
  TFuzzSink sink;
  static TDeflater deflater;
  const TDeflateResult r = deflater.Deflate(source, sink, Level);
  Check(r.CompressedSize == sink.Data.size());
  if (r.Stored) {
    Check(sink.Data == Bytes(Data, Data + Size));
    return;
  }
  Bytes back;
  Check(ZlibInflate(sink.Data.data(), sink.Data.size(), back) == TDecoded::Ok);
  Check(back == Bytes(Data, Data + Size));
}

void ZlibToOurs(const uint8_t* Data, size_t Size, int Level, int Strategy) {
  const Bytes stream = ZlibDeflate(Data, Size, Level, Strategy);
  Bytes back;
  Check(OursInflate(stream.data(), stream.size(), 1 + Size % 509, back) == TDecoded::Ok);
  Check(back == Bytes(Data, Data + Size));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size == 0) return 0;
  static const int strategies[] = {Z_DEFAULT_STRATEGY, Z_FIXED, Z_FILTERED, Z_HUFFMAN_ONLY, Z_RLE};
  const uint8_t selector = Data[0];
  ++Data;
  --Size;
  switch (selector % 3) {
    case 0: BothInflaters(Data, Size, 1 + selector / 3); break;
    case 1: OursToZlib(Data, Size, 1 + selector / 3 % 9); break;
    default: ZlibToOurs(Data, Size, selector / 3 % 10, strategies[selector / 30 % 5]); break;
  }
  return 0;
}
