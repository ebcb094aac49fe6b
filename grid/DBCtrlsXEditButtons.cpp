#include "grid/ButtonFacesX.h"
#include "grid/DBCtrlsX.h"
#include "grid/MRUListX.h"
#include "platform/ui/Menus.h"
#include "platform/ui/SystemColors.h"
#include <cmath>

TEditButtonControlX* TCustomDBEditX::ButtonControl(Integer Index) const {
  return Index >= 0 && Index < Integer(FButtonControls.size()) ? FButtonControls[size_t(Index)] : nullptr;
}

void TCustomDBEditX::SetFlat(bool Value) {
  if (Value == FFlat) return;
  FFlat = Value;
  ButtonsChanged();
}

void TCustomDBEditX::ButtonsChanged() {
  if (!HandleAllocated()) return;
  LayoutButtonControls();
  SyncButtonControls();
  ApplyTextArea();
  Invalidate();
}

void TCustomDBEditX::CreateHandle() {
  TCustomMaskEdit::CreateHandle();
  LayoutButtonControls();
  SyncButtonControls();
  ApplyTextArea();
}

TRect TCustomDBEditX::ButtonsRect() const {
  const TRect client = ClientRect();
  return TRect(client.Width() - FButtonAreaWidth, 0, client.Width(), client.Height());
}

TRect TCustomDBEditX::TextAreaRect() const {
  const TRect client = ClientRect();
  return TRect(0, 0, client.Width() - FButtonAreaWidth, client.Height());
}

void TCustomDBEditX::ApplyTextArea() {
  TRect area = TextAreaRect();
  Perform(EM_SETRECTNP, 0, LPARAM(&area));
  Perform(EM_SCROLLCARET);
}

void TCustomDBEditX::LayoutButtonControls() {
  const size_t count = size_t(FEditButtons->Count()) + 1;
  while (FButtonControls.size() > count) {
    delete FButtonControls.back();
    FButtonControls.pop_back();
  }
  while (FButtonControls.size() < count) {
    auto* control = new TEditButtonControlX(this);
    control->SetBounds(0, 0, 10, 17);
    control->SetParent(this);
    FButtonControls.push_back(control);
  }
  const TRect area = ButtonsRect();
  const Integer available = ClientHeight();
  Integer height = available;
  std::vector<Integer> widths(count);
  for (size_t i = 0; i < count; ++i) {
    TEditButtonX* button = i == 0 ? FEditButton.get() : FEditButtons->GetButton(Integer(i) - 1);
    TEditButtonControlX* control = FButtonControls[i];
    control->SetVisible(button->Visible());
    control->SetEnabled(button->Enabled());
    control->SetStyle(button->Style());
    control->SetFlat(FFlat);
    control->SetHint(button->Hint());
    control->Glyph()->Assign(button->Glyph());
    widths[i] = !button->Visible()    ? 0
                : button->Width() > 0 ? button->Width()
                : FFlat               ? FlatButtonWidth
                                      : GetSystemMetrics(SM_CXVSCROLL);
    control->SetTag(Int64(i));
    control->OnDown = [this](TObject* Sender, bool Top, bool& AutoRepeat, bool& Handled) {
      ButtonPressed(Sender, Top, AutoRepeat, Handled);
    };
    control->OnClick = [this](TObject* Sender) { ButtonClicked(Sender); };
    control->OnMouseUp = [this](TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
      ButtonReleased(Sender, Button, Shift, X, Y);
    };
    // A tall edit keeps its buttons at their natural proportions.
    if (button->Visible() && available > Integer(std::lround(widths[i] * 3.0 / 2)))
      height = std::min(height, EditButtonHeightForWidth(widths[i], FFlat));
  }
  Integer right = ClientWidth();
  for (size_t i = count; i-- > 0;) {
    FButtonControls[i]->SetBounds(right - widths[i], area.Top, widths[i], height);
    right -= widths[i];
  }
  FButtonAreaWidth = ClientWidth() - right;
}

