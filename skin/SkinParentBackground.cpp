#include "skin/SkinParentBackground.h"
#include "platform/rtl/ScopeGuards.h"
#include "platform/ui/Messages.h"

void PaintParentBackground(TControl* Control, TCanvas* Canvas, bool Invalidate) {
  if (!Control || !Canvas || !Control->Parent()) return;
  TWinControl* parent = Control->Parent();
  const bool designing = Control->ComponentState().Contains(csDesigning);
  // The parent draws in its own client coordinates, moved so that the control's corner lands
  // on the canvas origin, and clipped to the parent's client area.
  TControlCanvas shifted(parent);
  const TPoint origin = Canvas->DeviceOrigin();
  shifted.BeginPaintOn(Canvas, {origin.X - Control->Left(), origin.Y - Control->Top()},
                       TRect(0, 0, parent->ClientWidth(), parent->ClientHeight()));
  try {
    TScopeGuard endPaint([&shifted] { shifted.EndPaint(); });
    parent->Perform(WM_ERASEBKGND, WPARAM(static_cast<TCanvas*>(&shifted)), 0);
    parent->Perform(WM_PAINT, WPARAM(static_cast<TCanvas*>(&shifted)), 0);
  } catch (...) {
    // A designer keeps working with a parent that cannot paint yet.
    if (!designing) throw;
    return;
  }
  if (Invalidate && !designing && !dynamic_cast<TCustomControl*>(parent)) parent->Invalidate();
}
