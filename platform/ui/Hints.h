#pragma once
// Hints: the small window that shows a control's hint, and what a control may change
// about it when asked with CM_HINTSHOW (LParam points to a THintInfo).
#include "platform/ui/Controls.h"

class THintWindow;
using THintWindowFactory = std::function<THintWindow*()>;

struct THintInfo {
  TControl* HintControl = nullptr;
  THintWindowFactory HintWindowClass;  // a window of the control's own kind, when set
  TPoint HintPos;                      // screen point of the hint's top-left corner
  Integer HintMaxWidth = 0;
  TColor HintColor = clInfoBk;
  TRect CursorRect;                    // client coordinates; the hint stays while the mouse is inside
  TPoint CursorPos;                    // client coordinates
  Integer ReshowTimeout = 0;
  Integer HideTimeout = 0;
  String HintStr;
  void* HintData = nullptr;
};

// A top-level window that never takes the focus, showing one hint in its own font.
class THintWindow : public TCustomControl {
public:
  explicit THintWindow(TComponent* AOwner);
  // Shows Hint in Rect (screen coordinates).
  virtual void ActivateHint(const TRect& Rect, const String& Hint);
  // The size the hint needs, at the origin, wrapped to MaxWidth.
  virtual TRect CalcHintRect(Integer MaxWidth, const String& Hint, void* Data);
  void ReleaseHandle();
protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
};

// The part of a hint before '|'.
String GetShortHint(const String& Hint);
