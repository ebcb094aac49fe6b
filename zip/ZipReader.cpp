#include "zip/ZipReader.h"
#include "platform/rtl/Encodings.h"
#include "zip/ZipErrors.h"
#include "zip/ZipFileUtils.h"
#include <QCoreApplication>
#include <QFileInfo>
#include <QtEndian>

namespace {

const QString kNotAZip = QStringLiteral("Not a valid zip file!");

bool EndsWithSeparator(const String& S) { return S.endsWith(u'/') || S.endsWith(u'\\'); }

String DecodeComment(const QByteArray& Bytes) { return DecodeLegacyText(Bytes); }

}  // namespace

TZipReader::TZipReader(TComponent* AOwner) : TComponent(AOwner), FFilesList(std::make_unique<TStringList>()) {}

TZipReader::~TZipReader() { ResetArchive(); }

void TZipReader::SetZipName(const String& Value) {
  if (Value == FZipName) return;
  FZipName = Value;
  FSorted.reset();
  FDirectory.reset();
  FEndCentral.SetDefaults();
  FStamp = TArchiveStamp{};
  FArchive.reset();
}

void TZipReader::SetDestDir(const String& Value) {
  FDestDir = Value;
  while (FDestDir.size() > 1 && EndsWithSeparator(FDestDir)) FDestDir.chop(1);
}

void TZipReader::SetRootDir(const String& Value) {
  FRootDir = Value;
  if (!FRootDir.isEmpty() && !EndsWithSeparator(FRootDir)) FRootDir += u'/';
}

Integer TZipReader::Count() const { return FDirectory ? FDirectory->Count() : 0; }

void TZipReader::CheckIndex(Integer Index) const {
  if (Index < 0 || Index >= Count()) throw EListError(QStringLiteral("Index %1 is out of range").arg(Index));
}

String TZipReader::Filename(Integer Index) const {
  CheckIndex(Index);
  return Presented()->Entry(Index)->FileName();
}

TDateTime TZipReader::DateTime(Integer Index) const {
  CheckIndex(Index);
  TDateTime result;
  return DosDateTimeToDateTime(Presented()->Entry(Index)->FileDateTime, result) ? result : Now();
}

QByteArray TZipReader::ReadBytesAt(Int64 Offset, Integer Count) {
  QByteArray bytes(Count, Qt::Uninitialized);
  const Int64 position = FArchive->Position();
  FArchive->Seek(Offset, soBeginning);
  const Integer got = FArchive->Read(bytes.data(), Count);
  FArchive->Seek(position, soBeginning);
  bytes.truncate(got);
  return bytes;
}

void TZipReader::LoadEntryComment(TZipHeaderInfo& Entry) {
  if (!Entry.HasComment() || Entry.CommentLoaded()) return;
  const QByteArray header = ReadBytesAt(Entry.CentralHeaderOffset, kCentralHeaderSize);
  if (header.size() < kCentralHeaderSize) throw EBadZipFile(kNotAZip);
  const auto* h = reinterpret_cast<const uint8_t*>(header.constData());
  const Int64 skip = Int64(qFromLittleEndian<uint16_t>(h + 28)) + qFromLittleEndian<uint16_t>(h + 30);
  const QByteArray comment = ReadBytesAt(Entry.CentralHeaderOffset + kCentralHeaderSize + skip, Entry.FileCommentLength);
  if (comment.size() != Entry.FileCommentLength) throw EBadZipFile(kNotAZip);
  Entry.MarkCommentLoaded(comment);
}

void TZipReader::LoadZipComment() {
  if (!FEndCentral.HasComment() || FEndCentral.CommentLoaded()) return;
  // A comment length that runs past the file is cut to what is there.
  FEndCentral.MarkCommentLoaded(ReadBytesAt(FEndCentral.CommentOffset, FEndCentral.CommentLength));
}

