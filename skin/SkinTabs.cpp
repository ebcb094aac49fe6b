#include "skin/SkinTabs.h"
#include "platform/ui/ComCtrls.h"
#include "skin/SkinData.h"
#include "skin/SkinForm.h"
#include "skin/SkinMessages.h"
#include "skin/SkinRangeControls.h"
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTabBar>
#include <QToolButton>

namespace {
bool HasTabImage(const TSkinModel* Skin) { return Skin && Skin->Tabs && !Skin->Tabs->Image.Empty(); }
}  // namespace

// Draws the tab bar inside the control in place of its own look; Qt keeps placing the tabs
// and handling clicks, so what is hit is what is drawn.
class TSkinTab::TTabBarFilter : public QObject {
public:
  explicit TTabBarFilter(TSkinTab* Owner) : FOwner(Owner) {}
protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override {
    if (!FOwner->Active()) return false;
    if (auto* arrow = qobject_cast<QToolButton*>(Watched)) return Event->type() == QEvent::Paint && FOwner->PaintArrow(arrow);
    auto* bar = qobject_cast<QTabBar*>(Watched);
    if (!bar) return false;
    if (Event->type() == QEvent::MouseButtonPress) {
      auto* press = static_cast<QMouseEvent*>(Event);
      const QPoint p = press->position().toPoint();
      return press->button() == Qt::LeftButton && FOwner->CloseBoxPressed({p.x(), p.y()});
    }
    if (Event->type() != QEvent::Paint) return false;
    TBitmap work;
    if (!FOwner->PaintTabs(work)) return false;
    QPainter p(bar);
    p.drawImage(0, 0, work.Image());
    return true;
  }
private:
  TSkinTab* FOwner;
};

TSkinTab::TSkinTab() : FFilter(std::make_unique<TTabBarFilter>(this)) {}

TSkinTab::~TSkinTab() {
  for (const QPointer<QToolButton>& arrow : FArrows)
    if (arrow) {
      arrow->removeEventFilter(FFilter.get());
      arrow->update();
    }
  if (FTabBar) {
    FTabBar->removeEventFilter(FFilter.get());
    FTabBar->update();
  }
}

void TSkinTab::AttachControl(TControl* Control, TSkinForm* Form, TSkinData* Skin, bool Recolour) {
  if (Attached()) return;
  TSkinControl::AttachControl(Control, Form, Skin, Recolour);
  auto* windowed = dynamic_cast<TWinControl*>(Control);
  if (!windowed) return;
  // Page controls keep their tabs on top here, where close boxes belong.
  FCloseBoxesOn = Control->Tag() == 7777 && dynamic_cast<TPageControl*>(Control);
  FTabBar = windowed->Handle()->findChild<QTabBar*>();
  if (FTabBar) {
    FTabBar->installEventFilter(FFilter.get());
    FTabBar->update();
    for (QToolButton* arrow : FTabBar->findChildren<QToolButton*>()) {
      arrow->installEventFilter(FFilter.get());
      FArrows.emplace_back(arrow);
    }
  }
}

bool TSkinTab::PaintArrow(QToolButton* Arrow) const {
  const TSkinModel* skin = Skin();
  if (!skin || Arrow->width() <= 0 || Arrow->height() <= 0) return false;
  TBitmap work(Arrow->width(), Arrow->height());
  const TRect whole(0, 0, work.Width(), work.Height());
  FillFace(work.Canvas(), whole);
  const Integer state = !Arrow->isEnabled() ? 3 : Arrow->isDown() ? 2 : 1;
  const Integer button = Arrow->arrowType() == Qt::LeftArrow || Arrow->arrowType() == Qt::UpArrow ? 0 : 1;
  DrawUpDownButton(work.Canvas(), whole, *skin, true, button, state);
  QPainter p(Arrow);
  p.drawImage(0, 0, work.Image());
  return true;
}

void TSkinTab::SkinChanged() {
  TSkinControl::SkinChanged();
  if (FTabBar) FTabBar->update();
  for (const QPointer<QToolButton>& arrow : FArrows)
    if (arrow) arrow->update();
}

Integer TSkinTab::TabFrame(Integer Index) const { return FTabBar && Index == FTabBar->currentIndex() ? 2 : 1; }

TRect TSkinTab::CloseBoxRect(Integer Index) const {
  return Index >= 0 && Index < Integer(FCloseBoxes.size()) ? FCloseBoxes[size_t(Index)] : TRect();
}

