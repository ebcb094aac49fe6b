// The mouse over the data-aware grid: presses move the current record and column and select
// rows, cell rectangles or columns; title buttons are pressed and step the sort markers; a
// title dragged further than a few pixels turns into a column move; column sizing can be
// traced live; cells with check boxes step on release.
#include "dbgrid/DBGridX.h"
#include "dbgrid/DBGridXCenter.h"
#include "dbgrid/DBGridXGlobals.h"
#include "dbgrid/DBGridXSteppedCell.h"
#include "platform/rtl/ScopeGuards.h"
#include "platform/ui/Forms.h"
#include <QApplication>
#include <algorithm>

namespace {
// A press turns into a column move once the pointer leaves this many pixels around it.
constexpr Integer ColumnMoveThreshold = 3;
// The band at the bottom of a title cell that selects its column.
constexpr Integer ColumnSelectBand = 7;
constexpr Integer ColumnSelectInterval = 60;

class TUpdatesHeld {
public:
  explicit TUpdatesHeld(TCustomDBGridX* Grid) : FGrid(Grid) { FGrid->LockUpdates(); }
  ~TUpdatesHeld() noexcept(false) {
    auto unlock = [this] { FGrid->UnlockUpdates(); };
    ScopeGuards::RunAtScopeEnd(unlock, FUncaught);
  }
private:
  TCustomDBGridX* FGrid;
  int FUncaught = std::uncaught_exceptions();
};
}  // namespace

// ---- small queries

bool TCustomDBGridX::OnLeafCaption(TColumnX* Column, const TRect& CellRect, Integer Y) const {
  if (!MultiTitleActive()) return true;
  THeadTreeNode* leaf = LeafOf(Column);
  return !leaf || Y >= CellRect.Bottom - leaf->BandHeight;
}

bool TCustomDBGridX::CellOfCurrentRecordSelected(Integer DataCol) const {
  if (!FDataLink->Active()) return false;
  if (FSelection->SelectionKind() == gstRecordBookmarks) return FBookmarks->IsCurrentRowSelected();
  return FSelection->CellInSelection(DataCol, DataSet()->Bookmark());
}

bool TCustomDBGridX::InColumnSelectZone(Integer X, Integer Y) {
  if (!FOptions.Contains(dgTitles) || FOptions.Contains(dgRowSelect) || !SelectionKindAllowed(gstColumns) ||
      FRowPanel->Active())
    return false;
  const TGridCoord cell = CellAtPoint(X, Y);
  if (cell.Y != 0 || cell.X < FIndicatorColCount || cell.X >= ColCount() || IsOverSizingLine(X, Y)) return false;
  TColumnX* column = FColumns->Items(GridColToColumnIndex(cell.X));
  if (column->Title()->TitleButton()) return false;
  const TRect r = CellRect(cell.X, cell.Y);
  return r.Height() < ColumnSelectBand || Y >= r.Bottom - ColumnSelectBand;
}

// The pointer shows what a press would select: rows over the indicator, a column over the
// bottom band of its title.
void TCustomDBGridX::WMSetCursor(TMessage& Message) {
  if (TWMSetCursor{Message}.HitTest() == HTCLIENT && GridState() == msIdle && !Designing()) {
    TCursor shape = crDefault;
    if (FGridMouseState == gmsColumnSelecting) {
      shape = crDownCursorX;
    } else if (FGridMouseState == gmsNone) {
      const TPoint p = ScreenToClient(GetCursorPos());
      const TGridCoord cell = CellAtPoint(p.X, p.Y);
      const bool rowZone = FOptions.Contains(dgMultiSelect) && FDataLink->Active() && !IsOverSizingLine(p.X, p.Y) &&
                           cell.X >= 0 && cell.X < FIndicatorColCount && cell.Y >= TopDataRowOffset() &&
                           cell.Y < RowCount() && !DataSet()->IsEmpty() && SelectionKindAllowed(gstRecordBookmarks);
      if (rowZone) shape = UseRightToLeftReading() ? crLeftCursorX : crRightCursorX;
      else if (InColumnSelectZone(p.X, p.Y)) shape = crDownCursorX;
    }
    if (shape != crDefault) {
      SetCursorShape(shape);
      Message.Result = 1;
      return;
    }
  }
  TCustomGridX::WMSetCursor(Message);
}

