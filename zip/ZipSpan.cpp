#include "zip/ZipSpan.h"
#include "zip/ZipErrors.h"
#include "zip/ZipFileUtils.h"
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>

namespace {

String WithExtension(const String& Name, const String& Extension) {
  const qsizetype dot = Name.lastIndexOf(QLatin1Char('.'));
  const qsizetype slash = std::max(Name.lastIndexOf(QLatin1Char('/')), Name.lastIndexOf(QLatin1Char('\\')));
  return (dot > slash ? Name.left(dot) : Name) + Extension;
}

[[noreturn]] void NoRoom(const String& Why) {
  throw ENotEnoughRoom(QStringLiteral("Not enough room to write archive: ") + Why);
}

}  // namespace

void TMultiZipInfo::Assign(TPersistent* Source) {
  if (auto* other = dynamic_cast<TMultiZipInfo*>(Source))
    *this = *other;
  else
    TPersistent::Assign(Source);
}

String ZipPartName(const String& ZipName, Integer Disk) {
  return WithExtension(ZipName, QStringLiteral(".%1").arg(Disk, 3, 10, QLatin1Char('0')));
}

String ZipConfigName(const String& ZipName) { return WithExtension(ZipName, QStringLiteral(".zfc")); }

void DefaultGetNextDisk(TMultiMode Mode, Integer NextDisk, String& FName) {
  if (Mode == mmSpan) NoRoom(QStringLiteral("disk %1 of a spanned set cannot be asked for on this system").arg(NextDisk));
  FName = ZipPartName(FName, NextDisk);
}

String AskForPart(Integer Disk, const String& Current, const TGetNextDiskEvent& Ask, TObject* Sender) {
  String missing;
  for (;;) {
    String name = Current;
    Ask(Sender, Disk, name);
    if (name.isEmpty()) throw EUserCanceled(QStringLiteral("User canceled loading new disk."));
    if (QFileInfo(name).isFile()) return name;
    if (name == missing)
      throw EIncompleteZip(QStringLiteral("Part %1 of the multi-disk set is missing: %2").arg(Disk).arg(name));
    missing = name;
  }
}

// ---------------------------------------------------------------- reading

class TZipSpanReadStream::TParts : public TStream {
public:
  QStringList Names;
  std::vector<Int64> Starts;  // one more than Names: the total at the end

  Integer Read(void* Buffer, Integer Count) override {
    auto* out = static_cast<char*>(Buffer);
    Integer done = 0;
    while (done < Count && FPos < Starts.back()) {
      const size_t part = size_t(std::upper_bound(Starts.begin(), Starts.end(), FPos) - Starts.begin()) - 1;
      Open(part);
      FFile->Seek(FPos - Starts[part], soBeginning);
      const Int64 want = std::min<Int64>(Count - done, Starts[part + 1] - FPos);
      const Integer n = FFile->Read(out + done, Integer(want));
      if (n <= 0) break;
      done += n;
      FPos += n;
    }
    return done;
  }

  Integer Write(const void*, Integer) override { return 0; }

  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override {
    const Int64 base = Origin == soBeginning ? 0 : Origin == soCurrent ? FPos : Starts.back();
    FPos = std::max<Int64>(0, base + Offset);
    return FPos;
  }

private:
  void Open(size_t Part) {
    if (FFile && FOpen == Part) return;
    FFile.reset();
    FFile = std::make_unique<TFileStream>(Names[qsizetype(Part)], fmOpenRead | fmShareDenyWrite);
    FOpen = Part;
  }

  Int64 FPos = 0;
  size_t FOpen = 0;
  std::unique_ptr<TFileStream> FFile;
};

TZipSpanReadStream::TZipSpanReadStream(std::unique_ptr<TParts> Parts)
    : TS_BufferStream(Parts.get(), 8192), FParts(std::move(Parts)) {}

TZipSpanReadStream::TZipSpanReadStream(const String& ZipName, bool ZipNameIsLast, Integer DiskCount,
                                       const TGetNextDiskEvent& Ask, TObject* Sender)
    : TZipSpanReadStream(std::make_unique<TParts>()) {
  FParts->Starts.push_back(0);
  for (Integer disk = 0; disk < DiskCount; ++disk) {
    const String name = disk == DiskCount - 1 && ZipNameIsLast ? ZipName : AskForPart(disk + 1, ZipName, Ask, Sender);
    FParts->Names.append(name);
    FParts->Starts.push_back(FParts->Starts.back() + QFileInfo(name).size());
  }
}

TZipSpanReadStream::~TZipSpanReadStream() = default;

Int64 TZipSpanReadStream::Offset(Integer Disk, Int64 OffsetOnDisk) const {
  if (Disk < 0 || Disk >= DiskCount()) throw EBadZipFile(QStringLiteral("Not a valid zip file!"));
  return FParts->Starts[size_t(Disk)] + OffsetOnDisk;
}

Integer TZipSpanReadStream::DiskCount() const { return Integer(FParts->Names.size()); }

// ---------------------------------------------------------------- writing

