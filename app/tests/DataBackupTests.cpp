#include "app/DataBackup.h"
#include "app/PayrollDatabase.h"
#include "app/ProcessSignals.h"
#include "app/tests/MessageRecorder.h"
#include "app/tests/TestDataModule.h"
#include "app/tests/WithoutFileAccessOverride.h"
#include "zip/ZipWriter.h"
#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

namespace {

void WriteFile(const String& Path, const QByteArray& Bytes) {
  QDir().mkpath(QFileInfo(Path).absolutePath());
  QFile File(Path);
  ASSERT_TRUE(File.open(QIODevice::WriteOnly)) << Path.toStdString();
  File.write(Bytes);
}

QByteArray ReadFile(const String& Path) {
  QFile File(Path);
  return File.open(QIODevice::ReadOnly) ? File.readAll() : QByteArray();
}

// The entry names as Info-ZIP lists them, after its own test of the archive passed.
QStringList EntryNames(const String& Archive) {
  QProcess Test;
  Test.start(QStringLiteral("unzip"), {QStringLiteral("-tq"), Archive});
  Test.waitForFinished();
  EXPECT_EQ(Test.exitCode(), 0) << Test.readAllStandardOutput().toStdString();
  QProcess List;
  List.start(QStringLiteral("unzip"), {QStringLiteral("-Z1"), Archive});
  List.waitForFinished();
  QStringList Names = QString::fromUtf8(List.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
  Names.sort();
  return Names;
}

mode_t ModeOf(const String& Path) {
  struct stat Info {};
  return ::stat(QFile::encodeName(Path).constData(), &Info) == 0 ? Info.st_mode & 07777 : 0;
}

// Mounts a fresh file system of Bytes on Folder, seen by this process only;
// false where the machine does not allow it.
bool MountSmallDisk(const String& Folder, int Bytes) {
  return ::unshare(CLONE_NEWNS) == 0 && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
         ::mount("tmpfs", QFile::encodeName(Folder).constData(), "tmpfs", 0,
                 QStringLiteral("size=%1").arg(Bytes).toLatin1().constData()) == 0;
}

bool SmallDisksCanBeMounted(const String& Folder) {
  const pid_t Child = ::fork();
  if (Child == 0) ::_exit(MountSmallDisk(Folder, 65536) ? 0 : 1);
  int Status = 0;
  return Child > 0 && ::waitpid(Child, &Status, 0) == Child && WIFEXITED(Status) && WEXITSTATUS(Status) == 0;
}

class DataBackupTest : public ::testing::Test {
protected:
  String AppPath() const { return Settings().GAppPath; }
  String Months() { return DM->GetDataBySQL(QStringLiteral("select group_concat(GZMonth, ',') from TGZMonth")); }
  void AddMonth(const char* Month) {
    DM->ADOLocal->ExecuteSql(QStringLiteral("insert into TGZMonth (GZMonth) values ('%1')").arg(QLatin1String(Month)));
  }
  // Records with random bytes, so that the database is larger than Bytes and
  // does not compress below it.
  void AddRecordsOfAtLeast(int Bytes) {
    DM->ADOLocal->ExecuteSql(QStringLiteral("with recursive n(i) as (select 1 union all select i + 1 from n where i < %1) "
                                            "insert into TGZ (GZMonth, EmpName, QM) select '202401', 'e' || i, "
                                            "randomblob(200) from n")
                                 .arg(Bytes / 200 + 1));
  }
  QStringList FoldersBesideTheData() const {
    return QDir(AppPath()).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
  }
  // What a backup of the data leaves when it fails in a child process: the
  // child prints the reason and ends with 0 when the reason holds Expected
  // and no work folder is left.
  void BackupInChildFails(const String& ArchiveName, int Expected) {
    try {
      // The child's own connection: one opened before the fork is not the child's to use.
      DM->ADOLocal->Close();
      DM->ADOLocal->Open();
      BackupDataFolder(*DM->ADOLocal, AppPath(), ArchiveName);
    } catch (const Exception& E) {
      std::fprintf(stderr, "%s\n", E.Message().toLocal8Bit().constData());
      const bool Named = E.Message().contains(String::fromLocal8Bit(std::strerror(Expected)));
      ::_exit(Named && !E.Message().contains(QStringLiteral("Seek error")) &&
                      FoldersBesideTheData().filter(QStringLiteral("db-backup")).isEmpty()
                  ? 0
                  : 4);
    }
    ::_exit(5);
  }
  TMessageRecorder Messages;
  TTestDataModule Module;
  String Archive = Module.Folder().File(QStringLiteral("Bak/20240131.GZBK"));
};

TEST_F(DataBackupTest, BackupThenRestoreBringsTheDataFolderBack) {
  AddMonth("202401");
  WriteFile(AppPath() + QStringLiteral("db/ContractFile/a/合同.txt"), "contract");
  BackupDataFolder(*DM->ADOLocal, AppPath(), Archive);
  EXPECT_EQ(EntryNames(Archive), (QStringList{QStringLiteral("ContractFile/a/合同.txt"), QStringLiteral("VIRE.dat")}));

  AddMonth("202402");
  WriteFile(AppPath() + QStringLiteral("db/ContractFile/a/合同.txt"), "changed");
  WriteFile(AppPath() + QStringLiteral("db/new.txt"), "new");
  RestoreDataFolder(*DM->ADOLocal, AppPath(), Archive);

  EXPECT_FALSE(DM->ADOLocal->Connected());
  EXPECT_EQ(Months(), QStringLiteral("202401"));
  EXPECT_EQ(ReadFile(AppPath() + QStringLiteral("db/ContractFile/a/合同.txt")), QByteArray("contract"));
  EXPECT_FALSE(QFile::exists(AppPath() + QStringLiteral("db/new.txt")));
  // Nothing of the work folders is left beside the data folder.
  EXPECT_EQ(QDir(AppPath()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), (QStringList{QStringLiteral("Bak"),
                                                                                        QStringLiteral("db")}));
}

TEST_F(DataBackupTest, ASecondBackupOfTheDayUpdatesTheSameArchive) {
  AddMonth("202401");
  BackupDataFolder(*DM->ADOLocal, AppPath(), Archive);
  AddMonth("202402");
  WriteFile(AppPath() + QStringLiteral("db/ModelFiles/m.xls"), "model");
  BackupDataFolder(*DM->ADOLocal, AppPath(), Archive);
  EXPECT_EQ(EntryNames(Archive), (QStringList{QStringLiteral("ModelFiles/m.xls"), QStringLiteral("VIRE.dat")}));

  AddMonth("202403");
  RestoreDataFolder(*DM->ADOLocal, AppPath(), Archive);
  EXPECT_EQ(Months(), QStringLiteral("202401,202402"));
}

TEST_F(DataBackupTest, ADamagedOrForeignArchiveLeavesTheDataAsItWas) {
  AddMonth("202401");
  BackupDataFolder(*DM->ADOLocal, AppPath(), Archive);
  const QByteArray Whole = ReadFile(Archive);
  AddMonth("202402");

  const String Broken = Module.Folder().File(QStringLiteral("broken.GZBK"));
  for (const QByteArray& Content : {Whole.left(Whole.size() / 2), Whole.left(Whole.size() - 30),
                                    QByteArray("not an archive at all"), QByteArray()}) {
    WriteFile(Broken, Content);
    EXPECT_ANY_THROW(RestoreDataFolder(*DM->ADOLocal, AppPath(), Broken)) << Content.size();
    EXPECT_TRUE(DM->ADOLocal->Connected());
    EXPECT_EQ(Months(), QStringLiteral("202401,202402"));
  }
  EXPECT_EQ(QDir(AppPath()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
            (QStringList{QStringLiteral("Bak"), QStringLiteral("db")}));
}

TEST_F(DataBackupTest, AnArchiveWithoutAPayrollDatabaseIsRefused) {
  const String Other = Module.Folder().File(QStringLiteral("other"));
  WriteFile(Other + QStringLiteral("/VIRE.dat"), "plain text, no database");
  QDir().mkpath(QFileInfo(Archive).absolutePath());
  TZipWriter Writer;
  Writer.SetZipName(Archive);
  Writer.SetRelativePaths(true);
  Writer.SetRootDir(Other);
  Writer.FilesList()->Add(QStringLiteral("*.*"));
  ASSERT_EQ(Writer.CompressFiles(), 1);
  AddMonth("202401");
  EXPECT_THROW(RestoreDataFolder(*DM->ADOLocal, AppPath(), Archive), Exception);
  EXPECT_EQ(Months(), QStringLiteral("202401"));
}

TEST_F(DataBackupTest, ARestoreCutAtAnyStepLeavesOldOrRestoredDataWholeAfterTheNextStart) {
  const String Contract = AppPath() + QStringLiteral("db/ContractFile/合同.txt");
  AddMonth("202401");
  WriteFile(Contract, "restored");
  BackupDataFolder(*DM->ADOLocal, AppPath(), Archive);
  // Cut in the middle of removing the old data, the old folder is left in part.
  const String OldDatabase = AppPath() + QStringLiteral("db-previous/VIRE.dat");
  struct Case { TRestoreStep step; bool oldDataPartlyRemoved; const char* months; const char* contract; };
  for (const Case& c : std::initializer_list<Case>{{rsExtracted, false, "202401,202402", "old"},
                                                   {rsStaged, false, "202401,202402", "old"},
                                                   {rsMovedAside, false, "202401", "restored"},
                                                   {rsSwapped, false, "202401", "restored"},
                                                   {rsSwapped, true, "202401", "restored"},
                                                   {rsOldDataRemoved, false, "202401", "restored"},
                                                   {rsFinished, false, "202401", "restored"}}) {
    if (Months() == QStringLiteral("202401")) AddMonth("202402");
    WriteFile(Contract, "old");
    WriteFile(AppPath() + QStringLiteral("db-backup-Q1w2E3/VIRE.dat"), "what a cut backup left");
    EXPECT_EXIT(RestoreDataFolder(*DM->ADOLocal, AppPath(), Archive,
                                  [&](TRestoreStep Step) {
                                    if (Step != c.step) return;
                                    if (c.oldDataPartlyRemoved && !QFile::remove(OldDatabase)) ::_exit(8);
                                    ::_exit(7);
                                  }),
                ::testing::ExitedWithCode(7), "")
        << c.step;

    // The next start.
    DM->ADOLocal->Close();
    DM->DataModuleCreate();
    EXPECT_EQ(Messages.Messages(), QStringList()) << c.step;
    EXPECT_EQ(Months(), QString::fromLatin1(c.months)) << c.step;
    EXPECT_EQ(ReadFile(Contract), QByteArray(c.contract)) << c.step;
    EXPECT_EQ(FoldersBesideTheData(), (QStringList{QStringLiteral("Bak"), QStringLiteral("db")})) << c.step;
    // Nothing of the restore's own bookkeeping stays in the data folder.
    EXPECT_EQ(QDir(AppPath() + QStringLiteral("db")).entryList({QStringLiteral(".*")}, QDir::Files | QDir::Hidden),
              QStringList()) << c.step;
  }
}

TEST_F(DataBackupTest, OldDataBesideADataFolderNotProvedRestoredIsKeptAndReported) {
  AddMonth("202401");
  DM->ADOLocal->Close();
  const QByteArray Records = ReadFile(AppPath() + QStringLiteral("db/VIRE.dat"));
  // What an earlier build left when cut between its renames and started again:
  // the records aside, an empty database in their place.
  ASSERT_TRUE(QDir().rename(AppPath() + QStringLiteral("db"), AppPath() + QStringLiteral("db-previous")));
  CreatePayrollDatabase(DatabaseFileName(AppPath()));

  DM->DataModuleCreate();
  EXPECT_EQ(ReadFile(AppPath() + QStringLiteral("db-previous/VIRE.dat")), Records);
  ASSERT_EQ(Messages.Messages().size(), 1);
  EXPECT_TRUE(Messages.Messages()[0].contains(QDir::toNativeSeparators(AppPath() + QStringLiteral("db-previous"))))
      << Messages.Messages()[0].toStdString();
  EXPECT_EQ(Months(), QString());
}

TEST_F(DataBackupTest, StartUpNeverMakesAnEmptyDatabaseInPlaceOfDataMovedAside) {
  AddMonth("202401");
  BackupDataFolder(*DM->ADOLocal, AppPath(), Archive);
  AddMonth("202402");
  DM->ADOLocal->Close();
  // Only the old data is left, aside: a restore must not touch it, and the next start puts it back.
  ASSERT_TRUE(QDir().rename(AppPath() + QStringLiteral("db"), AppPath() + QStringLiteral("db-previous")));
  EXPECT_THROW(RestoreDataFolder(*DM->ADOLocal, AppPath(), Archive), EDataBackupError);
  EXPECT_TRUE(QFile::exists(AppPath() + QStringLiteral("db-previous/VIRE.dat")));
  DM->DataModuleCreate();
  EXPECT_EQ(Months(), QStringLiteral("202401,202402"));
  EXPECT_EQ(FoldersBesideTheData(), (QStringList{QStringLiteral("Bak"), QStringLiteral("db")}));
}

TEST_F(DataBackupTest, TheRestoredDataFolderKeepsTheOldFoldersMode) {
  BackupDataFolder(*DM->ADOLocal, AppPath(), Archive);
  for (const mode_t Mode : {mode_t(0750), mode_t(0775)}) {
    ASSERT_EQ(::chmod(QFile::encodeName(AppPath() + QStringLiteral("db")).constData(), Mode), 0);
    RestoreDataFolder(*DM->ADOLocal, AppPath(), Archive);
    EXPECT_EQ(ModeOf(AppPath() + QStringLiteral("db")), Mode);
  }
}

TEST_F(DataBackupTest, AFileThatCannotBeReadFailsTheBackupByName) {
  const String Secret = AppPath() + QStringLiteral("db/ContractFile/合同.txt");
  WriteFile(Secret, "contract");
  BackupDataFolder(*DM->ADOLocal, AppPath(), Archive);
  const QByteArray Made = ReadFile(Archive);
  WriteFile(Secret, "changed");
  ASSERT_TRUE(QFile::setPermissions(Secret, QFile::Permissions()));
  try {
    const TWithoutFileAccessOverride NoOverride;
    BackupDataFolder(*DM->ADOLocal, AppPath(), Archive);
    ADD_FAILURE() << "the backup reported success";
  } catch (const EDataBackupError& E) {
    EXPECT_TRUE(E.Message().contains(Secret)) << E.Message().toStdString();
  }
  EXPECT_EQ(ReadFile(Archive), Made);  // the archive of the day stays as it was
  EXPECT_EQ(FoldersBesideTheData(), (QStringList{QStringLiteral("Bak"), QStringLiteral("db")}));
}

TEST_F(DataBackupTest, NamesWithAColonAreRestoredAndADriveLetterPrefixFailsTheBackup) {
  for (const char* Name : {"12:30.txt", "ContractFile/会议:记录/a:b.txt", "ModelFiles/C:x.xls"})
    WriteFile(AppPath() + QStringLiteral("db/") + QString::fromUtf8(Name), Name);
  BackupDataFolder(*DM->ADOLocal, AppPath(), Archive);
  for (const char* Name : {"12:30.txt", "ContractFile/会议:记录/a:b.txt", "ModelFiles/C:x.xls"})
    QFile::remove(AppPath() + QStringLiteral("db/") + QString::fromUtf8(Name));
  RestoreDataFolder(*DM->ADOLocal, AppPath(), Archive);
  for (const char* Name : {"12:30.txt", "ContractFile/会议:记录/a:b.txt", "ModelFiles/C:x.xls"})
    EXPECT_EQ(ReadFile(AppPath() + QStringLiteral("db/") + QString::fromUtf8(Name)), QByteArray(Name)) << Name;

  // Such a name at the top would read as a drive on restore: the backup says so.
  DM->ADOLocal->Open();
  WriteFile(AppPath() + QStringLiteral("db/a:b.txt"), "top");
  const String Other = Module.Folder().File(QStringLiteral("Bak/other.GZBK"));
  try {
    BackupDataFolder(*DM->ADOLocal, AppPath(), Other);
    ADD_FAILURE() << "the backup reported success";
  } catch (const EDataBackupError& E) {
    EXPECT_TRUE(E.Message().contains(QStringLiteral("a:b.txt"))) << E.Message().toStdString();
  }
}

TEST_F(DataBackupTest, AFullDiskIsReportedWithTheSystemsReason) {
  const String Disk = Module.Folder().File(QStringLiteral("usb"));
  QDir().mkpath(Disk);
  if (!SmallDisksCanBeMounted(Disk)) GTEST_SKIP() << "this machine mounts no file system for a test";
  AddRecordsOfAtLeast(400000);
  EXPECT_EXIT(
      {
        if (!MountSmallDisk(Disk, 131072)) ::_exit(3);
        BackupInChildFails(Disk + QStringLiteral("/20240131.GZBK"), ENOSPC);
      },
      ::testing::ExitedWithCode(0), std::strerror(ENOSPC));
}

TEST_F(DataBackupTest, AFileSizeLimitFailsTheBackupWithTheSystemsReasonInsteadOfEndingTheProgram) {
  AddRecordsOfAtLeast(200000);
  EXPECT_EXIT(
      {
        IgnoreFileSizeSignal();
        rlimit Limit {};
        ::getrlimit(RLIMIT_FSIZE, &Limit);
        Limit.rlim_cur = 65536;
        ::setrlimit(RLIMIT_FSIZE, &Limit);
        BackupInChildFails(Archive, EFBIG);
      },
      ::testing::ExitedWithCode(0), std::strerror(EFBIG));
}

}  // namespace
