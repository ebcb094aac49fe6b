#include "grid/ToolTipsWindow.h"

TToolTipsWindow::TToolTipsWindow(TComponent* AOwner) : THintWindow(AOwner) { Font()->SetColor(clWindowText); }

TRect TToolTipsWindow::CalcHintRect(Integer MaxWidth, const String& Hint, void* Data) {
  if (Data) {
    Font()->Assign(static_cast<TFont*>(Data));
    Font()->SetColor(clWindowText);
  }
  return THintWindow::CalcHintRect(MaxWidth, Hint, Data);
}
