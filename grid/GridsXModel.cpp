// The grid's counts, extents, options and the base behaviour of its simple virtual operations.
#include "grid/GridsX.h"
#include "platform/rtl/ScopeGuards.h"
#include "platform/ui/Forms.h"
#include <QApplication>
#include <QWidget>
#include <algorithm>

const char* const SGridIndexOutOfRange = "Grid index out of range";
const char* const STooManyDeleted = "Too many rows or columns deleted";
const char* const SGridTooLarge = "Grid too large for operation";
const char* const SFixedColTooBig = "Fixed column count must be less than column count";
const char* const SFixedRowTooBig = "Fixed row count must be less than row count";

namespace {
constexpr Integer MaxExtentLines = 134217725;

[[noreturn]] void RaiseGridError(const char* Text) { throw EInvalidGridOperationX(QString::fromUtf8(Text)); }
}  // namespace

// ---- extent arrays

void ModifyExtents(TIntegerArray& Extents, Integer Index, Integer Amount, Integer Default) {
  if (Amount == 0) return;
  const Integer oldSize = Extents.empty() ? 0 : Extents[0];
  if (Index < 0 || Index > oldSize) RaiseGridError(SGridIndexOutOfRange);
  const Int64 newSize = Int64(oldSize) + Amount;
  if (newSize < 0 || (Amount < 0 && Index - Amount > oldSize)) RaiseGridError(STooManyDeleted);
  if (newSize > MaxExtentLines) RaiseGridError(SGridTooLarge);
  if (newSize == 0) {
    Extents.clear();
    return;
  }
  if (Extents.empty()) Extents.assign(1, 0);
  const auto at = Extents.begin() + 1 + Index;
  if (Amount > 0) Extents.insert(at, size_t(Amount), Default);
  else Extents.erase(at, at - Amount);
  Extents[0] = Integer(newSize);
}

void UpdateExtents(TIntegerArray& Extents, Integer NewSize, Integer Default) {
  const Integer oldSize = Extents.empty() ? 0 : Extents[0];
  // Growing appends behind the last line; shrinking drops the lines from NewSize on.
  ModifyExtents(Extents, std::min(oldSize, NewSize), NewSize - oldSize, Default);
}

void MoveExtent(TIntegerArray& Extents, Integer FromIndex, Integer ToIndex) {
  if (FromIndex == ToIndex) return;
  const Integer value = Extents[size_t(FromIndex)];
  if (FromIndex < ToIndex)
    std::move(Extents.begin() + FromIndex + 1, Extents.begin() + ToIndex + 1, Extents.begin() + FromIndex);
  else
    std::move_backward(Extents.begin() + ToIndex, Extents.begin() + FromIndex, Extents.begin() + FromIndex + 1);
  Extents[size_t(ToIndex)] = value;
}

// ---- out-of-boundary bands

void TGridOutBoundaryDataX::SetTopIndent(Integer Value) {
  if (Value == FTopIndent) return;
  FTopIndent = Value;
  FGrid->OutBoundaryDataChanged();
}

bool TGridOutBoundaryDataX::GetBoundaryRect(TRect& R, Integer Area) const {
  const Integer w = FGrid->HandleAllocated() ? FGrid->ClientWidth() : FGrid->Width();
  const Integer h = FGrid->HandleAllocated() ? FGrid->ClientHeight() : FGrid->Height();
  switch (Area) {
    case AreaTop:
      R = TRect(LeftOwnsTopCorner ? LeftIndent : 0, 0, w - (RightOwnsTopCorner ? RightIndent : 0), FTopIndent);
      return FTopIndent > 0;
    case AreaBottom:
      R = TRect(LeftOwnsBottomCorner ? LeftIndent : 0, h - BottomIndent, w - (RightOwnsBottomCorner ? RightIndent : 0), h);
      return BottomIndent > 0;
    case AreaLeft:
      R = TRect(0, LeftOwnsTopCorner ? 0 : FTopIndent, LeftIndent, LeftOwnsBottomCorner ? h : h - BottomIndent);
      return LeftIndent > 0;
    case AreaRight:
      R = TRect(w - RightIndent, RightOwnsTopCorner ? 0 : FTopIndent, w, RightOwnsBottomCorner ? h : h - BottomIndent);
      return RightIndent > 0;
    default:
      R = TRect();
      return false;
  }
}

