// The layout rebuild and the locks that hold it back: default and persistent columns, the
// indicator, frozen and contra-fixed columns, row and title heights, the multi-level title
// tree, fitting column widths to the client width, and the reactions to sized and moved
// columns.
#include "dbgrid/DBGridX.h"
#include "dbgrid/DBGridXTitleCaption.h"
#include "grid/ButtonFacesX.h"
#include "grid/LibraryRoutinesX.h"
#include "platform/rtl/ScopeGuards.h"
#include "platform/ui/DrawingRoutines.h"
#include "platform/ui/SystemColors.h"
#include <QHash>

namespace {
// Text measurements in a font without a device.
struct TFontMeasure {
  explicit TFontMeasure(TFont* Font) { Canvas.SetFont(Font); }
  Integer Height(const String& Text) const { return Canvas.TextHeight(Text); }
  Integer Width(const String& Text) const { return Canvas.TextWidth(Text); }
  TTextMetric Metrics() const { return Canvas.TextMetrics(); }
  TCanvas Canvas;
};

// The height of a title caption broken into lines Width pixels wide in Font. Every layout
// measures every title, and breaking text into lines is costly, while the same text, width
// and font always give the same height: measurements are kept for the process.
Integer CaptionHeight(TFont* Font, const String& Text, Integer Width) {
  static QHash<QString, Integer> measured;
  const QString key = Font->ToQFont().key() + u'\n' + QString::number(Width) + u'\n' + Text;
  if (const auto found = measured.constFind(key); found != measured.constEnd()) return *found;
  TCanvas canvas;
  canvas.SetFont(Font);
  const Integer height = TitleCaptionHeight(&canvas, Text, Width);
  if (measured.size() >= 4096) measured.clear();
  measured.insert(key, height);
  return height;
}

void CollectTitleNodes(THeadTreeNode* Node, Integer Depth, std::vector<std::pair<THeadTreeNode*, Integer>>& Nodes) {
  for (THeadTreeNode* child : Node->Children()) {
    Nodes.emplace_back(child, Depth);
    if (child->FirstChild) CollectTitleNodes(child, Depth + 1, Nodes);
  }
}
}  // namespace

// ---- locks

void TCustomDBGridX::LockLayout() {
  LockUpdates();
  if (FLayoutLock == 0) FColumns->BeginUpdate();
  ++FLayoutLock;
}

void TCustomDBGridX::UnlockLayout() {
  if (FLayoutLock == 0) return;
  if (FLayoutLock == 1) {
    try {
      RebuildLayout();
    } catch (...) {
      FColumns->EndUpdate();
      --FLayoutLock;
      UnlockUpdates();
      throw;
    }
    FColumns->EndUpdate();
  }
  --FLayoutLock;
  UnlockUpdates();
}

void TCustomDBGridX::UnlockLayoutQuietly() {
  if (FLayoutLock == 0) return;
  if (FLayoutLock == 1) FColumns->EndUpdate();
  --FLayoutLock;
  UnlockUpdates();
}

void TCustomDBGridX::UnlockUpdates() {
  if (FUpdateLock > 0) --FUpdateLock;
  if (FUpdateLock != 0 || FLayoutLock != 0) return;
  if (FLayoutPending) RequestLayout();
  if (FSizeChangedWhileLocked) HandleSizeChange();
}

bool TCustomDBGridX::TryLockLayout() {
  if (FLayoutLock != 0 || FUpdateLock != 0) return false;
  LockLayout();
  return true;
}

void TCustomDBGridX::RequestDeferredLayout() {
  if (HandleAllocated() && !HasPendingMessage(this, WM_DEFERRED_LAYOUT)) PostMessage(this, WM_DEFERRED_LAYOUT);
  // Only the one layout level the caller holds is given back, never more.
  UnlockLayoutQuietly();
}

void TCustomDBGridX::RequestLayout() {
  if (TryLockLayout()) UnlockLayout();
}

void TCustomDBGridX::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_TIMER && Message.WParam == WPARAM(IncSearchTimerId)) {
    StopIncSearch();
    return;
  }
  if (Message.Msg == WM_TIMER && Message.WParam == WPARAM(GridMoveTimerId) && RecordDragging()) {
    RecordDragTimerTick();
    return;
  }
  if (Message.Msg == CM_HINTSHOWPAUSE) {
    CMHintShowPause(Message);
    return;
  }
  if (Message.Msg == CM_HINTSHOW) {
    CMHintShow(Message);
    return;
  }
  if (Message.Msg == WM_NCCALCSIZE) return WMNCCalcSize(Message);
  if (Message.Msg == WM_NCPAINT) return WMNCPaint(Message);
  if (Message.Msg == CM_PARENTFONTCHANGED) return CMParentFontChanged(Message);
  if (Message.Msg == CM_PARENTCOLORCHANGED) return CMParentColorChanged(Message);
  if (Message.Msg == WM_IME_STARTCOMPOSITION) return WMImeStartComposition(Message);
  if (Message.Msg == WM_DEFERRED_LAYOUT) {
    // A refused request is not posted again while the lock is held (that would spin); the
    // last release of the locks does the rebuild.
    if (TryLockLayout()) UnlockLayout();
    else FLayoutPending = true;
    return;
  }
  TCustomGridX::Dispatch(Message);
}

