#pragma once
// A shown grid over a memory-table query whose records form a tree:
// A (children A1, and A2 with its child A21), then B.
#include "DBGridXTestSupport.h"
#include "MemTableQuery.h"

namespace dbgridtest {

class TTreeGridForm {
public:
  TTreeGridForm() {
    SetSystemTable(ClassicSystemTable());
    OpenNewDatabase(Connection, FDir, "tree.db");
    Connection.ExecuteSql("CREATE TABLE node (id INTEGER PRIMARY KEY, name VARCHAR(20), parent INTEGER)");
    Connection.ExecuteSql(
        "INSERT INTO node VALUES (1, 'A', NULL), (2, 'A1', 1), (3, 'A2', 1), (4, 'A21', 3), (5, 'B', NULL)");
    Query.SetConnection(&Connection);
    Query.SQL()->SetText("SELECT * FROM node ORDER BY id");
    Query.ParentFieldName = QStringLiteral("parent");
    Query.TreeView = true;
    Query.Open();
    Source.SetDataSet(&Query);
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 440, 240);
    Grid = new TDBGridX(Form);
    Grid->SetBounds(10, 10, 400, 200);
    Grid->SetParent(Form);
    Grid->SetDataSource(&Source);
    Form->Show();
    QApplication::processEvents();
  }
  ~TTreeGridForm() { delete Form; }
  TTreeGridForm(const TTreeGridForm&) = delete;
  TTreeGridForm& operator=(const TTreeGridForm&) = delete;

  TADOConnection Connection;
  TMemTableQuery Query;
  TDataSource Source;
  TForm* Form = nullptr;
  TDBGridX* Grid = nullptr;

private:
  moli::testing::ScratchDir FDir;
};

}  // namespace dbgridtest
