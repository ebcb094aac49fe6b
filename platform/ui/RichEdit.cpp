#include "platform/ui/RichEdit.h"
#include "platform/rtl/Encodings.h"
#include "platform/ui/WrappedWidget.h"
#include <QPainter>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

namespace {

// Line breaks of every kind become the document's one break character.
String ToDocumentText(const String& Value) {
  String text = Value;
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(u'\r', u'\n');
  return text;
}

String FromDocumentText(const String& Value) {
  String text = Value;
  text.replace(u'\n', QStringLiteral("\r\n"));
  return text;
}

QTextCharFormat CharFormatOf(const QFont& Font) {
  QTextCharFormat format;
  format.setFontFamilies(QStringList{Font.family()});
  format.setFontPointSize(Font.pointSizeF());
  format.setFontWeight(Font.weight());
  format.setFontItalic(Font.italic());
  format.setFontUnderline(Font.underline());
  format.setFontStrikeOut(Font.strikeOut());
  return format;
}

// The format with its font fixed to the pixels its point size has at PixelsPerInch.
QTextCharFormat AtResolution(QTextCharFormat Format, const QFont& Default, Integer PixelsPerInch) {
  const double points = Format.fontPointSize() > 0 ? Format.fontPointSize() : Default.pointSizeF();
  Format.clearProperty(QTextFormat::FontPointSize);
  Format.setProperty(QTextFormat::FontPixelSize, std::max(1, int(std::lround(points * PixelsPerInch / 72.0))));
  return Format;
}

}  // namespace

// The lines of a rich edit, changed in place so the formatting of the rest stays.
class TRichEditLines : public TStrings {
public:
  explicit TRichEditLines(TCustomRichEdit* Edit) : FEdit(Edit) {}
  void Insert(Integer Index, const String& S) override {
    if (Index < 0) return;
    Integer at = FEdit->LineIndex(Index);
    if (at >= 0) {
      FEdit->ReplaceRange(at, 0, S + QStringLiteral("\n"));
      return;
    }
    at = FEdit->LineIndex(Index - 1);
    if (at < 0 || FEdit->LineLength(Index - 1) == 0) return;
    FEdit->ReplaceRange(at + FEdit->LineLength(Index - 1), 0, QStringLiteral("\n") + S);
  }
  void Delete(Integer Index) override {
    const Integer start = Index < 0 ? -1 : FEdit->LineIndex(Index);
    if (start < 0) return;
    const Integer next = FEdit->LineIndex(Index + 1);
    const Integer end = next >= 0 ? next : start + FEdit->LineLength(Index);
    FEdit->ReplaceRange(start, end - start, String());
  }
  void Clear() override { FEdit->SetPlainDocument(String()); }
  void LoadFromStream(TStream* Stream) override {
    const Int64 start = Stream->Position();
    if (FEdit->PlainText()) {
      FEdit->StreamIn(Stream, sfPlainText);
      return;
    }
    try {
      FEdit->StreamIn(Stream, sfRichText);
    } catch (const ERichTextError&) {
      Stream->SetPosition(start);
      FEdit->StreamIn(Stream, sfPlainText);
    }
  }
  void SaveToStream(TStream* Stream) override {
    FEdit->StreamOut(Stream, FEdit->PlainText() ? sfPlainText : sfRichText);
  }
protected:
  // A last line that is empty is where the next line would go, not a line.
  Integer GetCount() const override {
    const Integer count = FEdit->LineCount();
    return FEdit->LineLength(count - 1) == 0 ? count - 1 : count;
  }
  String Get(Integer Index) const override {
    if (Index < 0 || Index >= GetCount()) IndexError(Index);
    return FEdit->LineText(Index);
  }
  void Put(Integer Index, const String& S) override {
    const Integer start = Index < 0 ? -1 : FEdit->LineIndex(Index);
    if (start >= 0) FEdit->ReplaceRange(start, FEdit->LineLength(Index), S);
  }
  void SetTextStr(const String& Value) override { FEdit->SetPlainDocument(Value); }
private:
  TCustomRichEdit* FEdit;
};

TCustomRichEdit::TCustomRichEdit(TComponent* AOwner)
    : TCustomMemo(AOwner), FDocument(std::make_unique<QTextDocument>()), FRichLines(std::make_unique<TRichEditLines>(this)) {
  FDocument->setDocumentLayout(new QPlainTextDocumentLayout(FDocument.get()));
  FDocument->setUndoRedoEnabled(false);
}

