#pragma once
// Skinned controls that are not opaque show their parent through: the parent paints the part
// it shows under the control onto the control's canvas.
#include "platform/ui/Controls.h"
#include "platform/ui/Graphics.h"

// Lets the control's parent erase and paint onto the canvas, in the control's coordinates and
// clipped to the parent's client area. With invalidate, a parent that does not paint itself
// (neither a custom control nor a form) is also invalidated. Nothing without a parent.
void PaintParentBackground(TControl* Control, TCanvas* Canvas, bool Invalidate);
