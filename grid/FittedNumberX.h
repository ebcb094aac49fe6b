#pragma once
// A number too wide for its cell is never shown cut: with its leading digits clipped away it
// would read as another number. It shows as a mark no one reads as an amount instead.
#include "platform/ui/Graphics.h"

// Digits with an optional sign, currency sign, thousands separators, decimals and per cent.
bool IsNumberText(const String& Text);
// Text itself when it is no number or fits in Room pixels of the canvas's font, else "###".
String FittedNumberText(TCanvas* Canvas, const String& Text, Integer Room);
