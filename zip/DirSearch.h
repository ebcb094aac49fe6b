#pragma once
// Depth-first walk of a folder tree that turns a folder and a file mask into
// file names. Folders named through symbolic links are not entered, so a
// link cannot lead the walk in circles or out of the tree.
#include "platform/rtl/Types.h"
#include <QFileInfoList>
#include <QStringList>
#include <vector>

class TDirSearch {
public:
  // Folder may itself hold masks ("data/*/log"): each masked level only
  // selects the subfolders to enter. Pattern selects the files; a file
  // without an extension is matched as "name." so that "*." finds those.
  TDirSearch(const String& Folder, bool Recurse, const String& Pattern);
  // The next file's full path, or (when recursing) a folder's path ending in
  // '/' just before its content; empty when the walk is over. Size gets a
  // file's size.
  String NextFile(Int64& Size);

private:
  struct TLevel {
    String Folder;  // with a trailing '/'
    QFileInfoList Entries;
    qsizetype Index = 0;
    qsizetype Depth = 0;
  };
  void Enter(const String& Folder, qsizetype Depth);

  std::vector<TLevel> FStack;
  QStringList FFolderPatterns;
  String FPattern;
  bool FRecurse;
};
