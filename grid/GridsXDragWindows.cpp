// The floating windows that show drags over a grid: the dragged title image and the
// insertion mark of a column move.
#include "grid/GridsX.h"
#include "platform/ui/Forms.h"
#include <QWidget>

namespace {
constexpr TColor MarkColor = clRed;
constexpr Integer MarkSize = 7;
// The mark's line passes 3 pixels into the window and starts 4 pixels before Point.
constexpr TPoint MarkOffset{3, 4};
}  // namespace

TGridDragWinX::TGridDragWinX(TComponent* AOwner) : TCustomControl(AOwner) {
  SetColor(cl3DDkShadow);
  SetBorderStyle(bsNone);
  SetVisible(false);
}

void TGridDragWinX::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP;
  Params.WindowClassStyle |= CS_SAVEBITS;
  Params.ExStyle |= WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_LAYERED;
  if (UseRightToLeftReading()) Params.ExStyle |= WS_EX_RTLREADING;
}

void TGridDragWinX::CreateHandle() {
  TCustomControl::CreateHandle();
  ApplyLayering();
}

void TGridDragWinX::ApplyLayering() {
  if (!HandleAllocated() || ComponentState().Contains(csDesigning)) return;
  Handle()->setWindowOpacity(FAlphaBlendValue / 255.0);
  UpdateShape();
}

void TGridDragWinX::SetAlphaBlendValue(Byte Value) {
  FAlphaBlendValue = Value;
  ApplyLayering();
}

void TGridDragWinX::SetTransparentColorValue(TColor Value) {
  FTransparentColorValue = Value;
  ApplyLayering();
}

void TGridDragWinX::Paint() {
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(ClientRect());
}

void TGridDragWinX::MoveToPoint(TControl* Control, TPoint Point) {
  const TPoint p = Control->ClientToScreen(Point);
  SetBounds(p.X, p.Y, Width(), Height());
}

void TGridDragWinX::SetBoundsAt(TControl* Control, TPoint Point, Integer AWidth, Integer AHeight) {
  const TPoint p = Control->ClientToScreen(Point);
  SetBounds(p.X, p.Y, AWidth, AHeight);
}

void TGridDragWinX::ShowAt(TControl* Control, TPoint Point, Integer AWidth, Integer AHeight) {
  SetBoundsAt(Control, Point, AWidth, AHeight);
  Show();
  if (HandleAllocated()) Handle()->raise();
}

void TGridDragWinX::ShowAtHeight(TControl* Control, TPoint Point, Integer AHeight) {
  ShowAt(Control, Point, Width(), AHeight);
}

// ---- the insertion mark

TGridMoveLineX::TGridMoveLineX(TComponent* AOwner) : TGridDragWinX(AOwner) {
  SetColor(clWhite);
  SetBounds(0, 0, MarkSize, MarkSize);
  SetAlphaBlendValue(255);
  SetTransparentColorValue(clWhite);
}

std::vector<TRect> TGridMoveLineX::Shapes() const {
  const Integer w = Width(), h = Height();
  if (FIsVertical)
    return {Bounds(0, 0, 7, 1),     Bounds(1, 1, 5, 1),     Bounds(2, 2, 3, 1),    Bounds(3, 3, 1, h - 6),
            Bounds(2, h - 3, 3, 1), Bounds(1, h - 2, 5, 1), Bounds(0, h - 1, 7, 1)};
  return {Bounds(0, 0, 1, 7),     Bounds(1, 1, 1, 5),     Bounds(2, 2, 1, 3),    Bounds(3, 3, w - 6, 1),
          Bounds(w - 3, 2, 1, 3), Bounds(w - 2, 1, 1, 5), Bounds(w - 1, 0, 1, 7)};
}

void TGridMoveLineX::Paint() {
  TGridDragWinX::Paint();
  Canvas()->Brush()->SetColor(MarkColor);
  for (const TRect& r : Shapes()) Canvas()->FillRect(r);
}

void TGridMoveLineX::Resize() {
  TGridDragWinX::Resize();
  UpdateShape();
}

// The window's white is its transparent colour: only the shapes remain.
void TGridMoveLineX::UpdateShape() {
  if (!HandleAllocated() || TransparentColorValue() == clNone) return;
  TRegion shape;
  for (const TRect& r : Shapes()) shape.Combine(shape, TRegion(r), RGN_OR);
  SetWindowRgn(&shape);
}

void TGridMoveLineX::ShowMoveLine(TControl* Control, TPoint Point, bool IsVertical, Integer Length) {
  FIsVertical = IsVertical;
  const TPoint at{Point.X - MarkOffset.X, Point.Y - MarkOffset.Y};
  if (IsVertical) ShowAt(Control, at, MarkSize, Length + 8);
  else ShowAt(Control, at, Length + 8, MarkSize);
  UpdateShape();
  Invalidate();
}

void TGridMoveLineX::MoveToPoint(TControl* Control, TPoint Point) {
  TGridDragWinX::MoveToPoint(Control, {Point.X - MarkOffset.X, Point.Y - MarkOffset.Y});
}

// ---- the application's instances

TGridDragBoxX* GetGridDragBox() {
  static TGridDragBoxX* box = new TGridDragBoxX(Application);
  return box;
}

TGridMoveLineX* GetGridMoveLine() {
  static TGridMoveLineX* line = new TGridMoveLineX(Application);
  return line;
}
