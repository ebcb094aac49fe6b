// Which painter a control gets and what it changes: grids, Skin3rd kinds, spin edits, check
// boxes and painters handed back by the application, in each of the program's skins.
#include "platform/ui/Panels.h"
#include "platform/ui/PropertyAccess.h"
#include "platform/ui/Spin.h"
#include "platform/ui/StdCtrls.h"
#include "skin/SkinButtons.h"
#include "skin/SkinCheckRadio.h"
#include "skin/SkinContainers.h"
#include "skin/SkinEdits.h"
#include "skin/SkinImage.h"
#include "skin/SkinObjImage.h"
#include "skin/SkinRangeControls.h"
#include "skin/SkinScrollbars.h"
#include "skin/tests/SkinTestSupport.h"
#include <QApplication>
#include <QDir>
#include <QScrollBar>
#include <gtest/gtest.h>

using namespace skintest;

namespace {

constexpr QRgb Magenta = 0xFFFF00FF;

bool IsName(const String& Name, const char* Wanted) { return Name.compare(QLatin1String(Wanted), Qt::CaseInsensitive) == 0; }

// A grid as far as the skin sees one: it publishes the colour of its fixed cells and paints
// its first row in it; its vertical bar comes when it has more rows than fit.
class TFixtureGrid : public TCustomControl, public IPublishedProperties {
public:
  explicit TFixtureGrid(TComponent* AOwner) : TCustomControl(AOwner) {}
  String ClassName() const override { return QStringLiteral("TFixtureGrid"); }
  bool ReadOrdProperty(const String& Name, Integer& Value) const override {
    if (!IsName(Name, "FixedColor")) return false;
    Value = FFixedColor;
    return true;
  }
  bool WriteProperty(const String& Name, const String& Text) override {
    if (!IsName(Name, "FixedColor")) return false;
    FFixedColor = TColor(Text.toInt());
    Invalidate();
    return true;
  }
  TColor FixedColor() const { return FFixedColor; }
  void SetRows(Integer Rows) {
    TScrollInfo info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    info.nMin = 0;
    info.nMax = Rows - 1;
    info.nPage = Cardinal(ClientHeight() / 20);
    SetScrollInfo(SB_VERT, info, true);
  }

protected:
  void Paint() override {
    Canvas()->Brush()->SetStyle(bsSolid);
    Canvas()->Brush()->SetColor(clWindow);
    Canvas()->FillRect(ClientRect());
    Canvas()->Brush()->SetColor(FFixedColor);
    Canvas()->FillRect(TRect(0, 0, ClientWidth(), 20));
  }

private:
  TColor FFixedColor = clBtnFace;
};

// A check box of another library that takes custom glyphs through its published properties.
class TGlyphCheck : public TCheckBox, public IPublishedProperties {
public:
  explicit TGlyphCheck(TComponent* AOwner) : TCheckBox(AOwner) {}
  String ClassName() const override { return QStringLiteral("TGlyphCheck"); }
  bool ReadObjectProperty(const String& Name, TObject*& Value) const override {
    if (!IsName(Name, "CustomGlyphs")) return false;
    Value = const_cast<TBitmap*>(&Glyphs);
    return true;
  }
  bool WriteProperty(const String& Name, const String& Text) override {
    if (IsName(Name, "UseCustomGlyphs")) {
      UseCustom = Text.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0;
      ++Switches;
      return true;
    }
    if (IsName(Name, "transparentcolor")) {
      TransparentColor = TColor(Text.toInt());
      return true;
    }
    return false;
  }
  TBitmap Glyphs;
  bool UseCustom = false;
  Integer Switches = 0;
  TColor TransparentColor = clNone;
};

// A data-aware check box: it publishes the field it shows.
class TFieldCheck : public TCheckBox, public IPublishedProperties {
public:
  explicit TFieldCheck(TComponent* AOwner) : TCheckBox(AOwner) {}
  bool ReadTextProperty(const String& Name, String& Value) const override {
    if (!IsName(Name, "DataField")) return false;
    Value = QStringLiteral("Paid");
    return true;
  }
};

// Containers known to the skin only by their class names in Skin3rd.
class TChoiceBox : public TPanel {
public:
  TChoiceBox(TComponent* AOwner, const char* Name) : TPanel(AOwner), FName(QString::fromLatin1(Name)) {}
  String ClassName() const override { return FName; }
private:
  String FName;
};

template <class T, class... Args>
T* Add(TWinControl* Parent, TComponent* Owner, TRect Bounds, Args... More) {
  auto* c = new T(Owner, More...);
  c->SetParent(Parent);
  c->SetBoundsRect(Bounds);
  return c;
}

QImage GrabRgb(QWidget* W) { return W->grab().toImage().convertToFormat(QImage::Format_RGB32); }

QRgb Rgb(TColor Colour) { return ColorToQColor(ColorToRGB(Colour)).rgb(); }

// The cell'th frame-sized part of Strip shows frame Frame of Image (0: magenta only).
bool CellShows(const TBitmap& Strip, Integer Cell, const TBitmap& Image, Integer Frames, Integer Frame) {
  const Integer fw = Image.Width() / Frames, fh = Image.Height();
  const QImage strip = Strip.Image().convertToFormat(QImage::Format_RGB32);
  const QImage image = Image.Image().convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < fh; ++y)
    for (int x = 0; x < fw; ++x) {
      const QRgb want = Frame == 0 ? Magenta : image.pixel((Frame - 1) * fw + x, y) | 0xFF000000;
      if ((strip.pixel(Cell * fw + x, y) | 0xFF000000) != want) return false;
    }
  return true;
}

}  // namespace

