// Cell painting: each cell the base grid paints is classified and handed to the painter of
// its area (indicator, title with its multi-level bands, data, footer).
#include "dbgrid/DBGridX.h"
#include "dbgrid/DBGridXFilterEdit.h"
#include "dbgrid/DBGridXGlobals.h"
#include "dbgrid/DBGridXUnmirrored.h"
#include "grid/ButtonFacesX.h"
#include "grid/FittedNumberX.h"
#include "grid/LibraryRoutinesX.h"
#include "grid/VerticalText.h"
#include "platform/ui/DrawingRoutines.h"
#include "platform/ui/Forms.h"
#include "platform/ui/SystemColors.h"

namespace {

bool IsActiveControlOfForm(TWinControl* Control) {
  TCustomForm* form = GetParentForm(Control);
  return form && form->ActiveControl() == Control;
}
}  // namespace

void TCustomDBGridX::Paint() {
  if (UpdateLocked()) return;
  // The window system composes every paint off screen and shows it in one step, so a grid
  // that needs buffering paints directly; the flag keeps what its layout once called for.
  if (!FBufferedPaint && !DBGridXGlobals().BufferedPaintOff && NeedsBufferedPaint()) FBufferedPaint = true;
  TCustomGridX::Paint();
}

bool TCustomDBGridX::NeedsBufferedPaint() {
  return (!Flat() && IsThemingActive() && FOptionsX.Contains(dghFixed3D)) ||
         (TreeViewShown() && FOptions.Contains(dgRowLines)) || FRowPanel->Active() || FUseMultiTitle;
}

bool TCustomDBGridX::GridOrEditorFocused() {
  if (IsFocusOwner()) return true;
  TInplaceEdit* editor = InplaceEditor();
  return editor && editor->Focused();
}

bool TCustomDBGridX::DrawsFocusRect() {
  return !Designing() && FOptions.Contains(dgRowSelect) && FDefaultDrawing && IsFocusOwner();
}

void TCustomDBGridX::PaintCell(Integer ACol, Integer ARow, TGridDrawState State, TRect R) {
  Integer dataCol = 0, dataRow = 0;
  const TCellTypeX type = GetCellType(ACol, ARow, dataCol, dataRow);
  if (type.ColKind == cacIndicator) {
    PaintIndicatorCell(ARow, dataRow, type.RowKind, R, State);
    return;
  }
  if (FRowPanel->Active() && dataCol == 0) {
    PaintRowPanelCell(ACol, ARow, type.RowKind, dataRow, R, State);
    return;
  }
  if (dataCol < 0 || dataCol >= FColumns->Count()) {
    Canvas()->Brush()->SetColor(type.RowKind == carData ? Color() : FixedColor());
    Canvas()->FillRect(R);
    return;
  }
  switch (type.RowKind) {
    case carTitle: PaintTitleCell(ACol, ARow, dataCol, R, State); break;
    case carFilter: PaintUnderTitleCell(ACol, ARow, dataCol, R, State); break;
    case carData:
      if (TGroupDataTreeNodeX* node = GroupNodeAtRow(ARow); node && node->IsGroupNode) {
        PaintGroupRow(dataCol, R, State, node);
        break;
      }
      if (FVisibleColumns.Count() > 0 && FColumns->Items(dataCol) == FVisibleColumns[0]) {
        if (FDataGrouping->GroupingWorks() && FGroupIndentWidth > 0) {
          PaintGroupIndent(dataRow, R, FDataGrouping->ActiveLevelCount());
          R.Left += FGroupIndentWidth;
        }
        if (TreeViewShown()) {
          const Integer indent = TreeNodeIndentOf(RecordIndexOfDataRow(dataRow));
          PaintTreeLines(dataRow, R, State);
          R.Left += indent;
        }
        R.Left += PaintRowDetailArea(dataRow, State, R);
      }
      PaintDataCell(ACol, ARow, dataCol, dataRow, R, State);
      break;
    case carFooter: PaintFooterCell(ACol, ARow, dataCol, dataRow, R, State); break;
  }
}