void TGridOutBoundaryDataX::InvalidateBoundary(Integer Area) {
  TRect r;
  if (FGrid->HandleAllocated() && GetBoundaryRect(r, Area)) FGrid->InvalidateRect(&r, false);
}

// ---- line colours

TGridLineColorsX::TGridLineColorsX(TCustomGridX* Grid) : FGrid(Grid) { std::fill(std::begin(FSlots), std::end(FSlots), Unset); }

TColor TGridLineColorsX::SlotColor(TSlot Which) const {
  if (FSlots[Which] != Unset) return FSlots[Which];
  switch (Which) {
    case lcDark: return DarkLineColor();
    case lcBright: return BrightLineColor();
    case lcSlot8:
    case lcSlot9:
    case lcFrozenColSeparator:
    case lcSlot15:
    case lcContraColSeparator:
    case lcContraRowSeparator: return DarkLineColor();
    default: return BrightLineColor();
  }
}

TColor TGridLineColorsX::DarkLineColor() const { return FSlots[lcDark] != Unset ? FSlots[lcDark] : clGray; }

TColor TGridLineColorsX::BrightLineColor() const {
  if (FSlots[lcBright] != Unset) return FSlots[lcBright];
  const TColor bright = FGrid->IsThemedLook() ? TColor(0xF0F0F0) : clSilver;
  return ColorToRGB(bright) == ColorToRGB(FGrid->Color()) ? clGray : bright;
}

TColor TGridLineColorsX::AreaLineColor(Integer ACol, Integer ARow) const {
  const TCustomGridX& g = *FGrid;
  if (ACol < g.FixedCols() - g.FrozenColCount() || ARow < g.FixedRows() - g.FrozenRowCount()) return DarkLineColor();
  if (ACol < g.ColCount() && ARow < g.RowCount()) return BrightLineColor();
  if (ARow >= g.RowCount()) return ContraRowLineColor();
  return ContraColLineColor();
}

TColor TGridLineColorsX::ContraColBoundaryColor(Integer ACol) const {
  return ACol == FGrid->ColCount() ? ContraColSeparatorColor() : BrightLineColor();
}

TColor TGridLineColorsX::ContraRowBoundaryColor(Integer ARow) const {
  return ARow == FGrid->RowCount() ? ContraRowSeparatorColor() : BrightLineColor();
}

TColor TGridLineColorsX::FrozenColBoundaryColor(Integer ACol) const {
  return FGrid->FrozenColCount() > 0 && FGrid->FixedCols() == ACol + 1 ? FrozenColSeparatorColor() : BrightLineColor();
}

TColor TGridLineColorsX::FrozenRowBoundaryColor(Integer ARow) const {
  return FGrid->FrozenRowCount() > 0 && FGrid->FixedRows() == ARow + 1 ? DarkLineColor() : BrightLineColor();
}

// ---- the grid

TCustomGridX::TCustomGridX(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle = {csCaptureMouse, csOpaque, csDoubleClicks, csNeedsBorderPaint};
  SetBorderStyle(bsSingle);
  SetColor(clWindow);
  SetParentColor(false);
  SetTabStop(true);
  SetBounds(Left(), Top(), FColCount * FDefaultColWidth, FRowCount * FDefaultRowHeight);
  ResetTopLeftCurrentAnchor();
  FLineColors = CreateGridLineColors();
  FOutBoundaryData = std::make_unique<TGridOutBoundaryDataX>(this);
  CalcHorzScrollExtent();
  CalcVertScrollExtent();
}

TCustomGridX::~TCustomGridX() {
  delete FInplaceEditor;
  FInplaceEditor = nullptr;
}

void TCustomGridX::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style |= WS_TABSTOP;
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) Params.Style |= WS_VSCROLL;
  if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) Params.Style |= WS_HSCROLL;
  Params.WindowClassStyle = CS_DBLCLKS;
}

