#include "platform/ui/Graphics.h"
#include <QBuffer>
#include <QFontMetrics>
#include <QPainterPath>
#include <QPolygon>
#include <QVarLengthArray>
#include <cmath>
#include <unordered_map>

namespace {

constexpr Integer DefaultPixelsPerInch = 96;

Integer PointsToHeight(Integer Points, Integer Ppi) { return -Integer(std::lround(double(Points) * Ppi / 72.0)); }

QPoint ToQPoint(TPoint P) { return {P.X, P.Y}; }

QRect ToQRect(const TRect& R) { return QRect(R.Left, R.Top, R.Width(), R.Height()); }

// The canvas that last applied its state to each open painter. A painter is lent to several
// canvases (a control drawing on its parent's); once another canvas drew with it, a canvas
// applies its whole state again.
std::unordered_map<const QPainter*, const TCanvas*>& LastCanvasOf() {
  static std::unordered_map<const QPainter*, const TCanvas*> Map;
  return Map;
}

}  // namespace

void TGraphicsObject::Changed() {
  if (OnChange) OnChange(this);
}

// ---- TFont

TFont::TFont()
    : FName(QStringLiteral("Noto Sans CJK SC")),
      FHeight(PointsToHeight(9, DefaultPixelsPerInch)),
      FPixelsPerInch(DefaultPixelsPerInch) {}

void TFont::Assign(TPersistent* Source) {
  if (auto* f = dynamic_cast<TFont*>(Source)) {
    if (*this == *f) return;
    FName = f->FName;
    FHeight = f->FHeight;
    FStyle = f->FStyle;
    FColor = f->FColor;
    FCharset = f->FCharset;
    FPitch = f->FPitch;
    FOrientation = f->FOrientation;
    if (f->FPixelsPerInch != FPixelsPerInch)
      FHeight = -Integer(std::lround(double(-f->FHeight) * FPixelsPerInch / f->FPixelsPerInch));
    Modified();
    return;
  }
  TGraphicsObject::Assign(Source);
}

bool operator==(const TFont& a, const TFont& b) {
  return a.FName == b.FName && a.Size() == b.Size() && a.FStyle == b.FStyle && a.FColor == b.FColor &&
         a.FCharset == b.FCharset && a.FPitch == b.FPitch && a.FOrientation == b.FOrientation;
}

Integer TFont::Size() const { return -Integer(std::lround(double(FHeight) * 72.0 / FPixelsPerInch)); }

void TFont::SetSize(Integer Value) { SetHeight(PointsToHeight(Value, FPixelsPerInch)); }

void TFont::SetHeight(Integer Value) {
  if (Value == FHeight) return;
  FHeight = Value;
  Modified();
}

void TFont::SetName(const TFontName& Value) {
  if (Value.isEmpty() || Value == FName) return;
  FName = Value;
  Modified();
}

void TFont::SetStyle(TFontStyles Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  Modified();
}

void TFont::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  Modified();
}

void TFont::SetCharset(TFontCharset Value) {
  if (Value == FCharset) return;
  FCharset = Value;
  Modified();
}

void TFont::SetPitch(TFontPitch Value) {
  if (Value == FPitch) return;
  FPitch = Value;
  Modified();
}

void TFont::SetOrientation(Integer Value) {
  if (Value == FOrientation) return;
  FOrientation = Value;
  Modified();
}

void TFont::Modified() {
  FQFont.reset();
  Changed();
}

QFont TFont::ToQFont() const {
  if (FQFont) return *FQFont;
  QFont f(FName);
  // A negative height is the em height; a positive one includes the internal leading.
  const Integer px = FHeight < 0 ? -FHeight : Integer(std::lround(FHeight * 0.8));
  f.setPixelSize(std::max(1, px));
  f.setBold(FStyle.Contains(fsBold));
  f.setItalic(FStyle.Contains(fsItalic));
  f.setUnderline(FStyle.Contains(fsUnderline));
  f.setStrikeOut(FStyle.Contains(fsStrikeOut));
  if (FPitch == fpFixed) f.setFixedPitch(true);
  f.setHintingPreference(QFont::PreferFullHinting);
  f.setStyleStrategy(QFont::NoAntialias);
  FQFont = f;
  return f;
}

// ---- TPen, TBrush

void TPen::Assign(TPersistent* Source) {
  if (auto* p = dynamic_cast<TPen*>(Source)) {
    FColor = p->FColor;
    FWidth = p->FWidth;
    FStyle = p->FStyle;
    FMode = p->FMode;
    FEndCap = p->FEndCap;
    FJoinStyle = p->FJoinStyle;
    Changed();
    return;
  }
  TGraphicsObject::Assign(Source);
}

void TPen::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  Changed();
}

