#include "gridout/PreviewFormX.h"
#include "gridout/PreviewImages.h"
#include "platform/rtl/Clock.h"
#include <QPainter>

TPreviewFormX* PreviewForm = nullptr;

namespace {

constexpr Cardinal FirstRepeat = 400, NextRepeats = 100;

}  // namespace

TPrinterPreview* SharedPrinterPreview() {
  if (!PreviewForm) PreviewForm = new TPreviewFormX(Application);
  return PreviewForm->PreviewEh1->Preview();
}

TPreviewFormX::TPreviewFormX(TComponent* AOwner) : TForm(AOwner) {
  SetName(QStringLiteral("PreviewFormX"));
  SetCaption(QStringLiteral("预览"));
  SetClientWidth(688);
  SetClientHeight(453);
  Font()->SetHeight(-11);
  SetKeyPreview(true);
  SetWindowState(wsMaximized);

  imlMain = new TImageList(this);
  imlMain->SetName(QStringLiteral("imlMain"));
  imlMain->SetSize(32, 32);
  for (Integer i = 0; i < PreviewButtonImageCount; ++i) {
    TBitmap bitmap;
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 255));
    QPainter painter(&image);
    painter.drawImage(0, 0, PreviewButtonImage(i));
    painter.end();
    bitmap.SetImage(image);
    imlMain->AddMasked(&bitmap, RGB(255, 0, 255));
  }

  pmnScale = new TPopupMenu(this);
  pmnScale->SetName(QStringLiteral("pmnScale"));
  mni500 = AddScaleItem(QStringLiteral("mni500"), QStringLiteral("500%"));
  mni200 = AddScaleItem(QStringLiteral("mni200"), QStringLiteral("200%"));
  mni150 = AddScaleItem(QStringLiteral("mni150"), QStringLiteral("150%"));
  mni100 = AddScaleItem(QStringLiteral("mni100"), QStringLiteral("100%"));
  mni75 = AddScaleItem(QStringLiteral("mni75"), QStringLiteral("75%"));
  mni50 = AddScaleItem(QStringLiteral("mni50"), QStringLiteral("50%"));
  mni25 = AddScaleItem(QStringLiteral("mni25"), QStringLiteral("25%"));
  mni10 = AddScaleItem(QStringLiteral("mni10"), QStringLiteral("10%"));
  mniWidth = AddScaleItem(QStringLiteral("mniWidth"), QStringLiteral("Page Width"));
  mniFull = AddScaleItem(QStringLiteral("mniFull"), QStringLiteral("Whole Page"));
  mniFull->SetChecked(true);

  tbrMain = new TToolBar(this);
  tbrMain->SetName(QStringLiteral("tbrMain"));
  tbrMain->SetAlign(alTop);
  tbrMain->SetShowCaptions(true);
  tbrMain->SetShowHint(true);
  tbrMain->SetButtonWidth(66);
  tbrMain->SetButtonHeight(21);
  tbrMain->SetHeight(25);
  tbrMain->SetParent(this);
  tbtPrint = AddButton(QStringLiteral("tbtPrint"), QStringLiteral("Print"), QStringLiteral("Print"), 0);
  tbtPrinterSetupDialog = AddButton(QStringLiteral("tbtPrinterSetupDialog"), QStringLiteral("Printer setup"),
                                    QStringLiteral("Printer setup"), 2);
  tbtScale = AddButton(QStringLiteral("tbtScale"), QStringLiteral("Scale"), QStringLiteral("Scale"), 3);
  tbtScale->SetStyle(tbsDropDown);
  tbtScale->SetDropdownMenu(pmnScale);
  tbtScale->SetWidth(79);
  tbtPrevPage = AddButton(QStringLiteral("tbtPrevPage"), QStringLiteral("Previous"), QStringLiteral("Previous page"), 4);
  tbtNextPage = AddButton(QStringLiteral("tbtNextPage"), QStringLiteral("Next"), QStringLiteral("Next page"), 5);
  tbStop = AddButton(QStringLiteral("tbStop"), QStringLiteral("Stop"), String(), 7);
  tbClose = AddButton(QStringLiteral("tbClose"), QStringLiteral("Close"), QStringLiteral("Close preview"), 8);
  tbtPrint->OnClick = [this](TObject* Sender) { tbtPrintClick(Sender); };
  tbtPrinterSetupDialog->OnClick = [this](TObject* Sender) { tbtPrinterSetupDialogClick(Sender); };
  tbtScale->OnClick = [this](TObject* Sender) { tbtScaleClick(Sender); };
  tbtPrevPage->OnClick = [this](TObject* Sender) { tbtPrevPageClick(Sender); };
  tbtNextPage->OnClick = [this](TObject* Sender) { tbtNextPageClick(Sender); };
  for (TToolButton* button : {tbtPrevPage, tbtNextPage}) {
    button->OnMouseDown = [this](TObject* S, TMouseButton B, TShiftState Sh, Integer X, Integer Y) {
      tbtPageMouseDown(S, B, Sh, X, Y);
    };
    button->OnMouseUp = [this](TObject* S, TMouseButton B, TShiftState Sh, Integer X, Integer Y) {
      tbtPageMouseUp(S, B, Sh, X, Y);
    };
  }
  tbStop->OnClick = [this](TObject* Sender) { tbStopClick(Sender); };
  tbClose->OnClick = [this](TObject* Sender) { tbCloseClick(Sender); };
  tbrMain->ArrangeButtons();

  Splitter = new TSplitter(this);
  Splitter->SetName(QStringLiteral("Splitter"));
  Splitter->SetAlign(alTop);
  Splitter->SetTop(tbrMain->Height());
  Splitter->SetHeight(3);
  Splitter->SetMinSize(1);
  Splitter->SetCursor(crVSplit);
  Splitter->SetParent(this);

  stbMain = new TStatusBar(this);
  stbMain->SetName(QStringLiteral("stbMain"));
  stbMain->SetAlign(alBottom);
  stbMain->SetSimplePanel(true);
  stbMain->SetParent(this);

  PreviewEh1 = new TPreviewBox(this);
  PreviewEh1->SetName(QStringLiteral("PreviewEh1"));
  PreviewEh1->SetAlign(alClient);
  PreviewEh1->SetTabStop(true);
  PreviewEh1->SetParent(this);
  PreviewEh1->OnPrinterPreviewChanged = [this](TObject* Sender) { PreviewEh1PrinterPreviewChanged(Sender); };
  PreviewEh1->OnOpenPreviewer = [this](TObject* Sender) { PreviewEh1OpenPreviewer(Sender); };

  Timer1 = new TTimer(this);
  Timer1->SetName(QStringLiteral("Timer1"));
  Timer1->SetEnabled(false);
  Timer1->OnTimer = [this](TObject* Sender) { Timer1Timer(Sender); };

  OnKeyDown = [this](TObject* Sender, Word& Key, TShiftState Shift) { FormKeyDown(Sender, Key, Shift); };
  OnClose = [this](TObject* Sender, TCloseAction& Action) { FormClose(Sender, Action); };
  FormCreate(this);
  PreviewEh1PrinterPreviewChanged(this);
}

