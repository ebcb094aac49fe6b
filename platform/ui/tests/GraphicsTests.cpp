#include "platform/ui/DrawingRoutines.h"
#include "platform/ui/GraphicsJpeg.h"
#include "platform/ui/ImgList.h"
#include "platform/testing/TestPaths.h"
#include <gtest/gtest.h>

namespace {

// A white bitmap drawn with the classic colour table.
struct TPaper {
  TBitmap Bitmap;
  explicit TPaper(Integer W = 60, Integer H = 60) : Bitmap(W, H) {
    SetSystemTable(ClassicSystemTable());
    Bitmap.SetPixelFormat(pf32bit);
    Bitmap.Canvas()->Brush()->SetColor(clWhite);
    Bitmap.Canvas()->FillRect(Rect(0, 0, W, H));
  }
  TCanvas* Canvas() { return Bitmap.Canvas(); }
  TColor At(Integer X, Integer Y) { return QColorToColor(Bitmap.Image().pixelColor(X, Y)); }
  // Whether any pixel of the area is darker than mid grey.
  bool InkIn(const TRect& R) {
    const QImage& img = Bitmap.Image();
    for (int y = std::max(0, R.Top); y < std::min(img.height(), R.Bottom); ++y)
      for (int x = std::max(0, R.Left); x < std::min(img.width(), R.Right); ++x)
        if (qGray(img.pixel(x, y)) < 128) return true;
    return false;
  }
};

void UseFont(TCanvas* Canvas, const char* Name, Integer Size) {
  Canvas->Font()->SetName(QString::fromUtf8(Name));
  Canvas->Font()->SetSize(Size);
  Canvas->Font()->SetColor(clBlack);
}

const TColor White = RGB(255, 255, 255), Black = 0, Face = RGB(0xC0, 0xC0, 0xC0), Shadow = RGB(0x80, 0x80, 0x80),
             Light = RGB(0xDF, 0xDF, 0xDF);

}  // namespace

TEST(Drawing, FilledRectanglesAndEdgesPutTheSchemeColoursOnTheirRings) {
  struct Case { Cardinal Edge; TColor OuterTop, InnerTop, InnerBottom, OuterBottom; };
  for (const Case& c : std::initializer_list<Case>{{EDGE_RAISED, Light, White, Shadow, Black},
                                                   {EDGE_SUNKEN, Shadow, Black, Light, White},
                                                   {EDGE_ETCHED, Shadow, White, Shadow, White},
                                                   {BDR_RAISEDINNER, White, Face, Face, Shadow}}) {
    TPaper paper;
    paper.Canvas()->Brush()->SetColor(clBtnFace);
    paper.Canvas()->FillRect(Rect(0, 0, 40, 20));
    TRect r(0, 0, 40, 20);
    DrawEdge(paper.Canvas(), r, c.Edge, BF_RECT | BF_ADJUST);
    EXPECT_EQ(paper.At(20, 0), c.OuterTop) << c.Edge;
    EXPECT_EQ(paper.At(20, 1), c.InnerTop) << c.Edge;
    EXPECT_EQ(paper.At(20, 18), c.InnerBottom) << c.Edge;
    EXPECT_EQ(paper.At(20, 19), c.OuterBottom) << c.Edge;
    EXPECT_EQ(paper.At(0, 10), c.OuterTop) << "left side takes the top colour";
    EXPECT_EQ(paper.At(20, 10), Face);
    const Integer rings = (c.Edge & BDR_OUTER) && (c.Edge & BDR_INNER) ? 2 : 1;
    EXPECT_EQ(r, TRect(rings, rings, 40 - rings, 20 - rings));
  }

  // Only the sides asked for, and the middle when asked.
  TPaper paper;
  TRect r(0, 0, 30, 30);
  DrawEdge(paper.Canvas(), r, EDGE_SUNKEN, BF_BOTTOM | BF_MIDDLE);
  EXPECT_EQ(paper.At(15, 0), Face);  // no top edge: the middle reaches the top
  EXPECT_EQ(paper.At(15, 29), White);
  EXPECT_EQ(paper.At(15, 28), Light);
  EXPECT_EQ(paper.At(15, 10), Face);
}