bool TCustomDBGridX::EnterPaintedRecord(Integer ARow, Integer DataRow, TPaintedRecordX& Record) {
  if (!FDataLink->Active()) return false;
  if (FDataGrouping->GroupingWorks()) {
    TGroupDataTreeNodeX* node = GroupNodeAtRow(ARow);
    if (!node || node->IsGroupNode || !FMemTable) return false;
    Record.Current = ARow == Row();
    Record.RecNo = node->RecordIndex + 1;
    // The current record is read as it stands, with the edits not yet posted.
    FPaintedRecordEntered = FMemTable->CurrentRecordIndex() != node->RecordIndex;
    if (FPaintedRecordEntered) FMemTable->EnterRecord(node->RecordIndex);
    return true;
  }
  if (DataRow >= FDataLink->RecordCount()) return false;
  SetActiveRow(DataRow);
  Record.Current = DataRow == FSavedActiveRecord;
  try {
    Record.RecNo = DataSet()->RecNo();
  } catch (...) {
    RestoreActiveRow();
    throw;
  }
  return true;
}

void TCustomDBGridX::LeavePaintedRecord() {
  if (std::exchange(FPaintedRecordEntered, false)) FMemTable->LeaveRecord();
  else RestoreActiveRow();
}

void TCustomDBGridX::PaintRowPanelCell(Integer ACol, Integer ARow, TCellAreaRowX Kind, Integer DataRow, TRect R,
                                       TGridDrawState State) {
  switch (Kind) {
    case carTitle: PaintRowPanelTitle(ACol, ARow, R, State); break;
    case carFilter:
      Canvas()->Brush()->SetColor(FColumnDefValues->Title()->Color());
      Canvas()->FillRect(R);
      break;
    case carData:
      if (TGroupDataTreeNodeX* node = GroupNodeAtRow(ARow); node && node->IsGroupNode) PaintGroupRow(0, R, State, node);
      else PaintRowPanelData(ACol, ARow, DataRow, R, State);
      break;
    case carFooter: PaintRowPanelFooter(ACol, ARow, DataRow, R, State); break;
  }
}

void TCustomDBGridX::WriteCellText(const TRect& R, Integer DX, Integer DY, const String& Text, TAlignment Alignment,
                                   TTextLayout Layout, bool WordWrap, bool EndEllipsis, Integer Shift) {
  TCanvas* canvas = Canvas();
  canvas->FillRect(R);
  if (Text.isEmpty()) return;
  // A right-to-left grid paints on a mirrored canvas; its texts are written unmirrored into
  // the cell's place on the screen, and right-to-left reading swaps the two alignments.
  if (canvas->Mirrored()) {
    if (UseRightToLeftAlignment()) {
      if (Alignment == taLeftJustify) Alignment = taRightJustify;
      else if (Alignment == taRightJustify) Alignment = taLeftJustify;
    }
    const TUnmirroredCanvas unmirrored(canvas, GridClientWidth());
    WriteCellText(unmirrored.Place(R), DX, DY, Text, Alignment, Layout, WordWrap, EndEllipsis, -Shift);
    return;
  }
  Cardinal format = DT_NOPREFIX | DT_EXPANDTABS;
  if (Alignment == taRightJustify) format |= DT_RIGHT;
  else if (Alignment == taCenter) format |= DT_CENTER;
  if (WordWrap) format |= DT_WORDBREAK;
  else format |= DT_SINGLELINE;
  if (EndEllipsis) format |= DT_END_ELLIPSIS;
  if (Layout == tlCenter) format |= DT_VCENTER;
  else if (Layout == tlBottom) format |= DT_BOTTOM;
  TRect textRect(R.Left + DX + Shift, R.Top + DY, R.Right - (Alignment == taRightJustify ? 3 : DX) + Shift, R.Bottom);
  const TBrushStyle savedStyle = canvas->Brush()->Style();
  canvas->Brush()->SetStyle(bsClear);
  const Integer saved = canvas->SaveState();
  canvas->IntersectClipRect(R);
  DrawText(canvas, WordWrap ? Text : FittedNumberText(canvas, Text, textRect.Width()), textRect, format);
  canvas->RestoreState(saved);
  canvas->Brush()->SetStyle(savedStyle);
}

