// The keyboard side of the grid, focus, and the message routing of the whole control.
#include "grid/GridsX.h"
#include <QApplication>
#include <algorithm>

namespace {
TWinControl* FocusedControlNow() { return FindControl(QApplication::focusWidget()); }
}  // namespace

void TCustomGridX::HandleKeyTab(TGridCoord& NewCurrent, bool Backwards) {
  do {
    if (!Backwards) {
      if (++NewCurrent.X >= FColCount) {
        NewCurrent.X = FFixedCols;
        if (++NewCurrent.Y >= FRowCount) NewCurrent.Y = FFixedRows;
      }
    } else if (--NewCurrent.X < FFixedCols) {
      NewCurrent.X = FColCount - 1;
      if (--NewCurrent.Y < FFixedRows) NewCurrent.Y = FRowCount - 1;
    }
  } while (!TabStops(NewCurrent.X) && NewCurrent.X != FCurrent.X);
}

void TCustomGridX::KeyDown(Word& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (!GridAcceptsKey(Key, Shift)) Key = 0;
  if (Key == 0) return;
  TGridDrawInfoX di;
  FillDrawInfo(di);
  TGridCoord newCurrent = FCurrent, newTopLeft = FTopLeft;
  const Integer pageWidth = std::max(1, di.Horz.LastFullCell - FTopLeft.X);
  const Integer pageHeight = std::max(1, di.Vert.LastFullCell - FTopLeft.Y);
  const Integer direction = RightToLeft() ? -1 : 1;
  const bool rowSelect = FGridOptions.Contains(goRowSelect);
  bool tab = false, repaintAll = false;
  if (Shift.Contains(ssCtrl)) {
    switch (Key) {
      case VK_PRIOR: newCurrent.Y = FTopLeft.Y; break;
      case VK_NEXT: newCurrent.Y = di.Vert.LastFullCell; break;
      case VK_END:
        newCurrent = {FColCount - 1, FRowCount - 1};
        repaintAll = RightToLeft();
        break;
      case VK_HOME:
        newCurrent = {FFixedCols, FFixedRows};
        repaintAll = RightToLeft();
        break;
      case VK_LEFT:
      case VK_RIGHT:
        if (!rowSelect) {
          const Integer step = (Key == VK_LEFT ? -direction : direction) * pageWidth;
          newCurrent.X += step;
          newTopLeft.X += step;
        }
        break;
      case VK_UP: --newTopLeft.Y; break;
      case VK_DOWN: ++newTopLeft.Y; break;
      default: break;
    }
  } else {
    switch (Key) {
      case VK_TAB:
        if (!Shift.Contains(ssAlt)) {
          HandleKeyTab(newCurrent, Shift.Contains(ssShift));
          tab = true;
        }
        break;
      case VK_PRIOR:
        newCurrent.Y -= pageHeight;
        newTopLeft.Y -= pageHeight;
        break;
      case VK_NEXT:
        newCurrent.Y += pageHeight;
        newTopLeft.Y += pageHeight;
        break;
      case VK_END:
        if (rowSelect) newCurrent.Y = FRowCount - 1;
        else newCurrent.X = FColCount - 1;
        break;
      case VK_HOME:
        if (rowSelect) newCurrent.Y = FFixedRows;
        else newCurrent.X = FFixedCols;
        break;
      case VK_LEFT:
      case VK_RIGHT:
        if (rowSelect) {
          ScrollByPixels(Key == VK_LEFT ? -GetHorzScrollStep() : GetHorzScrollStep(), 0);
          return;
        }
        newCurrent.X += Key == VK_LEFT ? -direction : direction;
        break;
      case VK_UP: --newCurrent.Y; break;
      case VK_DOWN: ++newCurrent.Y; break;
      case GridEditKey: SetEditorMode(true); break;
      default: break;
    }
  }
  const TGridCoord maxTopLeft = CalcMaxTopLeft({FColCount - 1, FRowCount - 1}, di);
  newTopLeft.X = std::clamp(newTopLeft.X, FFixedCols, std::max(FFixedCols, maxTopLeft.X));
  newTopLeft.Y = std::clamp(newTopLeft.Y, FFixedRows, std::max(FFixedRows, maxTopLeft.Y));
  if (!(newTopLeft == FTopLeft)) MoveTopLeft(newTopLeft.X, newTopLeft.Y);
  newCurrent.X = std::clamp(newCurrent.X, std::max(0, FFixedCols - FFrozenColCount), FColCount - 1);
  newCurrent.Y = std::clamp(newCurrent.Y, std::max(0, FFixedRows - FFrozenRowCount), FRowCount - 1);
  if (!(newCurrent == FCurrent)) ActivateCell(newCurrent.X, newCurrent.Y, !Shift.Contains(ssShift) || tab);
  if (repaintAll) Invalidate();
}

