// The drop-down lists of the grid's in-place editor: the pick list, the column's lookup grid,
// the month calendar and the calculator open under the cell, take the keys that steer them and
// hand their value to the cell when they close; the recent values follow the typed text.
#include "dbgrid/DBGridXInplaceEdit.h"
#include "dbgrid/DBLookupGridX.h"
#include "grid/CalculatorX.h"
#include "grid/DBCtrlsX.h"
#include "grid/MRUListX.h"
#include "grid/PopupListboxX.h"
#include "grid/PopupMonthCalendarX.h"
#include "grid/SizeGripX.h"
#include "platform/ui/Forms.h"
#include <QApplication>
#include <cmath>

namespace {
bool NumberVariant(const Variant& Value) {
  switch (Value.VarType()) {
    case varSmallint: case varInteger: case varSingle: case varDouble: case varCurrency: return true;
    default: return false;
  }
}
}  // namespace

// ---- opening

void TDBGridInplaceEdit::OpenList() {
  TColumnX* column = Column();
  if (FListVisible || !FActiveList || !column) return;
  if (FActiveList == FPickList || FActiveList == FDataList) FActiveList->SetWidth(Width());
  if (FStyle == iesDataListX) {
    if (!column->ListDataSet()) return;
    OpenDataList();
  } else if (FActiveList == FCalendar) {
    FCalendar->SetColor(Color());
    FCalendar->Font()->Assign(Font());
    TDateTime date = Date();
    if (!Text().isEmpty()) {
      try {
        date = StrToDateTime(Text());
      } catch (const Exception&) {
        TField* field = column->Field();
        date = field && field->AsDateTime() != 0 ? field->AsDateTime() : Date();
      }
    }
    FCalendar->SetDate(date);
  } else if (FActiveList == FCalculator) {
    const Extended value = Text().isEmpty() ? 0 : StrToFloat(Text());
    static_cast<IPopupValueControlX*>(FCalculator)->SetValue(Variant(double(value)));
    static_cast<IPopupValueControlX*>(FCalculator)->SetFlat(DBGrid()->Flat());
    SetSelLength(0);
  } else if (FActiveList == FPickList) {
    OpenPickList();
  }
  CloseMRUList(false);
  TPoint topLeft;
  PlaceDropDownAtControl(this, FActiveList, BiDiMode() == bdRightToLeft ? 1 : 0, topLeft);
  FActiveList->SetBounds(topLeft.X, topLeft.Y, FActiveList->Width(), FActiveList->Height());
  FActiveList->SetVisible(true);
  if (FActiveList == FPickList) {
    FPickList->SizeGrip()->ShowGrip(column->DropDownSizing());
    FPickList->SetUserSized(false);
  } else if (FActiveList == FDataList) {
    FDataList->SizeGrip()->ShowGrip(column->DropDownSizing());
    FDataList->SetSized(false);
  }
  FListVisible = true;
  Invalidate();
  FocusIfShown();
  if (TEditButtonControlX* button = ButtonControl(0)) button->SetHoldDown(true);
  FDroppedDown = true;
}

void TDBGridInplaceEdit::OpenDataList() {
  TColumnX* column = Column();
  TDataSet* list = column->ListDataSet();
  TField* field = column->Field();
  FDataList->SetColor(Color());
  FDataList->Font()->Assign(Font());
  FDataList->SpecRow()->Assign(column->DropDownSpecRow());
  const Integer rows = list->IsSequenced() && list->RecordCount() > 0 &&
                               list->RecordCount() < Integer(column->DropDownRows())
                           ? list->RecordCount()
                           : Integer(column->DropDownRows());
  FDataList->SetShowTitles(column->DropDownShowTitles());
  FLookupSource->SetDataSet(list);
  FDataList->SetListSource(nullptr);
  FDataList->SetKeyField(field->LookupKeyFields());
  // The looked-up text is the one the list shows for the key, wherever it stands among the columns.
  const String displayFields = column->LookupDisplayFields();
  const Integer resultIndex = Integer(displayFields.split(u';').indexOf(field->LookupResultField()));
  FDataList->SetListField(displayFields);
  FDataList->SetListFieldIndex(std::max<Integer>(resultIndex, 0));
  FDataList->SetAutoFitColWidths(false);
  FDataList->SetUseMultiTitle(column->DropDownBox()->UseMultiTitle());
  FDataList->SetListSource(FLookupSource.get());
  FDataList->SetRowCount(rows);
  Integer width = column->DropDownWidth() == -1 ? FDataList->ColumnsWidth() + FDataList->FrameSize()
                  : column->DropDownWidth() <= 0 ? Width()
                                                 : column->DropDownWidth();
  FDataList->SetWidth(std::max(width, Width()));
  FDataList->SetKeyValue(DBGrid()->EditKeyValue());
  FListColumnsMoved = false;
  FDataList->OnColumnMoved = [this](TObject* Sender, Integer FromIndex, Integer ToIndex) {
    DataListColumnMoved(Sender, FromIndex, ToIndex);
  };
  FDataList->SetAutoFitColWidths(column->DropDownBox()->AutoFitColWidths());
}

