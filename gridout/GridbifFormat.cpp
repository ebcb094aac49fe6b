#include "gridout/GridbifFormat.h"
#include "gridout/AnsiText.h"
#include <QtEndian>
#include <cstring>

namespace Gridbif {

namespace {

void PutTag(TStream* Stream, TTag Tag) { Stream->WriteLittleEndian<Byte>(Tag); }

void PutCounted(TStream* Stream, TTag Tag, const QByteArray& Bytes) {
  PutTag(Stream, Tag);
  Stream->WriteLittleEndian<qint32>(qint32(Bytes.size()));
  Stream->WriteBuffer(Bytes);
}

}  // namespace

bool HoldsBinary(TFieldType Type) {
  switch (Type) {
    case ftBytes:
    case ftVarBytes:
    case ftBlob:
    case ftGraphic:
    case ftFmtMemo:
    case ftParadoxOle:
    case ftDBaseOle:
    case ftTypedBinary:
    case ftOraBlob: return true;
    default: return false;
  }
}

void PutHeader(TStream* Stream, const std::vector<bool>& VisibleFlags) {
  Stream->WriteBuffer("GRIDBIF\x01", 8);
  Stream->WriteLittleEndian<qint32>(qint32(VisibleFlags.size()));
  for (const bool visible : VisibleFlags) {
    Stream->WriteLittleEndian<Byte>(visible ? 1 : 0);
    Stream->WriteLittleEndian<Byte>(0);
  }
}

void PutEnd(TStream* Stream) { PutTag(Stream, tagEnd); }
void PutUnassigned(TStream* Stream) { PutTag(Stream, tagUnassigned); }
void PutNull(TStream* Stream) { PutTag(Stream, tagNull); }

void PutInteger(TStream* Stream, Integer Value) {
  PutTag(Stream, tagInteger);
  Stream->WriteLittleEndian<qint32>(Value);
}

void PutFloat(TStream* Stream, double Value) {
  PutTag(Stream, tagFloat);
  quint64 bits = 0;
  std::memcpy(&bits, &Value, sizeof bits);
  Stream->WriteLittleEndian<quint64>(bits);
}

void PutAnsi(TStream* Stream, const QByteArray& Bytes) { PutCounted(Stream, tagAnsi, Bytes); }
void PutBinary(TStream* Stream, const QByteArray& Bytes) { PutCounted(Stream, tagBinary, Bytes); }

void PutWide(TStream* Stream, const String& Text) {
  PutCounted(Stream, tagWide, QByteArray(reinterpret_cast<const char*>(Text.utf16()), Text.size() * 2));
}

// ---- reading

void TReader::FormatError() const {
  throw EGridbifFormatError(QStringLiteral("TDBGridXImportAsGRIDBIF.ReadPrefix: ") +
                            QString::fromUtf8("不合法的 GRIDBIF 格式"));
}

Int64 TReader::Remaining() { return std::max<Int64>(FStream->Size() - FStream->Position(), 0); }

// A count larger than what is left is the format error before anything is allocated.
QByteArray TReader::ReadExactly(Int64 Count) {
  if (Count < 0 || Count > Remaining()) FormatError();
  QByteArray bytes(qsizetype(Count), Qt::Uninitialized);
  if (Count > 0 && FStream->Read(bytes.data(), Integer(Count)) != Count) FormatError();
  return bytes;
}

Byte TReader::ReadByte() {
  Byte b = 0;
  if (FStream->Read(&b, 1) != 1) FormatError();
  return b;
}

Integer TReader::ReadHeader() {
  FHeader = QByteArray();
  if (Remaining() < HeaderSize) FormatError();
  FHeader = ReadExactly(HeaderSize);
  if (!FHeader.startsWith("GRIDBIF")) FormatError();
  const qint32 columns = qFromLittleEndian<qint32>(FHeader.constData() + 8);
  // Each descriptor takes at least two bytes.
  if (columns < 0 || Int64(columns) * 2 > Remaining()) FormatError();
  for (qint32 i = 0; i < columns; ++i) {
    ReadByte();
    while (ReadByte() != 0) {
    }
  }
  return columns;
}

TCell TReader::ReadCell() {
  TCell cell;
  cell.Tag = ReadByte();
  switch (cell.Tag) {
    case tagNull: cell.Value = Variant::Null(); break;
    case tagInteger: cell.Value = Variant(qFromLittleEndian<qint32>(ReadExactly(4).constData())); break;
    case tagFloat: {
      const quint64 bits = qFromLittleEndian<quint64>(ReadExactly(8).constData());
      double value = 0;
      std::memcpy(&value, &bits, sizeof value);
      cell.Value = Variant(value);
      break;
    }
    case tagAnsi:
    case tagBinary:
    case tagWide: {
      const qint32 count = qFromLittleEndian<qint32>(ReadExactly(4).constData());
      if (cell.Tag == tagWide && count % 2 != 0) FormatError();
      cell.Bytes = ReadExactly(count);
      if (cell.Tag == tagWide)
        cell.Value = Variant(String(reinterpret_cast<const QChar*>(cell.Bytes.constData()), cell.Bytes.size() / 2));
      else
        cell.Value = Variant(FromAnsiText(cell.Bytes));
      break;
    }
    default: break;
  }
  return cell;
}

}  // namespace Gridbif
