// Skinned menus: the menu bar, its drop-downs and popup menus in each shipped skin, keyboard
// navigation across the bar, items added after the bar was built, and separator tidying.
#include "skin/SkinMenu.h"
#include "skin/tests/SkinTestSupport.h"
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTimer>
#include <gtest/gtest.h>

using namespace skintest;

namespace {

constexpr QRgb Magenta = 0xFFFF00FF;

QImage GrabRgb(QWidget* W) { return W->grab().toImage().convertToFormat(QImage::Format_RGB32); }

QRgb Rgb(TColor Colour) { return ColorToQColor(Colour).rgb(); }

QRgb ComposedPixel(const TDataSkinObject& E, Integer Frame, Integer Frames, TSize Size, QPoint P, bool Vertical = false) {
  const auto image = BuildSkinImage(TRect(0, 0, Size.cx, Size.cy), E.Image, E.Margins(), Frame, Frames, E.Tile == 1, Vertical);
  return image->Image().pixel(P) | 0xFF000000;
}

void Key(QWidget* W, int KeyCode, Qt::KeyboardModifiers Modifiers = Qt::NoModifier, const QString& Text = QString()) {
  QKeyEvent press(QEvent::KeyPress, KeyCode, Modifiers, Text);
  QApplication::sendEvent(W, &press);
  QApplication::processEvents();
}

TMenuItem* Item(TComponent* Owner, const char* Caption, bool Visible = true) {
  auto* item = new TMenuItem(Owner);
  item->SetCaption(QString::fromUtf8(Caption));
  item->SetVisible(Visible);
  return item;
}

}  // namespace

TEST(SkinMenus, TidyingKeepsOnlyTheLastSeparatorOfEachRunBetweenVisibleItems) {
  // '-' a separator, 's' a hidden separator, 'a' an item, 'h' a hidden item.
  struct Case { const char* items; const char* visible; };
  for (const Case& c : std::initializer_list<Case>{{"-a--b-", "010110"}, {"a-h-b", "10011"}, {"asb", "111"},
                                                   {"--", "00"}, {"a-", "10"}, {"h-a", "001"}, {"a-s-b", "10011"}}) {
    TComponent owner(nullptr);
    TMenuItem root(nullptr);
    for (const char* p = c.items; *p; ++p)
      root.Add(Item(&owner, *p == '-' || *p == 's' ? "-" : "项", *p != 's' && *p != 'h'));
    TidySeparators(&root);
    std::string got;
    for (Integer i = 0; i < root.Count(); ++i) got += root.Items(i)->Visible() ? '1' : '0';
    EXPECT_EQ(got, c.visible) << c.items;
  }
}

