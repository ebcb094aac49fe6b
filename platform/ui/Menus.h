#pragma once
// Menus: a tree of menu items shown as Qt menus. A popup menu's Popup returns once the menu
// has closed, after the chosen item's click has run.
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Controls.h"

class QMenu;
class QAction;

MOLI_DECLARE_EXCEPTION(EMenuError, Exception)
class TCustomImageList;

// A shortcut is a virtual key plus these modifier bits.
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0;
TShortCut ShortCut(Word Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, Word& Key, TShiftState& Shift);
// "Ctrl+S", "Shift+F10", "Del"; empty for scNone.
String ShortCutToText(TShortCut ShortCut);

class TMenu;
class TAction;
class TCanvas;

// WM_MEASUREITEM, sent to the window owning a main menu for each item of its drop-downs:
// LParam points to the item's record, its size as the menu measured it; a handler that sets
// the size answers 1. Canvas holds the menu's font.
constexpr Cardinal WM_MEASUREITEM = 0x002C, ODT_MENU = 1;
struct TMeasureItemStruct {
  Cardinal CtlType = ODT_MENU;
  Integer itemWidth = 0;
  Integer itemHeight = 0;
  void* itemData = nullptr;  // the TMenuItem
  TCanvas* Canvas = nullptr;
};

// Width and Height arrive as the menu measured the item and may be changed.
using TMenuMeasureItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, Integer& Width, Integer& Height)>;

class TMenuItem : public TComponent {
public:
  explicit TMenuItem(TComponent* AOwner);
  ~TMenuItem() override;
  String ClassName() const override { return QStringLiteral("TMenuItem"); }

  // "&" marks the accelerator; "-" makes the item a separator line.
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value) { FCaption = Value; }
  bool IsLine() const { return FCaption == QStringLiteral("-"); }
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value) { FShortCut = Value; }
  bool Checked() const { return FChecked; }
  // Checking a radio item unchecks the radio items of its group under the same parent.
  void SetChecked(bool Value);
  bool RadioItem() const { return FRadioItem; }
  void SetRadioItem(bool Value) { FRadioItem = Value; }
  Byte GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(Byte Value) { FGroupIndex = Value; }
  // A click toggles Checked first.
  bool AutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool Value) { FAutoCheck = Value; }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value) { FEnabled = Value; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value) { FVisible = Value; }
  bool Default() const { return FDefault; }
  void SetDefault(bool Value) { FDefault = Value; }
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value) { FImageIndex = Value; }
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value) { FHint = Value; }
  Integer Tag() const { return FTag; }
  void SetTag(Integer Value) { FTag = Value; }

  // ---- sub-items
  Integer Count() const { return Integer(FItems.size()); }
  TMenuItem* Items(Integer Index) const;
  TMenuItem* operator[](Integer Index) const { return Items(Index); }
  TMenuItem* Parent() const { return FParent; }
  // Adding takes the item from its previous parent.
  void Add(TMenuItem* Item);
  void Insert(Integer Index, TMenuItem* Item);
  // Removes without freeing; Delete frees.
  void Remove(TMenuItem* Item);
  void Delete(Integer Index);
  void Clear();
  Integer IndexOf(const TMenuItem* Item) const;
  // The sub-item whose caption, without "&" and compared without case, is ACaption.
  TMenuItem* Find(const String& ACaption) const;
  Integer MenuIndex() const { return FParent ? FParent->IndexOf(this) : -1; }
  void SetMenuIndex(Integer Value);
  // The menu the item belongs to, through its parents.
  TMenu* GetParentMenu() const;

  // Links the item to Action: it shows the action's caption and state and runs it.
  TAction* Action() const { return FAction; }
  void SetAction(TAction* Value);
  // The linked action changed: the item takes its caption and state again.
  void ActionChanged();

  // AutoCheck, then OnClick; a linked action without an OnClick handler is executed.
  virtual void Click();
  TNotifyEvent OnClick;

  // The item's size in its menu: Width and Height arrive as the menu's style measured the
  // caption with its glyph and check columns (the menu adds the shortcut column after the
  // widest item); OnMeasureItem may change them.
  virtual void MeasureItem(TCanvas* ACanvas, Integer& Width, Integer& Height);
  TMenuMeasureItemEvent OnMeasureItem;

private:
  friend class TMenu;
  String FCaption;
  TShortCut FShortCut = scNone;
  bool FChecked = false;
  bool FRadioItem = false;
  Byte FGroupIndex = 0;
  bool FAutoCheck = false;
  bool FEnabled = true;
  bool FVisible = true;
  bool FDefault = false;
  Integer FImageIndex = -1;
  String FHint;
  Integer FTag = 0;
  std::vector<TMenuItem*> FItems;
  TMenuItem* FParent = nullptr;
  TMenu* FMenu = nullptr;  // set on the root item only
  TAction* FAction = nullptr;
};

class TMenu : public TComponent {
public:
  explicit TMenu(TComponent* AOwner);
  ~TMenu() override;
  // The invisible root whose sub-items are the menu's items.
  TMenuItem* Items() const { return FItems.get(); }
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  // A right-to-left menu shows its items mirrored: glyphs at the right, shortcuts at the left.
  TBiDiMode BiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(TBiDiMode Value) { FBiDiMode = Value; }
  bool IsRightToLeft() const { return FBiDiMode != bdLeftToRight; }
  // The item, at any depth, whose shortcut is ShortCut, or nullptr.
  TMenuItem* FindShortCut(TShortCut ShortCut) const;
  // A Qt menu showing Item's sub-items; chosen actions carry their item.
  std::unique_ptr<QMenu> BuildMenu(TMenuItem* Item, QWidget* Parent) const;
  // The item a triggered action of a built menu stands for.
  static TMenuItem* ItemOfAction(const QAction* Action);
protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
private:
  std::unique_ptr<TMenuItem> FItems;
  TCustomImageList* FImages = nullptr;
  TBiDiMode FBiDiMode = bdLeftToRight;
};

class TMainMenu : public TMenu {
public:
  using TMenu::TMenu;
  String ClassName() const override { return QStringLiteral("TMainMenu"); }
};

enum TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu : public TMenu, public IPopupMenu {
public:
  explicit TPopupMenu(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TPopupMenu"); }

  bool AutoPopup() const override { return FAutoPopup; }
  void SetAutoPopup(bool Value) { FAutoPopup = Value; }
  TPopupAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TPopupAlignment Value) { FAlignment = Value; }
  // The control the menu was last opened for.
  TComponent* PopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* Value) override { FPopupComponent = Value; }

  // Shows the menu at the screen point X, Y (by Alignment) and returns once it has closed.
  void Popup(Integer X, Integer Y) override;
  // Popup that answers the item chosen (its click has run), or nullptr when none was.
  TMenuItem* TrackPopup(Integer X, Integer Y);
  TNotifyEvent OnPopup;
protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
private:
  bool FAutoPopup = true;
  TPopupAlignment FAlignment = paLeft;
  TComponent* FPopupComponent = nullptr;
};
