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

// Check mark or glyph, caption and shortcut of one item, in the skin's menu colours.
void DrawMenuItemContent(TCanvas* Canvas, const QAction* Action, const TRect& R, bool Selected, const TSkinModel& Skin) {
  const Integer leftWidth = Skin.MenuItem ? Skin.MenuItem->LeftWidth : 0;
  const QIcon icon = Action->icon();
  const Integer glyph = GlyphSize;
  const TRect square(R.Left + 1 + leftWidth, R.Top + (R.Height() - glyph) / 2, R.Left + 1 + leftWidth + glyph,
                     R.Top + (R.Height() - glyph) / 2 + glyph);
  TColor colour = Selected ? Skin.HilightText : Skin.MenuText;
  if (!Action->isEnabled()) colour = Skin.ButtonShadow == Skin.MenuText ? clBtnShadow : Skin.ButtonShadow;
  Canvas->Font()->SetColor(colour);
  Canvas->Pen()->SetColor(colour);
  if (!icon.isNull()) {
    const QPixmap pixmap = icon.pixmap(glyph, glyph, Action->isEnabled() ? QIcon::Normal : QIcon::Disabled);
    TBitmap g;
    g.SetImage(pixmap.toImage());
    Canvas->Draw(square.Left, square.Top, &g);
  } else if (Action->isChecked()) {
    DrawCheckMark(Canvas, square);
  }
  const String text = Action->text();
  const qsizetype tab = text.indexOf(u'\t');
  const String caption = tab < 0 ? text : text.left(tab);
  const String shortcut = tab < 0 ? String() : text.mid(tab + 1);
  constexpr Cardinal flags = DT_EXPANDTABS | DT_SINGLELINE;
  Canvas->Brush()->SetStyle(bsClear);
  TRect m(square.Right + 3, R.Top, R.Right - 1, R.Bottom);
  DrawText(Canvas, caption.isEmpty() ? QStringLiteral(" ") : caption, m, flags | DT_CALCRECT | DT_NOCLIP);
  const Integer th = m.Height();
  TRect t(square.Right + 3, R.Top + (R.Height() - th) / 2, R.Right - 1, R.Top + (R.Height() - th) / 2 + th);
  DrawText(Canvas, caption, t, flags);
  if (!shortcut.isEmpty()) {
    TRect s(square.Right + 3 + m.Width(), t.Top, R.Right - 11, t.Bottom);
    DrawText(Canvas, shortcut, s, flags | DT_RIGHT);
  }
  if (Action->menu()) DrawUpDownArrow(Canvas, R.Right - 7, R.Top + R.Height() / 2, 3);
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
    if (skin.MenuItem && !skin.MenuItem->Image.Empty()) {
      const TDataSkinObject& item = *skin.MenuItem;
      DrawSkinImage(c, r, item.Image, item.Margins(), selected ? 4 : 1, MenuItemFrames, item.Trans == 1, item.Tile == 1, false);
    } else if (selected) {
      c->Brush()->SetStyle(bsSolid);
      c->Brush()->SetColor(skin.Hilight);
      c->FillRect(r);
    }
    DrawMenuItemContent(c, action, r, selected, skin);
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
