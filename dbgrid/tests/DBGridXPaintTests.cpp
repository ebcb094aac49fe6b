// Painted pixels (sampled away from text), the record window and the footers.
#include "DBGridXPaintTestSupport.h"
#include "dbgrid/DBGridXGlobals.h"
#include "dbgrid/DBGridXTitleCaption.h"
#include "grid/ButtonFacesX.h"
#include "grid/FittedNumberX.h"
#include <QFontMetrics>

using dbgridtest::AnyPixel;
using dbgridtest::BackgroundOf;
using dbgridtest::PixelAt;
using dbgridtest::Rgb;
using dbgridtest::TCountingGrid;
using dbgridtest::TGridForm;
using dbgridtest::TWithoutGridStyle;

namespace {
// Makes Images hold 8 x 8 pictures and adds a red square as the next one.
void AddRedSquare(TImageList& Images) {
  Images.SetSize(8, 8);
  TBitmap red(8, 8);
  red.Canvas()->Brush()->SetColor(clRed);
  red.Canvas()->FillRect(TRect(0, 0, 8, 8));
  Images.Add(&red, nullptr);
}

TColumnFooterX* SumFooter(TColumnX* Column, TFooterValueType Type, const char* Format = "") {
  Column->Footer()->SetValueType(Type);
  Column->Footer()->SetDisplayFormat(QString::fromUtf8(Format));
  return Column->Footer();
}
}  // namespace

TEST(DBGridXPaint, IndicatorMarksFollowTheDataSetState) {
  TGridForm f;
  f.Bind();
  const TRect indicator = f.Grid->CellRect(0, 1);
  const TRect other = f.Grid->CellRect(0, 2);
  const QImage browse = f.Grab();
  EXPECT_TRUE(AnyPixel(browse, indicator, Rgb(clBlack))) << "the arrow";
  EXPECT_EQ(PixelAt(browse, indicator.Left + 1, indicator.Top + indicator.Height() / 2), Rgb(clBtnFace));
  EXPECT_FALSE(AnyPixel(browse, TRect(other.Left + 1, other.Top + 1, other.Right - 1, other.Bottom - 1), Rgb(clBlack)));
  // The arrow's widest row is six pixels at the glyph's middle line.
  const Integer arrowX = (indicator.Left + indicator.Right - 6) / 2;
  const Integer arrowY = (indicator.Top + indicator.Bottom - 11) / 2 + 5;
  for (Integer x = arrowX; x < arrowX + 6; ++x) EXPECT_EQ(PixelAt(browse, x, arrowY), Rgb(clBlack)) << x;
  f.Query.Edit();
  const QImage edit = f.Grab();
  EXPECT_EQ(PixelAt(edit, arrowX + 2, arrowY), Rgb(clBlack)) << "the I-beam's stem";
  EXPECT_EQ(PixelAt(edit, arrowX + 5, arrowY), Rgb(clBtnFace));
  f.Query.Cancel();
  f.Query.Append();
  const TRect appended = f.Grid->CellRect(0, f.Grid->Row());
  const QImage insert = f.Grab();
  EXPECT_TRUE(AnyPixel(insert, appended, Rgb(clBlack))) << "the insert mark";
  f.Query.Cancel();
}

TEST(DBGridXPaint, CurrentRowColoursFollowTheFocus) {
  TGridForm f;
  f.Bind();
  f.Grid->SetOptions(f.Grid->Options() + TDBGridOptions{dgRowSelect});
  const TRect cell = f.Grid->CellRect(2, 1);
  const TPoint away{cell.Right - 3, cell.Top + cell.Height() / 2};
  f.Grid->SetFocus();
  QApplication::processEvents();
  EXPECT_EQ(PixelAt(f.Grab(), away.X, away.Y), Rgb(clHighlight));
  f.Grid->SetFocus();
  TEdit* other = new TEdit(f.Form);
  other->SetParent(f.Form);
  other->SetFocus();
  QApplication::processEvents();
  EXPECT_EQ(PixelAt(f.Grab(), away.X, away.Y), Rgb(clWindow)) << "unfocused, without always-show";
  f.Grid->SetOptions(f.Grid->Options() + TDBGridOptions{dgAlwaysShowSelection});
  EXPECT_EQ(PixelAt(f.Grab(), away.X, away.Y), Rgb(clBtnShadow));
}

TEST(DBGridXPaint, SelectionColoursOfTheCurrentRowByFocusAndOptions) {
  TGridForm f;
  f.Bind();
  const TWithoutGridStyle ownRules(f.Grid);
  TEdit* other = new TEdit(f.Form);
  other->SetParent(f.Form);
  f.Grid->SetSelectedIndex(1);  // the name, which the editor may change
  const TRect current = f.Grid->CellRect(2, 1), neighbour = f.Grid->CellRect(1, 1);
  // The name is left-aligned and the id right-aligned: sample the empty side of each.
  const TPoint inCurrent{current.Right - 3, current.Top + current.Height() / 2};
  const TPoint inNeighbour{neighbour.Left + 3, neighbour.Top + neighbour.Height() / 2};
  enum TFocus { Grid, Elsewhere };
  struct Case {
    TFocus focus;
    TDBGridOptions options;
    TDBGridXOptions optionsX;
    TColor current, neighbour;
    const char* what;
  };
  for (const Case& c : std::initializer_list<Case>{
           {Grid, {}, {}, clHighlight, clWindow, "focused: the current cell"},
           {Grid, {dgRowSelect}, {}, clHighlight, clHighlight, "focused, row select: the row"},
           {Elsewhere, {}, {}, clWindow, clWindow, "unfocused: nothing"},
           {Elsewhere, {dgAlwaysShowSelection}, {}, clBtnShadow, clWindow, "unfocused, always shown: the cell"},
           {Elsewhere, {dgAlwaysShowSelection, dgRowSelect}, {}, clBtnShadow, clBtnShadow, "... with row select"},
           {Grid, {}, {dghRowHighlight}, clHighlight, clHighlight, "row highlight"},
       }) {
    f.Grid->SetOptions(f.Grid->Options() - TDBGridOptions{dgRowSelect, dgAlwaysShowSelection} + c.options);
    f.Grid->SetSelectedIndex(1);
    f.Grid->SetOptionsX(f.Grid->OptionsX() - TDBGridXOptions{dghRowHighlight} + c.optionsX);
    if (c.focus == Elsewhere) other->SetFocus();
    else f.Grid->SetFocus();
    QApplication::processEvents();
    const QImage img = f.Grab();
    EXPECT_EQ(PixelAt(img, inCurrent.X, inCurrent.Y), Rgb(c.current)) << c.what;
    EXPECT_EQ(PixelAt(img, inNeighbour.X, inNeighbour.Y), Rgb(c.neighbour)) << c.what;
  }
}

TEST(DBGridXPaint, FocusRectangleOnceAroundTheCurrentCellOrTheSelectedRow) {
  TGridForm f;
  f.Bind();
  TEdit* other = new TEdit(f.Form);
  other->SetParent(f.Form);
  const TRect cell = f.Grid->CellRect(1, 1);
  const auto inverted = [](TColor C) { return TColor(~ColorToRGB(C) & 0xFFFFFF); };
  struct Case {
    bool focused;
    TDBGridOptions options;
    TColor corner;
    const char* what;
  };
  for (const Case& c : std::initializer_list<Case>{
           {true, {}, inverted(clHighlight), "focused: a dotted frame around the current cell"},
           {true, {dgRowSelect}, inverted(clHighlight), "row select: one frame around the row"},
           {false, {}, Rgb(clWindow), "unfocused: none"},
       }) {
    f.Grid->SetOptions(f.Grid->Options() - TDBGridOptions{dgRowSelect} + c.options);
    if (c.focused) f.Grid->SetFocus();
    else other->SetFocus();
    QApplication::processEvents();
    const QImage img = f.Grab();
    EXPECT_EQ(PixelAt(img, cell.Left, cell.Top), c.corner) << c.what;
    EXPECT_EQ(PixelAt(img, cell.Left + 1, cell.Top), Rgb(c.focused ? clHighlight : clWindow)) << c.what;
  }
  f.Grid->SetFocus();
  f.Grid->SetDefaultDrawing(false);
  EXPECT_EQ(PixelAt(f.Grab(), cell.Left, cell.Top), Rgb(clWindow)) << "no default drawing, no frame";
}

