#pragma once
// The records of a minimal BIFF worksheet stream, appended little-endian to a byte buffer.
#include "gridout/ByteBuffer.h"
#include "platform/rtl/Types.h"
#include <QByteArray>

namespace BiffRecords {
// Longest label text: the record's 16-bit length holds 8 bytes besides the text.
constexpr Integer MaxLabelBytes = 65535 - 8;
// Integers an RK record holds (30 bits, two's complement).
constexpr Int64 MinRk = -536870912, MaxRk = 536870911;

void WriteBof(TByteBuffer& Out);
// Code page 936, so readers decode the labels' bytes as Chinese text.
void WriteCodePage(TByteBuffer& Out);
void WriteEof(TByteBuffer& Out);
void WriteBlank(TByteBuffer& Out, Word Row, Word Col);
void WriteNumber(TByteBuffer& Out, Word Row, Word Col, double Value);
void WriteRk(TByteBuffer& Out, Word Row, Word Col, Integer Value);
// A label record: BeginLabel writes its head, the caller appends the code page 936 text,
// EndLabel fills in the lengths. Text longer than MaxLabelBytes is cut at the last
// character boundary that fits.
size_t BeginLabel(TByteBuffer& Out, Word Row, Word Col);
void EndLabel(TByteBuffer& Out, size_t Start);
void WriteLabel(TByteBuffer& Out, Word Row, Word Col, const QByteArray& AnsiText);
bool FitsRk(Int64 Value);
}  // namespace BiffRecords
