#pragma once
// The windows of the report engine: the setup dialog that asks where the report goes, the
// status window that follows the pages, and the preview from which the pages are printed.
// The setup question goes through one replaceable answerer, so tests script it; printing
// from the preview asks through the print dialog, which tests script the same way.
#include "platform/print/PageRecording.h"
#include "platform/print/Printers.h"
#include "platform/ui/Forms.h"

class TButton;
class TLabel;

enum TReportDestination { rdPreview, rdPrinter, rdFile };

struct TReportSetupRequest {
  String Title;
  TReportDestination Destination = rdPreview;
  Integer Copies = 1;
  String FileName;  // the PDF file of rdFile
};

using TReportSetupAnswer = std::function<bool(TReportSetupRequest& Request)>;

class TReportSetupDialogs {
public:
  // Installs Answer (an empty one restores the setup window) and returns the previous one.
  static TReportSetupAnswer SetAnswer(TReportSetupAnswer Answer);
  // Asks through the installed answerer; false when the user cancelled.
  static bool Ask(TReportSetupRequest& Request);
};

using TRecordedPages = std::vector<std::unique_ptr<TPageRecording>>;

// Prints pages From..To (from 1) of Pages on Target: the paper takes the pages' size in the
// given orientation, recorded dots become the printer's and the pages keep their place on
// the paper. Status is told each page number before it is printed. A failure aborts the
// document and propagates.
void PrintRecordedPages(TPrinter* Target, const TRecordedPages& Pages, Integer From, Integer To, const String& Title,
                        TPrinterOrientation Orientation, const std::function<void(Integer)>& Status);

class TRvStatusForm : public TForm {
public:
  explicit TRvStatusForm(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TRvStatusForm"); }
  // Shows Text and draws it at once.
  void ShowStatus(const String& Text);
  TLabel* lblStatus;
};

// The preview: one page at a time, scaled into the window, with print, page and close buttons.
class TRvPreviewForm : public TForm {
public:
  explicit TRvPreviewForm(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TRvPreviewForm"); }

  // Takes the pages to show from page 1; Orientation and Title are used when they are printed.
  void SetPages(TRecordedPages Pages, TPrinterOrientation Orientation, const String& Title);
  const TRecordedPages& Pages() const { return FPages; }
  Integer PageCount() const { return Integer(FPages.size()); }
  Integer PageIndex() const { return FPageIndex; }
  // Clamped to 1..PageCount.
  void SetPageIndex(Integer Value);
  // Asks for the printer and the pages through the print dialog and prints them.
  void PrintClick(TObject* Sender);

  TButton* btnPrint;
  TButton* btnPrior;
  TButton* btnNext;
  TButton* btnClose;
  TLabel* lblPage;
  TCustomControl* pgPage;  // the page, scaled into the window

private:
  void ShowPageNumber();
  TRecordedPages FPages;
  TPrinterOrientation FOrientation = poPortrait;
  String FTitle;
  Integer FPageIndex = 0;
};
