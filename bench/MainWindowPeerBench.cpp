// The main window where a clerk waits, against a plain Qt window over the same
// payroll data (24 months of 2 000 employees): starting the program until its
// window shows, switching the month, recalculating a month's totals and sorting
// the records by a title click. The peer is a QMainWindow with a QTableView over
// a QSqlQueryModel of the month's records in the same window size; switching
// the month it also refills a name list, as ours refills its name filter.
// Start-up is timed as a fresh process of this program for each side, so both
// pay for starting Qt and reading the database from a cold connection.
#include "app/PayrollDatabase.h"
#include "app/uDM.h"
#include "app/uMain.h"
#include "bench/PayrollFixture.h"
#include "bench/RatioReporter.h"
#include "platform/rtl/Files.h"
#include "platform/ui/SystemColors.h"
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QMainWindow>
#include <QMouseEvent>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolBar>
#include <QVariant>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

constexpr int kEmployees = 2000;
const char* const kStartOurs = "--start-ours";
const char* const kStartPeer = "--start-peer";

QString RecordsQuery(const QString& Month, const QString& Order = QStringLiteral("DepartName,EmpName")) {
  return QStringLiteral("select * from TGZ where GZMonth='%1' order by %2").arg(Month, Order);
}

// ---- the peer

class TPeerWindow {
public:
  explicit TPeerWindow(const QString& DatabaseFile) {
    FDatabase = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("peer"));
    FDatabase.setDatabaseName(DatabaseFile);
    FDatabase.open();
    FNames = new QComboBox;
    FNames->setEditable(true);
    auto* bar = FWindow.addToolBar(QStringLiteral("filter"));
    bar->addWidget(FNames);
    FView = new QTableView;
    FModel = new QSqlQueryModel(FView);
    FWindow.setCentralWidget(FView);
    // A click on a title orders the records by its column, the direction alternating.
    QObject::connect(FView->horizontalHeader(), &QHeaderView::sectionClicked, FView, [this](int Section) {
      FAscending = !FAscending;
      const QString column = FModel->record().fieldName(Section);
      FModel->setQuery(RecordsQuery(FMonth, column + (FAscending ? QStringLiteral(" ASC") : QStringLiteral(" DESC"))),
                       FDatabase);
    });
    FMonth = Months().value(0);
    FModel->setQuery(RecordsQuery(FMonth), FDatabase);
    FView->setModel(FModel);
  }
  ~TPeerWindow() {
    delete FModel;
    FModel = nullptr;
    FDatabase.close();
  }
  QMainWindow& Window() { return FWindow; }
  QStringList Months() const {
    QStringList months;
    QSqlQuery query(QStringLiteral("select GZMonth from TGZMonth order by ID desc"), FDatabase);
    while (query.next()) months << query.value(0).toString();
    return months;
  }
  void SwitchTo(const QString& Month) {
    FMonth = Month;
    FModel->setQuery(RecordsQuery(Month), FDatabase);
    QSqlQuery names(QStringLiteral("select distinct EmpName from TGZ where GZMonth='%1' order by EmpName").arg(Month),
                    FDatabase);
    QStringList list;
    while (names.next()) list << names.value(0).toString();
    FNames->clear();
    FNames->addItems(list);
    FWindow.repaint();
  }
  // The totals of every record of the month from its shown items, written in one
  // transaction, and the list read again.
  void Recalc() {
    QStringList earnings, deductions;
    QSqlQuery items(QStringLiteral("select GZField1, GZType from TGZSet where GZMonth='BASE' and ShowStu=0"), FDatabase);
    while (items.next()) (items.value(1).toInt() == 0 ? earnings : deductions) << items.value(0).toString().trimmed();
    FDatabase.transaction();
    QSqlQuery read(QStringLiteral("select ID, %1, %2 from TGZ where GZMonth='%3'")
                       .arg(earnings.join(u','), deductions.join(u','), FMonth),
                   FDatabase);
    QSqlQuery write(FDatabase);
    write.prepare(QStringLiteral("update TGZ set YFTotal=?, KKTotal=?, GZTotal=? where ID=?"));
    while (read.next()) {
      double earned = 0, deducted = 0;
      for (int i = 0; i < earnings.size(); ++i) earned += read.value(1 + i).toDouble();
      for (int i = 0; i < deductions.size(); ++i) deducted += read.value(1 + int(earnings.size()) + i).toDouble();
      write.addBindValue(earned);
      write.addBindValue(deducted);
      write.addBindValue(earned - deducted);
      write.addBindValue(read.value(0));
      write.exec();
    }
    FDatabase.commit();
    FModel->setQuery(RecordsQuery(FMonth), FDatabase);
    FWindow.repaint();
  }
  void ClickTitle(int Section) {
    QHeaderView* header = FView->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(Section) + header->sectionSize(Section) / 2, header->height() / 2);
    QMouseEvent press(QEvent::MouseButtonPress, at, header->viewport()->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(header->viewport(), &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, header->viewport()->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(header->viewport(), &release);
    FWindow.repaint();
  }
  const QString& Month() const { return FMonth; }
  void Execute(const QString& Sql) {
    QSqlQuery query(FDatabase);
    query.exec(Sql);
  }
  int SectionOf(const QString& Field) const { return FModel->record().indexOf(Field); }
  int RowCount() const { return FModel->rowCount(); }

private:
  QSqlDatabase FDatabase;
  QMainWindow FWindow;
  QComboBox* FNames;
  QTableView* FView;
  QSqlQueryModel* FModel;
  QString FMonth;
  bool FAscending = false;
};

