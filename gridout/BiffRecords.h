#pragma once
// The records of a minimal BIFF worksheet stream, written little-endian onto a stream.
#include "platform/rtl/Classes.h"

namespace BiffRecords {
// Longest label text: the record's 16-bit length holds 8 bytes besides the text.
constexpr Integer MaxLabelBytes = 65535 - 8;
// Integers an RK record holds (30 bits, two's complement).
constexpr Int64 MinRk = -536870912, MaxRk = 536870911;

void WriteBof(TStream* Stream);
// Code page 936, so readers decode the labels' bytes as Chinese text.
void WriteCodePage(TStream* Stream);
void WriteEof(TStream* Stream);
void WriteBlank(TStream* Stream, Word Row, Word Col);
void WriteNumber(TStream* Stream, Word Row, Word Col, double Value);
void WriteRk(TStream* Stream, Word Row, Word Col, Integer Value);
// Text longer than MaxLabelBytes is cut at the last character boundary that fits.
void WriteLabel(TStream* Stream, Word Row, Word Col, const QByteArray& AnsiText);
bool FitsRk(Int64 Value);
}  // namespace BiffRecords
