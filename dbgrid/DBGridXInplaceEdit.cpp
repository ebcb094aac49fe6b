// The grid's in-place editor: the style a column asks for, loading a cell, the buttons inside
// the editor and their events, the keys the editor keeps or hands on, completion of typed and
// pasted text against pick lists and lookup lists.
#include "dbgrid/DBGridXInplaceEdit.h"
#include "dbgrid/DBGridXGlobals.h"
#include "dbgrid/DBLookupGridX.h"
#include "grid/ButtonFacesX.h"
#include "grid/DBCtrlsX.h"
#include "grid/CalculatorX.h"
#include "grid/LibraryRoutinesX.h"
#include "grid/MRUListX.h"
#include "grid/PaintHelpersX.h"
#include "grid/PopupListboxX.h"
#include "grid/PopupMonthCalendarX.h"
#include "platform/rtl/ScopeGuards.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Panels.h"
#include "platform/ui/SystemColors.h"
#include <cmath>

namespace {
bool IsDateType(TFieldType Type) { return Type == ftDate || Type == ftDateTime || Type == ftTimeStamp; }

bool AllKeyFieldsModifiable(TField* Field) {
  if (!Field->DataSet() || Field->KeyFields().isEmpty()) return false;
  std::vector<TField*> keys;
  try {
    Field->DataSet()->GetFieldList(keys, Field->KeyFields());
  } catch (const EDatabaseError&) {
    return false;
  }
  for (TField* key : keys)
    if (!key->CanModify()) return false;
  return !keys.empty();
}

bool UpDownStyle(TInplaceEditStyleX Style) { return Style == iesUpDownX || Style == iesAltUpDownX; }
}  // namespace

// ---- styles

TEditButtonStyleX DefaultButtonStyleOf(TInplaceEditStyleX Style) {
  switch (Style) {
    case iesEllipsisX: return ebsEllipsisX;
    case iesUpDownX: return ebsUpDownX;
    case iesAltUpDownX: return ebsAltUpDownX;
    case iesAltDropDownX:
    case iesAltDateX: return ebsAltDropDownX;
    default: return ebsDropDownX;
  }
}

TInplaceEditStyleX TColumnX::EditorStyle(bool ForEditor) const {
  TField* field = Field();
  switch (ButtonStyle()) {
    case cbsEllipsis: return iesEllipsisX;
    case cbsNone: return iesPlainX;
    case cbsUpDown: return iesUpDownX;
    case cbsDropDown: return iesDropDownX;
    case cbsAltUpDown: return iesAltUpDownX;
    case cbsAltDropDown: return field && IsDateType(field->DataType()) ? iesAltDateX : iesAltDropDownX;
    case cbsAuto: break;
  }
  if (!field) return iesPlainX;
  if (field->Lookup()) {
    if (!ForEditor && !(field->DataSet() && field->DataSet()->Active())) return iesPlainX;
    TCustomDBGridX* grid = Grid();
    const bool gridWritable = !grid || (!grid->ReadOnly() && grid->GridDataLink()->Active() &&
                                        !grid->GridDataLink()->ReadOnly());
    const bool columnReadOnly = IsAssigned(cvReadOnly) && ReadOnly();
    return AllKeyFieldsModifiable(field) && !columnReadOnly && gridWritable ? iesDataListX : iesPlainX;
  }
  if (PickList()->Count() > 0 && !ReadOnly()) return iesPickListX;
  if (IsDateType(field->DataType()) && !ReadOnly()) return iesDateX;
  return iesPlainX;
}

Integer FindListItem(TStrings* Strings, const String& Text, bool Partial) {
  for (Integer i = 0; i < Strings->Count(); ++i) {
    const String item = Strings->Strings(i);
    if (AnsiSameText(Partial ? item.left(Text.length()) : item, Text)) return i;
  }
  return -1;
}

// ---- the editor

TDBGridInplaceEdit::TDBGridInplaceEdit(TComponent* AOwner)
    : TInplaceEdit(AOwner), FLookupSource(std::make_unique<TDataSource>(nullptr)) {}

TDBGridInplaceEdit::~TDBGridInplaceEdit() {
  FDestroying = true;
  if (FDataList) FDataList->RemoveFreeNotification(this);
}

TCustomDBGridX* TDBGridInplaceEdit::DBGrid() const { return static_cast<TCustomDBGridX*>(Grid()); }

