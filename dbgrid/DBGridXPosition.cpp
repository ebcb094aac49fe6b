// Position keeping: walks over the data set (export, printing, searches) come back to the
// record that was current and, as far as the data set allows, to its row on screen.
#include "dbgrid/DBGridX.h"
#include "platform/rtl/ScopeGuards.h"

// The saved bookmark is that of the middle record of the window, the offset the current
// record's distance from it: going back to the bookmark centres the window on that record.
void TCustomDBGridX::SavePosition() {
  TDataSet* dataSet = DataSet();
  if (!dataSet || !dataSet->Active()) return;
  const Integer count = std::max<Integer>(FDataLink->RecordCount(), 1);
  FSavedPositionOffset = FDataLink->ActiveRecord() - (count - 1) / 2;
  MoveRecordsBy(-FSavedPositionOffset);
  FSavedPositionBookmark = dataSet->Bookmark();
  MoveRecordsBy(FSavedPositionOffset);
}

// A saved record that is gone (deleted during the walk) leaves the data set where it is.
void TCustomDBGridX::RestorePosition() {
  TDataSet* dataSet = DataSet();
  if (!dataSet || !dataSet->Active() || !dataSet->BookmarkValid(FSavedPositionBookmark)) return;
  dataSet->SetBookmark(FSavedPositionBookmark);
  MoveRecordsBy(FSavedPositionOffset);
}

TRect TCustomDBGridX::BoxRect(Integer ALeft, Integer ATop, Integer ARight, Integer ABottom) {
  TRect r;
  CellRangeBounds(ALeft, ATop, ARight, ABottom, r);
  return r;
}

