#include "platform/print/PageRecording.h"
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QTextItem>
#include <variant>

// A change of the painter's state, holding only what the flags name.
struct TPageRecording::TStateChange {
  QPaintEngine::DirtyFlags Flags;
  QPen Pen;
  QBrush Brush;
  QPointF BrushOrigin;
  QFont Font;
  Qt::BGMode BackgroundMode = Qt::TransparentMode;
  QBrush BackgroundBrush;
  QTransform Transform;
  bool ClipEnabled = false;
  QRegion ClipRegion;
  QPainterPath ClipPath;
  Qt::ClipOperation ClipOperation = Qt::NoClip;
  QPainter::RenderHints Hints;
  QPainter::CompositionMode Composition = QPainter::CompositionMode_SourceOver;
  qreal Opacity = 1;
};

namespace {

struct TRects { std::vector<QRectF> Rects; };
struct TLines { std::vector<QLineF> Lines; };
struct TEllipse { QRectF Rect; };
struct TPath { QPainterPath Path; };
struct TPoints { std::vector<QPointF> Points; };
struct TPolygon { std::vector<QPointF> Points; QPaintEngine::PolygonDrawMode Mode; };
struct TPixmap { QRectF Rect; QPixmap Pixmap; QRectF Source; };
struct TTiledPixmap { QRectF Rect; QPixmap Pixmap; QPointF Offset; };
struct TImage { QRectF Rect; QImage Image; QRectF Source; Qt::ImageConversionFlags Flags; };
struct TText { QPointF Origin; QString Text; QFont Font; };

}  // namespace

struct TPageRecording::TOperation {
  std::variant<TStateChange, TRects, TLines, TEllipse, TPath, TPoints, TPolygon, TPixmap, TTiledPixmap, TImage, TText> Item;
};

// Records what a painter does into a page instead of drawing it.
class TRecordingEngine : public QPaintEngine {
public:
  explicit TRecordingEngine(TPageRecording* Page) : QPaintEngine(AllFeatures), FPage(Page) {}
  bool begin(QPaintDevice*) override { return true; }
  bool end() override { return true; }
  Type type() const override { return User; }

  void updateState(const QPaintEngineState& State) override {
    TPageRecording::TStateChange change;
    change.Flags = State.state();
    const auto dirty = [&](DirtyFlag Flag) { return bool(change.Flags & Flag); };
    if (dirty(DirtyPen)) change.Pen = State.pen();
    if (dirty(DirtyBrush)) change.Brush = State.brush();
    if (dirty(DirtyBrushOrigin)) change.BrushOrigin = State.brushOrigin();
    if (dirty(DirtyFont)) change.Font = DeviceFont(State.font());
    if (dirty(DirtyBackground) || dirty(DirtyBackgroundMode)) {
      change.BackgroundMode = State.backgroundMode();
      change.BackgroundBrush = State.backgroundBrush();
    }
    if (dirty(DirtyTransform)) change.Transform = State.transform();
    if (dirty(DirtyClipEnabled)) change.ClipEnabled = State.isClipEnabled();
    if (dirty(DirtyClipRegion)) change.ClipRegion = State.clipRegion();
    if (dirty(DirtyClipPath)) change.ClipPath = State.clipPath();
    if (dirty(DirtyClipRegion) || dirty(DirtyClipPath)) change.ClipOperation = State.clipOperation();
    if (dirty(DirtyHints)) change.Hints = State.renderHints();
    if (dirty(DirtyCompositionMode)) change.Composition = State.compositionMode();
    if (dirty(DirtyOpacity)) change.Opacity = State.opacity();
    Add(std::move(change));
  }