TColumnX* TDBGridInplaceEdit::Column() const {
  TCustomDBGridX* grid = DBGrid();
  if (!grid) return nullptr;
  const Integer index = grid->SelectedIndex();
  return index >= 0 && index < grid->Columns()->Count() ? grid->Columns()->Items(index) : nullptr;
}

TEditButtonControlX* TDBGridInplaceEdit::ButtonControl(Integer Index) const {
  return Index >= 0 && Index < Integer(FButtons.size()) ? FButtons[size_t(Index)].Button : nullptr;
}

void TDBGridInplaceEdit::SetWordWrap(bool Value) {
  if (Value == FWordWrap) return;
  FWordWrap = Value;
  Invalidate();
}

String TDBGridInplaceEdit::TextWithoutSelection() const {
  const String text = Text();
  return text.left(SelStart()) + text.mid(SelStart() + SelLength());
}

TEditButtonX* TDBGridInplaceEdit::ButtonForShortCut(TShortCut ShortCut) const {
  TColumnX* column = Column();
  if (!column || ShortCut == 0) return nullptr;
  TEditButtonsX* buttons = column->EditButtons();
  for (Integer i = 0; i < buttons->Count(); ++i)
    if (buttons->GetButton(i)->ShortCut() == ShortCut) return buttons->GetButton(i);
  return nullptr;
}

void TDBGridInplaceEdit::ApplyEditorStyle(TInplaceEditStyleX Style) {
  FStyle = Style;
  TColumnX* column = Column();
  switch (Style) {
    case iesPickListX:
      if (!FPickList) {
        FPickList = new TPopupListboxX(this);
        FPickList->SetVisible(false);
        FPickList->OnMouseUp = [this](TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
          PickListMouseUp(Sender, Button, Shift, X, Y);
        };
      }
      FPickList->SetImages(column ? column->ImageList() : nullptr);
      FActiveList = FPickList;
      break;
    case iesDataListX: {
      TPopupDataGridX* grid = column ? column->LookupGrid() : nullptr;
      if (grid && grid != FDataList) {
        if (FDataList) FDataList->RemoveFreeNotification(this);
        FDataList = grid;
        FDataList->SetVisible(false);
        FDataList->SetCtl3D(true);
        FDataList->CloseUpRequest = [this](TObject* Sender, bool Accept) { DataListCloseUp(Sender, Accept); };
        FDataList->FreeNotification(this);
      }
      FActiveList = FDataList;
      break;
    }
    case iesDateX:
    case iesAltDateX:
      if (!FCalendar) {
        FCalendar = new TPopupMonthCalendarX(this);
        FCalendar->SetVisible(false);
      }
      FActiveList = FCalendar;
      break;
    case iesDropDownX:
    case iesAltDropDownX:
      FActiveList = UsesCalculator() ? static_cast<TWinControl*>(MakeCalculator()) : nullptr;
      break;
    default: FActiveList = nullptr; break;
  }
  if (column) SetReadOnly(column->ReadOnly());
  Invalidate();
}

bool TDBGridInplaceEdit::UsesCalculator() const {
  TColumnX* column = Column();
  return (FStyle == iesDropDownX || FStyle == iesAltDropDownX) && column &&
         dynamic_cast<TNumericField*>(column->Field()) != nullptr;
}

TPopupCalculatorX* TDBGridInplaceEdit::MakeCalculator() {
  if (!FCalculator) {
    FCalculator = new TPopupCalculatorX(this);
    FCalculator->SetVisible(false);
    if (HandleAllocated()) FCalculator->HandleNeeded();
  }
  return FCalculator;
}

