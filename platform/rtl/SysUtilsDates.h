#pragma once
// A date-time split into whole days and milliseconds of the day, rounded to the millisecond
// with a carry into the next day, so that decoding and formatting never show 24:00:00.
#include "platform/rtl/Types.h"

struct TDateSplit {
  Int64 Days = 0;   // days from 1899-12-30
  Int64 MSecs = 0;  // 0 .. 86 399 999
};

TDateSplit SplitDateTime(TDateTime value);
