#pragma once
// Connection strings: "Key=Value" pairs separated by ';'. Keys compare without case;
// a value may be quoted with " or ' to hold ';' (a doubled quote stands for one).
#include "platform/rtl/Types.h"

// The value of Key, trimmed; empty when the key is absent.
String ConnectionStringValue(const String& ConnectionString, const String& Key);
