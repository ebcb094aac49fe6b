#pragma once
// Standard controls over the Qt widgets that do the job, so that input methods, the caret,
// selection and undo come from Qt. Each keeps its properties itself (they work before the
// window exists) and reports user actions as the usual events and notifications.
#include "platform/ui/Controls.h"
#include "platform/ui/DrawingRoutines.h"

class QLineEdit;
class QPlainTextEdit;
class QListWidget;
class QListWidgetItem;
class QComboBox;
class TStrings;
class TStringList;

enum TTextLayout { tlTop, tlCenter, tlBottom };
enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable, lbVirtual, lbVirtualOwnerDraw };
enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
enum TOwnerDrawStateValue { odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault, odComboBoxEdit };
using TOwnerDrawState = TSet<TOwnerDrawStateValue>;
enum TScrollBarKind { sbHorizontal, sbVertical };
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };

// Edit messages. EM_GETSEL answers start and end in the low and high word; EM_SETSEL takes
// them in WParam and LParam (a start of -1 removes the selection, an end of -1 means the end
// of the text); EM_SETRECT(NP) and EM_GETRECT take a TRect* in LParam; EM_CHARFROMPOS takes
// a client point in LParam and answers the character index; EM_GETMARGINS answers the left
// and right margins; EM_REPLACESEL takes a const String* in LParam.
constexpr Cardinal EM_GETSEL = 0x00B0, EM_SETSEL = 0x00B1, EM_GETRECT = 0x00B2, EM_SETRECT = 0x00B3,
                   EM_SETRECTNP = 0x00B4, EM_SCROLLCARET = 0x00B7, EM_GETMODIFY = 0x00B8, EM_SETMODIFY = 0x00B9,
                   EM_GETLINECOUNT = 0x00BA, EM_REPLACESEL = 0x00C2, EM_LIMITTEXT = 0x00C5, EM_CANUNDO = 0x00C6,
                   EM_UNDO = 0x00C7, EM_SETREADONLY = 0x00CF, EM_GETMARGINS = 0x00D4, EM_CHARFROMPOS = 0x00D7;
// Button messages: BM_GETCHECK answers, BM_SETCHECK takes a TCheckBoxState in WParam.
constexpr Cardinal BM_GETCHECK = 0x00F0, BM_SETCHECK = 0x00F1, BM_GETSTATE = 0x00F2, BM_SETSTATE = 0x00F3,
                   BM_CLICK = 0x00F5;
constexpr Cardinal CN_HSCROLL = CN_BASE + WM_HSCROLL, CN_VSCROLL = CN_BASE + WM_VSCROLL;
constexpr Integer BST_UNCHECKED = 0, BST_CHECKED = 1, BST_INDETERMINATE = 2, BST_PUSHED = 4;

using TDrawItemEvent = std::function<void(TWinControl* Control, Integer Index, TRect Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = std::function<void(TWinControl* Control, Integer Index, Integer& Height)>;
using TLBGetDataEvent = std::function<void(TWinControl* Control, Integer Index, String& Data)>;

// ---- label

class TCustomLabel : public TGraphicControl {
public:
  explicit TCustomLabel(TComponent* AOwner);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout Value);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  // "&" marks the next character as the accelerator (drawn underlined) unless switched off.
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool Value);
  // The control that takes the focus when the accelerator is pressed.
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);
  void Dispatch(TMessage& Message) override;
protected:
  void Paint() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  Cardinal DrawTextFlags() const;
  void AdjustBounds();
private:
  TAlignment FAlignment = taLeftJustify;
  TTextLayout FLayout = tlTop;
  bool FAutoSize = true;
  bool FWordWrap = false;
  bool FTransparent = false;
  bool FShowAccelChar = true;
  TWinControl* FFocusControl = nullptr;
};

class TLabel : public TCustomLabel {
public:
  using TCustomLabel::TCustomLabel;
  String ClassName() const override { return QStringLiteral("TLabel"); }
};

// ---- single-line and multi-line edits

class TCustomEdit : public TWinControl {
public:
  explicit TCustomEdit(TComponent* AOwner);
  ~TCustomEdit() override;

  Integer SelStart() const;
  void SetSelStart(Integer Value);
  Integer SelLength() const;
  void SetSelLength(Integer Value);
  String SelText() const;
  void SetSelText(const String& Value);
  void SelectAll();
  void ClearSelection();
  void Clear() { SetText(String()); }
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  bool CanUndo() const;
  void Undo();

