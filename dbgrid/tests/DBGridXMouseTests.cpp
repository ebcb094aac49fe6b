// Mouse over the data-aware grid: row selection by clicks and drags, title buttons and sort
// markers, column moves, traced sizing, auto-scrolling, tool-tips and optimal widths.
#include "dbgrid/tests/DBGridXTestSupport.h"
#include "grid/ToolTipsWindow.h"
#include "platform/rtl/Clock.h"
#include "platform/ui/Hints.h"
#include "platform/ui/Panels.h"
#include <QKeyEvent>

using namespace dbgridtest;

namespace {
struct TMouse {
  TCustomDBGridX* Grid;
  LRESULT Send(Cardinal Msg, TPoint P, Word Keys = 0) { return Grid->Perform(Msg, Keys, PointToLParam(P)); }
  void Click(TPoint P, Word Keys = 0) {
    Send(WM_LBUTTONDOWN, P, Keys | MK_LBUTTON);
    Send(WM_LBUTTONUP, P, Keys);
  }
  TPoint Middle(Integer ACol, Integer ARow) {
    const TRect r = Grid->CellRect(ACol, ARow);
    return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  }
  // A data row's middle in the indicator-free first data column.
  TPoint Row(Integer DataRow) { return Middle(Grid->IndicatorColCount(), Grid->TopDataRowOffset() + DataRow); }
  TPoint Title(Integer DataCol) { return Middle(Grid->IndicatorColCount() + DataCol, 0); }
};

// The window timer of the auto-scroll, driven by a manual clock: a tick is due whenever the
// running interval has passed since the last one.
class TAutoScrollClock {
public:
  explicit TAutoScrollClock(TCustomDBGridX* Grid) : FGrid(Grid) { TClock::SetCurrent(&FClock); }
  ~TAutoScrollClock() { TClock::SetCurrent(nullptr); }
  // Advances Milliseconds and returns the ticks delivered meanwhile.
  Integer Run(Integer Milliseconds) {
    Integer ticks = 0;
    for (Integer i = 0; i < Milliseconds; ++i) {
      FClock.Advance(1);
      if (!FGrid->AutoScrollRunning()) {
        FLastTick = FClock.TickCount();
        continue;
      }
      if (FClock.TickCount() - FLastTick >= FGrid->AutoScrollTimerInterval()) {
        FLastTick = FClock.TickCount();
        FGrid->Perform(WM_TIMER, WPARAM(TCustomDBGridX::AutoScrollTimerId), 0);
        ++ticks;
      }
    }
    return ticks;
  }
private:
  TCustomDBGridX* FGrid;
  TManualClock FClock;
  Int64 FLastTick = 0;
};

void RowSelectGrid(TGridForm& F) {
  F.Grid->SetOptions(F.Grid->Options() + TDBGridOptions{dgRowSelect, dgMultiSelect});
  F.Bind();
}

Integer SelectedRows(TGridForm& F) { return F.Grid->RecordBookmarks()->GetCount(); }

void SendCtrl(TCustomDBGridX* Grid, bool Down) {
  QKeyEvent event(Down ? QEvent::KeyPress : QEvent::KeyRelease, Qt::Key_Control,
                  Down ? Qt::ControlModifier : Qt::NoModifier);
  QApplication::sendEvent(Grid->Handle(), &event);
}
}  // namespace

TEST(DBGridXMouse, ClickShiftClickAndCtrlClickSelectRows) {
  TGridForm f;
  f.AddRows(5);
  RowSelectGrid(f);
  TMouse m{f.Grid};
  m.Click(m.Row(1));
  EXPECT_EQ(SelectedRows(f), 1);
  EXPECT_EQ(f.Query.RecNo(), 2);
  m.Click(m.Row(4), MK_SHIFT);
  EXPECT_EQ(SelectedRows(f), 4) << "the range from the current row";
  EXPECT_EQ(f.Query.RecNo(), 5);
  m.Click(m.Row(2), MK_CONTROL);
  EXPECT_EQ(SelectedRows(f), 3) << "Ctrl toggles one row";
  EXPECT_FALSE(f.Grid->RecordBookmarks()->IsCurrentRowSelected());
  m.Click(m.Row(3));
  EXPECT_EQ(SelectedRows(f), 1) << "a plain click leaves exactly the clicked row";
  EXPECT_TRUE(f.Grid->RecordBookmarks()->IsCurrentRowSelected());
  EXPECT_FALSE(f.Grid->MouseTracking());
}

