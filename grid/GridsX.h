#pragma once
// The owner-drawn base grid: a rectangle of cells with fixed, frozen, scrolling and
// contra-fixed lines, per-line extents, a current cell and a selection, pixel-exact
// scrolling, sizing and moving of lines by mouse and an in-place text editor. It knows
// nothing about data: subclasses supply cell painting, editor texts and permissions
// through its virtual operations.
//
// One axis (columns from left to right; rows alike from top to bottom), in client pixels:
//
//   0   StartIndent     FrozenStart      FixedEnd                       DataEnd   ContraStart     CellAreaEnd
//   | indent | fixed lines | frozen lines | data lines from FirstDataCell ... | gap | contra lines | indent |
//                                        ^ DataStart = FixedEnd - FirstCellOffset   ^ DataLimit
//
// - fixed lines (0 .. FixedCount - FrozenCount - 1) never scroll: titles, indicators;
// - frozen lines are the last FrozenCount fixed lines: they never scroll but hold data
//   cells that can be current and selected;
// - data lines scroll; the first one shown may be cut by FirstCellOffset pixels, which
//   stay hidden under the fixed lines;
// - contra lines (DataCount .. FullCount - 1) are pinned to the far edge: footers and
//   summary columns. The gap between the last data line and them is empty space;
// - the indents are out-of-boundary bands that subclasses paint (TGridOutBoundaryDataX).
//
// Where a part of the columns crosses a part of the rows lies a region (TGridRegionX):
// every cell of a region is painted and hit alike. GridRegions builds them in painting
// order; painting walks that table, and hit tests walk the axis parts it is made of.
//
// Paint flow: Paint -> FillDrawInfo (both axes) -> GridRegions -> out-of-boundary bands ->
// each non-contra region (its grid lines batched by colour, then its cells, then the frozen
// separators) -> row-select focus frame, empty space, extended lines -> contra regions
// (their lines and separators, then their cells) -> overlays of mouse actions (sizing
// line, move mark).
//
// Files: GridsXModel.cpp counts, extents, options, line colours and the default virtual
// operations; GridsXGeometry.cpp the axes, cells under points and screen rectangles of
// ranges; GridsXRegions.cpp the region table; GridsXPaint.cpp painting and invalidation;
// GridsXScroll.cpp scrolling, scroll bars, the current cell and line-count changes;
// GridsXMouse.cpp selecting, sizing, moving and auto-scrolling by mouse;
// GridsXKeys.cpp the keyboard; GridsXDispatch.cpp the message routing of the control;
// GridsXInplaceEdit.cpp the in-place editor; GridsXDragWindows.cpp the drag feedback windows.
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Mask.h"
#include "platform/ui/PropertyAccess.h"
#include <vector>

class TCustomGridX;

MOLI_DECLARE_EXCEPTION(EInvalidGridOperationX, Exception)

struct TGridCoord {
  Integer X = 0;
  Integer Y = 0;
  friend bool operator==(const TGridCoord&, const TGridCoord&) = default;
};

// A cell range; Right and Bottom are the last column and row, inclusive.
struct TGridRectX {
  Integer Left = 0;
  Integer Top = 0;
  Integer Right = 0;
  Integer Bottom = 0;
  friend bool operator==(const TGridRectX&, const TGridRectX&) = default;
};

enum TGridDrawStateValue { gdSelected, gdFocused, gdFixed, gdHotTrack, gdCurrent };
using TGridDrawState = TSet<TGridDrawStateValue>;

enum TGridOptionX {
  goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect, goDrawFocusSelected, goRowSizing,
  goColSizing, goRowMoving, goColMoving, goEditing, goTabs, goRowSelect, goAlwaysShowEditor, goThumbTracking,
  goExtendVertLinesX
};
using TGridOptionsX = TSet<TGridOptionX>;

enum TGridMouseStateX { msIdle, msSelecting, msRowSizing, msColSizing, msRowMoving, msColMoving };

// Per-line values: element 0 holds the line count n, elements 1..n the values of lines
// 0..n-1. An empty array means every line has the default.
using TIntegerArray = std::vector<Integer>;

using TGridXCellMouseEvent =
    std::function<void(TCustomGridX* Grid, TGridCoord Cell, TMouseButton Button, TShiftState Shift, Integer X, Integer Y)>;
using TMovedEvent = std::function<void(TObject* Sender, Integer FromIndex, Integer ToIndex)>;

