#include "zip/DirSearch.h"
#include "zip/ZipMasks.h"
#include <QDir>

TDirSearch::TDirSearch(const String& Folder, bool Recurse, const String& Pattern) : FPattern(Pattern), FRecurse(Recurse) {
  String start = QDir::fromNativeSeparators(Folder);
  if (!start.endsWith(u'/')) start += u'/';
  if (IsWildcardName(start)) {
    qsizetype first = 0;
    while (!IsWildcardName(start.at(first))) ++first;
    const qsizetype cut = start.lastIndexOf(u'/', first) + 1;
    FFolderPatterns = start.mid(cut).split(u'/', Qt::SkipEmptyParts);
    start = start.left(cut);
  }
  Enter(start, 0);
}

void TDirSearch::Enter(const String& Folder, qsizetype Depth) {
  TLevel level;
  level.Folder = Folder;
  level.Entries = QDir(Folder).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
  level.Depth = Depth;
  FStack.push_back(std::move(level));
}

String TDirSearch::NextFile(Int64& Size) {
  while (!FStack.empty()) {
    TLevel& level = FStack.back();
    if (level.Index == level.Entries.size()) {
      FStack.pop_back();
      continue;
    }
    const QFileInfo entry = level.Entries[level.Index++];
    const String folder = level.Folder;
    const qsizetype depth = level.Depth;
    const String name = entry.fileName();
    if (depth < FFolderPatterns.size()) {
      if (entry.isDir() && !entry.isSymLink() && MatchesMask(FFolderPatterns[depth], name)) Enter(folder + name + u'/', depth + 1);
      continue;
    }
    if (entry.isDir()) {
      if (!FRecurse || entry.isSymLink()) continue;
      const String path = folder + name + u'/';
      Enter(path, depth + 1);
      return path;
    }
    const String matchName = name.contains(u'.') ? name : name + u'.';
    if (MatchesMask(FPattern, matchName)) {
      Size = entry.size();
      return folder + name;
    }
  }
  return String();
}
