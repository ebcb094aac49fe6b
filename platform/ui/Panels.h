#pragma once
// Containers and decorations the layer draws itself: panels, bevels, shapes, images,
// splitters and radio groups.
#include "platform/ui/StdCtrls.h"

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
// The bevel a windowed control draws inside its frame.
enum TBevelKind { bkNone, bkTile, bkSoft, bkFlat };
enum TBevelEdge { beLeft, beTop, beRight, beBottom };
using TBevelEdges = TSet<TBevelEdge>;
using TBevelWidth = Integer;
using TPanelBevel = TBevelCut;

class TCustomPanel : public TCustomControl {
public:
  explicit TCustomPanel(TComponent* AOwner);
  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut Value);
  TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut Value);
  Integer BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(Integer Value);
  Integer BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(Integer Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  // Whether the parent's colour shows through instead of Color.
  bool ParentBackground() const { return FParentBackground; }
  void SetParentBackground(bool Value);
  void Dispatch(TMessage& Message) override;
protected:
  void AdjustClientRect(TRect& Rect) override;
  void Paint() override;
private:
  Integer FrameWidth() const;
  TBevelCut FBevelOuter = bvRaised;
  TBevelCut FBevelInner = bvNone;
  Integer FBevelWidth = 1;
  Integer FBorderWidth = 0;
  TAlignment FAlignment = taCenter;
  bool FParentBackground = false;
};

class TPanel : public TCustomPanel {
public:
  using TCustomPanel::TCustomPanel;
  String ClassName() const override { return QStringLiteral("TPanel"); }
};

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
public:
  explicit TBevel(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TBevel"); }
  TBevelShape Shape() const { return FShape; }
  void SetShape(TBevelShape Value);
  TBevelStyle Style() const { return FStyle; }
  void SetStyle(TBevelStyle Value);
protected:
  void Paint() override;
private:
  TBevelShape FShape = bsBox;
  TBevelStyle FStyle = bsLowered;
};

enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };

class TShape : public TGraphicControl {
public:
  explicit TShape(TComponent* AOwner);
  ~TShape() override;
  String ClassName() const override { return QStringLiteral("TShape"); }
  TShapeType Shape() const { return FShape; }
  void SetShape(TShapeType Value);
  TPen* Pen() const { return FPen.get(); }
  TBrush* Brush() const { return FBrush.get(); }
protected:
  void Paint() override;
private:
  TShapeType FShape = stRectangle;
  std::unique_ptr<TPen> FPen;
  std::unique_ptr<TBrush> FBrush;
};

class TImage : public TGraphicControl {
public:
  explicit TImage(TComponent* AOwner);
  ~TImage() override;
  String ClassName() const override { return QStringLiteral("TImage"); }
  TPicture* Picture() const { return FPicture.get(); }
  void SetPicture(TPicture* Value) { FPicture->Assign(Value); }
  bool Stretch() const { return FStretch; }
  void SetStretch(bool Value);
  bool Center() const { return FCenter; }
  void SetCenter(bool Value);
  // Stretching keeps the picture's proportions.
  bool Proportional() const { return FProportional; }
  void SetProportional(bool Value);
  // The control takes the picture's size.
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value);
  // Where the picture is drawn inside the client area.
  TRect DestRect() const;
protected:
  void Paint() override;
private:
  void PictureChanged();
  std::unique_ptr<TPicture> FPicture;
  bool FStretch = false;
  bool FCenter = false;
  bool FProportional = false;
  bool FAutoSize = false;
};

using TCanResizeEvent = std::function<void(TObject* Sender, Integer& NewSize, bool& Accept)>;

// Dragging the splitter resizes the control it is aligned against.
class TSplitter : public TGraphicControl {
public:
  explicit TSplitter(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TSplitter"); }
  Integer MinSize() const { return FMinSize; }
  void SetMinSize(Integer Value) { FMinSize = std::max<Integer>(1, Value); }
  // The control being resized, or nullptr when none adjoins the splitter.
  TControl* ResizeControl() const;
  TCanResizeEvent OnCanResize;
  TNotifyEvent OnMoved;
protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
private:
  bool Horizontal() const { return Align() == alTop || Align() == alBottom; }
  TControl* FControl = nullptr;
  TPoint FDownPos;
  Integer FStartSize = 0;
  Integer FMinSize = 30;
};

// A group box with one radio button per item; ItemIndex is the checked one.
class TCustomRadioGroup : public TCustomGroupBox {
public:
  explicit TCustomRadioGroup(TComponent* AOwner);
  ~TCustomRadioGroup() override;
  TStrings* Items() const;
  void SetItems(TStrings* Value);
  Integer ItemIndex() const { return FItemIndex; }
  void SetItemIndex(Integer Value);
  Integer Columns() const { return FColumns; }
  void SetColumns(Integer Value);
  // The button of item Index.
  TRadioButton* Buttons(Integer Index) const { return FButtons.at(size_t(Index)); }
  void Dispatch(TMessage& Message) override;
protected:
  void Resize() override;
private:
  void UpdateButtons();
  void ArrangeButtons();
  void ButtonClicked(TRadioButton* Button);
  std::unique_ptr<TStringList> FItems;
  std::vector<TRadioButton*> FButtons;
  Integer FItemIndex = -1;
  Integer FColumns = 1;
  bool FUpdating = false;
};

class TRadioGroup : public TCustomRadioGroup {
public:
  using TCustomRadioGroup::TCustomRadioGroup;
  String ClassName() const override { return QStringLiteral("TRadioGroup"); }
};
