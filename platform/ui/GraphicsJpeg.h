#pragma once
// Image graphics read and written by a codec: PNG through Qt, JPEG through libjpeg.
#include "platform/ui/Graphics.h"

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
