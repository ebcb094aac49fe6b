#include "platform/ui/ControlHost.h"
#include "platform/rtl/ScopeGuards.h"

// ---- TControlCanvas

void TControlCanvas::BeginPaint(QPainter* Painter, TPoint Origin, const QRegion& Clip) {
  SetDeviceArea(Origin, &Clip);
  SetPainter(Painter, false);
}

void TControlCanvas::BeginPaintOn(TCanvas* Outer, TPoint Origin, const TRect& Clip) {
  QPainter* painter = Outer->Handle();
  const QRegion clip(Clip.Left, Clip.Top, Clip.Width(), Clip.Height());
  SetDeviceArea(Origin, &clip);
  SetPainter(painter, false);
}

void TControlCanvas::EndPaint() {
  ReleasePainter();
  SetDeviceArea({0, 0}, nullptr);
}

TSize TControlCanvas::DeviceSize() const { return {FControl->ClientWidth(), FControl->ClientHeight()}; }

// ---- TCustomControl

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner), FCanvas(std::make_unique<TControlCanvas>(this)) {}

TCustomControl::~TCustomControl() = default;

TCanvas* TCustomControl::Canvas() const { return FCanvas.get(); }

void TCustomControl::PaintWindow(TCanvas* Canvas) {
  FCanvas->BeginPaintOn(Canvas, Canvas->DeviceOrigin(), Canvas->ClipRect());
  FCanvas->Font()->Assign(Font());
  FCanvas->Brush()->SetColor(Color());
  TScopeGuard endPaint([this] { FCanvas->EndPaint(); });
  Paint();
}

// ---- TGraphicControl

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner), FCanvas(std::make_unique<TControlCanvas>(this)) {}

TGraphicControl::~TGraphicControl() = default;

TCanvas* TGraphicControl::Canvas() const { return FCanvas.get(); }

void TGraphicControl::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_PAINT) {
    if (Message.WParam) {
      FCanvas->Font()->Assign(Font());
      FCanvas->Brush()->SetColor(Color());
      Paint();
    }
    return;
  }
  TControl::Dispatch(Message);
}
