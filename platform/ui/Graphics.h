#pragma once
// Drawing objects: fonts, pens, brushes, regions, the canvas and the graphic classes
// (bitmap, icon, picture). A canvas draws through a QPainter on a widget (only while
// that widget paints) or on a bitmap's image (at any time).
#include "platform/rtl/Classes.h"
#include "platform/ui/SystemColors.h"
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <memory>
#include <optional>
#include <tuple>
#include <unordered_map>
#include <vector>

class TCanvas;

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
using TFontName = String;
using TFontCharset = Byte;
constexpr TFontCharset ANSI_CHARSET = 0, DEFAULT_CHARSET = 1, SYMBOL_CHARSET = 2, GB2312_CHARSET = 134;

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode { pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
                pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor };
// How the ends of a wide line look, and how the segments of a wide polyline meet.
enum TPenEndCap { pecFlat, pecSquare, pecRound };
enum TPenJoinStyle { pjsMiter, pjsBevel, pjsRound };
enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
enum TFillMode { fmAlternate, fmWinding };

// A drawing object that tells its owner when it changes.
class TGraphicsObject : public TPersistent {
public:
  TNotifyEvent OnChange;
protected:
  void Changed();
};

class TFont : public TGraphicsObject {
public:
  TFont();
  void Assign(TPersistent* Source) override;
  String ClassName() const override { return QStringLiteral("TFont"); }

  const TFontName& Name() const { return FName; }
  void SetName(const TFontName& Value);
  // Points; Height is the matching character height in pixels, negative as stored.
  Integer Size() const;
  void SetSize(Integer Value);
  Integer Height() const { return FHeight; }
  void SetHeight(Integer Value);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TFontCharset Charset() const { return FCharset; }
  void SetCharset(TFontCharset Value);
  TFontPitch Pitch() const { return FPitch; }
  void SetPitch(TFontPitch Value);
  // Angle of the text base line in tenths of a degree, counter-clockwise.
  Integer Orientation() const { return FOrientation; }
  void SetOrientation(Integer Value);
  Integer PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(Integer Value) { FPixelsPerInch = Value; }

  QFont ToQFont() const;
  friend bool operator==(const TFont& a, const TFont& b);
private:
  void Modified();
  mutable std::optional<QFont> FQFont;  // made again after any change
  TFontName FName;
  Integer FHeight;
  TFontStyles FStyle;
  TColor FColor = clWindowText;
  TFontCharset FCharset = DEFAULT_CHARSET;
  TFontPitch FPitch = fpDefault;
  Integer FOrientation = 0;
  Integer FPixelsPerInch;
};

class TPen : public TGraphicsObject {
public:
  void Assign(TPersistent* Source) override;
  String ClassName() const override { return QStringLiteral("TPen"); }
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  Integer Width() const { return FWidth; }
  void SetWidth(Integer Value);
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle Value);
  TPenMode Mode() const { return FMode; }
  void SetMode(TPenMode Value);
  // A square cap reaches half the width beyond the end point, so wide lines that meet at a
  // corner cover it whole.
  TPenEndCap EndCap() const { return FEndCap; }
  void SetEndCap(TPenEndCap Value);
  TPenJoinStyle JoinStyle() const { return FJoinStyle; }
  void SetJoinStyle(TPenJoinStyle Value);
private:
  TColor FColor = clBlack;
  Integer FWidth = 1;
  TPenStyle FStyle = psSolid;
  TPenMode FMode = pmCopy;
  TPenEndCap FEndCap = pecFlat;
  TPenJoinStyle FJoinStyle = pjsMiter;
};

class TBrush : public TGraphicsObject {
public:
  void Assign(TPersistent* Source) override;
  String ClassName() const override { return QStringLiteral("TBrush"); }
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);     // a colour also makes a clear brush solid
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle Value);
  QBrush ToQBrush() const;
private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
};

enum TRegionCombineMode { RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5 };

// A set of pixels, for clipping and hit tests.
class TRegion {
public:
  TRegion() = default;
  explicit TRegion(const TRect& R);
  explicit TRegion(const QRegion& R) : FRegion(R) {}
  static TRegion Polygon(const std::vector<TPoint>& Points, TFillMode Mode = fmAlternate);
  void Combine(const TRegion& A, const TRegion& B, TRegionCombineMode Mode);
  bool Contains(TPoint P) const { return FRegion.contains(QPoint(P.X, P.Y)); }
  void Offset(Integer DX, Integer DY) { FRegion.translate(DX, DY); }
  TRect BoundingBox() const;
  bool IsEmpty() const { return FRegion.isEmpty(); }
  const QRegion& ToQRegion() const { return FRegion; }
private:
  QRegion FRegion;
};