TEST(Drawing, FrameControlsDrawChecksArrowsAndButtonsByState) {
  struct Case { Cardinal Kind, State; TPoint Sample; TColor Expected; const char* What; };
  // A 13 x 13 check box: 2-pixel sunken frame, inside 2..10, the mark's first column at x 3 covers y 5..7.
  for (const Case& c : std::initializer_list<Case>{
         {DFC_BUTTON, DFCS_BUTTONCHECK, {3, 5}, White, "unchecked box is empty"},
         {DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED, {3, 5}, Black, "checked box has its mark"},
         {DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED, {2, 2}, White, "mark leaves the inside white"},
         {DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE, {3, 5}, Shadow, "inactive mark is grey"},
         {DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_INACTIVE, {2, 2}, Face, "inactive inside is button face"},
         {DFC_BUTTON, DFCS_BUTTON3STATE | DFCS_CHECKED, {3, 5}, Shadow, "grayed mark"},
         {DFC_BUTTON, DFCS_BUTTON3STATE | DFCS_CHECKED, {2, 2}, Face, "grayed inside"},
         {DFC_BUTTON, DFCS_BUTTONCHECK, {0, 6}, Shadow, "sunken outer edge"},
         {DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT, {0, 6}, Shadow, "flat frame"},
         {DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT, {1, 6}, White, "flat frame is one pixel"},
         {DFC_BUTTON, DFCS_BUTTONPUSH, {6, 0}, White, "raised soft button"},
         {DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED, {6, 0}, Shadow, "pushed button"},
         {DFC_SCROLL, DFCS_SCROLLCOMBOBOX, {6, 6}, Black, "combo arrow in the middle"},
         {DFC_SCROLL, DFCS_SCROLLCOMBOBOX, {3, 3}, Face, "button face around the arrow"},
         {DFC_SCROLL, DFCS_SCROLLCOMBOBOX, {5, 5}, Black, "a drop-down arrow is widest at its top"},
         {DFC_SCROLL, DFCS_SCROLLCOMBOBOX, {5, 7}, Face, "... and points down"},
         {DFC_SCROLL, DFCS_SCROLLUP, {5, 7}, Black, "an up arrow is widest at its foot"},
         {DFC_SCROLL, DFCS_SCROLLUP, {5, 5}, Face, "... and points up"},
         {DFC_SCROLL, DFCS_SCROLLLEFT, {7, 5}, Black, "a left arrow is widest at its right"},
         {DFC_SCROLL, DFCS_SCROLLRIGHT, {5, 5}, Black, "a right arrow is widest at its left"},
         {DFC_SCROLL, DFCS_SCROLLRIGHT, {7, 5}, Face, "... and points right"},
         {DFC_SCROLL, DFCS_SCROLLCOMBOBOX | DFCS_INACTIVE, {6, 6}, Shadow, "inactive arrow"},
         {DFC_SCROLL, DFCS_SCROLLUP | DFCS_PUSHED, {0, 6}, Shadow, "pushed scroll button is flat"}}) {
    TPaper paper(13, 13);
    TRect r(0, 0, 13, 13);
    DrawFrameControl(paper.Canvas(), r, c.Kind, c.State);
    EXPECT_EQ(paper.At(c.Sample.X, c.Sample.Y), c.Expected) << c.What;
  }
}

TEST(Drawing, SystemCheckBoxGlyphsComeInFourColumnsAndThreeRows) {
  TPaper paper;
  TBitmap boxes;
  LoadSystemCheckBoxes(&boxes);
  EXPECT_EQ(boxes.Width() / 4, 13);
  EXPECT_EQ(boxes.Height() / 3, 13);
  paper.Canvas()->Draw(0, 0, &boxes);
  EXPECT_EQ(paper.At(3, 5), White);        // unchecked
  EXPECT_EQ(paper.At(13 + 3, 5), Black);   // checked
  EXPECT_EQ(paper.At(26 + 2, 2), Face);    // pushed
}

TEST(Drawing, TurnedFontsRunUpwardFromTheirStartPoint) {
  TPaper paper(40, 120);
  UseFont(paper.Canvas(), "DejaVu Sans", 12);
  paper.Canvas()->Font()->SetOrientation(900);
  paper.Canvas()->Brush()->SetStyle(bsClear);
  paper.Canvas()->TextRect(Rect(0, 0, 40, 120), 5, 110, QStringLiteral("MMMMMM"));
  EXPECT_TRUE(paper.InkIn(Rect(0, 30, 40, 110)));
  EXPECT_FALSE(paper.InkIn(Rect(0, 111, 40, 120)));  // nothing below the start point
  EXPECT_FALSE(paper.InkIn(Rect(30, 0, 40, 120)));   // nor far to the right: the text stands up
}

