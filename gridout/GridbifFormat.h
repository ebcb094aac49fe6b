#pragma once
// The grid library's interchange format "GRIDBIF": a 12-byte head (signature, version,
// column count), one descriptor per column, then tagged cells record after record and an
// end mark. Reading is bounded: nothing is read past the stream and nothing is allocated
// from a count the stream does not back.
#include "platform/db/DB.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Variants.h"

MOLI_DECLARE_EXCEPTION(EGridbifFormatError, Exception)

namespace Gridbif {

enum TTag : Byte { tagEnd = 0, tagUnassigned = 1, tagNull = 2, tagInteger = 3, tagFloat = 4, tagAnsi = 5,
                   tagBinary = 6, tagWide = 7 };

constexpr Integer HeaderSize = 12;

// Field types whose values travel as raw bytes (tag 6) and are written back as bytes.
bool HoldsBinary(TFieldType Type);

void PutHeader(TStream* Stream, const std::vector<bool>& VisibleFlags);
void PutEnd(TStream* Stream);
void PutUnassigned(TStream* Stream);
void PutNull(TStream* Stream);
void PutInteger(TStream* Stream, Integer Value);
void PutFloat(TStream* Stream, double Value);
void PutAnsi(TStream* Stream, const QByteArray& Bytes);
void PutBinary(TStream* Stream, const QByteArray& Bytes);
void PutWide(TStream* Stream, const String& Text);

// One cell as read: its tag and its value (Empty for tags 1 and unknown tags, Null for 2).
// Binary payloads keep their bytes in Bytes as well.
struct TCell {
  Byte Tag = tagEnd;
  Variant Value;
  QByteArray Bytes;
};

class TReader {
public:
  explicit TReader(TStream* Stream) : FStream(Stream) {}
  // Reads the head and the descriptors; returns the column count.
  Integer ReadHeader();
  const QByteArray& Header() const { return FHeader; }
  TCell ReadCell();

private:
  [[noreturn]] void FormatError() const;
  QByteArray ReadExactly(Int64 Count);
  Byte ReadByte();
  Int64 Remaining();
  TStream* FStream;
  QByteArray FHeader;
};

}  // namespace Gridbif
