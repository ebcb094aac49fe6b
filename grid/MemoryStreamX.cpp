#include "grid/MemoryStreamX.h"
#include "platform/rtl/SysUtils.h"
#include <limits>

void TMemoryStreamX::SetHalfStep(Integer Value) {
  if (Value <= 0 || (Value & (Value - 1)) != 0)
    throw EStreamError(QStringLiteral("Memory stream growth step must be a power of two"));
  FHalfStep = Value;
}

Int64 TMemoryStreamX::Realloc(Int64 NewCapacity) {
  if (NewCapacity <= 0) return 0;
  // A request for exactly the current size (SetSize to the data's length) stays exact.
  if (NewCapacity == Size()) return NewCapacity;
  const Int64 Step = Int64(FHalfStep) * 2;
  // Beyond this the byte array behind the stream cannot grow.
  const Int64 Limit = Int64(std::numeric_limits<qsizetype>::max() / 2);
  if (NewCapacity > Limit - Step) throw EStreamError(QStringLiteral("Out of memory while expanding memory stream"));
  return (NewCapacity + Step - 1) & ~(Step - 1);
}
