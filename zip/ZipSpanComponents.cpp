// The archive components' side of split sets: reading all parts as one
// stream, and the directory copy (".zfc") of a set opened without its end record.
#include "zip/ZipErrors.h"
#include "zip/ZipReader.h"
#include "zip/ZipSpan.h"
#include <QFileInfo>

namespace {

TGetNextDiskEvent NextDiskHandler(TZipReader& Reader) {
  if (Reader.OnGetNextDisk) return Reader.OnGetNextDisk;
  return [&Reader](TObject*, Integer NextDisk, String& FName) { DefaultGetNextDisk(Reader.MultiMode(), NextDisk, FName); };
}

// Whether Name itself holds the end record of the set with DiskCount parts.
bool HoldsEndRecord(const String& Name, Integer DiskCount) {
  TLFNFileStream file(Name, 8192, false, fmOpenRead | fmShareDenyWrite);
  TEndCentral end;
  return end.Find(&file) && end.ThisDiskNumber + 1 == DiskCount;
}

}  // namespace

Int64 TZipReader::ArchiveOffset(Integer Disk, Int64 Offset) const {
  const auto* span = dynamic_cast<const TZipSpanReadStream*>(FArchive.get());
  return span ? span->Offset(Disk, Offset) : Offset;
}

std::unique_ptr<TS_BufferStream> TZipReader::OpenSpannedSet() {
  const Integer disks = FEndCentral.ThisDiskNumber + 1;
  return std::make_unique<TZipSpanReadStream>(FZipName, HoldsEndRecord(FZipName, disks), disks, NextDiskHandler(*this),
                                              this);
}

void TZipReader::SwitchToSpannedSet() {
  FArchive = OpenSpannedSet();
  // The comment's offset was found on the last part.
  FEndCentral.CommentOffset = ArchiveOffset(FEndCentral.ThisDiskNumber, FEndCentral.CommentOffset);
}

bool TZipReader::LoadFromConfigCopy() {
  const String name = ZipConfigName(FZipName);
  if (!QFileInfo(name).isFile()) return false;
  auto copy = std::make_unique<TLFNFileStream>(name, 8192, false, fmOpenRead | fmShareDenyWrite);
  TEndCentral end;
  if (!end.Find(copy.get()) || end.ThisDiskNumber == 0 || end.ThisDiskNumber > 999) return false;
  FEndCentral.Assign(&end);
  FArchive = std::move(copy);
  if (!ReadCentralDirectory(0, FEndCentral.TotalEntries)) {
    ResetArchive();
    throw EBadZipFile(QStringLiteral("Not a valid zip file!"));
  }
  // The comments' offsets point into the copy, so they are read from it now.
  for (Integer i = 0; i < FDirectory->Count(); ++i) LoadEntryComment(*FDirectory->Entry(i));
  LoadZipComment();
  FMultiMode = mmBlocks;
  FArchive = OpenSpannedSet();
  return true;
}