  bool Modified() const { return FModified; }
  void SetModified(bool Value) { FModified = Value; }
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  // 0: no limit.
  Integer MaxLength() const { return FMaxLength; }
  void SetMaxLength(Integer Value);
  // Characters show as this character (any non-null character hides the text).
  QChar PasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(QChar Value);
  TEditCharCase CharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase Value);
  bool AutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool Value) { FAutoSelect = Value; }
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value) { FHideSelection = Value; }
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  // The rectangle text is laid out in (client coordinates).
  TRect EditRect() const;

  void SetText(const String& Value) override;
  TNotifyEvent OnChange;

  void Dispatch(TMessage& Message) override;
  QWidget* CreateWidget(const TCreateParams& Params, QWidget* ParentWidget) override;

protected:
  // The text changed, by the user or by the program.
  virtual void Change();
  void CreateHandle() override;
  void DoEnter() override;
  void KeyPress(QChar& Key) override;
  // The user changed the widget's text.
  virtual void WidgetTextChanged(const String& Value);
  // Widget access; the memo overrides these for its multi-line widget.
  virtual QWidget* MakeEditWidget(QWidget* ParentWidget);
  virtual String WidgetText() const;
  virtual void PutWidgetText(const String& Value);
  virtual void WidgetSelection(Integer& Start, Integer& Length) const;
  virtual void PutWidgetSelection(Integer Start, Integer Length);
  virtual void ApplyEditOptions();
  virtual Integer CharFromPos(TPoint P) const;
  QLineEdit* LineEdit() const;
  String ApplyCharCase(const String& Value) const;
  void CMTextChanged(TMessage& Message) override;

private:
  void HandleEditMessage(TMessage& Message);
  bool FModified = false;
  bool FReadOnly = false;
  Integer FMaxLength = 0;
  QChar FPasswordChar;
  TEditCharCase FCharCase = ecNormal;
  bool FAutoSelect = true;
  bool FHideSelection = true;
  TAlignment FAlignment = taLeftJustify;
  Integer FSelStart = 0, FSelLength = 0;  // while there is no window
  TRect FEditRect;
  bool FHasEditRect = false;
  bool FPutting = false;  // the program, not the user, is changing the widget's text
};

class TEdit : public TCustomEdit {
public:
  using TCustomEdit::TCustomEdit;
  String ClassName() const override { return QStringLiteral("TEdit"); }
};

// The lines of a memo as a string list that reads and writes the memo's text.
class TMemoStrings;

class TCustomMemo : public TCustomEdit {
public:
  explicit TCustomMemo(TComponent* AOwner);
  ~TCustomMemo() override;
  TStrings* Lines() const;
  void SetLines(TStrings* Value);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  bool WantReturns() const { return FWantReturns; }
  void SetWantReturns(bool Value) { FWantReturns = Value; }
  bool WantTabs() const { return FWantTabs; }
  void SetWantTabs(bool Value) { FWantTabs = Value; }
  void Dispatch(TMessage& Message) override;
protected:
  QWidget* MakeEditWidget(QWidget* ParentWidget) override;
  String WidgetText() const override;
  void PutWidgetText(const String& Value) override;
  void WidgetSelection(Integer& Start, Integer& Length) const override;
  void PutWidgetSelection(Integer Start, Integer Length) override;
  void ApplyEditOptions() override;
  Integer CharFromPos(TPoint P) const override;
  QPlainTextEdit* TextEdit() const;
private:
  Integer TextPosition(Integer WidgetPosition) const;
  Integer WidgetPosition(Integer TextPosition) const;
  std::unique_ptr<TMemoStrings> FLines;
  TScrollStyle FScrollBars = ssNone;
  bool FWordWrap = true;
  bool FWantReturns = true;
  bool FWantTabs = false;
};

class TMemo : public TCustomMemo {
public:
  using TCustomMemo::TCustomMemo;
  String ClassName() const override { return QStringLiteral("TMemo"); }
};

// ---- buttons

