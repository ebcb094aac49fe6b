#include "UiTestSupport.h"
#include "platform/ui/Accelerators.h"
#include "platform/ui/Menus.h"
#include <QMenu>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Queues keys for the menu that will be open when each one's turn comes, so that Popup's
// own event loop runs them and the test never waits for a person.
void QueueMenuKeys(const std::vector<int>& Keys) {
  for (int key : Keys)
    QTimer::singleShot(0, [key] {
      if (QWidget* popup = QApplication::activePopupWidget()) uitest::PressKey(popup, key);
    });
}

TMenuItem* NewItem(TComponent* Owner, TMenuItem* Parent, const QString& Caption) {
  auto* item = new TMenuItem(Owner);
  item->SetCaption(Caption);
  Parent->Add(item);
  return item;
}

struct MenuFixture {
  uitest::TShownForm f;
  // Closes a menu that the queued keys failed to close, so that a fault fails the test
  // instead of hanging it.
  QTimer watchdog;
  TPopupMenu* menu = new TPopupMenu(f.Form);
  QStringList clicks;
  bool popupOpenDuringClick = false;
  TMenuItem* copy = Item("复制(&C)");
  TMenuItem* line = Item("-");
  TMenuItem* disabled = Item("删除");
  TMenuItem* sub = Item("排序");
  TMenuItem* subFirst = NewItem(f.Form, sub, "按姓名");
  TMenuItem* subSecond = NewItem(f.Form, sub, "按部门");
  MenuFixture() {
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] {
      if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    });
    watchdog.start(10000);
    disabled->SetEnabled(false);
    copy->SetShortCut(ShortCut('C', {ssCtrl}));
    for (TMenuItem* item : {copy, disabled, subFirst, subSecond})
      item->OnClick = [this](TObject* Sender) {
        clicks << static_cast<TMenuItem*>(Sender)->Caption();
        popupOpenDuringClick = QApplication::activePopupWidget() != nullptr;
      };
  }
  TMenuItem* Item(const QString& Caption) { return NewItem(f.Form, menu->Items(), Caption); }
};

}  // namespace

TEST(PopupMenu, ReturnsTheChosenItemAfterTheMenuClosedAndRunsItsClick) {
  MenuFixture m;
  QueueMenuKeys({Qt::Key_Down, Qt::Key_Return});
  EXPECT_EQ(m.menu->TrackPopup(50, 50), m.copy);
  EXPECT_EQ(m.clicks, QStringList{"复制(&C)"});
  EXPECT_FALSE(m.popupOpenDuringClick);

  // Down skips the separator and the disabled item; Right opens the sub-menu.
  QueueMenuKeys({Qt::Key_Down, Qt::Key_Down, Qt::Key_Right, Qt::Key_Down, Qt::Key_Return});
  EXPECT_EQ(m.menu->TrackPopup(50, 50), m.subSecond);
  EXPECT_EQ(m.clicks.last(), "按部门");

  QueueMenuKeys({Qt::Key_Escape});
  EXPECT_EQ(m.menu->TrackPopup(50, 50), nullptr);
  EXPECT_EQ(m.clicks.size(), 2);
}

TEST(PopupMenu, ShowsItemsAsTheyAreWhenOpened) {
  MenuFixture m;
  m.sub->SetVisible(false);
  bool popped = false;
  m.menu->OnPopup = [&](TObject*) {
    popped = true;
    m.copy->SetChecked(true);
  };
  std::unique_ptr<QMenu> built = m.menu->BuildMenu(m.menu->Items(), nullptr);
  const QList<QAction*> actions = built->actions();
  ASSERT_EQ(actions.size(), 3);  // the hidden sub-menu is left out
  EXPECT_EQ(actions[0]->text(), "复制(&C)\tCtrl+C");
  EXPECT_TRUE(actions[1]->isSeparator());
  EXPECT_FALSE(actions[2]->isEnabled());
  EXPECT_EQ(TMenu::ItemOfAction(actions[0]), m.copy);

  QueueMenuKeys({Qt::Key_Escape});
  m.menu->Popup(10, 10);
  EXPECT_TRUE(popped);
}

TEST(MenuItem, TreeEditingRadioGroupsAndShortcuts) {
  MenuFixture m;
  TMenuItem* root = m.menu->Items();
  EXPECT_EQ(root->Count(), 4);
  EXPECT_EQ(root->Find("复制(c)"), m.copy);  // without the accelerator mark and without case
  EXPECT_EQ(root->Find("复制"), nullptr);
  EXPECT_EQ(m.subFirst->GetParentMenu(), m.menu);
  EXPECT_EQ(m.menu->FindShortCut(ShortCut('C', {ssCtrl})), m.copy);
  EXPECT_THROW(m.subFirst->Add(m.sub), EMenuError);

  m.sub->SetMenuIndex(0);
  EXPECT_EQ(root->Items(0), m.sub);
  delete m.subFirst;  // freed by its owner's code path: leaves its parent
  EXPECT_EQ(m.sub->Count(), 1);
  root->Delete(0);  // frees the sub-menu with its items
  EXPECT_EQ(root->Count(), 3);

  TMenuItem* a = NewItem(m.f.Form, root, "沙漠");
  TMenuItem* b = NewItem(m.f.Form, root, "夜色");
  for (TMenuItem* item : {a, b}) {
    item->SetRadioItem(true);
    item->SetAutoCheck(true);
    item->SetGroupIndex(1);
  }
  a->Click();
  b->Click();
  EXPECT_FALSE(a->Checked());
  EXPECT_TRUE(b->Checked());

  for (auto [shortcut, text] : std::initializer_list<std::pair<TShortCut, const char*>>{
         {ShortCut(VK_DELETE, {}), "Del"}, {ShortCut(VK_F1 + 9, {ssShift}), "Shift+F10"},
         {ShortCut('S', {ssCtrl, ssAlt}), "Ctrl+Alt+S"}, {scNone, ""}})
    EXPECT_EQ(ShortCutToText(shortcut), QString::fromUtf8(text));
}

TEST(Accelerators, TheCharacterAfterAnAmpersandIsTheAccelerator) {
  struct Case {
    const char* caption;
    char16_t key;
    bool accel;
    const char* stripped;
  };
  for (const Case& c : std::initializer_list<Case>{{"确认(&E)", u'e', true, "确认(E)"},
                                                   {"确认(&E)", u'X', false, "确认(E)"},
                                                   {"A&&B", u'B', false, "A&B"},
                                                   {"&&A&b", u'B', true, "&Ab"},
                                                   {"无", u'W', false, "无"}}) {
    EXPECT_EQ(IsAccel(c.key, QString::fromUtf8(c.caption)), c.accel) << c.caption;
    EXPECT_EQ(StripHotkey(QString::fromUtf8(c.caption)), QString::fromUtf8(c.stripped)) << c.caption;
  }
}
