#pragma once
// The data-aware grid: the records of a data source shown through a collection of columns,
// with an indicator column, one or more title rows (multi-level titles), data rows that
// mirror the data link's record buffer and footer rows with sums kept by a sum list.
#include "dbgrid/DBGridXColumns.h"
#include "dbgrid/DBGridXGrouping.h"
#include "dbgrid/DBGridXRowDetailPanel.h"
#include "dbgrid/DBGridXSelection.h"
#include "dbgrid/DBGridXStyle.h"
#include "dbgrid/DBGridXTitleTree.h"
#include "grid/BMListX.h"
#include "grid/DBSumLst.h"
#include "grid/GridsX.h"
#include "grid/InplaceEditHolderX.h"
#include <memory>

class TCustomDBGridX;
class TDBGridXCenter;
class TDBGridInplaceEdit;
class TInplaceFilterEditX;
class TPopupListboxX;
struct THintInfo;

// ---- data link

class TGridDataLinkX : public TDataLink {
public:
  explicit TGridDataLinkX(TCustomDBGridX* Grid) : FGrid(Grid) { SetVisualControl(true); }
  ~TGridDataLinkX() override { ClearMapping(); }
  String ClassName() const override { return QStringLiteral("TGridDataLinkX"); }

  static constexpr Integer MaxMapping = 0x0FFFFFFF;
  // Maps the next grid column to FieldName; raises past MaxMapping entries. Outside sparse
  // mode an unknown name raises the data set's error; in sparse mode the entry is -1.
  bool AddMapping(const String& FieldName);
  void ClearMapping();
  // The field of map entry I; nullptr outside the map or for a -1 entry.
  TField* GetFields(Integer I) const;
  bool GetDefaultFields() const;
  Integer MappedFieldCount() const { return FMappedFieldCount; }
  Integer MapCapacity() const { return Integer(FFieldIndexMap.size()); }
  Integer FieldIndexMap(Integer I) const { return FFieldIndexMap.at(size_t(I)); }
  bool SparseMap() const { return FSparseMap; }
  void SetSparseMap(bool Value) { FSparseMap = Value; }
  bool EditorModified() const { return FEditorModified; }
  void MarkModified() { FEditorModified = true; }
  const TBookmarkStr& LastBookmark() const { return FLastBookmark; }
  // Drops the editor's change, or cancels the data set's edit.
  void Reset();
  // Every record move of the grid: the grid may refuse it (an open detail panel that stays).
  Integer MoveBy(Integer Distance) override;
  Integer LinkMoveBy(Integer Distance) { return TDataLink::MoveBy(Distance); }

protected:
  void ActiveChanged() override;
  void DataEvent(TDataEvent Event, intptr_t Info) override;
  void DataSetChanged() override;
  void DataSetScrolled(Integer Distance) override;
  void LayoutChanged() override;
  void FocusControl(TField*& Field) override;
  void EditingChanged() override;
  void RecordChanged(TField* Field) override;
  void UpdateData() override;

private:
  void NoteBookmark();
  TCustomDBGridX* FGrid;
  Integer FMappedFieldCount = 0;
  std::vector<Integer> FFieldIndexMap;
  bool FUpdatingData = false;
  bool FEditorModified = false;
  bool FSparseMap = false;
  TBookmarkStr FLastBookmark;
};

// ---- selected records

class TBookmarkListX : public TBMListX {
public:
  explicit TBookmarkListX(TCustomDBGridX* Grid) : FGrid(Grid) {}
  TDataSet* GetDataSet() const override;
  void RefreshView() override;
  void MarkCurrentRow(bool Select) override;
  void ListChanged() override;
  void SelectionChanged() override;
  void ClearBookmarks() override;
  // The grid cells covering the listed records now on screen; (-1, -1, -1, -1) when none.
  void SelectionToGridRect(TGridRectX& Rect);
private:
  TCustomDBGridX* FGrid;
};

// ---- objects owned by the grid that later parts fill

// Settings of one of the grid's scroll bars: shown or not, scrolling by pixels or cells, the
// thumb tracking, and an external scroll-bar control that stands in for the window's own.
class TDBGridXScrollBar : public TPersistent {
public:
  TDBGridXScrollBar(TCustomDBGridX* Grid, TScrollBarKind Kind);
  ~TDBGridXScrollBar() override;
  String ClassName() const override { return QStringLiteral("TDBGridXScrollBar"); }
  void Assign(TPersistent* Source) override;
  TScrollBarKind Kind() const { return FKind; }
  bool Visible() const { return FVisibleMode != sbNeverShowX; }
  void SetVisible(bool Value);
  TScrollBarVisibleModeX VisibleMode() const { return FVisibleMode; }
  void SetVisibleMode(TScrollBarVisibleModeX Value);
  TScrollBar* ExtScrollBar() const { return FExtScrollBar; }
  // Raises when another control already took over the bar's messages.
  void SetExtScrollBar(TScrollBar* Value);
  bool SmoothStep() const { return FSmoothStep; }
  void SetSmoothStep(bool Value);
  bool Tracking() const { return FTracking; }
  void SetTracking(bool Value) { FTracking = Value; }
  // With an external bar, that bar's visibility; else the setting and the window's bar.
  bool IsBarShown() const;
  bool ScrollBarNeeded() const;
  TScrollInfo ReadScrollInfo() const;
  void WriteScrollInfo(const TScrollInfo& Info, bool Redraw);
protected:
  virtual void SmoothStepChanged() {}
  TCustomDBGridX* Grid() const { return FGrid; }
  bool FSmoothStep = false;
private:
  void ReleaseBar();
  TCustomDBGridX* FGrid;
  TScrollBarKind FKind;
  TScrollBarVisibleModeX FVisibleMode = sbAutoShowX;
  TScrollBar* FExtScrollBar = nullptr;
  TWndMethod FSavedWindowProc;
  bool FTracking = true;
};

class TVertDBGridXScrollBar : public TDBGridXScrollBar {
public:
  explicit TVertDBGridXScrollBar(TCustomDBGridX* Grid) : TDBGridXScrollBar(Grid, sbVertical) {}
  String ClassName() const override { return QStringLiteral("TVertDBGridXScrollBar"); }
protected:
  void SmoothStepChanged() override;
};
class THorzDBGridXScrollBar : public TDBGridXScrollBar {
public:
  explicit THorzDBGridXScrollBar(TCustomDBGridX* Grid) : TDBGridXScrollBar(Grid, sbHorizontal) { FSmoothStep = true; }
  String ClassName() const override { return QStringLiteral("THorzDBGridXScrollBar"); }
protected:
  void SmoothStepChanged() override;
};

class TDBGridXIndicatorTitle : public TPersistent {
public:
  explicit TDBGridXIndicatorTitle(TCustomDBGridX* Grid) : FGrid(Grid) {}
  String ClassName() const override { return QStringLiteral("TDBGridXIndicatorTitle"); }
  TPopupMenu* DropdownMenu() const { return FDropdownMenu; }
  void SetDropdownMenu(TPopupMenu* Value) { FDropdownMenu = Value; }
  bool ShowDropDownSign() const { return FShowDropDownSign; }
  // Repaints only the indicator title cell.
  void SetShowDropDownSign(bool Value);
  bool TitleButton() const { return FTitleButton; }
  void SetTitleButton(bool Value) { FTitleButton = Value; }
  bool UseGlobalMenu() const { return FUseGlobalMenu; }
  void SetUseGlobalMenu(bool Value) { FUseGlobalMenu = Value; }
private:
  TCustomDBGridX* FGrid;
  TPopupMenu* FDropdownMenu = nullptr;
  bool FShowDropDownSign = false;
  bool FTitleButton = false;
  bool FUseGlobalMenu = true;
};

// The filter row's settings.
class TSTDBGridXFilter : public TPersistent {
public:
  explicit TSTDBGridXFilter(TCustomDBGridX* Grid) : FGrid(Grid) {}
  String ClassName() const override { return QStringLiteral("TSTDBGridXFilter"); }
  void Assign(TPersistent* Source) override;
  bool Visible() const { return FVisible; }
  // Hiding hides the filter editor; the layout follows.
  void SetVisible(bool Value);
  TSTFilterLocationX Location() const { return FLocation; }
  void SetLocation(TSTFilterLocationX Value);
  // The filter is applied by the data set itself.
  bool Local() const { return FLocal; }
  void SetLocal(bool Value) { FLocal = Value; }
  // Apply at every change of a condition; follows Local until it is set.
  bool InstantApply() const { return FInstantApplyAssigned ? FInstantApply : FLocal; }
  void SetInstantApply(bool Value);
  bool InstantApplyStored() const { return FInstantApplyAssigned; }
  // While updates are open the filter editor is neither moved nor hidden.
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate() { if (FUpdateCount > 0) --FUpdateCount; }
  Integer UpdateCount() const { return FUpdateCount; }
private:
  TCustomDBGridX* FGrid;
  bool FVisible = false;
  TSTFilterLocationX FLocation = stflUnderTitleFilterX;
  bool FLocal = false;
  bool FInstantApply = false;
  bool FInstantApplyAssigned = false;
  Integer FUpdateCount = 0;
};

class TGridRowPanelX : public TPersistent {
public:
  explicit TGridRowPanelX(TCustomDBGridX* Grid = nullptr) : FGrid(Grid) {}
  String ClassName() const override { return QStringLiteral("TGridRowPanelX"); }
  void Assign(TPersistent* Source) override;
  bool Active() const { return FActive; }
  // Switched on, the grid's current column moves to the first data column; the grid lays
  // itself out again.
  void SetActive(bool Value);
  TGridRowPanelNavKeysNavigationTypeX NavKeysNavigationType() const { return FNavKeysNavigationType; }
  void SetNavKeysNavigationType(TGridRowPanelNavKeysNavigationTypeX Value) { FNavKeysNavigationType = Value; }
  TGridRowPanelTabNavigationTypeX TabNavigationType() const { return FTabNavigationType; }
  void SetTabNavigationType(TGridRowPanelTabNavigationTypeX Value) { FTabNavigationType = Value; }
private:
  TCustomDBGridX* FGrid;
  bool FActive = false;
  TGridRowPanelNavKeysNavigationTypeX FNavKeysNavigationType = rpntRowToRowX;
  TGridRowPanelTabNavigationTypeX FTabNavigationType = rpntUpToDownPriorityX;
};

// A column's place inside a row-panel cell, relative to the cell's top-left.
struct TRowPanelRectX {
  Integer Left = 0, Top = 0, Width = 0, Height = 0;
  // Data cells: the first column on a line makes room for the grouping indent.
  Integer IndentedLeft = 0, IndentedWidth = 0;
};