// Texts set while loading are the cell's own and go back to the grid only as its editor text.
void TDBGridInplaceEdit::LoadCellContents() {
  TColumnX* column = Column();
  TCustomDBGridX* grid = DBGrid();
  if (!column) {
    TInplaceEdit::LoadCellContents();
    return;
  }
  TFlagScopeX loading(FLoadingCell);
  ApplyEditorStyle(column->EditorStyle(true));
  Font()->Assign(column->Font());
  TColCellParamsX* params = grid->CellParams();
  column->FillCellParams(params);
  params->Background = column->Color();
  params->Font = Font();
  params->State = TGridDrawState{gdSelected, gdFocused};
  Variant key;
  params->Text = column->LoadEditorText(key);
  grid->SetEditorText(params->Text);
  grid->SetEditKeyValue(key);
  const bool computedReadOnly = !column->CanEditValue(false);
  params->ReadOnly = computedReadOnly;
  params->Font = Font();
  grid->FireGetCellParams(column, Font(), params->Background, params->State);
  if (!grid->ComponentState().Contains(csLoading)) column->FireGetCellParams(true, params);
  SetColor(params->Background);
  FImageIndex = params->ImageIndex;
  FReadOnlyFromCellParams = params->ReadOnly != computedReadOnly;
  if (FReadOnlyFromCellParams) SetReadOnly(params->ReadOnly);
  if (grid->RowPanel()->Active()) SetWordWrap(column->WordWrap() && column->InRowLineHeight() > 1);
  else SetWordWrap(column->WordWrap() && column->WrapsInRow(grid->RowHeights(grid->Row())));
  SetText(String());
  SetEditMask(column->EffectiveEditMask());
  grid->UpdateIme();
  SetText(params->Text);
  SetMaxLength(grid->GetCellEditMaxLength());
  FMRUList = column->MRUList();
}

void TDBGridInplaceEdit::ReloadKeepingList() {
  TFlagScopeX keep(FKeepListOpen);
  LoadCellContents();
  SelectAll();
}

// ---- layout

// The room left for the text: inside the margins, less the buttons on the right, the column
// image and the tree indent on the left.
void TDBGridInplaceEdit::TextRect(TRect& Rect) {
  TCustomDBGridX* grid = DBGrid();
  Rect = grid->Flat() ? TRect(2, 1, Width() - 2, Height() - 1) : TRect(2, 2, Width() - 2, Height());
  TCanvas measure;
  measure.SetFont(Font());
  if (Rect.Height() < measure.TextHeight(QStringLiteral("Wg")) && Rect.Bottom < Height()) Rect.Bottom += 1;
  if (FButtonsWidth > 0) Rect.Right -= FButtonsWidth;
  TColumnX* column = Column();
  if (column && column->ImageList() && column->ShowImageAndText()) Rect.Left += column->ImageList()->Width() + 5;
  if (InTreeColumn()) Rect.Left += grid->TreeNodeIndent() + 1;
}

bool TDBGridInplaceEdit::InTreeColumn() const {
  TCustomDBGridX* grid = DBGrid();
  TColumnX* column = Column();
  return column && grid->TreeViewShown() && grid->FVisibleColumns.Count() > 0 && grid->FVisibleColumns[0] == column;
}

void TDBGridInplaceEdit::SetIme(TImeMode Mode, const String& Name) {
  FImeMode = Mode;
  FImeName = Name;
  ActivateEditorIme();
}

// A masked edit takes no composed input at all.
void TDBGridInplaceEdit::ActivateEditorIme() {
  if (!IsMasked()) ActivateIme(this, FImeMode, FImeName);
}

TEditButtonControlX* TDBGridInplaceEdit::MakeButtonControl() {
  auto* control = new TEditButtonControlX(this);
  control->SetBounds(0, 0, 10, 17);
  control->SetVisible(true);
  control->SetParent(this);
  return control;
}