// ---- press

// A press, step by step: each step either takes the press whole or leaves it to the next.
void TCustomDBGridX::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (FilterRowMouseDown(Button, Shift, X, Y)) return;
  BeginPress(Button, X, Y);
  if (!TakeFocus()) {
    SetMouseCapture(false);
    return;
  }
  if (HandleGroupPanelMouseDown(Button, Shift, X, Y) || GroupRowMouseDown(Button, Shift, X, Y)) return;
  const TPressedCellX press = ClassifyPress(X, Y);
  if (Button == mbLeft && Shift.Contains(ssDouble)) return PressTwice(Button, Shift, X, Y, press);
  if (IsOverSizingLine(X, Y)) return PressSizingLine(Button, Shift, X, Y);
  if (!press.InCells) return TCustomControl::MouseDown(Button, Shift, X, Y);
  if (PressRowPanel(Button, Shift, X, Y, press)) return;
  if (Button == mbLeft && InColumnSelectZone(X, Y)) return PressColumnSelectZone(Shift, press);
  TMouseButton button = Button;
  if (PressTitleButton(button, Shift, X, Y, press)) return;
  switch (press.Type.RowKind) {
    case carTitle:
    case carFilter: return PressHeaderRow(button, Shift, X, Y, press);
    case carData: return PressDataRow(Button, Shift, press);
    default: return TCustomControl::MouseDown(Button, Shift, X, Y);
  }
}

void TCustomDBGridX::BeginPress(TMouseButton Button, Integer X, Integer Y) {
  if (Button == mbRight) SetMouseCapture(true);
  FPressedTitleDataCol = -1;
  FClickedCell = {-1, -1};
  FTitleDragMoved = false;
  FMouseDownPoint = {X, Y};
  FMovePoint = FMouseDownPoint;
}

TCustomDBGridX::TPressedCellX TCustomDBGridX::ClassifyPress(Integer X, Integer Y) {
  TPressedCellX press;
  press.Cell = CellAtPoint(X, Y);
  press.InCells = press.Cell.X >= 0 && press.Cell.Y >= 0 && press.Cell.Y < FullRowCount();
  if (!press.InCells) return press;
  press.Type = GetCellType(press.Cell.X, press.Cell.Y, press.DataCol, press.DataRow);
  press.DataColumn = press.Type.ColKind == cacData && press.DataCol < FColumns->Count();
  press.Rect = CellRect(press.Cell.X, press.Cell.Y);
  return press;
}

