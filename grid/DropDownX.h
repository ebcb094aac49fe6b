#pragma once
// How drop-downs are placed next to their owner, the two messages popups and owners
// exchange, and the interface through which a popup hands its result back.
#include "platform/ui/Controls.h"

// wParam: 0 grip on the left side, 1 right, 2 top, 3 bottom.
constexpr Cardinal WM_DROPDOWNSIDEX = WM_USER + 100;
// Posted by a popup to itself; wParam is the accept flag.
constexpr Cardinal WM_POPUPCLOSEUPX = WM_USER + 101;
constexpr Integer sideLeftX = 0, sideRightX = 1, sideTopX = 2, sideBottomX = 3;

// Implemented by the component that owns a popup.
class IPopupOwnerX {
public:
  virtual ~IPopupOwnerX() = default;
  // Closes the drop-down; with Accept the popup's value is taken.
  virtual void FinishDropDown(bool Accept) = 0;
};

// The popup's owner component when it takes popup results, else nullptr (such a popup
// never closes itself).
IPopupOwnerX* PopupOwnerOf(const TComponent* Popup);

// Places DropDown beside OwnerRect (screen coordinates) inside WorkArea: below the owner,
// or above when it does not fit below and fits above or has more room there; shrinks it
// to the room and the work area's width; Align 0 left, 1 right, 2 centre. Sends the popup
// a vertical and then a horizontal side request and returns the top-left point.
TPoint PlaceDropDownInWorkArea(const TRect& OwnerRect, TControl* DropDown, Integer Align, const TRect& WorkArea);
// As above, in the work area of the monitor nearest to the owner.
void PlaceDropDownAtRect(const TRect& OwnerRect, TControl* DropDown, Integer Align, TPoint& TopLeft);
// OwnerControl's bounds converted to the screen through its parent.
void PlaceDropDownAtControl(TControl* OwnerControl, TControl* DropDown, Integer Align, TPoint& TopLeft);
