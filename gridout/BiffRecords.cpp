#include "gridout/BiffRecords.h"
#include "gridout/AnsiText.h"
#include <cstring>

namespace BiffRecords {

namespace {

// A record of at most a cell's fixed fields, assembled in place and written at once.
class TRecord {
public:
  TRecord(Word Id, Word Length) {
    Put16(Id);
    Put16(Length);
  }
  TRecord(Word Id, Word Length, Word Row, Word Col, Word Xf) : TRecord(Id, Length) {
    Put16(Row);
    Put16(Col);
    Put16(Xf);
  }
  void Put16(Word Value) {
    FBytes[FSize++] = char(Value & 0xFF);
    FBytes[FSize++] = char(Value >> 8);
  }
  void Put32(quint32 Value) {
    Put16(Word(Value & 0xFFFF));
    Put16(Word(Value >> 16));
  }
  void WriteTo(TStream* Stream) const { Stream->WriteBuffer(FBytes, FSize); }
private:
  char FBytes[20];
  Integer FSize = 0;
};

qsizetype CutAtCharacter(const QByteArray& Text, qsizetype Limit) {
  qsizetype cut = 0;
  while (cut < Text.size()) {
    const qsizetype next = cut + AnsiCharLength(Text, cut);
    if (next > Limit) break;
    cut = next;
  }
  return cut;
}

}  // namespace

void WriteBof(TStream* Stream) {
  TRecord record(0x0809, 8);
  record.Put16(0x0000);
  record.Put16(0x0010);
  record.Put16(0x0000);
  record.Put16(0x0000);
  record.WriteTo(Stream);
}

void WriteCodePage(TStream* Stream) {
  TRecord record(0x0042, 2);
  record.Put16(936);
  record.WriteTo(Stream);
}

void WriteEof(TStream* Stream) { TRecord(0x000A, 0).WriteTo(Stream); }

void WriteBlank(TStream* Stream, Word Row, Word Col) { TRecord(0x0201, 6, Row, Col, 0x0017).WriteTo(Stream); }

void WriteNumber(TStream* Stream, Word Row, Word Col, double Value) {
  TRecord record(0x0203, 14, Row, Col, 0);
  quint64 bits = 0;
  std::memcpy(&bits, &Value, sizeof bits);
  record.Put32(quint32(bits & 0xFFFFFFFFu));
  record.Put32(quint32(bits >> 32));
  record.WriteTo(Stream);
}

void WriteRk(TStream* Stream, Word Row, Word Col, Integer Value) {
  TRecord record(0x027E, 10, Row, Col, 0);
  record.Put32(quint32(Value) * 4u + 2u);
  record.WriteTo(Stream);
}

void WriteLabel(TStream* Stream, Word Row, Word Col, const QByteArray& AnsiText) {
  const qsizetype length = AnsiText.size() > MaxLabelBytes ? CutAtCharacter(AnsiText, MaxLabelBytes) : AnsiText.size();
  TRecord record(0x0204, Word(8 + length), Row, Col, 0);
  record.Put16(Word(length));
  record.WriteTo(Stream);
  Stream->WriteBuffer(AnsiText.constData(), Integer(length));
}

bool FitsRk(Int64 Value) { return Value >= MinRk && Value <= MaxRk; }

}  // namespace BiffRecords
