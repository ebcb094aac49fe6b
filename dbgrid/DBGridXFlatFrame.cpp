// The frame of a flat grid: instead of the sunken client edge, a one-pixel sunken line around
// the window, and a light corner line where the two scroll bars meet.
#include "dbgrid/DBGridX.h"
#include "platform/ui/DrawingRoutines.h"
#include "platform/ui/SystemColors.h"

Integer TCustomDBGridX::FlatBorderWidth() const { return Flat() && Ctl3D() && BorderStyle() == bsSingle ? 1 : 0; }

void TCustomDBGridX::CreateParams(TCreateParams& Params) {
  TCustomGridX::CreateParams(Params);
  if (Flat() && Ctl3D()) {
    Params.Style &= ~WS_BORDER;
    Params.ExStyle &= ~WS_EX_CLIENTEDGE;
  }
  Params.Style |= WS_CLIPCHILDREN;
}

// The flat border lies outside the scroll bars, which the layer places in what is left.
void TCustomDBGridX::WMNCCalcSize(TMessage& Message) {
  InflateRect(TWMNCCalcSize{Message}.Rect(), -FlatBorderWidth(), -FlatBorderWidth());
  TCustomGridX::Dispatch(Message);
}

void TCustomDBGridX::WMNCPaint(TMessage& Message) {
  TCustomGridX::Dispatch(Message);
  if (auto* canvas = reinterpret_cast<TCanvas*>(Message.WParam)) PaintFlatBorder(canvas);
}

void TCustomDBGridX::PaintFlatBorder(TCanvas* Canvas) {
  if (!Flat() || BorderStyle() != bsSingle || !Ctl3D()) return;
  TRect window(0, 0, Width(), Height());
  DrawEdge(Canvas, window, BDR_SUNKENOUTER, BF_RECT);
  const bool bothBars = FHorzScrollBar->IsBarShown() && FVertScrollBar->IsBarShown() &&
                        !FHorzScrollBar->ExtScrollBar() && !FVertScrollBar->ExtScrollBar();
  if (!bothBars) return;
  const TPoint corner(Width() - GetSystemMetrics(SM_CXVSCROLL) - 1, Height() - GetSystemMetrics(SM_CYHSCROLL) - 1);
  Canvas->Pen()->SetColor(clBtnFace);
  Canvas->MoveTo(corner.X, Height() - 1);
  Canvas->LineTo(corner.X, corner.Y);
  Canvas->LineTo(Width() - 1, corner.Y);
}

void TCustomDBGridX::FlatChanged() {
  if (HandleAllocated()) RecreateWnd();
  RequestLayout();
}
