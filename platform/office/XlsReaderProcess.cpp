#include "platform/office/XlsReaderProcess.h"
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <sys/resource.h>

namespace {

constexpr qint64 MiB = 1024 * 1024;

[[noreturn]] void Damaged(const String& FileName, const String& Why) {
  throw EWorkbookError(QStringLiteral("无法读取工作簿“%1”：%2").arg(FileName, Why));
}

// Runs in the reader's process between fork and exec: only system calls here.
void LimitReader(const TXlsReaderLimits& Limits) {
  const auto Limit = [](int Resource, rlim_t Soft, rlim_t Hard) {
    const rlimit Value{Soft, Hard};
    setrlimit(Resource, &Value);
  };
  Limit(RLIMIT_AS, rlim_t(Limits.AddressSpace), rlim_t(Limits.AddressSpace));
  // Past the soft limit the reader gets SIGXCPU, which ends it; the hard one kills it for sure.
  Limit(RLIMIT_CPU, rlim_t(Limits.CpuSeconds), rlim_t(Limits.CpuSeconds + 1));
  // A crash leaves no core file behind, and the reader writes no file at all.
  Limit(RLIMIT_CORE, 0, 0);
  Limit(RLIMIT_FSIZE, 0, 0);
}

}  // namespace

TXlsReaderLimits XlsReaderLimitsFor(qint64 FileSize) {
  TXlsReaderLimits Limits;
  // The library keeps every sheet's cells in memory, 16 bytes each, as many
  // as the sheet declares; a real workbook stores most of its cells, so its
  // memory follows its size, and one declaring far more is hostile.
  Limits.AddressSpace = 128 * MiB + 64 * FileSize;
  Limits.CpuSeconds = 10 + FileSize / MiB;
  Limits.WallMilliseconds = 2000 * Limits.CpuSeconds + 10000;
  Limits.Output = 64 * MiB + 16 * FileSize;
  // The table the import keeps: a real sheet stores most of the cells it
  // declares, in at least a few bytes each.
  Limits.Cells = 256 * 1024 + 16 * FileSize;
  return Limits;
}

String XlsReaderProgram() {
  return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(u'/', 0, -2) +
         QStringLiteral("/moli-xls-reader");
}

QByteArray RunXlsReader(const String& Program, const String& FileName, const TXlsReaderLimits& Limits) {
  QProcess Reader;
  Reader.setProgram(Program);
  Reader.setArguments({FileName});
  Reader.setStandardInputFile(QProcess::nullDevice());
  Reader.setStandardErrorFile(QProcess::nullDevice());
  Reader.setChildProcessModifier([Limits] { LimitReader(Limits); });
  Reader.start(QIODevice::ReadOnly);
  if (!Reader.waitForStarted())
    Damaged(FileName, QStringLiteral("读取程序 %1 无法启动（%2）").arg(Program, Reader.errorString()));
  const QDeadlineTimer Deadline(Limits.WallMilliseconds);
  QByteArray Output;
  const auto Stop = [&Reader](const String& FileName, const String& Why) {
    Reader.kill();
    Reader.waitForFinished();
    Damaged(FileName, Why);
  };
  for (;;) {
    if (Reader.bytesAvailable() > 0) {
      Output += Reader.read(qMin(Reader.bytesAvailable(), Limits.Output + 1 - Output.size()));
      if (Output.size() > Limits.Output) Stop(FileName, QStringLiteral("读出的内容超出了这个文件所能容纳的范围"));
      continue;
    }
    if (Reader.state() == QProcess::NotRunning) break;
    if (Deadline.hasExpired()) Stop(FileName, QStringLiteral("读取超时，文件可能已损坏"));
    Reader.waitForReadyRead(int(qMin<qint64>(Deadline.remainingTime(), 1000)));
  }
  if (Reader.exitStatus() != QProcess::NormalExit)
    Damaged(FileName, QStringLiteral("文件已损坏，或者读取它超出了时间或内存的限制"));
  if (Reader.exitCode() != 0) Damaged(FileName, QStringLiteral("读取程序出错（退出代码 %1）").arg(Reader.exitCode()));
  return Output;
}