void TCustomDBGridX::RebuildLayout() {
  FLayoutPending = false;
  ++FLayoutRebuilds;
  InternalLayout();
  FSelection->Columns()->Reconcile();
}

// ---- sizes

Integer TCustomDBGridX::IndicatorWidthOf() {
  const Integer base = FOptions.Contains(dgIndicator) ? 11 : 0;
  TDataSet* dataSet = FDataLink ? DataSet() : nullptr;
  if (!FOptionsX.Contains(dghShowRecNo) || !dataSet) return base;
  Integer digits = 1;
  if (FDataLink->Active()) {
    const Integer count = dataSet->RecordCount();
    if (count >= 10) digits = Integer(QString::number(count).size());
  }
  TFont small;
  small.Assign(Font());
  small.SetSize(Font()->Size() - 1);
  const Integer textWidth = TFontMeasure(&small).Width(String(digits, u'0'));
  return std::max<Integer>(11, (base != 0 ? base : 2) + textWidth + 2);
}

Integer TCustomDBGridX::StdRowHeightOf() {
  Integer height = TFontMeasure(Font()).Height(QStringLiteral("Wg")) + 1;
  if (!Flat()) height += 2;
  if (FOptions.Contains(dgRowLines)) height += GridLineWidth();
  return height;
}

Integer TCustomDBGridX::WidthFromGrid(const TColumnX* Column, Integer W) const {
  return FVisibleColumns.Count() > 0 && FVisibleColumns[0] == Column ? W - FGroupIndentWidth : W;
}

Integer TCustomDBGridX::WidthToGrid(const TColumnX* Column, Integer W) const {
  return FVisibleColumns.Count() > 0 && FVisibleColumns[0] == Column ? W + FGroupIndentWidth : W;
}

Integer TCustomDBGridX::UnderTitleRowCount() const {
  return FSTFilter->Visible() && FSTFilter->Location() == stflUnderTitleFilterX ? 1 : 0;
}

// ---- cell classification

TCellTypeX TCustomDBGridX::GetCellType(Integer ACol, Integer ARow, Integer& DataCol, Integer& DataRow) const {
  TCellTypeX type;
  DataCol = ACol;
  if (ACol >= FIndicatorColCount) {
    type.ColKind = cacData;
    DataCol = ACol - FIndicatorColCount;
  }
  DataRow = ARow;
  const Integer titles = TitlesShown();
  const Integer header = HeaderRowCount();
  if (ARow >= 0 && ARow < titles) {
    type.RowKind = carTitle;
  } else if (ARow >= titles && ARow < header) {
    type.RowKind = carFilter;
    DataRow = ARow - titles;
  } else if (ARow >= header && ARow < RowCount()) {
    type.RowKind = carData;
    DataRow = ARow - header;
  } else if (ARow >= RowCount() && ARow < FullRowCount()) {
    type.RowKind = carFooter;
    DataRow = ARow - RowCount();
  } else {
    throw Exception(QStringLiteral("Algorithm error in TCustomDBGridX.GetCellType"));
  }
  return type;
}

// ---- the rebuild

void TCustomDBGridX::RebindColumns() {
  // Mixed columns: a persistent column met after a default one drops every default column.
  bool metDefault = false;
  for (Integer i = 0; i < FColumns->Count(); ++i) {
    if (!FColumns->Items(i)->Stored()) {
      metDefault = true;
    } else if (metDefault) {
      for (Integer k = FColumns->Count() - 1; k >= 0; --k)
        if (!FColumns->Items(k)->Stored()) delete FColumns->Items(k);
      break;
    }
  }
  FDataLink->ClearMapping();
  if (FDataLink->Active()) MapDataFields();
  if (FColumns->IsCustomized()) {
    FColumns->ClearFieldCaches();
    SyncFooterSumItems();
    return;
  }
  TDataSet* dataSet = DataSet();
  const Integer mapped = FDataLink->MappedFieldCount();
  std::vector<TField*> fields;
  for (Integer i = 0; i < mapped; ++i) fields.push_back(FDataLink->GetFields(i));
  if (FDataLink->Active() || (dataSet && !dataSet->DefaultFields())) {
    for (Integer k = FColumns->Count() - 1; k >= 0; --k) {
      TField* field = FColumns->Items(k)->Field();
      if (!field || std::find(fields.begin(), fields.end(), field) == fields.end()) delete FColumns->Items(k);
    }
  } else {
    FColumns->Clear();
  }
  const Integer passes = std::max<Integer>(mapped, FColumns->Count() == 0 ? 1 : 0);
  for (Integer i = 0; i < passes; ++i) {
    TField* field = i < mapped ? fields[size_t(i)] : nullptr;
    TColumnX* column = nullptr;
    for (Integer k = i; k < FColumns->Count() && field; ++k)
      if (FColumns->Items(k)->Field() == field) {
        column = FColumns->Items(k);
        break;
      }
    if (!column) {
      column = FColumns->AddDefault();
      column->SetField(field);
    }
    if (column->Index() != i) column->TCollectionItem::SetIndex(i);
  }
  SyncFooterSumItems();
}

