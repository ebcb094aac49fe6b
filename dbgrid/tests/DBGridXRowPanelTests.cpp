// The row panel's layout of the columns inside a record's cell, its scaling and ordering.
#include "DBGridXEditTestSupport.h"
#include <map>
#include <set>

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

TEST(RowPanel, AutoFittedWidthsScaleThePanelToTheRoomBesideTheIndicator) {
  TGridForm f;
  std::vector<TColumnX*> columns = Place(f, {{"id", 0, 1, 50, true}, {"base", 0, 1, 40, true}, {"bonus", 1, 1, 99, true}});
  f.Grid->RowPanel()->SetActive(true);
  f.Grid->SetAutoFitColWidths(true);
  auto room = [&] { return f.Grid->ClientWidth() - f.Grid->IndicatorWidth() - 1; };
  auto expectFitted = [&](const char* When) {
    // Each edge is rounded on its own, so the panel may end a pixel or two off the room.
    EXPECT_NEAR(f.Grid->RowPanelWidth(), room(), 2) << When;
    EXPECT_EQ(f.Grid->ColWidths(f.Grid->ColumnIndexToGridCol(0)), f.Grid->RowPanelWidth()) << When;
    EXPECT_NEAR(double(f.Grid->RowPanelRect(1).Left) / f.Grid->RowPanelWidth(), 51.0 / 99, 0.02) << When;
    EXPECT_NEAR(double(columns[0]->Width()) / columns[2]->Width(), 50.0 / 99, 0.02) << When;
  };
  expectFitted("on");
  f.Grid->SetWidth(300);
  QApplication::processEvents();
  expectFitted("narrower");
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
  TColumnX* Column(const char* Field) {
    for (Integer i = 0; i < Grid->Columns()->Count(); ++i)
      if (Grid->Columns()->Items(i)->FieldName() == QString::fromUtf8(Field)) return Grid->Columns()->Items(i);
    return nullptr;
  }
  // The field's rectangle in the panel cell of grid row Row, in client coordinates.
  TRect Rect(const char* Field, Integer Row) {
    return Grid->PanelColumnRect(Grid->ColumnIndexToGridCol(0), Row, Column(Field)->Index());
  }
  static TPoint Mid(const TRect& R) { return TPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2); }
  void Send(Cardinal Msg, TPoint P, Word Keys = 0) { Grid->Perform(Msg, Keys, PointToLParam(P)); }
  void Click(TPoint P, Word Keys = 0) {
    Send(WM_LBUTTONDOWN, P, MK_LBUTTON | Keys);
    Send(WM_LBUTTONUP, P, Keys);
  }
  // Presses at From, moves past the drag threshold, then to To, and releases there.
  void Drag(TPoint From, TPoint To, Word Keys = 0) {
    Send(WM_LBUTTONDOWN, From, MK_LBUTTON | Keys);
    Send(WM_MOUSEMOVE, TPoint(From.X + 5, From.Y), MK_LBUTTON | Keys);
    Send(WM_MOUSEMOVE, To, MK_LBUTTON | Keys);
    Send(WM_LBUTTONUP, To, Keys);
  }
  // Columns in collection order as field:line.
  std::string Order() {
    std::string text;
    for (Integer i = 0; i < Grid->Columns()->Count(); ++i) {
      TColumnX* column = Grid->Columns()->Items(i);
      text += (i ? " " : "") + column->FieldName().toStdString() + ":" + std::to_string(column->InRowLinePos());
    }
    return text;
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

TEST(RowPanel, PressesOnPanelCellsMakeTheirColumnCurrentAndTitlesClickAndSort) {
  TTwoLinePanel f;
  std::vector<std::string> cells, titles, buttons;
  auto name = [](TColumnX* Column) { return Column->FieldName().toStdString(); };
  f.Grid->OnCellClick = [&](TColumnX* Column) { cells.push_back(name(Column)); };
  f.Grid->OnTitleClick = [&](TColumnX* Column) { titles.push_back(name(Column)); };
  f.Grid->OnTitleBtnClick = [&](TObject*, Integer, TColumnX* Column) { buttons.push_back(name(Column)); };
  Integer sortings = 0;
  f.Grid->OnSortMarkingChanged = [&](TObject*) { ++sortings; };
  f.Grid->SetOptionsX(f.Grid->OptionsX() + TDBGridXOptions{dghAutoSortMarking} - TDBGridXOptions{dghColumnMove});
  f.Column("name")->Title()->SetTitleButton(true);
  const Integer header = f.Grid->HeaderRowCount();

  f.Click(f.Mid(f.Rect("bonus", header + 1)));
  EXPECT_EQ(f.Where(), "bonus@2");
  f.Click(f.Mid(f.Rect("base", header)));
  EXPECT_EQ(f.Where(), "base@1");
  EXPECT_EQ(cells, (std::vector<std::string>{"bonus", "base"}));

  f.Click(f.Mid(f.Rect("name", 0)));
  EXPECT_EQ(buttons, std::vector<std::string>{"name"});
  EXPECT_EQ(f.Column("name")->Title()->SortMarker(), smDownX);
  EXPECT_EQ(sortings, 1);
  f.Send(WM_LBUTTONDOWN, f.Mid(f.Rect("name", 0)), MK_LBUTTON);
  EXPECT_TRUE(f.Grid->TitlePressedShown());
  f.Send(WM_MOUSEMOVE, f.Mid(f.Rect("qty", 0)), MK_LBUTTON);
  EXPECT_FALSE(f.Grid->TitlePressedShown()) << "the press shows only over its own panel title";
  f.Send(WM_LBUTTONUP, f.Mid(f.Rect("qty", 0)));
  EXPECT_EQ(buttons.size(), 1u) << "released on another title: no button click";
  EXPECT_EQ(titles, (std::vector<std::string>{"name", "qty"}));
  EXPECT_EQ(f.Where(), "base@1") << "titles do not move the current cell";
}

TEST(RowPanel, TitleDragsMoveColumnsAlongThePanelLines) {
  struct Case { const char* name; const char* dragged; const char* target; bool rightOfTarget; const char* order; };
  const std::vector<Case> cases = {
      {"after the last column on the second line", "qty", "bonus", true, "base:1 name:0 bonus:1 qty:1"},
      {"after a column on the first line", "bonus", "qty", true, "qty:0 bonus:0 base:1 name:0"},
      {"first on a line", "name", "base", false, "name:1 qty:0 base:1 bonus:1"},
      {"onto itself", "name", "name", true, "qty:0 base:1 name:0 bonus:1"},
  };
  for (const Case& c : cases) {
    TTwoLinePanel f;
    f.Grid->SetOptionsX(f.Grid->OptionsX() + TDBGridXOptions{dghColumnMove});
    const TRect from = f.Rect(c.dragged, 0), target = f.Rect(c.target, 0);
    const TPoint press = f.Mid(from);
    // The frame keeps the pressed point's offset: its top decides the line.
    const TPoint to(c.rightOfTarget ? target.Right + 4 : target.Left + 2, target.Top + (press.Y - from.Top) + 1);
    f.Send(WM_LBUTTONDOWN, press, MK_LBUTTON);
    f.Send(WM_MOUSEMOVE, TPoint(press.X + 5, press.Y), MK_LBUTTON);
    EXPECT_TRUE(f.Grid->PanelTitleDragging()) << c.name;
    f.Send(WM_MOUSEMOVE, to, MK_LBUTTON);
    f.Send(WM_LBUTTONUP, to);
    EXPECT_FALSE(f.Grid->PanelTitleDragging()) << c.name;
    EXPECT_EQ(f.Order(), c.order) << c.name;
  }
}

TEST(RowPanel, EscapeAbandonsATitleDrag) {
  TTwoLinePanel f;
  f.Grid->SetOptionsX(f.Grid->OptionsX() + TDBGridXOptions{dghColumnMove});
  const TPoint press = f.Mid(f.Rect("qty", 0));
  const TRect bonus = f.Rect("bonus", 0);
  f.Send(WM_LBUTTONDOWN, press, MK_LBUTTON);
  f.Send(WM_MOUSEMOVE, TPoint(press.X + 5, press.Y), MK_LBUTTON);
  f.Send(WM_MOUSEMOVE, TPoint(bonus.Right + 4, bonus.Top + press.Y - f.Rect("qty", 0).Top + 1), MK_LBUTTON);
  ASSERT_TRUE(f.Grid->PanelTitleDragging());
  EXPECT_EQ(f.Grid->DragTargetCol(), f.Column("bonus")->Index());
  EXPECT_EQ(f.Grid->DragTargetLine(), 1);
  Word key = VK_ESCAPE;
  f.Grid->KeyDown(key, TShiftState());
  EXPECT_FALSE(f.Grid->PanelTitleDragging());
  f.Send(WM_LBUTTONUP, press);
  EXPECT_EQ(f.Order(), "qty:0 base:1 name:0 bonus:1");
}

TEST(RowPanel, ATitleDraggedPastTheVisiblePartScrollsTheGridAndKeepsScrollingOnTheTimer) {
  TGridForm f(200, 160);
  Place(f, {{"qty", 0, 1, 120, true}, {"name", 0, 1, 120, true}});
  f.Grid->SetOptionsX(f.Grid->OptionsX() + TDBGridXOptions{dghColumnMove});
  f.Grid->RowPanel()->SetActive(true);
  QApplication::processEvents();
  auto send = [&](Cardinal Msg, TPoint P, Word Keys) { f.Grid->Perform(Msg, Keys, PointToLParam(P)); };
  const TRect qty = f.Grid->PanelColumnRect(f.Grid->ColumnIndexToGridCol(0), 0, 0);
  const TPoint press((qty.Left + qty.Right) / 2, (qty.Top + qty.Bottom) / 2);
  const TPoint nearRight(f.Grid->ClientWidth() - 6, press.Y);
  send(WM_LBUTTONDOWN, press, MK_LBUTTON);
  send(WM_MOUSEMOVE, TPoint(press.X + 5, press.Y), MK_LBUTTON);
  ASSERT_EQ(f.Grid->LeftColOffset(), 0);
  send(WM_MOUSEMOVE, nearRight, MK_LBUTTON);
  const Integer scrolled = f.Grid->LeftColOffset();
  EXPECT_GT(scrolled, 0) << "the frame ran off the right edge";
  EXPECT_TRUE(f.Grid->AutoScrollRunning());
  f.Grid->Perform(WM_TIMER, WPARAM(TCustomDBGridX::AutoScrollTimerId), 0);
  EXPECT_GT(f.Grid->LeftColOffset(), scrolled) << "a tick with the pointer standing still scrolls on";
  send(WM_LBUTTONUP, nearRight, 0);
  EXPECT_FALSE(f.Grid->AutoScrollRunning());
  EXPECT_FALSE(f.Grid->PanelTitleDragging());
}

TEST(RowPanel, CellBordersSizeWidthsAndLineCounts) {
  // Widths of qty, base, name, bonus, then the line counts of qty and name.
  struct Case { const char* name; const char* field; bool bottom; Integer delta; Word keys; const char* sizes; };
  const std::vector<Case> cases = {
      {"a width", "qty", false, 20, 0, "70 40 60 70 / 1 1"},
      {"a width snaps to a near edge", "base", false, 8, 0, "50 50 60 70 / 1 1"},
      {"columns ending at the same edge follow", "name", false, 10, 0, "50 40 70 80 / 1 1"},
      {"with Shift alone", "name", false, 10, MK_SHIFT, "50 40 70 70 / 1 1"},
      {"lines, with the columns ending on the same line", "qty", true, 0, 0, "50 40 60 70 / 2 2"},
      {"lines with Shift alone", "qty", true, 0, MK_SHIFT, "50 40 60 70 / 2 1"},
  };
  for (const Case& c : cases) {
    TTwoLinePanel f;
    f.Grid->SetRowSizingAllowed(true);
    const Integer row = f.Grid->HeaderRowCount();
    const TRect r = f.Rect(c.field, row);
    const Integer lineHeight = f.Grid->DefaultTitleRowHeight();
    const TPoint from = c.bottom ? TPoint(r.Left + 5, r.Bottom) : TPoint(r.Right, r.Top + 5);
    const TPoint to = c.bottom ? TPoint(from.X, from.Y + lineHeight) : TPoint(from.X + c.delta, from.Y);
    f.Send(WM_LBUTTONDOWN, from, MK_LBUTTON | c.keys);
    EXPECT_EQ(f.Grid->GridState(), c.bottom ? msRowSizing : msColSizing) << c.name;
    f.Send(WM_MOUSEMOVE, to, MK_LBUTTON | c.keys);
    f.Send(WM_LBUTTONUP, to, c.keys);
    EXPECT_EQ(f.Grid->GridState(), msIdle) << c.name;
    std::string sizes;
    for (const char* field : {"qty", "base", "name", "bonus"})
      sizes += std::to_string(f.Column(field)->Width()) + " ";
    sizes += "/ " + std::to_string(f.Column("qty")->InRowLineHeight()) + " " +
             std::to_string(f.Column("name")->InRowLineHeight());
    EXPECT_EQ(sizes, c.sizes) << c.name;
  }
}

TEST(RowPanel, TheEditorStandsInTheCurrentPanelCellAndKeepsItsTextInItsColumn) {
  TTwoLinePanel f;
  f.Grid->RowPanel()->SetNavKeysNavigationType(rpntCellToCellX);
  f.Grid->SetOptions(f.Grid->Options() + TDBGridOptions{dgAlwaysShowEditor});
  f.Grid->SetFocus();
  f.Grid->SetEditorMode(true);
  QApplication::processEvents();
  TInplaceEdit* editor = f.Grid->InplaceEditor();
  ASSERT_TRUE(editor && editor->Visible());
  EXPECT_EQ(editor->BoundsRect(), f.Rect("qty", f.Grid->Row()));
  EXPECT_EQ(editor->Text(), "4");

  dbgridtest::TypeText(editor, QStringLiteral("\b7"));
  Word key = VK_RIGHT;
  f.Grid->KeyDown(key, TShiftState());
  EXPECT_EQ(f.Where(), "name@1");
  EXPECT_EQ(f.Field("qty")->AsInteger(), 7) << "the typed text went into the column it was typed in";
  EXPECT_EQ(f.Field("name")->AsString(), "Zhang");
  ASSERT_TRUE(editor->Visible());
  EXPECT_EQ(editor->BoundsRect(), f.Rect("name", f.Grid->Row()));
  EXPECT_EQ(editor->Text(), "Zhang");

  f.Grid->RowDetailPanel()->SetActive(true);
  TRect r;
  f.Grid->GetEditorRect(f.Grid->Col(), f.Grid->Row(), r);
  EXPECT_EQ(r, f.Rect("name", f.Grid->Row())) << "only the first visible column leaves room for the detail button";
  key = VK_LEFT;
  f.Grid->KeyDown(key, TShiftState());
  f.Grid->GetEditorRect(f.Grid->Col(), f.Grid->Row(), r);
  const TRect qty = f.Rect("qty", f.Grid->Row());
  EXPECT_EQ(r, TRect(qty.Left + 18, qty.Top, qty.Right, qty.Bottom));
}

TEST(RowPanel, TheDetailButtonInTheFirstVisiblePanelCellOpensAndClosesTheDetailPanel) {
  TTwoLinePanel f;
  TRowDetailPanelX* panel = f.Grid->RowDetailPanel();
  panel->SetActive(true);
  const Integer header = f.Grid->TopDataRowOffset();
  const TRect qty = f.Rect("qty", header + 1);
  f.Click(TPoint(qty.Left + 4, qty.Top + 3));
  EXPECT_TRUE(panel->Shown());
  EXPECT_EQ(f.Query.RecNo(), 2);
  // The grid may have scrolled to show the whole panel: the button is where the row now is.
  const TRect opened = f.Rect("qty", f.Grid->Row());
  f.Click(TPoint(opened.Left + 4, opened.Top + 3));
  EXPECT_FALSE(panel->Shown());
  const TRect name = f.Rect("name", header + 1), base = f.Rect("base", header + 1);
  f.Click(TPoint(qty.Left + 22, qty.Top + 3));
  f.Click(TPoint(name.Left + 4, name.Top + 3));
  f.Click(TPoint(base.Left + 4, base.Top + 3));
  EXPECT_FALSE(panel->Shown()) << "only the first visible column's first 18 pixels hold the button";
  EXPECT_EQ(f.Where(), "base@2");
}

TEST(RowPanel, APressOnAPanelCellsButtonsOpensTheEditorAndPressesTheEditorsButton) {
  TTwoLinePanel f;
  auto* button = static_cast<TEditButtonX*>(f.Column("name")->EditButtons()->Add());
  Integer downs = 0;
  button->OnDown = [&](TObject*, bool, bool&, bool& Handled) {
    ++downs;
    Handled = true;
  };
  QApplication::processEvents();
  const Integer header = f.Grid->TopDataRowOffset();
  const TRect name = f.Rect("name", header + 1);
  f.Click(TPoint(name.Left + 5, name.Top + 3));
  EXPECT_FALSE(f.Grid->EditorMode());
  EXPECT_EQ(downs, 0);
  const TRect next = f.Rect("name", header + 2);
  f.Click(TPoint(next.Right - 8, next.Top + 3));
  EXPECT_EQ(f.Where(), "name@3");
  EXPECT_TRUE(f.Grid->EditorMode());
  EXPECT_EQ(downs, 1) << "the same press reaches the editor's button";
}

TEST(RowPanel, ThePanelCellUnderThePointerIsHot) {
  TTwoLinePanel f;
  f.Grid->SetOptionsX(f.Grid->OptionsX() + TDBGridXOptions{dghHotTrack});
  const Integer row = f.Grid->HeaderRowCount();
  f.Send(WM_MOUSEMOVE, f.Mid(f.Rect("bonus", row)));
  EXPECT_EQ(f.Grid->HotPanelColumn(), f.Column("bonus")->Index());
  std::set<std::string> hot;
  f.Grid->OnDrawColumnCell = [&](TObject*, const TRect&, Integer, TColumnX* Column, TGridDrawState State) {
    if (State.Contains(gdHotTrack)) hot.insert(Column->FieldName().toStdString());
  };
  f.Grab();
  EXPECT_EQ(hot, std::set<std::string>{"bonus"});

  f.Grid->STFilter()->SetVisible(true);
  f.Grid->STFilter()->SetLocation(stflInTitleFilterX);
  QApplication::processEvents();
  const TRect title = f.Rect("name", 0);
  f.Send(WM_MOUSEMOVE, TPoint(title.Left + 3, title.Top + 3));
  EXPECT_EQ(f.Grid->HotPanelColumn(), f.Column("name")->Index());
  EXPECT_EQ(f.Grid->HotEditButton(), -1);
  f.Send(WM_MOUSEMOVE, TPoint(title.Right - 4, (title.Top + title.Bottom) / 2));
  EXPECT_EQ(f.Grid->HotEditButton(), 0) << "the title's filter button lights up";
  f.Click(TPoint(title.Right - 4, (title.Top + title.Bottom) / 2));
  EXPECT_TRUE(f.Grid->FilterListDropped());
  EXPECT_EQ(f.Grid->FilterDropDownColumn(), f.Column("name"));
}

}  // namespace