// ---- start-up, in a process of its own

void ShowAndPaint(QWidget* Window) {
  QApplication::processEvents();
  Window->repaint();
  QApplication::processEvents();
}

// The program's own start: data module, main window, shown and painted with the
// newest month's records.
int StartOurs(const QString& Folder) {
  SetSystemTable(PaletteSystemTable());
  SetProgramFolder(Folder);
  DM = new TDM(Application);
  frmMainGZT = new TfrmMainGZT(Application);
  Application->SetMainForm(frmMainGZT);
  frmMainGZT->Show();
  ShowAndPaint(frmMainGZT->Handle());
  const bool ready = frmMainGZT->dsGZDetail->RecordCount() == kEmployees;
  delete frmMainGZT;
  delete DM;
  return ready ? 0 : 2;
}

// The peer reads a copy of the database of its own: its open cursors must not hold
// back our writes, nor ours its.
QString PeerDatabaseFile(const QString& Folder) { return DatabaseFileName(Folder) + QStringLiteral(".peer"); }

int StartPeer(const QString& Folder) {
  TPeerWindow peer(PeerDatabaseFile(Folder));
  peer.Window().showMaximized();
  ShowAndPaint(&peer.Window());
  return peer.RowCount() > 0 ? 0 : 2;
}

// Milliseconds from starting this program in Mode until it ends; the median of Runs.
double MedianStartMs(const QString& Mode, const QString& Folder, int Runs) {
  std::vector<double> times;
  for (int i = 0; i < Runs; ++i) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer timer;
    timer.start();
    process.start(QCoreApplication::applicationFilePath(), {Mode, Folder});
    process.waitForFinished(120000);
    times.push_back(double(timer.nsecsElapsed()) / 1e6);
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
      std::fprintf(stderr, "%s failed with code %d\n", qPrintable(Mode), process.exitCode());
      return 0;
    }
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// ---- switching, recalculating and sorting, in this process

struct TWindows {
  TWindows() : Peer(PeerDatabaseFile(ProgramFolder())) {
    Ours.Show();
    ShowAndPaint(Ours.Handle());
    Peer.Window().resize(Ours.Handle()->size());
    Peer.Window().show();
    ShowAndPaint(&Peer.Window());
  }
  TfrmMainGZT Ours{nullptr};
  TPeerWindow Peer;
};

TWindows* Windows = nullptr;

void BM_SwitchMonth(benchmark::State& State) {
  TDBGridX* months = Windows->Ours.DBGridEh1;
  bool down = true;
  for (auto _ : State) {
    Word key = down ? VK_DOWN : VK_UP;
    months->KeyDown(key, TShiftState());
    Windows->Ours.Handle()->repaint();
    down = !down;
  }
  if (Windows->Ours.dsGZDetail->RecordCount() != kEmployees) State.SkipWithError("the month's records are missing");
}

void BM_SwitchMonthPeer(benchmark::State& State) {
  const QStringList months = Windows->Peer.Months();
  bool down = true;
  for (auto _ : State) {
    Windows->Peer.SwitchTo(months.value(down ? 1 : 0));
    down = !down;
  }
}

// Stored totals that are out of date, so that both sides write every record.
const char* const ClearTotalsSql = "update TGZ set YFTotal=0, KKTotal=0, GZTotal=0 where GZMonth='%1'";

void BM_Recalc(benchmark::State& State) {
  TfrmMainGZT& ours = Windows->Ours;
  for (auto _ : State) {
    State.PauseTiming();
    DM->ADOLocal->ExecuteSql(QString::fromLatin1(ClearTotalsSql).arg(ours.CurrentMonth()));
    ours.dsGZMonthAfterScroll(ours.dsGZMonth);
    State.ResumeTiming();
    ours.ReCalcAll();
    ours.Handle()->repaint();
  }
}

