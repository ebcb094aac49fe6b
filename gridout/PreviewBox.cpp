#include "gridout/PreviewBox.h"
#include "gridout/PreviewImages.h"
#include "platform/print/PrintDialogs.h"
#include "platform/ui/Forms.h"
#include "platform/ui/SystemColors.h"

namespace {

constexpr Integer Zooms[8] = {500, 200, 150, 100, 75, 50, 25, 10};
constexpr Byte WholePage = 9, PageWidth = 8, Zoom150 = 2;
constexpr Integer WheelScrollLines = 3;

// Puts a cursor of our own into the first screen cursor index that still holds the default.
TCursor LoadCustomCursor(const String& Name) {
  const QCursor cursor = PreviewCursor(Name);
  for (Integer i = 1; i < 0x8000; ++i) {
    const QCursor current = Screen->Cursors(i);
    if (current.shape() == Qt::ArrowCursor) {
      Screen->SetCursors(i, cursor);
      return TCursor(i);
    }
  }
  throw EOutOfResources(QStringLiteral("Too many user-defined cursors"));
}

}  // namespace

TCursor ZoomCursor() {
  static const TCursor cursor = LoadCustomCursor(QStringLiteral("MAGNIFIERX"));
  return cursor;
}

TCursor DragCursor() {
  static const TCursor cursor = LoadCustomCursor(QStringLiteral("HANDX"));
  return cursor;
}

// ---- TDrawPanel

TDrawPanel::TDrawPanel(TComponent* AOwner) : TCustomPanel(AOwner) {
  SetBevelOuter(bvNone);
  SetCtl3D(false);
  SetBorderStyle(bsSingle);
  SetColor(clWhite);
  SetCursor(ZoomCursor());
}

TPreviewBox* TDrawPanel::Box() const { return dynamic_cast<TPreviewBox*>(Parent()); }

void TDrawPanel::Paint() {
  TCanvas* canvas = Canvas();
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(clWhite);
  canvas->FillRect(ClientRect());
  TPreviewBox* box = Box();
  if (!box) return;
  TPrinterPreview* preview = box->Preview();
  // The page's printable corner lands where it lies on the paper.
  const TPageRecording* page = box->PageCount() > 0 ? preview->PageFile(box->PageIndex()) : nullptr;
  const Integer offX = page ? preview->RecordedOffsetX() : preview->PhysicalOffsetX();
  const Integer offY = page ? preview->RecordedOffsetY() : preview->PhysicalOffsetY();
  const Integer fw = std::max<Integer>(1, (page ? page->Width() : preview->GetPageWidth()) + 2 * offX);
  const Integer fh = std::max<Integer>(1, (page ? page->Height() : preview->GetPageHeight()) + 2 * offY);
  const TRect client = ClientRect();
  const Integer saved = canvas->SaveState();
  canvas->SetMapMode(MM_ANISOTROPIC);
  canvas->SetWindowExt({fw, fh});
  canvas->SetViewportExt({std::max<Integer>(1, client.Width()), std::max<Integer>(1, client.Height())});
  canvas->SetViewportOrg({Integer(Int64(offX) * client.Width() / fw), Integer(Int64(offY) * client.Height() / fh)});
  if (page) preview->DrawPage(this, canvas, box->PageIndex());
  canvas->RestoreState(saved);
}

void TDrawPanel::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomPanel::MouseDown(Button, Shift, X, Y);
  FDragOrigin = {X, Y};
}

void TDrawPanel::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TCustomPanel::MouseMove(Shift, X, Y);
  TPreviewBox* box = Box();
  if (!box || !Shift.Contains(ssLeft) || !MouseCapture()) return;
  if (FDragOrigin == TPoint{X, Y} && Cursor() != DragCursor()) return;
  SetCursor(DragCursor());
  // The page follows the mouse; at a scroll limit the origin follows instead, so moving
  // back does not first have to undo the distance dragged beyond the limit.
  const Integer v = box->ScrollPosition(SB_VERT), h = box->ScrollPosition(SB_HORZ);
  box->SetScrollPosition(SB_VERT, v + FDragOrigin.Y - Y);
  box->SetScrollPosition(SB_HORZ, h + FDragOrigin.X - X);
  if (box->ScrollPosition(SB_VERT) == v) FDragOrigin.Y = Y;
  if (box->ScrollPosition(SB_HORZ) == h) FDragOrigin.X = X;
}

