#pragma once
// Tab controls and page controls drawn from the skin's Tabs element: the tabs in the element's
// frames (the selected one in frame 2) with their captions, the page inside the element's
// border image; and the pages of a page control in the face colour.
#include "skin/SkinControl.h"
#include <QObject>
#include <QPointer>
#include <memory>

#include <QTabBar>

class TSkinTab : public TSkinControl {
public:
  TSkinTab();
  ~TSkinTab() override;
  String ClassName() const override { return QStringLiteral("TSkinTab"); }
  void AttachControl(TControl* Control, TSkinForm* Form, TSkinData* Skin, bool Recolour) override;
  void DrawSkin(TCanvas* Canvas, const TRect& R) override;
  void SkinChanged() override;
  // The tab strip in skin images at the bar's size; false when the skin has no tab image.
  bool PaintTabs(TBitmap& Work) const;
  // Frame of the Tabs element for tab Index: 2 for the selected tab, 1 for the others.
  Integer TabFrame(Integer Index) const;

private:
  class TTabBarFilter;
  std::unique_ptr<TTabBarFilter> FFilter;
  QPointer<QTabBar> FTabBar;
};

class TSkinTabSheet : public TSkinControl {
public:
  String ClassName() const override { return QStringLiteral("TSkinTabSheet"); }
  bool BeforeMessage(TMessage& Message) override;
  void DrawSkin(TCanvas* Canvas, const TRect& R) override;
};
