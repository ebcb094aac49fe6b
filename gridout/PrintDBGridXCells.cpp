// Printed cells: the text routine every printed text goes through, record cells, footer
// cells and the footer texts of the sums and counts the run keeps itself.
#include "gridout/PrintDBGridXRun.h"
#include "dbgrid/FieldPictureX.h"
#include "grid/FittedNumberX.h"
#include "grid/MemTableX.h"
#include "grid/PaintHelpersX.h"
#include "platform/ui/DrawingRoutines.h"
#include "platform/ui/ImgList.h"

Integer TGridPrintRun::DrawCellText(const TRect& Rect, bool Fill, Integer HorzMargin, Integer VertMargin,
                                    const String& Text, TAlignment Alignment, TTextLayout Layout, bool WordWrap,
                                    bool EndEllipsis, Integer LeftMargin, Integer RightMargin, bool Measure) {
  const TRect inner(Rect.Left + HorzMargin, Rect.Top + VertMargin, Rect.Right - HorzMargin, Rect.Bottom - VertMargin);
  const Cardinal wrap = WordWrap ? DT_WORDBREAK : 0;
  const Cardinal reading = FRightToLeftReading ? DT_RTLREADING : 0;
  if (Measure) {
    TRect r = inner;
    TDrawTextParams params;
    params.iLeftMargin = LeftMargin;
    params.iRightMargin = RightMargin;
    const Integer height =
        DrawTextEx(FCanvas, Text, r, DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | wrap | reading, &params);
    return height + FCanvas->TextMetrics().tmExternalLeading + 2 * VertMargin;
  }
  if (Fill) FCanvas->FillRect(Rect);
  TAlignment alignment = Alignment;
  Integer leftMargin = LeftMargin, rightMargin = RightMargin;
  if (FRightToLeft) {
    alignment = Alignment == taLeftJustify ? taRightJustify : Alignment == taRightJustify ? taLeftJustify : taCenter;
    std::swap(leftMargin, rightMargin);
  }
  const Cardinal align = alignment == taRightJustify ? DT_RIGHT : alignment == taCenter ? DT_CENTER : DT_LEFT;
  const Cardinal flags = align | DT_NOPREFIX | DT_EXPANDTABS | wrap | (EndEllipsis ? DT_END_ELLIPSIS : 0) | reading;
  TDrawTextParams params;
  params.iLeftMargin = leftMargin;
  params.iRightMargin = rightMargin;
  TRect r = inner;
  if (Layout != tlTop) {
    TRect measured = inner;
    TDrawTextParams measuring = params;
    const Integer textHeight = DrawTextEx(FCanvas, Text, measured, flags | DT_CALCRECT, &measuring);
    r.Top = Layout == tlCenter ? inner.Top + inner.Height() / 2 - textHeight / 2 : inner.Bottom - textHeight;
  }
  if (HorzMargin > 0) ++r.Bottom;
  const String shown = WordWrap ? Text : FittedNumberText(FCanvas, Text, inner.Width() - leftMargin - rightMargin);
  DrawTextEx(FCanvas, shown, r, flags, &params);
  return 0;
}

Integer TGridPrintRun::TreeIndentOf(TColumnX* Column) const {
  TColumnsXList* visible = FGrid->VisibleColumns();
  return visible->Count() > 0 && (*visible)[0] == Column ? FGrid->TreeNodeIndent() : 0;
}

// The current record's tree lines: for every level above it a line where that level goes on
// below, then its own box or line end.
void TGridPrintRun::PrintTreeLines(const TRect& Area) {
  IMemTableX* table = FGrid->MemTable();
  if (!FGrid->TreeViewShown() || FGrid->FooterRowCount() > 0 || !table) return;
  const TMemTableNodeInfoX info = table->RecordNodeInfo(table->CurrentRecordIndex());
  const Integer step = Integer(Trunc(18 * FScaleX));
  const auto hasNext = [&info](Integer Level) {
    return Level >= 1 && Level <= Integer(info.LevelHasNextSibling.size()) &&
           info.LevelHasNextSibling[size_t(Level - 1)];
  };
  const auto element = [&](Integer Level) {
    const Integer left = FRightToLeft ? Area.Right - step * Level : Area.Left + step * (Level - 1);
    return TRect(left, Area.Top, left + step, Area.Bottom);
  };
  const TColor pen = FCanvas->Pen()->Color();
  const TColor brush = FCanvas->Brush()->Color();
  for (Integer level = 1; level < info.Level; ++level)
    if (hasNext(level)) DrawTreeNodeElement(FCanvas, element(level), 11, 0, FScaleX, FScaleY, FRightToLeft);
  const bool following = hasNext(info.Level);
  const Integer kind = info.HasChildren ? (info.Expanded ? 0 : 4) + (following ? 0 : 1) : following ? 8 : 9;
  if (info.Level > 0) DrawTreeNodeElement(FCanvas, element(info.Level), kind, 0, FScaleX, FScaleY, FRightToLeft);
  FCanvas->Pen()->SetColor(pen);
  FCanvas->Brush()->SetColor(brush);
}

