#include "gridout/PreviewFormX.h"
#include "platform/print/PrintDialogs.h"
#include "platform/rtl/Clock.h"
#include "platform/testing/TestPaths.h"
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

void Mouse(TControl& C, Cardinal Msg, Integer X, Integer Y, WPARAM Keys) {
  C.Perform(Msg, Keys, PointToLParam(TPoint(X, Y)));
}

void Wheel(TControl& C, SmallInt Delta) { C.Perform(WM_MOUSEWHEEL, MakeWParam(0, Word(Delta)), 0); }

bool NoPrinterInstalled() { return QPrinterInfo::availablePrinterNames().isEmpty(); }

// A box on a form of a known size, the way the preview window holds it.
struct BoxOnForm {
  TForm Form{nullptr};
  TPreviewBox* Box = new TPreviewBox(&Form);
  BoxOnForm(Integer W, Integer H) {
    Form.SetBounds(0, 0, W + 40, H + 60);
    Box->SetBounds(0, 0, W, H);
    Box->SetParent(&Form);
  }
};

// Records Pages pages, each carrying "第 n 页".
void Record(TVirtualPrinter* Printer, Integer Pages) {
  Printer->BeginDoc();
  for (Integer n = 1; n <= Pages; ++n) {
    if (n > 1) Printer->NewPage();
    TCanvas* c = Printer->GetCanvas();
    c->Font()->SetName(QStringLiteral("Noto Sans CJK SC"));
    c->Font()->SetSize(20);
    c->TextOut(300, 300, QStringLiteral("第 %1 页").arg(n));
    c->MoveTo(300, 600);
    c->LineTo(3000, 600);
  }
  Printer->EndDoc();
}

struct ManualClock {
  TManualClock Clock;
  ManualClock() { TClock::SetCurrent(&Clock); }
  ~ManualClock() { TClock::SetCurrent(nullptr); }
};

QString RunTool(const QString& Program, const QStringList& Args) {
  QProcess p;
  p.start(Program, Args);
  if (!p.waitForFinished(60000) || p.exitCode() != 0) return {};
  return QString::fromUtf8(p.readAllStandardOutput());
}

}  // namespace

TEST(PrinterPreview, PageCountsFollowTheRecordingAndANewDocumentDiscardsTheOld) {
  BoxOnForm f(600, 500);
  TPrinterPreview* p = f.Box->Preview();
  std::vector<Integer> counts;
  f.Box->OnPrinterPreviewChanged = [&](TObject*) { counts.push_back(f.Box->PageCount()); };
  p->BeginDoc();
  EXPECT_TRUE(p->GetPrinting());
  p->NewPage();
  p->NewPage();
  EXPECT_EQ(p->GetPageNumber(), 3);
  p->EndDoc();
  EXPECT_EQ(counts, (std::vector<Integer>{1, 1, 2, 3}));
  EXPECT_EQ(p->GetPageNumber(), -1);
  EXPECT_FALSE(p->GetPrinting());

  // Aborting keeps what was recorded; the next document starts from nothing.
  p->BeginDoc();
  p->GetCanvas()->FillRect(TRect(0, 0, 10, 10));
  p->Abort();
  p->EndDoc();
  EXPECT_TRUE(p->GetAborted());
  EXPECT_EQ(f.Box->PageCount(), 1);
  EXPECT_FALSE(p->PageFile(1)->Empty());
  p->BeginDoc();
  EXPECT_EQ(p->PageFileCount(), 1);
  EXPECT_TRUE(p->PageFile(1)->Empty());
  EXPECT_FALSE(p->GetAborted());
  p->EndDoc();
}

TEST(PrinterPreview, WithoutPrintersReportsA600DpiPageThatTurnsWithTheOrientation) {
  if (!NoPrinterInstalled()) GTEST_SKIP() << "printers are installed";
  TPrinterPreview p;
  EXPECT_EQ((std::vector<Integer>{p.GetPageWidth(), p.GetPageHeight(), p.GetFullPageWidth(), p.GetFullPageHeight(),
                                  p.GetPixelsPerInchX(), p.GetPixelsPerInchY()}),
            (std::vector<Integer>{4676, 6744, 4936, 7044, 600, 600}));
  p.BeginDoc();
  p.GetCanvas()->Font()->SetSize(10);
  EXPECT_EQ(p.GetCanvas()->Font()->PixelsPerInch(), 600);
  EXPECT_EQ(p.GetCanvas()->Font()->Height(), -83);
  p.EndDoc();
  p.SetOrientation(poLandscape);
  EXPECT_EQ((std::vector<Integer>{p.GetPageWidth(), p.GetPageHeight(), p.GetFullPageWidth(), p.HorzSizeMM()}),
            (std::vector<Integer>{6744, 4676, 7044, 285}));
}

