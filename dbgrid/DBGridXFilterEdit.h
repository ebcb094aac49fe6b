#pragma once
// The filter row's editor, a combo box the grid hosts over a filter cell, and the entries of
// the filter drop-down list: sort entries, a separator, the commands and the checkable values.
// The entry objects are shared by every list; what a value entry remembers lives in its
// column's filter.
#include "dbgrid/DBGridXColumns.h"
#include "grid/DBCtrlsX.h"
#include "grid/PopupListboxX.h"

class TInplaceFilterEditX : public TDBComboBoxX {
public:
  explicit TInplaceFilterEditX(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TInplaceFilterEditX"); }
  TColumnX* Column() const { return FColumn; }
  void SetColumn(TColumnX* Value) { FColumn = Value; }
  // Sets Value, then shows Text as the edit text.
  void LoadValueAndText(const Variant& Value, const String& Text);
  // A lookup column's key value shown by its display text.
  void SetKeyDisplayText(const Variant& KeyValue, const String& Text) { LoadValueAndText(KeyValue, Text); }
  // Toggling a value of the open list does not close it.
  void FinishDropDown(bool Accept) override;
  // The list of an accepted close-up runs its entry instead of taking its text.
  std::function<void(TInplaceFilterEditX* Sender, bool Accept)> OnFilterCloseUp;

protected:
  TRect TextAreaRect() const override;

private:
  TColumnX* FColumn = nullptr;
};

// The filter list entries find their column from the list's owner: the grid's open filter
// drop-down, or the filter editor's column.
class TDBGridFilterPopupListboxItemX : public TPopupListboxItemX {
public:
  static TColumnX* ListColumn(TPopupListboxX* List);
  static TCustomDBGridX* ListGrid(TPopupListboxX* List);
protected:
  // The text of the entry to the right of the glyph area.
  static void PaintTextBesideGlyph(TPopupListboxX* List, Integer Index, const TRect& Rect, TOwnerDrawState State);
};

class TPopupListboxItemXSort : public TDBGridFilterPopupListboxItemX {
public:
  explicit TPopupListboxItemXSort(TSortMarkerX Marker) : FSortMarker(Marker) {}
  TSortMarkerX SortMarker() const { return FSortMarker; }
  bool CanFocusItem(TPopupListboxX*, Integer) override { return false; }
  void DrawListItem(TPopupListboxX* List, Integer Index, const TRect& Rect, TOwnerDrawState State) override;
  void ExecuteItem(TPopupListboxX* List, Integer Index, TPoint Point, TShiftState Shift) override;
private:
  TSortMarkerX FSortMarker;
};

class TPopupListboxItemXLine : public TDBGridFilterPopupListboxItemX {
public:
  bool CanFocusItem(TPopupListboxX*, Integer) override { return false; }
  bool ClosesListOnClick(TPopupListboxX*, Integer) override { return false; }
  void DrawListItem(TPopupListboxX* List, Integer Index, const TRect& Rect, TOwnerDrawState State) override;
};

// Commands: 0 clear all conditions, 1 all values of this column, 2 empty, 3 not empty,
// 4 the custom filter dialog, 5 apply.
class TPopupListboxItemXSpec : public TDBGridFilterPopupListboxItemX {
public:
  explicit TPopupListboxItemXSpec(Byte Command) : FCommand(Command) {}
  Byte Command() const { return FCommand; }
  bool CanFocusItem(TPopupListboxX*, Integer) override { return false; }
  void DrawListItem(TPopupListboxX* List, Integer Index, const TRect& Rect, TOwnerDrawState State) override;
  void ExecuteItem(TPopupListboxX* List, Integer Index, TPoint Point, TShiftState Shift) override;
private:
  Byte FCommand;
};

// A value of the column, checked or not; clicks toggle it and keep the list open.
class TPopupListboxItemXData : public TDBGridFilterPopupListboxItemX {
public:
  bool CanFocusItem(TPopupListboxX*, Integer) override { return false; }
  bool ClosesListOnClick(TPopupListboxX*, Integer) override { return false; }
  void DrawListItem(TPopupListboxX* List, Integer Index, const TRect& Rect, TOwnerDrawState State) override;
  void ItemMouseDown(TPopupListboxX* List, Integer Index, TPoint Point, TMouseButton Button, TShiftState Shift) override;
  void ItemMouseMove(TPopupListboxX* List, Integer Index, TPoint Point, TShiftState Shift) override;
  void ItemMouseUp(TPopupListboxX* List, Integer Index, TPoint Point, TMouseButton Button, TShiftState Shift,
                   bool& CloseFlag) override;
  void ItemKeyPress(TPopupListboxX*, Integer, QChar&, TShiftState, bool&) override {}
  void ExecuteItem(TPopupListboxX* List, Integer Index, TPoint Point, TShiftState Shift) override;
};

// The shared entries, made once with the grid unit.
struct TFilterListItemsX {
  TPopupListboxItemXSort SortDown{smDownX};
  TPopupListboxItemXSort SortUp{smUpX};
  TPopupListboxItemXLine Line;
  TPopupListboxItemXSpec Commands[6]{TPopupListboxItemXSpec(0), TPopupListboxItemXSpec(1), TPopupListboxItemXSpec(2),
                                     TPopupListboxItemXSpec(3), TPopupListboxItemXSpec(4), TPopupListboxItemXSpec(5)};
  TPopupListboxItemXData Data;
};
TFilterListItemsX& FilterListItems();
bool IsFilterValueItem(const TObject* Item);
// The texts the command entries show.
extern const char* const SFilterCommandTexts[6];
extern const char* const SSortAscendingText;
extern const char* const SSortDescendingText;

// The custom filter dialog for Column's filter; true when the user confirmed with OK.
bool ShowCustomFilterDialog(TColumnX* Column);