bool TGridPrintRun::WordWrapOn(TColumnX* Column, bool Measure) const {
  if (PanelActive()) return Column->WordWrap() && Column->InRowLineHeight() > 1;
  return Measure ? FOwner->Options().Contains(pghRowAutoStretch) : FMultiLineRows;
}

void TGridPrintRun::FillCell(const TRect& Rect) {
  if (FCounting || FCanvas->Brush()->Color() == clWhite) return;
  const TColor pen = FCanvas->Pen()->Color();
  FCanvas->Pen()->SetColor(FCanvas->Brush()->Color());
  FCanvas->Rectangle(Rect);
  FCanvas->Pen()->SetColor(pen);
}

// The platform's frame control draws hairlines and a mark of screen size; on a printer the
// box and its mark are drawn at the box's own size instead.
void TGridPrintRun::PrintCheckBox(const TRect& Box, Integer State) {
  const TColor pen = FCanvas->Pen()->Color();
  const Integer penWidth = FCanvas->Pen()->Width();
  const TColor brush = FCanvas->Brush()->Color();
  const Integer stroke = std::max<Integer>(1, Box.Width() / 12);
  FCanvas->Pen()->SetColor(clBlack);
  FCanvas->Pen()->SetWidth(stroke);
  FCanvas->Brush()->SetColor(State == cbGrayed ? clSilver : clWhite);
  FCanvas->Rectangle(Box);
  if (State == cbChecked || State == cbGrayed) {
    FCanvas->Pen()->SetColor(State == cbGrayed ? clGray : clBlack);
    FCanvas->Pen()->SetWidth(std::max<Integer>(1, Box.Width() / 7));
    const auto at = [&Box](Integer X, Integer Y) {
      return TPoint(Box.Left + Box.Width() * X / 12, Box.Top + Box.Height() * Y / 12);
    };
    FCanvas->Polyline({at(3, 6), at(5, 9), at(9, 3)});
  }
  FCanvas->Pen()->SetColor(pen);
  FCanvas->Pen()->SetWidth(penWidth);
  FCanvas->Brush()->SetColor(brush);
}

void TGridPrintRun::DrawCellImage(TCustomImageList* Images, const TRect& Rect, TAlignment Alignment, Integer Index) {
  if (FCounting || !Images || Index < 0 || Index >= Images->Count()) return;
  const Integer width = Integer(Trunc(Images->Width() * FScaleX)), height = Integer(Trunc(Images->Height() * FScaleY));
  const Integer left = Alignment == taLeftJustify    ? Rect.Left
                       : Alignment == taRightJustify ? Rect.Right - width
                                                     : (Rect.Left + Rect.Right - width) / 2;
  const TRect place(left, (Rect.Top + Rect.Bottom - height) / 2, left + width, (Rect.Top + Rect.Bottom - height) / 2 + height);
  // The image on the cell's background, stretched to its printed size and kept inside the cell.
  TBitmap image(Images->Width(), Images->Height());
  image.Canvas()->Brush()->SetColor(FCanvas->Brush()->Color());
  image.Canvas()->FillRect(TRect(0, 0, Images->Width(), Images->Height()));
  Images->Draw(image.Canvas(), 0, 0, Index);
  const Integer saved = FCanvas->SaveState();
  FCanvas->IntersectClipRect(Rect);
  FCanvas->StretchDraw(place, &image);
  FCanvas->RestoreState(saved);
}

// A value repeats when the column's own text for it does, whatever the column's cell event
// makes of it; the grid's cell event still sees the cell.
String TGridPrintRun::DuplicateCheckText(TColumnX* Column) {
  Column->FillCellParams(&FDuplicateCheck);
  FDuplicateCheckFont.Assign(Column->Font());
  FDuplicateCheck.Font = &FDuplicateCheckFont;
  if (FGrid->OnGetCellParams)
    FGrid->OnGetCellParams(FGrid, Column, FDuplicateCheck.Font, FDuplicateCheck.Background, FDuplicateCheck.State);
  return FDuplicateCheck.Text;
}