// The borderless edit the grid places over its current cell. Text changes the user makes
// reach the grid at once (CommitEditorText); texts the program sets do not.
class TInplaceEdit : public TCustomMaskEdit {
public:
  explicit TInplaceEdit(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TInplaceEdit"); }
  TCustomGridX* Grid() const { return FGrid; }
  void SetGrid(TCustomGridX* Value) { FGrid = Value; }
  Cardinal ClickTime() const { return FClickTime; }
  void SetClickTime(Cardinal Value) { FClickTime = Value; }

  virtual void UpdateEditRect();
  virtual void LoadCellContents();
  // An empty rectangle hides the window.
  void PlaceAt(const TRect& R, bool Redraw);
  void MoveToRect(const TRect& R) { PlaceAt(R, false); }
  void ShowAtRect(const TRect& R) { PlaceAt(R, true); }
  void HideEditWindow();
  void CaretToEnd();
  bool IsWindowShown() const;
  void FocusIfShown();
  bool EditCanModify() override;

  void Dispatch(TMessage& Message) override;

protected:
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void KeyPress(QChar& Key) override;
  void DblClick() override;
  bool DoMouseWheel(TShiftState Shift, Integer WheelDelta, TPoint MousePos) override;
  void WidgetTextChanged(const String& Value) override;

private:
  void PassToGrid(Word& Key, TShiftState Shift);
  void TakeFocus();
  bool CaretAtLeft() const;
  bool CaretAtRight() const;
  TCustomGridX* FGrid = nullptr;
  Cardinal FClickTime = 0;
  bool FLoading = false;
};

// Library texts of the grid's index errors.
extern const char* const SGridIndexOutOfRange;
extern const char* const STooManyDeleted;
extern const char* const SGridTooLarge;
extern const char* const SFixedColTooBig;
extern const char* const SFixedRowTooBig;

// Size changes of an extent array. Inserting or deleting at Index shifts the lines behind
// it, so their extents stay with them.
void ModifyExtents(TIntegerArray& Extents, Integer Index, Integer Amount, Integer Default);
void UpdateExtents(TIntegerArray& Extents, Integer NewSize, Integer Default);
// Moves one element (array positions, i.e. line + 1), shifting those in between.
void MoveExtent(TIntegerArray& Extents, Integer FromIndex, Integer ToIndex);

// The parts of an axis, in order from its start (see the diagram at the top).
enum TGridAxisPartX { apFixedX, apFrozenX, apDataX, apContraX };

// Where one part of an axis lies and which lines it shows.
struct TGridAxisSpanX {
  Integer Start = 0;      // where FirstLine begins; before FixedEnd for data lines scrolled by pixels
  Integer End = 0;        // where the part ends
  Integer FirstLine = 0;  // the first line shown in the part
  Integer LineLimit = 0;  // lines stop before this index: DataCount, or FullCount for the contra part
};

// Pixel positions along one axis, from the client origin (see the diagram at the top).
struct TGridAxisDrawInfoX {
  Integer LineWidth = 0;        // the grid line after every line; 0 when this direction draws no lines
  Integer FixedEnd = 0;         // just past the fixed lines, frozen ones included, and their grid lines
  Integer DataEnd = 0;          // just past the last data line shown; DataLimit when that line is cut
  Integer DataLimit = 0;        // where data lines must stop: the start of the contra part
  Integer LastFullCell = 0;     // the last data line shown whole; FirstDataCell when none is
  Integer LastFullCellEnd = 0;  // just past LastFullCell and its grid line; FixedEnd when none is whole
  Integer FixedCount = 0;       // fixed lines, frozen ones included (FixedCols / FixedRows)
  Integer FirstDataCell = 0;    // the first data line shown (LeftCol / TopRow)
  Integer DataCount = 0;        // lines before the contra lines (ColCount / RowCount)
  std::function<Integer(Integer)> ExtentOf;  // the width or height of a line, without its grid line
  Integer FrozenStart = 0;      // where the frozen lines begin; FixedEnd when there are none
  Integer FrozenCount = 0;      // how many of the last fixed lines are frozen
  Integer ContraCount = 0;      // lines pinned to the far edge after the data lines
  Integer ContraStart = 0;      // the grid line before the first contra line; without contra lines the client extent
  Integer CellAreaEnd = 0;      // the end of the cells: the client extent less EndIndent
  Integer ClientExtent = 0;     // the client width or height
  Integer LinesEnd = 0;         // where grid lines across this axis stop: CellAreaEnd with contra lines, else DataEnd
  Integer FullCount = 0;        // DataCount + ContraCount
  Integer FirstCellOffset = 0;  // pixels of FirstDataCell scrolled out of view under the fixed lines
  Integer DataStart = 0;        // where FirstDataCell begins: FixedEnd - FirstCellOffset
  Integer StartIndent = 0;      // the out-of-boundary band before the cells (top or left)
  Integer EndIndent = 0;        // the out-of-boundary band after the cells (bottom or right)
  TGridAxisSpanX Parts[4];      // the parts, indexed by TGridAxisPartX

  const TGridAxisSpanX& Part(TGridAxisPartX Which) const { return Parts[Which]; }
  // The part a position from StartIndent on belongs to for hit tests: the data part owns
  // the empty gap up to ContraStart.
  TGridAxisPartX PartAt(Integer Pos) const;
  // The line under Pos, -1 when there is none.
  Integer LineAt(Integer Pos) const;
  // Where a line starts; 0 when it is not visible.
  Integer LinePos(Integer Line) const;
  // Sum of extent + LineWidth over lines From .. To - 1.
  Integer SpanOf(Integer From, Integer To) const;
};

// A rectangle of cells painted and hit alike: where a part of the columns crosses a part
// of the rows. Only the fixed rows run over the frozen columns too (a title is fixed above
// every column), so that region's Rect reaches the end of the frozen part.
struct TGridRegionX {
  TGridAxisPartX ColPart = apDataX;
  TGridAxisPartX RowPart = apDataX;
  TRect Rect;              // the first cell starts at its top left; no cell starts beyond it
  Integer FirstCol = 0;
  Integer FirstRow = 0;
  Integer ColLimit = 0;    // columns before this index belong to the region
  Integer RowLimit = 0;
  TRect ClipTo;            // non-empty: painting is narrowed to it (lines partly scrolled away)

