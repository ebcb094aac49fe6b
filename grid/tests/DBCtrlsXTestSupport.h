#pragma once
// A shown form with a pay table on a scratch SQLite database, and synthetic keys, for the
// data-aware edit tests.
#include "platform/db/ADODB.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/SysUtils.h"
#include "platform/testing/TestPaths.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/SystemColors.h"
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <gtest/gtest.h>

namespace dbedits {

class TPayTableForm {
public:
  explicit TPayTableForm(TADOLockType Lock = ltOptimistic) : Form(new TForm(nullptr)) {
    SetSystemTable(ClassicSystemTable());
    FPreviousHandler = Application->OnException;
    Application->OnException = [this](TObject*, const Exception& E) { Exceptions << E.Message(); };
    const String path = FDir.File(QStringLiteral("pay.db"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    Connection.SetConnectionString(QStringLiteral("Provider=Any;Data Source=%1").arg(path));
    Connection.Open();
    Connection.ExecuteSql(
        "CREATE TABLE pay (id INTEGER PRIMARY KEY, name VARCHAR(20), note VARCHAR(8), amount REAL, "
        "paid BOOLEAN, flag VARCHAR(5), day DATETIME)");
    Connection.ExecuteSql(
        "INSERT INTO pay VALUES (1, '张三', 'a', 1234.5, 1, 'Y', '2026-03-14 08:30:00'), "
        "(2, 'Li', NULL, NULL, NULL, 'x', NULL)");
    Query.SetConnection(&Connection);
    Query.SetLockType(Lock);
    Query.SQL()->SetText("SELECT * FROM pay ORDER BY id");
    Query.Open();
    Source.SetDataSet(&Query);
    Form->SetBounds(10, 10, 400, 200);
    Other = new TEdit(Form);
    Other->SetBounds(0, 150, 100, 21);
    Other->SetParent(Form);
    Form->Show();
    QApplication::setActiveWindow(Form->Handle());
    QApplication::processEvents();
  }
  ~TPayTableForm() {
    Application->OnException = FPreviousHandler;
    delete Form;
  }
  TField* Field(const char* Name) { return Query.FieldByName(QString::fromUtf8(Name)); }
  template <class Edit>
  Edit* Place(const char* FieldName) {
    auto* edit = new Edit(Form);
    edit->SetBounds(0, 0, 150, 21);
    edit->SetParent(Form);
    edit->SetDataSource(&Source);
    edit->SetDataField(QString::fromUtf8(FieldName));
    return edit;
  }
  // First column of the first row of Sql, as text.
  String Scalar(const char* Sql) {
    TADOQuery q;
    q.SetConnection(&Connection);
    q.SQL()->SetText(QString::fromUtf8(Sql));
    q.Open();
    return q.IsEmpty() ? String() : q.Fields()->Fields(0)->AsString();
  }
  // Moves the focus to the spare edit, which makes the focused control leave.
  void Leave() { Other->SetFocus(); }

  TADOConnection Connection;
  TADOQuery Query;
  TDataSource Source;
  TForm* Form;
  TEdit* Other;
  QStringList Exceptions;

private:
  moli::testing::ScratchDir FDir;
  TExceptionEvent FPreviousHandler;
};

inline void PressKey(TWinControl* Control, int Key, const QString& Text = QString(),
                     Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, Key, Modifiers, Text);
  QApplication::sendEvent(Control->Handle(), &press);
  QKeyEvent release(QEvent::KeyRelease, Key, Modifiers, Text);
  QApplication::sendEvent(Control->Handle(), &release);
}

inline void Type(TWinControl* Control, const QString& Text) {
  for (const QChar c : Text) {
    if (c == u'\b') PressKey(Control, Qt::Key_Backspace, QStringLiteral("\b"));
    else PressKey(Control, 0, QString(c));
  }
}

// The current date pinned to 2026-06-10 for tests that complete or expand dates.
class TPinnedToday {
public:
  TPinnedToday() : FClock(EncodeDate(2026, 6, 10) + 0.5) { TClock::SetCurrent(&FClock); }
  ~TPinnedToday() { TClock::SetCurrent(nullptr); }
private:
  TManualClock FClock;
};

}  // namespace dbedits
