#pragma once
// The print and printer-setup dialogs. They work on the global printer: the choices made
// are put on Printer() when the user confirms. Like every modal question they go through
// one replaceable answerer, so tests script the answers and never block.
#include "platform/print/Printers.h"

enum TPrintRange { prAllPages, prSelection, prPageNums };
enum TPrintDialogKind { pdkPrint, pdkPrinterSetup };

// What the dialog shows on the way in and what the user chose on the way out.
struct TPrintDialogRequest {
  TPrintDialogKind Kind = pdkPrint;
  QStringList Printers;
  Integer PrinterIndex = 0;
  Integer PdfPrinterIndex = 0;
  String FileName;  // for the PDF printer
  Integer Copies = 1;
  TPrinterOrientation Orientation = poPortrait;
  TPrintRange PrintRange = prAllPages;
  Integer FromPage = 0, ToPage = 0, MinPage = 0, MaxPage = 0;
};

using TPrintDialogAnswer = std::function<bool(TPrintDialogRequest& Request)>;

class TPrintDialogs {
public:
  // Installs Answer (an empty one restores the Qt dialog) and returns the previous one.
  static TPrintDialogAnswer SetAnswer(TPrintDialogAnswer Answer);
  // Asks through the installed answerer; false when the user cancelled.
  static bool Ask(TPrintDialogRequest& Request);
};

class TPrintDialog : public TComponent {
public:
  explicit TPrintDialog(TComponent* AOwner) : TComponent(AOwner) {}
  String ClassName() const override { return QStringLiteral("TPrintDialog"); }
  Integer Copies() const { return FCopies; }
  void SetCopies(Integer Value) { FCopies = Value; }
  TPrintRange PrintRange() const { return FPrintRange; }
  void SetPrintRange(TPrintRange Value) { FPrintRange = Value; }
  Integer FromPage() const { return FFromPage; }
  void SetFromPage(Integer Value) { FFromPage = Value; }
  Integer ToPage() const { return FToPage; }
  void SetToPage(Integer Value) { FToPage = Value; }
  Integer MinPage() const { return FMinPage; }
  void SetMinPage(Integer Value) { FMinPage = Value; }
  Integer MaxPage() const { return FMaxPage; }
  void SetMaxPage(Integer Value) { FMaxPage = Value; }
  // Shows the dialog; on OK the printer, copies, orientation and PDF file go to Printer()
  // and the page range is kept here.
  bool Execute();
private:
  Integer FCopies = 1;
  TPrintRange FPrintRange = prAllPages;
  Integer FFromPage = 0, FToPage = 0, FMinPage = 0, FMaxPage = 0;
};

class TPrinterSetupDialog : public TComponent {
public:
  explicit TPrinterSetupDialog(TComponent* AOwner) : TComponent(AOwner) {}
  String ClassName() const override { return QStringLiteral("TPrinterSetupDialog"); }
  // Shows the dialog; on OK the printer, orientation and PDF file go to Printer().
  bool Execute();
};
