// The export walk over the grid's selection, shared by every format.
#include "gridout/DBGridXImpExp.h"
#include "gridout/BufferedWriteStream.h"
#include "grid/LibraryRoutinesX.h"
#include "platform/rtl/ScopeGuards.h"
#include "platform/ui/Graphics.h"

TDBGridXExport::TDBGridXExport() : FCellParams(std::make_unique<TColCellParamsX>()) {}

TDBGridXExport::~TDBGridXExport() = default;

TDBGridXSelectionType TDBGridXExport::KindFor(bool WholeGrid) const {
  return WholeGrid ? gstAll : FGrid->Selection()->SelectionKind();
}

namespace {

// The visible columns among collection indexes First..Last, in collection order.
void VisibleColumnsBetween(TCustomDBGridX* Grid, Integer First, Integer Last, TColumnsXList& List) {
  TDBGridColumnsX* columns = Grid->Columns();
  for (Integer i = std::max<Integer>(First, 0); i <= Last && i < columns->Count(); ++i)
    if (columns->Items(i)->Visible()) List.Add(columns->Items(i));
}

bool AtBookmark(TDataSet* DataSet, const TBookmarkStr& Bookmark) {
  return CompareBookmarkStrs(DataSet, DataSet->Bookmark(), Bookmark) == 0;
}

}  // namespace

void TDBGridXExport::OpenOutput(TColumnsXList* Columns) {
  FExportColumns = Columns;
  FFooterTotals.assign(size_t(FGrid->FooterRowCount()) * size_t(Columns->Count()), 0);
  ResolveSummedFooters();
  BeginOutput();
  if (FGrid->Options().Contains(dgTitles)) PutTitleRow(Columns);
}

void TDBGridXExport::PutFooterRows(TColumnsXList* Columns) {
  for (Integer r = 0; r < FGrid->FooterRowCount(); ++r) PutFooterRow(Columns, r);
}

void TDBGridXExport::WalkRecords(TDBGridXSelectionType Kind) {
  TDataSet* dataSet = FGrid->DataSet();
  switch (Kind) {
    case gstRecordBookmarks: {
      TColumnsXList* columns = FGrid->VisibleColumns();
      OpenOutput(columns);
      TBookmarkListX* bookmarks = FGrid->RecordBookmarks();
      for (Integer i = 0; i < bookmarks->GetCount(); ++i) {
        dataSet->SetBookmark(bookmarks->GetBookmark(i));
        SumFooterValues();
        PutDataRow(columns);
      }
      PutFooterRows(columns);
      break;
    }
    case gstRectangle: {
      const TDBGridXSelectionRect* rect = FGrid->Selection()->Rect();
      TColumnsXList columns;
      VisibleColumnsBetween(FGrid, rect->FirstColumn(), rect->LastColumn(), columns);
      OpenOutput(&columns);
      const TBookmarkStr bottom = rect->GetBottomRow();
      dataSet->SetBookmark(rect->FirstRowBookmark());
      while (true) {
        PutDataRow(&columns);
        SumFooterValues();
        if (AtBookmark(dataSet, bottom)) break;
        dataSet->Next();
        if (dataSet->Eof()) break;
      }
      PutFooterRows(&columns);
      FExportColumns = nullptr;
      break;
    }
    case gstColumns:
    case gstAll: {
      TColumnsXList* columns = Kind == gstColumns ? FGrid->Selection()->Columns() : FGrid->VisibleColumns();
      OpenOutput(columns);
      dataSet->First();
      while (!dataSet->Eof()) {
        PutDataRow(columns);
        SumFooterValues();
        dataSet->Next();
      }
      PutFooterRows(columns);
      break;
    }
    case gstNon: {
      TColumnsXList columns;
      const Integer index = FGrid->SelectedIndex();
      if (index >= 0 && index < FGrid->Columns()->Count()) columns.Add(FGrid->Columns()->Items(index));
      FExportColumns = &columns;
      BeginOutput();
      PutDataRow(&columns);
      FExportColumns = nullptr;
      break;
    }
  }
}

void TDBGridXExport::SaveToStream(TStream* AStream, bool WholeGrid) {
  FStream = AStream;
  FColumnLooks.clear();
  FOutput.Clear();
  const TDBGridXSelectionType kind = KindFor(WholeGrid);
  TDataSet* dataSet = FGrid->DataSet();
  dataSet->DisableControls();
  {
    TScopeGuard restore([&] {
      FGrid->RestorePosition();
      dataSet->EnableControls();
    });
    FGrid->SavePosition();
    WalkRecords(kind);
  }
  EndOutput();
  FlushOutput();
}

void TDBGridXExport::SaveToFile(const String& FileName, bool WholeGrid) {
  TFileStream file(FileName, fmCreate);
  TBufferedWriteStream buffered(&file);
  SaveToStream(&buffered, WholeGrid);
  buffered.Flush();
}

