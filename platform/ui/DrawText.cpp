#include "platform/ui/DrawingRoutines.h"
#include <QFontMetrics>

namespace {

struct TTextLine {
  String Text;
  Integer MnemonicIndex = -1;  // index of the character to underline, -1 for none
};

// Removes single '&' prefixes ("&&" stands for one '&') and remembers the underlined character.
TTextLine StripPrefix(const String& Text, bool KeepPrefix) {
  TTextLine line;
  if (KeepPrefix) {
    line.Text = Text;
    return line;
  }
  line.Text.reserve(Text.size());
  for (qsizetype i = 0; i < Text.size(); ++i) {
    if (Text[i] == u'&' && i + 1 < Text.size()) {
      ++i;
      if (Text[i] != u'&' && line.MnemonicIndex < 0) line.MnemonicIndex = Integer(line.Text.size());
    }
    line.Text += Text[i];
  }
  return line;
}

class TTextLayout {
public:
  TTextLayout(const QFontMetrics& Fm, Cardinal Format, Integer TabChars)
      : FFm(Fm), FFormat(Format), FTabWidth(std::max(1, Fm.averageCharWidth() * (TabChars > 0 ? TabChars : 8))) {}

  Integer Width(const String& Text) const {
    if (!(FFormat & DT_EXPANDTABS) || !Text.contains(u'\t')) return FFm.horizontalAdvance(Text);
    Integer x = 0;
    const QStringList parts = Text.split(u'\t');
    for (qsizetype i = 0; i < parts.size(); ++i) {
      x += FFm.horizontalAdvance(parts[i]);
      if (i + 1 < parts.size()) x = (x / FTabWidth + 1) * FTabWidth;
    }
    return x;
  }

  // Segments of a line with their x offsets, tabs expanded.
  std::vector<std::pair<Integer, String>> Segments(const String& Text) const {
    if (!(FFormat & DT_EXPANDTABS)) return {{0, String(Text).replace(u'\t', u' ')}};
    std::vector<std::pair<Integer, String>> out;
    Integer x = 0;
    const QStringList parts = Text.split(u'\t');
    for (qsizetype i = 0; i < parts.size(); ++i) {
      out.emplace_back(x, parts[i]);
      x += FFm.horizontalAdvance(parts[i]);
      if (i + 1 < parts.size()) x = (x / FTabWidth + 1) * FTabWidth;
    }
    return out;
  }

  // Breaks one paragraph into lines no wider than MaxWidth: at spaces, and between
  // ideographs, which need no space to break. A word wider than the line stays whole
  // unless the edit-control flag asks for breaking it.
  QStringList Wrap(const String& Paragraph, Integer MaxWidth) const {
    QStringList lines;
    String current;
    qsizetype i = 0;
    while (i < Paragraph.size()) {
      qsizetype j = i;
      if (IsIdeograph(Paragraph[i])) {
        j = i + 1;
      } else {
        while (j < Paragraph.size() && Paragraph[j] != u' ' && !IsIdeograph(Paragraph[j])) ++j;
        while (j < Paragraph.size() && Paragraph[j] == u' ') ++j;
        if (j == i) j = i + 1;
      }
      const String word = Paragraph.mid(i, j - i);
      const String candidate = current + word;
      if (current.isEmpty() || Width(TrimmedRight(candidate)) <= MaxWidth) {
        current = candidate;
      } else {
        lines << TrimmedRight(current);
        current = word;
      }
      if ((FFormat & DT_EDITCONTROL) && Width(TrimmedRight(current)) > MaxWidth && current.size() > 1) {
        String head = current;
        while (head.size() > 1 && Width(head) > MaxWidth) head.chop(1);
        lines << head;
        current = current.mid(head.size());
      }
      i = j;
    }
    lines << TrimmedRight(current);
    return lines;
  }

private:
  static bool IsIdeograph(QChar c) { return c.unicode() >= 0x2E80; }
  static String TrimmedRight(const String& s) {
    qsizetype n = s.size();
    while (n > 0 && s[n - 1] == u' ') --n;
    return s.left(n);
  }
  const QFontMetrics& FFm;
  Cardinal FFormat;
  Integer FTabWidth;
};

}  // namespace

String EllipsizeText(TCanvas* Canvas, const String& Text, Integer Width) {
  const QFontMetrics fm(Canvas->Font()->ToQFont());
  if (fm.horizontalAdvance(Text) <= Width) return Text;
  const String dots = QStringLiteral("...");
  String head = Text;
  while (!head.isEmpty() && fm.horizontalAdvance(head + dots) > Width) head.chop(1);
  return head + dots;
}

