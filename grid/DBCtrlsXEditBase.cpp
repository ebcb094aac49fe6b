#include "grid/DBCtrlsX.h"
#include "grid/ToolTipsWindow.h"
#include "grid/ButtonFacesX.h"
#include "grid/MRUListX.h"
#include "grid/PopupListboxX.h"
#include "grid/PlatformShimsX.h"
#include "platform/ui/SystemColors.h"
#include "platform/rtl/SysUtils.h"

TCustomDBEditX::TCustomDBEditX(TComponent* AOwner)
    : TCustomMaskEdit(AOwner), FDataLink(std::make_unique<TFieldDataLinkX>()) {
  FControlStyle.Include(csCaptureMouse);
  FControlStyle.Include(csReplicatable);
  FDataLink->BoundControl = this;
  FDataLink->DataChangeHandler = [this](TObject*) { HandleLinkData(); };
  FDataLink->EditingChangeHandler = [this](TObject*) { LinkEditingChanged(); };
  FDataLink->UpdateDataHandler = [this](TObject*) { StoreValue(); };
  FDataLink->ActiveChangeHandler = [this](TObject*) { LinkActiveChanged(); };
  FMRUList = std::make_unique<TMRUListX>(this);
  FMRUList->OnDropDownHook = [this](TMRUListX*) { RecentListOpening(); };
  FMRUList->OnCloseUpHook = [this](TMRUListX*, bool Accept) { RecentListClosed(Accept); };
  InitEditButton();
  FEditButtons = std::make_unique<TEditButtonsX>(this, ItemClassOf<TVisibleEditButtonX>());
  FEditButtons->OnChanged = [this](TCollectionItem*) { ButtonsChanged(); };
  SyncReadOnly();
}

void TCustomDBEditX::InitEditButton() {
  FEditButton.reset(MakeEditButton());
  FEditButton->OnChanged = [this](TEditButtonX*) { ButtonsChanged(); };
  ButtonsChanged();
}

TEditButtonX* TCustomDBEditX::MakeEditButton() { return new TEditButtonX(this); }

TCustomDBEditX::~TCustomDBEditX() {
  FDataLink->DataChangeHandler = nullptr;
  FDataLink->EditingChangeHandler = nullptr;
  FDataLink->UpdateDataHandler = nullptr;
  FDataLink->ActiveChangeHandler = nullptr;
}

String TCustomDBEditX::DataField() const { return FDataLink->FieldName(); }

void TCustomDBEditX::SetDataField(const String& Value) {
  if (!Designing()) DropFieldMaxLength();
  FDataLink->SetFieldName(Value);
  Invalidate();
}

TDataSource* TCustomDBEditX::DataSource() const { return FDataLink->DataSource(); }

void TCustomDBEditX::SetDataSource(TDataSource* Value) {
  if (!(FDataLink->DataSourceFixed() && ComponentState().Contains(csLoading))) FDataLink->SetDataSource(Value);
  if (Value) Value->FreeNotification(this);
  HandleLinkData();
  Invalidate();
}

void TCustomDBEditX::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomMaskEdit::Notification(AComponent, Operation);
  if (Operation == opRemove && FDataLink && AComponent == DataSource()) SetDataSource(nullptr);
  if (Operation == opRemove && AComponent == FHolder) {
    FHolder = nullptr;
    FHolderIntf = nullptr;
  }
}

void TCustomDBEditX::SetReadOnly(bool Value) {
  FReadOnly = Value;
  LinkEditingChanged();
}

void TCustomDBEditX::SetAlignment(TAlignment Value) {
  FAlignmentAssigned = true;
  FAlignment = Value;
  ApplyWindowAlignment();
}

void TCustomDBEditX::ApplyWindowAlignment() {
  // While the user types the text stays left-aligned so the caret never jumps; the
  // unfocused edit shows the value aligned as asked.
  TCustomEdit::SetAlignment(FFocused ? taLeftJustify : Alignment());
}

void TCustomDBEditX::SetEditMask(const String& Value) {
  if (FEditMaskAssigned && Value == EditMask()) return;
  FEditMaskAssigned = true;
  TCustomMaskEdit::SetEditMask(Value);
  if (IsUnbound()) PostToField();
  else HandleLinkData();
}

