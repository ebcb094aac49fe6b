#include "grid/DropDownX.h"
#include "platform/ui/Forms.h"

IPopupOwnerX* PopupOwnerOf(const TComponent* Popup) { return dynamic_cast<IPopupOwnerX*>(Popup->Owner()); }

TPoint PlaceDropDownInWorkArea(const TRect& OwnerRect, TControl* DropDown, Integer Align, const TRect& WorkArea) {
  const Integer H = DropDown->Height();
  const bool FitsBelow = WorkArea.Bottom >= OwnerRect.Bottom + H;
  const bool FitsAbove = OwnerRect.Top - H >= WorkArea.Top;
  const bool MoreRoomAbove = WorkArea.Bottom - OwnerRect.Bottom < OwnerRect.Top - WorkArea.Top;
  Integer Y;
  if (!FitsBelow && (FitsAbove || MoreRoomAbove)) {
    if (!FitsAbove) DropDown->SetHeight(OwnerRect.Top - WorkArea.Top);
    Y = OwnerRect.Top - DropDown->Height();
    DropDown->Perform(WM_DROPDOWNSIDEX, sideTopX);
  } else {
    if (!FitsBelow) DropDown->SetHeight(WorkArea.Bottom - OwnerRect.Bottom);
    Y = OwnerRect.Bottom;
    DropDown->Perform(WM_DROPDOWNSIDEX, sideBottomX);
  }
  Integer X = OwnerRect.Left;
  if (Align == 1) X += OwnerRect.Width() - DropDown->Width();
  else if (Align == 2) X -= (DropDown->Width() - OwnerRect.Width()) / 2;
  if (WorkArea.Width() < DropDown->Width()) DropDown->SetWidth(WorkArea.Width());
  if (X + DropDown->Width() > WorkArea.Right) {
    X = WorkArea.Right - DropDown->Width();
    DropDown->Perform(WM_DROPDOWNSIDEX, sideLeftX);
  } else if (X < WorkArea.Left) {
    X = WorkArea.Left;
    DropDown->Perform(WM_DROPDOWNSIDEX, sideRightX);
  } else {
    DropDown->Perform(WM_DROPDOWNSIDEX, Align == 1 ? sideLeftX : sideRightX);
  }
  return TPoint(X, Y);
}

void PlaceDropDownAtRect(const TRect& OwnerRect, TControl* DropDown, Integer Align, TPoint& TopLeft) {
  const TPoint Centre((OwnerRect.Left + OwnerRect.Right) / 2, (OwnerRect.Top + OwnerRect.Bottom) / 2);
  TopLeft = PlaceDropDownInWorkArea(OwnerRect, DropDown, Align, Screen->MonitorWorkAreaAt(Centre));
}

void PlaceDropDownAtControl(TControl* OwnerControl, TControl* DropDown, Integer Align, TPoint& TopLeft) {
  TRect R = OwnerControl->BoundsRect();
  if (TWinControl* Parent = OwnerControl->Parent()) {
    const TPoint Origin = Parent->ClientToScreen(TPoint(0, 0));
    OffsetRect(R, Origin.X, Origin.Y);
  }
  PlaceDropDownAtRect(R, DropDown, Align, TopLeft);
}
