#pragma once
// The drop-down list of combo boxes, pick lists and filter menus: an owner-drawn list in a
// top-level popup that never takes the focus, follows the mouse, searches as the user
// types, can show images, can show an outside string list without copying it, and can hand
// each item's painting and input to a behaviour object.
#include "grid/SizeGripX.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/StdCtrls.h"

class TPopupListboxX;

// The behaviour of one item, kept as the item's object in item-objects mode.
class TPopupListboxItemX : public TObject {
public:
  // False hides the focus rectangle of the item.
  virtual bool CanFocusItem(TPopupListboxX* List, Integer Index);
  virtual void DrawListItem(TPopupListboxX* List, Integer Index, const TRect& Rect, TOwnerDrawState State);
  virtual void ItemMouseDown(TPopupListboxX* List, Integer Index, TPoint Point, TMouseButton Button, TShiftState Shift);
  virtual void ItemMouseMove(TPopupListboxX* List, Integer Index, TPoint Point, TShiftState Shift);
  virtual void ItemMouseUp(TPopupListboxX* List, Integer Index, TPoint Point, TMouseButton Button, TShiftState Shift,
                           bool& CloseFlag);
  virtual void ItemKeyPress(TPopupListboxX* List, Integer Index, QChar& Key, TShiftState Shift, bool& CloseFlag);
  virtual bool ClosesListOnClick(TPopupListboxX* List, Integer Index);
  // Chosen from the keyboard: Point is (-1, -1).
  virtual void ExecuteItem(TPopupListboxX* List, Integer Index, TPoint Point, TShiftState Shift);
};

// The shared item object with the default behaviour, made when the library starts.
TPopupListboxItemX* DefaultPopupListboxItem();

// The item index a steering key (Up, Down, Page Up, Page Down, Home, End) moves an open list
// of Count items to from Index, Page items a page, kept within the list.
Integer ListIndexAfterKey(Word Key, Integer Index, Integer Count, Integer Page);

using TListGetImageIndexEventX = std::function<void(TObject* Sender, Integer ItemIndex, Integer& ImageIndex)>;

class TPopupListboxX : public TCustomListBox {
public:
  explicit TPopupListboxX(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TPopupListboxX"); }

  TSizeGripX* SizeGrip() const { return FSizeGrip; }
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TListGetImageIndexEventX OnGetImageIndex;
  Integer MeasureTextHeight() const;
  void SizeToRows(Integer Rows);
  Integer BorderHeight() const { return 2 * FBorderWidth; }
  Integer Rows() const { return FRows; }
  // An outside list shown without copying; the owner sets the item count.
  TStrings* SourceItems() const { return FSourceItems; }
  void SetSourceItems(TStrings* Value);
  virtual String GetVirtualItemText(Integer Index) const;
  virtual TObject* GetVirtualItemObject(Integer Index) const;
  bool ItemObjects() const { return FItemObjects; }
  void SetItemObjects(bool Value) { FItemObjects = Value; }
  // Set at every mouse press and release; an item may clear it.
  bool CloseFlag() const { return FCloseFlag; }
  void SetCloseFlag(bool Value) { FCloseFlag = Value; }
  // Set whenever the window is resized, so owners keep a size the user chose.
  bool UserSized() const { return FUserSized; }
  void SetUserSized(bool Value) { FUserSized = Value; }
  Integer HotItem() const { return FHotItem; }
  const String& SearchText() const { return FSearchText; }
  void RedrawItem(Integer Index);
  virtual void PaintItemDefault(Integer Index, const TRect& Rect, TOwnerDrawState State);

  bool CanFocus() const override { return false; }
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  void Dispatch(TMessage& Message) override;
  QWidget* CreateWidget(const TCreateParams& Params, QWidget* ParentWidget) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void DrawItem(Integer Index, const TRect& Rect, TOwnerDrawState State) override;
  void KeyPress(QChar& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
  TPopupListboxItemX* ItemBehaviour(Integer Index) const;
  TObject* ItemObject(Integer Index) const;

private:
  void IncrementalSearch(QChar Key);
  TSizeGripX* FSizeGrip;
  TCustomImageList* FImages = nullptr;
  TPoint FLastMousePos{-1, -1};
  Integer FHotItem = -1;
  String FSearchText;
  Cardinal FLastKeyTick = 0;
  Integer FRows = 1;
  Integer FBorderWidth = 2;
  TStrings* FSourceItems = nullptr;
  bool FItemObjects = false;
  bool FCloseFlag = false;
  bool FUserSized = false;
};

// The popup of recent values, with its own scroll bar beside the grip.
class TMRUListboxX : public TPopupListboxX {
public:
  explicit TMRUListboxX(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TMRUListboxX"); }
  TScrollBar* ScrollBar() const { return FScrollBar; }
  void PlaceScrollBar();
  // Shows the bar (and a square grip on its side) while there are more items than rows.
  void UpdateScrollBar();
  void Dispatch(TMessage& Message) override;
  QWidget* CreateWidget(const TCreateParams& Params, QWidget* ParentWidget) override;
protected:
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
private:
  TRect ScrollBarBounds() const;
  TScrollBar* FScrollBar;
};