// The row of a picture is as high as the picture shows at the column's screen width; on
// paper the picture keeps its size in screen pixels and is fitted into the cell.
Integer TGridPrintRun::DrawFieldPicture(TColumnX* Column, const TRect& Rect, bool Measure) {
  TPicture picture;
  LoadFieldPicture(Column->Field(), picture);
  const Integer width = picture.Width(), height = picture.Height();
  const Integer columnWidth = Column->Width();
  const Integer shown = width > columnWidth && width > 0 ? Integer(Round(double(height) * columnWidth / width)) : height;
  const Integer result = Integer(Trunc(shown * FScaleY));
  if (Measure || !picture.Graphic() || picture.Graphic()->Empty()) return result;
  const TRect place =
      FittedPictureRect(Integer(Trunc(width * FScaleY)), Integer(Trunc(height * FScaleY)), Rect);
  FCanvas->StretchDraw(place, picture.Graphic());
  return result;
}

Integer TGridPrintRun::PrintCell(Integer Position, const TRect& Rect, const TPolyBookmark& Pos, Integer RowInBand,
                                 bool Measure) {
  TColumnX* column = FColumns[Position];
  if (Pos.IsDataRow) return PrintRecordCell(column, Position, Rect, RowInBand, Measure);
  if (Pos.FooterRow < 0 || Pos.Finished) return 0;
  return PrintFooterCell(column, Position, Rect, Pos.FooterRow, Measure);
}

Integer TGridPrintRun::PrintRecordCell(TColumnX* Column, Integer Position, const TRect& Rect, Integer RowInBand,
                                       bool Measure) {
  if (Measure && PanelActive()) return PanelBlockHeight();
  const bool colored = FOwner->Options().Contains(pghColored);
  TakeFont(Column->Font());
  TColCellParamsX* params = FOwner->FCellParams.get();
  Column->FillCellParams(params);
  params->Font = FCanvas->Font();
  params->Background = colored ? Column->Color() : clWhite;
  params->State = TGridDrawState();
  if (FGrid->OnGetCellParams) FGrid->OnGetCellParams(FGrid, Column, params->Font, params->Background, params->State);
  Column->FireGetCellParams(false, params);
  FCanvas->Brush()->SetColor(params->Background);

  const bool drawing = !Measure && !FCounting;
  if (!Measure && Column->HideDuplicates()) {
    const String text = DuplicateCheckText(Column);
    if (RowInBand > 0 && text == FPreviousTexts[size_t(Position)]) {
      params->Text.clear();
      params->ImageIndex = -1;
    }
    FPreviousTexts[size_t(Position)] = text;
  }
  if (drawing) FillCell(Rect);

  TRect text(Rect.Left + FHorzMargin, Rect.Top + FVertMargin, Rect.Right - FHorzMargin, Rect.Bottom - FVertMargin);
  const Integer indent = TreeIndentOf(Column);
  if (indent > 0) {
    const Integer area = Integer(Trunc(indent * FScaleX)), gap = Integer(Trunc(FScaleX));
    if (FRightToLeft) {
      if (drawing) PrintTreeLines(TRect(text.Right - area, text.Top, text.Right, text.Bottom));
      text.Right -= area + gap;
    } else {
      if (drawing) PrintTreeLines(TRect(text.Left, text.Top, text.Left + area, text.Bottom));
      text.Left += area + gap;
    }
  }
  Integer imageHeight = 0;
  TCustomImageList* images = Column->ImageList();
  if (images && Column->ShowImageAndText()) {
    const Integer area = Integer(Trunc(images->Width() * FScaleY + 4 * FScaleY));
    if (Measure) imageHeight = Integer(Trunc(images->Height() * FScaleY + 4 * FScaleY));
    if (drawing) DrawCellImage(images, TRect(text.Left, text.Top, text.Left + area, text.Bottom), taCenter, params->ImageIndex);
    text.Left += area + Integer(Trunc(FScaleY));
  }
  if (Column->CellKind() == TColumnX::ckGraphic) return DrawFieldPicture(Column, Rect, Measure || FCounting);
  const bool wrap = WordWrapOn(Column, Measure);
  if (drawing && Column->CellKind() == TColumnX::ckCheckbox) {
    const Integer w = std::min<Integer>(Integer(Trunc(13 * FScaleX)), text.Width());
    const Integer h = std::min<Integer>(Integer(Trunc(13 * FScaleY)), text.Height());
    TRect box(text.Left + (text.Width() - w) / 2, text.Top + (text.Height() - h) / 2, 0, 0);
    box.Right = box.Left + w;
    box.Bottom = box.Top + h;
    PrintCheckBox(box, params->CheckboxState);
    return 0;
  }
  if (drawing && Column->CellKind() == TColumnX::ckImageList) {
    DrawCellImage(images, Rect, taCenter, params->ImageIndex);
    return 0;
  }
  const Integer height = DrawCellText(text, false, 0, 0, params->Text, TAlignment(params->Alignment), Column->Layout(),
                                      wrap, Column->EndEllipsis(), 0, 0, Measure || FCounting);
  return std::max(height + 2 * FVertMargin, imageHeight);
}