TEST(SkinDispatch, APainterHandedBackAgainStaysOnceInTheListAndIsFreedOnce) {
  TSkinSession session(1);
  TForm form(nullptr);
  form.SetBounds(20, 20, 300, 200);
  auto* first = Add<TButton>(&form, &form, Bounds(10, 10, 80, 26));
  auto* second = Add<TButton>(&form, &form, Bounds(10, 50, 80, 26));
  TSkinButton* shared = nullptr;
  Integer asked = 0;
  session.Data->OnSkinControl = [&](TComponent*, TSkinData*, TWinControl*, TControl* Control, const String&, TComponent*& Painter) {
    if (Control != first && Control != second) return;
    ++asked;
    if (!shared) shared = new TSkinButton();
    Painter = shared;
  };
  TSkinForm* skinned = ShowSkinned(&form);
  ASSERT_NE(skinned, nullptr);
  EXPECT_GE(asked, 2);
  EXPECT_EQ(skinned->FindPainter(second), nullptr);
  EXPECT_EQ(std::count_if(skinned->Painters().begin(), skinned->Painters().end(), [&](const auto& p) { return p.get() == shared; }), 1);
  EXPECT_EQ(shared->Control(), first);
  // Unskinning frees every painter once (a double free shows under the address sanitizer).
  session.Manager()->SetTarget(session.Data.get());
  session.Manager()->Post(TSkinManage::cmUnskinAll, 250);
  session.Manager()->TimerTick();
  EXPECT_EQ(session.Manager()->SkinnedFormOf(&form), nullptr);
  EXPECT_EQ(session.Exceptions, QStringList());
}