// A double click sizes a column to its contents on a border, steps a check-box or image cell
// that steps on double clicks, and is the control's double click otherwise.
void TCustomDBGridX::PressTwice(TMouseButton Button, TShiftState Shift, Integer X, Integer Y,
                                const TPressedCellX& Press) {
  bool optimized = false;
  if (FRowPanel->Active() && IsOverSizingLine(X, Y)) {
    // A double click on a panel cell's right edge widens it up to the next edge on its lines.
    TGridDrawInfoX di;
    FillDrawInfo(di);
    TGridMouseStateX state;
    Integer index = -1, pos = 0, ofs = 0;
    HitTestSizing(X, Y, di, state, index, pos, ofs);
    if (state == msColSizing && FPanelSizingHit) StretchToNextEdge(index);
  } else if (IsOverSizingLine(X, Y)) {
    if (FOptionsX.Contains(dghDblClickOptimizeColWidth)) {
      TGridDrawInfoX di;
      FillDrawInfo(di);
      TGridMouseStateX state;
      Integer index = -1, pos = 0, ofs = 0;
      HitTestSizing(X, Y, di, state, index, pos, ofs);
      const Integer index0 = GridColToColumnIndex(index);
      if (state == msColSizing && index0 >= 0 && index0 < FColumns->Count()) {
        OptimizeColumnWidth(FColumns->Items(index0));
        optimized = true;
      }
    }
  } else if (Press.DataColumn && Press.Type.RowKind == carData && FDataLink->Active()) {
    TColumnX* column = FColumns->Items(Press.DataCol);
    if (SteppedCell(column) && column->DblClickNextVal() && column->CanEditValue(true))
      column->StepValue(Shift.Contains(ssShift) ? -1 : 1);
  }
  if (!optimized) DblClick();
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

// A press on a sizing border: the editor's value is written first; traced sizing starts here.
void TCustomDBGridX::PressSizingLine(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  FDataLink->UpdateRecord();
  TCustomGridX::MouseDown(Button, Shift, X, Y);
  FPanelSizing = FRowPanel->Active() && FPanelSizingHit && GridState() != msIdle;
  if (FOptionsX.Contains(dghTraceColSizing) && !FRowPanel->Active() && Button == mbLeft &&
      GridState() == msColSizing) {
    FTraceStartWidth = ColWidths(SizingIndex());
    FTraceStartX = RightToLeft() ? GridClientWidth() - X : X;
  }
}

bool TCustomDBGridX::PressRowPanel(TMouseButton Button, TShiftState Shift, Integer X, Integer Y,
                                   const TPressedCellX& Press) {
  if (!FRowPanel->Active() || !Press.DataColumn) return false;
  if (Press.Type.RowKind == carTitle) {
    PanelTitlePress(Button, Shift, Press.Cell, X, Y);
    return true;
  }
  if (Press.Type.RowKind != carData || !FDataLink->Active()) return false;
  if (Button == mbLeft && HandleTreeButtonClick(X, Y, false)) return true;
  PanelCellPress(Button, Shift, Press.Cell, Press.DataRow, X, Y);
  return true;
}

void TCustomDBGridX::PressColumnSelectZone(TShiftState Shift, const TPressedCellX& Press) {
  TColumnX* column = FColumns->Items(Press.DataCol);
  InvalidateColumnArea(Press.Cell.X);
  FGridMouseState = gmsColumnSelecting;
  FMouseTracking = true;
  StartAutoScroll(ColumnSelectInterval);
  if (Shift.Contains(ssShift)) FSelection->Columns()->ExtendToColumn(column);
  else if (Shift.Contains(ssCtrl)) FSelection->Columns()->ToggleColumn(column);
  else {
    Invalidate();
    FSelection->Columns()->SelectColumn(column, false);
  }
}

// A press on a title's leaf caption: its filter button, a right press that moves the column,
// or a left press on an enabled title button, which is held until the release. Button turns
// left for a right-button column move.
bool TCustomDBGridX::PressTitleButton(TMouseButton& Button, TShiftState, Integer X, Integer Y,
                                      const TPressedCellX& Press) {
  if (Press.Type.RowKind != carTitle || !Press.DataColumn || Designing() ||
      !OnLeafCaption(FColumns->Items(Press.DataCol), Press.Rect, Y))
    return false;
  if (TitleFilterButtonMouseDown(Press.Cell, X, Y)) return true;
  if (FOptionsX.Contains(dghColumnMove) && Button == mbRight) {
    Button = mbLeft;
    FRightButtonColumnMove = true;
  }
  if (Button != mbLeft) return false;
  bool enabled = FColumns->Items(Press.DataCol)->Title()->TitleButton();
  QueryCheckButton(Press.DataCol, enabled);
  if (!enabled) return false;
  if (MouseCapture()) {
    FMouseTracking = true;
    FPressedTitleCol = Press.Cell.X;
    FPressedTitleDataCol = Press.DataCol;
    UpdateTitlePress(X, Y);
  }
  return true;
}

// The header rows: the indicator title reacts to its press; the base grid sizes and moves.
void TCustomDBGridX::PressHeaderRow(TMouseButton Button, TShiftState Shift, Integer X, Integer Y,
                                    const TPressedCellX& Press) {
  if (Press.Type.ColKind == cacIndicator && Press.Cell.Y == 0) {
    const TPoint inCell(X - Press.Rect.Left, Y - Press.Rect.Top);
    if (FCenter) FCenter->IndicatorTitleMouseDown(this, Press.Cell, Button, Shift, inCell.X, inCell.Y);
    else IndicatorTitleMouseDown(Press.Cell, Button, Shift, inCell.X, inCell.Y);
    ReloadEditor();
  }
  FDataLink->UpdateRecord();
  TCustomGridX::MouseDown(Button, Shift, X, Y);
}

void TCustomDBGridX::PressDataRow(TMouseButton Button, TShiftState Shift, const TPressedCellX& Press) {
  if (!FDataLink->Active()) return TCustomControl::MouseDown(Button, Shift, FMouseDownPoint.X, FMouseDownPoint.Y);
  if (Button == mbLeft && HandleTreeButtonClick(FMouseDownPoint.X, FMouseDownPoint.Y, false)) return;
  PressDataCell(Button, Shift, Press.Cell, Press.DataColumn ? Press.DataCol : -1, Press.DataRow);
}

void TCustomDBGridX::PressDataCell(TMouseButton Button, TShiftState Shift, TGridCoord Cell, Integer DataCol,
                                   Integer DataRow) {
  const bool inIndicator = DataCol < 0;
  const bool left = Button == mbLeft;
  const bool shift = Shift.Contains(ssShift), ctrl = Shift.Contains(ssCtrl);
  const bool multiSelect = FOptions.Contains(dgMultiSelect);
  const bool rowSelect = FOptions.Contains(dgRowSelect);
  if (left && MouseCapture() && StartRecordDrag(FMouseDownPoint.X, FMouseDownPoint.Y, Shift, false)) {
    FGridMouseState = gmsRecordDrag;
    FMouseTracking = true;
    return;
  }
  {
    TUpdatesHeld held(this);
    FDataLink->UpdateRecord();
    if (!FOptions.Contains(dgAlwaysShowEditor)) SetEditorMode(false);
    const TGridCoord oldCurrent = Current();
    const TBookmarkStr oldBookmark = DataSet()->Bookmark();
    const Integer distance = DataRow - ActiveDataRow();
    const bool extendRows = shift && multiSelect && (rowSelect || inIndicator);
    const bool detailPress =
        !inIndicator && FRowDetailPanel->Active() && DetailButtonAtPoint(FMouseDownPoint.X, FMouseDownPoint.Y);
    if (!extendRows) {
      FInMouseMove = true;
      TScopeGuard moved([this] { FInMouseMove = false; });
      FDataLink->MoveBy(distance);
    }
    if (detailPress) {
      FRowDetailPanel->SetShown(!FRowDetailPanel->Shown());
      return;
    }
    if (!inIndicator) MoveCol(DataCol, 0, false);
    const bool onOldCurrent = Cell == oldCurrent;
    if (!MouseCapture()) return;
    if (FDragModeOverride && left && !shift && !inIndicator && CellOfCurrentRecordSelected(DataCol)) {
      FSelectionDragPending = true;
      return;
    }
    if (!(multiSelect && rowSelect) && !inIndicator) {
      FMouseTracking = true;
      FCellDragSelecting = true;
      if (!ctrl && !shift && FOptionsX.Contains(dghClearSelection) &&
          (left || !CellOfCurrentRecordSelected(DataCol)))
        ClearSelection();
      if (left && SelectionKindAllowed(gstRectangle) && !(DataSet()->Bof() && DataSet()->Eof())) {
        TDBGridXSelectionRect* rect = FSelection->Rect();
        if (shift) {
          if (FSelection->SelectionKind() != gstRectangle)
            rect->SelectCell(GridColToColumnIndex(oldCurrent.X), oldBookmark, false);
          rect->SelectCell(DataCol, DataSet()->Bookmark(), true);
        } else {
          rect->SelectCell(DataCol, DataSet()->Bookmark(), false);
        }
        FGridMouseState = gmsRectSelecting;
      }
    }
    const bool rowKind = rowSelect || inIndicator || !SelectionKindAllowed(gstRectangle);
    if (SelectionKindAllowed(gstRecordBookmarks) && rowKind) {
      FSelectingRows = false;
      FToggleExtension = ctrl || !FOptionsX.Contains(dghClearSelection);
      if (extendRows && distance != 0) {
        SelectionMoveBy(true, distance, true, false);
      } else if (left && (ctrl || !FOptionsX.Contains(dghClearSelection))) {
        FBookmarks->MarkCurrentRow(!FBookmarks->IsCurrentRowSelected());
      } else if (left) {
        ClearSelection();
        FBookmarks->MarkCurrentRow(true);
      }
      if (MouseCapture()) {
        FRowDragSelecting = true;
        FMouseTracking = true;
        FSelectingRows = true;
        FAnchorWasSelected = !FBookmarks->IsCurrentRowSelected();
        FSelectionAnchor = DataSet()->Bookmark();
        FToggleExtension = ctrl || !FOptionsX.Contains(dghClearSelection);
        FGridMouseState = gmsRowSelecting;
      }
    }
    if (Button == mbRight || inIndicator) {
      ReloadEditor();
    } else if (TColumnX* column = FColumns->Items(DataCol); left && !SteppedCell(column)) {
      const bool onButtons = InCellButtonsStrip(column, CellRect(Cell.X, Cell.Y), FMouseDownPoint.X);
      if (FOptions.Contains(dgEditing) && (FOptions.Contains(dgAlwaysShowEditor) || onOldCurrent || onButtons))
        SetEditorMode(true);
      if (onButtons && EditorMode()) ForwardPressToEditor(FMouseDownPoint);
    }
    if (!inIndicator && SteppedCell(FColumns->Items(DataCol))) FClickedCell = Cell;
  }
  TCustomControl::MouseDown(Button, Shift, FMouseDownPoint.X, FMouseDownPoint.Y);
}

// ---- move

void TCustomDBGridX::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  FLastMovePoint = FMovePoint;
  FMovePoint = {X, Y};
  FMoveShift = Shift;
  FollowHintCell(X, Y);
  if (GroupPanelMouseMove(X, Y)) return;
  if (FSelectionDragPending) {
    // The pointer left the press on the selection: the selection is dragged.
    FSelectionDragPending = false;
    BeginDrag(true);
    return;
  }
  if (PanelTitleDragMove(Shift, X, Y)) {
    TCustomControl::MouseMove(Shift, X, Y);
    return;
  }
  if (FMouseTracking && FPressedTitleCol != -1) {
    UpdateTitlePress(X, Y);
    const bool farEnough = std::abs(X - FMouseDownPoint.X) > ColumnMoveThreshold ||
                           std::abs(Y - FMouseDownPoint.Y) > ColumnMoveThreshold;
    if (FGridMouseState != gmsIndicatorTitlePressed && farEnough && FOptionsX.Contains(dghColumnMove)) {
      EndMouseTracking();
      SetMouseCapture(true);
      FTitleDragMoved = true;
      TCustomGridX::MouseDown(mbLeft, Shift - TShiftState{ssDouble}, FMouseDownPoint.X, FMouseDownPoint.Y);
    }
  } else if (FGridMouseState == gmsRecordDrag) {
    TrackRecordDrag(X, Y);
  } else if (FRowDragSelecting || FCellDragSelecting || FGridMouseState == gmsRectSelecting) {
    DragSelectTo(Shift, X, Y);
  } else if (FGridMouseState == gmsColumnSelecting) {
    const TRect box = DataBoxRect();
    const TGridCoord cell = CellAtPoint(X, Y);
    if (X >= box.Left && X < box.Right && cell.X >= FIndicatorColCount && cell.X < ColCount())
      FSelection->Columns()->ExtendToColumn(FColumns->Items(GridColToColumnIndex(cell.X)));
    else
      AutoScrollTick();
  } else if (FOptionsX.Contains(dghTraceColSizing) && GridState() == msColSizing && !FRowPanel->Active()) {
    TraceColumnSizing(X);
    return;
  }
  TCustomGridX::MouseMove(Shift, X, Y);
}