TCustomRichEdit::~TCustomRichEdit() {
  // The widget must not outlive the document it shows.
  if (QPlainTextEdit* edit = TextEdit()) edit->setDocument(nullptr);
}

TStrings* TCustomRichEdit::Lines() const { return FRichLines.get(); }

QFont TCustomRichEdit::DefaultFont() const {
  QFont font(Font()->Name());
  font.setPointSize(std::max<Integer>(1, Font()->Size()));
  font.setBold(Font()->Style().Contains(fsBold));
  font.setItalic(Font()->Style().Contains(fsItalic));
  return font;
}

QWidget* TCustomRichEdit::MakeEditWidget(QWidget* ParentWidget) {
  auto* edit = new QPlainTextEdit(ParentWidget);
  edit->setDocument(FDocument.get());
  QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [edit] {
    if (auto* control = WrappingControl<TCustomRichEdit>(edit))
      control->WidgetTextChanged(FromDocumentText(edit->document()->toPlainText()));
  });
  QObject::connect(edit, &QPlainTextEdit::cursorPositionChanged, edit, [edit] {
    auto* control = WrappingControl<TCustomRichEdit>(edit);
    if (control && control->OnSelectionChange) control->OnSelectionChange(control);
  });
  return edit;
}

void TCustomRichEdit::SetText(const String& Value) {
  TCustomMemo::SetText(Value);
  if (!FSyncing && FDocument->toPlainText() != ToDocumentText(Text())) SetPlainDocument(Text());
}

void TCustomRichEdit::SetPlainDocument(const String& Value) {
  FDocument->clear();
  QTextCursor cursor(FDocument.get());
  cursor.insertText(ToDocumentText(Value), CharFormatOf(DefaultFont()));
  DocumentChanged();
}

// The control's text follows the document.
void TCustomRichEdit::DocumentChanged() {
  FSyncing = true;
  try {
    TCustomMemo::SetText(FromDocumentText(FDocument->toPlainText()));
  } catch (...) {
    FSyncing = false;
    throw;
  }
  FSyncing = false;
}

void TCustomRichEdit::StreamIn(TStream* Stream, TRichStreamFormat Format) {
  const QByteArray bytes = Stream->ReadRest();
  if (Format == sfPlainText) {
    SetPlainDocument(DecodeLegacyText(bytes));
    return;
  }
  ReadRichText(bytes, FDocument.get(), DefaultFont());
  DocumentChanged();
}

void TCustomRichEdit::StreamOut(TStream* Stream, TRichStreamFormat Format) const {
  Stream->WriteBuffer(Format == sfPlainText ? StringToUtf8(FromDocumentText(FDocument->toPlainText()))
                                            : WriteRichText(FDocument.get(), DefaultFont()));
}

Integer TCustomRichEdit::TextLength() const { return Integer(FDocument->characterCount() - 1); }

Integer TCustomRichEdit::LineCount() const { return Integer(FDocument->toPlainText().count(u'\n')) + 1; }

Integer TCustomRichEdit::LineIndex(Integer Line) const {
  if (Line < 0) return -1;
  const String text = FDocument->toPlainText();
  Integer at = 0;
  for (Integer i = 0; i < Line; ++i) {
    at = Integer(text.indexOf(u'\n', at));
    if (at < 0) return -1;
    ++at;
  }
  return at;
}

Integer TCustomRichEdit::LineLength(Integer Line) const { return Integer(LineText(Line).size()); }

String TCustomRichEdit::LineText(Integer Line) const {
  const Integer start = LineIndex(Line);
  if (start < 0) return String();
  const String text = FDocument->toPlainText();
  const Integer end = Integer(text.indexOf(u'\n', start));
  return text.mid(start, end < 0 ? -1 : end - start);
}

void TCustomRichEdit::ReplaceRange(Integer Start, Integer Length, const String& Text) {
  const Integer length = TextLength();
  Start = std::clamp<Integer>(Start, 0, length);
  Length = std::clamp<Integer>(Length, 0, length - Start);
  QTextCursor cursor(FDocument.get());
  cursor.setPosition(Start);
  cursor.setPosition(Start + Length, QTextCursor::KeepAnchor);
  cursor.insertText(ToDocumentText(Text));
  DocumentChanged();
}