  bool Contra() const { return ColPart == apContraX || RowPart == apContraX; }
  // Fixed cells: gdFixed on FixedColor, the fixed line options.
  bool Fixed() const { return ColPart == apFixedX || RowPart == apFixedX; }
  // Lines drawn with the data line options (goVertLine, goHorzLine), else the fixed ones.
  bool DataLines() const { return ColPart == apDataX && RowPart == apDataX; }
  // Frozen columns below the titles stop their lines a pixel short, before the frozen separator.
  bool LinesOneLess() const { return ColPart == apFrozenX && RowPart != apFixedX; }
  // Cells may be current, selected, focused or hot.
  bool DataState() const { return !Fixed() && !Contra(); }
};

struct TGridDrawInfoX {
  TGridAxisDrawInfoX Horz;
  TGridAxisDrawInfoX Vert;
};

// The bands around the cells that subclasses paint into (a grouping panel, for example).
class TGridOutBoundaryDataX : public TPersistent {
public:
  explicit TGridOutBoundaryDataX(TCustomGridX* Grid) : FGrid(Grid) {}
  String ClassName() const override { return QStringLiteral("TGridOutBoundaryDataX"); }
  enum { AreaTop = 0, AreaLeft = 1, AreaBottom = 2, AreaRight = 3 };

  Integer LeftIndent = 0;
  Integer RightIndent = 0;
  Integer BottomIndent = 0;
  bool LeftOwnsTopCorner = false;
  bool RightOwnsTopCorner = false;
  bool LeftOwnsBottomCorner = false;
  bool RightOwnsBottomCorner = false;

  Integer TopIndent() const { return FTopIndent; }
  void SetTopIndent(Integer Value);
  // The client rectangle of an area; false when the area has no size.
  bool GetBoundaryRect(TRect& R, Integer Area) const;
  void InvalidateBoundary(Integer Area);

private:
  TCustomGridX* FGrid;
  Integer FTopIndent = 0;
};

// The grid's line colours: two base colours and sixteen slots that fall back to one of
// them until set.
class TGridLineColorsX : public TPersistent {
public:
  explicit TGridLineColorsX(TCustomGridX* Grid);
  String ClassName() const override { return QStringLiteral("TGridLineColorsX"); }
  static constexpr TColor Unset = clDefault;
  enum TSlot {
    lcDark, lcBright, lcSlot8, lcSlot9, lcSlot10, lcSlot11, lcSlot12, lcSlot13, lcFrozenColSeparator, lcSlot15,
    lcSlot16, lcSlot17, lcContraRowLine, lcSlot19, lcSlot20, lcContraColLine, lcContraColSeparator,
    lcContraRowSeparator, lcSlotCount
  };

  TColor Slot(TSlot Which) const { return FSlots[Which]; }
  void SetSlot(TSlot Which, TColor Value) { FSlots[Which] = Value; }
  // The slot's colour, or its fallback while it is unset.
  virtual TColor SlotColor(TSlot Which) const;

  virtual TColor DarkLineColor() const;
  virtual TColor BrightLineColor() const;
  virtual TColor AreaLineColor(Integer ACol, Integer ARow) const;
  virtual TColor ContraColBoundaryColor(Integer ACol) const;
  virtual TColor ContraRowBoundaryColor(Integer ARow) const;
  virtual TColor FrozenColBoundaryColor(Integer ACol) const;
  virtual TColor FrozenRowBoundaryColor(Integer ARow) const;
  TColor FrozenColSeparatorColor() const { return SlotColor(lcFrozenColSeparator); }
  TColor ContraRowLineColor() const { return SlotColor(lcContraRowLine); }
  TColor ContraColLineColor() const { return SlotColor(lcContraColLine); }
  TColor ContraColSeparatorColor() const { return SlotColor(lcContraColSeparator); }
  TColor ContraRowSeparatorColor() const { return SlotColor(lcContraRowSeparator); }

protected:
  TCustomGridX* Grid() const { return FGrid; }

private:
  TCustomGridX* FGrid;
  TColor FSlots[lcSlotCount];
};

// Line segments of one paint, grouped by colour so that each colour is drawn at once.
class TGridLinesCacheX {
public:
  struct TGridLinesX {
    TColor Color;
    std::vector<std::vector<TPoint>> Segments;
  };
  TGridLinesX& LinesForColor(TColor Color);
  void AddSegment(TColor Color, Integer X1, Integer Y1, Integer X2, Integer Y2);
  void Clear() { FItems.clear(); }
  void DrawAll(TCustomGridX* Grid, TCanvas* Canvas);

private:
  std::vector<TGridLinesX> FItems;
};

class TCustomGridX : public TCustomControl, public IPublishedProperties {
public:
  explicit TCustomGridX(TComponent* AOwner);
  ~TCustomGridX() override;
  String ClassName() const override { return QStringLiteral("TCustomGridX"); }

