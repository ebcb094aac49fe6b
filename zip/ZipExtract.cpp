#include "platform/rtl/ScopeGuards.h"
#include "zip/CrcStream.h"
#include "zip/Inflate.h"
#include "zip/OldMethods.h"
#include "zip/ZipErrors.h"
#include "zip/ZipFileUtils.h"
#include "zip/ZipMasks.h"
#include "zip/ZipReader.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <sys/stat.h>

namespace {

constexpr Integer kBlock = 32768;
constexpr uint32_t kDosReadOnly = 0x01;
constexpr int kUnixHost = 3;

// The entry's compressed bytes, read in blocks; a short read means the
// archive ends early.
class TEntrySource : public TByteSource {
public:
  TEntrySource(TStream* Archive, uint32_t Size, std::function<void()> Pump)
      : FArchive(Archive), FLeft(Size), FPump(std::move(Pump)) {}
  size_t Read(uint8_t* Buffer, size_t Count) override {
    if (FLeft == 0) return 0;
    FPump();
    const Integer want = Integer(std::min<size_t>({Count, size_t(FLeft), size_t(kBlock)}));
    if (FArchive->Read(Buffer, want) != want) throw EFatalUnzipError(QStringLiteral("Premature end of file reached"));
    FLeft -= uint32_t(want);
    return size_t(want);
  }
private:
  TStream* FArchive;
  uint32_t FLeft;
  std::function<void()> FPump;
};

// A failed write of decoded bytes (a full disk, a file size limit): the
// system's reason, never mistaken for damage in the archive.
[[noreturn]] void WriteFailed(const String& StoredName) {
  throw ECantWriteUCF(QStringLiteral("Cannot write the extracted file %1: %2").arg(StoredName, SystemErrorText()));
}

// A name made on a system with drive letters that starts at a drive's root
// or current folder ("C:\x", "C:x").
bool HasDrivePrefix(const String& Name) {
  return Name.size() >= 2 && Name[1] == u':' && Name[0].unicode() < 128 && Name[0].isLetter();
}

// The stored name's parts, refused when they could climb out of the
// extraction folder: '..' parts, a leading separator or a drive letter. A ':'
// anywhere else is an ordinary character of a file name here. A NUL would
// cut the name short where the system takes it.
QStringList SafeParts(const String& StoredName) {
  if (StoredName.contains(QChar(0))) return {};
  const String name = QString(StoredName).replace(u'\\', u'/');
  if (name.startsWith(u'/') || HasDrivePrefix(name)) return {};
  QStringList parts;
  for (const String& part : name.split(u'/', Qt::SkipEmptyParts)) {
    if (part == QStringLiteral(".")) continue;
    if (part == QStringLiteral("..")) return {};
    parts << part;
  }
  return parts;
}

[[noreturn]] void RefuseUnsafe(const String& StoredName) {
  if (StoredName.contains(QChar(0)))
    throw EUnsafeZipEntry(QStringLiteral("Entry name holds a NUL character: %1").arg(QString(StoredName).replace(QChar(0), u'?')));
  throw EUnsafeZipEntry(QStringLiteral("Entry name leads outside the destination folder: %1").arg(StoredName));
}

mode_t ProcessUmask() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

// Unix hosts keep the file mode in the high word; every host may set the
// MS-DOS read-only bit in the low byte. A symbolic link's mode (0777) says
// nothing about the plain file it becomes here: that gets the mode of a new
// file, never writable by everybody.
QFile::Permissions StoredPermissions(const TZipHeaderInfo& Entry) {
  int owner = 6, group = 4, other = 4;
  uint32_t mode = Entry.ExternalAttributes >> 16;
  if ((Entry.VersionMadeBy >> 8) == kUnixHost && (mode & S_IFMT) == S_IFLNK) mode = 0666 & ~ProcessUmask() & ~0002u;
  if ((Entry.VersionMadeBy >> 8) == kUnixHost && mode != 0) {
    owner = (mode >> 6) & 7;
    group = (mode >> 3) & 7;
    other = mode & 7;
  }
  if (Entry.ExternalAttributes & kDosReadOnly) {
    owner &= ~2;
    group &= ~2;
    other &= ~2;
  }
  return QFile::Permissions::fromInt(owner << 12 | owner << 8 | group << 4 | other);
}

}  // namespace

