#include "gridout/BufferedWriteStream.h"
#include <utility>

Integer TBufferedWriteStream::Write(const void* Buffer, Integer Count) {
  if (FBuffer.size() + Count > BlockSize) Flush();
  if (Count >= BlockSize) {
    FTarget->WriteBuffer(Buffer, Count);
    return Count;
  }
  FBuffer.append(static_cast<const char*>(Buffer), Count);
  return Count;
}

Int64 TBufferedWriteStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  Flush();
  return FTarget->Seek(Offset, Origin);
}

void TBufferedWriteStream::Flush() {
  if (FBuffer.isEmpty()) return;
  const QByteArray pending = std::exchange(FBuffer, QByteArray());
  FBuffer.reserve(BlockSize);
  FTarget->WriteBuffer(pending);
}
