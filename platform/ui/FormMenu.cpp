#include "platform/ui/ActnList.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"
#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {

bool InMenu(const TMenuItem* Parent, const TMenuItem* Item) {
  for (Integer i = 0; i < Parent->Count(); ++i)
    if (Parent->Items(i) == Item || InMenu(Parent->Items(i), Item)) return true;
  return false;
}

// The item an action of the bar stands for, when the menu still holds it: items may have
// gone since the bar was made.
TMenuItem* LiveItem(const TMainMenu* Menu, const QAction* Action) {
  TMenuItem* item = TMenu::ItemOfAction(Action);
  return item && Menu && InMenu(Menu->Items(), item) ? item : nullptr;
}

}  // namespace

void TCustomForm::SetMenu(TMainMenu* Value) {
  if (Value == FMenu) return;
  if (FMenu) FMenu->RemoveFreeNotification(this);
  FMenu = Value;
  if (FMenu) FMenu->FreeNotification(this);
  if (HandleAllocated() && !Parent() && !ComponentState().Contains(csDestroying)) BuildMenuBar();
}

Integer TCustomForm::MenuBarHeight() const { return FMenuBar ? FMenuBar->sizeHint().height() : 0; }

void TCustomForm::BuildMenuBar() {
  delete FMenuBar.data();
  if (FMenu) {
    auto* bar = new QMenuBar(Handle());
    bar->setNativeMenuBar(false);
    // The menus of the bar are the sub-menus of one built menu, which lives as long as the bar.
    QMenu* source = FMenu->BuildMenu(FMenu->Items(), nullptr).release();
    source->setParent(bar, source->windowFlags());
    bar->addActions(source->actions());
    for (QMenu* menu : source->findChildren<QMenu*>()) {
      // A menu shows its items' state as it is when it opens.
      QObject::connect(menu, &QMenu::aboutToShow, bar, [this, menu] {
        for (QAction* action : menu->actions()) {
          TMenuItem* item = LiveItem(FMenu, action);
          if (!item) continue;
          if (item->Action()) item->Action()->Update();
          action->setEnabled(item->Enabled());
          if (action->isCheckable()) action->setChecked(item->Checked());
        }
      });
    }
    for (QAction* action : source->findChildren<QAction*>()) {
      // The click runs once the menu has closed, as after any menu choice.
      QObject::connect(action, &QAction::triggered, bar, [this, action] {
        TMenuItem* item = LiveItem(FMenu, action);
        if (!item || !item->Enabled()) return;
        try {
          item->Click();
        } catch (...) {
          // Called from Qt's menu action: no exception may cross Qt's event loop.
          if (Application) Application->HandleException(this);
        }
      }, Qt::QueuedConnection);
    }
    bar->show();
    FMenuBar = bar;
  }
  FrameChanged();
}

bool TCustomForm::IsShortCut(Word Key, TShiftState Shift) {
  TMenuItem* item = FMenu ? FMenu->FindShortCut(::ShortCut(Key, Shift)) : nullptr;
  if (!item) return false;
  if (item->Action()) item->Action()->Update();
  if (!item->Enabled()) return false;
  item->Click();
  return true;
}
