#include "UiTestSupport.h"
#include "platform/ui/Buttons.h"
#include <QPushButton>
#include <gtest/gtest.h>

using uitest::TShownForm;

namespace {

void ClickOn(TShownForm& f, TControl* Control) {
  uitest::Click(f.Form, {Control->Left() + 3, Control->Top() + 3});
}

}  // namespace

TEST(SpeedButton, GroupsKeepOneDownAndAllowAllUpLetsTheLastOneGo) {
  TShownForm f;
  TSpeedButton* buttons[2];
  Integer clicks = 0;
  for (int i = 0; i < 2; ++i) {
    buttons[i] = new TSpeedButton(f.Form);
    buttons[i]->SetParent(f.Form);
    buttons[i]->SetLeft(i * 30);
    buttons[i]->SetGroupIndex(1);
    buttons[i]->OnClick = [&](TObject*) { ++clicks; };
  }
  ClickOn(f, buttons[0]);
  EXPECT_TRUE(buttons[0]->Down());
  ClickOn(f, buttons[1]);
  EXPECT_TRUE(buttons[1]->Down());
  EXPECT_FALSE(buttons[0]->Down());
  ClickOn(f, buttons[1]);  // the only one down stays down
  EXPECT_TRUE(buttons[1]->Down());
  buttons[1]->SetAllowAllUp(true);
  ClickOn(f, buttons[1]);
  EXPECT_FALSE(buttons[1]->Down());
  EXPECT_EQ(clicks, 4);

  auto* plain = new TSpeedButton(f.Form);
  plain->SetParent(f.Form);
  plain->SetTop(40);
  plain->SetDown(true);  // without a group a button never stays down
  EXPECT_FALSE(plain->Down());
}

TEST(BitBtn, KindSetsCaptionResultAndRoleAndTheGlyphBecomesTheIcon) {
  TShownForm f;
  auto* ok = new TBitBtn(f.Form);
  ok->SetKind(bkOK);
  EXPECT_EQ(ok->Caption(), "确定");
  EXPECT_EQ(ok->ModalResult(), mrOk);
  EXPECT_TRUE(ok->Default());
  TBitmap glyph(32, 16);  // two images: up and disabled
  glyph.Canvas()->Brush()->SetColor(clRed);
  glyph.Canvas()->FillRect(TRect(4, 4, 12, 12));
  ok->SetNumGlyphs(2);
  ok->SetGlyph(&glyph);
  ok->SetParent(f.Form);
  auto* button = qobject_cast<QPushButton*>(ok->Handle());
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->iconSize(), QSize(16, 16));
  uitest::Click(ok, {5, 5});
  EXPECT_EQ(f.Form->ModalResult(), mrOk);
}

TEST(ButtonGlyph, LayoutPlacesGlyphAndTextByMarginAndSpacing) {
  TButtonGlyph glyph;
  glyph.Glyph()->SetSize(16, 16);
  struct Case {
    TButtonLayout layout;
    Integer margin, spacing;
    TPoint glyphAt;
    Integer textLeft;
  };
  const TRect client(0, 0, 100, 30);
  for (const Case& c : std::initializer_list<Case>{{blGlyphLeft, -1, 4, {20, 7}, 40},
                                                   {blGlyphLeft, 2, 4, {2, 7}, 22},
                                                   {blGlyphLeft, -1, -1, {14, 7}, 44},
                                                   {blGlyphRight, 2, 4, {82, 7}, 38}}) {
    TPoint at;
    TRect text;
    glyph.Layout(client, {40, 14}, c.layout, c.margin, c.spacing, at, text);
    EXPECT_EQ(at, c.glyphAt) << c.layout << " " << c.margin << " " << c.spacing;
    EXPECT_EQ(text.Left, c.textLeft) << c.layout << " " << c.margin << " " << c.spacing;
  }
  // Without a glyph image there is nothing to draw.
  EXPECT_TRUE(TButtonGlyph().Image(bsUp).isNull());
}

// ---- tool bars

#include "platform/ui/Menus.h"
#include "platform/ui/ToolBar.h"
#include <QMenu>
#include <QTimer>

TEST(ToolBar, ButtonsLineUpAndAMenuButtonOpensItsMenuUnderItself) {
  TShownForm f;
  auto* bar = new TToolBar(f.Form);
  bar->SetParent(f.Form);
  bar->SetShowCaptions(true);
  auto* menu = new TPopupMenu(f.Form);
  auto* print = new TMenuItem(f.Form);
  print->SetCaption("打印工资条");
  menu->Items()->Add(print);
  Integer printed = 0, stats = 0;
  print->OnClick = [&](TObject*) { ++printed; };

  auto* edit = new TToolButton(f.Form);
  edit->SetCaption("工资编辑与打印");
  edit->SetDropdownMenu(menu);
  edit->SetParent(bar);
  auto* statistics = new TToolButton(f.Form);
  statistics->SetCaption("工资统计");
  statistics->OnClick = [&](TObject*) { ++stats; };
  statistics->SetParent(bar);
  EXPECT_EQ(bar->ButtonCount(), 2);
  EXPECT_EQ(statistics->Left(), edit->Left() + edit->Width());
  EXPECT_GT(edit->Width(), bar->ButtonWidth());  // widened for its caption

  QPoint openedAt;
  QTimer::singleShot(0, [&] {
    if (QWidget* popup = QApplication::activePopupWidget()) {
      openedAt = popup->pos();
      uitest::PressKey(popup, Qt::Key_Down);
      uitest::PressKey(popup, Qt::Key_Return);
    }
  });
  uitest::Click(bar, {edit->Left() + 3, 5});
  EXPECT_EQ(printed, 1);
  const TPoint below = edit->ClientToScreen({0, edit->Height()});
  EXPECT_EQ(openedAt, QPoint(below.X, below.Y));
  uitest::Click(bar, {statistics->Left() + 3, 5});
  EXPECT_EQ(stats, 1);
}
