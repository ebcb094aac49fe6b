#include "zip/ZipRecords.h"
#include "platform/rtl/Encodings.h"
#include "zip/ZipErrors.h"
#include "zip/ZipFileUtils.h"
#include <QtEndian>
#include <algorithm>
#include <vector>

namespace {

uint16_t Get16(const uint8_t* p) { return qFromLittleEndian<uint16_t>(p); }
uint32_t Get32(const uint8_t* p) { return qFromLittleEndian<uint32_t>(p); }

// Little-endian header bytes under construction.
class THeaderBytes {
public:
  void U16(uint32_t v) { Bytes.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF)); }
  void U32(uint32_t v) {
    U16(v & 0xFFFF);
    U16(v >> 16);
  }
  void Raw(const QByteArray& b) { Bytes.append(b); }
  void WriteTo(TStream* Stream) const {
    if (Stream->Write(Bytes.constData(), Integer(Bytes.size())) != Integer(Bytes.size())) RaiseNotEnoughRoom();
  }
  QByteArray Bytes;
};

bool ReadExactly(TStream* Stream, void* Buffer, Integer Count) { return Stream->Read(Buffer, Count) == Count; }

// Names flagged UTF-8 are UTF-8; other names from MS-DOS hosts are code page
// 936; the rest are UTF-8 when valid, else code page 936.
String DecodeName(const QByteArray& Raw, bool Utf8, bool DosHost) {
  if (Utf8 || (!DosHost && IsValidUtf8(Raw))) return String::fromUtf8(Raw);
  try {
    return GbkToString(Raw);
  } catch (const EEncodingError&) {
    return String::fromLatin1(Raw);
  }
}

// Copies From into To when both are records of class T.
template <typename T> bool CopyRecord(TPersistent* From, TPersistent* To) {
  auto* from = dynamic_cast<T*>(From);
  auto* to = dynamic_cast<T*>(To);
  if (!from || !to) return false;
  *to = *from;
  return true;
}

bool IsAscii(const String& S) {
  return std::all_of(S.begin(), S.end(), [](QChar c) { return c.unicode() < 0x80; });
}

}  // namespace

// ---- TZipHeaderInfo ----

void TZipHeaderInfo::SetDefaults() {
  VersionMadeBy = 20;
  VersionNeeded = 20;
  Flags = 0;
  CompressionMethod = kMethodDeflated;
  FileDateTime = 0;
  Crc32 = 0xFFFFFFFF;
  CompressedSize = 0;
  UncompressedSize = 0;
  FileNameLength = 0;
  CentralExtraLength = 0;
  LocalExtraLength = 0;
  FileCommentLength = 0;
  DiskNumberStart = 0;
  InternalAttributes = 1;
  ExternalAttributes = 0x20;
  LocalHeaderOffset = 0;
  CentralHeaderOffset = 0;
  MatchFlag = 0;
  CentralExtra.clear();
  FFileName.clear();
  FDirectory.clear();
  FFileComment.clear();
  FCommentLoaded = false;
}

void TZipHeaderInfo::Assign(TPersistent* Source) {
  if (!CopyRecord<TZipHeaderInfo>(Source, this)) TPersistent::Assign(Source);
}

void TZipHeaderInfo::AssignTo(TPersistent* Dest) {
  if (!CopyRecord<TZipHeaderInfo>(this, Dest)) TPersistent::AssignTo(Dest);
}

void TZipHeaderInfo::SetName(const QByteArray& Raw, bool Utf8, bool DosHost) {
  String name = DecodeName(Raw, Utf8, DosHost);
  name.replace(u'/', u'\\');
  const qsizetype slash = name.lastIndexOf(u'\\');
  FDirectory = name.left(slash + 1);
  FFileName = name.mid(slash + 1);
  UpdateNameLength();
}

bool TZipHeaderInfo::ReadCentral(TStream* Stream) {
  const Int64 start = Stream->Position();
  uint8_t h[kCentralHeaderSize];
  if (!ReadExactly(Stream, h, kCentralHeaderSize) || Get32(h) != kCentralHeaderSignature) {
    Stream->Seek(start, soBeginning);
    return false;
  }
  QByteArray name(Get16(h + 28), Qt::Uninitialized);
  QByteArray extra(Get16(h + 30), Qt::Uninitialized);
  if (!ReadExactly(Stream, name.data(), Integer(name.size())) || !ReadExactly(Stream, extra.data(), Integer(extra.size()))) {
    Stream->Seek(start, soBeginning);
    return false;
  }
  VersionMadeBy = Get16(h + 4);
  VersionNeeded = Get16(h + 6);
  Flags = Get16(h + 8);
  CompressionMethod = Get16(h + 10);
  FileDateTime = ClampDosDateTime(Get32(h + 12));
  Crc32 = Get32(h + 16);
  CompressedSize = Get32(h + 20);
  UncompressedSize = Get32(h + 24);
  CentralExtraLength = Get16(h + 30);
  FileCommentLength = Get16(h + 32);
  DiskNumberStart = Get16(h + 34);
  InternalAttributes = Get16(h + 36);
  ExternalAttributes = Get32(h + 38);
  LocalHeaderOffset = Get32(h + 42);
  CentralHeaderOffset = int32_t(start);
  LocalExtraLength = 0;
  MatchFlag = 0;
  CentralExtra = extra;
  FFileComment.clear();
  FCommentLoaded = false;
  SetName(name, Flags & kFlagUtf8Name, (VersionMadeBy >> 8) == 0);
  return true;
}

