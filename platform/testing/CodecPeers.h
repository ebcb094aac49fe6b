#pragma once
// Memory ends for the codecs, and zlib as the peer they are checked and
// measured against (tests and benchmarks only).
#include "zip/ByteChannels.h"
#include <zlib.h>
#include <algorithm>
#include <cstring>
#include <vector>

namespace codecpeers {

using Bytes = std::vector<uint8_t>;

// Hands out Data in pieces of at most Piece bytes.
class TMemorySource : public TByteSource {
public:
  explicit TMemorySource(const Bytes& Data, size_t Piece = size_t(-1)) : FData(Data), FPiece(Piece) {}
  size_t Read(uint8_t* Buffer, size_t Count) override {
    const size_t n = std::min({Count, FPiece, FData.size() - FPos});
    if (n > 0) std::memcpy(Buffer, FData.data() + FPos, n);
    FPos += n;
    return n;
  }
private:
  const Bytes& FData;
  size_t FPiece;
  size_t FPos = 0;
};

class TMemorySink : public TByteSink {
public:
  void Write(const uint8_t* Buffer, size_t Count) override { Data.insert(Data.end(), Buffer, Buffer + Count); }
  Bytes Data;
};

// Raw deflate data (no zlib header) at Level.
inline Bytes ZlibDeflate(const Bytes& In, int Level) {
  z_stream z{};
  deflateInit2(&z, Level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
  Bytes out(deflateBound(&z, uLong(In.size())));
  z.next_in = const_cast<uint8_t*>(In.data());
  z.avail_in = uInt(In.size());
  z.next_out = out.data();
  z.avail_out = uInt(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

// Decodes raw deflate data into Out (at most Capacity bytes); false unless the stream ended properly.
inline bool ZlibInflate(const Bytes& In, uint8_t* Out, size_t Capacity, size_t& Produced) {
  z_stream z{};
  inflateInit2(&z, -15);
  z.next_in = const_cast<uint8_t*>(In.data());
  z.avail_in = uInt(In.size());
  z.next_out = Out;
  z.avail_out = uInt(Capacity);
  const int rc = inflate(&z, Z_FINISH);
  Produced = z.total_out;
  inflateEnd(&z);
  return rc == Z_STREAM_END;
}

}  // namespace codecpeers
