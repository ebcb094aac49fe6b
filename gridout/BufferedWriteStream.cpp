#include "gridout/BufferedWriteStream.h"
#include <cstring>
#include <utility>

Integer TBufferedWriteStream::Write(const void* Buffer, Integer Count) {
  if (FUsed + Count > BlockSize) Flush();
  if (Count >= BlockSize) {
    FTarget->WriteBuffer(Buffer, Count);
    return Count;
  }
  std::memcpy(FBlock.get() + FUsed, Buffer, size_t(Count));
  FUsed += Count;
  return Count;
}

Int64 TBufferedWriteStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  Flush();
  return FTarget->Seek(Offset, Origin);
}

void TBufferedWriteStream::Flush() {
  const Integer pending = std::exchange(FUsed, 0);
  if (pending > 0) FTarget->WriteBuffer(FBlock.get(), pending);
}