void TDBGridInplaceEdit::OpenPickList() {
  TColumnX* column = Column();
  TStrings* picks = column->PickList();
  const bool keys = column->KeyList()->Count() > 0;
  FPickList->SetColor(Color());
  FPickList->Font()->Assign(Font());
  FPickList->SetItemHeight(FPickList->MeasureTextHeight());
  FPickList->Items()->Clear();
  const Integer count = keys ? std::min(column->KeyList()->Count(), picks->Count()) : picks->Count();
  for (Integer i = 0; i < count; ++i) FPickList->Items()->AddObject(picks->Strings(i), picks->Objects(i));
  const Integer rows = std::max<Integer>(1, std::min<Integer>(count, Integer(column->DropDownRows())));
  FPickList->SetHeight(rows * FPickList->ItemHeight() + 4);
  TField* field = column->Field();
  if (!field || field->IsNull()) FPickList->SetItemIndex(-1);
  else FPickList->SetItemIndex(keys ? FindListItem(picks, Text(), false) : FindListItem(FPickList->Items(), Text(), false));
  Integer width = FPickList->ClientWidth();
  for (Integer i = 0; i < count; ++i) width = std::max(width, FPickList->Canvas()->TextWidth(picks->Strings(i)) + 4);
  FPickList->SetClientWidth(width);
}

// ---- closing

void TDBGridInplaceEdit::CloseList(bool Accept) {
  Variant value = Variant::Null();
  if (!FListVisible) return;
  if (TEditButtonControlX* button = ButtonControl(0)) button->SetHoldDown(false);
  if (FKeepListOpen) return;
  if (TControl* capture = GetCaptureControl()) capture->Perform(WM_CANCELMODE);
  TColumnX* column = Column();
  TCustomDBGridX* grid = DBGrid();
  if (FActiveList == FDataList && FDataList) {
    value = FDataList->KeyValue();
    if (FDataList->Sized() && column) {
      column->SetDropDownRows(Cardinal(FDataList->RowCount()));
      column->SetDropDownWidth(FDataList->Width());
    }
    if (FListColumnsMoved && column) column->DropDownSpecRow()->SetCellsText(FDataList->SpecRow()->CellsText());
  } else if (FActiveList == FPickList && FPickList) {
    const Integer index = FPickList->ItemIndex();
    if (index >= 0 && column)
      value = column->KeyList()->Count() > 0 ? Variant(column->KeyList()->Strings(index))
                                              : Variant(FPickList->Items()->Strings(index));
    if (FPickList->UserSized() && column) {
      column->SetDropDownRows(Cardinal(std::max<Integer>(1, FPickList->ClientHeight() / std::max<Integer>(1, FPickList->ItemHeight()))));
      column->SetDropDownWidth(FPickList->Width());
    }
  }
  FActiveList->SetVisible(false);
  FDroppedDown = false;
  FListVisible = false;
  if (FActiveList == FDataList && FDataList) {
    FDataList->SetAutoFitColWidths(false);
    FDataList->SetListSource(nullptr);
  }
  FLookupSource->SetDataSet(nullptr);
  Invalidate();
  if (!column) return;
  if (Accept) {
    if (FActiveList == FDataList && FDataList) {
      AcceptDataList(value);
    } else if (FActiveList == FCalendar && FCalendar) {
      if (column->CanEditValue(true) && grid->BeginCellEdit()) {
        TField* field = column->Field();
        TDateTime old = 0;
        if (!TryStrToDateTime(field->Text(), old)) old = 0;
        const TDateTime day = std::floor(FCalendar->Date());
        const TDateTime chosen = day + (old - std::floor(old));
        column->ApplyValue(DateToStr(day), Variant::FromDate(chosen), false);
      }
    } else if (FActiveList == FCalculator && FCalculator) {
      const Variant number = static_cast<IPopupValueControlX*>(FCalculator)->GetValue();
      if (column->CanEditValue(true) && grid->BeginCellEdit() && NumberVariant(number)) {
        SetText(FloatToStr(number.AsDouble()));
        grid->SetEditorText(Text());
        SelectAll();
      }
    } else if (FActiveList == FPickList && FPickList) {
      if (!value.IsNull() && grid->BeginCellEdit()) {
        const Integer index = FPickList->ItemIndex();
        if (column->KeyList()->Count() > 0 && index >= 0) SetText(FPickList->Items()->Strings(index));
        else if (column->KeyList()->Count() == 0) SetText(value.AsString());
        grid->SetEditorText(Text());
        UpdateImageIndex();
      }
    }
  } else if (FActiveList == FDataList || FActiveList == FPickList) {
    SetText(grid->EditorText());
  }
  if (grid->CanFocus() && !Focused()) grid->SetFocus();
}

