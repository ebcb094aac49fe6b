#include "app/PrintedText.h"
#include "platform/rtl/Encodings.h"

Integer GbkLength(const String& Text) { return Integer(StringToGbk(Text).size()); }
