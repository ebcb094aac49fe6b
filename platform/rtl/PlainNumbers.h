#pragma once
// Numbers in the program's own fixed spelling ('.' as the point, 'e' before an exponent),
// read and written the same whatever locale the process runs under: the window system
// applies the user's locale to the C library, and a comma-decimal locale would otherwise
// turn "8000.01" into 8000.
#include "platform/rtl/Types.h"

// The value of a plain number such as "-12.5e3"; text that is not a number gives 0.
// Beyond the extended range the result is an infinity of the number's sign; below it, the
// nearest tiny value or zero.
Extended PlainTextToExtended(const char* text);

// The magnitude of a finite value as d.ddd…e±x with `significant` digits, correctly
// rounded; written into `buffer` (at least 64 bytes), returns the end.
char* PlainScientificDigits(Extended magnitude, int significant, char* buffer, char* bufferEnd);