void TDBGridInplaceEdit::LayoutButtons() {
  TColumnX* column = Column();
  TCustomDBGridX* grid = DBGrid();
  const size_t count = size_t(column ? column->EditButtons()->Count() : 0) + 1;
  while (FButtons.size() > count) {
    delete FButtons.back().Button;
    delete FButtons.back().Separator;
    FButtons.pop_back();
  }
  while (FButtons.size() < count) {
    TButtonPair pair;
    pair.Button = MakeButtonControl();
    pair.Separator = new TShape(this);
    pair.Separator->SetParent(this);
    FButtons.push_back(pair);
  }
  const bool flat = grid->Flat();
  const Integer clientHeight = ClientHeight();
  Integer height = clientHeight;
  std::vector<Integer> widths(count);
  for (size_t i = 0; i < count; ++i) {
    TEditButtonControlX* control = FButtons[i].Button;
    bool visible;
    Integer ownWidth = 0;
    if (i == 0) {
      visible = FStyle != iesPlainX;
      control->SetStyle(DefaultButtonStyleOf(FStyle));
      TBitmap noGlyph;
      control->Glyph()->Assign(&noGlyph);
      control->SetHint(String());
    } else {
      TEditButtonX* button = column->EditButtons()->GetButton(Integer(i) - 1);
      visible = button->Visible();
      ownWidth = button->Width();
      control->SetEnabled(button->Enabled());
      control->SetStyle(button->Style());
      control->Glyph()->Assign(button->Glyph());
      control->SetHint(button->Hint());
    }
    control->SetVisible(visible);
    control->SetFlat(flat);
    widths[i] = !visible ? 0 : ownWidth > 0 ? ownWidth : flat ? FlatButtonWidth : GetSystemMetrics(SM_CXVSCROLL);
    if (visible && clientHeight > Integer(std::lround(widths[i] * 3.0 / 2)))
      height = std::min(height, EditButtonHeightForWidth(widths[i], flat));
    control->SetTag(0);
    control->OnDown = [this](TObject* Sender, bool Top, bool& AutoRepeat, bool& Handled) {
      ButtonDown(Sender, Top, AutoRepeat, Handled);
    };
    control->OnClick = [this](TObject* Sender) { ButtonClick(Sender); };
    control->OnMouseMove = [this](TObject* Sender, TShiftState Shift, Integer X, Integer Y) {
      ButtonMouseMove(Sender, Shift, X, Y);
    };
    control->OnMouseUp = [this](TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
      ButtonMouseUp(Sender, Button, Shift, X, Y);
    };
  }
  Integer right = ClientWidth();
  for (size_t i = count; i-- > 0;) {
    TShape* separator = FButtons[i].Separator;
    const Integer separatorWidth = flat && widths[i] > 0 ? 1 : 0;
    FButtons[i].Button->SetBounds(right - widths[i], 0, widths[i], height);
    right -= widths[i];
    separator->SetVisible(separatorWidth > 0);
    separator->SetBounds(right - separatorWidth, 0, separatorWidth, height);
    right -= separatorWidth;
  }
  FButtonsWidth = ClientWidth() - right;
}

void TDBGridInplaceEdit::UpdateEditRect() {
  LayoutButtons();
  for (const TButtonPair& pair : FButtons) {
    if (!pair.Button->Enabled() && pair.Button != FButtons.front().Button) continue;
    pair.Button->SetEnabled(true);
    pair.Button->SetActive(true);
    pair.Separator->Pen()->SetColor(clBtnFace);
  }
  TRect r;
  TextRect(r);
  Perform(EM_SETRECTNP, 0, LPARAM(&r));
  Perform(EM_SCROLLCARET);
}

// ---- buttons

void TDBGridInplaceEdit::ButtonDown(TObject* Sender, bool TopButton, bool& AutoRepeat, bool& Handled) {
  FocusIfShown();
  Handled = false;
  TColumnX* column = Column();
  if (!column) return;
  if (Sender == ButtonControl(0)) {
    if (column->OnEditButtonDown) column->OnEditButtonDown(Sender, TopButton, AutoRepeat, Handled);
    if (!Handled) DefaultButtonDown(!TopButton);
    return;
  }
  for (size_t i = 1; i < FButtons.size(); ++i) {
    if (FButtons[i].Button != Sender) continue;
    TEditButtonX* button = column->EditButtons()->GetButton(Integer(i) - 1);
    if (button->OnDown) button->OnDown(Sender, TopButton, AutoRepeat, Handled);
    if (!Handled) PopupEditButtonMenu(button, FButtons[i].Button);
    return;
  }
}

void TDBGridInplaceEdit::DefaultButtonDown(bool Bottom) {
  if (UpDownStyle(FStyle)) {
    StepByButton(Bottom);
  } else if (!FDroppedDown) {
    OpenList();
    FNoClickClose = true;
  } else {
    // A button held down by its open list gives no click: pressing it again closes the list.
    FNoClickClose = false;
    CloseList(false);
  }
}

void TDBGridInplaceEdit::ButtonClick(TObject* Sender) {
  bool handled = false;
  TColumnX* column = Column();
  const bool main = Sender == ButtonControl(0);
  if (main && (FStyle == iesEllipsisX || FStyle == iesDropDownX || FStyle == iesAltDropDownX))
    DBGrid()->FireEditButtonClick();
  if (column && main) {
    if (column->OnEditButtonClick) column->OnEditButtonClick(Sender, handled);
  } else if (column) {
    for (size_t i = 1; i < FButtons.size(); ++i)
      if (FButtons[i].Button == Sender) column->EditButtons()->GetButton(Integer(i) - 1)->PerformClick(Sender, handled);
  }
  if (!handled && FDroppedDown && !FNoClickClose && main) CloseList(false);
  FNoClickClose = false;
}