String TZipReader::FileComment(Integer Index) {
  CheckIndex(Index);
  TZipHeaderInfo* entry = Presented()->Entry(Index);
  if (entry->HasComment() && !entry->CommentLoaded()) {
    OpenArchive();
    LoadEntryComment(*entry);
    CloseArchive();
  }
  return DecodeComment(entry->FileComment());
}

void TZipReader::SetFileComment(Integer Index, const String& Value) {
  CheckIndex(Index);
  TZipHeaderInfo* entry = Presented()->Entry(Index);
  const QByteArray bytes = Value.toUtf8();
  if (entry->CommentLoaded() && entry->FileComment() == bytes) return;
  entry->SetFileComment(bytes);
  FEndCentral.CommentModified = true;
}

String TZipReader::ZipComment() {
  if (FEndCentral.HasComment() && !FEndCentral.CommentLoaded() && !FZipName.isEmpty()) {
    OpenArchive();
    LoadZipComment();
    CloseArchive();
  }
  return DecodeComment(FEndCentral.Comment());
}

void TZipReader::SetZipComment(const String& Value) {
  const QByteArray bytes = Value.toUtf8();
  if (FEndCentral.CommentLoaded() && FEndCentral.Comment() == bytes) return;
  FEndCentral.SetComment(bytes);
}

TZipReader::TArchiveStamp TZipReader::CurrentStamp() const {
  const QFileInfo info(FZipName);
  return {info.lastModified(), info.exists() ? info.size() : -1};
}

void TZipReader::StampArchive() { FStamp = CurrentStamp(); }

void TZipReader::OpenArchive() {
  const bool current = FDirectory && CurrentStamp() == FStamp;
  if (!FArchive || !current)
    FArchive = current && FEndCentral.ThisDiskNumber > 0
                   ? OpenSpannedSet()
                   : std::make_unique<TLFNFileStream>(FZipName, 8192, false, fmOpenRead | fmShareDenyWrite);
  if (!current) LoadDirectory();
}

void TZipReader::CloseArchive(bool Force) {
  if (Force || !FKeepZipOpen) FArchive.reset();
}

void TZipReader::ReadZip() {
  try {
    OpenArchive();
  } catch (const EIncompleteZip&) {
    // Left for the next open to raise to whoever asks for the entries.
    CloseArchive(true);
    return;
  } catch (...) {
    // Any other failure leaves no half-loaded directory or open archive behind.
    ResetArchive();
    throw;
  }
  CloseArchive();
}

void TZipReader::ResetArchive() {
  FArchive.reset();
  FSorted.reset();
  FDirectory.reset();
  FEndCentral.SetDefaults();
  FStamp = TArchiveStamp{};
  FMultiMode = mmNone;
  FZipName.clear();
}

void TZipReader::Sort(TZipSortMode Mode) {
  FSorted.reset();
  FSortMode = Mode;
  if (Mode == ByNone || !FDirectory) return;
  FSorted = std::make_unique<TSortedZip>(Mode, false, dupAccept);
  for (Integer i = 0; i < FDirectory->Count(); ++i) FSorted->Add(FDirectory->Entry(i));
}

void TZipReader::PumpMessages() const {
  if (FDoProcessMessages && QCoreApplication::instance()) QCoreApplication::processEvents();
}

void TZipReader::ReportProgress(Int64 FileDone, Int64 FileTotal, Int64 Bytes) {
  FBytesDone += Bytes;
  if (OnFilePercentDone) OnFilePercentDone(this, Percent64(FileTotal, FileDone));
  if (OnTotalPercentDone) OnTotalPercentDone(this, Percent64(FTotalBytes, FBytesDone));
}

