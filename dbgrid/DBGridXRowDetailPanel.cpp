// The row detail panel: its settings, its control, its place under the current row, the
// expand button and the record moves it may stop.
#include "dbgrid/DBGridX.h"
#include "grid/PaintHelpersX.h"
#include <algorithm>

namespace {
constexpr Integer DetailButtonWidth = 18;
}

TRowDetailPanelControlX::TRowDetailPanelControlX(TComponent* AOwner) : TScrollingWinControl(AOwner) {
  SetName(QStringLiteral("RowDetailData"));
  SetBounds(0, 0, 185, 41);
  SetBorderStyle(bsSingle);
}

void TRowDetailPanelControlX::Dispatch(TMessage& Message) {
  TScrollingWinControl::Dispatch(Message);
  if (Message.Msg != CM_CHILDKEY || Message.Result != 0 || Message.WParam != VK_UP) return;
  auto* grid = dynamic_cast<TCustomDBGridX*>(Parent());
  const bool ctrlOnly = GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_MENU) >= 0;
  if (!grid || grid->ComponentState().Contains(csDesigning) || !ctrlOnly) return;
  grid->SetFocus();
  Message.Result = 1;
}

// ---- settings

TRowDetailPanelX::TRowDetailPanelX(TCustomDBGridX* Grid) : FGrid(Grid), FColor(Grid ? Grid->FixedColor() : clBtnFace) {}

void TRowDetailPanelX::Assign(TPersistent* Source) {
  if (auto* source = dynamic_cast<TRowDetailPanelX*>(Source)) SetActive(source->FActive);
  else TPersistent::Assign(Source);
}

template <typename T> void TRowDetailPanelX::Store(T& Field, T Value) {
  if (Field == Value) return;
  Field = Value;
  if (FGrid) FGrid->PlaceDetailPanel();
}

void TRowDetailPanelX::SetActive(bool Value) {
  if (Value == FActive) return;
  FActive = Value;
  if (!FGrid) return;
  const TComponentState state = FGrid->ComponentState();
  if (Value && state.Contains(csDesigning) && !state.Contains(csLoading)) FShown = true;
  if (!Value) FShown = false;
  FGrid->PlaceDetailPanel();
  FGrid->RequestLayout();
}

void TRowDetailPanelX::SetWidth(Integer Value) { Store(FWidth, Value); }
void TRowDetailPanelX::SetHeight(Integer Value) { Store(FHeight, Value); }
void TRowDetailPanelX::SetBevelEdges(TBevelEdges Value) { Store(FBevelEdges, Value); }
void TRowDetailPanelX::SetBevelInner(TBevelCut Value) { Store(FBevelInner, Value); }
void TRowDetailPanelX::SetBevelOuter(TBevelCut Value) { Store(FBevelOuter, Value); }
void TRowDetailPanelX::SetBevelKind(TBevelKind Value) { Store(FBevelKind, Value); }
void TRowDetailPanelX::SetBevelWidth(TBevelWidth Value) { Store(FBevelWidth, Value); }
void TRowDetailPanelX::SetBorderStyle(TBorderStyle Value) { Store(FBorderStyle, Value); }
void TRowDetailPanelX::SetParentColor(bool Value) { Store(FParentColor, Value); }

TColor TRowDetailPanelX::Color() const { return FParentColor && FGrid ? FGrid->Color() : FColor; }

void TRowDetailPanelX::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  FParentColor = false;
  if (FGrid) FGrid->PlaceDetailPanel();
}

void TRowDetailPanelX::SetShown(bool Show) {
  if (Show == FShown) return;
  bool allowed = true;
  if (Show) {
    TDataSet* dataSet = FGrid->DataSet();
    allowed = FGrid->GridDataLink()->Active() && dataSet && !dataSet->IsEmpty();
  }
  if (!FGrid->ComponentState().Contains(csDestroying)) {
    if (Show && FGrid->OnRowDetailPanelShow) FGrid->OnRowDetailPanelShow(FGrid, allowed);
    if (!Show && FGrid->OnRowDetailPanelHide) FGrid->OnRowDetailPanelHide(FGrid, allowed);
  }
  if (!allowed) return;
  FShown = Show;
  FGrid->PlaceDetailPanel();
  if (Show) FGrid->ShowWholeDetailRow();
  else if (!FGrid->ComponentState().Contains(csDestroying)) FGrid->CloseGapUnderLastRow();
}

void TRowDetailPanelX::SetActiveControl(TWinControl* Value) {
  if (Value == FActiveControl) return;
  if (FActiveControl && FGrid && !FActiveControl->ComponentState().Contains(csDestroying))
    FActiveControl->RemoveFreeNotification(FGrid);
  FActiveControl = Value;
  if (FActiveControl && FGrid) FActiveControl->FreeNotification(FGrid);
}