void TPen::SetWidth(Integer Value) {
  if (Value < 0 || Value == FWidth) return;
  FWidth = Value;
  Changed();
}

void TPen::SetStyle(TPenStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  Changed();
}

void TPen::SetMode(TPenMode Value) {
  if (Value == FMode) return;
  FMode = Value;
  Changed();
}

void TPen::SetEndCap(TPenEndCap Value) {
  if (Value == FEndCap) return;
  FEndCap = Value;
  Changed();
}

void TPen::SetJoinStyle(TPenJoinStyle Value) {
  if (Value == FJoinStyle) return;
  FJoinStyle = Value;
  Changed();
}

void TBrush::Assign(TPersistent* Source) {
  if (auto* b = dynamic_cast<TBrush*>(Source)) {
    FColor = b->FColor;
    FStyle = b->FStyle;
    Changed();
    return;
  }
  TGraphicsObject::Assign(Source);
}

void TBrush::SetColor(TColor Value) {
  if (Value == FColor && FStyle != bsClear) return;
  FColor = Value;
  if (FStyle == bsClear) FStyle = bsSolid;
  Changed();
}

void TBrush::SetStyle(TBrushStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  Changed();
}

QBrush TBrush::ToQBrush() const {
  static const Qt::BrushStyle styles[] = {Qt::SolidPattern, Qt::NoBrush,      Qt::HorPattern,   Qt::VerPattern,
                                          Qt::FDiagPattern, Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
  return QBrush(ColorToQColor(FColor), styles[FStyle]);
}

// ---- TRegion

TRegion::TRegion(const TRect& R) : FRegion(ToQRect(R)) {}

TRegion TRegion::Polygon(const std::vector<TPoint>& Points, TFillMode Mode) {
  QPolygon poly;
  for (const TPoint& p : Points) poly << ToQPoint(p);
  return TRegion(QRegion(poly, Mode == fmWinding ? Qt::WindingFill : Qt::OddEvenFill));
}

void TRegion::Combine(const TRegion& A, const TRegion& B, TRegionCombineMode Mode) {
  switch (Mode) {
    case RGN_AND: FRegion = A.FRegion.intersected(B.FRegion); break;
    case RGN_OR: FRegion = A.FRegion.united(B.FRegion); break;
    case RGN_XOR: FRegion = A.FRegion.xored(B.FRegion); break;
    case RGN_DIFF: FRegion = A.FRegion.subtracted(B.FRegion); break;
    case RGN_COPY: FRegion = A.FRegion; break;
  }
}

TRect TRegion::BoundingBox() const {
  const QRect r = FRegion.boundingRect();
  return Bounds(r.x(), r.y(), r.width(), r.height());
}

// ---- TCanvas

struct TCanvas::TState {
  std::unique_ptr<TFont> Font;
  std::unique_ptr<TPen> Pen;
  std::unique_ptr<TBrush> Brush;
  bool HasClip;
  QRegion Clip;
  TMapMode MapMode;
  TPoint WindowOrg, ViewportOrg;
  TSize WindowExt, ViewportExt;
  bool Mirrored;
  Integer MirrorWidth;
};

TCanvas::TCanvas() : FFont(std::make_unique<TFont>()), FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>()) {
  FFont->SetColor(clBlack);
}

TCanvas::~TCanvas() { ReleasePainter(); }

void TCanvas::SetPainter(QPainter* Painter, bool Owned) {
  ReleasePainter();
  FPainter = Painter;
  FOwnsPainter = Owned;
}

void TCanvas::ReleasePainter() {
  const auto Last = LastCanvasOf().find(FPainter);
  if (Last != LastCanvasOf().end() && Last->second == this) LastCanvasOf().erase(Last);
  if (FOwnsPainter && FPainter) {
    FPainter->end();
    delete FPainter;
  }
  FPainter = nullptr;
  FOwnsPainter = false;
  StateChanged();
}

void TCanvas::StateChanged() {
  FApplied = false;
  FFilled.reset();
}

bool TCanvas::DrewLastOn(const QPainter* P) const {
  const auto Last = LastCanvasOf().find(P);
  return Last != LastCanvasOf().end() && Last->second == this;
}

QTransform TCanvas::Mapping() const {
  QTransform t;
  if (FMirrored) t = QTransform(-1, 0, 0, 1, FMirrorWidth, 0);
  double sx = 1, sy = 1;
  if (FMapMode == MM_ANISOTROPIC && FWindowExt.cx && FWindowExt.cy) {
    sx = double(FViewportExt.cx) / FWindowExt.cx;
    sy = double(FViewportExt.cy) / FWindowExt.cy;
  }
  QTransform m(sx, 0, 0, sy, FViewportOrg.X - FWindowOrg.X * sx, FViewportOrg.Y - FWindowOrg.Y * sy);
  return m * t * QTransform::fromTranslate(FDeviceOrigin.X, FDeviceOrigin.Y);
}