void TCustomDBGridX::SyncFooterSumItems() {
  FSumList->BeginSumsUpdate();
  TScopeGuard recalcOnce([this] { FSumList->EndSumsUpdate(); });
  for (Integer i = 0; i < FColumns->Count(); ++i) FColumns->Items(i)->SyncFooterSums();
}

void TCustomDBGridX::InternalLayout() {
  if (ComponentState().Contains(csLoading) || FDestroying) return;
  KillPendingMessages(this, WM_DEFERRED_LAYOUT);
  LockUpdate();
  const Integer savedLeftCol = LeftCol();
  try {
    RebindColumns();
    const Integer indicatorOffset = IndicatorShown() ? 1 : 0;
    FIndicatorColCount = Byte(indicatorOffset);

    FVisibleColumns.Clear();
    Integer hidden = 0;
    bool hiddenRun = true;
    for (Integer i = 0; i < FColumns->Count(); ++i) {
      TColumnX* column = FColumns->Items(i);
      if (column->Visible()) {
        FVisibleColumns.Add(column);
        if (i >= FFrozenCols + hidden) hiddenRun = false;
      } else if (i < FFrozenCols + hidden || hiddenRun) {
        ++hidden;
      }
    }
    const Integer visible = FVisibleColumns.Count();
    if (visible == 0 && hidden > 0) --hidden;

    const Integer fixed = FFrozenCols < visible ? indicatorOffset + FFrozenCols
                                                : indicatorOffset + std::max<Integer>(visible - 1, 0);
    const Integer columnCount = FColumns->Count();
    if (FDataLink->Active() || FColumns->IsCustomized()) {
      const Integer contra = std::max<Integer>(0, std::min(FContraCols, visible - fixed));
      TCustomGridX::SetContraColCount(0);
      SetFixedCols(0);
      SetFrozenColCount(0);
      SetColCount(std::max<Integer>(columnCount + indicatorOffset - contra, 1));
      TCustomGridX::SetContraColCount(contra);
      const Integer fixedCols = std::min(fixed, ColCount() - 1);
      SetFixedCols(fixedCols);
      SetFrozenColCount(std::max<Integer>(fixedCols - indicatorOffset, 0));
    } else {
      TCustomGridX::SetContraColCount(0);
      SetFixedCols(0);
      SetFrozenColCount(0);
      SetColCount(std::max<Integer>(columnCount + indicatorOffset, 1));
      SetFixedCols(std::min(hidden + indicatorOffset, ColCount() - 1));
    }

    if (FRowPanel->Active()) LayoutRowPanel();
    MeasureRows();
    const bool horzBar = (!FAutoFitColWidths || Designing()) && FHorzScrollBar->Visible() &&
                         !FHorzScrollBar->ExtScrollBar();
    SetScrollBars(horzBar ? ssHorizontal : ssNone);
    UpdateColumnWidths();
    if (FAutoFitColWidths && !Designing()) FitColumnWidths();
    ComputeTitleHeight();
    UpdateColumnWidths();
    UpdateRowCount();
    if (FRowDetailPanel && FRowDetailPanel->Active()) PlaceDetailPanel();
    FollowActiveRecord();
    Invalidate();
    UpdateLineColors();
    FollowFilterEditor();
  } catch (...) {
    SetLeftCol(std::min(savedLeftCol, ColCount() - 1));
    UnlockUpdate();
    throw;
  }
  UnlockUpdate();
}

// Fixed cells are framed in black (grey when flat); footers take the fixed line colour when
// they look like fixed cells, else the data lines' colour.
void TCustomDBGridX::UpdateLineColors() {
  const TColor fixedLine = Flat() ? clGray : clBlack;
  LineColors()->SetSlot(TGridLineColorsX::lcDark, fixedLine);
  const bool footerLikeFixed = FOptionsX.Contains(dghFooter3D) || FFooterColor != clWindow;
  LineColors()->SetSlot(TGridLineColorsX::lcContraRowLine, footerLikeFixed ? fixedLine : TGridLineColorsX::Unset);
}

