// The grid's selection of records, cells, columns or everything.
#include "dbgrid/DBGridXSelection.h"
#include "dbgrid/DBGridX.h"
#include "grid/LibraryRoutinesX.h"
#include "platform/rtl/ScopeGuards.h"

namespace {
// The bookmarks of the records in the grid's data link buffer (the records on screen), read
// with the link's active record restored afterwards.
std::vector<TBookmarkStr> BufferedBookmarks(TCustomDBGridX* Grid) {
  std::vector<TBookmarkStr> bookmarks;
  TGridDataLinkX* link = Grid->GridDataLink();
  if (!link->Active()) return bookmarks;
  const Integer saved = link->ActiveRecord();
  TScopeGuard restore([&] { link->SetActiveRecord(saved); });
  for (Integer row = 0; row < link->RecordCount(); ++row) {
    link->SetActiveRecord(row);
    bookmarks.push_back(Grid->DataSet()->Bookmark());
  }
  return bookmarks;
}

void InvalidateColumn(TCustomDBGridX* Grid, const TColumnX* Column) {
  Grid->InvalidateColumnArea(Grid->ColumnIndexToGridCol(Column->Index()));
}
}  // namespace

// ---- columns

void TDBGridXSelectionCols::AddInOrder(TColumnX* Column) {
  for (Integer i = 0; i < Count(); ++i)
    if (Items(i)->Index() > Column->Index()) {
      Insert(i, Column);
      return;
    }
  Add(Column);
}

void TDBGridXSelectionCols::Clear() {
  for (TColumnX* column : List()) InvalidateColumn(FGrid, column);
  TColumnsXList::Clear();
  FAnchorColumn = nullptr;
  FGrid->Selection()->SelectionChanged();
}

void TDBGridXSelectionCols::ColumnChanged(TColumnX* Column) {
  InvalidateColumn(FGrid, Column);
  FGrid->Selection()->SelectionChanged();
}

void TDBGridXSelectionCols::AddColumn(TColumnX* Column) {
  AddInOrder(Column);
  ColumnChanged(Column);
}

void TDBGridXSelectionCols::RemoveColumn(TColumnX* Column) {
  Remove(Column);
  ColumnChanged(Column);
}

void TDBGridXSelectionCols::SelectColumn(TColumnX* Column, bool Add) {
  TDBGridXSelection* selection = FGrid->Selection();
  if (selection->SelectionKind() != gstColumns) selection->Clear();
  if (!Add) Clear();
  if (IndexOf(Column) < 0) AddColumn(Column);
  FAnchorColumn = Column;
  FShiftColumn = Column;
  selection->SetSelectionKind(gstColumns);
  FShiftChangedColumns.Clear();
}

void TDBGridXSelectionCols::ToggleColumn(TColumnX* Column) {
  TDBGridXSelection* selection = FGrid->Selection();
  if (selection->SelectionKind() != gstColumns) selection->Clear();
  if (IndexOf(Column) >= 0) RemoveColumn(Column);
  else AddColumn(Column);
  FAnchorColumn = Column;
  FShiftColumn = Column;
  selection->SetSelectionKind(Count() > 0 ? gstColumns : gstNon);
  FShiftChangedColumns.Clear();
}

