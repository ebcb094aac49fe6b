#include "grid/ToolTipsWindow.h"
#include "platform/ui/DrawingRoutines.h"

TRect TToolTipsWindow::CalcHintRect(Integer MaxWidth, const String& Hint, void* Data) {
  if (Data) Font()->Assign(static_cast<TFont*>(Data));
  return THintWindow::CalcHintRect(MaxWidth, Hint, Data);
}

void TToolTipsWindow::Paint() {
  TCanvas* c = Canvas();
  c->Font()->Assign(Font());
  c->Font()->SetColor(clWindowText);
  c->Brush()->SetColor(Color());
  c->FillRect(ClientRect());
  TRect r = ClientRect();
  r.Left += 2;
  r.Top += 1;
  c->Brush()->SetStyle(bsClear);
  DrawText(c, Caption(), r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}
