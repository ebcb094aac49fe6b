#pragma once
// The edit window the data-aware grid places over its current cell. Per column it picks an
// editor style (plain, ellipsis, pick list, data list, date, up-down, drop-down and their
// alternatives), draws the column's edit buttons inside itself, drops down the style's list
// (pick list, lookup grid, month calendar, calculator) and the recent values, completes typed
// and pasted text against pick lists and lookup lists, steps values with the up-down buttons,
// and routes keys between itself, its lists and the grid.
#include "dbgrid/DBGridX.h"
#include "grid/DropDownX.h"
#include "grid/EditButtonX.h"

class TPopupListboxX;
class TMRUListboxX;
class TPopupMonthCalendarX;
class TPopupCalculatorX;
class TPopupDataGridX;
class TShape;

// The style of the default button of each editor style.
TEditButtonStyleX DefaultButtonStyleOf(TInplaceEditStyleX Style);

class TDBGridInplaceEdit : public TInplaceEdit, public IPopupOwnerX {
public:
  explicit TDBGridInplaceEdit(TComponent* AOwner);
  ~TDBGridInplaceEdit() override;
  String ClassName() const override { return QStringLiteral("TDBGridInplaceEdit"); }

  TCustomDBGridX* DBGrid() const;
  // The grid's current column; nullptr without one.
  TColumnX* Column() const;
  TInplaceEditStyleX EditStyle() const { return FStyle; }
  void ApplyEditorStyle(TInplaceEditStyleX Style);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  void StepByButton(bool Bottom);
  TEditButtonX* ButtonForShortCut(TShortCut ShortCut) const;
  String TextWithoutSelection() const;
  // The control of button Index: 0 the style's default button, i + 1 the column's EditButtons item i.
  TEditButtonControlX* ButtonControl(Integer Index) const;
  Integer ButtonCount() const { return Integer(FButtons.size()); }
  Integer ButtonsWidth() const { return FButtonsWidth; }
  // The cell-parameter event changed the read-only state the column gave.
  bool ReadOnlyFromCellParams() const { return FReadOnlyFromCellParams; }
  Integer ImageIndex() const { return FImageIndex; }
  void TextRect(TRect& Rect);
  // The input method the grid chose for the current column.
  void SetIme(TImeMode Mode, const String& Name);
  TImeMode ImeMode() const { return FImeMode; }
  // The text and the edit key value of the grid follow the editor after the user deleted
  // part of a lookup or key-list text.
  void ResyncEditKey();
  // The grid's record changed under the editor: the cell is loaded again, an open list stays.
  void ReloadKeepingList();

  // ---- drop-downs
  TWinControl* ActiveList() const { return FActiveList; }
  bool ListVisible() const { return FListVisible; }
  bool DroppedDown() const { return FDroppedDown; }
  TPopupListboxX* PickList() const { return FPickList; }
  TPopupMonthCalendarX* MonthCalendar() const { return FCalendar; }
  TPopupCalculatorX* Calculator() const { return FCalculator; }
  TPopupDataGridX* DataList() const { return FDataList; }
  TMRUListboxX* MRUBox();
  bool MRUBoxDroppedDown() const;
  bool UsesCalculator() const;
  void OpenList();
  void CloseList(bool Accept);
  void FinishDropDown(bool Accept) override { CloseList(Accept); }
  // Keys that open, close or steer a list; Key becomes 0 when consumed.
  void HandleListKeys(Word& Key, TShiftState Shift, bool KeyDownMessage);
  void OpenMRUList();
  void CloseMRUList(bool Accept);
  bool PassDragToList(TObject* Sender, Integer X, Integer Y);

  void UpdateEditRect() override;
  void LoadCellContents() override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
  virtual void UpdateImageIndex();
  virtual TEditButtonControlX* MakeButtonControl();
  virtual TMRUListboxX* MakeMRUBox();
  virtual TPopupCalculatorX* MakeCalculator();
  virtual void DefaultButtonDown(bool Bottom);
  virtual void HandleTypedText(String& Text);
  virtual void ButtonClick(TObject* Sender);
  virtual void ButtonDown(TObject* Sender, bool TopButton, bool& AutoRepeat, bool& Handled);
  virtual void ButtonMouseMove(TObject* Sender, TShiftState Shift, Integer X, Integer Y);
  virtual void ButtonMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual void AcceptMRUItem(const String& Text, bool& Accept);
  virtual void MRUSizeChanged();
  virtual void PaintRequiredMark(TCanvas* Canvas);
  // The column's image at the start of the editor, after the tree indent.
  virtual void PaintImage(TCanvas* Canvas);
  void WMSetCursor(TMessage& Message) override;
  virtual void TextChanged();

  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void KeyPress(QChar& Key) override;
  void PaintWindow(TCanvas* Canvas) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  bool DoMouseWheel(TShiftState Shift, Integer WheelDelta, TPoint MousePos) override;
  void WidgetTextChanged(const String& Value) override;

private:
  void LayoutButtons();
  // The editor stands in the first visible column of a grid showing a tree.
  bool InTreeColumn() const;
  void ActivateEditorIme();
  void PasteText();
  // Text completed against the lists like typed text: Accepted tells whether it was taken.
  bool CompleteText(const String& NewText, Integer TypedLength, bool Typed);
  // The list data set's first record whose result field starts with (Exact: equals) Text.
  bool LocateListText(TDataSet* List, TField* Field, const String& Text, bool Exact);
  void SetListText(const String& Value);
  void SetTextKeepingGrid(const String& Value, Integer SelStart, Integer SelLength);
  void TellListsKey();
  bool EnterDataSetEdit();
  void DataListCloseUp(TObject* Grid, bool Accept);
  void PickListMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  void MRUBoxMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  void DataListColumnMoved(TObject* Sender, Integer FromIndex, Integer ToIndex);
  void OpenDataList();
  void OpenPickList();
  void AcceptDataList(const Variant& Value);
  bool RouteListKey(TMessage& Message);
  bool RouteMRUKey(TMessage& Message);
  void FollowMRUText();

  struct TButtonPair {
    TShape* Separator = nullptr;
    TEditButtonControlX* Button = nullptr;
  };
  std::vector<TButtonPair> FButtons;
  TWinControl* FActiveList = nullptr;
  Integer FButtonsWidth = 0;
  TPopupDataGridX* FDataList = nullptr;
  bool FDroppedDown = false;
  TInplaceEditStyleX FStyle = iesPlainX;
  bool FListColumnsMoved = false;
  bool FListVisible = false;
  bool FKeepListOpen = false;
  std::unique_ptr<TDataSource> FLookupSource;
  TMRUListX* FMRUList = nullptr;
  TMRUListboxX* FMRUBox = nullptr;
  bool FNoClickClose = false;
  TPopupListboxX* FPickList = nullptr;
  TPopupCalculatorX* FCalculator = nullptr;
  TPopupMonthCalendarX* FCalendar = nullptr;
  bool FReadOnlyFromCellParams = false;
  bool FUserTextChanged = false;
  bool FWordWrap = false;
  Integer FImageIndex = -1;
  TImeMode FImeMode = imDontCare;
  String FImeName;
  bool FDestroying = false;
  bool FLoadingCell = false;
  bool FDropNextChar = false;  // the character of a key the editor already took
};

// The first item equal to Text ignoring case (Partial: whose start equals Text); -1 when none.
Integer FindListItem(TStrings* Strings, const String& Text, bool Partial);
