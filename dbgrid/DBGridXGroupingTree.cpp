// The group data tree: one node per record below one group node per key value of each
// active level, kept in step with the memory table record by record, and its flat list of
// shown nodes, which are the grid's rows.
#include "dbgrid/DBGridXGrouping.h"
#include "dbgrid/DBGridXColumns.h"
#include "grid/LibraryRoutinesX.h"
#include "platform/rtl/ScopeGuards.h"
#include <algorithm>

namespace {

enum TGroupPositionModeX { gpmAddChildX, gpmInsertBeforeX, gpmAddAfterX, gpmFoundX };

struct TGroupPositionX {
  TGroupDataTreeNodeX* Node = nullptr;
  TGroupPositionModeX Mode = gpmAddChildX;
};

TGroupDataTreeNodeX* GroupNode(TBaseTreeNodeX* Node) { return static_cast<TGroupDataTreeNodeX*>(Node); }

// Where Key belongs among Parent's children, which are sorted by KeyValue in Order.
TGroupPositionX FindPosition(TBaseTreeNodeX* Parent, const Variant& Key, TSortOrderX Order) {
  const Integer count = Parent->Count();
  if (count == 0) return {};
  const Integer after = Order == soAscX ? vcGreaterThanX : vcLessThanX;
  const Integer before = Order == soAscX ? vcLessThanX : vcGreaterThanX;
  auto relation = [&](Integer Index) { return CompareVariantValues(GroupNode(Parent->GetItem(Index))->KeyValue, Key); };
  if (relation(0) == after) return {GroupNode(Parent->GetItem(0)), gpmInsertBeforeX};
  if (relation(count - 1) == before) return {GroupNode(Parent->GetItem(count - 1)), gpmAddAfterX};
  Integer low = 0, high = count - 1, middle = high / 2;
  for (;;) {
    const Integer r = relation(middle);
    if (r == after) high = middle;
    else if (r == before) low = middle;
    else return {GroupNode(Parent->GetItem(middle)), gpmFoundX};
    const Integer next = (low + high) / 2;
    if (next == middle) {
      TGroupDataTreeNodeX* candidate = GroupNode(Parent->GetItem(middle + 1));
      const bool equal = CompareVariantValues(candidate->KeyValue, Key) == vcEqualX;
      return {candidate, equal ? gpmFoundX : gpmInsertBeforeX};
    }
    middle = next;
  }
}

Integer CompareGroups(TBaseTreeNodeX* A, TBaseTreeNodeX* B, TSortOrderX Order) {
  const TGroupDataTreeNodeX* a = GroupNode(A);
  const TGroupDataTreeNodeX* b = GroupNode(B);
  if (!a->IsGroupNode || !b->IsGroupNode) return 0;
  const Integer relation = CompareVariantValues(a->KeyValue, b->KeyValue);
  const Integer result = relation == vcLessThanX ? -1 : relation == vcGreaterThanX ? 1 : 0;
  return Order == soDescX ? -result : result;
}

// Enters a record of the memory table for a scope (none without a memory table).
class TEnteredRecord {
public:
  TEnteredRecord(IMemTableX* MemTable, Integer Index) : FMemTable(MemTable) {
    if (FMemTable) FMemTable->EnterRecord(Index);
  }
  ~TEnteredRecord() {
    if (FMemTable) FMemTable->LeaveRecord();
  }
  TEnteredRecord(const TEnteredRecord&) = delete;
  TEnteredRecord& operator=(const TEnteredRecord&) = delete;
private:
  IMemTableX* FMemTable;
};

}  // namespace

TGridGroupDataTreeX::TGridGroupDataTreeX(TGridDataGroupsX* Groups)
    : TTreeListX(NodeClassOf<TGroupDataTreeNodeX>()), FGroups(Groups) {}

TGroupDataTreeNodeX* TGridGroupDataTreeX::FlatNode(Integer Index) const {
  return Index >= 0 && Index < FlatCount() ? FFlatList[size_t(Index)] : nullptr;
}

Integer TGridGroupDataTreeX::FlatIndexOf(TBaseTreeNodeX* Node) const {
  const auto found = std::find(FFlatList.begin(), FFlatList.end(), Node);
  return found == FFlatList.end() ? -1 : Integer(found - FFlatList.begin());
}

Integer TGridGroupDataTreeX::FlatIndexOfRecord(Integer RecordIndex) const {
  for (Integer i = 0; i < FlatCount(); ++i)
    if (!FFlatList[size_t(i)]->IsGroupNode && FFlatList[size_t(i)]->RecordIndex == RecordIndex) return i;
  return -1;
}

TGroupDataTreeNodeX* TGridGroupDataTreeX::FindRecordNode(Integer RecordIndex) const {
  for (TBaseTreeNodeX* n = GetFirst(); n; n = GetNext(n))
    if (!GroupNode(n)->IsGroupNode && GroupNode(n)->RecordIndex == RecordIndex) return GroupNode(n);
  return nullptr;
}

void TGridGroupDataTreeX::ExpandedChanged(TBaseTreeNodeX* Node) {
  TTreeListX::ExpandedChanged(Node);
  if (FUpdateCount == 0) RebuildFlatList();
}

