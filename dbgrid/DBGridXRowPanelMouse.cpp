// The mouse inside the row panel: presses on a panel cell make its column current, presses on
// a panel title press its button or open its filter list, titles dragged further than a few
// pixels move their column to another place on the panel's lines, and the panel cells'
// borders size their columns' widths and line counts.
#include "dbgrid/DBGridX.h"
#include "dbgrid/DBGridXSteppedCell.h"
#include <algorithm>
#include <cmath>

namespace {
// A press turns into a title drag once the pointer leaves this many pixels around it.
constexpr Integer TitleDragThreshold = 3;
// The pixels around a panel cell's right or bottom edge that size it.
constexpr Integer SizingZone = 3;
// A sized width snaps to another column's right edge this close to it.
constexpr Integer SnapDistance = 3;
constexpr Integer TitleDragScrollInterval = 60;
}  // namespace

// ---- geometry

TRect TCustomDBGridX::PanelColumnRect(Integer ACol, Integer ARow, Integer Index) {
  if (Index < 0 || Index >= Integer(FRowPanelRects.size())) return TRect();
  const TRect cell = CellRect(ACol, ARow);
  const Integer left = cell.Left - LeftColOffset(), top = cell.Top;
  Integer dataCol = 0, dataRow = 0;
  const bool data = GetCellType(ACol, ARow, dataCol, dataRow).RowKind == carData;
  const TRowPanelRectX& r = FRowPanelRects[size_t(Index)];
  const Integer x = left + (data ? r.IndentedLeft : r.Left);
  return TRect(x, top + r.Top, x + r.Width, top + r.Top + r.Height);
}

TColumnX* TCustomDBGridX::PanelColumnUnder(TGridCoord Cell, Integer X, Integer Y, bool Plain) {
  const TRect cell = CellRect(Cell.X, Cell.Y);
  return PanelColumnAtPoint(TPoint(X - cell.Left + LeftColOffset(), Y - cell.Top), Plain);
}

void TCustomDBGridX::StretchToNextEdge(Integer Col) {
  if (Col < 0 || Col >= FColumns->Count() || Col >= Integer(FRowPanelRects.size())) return;
  TColumnX* column = FColumns->Items(Col);
  const Integer line = FOptions.Contains(dgColLines) ? GridLineWidth() : 0;
  const TRowPanelRectX& own = FRowPanelRects[size_t(Col)];
  const Integer edge = own.Left + own.Width + line;
  const Integer first = column->InRowLinePos(), last = first + column->InRowLineHeight() - 1;
  Integer nearest = FRowPanelWidth;
  for (Integer i = 0; i < FColumns->Count() && i < Integer(FRowPanelRects.size()); ++i) {
    TColumnX* other = FColumns->Items(i);
    if (i == Col || !other->Visible()) continue;
    const Integer otherFirst = other->InRowLinePos(), otherLast = otherFirst + other->InRowLineHeight() - 1;
    if (otherLast < first || otherFirst > last) continue;
    const Integer right = FRowPanelRects[size_t(i)].Left + FRowPanelRects[size_t(i)].Width;
    if (right >= edge && right < nearest) nearest = right;
  }
  if (nearest <= edge - line) return;
  const Integer width = nearest - own.Left + (nearest == FRowPanelWidth ? 1 : 0);
  if (width > column->Width()) column->SetWidth(width);
}

// ---- sizing

