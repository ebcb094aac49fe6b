#include "dbgrid/DBGridXTitleCaption.h"
#include "dbgrid/DBGridX.h"
#include "dbgrid/DBGridXUnmirrored.h"
#include "platform/ui/DrawingRoutines.h"
#include <QFontMetrics>
#include <limits>

namespace {

bool IsIdeograph(QChar C) { return C.unicode() >= 0x2E80; }

// Beyond this many break points a paragraph is broken line by line instead of evenly: the
// even breaking compares every pair of break points.
constexpr qsizetype MaxEvenBreakPoints = 64;

class TParagraphBreaker {
public:
  TParagraphBreaker(const QFontMetrics& Metrics, const String& Paragraph) : FMetrics(Metrics), FText(Paragraph) {
    // A line may start after a run of spaces, and before or after an ideograph (never inside
    // a surrogate pair); the end of the text closes the last line.
    FPoints.push_back(0);
    for (qsizetype i = 1; i < FText.size(); ++i) {
      const QChar before = FText[i - 1], at = FText[i];
      if (at == u' ' || at.isLowSurrogate()) continue;
      if (before == u' ' || IsIdeograph(before) || IsIdeograph(at)) FPoints.push_back(i);
    }
    FPoints.push_back(FText.size());
    const size_t count = FPoints.size();
    FWidths.assign(count * count, -1);
  }

  QStringList Lines(Integer Width) {
    const size_t last = FPoints.size() - 1;
    if (LineWidth(0, last) <= Width) return {Line(0, last)};
    const std::vector<size_t> greedy = GreedyBreaks(Width);
    if (Integer(FPoints.size()) > MaxEvenBreakPoints) return LinesAt(greedy);
    return LinesAt(EvenBreaks(greedy.size() - 1));
  }

private:
  String Line(size_t From, size_t To) const {
    String text = FText.mid(FPoints[From], FPoints[To] - FPoints[From]);
    qsizetype n = text.size();
    while (n > 0 && text[n - 1] == u' ') --n;
    text.truncate(n);
    return text;
  }

  Integer LineWidth(size_t From, size_t To) {
    Integer& width = FWidths[From * FPoints.size() + To];
    if (width < 0) width = FMetrics.horizontalAdvance(Line(From, To));
    return width;
  }

  // Each line takes as much as fits (at least one piece): the fewest lines there can be.
  std::vector<size_t> GreedyBreaks(Integer Width) {
    std::vector<size_t> breaks{0};
    const size_t last = FPoints.size() - 1;
    for (size_t from = 0; from < last;) {
      size_t to = from + 1;
      while (to < last && LineWidth(from, to + 1) <= Width) ++to;
      breaks.push_back(to);
      from = to;
    }
    return breaks;
  }

  // The breaks into LineCount lines whose widest line is as narrow as can be; among those the
  // most even (least sum of squared widths), and among those the one with the longest last
  // line, which puts a shorter line first.
  std::vector<size_t> EvenBreaks(size_t LineCount) {
    const size_t count = FPoints.size();
    const size_t last = count - 1;
    constexpr Integer none = std::numeric_limits<Integer>::max();
    std::vector<std::vector<Integer>> widest(LineCount + 1, std::vector<Integer>(count, none));
    widest[0][0] = 0;
    for (size_t lines = 1; lines <= LineCount; ++lines)
      for (size_t to = 1; to < count; ++to)
        for (size_t from = 0; from < to; ++from)
          if (widest[lines - 1][from] != none)
            widest[lines][to] = std::min(widest[lines][to], std::max(widest[lines - 1][from], LineWidth(from, to)));
    const Integer bound = widest[LineCount][last];
    constexpr Int64 unreachable = std::numeric_limits<Int64>::max();
    std::vector<std::vector<Int64>> squares(LineCount + 1, std::vector<Int64>(count, unreachable));
    squares[0][0] = 0;
    for (size_t lines = 1; lines <= LineCount; ++lines)
      for (size_t to = 1; to < count; ++to)
        for (size_t from = 0; from < to; ++from) {
          const Integer width = LineWidth(from, to);
          if (squares[lines - 1][from] == unreachable || width > bound) continue;
          squares[lines][to] = std::min(squares[lines][to], squares[lines - 1][from] + Int64(width) * width);
        }
    std::vector<size_t> breaks(LineCount + 1, 0);
    breaks[LineCount] = last;
    for (size_t lines = LineCount; lines > 1; --lines) {
      const size_t to = breaks[lines];
      for (size_t from = 0; from < to; ++from) {
        const Integer width = LineWidth(from, to);
        if (squares[lines - 1][from] != unreachable && width <= bound &&
            squares[lines - 1][from] + Int64(width) * width == squares[lines][to]) {
          breaks[lines - 1] = from;
          break;
        }
      }
    }
    return breaks;
  }