void TDBGridXSelectionCols::ExtendToColumn(TColumnX* Column) {
  TDBGridXSelection* selection = FGrid->Selection();
  if (selection->SelectionKind() != gstColumns) selection->Clear();
  if (!FAnchorColumn) {
    SelectColumn(Column, true);
    FAnchorColumn = Column;
  } else {
    const Integer a = FAnchorColumn->Index();
    const Integer s = FShiftColumn ? FShiftColumn->Index() : a;
    const Integer c = Column->Index();
    // The walk: from start to end in steps of dir; an undo walk turns into an extending
    // one at flip (the anchor), so a range that crosses the anchor goes on past it.
    Integer start = s, end = c, dir = c < s ? -1 : 1, flip = -1;
    bool undo = false;
    if (a < s && c < s) {
      undo = true;
      if (c < a) flip = a;
      else end = c + 1;
    } else if (s < a && c > s) {
      undo = true;
      if (c > a) flip = a;
      else end = c - 1;
    } else if (s == a) {
      start = a;
      dir = c < a ? -1 : 1;
    }
    TDBGridColumnsX* columns = FGrid->Columns();
    for (Integer i = start;; i += dir) {
      if (i == flip) undo = false;
      TColumnX* column = columns->Items(i);
      const bool anchorListed = IndexOf(columns->Items(a)) >= 0;
      const bool listed = IndexOf(column) >= 0;
      const bool changedByRange = FShiftChangedColumns.IndexOf(column) >= 0;
      if (!undo && anchorListed) {
        if (!listed && column->Visible()) {
          AddColumn(column);
          if (!changedByRange) FShiftChangedColumns.Add(column);
        }
      } else if (!undo) {
        if (listed && i != a) {
          RemoveColumn(column);
          if (!changedByRange) FShiftChangedColumns.Add(column);
        }
      } else if (anchorListed) {
        if (listed && i != a) {
          if (changedByRange) {
            Remove(column);
            FShiftChangedColumns.Remove(column);
          }
          ColumnChanged(column);
        }
      } else if (!listed && column->Visible()) {
        if (changedByRange) {
          AddInOrder(column);
          FShiftChangedColumns.Remove(column);
        }
        ColumnChanged(column);
      }
      if (i == end) break;
    }
  }
  FShiftColumn = Column;
  selection->SetSelectionKind(Count() > 0 ? gstColumns : gstNon);
}

void TDBGridXSelectionCols::Reconcile() {
  TDBGridColumnsX* columns = FGrid->Columns();
  std::vector<TColumnX*> kept;
  for (TColumnX* column : List()) {
    bool present = false;
    for (Integer i = 0; i < columns->Count() && !present; ++i) present = columns->Items(i) == column;
    if (present) kept.push_back(column);
  }
  std::stable_sort(kept.begin(), kept.end(), [](TColumnX* l, TColumnX* r) { return l->Index() < r->Index(); });
  TColumnsXList::Clear();
  for (TColumnX* column : kept) Add(column);
}

TGridRectX TDBGridXSelectionCols::SelectionGridRect() const {
  if (Count() == 0) return {-1, 0, -1, FGrid->RowCount()};
  Integer low = Items(0)->Index(), high = low;
  for (TColumnX* column : List()) {
    low = std::min(low, column->Index());
    high = std::max(high, column->Index());
  }
  return {FGrid->ColumnIndexToGridCol(low), 0, FGrid->ColumnIndexToGridCol(high), FGrid->RowCount()};
}

// ---- rectangle

bool TDBGridXSelectionRect::DataSetReady() const {
  return FGrid->DataSource() && FGrid->DataSet() && FGrid->GridDataLink()->Active();
}

void TDBGridXSelectionRect::CheckReady(const char* Operation) const {
  if (!DataSetReady())
    throw EInvalidGridOperationX(QStringLiteral("Error in %1").arg(QString::fromLatin1(Operation)));
}

Integer TDBGridXSelectionRect::CompareRows(const TBookmarkStr& A, const TBookmarkStr& B) const {
  return CompareBookmarkStrs(FGrid->DataSet(), A, B);
}

void TDBGridXSelectionRect::Clear() {
  FAnchorCell = TDBCell();
  FEndCell = TDBCell();
  FGrid->Invalidate();
  FGrid->Selection()->SelectionChanged();
}

TBookmarkStr TDBGridXSelectionRect::FirstRowBookmark() const {
  CheckReady("TDBGridXSelectionRect.FirstRowBookmark");
  return CompareRows(FAnchorCell.Bookmark, FEndCell.Bookmark) <= 0 ? FAnchorCell.Bookmark : FEndCell.Bookmark;
}

TBookmarkStr TDBGridXSelectionRect::GetBottomRow() const {
  CheckReady("TDBGridXSelectionRect.GetBottomRow");
  return CompareRows(FAnchorCell.Bookmark, FEndCell.Bookmark) < 0 ? FEndCell.Bookmark : FAnchorCell.Bookmark;
}

Integer TDBGridXSelectionRect::FirstColumn() const {
  CheckReady("TDBGridXSelectionRect.FirstColumn");
  return std::min(FAnchorCell.Col, FEndCell.Col);
}

Integer TDBGridXSelectionRect::LastColumn() const {
  CheckReady("TDBGridXSelectionRect.LastColumn");
  return std::max(FAnchorCell.Col, FEndCell.Col);
}

