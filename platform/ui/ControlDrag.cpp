// Dragging inside the application: the source control keeps the mouse while its button is
// held; the control under the pointer is asked whether it accepts (DragOver), gets the drop
// (DragDrop) at the release, and the source hears how it ended (OnEndDrag, with no target when
// nothing accepted or Escape cancelled).
#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/SystemColors.h"
#include <cstdlib>

namespace {

struct TDragRun {
  TControl* Source = nullptr;
  bool Started = false;
  TPoint Start;      // screen
  TPoint Last;       // screen
  Integer Threshold = 0;
  TControl* Target = nullptr;
  bool Accepted = false;
};

TDragRun& Run() {
  static TDragRun run;
  return run;
}

// The screen point of the last mouse message any control saw; a pending drag measures its
// distance from there.
TPoint& LastMousePoint() {
  static TPoint point;
  return point;
}

TControl* ControlUnder(TPoint Screen) {
  if (!::Screen) return nullptr;
  for (Integer i = ::Screen->FormCount() - 1; i >= 0; --i) {
    TWinControl* container = ::Screen->Forms(i);
    if (!container->Showing()) continue;
    TPoint local = container->ScreenToClient(Screen);
    if (!PtInRect(container->ClientRect(), local)) continue;
    TControl* found = container;
    while (container) {
      TControl* child = container->ControlAtPos(local, false, true);
      if (!child) break;
      found = child;
      container = dynamic_cast<TWinControl*>(child);
      if (container) local = container->ScreenToClient(Screen);
    }
    return found;
  }
  return nullptr;
}

void ShowDragCursor(bool Accepted) {
  if (::Screen) ::Screen->SetCursor(Accepted ? crDrag : crNoDrop);
}

void MoveDragTo(TPoint Screen) {
  TDragRun& run = Run();
  run.Last = Screen;
  TControl* target = ControlUnder(Screen);
  if (target != run.Target && run.Target) {
    const TPoint p = run.Target->ScreenToClient(Screen);
    bool accept = false;
    run.Target->DragOver(run.Source, p.X, p.Y, dsDragLeave, accept);
  }
  bool accept = false;
  if (target) {
    const TPoint p = target->ScreenToClient(Screen);
    target->DragOver(run.Source, p.X, p.Y, target == run.Target ? dsDragMove : dsDragEnter, accept);
  }
  run.Target = target;
  run.Accepted = target && accept;
  ShowDragCursor(run.Accepted);
}

}  // namespace

void TControl::StartDragging() {
  TDragRun& run = Run();
  run.Started = true;
  DoStartDrag();
  MoveDragTo(run.Last);
}

bool TControl::Dragging() const { return Run().Source == this; }

void TControl::BeginDrag(bool Immediate, Integer Threshold) {
  TDragRun& run = Run();
  if (run.Source) return;
  run = TDragRun();
  run.Source = this;
  run.Start = LastMousePoint();
  run.Last = run.Start;
  run.Threshold = Threshold >= 0 ? Threshold : GetSystemMetrics(SM_CXDRAG);
  SetMouseCapture(true);
  if (Immediate) StartDragging();
}

void TControl::EndDrag(bool Drop) {
  TDragRun& run = Run();
  if (run.Source != this) return;
  const TDragRun ended = run;
  run = TDragRun();
  if (MouseCapture()) SetMouseCapture(false);
  if (!ended.Started) return;
  if (::Screen) ::Screen->SetCursor(crDefault);
  TControl* target = Drop && ended.Accepted ? ended.Target : nullptr;
  const TPoint at = target ? target->ScreenToClient(ended.Last) : ScreenToClient(ended.Last);
  if (target) target->DragDrop(this, at.X, at.Y);
  else if (ended.Target) {
    const TPoint p = ended.Target->ScreenToClient(ended.Last);
    bool accept = false;
    ended.Target->DragOver(this, p.X, p.Y, dsDragLeave, accept);
  }
  DoEndDrag(target, at.X, at.Y);
}

void TControl::DoStartDrag() {
  if (OnStartDrag) OnStartDrag(this);
}

void TControl::DoEndDrag(TObject* Target, Integer X, Integer Y) {
  if (OnEndDrag) OnEndDrag(this, Target, X, Y);
}

void TControl::DragOver(TObject* Source, Integer X, Integer Y, TDragState State, bool& Accept) {
  Accept = bool(OnDragOver);
  if (OnDragOver) OnDragOver(this, Source, X, Y, State, Accept);
}

void TControl::DragDrop(TObject* Source, Integer X, Integer Y) {
  if (OnDragDrop) OnDragDrop(this, Source, X, Y);
}

// A running drag takes the source's mouse messages and Escape; true when the message was used.
bool TControl::DragMessage(TMessage& Message) {
  const bool mouse = Message.Msg == WM_MOUSEMOVE || Message.Msg == WM_LBUTTONDOWN ||
                     Message.Msg == WM_LBUTTONDBLCLK || Message.Msg == WM_LBUTTONUP;
  if (mouse) LastMousePoint() = ClientToScreen(TWMMouse{Message}.Pos());
  TDragRun& run = Run();
  if (run.Source != this) return false;
  switch (Message.Msg) {
    case WM_MOUSEMOVE: {
      const TPoint p = LastMousePoint();
      run.Last = p;
      if (!run.Started) {
        if (std::abs(p.X - run.Start.X) < run.Threshold && std::abs(p.Y - run.Start.Y) < run.Threshold) return true;
        StartDragging();
      } else {
        MoveDragTo(p);
      }
      return true;
    }
    case WM_LBUTTONUP:
      if (!run.Started) {
        // Released before the threshold: no drag, the click goes on.
        EndDrag(false);
        return false;
      }
      EndDrag(true);
      return true;
    case WM_KEYDOWN:
      if (Message.WParam != VK_ESCAPE || !run.Started) return false;
      EndDrag(false);
      return true;
    case WM_CANCELMODE:
    case CM_CANCELMODE: EndDrag(false); return false;
    default: return false;
  }
}

void TControl::ForgetDrag() {
  TDragRun& run = Run();
  if (run.Target == this) {
    run.Target = nullptr;
    run.Accepted = false;
  }
  if (run.Source == this) run = TDragRun();
}
