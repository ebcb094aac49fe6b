#include "gridout/VirtualPrinter.h"

bool TVirtualPrinter::GetAborted() { return Printer()->Aborted(); }
TCanvas* TVirtualPrinter::GetCanvas() { return Printer()->Canvas(); }
TPrinterCapabilities TVirtualPrinter::GetCapabilities() { return Printer()->Capabilities(); }
TStrings* TVirtualPrinter::GetFonts() { return Printer()->Fonts(); }
QPrinter* TVirtualPrinter::GetHandle() { return Printer()->Handle(); }
Integer TVirtualPrinter::GetCopies() { return Printer()->Copies(); }
TPrinterOrientation TVirtualPrinter::GetOrientation() { return Printer()->Orientation(); }
Integer TVirtualPrinter::GetPageHeight() { return Printer()->PageHeight(); }
Integer TVirtualPrinter::GetPageWidth() { return Printer()->PageWidth(); }
Integer TVirtualPrinter::GetPageNumber() { return Printer()->PageNumber(); }
bool TVirtualPrinter::GetPrinting() { return Printer()->Printing(); }
String TVirtualPrinter::GetTitle() { return Printer()->Title(); }
Integer TVirtualPrinter::GetFullPageWidth() { return Printer()->PageWidth() + 2 * Printer()->PhysicalOffsetX(); }
Integer TVirtualPrinter::GetFullPageHeight() { return Printer()->PageHeight() + 2 * Printer()->PhysicalOffsetY(); }
Integer TVirtualPrinter::GetPrinterIndex() { return Printer()->PrinterIndex(); }
TStrings* TVirtualPrinter::GetPrinters() { return Printer()->Printers(); }
Integer TVirtualPrinter::GetPixelsPerInchX() { return Printer()->PixelsPerInchX(); }
Integer TVirtualPrinter::GetPixelsPerInchY() { return Printer()->PixelsPerInchY(); }
void TVirtualPrinter::SetPrinterIndex(Integer Value) { Printer()->SetPrinterIndex(Value); }
void TVirtualPrinter::SetCopies(Integer Value) { Printer()->SetCopies(Value); }
void TVirtualPrinter::SetOrientation(TPrinterOrientation Value) { Printer()->SetOrientation(Value); }
void TVirtualPrinter::SetTitle(const String& Value) { Printer()->SetTitle(Value); }
void TVirtualPrinter::Abort() { Printer()->Abort(); }
void TVirtualPrinter::BeginDoc() { Printer()->BeginDoc(); }
void TVirtualPrinter::EndDoc() { Printer()->EndDoc(); }
void TVirtualPrinter::NewPage() { Printer()->NewPage(); }

void TVirtualPrinter::GetPrinter(String& Device, String& Driver, String& Port) {
  Printer()->GetPrinter(Device, Driver, Port);
}

void TVirtualPrinter::SetPrinter(const String& Device, const String& Driver, const String& Port) {
  Printer()->SetPrinter(Device, Driver, Port);
}

TVirtualPrinter* VirtualPrinter() {
  static TVirtualPrinter printer;
  return &printer;
}

TVirtualPrinterDocument::TVirtualPrinterDocument(TVirtualPrinter* Printer) : FPrinter(Printer) { FPrinter->BeginDoc(); }

TVirtualPrinterDocument::~TVirtualPrinterDocument() {
  if (FEnded) return;
  // An exception is on its way out: finishing must not throw another.
  try {
    if (FPrinter->GetPrinting()) FPrinter->Abort();
    if (FPrinter->GetPrinting()) FPrinter->EndDoc();
  } catch (...) {
  }
}

void TVirtualPrinterDocument::End() {
  FEnded = true;
  FPrinter->EndDoc();
}
