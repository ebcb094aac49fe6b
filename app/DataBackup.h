#pragma once
// Backup archives of the payroll data: every file under the data folder "db"
// of the program folder, stored with its path relative to that folder.
#include "platform/rtl/SysUtils.h"
#include <functional>

class TADOConnection;

MOLI_DECLARE_EXCEPTION(EDataBackupError, Exception)

// The data folder under AppPath, as it is spelled on disk.
String DataFolder(const String& AppPath);

// Adds every file under the data folder of AppPath to ArchiveName, creating
// the archive or updating it. The database of Connection goes in as a
// snapshot taken through SQLite's backup API, so the archive holds a
// consistent copy even while the program keeps it open. A file that cannot
// be read fails the backup, named in the error, and the archive is read back
// before the backup counts as made: every file must be in it under a name a
// restore accepts. Raises on failure.
void BackupDataFolder(TADOConnection& Connection, const String& AppPath, const String& ArchiveName);

// The points a restore passes once its data is complete beside the data
// folder: extracted into a work folder, renamed to the fixed name of a
// complete restore, the old data folder moved aside to its fixed name, the
// restored folder in its place, the old data removed, the restore's mark of
// completion removed.
enum TRestoreStep { rsExtracted, rsStaged, rsMovedAside, rsSwapped, rsOldDataRemoved, rsFinished };
using TRestoreStepEvent = std::function<void(TRestoreStep Step)>;

// Replaces the data folder of AppPath by the content of ArchiveName: the
// archive is extracted into a work folder beside the data folder, every
// entry must come out and the database in it must pass its check; only then
// is Connection closed and the folders swapped by renames, each step
// announced to OnStep. The new data folder takes the old one's mode. Raises
// EDataBackupError (or the archive's own error) and leaves the data folder
// as it was on any failure before the swap; a process that ends anywhere in
// it leaves folders that RecoverDataFolder puts right.
void RestoreDataFolder(TADOConnection& Connection, const String& AppPath, const String& ArchiveName,
                       const TRestoreStepEvent& OnStep = nullptr);

// Run at start-up before the database is opened: finishes a restore whose
// old data folder was already moved aside, undoes one that had not got that
// far, and removes the work folders of cut backups and restores once the
// data folder is in place. Old data beside a data folder that is not proved
// to be a complete restore is never removed: its folder is returned for the
// user to check (empty when there is none). Raises EDataBackupError when a
// folder cannot be renamed; the data is then left where it is.
String RecoverDataFolder(const String& AppPath);
