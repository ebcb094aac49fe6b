#include "gridout/TextCellReader.h"

TTextCellReader::TTextCellReader(TStream* Stream, Integer UnitSize, const String& ClassName)
    : FStream(Stream), FUnitSize(UnitSize), FClassName(ClassName) {}

void TTextCellReader::FormatError() const {
  throw Exception(FClassName + QStringLiteral(".CheckState: ") + QString::fromUtf8("不合法的文本格式"));
}

// An odd trailing byte of UTF-16 is no character.
bool TTextCellReader::NextChar(char16_t& Ch) {
  unsigned char bytes[2] = {0, 0};
  const Int64 start = FStream->Position();
  const Integer got = FStream->Read(bytes, FUnitSize);
  if (got != FUnitSize) {
    FStream->SetPosition(start);
    return false;
  }
  Ch = FUnitSize == 1 ? char16_t(bytes[0]) : char16_t(bytes[0] | (bytes[1] << 8));
  return true;
}

void TTextCellReader::StepBack(Integer Units) {
  const Int64 back = Int64(Units) * FUnitSize;
  if (FStream->Position() >= back) FStream->Seek(-back, soCurrent);
}

Integer TTextCellReader::NextToken() {
  const Integer previous = FTokenClass;
  const bool cellStarts = previous == tcCellEnd || previous == tcRowEnd;
  char16_t ch = 0;
  Integer state = tcValue;
  FHasPending = false;
  if (!NextChar(ch)) {
    FAtEnd = true;
    state = tcEnd;
  } else if (ch == u'\t') {
    state = tcCellEnd;
    if (cellStarts) {
      StepBack(1);
      state = tcValue;
    }
  } else if (ch == u'\r' || ch == u'\n') {
    Integer units = 1;
    if (ch == u'\r') {
      char16_t lf = 0;
      if (!NextChar(lf) || lf != u'\n') FormatError();
      units = 2;
    }
    state = tcRowEnd;
    if (cellStarts) {
      StepBack(units);
      state = tcValue;
    }
  } else if (ch == 0) {
    FAtEnd = true;
    state = tcEnd;
  } else {
    FHasPending = true;
    FPending = ch;
  }
  FTokenClass = state;
  return state;
}

Integer TTextCellReader::ReadCellText() {
  FCellUnits.clear();
  auto append = [this] {
    if (!FHasPending) return;
    FCellUnits += char(FPending & 0xFF);
    if (FUnitSize == 2) FCellUnits += char(FPending >> 8);
  };
  if (FTokenClass == tcValue) append();
  while (NextToken() == tcValue) append();
  return FTokenClass;
}