void TDBGridInplaceEdit::ButtonMouseMove(TObject* Sender, TShiftState, Integer X, Integer Y) {
  if (Sender == ButtonControl(0)) PassDragToList(Sender, X, Y);
}

void TDBGridInplaceEdit::ButtonMouseUp(TObject* Sender, TMouseButton, TShiftState, Integer X, Integer Y) {
  const auto* control = dynamic_cast<const TControl*>(Sender);
  if (control && (X < 0 || X >= control->ClientWidth() || Y < 0 || Y > control->ClientHeight())) FNoClickClose = false;
}

void TDBGridInplaceEdit::StepByButton(bool Bottom) {
  TColumnX* column = Column();
  TCustomDBGridX* grid = DBGrid();
  if (!column || !column->CanEditValue(true)) return;
  Variant key;
  if (column->LoadEditorText(key) != Text()) {
    grid->SetEditorText(Text());
    grid->UpdateData();
  }
  const Extended sign = column->CellKind() != TColumnX::ckText ? -1 : 1;
  column->StepValue(Bottom ? -column->Increment() * sign : column->Increment() * sign);
}

// ---- keys

bool TDBGridInplaceEdit::EnterDataSetEdit() {
  TGridDataLinkX* link = DBGrid()->GridDataLink();
  link->Edit();
  if (!link->Editing()) return false;
  link->MarkModified();
  return true;
}

void TDBGridInplaceEdit::SetTextKeepingGrid(const String& Value, Integer Start, Integer Length) {
  SetText(Value);
  DBGrid()->SetEditorText(Value);
  SetSelStart(Start);
  SetSelLength(Length);
}

void TDBGridInplaceEdit::TellListsKey() {
  TColumnX* column = Column();
  if (FDataList) FDataList->SetKeyValue(DBGrid()->EditKeyValue());
  if (FPickList && column) FPickList->SetItemIndex(FindListItem(column->PickList(), Text(), false));
}

void TDBGridInplaceEdit::ResyncEditKey() {
  TColumnX* column = Column();
  TCustomDBGridX* grid = DBGrid();
  if (!column || !column->CanEditValue(true)) return;
  grid->SetEditorText(Text());
  if (FStyle != iesDataListX) return;
  TDataSet* list = column->ListDataSet();
  TField* field = column->Field();
  TField* result = list && list->Active() ? list->FindField(field->LookupResultField()) : nullptr;
  if (result && LocateListText(list, result, Text(), true)) grid->SetEditKeyValue(list->FieldValues(field->LookupKeyFields()));
  else grid->SetEditKeyValue(Variant::Null());
}

bool TDBGridInplaceEdit::LocateListText(TDataSet* List, TField* Field, const String& Text, bool Exact) {
  TLocateOptions options{loCaseInsensitive};
  if (!Exact) options.Include(loPartialKey);
  return List->Locate(Field->FieldName(), Variant(Text), options);
}

// Completes NewText (typed or pasted) against the column's list; the caret goes after the first
// TypedLength characters and the completion is selected.
bool TDBGridInplaceEdit::CompleteText(const String& NewText, Integer TypedLength, bool Typed) {
  TColumnX* column = Column();
  TCustomDBGridX* grid = DBGrid();
  TField* field = column->Field();
  if (FStyle == iesDataListX) {
    TDataSet* list = column->ListDataSet();
    TField* result = list && list->Active() ? list->FindField(field->LookupResultField()) : nullptr;
    // A whole text the list holds is taken as it is before a longer one that starts with it.
    const bool found = result && ((!Typed && LocateListText(list, result, NewText, true)) ||
                                  LocateListText(list, result, NewText, false));
    if (found) {
      EnterDataSetEdit();
      const String text = result->Text();
      grid->SetEditKeyValue(list->FieldValues(field->LookupKeyFields()));
      SetTextKeepingGrid(text, TypedLength, Integer(text.length()) - TypedLength);
    } else if (column->OnNotInList) {
      EnterDataSetEdit();
      grid->SetEditKeyValue(Variant::Null());
      SetTextKeepingGrid(NewText, TypedLength, 0);
    } else {
      return false;
    }
    TellListsKey();
    return true;
  }
  TStrings* picks = column->PickList();
  Integer index = Typed ? -1 : FindListItem(picks, NewText, false);
  if (index < 0) index = FindListItem(picks, NewText, true);
  if (index >= 0) {
    EnterDataSetEdit();
    const String item = picks->Strings(index);
    SetTextKeepingGrid(item, TypedLength, Integer(item.length()) - TypedLength);
    if (FPickList) FPickList->SetItemIndex(index);
    return true;
  }
  if (column->CellKind() == TColumnX::ckKeyList && column->OnNotInList) {
    EnterDataSetEdit();
    SetTextKeepingGrid(NewText, TypedLength, 0);
    grid->SetEditKeyValue(Variant::Null());
    if (FPickList) FPickList->SetItemIndex(-1);
    return true;
  }
  return false;
}

