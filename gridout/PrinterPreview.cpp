#include "gridout/PrinterPreview.h"
#include "gridout/PreviewBox.h"

namespace {

// The page reported when no printer is installed: 600 dots per inch, about A4.
constexpr Integer NoPrinterResolution = 600;
constexpr Integer NoPrinterPageWidth = 4676, NoPrinterPageHeight = 6744;
constexpr Integer NoPrinterOffsetX = 130, NoPrinterOffsetY = 150;
constexpr Integer NoPrinterWidthMM = 198, NoPrinterHeightMM = 285;

}  // namespace

TPrinterPreview::TPrinterPreview() : FPrinter(std::make_unique<TPrinter>()) {}

TPrinterPreview::~TPrinterPreview() = default;

bool TPrinterPreview::HasPrinters() const { return FPrinter->Printers()->Count() > 1; }

TPrinterCapabilities TPrinterPreview::GetCapabilities() { return FPrinter->Capabilities(); }
TStrings* TPrinterPreview::GetFonts() { return FPrinter->Fonts(); }
QPrinter* TPrinterPreview::GetHandle() { return FPrinter->Handle(); }
Integer TPrinterPreview::GetCopies() { return FPrinter->Copies(); }
TPrinterOrientation TPrinterPreview::GetOrientation() { return FPrinter->Orientation(); }
String TPrinterPreview::GetTitle() { return FPrinter->Title(); }
Integer TPrinterPreview::GetPrinterIndex() { return FPrinter->PrinterIndex(); }
TStrings* TPrinterPreview::GetPrinters() { return FPrinter->Printers(); }
void TPrinterPreview::SetPrinterIndex(Integer Value) { FPrinter->SetPrinterIndex(Value); }
void TPrinterPreview::SetCopies(Integer Value) { FPrinter->SetCopies(Value); }
void TPrinterPreview::SetOrientation(TPrinterOrientation Value) { FPrinter->SetOrientation(Value); }
void TPrinterPreview::SetTitle(const String& Value) { FPrinter->SetTitle(Value); }

void TPrinterPreview::GetPrinter(String& Device, String& Driver, String& Port) {
  FPrinter->GetPrinter(Device, Driver, Port);
}

void TPrinterPreview::SetPrinter(const String& Device, const String& Driver, const String& Port) {
  FPrinter->SetPrinter(Device, Driver, Port);
}

// Without printers the fixed page turns with the orientation chosen for it.
Integer TPrinterPreview::FixedMetric(Integer Portrait, Integer Landscape) const {
  return FPrinter->Orientation() == poLandscape ? Landscape : Portrait;
}

Integer TPrinterPreview::GetPageHeight() {
  return HasPrinters() ? FPrinter->PageHeight() : FixedMetric(NoPrinterPageHeight, NoPrinterPageWidth);
}
Integer TPrinterPreview::GetPageWidth() {
  return HasPrinters() ? FPrinter->PageWidth() : FixedMetric(NoPrinterPageWidth, NoPrinterPageHeight);
}
Integer TPrinterPreview::PhysicalOffsetX() {
  return HasPrinters() ? FPrinter->PhysicalOffsetX() : FixedMetric(NoPrinterOffsetX, NoPrinterOffsetY);
}
Integer TPrinterPreview::PhysicalOffsetY() {
  return HasPrinters() ? FPrinter->PhysicalOffsetY() : FixedMetric(NoPrinterOffsetY, NoPrinterOffsetX);
}
Integer TPrinterPreview::GetFullPageWidth() { return GetPageWidth() + 2 * PhysicalOffsetX(); }
Integer TPrinterPreview::GetFullPageHeight() { return GetPageHeight() + 2 * PhysicalOffsetY(); }
Integer TPrinterPreview::GetPixelsPerInchX() { return HasPrinters() ? FPrinter->PixelsPerInchX() : NoPrinterResolution; }
Integer TPrinterPreview::GetPixelsPerInchY() { return HasPrinters() ? FPrinter->PixelsPerInchY() : NoPrinterResolution; }
Integer TPrinterPreview::HorzSizeMM() {
  return HasPrinters() ? FPrinter->HorzSizeMM() : FixedMetric(NoPrinterWidthMM, NoPrinterHeightMM);
}
Integer TPrinterPreview::VertSizeMM() {
  return HasPrinters() ? FPrinter->VertSizeMM() : FixedMetric(NoPrinterHeightMM, NoPrinterWidthMM);
}