TEST(DBGridXMouse, DraggingOverRowsSelectsThemAndGoingBackGivesOneUp) {
  TGridForm f;
  f.AddRows(5);
  RowSelectGrid(f);
  TMouse m{f.Grid};
  m.Send(WM_LBUTTONDOWN, m.Row(0), MK_LBUTTON);
  EXPECT_EQ(f.Grid->GridMouseState(), TCustomDBGridX::gmsRowSelecting);
  m.Send(WM_MOUSEMOVE, m.Row(1), MK_LBUTTON);
  m.Send(WM_MOUSEMOVE, m.Row(3), MK_LBUTTON);
  EXPECT_EQ(SelectedRows(f), 4);
  m.Send(WM_MOUSEMOVE, m.Row(2), MK_LBUTTON);
  m.Send(WM_LBUTTONUP, m.Row(2));
  EXPECT_EQ(SelectedRows(f), 3);
  EXPECT_EQ(f.Query.RecNo(), 3);
  EXPECT_EQ(f.Grid->GridMouseState(), TCustomDBGridX::gmsNone);
  EXPECT_FALSE(f.Grid->AutoScrollRunning());
}

TEST(DBGridXMouse, TitleClicksCycleSortMarkersAndCtrlSortsOnceAtRelease) {
  TGridForm f;
  f.Grid->SetOptionsX(f.Grid->OptionsX() + TDBGridXOptions{dghAutoSortMarking});
  f.Bind();
  TDBGridColumnsX* columns = f.Grid->Columns();
  for (Integer i = 0; i < columns->Count(); ++i) columns->Items(i)->Title()->SetTitleButton(true);
  Integer sortings = 0, buttonClicks = 0, titleClicks = 0;
  f.Grid->OnSortMarkingChanged = [&](TObject*) { ++sortings; };
  f.Grid->OnTitleBtnClick = [&](TObject*, Integer, TColumnX*) { ++buttonClicks; };
  f.Grid->OnTitleClick = [&](TColumnX*) { ++titleClicks; };
  TMouse m{f.Grid};
  TColumnTitleX* first = columns->Items(1)->Title();
  TColumnTitleX* second = columns->Items(2)->Title();

  for (TSortMarkerX expected : {smDownX, smUpX, smDownX}) {
    m.Click(m.Title(1));
    EXPECT_EQ(first->SortMarker(), expected);
  }
  EXPECT_EQ(sortings, 3);
  EXPECT_EQ(buttonClicks, 3);
  EXPECT_EQ(titleClicks, 3);
  m.Click(m.Title(2));
  EXPECT_EQ(first->SortMarker(), smNoneX) << "a plain click clears the other markers";
  EXPECT_EQ(second->SortMarker(), smDownX);

  f.Grid->SetOptionsX(f.Grid->OptionsX() + TDBGridXOptions{dghMultiSortMarking});
  sortings = 0;
  for (TSortMarkerX expected : {smDownX, smUpX, smNoneX}) {
    m.Click(m.Title(1), MK_CONTROL);
    EXPECT_EQ(first->SortMarker(), expected);
    EXPECT_EQ(second->SortMarker(), smDownX) << "Ctrl keeps the other markers";
  }
  EXPECT_EQ(sortings, 0) << "nothing is sorted while Ctrl is held";
  EXPECT_TRUE(f.Grid->CtrlSortPending());
  f.Grid->Perform(WM_KEYUP, VK_CONTROL, 0);
  EXPECT_EQ(sortings, 1);
  f.Grid->Perform(WM_KEYUP, VK_CONTROL, 0);
  EXPECT_EQ(sortings, 1);
}

TEST(DBGridXMouse, TitleButtonReleasedElsewhereDoesNothing) {
  TGridForm f;
  f.Grid->SetOptionsX(f.Grid->OptionsX() + TDBGridXOptions{dghAutoSortMarking} - TDBGridXOptions{dghColumnMove});
  f.Bind();
  f.Grid->Columns()->Items(1)->Title()->SetTitleButton(true);
  Integer buttonClicks = 0;
  f.Grid->OnTitleBtnClick = [&](TObject*, Integer, TColumnX*) { ++buttonClicks; };
  TMouse m{f.Grid};
  m.Send(WM_LBUTTONDOWN, m.Title(1), MK_LBUTTON);
  EXPECT_TRUE(f.Grid->TitlePressedShown());
  m.Send(WM_MOUSEMOVE, m.Row(1), MK_LBUTTON);
  EXPECT_FALSE(f.Grid->TitlePressedShown());
  m.Send(WM_LBUTTONUP, m.Row(1));
  EXPECT_EQ(buttonClicks, 0);
  EXPECT_EQ(f.Grid->Columns()->Items(1)->Title()->SortMarker(), smNoneX);
}