void TGridGroupDataTreeX::RebuildFlatList() {
  FFlatList.clear();
  for (TBaseTreeNodeX* n = GetFirstVisible(); n; n = GetNextVisible(n, true)) FFlatList.push_back(GroupNode(n));
  FGroups->FlatListChanged();
}

TGroupDataTreeNodeX* TGridGroupDataTreeX::AddRecordNode(const Variant& KeyValues) {
  TBaseTreeNodeX* parent = Root();
  bool onExistingGroups = true;
  for (Integer i = 0; i < FGroups->ActiveLevelCount(); ++i) {
    TGridDataGroupLevelX* level = FGroups->ActiveLevels(i);
    const Variant& key = KeyValues[i];
    TGroupDataTreeNodeX* group = nullptr;
    if (onExistingGroups) {
      const TGroupPositionX position = FindPosition(parent, key, level->SortOrder());
      if (position.Mode == gpmFoundX) {
        parent = position.Node;
        continue;
      }
      onExistingGroups = false;
      group = GroupNode(CreateNode(String(), 0));
      if (position.Node)
        AddNode(group, position.Node, true, position.Mode == gpmInsertBeforeX ? tamInsertX : tamAddX);
      else
        AddNode(group, parent, true, tamAddChildX);
    } else {
      group = GroupNode(AddChild(String(), parent, 0));
    }
    group->GroupLevel = level;
    group->IsGroupNode = true;
    group->KeyValue = key;
    group->SetExpanded(FGroups->DefaultStateExpanded());
    group->HeightDirty = true;
    parent = group;
  }
  const TGroupPositionX position = FindPosition(parent, KeyValues[FGroups->ActiveLevelCount()], soAscX);
  if (!position.Node) return GroupNode(AddChild(String(), parent, 0));
  TGroupDataTreeNodeX* node = GroupNode(CreateNode(String(), 0));
  AddNode(node, position.Node, true, position.Mode == gpmAddAfterX ? tamAddX : tamInsertX);
  return node;
}

void TGridGroupDataTreeX::FillRecordNode(TGroupDataTreeNodeX* Node, Integer RecordIndex, const Variant& KeyValues) {
  Node->GroupLevel = nullptr;
  Node->IsGroupNode = false;
  Node->RecordIndex = RecordIndex;
  Node->KeyValues = KeyValues;
  Node->KeyValue = RecordIndex;
  Node->HeightDirty = true;
}

void TGridGroupDataTreeX::RebuildFromMemTable(IMemTableX* MemTable) {
  {
    TUpdateLock lock(this);
    std::vector<TBaseTreeNodeX*> stale;
    for (TBaseTreeNodeX* n = GetFirstVisible(); n; n = GetNextVisible(n, false))
      if (!GroupNode(n)->IsGroupNode) stale.push_back(n);
    for (TBaseTreeNodeX* n : stale) DeleteNode(n, true);
    stale.clear();
    for (TBaseTreeNodeX* n = GetFirstVisible(); n; n = GetNextVisible(n, false)) {
      const Integer position = n->Level() - 1;
      TGridDataGroupLevelX* expected = position < FGroups->ActiveLevelCount() ? FGroups->ActiveLevels(position) : nullptr;
      if (n->Count() == 0 && GroupNode(n)->GroupLevel != expected) stale.push_back(n);
    }
    for (TBaseTreeNodeX* n : stale) DeleteNode(n, true);

    const Integer count = MemTable ? MemTable->MemRecordCount() : 0;
    for (Integer index = 0; index < count; ++index) {
      TEnteredRecord entered(MemTable, index);
      std::vector<Variant> keys(size_t(FGroups->ActiveLevelCount() + 1));
      for (Integer i = 0; i < FGroups->ActiveLevelCount(); ++i) FGroups->ActiveLevels(i)->GetKeyValue(keys[size_t(i)]);
      keys.back() = index;
      const Variant keyValues = Variant::Array(std::move(keys));
      FillRecordNode(AddRecordNode(keyValues), index, keyValues);
    }

    std::function<void(TBaseTreeNodeX*)> dropEmptyGroups = [&](TBaseTreeNodeX* Parent) {
      for (Integer i = Parent->Count() - 1; i >= 0; --i) {
        TBaseTreeNodeX* child = Parent->GetItem(i);
        dropEmptyGroups(child);
        if (GroupNode(child)->IsGroupNode && child->Count() == 0) DeleteNode(child, true);
      }
    };
    dropEmptyGroups(Root());
  }
  RebuildFlatList();
  RecalcHeights();
}

void TGridGroupDataTreeX::ShiftRecordIndexes(Integer From, Integer Delta) {
  for (TBaseTreeNodeX* n = GetFirst(); n; n = GetNext(n)) {
    TGroupDataTreeNodeX* node = GroupNode(n);
    if (node->IsGroupNode || node->RecordIndex < From) continue;
    node->RecordIndex += Delta;
    node->KeyValue = node->RecordIndex;
    if (node->KeyValues.IsArray() && node->KeyValues.ArrayLength() > 0)
      node->KeyValues[node->KeyValues.ArrayLength() - 1] = node->RecordIndex;
  }
}

