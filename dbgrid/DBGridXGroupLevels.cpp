// The data-aware grid's grouping levels and settings: levels name their column, take the key
// value through the column and the level's events and write the text of their group rows;
// the settings ask the grid for what the group tree needs.
#include "dbgrid/DBGridX.h"
#include "grid/GridsX.h"

// ---- level

void TDBGridXDataGroupLevelX::Assign(TPersistent* Source) {
  TGridDataGroupLevelX::Assign(Source);
  if (auto* source = dynamic_cast<TDBGridXDataGroupLevelX*>(Source)) {
    OnGetKeyValue = source->OnGetKeyValue;
    OnGetKeyValueAsText = source->OnGetKeyValueAsText;
    OnGetGroupRowText = source->OnGetGroupRowText;
    FPendingColumnName = source->FPendingColumnName;
  }
}

TCustomDBGridX* TDBGridXDataGroupLevelX::Grid() const {
  auto* groups = dynamic_cast<TDBGridXDataGroupsX*>(Groups());
  return groups ? groups->DBGrid() : nullptr;
}

String TDBGridXDataGroupLevelX::ColumnName() const { return Column() ? Column()->ComponentName() : String(); }

void TDBGridXDataGroupLevelX::SetColumnName(const String& Value) {
  TCustomDBGridX* grid = Grid();
  if (!grid || grid->ComponentState().Contains(csLoading)) {
    FPendingColumnName = Value;
    return;
  }
  FPendingColumnName.clear();
  TColumnX* found = nullptr;
  for (Integer i = 0; i < grid->Columns()->Count() && !found; ++i)
    if (grid->Columns()->Items(i)->ComponentName() == Value) found = grid->Columns()->Items(i);
  SetColumn(found);
}

void TDBGridXDataGroupLevelX::ResolveColumnName() {
  const String name = std::exchange(FPendingColumnName, String());
  if (!name.isEmpty()) SetColumnName(name);
}

void TDBGridXDataGroupLevelX::KeyValueAsText(TGroupDataTreeNodeX* Node, String& Text) {
  Text = VarToStr(Node->KeyValue);
  if (Column() && Column()->OnGroupGetKeyValueAsText)
    Column()->OnGroupGetKeyValueAsText(Grid(), Node, Text, Node->KeyValue);
  if (OnGetKeyValueAsText) OnGetKeyValueAsText(Grid(), Node, Text, Node->KeyValue);
}

void TDBGridXDataGroupLevelX::GroupRowText(TGroupDataTreeNodeX* Node, String& Text) {
  Text.clear();
  if (Column()) Text = Column()->Title()->Caption() + QStringLiteral(": ");
  String keyText;
  KeyValueAsText(Node, keyText);
  Text += keyText + QStringLiteral(" (") + QString::number(Node->Count()) + QStringLiteral(")");
  TCustomDBGridX* grid = Grid();
  if (grid && grid->OnDataGroupGetRowText) grid->OnDataGroupGetRowText(grid, Node, Text);
  if (OnGetGroupRowText && Column()) OnGetGroupRowText(grid, Node, Text);
}

void TDBGridXDataGroupLevelX::GetKeyValue(Variant& Value) {
  TGridDataGroupLevelX::GetKeyValue(Value);
  if (Column() && Column()->OnGroupGetKeyValue) Column()->OnGroupGetKeyValue(Grid(), Column(), Value);
  if (OnGetKeyValue && Column()) OnGetKeyValue(Grid(), this, Value);
}

void TDBGridXDataGroupLevelX::LevelChanged() {
  TCustomDBGridX* grid = Column() ? Column()->Grid() : nullptr;
  if (!grid) return;
  grid->Invalidate();
  grid->RebuildGroupTree();
}

// ---- settings

TDBGridXDataGroupsX::TDBGridXDataGroupsX(TCustomDBGridX* Grid) : TGridDataGroupsX(Grid), FDBGrid(Grid) {
  Initialize();
}