void TDBGridInplaceEdit::HandleTypedText(String& Text) {
  TColumnX* column = Column();
  TCustomDBGridX* grid = DBGrid();
  if (!column || Text.isEmpty()) return;
  const bool backspace = Text == QStringLiteral("\b");
  if (Text[0].unicode() < 32 && !backspace) return;
  const String prefix = this->Text().left(SelStart()) + Text;
  if (FStyle == iesDataListX) {
    if (!grid->BeginCellEdit() || !grid->GridAllowsEdit() || !column->ListDataSet()) return;
    Text.clear();
    if (!backspace) CompleteText(prefix, Integer(prefix.length()), true);
    return;
  }
  const bool keyList = column->CellKind() == TColumnX::ckKeyList;
  if ((!keyList && FStyle != iesPickListX) || !grid->BeginCellEdit()) return;
  if (!backspace && CompleteText(prefix, Integer(prefix.length()), true)) Text.clear();
  // A key-list cell shows only texts its keys stand for.
  if (keyList) Text.clear();
}

void TDBGridInplaceEdit::KeyDown(Word& Key, TShiftState Shift) {
  TColumnX* column = Column();
  TCustomDBGridX* grid = DBGrid();
  if (!column) {
    TInplaceEdit::KeyDown(Key, Shift);
    return;
  }
  const TColumnX::TCellKindX kind = column->CellKind();
  const bool listKind = kind == TColumnX::ckLookup || kind == TColumnX::ckKeyList;
  const TShortCut shortCut = ::ShortCut(Key, Shift);
  const TDBGridXGlobals& globals = DBGridXGlobals();
  if ((FStyle == iesEllipsisX || FStyle == iesDropDownX) && Key == VK_RETURN && Shift == TShiftState{ssCtrl}) {
    FDropNextChar = true;
    grid->FireEditButtonClick();
    Key = 0;
    return;
  }
  if (Key == VK_DELETE && Shift.IsEmpty() && listKind && column->CanEditValue(false)) {
    if (SelLength() == Integer(Text().length()) && column->CanEditValue(true)) {
      if (FStyle == iesDataListX) {
        if (TCustomDBGridX::FieldCanModifyX(column->Field())) {
          EnterDataSetEdit();
          grid->SetEditKeyValue(Variant::Null());
          SetTextKeepingGrid(String(), 0, 0);
          if (FDataList) FDataList->SetKeyValue(Variant::Null());
        }
      } else if (FStyle == iesPickListX && kind == TColumnX::ckKeyList) {
        SetTextKeepingGrid(String(), 0, 0);
      }
    } else if (column->OnNotInList && column->CanEditValue(true)) {
      const Integer start = SelStart();
      const String rest = SelLength() > 0 ? TextWithoutSelection() : Text().remove(start, 1);
      SetTextKeepingGrid(rest, start, 0);
      ResyncEditKey();
      TellListsKey();
    }
    Key = 0;
    return;
  }
  if (Key == VK_BACK && listKind) {
    const Integer start = SelStart();
    if (!column->OnNotInList) {
      // Only texts of the list may stand here: Backspace steps back over the completion.
      SetSelStart(std::max<Integer>(start - 1, 0));
      SetSelLength(0);
    } else if (column->CanEditValue(true)) {
      EnterDataSetEdit();
      String rest = TextWithoutSelection();
      if (start > 0) rest.remove(start - 1, 1);
      SetTextKeepingGrid(rest, std::max<Integer>(start - 1, 0), 0);
      ResyncEditKey();
      TellListsKey();
    }
    Key = 0;
    return;
  }
  if (FWordWrap && (Key == VK_UP || Key == VK_DOWN) && !grid->Options().Contains(dgAlwaysShowEditor)) {
    TCustomMaskEdit::KeyDown(Key, Shift);
    return;
  }
  const bool gridShortCut =
      (Key == VK_RETURN && !MRUBoxDroppedDown() && grid->OptionsX().Contains(dghEnterAsTab)) ||
      shortCut == globals.PreviousValueShortCut ||
      (shortCut == globals.IncSearchShortCut && grid->OptionsX().Contains(dghIncSearch)) ||
      (shortCut == globals.FindDialogShortCut && grid->OptionsX().Contains(dghDialogFind));
  if (gridShortCut) {
    grid->KeyDown(Key, Shift);
    Key = 0;
    return;
  }
  TSpecRowX* specRow = column->DropDownSpecRow();
  if (FStyle == iesDataListX && specRow->Visible() && shortCut == specRow->ShortCut()) {
    if (column->CanEditValue(false) && column->CanEditValue(true)) {
      const String text = specRow->ReadCellText(0);
      SetTextKeepingGrid(text, 0, 0);
      grid->SetEditKeyValue(specRow->Value());
      if (FDataList) FDataList->SetKeyValue(specRow->Value());
      SelectAll();
    }
    Key = 0;
    return;
  }
  if (TEditButtonX* button = ButtonForShortCut(shortCut)) {
    TEditButtonControlX* control = ButtonControl(button->Index() + 1);
    bool autoRepeat = false;
    if (control) {
      control->DoButtonDown(false, autoRepeat);
      ButtonClick(control);
    }
    Key = 0;
    return;
  }
  TInplaceEdit::KeyDown(Key, Shift);
}

