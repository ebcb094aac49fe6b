#include "app/About.h"
#include "app/FormControls.h"
#include "app/uDM.h"
#include "app/uPub.h"
#include "platform/ui/Panels.h"
#include "platform/ui/StdCtrls.h"

namespace {

// The brand's first character in white on the program's blue.
void DrawLogo(TImage* Image) {
  TBitmap* Bitmap = Image->Picture()->Bitmap();
  Bitmap->SetSize(64, 64);
  TCanvas* Canvas = Bitmap->Canvas();
  Canvas->Brush()->SetColor(TColor(0x8C4A1E));
  Canvas->FillRect(TRect(0, 0, 64, 64));
  Canvas->Font()->SetColor(clWhite);
  Canvas->Font()->SetSize(28);
  const String Mark = Settings().GBrand.left(1);
  Canvas->TextOut((64 - Canvas->TextWidth(Mark)) / 2, (64 - Canvas->TextHeight(Mark)) / 2, Mark);
}

}  // namespace

TfrmAbout::TfrmAbout(TComponent* AOwner) : TForm(AOwner) {
  SetCaption(QStringLiteral("关于"));
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientWidth(380);
  SetClientHeight(180);

  imgLogo = PlaceControl<TImage>(this, QStringLiteral("imgLogo"), 16, 16, 64, 64);
  DrawLogo(imgLogo);
  lblTitle = PlaceControl<TLabel>(this, QStringLiteral("lblTitle"), 96, 16, 270, 20);
  lblTitle->SetCaption(Settings().GBrand + QStringLiteral("工资条制作打印软件"));
  lblTitle->Font()->SetStyle(TFontStyles{fsBold});
  lblVersion = PlaceControl<TLabel>(this, QStringLiteral("lblVersion"), 96, 44, 270, 16);
  lblVersion->SetCaption(QStringLiteral("版本：") + DM->GetDataBySQL(QStringLiteral("Select ClientVer from TPara")));
  PlaceControl<TLabel>(this, QStringLiteral("lblSite"), 96, 68, 50, 16)->SetCaption(QStringLiteral("网址："));
  lblHomePage = PlaceControl<TLabel>(this, QStringLiteral("lblHomePage"), 146, 68, 220, 16);
  lblHomePage->SetCaption(Settings().GVendorHomePage);
  lblHomePage->Font()->SetColor(clBlue);
  lblHomePage->Font()->SetStyle(TFontStyles{fsUnderline});
  lblHomePage->SetCursor(crHandPoint);
  lblVendor = PlaceControl<TLabel>(this, QStringLiteral("lblVendor"), 96, 92, 270, 16);
  lblVendor->SetCaption(Settings().GVendorName);
  const TNotifyEvent OpenHomePage = [](TObject*) { OpenUrlInBrowser(Settings().GVendorHomePage); };
  lblHomePage->OnClick = OpenHomePage;
  imgLogo->OnClick = OpenHomePage;

  btnOK = PlaceControl<TButton>(this, QStringLiteral("btnOK"), 150, 140, 80, 26);
  btnOK->SetCaption(QStringLiteral("确认(&E)"));
  btnOK->SetDefault(true);
  btnOK->SetCancel(true);
  btnOK->SetModalResult(mrOk);
}

void ShowAbout() {
  TfrmAbout Form(nullptr);
  Form.ShowModal();
}
