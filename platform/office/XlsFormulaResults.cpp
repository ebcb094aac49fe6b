#include "platform/office/XlsFormulaResults.h"
#include <QtEndian>
#include <bit>
#include <cstring>
#include <vector>

namespace {

constexpr quint32 LastRegularSector = 0xFFFFFFFA;
constexpr quint16 RecordFormula = 0x0006, RecordEof = 0x000A, RecordContinue = 0x003C, RecordBoundSheet = 0x0085,
                  RecordString = 0x0207, RecordBof = 0x0809;

[[noreturn]] void Unreadable(const char* What) {
  throw EWorkbookError(QStringLiteral("The workbook's formula results cannot be read: %1").arg(QLatin1String(What)));
}

// The readers of little-endian fields check their bounds and stay out of
// line: inlined, GCC's bounds warning takes the shared storage of an empty
// array for the data and cannot see the check.
[[gnu::noinline]] quint16 U16(const QByteArray& Bytes, qsizetype At) {
  if (At < 0 || At + 2 > Bytes.size()) Unreadable("a record runs past the end of its data");
  return qFromLittleEndian<quint16>(Bytes.constData() + At);
}

[[gnu::noinline]] quint32 U32(const QByteArray& Bytes, qsizetype At) {
  if (At < 0 || At + 4 > Bytes.size()) Unreadable("a record runs past the end of its data");
  return qFromLittleEndian<quint32>(Bytes.constData() + At);
}

[[gnu::noinline]] quint64 U64(const QByteArray& Bytes, qsizetype At) {
  if (At < 0 || At + 8 > Bytes.size()) Unreadable("a record runs past the end of its data");
  return qFromLittleEndian<quint64>(Bytes.constData() + At);
}

[[gnu::noinline]] quint8 U8(const QByteArray& Bytes, qsizetype At) {
  if (At < 0 || At >= Bytes.size()) Unreadable("a record runs past the end of its data");
  return quint8(Bytes[At]);
}

// The streams of a compound document, the container of .xls files.
class TCompoundFile {
public:
  explicit TCompoundFile(const QByteArray& File) : FFile(File) {
    if (File.size() < 512 || std::memcmp(File.constData(), "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) != 0)
      Unreadable("it is no compound document");
    const quint16 Shift = U16(File, 0x1E);
    if ((Shift != 9 && Shift != 12) || U16(File, 0x20) != 6) Unreadable("unknown sector sizes");
    FSectorSize = qsizetype(1) << Shift;
    FMiniCutoff = U32(File, 0x38);
    const qsizetype Sectors = File.size() / FSectorSize;
    const quint32 FatSectorCount = U32(File, 0x2C);
    if (FatSectorCount > quint32(Sectors)) Unreadable("the sector table is larger than the file");
    std::vector<quint32> FatSectors;
    for (int i = 0; i < 109 && FatSectors.size() < FatSectorCount; ++i) FatSectors.push_back(U32(File, 0x4C + 4 * i));
    quint32 Difat = U32(File, 0x44);
    for (qsizetype Links = 0; FatSectors.size() < FatSectorCount && Difat <= LastRegularSector; ++Links) {
      if (Links >= Sectors) Unreadable("a sector chain loops");
      const qsizetype At = SectorOffset(Difat);
      for (qsizetype i = 0; i < FSectorSize / 4 - 1 && FatSectors.size() < FatSectorCount; ++i)
        FatSectors.push_back(U32(File, At + 4 * i));
      Difat = U32(File, At + FSectorSize - 4);
    }
    for (const quint32 Sector : FatSectors) {
      const qsizetype At = SectorOffset(Sector);
      for (qsizetype i = 0; i < FSectorSize / 4; ++i) FFat.push_back(U32(File, At + 4 * i));
    }
    FDirectory = Chain(U32(File, 0x30), WholeChain, FFat, false);
    const QByteArray MiniFatBytes = Chain(U32(File, 0x3C), WholeChain, FFat, false);
    for (qsizetype At = 0; At + 4 <= MiniFatBytes.size(); At += 4) FMiniFat.push_back(U32(MiniFatBytes, At));
    if (FDirectory.size() < 128) Unreadable("the directory is missing");
    FMiniStream = Chain(U32(FDirectory, 116), qsizetype(U32(FDirectory, 120)), FFat, false);
  }

  // The stream of that name, empty when there is none.
  QByteArray Stream(const String& Name) const {
    for (qsizetype Entry = 0; Entry + 128 <= FDirectory.size(); Entry += 128) {
      if (U8(FDirectory, Entry + 66) != 2) continue;
      const qsizetype NameBytes = qMin<qsizetype>(U16(FDirectory, Entry + 64), 64);
      if (NameBytes < 2) continue;
      const String EntryName = String::fromUtf16(reinterpret_cast<const char16_t*>(FDirectory.constData() + Entry),
                                                 NameBytes / 2 - 1);
      if (EntryName.compare(Name, Qt::CaseInsensitive) != 0) continue;
      const quint32 Size = U32(FDirectory, Entry + 120);
      const quint32 Start = U32(FDirectory, Entry + 116);
      return Size < FMiniCutoff ? Chain(Start, Size, FMiniFat, true) : Chain(Start, Size, FFat, false);
    }
    return QByteArray();
  }

private:
  qsizetype SectorOffset(quint32 Sector) const {
    const qsizetype At = (qsizetype(Sector) + 1) * FSectorSize;
    if (Sector > LastRegularSector || At + FSectorSize > FFile.size()) Unreadable("a sector lies outside the file");
    return At;
  }

  static constexpr qsizetype WholeChain = -1;

  // Size bytes (or all, for WholeChain) of the chain from Start, in sectors of
  // the file or of the mini stream. A chain never has more links than its
  // source has sectors, which also ends a chain that loops.
  QByteArray Chain(quint32 Start, qsizetype Size, const std::vector<quint32>& Table, bool Mini) const {
    const QByteArray& Source = Mini ? FMiniStream : FFile;
    if (Size > Source.size()) Unreadable("a stream is larger than the file");
    const qsizetype Unit = Mini ? 64 : FSectorSize;
    const qsizetype MaxLinks = Source.size() / Unit;
    QByteArray Bytes;
    if (Size != WholeChain) Bytes.reserve(Size + Unit);
    quint32 Sector = Start;
    for (qsizetype Links = 0; (Size == WholeChain || Bytes.size() < Size) && Sector <= LastRegularSector; ++Links) {
      if (Links >= MaxLinks) Unreadable("a sector chain loops");
      const qsizetype At = Mini ? qsizetype(Sector) * Unit : SectorOffset(Sector);
      if (At + Unit > Source.size()) Unreadable("a sector lies outside the file");
      Bytes.append(Source.constData() + At, Unit);
      if (Sector >= Table.size()) Unreadable("a sector chain leaves its table");
      Sector = Table[Sector];
    }
    if (Size == WholeChain) return Bytes;
    if (Bytes.size() < Size) Unreadable("a stream ends early");
    Bytes.truncate(Size);
    return Bytes;
  }

  const QByteArray& FFile;
  qsizetype FSectorSize = 512;
  quint32 FMiniCutoff = 4096;
  std::vector<quint32> FFat;
  std::vector<quint32> FMiniFat;
  QByteArray FDirectory;
  QByteArray FMiniStream;
};

// The records of a BIFF stream from one offset on.
class TBiffRecords {
public:
  TBiffRecords(const QByteArray& Stream, qsizetype At) : FStream(Stream), FNext(At) {}
  bool Next() {
    if (FNext + 4 > FStream.size()) return false;
    Type = U16(FStream, FNext);
    const qsizetype Length = U16(FStream, FNext + 2);
    Data = FNext + 4;
    if (Data + Length > FStream.size()) Unreadable("a record runs past the end of the workbook");
    Size = Length;
    FNext = Data + Length;
    return true;
  }
  // The type of the record that follows, without moving to it.
  quint16 PeekType() const { return FNext + 4 <= FStream.size() ? U16(FStream, FNext) : 0; }

  quint16 Type = 0;
  qsizetype Data = 0;
  qsizetype Size = 0;

private:
  const QByteArray& FStream;
  qsizetype FNext;
};

// Count characters at At, one byte each or UTF-16 when Wide, which may go on
// in CONTINUE records that each start with their own width flag (BIFF8).
String ReadCharacters(const QByteArray& Book, TBiffRecords& Records, qsizetype At, qsizetype Count, bool Wide) {
  String Text;
  qsizetype End = Records.Data + Records.Size;
  while (Text.size() < Count) {
    if (At >= End) {
      if (Records.PeekType() != RecordContinue || !Records.Next()) Unreadable("a text ends early");
      End = Records.Data + Records.Size;
      Wide = (U8(Book, Records.Data) & 1) != 0;
      At = Records.Data + 1;
      continue;
    }
    if (Wide) {
      Text += QChar(U16(Book, At));
      At += 2;
    } else {
      Text += QChar(U8(Book, At));
      At += 1;
    }
  }
  return Text;
}

String ErrorName(quint8 Code) {
  switch (Code) {
    case 0x00: return QStringLiteral("#NULL!");
    case 0x07: return QStringLiteral("#DIV/0!");
    case 0x0F: return QStringLiteral("#VALUE!");
    case 0x17: return QStringLiteral("#REF!");
    case 0x1D: return QStringLiteral("#NAME?");
    case 0x24: return QStringLiteral("#NUM!");
    case 0x2A: return QStringLiteral("#N/A");
    default: return QStringLiteral("#ERROR %1").arg(Code);
  }
}

TSheetFormulaResults ReadSheet(const QByteArray& Book, qsizetype Offset) {
  TSheetFormulaResults Results;
  TBiffRecords Records(Book, Offset);
  if (!Records.Next() || Records.Type != RecordBof) Unreadable("a sheet does not start where the workbook says");
  QPair<int, int> TextCell(-1, -1);
  while (Records.Next() && Records.Type != RecordEof) {
    if (Records.Type == RecordString && TextCell.first >= 0) {
      const qsizetype Count = U16(Book, Records.Data);
      const bool Wide = (U8(Book, Records.Data + 2) & 1) != 0;
      Results[TextCell] = {TFormulaResult::frText, 0, ReadCharacters(Book, Records, Records.Data + 3, Count, Wide)};
      TextCell = {-1, -1};
      continue;
    }
    if (Records.Type != RecordFormula) continue;
    if (Records.Size < 20) Unreadable("a formula record is too short");
    const QPair<int, int> Cell(U16(Book, Records.Data), U16(Book, Records.Data + 2));
    const qsizetype Result = Records.Data + 6;
    TFormulaResult Value;
    if (U16(Book, Result + 6) != 0xFFFF) {
      Value.Kind = TFormulaResult::frNumber;
      Value.Value = std::bit_cast<double>(U64(Book, Result));
    } else {
      switch (U8(Book, Result)) {
        case 0: TextCell = Cell; continue;  // the text follows in a STRING record
        case 1: Value = {TFormulaResult::frBoolean, double(U8(Book, Result + 2) != 0), String()}; break;
        case 2: Value = {TFormulaResult::frError, 0, ErrorName(U8(Book, Result + 2))}; break;
        case 3: Value = {TFormulaResult::frEmpty, 0, String()}; break;
        default: Value = {TFormulaResult::frError, 0, QStringLiteral("#?")}; break;
      }
    }
    Results[Cell] = Value;
  }
  return Results;
}

}  // namespace

QHash<String, TSheetFormulaResults> ReadFormulaResults(const QByteArray& File) {
  const TCompoundFile Container(File);
  const QByteArray Book = Container.Stream(QStringLiteral("Workbook"));
  if (Book.isEmpty()) Unreadable("there is no BIFF8 workbook stream");
  struct TSheet {
    String Name;
    qsizetype Offset;
  };
  QList<TSheet> Sheets;
  TBiffRecords Records(Book, 0);
  if (!Records.Next() || Records.Type != RecordBof || U16(Book, Records.Data) != 0x0600)
    Unreadable("the workbook stream is no BIFF8");
  while (Records.Next() && Records.Type != RecordEof) {
    if (Records.Type != RecordBoundSheet) continue;
    const qsizetype Offset = U32(Book, Records.Data);
    const bool Worksheet = U8(Book, Records.Data + 5) == 0;
    const qsizetype Count = U8(Book, Records.Data + 6);
    const bool Wide = (U8(Book, Records.Data + 7) & 1) != 0;
    const String Name = ReadCharacters(Book, Records, Records.Data + 8, Count, Wide);
    if (Worksheet) Sheets << TSheet{Name, Offset};
  }
  QHash<String, TSheetFormulaResults> Result;
  for (const TSheet& Sheet : Sheets) Result.insert(Sheet.Name, ReadSheet(Book, Sheet.Offset));
  return Result;
}