Integer DrawTextEx(TCanvas* Canvas, const String& Text, TRect& R, Cardinal Format, TDrawTextParams* Params) {
  const QFont font = Canvas->Font()->ToQFont();
  const QFontMetrics fm(font);
  const TTextLayout layout(fm, Format, Params ? Params->iTabLength : 0);
  const Integer leftMargin = Params ? Params->iLeftMargin : 0;
  const Integer rightMargin = Params ? Params->iRightMargin : 0;
  TRect box(R.Left + leftMargin, R.Top, R.Right - rightMargin, R.Bottom);
  const Integer lineHeight = fm.height() + ((Format & DT_EXTERNALLEADING) ? std::max(0, fm.leading()) : 0);

  // Lines: one for single-line text (line breaks show as nothing), else one per paragraph,
  // each wrapped to the box width when word breaking.
  std::vector<TTextLine> lines;
  if (Format & DT_SINGLELINE) {
    String flat = Text;
    flat.remove(u'\r').replace(u'\n', u' ');
    lines.push_back(StripPrefix(flat, Format & DT_NOPREFIX));
  } else {
    String normal = Text;
    normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    for (const String& paragraph : normal.split(u'\n')) {
      const TTextLine stripped = StripPrefix(paragraph, Format & DT_NOPREFIX);
      if (Format & DT_WORDBREAK) {
        for (const String& piece : layout.Wrap(stripped.Text, box.Width())) lines.push_back({piece, -1});
      } else {
        lines.push_back(stripped);
      }
    }
  }
  if (Format & DT_END_ELLIPSIS)
    for (TTextLine& line : lines)
      if (layout.Width(line.Text) > box.Width()) line = {EllipsizeText(Canvas, line.Text, box.Width()), -1};
  if (Params) Params->uiLengthDrawn = Cardinal(Text.size());

  const Integer textHeight = lineHeight * Integer(lines.size());
  if (Format & DT_CALCRECT) {
    Integer widest = 0;
    for (const TTextLine& line : lines) widest = std::max(widest, layout.Width(line.Text));
    R.Right = R.Left + leftMargin + widest + rightMargin;
    R.Bottom = R.Top + textHeight;
    return textHeight;
  }

  Integer top = box.Top;
  if (Format & DT_SINGLELINE) {
    if (Format & DT_VCENTER) top = box.Top + (box.Height() - lineHeight) / 2;
    else if (Format & DT_BOTTOM) top = box.Bottom - lineHeight;
  }
  QPainter* p = Canvas->Handle();
  if (p) {
    p->save();
    if (!(Format & DT_NOCLIP)) p->setClipRect(QRect(R.Left, R.Top, R.Width(), R.Height()), p->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    const bool opaque = Canvas->Brush()->Style() != bsClear;
    const bool rtl = Format & DT_RTLREADING;
    p->setLayoutDirection(rtl ? Qt::RightToLeft : Qt::LeftToRight);
    p->setPen(ColorToQColor(Canvas->Font()->Color()));
    Integer y = top;
    for (const TTextLine& line : lines) {
      const Integer w = layout.Width(line.Text);
      Integer x = box.Left;
      if (Format & DT_CENTER) x = box.Left + (box.Width() - w) / 2;
      else if (Format & DT_RIGHT) x = box.Right - w;
      if (opaque) p->fillRect(QRect(x, y, w, lineHeight), Canvas->Brush()->ToQBrush());
      for (const auto& [offset, segment] : layout.Segments(line.Text))
        p->drawText(QRect(x + offset, y, w - offset, lineHeight),
                    int(Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | (rtl ? Qt::TextForceRightToLeft : Qt::TextForceLeftToRight)),
                    segment);
      if (line.MnemonicIndex >= 0 && !(Format & DT_HIDEPREFIX)) {
        const Integer ux = x + layout.Width(line.Text.left(line.MnemonicIndex));
        const Integer uw = fm.horizontalAdvance(line.Text.mid(line.MnemonicIndex, 1));
        p->fillRect(QRect(ux, y + fm.ascent() + 1, uw, 1), p->pen().color());
      }
      y += lineHeight;
    }
    p->restore();
  }
  if (Format & DT_SINGLELINE && (Format & (DT_VCENTER | DT_BOTTOM))) return top + lineHeight - R.Top;
  return textHeight;
}

Integer DrawText(TCanvas* Canvas, const String& Text, TRect& R, Cardinal Format) {
  return DrawTextEx(Canvas, Text, R, Format, nullptr);
}
