#pragma once
// Bytes an export collects before it hands them to its stream in one write. Appending is
// a bounds check and a copy: no reference count, detaching or zero fill on the way, which
// matters at several appends per cell.
#include <cstddef>
#include <algorithm>
#include <cstring>
#include <memory>

class TByteBuffer {
public:
  const char* Data() const { return FData.get(); }
  char* Data() { return FData.get(); }
  size_t Size() const { return size_t(FEnd - FData.get()); }
  bool Empty() const { return FEnd == FData.get(); }
  void Clear() { FEnd = FData.get(); }
  void Truncate(size_t Size) { FEnd = FData.get() + Size; }

  // Where the next Count bytes go; Advance then says how many were written.
  char* Room(size_t Count) {
    if (size_t(FLimit - FEnd) < Count) Grow(Count);
    return FEnd;
  }
  void Advance(char* End) { FEnd = End; }
  void Append(char Byte) { *Room(1) = Byte, ++FEnd; }
  void Append(const char* Bytes, size_t Count) {
    if (Count == 0) return;
    std::memcpy(Room(Count), Bytes, Count);
    FEnd += Count;
  }

private:
  void Grow(size_t Count) {
    const size_t used = Size();
    const size_t capacity = std::max<size_t>({size_t(FLimit - FData.get()) * 2, used + Count, 256});
    std::unique_ptr<char[]> data(new char[capacity]);
    if (used) std::memcpy(data.get(), FData.get(), used);
    FData = std::move(data);
    FEnd = FData.get() + used;
    FLimit = FData.get() + capacity;
  }
  std::unique_ptr<char[]> FData;
  char* FEnd = nullptr;
  char* FLimit = nullptr;
};