void TDBGridInplaceEdit::AcceptDataList(const Variant& Value) {
  TColumnX* column = Column();
  TCustomDBGridX* grid = DBGrid();
  TField* field = column->Field();
  if (!field || !TCustomDBGridX::FieldCanModifyX(field) || !grid->BeginCellEdit() || !column->CanEditValue(true)) return;
  try {
    field->DataSet()->Edit();
    if (grid->GridDataLink()->Editing()) grid->GridDataLink()->MarkModified();
    grid->SetEditKeyValue(Value);
    grid->SetEditorText(FDataList->DisplayText());
  } catch (...) {
    SetText(field->Text() + u' ');
    throw;
  }
  SetText(FDataList->DisplayText());
  grid->SetEditorText(Text());
  SelectAll();
}

void TDBGridInplaceEdit::DataListCloseUp(TObject*, bool Accept) { CloseList(Accept); }

void TDBGridInplaceEdit::DataListColumnMoved(TObject*, Integer, Integer) { FListColumnsMoved = true; }

void TDBGridInplaceEdit::PickListMouseUp(TObject*, TMouseButton Button, TShiftState, Integer X, Integer Y) {
  if (Button == mbLeft) CloseList(PtInRect(FPickList->ClientRect(), TPoint(X, Y)));
}

bool TDBGridInplaceEdit::PassDragToList(TObject* Sender, Integer X, Integer Y) {
  auto* button = dynamic_cast<TControl*>(Sender);
  if (!FListVisible || !FActiveList || !button || !button->MouseCapture()) return false;
  const TPoint point = FActiveList->ScreenToClient(button->ClientToScreen(TPoint(X, Y)));
  const TRect area = FActiveList == FDataList ? FDataList->DataAreaRect() : FActiveList->ClientRect();
  if (!PtInRect(area, point)) return false;
  button->SetMouseCapture(false);
  FActiveList->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(point));
  return true;
}

// ---- keys

void TDBGridInplaceEdit::HandleListKeys(Word& Key, TShiftState Shift, bool KeyDownMessage) {
  TColumnX* column = Column();
  const bool alt = Shift.Contains(ssAlt);
  const bool calculator = FActiveList && FActiveList == FCalculator;
  if ((Key == VK_RETURN || Key == VK_ESCAPE) && FListVisible && !alt && !calculator) {
    bool accept = Key == VK_RETURN;
    if (accept && FStyle == iesDataListX && column && column->OnNotInList) {
      TDataSet* list = column->ListDataSet();
      TField* field = column->Field();
      const bool found = list && list->Active() && field &&
                         list->Locate(field->LookupResultField(), Variant(Text()), TLocateOptions{loCaseInsensitive});
      if (!found) accept = false;
    }
    CloseList(accept);
    FDropNextChar = true;
    Key = 0;
    return;
  }
  // Only key-down messages open or close a list: characters share their codes with other keys.
  if (!KeyDownMessage) return;
  if (Key == VK_RETURN && Shift == TShiftState{ssCtrl} && !FListVisible) {
    OpenList();
    FDropNextChar = true;
    Key = 0;
  } else if ((Key == VK_UP || Key == VK_DOWN) && alt) {
    if (FListVisible) CloseList(true);
    else OpenList();
    Key = 0;
  }
}

