#pragma once
// Colours in skin ini files are written as three decimal numbers, red, green and blue,
// separated by any non-digit characters ("240 240 240", "255,0,0").
#include "platform/rtl/Types.h"

// The colour the text spells; numbers are taken modulo 256, missing ones are 0, and numbers
// after the third are ignored. A text without digits is black.
TColor ColourTextToRGB(const String& text);
// The default for an empty text, else the colour the text spells.
TColor ColourOfText(const String& text, TColor defaultColour);
