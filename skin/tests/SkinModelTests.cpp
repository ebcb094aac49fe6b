// Building the skin model from a package: the program's own skins, and small skins that show
// how each ini rule lands in the model.
#include "platform/ui/SystemColors.h"
#include "skin/SkinColourText.h"
#include "skin/SkinIni.h"
#include "skin/SkinLzh.h"
#include "skin/SkinModel.h"
#include "skin/SkinPixels.h"
#include "skin/SkinReader.h"
#include "skin/DefaultSkin.h"
#include "skin/SkinPacker.h"
#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

QByteArray Bmp(int w, int h, QRgb colour = qRgb(10, 20, 30)) {
  QImage image(w, h, QImage::Format_RGB888);
  image.fill(colour);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "BMP");
  return bytes;
}

QByteArray Package(const QByteArray& ini, std::vector<TSkinMember> bitmaps = {}) {
  bitmaps.insert(bitmaps.begin(), {"skin.ini", ini});
  return PackSkinPackage(BuildSkinContainer(bitmaps));
}

TSkinModel Built(const QByteArray& ini, std::vector<TSkinMember> bitmaps = {}) {
  TSkinModel model;
  model.Build(Package(ini, std::move(bitmaps)));
  return model;
}

QString RptFolder() { return QDir(QCoreApplication::applicationDirPath()).filePath("RPT"); }

// Elements whose frames lie side by side, with the counts the build gives them.
struct TElementOf {
  const char* section;
  const TDataSkinObject* element;
};

}  // namespace

