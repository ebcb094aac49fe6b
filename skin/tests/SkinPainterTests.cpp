// Control painters in each of the program's skins, checked by pixels away from text.
#include "platform/ui/ComCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "skin/SkinBars.h"
#include "skin/SkinButtons.h"
#include "skin/SkinCheckRadio.h"
#include "skin/SkinEdits.h"
#include "skin/SkinImage.h"
#include "skin/tests/SkinTestSupport.h"
#include <QApplication>
#include <gtest/gtest.h>

using namespace skintest;

namespace {

constexpr QRgb Magenta = 0xFFFF00FF;

// The pixels of frame k of Element composed at the control's size, as the painter draws it.
QImage Composed(const TDataSkinObject& Element, Integer Frame, Integer Frames, TSize Size) {
  return BuildSkinImage(TRect(0, 0, Size.cx, Size.cy), Element.Image, Element.Margins(), Frame, Frames, Element.Tile == 1, false)->Image();
}

// The control's own pixels inside the form's picture.
QImage Part(const QImage& Form, TControl* Control) {
  const TPoint screen = Control->Parent()->ClientToScreen({Control->Left(), Control->Top()});
  const QPoint p = Control->Parent()->Handle()->window()->mapFromGlobal(QPoint(screen.X, screen.Y));
  return Form.copy(p.x(), p.y(), Control->Width(), Control->Height());
}

// Every pixel of Image's frame k that is not magenta appears at Origin.
bool ShowsFrame(const QImage& Picture, const TBitmap& Image, Integer Frames, Integer Frame, QPoint Origin) {
  const Integer fw = Image.Width() / std::max(Frames, 1);
  const QImage source = Image.Image().convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < source.height(); ++y)
    for (int x = 0; x < fw; ++x) {
      const QRgb s = source.pixel((Frame - 1) * fw + x, y) | 0xFF000000;
      if (s != Magenta && (Picture.pixel(Origin.x() + x, Origin.y() + y) | 0xFF000000) != s) return false;
    }
  return true;
}

template <class T>
T* Add(TForm& Form, TRect Bounds, const char* Caption = "") {
  auto* c = new T(&Form);
  c->SetParent(&Form);
  c->SetBoundsRect(Bounds);
  c->SetCaption(QString::fromUtf8(Caption));
  return c;
}

}  // namespace