void BM_RecalcPeer(benchmark::State& State) {
  for (auto _ : State) {
    State.PauseTiming();
    Windows->Peer.Execute(QString::fromLatin1(ClearTotalsSql).arg(Windows->Peer.Month()));
    State.ResumeTiming();
    Windows->Peer.Recalc();
  }
}

void BM_Sort(benchmark::State& State) {
  TDBGridX* grid = Windows->Ours.DBGridEh2;
  const Integer column = Windows->Ours.GetCol(QStringLiteral("EmpName"));
  for (auto _ : State) {
    const TRect title = grid->CellRect(grid->IndicatorColCount() + column, 0);
    const LPARAM at = PointToLParam({(title.Left + title.Right) / 2, (title.Top + title.Bottom) / 2});
    grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON, at);
    grid->Perform(WM_LBUTTONUP, 0, at);
    Windows->Ours.Handle()->repaint();
  }
  if (Windows->Ours.dsGZDetail->Sort().isEmpty()) State.SkipWithError("the title click did not sort");
}

void BM_SortPeer(benchmark::State& State) {
  const int section = Windows->Peer.SectionOf(QStringLiteral("EmpName"));
  for (auto _ : State) Windows->Peer.ClickTitle(section);
}

BENCHMARK(BM_SwitchMonth)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();
BENCHMARK(BM_SwitchMonthPeer)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();
BENCHMARK(BM_Recalc)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();
BENCHMARK(BM_RecalcPeer)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();
BENCHMARK(BM_Sort)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();
BENCHMARK(BM_SortPeer)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication Qt(argc, argv);
  if (argc == 3 && qstrcmp(argv[1], kStartOurs) == 0) return StartOurs(QString::fromLocal8Bit(argv[2]));
  if (argc == 3 && qstrcmp(argv[1], kStartPeer) == 0) return StartPeer(QString::fromLocal8Bit(argv[2]));

  QTemporaryDir Folder;
  const QString Program = Folder.path() + u'/';
  SetProgramFolder(Program);
  QFile(Folder.filePath(QStringLiteral("NotFirst.txt"))).open(QIODevice::WriteOnly);
  // The skin the program wears at start, from the build's program folder.
  QDir(Program).mkpath(QStringLiteral("RPT"));
  const bool Skinned = QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/RPT/Skin.Skn"),
                                   Folder.filePath(QStringLiteral("RPT/Skin.Skn")));
  QFile Backups(Folder.filePath(QStringLiteral("AutoBakPath.txt")));
  if (Backups.open(QIODevice::WriteOnly)) Backups.write(Program.toUtf8() + "\n");
  Backups.close();
  auto* Module = new TDM(nullptr);
  DM = Module;
  FillPayrollDatabase(*Module->ADOLocal, kEmployees);
  QFile::copy(DatabaseFileName(Program), PeerDatabaseFile(Program));

  const double StartOursMs = MedianStartMs(QString::fromLatin1(kStartOurs), Program, 5);
  const double StartPeerMs = MedianStartMs(QString::fromLatin1(kStartPeer), Program, 5);

  benchmark::Initialize(&argc, argv);
  TRatioReporter Reporter;
  Windows = new TWindows;
  benchmark::RunSpecifiedBenchmarks(&Reporter);
  delete Windows;
  Windows = nullptr;

  const auto Figure = [&](const char* Name, double Ours, double Peer) {
    std::printf("%s_ms=%.1f peer_%s_ms=%.1f %s_ratio=%.2f\n", Name, Ours, Name, Peer, Name, Peer > 0 ? Ours / Peer : 0.0);
  };
  const auto Time = [&](const char* Benchmark) {
    return Reporter.Times[std::string(Benchmark) + "/iterations:10/real_time"];
  };
  Figure("start", StartOursMs, StartPeerMs);
  Figure("switch", Time("BM_SwitchMonth"), Time("BM_SwitchMonthPeer"));
  Figure("recalc", Time("BM_Recalc"), Time("BM_RecalcPeer"));
  Figure("sort", Time("BM_Sort"), Time("BM_SortPeer"));
  std::printf("bars: switch_ratio <= 2, start_ratio <= 1.5, recalc_ratio <= 1.2%s\n",
              Skinned ? "" : " (started without the skin: build the program's resources first)");
  benchmark::Shutdown();
  DM = nullptr;
  delete Module;
  return 0;
}