bool TDBGridXSelectionRect::CellSelected(Integer ColumnIndex, const TBookmarkStr& Bookmark) const {
  if (!DataSetReady()) throw EInvalidGridOperationX(QStringLiteral("Error in function TDBGridXSelectionRect.CellSelected"));
  if (CompareRows(FirstRowBookmark(), Bookmark) > 0 || CompareRows(GetBottomRow(), Bookmark) < 0) return false;
  return ColumnIndex >= FirstColumn() && ColumnIndex <= LastColumn();
}

void TDBGridXSelectionRect::SelectCell(Integer ColumnIndex, const TBookmarkStr& Bookmark, bool Extend) {
  TDBGridXSelection* selection = FGrid->Selection();
  if (selection->SelectionKind() != gstRectangle) selection->Clear();
  const TDBCell oldAnchor = FAnchorCell, oldEnd = FEndCell;
  const TDBCell cell{ColumnIndex, Bookmark};
  if (FAnchorCell.IsNoCell() || !Extend) FAnchorCell = cell;
  FEndCell = cell;
  if (FAnchorCell.Col != FEndCell.Col || CompareRows(FAnchorCell.Bookmark, FEndCell.Bookmark) != 0)
    selection->SetSelectionKind(gstRectangle);
  else if (selection->SelectionKind() == gstRectangle)
    selection->SetSelectionKind(gstNon);
  if (FGrid->HandleAllocated()) RepaintChange(oldAnchor, oldEnd);
  selection->SelectionChanged();
}

// Invalidates only what changed between the old and the new rectangle. Between a single cell
// and a one-record row of cells the old area is widened to the whole row, so the row's look
// (which depends on whether several cells are selected) is redrawn.
void TDBGridXSelectionRect::RepaintChange(const TDBCell& OldAnchor, const TDBCell& OldEnd) {
  TDBCell oldAnchor = OldAnchor, oldEnd = OldEnd;
  const bool oldSingle = oldAnchor == oldEnd;
  const bool oldOneRow = oldAnchor.Bookmark == oldEnd.Bookmark && oldAnchor.Col != oldEnd.Col;
  const bool newSingle = FAnchorCell == FEndCell;
  const bool newOneRow = FAnchorCell.Bookmark == FEndCell.Bookmark && FAnchorCell.Col != FEndCell.Col;
  if (!oldAnchor.IsNoCell() && ((oldSingle && newOneRow) || (oldOneRow && newSingle))) {
    oldAnchor.Col = 0;
    oldEnd.Col = FGrid->ColCount() - FGrid->IndicatorColCount() - 1;
  }
  const TRect oldRect = oldAnchor.IsNoCell() ? TRect() : RangePixelRect(oldAnchor.Col, oldAnchor.Bookmark, oldEnd.Col, oldEnd.Bookmark);
  const TRect newRect = RangePixelRect(FAnchorCell.Col, FAnchorCell.Bookmark, FEndCell.Col, FEndCell.Bookmark);
  FGrid->InvalidateChangedArea(oldRect, newRect);
}

TRect TDBGridXSelectionRect::RangePixelRect(Integer Col1, const TBookmarkStr& Bookmark1, Integer Col2,
                                            const TBookmarkStr& Bookmark2) const {
  TBookmarkStr first = Bookmark1, last = Bookmark2;
  if (CompareRows(first, last) > 0) std::swap(first, last);
  const std::vector<TBookmarkStr> buffered = BufferedBookmarks(FGrid);
  const Integer count = Integer(buffered.size());
  Integer top = count;
  if (count > 0 && CompareRows(first, buffered.front()) < 0) top = 0;
  else
    for (Integer row = 0; row < count; ++row)
      if (CompareRows(buffered[size_t(row)], first) == 0) top = row;
  Integer bottom = -1;
  if (count > 0 && CompareRows(last, buffered.back()) > 0) bottom = FGrid->GridDataLink()->BufferCount() - 1;
  else
    for (Integer row = 0; row < count; ++row)
      if (CompareRows(buffered[size_t(row)], last) <= 0) bottom = row;
  if (top > bottom) return TRect();
  const Integer header = FGrid->HeaderRowCount();
  return FGrid->BoxRect(FGrid->ColumnIndexToGridCol(std::min(Col1, Col2)), top + header,
                        FGrid->ColumnIndexToGridCol(std::max(Col1, Col2)), bottom + header);
}

