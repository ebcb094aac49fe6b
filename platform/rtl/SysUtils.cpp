#include "platform/rtl/SysUtils.h"

void Abort() { throw EAbort(QStringLiteral("Operation aborted")); }