TEST(SkinMenus, BarDropDownsAndKeyboardInEverySkin) {
  for (int k = 1; k <= 5; ++k) {
    SCOPED_TRACE(k);
    TSkinSession session(k);
    TTestForm form(nullptr);
    // The first drop-down: separators first, doubled and last around two items, one disabled.
    TMenuItem* file = form.MainMenu->Items()->Items(0);
    file->Insert(0, Item(&form, "-"));
    for (const char* caption : {"-", "-", "关闭", "-"}) file->Add(Item(&form, caption));
    file->Items(file->Count() - 2)->SetEnabled(false);
    form.MainMenu->Items()->Items(2)->SetEnabled(false);
    TSkinForm* skinned = ShowSkinned(&form);
    ASSERT_NE(skinned, nullptr);
    auto* bar = qobject_cast<QMenuBar*>(form.MenuBarWidget());
    ASSERT_NE(bar, nullptr);
    const TSkinModel& m = session.Data->Model();

    // Separators first, doubled or last are hidden; one stays between the two items.
    std::string seps;
    for (Integer i = 0; i < file->Count(); ++i) seps += file->Items(i)->IsLine() ? (file->Items(i)->Visible() ? '1' : '0') : 'i';
    EXPECT_EQ(seps, "0i01i0");

    // An item added after the bar was built shows on it, and the new bar is skinned too.
    auto* tools = Item(&form, "工具(&T)");
    tools->Add(Item(&form, "计算器"));
    form.MainMenu->Items()->Add(tools);
    bar = qobject_cast<QMenuBar*>(form.MenuBarWidget());
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->actions().size(), 5);
    QApplication::processEvents();

    // The bar's free end shows the MenuBar element's active frame.
    const QImage plain = GrabRgb(bar);
    const TDataSkinObject& e = *m.MenuBar;
    TBitmap strip(bar->width(), bar->height());
    if (e.Tile == 1) DrawSkinImage(strip.Canvas(), TRect(0, 0, bar->width(), bar->height()), e.Image, e.Margins(), 1, 2, false, false, true);
    else DrawSkinStrip(strip.Canvas(), TRect(0, 0, bar->width(), bar->height()), e.Image, e.Margins(), 1, 2, false, true);
    EXPECT_EQ(plain.pixel(bar->width() - 3, bar->height() / 2), strip.Image().pixel(bar->width() - 3, bar->height() / 2) | 0xFF000000);

    // Over the bar's background a disabled item writes its caption in the system's button
    // shadow, an enabled one in MenuBarText.
    for (const auto& [index, enabled] : {std::pair<int, bool>{2, false}, {3, true}}) {
      const QRect cell = bar->actionGeometry(bar->actions()[index]);
      bool shadow = false, text = false;
      for (int y = cell.top() + 1; y < cell.bottom(); ++y)
        for (int x = cell.left() + 1; x < cell.right(); ++x) {
          const QRgb p = plain.pixel(x, y);
          if (p == (strip.Image().pixel(x, y) | 0xFF000000)) continue;
          shadow |= p == Rgb(clBtnShadow);
          text |= p == Rgb(m.MenuBarText);
        }
      EXPECT_EQ(text, enabled) << index;
      if (Rgb(m.MenuBarText) != Rgb(clBtnShadow)) {
        EXPECT_EQ(shadow, !enabled) << index;
      }
    }

    // Hot: the mouse over an item frames it in the highlight colour.
    const QRect second = bar->actionGeometry(bar->actions()[1]);
    QMouseEvent move(QEvent::MouseMove, second.center(), bar->mapToGlobal(second.center()), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &move);
    EXPECT_EQ(bar->activeAction(), bar->actions()[1]);
    EXPECT_EQ(GrabRgb(bar).pixel(second.left(), second.center().y()), Rgb(m.ButtonHilight));

    // Alt+letter opens the drop-down with that accelerator; pressed, it stays framed.
    Key(bar, Qt::Key_F, Qt::AltModifier, QStringLiteral("f"));
    QMenu* fileMenu = bar->actions()[0]->menu();
    ASSERT_TRUE(fileMenu->isVisible());
    const QRect first = bar->actionGeometry(bar->actions()[0]);
    EXPECT_EQ(GrabRgb(bar).pixel(first.left(), first.center().y()), Rgb(m.ButtonHilight));

    // The drop-down: frame from MenuBackground, the selected item in MenuItem's frame 4.
    QAction* chosen = nullptr;
    for (QAction* a : fileMenu->actions())
      if (!a->isSeparator()) {
        chosen = a;
        break;
      }
    ASSERT_NE(chosen, nullptr);
    fileMenu->setActiveAction(chosen);
    const QImage drop = GrabRgb(fileMenu);
    SaveArtifact(drop, QStringLiteral("skin-menu-%1.png").arg(k));
    const QSize size = fileMenu->size();
    EXPECT_EQ(drop.pixel(1, size.height() / 2), ComposedPixel(*m.MenuBackground, 1, 1, {size.width(), size.height()}, {1, size.height() / 2}));
    const QRect r = fileMenu->actionGeometry(chosen);
    const QPoint edge(r.width() - 3, 1);
    const QRgb item = ComposedPixel(*m.MenuItem, 4, 5, {r.width(), r.height()}, edge);
    if (item != Magenta) {
      EXPECT_EQ(drop.pixel(r.topLeft() + edge), item);
    }

    // Left on the first drop-down opens the last, Right on the last the first.
    Key(fileMenu, Qt::Key_Left);
    EXPECT_EQ(bar->activeAction(), bar->actions().last());
    ASSERT_TRUE(bar->actions().last()->menu()->isVisible());
    Key(bar->actions().last()->menu(), Qt::Key_Right);
    EXPECT_EQ(bar->activeAction(), bar->actions()[0]);
    EXPECT_TRUE(fileMenu->isVisible());
    fileMenu->close();
    QApplication::processEvents();
    EXPECT_EQ(session.Exceptions, QStringList());
  }
}

TEST(SkinMenus, PopupMenusAreSkinnedOnlyWhileTheSkinIsOnAndHasTheElement) {
  TSkinSession session(2);
  TTestForm form(nullptr);
  ASSERT_NE(ShowSkinned(&form), nullptr);
  TPopupMenu popup(&form);
  for (const char* caption : {"复制", "-", "粘贴"}) popup.Items()->Add(Item(&form, caption));
  const TSkinModel& m = session.Data->Model();
  QSize size;
  auto showAndGrab = [&] {
    std::unique_ptr<QMenu> menu = popup.BuildMenu(popup.Items(), nullptr);
    menu->popup(QPoint(100, 100));
    QApplication::processEvents();
    const QImage image = GrabRgb(menu.get());
    size = menu->size();
    menu->close();
    return image.pixel(1, size.height() / 2);
  };
  const QRgb skinned = showAndGrab();
  const QRgb expected = ComposedPixel(*m.MenuBackground, 1, 1, {size.width(), size.height()}, {1, size.height() / 2});
  EXPECT_EQ(skinned, expected);
  // Switched off, a popup draws itself; so does one of a skin without the element.
  session.Manager()->SetEnabled(false);
  EXPECT_NE(showAndGrab(), expected);
  session.Manager()->SetEnabled(true);
  session.Data->Model().MenuBackground.reset();
  EXPECT_NE(showAndGrab(), expected);
  EXPECT_EQ(session.Exceptions, QStringList());
}

TEST(SkinMenus, TheSystemMenuShowsItsGlyphsAndIsSkinned) {
  TSkinSession session(1);
  TTestForm form(nullptr);
  TSkinForm* skinned = ShowSkinned(&form);
  ASSERT_NE(skinned, nullptr);
  TDataSkinSysButton icon("icon");
  icon.Action = 12;
  TWinSysButton button(skinned, &icon);
  QStringList glyphs;
  bool skinnedPopup = false;
  QTimer::singleShot(0, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu) return;
    skinnedPopup = TSkinPopMenu::IsSkinned(menu);
    for (QAction* a : menu->actions())
      if (!a->isSeparator()) glyphs << QStringLiteral("%1:%2").arg(a->text().simplified()).arg(a->icon().isNull() ? "none" : "glyph");
    menu->close();
  });
  skinned->ButtonAction(button, {100, 100});
  EXPECT_EQ(glyphs, QStringList({"Restore:glyph", "Maximize:glyph", "Minimize:glyph", "Close Alt+F4:glyph"}));
  EXPECT_TRUE(skinnedPopup);
}