class TButtonControl : public TWinControl {
public:
  explicit TButtonControl(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;
protected:
  // The widget's clicked notification arrived.
  virtual void Clicked() { Click(); }
};

class TButton : public TButtonControl {
public:
  explicit TButton(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TButton"); }
  // Enter in the form clicks the default button, Esc the cancel button.
  bool Default() const { return FDefault; }
  void SetDefault(bool Value);
  bool Cancel() const { return FCancel; }
  void SetCancel(bool Value) { FCancel = Value; }
  // Set as the form's ModalResult when the button is clicked.
  Integer ModalResult() const { return FModalResult; }
  void SetModalResult(Integer Value) { FModalResult = Value; }
  void Click() override;
  void Dispatch(TMessage& Message) override;
  QWidget* CreateWidget(const TCreateParams& Params, QWidget* ParentWidget) override;
private:
  bool FDefault = false;
  bool FCancel = false;
  Integer FModalResult = 0;
};

class TCustomCheckBox : public TButtonControl {
public:
  explicit TCustomCheckBox(TComponent* AOwner);
  bool Checked() const { return FState == cbChecked; }
  void SetChecked(bool Value) { SetState(Value ? cbChecked : cbUnchecked); }
  TCheckBoxState State() const { return FState; }
  // Changing the state by program raises OnClick, as a click does.
  void SetState(TCheckBoxState Value);
  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  void Dispatch(TMessage& Message) override;
  QWidget* CreateWidget(const TCreateParams& Params, QWidget* ParentWidget) override;
protected:
  // A click moves unchecked -> checked (-> grayed when allowed) -> unchecked.
  virtual void Toggle();
  void Clicked() override;
private:
  TCheckBoxState FState = cbUnchecked;
  bool FAllowGrayed = false;
  TAlignment FAlignment = taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
public:
  using TCustomCheckBox::TCustomCheckBox;
  String ClassName() const override { return QStringLiteral("TCheckBox"); }
};

class TRadioButton : public TButtonControl {
public:
  explicit TRadioButton(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TRadioButton"); }
  bool Checked() const { return FChecked; }
  // Checking one unchecks the other radio buttons of the same parent.
  void SetChecked(bool Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  void Dispatch(TMessage& Message) override;
  QWidget* CreateWidget(const TCreateParams& Params, QWidget* ParentWidget) override;
protected:
  void Clicked() override;
private:
  bool FChecked = false;
  TAlignment FAlignment = taRightJustify;
};

// ---- group box

class TCustomGroupBox : public TCustomControl {
public:
  explicit TCustomGroupBox(TComponent* AOwner);
protected:
  void AdjustClientRect(TRect& Rect) override;
  void Paint() override;
};

class TGroupBox : public TCustomGroupBox {
public:
  using TCustomGroupBox::TCustomGroupBox;
  String ClassName() const override { return QStringLiteral("TGroupBox"); }
};

// ---- list box and combo box

class TCustomListBox : public TWinControl {
public:
  explicit TCustomListBox(TComponent* AOwner);
  ~TCustomListBox() override;
  TStrings* Items() const;
  void SetItems(TStrings* Value);
  Integer ItemIndex() const;
  void SetItemIndex(Integer Value);
  Integer Count() const;
  // Virtual styles: Count items whose text OnData supplies.
  void SetCount(Integer Value);
  bool MultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool Value);
  bool Selected(Integer Index) const;
  void SetSelected(Integer Index, bool Value);
  Integer SelCount() const;
  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  TListBoxStyle Style() const { return FStyle; }
  void SetStyle(TListBoxStyle Value);
  Integer ItemHeight() const { return FItemHeight; }
  void SetItemHeight(Integer Value);
  Integer TopIndex() const;
  void SetTopIndex(Integer Value);
  TRect ItemRect(Integer Index) const;
  // The item at client point P, or -1 (with Existing false: the count for points below the last).
  Integer ItemAtPos(TPoint P, bool Existing) const;
  void Clear();
  TCanvas* Canvas() const { return FCanvas.get(); }
  // The text of item Index, from Items or, in the virtual styles, from OnData.
  String ItemText(Integer Index) const;

  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;
  TLBGetDataEvent OnData;

  void Dispatch(TMessage& Message) override;
  QWidget* CreateWidget(const TCreateParams& Params, QWidget* ParentWidget) override;
protected:
  void CreateHandle() override;
  // Paints item Index in Rect: OnDrawItem in the owner-draw styles, else the text.
  virtual void DrawItem(Integer Index, const TRect& Rect, TOwnerDrawState State);
  // The widget's item for Index was made; descendants add what they show per item.
  virtual void WidgetItemMade(Integer Index, QListWidgetItem* Item) { (void)Index; (void)Item; }
  void Rebuild();
  QListWidget* ListWidget() const;
private:
  friend class TListBoxDelegate;
  void WidgetSelectionChanged();
  bool Virtual() const { return FStyle == lbVirtual || FStyle == lbVirtualOwnerDraw; }
  bool OwnerDraw() const { return FStyle != lbStandard; }
  std::unique_ptr<TStringList> FItems;
  std::unique_ptr<TControlCanvas> FCanvas;
  std::vector<bool> FSelected;  // while there is no window
  Integer FItemIndex = -1;
  Integer FVirtualCount = 0;
  bool FMultiSelect = false;
  bool FSorted = false;
  TListBoxStyle FStyle = lbStandard;
  Integer FItemHeight = 16;
  Integer FTopIndex = 0;
  bool FSyncing = false;  // the program, not the user, is changing the widget
};

class TListBox : public TCustomListBox {
public:
  using TCustomListBox::TCustomListBox;
  String ClassName() const override { return QStringLiteral("TListBox"); }
};

class TCustomComboBox : public TWinControl {
public:
  explicit TCustomComboBox(TComponent* AOwner);
  ~TCustomComboBox() override;
  TStrings* Items() const;
  void SetItems(TStrings* Value);
  Integer ItemIndex() const { return FItemIndex; }
  // Also sets the text to the item's (empty for -1).
  void SetItemIndex(Integer Value);
  TComboBoxStyle Style() const { return FStyle; }
  void SetStyle(TComboBoxStyle Value);
  Integer DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(Integer Value);
  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  Integer MaxLength() const { return FMaxLength; }
  void SetMaxLength(Integer Value);
  bool DroppedDown() const;
  void SetDroppedDown(bool Value);
  void Clear();
  void SetText(const String& Value) override;