std::unique_ptr<TGridDataGroupLevelsX> TDBGridXDataGroupsX::CreateGroupLevels() {
  return std::make_unique<TGridDataGroupLevelsX>(this, ItemClassOf<TDBGridXDataGroupLevelX>());
}

TDBGridXDataGroupLevelX* TDBGridXDataGroupsX::LevelOfColumn(const TColumnX* Column) const {
  for (Integer i = 0; i < GroupLevels()->Count(); ++i)
    if (Levels(i)->Column() == Column) return Levels(i);
  return nullptr;
}

void TDBGridXDataGroupsX::ResolveColumnNames() {
  for (Integer i = 0; i < GroupLevels()->Count(); ++i) Levels(i)->ResolveColumnName();
}

void TDBGridXDataGroupsX::ColumnRemoved(TColumnX* Column) {
  bool found = false;
  for (Integer i = 0; i < GroupLevels()->Count(); ++i)
    if (Levels(i)->Column() == Column) {
      Levels(i)->DropColumn();
      found = true;
    }
  if (!found) return;
  Tree()->PruneLevel(1);
  RebuildActiveLevels();
  if (Active() && !FDBGrid->ComponentState().Contains(csDestroying)) GroupLevelsChanged();
}

void TDBGridXDataGroupsX::ActiveChanged() {
  FDBGrid->HandleLinkActiveChange(FDBGrid->GridDataLink()->Active());
  FDBGrid->RebuildGroupTree();
  FDBGrid->UpdateGroupPanel();
  if (FDBGrid->OnActiveGroupingStructChanged) FDBGrid->OnActiveGroupingStructChanged(FDBGrid);
}

void TDBGridXDataGroupsX::GroupLevelsChanged() {
  FDBGrid->MemTableRecordChanged(-1, mtcDataResetX, -1);
  FDBGrid->RequestLayout();
  FDBGrid->UpdateGroupPanel();
  if (FDBGrid->OnActiveGroupingStructChanged) FDBGrid->OnActiveGroupingStructChanged(FDBGrid);
}

void TDBGridXDataGroupsX::GroupPanelChanged() {
  FDBGrid->UpdateGroupPanel();
  FDBGrid->Invalidate();
  FDBGrid->RebuildGroupTree();
}

// The grouping levels sort the records: a change of them is a change of the sort marking.
void TDBGridXDataGroupsX::RebuildActiveLevels() {
  TGridDataGroupsX::RebuildActiveLevels();
  FHotBoxIndex = -1;
  FHotButtonIndex = -1;
  if (FDBGrid->GridDataLink()->Active()) FDBGrid->FireSortMarkingChanged();
}

void TDBGridXDataGroupsX::MoveGroupLevel(Integer FromIndex, Integer ToIndex) {
  GroupLevels()->Items(FromIndex)->SetIndex(ToIndex);
  if (FDBGrid->GridDataLink()->Active()) FDBGrid->FireSortMarkingChanged();
}

bool TDBGridXDataGroupsX::GroupingWorks() const {
  return Active() && FDBGrid->MemTable() && FDBGrid->GridDataLink()->Active() && ActiveLevelCount() > 0;
}

IMemTableX* TDBGridXDataGroupsX::MemTable() const { return FDBGrid->MemTable(); }

Integer TDBGridXDataGroupsX::GroupRowHeight(TGroupDataTreeNodeX* Node) { return FDBGrid->GroupRowHeight(Node); }

Integer TDBGridXDataGroupsX::EnteredRecordHeight() { return FDBGrid->CalcRecordHeight(); }

void TDBGridXDataGroupsX::FlatListChanged() { FDBGrid->UpdateGroupRowCount(); }

void TDBGridXDataGroupsX::RecordRowChanged(Integer FlatIndex) { FDBGrid->SetDataRowHeight(FlatIndex); }

bool TDBGridXDataGroupsX::InsertingRecord(Integer RecordIndex) const {
  TDataSet* dataSet = FDBGrid->DataSet();
  IMemTableX* memTable = FDBGrid->MemTable();
  return dataSet && memTable && dataSet->State() == dsInsert && memTable->CurrentRecordIndex() == RecordIndex;
}
