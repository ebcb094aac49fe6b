#include "platform/print/PrintDialogs.h"
#include "platform/ui/Dialogs.h"
#include <QButtonGroup>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

namespace {

// The dialog a person answers.
bool AskWithQtDialog(TPrintDialogRequest& Request) {
  QDialog dialog;
  dialog.setWindowTitle(Request.Kind == pdkPrint ? QStringLiteral("打印") : QStringLiteral("打印设置"));
  auto* form = new QFormLayout(&dialog);
  auto* printers = new QComboBox(&dialog);
  printers->addItems(Request.Printers);
  printers->setCurrentIndex(Request.PrinterIndex);
  form->addRow(QStringLiteral("打印机："), printers);

  auto* fileRow = new QHBoxLayout;
  auto* file = new QLineEdit(Request.FileName, &dialog);
  auto* browse = new QPushButton(QStringLiteral("浏览..."), &dialog);
  fileRow->addWidget(file);
  fileRow->addWidget(browse);
  form->addRow(QStringLiteral("PDF 文件："), fileRow);
  QObject::connect(browse, &QPushButton::clicked, &dialog, [file] {
    TFileDialogRequest choose;
    choose.Kind = fdSave;
    choose.Filter = QStringLiteral("PDF 文件 (*.pdf)|*.pdf");
    choose.DefaultExt = QStringLiteral("pdf");
    choose.FileName = file->text();
    if (TDialogs::ChooseFile(choose)) file->setText(choose.FileName);
  });
  auto showFile = [&] { file->setEnabled(printers->currentIndex() == Request.PdfPrinterIndex); };
  QObject::connect(printers, qOverload<int>(&QComboBox::currentIndexChanged), &dialog, showFile);
  showFile();

  auto* portrait = new QRadioButton(QStringLiteral("纵向"), &dialog);
  auto* landscape = new QRadioButton(QStringLiteral("横向"), &dialog);
  // Each choice is a group of its own: radio buttons of one dialog would otherwise exclude
  // each other across the choices, and checking a page range cleared the orientation.
  auto* orientations = new QButtonGroup(&dialog);
  orientations->addButton(portrait);
  orientations->addButton(landscape);
  (Request.Orientation == poLandscape ? landscape : portrait)->setChecked(true);
  auto* orientation = new QHBoxLayout;
  orientation->addWidget(portrait);
  orientation->addWidget(landscape);
  form->addRow(QStringLiteral("方向："), orientation);

  QSpinBox* copies = nullptr;
  QRadioButton *all = nullptr, *range = nullptr;
  QSpinBox *from = nullptr, *to = nullptr;
  if (Request.Kind == pdkPrint) {
    copies = new QSpinBox(&dialog);
    copies->setRange(1, 999);
    copies->setValue(Request.Copies);
    form->addRow(QStringLiteral("份数："), copies);
    all = new QRadioButton(QStringLiteral("全部"), &dialog);
    range = new QRadioButton(QStringLiteral("页码范围"), &dialog);
    auto* ranges = new QButtonGroup(&dialog);
    ranges->addButton(all);
    ranges->addButton(range);
    from = new QSpinBox(&dialog);
    to = new QSpinBox(&dialog);
    for (QSpinBox* box : {from, to}) box->setRange(Request.MinPage, std::max(Request.MinPage, Request.MaxPage));
    from->setValue(Request.FromPage);
    to->setValue(Request.ToPage);
    (Request.PrintRange == prPageNums ? range : all)->setChecked(true);
    range->setEnabled(Request.MaxPage > 0);
    auto* pages = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{all, range, from, to}) pages->addWidget(w);
    form->addRow(QStringLiteral("打印范围："), pages);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  form->addRow(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  if (dialog.exec() != QDialog::Accepted) return false;

  Request.PrinterIndex = printers->currentIndex();
  Request.FileName = file->text();
  Request.Orientation = landscape->isChecked() ? poLandscape : poPortrait;
  if (copies) {
    Request.Copies = copies->value();
    Request.PrintRange = range->isChecked() ? prPageNums : prAllPages;
    Request.FromPage = from->value();
    Request.ToPage = to->value();
  }
  return true;
}

TPrintDialogAnswer& CurrentAnswer() {
  static TPrintDialogAnswer answer;
  return answer;
}

TPrintDialogRequest RequestFromPrinter(TPrintDialogKind Kind) {
  TPrinter* printer = Printer();
  TPrintDialogRequest request;
  request.Kind = Kind;
  for (Integer i = 0; i < printer->Printers()->Count(); ++i) request.Printers << printer->Printers()->Strings(i);
  request.PrinterIndex = printer->PrinterIndex();
  request.PdfPrinterIndex = printer->PdfPrinterIndex();
  request.FileName = printer->FileName();
  request.Copies = printer->Copies();
  request.Orientation = printer->Orientation();
  return request;
}

// A PDF chosen without a file name would fail only when printing starts.
bool ApplyToPrinter(const TPrintDialogRequest& Request) {
  TPrinter* printer = Printer();
  if (Request.PrinterIndex == printer->PdfPrinterIndex() && Request.FileName.isEmpty()) {
    TDialogs::ShowMessage(QStringLiteral("请指定 PDF 文件名！"));
    return false;
  }
  printer->SetPrinterIndex(Request.PrinterIndex);
  printer->SetFileName(Request.FileName);
  printer->SetOrientation(Request.Orientation);
  return true;
}

}  // namespace

TPrintDialogAnswer TPrintDialogs::SetAnswer(TPrintDialogAnswer Answer) {
  TPrintDialogAnswer previous = std::move(CurrentAnswer());
  CurrentAnswer() = std::move(Answer);
  return previous;
}

bool TPrintDialogs::Ask(TPrintDialogRequest& Request) {
  return CurrentAnswer() ? CurrentAnswer()(Request) : AskWithQtDialog(Request);
}

bool TPrintDialog::Execute() {
  TPrintDialogRequest request = RequestFromPrinter(pdkPrint);
  request.Copies = FCopies;
  request.PrintRange = FPrintRange;
  request.FromPage = FFromPage;
  request.ToPage = FToPage;
  request.MinPage = FMinPage;
  request.MaxPage = FMaxPage;
  if (!TPrintDialogs::Ask(request) || !ApplyToPrinter(request)) return false;
  Printer()->SetCopies(request.Copies);
  FCopies = request.Copies;
  FPrintRange = request.PrintRange;
  FFromPage = std::clamp(request.FromPage, FMinPage, std::max(FMinPage, FMaxPage));
  FToPage = std::clamp(request.ToPage, FFromPage, std::max(FFromPage, FMaxPage));
  return true;
}

bool TPrinterSetupDialog::Execute() {
  TPrintDialogRequest request = RequestFromPrinter(pdkPrinterSetup);
  return TPrintDialogs::Ask(request) && ApplyToPrinter(request);
}
