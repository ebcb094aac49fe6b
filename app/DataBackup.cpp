#include "app/DataBackup.h"
#include "app/PayrollDatabase.h"
#include "platform/db/ADODB.h"
#include "platform/rtl/Files.h"
#include "zip/ZipErrors.h"
#include "zip/ZipWriter.h"
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sqlite3.h>
#include <sys/stat.h>
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
  QFile File(Source);
  if (!File.copy(Target))
    throw EDataBackupError(QStringLiteral("Cannot copy \"%1\" for the backup: %2").arg(Source, File.errorString()));
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
  if (rc != SQLITE_OK) {
    Reason = Copy ? String::fromUtf8(sqlite3_errmsg(Copy)) : String::fromUtf8(sqlite3_errstr(rc));
    // SQLite calls a failed write an I/O error; the system knows which one.
    if (const int Errno = Copy ? sqlite3_system_errno(Copy) : 0)
      Reason += QStringLiteral(" (%1)").arg(String::fromLocal8Bit(std::strerror(Errno)));
  }
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

// Reads the directory of the archive just written back: every staged file
// must be in it, under a name that a restore accepts.
void CheckArchiveHolds(const String& ArchiveName, const QStringList& Files, const String& Data) {
  TZipReader Reader;
  Reader.SetZipName(ArchiveName);
  QStringList Paths;
  try {
    Paths = Reader.EntryPaths();
  } catch (const EUnsafeZipEntry& E) {
    throw EDataBackupError(QStringLiteral("The archive \"%1\" could not be restored: %2").arg(ArchiveName, E.Message()));
  }
  const QSet<String> Stored(Paths.begin(), Paths.end());
  for (const String& File : Files)
    if (!Stored.contains(File))
      throw EDataBackupError(QStringLiteral("\"%1\" is missing from the archive \"%2\"").arg(Data + u'/' + File, ArchiveName));
}

// The fixed names of a swap of the data folder, beside it: a complete,
// checked restore waiting to be put in place, and the old data moved aside.
String RestoredFolder(const String& Data) { return QFileInfo(Data).absolutePath() + QStringLiteral("/db-restored"); }
String PreviousFolder(const String& Data) { return QFileInfo(Data).absolutePath() + QStringLiteral("/db-previous"); }

// The file a restore puts into the restored folder before it becomes the
// data folder and removes only once the old data is gone: it proves that the
// data moved aside was replaced by a complete restore. Without it, a data
// folder beside the old data may be one made empty in its place, and the
// old data is the only copy.
const char* const RestoredMarker = ".restore-complete";
String RestoredMarkerOf(const String& Folder) { return Folder + u'/' + QLatin1String(RestoredMarker); }

void WriteRestoredMarker(const String& Folder) {
  QFile Marker(RestoredMarkerOf(Folder));
  if (!Marker.open(QIODevice::WriteOnly) || !Marker.flush())
    throw EDataBackupError(QStringLiteral("Cannot write \"%1\": %2").arg(Marker.fileName(), Marker.errorString()));
}

void Announce(const TRestoreStepEvent& OnStep, TRestoreStep Step) {
  if (OnStep) OnStep(Step);
}

// Removes the old data of a restore known to be complete, then its marker.
void FinishRestore(const String& Data, const String& Previous, const TRestoreStepEvent& OnStep = nullptr) {
  if (!QDir(Previous).removeRecursively()) return;
  Announce(OnStep, rsOldDataRemoved);
  QFile::remove(RestoredMarkerOf(Data));
  Announce(OnStep, rsFinished);
}

void RenameFolder(const String& From, const String& To) {
  if (std::rename(QFile::encodeName(From).constData(), QFile::encodeName(To).constData()) != 0)
    throw EDataBackupError(QStringLiteral("Cannot rename \"%1\" to \"%2\": %3")
                               .arg(From, To, String::fromLocal8Bit(std::strerror(errno))));
}

// A work folder starts private to its owner; the folder that becomes the
// data folder takes the old one's mode, or a new folder's when there was none.
void KeepFolderMode(const String& Old, const String& Restored) {
  struct stat Info {};
  mode_t Mode;
  if (::stat(QFile::encodeName(Old).constData(), &Info) == 0) {
    Mode = Info.st_mode & 07777;
  } else {
    const mode_t Mask = ::umask(0);
    ::umask(Mask);
    Mode = 0777 & ~Mask;
  }
  if (::chmod(QFile::encodeName(Restored).constData(), Mode) != 0)
    throw EDataBackupError(QStringLiteral("Cannot set the mode of \"%1\": %2")
                               .arg(Restored, String::fromLocal8Bit(std::strerror(errno))));
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
    if (File != Database && !IsDatabaseCompanion(File, Database) && File != QLatin1String(RestoredMarker))
      LinkOrCopy(Data + u'/' + File, Staging->filePath(File));
  SnapshotDatabase(Connection, Staging->filePath(Database));
  const QStringList Staged = FilesUnder(Staging->path());

  ForceDirectories(QFileInfo(ArchiveName).absolutePath());
  TZipWriter Writer;
  Writer.SetZipName(ArchiveName);
  Writer.SetRelativePaths(true);
  // The archive of the day takes the current files, whatever their times say.
  Writer.SetZipAction(zaReplace);
  Writer.SetRootDir(Staging->path());
  // The writer would leave such a file out and go on; a restore of that
  // archive would then delete it.
  Writer.OnSkippingFile = [&](TObject*, TSkipReason Reason, const String& FName, Integer, bool&) {
    const String Original = Data + u'/' + QDir(Staging->path()).relativeFilePath(FName);
    if (Reason != srFileOpenError)
      throw EDataBackupError(QStringLiteral("\"%1\" cannot be stored in the archive").arg(Original));
    QFile Probe(FName);
    Probe.open(QIODevice::ReadOnly);
    throw EDataBackupError(QStringLiteral("Cannot read \"%1\": %2").arg(Original, Probe.errorString()));
  };
  Writer.FilesList()->Clear();
  Writer.FilesList()->Add(QStringLiteral("*.*"));
  Writer.CompressFiles();
  CheckArchiveHolds(ArchiveName, Staged, Data);
}