struct TZipReader::TRun {
  Integer Extracted = 0;
  Integer ToDo = 0;
};

Integer TZipReader::ExtractFiles() {
  FBusy = true;
  const TScopeGuard busy([this] { FBusy = false; });
  if (FDestDir == QStringLiteral("?")) return 0;
  ReadZip();
  OpenArchive();
  const Integer count = RunExtraction();
  CloseArchive();
  return count;
}

QStringList TZipReader::EntryPaths() {
  ReadZip();
  QStringList paths;
  TSortedZip* entries = Presented();
  for (Integer i = 0; entries && i < entries->Count(); ++i) {
    const String stored = entries->Entry(i)->StoredName();
    const QStringList parts = SafeParts(stored);
    if (parts.isEmpty()) RefuseUnsafe(stored);
    paths << parts.join(u'/') + (entries->Entry(i)->IsFolder() ? QStringLiteral("/") : QString());
  }
  return paths;
}

Integer TZipReader::RunExtraction() {
  TRun run;
  const bool keepOpen = FKeepZipOpen;
  FKeepZipOpen = true;
  const TScopeGuard finish([&] {
    FFilesList->Clear();
    if (OnUnZipComplete) OnUnZipComplete(this, run.Extracted);
    FKeepZipOpen = keepOpen;
  });
  if (!FDestDir.isEmpty() && !QDir(FDestDir).exists() && !QDir().mkpath(FDestDir))
    throw ECantWriteUCF(QStringLiteral("Cant write uncompressed file"));
  ChooseEntries(run);
  bool stop = false;
  if (OnStartUnZipInfo) OnStartUnZipInfo(this, run.ToDo, FTotalBytes, stop);
  if (run.ToDo > 0 && !stop) {
    TSortedZip* entries = Presented();
    for (Integer i = 0; i < entries->Count(); ++i)
      if (entries->Entry(i)->MatchFlag && SafeParts(entries->Entry(i)->StoredName()).isEmpty())
        RefuseUnsafe(entries->Entry(i)->StoredName());
    RefuseOverlappingEntries();
    for (Integer i = 0; i < entries->Count(); ++i)
      if (entries->Entry(i)->MatchFlag) ExtractEntry(run, i);
  }
  return run.Extracted;
}

void TZipReader::ChooseEntries(TRun& Run) {
  FTotalBytes = FBytesDone = 0;
  TSortedZip* entries = Presented();
  if (!entries) return;
  for (Integer i = 0; i < entries->Count(); ++i) {
    TZipHeaderInfo* e = entries->Entry(i);
    e->MatchFlag = FDoAll ? 1 : 0;
    if (!e->IsFolder() || FRecreateDirs) {
      for (Integer k = 0; k < FFilesList->Count() && !e->MatchFlag; ++k)
        if (MatchesMask(QString(FFilesList->Strings(k)).replace(u'/', u'\\'), e->StoredName())) e->MatchFlag = 1;
    }
    if (e->IsFolder() && !FRecreateDirs) e->MatchFlag = 0;
    if (e->MatchFlag) {
      FTotalBytes += e->UncompressedSize;
      ++Run.ToDo;
    }
  }
}

void TZipReader::RefuseOverlappingEntries() {
  // Archive order: each entry's local header and data must end before the
  // next entry starts. Entries that share data can expand a small archive
  // without bound.
  for (Integer i = 0; i + 1 < FDirectory->Count(); ++i) {
    const TZipHeaderInfo& entry = *FDirectory->Entry(i);
    const TZipHeaderInfo& next = *FDirectory->Entry(i + 1);
    const Int64 end = ArchiveOffset(entry.DiskNumberStart, entry.LocalHeaderOffset) + kLocalHeaderSize + entry.CompressedSize;
    if (end > ArchiveOffset(next.DiskNumberStart, next.LocalHeaderOffset))
      throw EBadZipFile(QStringLiteral("Archive entries overlap (possible zip bomb): %1").arg(next.StoredName()));
  }
}

