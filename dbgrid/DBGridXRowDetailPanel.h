#pragma once
// The row detail panel: a child control of the grid opened under the current record, and
// its settings.
#include "platform/ui/Panels.h"
#include "platform/ui/ScrollingWinControl.h"
#include <functional>

class TCustomDBGridX;

// The control the panel's contents sit on; the grid makes it, named "RowDetailData".
class TRowDetailPanelControlX : public TScrollingWinControl {
public:
  explicit TRowDetailPanelControlX(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TRowDetailPanelControlX"); }
  // Ctrl+Up in any control on the panel gives the focus back to the grid.
  void Dispatch(TMessage& Message) override;
};

class TRowDetailPanelX : public TPersistent {
public:
  explicit TRowDetailPanelX(TCustomDBGridX* Grid);
  String ClassName() const override { return QStringLiteral("TRowDetailPanelX"); }
  // Copies Active only.
  void Assign(TPersistent* Source) override;

  bool Active() const { return FActive; }
  void SetActive(bool Value);
  bool Shown() const { return FShown; }
  // Opens or closes the panel under the current record; the grid's show and hide events may
  // refuse, and an empty or closed data set never opens it.
  void SetShown(bool Show);
  Integer Width() const { return FWidth; }
  void SetWidth(Integer Value);
  Integer Height() const { return FHeight; }
  void SetHeight(Integer Value);
  TWinControl* ActiveControl() const { return FActiveControl; }
  // The grid learns when the control goes, and forgets it then.
  void SetActiveControl(TWinControl* Value);
  TBevelEdges BevelEdges() const { return FBevelEdges; }
  void SetBevelEdges(TBevelEdges Value);
  TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut Value);
  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut Value);
  TBevelKind BevelKind() const { return FBevelKind; }
  void SetBevelKind(TBevelKind Value);
  TBevelWidth BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(TBevelWidth Value);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  TColor Color() const;
  void SetColor(TColor Value);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool Value);

private:
  template <typename T> void Store(T& Field, T Value);

  TCustomDBGridX* FGrid;
  bool FActive = false;
  bool FShown = false;
  Integer FWidth = 0;
  Integer FHeight = 120;
  TWinControl* FActiveControl = nullptr;
  TBevelEdges FBevelEdges = TBevelEdges{beLeft, beTop, beRight, beBottom};
  TBevelCut FBevelInner = bvRaised;
  TBevelCut FBevelOuter = bvLowered;
  TBevelKind FBevelKind = bkNone;
  TBevelWidth FBevelWidth = 1;
  TBorderStyle FBorderStyle = bsSingle;
  TColor FColor;
  bool FParentColor = false;
};
