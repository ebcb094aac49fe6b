#include "platform/db/RecordStore.h"
#include "platform/rtl/SysUtils.h"
#include <sys/mman.h>
#include <algorithm>
#include <cstdlib>
#include <limits>
#include <new>

namespace {

constexpr size_t HugePageBytes = size_t(2) << 20;
// Row blocks and full text chunks are at least this large, so that most of each lies in
// whole huge pages.
constexpr size_t LargeBytes = size_t(4) << 20;
constexpr unsigned TextWindowBits = 22;
constexpr size_t TextWindowBytes = size_t(1) << TextWindowBits;
static_assert(TextWindowBytes == LargeBytes);
constexpr size_t FirstTextChunkBytes = 16 * 1024;

// Memory that the kernel may map in huge pages where it spans whole ones; it starts on a
// huge page, so a block of whole huge pages lies in them entirely.
char* AllocateLarge(size_t Bytes) {
  void* start = nullptr;
  if (posix_memalign(&start, HugePageBytes, Bytes) != 0) throw std::bad_alloc();
  char* memory = static_cast<char*>(start);
  const uintptr_t first = (reinterpret_cast<uintptr_t>(memory) + HugePageBytes - 1) & ~(HugePageBytes - 1);
  const uintptr_t last = (reinterpret_cast<uintptr_t>(memory) + Bytes) & ~(HugePageBytes - 1);
  if (first < last) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
  return memory;
}

}  // namespace

void RecordStore::FreeMemory::operator()(char* Memory) const { std::free(Memory); }

void RecordStore::Reset(const std::vector<TStoreKind>& Kinds) {
  FColumns.clear();
  FColumns.resize(Kinds.size());
  for (size_t i = 0; i < Kinds.size(); ++i) FColumns[i].Kind = Kinds[i];
  FStride = Kinds.size() + (Kinds.size() + 63) / 64;
  FBlockBits = 0;
  while (FBlockBits < 24 && (size_t(1) << FBlockBits) * FStride * sizeof(Cell) < LargeBytes) ++FBlockBits;
  FBlockMask = (TRowId(1) << FBlockBits) - 1;
  FFirstBlock = {};
  FLaterBlocks.clear();
  FBlockData.assign(1, nullptr);
  FTextChunks.clear();
  FTextWindows.clear();
  FTextEnd = FTextLimit = 0;
  FTextBytes = 0;
  FStates.clear();
}

void RecordStore::Reserve(size_t Rows) {
  FFirstBlock.reserve(std::min<size_t>(Rows, size_t(FBlockMask) + 1) * FStride);
  FBlockData[0] = FFirstBlock.data();
  FStates.reserve(Rows);
}

TRowId RecordStore::AddRow() {
  if (FStates.size() >= std::numeric_limits<TRowId>::max())
    throw EDatabaseError(QStringLiteral("Too many records"));
  const TRowId row = TRowId(FStates.size());
  if (row <= FBlockMask) {
    FFirstBlock.resize(FFirstBlock.size() + FStride);
    FBlockData[0] = FFirstBlock.data();
  } else if ((row & FBlockMask) == 0) {
    FLaterBlocks.emplace_back(AllocateLarge((size_t(FBlockMask) + 1) * FStride * sizeof(Cell)));
    FBlockData.push_back(reinterpret_cast<Cell*>(FLaterBlocks.back().get()));
  }
  Cell* cells = RowCells(row);
  std::fill(cells, cells + FColumns.size(), Cell{0});
  std::fill(cells + FColumns.size(), cells + FStride, Cell{.Bits = ~uint64_t(0)});
  FStates.push_back(TRowState::Unchanged);
  return row;
}

uint64_t RecordStore::ReserveText(size_t Length) {
  if (FTextEnd + Length > FTextLimit) {
    // Chunks grow to a window; a value longer than a window gets a chunk of its own.
    const size_t grown = FTextChunks.empty() ? FirstTextChunkBytes : std::min(FTextBytes, TextWindowBytes);
    const size_t chunkBytes = std::max(grown, Length);
    const size_t windows = (chunkBytes + TextWindowBytes - 1) / TextWindowBytes;
    if ((FTextWindows.size() + windows) << TextWindowBits > uint64_t(std::numeric_limits<uint32_t>::max()) + 1)
      throw EDatabaseError(QStringLiteral("Too much text in one data set"));
    char* memory = chunkBytes >= LargeBytes ? AllocateLarge(chunkBytes) : static_cast<char*>(std::malloc(chunkBytes));
    if (!memory) throw std::bad_alloc();
    FTextChunks.emplace_back(memory);
    FTextEnd = uint64_t(FTextWindows.size()) << TextWindowBits;
    FTextLimit = FTextEnd + chunkBytes;
    for (size_t w = 0; w < windows; ++w) FTextWindows.push_back(memory + w * TextWindowBytes);
    FTextBytes += chunkBytes;
  }
  const uint64_t offset = FTextEnd;
  FTextEnd += Length;
  return offset;
}

