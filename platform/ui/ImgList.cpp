#include "platform/ui/ImgList.h"
#include <algorithm>

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::~TCustomImageList() {
  for (TChangeLink* link : FChangeLinks) link->FSender = nullptr;
}

TChangeLink::~TChangeLink() {
  if (FSender) FSender->UnRegisterChanges(this);
}

void TCustomImageList::RegisterChanges(TChangeLink* Link) {
  if (Link->FSender == this) return;
  if (Link->FSender) Link->FSender->UnRegisterChanges(Link);
  Link->FSender = this;
  FChangeLinks.push_back(Link);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* Link) {
  FChangeLinks.erase(std::remove(FChangeLinks.begin(), FChangeLinks.end(), Link), FChangeLinks.end());
  if (Link->FSender == this) Link->FSender = nullptr;
}

void TCustomImageList::Changed() {
  if (OnChange) OnChange(this);
  // A watcher may let go of the list while it is told.
  for (TChangeLink* link : std::vector<TChangeLink*>(FChangeLinks))
    if (link->FSender == this && link->OnChange) link->OnChange(this);
}

void TCustomImageList::SetSize(Integer AWidth, Integer AHeight) {
  if (AWidth == FWidth && AHeight == FHeight) return;
  FWidth = std::max(1, AWidth);
  FHeight = std::max(1, AHeight);
  FImages.clear();
  Changed();
}

void TCustomImageList::CheckIndex(Integer Index) const {
  if (Index < 0 || Index >= Count()) throw EInvalidOperation(QStringLiteral("Invalid ImageList Index"));
}

std::vector<QImage> TCustomImageList::Split(const QImage& Image) const {
  std::vector<QImage> out;
  const Integer n = std::max(1, Image.width() / FWidth);
  for (Integer i = 0; i < n; ++i) {
    QImage piece(FWidth, FHeight, QImage::Format_ARGB32);
    piece.fill(Qt::transparent);
    for (int y = 0; y < std::min(FHeight, Image.height()); ++y)
      for (int x = 0; x < FWidth && i * FWidth + x < Image.width(); ++x) piece.setPixel(x, y, Image.pixel(i * FWidth + x, y));
    out.push_back(piece);
  }
  return out;
}

Integer TCustomImageList::Add(TBitmap* Image, TBitmap* Mask) {
  if (!Image || Image->Empty()) return -1;
  QImage img = Image->Image().convertToFormat(QImage::Format_ARGB32);
  if (Mask && !Mask->Empty()) {
    const QImage mask = Mask->Image().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < img.height() && y < mask.height(); ++y)
      for (int x = 0; x < img.width() && x < mask.width(); ++x)
        if (qGray(mask.pixel(x, y)) >= 128) img.setPixel(x, y, 0);
  } else {
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) img.setPixel(x, y, img.pixel(x, y) | 0xFF000000u);
  }
  const Integer first = Count();
  for (QImage& piece : Split(img)) FImages.push_back(std::move(piece));
  Changed();
  return first;
}

Integer TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor) {
  if (!Image || Image->Empty()) return -1;
  const QRgb key = ColorToQColor(MaskColor == clDefault ? Image->TransparentColor() : MaskColor).rgb() | 0xFF000000u;
  QImage img = Image->Image().convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      const QRgb p = img.pixel(x, y) | 0xFF000000u;
      img.setPixel(x, y, p == key ? 0 : p);
    }
  const Integer first = Count();
  for (QImage& piece : Split(img)) FImages.push_back(std::move(piece));
  Changed();
  return first;
}

void TCustomImageList::Replace(Integer Index, TBitmap* Image, TBitmap* Mask) {
  CheckIndex(Index);
  const Integer added = Add(Image, Mask);
  if (added < 0) return;
  FImages[size_t(Index)] = FImages[size_t(added)];
  FImages.resize(size_t(added));
  Changed();
}

void TCustomImageList::Delete(Integer Index) {
  CheckIndex(Index);
  FImages.erase(FImages.begin() + Index);
  Changed();
}

void TCustomImageList::Clear() {
  FImages.clear();
  Changed();
}

void TCustomImageList::GetBitmap(Integer Index, TBitmap* Image) const {
  CheckIndex(Index);
  QImage out(FWidth, FHeight, QImage::Format_RGB32);
  out.fill(ColorToQColor(FBkColor == clNone ? clWhite : FBkColor));
  QPainter p(&out);
  p.drawImage(0, 0, FImages[size_t(Index)]);
  p.end();
  Image->SetImage(out);
}

void TCustomImageList::Draw(TCanvas* Canvas, Integer X, Integer Y, Integer Index, bool Enabled) {
  Draw(Canvas, X, Y, Index, FDrawingStyle, FImageType, Enabled);
}

void TCustomImageList::Draw(TCanvas* Canvas, Integer X, Integer Y, Integer Index, TDrawingStyle Style, TImageType Type, bool Enabled) {
  if (Index < 0 || Index >= Count()) return;
  const QImage& src = FImages[size_t(Index)];
  const TRect whole = Bounds(0, 0, FWidth, FHeight);
  if (FBkColor != clNone && Style != dsTransparent) {
    Canvas->Brush()->SetColor(FBkColor);
    Canvas->FillRect(Bounds(X, Y, FWidth, FHeight));
  }
  auto solid = [&](TColor Color) {
    // The image's shape in one colour.
    QImage shape = src;
    const QRgb c = ColorToQColor(Color).rgb();
    for (int y = 0; y < shape.height(); ++y)
      for (int x = 0; x < shape.width(); ++x)
        if (qAlpha(shape.pixel(x, y)) != 0) shape.setPixel(x, y, c | 0xFF000000u);
    return shape;
  };
  if (Type == itMask) {
    Canvas->DrawImage(Bounds(X, Y, FWidth, FHeight), solid(clBlack), whole);
    return;
  }
  if (!Enabled) {
    // The embossed look: a highlight shape one pixel down-right under a shadow shape.
    Canvas->DrawImage(Bounds(X + 1, Y + 1, FWidth, FHeight), solid(clBtnHighlight), whole);
    Canvas->DrawImage(Bounds(X, Y, FWidth, FHeight), solid(clBtnShadow), whole);
    return;
  }
  if (Style == dsFocus || Style == dsSelected) {
    const QColor blend = ColorToQColor(FBlendColor == clNone || FBlendColor == clDefault ? clHighlight : FBlendColor);
    const int percent = Style == dsFocus ? 25 : 50;
    QImage mixed = src;
    for (int y = 0; y < mixed.height(); ++y)
      for (int x = 0; x < mixed.width(); ++x) {
        const QRgb p = mixed.pixel(x, y);
        if (qAlpha(p) == 0) continue;
        auto mix = [&](int a, int b) { return (a * (100 - percent) + b * percent) / 100; };
        mixed.setPixel(x, y, qRgba(mix(qRed(p), blend.red()), mix(qGreen(p), blend.green()), mix(qBlue(p), blend.blue()), 255));
      }
    Canvas->DrawImage(Bounds(X, Y, FWidth, FHeight), mixed, whole);
    return;
  }
  Canvas->DrawImage(Bounds(X, Y, FWidth, FHeight), src, whole);
}
