#pragma once
// The owner-drawn base grid: a rectangle of cells with fixed, frozen, scrolling and
// contra-fixed lines, per-line extents, a current cell and a selection, pixel-exact
// scrolling, sizing and moving of lines by mouse and an in-place text editor. It knows
// nothing about data: subclasses supply cell painting, editor texts and permissions
// through its virtual operations.
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Mask.h"
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

// Pixel positions along one axis, from the client origin.
struct TGridAxisDrawInfoX {
  Integer LineWidth = 0;
  Integer FixedEnd = 0;
  Integer DataEnd = 0;
  Integer DataLimit = 0;
  Integer LastFullCell = 0;
  Integer LastFullCellEnd = 0;
  Integer FixedCount = 0;
  Integer FirstDataCell = 0;
  Integer DataCount = 0;
  std::function<Integer(Integer)> ExtentOf;
  Integer FrozenStart = 0;
  Integer FrozenCount = 0;
  Integer ContraCount = 0;
  Integer ContraStart = 0;
  Integer CellAreaEnd = 0;
  Integer ClientExtent = 0;
  Integer LinesEnd = 0;
  Integer FullCount = 0;
  Integer FirstCellOffset = 0;
  Integer DataStart = 0;
  Integer StartIndent = 0;
  Integer EndIndent = 0;

  // The line under Pos, -1 when there is none.
  Integer LineAt(Integer Pos) const;
  // Where a line starts; 0 when it is not visible.
  Integer LinePos(Integer Line) const;
  // Sum of extent + LineWidth over lines From .. To - 1.
  Integer SpanOf(Integer From, Integer To) const;
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

class TCustomGridX : public TCustomControl {
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
  bool IsThemedLook() const { return false; }

  // ---- geometry
  void FillDrawInfo(TGridDrawInfoX& DrawInfo);
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
  TGridCoord CalcMaxTopLeft(const TGridCoord& Cell, const TGridDrawInfoX& DrawInfo) const;
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
  struct TBand;
  void PaintBand(const TGridDrawInfoX& DI, const TBand& Band, const TRect& Clip);
  void PaintBandLines(const TGridDrawInfoX& DI, const TBand& Band);
  void PaintBandCells(const TGridDrawInfoX& DI, const TBand& Band, const TRect& Clip);
  void PaintOneCell(Integer ACol, Integer ARow, TGridDrawState State, TRect R, TColor Fill, const TRect& Clip,
                    bool Contra);
  void PaintContraAreas(const TGridDrawInfoX& DI, const TRect& Clip);
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
  void HandleSetCursor(TMessage& Message);
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
