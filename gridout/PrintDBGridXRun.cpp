#include "gridout/PrintDBGridXRun.h"
#include "grid/LibraryRoutinesX.h"
#include "platform/rtl/ScopeGuards.h"
#include "platform/ui/Forms.h"

TGridPrintRun::TGridPrintRun(TPrintDBGridX* Owner, TVirtualPrinter* Printer)
    : FOwner(Owner), FPrinter(Printer) {}

TGridPrintRun::~TGridPrintRun() = default;

Integer TGridPrintRun::PageNumber() const { return FCounting ? FPageCount : FPrinter->GetPageNumber(); }

void TGridPrintRun::Execute() {
  FGrid = FOwner->DBGridX();
  if (!FGrid || !FGrid->DataSource() || !FGrid->DataSource()->DataSet() || !FGrid->DataSource()->DataSet()->Active())
    return;
  FDataSet = FGrid->DataSource()->DataSet();
  FRightToLeft = FGrid->UseRightToLeftAlignment();
  FRightToLeftReading = FGrid->UseRightToLeftReading();
  for (Integer i = 0; i < FGrid->Columns()->Count(); ++i) FGridColumns.push_back(FGrid->Columns()->Items(i));
  if (PanelActive()) FGrid->LayoutRowPanel();
  FOwner->ComputeMacroValues(FPageCount);
  BuildColumnList();
  FFooterValues.assign(size_t(FGrid->FooterRowCount() * FColumns.Count()), Currency());

  TVirtualPrinterDocument document(FPrinter);
  FCanvas = FPrinter->GetCanvas();
  FFirstPage = true;
  const TBookmarkStr savedBookmark = FDataSet->Bookmark();
  if (FOwner->OnBeforePrint) FOwner->OnBeforePrint(FOwner);

  bool controlsDisabled = false;
  TScopeGuard closing([&] {
    if (FOwner->OnAfterPrint) FOwner->OnAfterPrint(FOwner);
    RestoreSubstitutedTexts();
    if (FDataSet->Active() && FDataSet->BookmarkValid(savedBookmark)) FDataSet->SetBookmark(savedBookmark);
    if (controlsDisabled) FDataSet->EnableControls();
    FCanvas = nullptr;
    FMeasuringCanvas.reset();
    FMeasuringPage.reset();
    document.End();
  });

  FPreviousTexts.assign(size_t(FColumns.Count()), String());
  ApplySubstitutions();
  FDataSet->DisableControls();
  controlsDisabled = true;
  FDataSet->First();
  FPrinter->SetTitle(QStringLiteral("Tabular information"));
  FCanvas->Brush()->SetStyle(bsClear);
  FCanvas->Brush()->SetColor(clWhite);
  TakeFont(FGrid->Font());

  ComputeMetrics();
  ComputeColumnWidths();
  FitByColumnWidths();
  FitByScaling();
  ComputePageGroups();
  PrepareCanvas();

  const TRect whole = FPrintRect;
  const Integer headerHeight = PrintPageColontitle(whole, true, true);
  FHeaderRect = TRect(whole.Left, whole.Top, whole.Right, whole.Top + headerHeight);
  FPrintRect.Top += headerHeight;
  const Integer footerHeight = PrintPageColontitle(whole, false, true);
  FFooterRect = TRect(whole.Left, whole.Bottom - footerHeight, whole.Right, whole.Bottom);
  FPrintRect.Bottom -= footerHeight;
  FContentRect = FPrintRect;

  ComputeHeights();
  FPrintRect.Top += FTitleHeight + FTitleTextHeight;

  if (FOwner->UsesPageCountMacro()) CountPages();
  DrawHeaderAndFooter();
  Body();
}

void TGridPrintRun::CountPages() {
  const TCursor savedCursor = Screen->Cursor();
  TScopeGuard cursor([&] { Screen->SetCursor(savedCursor); });
  Screen->SetCursor(crHourGlass);
  FCounting = true;
  FMeasuringPage = std::make_unique<TPageRecording>(FPrinter->GetPageWidth(), FPrinter->GetPageHeight(),
                                                    Integer(FResX), Integer(FResY));
  FMeasuringCanvas = std::make_unique<TRecordingCanvas>(FMeasuringPage.get());
  FCanvas = FMeasuringCanvas.get();
  PrepareCanvas();
  const std::vector<Currency> zero(FFooterValues.size(), Currency());
  Body();
  FCanvas = FPrinter->GetCanvas();
  FMeasuringCanvas.reset();
  FMeasuringPage.reset();
  FOwner->ComputeMacroValues(FPageCount);
  FCounting = false;
  FFirstPage = true;
  FUsedHeight = 0;
  FDataSet->First();
  FFooterValues = zero;
  FPreviousTexts.assign(size_t(FColumns.Count()), String());
}