void TCustomDBGridX::HitTestSizing(Integer X, Integer Y, const TGridDrawInfoX& DrawInfo, TGridMouseStateX& State,
                                   Integer& Index, Integer& SizingPos, Integer& SizingOfs) {
  FPanelSizingHit = false;
  if (!FRowPanel->Active()) {
    TCustomGridX::HitTestSizing(X, Y, DrawInfo, State, Index, SizingPos, SizingOfs);
    return;
  }
  State = msIdle;
  Index = -1;
  // The row under the point at the panel's left edge: a point on the panel's right edge lies
  // on the grid line after its cell.
  const Integer panelCol = ColumnIndexToGridCol(0);
  const TGridCoord cell{panelCol, CellAtPoint(CellRect(panelCol, 0).Left, Y).Y};
  Integer dataCol = -1, dataRow = -1;
  const bool inPanel = panelCol < ColCount() && cell.Y >= 0 && cell.Y < RowCount();
  const TCellAreaRowX kind = inPanel ? GetCellType(cell.X, cell.Y, dataCol, dataRow).RowKind : carFooter;
  if (kind == carTitle || kind == carData) {
    const TGridOptionsX options = EffectiveSizingOptions();
    const bool colSizing = options.Contains(goColSizing);
    const bool rowSizing = options.Contains(goRowSizing);
    for (Integer i = 0; i < FColumns->Count() && i < Integer(FRowPanelRects.size()); ++i) {
      if (!FColumns->Items(i)->Visible()) continue;
      const TRect r = PanelColumnRect(cell.X, cell.Y, i);
      if (colSizing && std::abs(X - r.Right) <= SizingZone && Y >= r.Top && Y <= r.Bottom) {
        State = msColSizing;
        SizingPos = r.Right;
        SizingOfs = r.Right - X;
      } else if (rowSizing && std::abs(Y - r.Bottom) <= SizingZone && X >= r.Left && X <= r.Right) {
        State = msRowSizing;
        SizingPos = r.Bottom;
        SizingOfs = r.Bottom - Y;
      } else {
        continue;
      }
      Index = i;
      FPanelSizingHit = true;
      return;
    }
  }
  TCustomGridX::HitTestSizing(X, Y, DrawInfo, State, Index, SizingPos, SizingOfs);
  // The grid's own lines do not size inside the panel: its columns have their own edges.
  if (State == msRowSizing || (State == msColSizing && Index >= panelCol)) {
    State = msIdle;
    Index = -1;
  }
}

void TCustomDBGridX::FinishPanelSizing(TShiftState Shift, Integer X, Integer Y) {
  const Integer index = SizingIndex();
  if (index < 0 || index >= FColumns->Count() || index >= Integer(FRowPanelRects.size())) return;
  TColumnX* sized = FColumns->Items(index);
  const bool alone = Shift.Contains(ssShift);
  if (GridState() == msRowSizing) {
    const Integer h = std::max<Integer>(DefaultTitleRowHeight(), 1);
    const Integer lines = Integer(
        std::nearbyint(double(h * sized->InRowLineHeight() + Y - FMouseDownPoint.Y) / double(h)));
    if (lines <= 0) return;
    const Integer delta = lines - sized->InRowLineHeight();
    const Integer bottom = sized->InRowLinePos() + sized->InRowLineHeight() - 1;
    FColumns->BeginUpdate();
    TScopeGuard endUpdate([&] { FColumns->EndUpdate(); });
    if (!alone)
      for (Integer i = 0; i < FColumns->Count(); ++i) {
        TColumnX* other = FColumns->Items(i);
        const Integer otherLines = other->InRowLineHeight();
        if (other != sized && other->InRowLinePos() + otherLines - 1 == bottom && otherLines + delta > 0)
          other->SetInRowLineHeight(otherLines + delta);
      }
    sized->SetInRowLineHeight(lines);
    return;
  }
  const Integer moved = RightToLeft() ? FMouseDownPoint.X - X : X - FMouseDownPoint.X;
  const TRowPanelRectX own = FRowPanelRects[size_t(index)];
  Integer width = sized->Width() + moved;
  for (Integer i = 0; i < FColumns->Count() && i < Integer(FRowPanelRects.size()); ++i) {
    if (i == index || !FColumns->Items(i)->Visible()) continue;
    const Integer right = FRowPanelRects[size_t(i)].Left + FRowPanelRects[size_t(i)].Width;
    if (std::abs(own.Left + width - right) <= SnapDistance) {
      width = right - own.Left;
      break;
    }
  }
  if (width <= 1) return;
  const Integer change = width - sized->Width();
  const Integer edge = own.Left + own.Width;
  FColumns->BeginUpdate();
  TScopeGuard endUpdate([&] { FColumns->EndUpdate(); });
  if (!alone)
    for (Integer i = 0; i < FColumns->Count() && i < Integer(FRowPanelRects.size()); ++i) {
      TColumnX* other = FColumns->Items(i);
      const TRowPanelRectX& r = FRowPanelRects[size_t(i)];
      if (other != sized && other->Visible() && r.Left + r.Width == edge && other->Width() + change > 1)
        other->SetWidth(other->Width() + change);
    }
  sized->SetWidth(width);
}