TEST(Drawing, LinesLeaveOutTheirLastPixelAndDottedPensSetEveryOther) {
  TPaper paper;
  TCanvas* c = paper.Canvas();
  c->Pen()->SetColor(clBlack);
  c->MoveTo(0, 0);
  c->LineTo(10, 0);
  EXPECT_EQ(paper.At(9, 0), Black);
  EXPECT_EQ(paper.At(10, 0), White);
  c->Pen()->SetStyle(psDot);
  c->MoveTo(0, 5);
  c->LineTo(10, 5);
  for (Integer x = 0; x < 8; ++x) EXPECT_EQ(paper.At(x, 5), x % 2 == 0 ? Black : White) << x;
  c->Pen()->SetStyle(psSolid);
  c->Pen()->SetMode(pmXor);
  c->Pen()->SetColor(clWhite);
  c->MoveTo(0, 0);
  c->LineTo(10, 0);  // the same line again in XOR takes it away
  EXPECT_EQ(paper.At(5, 0), White);
}

// One call for all segments draws the pixels that the segments drawn one by one do.
TEST(Drawing, PolyPolylineDrawsWhatItsSegmentsDrawOneByOne) {
  const std::vector<std::vector<TPoint>> Lines = {
      {{2, 3}, {50, 3}, {50, 40}, {2, 40}}, {{5, 5}, {5, 5}, {45, 30}}, {{10, 50}, {58, 50}}, {{30, 0}, {30, 59}},
      {{0, 20}, {59, 20}}, {{12, 12}}};
  struct Pen { TPenStyle Style; Integer Width; TPenMode Mode; };
  for (const Pen& pen : {Pen{psSolid, 1, pmCopy}, Pen{psDot, 1, pmCopy}, Pen{psDash, 1, pmCopy},
                         Pen{psDashDot, 1, pmXor}, Pen{psSolid, 3, pmCopy}, Pen{psSolid, 1, pmXor}, Pen{psClear, 1, pmCopy}}) {
    TPaper together, apart;
    for (TCanvas* c : {together.Canvas(), apart.Canvas()}) {
      c->Pen()->SetColor(clBlue);
      c->Pen()->SetStyle(pen.Style);
      c->Pen()->SetWidth(pen.Width);
      c->Pen()->SetMode(pen.Mode);
      c->MoveTo(7, 7);
    }
    together.Canvas()->PolyPolyline(Lines);
    for (const auto& line : Lines) {
      apart.Canvas()->MoveTo(line[0].X, line[0].Y);
      for (size_t i = 1; i < line.size(); ++i) apart.Canvas()->LineTo(line[i].X, line[i].Y);
    }
    EXPECT_TRUE(together.Bitmap.Image() == apart.Bitmap.Image()) << pen.Style << " " << pen.Width << " " << pen.Mode;
    EXPECT_EQ(together.Canvas()->PenPos(), TPoint(7, 7));
  }
}

// Two thick lines that end at the same corner: flat caps leave the corner's outer square
// empty, square caps reach half the width beyond the end and cover it, round ones round it.
TEST(Drawing, SquareCapsCloseTheCornerWhereThickLinesMeet) {
  for (TPenEndCap cap : {pecFlat, pecSquare, pecRound}) {
    TPaper paper;
    TCanvas* c = paper.Canvas();
    TPen pen;
    pen.SetColor(clBlack);
    pen.SetWidth(6);
    pen.SetEndCap(cap);
    pen.SetJoinStyle(pjsBevel);
    c->Pen()->Assign(&pen);
    ASSERT_EQ(c->Pen()->EndCap(), cap);
    ASSERT_EQ(c->Pen()->JoinStyle(), pjsBevel);
    c->PolyPolyline({{{10, 40}, {40, 40}}, {{40, 40}, {40, 10}}});
    EXPECT_EQ(paper.InkIn(TRect(42, 42, 43, 43)), cap == pecSquare) << cap;
    EXPECT_TRUE(paper.InkIn(TRect(42, 20, 43, 22))) << "the line's own width";
    EXPECT_EQ(paper.InkIn(TRect(40, 8, 41, 9)), cap != pecFlat) << "beyond the free end";
  }
}

