// Window messages the data-aware grid answers in its own way: the vertical scroll bar and the
// mouse wheel move the current record, the horizontal bar tracks its thumb as the settings
// ask, Escape is wanted while there are unsaved changes, typed characters are wanted for the
// incremental search, composed input goes into the editor, and a size change that arrives
// while the layout is locked waits for the lock to end.
#include "dbgrid/DBGridX.h"
#include "dbgrid/DBGridXFilterEdit.h"
#include "dbgrid/DBGridXInplaceEdit.h"
#include "grid/ButtonFacesX.h"
#include "grid/PopupListboxX.h"
#include "platform/rtl/ScopeGuards.h"

void TCustomDBGridX::WMScroll(TMessage& Message) {
  if (Message.Msg == WM_VSCROLL && ScrollsByMemTableRows()) return HandleVScroll(Message);
  if (Message.Msg == WM_HSCROLL) {
    const TWMScroll scroll{Message};
    if (FHorzScrollBar->Tracking() && scroll.ScrollCode() == SB_THUMBTRACK) {
      TMessage position = Message;
      position.WParam = (WPARAM(Message.WParam) & ~WPARAM(0xFFFF)) | WPARAM(SB_THUMBPOSITION);
      Perform(position.Msg, position.WParam, position.LParam);
      return;
    }
    TCustomGridX::WMScroll(Message);
    UpdateExtHorzScrollBar();
    return;
  }
  if (!FDataLink->Active()) {
    TCustomGridX::WMScroll(Message);
    return;
  }
  const TWMScroll scroll{Message};
  TDataSet* dataSet = DataSet();
  const Integer page = std::max<Integer>(RowCount() - HeaderRowCount(), 1);
  const Integer position = scroll.Pos();
  switch (scroll.ScrollCode()) {
    case SB_LINEUP: MoveRecordsBy(-FDataLink->ActiveRecord() - 1); break;
    case SB_LINEDOWN: MoveRecordsBy(FDataLink->RecordCount() - FDataLink->ActiveRecord()); break;
    case SB_PAGEUP: MoveRecordsBy(-page); break;
    case SB_PAGEDOWN: MoveRecordsBy(page); break;
    case SB_THUMBPOSITION:
      if (FThumbTrackMoved) {
        FThumbTrackMoved = false;
        break;
      }
      if (!dataSet->IsSequenced()) {
        // Five places: the first record, a page up, nothing, a page down, the last record.
        switch (position) {
          case 0: dataSet->First(); break;
          case 1: MoveRecordsBy(-page); break;
          case 3: MoveRecordsBy(page); break;
          case 4: dataSet->Last(); break;
          default: break;
        }
      } else if (position <= 1) {
        dataSet->First();
      } else if (position >= dataSet->RecordCount()) {
        dataSet->Last();
      } else {
        dataSet->SetRecNo(position);
      }
      break;
    case SB_THUMBTRACK:
      if (FVertScrollBar->Tracking() && dataSet->IsSequenced()) {
        MoveRecordsBy(position - dataSet->RecNo());
        FThumbTrackMoved = true;
      }
      break;
    case SB_TOP: dataSet->First(); break;
    case SB_BOTTOM: dataSet->Last(); break;
    default: break;
  }
}

bool TCustomDBGridX::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  if (!FDataLink->Active()) return TCustomGridX::DoMouseWheelDown(Shift, MousePos);
  if (!TCustomControl::DoMouseWheelDown(Shift, MousePos)) FDataLink->MoveBy(1);
  return true;
}

bool TCustomDBGridX::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  if (!FDataLink->Active()) return TCustomGridX::DoMouseWheelUp(Shift, MousePos);
  if (!TCustomControl::DoMouseWheelUp(Shift, MousePos)) FDataLink->MoveBy(-1);
  return true;
}

// Escape cancels an edit in the grid before a dialog's Cancel button can take it.
void TCustomDBGridX::CMWantSpecialKey(TMessage& Message) {
  TCustomGridX::CMWantSpecialKey(Message);
  if (Word(Message.WParam) == VK_ESCAPE && FDataLink->Active() && DataSet()->Modified()) Message.Result = 1;
}

void TCustomDBGridX::WMGetDlgCode(TMessage& Message) {
  TCustomGridX::WMGetDlgCode(Message);
  if (FOptionsX.Contains(dghPreferIncSearch)) Message.Result |= DLGC_WANTCHARS;
}

void TCustomDBGridX::WMImeStartComposition(TMessage& Message) {
  TCustomGridX::Dispatch(Message);
  EnterEditorMode();
}

// Button faces are cached in the system colours of their time.
void TCustomDBGridX::CMSysColorChange(TMessage& Message) {
  TCustomGridX::CMSysColorChange(Message);
  ResetButtonBitmapCache();
}

// A wheel turned over the grid while one of its lists is open scrolls that list.
void TCustomDBGridX::CMMouseWheel(TMessage& Message) {
  TDBGridInplaceEdit* editor = DBInplaceEditor();
  TWinControl* target = nullptr;
  if (editor && editor->ListVisible() && editor->ActiveList()) target = editor->ActiveList();
  else if (FFilterEdit && FFilterEdit->Visible() && FFilterEditMode) target = FFilterEdit;
  else if (FFilterListDropped && FFilterList) target = FFilterList;
  // A control that does not use the wheel hands it to its parent, which may be this grid.
  if (!target || FWheelRouting) {
    TCustomGridX::CMMouseWheel(Message);
    return;
  }
  FWheelRouting = true;
  TScopeGuard routed([this] { FWheelRouting = false; });
  target->Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
  Message.Result = 1;
}

void TCustomDBGridX::FollowClientSize() {
  UpdateRowCount();
  if (ScrollsByMemTableRows()) ClampTopRow();
  UpdateVertScrollBar();
  UpdateFilterEditor(false);
}

void TCustomDBGridX::HandleSizeChange() {
  FSizeChangedWhileLocked = false;
  if (FAutoFitColWidths || (IndicatorShown() && IndicatorWidthOf() != FIndicatorWidth)) {
    RequestLayout();
    InvalidateEditor();
  } else {
    FollowClientSize();
  }
}

void TCustomDBGridX::InvalidateEditor() {
  TDBGridInplaceEdit* editor = DBInplaceEditor();
  if (editor && editor->Visible()) {
    if (editor->ListVisible()) editor->ReloadKeepingList();
    else editor->LoadCellContents();
  }
  FollowFilterEditor();
}