TField* TGridPrintRun::FooterField(TColumnX* Column, Integer FooterRow) const {
  const String& own = Column->FooterAt(FooterRow)->FieldName();
  return FDataSet->FindField(own.isEmpty() ? Column->FieldName() : own);
}

String TGridPrintRun::FooterText(TColumnX* Column, Integer Position, Integer FooterRow) {
  TColumnFooterX* footer = Column->FooterAt(FooterRow);
  const TFooterValueType kind = footer->ValueType();
  if (kind != fvtSum && kind != fvtCount)
    return FGrid->FooterValueText(FooterRow, Column->Index());
  const Currency value = FFooterValues[size_t(Position + FColumns.Count() * FooterRow)];
  const String& format = footer->DisplayFormat();
  if (kind == fvtCount) return format.isEmpty() ? FloatToStr(value.ToDouble()) : FormatFloat(format, value.ToDouble());
  TField* field = FooterField(Column, FooterRow);
  if (!field) return String();
  auto* numeric = dynamic_cast<TNumericField*>(field);
  auto* floating = dynamic_cast<TFloatField*>(field);
  const String fieldFormat = numeric ? numeric->DisplayFormat() : String();
  switch (field->DataType()) {
    case ftSmallint: case ftInteger: case ftWord: case ftAutoInc: case ftLargeint:
      if (!format.isEmpty()) return FormatFloat(format, value.ToDouble());
      if (!fieldFormat.isEmpty()) return FormatFloat(fieldFormat, value.ToDouble());
      return QString::number(Round(value.ToDouble()));
    case ftFloat: case ftCurrency:
      if (!format.isEmpty()) return FormatFloat(format, value.ToDouble());
      if (!fieldFormat.isEmpty()) return FormatFloat(fieldFormat, value.ToDouble());
      if (floating && floating->Currency()) return FloatToStrF(value.ToDouble(), ffCurrency, 15, CurrencyDecimals);
      return FloatToStrF(value.ToDouble(), ffGeneral, floating ? floating->Precision() : 15, 0);
    case ftBCD: case ftFMTBcd:
      if (!format.isEmpty()) return FormatFloat(format, value.ToDouble());
      if (!fieldFormat.isEmpty()) return FormatCurr(fieldFormat, value);
      if (floating && floating->Currency()) return CurrToStrF(value, ffCurrency, CurrencyDecimals);
      return CurrToStrF(value, ffGeneral, 0);
    default:
      return String();
  }
}

Integer TGridPrintRun::PrintFooterCell(TColumnX* Column, Integer Position, const TRect& Rect, Integer FooterRow,
                                       bool Measure) {
  TColumnFooterX* footer = Column->FooterAt(FooterRow);
  TAlignment alignment = footer->Alignment();
  String text = FooterText(Column, Position, FooterRow);
  TColor background = FOwner->Options().Contains(pghColored) ? footer->Color() : clWhite;
  TakeFont(footer->Font());
  if (FGrid->OnGetFooterParams)
    FGrid->OnGetFooterParams(FGrid, Column->Index(), FooterRow, Column, FCanvas->Font(), background,
                             alignment, TGridDrawState(), text);
  FCanvas->Brush()->SetColor(background);
  if (!Measure) FillCell(Rect);
  const TRect inner(Rect.Left + FHorzMargin, Rect.Top + FVertMargin, Rect.Right - FHorzMargin, Rect.Bottom - FVertMargin);
  const Integer height = DrawCellText(inner, false, 0, 0, text, alignment, Column->Layout(), WordWrapOn(Column, Measure),
                                      footer->EndEllipsis(), 0, 0, Measure || FCounting);
  return height + 2 * FVertMargin;
}
