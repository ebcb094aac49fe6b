#pragma once
// Data-aware edit controls: a single-line edit bound to one field (or holding its own
// value when unbound), and on it the date-time edit, the combo box with key mapping and
// the number edit; and the data-aware check box.
#include "grid/DateTimeElementsX.h"
#include "grid/DropDownX.h"
#include "grid/EditButtonX.h"
#include "grid/FieldDataLinkX.h"
#include "grid/InplaceEditHolderX.h"
#include "platform/ui/Hints.h"
#include "platform/ui/Mask.h"

using TUpdateDataEventX = std::function<void(TObject* Sender, bool& Handled)>;
using TCloseUpEventX = std::function<void(TObject* Sender, bool Accept)>;

class TPopupMonthCalendarX;
class TPopupCalculatorX;
class TMRUListX;
class TMRUListboxX;

// Sets a re-entrance flag for one scope, also when the scope is left by an exception.
class TFlagScopeX {
public:
  explicit TFlagScopeX(bool& Flag) : FFlag(Flag) { FFlag = true; }
  ~TFlagScopeX() { FFlag = false; }
  TFlagScopeX(const TFlagScopeX&) = delete;
  TFlagScopeX& operator=(const TFlagScopeX&) = delete;
private:
  bool& FFlag;
};

// ---------------------------------------------------------------------------------------
// The data-aware edit

class TCustomDBEditX : public TCustomMaskEdit, public IPopupOwnerX, public IHostedEditX {
public:
  explicit TCustomDBEditX(TComponent* AOwner);
  ~TCustomDBEditX() override;

  // The main button, and further buttons to its right.
  TEditButtonX* EditButton() const { return FEditButton.get(); }
  TEditButtonsX* EditButtons() const { return FEditButtons.get(); }
  // The control showing button Index (0 the main button) while the window exists.
  TEditButtonControlX* ButtonControl(Integer Index) const;
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  bool DroppedDown() const { return FDroppedDown; }
  // Recent values, offered in a list while the user types.
  TMRUListX* MRUList() const { return FMRUList.get(); }
  TMRUListboxX* RecentList() const { return FRecentList; }
  bool RecentListOpen() const;
  // Closes the drop-down; with Accept its value is taken. Popups call it.
  void FinishDropDown(bool Accept) override;
  TButtonClickEventX OnButtonClick;
  TButtonDownEventX OnButtonDown;

  TFieldDataLinkX* DataLink() const { return FDataLink.get(); }
  virtual String DataField() const;
  virtual void SetDataField(const String& Value);
  virtual TDataSource* DataSource() const;
  virtual void SetDataSource(TDataSource* Value);

  // The control's own read-only flag; the window's follows it and the editing state.
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  TAlignment Alignment() const { return FAlignmentAssigned ? FAlignment : NaturalAlignment(); }
  void SetAlignment(TAlignment Value);
  const String& EditMask() const { return TCustomMaskEdit::EditMask(); }
  void SetEditMask(const String& Value);
  bool EditMaskAssigned() const { return FEditMaskAssigned; }
  // Shows the whole text as a tip when it does not fit the edit.
  bool Tooltips() const { return FTooltips; }
  void SetTooltips(bool Value);
  bool ShowHintFlag() const { return FShowHintFlag; }
  void SetShowHintFlag(bool Value);

  Variant Value() { return ReadValue(); }
  void SetValue(const Variant& V) { WriteValue(V); }
  // Loads Text and stores it into the field at once; a failure reloads the field.
  void SetText(const String& Value) override;

  // Replaces the write into the field when it sets Handled.
  TUpdateDataEventX OnUpdateData;

  void Dispatch(TMessage& Message) override;
  void WndProc(TMessage& Message) override;
  bool EditCanModify() override;

  // The text is wider or taller than the room the edit gives it.
  bool TextOverflows();

  // ---- in place: hosted by a holder that sees the edit's messages and keys first
  // nullptr leaves in-place mode; a holder without IInplaceEditHolderX is refused.
  void AttachToHolder(TWinControl* Holder);
  TWinControl* InplaceHolder() const { return FHolder; }
  bool InplaceMode() const { return FHolder != nullptr; }
  // In place: an empty Rect hides the window; otherwise it shows on top at Rect and takes
  // the keyboard when the holder has it.
  void ShowInRect(const TRect& Rect, bool Redraw);
  void HideInPlace();
  // In place ShowInRect(Rect, true), stand-alone the bounds.
  void PlaceInRect(const TRect& Rect);
  // In place, shown only while the window exists and is visible; hiding keeps the property.
  bool Visible() const;
  void SetVisible(bool Value);
  void SetFocus() override;

