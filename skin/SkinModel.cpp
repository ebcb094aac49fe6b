#include "skin/SkinModel.h"
#include "platform/ui/SystemColors.h"
#include "skin/SkinPixels.h"

TSkinModel::TSkinModel()
    : Left(std::make_unique<TDataSkinBorder>("Left")),
      Right(std::make_unique<TDataSkinBorder>("Right")),
      Top(std::make_unique<TDataSkinBorder>("Top")),
      Bottom(std::make_unique<TDataSkinBorder>("Bottom")),
      Title(std::make_unique<TDataSkinTitle>("Personality")),
      Buttons(std::make_unique<TDataSkinButton>("Buttons")) {
  CustomColours.fill(clWhite);
}

TSkinModel::TSkinModel(TSkinModel&&) noexcept = default;
TSkinModel& TSkinModel::operator=(TSkinModel&&) noexcept = default;
TSkinModel::~TSkinModel() = default;

TColor TSkinModel::TopBorderColour() const {
  const QImage& image = Top->Image.Image();
  if (image.isNull()) return ButtonFace;
  const Integer frameHeight = image.height() / std::max(Top->FrameCount, 1);
  const int x = image.width() / 2;
  const int y = std::min(frameHeight * 2 / 3, image.height() - 1);
  return ColourOfPixel(image.pixel(x, y));
}
