#pragma once
// Objects of a skinned frame that the mouse drives: the caption buttons. They share one
// state machine (normal, pressed, hot) with the form's one hot object.
#include "platform/rtl/Types.h"

class TSkinForm;
class TDataSkinSysButton;

class TNCObject {
public:
  enum TState { stNormal = 1, stPressed = 2, stHot = 3 };
  explicit TNCObject(TSkinForm* Form) : FForm(Form) {}
  virtual ~TNCObject() = default;

  // The other hot object leaves; this one becomes hot and pressed.
  virtual void Press();
  virtual void Release();
  virtual void Hover();
  virtual void Leave();
  virtual void Paint() {}

  TSkinForm* Form() const { return FForm; }
  TRect Rect;  // window coordinates
  bool Visible = false;
  Integer State = stNormal;

private:
  TSkinForm* FForm;
};

class TWinSysButton : public TNCObject {
public:
  TWinSysButton(TSkinForm* Form, TDataSkinSysButton* Button) : TNCObject(Form), SkinButton(Button) {}
  // Repaints the button in its state.
  void Paint() override;
  TDataSkinSysButton* SkinButton;
};