Integer TDBGridXExport::ExportRowCount(bool WholeGrid) {
  const TDBGridXSelectionType kind = KindFor(WholeGrid);
  if (kind == gstNon) return 1;
  Integer rows = FGrid->Options().Contains(dgTitles) ? 1 : 0;
  rows += FGrid->FooterRowCount();
  TDataSet* dataSet = FGrid->DataSet();
  switch (kind) {
    case gstRecordBookmarks: return rows + FGrid->RecordBookmarks()->GetCount();
    case gstColumns:
    case gstAll: return rows + dataSet->RecordCount();
    default: break;
  }
  const TDBGridXSelectionRect* rect = FGrid->Selection()->Rect();
  dataSet->DisableControls();
  TScopeGuard restore([&] {
    FGrid->RestorePosition();
    dataSet->EnableControls();
  });
  FGrid->SavePosition();
  const TBookmarkStr bottom = rect->GetBottomRow();
  dataSet->SetBookmark(rect->FirstRowBookmark());
  while (true) {
    ++rows;
    if (AtBookmark(dataSet, bottom)) break;
    dataSet->Next();
    if (dataSet->Eof()) break;
  }
  return rows;
}

// Without cell events a column's font, colour, alignment and field stay as they are for the
// whole export (a column without a field shows nothing), and nothing reads a cell's image
// index or check-box state: no format writes them.
void TDBGridXExport::PutDataRow(TColumnsXList* Columns) {
  if (FOutput.Size() >= size_t(TBufferedWriteStream::BlockSize)) FlushOutput();
  if (FColumnLooks.size() != size_t(Columns->Count())) TakeColumnLooks(Columns);
  TStoredRow row;
  const bool stored = FGrid->DataSet() && FGrid->DataSet()->ReadStoredRow(row);
  TColCellParamsX* params = FCellParams.get();
  for (Integer i = 0; i < Columns->Count(); ++i) {
    TColumnX* column = Columns->Items(i);
    if (FGrid->OnGetCellParams || column->OnGetCellParams) {
      PutCellThroughEvents(column);
      continue;
    }
    const TColumnLook& look = FColumnLooks[size_t(i)];
    if (stored && look.Cell.Direct() && PutDirectCell(look.Cell, row)) continue;
    params->State = TGridDrawState();
    params->Font = look.Font.get();
    params->Background = look.Background;
    params->Alignment = look.Alignment;
    params->Text = look.HasField ? column->DisplayText() : String();
    PutDataCell(column, params);
  }
}

void TDBGridXExport::TakeColumnLooks(TColumnsXList* Columns) {
  FColumnLooks.clear();
  for (Integer i = 0; i < Columns->Count(); ++i) {
    TColumnX* column = Columns->Items(i);
    TColumnLook look{std::make_unique<TFont>(), column->Color(), Byte(column->Alignment()), column->Field() != nullptr,
                     TExportCellText(column)};
    look.Font->Assign(column->Font());
    FColumnLooks.push_back(std::move(look));
  }
}

void TDBGridXExport::FlushOutput() {
  if (FOutput.Empty()) return;
  FStream->WriteBuffer(FOutput.Data(), Integer(FOutput.Size()));
  FOutput.Clear();
}

void TDBGridXExport::PutCellThroughEvents(TColumnX* Column) {
  TColCellParamsX* params = FCellParams.get();
  FEventFont.Assign(Column->Font());
  params->State = TGridDrawState();
  params->Font = &FEventFont;
  params->Background = Column->Color();
  TColor background = Column->Color();
  params->Alignment = Byte(Column->Alignment());
  params->ImageIndex = Column->ImageIndexOfValue();
  params->Text = Column->DisplayText();
  params->CheckboxState = Byte(Column->CheckboxState());
  if (FGrid->OnGetCellParams) FGrid->OnGetCellParams(FGrid, Column, params->Font, background, params->State);
  if (Column->OnGetCellParams) Column->OnGetCellParams(Column, false, params);
  // The grid-level event decides the background; the column-level one cannot.
  params->Background = background;
  PutDataCell(Column, params);
}

void TDBGridXExport::PutFooterRow(TColumnsXList* Columns, Integer FooterRow) {
  TFont rowFont;
  for (Integer i = 0; i < Columns->Count(); ++i) {
    TColumnX* column = Columns->Items(i);
    TColumnFooterX* footer = column->FooterAt(FooterRow);
    rowFont.Assign(footer->Font());
    TColor background = footer->Color();
    TAlignment alignment = footer->Alignment();
    String text = footer->ValueType() == fvtSum || footer->ValueType() == fvtCount
                      ? FooterTotalText(FooterRow, i)
                      : FGrid->FooterValueText(FooterRow, column->Index());
    if (FGrid->OnGetFooterParams)
      FGrid->OnGetFooterParams(FGrid, column->Index(), FooterRow, column, &rowFont, background, alignment,
                               TGridDrawState(), text);
    PutFooterCell(i, FooterRow, column, &rowFont, background, alignment, text);
  }
}

void TDBGridXExport::PutFooterCell(Integer, Integer, TColumnX*, TFont*, TColor, TAlignment, const String&) {}
