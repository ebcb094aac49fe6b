// The grid's construction, destruction, option and property setters, and its owned objects.
#include "dbgrid/DBGridX.h"
#include "dbgrid/DBGridXGlobals.h"
#include "grid/ButtonFacesX.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Menus.h"
#include "platform/ui/SystemColors.h"

TCustomDBGridX::TCustomDBGridX(TComponent* AOwner) : TCustomGridX(AOwner) {
  InitializeGridUnit();
  FRowPanel = std::make_unique<TGridRowPanelX>(this);
  FIndicatorColCount = 1;
  FOptions = TDBGridOptions{dgEditing, dgTitles, dgIndicator, dgColumnResize, dgColLines, dgRowLines, dgTabs,
                            dgConfirmDelete, dgCancelOnExit};
  FOptionsX = TDBGridXOptions{dghFixed3D, dghHighlightFocus, dghClearSelection, dghDialogFind, dghColumnResize,
                              dghColumnMove, dghExtendVertLines};
  SetScrollBars(ssHorizontal);
  // Cell backgrounds, raised frames and the focus rectangle are this grid's own painting.
  SetDefaultCellDrawing(false);
  SetGridOptions(TGridOptionsX{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goColSizing, goColMoving,
                               goEditing, goTabs, goExtendVertLinesX});
  FColumnDefValues = CreateColumnDefValues();
  FColumns = CreateColumns();
  SetRowCount(2);
  SetColCount(2);
  FDataLink = std::make_unique<TGridDataLinkX>(this);
  SetColor(clWindow);
  SetParentColor(false);
  FTitleFont = std::make_unique<TFont>();
  FTitleFont->OnChange = [this](TObject*) { TitleFontChanged(); };
  SetSaveCellExtents(false);
  FBookmarks = std::make_unique<TBookmarkListX>(this);
  FTitleTreeRoot = std::make_unique<THeadTreeNode>(QStringLiteral("Root"), 10, 0);
  FSumList = std::make_unique<TDBGridXSumList>(this);
  FSumList->SumListChanged = [this](TObject*) { InvalidateFooter(); };
  FSumList->OnRecalcAll = [this](TObject*) { if (OnSumListRecalcAll) OnSumListRecalcAll(FSumList.get()); };
  FSumList->OnAfterRecalcAll = [this](TObject*) {
    if (OnSumListAfterRecalcAll) OnSumListAfterRecalcAll(FSumList.get());
  };
  FHorzScrollBar = CreateScrollBarSettings(sbHorizontal);
  FVertScrollBar = CreateScrollBarSettings(sbVertical);
  FSelection = std::make_unique<TDBGridXSelection>(this);
  FFooterFont = std::make_unique<TFont>();
  FFooterFont->OnChange = [this](TObject*) { FooterFontChanged(); };
  FCellParams = std::make_unique<TColCellParamsX>();
  FSTFilter = std::make_unique<TSTDBGridXFilter>(this);
  FIndicatorTitle = std::make_unique<TDBGridXIndicatorTitle>(this);
  FCellParamsFont = std::make_unique<TFont>();
  FIndicatorWidth = IndicatorWidthOf();
  FStdRowHeight = StdRowHeightOf();
  FTitleRowHeight = FStdRowHeight;
  FDataGrouping = std::make_unique<TDBGridXDataGroupsX>(this);
  FRowDetailPanel = std::make_unique<TRowDetailPanelX>(this);
  FRowDetailPanelControl = new TRowDetailPanelControlX(this);
  FRowDetailPanelControl->SetVisible(false);
  FRowDetailPanelControl->SetBounds(0, 0, 0, 0);
  FRowDetailPanelControl->SetParent(this);
  SyncBaseOptions();
  CalcHorzScrollExtent();
  CalcVertScrollExtent();
}

TCustomDBGridX::~TCustomDBGridX() {
  FDestroying = true;
  IncludeState(csDestroying);
  SetDataSource(nullptr);
  FSelection->Clear();
  // Columns go first: their footers give their items back to the sum list.
  FLeafColumns.clear();
  FVisibleColumns.Clear();
  FSortMarkedColumns.Clear();
  FColumns.reset();
  FDataLink.reset();
  FBookmarks.reset();
}

