#include "app/DataBackup.h"
#include "app/PayrollDatabase.h"
#include "platform/db/ADODB.h"
#include "platform/rtl/Files.h"
#include "zip/ZipWriter.h"
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QTemporaryDir>
#include <sqlite3.h>
#include <unistd.h>

namespace {

// SQLite's companions of a database file; they are never archived.
bool IsDatabaseCompanion(const String& FileName, const String& Database) {
  for (const char* Suffix : {"-journal", "-wal", "-shm", ".new"})
    if (FileName == Database + QLatin1String(Suffix)) return true;
  return false;
}

// A folder named after Stem beside the data folder (so renames stay on one
// file system), removed with its content when the object goes.
std::unique_ptr<QTemporaryDir> WorkFolderBeside(const String& Folder, const char* Stem) {
  auto Work = std::make_unique<QTemporaryDir>(QFileInfo(Folder).absolutePath() + u'/' + QLatin1String(Stem) +
                                              QStringLiteral("-XXXXXX"));
  if (!Work->isValid())
    throw EDataBackupError(
        QStringLiteral("Cannot create a work folder beside \"%1\": %2").arg(Folder, Work->errorString()));
  return Work;
}

// Makes Target the same file as Source without copying where the file
// system allows (a hard link), else copies it.
void LinkOrCopy(const String& Source, const String& Target) {
  ForceDirectories(QFileInfo(Target).absolutePath());
  if (::link(QFile::encodeName(Source).constData(), QFile::encodeName(Target).constData()) == 0) return;
  if (!QFile::copy(Source, Target))
    throw EDataBackupError(QStringLiteral("Cannot copy \"%1\" for the backup").arg(Source));
}

void SnapshotDatabase(TADOConnection& Connection, const String& Target) {
  ForceDirectories(QFileInfo(Target).absolutePath());
  sqlite3* Copy = nullptr;
  int rc = sqlite3_open_v2(Target.toUtf8().constData(), &Copy, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  String Reason;
  if (rc == SQLITE_OK) {
    if (sqlite3_backup* Backup = sqlite3_backup_init(Copy, "main", Connection.Database().Handle(), "main")) {
      sqlite3_backup_step(Backup, -1);
      sqlite3_backup_finish(Backup);
    }
    rc = sqlite3_errcode(Copy);
  }
  if (rc != SQLITE_OK) Reason = Copy ? String::fromUtf8(sqlite3_errmsg(Copy)) : String::fromUtf8(sqlite3_errstr(rc));
  sqlite3_close(Copy);
  if (!Reason.isEmpty())
    throw EDataBackupError(QStringLiteral("Cannot take a snapshot of the database: %1").arg(Reason));
}

// Every file under Folder, as paths relative to it.
QStringList FilesUnder(const String& Folder) {
  QStringList Files;
  QDirIterator It(Folder, QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                  QDirIterator::Subdirectories);
  const QDir Base(Folder);
  while (It.hasNext()) Files << Base.relativeFilePath(It.next());
  return Files;
}

}  // namespace

String DataFolder(const String& AppPath) {
  String Folder = ResolvePath(AppPath, QStringLiteral("db"));
  while (Folder.endsWith(u'/')) Folder.chop(1);
  return Folder;
}

void BackupDataFolder(TADOConnection& Connection, const String& AppPath, const String& ArchiveName) {
  const String Data = DataFolder(AppPath);
  const String Database = QDir(Data).relativeFilePath(DatabaseFileOfFolder(Data));
  if (!QFileInfo(Data).isDir()) throw EDataBackupError(QStringLiteral("The data folder \"%1\" is missing").arg(Data));
  const auto Staging = WorkFolderBeside(Data, "db-backup");
  for (const String& File : FilesUnder(Data))
    if (File != Database && !IsDatabaseCompanion(File, Database))
      LinkOrCopy(Data + u'/' + File, Staging->filePath(File));
  SnapshotDatabase(Connection, Staging->filePath(Database));

  ForceDirectories(QFileInfo(ArchiveName).absolutePath());
  TZipWriter Writer;
  Writer.SetZipName(ArchiveName);
  Writer.SetRelativePaths(true);
  // The archive of the day takes the current files, whatever their times say.
  Writer.SetZipAction(zaReplace);
  Writer.SetRootDir(Staging->path());
  Writer.FilesList()->Clear();
  Writer.FilesList()->Add(QStringLiteral("*.*"));
  Writer.CompressFiles();
}

void RestoreDataFolder(TADOConnection& Connection, const String& AppPath, const String& ArchiveName) {
  const String Data = DataFolder(AppPath);
  const auto Restored = WorkFolderBeside(Data, "db-restore");
  TZipReader Reader;
  Reader.ResetArchive();
  Reader.SetZipName(ArchiveName);
  Reader.SetOverwriteMode(TUZOverwriteMode::Always);
  Reader.SetRecreateDirs(true);
  Reader.SetDoAll(true);
  Reader.SetDestDir(Restored->path());
  Reader.ReadZip();
  const Integer Entries = Reader.Count();
  const Integer Extracted = Reader.ExtractFiles();
  if (Extracted != Entries)
    throw EDataBackupError(
        QStringLiteral("Only %1 of the %2 entries of the archive could be extracted").arg(Extracted).arg(Entries));
  {
    TADOConnection Check;
    Check.SetConnectionString(QStringLiteral("Data Source=") + DatabaseFileOfFolder(Restored->path()));
    Check.ExecuteSql(QStringLiteral("select count(*) from TPara"));
  }

  // The old folder stays under another name until the new one is in place.
  Connection.Close();
  const String Previous = Data + QStringLiteral("-previous");
  QDir(Previous).removeRecursively();
  if (QFileInfo::exists(Data) && !QDir().rename(Data, Previous))
    throw EDataBackupError(QStringLiteral("Cannot move the data folder \"%1\" aside").arg(Data));
  if (!QDir().rename(Restored->path(), Data)) {
    QDir().rename(Previous, Data);
    throw EDataBackupError(QStringLiteral("Cannot put the restored data in place of \"%1\"").arg(Data));
  }
  Restored->setAutoRemove(false);
  QDir(Previous).removeRecursively();
}