TPoint TCanvas::LogicalToDevice(TPoint P) const {
  const QPointF d = Mapping().map(QPointF(P.X, P.Y));
  return {Integer(std::lround(d.x())), Integer(std::lround(d.y()))};
}

void TCanvas::SetDeviceArea(TPoint Origin, const QRegion* Clip) {
  StateChanged();
  FDeviceOrigin = Origin;
  FHasDeviceClip = Clip != nullptr;
  FDeviceClip = Clip ? *Clip : QRegion();
}

QPainter* TCanvas::Handle() {
  if (!FPainter && !CreateHandle()) return nullptr;
  QPainter& P = *FPainter;
  FFilled.reset();
  const TCanvas*& Last = LastCanvasOf()[FPainter];
  if (!FApplied || Last != this || P.worldTransform() != FAppliedTransform) {
    ApplyAll(P);
    Last = this;
  } else {
    if (P.renderHints() & (QPainter::Antialiasing | QPainter::TextAntialiasing))
      P.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing, false);
    if (!FAppliedFont.isCopyOf(FFont->ToQFont()) || !P.font().isCopyOf(FPainterFont)) ApplyFont(P);
  }
  // Drawing calls and the painter's other users change these without telling the canvas.
  if (const QPen& Pen = DesiredPen(); P.pen() != Pen) P.setPen(Pen);
  if (const QBrush& Brush = DesiredBrush(); P.brush() != Brush) P.setBrush(Brush);
  if (P.compositionMode() != QPainter::CompositionMode_SourceOver) P.setCompositionMode(QPainter::CompositionMode_SourceOver);
  return FPainter;
}

void TCanvas::ApplyAll(QPainter& P) {
  P.setRenderHint(QPainter::Antialiasing, false);
  P.setRenderHint(QPainter::TextAntialiasing, false);
  // The device clip is given relative to the origin; the canvas's own clip is logical.
  P.setWorldTransform(QTransform::fromTranslate(FDeviceOrigin.X, FDeviceOrigin.Y));
  if (FHasDeviceClip) P.setClipRegion(FDeviceClip);
  else P.setClipping(false);
  P.setWorldTransform(Mapping());
  ApplyClip(P);
  ApplyFont(P);
  FAppliedTransform = P.worldTransform();
  FApplied = true;
}

void TCanvas::ApplyFont(QPainter& P) {
  FAppliedFont = FFont->ToQFont();
  P.setFont(FAppliedFont);
  FPainterFont = P.font();
  FAppliedAscent = QFontMetrics(FPainterFont).ascent();
  FGlyphBoxes.clear();
}

const QPen& TCanvas::DesiredPen() {
  const auto Of = std::tuple(ColorToRGB(FPen->Color()), FPen->Width(), FPen->Style(), FPen->Mode(), FPen->EndCap(),
                             FPen->JoinStyle());
  if (FQPenOf == Of) return FQPen;
  FQPenOf = Of;
  if (FPen->Style() == psClear || FPen->Mode() == pmNop) {
    FQPen = QPen(Qt::NoPen);
    return FQPen;
  }
  QPen pen(ColorToQColor(FPen->Color()));
  pen.setWidth(FPen->Width() <= 1 ? 0 : FPen->Width());
  static constexpr Qt::PenCapStyle caps[] = {Qt::FlatCap, Qt::SquareCap, Qt::RoundCap};
  static constexpr Qt::PenJoinStyle joins[] = {Qt::MiterJoin, Qt::BevelJoin, Qt::RoundJoin};
  pen.setCapStyle(caps[FPen->EndCap()]);
  pen.setJoinStyle(joins[FPen->JoinStyle()]);
  switch (FPen->Style()) {
    // Dotted pens set every other pixel, as the line code of the grid expects.
    case psDot: pen.setDashPattern({1, 1}); break;
    case psDash: pen.setDashPattern({6, 2}); break;
    case psDashDot: pen.setDashPattern({3, 1, 1, 1}); break;
    case psDashDotDot: pen.setDashPattern({3, 1, 1, 1, 1, 1}); break;
    default: break;
  }
  FQPen = pen;
  return FQPen;
}

const QBrush& TCanvas::DesiredBrush() {
  const auto Of = std::pair(ColorToRGB(FBrush->Color()), FBrush->Style());
  if (FQBrushOf != Of) {
    FQBrushOf = Of;
    FQBrush = FBrush->ToQBrush();
  }
  return FQBrush;
}

void TCanvas::ApplyClip(QPainter& P) const {
  if (FHasClip) P.setClipRegion(FClip, FHasDeviceClip ? Qt::IntersectClip : Qt::ReplaceClip);
}