// ---- the grid's side

Integer TGridDataLinkX::MoveBy(Integer Distance) { return FGrid->MoveRecordsBy(Distance); }

Integer TCustomDBGridX::MoveRecordsBy(Integer Distance) {
  if (Distance == 0) return 0;
  if (FRowDetailPanel->Shown() && FDataLink->Active()) {
    FRowDetailPanel->SetShown(false);
    if (FRowDetailPanel->Shown()) return 0;
  }
  if (FDataGrouping->GroupingWorks()) return MoveGroupCursor(Distance);
  return FDataLink->LinkMoveBy(Distance);
}

void TCustomDBGridX::ShowWholeDetailRow() {
  if (!HandleAllocated() || !FRowDetailPanel->Shown()) return;
  const Integer row = Row();
  if (row < FixedRows() || row >= RowCount()) return;
  // The row as tall as it gets with the whole panel under it, measured as the grid measures
  // the top of its last page.
  const Integer panelHeight = FRowDetailPanel->Height() > 0 ? FRowDetailPanel->Height() : 0;
  const Integer shown = RowHeights(row);
  SetRowHeights(row, std::max(shown, CalcRecordHeight() + panelHeight));
  TGridDrawInfoX di;
  FillDrawInfo(di);
  const Integer top = CalcMaxTopLeft({Col(), row}, di).Y;
  SetRowHeights(row, shown);
  if (TopRow() < top) SetTopRow(top);
  PlaceDetailPanel();
}

void TCustomDBGridX::CloseGapUnderLastRow() {
  if (!HandleAllocated() || RowCount() <= FixedRows()) return;
  TGridDrawInfoX di;
  FillDrawInfo(di);
  const Integer top = std::max(FixedRows(), CalcMaxTopLeft({Col(), RowCount() - 1}, di).Y);
  if (TopRow() > top) SetTopRow(top);
}

// The panel stands under its row, so it follows the row when the grid scrolls, changes size
// or rebuilds its layout.
void TCustomDBGridX::ScrollPositionChanged() {
  TCustomGridX::ScrollPositionChanged();
  FollowFilterEditor();
  if (FRowDetailPanel && FRowDetailPanel->Active()) PlaceDetailPanel();
}

void TCustomDBGridX::WMSize(TMessage& Message) {
  TCustomGridX::WMSize(Message);
  if (FRowDetailPanel && FRowDetailPanel->Active()) PlaceDetailPanel();
}

void TCustomDBGridX::PlaceDetailPanel() {
  if (!FRowDetailPanelControl || FDestroying) return;
  TRowDetailPanelControlX* panel = FRowDetailPanelControl;
  const bool designing = ComponentState().Contains(csDesigning);
  const Integer row = Row();
  const Integer dataHeight = CalcRecordHeight();
  const bool wanted = FRowDetailPanel->Active() && (FRowDetailPanel->Shown() || designing);
  const bool inView = row >= TopRow() && row < TopRow() + std::max<Integer>(1, FullyVisibleRowCount()) &&
                      row >= HeaderRowCount() && row < RowCount();
  if (FDetailPanelRow >= 0 && FDetailPanelRow < RowCount() && FDetailPanelRow != row)
    SetRowHeights(FDetailPanelRow, FStdRowHeight);
  FDetailPanelRow = -1;
  if (wanted && inView && HandleAllocated()) {
    const Integer column = FrozenCols() > 0 ? ColumnIndexToGridCol(0) : LeftCol();
    const TRect cell = CellRect(column, row);
    const Integer top = cell.Top + dataHeight;
    const Integer x = cell.Left + TreeNodeIndent() + FGroupIndentWidth + DetailButtonWidth;
    const Integer clientWidth = ClientWidth(), clientHeight = ClientHeight();
    Integer width = FRowDetailPanel->Width();
    if (width == 0) {
      const TRect last = CellRect(FullColCount() - 1, row);
      const Integer dataRight = last.Right > 0 ? std::min(last.Right, clientWidth) : clientWidth;
      width = dataRight - x - GridLineWidth();
    } else if (clientWidth - x < width) {
      width = clientWidth - x;
    }
    Integer height = FRowDetailPanel->Height();
    if (height == 0 || top + height > clientHeight) height = clientHeight - top;
    panel->SetBorderStyle(FRowDetailPanel->BorderStyle());
    panel->SetColor(FRowDetailPanel->Color());
    panel->SetBounds(x, top, std::max<Integer>(width, 0), std::max<Integer>(height, 0));
    panel->SetVisible(true);
    SetRowHeights(row, dataHeight + panel->Height());
    FDetailPanelRow = row;
  } else {
    panel->SetVisible(false);
    if (designing && !FRowDetailPanel->Active()) panel->SetBounds(0, 0, 0, 0);
    if (row >= HeaderRowCount() && row < RowCount() && RowHeights(row) != FStdRowHeight) SetRowHeights(row, FStdRowHeight);
  }
}

