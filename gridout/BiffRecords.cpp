#include "gridout/BiffRecords.h"
#include <cstring>

namespace BiffRecords {

namespace {

constexpr size_t LabelHeadSize = 12;

char* Put16(char* Out, Word Value) {
  Out[0] = char(Value & 0xFF);
  Out[1] = char(Value >> 8);
  return Out + 2;
}

char* Put32(char* Out, quint32 Value) { return Put16(Put16(Out, Word(Value & 0xFFFF)), Word(Value >> 16)); }

// A record's id and length, and a cell record's row, column and format index.
char* PutHead(char* Out, Word Id, Word Length) { return Put16(Put16(Out, Id), Length); }

char* PutCellHead(char* Out, Word Id, Word Length, Word Row, Word Col, Word Xf) {
  return Put16(Put16(Put16(PutHead(Out, Id, Length), Row), Col), Xf);
}

// The length of the longest run of whole code page 936 characters from Text that fits
// Limit bytes.
size_t CutAtCharacter(const char* Text, size_t Size, size_t Limit) {
  size_t cut = 0;
  while (cut < Size) {
    const auto lead = static_cast<unsigned char>(Text[cut]);
    const size_t next = cut + (lead >= 0x81 && lead <= 0xFE && cut + 1 < Size ? 2 : 1);
    if (next > Limit) break;
    cut = next;
  }
  return cut;
}

}  // namespace

void WriteBof(TByteBuffer& Out) {
  char* p = PutHead(Out.Room(12), 0x0809, 8);
  p = Put16(Put16(Put16(Put16(p, 0x0000), 0x0010), 0x0000), 0x0000);
  Out.Advance(p);
}

void WriteCodePage(TByteBuffer& Out) { Out.Advance(Put16(PutHead(Out.Room(6), 0x0042, 2), 936)); }

void WriteEof(TByteBuffer& Out) { Out.Advance(PutHead(Out.Room(4), 0x000A, 0)); }

void WriteBlank(TByteBuffer& Out, Word Row, Word Col) {
  Out.Advance(PutCellHead(Out.Room(10), 0x0201, 6, Row, Col, 0x0017));
}

void WriteNumber(TByteBuffer& Out, Word Row, Word Col, double Value) {
  quint64 bits = 0;
  std::memcpy(&bits, &Value, sizeof bits);
  char* p = PutCellHead(Out.Room(18), 0x0203, 14, Row, Col, 0);
  Out.Advance(Put32(Put32(p, quint32(bits & 0xFFFFFFFFu)), quint32(bits >> 32)));
}

void WriteRk(TByteBuffer& Out, Word Row, Word Col, Integer Value) {
  char* p = PutCellHead(Out.Room(14), 0x027E, 10, Row, Col, 0);
  Out.Advance(Put32(p, quint32(Value) * 4u + 2u));
}

size_t BeginLabel(TByteBuffer& Out, Word Row, Word Col) {
  const size_t start = Out.Size();
  Out.Advance(Put16(PutCellHead(Out.Room(LabelHeadSize), 0x0204, 8, Row, Col, 0), 0));
  return start;
}

void EndLabel(TByteBuffer& Out, size_t Start) {
  const char* text = Out.Data() + Start + LabelHeadSize;
  size_t length = Out.Size() - Start - LabelHeadSize;
  if (length > size_t(MaxLabelBytes)) {
    length = CutAtCharacter(text, length, size_t(MaxLabelBytes));
    Out.Truncate(Start + LabelHeadSize + length);
  }
  Put16(Out.Data() + Start + 2, Word(8 + length));
  Put16(Out.Data() + Start + 10, Word(length));
}

void WriteLabel(TByteBuffer& Out, Word Row, Word Col, const QByteArray& AnsiText) {
  const size_t start = BeginLabel(Out, Row, Col);
  Out.Append(AnsiText.constData(), size_t(AnsiText.size()));
  EndLabel(Out, start);
}

bool FitsRk(Int64 Value) { return Value >= MinRk && Value <= MaxRk; }

}  // namespace BiffRecords
