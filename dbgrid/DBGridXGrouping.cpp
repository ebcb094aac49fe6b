// Grouping settings and grouping levels: colours and fonts that follow the grid, the list of
// active levels and the structure check that keeps the group tree in step with it.
#include "dbgrid/DBGridXGrouping.h"
#include "dbgrid/DBGridXColumns.h"
#include "grid/GridsX.h"
#include "platform/rtl/ScopeGuards.h"

// ---- level

TGridDataGroupLevelX::TGridDataGroupLevelX(TCollection* Collection)
    : TCollectionItem(Collection), FFont(std::make_unique<TFont>()) {
  if (TGridDataGroupsX* groups = Groups()) FFont->Assign(groups->Font());
  FFont->OnChange = [this](TObject*) { FontChanged(); };
}

void TGridDataGroupLevelX::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TGridDataGroupLevelX*>(Source);
  if (!source) {
    TCollectionItem::Assign(Source);
    return;
  }
  FColor = source->FColor;
  FParentColor = source->FParentColor;
  if (!source->FParentFont) SetFont(source->Font());
  FParentFont = source->FParentFont;
  FRowHeight = source->FRowHeight;
  FRowLines = source->FRowLines;
  FSortOrder = source->FSortOrder;
  KeyValueHandler = source->KeyValueHandler;
  SetColumn(source->FColumn);
}

TGridDataGroupsX* TGridDataGroupLevelX::Groups() const {
  auto* levels = dynamic_cast<TGridDataGroupLevelsX*>(Collection());
  return levels ? levels->Groups() : nullptr;
}

void TGridDataGroupLevelX::SetColumn(TColumnX* Value) {
  if (Value == FColumn) return;
  FColumn = Value;
  Changed(false);
}

TColor TGridDataGroupLevelX::Color() const {
  TGridDataGroupsX* groups = Groups();
  return FParentColor && groups ? groups->Color() : FColor;
}

void TGridDataGroupLevelX::SetColor(TColor Value) {
  if (!FParentColor && Value == FColor) return;
  FColor = Value;
  FParentColor = false;
  LevelChanged();
}

void TGridDataGroupLevelX::SetParentColor(bool Value) {
  if (Value == FParentColor) return;
  FParentColor = Value;
  LevelChanged();
}

TFont* TGridDataGroupLevelX::Font() {
  if (FParentFont) RefreshFont();
  return FFont.get();
}

void TGridDataGroupLevelX::RefreshFont() {
  TGridDataGroupsX* groups = Groups();
  if (!FParentFont || !groups) return;
  TFont* source = groups->Font();
  if (*FFont == *source) return;
  const TNotifyEvent handler = std::exchange(FFont->OnChange, nullptr);
  TScopeGuard restore([&] { FFont->OnChange = handler; });
  FFont->Assign(source);
}

void TGridDataGroupLevelX::FontChanged() {
  FParentFont = false;
  LevelChanged();
}

void TGridDataGroupLevelX::SetParentFont(bool Value) {
  if (Value == FParentFont) return;
  FParentFont = Value;
  RefreshFont();
  LevelChanged();
}

void TGridDataGroupLevelX::SetSortOrder(TSortOrderX Value) {
  if (Value == FSortOrder) return;
  FSortOrder = Value;
  if (auto* levels = dynamic_cast<TGridDataGroupLevelsX*>(Collection())) levels->SortOrderChanged(this);
}

Integer TGridDataGroupLevelX::ActiveIndex() const {
  TGridDataGroupsX* groups = Groups();
  if (!groups) return -1;
  for (Integer i = 0; i < groups->ActiveLevelCount(); ++i)
    if (groups->ActiveLevels(i) == this) return i;
  return -1;
}

void TGridDataGroupLevelX::CollapseAll() {
  const Integer position = ActiveIndex();
  if (position >= 0) Groups()->Tree()->CollapseLevel(position + 1);
}

void TGridDataGroupLevelX::ExpandAll() {
  const Integer position = ActiveIndex();
  if (position >= 0) Groups()->Tree()->ExpandLevel(position + 1);
}

void TGridDataGroupLevelX::LevelChanged() {
  if (TGridDataGroupsX* groups = Groups()) groups->VisualChanged();
}

void TGridDataGroupLevelX::GroupRowText(TGroupDataTreeNodeX*, String&) {}

void TGridDataGroupLevelX::GetKeyValue(Variant& Value) {
  if (KeyValueHandler) {
    KeyValueHandler(this, Value);
    return;
  }
  TField* field = FColumn ? FColumn->Field() : nullptr;
  if (field && field->DataSet() && field->DataSet()->Active()) Value = field->Value();
}

// ---- levels collection

TGridDataGroupLevelsX::TGridDataGroupLevelsX(TGridDataGroupsX* Groups, TCollectionItemClass ItemClass)
    : TCollection(std::move(ItemClass)), FGroups(Groups) {}

TPersistent* TGridDataGroupLevelsX::GetOwner() const { return FGroups; }

void TGridDataGroupLevelsX::Update(TCollectionItem* Item) {
  TCollection::Update(Item);
  FGroups->CheckStructure();
}

void TGridDataGroupLevelsX::SortOrderChanged(TGridDataGroupLevelX* Level) {
  for (Integer i = 0; i < FGroups->ActiveLevelCount(); ++i)
    if (FGroups->ActiveLevels(i) == Level) FGroups->SortLevel(i, Level->SortOrder());
}

void TGridDataGroupLevelsX::RefreshFonts() {
  for (Integer i = 0; i < Count(); ++i) Items(i)->RefreshFont();
}