TEST(DBGridXPaint, BufferingIsKeptOnceALayoutCalledForIt) {
  TGridForm f;
  f.Bind();
  f.Grid->SetFlat(true);
  f.Grab();
  EXPECT_FALSE(f.Grid->BufferedPaint()) << "flat, one-level titles";
  f.Grid->SetUseMultiTitle(true);
  EXPECT_FALSE(f.Grid->BufferedPaint()) << "decided by a paint";
  f.Grab();
  EXPECT_TRUE(f.Grid->BufferedPaint());
  f.Grid->SetUseMultiTitle(false);
  f.Grab();
  EXPECT_TRUE(f.Grid->BufferedPaint()) << "kept after the layout changed back";

  DBGridXGlobals().BufferedPaintOff = true;
  TGridForm g;
  g.Grid->SetUseMultiTitle(true);
  g.Grab();
  DBGridXGlobals().BufferedPaintOff = false;
  EXPECT_FALSE(g.Grid->BufferedPaint()) << "switched off for all grids";

  TGridForm h(400, 200, false);
  auto* counting = new TCountingGrid(h.Form);
  counting->SetParent(h.Form);
  h.Form->Show();
  counting->LockUpdate();
  counting->Handle()->grab();
  EXPECT_TRUE(counting->PaintedRows.empty()) << "nothing is painted under the update lock";
  counting->UnlockUpdate();
}

TEST(DBGridXPaint, InTitleFilterButtonImagesAndTheIndicatorTitleSign) {
  TGridForm f;
  f.Bind();
  TColumnX* name = f.AddColumn("name", 90);
  TColumnX* base = f.AddColumn("base", 90);
  const TRect title = f.Grid->CellRect(1, 0);
  const Integer buttonWidth = GetSystemMetrics(SM_CXVSCROLL);
  const TRect strip(title.Right - 1 - buttonWidth, title.Top + 1, title.Right - 1, title.Bottom - 1);
  const TRect markSquare(strip.Left - 6, strip.Top, strip.Left, strip.Top + 6);
  const auto differs = [](const QImage& Image, const TRect& R, TColor Background) {
    for (Integer y = R.Top; y < R.Bottom; ++y)
      for (Integer x = R.Left; x < R.Right; ++x)
        if (PixelAt(Image, x, y) != Background) return true;
    return false;
  };
  EXPECT_FALSE(differs(f.Grab(), strip, Rgb(clBtnFace))) << "no filter row in the titles: no button";
  f.Grid->STFilter()->SetVisible(true);
  f.Grid->STFilter()->SetLocation(stflInTitleFilterX);
  QImage img = f.Grab();
  EXPECT_TRUE(differs(img, strip, Rgb(clBtnFace))) << "the button, faded in";
  EXPECT_FALSE(differs(img, markSquare, Rgb(clBtnFace))) << "no condition, no mark";
  name->STFilter()->SetExpressionStr("Li");
  f.Grid->Invalidate();
  EXPECT_TRUE(differs(f.Grab(), markSquare, Rgb(clBtnFace))) << "the filter mark of a filtered column";
  f.Grid->STFilter()->SetVisible(false);

  // A title image replaces the caption, placed by the title's alignment.
  TImageList images(nullptr);
  AddRedSquare(images);
  f.Grid->SetTitleImages(&images);
  base->Title()->SetImageIndex(0);
  base->Title()->SetAlignment(taRightJustify);
  const TRect baseTitle = f.Grid->CellRect(2, 0);
  img = f.Grab();
  const Integer imageTop = (baseTitle.Top + baseTitle.Bottom - 8) / 2;
  EXPECT_EQ(PixelAt(img, baseTitle.Right - 1 - 8, imageTop), Rgb(clRed)) << "right-aligned";
  EXPECT_EQ(PixelAt(img, baseTitle.Right - 1 - 8, imageTop + 7), Rgb(clRed));
  EXPECT_FALSE(differs(img, TRect(baseTitle.Left + 1, baseTitle.Top + 1, baseTitle.Right - 12, baseTitle.Bottom - 1),
                       Rgb(clBtnFace)))
      << "no caption beside the image";
  f.Grid->SetTitleImages(nullptr);

  // The indicator title's drop-down sign: set, only that cell is repainted.
  const TRect corner = f.Grid->CellRect(0, 0);
  EXPECT_FALSE(differs(f.Grab(), TRect(corner.Left + 1, corner.Top + 1, corner.Right - 1, corner.Bottom - 1),
                       Rgb(clBtnFace)));
  f.Grid->IndicatorTitle()->SetShowDropDownSign(true);
  EXPECT_TRUE(differs(f.Grab(), TRect(corner.Left + 1, corner.Top + 1, corner.Right - 1, corner.Bottom - 1),
                      Rgb(clBtnFace)))
      << "the sign";
}

TEST(DBGridXPaint, ShowingTheIndicatorSignRepaintsOnlyThatCell) {
  TGridForm f(400, 200, false);
  auto* grid = new TCountingGrid(f.Form);
  grid->SetParent(f.Form);
  grid->SetBounds(10, 10, 300, 150);
  grid->SetDataSource(&f.Source);
  f.Form->Show();
  QApplication::processEvents();
  grid->PaintedRows.clear();
  grid->IndicatorTitle()->SetShowDropDownSign(true);
  grid->IndicatorTitle()->SetShowDropDownSign(true);  // no change, nothing more
  QApplication::processEvents();
  EXPECT_EQ(grid->PaintedRows, (std::map<Integer, Integer>{{0, 1}}));
}

TEST(DBGridXPaint, TitlesSortMarkerFootersAndRaisedCells) {
  TGridForm f;
  f.Bind();
  for (const char* field : {"name", "base", "bonus"}) {
    f.AddColumn(field, 80);
  }
  f.Grid->Columns()->Items(1)->Title()->SetCaption("Pay|Base");
  f.Grid->Columns()->Items(2)->Title()->SetCaption("Pay|Bonus");
  f.Grid->Columns()->Items(0)->Title()->SetSortMarker(smDownX);
  f.Grid->SetUseMultiTitle(true);
  f.Grid->SetFooterRowCount(1);
  f.Grid->SetFooterColor(clYellow);
  f.Grid->SetOptionsX(f.Grid->OptionsX() + TDBGridXOptions{dghFooter3D});
  const QImage img = f.Grab();
  const TRect base = f.Grid->CellRect(2, 0);
  const TRect bonus = f.Grid->CellRect(3, 0);
  THeadTreeNode* leaf = f.Grid->LeafOf(f.Grid->Columns()->Items(1));
  ASSERT_NE(leaf, nullptr);
  const Integer bandBottom = base.Bottom - leaf->BandHeight;
  // The band line between the two levels runs across both columns; the column line between
  // them stops below the band.
  EXPECT_EQ(PixelAt(img, base.Left + 3, bandBottom), Rgb(clBlack));
  EXPECT_EQ(PixelAt(img, bonus.Right - 3, bandBottom), Rgb(clBlack));
  EXPECT_EQ(PixelAt(img, base.Right, base.Bottom - 3), Rgb(clBlack));
  EXPECT_NE(PixelAt(img, base.Right, base.Top + 3), Rgb(clBlack)) << "one band over both columns";
  const TRect name = f.Grid->CellRect(1, 0);
  EXPECT_TRUE(AnyPixel(img, TRect(name.Right - 14, name.Top + 2, name.Right - 1, name.Bottom - 2), Rgb(clBtnShadow)))
      << "the sort marker";
  const TRect footer = f.Grid->CellRect(2, f.Grid->RowCount());
  EXPECT_EQ(PixelAt(img, footer.Right - 4, footer.Top + footer.Height() / 2), Rgb(clYellow));
  EXPECT_EQ(PixelAt(img, footer.Left, footer.Top + footer.Height() / 2), Rgb(clBtnHighlight)) << "raised frame";
}

