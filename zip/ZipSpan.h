#pragma once
// Archives split into parts: numbered block files ("backup.001",
// "backup.002", ...) or files spanned over removable disks. Offsets inside
// the archive count from the start of the part that holds them; parts are
// numbered from 0 inside the archive and from 1 in names and events.
//
// On this system there are no removable disks to swap and no volume
// labels: a block set is read with all its parts present, and a spanned
// write that runs out of room fails instead of asking for another disk
// (unless the application answers with a file of its own).
#include "platform/rtl/Classes.h"
#include "zip/ZipBufferStream.h"
#include "zip/ZipReader.h"
#include "zip/ZipSpanEvents.h"
#include <memory>
#include <vector>

class TMultiZipInfo : public TPersistent {
public:
  void Assign(TPersistent* Source) override;
  String ClassName() const override { return QStringLiteral("TMultiZipInfo"); }

  Integer BlockSize = 1457600;       // room of every block after the first
  Integer FirstBlockSize = 1457600;  // room of the first block
  Integer SaveOnFirstDisk = 0;       // bytes left free on the first spanned disk
  bool SaveZipInfoOnFirstDisk = false;  // write the ".zfc" directory copy
  TMultiMode MultiMode = mmNone;
  bool CheckDiskLabels = true;
  bool WriteDiskLabels = true;
};

// The archive name with its extension replaced by the three-digit part number.
String ZipPartName(const String& ZipName, Integer Disk);
// The archive name with the extension ".zfc": the copy of a split set's directory.
String ZipConfigName(const String& ZipName);

// The components' own answer to OnGetNextDisk: a block is looked for beside
// the archive by its number; a removable disk cannot be asked for here, so
// a spanned set raises ENotEnoughRoom.
void DefaultGetNextDisk(TMultiMode Mode, Integer NextDisk, String& FName);

// Asks Ask for part Disk (1-based) until it names a file that exists. An
// empty answer raises EUserCanceled; the same missing file named twice in a
// row raises EIncompleteZip, so a handler that cannot find the part ends
// the read instead of being asked for ever.
String AskForPart(Integer Disk, const String& Current, const TGetNextDiskEvent& Ask, TObject* Sender);

// All parts of a split set read as one stream: the parts follow each other,
// so data and directory headers that run over the end of a part go on at
// the start of the next. Offset() turns a part's own offsets into positions
// of this stream.
class TZipSpanReadStream : public TS_BufferStream {
public:
  // DiskCount is the 0-based number of the part with the end record + 1.
  // ZipName is that part when ZipNameIsLast; every other part is asked for,
  // starting from ZipName.
  TZipSpanReadStream(const String& ZipName, bool ZipNameIsLast, Integer DiskCount, const TGetNextDiskEvent& Ask,
                     TObject* Sender);
  ~TZipSpanReadStream() override;
  Int64 Offset(Integer Disk, Int64 OffsetOnDisk) const;
  Integer DiskCount() const;

private:
  class TParts;
  explicit TZipSpanReadStream(std::unique_ptr<TParts> Parts);
  std::unique_ptr<TParts> FParts;
};

// Writes a split set, buffered like the other archive streams. Position()
// and Seek() address the current part, the way headers record their
// offsets; written bytes fill the part up to its room and go on in a new one.
class TZipSpanWriteStream : public TS_BufferStream {
public:
  // FirstRoom: bytes the first part may take; see FirstPartRoom.
  TZipSpanWriteStream(const String& ZipName, const TMultiZipInfo& Info, Int64 FirstRoom, TGetNextDiskEvent Ask,
                      TPrepareNextDiskEvent Prepare, TObject* Sender);
  ~TZipSpanWriteStream() override;

  // Starts the next part unless Bytes fit in the room left, so that a
  // header or the end record never straddles two parts.
  void KeepTogether(Int64 Bytes);
  // Rewrites bytes at an offset of an earlier (or the current) part; the
  // position stays where it was.
  void WriteAt(Integer Disk, Int64 OffsetOnDisk, const QByteArray& Bytes);
  Integer CurrentDisk();
  // Closes the last part and gives the set its final names: a block set
  // that fitted in one block becomes ZipName itself. Returns the name of
  // the part holding the end record.
  String Finish();
  // Closes and deletes every part written, leaving no partial set.
  void Discard();

private:
  class TPartWriter;
  explicit TZipSpanWriteStream(std::unique_ptr<TPartWriter> Parts);
  TPartWriter& Flushed();
  std::unique_ptr<TPartWriter> FParts;
};

// The writer's steps that differ for a split set; on any other stream they
// do what a single archive needs.
// Keeps the local header on one part and records the part in the entry.
void PlaceLocalHeader(TS_BufferStream& Output, TZipHeaderInfo& Entry);
// Writes the entry's local header again with its final values, where it
// was first written; returns the output's position, which stays the same.
Int64 RewriteLocalHeader(TS_BufferStream& Output, TZipHeaderInfo& Entry);
// For a split set: writes the central directory and the end record, each
// header whole on one part, and fills in End; false for any other stream.
bool WriteSplitDirectory(TS_BufferStream& Output, TSortedZip& Directory, TEndCentral& End);
// The ".zfc" copy of a split set's directory beside ZipName; false when it
// cannot be written (the set stays usable without it).
bool WriteZipConfigFile(const String& ZipName, TSortedZip& Directory, const TEndCentral& End);

// Room on the first part: FirstBlockSize for blocks; for a spanned set the
// free space of the archive's file system less SaveOnFirstDisk, which first
// grows by an estimate of the directory copy when one is to be written.
Int64 FirstPartRoom(TMultiZipInfo& Info, const String& ZipName, Integer Files, bool StorePaths, Integer CommentLength);
