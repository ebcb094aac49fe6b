// Control painters in each of the program's skins, checked by pixels away from text.
#include "platform/ui/ComCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "skin/SkinBars.h"
#include "skin/SkinButtons.h"
#include "skin/SkinCheckRadio.h"
#include "skin/SkinEdits.h"
#include "skin/SkinHeader.h"
#include "skin/SkinImage.h"
#include "skin/SkinMessages.h"
#include "skin/SkinRangeControls.h"
#include "skin/SkinSizer.h"
#include "skin/SkinTabs.h"
#include "skin/tests/SkinTestSupport.h"
#include <QApplication>
#include <QMouseEvent>
#include <QSizeGrip>
#include <QTabBar>
#include <QToolButton>
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
    form.SetBounds(20, 20, 760, 330);
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

    auto* pages = Add<TPageControl>(form, Bounds(470, 10, 270, 110));
    for (const char* caption : {"基本工资", "扣款"}) {
      auto* sheet = new TTabSheet(&form);
      sheet->SetPageControl(pages);
      sheet->SetCaption(QString::fromUtf8(caption));
    }
    pages->SetActivePageIndex(0);
    auto* upDown = Add<TUpDown>(form, Bounds(470, 130, 17, 40));
    auto* sideways = Add<TUpDown>(form, Bounds(495, 130, 40, 17));
    sideways->SetOrientation(udHorizontal);
    auto* track = Add<TTrackBar>(form, Bounds(550, 130, 180, 32));
    track->SetMax(10);
    track->SetPosition(4);
    auto* header = Add<THeaderControl>(form, Bounds(470, 180, 270, 22));
    header->SetAlign(alNone);
    header->SetBounds(470, 180, 270, 22);
    for (const char* text : {"姓名", "实发"}) {
      THeaderSection* section = header->Sections()->Add();
      section->SetText(QString::fromUtf8(text));
      section->SetWidth(90);
    }
    // Scroll bars, for the gallery; their pixels are checked beside the scroll-bar painters.
    auto* memo = Add<TMemo>(form, Bounds(470, 212, 180, 80));
    memo->SetScrollBars(ssVertical);
    for (int i = 0; i < 30; ++i) memo->Lines()->Add(QStringLiteral("第%1行").arg(i));
    Add<TScrollBar>(form, Bounds(660, 212, 80, 17));

    TSkinForm* skinned = ShowSkinned(&form);
    ASSERT_NE(skinned, nullptr);
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
    // Pressed, a button shows frame 2; with the mouse over it, frame 4.
    auto buttonShows = [&](TButton* button, Integer frame) {
      const QImage expected = Composed(*m.Buttons, frame, m.Buttons->FrameCount, {button->Width(), button->Height()});
      return Part(Grab(form.Handle()), button).pixel(button->Width() / 2, 2) == expected.pixel(button->Width() / 2, 2);
    };
    normal->Perform(WM_LBUTTONDOWN, 0, 0);
    EXPECT_TRUE(buttonShows(normal, 2));
    normal->Perform(WM_LBUTTONUP, 0, 0);
    normal->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_TRUE(buttonShows(normal, 4));
    normal->Perform(CM_MOUSELEAVE, 0, 0);
    // The press gave the button the focus: it shows the focused frame until the focus moves on.
    EXPECT_TRUE(normal->Focused());
    EXPECT_TRUE(buttonShows(normal, 4));
    focused->SetFocus();
    EXPECT_TRUE(buttonShows(normal, 1));
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

    // Tabs: the selected one in frame 2, the other in frame 1, sampled along their top edge
    // where magenta lets the face through.
    const QRgb face = ColorToQColor(m.ButtonFace).rgb();
    auto shown = [&](QRgb composed) { return (composed | 0xFF000000) == Magenta ? face : composed | 0xFF000000; };
    ASSERT_TRUE(dynamic_cast<TSkinTab*>(skinned->FindPainter(pages)));
    for (Integer tab : {0, 1}) {
      const TRect r = pages->TabRect(tab);
      const QImage composed = Composed(*m.Tabs, tab == 0 ? 2 : 1, m.Tabs->FrameCount, {r.Width(), r.Height()});
      for (const QPoint& p : {QPoint(r.Width() / 2, 1), QPoint(3, r.Height() / 2)})
        EXPECT_EQ(Part(picture, pages).pixel(r.Left + p.x(), r.Top + p.y()) | 0xFF000000, shown(composed.pixel(p))) << tab;
    }
    // Up-down: the first button normal; pressed with the cursor over the second half, the
    // second shows pressed and the first normal.
    auto upDownPixel = [&](TUpDown* control, const QImage& picture, Integer frame, bool second) {
      const bool vertical = control->Orientation() == udVertical;
      const TDataSkinBorder& e = vertical ? *m.UpDownVert : *m.UpDownHorz;
      const Integer hw = vertical ? control->Width() : control->Width() / 2, hh = vertical ? control->Height() / 2 : control->Height();
      TBitmap half(hw, hh);
      half.Canvas()->Brush()->SetColor(m.ButtonFace);
      half.Canvas()->FillRect(TRect(0, 0, hw, hh));
      DrawSkinFrame(half.Canvas(), TRect(0, 0, hw, hh), e.Image, frame, e.FrameCount, true);
      const int x = second && !vertical ? hw : 0, y = second && vertical ? hh : 0;
      return std::pair{Part(picture, control).pixel(x + 1, y + hh / 2) | 0xFF000000, half.Image().pixel(1, hh / 2) | 0xFF000000};
    };
    for (TUpDown* control : {upDown, sideways}) {
      const auto [got, want] = upDownPixel(control, picture, 1, false);
      EXPECT_EQ(got, want);
    }
    SetCursorPos(upDown->ClientToScreen({8, 30}));
    upDown->Perform(WM_LBUTTONDOWN, 0, 0);
    const QImage pressedUpDown = Grab(form.Handle());
    EXPECT_EQ(upDownPixel(upDown, pressedUpDown, 6, true).first, upDownPixel(upDown, pressedUpDown, 6, true).second);
    EXPECT_EQ(upDownPixel(upDown, pressedUpDown, 1, false).first, upDownPixel(upDown, pressedUpDown, 1, false).second);
    upDown->Perform(WM_LBUTTONUP, 0, 0);
    // Track bar: the thumb in frame 2 of the skin's thumb strip.
    auto* trackPainter = dynamic_cast<TSkinTrackBar*>(skinned->FindPainter(track));
    ASSERT_NE(trackPainter, nullptr);
    const TRect thumb = trackPainter->ThumbRect();
    ASSERT_FALSE(thumb.IsEmpty());
    TBitmap thumbImage(thumb.Width(), thumb.Height());
    thumbImage.Canvas()->Brush()->SetColor(TColor(0xFF00FF));
    thumbImage.Canvas()->FillRect(TRect(0, 0, thumb.Width(), thumb.Height()));
    DrawSkinFrame(thumbImage.Canvas(), TRect(0, 0, thumb.Width(), thumb.Height()), m.TrackbarThumbHorz->Image, 2, 5, true);
    const QPoint mid(thumb.Width() / 2, thumb.Height() / 3);
    ASSERT_NE(thumbImage.Image().pixel(mid) | 0xFF000000, Magenta);
    EXPECT_EQ(Part(picture, track).pixel(thumb.Left + mid.x(), thumb.Top + mid.y()) | 0xFF000000, thumbImage.Image().pixel(mid) | 0xFF000000);
    // Header: each section and the space after the last in the Headerbar element's frame 1.
    const QImage headerPart = Part(picture, header);
    for (const TRect& r : {TRect(0, 0, 90, 22), TRect(90, 0, 180, 22), TRect(180, 0, 270, 22)}) {
      const QImage composed = Composed(*m.Headerbar, 1, m.Headerbar->FrameCount, {r.Width(), r.Height()});
      EXPECT_EQ(headerPart.pixel(r.Right - 4, 1) | 0xFF000000, composed.pixel(r.Width() - 4, 1) | 0xFF000000) << r.Left;
    }
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