  // IHostedEditX
  TFont* GetFont() override { return Font(); }
  void SetHolder(TWinControl* Holder) override { AttachToHolder(Holder); }
  void SetBorderStyle(TBorderStyle Value) override { TCustomMaskEdit::SetBorderStyle(Value); }
  void SetFont(TFont* Value) override { TCustomMaskEdit::SetFont(Value); }
  void SetColor(TColor Value) override { TCustomMaskEdit::SetColor(Value); }
  void SetOnKeyPress(const TKeyPressEvent& Value) override { OnKeyPress = Value; }
  void SetOnExit(const TNotifyEvent& Value) override { OnExit = Value; }

protected:
  // Message handlers, one per message the edit treats (see Dispatch).
  virtual void CMEnter(TMessage& Message);
  virtual void CMExit(TMessage& Message);
  virtual void WMKillFocus(TMessage& Message);
  virtual void EditMessageFromUser(TMessage& Message);  // EM_UNDO, WM_PASTE, WM_CUT
  virtual void EditMessageFromCode(TMessage& Message);  // WM_CLEAR, EM_REPLACESEL
  virtual void CMGetDataLink(TMessage& Message);
  virtual void CMWantSpecialKey(TMessage& Message);
  virtual void CMHintShow(TMessage& Message);
  virtual bool CanUseButtons() const;
  virtual TEditButtonX* MakeEditButton();
  // The main button was pressed (Down: its lower half): opens the drop-down.
  virtual void EditButtonAction(bool Down);
  virtual void OpenDropDown();
  virtual void ButtonClicked(TObject* Sender);
  virtual void ButtonPressed(TObject* Sender, bool TopButton, bool& AutoRepeat, bool& Handled);
  virtual void ButtonReleased(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  // Puts in the main button MakeEditButton gives; subclasses call it from their constructor.
  void InitEditButton();
  void SetDroppedDown(bool Value) { FDroppedDown = Value; }
  TRect ButtonsRect() const;
  virtual TRect TextAreaRect() const;
  void LayoutButtonControls();
  void SyncButtonControls();
  void ApplyTextArea();
  void CreateHandle() override;
  virtual bool IsUnbound() const { return FDataLink->Unbound(); }
  virtual TAlignment NaturalAlignment() const;
  virtual String NaturalEditMask() const;
  virtual Variant ReadValue();
  virtual bool AcceptsChar(QChar Ch);
  virtual void LinkActiveChanged();
  virtual void FieldValueChanged();
  virtual void LinkEditingChanged() { SyncReadOnly(); }
  virtual void LoadText(const String& Text);
  virtual void LoadValue(const Variant& V);
  virtual void PostToField();
  virtual void DropFieldMaxLength();
  virtual void SetFocusedState(bool Focused);
  virtual void WriteValue(const Variant& V);
  virtual void SyncReadOnly();
  virtual void SyncShowHint();
  virtual void StoreValue();

  void HandleLinkData();
  bool FireUpdateData();
  // A value given by code: the data set goes into edit mode, Load puts the value into the
  // control, and it is stored at once (unless OnUpdateData is running); a failure reloads.
  void SetFromCode(const std::function<void()>& Load);
  // Sets the window's text without going through the field.
  void SetTextDirect(const String& Value);
  // A bound edit puts its data set into edit mode before it takes a value from code.
  void EditBeforeSet();
  bool IsFocusedState() const { return FFocused; }
  bool Posting() const { return FPosting; }
  bool Designing() const { return ComponentState().Contains(csDesigning); }
  void ApplyWindowAlignment();
  void SetWindowReadOnly(bool Value);

  // The mouse wheel and an up/down main button step the value of edits that can step it.
  virtual bool CanStepByUser() const { return false; }
  virtual void StepByUser(bool) {}

  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(QChar& Key) override;
  void Change() override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  // Keys reach the holder first; these answer whether the edit still handles the message.
  bool HolderKeyMessage(TMessage& Message);
  void InplaceMouseDown(TMessage& Message);
  void InplaceSetFocus(TMessage& Message);
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  void StartEditUnlessReadOnly();
  bool WheelStep(TShiftState Shift, bool Up);
  void RecentListOpening();
  void RecentListClosed(bool Accept);
  // After a change the user made: the recent list follows the text.
  void UserEdited();
  bool RecentListKey(TMessage& Message);
  std::unique_ptr<TMRUListX> FMRUList;
  TMRUListboxX* FRecentList = nullptr;
  bool FUserEditPending = false;
  void ButtonsChanged();
  bool PressButtonByShortCut(Word Key, TShiftState Shift);
  std::unique_ptr<TFieldDataLinkX> FDataLink;
  std::unique_ptr<TEditButtonX> FEditButton;
  std::unique_ptr<TEditButtonsX> FEditButtons;
  std::vector<TEditButtonControlX*> FButtonControls;
  Integer FButtonAreaWidth = 0;
  bool FFlat = false;
  bool FDroppedDown = false;
  bool FNoClickCloseUp = false;
  bool FReadOnly = false;
  bool FAlignmentAssigned = false;
  TAlignment FAlignment = taLeftJustify;
  bool FEditMaskAssigned = false;
  bool FTooltips = false;
  bool FShowHintFlag = false;
  bool FPosting = false;
  bool FFocused = false;
  bool FDirectText = false;
  TWinControl* FHolder = nullptr;
  IInplaceEditHolderX* FHolderIntf = nullptr;
};

class TDBEditX : public TCustomDBEditX {
public:
  using TCustomDBEditX::TCustomDBEditX;
  String ClassName() const override { return QStringLiteral("TDBEditX"); }
};

// ---------------------------------------------------------------------------------------
// Date-time edit

enum TDateTimeKindX { dtkDateX, dtkTimeX, dtkDateTimeX, dtkCustomX };

class TCustomDBDateTimeEditX : public TCustomDBEditX {
public:
  explicit TCustomDBDateTimeEditX(TComponent* AOwner);

