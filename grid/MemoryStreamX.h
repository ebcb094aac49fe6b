#pragma once
// A memory stream whose block grows in steps of twice a tunable half-step, so that writers
// of large texts (clipboard copies, rich-text exports) reallocate rarely.
#include "platform/rtl/Classes.h"

class TMemoryStreamX : public TMemoryStream {
public:
  static constexpr Integer DefaultHalfStep = 4096;
  Integer HalfStep() const { return FHalfStep; }
  // The rounding masks the low bits, so only powers of two work; others raise EStreamError.
  void SetHalfStep(Integer Value);
protected:
  Int64 Realloc(Int64 NewCapacity) override;
private:
  Integer FHalfStep = DefaultHalfStep;
};
