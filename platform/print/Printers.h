#pragma once
// The printer object: the list of printers with "print to a PDF file" always last, the
// selected printer's page metrics in device pixels, and a document made of pages drawn on
// the printer's canvas between BeginDoc and EndDoc.
#include "platform/ui/Graphics.h"
#include <memory>

class QPrinter;
class TPrinterCanvas;

enum TPrinterOrientation { poPortrait, poLandscape };
enum TPrinterCapability { pcCopies, pcOrientation, pcCollation };
using TPrinterCapabilities = TSet<TPrinterCapability>;

// The name the PDF printer has in the printer list.
extern const String PdfPrinterName;

class TPrinter : public TObject {
public:
  TPrinter();
  ~TPrinter() override;
  TPrinter(const TPrinter&) = delete;
  TPrinter& operator=(const TPrinter&) = delete;

  // ---- the printers: the system's, then the PDF printer
  TStrings* Printers() const { return FPrinters.get(); }
  // The selected printer; it starts at the system's default printer, or at the PDF
  // printer when no printer is installed. -1 selects that default again.
  Integer PrinterIndex() const { return FPrinterIndex; }
  void SetPrinterIndex(Integer Value);
  Integer PdfPrinterIndex() const { return FPrinters->Count() - 1; }
  bool IsPdfPrinter() const { return FPrinterIndex == PdfPrinterIndex(); }
  // Selects the printer called Device; the driver and port names are those of the list.
  void GetPrinter(String& Device, String& Driver, String& Port) const;
  void SetPrinter(const String& Device, const String& Driver, const String& Port);
  // Where the PDF printer writes its document.
  const String& FileName() const { return FFileName; }
  void SetFileName(const String& Value) { FFileName = Value; }

  // ---- settings of the selected printer
  TPrinterOrientation Orientation() const;
  void SetOrientation(TPrinterOrientation Value);
  Integer Copies() const;
  void SetCopies(Integer Value);
  const String& Title() const { return FTitle; }
  void SetTitle(const String& Value) { FTitle = Value; }
  // Paper size in millimetres, as held in portrait (width the shorter side for standard paper).
  double PaperWidthMM() const;
  double PaperHeightMM() const;
  void SetPaperSize(double WidthMM, double HeightMM);
  TPrinterCapabilities Capabilities() const { return {pcCopies, pcOrientation, pcCollation}; }
  // Names of the fonts the printer can use.
  TStrings* Fonts() const;

  // ---- metrics of the selected printer in device pixels, following the orientation
  Integer PageWidth() const;    // printable width
  Integer PageHeight() const;   // printable height
  Integer PixelsPerInchX() const;
  Integer PixelsPerInchY() const;
  // Distance from the paper's edge to the printable area.
  Integer PhysicalOffsetX() const;
  Integer PhysicalOffsetY() const;
  // The whole sheet.
  Integer PhysicalWidth() const;
  Integer PhysicalHeight() const;
  // Printable size in millimetres.
  Integer HorzSizeMM() const;
  Integer VertSizeMM() const;

  // ---- a document
  // Raises EPrinter while a document is being printed or when the printer cannot start.
  void BeginDoc();
  // Raise EPrinter when no document is being printed.
  void NewPage();
  void EndDoc();
  // Ends the document without finishing it; the PDF printer leaves no file behind.
  void Abort();
  bool Printing() const { return FPrinting; }
  bool Aborted() const { return FAborted; }
  Integer PageNumber() const { return FPageNumber; }
  // Draws on the current page while printing; measures text at the printer's resolution
  // at any time.
  TCanvas* Canvas() const;
  // The device pages are drawn on.
  QPrinter* Handle() const { return FDevice.get(); }

private:
  void MakeDevice();
  void FitCanvasFont();
  void CheckPrinting(bool Value) const;

  std::unique_ptr<TStringList> FPrinters;
  mutable std::unique_ptr<TStringList> FFonts;
  Integer FPrinterIndex = -1;
  std::unique_ptr<QPrinter> FDevice;
  std::unique_ptr<QPainter> FPainter;
  std::unique_ptr<TPrinterCanvas> FCanvas;
  String FFileName;
  String FTitle;
  bool FPrinting = false;
  bool FAborted = false;
  Integer FPageNumber = 0;
};

// The printer the program prints on, made on first use.
TPrinter* Printer();
// Makes NewPrinter the one Printer() returns (nullptr: the one made on first use) and
// returns the previous one; the caller keeps ownership of the printers it passes.
TPrinter* SetPrinter(TPrinter* NewPrinter);
