#include "grid/DBCtrlsX.h"
#include "grid/PopupListboxX.h"
#include "platform/ui/Clipbrd.h"
#include "platform/rtl/SysUtils.h"

TCustomDBComboBoxX::TCustomDBComboBoxX(TComponent* AOwner)
    : TCustomDBEditX(AOwner),
      FItems(std::make_unique<TStringList>()),
      FKeyItems(std::make_unique<TStringList>()),
      FDropDownBox(std::make_unique<TDropDownBoxX>()) {
  InitEditButton();
  FKeyItems->SetCaseSensitive(true);
  FItems->OnChange = [this](TObject*) { ListsChanged(false); };
  FKeyItems->OnChange = [this](TObject*) { ListsChanged(true); };
}

TCustomDBComboBoxX::~TCustomDBComboBoxX() {
  FItems->OnChange = nullptr;
  FKeyItems->OnChange = nullptr;
}

TStrings* TCustomDBComboBoxX::Items() const { return FItems.get(); }
void TCustomDBComboBoxX::SetItems(TStrings* Value) { FItems->Assign(Value); }
TStrings* TCustomDBComboBoxX::KeyItems() const { return FKeyItems.get(); }
void TCustomDBComboBoxX::SetKeyItems(TStrings* Value) { FKeyItems->Assign(Value); }

void TCustomDBComboBoxX::ListsChanged(bool KeysChanged) {
  RecountItems();
  SyncItemIndex();
  DropFieldMaxLength();
  if (KeysChanged) HandleLinkData();
}

void TCustomDBComboBoxX::RecountItems() {
  FUsableItemCount = FItems->Count();
  FKeyMode = FKeyItems->Count() > 0;
  if (FKeyMode) {
    FUsableItemCount = std::min(FItems->Count(), FKeyItems->Count());
    SetTextDirect(String());
  }
  SyncReadOnly();
}

void TCustomDBComboBoxX::SyncItemIndex() {
  FItemIndex = FItems->IndexOf(EditText());
  if (FItemIndex >= FUsableItemCount) FItemIndex = -1;
}

void TCustomDBComboBoxX::EnsureItems() {
  if (FItems->Count() == 0 && OnRequestItems) OnRequestItems(this);
}

void TCustomDBComboBoxX::SelectItem(Integer Index) {
  if (Index == FItemIndex) return;
  EnsureItems();
  if (Index < 0 || Index >= FUsableItemCount) {
    FItemIndex = -1;
    FKeyValue = Variant::Null();
    TCustomDBEditX::LoadText(String());
    return;
  }
  FItemIndex = Index;
  if (FKeyMode) FKeyValue = Variant(FKeyItems->Strings(Index));
  if (FListVisible) FList->SetItemIndex(Index);
  SetEditText(FItems->Strings(Index));
}

void TCustomDBComboBoxX::SelectedItemIndex(Integer Index) {
  SetFromCode([&] { SelectItem(Index); });
}

TAlignment TCustomDBComboBoxX::NaturalAlignment() const {
  return FKeyMode ? taLeftJustify : TCustomDBEditX::NaturalAlignment();
}

Variant TCustomDBComboBoxX::ReadValue() { return FKeyMode ? FKeyValue : TCustomDBEditX::ReadValue(); }

bool TCustomDBComboBoxX::AcceptsChar(QChar Ch) { return FKeyMode || TCustomDBEditX::AcceptsChar(Ch); }

void TCustomDBComboBoxX::DropFieldMaxLength() {
  if (FKeyMode) SetMaxLength(0);
  else TCustomDBEditX::DropFieldMaxLength();
}

void TCustomDBComboBoxX::SyncReadOnly() {
  if (!FKeyMode) {
    TCustomDBEditX::SyncReadOnly();
    return;
  }
  // The shown text of a key-mode box is never typed: characters search the items.
  SetWindowReadOnly(true);
}

void TCustomDBComboBoxX::LoadText(const String& Text) {
  if (!FKeyMode) {
    TCustomDBEditX::LoadText(Text);
    SyncItemIndex();
    return;
  }
  const Integer index = FItems->IndexOf(Text);
  if (index < 0 || index >= FUsableItemCount) return;
  FItemIndex = index;
  FKeyValue = Variant(FKeyItems->Strings(index));
  TCustomDBEditX::LoadText(Text);
}

