#pragma once
// Pieces of rich text the table export writes.
#include "platform/ui/Graphics.h"
#include <QByteArray>

// Backslash and braces escaped. A character outside ASCII goes in a group of its own as
// Unicode followed by its code page 936 bytes for readers that know only bytes
// ({\uc2\uN\'hh\'hh}); without a code page 936 form, "?" stands in for those bytes.
QByteArray RtfEscapedText(const String& Text);
// The colour as red, green and blue, each right-aligned in three characters ("%3d%3d%3d").
String RtfColorKey(TColor Color);
