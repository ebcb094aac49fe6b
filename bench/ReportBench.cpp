// The pay sheet of a month of 500 employees (12 earnings, 3 deductions) through the report
// engine into the preview. Prints first_page_ms= (the print command until the preview shows
// page 1) and pages=, then times laying the month's pages out against drawing the same texts
// and frames straight onto Qt's picture recorder (the peer) and prints the ratio.
#include "app/uDM.h"
#include "app/uMain.h"
#include "bench/PayrollFixture.h"
#include "bench/RatioReporter.h"
#include "platform/report/RaveRender.h"
#include "platform/rtl/Files.h"
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPicture>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

TfrmMainGZT* Window = nullptr;

const TRavePage& LoadedPage() {
  return *static_cast<const TRavePage*>(
      Window->RvProject1->ProjectManager()->FindRaveComponent(QStringLiteral("Report1.Page1"), nullptr));
}

void BM_LayOutPaySheet(benchmark::State& State) {
  const TRavePage& page = LoadedPage();
  const auto data = [](const String& Name) -> TDataSet* {
    return Name == u"RvDataSetConnection1" ? Window->dsGZDetail : DM->dsPara;
  };
  for (auto _ : State) benchmark::DoNotOptimize(RenderRavePage(page, data).size());
}

// The peer: every record's texts and frames, where the band puts them, drawn with QPainter.
void BM_QPicturePaySheet(benchmark::State& State) {
  const TRavePage& page = LoadedPage();
  const TRaveComponent& band = *page.FindDescendant(QStringLiteral("DataBand1"));
  const int bandsPerPage = int(page.PageHeight() / band.Height());
  TDataSet* records = Window->dsGZDetail;
  for (auto _ : State) {
    std::vector<std::unique_ptr<QPicture>> pages;
    std::unique_ptr<QPainter> painter;
    int onPage = bandsPerPage;
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(75);
    for (records->First(); !records->Eof(); records->Next()) {
      if (onPage == bandsPerPage) {
        if (painter) painter->end();
        pages.push_back(std::make_unique<QPicture>());
        painter = std::make_unique<QPainter>(pages.back().get());
        painter->setFont(font);
        onPage = 0;
      }
      const double top = onPage++ * band.Height();
      for (const auto& item : band.Children()) {
        const QRectF box(item->Left() * 600, (top + item->Top()) * 600, item->Width() * 600, item->Height() * 600);
        if (item->Kind() == TRaveKind::Rectangle) painter->drawRect(box);
        else if (item->Kind() == TRaveKind::Text) painter->drawText(box, static_cast<const TRaveText&>(*item).Text());
        else if (auto* field = records->FindField(static_cast<const TRaveDataText&>(*item).DataField()))
          painter->drawText(box, Qt::AlignRight, field->DisplayText());
      }
    }
    if (painter) painter->end();
    benchmark::DoNotOptimize(pages.size());
  }
}

BENCHMARK(BM_LayOutPaySheet)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_QPicturePaySheet)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication Application(argc, argv);
  QTemporaryDir Folder;
  SetProgramFolder(Folder.path() + u'/');
  QFile(Folder.filePath(QStringLiteral("NotFirst.txt"))).open(QIODevice::WriteOnly);
  const QDir templates(QStringLiteral(MOLI_SOURCE_DIR "/resources/RPT"));
  QDir().mkpath(Folder.filePath(QStringLiteral("RPT")));
  for (const QString& name : templates.entryList({QStringLiteral("*.RAV")}, QDir::Files))
    QFile::copy(templates.filePath(name), Folder.filePath(QStringLiteral("RPT/") + name));
  TDM Module;
  DM = &Module;
  FillPayrollDatabase(*Module.ADOLocal);
  TfrmMainGZT MainWindow(nullptr);
  Window = &MainWindow;

  TReportSetupDialogs::SetAnswer([](TReportSetupRequest& Request) {
    Request.Destination = rdPreview;
    return true;
  });
  QElapsedTimer timer;
  timer.start();
  MainWindow.N7Click(nullptr);
  TRvPreviewForm* preview = MainWindow.RvSystem1->PreviewForm();
  preview->pgPage->Repaint();
  QApplication::processEvents();
  const double firstPageMs = double(timer.nsecsElapsed()) / 1e6;
  std::printf("first_page_ms=%.1f\n", preview->Visible() && preview->PageIndex() == 1 ? firstPageMs : -1.0);
  std::printf("pages=%d records=%d template=%s\n", preview->PageCount(), MainWindow.dsGZDetail->RecordCount(),
              qPrintable(QFileInfo(MainWindow.RvProject1->ProjectFile()).fileName()));

  benchmark::Initialize(&argc, argv);
  TRatioReporter Reporter;
  benchmark::RunSpecifiedBenchmarks(&Reporter);
  std::printf("report layout / Qt picture (time ratio): %.2f\n",
              1.0 / Reporter.SpeedRatio("BM_LayOutPaySheet/real_time", "BM_QPicturePaySheet/real_time"));
  benchmark::Shutdown();
  return 0;
}
