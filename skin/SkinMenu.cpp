#include "skin/SkinMenu.h"
#include "platform/ui/DrawingRoutines.h"
#include "platform/ui/SystemColors.h"
#include "skin/SkinData.h"
#include "skin/SkinForm.h"
#include "skin/SkinManage.h"
#include "skin/SkinRangeControls.h"
#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>

namespace {
constexpr TColor Magenta = TColor(0xFF00FF);
constexpr Integer MenuItemFrames = 5;
constexpr Integer GlyphSize = 16;

void UseFont(TCanvas* Canvas, const QFont& Font) {
  Canvas->Font()->SetName(Font.family());
  if (Font.pointSize() > 0) Canvas->Font()->SetSize(Font.pointSize());
  Canvas->Font()->SetStyle(Font.bold() ? TFontStyles{fsBold} : TFontStyles{});
}

// Frame 2 of the MenuItem strip across R: the ends at their widths, the middle stretched; an
// item lower than the frame takes the frame's lowest rows. Magenta stays unpainted.
void DrawMenuSeparator(TCanvas* Canvas, const TRect& R, const TDataSkinObject& Element) {
  const QImage& image = Element.Image.Image();
  const Integer fw = image.width() / MenuItemFrames, fh = image.height();
  if (fw <= 0 || fh <= 0 || R.Width() <= 0 || R.Height() <= 0) return;
  const Integer h = std::min(R.Height(), fh), top = fh - h;
  const Integer left = std::min(Element.LeftWidth, fw), right = std::min(Element.RightWidth, fw - left);
  TBitmap piece(R.Width(), h);
  {
    QImage target = piece.Image().convertToFormat(QImage::Format_RGB32);
    QPainter p(&target);
    const Integer x0 = fw;  // frame 2 starts one frame in
    p.drawImage(QRect(0, 0, left, h), image, QRect(x0, top, left, h));
    p.drawImage(QRect(R.Width() - right, 0, right, h), image, QRect(x0 + fw - right, top, right, h));
    p.drawImage(QRect(left, 0, std::max(0, R.Width() - left - right), h), image,
                QRect(x0 + left, top, std::max(1, fw - left - right), h));
    p.end();
    piece.SetImage(target);
  }
  DrawMaskedBitmap(Canvas, TRect(R.Left, R.Top + (R.Height() - h) / 2, R.Right, R.Top + (R.Height() - h) / 2 + h), piece, Magenta);
}

void DrawCheckMark(TCanvas* Canvas, const TRect& Square) {
  const Integer x = Square.Left + (Square.Width() - 7) / 2 + 1, y = Square.Top + (Square.Height() - 7) / 2 + 1;
  for (Integer i = 0; i < 3; ++i) {
    Canvas->MoveTo(x, y + 2 + i);
    Canvas->LineTo(x + 2, y + 4 + i);
    Canvas->LineTo(x + 7, y - 1 + i);
  }
}

// An enabled item's text in the highlight text colour when selected, else in the menu text
// colour; a disabled one's in the skin's shadow, or the system's when that is the text colour.
TColor MenuTextColour(const QAction* Action, bool Selected, const TSkinModel& Skin) {
  if (!Action->isEnabled()) return Skin.ButtonShadow == Skin.MenuText ? clBtnShadow : Skin.ButtonShadow;
  return Selected ? Skin.HilightText : Skin.MenuText;
}

// One text of an item (its caption or its shortcut) with Flags in R: the default item's in
// bold. Measuring an empty text measures a blank, so that it has a line's height.
void DrawMenuText(TCanvas* Canvas, const QAction* Action, Cardinal Flags, bool Selected, TRect& R, const String& Text,
                  const TSkinModel& Skin) {
  const bool measuring = Flags & DT_CALCRECT;
  const String text = measuring && (Text.isEmpty() || Text == QStringLiteral("&")) ? Text + u' ' : Text;
  Canvas->Brush()->SetStyle(bsClear);
  // The menu gives the default item a bold font.
  Canvas->Font()->SetStyle(Action->font().bold() ? TFontStyles{fsBold} : TFontStyles{});
  Canvas->Font()->SetColor(MenuTextColour(Action, Selected, Skin));
  DrawText(Canvas, text, R, Flags);
}

// The square behind a checked item's glyph: a checker of the face and highlight colours in a
// sunken edge, so that the glyph shows it is checked.
void DrawCheckedSquare(TCanvas* Canvas, const TRect& Square) {
  const TColor face = ColorToRGB(clBtnFace), light = ColorToRGB(clBtnHighlight);
  for (Integer y = Square.Top; y < Square.Bottom; ++y)
    for (Integer x = Square.Left; x < Square.Right; ++x) Canvas->SetPixel(x, y, (x + y) % 2 ? light : face);
  TRect edge = Square;
  DrawEdge(Canvas, edge, BDR_SUNKENOUTER, BF_RECT);
}

// Check mark or glyph, caption and shortcut of one item, in the skin's menu colours; a
// right-to-left menu has them mirrored (glyph at the right, shortcut at the left).
void DrawMenuItemContent(TCanvas* Canvas, const QAction* Action, const TRect& R, bool Selected, const TSkinModel& Skin,
                         bool RightToLeft) {
  const Integer leftWidth = Skin.MenuItem ? Skin.MenuItem->LeftWidth : 0;
  const QIcon icon = Action->icon();
  const Integer glyph = GlyphSize;
  const Integer squareLeft = RightToLeft ? R.Right - 1 - leftWidth - glyph : R.Left + 1 + leftWidth;
  const TRect square(squareLeft, R.Top + (R.Height() - glyph) / 2, squareLeft + glyph, R.Top + (R.Height() - glyph) / 2 + glyph);
  const TColor colour = MenuTextColour(Action, Selected, Skin);
  if (!icon.isNull()) {
    if (Action->isChecked()) DrawCheckedSquare(Canvas, square);
    const QPixmap pixmap = icon.pixmap(glyph, glyph, Action->isEnabled() ? QIcon::Normal : QIcon::Disabled);
    TBitmap g;
    g.SetImage(pixmap.toImage());
    Canvas->Draw(square.Left, square.Top, &g);
  } else if (Action->isChecked()) {
    Canvas->Pen()->SetColor(colour);
    DrawCheckMark(Canvas, square);
  }
  const String text = Action->text();
  const qsizetype tab = text.indexOf(u'\t');
  const String caption = tab < 0 ? text : text.left(tab);
  const String shortcut = tab < 0 ? String() : text.mid(tab + 1);
  const Cardinal flags = DT_EXPANDTABS | DT_SINGLELINE | (RightToLeft ? DT_RIGHT : 0);
  const TRect area = RightToLeft ? TRect(R.Left + 1, R.Top, square.Left - 3, R.Bottom) : TRect(square.Right + 3, R.Top, R.Right - 1, R.Bottom);
  TRect m = area;
  DrawMenuText(Canvas, Action, flags | DT_CALCRECT | DT_NOCLIP, Selected, m, caption, Skin);
  const Integer th = m.Height();
  TRect t(area.Left, R.Top + (R.Height() - th) / 2, area.Right, R.Top + (R.Height() - th) / 2 + th);
  DrawMenuText(Canvas, Action, flags, Selected, t, caption, Skin);
  if (!shortcut.isEmpty()) {
    const Cardinal shortcutFlags = DT_EXPANDTABS | DT_SINGLELINE;
    if (RightToLeft) {
      TRect s(R.Left + 10, t.Top, area.Right - m.Width(), t.Bottom);
      DrawMenuText(Canvas, Action, shortcutFlags, Selected, s, shortcut, Skin);
    } else {
      TRect s(area.Left + m.Width(), t.Top, R.Right - 11, t.Bottom);
      DrawMenuText(Canvas, Action, shortcutFlags | DT_RIGHT, Selected, s, shortcut, Skin);
    }
  }
  Canvas->Pen()->SetColor(colour);
  if (Action->menu()) {
    if (RightToLeft) DrawUpDownArrow(Canvas, R.Left + 6, R.Top + R.Height() / 2, 2);
    else DrawUpDownArrow(Canvas, R.Right - 7, R.Top + R.Height() / 2, 3);
  }
}
// A popup menu's item over the menu's background: the MenuItem element's frame 4 when
// selected, else 1, then its content.
void DrawPopupMenuItem(TCanvas* Canvas, const QAction* Action, const TRect& R, bool Selected, const TSkinModel& Skin,
                       bool RightToLeft) {
  const TDataSkinObject& item = *Skin.MenuItem;
  DrawSkinImage(Canvas, R, item.Image, item.Margins(), Selected ? 4 : 1, MenuItemFrames, item.Trans == 1, item.Tile == 1, false);
  DrawMenuItemContent(Canvas, Action, R, Selected, Skin, RightToLeft);
}

// An item of a skin without the MenuItem element: on the highlight colour when selected, else
// on the menu colour.
void DrawPlainMenuItem(TCanvas* Canvas, const QAction* Action, const TRect& R, bool Selected, const TSkinModel& Skin,
                       bool RightToLeft) {
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(Selected ? Skin.Hilight : Skin.Menu);
  Canvas->FillRect(R);
  DrawMenuItemContent(Canvas, Action, R, Selected, Skin, RightToLeft);
}
}  // namespace