Integer TCustomGridX::GridClientWidth() const { return HandleAllocated() ? ClientWidth() : Width(); }
Integer TCustomGridX::GridClientHeight() const { return HandleAllocated() ? ClientHeight() : Height(); }

void TCustomGridX::ResetTopLeftCurrentAnchor() {
  FTopLeft = {FFixedCols, FFixedRows};
  FLeftColOffset = FTopRowOffset = 0;
  FCurrent = FTopLeft;
  FAnchor = FCurrent;
  if (FGridOptions.Contains(goRowSelect)) FAnchor.X = FColCount - 1;
}

void TCustomGridX::RecalcExtentsAndScrollBars(bool Horz) {
  CalcScrollExtent(!Horz);
  RefreshScrollBars();
}

// ---- counts

void TCustomGridX::SetColCount(Integer Value) {
  if (Value == FColCount) return;
  if (Value <= 0) Value = 1;
  if (FFixedCols >= Value) FFixedCols = Value - 1;
  const Integer old = FColCount;
  if (FContraColCount != 0) InsertDeleteLines(std::min(old, Value), Value - old, false);
  else ChangeSize(Value, FRowCount);
  if (FGridOptions.Contains(goRowSelect)) {
    FAnchor.X = FColCount - 1;
    Invalidate();
  }
  RecalcExtentsAndScrollBars(true);
}

void TCustomGridX::SetRowCount(Integer Value) {
  if (Value == FRowCount) return;
  if (Value <= 0) Value = 1;
  if (FFixedRows >= Value) FFixedRows = Value - 1;
  const Integer old = FRowCount;
  if (FContraRowCount != 0) InsertDeleteLines(std::min(old, Value), Value - old, true);
  else ChangeSize(FColCount, Value);
  RecalcExtentsAndScrollBars(false);
}

void TCustomGridX::SetContraColCount(Integer Value) {
  if (Value == FContraColCount) return;
  if (Value < 0) throw Exception(QStringLiteral("FContraColCount can not be negative."));
  ChangeContraSize(Value, FContraRowCount);
  RecalcExtentsAndScrollBars(true);
}

void TCustomGridX::SetContraRowCount(Integer Value) {
  if (Value == FContraRowCount) return;
  if (Value < 0) throw Exception(QStringLiteral("FContraRowCount can not be negative."));
  ChangeContraSize(FContraColCount, Value);
  RecalcExtentsAndScrollBars(false);
}

void TCustomGridX::SetFixedCols(Integer Value) {
  if (Value == FFixedCols) return;
  if (Value < 0) RaiseGridError(SGridIndexOutOfRange);
  if (Value >= FColCount) RaiseGridError(SFixedColTooBig);
  FFixedCols = Value;
  RecalcExtentsAndScrollBars(true);
  ResetTopLeftCurrentAnchor();
  Invalidate();
}

void TCustomGridX::SetFixedRows(Integer Value) {
  if (Value == FFixedRows) return;
  if (Value < 0) RaiseGridError(SGridIndexOutOfRange);
  if (Value >= FRowCount) RaiseGridError(SFixedRowTooBig);
  FFixedRows = Value;
  RecalcExtentsAndScrollBars(false);
  ResetTopLeftCurrentAnchor();
  Invalidate();
}

void TCustomGridX::SetFrozenColCount(Integer Value) {
  FFrozenColCount = Value;
  Invalidate();
}

void TCustomGridX::ChangeContraSize(Integer NewContraCols, Integer NewContraRows) {
  const Integer oldCols = FContraColCount, oldRows = FContraRowCount;
  FContraColCount = NewContraCols;
  FContraRowCount = NewContraRows;
  try {
    if (!FColWidths.empty()) UpdateExtents(FColWidths, FullColCount(), FDefaultColWidth);
    if (!FTabStops.empty()) UpdateExtents(FTabStops, FullColCount(), 1);
    if (!FRowHeights.empty()) UpdateExtents(FRowHeights, FullRowCount(), FDefaultRowHeight);
  } catch (const Exception&) {
    // The arrays could not follow: keep the counts they still match.
    FContraColCount = oldCols;
    FContraRowCount = oldRows;
  }
  Invalidate();
  RefreshScrollBars();
}

