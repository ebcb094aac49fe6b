#include "ZipTestSupport.h"
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>
#include <random>

namespace ziptest {

TProcessResult RunTool(const QString& Program, const QStringList& Arguments, const QString& Folder) {
  QProcess process;
  process.setWorkingDirectory(Folder);
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start(Program, Arguments);
  process.waitForFinished(120000);
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, QString::fromUtf8(process.readAll())};
}

void WriteFile(const QString& Path, const QByteArray& Bytes) {
  QDir().mkpath(QFileInfo(Path).absolutePath());
  QFile file(Path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << Path.toStdString();
  file.write(Bytes);
  file.close();
  SetModified(Path, QDateTime(QDate(2024, 1, 2), QTime(10, 0)));
}

void SetModified(const QString& Path, const QDateTime& When) {
  QFile file(Path);
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  ASSERT_TRUE(file.setFileTime(When, QFileDevice::FileModificationTime));
}

QByteArray ReadFile(const QString& Path) {
  QFile file(Path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray TextBytes(int Size, unsigned Seed) {
  static const char* words[] = {"工资 ", "salary ", "net ", "tax ", "department ", "0.00 ", "1234.50 ", "\r\n", "name,", "扣款"};
  std::mt19937 rng(Seed);
  QByteArray out;
  while (out.size() < Size) out += words[rng() % 10];
  out.truncate(Size);
  return out;
}

QByteArray RandomBytes(int Size, unsigned Seed) {
  std::mt19937 rng(Seed);
  QByteArray out(Size, Qt::Uninitialized);
  for (char& c : out) c = char(rng());
  return out;
}

void MakeCorpus(const QString& Folder) {
  WriteFile(Folder + "/VIRE.dat", RandomBytes(40000, 1) + TextBytes(60000, 2));
  WriteFile(Folder + "/notes.txt", TextBytes(120000, 3));
  WriteFile(Folder + "/empty.txt", QByteArray());
  WriteFile(Folder + "/old/x.dat", RandomBytes(5000, 4));
  WriteFile(Folder + "/old/deeper/" + QString::fromUtf8("工资表.txt"), TextBytes(3000, 5));
}

QMap<QString, QByteArray> Tree(const QString& Folder) {
  QMap<QString, QByteArray> tree;
  QDirIterator it(Folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    tree.insert(QDir(Folder).relativeFilePath(path), ReadFile(path));
  }
  return tree;
}

std::string TreeDiff(const QMap<QString, QByteArray>& Actual, const QMap<QString, QByteArray>& Expected) {
  QStringList diff;
  for (auto it = Expected.begin(); it != Expected.end(); ++it) {
    if (!Actual.contains(it.key())) diff << "missing " + it.key();
    else if (Actual.value(it.key()) != it.value()) diff << "differs " + it.key();
  }
  for (auto it = Actual.begin(); it != Actual.end(); ++it)
    if (!Expected.contains(it.key())) diff << "extra " + it.key();
  return diff.join("; ").toStdString();
}

}  // namespace ziptest