void TZipReader::LoadDirectory() {
  FStamp = CurrentStamp();
  FSorted.reset();
  FDirectory.reset();
  FEndCentral.SetDefaults();
  bool found = FEndCentral.Find(FArchive.get());
  if (found && (FEndCentral.ThisDiskNumber > 999 || FEndCentral.CentralDirDisk > 999 ||
                FEndCentral.ThisDiskNumber < FEndCentral.CentralDirDisk || int32_t(FEndCentral.CentralDirOffset) < 0))
    found = false;
  if (!found && LoadFromConfigCopy()) {
    Sort(FSortMode);
    return;
  }
  if (!found) {
    if (OnInCompleteZip) OnInCompleteZip(this, FIncompleteZipMode);
    switch (FIncompleteZipMode) {
      case izAssumeNotAZip: throw ENotAZipFile(kNotAZip);
      case izAssumeMulti: throw EIncompleteZip(QStringLiteral("Incomplete Zip File"));
      case izAssumeBad:
        if (!RebuildFromLocalHeaders()) {
          ResetArchive();
          throw EBadZipFile(kNotAZip);
        }
        Sort(FSortMode);
        return;
    }
  }
  // No removable disks here: a split set is a set of block files.
  FMultiMode = FEndCentral.ThisDiskNumber == 0 ? mmNone : mmBlocks;
  if (FMultiMode != mmNone) SwitchToSpannedSet();
  Int64 offset = ArchiveOffset(FEndCentral.CentralDirDisk, FEndCentral.CentralDirOffset);
  Int64 entries = FEndCentral.TotalEntries;
  ReadZip64End(offset, entries);
  if (!ReadCentralDirectory(offset, entries)) {
    if (!RebuildFromLocalHeaders()) {
      ResetArchive();
      throw EBadZipFile(kNotAZip);
    }
    MergeCentralHeaders(offset, entries);
  }
  Sort(FSortMode);
}

void TZipReader::ReadZip64End(Int64& Offset, Int64& Entries) {
  if (FEndCentral.TotalEntries != 0xFFFF && FEndCentral.CentralDirOffset != 0xFFFFFFFF) return;
  if (FEndCentral.EndOffset < kZip64LocatorSize) return;
  // The locator sits right before the end record and points at the 64-bit end record.
  const QByteArray locator = ReadBytesAt(FEndCentral.EndOffset - kZip64LocatorSize, kZip64LocatorSize);
  if (locator.size() != kZip64LocatorSize || qFromLittleEndian<uint32_t>(locator.constData()) != kZip64LocatorSignature)
    return;
  const auto recordOffset = qFromLittleEndian<uint64_t>(locator.constData() + 8);
  const QByteArray record = recordOffset < uint64_t(FEndCentral.EndOffset) ? ReadBytesAt(Int64(recordOffset), kZip64EndSize)
                                                                          : QByteArray();
  if (record.size() != kZip64EndSize || qFromLittleEndian<uint32_t>(record.constData()) != kZip64EndSignature)
    throw EBadZipFile(kNotAZip);
  const auto entries = qFromLittleEndian<uint64_t>(record.constData() + 32);
  const auto offset = qFromLittleEndian<uint64_t>(record.constData() + 48);
  if (entries > 0x7FFFFFFF || offset > 0xFFFFFFFF)
    throw EZipTooLarge(QStringLiteral("The archive's directory lies beyond 4 GiB"));
  Entries = Int64(entries);
  Offset = ArchiveOffset(FEndCentral.CentralDirDisk, Int64(offset));
}