void TCustomDBGridX::PaintIndicatorCell(Integer ARow, Integer DataRow, TCellAreaRowX Kind, TRect R,
                                        TGridDrawState State) {
  TCanvas* canvas = Canvas();
  canvas->SetFont(Font());
  TColor background = FixedColor();
  const Integer markWidth = FOptions.Contains(dgIndicator) ? (FOptionsX.Contains(dghShowRecNo) ? 9 : 11) : 0;
  const bool all = FSelection->SelectionKind() == gstAll;
  TPaintedRecordX record;
  const bool recordRow = Kind == carData && EnterPaintedRecord(ARow, DataRow, record);
  bool selected = all;
  if (recordRow) {
    // Only whole records show as selected in the indicator, and only in a multi-selecting grid.
    try {
      selected = FOptions.Contains(dgMultiSelect) && FSelection->SelectionKind() == gstRecordBookmarks
                     ? PaintedCellSelected(0, ARow, -1)
                     : FOptions.Contains(dgMultiSelect) && all;
    } catch (...) {
      LeavePaintedRecord();
      throw;
    }
    LeavePaintedRecord();
  } else if (Kind == carData) {
    selected = FOptions.Contains(dgMultiSelect) && all;
  }
  PickFixedCellColors(0, ARow, TCellTypeX{cacIndicator, Kind}, selected, background, canvas->Font());
  canvas->Brush()->SetColor(background);
  canvas->FillRect(R);
  if (recordRow) {
    TDataSet* dataSet = DataSet();
    const Integer recNo = record.RecNo;
    const bool current = record.Current;
    if (FOptions.Contains(dgIndicator) && current) {
      Integer mark = 0;
      if (dataSet->State() == dsEdit) mark = 2;
      else if (dataSet->State() == dsInsert) mark = 3;
      else if (FBookmarks->GetCount() > 0 && FBookmarks->IsCurrentRowSelected()) mark = 1;
      else if (FIncSearching) mark = 4;
      PaintIndicatorGlyph(mark, 0, 0, TRect(R.Right - markWidth, R.Top, R.Right, R.Bottom));
      FIndicatorRow = ARow;
    }
    if (FOptionsX.Contains(dghShowRecNo) && recNo >= 1 && !(current && dataSet->State() == dsInsert))
      WriteRecordNumber(recNo, TRect(R.Left, R.Top, R.Right - markWidth, R.Bottom));
  }
  // The first footer row counts the records.
  if (Kind == carFooter && DataRow == 0 && FOptionsX.Contains(dghShowRecNo) && FDataLink->Active() &&
      DataSet()->State() != dsInsert) {
    const Integer count = DataSet()->RecordCount();
    if (count >= 1) WriteRecordNumber(count, TRect(R.Left, R.Top, R.Right - markWidth, R.Bottom));
  }
  const Integer press = Kind == carTitle && FIndicatorTitlePressed ? 1 : 0;
  if (Kind == carTitle && FIndicatorTitle->ShowDropDownSign())
    PaintIndicatorDropDownSign(press || selected,
                               TRect(R.Right - 12 + 2 * press, R.Top + 2 * press, R.Right, R.Bottom));
  if (CellHas3DLook(0, ARow, State)) {
    TRect frame = R;
    DrawEdge(canvas, frame, press ? BDR_SUNKENINNER : BDR_RAISEDINNER, BF_RECT);
  }
}

