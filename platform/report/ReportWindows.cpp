#include "platform/report/ReportWindows.h"
#include "platform/print/PrintDialogs.h"
#include "platform/rtl/ScopeGuards.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/StdCtrls.h"
#include <QButtonGroup>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <algorithm>

namespace {

// The dialog a person answers.
bool AskWithQtDialog(TReportSetupRequest& Request) {
  QDialog dialog;
  dialog.setWindowTitle(Request.Title);
  auto* form = new QFormLayout(&dialog);
  auto* preview = new QRadioButton(QStringLiteral("预览"), &dialog);
  auto* printer = new QRadioButton(QStringLiteral("打印机"), &dialog);
  auto* file = new QRadioButton(QStringLiteral("PDF 文件"), &dialog);
  QRadioButton* const chosen[] = {preview, printer, file};
  chosen[Request.Destination]->setChecked(true);
  auto* destinations = new QHBoxLayout;
  for (QRadioButton* button : {preview, printer, file}) destinations->addWidget(button);
  form->addRow(QStringLiteral("输出到："), destinations);

  auto* printerSetup = new QPushButton(QStringLiteral("打印机设置..."), &dialog);
  QObject::connect(printerSetup, &QPushButton::clicked, &dialog, [] {
    TPrinterSetupDialog setup(nullptr);
    setup.Execute();
  });
  form->addRow(QString(), printerSetup);

  auto* fileRow = new QHBoxLayout;
  auto* fileName = new QLineEdit(Request.FileName, &dialog);
  auto* browse = new QPushButton(QStringLiteral("浏览..."), &dialog);
  fileRow->addWidget(fileName);
  fileRow->addWidget(browse);
  form->addRow(QStringLiteral("文件名："), fileRow);
  QObject::connect(browse, &QPushButton::clicked, &dialog, [fileName] {
    TFileDialogRequest choose;
    choose.Kind = fdSave;
    choose.Filter = QStringLiteral("PDF 文件 (*.pdf)|*.pdf");
    choose.DefaultExt = QStringLiteral("pdf");
    choose.FileName = fileName->text();
    if (TDialogs::ChooseFile(choose)) fileName->setText(choose.FileName);
  });
  auto* copies = new QSpinBox(&dialog);
  copies->setRange(1, 999);
  copies->setValue(std::max<Integer>(1, Request.Copies));
  form->addRow(QStringLiteral("份数："), copies);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  form->addRow(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  if (dialog.exec() != QDialog::Accepted) return false;
  Request.Destination = file->isChecked() ? rdFile : printer->isChecked() ? rdPrinter : rdPreview;
  Request.FileName = fileName->text();
  Request.Copies = copies->value();
  return true;
}

TReportSetupAnswer& CurrentAnswer() {
  static TReportSetupAnswer answer;
  return answer;
}

template <class TControlClass>
TControlClass* Place(TWinControl* Parent, const String& Name, Integer Left, Integer Top, Integer Width, Integer Height) {
  auto* control = new TControlClass(GetParentForm(Parent));
  control->SetName(Name);
  control->SetParent(Parent);
  control->SetBounds(Left, Top, Width, Height);
  return control;
}

// Screen pixels per inch of the preview at 100 %.
constexpr Integer PreviewResolution = 96;

}  // namespace

TReportSetupAnswer TReportSetupDialogs::SetAnswer(TReportSetupAnswer Answer) {
  TReportSetupAnswer previous = std::move(CurrentAnswer());
  CurrentAnswer() = std::move(Answer);
  return previous;
}

bool TReportSetupDialogs::Ask(TReportSetupRequest& Request) {
  return CurrentAnswer() ? CurrentAnswer()(Request) : AskWithQtDialog(Request);
}

void PrintRecordedPages(TPrinter* Target, const TRecordedPages& Pages, Integer From, Integer To, const String& Title,
                        TPrinterOrientation Orientation, const std::function<void(Integer)>& Status) {
  if (Pages.empty()) return;
  From = std::clamp<Integer>(From, 1, Integer(Pages.size()));
  To = std::clamp<Integer>(To, From, Integer(Pages.size()));
  const TPageRecording& first = *Pages[From - 1];
  const double widthMM = first.Width() * 25.4 / first.PixelsPerInchX();
  const double heightMM = first.Height() * 25.4 / first.PixelsPerInchY();
  // The paper is held in portrait: turned to landscape it must show the page as recorded.
  Target->SetOrientation(Orientation);
  if (Orientation == poLandscape) Target->SetPaperSize(heightMM, widthMM);
  else Target->SetPaperSize(widthMM, heightMM);
  Target->SetTitle(Title);
  Target->BeginDoc();
  TScopeGuard abortOnFailure([Target] { Target->Abort(); });
  TCanvas* canvas = Target->Canvas();
  for (Integer page = From; page <= To; ++page) {
    if (Status) Status(page);
    const TPageRecording& recorded = *Pages[page - 1];
    const Integer saved = canvas->SaveState();
    canvas->SetMapMode(MM_ANISOTROPIC);
    canvas->SetWindowExt({recorded.PixelsPerInchX(), recorded.PixelsPerInchY()});
    canvas->SetViewportExt({Target->PixelsPerInchX(), Target->PixelsPerInchY()});
    canvas->SetViewportOrg({-Target->PhysicalOffsetX(), -Target->PhysicalOffsetY()});
    recorded.Replay(canvas);
    canvas->RestoreState(saved);
    if (page < To) Target->NewPage();
  }
  abortOnFailure.Dismiss();
  Target->EndDoc();
}

TRvStatusForm::TRvStatusForm(TComponent* AOwner) : TForm(AOwner) {
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientWidth(260);
  SetClientHeight(60);
  lblStatus = Place<TLabel>(this, QStringLiteral("lblStatus"), 20, 22, 220, 16);
}

void TRvStatusForm::ShowStatus(const String& Text) {
  lblStatus->SetCaption(Text);
  if (!Visible()) Show();
  Repaint();
}

namespace {

// The page of the preview: the current recorded page, scaled to fit, on white paper.
class TRvPreviewPage : public TCustomControl {
public:
  TRvPreviewPage(TComponent* AOwner, TRvPreviewForm* Form) : TCustomControl(AOwner), FForm(Form) {}
  String ClassName() const override { return QStringLiteral("TRvPreviewPage"); }
protected:
  void Paint() override {
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(clGray);
    canvas->FillRect(ClientRect());
    if (FForm->PageIndex() < 1) return;
    const TPageRecording& page = *FForm->Pages()[FForm->PageIndex() - 1];
    // 100 % when the window is large enough, smaller when it is not.
    const double full = double(PreviewResolution) / page.PixelsPerInchX();
    const double scale = std::min({full, (ClientWidth() - 16.0) / page.Width(), (ClientHeight() - 16.0) / page.Height()});
    if (scale <= 0) return;
    const Integer width = Integer(page.Width() * scale), height = Integer(page.Height() * scale);
    const TPoint origin{std::max<Integer>(8, (ClientWidth() - width) / 2), 8};
    canvas->Brush()->SetColor(clWhite);
    canvas->FillRect(TRect(origin.X, origin.Y, origin.X + width, origin.Y + height));
    const Integer saved = canvas->SaveState();
    canvas->SetViewportOrg(origin);
    page.Replay(canvas, scale, scale);
    canvas->RestoreState(saved);
  }
private:
  TRvPreviewForm* FForm;
};

}  // namespace

TRvPreviewForm::TRvPreviewForm(TComponent* AOwner) : TForm(AOwner) {
  SetPosition(poScreenCenter);
  // Within the screen's work area with room for the frame, so the page, scaled into the
  // window, is never cut by the screen's edge.
  const TRect work = Screen->WorkAreaRect();
  SetClientWidth(std::clamp<Integer>(work.Width() - 40, 320, 900));
  SetClientHeight(std::clamp<Integer>(work.Height() - 80, 240, 700));
  btnPrint = Place<TButton>(this, QStringLiteral("btnPrint"), 8, 6, 75, 25);
  btnPrint->SetCaption(QStringLiteral("打印(&P)"));
  btnPrint->OnClick = [this](TObject* Sender) { PrintClick(Sender); };
  btnPrior = Place<TButton>(this, QStringLiteral("btnPrior"), 91, 6, 75, 25);
  btnPrior->SetCaption(QStringLiteral("上一页"));
  btnPrior->OnClick = [this](TObject*) { SetPageIndex(FPageIndex - 1); };
  btnNext = Place<TButton>(this, QStringLiteral("btnNext"), 174, 6, 75, 25);
  btnNext->SetCaption(QStringLiteral("下一页"));
  btnNext->OnClick = [this](TObject*) { SetPageIndex(FPageIndex + 1); };
  btnClose = Place<TButton>(this, QStringLiteral("btnClose"), 257, 6, 75, 25);
  btnClose->SetCaption(QStringLiteral("关闭(&C)"));
  btnClose->SetCancel(true);
  btnClose->OnClick = [this](TObject*) { Close(); };
  lblPage = Place<TLabel>(this, QStringLiteral("lblPage"), 350, 11, 200, 16);
  pgPage = new TRvPreviewPage(this, this);
  pgPage->SetName(QStringLiteral("pgPage"));
  pgPage->SetParent(this);
  pgPage->SetBounds(0, 37, ClientWidth(), ClientHeight() - 37);
  pgPage->SetAnchors({akLeft, akTop, akRight, akBottom});
  ShowPageNumber();
}

void TRvPreviewForm::SetPages(TRecordedPages Pages, TPrinterOrientation Orientation, const String& Title) {
  FPages = std::move(Pages);
  FOrientation = Orientation;
  FTitle = Title;
  FPageIndex = FPages.empty() ? 0 : 1;
  ShowPageNumber();
}

void TRvPreviewForm::SetPageIndex(Integer Value) {
  if (FPages.empty()) return;
  const Integer page = std::clamp<Integer>(Value, 1, PageCount());
  if (page == FPageIndex) return;
  FPageIndex = page;
  ShowPageNumber();
}

void TRvPreviewForm::ShowPageNumber() {
  lblPage->SetCaption(QStringLiteral("第 %1 页，共 %2 页").arg(FPageIndex).arg(PageCount()));
  btnPrint->SetEnabled(!FPages.empty());
  btnPrior->SetEnabled(FPageIndex > 1);
  btnNext->SetEnabled(FPageIndex < PageCount());
  pgPage->Invalidate();
}

void TRvPreviewForm::PrintClick(TObject*) {
  if (FPages.empty()) return;
  TPrintDialog dialog(nullptr);
  dialog.SetMinPage(1);
  dialog.SetMaxPage(PageCount());
  dialog.SetFromPage(1);
  dialog.SetToPage(PageCount());
  if (!dialog.Execute()) return;
  const bool range = dialog.PrintRange() == prPageNums;
  PrintRecordedPages(Printer(), FPages, range ? dialog.FromPage() : 1, range ? dialog.ToPage() : PageCount(), FTitle,
                     FOrientation, {});
}