  QStringList LinesAt(const std::vector<size_t>& Breaks) const {
    QStringList lines;
    for (size_t i = 1; i < Breaks.size(); ++i) lines << Line(Breaks[i - 1], Breaks[i]);
    return lines;
  }

  const QFontMetrics& FMetrics;
  const String FText;
  std::vector<qsizetype> FPoints;
  std::vector<Integer> FWidths;
};

}  // namespace

QStringList TitleCaptionLines(const QFontMetrics& Metrics, const String& Caption, Integer Width) {
  String normal = Caption;
  normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
  QStringList lines;
  for (const String& paragraph : normal.split(u'\n')) {
    if (paragraph.isEmpty()) lines << paragraph;
    else lines << TParagraphBreaker(Metrics, paragraph).Lines(Width);
  }
  return lines;
}

Integer TitleCaptionHeight(TCanvas* Canvas, const String& Caption, Integer Width) {
  const QFontMetrics metrics(Canvas->Font()->ToQFont());
  return Integer(TitleCaptionLines(metrics, Caption, Width).size()) * metrics.height();
}

void DrawTitleCaption(TCanvas* Canvas, const String& Caption, const TRect& R, TAlignment Alignment,
                      bool EndEllipsis) {
  const QFontMetrics metrics(Canvas->Font()->ToQFont());
  const QStringList lines = TitleCaptionLines(metrics, Caption, R.Width());
  const Integer height = Integer(lines.size()) * metrics.height();
  TRect text = R;
  text.Top = R.Top + std::max(0, (R.Height() - height) / 2);
  Cardinal format = DT_NOPREFIX | (EndEllipsis ? DT_END_ELLIPSIS : 0);
  if (Alignment == taRightJustify) format |= DT_RIGHT;
  else if (Alignment == taCenter) format |= DT_CENTER;
  const Integer saved = Canvas->SaveState();
  Canvas->IntersectClipRect(R);
  DrawText(Canvas, lines.join(u'\n'), text, format);
  Canvas->RestoreState(saved);
}

void TCustomDBGridX::WriteTitleCaption(const TRect& R, Integer DX, const String& Caption, TAlignment Alignment,
                                       bool EndEllipsis, Integer Shift) {
  TCanvas* canvas = Canvas();
  canvas->FillRect(R);
  if (Caption.isEmpty()) return;
  // A right-to-left grid paints on a mirrored canvas; the caption is written unmirrored into
  // the cell's place on the screen, and right-to-left reading swaps the two alignments.
  if (canvas->Mirrored()) {
    if (UseRightToLeftAlignment()) {
      if (Alignment == taLeftJustify) Alignment = taRightJustify;
      else if (Alignment == taRightJustify) Alignment = taLeftJustify;
    }
    const TUnmirroredCanvas unmirrored(canvas, GridClientWidth());
    WriteTitleCaption(unmirrored.Place(R), DX, Caption, Alignment, EndEllipsis, -Shift);
    return;
  }
  const TRect text(R.Left + DX + Shift, R.Top, R.Right - (Alignment == taRightJustify ? 3 : DX) + Shift, R.Bottom);
  const TBrushStyle savedStyle = canvas->Brush()->Style();
  canvas->Brush()->SetStyle(bsClear);
  const Integer saved = canvas->SaveState();
  canvas->IntersectClipRect(R);
  DrawTitleCaption(canvas, Caption, text, Alignment, EndEllipsis);
  canvas->RestoreState(saved);
  canvas->Brush()->SetStyle(savedStyle);
}