  TDateTimeKindX Kind() const { return FKind; }
  void SetKind(TDateTimeKindX Value);
  const String& EditFormat() const { return FEditFormat; }
  // Makes the kind custom; raises for a format the grammar refuses.
  void SetEditFormat(const String& Value);
  const String& ShowFormat() const { return FShowFormat; }
  const Variant& CurrentValue() const { return FCurrentValue; }

  void ValidateEdit() override;
  // Steps the element under the caret.
  void StepElement(bool Up);
  // The drop-down calendar, made on first use.
  TPopupMonthCalendarX* CalendarPopup();
  bool CalendarOpen() const { return FCalendarOpen; }
  void FinishDropDown(bool Accept) override;
  void Dispatch(TMessage& Message) override;

  TCloseUpEventX OnCloseUp;
  TNotifyEvent OnDropDown;

protected:
  TEditButtonX* MakeEditButton() override;
  void OpenDropDown() override;
  virtual void UpdateYearDigits();
  virtual void RebuildEditFormat();
  Variant ReadValue() override { return FCurrentValue; }
  void FieldValueChanged() override;
  void LoadText(const String& Text) override;
  void LoadValue(const Variant& V) override;
  void PostToField() override;
  void Change() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(QChar& Key) override;
  bool CanStepByUser() const override { return IsMasked(); }
  void StepByUser(bool Up) override;

private:
  void SetTextGuarded(const String& Text);
  void ParseCurrentText();
  String FormatValue(const Variant& V) const;
  TDateTimeKindX FKind = dtkDateX;
  String FEditFormat;
  String FShowFormat;
  DateTimeElementTable FElements{};
  Variant FCurrentValue = Variant::Null();
  bool FFourDigitYear = true;
  TPopupMonthCalendarX* FCalendar = nullptr;
  bool FCalendarOpen = false;
  bool FValidating = false;
  bool FSettingText = false;
};

class TDBDateTimeEditX : public TCustomDBDateTimeEditX {
public:
  using TCustomDBDateTimeEditX::TCustomDBDateTimeEditX;
  String ClassName() const override { return QStringLiteral("TDBDateTimeEditX"); }
};

// ---------------------------------------------------------------------------------------
// Combo box: plain mode completes typed text from Items; key mode (KeyItems not empty)
// keeps a key from KeyItems and shows the Items entry at the same index.

using TNotInListEventX = std::function<void(TObject* Sender, const String& NewText, bool& RecheckInList)>;
class TPopupListboxX;

enum TDropDownAlignX { daLeftX, daRightX, daCenterX };

// How the combo box's list drops down.
class TDropDownBoxX : public TPersistent {
public:
  void Assign(TPersistent* Source) override;
  String ClassName() const override { return QStringLiteral("TDropDownBoxX"); }
  TDropDownAlignX Align = daLeftX;
  // Typing a character opens the list.
  bool AutoDrop = false;
  Integer Rows = 7;
  // The list shows its size grip.
  bool Sizable = false;
  // 0 or less: the edit's width; -1: the widest item's.
  Integer Width = 0;
};

class TCustomDBComboBoxX : public TCustomDBEditX {
public:
  explicit TCustomDBComboBoxX(TComponent* AOwner);
  ~TCustomDBComboBoxX() override;