class TZipSpanWriteStream::TPartWriter : public TStream {
public:
  TPartWriter(const String& ZipName, const TMultiZipInfo& Info, Int64 FirstRoom, TGetNextDiskEvent Ask,
              TPrepareNextDiskEvent Prepare, TObject* Sender)
      : FInfo(Info), FZipName(ZipName), FAsk(std::move(Ask)), FPrepare(std::move(Prepare)), FSender(Sender),
        FFirstRoom(FirstRoom) {
    StartPart();
  }

  Integer Read(void* Buffer, Integer Count) override { return FFile->Read(Buffer, Count); }

  // Takes nothing once the set is finished, discarded or dropped.
  Integer Write(const void* Buffer, Integer Count) override {
    if (FClosed) return 0;
    const auto* in = static_cast<const char*>(Buffer);
    Integer done = 0;
    while (done < Count) {
      if (FRoom <= 0) StartPart();
      const Integer want = Integer(std::min<Int64>(Count - done, FRoom));
      const Integer n = FFile->Write(in + done, want);
      if (n > 0) {
        done += n;
        FRoom -= n;
      }
      if (n < want) break;
    }
    return done;
  }

  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override { return FFile->Seek(Offset, Origin); }

  void KeepTogether(Int64 Bytes) {
    if (Bytes < FRoom) return;
    StartPart();
    if (Bytes > FRoom) NoRoom(QStringLiteral("a part holds %1 bytes, less than one header").arg(FRoom));
  }

  void WriteAt(Integer Disk, Int64 OffsetOnDisk, const QByteArray& Bytes) {
    const auto put = [&](TStream& Stream) {
      Stream.Seek(OffsetOnDisk, soBeginning);
      if (Stream.Write(Bytes.constData(), Integer(Bytes.size())) != Bytes.size())
        NoRoom(QStringLiteral("cannot rewrite part %1").arg(Disk + 1));
    };
    if (Disk == CurrentDisk()) {
      const Int64 here = FFile->Position();
      put(*FFile);
      FFile->Seek(here, soBeginning);
    } else {
      TFileStream earlier(FParts.at(Disk), fmOpenReadWrite);
      put(earlier);
    }
  }

  Integer CurrentDisk() const { return Integer(FParts.size()) - 1; }

  String Finish() {
    Close();
    if (FParts.first() != FZipName && (FInfo.MultiMode == mmSpan || FParts.size() == 1)) {
      MoveOrCopyFile(FParts.first(), FZipName);
      FParts.first() = FZipName;
    }
    return FParts.last();
  }

  void Discard() {
    Close();
    for (const String& part : FParts) QFile::remove(part);
    FParts.clear();
  }

  void Close() {
    FFile.reset();
    FClosed = true;
  }

private:
  void StartPart() {
    const Integer number = Integer(FParts.size()) + 1;
    if (number > 999) NoRoom(QStringLiteral("a split set holds at most 999 parts"));
    FFile.reset();
    String name = FZipName;
    Int64 room = number == 1 ? FFirstRoom : FInfo.BlockSize;
    if (FInfo.MultiMode == mmBlocks) {
      if (room <= 0) NoRoom(QStringLiteral("blocks of %1 bytes hold nothing").arg(room));
      name = ZipPartName(FZipName, number);
    } else if (number == 1) {
      // The first disk's file takes the archive's name only when the set is
      // complete, so a failed write leaves an older archive of that name whole.
      name = TempFileName(QFileInfo(FZipName).absolutePath());
    } else {
      if (FAsk)
        FAsk(FSender, number, name);
      else
        DefaultGetNextDisk(mmSpan, number, name);
      if (name.isEmpty()) throw EUserCanceled(QStringLiteral("User canceled Zip operation"));
      // Answering with a part already written, or the first one's final name, would overwrite it.
      if (FParts.contains(name) || name == FZipName)
        NoRoom(QStringLiteral("disk %1 names a part already written: %2").arg(number).arg(name));
      QFile::remove(name);
      if (FPrepare) FPrepare(FSender, number);
      room = QStorageInfo(QFileInfo(name).absolutePath()).bytesAvailable();
    }
    FFile = std::make_unique<TFileStream>(name, fmCreate);
    FParts.append(name);
    FRoom = room;
  }

  const TMultiZipInfo& FInfo;
  String FZipName;
  TGetNextDiskEvent FAsk;
  TPrepareNextDiskEvent FPrepare;
  TObject* FSender;
  QStringList FParts;
  std::unique_ptr<TFileStream> FFile;
  Int64 FRoom = 0;
  Int64 FFirstRoom;
  bool FClosed = false;
};

TZipSpanWriteStream::TZipSpanWriteStream(std::unique_ptr<TPartWriter> Parts)
    : TS_BufferStream(Parts.get(), 65536), FParts(std::move(Parts)) {}

TZipSpanWriteStream::TZipSpanWriteStream(const String& ZipName, const TMultiZipInfo& Info, Int64 FirstRoom,
                                         TGetNextDiskEvent Ask, TPrepareNextDiskEvent Prepare, TObject* Sender)
    : TZipSpanWriteStream(
          std::make_unique<TPartWriter>(ZipName, Info, FirstRoom, std::move(Ask), std::move(Prepare), Sender)) {}