TGridRectX TDBGridXSelectionRect::SelectionGridRect() const {
  TGridRectX r{-1, -1, -1, -1};
  const TBookmarkStr first = FirstRowBookmark(), last = GetBottomRow();
  r.Left = FGrid->ColumnIndexToGridCol(FirstColumn());
  r.Right = FGrid->ColumnIndexToGridCol(LastColumn());
  const std::vector<TBookmarkStr> buffered = BufferedBookmarks(FGrid);
  Integer top = -1, bottom = -1;
  for (Integer row = 0; row < Integer(buffered.size()); ++row) {
    if (top < 0 && CompareRows(buffered[size_t(row)], first) >= 0) top = row;
    if (CompareRows(buffered[size_t(row)], last) <= 0) bottom = row;
  }
  if (top >= 0 && bottom >= 0) {
    r.Top = top + FGrid->HeaderRowCount();
    r.Bottom = bottom + FGrid->HeaderRowCount();
  }
  return r;
}

// ---- the selection

TDBGridXSelection::TDBGridXSelection(TCustomDBGridX* Grid)
    : FGrid(Grid), FColumns(std::make_unique<TDBGridXSelectionCols>(Grid)),
      FRect(std::make_unique<TDBGridXSelectionRect>(Grid)) {}

TDBGridXSelection::~TDBGridXSelection() = default;

TBookmarkListX* TDBGridXSelection::RecordBookmarks() const { return FGrid->RecordBookmarks(); }

void TDBGridXSelection::SetSelectionKind(TDBGridXSelectionType Value) {
  if (Value == FSelectionKind) return;
  FSelectionKind = Value;
  FGrid->ReloadEditor();
}

bool TDBGridXSelection::CellInSelection(Integer ColumnIndex, const TBookmarkStr& Bookmark) const {
  switch (FSelectionKind) {
    case gstRecordBookmarks: return RecordBookmarks()->IndexOfBookmark(Bookmark) >= 0;
    case gstRectangle: return ColumnIndex >= 0 && FRect->CellSelected(ColumnIndex, Bookmark);
    case gstColumns:
      return ColumnIndex >= 0 && ColumnIndex < FGrid->Columns()->Count() &&
             FColumns->IndexOf(FGrid->Columns()->Items(ColumnIndex)) >= 0;
    case gstAll: return true;
    case gstNon: return false;
  }
  return false;
}

void TDBGridXSelection::Clear() {
  {
    TScopeGuard endKind([this] { FSelectionKind = gstNon; });
    switch (FSelectionKind) {
      case gstRecordBookmarks:
        RecordBookmarks()->ClearBookmarks();
        SelectionChanged();
        break;
      case gstRectangle: FRect->Clear(); break;
      case gstColumns: FColumns->Clear(); break;
      case gstAll: FGrid->Invalidate(); break;
      case gstNon: break;
    }
  }
  if (!FGrid->ComponentState().Contains(csDestroying) && FGrid->Options().Contains(dgAlwaysShowEditor) &&
      FGrid->EditorAlwaysShown())
    FGrid->SetEditorMode(true);
}

void TDBGridXSelection::LinkActiveChanged(bool Active) {
  RecordBookmarks()->SetDataSetOpen(Active);
  Clear();
}

void TDBGridXSelection::SelectAllCells() {
  if (FSelectionKind == gstAll) return;
  if (FSelectionKind != gstNon) Clear();
  FSelectionKind = gstAll;
  FGrid->Invalidate();
}

void TDBGridXSelection::DropEmptyKind() {
  if ((FSelectionKind == gstRecordBookmarks && RecordBookmarks()->GetCount() == 0) ||
      (FSelectionKind == gstColumns && FColumns->Count() == 0)) {
    FSelectionKind = gstNon;
    FGrid->Invalidate();
  }
}

TGridRectX TDBGridXSelection::SelectionGridRect() const {
  TGridRectX r{-1, -1, -1, -1};
  switch (FSelectionKind) {
    case gstRecordBookmarks: RecordBookmarks()->SelectionToGridRect(r); break;
    case gstRectangle: r = FRect->SelectionGridRect(); break;
    case gstColumns: r = FColumns->SelectionGridRect(); break;
    case gstAll:
    case gstNon: break;
  }
  return r;
}

void TDBGridXSelection::SelectionChanged() {
  if (FGrid->ComponentState().Contains(csDestroying)) return;
  if (FGrid->OnSelectionChanged) FGrid->OnSelectionChanged(FGrid);
}
