#include "zip/ZipWriter.h"
#include "platform/rtl/ScopeGuards.h"
#include "zip/CrcStream.h"
#include "zip/Deflate.h"
#include "zip/DirSearch.h"
#include "zip/ZipErrors.h"
#include "zip/ZipFileUtils.h"
#include "zip/ZipMasks.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QtEndian>

namespace {

constexpr Integer kBlock = 32768;
constexpr uint32_t kDosReadOnly = 0x01;
constexpr uint32_t kDosFolder = 0x10;
constexpr uint32_t kDosArchive = 0x20;
constexpr Int64 kMaxSize = 0xFFFFFFFF;
constexpr Integer kMaxEntries = 0xFFFF;

// Entries are made on a Unix host: the high word of the external attributes
// carries the file's type and mode, which peers on this platform expect (and
// without which they decode names as an MS-DOS code page).
constexpr uint16_t kMadeByUnix = (3 << 8) | 20;

uint32_t UnixAttributes(const QFileInfo& Info, bool Folder) {
  const QFile::Permissions p = Info.exists() ? Info.permissions() : QFile::Permissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  uint32_t mode = Folder ? 040000 : 0100000;
  const std::pair<QFile::Permission, uint32_t> bits[] = {
      {QFile::ReadOwner, 0400}, {QFile::WriteOwner, 0200}, {QFile::ExeOwner, 0100}, {QFile::ReadGroup, 040}, {QFile::WriteGroup, 020},
      {QFile::ExeGroup, 010},   {QFile::ReadOther, 04},    {QFile::WriteOther, 02},  {QFile::ExeOther, 01}};
  for (const auto& [permission, bit] : bits)
    if (p.testFlag(permission)) mode |= bit;
  uint32_t dos = Folder ? kDosFolder : kDosArchive;
  if (!(mode & 0200)) dos |= kDosReadOnly;
  return (mode << 16) | dos;
}

[[noreturn]] void NoRoom() { RaiseNotEnoughRoom(); }

String Slashed(const String& Path) { return QString(Path).replace(u'\\', u'/'); }

class TArchiveSink : public TByteSink {
public:
  TArchiveSink(TStream* Output, std::function<void()> Pump) : FOutput(Output), FPump(std::move(Pump)) {}
  void Write(const uint8_t* Buffer, size_t Count) override {
    if (FOutput->Write(Buffer, Integer(Count)) != Integer(Count)) NoRoom();
    Written += Count;
    FPump();
  }
  uint64_t Written = 0;
private:
  TStream* FOutput;
  std::function<void()> FPump;
};

}  // namespace

struct TZipWriter::TWriteRun {
  QStringList Lines;
  QStringList DisposeList;
  std::unique_ptr<TSortedZip> NewDirectory = std::make_unique<TSortedZip>(ByNone, true, dupError);
  // Stored names taken so far; file names are case-sensitive here.
  QSet<String> Names;
  TEndCentral End;
  std::unique_ptr<TPendingFile> Pending;
  std::unique_ptr<TS_BufferStream> Output;
  Integer Added = 0;
};

TZipWriter::TZipWriter(TComponent* AOwner)
    : TZipReader(AOwner), FExcludeList(std::make_unique<TStringList>()), FNoCompressList(std::make_unique<TStringList>()) {}

TZipWriter::~TZipWriter() = default;

void TZipWriter::SetStorePaths(bool Value) {
  FStorePaths = Value;
  if (!Value) FStoreVolumes = FRelativePaths = false;
}

void TZipWriter::SetRelativePaths(bool Value) {
  FRelativePaths = Value;
  if (Value) FStorePaths = FRecurse = true;
}

void TZipWriter::SetStoreVolumes(bool Value) {
  FStoreVolumes = Value;
  if (Value) FStorePaths = true;
}

Integer TZipWriter::CompressFiles() {
  if (ZipName().trimmed().isEmpty()) return 0;
  const Integer count = Write();
  if (OnZipComplete) OnZipComplete(this, count);
  return count;
}