// The canvas sets only the painter state that changed; what drawing calls and other users of
// the painter change must not leak into the next call.
TEST(Drawing, CanvasStateHoldsAfterDirectPainterUseAndRepeatedFills) {
  TPaper paper;
  TCanvas* c = paper.Canvas();
  QPainter* p = c->Handle();
  p->setPen(QColor(Qt::red));
  p->setBrush(QColor(Qt::green));
  p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  c->Pen()->SetColor(clBlack);
  c->MoveTo(0, 1);
  c->LineTo(10, 1);
  c->Brush()->SetColor(clBlue);
  c->FillRect(Rect(0, 5, 10, 10));
  c->Brush()->SetStyle(bsClear);
  c->Pen()->SetColor(clRed);
  c->Rectangle(Rect(20, 5, 30, 15));
  c->Brush()->SetColor(clYellow);
  c->FillRect(Rect(40, 5, 50, 15));
  EXPECT_EQ(paper.At(5, 1), Black);
  EXPECT_EQ(paper.At(5, 7), clBlue);
  EXPECT_EQ(paper.At(20, 10), clRed);
  EXPECT_EQ(paper.At(25, 10), White);  // the rectangle's clear brush
  EXPECT_EQ(paper.At(45, 10), clYellow);

  // A cell filled before its text is not filled twice, yet a fill the clip held back is redone.
  UseFont(c, "DejaVu Sans", 9);
  c->Brush()->SetColor(clAqua);
  c->IntersectClipRect(Rect(0, 20, 10, 40));
  c->FillRect(Rect(0, 20, 30, 40));
  c->SelectClipRegion(nullptr);
  c->TextRect(Rect(0, 20, 30, 40), 2, 22, QStringLiteral("x"));
  EXPECT_EQ(paper.At(25, 38), clAqua);
  TPaper filledFirst, textOnly;
  for (TPaper* paper2 : {&filledFirst, &textOnly}) {
    UseFont(paper2->Canvas(), "DejaVu Sans", 9);
    paper2->Canvas()->Brush()->SetColor(clAqua);
  }
  filledFirst.Canvas()->FillRect(Rect(0, 0, 40, 20));
  for (TPaper* paper2 : {&filledFirst, &textOnly})
    paper2->Canvas()->TextRect(Rect(0, 0, 40, 20), 3, 2, QStringLiteral("12:34"));
  EXPECT_TRUE(filledFirst.Bitmap.Image() == textOnly.Bitmap.Image());
  EXPECT_TRUE(textOnly.InkIn(Rect(0, 0, 40, 20)));
}

// Text in a cell shows exactly the pixels the unclipped text has inside the cell and none
// outside, whether it fits (drawn without a clip) or not.
TEST(Drawing, TextRectShowsTheTextInsideTheCellOnly) {
  struct Case { const char* font; TRect cell; Integer x, y; const char* text; };
  for (const Case& c : std::initializer_list<Case>{
         {"DejaVu Sans", Rect(5, 5, 105, 25), 7, 7, "123:45"},  {"DejaVu Sans", Rect(5, 5, 45, 25), 7, 7, "1234567890"},
         {"DejaVu Sans", Rect(5, 5, 105, 16), 7, 7, "Qypgj"},    {"DejaVu Sans", Rect(10, 5, 105, 25), 10, 7, "jÅ"},
         {"DejaVu Sans", Rect(5, 5, 105, 25), 7, 7, "AVAWAY"},    {"Noto Sans CJK SC", Rect(5, 5, 105, 25), 7, 7, "工资合计"},
         {"Noto Sans CJK SC", Rect(5, 5, 40, 25), 7, 7, "工资合计"}, {"DejaVu Sans", Rect(5, 5, 105, 25), 7, 7, "e\u0301x"}}) {
    TPaper clipped(120, 40), free(120, 40);
    for (TPaper* paper : {&clipped, &free}) {
      UseFont(paper->Canvas(), c.font, 9);
      paper->Canvas()->Brush()->SetStyle(bsClear);
    }
    const String text = QString::fromUtf8(c.text);
    clipped.Canvas()->TextRect(c.cell, c.x, c.y, text);
    free.Canvas()->TextOut(c.x, c.y, text);
    for (Integer y = 0; y < 40; ++y)
      for (Integer x = 0; x < 120; ++x) {
        const bool inside = x >= c.cell.Left && x < c.cell.Right && y >= c.cell.Top && y < c.cell.Bottom;
        ASSERT_EQ(clipped.At(x, y), inside ? free.At(x, y) : White) << c.text << " at " << x << "," << y;
      }
    EXPECT_TRUE(clipped.InkIn(c.cell)) << c.text;
  }
}