TEST(DBGridXMouse, DraggingATitleMovesTheColumnWithoutATitleClick) {
  for (bool titleButton : {true, false}) {
    TGridForm f(500);
    f.Bind();
    TDBGridColumnsX* columns = f.Grid->Columns();
    columns->Items(0)->Title()->SetTitleButton(titleButton);
    Integer titleClicks = 0;
    f.Grid->OnTitleClick = [&](TColumnX*) { ++titleClicks; };
    TMouse m{f.Grid};
    const String moved = columns->Items(0)->FieldName();
    const TPoint start = m.Title(0);
    m.Send(WM_LBUTTONDOWN, start, MK_LBUTTON);
    m.Send(WM_MOUSEMOVE, {start.X + 2, start.Y}, MK_LBUTTON);
    if (titleButton) {
      EXPECT_NE(f.Grid->GridState(), msColMoving) << "3 pixels are no move yet";
      EXPECT_TRUE(f.Grid->TitlePressedShown());
    }
    const TPoint target = m.Title(2);
    m.Send(WM_MOUSEMOVE, target, MK_LBUTTON);
    EXPECT_EQ(f.Grid->GridState(), msColMoving) << titleButton;
    f.Grid->Perform(WM_TIMER, WPARAM(GridMoveTimerId), 0);
    m.Send(WM_LBUTTONUP, target);
    EXPECT_EQ(columns->Items(2)->FieldName(), moved) << titleButton;
    EXPECT_EQ(titleClicks, 0) << titleButton;
    m.Click(m.Title(1));
    EXPECT_EQ(titleClicks, 1) << "a click without a move is a title click";
  }
}

TEST(DBGridXMouse, ARowSizedWithTheMouseGivesTheHeightThatNewRecordsKeep) {
  TGridForm f;
  f.Bind();
  f.Grid->SetRowSizingAllowed(true);
  TMouse m{f.Grid};
  const Integer first = f.Grid->TopDataRowOffset();
  const Integer height = f.Grid->RowHeights(first);
  const TRect indicator = f.Grid->CellRect(0, first);
  const TPoint border{(indicator.Left + indicator.Right) / 2, indicator.Bottom};
  m.Send(WM_LBUTTONDOWN, border, MK_LBUTTON);
  ASSERT_EQ(f.Grid->GridState(), msRowSizing);
  m.Send(WM_MOUSEMOVE, {border.X, border.Y + 12}, MK_LBUTTON);
  m.Send(WM_LBUTTONUP, {border.X, border.Y + 12});
  QApplication::processEvents();
  EXPECT_GE(f.Grid->StdRowHeight(), height + 10) << "the sized row becomes the standard height";
  EXPECT_EQ(f.Grid->RowLines(), 0);

  f.AddRows(3);
  QApplication::processEvents();
  ASSERT_GT(f.Grid->RowCount(), first + 3);
  for (Integer row = first; row < f.Grid->RowCount(); ++row)
    EXPECT_EQ(f.Grid->RowHeights(row), f.Grid->StdRowHeight()) << "row " << row;
}

TEST(DBGridXMouse, TracedSizingChangesTheWidthAsThePointerMoves) {
  TGridForm f;
  f.Grid->SetOptionsX(f.Grid->OptionsX() + TDBGridXOptions{dghTraceColSizing});
  f.Bind();
  TMouse m{f.Grid};
  const Integer col = f.Grid->IndicatorColCount();
  const Integer width = f.Grid->ColWidths(col);
  const TRect title = f.Grid->CellRect(col, 0);
  const TPoint border{title.Right, (title.Top + title.Bottom) / 2};
  m.Send(WM_LBUTTONDOWN, border, MK_LBUTTON);
  EXPECT_EQ(f.Grid->GridState(), msColSizing);
  m.Send(WM_MOUSEMOVE, {border.X + 15, border.Y}, MK_LBUTTON);
  EXPECT_EQ(f.Grid->ColWidths(col), width + 15);
  EXPECT_FALSE(f.Grid->SizingLineShown());
  m.Send(WM_MOUSEMOVE, {border.X - 5, border.Y}, MK_LBUTTON);
  EXPECT_EQ(f.Grid->ColWidths(col), width - 5);
  m.Send(WM_LBUTTONUP, {border.X - 5, border.Y});
  EXPECT_EQ(f.Grid->GridState(), msIdle);
  EXPECT_EQ(f.Grid->Columns()->Items(0)->Width(), width - 5);
}

