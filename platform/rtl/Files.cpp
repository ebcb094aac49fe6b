#include "platform/rtl/Files.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

String& ProgramFolderOverride() {
  static String folder;
  return folder;
}

String WithTrailingSlash(const String& Folder) { return Folder.endsWith(u'/') ? Folder : Folder + u'/'; }

String LastError() { return String::fromLocal8Bit(std::strerror(errno)); }

// The entry of Folder named Name, ignoring case; an exact match wins, then the first in name order.
String MatchEntry(const String& Folder, const String& Name) {
  if (Name == u"." || Name == u".." || QFileInfo::exists(Folder + Name)) return Name;
  const QStringList entries =
      QDir(Folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
  for (const String& entry : entries)
    if (entry.compare(Name, Qt::CaseInsensitive) == 0) return entry;
  return Name;
}

bool WriteAll(int Handle, const QByteArray& Bytes) {
  qsizetype done = 0;
  while (done < Bytes.size()) {
    const ssize_t n = ::write(Handle, Bytes.constData() + done, size_t(Bytes.size() - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += n;
  }
  return true;
}

}  // namespace

String ProgramFolder() {
  const String& folder = ProgramFolderOverride();
  return WithTrailingSlash(folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder);
}

void SetProgramFolder(const String& Folder) { ProgramFolderOverride() = Folder; }

String ResolvePath(const String& Base, const String& Relative) {
  String path = WithTrailingSlash(Base);
  const QStringList names = String(Relative).replace(u'\\', u'/').split(u'/', Qt::SkipEmptyParts);
  for (qsizetype i = 0; i < names.size(); ++i) {
    path += MatchEntry(path, names[i]);
    if (i + 1 < names.size()) path += u'/';
  }
  return path;
}

void AtomicWriteFile(const String& Path, const QByteArray& Bytes, TFilePrivacy Privacy) {
  const QFileInfo target(Path);
  const String folder = WithTrailingSlash(target.absolutePath());
  struct stat existing {};
  const bool replacing = ::stat(QFile::encodeName(Path).constData(), &existing) == 0;

  QByteArray tempName;
  int handle = -1;
  for (int attempt = 0; handle < 0 && attempt < 100; ++attempt) {
    tempName = QFile::encodeName(folder + u'.' + target.fileName() + u'.' +
                                 String::number(QRandomGenerator::global()->generate(), 36) + QStringLiteral(".tmp"));
    handle = ::open(tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                    Privacy == fpOwnerOnly ? 0600 : 0666);
    if (handle < 0 && errno != EEXIST) break;
  }
  if (handle < 0) throw EFCreateError(QStringLiteral("Cannot create file \"%1\". %2").arg(Path, LastError()));

  bool ok = WriteAll(handle, Bytes);
  if (ok && replacing && Privacy == fpShared) ok = ::fchmod(handle, existing.st_mode & 07777) == 0;
  if (ok && Privacy == fpOwnerOnly) ok = ::fchmod(handle, 0600) == 0;
  if (ok) ok = ::fsync(handle) == 0;
  const String reason = ok ? String() : LastError();
  ok = ::close(handle) == 0 && ok;
  if (ok) ok = ::rename(tempName.constData(), QFile::encodeName(Path).constData()) == 0;
  if (!ok) {
    const String why = reason.isEmpty() ? LastError() : reason;
    ::unlink(tempName.constData());
    throw EWriteError(QStringLiteral("Cannot write file \"%1\". %2").arg(Path, why));
  }
  // Make the rename itself durable.
  const int dir = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}
