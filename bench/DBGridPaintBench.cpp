// The data-aware grid over a pay table of 63 columns (SQLite), 1280 x 800 pixels, with
// two-level titles and one footer row of 45 sums. A frame jumps to another record and
// repaints the whole window; it must not depend on the record count (peer: the same grid
// over 1 000 records) and should stay close to a plain table view showing texts of the same
// lengths from a model of 1 000 000 rows. Editing one record with the footers kept current
// must not walk the records either.
#include "bench/RatioReporter.h"
#include "dbgrid/DBGridX.h"
#include "platform/db/ADODB.h"
#include "platform/ui/Forms.h"
#include <QAbstractTableModel>
#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QTableView>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>

namespace {

constexpr int kColumns = 63;
constexpr int kSums = 45;
constexpr int kWidth = 1280, kHeight = 800;

QString ColumnName(int C) {
  if (C == 0) return QStringLiteral("ID");
  if (C == 1) return QStringLiteral("Name");
  if (C == 2) return QStringLiteral("Dept");
  return QStringLiteral("GZ%1").arg(C - 2);
}

// One scratch database per record count, made on first use.
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

TPayTable& Table(int Rows) {
  static std::map<int, std::unique_ptr<TPayTable>> tables;
  std::unique_ptr<TPayTable>& table = tables[Rows];
  if (!table) table = std::make_unique<TPayTable>(Rows);
  return *table;
}

struct TGridWindow {
  explicit TGridWindow(TPayTable& Table) {
    Form.SetBounds(0, 0, kWidth + 20, kHeight + 20);
    Grid = new TDBGridX(&Form);
    Grid->SetParent(&Form);
    Grid->SetBounds(0, 0, kWidth, kHeight);
    Grid->SetUseMultiTitle(true);
    Grid->SetFooterRowCount(1);
    Grid->SumList()->SetActive(true);
    for (int c = 0; c < kColumns; ++c) {
      TColumnX* column = Grid->Columns()->Add();
      column->SetFieldName(ColumnName(c));
      column->SetWidth(70);
      column->Title()->SetCaption(c < 3 ? ColumnName(c) : QStringLiteral("工资|%1").arg(ColumnName(c)));
      if (c >= 3 && c < 3 + kSums) {
        column->Footer()->SetValueType(fvtSum);
        column->Footer()->SetDisplayFormat(QStringLiteral("0.00"));
      }
    }
    Grid->Columns()->Items(1)->Footer()->SetValueType(fvtCount);
    Grid->SetDataSource(&Table.Source);
    Form.Show();
    QApplication::processEvents();
  }
  TForm Form{nullptr};
  TDBGridX* Grid;
};

void BM_GridFrame(benchmark::State& State) {
  TPayTable& table = Table(int(State.range(0)));
  TGridWindow window(table);
  const int rows = table.Query.RecordCount();
  int frame = 0;
  for (auto _ : State) {
    frame = (frame + 13) % 20;
    table.Query.SetRecNo(1 + int(Int64(rows - 1) * frame / 20));
    window.Grid->Invalidate();
    window.Grid->Update();
  }
  window.Grid->SetDataSource(nullptr);
}

// Texts of the same lengths as the grid shows, computed per cell.
class TTextModel : public QAbstractTableModel {
public:
  int rowCount(const QModelIndex&) const override { return 1000000; }
  int columnCount(const QModelIndex&) const override { return kColumns; }
  QVariant data(const QModelIndex& Index, int Role) const override {
    if (Role != Qt::DisplayRole) return QVariant();
    const int x = Index.row() + 1;
    const int c = Index.column();
    if (c == 0) return QString::number(x);
    if (c == 1) return QStringLiteral("Name%1").arg(x % 997);
    if (c == 2) return QStringLiteral("Dept%1").arg(x % 13);
    return QString::number(double((Int64(x) * c) % 100000) / 10.0, 'f', 1);
  }
  QVariant headerData(int Section, Qt::Orientation Orientation, int Role) const override {
    if (Role != Qt::DisplayRole) return QVariant();
    return Orientation == Qt::Horizontal ? QVariant(ColumnName(Section)) : QVariant(Section + 1);
  }
};

void BM_TableViewFrame(benchmark::State& State) {
  TTextModel model;
  QWidget window;
  window.resize(kWidth + 20, kHeight + 20);
  QTableView view(&window);
  view.setGeometry(0, 0, kWidth, kHeight);
  view.setModel(&model);
  view.horizontalHeader()->setDefaultSectionSize(70);
  view.verticalHeader()->setDefaultSectionSize(19);
  window.show();
  QApplication::processEvents();
  int frame = 0;
  for (auto _ : State) {
    frame = (frame + 13) % 20;
    view.scrollTo(model.index(int(Int64(999999) * frame / 20), 0), QAbstractItemView::PositionAtCenter);
    view.viewport()->repaint();
  }
}

void BM_FooterEdit(benchmark::State& State) {
  TPayTable& table = Table(int(State.range(0)));
  TGridWindow window(table);
  const int rows = table.Query.RecordCount();
  int step = 0;
  for (auto _ : State) {
    ++step;
    table.Query.SetRecNo(1 + (step * 7919) % rows);
    table.Query.Edit();
    table.Query.FieldByName(ColumnName(3 + step % kSums))->SetAsFloat(double(step % 1000) / 4.0);
    table.Query.Post();
    window.Grid->Update();
  }
  window.Grid->SetDataSource(nullptr);
}

BENCHMARK(BM_GridFrame)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TableViewFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FooterEdit)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const auto print = [&](const char* Label, const char* Ours, const char* Peer) {
    const double ratio = reporter.SpeedRatio(Peer, Ours);
    if (ratio > 0) std::printf("%s: %.2f\n", Label, ratio);
  };
  print("frame, 1 000 000 / 1 000 records", "BM_GridFrame/1000000", "BM_GridFrame/1000");
  print("frame, grid / QTableView", "BM_GridFrame/1000000", "BM_TableViewFrame");
  print("footer edit, 100 000 / 1 000 records", "BM_FooterEdit/100000", "BM_FooterEdit/1000");
  benchmark::Shutdown();
  return 0;
}
