#include "platform/ui/SystemColors.h"
#include "skin/ImgUtil.h"
#include "skin/SkinColourText.h"
#include "skin/SkinIni.h"
#include "skin/SkinModel.h"
#include "skin/SkinPixels.h"
#include "skin/SkinReader.h"
#include "skin/SkinText.h"

namespace {

constexpr Integer ComboCellWidth = 50;
constexpr Integer ComboCellHeight = 21;

class TSkinModelBuilder {
public:
  TSkinModelBuilder(TSkinModel& model, const TSkinReader& reader, const TQuickIni& ini)
      : M(model), FReader(reader), FIni(ini), FSections(ini.ReadSections()) {}

  void Run() {
    M.SkinName = Str("TitlebarSkin", "SkinName");
    ReadBorders();
    ReadColours();
    ReadCaptionButtons();
    ReadButtons();
    ReadTitle();
    M.Progress = ReadBar("Progress");
    M.MenuBar = ReadMenuBar();
    M.GroupBoxEdge = ReadPlain<TDataSkinObject>("GroupBoxEdge");
    M.GroupBox = ReadBoxLabel("GroupBox");
    M.Tabs = ReadTwoImage("Tabs", "Border");
    M.StatusBarEdges = ReadPlain<TDataSkinObject>("StatusBarEdges");
    M.ToolBars = ReadPlain<TDataSkinObject>("ToolBars");
    M.ComboButton = ReadTwoImage("ComboButton", "****");
    if (M.ComboButton && !M.ComboButton->Image.Empty()) {
      M.ComboButton->Image2.SetImage(M.ComboButton->Image.Image());
      MirrorBitmap(&M.ComboButton->Image2);
    }
    M.SunkEdge = ReadPlain<TDataSkinObject>("SunkEdge");
    M.ExtraImages = ReadPlain<TDataSkinObject>("ExtraImages");
    M.Headerbar = ReadPlain<TDataSkinObject>("Headerbar");
    M.MenuItem = ReadPlain<TDataSkinObject>("MenuItem");
    M.MenuBackground = ReadPlain<TDataSkinObject>("MenuBackground");
    M.Scrollbar = ReadPlain<TDataSkinObject>("Scrollbar");
    M.HorzScroll = ReadPlain<TDataSkinObject>("HorzScroll");
    M.VertScroll = ReadPlain<TDataSkinObject>("VertScroll");
    M.HorzScrollThumb = ReadPlain<TDataSkinObject>("HorzScrollThumb");
    M.VertScrollThumb = ReadPlain<TDataSkinObject>("VertScrollThumb");
    M.TrackbarThumbHorz = ReadPlain<TDataSkinObject>("Trackbar.ThumbHorz");
    M.TrackbarThumbVert = ReadPlain<TDataSkinObject>("Trackbar.ThumbVert");
    M.TrackbarThumbLeft = ReadPlain<TDataSkinObject>("Trackbar.ThumbLeft");
    M.TrackbarThumbRight = ReadPlain<TDataSkinObject>("Trackbar.ThumbRight");
    M.TrackbarThumbUp = ReadPlain<TDataSkinObject>("Trackbar.ThumbUp");
    M.TrackbarThumbDown = ReadPlain<TDataSkinObject>("Trackbar.ThumbDown");
    M.UpDownHorz = ReadTwoImage("UpDown.Horz", "GlyphImage");
    M.UpDownVert = ReadTwoImage("UpDown.Vert", "GlyphImage");
    SetFrameCounts();
    ComposeCombo();
    MakeToolbarGradient();
    M.FaceBrush = QBrush(ColorToQColor(M.ButtonFace));
  }

private:
  String Str(const String& section, const String& key, const String& def = String()) const {
    return FIni.ReadString(section, key, def);
  }
  Integer Int(const String& section, const String& key, Integer def = 0) const {
    return FIni.ReadInteger(section, key, def);
  }
  TColor Colour(const String& section, const String& key, TColor def) const {
    return ColourOfText(Str(section, key), def);
  }

