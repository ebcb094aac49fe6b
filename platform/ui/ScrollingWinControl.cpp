#include "platform/ui/ScrollingWinControl.h"
#include <algorithm>

void TScrollingWinControl::ScrollBy(Integer DX, Integer DY) {
  if (DX == 0 && DY == 0) return;
  DisableAlign();
  for (Integer i = 0; i < ControlCount(); ++i) {
    TControl* child = Controls(i);
    child->SetBounds(child->Left() + DX, child->Top() + DY, child->Width(), child->Height());
  }
  EnableAlign();
}

void TScrollingWinControl::ScrollTo(Integer Horz, Integer Vert) {
  Horz = std::max<Integer>(Horz, 0);
  Vert = std::max<Integer>(Vert, 0);
  const Integer dx = FHorzPosition - Horz, dy = FVertPosition - Vert;
  FHorzPosition = Horz;
  FVertPosition = Vert;
  ScrollBy(dx, dy);
}

void TScrollingWinControl::ScrollInView(TControl* AControl) {
  if (!AControl || !ContainsControl(AControl)) return;
  const TRect client = ClientRect();
  auto distance = [](Integer Start, Integer Size, Integer Extent) {
    if (Start < 0 || Size > Extent) return Start;
    if (Start + Size > Extent) return Start + Size - Extent;
    return Integer(0);
  };
  const Integer dx = distance(AControl->Left(), AControl->Width(), client.Width());
  const Integer dy = distance(AControl->Top(), AControl->Height(), client.Height());
  ScrollTo(FHorzPosition + dx, FVertPosition + dy);
}
