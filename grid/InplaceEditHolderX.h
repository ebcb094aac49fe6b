#pragma once
// The two sides of hosting an edit control inside another control (the data-aware grid's
// filter row): the holder sees the edit's messages and keys before the edit does, and the
// edit lets a host configure it without knowing its class.
#include "platform/ui/Controls.h"

class IInplaceEditHolderX {
public:
  virtual ~IInplaceEditHolderX() = default;
  // Asked only when the edit would otherwise be editable; false makes it read-only.
  virtual bool AllowEditorChange(TControl* Edit) = 0;
  // The screen point and message time of the holder's last left mouse-down; a time of 0
  // means none.
  virtual void LastMouseDown(TPoint& ScreenPos, Cardinal& Time) = 0;
  // Sees every message of the edit first; a non-zero Result stops the edit's own handling.
  virtual void PreviewEditorMessage(TControl* Edit, TMessage& Message) = 0;
  // See each key of the edit first; a key set to 0 stops the edit's handling.
  virtual void HolderKeyDown(TControl* Edit, Word& Key, TShiftState Shift) = 0;
  virtual void HolderKeyPress(TControl* Edit, QChar& Key) = 0;
  virtual void HolderKeyUp(TControl* Edit, Word& Key, TShiftState Shift) = 0;
};

class IHostedEditX {
public:
  virtual ~IHostedEditX() = default;
  virtual TFont* GetFont() = 0;
  // nullptr leaves in-place mode; a holder without IInplaceEditHolderX is refused.
  virtual void SetHolder(TWinControl* Holder) = 0;
  virtual void SetBorderStyle(TBorderStyle Value) = 0;
  virtual void SetFont(TFont* Value) = 0;
  virtual void SetColor(TColor Value) = 0;
  virtual void SetOnKeyPress(const TKeyPressEvent& Value) = 0;
  virtual void SetOnExit(const TNotifyEvent& Value) = 0;
};