TEST(SkinModel, ShippedSkinsBuildEveryElementTheirIniNames) {
  const QStringList files{"Skin1.skn", "Skin2.skn", "Skin3.skn", "Skin4.skn", "Skin5.skn", "Skin.Skn"};
  QStringList names;
  for (const QString& file : files) {
    QFile f(QDir(RptFolder()).filePath(file));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << qPrintable(f.fileName());
    const QByteArray package = f.readAll();
    TSkinReader reader;
    reader.ReadPackage(package);
    String iniName;
    TQuickIni ini;
    ini.Load(reader.GetMemberContaining(".ini", iniName));
    TSkinModel model;
    model.Build(package);
    SCOPED_TRACE(qPrintable(file));
    EXPECT_FALSE(model.SkinNotBuilt);
    names << model.SkinName;

    for (const char* key : {"WindowText", "ButtonFace", "Hilight", "Menu", "MenuText", "ButtonText", "ButtonShadow",
                            "TitleTextActive", "TitleTextNoActive"}) {
      ASSERT_FALSE(ini.ReadString("Colours", key, "").isEmpty()) << key;
    }
    EXPECT_EQ(model.ButtonFace, ColourTextToRGB(ini.ReadString("Colours", "ButtonFace", "")));
    EXPECT_EQ(model.Hilight, ColourTextToRGB(ini.ReadString("Colours", "Hilight", "")));
    EXPECT_EQ(model.TitleTextActive, ColourTextToRGB(ini.ReadString("Colours", "TitleTextActive", "")));

    const std::vector<TElementOf> elements = {
        {"Buttons", model.Buttons.get()},       {"Progress", model.Progress.get()},
        {"Tabs", model.Tabs.get()},             {"StatusBarEdges", model.StatusBarEdges.get()},
        {"ToolBars", model.ToolBars.get()},     {"ComboButton", model.ComboButton.get()},
        {"SunkEdge", model.SunkEdge.get()},     {"ExtraImages", model.ExtraImages.get()},
        {"Headerbar", model.Headerbar.get()},   {"MenuItem", model.MenuItem.get()},
        {"MenuBackground", model.MenuBackground.get()}, {"Scrollbar", model.Scrollbar.get()},
        {"HorzScroll", model.HorzScroll.get()}, {"VertScroll", model.VertScroll.get()},
        {"HorzScrollThumb", model.HorzScrollThumb.get()}, {"VertScrollThumb", model.VertScrollThumb.get()},
        {"Trackbar.ThumbHorz", model.TrackbarThumbHorz.get()}, {"Trackbar.ThumbVert", model.TrackbarThumbVert.get()},
        {"UpDown.Horz", model.UpDownHorz.get()}, {"UpDown.Vert", model.UpDownVert.get()},
        {"GroupBoxEdge", model.GroupBoxEdge.get()}, {"GroupBox", model.GroupBox.get()},
        {"Left", model.Left.get()},             {"Right", model.Right.get()}};
    for (const TElementOf& e : elements) {
      ASSERT_NE(e.element, nullptr) << e.section;
      EXPECT_FALSE(e.element->Image.Empty()) << e.section;
      EXPECT_EQ(e.element->Image.Width() % e.element->FrameCount, 0) << e.section;
    }
    for (const TDataSkinObject* stacked : std::initializer_list<const TDataSkinObject*>{model.Top.get(), model.Bottom.get(),
                                                                                      model.MenuBar.get()}) {
      ASSERT_NE(stacked, nullptr);
      EXPECT_EQ(stacked->Image.Height() % stacked->FrameCount, 0) << qPrintable(stacked->SectionName);
    }
    EXPECT_EQ(model.Top->LeftWidth, ini.ReadInteger("Personality", "TopTopHeight", -1));
    EXPECT_EQ(model.Left->TopHeight, model.Top->Image.Height() / model.Top->FrameCount);
    EXPECT_EQ(model.Buttons->CheckButton.Width() % model.Buttons->CheckButtonFrame, 0);
    EXPECT_EQ(model.Buttons->RadioButton.Width() % model.Buttons->RadioButtonFrame, 0);
    EXPECT_FALSE(model.UpDownVert->Image2.Empty());
    EXPECT_FALSE(model.Tabs->Image2.Empty());
    EXPECT_FALSE(model.Progress->Image2.Empty());
    EXPECT_EQ(model.ComboButton->Style, 2);

    // Close, maximise, restore, minimise, the window icon, and the three child-window buttons.
    ASSERT_EQ(model.CaptionButtons.size(), 8u);
    for (const auto& b : model.CaptionButtons) {
      if (b->Action == 3) {
        EXPECT_TRUE(b->Image.Empty());
        continue;
      }
      EXPECT_FALSE(b->Image.Empty()) << b->Action;
      EXPECT_EQ(b->FrameCount, 4) << b->Action;
      EXPECT_EQ(b->Image.Width() % 4, 0) << b->Action;
    }
  }
  EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), 5);

  QFile current(QDir(RptFolder()).filePath("Skin.Skn"));
  ASSERT_TRUE(current.open(QIODevice::ReadOnly));
  EXPECT_EQ(DefaultSkinPackage(), current.readAll());
}

