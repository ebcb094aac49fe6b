// The shared colour policy: lightened selections by focus, hot-tracked rows and title bands,
// the flat grid's frame and the colours of the fixed and footer lines.
#include "DBGridXPaintTestSupport.h"
#include "dbgrid/DBGridXGlobals.h"
#include "platform/ui/StdCtrls.h"

using dbgridtest::BackgroundOf;
using dbgridtest::PixelAt;
using dbgridtest::Rgb;
using dbgridtest::TCountingGrid;
using dbgridtest::TGridForm;
using dbgridtest::TWithoutGridStyle;

TEST(DBGridXStyle, LightensAndApproachesColoursChannelByChannel) {
  struct Case {
    TColor result, expected;
    const char* what;
  };
  for (const Case& c : std::initializer_list<Case>{
           {TDBGridXStyle::LightenColor(clWhite, clWhite, false), RGB(237, 237, 237), "60 % towards 225"},
           {TDBGridXStyle::LightenColor(clWhite, clWhite, true), RGB(255, 255, 255), "266 kept at 255"},
           {TDBGridXStyle::LightenColor(clBlack, clBlack, false), RGB(135, 135, 135), "from below"},
           {TDBGridXStyle::LightenColor(clWhite, clHighlight, true), RGB(202, 202, 234), "the selection tint"},
           {ApproachColor(clBlack, clWhite, 127.5), RGB(127, 127, 127), "truncated"},
           {ApproachColor(clRed, clBlue, 0), Rgb(clRed), "none of the way"},
           {ApproachColor(clRed, clBlue, 255), Rgb(clBlue), "all of the way"},
       })
    EXPECT_EQ(c.result, c.expected) << c.what;
}

TEST(DBGridXStyle, SelectedRecordsAreLightenedByTheFocusAndPlainWithoutTheStyle) {
  TGridForm f;
  f.Bind();
  EXPECT_EQ(f.Grid->Style(), GlobalGridStyle());
  EXPECT_TRUE(GlobalGridStyle()->IsGridRegistered(f.Grid));
  f.Grid->SetOptions(f.Grid->Options() + TDBGridOptions{dgMultiSelect});
  TEdit* other = new TEdit(f.Form);
  other->SetParent(f.Form);
  for (Integer recNo : {1, 3}) {
    f.Query.SetRecNo(recNo);
    f.Grid->RecordBookmarks()->MarkCurrentRow(true);
  }
  f.Query.First();
  const Integer top = f.Grid->TopDataRowOffset();
  const TRect current = f.Grid->CellRect(1, top), selected = f.Grid->CellRect(1, top + 2);
  const TRect plain = f.Grid->CellRect(1, top + 1), indicator = f.Grid->CellRect(0, top + 2);
  struct Case {
    bool focused;
    Integer screenColours;
    TColor current, selected;
    const char* what;
  };
  for (const Case& c : std::initializer_list<Case>{
           {true, -1, Rgb(clHighlight), TDBGridXStyle::LightenColor(clWindow, clHighlight, true), "focused"},
           {false, -1, TDBGridXStyle::LightenColor(clWindow, clBtnShadow, false),
            TDBGridXStyle::LightenColor(clWindow, clBtnShadow, false), "unfocused"},
           {false, 256, Rgb(clBtnFace), Rgb(clBtnFace), "unfocused on a palette screen"},
       }) {
    SetScreenColorCount(c.screenColours);
    if (c.focused) f.Grid->SetFocus();
    else other->SetFocus();
    QApplication::processEvents();
    const QImage img = f.Grab();
    EXPECT_EQ(BackgroundOf(img, current), c.current) << c.what;
    EXPECT_EQ(BackgroundOf(img, selected), c.selected) << c.what;
    EXPECT_EQ(BackgroundOf(img, plain), Rgb(clWindow)) << c.what;
    EXPECT_EQ(BackgroundOf(img, indicator), RGB(64, 64, 64)) << c.what;
  }
  SetScreenColorCount(-1);

  GlobalGridStyle()->LightenSelection = false;
  f.Grid->SetFocus();
  EXPECT_EQ(BackgroundOf(f.Grab(), selected), Rgb(clHighlight)) << "solid system colours without lightening";
  GlobalGridStyle()->LightenSelection = true;

  const TWithoutGridStyle ownRules(f.Grid);
  EXPECT_EQ(f.Grid->Style(), nullptr);
  EXPECT_EQ(BackgroundOf(f.Grab(), selected), Rgb(clHighlight)) << "the grid's own rules";
  other->SetFocus();
  EXPECT_EQ(BackgroundOf(f.Grab(), selected), Rgb(clBtnFace)) << "the grid's own rules";
}

TEST(DBGridXStyle, AGridLeftByItsStyleTakesTheDefaultOne) {
  TGridForm f;
  auto own = std::make_unique<TDBGridXStyle>();
  f.Grid->SetStyle(own.get());
  EXPECT_TRUE(own->IsGridRegistered(f.Grid));
  EXPECT_FALSE(GlobalGridStyle()->IsGridRegistered(f.Grid));
  own.reset();
  EXPECT_EQ(f.Grid->Style(), GlobalGridStyle());
  EXPECT_TRUE(GlobalGridStyle()->IsGridRegistered(f.Grid));
}

