// A skinned form's menu items are measured for the skinned drawing: it places a glyph column
// after the item's left margin, so every item is made that much wider than its own measure.
#include "platform/ui/Menus.h"
#include "skin/SkinData.h"
#include "skin/SkinForm.h"

namespace {

// The measuring a skinned form gives items that have none; known by its type when the form
// takes it back.
struct TSkinMeasureHandler {
  TSkinForm* Form;
  void operator()(TObject* Sender, TCanvas* ACanvas, Integer& Width, Integer& Height) const {
    Form->MenuItemMeasureEvent(Sender, ACanvas, Width, Height);
  }
};

bool HasImages(const TMenuItem* Item) {
  const TMenu* menu = Item->GetParentMenu();
  return menu && menu->Images();
}

void ForEachItem(TMenuItem* Parent, const std::function<void(TMenuItem*)>& Apply) {
  for (Integer i = 0; i < Parent->Count(); ++i) {
    TMenuItem* item = Parent->Items(i);
    Apply(item);
    ForEachItem(item, Apply);
  }
}

}  // namespace

Integer TSkinForm::MenuItemLeftWidth() const {
  if (!FSkinData || FSkinData->SkinNotBuilt()) return 0;
  const TSkinModel& m = FSkinData->Model();
  return m.MenuItem ? m.MenuItem->LeftWidth : 0;
}

void TSkinForm::MeasureMenuItem(TMenuItem* Item, TCanvas* Canvas, Integer& Width, Integer& Height) {
  // The item's own measure, without a handler that would add the skin's share a second time.
  TMenuMeasureItemEvent handler = std::move(Item->OnMeasureItem);
  Item->OnMeasureItem = nullptr;
  try {
    Item->MeasureItem(Canvas, Width, Height);
  } catch (...) {
    Item->OnMeasureItem = std::move(handler);
    throw;
  }
  Item->OnMeasureItem = std::move(handler);
  Width += MenuItemLeftWidth() + (HasImages(Item) ? 10 : 35);
}

void TSkinForm::MenuItemMeasureEvent(TObject* Sender, TCanvas*, Integer& Width, Integer&) {
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  Width += MenuItemLeftWidth() + (item && HasImages(item) ? 12 : 35);
}

void TSkinForm::SetMeasuring(TMenuItem* Item, bool On) {
  if (On && !Item->OnMeasureItem) Item->OnMeasureItem = TSkinMeasureHandler{this};
  else if (!On && Item->OnMeasureItem.target<TSkinMeasureHandler>()) Item->OnMeasureItem = nullptr;
}

void TSkinForm::MeasureMenus(bool On) {
  if (!FControl || !FSkinData || FControl->ClassName() == QStringLiteral("TwwRichEditForm")) return;
  const TSkinControlTypes types = FSkinData->SkinControls();
  for (Integer i = 0; i < FControl->ComponentCount(); ++i) {
    TComponent* component = FControl->Components(i);
    if (auto* popup = dynamic_cast<TPopupMenu*>(component)) {
      if (types.Contains(xcPopupMenu) && popup->Tag() != FSkinData->DisableTag())
        ForEachItem(popup->Items(), [&](TMenuItem* item) { SetMeasuring(item, On); });
    } else if (auto* mainMenu = dynamic_cast<TMainMenu*>(component); mainMenu && types.Contains(xcMenuItem)) {
      // The bar's own items are drawn by the bar; those of its drop-downs are measured.
      for (Integer k = 0; k < mainMenu->Items()->Count(); ++k)
        ForEachItem(mainMenu->Items()->Items(k), [&](TMenuItem* item) { SetMeasuring(item, On); });
    }
  }
}

bool TSkinForm::MeasureItemMessage(TMessage& Message) {
  auto* record = reinterpret_cast<TMeasureItemStruct*>(Message.LParam);
  auto* item = record && record->CtlType == ODT_MENU ? static_cast<TMenuItem*>(record->itemData) : nullptr;
  TMainMenu* menu = FControl ? FControl->Menu() : nullptr;
  if (!FFrameSkinned || !item || !menu || item->GetParentMenu() != menu) return false;
  MeasureMenuItem(item, record->Canvas, record->itemWidth, record->itemHeight);
  Message.Result = 1;
  return true;
}
