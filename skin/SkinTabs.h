#pragma once
// Tab controls and page controls drawn from the skin's Tabs element: the tabs in the element's
// frames (the selected one in frame 2) with their captions, the page inside the element's
// border image, the scroll arrows of overflowing tabs as up-down buttons; and the pages of a
// page control in the face colour. A page control tagged
// 7777 shows a close box on each tab that frees the page unless the form objects.
#include "skin/SkinControl.h"
#include <QObject>
#include <QPointer>
#include <memory>

#include <QTabBar>
#include <vector>

class QToolButton;

class TSkinTab : public TSkinControl {
public:
  TSkinTab();
  ~TSkinTab() override;
  String ClassName() const override { return QStringLiteral("TSkinTab"); }
  void AttachControl(TControl* Control, TSkinForm* Form, TSkinData* Skin, bool Recolour) override;
  void DrawSkin(TCanvas* Canvas, const TRect& R) override;
  void SkinChanged() override;
  // The tab strip in skin images at the bar's size; false when the skin has no tab image.
  bool PaintTabs(TBitmap& Work);
  // Frame of the Tabs element for tab Index: 2 for the selected tab, 1 for the others.
  Integer TabFrame(Integer Index) const;
  bool CloseBoxes() const { return FCloseBoxesOn; }
  // Tab Index's close box as last painted, in tab-bar coordinates; empty without one.
  TRect CloseBoxRect(Integer Index) const;
  // A press at P (tab-bar coordinates) on a close box asks the form (SKIN_TABCLOSE) and frees
  // the page unless the form answers non-zero; true when P was on a close box.
  bool CloseBoxPressed(TPoint P);
  // The bar's scroll arrow in the buttons of a horizontal up-down; false without a skin.
  bool PaintArrow(QToolButton* Arrow) const;

private:
  class TTabBarFilter;
  std::unique_ptr<TTabBarFilter> FFilter;
  QPointer<QTabBar> FTabBar;
  std::vector<QPointer<QToolButton>> FArrows;
  bool FCloseBoxesOn = false;
  std::vector<TRect> FCloseBoxes;
};

class TSkinTabSheet : public TSkinControl {
public:
  String ClassName() const override { return QStringLiteral("TSkinTabSheet"); }
  bool BeforeMessage(TMessage& Message) override;
  void DrawSkin(TCanvas* Canvas, const TRect& R) override;
};