// A number in the grid's font one point smaller, centred in R over what is painted there.
void TCustomDBGridX::WriteRecordNumber(Integer Number, TRect R) {
  TCanvas* canvas = Canvas();
  TFont small;
  small.Assign(canvas->Font());
  small.SetSize(Font()->Size() - 1);
  canvas->SetFont(&small);
  canvas->Brush()->SetStyle(bsClear);
  const TUnmirroredCanvas unmirrored(canvas, GridClientWidth());
  TRect place = unmirrored.Place(R);
  DrawText(canvas, QString::number(Number), place, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  canvas->Brush()->SetStyle(bsSolid);
}

void TCustomDBGridX::PaintTitleCell(Integer ACol, Integer ARow, Integer DataCol, TRect R, TGridDrawState State) {
  TColumnX* column = FColumns->Items(DataCol);
  TCanvas* canvas = Canvas();
  const bool raised = CellHas3DLook(ACol, ARow, State);
  TColor color = column->Title()->Color();
  TSortMarkerX marker = column->Title()->SortMarker();
  const bool pressed = FTitlePressedShown && FPressedTitleDataCol == DataCol;
  if (OnGetBtnParams && column->Field()) {
    OnGetBtnParams(this, column, canvas->Font(), color, marker, pressed);
    canvas->SetFont(column->Title()->Font());
    OnGetBtnParams(this, column, canvas->Font(), color, marker, pressed);
  } else {
    canvas->SetFont(column->Title()->Font());
  }
  const bool highlighted =
      PickFixedCellColors(ACol, ARow, TCellTypeX{cacData, carTitle}, PaintedCellSelected(ACol, ARow, DataCol), color,
                          canvas->Font());
  String caption = column->Title()->Caption();
  TRect cell = R;
  THeadTreeNode* leaf = MultiTitleActive() ? LeafOf(column) : nullptr;
  if (leaf) {
    caption = leaf->Caption;
    cell.Top = std::max(R.Top, R.Bottom - leaf->BandHeight + 1);
  }
  canvas->Brush()->SetColor(color);
  const Integer dx = raised ? 1 : 2;
  const Integer dy = Flat() ? dx - 1 : dx;
  const bool multiLine = FUseMultiTitle || FTitleHeight != 0 || FTitleLines != 0;
  // A pressed title button shows its face pushed in: its content moves right and down.
  const Integer press = pressed ? (MultiTitleActive() || FTitleHeight != 0 || FTitleLines != 0 ? 2 : 1) : 0;
  TRect textRect = cell;
  // The in-title filter button takes the right end of the cell's inner part.
  const bool filterButton = FSTFilter->Visible() && FSTFilter->Location() == stflInTitleFilterX;
  const TRect inner = raised ? TRect(cell.Left + 1, cell.Top + 1, cell.Right - 1, cell.Bottom - 1) : cell;
  TRect buttonStrip(inner.Right, inner.Top, inner.Right, inner.Bottom);
  if (filterButton) {
    buttonStrip.Left -= std::min(Flat() ? FlatButtonWidth + 1 : GetSystemMetrics(SM_CXVSCROLL), inner.Width() / 2);
    textRect.Right = buttonStrip.Left;
  }
  const Integer imageIndex = column->Title()->ImageIndex();
  const bool titleImage = FTitleImages && imageIndex != -1;
  if (titleImage) caption.clear();
  const Integer markerRight = filterButton ? buttonStrip.Left : inner.Right;
  // The sort marker, and the column's place in a sort by several columns, go right of the
  // caption; a narrow title drops the marker first, then the number.
  TImageList* signs = DBGridXGlobals().SignImages.get();
  bool showMarker = marker != smNoneX;
  String sortNumber;
  Integer numberWidth = 0;
  if (showMarker) {
    textRect.Right -= 16;
    if (FSortMarkedColumns.Count() >= 2 && column->Title()->SortIndex() > 0) {
      sortNumber = QString::number(column->Title()->SortIndex());
      const Integer saved = canvas->SaveState();
      canvas->SetFont(DBGridXGlobals().SortNumberFont.get());
      numberWidth = canvas->TextWidth(sortNumber);
      canvas->RestoreState(saved);
    }
    if (textRect.Width() < signs->Width()) {
      textRect.Right += 14 - numberWidth;
      showMarker = false;
      if (textRect.Width() < signs->Width()) {
        textRect.Right += numberWidth + 2;
        sortNumber.clear();
        numberWidth = 0;
      }
    }
  }
  if (press > 0) canvas->FillRect(TRect(cell.Left, cell.Top, textRect.Right, cell.Top + press));
  textRect.Top += press;
  if (textRect.Right > textRect.Left) {
    if (column->Title()->Orientation() == tohVertical) {
      canvas->FillRect(textRect);
      const TUnmirroredCanvas unmirrored(canvas, GridClientWidth());
      DrawTextVertically(canvas,
                         unmirrored.Place(TRect(textRect.Left + press, textRect.Top, textRect.Right + press, textRect.Bottom)),
                         false, false, column->Title()->EndEllipsis(), tlBottom, taCenter, caption, dy + 2, dx);
    } else
      WriteCellText(textRect, dx, dy, caption, column->Title()->Alignment(), multiLine ? tlCenter : tlTop, multiLine,
                    column->Title()->EndEllipsis(), press);
    if (titleImage) PaintTitleImage(TRect(textRect.Left + press, textRect.Top, textRect.Right + press, textRect.Bottom),
                                    dx, column->Title()->Alignment(), imageIndex);
  }
  if (marker != smNoneX) {
    TRect markRect(std::max(cell.Left, textRect.Right), cell.Top, markerRight, cell.Bottom);
    canvas->FillRect(markRect);
    const Integer markX = markerRight + press - signs->Width() - numberWidth - 2;
    const Integer markY = (cell.Top + cell.Bottom - signs->Height()) / 2 + press;
    if (showMarker) signs->Draw(canvas, markX, markY, marker == smDownX ? 0 : 1);
    if (!sortNumber.isEmpty()) {
      const Integer saved = canvas->SaveState();
      canvas->SetFont(DBGridXGlobals().SortNumberFont.get());
      if (highlighted) canvas->Font()->SetColor(clWhite);
      canvas->Brush()->SetStyle(bsClear);
      const TUnmirroredCanvas unmirrored(canvas, GridClientWidth());
      const Integer numberX = markX + signs->Width();
      canvas->TextOut(unmirrored.Place(TRect(numberX, markY, numberX + numberWidth, markY)).Left, markY, sortNumber);
      canvas->RestoreState(saved);
    }
  }
  if (filterButton) {
    canvas->FillRect(TRect(buttonStrip.Left, cell.Top, cell.Right, cell.Bottom));
    TRect face = buttonStrip;
    if (face.Height() > FEditButtonHeight) {
      face.Top = (face.Top + face.Bottom - FEditButtonHeight) / 2;
      face.Bottom = face.Top + FEditButtonHeight;
    }
    OffsetRect(face, press, press);
    // Opaque and pressed while its list is open, opaque under the pointer, half faded in a
    // hot title (not while the pointer is on an upper band), faint otherwise.
    const bool dropped = FFilterListDropped && FFilterListColumn == column;
    const bool hot = State.Contains(gdHotTrack) && NoMouseAction();
    const bool onUpperBand = leaf && R.Top + HotTrackOffset().Y < cell.Top;
    Integer look = 80;
    if (Designing()) look = 30;
    else if (dropped || (hot && FHotEditButton == 0)) look = 0;
    else if (hot && !onUpperBand) look = 30;
    PaintCellButton(face, color, look, dropped ? 1 : 0);
    if (!column->STFilter()->ExpressionStr().isEmpty())
      PaintSortMarker(TRect(buttonStrip.Left - 6 + press, inner.Top + press, buttonStrip.Left + press,
                            inner.Top + 6 + press),
                      highlighted);
  }
  if (raised) {
    TRect frame = cell;
    DrawEdge(canvas, frame, pressed ? BDR_SUNKENINNER : BDR_RAISEDINNER, BF_RECT);
  }
  if (!leaf) return;
  // The bands above the leaf: each ancestor spans its children; only the part above this
  // cell is drawn, with the caption laid out over the full span.
  canvas->SetFont(FTitleFont.get());
  if (highlighted) PickFixedCellColors(ACol, ARow, TCellTypeX{cacData, carTitle}, true, color, canvas->Font());
  const Integer line = FOptions.Contains(dgColLines) ? 1 : 0;
  THeadTreeNode* child = leaf;
  Integer spanLeft = R.Left;
  Integer bottom = cell.Top - (FOptions.Contains(dgRowLines) ? 1 : 0);
  for (THeadTreeNode* band = leaf->Parent; band && band->Parent; child = band, band = band->Parent) {
    for (THeadTreeNode* sibling = band->FirstChild; sibling != child; sibling = sibling->NextSibling)
      spanLeft -= sibling->BandWidth + line;
    const Integer top = bottom - band->BandHeight + 1;
    TRect span(spanLeft, top, spanLeft + band->BandWidth, bottom);
    // Where the band goes on past this cell, the column line right of it is the band's too.
    TRect part(std::max(span.Left, R.Left), top, std::min(span.Right, R.Right + line), bottom);
    if (part.Right > part.Left && part.Bottom > part.Top) {
      canvas->Brush()->SetColor(color);
      const Integer saved = canvas->SaveState();
      canvas->IntersectClipRect(part);
      WriteCellText(span, dx, dx, band->Caption, taCenter, tlCenter, true, column->Title()->EndEllipsis());
      if (FOptionsX.Contains(dghFixed3D)) {
        TRect frame = span;
        DrawEdge(canvas, frame, BDR_RAISEDINNER, BF_RECT);
      }
      canvas->RestoreState(saved);
      canvas->Pen()->SetColor(clBlack);
      if (FOptions.Contains(dgRowLines)) {
        canvas->MoveTo(part.Left, bottom);
        canvas->LineTo(part.Right + 1, bottom);
      }
      if (line && span.Right >= R.Left && span.Right <= R.Right) {
        canvas->MoveTo(span.Right, top);
        canvas->LineTo(span.Right, bottom + 1);
      }
    }
    band->BandPainted = true;
    bottom = top - (FOptions.Contains(dgRowLines) ? 1 : 0);
  }
  if (line) {
    canvas->Pen()->SetColor(clBlack);
    canvas->MoveTo(R.Right, cell.Top);
    canvas->LineTo(R.Right, R.Bottom);
  }
}

// A filter cell shows its column's condition in blue on a tinted window colour, with the
// drop-down button at its right end; other cells of the row take the title colour.
void TCustomDBGridX::PaintUnderTitleCell(Integer ACol, Integer ARow, Integer DataCol, TRect R, TGridDrawState State) {
  TColumnX* column = FColumns->Items(DataCol);
  TCanvas* canvas = Canvas();
  TSTColumnFilterX* filter = column->STFilter();
  const bool selected = PaintedCellSelected(ACol, ARow, DataCol);
  const TCellTypeX type{cacData, carFilter};
  if (!IsFilterRowCell(ACol, ARow) || !CanFilterColumn(DataCol)) {
    TColor background = column->Title()->Color();
    PickFixedCellColors(ACol, ARow, type, selected, background, canvas->Font());
    canvas->Brush()->SetColor(background);
    canvas->FillRect(R);
    if (CellHas3DLook(ACol, ARow, State)) {
      TRect frame = R;
      DrawEdge(canvas, frame, BDR_RAISEDINNER, BF_RECT);
    }
    return;
  }
  canvas->Pen()->SetColor(clBlack);
  canvas->SetFont(Font());
  canvas->Font()->SetColor(clBlue);
  TColor background = BlendColors(clWindow, FixedColor(), 8);
  PickFixedCellColors(ACol, ARow, type, selected, background, canvas->Font());
  canvas->Brush()->SetColor(background);
  const Integer buttonWidth = Flat() ? FlatButtonWidth : GetSystemMetrics(SM_CXVSCROLL);
  const bool button = filter->HasDropDownButton();
  TRect textPart = R;
  if (button) textPart.Right -= buttonWidth + (Flat() ? 1 : 0);
  const Integer dx = 2, dy = Flat() ? 1 : 2;
  WriteCellText(textPart, dx, dy, FilterTextOf(DataCol), taLeftJustify, column->Layout(), false, false);
  if (!button) return;
  if (Flat()) {
    canvas->MoveTo(textPart.Right, R.Top);
    canvas->LineTo(textPart.Right, R.Bottom);
  }
  const TRect face(R.Right - buttonWidth, R.Top, R.Right, R.Top + std::min(FEditButtonHeight, R.Height()));
  const bool editorOpen = FFilterEdit && FFilterEdit->Visible() && FFilterCol == DataCol;
  const Integer look = Designing() ? 30 : editorOpen ? 0 : State.Contains(gdHotTrack) ? 30 : 80;
  PaintCellButton(face, background, look, 0);
  canvas->FillRect(TRect(face.Left, face.Bottom, face.Right, R.Bottom));
}

void TCustomDBGridX::FireGetCellParams(TColumnX* Column, TFont* AFont, TColor& Background, TGridDrawState State) {
  if (OnGetCellParams) OnGetCellParams(this, Column, AFont, Background, State);
}

void TCustomDBGridX::FireDrawColumnCell(const TRect& Rect, Integer DataCol, TColumnX* Column, TGridDrawState State) {
  if (OnDrawColumnCell) OnDrawColumnCell(this, Rect, DataCol, Column, State);
}

void TCustomDBGridX::PaintDataCell(Integer ACol, Integer ARow, Integer DataCol, Integer DataRow, TRect R,
                                   TGridDrawState State) {
  TColumnX* column = FColumns->Items(DataCol);
  TCanvas* canvas = Canvas();
  canvas->SetFont(column->Font());
  canvas->Brush()->SetColor(column->Color());
  TPaintedRecordX record;
  if (!EnterPaintedRecord(ARow, DataRow, record)) {
    canvas->FillRect(R);
    return;
  }
  try {
    TDataSet* dataSet = DataSet();
    TColor background = column->Color();
    if (column->Color() == Color() && OddRowColor() != EvenRowColor() && dataSet->IsSequenced())
      background = record.RecNo % 2 == 1 ? OddRowColor() : EvenRowColor();
    column->FillCellParams(FCellParams.get());
    FCellParams->Background = background;
    FCellParams->State = State;
    FCellParamsFont->Assign(column->Font());
    FireGetCellParams(column, FCellParamsFont.get(), FCellParams->Background, State);
    column->FireGetCellParams(false, FCellParams.get());
    HideDuplicate(column, DataRow);
    bool processed = false;
    if (OnAdvDrawDataCell) OnAdvDrawDataCell(this, {ACol, ARow}, {DataCol, DataRow}, column, R, *FCellParams, processed);
    if (!processed && column->OnAdvDrawDataCell)
      column->OnAdvDrawDataCell(this, {ACol, ARow}, {DataCol, DataRow}, column, R, *FCellParams, processed);
    if (!processed && FDefaultDrawing) {
      background = FCellParams->Background;
      canvas->SetFont(FCellParamsFont.get());
      PickDataCellColors(DataCol, DataRow, canvas->Font(), background, State);
      canvas->Brush()->SetColor(background);
      const bool raised = CellHas3DLook(ACol, ARow, State);
      const Integer dx = raised ? 1 : 2;
      const Integer dy = Flat() ? dx - 1 : dx;
      const bool buttons = ShowsEditButtons(column, record.Current, record.Current && DataCol == SelectedIndex());
      TRect content = R;
      if (buttons) content.Right = std::max(R.Left, R.Right - CellButtonsWidth(column));
      switch (column->CellKind()) {
        case TColumnX::ckGraphic: PaintGraphicOrMemo(column, content); break;
        case TColumnX::ckCheckbox: PaintCheckBoxCell(content, FCellParams->CheckboxState); break;
        case TColumnX::ckImageList: PaintImageCell(column->ImageList(), content, FCellParams->ImageIndex); break;
        default: {
          TRect textRect = content;
          Integer textLeft = dx;
          // An image beside the text: a strip in the column's colour at the left holds it.
          if (TCustomImageList* images = column->ImageList(); images && column->ShowImageAndText()) {
            const TRect strip(R.Left, R.Top, std::min(content.Right, R.Left + images->Width() + 4), R.Bottom);
            canvas->Brush()->SetColor(column->Color());
            PaintImageCell(images, strip, FCellParams->ImageIndex);
            canvas->Brush()->SetColor(background);
            textRect.Left = strip.Right;
            textLeft = 1;
          }
          WriteCellText(textRect, textLeft, dy, FCellParams->Text, TAlignment(FCellParams->Alignment), column->Layout(),
                        column->WordWrap() && FTallRows, column->EndEllipsis());
        }
      }
      if (buttons) {
        // Opaque on the focused cell (or the highlighted current row), half faded in a hot
        // cell, faint elsewhere.
        Integer look = 80;
        if (Designing()) look = 30;
        else if (!FFilterEditMode && (State.Contains(gdFocused) ||
                                      (FOptionsX.Contains(dghRowHighlight) && record.Current)))
          look = 0;
        else if (State.Contains(gdHotTrack)) look = 30;
        PaintCellEditButtons(column, {ACol, ARow}, R, content.Right, raised, look, background);
      }
      if (record.Current) {
        PaintRequiredMark(column, R);
        if (FIncSearching && DataCol == SelectedIndex() && State.Contains(gdFocused))
          PaintIncSearchText(content, dx, dy, FCellParams->Text, TAlignment(FCellParams->Alignment), column->Layout());
      }
      if (raised) {
        TRect frame = R;
        DrawEdge(canvas, frame, BDR_RAISEDINNER, BF_RECT);
      }
    }
    if (FDefaultDrawing && State.Contains(gdFocused) && !Designing() && !FOptions.Contains(dgRowSelect) &&
        FUpdateLock == 0 && IsActiveControlOfForm(this))
      DrawFocusRect(canvas, R);
    if (!column->Stored() && OnDrawDataCell) OnDrawDataCell(this, R, column->Field(), State);
    FireDrawColumnCell(R, DataCol, column, State);
  } catch (...) {
    LeavePaintedRecord();
    throw;
  }
  LeavePaintedRecord();
}

// A check box of the platform's size, centred in the cell (at its left when the cell is narrower).
void TCustomDBGridX::PaintCheckBoxCell(const TRect& R, Integer CheckState) {
  TCanvas* canvas = Canvas();
  canvas->FillRect(R);
  const Integer left = std::max(R.Left, (R.Left + R.Right - CheckBoxGlyphWidth) / 2);
  const Integer top = std::max(R.Top, (R.Top + R.Bottom - CheckBoxGlyphHeight) / 2);
  PaintEditButtonFace(canvas, TRect(left, top, left + CheckBoxGlyphWidth, top + CheckBoxGlyphHeight),
                      canvas->Brush()->Color(), fkCheckBoxX, 0, Flat(), false, true, CheckState);
}

void TCustomDBGridX::PaintImageCell(TCustomImageList* Images, const TRect& R, Integer ImageIndex) {
  TCanvas* canvas = Canvas();
  canvas->FillRect(R);
  if (!Images || ImageIndex < 0 || ImageIndex >= Images->Count()) return;
  const Integer saved = canvas->SaveState();
  canvas->IntersectClipRect(R);
  Images->Draw(canvas, (R.Left + R.Right - Images->Width()) / 2, (R.Top + R.Bottom - Images->Height()) / 2, ImageIndex);
  canvas->RestoreState(saved);
}

// The typed beginning of an incremental search over the start of the current cell's text, in
// the search colours.
void TCustomDBGridX::PaintIncSearchText(const TRect& R, Integer DX, Integer DY, const String& Text,
                                        TAlignment Alignment, TTextLayout Layout) {
  if (FIncSearchText.isEmpty() || Designing() || FUpdateLock != 0 || !IsActiveControlOfForm(this) ||
      !(FOptions.Contains(dgAlwaysShowSelection) || IsFocusOwner()))
    return;
  TCanvas* canvas = Canvas();
  const String found = Text.left(FIncSearchText.size());
  const Integer width = canvas->TextWidth(found), height = canvas->TextHeight(found);
  // The found part stands where the whole text starts.
  const Integer textWidth = canvas->TextWidth(Text);
  Integer left = R.Left + DX;
  if (Alignment == taRightJustify) left = R.Right - 3 - textWidth;
  else if (Alignment == taCenter) left = (R.Left + R.Right - textWidth) / 2;
  Integer top = R.Top + DY;
  if (Layout == tlCenter) top = (R.Top + R.Bottom - height) / 2;
  else if (Layout == tlBottom) top = R.Bottom - height;
  const Integer saved = canvas->SaveState();
  const TUnmirroredCanvas unmirrored(canvas, GridClientWidth());
  const TRect mark = unmirrored.Place(TRect(left, top, left + width, top + height));
  canvas->IntersectClipRect(unmirrored.Place(R));
  canvas->Brush()->SetColor(DBGridXGlobals().IncSearchColor);
  canvas->FillRect(mark);
  canvas->Font()->SetColor(DBGridXGlobals().IncSearchFontColor);
  canvas->Brush()->SetStyle(bsClear);
  canvas->TextOut(mark.Left, mark.Top, found);
  canvas->Brush()->SetStyle(bsSolid);
  canvas->RestoreState(saved);
}

// A red dotted line along the bottom of the current record's cell while a required field
// the column marks is still empty in an edited record.
void TCustomDBGridX::PaintRequiredMark(TColumnX* Column, const TRect& R) {
  TField* field = Column->Field();
  if (!field || !Column->HighlightRequired()) return;
  bool draw = InEditModes(DataSet()->State()) && field->Required() && field->IsNull();
  if (Column->OnCheckDrawRequiredState) Column->OnCheckDrawRequiredState(this, FCellParams->Text, draw);
  if (!draw) return;
  TCanvas* canvas = Canvas();
  canvas->Pen()->SetColor(clRed);
  canvas->Pen()->SetStyle(psDot);
  canvas->MoveTo(R.Left + 2, R.Bottom - 1);
  canvas->LineTo(R.Right - 3, R.Bottom - 1);
  canvas->Pen()->SetStyle(psSolid);
}

void TCustomDBGridX::PaintFooterCell(Integer ACol, Integer ARow, Integer DataCol, Integer DataRow, TRect R,
                                     TGridDrawState State) {
  TColumnX* column = FColumns->Items(DataCol);
  TColumnFooterX* footer = column->FooterAt(DataRow);
  TCanvas* canvas = Canvas();
  canvas->SetFont(footer->Font());
  TColor background = footer->Color();
  TAlignment alignment = footer->Alignment();
  String text = FooterValueText(DataRow, DataCol);
  if (OnGetFooterParams)
    OnGetFooterParams(this, DataCol, DataRow, column, canvas->Font(), background, alignment, State, text);
  PickFixedCellColors(ACol, ARow, TCellTypeX{cacData, carFooter}, PaintedCellSelected(ACol, ARow, DataCol), background,
                      canvas->Font());
  canvas->Brush()->SetColor(background);
  const bool raised = CellHas3DLook(ACol, ARow, State);
  const Integer dx = raised ? 1 : 2;
  const Integer dy = Flat() ? dx - 1 : dx;
  if (FDefaultDrawing)
    WriteCellText(R, dx, dy, text, alignment, column->Layout(), footer->WordWrap() && FTallRows, footer->EndEllipsis());
  if (raised) {
    TRect frame = R;
    DrawEdge(canvas, frame, BDR_RAISEDINNER, BF_RECT);
  }
  if (OnDrawFooterCell) OnDrawFooterCell(this, DataCol, DataRow, column, R, State);
}
