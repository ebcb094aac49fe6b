#pragma once
// A table of texts as a data set: one text field per column, the rows in
// their order. Edits and appended rows stay in memory.
#include "platform/db/DB.h"
#include "platform/office/XlsWorkbook.h"

class TSheetDataSet : public TDataSet {
public:
  explicit TSheetDataSet(TComponent* AOwner = nullptr);
  ~TSheetDataSet() override;
  // Closes the data set; the next Open shows Table.
  void SetTable(const TSheetTable& Table);
  const TSheetTable& Table() const { return FTable; }

protected:
  void InternalOpen() override;
  void InternalPost(TRowId, bool) override {}
  void InternalDelete(TRowId) override {}

private:
  TSheetTable FTable;
};