// ---- popup menus

TSkinPopMenu::TSkinPopMenu(QMenu* Menu) : QObject(Menu), FMenu(Menu) {
  FMenu->installEventFilter(this);
}

bool TSkinPopMenu::IsSkinned(const QMenu* Menu) {
  const QObjectList& children = Menu->children();
  return std::any_of(children.begin(), children.end(), [](const QObject* o) { return dynamic_cast<const TSkinPopMenu*>(o); });
}

bool TSkinPopMenu::Paint(TBitmap& Work) const {
  const TSkinManage* manager = TSkinManage::Instance();
  TSkinData* data = manager && manager->Enabled() ? manager->MainComponent() : nullptr;
  if (!data || !data->Active() || data->SkinNotBuilt()) return false;
  const TSkinModel& skin = data->Model();
  if (!skin.MenuBackground || skin.MenuBackground->Image.Empty()) return false;
  const Integer w = FMenu->width(), h = FMenu->height();
  if (w <= 0 || h <= 0) return false;
  Work.SetSize(w, h);
  TCanvas* c = Work.Canvas();
  const TDataSkinObject& background = *skin.MenuBackground;
  if (const auto image = BuildSkinImage(TRect(0, 0, w, h), background.Image, background.Margins(), 1, 1, background.Tile == 1, false))
    c->Draw(0, 0, image.get());
  for (QAction* action : FMenu->actions()) {
    const QRect g = FMenu->actionGeometry(action);
    if (!action->isVisible() || g.isEmpty()) continue;
    const TRect r(g.left(), g.top(), g.right() + 1, g.bottom() + 1);
    UseFont(c, action->font().resolve(FMenu->font()));
    if (action->isSeparator()) {
      if (skin.MenuItem && !skin.MenuItem->Image.Empty()) DrawMenuSeparator(c, r, *skin.MenuItem);
      continue;
    }
    const bool selected = action == FMenu->activeAction();
    const bool rightToLeft = FMenu->layoutDirection() == Qt::RightToLeft;
    if (skin.MenuItem && !skin.MenuItem->Image.Empty()) DrawPopupMenuItem(c, action, r, selected, skin, rightToLeft);
    else DrawPlainMenuItem(c, action, r, selected, skin, rightToLeft);
  }
  return true;
}