const TPageRecording* TPrinterPreview::PageFile(Integer Page) const {
  return Page >= 1 && Page <= PageFileCount() ? FPageFiles[size_t(Page - 1)].get() : nullptr;
}

// A canvas on the newest page, measuring at the printer's resolution.
void TPrinterPreview::NewPageCanvas() {
  FPageCanvas = std::make_unique<TRecordingCanvas>(FPageFiles.back().get());
}

void TPrinterPreview::FirePreviewChanged() {
  if (FOwnerBox && FOwnerBox->OnPrinterPreviewChanged) FOwnerBox->OnPrinterPreviewChanged(this);
}

void TPrinterPreview::FireOpenPreviewer() {
  if (FOwnerBox && FOwnerBox->OnOpenPreviewer) FOwnerBox->OnOpenPreviewer(this);
}

void TPrinterPreview::BeginDoc() {
  FPageCanvas.reset();
  FPageFiles.clear();
  FRecordedOffsetX = PhysicalOffsetX();
  FRecordedOffsetY = PhysicalOffsetY();
  FPageFiles.push_back(
      std::make_unique<TPageRecording>(GetPageWidth(), GetPageHeight(), GetPixelsPerInchX(), GetPixelsPerInchY()));
  NewPageCanvas();
  FPageNumber = 1;
  FIsAborted = false;
  FIsPrinting = true;
  if (FOwnerBox) {
    FOwnerBox->FPageCount = 1;
    FOwnerBox->FPageIndex = 1;
    FOwnerBox->InvalidatePage();
  }
  FirePreviewChanged();
}

void TPrinterPreview::NewPage() {
  if (!FIsPrinting) throw EPrinter(QStringLiteral("打印机当前没有在打印"));
  FPageFiles.push_back(
      std::make_unique<TPageRecording>(GetPageWidth(), GetPageHeight(), GetPixelsPerInchX(), GetPixelsPerInchY()));
  FPageCanvas.reset();
  if (FPageFiles.size() == 2 && FOwnerBox) FOwnerBox->UpdatePageLayout();
  NewPageCanvas();
  ++FPageNumber;
  if (FOwnerBox) FOwnerBox->FPageCount = PageFileCount() - 1;
  FireOpenPreviewer();
  FirePreviewChanged();
}

void TPrinterPreview::EndDoc() {
  if (!FIsPrinting) throw EPrinter(QStringLiteral("打印机当前没有在打印"));
  FPageCanvas.reset();
  if (FOwnerBox) {
    FOwnerBox->FPageCount = PageFileCount();
    if (PageFileCount() == 1) FOwnerBox->UpdatePageLayout();
    FOwnerBox->InvalidatePage();
  }
  FPageNumber = -1;
  FIsPrinting = false;
  if (FOwnerBox) {
    FOwnerBox->SetupDialogHandler = std::move(FPendingSetupDialog);
    FOwnerBox->SetupChangedHandler = std::move(FPendingSetupChanged);
    FOwnerBox->SetPrintComponent(FPendingPrintComponent);
  }
  FPendingSetupDialog = nullptr;
  FPendingSetupChanged = nullptr;
  FPendingPrintComponent = nullptr;
  FireOpenPreviewer();
  FirePreviewChanged();
}

void TPrinterPreview::DrawPage(TObject* Target, TCanvas* Canvas, Integer Page) {
  (void)Target;
  if (const TPageRecording* page = PageFile(Page)) page->Replay(Canvas);
}