  void drawRects(const QRectF* Rects, int Count) override { Add(TRects{{Rects, Rects + Count}}); }
  void drawLines(const QLineF* Lines, int Count) override { Add(TLines{{Lines, Lines + Count}}); }
  void drawEllipse(const QRectF& Rect) override { Add(TEllipse{Rect}); }
  void drawPath(const QPainterPath& Path) override { Add(TPath{Path}); }
  void drawPoints(const QPointF* Points, int Count) override { Add(TPoints{{Points, Points + Count}}); }
  void drawPolygon(const QPointF* Points, int Count, PolygonDrawMode Mode) override {
    Add(TPolygon{{Points, Points + Count}, Mode});
  }
  void drawPixmap(const QRectF& Rect, const QPixmap& Pixmap, const QRectF& Source) override {
    Add(TPixmap{Rect, Pixmap, Source});
  }
  void drawTiledPixmap(const QRectF& Rect, const QPixmap& Pixmap, const QPointF& Offset) override {
    Add(TTiledPixmap{Rect, Pixmap, Offset});
  }
  void drawImage(const QRectF& Rect, const QImage& Image, const QRectF& Source, Qt::ImageConversionFlags Flags) override {
    Add(TImage{Rect, Image, Source, Flags});
  }
  // The painter draws underlines and strike-outs itself, as separate shapes.
  void drawTextItem(const QPointF& Origin, const QTextItem& Item) override {
    QFont font = DeviceFont(Item.font());
    font.setUnderline(false);
    font.setStrikeOut(false);
    font.setOverline(false);
    Add(TText{Origin, Item.text(), font});
  }

private:
  // A font sized in points is fixed to the pixels it has at the recording resolution, so
  // that replay scales it like every other shape.
  QFont DeviceFont(QFont Font) const {
    if (Font.pixelSize() <= 0 && Font.pointSizeF() > 0)
      Font.setPixelSize(std::max(1, int(std::lround(Font.pointSizeF() * FPage->PixelsPerInchY() / 72.0))));
    return Font;
  }
  template <typename T>
  void Add(T&& Item) {
    FPage->FOperations.push_back(TPageRecording::TOperation{std::forward<T>(Item)});
  }
  TPageRecording* FPage;
};

class TRecordingDevice : public QPaintDevice {
public:
  explicit TRecordingDevice(TPageRecording* Page) : FPage(Page), FEngine(Page) {}
  ~TRecordingDevice() override = default;
  QPaintEngine* paintEngine() const override { return const_cast<TRecordingEngine*>(&FEngine); }
protected:
  int metric(PaintDeviceMetric Metric) const override {
    switch (Metric) {
      case PdmWidth: return FPage->Width();
      case PdmHeight: return FPage->Height();
      case PdmWidthMM: return int(std::lround(FPage->Width() * 25.4 / FPage->PixelsPerInchX()));
      case PdmHeightMM: return int(std::lround(FPage->Height() * 25.4 / FPage->PixelsPerInchY()));
      case PdmNumColors: return INT_MAX;
      case PdmDepth: return 32;
      case PdmDpiX:
      case PdmPhysicalDpiX: return FPage->PixelsPerInchX();
      case PdmDpiY:
      case PdmPhysicalDpiY: return FPage->PixelsPerInchY();
      case PdmDevicePixelRatio: return 1;
      case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
      default: return 0;
    }
  }
private:
  TPageRecording* FPage;
  TRecordingEngine FEngine;
};

// ---- TPageRecording

TPageRecording::TPageRecording(Integer Width, Integer Height, Integer PixelsPerInchX, Integer PixelsPerInchY)
    : FWidth(std::max<Integer>(1, Width)),
      FHeight(std::max<Integer>(1, Height)),
      FPixelsPerInchX(std::max<Integer>(1, PixelsPerInchX)),
      FPixelsPerInchY(std::max<Integer>(1, PixelsPerInchY)) {}

TPageRecording::~TPageRecording() = default;

Integer TPageRecording::OperationCount() const {
  return Integer(std::count_if(FOperations.begin(), FOperations.end(), [](const TOperation& Op) {
    return !std::holds_alternative<TStateChange>(Op.Item);
  }));
}

QStringList TPageRecording::Texts() const {
  QStringList texts;
  for (const TOperation& op : FOperations)
    if (const auto* text = std::get_if<TText>(&op.Item)) texts << text->Text;
  return texts;
}

namespace {

// Plays the operations back on a painter under a base transform and base clip.
class TReplayer {
public:
  TReplayer(QPainter& Painter, double ScaleX, double ScaleY)
      : P(Painter), FBase(QTransform::fromScale(ScaleX, ScaleY) * Painter.worldTransform()) {
    P.setWorldTransform(FBase);
    FHasBaseClip = P.hasClipping();
    if (FHasBaseClip) FBaseClip = P.clipPath();
    FCurrent = FBase;
  }

