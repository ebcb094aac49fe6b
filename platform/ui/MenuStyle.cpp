#include "platform/ui/MenuStyle.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Menus.h"
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>

namespace {

// The item the option stands for: menus hand the style an item's text, not its action, and
// items of equal text measure alike.
TMenuItem* ItemOfOption(const QMenu* Menu, const QStyleOptionMenuItem& Option) {
  for (QAction* action : Menu->actions())
    if (!action->isSeparator() && action->text() == Option.text) return TMenu::ItemOfAction(action);
  return nullptr;
}

void Measure(TMenuItem* Item, TCanvas* Canvas, Integer& Width, Integer& Height) {
  TMenu* menu = Item->GetParentMenu();
  auto* owner = dynamic_cast<TMainMenu*>(menu) ? dynamic_cast<TWinControl*>(menu->Owner()) : nullptr;
  if (owner && !owner->ComponentState().Contains(csDestroying)) {
    TMeasureItemStruct record;
    record.itemWidth = Width;
    record.itemHeight = Height;
    record.itemData = Item;
    record.Canvas = Canvas;
    if (owner->Perform(WM_MEASUREITEM, 0, LPARAM(&record)) != 0) {
      Width = record.itemWidth;
      Height = record.itemHeight;
      return;
    }
  }
  Item->MeasureItem(Canvas, Width, Height);
}

class TMenuItemStyle : public QProxyStyle {
public:
  QSize sizeFromContents(ContentsType Type, const QStyleOption* Option, const QSize& Size, const QWidget* Widget) const override {
    const QSize measured = QProxyStyle::sizeFromContents(Type, Option, Size, Widget);
    const auto* option = qstyleoption_cast<const QStyleOptionMenuItem*>(Option);
    const auto* menu = qobject_cast<const QMenu*>(Widget);
    if (Type != CT_MenuItem || !option || !menu || option->menuItemType == QStyleOptionMenuItem::Separator) return measured;
    TMenuItem* item = ItemOfOption(menu, *option);
    if (!item) return measured;
    TBitmap scratch(1, 1);
    TFont* font = scratch.Canvas()->Font();
    font->SetName(option->font.family());
    if (option->font.pointSize() > 0) font->SetSize(option->font.pointSize());
    font->SetStyle(option->font.bold() ? TFontStyles{fsBold} : TFontStyles{});
    Integer width = measured.width(), height = measured.height();
    try {
      Measure(item, scratch.Canvas(), width, height);
    } catch (...) {
      // Measured from inside Qt's menu layout: no exception may cross Qt's event loop.
      if (Application) Application->HandleException(nullptr);
    }
    return QSize(width, height);
  }
};

}  // namespace

void MeasureThroughItems(QMenu* Menu) {
  // One style serves every menu; it lives as long as the application.
  static QPointer<TMenuItemStyle> style;
  if (!style) {
    style = new TMenuItemStyle();
    style->setParent(qApp);
  }
  Menu->setStyle(style);
}