void TCanvas::Changing() {
  if (OnChanging) OnChanging(this);
}

void TCanvas::DidChange() {
  if (OnChange) OnChange(this);
}

namespace {

// Applies a raster operation of the pen mode for the next drawing call.
void ApplyPenMode(QPainter* P, TPenMode Mode) {
  switch (Mode) {
    case pmXor: P->setCompositionMode(QPainter::RasterOp_SourceXorDestination); break;
    case pmNot: P->setCompositionMode(QPainter::RasterOp_NotDestination); break;
    case pmNotXor: P->setCompositionMode(QPainter::RasterOp_NotSourceXorDestination); break;
    case pmMask: P->setCompositionMode(QPainter::RasterOp_SourceAndDestination); break;
    case pmMerge: P->setCompositionMode(QPainter::RasterOp_SourceOrDestination); break;
    case pmNotCopy: P->setCompositionMode(QPainter::RasterOp_NotSource); break;
    default: break;
  }
}

}  // namespace

void TCanvas::FillRect(const TRect& R) {
  if (R.IsEmpty() || FBrush->Style() == bsClear) return;
  QPainter* p = Handle();
  if (!p) return;
  Changing();
  p->fillRect(ToQRect(R), DesiredBrush());
  // Filling the same pixels again with the same opaque colour changes nothing.
  if (FBrush->Style() == bsSolid) FFilled = std::pair(R, ColorToRGB(FBrush->Color()));
  DidChange();
}

void TCanvas::FrameRect(const TRect& R) {
  if (R.IsEmpty()) return;
  QPainter* p = Handle();
  if (!p) return;
  Changing();
  const QBrush b = FBrush->ToQBrush();
  p->fillRect(QRect(R.Left, R.Top, R.Width(), 1), b);
  p->fillRect(QRect(R.Left, R.Bottom - 1, R.Width(), 1), b);
  p->fillRect(QRect(R.Left, R.Top, 1, R.Height()), b);
  p->fillRect(QRect(R.Right - 1, R.Top, 1, R.Height()), b);
  DidChange();
}

void TCanvas::Rectangle(const TRect& R) {
  if (R.IsEmpty()) return;
  QPainter* p = Handle();
  if (!p) return;
  Changing();
  if (FBrush->Style() != bsClear) p->fillRect(QRect(R.Left, R.Top, R.Width(), R.Height()), FBrush->ToQBrush());
  if (FPen->Style() != psClear) {
    ApplyPenMode(p, FPen->Mode());
    p->setBrush(Qt::NoBrush);
    const Integer w = std::max(1, FPen->Width());
    const Integer inset = w / 2;
    p->drawRect(QRect(R.Left + inset, R.Top + inset, R.Width() - w, R.Height() - w));
  }
  DidChange();
}

void TCanvas::Ellipse(const TRect& R) {
  QPainter* p = Handle();
  if (!p) return;
  Changing();
  p->drawEllipse(QRect(R.Left, R.Top, R.Width() - 1, R.Height() - 1));
  DidChange();
}

void TCanvas::Polygon(const std::vector<TPoint>& Points) {
  QPainter* p = Handle();
  if (!p || Points.empty()) return;
  Changing();
  QPolygon poly;
  for (const TPoint& pt : Points) poly << ToQPoint(pt);
  ApplyPenMode(p, FPen->Mode());
  p->drawPolygon(poly);
  DidChange();
}

void TCanvas::LineTo(Integer X, Integer Y) {
  const TPoint from = FPenPos;
  FPenPos = {X, Y};
  if (from == FPenPos) return;
  QPainter* p = Handle();
  if (!p) return;
  Changing();
  ApplyPenMode(p, FPen->Mode());
  // Flat caps leave the end point out, so joined lines do not set a pixel twice.
  p->drawLine(ToQPoint(from), ToQPoint(FPenPos));
  DidChange();
}

void TCanvas::Polyline(const std::vector<TPoint>& Points) {
  if (Points.empty()) return;
  PolyPolyline({Points});
  FPenPos = Points.back();
}

void TCanvas::PolyPolyline(const std::vector<std::vector<TPoint>>& Lines) {
  QVarLengthArray<QLine, 256> segments;
  for (const auto& line : Lines)
    for (size_t i = 1; i < line.size(); ++i)
      if (line[i] != line[i - 1]) segments.append(QLine(ToQPoint(line[i - 1]), ToQPoint(line[i])));
  if (segments.isEmpty()) return;
  QPainter* p = Handle();
  if (!p) return;
  Changing();
  ApplyPenMode(p, FPen->Mode());
  // A patterned pen starts its pattern afresh on every segment, as separate lines do; a
  // solid pen draws all segments in one call.
  if (p->pen().style() == Qt::SolidLine) {
    p->drawLines(segments.constData(), int(segments.size()));
  } else {
    for (const QLine& segment : segments) p->drawLine(segment);
  }
  DidChange();
}