void TCustomDBEditX::SetTooltips(bool Value) {
  FTooltips = Value;
  SyncShowHint();
}

void TCustomDBEditX::SetShowHintFlag(bool Value) {
  FShowHintFlag = Value;
  SyncShowHint();
}

void TCustomDBEditX::SyncShowHint() { SetShowHint(FTooltips || FShowHintFlag); }

bool TCustomDBEditX::CanUseButtons() const { return Enabled() && FDataLink->IsActive(); }

TAlignment TCustomDBEditX::NaturalAlignment() const {
  const TField* field = FDataLink->FirstField();
  return field ? field->Alignment() : taLeftJustify;
}

String TCustomDBEditX::NaturalEditMask() const {
  const TField* field = FDataLink->FirstField();
  return field ? field->EditMask() : String();
}

Variant TCustomDBEditX::ReadValue() { return Variant(Text()); }

bool TCustomDBEditX::AcceptsChar(QChar Ch) {
  const TField* field = FDataLink->FirstField();
  return !field || field->IsValidChar(Ch);
}

void TCustomDBEditX::LinkActiveChanged() {
  DropFieldMaxLength();
  SyncButtonControls();
}

void TCustomDBEditX::DropFieldMaxLength() {
  if (MaxLength() <= 0 || !FDataLink->DataSet()) return;
  const TField* field = FDataLink->DataSet()->FindField(DataField());
  if (field && (field->DataType() == ftString || field->DataType() == ftWideString) && field->Size() == MaxLength())
    SetMaxLength(0);
}

void TCustomDBEditX::SetTextDirect(const String& Value) {
  TFlagScopeX direct(FDirectText);
  TCustomMaskEdit::SetText(Value);
}

void TCustomDBEditX::LoadText(const String& Text) { SetTextDirect(Text); }

void TCustomDBEditX::LoadValue(const Variant& V) {
  String text;
  if (!V.IsArray()) {
    try {
      text = VarToStr(V);
    } catch (const Exception&) {
      text.clear();
    }
  }
  LoadText(text);
}

void TCustomDBEditX::PostToField() { FDataLink->WriteText(IsUnbound() ? EditText() : Text()); }

void TCustomDBEditX::HandleLinkData() {
  // A reload that leaves the text as it was (the data set entering edit mode as the user
  // starts typing) keeps the user's selection, so the typed character replaces it.
  const String before = EditText();
  const Integer start = SelStart(), length = SelLength();
  FieldValueChanged();
  if (EditText() == before && HandleAllocated()) {
    SetSelStart(start);
    SetSelLength(length);
  }
  SyncButtonControls();
}

void TCustomDBEditX::FieldValueChanged() {
  TField* field = FDataLink->FirstField();
  if (field) {
    if (!FAlignmentAssigned) ApplyWindowAlignment();
    if (!FEditMaskAssigned) TCustomMaskEdit::SetEditMask(field->EditMask());
    if (!Designing() && (field->DataType() == ftString || field->DataType() == ftWideString) && MaxLength() == 0)
      SetMaxLength(field->Size());
    if (FFocused && FDataLink->CanChange()) LoadText(field->DataType() == ftMemo ? field->AsString() : field->Text());
    else SetEditText(field->DataType() == ftMemo ? field->AsString() : field->DisplayText());
  } else {
    if (!FEditMaskAssigned) TCustomMaskEdit::SetEditMask(String());
    String text;
    if (IsUnbound() && !FDataLink->UnboundValue().IsArray()) {
      try {
        text = VarToStr(FDataLink->UnboundValue());
      } catch (const Exception&) {
        text.clear();
      }
    }
    SetEditText(text);
  }
  SyncReadOnly();
  SetModified(false);
}

void TCustomDBEditX::SyncReadOnly() {
  bool readOnly = FReadOnly;
  if (!readOnly) {
    const TDataSet* dataSet = FDataLink->DataSet();
    const bool updateHook = OnUpdateData && dataSet && dataSet->State() == dsEdit;
    readOnly = !FDataLink->InEdit() && !updateHook;
  }
  if (!readOnly && FHolderIntf && !FHolderIntf->AllowEditorChange(this)) readOnly = true;
  SetWindowReadOnly(readOnly);
}