// ---- extents

Integer TCustomGridX::ColWidths(Integer Index) const {
  if (!FColWidths.empty() && Index >= 0 && Index < FullColCount()) return FColWidths[size_t(Index) + 1];
  return FDefaultColWidth;
}

// Stores one line's extent, creating the array on the first write; false when it is unchanged.
bool TCustomGridX::StoreLineExtent(bool Rows, Integer Index, Integer Value) {
  TIntegerArray& extents = Rows ? FRowHeights : FColWidths;
  const Integer full = Rows ? FullRowCount() : FullColCount();
  if (Index < 0 || Index >= full) RaiseGridError(SGridIndexOutOfRange);
  if (extents.empty()) UpdateExtents(extents, full, Rows ? FDefaultRowHeight : FDefaultColWidth);
  const Integer old = extents[size_t(Index) + 1];
  if (Value == old) return false;
  Invalidate();
  extents[size_t(Index) + 1] = Value;
  if (Rows ? IsSmoothVertScroll() : IsSmoothHorzScroll()) {
    const bool scrolling = Index >= (Rows ? FFixedRows : FFixedCols) && Index < (Rows ? FRowCount : FColCount);
    if (scrolling) (Rows ? FVertTotalExtent : FHorzTotalExtent) += Value - old;
    else CalcScrollExtent(Rows);
  }
  return true;
}

void TCustomGridX::SetColWidths(Integer Index, Integer Value) {
  if (StoreLineExtent(false, Index, Value)) ColWidthsChanged();
}

Integer TCustomGridX::RowHeights(Integer Index) const {
  if (!FRowHeights.empty() && Index >= 0 && Index < FullRowCount()) return FRowHeights[size_t(Index) + 1];
  return FDefaultRowHeight;
}

void TCustomGridX::SetRowHeights(Integer Index, Integer Value) {
  if (StoreLineExtent(true, Index, Value)) RowHeightsUpdated();
}

bool TCustomGridX::TabStops(Integer Index) const {
  if (!FTabStops.empty() && Index >= 0 && Index < FullColCount()) return FTabStops[size_t(Index) + 1] != 0;
  return true;
}

void TCustomGridX::SetTabStops(Integer Index, bool Value) {
  if (Index < 0 || Index >= FullColCount()) RaiseGridError(SGridIndexOutOfRange);
  if (FTabStops.empty()) UpdateExtents(FTabStops, FullColCount(), 1);
  FTabStops[size_t(Index) + 1] = Value ? 1 : 0;
}

void TCustomGridX::SetDefaultRowHeight(Integer Value) {
  FRowHeights.clear();
  FDefaultRowHeight = Value;
  CalcVertScrollExtent();
  RowHeightsUpdated();
  Invalidate();
}

void TCustomGridX::SetGridLineWidth(Integer Value) {
  if (Value == FGridLineWidth) return;
  FGridLineWidth = Value;
  CalcHorzScrollExtent();
  CalcVertScrollExtent();
  RefreshScrollBars();
  Invalidate();
}

// ---- current cell and view

void TCustomGridX::SetCol(Integer Value) {
  if (Value != FCurrent.X) ActivateCell(Value, FCurrent.Y, true);
}

void TCustomGridX::SetRow(Integer Value) {
  if (Value != FCurrent.Y) ActivateCell(FCurrent.X, Value, true);
}

void TCustomGridX::SetLeftCol(Integer Value) {
  if (Value != FTopLeft.X) MoveTopLeft(Value, FTopLeft.Y);
}

void TCustomGridX::SetTopRow(Integer Value) {
  if (Value != FTopLeft.Y) MoveTopLeft(FTopLeft.X, Value);
}

TGridRectX TCustomGridX::SelectedRange() const {
  return {std::min(FAnchor.X, FCurrent.X), std::min(FAnchor.Y, FCurrent.Y), std::max(FAnchor.X, FCurrent.X),
          std::max(FAnchor.Y, FCurrent.Y)};
}

Integer TCustomGridX::CellsRight() {
  TGridDrawInfoX di;
  FillDrawInfo(di);
  return di.Horz.DataEnd;
}

