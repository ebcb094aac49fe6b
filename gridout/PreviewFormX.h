#pragma once
// The preview window: one modeless window for the whole run of the program, showing the
// recorded pages with a toolbar (print, printer setup, zoom, previous and next page, stop,
// close) and the page number in its status bar. It opens itself when the first page is
// complete and follows the recording; closing it hides it.
#include "gridout/PreviewBox.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Menus.h"
#include "platform/ui/ToolBar.h"

class TPreviewFormX : public TForm {
public:
  explicit TPreviewFormX(TComponent* AOwner);
  ~TPreviewFormX() override;
  String ClassName() const override { return QStringLiteral("TPreviewFormX"); }

  TToolBar* tbrMain;
  TToolButton* tbtPrint;
  TToolButton* tbtPrinterSetupDialog;
  TToolButton* tbtScale;
  TToolButton* tbtPrevPage;
  TToolButton* tbtNextPage;
  TToolButton* tbStop;
  TToolButton* tbClose;
  TSplitter* Splitter;
  TPreviewBox* PreviewEh1;
  TStatusBar* stbMain;
  TImageList* imlMain;
  TPopupMenu* pmnScale;
  TMenuItem* mni500;
  TMenuItem* mni200;
  TMenuItem* mni150;
  TMenuItem* mni100;
  TMenuItem* mni75;
  TMenuItem* mni50;
  TMenuItem* mni25;
  TMenuItem* mni10;
  TMenuItem* mniWidth;
  TMenuItem* mniFull;
  TTimer* Timer1;

  // The page button held down, or nullptr.
  TToolButton* RepeatButton() const { return FRepeatButton; }
  bool CloseRequested() const { return FCloseRequested; }

  void FormCreate(TObject* Sender);
  void tbtPrintClick(TObject* Sender);
  void tbtPrinterSetupDialogClick(TObject* Sender);
  void tbtScaleClick(TObject* Sender);
  void mniScaleClick(TObject* Sender);
  void tbtPrevPageClick(TObject* Sender);
  void tbtNextPageClick(TObject* Sender);
  void tbtPageMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  void tbtPageMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  // Steps the held page button: first after 400 ms, then every 100 ms (the current clock's).
  void Timer1Timer(TObject* Sender);
  void tbStopClick(TObject* Sender);
  void tbCloseClick(TObject* Sender);
  void FormKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void SplitterCanResize(TObject* Sender, Integer& NewSize, bool& Accept);
  void PreviewEh1OpenPreviewer(TObject* Sender);
  void PreviewEh1PrinterPreviewChanged(TObject* Sender);

private:
  TToolButton* AddButton(const String& Name, const String& Caption, const String& Hint, Integer Image);
  TMenuItem* AddScaleItem(const String& Name, const String& Caption);
  void StepPage(Integer Delta, TObject* Sender);
  TToolButton* FRepeatButton = nullptr;
  bool FCloseRequested = false;
  Int64 FRepeatDue = 0;
};

// The one preview window, made by SharedPrinterPreview.
extern TPreviewFormX* PreviewForm;