void TDrawPanel::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomPanel::MouseUp(Button, Shift, X, Y);
  TPreviewBox* box = Box();
  if (Button != mbLeft || !box) return;
  if (Cursor() != ZoomCursor()) {
    SetCursor(ZoomCursor());
    return;
  }
  if (box->ScaleMode() != WholePage) {
    box->SetScaleMode(WholePage);
    return;
  }
  // Zoom in about the clicked spot.
  const Integer w0 = std::max<Integer>(1, Width()), h0 = std::max<Integer>(1, Height()), l0 = Left(), t0 = Top();
  box->SetScaleMode(Zoom150);
  box->SetScrollPosition(SB_VERT, Integer(Int64(Y) * Height() / h0) + 16 - t0 - Y);
  box->SetScrollPosition(SB_HORZ, Integer(Int64(X) * Width() / w0) + 16 - l0 - X);
}

void TDrawPanel::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_CANCELMODE && Cursor() == DragCursor()) SetCursor(ZoomCursor());
  TCustomPanel::Dispatch(Message);
}

// ---- TPreviewBox

TPreviewBox::TPreviewBox(TComponent* AOwner) : TCustomControl(AOwner), FPreview(std::make_unique<TPrinterPreview>()) {
  FTabStop = true;
  FShadowPanel = new TPanel(this);
  FShadowPanel->SetBevelOuter(bvNone);
  FShadowPanel->SetColor(RGB(64, 64, 64));
  FShadowPanel->SetEnabled(false);
  FShadowPanel->SetParent(this);
  FDrawPanel = new TDrawPanel(this);
  FDrawPanel->SetBounds(8, 8, 100, 100);
  FDrawPanel->SetParent(this);
  FPreview->BindBox(this);
  SetBounds(0, 0, 185, 41);
}

TPreviewBox::~TPreviewBox() {
  if (FPrintComponent) FPrintComponent->RemoveFreeNotification(this);
  FPreview->BindBox(nullptr);
}

void TPreviewBox::Changed() {
  if (OnPrinterPreviewChanged) OnPrinterPreviewChanged(this);
}

void TPreviewBox::SetPageIndex(Integer Value) {
  Value = std::max<Integer>(1, Value);
  if (Value > FPageCount) Value = std::max<Integer>(1, FPageCount);
  if (Value == FPageIndex) return;
  FPageIndex = Value;
  InvalidatePage();
  Changed();
}

void TPreviewBox::SetScaleMode(Byte Value) {
  Value = std::min<Byte>(Value, WholePage);
  if (Value != FScaleMode) {
    FScaleMode = Value;
    UpdatePageLayout();
  }
  Changed();
}

void TPreviewBox::SetPrintComponent(TComponent* Value) {
  if (Value == FPrintComponent) return;
  if (FPrintComponent) FPrintComponent->RemoveFreeNotification(this);
  FPrintComponent = Value;
  if (FPrintComponent) FPrintComponent->FreeNotification(this);
  Changed();
}

void TPreviewBox::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPrintComponent) {
    FPrintComponent = nullptr;
    Changed();
  }
}

void TPreviewBox::InvalidatePage() {
  Invalidate();
  FDrawPanel->Invalidate();
}

Integer TPreviewBox::ClientExtent(Integer Bar) const {
  const TRect client = ClientRect();
  return Bar == SB_HORZ ? client.Width() : client.Height();
}

void TPreviewBox::SetRanges(Integer Horz, Integer Vert) {
  FAxes[SB_HORZ] = {std::max<Integer>(0, Horz), 0};
  FAxes[SB_VERT] = {std::max<Integer>(0, Vert), 0};
  UpdateScrollBars();
}

// A bar shows while its range exceeds the client area; showing one narrows the other side.
void TPreviewBox::UpdateScrollBars() {
  for (int pass = 0; pass < 2; ++pass) {
    for (Integer bar : {SB_HORZ, SB_VERT}) {
      const TAxis& axis = FAxes[bar];
      const bool needed = axis.Range > ClientExtent(bar);
      ShowScrollBar(bar, needed);
      if (!needed) continue;
      TScrollInfo info;
      info.nMin = 0;
      info.nMax = axis.Range - 1;
      info.nPage = Cardinal(std::max<Integer>(0, ClientExtent(bar)));
      info.nPos = axis.Position;
      SetScrollInfo(bar, info, true);
    }
  }
}

void TPreviewBox::SetScrollPosition(Integer Bar, Integer Value) {
  TAxis& axis = FAxes[Bar];
  const Integer limit = std::max<Integer>(0, axis.Range - ClientExtent(Bar));
  Value = std::clamp<Integer>(Value, 0, limit);
  if (Value == axis.Position) return;
  axis.Position = Value;
  UpdateScrollBars();
  PlacePage();
}

