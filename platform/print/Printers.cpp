#include "platform/print/Printers.h"
#include "platform/print/PdfTextMap.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/SysUtils.h"
#include <QFile>
#include <QFontDatabase>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>

const String PdfPrinterName = QStringLiteral("打印到 PDF 文件");

namespace {

// PDF pages are laid out at a printer-like resolution so that pixel metrics match paper.
constexpr int PdfResolution = 600;

Integer Rounded(double Value) { return Integer(std::lround(Value)); }

}  // namespace

// The printer's canvas: it reaches the page only between BeginDoc and EndDoc.
class TPrinterCanvas : public TCanvas {
public:
  explicit TPrinterCanvas(const TPrinter* Owner) : FOwner(Owner) {}
  void Attach(QPainter* Painter) { SetPainter(Painter, false); }
  void Detach() { ReleasePainter(); }
  TSize DeviceSize() const override { return {FOwner->PageWidth(), FOwner->PageHeight()}; }
private:
  const TPrinter* FOwner;
};

TPrinter::TPrinter() : FPrinters(std::make_unique<TStringList>()), FCanvas(std::make_unique<TPrinterCanvas>(this)) {
  for (const QString& name : QPrinterInfo::availablePrinterNames()) FPrinters->Add(name);
  FPrinters->Add(PdfPrinterName);
  SetPrinterIndex(-1);
}

TPrinter::~TPrinter() {
  if (FPrinting) Abort();
}

void TPrinter::CheckPrinting(bool Value) const {
  if (FPrinting == Value) return;
  throw EPrinter(Value ? QStringLiteral("打印机当前没有在打印") : QStringLiteral("正在打印中"));
}

void TPrinter::SetPrinterIndex(Integer Value) {
  CheckPrinting(false);
  if (Value < 0) {
    const QString def = QPrinterInfo::defaultPrinterName();
    Value = def.isEmpty() ? -1 : FPrinters->IndexOf(def);
    if (Value < 0) Value = PdfPrinterIndex();
  }
  if (Value >= FPrinters->Count()) throw EPrinter(QStringLiteral("打印机序号无效"));
  if (Value == FPrinterIndex && FDevice) return;
  FPrinterIndex = Value;
  MakeDevice();
}

void TPrinter::MakeDevice() {
  std::unique_ptr<QPrinter> previous = std::move(FDevice);
  FDevice = std::make_unique<QPrinter>(QPrinter::HighResolution);
  if (IsPdfPrinter()) {
    FDevice->setOutputFormat(QPrinter::PdfFormat);
    FDevice->setResolution(PdfResolution);
    FDevice->setFullPage(true);
    FDevice->setPageSize(QPageSize(QPageSize::A4));
  } else {
    FDevice->setPrinterName(FPrinters->Strings(FPrinterIndex));
  }
  // The user's choices survive a change of printer.
  if (previous) {
    FDevice->setPageSize(previous->pageLayout().pageSize());
    FDevice->setPageOrientation(previous->pageLayout().orientation());
    FDevice->setCopyCount(previous->copyCount());
  }
  FitCanvasFont();
}

void TPrinter::FitCanvasFont() {
  TFont* font = FCanvas->Font();
  const Integer points = font->Size();
  font->SetPixelsPerInch(std::min(PixelsPerInchX(), PixelsPerInchY()));
  font->SetSize(points);
}

void TPrinter::GetPrinter(String& Device, String& Driver, String& Port) const {
  Device = FPrinters->Strings(FPrinterIndex);
  Driver = IsPdfPrinter() ? QStringLiteral("PDF") : QString();
  Port = IsPdfPrinter() ? FFileName : QString();
}

void TPrinter::SetPrinter(const String& Device, const String& Driver, const String& Port) {
  (void)Driver;
  const Integer index = FPrinters->IndexOf(Device);
  if (index < 0) throw EPrinter(QStringLiteral("找不到打印机：%1").arg(Device));
  SetPrinterIndex(index);
  if (IsPdfPrinter() && !Port.isEmpty()) FFileName = Port;
}

TPrinterOrientation TPrinter::Orientation() const {
  return FDevice->pageLayout().orientation() == QPageLayout::Landscape ? poLandscape : poPortrait;
}