TColor TCanvas::Pixel(Integer X, Integer Y) {
  if (FPainter && FOwnsPainter) ReleasePainter();
  const QImage* img = SourceImage();
  if (!img) return clNone;
  const TPoint d = LogicalToDevice({X, Y});
  if (!img->valid(d.X, d.Y)) return clNone;
  return QColorToColor(img->pixelColor(d.X, d.Y));
}

void TCanvas::SetPixel(Integer X, Integer Y, TColor Color) {
  QPainter* p = Handle();
  if (!p) return;
  p->fillRect(QRect(X, Y, 1, 1), ColorToQColor(Color));
}

void TCanvas::TextOut(Integer X, Integer Y, const String& Text) {
  QPainter* p = Handle();
  if (!p) {
    FPenPos = {X + TextWidth(Text), Y};
    return;
  }
  Changing();
  const QFontMetrics fm(p->font());
  p->save();
  p->translate(X, Y);
  if (FFont->Orientation() != 0) p->rotate(-FFont->Orientation() / 10.0);
  if (FBrush->Style() != bsClear) p->fillRect(QRect(0, 0, fm.horizontalAdvance(Text), fm.height()), FBrush->ToQBrush());
  p->setPen(ColorToQColor(FFont->Color()));
  p->drawText(0, fm.ascent(), Text);
  p->restore();
  FPenPos = {X + fm.horizontalAdvance(Text), Y};
  DidChange();
}

