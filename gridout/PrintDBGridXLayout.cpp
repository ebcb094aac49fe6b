// Scaling, printed columns and their widths, page groups, the page canvas and grid lines.
#include "gridout/PrintDBGridXRun.h"
#include "platform/rtl/ScopeGuards.h"
#include "platform/ui/DrawingRoutines.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ImgList.h"

Integer MarginToDeviceUnits(Currency Margin, TMeasureUnits Units, double Resolution) {
  const double perInch = Units == TMeasureUnits::MM ? 2.54 : 1;
  return Integer(Round(Resolution * Margin.ToDouble() / perInch));
}

void TGridPrintRun::ComputeMetrics() {
  FOffsetX = (FPrinter->GetFullPageWidth() - FPrinter->GetPageWidth()) / 2;
  FOffsetY = (FPrinter->GetFullPageHeight() - FPrinter->GetPageHeight()) / 2;
  FScreenResX = FScreenResY = Screen->PixelsPerInch();
  if (FPrinter->GetPrinters()->Count() == 0) {
    FResX = FResY = 600;
  } else {
    FResX = FPrinter->GetPixelsPerInchX();
    FResY = FPrinter->GetPixelsPerInchY();
  }
  // Printer units per screen pixel: on a device coarser than the screen this shrinks.
  FScaleX = FResX / FScreenResX;
  FScaleY = FResY / FScreenResY;
  FHorzMargin = Integer(Round(2 * FScaleX));
  FVertMargin = Integer(FGrid->Flat() ? Round(FScaleY) : Round(2 * FScaleY));
  FBandMargin = Integer(FGrid->Flat() ? Round(FScaleY / 2) : Round(FScaleY));
  FLineWidth = Integer(Trunc((FResX + FResY) / 200));

  const TPageParams* page = FOwner->Page();
  const auto device = [this](double Resolution, Currency Margin) {
    return MarginToDeviceUnits(Margin, FOwner->Units(), Resolution);
  };
  FPrintRect.Left = device(FResX, page->LeftMargin()) - FOffsetX;
  FPrintRect.Top = device(FResY, page->TopMargin()) - FOffsetY;
  FPrintRect.Right = FPrinter->GetPageWidth() + FOffsetX - device(FResX, page->RightMargin());
  FPrintRect.Bottom = FPrinter->GetPageHeight() + FOffsetY - device(FResY, page->BottomMargin());
}

void TGridPrintRun::BuildColumnList() {
  FColumns.Clear();
  TDBGridXSelection* selection = FGrid->Selection();
  switch (selection->SelectionKind()) {
    case gstRectangle: {
      const TDBGridXSelectionRect* rect = selection->Rect();
      for (Integer i = std::max<Integer>(0, rect->FirstColumn()); i <= rect->LastColumn() && i < FGrid->Columns()->Count();
           ++i)
        if (FGrid->Columns()->Items(i)->Visible()) FColumns.Add(FGrid->Columns()->Items(i));
      break;
    }
    case gstColumns:
      for (TColumnX* column : selection->Columns()->List()) FColumns.Add(column);
      break;
    default:
      for (TColumnX* column : FGrid->VisibleColumns()->List()) FColumns.Add(column);
  }
}

void TGridPrintRun::TakeFont(TFont* Font, bool WithPrintFont) {
  FCanvas->Font()->Assign(Font);
  if (WithPrintFont && !FOwner->PrintFontName().isEmpty()) FCanvas->Font()->SetName(FOwner->PrintFontName());
}

Integer TGridPrintRun::TextWidthOf(const String& Text) {
  TRect r(0, 0, 0, 0);
  DrawText(FCanvas, Text, r, DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | DT_SINGLELINE);
  return r.Width();
}

void TGridPrintRun::ComputeColumnWidths() {
  FWidths.clear();
  for (TColumnX* column : FColumns.List()) FWidths.push_back(Integer(Round((column->Width() + 1) * FScaleX)));
  if (FOwner->Options().Contains(pghOptimalColWidths)) MeasureOptimalWidths();
}

