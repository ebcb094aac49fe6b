#include "app/DataBackup.h"
#include "app/tests/TestDataModule.h"
#include "zip/ZipWriter.h"
#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

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

class DataBackupTest : public ::testing::Test {
protected:
  String AppPath() const { return Settings().GAppPath; }
  String Months() { return DM->GetDataBySQL(QStringLiteral("select group_concat(GZMonth, ',') from TGZMonth")); }
  void AddMonth(const char* Month) {
    DM->ADOLocal->ExecuteSql(QStringLiteral("insert into TGZMonth (GZMonth) values ('%1')").arg(QLatin1String(Month)));
  }
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

}  // namespace
