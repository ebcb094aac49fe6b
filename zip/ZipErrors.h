#pragma once
// Exceptions of the archive components. Each carries only its message.
#include "platform/rtl/SysUtils.h"

MOLI_DECLARE_EXCEPTION(EBadZipFile, Exception)
MOLI_DECLARE_EXCEPTION(EIncompleteZip, Exception)
MOLI_DECLARE_EXCEPTION(ENotAZipFile, Exception)
MOLI_DECLARE_EXCEPTION(EFatalUnzipError, Exception)
MOLI_DECLARE_EXCEPTION(EUserCanceled, Exception)
MOLI_DECLARE_EXCEPTION(EBiggerThanUncompressed, Exception)
MOLI_DECLARE_EXCEPTION(ECantWriteUCF, Exception)
MOLI_DECLARE_EXCEPTION(ENotEnoughRoom, Exception)
// An entry whose data does not decode to its declared size and CRC.
MOLI_DECLARE_EXCEPTION(EBadZipEntry, Exception)
// An entry whose name would place it outside the extraction folder.
MOLI_DECLARE_EXCEPTION(EUnsafeZipEntry, Exception)
// A file or archive beyond the format's 32-bit sizes and 16-bit entry count.
MOLI_DECLARE_EXCEPTION(EZipTooLarge, Exception)
