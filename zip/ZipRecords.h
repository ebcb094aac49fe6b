#pragma once
// The on-disk records of a zip archive (local header, central directory
// header, end of central directory) and their in-memory forms. Sizes and
// offsets are 32-bit; nothing here reads or writes 64-bit extensions or data
// descriptors. Stored names use '/' on disk and '\' in memory.
#include "platform/rtl/Classes.h"
#include "zip/SortedObjectList.h"
#include <QByteArray>
#include <cstdint>

constexpr uint32_t kLocalHeaderSignature = 0x04034b50;
constexpr uint32_t kCentralHeaderSignature = 0x02014b50;
constexpr uint32_t kEndCentralSignature = 0x06054b50;
constexpr int kLocalHeaderSize = 30;
constexpr int kCentralHeaderSize = 46;
constexpr int kEndCentralSize = 22;
// Archives of more than 65 535 entries (or beyond 4 GiB) add a 64-bit end
// record, found through a locator right before the end record.
constexpr uint32_t kZip64EndSignature = 0x06064b50;
constexpr uint32_t kZip64LocatorSignature = 0x07064b50;
constexpr int kZip64EndSize = 56;
constexpr int kZip64LocatorSize = 20;

constexpr uint16_t kFlagEncrypted = 0x0001;
constexpr uint16_t kFlagDataDescriptor = 0x0008;
constexpr uint16_t kFlagUtf8Name = 0x0800;

constexpr uint16_t kMethodStored = 0;
constexpr uint16_t kMethodDeflated = 8;

// One archive entry.
class TZipHeaderInfo : public TPersistent {
public:
  TZipHeaderInfo() { SetDefaults(); }
  void Assign(TPersistent* Source) override;
  String ClassName() const override { return QStringLiteral("TZipHeaderInfo"); }

  void SetDefaults();
  // One central header at the stream's position, leaving the stream after
  // the name and the extra field. False (the stream put back, the record
  // unchanged) on a short read or a wrong signature.
  bool ReadCentral(TStream* Stream);
  // One local header, leaving the stream after the name; false as above.
  bool ReadLocal(TStream* Stream);
  // Both raise ENotEnoughRoom when the stream takes fewer bytes.
  void WriteCentral(TStream* Stream) const;
  // Sets LocalHeaderOffset to the stream's position first.
  void WriteLocal(TStream* Stream);

  const String& FileName() const { return FFileName; }
  const String& Directory() const { return FDirectory; }
  String StoredName() const { return FDirectory + FFileName; }
  void SetFileName(const String& Value);
  // A non-empty value gets a trailing '\'.
  void SetDirectory(const String& Value);
  // The raw comment bytes; loaded lazily by the reader.
  const QByteArray& FileComment() const { return FFileComment; }
  bool CommentLoaded() const { return FCommentLoaded; }
  void SetFileComment(const QByteArray& Value);
  void MarkCommentLoaded(const QByteArray& Value);

  bool HasComment() const { return FileCommentLength != 0; }
  bool IsEncrypted() const { return Flags & kFlagEncrypted; }
  bool HasDataDescriptor() const { return Flags & kFlagDataDescriptor; }
  bool IsFolder() const { return FFileName.isEmpty(); }
  uint32_t LocalSize() const { return kLocalHeaderSize + FileNameLength + LocalExtraLength; }
  uint32_t CentralSize() const { return kCentralHeaderSize + FileNameLength + CentralExtraLength + FileCommentLength; }

  uint16_t VersionMadeBy;
  uint16_t VersionNeeded;
  uint16_t Flags;
  uint16_t CompressionMethod;
  uint32_t FileDateTime;
  uint32_t Crc32;
  uint32_t CompressedSize;
  uint32_t UncompressedSize;
  uint16_t FileNameLength;  // bytes of the encoded name, kept by the name setters
  uint16_t CentralExtraLength;
  uint16_t LocalExtraLength;
  uint16_t FileCommentLength;
  uint16_t DiskNumberStart;
  uint16_t InternalAttributes;
  uint32_t ExternalAttributes;
  uint32_t LocalHeaderOffset;
  int32_t CentralHeaderOffset;
  uint8_t MatchFlag;
  // The central extra field, carried over when an entry is kept in an update.
  QByteArray CentralExtra;

protected:
  void AssignTo(TPersistent* Dest) override;

private:
  // ASCII names are written as they are, others as UTF-8 with flag bit 11.
  QByteArray EncodedName() const;
  uint16_t WrittenFlags() const;
  void UpdateNameLength();
  void SetName(const QByteArray& Raw, bool Utf8, bool DosHost);

  String FFileName;
  String FDirectory;
  QByteArray FFileComment;
  bool FCommentLoaded = false;
};

// The end-of-central-directory record.
class TEndCentral : public TPersistent {
public:
  TEndCentral() { SetDefaults(); }
  void Assign(TPersistent* Source) override;
  String ClassName() const override { return QStringLiteral("TEndCentral"); }

  void SetDefaults();
  // Finds the record in the last 65557 bytes, the nearest to the end
  // winning; an empty stream counts as an empty archive. The comment is not read.
  bool Find(TStream* Stream);
  // Raises ENotEnoughRoom when the stream takes fewer bytes.
  void Write(TStream* Stream) const;
  bool HasComment() const { return CommentLength != 0; }
  const QByteArray& Comment() const { return FComment; }
  bool CommentLoaded() const { return FCommentLoaded; }
  void SetComment(const QByteArray& Value);
  void MarkCommentLoaded(const QByteArray& Value);
  uint32_t RecordSize() const { return kEndCentralSize + CommentLength; }

  uint32_t Signature;
  uint16_t ThisDiskNumber;
  uint16_t CentralDirDisk;
  uint16_t EntriesOnThisDisk;
  uint16_t TotalEntries;
  uint32_t CentralDirSize;
  uint32_t CentralDirOffset;
  uint16_t CommentLength;
  int64_t EndOffset;  // where the record starts
  int64_t CommentOffset;
  bool CommentModified;

protected:
  void AssignTo(TPersistent* Dest) override;

private:
  QByteArray FComment;
  bool FCommentLoaded = false;
};

enum TZipSortMode { ByName, ByFileName, ByDirectoryName, ByDate, ByCompressedSize, ByUnCompressedSize, ByRate, ByNone };

// Archive entries in the order of a sort mode. ByNone is archive order (disk,
// then local header offset): the directory itself, which owns its entries
// and refuses two at one offset; other modes are views that share them.
class TSortedZip : public TSortedObjectList {
public:
  explicit TSortedZip(TZipSortMode Mode = ByNone, bool AOwnsObjects = true, TDuplicates ADuplicates = dupError)
      : TSortedObjectList(AOwnsObjects, ADuplicates), FSortMode(Mode) {}
  TZipSortMode SortMode() const { return FSortMode; }
  TZipHeaderInfo* Entry(Integer Index) const { return static_cast<TZipHeaderInfo*>(Items(Index)); }

protected:
  Integer Compare(TObject* Item1, TObject* Item2) const override;

private:
  TZipSortMode FSortMode;
};
