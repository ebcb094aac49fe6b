// The import walk: source rows into the records the grid's selection covers, appending
// when the source holds more rows and the grid allows it.
#include "gridout/DBGridXImpExp.h"
#include "grid/LibraryRoutinesX.h"
#include "platform/rtl/ScopeGuards.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"

namespace {

void VisibleColumnsFrom(TCustomDBGridX* Grid, Integer First, Integer Last, TColumnsXList& List) {
  TDBGridColumnsX* columns = Grid->Columns();
  for (Integer i = std::max<Integer>(First, 0); i <= Last && i < columns->Count(); ++i)
    if (columns->Items(i)->Visible()) List.Add(columns->Items(i));
}

void CopyColumns(const TColumnsXList* From, TColumnsXList& To) {
  To.Clear();
  for (Integer i = 0; i < From->Count(); ++i) To.Add(From->Items(i));
}

}  // namespace

void TDBGridXImport::TakeRecord(TColumnsXList* Columns) {
  for (Integer i = 0; i < Columns->Count(); ++i) TakeDataCell(Columns->Items(i));
}

void TDBGridXImport::InsertRecords(bool AppendMode) {
  TDataSet* dataSet = FGrid->DataSet();
  while (!FAtEnd) {
    if (AppendMode)
      dataSet->Append();
    else
      dataSet->Insert();
    TakeRecord(&FImportColumns);
    dataSet->Post();
    if (!AppendMode) dataSet->Next();
  }
}

void TDBGridXImport::TakeRectangle() {
  TDataSet* dataSet = FGrid->DataSet();
  const TDBGridXSelectionRect* rect = FGrid->Selection()->Rect();
  const TBookmarkStr bottom = rect->GetBottomRow();
  dataSet->SetBookmark(rect->FirstRowBookmark());
  while (true) {
    TakeRecord(&FImportColumns);
    if (CompareBookmarkStrs(dataSet, dataSet->Bookmark(), bottom) == 0) break;
    dataSet->Next();
    if (dataSet->Eof()) break;
  }
}

void TDBGridXImport::TakeFromCurrentRecord(bool& InsertState, bool& AppendMode) {
  TDataSet* dataSet = FGrid->DataSet();
  FGrid->RestorePosition();
  do {
    TakeRecord(&FImportColumns);
    dataSet->Next();
  } while (!dataSet->Eof() && !FAtEnd);
  if (FGrid->AllowedOperations().Contains(alopAppendX)) {
    InsertState = true;
    AppendMode = true;
    InsertRecords(true);
  }
}

void TDBGridXImport::LoadFromStream(TStream* AStream, bool WholeGrid) {
  FStream = AStream;
  FAtEnd = false;
  TDataSet* dataSet = FGrid->DataSet();
  if (WholeGrid) {
    FGrid->Selection()->Clear();
    dataSet->First();
    if (FGrid->VisibleColumns()->Count() > 0) FGrid->SetSelectedIndex(FGrid->VisibleColumns()->Items(0)->Index());
  }
  bool appendMode = dataSet->Eof();
  bool insertState = dataSet->State() == dsInsert;
  if (!insertState) FGrid->SavePosition();
  dataSet->DisableControls();
  {
    TScopeGuard restore([&] {
      if (!insertState) FGrid->RestorePosition();
      dataSet->EnableControls();
    });
    TDBGridXSelection* selection = FGrid->Selection();
    switch (selection->SelectionKind()) {
      case gstRecordBookmarks: {
        CopyColumns(FGrid->VisibleColumns(), FImportColumns);
        BeginInput();
        if (insertState) {
          InsertRecords(appendMode);
          break;
        }
        TBookmarkListX* bookmarks = FGrid->RecordBookmarks();
        for (Integer i = 0; i < bookmarks->GetCount(); ++i) {
          dataSet->SetBookmark(bookmarks->GetBookmark(i));
          TakeRecord(&FImportColumns);
        }
        break;
      }
      case gstRectangle:
        FImportColumns.Clear();
        VisibleColumnsFrom(FGrid, selection->Rect()->FirstColumn(), selection->Rect()->LastColumn(), FImportColumns);
        BeginInput();
        if (insertState)
          InsertRecords(appendMode);
        else
          TakeRectangle();
        break;
      case gstColumns:
      case gstAll:
        CopyColumns(selection->SelectionKind() == gstColumns ? selection->Columns() : FGrid->VisibleColumns(),
                    FImportColumns);
        BeginInput();
        if (insertState) {
          InsertRecords(appendMode);
          break;
        }
        for (dataSet->First(); !dataSet->Eof(); dataSet->Next()) TakeRecord(&FImportColumns);
        break;
      case gstNon:
        FImportColumns.Clear();
        VisibleColumnsFrom(FGrid, FGrid->SelectedIndex(), FGrid->Columns()->Count() - 1, FImportColumns);
        BeginInput();
        if (insertState)
          InsertRecords(appendMode);
        else
          TakeFromCurrentRecord(insertState, appendMode);
        break;
    }
  }
  EndInput();
}

void TDBGridXImport::LoadFromFile(const String& FileName, bool WholeGrid) {
  TFileStream file(FileName, fmOpenRead);
  LoadFromStream(&file, WholeGrid);
}

void TDBGridXImport::AssignField(TField* Field, const std::function<void()>& Assignment) {
  TDataSet* dataSet = Field->DataSet();
  if (!dataSet || !dataSet->CanModify()) return;
  dataSet->Edit();
  if (dataSet->State() != dsEdit && dataSet->State() != dsInsert) return;
  try {
    Assignment();
  } catch (const EAbort&) {
    throw;
  } catch (const Exception& e) {
    if (FIgnoreAllErrors) return;
    const String question = QStringLiteral("Error during insert value:\n%1\n\n").arg(e.Message()) +
                            QString::fromUtf8("忽略错误?");
    switch (TDialogs::MessageDlg(question, mtError, TMsgDlgButtons{mbYes, mbNo, mbAll})) {
      case mrYes: break;
      case mrAll: FIgnoreAllErrors = true; break;
      default: Abort();
    }
  }
}
