// Window messages the data-aware grid answers in its own way: the vertical scroll bar and the
// mouse wheel move the current record, Escape is wanted while there are unsaved changes, and
// typed characters are wanted for the incremental search.
#include "dbgrid/DBGridX.h"

void TCustomDBGridX::WMScroll(TMessage& Message) {
  if (Message.Msg == WM_VSCROLL && ScrollsByMemTableRows()) return HandleVScroll(Message);
  if (Message.Msg != WM_VSCROLL || !FDataLink->Active()) {
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