TEST(DBGridXFooters, FooterTextsFollowTypeFormatAndField) {
  TGridForm f;
  f.Bind();
  f.Grid->SumList()->SetActive(true);
  struct Case {
    const char* field;
    TFooterValueType type;
    const char* format;
    const char* footerField;
    const char* expected;
  };
  const std::vector<Case> cases{
      {"base", fvtSum, "0.00", "", "6000.50"},
      {"base", fvtSum, "0", "", "6001"},
      {"base", fvtSum, "", "", "6000.5"},
      {"qty", fvtSum, "", "", "10"},
      {"qty", fvtAvg, "", "", "5"},
      {"bonus", fvtAvg, "0.0", "", "20.0"},
      {"base", fvtCount, "0条", "", "3条"},
      {"base", fvtSum, "", "nosuch", "0"},
      {"name", fvtStaticText, "", "", "合计"},
      {"name", fvtFieldValue, "", "name", "Zhang"},
      {"name", fvtFieldValue, "", "nosuch", ""},
      {"name", fvtNon, "", "", ""},
  };
  for (const Case& c : cases) {
    TColumnX* column = f.Grid->Columns()->Add();
    column->SetFieldName(c.field);
    column->Footer()->SetFieldName(c.footerField);
    SumFooter(column, c.type, c.format);
    if (c.type == fvtStaticText) column->Footer()->SetValue("合计");
  }
  f.Grid->SetFooterRowCount(1);
  f.Query.First();
  for (size_t i = 0; i < cases.size(); ++i)
    EXPECT_EQ(f.Grid->FooterValueText(0, Integer(i)), QString::fromUtf8(cases[i].expected)) << i;
  // A footer whose sum item went missing shows "0", like one whose field is missing.
  f.Grid->SumList()->SumCollection()->Clear();
  EXPECT_EQ(f.Grid->FooterValueText(0, 0), "0");
  f.Grid->SumList()->SetActive(false);
  TColumnX* text = f.Grid->Columns()->Add();
  text->SetFieldName("name");
  SumFooter(text, fvtSum);
  EXPECT_EQ(f.Grid->FooterValueText(0, text->Index()), "0") << "a sum over a text field";
  TDBGridColumnsX loose(nullptr, ItemClassOf<TDBGridColumnX>());
  TColumnX* gridless = loose.Add();
  SumFooter(gridless, fvtSum);
  EXPECT_TRUE(gridless->Footer()->SumValue().IsNull()) << "a column in no grid has no sum item";
  EXPECT_EQ(gridless->Footer()->Color(), clWindow);
  f.Grab();  // painting copes with the footers as they stand
}

TEST(DBGridXFooters, ManySummedFootersWalkTheRecordsOnceAfterBindingAndOpening) {
  TGridForm f;
  f.Grid->SumList()->SetActive(true);
  for (int i = 0; i < 20; ++i) SumFooter(f.AddColumn(i % 2 == 0 ? "qty" : "base", 40), fvtSum);
  f.Grid->SetFooterRowCount(1);
  Integer recalcs = 0;
  f.Grid->OnSumListRecalcAll = [&](TObject*) { ++recalcs; };
  f.Bind();
  EXPECT_LE(recalcs, 2) << "one walk for the footers' new sums, not one a footer";
  EXPECT_EQ(f.Grid->FooterValueText(0, 0), "10");
  EXPECT_EQ(f.Grid->FooterValueText(0, 19), "6000.5");
  recalcs = 0;
  f.Query.Close();
  f.Query.Open();
  EXPECT_LE(recalcs, 2);
  EXPECT_EQ(f.Grid->FooterValueText(0, 1), "6000.5");
}

TEST(DBGridXFooters, FootersEqualARecountAfterEveryChange) {
  TGridForm f;
  f.Bind();
  f.Grid->SumList()->SetActive(true);
  TColumnX* base = f.Grid->Columns()->Add();
  base->SetFieldName("base");
  SumFooter(base, fvtSum, "0.00");
  TColumnX* count = f.Grid->Columns()->Add();
  count->SetFieldName("name");
  SumFooter(count, fvtCount, "0");
  f.Grid->SetFooterRowCount(1);
  const auto recount = [&] {
    double sum = 0;
    Integer n = 0;
    const TBookmarkStr mark = f.Query.Bookmark();
    f.Query.DisableControls();
    for (f.Query.First(); !f.Query.Eof(); f.Query.Next()) {
      sum += f.Field("base")->AsFloat();
      ++n;
    }
    f.Query.SetBookmark(mark);
    f.Query.EnableControls();
    return std::make_pair(FormatFloat("0.00", sum), QString::number(n));
  };
  const std::vector<std::pair<const char*, std::function<void()>>> steps{
      {"insert", [&] { f.Query.Append(); f.Field("base")->SetAsFloat(5.25); f.Query.Post(); }},
      {"edit", [&] { f.Query.First(); f.Query.Edit(); f.Field("base")->SetAsFloat(1.5); f.Query.Post(); }},
      {"delete", [&] { f.Query.Last(); f.Query.Delete(); }},
      {"cancel", [&] { f.Query.First(); f.Query.Edit(); f.Field("base")->SetAsFloat(99); f.Query.Cancel(); }},
      {"filter", [&] { f.Query.SetFilter("base > 1500"); f.Query.SetFiltered(true); }},
      {"filter off", [&] { f.Query.SetFiltered(false); }},
  };
  for (const auto& [what, step] : steps) {
    step();
    const auto [sum, n] = recount();
    EXPECT_EQ(f.Grid->FooterValueText(0, 0), sum) << what;
    EXPECT_EQ(f.Grid->FooterValueText(0, 1), n) << what;
  }
}

TEST(DBGridXRecordWindow, BuffersWholeRowsAndRepaintsOnlyWhatMoved) {
  TGridForm f(400, 200, false);
  auto* grid = new TCountingGrid(f.Form);
  grid->SetParent(f.Form);
  f.AddRows(40);
  grid->SetDataSource(&f.Source);
  f.Form->Show();
  QApplication::processEvents();
  const Integer row = grid->StdRowHeight() + grid->GridLineWidth();
  // A client area that fits 5.7 data rows under the title buffers 5 records.
  const Integer extra = grid->Height() - grid->ClientHeight();
  grid->SetBounds(10, 10, 400, extra + grid->TitleRowHeight() + grid->GridLineWidth() + row * 57 / 10);
  QApplication::processEvents();
  EXPECT_EQ(grid->GridDataLink()->BufferCount(), 5);
  EXPECT_EQ(grid->RowCount(), 6);
  // The part row under the fifth record shows no sixth record: between the extended
  // column lines it is empty grid colour, in the indicator column too.
  const QImage img = grid->Handle()->grab().toImage().copy(
      grid->ClientRectInWindow().Left, grid->ClientRectInWindow().Top, grid->ClientWidth(), grid->ClientHeight());
  const Integer top = grid->CellRect(1, 5).Bottom + grid->GridLineWidth();
  ASSERT_GT(grid->ClientHeight() - top, row / 2);
  for (Integer col = 0; col < grid->ColCount() && grid->CellRect(col, 5).Left < grid->ClientWidth(); ++col) {
    const TRect cell = grid->CellRect(col, 5);
    for (Integer y = top; y < grid->ClientHeight(); ++y)
      for (Integer x = cell.Left + 1; x < std::min(cell.Right, grid->ClientWidth()) - 1; ++x)
        ASSERT_EQ(PixelAt(img, x, y), Rgb(clWindow)) << "column " << col << " at " << x << "," << y;
  }
  // Move to the last buffered row, then one further: the contents scroll by one row.
  f.Query.First();
  f.Query.MoveBy(4);
  grid->Update();
  QApplication::processEvents();
  grid->PaintedRows.clear();
  f.Query.Next();
  grid->Update();
  QApplication::processEvents();
  EXPECT_EQ(grid->Row(), 5);
  EXPECT_GT(grid->PaintedRows[5], 0) << "the exposed row";
  EXPECT_GT(grid->PaintedRows[4], 0) << "the old current row";
  EXPECT_EQ(grid->PaintedRows.count(1), 0u) << "rows that only moved are not painted";
  EXPECT_EQ(grid->PaintedRows.count(2), 0u);
  grid->PaintedRows.clear();
  f.Query.MoveBy(-20);
  grid->Update();
  QApplication::processEvents();
  for (Integer r = 1; r < grid->RowCount(); ++r) EXPECT_GT(grid->PaintedRows[r], 0) << "a long jump repaints all";
}