namespace {
struct THotForm : TGridForm {
  THotForm() : TGridForm(400, 200, false) {
    Grid->SetVisible(false);
    Counting->SetParent(Form);
    Counting->SetBounds(10, 10, 380, 150);
    Counting->SetDataSource(&Source);
    Form->Show();
    QApplication::processEvents();
  }
  void MoveTo(Integer ACol, Integer ARow, Integer Dy = -1) {
    const TRect cell = Counting->CellRect(ACol, ARow);
    const TPoint p(cell.Left + cell.Width() / 2, Dy < 0 ? cell.Top + cell.Height() / 2 : cell.Top + Dy);
    Counting->PaintedRows.clear();
    Counting->Perform(WM_MOUSEMOVE, 0, PointToLParam(p));
    QApplication::processEvents();
  }
  TCountingGrid* Counting = new TCountingGrid(Form);
};
}  // namespace

TEST(DBGridXStyle, AHotRowLightsUpAndIsRepaintedAsThePointerMoves) {
  THotForm f;
  TCountingGrid* grid = f.Counting;
  grid->SetOptionsX(grid->OptionsX() + TDBGridXOptions{dghHotTrack, dghRowHighlight});
  const Integer top = grid->TopDataRowOffset();
  f.MoveTo(2, top + 1);
  EXPECT_GT(grid->PaintedRows[top + 1], 0);
  f.MoveTo(2, top + 2);
  EXPECT_GT(grid->PaintedRows[top + 1], 0) << "the row left";
  EXPECT_GT(grid->PaintedRows[top + 2], 0) << "the row entered";
  EXPECT_EQ(grid->PaintedRows.count(top + 3), 0u);
  const QImage img = grid->Handle()->grab().toImage().copy(grid->ClientRectInWindow().Left,
                                                           grid->ClientRectInWindow().Top, grid->ClientWidth(),
                                                           grid->ClientHeight());
  const TColor lit = TDBGridXStyle::LightenColor(clWindow, clHighlight, true);
  EXPECT_EQ(BackgroundOf(img, grid->CellRect(2, top + 2)), lit) << "the hot cell";
  EXPECT_EQ(BackgroundOf(img, grid->CellRect(3, top + 2)), ApproachColor(lit, clWindow, 170.67)) << "its row";
  EXPECT_EQ(BackgroundOf(img, grid->CellRect(3, top + 1)), Rgb(clWindow)) << "the row it left";
}

TEST(DBGridXStyle, AMultiLevelTitleKnowsWhetherThePointerIsOnItsBand) {
  THotForm f;
  TCountingGrid* grid = f.Counting;
  grid->SetOptionsX(grid->OptionsX() + TDBGridXOptions{dghHotTrack});
  grid->SetUseMultiTitle(true);
  grid->Columns()->Items(2)->Title()->SetCaption(QStringLiteral("Pay|Base"));
  grid->Columns()->Items(3)->Title()->SetCaption(QStringLiteral("Pay|Bonus"));
  QApplication::processEvents();
  f.MoveTo(3, 0, 2);
  f.MoveTo(3, 0, 3);
  EXPECT_TRUE(grid->HotTitleBand());
  f.MoveTo(3, 0, grid->CellRect(3, 0).Height() - 3);
  EXPECT_FALSE(grid->HotTitleBand());
  EXPECT_GT(grid->PaintedRows[0], 0) << "the title repainted";
  f.MoveTo(3, 0, grid->CellRect(3, 0).Height() - 2);
  EXPECT_EQ(grid->PaintedRows.count(0), 0u) << "no change, no repaint";
}

TEST(DBGridXStyle, AFlatGridDrawsAOnePixelFrameInsteadOfTheClientEdge) {
  TGridForm f;
  f.Bind();
  EXPECT_EQ(f.Grid->ClientRectInWindow().Left, 2) << "the sunken client edge";
  f.Grid->SetFlat(true);
  QApplication::processEvents();
  EXPECT_EQ(f.Grid->ClientRectInWindow().Left, 1);
  EXPECT_EQ(f.Grid->ClientRectInWindow().Top, 1);
  const QImage window = f.Grid->Handle()->grab().toImage();
  const Integer w = window.width(), h = window.height();
  EXPECT_EQ(PixelAt(window, w / 2, 0), Rgb(clBtnShadow)) << "top";
  EXPECT_EQ(PixelAt(window, 0, h / 2), Rgb(clBtnShadow)) << "left";
  EXPECT_EQ(PixelAt(window, w / 2, h - 1), Rgb(clBtnHighlight)) << "bottom";
  EXPECT_EQ(PixelAt(window, w - 1, h / 2), Rgb(clBtnHighlight)) << "right";
  f.Grid->SetBorderStyle(bsNone);
  QApplication::processEvents();
  EXPECT_EQ(f.Grid->ClientRectInWindow().Left, 0) << "no border, no frame";
}

