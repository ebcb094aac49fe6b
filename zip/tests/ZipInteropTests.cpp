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

struct TPeerTool {
  const char* Name;
  QString Program;
  QStringList Arguments;
};

// Small files are where encoders choose fixed Huffman blocks with back-references.
void AddSmallFiles(const QString& Folder) {
  for (int size : {1, 4, 17, 60, 150, 333, 700})
    WriteFile(Folder + QString("/small/s%1.txt").arg(size), TextBytes(size, unsigned(size)));
  WriteFile(Folder + "/small/repeat.txt", QByteArray("abcabcabcabcabcabcabc"));
}

void ExpectPeersAccept(const QString& Archive, const QString& Folder) {
  const std::vector<TPeerTool> testers = {{"unzip", "unzip", {"-tq", Archive}},
                                          {"python zipfile", "python3", {"-m", "zipfile", "-t", Archive}},
                                          {"7zz", "7zz", {"t", Archive}}};
  for (const TPeerTool& tester : testers) {
    const TProcessResult result = RunTool(tester.Program, tester.Arguments, Folder);
    EXPECT_EQ(result.ExitCode, 0) << tester.Name << result.Output.toStdString();
  }
}

TEST(ZipInterop, ExtractsWhatThePeersWriteByteForByte) {
  ScratchDir scratch;
  const QString src = scratch.File("src");
  MakeCorpus(src);
  AddSmallFiles(src);
  const QString archive = scratch.File("peer.zip");
  // Run in the corpus folder; the archive is ../peer.zip.
  const std::vector<TPeerTool> peers = {
      {"zip -0", "zip", {"-q", "-r", "-0", archive, "."}},
      {"zip -1", "zip", {"-q", "-r", "-1", archive, "."}},
      {"zip -6", "zip", {"-q", "-r", "-6", archive, "."}},
      {"zip -9", "zip", {"-q", "-r", "-9", archive, "."}},
      {"python zipfile", "python3", {"-m", "zipfile", "-c", archive, "VIRE.dat", "notes.txt", "empty.txt", "old", "small"}},
      {"7zz", "7zz", {"a", "-tzip", "-bd", archive, "."}},
      {"7zz -mx=1", "7zz", {"a", "-tzip", "-mx=1", "-bd", archive, "."}},
  };
  for (const TPeerTool& peer : peers) {
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
  AddSmallFiles(src);
  const QString archive = scratch.File("backup.GZBK");
  EXPECT_EQ(Backup(archive, src), 13);
  ExpectPeersAccept(archive, scratch.Path());

  const auto into = [&](const char* Name) { return scratch.File(QString("by-") + Name); };
  const std::vector<TPeerTool> extractors = {
      {"unzip", "unzip", {"-q", archive, "-d", into("unzip")}},
      {"7zz", "7zz", {"x", "-bd", "-o" + into("7zz"), archive}},
      {"python", "python3", {"-m", "zipfile", "-e", archive, into("python")}}};
  for (const TPeerTool& extractor : extractors) {
    const TProcessResult result = RunTool(extractor.Program, extractor.Arguments, scratch.Path());
    ASSERT_EQ(result.ExitCode, 0) << extractor.Name << result.Output.toStdString();
    EXPECT_EQ(TreeDiff(Tree(into(extractor.Name)), Tree(src)), "") << extractor.Name;
  }

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

  ExpectPeersAccept(archive, scratch.Path());
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