void TCustomDBComboBoxX::LoadValue(const Variant& V) {
  if (!FKeyMode) {
    TCustomDBEditX::LoadValue(V);
    SyncItemIndex();
    return;
  }
  FKeyValue = V;
  FItemIndex = -1;
  String text;
  if (!V.IsNull() && !V.IsEmpty()) {
    const Integer index = FKeyItems->IndexOf(VarToStr(V));
    if (index >= 0 && index < FUsableItemCount) {
      FItemIndex = index;
      text = FItems->Strings(index);
    }
  }
  SetEditText(text);
}

void TCustomDBComboBoxX::FieldValueChanged() {
  TField* field = DataLink()->FirstField();
  if (field) {
    if (!EditMaskAssigned()) TCustomMaskEdit::SetEditMask(field->EditMask());
    if (!FKeyMode && !Designing() && (field->DataType() == ftString || field->DataType() == ftWideString) &&
        MaxLength() == 0)
      SetMaxLength(field->Size());
    if ((IsFocusedState() && DataLink()->CanChange()) || FKeyMode) {
      LoadValue(field->IsNull() ? Variant::Null() : Variant(field->Text()));
    } else {
      SetEditText(field->DisplayText());
      SyncItemIndex();
    }
  } else if (IsUnbound()) {
    if (FKeyMode) LoadValue(DataLink()->UnboundValue());
    else SetEditText(VarToStr(DataLink()->UnboundValue()));
  } else {
    LoadValue(Variant::Null());
  }
  SetModified(false);
}

void TCustomDBComboBoxX::PostToField() {
  if (!IsUnbound() || FKeyMode) DataLink()->WriteText(VarToStr(ReadValue()));
  else DataLink()->WriteText(EditText());
}

void TCustomDBComboBoxX::StoreValue() {
  if (OnNotInList && FItemIndex == -1) {
    bool recheck = false;
    OnNotInList(this, EditText(), recheck);
  }
  TCustomDBEditX::StoreValue();
}

void TCustomDBComboBoxX::Change() {
  TCustomDBEditX::Change();
  if (FKeyMode) return;
  SyncItemIndex();
  if (FPendingKey.isNull()) return;
  const QChar key = FPendingKey;
  FPendingKey = QChar();
  CompleteAfterTyping(key, FPendingCaret);
}

Integer TCustomDBComboBoxX::FindItemText(const String& Search, bool Partial) const {
  for (Integer i = 0; i < FUsableItemCount; ++i) {
    const String item = Partial ? FItems->Strings(i).left(Search.size()) : FItems->Strings(i);
    if (AnsiCompareText(item, Search) == 0) return i;
  }
  return -1;
}

bool TCustomDBComboBoxX::LocateText(const String& Text, bool Partial) {
  if (!EditCanModify()) return false;
  const Integer previous = FItemIndex;
  try {
    const Integer index = FindItemText(Text, Partial);
    if (index < 0) {
      if (!FKeyMode) FItemIndex = -1;
    } else {
      SelectItem(index);
      // The part the user has not typed stays selected, so typing on replaces it.
      SetSelStart(Integer(Text.size()));
      SetSelLength(Integer(EditText().size()) - Integer(Text.size()));
    }
  } catch (...) {
    // A failed lookup leaves the previous item chosen.
    FItemIndex = previous;
    throw;
  }
  return FItemIndex != previous;
}

void TCustomDBComboBoxX::SearchTyped(const String& Str) {
  if ((!IsUnbound() && !DataLink()->FirstField()) || !EditCanModify()) return;
  if (Str == QStringLiteral("\b")) {
    const Integer length = Integer(EditText().size());
    if (SelStart() == 0 && SelLength() == length) {
      SetSelStart(std::max<Integer>(0, length - 1));
      SetSelLength(1);
    } else {
      const Integer start = std::max<Integer>(0, SelStart() - 1);
      SetSelStart(start);
      SetSelLength(length - start);
    }
    return;
  }
  const String search = EditText().left(SelStart()) + Str;
  EnsureItems();
  LocateText(search, true);
}