Integer TZipWriter::Write() {
  FBusy = true;
  const TZipSortMode mode = SortMode();
  const bool keepOpen = KeepZipOpen();
  SetKeepZipOpen(true);
  Sort(ByNone);
  TWriteRun run;
  const TScopeGuard finish([&] {
    if (auto* parts = dynamic_cast<TZipSpanWriteStream*>(run.Output.get())) parts->Discard();
    run.Output.reset();
    run.Pending.reset();
    FDeflater.reset();
    Sort(mode);
    SetKeepZipOpen(keepOpen);
    CloseArchive();
    FBusy = false;
    FilesList()->Clear();
  });
  FTotalBytes = FBytesDone = 0;
  const bool split = FMultiZipInfo->MultiMode != mmNone;
  const bool rebuilding = !split && QFileInfo::exists(ZipName());
  if (rebuilding) OpenArchive();
  if (FilesList()->Count() > 0) ExpandFilesList(run);

  if (split) {
    const Int64 room = FirstPartRoom(*FMultiZipInfo, ZipName(), Integer(run.Lines.size()), FStorePaths,
                                     FEndCentral.CommentLength);
    run.Output = std::make_unique<TZipSpanWriteStream>(ZipName(), *FMultiZipInfo, room, OnGetNextDisk,
                                                       OnPrepareNextDisk, this);
  } else {
    // The new archive grows beside the old one, so the final rename is atomic.
    run.Pending = std::make_unique<TPendingFile>(QFileInfo(ZipName()).absolutePath());
    run.Output = std::make_unique<TLFNFileStream>(run.Pending->Path(), 65536, true, fmCreate);
  }
  if (rebuilding || FEndCentral.CommentModified) {
    if (rebuilding) LoadZipComment();
    run.End.Assign(&FEndCentral);
    run.End.EntriesOnThisDisk = run.End.TotalEntries = 0;
    run.End.CommentModified = false;
  }
  if (!run.Lines.isEmpty()) {
    bool stop = false;
    if (OnStartZipInfo) OnStartZipInfo(this, Integer(run.Lines.size()), FTotalBytes, run.End, stop);
    if (stop) throw EUserCanceled(QStringLiteral("User canceled Zip operation"));
  }
  if (rebuilding) ProcessExistingEntries(run);
  for (const String& line : QStringList(run.Lines)) {
    auto entry = std::make_unique<TZipHeaderInfo>();
    if (!AddFile(run, line, *entry)) continue;
    Append(run, std::move(entry));
    ++run.Added;
    if (FDispose) run.DisposeList << line;
  }
  WriteDirectory(run);
  if (!run.Output->FlushBuffer()) NoRoom();
  const Int64 size = run.Output->Position();
  // A split set is known by the name of its last part from now on.
  if (split) SetZipName(static_cast<TZipSpanWriteStream&>(*run.Output).Finish());
  run.Output.reset();
  CloseArchive(true);
  if (!split) {
    // Data stored again after deflate grew it may leave bytes past the end.
    if (!QFile::resize(run.Pending->Path(), size)) NoRoom();
    run.Pending->Commit(ZipName());
  }

  FSorted.reset();
  FDirectory = std::move(run.NewDirectory);
  FEndCentral.Assign(&run.End);
  StampArchive();
  if (split && FMultiZipInfo->SaveZipInfoOnFirstDisk && FEndCentral.ThisDiskNumber > 0)
    WriteZipConfigFile(ZipName(), *FDirectory, FEndCentral);
  for (const String& file : run.DisposeList) {
    bool skip = false;
    if (OnDisposeFile) OnDisposeFile(this, file, skip);
    if (!skip) QFile::remove(file);
  }
  if (OnTotalPercentDone) OnTotalPercentDone(this, 100);
  return run.Added;
}

bool TZipWriter::MatchesList(const TStringList& List, const String& Path) {
  const String path = Slashed(Path);
  const String name = path.mid(path.lastIndexOf(u'/') + 1);
  for (Integer i = 0; i < List.Count(); ++i) {
    const String mask = Slashed(List.Strings(i));
    if (MatchesMask(mask, mask.contains(u'/') ? path : name)) return true;
  }
  return false;
}

bool TZipWriter::IsExcluded(const String& Path) const { return MatchesList(*FExcludeList, Path); }

bool TZipWriter::InArchive(const String& StoredName) const {
  for (Integer i = 0; FDirectory && i < FDirectory->Count(); ++i)
    if (FDirectory->Entry(i)->StoredName() == StoredName) return true;
  return false;
}

void TZipWriter::ApplyStoredName(TZipHeaderInfo& Entry, const String& Path) const {
  const String path = Slashed(Path);
  const qsizetype slash = path.lastIndexOf(u'/');
  String dir;
  if (FStorePaths) {
    dir = path.left(slash + 1);
    const String root = Slashed(RootDir());
    if (FRelativePaths && !root.isEmpty() && dir.startsWith(root)) dir = dir.mid(root.size());
    if (!FStoreVolumes) {
      if (dir.size() >= 2 && dir[1] == u':') dir.remove(0, 2);
      if (dir.startsWith(u'/')) dir.remove(0, 1);
    }
  }
  Entry.SetFileName(path.mid(slash + 1));
  Entry.SetDirectory(dir.replace(u'/', u'\\'));
}

