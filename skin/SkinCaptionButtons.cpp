#include "skin/SkinCaptionButtons.h"
#include "skin/SkinForm.h"

void TNCObject::Press() {
  if (FForm->HotObject() && FForm->HotObject() != this) FForm->HotObject()->Leave();
  if (!Visible) return;
  FForm->SetHotObject(this);
  State = stPressed;
  Paint();
}

void TNCObject::Release() {
  if (!Visible) return;
  State = stHot;
  Paint();
}

void TNCObject::Hover() {
  if (FForm->HotObject() == this) return;
  if (FForm->HotObject()) FForm->HotObject()->Leave();
  if (!Visible) return;
  FForm->SetHotObject(this);
  State = stHot;
  Paint();
}

void TNCObject::Leave() {
  if (!Visible) return;
  FForm->SetHotObject(nullptr);
  State = stNormal;
  Paint();
}

void TWinSysButton::Paint() { Form()->InvalidateFrame(); }