void TCustomDBGridX::MeasureRows() {
  const TFontMeasure grid(Font());
  const TTextMetric metrics = grid.Metrics();
  Integer border = Flat() ? 1 : 3;
  if (FOptions.Contains(dgRowLines)) border += GridLineWidth();
  const Integer text = grid.Height(QStringLiteral("Wg"));
  if (FRowHeight > 0 || FRowLines > 0)
    FStdRowHeight = FRowHeight + (metrics.tmExternalLeading + metrics.tmHeight) * FRowLines;
  else
    FStdRowHeight = border + text;
  if (FOptionsX.Contains(dghFitRowHeightToText) && text > 0) {
    const Integer lines = (FStdRowHeight - border) / text;
    const Integer remainder = (FStdRowHeight - border) % text;
    FStdRowHeight = remainder <= text / 2 && lines > 0 ? border + lines * text : border + (lines + 1) * text;
    FRowLines = (FStdRowHeight - border) / text;
    FRowHeight = border;
  }
  if (FRowPanel->Active() && FRowPanelHeight > 0) FStdRowHeight = FRowPanelHeight;
  const Integer buttonWidth = DefaultButtonWidth();
  FEditButtonWidth = Flat() ? FlatButtonWidth : GetSystemMetrics(SM_CXVSCROLL);
  FEditButtonHeight = FStdRowHeight <= (buttonWidth * 3 + 1) / 2 ? FStdRowHeight
                                                                 : EditButtonHeightForWidth(buttonWidth, Flat());
  FTallRows = metrics.tmExternalLeading + metrics.tmHeight + metrics.tmInternalLeading + 4 < FStdRowHeight;
  if (FOptions.Contains(dgTitles) && !MultiTitleActive()) {
    Integer tallest = 0;
    for (Integer i = 0; i < FColumns->Count(); ++i)
      tallest = std::max(tallest, TFontMeasure(FColumns->Items(i)->Title()->Font()).Height(QStringLiteral("Wg")) + 4);
    if (FColumns->Count() == 0) tallest = TFontMeasure(FTitleFont.get()).Height(QStringLiteral("Wg")) + 4;
    FTitleRowHeight = tallest;
  }
}

void TCustomDBGridX::ComputeTitleHeight() {
  if (!FOptions.Contains(dgTitles)) return;
  if (FTitleHeight > 0 || FTitleLines > 0) {
    TFont* tallestFont = FTitleFont.get();
    Integer tallest = -1;
    for (Integer i = 0; i < FColumns->Count(); ++i) {
      TFont* font = FColumns->Items(i)->Title()->Font();
      const Integer h = TFontMeasure(font).Height(QStringLiteral("Wg"));
      if (h > tallest) {
        tallest = h;
        tallestFont = font;
      }
    }
    const TTextMetric metrics = TFontMeasure(tallestFont).Metrics();
    FTitleTextHeight = FTitleLines * metrics.tmHeight + metrics.tmExternalLeading + FTitleHeight + 2 +
                       (FOptions.Contains(dgRowLines) ? 1 : 0);
    FTitleRowHeight = FTitleTextHeight;
  }
  if (MultiTitleActive()) {
    FLeafColumns.assign(size_t(FColumns->Count()), TLeafColX{});
    std::vector<Integer> widths;
    const Integer line = FOptions.Contains(dgColLines) ? 1 : 0;
    for (Integer i = 0; i < FColumns->Count(); ++i) {
      TColumnX* column = FColumns->Items(i);
      FLeafColumns[size_t(i)].Column = column;
      widths.push_back(column->Visible() ? column->GridWidth() : -line);
    }
    BuildTitleTree(FTitleTreeRoot.get(), FLeafColumns, widths, FTitleRowHeight, line);
    FTitleRowHeight = CalcTitleTreeHeights(FTitleTreeRoot.get()) - (FOptionsX.Contains(dghFixed3D) ? 1 : 3);
  }
  if (FRowPanel->Active()) FTitleRowHeight = FRowPanelHeight;
}

