// The row panel's layout of the columns inside a record's cell, its scaling and ordering.
#include "DBGridXTestSupport.h"
#include <map>

namespace {

using dbgridtest::TGridForm;

struct Placement { const char* field; Integer pos, lines, width; bool visible; };

// Columns on the pay table placed as given; answers the columns in that order.
std::vector<TColumnX*> Place(TGridForm& F, const std::vector<Placement>& Placements) {
  std::vector<TColumnX*> columns;
  for (const Placement& p : Placements) {
    TColumnX* column = F.Grid->Columns()->Add();
    column->SetFieldName(QString::fromUtf8(p.field));
    column->SetInRowLinePos(p.pos);
    column->SetInRowLineHeight(p.lines);
    column->SetWidth(p.width);
    column->SetVisible(p.visible);
    columns.push_back(column);
  }
  F.Bind();
  F.Grid->LayoutRowPanel();
  return columns;
}

std::string Lefts(TGridForm& F) {
  std::string text;
  for (Integer i = 0; i < F.Grid->Columns()->Count(); ++i)
    text += (i ? " " : "") + std::to_string(F.Grid->RowPanelRect(i).Left) + "/" + std::to_string(F.Grid->RowPanelRect(i).Width);
  return text;
}

TEST(RowPanel, ColumnsFillTheirLinesFromTheLeft) {
  struct Case { const char* name; std::vector<Placement> placements; const char* lefts; };
  const std::vector<Case> cases = {
      {"stacked lines", {{"id", 0, 1, 50, true}, {"name", 1, 2, 60, true}, {"base", 0, 1, 40, true}, {"bonus", 1, 1, 30, true}},
       "0/50 0/60 51/40 61/30"},
      {"a two-line column starts right of the widest of its lines",
       {{"id", 1, 1, 50, true}, {"name", 2, 1, 80, true}, {"base", 1, 2, 40, true}}, "0/50 0/80 81/40"},
      {"a hidden column takes no width", {{"id", 0, 1, 50, true}, {"name", 0, 1, 60, false}, {"base", 0, 1, 40, true}},
       "0/50 51/0 51/40"},
  };
  for (const Case& c : cases) {
    TGridForm f;
    Place(f, c.placements);
    EXPECT_EQ(Lefts(f), c.lefts) << c.name;
  }
}

TEST(RowPanel, LinesStackByTheTitleLineHeight) {
  TGridForm f;
  Place(f, {{"id", 0, 1, 50, true}, {"name", 1, 2, 60, true}});
  const Integer h = f.Grid->DefaultTitleRowHeight();
  const Integer line = f.Grid->GridLineWidth();
  EXPECT_EQ(f.Grid->RowPanelLineHeight(), h);
  EXPECT_EQ(f.Grid->RowPanelRect(1).Top, line + h);
  EXPECT_EQ(f.Grid->RowPanelRect(1).Height, 2 * (line + h) - 1);
  EXPECT_EQ(f.Grid->RowPanelHeight(), 3 * (line + h) - 1);
  EXPECT_EQ(f.Grid->RowPanelWidth(), 60);
  EXPECT_EQ(f.Grid->PanelColumnAtPoint(TPoint(55, line + h + 3), true)->FieldName(), "name");
  EXPECT_EQ(f.Grid->PanelColumnAtPoint(TPoint(55, 3), true), nullptr);
}

TEST(RowPanel, ScalingKeepsRelativePositionsAndLeavesAnEmptyPanel) {
  TGridForm f;
  std::vector<TColumnX*> columns = Place(f, {{"id", 0, 1, 50, true}, {"base", 0, 1, 40, true}, {"bonus", 1, 1, 99, true}});
  f.Grid->ScaleRowPanelWidths(300, 600);
  EXPECT_EQ(Lefts(f), "0/101 102/81 0/199");
  f.Grid->ScaleRowPanelWidths(600, 300);
  EXPECT_EQ(Lefts(f), "0/50 51/40 0/99");
  f.Grid->ScaleRowPanelWidths(300, 450);
  EXPECT_EQ(Lefts(f), "0/75 76/61 0/149") << "each edge rounds on its own, halves to even";

  for (TColumnX* column : columns) column->SetVisible(false);
  f.Grid->LayoutRowPanel();
  EXPECT_EQ(f.Grid->RowPanelWidth(), 0);
  f.Grid->ScaleRowPanelWidths(f.Grid->RowPanelWidth(), 600);
  EXPECT_EQ(columns[0]->Width(), 75) << "no visible column: widths stay";
}

TEST(RowPanel, TurningItOnMovesToTheFirstDataColumnAndOrdersColumnsByPlace) {
  TGridForm f;
  std::vector<TColumnX*> columns = Place(f, {{"id", 1, 1, 50, true}, {"name", 0, 1, 60, false}, {"base", 0, 1, 40, true}});
  f.Grid->SetCol(f.Grid->ColumnIndexToGridCol(2));
  f.Grid->RowPanel()->SetActive(true);
  EXPECT_EQ(f.Grid->Col(), f.Grid->ColumnIndexToGridCol(0));
  f.Grid->SortColumnsByPanelPosition();
  EXPECT_EQ(columns[1]->Index(), 0) << "hidden first at the same place";
  EXPECT_EQ(columns[2]->Index(), 1);
  EXPECT_EQ(columns[0]->Index(), 2);
}

TEST(RowPanel, ADroppedTitleGoesAfterItsTarget) {
  TGridForm f;
  std::vector<TColumnX*> columns =
      Place(f, {{"id", 0, 1, 50, true}, {"name", 0, 1, 60, true}, {"base", 0, 1, 40, true}, {"bonus", 1, 1, 30, true}});
  f.Grid->RowPanel()->SetActive(true);
  f.Grid->DropPanelColumn(columns[1], 1, 0);
  EXPECT_EQ(columns[1]->Index(), 1) << "dropped on itself";
  f.Grid->DropPanelColumn(columns[0], 3, 1);
  EXPECT_EQ(columns[0]->Index(), 3) << "after the last it becomes the last";
  EXPECT_EQ(columns[0]->InRowLinePos(), 1);
  f.Grid->DropPanelColumn(columns[3], -1, 0);
  EXPECT_EQ(columns[3]->Index(), 0);
  EXPECT_EQ(columns[3]->InRowLinePos(), 0);
}

// Two panel lines over the pay table: qty and name on the first, base and bonus on the second,
// added in the order qty, base, name, bonus.
struct TTwoLinePanel : TGridForm {
  TTwoLinePanel() : TGridForm(400, 240) {
    for (const Placement& p : std::vector<Placement>{{"qty", 0, 1, 50, true}, {"base", 1, 1, 40, true},
                                                    {"name", 0, 1, 60, true}, {"bonus", 1, 1, 70, true}}) {
      TColumnX* column = Grid->Columns()->Add();
      column->SetFieldName(QString::fromUtf8(p.field));
      column->SetInRowLinePos(p.pos);
      column->SetWidth(p.width);
      column->Title()->SetCaption(QStringLiteral("Wg") + QString::fromUtf8(p.field));
    }
    Bind();
    Grid->RowPanel()->SetActive(true);
    QApplication::processEvents();
  }
  std::string Where() {
    return Grid->SelectedColumn()->FieldName().toStdString() + "@" + std::to_string(Query.RecNo());
  }
};

TEST(RowPanel, ArrowsAndTabMoveFromCellToCell) {
  struct Step { Word key; TShiftState shift; const char* where; };
  struct Case { const char* name; TGridRowPanelTabNavigationTypeX tabs; std::vector<Step> steps; };
  const TShiftState none, shift{ssShift};
  const std::vector<Case> cases = {
      {"arrows", rpntUpToDownPriorityX,
       {{VK_RIGHT, none, "name@1"}, {VK_RIGHT, none, "name@1"}, {VK_DOWN, none, "bonus@1"},
        {VK_DOWN, none, "name@2"}, {VK_LEFT, none, "qty@2"}, {VK_UP, none, "base@1"}, {VK_UP, none, "qty@1"},
        {VK_UP, none, "qty@1"}}},
      {"tab in collection order", rpntUpToDownPriorityX,
       {{VK_TAB, none, "base@1"}, {VK_TAB, none, "name@1"}, {VK_TAB, none, "bonus@1"}, {VK_TAB, none, "qty@2"},
        {VK_TAB, shift, "bonus@1"}}},
      {"tab along the lines", rpntLeftToRightPriorityX,
       {{VK_TAB, none, "name@1"}, {VK_TAB, none, "base@1"}, {VK_TAB, none, "bonus@1"}, {VK_TAB, none, "qty@2"},
        {VK_TAB, shift, "bonus@1"}, {VK_TAB, shift, "base@1"}}},
  };
  for (const Case& c : cases) {
    TTwoLinePanel f;
    f.Grid->RowPanel()->SetNavKeysNavigationType(rpntCellToCellX);
    f.Grid->RowPanel()->SetTabNavigationType(c.tabs);
    ASSERT_EQ(f.Where(), "qty@1") << c.name;
    for (size_t i = 0; i < c.steps.size(); ++i) {
      Word key = c.steps[i].key;
      f.Grid->KeyDown(key, c.steps[i].shift);
      EXPECT_EQ(f.Where(), c.steps[i].where) << c.name << " step " << i;
    }
  }
}

TEST(RowPanel, RowToRowArrowsMoveRecordsAndColumnsInOrder) {
  TTwoLinePanel f;
  Word key = VK_DOWN;
  f.Grid->KeyDown(key, TShiftState());
  EXPECT_EQ(f.Where(), "qty@2");
  key = VK_RIGHT;
  f.Grid->KeyDown(key, TShiftState());
  EXPECT_EQ(f.Where(), "base@2");
}

TEST(RowPanel, EachColumnIsPaintedInItsRectangleOfThePanelCell) {
  TTwoLinePanel f;
  const Integer header = f.Grid->HeaderRowCount();
  EXPECT_EQ(f.Grid->RowHeights(0), f.Grid->RowPanelHeight());
  EXPECT_EQ(f.Grid->RowHeights(header), f.Grid->RowPanelHeight());
  std::map<std::string, TRect> painted;
  f.Grid->OnDrawColumnCell = [&](TObject*, const TRect& Rect, Integer, TColumnX* Column, TGridDrawState) {
    if (Rect.Top >= f.Grid->CellRect(1, header).Top && Rect.Top < f.Grid->CellRect(1, header).Bottom)
      painted[Column->FieldName().toStdString()] = Rect;
  };
  const QImage image = f.Grab();
  const TRect data = f.Grid->CellRect(f.Grid->ColumnIndexToGridCol(0), header);
  const TRect title = f.Grid->CellRect(f.Grid->ColumnIndexToGridCol(0), 0);
  for (Integer i = 0; i < f.Grid->Columns()->Count(); ++i) {
    TColumnX* column = f.Grid->Columns()->Items(i);
    const TRowPanelRectX& r = f.Grid->RowPanelRect(i);
    const std::string field = column->FieldName().toStdString();
    const TRect expected(data.Left + r.Left, data.Top + r.Top, data.Left + r.Left + r.Width, data.Top + r.Top + r.Height);
    EXPECT_EQ(painted[field], expected) << field;
    Integer dark = 0;
    for (Integer x = title.Left + r.Left + 2; x < title.Left + r.Left + r.Width - 2; ++x)
      for (Integer y = title.Top + r.Top + 1; y < title.Top + r.Top + r.Height - 1; ++y)
        dark += qGray(image.pixel(x, y)) < 100 ? 1 : 0;
    EXPECT_GT(dark, 10) << "the title of " << field << " in its own rectangle";
  }
  const TRowPanelRectX& first = f.Grid->RowPanelRect(0);
  EXPECT_EQ(image.pixelColor(title.Left + 10, title.Top + first.Top + first.Height),
            ColorToQColor(f.Grid->LineColors()->DarkLineColor()))
      << "a line under the first title line";
}

}  // namespace