void TGridGroupDataTreeX::DeleteWithEmptyAncestors(TGroupDataTreeNodeX* Node) {
  TBaseTreeNodeX* parent = Node->Parent();
  DeleteNode(Node, true);
  for (Integer k = 0; k < FGroups->ActiveLevelCount() && parent && parent != Root() && parent->Count() == 0; ++k) {
    TBaseTreeNodeX* grandParent = parent->Parent();
    DeleteNode(parent, true);
    parent = grandParent;
  }
}

void TGridGroupDataTreeX::RecordInserted(Integer Index) {
  TGroupDataTreeNodeX* node = nullptr;
  bool inserting = false;
  {
    TUpdateLock lock(this);
    ShiftRecordIndexes(Index, 1);
    TEnteredRecord entered(FGroups->MemTable(), Index);
    Variant keyValues = FGroups->RecordKeyValues(Index);
    inserting = FGroups->InsertingRecord(Index);
    if (inserting) FGroups->ApplyPendingKeyValues(keyValues);
    node = AddRecordNode(keyValues);
    FillRecordNode(node, Index, keyValues);
  }
  if (inserting)
    for (TBaseTreeNodeX* p = node->Parent(); p && p != Root(); p = p->Parent()) p->SetExpanded(true);
  RebuildFlatList();
}

void TGridGroupDataTreeX::RecordChanged(Integer Index) {
  TGroupDataTreeNodeX* node = FindRecordNode(Index);
  if (!node) return;
  const Variant keyValues = FGroups->RecordKeyValues(Index);
  if (VariantValuesEqual(keyValues, node->KeyValues)) {
    const Integer flatIndex = FlatIndexOf(node);
    if (flatIndex >= 0) FGroups->RecordRowChanged(flatIndex);
    return;
  }
  {
    TUpdateLock lock(this);
    DeleteWithEmptyAncestors(node);
    TEnteredRecord entered(FGroups->MemTable(), Index);
    FillRecordNode(AddRecordNode(keyValues), Index, keyValues);
  }
  RebuildFlatList();
}

void TGridGroupDataTreeX::RecordDeleted(Integer Index) {
  TGroupDataTreeNodeX* node = FindRecordNode(Index);
  if (!node) return;
  {
    TUpdateLock lock(this);
    DeleteWithEmptyAncestors(node);
    ShiftRecordIndexes(Index + 1, -1);
  }
  RebuildFlatList();
}

void TGridGroupDataTreeX::ApplyToLevel(Integer TreeLevel, const std::function<void(TGroupDataTreeNodeX*)>& Action) {
  for (TBaseTreeNodeX* n = GetFirst(); n; n = GetNext(n))
    if (n->Level() == TreeLevel) Action(GroupNode(n));
}

void TGridGroupDataTreeX::CollapseLevel(Integer TreeLevel) {
  {
    TUpdateLock lock(this);
    ApplyToLevel(TreeLevel, [](TGroupDataTreeNodeX* Node) { Node->SetExpanded(false); });
  }
  RebuildFlatList();
}

void TGridGroupDataTreeX::ExpandLevel(Integer TreeLevel) {
  {
    TUpdateLock lock(this);
    ApplyToLevel(TreeLevel, [](TGroupDataTreeNodeX* Node) { Node->SetExpanded(true); });
  }
  RebuildFlatList();
}

void TGridGroupDataTreeX::SortLevel(Integer ActiveIndex, TSortOrderX Order) {
  {
    TUpdateLock lock(this);
    if (ActiveIndex == 0)
      Root()->SortData(Order, false, CompareGroups);
    else
      ApplyToLevel(ActiveIndex, [&](TGroupDataTreeNodeX* Node) { Node->SortData(Order, false, CompareGroups); });
  }
  RebuildFlatList();
}

void TGridGroupDataTreeX::PruneLevel(Integer TreeLevel) {
  if (TreeLevel <= 1) {
    Clear();
  } else {
    std::vector<TBaseTreeNodeX*> groups;
    ApplyToLevel(TreeLevel, [&](TGroupDataTreeNodeX* Node) {
      if (Node->IsGroupNode) groups.push_back(Node);
    });
    for (TBaseTreeNodeX* n : groups) DeleteNode(n, true);
  }
  RebuildFlatList();
}

Integer TGridGroupDataTreeX::NodeHeight(TGroupDataTreeNodeX* Node) {
  if (Node->HeightDirty) {
    if (Node->IsGroupNode) {
      Node->RowHeight = FGroups->GroupRowHeight(Node);
    } else {
      TEnteredRecord entered(FGroups->MemTable(), Node->RecordIndex);
      Node->RowHeight = FGroups->EnteredRecordHeight();
    }
    Node->HeightDirty = false;
  }
  return Node->RowHeight;
}

void TGridGroupDataTreeX::RecalcHeights() {
  for (TBaseTreeNodeX* n = GetFirst(); n; n = GetNext(n)) {
    GroupNode(n)->HeightDirty = true;
    NodeHeight(GroupNode(n));
  }
}
