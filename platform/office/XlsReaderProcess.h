#pragma once
// Runs the .xls reader program (moli-xls-reader, beside the program) on a
// workbook, under limits that grow with the file: the reading library is not
// safe on hostile files, and a crash, a hang or runaway memory must end the
// reader and never the program.
#include "platform/office/WorkbookErrors.h"
#include <QByteArray>

struct TXlsReaderLimits {
  qint64 AddressSpace = 0;  // bytes the reader may map
  qint64 CpuSeconds = 0;
  qint64 WallMilliseconds = 0;
  qint64 Output = 0;  // bytes of output read before the reader is stopped
  qint64 Cells = 0;   // rows and cells the output may describe in all
};

// The limits for a workbook of FileSize bytes.
TXlsReaderLimits XlsReaderLimitsFor(qint64 FileSize);

// The reader program in the folder of the running program.
String XlsReaderProgram();

// Runs Program on FileName and returns its complete output. A reader that
// cannot start, crashes, exceeds a limit or exits with an error raises
// EWorkbookError naming FileName.
QByteArray RunXlsReader(const String& Program, const String& FileName, const TXlsReaderLimits& Limits);
