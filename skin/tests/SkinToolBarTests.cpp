// Tool bars in each shipped skin: the bar's gradient, and button faces only where a button is
// pressed or hot.
#include "platform/ui/ToolBar.h"
#include "skin/SkinToolBar.h"
#include "skin/tests/SkinTestSupport.h"
#include <gtest/gtest.h>

using namespace skintest;

namespace {

constexpr QRgb Magenta = 0xFFFF00FF;

QImage Part(const QImage& Form, TControl* Control) {
  const TPoint screen = Control->Parent()->ClientToScreen({Control->Left(), Control->Top()});
  const QPoint p = Control->Parent()->Handle()->window()->mapFromGlobal(QPoint(screen.X, screen.Y));
  return Form.copy(p.x(), p.y(), Control->Width(), Control->Height()).convertToFormat(QImage::Format_RGB32);
}

}  // namespace

TEST(SkinToolBars, GradientAndFacesOfPressedAndHotButtonsInEverySkin) {
  for (int k = 1; k <= 5; ++k) {
    for (bool ownBackground : {false, true}) {
      SCOPED_TRACE(k);
      SCOPED_TRACE(ownBackground);
      TSkinSession session(k);
      if (ownBackground) session.Data->SetOptions(session.Data->Options() + TSkinOptions{xoToolbarBK});
      TForm form(nullptr);
      form.SetBounds(20, 20, 460, 200);
      auto* bar = new TToolBar(&form);
      bar->SetParent(&form);
      bar->SetShowCaptions(true);
      bar->SetButtonHeight(28);
      std::vector<TToolButton*> buttons;
      for (const char* caption : {"工资编辑", "统计", "设置", "关闭"}) {
        auto* button = new TToolButton(&form);
        button->SetCaption(QString::fromUtf8(caption));
        button->SetParent(bar);
        buttons.push_back(button);
      }
      bar->ArrangeButtons();
      buttons[1]->SetGroupIndex(1);
      buttons[1]->SetAllowAllUp(true);
      buttons[1]->SetDown(true);
      buttons[3]->SetEnabled(false);
      TSkinForm* skinned = ShowSkinned(&form);
      ASSERT_NE(skinned, nullptr);
      ASSERT_TRUE(dynamic_cast<TSkinToolBar*>(skinned->FindPainter(bar)));
      buttons[2]->Perform(CM_MOUSEENTER);
      const QImage picture = Part(Grab(form.Handle()), bar);
      const TSkinModel& m = session.Data->Model();

      // The bar's free end: the gradient stretched over the bar, or the bar's own colour.
      TBitmap gradient(bar->Width(), bar->Height());
      DrawSkinFrame(gradient.Canvas(), TRect(0, 0, bar->Width(), bar->Height()), m.Toolbar->Image, 1, 1, false);
      const QPoint end(bar->Width() - 3, bar->Height() / 2);
      const QRgb background = ownBackground ? ColorToQColor(bar->Color()).rgb() : gradient.Image().pixel(end) | 0xFF000000;
      EXPECT_EQ(picture.pixel(end), background);
      // Faces: the down button in frame 2, the hot one in frame 4, none on the others.
      for (const auto& [button, frame] : {std::pair{buttons[1], 2}, {buttons[2], 4}, {buttons[0], 0}, {buttons[3], 0}}) {
        EXPECT_EQ(TSkinToolBar::ButtonFrame(button), frame);
        const QPoint at(button->Left() + 2, button->Top() + button->Height() / 2);
        if (frame == 0) {
          EXPECT_EQ(picture.pixel(at), ownBackground ? background : gradient.Image().pixel(at) | 0xFF000000) << button->Left();
          continue;
        }
        const TSize face{button->Width() - 2, button->Height() - 2};
        const QRgb expected = BuildSkinImage(TRect(0, 0, face.cx, face.cy), m.Buttons->Image, m.Buttons->Margins(), frame, 5, false, false)
                                  ->Image()
                                  .pixel(1, face.cy / 2) |
                              0xFF000000;
        if (expected != Magenta) {
          EXPECT_EQ(picture.pixel(at), expected) << button->Left();
        }
      }
      EXPECT_EQ(session.Exceptions, QStringList());
    }
  }
}
