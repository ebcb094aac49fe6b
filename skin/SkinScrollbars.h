#pragma once
// Painters that give scrolling controls skinned scroll bars: a control with frame scroll bars
// or a wrapped scroll area (memo, list, grid) gets a cover for each of its two bars, a flat
// border and the corner square; a scroll-bar control gets one cover.
#include "skin/SkinControl.h"
#include "skin/SkinScrollCover.h"
#include <memory>

class TSkinScrollbar : public TSkinControl {
public:
  String ClassName() const override { return QStringLiteral("TSkinScrollbar"); }
  void AttachControl(TControl* Control, TSkinForm* Form, TSkinData* Skin, bool Recolour) override;
  void Detach() override;
  void AfterMessage(TMessage& Message) override;
  void DrawSkin(TCanvas* Canvas, const TRect& R) override;
  void SkinChanged() override;
  // Places both covers over the control's bars as they are now.
  void PlaceCovers();

  TWScrollbar* HorzCover() const { return FHorz.get(); }
  TWScrollbar* VertCover() const { return FVert.get(); }

private:
  // The frame's border and the corner between the two bars, in window coordinates.
  void PaintNonClient(TCanvas* Canvas);
  std::unique_ptr<TWScrollbar> FHorz, FVert;
  // Framed in the skin's shadow colour: a border style other than "bsNone" (or none at all),
  // and not an image scroll box.
  bool FBordered = true;
};

class TSkinScControl : public TSkinControl {
public:
  String ClassName() const override { return QStringLiteral("TSkinScControl"); }
  void AttachControl(TControl* Control, TSkinForm* Form, TSkinData* Skin, bool Recolour) override;
  void Detach() override;
  void AfterMessage(TMessage& Message) override;
  void SkinChanged() override;

  TWScrollbar* Cover() const { return FCover.get(); }

private:
  std::unique_ptr<TWScrollbar> FCover;
};
