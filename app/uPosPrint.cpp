#include "app/uPosPrint.h"
#include "app/FormControls.h"
#include "app/uPub.h"
#include "platform/print/Printers.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/ScopeGuards.h"
#include "platform/ui/Panels.h"
#include "platform/ui/RichEdit.h"
#include <QFile>

namespace {

// A fixed-width font with Chinese characters twice as wide as Latin ones, as receipt
// printers print.
const char* const SlipFont = "Noto Sans Mono CJK SC";

}  // namespace

TfrmPosPrint::TfrmPosPrint(TComponent* AOwner) : TForm(AOwner) {
  SetName(QStringLiteral("frmPosPrint"));
  SetCaption(QStringLiteral("POS打印机打印"));
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientWidth(420);
  SetClientHeight(480);

  Panel1 = PlaceControl<TPanel>(this, QStringLiteral("Panel1"), 0, 440, 420, 40);
  Panel1->SetAlign(alBottom);
  Panel1->SetBevelOuter(bvNone);
  const auto Button = [this](const String& Name, const String& Caption, Integer Left, TNotifyEvent Click) {
    TButton* B = PlaceControl<TButton>(Panel1, Name, Left, 8, 80, 26);
    B->SetCaption(Caption);
    B->OnClick = std::move(Click);
    return B;
  };
  cmdMin = Button(QStringLiteral("cmdMin"), QStringLiteral("小"), 8, [this](TObject* S) { cmdMinClick(S); });
  cmdMax = Button(QStringLiteral("cmdMax"), QStringLiteral("大"), 96, [this](TObject* S) { cmdMaxClick(S); });
  Button4 = Button(QStringLiteral("Button4"), QStringLiteral("打印(&P)"), 244, [this](TObject* S) { Button4Click(S); });
  Button5 = Button(QStringLiteral("Button5"), QStringLiteral("取消(&X)"), 332, [this](TObject* S) { Button5Click(S); });
  Button5->SetCancel(true);

  RichEdit1 = PlaceControl<TRichEdit>(this, QStringLiteral("RichEdit1"), 0, 0, 420, 440);
  RichEdit1->SetAlign(alClient);
  RichEdit1->SetReadOnly(true);
  RichEdit1->SetPlainText(true);
  RichEdit1->SetScrollBars(ssVertical);
  RichEdit1->Font()->SetName(QString::fromLatin1(SlipFont));
  RichEdit1->Font()->SetCharset(GB2312_CHARSET);
  RichEdit1->Font()->SetSize(9);
  FormCreate();
}

void TfrmPosPrint::FormCreate() {
  const String FileName = ResolvePath(Settings().GAppPath, QStringLiteral("tmp.Txt"));
  if (!QFile::exists(FileName)) return;
  TFileStream Stream(FileName, fmOpenRead);
  RichEdit1->StreamIn(&Stream, sfPlainText);
}

void TfrmPosPrint::SetTextSize(Integer Points) {
  RichEdit1->Font()->SetSize(Points);
  // The characters carry the font they were given: lay the text in again in the new size.
  const String Text = RichEdit1->Text();
  RichEdit1->SetText(String());
  RichEdit1->SetText(Text);
}

void TfrmPosPrint::cmdMinClick(TObject*) { SetTextSize(9); }

void TfrmPosPrint::cmdMaxClick(TObject*) { SetTextSize(11); }

void TfrmPosPrint::Button4Click(TObject*) {
  if (RichEdit1->TextLength() == 0) return;
  TPrinter* Target = Printer();
  Target->SetPrinterIndex(-1);
  Target->SetTitle(String());
  Target->BeginDoc();
  TScopeGuard AbortOnFailure([Target] { Target->Abort(); });
  TFormatRange Range;
  Range.Canvas = Target->Canvas();
  Range.PixelsPerInchX = Target->PixelsPerInchX();
  Range.PixelsPerInchY = Target->PixelsPerInchY();
  Range.Rect = TRect(0, 0, Target->PageWidth(), Target->PageHeight());
  for (;;) {
    Range.First = RichEdit1->FormatRange(Range).Next;
    if (Range.First >= RichEdit1->TextLength()) break;
    Target->NewPage();
  }
  AbortOnFailure.Dismiss();
  Target->EndDoc();
}

void TfrmPosPrint::Button5Click(TObject*) { Close(); }

void ShowPosPrint() {
  TfrmPosPrint Form(nullptr);
  Form.ShowModal();
}