struct TTextMetric {
  Integer tmHeight = 0, tmAscent = 0, tmDescent = 0, tmInternalLeading = 0, tmExternalLeading = 0,
          tmAveCharWidth = 0, tmMaxCharWidth = 0;
  Integer tmOverhang = 0;  // outline fonts draw bold and italic without extra width
};

enum TCopyMode { cmSrcCopy, cmSrcAnd, cmSrcPaint, cmSrcInvert, cmNotSrcCopy, cmMergePaint, cmBlackness, cmWhiteness };
enum TMapMode { MM_TEXT = 1, MM_ANISOTROPIC = 8 };

class TGraphic;

class TCanvas : public TPersistent {
public:
  TCanvas();
  ~TCanvas() override;
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;
  String ClassName() const override { return QStringLiteral("TCanvas"); }

  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  TPen* Pen() const { return FPen.get(); }
  void SetPen(TPen* Value) { FPen->Assign(Value); }
  TBrush* Brush() const { return FBrush.get(); }
  void SetBrush(TBrush* Value) { FBrush->Assign(Value); }
  TCopyMode CopyMode() const { return FCopyMode; }
  void SetCopyMode(TCopyMode Value) { FCopyMode = Value; }
  TPoint PenPos() const { return FPenPos; }
  void SetPenPos(TPoint Value) { FPenPos = Value; }

  // Whether drawing reaches a device now (a control's canvas only while it paints).
  bool HandleAllocated() const { return FPainter != nullptr; }
  // The painter, opened on demand for canvases that own a device; nullptr when drawing
  // cannot happen now. Pen, brush, font and mapping are applied.
  QPainter* Handle();

  void FillRect(const TRect& R);
  void FrameRect(const TRect& R);
  void Rectangle(const TRect& R);
  void Rectangle(Integer X1, Integer Y1, Integer X2, Integer Y2) { Rectangle(TRect(X1, Y1, X2, Y2)); }
  void Ellipse(const TRect& R);
  void Polygon(const std::vector<TPoint>& Points);
  // The last point of every line is left out.
  void MoveTo(Integer X, Integer Y) { FPenPos = {X, Y}; }
  void LineTo(Integer X, Integer Y);
  void Polyline(const std::vector<TPoint>& Points);
  void PolyPolyline(const std::vector<std::vector<TPoint>>& Lines);
  TColor Pixel(Integer X, Integer Y);
  void SetPixel(Integer X, Integer Y, TColor Color);

  // Text at the top-left point X, Y; the background is filled unless the brush is clear.
  void TextOut(Integer X, Integer Y, const String& Text);
  // Text at X, Y clipped to R, whose background is filled unless the brush is clear; a font
  // with an orientation turns the text about X, Y.
  void TextRect(const TRect& R, Integer X, Integer Y, const String& Text);
  Integer TextWidth(const String& Text) const;
  Integer TextHeight(const String& Text) const;
  TSize TextExtent(const String& Text) const;
  TTextMetric TextMetrics() const;

  void Draw(Integer X, Integer Y, TGraphic* Graphic);
  void StretchDraw(const TRect& R, TGraphic* Graphic);
  // Copies SrcRect of a bitmap canvas into Dest, scaling when sizes differ.
  void CopyRect(const TRect& Dest, TCanvas* Source, const TRect& SrcRect);
  void DrawImage(const TRect& Dest, const QImage& Image, const TRect& SrcRect);
  // Fills R with a colour by inverting the destination.
  void InvertRect(const TRect& R);

  // Clipping in logical coordinates; the clip rectangle is the visible part of the device.
  TRect ClipRect() const;
  void SetClipRect(const TRect& R);
  void IntersectClipRect(const TRect& R);
  void ExcludeClipRect(const TRect& R);
  void SelectClipRegion(const TRegion* Region);  // nullptr removes the clip
  bool HasClipRegion() const { return FHasClip; }
  TRegion ClipRegion() const;
  // Saves pen, brush, font, clip and mapping; RestoreState(Index) returns to that level.
  Integer SaveState();
  void RestoreState(Integer Index);