  TNotifyEvent OnChange, OnSelect, OnDropDown, OnCloseUp;

  void Dispatch(TMessage& Message) override;
  QWidget* CreateWidget(const TCreateParams& Params, QWidget* ParentWidget) override;
protected:
  void CreateHandle() override;
  virtual void Change();
  virtual void Select();
  QComboBox* ComboWidget() const;
private:
  void Rebuild();
  void WidgetIndexChanged(int Index);
  void WidgetTextEdited(const String& Value);
  std::unique_ptr<TStringList> FItems;
  Integer FItemIndex = -1;
  TComboBoxStyle FStyle = csDropDown;
  Integer FDropDownCount = 8;
  bool FSorted = false;
  Integer FMaxLength = 0;
  bool FSyncing = false;
};

class TComboBox : public TCustomComboBox {
public:
  using TCustomComboBox::TCustomComboBox;
  String ClassName() const override { return QStringLiteral("TComboBox"); }
};

// ---- scroll bar control

using TScrollEvent = std::function<void(TObject* Sender, TScrollCode ScrollCode, Integer& ScrollPos)>;

class TScrollBar : public TWinControl {
public:
  explicit TScrollBar(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TScrollBar"); }
  TScrollBarKind Kind() const { return FKind; }
  void SetKind(TScrollBarKind Value);
  Integer Min() const { return FMin; }
  Integer Max() const { return FMax; }
  Integer Position() const { return FPosition; }
  Integer PageSize() const { return FPageSize; }
  Integer SmallChange() const { return FSmallChange; }
  Integer LargeChange() const { return FLargeChange; }
  void SetMin(Integer Value) { SetParams(FPosition, Value, FMax); }
  void SetMax(Integer Value) { SetParams(FPosition, FMin, Value); }
  void SetPosition(Integer Value) { SetParams(Value, FMin, FMax); }
  void SetPageSize(Integer Value);
  void SetSmallChange(Integer Value) { FSmallChange = Value; ApplyToWidget(); }
  void SetLargeChange(Integer Value) { FLargeChange = Value; ApplyToWidget(); }
  // Raises EInvalidOperation when Min > Max; the position is kept inside the range.
  void SetParams(Integer APosition, Integer AMin, Integer AMax);

  TNotifyEvent OnChange;
  TScrollEvent OnScroll;

  // CN_HSCROLL and CN_VSCROLL (TWMScroll) carry the user's scrolling.
  void Dispatch(TMessage& Message) override;
  QWidget* CreateWidget(const TCreateParams& Params, QWidget* ParentWidget) override;
protected:
  void CreateHandle() override;
  virtual void Change();
  virtual void Scroll(TScrollCode ScrollCode, Integer& ScrollPos);
private:
  void ApplyToWidget();
  TScrollBarKind FKind = sbHorizontal;
  Integer FMin = 0, FMax = 100, FPosition = 0, FPageSize = 0, FSmallChange = 1, FLargeChange = 1;
};