TEST(SkinDispatch, GridsTakeTheFaceColourAndSkinnedBarsThatComeLater) {
  for (int k = 1; k <= 5; ++k) {
    SCOPED_TRACE(k);
    TSkinSession session(k);
    TForm form(nullptr);
    form.SetBounds(20, 20, 360, 260);
    // A grid whose rows all fit: no bar when the form is skinned.
    auto* grid = Add<TFixtureGrid>(&form, &form, Bounds(10, 10, 200, 200));
    TSkinForm* skinned = ShowSkinned(&form);
    ASSERT_NE(skinned, nullptr);
    auto* painter = dynamic_cast<TSkinScrollbar*>(skinned->FindPainter(grid));
    ASSERT_NE(painter, nullptr);
    EXPECT_FALSE(painter->VertCover()->Shown());
    const TSkinModel& m = session.Data->Model();
    EXPECT_EQ(grid->FixedColor(), m.ButtonFace);
    EXPECT_EQ(GrabRgb(grid->Handle()).pixel(100, 10), Rgb(m.ButtonFace));

    // Rows added: the bar that appears is drawn from the skin.
    grid->SetRows(100);
    grid->Invalidate();
    QApplication::processEvents();
    ASSERT_TRUE(painter->VertCover()->Shown());
    QScrollBar* bar = painter->VertCover()->Bar();
    ASSERT_NE(bar, nullptr);
    const Integer arrow = GetSystemMetrics(SM_CXHSCROLL);
    const Integer thick = ScrollBarThickness(m.Scrollbar->Image.Height(), arrow);
    TBitmap up(thick, arrow);
    up.Canvas()->Brush()->SetColor(TColor(0xFF00FF));
    up.Canvas()->FillRect(TRect(0, 0, thick, arrow));
    DrawSkinFrame(up.Canvas(), TRect(0, 0, thick, arrow), m.Scrollbar->Image, 9, 23, true);
    const QRgb expected = up.Image().pixel(thick / 2, arrow / 2) | 0xFF000000;
    ASSERT_NE(expected, Magenta);
    EXPECT_EQ(GrabRgb(bar).pixel(thick / 2, arrow / 2), expected);

    // Another skin: owned grids take its face colour.
    const int next = k % 5 + 1;
    session.Data->SetSkinFile(QDir(RptFolder()).filePath(QStringLiteral("Skin%1.skn").arg(next)));
    session.Data->SetActive(false);
    session.Data->SetActive(true);
    session.Manager()->TimerTick();
    QApplication::processEvents();
    EXPECT_EQ(grid->FixedColor(), session.Data->Model().ButtonFace);
    EXPECT_EQ(GrabRgb(grid->Handle()).pixel(100, 10), Rgb(session.Data->Model().ButtonFace));
    EXPECT_EQ(session.Exceptions, QStringList());
  }
}

