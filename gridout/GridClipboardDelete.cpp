// Deleting what the selection covers: selected records are deleted, a rectangle or
// selected columns are cleared cell by cell.
#include "gridout/GridClipboard.h"
#include "grid/FieldListsX.h"
#include "grid/LibraryRoutinesX.h"
#include "platform/rtl/ScopeGuards.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"

namespace {

void ClearField(TField* Field) {
  TDataSet* dataSet = Field->DataSet();
  if (!dataSet || !dataSet->CanModify()) return;
  dataSet->Edit();
  if (dataSet->State() == dsEdit || dataSet->State() == dsInsert) Field->Clear();
}

void ClearRowCells(const TColumnsXList& Columns) {
  for (Integer i = 0; i < Columns.Count(); ++i) {
    TColumnX* column = Columns.Items(i);
    if (!column->CanEditValue(false)) continue;
    TField* field = column->Field();
    if (field->Lookup()) {
      TFieldsArrX keys;
      ResolveFieldsArray(field->DataSet(), field, field->KeyFields(), keys);
      for (TField* key : keys) ClearField(key);
    } else {
      ClearField(field);
    }
  }
}

// The question for the selection, empty when the command runs unasked.
String DeleteQuestion(TCustomDBGridX* Grid, TDBGridXSelectionType Kind) {
  switch (Kind) {
    case gstRecordBookmarks:
      return Grid->RecordBookmarks()->GetCount() < 2 ? QStringLiteral("Delete record?")
                                                     : QStringLiteral("Delete all selected records?");
    case gstRectangle: return QString::fromUtf8("您确认清除选择的单元吗?");
    // Deleting every record is asked like deleting several selected ones.
    case gstAll: return QStringLiteral("Delete all selected records?");
    default: return String();
  }
}

void DeleteBookmarked(TCustomDBGridX* Grid) {
  TDataSet* dataSet = Grid->DataSet();
  TBookmarkListX* list = Grid->RecordBookmarks();
  std::vector<TBookmarkStr> bookmarks;
  for (Integer i = 0; i < list->GetCount(); ++i) bookmarks.push_back(list->GetBookmark(i));
  for (const TBookmarkStr& bookmark : bookmarks) {
    if (!dataSet->BookmarkValid(bookmark)) continue;
    dataSet->SetBookmark(bookmark);
    dataSet->Delete();
  }
  Grid->Selection()->Clear();
}

void ClearRectangle(TCustomDBGridX* Grid) {
  TDataSet* dataSet = Grid->DataSet();
  const TDBGridXSelectionRect* rect = Grid->Selection()->Rect();
  TColumnsXList columns;
  for (Integer i = std::max<Integer>(rect->FirstColumn(), 0); i <= rect->LastColumn() && i < Grid->Columns()->Count();
       ++i)
    if (Grid->Columns()->Items(i)->Visible()) columns.Add(Grid->Columns()->Items(i));
  const TBookmarkStr bottom = rect->GetBottomRow();
  dataSet->SetBookmark(rect->FirstRowBookmark());
  while (true) {
    ClearRowCells(columns);
    if (CompareBookmarkStrs(dataSet, dataSet->Bookmark(), bottom) == 0) break;
    dataSet->Next();
    if (dataSet->Eof()) break;
  }
  Grid->RestorePosition();
}

void ClearColumns(TCustomDBGridX* Grid) {
  TDataSet* dataSet = Grid->DataSet();
  for (dataSet->First(); !dataSet->Eof(); dataSet->Next()) ClearRowCells(*Grid->Selection()->Columns());
  Grid->RestorePosition();
}

void DeleteAll(TDataSet* DataSet) {
  DataSet->First();
  while (!DataSet->Eof()) {
    const Integer before = DataSet->RecordCount();
    DataSet->Delete();
    if (DataSet->RecordCount() >= before) break;
  }
}

}  // namespace

void DeleteGridSelection(TCustomDBGridX* Grid, bool WholeGrid) {
  const TDBGridXSelectionType kind = WholeGrid ? gstAll : Grid->Selection()->SelectionKind();
  if (kind == gstNon || !Grid->DataSource() || !Grid->DataSet()) return;
  if (Grid->Options().Contains(dgConfirmDelete)) {
    const String question = DeleteQuestion(Grid, kind);
    if (!question.isEmpty() && TDialogs::MessageDlg(question, mtConfirmation, TMsgDlgButtons{mbOK, mbCancel}) != mrOk)
      return;
  }
  TDataSet* dataSet = Grid->DataSet();
  Grid->SavePosition();
  dataSet->DisableControls();
  TScopeGuard enable([dataSet] { dataSet->EnableControls(); });
  switch (kind) {
    case gstRecordBookmarks: DeleteBookmarked(Grid); break;
    case gstRectangle: ClearRectangle(Grid); break;
    case gstColumns: ClearColumns(Grid); break;
    case gstAll: DeleteAll(dataSet); break;
    case gstNon: break;
  }
}