  // ---- counts and bands
  Integer ColCount() const { return FColCount; }
  void SetColCount(Integer Value);
  Integer RowCount() const { return FRowCount; }
  void SetRowCount(Integer Value);
  Integer FixedCols() const { return FFixedCols; }
  void SetFixedCols(Integer Value);
  Integer FixedRows() const { return FFixedRows; }
  void SetFixedRows(Integer Value);
  Integer ContraColCount() const { return FContraColCount; }
  void SetContraColCount(Integer Value);
  Integer ContraRowCount() const { return FContraRowCount; }
  void SetContraRowCount(Integer Value);
  Integer FrozenColCount() const { return FFrozenColCount; }
  void SetFrozenColCount(Integer Value);
  Integer FrozenRowCount() const { return FFrozenRowCount; }
  Integer FullColCount() const { return FColCount + FContraColCount; }
  Integer FullRowCount() const { return FRowCount + FContraRowCount; }

  // ---- extents
  Integer ColWidths(Integer Index) const;
  void SetColWidths(Integer Index, Integer Value);
  Integer RowHeights(Integer Index) const;
  void SetRowHeights(Integer Index, Integer Value);
  bool TabStops(Integer Index) const;
  void SetTabStops(Integer Index, bool Value);
  Integer DefaultColWidth() const { return FDefaultColWidth; }
  Integer DefaultRowHeight() const { return FDefaultRowHeight; }
  void SetDefaultRowHeight(Integer Value);
  Integer GridLineWidth() const { return FGridLineWidth; }
  void SetGridLineWidth(Integer Value);
  const TIntegerArray& ColWidthsArray() const { return FColWidths; }
  const TIntegerArray& RowHeightsArray() const { return FRowHeights; }

  // ---- current cell, selection and view
  Integer Col() const { return FCurrent.X; }
  void SetCol(Integer Value);
  Integer Row() const { return FCurrent.Y; }
  void SetRow(Integer Value);
  TGridCoord Current() const { return FCurrent; }
  TGridCoord Anchor() const { return FAnchor; }
  Integer LeftCol() const { return FTopLeft.X; }
  void SetLeftCol(Integer Value);
  Integer TopRow() const { return FTopLeft.Y; }
  void SetTopRow(Integer Value);
  TGridCoord TopLeft() const { return FTopLeft; }
  Integer LeftColOffset() const { return FLeftColOffset; }
  Integer TopRowOffset() const { return FTopRowOffset; }
  TGridRectX SelectedRange() const;
  Integer CellsRight();
  Integer CellsBottom();
  Integer FullyVisibleColCount();
  Integer FullyVisibleRowCount();

  // ---- options and appearance
  TGridOptionsX GridOptions() const { return FGridOptions; }
  void SetGridOptions(TGridOptionsX Value);
  TGridOptionsX DesignOptionsBoost() const { return FDesignOptionsBoost; }
  bool EditorMode() const { return FEditorMode; }
  void SetEditorMode(bool Value);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  TColor FixedColor() const { return FFixedColor; }
  void SetFixedColor(TColor Value);
  // "FixedColor" is published, so that code treating controls alike by name (the skin) finds it.
  bool ReadOrdProperty(const String& Name, Integer& Value) const override;
  bool WriteProperty(const String& Name, const String& Text) override;
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  TColor FlatLineColor() const { return FFlatLineColor; }
  bool DefaultCellDrawing() const { return FDefaultCellDrawing; }
  void SetDefaultCellDrawing(bool Value) { FDefaultCellDrawing = Value; }
  bool SaveCellExtents() const { return FSaveCellExtents; }
  void SetSaveCellExtents(bool Value) { FSaveCellExtents = Value; }
  bool FullRepaintOnResize() const { return FFullRepaintOnResize; }
  void SetFullRepaintOnResize(bool Value) { FFullRepaintOnResize = Value; }
  TGridLineColorsX* LineColors() const { return FLineColors.get(); }
  TGridOutBoundaryDataX* OutBoundaryData() const { return FOutBoundaryData.get(); }

  // ---- state
  TGridMouseStateX GridState() const { return FGridState; }
  TGridCoord HotTrackCell() const { return FHotTrackCell; }
  TPoint HotTrackOffset() const { return FHotTrackOffset; }
  TGridCoord MouseDownCell() const { return FMouseDownCell; }
  Integer HorzPageExtent() const { return FHorzPageExtent; }
  Integer VertPageExtent() const { return FVertPageExtent; }
  Integer HorzTotalExtent() const { return FHorzTotalExtent; }
  Integer VertTotalExtent() const { return FVertTotalExtent; }
  Integer HorzScrollPos() const { return FHorzScrollPos; }
  Integer VertScrollPos() const { return FVertScrollPos; }
  Integer SizingIndex() const { return FSizingIndex; }
  Integer SizingPos() const { return FSizingPos; }
  Integer MoveIndex() const { return FMoveIndex; }
  Integer MovePos() const { return FMovePos; }
  bool MoveInsertAfter() const { return FMoveInsertAfter; }
  Integer InplaceCol() const { return FInplaceCol; }
  Integer InplaceRow() const { return FInplaceRow; }
  TInplaceEdit* InplaceEditor() const { return FInplaceEditor; }
  bool CanEditModify() const { return FCanEditModify; }