void TCanvas::TextRect(const TRect& R, Integer X, Integer Y, const String& Text) {
  // A cell its owner has just filled with this brush needs no second fill.
  const bool Filled = FFilled && FBrush->Style() == bsSolid && FFilled->second == ColorToRGB(FBrush->Color()) &&
                      FFilled->first.Left <= R.Left && FFilled->first.Top <= R.Top &&
                      FFilled->first.Right >= R.Right && FFilled->first.Bottom >= R.Bottom && DrewLastOn(FPainter);
  QPainter* p = Handle();
  if (!p) return;
  Changing();
  if (FBrush->Style() != bsClear && !Filled && !R.IsEmpty()) p->fillRect(ToQRect(R), DesiredBrush());
  if (FFont->Orientation() == 0 && TextStaysInside(R, X, Y, Text)) {
    // Clipping to R would change no pixel.
    p->setPen(ColorToQColor(FFont->Color()));
    p->drawText(X, Y + FAppliedAscent, Text);
    DidChange();
    return;
  }
  p->save();
  p->setClipRect(ToQRect(R), p->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
  p->setPen(ColorToQColor(FFont->Color()));
  // A turned font runs from X, Y along its base line's angle.
  p->translate(X, Y);
  if (FFont->Orientation() != 0) p->rotate(-FFont->Orientation() / 10.0);
  p->drawText(0, FAppliedAscent, Text);
  p->restore();
  DidChange();
}

// Judged from each character's ink box and advance in the applied font, with a pixel of
// slack around every box and another per character for kerning; text the boxes cannot
// vouch for (decorations, surrogate pairs, marks) is taken to leave R.
bool TCanvas::TextStaysInside(const TRect& R, Integer X, Integer Y, const String& Text) {
  if (FFont->Style().Contains(fsUnderline) || FFont->Style().Contains(fsStrikeOut)) return false;
  std::optional<QFontMetrics> Metrics;
  Integer Pen = X;
  Integer Slack = 1;
  const Integer Baseline = Y + FAppliedAscent;
  for (const QChar c : Text) {
    if (c.isSurrogate() || c.isMark() || c.unicode() < 0x20) return false;
    auto Box = FGlyphBoxes.find(c.unicode());
    if (Box == FGlyphBoxes.end()) {
      if (!Metrics) Metrics.emplace(FPainterFont);
      Box = FGlyphBoxes.emplace(c.unicode(), TGlyphBox{Metrics->horizontalAdvance(c), Metrics->boundingRect(c)}).first;
    }
    const QRect& Ink = Box->second.Ink;
    if (Pen + Ink.left() - Slack < R.Left || Pen + Ink.right() + 1 + Slack > R.Right ||
        Baseline + Ink.top() - 1 < R.Top || Baseline + Ink.bottom() + 2 > R.Bottom)
      return false;
    Pen += Box->second.Advance;
    ++Slack;
  }
  return true;
}

Integer TCanvas::TextWidth(const String& Text) const { return QFontMetrics(FFont->ToQFont()).horizontalAdvance(Text); }

Integer TCanvas::TextHeight(const String& Text) const { return TextExtent(Text).cy; }

TSize TCanvas::TextExtent(const String& Text) const {
  const QFontMetrics fm(FFont->ToQFont());
  return {fm.horizontalAdvance(Text), fm.height()};
}

TTextMetric TCanvas::TextMetrics() const {
  const QFontMetrics fm(FFont->ToQFont());
  TTextMetric tm;
  tm.tmHeight = fm.height();
  tm.tmAscent = fm.ascent();
  tm.tmDescent = fm.descent();
  tm.tmInternalLeading = std::max(0, fm.height() - FFont->ToQFont().pixelSize());
  tm.tmExternalLeading = std::max(0, fm.leading());
  tm.tmAveCharWidth = fm.averageCharWidth();
  tm.tmMaxCharWidth = fm.maxWidth();
  return tm;
}

void TCanvas::Draw(Integer X, Integer Y, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  StretchDraw(Bounds(X, Y, Graphic->Width(), Graphic->Height()), Graphic);
}

void TCanvas::StretchDraw(const TRect& R, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  Changing();
  Graphic->Draw(this, R);
  DidChange();
}

void TCanvas::DrawImage(const TRect& Dest, const QImage& Image, const TRect& SrcRect) {
  QPainter* p = Handle();
  if (!p) return;
  static const QPainter::CompositionMode modes[] = {
      QPainter::CompositionMode_SourceOver,           QPainter::RasterOp_SourceAndDestination,
      QPainter::RasterOp_SourceOrDestination,         QPainter::RasterOp_SourceXorDestination,
      QPainter::RasterOp_NotSource,                   QPainter::RasterOp_NotSourceOrDestination,
      QPainter::CompositionMode_Clear,                QPainter::CompositionMode_SourceOver};
  if (FCopyMode == cmBlackness || FCopyMode == cmWhiteness) {
    p->fillRect(ToQRect(Dest), FCopyMode == cmBlackness ? Qt::black : Qt::white);
    return;
  }
  p->setCompositionMode(modes[FCopyMode]);
  p->drawImage(ToQRect(Dest), Image, ToQRect(SrcRect));
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Source, const TRect& SrcRect) {
  if (!Source) return;
  if (Source->FOwnsPainter) Source->ReleasePainter();
  const QImage* img = Source->SourceImage();
  if (!img) return;
  Changing();
  DrawImage(Dest, *img, SrcRect);
  DidChange();
}

void TCanvas::InvertRect(const TRect& R) {
  QPainter* p = Handle();
  if (!p) return;
  p->setCompositionMode(QPainter::RasterOp_NotDestination);
  p->fillRect(ToQRect(R), Qt::black);
}

TSize TCanvas::DeviceSize() const {
  if (FPainter && FPainter->device()) return {FPainter->device()->width(), FPainter->device()->height()};
  return {};
}

TRect TCanvas::ClipRect() const {
  const TSize dev = DeviceSize();
  QRect visible = FHasDeviceClip ? FDeviceClip.boundingRect() : QRect(0, 0, dev.cx, dev.cy);
  visible.translate(FDeviceOrigin.X, FDeviceOrigin.Y);
  const QTransform inv = Mapping().inverted();
  QRect r = inv.mapRect(visible);
  if (FHasClip) r = r.intersected(FClip.boundingRect());
  return Bounds(r.x(), r.y(), r.width(), r.height());
}

void TCanvas::SetClipRect(const TRect& R) {
  StateChanged();
  FClip = QRegion(ToQRect(R));
  FHasClip = true;
}

void TCanvas::IntersectClipRect(const TRect& R) {
  StateChanged();
  if (!FHasClip) {
    SetClipRect(R);
    return;
  }
  FClip = FClip.intersected(ToQRect(R));
}

void TCanvas::ExcludeClipRect(const TRect& R) {
  StateChanged();
  if (!FHasClip) {
    const TRect all = ClipRect();
    FClip = QRegion(ToQRect(all));
    FHasClip = true;
  }
  FClip = FClip.subtracted(ToQRect(R));
}

void TCanvas::SelectClipRegion(const TRegion* Region) {
  StateChanged();
  FHasClip = Region != nullptr;
  FClip = Region ? Region->ToQRegion() : QRegion();
}

TRegion TCanvas::ClipRegion() const { return TRegion(FClip); }

Integer TCanvas::SaveState() {
  TState s{std::make_unique<TFont>(), std::make_unique<TPen>(), std::make_unique<TBrush>(), FHasClip, FClip,
           FMapMode, FWindowOrg, FViewportOrg, FWindowExt, FViewportExt, FMirrored, FMirrorWidth};
  s.Font->Assign(FFont.get());
  s.Pen->Assign(FPen.get());
  s.Brush->Assign(FBrush.get());
  FSaved.push_back(std::move(s));
  return Integer(FSaved.size());
}

void TCanvas::RestoreState(Integer Index) {
  StateChanged();
  if (Index < 1 || size_t(Index) > FSaved.size()) return;
  TState& s = FSaved[size_t(Index - 1)];
  FFont->Assign(s.Font.get());
  FPen->Assign(s.Pen.get());
  FBrush->Assign(s.Brush.get());
  FHasClip = s.HasClip;
  FClip = s.Clip;
  FMapMode = s.MapMode;
  FWindowOrg = s.WindowOrg;
  FViewportOrg = s.ViewportOrg;
  FWindowExt = s.WindowExt;
  FViewportExt = s.ViewportExt;
  FMirrored = s.Mirrored;
  FMirrorWidth = s.MirrorWidth;
  FSaved.resize(size_t(Index - 1));
}

void TCanvas::SetMapMode(TMapMode Mode) {
  StateChanged();
  FMapMode = Mode;
}

void TCanvas::SetWindowOrg(TPoint P) {
  StateChanged();
  FWindowOrg = P;
}

void TCanvas::SetViewportOrg(TPoint P) {
  StateChanged();
  FViewportOrg = P;
}

void TCanvas::SetWindowExt(TSize S) {
  StateChanged();
  FWindowExt = S;
}

void TCanvas::SetViewportExt(TSize S) {
  StateChanged();
  FViewportExt = S;
}

void TCanvas::SetMirrored(bool Value, Integer Width) {
  StateChanged();
  FMirrored = Value;
  FMirrorWidth = Width;
}

// ---- TGraphic

void TGraphic::SetTransparent(bool Value) {
  if (Value == FTransparent) return;
  FTransparent = Value;
  Changed();
}

void TGraphic::Changed() {
  if (OnChange) OnChange(this);
}

void TGraphic::LoadFromFile(const String& FileName) {
  TFileStream s(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&s);
}

void TGraphic::SaveToFile(const String& FileName) {
  TFileStream s(FileName, fmCreate);
  SaveToStream(&s);
}

// ---- TBitmap

// Draws on the bitmap's own image; the painter is closed before the pixels are read.
class TBitmapCanvas : public TCanvas {
public:
  explicit TBitmapCanvas(TBitmap* Owner) : FOwner(Owner) {}
  void Release() { ReleasePainter(); }
  TSize DeviceSize() const override { return {FOwner->FImage.width(), FOwner->FImage.height()}; }
  const QImage* SourceImage() const override { return &FOwner->FImage; }
protected:
  bool CreateHandle() override {
    if (FOwner->FImage.isNull()) return false;
    SetPainter(new QPainter(&FOwner->FImage), true);
    return true;
  }
private:
  TBitmap* FOwner;
};

TBitmap::TBitmap() = default;

TBitmap::TBitmap(Integer AWidth, Integer AHeight) { SetSize(AWidth, AHeight); }

TBitmap::~TBitmap() { FCanvas.reset(); }

void TBitmap::Dormant() const {
  if (FCanvas) static_cast<TBitmapCanvas*>(FCanvas.get())->Release();
}

QImage::Format TBitmap::ImageFormat() const {
  switch (FPixelFormat) {
    case pf1bit: return QImage::Format_Mono;
    case pf8bit: return QImage::Format_Indexed8;
    case pf24bit: return QImage::Format_BGR888;
    case pf32bit: return QImage::Format_ARGB32;
    default: return QImage::Format_RGB32;
  }
}

void TBitmap::Assign(TPersistent* Source) {
  if (auto* b = dynamic_cast<TBitmap*>(Source)) {
    Dormant();
    b->Dormant();
    FImage = b->FImage;
    FPixelFormat = b->FPixelFormat;
    FTransparent = b->FTransparent;
    FTransparentColor = b->FTransparentColor;
    FTransparentMode = b->FTransparentMode;
    Changed();
    return;
  }
  if (auto* g = dynamic_cast<TGraphic*>(Source)) {
    SetSize(g->Width(), g->Height());
    Canvas()->StretchDraw(Bounds(0, 0, g->Width(), g->Height()), g);
    Dormant();
    return;
  }
  TGraphic::Assign(Source);
}

void TBitmap::SetSize(Integer AWidth, Integer AHeight) {
  Dormant();
  if (AWidth == Width() && AHeight == Height()) return;
  if (AWidth <= 0 || AHeight <= 0) {
    FImage = QImage();
  } else {
    QImage img(AWidth, AHeight, FPixelFormat == pf1bit || FPixelFormat == pf8bit ? QImage::Format_RGB32 : ImageFormat());
    img.fill(Qt::white);
    if (!FImage.isNull()) {
      QPainter p(&img);
      p.drawImage(0, 0, FImage);
    }
    FImage = img;
  }
  Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
  if (Value == FPixelFormat) return;
  Dormant();
  FPixelFormat = Value;
  if (!FImage.isNull()) FImage = FImage.convertToFormat(ImageFormat());
  Changed();
}

TColor TBitmap::TransparentColor() const {
  if (FTransparentMode == tmFixed && FTransparentColor != clDefault) return FTransparentColor;
  if (FImage.isNull()) return clDefault;
  Dormant();
  return QColorToColor(FImage.pixelColor(0, FImage.height() - 1));
}

void TBitmap::SetTransparentColor(TColor Value) {
  FTransparentColor = Value;
  FTransparentMode = Value == clDefault ? tmAuto : tmFixed;
  Changed();
}

uchar* TBitmap::ScanLine(Integer Row) {
  Dormant();
  if (Row < 0 || Row >= Height()) throw EInvalidGraphicOperation(QStringLiteral("Scan line index out of range"));
  return FImage.scanLine(Row);
}

QImage TBitmap::CreateMask(TColor Color) const {
  Dormant();
  const QRgb key = ColorToQColor(Color).rgb() | 0xFF000000u;
  QImage mask(FImage.size(), QImage::Format_Mono);
  mask.fill(0);
  const QImage src = FImage.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < src.height(); ++y) {
    const QRgb* line = reinterpret_cast<const QRgb*>(src.constScanLine(y));
    for (int x = 0; x < src.width(); ++x)
      if ((line[x] | 0xFF000000u) != key) mask.setPixel(x, y, 1);
  }
  return mask;
}

