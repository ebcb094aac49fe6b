#include "platform/ui/ComCtrls.h"
#include "platform/ui/WrappedWidget.h"
#include <QTabBar>

namespace {

// CN_COMMAND code of a tab chosen by the user; LParam is the new tab index.
constexpr Word TabChosen = 1;

}  // namespace

// ---- TCustomTabControl

TCustomTabControl::TCustomTabControl(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(0, 0, 289, 193);
  FControlStyle.Include(csAcceptsControls);
  SetColor(clBtnFace);
  FTabStop = true;
}

TCustomTabControl::~TCustomTabControl() = default;

void TCustomTabControl::CreateHandle() {
  TCustomControl::CreateHandle();
  FTabBar = new QTabBar(Handle());
  FTabBar->setDrawBase(false);
  FTabBar->setFocusPolicy(Qt::NoFocus);
  QTabBar* bar = FTabBar;
  QObject::connect(bar, &QTabBar::currentChanged, bar, [bar](int Index) {
    auto* control = dynamic_cast<TCustomTabControl*>(FindControl(bar->parentWidget()));
    if (!control || control->FSyncing) return;
    TMessage m{CN_COMMAND, MakeWParam(0, TabChosen), LPARAM(Index), 0};
    DeliverMessage(control, m);
  });
  UpdateTabs();
  FTabBar->show();
}

void TCustomTabControl::PlaceTabBar() {
  if (FTabBar) FTabBar->setGeometry(2, 0, std::max<Integer>(0, ClientWidth() - 4), TabHeight());
}

Integer TCustomTabControl::TabHeight() const {
  if (FTabBar && FTabBar->count() > 0) return FTabBar->sizeHint().height();
  TBitmap measure(1, 1);
  measure.Canvas()->SetFont(Font());
  return measure.Canvas()->TextHeight(QStringLiteral("0")) + 8;
}

TRect TCustomTabControl::DisplayRect() const {
  return TRect(2, TabHeight() + 2, std::max<Integer>(2, ClientWidth() - 2), std::max<Integer>(TabHeight() + 2, ClientHeight() - 2));
}

void TCustomTabControl::AdjustClientRect(TRect& Rect) {
  TCustomControl::AdjustClientRect(Rect);
  Rect = DisplayRect();
}