bool TDBGridInplaceEdit::RouteListKey(TMessage& Message) {
  const bool keyDown = Message.Msg == WM_KEYDOWN || Message.Msg == WM_SYSKEYDOWN;
  const bool character = Message.Msg == WM_CHAR;
  if (!keyDown && !character) return false;
  if (character && FDropNextChar) {
    FDropNextChar = false;
    const WPARAM code = Message.WParam;
    if (code == VK_RETURN || code == u'\n' || code == VK_ESCAPE) return true;
  }
  const bool listStyle = FStyle == iesPickListX || FStyle == iesDataListX || FStyle == iesDateX ||
                         FStyle == iesAltDateX || UsesCalculator();
  Word key = Word(Message.WParam);
  if (listStyle) {
    HandleListKeys(key, KeyDataToShiftState(Message.LParam), keyDown);
    Message.WParam = key;
    if (key == 0) return true;
  }
  TColumnX* column = Column();
  if (character && key >= 32 && !FListVisible && column && column->AutoDropDown()) OpenList();
  if (!FListVisible || !FActiveList) return false;
  if (FActiveList == FCalculator) {
    if ((character && (key == VK_BACK || key == VK_RETURN || key == VK_ESCAPE || (key >= 32 && key <= 126)))) {
      FCalculator->Perform(Message.Msg, Message.WParam, Message.LParam);
      return true;
    }
    return false;
  }
  if (!keyDown) return false;
  const TShiftState shift = KeyDataToShiftState(Message.LParam);
  const bool dateStyle = FStyle == iesDateX || FStyle == iesAltDateX;
  const bool steering = ((key == VK_UP || key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT) && !shift.Contains(ssShift)) ||
                        (shift.Contains(ssCtrl) && (key == VK_HOME || key == VK_END)) ||
                        (dateStyle && (key == VK_LEFT || key == VK_RIGHT));
  if (!steering) return false;
  if (FActiveList == FPickList) {
    const Integer page = std::max<Integer>(1, FPickList->ClientHeight() / std::max<Integer>(1, FPickList->ItemHeight()) - 1);
    FPickList->SetItemIndex(ListIndexAfterKey(key, FPickList->ItemIndex(), FPickList->Count(), page));
    const Integer chosen = FPickList->ItemIndex();
    if (chosen >= 0 && FPickList->Items()->Strings(chosen) != Text()) SetListText(FPickList->Items()->Strings(chosen));
  } else if (FActiveList == FDataList) {
    Word listKey = key;
    FDataList->KeyDown(listKey, shift);
    SetListText(FDataList->DisplayText());
  } else {
    FActiveList->Perform(Message.Msg, Message.WParam, Message.LParam);
  }
  return true;
}

bool TDBGridInplaceEdit::RouteMRUKey(TMessage& Message) {
  if (!MRUBoxDroppedDown()) return false;
  const bool keyDown = Message.Msg == WM_KEYDOWN || Message.Msg == WM_SYSKEYDOWN;
  const Word key = Word(Message.WParam);
  if (Message.Msg == WM_CHAR && (key == VK_RETURN || key == VK_ESCAPE)) {
    CloseMRUList(key == VK_RETURN);
    return true;
  }
  if (!keyDown) return false;
  const TShiftState shift = KeyDataToShiftState(Message.LParam);
  if ((key == VK_RETURN || key == VK_ESCAPE) && !shift.Contains(ssAlt)) return true;
  const bool moves = ((key == VK_UP || key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT) && !shift.Contains(ssAlt)) ||
                     (shift.Contains(ssCtrl) && (key == VK_HOME || key == VK_END));
  if (!moves) return false;
  const Integer last = FMRUBox->Count() - 1;
  const Integer index = FMRUBox->ItemIndex();
  const Integer rows = std::max<Integer>(1, FMRUList->Rows());
  Integer next = index;
  switch (key) {
    case VK_UP: next = index - 1; break;
    case VK_DOWN: next = index + 1; break;
    case VK_PRIOR: next = index - rows; break;
    case VK_NEXT: next = index + rows; break;
    case VK_HOME: next = 0; break;
    default: next = last; break;
  }
  FMRUBox->SetItemIndex(std::clamp<Integer>(next, 0, std::max<Integer>(last, 0)));
  return true;
}

// A list's current text shows in the editor; the grid's editor text stays what the cell had,
// so that closing the list without its value restores it.
void TDBGridInplaceEdit::SetListText(const String& Value) {
  {
    TFlagScopeX listText(FLoadingCell);
    SetText(Value);
  }
  SelectAll();
}

void TDBGridInplaceEdit::WndProc(TMessage& Message) {
  if (RouteListKey(Message)) return;
  if (RouteMRUKey(Message)) return;
  TInplaceEdit::WndProc(Message);
}