String TZipReader::DestinationFolder(const TZipHeaderInfo& Entry) const {
  String base = FDestDir.isEmpty() ? QDir::currentPath() : FDestDir;
  if (!base.endsWith(u'/')) base += u'/';
  if (!FRecreateDirs || Entry.Directory().isEmpty()) return base;
  String dir = QString(Entry.Directory()).replace(u'\\', u'/');
  String root = QString(FRootDir).replace(u'\\', u'/');
  while (root.startsWith(u'/')) root.remove(0, 1);
  if (!root.isEmpty() && dir.startsWith(root)) dir = dir.mid(root.size());
  const QStringList parts = SafeParts(dir);
  return parts.isEmpty() ? base : base + parts.join(u'/') + u'/';
}

bool TZipReader::MayOverwrite(Integer Index, const TZipHeaderInfo& Entry, String& FName) {
  const QFileInfo existing(FName);
  if (FOverwriteMode == TUZOverwriteMode::Always || !existing.exists()) return true;
  TDateTime entryDate = 0;
  DosDateTimeToDateTime(Entry.FileDateTime, entryDate);
  TDateTime fileDate = 0;
  DosDateTimeToDateTime(FileDosDateTime(FName), fileDate);
  switch (FOverwriteMode) {
    case TUZOverwriteMode::Prompt: {
      // Without a handler there is nobody to ask, and nothing is replaced unasked.
      bool overwrite = false;
      if (OnPromptForOverwrite) OnPromptForOverwrite(this, overwrite, Index, FName);
      return overwrite;
    }
    case TUZOverwriteMode::Never: return false;
    case TUZOverwriteMode::ifNewer: return entryDate > fileDate;
    case TUZOverwriteMode::ifOlder: return entryDate < fileDate;
    case TUZOverwriteMode::Always: return true;
  }
  return false;
}

void TZipReader::ExtractEntry(TRun& Run, Integer Index) {
  const TZipHeaderInfo& entry = *Presented()->Entry(Index);
  auto skip = [&](TSkipReason Reason, const String& Name) {
    bool retry = false;
    if (OnSkippingFile) OnSkippingFile(this, Reason, Name, Index, retry);
    FTotalBytes -= entry.UncompressedSize;
    --Run.ToDo;
  };
  const String folder = DestinationFolder(entry);
  // A folder reached through a symbolic link could be anywhere.
  const String base = QFileInfo(FDestDir.isEmpty() ? QDir::currentPath() : FDestDir).absoluteFilePath();
  for (String path = QFileInfo(folder + u'x').absolutePath(); path.size() > base.size(); path = QFileInfo(path).path())
    if (QFileInfo(path).isSymLink()) RefuseUnsafe(entry.StoredName());

  if (entry.IsFolder()) {
    if (FRecreateDirs && !QDir(folder).exists()) QDir().mkpath(folder);
    ++Run.Extracted;
    return;
  }
  String fname = folder + entry.FileName();
  bool skipIt = false;
  if (OnStartUnZip) OnStartUnZip(this, Index, fname, skipIt);
  if (skipIt) return;
  const String targetFolder = QFileInfo(fname).absolutePath();
  if (!QDir(targetFolder).exists()) QDir().mkpath(targetFolder);

  if (entry.IsEncrypted() && !PasswordAccepted(Index, entry)) {
    skip(srBadPassword, entry.StoredName());
    return;
  }
  if (!MayOverwrite(Index, entry, fname)) {
    skip(srNoOverwrite, fname);
    return;
  }
  // The owner's write bit stands for the read-only attribute: a test of
  // access rights would let the super-user replace read-only files unasked.
  const QFileInfo existing(fname);
  if (existing.exists() && !existing.permissions().testFlag(QFile::WriteOwner)) {
    if (!FReplaceReadOnly || !QFile::setPermissions(fname, QFile::permissions(fname) | QFile::WriteOwner)) {
      skip(srCreateError, fname);
      return;
    }
  }
  std::unique_ptr<TPendingFile> pending;
  try {
    pending = std::make_unique<TPendingFile>(targetFolder);
  } catch (const EFCreateError&) {
    skip(srCreateError, fname);
    return;
  }
  uint32_t crc = 0;
  if (!DecodeEntry(entry, pending->Path(), crc) || crc != entry.Crc32) {
    pending.reset();
    // A wrong password can pass the one-byte check; it shows here.
    if (entry.IsEncrypted()) {
      if (AskNewPassword(Index))
        ExtractEntry(Run, Index);
      else
        skip(srBadPassword, entry.StoredName());
      return;
    }
    if (OnBadCRC) OnBadCRC(this, crc, entry.Crc32, Index);
    throw EBadZipEntry(QStringLiteral("Damaged archive entry: %1").arg(entry.StoredName()));
  }
  SetFileDosDateTime(pending->Path(), entry.FileDateTime);
  if (FRetainAttributes) QFile::setPermissions(pending->Path(), StoredPermissions(entry));
  try {
    pending->Commit(fname);
  } catch (const EFCreateError&) {
    skip(srCreateError, fname);
    return;
  }
  ++Run.Extracted;
  if (OnEndUnZip) OnEndUnZip(this, Index, fname);
}