TEST(DBGridXRecordWindow, VerticalBarFollowsTheRecordNumber) {
  TGridForm f;
  f.AddRows(20);
  f.Bind();
  f.Query.SetRecNo(10);
  QApplication::processEvents();
  TScrollInfo info;
  f.Grid->GetScrollInfo(SB_VERT, info);
  EXPECT_EQ(info.nMin, 1);
  EXPECT_EQ(info.nPos, 10);
  EXPECT_EQ(Integer(info.nPage), f.Grid->RowCount() - 1);
  EXPECT_EQ(info.nMax, 23 + Integer(info.nPage) - 1);
}

namespace {
// A query that cannot number its records.
class TUnsequencedQuery : public TADOQuery {
public:
  bool IsSequenced() const override { return false; }
};
}  // namespace

TEST(DBGridXRecordWindow, UnsequencedDataSetsGetAThreePositionBar) {
  TGridForm f;
  TUnsequencedQuery query;
  query.SetConnection(&f.Connection);
  query.SQL()->SetText("SELECT * FROM pay ORDER BY id");
  query.Open();
  TDataSource source;
  source.SetDataSet(&query);
  f.Grid->SetDataSource(&source);
  QApplication::processEvents();
  struct Case {
    std::function<void()> move;
    Integer pos;
  };
  for (const Case& c : std::initializer_list<Case>{{[&] { query.First(); }, 0},
                                                   {[&] { query.First(); query.Next(); }, 2},
                                                   {[&] { query.Last(); query.Next(); }, 4}}) {
    c.move();
    QApplication::processEvents();
    TScrollInfo info;
    f.Grid->GetScrollInfo(SB_VERT, info);
    EXPECT_EQ(info.nMax, 4);
    EXPECT_EQ(info.nPos, c.pos);
  }
  // Odd and even colours need record numbers: an unsequenced set paints the column colour.
  f.Grid->SetOddRowColor(clYellow);
  const TRect cell = f.Grid->CellRect(1, 2);
  EXPECT_EQ(PixelAt(f.Grab(), cell.Right - 3, cell.Top + cell.Height() / 2), Rgb(clWindow));
  f.Grid->SetDataSource(nullptr);
}

TEST(DBGridXRecordWindow, RecordNumbersWidenTheIndicator) {
  TGridForm f;
  f.AddRows(1231);
  f.Bind();
  f.Grid->SetOptionsX(f.Grid->OptionsX() + TDBGridXOptions{dghShowRecNo});
  TFont small;
  small.Assign(f.Grid->Font());
  small.SetSize(f.Grid->Font()->Size() - 1);
  TCanvas canvas;
  canvas.SetFont(&small);
  EXPECT_EQ(f.Grid->ColWidths(0), std::max<Integer>(11, 11 + canvas.TextWidth("0000") + 2));
  f.Query.SetFilter("id < 6");
  f.Query.SetFiltered(true);
  QApplication::processEvents();
  EXPECT_EQ(f.Grid->IndicatorWidthOf(), std::max<Integer>(11, 11 + canvas.TextWidth("0") + 2));
}

namespace {
// The smallest rectangle around the pixels of R that differ from Background (that have the
// colour Background with Equal); empty when none.
TRect BoundsOfInk(const QImage& Image, const TRect& R, TColor Background, bool Equal = false) {
  TRect ink(R.Right, R.Bottom, R.Left, R.Top);
  for (Integer y = R.Top; y < R.Bottom; ++y)
    for (Integer x = R.Left; x < R.Right; ++x)
      if ((PixelAt(Image, x, y) == Background) == Equal) {
        ink.Left = std::min(ink.Left, x);
        ink.Top = std::min(ink.Top, y);
        ink.Right = std::max(ink.Right, x + 1);
        ink.Bottom = std::max(ink.Bottom, y + 1);
      }
  return ink;
}
}  // namespace

TEST(DBGridXPaint, SelectedColumnsAndEverythingSelectedColourTheFixedCells) {
  TGridForm f(400, 200);
  f.Bind();
  const TWithoutGridStyle ownRules(f.Grid);
  for (const char* field : {"name", "flag", "qty"}) {
    f.AddColumn(field, 80);
  }
  f.Grid->SetOptions(f.Grid->Options() + TDBGridOptions{dgMultiSelect});
  f.Grid->STFilter()->SetVisible(true);
  f.Grid->SetFooterRowCount(1);
  f.Grid->Columns()->Items(2)->Footer()->SetColor(clYellow);
  const Integer dataTop = f.Grid->TopDataRowOffset();
  const TColor darkGrey = TColor(0x404040);
  const TColor filterTint = Rgb(BlendColors(clWindow, f.Grid->FixedColor(), 8));
  TEdit* other = new TEdit(f.Form);
  other->SetParent(f.Form);
  other->SetFocus();
  f.Grid->Selection()->Columns()->SelectColumn(f.Grid->Columns()->Items(1), false);
  f.Grid->Selection()->Columns()->SelectColumn(f.Grid->Columns()->Items(2), true);
  const auto at = [&](const QImage& Image, Integer ACol, Integer ARow) {
    return BackgroundOf(Image, f.Grid->CellRect(ACol, ARow));
  };
  struct Case {
    Integer col, row;
    TColor expected;
    const char* what;
  };
  const Integer footer = f.Grid->RowCount();
  QImage img = f.Grab();
  for (const Case& c : std::initializer_list<Case>{
           {1, 0, Rgb(clBtnFace), "a title outside the selection"},
           {1, 1, filterTint, "a filter cell outside the selection"},
           {2, 0, darkGrey, "a selected column's title"},
           {2, 1, darkGrey, "its filter cell"},
           {2, dataTop + 1, Rgb(clBtnFace), "its data cell, the grid unfocused"},
           {2, footer, Rgb(clBtnFace), "its footer"},
           {3, footer, Rgb(clBtnFace), "a footer of its own colour"},
           {1, footer, Rgb(clWindow), "a footer outside the selection"},
           {0, dataTop + 1, Rgb(clBtnFace), "the indicator: columns select no records"},
       })
    EXPECT_EQ(at(img, c.col, c.row), c.expected) << c.what;
  EXPECT_TRUE(AnyPixel(img, f.Grid->CellRect(2, 0), Rgb(clWhite))) << "the caption in white";
  f.Grid->SetFocus();
  img = f.Grab();
  EXPECT_EQ(at(img, 2, dataTop + 1), Rgb(clHighlight)) << "focused";
  EXPECT_EQ(at(img, 2, footer), Rgb(clHighlight)) << "focused";
  f.Grid->Selection()->SelectAllCells();
  img = f.Grab();
  for (const Case& c : std::initializer_list<Case>{
           {0, 0, darkGrey, "the indicator title"},
           {0, dataTop + 2, darkGrey, "an indicator cell"},
           {1, 0, darkGrey, "every title"},
           {1, 1, darkGrey, "every filter cell"},
           {1, dataTop + 2, Rgb(clHighlight), "every data cell"},
       })
    EXPECT_EQ(at(img, c.col, c.row), c.expected) << c.what;
  f.Grid->Selection()->Clear();
}

