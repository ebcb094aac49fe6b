#pragma once
// Writes a one-sheet .xls workbook as spreadsheet programs do: a BIFF8
// workbook stream (texts in the shared string table, numbers as RK or NUMBER
// cells) in a compound document with 512-byte sectors, its sector table
// extended past 109 sectors as large files need. The benchmarks read such a
// file back through the program's own import.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QtEndian>
#include <bit>
#include <cmath>
#include <vector>

namespace BenchXls {

class TRecords {
public:
  QByteArray Bytes;
  qsizetype Begin(quint16 Type) {
    const qsizetype At = Bytes.size();
    U16(Type);
    U16(0);
    return At;
  }
  void End(qsizetype At) { qToLittleEndian<quint16>(quint16(Bytes.size() - At - 4), Bytes.data() + At + 2); }
  void U8(quint8 Value) { Bytes.append(char(Value)); }
  void U16(quint16 Value) {
    char Le[2];
    qToLittleEndian(Value, Le);
    Bytes.append(Le, 2);
  }
  void U32(quint32 Value) {
    char Le[4];
    qToLittleEndian(Value, Le);
    Bytes.append(Le, 4);
  }
  void F64(double Value) {
    char Le[8];
    qToLittleEndian(std::bit_cast<quint64>(Value), Le);
    Bytes.append(Le, 8);
  }
  void Wide(const QString& Text) { Bytes.append(reinterpret_cast<const char*>(Text.utf16()), Text.size() * 2); }
};

constexpr quint16 BiffBof = 0x0809, BiffEof = 0x000A, BiffCodePage = 0x0042, BiffXf = 0x00E0,
                  BiffBoundSheet = 0x0085, BiffSst = 0x00FC, BiffContinue = 0x003C, BiffDimension = 0x0200,
                  BiffLabelSst = 0x00FD, BiffRk = 0x027E, BiffNumber = 0x0203;
constexpr qsizetype MaxRecordData = 8224;

inline void WriteBof(TRecords& Out, quint16 Kind) {
  const qsizetype At = Out.Begin(BiffBof);
  Out.U16(0x0600);
  Out.U16(Kind);
  Out.U16(0x0DBB);
  Out.U16(0x07CC);
  Out.U32(0);
  Out.U32(0x0006);
  Out.End(At);
}

// The RK form of Value when it has one: a 30-bit integer, or one hundredths of it.
inline bool RkOf(double Value, quint32& Rk) {
  constexpr double Limit = 536870911;
  if (std::fabs(Value) <= Limit && Value == std::floor(Value)) {
    Rk = (quint32(qint32(Value)) << 2) | 2;
    return true;
  }
  const double Hundredths = std::round(Value * 100);
  if (std::fabs(Hundredths) <= Limit && Hundredths / 100 == Value) {
    Rk = (quint32(qint32(Hundredths)) << 2) | 3;
    return true;
  }
  return false;
}

// The workbook stream of one sheet named SheetName: row 0 holds Titles, the
// rows below hold Rows, where the columns NumberColumns marks are numbers.
inline QByteArray WorkbookStream(const QString& SheetName, const QStringList& Titles, const QList<QStringList>& Rows,
                                 const QList<bool>& NumberColumns) {
  QHash<QString, quint32> Index;
  QStringList Strings;
  quint32 Labels = 0;
  const auto StringIndex = [&](const QString& Text) {
    ++Labels;
    const auto Found = Index.constFind(Text);
    if (Found != Index.constEnd()) return *Found;
    Index.insert(Text, quint32(Strings.size()));
    Strings << Text;
    return quint32(Strings.size() - 1);
  };
  TRecords Sheet;
  WriteBof(Sheet, 0x0010);
  qsizetype At = Sheet.Begin(BiffDimension);
  Sheet.U32(0);
  Sheet.U32(quint32(Rows.size() + 1));
  Sheet.U16(0);
  Sheet.U16(quint16(Titles.size()));
  Sheet.U16(0);
  Sheet.End(At);
  constexpr quint16 CellXf = 15;
  const auto Label = [&](quint16 Row, quint16 Column, const QString& Text) {
    const qsizetype Cell = Sheet.Begin(BiffLabelSst);
    Sheet.U16(Row);
    Sheet.U16(Column);
    Sheet.U16(CellXf);
    Sheet.U32(StringIndex(Text));
    Sheet.End(Cell);
  };
  for (qsizetype c = 0; c < Titles.size(); ++c) Label(0, quint16(c), Titles[c]);
  for (qsizetype r = 0; r < Rows.size(); ++r) {
    const quint16 Row = quint16(r + 1);
    for (qsizetype c = 0; c < Rows[r].size(); ++c) {
      if (!NumberColumns.value(c)) {
        Label(Row, quint16(c), Rows[r][c]);
        continue;
      }
      const double Value = Rows[r][c].toDouble();
      quint32 Rk = 0;
      const bool AsRk = RkOf(Value, Rk);
      const qsizetype Cell = Sheet.Begin(AsRk ? BiffRk : BiffNumber);
      Sheet.U16(Row);
      Sheet.U16(quint16(c));
      Sheet.U16(CellXf);
      if (AsRk)
        Sheet.U32(Rk);
      else
        Sheet.F64(Value);
      Sheet.End(Cell);
    }
  }
  Sheet.End(Sheet.Begin(BiffEof));

  TRecords Globals;
  WriteBof(Globals, 0x0005);
  At = Globals.Begin(BiffCodePage);
  Globals.U16(1200);
  Globals.End(At);
  // Fifteen style formats and the one the cells use, all general.
  for (int x = 0; x < 16; ++x) {
    At = Globals.Begin(BiffXf);
    Globals.U16(0);
    Globals.U16(0);
    Globals.U16(x < 15 ? 0xFFF5 : 0x0001);
    for (int Filler = 0; Filler < 14; ++Filler) Globals.U8(x < 15 && Filler == 3 ? 0xF4 : 0);
    Globals.End(At);
  }
  At = Globals.Begin(BiffBoundSheet);
  const qsizetype SheetOffset = Globals.Bytes.size();
  Globals.U32(0);
  Globals.U8(0);
  Globals.U8(0);
  Globals.U8(quint8(SheetName.size()));
  Globals.U8(1);
  Globals.Wide(SheetName);
  Globals.End(At);
  // The strings never straddle a record: each CONTINUE starts with a whole string.
  At = Globals.Begin(BiffSst);
  Globals.U32(Labels);
  Globals.U32(quint32(Strings.size()));
  for (const QString& Text : Strings) {
    const qsizetype Size = 3 + 2 * Text.size();
    if (Globals.Bytes.size() - At - 4 + Size > MaxRecordData) {
      Globals.End(At);
      At = Globals.Begin(BiffContinue);
    }
    Globals.U16(quint16(Text.size()));
    Globals.U8(1);
    Globals.Wide(Text);
  }
  Globals.End(At);
  Globals.End(Globals.Begin(BiffEof));
  qToLittleEndian<quint32>(quint32(Globals.Bytes.size()), Globals.Bytes.data() + SheetOffset);
  return Globals.Bytes + Sheet.Bytes;
}

// Stream as the "Workbook" stream of a compound document.
inline QByteArray CompoundFile(const QByteArray& Stream) {
  constexpr quint32 SectorSize = 512, PerSector = SectorSize / 4, HeaderFat = 109;
  constexpr quint32 Free = 0xFFFFFFFF, EndOfChain = 0xFFFFFFFE, FatSector = 0xFFFFFFFD, DifatSector = 0xFFFFFFFC;
  const quint32 StreamSectors = quint32((Stream.size() + SectorSize - 1) / SectorSize);
  const quint32 Directory = StreamSectors;
  quint32 Fats = 0, Difats = 0;
  for (;;) {
    const quint32 Sectors = StreamSectors + 1 + Fats + Difats;
    const quint32 NeedFats = (Sectors + PerSector - 1) / PerSector;
    const quint32 NeedDifats = NeedFats > HeaderFat ? (NeedFats - HeaderFat + PerSector - 2) / (PerSector - 1) : 0;
    if (NeedFats == Fats && NeedDifats == Difats) break;
    Fats = NeedFats;
    Difats = NeedDifats;
  }
  const quint32 FirstFat = Directory + 1, FirstDifat = FirstFat + Fats;

  std::vector<quint32> Fat(size_t(Fats) * PerSector, Free);
  for (quint32 s = 0; s < StreamSectors; ++s) Fat[s] = s + 1 < StreamSectors ? s + 1 : EndOfChain;
  Fat[Directory] = EndOfChain;
  for (quint32 f = 0; f < Fats; ++f) Fat[FirstFat + f] = FatSector;
  for (quint32 d = 0; d < Difats; ++d) Fat[FirstDifat + d] = DifatSector;

  TRecords File;
  File.Bytes.reserve(qsizetype(FirstDifat + Difats + 1) * SectorSize);
  File.Bytes.append("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
  File.Bytes.append(16, '\0');
  File.U16(0x003E);
  File.U16(0x0003);
  File.U16(0xFFFE);
  File.U16(9);
  File.U16(6);
  File.Bytes.append(6, '\0');
  File.U32(0);
  File.U32(Fats);
  File.U32(Directory);
  File.U32(0);
  File.U32(4096);
  File.U32(EndOfChain);
  File.U32(0);
  File.U32(Difats > 0 ? FirstDifat : EndOfChain);
  File.U32(Difats);
  for (quint32 f = 0; f < HeaderFat; ++f) File.U32(f < Fats ? FirstFat + f : Free);

  File.Bytes.append(Stream);
  File.Bytes.append(qsizetype(StreamSectors) * SectorSize - Stream.size(), '\0');

  const auto Entry = [&](const QString& Name, quint8 Type, quint32 Child, quint32 Start, quint32 Size) {
    const qsizetype At = File.Bytes.size();
    File.Wide(Name);
    File.Bytes.append(64 - Name.size() * 2, '\0');
    File.U16(Name.isEmpty() ? 0 : quint16(Name.size() * 2 + 2));
    File.U8(Type);
    File.U8(1);
    File.U32(Free);
    File.U32(Free);
    File.U32(Child);
    File.Bytes.append(16 + 4 + 8 + 8, '\0');
    File.U32(Start);
    File.U32(Size);
    File.U32(0);
    Q_ASSERT(File.Bytes.size() - At == 128);
  };
  Entry(QStringLiteral("Root Entry"), 5, 1, EndOfChain, 0);
  Entry(QStringLiteral("Workbook"), 2, Free, 0, quint32(Stream.size()));
  Entry(QString(), 0, Free, 0, 0);
  Entry(QString(), 0, Free, 0, 0);

  for (const quint32 Next : Fat) File.U32(Next);
  for (quint32 d = 0; d < Difats; ++d) {
    for (quint32 i = 0; i < PerSector - 1; ++i) {
      const quint32 f = HeaderFat + d * (PerSector - 1) + i;
      File.U32(f < Fats ? FirstFat + f : Free);
    }
    File.U32(d + 1 < Difats ? FirstDifat + d + 1 : EndOfChain);
  }
  return File.Bytes;
}

}  // namespace BenchXls
