#pragma once
// The grid's selection: one kind at a time — whole records kept as bookmarks, a rectangle of
// cells between two cells, whole columns, every cell, or nothing (the current cell alone).
#include "dbgrid/DBGridXColumns.h"
#include "grid/GridsX.h"

class TCustomDBGridX;
class TBookmarkListX;

// A cell of the data: a column index into the grid's Columns and the record's bookmark.
// Column -1 with an empty bookmark is no cell.
struct TDBCell {
  Integer Col = -1;
  TBookmarkStr Bookmark;
  bool IsNoCell() const { return Col == -1 && Bookmark.isEmpty(); }
  friend bool operator==(const TDBCell&, const TDBCell&) = default;
};

// The selected columns, kept in ascending column Index; the list does not own them.
class TDBGridXSelectionCols : public TColumnsXList {
public:
  explicit TDBGridXSelectionCols(TCustomDBGridX* Grid) : FGrid(Grid) {}
  TColumnX* AnchorColumn() const { return FAnchorColumn; }
  TColumnX* ShiftColumn() const { return FShiftColumn; }
  const TColumnsXList& ShiftChangedColumns() const { return FShiftChangedColumns; }
  void AddInOrder(TColumnX* Column);
  // Repaints the listed columns, empties the list, forgets the anchor, tells the selection.
  void Clear();
  void SelectColumn(TColumnX* Column, bool Add);
  void ToggleColumn(TColumnX* Column);
  // A shift-click: extends the range from the anchor to Column; a range that shrinks gives
  // back exactly the columns it changed, and one that crosses the anchor goes on past it.
  void ExtendToColumn(TColumnX* Column);
  // Drops columns that left the grid's collection and restores the Index order.
  void Reconcile();
  TGridRectX SelectionGridRect() const;

private:
  void AddColumn(TColumnX* Column);
  void RemoveColumn(TColumnX* Column);
  void ColumnChanged(TColumnX* Column);
  TCustomDBGridX* FGrid;
  TColumnX* FAnchorColumn = nullptr;
  TColumnX* FShiftColumn = nullptr;
  TColumnsXList FShiftChangedColumns;
};

// A rectangle of cells between AnchorCell and EndCell, in the data set's record order.
class TDBGridXSelectionRect {
public:
  explicit TDBGridXSelectionRect(TCustomDBGridX* Grid) : FGrid(Grid) {}
  const TDBCell& AnchorCell() const { return FAnchorCell; }
  const TDBCell& EndCell() const { return FEndCell; }
  bool DataSetReady() const;
  void Clear();
  // Raises EInvalidGridOperationX without a ready data set.
  bool CellSelected(Integer ColumnIndex, const TBookmarkStr& Bookmark) const;
  TBookmarkStr FirstRowBookmark() const;
  TBookmarkStr GetBottomRow() const;
  Integer FirstColumn() const;
  Integer LastColumn() const;
  void SelectCell(Integer ColumnIndex, const TBookmarkStr& Bookmark, bool Extend);
  TGridRectX SelectionGridRect() const;

private:
  void CheckReady(const char* Operation) const;
  Integer CompareRows(const TBookmarkStr& A, const TBookmarkStr& B) const;
  TRect RangePixelRect(Integer Col1, const TBookmarkStr& Bookmark1, Integer Col2, const TBookmarkStr& Bookmark2) const;
  void RepaintChange(const TDBCell& OldAnchor, const TDBCell& OldEnd);
  TCustomDBGridX* FGrid;
  TDBCell FAnchorCell;
  TDBCell FEndCell;
};

class TDBGridXSelection : public TPersistent {
public:
  explicit TDBGridXSelection(TCustomDBGridX* Grid);
  ~TDBGridXSelection() override;
  String ClassName() const override { return QStringLiteral("TDBGridXSelection"); }
  TDBGridXSelectionType SelectionKind() const { return FSelectionKind; }
  // A changed kind reloads the grid's in-place editor.
  void SetSelectionKind(TDBGridXSelectionType Value);
  TBookmarkListX* RecordBookmarks() const;
  TDBGridXSelectionCols* Columns() const { return FColumns.get(); }
  TDBGridXSelectionRect* Rect() const { return FRect.get(); }
  // Whether the cell of column ColumnIndex in the record of Bookmark is selected.
  bool CellInSelection(Integer ColumnIndex, const TBookmarkStr& Bookmark) const;
  // Empties the current kind's part; the kind becomes gstNon even when that raised.
  void Clear();
  void LinkActiveChanged(bool Active);
  void SelectAllCells();
  // A record or column selection that became empty turns into gstNon.
  void DropEmptyKind();
  TGridRectX SelectionGridRect() const;
  virtual void SelectionChanged();

private:
  friend class TBookmarkListX;
  TCustomDBGridX* FGrid;
  TDBGridXSelectionType FSelectionKind = gstRecordBookmarks;
  std::unique_ptr<TDBGridXSelectionCols> FColumns;
  std::unique_ptr<TDBGridXSelectionRect> FRect;
};