void TDBGridInplaceEdit::KeyUp(Word& Key, TShiftState Shift) {
  TInplaceEdit::KeyUp(Key, Shift);
  if (FStyle == iesDataListX && FListVisible && FDataList && Key == VK_CONTROL) FDataList->KeyUp(Key, Shift);
}

void TDBGridInplaceEdit::KeyPress(QChar& Key) {
  TColumnX* column = Column();
  if (column && dynamic_cast<TNumericField*>(column->Field()) && (Key == u'.' || Key == u',')) Key = DecimalSeparator;
  const QChar typed = Key;
  String text(Key);
  HandleTypedText(text);
  if (text.isEmpty()) {
    Key = QChar();
    return;
  }
  if (Key == u'\n' && !FWordWrap && ReadKeyboardShiftState() == TShiftState{ssCtrl}) {
    Key = QChar();
    return;
  }
  TInplaceEdit::KeyPress(Key);
  if (typed == u'\b' && Text().isEmpty() && FMRUList && FMRUList->Active() && !FDroppedDown) OpenMRUList();
}

// ---- paste

void TDBGridInplaceEdit::PasteText() {
  TColumnX* column = Column();
  TCustomDBGridX* grid = DBGrid();
  if (!column || !grid->GridAllowsEdit() || !column->CanEditValue(false)) return;
  const String clip = Clipboard()->HasFormat(CF_TEXT) || Clipboard()->HasFormat(CF_UNICODETEXT) ? Clipboard()->AsText()
                                                                                                  : String();
  const Integer start = SelStart();
  const String before = Text().left(start), after = Text().mid(start + SelLength());
  const bool keyList = column->CellKind() == TColumnX::ckKeyList;
  if (FStyle != iesDataListX && !keyList) {
    if (clip.isEmpty() || !EditCanModify()) {
      TMessage paste{WM_PASTE, 0, 0, 0};
      TCustomMaskEdit::Dispatch(paste);
      return;
    }
    const String pasted = column->StripInvalidChars(clip);
    EnterDataSetEdit();
    SetTextKeepingGrid(before + pasted + after, start + Integer(pasted.length()), 0);
    return;
  }
  if (clip.isEmpty()) return;
  if (keyList && !grid->BeginCellEdit()) return;
  const String text = before + clip + after;
  CompleteText(text, Integer(text.length()), false);
}

// ---- messages

void TDBGridInplaceEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PASTE: PasteText(); return;
    case WM_KILLFOCUS:
      CloseList(false);
      CloseMRUList(false);
      TInplaceEdit::Dispatch(Message);
      return;
    default: TInplaceEdit::Dispatch(Message);
  }
}

void TDBGridInplaceEdit::WidgetTextChanged(const String& Value) {
  if (FLoadingCell) {
    TCustomMaskEdit::WidgetTextChanged(Value);
    return;
  }
  TInplaceEdit::WidgetTextChanged(Value);
  TextChanged();
  FollowMRUText();
}

void TDBGridInplaceEdit::TextChanged() {
  FUserTextChanged = true;
  UpdateImageIndex();
}