TEST(SkinDispatch, Skin3rdGroupsGiveTheirChildrenRadioAndCheckGlyphsAndEmbeddedBarsCovers) {
  for (int k = 1; k <= 5; ++k) {
    SCOPED_TRACE(k);
    TSkinSession session(k);
    session.Data->Skin3rd()->Add(QStringLiteral("TRadioChoices=radiogroup"));
    session.Data->Skin3rd()->Add(QStringLiteral("TCheckChoices=checkgroup"));
    session.Data->Skin3rd()->Add(QStringLiteral("TScrollingBox=embedscrollbar"));
    TForm form(nullptr);
    form.SetBounds(20, 20, 480, 300);
    auto* radios = Add<TChoiceBox>(&form, &form, Bounds(10, 10, 200, 90), "TRadioChoices");
    auto* checks = Add<TChoiceBox>(&form, &form, Bounds(220, 10, 200, 90), "TCheckChoices");
    TGlyphCheck* radio[2] = {Add<TGlyphCheck>(radios, &form, Bounds(8, 8, 120, 20)), Add<TGlyphCheck>(radios, &form, Bounds(8, 40, 120, 20))};
    TGlyphCheck* check = Add<TGlyphCheck>(checks, &form, Bounds(8, 8, 120, 20));
    auto* box = Add<TChoiceBox>(&form, &form, Bounds(10, 110, 300, 150), "TScrollingBox");
    auto* memo = Add<TMemo>(box, &form, Bounds(5, 5, 150, 100));
    auto* scroller = Add<TScrollBar>(box, &form, Bounds(170, 5, 17, 100));
    scroller->SetKind(sbVertical);
    TSkinForm* skinned = ShowSkinned(&form);
    ASSERT_NE(skinned, nullptr);
    const TSkinModel& m = session.Data->Model();
    const TDataSkinButton& b = *m.Buttons;

    for (TGlyphCheck* r : radio) {
      auto* painter = dynamic_cast<TSkinObjImage*>(skinned->FindPainter(r));
      ASSERT_NE(painter, nullptr);
      EXPECT_EQ(painter->Kind(), 2);
      EXPECT_TRUE(r->UseCustom);
      EXPECT_EQ(r->Switches, 2);
      EXPECT_EQ(r->TransparentColor, TColor(0xFF00FF));
      const Integer frames[] = {1, 2, 1, 2, 3, 4};
      for (Integer cell = 0; cell < 6; ++cell)
        EXPECT_TRUE(CellShows(r->Glyphs, cell, b.RadioButton, b.RadioButtonFrame, frames[cell])) << cell;
    }
    auto* checkPainter = dynamic_cast<TSkinObjImage*>(skinned->FindPainter(check));
    ASSERT_NE(checkPainter, nullptr);
    EXPECT_EQ(checkPainter->Kind(), 1);
    EXPECT_TRUE(check->UseCustom);
    const Integer grey = b.CheckButtonFrame == 5 ? 5 : 0;
    const Integer checkFrames[] = {1, 2, grey, 1, 2, grey, 3, 4, grey};
    for (Integer cell = 0; cell < 9; ++cell)
      EXPECT_TRUE(CellShows(check->Glyphs, cell, b.CheckButton, b.CheckButtonFrame, checkFrames[cell])) << cell;
    EXPECT_NE(dynamic_cast<TSkinGroupBox*>(skinned->FindPainter(radios)), nullptr);
    EXPECT_NE(dynamic_cast<TSkinGroupBox*>(skinned->FindPainter(checks)), nullptr);
    // The embedding box gets nothing itself; its scrolling children get covers.
    EXPECT_EQ(skinned->FindPainter(box), nullptr);
    EXPECT_NE(dynamic_cast<TSkinScrollbar*>(skinned->FindPainter(memo)), nullptr);
    EXPECT_NE(dynamic_cast<TSkinScControl*>(skinned->FindPainter(scroller)), nullptr);

    // Unskinned, the controls use their own glyphs again.
    session.Manager()->SetTarget(session.Data.get());
    session.Manager()->Post(TSkinManage::cmUnskinAll, 250);
    session.Manager()->TimerTick();
    EXPECT_FALSE(radio[0]->UseCustom);
    EXPECT_FALSE(check->UseCustom);
    EXPECT_EQ(session.Exceptions, QStringList());
  }
}

TEST(SkinDispatch, SpinEditButtonsAreDrawnFromTheSkinsUpDownElement) {
  for (int k = 1; k <= 5; ++k) {
    SCOPED_TRACE(k);
    TSkinSession session(k);
    TForm form(nullptr);
    form.SetBounds(20, 20, 300, 200);
    auto* spin = Add<TSpinEdit>(&form, &form, Bounds(10, 10, 120, 30));
    TSkinForm* skinned = ShowSkinned(&form);
    ASSERT_NE(skinned, nullptr);
    auto* painter = dynamic_cast<TSkinEdit*>(skinned->FindPainter(spin));
    ASSERT_NE(painter, nullptr);
    QApplication::processEvents();
    const QImage picture = GrabRgb(spin->Handle());
    ASSERT_NE(painter->UpDown(), nullptr);
    EXPECT_TRUE(painter->UpDown()->Embedded());
    TRect buttons;
    ASSERT_TRUE(IntersectRect(buttons, spin->ButtonsRect(), TRect(3, 3, spin->Width() - 3, spin->Height() - 3)));
    // What the buttons must look like: white under both halves in their normal frames.
    const Integer w = buttons.Width(), h = buttons.Height();
    TBitmap expected(w, h);
    expected.Canvas()->Brush()->SetColor(clWhite);
    expected.Canvas()->FillRect(TRect(0, 0, w, h));
    DrawUpDownButton(expected.Canvas(), TRect(0, 0, w, h / 2), session.Data->Model(), false, 0, 1);
    DrawUpDownButton(expected.Canvas(), TRect(0, h / 2, w, h), session.Data->Model(), false, 1, 1);
    const QImage want = expected.Image().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(picture.copy(buttons.Left, buttons.Top, w, h), want);
    EXPECT_EQ(session.Exceptions, QStringList());
  }
}

