#include "platform/ui/Menus.h"
#include "platform/ui/Accelerators.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/MenuStyle.h"
#include <QAction>
#include <QMenu>

// ---- shortcuts

TShortCut ShortCut(Word Key, TShiftState Shift) {
  if (Key & 0xFF00) return scNone;
  TShortCut result = Key;
  if (Shift.Contains(ssShift)) result |= scShift;
  if (Shift.Contains(ssCtrl)) result |= scCtrl;
  if (Shift.Contains(ssAlt)) result |= scAlt;
  return result;
}

void ShortCutToKey(TShortCut ShortCut, Word& Key, TShiftState& Shift) {
  Key = ShortCut & 0xFF;
  Shift = {};
  if (ShortCut & scShift) Shift.Include(ssShift);
  if (ShortCut & scCtrl) Shift.Include(ssCtrl);
  if (ShortCut & scAlt) Shift.Include(ssAlt);
}

namespace {

String KeyName(Word Key) {
  if ((Key >= u'0' && Key <= u'9') || (Key >= u'A' && Key <= u'Z')) return QString(QChar(char16_t(Key)));
  if (Key >= VK_F1 && Key <= VK_F24) return QStringLiteral("F%1").arg(Key - VK_F1 + 1);
  if (Key >= VK_NUMPAD0 && Key <= VK_NUMPAD0 + 9) return QStringLiteral("Num %1").arg(Key - VK_NUMPAD0);
  switch (Key) {
    case VK_BACK: return QStringLiteral("BkSp");
    case VK_TAB: return QStringLiteral("Tab");
    case VK_RETURN: return QStringLiteral("Enter");
    case VK_ESCAPE: return QStringLiteral("Esc");
    case VK_SPACE: return QStringLiteral("Space");
    case VK_PRIOR: return QStringLiteral("PgUp");
    case VK_NEXT: return QStringLiteral("PgDn");
    case VK_END: return QStringLiteral("End");
    case VK_HOME: return QStringLiteral("Home");
    case VK_LEFT: return QStringLiteral("Left");
    case VK_UP: return QStringLiteral("Up");
    case VK_RIGHT: return QStringLiteral("Right");
    case VK_DOWN: return QStringLiteral("Down");
    case VK_INSERT: return QStringLiteral("Ins");
    case VK_DELETE: return QStringLiteral("Del");
    case VK_ADD: return QStringLiteral("Num +");
    case VK_SUBTRACT: return QStringLiteral("Num -");
    case VK_MULTIPLY: return QStringLiteral("Num *");
    case VK_DIVIDE: return QStringLiteral("Num /");
    default: return {};
  }
}

}  // namespace

String ShortCutToText(TShortCut ShortCut) {
  const String key = KeyName(ShortCut & 0xFF);
  if (key.isEmpty()) return {};
  String text;
  if (ShortCut & scShift) text += QStringLiteral("Shift+");
  if (ShortCut & scCtrl) text += QStringLiteral("Ctrl+");
  if (ShortCut & scAlt) text += QStringLiteral("Alt+");
  return text + key;
}

// ---- TMenuItem

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}

TMenuItem::~TMenuItem() {
  Destroying();
  SetAction(nullptr);
  if (FParent) FParent->Remove(this);
  while (!FItems.empty()) delete FItems.back();
}

TMenuItem* TMenuItem::Items(Integer Index) const {
  if (Index < 0 || Index >= Count()) throw EListError(QStringLiteral("菜单项索引越界 (%1)").arg(Index));
  return FItems[size_t(Index)];
}

namespace {
// The control owning the menu Item belongs to (its form) hears of the change, so that a menu
// bar already built shows it.
void MenuChanged(const TMenuItem* Item) {
  TMenu* menu = Item->GetParentMenu();
  auto* owner = menu ? dynamic_cast<TWinControl*>(menu->Owner()) : nullptr;
  if (!owner || menu->ComponentState().Contains(csDestroying) || owner->ComponentState().Contains(csDestroying)) return;
  owner->Perform(CM_MENUCHANGED, 0, LPARAM(menu));
}
}  // namespace

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Insert(Integer Index, TMenuItem* Item) {
  if (!Item) return;
  for (const TMenuItem* p = this; p; p = p->FParent)
    if (p == Item) throw EMenuError(QStringLiteral("菜单项不能加入它自己的子菜单"));
  if (Item->FParent) Item->FParent->Remove(Item);
  Index = std::clamp<Integer>(Index, 0, Count());
  FItems.insert(FItems.begin() + Index, Item);
  Item->FParent = this;
  MenuChanged(this);
}

void TMenuItem::Remove(TMenuItem* Item) {
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  if (it == FItems.end()) return;
  FItems.erase(it);
  Item->FParent = nullptr;
  MenuChanged(this);
}

void TMenuItem::Delete(Integer Index) { delete Items(Index); }

void TMenuItem::Clear() {
  while (!FItems.empty()) delete FItems.back();
}

Integer TMenuItem::IndexOf(const TMenuItem* Item) const {
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  return it == FItems.end() ? -1 : Integer(it - FItems.begin());
}

TMenuItem* TMenuItem::Find(const String& ACaption) const {
  const String wanted = StripHotkey(ACaption);
  for (TMenuItem* item : FItems)
    if (StripHotkey(item->FCaption).compare(wanted, Qt::CaseInsensitive) == 0) return item;
  return nullptr;
}

void TMenuItem::SetMenuIndex(Integer Value) {
  if (!FParent) return;
  TMenuItem* parent = FParent;
  parent->Remove(this);
  parent->Insert(Value, this);
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* item = this;
  while (item->FParent) item = item->FParent;
  return item->FMenu;
}

