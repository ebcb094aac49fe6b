#pragma once
// Repairs the text a PDF gives back when it is copied or searched. CJK fonts draw many
// common ideographs (一, 工, 页) with the same glyph as a radical character, and the PDF
// writer names a glyph by the lowest character that uses it, so the document's text map
// says "⼀" where "一" was printed. The map is rewritten to name the ideograph.
#include "platform/rtl/Types.h"

// Returns Pdf with the radical characters in its text maps (ToUnicode CMaps) replaced by the
// ideographs that share their glyphs. The size of the document does not change.
QByteArray RepairPdfTextMaps(const QByteArray& Pdf);
