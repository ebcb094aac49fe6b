// The painter base: how a painter steps in front of a control and gives back what it changed.
#include "platform/ui/Panels.h"
#include "skin/SkinContainers.h"
#include "skin/SkinMessages.h"
#include "skin/tests/SkinTestSupport.h"
#include <gtest/gtest.h>

using namespace skintest;

namespace {

// Counts the skinned drawings it makes.
class TCountingPainter : public TSkinControl {
public:
  void DrawSkin(TCanvas*, const TRect&) override { ++Drawings; }
  int Drawings = 0;
};

}  // namespace

TEST(SkinControl, StepsInFrontOfTheControlUntilItsControlGoes) {
  TSkinSession session(1);
  TForm form(nullptr);
  form.SetBounds(10, 10, 200, 120);
  auto* panel = new TPanel(&form);
  panel->SetParent(&form);
  panel->SetBounds(5, 5, 100, 50);
  QStringList seen;
  panel->WindowProc = [&, old = panel->WindowProc](TMessage& M) {
    if (M.Msg == WM_USER) seen << "control";
    old(M);
  };
  TCountingPainter painter;
  painter.AttachControl(panel, nullptr, session.Data.get(), false);
  painter.AttachControl(panel, nullptr, session.Data.get(), false);  // a second attach changes nothing
  EXPECT_EQ(panel->Perform(SKIN_ISSKINNED), 1);
  panel->Perform(WM_USER);
  EXPECT_EQ(seen, QStringList({"control"}));

  // Switched off, every message goes straight to the control.
  panel->Perform(SKIN_PAINTERSWITCH, 0);
  EXPECT_FALSE(painter.Active());
  EXPECT_EQ(panel->Perform(SKIN_ISSKINNED), 0);
  panel->Perform(SKIN_PAINTERSWITCH, 1);
  EXPECT_TRUE(painter.Active());

  form.Show();
  Grab(form.Handle());
  EXPECT_GT(painter.Drawings, 0);
  delete panel;
  EXPECT_EQ(painter.LifeState(), TSkinControl::lsGone);
  EXPECT_EQ(painter.Control(), nullptr);
}

TEST(SkinControl, RecolouringKeepsOrLeavesParentBackgroundAsTheSkinSays) {
  TSkinSession session(2);
  TForm form(nullptr);
  struct Case { TSkinOptions options; bool recolour; bool parentBackgroundWhileSkinned; TColor colourWhileSkinned; };
  const TColor own = RGB(1, 2, 3);
  for (const Case& c : {Case{{}, true, false, session.Data->Model().ButtonFace},
                        Case{{xoParentBackGround}, true, true, session.Data->Model().ButtonFace},
                        Case{{}, false, true, own}}) {
    session.Data->SetOptions(c.options);
    TPanel panel(&form);
    panel.SetParent(&form);
    panel.SetColor(own);
    panel.SetParentBackground(true);
    {
      TSkinBox box;
      box.AttachControl(&panel, nullptr, session.Data.get(), c.recolour);
      EXPECT_EQ(panel.ParentBackground(), c.parentBackgroundWhileSkinned);
      EXPECT_EQ(panel.Color(), c.colourWhileSkinned);
      EXPECT_FALSE(box.Attached());  // a box only recolours
      box.Detach();
      EXPECT_EQ(box.LifeState(), TSkinControl::lsDetached);
    }
    EXPECT_TRUE(panel.ParentBackground());
    EXPECT_EQ(panel.Color(), own);
  }
}

TEST(SkinControl, ParentColourFillsWhereThereIsNoParentToPaint) {
  TSkinSession session(2);
  const TColor face = session.Data->Model().ButtonFace, green = RGB(10, 200, 30);
  TForm form(nullptr);
  auto* panel = new TPanel(&form);
  panel->SetParent(&form);
  panel->SetColor(green);
  auto* child = new TPanel(&form);
  child->SetParent(panel);
  TPanel orphan(nullptr);
  struct Case { TControl* control; TColor parentColour; TColor fill; };
  for (const Case& c : {Case{child, green, green}, Case{&orphan, clRed, face}}) {
    TCountingPainter painter;
    painter.AttachControl(c.control, nullptr, session.Data.get(), false);
    EXPECT_EQ(painter.ParentColourOf(clRed), c.parentColour);
    TBitmap work(6, 6);
    painter.FillParentColor(work.Canvas(), TRect(0, 0, 6, 6));
    EXPECT_EQ(QColorToColor(work.Image().pixelColor(3, 3)), ColorToRGB(c.fill));
  }
}