void TCustomDBEditX::SetWindowReadOnly(bool Value) {
  if (Value == TCustomEdit::ReadOnly()) return;
  // Editing starts while a key is on its way to the window: the selection it will replace
  // must survive the window's option change.
  const Integer start = SelStart(), length = SelLength();
  TCustomEdit::SetReadOnly(Value);
  if (!HandleAllocated()) return;
  SetSelStart(start);
  SetSelLength(length);
}

void TCustomDBEditX::SetFocusedState(bool Focused) {
  if (Focused == FFocused) return;
  FFocused = Focused;
  ApplyWindowAlignment();
  FDataLink->Revert();
}

bool TCustomDBEditX::FireUpdateData() {
  bool handled = false;
  if (!OnUpdateData) return false;
  TFlagScopeX posting(FPosting);
  OnUpdateData(this, handled);
  return handled;
}

void TCustomDBEditX::StoreValue() {
  if (Focused()) ValidateEdit();
  if (!FireUpdateData()) PostToField();
  SetModified(false);
  if (FMRUList->AutoAdd() && FMRUList->Active() && Showing()) FMRUList->AddRecent(Text());
}

void TCustomDBEditX::EditBeforeSet() {
  if (!IsUnbound() && DataSource() && DataSource()->DataSet()) DataSource()->DataSet()->Edit();
}

void TCustomDBEditX::SetText(const String& Value) {
  if (FDirectText) {
    TCustomMaskEdit::SetText(Value);
    return;
  }
  SetFromCode([&] { LoadText(Value); });
}

void TCustomDBEditX::WriteValue(const Variant& V) {
  SetFromCode([&] { LoadValue(V); });
}

void TCustomDBEditX::SetFromCode(const std::function<void()>& Load) {
  if (Designing() && !IsUnbound()) return;
  EditBeforeSet();
  Load();
  if (FPosting) return;
  try {
    StoreValue();
  } catch (...) {
    // A value the field refuses is not kept: the edit shows the field again.
    FDataLink->Revert();
    throw;
  }
}

bool TCustomDBEditX::EditCanModify() { return FDataLink->BeginValueEdit(); }

void TCustomDBEditX::StartEditUnlessReadOnly() {
  if (!FReadOnly) FDataLink->BeginValueEdit();
}

void TCustomDBEditX::KeyDown(Word& Key, TShiftState Shift) {
  // Delete and Shift+Insert change the text inside the mask edit's own handling, so
  // editing starts before it.
  if (Key == VK_DELETE || (Key == VK_INSERT && Shift.Contains(ssShift))) StartEditUnlessReadOnly();
  TCustomMaskEdit::KeyDown(Key, Shift);
  if (Key == 0) return;
  if (PressButtonByShortCut(Key, Shift)) {
    Key = 0;
  } else if (Key == 'A' && Shift == TShiftState{ssCtrl}) {
    SelectAll();
    Key = 0;
  }
}

void TCustomDBEditX::KeyPress(QChar& Key) {
  // Editing must start before the mask edit looks at the character: a bound edit is
  // read-only until its data set is in edit mode.
  const char16_t code = Key.unicode();
  if (code >= 32 && !IsUnbound() && FDataLink->FirstField() && !AcceptsChar(Key)) {
    if (OnKeyPress) OnKeyPress(this, Key);
    PlatformBeep();
    Key = QChar();
    return;
  }
  // Any printable character starts editing, Chinese ones as much as Latin ones.
  if (code == u'\b' || code == 22 || code == 24 || (code >= 32 && Key.isPrint())) {
    StartEditUnlessReadOnly();
    FUserEditPending = true;
  }
  if (code == u'\b' && Text().isEmpty() && FMRUList->Active() && Showing() && !FDroppedDown) {
    FMRUList->FireDropDown();
    return;
  }
  if (code == 27) {
    if (OnKeyPress) OnKeyPress(this, Key);
    FDataLink->Revert();
    SelectAll();
    Key = QChar();
    return;
  }
  TCustomMaskEdit::KeyPress(Key);
}

void TCustomDBEditX::Change() {
  FDataLink->MarkModified();
  SetModified(true);
  TCustomMaskEdit::Change();
  if (!FUserEditPending) return;
  FUserEditPending = false;
  UserEdited();
}