TRect TCustomTabControl::TabRect(Integer Index) const {
  if (!FTabBar || Index < 0 || Index >= FTabBar->count()) return TRect();
  const QRect r = FTabBar->tabRect(Index).translated(FTabBar->pos());
  return TRect(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
}

Integer TCustomTabControl::IndexOfTabAt(TPoint P) const {
  if (!FTabBar) return -1;
  return FTabBar->tabAt(QPoint(P.X, P.Y) - FTabBar->pos());
}

void TCustomTabControl::UpdateTabs() {
  const QStringList captions = TabCaptions();
  if (FTabIndex >= captions.size()) FTabIndex = captions.isEmpty() ? -1 : Integer(captions.size()) - 1;
  if (FTabIndex < 0 && !captions.isEmpty()) FTabIndex = 0;
  if (FTabBar) {
    FSyncing = true;
    while (FTabBar->count() > captions.size()) FTabBar->removeTab(FTabBar->count() - 1);
    for (qsizetype i = 0; i < captions.size(); ++i) {
      if (i < FTabBar->count()) FTabBar->setTabText(int(i), captions[i]);
      else FTabBar->addTab(captions[i]);
    }
    FTabBar->setCurrentIndex(FTabIndex);
    FSyncing = false;
    PlaceTabBar();
  }
  Realign();
  Invalidate();
}

void TCustomTabControl::SetTabIndex(Integer Value) {
  const Integer count = Integer(TabCaptions().size());
  if (Value < -1 || Value >= count) return;
  FTabIndex = Value;
  if (FTabBar) {
    FSyncing = true;
    FTabBar->setCurrentIndex(Value);
    FSyncing = false;
  }
}

bool TCustomTabControl::CanChange() {
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  return allow;
}

void TCustomTabControl::Change() {
  if (OnChange) OnChange(this);
}

void TCustomTabControl::UserSelected(Integer Index) {
  if (Index == FTabIndex) return;
  if (!CanChange()) {
    SetTabIndex(FTabIndex);  // the tab bar goes back
    return;
  }
  FTabIndex = Index;
  Change();
}

void TCustomTabControl::Paint() {
  TCanvas* canvas = Canvas();
  canvas->Brush()->SetColor(Color());
  canvas->FillRect(ClientRect());
  TRect frame(0, TabHeight(), ClientWidth(), ClientHeight());
  DrawEdge(canvas, frame, EDGE_RAISED, BF_RECT);
}

void TCustomTabControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND:
      if (CommandCode(Message) == TabChosen) UserSelected(Integer(Message.LParam));
      return;
    case WM_SIZE:
      TCustomControl::Dispatch(Message);
      PlaceTabBar();
      return;
    case CM_FONTCHANGED:
      TCustomControl::Dispatch(Message);
      if (FTabBar) FTabBar->setFont(Font()->ToQFont());
      UpdateTabs();
      return;
    case TCM_GETITEMCOUNT: Message.Result = Integer(TabCaptions().size()); return;
    case TCM_GETCURSEL:
    case TCM_GETCURFOCUS: Message.Result = FTabIndex; return;
    case TCM_GETITEMRECT: {
      const TRect r = TabRect(Integer(Message.WParam));
      if (Message.LParam) *reinterpret_cast<TRect*>(Message.LParam) = r;
      Message.Result = r.IsEmpty() ? 0 : 1;
      return;
    }
    case TCM_ADJUSTRECT:
      if (auto* r = reinterpret_cast<TRect*>(Message.LParam)) {
        const TRect display = DisplayRect();
        const Integer left = display.Left, top = display.Top, right = ClientWidth() - display.Right,
                      bottom = ClientHeight() - display.Bottom;
        const Integer sign = Message.WParam ? -1 : 1;
        *r = TRect(r->Left + sign * left, r->Top + sign * top, r->Right - sign * right, r->Bottom - sign * bottom);
      }
      return;
    default: TCustomControl::Dispatch(Message);
  }
}

// ---- TTabControl

TTabControl::TTabControl(TComponent* AOwner) : TCustomTabControl(AOwner), FTabs(std::make_unique<TStringList>()) {
  FTabs->OnChange = [this](TObject*) { UpdateTabs(); };
}

TTabControl::~TTabControl() { FTabs->OnChange = nullptr; }

TStrings* TTabControl::Tabs() const { return FTabs.get(); }

void TTabControl::SetTabs(TStrings* Value) { FTabs->Assign(Value); }

QStringList TTabControl::TabCaptions() const {
  QStringList captions;
  for (Integer i = 0; i < FTabs->Count(); ++i) captions << FTabs->Strings(i);
  return captions;
}

// ---- TTabSheet

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle.Include(csAcceptsControls);
  SetColor(clBtnFace);
  SetVisible(false);
}

TTabSheet::~TTabSheet() {
  Destroying();
  if (FPageControl) FPageControl->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* Value) {
  if (Value == FPageControl) return;
  if (FPageControl) FPageControl->RemovePage(this);
  SetParent(Value);
  if (Value) Value->InsertPage(this);
}

