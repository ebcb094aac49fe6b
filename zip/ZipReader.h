#pragma once
// TZipReader: opens a zip archive, keeps its central directory in memory,
// answers questions about its entries and extracts them.
#include "platform/rtl/Classes.h"
#include "zip/ZipBufferStream.h"
#include "zip/ZipCrypt.h"
#include "zip/ZipRecords.h"
#include "zip/ZipSpanEvents.h"
#include <QDateTime>
#include <memory>

enum class TUZOverwriteMode { Prompt, Always, Never, ifNewer, ifOlder };
enum TIncompleteZipMode { izAssumeMulti, izAssumeBad, izAssumeNotAZip };
enum TSkipReason { srBadPassword, srNoOverwrite, srFileOpenError, srCreateError };
enum TMultiMode { mmNone, mmSpan, mmBlocks };

using TStartUnZipInfoEvent = std::function<void(TObject* Sender, Integer NumFiles, Int64 TotalBytes, bool& StopNow)>;
using TStartUnZipEvent = std::function<void(TObject* Sender, Integer FileIndex, String& FName, bool& Skip)>;
using TEndUnZipEvent = std::function<void(TObject* Sender, Integer FileIndex, const String& FName)>;
using TPercentDoneEvent = std::function<void(TObject* Sender, Integer Percent)>;
using TPromptForOverwriteEvent = std::function<void(TObject* Sender, bool& OverWriteIt, Integer FileIndex, String& FName)>;
using TSkippingFileEvent =
    std::function<void(TObject* Sender, TSkipReason Reason, const String& FName, Integer FileIndex, bool& Retry)>;
using TBadCRCEvent = std::function<void(TObject* Sender, uint32_t CalcCRC, uint32_t StoredCRC, Integer FileIndex)>;
using TInCompleteZipEvent = std::function<void(TObject* Sender, TIncompleteZipMode& IncompleteMode)>;
using TUnZipCompleteEvent = std::function<void(TObject* Sender, Integer FileCount)>;

class TZipReader : public TComponent {
public:
  explicit TZipReader(TComponent* AOwner = nullptr);
  ~TZipReader() override;

  const String& ZipName() const { return FZipName; }
  // A name that differs from the current one (in letter case too: file
  // names are case-sensitive here) drops the loaded directory and closes
  // the archive.
  virtual void SetZipName(const String& Value);
  // Kept without a trailing separator.
  const String& DestDir() const { return FDestDir; }
  void SetDestDir(const String& Value);
  // Empty, or kept with a trailing separator.
  const String& RootDir() const { return FRootDir; }
  void SetRootDir(const String& Value);
  TZipSortMode SortMode() const { return FSortMode; }
  void SetSortMode(TZipSortMode Value) { Sort(Value); }
  bool RecreateDirs() const { return FRecreateDirs; }
  void SetRecreateDirs(bool Value) { FRecreateDirs = Value; }
  TUZOverwriteMode OverwriteMode() const { return FOverwriteMode; }
  void SetOverwriteMode(TUZOverwriteMode Value) { FOverwriteMode = Value; }
  // Names or masks to extract (or to add, for the writer); emptied after every run.
  TStringList* FilesList() const { return FFilesList.get(); }
  void SetFilesList(TStrings* Value) { FFilesList->Assign(Value); }
  bool DoAll() const { return FDoAll; }
  void SetDoAll(bool Value) { FDoAll = Value; }
  TIncompleteZipMode IncompleteZipMode() const { return FIncompleteZipMode; }
  void SetIncompleteZipMode(TIncompleteZipMode Value) { FIncompleteZipMode = Value; }
  bool KeepZipOpen() const { return FKeepZipOpen; }
  void SetKeepZipOpen(bool Value) { FKeepZipOpen = Value; }
  bool DoProcessMessages() const { return FDoProcessMessages; }
  void SetDoProcessMessages(bool Value) { FDoProcessMessages = Value; }
  bool RetainAttributes() const { return FRetainAttributes; }
  void SetRetainAttributes(bool Value) { FRetainAttributes = Value; }
  bool ReplaceReadOnly() const { return FReplaceReadOnly; }
  void SetReplaceReadOnly(bool Value) { FReplaceReadOnly = Value; }
  bool FlushFilesOnClose() const { return FFlushFilesOnClose; }
  void SetFlushFilesOnClose(bool Value) { FFlushFilesOnClose = Value; }
  Integer ThisVersion() const { return 223; }
  const String& Password() const { return FPassword; }
  void SetPassword(const String& Value) { FPassword = Value; }
  TMultiMode MultiMode() const { return FMultiMode; }

  // Entries in the presented (SortMode) order.
  Integer Count() const;
  // Raise EListError "Index %d is out of range" outside 0..Count-1.
  String Filename(Integer Index) const;
  // The current date-time when the stored one names no real day.
  TDateTime DateTime(Integer Index) const;
  String FileComment(Integer Index);
  void SetFileComment(Integer Index, const String& Value);
  String ZipComment();
  void SetZipComment(const String& Value);

