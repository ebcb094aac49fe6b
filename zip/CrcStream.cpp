#include "zip/CrcStream.h"
#include "zip/ZipCrc32.h"
#include <algorithm>

namespace {

// Pieces stay small enough for the progress to move.
constexpr size_t kPiece = 32768;

}  // namespace

TCrcStream::TCrcStream(TStream& Stream, uint64_t Limit, TFailure OverLimit, TFailure WriteFailed, TProgress Progress)
    : FStream(Stream), FLimit(Limit), FOverLimit(std::move(OverLimit)), FWriteFailed(std::move(WriteFailed)),
      FProgress(std::move(Progress)) {}

size_t TCrcStream::Read(uint8_t* Buffer, size_t Count) {
  const Integer n = FStream.Read(Buffer, Integer(std::min(Count, kPiece)));
  if (n <= 0) return 0;
  if (FCount + uint64_t(n) > FLimit) FOverLimit();
  Pass(Buffer, size_t(n));
  return size_t(n);
}

void TCrcStream::Write(const uint8_t* Buffer, size_t Count) {
  if (FCount + Count > FLimit) FOverLimit();
  if (FStream.Write(Buffer, Integer(Count)) != Integer(Count)) {
    if (FWriteFailed) FWriteFailed();
    throw EWriteError(QStringLiteral("Stream write error"));
  }
  Pass(Buffer, Count);
}

void TCrcStream::Pass(const uint8_t* Buffer, size_t Count) {
  FCrc = ZipCrcUpdate(FCrc, Buffer, Count);
  FCount += Count;
  if (FProgress) FProgress(Int64(FCount), Int64(Count));
}