// ---- settings

TGridDataGroupsX::TGridDataGroupsX(TCustomGridX* Grid)
    : FGrid(Grid), FFont(std::make_unique<TFont>()), FTree(std::make_unique<TGridGroupDataTreeX>(this)) {
  if (FGrid) FFont->Assign(FGrid->Font());
  FFont->OnChange = [this](TObject*) { FontChanged(); };
}

TGridDataGroupsX::~TGridDataGroupsX() {
  // The levels go first: their removal must not reach a tree that is gone.
  FGroupLevels.reset();
}

void TGridDataGroupsX::Initialize() {
  if (!FGroupLevels) FGroupLevels = CreateGroupLevels();
}

std::unique_ptr<TGridDataGroupLevelsX> TGridDataGroupsX::CreateGroupLevels() {
  return std::make_unique<TGridDataGroupLevelsX>(this, ItemClassOf<TGridDataGroupLevelX>());
}

void TGridDataGroupsX::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TGridDataGroupsX*>(Source);
  if (!source) {
    TPersistent::Assign(Source);
    return;
  }
  SetActive(source->FActive);
  if (FGroupLevels && source->FGroupLevels) FGroupLevels->Assign(source->FGroupLevels.get());
  SetGroupPanelVisible(source->FGroupPanelVisible);
}

void TGridDataGroupsX::SetActive(bool Value) {
  if (Value == FActive) return;
  FActive = Value;
  ActiveChanged();
}

void TGridDataGroupsX::SetGroupPanelVisible(bool Value) {
  if (Value == FGroupPanelVisible) return;
  FGroupPanelVisible = Value;
  GroupPanelChanged();
}

TColor TGridDataGroupsX::Color() const {
  if (!FParentColor) return FColor;
  return FGrid ? FGrid->Color() : FColor;
}

void TGridDataGroupsX::SetColor(TColor Value) {
  if (!FParentColor && Value == FColor) return;
  FColor = Value;
  FParentColor = false;
  VisualChanged();
}

void TGridDataGroupsX::SetParentColor(bool Value) {
  if (Value == FParentColor) return;
  FParentColor = Value;
  VisualChanged();
}

TFont* TGridDataGroupsX::Font() {
  if (FParentFont && FGrid && !(*FFont == *FGrid->Font())) {
    FCopyingFont = true;
    TScopeGuard restore([&] { FCopyingFont = false; });
    FFont->Assign(FGrid->Font());
  }
  return FFont.get();
}

void TGridDataGroupsX::FontChanged() {
  if (!FCopyingFont) FParentFont = false;
  if (FGroupLevels) FGroupLevels->RefreshFonts();
  if (!FCopyingFont) VisualChanged();
}

void TGridDataGroupsX::SetParentFont(bool Value) {
  if (Value == FParentFont) return;
  FParentFont = Value;
  if (Value) Font();
  VisualChanged();
}

void TGridDataGroupsX::VisualChanged() {
  if (FGrid) FGrid->Invalidate();
}

void TGridDataGroupsX::RebuildActiveLevels() {
  FActiveLevels.clear();
  FActiveColumns.clear();
  if (!FGroupLevels) return;
  for (Integer i = 0; i < FGroupLevels->Count(); ++i) {
    TGridDataGroupLevelX* level = FGroupLevels->Items(i);
    if (!level->Column()) continue;
    FActiveLevels.push_back(level);
    FActiveColumns.push_back(level->Column());
  }
}

void TGridDataGroupsX::CheckStructure() {
  Integer matched = 0;
  bool stopped = false;
  for (Integer i = 0; i < FGroupLevels->Count() && !stopped; ++i) {
    TGridDataGroupLevelX* level = FGroupLevels->Items(i);
    if (!level->Column()) continue;
    if (matched >= ActiveLevelCount() || FActiveLevels[size_t(matched)] != level ||
        FActiveColumns[size_t(matched)] != level->Column())
      stopped = true;
    else
      ++matched;
  }
  if (!stopped && matched == ActiveLevelCount()) return;
  FTree->PruneLevel(matched + 1);
  RebuildActiveLevels();
  if (FActive) GroupLevelsChanged();
}

void TGridDataGroupsX::SortLevel(Integer ActiveIndex, TSortOrderX Order) { FTree->SortLevel(ActiveIndex, Order); }

Variant TGridDataGroupsX::RecordKeyValues(Integer RecordIndex) {
  std::vector<Variant> values(size_t(ActiveLevelCount() + 1));
  IMemTableX* memTable = MemTable();
  const bool enter = memTable && memTable->CurrentRecordIndex() != RecordIndex;
  if (enter) memTable->EnterRecord(RecordIndex);
  TScopeGuard leave([&] {
    if (enter) memTable->LeaveRecord();
  });
  for (Integer i = 0; i < ActiveLevelCount(); ++i) FActiveLevels[size_t(i)]->GetKeyValue(values[size_t(i)]);
  values.back() = RecordIndex;
  return Variant::Array(std::move(values));
}

void TGridDataGroupsX::ApplyPendingKeyValues(Variant& KeyValues) {
  if (!FPendingKeyValues.IsArray()) return;
  const Variant pending = std::exchange(FPendingKeyValues, Variant());
  for (Integer i = 0; i < ActiveLevelCount() && i < pending.ArrayLength() && i < KeyValues.ArrayLength(); ++i) {
    if (TField* field = FActiveColumns[size_t(i)]->Field()) field->SetValue(pending[i]);
    KeyValues[i] = pending[i];
  }
}
