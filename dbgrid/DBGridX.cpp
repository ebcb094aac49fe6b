// The grid's construction, destruction, option and property setters, and its owned objects.
#include "dbgrid/DBGridX.h"
#include "dbgrid/DBGridXCenter.h"
#include "dbgrid/DBGridXFilterEdit.h"
#include "dbgrid/DBGridXGlobals.h"
#include "dbgrid/DBGridXInplaceEdit.h"
#include "grid/ButtonFacesX.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Menus.h"
#include "platform/ui/SystemColors.h"
#include <QApplication>
#include <QPointer>

TCustomDBGridX::TCustomDBGridX(TComponent* AOwner) : TCustomGridX(AOwner) {
  InitializeGridUnit();
  AttachDefaultStyle();
  SetCenter(&DBGridXCenter());
  FRowPanel = std::make_unique<TGridRowPanelX>(this);
  FIndicatorColCount = 1;
  FOptions = TDBGridOptions{dgEditing, dgTitles, dgIndicator, dgColumnResize, dgColLines, dgRowLines, dgTabs,
                            dgConfirmDelete, dgCancelOnExit};
  FOptionsX = TDBGridXOptions{dghFixed3D, dghHighlightFocus, dghClearSelection, dghDialogFind, dghColumnResize,
                              dghColumnMove, dghExtendVertLines};
  SetScrollBars(ssHorizontal);
  FTitleImagesLink.OnChange = [this](TObject*) { Invalidate(); };
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
  if (FStyle) FStyle->UnregisterGrid(this);
  if (FCenter) FCenter->UnregisterGrid(this);
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

// ---- style and centre

void TCustomDBGridX::SetStyle(TDBGridXStyle* Value) {
  if (Value == FStyle) return;
  if (FStyle) FStyle->UnregisterGrid(this);
  FStyle = nullptr;
  if (!Value) {
    AttachDefaultStyle();
    return;
  }
  FStyle = Value;
  FStyle->RegisterGrid(this);
  Invalidate();
}

void TCustomDBGridX::AttachDefaultStyle() {
  TDBGridXStyle* global = GlobalGridStyle();
  if (!global) {
    if (FColumns) RequestLayout();
    return;
  }
  if (global == FStyle) return;
  if (FStyle) FStyle->UnregisterGrid(this);
  FStyle = global;
  FStyle->RegisterGrid(this);
}

void TCustomDBGridX::SetCenter(TDBGridXCenter* Value) {
  if (Value == FCenter) return;
  if (FCenter) FCenter->UnregisterGrid(this);
  FCenter = Value;
  if (FCenter) FCenter->RegisterGrid(this);
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
  if (FRowDetailPanel && FRowDetailPanel->ActiveControl() == AComponent) FRowDetailPanel->SetActiveControl(nullptr);
  if (FMemTableDataSet && AComponent == FMemTableDataSet) {
    // Gone: nothing of it is called any more.
    FMemTable = nullptr;
    FMemTableDataSet = nullptr;
    FCurrentGroupNode = nullptr;
  }
  if (dynamic_cast<TDataSet*>(AComponent) && FDataLink) {
    UpdateMemTable();
    if (FMemTable) {
      UpdateRowCount();
      if (TreeViewShown()) FMemTable->RefreshTreeView();
    }
    RequestLayout();
  }
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
  UpdateMemTable();
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
  const bool refit = FOptionsX.Contains(dghAutoFitRowHeight) != Value.Contains(dghAutoFitRowHeight);
  FOptionsX = Value;
  if (refit) {
    RebuildGroupTree();
    UpdateGroupRowCount();
  }
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
  UpdateLineColors();
  if (FFooterRowCount > 0) InvalidateFooter();
}

void TCustomDBGridX::SetFooterRowCount(Integer Value) {
  if (Value == FFooterRowCount || Value < 0) return;
  FFooterRowCount = Value;
  RequestLayout();
}

// The cell buttons of read-only columns go, so the widths are handed to the base grid again.
void TCustomDBGridX::SetReadOnly(bool Value) {
  if (Value == FReadOnly) return;
  FReadOnly = Value;
  Invalidate();
  if (!ComponentState().Contains(csLoading)) UpdateColumnWidths();
}

void TCustomDBGridX::SetAllowedSelections(TDBGridXAllowedSelections Value) {
  FAllowedSelections = Value;
  const TDBGridXSelectionType kind = FSelection->SelectionKind();
  if (kind != gstNon && !Value.Contains(kind)) FSelection->Clear();
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
  if (FTitleImages) FTitleImages->UnRegisterChanges(&FTitleImagesLink);
  FTitleImages = Value;
  if (Value) {
    Value->RegisterChanges(&FTitleImagesLink);
    Value->FreeNotification(this);
  }
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

// While OnGetCellParams changed the cell's read-only state, the editor's own ReadOnly decides.
bool TCustomDBGridX::EditorAcceptsKey(QChar Key) {
  TField* field = SelectedField();
  TDBGridInplaceEdit* editor = DBInplaceEditor();
  const bool fromCellParams = editor && editor->ReadOnlyFromCellParams();
  if (FDataLink->Active() && field) {
    const bool accepts = fromCellParams ? !editor->ReadOnly() : true;
    if (SelectedColumn()->KeyList()->Count() > 0) return accepts;
    return accepts && field->IsValidChar(Key);
  }
  return fromCellParams && !editor->ReadOnly();
}

bool TCustomDBGridX::BeginCellEdit() {
  bool editing = false;
  if (TDBGridInplaceEdit* editor = DBInplaceEditor(); editor && editor->ReadOnlyFromCellParams()) {
    if (editor->ReadOnly()) return false;
    FDataLink->Edit();
    FDataLink->MarkModified();
    editing = true;
  }
  if (FReadOnly || !FDataLink->Active() || FDataLink->ReadOnly()) return editing;
  TColumnX* column = SelectedColumn();
  if (!column || column->ReadOnly()) return editing;
  TField* field = column->Field();
  if (!field || !FieldCanModifyX(field)) return editing;
  if (field->IsBlob() && !field->OnSetText &&
      !(FDrawMemoText && (field->DataType() == ftMemo || field->DataType() == ftOraClob)))
    return editing;
  if (!column->CanEditValue(false)) return editing;
  FDataLink->Edit();
  editing = FDataLink->Editing();
  if (editing) FDataLink->MarkModified();
  return editing;
}

bool TCustomDBGridX::CanEditColumn(Integer DataCol) {
  if (DataCol < 0 || DataCol >= FColumns->Count() || !FOptions.Contains(dgEditing)) return false;
  return FColumns->Items(DataCol)->CanEditValue(false);
}

bool TCustomDBGridX::EditorMayModify() {
  TColumnX* column = SelectedColumn();
  if ((column && column->Checkboxes()) || FIncSearching) return false;
  return BeginCellEdit();
}

// The cell's parameters may switch text editing off for one cell; a selection that the
// editor would hide, and an incremental search, keep the editor away.
bool TCustomDBGridX::EditorMayShow() {
  if (FLayoutLock > 0 || !TCustomGridX::EditorMayShow()) return false;
  const Integer index = SelectedIndex();
  bool show = index >= 0 && index < FColumns->Count() && FColumns->Items(index)->TextEditingNow();
  if (show && FOptionsX.Contains(dghClearSelection) && FAllowedSelections.Contains(gstRectangle) &&
      FSelection->SelectionKind() != gstNon)
    show = false;
  if (FIncSearching) show = false;
  if (!show) LeaveEditorMode();
  return show;
}

// Whether the grid, its editor or its filter editor holds the focus after asking for it.
bool TCustomDBGridX::TakeFocus() {
  bool focused = true;
  if (CanFocus() && !ComponentState().Contains(csDesigning)) {
    SetFocus();
    const auto hasFocus = [this] { return Focused() || (InplaceEditor() && InplaceEditor()->Focused()); };
    focused = hasFocus();
    if (TCustomForm* active = Screen ? Screen->ActiveForm() : nullptr;
        !focused && active && active->FormStyle() == fsMDIForm) {
      Handle()->setFocus(Qt::OtherFocusReason);
      focused = hasFocus();
    }
  }
  return focused || (FFilterEdit && FFilterEdit->Focused());
}

bool TCustomDBGridX::ConfirmDelete() {
  if (!FOptions.Contains(dgConfirmDelete)) return true;
  const String text = FBookmarks->GetCount() <= 1 ? QStringLiteral("Delete record?")
                                                   : QStringLiteral("Delete all selected records?");
  const QPointer<QWidget> focused = QApplication::focusWidget();
  const bool confirmed = TDialogs::MessageDlg(text, mtConfirmation, TMsgDlgButtons{mbOK, mbCancel}) != mrCancel;
  if (focused && QApplication::focusWidget() != focused) focused->setFocus(Qt::OtherFocusReason);
  return confirmed;
}

// Leaving the grid drops a record that was appended and never touched, or writes what the
// editor holds; when that fails the focus comes back to the grid with the error.
void TCustomDBGridX::DoExit() {
  if (FDataLink->Active()) {
    try {
      TDataSet* dataSet = DataSet();
      if (FOptions.Contains(dgCancelOnExit) && dataSet->State() == dsInsert && !dataSet->Modified() &&
          !FDataLink->EditorModified())
        dataSet->Cancel();
      else
        FDataLink->UpdateRecord();
    } catch (...) {
      TakeFocus();
      throw;
    }
  }
  TCustomGridX::DoExit();
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
