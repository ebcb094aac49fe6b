#pragma once
// The two ends the codecs talk to: a source they pull bytes from and a sink
// they push bytes to. The archive components put their progress, CRC and
// size checks behind these.
#include <cstddef>
#include <cstdint>

class TByteSource {
public:
  virtual ~TByteSource() = default;
  // Up to Count bytes; 0 means the input is used up.
  virtual size_t Read(uint8_t* Buffer, size_t Count) = 0;
};

class TByteSink {
public:
  virtual ~TByteSink() = default;
  // Takes all Count bytes or raises.
  virtual void Write(const uint8_t* Buffer, size_t Count) = 0;
};
