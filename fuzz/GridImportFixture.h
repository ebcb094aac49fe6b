#pragma once
// A grid over an in-memory table of a few typed columns and records, made once per fuzz
// process, that fuzzed sources are pasted into.
#include "dbgrid/DBGridX.h"
#include "platform/db/ADODB.h"
#include "platform/ui/Forms.h"
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

class TFuzzGrid {
public:
  static TFuzzGrid& Instance() {
    static TFuzzGrid grid;
    return grid;
  }
  TCustomDBGridX* Grid() { return FGrid; }
  // Puts the records back and leaves the data set browsing.
  void Reset() {
    if (FQuery.State() != dsBrowse) FQuery.Cancel();
    FQuery.Close();
    FConnection.ExecuteSql("DELETE FROM pay");
    FConnection.ExecuteSql("INSERT INTO pay VALUES (1, 'a', 1.5, 2, '2024-01-01'), (2, NULL, NULL, NULL, NULL)");
    FQuery.Open();
  }

private:
  TFuzzGrid() {
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    // The connection opens existing files only; SQLite takes an empty one as an empty database.
    const QString file = FDir.filePath(QStringLiteral("fuzz.db"));
    QFile(file).open(QIODevice::WriteOnly);
    FConnection.SetConnectionString(QStringLiteral("Provider=Any;Data Source=%1").arg(file));
    FConnection.Open();
    FConnection.ExecuteSql("CREATE TABLE pay (id INTEGER PRIMARY KEY, name VARCHAR(20), base REAL, qty INTEGER, "
                           "hired DATE)");
    FQuery.SetConnection(&FConnection);
    FQuery.SQL()->SetText("SELECT * FROM pay ORDER BY id");
    Reset();
    FSource.SetDataSet(&FQuery);
    FGrid = new TDBGridX(&FForm);
    FGrid->SetParent(&FForm);
    FGrid->SetDataSource(&FSource);
  }
  QTemporaryDir FDir;
  TADOConnection FConnection;
  TADOQuery FQuery;
  TDataSource FSource;
  TForm FForm{nullptr};
  TDBGridX* FGrid = nullptr;
};