TEST(SkinDispatch, CheckBoxFramesOfTwelveFrameImagesDataFieldsAndTheRightButtonLayout) {
  // Twelve frames in twelve colours, so that the frame shown is read off one pixel.
  auto colourOf = [](Integer Frame) { return TColor(0x101010 * Frame + 0x000040); };
  for (int k = 1; k <= 5; ++k) {
    SCOPED_TRACE(k);
    TSkinSession session(k);
    TDataSkinButton& b = *session.Data->Model().Buttons;
    TBitmap twelve(12 * 13, 13);
    for (Integer f = 1; f <= 12; ++f) {
      twelve.Canvas()->Brush()->SetColor(colourOf(f));
      twelve.Canvas()->FillRect(Bounds((f - 1) * 13, 0, 13, 13));
    }
    b.CheckButton.Assign(&twelve);
    b.CheckButtonFrame = 12;
    TForm form(nullptr);
    form.SetBounds(20, 20, 360, 320);
    struct Case { TCheckBoxState State; bool Enabled; Integer Frame; };
    const Case cases[] = {{cbUnchecked, true, 1}, {cbChecked, true, 5}, {cbGrayed, true, 9},
                          {cbUnchecked, false, 4}, {cbChecked, false, 8}, {cbGrayed, false, 12}};
    std::vector<TCheckBox*> boxes;
    for (const Case& c : cases) {
      auto* box = Add<TCheckBox>(&form, &form, Bounds(10, 10 + 30 * Integer(boxes.size()), 150, 22));
      box->SetAllowGrayed(true);
      box->SetState(c.State);
      box->SetEnabled(c.Enabled);
      boxes.push_back(box);
    }
    auto* field = Add<TFieldCheck>(&form, &form, Bounds(180, 10, 150, 22));
    auto* right = Add<TCheckBox>(&form, &form, Bounds(180, 50, 150, 22));
    right->SetAlignment(taLeftJustify);
    TSkinForm* skinned = ShowSkinned(&form);
    ASSERT_NE(skinned, nullptr);
    auto boxPixel = [](TCheckBox* Box, int X) { return GrabRgb(Box->Handle()).pixel(X, Box->Height() / 2); };
    for (size_t i = 0; i < boxes.size(); ++i) EXPECT_EQ(boxPixel(boxes[i], 6), Rgb(colourOf(cases[i].Frame))) << i;
    // The box of a right-button layout ends at the right edge.
    EXPECT_EQ(boxPixel(right, right->Width() - 7), Rgb(colourOf(1)));
    EXPECT_NE(boxPixel(right, 6), Rgb(colourOf(1)));

    // A data-aware box shows the state last set by BM_SETCHECK, whatever its State reads.
    field->Perform(BM_SETCHECK, BST_INDETERMINATE);
    EXPECT_EQ(boxPixel(field, 6), Rgb(colourOf(9)));
    field->SetState(cbChecked);
    EXPECT_EQ(boxPixel(field, 6), Rgb(colourOf(9)));
    boxes[0]->SetState(cbChecked);
    EXPECT_EQ(boxPixel(boxes[0], 6), Rgb(colourOf(5)));
    EXPECT_EQ(session.Exceptions, QStringList());
  }
}