// ---- hot tracking

bool TCustomDBGridX::UpdatePanelHot(TGridCoord Hot, Integer X, Integer Y) {
  Integer dataCol = -1, dataRow = -1;
  const bool inPanel = Hot.X == ColumnIndexToGridCol(0) && Hot.Y >= 0 && Hot.Y < FullRowCount();
  const TCellAreaRowX kind = inPanel ? GetCellType(Hot.X, Hot.Y, dataCol, dataRow).RowKind : carFooter;
  if (kind != carTitle && kind != carData) {
    FHotPanelColumn = -1;
    return false;
  }
  TColumnX* column = PanelColumnUnder(Hot, X, Y, kind == carTitle);
  const Integer index = column ? column->Index() : -1;
  TRect button;
  const bool onFilterButton = column && kind == carTitle && FSTFilter->Visible() &&
                              FSTFilter->Location() == stflInTitleFilterX &&
                              FilterButtonHit(TPoint(X, Y), PanelColumnRect(Hot.X, Hot.Y, index), button);
  const Integer hotButton = onFilterButton && CursorShape() == crDefault ? 0 : -1;
  if (index != FHotPanelColumn || hotButton != FHotEditButton) {
    FHotPanelColumn = index;
    FHotEditButton = hotButton;
    InvalidateCellArea(Hot.X, Hot.Y);
  }
  return true;
}

// ---- presses

