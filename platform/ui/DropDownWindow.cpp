#include "platform/ui/DropDownWindow.h"
#include "platform/ui/Forms.h"

TDropDownWindow::TDropDownWindow(TComponent* AOwner) : TCustomControl(AOwner) {
  SetVisible(false);
  SetColor(clWindow);
  SetBorderStyle(bsSingle);
  SetCtl3D(false);
}

void TDropDownWindow::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = (Params.Style & ~WS_CHILD) | WS_POPUP;
  Params.ExStyle |= WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  // Kept above the window of the control that owns the drop-down.
  if (auto* owner = dynamic_cast<TControl*>(Owner())) Params.WndParent = GetParentForm(owner);
}

void TDropDownWindow::DropDown() { Show(); }

void TDropDownWindow::CloseUp() { Hide(); }