std::unique_ptr<TColumnDefValuesX> TCustomDBGridX::CreateColumnDefValues() {
  return std::make_unique<TDBGridXColumnDefValuesX>(this);
}

void TCustomDBGridX::RemakeColumnObjects() {
  FColumns.reset();
  FColumnDefValues = CreateColumnDefValues();
  FColumns = CreateColumns();
}

std::unique_ptr<TDBGridColumnsX> TCustomDBGridX::CreateColumns() {
  return std::make_unique<TDBGridColumnsX>(this, ItemClassOf<TDBGridColumnX>());
}

std::unique_ptr<TDBGridXScrollBar> TCustomDBGridX::CreateScrollBarSettings(TScrollBarKind Kind) {
  if (Kind == sbVertical) return std::make_unique<TVertDBGridXScrollBar>(this);
  return std::make_unique<THorzDBGridXScrollBar>(this);
}

// ---- data

void TCustomDBGridX::SetDataSource(TDataSource* Value) {
  if (Value == FDataLink->DataSource()) return;
  FSelection->Clear();
  FDataLink->SetDataSource(Value);
  if (Value) Value->FreeNotification(this);
  HandleLinkActiveChange(FDataLink->Active());
  FSumList->SetDataSet(Value ? Value->DataSet() : nullptr);
}

void TCustomDBGridX::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomGridX::Notification(AComponent, Operation);
  if (Operation != opRemove || FDestroying) return;
  if (FColumns) {
    for (Integer i = 0; i < FColumns->Count(); ++i) {
      TColumnX* column = FColumns->Items(i);
      if (column->PopupMenu() == AComponent) column->SetPopupMenu(nullptr);
      if (column->ImageList() == AComponent) column->SetImageList(nullptr);
      if (column->DropDownBox()->ListSource() == AComponent) column->DropDownBox()->SetListSource(nullptr);
    }
  }
  if (FTitleImages == AComponent) FTitleImages = nullptr;
  if (FHorzScrollBar->ExtScrollBar() == AComponent) FHorzScrollBar->SetExtScrollBar(nullptr);
  if (FVertScrollBar->ExtScrollBar() == AComponent) FVertScrollBar->SetExtScrollBar(nullptr);
  if (FDataLink && FDataLink->DataSource() == AComponent) SetDataSource(nullptr);
  if (auto* field = dynamic_cast<TField*>(AComponent); field && FColumns) {
    bool affected = false;
    LockLayout();
    for (Integer i = 0; i < FColumns->Count(); ++i)
      if (FColumns->Items(i)->CachedField() == field) {
        FColumns->Items(i)->ClearFieldCache();
        affected = true;
      }
    if (affected && DataSet()) UnlockLayout();
    else RequestDeferredLayout();
  }
}

void TCustomDBGridX::HandleLinkActiveChange(bool Active) {
  if (!Active && EditorMode()) HideInplaceEditor();
  UpdateMemTableLink();
  FSelection->LinkActiveChanged(Active);
  FSumList->SetDataSet(DataSet());
  if (FDestroying) return;
  FColumns->ClearFieldCaches();
  RebuildGroupTree();
  RequestLayout();
  if (Active && EditorAlwaysShown()) SetEditorMode(true);
  UpdateVertScrollBar();
}

void TCustomDBGridX::CollectShownFields(std::vector<TField*>& List) {
  TDataSet* dataSet = DataSet();
  if (!dataSet) return;
  for (Integer i = 0; i < dataSet->FieldCount(); ++i) List.push_back(dataSet->Fields()->Fields(i));
}

void TCustomDBGridX::MapDataFields() {
  TDataSet* dataSet = DataSet();
  if (FColumns->IsCustomized()) {
    FDataLink->SetSparseMap(true);
    for (Integer i = 0; i < FColumns->Count(); ++i) FDataLink->AddMapping(FColumns->Items(i)->FieldName());
  } else {
    FDataLink->SetSparseMap(false);
    if (!dataSet) return;
    for (Integer i = 0; i < dataSet->FieldCount(); ++i) {
      TField* field = dataSet->Fields()->Fields(i);
      if (field->Visible()) FDataLink->AddMapping(field->FieldName());
    }
  }
}