Integer TCustomDBGridX::PaintRowDetailArea(Integer DataRow, TGridDrawState, const TRect& R) {
  if (!FRowDetailPanel->Active()) return 0;
  TCanvas* canvas = Canvas();
  const TRect strip(R.Left, R.Top, std::min(R.Left + DetailButtonWidth, R.Right), R.Bottom);
  canvas->Brush()->SetColor(Color());
  canvas->FillRect(strip);
  const bool open = FRowDetailPanel->Shown() && DataRow == FDataLink->ActiveRecord();
  const TRect box(strip.Left, R.Top, strip.Right, R.Top + std::min<Integer>(R.Height(), FStdRowHeight));
  DrawTreeNodeElement(canvas, box, open ? 3 : 7, 0, 1.0, 1.0, false);
  return DetailButtonWidth;
}

bool TCustomDBGridX::DetailButtonInCell(Integer X, TColumnX* Column, Integer CellWidth) {
  bool hasPanel = FRowDetailPanel->Active();
  if (OnCheckRowHaveDetailPanel) OnCheckRowHaveDetailPanel(this, hasPanel);
  if (!hasPanel || FVisibleColumns.Count() == 0 || Column != FVisibleColumns[0]) return false;
  if (UseRightToLeftAlignment()) X = CellWidth - X;
  const Integer start = TreeNodeIndent() + (FRowPanel->Active() ? 0 : FGroupIndentWidth);
  return X >= start && X < start + DetailButtonWidth;
}

bool TCustomDBGridX::DetailButtonAtPoint(Integer X, Integer Y) {
  const TGridCoord cell = CellAtPoint(X, Y);
  Integer dataCol = 0, dataRow = 0;
  const TCellTypeX type = GetCellType(cell.X, cell.Y, dataCol, dataRow);
  if (type.RowKind != carData || type.ColKind == cacIndicator || dataCol < 0 || dataCol >= FColumns->Count())
    return false;
  const TRect r = CellRect(cell.X, cell.Y);
  if (!FRowPanel->Active()) return DetailButtonInCell(X - r.Left, FColumns->Items(dataCol), r.Width());
  // Inside the panel the button sits in the first visible column's own rectangle; the point is
  // taken in the panel's layout, which a right-to-left grid mirrors.
  TColumnX* column = PanelColumnUnder(cell, X, Y, false);
  if (!column || column->Index() >= Integer(FRowPanelRects.size())) return false;
  const TRowPanelRectX& own = FRowPanelRects[size_t(column->Index())];
  Integer x = X - r.Left + LeftColOffset();
  if (UseRightToLeftAlignment()) x = FRowPanelWidth - x;
  const Integer width = own.IndentedWidth - (own.IndentedLeft - own.Left);
  x -= own.IndentedLeft;
  return DetailButtonInCell(UseRightToLeftAlignment() ? width - x : x, column, width);
}

void TCustomDBGridX::GetEditorRect(Integer ACol, Integer ARow, TRect& R) {
  if (FRowPanel->Active()) {
    R = PanelColumnRect(ACol, ARow, FRowPanelColumn);
    const bool firstVisible = FVisibleColumns.Count() > 0 && FRowPanelColumn == FVisibleColumns[0]->Index();
    if (FRowDetailPanel->Active() && firstVisible && R.Width() > DetailButtonWidth) {
      if (UseRightToLeftReading()) R.Right -= DetailButtonWidth;
      else R.Left += DetailButtonWidth;
    }
    return;
  }
  TCustomGridX::GetEditorRect(ACol, ARow, R);
  const Integer firstDataCol = ColumnIndexToGridCol(0);
  if (FDataGrouping->GroupingWorks() && FVisibleColumns.Count() > 0 &&
      ACol == ColumnIndexToGridCol(FVisibleColumns[0]->Index()))
    R.Left += FGroupIndentWidth;
  if (FRowDetailPanel->Active() && ACol == firstDataCol && R.Width() > DetailButtonWidth) R.Left += DetailButtonWidth;
  if (FRowDetailPanel->Shown() && ARow == Row()) R.Bottom = std::min(R.Bottom, R.Top + CalcRecordHeight());
}

void TCustomDBGridX::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent*) {
  if (FRowDetailPanelControl) Proc(FRowDetailPanelControl);
}

void TCustomDBGridX::FocusDetailPanel() {
  if (!FRowDetailPanelControl || !FRowDetailPanelControl->Visible()) return;
  TWinControl* target = FRowDetailPanel->ActiveControl();
  if (!target || !target->CanFocus()) target = FRowDetailPanelControl->FindNextControl(nullptr, true, true, false);
  if (target && target->CanFocus()) target->SetFocus();
}
