#include "platform/rtl/Classes.h"
#include "platform/rtl/Files.h"
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

void TStream::ReadBuffer(void* Buffer, Integer Count) {
  if (Count != 0 && Read(Buffer, Count) != Count) throw EReadError(QStringLiteral("Stream read error"));
}

void TStream::WriteBuffer(const void* Buffer, Integer Count) {
  if (Count != 0 && Write(Buffer, Count) != Count) throw EWriteError(QStringLiteral("Stream write error"));
}

Int64 TStream::CopyFrom(TStream* Source, Int64 Count) {
  if (Count == 0) {
    Source->SetPosition(0);
    Count = Source->Size();
  }
  constexpr Integer BlockSize = 64 * 1024;
  QByteArray buffer(BlockSize, Qt::Uninitialized);
  for (Int64 left = Count; left > 0;) {
    const Integer n = Integer(std::min<Int64>(left, BlockSize));
    Source->ReadBuffer(buffer.data(), n);
    WriteBuffer(buffer.constData(), n);
    left -= n;
  }
  return Count;
}

QByteArray TStream::ReadRest() {
  const Int64 left = std::max<Int64>(0, Size() - Position());
  QByteArray bytes(qsizetype(left), Qt::Uninitialized);
  ReadBuffer(bytes.data(), Integer(left));
  return bytes;
}

Int64 TStream::Size() {
  const Int64 pos = Seek(0, soCurrent);
  const Int64 size = Seek(0, soEnd);
  Seek(pos, soBeginning);
  return size;
}

void TStream::SetSize(Int64) {}

// ---------------------------------------------------------------------------

Integer TMemoryStream::Read(void* Buffer, Integer Count) {
  if (Count <= 0 || FPosition < 0 || FPosition >= FData.size()) return 0;
  const Integer n = Integer(std::min<Int64>(Count, FData.size() - FPosition));
  std::memcpy(Buffer, FData.constData() + FPosition, size_t(n));
  FPosition += n;
  return n;
}

Integer TMemoryStream::Write(const void* Buffer, Integer Count) {
  if (Count <= 0 || FPosition < 0) return 0;
  const Int64 end = FPosition + Count;
  if (end > FData.size()) {
    if (end > FCapacity) SetCapacity(end);
    // A gap left by seeking past the end reads back as zeros.
    FData.resize(qsizetype(end), '\0');
  }
  std::memcpy(FData.data() + FPosition, Buffer, size_t(Count));
  FPosition = end;
  return Count;
}

Int64 TMemoryStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  switch (Origin) {
    case soBeginning: FPosition = Offset; break;
    case soCurrent: FPosition += Offset; break;
    case soEnd: FPosition = FData.size() + Offset; break;
  }
  return FPosition;
}

void TMemoryStream::SetSize(Int64 NewSize) {
  if (NewSize > FCapacity) SetCapacity(NewSize);
  FData.resize(qsizetype(std::max<Int64>(0, NewSize)), '\0');
  if (FPosition > NewSize) FPosition = NewSize;
}

void TMemoryStream::SetCapacity(Int64 NewCapacity) {
  FCapacity = Realloc(NewCapacity);
  FData.reserve(qsizetype(FCapacity));
}

Int64 TMemoryStream::Realloc(Int64 NewCapacity) {
  constexpr Int64 MemoryDelta = 8 * 1024;
  return NewCapacity > 0 ? (NewCapacity + MemoryDelta - 1) / MemoryDelta * MemoryDelta : 0;
}

void TMemoryStream::Clear() {
  FData.clear();
  FData.squeeze();
  FCapacity = 0;
  FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream* Stream) {
  Stream->SetPosition(0);
  const Int64 size = Stream->Size();
  SetSize(size);
  if (size != 0) Stream->ReadBuffer(FData.data(), Integer(size));
  FPosition = 0;
}

void TMemoryStream::LoadFromFile(const String& FileName) {
  TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&stream);
}

void TMemoryStream::SaveToStream(TStream* Stream) { Stream->WriteBuffer(FData); }

void TMemoryStream::SaveToFile(const String& FileName) { AtomicWriteFile(FileName, FData); }

TStringStream::TStringStream(const String& AString) {
  WriteBuffer(AString.toUtf8());
  SetPosition(0);
}

// ---------------------------------------------------------------------------

TFileStream::TFileStream(const String& AFileName, Word Mode) : FFileName(AFileName) {
  const QByteArray name = QFile::encodeName(AFileName);
  const bool create = (Mode & 0xFF00) == 0xFF00;
  int flags = O_CLOEXEC;
  if (create) {
    flags |= O_RDWR | O_CREAT | O_TRUNC;
  } else {
    switch (Mode & 0x0003) {
      case fmOpenWrite: flags |= O_WRONLY; break;
      case fmOpenReadWrite: flags |= O_RDWR; break;
      default: flags |= O_RDONLY; break;
    }
  }
  do FHandle = ::open(name.constData(), flags, 0666);
  while (FHandle < 0 && errno == EINTR);
  struct stat st {};
  if (FHandle >= 0 && ::fstat(FHandle, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(FHandle);
    FHandle = -1;
    errno = EISDIR;
  }
  if (FHandle < 0) {
    const String reason = String::fromLocal8Bit(std::strerror(errno));
    if (create) throw EFCreateError(QStringLiteral("Cannot create file \"%1\". %2").arg(AFileName, reason));
    throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2").arg(AFileName, reason));
  }
}

TFileStream::~TFileStream() {
  if (FHandle >= 0) ::close(FHandle);
}

Integer TFileStream::Read(void* Buffer, Integer Count) {
  Integer done = 0;
  while (done < Count) {
    const ssize_t n = ::read(FHandle, static_cast<char*>(Buffer) + done, size_t(Count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += Integer(n);
  }
  return done;
}

Integer TFileStream::Write(const void* Buffer, Integer Count) {
  Integer done = 0;
  while (done < Count) {
    const ssize_t n = ::write(FHandle, static_cast<const char*>(Buffer) + done, size_t(Count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += Integer(n);
  }
  return done;
}

Int64 TFileStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  const int whence = Origin == soBeginning ? SEEK_SET : Origin == soCurrent ? SEEK_CUR : SEEK_END;
  return Int64(::lseek(FHandle, off_t(Offset), whence));
}

void TFileStream::SetSize(Int64 NewSize) {
  if (::ftruncate(FHandle, off_t(NewSize)) != 0)
    throw EStreamError(QStringLiteral("Cannot set the size of \"%1\". %2")
                           .arg(FFileName, String::fromLocal8Bit(std::strerror(errno))));
  if (Position() > NewSize) SetPosition(NewSize);
}
