#pragma once
// What the engine knows about the current skin: colours, the window frame, the caption text
// layout and buttons, and one element per kind of control, built from a skin package. Painters
// read it and never change it.
#include "platform/ui/Graphics.h"
#include "skin/SkinImage.h"
#include <QBrush>
#include <QByteArray>
#include <array>
#include <memory>
#include <vector>

// One skinned kind of control: its frames side by side in Image, with margins and colours.
class TDataSkinObject {
public:
  explicit TDataSkinObject(const String& ASectionName) : SectionName(ASectionName) {}
  virtual ~TDataSkinObject() = default;
  TSkinMargins Margins() const { return {LeftWidth, TopHeight, RightWidth, BottomHeight}; }

  Integer LeftWidth = 0;
  Integer TopHeight = 0;
  Integer RightWidth = 0;
  Integer BottomHeight = 0;
  TBitmap Image;
  Integer Trans = 0;  // 1: magenta is transparent
  Integer Tile = 0;   // 1: the centre is repeated instead of stretched
  String SectionName;
  Integer FrameCount = 1;
  Integer Style = 0;
  Integer NormalColour = -1;  // text colours; -1: none
  Integer MouseOverColour = -1;
  Integer PressedColour = -1;
  TColor NormalColour2 = clBtnText;
  TColor MouseOverColour2 = clBtnText;
  TColor PressedColour2 = clBtnText;
};

// An element with a second image: the tab border, the progress chunk, the up-down glyphs, the
// combo button's mirrored face. The four window borders are of this kind too.
class TDataSkinBorder : public TDataSkinObject {
public:
  using TDataSkinObject::TDataSkinObject;
  TBitmap Image2;
};

// The caption text layout. Its margins mean: LeftWidth the text shift, TopHeight the vertical
// text shift, RightWidth the right clip; Image is the text back.
class TDataSkinTitle : public TDataSkinObject {
public:
  using TDataSkinObject::TDataSkinObject;
  Integer TextShift() const { return LeftWidth; }
  Integer TextShiftVert() const { return TopHeight; }
  Integer TextRightClip() const { return RightWidth; }
  Integer TextAlignment = 0;
  Integer Textbackground = 0;
  Integer FontHeight = 14;
  Integer TXTBackleft = 0;
  Integer TXTBackRight = 0;
  TColor ActiveTextColour = clNone;  // clNone: the skin gives none
  TColor InActiveTextColour = clNone;
};

// The push-button element, with the check-box and radio-button glyph strips.
class TDataSkinButton : public TDataSkinObject {
public:
  using TDataSkinObject::TDataSkinObject;
  TBitmap CheckButton;
  TBitmap RadioButton;
  Integer RadioButtonFrame = 0;
  Integer CheckButtonFrame = 0;
  bool HasNormalColour2 = false;
  bool HasMouseOverColour2 = false;
  bool HasPressedColour2 = false;
};

// One caption button.
class TDataSkinSysButton : public TDataSkinObject {
public:
  using TDataSkinObject::TDataSkinObject;
  Integer Action = 0;
  Integer Align = 0;
  Integer Xcoord = 0;
  Integer Ycoord = 0;
  Integer CombineOp = -1;
  Integer Visibility = 0;
  Integer Visibility1 = 0;
};

// The group-box caption background.
class TDataSkinBoxLabel : public TDataSkinObject {
public:
  using TDataSkinObject::TDataSkinObject;
  Integer BackgroundLeftShift = 0;
  Integer BackgroundRightShift = 0;
  Integer BackgroundAlignment = 0;
};

class TSkinModel {
public:
  TSkinModel();
  TSkinModel(TSkinModel&&) noexcept;
  TSkinModel& operator=(TSkinModel&&) noexcept;
  ~TSkinModel();

  // Builds a new model from the package and takes it over only when the whole build
  // succeeded. A refused package or a bad bitmap raises; this model then stays as it was,
  // with SkinNotBuilt set.
  void Build(const QByteArray& package);
  // The colour of the top border image at half its width and two thirds of a frame's height;
  // ButtonFace when the top border has no image.
  TColor TopBorderColour() const;

  bool SkinNotBuilt = true;
  String SkinName;

  TColor WindowText = clWindowText;
  TColor ButtonFace = clBtnFace;
  TColor ScrollbarColour = clScrollBar;  // key Scrollbar of Colours; the element of that name is below
  TColor HilightText = clHighlightText;
  TColor Hilight = clHighlight;
  TColor Menubar = clBtnFace;
  TColor Menu = clMenu;
  TColor MenuText = clMenuText;
  TColor ButtonText = clBtnText;
  TColor ButtonHilight = clBtnHighlight;
  TColor Buttonlight = clBtnHighlight;
  TColor ButtonShadow = clBtnShadow;
  TColor ButtonDkShadow = cl3DDkShadow;
  TColor MenuBarText = clMenuText;
  TColor TitleTextActive = clCaptionText;
  TColor TitleTextNoActive = clInactiveCaptionText;
  std::vector<TColor> ColourSections;
  std::array<TColor, 10> CustomColours;
  QBrush FaceBrush;

  // The window frame; always present.
  std::unique_ptr<TDataSkinBorder> Left;
  std::unique_ptr<TDataSkinBorder> Right;
  std::unique_ptr<TDataSkinBorder> Top;
  std::unique_ptr<TDataSkinBorder> Bottom;
  std::unique_ptr<TDataSkinTitle> Title;
  std::unique_ptr<TDataSkinButton> Buttons;
  std::vector<std::unique_ptr<TDataSkinSysButton>> CaptionButtons;

  // Elements the skin may lack: null then, and painters keep the plain look.
  std::unique_ptr<TDataSkinBorder> Progress;
  std::unique_ptr<TDataSkinObject> MenuBar;
  std::unique_ptr<TDataSkinObject> GroupBoxEdge;
  std::unique_ptr<TDataSkinBoxLabel> GroupBox;
  std::unique_ptr<TDataSkinBorder> Tabs;
  std::unique_ptr<TDataSkinObject> StatusBarEdges;
  std::unique_ptr<TDataSkinObject> ToolBars;
  std::unique_ptr<TDataSkinBorder> ComboButton;
  std::unique_ptr<TDataSkinObject> SunkEdge;
  std::unique_ptr<TDataSkinObject> ExtraImages;
  std::unique_ptr<TDataSkinObject> Headerbar;
  std::unique_ptr<TDataSkinObject> MenuItem;
  std::unique_ptr<TDataSkinObject> MenuBackground;
  std::unique_ptr<TDataSkinObject> Scrollbar;  // arrows and parts of scroll bars, 23 frames
  std::unique_ptr<TDataSkinObject> HorzScroll;
  std::unique_ptr<TDataSkinObject> VertScroll;
  std::unique_ptr<TDataSkinObject> HorzScrollThumb;
  std::unique_ptr<TDataSkinObject> VertScrollThumb;
  std::unique_ptr<TDataSkinObject> TrackbarThumbHorz;
  std::unique_ptr<TDataSkinObject> TrackbarThumbVert;
  std::unique_ptr<TDataSkinObject> TrackbarThumbLeft;
  std::unique_ptr<TDataSkinObject> TrackbarThumbRight;
  std::unique_ptr<TDataSkinObject> TrackbarThumbUp;
  std::unique_ptr<TDataSkinObject> TrackbarThumbDown;
  std::unique_ptr<TDataSkinBorder> UpDownHorz;
  std::unique_ptr<TDataSkinBorder> UpDownVert;
  std::unique_ptr<TDataSkinObject> Toolbar;  // a generated gradient; present after every build
};