// The record a painted data row shows: whether it is the current row, and its record number.
struct TPaintedRecordX {
  bool Current = false;
  Integer RecNo = -1;
};

// The look of one title cell, settled before its content is painted; the canvas holds the
// title font as the title's button parameters left it.
struct TDBGirdDrawTitleStateX {
  bool Down = false;         // the title button is held pressed
  bool MultiLine = false;
  bool Highlighted = false;  // drawn in the selection colours
  TTextOrientationX Orientation = tohHorizontal;
  bool Raised = false;
  String Caption;
  TColor Color = clBtnFace;
  bool HasFilterButton = false;
  bool InSelection = false;
  TSortMarkerX SortMarker = smNoneX;
  bool ShowSortIndex = true;  // a sort by several columns shows the column's place in it
};

// The grid's sum list: the foundation's producer with the grid's notifications.
class TDBGridXSumList : public TDBSumListProducer {
public:
  explicit TDBGridXSumList(TCustomDBGridX* Grid);
  String ClassName() const override { return QStringLiteral("TDBGridXSumList"); }
  void HookDataSetEvents() override;
  void RestoreDataSetEvents() override;
private:
  TCustomDBGridX* FGrid;
};

// ---- the grid

class TCustomDBGridX : public TCustomGridX, public IMemTableChangeNotifyX, public IInplaceEditHolderX {
public:
  explicit TCustomDBGridX(TComponent* AOwner);
  ~TCustomDBGridX() override;
  String ClassName() const override { return QStringLiteral("TCustomDBGridX"); }

  static constexpr Cardinal WM_DEFERRED_LAYOUT = WM_USER + 100;
  static constexpr Integer RowTextSpacing = 4;

  // ---- data
  TDataSource* DataSource() const { return FDataLink->DataSource(); }
  void SetDataSource(TDataSource* Value);
  TGridDataLinkX* GridDataLink() const { return FDataLink.get(); }
  TDataSet* DataSet() const { return FDataLink->DataSet(); }
  TBookmarkListX* RecordBookmarks() const { return FBookmarks.get(); }
  TDBGridXSumList* SumList() const { return FSumList.get(); }

  // ---- columns
  TDBGridColumnsX* Columns() const { return FColumns.get(); }
  void SetColumns(TDBGridColumnsX* Value) { FColumns->Assign(Value); }
  TColumnDefValuesX* ColumnDefValues() const { return FColumnDefValues.get(); }
  TColumnsXList* VisibleColumns() { return &FVisibleColumns; }
  TColumnsXList* SortMarkedColumns() { return &FSortMarkedColumns; }
  Integer IndicatorColCount() const { return FIndicatorColCount; }
  Integer GridColToColumnIndex(Integer ACol) const { return ACol - FIndicatorColCount; }
  Integer ColumnIndexToGridCol(Integer Index) const;
  // The current column's index in Columns; with the row panel on, the panel's current column.
  Integer SelectedIndex() const { return FRowPanel->Active() ? FRowPanelColumn : GridColToColumnIndex(Col()); }
  void SetSelectedIndex(Integer Value);
  TColumnX* SelectedColumn() const;
  TField* SelectedField() const;
  void RebuildSortMarkedColumns();

  // ---- the shared colour policy and behaviour
  TDBGridXStyle* Style() const { return FStyle; }
  // Leaves the old style's grids and joins the new one's; nil attaches the default style.
  void SetStyle(TDBGridXStyle* Value);
  // Takes the process-wide style; without one (the grid module shut down) the grid lays
  // itself out again with its own colour rules.
  void AttachDefaultStyle();
  TDBGridXCenter* Center() const { return FCenter; }
  void SetCenter(TDBGridXCenter* Value);

  // ---- options and appearance
  TDBGridOptions Options() const { return FOptions; }
  void SetOptions(TDBGridOptions Value);
  TDBGridXOptions OptionsX() const { return FOptionsX; }
  void SetOptionsX(TDBGridXOptions Value);
  TDBGridXAllowedOperations AllowedOperations() const { return FAllowedOperations; }
  void SetAllowedOperations(TDBGridXAllowedOperations Value) { FAllowedOperations = Value; }
  TDBGridXAllowedSelections AllowedSelections() const { return FAllowedSelections; }
  // A selection of a kind no longer allowed is cleared.
  void SetAllowedSelections(TDBGridXAllowedSelections Value);
  TDBGridXEditActions EditActions() const { return FEditActions; }
  void SetEditActions(TDBGridXEditActions Value) { FEditActions = Value; }
  TEditButtonsShowOptionsX EditButtonsShowOptions() const { return FEditButtonsShowOptions; }
  void SetEditButtonsShowOptions(TEditButtonsShowOptionsX Value) {
    if (Value == FEditButtonsShowOptions) return;
    FEditButtonsShowOptions = Value;
    Invalidate();
  }
  bool AutoFitColWidths() const { return FAutoFitColWidths; }
  void SetAutoFitColWidths(bool Value);
  Integer MinAutoFitWidth() const { return FMinAutoFitWidth; }
  void SetMinAutoFitWidth(Integer Value);
  Integer FrozenCols() const { return FFrozenCols; }
  void SetFrozenCols(Integer Value);
  Integer ContraColCount() const { return FContraCols; }
  void SetContraColCount(Integer Value);
  bool DefaultDrawing() const { return FDefaultDrawing; }
  void SetDefaultDrawing(bool Value) { FDefaultDrawing = Value; }
  bool DrawGraphicData() const { return FDrawGraphicData; }
  void SetDrawGraphicData(bool Value);
  bool DrawMemoText() const { return FDrawMemoText; }
  void SetDrawMemoText(bool Value);
  TColor EvenRowColor() const { return FEvenRowColorAssigned ? FEvenRowColor : Color(); }
  void SetEvenRowColor(TColor Value);
  TColor OddRowColor() const { return FOddRowColorAssigned ? FOddRowColor : Color(); }
  void SetOddRowColor(TColor Value);
  bool IsEvenRowColorStored() const { return FEvenRowColorAssigned; }
  bool IsOddRowColorStored() const { return FOddRowColorAssigned; }
  TColor FooterColor() const { return FFooterColor; }
  void SetFooterColor(TColor Value);
  TFont* FooterFont() const { return FFooterFont.get(); }
  void SetFooterFont(TFont* Value) { FFooterFont->Assign(Value); }
  Integer FooterRowCount() const { return FFooterRowCount; }
  void SetFooterRowCount(Integer Value);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  Integer RowHeight() const { return FRowHeight; }
  void SetRowHeight(Integer Value);
  Integer RowLines() const { return FRowLines; }
  void SetRowLines(Integer Value);
  bool RowSizingAllowed() const { return FRowSizingAllowed; }
  void SetRowSizingAllowed(bool Value);
  bool SortLocal() const { return FSortLocal; }
  void SetSortLocal(bool Value) { FSortLocal = Value; }
  TFont* TitleFont() const { return FTitleFont.get(); }
  void SetTitleFont(TFont* Value) { FTitleFont->Assign(Value); }
  Integer TitleHeight() const { return FTitleHeight; }
  void SetTitleHeight(Integer Value);
  Integer TitleLines() const { return FTitleLines; }
  void SetTitleLines(Integer Value);
  TCustomImageList* TitleImages() const { return FTitleImages; }
  const TChangeLink& TitleImagesLink() const { return FTitleImagesLink; }
  void SetTitleImages(TCustomImageList* Value);
  bool UseMultiTitle() const { return FUseMultiTitle; }
  void SetUseMultiTitle(bool Value);
  Integer VTitleMargin() const { return FVTitleMargin; }
  void SetVTitleMargin(Integer Value);
  TDBGridXScrollBar* HorzScrollBar() const { return FHorzScrollBar.get(); }
  TDBGridXScrollBar* VertScrollBar() const { return FVertScrollBar.get(); }
  TDBGridXIndicatorTitle* IndicatorTitle() const { return FIndicatorTitle.get(); }
  TDBGridXSelection* Selection() const { return FSelection.get(); }
  TSTDBGridXFilter* STFilter() const { return FSTFilter.get(); }
  TGridRowPanelX* RowPanel() const { return FRowPanel.get(); }
  TRowDetailPanelX* RowDetailPanel() const { return FRowDetailPanel.get(); }
  TDBGridXDataGroupsX* DataGrouping() const { return FDataGrouping.get(); }
  TColCellParamsX* CellParams() const { return FCellParams.get(); }
  TFont* CellParamsFont() const { return FCellParamsFont.get(); }

