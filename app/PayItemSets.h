#pragma once
// The pay-item sets of the months: completing them at start and giving a new
// month a copy of a model month's items.
#include "platform/rtl/Types.h"

// Gives the default set "BASE", and every month that has items of its own, a
// row for each of the 45 item columns GZ1..GZ30 and KK1..KK15 that lacks one:
// a disabled item "工资项目" without formula. Failures are ignored, one month
// at a time.
void StructUpdate();

// Replaces the items of Target by a copy of Source's items, or of "BASE" when
// Source has none; both steps take effect together or not at all. A failure
// is shown and gives false.
bool AddBaseGZSet(const String& Target, const String& Source);

// Whether Month names the default set "BASE", in any letter case, as the
// database compares month names; no month may be called so.
bool IsBaseItemSet(const String& Month);
