// Cell painting: each cell the base grid paints is classified and handed to the painter of
// its area (indicator, title with its multi-level bands, data, footer).
#include "dbgrid/DBGridX.h"
#include "dbgrid/DBGridXFilterEdit.h"
#include "dbgrid/DBGridXGlobals.h"
#include "grid/ButtonFacesX.h"
#include "grid/LibraryRoutinesX.h"
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
                                   TTextLayout Layout, bool WordWrap, bool EndEllipsis) {
  TCanvas* canvas = Canvas();
  canvas->FillRect(R);
  if (Text.isEmpty()) return;
  Cardinal format = DT_NOPREFIX | DT_EXPANDTABS;
  if (Alignment == taRightJustify) format |= DT_RIGHT;
  else if (Alignment == taCenter) format |= DT_CENTER;
  if (WordWrap) format |= DT_WORDBREAK;
  else format |= DT_SINGLELINE;
  if (EndEllipsis) format |= DT_END_ELLIPSIS;
  if (Layout == tlCenter) format |= DT_VCENTER;
  else if (Layout == tlBottom) format |= DT_BOTTOM;
  TRect textRect(R.Left + DX, R.Top + DY, R.Right - (Alignment == taRightJustify ? 3 : DX), R.Bottom);
  const TBrushStyle savedStyle = canvas->Brush()->Style();
  canvas->Brush()->SetStyle(bsClear);
  const Integer saved = canvas->SaveState();
  canvas->IntersectClipRect(R);
  DrawText(canvas, Text, textRect, format);
  canvas->RestoreState(saved);
  canvas->Brush()->SetStyle(savedStyle);
}