namespace {

// A form that answers the close-box question of its tabs and remembers who asked.
class TClosingForm : public TForm {
public:
  using TForm::TForm;
  LRESULT Answer = 0;
  std::vector<LPARAM> Asked;
  void Dispatch(TMessage& Message) override {
    if (Message.Msg != SKIN_TABCLOSE) return TForm::Dispatch(Message);
    Asked.push_back(Message.LParam);
    Message.Result = Answer;
  }
};

void PressOnBar(QTabBar* Bar, QPoint P) {
  QMouseEvent press(QEvent::MouseButtonPress, P, Bar->mapToGlobal(P), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(Bar, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, P, Bar->mapToGlobal(P), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(Bar, &release);
}

}  // namespace

TEST(SkinPainters, TabsTagged7777ShowCloseBoxesThatFreeTheirPageUnlessTheFormObjects) {
  for (int k = 1; k <= 5; ++k) {
    SCOPED_TRACE(k);
    TSkinSession session(k);
    TClosingForm form(nullptr);
    form.SetBounds(20, 20, 400, 260);
    auto* closable = Add<TPageControl>(form, Bounds(10, 10, 370, 100));
    closable->SetTag(7777);
    auto* plain = Add<TPageControl>(form, Bounds(10, 120, 370, 100));
    for (TPageControl* pages : {closable, plain})
      for (const char* caption : {"基本工资", "扣款项目", "实发工资"}) {
        auto* sheet = new TTabSheet(&form);
        sheet->SetPageControl(pages);
        sheet->SetCaption(QString::fromUtf8(caption));
      }
    TSkinForm* skinned = ShowSkinned(&form);
    ASSERT_NE(skinned, nullptr);
    auto* painter = dynamic_cast<TSkinTab*>(skinned->FindPainter(closable));
    auto* plainPainter = dynamic_cast<TSkinTab*>(skinned->FindPainter(plain));
    ASSERT_TRUE(painter && plainPainter);
    EXPECT_TRUE(painter->CloseBoxes());
    EXPECT_FALSE(plainPainter->CloseBoxes());
    QTabBar* bar = closable->Handle()->findChild<QTabBar*>();
    const QImage picture = Part(Grab(form.Handle()), closable);
    // The square's left side and its centre, where the diagonals cross, in the pen's black.
    for (Integer tab = 0; tab < 3; ++tab) {
      const TRect box = painter->CloseBoxRect(tab);
      EXPECT_EQ(box, TRect(bar->tabRect(tab).right() + 1 - 8, 2, bar->tabRect(tab).right() + 1 - 2, 8)) << tab;
      for (const QPoint& p : {QPoint(box.Left, box.Top + 4), QPoint(box.Left + 3, box.Top + 3)})
        EXPECT_EQ(picture.pixel(p + bar->pos()) | 0xFF000000, 0xFF000000) << tab;
    }
    const TRect second = painter->CloseBoxRect(1);
    const QPoint onBox(second.Left + 3, second.Top + 3);
    form.Answer = 1;
    PressOnBar(bar, onBox);
    EXPECT_EQ(closable->PageCount(), 3);
    form.Answer = 0;
    PressOnBar(bar, onBox);
    ASSERT_EQ(closable->PageCount(), 2);
    EXPECT_EQ(closable->Pages(1)->Caption(), QStringLiteral("实发工资"));
    EXPECT_EQ(form.Asked, std::vector<LPARAM>({1, 1}));
    // Without the tag the same place only selects the tab.
    QTabBar* plainBar = plain->Handle()->findChild<QTabBar*>();
    PressOnBar(plainBar, QPoint(plainBar->tabRect(1).right() - 4, 5));
    EXPECT_EQ(plain->PageCount(), 3);
    EXPECT_EQ(plain->ActivePageIndex(), 1);
    EXPECT_EQ(session.Exceptions, QStringList());
  }
}

TEST(SkinPainters, BareSizeBoxesShowTheFaceColourUntilTheFormIsUnskinned) {
  for (int k = 1; k <= 5; ++k) {
    SCOPED_TRACE(k);
    TSkinSession session(k);
    TForm form(nullptr);
    form.SetBounds(20, 20, 300, 200);
    // Bare windows are made with the form's window, once its frame is settled.
    QSizeGrip* grip = nullptr;
    form.OnShow = [&](TObject*) {
      grip = new QSizeGrip(form.Handle());
      grip->setGeometry(form.ClientWidth() - 16, form.ClientHeight() - 16, 16, 16);
      auto* tabStop = new QSizeGrip(form.Handle());
      tabStop->setFocusPolicy(Qt::TabFocus);
    };
    TSkinForm* skinned = ShowSkinned(&form);
    ASSERT_NE(skinned, nullptr);
    ASSERT_EQ(skinned->SizeBoxes().size(), 1u);
    EXPECT_EQ(skinned->SizeBoxes()[0]->Window(), grip);
    const QRgb face = ColorToQColor(session.Data->Model().ButtonFace).rgb();
    auto faceOnly = [&] {
      const QImage image = grip->grab().toImage().convertToFormat(QImage::Format_RGB32);
      for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
          if (image.pixel(x, y) != face) return false;
      return true;
    };
    EXPECT_TRUE(faceOnly());
    // Unskinned, the grip draws its ridges again.
    skinned->Detach();
    EXPECT_FALSE(faceOnly());
    EXPECT_EQ(session.Exceptions, QStringList());
  }
}

TEST(SkinPainters, ProgressChunksFillTheShareOfTheRangeInEverySkin) {
  const QRgb chunkColour = 0xFF123456;
  for (int k = 1; k <= 5; ++k) {
    SCOPED_TRACE(k);
    TSkinSession session(k);
    TDataSkinBorder& element = *session.Data->Model().Progress;
    element.Style = 1;
    QImage chunk(6, 8, QImage::Format_RGB32);
    chunk.fill(chunkColour);
    element.Image2.SetImage(chunk);
    TForm form(nullptr);
    form.SetBounds(20, 20, 260, 160);
    struct Bar { Integer Min, Max, Position; };
    const Bar bars[] = {{0, 100, 0}, {0, 100, 50}, {0, 100, 100}, {50, 150, 100}};
    std::vector<TProgressBar*> progress;
    for (size_t i = 0; i < std::size(bars); ++i) {
      auto* p = Add<TProgressBar>(form, Bounds(10, 10 + Integer(i) * 24, 200, 16));
      p->SetMin(bars[i].Min);
      p->SetMax(bars[i].Max);
      p->SetPosition(bars[i].Position);
      progress.push_back(p);
    }
    ASSERT_NE(ShowSkinned(&form), nullptr);
    const QImage picture = Grab(form.Handle());
    const Integer inner = 200 - element.LeftWidth - element.RightWidth;
    for (size_t i = 0; i < std::size(bars); ++i) {
      const QImage bar = Part(picture, progress[i]);
      const Integer filled = ProgressFill(inner, bars[i].Position, bars[i].Min, bars[i].Max);
      EXPECT_EQ(filled, inner * (bars[i].Position - bars[i].Min) / (bars[i].Max - bars[i].Min)) << i;
      if (filled > 2) {
        EXPECT_EQ(bar.pixel(element.LeftWidth + 1, 8) | 0xFF000000, chunkColour) << i;
        EXPECT_EQ(bar.pixel(element.LeftWidth + filled - 2, 8) | 0xFF000000, chunkColour) << i;
      }
      if (filled + 2 < inner) {
        EXPECT_NE(bar.pixel(element.LeftWidth + filled + 2, 8) | 0xFF000000, chunkColour) << i;
      }
    }
    EXPECT_EQ(session.Exceptions, QStringList());
  }
}

TEST(SkinPainters, ASkinWithoutAnElementLeavesItsControlsAsTheyDrawThemselves) {
  TSkinSession session(3);
  TSkinModel& m = session.Data->Model();
  m.Buttons->Image.SetImage(QImage());
  m.Buttons->CheckButton.SetImage(QImage());
  m.Buttons->RadioButton.SetImage(QImage());
  m.Progress.reset();
  m.Tabs.reset();
  TForm form(nullptr);
  form.SetBounds(20, 20, 400, 200);
  auto* pages = Add<TPageControl>(form, Bounds(200, 10, 180, 100));
  auto* sheet = new TTabSheet(&form);
  sheet->SetPageControl(pages);
  const std::vector<TControl*> controls = {Add<TButton>(form, Bounds(10, 10, 90, 26), "确定"),
                                           Add<TCheckBox>(form, Bounds(10, 40, 120, 20), "选中"),
                                           Add<TRadioButton>(form, Bounds(10, 65, 120, 20), "单选"),
                                           Add<TProgressBar>(form, Bounds(10, 90, 150, 16)), pages, sheet};
  TSkinForm* skinned = ShowSkinned(&form);
  ASSERT_NE(skinned, nullptr);
  EXPECT_TRUE(skinned->FrameSkinned());
  for (TControl* control : controls) EXPECT_EQ(skinned->FindPainter(control), nullptr) << qPrintable(control->ClassName());
  EXPECT_EQ(session.Exceptions, QStringList());
}

TEST(SkinPainters, OverflowingTabsShowTheirScrollArrowsAsUpDownButtons) {
  for (int k = 1; k <= 5; ++k) {
    SCOPED_TRACE(k);
    TSkinSession session(k);
    TForm form(nullptr);
    form.SetBounds(20, 20, 260, 160);
    auto* pages = Add<TPageControl>(form, Bounds(10, 10, 160, 100));
    for (int i = 1; i <= 8; ++i) {
      auto* sheet = new TTabSheet(&form);
      sheet->SetPageControl(pages);
      sheet->SetCaption(QStringLiteral("第%1月").arg(i));
    }
    ASSERT_NE(ShowSkinned(&form), nullptr);
    QTabBar* bar = pages->Handle()->findChild<QTabBar*>();
    std::vector<QToolButton*> arrows;
    for (QToolButton* arrow : bar->findChildren<QToolButton*>())
      if (arrow->isVisible()) arrows.push_back(arrow);
    ASSERT_EQ(arrows.size(), 2u);
    // At the first tab the left arrow cannot scroll: disabled; the right one is normal.
    for (QToolButton* arrow : arrows) {
      const bool left = arrow->arrowType() == Qt::LeftArrow;
      TBitmap expected(arrow->width(), arrow->height());
      const TRect whole(0, 0, arrow->width(), arrow->height());
      expected.Canvas()->Brush()->SetColor(session.Data->Model().ButtonFace);
      expected.Canvas()->FillRect(whole);
      DrawUpDownButton(expected.Canvas(), whole, session.Data->Model(), true, left ? 0 : 1, left ? 3 : 1);
      EXPECT_EQ(arrow->grab().toImage().convertToFormat(QImage::Format_RGB32),
                expected.Image().convertToFormat(QImage::Format_RGB32)) << left;
    }
    EXPECT_EQ(session.Exceptions, QStringList());
  }
}