void TCustomDBComboBoxX::CompleteAfterTyping(QChar Key, Integer OldCaret) {
  const bool atEnd = SelStart() == EditText().size() && SelLength() == 0;
  if (!atEnd || Key == u'\b') {
    EnsureItems();
    if (LocateText(Text(), false)) {
      SetSelStart(OldCaret);
      SetSelLength(Integer(EditText().size()) - OldCaret);
    }
  } else {
    SearchTyped(String());
  }
}

void TCustomDBComboBoxX::StepItem(bool Up) {
  if (!EditCanModify()) return;
  const Integer previous = FItemIndex;
  if (Up) {
    if (FItemIndex > 0) SelectItem(FItemIndex - 1);
    else if (FItemIndex == -1) SelectItem(FUsableItemCount - 1);
  } else if (FItemIndex + 1 < FUsableItemCount) {
    SelectItem(FItemIndex + 1);
  }
  if (FItemIndex != previous) SelectAll();
}

void TCustomDBComboBoxX::KeyDown(Word& Key, TShiftState Shift) {
  if (FKeyMode && Key == VK_DELETE && !ReadOnly()) {
    const TField* field = DataLink()->FirstField();
    if ((IsUnbound() || (field && !field->Required())) && EditCanModify()) LoadValue(Variant::Null());
    Key = 0;
    return;
  }
  TCustomDBEditX::KeyDown(Key, Shift);
  if ((Key == VK_UP || Key == VK_DOWN) && !ReadOnly()) {
    StepItem(Key == VK_UP);
    Key = 0;
  }
}

void TCustomDBComboBoxX::KeyPress(QChar& Key) {
  if (FListVisible && (Key == u'\r' || Key == QChar(27))) {
    FinishDropDown(Key == u'\r');
    Key = QChar();
    return;
  }
  if (FDropDownBox->AutoDrop && !FListVisible && Key.unicode() >= 32) OpenDropDown();
  if (FKeyMode && !ReadOnly() && (Key == u'\b' || Key.unicode() >= 32)) {
    if (OnKeyPress) OnKeyPress(this, Key);
    if (!Key.isNull()) SearchTyped(String(Key));
    Key = QChar();
    return;
  }
  FPendingKey = QChar();
  const QChar typed = Key;
  const Integer oldCaret = SelStart();
  TCustomDBEditX::KeyPress(Key);
  // Completion runs once the window has taken the character (see Change).
  const bool ctrl = ReadKeyboardShiftState().Contains(ssCtrl);
  if (!FKeyMode && !Key.isNull() && typed != u'.' && !ctrl) {
    FPendingKey = typed;
    FPendingCaret = oldCaret;
  }
}




void TCustomDBComboBoxX::Dispatch(TMessage& Message) {
  if (FListVisible) {
    if (Message.Msg == WM_KILLFOCUS || Message.Msg == CM_EXIT) FinishDropDown(false);
    const bool key = Message.Msg == WM_KEYDOWN || Message.Msg == WM_SYSKEYDOWN;
    const Word code = Word(Message.WParam);
    const bool ctrl = ReadKeyboardShiftState().Contains(ssCtrl);
    const bool alt = ReadKeyboardShiftState().Contains(ssAlt);
    if (key && !alt &&
        (code == VK_PRIOR || code == VK_NEXT || code == VK_UP || code == VK_DOWN ||
         (ctrl && (code == VK_HOME || code == VK_END)))) {
      // The open list takes the keys that move in it.
      const Integer page = std::max<Integer>(1, FDropDownBox->Rows - 1);
      FList->SetItemIndex(ListIndexAfterKey(code, FList->ItemIndex(), FList->Count(), page));
      return;
    }
    if (Message.Msg == CM_WANTSPECIALKEY && (code == VK_RETURN || code == VK_ESCAPE)) {
      Message.Result = 1;
      return;
    }
  }
  if (Message.Msg == WM_PASTE && FKeyMode) {
    // A key-mode box has no text of its own to paste into: the pasted text is searched.
    if (!ReadOnly() && Clipboard()->HasFormat(CF_TEXT)) SearchTyped(Clipboard()->AsText());
    return;
  }
  TCustomDBEditX::Dispatch(Message);
}

void TCustomDBComboBoxX::StepByUser(bool Up) { StepItem(Up); }