void TCustomDBGridX::DragSelectTo(TShiftState Shift, Integer X, Integer Y) {
  const Integer right = std::max(0, CellsRight() - 1), bottom = std::max(0, CellsBottom() - 1);
  TPoint p{std::clamp(X, 0, right), std::clamp(Y, 0, bottom)};
  if (RightToLeft()) p.X = std::clamp(X, GridClientWidth() - 1 - right, GridClientWidth() - 1);
  const bool moved = !(p == FLastMovePoint);
  const TRect box = DataBoxRect();
  const TGridCoord cell = CellAtPoint(p.X, p.Y);
  if (p.Y >= box.Top && p.Y < box.Bottom && cell.Y >= TopDataRowOffset()) {
    const Integer row = cell.Y - TopDataRowOffset();
    if (row < FDataLink->RecordCount() && row != FDataLink->ActiveRecord())
      SelectionMoveBy(moved && Shift.Contains(ssLeft), row - FDataLink->ActiveRecord(),
                      FGridMouseState != gmsRectSelecting, false);
  }
  if (FCellDragSelecting && p.X >= box.Left && p.X < box.Right && cell.X >= FIndicatorColCount &&
      cell.X < ColCount()) {
    const Integer dataCol = GridColToColumnIndex(cell.X);
    if (dataCol != SelectedIndex()) {
      MoveCol(dataCol, 0, false);
      if (FGridMouseState == gmsRectSelecting && moved && FDataLink->Active())
        FSelection->Rect()->SelectCell(SelectedIndex(), DataSet()->Bookmark(), true);
    }
  }
  FMouseDownPoint = p;
  AutoScrollTick();
}

