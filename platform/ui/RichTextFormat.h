#pragma once
// Rich text in the interchange format Windows-era programs exchange: a reader that fills a
// text document and a writer that produces it from one. Supported: the font and colour
// tables, bold, italic, underline, strike-out, font size, font, text and background colour,
// paragraphs with their alignment, indents and spacing (kept in the document's block formats
// in points), line breaks, tabs, code page 936 bytes and Unicode characters; destinations
// the reader does not know are skipped.
#include "platform/rtl/SysUtils.h"
#include <QByteArray>
#include <QFont>

class QTextDocument;

MOLI_DECLARE_EXCEPTION(ERichTextError, Exception)

// True when Bytes begin like rich text (after leading blanks).
bool LooksLikeRichText(const QByteArray& Bytes);
// Replaces Document's contents with the text of Bytes. Text without a font of its own takes
// DefaultFont. Raises ERichTextError, leaving Document empty, when Bytes are not rich text or
// nest groups deeper than any writer does. The load is not kept for undoing.
void ReadRichText(const QByteArray& Bytes, QTextDocument* Document, const QFont& DefaultFont);
// The document as rich text; characters without a font of their own are written in
// DefaultFont. Characters code page 936 has are written as its bytes, others as Unicode.
QByteArray WriteRichText(const QTextDocument* Document, const QFont& DefaultFont);