  // ---- grouping over a memory table
  // The data set's memory-table interface while the link is active; none when it offers none.
  IMemTableX* MemTable() const { return FMemTable; }
  bool HasMemTable() const { return FMemTable != nullptr; }
  // Looks the data set's memory-table interface up again (only while the centre lets the grid
  // use it) and tells the old and the new one whether the grid uses them.
  void UpdateMemTable();
  void MemTableRecordChanged(Integer RecordIndex, TMemTableChangeKindX Kind, Integer OldIndex) override;
  virtual void RebuildGroupTree();
  virtual void UpdateGroupRowCount();
  virtual void UpdateGroupPanel();
  virtual Integer GroupRowHeight(TGroupDataTreeNodeX* Node);
  virtual Integer CalcRecordHeight();
  // Measures again the data row at that position of the group tree's flat list.
  virtual void SetDataRowHeight(Integer FlatIndex);
  Integer GroupPanelHeight() const;
  // The boxes of the active grouping levels in the group panel, a staircase from the left.
  std::vector<TRect> LayoutGroupPanelBoxes() const;
  // The tree node shown in grid row Row, none outside the data rows or without grouping.
  TGroupDataTreeNodeX* GroupNodeAtRow(Integer Row) const;
  // The current group node when it is shown and leads to the current record, else the
  // shown node of that record; its position in the flat list (-1 when none is shown).
  Integer GroupFlatIndexOfCurrentRecord();
  TGroupDataTreeNodeX* CurrentGroupNode() const { return FCurrentGroupNode; }
  void SelectGroupNode(TGroupDataTreeNodeX* Node);
  // Selects the node, or its nearest ancestor shown when the node is inside a closed group.
  void SelectNearestVisibleGroupNode(TGroupDataTreeNodeX* Node);
  // The data set moves to the record of the current group node (the first record under a group row).
  void SyncDataSetToGroupNode();
  // The data node of the record becomes current: with Expand its groups open, else the nearest
  // shown ancestor is selected.
  void LocateGroupNodeForRecord(Integer RecordIndex, bool Expand);
  // A new record in the current record's groups: it takes their key values. Without grouping a
  // plain insert.
  void InsertRecordInGroup();
  void AppendRecord();
  // Moves the group cursor by Delta rows of the group tree (clamped to its rows): a pending
  // edit is posted when modified, else cancelled. Answers the rows actually moved.
  Integer MoveGroupCursor(Integer Delta);
  virtual bool GroupRowKeyDown(Word Key, TShiftState Shift);
  // A press on a group row: its box (the level's band) expands or collapses it (with Ctrl the
  // whole level), elsewhere it becomes current. False when (X, Y) is on no group row.
  bool GroupRowMouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual void HandleGroupRowClick(TMouseButton Button, TShiftState Shift, TGroupDataTreeNodeX* Node, Integer X, Integer Y);
  // A column dropped on the group panel becomes a grouping level at Index and is hidden.
  void GroupByColumn(TColumnX* Column, Integer Index);
  // A level dragged back onto the titles: removed, its column shown again.
  void UngroupLevel(Integer LevelIndex);
  // The mouse over the group panel (Y in client coordinates): presses on its boxes, boxes
  // dragged along the panel or back onto the titles, titles dragged onto it. Down and Move
  // answer whether they took the event; Up answers whether the release is handled in full.
  bool HandleGroupPanelMouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  bool GroupPanelMouseMove(Integer X, Integer Y);
  bool GroupPanelMouseUp(Integer X, Integer Y);
  bool OverGroupPanel(Integer Y) const;
  // A level's box is pressed or dragged.
  bool GroupPanelDragging() const;
  // Abandons a press or drag of a box and hides the drop arrow.
  void EndGroupPanelDrag();
  // The active level whose box holds the point, -1 when none.
  Integer GroupPanelBoxAt(Integer X, Integer Y) const;
  // The place among the active levels a drop would take, shown by the arrow; -1 off the panel.
  Integer GroupPanelDropIndex() const { return FGroupPanelDropIndex; }
  void TrackGroupPanelDrop(Integer X, Integer Y);
  // A title or level box dragged over the panel: the drop arrow follows it.
  bool TrackTitleDragOverGroupPanel(Integer X, Integer Y);
  // Active level From dropped at Y: moved to active place To on the panel, ungrouped on the titles.
  void FinishGroupPanelDrop(Integer From, Integer To, Integer Y);
  // A released box: the title-button click, then the level's sort order flips.
  void ToggleGroupLevelSort(Integer ActiveIndex);
  TDBGridXDataGroupGetGroupRowTextEvent OnDataGroupGetRowText;
  TDBGridXNotifyEvent OnActiveGroupingStructChanged;

  // ---- row panel
  // The height of one panel line: "Wg" in the title font, + 4, + 1 when not flat.
  virtual Integer DefaultTitleRowHeight();
  void LayoutRowPanel();
  // Stretches the columns from a panel Old pixels wide to one New pixels wide; nothing when
  // Old is 0 (no visible column).
  void ScaleRowPanelWidths(Integer Old, Integer New);
  // With the row panel on, orders the columns by their rectangles: left, then top, hidden first.
  void SortColumnsByPanelPosition();
  const TRowPanelRectX& RowPanelRect(Integer ColumnIndex) const { return FRowPanelRects.at(size_t(ColumnIndex)); }
  Integer RowPanelLineHeight() const { return FRowPanelLineHeight; }
  Integer RowPanelWidth() const { return FRowPanelWidth; }
  Integer RowPanelHeight() const { return FRowPanelHeight; }
  // A title dragged in the panel and dropped: Column goes on line TargetLine right after the
  // column TargetCol (first for -1); nothing when dropped on itself.
  void DropPanelColumn(TColumnX* Column, Integer TargetCol, Integer TargetLine);
  // The column whose (plain or indented) rectangle holds Point, in panel-cell coordinates.
  TColumnX* PanelColumnAtPoint(TPoint Point, bool Plain) const;
  // The column whose plain rectangle (grown by the grid lines WithLines) holds Point; Rect is
  // that rectangle, or the last one tried when none holds it.
  TColumnX* PanelCellAtPoint(TPoint Point, TRect& Rect, bool WithLines) const;
  // The options the sizing hit test goes by: at design time column sizing, with user-made
  // columns also moving, with the row panel also row sizing; else the grid's own.
  TGridOptionsX EffectiveSizingOptions() const;
  // Scrolls by pixels so that the column's rectangle is in view.
  void ShowPanelColumn(Integer Index);
  // Makes the column the panel's current one, in view, with the editor on it.
  void SetPanelColumn(Integer Index);
  // The painters of a panel cell: each column in its rectangle, with its lines.
  virtual void PaintRowPanelTitle(Integer ACol, Integer ARow, TRect R, TGridDrawState State);
  virtual void PaintRowPanelData(Integer ACol, Integer ARow, Integer DataRow, TRect R, TGridDrawState State);
  virtual void PaintRowPanelFooter(Integer ACol, Integer ARow, Integer DataRow, TRect R, TGridDrawState State);
  // The panel rectangle of column Index in the panel cell at grid cell (ACol, ARow), in
  // client coordinates: indented in data rows, plain in the others.
  TRect PanelColumnRect(Integer ACol, Integer ARow, Integer Index);
  // Widens the column up to the nearest right edge of a column on its lines, or to the panel's.
  void StretchToNextEdge(Integer Col);
  // A title dragged inside the panel: taken from the column's rectangle, followed by the drag
  // box and the insertion line, and dropped after the target column on the target line.
  virtual void StartTitleDrag(const TRect& Rect, Integer Col);
  virtual void StartTitleDragInRow(TShiftState Shift, Integer X, Integer Col, Integer Y);
  virtual void TrackTitleDrag(TShiftState Shift, Integer X, Integer Y);
  virtual void FinishTitleDrag(TShiftState Shift, Integer X, bool Dropped, Integer Y);
  bool PanelTitleDragging() const { return FPanelTitleDragging; }
  // The column a dragged title would go after (-1: first on its line) and that line.
  Integer DragTargetCol() const { return FDragTargetCol; }
  Integer DragTargetLine() const { return FDragTargetLine; }
  // With the row panel on, the editor stands in the current panel column's rectangle of the
  // current row and is loaded again whenever that column or row changes.
  void SyncEditor() override;
  void LeaveEditorMode() override;
  // The panel column under the pointer in the hot cell, -1 when none.
  Integer HotPanelColumn() const { return FHotPanelColumn; }