void TPrinter::SetOrientation(TPrinterOrientation Value) {
  CheckPrinting(false);
  FDevice->setPageOrientation(Value == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

Integer TPrinter::Copies() const { return FDevice->copyCount(); }

void TPrinter::SetCopies(Integer Value) {
  CheckPrinting(false);
  FDevice->setCopyCount(std::max<Integer>(1, Value));
}

double TPrinter::PaperWidthMM() const { return FDevice->pageLayout().pageSize().size(QPageSize::Millimeter).width(); }

double TPrinter::PaperHeightMM() const { return FDevice->pageLayout().pageSize().size(QPageSize::Millimeter).height(); }

void TPrinter::SetPaperSize(double WidthMM, double HeightMM) {
  CheckPrinting(false);
  if (WidthMM <= 0 || HeightMM <= 0) throw EPrinter(QStringLiteral("纸张尺寸无效"));
  // A size that is a standard paper keeps its name ("A4"), which printers and viewers show.
  FDevice->setPageSize(QPageSize(QSizeF(WidthMM, HeightMM), QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch));
}

TStrings* TPrinter::Fonts() const {
  if (!FFonts) {
    FFonts = std::make_unique<TStringList>();
    for (const QString& family : QFontDatabase::families()) FFonts->Add(family);
  }
  return FFonts.get();
}

Integer TPrinter::PageWidth() const { return Rounded(FDevice->pageRect(QPrinter::DevicePixel).width()); }
Integer TPrinter::PageHeight() const { return Rounded(FDevice->pageRect(QPrinter::DevicePixel).height()); }
Integer TPrinter::PixelsPerInchX() const { return FDevice->resolution(); }
Integer TPrinter::PixelsPerInchY() const { return FDevice->resolution(); }

Integer TPrinter::PhysicalOffsetX() const {
  return Rounded(FDevice->pageRect(QPrinter::DevicePixel).left() - FDevice->paperRect(QPrinter::DevicePixel).left());
}

Integer TPrinter::PhysicalOffsetY() const {
  return Rounded(FDevice->pageRect(QPrinter::DevicePixel).top() - FDevice->paperRect(QPrinter::DevicePixel).top());
}

Integer TPrinter::PhysicalWidth() const { return Rounded(FDevice->paperRect(QPrinter::DevicePixel).width()); }
Integer TPrinter::PhysicalHeight() const { return Rounded(FDevice->paperRect(QPrinter::DevicePixel).height()); }
Integer TPrinter::HorzSizeMM() const { return Rounded(FDevice->pageRect(QPrinter::Millimeter).width()); }
Integer TPrinter::VertSizeMM() const { return Rounded(FDevice->pageRect(QPrinter::Millimeter).height()); }

TCanvas* TPrinter::Canvas() const { return FCanvas.get(); }

void TPrinter::BeginDoc() {
  CheckPrinting(false);
  if (IsPdfPrinter()) {
    if (FFileName.isEmpty()) throw EPrinter(QStringLiteral("没有指定 PDF 文件名"));
    FDevice->setOutputFileName(FFileName);
  }
  FDevice->setDocName(FTitle);
  FPainter = std::make_unique<QPainter>();
  if (!FPainter->begin(FDevice.get())) {
    FPainter.reset();
    throw EPrinter(QStringLiteral("打印机“%1”无法开始打印").arg(FPrinters->Strings(FPrinterIndex)));
  }
  FPrinting = true;
  FAborted = false;
  FPageNumber = 1;
  FitCanvasFont();
  FCanvas->Attach(FPainter.get());
}

void TPrinter::NewPage() {
  CheckPrinting(true);
  if (!FDevice->newPage()) throw EPrinter(QStringLiteral("无法开始新的一页"));
  ++FPageNumber;
}

void TPrinter::EndDoc() {
  CheckPrinting(true);
  FCanvas->Detach();
  FPrinting = false;
  FPageNumber = 0;
  const bool finished = FPainter->end();
  FPainter.reset();
  if (!finished) throw EPrinter(QStringLiteral("打印文档没有完成"));
  if (IsPdfPrinter()) {
    QFile file(FFileName);
    if (!file.open(QIODevice::ReadOnly)) throw EPrinter(QStringLiteral("无法读取打印的 PDF 文件"));
    const QByteArray written = file.readAll();
    file.close();
    const QByteArray repaired = RepairPdfTextMaps(written);
    if (repaired != written) AtomicWriteFile(FFileName, repaired);
  }
}

void TPrinter::Abort() {
  CheckPrinting(true);
  FCanvas->Detach();
  FDevice->abort();
  FPainter->end();
  FPainter.reset();
  if (IsPdfPrinter()) QFile::remove(FFileName);
  FPrinting = false;
  FAborted = true;
  FPageNumber = 0;
}

namespace {

TPrinter*& CurrentPrinter() {
  static TPrinter* current = nullptr;
  return current;
}

TPrinter* DefaultPrinter() {
  static std::unique_ptr<TPrinter> printer;
  if (!printer) printer = std::make_unique<TPrinter>();
  return printer.get();
}

}  // namespace

TPrinter* Printer() { return CurrentPrinter() ? CurrentPrinter() : DefaultPrinter(); }

TPrinter* SetPrinter(TPrinter* NewPrinter) {
  TPrinter* previous = Printer();
  CurrentPrinter() = NewPrinter;
  return previous;
}