// The column follows the pointer: its far edge goes where the pointer is.
void TCustomDBGridX::TraceColumnSizing(Integer X) {
  const Integer x = RightToLeft() ? GridClientWidth() - X : X;
  const Integer index = SizingIndex();
  if (index < 0 || index >= FullColCount()) return;
  const bool contra = index >= ColCount();
  const Integer delta = contra ? FTraceStartX - x : x - FTraceStartX;
  const Integer width = std::max(1, FTraceStartWidth + delta);
  if (FAutoFitColWidths && !Designing()) {
    const Integer columnsRight = FullColCount() - index - 1;
    if (CellRect(index, 0).Left + width > GridClientWidth() - columnsRight * GridLineWidth()) return;
  }
  if (width != ColWidths(index)) SetColWidths(index, width);
}

// Each cell has a hint of its own (a title hint, a tool-tip): moving onto another cell
// starts the hint pause again.
void TCustomDBGridX::FollowHintCell(Integer X, Integer Y) {
  const TGridCoord cell = CellAtPoint(X, Y);
  if (cell == FHintCell) return;
  FHintCell = cell;
  if (Application && Application->HintControl() == this && !MouseCapture()) {
    Application->CancelHint();
    Application->HintMouseEnter(this);
  }
}

// ---- release

void TCustomDBGridX::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (PanelMouseUp(Button, Shift, X, Y) || GroupPanelMouseUp(X, Y)) return;
  if (GridState() == msRowSizing) FRowSized = true;
  const TGridCoord cell = CellAtPoint(X, Y);
  if (FSelectionDragPending) {
    FSelectionDragPending = false;
    if (Shift.Contains(ssCtrl) && FOptions.Contains(dgRowSelect))
      FBookmarks->MarkCurrentRow(!FBookmarks->IsCurrentRowSelected());
    else
      ClearSelectionIfOption();
  } else if (FOptionsX.Contains(dghTraceColSizing) && GridState() == msColSizing) {
    TCustomGridX::StopMouseTracking();
    return;
  }
  const Byte oldState = FGridMouseState;
  if (oldState == gmsRecordDrag) FinishRecordDrag(X, Y, true);
  FGridMouseState = gmsNone;
  const TGridMouseStateX baseState = GridState();
  FSelectingRows = false;
  TMouseButton button = Button;
  if (FMouseTracking && FPressedTitleCol >= 0) {
    ReleaseTitleButton(Shift, cell, TPoint{X, Y});
  } else if (FRightButtonColumnMove) {
    FRightButtonColumnMove = false;
    SetMouseCapture(false);
    button = mbLeft;
  }
  EndMouseTracking();
  if (oldState != gmsNone) StopAutoScroll();

  // A release that ends a column move is no click on the title the column was dragged by.
  const bool endsColumnMove = FTitleDragMoved || (baseState == msColMoving && MoveIndex() != MovePos());
  FTitleDragMoved = false;
  TCustomGridX::MouseUp(button, Shift, X, Y);
  if (FDragGroupLevel >= 0) FinishGroupLevelColumnMove(Y);
  if (baseState == msColSizing || baseState == msRowSizing) return;
  if (EditorVisible() && PtInRect(InplaceEditor()->BoundsRect(), TPoint{X, Y})) return;
  if (cell.X < 0 || cell.Y < 0 || cell.Y >= FullRowCount()) return;
  Integer dataCol = -1, dataRow = -1;
  const TCellTypeX type = GetCellType(cell.X, cell.Y, dataCol, dataRow);
  if (type.ColKind != cacData || dataCol >= FColumns->Count()) return;
  TColumnX* column = FColumns->Items(dataCol);
  if (button == mbLeft) {
    if (type.RowKind == carTitle || type.RowKind == carFilter) {
      if (!endsColumnMove) FireTitleClick(column);
    } else if (type.RowKind == carData) {
      FireCellClick(column);
    }
  }
  if (type.RowKind == carData && cell == FClickedCell && SteppedCell(column) && !column->DblClickNextVal() &&
      !Shift.Contains(ssDouble) && FDataLink->Active() && column->CanEditValue(true))
    column->StepValue(Shift.Contains(ssShift) ? -1 : 1);
  FClickedCell = {-1, -1};
}

