#pragma once
// Numbers in edits with a digit mask such as "999.99".
#include "platform/rtl/Types.h"

// Number preceded by blanks so that its decimal point meets the mask's: a masked
// edit lays a text in from the left, so "5.00" in "999.99" would read "5  .00".
String AlignToNumberMask(const String& Number, const String& Mask);