TEST(DBGridXPaint, APressedTitleButtonSinksAndShiftsItsContent) {
  struct Case {
    Integer titleLines;
    Integer shift;
  };
  for (const Case& c : std::initializer_list<Case>{{0, 1}, {2, 2}}) {
    TGridForm f;
    f.Bind();
    TColumnX* name = f.AddColumn("name", 90);
    name->Title()->SetTitleButton(true);
    name->Title()->SetSortMarker(smDownX);
    f.Grid->SetTitleLines(c.titleLines);
    const TRect title = f.Grid->CellRect(1, 0);
    const TRect inside(title.Left + 2, title.Top + 2, title.Right - 2, title.Bottom - 2);
    const TRect markerPart(inside.Right - 16, inside.Top, title.Right - 1, inside.Bottom);
    const TRect captionPart(inside.Left, inside.Top, inside.Right - 18, inside.Bottom);
    const QImage up = f.Grab();
    const TPoint press{(title.Left + title.Right) / 2, (title.Top + title.Bottom) / 2};
    f.Grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(press));
    ASSERT_TRUE(f.Grid->TitlePressedShown());
    const QImage down = f.Grab();
    const Integer middle = (title.Top + title.Bottom) / 2;
    EXPECT_EQ(PixelAt(up, title.Left, middle), Rgb(clBtnHighlight)) << "raised";
    EXPECT_EQ(PixelAt(down, title.Left, middle), Rgb(cl3DDkShadow)) << "pushed in";
    TRect marker = BoundsOfInk(up, markerPart, Rgb(clBtnFace));
    ASSERT_FALSE(marker.IsEmpty());
    OffsetRect(marker, c.shift, c.shift);
    EXPECT_EQ(BoundsOfInk(down, markerPart, Rgb(clBtnFace)), marker) << c.titleLines;
    EXPECT_EQ(BoundsOfInk(down, captionPart, Rgb(clBtnFace)).Left,
              BoundsOfInk(up, captionPart, Rgb(clBtnFace)).Left + c.shift)
        << c.titleLines;
    f.Grid->Perform(WM_LBUTTONUP, 0, PointToLParam(press));
    EXPECT_EQ(PixelAt(f.Grab(), title.Left, middle), Rgb(clBtnHighlight)) << "raised again";
  }
}

TEST(DBGridXPaint, CheckBoxAndImageCellsAndTheRequiredMark) {
  TGridForm f;
  f.Bind();
  TColumnX* check = f.AddColumn("flag", 60);
  check->SetCheckboxes(true);
  check->KeyList()->Add("Y");
  check->KeyList()->Add("n");
  TColumnX* image = f.AddColumn("flag", 60);
  for (const char* key : {"Y", "n", "x"}) image->KeyList()->Add(key);
  TImageList images(nullptr);
  AddRedSquare(images);
  image->SetImageList(&images);
  TColumnX* name = f.AddColumn("name", 80);
  name->SetHighlightRequired(true);
  f.Field("name")->SetRequired(true);
  const Integer top = f.Grid->TopDataRowOffset();
  QImage img = f.Grab();
  // Checked (Y), unchecked (n) and grayed (x): three faces of the glyph's size, centred, no text.
  std::vector<QImage> faces;
  for (Integer row = 0; row < 3; ++row) {
    const TRect cell = f.Grid->CellRect(1, top + row);
    const TRect ink = BoundsOfInk(img, TRect(cell.Left + 1, cell.Top + 1, cell.Right - 1, cell.Bottom - 1),
                                  PixelAt(img, cell.Left + 1, cell.Top + 1));
    const Integer left = (cell.Left + cell.Right - CheckBoxGlyphWidth) / 2;
    const Integer glyphTop = (cell.Top + cell.Bottom - CheckBoxGlyphHeight) / 2;
    EXPECT_GE(ink.Left, left) << row;
    EXPECT_LE(ink.Right, left + CheckBoxGlyphWidth) << row;
    EXPECT_GE(ink.Top, glyphTop) << row;
    EXPECT_LE(ink.Bottom, glyphTop + CheckBoxGlyphHeight) << row;
    EXPECT_GT(ink.Width(), CheckBoxGlyphWidth / 2) << row;
    faces.push_back(img.copy(left, glyphTop, CheckBoxGlyphWidth, CheckBoxGlyphHeight));
  }
  EXPECT_NE(faces[0], faces[1]);
  EXPECT_NE(faces[1], faces[2]);
  // Key Y shows image 0 in the cell's middle; key n names no image: an empty cell.
  const TRect first = f.Grid->CellRect(2, top), second = f.Grid->CellRect(2, top + 1);
  EXPECT_EQ(PixelAt(img, (first.Left + first.Right) / 2, (first.Top + first.Bottom) / 2), Rgb(clRed));
  EXPECT_FALSE(AnyPixel(img, second, Rgb(clRed)));
  EXPECT_TRUE(BoundsOfInk(img, TRect(second.Left + 1, second.Top + 1, second.Right - 1, second.Bottom - 1),
                          Rgb(clWindow))
                  .IsEmpty());
  // A required field left empty in the edited record is underlined in red dots.
  const TRect current = f.Grid->CellRect(3, top);
  const TRect underline(current.Left, current.Bottom - 1, current.Right, current.Bottom);
  EXPECT_FALSE(AnyPixel(img, underline, Rgb(clRed)));
  f.Query.Edit();
  f.Field("name")->Clear();
  EXPECT_TRUE(AnyPixel(f.Grab(), underline, Rgb(clRed)));
  f.Query.Cancel();
  EXPECT_FALSE(AnyPixel(f.Grab(), underline, Rgb(clRed)));
}

TEST(DBGridXPaint, TheIndicatorFooterCountsTheRecordsExceptWhileInserting) {
  TGridForm f;
  f.Bind();
  f.Grid->SetFooterRowCount(1);
  const auto footerInk = [&] {
    const TRect cell = f.Grid->CellRect(0, f.Grid->RowCount());
    return !BoundsOfInk(f.Grab(), TRect(cell.Left + 1, cell.Top + 1, cell.Right - 1, cell.Bottom - 1),
                        Rgb(f.Grid->FixedColor()))
                .IsEmpty();
  };
  EXPECT_FALSE(footerInk()) << "without record numbers";
  f.Grid->SetOptionsX(f.Grid->OptionsX() + TDBGridXOptions{dghShowRecNo});
  EXPECT_TRUE(footerInk());
  f.Query.Append();
  EXPECT_FALSE(footerInk());
  f.Query.Cancel();
}

TEST(DBGridXPaint, FrozenColumnsRaisedFilterCellsNever) {
  TGridForm f;
  f.Bind();
  f.Grid->STFilter()->SetVisible(true);
  f.Grid->SetOptionsX(f.Grid->OptionsX() + TDBGridXOptions{dghFrozen3D});
  f.Grid->SetFrozenCols(1);
  const Integer data = f.Grid->TopDataRowOffset() + 1;
  const auto leftEdge = [&](const QImage& Image, Integer ACol, Integer ARow) {
    const TRect r = f.Grid->CellRect(ACol, ARow);
    return PixelAt(Image, r.Left, r.Top + r.Height() / 2);
  };
  const auto bottomEdge = [&](const QImage& Image, Integer ACol, Integer ARow) {
    const TRect r = f.Grid->CellRect(ACol, ARow);
    return PixelAt(Image, (r.Left + r.Right) / 2, r.Bottom - 1);
  };
  const QImage img = f.Grab();
  EXPECT_EQ(bottomEdge(img, 1, data), Rgb(clBtnShadow)) << "a frozen column";
  EXPECT_EQ(bottomEdge(img, 2, data), Rgb(clWindow)) << "a scrolling column";
  EXPECT_EQ(leftEdge(img, 1, 0), Rgb(clBtnHighlight)) << "a title";
  EXPECT_NE(leftEdge(img, 1, 1), Rgb(clBtnHighlight)) << "a filter cell";
}

