#pragma once
// A stream as either end of a codec: the bytes read from it (a file being
// packed) or written to it (an entry being extracted) are counted, their CRC
// kept and every piece reported as progress.
#include "platform/rtl/Classes.h"
#include "zip/ByteChannels.h"
#include <functional>

class TCrcStream : public TByteSource, public TByteSink {
public:
  using TProgress = std::function<void(Int64 Done, Int64 Bytes)>;
  // Raises the failure it stands for.
  using TFailure = std::function<void()>;

  // A piece that would take the count past Limit calls OverLimit before it
  // passes; a write the stream takes only in part calls WriteFailed (which
  // a stream that is only read from may leave empty).
  TCrcStream(TStream& Stream, uint64_t Limit, TFailure OverLimit, TFailure WriteFailed, TProgress Progress);

  size_t Read(uint8_t* Buffer, size_t Count) override;
  void Write(const uint8_t* Buffer, size_t Count) override;

  uint32_t Crc() const { return ~FCrc; }
  uint64_t Count() const { return FCount; }

private:
  void Pass(const uint8_t* Buffer, size_t Count);

  TStream& FStream;
  uint64_t FLimit;
  TFailure FOverLimit;
  TFailure FWriteFailed;
  TProgress FProgress;
  uint32_t FCrc = 0xFFFFFFFF;
  uint64_t FCount = 0;
};