void TCustomDBGridX::ReleaseTitleButton(TShiftState Shift, TGridCoord Cell, TPoint P) {
  const Integer pressedCol = FPressedTitleCol;
  bool inside = PtInRect(ClientRect(), P) && Cell.Y == 0 && Cell.X == pressedCol;
  const Integer dataCol = GridColToColumnIndex(pressedCol);
  if (inside && dataCol >= 0 && dataCol < FColumns->Count())
    inside = OnLeafCaption(FColumns->Items(dataCol), CellRect(Cell.X, Cell.Y), P.Y);
  EndMouseTracking();
  if (inside) ClickTitleButton(dataCol, Shift);
}

void TCustomDBGridX::ClickTitleButton(Integer DataCol, TShiftState Shift) {
  if (DataCol < 0 || DataCol >= FColumns->Count()) return;
  TColumnX* column = FColumns->Items(DataCol);
  FireTitleBtnClick(DataCol, column);
  const bool ctrl = Shift.Contains(ssCtrl);
  FCtrlSortPending = ctrl;
  if (FOptionsX.Contains(dghAutoSortMarking)) {
    column->Title()->StepSortMarker(ctrl);
    if (!ctrl) FireSortMarkingChanged();
  }
}

// ---- tracking state

void TCustomDBGridX::UpdateTitlePress(Integer X, Integer Y) {
  bool pressed = false;
  if (FPressedTitleCol >= 0 && PtInRect(ClientRect(), TPoint{X, Y})) {
    const TGridCoord cell = CellAtPoint(X, Y);
    pressed = cell.Y == 0 && cell.X == FPressedTitleCol;
    if (pressed && FRowPanel->Active()) {
      TColumnX* column = PanelColumnUnder(cell, X, Y, true);
      pressed = column && column->Index() == FPressedTitleDataCol;
    }
    const Integer dataCol = GridColToColumnIndex(FPressedTitleCol);
    if (pressed && dataCol >= 0 && dataCol < FColumns->Count())
      pressed = OnLeafCaption(FColumns->Items(dataCol), CellRect(cell.X, cell.Y), Y);
  }
  if (pressed == FTitlePressedShown) return;
  FTitlePressedShown = pressed;
  InvalidateRowArea(0);
}