// The title is laid out in rows: the bands of one depth share a row and the leaves of the
// deepest level the bottom one, so the captions of one row line up across bands; a leaf
// above the deepest level reaches from its row to the bottom. A row is as tall as its tallest
// caption; a leaf taller than the rows it spans deepens the bottom row.
Integer TCustomDBGridX::CalcTitleTreeHeights(THeadTreeNode* Node) {
  std::vector<std::pair<THeadTreeNode*, Integer>> nodes;
  CollectTitleNodes(Node, 0, nodes);
  if (nodes.empty()) return 0;
  Integer deepest = 0;
  for (const auto& [node, depth] : nodes) deepest = std::max(deepest, depth);
  std::vector<Integer> rows(size_t(deepest) + 1, 0);
  std::vector<Integer> texts;
  texts.reserve(nodes.size());
  for (const auto& [node, depth] : nodes) {
    texts.push_back(TitleCaptionTextHeight(node));
    if (node->FirstChild || depth == deepest) rows[size_t(depth)] = std::max(rows[size_t(depth)], texts.back());
  }
  const auto spanFrom = [&rows](Integer Depth) {
    Integer span = 0;
    for (size_t row = size_t(Depth); row < rows.size(); ++row) span += rows[row];
    return span;
  };
  for (size_t i = 0; i < nodes.size(); ++i)
    if (!nodes[i].first->FirstChild) rows.back() += std::max(0, texts[i] - spanFrom(nodes[i].second));
  for (const auto& [node, depth] : nodes) node->BandHeight = node->FirstChild ? rows[size_t(depth)] : spanFrom(depth);
  Node->BandHeight = spanFrom(0);
  return Node->BandHeight;
}

// The height a title node's caption needs in the width its cell leaves for text: the node's
// width less the sort marker's room, the in-title filter button and the margins.
Integer TCustomDBGridX::TitleCaptionTextHeight(THeadTreeNode* Child) {
  if (Child->BandWidth <= 0) return 0;
  TColumnX* column = Child->LeafColumn;
  TFont* font = column ? column->Title()->Font() : FTitleFont.get();
  const String text = Child->Caption.isEmpty() ? QStringLiteral(" ") : Child->Caption;
  if (column && column->Title()->Orientation() == tohVertical) return TFontMeasure(font).Width(text) + 6;
  Integer width = Child->BandWidth - Child->TextIndent - 4;
  if (column && FSTFilter->Visible() && FSTFilter->Location() == stflInTitleFilterX)
    width -= std::min(Flat() ? FlatButtonWidth + 1 : GetSystemMetrics(SM_CXVSCROLL), (Child->BandWidth - 2) / 2);
  return CaptionHeight(font, text, std::max<Integer>(width, 1)) + FVTitleMargin;
}

void TCustomDBGridX::UpdateGroupIndent() {
  FGroupIndentWidth = FDataGrouping->Active() ? 18 * FDataGrouping->ActiveLevelCount() : 0;
}

void TCustomDBGridX::UpdateColumnWidths() {
  UpdateGroupIndent();
  const Integer hiddenWidth = FOptions.Contains(dgColLines) ? -1 : 0;
  if (FRowPanel->Active()) {
    LayoutRowPanel();
    for (Integer i = FIndicatorColCount; i < FullColCount(); ++i)
      SetColWidths(i, i == FIndicatorColCount ? FRowPanelWidth + FGroupIndentWidth : hiddenWidth);
  } else {
    for (Integer i = 0; i < FColumns->Count(); ++i) {
      const Integer gridCol = FIndicatorColCount + i;
      if (gridCol >= FullColCount()) break;
      TColumnX* column = FColumns->Items(i);
      SetTabStops(gridCol, column->Visible() && !column->ReadOnly());
      const Integer width = column->Visible() ? WidthToGrid(column, column->Width()) : hiddenWidth;
      if (ColWidths(gridCol) != width) SetColWidths(gridCol, width);
    }
  }
  if (IndicatorShown()) {
    FIndicatorWidth = IndicatorWidthOf();
    if (FIndicatorColCount > 0) SetColWidths(0, FIndicatorWidth);
  }
  FLastVisibleCol = -1;
  for (Integer col = FullColCount() - 1; col >= 0 && FLastVisibleCol < 0; --col)
    if (ColWidths(col) > 0) FLastVisibleCol = col;
}

Integer TCustomDBGridX::DefaultButtonWidth() const {
  return FlatButtonWidth > 0 ? FlatButtonWidth : GetSystemMetrics(SM_CXVSCROLL);
}

Integer TCustomDBGridX::ClientWidthForFit() const {
  return HandleAllocated() ? GridClientWidth() : Width();
}