bool TZipReader::DecodeEntry(const TZipHeaderInfo& Entry, const String& Target, uint32_t& Crc) {
  FArchive->Seek(ArchiveOffset(Entry.DiskNumberStart, Entry.LocalHeaderOffset), soBeginning);
  uint8_t header[kLocalHeaderSize];
  if (FArchive->Read(header, kLocalHeaderSize) != kLocalHeaderSize || qFromLittleEndian<uint32_t>(header) != kLocalHeaderSignature)
    throw EBadZipFile(QStringLiteral("Not a valid zip file!"));
  const Int64 skip = Int64(qFromLittleEndian<uint16_t>(header + 26)) + qFromLittleEndian<uint16_t>(header + 28);
  FArchive->Seek(skip, soCurrent);

  TLFNFileStream output(Target, kBlock, FFlushFilesOnClose, fmCreate);
  FFileBytesDone = 0;
  TEntrySource source(FArchive.get(), Entry.CompressedSize, [this] { PumpMessages(); });
  const std::unique_ptr<TByteSource> decrypted = Entry.IsEncrypted() ? DecryptedSource(source, Entry) : nullptr;
  TByteSource& input = decrypted ? *decrypted : source;
  // The decoded bytes: never more than the entry declares.
  TCrcStream sink(
      output, Entry.UncompressedSize,
      [] { throw EBiggerThanUncompressed(QStringLiteral("File is larger than uncompressed size!")); },
      [&Entry] { WriteFailed(Entry.StoredName()); },
      [this, &Entry](Int64 Done, Int64 Bytes) { ReportProgress(Done, Entry.UncompressedSize, Bytes); });
  bool ok = false;
  switch (Entry.CompressionMethod) {
    case kMethodStored: {
      uint8_t block[kBlock];
      for (size_t n; (n = input.Read(block, kBlock)) > 0;) sink.Write(block, n);
      ok = true;
      break;
    }
    default:
      try {
        ok = Entry.CompressionMethod == kMethodDeflated
                 ? Inflate(input, sink) == TInflateResult::Ok
                 : DecodeOlderMethod(Entry.CompressionMethod, Entry.Flags, Entry.UncompressedSize, input, sink);
      } catch (const EUserCanceled&) {
        throw;
      } catch (const ECantWriteUCF&) {
        throw;
      } catch (const Exception&) {
        ok = false;  // a truncated, oversized or unwritable entry is a failed decode
      }
      break;
  }
  if (!output.FlushBuffer()) WriteFailed(Entry.StoredName());
  Crc = sink.Crc();
  return ok && sink.Count() == Entry.UncompressedSize;
}
