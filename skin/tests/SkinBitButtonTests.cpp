// Buttons with glyphs: the glyph layout, and bit and speed buttons drawn in the skin's faces.
#include "platform/ui/Buttons.h"
#include "skin/SkinBitButtons.h"
#include "platform/ui/StdCtrls.h"
#include "skin/tests/SkinTestSupport.h"
#include <QAbstractButton>
#include <QApplication>
#include <QMouseEvent>
#include <gtest/gtest.h>

using namespace skintest;

namespace {

QImage Part(const QImage& Form, TControl* Control) {
  const TPoint screen = Control->Parent()->ClientToScreen({Control->Left(), Control->Top()});
  const QPoint p = Control->Parent()->Handle()->window()->mapFromGlobal(QPoint(screen.X, screen.Y));
  return Form.copy(p.x(), p.y(), Control->Width(), Control->Height()).convertToFormat(QImage::Format_RGB32);
}

// A two-frame 16 x 16 glyph: red, then blue; the bottom-left pixel of each frame is white.
std::unique_ptr<TBitmap> TwoFrameGlyph() {
  QImage image(32, 16, QImage::Format_RGB32);
  image.fill(QColor(Qt::red));
  for (int y = 0; y < 16; ++y)
    for (int x = 16; x < 32; ++x) image.setPixel(x, y, qRgb(0, 0, 255));
  image.setPixel(0, 15, qRgb(255, 255, 255));
  image.setPixel(16, 15, qRgb(255, 255, 255));
  auto glyph = std::make_unique<TBitmap>();
  glyph->SetImage(image);
  return glyph;
}

void SendMouse(QWidget* Widget, QEvent::Type Type, QPoint At) {
  QMouseEvent event(Type, At, Widget->mapToGlobal(At), Qt::LeftButton,
                    Type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(Widget, &event);
}

}  // namespace

TEST(SkinBitButtons, GlyphAndTextShareTheButtonAsItsLayoutSays) {
  // A 100 x 30 button, a 16 x 16 glyph, a 40 x 14 text.
  struct Case { Integer Layout, Margin, Spacing; bool Centred, Speed; TPoint Glyph, Text; };
  for (const Case& c : std::initializer_list<Case>{
         {0, -1, -1, false, false, {14, 7}, {44, 8}},   // margin and spacing share the rest in thirds
         {0, -1, 4, false, false, {20, 7}, {40, 8}},    // a given spacing: the rest halved
         {0, -1, 4, false, true, {21, 7}, {41, 8}},     // speed buttons one pixel further in
         {0, 5, -1, false, false, {5, 7}, {40, 8}},     // a given margin: the spacing halves the rest
         {0, 5, 4, true, false, {20, 7}, {40, 8}},      // centred ignores the margin
         {1, 5, 4, false, false, {79, 7}, {35, 8}},     // glyph right, text before it
         {2, 2, 2, false, false, {42, 2}, {30, 20}},    // glyph on top
         {3, 2, 2, false, false, {42, 12}, {30, -4}}})  // glyph at the bottom
  {
    const TGlyphLayout g = LayOutGlyph({100, 30}, {16, 16}, {40, 14}, c.Layout, c.Margin, c.Spacing, c.Centred, c.Speed);
    EXPECT_EQ((std::pair{g.Glyph.X, g.Glyph.Y}), (std::pair{c.Glyph.X, c.Glyph.Y})) << c.Layout << " " << c.Margin << " " << c.Spacing;
    EXPECT_EQ((std::pair{g.Text.X, g.Text.Y}), (std::pair{c.Text.X, c.Text.Y})) << c.Layout << " " << c.Margin << " " << c.Spacing;
  }
  // No text: no spacing either.
  EXPECT_EQ(LayOutGlyph({100, 30}, {16, 16}, {0, 0}, 0, 5, 9, false, false).Glyph.X, 5);
}

TEST(SkinBitButtons, FacesGlyphsAndFlatSpeedButtonsInEverySkin) {
  const std::unique_ptr<TBitmap> glyph = TwoFrameGlyph();
  for (int k = 1; k <= 5; ++k) {
    SCOPED_TRACE(k);
    TSkinSession session(k);
    TForm form(nullptr);
    form.SetBounds(20, 20, 400, 160);
    auto* bit = new TBitBtn(&form);
    bit->SetParent(&form);
    bit->SetBounds(10, 10, 110, 30);
    bit->SetCaption(QStringLiteral("打印"));
    bit->SetGlyph(glyph.get());
    bit->SetNumGlyphs(2);
    auto* off = new TBitBtn(&form);
    off->SetParent(&form);
    off->SetBounds(130, 10, 110, 30);
    off->SetGlyph(glyph.get());
    off->SetNumGlyphs(2);
    off->SetEnabled(false);
    auto* flat = new TSpeedButton(&form);
    flat->SetParent(&form);
    flat->SetBounds(10, 60, 60, 26);
    flat->SetFlat(true);
    flat->SetCaption(QStringLiteral("查找"));
    auto* raised = new TSpeedButton(&form);
    raised->SetParent(&form);
    raised->SetBounds(80, 60, 60, 26);
    raised->SetCaption(QStringLiteral("查找"));
    TSkinForm* skinned = ShowSkinned(&form);
    ASSERT_NE(skinned, nullptr);
    for (TControl* c : std::initializer_list<TControl*>{bit, off, flat, raised}) EXPECT_NE(skinned->FindPainter(c), nullptr) << c->Left();
    const TSkinModel& m = session.Data->Model();
    const QImage picture = Grab(form.Handle());
    auto face = [&](TControl* c, Integer frame) {
      return BuildSkinImage(TRect(0, 0, c->Width(), c->Height()), m.Buttons->Image, m.Buttons->Margins(), frame, m.Buttons->FrameCount,
                            m.Buttons->Tile == 1, false)
                 ->Image()
                 .pixel(c->Width() / 2, 2) |
             0xFF000000;
    };
    // Faces along the top edge: the bit button normal (or focused), the disabled one frame 3.
    const Integer bitFrame = bit->Focused() ? 5 : 1;
    EXPECT_EQ(Part(picture, bit).pixel(bit->Width() / 2, 2), face(bit, bitFrame));
    EXPECT_EQ(Part(picture, off).pixel(off->Width() / 2, 2), face(off, 3));
    EXPECT_EQ(Part(picture, raised).pixel(raised->Width() / 2, 2), face(raised, 1));
    // A flat speed button shows the form's face until the mouse is over it.
    EXPECT_EQ(Part(picture, flat).pixel(flat->Width() / 2, 2), ColorToQColor(m.ButtonFace).rgb());
    flat->Perform(CM_MOUSEENTER);
    EXPECT_EQ(Part(Grab(form.Handle()), flat).pixel(flat->Width() / 2, 2), face(flat, 4));
    // Glyphs: the first frame (red) when enabled, the second (blue) greyed when disabled.
    const TGlyphLayout place = LayOutGlyph({110, 30}, {16, 16}, {0, 0}, 0, -1, 4, false, false);
    const QRgb disabledGlyph = Part(picture, off).pixel(place.Glyph.X + 8, place.Glyph.Y + 8);
    EXPECT_EQ(qRed(disabledGlyph), qGreen(disabledGlyph));
    EXPECT_EQ(qGreen(disabledGlyph), qBlue(disabledGlyph));
    bool red = false;
    const QImage bitPart = Part(picture, bit);
    for (int x = 0; x < bit->Width() && !red; ++x) red = bitPart.pixel(x, 15) == qRgb(255, 0, 0);
    EXPECT_TRUE(red);
    EXPECT_EQ(session.Exceptions, QStringList());
  }
}

TEST(SkinButtons, ThePainterTakesThePressHandsItOnAndClicksOnlyOnAReleaseOverTheButton) {
  TSkinSession session(1);
  TForm form(nullptr);
  form.SetBounds(20, 20, 300, 200);
  auto* button = new TButton(&form);
  button->SetParent(&form);
  button->SetBounds(10, 10, 90, 30);
  button->SetModalResult(mrOk);
  QList<TPoint> downs;
  Integer clicks = 0;
  button->OnMouseDown = [&](TObject*, TMouseButton Button, TShiftState, Integer X, Integer Y) {
    if (Button == mbLeft) downs << TPoint(X, Y);
  };
  button->OnClick = [&](TObject*) { ++clicks; };
  TSkinForm* skinned = ShowSkinned(&form);
  ASSERT_NE(skinned, nullptr);
  auto* painter = dynamic_cast<TSkinButton*>(skinned->FindPainter(button));
  ASSERT_NE(painter, nullptr);
  auto* widget = qobject_cast<QAbstractButton*>(button->Handle());
  ASSERT_NE(widget, nullptr);

  SendMouse(widget, QEvent::MouseButtonPress, {20, 12});
  EXPECT_EQ(downs, QList<TPoint>({TPoint(20, 12)}));
  EXPECT_FALSE(widget->isDown());  // the control never saw the press
  EXPECT_TRUE(button->Focused());
  EXPECT_EQ(painter->StateFrame(), 2);
  SendMouse(widget, QEvent::MouseButtonRelease, {20, 12});
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(form.ModalResult(), mrOk);
  EXPECT_FALSE(painter->Pressed());

  // Released away from the button: no click.
  SendMouse(widget, QEvent::MouseButtonPress, {20, 12});
  SendMouse(widget, QEvent::MouseButtonRelease, {200, 12});
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(downs.size(), 2);

  // A control too wide for a message's coordinates hears of the press at the cursor.
  button->SetWidth(40000);
  TMessage press{WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam({5, 5}), 0};
  painter->ForwardMouseDown(press);
  EXPECT_EQ(downs.last(), button->ScreenToClient(GetCursorPos()));
  EXPECT_EQ(session.Exceptions, QStringList());
}

TEST(SkinButtons, TheFormKeepsOneHotButtonAndForgetsItWhenDeactivatedOrFreed) {
  TSkinSession session(3);
  TForm form(nullptr);
  form.SetBounds(20, 20, 300, 200);
  TButton* buttons[3];
  for (int i = 0; i < 3; ++i) {
    buttons[i] = new TButton(&form);
    buttons[i]->SetParent(&form);
    buttons[i]->SetBounds(10, 10 + 40 * i, 90, 30);
  }
  TSkinForm* skinned = ShowSkinned(&form);
  ASSERT_NE(skinned, nullptr);
  auto painter = [&](int i) { return dynamic_cast<TSkinButton*>(skinned->FindPainter(buttons[i])); };
  ASSERT_TRUE(painter(0) && painter(1) && painter(2));

  buttons[0]->Perform(CM_MOUSEENTER);
  EXPECT_EQ(skinned->HotButton(), painter(0));
  EXPECT_TRUE(painter(0)->Hot());
  // The mouse shows up over another button without the first hearing it leave: the first is told.
  buttons[1]->Perform(WM_MOUSEMOVE, 0, PointToLParam({5, 5}));
  EXPECT_EQ(skinned->HotButton(), painter(1));
  EXPECT_TRUE(painter(1)->Hot());
  EXPECT_FALSE(painter(0)->Hot());
  // A deactivated form has no hot button.
  form.Perform(CM_DEACTIVATE);
  EXPECT_EQ(skinned->HotButton(), nullptr);
  EXPECT_FALSE(painter(1)->Hot());
  form.Perform(CM_ACTIVATE);

  // A hot button whose control goes is forgotten with its painter.
  buttons[2]->Perform(CM_MOUSEENTER);
  EXPECT_EQ(skinned->HotButton(), painter(2));
  delete buttons[2];
  skinned->FreeDeadPainters();
  EXPECT_EQ(skinned->HotButton(), nullptr);
  form.Perform(CM_DEACTIVATE);
  EXPECT_EQ(session.Exceptions, QStringList());
}
