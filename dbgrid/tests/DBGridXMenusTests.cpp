// The indicator title's menu and a column's own menu.
#include "DBGridXTestSupport.h"
#include "dbgrid/DBGridXCenter.h"
#include "dbgrid/DBGridXGlobals.h"
#include "platform/ui/Menus.h"
#include <QTimer>

using dbgridtest::TGridForm;

namespace {
std::vector<String> Captions(TMenuItem* Parent) {
  std::vector<String> captions;
  for (Integer i = 0; i < Parent->Count(); ++i) captions.push_back(Parent->Items(i)->Caption());
  return captions;
}

// A press and release on the focused grid's indicator title; the menu it drops is closed at
// once.
void PressIndicatorTitle(TCustomDBGridX* Grid) {
  Grid->SetFocus();
  QApplication::processEvents();
  QTimer::singleShot(0, [] {
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
  });
  const TRect cell = Grid->CellRect(0, 0);
  const TPoint p(cell.Left + 3, cell.Top + 3);
  Grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(p));
  Grid->Perform(WM_LBUTTONUP, 0, PointToLParam(p));
}

struct TMenuForm : TGridForm {
  TMenuForm() {
    Bind();
    Grid->IndicatorTitle()->SetTitleButton(true);
    Grid->SetEditActions({geaCopyX});
  }
  ~TMenuForm() { DBGridXCenter().IndicatorMenuItems = 63; }
};
}  // namespace

TEST(DBGridXMenus, TheIndicatorTitleDropsTheEntriesTheCentreChooses) {
  TMenuForm f;
  TPopupMenu* shown = nullptr;
  f.Grid->OnBuildIndicatorTitleMenu = [&shown](TCustomDBGridX* Grid, TPopupMenu*& Menu) {
    Grid->DefaultBuildIndicatorMenu(Menu);
    Menu->OnPopup = [&shown, Menu](TObject*) { shown = Menu; };
  };
  PressIndicatorTitle(f.Grid);
  ASSERT_NE(shown, nullptr) << "a press drops the menu";
  EXPECT_EQ(Captions(shown->Items()),
            (std::vector<String>{"Visible columns", "剪切", "拷贝", "粘贴", "删除", "全选"}));
  EXPECT_TRUE(shown->Items()->Items(2)->Enabled()) << "copy is among the edit actions";
  EXPECT_FALSE(shown->Items()->Items(1)->Enabled()) << "cut is not";
  EXPECT_FALSE(f.Grid->IndicatorTitlePressed()) << "the title comes back up";

  DBGridXCenter().IndicatorMenuItems = 1 | 4;
  shown = nullptr;
  PressIndicatorTitle(f.Grid);
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(Captions(shown->Items()), (std::vector<String>{"Visible columns", "拷贝"}));

  // The visible-columns entry lists the columns and hides or shows them; the last visible
  // column stays.
  TMenuItem* columns = shown->Items()->Items(0);
  EXPECT_EQ(Captions(columns), (std::vector<String>{"id", "name", "base", "bonus", "flag", "qty"}));
  TColumnX* name = f.Grid->Columns()->Items(1);
  columns->Items(1)->Click();
  EXPECT_FALSE(name->Visible());
  PressIndicatorTitle(f.Grid);
  EXPECT_FALSE(shown->Items()->Items(0)->Items(1)->Checked());
  shown->Items()->Items(0)->Items(1)->Click();
  EXPECT_TRUE(name->Visible());
}

TEST(DBGridXMenus, TheMenuEventAddsEntriesAndTheGridsOwnMenuFollowsASeparator) {
  TMenuForm f;
  DBGridXCenter().IndicatorMenuItems = 4;
  TPopupMenu own(f.Form);
  auto* print = new TMenuItem(&own);
  print->SetCaption(QStringLiteral("打印"));
  own.Items()->Add(print);
  f.Grid->IndicatorTitle()->SetDropdownMenu(&own);
  TPopupMenu* shown = nullptr;
  bool exported = false;
  f.Grid->OnBuildIndicatorTitleMenu = [&](TCustomDBGridX* Grid, TPopupMenu*& Menu) {
    Grid->DefaultBuildIndicatorMenu(Menu);
    auto* item = new TMenuItem(Menu);
    item->SetCaption(QStringLiteral("导出"));
    item->OnClick = [&exported](TObject*) { exported = true; };
    Menu->Items()->Add(item);
    Menu->OnPopup = [&shown, Menu](TObject*) { shown = Menu; };
  };
  PressIndicatorTitle(f.Grid);
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(Captions(shown->Items()), (std::vector<String>{"拷贝", "-", "打印", "导出"}));
  shown->Items()->Items(3)->Click();
  EXPECT_TRUE(exported);

  f.Grid->IndicatorTitle()->SetUseGlobalMenu(false);
  f.Grid->IndicatorTitle()->SetDropdownMenu(nullptr);
  f.Grid->OnBuildIndicatorTitleMenu = nullptr;
  TPopupMenu* built = nullptr;
  f.Grid->DefaultBuildIndicatorMenu(built);
  ASSERT_NE(built, nullptr);
  EXPECT_EQ(built->Items()->Count(), 0) << "nothing of the shared menu, nothing of its own";
}

TEST(DBGridXMenus, ARightClickInAColumnsCellsShowsItsMenu) {
  TGridForm f;
  f.Bind();
  TPopupMenu menu(f.Form);
  TComponent* shownFor = nullptr;
  menu.OnPopup = [&](TObject*) { shownFor = menu.PopupComponent(); };
  f.Grid->Columns()->Items(1)->SetPopupMenu(&menu);
  const auto rightClick = [&f](Integer ACol, Integer ARow) {
    const TRect cell = f.Grid->CellRect(ACol, ARow);
    const TPoint p(cell.Left + 3, cell.Top + 3);
    f.Grid->Perform(WM_RBUTTONDOWN, MK_RBUTTON, PointToLParam(p));
    f.Grid->Perform(WM_RBUTTONUP, 0, PointToLParam(p));
  };
  rightClick(1, f.Grid->TopDataRowOffset() + 1);
  EXPECT_EQ(shownFor, nullptr) << "another column's cell";
  rightClick(0, f.Grid->TopDataRowOffset() + 1);
  EXPECT_EQ(shownFor, nullptr) << "the indicator";
  rightClick(2, f.Grid->TopDataRowOffset() + 1);
  EXPECT_EQ(shownFor, f.Grid);
  shownFor = nullptr;
  menu.SetAutoPopup(false);
  rightClick(2, 0);
  EXPECT_EQ(shownFor, nullptr) << "a menu that does not pop up by itself";
}