  TStrings* Items() const;
  void SetItems(TStrings* Value);
  TStrings* KeyItems() const;
  void SetKeyItems(TStrings* Value);
  Integer ItemIndex() const { return FItemIndex; }
  bool KeyMode() const { return FKeyMode; }
  Integer UsableItemCount() const { return FUsableItemCount; }
  const Variant& KeyValue() const { return FKeyValue; }
  // Selects Index and stores it at once; a failure reloads the field.
  void SelectedItemIndex(Integer Index);
  // Selects the previous or next item.
  void StepItem(bool Up);
  TDropDownBoxX* DropDownBox() const { return FDropDownBox.get(); }
  // The drop-down list, made on first use.
  TPopupListboxX* DropDownList();
  bool ListVisible() const { return FListVisible; }
  void FinishDropDown(bool Accept) override;

  TNotInListEventX OnNotInList;
  TNotifyEvent OnRequestItems;
  TCloseUpEventX OnCloseUp;
  TNotifyEvent OnDropDown;

  void Dispatch(TMessage& Message) override;

protected:
  virtual bool LocateText(const String& Text, bool Partial);
  virtual void SearchTyped(const String& Str);
  virtual void EnsureItems();
  virtual void SelectItem(Integer Index);

  TEditButtonX* MakeEditButton() override;
  void OpenDropDown() override;
  TAlignment NaturalAlignment() const override;
  Variant ReadValue() override;
  bool AcceptsChar(QChar Ch) override;
  void FieldValueChanged() override;
  void LoadText(const String& Text) override;
  void LoadValue(const Variant& V) override;
  void PostToField() override;
  void DropFieldMaxLength() override;
  void SyncReadOnly() override;
  void StoreValue() override;
  void Change() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(QChar& Key) override;
  bool CanStepByUser() const override { return true; }
  void StepByUser(bool Up) override;

private:
  void RecountItems();
  void SyncItemIndex();
  void ListsChanged(bool KeysChanged);
  Integer FindItemText(const String& Search, bool Partial) const;
  void CompleteAfterTyping(QChar Key, Integer OldCaret);
  std::unique_ptr<TStringList> FItems;
  std::unique_ptr<TStringList> FKeyItems;
  std::unique_ptr<TDropDownBoxX> FDropDownBox;
  TPopupListboxX* FList = nullptr;
  bool FListVisible = false;
  Integer FItemIndex = -1;
  Integer FUsableItemCount = 0;
  bool FKeyMode = false;
  Variant FKeyValue = Variant::Null();
  QChar FPendingKey;  // a typed character the window has not taken yet
  Integer FPendingCaret = 0;
};

class TDBComboBoxX : public TCustomDBComboBoxX {
public:
  using TCustomDBComboBoxX::TCustomDBComboBoxX;
  String ClassName() const override { return QStringLiteral("TDBComboBoxX"); }
};

// ---------------------------------------------------------------------------------------
// Number edit

class TCustomDBNumberEditX : public TCustomDBEditX {
public:
  explicit TCustomDBNumberEditX(TComponent* AOwner);

  String DisplayFormat() const;
  void SetDisplayFormat(const String& Value);
  bool IsCurrency() const;
  void SetCurrency(bool Value);
  Cardinal DecimalPlaces() const { return FDecimalPlaces; }
  void SetDecimalPlaces(Cardinal Value);
  Extended Increment() const { return FIncrement; }
  void SetIncrement(Extended Value) { FIncrement = Value; }
  Extended MinValue() const;
  void SetMinValue(Extended Value);
  Extended MaxValue() const;
  void SetMaxValue(Extended Value);
  const Variant& CurrentValue() const { return FCurrentValue; }
  const String& EditingFormat() const { return FEditingFormat; }

  // Value + Increment (or - Increment), fitted to the limits; Increment itself from Null.
  void StepValue(bool Up);
  // The drop-down calculator, made on first use.
  TPopupCalculatorX* CalculatorPopup();
  bool CalculatorOpen() const { return FCalculatorOpen; }
  void FinishDropDown(bool Accept) override;
  void Dispatch(TMessage& Message) override;

  TCloseUpEventX OnCalculatorClose;
  TNotifyEvent OnCalculatorOpen;

protected:
  TEditButtonX* MakeEditButton() override;
  void OpenDropDown() override;
  virtual String ValueDisplayText() const;
  virtual void RegroupText();

