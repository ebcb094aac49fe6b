#pragma once
// A grid over the pay table with a department key, a lookup of the department's title from a
// second query, a hire date, and customised columns, for the in-place editor's tests.
#include "DBGridXTestSupport.h"
#include "dbgrid/DBGridXInplaceEdit.h"
#include "dbgrid/DBLookupGridX.h"
#include <QKeyEvent>

namespace dbgridtest {

inline void PressKey(TWinControl* Control, int Key, const QString& Text = QString(),
                     Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, Key, Modifiers, Text);
  QApplication::sendEvent(Control->Handle(), &press);
  QKeyEvent release(QEvent::KeyRelease, Key, Modifiers, Text);
  QApplication::sendEvent(Control->Handle(), &release);
}

inline void TypeText(TWinControl* Control, const QString& Text) {
  for (const QChar c : Text) {
    if (c == u'\b') PressKey(Control, Qt::Key_Backspace, QStringLiteral("\b"));
    else PressKey(Control, 0, QString(c));
  }
}

class TEditGridForm : public TGridForm {
public:
  enum { colName, colBase, colFlag, colQty, colDept, colTitle, colHired, colCount };

  explicit TEditGridForm(Integer DeptRows = 3) : TGridForm(560, 220) {
    Connection.ExecuteSql("ALTER TABLE pay ADD COLUMN dept VARCHAR(10)");
    Connection.ExecuteSql("ALTER TABLE pay ADD COLUMN hired DATETIME");
    Connection.ExecuteSql("UPDATE pay SET dept = 'D' || id");
    Connection.ExecuteSql("CREATE TABLE dept (code VARCHAR(10), title VARCHAR(20))");
    Connection.ExecuteSql("INSERT INTO dept VALUES ('D1', 'Lin'), ('D2', 'Li'), ('D3', 'Wang')");
    for (Integer i = 4; i <= DeptRows; ++i)
      Connection.ExecuteSql(QStringLiteral("INSERT INTO dept VALUES ('D%1', 'Dept %1')").arg(i));
    List.SetConnection(&Connection);
    List.SQL()->SetText("SELECT * FROM dept ORDER BY rowid");
    List.Open();
    Query.Close();
    Title.SetFieldName(QStringLiteral("title"));
    Title.SetFieldKind(fkLookup);
    Title.SetKeyFields(QStringLiteral("dept"));
    Title.SetLookupDataSet(&List);
    Title.SetLookupKeyFields(QStringLiteral("code"));
    Title.SetLookupResultField(QStringLiteral("title"));
    Title.SetSize(20);
    Title.SetDataSet(&Query);
    Query.Open();
    const char* names[colCount] = {"name", "base", "flag", "qty", "dept", "title", "hired"};
    for (const char* name : names) Grid->Columns()->Add()->SetFieldName(QString::fromUtf8(name));
    Bind();
    Grid->SetFocus();
    QApplication::processEvents();
  }

  // The grid goes before the lookup field and the list it reads.
  ~TEditGridForm() {
    delete Form;
    Form = nullptr;
  }

  TColumnX* Column(Integer Index) { return Grid->Columns()->Items(Index); }
  // Makes column Index current and shows the editor over it.
  TDBGridInplaceEdit* Edit(Integer Index) {
    Grid->SetSelectedIndex(Index);
    Grid->SetEditorMode(true);
    QApplication::processEvents();
    return Grid->DBInplaceEditor();
  }

  TADOQuery List;
  TWideStringField Title;
};

}  // namespace dbgridtest