bool TZipHeaderInfo::ReadLocal(TStream* Stream) {
  const Int64 start = Stream->Position();
  uint8_t h[kLocalHeaderSize];
  if (!ReadExactly(Stream, h, kLocalHeaderSize) || Get32(h) != kLocalHeaderSignature) {
    Stream->Seek(start, soBeginning);
    return false;
  }
  QByteArray name(Get16(h + 26), Qt::Uninitialized);
  if (!ReadExactly(Stream, name.data(), Integer(name.size()))) {
    Stream->Seek(start, soBeginning);
    return false;
  }
  VersionMadeBy = 0;
  VersionNeeded = Get16(h + 4);
  Flags = Get16(h + 6);
  CompressionMethod = Get16(h + 8);
  FileDateTime = ClampDosDateTime(Get32(h + 10));
  Crc32 = Get32(h + 14);
  CompressedSize = Get32(h + 18);
  UncompressedSize = Get32(h + 22);
  LocalExtraLength = Get16(h + 28);
  CentralExtraLength = 0;
  FileCommentLength = 0;
  DiskNumberStart = 0;
  InternalAttributes = 0;
  ExternalAttributes = 0;
  LocalHeaderOffset = uint32_t(start);
  MatchFlag = 0;
  CentralExtra.clear();
  FFileComment.clear();
  FCommentLoaded = false;
  SetName(name, Flags & kFlagUtf8Name, false);
  return true;
}

QByteArray TZipHeaderInfo::EncodedName() const {
  String name = StoredName();
  name.replace(u'\\', u'/');
  return IsAscii(name) ? name.toLatin1() : name.toUtf8();
}

uint16_t TZipHeaderInfo::WrittenFlags() const {
  return IsAscii(StoredName()) ? Flags : uint16_t(Flags | kFlagUtf8Name);
}

void TZipHeaderInfo::UpdateNameLength() {
  FileNameLength = uint16_t(std::min<qsizetype>(EncodedName().size(), 0xFFFF));
}

void TZipHeaderInfo::WriteCentral(TStream* Stream) const {
  const QByteArray name = EncodedName();
  if (name.size() > 0xFFFF) throw EZipTooLarge(QStringLiteral("Entry name too long: %1").arg(StoredName()));
  THeaderBytes b;
  b.U32(kCentralHeaderSignature);
  b.U16(VersionMadeBy);
  b.U16(VersionNeeded);
  b.U16(WrittenFlags());
  b.U16(CompressionMethod);
  b.U32(FileDateTime);
  b.U32(Crc32);
  b.U32(CompressedSize);
  b.U32(UncompressedSize);
  b.U16(uint16_t(name.size()));
  b.U16(uint16_t(CentralExtra.size()));
  b.U16(uint16_t(FFileComment.size()));
  b.U16(DiskNumberStart);
  b.U16(InternalAttributes);
  b.U32(ExternalAttributes);
  b.U32(LocalHeaderOffset);
  b.Raw(name);
  b.Raw(CentralExtra);
  b.Raw(FFileComment);
  b.WriteTo(Stream);
}

void TZipHeaderInfo::WriteLocal(TStream* Stream) {
  const Int64 offset = Stream->Position();
  if (offset > Int64(0xFFFFFFFF)) throw EZipTooLarge(QStringLiteral("The archive would pass 4 GiB"));
  LocalHeaderOffset = uint32_t(offset);
  const QByteArray name = EncodedName();
  if (name.size() > 0xFFFF) throw EZipTooLarge(QStringLiteral("Entry name too long: %1").arg(StoredName()));
  THeaderBytes b;
  b.U32(kLocalHeaderSignature);
  b.U16(VersionNeeded);
  b.U16(WrittenFlags());
  b.U16(CompressionMethod);
  b.U32(FileDateTime);
  b.U32(Crc32);
  b.U32(CompressedSize);
  b.U32(UncompressedSize);
  b.U16(uint16_t(name.size()));
  b.U16(LocalExtraLength);
  b.Raw(name);
  b.WriteTo(Stream);
}

void TZipHeaderInfo::SetFileName(const String& Value) {
  if (Value == FFileName) return;
  FFileName = Value;
  UpdateNameLength();
}

void TZipHeaderInfo::SetDirectory(const String& Value) {
  String dir = Value;
  if (!dir.isEmpty() && !dir.endsWith(u'\\')) dir += u'\\';
  if (dir == FDirectory) return;
  FDirectory = dir;
  UpdateNameLength();
}

void TZipHeaderInfo::SetFileComment(const QByteArray& Value) {
  FFileComment = Value.left(0xFFFF);
  FileCommentLength = uint16_t(FFileComment.size());
  FCommentLoaded = true;
}