// ---- columns

Integer TCustomDBGridX::ColumnIndexToGridCol(Integer Index) const {
  return FRowPanel->Active() ? FIndicatorColCount : Index + FIndicatorColCount;
}

// A failed move (an editor value the field refuses) leaves the current column as it was.
void TCustomDBGridX::SetSelectedIndex(Integer Value) {
  try {
    MoveCol(Value, 0, false);
  } catch (const Exception&) {
  }
}

TColumnX* TCustomDBGridX::SelectedColumn() const {
  const Integer index = SelectedIndex();
  return index >= 0 && index < FColumns->Count() ? FColumns->Items(index) : nullptr;
}

TField* TCustomDBGridX::SelectedField() const {
  TColumnX* column = SelectedColumn();
  return column ? column->Field() : nullptr;
}

void TCustomDBGridX::RebuildSortMarkedColumns() {
  FSortMarkedColumns.Clear();
  Integer highest = 0;
  for (Integer i = 0; i < FColumns->Count(); ++i)
    highest = std::max(highest, FColumns->Items(i)->Title()->SortIndex());
  FSortMarkedColumns.SetCount(highest);
  for (Integer i = 0; i < FColumns->Count(); ++i) {
    const Integer index = FColumns->Items(i)->Title()->SortIndex();
    if (index > 0) FSortMarkedColumns.SetItems(index - 1, FColumns->Items(i));
  }
  for (Integer i = FSortMarkedColumns.Count() - 1; i >= 0; --i)
    if (!FSortMarkedColumns[i]) FSortMarkedColumns.Remove(nullptr);
}

THeadTreeNode* TCustomDBGridX::LeafOf(const TColumnX* Column) const {
  for (const TLeafColX& leaf : FLeafColumns)
    if (leaf.Column == Column) return leaf.Leaf;
  return nullptr;
}

// ---- options

void TCustomDBGridX::SyncBaseOptions() {
  TGridOptionsX base = GridOptions();
  const auto follow = [&base](TGridOptionX Option, bool On) {
    if (On) base.Include(Option);
    else base.Exclude(Option);
  };
  follow(goExtendVertLinesX, FOptionsX.Contains(dghExtendVertLines));
  follow(goRowSizing, FRowSizingAllowed);
  follow(goFixedVertLine, FOptions.Contains(dgColLines));
  follow(goVertLine, FOptions.Contains(dgColLines));
  follow(goFixedHorzLine, FOptions.Contains(dgRowLines));
  follow(goHorzLine, FOptions.Contains(dgRowLines));
  follow(goTabs, FOptions.Contains(dgTabs));
  follow(goRowSelect, FOptions.Contains(dgRowSelect));
  follow(goEditing, FOptions.Contains(dgEditing));
  follow(goAlwaysShowEditor, FOptions.Contains(dgAlwaysShowEditor));
  follow(goColSizing, FOptionsX.Contains(dghColumnResize));
  follow(goColMoving, FOptionsX.Contains(dghColumnMove));
  SetGridOptions(base);
}

void TCustomDBGridX::SetOptions(TDBGridOptions Value) {
  if (Value.Contains(dgRowSelect)) {
    Value.Exclude(dgEditing);
    Value.Exclude(dgAlwaysShowEditor);
  }
  if (Value == FOptions) return;
  if (FOptions.Contains(dgMultiSelect) && !Value.Contains(dgMultiSelect)) FSelection->Clear();
  const TDBGridOptions layoutOptions{dgEditing, dgAlwaysShowEditor, dgTitles, dgIndicator, dgColLines, dgRowLines,
                                     dgRowSelect, dgAlwaysShowSelection};
  const bool relayout = !((Value * layoutOptions) == (FOptions * layoutOptions));
  if (!ComponentState().Contains(csLoading)) {
    if (Value.Contains(dgColumnResize) && !FOptions.Contains(dgColumnResize)) {
      FOptionsX.Include(dghColumnResize);
      FOptionsX.Include(dghColumnMove);
    } else if (!Value.Contains(dgColumnResize) && FOptions.Contains(dgColumnResize)) {
      FOptionsX.Exclude(dghColumnResize);
      FOptionsX.Exclude(dghColumnMove);
    }
  }
  FOptions = Value;
  SyncBaseOptions();
  if (relayout) RequestLayout();
  if (EditorMode()) ReloadEditor();
}