TEST(DBGridXMouse, AutoScrollSpeedFollowsTheDistanceBelowTheData) {
  struct Case {
    Integer Below;
    Integer Interval;
    Integer RecordsPerTick;
  };
  for (const Case& c : {Case{20, 10, 3}, Case{5, 125, 0}, Case{200, 10, 8}}) {
    TGridForm f;
    f.AddRows(60);
    RowSelectGrid(f);
    TMouse m{f.Grid};
    TAutoScrollClock clock(f.Grid);
    m.Send(WM_LBUTTONDOWN, m.Row(0), MK_LBUTTON);
    const TRect box = f.Grid->DataBoxRect();
    m.Send(WM_MOUSEMOVE, {m.Row(0).X, box.Bottom - 1 + c.Below}, MK_LBUTTON);
    EXPECT_EQ(f.Grid->AutoScrollTimerInterval(), c.Interval) << c.Below;
    const Integer before = f.Query.RecNo();
    EXPECT_EQ(clock.Run(c.Interval - 1), 0) << c.Below;
    EXPECT_EQ(clock.Run(1), 1) << c.Below;
    EXPECT_EQ(f.Query.RecNo() - before, c.RecordsPerTick) << c.Below;
    EXPECT_EQ(clock.Run(3 * c.Interval), 3) << c.Below;
    EXPECT_EQ(f.Query.RecNo() - before, 4 * c.RecordsPerTick) << c.Below;
    EXPECT_EQ(SelectedRows(f), f.Query.RecNo()) << "the rows passed are selected";
    m.Send(WM_LBUTTONUP, {m.Row(0).X, box.Bottom - 1 + c.Below});
    EXPECT_FALSE(f.Grid->AutoScrollRunning());
    EXPECT_EQ(clock.Run(100), 0);
  }
}

TEST(DBGridXMouse, ToolTipsShowCutTextsAndTitleHintsAndStayAwayUnderCtrl) {
  TGridForm f;
  f.Bind();
  SendCtrl(f.Grid, false);  // a key test before may have left Ctrl down
  TColumnX* name = f.Grid->Columns()->Items(1);
  TColumnX* base = f.Grid->Columns()->Items(2);
  name->SetToolTips(true);
  name->SetWidth(12);
  base->SetToolTips(true);
  base->SetWidth(120);
  base->Title()->SetHint(QStringLiteral("Total|Sum of the month"));
  base->Title()->SetToolTips(true);
  TMouse m{f.Grid};
  auto hintAt = [&](TPoint P) {
    m.Send(WM_MOUSEMOVE, P);
    Integer pause = 500;
    f.Grid->Perform(CM_HINTSHOWPAUSE, 0, LPARAM(&pause));
    THintInfo info;
    info.HintControl = f.Grid;
    info.CursorPos = P;
    info.HintStr = QStringLiteral("grid");
    f.Grid->Perform(CM_HINTSHOW, 0, LPARAM(&info));
    return std::make_pair(pause, info);
  };
  const auto [cutPause, cut] = hintAt(m.Middle(f.Grid->IndicatorColCount() + 1, 1));
  EXPECT_EQ(cutPause, 0) << "tool-tip columns show at once";
  EXPECT_EQ(cut.HintStr, QStringLiteral("Zhang"));
  ASSERT_TRUE(cut.HintWindowClass);
  const TRect cell = f.Grid->CellRect(f.Grid->IndicatorColCount() + 1, 1);
  EXPECT_EQ(cut.HintPos, f.Grid->ClientToScreen({cell.Left - 1, cell.Top - 1})) << "over the cell";

  const auto [fitPause, fits] = hintAt(m.Middle(f.Grid->IndicatorColCount() + 2, 1));
  EXPECT_EQ(fits.HintStr, String()) << "a text that fits has no tool-tip";

  const auto [titlePause, title] = hintAt(m.Title(2));
  EXPECT_EQ(titlePause, Application->HintPause()) << "a title with a hint waits as usual";
  EXPECT_EQ(title.HintStr, QStringLiteral("Total"));

  f.Grid->SetShowHint(true);
  const TPoint cutCell = m.Middle(f.Grid->IndicatorColCount() + 1, 1);
  m.Send(WM_MOUSEMOVE, cutCell);
  Application->HintMouseEnter(f.Grid);
  Application->ActivateHint(f.Grid->ClientToScreen(cutCell));
  ASSERT_NE(Application->HintWindow(), nullptr) << "a grid without a hint of its own shows tool-tips";
  EXPECT_EQ(Application->HintWindow()->Caption(), QStringLiteral("Zhang"));
  EXPECT_NE(dynamic_cast<TToolTipsWindow*>(Application->HintWindow()), nullptr);
  Application->CancelHint();

  SendCtrl(f.Grid, true);
  const auto [ctrlPause, ctrl] = hintAt(m.Middle(f.Grid->IndicatorColCount() + 1, 1));
  SendCtrl(f.Grid, false);
  EXPECT_EQ(ctrl.HintStr, String()) << "Ctrl suppresses tool-tips";
}

