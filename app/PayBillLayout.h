#pragma once
// The choices behind a printed pay sheet: which template a month's items need, and where
// the template's numbered slots go.
#include "platform/rtl/Types.h"

// The template file name (in the program's RPT folder) for the stored attendance mode
// PrintDays, K visible deductions and G visible earnings.
String PayBillTemplateName(const String& PrintDays, Integer K, Integer G);

struct TPayBillLayout {
  // The program places the slots (few items); otherwise they stay where the template has them.
  bool Movable = false;
  // Slot widths in inches of the earnings and of the deductions.
  double EarningsWidth = 0;
  double DeductionsWidth = 0;
};

// Slots share 6 in among the earnings and 3 in among the deductions; with no item of a kind
// its one slot takes the whole width.
TPayBillLayout PayBillLayout(Integer K, Integer G);

// Left margin of the slots, in inches.
constexpr double PayBillSlotsLeft = 0.7;