  void operator()(const TPageRecording::TStateChange& S) {
    using F = QPaintEngine;
    if (S.Flags & F::DirtyPen) P.setPen(S.Pen);
    if (S.Flags & F::DirtyBrush) P.setBrush(S.Brush);
    if (S.Flags & F::DirtyBrushOrigin) P.setBrushOrigin(S.BrushOrigin);
    if (S.Flags & F::DirtyFont) P.setFont(S.Font);
    if (S.Flags & (F::DirtyBackground | F::DirtyBackgroundMode)) {
      P.setBackgroundMode(S.BackgroundMode);
      P.setBackground(S.BackgroundBrush);
    }
    if (S.Flags & F::DirtyTransform) {
      FCurrent = S.Transform * FBase;
      P.setWorldTransform(FCurrent);
    }
    if ((S.Flags & F::DirtyClipEnabled) && !S.ClipEnabled) RestoreBaseClip();
    if (S.Flags & F::DirtyClipRegion) Clip(S.ClipOperation, [&](Qt::ClipOperation Op) { P.setClipRegion(S.ClipRegion, Op); });
    if (S.Flags & F::DirtyClipPath) Clip(S.ClipOperation, [&](Qt::ClipOperation Op) { P.setClipPath(S.ClipPath, Op); });
    if (S.Flags & F::DirtyHints) P.setRenderHints(S.Hints, true), P.setRenderHints(~S.Hints, false);
    if (S.Flags & F::DirtyCompositionMode) P.setCompositionMode(S.Composition);
    if (S.Flags & F::DirtyOpacity) P.setOpacity(S.Opacity);
  }
  void operator()(const TRects& Op) { P.drawRects(Op.Rects.data(), int(Op.Rects.size())); }
  void operator()(const TLines& Op) { P.drawLines(Op.Lines.data(), int(Op.Lines.size())); }
  void operator()(const TEllipse& Op) { P.drawEllipse(Op.Rect); }
  void operator()(const TPath& Op) { P.drawPath(Op.Path); }
  void operator()(const TPoints& Op) { P.drawPoints(Op.Points.data(), int(Op.Points.size())); }
  void operator()(const TPolygon& Op) {
    const int n = int(Op.Points.size());
    switch (Op.Mode) {
      case QPaintEngine::PolylineMode: P.drawPolyline(Op.Points.data(), n); break;
      case QPaintEngine::WindingMode: P.drawPolygon(Op.Points.data(), n, Qt::WindingFill); break;
      case QPaintEngine::ConvexMode: P.drawConvexPolygon(Op.Points.data(), n); break;
      default: P.drawPolygon(Op.Points.data(), n, Qt::OddEvenFill); break;
    }
  }
  void operator()(const TPixmap& Op) { P.drawPixmap(Op.Rect, Op.Pixmap, Op.Source); }
  void operator()(const TTiledPixmap& Op) { P.drawTiledPixmap(Op.Rect, Op.Pixmap, Op.Offset); }
  void operator()(const TImage& Op) { P.drawImage(Op.Rect, Op.Image, Op.Source, Op.Flags); }
  void operator()(const TText& Op) {
    P.setFont(Op.Font);
    P.drawText(Op.Origin, Op.Text);
  }

private:
  // The target's own clip (a paint event's, a canvas's) stays in force: a recorded clip
  // that replaces or removes clipping falls back to it.
  template <typename F>
  void Clip(Qt::ClipOperation Op, F Apply) {
    if (Op == Qt::NoClip) {
      RestoreBaseClip();
    } else if (Op == Qt::ReplaceClip && FHasBaseClip) {
      RestoreBaseClip();
      Apply(Qt::IntersectClip);
    } else {
      Apply(Op);
    }
  }
  void RestoreBaseClip() {
    if (!FHasBaseClip) {
      P.setClipping(false);
      return;
    }
    P.setWorldTransform(FBase);
    P.setClipPath(FBaseClip);
    P.setWorldTransform(FCurrent);
  }

  QPainter& P;
  QTransform FBase, FCurrent;
  bool FHasBaseClip = false;
  QPainterPath FBaseClip;
};

}  // namespace

void TPageRecording::Replay(QPainter& Painter, double ScaleX, double ScaleY) const {
  Painter.save();
  TReplayer replayer(Painter, ScaleX, ScaleY);
  for (const TOperation& op : FOperations) std::visit(replayer, op.Item);
  Painter.restore();
}

void TPageRecording::Replay(TCanvas* Canvas, double ScaleX, double ScaleY) const {
  if (QPainter* painter = Canvas->Handle()) Replay(*painter, ScaleX, ScaleY);
}

// ---- TRecordingCanvas

TRecordingCanvas::TRecordingCanvas(TPageRecording* Page)
    : FPage(Page), FDevice(std::make_unique<TRecordingDevice>(Page)) {
  TFont* font = Font();
  const Integer points = font->Size();
  font->SetPixelsPerInch(std::min(Page->PixelsPerInchX(), Page->PixelsPerInchY()));
  font->SetSize(points);
}

TRecordingCanvas::~TRecordingCanvas() { Finish(); }

void TRecordingCanvas::Finish() {
  ReleasePainter();
  FFinished = true;
}

TSize TRecordingCanvas::DeviceSize() const { return {FPage->Width(), FPage->Height()}; }

bool TRecordingCanvas::CreateHandle() {
  if (FFinished) return false;
  auto* painter = new QPainter;
  if (!painter->begin(FDevice.get())) {
    delete painter;
    return false;
  }
  SetPainter(painter, true);
  return true;
}
