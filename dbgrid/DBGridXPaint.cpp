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
  if (DataRow >= RecordRowCount()) return false;
  SetActiveRow(DataRow);
  Record.Current = DataRow == FSavedActiveRecord;
  try {
    Record.RecNo = ScrollsByMemTableRows() ? DataRow + 1 : DataSet()->RecNo();
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

// A title cell: its look is settled first (pressed, caption, colours, sort marker), then its
// content is painted, then the bands of a multi-level title above it.
void TCustomDBGridX::PaintTitleCell(Integer ACol, Integer ARow, Integer DataCol, TRect R, TGridDrawState State) {
  TColumnX* column = FColumns->Items(DataCol);
  THeadTreeNode* leaf = MultiTitleActive() ? LeafOf(column) : nullptr;
  TDBGirdDrawTitleStateX title = TitleDrawState(ACol, ARow, column, leaf, State);
  TRect cell = R;
  if (leaf) cell.Top = std::max(R.Top, R.Bottom - leaf->BandHeight + 1);
  PaintTitleContent(column, cell, title, State, leaf && R.Top + HotTrackOffset().Y < cell.Top);
  if (leaf) PaintTitleBands(ACol, ARow, column, leaf, R, cell.Top, title);
  // The grid leaves out the column lines of multi-level titles and lets the cell cover them;
  // the leaf draws its own line where the grid's would be.
  if (FOptions.Contains(dgColLines) && leaf)
    PaintTitleRightLine(TRect(R.Left, R.Top, std::min(R.Right, CellRect(ACol, ARow).Right), R.Bottom), cell.Top);
}

TDBGirdDrawTitleStateX TCustomDBGridX::TitleDrawState(Integer ACol, Integer ARow, TColumnX* Column,
                                                      THeadTreeNode* Leaf, TGridDrawState State) {
  TCanvas* canvas = Canvas();
  TDBGirdDrawTitleStateX title;
  title.Raised = CellHas3DLook(ACol, ARow, State);
  title.Color = Column->Title()->Color();
  title.SortMarker = Column->Title()->SortMarker();
  title.Down = FTitlePressedShown && FPressedTitleDataCol == Column->Index();
  if (OnGetBtnParams && Column->Field()) {
    OnGetBtnParams(this, Column, canvas->Font(), title.Color, title.SortMarker, title.Down);
    canvas->SetFont(Column->Title()->Font());
    OnGetBtnParams(this, Column, canvas->Font(), title.Color, title.SortMarker, title.Down);
  } else {
    canvas->SetFont(Column->Title()->Font());
  }
  title.InSelection = PaintedCellSelected(ACol, ARow, Column->Index());
  title.Highlighted =
      PickFixedCellColors(ACol, ARow, TCellTypeX{cacData, carTitle}, title.InSelection, title.Color, canvas->Font());
  title.Caption = Leaf ? Leaf->Caption : Column->Title()->Caption();
  title.MultiLine = FUseMultiTitle || FTitleHeight != 0 || FTitleLines != 0;
  title.Orientation = Column->Title()->Orientation();
  title.HasFilterButton = FSTFilter->Visible() && FSTFilter->Location() == stflInTitleFilterX;
  return title;
}

// The inside of a title cell: caption (or image), sort marker with the column's place in a
// sort by several columns, the in-title filter button, and the raised frame.
void TCustomDBGridX::PaintTitleContent(TColumnX* Column, const TRect& Cell, TDBGirdDrawTitleStateX& Title,
                                       TGridDrawState State, bool PointerOnUpperBand) {
  Canvas()->Brush()->SetColor(Title.Color);
  TTitleContentLayoutX layout = LayoutTitleContent(Column, Cell, Title);
  PaintTitleCaption(Column, Cell, Title, layout);
  if (Title.SortMarker != smNoneX) PaintTitleSortMarker(Cell, Title, layout);
  if (Title.HasFilterButton) PaintTitleFilterButton(Column, Cell, Title, layout, State, PointerOnUpperBand);
  if (Title.Raised) {
    TRect frame = Cell;
    DrawEdge(Canvas(), frame, Title.Down ? BDR_SUNKENINNER : BDR_RAISEDINNER, BF_RECT);
  }
}

TCustomDBGridX::TTitleContentLayoutX TCustomDBGridX::LayoutTitleContent(TColumnX* Column, const TRect& Cell,
                                                                        const TDBGirdDrawTitleStateX& Title) {
  TCanvas* canvas = Canvas();
  TTitleContentLayoutX layout;
  layout.DX = Title.Raised ? 1 : 2;
  layout.DY = Flat() ? layout.DX - 1 : layout.DX;
  // A pressed title button shows its face pushed in: its content moves right and down.
  layout.Press = Title.Down ? (MultiTitleActive() || FTitleHeight != 0 || FTitleLines != 0 ? 2 : 1) : 0;
  layout.Inner = Title.Raised ? TRect(Cell.Left + 1, Cell.Top + 1, Cell.Right - 1, Cell.Bottom - 1) : Cell;
  layout.Text = Cell;
  // The in-title filter button takes the right end of the cell's inner part.
  layout.ButtonStrip = TRect(layout.Inner.Right, layout.Inner.Top, layout.Inner.Right, layout.Inner.Bottom);
  if (Title.HasFilterButton) {
    layout.ButtonStrip.Left -=
        std::min(Flat() ? FlatButtonWidth + 1 : GetSystemMetrics(SM_CXVSCROLL), layout.Inner.Width() / 2);
    layout.Text.Right = layout.ButtonStrip.Left;
  }
  layout.ImageIndex = FTitleImages ? Column->Title()->ImageIndex() : -1;
  layout.MarkerRight = Title.HasFilterButton ? layout.ButtonStrip.Left : layout.Inner.Right;
  // The sort marker, and the column's place in a sort by several columns, go right of the
  // caption; a narrow title drops the marker first, then the number.
  TImageList* signs = DBGridXGlobals().SignImages.get();
  layout.ShowMarker = Title.SortMarker != smNoneX;
  if (layout.ShowMarker) {
    layout.Text.Right -= 16;
    if (Title.ShowSortIndex && FSortMarkedColumns.Count() >= 2 && Column->Title()->SortIndex() > 0) {
      layout.SortNumber = QString::number(Column->Title()->SortIndex());
      const Integer saved = canvas->SaveState();
      canvas->SetFont(DBGridXGlobals().SortNumberFont.get());
      layout.NumberWidth = canvas->TextWidth(layout.SortNumber);
      canvas->RestoreState(saved);
    }
    if (layout.Text.Width() < signs->Width()) {
      layout.Text.Right += 14 - layout.NumberWidth;
      layout.ShowMarker = false;
      if (layout.Text.Width() < signs->Width()) {
        layout.Text.Right += layout.NumberWidth + 2;
        layout.SortNumber.clear();
        layout.NumberWidth = 0;
      }
    }
  }
  return layout;
}

void TCustomDBGridX::PaintTitleCaption(TColumnX* Column, const TRect& Cell, const TDBGirdDrawTitleStateX& Title,
                                       TTitleContentLayoutX& Layout) {
  TCanvas* canvas = Canvas();
  const Integer press = Layout.Press;
  if (press > 0) canvas->FillRect(TRect(Cell.Left, Cell.Top, Layout.Text.Right, Cell.Top + press));
  Layout.Text.Top += press;
  TRect& text = Layout.Text;
  if (text.Right <= text.Left) return;
  const String caption = Layout.ImageIndex != -1 ? String() : Title.Caption;
  if (Title.Orientation == tohVertical) {
    canvas->FillRect(text);
    const TUnmirroredCanvas unmirrored(canvas, GridClientWidth());
    DrawTextVertically(canvas, unmirrored.Place(TRect(text.Left + press, text.Top, text.Right + press, text.Bottom)),
                       false, false, Column->Title()->EndEllipsis(), tlBottom, taCenter, caption, Layout.DY + 2,
                       Layout.DX);
  } else if (Title.MultiLine) {
    WriteTitleCaption(text, Layout.DX, caption, Column->Title()->Alignment(), Column->Title()->EndEllipsis(), press);
  } else {
    WriteCellText(text, Layout.DX, Layout.DY, caption, Column->Title()->Alignment(), tlTop, false,
                  Column->Title()->EndEllipsis(), press);
  }
  if (Layout.ImageIndex != -1)
    PaintTitleImage(TRect(text.Left + press, text.Top, text.Right + press, text.Bottom), Layout.DX,
                    Column->Title()->Alignment(), Layout.ImageIndex);
}

void TCustomDBGridX::PaintTitleSortMarker(const TRect& Cell, const TDBGirdDrawTitleStateX& Title,
                                          const TTitleContentLayoutX& Layout) {
  TCanvas* canvas = Canvas();
  TImageList* signs = DBGridXGlobals().SignImages.get();
  const Integer press = Layout.Press;
  TRect markRect(std::max(Cell.Left, Layout.Text.Right), Cell.Top, Layout.MarkerRight, Cell.Bottom);
  canvas->FillRect(markRect);
  const Integer markX = Layout.MarkerRight + press - signs->Width() - Layout.NumberWidth - 2;
  const Integer markY = (Cell.Top + Cell.Bottom - signs->Height()) / 2 + press;
  if (Layout.ShowMarker) signs->Draw(canvas, markX, markY, Title.SortMarker == smDownX ? 0 : 1);
  if (Layout.SortNumber.isEmpty()) return;
  const Integer saved = canvas->SaveState();
  canvas->SetFont(DBGridXGlobals().SortNumberFont.get());
  if (Title.Highlighted) canvas->Font()->SetColor(clWhite);
  canvas->Brush()->SetStyle(bsClear);
  const TUnmirroredCanvas unmirrored(canvas, GridClientWidth());
  const Integer numberX = markX + signs->Width();
  canvas->TextOut(unmirrored.Place(TRect(numberX, markY, numberX + Layout.NumberWidth, markY)).Left, markY,
                  Layout.SortNumber);
  canvas->RestoreState(saved);
}

void TCustomDBGridX::PaintTitleFilterButton(TColumnX* Column, const TRect& Cell, const TDBGirdDrawTitleStateX& Title,
                                            const TTitleContentLayoutX& Layout, TGridDrawState State,
                                            bool PointerOnUpperBand) {
  TCanvas* canvas = Canvas();
  const Integer press = Layout.Press;
  canvas->FillRect(TRect(Layout.ButtonStrip.Left, Cell.Top, Cell.Right, Cell.Bottom));
  TRect face = Layout.ButtonStrip;
  if (face.Height() > FEditButtonHeight) {
    face.Top = (face.Top + face.Bottom - FEditButtonHeight) / 2;
    face.Bottom = face.Top + FEditButtonHeight;
  }
  OffsetRect(face, press, press);
  // Opaque and pressed while its list is open, opaque under the pointer, half faded in a
  // hot title (not while the pointer is on an upper band), faint otherwise.
  const bool dropped = FFilterListDropped && FFilterListColumn == Column;
  const bool hot = State.Contains(gdHotTrack) && NoMouseAction();
  Integer look = 80;
  if (Designing()) look = 30;
  else if (dropped || (hot && FHotEditButton == 0)) look = 0;
  else if (hot && !PointerOnUpperBand) look = 30;
  PaintCellButton(face, Title.Color, look, dropped ? 1 : 0, FStyle ? FStyle->TitleFilterButtonStyle : 0);
  if (!Column->STFilter()->ExpressionStr().isEmpty())
    PaintSortMarker(TRect(Layout.ButtonStrip.Left - 6 + press, Layout.Inner.Top + press,
                          Layout.ButtonStrip.Left + press, Layout.Inner.Top + 6 + press),
                    Title.Highlighted);
}

// The bands above the leaf: each ancestor spans its children; only the part above this
// cell is drawn, with the caption laid out over the full span.
void TCustomDBGridX::PaintTitleBands(Integer ACol, Integer ARow, TColumnX* Column, THeadTreeNode* Leaf,
                                     const TRect& R, Integer LeafTop, const TDBGirdDrawTitleStateX& Title) {
  TCanvas* canvas = Canvas();
  canvas->SetFont(FTitleFont.get());
  TColor color = Title.Color;
  if (Title.Highlighted) PickFixedCellColors(ACol, ARow, TCellTypeX{cacData, carTitle}, true, color, canvas->Font());
  const Integer dx = Title.Raised ? 1 : 2;
  const Integer line = FOptions.Contains(dgColLines) ? 1 : 0;
  THeadTreeNode* child = Leaf;
  Integer spanLeft = R.Left;
  Integer bottom = LeafTop - (FOptions.Contains(dgRowLines) ? 1 : 0);
  for (THeadTreeNode* band = Leaf->Parent; band && band->Parent; child = band, band = band->Parent) {
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
      WriteTitleCaption(span, dx, band->Caption, taCenter, Column->Title()->EndEllipsis());
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
}

// Multi-level titles draw their own vertical lines: the leaf's right edge down the whole cell.
void TCustomDBGridX::PaintTitleRightLine(const TRect& R, Integer LeafTop) {
  TCanvas* canvas = Canvas();
  canvas->Pen()->SetColor(clBlack);
  canvas->MoveTo(R.Right, LeafTop);
  canvas->LineTo(R.Right, R.Bottom);
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

void TCustomDBGridX::FireGetFooterParams(Integer DataCol, Integer Row, TColumnX* Column, TFont* AFont,
                                         TColor& Background, TAlignment& Alignment, TGridDrawState State,
                                         String& Text) {
  if (OnGetFooterParams) OnGetFooterParams(this, DataCol, Row, Column, AFont, Background, Alignment, State, Text);
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
    TColor background = column->Color();
    if (column->Color() == Color() && OddRowColor() != EvenRowColor() && DataSet()->IsSequenced())
      background = record.RecNo % 2 == 1 ? OddRowColor() : EvenRowColor();
    column->FillCellParams(FCellParams.get());
    FCellParams->Background = background;
    FCellParams->State = State;
    FCellParams->Col = ACol;
    FCellParams->Row = ARow;
    FCellParams->CellRect = R;
    FCellParams->DrawAsFixed = false;
    FCellParams->BackgroundSet = false;
    FCellParamsFont->Assign(column->Font());
    FireGetCellParams(column, FCellParamsFont.get(), FCellParams->Background, State);
    column->FireGetCellParams(false, FCellParams.get());
    HideDuplicate(column, DataRow);
    bool processed = false;
    if (OnAdvDrawDataCell) OnAdvDrawDataCell(this, {ACol, ARow}, {DataCol, DataRow}, column, R, *FCellParams, processed);
    if (!processed && column->OnAdvDrawDataCell)
      column->OnAdvDrawDataCell(this, {ACol, ARow}, {DataCol, DataRow}, column, R, *FCellParams, processed);
    if (!processed) DefaultDataCellDrawing(ACol, ARow, DataCol, DataRow, R, State, column, record);
  } catch (...) {
    LeavePaintedRecord();
    throw;
  }
  LeavePaintedRecord();
}

void TCustomDBGridX::DefaultDataCellDrawing(Integer ACol, Integer ARow, Integer DataCol, Integer DataRow, TRect R,
                                            TGridDrawState State, TColumnX* Column, const TPaintedRecordX& Record) {
  TCanvas* canvas = Canvas();
  if (FCellParams->DrawAsFixed) {
    PaintCellAsFixed(ACol, ARow, R, State);
  } else if (FDefaultDrawing) {
    TColor background = FCellParams->Background;
    canvas->SetFont(FCellParamsFont.get());
    const bool currentCell = Record.Current && (DataCol == SelectedIndex() || FOptions.Contains(dgRowSelect));
    if (!(FCellParams->BackgroundSet && currentCell))
      PickDataCellColors(DataCol, DataRow, canvas->Font(), background, State);
    canvas->Brush()->SetColor(background);
    const bool raised = CellHas3DLook(ACol, ARow, State);
    const Integer dx = raised ? 1 : 2;
    const Integer dy = Flat() ? dx - 1 : dx;
    const bool buttons = ShowsEditButtons(Column, Record.Current, Record.Current && DataCol == SelectedIndex());
    TRect content = R;
    if (buttons) content.Right = std::max(R.Left, R.Right - CellButtonsWidth(Column));
    switch (Column->CellKind()) {
      case TColumnX::ckGraphic: PaintGraphicOrMemo(Column, content); break;
      case TColumnX::ckCheckbox: PaintCheckBoxCell(content, FCellParams->CheckboxState); break;
      case TColumnX::ckImageList: PaintImageCell(Column->ImageList(), content, FCellParams->ImageIndex); break;
      default: {
        TRect textRect = content;
        Integer textLeft = dx;
        // An image beside the text: a strip in the column's colour at the left holds it.
        if (TCustomImageList* images = Column->ImageList(); images && Column->ShowImageAndText()) {
          const TRect strip(R.Left, R.Top, std::min(content.Right, R.Left + images->Width() + 4), R.Bottom);
          canvas->Brush()->SetColor(Column->Color());
          PaintImageCell(images, strip, FCellParams->ImageIndex);
          canvas->Brush()->SetColor(background);
          textRect.Left = strip.Right;
          textLeft = 1;
        }
        WriteCellText(textRect, textLeft, dy, FCellParams->Text, TAlignment(FCellParams->Alignment), Column->Layout(),
                      Column->WordWrap() && FTallRows, Column->EndEllipsis());
      }
    }
    if (buttons) {
      // Opaque on the focused cell (or the highlighted current row), half faded in a hot
      // cell, faint elsewhere.
      Integer look = 80;
      if (Designing()) look = 30;
      else if (!FFilterEditMode && (State.Contains(gdFocused) || (FOptionsX.Contains(dghRowHighlight) && Record.Current)))
        look = 0;
      else if (State.Contains(gdHotTrack)) look = 30;
      PaintCellEditButtons(Column, {ACol, ARow}, R, content.Right, raised, look, background);
    }
    if (Record.Current) {
      PaintRequiredMark(Column, R);
      if (FIncSearching && DataCol == SelectedIndex() && State.Contains(gdFocused))
        PaintIncSearchText(content, dx, dy, FCellParams->Text, TAlignment(FCellParams->Alignment), Column->Layout());
    }
    if (raised) {
      TRect frame = R;
      DrawEdge(canvas, frame, BDR_RAISEDINNER, BF_RECT);
    }
  }
  if (FDefaultDrawing && State.Contains(gdFocused) && !Designing() && !FOptions.Contains(dgRowSelect) &&
      FUpdateLock == 0 && IsActiveControlOfForm(this) && (!FStyle || FStyle->ShowFocusRect))
    DrawFocusRect(canvas, R);
  if (!Column->Stored() && OnDrawDataCell) OnDrawDataCell(this, R, Column->Field(), State);
  FireDrawColumnCell(R, DataCol, Column, State);
}

// A data cell drawn like a fixed cell: the fixed colour (or the background an event set) and
// the fixed cells' frame, nothing else.
void TCustomDBGridX::PaintCellAsFixed(Integer ACol, Integer ARow, const TRect& R, TGridDrawState State) {
  TCanvas* canvas = Canvas();
  canvas->Brush()->SetColor(FCellParams->BackgroundSet ? FCellParams->Background : FixedColor());
  canvas->FillRect(R);
  if (CellHas3DLook(ACol, ARow, State) || FOptionsX.Contains(dghFixed3D)) {
    TRect frame = R;
    DrawEdge(canvas, frame, BDR_RAISEDINNER, BF_RECT);
  }
}

// A check box of the platform's size, centred in the cell (at its left when the cell is narrower).
void TCustomDBGridX::PaintCheckBoxCell(const TRect& R, Integer CheckState) {
  TCanvas* canvas = Canvas();
  canvas->FillRect(R);
  const Integer left = std::max(R.Left, (R.Left + R.Right - CheckBoxGlyphWidth) / 2);
  const Integer top = std::max(R.Top, (R.Top + R.Bottom - CheckBoxGlyphHeight) / 2);
  DrawCellButton(canvas, TRect(left, top, left + CheckBoxGlyphWidth, top + CheckBoxGlyphHeight),
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
  FireGetFooterParams(DataCol, DataRow, column, canvas->Font(), background, alignment, State, text);
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
