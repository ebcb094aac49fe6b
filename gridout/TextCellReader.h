#pragma once
// Reads tab-separated text cell by cell from a stream of 8-bit or 16-bit units. A row ends
// with CR LF or with LF alone; a NUL or the end of the stream ends the source. A CR that
// is not followed by LF is a format error.
#include "platform/rtl/Classes.h"

class TTextCellReader {
public:
  enum TTokenClass { tcValue = 0, tcCellEnd = 1, tcRowEnd = 2, tcEnd = 3 };
  // UnitSize 1 (code page 936 bytes) or 2 (UTF-16 little-endian); ClassName prefixes the
  // format error's message.
  TTextCellReader(TStream* Stream, Integer UnitSize, const String& ClassName);
  // Reads and classifies one character.
  Integer NextToken();
  // Collects one cell into CellUnits; returns the class that ended it (1, 2 or 3).
  Integer ReadCellText();
  Integer TokenClass() const { return FTokenClass; }
  void SetTokenClass(Integer Value) { FTokenClass = Value; }
  bool AtEnd() const { return FAtEnd; }
  // The raw units of the cell just read.
  const QByteArray& CellUnits() const { return FCellUnits; }

private:
  bool NextChar(char16_t& Ch);
  void StepBack(Integer Units);
  [[noreturn]] void FormatError() const;
  TStream* FStream;
  Integer FUnitSize;
  String FClassName;
  Integer FTokenClass = tcRowEnd;
  bool FAtEnd = false;
  bool FHasPending = false;
  char16_t FPending = 0;
  QByteArray FCellUnits;
};