void TCustomDBGridX::PanelCellPress(TMouseButton Button, TShiftState Shift, TGridCoord Cell, Integer DataRow, Integer X,
                                    Integer Y) {
  TColumnX* column = PanelColumnUnder(Cell, X, Y, false);
  const Integer pressed = column ? column->Index() : -1;
  FPressedTitleDataCol = pressed;
  const bool left = Button == mbLeft;
  {
    LockUpdates();
    TScopeGuard unlock([this] { UnlockUpdates(); });
    FDataLink->UpdateRecord();
    const bool onOldCurrent = DataRow == FDataLink->ActiveRecord() && pressed == FRowPanelColumn;
    const bool detailPress = left && FRowDetailPanel->Active() && DetailButtonAtPoint(X, Y);
    if (!FOptions.Contains(dgAlwaysShowEditor)) SetEditorMode(false);
    if (DataRow != FDataLink->ActiveRecord()) FDataLink->MoveBy(DataRow - FDataLink->ActiveRecord());
    if (pressed >= 0) MoveCol(pressed, 0, false);
    if (left && FOptions.Contains(dgMultiSelect) && FOptions.Contains(dgRowSelect) && FDataLink->Active()) {
      if (Shift.Contains(ssCtrl)) {
        FBookmarks->MarkCurrentRow(!FBookmarks->IsCurrentRowSelected());
      } else {
        ClearSelection();
        FBookmarks->MarkCurrentRow(true);
      }
    }
    if (detailPress) {
      FPanelClickedColumn = -1;
      FRowDetailPanel->SetShown(!FRowDetailPanel->Shown());
      return;
    }
    const bool stepped = column && SteppedCell(column);
    const bool onButtons =
        left && column && !stepped && InCellButtonsStrip(column, PanelColumnRect(Cell.X, Cell.Y, pressed), X);
    if (left && FOptions.Contains(dgEditing) && !stepped &&
        (onOldCurrent || onButtons || FOptions.Contains(dgAlwaysShowEditor)))
      SetEditorMode(true);
    else
      ReloadEditor();
    if (onButtons && EditorMode()) ForwardPressToEditor(TPoint(X, Y));
    FPanelClickedColumn = left && stepped ? pressed : -1;
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomDBGridX::PanelTitlePress(TMouseButton Button, TShiftState Shift, TGridCoord Cell, Integer X, Integer Y) {
  TColumnX* column = Designing() ? nullptr : PanelColumnUnder(Cell, X, Y, true);
  if (column && FOptionsX.Contains(dghColumnMove) && Button == mbRight) {
    FRightButtonColumnMove = true;
  } else if (column && Button == mbLeft) {
    TRect button;
    const bool filterButton = FSTFilter->Visible() && FSTFilter->Location() == stflInTitleFilterX &&
                              FilterButtonHit(TPoint(X, Y), PanelColumnRect(Cell.X, Cell.Y, column->Index()), button);
    if (filterButton) {
      if (FFilterListDropped && FFilterListColumn == column) {
        CloseFilterList(false);
      } else {
        TRect under = PanelColumnRect(Cell.X, Cell.Y, column->Index());
        if (FOptions.Contains(dgColLines) || FOptions.Contains(dgRowLines)) under.Bottom += GridLineWidth();
        if (FFilterListDropped) CloseFilterList(false);
        DropDownFilterList(column, under);
      }
      InvalidateRowArea(0);
      return;
    }
    FPressedTitleDataCol = column->Index();
    bool enabled = column->Title()->TitleButton();
    QueryCheckButton(column->Index(), enabled);
    if (enabled && MouseCapture()) {
      FMouseTracking = true;
      FPressedTitleCol = Cell.X;
      UpdateTitlePress(X, Y);
    }
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

// ---- title drags

bool TCustomDBGridX::PanelTitleDragMove(TShiftState Shift, Integer X, Integer Y) {
  if (FPanelTitleDragging) {
    TrackTitleDrag(Shift, X, Y);
    return true;
  }
  const bool farEnough = std::abs(X - FMouseDownPoint.X) > TitleDragThreshold ||
                         std::abs(Y - FMouseDownPoint.Y) > TitleDragThreshold;
  if (!FRowPanel->Active() || !MouseCapture() || FPressedTitleDataCol < 0 || !FOptions.Contains(dgTitles) ||
      !FOptionsX.Contains(dghColumnMove) || GridState() != msIdle || FGridMouseState != gmsNone || !farEnough)
    return false;
  const TGridCoord pressed = CellAtPoint(FMouseDownPoint.X, FMouseDownPoint.Y);
  Integer dataCol = -1, dataRow = -1;
  if (pressed.X != ColumnIndexToGridCol(0) || pressed.Y < 0 || pressed.Y >= FullRowCount() ||
      GetCellType(pressed.X, pressed.Y, dataCol, dataRow).RowKind != carTitle)
    return false;
  StartTitleDragInRow(Shift, X, FPressedTitleDataCol, Y);
  return true;
}

void TCustomDBGridX::StartTitleDragInRow(TShiftState, Integer, Integer Col, Integer) {
  StartTitleDrag(PanelColumnRect(ColumnIndexToGridCol(0), 0, Col), Col);
}

void TCustomDBGridX::StartTitleDrag(const TRect& Rect, Integer Col) {
  if (Col < 0 || Col >= FColumns->Count()) return;
  if (FMouseTracking) {
    EndMouseTracking();
    SetMouseCapture(true);
  }
  FPressedTitleDataCol = Col;
  FPanelTitleDragging = true;
  FTitleDragMoved = true;
  FDragTargetCol = Col;
  FDragTargetLine = FColumns->Items(Col)->InRowLinePos();
  FDragOffset = TPoint(Rect.Left - FMouseDownPoint.X, Rect.Top - FMouseDownPoint.Y);
  FDragFrame = Rect;
  OffsetRect(FDragFrame, FMovePoint.X - FMouseDownPoint.X, FMovePoint.Y - FMouseDownPoint.Y);
  DrawTitleDragFeedback(true);
  DrawTitleDragFeedback(false);
}

void TCustomDBGridX::TrackTitleDrag(TShiftState, Integer X, Integer Y) {
  if (!FPanelTitleDragging) return;
  if (OverGroupPanel(Y)) {
    // Over the group panel the title would become a grouping level: the panel's arrow shows where.
    GetGridMoveLine()->Hide();
    TrackGroupPanelDrop(X, Y);
    return;
  }
  HideGroupPanelArrow();
  // The target: the line under the dragged frame's top, and on it the column whose right
  // edge is the last one left of the pointer.
  const TRect title = CellRect(ColumnIndexToGridCol(0), 0);
  const Integer panelLeft = title.Left - LeftColOffset();
  const Integer h = std::max<Integer>(DefaultTitleRowHeight(), 1);
  const Integer frameTop = std::max<Integer>(Y + FDragOffset.Y, 0) - title.Top;
  const Integer line = std::clamp<Integer>(frameTop / h, 0, FRowPanelHeight / h);
  const Integer pointerX = (RightToLeft() ? GridClientWidth() - X : X) - panelLeft;
  Integer target = -1, targetRight = -1;
  for (Integer i = 0; i < FColumns->Count() && i < Integer(FRowPanelRects.size()); ++i) {
    const TRowPanelRectX& r = FRowPanelRects[size_t(i)];
    if (!FColumns->Items(i)->Visible() || frameTop < r.Top || frameTop > r.Top + r.Height) continue;
    const Integer right = r.Left + r.Width;
    if (right <= pointerX && right > targetRight) {
      target = i;
      targetRight = right;
    }
  }

  // The frame follows the pointer; run off the panel's visible part, it scrolls the grid by
  // half a step, and keeps scrolling on the timer while the pointer stands still.
  const TRect frame(X + FDragOffset.X, Y + FDragOffset.Y, X + FDragOffset.X + FDragFrame.Width(),
                    Y + FDragOffset.Y + FDragFrame.Height());
  const bool moved = !(frame.TopLeft() == FDragFrame.TopLeft());
  const bool repeating = !moved && AutoScrollRunning();
  Integer direction = 0;
  if (frame.Left < title.Left && (frame.Left < FDragFrame.Left || repeating)) direction = -1;
  else if (frame.Right > title.Right && (frame.Left > FDragFrame.Left || repeating)) direction = 1;
  FDragFrame = frame;
  const Integer before = LeftColOffset();
  if (direction != 0) ScrollByPixels(direction * std::max<Integer>(GetHorzScrollStep() / 2, 1), 0);
  if (LeftColOffset() != before) StartAutoScroll(TitleDragScrollInterval);
  else if (direction == 0 || !moved) StopAutoScroll();
  FDragTargetCol = target;
  FDragTargetLine = line;
  DrawTitleDragFeedback(false);
  DrawTitleDragFeedback(true);
}

void TCustomDBGridX::DrawTitleDragFeedback(bool ShowLine) {
  if (!HandleAllocated()) return;
  if (ShowLine) {
    const TRect title = CellRect(ColumnIndexToGridCol(0), 0);
    const Integer panelLeft = title.Left - LeftColOffset();
    Integer x = panelLeft - 1;
    if (FDragTargetCol >= 0 && FDragTargetCol < Integer(FRowPanelRects.size())) {
      const TRowPanelRectX& r = FRowPanelRects[size_t(FDragTargetCol)];
      x = panelLeft + r.Left + r.Width;
    }
    if (RightToLeft()) x = GridClientWidth() - 1 - x;
    const Integer top = title.Top + DefaultTitleRowHeight() * FDragTargetLine +
                        (FOptions.Contains(dgRowLines) ? GridLineWidth() : 0);
    const Integer length = FPressedTitleDataCol >= 0 && FPressedTitleDataCol < Integer(FRowPanelRects.size())
                               ? FRowPanelRects[size_t(FPressedTitleDataCol)].Height
                               : FRowPanelLineHeight;
    TGridMoveLineX* mark = GetGridMoveLine();
    if (mark->IsShown()) mark->MoveToPoint(this, TPoint(x, top));
    else mark->ShowMoveLine(this, TPoint(x, top), true, length);
    return;
  }
  TGridDragBoxX* box = GetGridDragBox();
  Integer left = FDragFrame.Left;
  if (RightToLeft()) left = GridClientWidth() - FDragFrame.Right;
  if (box->IsShown()) box->MoveToPoint(this, TPoint(left, FDragFrame.Top));
  else box->ShowAt(this, TPoint(left, FDragFrame.Top), FDragFrame.Width(), FDragFrame.Height());
}

void TCustomDBGridX::HideTitleDragFeedback() {
  GetGridMoveLine()->Hide();
  GetGridDragBox()->Hide();
}

void TCustomDBGridX::FinishTitleDrag(TShiftState, Integer, bool Dropped, Integer Y) {
  if (!FPanelTitleDragging) return;
  FPanelTitleDragging = false;
  HideTitleDragFeedback();
  StopAutoScroll();
  const Integer dragged = FPressedTitleDataCol;
  FPressedTitleDataCol = -1;
  if (!Dropped || dragged < 0 || dragged >= FColumns->Count()) {
    FDragGroupLevel = -1;
    HideGroupPanelArrow();
    return;
  }
  TColumnX* column = FColumns->Items(dragged);
  if (FDragGroupLevel >= 0) {
    // A level's column dragged off the group panel: back on the panel the level moves, in the
    // row panel the column takes its place and the level goes.
    if (!OverGroupPanel(Y) && FDragTargetCol != dragged) DropPanelColumn(column, FDragTargetCol, FDragTargetLine);
    FinishGroupLevelColumnMove(Y);
    return;
  }
  if (OverGroupPanel(Y)) {
    const Integer to = std::max<Integer>(FGroupPanelDropIndex, 0);
    HideGroupPanelArrow();
    GroupByColumn(column, GroupLevelIndexOfActive(to));
    return;
  }
  HideGroupPanelArrow();
  if (FDragTargetCol != dragged) DropPanelColumn(column, FDragTargetCol, FDragTargetLine);
}

// ---- releases

bool TCustomDBGridX::PanelMouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (!FRowPanel->Active()) return false;
  const TGridMouseStateX baseState = GridState();
  if (FPanelSizing && (baseState == msColSizing || baseState == msRowSizing)) {
    FPanelSizing = false;
    TScopeGuard idle([this] { TCustomGridX::StopMouseTracking(); });
    FinishPanelSizing(Shift, X, Y);
    TCustomControl::MouseUp(Button, Shift, X, Y);
    return true;
  }
  if (FPanelTitleDragging) {
    FinishTitleDrag(Shift, X, true, Y);
    FTitleDragMoved = false;
    SetMouseCapture(false);
    TCustomControl::MouseUp(Button, Shift, X, Y);
    return true;
  }
  // Drags begun elsewhere (record drags, row selection from the indicator) end as usual.
  if (baseState != msIdle || GroupPanelDragging() || FGridMouseState != gmsNone || FRowDragSelecting ||
      FCellDragSelecting || FSelectionDragPending)
    return false;
  const TGridCoord cell = CellAtPoint(X, Y);
  if (cell.X != ColumnIndexToGridCol(0) || cell.Y < 0 || cell.Y >= FullRowCount()) return false;
  Integer dataCol = -1, dataRow = -1;
  const TCellAreaRowX kind = GetCellType(cell.X, cell.Y, dataCol, dataRow).RowKind;
  if (kind != carTitle && kind != carData) return false;
  TColumnX* column = PanelColumnUnder(cell, X, Y, kind == carTitle);
  TMouseButton button = Button;
  if (kind == carTitle) {
    if (FMouseTracking && FPressedTitleCol >= 0) {
      const Integer pressed = FPressedTitleDataCol;
      EndMouseTracking();
      if (column && column->Index() == pressed) ClickTitleButton(pressed, Shift);
    } else if (FRightButtonColumnMove) {
      FRightButtonColumnMove = false;
      SetMouseCapture(false);
      button = mbLeft;
    }
  }
  EndMouseTracking();
  FGridMouseState = gmsNone;
  FPressedTitleDataCol = -1;
  TCustomGridX::MouseUp(button, Shift, X, Y);
  if (!column) return true;
  if (kind == carTitle) {
    if (button == mbLeft) FireTitleClick(column);
    return true;
  }
  if (button == mbLeft) FireCellClick(column);
  const Integer clicked = std::exchange(FPanelClickedColumn, -1);
  if (column->Index() == clicked && !column->DblClickNextVal() && !Shift.Contains(ssDouble) && FDataLink->Active() &&
      column->CanEditValue(true))
    column->StepValue(Shift.Contains(ssShift) ? -1 : 1);
  return true;
}
