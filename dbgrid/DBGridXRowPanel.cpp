// The row panel: every record in one cell per row, its columns laid out inside like a small
// form, line by line from left to right.
#include "dbgrid/DBGridX.h"
#include <algorithm>
#include <cmath>

void TColumnX::SetInRowLinePos(Integer Value) {
  if (Value == FInRowLinePos) return;
  FInRowLinePos = Value;
  Changed(true);
}

void TColumnX::SetInRowLineHeight(Integer Value) {
  if (Value == FInRowLineHeight) return;
  FInRowLineHeight = Value;
  Changed(true);
}

void TGridRowPanelX::Assign(TPersistent* Source) {
  if (auto* source = dynamic_cast<TGridRowPanelX*>(Source)) SetActive(source->FActive);
  else TPersistent::Assign(Source);
}

void TGridRowPanelX::SetActive(bool Value) {
  if (Value == FActive) return;
  FActive = Value;
  if (!FGrid) return;
  if (Value && FGrid->ColCount() > FGrid->ColumnIndexToGridCol(0)) FGrid->SetCol(FGrid->ColumnIndexToGridCol(0));
  FGrid->RequestLayout();
}

Integer TCustomDBGridX::DefaultTitleRowHeight() {
  TCanvas measure;
  measure.SetFont(TitleFont());
  return measure.TextHeight(QStringLiteral("Wg")) + 4 + (Flat() ? 0 : 1);
}

void TCustomDBGridX::LayoutRowPanel() {
  const Integer lineHeight = DefaultTitleRowHeight();
  const Integer line = GridLineWidth();
  std::vector<Integer> lineEnds;
  FRowPanelRects.assign(size_t(FColumns->Count()), TRowPanelRectX());
  FRowPanelWidth = 0;
  FRowPanelHeight = lineHeight;
  for (Integer i = 0; i < FColumns->Count(); ++i) {
    TColumnX* column = FColumns->Items(i);
    const Integer first = column->InRowLinePos(), count = column->InRowLineHeight();
    if (Integer(lineEnds.size()) < first + count) lineEnds.resize(size_t(first + count), 0);
    const Integer x = *std::max_element(lineEnds.begin() + first, lineEnds.begin() + first + count);
    TRowPanelRectX& r = FRowPanelRects[size_t(i)];
    r.Left = x;
    r.Top = first * (line + lineHeight);
    r.Width = column->Visible() ? column->Width() : 0;
    r.Height = count * (line + lineHeight) - 1;
    r.IndentedLeft = r.Left;
    r.IndentedWidth = r.Width;
    if (x == 0) {
      r.IndentedLeft += FGroupIndentWidth;
      r.IndentedWidth += FGroupIndentWidth;
    }
    for (Integer l = first; l < first + count; ++l)
      lineEnds[size_t(l)] = column->Visible() ? x + r.IndentedWidth + line : x;
    if (column->Visible()) {
      FRowPanelWidth = std::max(FRowPanelWidth, r.Left + column->Width());
      FRowPanelHeight = std::max(FRowPanelHeight, r.Top + r.Height);
    }
  }
  FRowPanelLineHeight = lineHeight;
}

void TCustomDBGridX::ScaleRowPanelWidths(Integer Old, Integer New) {
  if (Old == 0) return;
  if (Integer(FRowPanelRects.size()) != FColumns->Count()) LayoutRowPanel();
  const Integer line = GridLineWidth();
  const double scale = double(New) / double(Old);
  FColumns->BeginUpdate();
  {
    TScopeGuard endUpdate([&] { FColumns->EndUpdate(); });
    for (Integer i = 0; i < FColumns->Count(); ++i) {
      TColumnX* column = FColumns->Items(i);
      const Integer left = FRowPanelRects[size_t(i)].Left;
      const Integer right = Integer(std::nearbyint((column->Width() + left + line) * scale));
      column->SetWidth(right - Integer(std::nearbyint(left * scale)) - line);
    }
  }
  LayoutRowPanel();
}

void TCustomDBGridX::SortColumnsByPanelPosition() {
  if (!FRowPanel->Active()) return;
  if (Integer(FRowPanelRects.size()) != FColumns->Count()) LayoutRowPanel();
  std::vector<Integer> order(size_t(FColumns->Count()));
  for (Integer i = 0; i < FColumns->Count(); ++i) order[size_t(i)] = i;
  std::stable_sort(order.begin(), order.end(), [&](Integer A, Integer B) {
    const TRowPanelRectX &a = FRowPanelRects[size_t(A)], &b = FRowPanelRects[size_t(B)];
    if (a.Left != b.Left) return a.Left < b.Left;
    if (a.Top != b.Top) return a.Top < b.Top;
    return !FColumns->Items(A)->Visible() && FColumns->Items(B)->Visible();
  });
  std::vector<TColumnX*> columns;
  for (Integer i : order) columns.push_back(FColumns->Items(i));
  FColumns->BeginUpdate();
  {
    TScopeGuard endUpdate([&] { FColumns->EndUpdate(); });
    for (Integer i = 0; i < Integer(columns.size()); ++i) columns[size_t(i)]->SetIndex(i);
  }
  LayoutRowPanel();
}