TPreviewFormX::~TPreviewFormX() {
  if (PreviewForm == this) PreviewForm = nullptr;
}

TToolButton* TPreviewFormX::AddButton(const String& Name, const String& Caption, const String& Hint, Integer Image) {
  auto* button = new TToolButton(this);
  button->SetName(Name);
  button->SetCaption(Caption);
  button->SetHint(Hint);
  button->SetImageIndex(Image);
  button->SetParent(tbrMain);
  return button;
}

TMenuItem* TPreviewFormX::AddScaleItem(const String& Name, const String& Caption) {
  auto* item = new TMenuItem(this);
  item->SetName(Name);
  item->SetCaption(Caption);
  item->SetRadioItem(true);
  item->SetGroupIndex(1);
  item->OnClick = [this](TObject* Sender) { mniScaleClick(Sender); };
  pmnScale->Items()->Add(item);
  return item;
}

void TPreviewFormX::FormCreate(TObject*) {
  Splitter->OnCanResize = [this](TObject* Sender, Integer& NewSize, bool& Accept) {
    SplitterCanResize(Sender, NewSize, Accept);
  };
  Integer tag = 0;
  for (TMenuItem* item : {mni500, mni200, mni150, mni100, mni75, mni50, mni25, mni10, mniWidth, mniFull}) item->SetTag(tag++);
}

void TPreviewFormX::tbtPrintClick(TObject*) { PreviewEh1->PrintPages(); }

void TPreviewFormX::tbtPrinterSetupDialogClick(TObject*) { PreviewEh1->PrinterSetup(); }

void TPreviewFormX::tbtScaleClick(TObject*) {
  const TPoint below = tbtScale->ClientToScreen({0, tbtScale->Height()});
  pmnScale->Popup(below.X, below.Y);
}

void TPreviewFormX::mniScaleClick(TObject* Sender) {
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  if (!item) return;
  item->SetChecked(true);
  PreviewEh1->SetScaleMode(Byte(item->Tag()));
  PreviewEh1->UpdatePageLayout();
}

// The click a release produces after the button repeated is not one more step.
void TPreviewFormX::StepPage(Integer Delta, TObject* Sender) {
  if (Timer1->Interval() == NextRepeats && Sender) return;
  PreviewEh1->SetPageIndex(PreviewEh1->PageIndex() + Delta);
}

void TPreviewFormX::tbtPrevPageClick(TObject* Sender) { StepPage(-1, Sender); }