void TCustomGridX::KeyPress(QChar& Key) {
  TCustomControl::KeyPress(Key);
  if (FGridOptions.Contains(goAlwaysShowEditor) || Key != QChar('\r')) return;
  if (FEditorMode) LeaveEditorMode();
  else EnterEditorMode();
  Key = QChar();
}

void TCustomGridX::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: HandleButtonDown(Message); return;
    case WM_LBUTTONUP: HandleButtonUp(Message, mbLeft, false); return;
    case WM_RBUTTONUP: HandleButtonUp(Message, mbRight, false); return;
    case WM_MBUTTONUP: HandleButtonUp(Message, mbMiddle, false); return;
    case WM_LBUTTONDBLCLK: HandleButtonUp(Message, mbLeft, true); return;
    case WM_RBUTTONDBLCLK: HandleButtonUp(Message, mbRight, true); return;
    case WM_MBUTTONDBLCLK: HandleButtonUp(Message, mbMiddle, true); return;
    case WM_CHAR: {
      const QChar ch(char16_t(Message.WParam));
      if (FGridOptions.Contains(goEditing) && (ch == QChar('\b') || ch.unicode() >= 32)) EnterEditorModeWithChar(ch);
      else TCustomControl::Dispatch(Message);
      return;
    }
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS;
      if (!FGridOptions.Contains(goRowSelect)) {
        if (FGridOptions.Contains(goTabs)) Message.Result |= DLGC_WANTTAB;
        if (FGridOptions.Contains(goEditing)) Message.Result |= DLGC_WANTCHARS;
      }
      return;
    case CM_WANTSPECIALKEY:
      TCustomControl::Dispatch(Message);
      if (FGridOptions.Contains(goEditing) && Word(Message.WParam) == VK_RETURN) Message.Result = 1;
      return;
    case WM_SETFOCUS: {
      TCustomControl::Dispatch(Message);
      const bool fromEditor = FFocusFromEditor;
      FFocusFromEditor = false;
      if (!fromEditor) {
        InvalidateGridRect(SelectedRange());
        SyncEditor();
      }
      return;
    }
    case WM_KILLFOCUS: {
      TCustomControl::Dispatch(Message);
      InvalidateGridRect(SelectedRange());
      const bool toEditor = FInplaceEditor && FocusedControlNow() == FInplaceEditor;
      if (!toEditor) HideInplaceEditor();
      return;
    }
    case WM_NCHITTEST:
      TCustomControl::Dispatch(Message);
      FNCHitPoint = ScreenToClient(TWMNCHitTest{Message}.Pos());
      return;
    case WM_SETCURSOR: HandleSetCursor(Message); return;
    case WM_SIZE:
      TCustomControl::Dispatch(Message);
      RefreshScrollBars();
      if (RightToLeft() || FContraColCount > 0 || FContraRowCount > 0) Invalidate();
      return;
    case WM_HSCROLL:
    case WM_VSCROLL: {
      const TWMScroll s{Message};
      ModifyScrollBar(Message.Msg == WM_HSCROLL ? SB_HORZ : SB_VERT, s.ScrollCode(), s.Pos(), true);
      return;
    }
    case WM_TIMER:
      if (TWMTimer{Message}.TimerID() == GridMoveTimerId) HandleTimer();
      else TCustomControl::Dispatch(Message);
      return;
    case WM_CANCELMODE:
      TCustomControl::Dispatch(Message);
      StopMouseTracking();
      return;
    case CM_CANCELMODE:
      if (FInplaceEditor) FInplaceEditor->WindowProc(Message);
      TCustomControl::Dispatch(Message);
      StopMouseTracking();
      return;
    case CM_MOUSELEAVE: {
      TCustomControl::Dispatch(Message);
      const TPoint p = ScreenToClient(GetCursorPos());
      UpdateHotTrack(p.X, p.Y);
      return;
    }
    case CM_DESIGNHITTEST: {
      const TPoint p = LParamToPoint(Message.LParam);
      Message.Result = IsOverSizingLine(p.X, p.Y) ? 1 : 0;
      return;
    }
    case CM_FONTCHANGED:
      TCustomControl::Dispatch(Message);
      if (FInplaceEditor) FInplaceEditor->SetFont(Font());
      return;
    case CM_SHOWINGCHANGED:
      TCustomControl::Dispatch(Message);
      if (Showing()) RefreshScrollBars();
      return;
    default: TCustomControl::Dispatch(Message);
  }
}
