#pragma once
// Captions mark their accelerator character with "&" ("&&" is a plain "&").
#include "platform/rtl/Types.h"

// The accelerator character of Caption, or a null character.
QChar GetHotkey(const String& Caption);
// Caption without its "&" marks.
String StripHotkey(const String& Caption);
// Whether CharCode, compared without case, is the accelerator of Caption.
bool IsAccel(Word CharCode, const String& Caption);
