#include "platform/ui/SystemColors.h"
#include <QApplication>
#include <QPalette>

namespace {

TSystemTable MakeClassicTable() {
  TSystemTable t;
  const TColor colors[31] = {
      RGB(0xC0, 0xC0, 0xC0),  // scroll bar
      RGB(0x00, 0x80, 0x80),  // desktop
      RGB(0x00, 0x00, 0x80),  // active caption
      RGB(0x80, 0x80, 0x80),  // inactive caption
      RGB(0xC0, 0xC0, 0xC0),  // menu
      RGB(0xFF, 0xFF, 0xFF),  // window
      RGB(0x00, 0x00, 0x00),  // window frame
      RGB(0x00, 0x00, 0x00),  // menu text
      RGB(0x00, 0x00, 0x00),  // window text
      RGB(0xFF, 0xFF, 0xFF),  // caption text
      RGB(0xC0, 0xC0, 0xC0),  // active border
      RGB(0xC0, 0xC0, 0xC0),  // inactive border
      RGB(0x80, 0x80, 0x80),  // application work space
      RGB(0x00, 0x00, 0x80),  // highlight
      RGB(0xFF, 0xFF, 0xFF),  // highlight text
      RGB(0xC0, 0xC0, 0xC0),  // button face
      RGB(0x80, 0x80, 0x80),  // button shadow
      RGB(0x80, 0x80, 0x80),  // grey text
      RGB(0x00, 0x00, 0x00),  // button text
      RGB(0xC0, 0xC0, 0xC0),  // inactive caption text
      RGB(0xFF, 0xFF, 0xFF),  // button highlight
      RGB(0x00, 0x00, 0x00),  // 3-D dark shadow
      RGB(0xDF, 0xDF, 0xDF),  // 3-D light
      RGB(0x00, 0x00, 0x00),  // info text
      RGB(0xFF, 0xFF, 0xE1),  // info background
      RGB(0xB5, 0xB5, 0xB5),  // unused slot
      RGB(0x00, 0x00, 0xFF),  // hot light
      RGB(0x10, 0x84, 0xD0),  // gradient active caption
      RGB(0xB5, 0xB5, 0xB5),  // gradient inactive caption
      RGB(0x31, 0x6A, 0xC5),  // menu highlight
      RGB(0xC0, 0xC0, 0xC0),  // menu bar
  };
  std::copy(std::begin(colors), std::end(colors), t.Colors.begin());
  auto& m = t.Metrics;
  m[SM_CXSCREEN] = 1024; m[SM_CYSCREEN] = 768;
  m[SM_CXVSCROLL] = 16; m[SM_CYHSCROLL] = 16; m[SM_CYVSCROLL] = 16; m[SM_CXHSCROLL] = 16;
  m[SM_CYVTHUMB] = 16; m[SM_CXHTHUMB] = 16;
  m[SM_CYCAPTION] = 19; m[SM_CYMENU] = 19;
  m[SM_CXBORDER] = 1; m[SM_CYBORDER] = 1; m[SM_CXEDGE] = 2; m[SM_CYEDGE] = 2;
  m[SM_CXDLGFRAME] = 3; m[SM_CYDLGFRAME] = 3; m[SM_CXFRAME] = 4; m[SM_CYFRAME] = 4;
  m[SM_CXICON] = 32; m[SM_CYICON] = 32; m[SM_CXCURSOR] = 32; m[SM_CYCURSOR] = 32;
  m[SM_CXSMICON] = 16; m[SM_CYSMICON] = 16;
  m[SM_CXDOUBLECLK] = 4; m[SM_CYDOUBLECLK] = 4; m[SM_CXDRAG] = 4; m[SM_CYDRAG] = 4;
  m[SM_CXMENUCHECK] = 13; m[SM_CYMENUCHECK] = 13;
  return t;
}

TSystemTable& CurrentTable() {
  static TSystemTable table = MakeClassicTable();
  return table;
}

}  // namespace

const TSystemTable& ClassicSystemTable() {
  static const TSystemTable table = MakeClassicTable();
  return table;
}

TSystemTable PaletteSystemTable() {
  TSystemTable t = ClassicSystemTable();
  const QPalette p = QApplication::palette();
  auto set = [&](TColor sys, QPalette::ColorRole role) { t.Colors[size_t(sys & 0xFF)] = QColorToColor(p.color(role)); };
  set(clWindow, QPalette::Base);
  set(clWindowText, QPalette::Text);
  set(clBtnFace, QPalette::Button);
  set(clBtnText, QPalette::ButtonText);
  set(clBtnShadow, QPalette::Dark);
  set(clBtnHighlight, QPalette::Light);
  set(cl3DDkShadow, QPalette::Shadow);
  set(cl3DLight, QPalette::Midlight);
  set(clHighlight, QPalette::Highlight);
  set(clHighlightText, QPalette::HighlightedText);
  set(clInfoBk, QPalette::ToolTipBase);
  set(clInfoText, QPalette::ToolTipText);
  set(clMenu, QPalette::Window);
  set(clMenuText, QPalette::WindowText);
  t.Colors[size_t(clGrayText & 0xFF)] = QColorToColor(p.color(QPalette::Disabled, QPalette::Text));
  t.DoubleClickTime = Cardinal(QApplication::doubleClickInterval());
  return t;
}

const TSystemTable& SystemTable() { return CurrentTable(); }
void SetSystemTable(const TSystemTable& Table) { CurrentTable() = Table; }

TColor GetSysColor(Integer Index) {
  if (Index < 0 || size_t(Index) >= CurrentTable().Colors.size()) return 0;
  return CurrentTable().Colors[size_t(Index)];
}

TColor ColorToRGB(TColor Color) {
  if ((Color & clSystemColor) == clSystemColor && Color != clNone && Color != clDefault)
    return GetSysColor(Color & 0xFF);
  return Color;
}

QColor ColorToQColor(TColor Color) {
  const TColor c = ColorToRGB(Color);
  return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

TColor QColorToColor(const QColor& Color) { return RGB(Byte(Color.red()), Byte(Color.green()), Byte(Color.blue())); }

Integer GetSystemMetrics(Integer Index) {
  if (Index < 0 || size_t(Index) >= CurrentTable().Metrics.size()) return 0;
  return CurrentTable().Metrics[size_t(Index)];
}

Cardinal GetDoubleClickTime() { return CurrentTable().DoubleClickTime; }
