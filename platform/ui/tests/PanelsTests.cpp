#include "UiTestSupport.h"
#include "platform/ui/Panels.h"
#include <QRadioButton>
#include <gtest/gtest.h>

using uitest::TShownForm;

TEST(Panel, BevelsAndBorderShrinkTheAreaChildrenAlignIn) {
  TShownForm f;
  auto* panel = new TPanel(f.Form);
  panel->SetParent(f.Form);
  panel->SetBounds(0, 0, 200, 100);
  panel->SetBevelInner(bvLowered);
  panel->SetBorderWidth(3);
  auto* child = new TPanel(f.Form);
  child->SetParent(panel);
  child->SetAlign(alClient);
  EXPECT_EQ(child->BoundsRect(), TRect(5, 5, 195, 95));
  panel->SetBevelOuter(bvNone);
  EXPECT_EQ(child->BoundsRect(), TRect(4, 4, 196, 96));
}

TEST(RadioGroup, ItemsBecomeButtonsAndAClickChoosesItsItem) {
  TShownForm f;
  auto* group = new TRadioGroup(f.Form);
  group->SetParent(f.Form);
  group->SetBounds(0, 0, 200, 100);
  group->Items()->SetCommaText("按比例缩放,按列宽适应");
  group->SetItemIndex(0);
  Integer clicks = 0;
  group->OnClick = [&](TObject*) { ++clicks; };
  ASSERT_EQ(group->ControlCount(), 2);
  EXPECT_EQ(group->Buttons(1)->Caption(), "按列宽适应");
  EXPECT_TRUE(group->Buttons(0)->Checked());
  EXPECT_GT(group->Buttons(1)->Top(), group->Buttons(0)->Top());

  uitest::Click(group->Buttons(1), {3, 8});
  EXPECT_EQ(group->ItemIndex(), 1);
  EXPECT_FALSE(group->Buttons(0)->Checked());
  EXPECT_EQ(clicks, 1);
  group->SetItemIndex(0);  // by program: no click
  EXPECT_TRUE(qobject_cast<QRadioButton*>(group->Buttons(0)->Handle())->isChecked());
  EXPECT_EQ(clicks, 1);
  group->Items()->Delete(1);
  EXPECT_EQ(group->ControlCount(), 1);
}

TEST(Image, PictureIsPlacedByStretchProportionalAndCenter) {
  TImage image(nullptr);
  image.SetBounds(0, 0, 100, 50);
  TBitmap picture(40, 40);
  image.Picture()->SetGraphic(&picture);
  struct Case {
    bool stretch, proportional, center;
    TRect expected;
  };
  for (const Case& c : std::initializer_list<Case>{{false, false, false, TRect(0, 0, 40, 40)},
                                                   {false, false, true, TRect(30, 5, 70, 45)},
                                                   {true, false, false, TRect(0, 0, 100, 50)},
                                                   {true, true, true, TRect(25, 0, 75, 50)}}) {
    image.SetStretch(c.stretch);
    image.SetProportional(c.proportional);
    image.SetCenter(c.center);
    EXPECT_EQ(image.DestRect(), c.expected) << c.stretch << c.proportional << c.center;
  }
}

TEST(Splitter, DraggingResizesTheControlBesideItDownToMinSize) {
  TShownForm f;
  auto* left = new TPanel(f.Form);
  left->SetParent(f.Form);
  left->SetAlign(alLeft);
  left->SetWidth(100);
  auto* splitter = new TSplitter(f.Form);
  splitter->SetParent(f.Form);
  splitter->SetLeft(100);
  ASSERT_EQ(splitter->ResizeControl(), left);
  Integer moved = 0;
  splitter->OnMoved = [&](TObject*) { ++moved; };
  const TPoint at{splitter->Left() + 1, 10};
  uitest::MouseEvent(f.Form, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
  uitest::MouseEvent(f.Form, QEvent::MouseMove, {at.X + 40, 10}, Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(left->Width(), 140);
  uitest::MouseEvent(f.Form, QEvent::MouseMove, {at.X - 90, 10}, Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(left->Width(), 30);
  uitest::MouseEvent(f.Form, QEvent::MouseButtonRelease, {at.X - 90, 10}, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(moved, 1);
}