TColumnX* TCustomDBGridX::PanelColumnAtPoint(TPoint Point, bool Plain) const {
  if (UseRightToLeftAlignment()) Point.X = FRowPanelWidth - Point.X;
  const Integer right = FOptions.Contains(dgColLines) ? GridLineWidth() : 0;
  const Integer bottom = FOptions.Contains(dgRowLines) ? GridLineWidth() : 0;
  for (Integer i = 0; i < Integer(FRowPanelRects.size()) && i < FColumns->Count(); ++i) {
    const TRowPanelRectX& r = FRowPanelRects[size_t(i)];
    const Integer left = Plain ? r.Left : r.IndentedLeft, width = Plain ? r.Width : r.IndentedWidth;
    if (Point.X >= left && Point.X < left + width + right && Point.Y >= r.Top && Point.Y < r.Top + r.Height + bottom)
      return FColumns->Items(i);
  }
  return nullptr;
}

TColumnX* TCustomDBGridX::PanelCellAtPoint(TPoint Point, TRect& Rect, bool WithLines) const {
  if (UseRightToLeftAlignment()) Point.X = FRowPanelWidth - Point.X;
  const Integer right = WithLines && FOptions.Contains(dgColLines) ? GridLineWidth() : 0;
  const Integer bottom = WithLines && FOptions.Contains(dgRowLines) ? GridLineWidth() : 0;
  Rect = TRect();
  for (Integer i = 0; i < Integer(FRowPanelRects.size()) && i < FColumns->Count(); ++i) {
    const TRowPanelRectX& r = FRowPanelRects[size_t(i)];
    Rect = TRect(r.Left, r.Top, r.Left + r.Width + right, r.Top + r.Height + bottom);
    if (PtInRect(Rect, Point)) return FColumns->Items(i);
  }
  return nullptr;
}

TGridOptionsX TCustomDBGridX::EffectiveSizingOptions() const {
  if (!Designing()) return GridOptions();
  TGridOptionsX options{goColSizing};
  if (FColumns->IsCustomized()) options.Include(goColMoving);
  if (FRowPanel->Active()) options.Include(goRowSizing);
  return options;
}

void TCustomDBGridX::DropPanelColumn(TColumnX* Column, Integer TargetCol, Integer TargetLine) {
  if (!Column || TargetCol == Column->Index()) return;
  if (Integer(FRowPanelRects.size()) != FColumns->Count()) LayoutRowPanel();
  FColumns->BeginUpdate();
  {
    TScopeGuard endUpdate([&] { FColumns->EndUpdate(); });
    Column->SetInRowLinePos(TargetLine);
    Integer target = std::min(TargetCol, FColumns->Count() - 1);
    if (target >= 0) {
      const TRowPanelRectX extent = FRowPanelRects[size_t(target)];
      for (Integer j = target + 1; j < FColumns->Count(); ++j)
        if (FRowPanelRects[size_t(j)].Left == extent.Left && FRowPanelRects[size_t(j)].Width == extent.Width) target = j;
    }
    const Integer from = Column->Index();
    Column->SetIndex(target >= from ? target : target + 1);
  }
  LayoutRowPanel();
}

void TCustomDBGridX::ShowPanelColumn(Integer Index) {
  if (Index < 0 || Index >= Integer(FRowPanelRects.size()) || !HandleAllocated()) return;
  const TRowPanelRectX& r = FRowPanelRects[size_t(Index)];
  const Integer line = FOptions.Contains(dgColLines) ? GridLineWidth() : 0;
  Integer fixedWidth = 0;
  for (Integer col = 0; col < FixedCols(); ++col) fixedWidth += ColWidths(col) + line;
  const Integer visibleWidth = GridClientWidth() - fixedWidth;
  const Integer right = r.IndentedLeft + r.IndentedWidth + line;
  Integer position = LeftColOffset();
  if (right > position + visibleWidth) position = r.IndentedWidth > visibleWidth ? r.IndentedLeft : right - visibleWidth;
  if (r.IndentedLeft < position) position = r.IndentedLeft;
  ScrollByPixels(position - LeftColOffset(), 0);
}

void TCustomDBGridX::SetPanelColumn(Integer Index) {
  if (Index == FRowPanelColumn) return;
  // The edited text goes into the column it was typed in before the editor moves on.
  FDataLink->UpdateRecord();
  ShowPanelColumn(Index);
  FRowPanelColumn = Index;
  SyncEditor();
  InvalidateCurrentRow();
}

void TCustomDBGridX::SyncEditor() {
  if (FRowPanel->Active() && (FEditorPanelColumn != FRowPanelColumn || FEditorPanelRow != Row())) {
    FEditorPanelColumn = FRowPanelColumn;
    FEditorPanelRow = Row();
    ReloadEditor();
    return;
  }
  TCustomGridX::SyncEditor();
}

void TCustomDBGridX::LeaveEditorMode() {
  TCustomGridX::LeaveEditorMode();
  if (!FRowPanel->Active() || (FEditorPanelColumn == -1 && FEditorPanelRow == -1)) return;
  InvalidateCurrentRow();
  FEditorPanelColumn = FEditorPanelRow = -1;
}
