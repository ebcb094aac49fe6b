#pragma once
// Image lists: equally sized images kept with their masks, drawn normally, blended with
// a selection colour or in the embossed disabled look.
#include "platform/ui/Graphics.h"

enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };
enum TImageType { itImage, itMask };

class TCustomImageList;

// One of several watchers of an image list: told of every change of the list it is registered
// with, and let go when the list goes.
class TChangeLink {
public:
  TChangeLink() = default;
  TChangeLink(const TChangeLink&) = delete;
  TChangeLink& operator=(const TChangeLink&) = delete;
  ~TChangeLink();
  TCustomImageList* Sender() const { return FSender; }
  TNotifyEvent OnChange;
private:
  friend class TCustomImageList;
  TCustomImageList* FSender = nullptr;
};

class TCustomImageList : public TComponent {
public:
  explicit TCustomImageList(TComponent* AOwner);
  ~TCustomImageList() override;
  // Link hears of every change from now on, and leaves any list it watched before.
  void RegisterChanges(TChangeLink* Link);
  void UnRegisterChanges(TChangeLink* Link);
  Integer Width() const { return FWidth; }
  Integer Height() const { return FHeight; }
  // Changing the size drops every image.
  void SetSize(Integer AWidth, Integer AHeight);
  void SetWidth(Integer Value) { SetSize(Value, FHeight); }
  void SetHeight(Integer Value) { SetSize(FWidth, Value); }
  Integer Count() const { return Integer(FImages.size()); }
  TColor BkColor() const { return FBkColor; }
  void SetBkColor(TColor Value) { FBkColor = Value; Changed(); }
  TColor BlendColor() const { return FBlendColor; }
  void SetBlendColor(TColor Value) { FBlendColor = Value; Changed(); }
  TDrawingStyle DrawingStyle() const { return FDrawingStyle; }
  void SetDrawingStyle(TDrawingStyle Value) { FDrawingStyle = Value; Changed(); }
  TImageType ImageType() const { return FImageType; }
  void SetImageType(TImageType Value) { FImageType = Value; Changed(); }

  // Adds one image per Width pixels of Image; set Mask pixels (black) are opaque, white are
  // transparent; without a mask every pixel is opaque. Returns the index of the first one.
  Integer Add(TBitmap* Image, TBitmap* Mask);
  // As Add, with the pixels of MaskColor transparent.
  Integer AddMasked(TBitmap* Image, TColor MaskColor);
  void Replace(Integer Index, TBitmap* Image, TBitmap* Mask);
  void Delete(Integer Index);
  void Clear();
  // The image on a BkColor background (clNone: white) in Image.
  void GetBitmap(Integer Index, TBitmap* Image) const;

  void Draw(TCanvas* Canvas, Integer X, Integer Y, Integer Index, bool Enabled = true);
  void Draw(TCanvas* Canvas, Integer X, Integer Y, Integer Index, TDrawingStyle Style, TImageType Type, bool Enabled);

  TNotifyEvent OnChange;
protected:
  void Changed();
private:
  std::vector<QImage> Split(const QImage& Image) const;
  void CheckIndex(Integer Index) const;
  Integer FWidth = 16, FHeight = 16;
  TColor FBkColor = clNone;
  TColor FBlendColor = clNone;
  TDrawingStyle FDrawingStyle = dsNormal;
  TImageType FImageType = itImage;
  std::vector<QImage> FImages;  // ARGB, transparent where masked
  std::vector<TChangeLink*> FChangeLinks;
};

class TImageList : public TCustomImageList {
public:
  using TCustomImageList::TCustomImageList;
  String ClassName() const override { return QStringLiteral("TImageList"); }
};
