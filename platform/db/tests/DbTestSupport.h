#pragma once
// A scratch database file with a connection on it, and a data link that records what it
// is told.
#include "platform/db/ADODB.h"
#include "platform/testing/TestPaths.h"
#include <QFile>
#include <gtest/gtest.h>
#include <string>

class ScratchDatabase {
public:
  ScratchDatabase() {
    FPath = FDir.File(QStringLiteral("test.db"));
    QFile file(FPath);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));  // SQLite takes an empty file as an empty database
    file.close();
    Connection.SetConnectionString(QStringLiteral("Provider=Any;Data Source=%1;Persist Security Info=False").arg(FPath));
    Connection.Open();
  }
  const String& Path() const { return FPath; }
  void Exec(const String& Sql) { Connection.ExecuteSql(Sql); }
  // First column of the first row as text ("" without rows).
  String Scalar(const String& Sql) {
    TADOQuery q;
    q.SetConnection(&Connection);
    q.SQL()->SetText(Sql);
    q.Open();
    return q.IsEmpty() ? String() : q.Fields()->Fields(0)->AsString();
  }
  std::unique_ptr<TADOQuery> Query(const String& Sql, TADOLockType Lock = ltOptimistic) {
    auto q = std::make_unique<TADOQuery>();
    q->SetConnection(&Connection);
    q->SetLockType(Lock);
    q->SQL()->SetText(Sql);
    q->Open();
    return q;
  }

  TADOConnection Connection;

private:
  moli::testing::ScratchDir FDir;
  String FPath;
};

class RecordingLink : public TDataLink {
public:
  std::vector<std::string> Events;
protected:
  void ActiveChanged() override { Events.push_back(Active() ? "active" : "inactive"); }
  void DataSetChanged() override { Events.push_back("changed"); }
  void DataSetScrolled(Integer Distance) override { Events.push_back("scrolled " + std::to_string(Distance)); }
  void LayoutChanged() override { Events.push_back("layout"); }
  void EditingChanged() override { Events.push_back(Editing() ? "editing" : "browsing"); }
  void RecordChanged(TField* Field) override {
    Events.push_back(Field ? "record " + Field->FieldName().toStdString() : std::string("record"));
  }
  void FocusControl(TField*& Field) override {
    Events.push_back("focus " + Field->FieldName().toStdString());
    Field = nullptr;
  }
  // A control's pending text, written into its field when the data set asks.
  void UpdateData() override {
    if (PendingField.isEmpty()) return;
    DataSet()->FieldByName(PendingField)->SetText(PendingText);
    PendingField.clear();
  }
public:
  String PendingField, PendingText;
};