bool TCustomDBEditX::TextOverflows() {
  TRect area = ClientRect();
  TRect measured(0, 0, std::max<Integer>(area.Width(), 1), 0);
  TBitmap scratch;
  scratch.SetSize(1, 1);
  scratch.Canvas()->Font()->Assign(Font());
  DrawText(scratch.Canvas(), Text(), measured, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
  return area.Width() - 2 < measured.Width() || area.Height() < measured.Height();
}

void TCustomDBEditX::Dispatch(TMessage& Message) {
  if (RecentListKey(Message)) return;
  switch (Message.Msg) {
    case CM_ENTER: CMEnter(Message); return;
    case CM_EXIT: CMExit(Message); return;
    case WM_KILLFOCUS: WMKillFocus(Message); return;
    case EM_UNDO:
    case WM_PASTE:
    case WM_CUT: EditMessageFromUser(Message); return;
    case WM_CLEAR:
    case EM_REPLACESEL: EditMessageFromCode(Message); return;
    case CM_GETDATALINK: CMGetDataLink(Message); return;
    case CM_WANTSPECIALKEY: CMWantSpecialKey(Message); return;
    case CM_HINTSHOW: CMHintShow(Message); return;
    default: TCustomMaskEdit::Dispatch(Message);
  }
}

void TCustomDBEditX::CMEnter(TMessage& Message) {
  SetFocusedState(true);
  TCustomMaskEdit::Dispatch(Message);
}

void TCustomDBEditX::CMExit(TMessage& Message) {
  FMRUList->FireCloseUp(false);
  TCustomMaskEdit::Dispatch(Message);
  try {
    FDataLink->UpdateRecord();
  } catch (...) {
    // A value the record refuses keeps the focus here, selected, until it is mended.
    SelectAll();
    SetFocus();
    throw;
  }
  SetFocusedState(false);
}

void TCustomDBEditX::WMKillFocus(TMessage& Message) {
  FMRUList->FireCloseUp(false);
  TCustomMaskEdit::Dispatch(Message);
}

// Undo, paste and cut change the value the way typing does: the field goes into editing first.
void TCustomDBEditX::EditMessageFromUser(TMessage& Message) {
  FDataLink->BeginValueEdit();
  EditMessageFromCode(Message);
}

void TCustomDBEditX::EditMessageFromCode(TMessage& Message) {
  TFlagScopeX direct(FDirectText);
  TCustomMaskEdit::Dispatch(Message);
}

void TCustomDBEditX::CMGetDataLink(TMessage& Message) { Message.Result = LRESULT(FDataLink.get()); }

// Enter and Escape choose in an open list of recent values; Escape also undoes a modified text.
void TCustomDBEditX::CMWantSpecialKey(TMessage& Message) {
  if (RecentListOpen() && FRecentList->ItemIndex() >= 0 &&
      (Message.WParam == VK_RETURN || Message.WParam == VK_ESCAPE)) {
    Message.Result = 1;
    return;
  }
  TCustomMaskEdit::Dispatch(Message);
  if (Message.WParam == VK_ESCAPE && Modified()) Message.Result = 1;
}

// A text too wide for the edit shows in full as its tooltip.
void TCustomDBEditX::CMHintShow(TMessage& Message) {
  auto* info = reinterpret_cast<THintInfo*>(Message.LParam);
  if (FTooltips && info && TextOverflows()) {
    info->HintStr = Text();
    info->HintPos = ClientToScreen(TPoint(0, Height()));
    info->HintData = Font();
    info->HintWindowClass = [] { return new TToolTipsWindow(nullptr); };
  } else if (!FShowHintFlag) {
    Message.Result = 1;
  }
}

bool TCustomDBEditX::WheelStep(TShiftState Shift, bool Up) {
  if (Shift.Contains(ssShift) || Shift.Contains(ssCtrl) || Shift.Contains(ssAlt) || ReadOnly() || !CanStepByUser() ||
      !FDataLink->BeginValueEdit())
    return false;
  StepByUser(Up);
  return true;
}

bool TCustomDBEditX::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  return TCustomMaskEdit::DoMouseWheelDown(Shift, MousePos) || WheelStep(Shift, false);
}

bool TCustomDBEditX::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  return TCustomMaskEdit::DoMouseWheelUp(Shift, MousePos) || WheelStep(Shift, true);
}
