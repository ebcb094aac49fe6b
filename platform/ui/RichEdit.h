#pragma once
// The rich edit: a multi-line text whose characters carry their own font, size, style and
// colours. It streams rich text (the interchange format of RichTextFormat.h) and plain text
// in and out, works on lines, and lays a range of its text out on a canvas page by page.
// Positions count the characters of the text with every line break as one character.
#include "platform/ui/RichTextFormat.h"
#include "platform/ui/StdCtrls.h"

class QTextDocument;
class TRichEditLines;

enum TRichStreamFormat { sfRichText, sfPlainText };

// One call of the page layout: which characters go into which area of which canvas.
struct TFormatRange {
  TCanvas* Canvas = nullptr;    // drawn on when Render is set
  Integer PixelsPerInchX = 96;  // resolution the text is laid out at: the canvas's device
  Integer PixelsPerInchY = 96;
  TRect Rect;                   // the area, in the canvas's units
  Integer First = 0;            // the first character
  Integer Last = -1;            // the character after the range; -1: the end of the text
  bool Render = true;           // false: only measure
};

struct TFormatRangeResult {
  Integer Next = 0;    // the first character that was not placed; the range's end when all fit
  Integer Bottom = 0;  // the bottom of the lines placed
};

class TCustomRichEdit : public TCustomMemo {
public:
  explicit TCustomRichEdit(TComponent* AOwner);
  ~TCustomRichEdit() override;

  // The text with its formatting.
  QTextDocument* Document() const { return FDocument.get(); }
  // The lines; changing one keeps the formatting of the others. Loading and saving streams
  // rich text, or plain text when PlainText is set; a stream that is not rich text loads as
  // plain text.
  TStrings* Lines() const;
  bool PlainText() const { return FPlainText; }
  void SetPlainText(bool Value) { FPlainText = Value; }

  // Replaces the whole text with the bytes from the stream's position to its end. Plain
  // text is UTF-8, or GBK when it is not valid UTF-8; CR, LF and CR LF all end a line.
  // Raises ERichTextError when rich text was asked for and the bytes are not rich text.
  void StreamIn(TStream* Stream, TRichStreamFormat Format);
  // Writes the whole text: rich text, or plain UTF-8 text with CR LF line breaks.
  void StreamOut(TStream* Stream, TRichStreamFormat Format) const;

  Integer TextLength() const;
  // Lines end at paragraph and line breaks; there is always at least one.
  Integer LineCount() const;
  // Position of the line's first character; -1 when the line does not exist.
  Integer LineIndex(Integer Line) const;
  // Characters of the line, its break not counted; 0 for a line that does not exist.
  Integer LineLength(Integer Line) const;
  String LineText(Integer Line) const;
  // Replaces Length characters at Start with Text, in the format of the character before
  // Start; line breaks in Text ("\r\n", "\r" or "\n") start new lines.
  void ReplaceRange(Integer Start, Integer Length, const String& Text);
  // Position of the first occurrence of Text in [Start, End) (End -1: to the end); -1 when none.
  Integer FindText(const String& Text, Integer Start, Integer End, bool MatchCase, bool WholeWord) const;

  // Lays characters from Range.First into Range.Rect, line by line, until the next line
  // would cross the bottom. A first line taller than the area is placed clipped, so every
  // call places at least one line while text is left and a pagination loop always ends.
  TFormatRangeResult FormatRange(const TFormatRange& Range) const;

  void SetText(const String& Value) override;

  // The selection or the caret moved in the window.
  TNotifyEvent OnSelectionChange;
protected:
  QWidget* MakeEditWidget(QWidget* ParentWidget) override;
private:
  friend class TRichEditLines;
  QFont DefaultFont() const;
  void SetPlainDocument(const String& Value);
  void DocumentChanged();
  std::unique_ptr<QTextDocument> FDocument;
  std::unique_ptr<TRichEditLines> FRichLines;
  bool FPlainText = false;
  bool FSyncing = false;
};

class TRichEdit : public TCustomRichEdit {
public:
  using TCustomRichEdit::TCustomRichEdit;
  String ClassName() const override { return QStringLiteral("TRichEdit"); }
};