void TCustomDBGridX::FitColumnWidths() {
  if (FRowPanel->Active()) {
    // The panel's cells keep their arrangement and stretch to the room beside the indicator.
    Integer room = ClientWidthForFit();
    if (IndicatorShown()) room -= FIndicatorWidth;
    if (FOptions.Contains(dgColLines)) room -= 1;
    LayoutRowPanel();
    ScaleRowPanelWidths(FRowPanelWidth, std::max<Integer>(room, 0));
    return;
  }
  std::vector<TColumnX*> fitting;
  for (Integer i = 0; i < FVisibleColumns.Count(); ++i) FVisibleColumns[i]->SetFitBound(false);
  const Integer lines = FOptions.Contains(dgColLines) ? 1 : 0;
  Integer free = 0;
  for (Integer pass = 0; pass <= FVisibleColumns.Count(); ++pass) {
    Integer fixedWidth = 0, design = 0;
    fitting.clear();
    for (Integer i = 0; i < FVisibleColumns.Count(); ++i) {
      TColumnX* column = FVisibleColumns[i];
      if (!column->AutoFitColWidth() || column->FitBound()) fixedWidth += column->Width();
      else {
        design += column->DesignWidth();
        fitting.push_back(column);
      }
    }
    free = std::max<Integer>(0, std::max(FMinAutoFitWidth, ClientWidthForFit()) - fixedWidth);
    if (IndicatorShown()) free -= FIndicatorWidth;
    free -= lines * FVisibleColumns.Count();
    if (lines && IndicatorShown()) free -= 1;
    free -= FGroupIndentWidth;
    bool bound = false;
    for (TColumnX* column : fitting) {
      // A total design width of 0 gives no shares: the widths stay as they are.
      const Integer wanted = design != 0 ? MulDiv(column->DesignWidth(), free, design) : column->Width();
      column->SetWidth(wanted);
      if (column->Width() != wanted) {
        column->SetFitBound(true);
        bound = true;
      }
    }
    if (!bound) break;
  }
  Integer given = 0;
  for (TColumnX* column : fitting) given += column->Width();
  if (!fitting.empty() && given != free) {
    TColumnX* last = fitting.back();
    last->SetWidth(std::max<Integer>(0, last->Width() + free - given));
  }
}

// ---- rows

void TCustomDBGridX::UpdateRowCount() {
  if (!FDataLink) return;
  if (ScrollsByMemTableRows()) return UpdateMemTableRowCount();
  const Integer header = HeaderRowCount();
  if (RowCount() <= header) SetRowCount(header + 1);
  const Integer oldRows = RowCount();
  const Integer line = FOptions.Contains(dgRowLines) ? GridLineWidth() : 0;
  Integer fixedHeight = 0;
  if (FOptions.Contains(dgTitles)) fixedHeight += FTitleRowHeight + line;
  fixedHeight += UnderTitleRowCount() * (FStdRowHeight + line);
  if (FFooterRowCount > 0) fixedHeight += FFooterRowCount * (FStdRowHeight + line) + line;
  TCustomGridX::SetContraRowCount(0);
  SetFixedRows(std::min(header, RowCount() - 1));
  SetDefaultRowHeight(FStdRowHeight);
  if (FOptions.Contains(dgTitles)) SetRowHeights(0, FTitleRowHeight);
  if (FDataLink->Active() && HandleAllocated()) {
    const Integer rows = std::max<Integer>(1, (GridClientHeight() - fixedHeight) / (FStdRowHeight + line));
    FDataLink->SetBufferCount(rows);
    SetRowCount(header + std::max<Integer>(FDataLink->RecordCount(), 1));
  } else {
    SetRowCount(header + 1);
  }
  SetFixedRows(header);
  TCustomGridX::SetContraRowCount(FFooterRowCount);
  for (Integer i = 0; i < FFooterRowCount; ++i) SetRowHeights(RowCount() + i, FStdRowHeight);
  if (TopRow() != FixedRows()) SetTopRow(FixedRows());
  FollowActiveRecord();
  if (FDataGrouping->GroupingWorks()) UpdateGroupRowCount();
  if (RowCount() != oldRows) Invalidate();
}

void TCustomDBGridX::FollowActiveRecord() {
  if (ScrollsByMemTableRows()) return FollowMemTableRecord(0);
  if (!FDataLink->Active() || !HandleAllocated() || ComponentState().Contains(csLoading)) return;
  Integer row = FDataLink->ActiveRecord() + HeaderRowCount();
  if (FDataGrouping->GroupingWorks()) {
    const Integer flatIndex = GroupFlatIndexOfCurrentRecord();
    if (flatIndex < 0) return;
    row = HeaderRowCount() + flatIndex;
  }
  if (row != Row() && row < RowCount()) {
    if (!FOptions.Contains(dgAlwaysShowEditor)) HideInplaceEditor();
    MoveToCell(std::max(Col(), FixedCols()), row, false, false, false);
    ReloadEditor();
  }
}

// ---- reactions

void TCustomDBGridX::ColumnMoved(Integer FromIndex, Integer ToIndex) {
  FSTFilter->BeginUpdate();
  const Integer from = GridColToColumnIndex(FromIndex);
  const Integer to = GridColToColumnIndex(ToIndex);
  if (from >= 0 && from < FColumns->Count() && to >= 0 && to < FColumns->Count()) {
    FColumns->Items(from)->SetIndex(to);
    if (OnColumnMoved) OnColumnMoved(this, from, to);
  }
  FSTFilter->EndUpdate();
}

