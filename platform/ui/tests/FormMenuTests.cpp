#include "UiTestSupport.h"
#include "platform/ui/Menus.h"
#include "platform/ui/StdCtrls.h"
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <gtest/gtest.h>

using namespace uitest;

namespace {

struct FormMenuFixture : ::testing::Test {
  TShownForm Shown;
  TMainMenu* Menu = new TMainMenu(Shown.Form);
  TMenuItem* File = Add(Menu->Items(), "文件(&F)");
  TMenuItem* Save = Add(File, "保存(&S)");
  TMenuItem* Delete = Add(File, "删除");
  TMenuItem* Help = Add(Menu->Items(), "帮助");
  QStringList Clicks;
  TEdit* Edit = new TEdit(Shown.Form);
  QList<Word> EditKeys;

  TMenuItem* Add(TMenuItem* Parent, const char* Caption) {
    auto* item = new TMenuItem(Shown.Form);
    item->SetCaption(QString::fromUtf8(Caption));
    item->OnClick = [this](TObject* Sender) { Clicks << static_cast<TMenuItem*>(Sender)->Caption(); };
    Parent->Add(item);
    return item;
  }
  void SetUp() override {
    Save->SetShortCut(ShortCut('S', {ssCtrl}));
    Delete->SetShortCut(ShortCut('D', {ssCtrl}));
    Delete->SetEnabled(false);
    Edit->SetParent(Shown.Form);
    Edit->OnKeyDown = [this](TObject*, Word& Key, TShiftState) { EditKeys << Key; };
    Edit->SetFocus();
  }
  QMenuBar* Bar() { return Shown.Form->Handle()->findChild<QMenuBar*>(); }
  QAction* BarAction(const QString& Text) {
    for (QAction* action : Bar()->findChildren<QAction*>())
      if (action->text().startsWith(Text)) return action;
    return nullptr;
  }
};

}  // namespace

TEST_F(FormMenuFixture, TheMenuBarSitsAboveTheClientAreaUntilTheMenuGoes) {
  const Integer clientHeight = Shown.Form->ClientHeight();
  Shown.Form->SetMenu(Menu);
  ASSERT_NE(Bar(), nullptr);
  EXPECT_TRUE(Bar()->isVisible());
  QStringList top;
  for (QAction* action : Bar()->actions()) top << action->text();
  EXPECT_EQ(top, QStringList({"文件(&F)", "帮助"}));
  EXPECT_GT(Bar()->height(), 0);
  EXPECT_EQ(Shown.Form->ClientHeight(), clientHeight - Bar()->height());
  const QPoint clientTop = Shown.Form->Handle()->mapFromGlobal(QPoint(Shown.Form->ClientOrigin().X, Shown.Form->ClientOrigin().Y));
  EXPECT_EQ(clientTop.y(), Bar()->geometry().bottom() + 1);

  delete Menu;
  EXPECT_EQ(Shown.Form->Menu(), nullptr);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(Bar(), nullptr);
  EXPECT_EQ(Shown.Form->ClientHeight(), clientHeight);
}

TEST_F(FormMenuFixture, ShortcutsRunTheirItemInsteadOfReachingTheFocusedControl) {
  Shown.Form->SetMenu(Menu);
  QWidget* edit = Edit->Handle();
  PressKey(edit, Qt::Key_S, QString(QChar(0x13)), Qt::ControlModifier);
  EXPECT_EQ(Clicks, QStringList({"保存(&S)"}));
  EXPECT_TRUE(EditKeys.isEmpty());
  // A disabled item's shortcut and keys that are no shortcut go to the control.
  PressKey(edit, Qt::Key_D, QString(QChar(0x04)), Qt::ControlModifier);
  PressKey(edit, Qt::Key_S, QStringLiteral("s"));
  EXPECT_EQ(Clicks.size(), 1);
  EXPECT_EQ(EditKeys, QList<Word>({Word('D'), Word('S')}));
  EXPECT_EQ(Edit->Text(), QStringLiteral("s"));
  EXPECT_TRUE(Shown.Exceptions.isEmpty());
}

TEST_F(FormMenuFixture, ChoosingFromTheBarRunsTheItemAfterTheMenuClosed) {
  Shown.Form->SetMenu(Menu);
  BarAction("保存")->trigger();
  EXPECT_TRUE(Clicks.isEmpty());
  QApplication::processEvents();
  EXPECT_EQ(Clicks, QStringList({"保存(&S)"}));

  // An item freed after the bar was made is never reached through its old entry: the bar is
  // made again without it, and an entry still held from before runs nothing.
  QPointer<QAction> stale = BarAction("帮助");
  delete Help;
  EXPECT_EQ(BarAction("帮助"), nullptr);
  if (stale) stale->trigger();
  QApplication::processEvents();
  EXPECT_EQ(Clicks.size(), 1);

  // A click that raises reaches the application and the program goes on.
  Save->OnClick = [](TObject*) { throw EInvalidOperation(QStringLiteral("不能保存")); };
  BarAction("保存")->trigger();
  QApplication::processEvents();
  EXPECT_EQ(Shown.Exceptions, QStringList({"不能保存"}));
}

TEST_F(FormMenuFixture, ItemsAddedToTheMenuAfterItsBarWasBuiltShowOnTheBar) {
  Shown.Form->SetMenu(Menu);
  EXPECT_EQ(BarAction("工具"), nullptr);
  auto* tools = new TMenuItem(Shown.Form);
  tools->SetCaption(QStringLiteral("工具(&T)"));
  Menu->Items()->Add(tools);
  EXPECT_NE(BarAction("工具"), nullptr);
  Menu->Items()->Remove(tools);
  EXPECT_EQ(BarAction("工具"), nullptr);
  delete tools;
}