void TCustomDBGridX::EndMouseTracking() {
  if (!FMouseTracking) return;
  if (RecordDragging()) FinishRecordDrag(FMovePoint.X, FMovePoint.Y, false);
  StopAutoScroll();
  FRowDragSelecting = false;
  UpdateTitlePress(-1, -1);
  FMouseTracking = false;
  SetMouseCapture(false);
  FPressedTitleCol = -1;
  FPressedTitleDataCol = -1;
  FCellDragSelecting = false;
  FGridMouseState = gmsNone;
  FIndicatorTitlePressed = false;
}

void TCustomDBGridX::StopMouseTracking() {
  FinishTitleDrag(TShiftState(), FMovePoint.X, false, FMovePoint.Y);
  FPanelSizing = false;
  FDragGroupLevel = -1;
  TCustomGridX::StopMouseTracking();
  EndMouseTracking();
  EndGroupPanelDrag();
  if (FGridMouseState != gmsNone) StopAutoScroll();
  FGridMouseState = gmsNone;
  FSelectionDragPending = false;
}

void TCustomDBGridX::XorSizingLine(const TGridDrawInfoX& DrawInfo) {
  if (FOptionsX.Contains(dghTraceColSizing) && GridState() == msColSizing) return;
  TCustomGridX::XorSizingLine(DrawInfo);
}

