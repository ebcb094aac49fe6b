#pragma once
// A windowed control whose children scroll inside it: moving the scroll position moves every
// child the other way, so a child's bounds stay relative to the scrolled contents.
#include "platform/ui/Controls.h"

class TScrollingWinControl : public TWinControl {
public:
  explicit TScrollingWinControl(TComponent* AOwner) : TWinControl(AOwner) {}
  String ClassName() const override { return QStringLiteral("TScrollingWinControl"); }

  Integer HorzPosition() const { return FHorzPosition; }
  void SetHorzPosition(Integer Value) { ScrollTo(Value, FVertPosition); }
  Integer VertPosition() const { return FVertPosition; }
  void SetVertPosition(Integer Value) { ScrollTo(FHorzPosition, Value); }
  // Moves every child by DX, DY.
  void ScrollBy(Integer DX, Integer DY);
  // Scrolls the least distance that shows AControl (a child) whole, or its top-left when it
  // is larger than the client area.
  void ScrollInView(TControl* AControl);

private:
  void ScrollTo(Integer Horz, Integer Vert);
  Integer FHorzPosition = 0;
  Integer FVertPosition = 0;
};