void RestoreDataFolder(TADOConnection& Connection, const String& AppPath, const String& ArchiveName,
                       const TRestoreStepEvent& OnStep) {
  const String Data = DataFolder(AppPath);
  const String Restored = RestoredFolder(Data);
  const String Previous = PreviousFolder(Data);
  // Either may hold the only copy of the data; start-up settles them, or
  // keeps old data it cannot prove replaced for the user to look at.
  for (const String& Left : {Restored, Previous})
    if (QFileInfo::exists(Left))
      throw EDataBackupError(QStringLiteral("\"%1\" is left from a restore that did not finish; start the program "
                                            "again, or move it elsewhere if it is still there after a start")
                                 .arg(Left));

  const auto Extracted = WorkFolderBeside(Data, "db-restore");
  TZipReader Reader;
  Reader.ResetArchive();
  Reader.SetZipName(ArchiveName);
  Reader.SetOverwriteMode(TUZOverwriteMode::Always);
  Reader.SetRecreateDirs(true);
  Reader.SetDoAll(true);
  Reader.SetDestDir(Extracted->path());
  Reader.ReadZip();
  const Integer Entries = Reader.Count();
  const Integer Done = Reader.ExtractFiles();
  if (Done != Entries)
    throw EDataBackupError(
        QStringLiteral("Only %1 of the %2 entries of the archive could be extracted").arg(Done).arg(Entries));
  {
    TADOConnection Check;
    Check.SetConnectionString(QStringLiteral("Data Source=") + DatabaseFileOfFolder(Extracted->path()));
    Check.Open();
    CheckPayrollDatabase(Check);
  }
  KeepFolderMode(Data, Extracted->path());
  WriteRestoredMarker(Extracted->path());
  Announce(OnStep, rsExtracted);

  // From here on a rename is the only step between two states that start-up
  // knows how to finish or undo.
  RenameFolder(Extracted->path(), Restored);
  Extracted->setAutoRemove(false);
  Announce(OnStep, rsStaged);
  Connection.Close();
  if (QFileInfo::exists(Data)) {
    try {
      RenameFolder(Data, Previous);
    } catch (const Exception&) {
      QDir(Restored).removeRecursively();
      throw;
    }
  }
  Announce(OnStep, rsMovedAside);
  try {
    RenameFolder(Restored, Data);
  } catch (const Exception&) {
    if (QFileInfo::exists(Previous)) RenameFolder(Previous, Data);
    throw;
  }
  Announce(OnStep, rsSwapped);
  FinishRestore(Data, Previous, OnStep);
}

String RecoverDataFolder(const String& AppPath) {
  const String Data = DataFolder(AppPath);
  const String Restored = RestoredFolder(Data);
  const String Previous = PreviousFolder(Data);
  if (!QFileInfo::exists(Data)) {
    // A restore was cut after the old data went aside: a complete restored
    // folder takes its place, else the old data comes back.
    if (QFileInfo(Restored).isDir()) RenameFolder(Restored, Data);
    else if (QFileInfo(Previous).isDir()) RenameFolder(Previous, Data);
  }
  if (!QFileInfo(Data).isDir()) return String();
  // Old data moved aside goes only when the data folder is proved to be the
  // restore that replaced it.
  String Kept;
  if (QFileInfo::exists(RestoredMarkerOf(Data))) FinishRestore(Data, Previous);
  else if (QFileInfo::exists(Previous)) Kept = Previous;
  // With the data folder in place the rest are copies: a restore that never
  // got swapped in (its archive is still there) and the work folders of cut
  // backups and restores.
  QStringList Redundant{Restored};
  const QDir Parent(QFileInfo(Data).absolutePath());
  for (const String& Name : Parent.entryList({QStringLiteral("db-restore-*"), QStringLiteral("db-backup-*")},
                                             QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot))
    Redundant << Parent.filePath(Name);
  for (const String& Folder : Redundant) QDir(Folder).removeRecursively();
  return Kept;
}