TEST(SkinPainters, ButtonsChecksRadiosBarsAndProgressInEverySkin) {
  QImage galleries[5];
  for (int k = 1; k <= 5; ++k) {
    SCOPED_TRACE(k);
    TSkinSession session(k);
    TForm form(nullptr);
    form.SetCaption(QStringLiteral("控件"));
    form.SetBounds(20, 20, 460, 330);
    auto* focused = Add<TButton>(form, Bounds(10, 10, 90, 26), "确定");
    auto* disabled = Add<TButton>(form, Bounds(110, 10, 90, 26), "取消");
    disabled->SetEnabled(false);
    auto* defaulted = Add<TButton>(form, Bounds(210, 10, 90, 26), "默认");
    defaulted->SetDefault(true);
    auto* normal = Add<TButton>(form, Bounds(310, 10, 90, 26), "普通");
    auto* unchecked = Add<TCheckBox>(form, Bounds(10, 50, 120, 20), "未选");
    auto* checked = Add<TCheckBox>(form, Bounds(140, 50, 120, 20), "已选");
    checked->SetChecked(true);
    auto* grey = Add<TCheckBox>(form, Bounds(270, 50, 120, 20), "灰色");
    grey->SetAllowGrayed(true);
    grey->SetState(cbGrayed);
    auto* checkedOff = Add<TCheckBox>(form, Bounds(10, 75, 120, 20), "禁用");
    checkedOff->SetChecked(true);
    checkedOff->SetEnabled(false);
    auto* radio = Add<TRadioButton>(form, Bounds(140, 75, 120, 20), "单选");
    radio->SetChecked(true);
    auto* radioOff = Add<TRadioButton>(form, Bounds(270, 75, 120, 20), "禁用");
    radioOff->SetEnabled(false);
    struct Bar { Integer Min, Max, Position; TProgressBarOrientation Orientation; };
    const Bar bars[] = {{0, 100, 0, pbHorizontal}, {0, 100, 50, pbHorizontal}, {0, 100, 100, pbHorizontal},
                        {50, 150, 100, pbHorizontal}, {0, 100, 25, pbVertical}};
    std::vector<TProgressBar*> progress;
    for (size_t i = 0; i < std::size(bars); ++i) {
      const bool vertical = bars[i].Orientation == pbVertical;
      auto* p = Add<TProgressBar>(form, vertical ? Bounds(400, 110, 18, 120) : Bounds(10, 110 + Integer(i) * 24, 200, 16));
      p->SetOrientation(bars[i].Orientation);
      p->SetMin(bars[i].Min);
      p->SetMax(bars[i].Max);
      p->SetPosition(bars[i].Position);
      progress.push_back(p);
    }
    auto* edit = Add<TEdit>(form, Bounds(230, 110, 150, 24));
    edit->SetText(QStringLiteral("张三"));
    auto* combo = Add<TComboBox>(form, Bounds(230, 144, 150, 24));
    combo->Items()->Add(QStringLiteral("二〇二六年十二月"));
    combo->SetItemIndex(0);
    auto* status = Add<TStatusBar>(form, Bounds(0, 0, 10, 22));
    status->SetAlign(alBottom);
    for (const char* text : {"工资月份", "记录 12"}) {
      TStatusPanel* panel = status->Panels()->Add();
      panel->SetText(QString::fromUtf8(text));
      panel->SetWidth(120);
    }

    ASSERT_NE(ShowSkinned(&form), nullptr);
    const TSkinModel& m = session.Data->Model();
    const QImage picture = Grab(form.Handle());
    galleries[k - 1] = picture;
    SaveArtifact(picture, QStringLiteral("skin-controls-%1.png").arg(k));

    // Buttons: the top edge's middle, away from the caption, shows the state's frame; the
    // focused button (the form's first control) shows the hot frame.
    ASSERT_TRUE(focused->Focused());
    for (const auto& [button, frame] : {std::pair<TButton*, int>{normal, 1}, {disabled, 3}, {defaulted, 5}, {focused, 4}}) {
      const QImage expected = Composed(*m.Buttons, frame, m.Buttons->FrameCount, {button->Width(), button->Height()});
      EXPECT_EQ(Part(picture, button).pixel(button->Width() / 2, 2), expected.pixel(button->Width() / 2, 2)) << frame;
    }
    // Check boxes and radio buttons: the box shows the state's frame of the skin's strip.
    const TDataSkinButton& b = *m.Buttons;
    for (const auto& [box, image, frames, frame] :
         {std::tuple<TControl*, const TBitmap*, int, int>{unchecked, &b.CheckButton, b.CheckButtonFrame, 1},
          {checked, &b.CheckButton, b.CheckButtonFrame, 2},
          {grey, &b.CheckButton, b.CheckButtonFrame, 4},
          {checkedOff, &b.CheckButton, b.CheckButtonFrame, 4},
          {radio, &b.RadioButton, b.RadioButtonFrame, 2},
          {radioOff, &b.RadioButton, b.RadioButtonFrame, 3}}) {
      const Integer fw = image->Width() / frames, fh = image->Height();
      const Integer left = image == &b.RadioButton && fw < 15 ? (14 - fw) / 2 : 0;
      EXPECT_TRUE(ShowsFrame(Part(picture, box), *image, frames, frame, QPoint(left, (box->Height() - fh) / 2)))
          << qPrintable(box->Caption());
    }
    // Progress: empty at the minimum, full at the maximum, half way for a range starting above 0.
    const TDataSkinBorder& p = *m.Progress;
    auto progressPixel = [&](TProgressBar* bar, int x) { return Part(picture, bar).pixel(x, bar->Height() / 2); };
    const QImage empty = Composed(p, 1, 2, {200, 16}), full = Composed(p, 2, 2, {200, 16});
    EXPECT_EQ(progressPixel(progress[0], 150), empty.pixel(150, 8));
    EXPECT_EQ(progressPixel(progress[1], 50), full.pixel(50, 8));
    EXPECT_EQ(progressPixel(progress[1], 150), empty.pixel(150, 8));
    EXPECT_EQ(progressPixel(progress[2], 150), full.pixel(150, 8));
    EXPECT_EQ(progressPixel(progress[3], 60), full.pixel(60, 8));
    EXPECT_EQ(progressPixel(progress[3], 150), empty.pixel(150, 8));
    // A vertical bar fills from the bottom.
    const QImage upright = Part(picture, progress[4]);
    EXPECT_NE(upright.pixel(9, 110), upright.pixel(9, 10));
    // The status bar's first panel shows the lowered frame of the skin's edges.
    const QImage bar = Part(picture, status);
    const TRect first = status->PanelRect(0);
    const QImage lowered = Composed(*m.StatusBarEdges, 1, 3, {first.Width() + 2, first.Height()});
    EXPECT_EQ(bar.pixel(first.Left + 60, first.Top + 1), lowered.pixel(60, 1));
    EXPECT_EQ(Part(picture, edit).pixel(75, 0) | 0xFF000000, ColorToQColor(m.ButtonShadow).rgb());
    EXPECT_EQ(session.Exceptions, QStringList());
  }
  for (int i = 0; i < 5; ++i)
    for (int j = i + 1; j < 5; ++j) EXPECT_NE(galleries[i], galleries[j]);
}

TEST(SkinPainters, ProgressFillsItsShareOfTheRangeAndNeverDividesByAnEmptyOne) {
  struct Case { Integer Length, Position, Min, Max, Expected; };
  for (const Case& c : std::initializer_list<Case>{{200, 0, 0, 100, 0}, {200, 50, 0, 100, 100}, {200, 100, 0, 100, 200},
                                                   {200, 100, 50, 150, 100}, {200, 10, 50, 150, 0}, {200, 400, 0, 100, 200},
                                                   {200, 5, 7, 7, 0}, {200, 5, 9, 3, 0}, {0, 5, 0, 10, 0}})
    EXPECT_EQ(ProgressFill(c.Length, c.Position, c.Min, c.Max), c.Expected) << c.Position << " " << c.Min << " " << c.Max;
}

TEST(SkinPainters, ACheckBoxKnownOnlyByCheckedShowsUncheckedNotDisabled) {
  TSkinSession session(1);
  TForm form(nullptr);
  // A radio button publishes Checked but no State.
  auto* control = Add<TRadioButton>(form, Bounds(0, 0, 100, 20), "x");
  TSkinCheckBox painter;
  painter.AttachControl(control, nullptr, session.Data.get(), false);
  EXPECT_EQ(painter.StateFrame(), 1);
  control->SetChecked(true);
  EXPECT_EQ(painter.StateFrame(), 2);
  control->SetEnabled(false);
  EXPECT_EQ(painter.StateFrame(), 4);
}