TEST(Drawing, FocusRectangleInvertsAlternatePixelsAndUndoesItself) {
  TPaper paper;
  DrawFocusRect(paper.Canvas(), Rect(10, 10, 30, 20));
  EXPECT_EQ(paper.At(10, 10), Black);
  EXPECT_EQ(paper.At(11, 10), White);
  EXPECT_EQ(paper.At(20, 15), White);
  DrawFocusRect(paper.Canvas(), Rect(10, 10, 30, 20));
  EXPECT_EQ(paper.At(10, 10), White);
}

TEST(Drawing, GradientRunsFromTheStartToTheEndColour) {
  TPaper paper;
  GradientFillRect(paper.Canvas(), Rect(0, 0, 11, 5), clBlack, clWhite, gdHorizontal);
  EXPECT_EQ(paper.At(0, 2), Black);
  EXPECT_EQ(paper.At(10, 2), White);
  EXPECT_EQ(GetRValue(paper.At(5, 2)), 127);
}

TEST(Drawing, CanvasClipAndOriginSurviveSaveAndRestore) {
  TPaper paper;
  TCanvas* c = paper.Canvas();
  const Integer saved = c->SaveState();
  c->SetWindowOrg({-10, -10});  // logical (0,0) lands at device (10,10)
  c->IntersectClipRect(Rect(0, 0, 5, 5));
  c->Brush()->SetColor(clRed);
  c->FillRect(Rect(0, 0, 20, 20));
  c->RestoreState(saved);
  c->Brush()->SetColor(clBlue);
  c->FillRect(Rect(40, 40, 50, 50));
  EXPECT_EQ(paper.At(12, 12), clRed);
  EXPECT_EQ(paper.At(16, 16), White);  // clipped away
  EXPECT_EQ(paper.At(45, 45), clBlue);  // clip and origin gone after the restore
  EXPECT_EQ(paper.At(2, 2), White);

  // Mirrored output for right-to-left layouts.
  c->SetMirrored(true, 60);
  c->Brush()->SetColor(clLime);
  c->FillRect(Rect(0, 0, 5, 5));
  c->SetMirrored(false, 0);
  EXPECT_EQ(paper.At(57, 2), clLime);
  EXPECT_EQ(paper.At(2, 2), White);
}

TEST(DrawText, CalcRectGivesTheHeightThatDrawingThenFills) {
  TPaper paper(200, 300);
  UseFont(paper.Canvas(), "DejaVu Sans", 10);
  const String text = QStringLiteral("one two three four five six seven eight nine ten");
  TRect calc(10, 10, 90, 10);
  const Integer height = DrawText(paper.Canvas(), text, calc, DT_CALCRECT | DT_WORDBREAK);
  const Integer line = paper.Canvas()->TextHeight(QStringLiteral("Wg"));
  ASSERT_GT(height, 2 * line);
  EXPECT_EQ(height % line, 0);
  EXPECT_EQ(calc.Height(), height);
  EXPECT_LE(calc.Width(), 80);
  EXPECT_FALSE(paper.InkIn(Rect(0, 0, 200, 300)));  // measuring draws nothing

  paper.Canvas()->Brush()->SetStyle(bsClear);
  TRect draw(10, 10, 90, 300);
  EXPECT_EQ(DrawText(paper.Canvas(), text, draw, DT_WORDBREAK), height);
  EXPECT_TRUE(paper.InkIn(Rect(10, 10 + height - line, 90, 10 + height)));  // the last line is there
  EXPECT_FALSE(paper.InkIn(Rect(0, 10 + height, 200, 300)));               // and nothing below it
  EXPECT_FALSE(paper.InkIn(Rect(90, 0, 200, 300)));

  // Chinese text breaks between characters.
  UseFont(paper.Canvas(), "Noto Sans CJK SC", 10);
  TRect cjk(0, 0, 60, 0);
  DrawText(paper.Canvas(), QStringLiteral("应发工资合计实发工资合计"), cjk, DT_CALCRECT | DT_WORDBREAK);
  EXPECT_GE(cjk.Height(), 2 * paper.Canvas()->TextHeight(QStringLiteral("工")));
  EXPECT_LE(cjk.Width(), 60);
}