TEST(SkinModel, ReadsBordersCaptionButtonsAndColourSectionsByTheirRules) {
  const TSkinModel m = Built(
      "[Personality]\nTop=skins\\Top.bmp\nTopTopHeight=41\nTopBotHeight=67\nTopFrame=0\nTopStretch=5\n"
      "Left=left.BMP\nLeftTopHeight=12\nLeftBotHeight=3\n"
      "[Button.Dropped]\nAction=-1\nButtonImage=b57.bmp\n"
      "[Button.Kept]\nAction=-1\nVisibility=0\nButtonImage=b57.bmp\n"
      "[Button.Narrow]\nAction=1\nButtonImage=b57.bmp\n"
      "[Button.Wide]\nAction=2\nButtonImage=b58.bmp\n"
      "[Button.Icon]\nAction=3\nButtonImage=b57.bmp\n"
      "[Button.Given]\nAction=0\nframe=4\nButtonImage=b58.bmp\n"
      "[Button]\nAction=5\n[Buttons]\nBitmap=b57.bmp\n[Button.Radio]\nAction=5\n[Button.CheckBox]\nAction=5\n"
      "[MDICONTROLS]\nImage=mdi.bmp\n"
      "[Colour3]\ncolor=1 2 3\n[COLOUR12]\n[Colours]\nButtonFace=240 240 240\n"
      "[Customcolors]\nColor4=0 0 255\n"
      "[HorzScrollThumb]\nImage=b57.bmp\nFrameCount=2\n[VertScrollThumb]\nImage=b57.bmp\n",
      {{"top.bmp", Bmp(30, 10)}, {"left.bmp", Bmp(4, 20)}, {"b57.bmp", Bmp(57, 15)}, {"b58.bmp", Bmp(58, 15)},
       {"mdi.bmp", Bmp(48, 10)}});
  EXPECT_EQ(m.Top->LeftWidth, 41);
  EXPECT_EQ(m.Top->RightWidth, 67);
  EXPECT_EQ(m.Top->FrameCount, 1);
  EXPECT_EQ(m.Top->Tile, 1);
  EXPECT_EQ(m.Top->Image.Image().size(), QSize(30, 10));  // folders in the image text are ignored
  EXPECT_TRUE(m.Left->Image.Empty());            // ".BMP" is not a bitmap name
  EXPECT_EQ(m.Left->TopHeight, 12);
  EXPECT_EQ(m.Left->BottomHeight, 3);

  struct Expected {
    const char* section;
    Integer frames;
    bool hasImage;
  };
  const Expected expected[] = {{"BUTTON.KEPT", 6, true},  {"BUTTON.NARROW", 3, true}, {"BUTTON.WIDE", 6, true},
                               {"BUTTON.ICON", 3, false}, {"BUTTON.GIVEN", 4, true}};
  ASSERT_EQ(m.CaptionButtons.size(), std::size(expected) + 3);
  for (size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(m.CaptionButtons[i]->SectionName, expected[i].section);
    EXPECT_EQ(m.CaptionButtons[i]->FrameCount, expected[i].frames) << expected[i].section;
    EXPECT_EQ(!m.CaptionButtons[i]->Image.Empty(), expected[i].hasImage) << expected[i].section;
  }
  EXPECT_EQ(m.CaptionButtons[0]->Visibility1, -1);
  for (int i = 0; i < 3; ++i) {
    const TDataSkinSysButton& b = *m.CaptionButtons[std::size(expected) + size_t(i)];
    EXPECT_EQ(b.Action, 7 + i);
    EXPECT_EQ(b.Align, 100);
    EXPECT_EQ(b.FrameCount, 4);
    EXPECT_EQ(b.Image.Image().size(), QSize(16, 10));
    EXPECT_EQ(b.Xcoord, 8 * (3 - i));
  }

  EXPECT_EQ(m.ButtonFace, RGB(240, 240, 240));
  EXPECT_EQ(m.Menubar, RGB(240, 240, 240));
  EXPECT_EQ(m.Menu, clMenu);
  EXPECT_EQ(m.ColourSections, (std::vector<TColor>{RGB(1, 2, 3), clWindowText}));
  EXPECT_EQ(m.CustomColours[4], clBlue);
  EXPECT_EQ(m.CustomColours[5], clWhite);
  EXPECT_EQ(m.HorzScrollThumb->FrameCount, 2);
  EXPECT_EQ(m.VertScrollThumb->FrameCount, 3);
  EXPECT_EQ(m.Tabs, nullptr);
  EXPECT_EQ(m.Buttons->FrameCount, 5);
  EXPECT_EQ(m.Buttons->CheckButtonFrame, 4);  // no glyph strip: at least 4
}

TEST(SkinModel, ColourTextsGiveRedGreenBlue) {
  struct Case {
    const char* text;
    TColor expected;
  };
  for (const Case& c : std::initializer_list<Case>{{"240 240 240", RGB(240, 240, 240)},
                                                   {"255,0,0", RGB(255, 0, 0)},
                                                   {" 0 , 128 ,255 ", RGB(0, 128, 255)},
                                                   {"255 128", RGB(255, 0, 0)},
                                                   {"1 2 3 4", RGB(1, 2, 3)},
                                                   {"300 256 -5", RGB(44, 0, 5)},
                                                   {"99999999999 7 8", RGB(7, 0, 0)},
                                                   {"none", RGB(0, 0, 0)}})
    EXPECT_EQ(ColourTextToRGB(c.text), c.expected) << c.text;
  EXPECT_EQ(ColourOfText("", clBtnFace), clBtnFace);
}