Integer TCustomRichEdit::FindText(const String& Text, Integer Start, Integer End, bool MatchCase, bool WholeWord) const {
  if (Text.isEmpty()) return -1;
  QTextDocument::FindFlags flags;
  if (MatchCase) flags |= QTextDocument::FindCaseSensitively;
  if (WholeWord) flags |= QTextDocument::FindWholeWords;
  const QTextCursor found = FDocument->find(Text, std::max<Integer>(0, Start), flags);
  if (found.isNull()) return -1;
  if (End >= 0 && found.selectionEnd() > End) return -1;
  return Integer(found.selectionStart());
}

TFormatRangeResult TCustomRichEdit::FormatRange(const TFormatRange& Range) const {
  const Integer length = TextLength();
  const Integer last = Range.Last < 0 || Range.Last > length ? length : Range.Last;
  TFormatRangeResult result{std::clamp<Integer>(Range.First, 0, length), Range.Rect.Top};
  if (result.Next >= last) return result;

  QPainter* painter = Range.Render && Range.Canvas ? Range.Canvas->Handle() : nullptr;
  if (painter) {
    painter->save();
    painter->setClipRect(QRect(Range.Rect.Left, Range.Rect.Top, Range.Rect.Width(), Range.Rect.Height()),
                         painter->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
  }
  const QFont base = DefaultFont();
  QFont baseAtResolution = base;
  baseAtResolution.setPixelSize(std::max(1, int(std::lround(base.pointSizeF() * Range.PixelsPerInchY / 72.0))));
  const double width = std::max<Integer>(1, Range.Rect.Width());
  const double unitsX = Range.PixelsPerInchX / 72.0, unitsY = Range.PixelsPerInchY / 72.0;

  double y = Range.Rect.Top;
  bool placedAny = false;
  Integer pos = result.Next;
  for (QTextBlock block = FDocument->findBlock(pos); block.isValid() && pos < last; block = block.next()) {
    const Integer blockStart = Integer(block.position());
    const Integer textEnd = Integer(block.length()) - 1;
    const Integer from = pos - blockStart;
    const Integer to = std::min(textEnd, last - blockStart);
    // Indents and spacing are points; the first-line indent and the space before belong to
    // the paragraph's start, the space after to its end, not to where a page cuts it. Space
    // after the last line on a page is dropped.
    const QTextBlockFormat paragraph = block.blockFormat();
    const double left = paragraph.leftMargin() * unitsX, right = paragraph.rightMargin() * unitsX;
    // A hanging first line goes no further left than the area.
    const double firstIndent = from == 0 ? std::max(-left, paragraph.textIndent() * unitsX) : 0;
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setTabStopDistance(Range.PixelsPerInchX / 2.0);
    option.setAlignment(paragraph.alignment() & Qt::AlignHorizontal_Mask);
    QTextLayout layout(block.text().mid(from, to - from), baseAtResolution);
    QList<QTextLayout::FormatRange> formats;
    for (const QTextLayout::FormatRange& f : block.textFormats()) {
      const Integer s = std::max<Integer>(f.start, from), e = std::min<Integer>(f.start + f.length, to);
      if (s < e) formats.append({int(s - from), int(e - s), AtResolution(f.format, base, Range.PixelsPerInchY)});
    }
    layout.setFormats(formats);
    layout.setTextOption(option);
    layout.beginLayout();
    std::vector<QTextLine> placed;
    bool full = false;
    double lineY = y + (from == 0 ? paragraph.topMargin() * unitsY : 0);
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
      const double indent = placed.empty() && from == 0 ? firstIndent : 0;
      line.setLineWidth(std::max(1.0, width - left - right - indent));
      if (placedAny && lineY + line.height() > Range.Rect.Bottom) {
        full = true;
        pos = blockStart + from + Integer(line.textStart());
        break;
      }
      line.setPosition(QPointF(left + indent, lineY));
      lineY += line.height();
      placedAny = true;
      placed.push_back(line);
    }
    layout.endLayout();
    if (!placed.empty()) y = lineY;
    if (painter)
      for (const QTextLine& line : placed) line.draw(painter, QPointF(Range.Rect.Left, 0));
    if (full) break;
    y = std::max(y, std::min<double>(y + paragraph.bottomMargin() * unitsY, Range.Rect.Bottom));
    pos = to == textEnd ? blockStart + Integer(block.length()) : blockStart + to;
  }
  if (painter) painter->restore();
  result.Next = std::min(pos, last);
  result.Bottom = Integer(std::ceil(y));
  return result;
}