void TZipHeaderInfo::MarkCommentLoaded(const QByteArray& Value) {
  FFileComment = Value;
  FCommentLoaded = true;
}

// ---- TEndCentral ----

void TEndCentral::SetDefaults() {
  Signature = kEndCentralSignature;
  ThisDiskNumber = CentralDirDisk = EntriesOnThisDisk = TotalEntries = 0;
  CentralDirSize = CentralDirOffset = 0;
  CommentLength = 0;
  EndOffset = 0;
  CommentOffset = 0;
  CommentModified = false;
  FComment.clear();
  FCommentLoaded = false;
}

void TEndCentral::Assign(TPersistent* Source) {
  if (!CopyRecord<TEndCentral>(Source, this)) TPersistent::Assign(Source);
}

void TEndCentral::AssignTo(TPersistent* Dest) {
  if (!CopyRecord<TEndCentral>(this, Dest)) TPersistent::AssignTo(Dest);
}

bool TEndCentral::Find(TStream* Stream) {
  const Int64 size = Stream->Seek(0, soEnd);
  if (size == 0) return true;
  if (size < kEndCentralSize) return false;
  const Int64 window = std::min<Int64>(size, 0xFFFF + kEndCentralSize);
  std::vector<uint8_t> tail(size_t(window), 0);
  Stream->Seek(size - window, soBeginning);
  if (!ReadExactly(Stream, tail.data(), Integer(window))) return false;
  for (Int64 i = window - kEndCentralSize; i >= 0; --i) {
    const uint8_t* p = tail.data() + i;
    if (p[0] != 0x50 || Get32(p) != kEndCentralSignature) continue;
    ThisDiskNumber = Get16(p + 4);
    CentralDirDisk = Get16(p + 6);
    EntriesOnThisDisk = Get16(p + 8);
    TotalEntries = Get16(p + 10);
    CentralDirSize = Get32(p + 12);
    CentralDirOffset = Get32(p + 16);
    CommentLength = Get16(p + 20);
    EndOffset = size - window + i;
    CommentOffset = EndOffset + kEndCentralSize;
    FComment.clear();
    FCommentLoaded = false;
    return true;
  }
  return false;
}

void TEndCentral::Write(TStream* Stream) const {
  THeaderBytes b;
  b.U32(Signature);
  b.U16(ThisDiskNumber);
  b.U16(CentralDirDisk);
  b.U16(EntriesOnThisDisk);
  b.U16(TotalEntries);
  b.U32(CentralDirSize);
  b.U32(CentralDirOffset);
  b.U16(uint16_t(FComment.size()));
  b.Raw(FComment);
  b.WriteTo(Stream);
}

void TEndCentral::SetComment(const QByteArray& Value) {
  FComment = Value.left(0xFFFF);
  CommentLength = uint16_t(FComment.size());
  FCommentLoaded = true;
  CommentModified = true;
}

void TEndCentral::MarkCommentLoaded(const QByteArray& Value) {
  FComment = Value;
  FCommentLoaded = true;
}

// ---- TSortedZip ----

namespace {

TDateTime EntryDate(const TZipHeaderInfo* e) {
  TDateTime d = 0;
  return DosDateTimeToDateTime(e->FileDateTime, d) ? d : 0;
}

int Rate(const TZipHeaderInfo* e) {
  if (e->UncompressedSize == 0) return 0;
  return int(std::min<double>(100, std::nearbyint(double(e->CompressedSize) * 100.0 / e->UncompressedSize)));
}

// Largest first; equal values go before (-1) so that a newcomer lands first among equals.
template <typename T> Integer Descending(T a, T b) { return a > b ? -1 : (a < b ? 1 : -1); }

}  // namespace

Integer TSortedZip::Compare(TObject* Item1, TObject* Item2) const {
  const auto* a = static_cast<const TZipHeaderInfo*>(Item1);
  const auto* b = static_cast<const TZipHeaderInfo*>(Item2);
  switch (FSortMode) {
    case ByName: return a->StoredName().compare(b->StoredName(), Qt::CaseInsensitive);
    case ByFileName: return a->FileName().compare(b->FileName(), Qt::CaseInsensitive);
    case ByDirectoryName: return a->Directory().compare(b->Directory(), Qt::CaseInsensitive);
    case ByDate: return Descending(EntryDate(a), EntryDate(b));
    case ByCompressedSize: return Descending(a->CompressedSize, b->CompressedSize);
    case ByUnCompressedSize: return Descending(a->UncompressedSize, b->UncompressedSize);
    case ByRate: return Descending(Rate(a), Rate(b));
    case ByNone:
      if (a->DiskNumberStart != b->DiskNumberStart) return a->DiskNumberStart < b->DiskNumberStart ? -1 : 1;
      if (a->LocalHeaderOffset != b->LocalHeaderOffset) return a->LocalHeaderOffset < b->LocalHeaderOffset ? -1 : 1;
      return 0;
  }
  return 0;
}
