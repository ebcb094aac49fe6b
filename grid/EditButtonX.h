#pragma once
// The small buttons at the right edge of edits and grid columns (drop-down arrow,
// ellipsis, spin pair, plus, minus, glyph): the button model, its collection, and the
// control that shows one button with pressed halves, auto-repeat and hold-down.
#include "platform/ui/Controls.h"
#include "platform/ui/ExtCtrls.h"
#include <memory>

enum TEditButtonStyleX { ebsDropDownX, ebsEllipsisX, ebsGlyphX, ebsUpDownX, ebsPlusX, ebsMinusX, ebsAltDropDownX,
                         ebsAltUpDownX };

using TButtonClickEventX = std::function<void(TObject* Sender, bool& Handled)>;
using TButtonDownEventX = std::function<void(TObject* Sender, bool TopButton, bool& AutoRepeat, bool& Handled)>;

// The face kind a style is painted as; -1 for the glyph style.
Integer EditButtonFaceKind(TEditButtonStyleX Style);
bool IsTwoHalfStyle(TEditButtonStyleX Style);

class TEditButtonControlX;

class TEditButtonX : public TCollectionItem {
public:
  explicit TEditButtonX(TCollection* Collection);
  // A button owned directly by an edit rather than by a collection.
  explicit TEditButtonX(TWinControl* Edit);
  ~TEditButtonX() override;
  void Assign(TPersistent* Source) override;
  String ClassName() const override { return QStringLiteral("TEditButtonX"); }

  TWinControl* Edit() const { return FEdit; }
  TComponent* DropdownMenu() const { return FDropdownMenu; }
  void SetDropdownMenu(TComponent* Value) { FDropdownMenu = Value; }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  TBitmap* Glyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* Value);
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value);
  // Kept within 1..4.
  Integer NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(Integer Value);
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value) { FShortCut = Value; }
  TEditButtonStyleX Style() const { return FStyle; }
  void SetStyle(TEditButtonStyleX Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  Integer Width() const { return FWidth; }
  void SetWidth(Integer Value);

  // Makes the control that shows this button on the owning edit.
  virtual TEditButtonControlX* MakeButtonControl();
  virtual void PerformClick(TObject* Sender, bool& Handled);

  TButtonClickEventX OnClick;
  TButtonDownEventX OnDown;
  // The owning edit's handler; without one, a collection's change notification runs.
  std::function<void(TEditButtonX* Button)> OnChanged;

protected:
  void NotifyButtonChanged();
  TShortCut FShortCut = 0;
  bool FVisible = false;

private:
  TWinControl* FEdit = nullptr;
  TComponent* FDropdownMenu = nullptr;
  bool FEnabled = true;
  std::unique_ptr<TBitmap> FGlyph;
  String FHint;
  Integer FNumGlyphs = 1;
  TEditButtonStyleX FStyle = ebsDropDownX;
  Integer FWidth = 0;
};

// Alt+Down opens these.
class TDropDownEditButtonX : public TEditButtonX {
public:
  explicit TDropDownEditButtonX(TCollection* Collection);
  explicit TDropDownEditButtonX(TWinControl* Edit);
};

class TVisibleEditButtonX : public TDropDownEditButtonX {
public:
  explicit TVisibleEditButtonX(TCollection* Collection);
  explicit TVisibleEditButtonX(TWinControl* Edit);
};

class TEditButtonsX : public TCollection {
public:
  TEditButtonsX(TPersistent* Owner, TCollectionItemClass ItemClass);
  TEditButtonX* GetButton(Integer Index) const { return static_cast<TEditButtonX*>(Items(Index)); }
  TPersistent* GetOwner() const override { return FOwner; }
  // nullptr for a change of the whole collection.
  std::function<void(TCollectionItem* Item)> OnChanged;
protected:
  void Update(TCollectionItem* Item) override;
private:
  TPersistent* FOwner;
};

// Pops up Button's drop-down menu under Control (its bottom-left corner, bottom-right for a
// right-aligned menu) and releases the pressed control; false when the button has no menu.
bool PopupEditButtonMenu(TEditButtonX* Button, TControl* Control);

enum TButtonStateX { bsUpX, bsDisabledX, bsDownX, bsExclusiveX };

class TEditButtonControlX : public TGraphicControl {
public:
  explicit TEditButtonControlX(TComponent* AOwner);
  ~TEditButtonControlX() override;
  String ClassName() const override { return QStringLiteral("TEditButtonControlX"); }

  TEditButtonStyleX Style() const { return FStyle; }
  void SetStyle(TEditButtonStyleX Value);
  // Drawn hot in the classic look.
  bool Active() const { return FActive; }
  void SetActive(bool Value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  TBitmap* Glyph() const { return FGlyph.get(); }
  bool Down() const { return FDown; }
  void SetDown(bool Value);
  Integer GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(Integer Value) { FGroupIndex = Value; }
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool Value) { FAllowAllUp = Value; }
  TButtonStateX State() const { return FState; }
  // 0 nothing, 1 the face or its upper half, 2 the lower half.
  Integer PressedPart() const { return FPressedPart; }

  // Edits call it for the Up and Down keys.
  void DoButtonDown(bool TopButton, bool& AutoRepeat);
  // Keeps the button pressed while a drop-down is open.
  void SetHoldDown(bool On);
  // The auto-repeat interval in use, 0 while it is not running.
  Cardinal RepeatInterval() const { return FRepeatInterval; }
  // Runs a repeat step once the clock has reached it; the timer calls it.
  void CheckRepeat();

  TButtonDownEventX OnDown;

protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void Dispatch(TMessage& Message) override;
  void UpdatePressedPart(Integer X, Integer Y);
  void StartRepeat(Cardinal Interval);
  void StopRepeat();
  void RepeatTick();

private:
  void PaintGlyphStyle();
  bool MouseInside(Integer X, Integer Y) const { return X >= 0 && X < Width() && Y >= 0 && Y < Height(); }
  TEditButtonStyleX FStyle = ebsDropDownX;
  bool FActive = false;
  bool FFlat = false;
  bool FDown = false;
  bool FAllowAllUp = false;
  bool FDragging = false;
  bool FMouseInControl = false;
  bool FHoldDown = false;
  Integer FGroupIndex = 0;
  Integer FPressedPart = 0;
  TButtonStateX FState = bsUpX;
  std::unique_ptr<TBitmap> FGlyph;
  TTimer* FRepeatTimer = nullptr;
  Cardinal FRepeatInterval = 0;
  Int64 FRepeatDue = 0;
};

// The calculator's keys.
class TSpeedButtonX : public TEditButtonControlX {
public:
  using TEditButtonControlX::TEditButtonControlX;
  String ClassName() const override { return QStringLiteral("TSpeedButtonX"); }
};