bool TZipReader::ReadCentralDirectory(Int64 Offset, Int64 Entries) {
  FDirectory = std::make_unique<TSortedZip>(ByNone, true, dupError);
  FArchive->Seek(Offset, soBeginning);
  for (Int64 i = 0; i < Entries; ++i) {
    auto entry = std::make_unique<TZipHeaderInfo>();
    if (!entry->ReadCentral(FArchive.get())) return false;
    if (entry->CompressedSize == 0xFFFFFFFF || entry->UncompressedSize == 0xFFFFFFFF || entry->LocalHeaderOffset == 0xFFFFFFFF)
      throw EZipTooLarge(QStringLiteral("Entry larger than 4 GiB: %1").arg(entry->StoredName()));
    FArchive->Seek(entry->FileCommentLength, soCurrent);
    try {
      FDirectory->Add(entry.get());
    } catch (const EListError&) {
      return false;  // two entries claim one local header
    }
    entry.release();
  }
  // A count that wrapped at 65 536 without a 64-bit end record: the rest
  // of the directory follows, and taking the count would drop entries unseen.
  uint8_t next[4];
  if (FArchive->Read(next, 4) == 4 && qFromLittleEndian<uint32_t>(next) == kCentralHeaderSignature)
    throw EZipTooLarge(QStringLiteral("More than 65535 entries"));
  return true;
}

bool TZipReader::RebuildFromLocalHeaders() {
  FDirectory.reset();
  const Int64 size = FArchive->Seek(0, soEnd);
  const Int64 start = QFileInfo(FZipName).suffix().compare(QStringLiteral("exe"), Qt::CaseInsensitive) == 0 ? 14000 : 0;
  FArchive->Seek(start, soBeginning);
  static const uint8_t signature[4] = {0x50, 0x4B, 0x03, 0x04};
  int matched = 0;
  Int64 scanned = 0;
  for (;;) {
    uint8_t b;
    if (FArchive->Read(&b, 1) != 1) return false;
    if (++scanned % 10240 == 0) PumpMessages();
    matched = b == signature[matched] ? matched + 1 : (b == signature[0] ? 1 : 0);
    if (matched < 4) continue;
    uint8_t version[2];
    if (FArchive->Read(version, 2) != 2) return false;
    if (version[1] < 10) break;
    FArchive->Seek(-2, soCurrent);
    matched = 0;
  }
  FArchive->Seek(-6, soCurrent);
  FDirectory = std::make_unique<TSortedZip>(ByNone, true, dupError);
  for (;;) {
    auto entry = std::make_unique<TZipHeaderInfo>();
    if (!entry->ReadLocal(FArchive.get())) break;
    const Int64 next = FArchive->Position() + entry->LocalExtraLength + Int64(entry->CompressedSize) +
                       (entry->HasDataDescriptor() ? 16 : 0);
    FDirectory->Add(entry.release());
    if (next > size) break;
    FArchive->Seek(next, soBeginning);
  }
  FEndCentral.ThisDiskNumber = 0;
  FEndCentral.CentralDirOffset = uint32_t(std::min<Int64>(FArchive->Position(), 0xFFFFFFFF));
  FEndCentral.TotalEntries = uint16_t(std::min<Integer>(FDirectory->Count(), 0xFFFF));
  return true;
}

void TZipReader::MergeCentralHeaders(Int64 Offset, Int64 Entries) {
  auto merged = std::make_unique<TSortedZip>(ByNone, true, dupError);
  FArchive->Seek(Offset, soBeginning);
  for (Int64 i = 0; i < Entries; ++i) {
    auto central = std::make_unique<TZipHeaderInfo>();
    if (!central->ReadCentral(FArchive.get())) break;
    FArchive->Seek(central->FileCommentLength, soCurrent);
    const Integer index = FDirectory->IndexOf(central.get());
    if (index < 0 || merged->IndexOf(central.get()) >= 0) continue;
    central->LocalHeaderOffset = FDirectory->Entry(index)->LocalHeaderOffset;
    merged->Add(central.release());
  }
  // Local headers without a readable central header still describe their data.
  for (Integer i = 0; i < FDirectory->Count(); ++i) {
    TZipHeaderInfo* local = FDirectory->Entry(i);
    if (merged->IndexOf(local) >= 0) continue;
    auto copy = std::make_unique<TZipHeaderInfo>();
    copy->Assign(local);
    merged->Add(copy.release());
  }
  FDirectory = std::move(merged);
}