void TPreviewBox::PlacePage() {
  const Integer left = FPage.Left - FAxes[SB_HORZ].Position, top = FPage.Top - FAxes[SB_VERT].Position;
  FDrawPanel->SetBounds(left, top, FPage.Width(), FPage.Height());
  FShadowPanel->SetBounds(left + 4, top + 4, FPage.Width(), FPage.Height());
}

// Every division drops its remainder; sizes that come out below zero are empty.
void TPreviewBox::UpdatePageLayout() {
  if (FLayingOut) return;
  FLayingOut = true;
  TPrinterPreview* p = FPreview.get();
  const Int64 pw = std::max<Integer>(1, p->GetPageWidth());
  const Int64 dpi = std::max<Integer>(1, p->GetPixelsPerInchX());
  const Int64 hs = std::max<Integer>(1, p->HorzSizeMM()), vs = std::max<Integer>(1, p->VertSizeMM());
  const Int64 screenPpi = Screen->PixelsPerInch();
  Int64 w = 0, h = 0, l = 8, t = 8;
  if (FScaleMode < PageWidth) {
    const Int64 z = Zooms[FScaleMode];
    w = z * pw * screenPpi / dpi / 100;
    h = w * vs / hs;
    SetRanges(Integer(w + 16), Integer(h + 16));
    const Int64 cw = ClientExtent(SB_HORZ), ch = ClientExtent(SB_VERT);
    l = w + 16 < cw ? (cw - w) / 2 : 8;
    t = h + 16 < ch ? (ch - h) / 2 : 8;
    FScalePercent = Integer(z);
  } else if (FScaleMode == PageWidth) {
    w = std::max<Int64>(0, Width() - 20 - GetSystemMetrics(SM_CXVSCROLL));
    h = w * vs / hs;
    FScalePercent = Integer(w * 100 / std::max<Int64>(1, pw * screenPpi / dpi));
    SetRanges(0, Integer(h + 16));
  } else {
    SetRanges(0, 0);
    const Int64 cw = ClientExtent(SB_HORZ), ch = ClientExtent(SB_VERT);
    h = std::max<Int64>(0, ch - 16);
    w = h * hs / vs;
    if (cw - 16 < w) {
      w = std::max<Int64>(0, cw - 16);
      h = w * vs / hs;
    }
    FScalePercent = 100;
    l = (cw - w) / 2;
    t = (ch - h) / 2;
  }
  FPage = TRect(Integer(l), Integer(t), Integer(l + w), Integer(t + h));
  FDrawPanel->Invalidate();
  PlacePage();
  FLayingOut = false;
}

void TPreviewBox::Resize() {
  TCustomControl::Resize();
  if (!FDrawPanel) return;
  if (FScaleMode >= PageWidth || FPage.Width() + 16 < ClientExtent(SB_HORZ) ||
      FPage.Height() + 16 < ClientExtent(SB_VERT)) {
    UpdatePageLayout();
  } else {
    UpdateScrollBars();
    SetScrollPosition(SB_HORZ, ScrollPosition(SB_HORZ));
    SetScrollPosition(SB_VERT, ScrollPosition(SB_VERT));
  }
}

void TPreviewBox::KeyDown(Word& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  const bool ctrl = Shift.Contains(ssCtrl);
  const Integer inc = ScrollIncrement();
  const Integer pageV = ClientExtent(SB_VERT) - inc, pageH = ClientExtent(SB_HORZ) - inc;
  const Integer v = ScrollPosition(SB_VERT), h = ScrollPosition(SB_HORZ);
  constexpr Integer Far = 0x3FFFFFFF;
  switch (Key) {
    case VK_PRIOR: SetScrollPosition(SB_VERT, ctrl ? 0 : v - pageV); break;
    case VK_NEXT: SetScrollPosition(SB_VERT, ctrl ? Far : v + pageV); break;
    case VK_UP: SetScrollPosition(SB_VERT, v - (ctrl ? pageV : inc)); break;
    case VK_DOWN: SetScrollPosition(SB_VERT, v + (ctrl ? pageV : inc)); break;
    case VK_HOME:
      SetScrollPosition(SB_HORZ, 0);
      if (ctrl) SetScrollPosition(SB_VERT, 0);
      break;
    case VK_END:
      SetScrollPosition(SB_HORZ, Far);
      if (ctrl) SetScrollPosition(SB_VERT, Far);
      break;
    case VK_LEFT: SetScrollPosition(SB_HORZ, h - (ctrl ? pageH : inc)); break;
    case VK_RIGHT: SetScrollPosition(SB_HORZ, h + (ctrl ? pageH : inc)); break;
    default: break;
  }
}

void TPreviewBox::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (CanFocus()) SetFocus();
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