TEST(DBGridXStyle, FixedLinesAreBlackUnlessFlatAndFootersFollowTheirLook) {
  TGridForm f;
  f.Bind();
  f.Grid->SetFooterRowCount(1);
  QApplication::processEvents();
  const auto lineRight = [&f](Integer ACol, Integer ARow) {
    const TRect cell = f.Grid->CellRect(ACol, ARow);
    return PixelAt(f.Grab(), cell.Right, cell.Top + cell.Height() / 2);
  };
  const Integer footer = f.Grid->RowCount();
  struct Case {
    bool flat;
    TColor footerColor;
    TColor title, footer;
    const char* what;
  };
  for (const Case& c : std::initializer_list<Case>{
           {false, clWindow, Rgb(clBlack), Rgb(clSilver), "plain footers draw data lines"},
           {false, clYellow, Rgb(clBlack), Rgb(clBlack), "coloured footers draw fixed lines"},
           {true, clWindow, Rgb(clGray), Rgb(clSilver), "flat"},
       }) {
    f.Grid->SetFlat(c.flat);
    f.Grid->SetFooterColor(c.footerColor);
    QApplication::processEvents();
    EXPECT_EQ(lineRight(1, 0), c.title) << c.what;
    EXPECT_EQ(lineRight(1, footer), c.footer) << c.what;
    EXPECT_EQ(lineRight(1, f.Grid->TopDataRowOffset()), Rgb(clSilver)) << c.what;
  }
}

TEST(DBGridXStyle, CellParametersPlaceTheCellAndCanDrawItAsFixedOrLeaveItToTheEvent) {
  TGridForm f;
  f.Bind();
  const Integer top = f.Grid->TopDataRowOffset();
  std::vector<TGridCoord> drawn;
  std::vector<std::pair<TGridCoord, TRect>> placed;
  f.Grid->OnDrawColumnCell = [&](TObject*, const TRect&, Integer, TColumnX* Column, TGridDrawState) {
    drawn.push_back({Column->Index(), f.Query.RecNo()});
  };
  TColumnX* name = f.Grid->Columns()->Items(1);
  name->OnGetCellParams = [&](TObject*, bool EditMode, TColCellParamsX* Params) {
    if (EditMode) return;
    placed.push_back({{Params->Col, Params->Row}, Params->CellRect});
    if (f.Query.RecNo() == 2) Params->DrawAsFixed = true;
  };
  name->OnAdvDrawDataCell = [&](TObject*, TGridCoord, TGridCoord, TColumnX*, const TRect&, TColCellParamsX&,
                                bool& Processed) { Processed = f.Query.RecNo() == 3; };
  const QImage img = f.Grab();
  ASSERT_FALSE(placed.empty());
  for (const auto& [cell, rect] : placed) EXPECT_EQ(rect, f.Grid->CellRect(cell.X, cell.Y));
  EXPECT_EQ(placed.front().first.X, 2);
  const TRect fixedCell = f.Grid->CellRect(2, top + 1);
  EXPECT_EQ(BackgroundOf(img, fixedCell), Rgb(f.Grid->FixedColor())) << "drawn as fixed";
  EXPECT_FALSE(dbgridtest::AnyPixel(img, fixedCell, Rgb(clBlack))) << "without its text";
  EXPECT_EQ(std::count(drawn.begin(), drawn.end(), TGridCoord{1, 2}), 1) << "a fixed-drawn cell still fires";
  EXPECT_EQ(std::count(drawn.begin(), drawn.end(), TGridCoord{1, 3}), 0) << "a handled cell does not";
  EXPECT_GE(std::count(drawn.begin(), drawn.end(), TGridCoord{1, 1}), 1);
}

TEST(DBGridXStyle, ABackgroundAnEventSetsStaysInTheCurrentCellAndInACellDrawnAsFixed) {
  TGridForm f;
  f.Bind();
  f.Grid->SetSelectedIndex(1);
  f.Grid->SetFocus();
  const Integer top = f.Grid->TopDataRowOffset();
  const TRect current = f.Grid->CellRect(2, top), asFixed = f.Grid->CellRect(2, top + 1);
  bool backgroundSet = false;
  TColumnX* name = f.Grid->Columns()->Items(1);
  name->OnGetCellParams = [&](TObject*, bool EditMode, TColCellParamsX* Params) {
    if (EditMode) return;
    Params->Background = clLime;
    Params->BackgroundSet = backgroundSet;
    Params->DrawAsFixed = f.Query.RecNo() == 2;
  };
  struct Case {
    bool backgroundSet;
    TColor current, asFixed;
  };
  for (const Case& c : std::initializer_list<Case>{{false, Rgb(clHighlight), Rgb(f.Grid->FixedColor())},
                                                  {true, Rgb(clLime), Rgb(clLime)}}) {
    backgroundSet = c.backgroundSet;
    f.Grid->Invalidate();
    const QImage img = f.Grab();
    EXPECT_EQ(BackgroundOf(img, current), c.current) << "BackgroundSet " << c.backgroundSet;
    EXPECT_EQ(BackgroundOf(img, asFixed), c.asFixed) << "BackgroundSet " << c.backgroundSet;
  }
}
