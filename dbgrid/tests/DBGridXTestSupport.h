#pragma once
// A shown form with a data-aware grid over a pay table on a scratch SQLite database.
#include "dbgrid/DBGridX.h"
#include "platform/db/ADODB.h"
#include "platform/testing/TestPaths.h"
#include "platform/ui/Forms.h"
#include "platform/ui/SystemColors.h"
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

namespace dbgridtest {

// Opens Connection on a new, empty SQLite file named Name in Dir.
inline void OpenNewDatabase(TADOConnection& Connection, moli::testing::ScratchDir& Dir, const char* Name) {
  const String path = Dir.File(QString::fromLatin1(Name));
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  Connection.SetConnectionString(QStringLiteral("Provider=Any;Data Source=%1").arg(path));
  Connection.Open();
}

class TGridForm {
public:
  explicit TGridForm(Integer Width = 400, Integer Height = 200, bool Show = true) : Form(new TForm(nullptr)) {
    SetSystemTable(ClassicSystemTable());
    OpenNewDatabase(Connection, FDir, "pay.db");
    Connection.ExecuteSql(
        "CREATE TABLE pay (id INTEGER PRIMARY KEY, name VARCHAR(20), base REAL, bonus REAL, flag VARCHAR(5), "
        "qty INTEGER)");
    Connection.ExecuteSql(
        "INSERT INTO pay VALUES (1, 'Zhang', 1000, 10, 'Y', 4), (2, 'Li', 2000.5, NULL, 'n', NULL), "
        "(3, 'Wang', 3000, 30, 'x', 6)");
    Query.SetConnection(&Connection);
    Query.SQL()->SetText("SELECT * FROM pay ORDER BY id");
    Query.Open();
    Source.SetDataSet(&Query);
    Form->SetBounds(0, 0, Width + 40, Height + 40);
    Grid = new TDBGridX(Form);
    Grid->SetBounds(10, 10, Width, Height);
    Grid->SetParent(Form);
    if (Show) {
      Form->Show();
      QApplication::processEvents();
    }
  }
  ~TGridForm() { delete Form; }

  void Bind() {
    Grid->SetDataSource(&Source);
    QApplication::processEvents();
  }
  TField* Field(const char* Name) { return Query.FieldByName(QString::fromUtf8(Name)); }
  TColumnX* AddColumn(const char* FieldName, Integer Width) {
    TColumnX* column = Grid->Columns()->Add();
    column->SetFieldName(FieldName);
    column->SetWidth(Width);
    return column;
  }
  void AddRows(Integer Count) {
    Connection.ExecuteSql("BEGIN");
    for (Integer i = 0; i < Count; ++i)
      Connection.ExecuteSql(QStringLiteral("INSERT INTO pay (name, base, bonus, flag, qty) VALUES ('r%1', %1, 1, 'Y', 1)")
                                .arg(i + 10));
    Connection.ExecuteSql("COMMIT");
    Query.Close();
    Query.Open();
  }
  // The client area as painted, in client coordinates.
  QImage Grab() {
    QApplication::processEvents();
    const TRect inWindow = Grid->ClientRectInWindow();
    const QImage all = Grid->Handle()->grab().toImage();
    return all.copy(inWindow.Left, inWindow.Top, inWindow.Width(), inWindow.Height());
  }

  TADOConnection Connection;
  TADOQuery Query;
  TDataSource Source;
  TForm* Form;
  TDBGridX* Grid = nullptr;

private:
  moli::testing::ScratchDir FDir;
};

}  // namespace dbgridtest