namespace {

// The last level of a multi-level caption: the text after the last '|'.
String LastCaptionLevel(const String& Caption) {
  const qsizetype bar = Caption.lastIndexOf(QLatin1Char('|'));
  return bar < 0 ? Caption : Caption.mid(bar + 1);
}

}  // namespace

void TGridPrintRun::MeasureOptimalWidths() {
  const TCursor savedCursor = Screen->Cursor();
  TScopeGuard cursor([&] { Screen->SetCursor(savedCursor); });
  Screen->SetCursor(crHourGlass);
  FMeasuringPage = std::make_unique<TPageRecording>(FPrinter->GetPageWidth(), FPrinter->GetPageHeight(),
                                                    Integer(FResX), Integer(FResY));
  FMeasuringCanvas = std::make_unique<TRecordingCanvas>(FMeasuringPage.get());
  TCanvas* printerCanvas = FCanvas;
  FCanvas = FMeasuringCanvas.get();
  TScopeGuard measuring([&] {
    FCanvas = printerCanvas;
    FMeasuringCanvas.reset();
    FMeasuringPage.reset();
  });
  const Integer twoMargins = 2 * FHorzMargin;
  TCustomImageList* titleImages = FGrid->TitleImages();
  for (Integer c = 0; c < FColumns.Count(); ++c) {
    TColumnX* column = FColumns[c];
    Integer need = 10;
    if (titleImages && column->Title()->ImageIndex() != -1) {
      need = std::max(need, Integer(Trunc(titleImages->Width() * FScaleX)) + twoMargins);
    } else {
      TakeFont(column->Title()->Font());
      const String caption =
          FGrid->UseMultiTitle() ? LastCaptionLevel(column->Title()->Caption()) : column->Title()->Caption();
      need = std::max(need, TextWidthOf(caption) + twoMargins);
    }
    FWidths[size_t(c)] = need;
  }
  FDataSet->First();
  TPolyBookmark pos = StartWalk();
  while (!pos.Finished) {
    for (Integer c = 0; c < FColumns.Count(); ++c) {
      TColumnX* column = FColumns[c];
      Integer need = 0;
      if (!pos.IsDataRow) {
        TakeFont(column->FooterAt(pos.FooterRow)->Font());
        need = TextWidthOf(FGrid->FooterValueText(pos.FooterRow, column->Index())) + twoMargins;
      } else if (column->CellKind() == TColumnX::ckImageList && column->ImageList()) {
        need = Integer(Trunc(column->ImageList()->Width() * FScaleX)) + twoMargins;
      } else if (column->CellKind() == TColumnX::ckCheckbox) {
        need = Integer(Trunc(13 * FScaleX)) + twoMargins;
      } else {
        TakeFont(column->Font());
        TColCellParamsX* params = FOwner->FCellParams.get();
        params->Text = column->DisplayText();
        params->CheckboxState = Byte(column->CheckboxState());
        params->Font = FCanvas->Font();
        params->Background = clWhite;
        params->Alignment = taLeftJustify;
        params->ImageIndex = -1;
        params->State = TGridDrawState();
        if (FGrid->OnGetCellParams) FGrid->OnGetCellParams(FGrid, column, params->Font, params->Background, params->State);
        column->FireGetCellParams(false, params);
        need = TextWidthOf(params->Text) + twoMargins;
        if (column->ImageList() && column->ShowImageAndText())
          need += Integer(Trunc(FScaleX * column->ImageList()->Width() + 4 * FScaleX + FScaleX));
        if (const Integer indent = TreeIndentOf(column); indent > 0)
          need += Integer(Trunc(indent * FScaleX + FScaleX));
      }
      FWidths[size_t(c)] = std::max(FWidths[size_t(c)], need);
    }
    StepWalk(pos);
  }
  FDataSet->First();
}