void TMenuItem::SetChecked(bool Value) {
  FChecked = Value;
  if (!Value || !FRadioItem || !FParent) return;
  for (TMenuItem* sibling : FParent->FItems)
    if (sibling != this && sibling->FRadioItem && sibling->FGroupIndex == FGroupIndex) sibling->FChecked = false;
}

void TMenuItem::SetAction(TAction* Value) {
  if (Value == FAction) return;
  if (FAction) FAction->RemoveClient(this);
  FAction = Value;
  if (!Value) return;
  Value->AddClient(this);
  ActionChanged();
}

void TMenuItem::ActionChanged() {
  if (!FAction) return;
  FCaption = FAction->Caption();
  FEnabled = FAction->Enabled();
  FVisible = FAction->Visible();
  FHint = FAction->Hint();
  FImageIndex = FAction->ImageIndex();
  FShortCut = FAction->ShortCut();
  SetChecked(FAction->Checked());
}

void TMenuItem::MeasureItem(TCanvas* ACanvas, Integer& Width, Integer& Height) {
  if (OnMeasureItem) OnMeasureItem(this, ACanvas, Width, Height);
}

void TMenuItem::Click() {
  if (FAutoCheck) SetChecked(FRadioItem || !FChecked);
  if (OnClick) OnClick(this);
  else if (FAction) FAction->Execute();
}

// ---- TMenu

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), FItems(std::make_unique<TMenuItem>(nullptr)) {
  FItems->FMenu = this;
}

TMenu::~TMenu() {
  Destroying();
  FItems.reset();
}

void TMenu::SetImages(TCustomImageList* Value) {
  FImages = Value;
  if (Value) Value->FreeNotification(this);
}

void TMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

namespace {

TMenuItem* FindShortCutIn(const TMenuItem* Parent, TShortCut ShortCut) {
  for (Integer i = 0; i < Parent->Count(); ++i) {
    TMenuItem* item = Parent->Items(i);
    if (item->ShortCut() == ShortCut) return item;
    if (TMenuItem* found = FindShortCutIn(item, ShortCut)) return found;
  }
  return nullptr;
}

}  // namespace

TMenuItem* TMenu::FindShortCut(TShortCut ShortCut) const {
  return ShortCut == scNone ? nullptr : FindShortCutIn(FItems.get(), ShortCut);
}

TMenuItem* TMenu::ItemOfAction(const QAction* Action) {
  return Action ? static_cast<TMenuItem*>(Action->data().value<void*>()) : nullptr;
}

std::unique_ptr<QMenu> TMenu::BuildMenu(TMenuItem* Item, QWidget* Parent) const {
  auto menu = std::make_unique<QMenu>(Parent);
  std::function<void(QMenu*, TMenuItem*)> fill = [&](QMenu* target, TMenuItem* parent) {
    MeasureThroughItems(target);
    if (IsRightToLeft()) target->setLayoutDirection(Qt::RightToLeft);
    for (Integer i = 0; i < parent->Count(); ++i) {
      TMenuItem* item = parent->Items(i);
      if (!item->Visible()) continue;
      if (item->IsLine()) {
        target->addSeparator();
        continue;
      }
      // The text after a tab is shown as the shortcut column.
      String text = item->Caption();
      if (item->ShortCut() != scNone) text += u'\t' + ShortCutToText(item->ShortCut());
      QAction* action;
      if (item->Count() > 0) {
        QMenu* sub = target->addMenu(text);
        fill(sub, item);
        action = sub->menuAction();
      } else {
        action = target->addAction(text);
      }
      action->setData(QVariant::fromValue<void*>(item));
      action->setEnabled(item->Enabled());
      action->setStatusTip(item->Hint());
      if (item->Checked() || item->RadioItem() || item->AutoCheck()) {
        action->setCheckable(true);
        action->setChecked(item->Checked());
      }
      if (item->Default()) {
        QFont font = action->font();
        font.setBold(true);
        action->setFont(font);
      }
      if (FImages && item->ImageIndex() >= 0 && item->ImageIndex() < FImages->Count()) {
        TBitmap icon;
        QImage transparent(FImages->Width(), FImages->Height(), QImage::Format_ARGB32_Premultiplied);
        transparent.fill(Qt::transparent);
        icon.SetImage(transparent);
        FImages->Draw(icon.Canvas(), 0, 0, item->ImageIndex(), item->Enabled());
        action->setIcon(QIcon(QPixmap::fromImage(icon.Image())));
      }
    }
  };
  fill(menu.get(), Item);
  return menu;
}

// ---- TPopupMenu

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TMenu::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPopupComponent) FPopupComponent = nullptr;
}

void TPopupMenu::Popup(Integer X, Integer Y) { TrackPopup(X, Y); }

namespace {

// Items linked to actions show the actions' state as it is now.
void UpdateActions(TMenuItem* Parent) {
  for (Integer i = 0; i < Parent->Count(); ++i) {
    TMenuItem* item = Parent->Items(i);
    if (item->Action()) item->Action()->Update();
    UpdateActions(item);
  }
}

}  // namespace

TMenuItem* TPopupMenu::TrackPopup(Integer X, Integer Y) {
  if (OnPopup) OnPopup(this);
  UpdateActions(Items());
  std::unique_ptr<QMenu> menu = BuildMenu(Items(), nullptr);
  if (menu->isEmpty()) return nullptr;
  QPoint at(X, Y);
  if (FAlignment == paRight) at.rx() -= menu->sizeHint().width();
  else if (FAlignment == paCenter) at.rx() -= menu->sizeHint().width() / 2;
  TMenuItem* chosen = ItemOfAction(menu->exec(at));
  menu.reset();
  // The click runs once the menu is gone, as after any menu choice.
  if (chosen && chosen->Enabled()) chosen->Click();
  return chosen && chosen->Enabled() ? chosen : nullptr;
}
