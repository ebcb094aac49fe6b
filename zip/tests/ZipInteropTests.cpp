// Archives travel both ways between our components and the real peers.
#include "ZipTestSupport.h"
#include "platform/testing/TestPaths.h"
#include "zip/ZipWriter.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace ziptest;
using moli::testing::ScratchDir;

namespace {

Integer Restore(const QString& Archive, const QString& Dest) {
  TZipReader reader;
  reader.SetDoAll(true);
  reader.ResetArchive();
  reader.SetZipName(Archive);
  reader.SetOverwriteMode(TUZOverwriteMode::Always);
  reader.SetRecreateDirs(true);
  reader.SetDestDir(Dest + "/");
  return reader.ExtractFiles();
}

Integer Backup(const QString& Archive, const QString& Root) {
  TZipWriter writer;
  writer.SetZipName(Archive);
  writer.SetRelativePaths(true);
  writer.SetRootDir(Root);
  writer.FilesList()->Clear();
  writer.FilesList()->Add("*.*");
  return writer.CompressFiles();
}

struct TPeerWriter {
  const char* Name;
  QString Program;
  QStringList Arguments;  // run in the corpus folder; the archive is ../peer.zip
};

TEST(ZipInterop, ExtractsWhatThePeersWriteByteForByte) {
  ScratchDir scratch;
  const QString src = scratch.File("src");
  MakeCorpus(src);
  const QString archive = scratch.File("peer.zip");
  const std::vector<TPeerWriter> peers = {
      {"zip -0", "zip", {"-q", "-r", "-0", archive, "."}},
      {"zip -1", "zip", {"-q", "-r", "-1", archive, "."}},
      {"zip -6", "zip", {"-q", "-r", "-6", archive, "."}},
      {"zip -9", "zip", {"-q", "-r", "-9", archive, "."}},
      {"python zipfile", "python3", {"-m", "zipfile", "-c", archive, "VIRE.dat", "notes.txt", "empty.txt", "old"}},
      {"7zz", "7zz", {"a", "-tzip", "-bd", archive, "."}},
  };
  for (const TPeerWriter& peer : peers) {
    QFile::remove(archive);
    const TProcessResult made = RunTool(peer.Program, peer.Arguments, src);
    ASSERT_EQ(made.ExitCode, 0) << peer.Name << made.Output.toStdString();
    const QString dest = scratch.File(QString("out-%1").arg(peer.Name).replace(' ', '_'));
    Restore(archive, dest);
    EXPECT_EQ(TreeDiff(Tree(dest), Tree(src)), "") << peer.Name;

    TZipReader lister;
    lister.SetZipName(archive);
    lister.ReadZip();
    QStringList names;
    for (Integer i = 0; i < lister.Count(); ++i) names << lister.Filename(i);
    EXPECT_TRUE(names.contains(QString::fromUtf8("工资表.txt"))) << peer.Name << names.join(',').toStdString();
  }
}

TEST(ZipInterop, PeersAcceptAndExtractWhatWeWrite) {
  ScratchDir scratch;
  const QString src = scratch.File("DB");
  MakeCorpus(src);
  const QString archive = scratch.File("backup.GZBK");
  EXPECT_EQ(Backup(archive, src), 5);

  EXPECT_EQ(RunTool("unzip", {"-tq", archive}, scratch.Path()).ExitCode, 0);
  EXPECT_EQ(RunTool("python3", {"-m", "zipfile", "-t", archive}, scratch.Path()).ExitCode, 0);
  EXPECT_EQ(RunTool("7zz", {"t", archive}, scratch.Path()).ExitCode, 0);

  const TProcessResult unzipped = RunTool("unzip", {"-q", archive, "-d", scratch.File("by-unzip")}, scratch.Path());
  ASSERT_EQ(unzipped.ExitCode, 0) << unzipped.Output.toStdString();
  EXPECT_EQ(TreeDiff(Tree(scratch.File("by-unzip")), Tree(src)), "");
  ASSERT_EQ(RunTool("7zz", {"x", "-bd", "-o" + scratch.File("by-7zz"), archive}, scratch.Path()).ExitCode, 0);
  EXPECT_EQ(TreeDiff(Tree(scratch.File("by-7zz")), Tree(src)), "");
  ASSERT_EQ(RunTool("python3", {"-m", "zipfile", "-e", archive, scratch.File("by-python")}, scratch.Path()).ExitCode, 0);
  EXPECT_EQ(TreeDiff(Tree(scratch.File("by-python")), Tree(src)), "");

  // Names relative to the root: no leading folder, '/' between parts.
  const TProcessResult listing = RunTool("unzip", {"-Z1", archive}, scratch.Path());
  EXPECT_TRUE(listing.Output.split('\n').contains("VIRE.dat")) << listing.Output.toStdString();
  EXPECT_TRUE(listing.Output.split('\n').contains("old/x.dat")) << listing.Output.toStdString();
}

TEST(ZipInterop, UpdatingKeepsUnchangedEntriesReplacesChangedOnesAndAppendsNewFiles) {
  ScratchDir scratch;
  const QString src = scratch.File("DB");
  MakeCorpus(src);
  const QString archive = scratch.File("backup.GZBK");
  ASSERT_EQ(Backup(archive, src), 5);

  // Unchanged files: every entry is kept and nothing counts as added.
  {
    TZipWriter writer;
    int kept = 0;
    writer.OnUpdate = [&](TObject*, TUpdateAction action, Integer) { kept += action == uaKeeping; };
    writer.SetZipName(archive);
    writer.SetRelativePaths(true);
    writer.SetRootDir(src);
    writer.FilesList()->Add("*.*");
    EXPECT_EQ(writer.CompressFiles(), 0);
    EXPECT_EQ(kept, 5);
  }

  WriteFile(src + "/notes.txt", TextBytes(80000, 99));
  SetModified(src + "/notes.txt", QDateTime(QDate(2024, 6, 1), QTime(9, 0)));
  WriteFile(src + "/new/added.bin", RandomBytes(7000, 98));
  const QByteArray gone = ReadFile(src + "/old/x.dat");
  QFile::remove(src + "/old/x.dat");
  EXPECT_EQ(Backup(archive, src), 2);

  EXPECT_EQ(RunTool("unzip", {"-tq", archive}, scratch.Path()).ExitCode, 0);
  EXPECT_EQ(RunTool("python3", {"-m", "zipfile", "-t", archive}, scratch.Path()).ExitCode, 0);
  EXPECT_EQ(RunTool("7zz", {"t", archive}, scratch.Path()).ExitCode, 0);
  const QStringList order = RunTool("unzip", {"-Z1", archive}, scratch.Path()).Output.split('\n', Qt::SkipEmptyParts);
  EXPECT_EQ(order.size(), 6);
  EXPECT_EQ(order.last(), "new/added.bin");
  EXPECT_LT(order.indexOf("notes.txt"), order.indexOf("old/x.dat"));

  const QString dest = scratch.File("restored");
  ASSERT_EQ(RunTool("unzip", {"-q", archive, "-d", dest}, scratch.Path()).ExitCode, 0);
  QMap<QString, QByteArray> expected = Tree(src);
  expected.insert("old/x.dat", gone);  // deleted files stay in the archive
  EXPECT_EQ(TreeDiff(Tree(dest), expected), "");
}

}  // namespace
