// Painting a virtual base grid of 60 columns while scrolling down a page at a time, each
// frame a full repaint of the window. Only the visible cells are touched, so the time per
// frame must not depend on the row count: the peer is the same grid with 1 000 rows, and
// the ratio printed at the end should stay close to 1.
#include "bench/RatioReporter.h"
#include "grid/GridsX.h"
#include "platform/ui/Forms.h"
#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

constexpr Integer ColumnCount = 60;

class TVirtualGrid : public TCustomGridX {
public:
  using TCustomGridX::TCustomGridX;
  // Texts of the same length at every row count, so that only the grid's own work differs.
  void PaintCell(Integer ACol, Integer ARow, TGridDrawState, TRect R) override {
    Canvas()->TextRect(R, R.Left + 2, R.Top + 2, QStringLiteral("%1:%2").arg(ARow % 1000, 3, 10, QChar('0')).arg(ACol, 2, 10, QChar('0')));
  }
};

void PaintWhileScrolling(benchmark::State& State) {
  const Integer rows = Integer(State.range(0));
  TForm form(nullptr);
  auto* grid = new TVirtualGrid(&form);
  form.SetBounds(0, 0, 1040, 740);
  grid->SetParent(&form);
  grid->SetBounds(10, 10, 1000, 700);
  grid->SetColCount(ColumnCount);
  grid->SetRowCount(rows);
  form.Show();
  QApplication::processEvents();
  const Integer page = grid->FullyVisibleRowCount();
  const Integer span = rows - page - grid->FixedRows();
  Integer frame = 0;
  for (auto _ : State) {
    // Twenty stops spread over the whole grid, each a jump of more than a page, so that
    // every frame repaints the window as the event loop would.
    frame = (frame + 13) % 20;
    grid->SetTopRow(grid->FixedRows() + Integer(Int64(span) * frame / 20));
    grid->Update();
  }
}

BENCHMARK(PaintWhileScrolling)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  // The time per frame at a million rows over the time at a thousand: close to 1 when flat.
  const double ratio = reporter.SpeedRatio("PaintWhileScrolling/1000", "PaintWhileScrolling/1000000");
  if (ratio > 0) std::printf("time per frame, 1 000 000 rows / 1 000 rows: %.2f\n", ratio);
  benchmark::Shutdown();
  return 0;
}
