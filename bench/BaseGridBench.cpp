// Painting a virtual base grid while scrolling a page and more at a time, each frame a full
// repaint of a 1 280 x 800 window showing 63 columns of 100 px and rows of 20 px. The peer is a
// QTableView over the same texts in the same window at the same scroll positions; a grid of
// 1 000 rows and one of 1 000 000 are timed, and the time per frame must not depend on the
// row count.
#include "bench/RatioReporter.h"
#include "grid/GridsX.h"
#include "platform/ui/Forms.h"
#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

constexpr Integer ColumnCount = 63;
constexpr Integer ColumnWidth = 100;
constexpr Integer RowHeight = 20;
constexpr Integer WindowWidth = 1280;
constexpr Integer WindowHeight = 800;
constexpr int Stops = 20;

// Texts of the same length at every row count, so that only the grid's own work differs.
QString CellText(Int64 Row, Integer Col) {
  return QStringLiteral("%1:%2").arg(Row % 1000, 3, 10, QChar('0')).arg(Col, 2, 10, QChar('0'));
}

class TVirtualGrid : public TCustomGridX {
public:
  using TCustomGridX::TCustomGridX;
  void PaintCell(Integer ACol, Integer ARow, TGridDrawState, TRect R) override {
    Canvas()->TextRect(R, R.Left + 2, R.Top + 2, CellText(ARow, ACol));
  }
};

class TTextModel : public QAbstractTableModel {
public:
  explicit TTextModel(int Rows) : FRows(Rows) {}
  int rowCount(const QModelIndex& Parent) const override { return Parent.isValid() ? 0 : FRows; }
  int columnCount(const QModelIndex& Parent) const override { return Parent.isValid() ? 0 : ColumnCount; }
  QVariant data(const QModelIndex& Index, int Role) const override {
    if (Role != Qt::DisplayRole) return QVariant();
    return CellText(Index.row(), Index.column());
  }
private:
  int FRows;
};

void Grid(benchmark::State& State) {
  const Integer rows = Integer(State.range(0));
  TForm form(nullptr);
  auto* grid = new TVirtualGrid(&form);
  form.SetClientWidth(WindowWidth);
  form.SetClientHeight(WindowHeight);
  grid->SetParent(&form);
  grid->SetBounds(0, 0, WindowWidth, WindowHeight);
  grid->SetColCount(ColumnCount);
  for (Integer c = 0; c < ColumnCount; ++c) grid->SetColWidths(c, ColumnWidth);
  grid->SetDefaultRowHeight(RowHeight);
  grid->SetRowCount(rows);
  form.Show();
  QApplication::processEvents();
  const Integer span = rows - grid->FullyVisibleRowCount() - grid->FixedRows();
  int frame = 0;
  for (auto _ : State) {
    // Stops spread over the whole grid, each a jump of more than a page, so that every
    // frame repaints the window as the event loop would.
    frame = (frame + 13) % Stops;
    grid->SetTopRow(grid->FixedRows() + Integer(Int64(span) * frame / Stops));
    grid->Update();
  }
}

void TableView(benchmark::State& State) {
  const int rows = int(State.range(0));
  TTextModel model(rows);
  QTableView view;
  view.setModel(&model);
  view.horizontalHeader()->setDefaultSectionSize(ColumnWidth);
  view.horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view.verticalHeader()->setDefaultSectionSize(RowHeight);
  view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view.setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  view.resize(WindowWidth, WindowHeight);
  view.show();
  QApplication::processEvents();
  QScrollBar* bar = view.verticalScrollBar();
  int frame = 0;
  for (auto _ : State) {
    frame = (frame + 13) % Stops;
    // The whole view, as the grid repaints its whole window: the moved scroll bar and the
    // row headers change with the cells.
    bar->setValue(int(Int64(bar->maximum()) * frame / Stops));
    view.repaint();
  }
}

BENCHMARK(Grid)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(TableView)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  for (const char* rows : {"1000", "1000000"}) {
    const double ratio = reporter.SpeedRatio(std::string("TableView/") + rows, std::string("Grid/") + rows);
    if (ratio > 0) std::printf("frame, grid / QTableView, %s rows: %.2f\n", rows, ratio);
  }
  // The time per frame at a million rows over the time at a thousand: close to 1 when flat.
  const double flat = reporter.SpeedRatio("Grid/1000", "Grid/1000000");
  if (flat > 0) std::printf("time per frame, 1 000 000 rows / 1 000 rows: %.2f\n", flat);
  benchmark::Shutdown();
  return 0;
}