void TCustomDBGridX::PaintIndicatorCell(Integer ARow, Integer DataRow, TCellAreaRowX Kind, TRect R,
                                        TGridDrawState State) {
  TCanvas* canvas = Canvas();
  canvas->Brush()->SetColor(FixedColor());
  canvas->FillRect(R);
  const Integer markWidth = FOptions.Contains(dgIndicator) ? (FOptionsX.Contains(dghShowRecNo) ? 9 : 11) : 0;
  TPaintedRecordX record;
  if (Kind == carData && EnterPaintedRecord(ARow, DataRow, record)) {
    TDataSet* dataSet = DataSet();
    LeavePaintedRecord();
    const Integer recNo = record.RecNo;
    const bool current = record.Current;
    if (FOptions.Contains(dgIndicator) && current) {
      Integer mark = 0;
      if (dataSet->State() == dsEdit) mark = 2;
      else if (dataSet->State() == dsInsert) mark = 3;
      else if (FBookmarks->GetCount() > 0 && FBookmarks->IsCurrentRowSelected()) mark = 1;
      PaintIndicatorGlyph(mark, 0, 0, TRect(R.Right - markWidth, R.Top, R.Right, R.Bottom));
      FIndicatorRow = ARow;
    }
    if (FOptionsX.Contains(dghShowRecNo) && recNo >= 1 && !(current && dataSet->State() == dsInsert)) {
      TFont small;
      small.Assign(Font());
      small.SetSize(Font()->Size() - 1);
      canvas->SetFont(&small);
      TRect text(R.Left, R.Top, R.Right - markWidth, R.Bottom);
      canvas->Brush()->SetStyle(bsClear);
      DrawText(canvas, QString::number(recNo), text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
      canvas->Brush()->SetStyle(bsSolid);
    }
  }
  if (Kind == carTitle && FIndicatorTitle->ShowDropDownSign())
    PaintIndicatorDropDownSign(false, TRect(R.Right - 12, R.Top, R.Right, R.Bottom));
  const TRect inner = R;
  if (State.Contains(gdFixed) && FOptionsX.Contains(dghFixed3D)) {
    TRect frame = inner;
    DrawEdge(canvas, frame, BDR_RAISEDINNER, BF_RECT);
  }
}

void TCustomDBGridX::PaintTitleCell(Integer ACol, Integer ARow, Integer DataCol, TRect R, TGridDrawState State) {
  (void)ACol;
  (void)ARow;
  TColumnX* column = FColumns->Items(DataCol);
  TCanvas* canvas = Canvas();
  const bool raised = FOptionsX.Contains(dghFixed3D);
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
  String caption = column->Title()->Caption();
  TRect cell = R;
  THeadTreeNode* leaf = MultiTitleActive() ? LeafOf(column) : nullptr;
  if (leaf) {
    caption = leaf->Caption;
    cell.Top = std::max(R.Top, R.Bottom - leaf->BandHeight + 1);
  }
  canvas->Brush()->SetColor(color);
  const Integer dx = raised ? 1 : 2;
  const bool multiLine = FUseMultiTitle || FTitleHeight != 0 || FTitleLines != 0;
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
  const Integer markerRight = textRect.Right;
  if (marker != smNoneX) textRect.Right -= 16;
  if (textRect.Right > textRect.Left) {
    WriteCellText(textRect, dx, dx, caption, column->Title()->Alignment(), multiLine ? tlCenter : tlTop, multiLine,
                  column->Title()->EndEllipsis());
    if (titleImage) PaintTitleImage(textRect, dx, column->Title()->Alignment(), imageIndex);
  }
  if (marker != smNoneX) {
    TRect markRect(std::max(cell.Left, textRect.Right), cell.Top, markerRight, cell.Bottom);
    canvas->FillRect(markRect);
    TImageList* signs = DBGridXGlobals().SignImages.get();
    signs->Draw(canvas, markerRight - signs->Width() - 2, (cell.Top + cell.Bottom - signs->Height()) / 2,
                marker == smDownX ? 0 : 1);
  }
  if (filterButton) {
    canvas->FillRect(TRect(buttonStrip.Left, cell.Top, cell.Right, cell.Bottom));
    TRect face = buttonStrip;
    if (face.Height() > FEditButtonHeight) {
      face.Top = (face.Top + face.Bottom - FEditButtonHeight) / 2;
      face.Bottom = face.Top + FEditButtonHeight;
    }
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
      PaintSortMarker(TRect(buttonStrip.Left - 6, inner.Top, buttonStrip.Left, inner.Top + 6), false);
  }
  if (raised) {
    TRect frame = cell;
    DrawEdge(canvas, frame, pressed ? BDR_SUNKENINNER : BDR_RAISEDINNER, BF_RECT);
  }
  if (!leaf) return;
  // The bands above the leaf: each ancestor spans its children; only the part above this
  // cell is drawn, with the caption laid out over the full span.
  canvas->SetFont(FTitleFont.get());
  const Integer line = FOptions.Contains(dgColLines) ? 1 : 0;
  THeadTreeNode* child = leaf;
  Integer spanLeft = R.Left;
  Integer bottom = cell.Top - (FOptions.Contains(dgRowLines) ? 1 : 0);
  for (THeadTreeNode* band = leaf->Parent; band && band->Parent; child = band, band = band->Parent) {
    for (THeadTreeNode* sibling = band->FirstChild; sibling != child; sibling = sibling->NextSibling)
      spanLeft -= sibling->BandWidth + line;
    const Integer top = bottom - band->BandHeight + 1;
    TRect span(spanLeft, top, spanLeft + band->BandWidth, bottom);
    TRect part(std::max(span.Left, R.Left), top, std::min(span.Right, R.Right), bottom);
    if (part.Right > part.Left && part.Bottom > part.Top) {
      canvas->Brush()->SetColor(color);
      const Integer saved = canvas->SaveState();
      canvas->IntersectClipRect(part);
      WriteCellText(span, dx, dx, band->Caption, taCenter, tlCenter, true, column->Title()->EndEllipsis());
      if (raised) {
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
  if (!IsFilterRowCell(ACol, ARow) || !CanFilterColumn(DataCol)) {
    canvas->Brush()->SetColor(column->Title()->Color());
    canvas->FillRect(R);
    return;
  }
  canvas->Pen()->SetColor(clBlack);
  canvas->SetFont(Font());
  canvas->Font()->SetColor(clBlue);
  const TColor background = BlendColors(clWindow, FixedColor(), 8);
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
  (void)ACol;
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
    bool processed = false;
    if (OnAdvDrawDataCell) OnAdvDrawDataCell(this, {ACol, ARow}, {DataCol, DataRow}, column, R, *FCellParams, processed);
    if (!processed && column->OnAdvDrawDataCell)
      column->OnAdvDrawDataCell(this, {ACol, ARow}, {DataCol, DataRow}, column, R, *FCellParams, processed);
    if (!processed && FDefaultDrawing) {
      background = FCellParams->Background;
      // Selected cells: the current row in the highlight colours while the grid (or its
      // editor) has the focus, in shadow colours while it shows its selection unfocused.
      const bool currentRow = record.Current;
      const bool focusedGrid = GridOrEditorFocused();
      bool focus = IsFocusOwner() && FOptionsX.Contains(dghHighlightFocus);
      bool selectedState = State.Contains(gdSelected) || (currentRow && FOptions.Contains(dgRowSelect));
      // Row highlighting marks the rest of the current row as selected and focused.
      if (FOptionsX.Contains(dghRowHighlight) && currentRow && FSelection->SelectionKind() == gstNon &&
          !State.Contains(gdCurrent)) {
        focus = true;
        selectedState = true;
      }
      const bool draw = selectedState && (FOptions.Contains(dgAlwaysShowSelection) || focus) &&
                        (FUpdateLock == 0 || FOptions.Contains(dgRowSelect));
      canvas->SetFont(FCellParamsFont.get());
      if (draw) {
        if (focusedGrid) {
          background = clHighlight;
          canvas->Font()->SetColor(clHighlightText);
        } else if (currentRow && (State.Contains(gdCurrent) || FOptions.Contains(dgRowSelect)) &&
                   (focus || FOptions.Contains(dgAlwaysShowSelection))) {
          background = clBtnShadow;
          canvas->Font()->SetColor(clHighlightText);
        } else {
          background = clBtnFace;
        }
      }
      canvas->Brush()->SetColor(background);
      const bool raised = FOptionsX.Contains(dghData3D);
      const Integer dx = raised ? 1 : 2;
      const Integer dy = Flat() ? dx - 1 : dx;
      if (column->CellKind() == TColumnX::ckGraphic)
        PaintGraphicOrMemo(column, R);
      else
        WriteCellText(R, dx, dy, FCellParams->Text, TAlignment(FCellParams->Alignment), column->Layout(),
                      column->WordWrap() && FTallRows, column->EndEllipsis());
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

void TCustomDBGridX::PaintFooterCell(Integer ACol, Integer ARow, Integer DataCol, Integer DataRow, TRect R,
                                     TGridDrawState State) {
  (void)ACol;
  (void)ARow;
  TColumnX* column = FColumns->Items(DataCol);
  TColumnFooterX* footer = column->FooterAt(DataRow);
  TCanvas* canvas = Canvas();
  canvas->SetFont(footer->Font());
  TColor background = footer->Color();
  TAlignment alignment = footer->Alignment();
  String text = FooterValueText(DataRow, DataCol);
  if (OnGetFooterParams)
    OnGetFooterParams(this, DataCol, DataRow, column, canvas->Font(), background, alignment, State, text);
  canvas->Brush()->SetColor(background);
  const bool raised = FOptionsX.Contains(dghFooter3D);
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