TEST(DBGridXMouse, DoubleClickOnATitleEdgeFitsTheSelectedColumnsWithIt) {
  TGridForm f(600);
  f.Grid->SetOptions(f.Grid->Options() + TDBGridOptions{dgMultiSelect});
  f.Grid->SetOptionsX(f.Grid->OptionsX() + TDBGridXOptions{dghDblClickOptimizeColWidth});
  f.Bind();
  TDBGridColumnsX* columns = f.Grid->Columns();
  for (Integer i = 0; i < 5; ++i) columns->Items(i)->SetWidth(90);
  f.Query.Edit();
  f.Field("name")->SetAsString(QStringLiteral("A rather long employee name"));
  f.Query.Post();
  TMouse m{f.Grid};
  const TPoint band = [&] {
    const TRect r = f.Grid->CellRect(f.Grid->IndicatorColCount() + 1, 0);
    return TPoint{(r.Left + r.Right) / 2, r.Bottom - 2};
  }();
  m.Click(band);
  m.Click({m.Title(3).X, band.Y}, MK_SHIFT);
  ASSERT_EQ(f.Grid->Selection()->SelectionKind(), gstColumns);
  ASSERT_EQ(f.Grid->Selection()->Columns()->Count(), 3);

  auto fitted = [&](TColumnX* Column) {
    TCanvas measure;
    measure.SetFont(Column->Font());
    Integer widest = 0;
    for (f.Query.First(); !f.Query.Eof(); f.Query.Next())
      widest = std::max(widest, measure.TextWidth(Column->DisplayText()));
    measure.SetFont(Column->Title()->Font());
    return std::max(widest + 4, measure.TextWidth(Column->Title()->Caption()) + 4);
  };
  const TRect edge = f.Grid->CellRect(f.Grid->IndicatorColCount() + 4, 0);
  m.Send(WM_LBUTTONDBLCLK, {edge.Right, (edge.Top + edge.Bottom) / 2}, MK_LBUTTON);
  m.Send(WM_LBUTTONUP, {edge.Right, (edge.Top + edge.Bottom) / 2});
  std::vector<Integer> expected;
  for (Integer i = 0; i < 5; ++i) expected.push_back(fitted(columns->Items(i)));
  EXPECT_EQ(columns->Items(0)->Width(), 90) << "not selected, not pressed";
  for (Integer i = 1; i < 5; ++i) EXPECT_EQ(columns->Items(i)->Width(), expected[size_t(i)]) << i;
  EXPECT_GT(columns->Items(1)->Width(), 90) << "the long name sets the width";
}

TEST(DBGridXMouse, IndicatorTitleSelectsEveryRecordAndClearsAgain) {
  TGridForm f;
  RowSelectGrid(f);
  TMouse m{f.Grid};
  m.Click(m.Middle(0, 0));
  EXPECT_EQ(f.Grid->Selection()->SelectionKind(), gstAll);
  m.Click(m.Middle(0, 0));
  EXPECT_EQ(f.Grid->Selection()->SelectionKind(), gstNon);
}

