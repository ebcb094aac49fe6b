#pragma once
// A form with a data-aware grid over a small pay table in a scratch SQLite file, for the
// export, import and clipboard tests, and a runner for Debian's Python as peer.
#include "gridout/DBGridXExportFormats.h"
#include "gridout/DBGridXImportFormats.h"
#include "platform/db/ADODB.h"
#include "platform/testing/TestPaths.h"
#include "platform/ui/Forms.h"
#include "platform/ui/SystemColors.h"
#include <QApplication>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace gridouttest {

// Runs Debian's Python on Script with Args; the standard output, or the failure text.
inline QString RunPython(const QString& Script, const QStringList& Args = {}) {
  QProcess p;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("PYTHONIOENCODING"), QStringLiteral("utf-8"));
  p.setProcessEnvironment(environment);
  p.start(QStringLiteral("/usr/bin/python3"), QStringList{QStringLiteral("-c"), Script} + Args);
  if (!p.waitForFinished(60000)) return QStringLiteral("python did not finish");
  const QString out = QString::fromUtf8(p.readAllStandardOutput());
  if (p.exitCode() != 0) return QStringLiteral("python failed: ") + QString::fromUtf8(p.readAllStandardError());
  return out;
}

class TGridOutputForm {
public:
  // Rows: (1, 张三, 1000.5, 4, 2024-01-15, "a"), (2, 李四, NULL, NULL, NULL, NULL), (3, 王五, 3000, 6,
  // 2024-03-01, "x\"y").
  TGridOutputForm() : Form(new TForm(nullptr)) {
    SetSystemTable(ClassicSystemTable());
    const QString path = FDir.File(QStringLiteral("pay.db"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    Connection.SetConnectionString(QStringLiteral("Provider=Any;Data Source=%1").arg(path));
    Connection.Open();
    Connection.ExecuteSql(
        "CREATE TABLE pay (id INTEGER PRIMARY KEY, name VARCHAR(20), base REAL, qty INTEGER, hired DATE, "
        "note VARCHAR(50))");
    Connection.ExecuteSql(
        "INSERT INTO pay VALUES (1, '张三', 1000.5, 4, '2024-01-15', 'a'), (2, '李四', NULL, NULL, NULL, NULL), "
        "(3, '王五', 3000, 6, '2024-03-01', 'x\"y')");
    Query.SetConnection(&Connection);
    Query.SQL()->SetText("SELECT * FROM pay ORDER BY id");
    Query.Open();
    Source.SetDataSet(&Query);
    Form->SetBounds(0, 0, 640, 300);
    Grid = new TDBGridX(Form);
    Grid->SetBounds(10, 10, 600, 250);
    Grid->SetParent(Form);
    Form->Show();
    QApplication::processEvents();
  }
  ~TGridOutputForm() { delete Form; }

  // Columns of the given fields with the given captions.
  void SetColumns(std::initializer_list<std::pair<const char*, const char*>> Columns) {
    Grid->Columns()->BeginUpdate();
    for (const auto& [field, caption] : Columns) {
      TColumnX* column = Grid->Columns()->Add();
      column->SetFieldName(QString::fromUtf8(field));
      column->Title()->SetCaption(QString::fromUtf8(caption));
      column->SetWidth(64);
    }
    Grid->Columns()->EndUpdate();
  }
  void Bind() {
    Grid->SetDataSource(&Source);
    QApplication::processEvents();
  }
  TColumnX* Column(Integer Index) const { return Grid->Columns()->Items(Index); }

  template <typename T>
  QByteArray Export(bool WholeGrid = true) {
    TMemoryStream stream;
    ExportGridToStream(ExportClassOf<T>(), Grid, &stream, WholeGrid);
    return stream.Bytes();
  }
  template <typename T>
  void Import(const QByteArray& Bytes, bool WholeGrid = false) {
    TMemoryStream stream;
    stream.WriteBuffer(Bytes);
    stream.SetPosition(0);
    ImportGridFromStream(ImportClassOf<T>(), Grid, &stream, WholeGrid);
  }
  QString File(const QString& Name) const { return FDir.File(Name); }
  // Every row's value of the field, as text ("<null>" for nulls).
  QStringList Values(const char* FieldName) {
    QStringList out;
    TField* field = Query.FieldByName(QString::fromUtf8(FieldName));
    const TBookmarkStr at = Query.Bookmark();
    for (Query.First(); !Query.Eof(); Query.Next()) out << (field->IsNull() ? QStringLiteral("<null>") : field->AsString());
    if (Query.BookmarkValid(at)) Query.SetBookmark(at);
    return out;
  }

  TADOConnection Connection;
  TADOQuery Query;
  TDataSource Source;
  TForm* Form;
  TDBGridX* Grid = nullptr;

private:
  moli::testing::ScratchDir FDir;
};

}  // namespace gridouttest
