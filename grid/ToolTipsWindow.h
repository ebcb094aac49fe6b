#pragma once
// The window of tool-tips that show a clipped text in full (a grid cell's, an edit's): a hint
// window that measures and draws its text in the font handed with the hint (the font of the
// cell or edit it stands for) in the window-text colour.
#include "platform/ui/Hints.h"

class TToolTipsWindow : public THintWindow {
public:
  explicit TToolTipsWindow(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TToolTipsWindow"); }
  // Data is the TFont to use, or nullptr for the window's own font.
  TRect CalcHintRect(Integer MaxWidth, const String& Hint, void* Data) override;
};
