#pragma once
// The binary form of a skin package inside a form description: a 32-bit byte count, then the
// package exactly as in a skin file.
#include "platform/rtl/Classes.h"
#include <QByteArray>

// Writes the count and the package (only the count, 0, for an empty package).
void WriteSkinStream(TStream* Stream, const QByteArray& Package);
// Reads what WriteSkinStream wrote; a count of 0 or less reads as no package. Raises
// EReadError when the stream holds fewer bytes than its count says.
QByteArray ReadSkinStream(TStream* Stream);