bool TPreviewBox::DoMouseWheel(TShiftState Shift, Integer WheelDelta, TPoint MousePos) {
  if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  if (WheelDelta == 0) return false;
  // A page that fits turns; a larger one scrolls.
  if (ScrollRange(SB_VERT) < ClientExtent(SB_VERT)) {
    SetPageIndex(PageIndex() + (WheelDelta < 0 ? 1 : -1));
  } else {
    const Integer step = ScrollIncrement() * WheelScrollLines * FScalePercent / 100;
    SetScrollPosition(SB_VERT, ScrollPosition(SB_VERT) + (WheelDelta < 0 ? step : -step));
  }
  return true;
}

void TPreviewBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS; return;
    case WM_HSCROLL:
    case WM_VSCROLL: {
      const Integer bar = Message.Msg == WM_HSCROLL ? SB_HORZ : SB_VERT;
      const TWMScroll scroll{Message};
      const Integer pos = ScrollPosition(bar), page = ClientExtent(bar) - ScrollIncrement();
      switch (scroll.ScrollCode()) {
        case SB_LINEUP: SetScrollPosition(bar, pos - ScrollIncrement()); break;
        case SB_LINEDOWN: SetScrollPosition(bar, pos + ScrollIncrement()); break;
        case SB_PAGEUP: SetScrollPosition(bar, pos - page); break;
        case SB_PAGEDOWN: SetScrollPosition(bar, pos + page); break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: SetScrollPosition(bar, scroll.Pos()); break;
        case SB_TOP: SetScrollPosition(bar, 0); break;
        case SB_BOTTOM: SetScrollPosition(bar, ScrollRange(bar)); break;
        default: break;
      }
      return;
    }
    default: TCustomControl::Dispatch(Message);
  }
}

// ---- printing and printer setup on the recorder's printer

namespace {

// Makes a printer the program's printer for a while; the previous one comes back on every path.
class TCurrentPrinterScope {
public:
  explicit TCurrentPrinterScope(TPrinter* Printer) : FPrevious(SetPrinter(Printer)) {}
  ~TCurrentPrinterScope() { SetPrinter(FPrevious); }
  TCurrentPrinterScope(const TCurrentPrinterScope&) = delete;
  TCurrentPrinterScope& operator=(const TCurrentPrinterScope&) = delete;
private:
  TPrinter* FPrevious;
};

}  // namespace

void TPreviewBox::PrintPages() {
  TCurrentPrinterScope scope(FPreview->PrinterObject());
  TPrintDialog dialog(nullptr);
  dialog.SetMinPage(1);
  dialog.SetMaxPage(std::max<Integer>(1, FPageCount));
  dialog.SetFromPage(1);
  dialog.SetToPage(std::max<Integer>(1, FPageCount));
  if (!dialog.Execute() || FPageCount <= 0) return;
  const bool range = dialog.PrintRange() == prPageNums;
  const Integer from = std::clamp<Integer>(range ? dialog.FromPage() : 1, 1, FPageCount);
  const Integer to = std::clamp<Integer>(range ? dialog.ToPage() : FPageCount, from, FPageCount);

  TPrinter* target = Printer();
  target->BeginDoc();
  try {
    TCanvas* canvas = target->Canvas();
    for (Integer page = from; page <= to; ++page) {
      // Recorded pixels become the target's, and the page keeps its place on the paper.
      const TPageRecording* recorded = FPreview->PageFile(page);
      const Integer rx = recorded->PixelsPerInchX(), ry = recorded->PixelsPerInchY();
      const Integer tx = target->PixelsPerInchX(), ty = target->PixelsPerInchY();
      const Integer saved = canvas->SaveState();
      canvas->SetMapMode(MM_ANISOTROPIC);
      canvas->SetWindowExt({rx, ry});
      canvas->SetViewportExt({tx, ty});
      canvas->SetViewportOrg({Integer(Int64(FPreview->RecordedOffsetX()) * tx / rx) - target->PhysicalOffsetX(),
                              Integer(Int64(FPreview->RecordedOffsetY()) * ty / ry) - target->PhysicalOffsetY()});
      FPreview->DrawPage(this, canvas, page);
      canvas->RestoreState(saved);
      if (page < to) target->NewPage();
    }
  } catch (...) {
    if (target->Printing()) target->Abort();
    throw;
  }
  target->EndDoc();
}

void TPreviewBox::PrinterSetup() {
  TCurrentPrinterScope scope(FPreview->PrinterObject());
  if (SetupDialogHandler) {
    SetupDialogHandler(this);
    return;
  }
  TPrinterSetupDialog dialog(nullptr);
  if (!dialog.Execute()) return;
  UpdatePageLayout();
  if (SetupChangedHandler) SetupChangedHandler(this);
}