void TGridPrintRun::Body() {
  FUsedHeight = 0;
  if (FOwner->FBeforeGridText) PrintRichText(FOwner->FBeforeGridText.get());
  if (FPrintRect.Bottom - FPrintRect.Top <= FUsedHeight) {
    StartNewPage();
    FUsedHeight = 0;
  }
  TPolyBookmark pos = StartWalk();
  for (;;) {
    const TBand band = MeasureBand(pos, FPrintRect.Top + FUsedHeight, FPrintRect.Bottom);
    const Integer top = FPrintRect.Top + FUsedHeight;
    const Integer height = PanelActive() ? PrintPanelBand(band, top) : PrintBand(band, top);
    FUsedHeight = height + FLineWidth;
    if (band.End.Finished) break;
    FUsedHeight = 0;
    pos = band.End;
  }
  FCanvas->Brush()->SetStyle(bsClear);
  FCanvas->Brush()->SetColor(clWhite);
  if (FOwner->FAfterGridText) PrintRichText(FOwner->FAfterGridText.get());
}

void TGridPrintRun::StartNewPage() {
  if (FCounting) {
    ++FPageCount;
    PrepareCanvas();
    return;
  }
  FPrinter->NewPage();
  FCanvas = FPrinter->GetCanvas();
  PrepareCanvas();
  DrawHeaderAndFooter();
}

void TGridPrintRun::PumpEvents() {
  Application->ProcessMessages();
  // A grid freed, a column added or removed or the data set closed by an event meanwhile
  // ends the run instead of being read.
  bool changed = FOwner->DBGridX() != FGrid || !FDataSet->Active() ||
                 FGrid->Columns()->Count() != Integer(FGridColumns.size());
  for (size_t i = 0; !changed && i < FGridColumns.size(); ++i)
    changed = FGrid->Columns()->Items(Integer(i)) != FGridColumns[i];
  if (changed) throw EAbort(QStringLiteral("Grid printing was interrupted"));
}

// ---- the walk

TDBGridXSelectionType TGridPrintRun::SelectionKind() const {
  const TDBGridXSelectionType kind = FGrid->Selection()->SelectionKind();
  if (kind == gstRecordBookmarks && FGrid->RecordBookmarks()->GetCount() == 0) return gstNon;
  return kind;
}

bool TGridPrintRun::MoveTo(const TBookmarkStr& Bookmark) {
  if (!FDataSet->BookmarkValid(Bookmark)) return false;
  FDataSet->SetBookmark(Bookmark);
  return FDataSet->CompareBookmarks(FDataSet->Bookmark(), Bookmark) == 0;
}

void TGridPrintRun::GoToFooterRows(TPolyBookmark& Pos) const {
  Pos.IsDataRow = false;
  Pos.Bookmark.clear();
  if (FGrid->FooterRowCount() > 0) {
    Pos.FooterRow = 0;
  } else {
    Pos.FooterRow = -1;
    Pos.Finished = true;
  }
}

TPolyBookmark TGridPrintRun::StartWalk() {
  TPolyBookmark pos;
  FDataSet->First();
  if (FDataSet->Eof()) {
    GoToFooterRows(pos);
    return pos;
  }
  const TDBGridXSelectionType kind = SelectionKind();
  if (kind == gstRectangle && !MoveTo(FGrid->Selection()->Rect()->FirstRowBookmark())) {
    // The rectangle's top record is gone: there is no row to start from.
    GoToFooterRows(pos);
    return pos;
  }
  if (kind == gstRecordBookmarks) {
    TBMListX* rows = FGrid->RecordBookmarks();
    Integer index = 0;
    if (!rows->SearchBookmark(FDataSet->Bookmark(), index)) {
      // The first listed record that still exists; none: only the footer rows print.
      bool moved = false;
      for (Integer i = 0; i < rows->GetCount() && !moved; ++i) moved = MoveTo(rows->GetBookmark(i));
      if (!moved) {
        GoToFooterRows(pos);
        return pos;
      }
    }
  }
  pos.IsDataRow = true;
  pos.Bookmark = FDataSet->Bookmark();
  return pos;
}