TCanvas* TBitmap::Canvas() {
  if (!FCanvas) FCanvas = std::make_unique<TBitmapCanvas>(this);
  return FCanvas.get();
}

const QImage& TBitmap::Image() const {
  Dormant();
  return FImage;
}

void TBitmap::SetImage(const QImage& Value) {
  Dormant();
  FImage = Value.format() == QImage::Format_Mono || Value.format() == QImage::Format_Indexed8
               ? Value.convertToFormat(QImage::Format_RGB32)
               : Value;
  if (FImage.hasAlphaChannel()) FPixelFormat = pf32bit;
  Changed();
}

void TBitmap::Draw(TCanvas* Canvas, const TRect& R) {
  Dormant();
  if (FTransparent) {
    const QRgb key = ColorToQColor(TransparentColor()).rgb();
    QImage img = FImage.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y) {
      QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
      for (int x = 0; x < img.width(); ++x)
        if ((line[x] | 0xFF000000u) == (key | 0xFF000000u)) line[x] = 0;
    }
    Canvas->DrawImage(R, img, Bounds(0, 0, Width(), Height()));
    return;
  }
  Canvas->DrawImage(R, FImage, Bounds(0, 0, Width(), Height()));
}

void TBitmap::LoadFromStream(TStream* Stream) { SetImage(ReadImage(Stream, nullptr, QStringLiteral("Bitmap"))); }

