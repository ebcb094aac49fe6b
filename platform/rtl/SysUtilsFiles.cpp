// File names and the file system, accepting names written with '\' separators.
#include "platform/rtl/SysUtils.h"
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

bool IsSeparator(QChar c) { return c == u'/' || c == u'\\'; }

int LastSeparator(const String& fileName) { return LastDelimiter(QStringLiteral("/\\"), fileName); }

// The date-time of the Qt time in the local zone, and back.
TDateTime ToDateTime(const QDateTime& time) {
  const QDateTime local = time.toLocalTime();
  const QDate d = local.date();
  const QTime t = local.time();
  return EncodeDateTime(Word(d.year()), Word(d.month()), Word(d.day()), Word(t.hour()), Word(t.minute()),
                        Word(t.second()), Word(t.msec()));
}

QDateTime FromDateTime(TDateTime value) {
  Word y, m, d, h, n, s, ms;
  DecodeDate(value, y, m, d);
  DecodeTime(value, h, n, s, ms);
  return QDateTime(QDate(y, m, d), QTime(h, n, s, ms));
}

}  // namespace

String NativeFileName(const String& fileName) { return String(fileName).replace(u'\\', u'/'); }

String ExtractFilePath(const String& fileName) { return fileName.left(LastSeparator(fileName) + 1); }

String ExtractFileDir(const String& fileName) {
  const int at = LastSeparator(fileName);
  return at == 0 ? fileName.left(1) : fileName.left(std::max(at, 0));
}

String ExtractFileName(const String& fileName) { return fileName.mid(LastSeparator(fileName) + 1); }

String ExtractFileExt(const String& fileName) {
  const int at = LastDelimiter(QStringLiteral("/\\."), fileName);
  return at >= 0 && fileName[at] == u'.' ? fileName.mid(at) : String();
}

String ChangeFileExt(const String& fileName, const String& extension) {
  const int at = LastDelimiter(QStringLiteral("/\\."), fileName);
  const bool hasExt = at >= 0 && fileName[at] == u'.';
  return (hasExt ? fileName.left(at) : fileName) + extension;
}

String IncludeTrailingPathDelimiter(const String& path) {
  return !path.isEmpty() && IsSeparator(path.back()) ? path : path + PathDelim;
}

String ExcludeTrailingPathDelimiter(const String& path) {
  return path.size() > 1 && IsSeparator(path.back()) ? path.chopped(1) : path;
}

String ExpandFileName(const String& fileName) {
  if (fileName.isEmpty()) return String();
  return QDir::cleanPath(QDir::current().absoluteFilePath(NativeFileName(fileName)));
}

bool FileExists(const String& fileName) {
  const QFileInfo info(NativeFileName(fileName));
  return info.exists() && !info.isDir();
}

bool DirectoryExists(const String& directory) { return QFileInfo(NativeFileName(directory)).isDir(); }

bool ForceDirectories(const String& directory) {
  return !directory.isEmpty() && QDir().mkpath(NativeFileName(directory));
}

bool CreateDir(const String& directory) {
  return !directory.isEmpty() && QDir().mkdir(NativeFileName(directory));
}

bool RemoveDir(const String& directory) {
  return !directory.isEmpty() && QDir().rmdir(NativeFileName(directory));
}

bool DeleteFile(const String& fileName) {
  const String name = NativeFileName(fileName);
  return !QFileInfo(name).isDir() && QFile::remove(name);
}

bool RenameFile(const String& oldName, const String& newName) {
  const String from = NativeFileName(oldName), to = NativeFileName(newName);
  if (QFileInfo::exists(to) || QFileInfo(to).isSymLink()) return false;
  return QDir().rename(from, to);
}

bool FileAge(const String& fileName, TDateTime& value) {
  const QFileInfo info(NativeFileName(fileName));
  if (!info.exists() || info.isDir()) return false;
  value = ToDateTime(info.lastModified());
  return true;
}

bool FileSetDate(const String& fileName, TDateTime value) {
  QFile file(NativeFileName(fileName));
  return file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly) &&
         file.setFileTime(FromDateTime(value), QFileDevice::FileModificationTime);
}