std::string_view RecordStore::GetBytes(TRowId Row, int Col) const {
  if (IsNull(Row, Col)) return {};
  const Cell& cell = RowCells(Row)[Col];
  if (cell.B.Length == 0) return std::string_view("", 0);
  return std::string_view(FTextWindows[cell.B.Offset >> TextWindowBits] + (cell.B.Offset & (TextWindowBytes - 1)),
                          cell.B.Length);
}

void RecordStore::SetNull(TRowId Row, int Col) {
  RowCells(Row)[Col].I = 0;
  SetNullBit(Row, Col);
}

void RecordStore::SetBytes(TRowId Row, int Col, std::string_view Value) {
  const uint64_t offset = ReserveText(Value.size());
  if (!Value.empty())
    std::copy(Value.begin(), Value.end(), FTextWindows[offset >> TextWindowBits] + (offset & (TextWindowBytes - 1)));
  Cell& cell = RowCells(Row)[Col];
  cell.B.Offset = uint32_t(offset);
  cell.B.Length = uint32_t(Value.size());
  SetPresent(Row, Col);
}

int CompareBytesNoCase(std::string_view A, std::string_view B) {
  const size_t n = std::min(A.size(), B.size());
  for (size_t i = 0; i < n; ++i) {
    unsigned char a = static_cast<unsigned char>(A[i]);
    unsigned char b = static_cast<unsigned char>(B[i]);
    if (a >= 'A' && a <= 'Z') a = static_cast<unsigned char>(a + 32);
    if (b >= 'A' && b <= 'Z') b = static_cast<unsigned char>(b + 32);
    if (a != b) return a < b ? -1 : 1;
  }
  return A.size() == B.size() ? 0 : (A.size() < B.size() ? -1 : 1);
}

int RecordStore::Compare(TRowId A, TRowId B, int Col, bool IgnoreCase) const {
  const bool nullA = IsNull(A, Col), nullB = IsNull(B, Col);
  if (nullA || nullB) return nullA == nullB ? 0 : (nullA ? -1 : 1);
  switch (Kind(Col)) {
    case TStoreKind::Integer: {
      const Int64 a = GetInt(A, Col), b = GetInt(B, Col);
      return a == b ? 0 : (a < b ? -1 : 1);
    }
    case TStoreKind::Float: {
      const double a = GetFloat(A, Col), b = GetFloat(B, Col);
      return a == b ? 0 : (a < b ? -1 : 1);
    }
    case TStoreKind::Bytes: {
      const std::string_view a = GetBytes(A, Col), b = GetBytes(B, Col);
      if (IgnoreCase) return CompareBytesNoCase(a, b);
      const int r = a.compare(b);
      return r == 0 ? 0 : (r < 0 ? -1 : 1);
    }
  }
  return 0;
}

bool RecordStore::SameValue(TRowId A, TRowId B, int Col) const {
  if (IsNull(A, Col) != IsNull(B, Col)) return false;
  if (IsNull(A, Col)) return true;
  if (Kind(Col) == TStoreKind::Float) {
    // Bit equality, so a NaN that went unchanged does not count as an edit.
    return GetInt(A, Col) == GetInt(B, Col);
  }
  return Compare(A, B, Col, false) == 0;
}

void RecordStore::CopyRow(TRowId From, TRowId To) {
  // Byte cells may share the arena bytes: they are never written in place.
  const Cell* from = RowCells(From);
  std::copy(from, from + FStride, RowCells(To));
}

size_t RecordStore::MemoryUsage() const {
  size_t total = FStates.capacity() * sizeof(TRowState) + FColumns.capacity() * sizeof(Column);
  total += FFirstBlock.capacity() * sizeof(Cell) + FBlockData.capacity() * sizeof(Cell*) +
           FLaterBlocks.capacity() * sizeof(TMemory) + FLaterBlocks.size() * (size_t(FBlockMask) + 1) * FStride * sizeof(Cell);
  total += FTextChunks.capacity() * sizeof(TMemory) + FTextWindows.capacity() * sizeof(char*) + FTextBytes;
  return total;
}
