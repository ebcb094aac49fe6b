// The preview's recording: 1 000 pages of text and lines recorded into the preview window.
// Prints first_page_ms= (BeginDoc until the window shows page 1) and pages=, then times one
// recorded page against the same drawing recorded by Qt's own picture recorder (the peer)
// and prints the ratio. With MOLI_BENCH_OUT set to a folder it leaves pages2-3.pdf there:
// pages 2 and 3 replayed to the PDF printer.
#include "bench/RatioReporter.h"
#include "gridout/PreviewFormX.h"
#include "platform/print/PrintDialogs.h"
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPicture>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

constexpr int kPages = 1000;

// One page as grid printing draws it: a title, 60 rows of text and their ruling.
void DrawPage(QPainter& P, int Page) {
  QFont font(QStringLiteral("Noto Sans CJK SC"));
  font.setPixelSize(75);
  P.setFont(font);
  P.drawText(QPointF(300, 200), QStringLiteral("工资表 第 %1 页").arg(Page));
  font.setPixelSize(50);
  P.setFont(font);
  for (int row = 0; row < 60; ++row) {
    const int y = 400 + row * 100;
    P.drawLine(200, y, 4400, y);
    P.drawText(QPointF(250, y + 70), QStringLiteral("%1  张三%2  基本工资 3,500.00  应发合计 4,812.50").arg(row + 1).arg(Page));
  }
  P.drawLine(200, 400, 200, 6400);
  P.drawLine(4400, 400, 4400, 6400);
}

void DrawOnCanvas(TCanvas* Canvas, int Page) {
  if (QPainter* painter = Canvas->Handle()) DrawPage(*painter, Page);
}

void BM_RecordPage(benchmark::State& State) {
  for (auto _ : State) {
    TPageRecording page(4676, 6744, 600, 600);
    TRecordingCanvas canvas(&page);
    DrawOnCanvas(&canvas, 7);
    canvas.Finish();
    benchmark::DoNotOptimize(page.OperationCount());
  }
}

void BM_QPicturePage(benchmark::State& State) {
  for (auto _ : State) {
    QPicture picture;
    QPainter painter(&picture);
    DrawPage(painter, 7);
    painter.end();
    benchmark::DoNotOptimize(picture.size());
  }
}

BENCHMARK(BM_RecordPage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QPicturePage)->Unit(benchmark::kMicrosecond);

// Records the whole document into the preview window and reports when page 1 showed.
void RecordDocument() {
  TPrinterPreview* preview = SharedPrinterPreview();
  TPreviewBox* box = PreviewForm->PreviewEh1;
  QElapsedTimer timer;
  timer.start();
  double firstPageMs = -1;
  preview->BeginDoc();
  for (int page = 1; page <= kPages; ++page) {
    if (page > 1) preview->NewPage();
    DrawOnCanvas(preview->GetCanvas(), page);
    if (page == 2) {
      // Page 1 is complete and the window is open: show it on the screen.
      box->DrawPanel()->Repaint();
      QApplication::processEvents();
      if (PreviewForm->Visible() && box->PageIndex() == 1) firstPageMs = double(timer.nsecsElapsed()) / 1e6;
    }
  }
  preview->EndDoc();
  std::printf("first_page_ms=%.1f\n", firstPageMs);
  std::printf("pages=%d\n", box->PageCount());
  std::printf("record_all_ms=%.1f\n", double(timer.nsecsElapsed()) / 1e6);
}

void PrintPagesTwoAndThree(const QString& Folder) {
  const QString file = QDir(Folder).filePath(QStringLiteral("pages2-3.pdf"));
  TPrintDialogs::SetAnswer([&](TPrintDialogRequest& R) {
    R.PrinterIndex = R.PdfPrinterIndex;
    R.FileName = file;
    R.PrintRange = prPageNums;
    R.FromPage = 2;
    R.ToPage = 3;
    return true;
  });
  PreviewForm->PreviewEh1->PrintPages();
  TPrintDialogs::SetAnswer(nullptr);
  std::printf("pdf=%s\n", qPrintable(file));
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  RecordDocument();
  if (const QString out = qEnvironmentVariable("MOLI_BENCH_OUT"); !out.isEmpty()) PrintPagesTwoAndThree(out);

  benchmark::Initialize(&argc, argv);
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("recording / Qt picture (time ratio): %.2f\n", 1.0 / reporter.SpeedRatio("BM_RecordPage", "BM_QPicturePage"));
  benchmark::Shutdown();
  return 0;
}
