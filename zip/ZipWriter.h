#pragma once
// TZipWriter: creates zip archives and updates existing ones in place of
// their old copy: unchanged entries are kept, changed files replaced where
// they stand, new files appended.
#include "zip/ZipReader.h"
#include "zip/ZipSpan.h"

enum TZipAction { zaUpdate, zaReplace, zaFreshen };
enum TUpdateAction { uaReplacing, uaKeeping };

using TStartZipInfoEvent =
    std::function<void(TObject* Sender, Integer NumFiles, Int64 TotalBytes, TEndCentral& EndCentralRecord, bool& StopNow)>;
using TStartZipEvent = std::function<void(TObject* Sender, const String& FName, TZipHeaderInfo& ZipHeader, bool& Skip)>;
using TEndZipEvent =
    std::function<void(TObject* Sender, const String& FName, Int64 UncompressedSize, Int64 CompressedSize, Int64 CurrentZipSize)>;
using TFileSkipEvent = std::function<void(TObject* Sender, const String& FName, bool& Skip)>;
using TFileNameEvent = std::function<void(TObject* Sender, const String& FName)>;
using TZipCompleteEvent = std::function<void(TObject* Sender, Integer FileCount)>;
using TUpdateEvent = std::function<void(TObject* Sender, TUpdateAction UDAction, Integer FileIndex)>;

class TDeflater;

class TZipWriter : public TZipReader {
public:
  explicit TZipWriter(TComponent* AOwner = nullptr);
  ~TZipWriter() override;

  // 0 stores, 1-9 deflate.
  Integer PackLevel() const { return FPackLevel; }
  void SetPackLevel(Integer Value) { FPackLevel = std::clamp(Value, 0, 9); }
  bool Recurse() const { return FRecurse; }
  void SetRecurse(bool Value) { FRecurse = Value; }
  // Delete the source files after a successful run.
  bool Dispose() const { return FDispose; }
  void SetDispose(bool Value) { FDispose = Value; }
  // False also clears StoreVolumes and RelativePaths.
  bool StorePaths() const { return FStorePaths; }
  void SetStorePaths(bool Value);
  // True also sets StorePaths and Recurse: names are stored relative to RootDir.
  bool RelativePaths() const { return FRelativePaths; }
  void SetRelativePaths(bool Value);
  // True also sets StorePaths: the leading separator stays in stored names.
  bool StoreVolumes() const { return FStoreVolumes; }
  void SetStoreVolumes(bool Value);
  TZipAction ZipAction() const { return FZipAction; }
  void SetZipAction(TZipAction Value) { FZipAction = Value; }
  // Masks of files never added, and of files stored without compression.
  TStringList* ExcludeList() const { return FExcludeList.get(); }
  void SetExcludeList(TStrings* Value) { FExcludeList->Assign(Value); }
  TStringList* NoCompressList() const { return FNoCompressList.get(); }
  void SetNoCompressList(TStrings* Value) { FNoCompressList->Assign(Value); }
  bool AddDirEntriesOnRecurse() const { return FAddDirEntriesOnRecurse; }
  void SetAddDirEntriesOnRecurse(bool Value) { FAddDirEntriesOnRecurse = Value; }
  // Splitting into block files or spanned disks; a split write always makes a new set.
  TMultiZipInfo* MultiZipInfo() const { return FMultiZipInfo.get(); }
  void SetMultiZipInfo(TMultiZipInfo* Value) { FMultiZipInfo->Assign(Value); }

  // Adds the files FilesList names under RootDir to ZipName, creating the
  // archive or updating it; returns the files added or replaced (kept
  // entries do not count). The new archive is written beside the old one
  // and renamed over it only when complete, so a failure raises and leaves
  // the old archive as it was. A blank ZipName does nothing and returns 0.
  Integer CompressFiles();

  TStartZipInfoEvent OnStartZipInfo;
  TStartZipEvent OnStartZip;
  TEndZipEvent OnEndZip;
  TFileSkipEvent OnDisposeFile;
  TFileNameEvent OnNoSuchFile;
  TZipCompleteEvent OnZipComplete;
  TUpdateEvent OnUpdate;
  TFileNameEvent OnRecursingFile;
  TCryptEvent OnEncrypt;
  TPrepareNextDiskEvent OnPrepareNextDisk;

private:
  struct TWriteRun;
  Integer Write();
  void ExpandFilesList(TWriteRun& Run);
  void ExpandMask(String Mask, QStringList& Lines);
  bool InArchive(const String& StoredName) const;
  bool IsExcluded(const String& Path) const;
  static bool MatchesList(const TStringList& List, const String& Path);
  // Directory and FileName of the entry for a source path (a folder path ends in '/').
  void ApplyStoredName(TZipHeaderInfo& Entry, const String& Path) const;
  String StoredNameOf(const String& Path) const;
  void ProcessExistingEntries(TWriteRun& Run);
  void KeepEntry(TWriteRun& Run, TZipHeaderInfo& Entry);
  bool AddFile(TWriteRun& Run, const String& Line, TZipHeaderInfo& Entry);
  struct TEntryData {
    uint64_t Written;  // bytes in the archive, an encryption header included
    Int64 Read;        // bytes of the file
    uint32_t Crc;      // of the file's bytes
  };
  // Writes the file's data from its start, stored or deflated (and encrypted
  // with a Password); the entry's method and flags say which.
  TEntryData WriteEntryData(TWriteRun& Run, TStream& Source, const String& Line, Int64 Size, TZipHeaderInfo& Entry,
                            bool Store);
  void Append(TWriteRun& Run, std::unique_ptr<TZipHeaderInfo> Entry);
  void WriteDirectory(TWriteRun& Run);
  // With a Password: reads Source once for its CRC, writes the encryption
  // header to Archive and returns the sink that encrypts the data (ZipCryptComponents.cpp).
  std::unique_ptr<TByteSink> EncryptingSink(TStream& Source, TByteSink& Archive, TZipHeaderInfo& Entry);

  Integer FPackLevel = 6;
  bool FRecurse = false;
  bool FDispose = false;
  bool FStorePaths = false;
  bool FRelativePaths = false;
  bool FStoreVolumes = false;
  TZipAction FZipAction = zaUpdate;
  std::unique_ptr<TStringList> FExcludeList;
  std::unique_ptr<TStringList> FNoCompressList;
  bool FAddDirEntriesOnRecurse = false;
  std::unique_ptr<TDeflater> FDeflater;
  std::unique_ptr<TMultiZipInfo> FMultiZipInfo = std::make_unique<TMultiZipInfo>();
};