  // The member the image text names (folders ignored); only ".bmp" names count.
  QImage LoadImage(const String& text) const {
    const String name = text.mid(std::max(text.lastIndexOf(u'\\'), text.lastIndexOf(u':')) + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    if (name.isEmpty() || dot < 0 || name.mid(dot) != u".bmp") return QImage();
    const QByteArray member = FReader.GetMember(name);
    if (member.isEmpty()) return QImage();
    const QImage image = QImage::fromData(member, "BMP");
    if (image.isNull()) throw EInvalidGraphic("Bitmap image is not valid: " + name);
    return AsSkinBitmap(image);
  }
  QImage Image(const String& section, const String& key) const { return LoadImage(Str(section, key)); }

  void ReadMargins(TDataSkinObject& e, const String& s) const {
    e.LeftWidth = Int(s, "LeftWidth");
    e.RightWidth = Int(s, "RightWidth");
    e.TopHeight = Int(s, "TopHeight");
    e.BottomHeight = Int(s, "BottomHeight");
  }
  void ReadColours(TDataSkinObject& e, const String& s) const {
    e.NormalColour = Int(s, "NormalColour", -1);
    e.MouseOverColour = Int(s, "MouseOverColour", -1);
    e.PressedColour = Int(s, "PressedColour", -1);
    e.NormalColour2 = Colour(s, "NormalColour2", M.ButtonText);
    e.MouseOverColour2 = Colour(s, "MouseOverColour2", M.ButtonText);
    e.PressedColour2 = Colour(s, "PressedColour2", M.ButtonText);
  }

  // What plain and two-image elements share: the image, margins, transparency, tiling and
  // text colours. Null when the section names no image.
  template <typename E>
  std::unique_ptr<E> ReadElement(const String& s) const {
    const String image = Str(s, "Image");
    if (image.isEmpty()) return nullptr;
    auto e = std::make_unique<E>(s);
    e->Image.SetImage(LoadImage(image));
    ReadMargins(*e, s);
    e->Trans = Int(s, "Trans");
    e->Tile = Int(s, "Tile");
    if (e->Tile > 1) e->Tile = 0;
    ReadColours(*e, s);
    return e;
  }

  template <typename E>
  std::unique_ptr<E> ReadPlain(const String& s) const {
    auto e = ReadElement<E>(s);
    if (e) e->Style = Int(s, "Style");
    return e;
  }

  std::unique_ptr<TDataSkinBorder> ReadTwoImage(const String& s, const String& secondKey) const {
    auto e = ReadElement<TDataSkinBorder>(s);
    if (!e) return nullptr;
    const String second = Str(s, secondKey);
    if (!second.isEmpty()) e->Image2.SetImage(LoadImage(second));
    return e;
  }

  std::unique_ptr<TDataSkinBorder> ReadBar(const String& s) const {
    const String image = Str(s, "Bitmap");
    if (image.isEmpty()) return nullptr;
    auto e = std::make_unique<TDataSkinBorder>(s);
    e->Image.SetImage(LoadImage(image));
    const String chunk = Str(s, "Chunk");
    if (!chunk.isEmpty()) e->Image2.SetImage(LoadImage(chunk));
    e->Style = Int(s, "Style");
    ReadMargins(*e, s);
    e->Trans = Int(s, "Trans");
    e->Tile = std::min(Int(s, "Tile"), 1);
    return e;
  }

  std::unique_ptr<TDataSkinBoxLabel> ReadBoxLabel(const String& s) const {
    auto e = ReadPlain<TDataSkinBoxLabel>(s);
    if (!e) return nullptr;
    e->BackgroundAlignment = Int(s, "BackgroundAlignment");
    e->BackgroundLeftShift = Int(s, "BackgroundLeftShift");
    e->BackgroundRightShift = Int(s, "BackgroundRightShift");
    return e;
  }

  std::unique_ptr<TDataSkinObject> ReadMenuBar() const {
    const String image = Str("Personality", "menuBar");
    if (image.isEmpty()) return nullptr;
    auto e = std::make_unique<TDataSkinObject>("Personality");
    e->Image.SetImage(LoadImage(image));
    e->Tile = std::min(Int("Personality", "TileMenu", 1), 1);
    e->LeftWidth = Int("Personality", "TileLeftMenu", 1);
    e->RightWidth = Int("Personality", "TileRightMenu", 1);
    return e;
  }

  void ReadBorders() const {
    for (TDataSkinBorder* b : {M.Left.get(), M.Right.get(), M.Top.get(), M.Bottom.get()}) {
      const String& n = b->SectionName;
      const Integer first = Int("Personality", n + "TopHeight");
      const Integer last = Int("Personality", n + "BotHeight");
      const bool acrossTop = b == M.Top.get() || b == M.Bottom.get();
      // The two keys give the fixed ends along the border's length.
      (acrossTop ? b->LeftWidth : b->TopHeight) = first;
      (acrossTop ? b->RightWidth : b->BottomHeight) = last;
      b->FrameCount = std::max(Int("Personality", n + "Frame", 1), 1);
      b->Tile = std::min(Int("Personality", n + "Stretch", 1), 1);
      b->Trans = Int("Personality", n + "Trans", 1);
      b->Image.SetImage(Image("Personality", n));
    }
  }

  void ReadColours() const {
    M.WindowText = Colour("Colours", "WindowText", clWindowText);
    M.ButtonFace = Colour("Colours", "ButtonFace", clBtnFace);
    M.ScrollbarColour = Colour("Colours", "Scrollbar", clScrollBar);
    M.HilightText = Colour("Colours", "HilightText", clHighlightText);
    M.Hilight = Colour("Colours", "Hilight", clHighlight);
    M.Menubar = Colour("Colours", "Menubar", M.ButtonFace);
    M.Menu = Colour("Colours", "Menu", clMenu);
    M.MenuText = Colour("Colours", "MenuText", clMenuText);
    M.ButtonText = Colour("Colours", "ButtonText", clBtnText);
    M.ButtonHilight = Colour("Colours", "ButtonHilight", clBtnHighlight);
    M.Buttonlight = Colour("Colours", "Buttonlight", clBtnHighlight);
    M.ButtonShadow = Colour("Colours", "ButtonShadow", clBtnShadow);
    M.ButtonDkShadow = Colour("Colours", "ButtonDkShadow", cl3DDkShadow);
    M.MenuBarText = Colour("Colours", "MenuBarText", clMenuText);
    M.TitleTextActive = Colour("Colours", "TitleTextActive", clCaptionText);
    M.TitleTextNoActive = Colour("Colours", "TitleTextNoActive", clInactiveCaptionText);
    for (const String& s : FSections) {
      const String upper = s.toUpper();
      if (upper.startsWith(u"COLOUR") && upper != u"COLOURS") M.ColourSections.push_back(Colour(s, "color", clWindowText));
    }
    for (int i = 0; i < 10; ++i) M.CustomColours[size_t(i)] = Colour("Customcolors", "Color" + String::number(i), clWhite);
  }

  void ReadCaptionButtons() const {
    for (const String& s : FSections) {
      const String name = s.toUpper();
      if (!name.startsWith(u"BUTTON") || name == u"BUTTON" || name == u"BUTTONS" || name == u"BUTTON.RADIO" ||
          name == u"BUTTON.CHECKBOX")
        continue;
      const Integer action = Int(s, "Action");
      if (action == -1 && Int(s, "Visibility", -1) != 0) continue;
      auto b = std::make_unique<TDataSkinSysButton>(name);
      b->Action = action;
      b->Align = Int(s, "Align");
      b->Xcoord = Int(s, "Xcoord");
      b->Ycoord = Int(s, "Ycoord");
      b->Visibility = Int(s, "Visibility");
      b->Visibility1 = Int(s, "Visibility1", action == -1 ? -1 : 0);
      b->CombineOp = Int(s, "CombineOp", -1);
      b->FrameCount = Int(s, "frame");
      b->Image.SetImage(Image(s, "ButtonImage"));
      if (b->FrameCount == 0) {
        b->FrameCount = 6;
        if (!b->Image.Empty()) b->FrameCount = double(b->Image.Width()) / b->Image.Height() <= 3.8 ? 3 : 6;
        if (action < 0) b->FrameCount = 6;
        // These show the window's icon instead.
        if (action == 3 || action == 11) b->Image.SetImage(QImage());
      }
      b->FrameCount = std::max(b->FrameCount, 1);
      M.CaptionButtons.push_back(std::move(b));
    }
    // Minimise, restore and close of a maximised child window, shown in the menu bar.
    const QImage strip = Image("MDICONTROLS", "Image");
    const Integer a = strip.width() / 12;
    for (int i = 0; i < 3; ++i) {
      auto b = std::make_unique<TDataSkinSysButton>("MDICONTROLS");
      b->Action = 7 + i;
      b->Align = b->Visibility = b->Visibility1 = 100;
      b->FrameCount = 4;
      b->CombineOp = 0;
      if (a > 0) {
        b->Image.SetImage(strip.copy(4 * a * i, 0, 4 * a, strip.height()));
        b->Xcoord = (a + 4) * (3 - i);
      }
      M.CaptionButtons.push_back(std::move(b));
    }
  }

  void ReadButtons() const {
    TDataSkinButton& b = *M.Buttons;
    const String s = "Buttons";
    ReadMargins(b, s);
    b.Trans = Int(s, "Trans");
    b.Image.SetImage(Image(s, "Bitmap"));
    b.Tile = Int(s, "Tile");
    if (b.Tile > 1) b.Tile = 0;
    b.CheckButton.SetImage(Image(s, "CheckButton"));
    b.RadioButton.SetImage(Image(s, "RadioButton"));
    b.RadioButtonFrame = Int(s, "RadioButtonFrame");
    b.CheckButtonFrame = Int(s, "CheckButtonFrame");
    b.HasNormalColour2 = !Str(s, "NormalColour2").isEmpty();
    b.HasMouseOverColour2 = !Str(s, "MouseOverColour2").isEmpty();
    b.HasPressedColour2 = !Str(s, "PressedColour2").isEmpty();
    ReadColours(b, s);
  }

  void ReadTitle() const {
    TDataSkinTitle& t = *M.Title;
    const String s = "Personality";
    t.Image.SetImage(Image(s, "TextBack"));
    t.LeftWidth = Int(s, "TextShift");
    t.TopHeight = Int(s, "TextShiftVert");
    t.RightWidth = Int(s, "TextRightClip");
    t.TextAlignment = Int(s, "TextAlignment");
    t.Textbackground = Int(s, "Textbackground");
    t.TXTBackleft = Int(s, "TXTBackleft");
    t.TXTBackRight = Int(s, "TXTBackRight");
    t.FontHeight = Int("Fonts", "FontHeight", 14);
    auto textColour = [&](const String& prefix) {
      const Integer r = Int(s, prefix + "R", -1), g = Int(s, prefix + "G", -1), b = Int(s, prefix + "B", -1);
      return r >= 0 && g >= 0 && b >= 0 ? RGB(Byte(r), Byte(g), Byte(b)) : clNone;
    };
    t.ActiveTextColour = textColour("ActiveText");
    t.InActiveTextColour = textColour("InActiveText");
  }

  // Glyph strips without a count hold frames of 13 pixels (16 from 16 pixels high), at least 4.
  static Integer GlyphFrames(Integer given, const TBitmap& strip) {
    if (given != 0) return std::max(given, 1);
    return std::max(strip.Width() / (strip.Height() < 16 ? 13 : 16), 4);
  }

  void SetFrameCounts() const {
    auto set = [](TDataSkinObject* e, Integer count) {
      if (e) e->FrameCount = count;
    };
    set(M.Progress.get(), 2);
    set(M.MenuBar.get(), 2);
    set(M.GroupBoxEdge.get(), 2);
    set(M.GroupBox.get(), 1);
    set(M.Tabs.get(), 5);
    set(M.StatusBarEdges.get(), 3);
    set(M.ToolBars.get(), 5);
    set(M.ComboButton.get(), 4);
    set(M.SunkEdge.get(), 4);
    set(M.ExtraImages.get(), 5);
    set(M.Headerbar.get(), 5);
    set(M.MenuItem.get(), 5);
    set(M.MenuBackground.get(), 1);
    set(M.Scrollbar.get(), 23);
    set(M.HorzScroll.get(), 4);
    set(M.VertScroll.get(), 4);
    set(M.HorzScrollThumb.get(), std::max(Int("HorzScrollThumb", "FrameCount", 3), 1));
    set(M.VertScrollThumb.get(), std::max(Int("VertScrollThumb", "FrameCount", 3), 1));
    for (TDataSkinObject* e : {M.TrackbarThumbHorz.get(), M.TrackbarThumbVert.get(), M.TrackbarThumbLeft.get(),
                               M.TrackbarThumbRight.get(), M.TrackbarThumbUp.get(), M.TrackbarThumbDown.get()})
      set(e, 5);
    set(M.UpDownHorz.get(), 8);
    set(M.UpDownVert.get(), 8);
    M.Title->FrameCount = 2;
    M.Buttons->FrameCount = 5;
    M.Buttons->RadioButtonFrame = GlyphFrames(M.Buttons->RadioButtonFrame, M.Buttons->RadioButton);
    M.Buttons->CheckButtonFrame = GlyphFrames(M.Buttons->CheckButtonFrame, M.Buttons->CheckButton);
  }

  // Whole combo boxes, one per state: the sunken edge with the button and its glyph on the
  // right; the mirror serves combo boxes whose button sits on the left.
  void ComposeCombo() const {
    if (!M.SunkEdge || !M.ComboButton) return;
    const Integer w = GetSystemMetrics(SM_CXHSCROLL) + 2;
    const Integer n = M.SunkEdge->FrameCount;
    TBitmap strip(ComboCellWidth * n, ComboCellHeight);
    FillMagenta(strip, TRect(0, 0, strip.Width(), strip.Height()));
    const TRect cellRect{0, 0, ComboCellWidth, ComboCellHeight};
    const TRect buttonRect{ComboCellWidth - w, 0, ComboCellWidth, ComboCellHeight};
    const TDataSkinObject& edge = *M.SunkEdge;
    const TDataSkinBorder& button = *M.ComboButton;
    for (Integer k = 1; k <= n; ++k) {
      TBitmap cell(ComboCellWidth, ComboCellHeight);
      FillMagenta(cell, cellRect);
      DrawSkinImage(cell.Canvas(), cellRect, edge.Image, edge.Margins(), k, edge.FrameCount, edge.Trans == 1, false, false);
      DrawSkinImage(cell.Canvas(), buttonRect, button.Image, button.Margins(), k, button.FrameCount, true, false, false);
      if (M.ExtraImages)
        DrawSkinFrameCentred(cell.Canvas(), buttonRect, M.ExtraImages->Image, k, M.ExtraImages->FrameCount, true);
      FillMagenta(cell, TRect(2, 2, 49 - w, 18));
      strip.Canvas()->Draw(ComboCellWidth * (k - 1), 0, &cell);
    }
    TDataSkinBorder& combo = *M.ComboButton;
    combo.Style = 2;
    combo.LeftWidth = 2;
    combo.TopHeight = edge.TopHeight;
    combo.RightWidth = w + 2;
    combo.BottomHeight = edge.BottomHeight;
    combo.Image.SetImage(strip.Image());
    MirrorBitmap(&strip);
    M.SunkEdge->Image.SetImage(strip.Image());
    M.SunkEdge->LeftWidth = w + 2;
    M.SunkEdge->RightWidth = 2;
  }

  static void FillMagenta(TBitmap& bitmap, const TRect& rect) {
    bitmap.Canvas()->Brush()->SetColor(SkinMagenta);
    bitmap.Canvas()->FillRect(rect);
  }

  void MakeToolbarGradient() const {
    TBitmap gradient(10, 40);
    FillSkinGradient(gradient.Canvas(), {0, 0, 10, 40}, BlendSkinColors(M.ButtonFace, clWhite, 150), true,
                     BlendSkinColors(clGray, M.TopBorderColour(), 150));
    if (!M.Toolbar) M.Toolbar = std::make_unique<TDataSkinObject>("Toolbar");
    M.Toolbar->Image.SetImage(gradient.Image());
    M.Toolbar->FrameCount = 1;
  }

  TSkinModel& M;
  const TSkinReader& FReader;
  const TQuickIni& FIni;
  QStringList FSections;
};

}  // namespace

void TSkinModel::Build(const QByteArray& package) {
  SkinNotBuilt = true;
  TSkinReader reader;
  reader.ReadPackage(package);
  String iniName;
  TQuickIni ini;
  ini.Load(reader.GetMemberContaining(".ini", iniName));
  TSkinModel fresh;
  TSkinModelBuilder(fresh, reader, ini).Run();
  fresh.SkinNotBuilt = false;
  *this = std::move(fresh);
}
