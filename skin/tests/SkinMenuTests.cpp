// Skinned menus: the menu bar, its drop-downs and popup menus in each shipped skin, keyboard
// navigation across the bar, items added after the bar was built, and separator tidying.
#include "platform/ui/ImgList.h"
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

TEST(SkinMenus, TheSystemMenuShowsItsGlyphsAndIsSkinnedOnlyWithItsSwitch) {
  for (bool systemMenu : {true, false}) {
    SCOPED_TRACE(systemMenu);
    TSkinSession session(1);
    TSkinControlTypes types = session.Data->SkinControls();
    if (!systemMenu) types.Exclude(xcSystemMenu);
    session.Data->SetSkinControls(types);
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
    EXPECT_EQ(skinnedPopup, systemMenu);
    // Once it closed, other popups follow the popup switch again.
    EXPECT_EQ(session.Manager()->PopupKind(), TSkinManage::pkPopup);
  }
}

namespace {

// The columns of the item rectangle R that carry ink: a pixel that differs from the item's
// top row in its column (menu backgrounds change across, not down, an item).
std::vector<bool> InkColumns(const QImage& Image, const QRect& R) {
  std::vector<bool> ink(size_t(R.width()), false);
  for (int x = R.left(); x <= R.right(); ++x) {
    const QColor top(Image.pixel(x, R.top()));
    for (int y = R.top() + 2; y <= R.bottom() - 2 && !ink[size_t(x - R.left())]; ++y) {
      const QColor p(Image.pixel(x, y));
      ink[size_t(x - R.left())] = std::abs(p.red() - top.red()) + std::abs(p.green() - top.green()) + std::abs(p.blue() - top.blue()) > 90;
    }
  }
  return ink;
}

}  // namespace

TEST(SkinMenus, LongCaptionsAndTheirShortcutsDrawWholeInEverySkin) {
  for (int k = 1; k <= 5; ++k) {
    // The skin's own margin, and a wide one that items measured by the menu's style alone lack.
    for (Integer leftWidth : {-1, 40}) {
      SCOPED_TRACE(QStringLiteral("skin %1, margin %2").arg(k).arg(leftWidth).toStdString());
      TSkinSession session(k);
      if (leftWidth >= 0) session.Data->Model().MenuItem->LeftWidth = leftWidth;
      TTestForm form(nullptr);
      TPopupMenu popup(&form);
      const QString longCaption = QStringLiteral("把本月全部工资条导出到电子表格");
      for (TMenuItem* parent : {popup.Items(), form.MainMenu->Items()->Items(0)}) {
        parent->Add(Item(&form, "复制"));
        TMenuItem* longItem = Item(&form, "");
        longItem->SetCaption(longCaption);
        longItem->SetShortCut(ShortCut(VK_F1 + 11, {ssCtrl, ssShift}));
        parent->Add(longItem);
      }
      ASSERT_NE(ShowSkinned(&form), nullptr);
      auto* bar = qobject_cast<QMenuBar*>(form.MenuBarWidget());
      ASSERT_NE(bar, nullptr);
      std::unique_ptr<QMenu> popupMenu = popup.BuildMenu(popup.Items(), nullptr);
      for (QMenu* menu : {popupMenu.get(), bar->actions()[0]->menu()}) {
        menu->popup(QPoint(100, 100));
        QApplication::processEvents();
        QAction* longAction = nullptr;
        for (QAction* a : menu->actions())
          if (a->text().startsWith(longCaption)) longAction = a;
        ASSERT_NE(longAction, nullptr);
        const QRect r = menu->actionGeometry(longAction);
        const QImage image = GrabRgb(menu);
        menu->close();
        const std::vector<bool> ink = InkColumns(image, r);
        // Nothing reaches the item's right end, and the caption (after the glyph column) stays
        // clear of the shortcut.
        for (int x = r.width() - 10; x < r.width(); ++x) EXPECT_FALSE(ink[size_t(x)]) << x;
        const Integer captionStart = 1 + session.Data->Model().MenuItem->LeftWidth + 16 + 3;
        const auto first = std::find(ink.begin() + captionStart, ink.end(), true), last = std::find(ink.rbegin(), ink.rend(), true).base();
        ASSERT_LT(first, last);
        int gap = 0, widest = 0;
        for (auto it = first; it != last; ++it) {
          gap = *it ? 0 : gap + 1;
          widest = std::max(widest, gap);
        }
        EXPECT_GE(widest, 8);
      }
      EXPECT_EQ(session.Exceptions, QStringList());
    }
  }
}