TEST(DBGridXMouse, AutomaticDragOfTheSelectedRowsDropsOnATarget) {
  TGridForm f;
  f.AddRows(5);
  f.Grid->SetDragMode(dmAutomatic);
  RowSelectGrid(f);
  auto* target = new TPanel(f.Form);
  target->SetName(QStringLiteral("target"));
  target->SetParent(f.Form);
  target->SetBounds(320, 160, 80, 40);  // over the grid's lower right corner, above it
  QApplication::processEvents();
  QStringList events;
  Integer droppedRows = -1;
  target->OnDragOver = [&](TObject*, TObject* Source, Integer, Integer, TDragState, bool& Accept) {
    Accept = Source == f.Grid;
  };
  target->OnDragDrop = [&](TObject*, TObject* Source, Integer, Integer) {
    events << QStringLiteral("drop");
    droppedRows = static_cast<TCustomDBGridX*>(Source)->RecordBookmarks()->GetCount();
  };
  f.Grid->OnStartDrag = [&](TObject*) { events << QStringLiteral("start"); };
  f.Grid->OnEndDrag = [&](TObject*, TObject* Target, Integer, Integer) {
    events << (Target == target ? QStringLiteral("end on target") : QStringLiteral("end elsewhere"));
  };
  TMouse m{f.Grid};
  m.Click(m.Row(1));
  m.Click(m.Row(3), MK_SHIFT);
  ASSERT_EQ(SelectedRows(f), 3) << "clicks still select in automatic drag mode";
  EXPECT_TRUE(events.isEmpty());

  m.Send(WM_LBUTTONDOWN, m.Row(2), MK_LBUTTON);
  EXPECT_TRUE(f.Grid->SelectionDragPending());
  EXPECT_EQ(SelectedRows(f), 3) << "a press on the selection keeps it";
  m.Send(WM_MOUSEMOVE, {m.Row(2).X, m.Row(2).Y + 4}, MK_LBUTTON);
  EXPECT_TRUE(f.Grid->Dragging());
  const TPoint overTarget = f.Grid->ScreenToClient(target->ClientToScreen({10, 10}));
  m.Send(WM_MOUSEMOVE, overTarget, MK_LBUTTON);
  m.Send(WM_LBUTTONUP, overTarget);
  EXPECT_EQ(events, (QStringList{"start", "drop", "end on target"}));
  EXPECT_EQ(droppedRows, 3);
  EXPECT_FALSE(f.Grid->Dragging());

  m.Send(WM_LBUTTONDOWN, m.Row(2), MK_LBUTTON);
  m.Send(WM_LBUTTONUP, m.Row(2));
  EXPECT_EQ(SelectedRows(f), 0) << "a press on the selection released in place clears it";
}

TEST(DBGridXMouse, WheelAndVerticalBarMoveTheCurrentRecord) {
  TGridForm f;
  f.AddRows(40);
  f.Bind();
  f.Grid->DoMouseWheelDown({}, {});
  f.Grid->DoMouseWheelDown({}, {});
  EXPECT_EQ(f.Query.RecNo(), 3);
  f.Grid->DoMouseWheelUp({}, {});
  EXPECT_EQ(f.Query.RecNo(), 2);
  auto scroll = [&](Integer Code, Integer Pos = 0) {
    f.Grid->Perform(WM_VSCROLL, TWMScroll::Pack(Code, Pos), 0);
    return f.Query.RecNo();
  };
  EXPECT_EQ(scroll(SB_THUMBPOSITION, 20), 20);
  EXPECT_EQ(scroll(SB_BOTTOM), f.Query.RecordCount());
  EXPECT_EQ(scroll(SB_THUMBPOSITION, 0), 1);
  EXPECT_EQ(scroll(SB_THUMBTRACK, 10), 10);
  EXPECT_EQ(scroll(SB_THUMBPOSITION, 10), 10) << "the position after tracking is taken once";
  EXPECT_EQ(scroll(SB_THUMBPOSITION, 30), 30);
}

TEST(DBGridXMouse, APressOnACellsButtonsOpensTheEditorAndPressesTheEditorsButton) {
  TGridForm f;
  TColumnX* name = f.AddColumn("name", 120);
  f.Grid->Columns()->Add()->SetFieldName("base");
  auto* button = static_cast<TEditButtonX*>(name->EditButtons()->Add());
  Integer downs = 0;
  button->OnDown = [&](TObject*, bool, bool&, bool& Handled) {
    ++downs;
    Handled = true;
  };
  f.Bind();
  TMouse m{f.Grid};
  const auto cell = [&](Integer DataRow) {
    return f.Grid->CellRect(f.Grid->ColumnIndexToGridCol(0), f.Grid->TopDataRowOffset() + DataRow);
  };
  m.Click({cell(1).Left + 5, cell(1).Top + 3});
  EXPECT_FALSE(f.Grid->EditorMode()) << "another cell's text only moves there";
  m.Click({cell(2).Right - 3, cell(2).Top + 3});
  EXPECT_EQ(f.Query.RecNo(), 3);
  EXPECT_TRUE(f.Grid->EditorMode());
  EXPECT_EQ(downs, 1) << "the same press reaches the editor's button";
}