void TCustomDBGridX::SetOptionsX(TDBGridXOptions Value) {
  if (Value == FOptionsX) return;
  if (FOptionsX.Contains(dghMultiSortMarking) && !Value.Contains(dghMultiSortMarking)) {
    std::vector<TColumnX*> marked = FSortMarkedColumns.List();
    FOptionsX = Value;
    for (size_t i = 1; i < marked.size(); ++i) marked[i]->Title()->SetSortMarker(smNoneX);
  }
  if (!ComponentState().Contains(csLoading)) {
    if (Value.Contains(dghColumnResize) && Value.Contains(dghColumnMove)) FOptions.Include(dgColumnResize);
    else FOptions.Exclude(dgColumnResize);
  }
  FOptionsX = Value;
  SyncBaseOptions();
  RequestLayout();
}

void TCustomDBGridX::SetAutoFitColWidths(bool Value) {
  if (Value == FAutoFitColWidths || ComponentState().Contains(csDesigning)) {
    FAutoFitColWidths = Value;
    return;
  }
  FAutoFitColWidths = Value;
  if (Value) {
    if (!ComponentState().Contains(csLoading))
      for (Integer i = 0; i < FColumns->Count(); ++i) FColumns->Items(i)->SetDesignWidth(FColumns->Items(i)->Width());
    SetScrollBars(ssNone);
    SetLeftCol(FixedCols());
  } else {
    FColumns->BeginUpdate();
    for (Integer i = 0; i < FColumns->Count(); ++i) FColumns->Items(i)->SetWidth(FColumns->Items(i)->DesignWidth());
    FColumns->EndUpdate();
    SetScrollBars(ssHorizontal);
  }
  RequestLayout();
}

void TCustomDBGridX::SetMinAutoFitWidth(Integer Value) {
  FMinAutoFitWidth = Value;
  RequestLayout();
}

void TCustomDBGridX::SetFrozenCols(Integer Value) {
  if (Value == FFrozenCols || Value < 0) return;
  FFrozenCols = Value;
  RequestLayout();
}

void TCustomDBGridX::SetContraColCount(Integer Value) {
  if (Value == FContraCols || Value < 0) return;
  FContraCols = Value;
  RequestLayout();
}

void TCustomDBGridX::SetDrawGraphicData(bool Value) {
  if (Value == FDrawGraphicData) return;
  FDrawGraphicData = Value;
  Invalidate();
}

void TCustomDBGridX::SetDrawMemoText(bool Value) {
  if (Value == FDrawMemoText) return;
  FDrawMemoText = Value;
  Invalidate();
}

void TCustomDBGridX::SetEvenRowColor(TColor Value) {
  const bool changed = Value != EvenRowColor();
  FEvenRowColor = Value;
  FEvenRowColorAssigned = true;
  if (changed) Invalidate();
}

void TCustomDBGridX::SetOddRowColor(TColor Value) {
  const bool changed = Value != OddRowColor();
  FOddRowColor = Value;
  FOddRowColorAssigned = true;
  if (changed) Invalidate();
}

void TCustomDBGridX::SetFooterColor(TColor Value) {
  if (!ComponentState().Contains(csLoading)) SetParentColor(false);
  FFooterColor = Value;
  if (FFooterRowCount > 0) InvalidateFooter();
}

void TCustomDBGridX::SetFooterRowCount(Integer Value) {
  if (Value == FFooterRowCount || Value < 0) return;
  FFooterRowCount = Value;
  RequestLayout();
}