TEST(PrinterPreview, AFailureWhileDrawingStillEndsTheDocument) {
  BoxOnForm f(600, 500);
  TPrinterPreview* p = f.Box->Preview();
  EXPECT_THROW(
      {
        TVirtualPrinterDocument document(p);
        p->NewPage();
        throw EConvertError(QStringLiteral("drawing failed"));
      },
      EConvertError);
  EXPECT_FALSE(p->GetPrinting());
  EXPECT_TRUE(p->GetAborted());
  EXPECT_EQ(f.Box->PageCount(), 2);
}

TEST(PreviewBox, ZoomSettingsSizeThePage) {
  if (!NoPrinterInstalled()) GTEST_SKIP() << "the table is for the page reported without printers";
  BoxOnForm f(800, 600);
  TPreviewBox* box = f.Box;
  ASSERT_EQ(Screen->PixelsPerInch(), 96);
  struct Case { Byte mode; Integer width, percent; };
  for (const Case& c : std::initializer_list<Case>{
         {0, 3740, 500}, {1, 1496, 200}, {2, 1122, 150}, {3, 748, 100}, {4, 561, 75}, {5, 374, 50}, {6, 187, 25}, {7, 74, 10}}) {
    box->SetScaleMode(c.mode);
    EXPECT_EQ(box->DrawPanel()->Width(), c.width) << int(c.mode);
    EXPECT_EQ(box->DrawPanel()->Height(), c.width * 285 / 198) << int(c.mode);
    EXPECT_EQ(box->ScalePercent(), c.percent);
    EXPECT_EQ(box->ScrollRange(SB_VERT), c.width * 285 / 198 + 16);
  }
  box->SetScaleMode(3);  // 748 + 16 fits the width: centred
  EXPECT_EQ(box->DrawPanel()->Left(), (box->ClientWidth() - 748) / 2);
  box->SetScaleMode(0);  // too wide: at the margin
  EXPECT_EQ(box->DrawPanel()->Left(), 8);

  box->SetScaleMode(8);
  const Integer w = 800 - 20 - GetSystemMetrics(SM_CXVSCROLL);
  EXPECT_EQ(box->DrawPanel()->Width(), w);
  EXPECT_EQ(box->ScalePercent(), w * 100 / 748);
  EXPECT_EQ(box->ScrollRange(SB_HORZ), 0);

  box->SetScaleMode(9);
  EXPECT_EQ(box->DrawPanel()->Height(), 600 - 16);
  EXPECT_EQ(box->DrawPanel()->Width(), 584 * 198 / 285);
  EXPECT_EQ(box->ShadowPanel()->Left(), box->DrawPanel()->Left() + 4);

  // A landscape page in a square box: the width limits it and it sits in the middle.
  BoxOnForm square(600, 600);
  square.Box->Preview()->SetOrientation(poLandscape);
  square.Box->UpdatePageLayout();
  EXPECT_EQ(square.Box->DrawPanel()->BoundsRect(), TRect(8, 97, 592, 97 + 405));

  // A box of no size lays out without dividing by zero.
  BoxOnForm none(0, 0);
  for (Byte mode : {3, 8, 9}) none.Box->SetScaleMode(mode);
  EXPECT_EQ(none.Box->DrawPanel()->Width(), 0);
}

TEST(PreviewBox, ClickZoomsInAndOutAndDraggingStopsAtTheLimits) {
  BoxOnForm f(600, 500);
  TPreviewBox* box = f.Box;
  Record(box->Preview(), 1);
  TDrawPanel* page = box->DrawPanel();
  ASSERT_EQ(box->ScaleMode(), 9);
  Mouse(*page, WM_LBUTTONDOWN, 50, 60, MK_LBUTTON);
  Mouse(*page, WM_LBUTTONUP, 50, 60, 0);
  EXPECT_EQ(box->ScaleMode(), 2);
  EXPECT_EQ(box->ScalePercent(), 150);
  box->SetScrollPosition(SB_VERT, 0);
  box->SetScrollPosition(SB_HORZ, 0);

  // Dragging down at the top moves nothing and the origin follows the mouse ...
  Mouse(*page, WM_LBUTTONDOWN, 100, 100, MK_LBUTTON);
  Mouse(*page, WM_MOUSEMOVE, 90, 150, MK_LBUTTON);
  EXPECT_EQ(page->Cursor(), DragCursor());
  EXPECT_EQ(box->ScrollPosition(SB_VERT), 0);
  EXPECT_EQ(box->ScrollPosition(SB_HORZ), 10);
  EXPECT_EQ(page->DragOrigin().Y, 150);
  // ... so dragging back up scrolls at once.
  Mouse(*page, WM_MOUSEMOVE, 90 + 10, 140, MK_LBUTTON);
  EXPECT_EQ(box->ScrollPosition(SB_VERT), 10);
  Mouse(*page, WM_LBUTTONUP, 100, 140, 0);
  EXPECT_EQ(page->Cursor(), ZoomCursor());
  EXPECT_EQ(box->ScaleMode(), 2);  // a drag is no click

  Mouse(*page, WM_LBUTTONDOWN, 70, 70, MK_LBUTTON);
  Mouse(*page, WM_LBUTTONUP, 70, 70, 0);
  EXPECT_EQ(box->ScaleMode(), 9);
}

