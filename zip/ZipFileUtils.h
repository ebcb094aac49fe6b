#pragma once
// File-system services of the archive components: MS-DOS date-times, file
// replacement, temporary names and the progress percentage.
#include "platform/rtl/SysUtils.h"
#include <cstdint>

// Keeps every part of an MS-DOS date-time (time in the low word, date in the
// high word) in range: hours 0-23, minutes 0-59, seconds 0-58, years
// 1980-2099, months 1-12, days 1-31. A value in range comes back unchanged.
uint32_t ClampDosDateTime(uint32_t Value);
// False when the value names no real day (31 February) even after the clamp.
bool DosDateTimeToDateTime(uint32_t Value, TDateTime& Result);
uint32_t DateTimeToDosDateTime(TDateTime Value);

// The file's (or folder's) modification time in local MS-DOS form, clamped;
// the current time when the file cannot be found.
uint32_t FileDosDateTime(const String& Name);
bool SetFileDosDateTime(const String& Name, uint32_t Value);

// Replaces Target by Source: a rename where the file system allows it, else
// a copy through a temporary file beside Target that is renamed over it, so
// Target is never left half written. Source is gone afterwards. Raises
// EFCreateError or EWriteError and leaves Target as it was on failure.
void MoveOrCopyFile(const String& Source, const String& Target);

// A new empty file with a unique name starting "ZTP" in Folder.
String TempFileName(const String& Folder);

// A new file in Folder that has no name until Commit, so that a process
// killed half-way leaves nothing behind. Where the file system cannot hold
// such a file, it gets a temporary name at once instead. Either way it is
// created for the owner only and is gone unless committed.
class TPendingFile {
public:
  // Raises EFCreateError.
  explicit TPendingFile(const String& Folder);
  ~TPendingFile();
  TPendingFile(const TPendingFile&) = delete;
  TPendingFile& operator=(const TPendingFile&) = delete;
  // A name to open, date and chmod the file by while it is pending.
  const String& Path() const { return FPath; }
  // Gives the file the name Target, replacing any file of that name in one
  // step. Raises EFCreateError and stays pending when that fails.
  void Commit(const String& Target);
private:
  String FFolder;
  String FPath;
  int FHandle = -1;
  bool FCommitted = false;
};

// The system's message for the last failed call.
String SystemErrorText();

// Raises ENotEnoughRoom for an archive write that just came up short, with
// the system's reason (a full disk, a file size limit), so the user learns
// what to free or change.
[[noreturn]] void RaiseNotEnoughRoom();

// min(100, Done × 100 ÷ Total) rounded half to even; 0 when Total ≤ 0.
Integer Percent64(Int64 Total, Int64 Done);

// Joins a folder and a name with one '/' between them.
String JoinPath(const String& Folder, const String& Name);
