// The grid's selection kinds: records, rectangles, columns, everything, nothing.
#include "DBGridXTestSupport.h"

using dbgridtest::TGridForm;

namespace {
TBookmarkStr BookmarkOf(TGridForm& F, Integer RecNo) {
  F.Query.SetRecNo(RecNo);
  return F.Query.Bookmark();
}

std::vector<Integer> SelectedIndexes(TDBGridXSelection* Selection) {
  std::vector<Integer> indexes;
  for (TColumnX* column : Selection->Columns()->List()) indexes.push_back(column->Index());
  return indexes;
}
}  // namespace

TEST(DBGridXSelection, OpeningAndClosingTheDataSetEndsEveryKind) {
  TGridForm f(400, 200, false);
  TDBGridXSelection* s = f.Grid->Selection();
  EXPECT_EQ(s->SelectionKind(), gstRecordBookmarks);
  f.Bind();
  EXPECT_EQ(s->SelectionKind(), gstNon);
  f.Query.SetRecNo(2);
  f.Grid->RecordBookmarks()->MarkCurrentRow(true);
  EXPECT_EQ(s->SelectionKind(), gstRecordBookmarks);
  f.Query.Close();
  EXPECT_EQ(s->SelectionKind(), gstNon);
  EXPECT_EQ(f.Grid->RecordBookmarks()->GetCount(), 0);
  f.Query.Open();
  EXPECT_EQ(s->SelectionKind(), gstNon);
}

TEST(DBGridXSelection, SelectAllStandsForEveryCellAndASecondCallChangesNothing) {
  TGridForm f;
  f.Bind();
  TDBGridXSelection* s = f.Grid->Selection();
  Integer notices = 0;
  f.Grid->OnSelectionChanged = [&](TObject*) { ++notices; };
  f.Grid->Selection()->Columns()->SelectColumn(f.Grid->Columns()->Items(1), false);
  notices = 0;
  s->SelectAllCells();
  EXPECT_EQ(s->SelectionKind(), gstAll);
  EXPECT_EQ(s->Columns()->Count(), 0);
  const Integer afterFirst = notices;
  s->SelectAllCells();
  EXPECT_EQ(notices, afterFirst);
  EXPECT_EQ(s->SelectionKind(), gstAll);
  const TBookmarkStr bookmark = BookmarkOf(f, 3);
  EXPECT_TRUE(s->CellInSelection(-1, bookmark));
  EXPECT_TRUE(s->CellInSelection(4, bookmark));
  s->Clear();
  EXPECT_EQ(s->SelectionKind(), gstNon);
  EXPECT_FALSE(s->CellInSelection(4, bookmark));
}

TEST(DBGridXSelection, MarkingARecordReplacesAnotherKindAndAnEmptyListEndsIt) {
  TGridForm f;
  f.Bind();
  TDBGridXSelection* s = f.Grid->Selection();
  s->Columns()->SelectColumn(f.Grid->Columns()->Items(2), false);
  ASSERT_EQ(s->SelectionKind(), gstColumns);
  f.Query.SetRecNo(2);
  f.Grid->RecordBookmarks()->MarkCurrentRow(true);
  EXPECT_EQ(s->SelectionKind(), gstRecordBookmarks);
  EXPECT_EQ(s->Columns()->Count(), 0);
  EXPECT_TRUE(s->CellInSelection(-1, BookmarkOf(f, 2)));
  EXPECT_FALSE(s->CellInSelection(0, BookmarkOf(f, 1)));
  f.Query.SetRecNo(2);
  f.Grid->RecordBookmarks()->MarkCurrentRow(false);
  EXPECT_EQ(s->SelectionKind(), gstNon);
}

TEST(DBGridXSelection, RectangleSpansColumnsAndRecordsInDataSetOrder) {
  TGridForm f;
  f.Bind();
  TDBGridXSelection* s = f.Grid->Selection();
  TDBGridXSelectionRect* r = s->Rect();
  const TBookmarkStr b1 = BookmarkOf(f, 1), b2 = BookmarkOf(f, 2), b3 = BookmarkOf(f, 3);
  r->SelectCell(3, b3, false);
  r->SelectCell(1, b2, true);
  EXPECT_EQ(s->SelectionKind(), gstRectangle);
  EXPECT_EQ(r->FirstRowBookmark(), b2);
  EXPECT_EQ(r->GetBottomRow(), b3);
  EXPECT_EQ(r->FirstColumn(), 1);
  EXPECT_EQ(r->LastColumn(), 3);
  struct Case {
    Integer col;
    TBookmarkStr bookmark;
    bool selected;
  };
  for (const Case& c : std::initializer_list<Case>{
           {1, b2, true}, {3, b3, true}, {2, b3, true}, {0, b2, false}, {4, b3, false}, {2, b1, false}, {-1, b2, false}})
    EXPECT_EQ(s->CellInSelection(c.col, c.bookmark), c.selected) << c.col << " " << c.bookmark.toStdString();
  const Integer header = f.Grid->HeaderRowCount(), indicator = f.Grid->IndicatorColCount();
  EXPECT_EQ(s->SelectionGridRect(), (TGridRectX{1 + indicator, header + 1, 3 + indicator, header + 2}));

  // Back to the anchor cell with Extend: nothing is selected any more, but the cell answers.
  r->SelectCell(3, b3, true);
  EXPECT_EQ(s->SelectionKind(), gstNon);
  EXPECT_FALSE(r->AnchorCell().IsNoCell());
  EXPECT_TRUE(r->CellSelected(3, b3));
  EXPECT_FALSE(r->CellSelected(2, b3));
}

