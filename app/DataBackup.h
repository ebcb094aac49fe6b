#pragma once
// Backup archives of the payroll data: every file under the data folder "db"
// of the program folder, stored with its path relative to that folder.
#include "platform/rtl/SysUtils.h"

class TADOConnection;

MOLI_DECLARE_EXCEPTION(EDataBackupError, Exception)

// The data folder under AppPath, as it is spelled on disk.
String DataFolder(const String& AppPath);

// Adds every file under the data folder of AppPath to ArchiveName, creating
// the archive or updating it. The database of Connection goes in as a
// snapshot taken through SQLite's backup API, so the archive holds a
// consistent copy even while the program keeps it open. Raises on failure.
void BackupDataFolder(TADOConnection& Connection, const String& AppPath, const String& ArchiveName);

// Replaces the data folder of AppPath by the content of ArchiveName: the
// archive is extracted into a temporary folder beside the data folder, every
// entry must come out and the database in it must open; only then is
// Connection closed and the folders swapped. Raises EDataBackupError (or the
// archive's own error) and leaves the data folder as it was on any failure
// before the swap.
void RestoreDataFolder(TADOConnection& Connection, const String& AppPath, const String& ArchiveName);