bool TSkinPopMenu::eventFilter(QObject* Watched, QEvent* Event) {
  if (Watched != FMenu || Event->type() != QEvent::Paint) return false;
  TBitmap work;
  if (!Paint(work)) return false;
  QPainter p(FMenu);
  p.drawImage(0, 0, work.Image());
  return true;
}

// ---- the menu bar

TSkinMenuBar::TSkinMenuBar(QMenuBar* Bar, TSkinForm* Form) : FBar(Bar), FForm(Form) {
  FBar->installEventFilter(this);
  FBar->update();
}

TSkinMenuBar::~TSkinMenuBar() {
  if (FBar) {
    FBar->removeEventFilter(this);
    FBar->update();
  }
}

bool TSkinMenuBar::Paint(TBitmap& Work) const {
  TSkinData* data = FForm->SkinData();
  if (!data || data->SkinNotBuilt()) return false;
  const TSkinModel& skin = data->Model();
  const Integer w = FBar->width(), h = FBar->height();
  if (w <= 0 || h <= 0) return false;
  Work.SetSize(w, h);
  TCanvas* c = Work.Canvas();
  const TRect whole(0, 0, w, h);
  if (skin.MenuBar && !skin.MenuBar->Image.Empty()) {
    const TDataSkinObject& e = *skin.MenuBar;
    const Integer frame = FForm->IsActive() ? 1 : 2;
    if (e.Tile == 1) DrawSkinImage(c, whole, e.Image, e.Margins(), frame, 2, false, false, true);
    else DrawSkinStrip(c, whole, e.Image, e.Margins(), frame, 2, false, true);
  } else {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(skin.Menubar);
    c->FillRect(whole);
  }
  for (QAction* action : FBar->actions()) {
    const QRect g = FBar->actionGeometry(action);
    if (!action->isVisible() || g.isEmpty() || action->text().isEmpty()) continue;
    const TRect r(g.left(), g.top(), g.right() + 1, g.bottom() + 1);
    if (action == FBar->activeAction()) {
      // Hot or pressed (its drop-down open): a one-pixel frame in the highlight colour.
      c->Brush()->SetStyle(bsSolid);
      c->Brush()->SetColor(skin.ButtonHilight);
      c->FrameRect(r);
    }
    UseFont(c, FBar->font());
    c->Font()->SetColor(action->isEnabled() ? skin.MenuBarText : skin.ButtonShadow);
    DrawCentredText(c, r, action->text(), action->isEnabled(), DT_CENTER);
  }
  return true;
}

bool TSkinMenuBar::eventFilter(QObject* Watched, QEvent* Event) {
  if (Watched != FBar || Event->type() != QEvent::Paint) return false;
  TBitmap work;
  if (!Paint(work)) return false;
  QPainter p(FBar);
  p.drawImage(0, 0, work.Image());
  return true;
}

// ---- separators

void TidySeparators(TMenuItem* Item) {
  if (!Item) return;
  Integer first = -1, last = -1;
  for (Integer i = 0; i < Item->Count(); ++i) {
    const TMenuItem* sub = Item->Items(i);
    if (sub->Visible() && !sub->IsLine()) {
      if (first < 0) first = i;
      last = i;
    }
  }
  std::vector<TMenuItem*> run;
  for (Integer i = 0; i < Item->Count(); ++i) {
    TMenuItem* sub = Item->Items(i);
    if (sub->IsLine()) {
      sub->SetVisible(false);
      if (i > first && i < last) run.push_back(sub);
      continue;
    }
    if (!sub->Visible()) continue;
    if (!run.empty()) run.back()->SetVisible(true);
    run.clear();
  }
}
