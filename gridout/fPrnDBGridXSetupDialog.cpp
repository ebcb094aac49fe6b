#include "gridout/fPrnDBGridXSetupDialog.h"
#include "platform/rtl/SysUtils.h"

TfPrnDBGridXSetupDialog* PrintSetupDialog = nullptr;

TfPrnDBGridXSetupDialog::TfPrnDBGridXSetupDialog(TComponent* AOwner) : TForm(AOwner) {
  SetName(QStringLiteral("fPrnDBGridXSetupDialog"));
  SetCaption(QStringLiteral("Printer setup"));
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientWidth(368);
  SetClientHeight(185);
  Font()->SetHeight(-11);

  gbPrintFields = new TGroupBox(this);
  gbPrintFields->SetName(QStringLiteral("gbPrintFields"));
  gbPrintFields->SetCaption(QStringLiteral(" &Margins "));
  gbPrintFields->SetBounds(8, 4, 169, 73);
  gbPrintFields->SetParent(this);
  seUpMargin = AddMargin(Label5, QStringLiteral("&Top"), 18, 8);
  seLowMargin = AddMargin(Label6, QStringLiteral("&Bottom"), 44, 8);
  seLeftMargin = AddMargin(Label7, QStringLiteral("&Left"), 18, 88);
  seRightMargin = AddMargin(Label8, QStringLiteral("&Right"), 44, 88);
  seUpMargin->SetName(QStringLiteral("seUpMargin"));
  seLowMargin->SetName(QStringLiteral("seLowMargin"));
  seLeftMargin->SetName(QStringLiteral("seLeftMargin"));
  seRightMargin->SetName(QStringLiteral("seRightMargin"));

  const auto check = [this](const String& Name, const String& Caption, Integer Top) {
    auto* box = new TCheckBox(this);
    box->SetName(Name);
    box->SetCaption(Caption);
    box->SetBounds(184, Top, 177, 17);
    box->SetParent(this);
    return box;
  };
  cbFitWidthToPage = check(QStringLiteral("cbFitWidthToPage"), QStringLiteral("&Fits the width on one page"), 8);
  cbFitWidthToPage->OnClick = [this](TObject* Sender) { cbFitWidthToPageClick(Sender); };

  rgFitingType = new TRadioGroup(this);
  rgFitingType->SetName(QStringLiteral("rgFitingType"));
  rgFitingType->SetBounds(184, 26, 177, 51);
  rgFitingType->Items()->Add(QStringLiteral("Scale whole &grid"));
  rgFitingType->Items()->Add(QStringLiteral("C&hange column widths"));
  rgFitingType->SetItemIndex(0);
  rgFitingType->SetEnabled(false);
  rgFitingType->SetParent(this);

  cbOptimalColWidths = check(QStringLiteral("cbOptimalColWidths"), QStringLiteral("Optimal column &widths"), 82);
  cbAutoStretch = check(QStringLiteral("cbAutoStretch"), QStringLiteral("&Stretch long lines"), 100);
  cbColored = check(QStringLiteral("cbColored"), QStringLiteral("&Colored"), 118);
  cbOptimalColWidths->SetLeft(8);
  cbAutoStretch->SetLeft(8);
  cbColored->SetLeft(8);

  ePrintFont = new TEdit(this);
  ePrintFont->SetName(QStringLiteral("ePrintFont"));
  ePrintFont->SetBounds(184, 96, 153, 21);
  ePrintFont->SetParent(this);
  bPrintFont = new TButton(this);
  bPrintFont->SetName(QStringLiteral("bPrintFont"));
  bPrintFont->SetCaption(QStringLiteral("..."));
  bPrintFont->Font()->SetStyle({fsBold});
  bPrintFont->SetBounds(338, 96, 23, 21);
  bPrintFont->SetParent(this);
  bPrintFont->OnClick = [this](TObject* Sender) { bPrintFontClick(Sender); };

  const auto button = [this](const String& Name, const String& Caption, Integer Left, Integer Width) {
    auto* b = new TButton(this);
    b->SetName(Name);
    b->SetCaption(Caption);
    b->SetBounds(Left, 152, Width, 25);
    b->SetParent(this);
    return b;
  };
  bPrinterSetupDialog = button(QStringLiteral("bPrinterSetupDialog"), QStringLiteral("&Printer setup"), 8, 97);
  bPrinterSetupDialog->OnClick = [this](TObject* Sender) { bPrinterSetupDialogClick(Sender); };
  bOk = button(QStringLiteral("bOk"), QStringLiteral("&Ok"), 206, 75);
  bOk->SetDefault(true);
  bOk->SetModalResult(mrOk);
  bCancel = button(QStringLiteral("bCancel"), QStringLiteral("&Cancel"), 286, 75);
  bCancel->SetCancel(true);
  bCancel->SetModalResult(mrCancel);

  Integer order = 0;
  gbPrintFields->SetTabOrder(order++);
  for (TWinControl* c : std::initializer_list<TWinControl*>{cbFitWidthToPage, rgFitingType, cbOptimalColWidths, cbAutoStretch,
                                                           cbColored, ePrintFont, bPrintFont, bPrinterSetupDialog, bOk, bCancel})
    c->SetTabOrder(order++);

  FontDialog1 = new TFontDialog(this);
  FontDialog1->SetName(QStringLiteral("FontDialog1"));
  PrinterSetupDialog1 = new TPrinterSetupDialog(this);
  PrinterSetupDialog1->SetName(QStringLiteral("PrinterSetupDialog1"));
  OnShow = [this](TObject* Sender) { fPrnDBGridEHSetupDialogShow(Sender); };
}

TfPrnDBGridXSetupDialog::~TfPrnDBGridXSetupDialog() {
  if (PrintSetupDialog == this) PrintSetupDialog = nullptr;
}

TEdit* TfPrnDBGridXSetupDialog::AddMargin(TLabel*& Label, const String& Caption, Integer Top, Integer Left) {
  Label = new TLabel(this);
  Label->SetCaption(Caption);
  Label->SetBounds(Left, Top + 3, 36, 13);
  Label->SetParent(gbPrintFields);
  auto* edit = new TEdit(this);
  edit->SetText(QStringLiteral("0"));
  edit->SetBounds(Left + 38, Top, 33, 21);
  edit->SetParent(gbPrintFields);
  edit->OnExit = [this](TObject* Sender) { seMarginExit(Sender); };
  Label->SetFocusControl(edit);
  return edit;
}

void TfPrnDBGridXSetupDialog::fPrnDBGridEHSetupDialogShow(TObject*) {
  bPrinterSetupDialog->SetEnabled(Printer()->Printers()->Count() > 0);
}

void TfPrnDBGridXSetupDialog::cbFitWidthToPageClick(TObject*) { rgFitingType->SetEnabled(cbFitWidthToPage->Checked()); }

void TfPrnDBGridXSetupDialog::bPrintFontClick(TObject*) {
  FontDialog1->Font()->SetName(ePrintFont->Text());
  if (FontDialog1->Execute()) ePrintFont->SetText(FontDialog1->Font()->Name());
}

void TfPrnDBGridXSetupDialog::bPrinterSetupDialogClick(TObject*) { PrinterSetupDialog1->Execute(); }

void TfPrnDBGridXSetupDialog::seMarginExit(TObject* Sender) {
  if (auto* edit = dynamic_cast<TEdit*>(Sender)) StrToFloat(edit->Text());
}
