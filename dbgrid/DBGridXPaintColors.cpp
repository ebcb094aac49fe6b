// Which cells are drawn as selected, and in which colours: the selection, the focused
// highlight and the highlighted current row for data cells; dark grey for the indicator,
// titles and filter cells of what is selected, the highlight colours for footers. And which
// cells are drawn raised.
#include "dbgrid/DBGridX.h"
#include "dbgrid/DBGridXSelection.h"
#include "platform/ui/SystemColors.h"

bool TCustomDBGridX::IsCellSelected(Integer ACol, Integer ARow, const TBookmarkStr& Bookmark, Integer DataCol) {
  const TDBGridXSelectionType kind = FSelection->SelectionKind();
  if (kind == gstAll) return true;
  const bool dataRow = ARow >= HeaderRowCount() && ARow < RowCount();
  if (ACol < FIndicatorColCount)
    return dataRow && kind == gstRecordBookmarks && FBookmarks->IndexOfBookmark(Bookmark) >= 0;
  if (dataRow) return FSelection->CellInSelection(DataCol, Bookmark);
  return kind == gstColumns && DataCol >= 0 && DataCol < FColumns->Count() &&
         FSelection->Columns()->IndexOf(FColumns->Items(DataCol)) >= 0;
}

bool TCustomDBGridX::PaintedCellSelected(Integer ACol, Integer ARow, Integer DataCol) {
  const TDBGridXSelectionType kind = FSelection->SelectionKind();
  if (kind == gstNon || !FDataLink->Active()) return false;
  const bool dataRow = ARow >= HeaderRowCount() && ARow < RowCount();
  const bool needsRecord =
      dataRow && (kind == gstRectangle || (kind == gstRecordBookmarks && FBookmarks->GetCount() > 0));
  return IsCellSelected(ACol, ARow, needsRecord ? DataSet()->Bookmark() : TBookmarkStr(), DataCol);
}

// An attached style decides; the rules below are those of a grid without one.
bool TCustomDBGridX::PickDataCellColors(Integer DataCol, Integer DataRow, TFont* AFont, TColor& Background,
                                        TGridDrawState State) {
  const Integer gridRow = DataRow + HeaderRowCount();
  const bool currentRow = gridRow == Row();
  const bool selected = PaintedCellSelected(DataCol + FIndicatorColCount, gridRow, DataCol);
  if (FStyle)
    return FStyle->DataCellColors(this, DataCol + FIndicatorColCount, gridRow, DataCol, DataRow, 0, State, selected,
                                  Background, AFont);
  bool focus = false;
  bool draw = selected;
  if (!selected) {
    focus = IsFocusOwner() && FOptionsX.Contains(dghHighlightFocus);
    bool selectedState = State.Contains(gdSelected) || (currentRow && FOptions.Contains(dgRowSelect));
    // Row highlighting marks the rest of the current row as selected and focused.
    if (FOptionsX.Contains(dghRowHighlight) && currentRow && FSelection->SelectionKind() == gstNon &&
        !State.Contains(gdCurrent)) {
      focus = true;
      selectedState = true;
    }
    draw = selectedState && (FOptions.Contains(dgAlwaysShowSelection) || focus) &&
           (FUpdateLock == 0 || FOptions.Contains(dgRowSelect));
  }
  if (!draw) return false;
  if (GridOrEditorFocused()) {
    Background = clHighlight;
    AFont->SetColor(clHighlightText);
  } else if (currentRow && (State.Contains(gdCurrent) || FOptions.Contains(dgRowSelect)) &&
             (focus || FOptions.Contains(dgAlwaysShowSelection))) {
    Background = clBtnShadow;
    AFont->SetColor(clHighlightText);
  } else {
    Background = clBtnFace;
  }
  return true;
}

bool TCustomDBGridX::PickFixedCellColors(Integer ACol, Integer ARow, TCellTypeX CellType, bool Selected,
                                         TColor& Background, TFont* AFont) {
  if (FStyle) {
    Integer areaCol = ACol - FIndicatorColCount, areaRow = ARow;
    if (CellType.RowKind == carFooter) areaRow = ARow - RowCount();
    else if (CellType.RowKind == carFilter) areaRow = ARow - TitlesShown();
    return FStyle->FixedCellColors(this, ACol, ARow, areaCol, areaRow, CellType, TGridDrawState{gdFixed}, Selected,
                                   Background, AFont);
  }
  if (!Selected) return false;
  if (CellType.ColKind == cacIndicator || CellType.RowKind == carTitle || CellType.RowKind == carFilter) {
    Background = TColor(0x404040);
    AFont->SetColor(clWhite);
  } else if (GridOrEditorFocused()) {
    Background = clHighlight;
    AFont->SetColor(clHighlightText);
  } else {
    Background = clBtnFace;
  }
  return true;
}

bool TCustomDBGridX::CellHas3DLook(Integer ACol, Integer ARow, TGridDrawState State) {
  const Integer dataCol = ACol - FIndicatorColCount;
  const Integer dataRow = ARow - HeaderRowCount();
  const bool footer = ARow >= RowCount();
  // A filter cell is an edit field, never a button.
  if (dataRow == -1 && UnderTitleRowCount() > 0 && dataCol >= 0 && CanFilterColumn(dataCol)) return false;
  if (State.Contains(gdFixed) && FOptionsX.Contains(dghFixed3D) && (dataCol < 0 || dataRow < 0)) return true;
  if (footer) return FOptionsX.Contains(dghFooter3D) && FooterRowCount() > 0;
  if (FOptionsX.Contains(dghData3D) && !State.Contains(gdFixed)) return true;
  return FOptionsX.Contains(dghFrozen3D) && dataCol >= 0 && dataRow >= 0 && dataCol < FFrozenCols;
}

void TCustomDBGridX::HandleSelectionChange() {
  if (!HandleAllocated()) return;
  const TDBGridXSelectionType kind = FSelection->SelectionKind();
  if (kind == gstAll) Invalidate();
  else if (kind != gstNon) InvalidateGridRect(FSelection->SelectionGridRect());
  InvalidateCurrentRow();
  FSelectionShownFocused = GridOrEditorFocused();
}

void TCustomDBGridX::FollowFocusChange() {
  if (GridOrEditorFocused() == FSelectionShownFocused) return;
  HandleSelectionChange();
  if (FEditButtonsShowOptions == TEditButtonsShowOptionsX{sebShowOnlyWhenGridActiveX}) Invalidate();
}

void TCustomDBGridX::WMSetFocus(TMessage& Message) {
  UpdateIme();
  TCustomGridX::WMSetFocus(Message);
  FollowFocusChange();
}