void TCustomDBGridX::SetReadOnly(bool Value) {
  if (Value == FReadOnly) return;
  FReadOnly = Value;
  Invalidate();
}

void TCustomDBGridX::SetRowHeight(Integer Value) {
  Value = std::max<Integer>(Value, 0);
  if (Value == FRowHeight) return;
  FRowHeight = Value;
  RequestLayout();
}

void TCustomDBGridX::SetRowLines(Integer Value) {
  Value = std::max<Integer>(Value, 0);
  if (Value == FRowLines) return;
  FRowLines = Value;
  RequestLayout();
}

void TCustomDBGridX::SetRowSizingAllowed(bool Value) {
  FRowSizingAllowed = Value;
  SyncBaseOptions();
}

void TCustomDBGridX::SetTitleHeight(Integer Value) {
  FTitleHeight = Value;
  RequestLayout();
}

void TCustomDBGridX::SetTitleLines(Integer Value) {
  FTitleLines = Value;
  RequestLayout();
}

void TCustomDBGridX::SetTitleImages(TCustomImageList* Value) {
  FTitleImages = Value;
  if (Value) Value->FreeNotification(this);
  RequestLayout();
}

void TCustomDBGridX::SetUseMultiTitle(bool Value) {
  FUseMultiTitle = Value;
  RequestLayout();
}

void TCustomDBGridX::SetVTitleMargin(Integer Value) {
  FVTitleMargin = Value;
  RequestLayout();
}

void TCustomDBGridX::TitleFontChanged() {
  if (!ComponentState().Contains(csLoading) && !FCopyingFont) SetParentFont(false);
  if (FOptions.Contains(dgTitles)) RequestLayout();
}

void TCustomDBGridX::FooterFontChanged() {
  if (!ComponentState().Contains(csLoading) && !FCopyingFont) SetParentFont(false);
  if (FFooterRowCount > 0) RequestLayout();
}

// ---- editing permissions

bool TCustomDBGridX::FieldCanModifyX(TField* Field) {
  if (!Field) return false;
  if (!Field->Lookup()) return Field->CanModify();
  if (Field->KeyFields().isEmpty() || !Field->DataSet()) return false;
  std::vector<TField*> keys;
  Field->DataSet()->GetFieldList(keys, Field->KeyFields());
  for (TField* key : keys)
    if (!key->CanModify()) return false;
  return true;
}

bool TCustomDBGridX::EditorAcceptsKey(QChar Key) {
  TField* field = SelectedField();
  const bool readOnly = InplaceEditor() && InplaceEditor()->ReadOnly();
  if (FDataLink->Active() && field) {
    TColumnX* column = SelectedColumn();
    if (column->KeyList()->Count() > 0) return !readOnly;
    return !readOnly && field->IsValidChar(Key);
  }
  return false;
}

bool TCustomDBGridX::BeginCellEdit() {
  if (FReadOnly || !FDataLink->Active() || FDataLink->ReadOnly()) return false;
  TColumnX* column = SelectedColumn();
  if (!column || column->ReadOnly()) return false;
  TField* field = column->Field();
  if (!field || !FieldCanModifyX(field)) return false;
  if (field->IsBlob() && !field->OnSetText &&
      !(FDrawMemoText && (field->DataType() == ftMemo || field->DataType() == ftOraClob)))
    return false;
  const bool updateAllowed = FAllowedOperations.Contains(alopUpdateX) || DataSet()->State() == dsInsert;
  const bool recordAllowed = !DataSet()->IsEmpty() || FAllowedOperations.Contains(alopInsertX) ||
                             FAllowedOperations.Contains(alopAppendX);
  if (!updateAllowed || !recordAllowed) return false;
  FDataLink->Edit();
  if (!FDataLink->Editing()) return false;
  FDataLink->MarkModified();
  return true;
}