TEST(DBGridXSelection, RectangleReachingBelowTheScreenEndsAtTheLastBufferedRow) {
  TGridForm f(400, 120);
  f.AddRows(30);
  f.Bind();
  TGridDataLinkX* link = f.Grid->GridDataLink();
  ASSERT_LT(link->RecordCount(), 30);
  TDBGridXSelectionRect* r = f.Grid->Selection()->Rect();
  r->SelectCell(0, BookmarkOf(f, 2), false);
  r->SelectCell(1, BookmarkOf(f, 25), true);
  f.Query.First();
  const TGridRectX rect = f.Grid->Selection()->SelectionGridRect();
  EXPECT_EQ(rect.Top, f.Grid->HeaderRowCount() + 1);
  EXPECT_EQ(rect.Bottom, f.Grid->HeaderRowCount() + link->RecordCount() - 1);
}

TEST(DBGridXSelection, RectangleWithoutADataSetRaises) {
  TGridForm f;
  TDBGridXSelectionRect* r = f.Grid->Selection()->Rect();
  EXPECT_FALSE(r->DataSetReady());
  const std::vector<std::pair<const char*, std::function<void()>>> calls{
      {"FirstRowBookmark", [&] { r->FirstRowBookmark(); }}, {"GetBottomRow", [&] { r->GetBottomRow(); }},
      {"FirstColumn", [&] { r->FirstColumn(); }},           {"LastColumn", [&] { r->LastColumn(); }},
      {"CellSelected", [&] { r->CellSelected(0, ""); }},   {"SelectionGridRect", [&] { r->SelectionGridRect(); }}};
  for (const auto& [name, call] : calls) EXPECT_THROW(call(), EInvalidGridOperationX) << name;
  try {
    r->GetBottomRow();
  } catch (const EInvalidGridOperationX& e) {
    EXPECT_EQ(e.Message(), "Error in TDBGridXSelectionRect.GetBottomRow");
  }
}

TEST(DBGridXSelection, ClearEndsTheKindEvenWhenTheNoticeRaises) {
  TGridForm f;
  f.Bind();
  TDBGridXSelection* s = f.Grid->Selection();
  s->Rect()->SelectCell(0, BookmarkOf(f, 1), false);
  s->Rect()->SelectCell(2, BookmarkOf(f, 2), true);
  ASSERT_EQ(s->SelectionKind(), gstRectangle);
  f.Grid->OnSelectionChanged = [](TObject*) { throw Exception(QStringLiteral("refused")); };
  EXPECT_THROW(s->Clear(), Exception);
  EXPECT_EQ(s->SelectionKind(), gstNon);
}

TEST(DBGridXSelectionCols, ShiftRangesGiveBackWhatTheyChanged) {
  TGridForm f;
  f.Bind();
  TDBGridXSelection* s = f.Grid->Selection();
  TDBGridXSelectionCols* cols = s->Columns();
  TDBGridColumnsX* columns = f.Grid->Columns();
  ASSERT_EQ(columns->Count(), 6);
  auto at = [&](Integer i) { return columns->Items(i); };
  struct Step {
    const char* what;
    std::function<void()> act;
    std::vector<Integer> expected;
  };
  for (const Step& step : std::initializer_list<Step>{
           {"click", [&] { cols->SelectColumn(at(3), false); }, {3}},
           {"shift left", [&] { cols->ExtendToColumn(at(1)); }, {1, 2, 3}},
           {"shift right crosses the anchor", [&] { cols->ExtendToColumn(at(5)); }, {3, 4, 5}},
           {"shift back shrinks", [&] { cols->ExtendToColumn(at(4)); }, {3, 4}},
           {"ctrl adds a far column", [&] { cols->ToggleColumn(at(0)); }, {0, 3, 4}},
           {"toggle the anchor off", [&] { cols->ToggleColumn(at(3)); }, {0, 4}},
           {"shift from a deselected anchor clears", [&] { cols->ExtendToColumn(at(5)); }, {0}},
           {"shrinking gives the cleared back", [&] { cols->ExtendToColumn(at(3)); }, {0, 4}},
       }) {
    step.act();
    EXPECT_EQ(SelectedIndexes(s), step.expected) << step.what;
  }
  EXPECT_EQ(s->SelectionKind(), gstColumns);
  EXPECT_FALSE(s->CellInSelection(-1, BookmarkOf(f, 1)));
  EXPECT_TRUE(s->CellInSelection(0, BookmarkOf(f, 1)));
}

TEST(DBGridXSelectionCols, HiddenColumnsAreNeverAddedAndRemovedColumnsAreDropped) {
  TGridForm f;
  f.Bind();
  TDBGridXSelection* s = f.Grid->Selection();
  TDBGridColumnsX* columns = f.Grid->Columns();
  for (const char* name : {"id", "name", "base", "bonus", "flag"}) columns->Add()->SetFieldName(name);
  columns->Items(2)->SetVisible(false);
  s->Columns()->SelectColumn(columns->Items(0), false);
  s->Columns()->ExtendToColumn(columns->Items(4));
  EXPECT_EQ(SelectedIndexes(s), (std::vector<Integer>{0, 1, 3, 4}));
  EXPECT_EQ(s->SelectionGridRect().Left, f.Grid->IndicatorColCount());
  delete columns->Items(3);
  f.Grid->RebuildLayout();
  EXPECT_EQ(SelectedIndexes(s), (std::vector<Integer>{0, 1, 3}));
  s->Columns()->ToggleColumn(columns->Items(0));
  s->Columns()->ToggleColumn(columns->Items(1));
  s->Columns()->ToggleColumn(columns->Items(3));
  EXPECT_EQ(s->SelectionKind(), gstNon);
}