  // Mapping: logical point p lands at ViewportOrg + (p - WindowOrg) * ViewportExt / WindowExt.
  void SetMapMode(TMapMode Mode);
  void SetWindowOrg(TPoint P);
  void SetViewportOrg(TPoint P);
  void SetWindowExt(TSize S);
  void SetViewportExt(TSize S);
  TPoint WindowOrg() const { return FWindowOrg; }
  TPoint ViewportOrg() const { return FViewportOrg; }
  // Mirrors the x axis over Width device pixels, for right-to-left layouts.
  void SetMirrored(bool Value, Integer Width);
  bool Mirrored() const { return FMirrored; }
  // Logical to device coordinates.
  TPoint LogicalToDevice(TPoint P) const;

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

  // Device size (for clip computations); 0 when there is no device.
  virtual TSize DeviceSize() const;
  // Source image of this canvas when it draws on an image.
  virtual const QImage* SourceImage() const { return nullptr; }
  // The painter as it stands, without opening one or applying state.
  QPainter* Painter() const { return FPainter; }
  // Where logical (0, 0) lies on the device before mapping; set, with the device area
  // drawing may touch, by whoever lends the canvas a device.
  TPoint DeviceOrigin() const { return FDeviceOrigin; }
protected:
  void SetDeviceArea(TPoint Origin, const QRegion* Clip);
  // Opens the painter on the canvas's own device; false when it has none.
  virtual bool CreateHandle() { return false; }
  void SetPainter(QPainter* Painter, bool Owned);
  void ReleasePainter();
  QTransform Mapping() const;
private:
  // Painter state is applied in full only when the painter is new to this canvas, another
  // canvas drew with it, or clip or mapping changed; otherwise only what differs is set.
  void ApplyAll(QPainter& P);
  void ApplyFont(QPainter& P);
  void ApplyClip(QPainter& P) const;
  void StateChanged();
  const QPen& DesiredPen();
  const QBrush& DesiredBrush();
  bool DrewLastOn(const QPainter* P) const;
  bool TextStaysInside(const TRect& R, Integer X, Integer Y, const String& Text);
  void Changing();
  void DidChange();
  struct TState;

  std::unique_ptr<TFont> FFont;
  std::unique_ptr<TPen> FPen;
  std::unique_ptr<TBrush> FBrush;
  TCopyMode FCopyMode = cmSrcCopy;
  TPoint FPenPos;
  QPainter* FPainter = nullptr;
  bool FOwnsPainter = false;
  bool FHasClip = false;
  QRegion FClip;
  TMapMode FMapMode = MM_TEXT;
  TPoint FWindowOrg, FViewportOrg;
  TSize FWindowExt{1, 1}, FViewportExt{1, 1};
  bool FMirrored = false;
  Integer FMirrorWidth = 0;
  TPoint FDeviceOrigin;
  bool FHasDeviceClip = false;
  QRegion FDeviceClip;
  std::vector<TState> FSaved;
  bool FApplied = false;            // FPainter holds this canvas's clip, mapping and font
  QTransform FAppliedTransform;
  QFont FAppliedFont;
  QFont FPainterFont;               // the painter's font as it resolved FAppliedFont
  Integer FAppliedAscent = 0;
  struct TGlyphBox { Integer Advance; QRect Ink; };
  std::unordered_map<char16_t, TGlyphBox> FGlyphBoxes;  // of the applied font
  QPen FQPen;                       // the pen and brush as Qt objects, made again on change
  std::optional<std::tuple<TColor, Integer, TPenStyle, TPenMode, TPenEndCap, TPenJoinStyle>> FQPenOf;
  QBrush FQBrush;
  std::optional<std::pair<TColor, TBrushStyle>> FQBrushOf;
  std::optional<std::pair<TRect, TColor>> FFilled;  // the last solid fill, nothing drawn since
};

class TGraphic : public TPersistent {
public:
  virtual Integer Width() const = 0;
  virtual Integer Height() const = 0;
  virtual bool Empty() const = 0;
  bool Transparent() const { return FTransparent; }
  virtual void SetTransparent(bool Value);
  // Draws into R of Canvas, scaled to R.
  virtual void Draw(TCanvas* Canvas, const TRect& R) = 0;
  virtual void LoadFromStream(TStream* Stream) = 0;
  virtual void SaveToStream(TStream* Stream) = 0;
  void LoadFromFile(const String& FileName);
  void SaveToFile(const String& FileName);
  TNotifyEvent OnChange;
protected:
  void Changed();
  bool FTransparent = false;
};

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };
enum TTransparentMode { tmAuto, tmFixed };

