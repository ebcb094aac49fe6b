#pragma once
// The printer grid output draws through. The base forwards every operation to the platform
// printer of the moment (Printer()); the preview's recorder overrides every one, so drawing
// code that holds a TVirtualPrinter prints on paper or into the preview alike.
#include "platform/print/Printers.h"

class TVirtualPrinter : public TObject {
public:
  TVirtualPrinter() = default;

  virtual bool GetAborted();
  virtual TCanvas* GetCanvas();
  virtual TPrinterCapabilities GetCapabilities();
  virtual TStrings* GetFonts();
  // The device pages are measured and drawn on.
  virtual QPrinter* GetHandle();
  virtual Integer GetCopies();
  virtual TPrinterOrientation GetOrientation();
  // Printable size in device pixels.
  virtual Integer GetPageHeight();
  virtual Integer GetPageWidth();
  virtual Integer GetPageNumber();
  virtual bool GetPrinting();
  virtual String GetTitle();
  // Printable size plus twice the distance from the paper's edge: about the paper's size.
  virtual Integer GetFullPageWidth();
  virtual Integer GetFullPageHeight();
  virtual Integer GetPrinterIndex();
  virtual TStrings* GetPrinters();
  virtual Integer GetPixelsPerInchX();
  virtual Integer GetPixelsPerInchY();
  virtual void SetPrinterIndex(Integer Value);
  virtual void SetCopies(Integer Value);
  virtual void SetOrientation(TPrinterOrientation Value);
  virtual void SetTitle(const String& Value);
  virtual void Abort();
  virtual void BeginDoc();
  virtual void EndDoc();
  virtual void NewPage();
  virtual void GetPrinter(String& Device, String& Driver, String& Port);
  virtual void SetPrinter(const String& Device, const String& Driver, const String& Port);
};

// The forwarding printer shared by the program.
TVirtualPrinter* VirtualPrinter();

// One document on a virtual printer: begun when made, ended by End. When the drawing code
// fails in between, the destructor aborts and ends the document, so no printer (and no
// preview waiting for the end of its recording) is left in the middle of a document.
class TVirtualPrinterDocument {
public:
  explicit TVirtualPrinterDocument(TVirtualPrinter* Printer);
  ~TVirtualPrinterDocument();
  TVirtualPrinterDocument(const TVirtualPrinterDocument&) = delete;
  TVirtualPrinterDocument& operator=(const TVirtualPrinterDocument&) = delete;
  void End();
private:
  TVirtualPrinter* FPrinter;
  bool FEnded = false;
};