TEST(DBGridXPaint, TheFoundBeginningOfAnIncrementalSearchIsMarkedInTheCell) {
  TGridForm f;
  f.Bind();
  f.Form->SetActiveControl(f.Grid);
  f.Grid->SetFocus();
  f.Grid->SetSelectedIndex(1);
  const TColor searchColour = Rgb(DBGridXGlobals().IncSearchColor);
  f.Grid->IncSearchStep("w", -1, 2);
  ASSERT_EQ(f.Query.RecNo(), 3);
  const TRect cell = f.Grid->CellRect(2, f.Grid->Row());
  QImage img = f.Grab();
  const TRect marked = BoundsOfInk(img, cell, searchColour, true);
  ASSERT_FALSE(marked.IsEmpty());
  EXPECT_LE(marked.Left, cell.Left + 3) << "at the text's start";
  EXPECT_LT(marked.Right, cell.Left + 20) << "only the found letter";
  EXPECT_EQ(PixelAt(img, (cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2), Rgb(clHighlight));
  f.Grid->StopIncSearch();
  EXPECT_FALSE(AnyPixel(f.Grab(), cell, searchColour));
}

TEST(DBGridXPaint, CellsShowTheirColumnsButtonsWhereTheOptionsAllow) {
  TGridForm f;
  f.Bind();
  TColumnX* name = f.AddColumn("name", 120);
  name->PickList()->Add("Li");
  name->SetAlwaysShowEditButton(true);
  auto* ellipsis = static_cast<TEditButtonX*>(name->EditButtons()->Add());
  ellipsis->SetStyle(ebsEllipsisX);
  const Integer top = f.Grid->TopDataRowOffset();
  const Integer width = f.Grid->EditButtonWidth();
  const auto buttonsShown = [&](const QImage& Image, Integer ARow) {
    const TRect cell = f.Grid->CellRect(1, ARow);
    return !BoundsOfInk(Image, TRect(cell.Right - 2 * width, cell.Top, cell.Right, cell.Top + f.Grid->EditButtonHeight()),
                        Rgb(clWindow))
                .IsEmpty();
  };
  QImage img = f.Grab();
  EXPECT_TRUE(buttonsShown(img, top + 1));
  EXPECT_TRUE(buttonsShown(img, top + 2));
  f.Grid->SetEditButtonsShowOptions(TEditButtonsShowOptionsX{sebShowOnlyForCurRowX});
  img = f.Grab();
  EXPECT_FALSE(buttonsShown(img, top + 1)) << "only the current row";
  f.Query.Next();
  img = f.Grab();
  EXPECT_TRUE(buttonsShown(img, top + 1));
  EXPECT_FALSE(buttonsShown(img, top));
  // The button under the pointer lights in a hot-tracked grid: the default one is 0, the
  // first edit button 1.
  f.Grid->SetOptionsX(f.Grid->OptionsX() + TDBGridXOptions{dghHotTrack});
  const TRect cell = f.Grid->CellRect(1, top + 1);
  struct Case {
    Integer x;
    Integer button;
  };
  for (const Case& c : std::initializer_list<Case>{{cell.Left + 3, -1},
                                                   {cell.Right - 2 * width + 2, 0},
                                                   {cell.Right - 2, 1},
                                                   {cell.Left + 3, -1}}) {
    f.Grid->Perform(WM_MOUSEMOVE, 0, PointToLParam({c.x, cell.Top + 3}));
    EXPECT_EQ(f.Grid->HotEditButton(), c.button) << c.x - cell.Left;
  }
}

TEST(DBGridXPaint, HiddenDuplicatesLeaveOneTextAndNoLineBetween) {
  TGridForm f;
  f.Connection.ExecuteSql("UPDATE pay SET name = 'Same' WHERE id < 3");
  f.Query.Close();
  f.Query.Open();
  f.Bind();
  TColumnX* name = f.AddColumn("name", 80);
  const Integer top = f.Grid->TopDataRowOffset();
  const TRect first = f.Grid->CellRect(1, top), second = f.Grid->CellRect(1, top + 1);
  const Integer x = (first.Left + first.Right) / 2;
  const TRect secondInside(second.Left + 1, second.Top + 1, second.Right - 1, second.Bottom - 1);
  QImage img = f.Grab();
  const TColor line = PixelAt(img, x, second.Bottom);
  ASSERT_NE(line, Rgb(clWindow));
  EXPECT_EQ(PixelAt(img, x, first.Bottom), line);
  EXPECT_FALSE(BoundsOfInk(img, secondInside, Rgb(clWindow)).IsEmpty()) << "shown as it is";
  name->SetHideDuplicates(true);
  f.Grid->Invalidate();
  img = f.Grab();
  EXPECT_TRUE(BoundsOfInk(img, secondInside, Rgb(clWindow)).IsEmpty()) << "the repeated text is hidden";
  EXPECT_FALSE(BoundsOfInk(img, TRect(first.Left + 1, first.Top + 1, first.Right - 1, first.Bottom - 1), Rgb(clWindow))
                   .IsEmpty());
  EXPECT_EQ(PixelAt(img, x, first.Bottom), Rgb(clWindow)) << "no line inside the block";
  EXPECT_EQ(PixelAt(img, x, second.Bottom), line) << "the line below the block";
}

TEST(DBGridXPaint, AVerticalTitleRunsUpFromTheBottom) {
  TGridForm f;
  f.Bind();
  TColumnX* name = f.AddColumn("name", 60);
  name->Title()->SetCaption("Vertical caption");
  name->Title()->SetOrientation(tohVertical);
  f.Grid->SetUseMultiTitle(true);
  const TRect title = f.Grid->CellRect(1, 0);
  ASSERT_GT(title.Height(), 60) << "titles laid out as a tree grow for the turned caption";
  const TRect ink =
      BoundsOfInk(f.Grab(), TRect(title.Left + 2, title.Top + 2, title.Right - 2, title.Bottom - 2), Rgb(clBtnFace));
  ASSERT_FALSE(ink.IsEmpty());
  EXPECT_GT(ink.Height(), 3 * ink.Width());
  EXPECT_GE(ink.Bottom, title.Bottom - 6) << "from the bottom";
  EXPECT_LE(std::abs((ink.Left + ink.Right) - (title.Left + title.Right)), 6) << "centred, within the font's leading";
}

TEST(DBGridXPaint, ARightToLeftGridTurnsItsVerticalTitlesUnmirrored) {
  const auto titleInk = [](bool RightToLeft) {
    TGridForm f;
    f.Bind();
    TColumnX* name = f.AddColumn("name", 60);
    name->Title()->SetCaption("Vertical caption");
    name->Title()->SetOrientation(tohVertical);
    f.Grid->SetUseMultiTitle(true);
    if (RightToLeft) f.Grid->SetBiDiMode(bdRightToLeft);
    const QImage img = f.Grab();
    const TRect title = f.Grid->CellRect(1, 0);
    const TRect ink =
        BoundsOfInk(img, TRect(title.Left + 2, title.Top + 2, title.Right - 2, title.Bottom - 2), Rgb(clBlack), true);
    return std::make_pair(ink, img.copy(ink.Left, ink.Top, ink.Width(), ink.Height()));
  };
  const auto [leftInk, leftText] = titleInk(false);
  const auto [rightInk, rightText] = titleInk(true);
  ASSERT_FALSE(leftInk.IsEmpty());
  ASSERT_GT(leftInk.Height(), 3 * leftInk.Width()) << "turned";
  EXPECT_EQ(rightText, leftText) << "the same turned letters, not their mirror image";
  EXPECT_GT(rightInk.Left, leftInk.Left + 100) << "in the mirrored column at the right";
}

TEST(DBGridXPaint, ASortBySeveralColumnsNumbersTheirMarkers) {
  TGridForm f;
  f.Bind();
  f.Grid->SetOptionsX(f.Grid->OptionsX() + TDBGridXOptions{dghMultiSortMarking});
  TColumnX* name = f.AddColumn("name", 90);
  TColumnX* base = f.AddColumn("base", 90);
  base->Title()->SetSortMarker(smUpX);
  const TRect title = f.Grid->CellRect(2, 0);
  const TRect markerPart(title.Right - 30, title.Top + 2, title.Right - 2, title.Bottom - 2);
  const TRect alone = BoundsOfInk(f.Grab(), markerPart, Rgb(clBtnFace));
  name->Title()->SetSortMarker(smDownX);
  ASSERT_EQ(base->Title()->SortIndex(), 1);
  f.Grid->Invalidate();
  const TRect numbered = BoundsOfInk(f.Grab(), markerPart, Rgb(clBtnFace));
  EXPECT_LT(numbered.Left, alone.Left - 2) << "the marker moves left for its number 1";
  EXPECT_LE(numbered.Right, alone.Right) << "the number ends where the marker alone did";
}

TEST(DBGridXPaint, ARightToLeftGridWritesItsTextsUnmirrored) {
  // The black pixels of the third record's row: its name alone.
  const auto nameInk = [](bool RightToLeft) {
    TGridForm f;
    f.Bind();
    f.AddColumn("name", 100);
    // Without the indicator no black fixed line crosses the row.
    f.Grid->SetOptions(f.Grid->Options() - TDBGridOptions{dgIndicator});
    if (RightToLeft) f.Grid->SetBiDiMode(bdRightToLeft);
    const QImage img = f.Grab();
    const TRect row = f.Grid->CellRect(0, f.Grid->TopDataRowOffset() + 2);
    const TRect ink = BoundsOfInk(img, TRect(0, row.Top, img.width(), row.Bottom), Rgb(clBlack), true);
    return std::make_pair(ink, img.copy(ink.Left, ink.Top, ink.Width(), ink.Height()));
  };
  const auto [leftInk, leftText] = nameInk(false);
  const auto [rightInk, rightText] = nameInk(true);
  ASSERT_FALSE(leftInk.IsEmpty());
  ASSERT_FALSE(rightInk.IsEmpty());
  EXPECT_EQ(rightText, leftText) << "the same letters, not their mirror image";
  EXPECT_GT(rightInk.Left, leftInk.Left + 100) << "at the right, where the mirrored column starts";
}

TEST(DBGridXPaint, ARightToLeftGridClipsItsTextsWhereTheirCellsShow) {
  // A band's caption is written within a clip of the band's part over the cell; read right
  // to left, the clip must move to where the band shows, or the caption is cut away.
  const auto bandInk = [](bool RightToLeft) {
    TGridForm f;
    f.Bind();
    for (const char* field : {"base", "bonus"}) {
      f.AddColumn(field, 80);
    }
    f.Grid->Columns()->Items(0)->Title()->SetCaption("Pay|Base");
    f.Grid->Columns()->Items(1)->Title()->SetCaption("Pay|Bonus");
    f.Grid->SetUseMultiTitle(true);
    // Without the indicator no black fixed line crosses the band.
    f.Grid->SetOptions(f.Grid->Options() - TDBGridOptions{dgIndicator});
    if (RightToLeft) f.Grid->SetBiDiMode(bdRightToLeft);
    const QImage img = f.Grab();
    const Integer bandBottom = f.Grid->CellRect(1, 0).Bottom - f.Grid->LeafOf(f.Grid->Columns()->Items(0))->BandHeight;
    int black = 0;
    for (int y = 1; y < bandBottom - 1; ++y)
      for (int x = 0; x < img.width(); ++x) black += PixelAt(img, x, y) == Rgb(clBlack);
    return black;
  };
  const int leftToRight = bandInk(false);
  EXPECT_GT(leftToRight, 0);
  EXPECT_EQ(bandInk(true), leftToRight) << "the band's caption shows in a right-to-left grid too";
}

TEST(DBGridXPaint, SelectedRecordsTakeTheirColoursByTheFocus) {
  TGridForm f;
  f.Bind();
  const TWithoutGridStyle ownRules(f.Grid);
  f.Grid->SetOptions(f.Grid->Options() + TDBGridOptions{dgMultiSelect});
  TEdit* other = new TEdit(f.Form);
  other->SetParent(f.Form);
  f.Query.SetRecNo(3);
  f.Grid->RecordBookmarks()->MarkCurrentRow(true);
  f.Query.First();
  f.Grid->SetFocus();
  const TRect cell = f.Grid->CellRect(1, f.Grid->TopDataRowOffset() + 2);
  const TRect indicator = f.Grid->CellRect(0, f.Grid->TopDataRowOffset() + 2);
  QImage img = f.Grab();
  EXPECT_EQ(BackgroundOf(img, cell), Rgb(clHighlight));
  EXPECT_EQ(BackgroundOf(img, indicator), TColor(0x404040)) << "a selected record's indicator";
  EXPECT_EQ(BackgroundOf(img, f.Grid->CellRect(1, f.Grid->TopDataRowOffset() + 1)), Rgb(clWindow));
  other->SetFocus();
  EXPECT_EQ(BackgroundOf(f.Grab(), cell), Rgb(clBtnFace)) << "unfocused";
}

TEST(DBGridXPaint, OnlyANumberTooWideForItsRoomBecomesAMark) {
  TBitmap image(1, 1);
  TCanvas* canvas = image.Canvas();
  const Integer wide = canvas->TextWidth(QStringLiteral("99999999.99"));
  struct Case { const char* text; Integer room; const char* shown; };
  for (const Case& c : std::initializer_list<Case>{
         {"99999999.99", wide, "99999999.99"},
         {"99999999.99", wide - 1, "###"},
         {"-12100.00", 1, "###"},
         {"1,234.5", 1, "###"},
         {"￥20166.30", 1, "###"},
         {"15%", 1, "###"},
         {".5", 1, "###"},
         {"3条", 1, "3条"},
         {"2026年12月", 1, "2026年12月"},
         {"26-12-01 10:00", 1, "26-12-01 10:00"},
         {"E1001", 1, "E1001"},
         {"", 1, ""}})
    EXPECT_EQ(FittedNumberText(canvas, QString::fromUtf8(c.text), c.room), QString::fromUtf8(c.shown))
        << c.text << " in " << c.room;
}

TEST(DBGridXPaint, ANumberTooWideForItsCellShowsAMarkInCellsAndFooters) {
  TGridForm f;
  f.Connection.ExecuteSql("UPDATE pay SET name='###' WHERE id=2");
  f.Query.Close();
  f.Query.Open();
  f.Bind();
  f.Grid->SumList()->SetActive(true);
  TColumnX* amount = f.AddColumn("base", 30);
  amount->SetDisplayFormat("0.00");
  SumFooter(amount, fvtSum, "0.00");
  TColumnX* mark = f.AddColumn("name", 30);
  mark->SetAlignment(taRightJustify);
  mark->Footer()->SetValueType(fvtStaticText);
  mark->Footer()->SetValue("###");
  mark->Footer()->SetAlignment(taRightJustify);
  amount->Footer()->SetAlignment(taRightJustify);
  f.Grid->SetFooterRowCount(1);
  ASSERT_EQ(f.Grid->FooterValueText(0, 0), "6000.50");
  const QImage img = f.Grab();
  // "2000.50" and "6000.50" would lose their leading digits; they show exactly as "###" does.
  for (const Integer row : {2, f.Grid->RowCount()}) {
    const TRect a = f.Grid->CellRect(1, row), b = f.Grid->CellRect(2, row);
    ASSERT_EQ(a.Width(), b.Width());
    EXPECT_EQ(img.copy(a.Left, a.Top, a.Width(), a.Height()), img.copy(b.Left, b.Top, b.Width(), b.Height())) << row;
  }
}

TEST(DBGridXPaint, AColumnLineNeverCrossesTheBandAboveItsColumns) {
  TGridForm f;
  f.Bind();
  for (const char* field : {"name", "base", "bonus", "qty"}) f.AddColumn(field, 60);
  f.Grid->Columns()->Items(1)->Title()->SetCaption("应发工资|基本工资");
  f.Grid->Columns()->Items(2)->Title()->SetCaption("应发工资|住房公积金");
  f.Grid->Columns()->Items(3)->Title()->SetCaption("应发工资|奖金");
  f.Grid->SetUseMultiTitle(true);
  const QImage img = f.Grab();
  THeadTreeNode* leaf = f.Grid->LeafOf(f.Grid->Columns()->Items(1));
  ASSERT_NE(leaf, nullptr);
  const TRect base = f.Grid->CellRect(2, 0), bonus = f.Grid->CellRect(3, 0);
  const Integer bandBottom = base.Bottom - leaf->BandHeight;
  const TColor background = PixelAt(img, base.Left + 2, base.Top + 1);
  // The caption stands over the middle column; down the band, where the column lines run
  // under it, only the band's own colour.
  for (const Integer x : {base.Right, bonus.Right})
    for (Integer y = base.Top + 1; y < bandBottom - 1; ++y) EXPECT_EQ(PixelAt(img, x, y), background) << x << "," << y;
  EXPECT_NE(PixelAt(img, base.Right, base.Bottom - 2), background) << "the line between the leaves";
}

TEST(DBGridXPaint, ARightToLeftGridDrawsItsCheckBoxesUnmirrored) {
  // The black pixels of the first record's check box, which is checked.
  const auto checkInk = [](bool RightToLeft) {
    TGridForm f;
    f.Bind();
    TColumnX* check = f.AddColumn("flag", 60);
    check->SetCheckboxes(true);
    check->KeyList()->Add("Y");
    check->KeyList()->Add("n");
    f.Grid->SetOptions(f.Grid->Options() - TDBGridOptions{dgIndicator});
    if (RightToLeft) f.Grid->SetBiDiMode(bdRightToLeft);
    const QImage img = f.Grab();
    const TRect row = f.Grid->CellRect(0, f.Grid->TopDataRowOffset());
    const TRect ink = BoundsOfInk(img, TRect(0, row.Top + 1, img.width(), row.Bottom - 1), Rgb(clBlack), true);
    return img.copy(ink.Left, ink.Top, ink.Width(), ink.Height());
  };
  const QImage leftToRight = checkInk(false);
  ASSERT_FALSE(leftToRight.isNull());
  EXPECT_EQ(checkInk(true), leftToRight) << "the same check mark, not its mirror image";
}

TEST(DBGridXPaint, AChangeOfTheTitleImagesRepaintsTheGridUntilAnotherListIsTaken) {
  TGridForm f(400, 200, false);
  auto* grid = new TCountingGrid(f.Form);
  grid->SetParent(f.Form);
  grid->SetBounds(10, 10, 300, 150);
  grid->SetDataSource(&f.Source);
  TImageList images(nullptr), other(nullptr);
  grid->SetTitleImages(&images);
  f.Form->Show();
  QApplication::processEvents();
  struct Step {
    TImageList* changed;
    bool repainted;
    const char* what;
  };
  for (const Step& step : std::initializer_list<Step>{{&images, true, "the grid's list"}, {&other, false, "another list"}}) {
    grid->PaintedRows.clear();
    step.changed->SetBkColor(clRed);
    QApplication::processEvents();
    EXPECT_EQ(!grid->PaintedRows.empty(), step.repainted) << step.what;
  }
  grid->SetTitleImages(&other);
  QApplication::processEvents();
  grid->PaintedRows.clear();
  images.SetBkColor(clBlue);
  QApplication::processEvents();
  EXPECT_TRUE(grid->PaintedRows.empty()) << "the former list no longer reaches the grid";
  other.SetBkColor(clBlue);
  QApplication::processEvents();
  EXPECT_FALSE(grid->PaintedRows.empty());
}

TEST(DBGridXPaint, LeafCaptionsOfOneTitleRowShareABaselineAcrossBands) {
  TGridForm f(400, 200);
  f.Bind();
  // The first band's leaves need two lines (one caption must break in its narrow column), the
  // second band's one: the title's bottom row is as tall for both, so the same caption sits
  // at the same height under either band.
  struct Leaf {
    const char* field;
    const char* caption;
    Integer width;
  };
  for (const Leaf& leaf : std::initializer_list<Leaf>{{"base", "应发|住房公积金", 40},
                                                      {"bonus", "应发|金额", 60},
                                                      {"qty", "扣款|金额", 60},
                                                      {"flag", "扣款|税", 60}})
    f.AddColumn(leaf.field, leaf.width)->Title()->SetCaption(QString::fromUtf8(leaf.caption));
  f.Grid->SetUseMultiTitle(true);
  const QImage img = f.Grab();
  const auto leafInk = [&](Integer DataCol) {
    const TRect cell = f.Grid->CellRect(DataCol + 1, 0);
    const Integer leafTop = cell.Bottom - f.Grid->LeafOf(f.Grid->Columns()->Items(DataCol))->BandHeight + 1;
    return BoundsOfInk(img, TRect(cell.Left + 2, leafTop + 2, cell.Right - 2, cell.Bottom - 2), Rgb(clBtnFace));
  };
  const TRect earned = leafInk(1), deducted = leafInk(2);
  ASSERT_FALSE(earned.IsEmpty());
  EXPECT_EQ(earned.Top, deducted.Top);
  EXPECT_EQ(earned.Bottom, deducted.Bottom);
  EXPECT_EQ(f.Grid->LeafOf(f.Grid->Columns()->Items(1))->BandHeight,
            f.Grid->LeafOf(f.Grid->Columns()->Items(2))->BandHeight);
  EXPECT_GT(leafInk(0).Height(), earned.Height() * 3 / 2) << "the narrow column's caption takes two lines";
}

TEST(DBGridXPaint, ATitleCaptionBreaksOnlyWhereItMustAndEvenly) {
  TGridForm f;
  f.Bind();
  const QFontMetrics metrics(f.Grid->TitleFont()->ToQFont());
  const auto width = [&](const char* Text) { return Integer(metrics.horizontalAdvance(QString::fromUtf8(Text))); };
  struct Case {
    const char* caption;
    Integer width;
    std::vector<const char*> lines;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"住房公积金", width("住房公积金"), {"住房公积金"}},
           {"住房公积金", width("住房公积金") - 1, {"住房", "公积金"}},
           {"个人所得税", width("所得税"), {"个人", "所得税"}},
           {"一二三四五六七", width("一二三"), {"一二", "三四", "五六七"}},
           {"Net pay total", width("Net pay"), {"Net pay", "total"}},
           {"Overtime", 10, {"Overtime"}},
           {"A\nB", 100, {"A", "B"}},
       }) {
    QStringList expected;
    for (const char* line : c.lines) expected << QString::fromUtf8(line);
    EXPECT_EQ(TitleCaptionLines(metrics, QString::fromUtf8(c.caption), c.width), expected)
        << c.caption << " in " << c.width;
  }

  // In the grid: a column as wide as the caption keeps it on one line; a narrower one breaks
  // it with the shorter part first.
  struct TTitleInk {
    TRect All, FirstLine, SecondLine;
  };
  const auto titleInk = [&](Integer ColumnWidth) {
    TGridForm g;
    g.Bind();
    g.AddColumn("name", 60)->Title()->SetCaption("姓名");
    g.AddColumn("base", ColumnWidth)->Title()->SetCaption(QString::fromUtf8("扣款|住房公积金"));
    g.AddColumn("qty", 60)->Title()->SetCaption(QString::fromUtf8("扣款|个人所得税"));
    g.Grid->SetUseMultiTitle(true);
    const QImage img = g.Grab();
    const TRect cell = g.Grid->CellRect(2, 0);
    const Integer leafTop = cell.Bottom - g.Grid->LeafOf(g.Grid->Columns()->Items(1))->BandHeight + 1;
    const TRect leaf(cell.Left + 2, leafTop + 2, cell.Right - 2, cell.Bottom - 2);
    TTitleInk ink;
    ink.All = BoundsOfInk(img, leaf, Rgb(clBtnFace));
    const Integer middle = (ink.All.Top + ink.All.Bottom) / 2;
    ink.FirstLine = BoundsOfInk(img, TRect(leaf.Left, leaf.Top, leaf.Right, middle), Rgb(clBtnFace));
    ink.SecondLine = BoundsOfInk(img, TRect(leaf.Left, middle, leaf.Right, leaf.Bottom), Rgb(clBtnFace));
    return ink;
  };
  const Integer lineHeight = metrics.height();
  EXPECT_LT(titleInk(width("住房公积金") + 6).All.Height(), lineHeight) << "one line";
  const TTitleInk narrow = titleInk(width("住房公积金"));
  EXPECT_GT(narrow.All.Height(), lineHeight) << "two lines";
  EXPECT_LT(narrow.FirstLine.Width(), narrow.SecondLine.Width()) << "住房 over 公积金";
}