bool TCustomDBGridX::CanEditColumn(Integer DataCol) {
  if (DataCol < 0 || DataCol >= FColumns->Count() || !FOptions.Contains(dgEditing)) return false;
  TColumnX* column = FColumns->Items(DataCol);
  return !FReadOnly && FDataLink->Active() && !FDataLink->ReadOnly() && !column->ReadOnly() &&
         FieldCanModifyX(column->Field());
}

bool TCustomDBGridX::EditorMayModify() {
  TColumnX* column = SelectedColumn();
  if (column && column->Checkboxes()) return false;
  return BeginCellEdit();
}

bool TCustomDBGridX::EditorMayShow() {
  if (FLayoutLock > 0 || !TCustomGridX::EditorMayShow()) return false;
  const Integer index = SelectedIndex();
  bool show = index >= 0 && index < FColumns->Count() && FColumns->Items(index)->TextEditing();
  if (show && FOptionsX.Contains(dghClearSelection) && FAllowedSelections.Contains(gstRectangle) &&
      FSelection->SelectionKind() != gstNon)
    show = false;
  if (!show) LeaveEditorMode();
  return show;
}

bool TCustomDBGridX::TakeFocus() {
  if (!CanFocus() || ComponentState().Contains(csDesigning)) return true;
  SetFocus();
  return Focused() || (InplaceEditor() && InplaceEditor()->Focused());
}

bool TCustomDBGridX::ConfirmDelete() {
  if (!FOptions.Contains(dgConfirmDelete)) return true;
  const String text = FBookmarks->GetCount() <= 1 ? QStringLiteral("Delete record?")
                                                   : QStringLiteral("Delete all selected records?");
  return TDialogs::MessageDlg(text, mtConfirmation, TMsgDlgButtons{mbOK, mbCancel}) != mrCancel;
}

// ---- owned objects

TDBGridXSumList::TDBGridXSumList(TCustomDBGridX* Grid) : TDBSumListProducer(Grid), FGrid(Grid) {
  SetDesignTimeWork(true);
  SetActive(false);
}

void TDBGridXSumList::HookDataSetEvents() {
  if (FGrid->ComponentState().Contains(csDesigning)) return;
  TDBSumListProducer::HookDataSetEvents();
}

void TDBGridXSumList::RestoreDataSetEvents() {
  if (FGrid->ComponentState().Contains(csDesigning)) return;
  TDBSumListProducer::RestoreDataSetEvents();
}

TDBGridXScrollBar::TDBGridXScrollBar(TCustomDBGridX* Grid, TScrollBarKind Kind) : FGrid(Grid), FKind(Kind) {}

TDBGridXScrollBar::~TDBGridXScrollBar() { ReleaseBar(); }

namespace {
// Bars whose messages a grid's settings object takes first.
std::vector<TScrollBar*>& AttachedBars() {
  static std::vector<TScrollBar*> bars;
  return bars;
}
}  // namespace

void TDBGridXScrollBar::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TDBGridXScrollBar*>(Source);
  if (!source) {
    TPersistent::Assign(Source);
    return;
  }
  SetVisible(source->Visible());
  FTracking = source->FTracking;
  SetExtScrollBar(source->FExtScrollBar);
}

void TDBGridXScrollBar::SetVisible(bool Value) {
  SetVisibleMode(Value ? sbAutoShowX : sbNeverShowX);
  if (FExtScrollBar) FExtScrollBar->SetVisible(Value);
}

void TDBGridXScrollBar::SetVisibleMode(TScrollBarVisibleModeX Value) {
  if (Value == FVisibleMode) return;
  FVisibleMode = Value;
  if (FKind == sbVertical) FGrid->UpdateVertScrollBar();
  FGrid->RequestLayout();
}

void TDBGridXScrollBar::SetSmoothStep(bool Value) {
  if (Value == FSmoothStep) return;
  FSmoothStep = Value;
  SmoothStepChanged();
}

void THorzDBGridXScrollBar::SmoothStepChanged() {
  Grid()->CalcHorzScrollExtent();
  Grid()->RefreshScrollBars();
}

void TVertDBGridXScrollBar::SmoothStepChanged() {
  Grid()->CalcVertScrollExtent();
  Grid()->RefreshScrollBars();
  if (Grid()->HandleAllocated()) Grid()->RequestLayout();
}