void TCustomDBEditX::SyncButtonControls() {
  for (size_t i = 0; i < FButtonControls.size(); ++i) {
    const TEditButtonX* button = i == 0 ? FEditButton.get() : FEditButtons->GetButton(Integer(i) - 1);
    FButtonControls[i]->SetEnabled(button->Enabled() && CanUseButtons());
    FButtonControls[i]->SetActive(Focused());
  }
}

bool TCustomDBEditX::PressButtonByShortCut(Word Key, TShiftState Shift) {
  const TShortCut pressed = ShortCut(Key, Shift);
  for (size_t i = 0; i < FButtonControls.size(); ++i) {
    const TEditButtonX* button = i == 0 ? FEditButton.get() : FEditButtons->GetButton(Integer(i) - 1);
    if (button->ShortCut() == 0 || button->ShortCut() != pressed) continue;
    bool autoRepeat = false;
    FButtonControls[i]->DoButtonDown(false, autoRepeat);
    ButtonClicked(FButtonControls[i]);
    return true;
  }
  return false;
}

void TCustomDBEditX::ButtonPressed(TObject* Sender, bool TopButton, bool& AutoRepeat, bool& Handled) {
  if (CanFocus()) SetFocus();
  Handled = false;
  if (Sender == ButtonControl(0)) {
    if (OnButtonDown) OnButtonDown(this, TopButton, AutoRepeat, Handled);
    if (Handled) return;
    // A button held down by its open drop-down sends no click: pressing it again closes it.
    if (FDroppedDown) {
      FNoClickCloseUp = false;
      FinishDropDown(false);
    } else {
      EditButtonAction(!TopButton);
    }
    return;
  }
  const auto it = std::find(FButtonControls.begin(), FButtonControls.end(), Sender);
  if (it == FButtonControls.end()) return;
  TEditButtonX* button = FEditButtons->GetButton(Integer(it - FButtonControls.begin()) - 1);
  if (button->OnDown) button->OnDown(this, TopButton, AutoRepeat, Handled);
  if (!Handled) PopupEditButtonMenu(button, *it);
}

void TCustomDBEditX::ButtonClicked(TObject* Sender) {
  bool handled = false;
  const bool main = Sender == ButtonControl(0);
  if (main) {
    FEditButton->PerformClick(this, handled);
    if (!handled && OnButtonClick) OnButtonClick(this, handled);
  } else {
    const auto it = std::find(FButtonControls.begin(), FButtonControls.end(), Sender);
    if (it != FButtonControls.end())
      FEditButtons->GetButton(Integer(it - FButtonControls.begin()) - 1)->PerformClick(this, handled);
  }
  // The click that follows the press which opened the drop-down must not close it again.
  if (main && !handled && FDroppedDown && !FNoClickCloseUp) FinishDropDown(false);
  FNoClickCloseUp = false;
}

void TCustomDBEditX::ButtonReleased(TObject* Sender, TMouseButton, TShiftState, Integer X, Integer Y) {
  const auto* control = dynamic_cast<const TControl*>(Sender);
  if (control && !(X >= 0 && X < control->ClientWidth() && Y >= 0 && Y <= control->ClientHeight()))
    FNoClickCloseUp = false;
}

void TCustomDBEditX::EditButtonAction(bool Down) {
  const TEditButtonStyleX style = FEditButton->Style();
  if (style == ebsUpDownX || style == ebsAltUpDownX) {
    if (!FReadOnly && CanStepByUser() && FDataLink->BeginValueEdit()) StepByUser(!Down);
    return;
  }
  if (FDroppedDown) return;
  OpenDropDown();
  FNoClickCloseUp = true;
}

void TCustomDBEditX::OpenDropDown() {
  if (TEditButtonControlX* control = ButtonControl(0)) control->SetHoldDown(true);
  FMRUList->FireCloseUp(false);
}

void TCustomDBEditX::FinishDropDown(bool) {
  if (TEditButtonControlX* control = ButtonControl(0)) control->SetHoldDown(false);
}
