#pragma once
// The small dialog in which the user sets up grid printing: the four page margins, fitting
// the grid to the page width and how, optimal column widths, stretching long lines,
// coloured printing, the print font, and the printer setup. Grid printing fills it, shows
// it modally and takes the values back on OK.
#include "platform/print/PrintDialogs.h"
#include "platform/ui/FontDialog.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Panels.h"
#include "platform/ui/StdCtrls.h"

class TfPrnDBGridXSetupDialog : public TForm {
public:
  explicit TfPrnDBGridXSetupDialog(TComponent* AOwner);
  ~TfPrnDBGridXSetupDialog() override;
  String ClassName() const override { return QStringLiteral("TfPrnDBGridXSetupDialog"); }

  TGroupBox* gbPrintFields;
  TLabel* Label5;
  TEdit* seUpMargin;
  TLabel* Label6;
  TEdit* seLowMargin;
  TLabel* Label7;
  TEdit* seLeftMargin;
  TLabel* Label8;
  TEdit* seRightMargin;
  TCheckBox* cbFitWidthToPage;
  TRadioGroup* rgFitingType;
  TCheckBox* cbOptimalColWidths;
  TCheckBox* cbAutoStretch;
  TCheckBox* cbColored;
  TEdit* ePrintFont;
  TButton* bPrintFont;
  TButton* bPrinterSetupDialog;
  TButton* bOk;
  TButton* bCancel;
  TFontDialog* FontDialog1;
  TPrinterSetupDialog* PrinterSetupDialog1;

  // The printer setup button works only when the platform printer lists a printer.
  void fPrnDBGridEHSetupDialogShow(TObject* Sender);
  // The fitting choice is enabled exactly while fitting to the page width is checked.
  void cbFitWidthToPageClick(TObject* Sender);
  // Only the chosen font's name is taken.
  void bPrintFontClick(TObject* Sender);
  void bPrinterSetupDialogClick(TObject* Sender);
  // A margin that is not a number raises the conversion error when its edit is left; the
  // text stays for the user to correct.
  void seMarginExit(TObject* Sender);

private:
  TEdit* AddMargin(TLabel*& Label, const String& Caption, Integer Top, Integer Left);
};

// The one setup dialog, made by grid printing on first use.
extern TfPrnDBGridXSetupDialog* PrintSetupDialog;