String TZipWriter::StoredNameOf(const String& Path) const {
  TZipHeaderInfo entry;
  ApplyStoredName(entry, Path);
  return entry.StoredName();
}

void TZipWriter::ExpandFilesList(TWriteRun& Run) {
  QStringList masks;
  for (Integer i = 0; i < FilesList()->Count(); ++i) {
    const String line = Slashed(FilesList()->Strings(i));
    if (line.endsWith(u'/')) {
      Run.Lines << line;
    } else if (IsWildcardName(line)) {
      masks << line;
    } else {
      const String path = line.contains(u'/') ? line : Slashed(RootDir()) + line;
      if (IsExcluded(path)) continue;
      const QFileInfo info(path);
      if (!info.exists()) {
        if (OnNoSuchFile) OnNoSuchFile(this, path);
        continue;
      }
      if (FZipAction == zaFreshen && !InArchive(StoredNameOf(path))) continue;
      FTotalBytes += info.size();
      Run.Lines << path;
    }
  }
  for (const String& mask : masks) ExpandMask(mask, Run.Lines);
}

void TZipWriter::ExpandMask(String Mask, QStringList& Lines) {
  bool recurse = FRecurse;
  if (Mask.startsWith(u'|') || Mask.startsWith(u'>')) {
    recurse = Mask.startsWith(u'>');
    Mask.remove(0, 1);
  }
  const qsizetype slash = Mask.lastIndexOf(u'/');
  String folder = slash >= 0 ? Mask.left(slash + 1) : Slashed(RootDir());
  if (folder.isEmpty()) folder = QDir::currentPath() + u'/';
  String name = Mask.mid(slash + 1);
  if (name == QStringLiteral("*.*")) name = QStringLiteral("*");
  if (!IsWildcardName(folder) && !QDir(folder).exists()) return;
  const String archive = QFileInfo(ZipName()).absoluteFilePath();
  TDirSearch search(folder, recurse, name);
  Int64 size = 0;
  for (String file; !(file = search.NextFile(size)).isEmpty();) {
    if (OnRecursingFile) OnRecursingFile(this, file);
    if (file.endsWith(u'/')) {
      if (recurse && FAddDirEntriesOnRecurse) Lines << file;
      continue;
    }
    if (IsExcluded(file) || QFileInfo(file).absoluteFilePath() == archive) continue;
    if (FZipAction == zaFreshen && !InArchive(StoredNameOf(file))) continue;
    Lines << file;
    FTotalBytes += size;
    PumpMessages();
  }
}

void TZipWriter::ProcessExistingEntries(TWriteRun& Run) {
  for (Integer i = 0; i < FDirectory->Count(); ++i) {
    auto entry = std::make_unique<TZipHeaderInfo>();
    entry->Assign(FDirectory->Entry(i));
    LoadEntryComment(*entry);
    qsizetype match = -1;
    for (qsizetype k = 0; k < Run.Lines.size() && match < 0; ++k)
      if (StoredNameOf(Run.Lines[k]) == entry->StoredName()) match = k;
    if (match < 0) {
      KeepEntry(Run, *entry);
      Append(Run, std::move(entry));
      continue;
    }
    const String line = Run.Lines.takeAt(match);
    TDateTime entryDate = 0, fileDate = 0;
    DosDateTimeToDateTime(entry->FileDateTime, entryDate);
    DosDateTimeToDateTime(FileDosDateTime(line), fileDate);
    if (FZipAction != zaReplace && entryDate >= fileDate) {
      if (OnUpdate) OnUpdate(this, uaKeeping, i);
      if (FDispose) Run.DisposeList << line;
      KeepEntry(Run, *entry);
      Append(Run, std::move(entry));
      continue;
    }
    if (OnUpdate) OnUpdate(this, uaReplacing, i);
    auto fresh = std::make_unique<TZipHeaderInfo>();
    if (AddFile(Run, line, *fresh)) {
      Append(Run, std::move(fresh));
      ++Run.Added;
      if (FDispose) Run.DisposeList << line;
    } else {
      // A file that cannot be read now must not cost the copy the archive has.
      KeepEntry(Run, *entry);
      Append(Run, std::move(entry));
    }
  }
}