// ---- events

void TCustomDBGridX::FireTitleClick(TColumnX* Column) {
  if (OnTitleClick) OnTitleClick(Column);
}

void TCustomDBGridX::FireTitleBtnClick(Integer ACol, TColumnX* Column) {
  if (OnTitleBtnClick) OnTitleBtnClick(this, ACol, Column);
}

void TCustomDBGridX::FireCellClick(TColumnX* Column) {
  if (OnCellClick) OnCellClick(Column);
}

void TCustomDBGridX::QueryCheckButton(Integer ACol, bool& Enabled) {
  if (ACol < 0 || ACol >= FColumns->Count()) {
    Enabled = false;
    return;
  }
  if (OnCheckButton) OnCheckButton(this, ACol, FColumns->Items(ACol), Enabled);
}

void TCustomDBGridX::FireSortMarkingChanged() {
  if (!FOptionsX.Contains(dghAutoSortMarking)) return;
  if (OnSortMarkingChanged) OnSortMarkingChanged(this);
  else DBGridXCenter().DefaultApplySorting(this);
}

// Releasing Ctrl after Ctrl+clicks on titles applies the sorting once.
void TCustomDBGridX::KeyUp(Word& Key, TShiftState Shift) {
  TCustomGridX::KeyUp(Key, Shift);
  if (Key == VK_CONTROL && FCtrlSortPending) {
    FCtrlSortPending = false;
    FireSortMarkingChanged();
  }
}

void TCustomDBGridX::WMKillFocus(TMessage& Message) {
  const bool focusToEditor = InplaceEditor() && FindControl(QApplication::focusWidget()) == InplaceEditor();
  if (FCtrlSortPending && !focusToEditor) {
    FCtrlSortPending = false;
    FireSortMarkingChanged();
  }
  FilterListFocusLost();
  TCustomGridX::WMKillFocus(Message);
  FollowFocusChange();
}

// A click on a cell that has no OnCellMouseClick goes to the centre.
void TCustomDBGridX::DefaultCellMouseClick(const TGridCoord& Cell, TMouseButton Button, TShiftState Shift, Integer X,
                                           Integer Y) {
  if (FCenter) FCenter->CellMouseClick(this, Cell, Button, Shift, X, Y);
}