  void LockUpdate() { ++FUpdateLockCount; }
  void UnlockUpdate() { if (FUpdateLockCount > 0) --FUpdateLockCount; }
  bool UpdateLocked() const { return FUpdateLockCount > 0; }
  bool IsFocusOwner() const;
  // Whether a row-select grid frames its selected rows with the focus rectangle.
  virtual bool DrawsFocusRect();
  bool IsThemedLook() const { return false; }

  // ---- geometry
  void FillDrawInfo(TGridDrawInfoX& DrawInfo);
  // The regions of the cells, in painting order: the non-contra ones, then the contra ones.
  std::vector<TGridRegionX> GridRegions(const TGridDrawInfoX& DrawInfo) const;
  TGridCoord CellAtPoint(Integer X, Integer Y);
  void CellRangeBounds(Integer ALeft, Integer ATop, Integer ARight, Integer ABottom, TRect& R);
  void CellBounds(Integer ACol, Integer ARow, TRect& R) { CellRangeBounds(ACol, ARow, ACol, ARow, R); }
  TRect CellRect(Integer ACol, Integer ARow) { TRect r; CellBounds(ACol, ARow, r); return r; }
  void GridRectToScreen(const TGridRectX& GridRect, TRect& ScreenRect, bool IncludeLine);
  void ScrollCellIntoView(const TGridCoord& Cell, bool ShowHorz, bool ShowVert);
  void MoveToCell(Integer ACol, Integer ARow, bool MoveAnchor, bool ShowHorz, bool ShowVert) {
    DoMoveToCell(ACol, ARow, MoveAnchor, ShowHorz, ShowVert);
  }
  void MoveTopLeft(Integer ALeft, Integer ATop);
  void ScrollByPixels(Integer DX, Integer DY);
  void CalcHorzScrollExtent() { CalcScrollExtent(false); }
  void CalcVertScrollExtent() { CalcScrollExtent(true); }
  void RefreshScrollBars();
  void ChangeSize(Integer NewColCount, Integer NewRowCount);

  // ---- painting helpers
  void InvalidateCellArea(Integer ACol, Integer ARow);
  void InvalidateColumnArea(Integer ACol);
  void InvalidateRowArea(Integer ARow);
  void InvalidateGridRect(const TGridRectX& GridRect);
  void InvalidateSelectionChange(const TGridRectX& OldSelection);
  // Invalidates the part of two client rectangles that is not common to both.
  void InvalidateChangedArea(const TRect& OldRect, const TRect& NewRect);
  void GridPolyline(const std::vector<TPoint>& Points);
  void GridPolyPolyline(const std::vector<std::vector<TPoint>>& Lines);

  // ---- mouse and moving
  bool IsOverSizingLine(Integer X, Integer Y);
  void StartColumnMove(Integer Index, Integer X, Integer Y, const TGridDrawInfoX& DrawInfo);
  void RelocateColumn(Integer FromIndex, Integer ToIndex);
  void RelocateRow(Integer FromIndex, Integer ToIndex);
  void MoveAnchor(const TGridCoord& NewAnchor, bool Show);
  // The interval the auto-scroll timer runs at now (milliseconds).
  Cardinal AutoScrollInterval() const { return FTimerInterval; }
  // Whether the mark of a row or column move is shown.
  bool MoveMarkShown() const { return FMoveMarkShown; }
  bool SizingLineShown() const { return FSizingLineShown; }

  // ---- in-place editor
  bool EnsureInplaceEditor();
  void HideInplaceEditor();
  void ReloadEditor();
  void EnterEditorModeWithChar(QChar Ch);

  TGridXCellMouseEvent OnCellMouseClick;

  void Dispatch(TMessage& Message) override;