void TZipWriter::KeepEntry(TWriteRun& Run, TZipHeaderInfo& Entry) {
  uint8_t header[kLocalHeaderSize];
  FArchive->Seek(ArchiveOffset(Entry.DiskNumberStart, Entry.LocalHeaderOffset), soBeginning);
  if (FArchive->Read(header, kLocalHeaderSize) != kLocalHeaderSize || qFromLittleEndian<uint32_t>(header) != kLocalHeaderSignature)
    throw EBadZipFile(QStringLiteral("Not a valid zip file!"));
  FArchive->Seek(qFromLittleEndian<uint16_t>(header + 26), soCurrent);
  QByteArray localExtra(qFromLittleEndian<uint16_t>(header + 28), Qt::Uninitialized);
  if (FArchive->Read(localExtra.data(), Integer(localExtra.size())) != Integer(localExtra.size()))
    throw EFatalUnzipError(QStringLiteral("Premature end of file reached"));
  Entry.LocalExtraLength = uint16_t(localExtra.size());
  // The sizes go into the new local header, so no descriptor has to follow the data.
  if (!Entry.IsEncrypted()) Entry.Flags &= uint16_t(~kFlagDataDescriptor);
  Entry.DiskNumberStart = 0;
  Entry.WriteLocal(Run.Output.get());
  if (Run.Output->Write(localExtra.constData(), Integer(localExtra.size())) != Integer(localExtra.size())) NoRoom();
  uint8_t block[kBlock];
  for (uint32_t left = Entry.CompressedSize; left > 0;) {
    const Integer n = Integer(std::min<uint32_t>(left, kBlock));
    if (FArchive->Read(block, n) != n) throw EFatalUnzipError(QStringLiteral("Premature end of file reached"));
    if (Run.Output->Write(block, n) != n) NoRoom();
    left -= uint32_t(n);
  }
  // An encrypted entry keeps the flag (its check byte comes from the time), so
  // readers look for a descriptor after its data: it gets one.
  if (Entry.HasDataDescriptor()) {
    uint8_t descriptor[16];
    qToLittleEndian<uint32_t>(0x08074b50, descriptor);
    qToLittleEndian<uint32_t>(Entry.Crc32, descriptor + 4);
    qToLittleEndian<uint32_t>(Entry.CompressedSize, descriptor + 8);
    qToLittleEndian<uint32_t>(Entry.UncompressedSize, descriptor + 12);
    if (Run.Output->Write(descriptor, 16) != 16) NoRoom();
  }
}

bool TZipWriter::AddFile(TWriteRun& Run, const String& Line, TZipHeaderInfo& Entry) {
  const bool folder = Line.endsWith(u'/');
  const QFileInfo info(Line);
  std::unique_ptr<TLFNFileStream> source;
  Int64 size = 0;
  Entry.FileDateTime = FileDosDateTime(Line);
  Entry.VersionMadeBy = kMadeByUnix;
  if (folder) {
    Entry.CompressionMethod = kMethodStored;
    Entry.InternalAttributes = 0;
    Entry.Crc32 = 0;
    Entry.ExternalAttributes = UnixAttributes(info, true);
  } else {
    if (!info.exists()) return false;
    Entry.ExternalAttributes = UnixAttributes(info, false);
    for (;;) {
      try {
        source = std::make_unique<TLFNFileStream>(Line, 8192, false, fmOpenRead | fmShareDenyNone);
        break;
      } catch (const EFOpenError&) {
        bool retry = false;
        if (OnSkippingFile) OnSkippingFile(this, srFileOpenError, Line, -1, retry);
        if (!retry) return false;
      }
    }
    size = info.size();
    if (size > kMaxSize) throw EZipTooLarge(QStringLiteral("File larger than 4 GiB: %1").arg(Line));
    Entry.UncompressedSize = uint32_t(size);
    Entry.InternalAttributes = 2;
  }
  ApplyStoredName(Entry, Line);
  Entry.DiskNumberStart = 0;
  if (Run.Names.contains(Entry.StoredName())) {
    bool retry = false;
    if (OnSkippingFile) OnSkippingFile(this, srNoOverwrite, Line, -1, retry);
    FTotalBytes -= size;
    return false;
  }
  bool skip = false;
  if (OnStartZip) OnStartZip(this, Line, Entry, skip);
  if (skip) {
    FTotalBytes -= size;
    return false;
  }
  const bool store = FPackLevel == 0 || MatchesList(*FNoCompressList, Line);
  if (!folder) Entry.CompressionMethod = store ? kMethodStored : kMethodDeflated;
  PlaceLocalHeader(*Run.Output, Entry);
  Entry.WriteLocal(Run.Output.get());
  if (folder) {
    if (OnEndZip) OnEndZip(this, Line, 0, 0, 0);
    return true;
  }

  const Int64 dataStart = Run.Output->Position();
  TEntryData data = WriteEntryData(Run, *source, Line, size, Entry, store);
  // Deflate can make incompressible data larger: such an entry is stored
  // instead, unless the data already went on to later parts of a split set.
  if (!store && data.Written > uint64_t(data.Read) && !dynamic_cast<TZipSpanWriteStream*>(Run.Output.get())) {
    if (!Run.Output->FlushBuffer()) NoRoom();
    Run.Output->Seek(dataStart, soBeginning);
    FBytesDone -= data.Read;
    data = WriteEntryData(Run, *source, Line, size, Entry, true);
  }
  if (data.Written > uint64_t(kMaxSize)) throw EZipTooLarge(QStringLiteral("The archive would pass 4 GiB"));
  Entry.CompressedSize = uint32_t(data.Written);
  // What was read counts, should the file have changed since it was listed.
  Entry.UncompressedSize = uint32_t(data.Read);
  Entry.Crc32 = data.Crc;
  const Int64 end = RewriteLocalHeader(*Run.Output, Entry);
  if (OnEndZip) OnEndZip(this, Line, Entry.UncompressedSize, Entry.CompressedSize, end);
  return true;
}