void TPreviewFormX::tbtNextPageClick(TObject* Sender) { StepPage(1, Sender); }

void TPreviewFormX::tbtPageMouseDown(TObject* Sender, TMouseButton, TShiftState, Integer, Integer) {
  Timer1->SetInterval(FirstRepeat);
  Timer1->SetEnabled(true);
  FRepeatDue = TClock::Current().TickCount() + FirstRepeat;
  FRepeatButton = dynamic_cast<TToolButton*>(Sender);
}

void TPreviewFormX::tbtPageMouseUp(TObject*, TMouseButton, TShiftState, Integer, Integer) {
  Timer1->SetEnabled(false);
  FRepeatButton = nullptr;
}

void TPreviewFormX::Timer1Timer(TObject*) {
  if (TClock::Current().TickCount() < FRepeatDue) return;
  Timer1->SetInterval(NextRepeats);
  FRepeatDue = TClock::Current().TickCount() + NextRepeats;
  if (!FRepeatButton || GetCaptureControl() != FRepeatButton) return;
  try {
    if (FRepeatButton == tbtPrevPage) tbtPrevPageClick(nullptr);
    else tbtNextPageClick(nullptr);
  } catch (...) {
    Timer1->SetEnabled(false);
    throw;
  }
}

void TPreviewFormX::tbStopClick(TObject*) { PreviewEh1->Preview()->Abort(); }

void TPreviewFormX::tbCloseClick(TObject*) { Close(); }

void TPreviewFormX::FormKeyDown(TObject*, Word& Key, TShiftState) {
  if (Key != VK_ESCAPE) return;
  if (PreviewEh1->Preview()->GetPrinting()) PreviewEh1->Preview()->Abort();
  else Close();
}

// Closing while recording becomes an abort; the window closes when the document ends.
void TPreviewFormX::FormClose(TObject*, TCloseAction& Action) {
  if (!PreviewEh1->Preview()->GetPrinting()) return;
  PreviewEh1->Preview()->Abort();
  FCloseRequested = true;
  Action = caNone;
}

// The toolbar shows either captions only or the 32 x 32 images only, as high as it is dragged.
void TPreviewFormX::SplitterCanResize(TObject*, Integer& NewSize, bool& Accept) {
  const bool captions = tbrMain->ShowCaptions(), images = tbrMain->Images() != nullptr;
  if (NewSize >= 41 && !images && captions) {
    tbrMain->SetShowCaptions(false);
    tbrMain->SetImages(imlMain);
    tbrMain->SetButtonHeight(38);
    tbrMain->SetButtonWidth(39);
  } else if (NewSize >= 55 && !captions && images) {
    tbrMain->SetShowCaptions(true);
  } else if (NewSize <= 24 && !captions && images) {
    tbrMain->SetImages(nullptr);
    tbrMain->SetShowCaptions(true);
  } else if (NewSize <= 41 && captions && images) {
    tbrMain->SetShowCaptions(false);
    tbrMain->SetButtonHeight(38);
    tbrMain->SetButtonWidth(39);
  }
  tbrMain->ArrangeButtons();
  Accept = true;
}

void TPreviewFormX::PreviewEh1OpenPreviewer(TObject*) {
  if (WindowState() == wsMinimized) SetWindowState(wsMaximized);
  BringToFront();
  if (!Visible()) Show();
}

void TPreviewFormX::PreviewEh1PrinterPreviewChanged(TObject*) {
  TPrinterPreview* preview = PreviewEh1->Preview();
  const bool recording = preview->GetPrinting();
  if (!recording && FCloseRequested) {
    FCloseRequested = false;
    Close();
  }
  tbStop->SetEnabled(recording);
  tbClose->SetEnabled(!recording);
  tbtPrint->SetEnabled(!recording && preview->PrinterObject()->Printers()->Count() > 0);
  tbtPrinterSetupDialog->SetEnabled(!recording && (PreviewEh1->SetupDialogHandler || PreviewEh1->SetupChangedHandler) &&
                                    PreviewEh1->PrintComponent());
  tbtPrevPage->SetEnabled(PreviewEh1->PageIndex() > 1);
  tbtNextPage->SetEnabled(PreviewEh1->PageIndex() < PreviewEh1->PageCount());
  stbMain->SetSimpleText(QStringLiteral("页 %1 of %2").arg(PreviewEh1->PageIndex()).arg(PreviewEh1->PageCount()));
  TMenuItem* items[] = {mni500, mni200, mni150, mni100, mni75, mni50, mni25, mni10, mniWidth, mniFull};
  items[std::min<Byte>(PreviewEh1->ScaleMode(), 9)]->SetChecked(true);
  SetCaption(QStringLiteral("预览") + QStringLiteral(" - ") + preview->GetTitle());
}