void TCustomDBGridX::DistributeWidthChange(Integer Index, Integer ScreenWidth) {
  TColumnX* column = FColumns->Items(Index);
  const Integer newWidth = WidthFromGrid(column, ScreenWidth);
  const Integer delta = newWidth - column->Width();
  if (column->AutoFitColWidth()) {
    if (column->Width() != 0) column->SetAutoFitShare(MulDiv(ScreenWidth, column->AutoFitShare(), column->Width()));
  } else {
    column->SetWidth(newWidth);
  }
  Integer sum = 0;
  for (Integer i = Index + 1; i < FColumns->Count(); ++i)
    if (FColumns->Items(i)->Visible() && FColumns->Items(i)->AutoFitColWidth()) sum += FColumns->Items(i)->Width();
  if (sum == 0) return;
  for (Integer i = Index + 1; i < FColumns->Count(); ++i) {
    TColumnX* right = FColumns->Items(i);
    if (!right->Visible() || !right->AutoFitColWidth()) continue;
    const Integer share = MulDiv(sum - delta, right->AutoFitShare(), sum);
    right->SetAutoFitShare(share <= 0 ? 1 : share);
  }
}

void TCustomDBGridX::ColWidthsChanged() {
  FSTFilter->BeginUpdate();
  if ((FDataLink->Active() || FColumns->IsCustomized()) && TryLockLayout()) {
    try {
      TCustomGridX::ColWidthsChanged();
      for (Integer gridCol = FIndicatorColCount; gridCol < FullColCount(); ++gridCol) {
        const Integer index = GridColToColumnIndex(gridCol);
        if (index >= FColumns->Count()) break;
        TColumnX* column = FColumns->Items(index);
        const Integer screen = ColWidths(gridCol);
        if (screen < 0) continue;
        Integer width = WidthFromGrid(column, screen);
        if (column->MaxWidth() > 0 && width > column->MaxWidth()) width = column->MaxWidth();
        if (column->MinWidth() > 0 && width < column->MinWidth()) width = column->MinWidth();
        const Integer clamped = WidthToGrid(column, width);
        if (clamped != screen) SetColWidths(gridCol, clamped);
      }
      for (Integer gridCol = FIndicatorColCount; gridCol < FullColCount(); ++gridCol) {
        const Integer index = GridColToColumnIndex(gridCol);
        if (index >= FColumns->Count()) break;
        TColumnX* column = FColumns->Items(index);
        if (!column->Visible()) continue;
        const Integer width = WidthFromGrid(column, ColWidths(gridCol));
        if (!FAutoFitColWidths || Designing()) {
          column->SetWidth(width);
        } else if (width != column->Width()) {
          if (FOptionsX.Contains(dghResizeWholeRightPart)) {
            DistributeWidthChange(index, ColWidths(gridCol));
          } else {
            const Integer position = FVisibleColumns.IndexOf(column);
            if (position < 0) continue;
            if (column->AutoFitColWidth()) {
              const Integer oldShare = column->AutoFitShare();
              // A column of width 0 keeps its share: there is nothing to scale from.
              if (column->Width() != 0) column->SetAutoFitShare(MulDiv(oldShare, width, column->Width()));
              if (position + 1 < FVisibleColumns.Count()) {
                TColumnX* next = FVisibleColumns[position + 1];
                next->SetAutoFitShare(std::max<Integer>(0, next->AutoFitShare() + oldShare - column->AutoFitShare()));
              }
            } else {
              column->SetWidth(width);
            }
          }
        }
      }
    } catch (...) {
      UnlockLayout();
      FSTFilter->EndUpdate();
      throw;
    }
    UnlockLayout();
  } else {
    TCustomGridX::ColWidthsChanged();
  }
  if (OnColWidthsChanged) OnColWidthsChanged(this);
  UpdateExtHorzScrollBar();
  FSTFilter->EndUpdate();
  FollowFilterEditor();
}