void TBitmap::SaveToStream(TStream* Stream) { WriteImage(Stream, Image(), "BMP"); }

// ---- images kept as decoded pixels

QImage ReadImage(TStream* Stream, const char* Format, const String& What) {
  QImage img;
  if (!img.loadFromData(Stream->ReadRest(), Format)) throw EInvalidGraphic(QStringLiteral("%1 image is not valid").arg(What));
  return img;
}

void WriteImage(TStream* Stream, const QImage& Image, const char* Format) {
  QByteArray bytes;
  QBuffer buf(&bytes);
  buf.open(QIODevice::WriteOnly);
  Image.save(&buf, Format);
  Stream->WriteBuffer(bytes);
}

void TImageGraphic::Assign(TPersistent* Source) {
  if (auto* g = dynamic_cast<TImageGraphic*>(Source)) {
    SetImage(g->FImage);
    return;
  }
  if (auto* b = dynamic_cast<TBitmap*>(Source)) {
    SetImage(b->Image());
    return;
  }
  TGraphic::Assign(Source);
}

void TImageGraphic::SetImage(const QImage& Value) {
  FImage = Value;
  Changed();
}

void TImageGraphic::Draw(TCanvas* Canvas, const TRect& R) { Canvas->DrawImage(R, FImage, Bounds(0, 0, Width(), Height())); }

void TIcon::LoadFromStream(TStream* Stream) { SetImage(ReadImage(Stream, nullptr, QStringLiteral("Icon")).convertToFormat(QImage::Format_ARGB32)); }

void TIcon::SaveToStream(TStream* Stream) { WriteImage(Stream, FImage, "PNG"); }