TEST(DrawText, EndEllipsisShortensAndPrefixesAreTakenOut) {
  TPaper paper(200, 40);
  UseFont(paper.Canvas(), "DejaVu Sans", 10);
  const String text = QStringLiteral("A rather long column title");
  const String shortened = EllipsizeText(paper.Canvas(), text, 60);
  EXPECT_TRUE(shortened.endsWith(QStringLiteral("...")));
  EXPECT_LE(paper.Canvas()->TextWidth(shortened), 60);
  EXPECT_EQ(EllipsizeText(paper.Canvas(), QStringLiteral("ok"), 60), QStringLiteral("ok"));

  paper.Canvas()->Brush()->SetStyle(bsClear);
  TRect r(0, 0, 60, 20);
  DrawText(paper.Canvas(), text, r, DT_SINGLELINE | DT_NOCLIP | DT_END_ELLIPSIS);
  EXPECT_TRUE(paper.InkIn(Rect(0, 0, 60, 20)));
  EXPECT_FALSE(paper.InkIn(Rect(61, 0, 200, 20)));
  TRect overflow(0, 20, 60, 40);
  DrawText(paper.Canvas(), text, overflow, DT_SINGLELINE | DT_NOCLIP);
  EXPECT_TRUE(paper.InkIn(Rect(61, 20, 200, 40)));

  TRect prefixed(0, 0, 0, 0), plain(0, 0, 0, 0);
  DrawText(paper.Canvas(), QStringLiteral("&Save && exit"), prefixed, DT_CALCRECT | DT_SINGLELINE);
  DrawText(paper.Canvas(), QStringLiteral("&Save && exit"), plain, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  EXPECT_EQ(prefixed.Width(), paper.Canvas()->TextWidth(QStringLiteral("Save & exit")));
  EXPECT_EQ(plain.Width(), paper.Canvas()->TextWidth(QStringLiteral("&Save && exit")));
}

TEST(DrawText, AlignsInsideTheRectangle) {
  struct Case { Cardinal Format; TRect InkExpected, Empty; };
  for (const Case& c : std::initializer_list<Case>{
         {DT_SINGLELINE | DT_LEFT, Rect(0, 0, 30, 40), Rect(170, 0, 200, 40)},
         {DT_SINGLELINE | DT_RIGHT, Rect(170, 0, 200, 40), Rect(0, 0, 30, 40)},
         {DT_SINGLELINE | DT_CENTER | DT_VCENTER, Rect(85, 10, 115, 30), Rect(0, 0, 60, 40)},
         {DT_SINGLELINE | DT_BOTTOM, Rect(0, 25, 30, 40), Rect(0, 0, 200, 20)}}) {
    TPaper paper(200, 40);
    UseFont(paper.Canvas(), "DejaVu Sans", 10);
    paper.Canvas()->Brush()->SetStyle(bsClear);
    TRect r(0, 0, 200, 40);
    DrawText(paper.Canvas(), QStringLiteral("MMMM"), r, c.Format);
    EXPECT_TRUE(paper.InkIn(c.InkExpected)) << c.Format;
    EXPECT_FALSE(paper.InkIn(c.Empty)) << c.Format;
  }
}

TEST(Pictures, JpegPngAndBitmapsLoadByContentAndByExtension) {
  moli::testing::ScratchDir dir;
  QImage source(16, 16, QImage::Format_RGB32);
  source.fill(QColor(200, 30, 30));

  TJPEGImage jpeg;
  jpeg.SetImage(source);
  TMemoryStream stream;
  jpeg.SaveToStream(&stream);
  stream.SetPosition(0);
  TPicture picture;
  picture.LoadFromStream(&stream);
  ASSERT_NE(dynamic_cast<TJPEGImage*>(picture.Graphic()), nullptr);
  EXPECT_EQ(picture.Width(), 16);
  const QColor decoded = static_cast<TJPEGImage*>(picture.Graphic())->Image().pixelColor(8, 8);
  EXPECT_NEAR(decoded.red(), 200, 8);
  EXPECT_NEAR(decoded.green(), 30, 8);

  TPngImage png;
  png.SetImage(source);
  png.SaveToFile(dir.File(QStringLiteral("a.png")));
  picture.LoadFromFile(dir.File(QStringLiteral("a.png")));
  EXPECT_NE(dynamic_cast<TPngImage*>(picture.Graphic()), nullptr);

  TBitmap bmp;
  bmp.SetImage(source);
  bmp.SaveToFile(dir.File(QStringLiteral("a.bmp")));
  picture.LoadFromFile(dir.File(QStringLiteral("a.bmp")));
  ASSERT_NE(dynamic_cast<TBitmap*>(picture.Graphic()), nullptr);
  EXPECT_EQ(QColorToColor(picture.Bitmap()->Image().pixelColor(3, 3)), RGB(200, 30, 30));

  // Damaged or unknown data is reported, not drawn.
  TMemoryStream garbage;
  garbage.WriteBuffer(QByteArray("\xFF\xD8garbage", 9));
  garbage.SetPosition(0);
  EXPECT_THROW(picture.LoadFromStream(&garbage), EInvalidGraphic);
  EXPECT_THROW(picture.LoadFromFile(dir.File(QStringLiteral("a.xyz"))), EInvalidGraphic);
}

TEST(Bitmaps, ScanLinesTransparencyAndTransparentDrawing) {
  TBitmap bmp(4, 2);
  bmp.SetPixelFormat(pf24bit);
  bmp.Canvas()->Brush()->SetColor(RGB(1, 2, 3));
  bmp.Canvas()->FillRect(Rect(0, 0, 4, 2));
  const uchar* row = bmp.ScanLine(0);
  EXPECT_EQ(row[0], 3);  // blue first
  EXPECT_EQ(row[2], 1);
  EXPECT_THROW(bmp.ScanLine(2), EInvalidGraphicOperation);

  bmp.Canvas()->Pixel(0, 0);
  bmp.Canvas()->SetPixel(0, 1, clFuchsia);  // bottom-left decides the transparent colour
  EXPECT_EQ(bmp.TransparentColor(), clFuchsia);
  bmp.SetTransparent(true);
  TPaper paper(10, 10);
  paper.Canvas()->Draw(2, 2, &bmp);
  EXPECT_EQ(paper.At(2, 3), White);
  EXPECT_EQ(paper.At(3, 3), RGB(1, 2, 3));
}

TEST(ImageLists, MaskedImagesDrawNormallyBlendedAndDisabled) {
  TImageList list(nullptr);
  list.SetSize(4, 4);
  TBitmap strip(8, 4);  // two images
  strip.Canvas()->Brush()->SetColor(clFuchsia);
  strip.Canvas()->FillRect(Rect(0, 0, 8, 4));
  strip.Canvas()->Brush()->SetColor(clBlue);
  strip.Canvas()->FillRect(Rect(0, 0, 2, 4));
  strip.Canvas()->FillRect(Rect(4, 0, 8, 2));
  EXPECT_EQ(list.AddMasked(&strip, clFuchsia), 0);
  EXPECT_EQ(list.Count(), 2);

  TPaper paper(20, 20);
  list.Draw(paper.Canvas(), 0, 0, 0);
  EXPECT_EQ(paper.At(1, 1), clBlue);
  EXPECT_EQ(paper.At(3, 1), White);  // masked away

  list.Draw(paper.Canvas(), 10, 0, 0, false);
  EXPECT_EQ(paper.At(10, 0), Shadow);  // the shadow shape on top
  EXPECT_EQ(paper.At(12, 1), White);   // the highlight one pixel down-right

  list.SetBlendColor(clWhite);
  list.Draw(paper.Canvas(), 0, 10, 0, dsSelected, itImage, true);
  EXPECT_EQ(paper.At(1, 11), RGB(127, 127, 255));
  EXPECT_THROW(list.Delete(5), EInvalidOperation);
}
