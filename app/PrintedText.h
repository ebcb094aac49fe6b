#pragma once
// Lengths of printed text: printouts count bytes of code page 936, where a Chinese
// character takes 2.
#include "platform/rtl/Types.h"

Integer GbkLength(const String& Text);