TEST(SkinMenus, RightToLeftMenusAreMirroredAndCheckedGlyphsSitOnASunkenSquare) {
  for (int k = 1; k <= 5; ++k) {
    SCOPED_TRACE(k);
    TSkinSession session(k);
    TTestForm form(nullptr);
    // A glyph with a blue middle and a see-through rim.
    TImageList images(&form);
    images.SetSize(16, 16);
    TBitmap glyph(16, 16);
    glyph.Canvas()->Brush()->SetColor(clWhite);
    glyph.Canvas()->FillRect(TRect(0, 0, 16, 16));
    glyph.Canvas()->Brush()->SetColor(clBlue);
    glyph.Canvas()->FillRect(TRect(4, 4, 12, 12));
    images.AddMasked(&glyph, clWhite);
    TPopupMenu popup(&form);
    popup.SetImages(&images);
    for (const char* caption : {"打开", "保存"}) {
      TMenuItem* item = Item(&form, caption);
      item->SetImageIndex(0);
      popup.Items()->Add(item);
    }
    popup.Items()->Items(0)->SetChecked(true);
    ASSERT_NE(ShowSkinned(&form), nullptr);
    const Integer leftWidth = session.Data->Model().MenuItem->LeftWidth;
    for (TBiDiMode mode : {bdLeftToRight, bdRightToLeft}) {
      SCOPED_TRACE(mode);
      popup.SetBiDiMode(mode);
      std::unique_ptr<QMenu> menu = popup.BuildMenu(popup.Items(), nullptr);
      menu->popup(QPoint(100, 100));
      QApplication::processEvents();
      const QImage image = GrabRgb(menu.get());
      for (int index : {0, 1}) {
        const QRect r = menu->actionGeometry(menu->actions()[index]);
        const int top = r.top() + (r.height() - 16) / 2;
        const int leftSquare = r.left() + 1 + leftWidth, rightSquare = r.right() - leftWidth - 16;
        const int square = mode == bdRightToLeft ? rightSquare : leftSquare;
        const int other = mode == bdRightToLeft ? leftSquare : rightSquare;
        EXPECT_EQ(image.pixel(square + 8, top + 8), Rgb(clBlue)) << index;
        EXPECT_NE(image.pixel(other + 8, top + 8), Rgb(clBlue)) << index;
        // The checked item's glyph sits on a sunken square: its top-left edge in shadow.
        EXPECT_EQ(image.pixel(square, top + 8) == Rgb(clBtnShadow), index == 0) << index;
      }
      menu->close();
    }
    EXPECT_EQ(session.Exceptions, QStringList());
  }
}

TEST(SkinMenus, TheDefaultItemIsDrawnBoldInEverySkin) {
  for (int k = 1; k <= 5; ++k) {
    SCOPED_TRACE(k);
    TSkinSession session(k);
    TTestForm form(nullptr);
    TPopupMenu popup(&form);
    popup.Items()->Add(Item(&form, "复制"));
    for (int i = 0; i < 2; ++i) popup.Items()->Add(Item(&form, "导出工资条"));
    popup.Items()->Items(2)->SetDefault(true);
    ASSERT_NE(ShowSkinned(&form), nullptr);
    std::unique_ptr<QMenu> menu = popup.BuildMenu(popup.Items(), nullptr);
    menu->popup(QPoint(100, 100));
    QApplication::processEvents();
    menu->setActiveAction(nullptr);
    const QImage image = GrabRgb(menu.get());
    // The same caption inks more columns in bold.
    auto ink = [&](int Index) { return InkColumns(image, menu->actionGeometry(menu->actions()[Index])); };
    const std::vector<bool> plain = ink(1), bold = ink(2);
    menu->close();
    EXPECT_GT(std::count(bold.begin(), bold.end(), true), std::count(plain.begin(), plain.end(), true));
    EXPECT_EQ(session.Exceptions, QStringList());
  }
}
