#pragma once
// Decoder of the compressed stream inside a skin package.
#include "platform/rtl/SysUtils.h"
#include <QByteArray>
#include <cstdint>
#include <functional>

MOLI_DECLARE_EXCEPTION(ElzhException, Exception)

// Reads up to count bytes into buffer and returns how many it read (0 at the end).
using TLzhReader = std::function<int(uint8_t* buffer, int count)>;
// Takes count bytes of decoded output.
using TLzhWriter = std::function<void(const uint8_t* data, int count)>;

class TLZH {
public:
  // Decodes until exactly unpackedSize bytes have been written. Input past the end of the
  // source reads as zero bytes. Raises ElzhException when the tables cannot be had.
  void Decode(uint32_t unpackedSize, const TLzhWriter& writer, const TLzhReader& reader);
  // The last Decode needed more bits than the source held: the stream was cut short.
  bool RanPastInput() const { return FRanPastInput; }

private:
  bool FRanPastInput = false;
};

// The whole stream in, unpackedSize bytes out; ranPastInput tells whether the stream was cut short.
QByteArray LzhDecode(const QByteArray& stream, uint32_t unpackedSize, bool* ranPastInput = nullptr);
