#include "zip/ZipFileUtils.h"
#include "zip/ZipErrors.h"
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

struct TDosParts {
  unsigned Year, Month, Day, Hour, Minute, Second2;
};

TDosParts Split(uint32_t Value) {
  const unsigned time = Value & 0xFFFF, date = Value >> 16;
  return {1980 + (date >> 9), (date >> 5) & 15, date & 31, time >> 11, (time >> 5) & 63, time & 31};
}

uint32_t Join(const TDosParts& p) {
  const uint32_t date = ((p.Year - 1980) << 9) | (p.Month << 5) | p.Day;
  const uint32_t time = (p.Hour << 11) | (p.Minute << 5) | p.Second2;
  return (date << 16) | time;
}

QDateTime ToQDateTime(uint32_t Value) {
  const TDosParts p = Split(ClampDosDateTime(Value));
  return QDateTime(QDate(int(p.Year), int(p.Month), int(p.Day)), QTime(int(p.Hour), int(p.Minute), int(p.Second2 * 2)));
}

uint32_t FromQDateTime(const QDateTime& Value) {
  const QDate d = Value.date();
  const QTime t = Value.time();
  TDosParts p{unsigned(std::clamp(d.year(), 1980, 2099)), unsigned(d.month()), unsigned(d.day()),
              unsigned(t.hour()), unsigned(t.minute()), unsigned(t.second() / 2)};
  if (d.year() < 1980) p = {1980, 1, 1, 0, 0, 0};
  if (d.year() > 2099) p = {2099, 12, 31, 23, 59, 29};
  return Join(p);
}

}  // namespace

uint32_t ClampDosDateTime(uint32_t Value) {
  TDosParts p = Split(Value);
  const TDosParts original = p;
  p.Hour = std::min(p.Hour, 23u);
  p.Minute = std::min(p.Minute, 59u);
  p.Second2 = std::min(p.Second2, 29u);
  p.Year = std::clamp(p.Year, 1980u, 2099u);
  p.Month = std::clamp(p.Month, 1u, 12u);
  p.Day = std::clamp(p.Day, 1u, 31u);
  if (p.Hour == original.Hour && p.Minute == original.Minute && p.Second2 == original.Second2 && p.Year == original.Year &&
      p.Month == original.Month && p.Day == original.Day)
    return Value;
  return Join(p);
}

bool DosDateTimeToDateTime(uint32_t Value, TDateTime& Result) {
  const TDosParts p = Split(ClampDosDateTime(Value));
  const QDate date(int(p.Year), int(p.Month), int(p.Day));
  if (!date.isValid()) return false;
  Result = QDateToDateTime(date) + double(p.Hour * 3600 + p.Minute * 60 + p.Second2 * 2) / 86400.0;
  return true;
}

uint32_t DateTimeToDosDateTime(TDateTime Value) {
  return FromQDateTime(DateTimeToQDateTime(Value));
}

uint32_t FileDosDateTime(const String& Name) {
  const QFileInfo info(Name);
  if (!info.exists()) return FromQDateTime(QDateTime::currentDateTime());
  return FromQDateTime(info.lastModified());
}

bool SetFileDosDateTime(const String& Name, uint32_t Value) {
  QFile file(Name);
  if (!file.open(QIODevice::ReadWrite)) return false;
  return file.setFileTime(ToQDateTime(Value), QFileDevice::FileModificationTime);
}

void MoveOrCopyFile(const String& Source, const String& Target) {
  if (std::rename(QFile::encodeName(Source).constData(), QFile::encodeName(Target).constData()) == 0) return;
  QFile in(Source);
  if (!in.open(QIODevice::ReadOnly)) throw EFOpenError(QStringLiteral("Cannot open file \"%1\"").arg(Source));
  QSaveFile out(Target);
  if (!out.open(QIODevice::WriteOnly)) throw EFCreateError(QStringLiteral("Cannot create file \"%1\"").arg(Target));
  QByteArray block;
  while (!(block = in.read(1 << 16)).isEmpty())
    if (out.write(block) != block.size()) break;
  if (in.error() != QFileDevice::NoError || !out.commit())
    throw EWriteError(QStringLiteral("Could not copy from %1 -> %2").arg(Source, Target));
  in.close();
  QFile::remove(Source);
}

String TempFileName(const String& Folder) {
  QTemporaryFile file(JoinPath(Folder, QStringLiteral("ZTPXXXXXX")));
  file.setAutoRemove(false);
  if (!file.open()) throw EFCreateError(QStringLiteral("Cannot create a temporary file in \"%1\"").arg(Folder));
  return file.fileName();
}

String SystemErrorText() { return String::fromLocal8Bit(std::strerror(errno)); }

void RaiseNotEnoughRoom() {
  if (errno == 0) throw ENotEnoughRoom(QStringLiteral("Not enough room to write archive"));
  throw ENotEnoughRoom(QStringLiteral("Not enough room to write archive: %1").arg(SystemErrorText()));
}

TPendingFile::TPendingFile(const String& Folder) : FFolder(Folder) {
  do FHandle = ::open(QFile::encodeName(Folder).constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  while (FHandle < 0 && errno == EINTR);
  if (FHandle >= 0) {
    FPath = QStringLiteral("/proc/self/fd/%1").arg(FHandle);
    return;
  }
  if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
    throw EFCreateError(QStringLiteral("Cannot create a file in \"%1\": %2").arg(Folder, SystemErrorText()));
  FPath = TempFileName(Folder);
}

TPendingFile::~TPendingFile() {
  if (FHandle >= 0) ::close(FHandle);
  else if (!FCommitted) QFile::remove(FPath);
}

void TPendingFile::Commit(const String& Target) {
  String named = FPath;
  if (FHandle >= 0) {
    // Linking needs a name nobody has: a temporary one, renamed over Target at once.
    for (;;) {
      QTemporaryFile probe(JoinPath(FFolder, QStringLiteral("ZTPXXXXXX")));
      if (!probe.open()) throw EFCreateError(QStringLiteral("Cannot create a file in \"%1\"").arg(FFolder));
      named = probe.fileName();
      probe.remove();
      if (::linkat(AT_FDCWD, QFile::encodeName(FPath).constData(), AT_FDCWD, QFile::encodeName(named).constData(),
                   AT_SYMLINK_FOLLOW) == 0)
        break;
      if (errno != EEXIST)
        throw EFCreateError(QStringLiteral("Cannot create \"%1\": %2").arg(Target, SystemErrorText()));
    }
  }
  if (std::rename(QFile::encodeName(named).constData(), QFile::encodeName(Target).constData()) != 0) {
    const String reason = SystemErrorText();
    if (named != FPath) QFile::remove(named);
    throw EFCreateError(QStringLiteral("Cannot create \"%1\": %2").arg(Target, reason));
  }
  FCommitted = true;
}

Integer Percent64(Int64 Total, Int64 Done) {
  if (Total <= 0) return 0;
  const double p = std::nearbyint(double(Done) * 100.0 / double(Total));
  return Integer(std::min(100.0, p));
}

String JoinPath(const String& Folder, const String& Name) {
  if (Folder.isEmpty()) return Name;
  if (Folder.endsWith(u'/')) return Folder + Name;
  return Folder + u'/' + Name;
}
