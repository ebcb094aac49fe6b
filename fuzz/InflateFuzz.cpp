// Arbitrary bytes through the inflate decoder: it must end (with a result or
// a failure) without reading or writing out of bounds.
#include "zip/Inflate.h"
#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace {

class TFuzzSource : public TByteSource {
public:
  TFuzzSource(const uint8_t* Data, size_t Size) : FData(Data), FSize(Size) {}
  size_t Read(uint8_t* Buffer, size_t Count) override {
    // Odd piece sizes exercise the refills at every boundary.
    const size_t n = std::min({Count, FSize - FPos, size_t(1 + FPos % 97)});
    std::memcpy(Buffer, FData + FPos, n);
    FPos += n;
    return n;
  }
private:
  const uint8_t* FData;
  size_t FSize;
  size_t FPos = 0;
};

// Bounds the work on inputs that expand enormously.
class TFuzzSink : public TByteSink {
public:
  void Write(const uint8_t* Buffer, size_t Count) override {
    if (Count > 0) FLast = Buffer[Count - 1];
    FTotal += Count;
    if (FTotal > (64u << 20)) throw std::length_error("output limit");
  }
  uint8_t FLast = 0;
  size_t FTotal = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TFuzzSource source(Data, Size);
  TFuzzSink sink;
  try {
    Inflate(source, sink);
  } catch (const std::length_error&) {
  }
  return 0;
}
