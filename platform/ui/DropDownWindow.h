#pragma once
// The top-level window of a drop-down: frameless, above its owner's window, and never
// taking the focus, so the owner keeps the keyboard while it is open.
#include "platform/ui/Controls.h"

class TDropDownWindow : public TCustomControl {
public:
  explicit TDropDownWindow(TComponent* AOwner);
  // Shows the window at its bounds (screen coordinates); the active window stays active.
  void DropDown();
  void CloseUp();
  bool DroppedDown() const { return Visible(); }
protected:
  void CreateParams(TCreateParams& Params) override;
};
