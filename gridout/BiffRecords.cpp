#include "gridout/BiffRecords.h"
#include "gridout/AnsiText.h"
#include <cstring>

namespace BiffRecords {

namespace {

void Put16(QByteArray& Out, Word Value) {
  Out += char(Value & 0xFF);
  Out += char(Value >> 8);
}

void Put32(QByteArray& Out, quint32 Value) {
  Put16(Out, Word(Value & 0xFFFF));
  Put16(Out, Word(Value >> 16));
}

QByteArray Head(Word Id, Word Length) {
  QByteArray out;
  out.reserve(4 + Length);
  Put16(out, Id);
  Put16(out, Length);
  return out;
}

QByteArray CellHead(Word Id, Word Length, Word Row, Word Col, Word Xf) {
  QByteArray out = Head(Id, Length);
  Put16(out, Row);
  Put16(out, Col);
  Put16(out, Xf);
  return out;
}

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
  QByteArray out = Head(0x0809, 8);
  Put16(out, 0x0000);
  Put16(out, 0x0010);
  Put16(out, 0x0000);
  Put16(out, 0x0000);
  Stream->WriteBuffer(out);
}

void WriteCodePage(TStream* Stream) {
  QByteArray out = Head(0x0042, 2);
  Put16(out, 936);
  Stream->WriteBuffer(out);
}

void WriteEof(TStream* Stream) { Stream->WriteBuffer(Head(0x000A, 0)); }

void WriteBlank(TStream* Stream, Word Row, Word Col) { Stream->WriteBuffer(CellHead(0x0201, 6, Row, Col, 0x0017)); }

void WriteNumber(TStream* Stream, Word Row, Word Col, double Value) {
  QByteArray out = CellHead(0x0203, 14, Row, Col, 0);
  quint64 bits = 0;
  std::memcpy(&bits, &Value, sizeof bits);
  Put32(out, quint32(bits & 0xFFFFFFFFu));
  Put32(out, quint32(bits >> 32));
  Stream->WriteBuffer(out);
}

void WriteRk(TStream* Stream, Word Row, Word Col, Integer Value) {
  QByteArray out = CellHead(0x027E, 10, Row, Col, 0);
  Put32(out, quint32(Value) * 4u + 2u);
  Stream->WriteBuffer(out);
}

void WriteLabel(TStream* Stream, Word Row, Word Col, const QByteArray& AnsiText) {
  const qsizetype length = AnsiText.size() > MaxLabelBytes ? CutAtCharacter(AnsiText, MaxLabelBytes) : AnsiText.size();
  QByteArray out = CellHead(0x0204, Word(8 + length), Row, Col, 0);
  Put16(out, Word(length));
  out.append(AnsiText.constData(), length);
  Stream->WriteBuffer(out);
}

bool FitsRk(Int64 Value) { return Value >= MinRk && Value <= MaxRk; }

}  // namespace BiffRecords
