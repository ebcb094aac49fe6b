#include "grid/SizeGripX.h"
#include "platform/ui/Forms.h"
#include "platform/ui/SystemColors.h"

TSizeGripX::TSizeGripX(TComponent* AOwner) : TCustomControl(AOwner) {
  TControlStyle Style = ControlStyle();
  Style.Include(csReplicatable);
  Style.Include(csCaptureMouse);
  SetControlStyle(Style);
  SetBounds(0, 0, GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYVSCROLL));
  SetColor(clBtnFace);
  SetCursor(crSizeNWSE);
}

void TSizeGripX::SetCorner(Integer Value) {
  if (Value == FCorner) return;
  FCorner = Value;
  if (HandleAllocated()) RecreateWnd();
  else MoveToCorner();
}

void TSizeGripX::SetTriangular(bool Value) {
  if (Value == FTriangular) return;
  FTriangular = Value;
  UpdateRegion();
}

void TSizeGripX::CreateHandle() {
  TCustomControl::CreateHandle();
  UpdateRegion();
}

TRegion TSizeGripX::GripRegion() const {
  if (!FTriangular) return TRegion();
  const Integer W = Width(), H = Height();
  std::vector<TPoint> Points;
  switch (FCorner) {
    case 0: Points = {{W - 1, 0}, {0, 0}, {0, H - 1}}; break;
    case 1: Points = {{W, H - 1}, {W, 0}, {1, 0}}; break;
    case 3: Points = {{W, H}, {0, H}, {0, 0}}; break;
    default: Points = {{0, H}, {W, H}, {W, 0}}; break;
  }
  return TRegion::Polygon(Points, fmWinding);
}

void TSizeGripX::UpdateRegion() {
  if (!HandleAllocated()) return;
  const TRegion Region = GripRegion();
  SetWindowRgn(FTriangular ? &Region : nullptr);
  MoveToCorner();
  SetCursor(FCorner == 0 || FCorner == 2 ? crSizeNWSE : crSizeNESW);
}

void TSizeGripX::MoveToCorner() {
  TWinControl* Popup = Parent();
  if (!Popup) return;
  FMovingItself = true;
  const Integer CW = Popup->ClientWidth(), CH = Popup->ClientHeight();
  switch (FCorner) {
    case 0: SetBounds(0, 0, Width(), Height()); break;
    case 1: SetBounds(CW - Width(), 0, Width(), Height()); break;
    case 3: SetBounds(0, CH - Height(), Width(), Height()); break;
    default: SetBounds(CW - Width(), CH - Height(), Width(), Height()); break;
  }
  FMovingItself = false;
}

void TSizeGripX::FlipToSide(Integer Side) {
  static const Integer Flip[4][4] = {
      {0, 0, 3, 3},  // left: right-hand corners move left
      {1, 1, 2, 2},  // right
      {0, 1, 1, 0},  // top
      {3, 2, 2, 3},  // bottom
  };
  if (Side < 0 || Side > 3) return;
  SetCorner(Flip[Side][FCorner]);
}

void TSizeGripX::ShowGrip(bool Show) {
  if (HandleAllocated()) Handle()->setVisible(Show);
}

void TSizeGripX::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_MOVE && !FMovingItself) {
    TCustomControl::Dispatch(Message);
    MoveToCorner();
    return;
  }
  TCustomControl::Dispatch(Message);
}

void TSizeGripX::Paint() {
  TCanvas* C = Canvas();
  const Integer W = Width(), H = Height();
  C->Brush()->SetColor(clBtnFace);
  C->FillRect(TRect(0, 0, W, H));
  const TColor Colors[4] = {clBtnHighlight, clBtnShadow, clBtnShadow, clBtnFace};
  // Lines parallel to the hypotenuse, a group starting every four pixels from the corner.
  for (Integer Start = 1; Start < W; Start += 4)
    for (Integer I = 0; I < 4 && Start + I < W; ++I) {
      const Integer D = Start + I;
      C->Pen()->SetColor(Colors[I]);
      switch (FCorner) {
        case 0: C->MoveTo(D, 0); C->LineTo(-1, D + 1); break;
        case 1: C->MoveTo(W - 1 - D, 0); C->LineTo(W, D + 1); break;
        case 3: C->MoveTo(D, H - 1); C->LineTo(-1, H - 2 - D); break;
        default: C->MoveTo(W - 1 - D, H - 1); C->LineTo(W, H - 2 - D); break;
      }
    }
}

void TSizeGripX::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  TWinControl* Popup = Parent();
  if (Button != mbLeft || !Popup) return;
  FDragging = true;
  FDownPos = FLastPos = ClientToScreen(TPoint(X, Y));
  FDownClientWidth = Popup->ClientWidth();
  FDownClientHeight = Popup->ClientHeight();
  FDownWidth = Popup->Width();
  FDownHeight = Popup->Height();
}

void TSizeGripX::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  TWinControl* Popup = Parent();
  if (!FDragging || !Shift.Contains(ssLeft) || FMovingItself || !Popup) return;
  const TPoint P = ClientToScreen(TPoint(X, Y));
  if (P == FLastPos) return;
  const TRect Work = Screen->WorkAreaRect();
  const Integer OldCW = Popup->ClientWidth(), OldCH = Popup->ClientHeight();
  if (FCorner == 1 || FCorner == 2) {
    Integer CW = FDownClientWidth + (P.X - FDownPos.X);
    const Integer Excess = Popup->Left() + CW + (Popup->Width() - OldCW) - Work.Right;
    if (Excess > 0) CW -= Excess;
    Popup->SetClientWidth(CW);
  } else {
    Integer W = FDownWidth + (FDownPos.X - P.X);
    const Integer Right = Popup->Left() + Popup->Width();
    if (Right - W < Work.Left) W = Right - Work.Left;
    Popup->SetBounds(Right - W, Popup->Top(), W, Popup->Height());
  }
  if (FCorner == 0 || FCorner == 1) {
    Integer H = FDownHeight + (FDownPos.Y - P.Y);
    const Integer Bottom = Popup->Top() + Popup->Height();
    if (Bottom - H < Work.Top) H = Bottom - Work.Top;
    Popup->SetBounds(Popup->Left(), Bottom - H, Popup->Width(), H);
  } else {
    Integer CH = FDownClientHeight + (P.Y - FDownPos.Y);
    const Integer Excess = Popup->Top() + CH + (Popup->Height() - OldCH) - Work.Bottom;
    if (Excess > 0) CH -= Excess;
    Popup->SetClientHeight(CH);
  }
  FLastPos = P;
  if (Popup->ClientWidth() != OldCW || Popup->ClientHeight() != OldCH) NotifyParentResized();
  MoveToCorner();
}

void TSizeGripX::NotifyParentResized() {
  if (OnParentResized) OnParentResized(this);
}
