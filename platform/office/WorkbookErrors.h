#pragma once
#include "platform/rtl/SysUtils.h"

// A workbook that cannot be read or written; the message names the file and the reason.
MOLI_DECLARE_EXCEPTION(EWorkbookError, Exception)
