// Edits and combo boxes drawn over their borders, in each of the program's skins.
#include "platform/ui/StdCtrls.h"
#include "skin/SkinEdits.h"
#include "skin/SkinImage.h"
#include "skin/tests/SkinTestSupport.h"
#include <gtest/gtest.h>

using namespace skintest;

TEST(SkinEdits, EditsGetAFlatBorderAndComboBoxesTheSkinsComposedBox) {
  for (int k = 1; k <= 5; ++k) {
    SCOPED_TRACE(k);
    TSkinSession session(k);
    TForm form(nullptr);
    form.SetBounds(20, 20, 320, 160);
    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    edit->SetBounds(10, 10, 140, 24);
    auto* bare = new TEdit(&form);
    bare->SetParent(&form);
    bare->SetBounds(160, 10, 140, 24);
    bare->SetBorderStyle(bsNone);
    auto* disabledEdit = new TEdit(&form);
    disabledEdit->SetParent(&form);
    disabledEdit->SetBounds(10, 90, 140, 24);
    disabledEdit->SetEnabled(false);
    auto* hot = new TComboBox(&form);
    hot->SetParent(&form);
    hot->SetBounds(160, 90, 140, 24);
    auto* combo = new TComboBox(&form);
    combo->SetParent(&form);
    combo->SetBounds(10, 50, 140, 24);
    combo->Items()->Add(QStringLiteral("一月"));
    combo->SetItemIndex(0);
    auto* off = new TComboBox(&form);
    off->SetParent(&form);
    off->SetBounds(160, 50, 140, 24);
    off->SetEnabled(false);
    TSkinForm* skinned = ShowSkinned(&form);
    ASSERT_NE(skinned, nullptr);
    const TSkinModel& m = session.Data->Model();
    auto* editPainter = dynamic_cast<TSkinEdit*>(skinned->FindPainter(edit));
    ASSERT_NE(editPainter, nullptr);
    auto* comboPainter = dynamic_cast<TSkinComBox*>(skinned->FindPainter(combo));
    ASSERT_NE(comboPainter, nullptr);

    // Focused or disabled, a bordered edit shows the same flat border.
    edit->SetFocus();
    ASSERT_TRUE(edit->Focused());
    for (TEdit* bordered : {edit, disabledEdit}) {
      const QImage e = Grab(bordered->Handle());
      EXPECT_EQ(QColorToColor(e.pixelColor(70, 0)), m.ButtonShadow);
      EXPECT_EQ(QColorToColor(e.pixelColor(70, 1)), clWhite);
      EXPECT_EQ(QColorToColor(e.pixelColor(70, 2)), clWhite);
    }
    const QImage b = Grab(bare->Handle());
    EXPECT_NE(QColorToColor(b.pixelColor(70, 0)), m.ButtonShadow);

    // The combo's button part, away from the text, comes from the composed image's state frame.
    const TDataSkinBorder& c = *m.ComboButton;
    ASSERT_EQ(c.Style, 2);
    auto showsFrame = [&](TComboBox* box, Integer frame) {
      const QImage expected = BuildSkinImage(TRect(0, 0, box->Width(), box->Height()), c.Image, c.Margins(), frame,
                                             c.FrameCount, false, false)->Image();
      const QImage shown = Grab(box->Handle());
      const QPoint inButton(box->Width() - 4, 2);
      return shown.pixel(inButton) == expected.pixel(inButton);
    };
    EXPECT_TRUE(showsFrame(off, 3));
    EXPECT_TRUE(showsFrame(hot, 1));
    // Hot (the mouse over it) and focused show frame 4, pressed frame 2.
    hot->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_TRUE(showsFrame(hot, 4));
    hot->Perform(CM_MOUSELEAVE, 0, 0);
    combo->SetFocus();
    ASSERT_TRUE(combo->Focused());
    EXPECT_EQ(comboPainter->StateFrame(), 4);
    EXPECT_TRUE(showsFrame(combo, 4));
    combo->Perform(WM_LBUTTONDOWN, 0, 0);
    EXPECT_TRUE(showsFrame(combo, 2));
    combo->Perform(WM_LBUTTONUP, 0, 0);
    combo->SetDroppedDown(false);
    EXPECT_EQ(session.Exceptions, QStringList());
  }
}