  // ---- row detail panel
  TRowDetailPanelControlX* RowDetailPanelControl() const { return FRowDetailPanelControl; }
  // Places, sizes, shows or hides the detail panel under the current row.
  void PlaceDetailPanel();
  // An opened panel: the grid scrolls down until the current row shows whole with its panel.
  void ShowWholeDetailRow();
  // A closed panel: the grid scrolls back so that no empty band stays under the last row.
  void CloseGapUnderLastRow();
  // Every record move of the grid: closes an open detail panel first; nothing moves (0)
  // when it stays open. Answers the distance moved.
  Integer MoveRecordsBy(Integer Distance);
  // The expand button of a row: paints it and answers the width used (0 while inactive).
  virtual Integer PaintRowDetailArea(Integer DataRow, TGridDrawState State, const TRect& R);
  virtual bool DetailButtonAtPoint(Integer X, Integer Y);
  // X relative to the cell of Column in the current row.
  virtual bool DetailButtonInCell(Integer X, TColumnX* Column, Integer CellWidth);
  void GetEditorRect(Integer ACol, Integer ARow, TRect& R) override;
  // The focus goes into the open detail panel: to its ActiveControl, else its first tab stop.
  void FocusDetailPanel();
  // The components written as the grid's children: the detail panel control only.
  void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root);
  TDBGridXRowDetailPanelShowEvent OnRowDetailPanelShow;
  TDBGridXRowDetailPanelHideEvent OnRowDetailPanelHide;
  TDBGridXCheckRowHaveDetailPanelEvent OnCheckRowHaveDetailPanel;

  // ---- dragging records by the indicator (with dghRecordMoving)
  virtual bool CanStartRecordDrag() { return true; }
  // Whether a record drag can start at (X, Y); unless CheckOnly it starts.
  virtual bool StartRecordDrag(Integer X, Integer Y, TShiftState Shift, bool CheckOnly);
  // Follows the mouse: the target row, or one record of scrolling per 60 ms outside the rows.
  virtual Integer TrackRecordDrag(Integer X, Integer Y);
  virtual void FinishRecordDrag(Integer X, Integer Y, bool Drop);
  virtual bool MoveDraggedRecords(Integer ToRow, Integer TreeLevel, bool CheckOnly);
  virtual bool RequestMoveRecords(TBMListX* BookmarkList, Integer ToRow, Integer TreeLevel, bool CheckOnly);
  // The data set's record number of row Row of the data link's buffer; 0 while the link is
  // inactive. The buffer's active record is back where it was afterwards.
  Integer RecNoOfBufferRow(Integer Row);
  virtual bool MoveRecordsInDataset(TBMListX* BookmarkList, Integer ToRecNo, bool CheckOnly, Integer TreeLevel);
  bool RecordDragging() const { return FRecordDragging; }
  Integer RecordDragTargetRow() const { return FDragTargetRow; }
  Integer RecordDragTargetLevel() const { return FDragTargetLevel; }
  void RecordDragTimerTick();
  // The x position and tree level (Level) at which records dropped on grid row Row at Point
  // would land; -1 and 0 without a tree view.
  virtual Integer TreeDropLevelAt(Integer Row, TPoint Point, Integer& Level);
  // The drop line: dotted along the target row's edge, from X to Width; painted over the cells.
  void DrawRecordMoveLine(Integer X, Integer Width);
  void HideRecordMoveLine();
  bool RecordMoveLineShown() const { return FDragLineShown; }
  // The strip of client pixels the drop line takes; empty while it is not shown.
  TRect RecordMoveLineRect();

  // ---- tree view of a memory table's records
  bool TreeViewShown() const;
  // The memory table's index of the record in data row DataRow, -1 without one.
  Integer RecordIndexOfDataRow(Integer DataRow) const;
  // 18 pixels per node level of the record (of the current record for TreeNodeIndent).
  Integer TreeNodeIndentOf(Integer RecordIndex) const;
  Integer TreeNodeIndent() const;
  virtual void PaintTreeLines(Integer DataRow, const TRect& R, TGridDrawState State);
  // Whether (X, Y) lies in the tree indent of a record; unless CheckOnly a click on its button
  // expands or collapses the record's node.
  virtual bool HandleTreeButtonClick(Integer X, Integer Y, bool CheckOnly);

  // ---- cached sizes
  Integer IndicatorWidth() const { return FIndicatorWidth; }
  Integer StdRowHeight() const { return FStdRowHeight; }
  Integer TitleRowHeight() const { return FTitleRowHeight; }
  Integer EditButtonWidth() const { return FEditButtonWidth; }
  Integer EditButtonHeight() const { return FEditButtonHeight; }
  Integer GroupIndentWidth() const { return FGroupIndentWidth; }
  // The width of a cell's default button, from which the edit buttons' height follows.
  Integer DefaultButtonWidth() const;
  // The right-most grid column with a positive width, -1 when none.
  Integer LastVisibleCol() const { return FLastVisibleCol; }
  bool TallRows() const { return FTallRows; }
  Integer TitleTextHeight() const { return FTitleTextHeight; }
  Integer IndicatorWidthOf();
  Integer StdRowHeightOf();
  Integer FontRowHeight() { return StdRowHeightOf(); }
  // The first visible column's grid width holds the grouping indent: taken off and added.
  Integer WidthFromGrid(const TColumnX* Column, Integer W) const;
  Integer WidthToGrid(const TColumnX* Column, Integer W) const;
  // 18 pixels per grouping level while grouping is active, else 0.
  void UpdateGroupIndent();

  // ---- title tree
  THeadTreeNode* TitleTreeRoot() const { return FTitleTreeRoot.get(); }
  const PTLeafCol& LeafColumns() const { return FLeafColumns; }
  THeadTreeNode* LeafOf(const TColumnX* Column) const;
  Integer CalcTitleTreeHeights(THeadTreeNode* Node);
  Integer TitleCaptionTextHeight(THeadTreeNode* Child);

  // ---- areas
  Integer TitlesShown() const { return FOptions.Contains(dgTitles) ? 1 : 0; }
  virtual Integer UnderTitleRowCount() const;
  Integer HeaderRowCount() const { return TitlesShown() + UnderTitleRowCount(); }
  Integer TopDataRowOffset() const { return HeaderRowCount(); }
  // The pixel rectangle of the cells from (ALeft, ATop) to (ARight, ABottom).
  TRect BoxRect(Integer ALeft, Integer ATop, Integer ARight, Integer ABottom);
  bool IndicatorShown() const { return FOptions.Contains(dgIndicator) || FOptionsX.Contains(dghShowRecNo); }
  // The indicator columns before the first data column.
  Byte IndicatorOffset() const { return FIndicatorColCount; }
  // The grid's rows below the title area; the fully visible ones among them.
  Integer DataRowCount() const { return RowCount() - HeaderRowCount(); }
  Integer VisibleDataRowCount() { return FullyVisibleRowCount(); }
  virtual bool MultiTitleActive() const { return FUseMultiTitle && !FRowPanel->Active(); }
  // Classifies a grid cell; DataCol and DataRow receive the area-relative position.
  TCellTypeX GetCellType(Integer ACol, Integer ARow, Integer& DataCol, Integer& DataRow) const;

  // ---- layout
  Byte LayoutLock() const { return FLayoutLock; }
  Byte UpdateLock() const { return FUpdateLock; }
  void LockUpdates() { ++FUpdateLock; }
  // The last release of both locks runs a rebuild that was asked for while they were held.
  void UnlockUpdates();
  void LockLayout();
  void UnlockLayout();
  void UnlockLayoutQuietly();
  // A size change that arrived while the layout was locked, applied when the last lock goes.
  bool SizeChangedWhileLocked() const { return FSizeChangedWhileLocked; }
  virtual void HandleSizeChange();
  // Row count, scroll bars and the filter editor follow a new client size.
  void FollowClientSize();
  // The shown editor loads its cell again; an open list stays open.
  void InvalidateEditor();
  bool TryLockLayout();
  // Posts one WM_USER+100 and lowers the locks the caller holds without rebuilding.
  void RequestDeferredLayout();
  virtual void RequestLayout();
  virtual void RebuildLayout();
  virtual void UpdateColumnWidths();
  virtual void UpdateRowCount();
  virtual void UpdateVertScrollBar();
  virtual void UpdateExtHorzScrollBar();
  virtual void FollowActiveRecord();
  virtual void HandleLinkActiveChange(bool Active);
  virtual void HandleDataSetChange();
  virtual void HandleRecordChange(TField* Field);
  virtual void ScrollByRecords(Integer Distance);
  virtual void MapDataFields();
  virtual void CollectShownFields(std::vector<TField*>& List);
  void DistributeWidthChange(Integer Index, Integer ScreenWidth);
  // Times the layout was rebuilt (tests watch the lock discipline through it).
  Integer LayoutRebuilds() const { return FLayoutRebuilds; }

  // ---- editing permissions
  bool EditorAcceptsKey(QChar Key) override;
  bool EditorMayModify() override;
  bool EditorMayShow() override;
  bool BeginCellEdit();
  bool CanEditColumn(Integer DataCol);
  static bool FieldCanModifyX(TField* Field);
  virtual bool EditorAlwaysShown() const { return FOptions.Contains(dgAlwaysShowEditor); }
  virtual bool ConfirmDelete();
  virtual bool TakeFocus();

  // ---- editor contents and commit
  // The text the in-place editor holds for the current cell; written back by UpdateData.
  const String& EditorText() const { return FEditText; }
  void SetEditorText(const String& Value) { FEditText = Value; }
  // The key the editor chose for a key-list or lookup cell; Null when none.
  const Variant& EditKeyValue() const { return FEditKeyValue; }
  void SetEditKeyValue(const Variant& Value) { FEditKeyValue = Value; }
  String GetCellEditText(Integer ACol, Integer ARow) override;
  String GetCellEditMask(Integer ACol, Integer ARow) override;
  Integer GetCellEditMaxLength() override;
  void StoreCellEditText(Integer ACol, Integer ARow, const String& Value) override;
  TInplaceEdit* MakeInplaceEditor() override;
  // Writes the editor text into the current column's field.
  virtual void UpdateData();
  TColumnX* FindColumnByFieldName(const String& Name) const;
  // The data set may be changed at all: active, updates or an insert, records or the right to add.
  bool GridAllowsEdit() const;
  void FireEditButtonClick();
  TDBGridInplaceEdit* DBInplaceEditor() const;
  // The in-place editor exists and is visible.
  bool EditorVisible() const { return InplaceEditor() && InplaceEditor()->Visible(); }
  // The shown editor takes the cell's text again when Field (nullptr: the whole record)
  // changed it under the editor.
  void ReloadEditorAfterChange(TField* Field);

  // ---- painting entry points other parts use
  // The text of footer row Row of column DataCol: the painter, the export and the printing
  // all show this text.
  virtual String FooterValueText(Integer Row, Integer DataCol);
  // Set for good the first time a paint finds that the grid's layout calls for painting
  // through an off-screen bitmap (NeedsBufferedPaint), unless buffering is switched off
  // for all grids.
  bool BufferedPaint() const { return FBufferedPaint; }
  virtual bool NeedsBufferedPaint();
  // The keyboard focus is on the grid or on its in-place editor.
  virtual bool GridOrEditorFocused();
  bool DrawsFocusRect() override;
  // Whether a cell lies in the selection: every cell while all is selected; an indicator
  // cell of a selected record; a data cell of the record Bookmark by the selection's own
  // test; the title, filter and footer cells of a selected column.
  virtual bool IsCellSelected(Integer ACol, Integer ARow, const TBookmarkStr& Bookmark, Integer DataCol);
  // IsCellSelected for a cell of the painted record, reading its bookmark only when the
  // selection's kind needs it.
  bool PaintedCellSelected(Integer ACol, Integer ARow, Integer DataCol);
  // The colours of a data cell drawn as selected, the painted record being current: the
  // selection, the focused highlight and the highlighted current row. False leaves
  // Background and the font as they are.
  virtual bool PickDataCellColors(Integer DataCol, Integer DataRow, TFont* AFont, TColor& Background,
                                  TGridDrawState State);
  // The colours of a selected fixed cell: dark grey with white text for indicator, title and
  // filter cells, the highlight colours (grey without the focus) for footers. False, and
  // nothing changed, when the cell is not Selected.
  // Whether a cell is drawn raised: fixed cells with dghFixed3D (never a filter cell),
  // footers with dghFooter3D, data cells with dghData3D, frozen columns with dghFrozen3D.
  virtual bool CellHas3DLook(Integer ACol, Integer ARow, TGridDrawState State);
  virtual bool PickFixedCellColors(Integer ACol, Integer ARow, TCellTypeX CellType, bool Selected, TColor& Background,
                                   TFont* AFont);
  void InvalidateFooter();
  void InvalidateIndicator();
  void InvalidateCurrentRow();
  // ---- keyboard and selection moves
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(QChar& Key) override;
  // Empties the selection and ends a row extension.
  void ClearSelection();
  // ClearSelection with dghClearSelection; ends a row extension in any case.
  void ClearSelectionIfOption();
  // Moves the current record by Distance (ToEnd: until the data set ends), extending the
  // row or cell selection when Select.
  void SelectionMoveBy(bool Select, Integer Distance, bool RowsOnly, bool ToEnd);
  // Makes data column DataCol current; a Direction other than 0 skips hidden columns.
  void MoveCol(Integer DataCol, Integer Direction, bool Select);
  // OnColExit, not again while one is being reported; OnColEnter after the input method of
  // the new column is applied.
  virtual void FireColExit();
  virtual void FireColEnter();
  void NextRow(bool Select);
  void PriorRow(bool Select);
  void TabMove(bool Forward);
  bool SelectionKindAllowed(TDBGridXSelectionType Kind) const;
  bool SelectingRows() const { return FSelectingRows; }
  // The row extension under way: the record it began on, whether that row was selected
  // before, and whether the extension toggles rows instead of selecting them.
  const TBookmarkStr& SelectionAnchor() const { return FSelectionAnchor; }
  bool AnchorWasSelected() const { return FAnchorWasSelected; }
  bool ToggleExtension() const { return FToggleExtension; }

  // ---- input method: the grid's settings, replaced by the current column's own
  TImeMode ImeMode() const { return FImeMode; }
  void SetImeMode(TImeMode Value);
  const String& ImeName() const { return FImeName; }
  void SetImeName(const String& Value);
  // Hands the current column's input method to the editor.
  void UpdateIme();
  // UpdateIme, then activates the input method for the grid's window.
  void ApplyIme();

  // ---- edit actions
  bool CanCopy() const;
  bool CanPaste() const;
  bool CanCut() const;
  bool CanDelete() const;
  bool CanSelectAll() const;
  // The edit actions named in EditActions, when the grid has the focus: cut, copy, paste,
  // delete and select all act on the selection through the grid-output hooks.
  bool ExecuteAction(TAction* Action) override;
  bool UpdateAction(TAction* Action) override;
  // In automatic drag mode the grid's own click handling runs first; a press on the selection
  // starts the drag once the mouse moves.
  void WndProc(TMessage& Message) override;

  // ---- incremental search
  bool IncSearching() const { return FIncSearching; }
  const String& IncSearchText() const { return FIncSearchText; }
  // Adds Text to the search text and searches: Mode 2 from the first record, 1 from the next
  // record on, 0 from the prior record back. A timeout of -1 keeps the search until it is ended.
  void IncSearchStep(const String& Text, Integer Timeout, Integer Mode);
  void StopIncSearch();
  void StartIncSearchTimer();
  static constexpr Integer IncSearchTimerId = 2;
  // Opens the find dialog through the centre, with FindText to look for.
  void ShowFindDialog(const String& FindText, const String& FieldName, bool Modal);
  virtual bool FindDialogModal() const { return true; }

  // ---- searching and filtering
  // Raises when no column shows the field.
  TColumnX* ColumnByFieldName(const String& FieldName) const;
  // The centre's text location under a busy cursor; true when a matching cell became current.
  bool LocateText(const String& FieldName, const String& Text, TGridSearchOptionsX Options,
                  TGridSearchDirectionX Direction, TGridSearchMatchX Match, TGridSearchTreeRangeX TreeRange);
  // Stores the filter editor's text, then OnApplyFilter or the centre's filtering; the
  // position, the left column, the sums and the display follow, also when filtering fails.
  void ApplyFilter();
  virtual void DefaultApplyFilter();

  // ---- filter row (the editor over a filter cell; Col is an index into Columns)
  TInplaceFilterEditX* FilterEditor() const { return FFilterEdit; }
  Integer FilterCol() const { return FFilterCol; }
  bool FilterEditMode() const { return FFilterEditMode; }
  bool CanFilterColumn(Integer Col) const;
  virtual bool CanShowFilterEditor() const;
  // The row is the last row of the title area.
  bool IsFilterRowCell(Integer ACol, Integer ARow) const;
  String FilterTextOf(Integer Col) const;
  void ShowFilterEditor(Integer Col);
  void HideFilterEditor();
  void LeaveFilterRow();
  void UpdateFilterEditor(bool Reload);
  // UpdateFilterEditor while the filter row is in use: the editor stays over its cell when
  // the grid scrolls, is sized or lays itself out again.
  void FollowFilterEditor();
  // Hands the editor's text to the column's filter; parse errors propagate.
  virtual void StoreFilterText(Integer Col);
  void StoreCurrentFilterText();
  void ClearFilters();
  // The filter drop-down list of a column's title (or of the filter editor).
  void DropDownColumnFilterList(TColumnX* Column);
  void DropDownFilterList(TColumnX* Column, const TRect& Rect);
  void CloseFilterList(bool Accept);
  // The list's entries: the events' and the centre's, or the command entries and the values.
  void FillFilterList(TSTColumnFilterX* Filter, TStrings* Items, Integer& Width, TPopupListboxX* ListControl);
  // The column whose filter list is open (or whose entry is being run as it closes).
  TColumnX* FilterDropDownColumn() const { return FFilterListColumn; }
  TPopupListboxX* FilterList() const { return FFilterList; }
  bool FilterListDropped() const { return FFilterListDropped; }
  // The in-title filter button of a title cell: the right end of CellRect (inside its raised
  // frame), at most half its width, as high as the edit buttons and centred; true when P is on it.
  bool FilterButtonHit(const TPoint& P, TRect CellRect, TRect& ButtonRect) const;
  // Whether P lies on the in-title filter button of the data column's title at Cell (on the
  // leaf band of a multi-level title); Column is the title's column.
  bool InTitleFilterHit(TGridCoord Cell, const TPoint& P, TRect& ButtonRect, TColumnX*& Column);
  // The cell button under P (relative to the cell): 0 the in-title filter button, -1 none.
  Integer EditButtonAtPoint(Integer ACol, Integer ARow, Integer Y, Integer X);
  Integer HotEditButton() const { return FHotEditButton; }
  // With dghHotTrack every cell; else the last title row while the filter row is in the titles.
  bool CanHotTrackCell(Integer ACol, Integer ARow) override;
  // The pointer is over the bands of a multi-level title rather than over its leaf caption.
  bool HotTitleBand() const { return FHotTitleBand; }
  // With dghAutoSortMarking: OnSortMarkingChanged, or the centre's sorting.
  virtual void FireSortMarkingChanged();
  TDBGridXFillSTFilterListValuesEvent OnFillSTFilterListValues;

  // IInplaceEditHolderX: the grid holds the filter editor.
  bool AllowEditorChange(TControl*) override { return true; }
  void LastMouseDown(TPoint& ScreenPos, Cardinal& Time) override;
  void PreviewEditorMessage(TControl*, TMessage&) override {}
  void HolderKeyDown(TControl* Edit, Word& Key, TShiftState Shift) override;
  void HolderKeyPress(TControl* Edit, QChar& Key) override;
  void HolderKeyUp(TControl*, Word&, TShiftState) override {}

  // ---- position keeping around walks over the data set: back to the same record, as far as
  // the data set allows at the same place of the window. One saved position at a time.
  void SavePosition();
  void RestorePosition();

  // Makes buffer record Row the data link's active record for a query (in memory-table rows,
  // lets the fields read record Row); always in pairs.
  void SetActiveRow(Integer Row);
  void RestoreActiveRow();
  // Records shown as data rows: the group tree's rows, the memory table's records, or the
  // data link's buffered records.
  Integer RecordRowCount() const;
  bool IsActiveRow(Integer Row) const;
  // The data row of the current record.
  Integer ActiveDataRow() const;

  // ---- a memory table shown row by row
  // The data set offers the memory-table interface and the centre lets the grid use it.
  bool MemTablePixelScroll() const;
  // Every record of the memory table is a grid row and the vertical bar scrolls by rows
  // (with a smoothly scrolling vertical bar, without grouping and tree view).
  bool ScrollsByMemTableRows() const;
  // Row can become the top row, clamped to the data rows and the last page; unless OnlyCompute
  // the grid scrolls there. Answers the row.
  Integer ScrollToRow(Integer Row, bool OnlyCompute);
  // After a size change the top row goes no further than the top of the last page.
  void ClampTopRow();
  // WM_VSCROLL scrolls the rows: lines, pages, the ends and the thumb.
  void HandleVScroll(TMessage& Message);
  void UpdateVertScrollBarByRows();
  TScrollBarVisibleModeX LastVertBarMode() const { return FLastVertBarMode; }
  // The row height record Row needs: its content, or a group row's height.
  virtual Integer DataRowHeight(Integer Row);
  // Every memory-table row measured again; otherwise the first data row takes the default height.
  virtual void UpdateDataRowHeights();
  bool AnyColumnHidesDuplicates() const;
  // Each column bound to the field becomes current in turn (a focus request of the data link).
  void SelectColumnOfField(TField* Field);
  // The mouse cursor lies in R (client coordinates).
  bool CursorInRect(const TRect& R);

  // ---- mouse
  // GridMouseState: what a held button is doing.
  static constexpr Byte gmsNone = 0, gmsRowSelecting = 1, gmsColumnSelecting = 2, gmsRectSelecting = 3,
                        gmsIndicatorTitlePressed = 5, gmsRecordDrag = 7;
  Byte GridMouseState() const { return FGridMouseState; }
  bool MouseTracking() const { return FMouseTracking; }
  Integer PressedTitleCol() const { return FPressedTitleCol; }
  bool TitlePressedShown() const { return FTitlePressedShown; }
  bool RowDragSelecting() const { return FRowDragSelecting; }
  bool CellDragSelecting() const { return FCellDragSelecting; }
  bool CtrlSortPending() const { return FCtrlSortPending; }
  bool DragModeOverride() const { return FDragModeOverride; }
  bool SelectionDragPending() const { return FSelectionDragPending; }
  TPoint MouseDownPoint() const { return FMouseDownPoint; }
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  // A row sized with the mouse sets the standard row height, so that later rows keep it.
  void RowHeightsUpdated() override;
  // With an active data link the wheel moves the current record by one.
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
  // Draws the held title button pressed while the pointer is over it.
  void UpdateTitlePress(Integer X, Integer Y);
  // Ends every tracking of a held button.
  void EndMouseTracking();
  void StopMouseTracking() override;
  // Traced column sizing shows the width itself, so it draws no sizing line.
  void XorSizingLine(const TGridDrawInfoX& DrawInfo) override;
  virtual void FireTitleClick(TColumnX* Column);
  virtual void FireTitleBtnClick(Integer ACol, TColumnX* Column);
  virtual void FireCellClick(TColumnX* Column);
  virtual void QueryCheckButton(Integer ACol, bool& Enabled);
  // OnIndicatorTitleMouseDown, else IndicatorTitleClick.
  void IndicatorTitleMouseDown(TGridCoord Cell, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual void IndicatorTitleClick();
  // OnBuildIndicatorTitleMenu, else DefaultBuildIndicatorMenu (the centre's menu).
  void BuildIndicatorMenu(TPopupMenu*& Menu);
  virtual void DefaultBuildIndicatorMenu(TPopupMenu*& Menu);
  bool IndicatorTitlePressed() const { return FIndicatorTitlePressed; }
  void ToggleColumnVisible(TColumnX* Column);
  // The edit command of a menu entry: cut, copy, paste, delete or select all.
  void RunEditAction(Integer Action);
  void DefaultCellMouseClick(const TGridCoord& Cell, TMouseButton Button, TShiftState Shift, Integer X,
                             Integer Y) override;
  // After the default handling, a right release in a column's cells shows its PopupMenu.
  void DefaultHandler(TMessage& Message) override;
  using TDBGridXBuildIndicatorTitleMenu = std::function<void(TCustomDBGridX* Grid, TPopupMenu*& PopupMenu)>;
  TDBGridXBuildIndicatorTitleMenu OnBuildIndicatorTitleMenu;

  // ---- auto-scroll while a selection is dragged past the data area
  static constexpr Integer AutoScrollTimerId = GridMoveTimerId;
  // Ticks never come faster than this: a shorter interval would keep the event loop busy.
  static constexpr Integer MinAutoScrollInterval = 10;
  void StartAutoScroll(Integer Interval);
  void StopAutoScroll();
  bool AutoScrollRunning() const { return FAutoScrollRunning; }
  // Milliseconds between ticks; -1 while stopped.
  Integer AutoScrollTimerInterval() const { return FAutoScrollInterval; }
  // The pixels of the data cells: the first data column to the last column, the first row
  // under the titles to the last data row (Right and Bottom exclusive).
  TRect DataBoxRect();
  TGridRectX DataBoxCells();
  virtual void AutoScrollTick();

  // ---- hints and tool-tips
  TDBGridXHintShowPauseEvent OnHintShowPause;
  TDBGridXDataHintShowEvent OnDataHintShow;
  // Whether Text needs more room than Rect less Margin on each side.
  bool CellTextDoesNotFit(TFont* AFont, const TRect& Rect, const String& Text, bool WordWrap, Integer Margin,
                          Integer& TextWidth, Integer& TextHeight);
  // The font the grid's tool-tips are drawn in.
  TFont* HintFont();

  // ---- optimal column width
  // Fits Column, or the selected columns when it is among them (every column under gstAll).
  void OptimizeColumnWidth(TColumnX* Column);
  // Widest of title, every record's cell and the footers, each with its margins.
  void OptimizeColumnsWidth(const TColumnsXList& Columns);

  // ---- events
  TMovedEvent OnColumnMoved;
  TNotifyEvent OnColEnter;
  TNotifyEvent OnColExit;
  TNotifyEvent OnColWidthsChanged;
  TNotifyEvent OnSelectionChanged;
  TNotifyEvent OnSortMarkingChanged;
  TNotifyEvent OnSumListRecalcAll;
  TNotifyEvent OnSumListAfterRecalcAll;
  TNotifyEvent OnEditButtonClick;
  TNotifyEvent OnApplyFilter;
  TDBGridXClickEvent OnCellClick;
  TDBGridXClickEvent OnTitleClick;
  TTitleXClickEvent OnTitleBtnClick;
  TCheckTitleXBtnEvent OnCheckButton;
  TDrawColumnXCellEvent OnDrawColumnCell;
  TDrawDataCellEvent OnDrawDataCell;
  TDrawFooterCellEvent OnDrawFooterCell;
  TGetCellXParamsEvent OnGetCellParams;
  TGetBtnXParamsEvent OnGetBtnParams;
  TGetFooterParamsEvent OnGetFooterParams;
  TGetDBGridXRowHeightEvent OnGetRowHeight;
  TDBGridXAdvDrawColumnDataEvent OnAdvDrawDataCell;
  TGridMoveRecordsEventX OnMoveRecords;
  TGridXCellMouseEvent OnIndicatorTitleMouseDown;

  void Dispatch(TMessage& Message) override;
  bool IsSmoothHorzScroll() override;
  bool IsSmoothVertScroll() override;
  void ColumnMoved(Integer FromIndex, Integer ToIndex) override;
  void ColWidthsChanged() override;
  void ChangeScale(Integer M, Integer D);
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
  virtual std::unique_ptr<TColumnDefValuesX> CreateColumnDefValues();
  virtual std::unique_ptr<TDBGridColumnsX> CreateColumns();
  virtual std::unique_ptr<TDBGridXScrollBar> CreateScrollBarSettings(TScrollBarKind Kind);
  // Makes the columns and their defaults again through the factories, for a subclass whose
  // factories the constructor could not reach yet.
  void RemakeColumnObjects();
  void CreateWnd() override;
  // A flat grid with a single border draws its own one-pixel frame instead of the client edge.
  void CreateParams(TCreateParams& Params) override;
  Integer FlatBorderWidth() const;
  void WMNCCalcSize(TMessage& Message);
  // Font and colour notices: row and title heights follow the fonts, so each rebuilds the layout.
  void CMFontChanged(TMessage& Message) override;
  void CMParentFontChanged(TMessage& Message);
  void CMParentColorChanged(TMessage& Message);
  void WMNCPaint(TMessage& Message);
  virtual void PaintFlatBorder(TCanvas* Canvas);
  void FlatChanged() override;
  void Paint() override;
  void PaintCell(Integer ACol, Integer ARow, TGridDrawState State, TRect R) override;
  void Resize() override;

  // Cell painters.
  virtual void PaintTitleCell(Integer ACol, Integer ARow, Integer DataCol, TRect R, TGridDrawState State);
  // The inside of a title cell; PointerOnUpperBand: the pointer is over a band above the leaf.
  virtual void PaintTitleContent(TColumnX* Column, const TRect& Cell, TDBGirdDrawTitleStateX& Title,
                                 TGridDrawState State, bool PointerOnUpperBand);
  TDBGirdDrawTitleStateX TitleDrawState(Integer ACol, Integer ARow, TColumnX* Column, THeadTreeNode* Leaf,
                                        TGridDrawState State);
  // Where a title's parts go: margins, pressed offset, text, sort marker and number, filter button.
  struct TTitleContentLayoutX {
    Integer DX = 2, DY = 2, Press = 0;
    TRect Inner, Text, ButtonStrip;
    Integer ImageIndex = -1;
    Integer MarkerRight = 0;
    bool ShowMarker = false;
    String SortNumber;
    Integer NumberWidth = 0;
  };
  TTitleContentLayoutX LayoutTitleContent(TColumnX* Column, const TRect& Cell, const TDBGirdDrawTitleStateX& Title);
  void PaintTitleCaption(TColumnX* Column, const TRect& Cell, const TDBGirdDrawTitleStateX& Title,
                         TTitleContentLayoutX& Layout);
  void PaintTitleSortMarker(const TRect& Cell, const TDBGirdDrawTitleStateX& Title, const TTitleContentLayoutX& Layout);
  void PaintTitleFilterButton(TColumnX* Column, const TRect& Cell, const TDBGirdDrawTitleStateX& Title,
                              const TTitleContentLayoutX& Layout, TGridDrawState State, bool PointerOnUpperBand);
  void PaintTitleBands(Integer ACol, Integer ARow, TColumnX* Column, THeadTreeNode* Leaf, const TRect& R,
                       Integer LeafTop, const TDBGirdDrawTitleStateX& Title);
  void PaintTitleRightLine(const TRect& R, Integer LeafTop);
  virtual void PaintIndicatorCell(Integer ARow, Integer DataRow, TCellAreaRowX Kind, TRect R, TGridDrawState State);
  virtual void PaintDataCell(Integer ACol, Integer ARow, Integer DataCol, Integer DataRow, TRect R,
                             TGridDrawState State);
  virtual void PaintFooterCell(Integer ACol, Integer ARow, Integer DataCol, Integer DataRow, TRect R,
                               TGridDrawState State);
  // A data cell that no OnAdvDrawDataCell drew: background, content, buttons, marks, then the
  // draw events.
  void DefaultDataCellDrawing(Integer ACol, Integer ARow, Integer DataCol, Integer DataRow, TRect R,
                              TGridDrawState State, TColumnX* Column, const TPaintedRecordX& Record);
  void PaintCellAsFixed(Integer ACol, Integer ARow, const TRect& R, TGridDrawState State);
  virtual void PaintUnderTitleCell(Integer ACol, Integer ARow, Integer DataCol, TRect R, TGridDrawState State);
  virtual void PaintIndicatorGlyph(Integer Kind, Integer YOffset, Integer XOffset, const TRect& R);
  // The drop-down sign of the indicator title, white when Light.
  virtual void PaintIndicatorDropDownSign(bool Light, const TRect& R);
  // The mark of a filtered column on its in-title filter button, white when Light.
  virtual void PaintSortMarker(const TRect& R, bool Light);
  void PaintTopOutBoundary(const TRect& R) override;
  void PaintMouseFeedback(const TGridDrawInfoX& DI) override;
  virtual void PaintGroupPanelItem(const TRect& R, TGridDataGroupLevelX* Level);
  // A group row's part in the cell of column DataCol: the bands of the levels above, the
  // node's band with its expand box and the row's text running on over every column.
  virtual void PaintGroupRow(Integer DataCol, const TRect& R, TGridDrawState State, TGroupDataTreeNodeX* Node);
  // The grouping indent left of a data row's first visible cell: a band per level.
  virtual void PaintGroupIndent(Integer DataRow, const TRect& R, Integer LevelCount);
  // The selection look of a group row: highlight colours while the grid or its editor has
  // the focus, button colours while it has not.
  virtual void PickGroupRowColors(bool CurrentRow, TFont* Font, TColor& Color, TGridDrawState State);
  // A group row from the first data column to the last, given one of its cells.
  TRect GroupRowRect(Integer DataCol, const TRect& CellRect) const;
  // A picture column's cell: the field's picture fitted into R, or its text without
  // DrawGraphicData.
  virtual void PaintGraphicOrMemo(TColumnX* Column, const TRect& R);
  virtual void FireGetCellParams(TColumnX* Column, TFont* AFont, TColor& Background, TGridDrawState State);
  // OnGetFooterParams: the painter, the tool-tips and the optimal width all pass a footer's
  // text, font, colour and alignment through it.
  virtual void FireGetFooterParams(Integer DataCol, Integer Row, TColumnX* Column, TFont* AFont, TColor& Background,
                                   TAlignment& Alignment, TGridDrawState State, String& Text);
  virtual void FireDrawColumnCell(const TRect& Rect, Integer DataCol, TColumnX* Column, TGridDrawState State);
  // Fills R and writes Text in it inside the margins DX and DY, moved right by Shift.
  void WriteCellText(const TRect& R, Integer DX, Integer DY, const String& Text, TAlignment Alignment,
                     TTextLayout Layout, bool WordWrap, bool EndEllipsis, Integer Shift = 0);
  // Fills R and writes a title caption in it: broken into lines where it must be, inside the
  // margin DX, centred vertically, moved right by Shift.
  void WriteTitleCaption(const TRect& R, Integer DX, const String& Caption, TAlignment Alignment, bool EndEllipsis,
                         Integer Shift = 0);
  // A cell button's face of FaceKind (the drop-down face by default) over Color, blended in
  // at (100 - Transparency) percent.
  void PaintCellButton(const TRect& ButtonRect, TColor Color, Integer Transparency, Integer PressedPart,
                       Integer FaceKind = 0, bool Hot = false);
  // A title's image in R: centred under multi-level titles, else placed by Alignment.
  void PaintTitleImage(const TRect& R, Integer DX, TAlignment Alignment, Integer ImageIndex);
  void PaintCheckBoxCell(const TRect& R, Integer CheckState);
  // A button face painted the right way round also on a right-to-left grid's mirrored canvas;
  // the arguments are the face painter's.
  void DrawCellButton(TCanvas* ACanvas, const TRect& Rect, TColor BackColor, Integer Kind, Integer PressedPart,
                      bool IsFlat, bool Hot, bool Enabled, Integer CheckState);
  // A button at the right end of a data cell: the column's default button (no Button) or one
  // of its visible edit buttons. Number: 0 for the default button, 1.. for the edit buttons.
  struct TCellButtonX {
    TEditButtonX* Button;
    TEditButtonStyleX Style;
    Integer Width;
    Integer Number;
  };
  std::vector<TCellButtonX> CellButtonsOf(TColumnX* Column) const;
  Integer CellButtonsWidth(TColumnX* Column) const;
  // The Number of the cell button under P in the data cell Cell, -1 for none.
  Integer CellButtonAtPoint(TColumnX* Column, const TRect& Cell, TPoint P) const;
  // Whether X lies in the strip the column's buttons take at the right end of Cell.
  bool InCellButtonsStrip(TColumnX* Column, const TRect& Cell, Integer X) const;
  // A press on a cell's buttons goes on to the editor now standing over the cell: the control
  // under P (the editor's button) gets it as a left press of its own.
  void ForwardPressToEditor(TPoint P);
  // Whether a data cell shows its column's buttons, by the column and EditButtonsShowOptions.
  bool ShowsEditButtons(TColumnX* Column, bool CurrentRow, bool CurrentCell);
  // The cell buttons of grid cell At laid out from TextRight, the part below them filled.
  void PaintCellEditButtons(TColumnX* Column, TGridCoord At, const TRect& Cell, Integer TextRight, bool Raised,
                            Integer Transparency, TColor Color);
  // Image ImageIndex of Images centred in the filled cell R; none for an index out of range.
  void PaintImageCell(TCustomImageList* Images, const TRect& R, Integer ImageIndex);
  void PaintRequiredMark(TColumnX* Column, const TRect& R);
  // Duplicate hiding: a painted cell equal to the one above loses its text and image, and the
  // line between two equal cells takes the column's colour.
  bool HidesDuplicatesOf(TColumnX* Column) const;
  String ShownTextOfRecord(TColumnX* Column, Integer DataRow);
  void HideDuplicate(TColumnX* Column, Integer DataRow);
  void GetCellLineParams(Integer ACol, Integer ARow, Byte LineKind, bool& Draw, TColor& Color, bool& Cross) override;
  void WriteRecordNumber(Integer Number, TRect R);
  void PaintIncSearchText(const TRect& R, Integer DX, Integer DY, const String& Text, TAlignment Alignment,
                          TTextLayout Layout);

  void WMChar(TMessage& Message) override;
  void WMSize(TMessage& Message) override;
  void WMImeStartComposition(TMessage& Message);
  void CMSysColorChange(TMessage& Message) override;
  void CMMouseWheel(TMessage& Message) override;
  void ScrollPositionChanged() override;
  virtual TInplaceFilterEditX* CreateFilterEditor();
  virtual void LoadFilterEditor(Integer Col);
  void WMTimer(TMessage& Message) override;
  void WMSetCursor(TMessage& Message) override;
  void WMScroll(TMessage& Message) override;
  void CMWantSpecialKey(TMessage& Message) override;
  void WMGetDlgCode(TMessage& Message) override;
  void WMKillFocus(TMessage& Message) override;
  void WMSetFocus(TMessage& Message) override;
  // Repaints what shows the focus: the selection (drawn in other colours without it), the
  // current row, and the cell buttons shown only while the grid is active.
  virtual void HandleSelectionChange();
  void FollowFocusChange();
  void WMCancelMode(TMessage& Message) override;
  void CMCancelMode(TMessage& Message) override;
  void UpdateHotTrack(Integer X, Integer Y) override;
  // With the row panel on, the panel cells' right and bottom edges size their columns.
  void HitTestSizing(Integer X, Integer Y, const TGridDrawInfoX& DrawInfo, TGridMouseStateX& State, Integer& Index,
                     Integer& SizingPos, Integer& SizingOfs) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void DoExit() override;
  virtual void CMHintShowPause(TMessage& Message);
  virtual void CMHintShow(TMessage& Message);

private:
  // Moves the filter editor to the next filterable column in Direction (Jump: to the first
  // or last; Wrap: around the ends).
  void MoveFilterCol(Integer Direction, bool Jump, bool Wrap = false);
  bool FilterRowMouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  bool TitleFilterButtonMouseDown(TGridCoord Cell, Integer X, Integer Y);
  void PassPressToFilterEditor(Integer X, Integer Y);
  void FilterListFocusLost();
  // Neither the base grid nor this grid follows a press of the mouse.
  bool NoMouseAction() const;
  void FilterEditorChanged();
  void FilterEditorCloseUp(bool Accept);
  void FilterListKeyDown(Word& Key, TShiftState Shift);
  TInplaceFilterEditX* FFilterEdit = nullptr;
  Integer FFilterCol = -1;
  bool FFilterEditMode = false;
  bool FFilterLoading = false;
  TPopupListboxX* FFilterList = nullptr;
  bool FFilterListDropped = false;
  TColumnX* FFilterListColumn = nullptr;
  TRect FFilterListRect;
  Integer FHotEditButton = -1;
  bool FHotTitleBand = false;
  TPoint FLastMouseDownPos;
  Cardinal FLastMouseDownTime = 0;
  // Makes the fields read the record grid row ARow (data row DataRow) shows: its node's
  // record under grouping, else the data link's buffer row. False for a row without a record;
  // a true answer is always followed by LeavePaintedRecord.
  bool EnterPaintedRecord(Integer ARow, Integer DataRow, TPaintedRecordX& Record);
  void LeavePaintedRecord();
  bool FPaintedRecordEntered = false;
  void HideGroupPanelArrow();
  void PaintGroupPanelArrow(const TRect& R, const std::vector<TRect>& Boxes);
  // The collection index of active level ActiveIndex; the level count past the last.
  Integer GroupLevelIndexOfActive(Integer ActiveIndex) const;
  Integer FGroupPanelDragLevel = -1;
  Integer FGroupPanelPressedLevel = -1;
  bool FGroupPanelPressedShown = false;
  Integer FGroupPanelDropIndex = -1;
  // The level whose box was dragged off the group panel and goes on as a column move.
  Integer FDragGroupLevel = -1;
  // A box dragged below the group panel becomes a move of its column among the titles.
  bool LeaveGroupPanelAsColumnMove(Integer X, Integer Y);
  // Ends the column move of a box dragged off the group panel: over the panel the level moves
  // to the drop place, elsewhere its column is shown again and the level goes.
  void FinishGroupLevelColumnMove(Integer Y);
  void PaintRowPanelCell(Integer ACol, Integer ARow, TCellAreaRowX Kind, Integer DataRow, TRect R, TGridDrawState State);
  // The tree level of the row shown after the group tree's flat row FlatIndex, 0 after the last.
  Integer NextFlatRowLevel(Integer FlatIndex) const;
  // The 18-pixel bands of levels 1 to LevelCount from Row's left, closed at the bottom
  // where the next row is not deeper.
  void PaintGroupBands(const TRect& Row, Integer LevelCount, Integer NextLevel);
  friend class TGridDataLinkX;
  friend class TDBGridInplaceEdit;
  void ExtendRowSelection(Integer Step);
  // The row extension stepped to the first (Step -1) or last (Step 1) record, walked with
  // the data set's controls held off and the marks listed in one change.
  void ExtendRowSelectionToEnd(Integer Step);
  // The arrow keys move between the row panel's cells.
  bool PanelCellToCell() const;
  // Up or Down in the row panel: the cell above or below, else the next record's cell at the
  // far end of the same column.
  void PanelVerticalMove(bool Down);
  void DeleteRecordsAsked();
  void CopyFromPreviousRecord();
  // The steps of KeyDown, in their order, and the keys of its tables.
  bool RouteKeyToFilterList(Word& Key, TShiftState Shift);
  void EnterFilterRowByUpKey(Word& Key, TShiftState Shift);
  void MirrorHorizontalKeys(Word& Key);
  bool GroupRowTakesKey(Word& Key, TShiftState Shift);
  void SearchAndShortcutKeys(Word& Key, TShiftState Shift);
  void CtrlKeyDown(Word& Key, TShiftState Shift);
  void PlainKeyDown(Word& Key, TShiftState Shift);
  void ClearSteppedCellOnDelete(Word Key, TShiftState Shift);
  void CtrlVerticalKey(Word Key, bool MultiShift);
  void CtrlDeleteKey();
  void EscapeKey();
  void PageKey(Word Key, bool MultiShift);
  void HomeEndKey(Word Key, bool MultiShift);
  void HorizontalKey(Word Key, bool MultiShift);
  void UpKey();
  void DownKey();
  void InsertKey(TShiftState Shift);
  // The keypad's *, + and -: toggle, expand or collapse the current tree node, else the
  // row detail panel.
  void KeypadNodeKey(Word Key);
  // Whether the current row may show the detail panel (OnCheckRowHaveDetailPanel, default yes).
  bool CurrentRowHasDetailPanel();
  // Opens the detail panel under the current row and focuses into it.
  void OpenDetailPanelByKey();
  // The keypad's characters operate the tree or the detail panel instead of opening the editor.
  bool KeypadOperatesTreeOrPanel() const;
  void PassCharToFilterEditor(QChar Key);
  friend class TColumnX;
  friend class TDBGridColumnsX;
  // A column being destroyed: its open filter list and filter editor close first, without
  // taking their values, so that nothing keeps pointing at it.
  void ColumnGoing(TColumnX* Column);
  void TitleFontChanged();
  void FooterFontChanged();
  void SyncBaseOptions();
  void InternalLayout();
  void FitColumnWidths();
  void MeasureRows();
  void UpdateLineColors();
  void ComputeTitleHeight();
  void RebindColumns();
  // Gives every footer its sum item; the records are walked once for all of them.
  void SyncFooterSumItems();
  Integer ClientWidthForFit() const;

  TDBGridXStyle* FStyle = nullptr;
  TDBGridXCenter* FCenter = nullptr;
  std::unique_ptr<TGridDataLinkX> FDataLink;
  std::unique_ptr<TBookmarkListX> FBookmarks;
  std::unique_ptr<TColumnDefValuesX> FColumnDefValues;
  std::unique_ptr<TDBGridColumnsX> FColumns;
  TColumnsXList FVisibleColumns;
  TColumnsXList FSortMarkedColumns;
  std::unique_ptr<TFont> FTitleFont;
  std::unique_ptr<TFont> FFooterFont;
  std::unique_ptr<TFont> FCellParamsFont;
  std::unique_ptr<TDBGridXSumList> FSumList;
  std::unique_ptr<TDBGridXScrollBar> FHorzScrollBar;
  std::unique_ptr<TDBGridXScrollBar> FVertScrollBar;
  std::unique_ptr<TDBGridXSelection> FSelection;
  std::unique_ptr<TColCellParamsX> FCellParams;
  std::unique_ptr<TSTDBGridXFilter> FSTFilter;
  std::unique_ptr<TDBGridXIndicatorTitle> FIndicatorTitle;
  std::unique_ptr<TGridRowPanelX> FRowPanel;
  std::unique_ptr<TRowDetailPanelX> FRowDetailPanel;
  std::unique_ptr<TDBGridXDataGroupsX> FDataGrouping;
  IMemTableX* FMemTable = nullptr;
  bool FSyncingGroupNode = false;
  bool FMemTableRecordEntered = false;  // SetActiveRow entered a memory-table record
  TScrollBarVisibleModeX FLastVertBarMode = sbAutoShowX;
  bool FInMouseMove = false;  // a mouse action moves the record: no horizontal scrolling to it
  void UpdateMemTableRowCount();
  // The current row follows the memory table's current record (Distance: records scrolled).
  void FollowMemTableRecord(Integer Distance);
  Integer LastTopRow();
  Integer LastFullyVisibleRow();
  void WriteVertBarInfo(TScrollInfo& Info);
  TDataSet* FMemTableDataSet = nullptr;  // the data set FMemTable belongs to
  TRowDetailPanelControlX* FRowDetailPanelControl = nullptr;
  Integer FDetailPanelRow = -1;  // the grid row made tall for the open panel
  bool FRecordDragging = false;
  TBookmarkStr FDragBookmark;
  Integer FDragSourceRow = -1, FDragTargetRow = -1;
  Integer FDragSourceLevel = -1, FDragTargetLevel = -1;
  TPoint FDragMousePos;
  Cardinal FDragLastStep = 0;
  bool FDragLineShown = false;
  Integer FDragLineX = 0, FDragLineWidth = 0;
  std::vector<TRowPanelRectX> FRowPanelRects;
  Integer FRowPanelLineHeight = 0;
  Integer FRowPanelWidth = 0;
  Integer FRowPanelHeight = 0;
  Integer FRowPanelColumn = 0;
  // mouse inside the row panel
  void PanelCellPress(TMouseButton Button, TShiftState Shift, TGridCoord Cell, Integer DataRow, Integer X, Integer Y);
  void PanelTitlePress(TMouseButton Button, TShiftState Shift, TGridCoord Cell, Integer X, Integer Y);
  // Ends a panel sizing, title drag or press; false for a release the panel does not own.
  bool PanelMouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  void FinishPanelSizing(TShiftState Shift, Integer X, Integer Y);
  // Starts a title drag once a pressed panel title moved far enough.
  bool PanelTitleDragMove(TShiftState Shift, Integer X, Integer Y);
  void DrawTitleDragFeedback(bool ShowLine);
  void HideTitleDragFeedback();
  // The panel column under a client point in grid cell Cell.
  TColumnX* PanelColumnUnder(TGridCoord Cell, Integer X, Integer Y, bool Plain);
  // The hot panel column and its filter button under (X, Y); false outside the panel's cells.
  bool UpdatePanelHot(TGridCoord Hot, Integer X, Integer Y);
  // The group panel's box under (X, Y) and whether the point is on its filter button.
  void UpdateGroupPanelHot(Integer X, Integer Y);
  // The filter button of a group panel box (when the filter row lies in the titles).
  bool GroupBoxFilterButton(const TRect& Box, TRect& Button) const;
  bool FPanelTitleDragging = false;
  bool FPanelSizing = false;
  bool FPanelSizingHit = false;
  Integer FDragTargetCol = -1;
  Integer FDragTargetLine = 0;
  TPoint FDragOffset;
  TRect FDragFrame;
  Integer FPanelClickedColumn = -1;
  Integer FHotPanelColumn = -1;
  Integer FEditorPanelColumn = -1, FEditorPanelRow = -1;  // where the editor was loaded in the panel
  TGroupDataTreeNodeX* FCurrentGroupNode = nullptr;
  std::unique_ptr<THeadTreeNode> FTitleTreeRoot;
  PTLeafCol FLeafColumns;
  TCustomImageList* FTitleImages = nullptr;
  // A change of TitleImages repaints the grid.
  TChangeLink FTitleImagesLink;

  TDBGridOptions FOptions;
  TDBGridXOptions FOptionsX;
  TDBGridXAllowedOperations FAllowedOperations{alopInsertX, alopUpdateX, alopDeleteX, alopAppendX};
  TDBGridXAllowedSelections FAllowedSelections{gstRecordBookmarks, gstRectangle, gstColumns, gstAll};
  TDBGridXEditActions FEditActions;
  TEditButtonsShowOptionsX FEditButtonsShowOptions;
  bool FAutoFitColWidths = false;
  Integer FMinAutoFitWidth = 0;
  Integer FFrozenCols = 0;
  Integer FContraCols = 0;
  bool FDefaultDrawing = true;
  bool FDrawGraphicData = false;
  bool FDrawMemoText = false;
  TColor FEvenRowColor = clWindow;
  bool FEvenRowColorAssigned = false;
  TColor FOddRowColor = clWindow;
  bool FOddRowColorAssigned = false;
  TColor FFooterColor = clWindow;
  Integer FFooterRowCount = 0;
  bool FReadOnly = false;
  Integer FRowHeight = 0;
  Integer FRowLines = 0;
  bool FRowSizingAllowed = false;
  bool FSortLocal = false;
  Integer FTitleHeight = 0;
  Integer FTitleLines = 0;
  bool FUseMultiTitle = false;
  Integer FVTitleMargin = 10;

  Byte FLayoutLock = 0;
  Byte FUpdateLock = 0;
  Byte FIndicatorColCount = 1;
  Integer FIndicatorWidth = 11;
  Integer FStdRowHeight = 18;
  Integer FTitleRowHeight = 18;
  Integer FEditButtonWidth = 16;
  Integer FEditButtonHeight = 16;
  Integer FGroupIndentWidth = 0;
  Integer FLastVisibleCol = -1;
  bool FTallRows = false;
  Integer FTitleTextHeight = 0;
  Integer FSavedActiveRecord = -1;
  TBookmarkStr FSavedPositionBookmark;
  bool FSelectingRows = false;
  TBookmarkStr FSelectionAnchor;
  bool FAnchorWasSelected = false;
  bool FToggleExtension = false;
  bool FColExitFiring = false;
  bool FWheelRouting = false;
  TImeMode FImeMode = imDontCare;
  String FImeName;
  bool FSizeChangedWhileLocked = false;
  TShiftState FKeyShift;
  bool FIncSearching = false;
  String FIncSearchText;
  Integer FIncSearchTimeout = -1;
  bool FKeepSearch = false;
  Integer FSavedPositionOffset = 0;
  Integer FIndicatorRow = -1;  // the grid row that last showed the record mark
  Integer FLayoutRebuilds = 0;
  bool FLinkLayoutChanging = false;
  bool FLayoutPending = false;  // a deferred request arrived while a lock was held
  bool FRowSized = false;       // the user sized a row with the mouse
  bool FInDataSetChange = false;
  bool FCopyingFont = false;
  bool FDestroying = false;
  bool FBufferedPaint = false;
  // Whether the grid or its editor had the focus when the selection was last repainted.
  bool FSelectionShownFocused = false;
  String FEditText;
  Variant FEditKeyValue = Variant::Null();

  // mouse tracking
  // The cell a press landed on, classified.
  struct TPressedCellX {
    TGridCoord Cell{-1, -1};
    bool InCells = false;
    TCellTypeX Type;
    Integer DataCol = -1, DataRow = -1;
    bool DataColumn = false;  // a data column that has a column
    TRect Rect;
  };
  void BeginPress(TMouseButton Button, Integer X, Integer Y);
  TPressedCellX ClassifyPress(Integer X, Integer Y);
  void PressTwice(TMouseButton Button, TShiftState Shift, Integer X, Integer Y, const TPressedCellX& Press);
  void PressSizingLine(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  bool PressRowPanel(TMouseButton Button, TShiftState Shift, Integer X, Integer Y, const TPressedCellX& Press);
  void PressColumnSelectZone(TShiftState Shift, const TPressedCellX& Press);
  bool PressTitleButton(TMouseButton& Button, TShiftState Shift, Integer X, Integer Y, const TPressedCellX& Press);
  void PressHeaderRow(TMouseButton Button, TShiftState Shift, Integer X, Integer Y, const TPressedCellX& Press);
  void PressDataRow(TMouseButton Button, TShiftState Shift, const TPressedCellX& Press);
  void PressDataCell(TMouseButton Button, TShiftState Shift, TGridCoord Cell, Integer DataCol, Integer DataRow);
  void TraceColumnSizing(Integer X);
  void FollowHintCell(Integer X, Integer Y);
  void DragSelectTo(TShiftState Shift, Integer X, Integer Y);
  void ReleaseTitleButton(TShiftState Shift, TGridCoord Cell, TPoint P);
  // A released title button: the click event, then the sort marker steps.
  void ClickTitleButton(Integer DataCol, TShiftState Shift);
  bool InColumnSelectZone(Integer X, Integer Y);
  bool OnLeafCaption(TColumnX* Column, const TRect& CellRect, Integer Y) const;
  bool CellOfCurrentRecordSelected(Integer DataCol) const;
  Integer TitleReservedWidth(TColumnX* Column) const;
  void ScrollColumnSelection(const TPoint& P, const TRect& Box);
  void PrepareTitleOrFooterHint(THintInfo& Info, const TRect& Cell, TColumnX* Column, const String& Text,
                                TFont* AFont, TAlignment Alignment, bool WordWrap);
  bool PrepareDataHint(THintInfo& Info, TGridCoord Cell, Integer DataCol, TRect R);
  Integer TitleWidthOf(TColumnX* Column);
  Integer DataWidthOf(TColumnX* Column, bool FirstVisible);
  Integer FooterWidthOf(TColumnX* Column);
  TPoint FMouseDownPoint;
  TPoint FLastMovePoint;
  TPoint FMovePoint;
  TShiftState FMoveShift;
  Byte FGridMouseState = gmsNone;
  bool FMouseTracking = false;
  Integer FPressedTitleCol = -1;
  Integer FPressedTitleDataCol = -1;
  bool FTitlePressedShown = false;
  bool FTitleDragMoved = false;
  bool FRowDragSelecting = false;
  bool FCellDragSelecting = false;
  bool FRightButtonColumnMove = false;
  bool FSelectionDragPending = false;
  bool FDragModeOverride = false;
  TGridCoord FClickedCell{-1, -1};
  bool FCtrlSortPending = false;
  bool FIndicatorTitlePressed = false;
  Integer FTraceStartWidth = 0;
  Integer FTraceStartX = 0;
  bool FThumbTrackMoved = false;
  TGridCoord FHintCell{-1, -1};
  bool FAutoScrollRunning = false;
  Integer FAutoScrollInterval = -1;
  std::unique_ptr<TFont> FHintFont;
};

// The grid placed on forms: publishes, adds nothing.
class TDBGridX : public TCustomDBGridX {
public:
  using TCustomDBGridX::TCustomDBGridX;
  String ClassName() const override { return QStringLiteral("TDBGridX"); }
};
