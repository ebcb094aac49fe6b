#include "platform/office/SheetDataSet.h"
#include "platform/db/RecordStore.h"

TSheetDataSet::TSheetDataSet(TComponent* AOwner) : TDataSet(AOwner) {}

TSheetDataSet::~TSheetDataSet() { Close(); }

void TSheetDataSet::SetTable(const TSheetTable& Table) {
  Close();
  FTable = Table;
}

void TSheetDataSet::InternalOpen() {
  FieldDefs()->Clear();
  for (const String& Column : FTable.Columns) FieldDefs()->Add(Column, ftString, 255);
  InitStore();
  RecordStore& Rows = Store();
  Rows.Reserve(size_t(FTable.Rows.size()));
  for (const QStringList& Row : FTable.Rows) {
    const TRowId Id = AddStoreRow();
    for (qsizetype Column = 0; Column < Row.size() && Column < FTable.Columns.size(); ++Column)
      if (!Row[Column].isEmpty()) Rows.SetBytes(Id, int(Column), Row[Column].toUtf8().toStdString());
  }
}