  TAlignment NaturalAlignment() const override;
  Variant ReadValue() override { return FCurrentValue; }
  bool AcceptsChar(QChar Ch) override;
  void FieldValueChanged() override;
  void LoadText(const String& Text) override;
  void LoadValue(const Variant& V) override;
  void PostToField() override;
  void Change() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(QChar& Key) override;
  bool CanStepByUser() const override { return true; }
  void StepByUser(bool Up) override;

private:
  String FormatNumber(Extended X) const;
  Extended Fit(Extended X) const;
  void SetTextGuarded(const String& Text);
  void ParseCurrentText();
  bool FDisplayFormatAssigned = false, FCurrencyAssigned = false, FMinAssigned = false, FMaxAssigned = false;
  String FDisplayFormat;
  bool FCurrency = false;
  Cardinal FDecimalPlaces = 2;
  Extended FIncrement = 1;
  Extended FMinValue = 0, FMaxValue = 0;
  String FEditingFormat;
  Variant FCurrentValue = Variant::Null();
  TPopupCalculatorX* FCalculator = nullptr;
  bool FCalculatorOpen = false;
  bool FSettingText = false;
};

class TDBNumberEditX : public TCustomDBNumberEditX {
public:
  using TCustomDBNumberEditX::TCustomDBNumberEditX;
  String ClassName() const override { return QStringLiteral("TDBNumberEditX"); }
};

// ---------------------------------------------------------------------------------------
// Check box

class TCustomDBCheckBoxX : public TButtonControl {
public:
  explicit TCustomDBCheckBoxX(TComponent* AOwner);
  ~TCustomDBCheckBoxX() override;

  TFieldDataLinkX* DataLink() const { return FDataLink.get(); }
  String DataField() const { return FDataLink->FieldName(); }
  void SetDataField(const String& Value) { FDataLink->SetFieldName(Value); }
  TDataSource* DataSource() const { return FDataLink->DataSource(); }
  void SetDataSource(TDataSource* Value);
  bool ReadOnly() const { return FDataLink->ReadOnly(); }
  void SetReadOnly(bool Value) { FDataLink->SetReadOnly(Value); }
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  TCheckBoxState State() const { return FState; }
  void SetState(TCheckBoxState Value);
  bool Checked() const { return FState == cbChecked; }
  void SetChecked(bool Value) { SetState(Value ? cbChecked : cbUnchecked); }
  // ';'-separated texts that mean checked or unchecked; a trailing ';' lets an empty text match.
  const String& ValueChecked() const { return FValueChecked; }
  void SetValueChecked(const String& Value);
  const String& ValueUnchecked() const { return FValueUnchecked; }
  void SetValueUnchecked(const String& Value);
  bool Modified() const { return FModified; }
  // The state is written to the form only when unbound and not unchecked.
  bool StateStored() const { return IsUnbound() && FState != cbUnchecked; }

  TUpdateDataEventX OnUpdateData;

  void Dispatch(TMessage& Message) override;

protected:
  virtual void DrawControl();
  virtual bool IsUnbound() const { return FDataLink->Unbound(); }
  virtual void DrawCaption(const TRect& Area, bool Focused);
  virtual void DrawBox(const TRect& Box, TCheckBoxState State, bool Pressed, bool Hot, bool Focused);
  virtual void DrawContent(TCheckBoxState State, bool Focused, bool Hot, bool Pressed);
  virtual void ApplyState(TCheckBoxState Value);
  virtual void WriteStateToField();
  virtual void CycleState();
  virtual void CommitData();

  void Click() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void KeyPress(QChar& Key) override;
  void PaintWindow(TCanvas* Canvas) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  TCheckBoxState FieldState() const;
  void HandleLinkData();
  std::unique_ptr<TFieldDataLinkX> FDataLink;
  std::unique_ptr<TControlCanvas> FCanvas;
  TAlignment FAlignment = taRightJustify;
  bool FAllowGrayed = false;
  bool FFlat = false;
  TCheckBoxState FState = cbUnchecked;
  String FValueChecked, FValueUnchecked;
  bool FModified = false;
  bool FPosting = false;
  bool FMouseOver = false;
  bool FSpaceDown = false;
};

class TDBCheckBoxX : public TCustomDBCheckBoxX {
public:
  using TCustomDBCheckBoxX::TCustomDBCheckBoxX;
  String ClassName() const override { return QStringLiteral("TDBCheckBoxX"); }
};