TEST(SkinModel, ComposesWholeComboBoxesAndTheToolbarGradient) {
  const TSkinModel m = Built(
      "[SunkEdge]\nImage=edge.bmp\nTopHeight=2\nBottomHeight=3\n[ComboButton]\nImage=button.bmp\n"
      "[Personality]\nTop=top.bmp\n[Colours]\nButtonFace=200 200 200\n",
      {{"edge.bmp", Bmp(80, 21, qRgb(0, 0, 200))}, {"button.bmp", Bmp(68, 21, qRgb(0, 200, 0))},
       {"top.bmp", Bmp(10, 30, qRgb(0, 0, 0))}});
  const Integer w = GetSystemMetrics(SM_CXHSCROLL) + 2;
  const TDataSkinBorder& button = *m.ComboButton;
  EXPECT_EQ(button.Style, 2);
  EXPECT_EQ(button.Image.Image().size(), QSize(200, 21));
  EXPECT_EQ(button.LeftWidth, 2);
  EXPECT_EQ(button.RightWidth, w + 2);
  EXPECT_EQ(button.TopHeight, 2);
  EXPECT_EQ(button.BottomHeight, 3);
  EXPECT_EQ(button.Image.Image().pixel(0, 0), qRgb(0, 0, 200));       // the edge
  EXPECT_EQ(button.Image.Image().pixel(10, 10), PixelOf(SkinMagenta));  // the text area is left clear
  EXPECT_EQ(button.Image.Image().pixel(49, 10), qRgb(0, 200, 0));     // the button on the right
  EXPECT_EQ(m.SunkEdge->Image.Image().pixel(0, 10), qRgb(0, 200, 0)); // mirrored: button on the left
  EXPECT_EQ(m.SunkEdge->LeftWidth, w + 2);
  EXPECT_EQ(m.SunkEdge->RightWidth, 2);

  ASSERT_NE(m.Toolbar, nullptr);
  EXPECT_EQ(m.Toolbar->Image.Image().size(), QSize(10, 40));
  EXPECT_EQ(ColourOfPixel(m.Toolbar->Image.Image().pixel(5, 0)), RGB(247, 247, 247));  // 15 % face, 85 % white
  // 15 % grey and 85 % the caption's black is 19; bands round toward zero on the way down.
  EXPECT_NEAR(qRed(m.Toolbar->Image.Image().pixel(5, 39)), 19, 1);
  EXPECT_EQ(m.TopBorderColour(), clBlack);
}

TEST(SkinModel, RefusedPackageOrBadBitmapLeavesTheModelInUse) {
  TSkinModel model;
  const QByteArray good = Package("[TitlebarSkin]\nSkinName=kept\n[Personality]\nTop=top.bmp\n", {{"top.bmp", Bmp(8, 20)}});
  model.Build(good);
  ASSERT_FALSE(model.SkinNotBuilt);
  QByteArray oversized = good;
  oversized[3] = char(0x70);
  QByteArray olderVersion = PackSkinPackage(QByteArray("\x1f\x4e\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 16));
  struct Case {
    const char* name;
    QByteArray package;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"truncated", good.left(good.size() - 20)},
           {"oversized", oversized},
           {"older version", olderVersion},
           {"bad bitmap", Package("[TitlebarSkin]\nSkinName=new\n[Personality]\nTop=top.bmp\n", {{"top.bmp", "not a bitmap"}})}}) {
    EXPECT_ANY_THROW(model.Build(c.package)) << c.name;
    EXPECT_TRUE(model.SkinNotBuilt) << c.name;
    EXPECT_EQ(model.SkinName, "kept") << c.name;
    EXPECT_EQ(model.Top->Image.Image().size(), QSize(8, 20)) << c.name;
    model.SkinNotBuilt = false;
  }
}

TEST(SkinModel, EmbeddedDefaultSkinBuilds) {
  TSkinModel model;
  model.Build(DefaultSkinPackage());
  EXPECT_FALSE(model.SkinNotBuilt);
  EXPECT_NE(model.MenuItem, nullptr);
}