void TGridPrintRun::StepWalk(TPolyBookmark& Pos) {
  if (Pos.Finished) return;
  if (!Pos.IsDataRow) {
    if (++Pos.FooterRow >= FGrid->FooterRowCount()) {
      Pos.Finished = true;
      Pos.FooterRow = 0;
    }
    return;
  }
  if (SelectionKind() == gstRecordBookmarks) {
    // The next listed record that the data set can still reach; a deleted record's
    // bookmark no longer moves the data set, so it is passed over and the walk always ends.
    TBMListX* rows = FGrid->RecordBookmarks();
    Integer index = 0;
    const Integer from = rows->SearchBookmark(FDataSet->Bookmark(), index) ? index + 1 : 0;
    for (Integer i = from; i < rows->GetCount(); ++i)
      if (rows->CompareItems(rows->GetBookmark(i), Pos.Bookmark) > 0 && MoveTo(rows->GetBookmark(i))) {
        Pos.Bookmark = FDataSet->Bookmark();
        return;
      }
    GoToFooterRows(Pos);
    return;
  }
  FDataSet->Next();
  if (FDataSet->Eof() ||
      (SelectionKind() == gstRectangle &&
       CompareBookmarkStrs(FDataSet, FDataSet->Bookmark(), FGrid->Selection()->Rect()->GetBottomRow()) > 0)) {
    GoToFooterRows(Pos);
    return;
  }
  Pos.Bookmark = FDataSet->Bookmark();
}

// ---- page bands

TGridPrintRun::TBand TGridPrintRun::MeasureBand(const TPolyBookmark& From, Integer Top, Integer Limit) {
  TBand band;
  band.Start = From;
  TPolyBookmark pos = From;
  if (pos.IsDataRow) MoveTo(pos.Bookmark);
  Integer y = Top;
  for (;;) {
    Integer height = FDataRowHeight;
    for (Integer c = 0; c < FColumns.Count(); ++c) {
      const TRect cell(0, 0, FClipped[size_t(c)], 1);
      height = std::max(height, PrintCell(c, cell, pos, Integer(band.Heights.size()), true));
    }
    // With the row panel a footer row takes a whole block too, its cells where the panel puts them.
    if (PanelActive() && !pos.Finished) height = std::max(height, PanelBlockHeight());
    y += height;
    if ((y > Limit || pos.Finished) && !band.Heights.empty()) break;
    if (pos.IsDataRow) AddFooterValues();
    band.Heights.push_back(height - std::max(0, y - Limit));
    StepWalk(pos);
  }
  band.End = pos;
  return band;
}

// A band's page (a new one but for the first): its lines afresh, the data set on the band's
// first record and the titles of page group Group on top.
TPolyBookmark TGridPrintRun::StartBandPage(const TBand& Band, Integer Group, Integer Top) {
  if (!FCounting && FPrinter->GetAborted()) throw EAbort(QStringLiteral("Printing aborted"));
  if (FFirstPage) FFirstPage = false;
  else StartNewPage();
  FLines.clear();
  TPolyBookmark pos = Band.Start;
  if (pos.IsDataRow) MoveTo(pos.Bookmark);
  PrintTitles(Group, Top);
  return pos;
}

Integer TGridPrintRun::PrintBand(const TBand& Band, Integer Top) {
  Integer bottom = Top;
  for (Integer group = 0; group < Integer(FPageGroups.size()); ++group) {
    TPolyBookmark pos = StartBandPage(Band, group, Top);
    const Integer first = GroupFirst(group), last = FPageGroups[size_t(group)];
    Integer y = Top;
    for (Integer row = 0; row < Integer(Band.Heights.size()); ++row) {
      const Integer rowBottom = y + Band.Heights[size_t(row)];
      Integer x = FPrintRect.Left;
      for (Integer c = first; c <= last; ++c) {
        const TRect cell(x, y, x + FClipped[size_t(c)], rowBottom);
        PrintCell(c, Mirrored(cell), pos, row, false);
        if (c == first) AddLine({cell.TopLeft(), TPoint(cell.Left, cell.Bottom), cell.BottomRight(),
                                 TPoint(cell.Right, cell.Top)});
        else AddLine({TPoint(cell.Left, cell.Bottom), cell.BottomRight(), TPoint(cell.Right, cell.Top)});
        x = cell.Right;
        if (!FCounting) PumpEvents();
      }
      StepWalk(pos);
      y = rowBottom;
    }
    if (!FCounting) DrawLines();
    bottom = y;
  }
  return bottom - FContentRect.Top;
}

void TGridPrintRun::AddFooterValues() {
  const Integer columns = FColumns.Count();
  for (Integer r = 0; r < FGrid->FooterRowCount(); ++r)
    for (Integer c = 0; c < columns; ++c) {
      TColumnX* column = FColumns[c];
      const TFooterValueType kind = column->FooterAt(r)->ValueType();
      if (kind != fvtSum && kind != fvtCount) continue;
      TField* field = FooterField(column, r);
      if (!field) continue;
      Currency& value = FFooterValues[size_t(c + columns * r)];
      if (kind == fvtCount) value += Currency::FromInt64(1);
      else if (!field->IsNull()) value += Currency::FromDouble(field->AsFloat());
    }
}
