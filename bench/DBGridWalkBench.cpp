// Walks of the data-aware grid over a pay table of 100 000 records and 63 columns (SQLite),
// 1280 x 800 pixels with 45 footer sums:
// - selecting every record from the first to the end (Ctrl+Shift+End in a row-select grid)
//   against a bare walk of the data set by one data link of the grid's size;
// - a text search that finds nothing against reading the searched column's display texts of
//   every record;
// - sorting by a title click, the click's handler setting the data set's sort order;
// - filtering by a column condition, the footers following;
// - the first show of the grid over 1 000 000 records against one pass over the records
//   that reads the summed fields.
#include "bench/RatioReporter.h"
#include "dbgrid/DBGridX.h"
#include "platform/db/ADODB.h"
#include "platform/ui/Forms.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int kRows = 100000;
constexpr int kMillion = 1000000;
constexpr int kColumns = 63;
constexpr int kSums = 45;
constexpr int kWidth = 1280, kHeight = 800;

QString ColumnName(int C) {
  if (C == 0) return QStringLiteral("ID");
  if (C == 1) return QStringLiteral("Name");
  if (C == 2) return QStringLiteral("Dept");
  return QStringLiteral("GZ%1").arg(C - 2);
}

struct TPayTable {
  explicit TPayTable(int Rows) {
    const QString path = Dir.filePath(QStringLiteral("pay.db"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.close();
    Connection.SetConnectionString(QStringLiteral("Provider=Any;Data Source=%1").arg(path));
    Connection.Open();
    QStringList columns{QStringLiteral("ID INTEGER PRIMARY KEY"), QStringLiteral("Name VARCHAR(20)"),
                        QStringLiteral("Dept VARCHAR(20)")};
    QStringList values{QStringLiteral("x"), QStringLiteral("'Name' || (x % 997)"), QStringLiteral("'Dept' || (x % 13)")};
    for (int c = 3; c < kColumns; ++c) {
      columns << QStringLiteral("%1 REAL").arg(ColumnName(c));
      values << QStringLiteral("((x * %1) % 100000) / 10.0").arg(c);
    }
    Connection.ExecuteSql(QStringLiteral("CREATE TABLE TGZ (%1)").arg(columns.join(u',')));
    Connection.ExecuteSql(QStringLiteral("WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < %1) "
                                         "INSERT INTO TGZ SELECT %2 FROM n")
                              .arg(Rows)
                              .arg(values.join(u',')));
    Query.SetConnection(&Connection);
    Query.SQL()->SetText(QStringLiteral("SELECT * FROM TGZ ORDER BY ID"));
    Query.Open();
    Source.SetDataSet(&Query);
  }
  QTemporaryDir Dir;
  TADOConnection Connection;
  TADOQuery Query;
  TDataSource Source;
};

TPayTable& Table() {
  static TPayTable table(kRows);
  return table;
}

TPayTable& MillionTable() {
  static TPayTable table(kMillion);
  return table;
}

struct TGridWindow {
  explicit TGridWindow(TPayTable& Table) {
    Form.SetBounds(0, 0, kWidth + 20, kHeight + 20);
    Grid = new TDBGridX(&Form);
    Grid->SetParent(&Form);
    Grid->SetBounds(0, 0, kWidth, kHeight);
    Grid->SetFooterRowCount(1);
    Grid->SumList()->SetActive(true);
    for (int c = 0; c < kColumns; ++c) {
      TColumnX* column = Grid->Columns()->Add();
      column->SetFieldName(ColumnName(c));
      column->SetWidth(70);
      column->Title()->SetTitleButton(true);
      if (c >= 3 && c < 3 + kSums) column->Footer()->SetValueType(fvtSum);
    }
    Grid->SetDataSource(&Table.Source);
    Form.Show();
    QApplication::processEvents();
  }
  ~TGridWindow() { Grid->SetDataSource(nullptr); }
  TForm Form{nullptr};
  TDBGridX* Grid;
};

void BM_SelectToEnd(benchmark::State& State) {
  TPayTable& table = Table();
  TGridWindow window(table);
  TDBGridX* grid = window.Grid;
  grid->SetOptions(grid->Options() + TDBGridOptions{dgRowSelect, dgMultiSelect});
  for (auto _ : State) {
    State.PauseTiming();
    grid->ClearSelection();
    table.Query.First();
    State.ResumeTiming();
    Word key = VK_END;
    grid->KeyDown(key, TShiftState{ssCtrl, ssShift});
  }
  if (grid->RecordBookmarks()->GetCount() != kRows) State.SkipWithError("not every record was selected");
}

// The peer: the data set walked to its end by one link that buffers as many records as the
// grid shows.
void BM_BareWalk(benchmark::State& State) {
  TPayTable& table = Table();
  TGridWindow window(table);
  TDataLink link;
  link.SetBufferCount(window.Grid->GridDataLink()->BufferCount());
  link.SetDataSource(&table.Source);
  window.Grid->SetDataSource(nullptr);
  for (auto _ : State) {
    State.PauseTiming();
    table.Query.First();
    State.ResumeTiming();
    while (!table.Query.Eof()) table.Query.Next();
  }
  link.SetDataSource(nullptr);
}

void BM_FindWithoutMatch(benchmark::State& State) {
  TPayTable& table = Table();
  TGridWindow window(table);
  for (auto _ : State) {
    const bool found = window.Grid->LocateText(QStringLiteral("Name"), QStringLiteral("Nobody"),
                                               TGridSearchOptionsX{gsoIgnoreCaseX, gsoDisplayTextX}, gsdAllX,
                                               gsmWholeX, gtrAllNodesX);
    if (found) State.SkipWithError("found a name that is not there");
  }
}

// The peer: the searched column's display text of every record, read in one walk.
void BM_ReadColumnTexts(benchmark::State& State) {
  TPayTable& table = Table();
  TGridWindow window(table);
  TField* field = table.Query.FieldByName(QStringLiteral("Name"));
  qsizetype length = 0;
  for (auto _ : State) {
    TDisableControlsLock controls(&table.Query);
    table.Query.First();
    while (!table.Query.Eof()) {
      length += field->DisplayText().size();
      table.Query.Next();
    }
  }
  benchmark::DoNotOptimize(length);
}

// Making, binding and showing the grid: its footers sum 45 columns of every record.
void BM_FirstShowMillion(benchmark::State& State) {
  TPayTable& table = MillionTable();
  for (auto _ : State) {
    auto window = std::make_unique<TGridWindow>(table);
    State.PauseTiming();
    const bool summed = window->Grid->SumList()->SumCollection()->Count() == kSums;
    window.reset();
    State.ResumeTiming();
    if (!summed) State.SkipWithError("the footers have no sums");
  }
}

// The peer: one pass over the records reading the fields the footers sum.
void BM_PassMillion(benchmark::State& State) {
  TPayTable& table = MillionTable();
  std::vector<TField*> fields;
  for (int c = 3; c < 3 + kSums; ++c) fields.push_back(table.Query.FieldByName(ColumnName(c)));
  for (auto _ : State) {
    double total = 0;
    TDisableControlsLock controls(&table.Query);
    for (table.Query.First(); !table.Query.Eof(); table.Query.Next())
      for (TField* field : fields)
        if (!field->IsNull()) total += field->AsFloat();
    benchmark::DoNotOptimize(total);
  }
}

struct TSingleRuns {
  double SortMs = -1;
  double FilterMs = -1;
};

// One title click whose handler sorts the data set by the column's marker.
double TimeSortByTitleClick(TGridWindow& Window) {
  TDBGridX* grid = Window.Grid;
  grid->SetOptionsX(grid->OptionsX() + TDBGridXOptions{dghAutoSortMarking});
  TColumnX* column = grid->Columns()->Items(5);
  grid->OnSortMarkingChanged = [&](TObject*) {
    const TSortMarkerX marker = column->Title()->SortMarker();
    grid->DataSet()->SetSort(column->FieldName() + (marker == smUpX ? QStringLiteral(" DESC") : QStringLiteral(" ASC")));
  };
  const TRect title = grid->CellRect(grid->IndicatorColCount() + 5, 0);
  const LPARAM at = PointToLParam({(title.Left + title.Right) / 2, (title.Top + title.Bottom) / 2});
  QElapsedTimer timer;
  timer.start();
  grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON, at);
  grid->Perform(WM_LBUTTONUP, 0, at);
  grid->Update();
  const double ms = double(timer.nsecsElapsed()) / 1e6;
  grid->OnSortMarkingChanged = nullptr;
  grid->DataSet()->SetSort(String());
  return ms;
}

// A condition typed into a column's filter, applied with the footers recomputed.
double TimeFilterByColumnCondition(TGridWindow& Window) {
  TDBGridX* grid = Window.Grid;
  QElapsedTimer timer;
  timer.start();
  grid->Columns()->Items(4)->STFilter()->SetExpressionText(QStringLiteral("> 5000"));
  grid->ApplyFilter();
  grid->Update();
  const double ms = double(timer.nsecsElapsed()) / 1e6;
  grid->Columns()->Items(4)->STFilter()->SetExpressionText(String());
  grid->ApplyFilter();
  return ms;
}

BENCHMARK(BM_SelectToEnd)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareWalk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindWithoutMatch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadColumnTexts)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstShowMillion)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_PassMillion)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  TSingleRuns single;
  {
    TGridWindow window(Table());
    single.SortMs = TimeSortByTitleClick(window);
    single.FilterMs = TimeFilterByColumnCondition(window);
  }
  const auto ratio = [&](const char* Label, const char* Ours, const char* Peer) {
    const double r = reporter.SpeedRatio(Peer, Ours);
    if (r > 0) std::printf("%s: %.2f\n", Label, r);
  };
  ratio("select to end / bare walk", "BM_SelectToEnd", "BM_BareWalk");
  ratio("find without match / bare walk", "BM_FindWithoutMatch", "BM_ReadColumnTexts");
  ratio("first show of 1 000 000 records with 45 sums / one pass (bar 3)", "BM_FirstShowMillion/iterations:3/real_time",
        "BM_PassMillion/iterations:3/real_time");
  std::printf("select to end of %d records: %.0f ms (bar 500)\n", kRows, reporter.Times["BM_SelectToEnd"]);
  std::printf("sort by title click: %.0f ms\n", single.SortMs);
  std::printf("filter by column condition: %.0f ms\n", single.FilterMs);
  benchmark::Shutdown();
  return 0;
}