bool TSkinTab::CloseBoxPressed(TPoint P) {
  auto* pages = dynamic_cast<TPageControl*>(Control());
  if (!FCloseBoxesOn || !pages) return false;
  for (Integer i = 0; i < Integer(FCloseBoxes.size()); ++i) {
    if (FCloseBoxes[size_t(i)].IsEmpty() || !PtInRect(FCloseBoxes[size_t(i)], P)) continue;
    TCustomForm* form = Form() ? Form()->Control() : GetParentForm(pages);
    const LRESULT answer = form ? form->Perform(SKIN_TABCLOSE, WPARAM(static_cast<TWinControl*>(pages)), LPARAM(i)) : 0;
    if (answer == 0)
      for (Integer k = 0; k < pages->PageCount(); ++k)
        if (pages->Pages(k)->TabIndex() == i) {
          delete pages->Pages(k);
          break;
        }
    return true;
  }
  return false;
}

bool TSkinTab::PaintTabs(TBitmap& Work) {
  const TSkinModel* skin = Skin();
  auto* control = dynamic_cast<TWinControl*>(Control());
  if (!HasTabImage(skin) || !control || !FTabBar || FTabBar->width() <= 0 || FTabBar->height() <= 0) return false;
  const TDataSkinBorder& element = *skin->Tabs;
  Work.SetSize(FTabBar->width(), FTabBar->height());
  TCanvas* c = Work.Canvas();
  FillFace(c, TRect(0, 0, Work.Width(), Work.Height()));
  c->Font()->Assign(control->Font());
  FCloseBoxes.assign(size_t(FTabBar->count()), TRect());
  for (int i = 0; i < FTabBar->count(); ++i) {
    const QRect q = FTabBar->tabRect(i);
    const TRect r(q.left(), q.top(), q.right() + 1, q.bottom() + 1);
    const Integer frame = TabFrame(i);
    DrawSkinImage(c, r, element.Image, element.Margins(), frame, std::max(element.FrameCount, 1), element.Trans == 1,
                  element.Tile == 1, false);
    if (FCloseBoxesOn) {
      // A small square with both diagonals, in the canvas's pen, at the tab's top right.
      const TRect box(r.Right - 8, r.Top + 2, r.Right - 2, r.Top + 8);
      c->Polyline({{box.Left, box.Top}, {box.Right, box.Top}, {box.Right, box.Bottom}, {box.Left, box.Bottom}, {box.Left, box.Top}});
      c->Polyline({{box.Left, box.Top}, {box.Right, box.Bottom}});
      c->Polyline({{box.Right, box.Top}, {box.Left, box.Bottom}});
      FCloseBoxes[size_t(i)] = box;
    }
    c->Font()->SetColor(frame == 2 ? element.MouseOverColour2 : element.NormalColour2);
    DrawGlyphCaption(c, r, nullptr, -1, FTabBar->tabText(i), 1, control->Enabled() && FTabBar->isTabEnabled(i));
  }
  return true;
}

void TSkinTab::DrawSkin(TCanvas* Canvas, const TRect&) {
  auto* tabs = dynamic_cast<TCustomTabControl*>(Control());
  const TSkinModel* skin = Skin();
  if (!tabs || !HasTabImage(skin) || skin->Tabs->Image2.Empty()) return;
  // The page's border: the display area grown to the control's frame, under the tabs.
  TRect page = tabs->DisplayRect();
  InflateRect(page, 4, 4);
  page.Top = std::max(page.Top + 1, 0);
  page.Left = std::max(page.Left, 0);
  page.Right = std::min(page.Right, tabs->ClientWidth());
  page.Bottom = std::min(page.Bottom, tabs->ClientHeight());
  DrawSkinBorder(Canvas, page, skin->Tabs->Image2, {4, 5, 4, 4}, 1, 1, false);
}

bool TSkinTabSheet::BeforeMessage(TMessage& Message) {
  if (!TSkinControl::BeforeMessage(Message)) return false;
  switch (Message.Msg) {
    case WM_PAINT: PaintViaDraw(Message); return false;
    case WM_ERASEBKGND:
      if (auto* canvas = reinterpret_cast<TCanvas*>(Message.WParam); canvas && Control())
        FillFace(canvas, TRect(0, 0, Control()->Width(), Control()->Height()));
      Message.Result = 1;
      return false;
    default: return true;
  }
}

void TSkinTabSheet::DrawSkin(TCanvas* Canvas, const TRect& R) {
  FillFace(Canvas, R);
  if (auto* sheet = dynamic_cast<TWinControl*>(Control())) sheet->PaintControls(Canvas);
}
