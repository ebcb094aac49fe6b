#pragma once
// Collects small writes and hands them to the target stream in large blocks, so an export
// of many short cells does not cost one system call per cell.
#include "platform/rtl/Classes.h"
#include <memory>

class TBufferedWriteStream : public TStream {
public:
  static constexpr Integer BlockSize = 1 << 16;
  explicit TBufferedWriteStream(TStream* Target) : FTarget(Target), FBlock(std::make_unique<char[]>(BlockSize)) {}
  Integer Read(void*, Integer) override { return 0; }
  Integer Write(const void* Buffer, Integer Count) override;
  // Writes what is collected first.
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  // Writes what is collected; raises EWriteError when the target takes less.
  void Flush();
private:
  TStream* FTarget;
  std::unique_ptr<char[]> FBlock;
  Integer FUsed = 0;
};
