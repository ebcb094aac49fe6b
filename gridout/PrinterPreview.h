#pragma once
// The recording printer of the preview: every page drawn on it is recorded, shown by the
// preview box that owns it and replayed to a real printer on demand. It keeps a printer of
// its own, so its page metrics and the printer chosen in the preview do not touch the
// program's printer. With no printer installed (only the PDF printer listed) it reports an
// A4-like page at 600 dots per inch, turned when landscape is chosen.
#include "gridout/VirtualPrinter.h"
#include "platform/print/PageRecording.h"
#include <vector>

class TPreviewBox;

class TPrinterPreview : public TVirtualPrinter {
public:
  TPrinterPreview();
  ~TPrinterPreview() override;

  bool GetAborted() override { return FIsAborted; }
  TCanvas* GetCanvas() override { return FPageCanvas.get(); }
  TPrinterCapabilities GetCapabilities() override;
  TStrings* GetFonts() override;
  QPrinter* GetHandle() override;
  Integer GetCopies() override;
  TPrinterOrientation GetOrientation() override;
  Integer GetPageHeight() override;
  Integer GetPageWidth() override;
  Integer GetPageNumber() override { return FPageNumber; }
  bool GetPrinting() override { return FIsPrinting; }
  String GetTitle() override;
  Integer GetFullPageWidth() override;
  Integer GetFullPageHeight() override;
  Integer GetPrinterIndex() override;
  TStrings* GetPrinters() override;
  Integer GetPixelsPerInchX() override;
  Integer GetPixelsPerInchY() override;
  void SetPrinterIndex(Integer Value) override;
  void SetCopies(Integer Value) override;
  void SetOrientation(TPrinterOrientation Value) override;
  void SetTitle(const String& Value) override;
  // Raises the flag only: the pages recorded so far stay, and the drawing code ends the document.
  void Abort() override { FIsAborted = true; }
  // Discards the pages of the last document and starts recording page 1.
  void BeginDoc() override;
  void EndDoc() override;
  void NewPage() override;
  void GetPrinter(String& Device, String& Driver, String& Port) override;
  void SetPrinter(const String& Device, const String& Driver, const String& Port) override;

  // Draws recorded page n (from 1) with its printable corner at the canvas's logical (0, 0),
  // one recorded pixel per logical unit; nothing for a page that does not exist.
  void DrawPage(TObject* Target, TCanvas* Canvas, Integer Page);
  void SetSetupHandler(TNotifyEvent Handler) { FPendingSetupDialog = std::move(Handler); }
  void SetSetupChangedHandler(TNotifyEvent Handler) { FPendingSetupChanged = std::move(Handler); }
  // The component whose document is being recorded; the box gets it at the end of the document.
  void SetPendingPrintComponent(TComponent* Value) { FPendingPrintComponent = Value; }
  TPrinter* PrinterObject() const { return FPrinter.get(); }
  void BindBox(TPreviewBox* Box) { FOwnerBox = Box; }

  // Recorded pages, complete or being drawn.
  Integer PageFileCount() const { return Integer(FPageFiles.size()); }
  const TPageRecording* PageFile(Integer Page) const;
  // More than the PDF printer is listed.
  bool HasPrinters() const;
  // Distance of the printable area from the paper's edge, in device pixels.
  Integer PhysicalOffsetX();
  Integer PhysicalOffsetY();
  // Printable size in millimetres.
  Integer HorzSizeMM();
  Integer VertSizeMM();
  // Where the pages of the last document lie on their paper (device pixels at their resolution).
  Integer RecordedOffsetX() const { return FRecordedOffsetX; }
  Integer RecordedOffsetY() const { return FRecordedOffsetY; }

private:
  Integer FixedMetric(Integer Portrait, Integer Landscape) const;
  void NewPageCanvas();
  void FirePreviewChanged();
  void FireOpenPreviewer();

  bool FIsAborted = false;
  std::unique_ptr<TRecordingCanvas> FPageCanvas;
  std::vector<std::unique_ptr<TPageRecording>> FPageFiles;
  TNotifyEvent FPendingSetupChanged;
  TNotifyEvent FPendingSetupDialog;
  Integer FPageNumber = 0;
  TPreviewBox* FOwnerBox = nullptr;
  std::unique_ptr<TPrinter> FPrinter;
  TComponent* FPendingPrintComponent = nullptr;
  bool FIsPrinting = false;
  Integer FRecordedOffsetX = 0, FRecordedOffsetY = 0;
};

// The recorder of the one preview window, which is made (owned by the application) on first use.
TPrinterPreview* SharedPrinterPreview();