TEST(PreviewBox, TheWheelTurnsPagesThatFitAndScrollsOthers) {
  BoxOnForm f(600, 500);
  TPreviewBox* box = f.Box;
  Record(box->Preview(), 3);
  std::vector<Integer> seen;
  for (SmallInt delta : {-120, -120, -120, 120, 120, 120}) {
    Wheel(*box, delta);
    seen.push_back(box->PageIndex());
  }
  EXPECT_EQ(seen, (std::vector<Integer>{2, 3, 3, 2, 1, 1}));

  box->SetScaleMode(3);
  Wheel(*box, -120);
  EXPECT_EQ(box->PageIndex(), 1);
  EXPECT_EQ(box->ScrollPosition(SB_VERT), box->ScrollIncrement() * 3);
  box->Perform(WM_KEYDOWN, VK_NEXT, 0);
  EXPECT_EQ(box->ScrollPosition(SB_VERT), 24 + box->ClientHeight() - box->ScrollIncrement());
}

TEST(PreviewBox, PrintsTheChosenPagesToThePdfPrinterAndGivesThePrinterBack) {
  BoxOnForm f(600, 500);
  TPreviewBox* box = f.Box;
  Record(box->Preview(), 5);
  moli::testing::ScratchDir dir;
  const QString pdf = dir.File("pages.pdf");
  TPrinter* before = Printer();
  const auto previous = TPrintDialogs::SetAnswer([&](TPrintDialogRequest& R) {
    EXPECT_EQ(Printer(), box->Preview()->PrinterObject());
    EXPECT_EQ(std::tie(R.MinPage, R.MaxPage, R.FromPage, R.ToPage), std::make_tuple(1, 5, 1, 5));
    R.PrinterIndex = R.PdfPrinterIndex;
    R.FileName = pdf;
    R.PrintRange = prPageNums;
    R.FromPage = 2;
    R.ToPage = 3;
    return true;
  });
  box->PrintPages();
  EXPECT_EQ(Printer(), before);
  EXPECT_TRUE(RunTool(QStringLiteral("pdfinfo"), {pdf}).contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\b"))));
  QString text = RunTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
  text.remove(QRegularExpression(QStringLiteral("\\s")));
  EXPECT_TRUE(text.contains(QStringLiteral("第2页")) && text.contains(QStringLiteral("第3页"))) << text.toStdString();
  EXPECT_FALSE(text.contains(QStringLiteral("第1页")) || text.contains(QStringLiteral("第4页")));

  // A printer that cannot start still gives the program's printer back.
  TPrintDialogs::SetAnswer([&](TPrintDialogRequest& R) {
    R.PrinterIndex = R.PdfPrinterIndex;
    R.FileName = dir.File("missing/folder/out.pdf");
    return true;
  });
  EXPECT_THROW(box->PrintPages(), EPrinter);
  EXPECT_EQ(Printer(), before);
  TPrintDialogs::SetAnswer(previous);
}

TEST(PreviewFormX, ButtonsAndStatusFollowTheRecording) {
  TPreviewFormX form(nullptr);
  TPrinterPreview* p = form.PreviewEh1->Preview();
  p->SetTitle(QStringLiteral("工资表"));
  p->BeginDoc();
  EXPECT_TRUE(form.tbStop->Enabled());
  EXPECT_FALSE(form.tbClose->Enabled());
  EXPECT_FALSE(form.tbtPrint->Enabled());
  EXPECT_FALSE(form.tbtPrinterSetupDialog->Enabled());
  EXPECT_FALSE(form.Visible());
  p->NewPage();  // the first page is complete: the window opens
  EXPECT_TRUE(form.Visible());
  EXPECT_FALSE(form.tbtNextPage->Enabled());  // page 2 is still being drawn
  p->NewPage();
  EXPECT_TRUE(form.tbtNextPage->Enabled());
  p->EndDoc();
  EXPECT_FALSE(form.tbStop->Enabled());
  EXPECT_TRUE(form.tbClose->Enabled());
  EXPECT_TRUE(form.tbtPrint->Enabled());  // the PDF printer is always there
  EXPECT_FALSE(form.tbtPrevPage->Enabled());
  EXPECT_EQ(form.stbMain->SimpleText(), QStringLiteral("页 1 of 3"));
  EXPECT_EQ(form.Caption(), QStringLiteral("预览 - 工资表"));
  EXPECT_TRUE(form.mniFull->Checked());

  // Printer setup needs a print component and a handler.
  TComponent component(nullptr);
  p->BeginDoc();
  p->SetPendingPrintComponent(&component);
  p->SetSetupHandler([](TObject*) {});
  p->EndDoc();
  EXPECT_TRUE(form.tbtPrinterSetupDialog->Enabled());

  form.mni100->Click();
  EXPECT_EQ(form.PreviewEh1->ScaleMode(), 3);
  EXPECT_TRUE(form.mni100->Checked());
  EXPECT_FALSE(form.mniFull->Checked());
}

TEST(PreviewFormX, ClosingWhileRecordingAbortsAndClosesWhenTheDocumentEnds) {
  TPreviewFormX form(nullptr);
  TPrinterPreview* p = form.PreviewEh1->Preview();
  p->BeginDoc();
  p->NewPage();
  ASSERT_TRUE(form.Visible());
  form.Close();
  EXPECT_TRUE(form.Visible());
  EXPECT_TRUE(p->GetAborted());
  EXPECT_TRUE(form.CloseRequested());
  p->EndDoc();
  EXPECT_FALSE(form.Visible());
  EXPECT_FALSE(form.CloseRequested());

  // Escape aborts while recording and closes otherwise.
  p->BeginDoc();
  p->NewPage();
  Word key = VK_ESCAPE;
  form.FormKeyDown(&form, key, {});
  EXPECT_TRUE(p->GetAborted());
  EXPECT_TRUE(form.Visible());
  p->EndDoc();
  key = VK_ESCAPE;
  form.FormKeyDown(&form, key, {});
  EXPECT_FALSE(form.Visible());
}

TEST(PreviewFormX, HeldNextRepeatsAfter400ThenEvery100Milliseconds) {
  ManualClock time;
  TPreviewFormX form(nullptr);
  Record(form.PreviewEh1->Preview(), 10);
  TToolButton* next = form.tbtNextPage;
  next->Click();  // a short click steps once
  ASSERT_EQ(form.PreviewEh1->PageIndex(), 2);
  Mouse(*next, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
  ASSERT_EQ(form.RepeatButton(), next);
  struct Step { Int64 wait; Integer page; };
  for (const Step& s : std::initializer_list<Step>{{399, 2}, {1, 3}, {99, 3}, {1, 4}, {100, 5}, {300, 6}}) {
    time.Clock.Advance(s.wait);
    form.Timer1Timer(form.Timer1);
    EXPECT_EQ(form.PreviewEh1->PageIndex(), s.page) << time.Clock.TickCount();
  }
  Mouse(*next, WM_LBUTTONUP, 5, 5, 0);
  EXPECT_EQ(form.PreviewEh1->PageIndex(), 6);  // the release's click adds nothing
  EXPECT_EQ(form.RepeatButton(), nullptr);
  EXPECT_FALSE(form.Timer1->Enabled());
}

TEST(PreviewFormX, DraggingTheSplitterSwitchesToImageButtons) {
  TPreviewFormX form(nullptr);
  bool accept = false;
  struct Case { Integer size; bool captions, images; Integer height; };
  for (const Case& c : std::initializer_list<Case>{{45, false, true, 38}, {60, true, true, 38}, {30, false, true, 38}, {20, true, false, 38}}) {
    Integer size = c.size;
    form.SplitterCanResize(form.Splitter, size, accept);
    EXPECT_TRUE(accept);
    EXPECT_EQ(form.tbrMain->ShowCaptions(), c.captions) << c.size;
    EXPECT_EQ(form.tbrMain->Images() != nullptr, c.images) << c.size;
    EXPECT_EQ(form.tbrMain->ButtonHeight(), c.height) << c.size;
  }
  EXPECT_EQ(form.tbrMain->ButtonWidth(), 39);
}

TEST(PreviewFormX, SharedRecorderLivesInTheOneWindow) {
  TPrinterPreview* shared = SharedPrinterPreview();
  ASSERT_NE(PreviewForm, nullptr);
  EXPECT_EQ(shared, PreviewForm->PreviewEh1->Preview());
  EXPECT_EQ(SharedPrinterPreview(), shared);
  EXPECT_EQ(PreviewForm->Owner(), Application);
}