Integer TTabSheet::PageIndex() const {
  if (!FPageControl) return -1;
  const auto& pages = FPageControl->FPages;
  return Integer(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(Integer Value) {
  if (!FPageControl) return;
  auto& pages = FPageControl->FPages;
  pages.erase(std::find(pages.begin(), pages.end(), this));
  pages.insert(pages.begin() + std::clamp<Integer>(Value, 0, Integer(pages.size())), this);
  FPageControl->PagesChanged();
}

Integer TTabSheet::TabIndex() const {
  if (!FPageControl || !FTabVisible) return -1;
  Integer index = 0;
  for (TTabSheet* page : FPageControl->FPages) {
    if (page == this) return index;
    if (page->FTabVisible) ++index;
  }
  return -1;
}

void TTabSheet::SetTabVisible(bool Value) {
  FTabVisible = Value;
  if (FPageControl) FPageControl->PagesChanged();
}

void TTabSheet::PaintWindow(TCanvas* Canvas) {
  Canvas->Brush()->SetColor(Color());
  Canvas->FillRect(ClientRect());
}

void TTabSheet::Dispatch(TMessage& Message) {
  TWinControl::Dispatch(Message);
  if (Message.Msg == CM_TEXTCHANGED && FPageControl) FPageControl->PagesChanged();
}

// ---- TPageControl

TPageControl::TPageControl(TComponent* AOwner) : TCustomTabControl(AOwner) {}

TPageControl::~TPageControl() {
  Destroying();
  for (TTabSheet* page : FPages) page->FPageControl = nullptr;
}

void TPageControl::InsertPage(TTabSheet* Page) {
  FPages.push_back(Page);
  Page->FPageControl = this;
  if (!FActivePage) FActivePage = Page;
  PagesChanged();
}

void TPageControl::RemovePage(TTabSheet* Page) {
  auto it = std::find(FPages.begin(), FPages.end(), Page);
  if (it == FPages.end()) return;
  TTabSheet* next = FActivePage == Page ? FindNextPage(Page, true, true) : FActivePage;
  FPages.erase(it);
  Page->FPageControl = nullptr;
  FActivePage = next == Page ? nullptr : next;
  if (ComponentState().Contains(csDestroying)) return;
  PagesChanged();
}

void TPageControl::PagesChanged() {
  UpdateTabs();
  if (FActivePage) SetTabIndex(FActivePage->TabIndex());
  PlacePages();
}

void TPageControl::PlacePages() {
  const TRect display = DisplayRect();
  for (TTabSheet* page : FPages) {
    page->SetBoundsRect(display);
    page->SetVisible(page == FActivePage);
  }
}

QStringList TPageControl::TabCaptions() const {
  QStringList captions;
  for (TTabSheet* page : FPages)
    if (page->TabVisible()) captions << page->Caption();
  return captions;
}

TTabSheet* TPageControl::VisiblePage(Integer TabIndex) const {
  for (TTabSheet* page : FPages)
    if (page->TabIndex() == TabIndex && TabIndex >= 0) return page;
  return nullptr;
}

void TPageControl::SetActivePage(TTabSheet* Value) {
  if (Value && Value->FPageControl != this) return;
  FActivePage = Value;
  SetTabIndex(Value ? Value->TabIndex() : -1);
  PlacePages();
}

Integer TPageControl::ActivePageIndex() const { return FActivePage ? FActivePage->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(Integer Value) {
  SetActivePage(Value >= 0 && Value < PageCount() ? Pages(Value) : nullptr);
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* CurrentPage, bool GoForward, bool CheckTabVisible) const {
  if (FPages.empty()) return nullptr;
  const Integer count = PageCount();
  auto it = std::find(FPages.begin(), FPages.end(), CurrentPage);
  Integer start = it == FPages.end() ? (GoForward ? count - 1 : 0) : Integer(it - FPages.begin());
  Integer i = start;
  do {
    i = GoForward ? (i + 1) % count : (i + count - 1) % count;
    if (!CheckTabVisible || FPages[size_t(i)]->TabVisible()) return FPages[size_t(i)];
  } while (i != start);
  return nullptr;
}

void TPageControl::SelectNextPage(bool GoForward) {
  TTabSheet* page = FindNextPage(FActivePage, GoForward, true);
  if (!page || page == FActivePage || !CanChange()) return;
  SetActivePage(page);
  Change();
}

void TPageControl::Change() {
  if (TTabSheet* page = VisiblePage(TabIndex()); page && page != FActivePage) {
    FActivePage = page;
    PlacePages();
  }
  TCustomTabControl::Change();
}

void TPageControl::Resize() {
  TCustomTabControl::Resize();
  PlacePages();
}
