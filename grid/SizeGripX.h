#pragma once
// The corner grip of a drop-down: dragging it resizes the popup within the work area, and
// the popup moves it to the side away from its owner when it is placed.
#include "platform/ui/Controls.h"

class TSizeGripX : public TCustomControl {
public:
  explicit TSizeGripX(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TSizeGripX"); }
  // 0 top-left, 1 top-right, 2 bottom-right, 3 bottom-left.
  Integer Corner() const { return FCorner; }
  void SetCorner(Integer Value);
  // A triangle in the corner answers the mouse, else the whole square.
  bool Triangular() const { return FTriangular; }
  void SetTriangular(bool Value);
  void MoveToCorner();
  // Side 0 left, 1 right, 2 top, 3 bottom; the other half of the corner stays.
  void FlipToSide(Integer Side);
  // Shows or hides the window without changing Visible.
  void ShowGrip(bool Show);
  // The window region for the corner, empty when the whole square counts.
  TRegion GripRegion() const;

  std::function<void(TSizeGripX* Grip)> OnParentResized;

  void Dispatch(TMessage& Message) override;

protected:
  void CreateHandle() override;
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  virtual void NotifyParentResized();

private:
  void UpdateRegion();
  Integer FCorner = 2;
  bool FTriangular = true;
  TPoint FDownPos, FLastPos;
  Integer FDownClientWidth = 0, FDownClientHeight = 0, FDownWidth = 0, FDownHeight = 0;
  bool FMovingItself = false;
  bool FDragging = false;
};
