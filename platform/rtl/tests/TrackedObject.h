#pragma once
#include "platform/rtl/Types.h"

namespace moli::testing {

// Counts its own deletion, to check who deletes owned objects and how often.
class TrackedObject : public TObject {
public:
  explicit TrackedObject(int& Deleted) : FDeleted(Deleted) {}
  ~TrackedObject() override { ++FDeleted; }
private:
  int& FDeleted;
};

}  // namespace moli::testing