void TGridPrintRun::FitByColumnWidths() {
  const TPrintDBGridXOptions options = FOwner->Options();
  if (!options.Contains(pghFitGridToPageWidth) || !options.Contains(pghFitingByColWidths) || FWidths.empty()) return;
  const Integer available = FPrintRect.Right - FPrintRect.Left - FLineWidth;
  Integer sum = 0;
  for (Integer w : FWidths) sum += w;
  if (sum <= available) return;
  Integer newSum = 0;
  for (Integer& w : FWidths) {
    w = MulDiv(w, available, sum);
    newSum += w;
  }
  if (newSum > available) FWidths.back() -= newSum - available;
}

void TGridPrintRun::FitByScaling() {
  FScaled = false;
  if (!FOwner->Options().Contains(pghFitGridToPageWidth)) return;
  FGridWidth = FLineWidth;
  if (PanelActive())
    FGridWidth += Integer(Round(FGrid->RowPanelWidth() * FScaleX));
  else
    for (Integer w : FWidths) FGridWidth += w;
  FAvailable = FPrintRect.Right - FPrintRect.Left;
  if (FAvailable >= FGridWidth) return;
  FScaled = true;
  ApplyScaling();
  const auto scale = [this](Integer Value) { return MulDiv(Value, FGridWidth, FAvailable); };
  FPrintRect = TRect(scale(FPrintRect.Left), scale(FPrintRect.Top), scale(FPrintRect.Right), scale(FPrintRect.Bottom));
}

void TGridPrintRun::ApplyScaling() {
  if (!FScaled) return;
  const double aspect = FResX / FResY;
  FCanvas->SetMapMode(MM_ANISOTROPIC);
  FCanvas->SetWindowOrg(TPoint(0, 0));
  FCanvas->SetWindowExt(TSize(FGridWidth, Integer(Trunc(FGridWidth * aspect))));
  FCanvas->SetViewportExt(TSize(FAvailable, Integer(Trunc(FAvailable * aspect))));
}

void TGridPrintRun::ComputePageGroups() {
  FClipped.clear();
  FPageGroups.clear();
  const Integer width = FPrintRect.Right - FPrintRect.Left;
  Integer x = FPrintRect.Left + FLineWidth;
  for (Integer c = 0; c < FColumns.Count(); ++c) {
    const Integer clipped = std::min(FWidths[size_t(c)], width);
    FClipped.push_back(clipped);
    x += clipped;
    if (x > FPrintRect.Right && c > 0) {
      FPageGroups.push_back(c - 1);
      x = FPrintRect.Left + clipped + FLineWidth;
    }
  }
  // The row panel prints every column on one page.
  if (PanelActive()) FPageGroups.clear();
  FPageGroups.push_back(FColumns.Count() - 1);
}

// Square caps and mitred joins: the thick grid lines, batched as separate polylines, meet
// at the table's corners without a notch.
void TGridPrintRun::PrepareCanvas() {
  FCanvas->Pen()->SetWidth(FLineWidth);
  FCanvas->Pen()->SetStyle(psSolid);
  FCanvas->Pen()->SetEndCap(pecSquare);
  FCanvas->Pen()->SetJoinStyle(pjsMiter);
  FCanvas->Brush()->SetStyle(bsClear);
  FCanvas->Brush()->SetColor(clWhite);
  TakeFont(FGrid->Font());
  ApplyScaling();
}

TRect TGridPrintRun::Mirrored(const TRect& R) const {
  if (!FRightToLeft) return R;
  const Integer sum = FPrintRect.Left + FPrintRect.Right;
  return TRect(sum - R.Right, R.Top, sum - R.Left, R.Bottom);
}

void TGridPrintRun::AddLine(std::vector<TPoint> Points) {
  if (FCounting) return;
  if (FRightToLeft)
    for (TPoint& point : Points) point.X = FPrintRect.Left + FPrintRect.Right - point.X;
  FLines.push_back(std::move(Points));
}

void TGridPrintRun::DrawLines() {
  if (!FLines.empty()) FCanvas->PolyPolyline(FLines);
  FLines.clear();
}