void TDBGridXScrollBar::ReleaseBar() {
  if (!FExtScrollBar) return;
  FExtScrollBar->WindowProc = FSavedWindowProc;
  std::vector<TScrollBar*>& bars = AttachedBars();
  bars.erase(std::remove(bars.begin(), bars.end(), FExtScrollBar), bars.end());
  FSavedWindowProc = nullptr;
}

void TDBGridXScrollBar::SetExtScrollBar(TScrollBar* Value) {
  if (Value == FExtScrollBar) return;
  const bool designing = FGrid->ComponentState().Contains(csDesigning);
  std::vector<TScrollBar*>& bars = AttachedBars();
  if (Value && !designing && std::find(bars.begin(), bars.end(), Value) != bars.end())
    throw Exception(QStringLiteral("Possible %1 already attached to the other control.").arg(Value->Name()));
  if (!designing) ReleaseBar();
  FExtScrollBar = Value;
  if (Value) {
    Value->FreeNotification(FGrid);
    if (!designing) {
      FSavedWindowProc = Value->WindowProc;
      bars.push_back(Value);
      // The bar's scroll notifications reach the grid as if its own bar had been used.
      Value->WindowProc = [this](TMessage& Message) {
        if (Message.Msg == CN_HSCROLL || Message.Msg == CN_VSCROLL)
          FGrid->Perform(FKind == sbHorizontal ? WM_HSCROLL : WM_VSCROLL, Message.WParam, Message.LParam);
        FSavedWindowProc(Message);
      };
    }
    Value->SetVisible(Visible());
  }
  if (!FGrid->ComponentState().Contains(csDestroying) && FGrid->HandleAllocated()) {
    if (FKind == sbVertical) FGrid->UpdateVertScrollBar();
    FGrid->RequestLayout();
  }
}

bool TDBGridXScrollBar::IsBarShown() const {
  if (FExtScrollBar) return FExtScrollBar->Visible();
  return Visible() && FGrid->HandleAllocated() && FGrid->ScrollBarVisible(FKind == sbVertical ? SB_VERT : SB_HORZ);
}

bool TDBGridXScrollBar::ScrollBarNeeded() const {
  if (FVisibleMode == sbAlwaysShowX) return true;
  if (FVisibleMode == sbNeverShowX) return false;
  const TScrollInfo info = ReadScrollInfo();
  return info.nMin < info.nMax && Cardinal(info.nMax - info.nMin) > info.nPage;
}

TScrollInfo TDBGridXScrollBar::ReadScrollInfo() const {
  TScrollInfo info;
  info.fMask = SIF_ALL;
  if (FExtScrollBar) {
    info.nMin = FExtScrollBar->Min();
    info.nMax = FExtScrollBar->Max();
    info.nPage = Cardinal(FExtScrollBar->PageSize());
    info.nPos = FExtScrollBar->Position();
  } else {
    FGrid->GetScrollInfo(FKind == sbVertical ? SB_VERT : SB_HORZ, info);
  }
  return info;
}

void TDBGridXScrollBar::WriteScrollInfo(const TScrollInfo& Info, bool Redraw) {
  if (FExtScrollBar) {
    FExtScrollBar->SetPageSize(0);
    FExtScrollBar->SetParams(Info.nPos, std::min(Info.nMin, Info.nMax), Info.nMax);
    FExtScrollBar->SetPageSize(Integer(Info.nPage));
    return;
  }
  FGrid->SetScrollInfo(FKind == sbVertical ? SB_VERT : SB_HORZ, Info, Redraw);
}

bool TCustomDBGridX::IsSmoothHorzScroll() {
  if (!FHorzScrollBar) return TCustomGridX::IsSmoothHorzScroll();
  return FHorzScrollBar->SmoothStep() || FRowPanel->Active();
}

bool TCustomDBGridX::IsSmoothVertScroll() {
  if (!FVertScrollBar) return TCustomGridX::IsSmoothVertScroll();
  return FVertScrollBar->SmoothStep();
}
