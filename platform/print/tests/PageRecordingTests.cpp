#include "platform/print/PageRecording.h"
#include "platform/ui/RichEdit.h"
#include <QPainter>
#include <gtest/gtest.h>

namespace {

// A scene with fills, lines, a clip, a mapping and text, drawn through the canvas routines.
void DrawScene(TCanvas* C) {
  C->Brush()->SetColor(clWhite);
  C->FillRect(TRect(0, 0, 400, 300));
  C->Brush()->SetColor(clRed);
  C->FillRect(TRect(100, 100, 300, 200));
  C->Pen()->SetColor(clBlue);
  C->MoveTo(10, 250);
  C->LineTo(390, 250);
  C->SetClipRect(TRect(0, 0, 200, 300));
  C->Brush()->SetColor(clLime);
  C->FillRect(TRect(150, 20, 250, 60));  // half of it is clipped away
  C->SetClipRect(TRect(0, 0, 400, 300));
  C->Font()->SetName(QStringLiteral("DejaVu Sans"));
  C->Font()->SetHeight(-20);
  C->Brush()->SetStyle(bsClear);
  C->TextOut(20, 210, QStringLiteral("Page 1 第 1 页"));
}

QImage Recorded(const TPageRecording& Page, Integer W, Integer H, double Scale, const TRect* TargetClip = nullptr) {
  TBitmap target(W, H);
  target.Canvas()->Brush()->SetColor(clWhite);
  target.Canvas()->FillRect(TRect(0, 0, W, H));
  if (TargetClip) target.Canvas()->SetClipRect(*TargetClip);
  Page.Replay(target.Canvas(), Scale, Scale);
  return target.Image().convertToFormat(QImage::Format_RGB32);
}

}  // namespace

TEST(PageRecording, ReplaysExactlyWhatWasDrawn) {
  TBitmap direct(400, 300);
  DrawScene(direct.Canvas());

  TPageRecording page(400, 300, 96, 96);
  {
    TRecordingCanvas canvas(&page);
    DrawScene(&canvas);
  }
  EXPECT_GT(page.OperationCount(), 4);
  EXPECT_EQ(Recorded(page, 400, 300, 1), direct.Image().convertToFormat(QImage::Format_RGB32));
}

TEST(PageRecording, ReplayScalesAndKeepsTheTargetClip) {
  TPageRecording page(400, 300, 600, 600);
  {
    TRecordingCanvas canvas(&page);
    DrawScene(&canvas);
  }
  // Half size: the red box lands at (50, 50)-(150, 100), the clipped green one stops at 100.
  const QImage half = Recorded(page, 200, 150, 0.5);
  EXPECT_EQ(half.pixel(60, 60), qRgb(255, 0, 0));
  EXPECT_EQ(half.pixel(140, 95), qRgb(255, 0, 0));
  EXPECT_EQ(half.pixel(155, 60), qRgb(255, 255, 255));
  EXPECT_EQ(half.pixel(90, 20), qRgb(0, 255, 0));
  EXPECT_EQ(half.pixel(110, 20), qRgb(255, 255, 255));

  // The page's own clip settings do not widen the clip the target has.
  const TRect clip(0, 0, 120, 300);
  const QImage clipped = Recorded(page, 400, 300, 1, &clip);
  EXPECT_EQ(clipped.pixel(110, 150), qRgb(255, 0, 0));
  EXPECT_EQ(clipped.pixel(130, 150), qRgb(255, 255, 255));
}

TEST(PageRecording, CanvasFontsAreSizedForTheRecordingResolution) {
  TPageRecording page(4676, 6744, 600, 600);
  TRecordingCanvas canvas(&page);
  canvas.Font()->SetSize(9);
  EXPECT_EQ(canvas.Font()->Height(), -75);  // 9 pt at 600 dpi
  EXPECT_EQ(canvas.DeviceSize(), (TSize{4676, 6744}));
  canvas.Font()->SetName(QStringLiteral("DejaVu Sans"));
  const Integer wide = canvas.TextWidth(QStringLiteral("Payroll"));
  TBitmap screen(10, 10);
  screen.Canvas()->Font()->SetName(QStringLiteral("DejaVu Sans"));
  screen.Canvas()->Font()->SetSize(9);
  EXPECT_NEAR(double(wide) / screen.Canvas()->TextWidth(QStringLiteral("Payroll")), 600.0 / 96, 0.6);
}

TEST(PageRecording, AFinishedCanvasRecordsNothingMore) {
  TPageRecording page(100, 100, 96, 96);
  TRecordingCanvas canvas(&page);
  canvas.FillRect(TRect(0, 0, 10, 10));
  const Integer count = page.OperationCount();
  canvas.Finish();
  canvas.FillRect(TRect(0, 0, 10, 10));
  EXPECT_EQ(page.OperationCount(), count);
}

TEST(PageRecording, RichTextPaginatedIntoPagesHoldsEveryLineOnce) {
  TRichEdit edit(nullptr);
  edit.Font()->SetName(QStringLiteral("Noto Sans CJK SC"));
  edit.Font()->SetSize(10);
  QStringList lines;
  for (int i = 1; i <= 150; ++i) lines << QStringLiteral("第 %1 行 工资明细").arg(i);
  edit.Lines()->SetText(lines.join(QStringLiteral("\r\n")));

  // Three pages of 600-dpi paper, each area high enough for about 55 lines.
  TFormatRange range;
  range.PixelsPerInchX = range.PixelsPerInchY = 600;
  range.Rect = TRect(0, 0, 4000, 55 * 10 * 600 / 72 * 14 / 10);
  std::vector<std::unique_ptr<TPageRecording>> pages;
  Integer next = 0;
  while (next < edit.TextLength() && pages.size() < 10) {
    pages.push_back(std::make_unique<TPageRecording>(4676, 6744, 600, 600));
    TRecordingCanvas canvas(pages.back().get());
    range.Canvas = &canvas;
    range.First = next;
    const TFormatRangeResult placed = edit.FormatRange(range);
    EXPECT_GT(placed.Next, next);
    EXPECT_LE(placed.Bottom, range.Rect.Bottom);
    next = placed.Next;
  }
  ASSERT_EQ(pages.size(), 3u);
  QString drawn;
  for (const auto& page : pages) drawn += page->Texts().join(QString());
  for (int i = 1; i <= 150; ++i)
    EXPECT_EQ(drawn.count(QStringLiteral("第 %1 行").arg(i)), 1) << i;
  EXPECT_EQ(drawn.count(QStringLiteral("工资明细")), 150);
}
