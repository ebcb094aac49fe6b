#pragma once
// Shared helpers of the archive tests: a small corpus on disk, running the
// peer tools, and comparing folder trees.
#include <QByteArray>
#include <QDateTime>
#include <QMap>
#include <QString>
#include <QStringList>
#include <string>

namespace ziptest {

struct TProcessResult {
  int ExitCode = -1;
  QString Output;
};

// Runs Program with Arguments in Folder and waits for it.
TProcessResult RunTool(const QString& Program, const QStringList& Arguments, const QString& Folder);

// Writes the file and dates it 2024-01-02 10:00 local time.
void WriteFile(const QString& Path, const QByteArray& Bytes);
void SetModified(const QString& Path, const QDateTime& When);
QByteArray ReadFile(const QString& Path);

// Text-like and random bytes of the given size, the same for the same seed.
QByteArray TextBytes(int Size, unsigned Seed);
QByteArray RandomBytes(int Size, unsigned Seed);

// Fills Folder with a few files: text, binary, empty, non-ASCII named, in subfolders.
void MakeCorpus(const QString& Folder);

// Relative path -> content of every file under Folder (folders end in '/' with empty content).
QMap<QString, QByteArray> Tree(const QString& Folder);
// Empty when both trees hold the same files with the same bytes, else the differing names.
std::string TreeDiff(const QMap<QString, QByteArray>& Actual, const QMap<QString, QByteArray>& Expected);

}  // namespace ziptest