void TDBGridInplaceEdit::DefaultHandler(TMessage& Message) { TInplaceEdit::DefaultHandler(Message); }

// ---- recent values

TMRUListboxX* TDBGridInplaceEdit::MRUBox() {
  if (!FMRUBox) FMRUBox = MakeMRUBox();
  return FMRUBox;
}

TMRUListboxX* TDBGridInplaceEdit::MakeMRUBox() {
  auto* box = new TMRUListboxX(this);
  box->SetVisible(false);
  box->SetCtl3D(false);
  box->SetSorted(true);
  box->OnMouseUp = [this](TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
    MRUBoxMouseUp(Sender, Button, Shift, X, Y);
  };
  return box;
}

bool TDBGridInplaceEdit::MRUBoxDroppedDown() const { return FMRUBox && FMRUList && FMRUList->DroppedDown(); }

void TDBGridInplaceEdit::FollowMRUText() {
  if (!FUserTextChanged) return;
  FUserTextChanged = false;
  const String blank = IsMasked() ? Engine().TextFromEditText(Engine().EmptyEditText()) : String();
  if (MRUBoxDroppedDown() && Text() == blank) CloseMRUList(false);
  else if (FMRUList && FMRUList->Active() && IsWindowShown() && !FDroppedDown && Text() != blank) OpenMRUList();
}

void TDBGridInplaceEdit::OpenMRUList() {
  if (!FMRUList) return;
  TMRUListboxX* box = MRUBox();
  box->Items()->Clear();
  FMRUList->CollectMatches(box->Items(), Text());
  const Integer count = box->Items()->Count();
  const bool dropped = FMRUList->DroppedDown();
  if (dropped && count == 0) {
    CloseMRUList(false);
    return;
  }
  if (count == 0) return;
  TRect area;
  TextRect(area);
  if (!dropped) {
    box->SetColor(Color());
    box->Font()->Assign(Font());
    box->SetItemHeight(box->MeasureTextHeight());
    box->SetItemIndex(-1);
    box->SetWidth(FMRUList->Width() > area.Width() ? FMRUList->Width() : area.Width());
  }
  box->SizeToRows(std::min(count, FMRUList->Rows()));
  const TPoint origin = ClientToScreen(TPoint(0, 0));
  OffsetRect(area, origin.X, origin.Y);
  TPoint topLeft;
  PlaceDropDownAtRect(area, box, 0, topLeft);
  box->SetBounds(topLeft.X, topLeft.Y, box->Width(), box->Height());
  if (dropped) return;
  box->SetVisible(true);
  box->SizeGrip()->ShowGrip(true);
  box->UpdateScrollBar();
  FMRUList->SetDroppedDown(true);
  box->SetUserSized(false);
}

void TDBGridInplaceEdit::CloseMRUList(bool Accept) {
  if (!MRUBoxDroppedDown()) return;
  if (TControl* capture = GetCaptureControl()) capture->Perform(WM_CANCELMODE);
  if (FMRUBox->UserSized()) MRUSizeChanged();
  FMRUBox->SetVisible(false);
  FMRUList->SetDroppedDown(false);
  TCustomDBGridX* grid = DBGrid();
  if (Accept && !ReadOnly() && grid->GridDataLink()->Edit()) {
    const Integer index = FMRUBox->ItemIndex();
    if (index >= 0) {
      SetText(FMRUBox->Items()->Strings(index));
      grid->SetEditorText(Text());
    }
  }
  if (Focused()) SelectAll();
}

void TDBGridInplaceEdit::MRUBoxMouseUp(TObject*, TMouseButton Button, TShiftState, Integer X, Integer Y) {
  if (Button == mbLeft) CloseMRUList(PtInRect(FMRUBox->ClientRect(), TPoint(X, Y)));
}

void TDBGridInplaceEdit::MRUSizeChanged() {
  if (!MRUBoxDroppedDown()) return;
  FMRUList->SetRows(std::max<Integer>(1, FMRUBox->ClientHeight() / std::max<Integer>(1, FMRUBox->ItemHeight())));
  FMRUList->SetWidth(FMRUBox->Width());
}

void TDBGridInplaceEdit::AcceptMRUItem(const String& Text, bool& Accept) {
  const String own = this->Text();
  Accept = FMRUList && (FMRUList->CaseSensitive() ? Text.left(own.length()) == own : AnsiSameText(Text.left(own.length()), own));
  if (FMRUList && FMRUList->OnFilterHook) FMRUList->OnFilterHook(FMRUList, Text, Accept);
}