Integer TCustomGridX::CellsBottom() {
  TGridDrawInfoX di;
  FillDrawInfo(di);
  return di.Vert.DataEnd;
}

Integer TCustomGridX::FullyVisibleColCount() {
  TGridDrawInfoX di;
  FillDrawInfo(di);
  return di.Horz.LastFullCell - FTopLeft.X + 1;
}

Integer TCustomGridX::FullyVisibleRowCount() {
  TGridDrawInfoX di;
  FillDrawInfo(di);
  return di.Vert.LastFullCell - FTopLeft.Y + 1;
}

// ---- options and appearance

void TCustomGridX::SetGridOptions(TGridOptionsX Value) {
  if (Value == FGridOptions) return;
  if (Value.Contains(goRowSelect)) Value.Exclude(goAlwaysShowEditor);
  FGridOptions = Value;
  if (!FEditorMode) {
    if (Value.Contains(goAlwaysShowEditor)) EnterEditorMode();
    else LeaveEditorMode();
  }
  if (Value.Contains(goRowSelect)) {
    DoMoveToCell(FCurrent.X, FCurrent.Y, true, false, false);
    CalcHorzScrollExtent();
    CalcVertScrollExtent();
  }
  RefreshScrollBars();
  Invalidate();
}

void TCustomGridX::SetScrollBars(TScrollStyle Value) {
  if (Value == FScrollBars) return;
  FScrollBars = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomGridX::SetFixedColor(TColor Value) {
  if (Value == FFixedColor) return;
  FFixedColor = Value;
  Invalidate();
}

namespace {
bool IsFixedColorName(const String& Name) { return Name.compare(QStringLiteral("FixedColor"), Qt::CaseInsensitive) == 0; }
}  // namespace

bool TCustomGridX::ReadOrdProperty(const String& Name, Integer& Value) const {
  if (!IsFixedColorName(Name)) return false;
  Value = Integer(FFixedColor);
  return true;
}

bool TCustomGridX::WriteProperty(const String& Name, const String& Text) {
  if (!IsFixedColorName(Name)) return false;
  bool ok = false;
  const Integer value = Text.toInt(&ok);
  if (ok) SetFixedColor(TColor(value));
  return true;
}

void TCustomGridX::SetFlat(bool Value) {
  if (Value == FFlat) return;
  FFlat = Value;
  UpdateFlatLineColor();
  FlatChanged();
  Invalidate();
}

void TCustomGridX::UpdateFlatLineColor() { FFlatLineColor = FFlat ? clGray : 0; }

bool TCustomGridX::IsFocusOwner() const {
  if (TCustomForm* form = GetParentForm(this)) return form->ActiveControl() == this;
  for (TControl* c = FindControl(QApplication::focusWidget()); c; c = c->Parent())
    if (c == this) return true;
  return false;
}

// ---- base behaviour of the simple virtual operations

bool TCustomGridX::DrawsFocusRect() { return FDefaultCellDrawing && !Designing() && FPaintFocused; }

bool TCustomGridX::MayStartColumnMove(Integer&, Integer&, const TPoint&) { return true; }
bool TCustomGridX::MayStartRowMove(Integer&, Integer&, const TPoint&) { return true; }
bool TCustomGridX::EditorAcceptsKey(QChar) { return true; }
bool TCustomGridX::EditorMayModify() { return FCanEditModify; }

bool TCustomGridX::EditorMayShow() {
  return FGridOptions.Contains(goEditing) && !FGridOptions.Contains(goRowSelect) && FEditorMode && !Designing() &&
         HandleAllocated() && (FGridOptions.Contains(goAlwaysShowEditor) || IsFocusOwner());
}

bool TCustomGridX::GridAcceptsKey(Word, TShiftState) { return true; }
void TCustomGridX::GetEditorRect(Integer ACol, Integer ARow, TRect& R) { CellBounds(ACol, ARow, R); }

bool TCustomGridX::CanCellMouseClick(const TMessage& Message) {
  const TPoint p = LParamToPoint(Message.LParam);
  return FGridState == msIdle && p.X >= 0 && p.Y >= 0;
}

bool TCustomGridX::MayMoveColumnTo(Integer&, Integer&, const TPoint&) { return true; }
bool TCustomGridX::MayMoveRowTo(Integer&, Integer&, const TPoint&) { return true; }
std::unique_ptr<TGridLineColorsX> TCustomGridX::CreateGridLineColors() { return std::make_unique<TGridLineColorsX>(this); }

bool TCustomGridX::MayFinishColumnMove(Integer& Origin, Integer& Destination, const TPoint&) {
  if (Origin < Destination && !FMoveInsertAfter) --Destination;
  return true;
}

bool TCustomGridX::MayFinishRowMove(Integer&, Integer&, const TPoint&) { return true; }
Integer TCustomGridX::GetCellEditMaxLength() { return 0; }
String TCustomGridX::GetCellEditMask(Integer, Integer) { return {}; }
String TCustomGridX::GetCellEditText(Integer, Integer) { return {}; }
Integer TCustomGridX::GetHorzScrollStep() { return std::max(1, FHorzPageExtent / 20); }
Integer TCustomGridX::GetVertScrollStep() { return std::max(1, FVertPageExtent / 20); }
bool TCustomGridX::IsSmoothHorzScroll() { return FGridOptions.Contains(goRowSelect); }
bool TCustomGridX::IsSmoothVertScroll() { return false; }
bool TCustomGridX::CanHotTrackCell(Integer, Integer) { return false; }
bool TCustomGridX::MayMoveToCell(Integer, Integer) { return true; }

void TCustomGridX::CellMouseClick(const TGridCoord& Cell, TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (OnCellMouseClick) OnCellMouseClick(this, Cell, Button, Shift, X, Y);
  else DefaultCellMouseClick(Cell, Button, Shift, X, Y);
}

void TCustomGridX::DefaultCellMouseClick(const TGridCoord&, TMouseButton, TShiftState, Integer, Integer) {}

void TCustomGridX::GetCellLineParams(Integer, Integer, Byte LineKind, bool& Draw, TColor&, bool& Cross) {
  const bool vertical = LineKind == 1 || LineKind == 3;
  Draw = FGridOptions.Contains(vertical ? goVertLine : goHorzLine);
  Cross = FGridOptions.Contains(vertical ? goHorzLine : goVertLine);
}

void TCustomGridX::ColumnMoved(Integer, Integer) {}

void TCustomGridX::ColWidthsChanged() {
  RefreshScrollBars();
  SyncEditor();
}

void TCustomGridX::RowHeightsUpdated() {
  RefreshScrollBars();
  SyncEditor();
}

// The removed line is moved behind the last scrolling line, which the count change then
// drops; moving it behind the contra lines would drop a contra line's extent instead.
void TCustomGridX::RemoveColumn(Integer ACol) {
  RelocateColumn(ACol, FColCount - 1);
  SetColCount(FColCount - 1);
}

void TCustomGridX::RemoveRow(Integer ARow) {
  LockUpdate();
  TScopeGuard unlock([this] { UnlockUpdate(); });
  if (ARow == FCurrent.Y && ARow > 0) --FCurrent.Y;
  RelocateRow(ARow, FRowCount - 1);
  SetRowCount(FRowCount - 1);
}

void TCustomGridX::ActivateCell(Integer ACol, Integer ARow, bool MoveAnchor) {
  DoMoveToCell(ACol, ARow, MoveAnchor, true, true);
  SyncEditor();
  Click();
}

void TCustomGridX::OutBoundaryDataChanged() { Invalidate(); }
void TCustomGridX::RowRelocated(Integer, Integer) {}
void TCustomGridX::StoreCellEditText(Integer, Integer, const String&) {}
void TCustomGridX::CountsChanged(Integer, Integer) {}

void TCustomGridX::EnterEditorMode() {
  FEditorMode = true;
  SyncEditor();
}

void TCustomGridX::LeaveEditorMode() {
  FEditorMode = false;
  HideInplaceEditor();
}

void TCustomGridX::DoExit() {
  TCustomControl::DoExit();
  if (!FGridOptions.Contains(goAlwaysShowEditor)) LeaveEditorMode();
}
