// The grid module's shared images are drawn here from small pixel maps instead of being
// loaded from resources: each row is one line of the image, '#' the ink colour, '+' the
// second colour, '.' background (transparent).
#include "dbgrid/DBGridXGlobals.h"
#include "dbgrid/DBGridXFilterEdit.h"
#include "dbgrid/DBGridXFindDlgs.h"
#include "dbgrid/DBGridXInterceptors.h"
#include "platform/ui/Forms.h"
#include "platform/ui/SystemColors.h"
#include <algorithm>
#include <cmath>
#include <cstring>
#include <QCursor>

namespace {
std::unique_ptr<TDBGridXGlobals> GGlobals;
bool GInitialized = false;

constexpr TColor Teal = TColor(0x808000);
constexpr TColor Magenta = TColor(0xFF00FF);

// A bitmap of the pixel map on Background, the ink in Ink and '+' in Second.
std::unique_ptr<TBitmap> Picture(const std::vector<const char*>& Rows, TColor Ink, TColor Second, TColor Background) {
  auto bitmap = std::make_unique<TBitmap>();
  const Integer width = Integer(strlen(Rows.front()));
  bitmap->SetSize(width, Integer(Rows.size()));
  TCanvas* canvas = bitmap->Canvas();
  canvas->Brush()->SetColor(Background);
  canvas->FillRect(TRect(0, 0, width, Integer(Rows.size())));
  for (size_t y = 0; y < Rows.size(); ++y)
    for (Integer x = 0; x < width; ++x) {
      const char c = Rows[y][x];
      if (c == '#') canvas->SetPixel(x, Integer(y), Ink);
      else if (c == '+') canvas->SetPixel(x, Integer(y), Second);
    }
  return bitmap;
}

const std::vector<const char*> ArrowRows{"#.....", "##....", "###...", "####..", "#####.", "######",
                                         "#####.", "####..", "###...", "##....", "#....."};
const std::vector<const char*> EditRows{"#####.", "..#...", "..#...", "..#...", "..#...", "..#...",
                                        "..#...", "..#...", "..#...", "..#...", "#####."};
const std::vector<const char*> InsertRows{"......", "......", "..#...", "#.#.#.", ".###..", "#####.",
                                          ".###..", "#.#.#.", "..#...", "......", "......"};
const std::vector<const char*> DotRows{"......", "......", "......", "......", ".##...", "###...",
                                       ".##...", "......", "......", "......", "......"};
const std::vector<const char*> ArrowDotRows{"#.....", "##....", "###...", "####..", "#####.", "######",
                                            "#####.", "####..", "###...", "##....", "#....."};
const std::vector<const char*> SortDownRows{"..........", ".########.", ".#......+.", "..#....+..", "..#....+..",
                                            "...#..+...", "...#..+...", "....#+....", ".........."};
const std::vector<const char*> SortUpRows{"..........", "....#+....", "...#..+...", "...#..+...", "..#....+..",
                                          "..#....+..", ".#......+.", ".++++++++.", ".........."};
const std::vector<const char*> DropDownRows{"..........", "..........", "..#######.", "...#####..", "....###...",
                                            ".....#....", "..........", "..........", ".........."};

QCursor CursorOf(const std::vector<const char*>& Rows, Integer HotX, Integer HotY) {
  QImage image(16, 16, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  for (size_t y = 0; y < Rows.size(); ++y)
    for (Integer x = 0; Rows[y][x]; ++x)
      if (Rows[y][x] == '#') image.setPixel(x, Integer(y), qRgb(0, 0, 0));
      else if (Rows[y][x] == '+') image.setPixel(x, Integer(y), qRgb(255, 255, 255));
  return QCursor(QPixmap::fromImage(image), HotX, HotY);
}

const std::vector<const char*> DownCursorRows{"...+###+...", "...+###+...", "...+###+...", "...+###+...",
                                              "+++++###+++++", "+#########+", ".+#######+.", "..+#####+..",
                                              "...+###+...", "....+#+....", ".....+....."};
const std::vector<const char*> RightCursorRows{"....+.....", "....+#+...", "....+##+..", "+++++###+.",
                                               "+########+", "+++++###+.", "....+##+..", "....+#+...",
                                               "....+....."};
const std::vector<const char*> LeftCursorRows{".....+....", "...+#+....", "..+##+....", ".+###+++++",
                                              "+########+", ".+###+++++", "..+##+....", "...+#+....",
                                              ".....+...."};
}  // namespace

TColor BlendColors(TColor Color, TColor Color2, Integer Amount) {
  const QColor a = ColorToQColor(Color), b = ColorToQColor(Color2);
  auto blend = [Amount](int From, int To) { return Byte(std::clamp(From + (To - From) * Amount / 255, 0, 255)); };
  return RGB(blend(a.red(), b.red()), blend(a.green(), b.green()), blend(a.blue(), b.blue()));
}

TColor ApproachColor(TColor Color1, TColor Color2, double X) {
  const TColor a = ColorToRGB(Color1), b = ColorToRGB(Color2);
  auto approach = [X](Byte From, Byte To) {
    return Byte(std::clamp(From + Integer(std::trunc((double(To) - From) / 255 * X)), 0, 255));
  };
  return RGB(approach(GetRValue(a), GetRValue(b)), approach(GetGValue(a), GetGValue(b)),
             approach(GetBValue(a), GetBValue(b)));
}

TDBGridXGlobals& DBGridXGlobals() {
  if (!GGlobals) GGlobals = std::make_unique<TDBGridXGlobals>();
  return *GGlobals;
}

void RebuildSearchIndicatorImage() {
  TDBGridXGlobals& g = DBGridXGlobals();
  if (!g.IndicatorImages) return;
  // The search arrow sits on the search colour; a search colour equal to the list's mask
  // colour would vanish, so it is nudged off it.
  const TColor background = g.IncSearchColor == Teal ? TColor(0x7F7F00) : g.IncSearchColor;
  std::unique_ptr<TBitmap> arrow = Picture(ArrowRows, clBlack, clBlack, background);
  if (g.IndicatorImages->Count() >= 7) g.IndicatorImages->Delete(6);
  g.IndicatorImages->AddMasked(arrow.get(), Teal);
}

void InitializeGridUnit() {
  if (GInitialized) return;
  GInitialized = true;
  RegisterGridInterceptors();
  TDBGridXGlobals& g = DBGridXGlobals();
  g.Style = std::make_unique<TDBGridXStyle>();
  g.SortNumberFont = std::make_unique<TFont>();
  g.SortNumberFont->SetName(QStringLiteral("Arial"));
  g.SortNumberFont->SetHeight(1 - Integer(SortDownRows.size()));
  Screen->SetCursors(crDownCursorX, CursorOf(DownCursorRows, 5, 10));
  Screen->SetCursors(crRightCursorX, CursorOf(RightCursorRows, 9, 4));
  Screen->SetCursors(crLeftCursorX, CursorOf(LeftCursorRows, 0, 4));
  g.IncSearchShortCut = ShortCut(Word('F'), TShiftState{ssCtrl});
  g.NextMatchShortCut = ShortCut(VK_RETURN, TShiftState{ssCtrl});
  g.PriorMatchShortCut = ShortCut(VK_RETURN, TShiftState{ssCtrl, ssShift});
  g.FindDialogShortCut = ShortCut(Word('F'), TShiftState{ssCtrl});
  g.PreviousValueShortCut = ShortCut(Word(0xDE), TShiftState{ssCtrl});
  g.FilterShortCut = ShortCut(Word('T'), TShiftState{ssCtrl});
  FilterListItems();
  InstallFindDialog();

  g.IndicatorImages = std::make_unique<TImageList>(nullptr);
  g.IndicatorImages->SetSize(6, 11);
  for (const std::vector<const char*>* rows : {&ArrowRows, &EditRows, &InsertRows, &DotRows, &ArrowDotRows})
    g.IndicatorImages->AddMasked(Picture(*rows, clBlack, clBlack, clWhite).get(), clWhite);
  g.IndicatorImages->AddMasked(Picture(ArrowRows, clWhite, clWhite, Teal).get(), Teal);
  RebuildSearchIndicatorImage();

  g.SignImages = std::make_unique<TImageList>(nullptr);
  g.SignImages->SetSize(10, 9);
  g.SignImages->AddMasked(Picture(SortDownRows, clBtnShadow, clWhite, Magenta).get(), Magenta);
  g.SignImages->AddMasked(Picture(SortUpRows, clBtnShadow, clWhite, Magenta).get(), Magenta);
  g.SignImages->AddMasked(Picture(DropDownRows, clBlack, clBlack, clWhite).get(), clWhite);
  g.SignImages->AddMasked(Picture(SortDownRows, clGray, clSilver, Magenta).get(), Magenta);
  g.SignImages->AddMasked(Picture(SortUpRows, clGray, clSilver, Magenta).get(), Magenta);

  g.BufferedPaintOff = false;
}

void FinalizeGridUnit() {
  if (!GInitialized) return;
  GInitialized = false;
  // The style goes first: its grids fall back to their own colour rules.
  GGlobals->Style.reset();
  GGlobals.reset();
}