TZipWriter::TEntryData TZipWriter::WriteEntryData(TWriteRun& Run, TStream& Source, const String& Line, Int64 Size,
                                                  TZipHeaderInfo& Entry, bool Store) {
  Source.Seek(0, soBeginning);
  FFileBytesDone = 0;
  Entry.CompressionMethod = Store ? kMethodStored : kMethodDeflated;
  Entry.Flags &= uint16_t(~(kFlagEncrypted | TDeflater::LevelFlags(FPackLevel)));
  // A file past the format's 4 GiB is refused, whatever its size was when listed.
  TCrcStream input(
      Source, uint64_t(kMaxSize), [&Line] { throw EZipTooLarge(QStringLiteral("File larger than 4 GiB: %1").arg(Line)); },
      nullptr, [this, Size](Int64 Done, Int64 Bytes) { ReportProgress(Done, Size, Bytes); });
  TArchiveSink output(Run.Output.get(), [this] { PumpMessages(); });
  const std::unique_ptr<TByteSink> sealed = EncryptingSink(Source, output, Entry);
  TByteSink& sink = sealed ? *sealed : static_cast<TByteSink&>(output);
  if (Store) {
    uint8_t block[kBlock];
    for (size_t n; (n = input.Read(block, kBlock)) > 0;) sink.Write(block, n);
    Entry.InternalAttributes = 0;
  } else {
    if (!FDeflater) FDeflater = std::make_unique<TDeflater>();
    const TDeflateResult result = FDeflater->Deflate(input, sink, FPackLevel);
    if (result.Stored) Entry.CompressionMethod = kMethodStored;
    else Entry.Flags |= TDeflater::LevelFlags(FPackLevel);
    Entry.InternalAttributes = result.Text ? 1 : 0;
  }
  return {output.Written, Int64(input.Count()), input.Crc()};
}

void TZipWriter::Append(TWriteRun& Run, std::unique_ptr<TZipHeaderInfo> Entry) {
  if (Run.NewDirectory->Count() >= kMaxEntries) throw EZipTooLarge(QStringLiteral("More than 65535 entries"));
  Run.Names.insert(Entry->StoredName());
  Run.NewDirectory->Add(Entry.release());
}

void TZipWriter::WriteDirectory(TWriteRun& Run) {
  if (WriteSplitDirectory(*Run.Output, *Run.NewDirectory, Run.End)) return;
  const Int64 offset = Run.Output->Position();
  for (Integer i = 0; i < Run.NewDirectory->Count(); ++i) Run.NewDirectory->Entry(i)->WriteCentral(Run.Output.get());
  const Int64 end = Run.Output->Position();
  if (end > kMaxSize) throw EZipTooLarge(QStringLiteral("The archive would pass 4 GiB"));
  Run.End.ThisDiskNumber = Run.End.CentralDirDisk = 0;
  Run.End.EntriesOnThisDisk = Run.End.TotalEntries = uint16_t(Run.NewDirectory->Count());
  Run.End.CentralDirOffset = uint32_t(offset);
  Run.End.CentralDirSize = uint32_t(end - offset);
  Run.End.Write(Run.Output.get());
}
