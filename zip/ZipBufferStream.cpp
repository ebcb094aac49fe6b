#include "zip/ZipBufferStream.h"
#include <QFile>
#include <algorithm>
#include <cstring>
#include <unistd.h>

TS_BufferStream::TS_BufferStream(TStream* AStream, Integer BufferSize)
    : FStream(AStream), FBuffer(size_t(std::max<Integer>(BufferSize, 16))) {}

TS_BufferStream::~TS_BufferStream() { Release(); }

void TS_BufferStream::Release() {
  if (FMode == bmWriting) FlushBuffer();
}

bool TS_BufferStream::FillBuffer() {
  const Integer n = FStream->Read(FBuffer.data(), Integer(FBuffer.size()));
  FCursor = 0;
  FEnd = size_t(std::max<Integer>(n, 0));
  FMode = FEnd > 0 ? bmReading : bmIdle;
  return FEnd > 0;
}

bool TS_BufferStream::FlushBuffer() {
  if (FMode != bmWriting) return true;
  const Integer n = FCursor > 0 ? FStream->Write(FBuffer.data(), Integer(FCursor)) : 0;
  const bool complete = size_t(std::max<Integer>(n, 0)) == FCursor;
  FCursor = FEnd = 0;
  FMode = bmIdle;
  return complete;
}

Integer TS_BufferStream::Read(void* Buffer, Integer Count) {
  if (FMode == bmWriting) FlushBuffer();
  auto* out = static_cast<uint8_t*>(Buffer);
  Integer done = 0;
  while (done < Count) {
    if (FMode != bmReading || FCursor == FEnd) {
      if (!FillBuffer()) break;
    }
    const size_t n = std::min(size_t(Count - done), FEnd - FCursor);
    std::memcpy(out + done, FBuffer.data() + FCursor, n);
    FCursor += n;
    done += Integer(n);
  }
  return done;
}

Integer TS_BufferStream::Write(const void* Buffer, Integer Count) {
  if (FMode == bmReading) {
    FStream->Seek(-Int64(FEnd - FCursor), soCurrent);
    FCursor = FEnd = 0;
    FMode = bmIdle;
  }
  if (FMode == bmIdle) {
    FCursor = 0;
    FEnd = FBuffer.size();
    FMode = bmWriting;
  }
  const auto* in = static_cast<const uint8_t*>(Buffer);
  Integer done = 0;
  while (done < Count) {
    const size_t n = std::min(size_t(Count - done), FEnd - FCursor);
    std::memcpy(FBuffer.data() + FCursor, in + done, n);
    FCursor += n;
    done += Integer(n);
    FWritten = true;
    if (FCursor == FEnd) {
      if (!FlushBuffer()) return done;
      FCursor = 0;
      FEnd = FBuffer.size();
      FMode = bmWriting;
    }
  }
  if (FCursor == 0) FMode = bmIdle;
  return done;
}

Int64 TS_BufferStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  const Int64 inner = FStream->Seek(0, soCurrent);
  Int64 logical = inner;
  if (FMode == bmReading) logical -= Int64(FEnd - FCursor);
  if (FMode == bmWriting) logical += Int64(FCursor);
  Int64 target;
  switch (Origin) {
    case soBeginning: target = Offset; break;
    case soCurrent: target = logical + Offset; break;
    case soEnd: {
      const Int64 size = FStream->Seek(0, soEnd);
      FStream->Seek(inner, soBeginning);
      target = std::max(size, logical) - (Offset < 0 ? -Offset : Offset);
      break;
    }
    default: throw Exception(QStringLiteral("Invalid seek origin (%1)").arg(int(Origin)));
  }
  if (target == logical) return logical;
  if (!FlushBuffer()) throw Exception(QStringLiteral("Seek error"));
  FCursor = FEnd = 0;
  FMode = bmIdle;
  return FStream->Seek(target, soBeginning);
}

void TS_BufferStream::PutBack(Byte Value) {
  if (FMode != bmReading || FCursor == 0) throw EStreamError(QStringLiteral("Putback overflow"));
  FBuffer[--FCursor] = Value;
}

TLFNFileStream::TLFNFileStream(const String& FileName, Integer BufferSize, bool FlushOnClose, Word Mode)
    : TLFNFileStream(std::make_unique<TFileStream>(FileName, Mode), FileName, BufferSize,
                     FlushOnClose && (Mode == fmCreate || (Mode & 3) != fmOpenRead)) {}

TLFNFileStream::TLFNFileStream(std::unique_ptr<TFileStream> File, const String& FileName, Integer BufferSize, bool FlushToDisk)
    : TS_BufferStream(File.get(), BufferSize), FFile(std::move(File)), FFileName(FileName), FFlushToDisk(FlushToDisk) {}

TLFNFileStream::~TLFNFileStream() {
  Release();
  if (FFlushToDisk && Written()) {
    QFile file(FFileName);
    if (file.open(QIODevice::ReadOnly)) ::fsync(file.handle());
  }
}