void TCustomDBGridX::ChangeScale(Integer M, Integer D) {
  if (M == D) return;
  if (!ParentFont()) {
    FCopyingFont = true;
    FTitleFont->SetSize(MulDiv(Font()->Size(), M, D));
    FFooterFont->SetSize(MulDiv(FFooterFont->Size(), M, D));
    FCopyingFont = false;
  }
  FColumns->BeginUpdate();
  Integer unscaled = 0, previous = 0;
  for (Integer i = 0; i < FColumns->Count(); ++i) {
    TColumnX* column = FColumns->Items(i);
    if (column->IsAssigned(cvFont)) column->Font()->SetSize(MulDiv(column->Font()->Size(), M, D));
    if (column->IsAssigned(cvTitleFont))
      column->Title()->Font()->SetSize(MulDiv(column->Title()->Font()->Size(), M, D));
    if (column->Footer()->IsAssigned(TColumnFooterX::faFont))
      column->Footer()->Font()->SetSize(MulDiv(column->Footer()->Font()->Size(), M, D));
    for (Integer k = 0; k < column->Footers()->Count(); ++k) {
      TColumnFooterX* footer = column->Footers()->Items(k);
      if (footer->IsAssigned(TColumnFooterX::faFont)) footer->Font()->SetSize(MulDiv(footer->Font()->Size(), M, D));
    }
    unscaled += column->Width();
    const Integer scaled = MulDiv(unscaled, M, D);
    column->SetWidth(scaled - previous);
    previous = scaled;
  }
  FColumns->EndUpdate();
}

void TCustomDBGridX::Loaded() {
  TCustomGridX::Loaded();
  if (FColumns->Count() > 0) {
    SetColCount(FColumns->Count() + FIndicatorColCount);
    if (FAutoFitColWidths && !Designing()) {
      for (Integer i = 0; i < FColumns->Count(); ++i) FColumns->Items(i)->SetDesignWidth(FColumns->Items(i)->Width());
      SetScrollBars(ssNone);
    }
    RebuildSortMarkedColumns();
  }
  if (DataSource()) FSumList->OwnerLoaded();
  // The levels find their columns first, so that the layout below already groups by them.
  FDataGrouping->ResolveColumnNames();
  RequestLayout();
  // Once more when the form around the grid has finished loading too.
  LockLayout();
  RequestDeferredLayout();
  if (Designing() && FRowDetailPanel->Active()) PlaceDetailPanel();
}

void TCustomDBGridX::CreateWnd() {
  LockUpdates();
  try {
    TCustomGridX::CreateWnd();
  } catch (...) {
    UnlockUpdates();
    throw;
  }
  UnlockUpdates();
  FEditButtonWidth = Flat() ? FlatButtonWidth : GetSystemMetrics(SM_CXVSCROLL);
  RequestLayout();
  UpdateVertScrollBar();
}

// A size change while the grid is locked is not lost: it is applied when the locks go.
void TCustomDBGridX::Resize() {
  TCustomGridX::Resize();
  if (FLayoutLock != 0 || FUpdateLock != 0) {
    FSizeChangedWhileLocked = true;
    return;
  }
  if (FAutoFitColWidths && !Designing()) {
    RequestLayout();
    if (ScrollsByMemTableRows()) ClampTopRow();
    UpdateVertScrollBar();
    InvalidateEditor();
  } else {
    FollowClientSize();
  }
  UpdateExtHorzScrollBar();
}

void TCustomDBGridX::HandleDataSetChange() {
  if (!FKeepSearch) StopIncSearch();
  if (!HandleAllocated() || FInDataSetChange) return;
  FInDataSetChange = true;
  try {
    // An open detail panel belongs to its record: another record closes it.
    if (FRowDetailPanel->Active() && FRowDetailPanel->Shown() && FDataLink->Active() &&
        CompareBookmarkStrs(DataSet(), DataSet()->Bookmark(), FDataLink->LastBookmark()) != 0)
      FRowDetailPanel->SetShown(false);
    // Footers shown while designing follow every change of the data set.
    if (Designing() && FSumList->Active() && !FSumList->Recalculating()) FSumList->RecalcAll();
    const Integer width = IndicatorWidthOf();
    if (width == FIndicatorWidth) UpdateRowCount();
    else {
      FIndicatorWidth = width;
      RequestLayout();
    }
    // Fitted widths depend on the room the vertical bar leaves; they are rebuilt once the
    // change is over.
    const bool barShown = FVertScrollBar->IsBarShown();
    UpdateVertScrollBar();
    if (barShown != FVertScrollBar->IsBarShown() && FAutoFitColWidths && !Designing()) {
      LockLayout();
      RequestDeferredLayout();
    }
    FollowActiveRecord();
    ReloadEditorAfterChange(nullptr);
    if (FFilterEditMode) UpdateFilterEditor(false);
    if (FRowDetailPanel->Active()) PlaceDetailPanel();
    Invalidate();
  } catch (...) {
    FInDataSetChange = false;
    throw;
  }
  FInDataSetChange = false;
}

void TCustomDBGridX::HandleRecordChange(TField* Field) {
  if (!HandleAllocated()) return;
  ReloadEditorAfterChange(Field);
  if (!Field) {
    Invalidate();
    return;
  }
  for (Integer i = 0; i < FColumns->Count(); ++i)
    if (FColumns->Items(i)->Field() == Field) InvalidateCurrentRow();
  InvalidateFooter();
}