  // ---- virtual operations
  virtual void HideMoveLine();
  virtual bool MayStartColumnMove(Integer& Origin, Integer& Destination, const TPoint& MousePt);
  virtual bool MayStartRowMove(Integer& Origin, Integer& Destination, const TPoint& MousePt);
  virtual bool EditorAcceptsKey(QChar Key);
  virtual bool EditorMayModify();
  virtual bool EditorMayShow();
  virtual bool GridAcceptsKey(Word Key, TShiftState Shift);
  virtual void GetEditorRect(Integer ACol, Integer ARow, TRect& R);
  virtual bool CanCellMouseClick(const TMessage& Message);
  virtual bool MayMoveColumnTo(Integer& Origin, Integer& Destination, const TPoint& MousePt);
  virtual bool MayMoveRowTo(Integer& Origin, Integer& Destination, const TPoint& MousePt);
  virtual TInplaceEdit* MakeInplaceEditor();
  virtual std::unique_ptr<TGridLineColorsX> CreateGridLineColors();
  virtual bool MayFinishColumnMove(Integer& Origin, Integer& Destination, const TPoint& MousePt);
  virtual bool MayFinishRowMove(Integer& Origin, Integer& Destination, const TPoint& MousePt);
  virtual Integer GetCellEditMaxLength();
  virtual String GetCellEditMask(Integer ACol, Integer ARow);
  virtual String GetCellEditText(Integer ACol, Integer ARow);
  virtual Integer GetHorzScrollStep();
  virtual Integer GetVertScrollStep();
  virtual bool IsSmoothHorzScroll();
  virtual bool IsSmoothVertScroll();
  virtual bool CanHotTrackCell(Integer ACol, Integer ARow);
  virtual bool MayMoveToCell(Integer ACol, Integer ARow);
  virtual void InsertDeleteLines(Integer Index, Integer Count, bool IsRows);
  virtual void HitTestSizing(Integer X, Integer Y, const TGridDrawInfoX& DrawInfo, TGridMouseStateX& State,
                             Integer& Index, Integer& SizingPos, Integer& SizingOfs);
  virtual void StopMouseTracking();
  virtual void CellMouseClick(const TGridCoord& Cell, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual void GetCellLineParams(Integer ACol, Integer ARow, Byte LineKind, bool& Draw, TColor& Color, bool& Cross);
  virtual void ColumnMoved(Integer FromIndex, Integer ToIndex);
  virtual void ColWidthsChanged();
  virtual void GetSizingLineExtent(const TGridDrawInfoX& DrawInfo, Integer& StartPos, Integer& EndPos);
  virtual void RemoveColumn(Integer ACol);
  virtual void RemoveRow(Integer ARow);
  virtual void PaintCell(Integer ACol, Integer ARow, TGridDrawState State, TRect R) = 0;
  virtual void PaintOutBoundaryAreas();
  // The smallest top-left that still shows Cell whole (the top of the last page for Cell).
  TGridCoord CalcMaxTopLeft(const TGridCoord& Cell, const TGridDrawInfoX& DrawInfo) const;
  // Feedback a subclass draws over the painted cells while the mouse holds something.
  virtual void PaintMouseFeedback(const TGridDrawInfoX&) {}
  virtual void PaintTopOutBoundary(const TRect& R);
  virtual void PaintLeftOutBoundary(const TRect& R);
  virtual void PaintBottomOutBoundary(const TRect& R);
  virtual void PaintRightOutBoundary(const TRect& R);
  virtual void XorSizingLine(const TGridDrawInfoX& DrawInfo);
  virtual void FlatChanged() {}
  virtual void ActivateCell(Integer ACol, Integer ARow, bool MoveAnchor);
  virtual void LeaveEditorMode();
  virtual void OutBoundaryDataChanged();
  virtual void RowHeightsUpdated();
  virtual void RowRelocated(Integer FromIndex, Integer ToIndex);
  virtual void ScrollDataArea(Integer DX, Integer DY);
  virtual void ChangeContraSize(Integer NewContraCols, Integer NewContraRows);
  virtual void StoreCellEditText(Integer ACol, Integer ARow, const String& Value);
  virtual void EnterEditorMode();
  virtual void CountsChanged(Integer OldColCount, Integer OldRowCount);
  virtual void AutoScrollStep(Byte Direction);
  virtual void ScrollPositionChanged();
  virtual void UpdateFlatLineColor();
  virtual void SyncEditor();
  virtual void CommitEditorText();
  virtual void UpdateHotTrack(Integer X, Integer Y);
  virtual void DefaultCellMouseClick(const TGridCoord& Cell, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);

  void DoMoveToCell(Integer ACol, Integer ARow, bool MoveAnchor, bool ShowHorz, bool ShowVert);

  // Scroll-bar handling of one bar (WM_HSCROLL / WM_VSCROLL).
  void ModifyScrollBar(Integer Bar, Integer ScrollCode, Integer Pos, bool UseRightToLeft);

  // Platform operations the grid overrides, reachable for subclasses and tests.
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(QChar& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
  void DoExit() override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;

  // Message handlers, one per message the grid treats (see Dispatch).
  void WMChar(TMessage& Message) override;
  virtual void WMGetDlgCode(TMessage& Message);
  virtual void CMWantSpecialKey(TMessage& Message);
  void WMSetFocus(TMessage& Message) override;
  virtual void WMKillFocus(TMessage& Message);
  virtual void WMNCHitTest(TMessage& Message);
  void WMSetCursor(TMessage& Message) override;
  void WMSize(TMessage& Message) override;
  virtual void WMScroll(TMessage& Message);  // WM_HSCROLL and WM_VSCROLL
  virtual void WMTimer(TMessage& Message);
  virtual void WMCancelMode(TMessage& Message);
  virtual void CMCancelMode(TMessage& Message);
  void CMMouseLeave(TMessage& Message) override;
  virtual void CMDesignHitTest(TMessage& Message);
  void CMFontChanged(TMessage& Message) override;
  void CMShowingChanged(TMessage& Message) override;

  // Client size for geometry: the control size until the window exists.
  Integer GridClientWidth() const;
  Integer GridClientHeight() const;
  bool RightToLeft() const { return UseRightToLeftAlignment(); }
  bool Designing() const { return ComponentState().Contains(csDesigning); }
  void SetFrozenRowCountField(Integer Value) { FFrozenRowCount = Value; }

  TGridCoord FAnchor;
  TGridCoord FCurrent;
  TGridCoord FTopLeft;

private:
  friend class TInplaceEdit;
  void CalcAxisDrawInfo(TGridAxisDrawInfoX& Axis, bool IsRows, Integer ClientExtent);
  void ResetTopLeftCurrentAnchor();
  void RecalcExtentsAndScrollBars(bool Horz);
  bool StoreLineExtent(bool Rows, Integer Index, Integer Value);
  struct TMaxFirst {
    Integer Line;
    Integer HiddenLine;   // the first line that does not fit, -1 when all fit
    Integer HiddenPixels; // pixels of HiddenLine to hide so that the cell ends at the limit
  };
  TMaxFirst CalcMaxFirstLine(const TGridAxisDrawInfoX& Axis, Integer Cell) const;
  void TopLeftMoved(const TGridCoord& OldTopLeft, Integer OldLeftOffset, Integer OldTopOffset);
  void CalcScrollExtent(bool Rows);
  void UpdateScrollPos();
  Integer ScrollShift(const TGridAxisDrawInfoX& Axis, Integer OldFirst, Integer OldOffset, Integer NewFirst,
                      Integer NewOffset, bool& TooFar) const;
  void BaseScrollDataArea(Integer DX, Integer DY);
  Integer ClampPixelDelta(const TGridAxisDrawInfoX& Axis, Integer Delta) const;
  void ApplyPixelDelta(const TGridAxisDrawInfoX& Axis, Integer Delta, Integer& First, Integer& Offset) const;
  void SetBarInfo(Integer Bar, Integer Min, Integer Max, Integer Page, Integer Pos);
  void RefreshBar(bool Horz);
  Integer ChangeLineCount(Integer& Count, TIntegerArray* Extents, Integer Default, Integer& CurrentIndex,
                          Integer Index, Integer Delta);

  // painting
  void PaintRegion(const TGridDrawInfoX& DI, const TGridRegionX& Region, const TRect& Clip);
  void PaintRegionLines(const TGridDrawInfoX& DI, const TGridRegionX& Region);
  void PaintRegionCells(const TGridDrawInfoX& DI, const TGridRegionX& Region, const TRect& Clip);
  void PaintOneCell(Integer ACol, Integer ARow, TGridDrawState State, TRect R, TColor Fill, const TRect& Clip,
                    bool Contra);
  void PaintFrozenSeparators(const TGridDrawInfoX& DI, const TGridRegionX& After);
  void PaintContraLines(const TGridDrawInfoX& DI);
  void PaintContraAreas(const TGridDrawInfoX& DI, const std::vector<TGridRegionX>& Regions, const TRect& Clip);
  void DrawAxisLines(const TGridDrawInfoX& DI, const TRect& Band, Integer FirstCol, Integer FirstRow, bool HorzOn,
                     bool VertOn, TColor LineColor, TColor FillColor);
  void DrawExtendedVertLines(const TGridDrawInfoX& DI, Integer FromX, Integer ToX);
  void DrawFixedCellEdge(TRect R, bool LeftTop, bool RightBottom, bool Pushed);
  void DrawSeparator(TColor Color, Integer X1, Integer Y1, Integer X2, Integer Y2);
  void FillArea(const TRect& R, TColor Color);
  void DrawOverlays(const TGridDrawInfoX& DI);
  TGridDrawState CellState(Integer ACol, Integer ARow, bool DataBand) const;
  bool CellInRange(Integer ACol, Integer ARow, const TGridRectX& R) const;

  // mouse
  void SetMoveMarkShown(bool Value);
  // The 5-pixel band that marks where a moved row goes.
  TRect MoveMarkRect(const TGridDrawInfoX& DI);
  void MoveAndScroll(Integer Mouse, Integer CellHit, const TPoint& MousePt, bool Horz);
  bool InsertAfterFor(Integer CellHit, Integer Mouse, const TGridDrawInfoX& DI, bool Horz);
  void PaceMoveTimer(Integer X, const TGridDrawInfoX& DI, Integer OldLeftCol, Integer OldHorzScrollPos);
  void StartMoveTimer(Cardinal Interval);
  void StopMoveTimer();
  void HandleTimer();
  Integer ResizeLine(const TGridDrawInfoX& DI);
  void HandleButtonDown(TMessage& Message);
  void HandleButtonUp(TMessage& Message, TMouseButton Button, bool Double);
  void HandleKeyTab(TGridCoord& NewCurrent, bool Backwards);
  bool SelectableCell(const TGridCoord& Cell) const;

  Integer FColCount = 5;
  Integer FRowCount = 5;
  Integer FFixedCols = 1;
  Integer FFixedRows = 1;
  Integer FContraColCount = 0;
  Integer FContraRowCount = 0;
  Integer FFrozenColCount = 0;
  Integer FFrozenRowCount = 0;
  TIntegerArray FColWidths;
  TIntegerArray FRowHeights;
  TIntegerArray FTabStops;
  Integer FDefaultColWidth = 64;
  Integer FDefaultRowHeight = 24;
  Integer FGridLineWidth = 1;
  bool FCanEditModify = true;
  bool FDefaultCellDrawing = true;
  bool FEditorMode = false;
  TColor FFixedColor = clBtnFace;
  bool FFlat = false;
  TColor FFlatLineColor = 0;
  std::unique_ptr<TGridLineColorsX> FLineColors;
  std::unique_ptr<TGridOutBoundaryDataX> FOutBoundaryData;
  TGridLinesCacheX FLinesCache;
  TPoint FNCHitPoint;
  Integer FInplaceCol = -1;
  Integer FInplaceRow = -1;
  TInplaceEdit* FInplaceEditor = nullptr;
  TGridOptionsX FGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
  TGridOptionsX FDesignOptionsBoost{goRowSizing, goColSizing, goColMoving};
  TScrollStyle FScrollBars = ssBoth;
  bool FRefreshingBars = false;
  Integer FLeftColOffset = 0;
  Integer FTopRowOffset = 0;
  Integer FHorzPageExtent = 0;
  Integer FVertPageExtent = 0;
  Integer FHorzTotalExtent = 0;
  Integer FVertTotalExtent = 0;
  Integer FHorzScrollPos = 0;
  Integer FVertScrollPos = 0;
  TGridMouseStateX FGridState = msIdle;
  Integer FUpdateLockCount = 0;
  TGridCoord FMouseDownCell{-1, -1};
  bool FSaveCellExtents = true;
  bool FFullRepaintOnResize = false;
  Integer FSizingIndex = 0;
  Integer FSizingPos = 0;
  Integer FSizingOfs = 0;
  bool FSizingLineShown = false;
  TGridCoord FHotTrackCell{-1, -1};
  TPoint FHotTrackOffset{-1, -1};
  Integer FMoveIndex = 0;
  Integer FMovePos = 0;
  bool FMoveInsertAfter = false;
  bool FMoveMarkShown = false;
  Cardinal FTimerInterval = 0;
  bool FPaintingMirrored = false;
  bool FPaintFocused = false;
  TPoint FLastMousePos;
  bool FFocusFromEditor = false;  // the editor just gave the focus back to the grid
};

// Floating feedback of drags over a grid: a borderless window above everything that never
// takes the focus, optionally translucent or with a colour that shows nothing.
class TGridDragWinX : public TCustomControl {
public:
  explicit TGridDragWinX(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TGridDragWinX"); }
  Byte AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(Byte Value);
  // clNone: no colour is transparent.
  TColor TransparentColorValue() const { return FTransparentColorValue; }
  void SetTransparentColorValue(TColor Value);

  // Points are relative to Control's client area.
  virtual void MoveToPoint(TControl* Control, TPoint Point);
  virtual void SetBoundsAt(TControl* Control, TPoint Point, Integer AWidth, Integer AHeight);
  virtual void ShowAt(TControl* Control, TPoint Point, Integer AWidth, Integer AHeight);
  virtual void ShowAtHeight(TControl* Control, TPoint Point, Integer AHeight);
  bool IsShown() const { return Visible(); }

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateHandle() override;
  void Paint() override;
  // The part of the window that shows; the whole window unless a colour is transparent.
  virtual void UpdateShape() {}

private:
  void ApplyLayering();
  Byte FAlphaBlendValue = 200;
  TColor FTransparentColorValue = clNone;
};

// The image of a column title being dragged.
class TGridDragBoxX : public TGridDragWinX {
public:
  using TGridDragWinX::TGridDragWinX;
  String ClassName() const override { return QStringLiteral("TGridDragBoxX"); }
};

// The insertion mark of a column move: a red line with arrow heads at both ends, vertical
// or horizontal; everything else of the window is transparent.
class TGridMoveLineX : public TGridDragWinX {
public:
  explicit TGridMoveLineX(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TGridMoveLineX"); }
  bool IsVertical() const { return FIsVertical; }
  // Shows the mark with its line through Point, Length pixels long.
  virtual void ShowMoveLine(TControl* Control, TPoint Point, bool IsVertical, Integer Length);
  void MoveToPoint(TControl* Control, TPoint Point) override;
  // The shapes of the mark in window coordinates.
  std::vector<TRect> Shapes() const;

protected:
  void Paint() override;
  void Resize() override;
  void UpdateShape() override;

private:
  bool FIsVertical = true;
};

// The application's one drag box and one insertion mark, made on first use.
TGridDragBoxX* GetGridDragBox();
TGridMoveLineX* GetGridMoveLine();

// The window timer that drives auto-scrolling while selecting or moving.
constexpr Integer GridMoveTimerId = 1;

// F2 opens the editor on the grid and puts the caret at the end inside it.
constexpr Word GridEditKey = VK_F1 + 1;