  // Loads the directory, leaving the archive closed unless KeepZipOpen.
  void ReadZip();
  // Loads the directory and answers every entry's path as extraction would
  // make it below DestDir ('/' between folders, a folder entry ending in
  // '/'), in the presented order; raises EUnsafeZipEntry on a name that
  // extraction would refuse.
  QStringList EntryPaths();
  // Closes the archive, forgets its directory and clears ZipName.
  void ResetArchive();
  void Sort(TZipSortMode Mode);
  // Extracts the chosen entries into DestDir; returns how many were written
  // with a correct CRC (folder entries count too). Files are decoded beside
  // their target and renamed over it only when size and CRC check out, so a
  // damaged entry never costs the old file; it raises EBadZipEntry. Names
  // that would land outside DestDir raise EUnsafeZipEntry before anything
  // is written.
  Integer ExtractFiles();

  TStartUnZipInfoEvent OnStartUnZipInfo;
  TStartUnZipEvent OnStartUnZip;
  TEndUnZipEvent OnEndUnZip;
  TPercentDoneEvent OnFilePercentDone;
  TPercentDoneEvent OnTotalPercentDone;
  TPromptForOverwriteEvent OnPromptForOverwrite;
  TSkippingFileEvent OnSkippingFile;
  TBadCRCEvent OnBadCRC;
  TInCompleteZipEvent OnInCompleteZip;
  TUnZipCompleteEvent OnUnZipComplete;
  TBadPasswordEvent OnBadPassword;
  TCryptEvent OnDecrypt;
  // Asked for the other parts of a split set; without a handler they are
  // looked for beside the archive by number.
  TGetNextDiskEvent OnGetNextDisk;

protected:
  // Opens the archive stream when closed and (re)loads the directory when
  // none is loaded or the file changed since.
  void OpenArchive();
  // Closes the archive stream unless KeepZipOpen (or Force).
  void CloseArchive(bool Force = false);
  TSortedZip* Presented() const { return FSorted ? FSorted.get() : FDirectory.get(); }
  void PumpMessages() const;
  void ReportProgress(Int64 FileDone, Int64 FileTotal, Int64 Bytes);
  // Loads the comment of an entry of the open archive when it has one not loaded yet.
  void LoadEntryComment(TZipHeaderInfo& Entry);
  void LoadZipComment();
  // Remembers the archive file's state so the next open does not reload.
  void StampArchive();
  // Where an offset on a part of a split set lies in the archive stream.
  Int64 ArchiveOffset(Integer Disk, Int64 Offset) const;

  std::unique_ptr<TSortedZip> FDirectory;
  std::unique_ptr<TSortedZip> FSorted;
  TEndCentral FEndCentral;
  std::unique_ptr<TS_BufferStream> FArchive;
  Int64 FTotalBytes = 0;
  Int64 FBytesDone = 0;
  Int64 FFileBytesDone = 0;
  bool FBusy = false;

private:
  struct TArchiveStamp {
    QDateTime Modified;
    Int64 Size = -1;
    bool operator==(const TArchiveStamp&) const = default;
  };
  TArchiveStamp CurrentStamp() const;
  void LoadDirectory();
  // Where the directory starts and how many entries it holds, from the
  // 64-bit end record when the end record says to look there. Raises
  // EZipTooLarge for a directory beyond what the 32-bit records address.
  void ReadZip64End(Int64& Offset, Int64& Entries);
  // False when the headers cannot be read; raises EZipTooLarge for entries
  // beyond 4 GiB and for more entries than the count says.
  bool ReadCentralDirectory(Int64 Offset, Int64 Entries);
  bool RebuildFromLocalHeaders();
  void MergeCentralHeaders(Int64 Offset, Int64 Entries);
  void CheckIndex(Integer Index) const;
  QByteArray ReadBytesAt(Int64 Offset, Integer Count);

  // Extraction.
  struct TRun;
  Integer RunExtraction();
  void ChooseEntries(TRun& Run);
  void ExtractEntry(TRun& Run, Integer Index);
  // Raises EBadZipFile when entries share bytes of the archive.
  void RefuseOverlappingEntries();
  String DestinationFolder(const TZipHeaderInfo& Entry) const;
  bool MayOverwrite(Integer Index, const TZipHeaderInfo& Entry, String& FName);
  // Decodes the entry into Target; false when the data is damaged.
  bool DecodeEntry(const TZipHeaderInfo& Entry, const String& Target, uint32_t& Crc);

  // Traditional encryption (ZipCryptComponents.cpp): the password check of
  // an entry, asking OnBadPassword for another one, and the decrypted data.
  bool PasswordAccepted(Integer Index, const TZipHeaderInfo& Entry);
  bool AskNewPassword(Integer Index);
  std::unique_ptr<TByteSource> DecryptedSource(TByteSource& Raw, const TZipHeaderInfo& Entry);

  // Split sets (ZipSpanComponents.cpp): the archive stream joins all parts.
  std::unique_ptr<TS_BufferStream> OpenSpannedSet();
  void SwitchToSpannedSet();
  // The directory from the ".zfc" copy when the archive has no end record.
  bool LoadFromConfigCopy();

  String FZipName;
  String FDestDir;
  String FRootDir;
  TZipSortMode FSortMode = ByNone;
  bool FRecreateDirs = false;
  TUZOverwriteMode FOverwriteMode = TUZOverwriteMode::Prompt;
  std::unique_ptr<TStringList> FFilesList;
  bool FDoAll = false;
  TIncompleteZipMode FIncompleteZipMode = izAssumeMulti;
  bool FKeepZipOpen = false;
  bool FDoProcessMessages = true;
  bool FRetainAttributes = true;
  bool FReplaceReadOnly = false;
  bool FFlushFilesOnClose = false;
  String FPassword;
  TMultiMode FMultiMode = mmNone;
  TArchiveStamp FStamp;
};