// A set neither finished nor discarded keeps the parts written so far and
// drops the bytes still buffered: writing them could need a new part, and
// a destructor cannot report that. The buffer is emptied here, while the
// parts it writes to still exist.
TZipSpanWriteStream::~TZipSpanWriteStream() {
  FParts->Close();
  Release();
}

// Pending bytes are written before the part's room is looked at.
TZipSpanWriteStream::TPartWriter& TZipSpanWriteStream::Flushed() {
  if (!FlushBuffer()) NoRoom(QStringLiteral("a part could not be written"));
  return *FParts;
}

void TZipSpanWriteStream::KeepTogether(Int64 Bytes) { Flushed().KeepTogether(Bytes); }

void TZipSpanWriteStream::WriteAt(Integer Disk, Int64 OffsetOnDisk, const QByteArray& Bytes) {
  Flushed().WriteAt(Disk, OffsetOnDisk, Bytes);
}

Integer TZipSpanWriteStream::CurrentDisk() { return Flushed().CurrentDisk(); }

String TZipSpanWriteStream::Finish() { return Flushed().Finish(); }

void TZipSpanWriteStream::Discard() {
  FParts->Discard();
  FlushBuffer();  // drops what is still buffered: the parts take nothing now
}

Int64 FirstPartRoom(TMultiZipInfo& Info, const String& ZipName, Integer Files, bool StorePaths, Integer CommentLength) {
  if (Info.MultiMode == mmBlocks) return Info.FirstBlockSize;
  if (Info.SaveZipInfoOnFirstDisk) Info.SaveOnFirstDisk += Files * (StorePaths ? 83 : 58) + CommentLength + 2070;
  return QStorageInfo(QFileInfo(ZipName).absolutePath()).bytesAvailable() - Info.SaveOnFirstDisk;
}

void PlaceLocalHeader(TS_BufferStream& Output, TZipHeaderInfo& Entry) {
  auto* span = dynamic_cast<TZipSpanWriteStream*>(&Output);
  if (!span) return;
  span->KeepTogether(Entry.LocalSize());
  Entry.DiskNumberStart = uint16_t(span->CurrentDisk());
}

Int64 RewriteLocalHeader(TS_BufferStream& Output, TZipHeaderInfo& Entry) {
  const uint32_t offset = Entry.LocalHeaderOffset;
  if (auto* span = dynamic_cast<TZipSpanWriteStream*>(&Output)) {
    // The data may have moved on to later parts: the header is patched in its own part.
    TMemoryStream header;
    Entry.WriteLocal(&header);
    Entry.LocalHeaderOffset = offset;
    span->WriteAt(Entry.DiskNumberStart, offset, header.Bytes());
    return span->Position();
  }
  const Int64 end = Output.Position();
  // Data still buffered is written here, where a failure is known for what it is.
  if (!Output.FlushBuffer()) RaiseNotEnoughRoom();
  Output.Seek(offset, soBeginning);
  Entry.WriteLocal(&Output);
  Output.Seek(end, soBeginning);
  return end;
}

bool WriteSplitDirectory(TS_BufferStream& Output, TSortedZip& Directory, TEndCentral& End) {
  auto* span = dynamic_cast<TZipSpanWriteStream*>(&Output);
  if (!span) return false;
  Int64 size = 0;
  uint16_t onThisDisk = 0;
  // Keeps Bytes on one part; a new part restarts the count of headers on it.
  const auto keep = [&](Int64 Bytes) {
    const Integer disk = span->CurrentDisk();
    span->KeepTogether(Bytes);
    if (span->CurrentDisk() != disk) onThisDisk = 0;
  };
  for (Integer i = 0; i < Directory.Count(); ++i) {
    TZipHeaderInfo* entry = Directory.Entry(i);
    keep(entry->CentralSize());
    if (i == 0) {
      End.CentralDirDisk = uint16_t(span->CurrentDisk());
      End.CentralDirOffset = uint32_t(span->Position());
    }
    entry->WriteCentral(span);
    size += entry->CentralSize();
    ++onThisDisk;
  }
  keep(End.RecordSize());
  if (Directory.Count() == 0) {
    End.CentralDirDisk = uint16_t(span->CurrentDisk());
    End.CentralDirOffset = uint32_t(span->Position());
  }
  End.ThisDiskNumber = uint16_t(span->CurrentDisk());
  End.EntriesOnThisDisk = onThisDisk;
  End.TotalEntries = uint16_t(Directory.Count());
  End.CentralDirSize = uint32_t(size);
  End.Write(span);
  return true;
}

bool WriteZipConfigFile(const String& ZipName, TSortedZip& Directory, const TEndCentral& End) {
  const String name = ZipConfigName(ZipName);
  try {
    TLFNFileStream copy(name, 65536, true, fmCreate);
    for (Integer i = 0; i < Directory.Count(); ++i) Directory.Entry(i)->WriteCentral(&copy);
    End.Write(&copy);
    if (copy.FlushBuffer()) return true;
  } catch (const Exception&) {
  }
  QFile::remove(name);
  return false;
}
