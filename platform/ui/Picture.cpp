#include "platform/ui/Graphics.h"
#include "platform/ui/GraphicsJpeg.h"
#include <QFileInfo>

namespace {

struct TFileFormat {
  String Extension;  // lower case, without the dot
  String Description;
  TGraphicFactory Factory;
};

std::vector<TFileFormat>& FileFormats() {
  static std::vector<TFileFormat> formats = {
      {QStringLiteral("bmp"), QStringLiteral("Bitmaps"), [] { return std::make_unique<TBitmap>(); }},
      {QStringLiteral("png"), QStringLiteral("Portable network graphics"), [] { return std::make_unique<TPngImage>(); }},
      {QStringLiteral("jpg"), QStringLiteral("JPEG image file"), [] { return std::make_unique<TJPEGImage>(); }},
      {QStringLiteral("jpeg"), QStringLiteral("JPEG image file"), [] { return std::make_unique<TJPEGImage>(); }},
      {QStringLiteral("ico"), QStringLiteral("Icons"), [] { return std::make_unique<TIcon>(); }},
  };
  return formats;
}

std::unique_ptr<TGraphic> GraphicForExtension(const String& Extension) {
  for (const TFileFormat& f : FileFormats())
    if (f.Extension == Extension.toLower()) return f.Factory();
  return nullptr;
}

std::unique_ptr<TGraphic> GraphicForSignature(const QByteArray& Head) {
  if (Head.startsWith("BM")) return GraphicForExtension(QStringLiteral("bmp"));
  if (Head.startsWith("\x89PNG")) return GraphicForExtension(QStringLiteral("png"));
  if (Head.startsWith("\xFF\xD8")) return GraphicForExtension(QStringLiteral("jpg"));
  if (Head.startsWith(QByteArray("\0\0\1\0", 4))) return GraphicForExtension(QStringLiteral("ico"));
  return nullptr;
}

}  // namespace

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::RegisterFileFormat(const String& Extension, const String& Description, TGraphicFactory Factory) {
  FileFormats().push_back({Extension.toLower(), Description, std::move(Factory)});
}

void TPicture::Changed() {
  if (OnChange) OnChange(this);
}

void TPicture::Assign(TPersistent* Source) {
  if (!Source) {
    FGraphic.reset();
    Changed();
    return;
  }
  if (auto* p = dynamic_cast<TPicture*>(Source)) {
    SetGraphic(p->Graphic());
    return;
  }
  if (auto* g = dynamic_cast<TGraphic*>(Source)) {
    SetGraphic(g);
    return;
  }
  TPersistent::Assign(Source);
}

void TPicture::SetGraphic(TGraphic* Value) {
  if (!Value) {
    FGraphic.reset();
  } else {
    std::unique_ptr<TGraphic> copy = GraphicForExtension(QStringLiteral("bmp"));
    for (const TFileFormat& f : FileFormats()) {
      std::unique_ptr<TGraphic> candidate = f.Factory();
      if (candidate->ClassName() == Value->ClassName()) {
        copy = std::move(candidate);
        break;
      }
    }
    copy->Assign(Value);
    FGraphic = std::move(copy);
  }
  Changed();
}

TBitmap* TPicture::Bitmap() {
  if (!dynamic_cast<TBitmap*>(FGraphic.get())) {
    FGraphic = std::make_unique<TBitmap>();
    Changed();
  }
  return static_cast<TBitmap*>(FGraphic.get());
}

void TPicture::LoadFromFile(const String& FileName) {
  std::unique_ptr<TGraphic> g = GraphicForExtension(QFileInfo(FileName).suffix());
  if (!g) throw EInvalidGraphic(QStringLiteral("Unknown picture file extension (.%1)").arg(QFileInfo(FileName).suffix()));
  g->LoadFromFile(FileName);
  FGraphic = std::move(g);
  Changed();
}

void TPicture::SaveToFile(const String& FileName) {
  if (FGraphic) FGraphic->SaveToFile(FileName);
}

void TPicture::LoadFromStream(TStream* Stream) {
  const Int64 start = Stream->Position();
  QByteArray head(8, '\0');
  head.resize(Stream->Read(head.data(), Integer(head.size())));
  Stream->SetPosition(start);
  std::unique_ptr<TGraphic> g = GraphicForSignature(head);
  if (!g) throw EInvalidGraphic(QStringLiteral("Unsupported picture format"));
  g->LoadFromStream(Stream);
  FGraphic = std::move(g);
  Changed();
}
