#pragma once
// Image graphics read and written by an image codec: PNG through Qt, JPEG through libjpeg.
#include "platform/ui/Graphics.h"

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

class TPngImage : public TImageGraphic {
public:
  String ClassName() const override { return QStringLiteral("TPngImage"); }
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
};

class TJPEGImage : public TImageGraphic {
public:
  String ClassName() const override { return QStringLiteral("TJPEGImage"); }
  // Raises EInvalidGraphic when the data is not a JPEG image libjpeg can decode.
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  Integer CompressionQuality() const { return FQuality; }
  void SetCompressionQuality(Integer Value) { FQuality = std::clamp(Value, 1, 100); }
private:
  Integer FQuality = 90;
};
