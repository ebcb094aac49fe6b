#include "zip/OldMethodsIO.h"

bool TLsbBitReader::Fill(unsigned Count) {
  while (FCount < Count) {
    if (FPos == FLength) {
      if (FEnded) return false;
      FLength = FSource.Read(FBuffer.data(), FBuffer.size());
      FPos = 0;
      if (FLength == 0) {
        FEnded = true;
        return false;
      }
    }
    FBits |= uint32_t(FBuffer[FPos++]) << FCount;
    FCount += 8;
  }
  return true;
}

bool TLsbBitReader::TryTake(unsigned Count, uint32_t& Value) {
  if (!Fill(Count)) return false;
  Value = FBits & ((1u << Count) - 1);
  FBits >>= Count;
  FCount -= Count;
  return true;
}

uint32_t TLsbBitReader::Take(unsigned Count, const char* What) {
  uint32_t value = 0;
  if (!TryTake(Count, value))
    throw EZipDataError(QStringLiteral("Compressed data ends inside %1").arg(QLatin1String(What)));
  return value;
}

void TDecodeWindow::Put(uint8_t Byte) {
  FWindow[FPos++] = Byte;
  ++FWritten;
  if (FPos == Size) {
    FSink.Write(FWindow.data(), Size);
    FPos = 0;
  }
}

void TDecodeWindow::Copy(uint32_t Distance, uint32_t Length) {
  // The window starts zeroed and never wraps before Size bytes are out, so
  // history before the first byte reads as zeros without a special case.
  uint32_t from = (FPos + Size - Distance) % Size;
  while (Length--) {
    Put(FWindow[from]);
    from = (from + 1) % Size;
  }
}

void TDecodeWindow::Flush() {
  if (FPos) FSink.Write(FWindow.data(), FPos);
}