void TDBGridInplaceEdit::UpdateImageIndex() {
  TColumnX* column = Column();
  if (!column || !column->ImageList()) return;
  Integer index = -1;
  TField* field = column->Field();
  if (column->PickList()->Count() == 0 && field && IsNumericFieldType(field->DataType()) && !field->IsNull()) {
    const double value = field->AsFloat();
    if (value >= -2147483648.0 && value <= 2147483647.0) index = Integer(value);
  } else if (column->PickList()->Count() > 0) {
    index = column->PickList()->IndexOf(Text());
  }
  if (index == -1) index = column->NotInKeyListIndex();
  if (index == FImageIndex) return;
  FImageIndex = index;
  Invalidate();
}

void TDBGridInplaceEdit::PaintRequiredMark(TCanvas* Canvas) {
  TColumnX* column = Column();
  TCustomDBGridX* grid = DBGrid();
  if (!column || !column->Field()) return;
  TField* field = column->Field();
  bool draw = column->HighlightRequired() && grid->GridDataLink()->Active() &&
              InEditModes(grid->DataSet()->State()) && field->Required() && field->IsNull();
  if (column->OnCheckDrawRequiredState) column->OnCheckDrawRequiredState(this, Text(), draw);
  if (!draw) return;
  TRect r;
  TextRect(r);
  Canvas->Pen()->SetColor(clRed);
  Canvas->Pen()->SetStyle(psDot);
  Canvas->MoveTo(r.Left + 2, ClientHeight() - 1);
  Canvas->LineTo(r.Right - 3, ClientHeight() - 1);
}

void TDBGridInplaceEdit::PaintImage(TCanvas* Canvas) {
  TColumnX* column = Column();
  if (!Visible() || !column || !column->ImageList() || FImageIndex < 0) return;
  TCustomImageList* images = column->ImageList();
  TRect r(2, 0, 2 + images->Width(), Height());
  if (InTreeColumn()) OffsetRect(r, DBGrid()->TreeNodeIndent(), 0);
  Canvas->Brush()->SetColor(Color());
  Canvas->FillRect(r);
  DrawImageCentered(Canvas, r, images, FImageIndex, false);
}

// The edit control fills its whole window when it paints, so the marks and the image go
// on top of it, where its text never reaches.
void TDBGridInplaceEdit::PaintWindow(TCanvas* Canvas) {
  TInplaceEdit::PaintWindow(Canvas);
  PaintRequiredMark(Canvas);
  PaintImage(Canvas);
}

// The text cursor only where text can be typed: the arrow over the image and the buttons.
void TDBGridInplaceEdit::WMSetCursor(TMessage& Message) {
  if (TWMSetCursor{Message}.HitTest() != HTCLIENT) {
    TInplaceEdit::WMSetCursor(Message);
    return;
  }
  TRect text;
  TextRect(text);
  const TPoint p = ScreenToClient(GetCursorPos());
  SetCursorShape(p.X >= text.Left && p.X < text.Right ? crIBeam : crArrow);
  Message.Result = 1;
}

void TDBGridInplaceEdit::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TInplaceEdit::MouseDown(Button, Shift, X, Y);
  TColumnX* column = Column();
  if (column && column->DblClickNextVal() && Shift.Contains(ssDouble))
    column->StepValue(Shift.Contains(ssShift) ? -1 : 1);
}

bool TDBGridInplaceEdit::DoMouseWheel(TShiftState Shift, Integer WheelDelta, TPoint MousePos) {
  if (FListVisible) return true;
  return TInplaceEdit::DoMouseWheel(Shift, WheelDelta, MousePos);
}

void TDBGridInplaceEdit::Notification(TComponent* AComponent, TOperation Operation) {
  TInplaceEdit::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FDataList) {
    if (FActiveList == FDataList) FActiveList = nullptr;
    FDataList = nullptr;
    const bool gridGoing = !DBGrid() || DBGrid()->ComponentState().Contains(csDestroying);
    if (!FDestroying && !gridGoing && FStyle == iesDataListX) ApplyEditorStyle(iesPlainX);
  }
  if (AComponent == FPickList) FPickList = nullptr;
  if (AComponent == FCalendar) FCalendar = nullptr;
  if (AComponent == FCalculator) FCalculator = nullptr;
  if (AComponent == FMRUBox) FMRUBox = nullptr;
  if (AComponent == FActiveList) FActiveList = nullptr;
}