class TBitmap : public TGraphic {
public:
  TBitmap();
  TBitmap(Integer AWidth, Integer AHeight);
  ~TBitmap() override;
  void Assign(TPersistent* Source) override;
  String ClassName() const override { return QStringLiteral("TBitmap"); }

  Integer Width() const override { return FImage.width(); }
  Integer Height() const override { return FImage.height(); }
  bool Empty() const override { return FImage.isNull(); }
  void SetWidth(Integer Value) { SetSize(Value, Height()); }
  void SetHeight(Integer Value) { SetSize(Width(), Value); }
  // Keeps the overlapping pixels; new pixels are white.
  void SetSize(Integer AWidth, Integer AHeight);
  TPixelFormat PixelFormat() const { return FPixelFormat; }
  void SetPixelFormat(TPixelFormat Value);
  // Transparent colour: the bottom-left pixel in tmAuto mode, else the one set.
  TColor TransparentColor() const;
  void SetTransparentColor(TColor Value);
  TTransparentMode TransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode Value) { FTransparentMode = Value; Changed(); }
  // The pixels of one row, in the byte order of the pixel format (blue first).
  uchar* ScanLine(Integer Row);
  // One bit per pixel: true where the pixel is not Color.
  QImage CreateMask(TColor Color) const;

  TCanvas* Canvas();
  // The image with pending drawing finished.
  const QImage& Image() const;
  void SetImage(const QImage& Value);

  void Draw(TCanvas* Canvas, const TRect& R) override;
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  void Dormant() const;  // finishes pending drawing
private:
  friend class TBitmapCanvas;
  QImage::Format ImageFormat() const;
  mutable std::unique_ptr<TCanvas> FCanvas;
  QImage FImage;
  TPixelFormat FPixelFormat = pfDevice;
  TColor FTransparentColor = clDefault;
  TTransparentMode FTransparentMode = tmAuto;
};

// A graphic that keeps decoded pixels and draws them with their alpha.
class TImageGraphic : public TGraphic {
public:
  void Assign(TPersistent* Source) override;
  Integer Width() const override { return FImage.width(); }
  Integer Height() const override { return FImage.height(); }
  bool Empty() const override { return FImage.isNull(); }
  void Draw(TCanvas* Canvas, const TRect& R) override;
  const QImage& Image() const { return FImage; }
  void SetImage(const QImage& Value);
protected:
  QImage FImage;
};

class TIcon : public TImageGraphic {
public:
  String ClassName() const override { return QStringLiteral("TIcon"); }
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
};

// The rest of Stream decoded as an image (Format nullptr: any Qt reads); raises
// EInvalidGraphic with What in the message when it cannot be read.
QImage ReadImage(TStream* Stream, const char* Format, const String& What);
void WriteImage(TStream* Stream, const QImage& Image, const char* Format);

using TGraphicFactory = std::function<std::unique_ptr<TGraphic>()>;

// Holds one graphic of whichever registered kind a file or stream contains.
class TPicture : public TPersistent {
public:
  TPicture();
  ~TPicture() override;
  void Assign(TPersistent* Source) override;
  String ClassName() const override { return QStringLiteral("TPicture"); }
  TGraphic* Graphic() const { return FGraphic.get(); }
  void SetGraphic(TGraphic* Value);  // copied
  // The graphic as a bitmap, replacing another kind by an empty bitmap.
  TBitmap* Bitmap();
  Integer Width() const { return FGraphic ? FGraphic->Width() : 0; }
  Integer Height() const { return FGraphic ? FGraphic->Height() : 0; }
  // Picks the kind by the file extension; raises EInvalidGraphic for an unknown one.
  void LoadFromFile(const String& FileName);
  void SaveToFile(const String& FileName);
  // Picks the kind by the stream's leading bytes; raises EInvalidGraphic for an unknown one.
  void LoadFromStream(TStream* Stream);
  static void RegisterFileFormat(const String& Extension, const String& Description, TGraphicFactory Factory);
  TNotifyEvent OnChange;
private:
  void Changed();
  std::unique_ptr<TGraphic> FGraphic;
};
