// Tree nodes: the children lists, the list of visible children, levels, expansion and sorting.
#include "dbgrid/MemTreeX.h"
#include <algorithm>
#include <utility>

TBaseTreeNodeX::TBaseTreeNodeX(TTreeListX* AOwner) : FOwner(AOwner) {}

TBaseTreeNodeX::~TBaseTreeNodeX() {
  for (TBaseTreeNodeX* child : FItems) delete child;
}

void TBaseTreeNodeX::SetExpanded(bool Value) {
  if (Value == FExpanded || !CanChangeExpanded()) return;
  FExpanded = Value;
  ExpandedChanged();
}

// The subtree is checked whole before any level changes, so a refused level leaves the
// tree as it was.
void TBaseTreeNodeX::SetLevel(Integer Value) {
  if (Value == FLevel) return;
  if (FOwner && Value + SubtreeDepth() > FOwner->MaxLevel())
    throw Exception("TBaseTreeNodeX.SetLevel: Max level exceed - " + QString::number(FOwner->MaxLevel()));
  StoreLevel(Value);
}

void TBaseTreeNodeX::StoreLevel(Integer Value) {
  FLevel = Value;
  for (TBaseTreeNodeX* child : FItems) child->StoreLevel(Value + 1);
}

Integer TBaseTreeNodeX::SubtreeDepth() const {
  Integer depth = 0;
  for (const TBaseTreeNodeX* child : FItems) depth = std::max(depth, child->SubtreeDepth() + 1);
  return depth;
}

void TBaseTreeNodeX::SetVisible(bool Value) {
  if (Value == FVisible) return;
  FVisible = Value;
  VisibilityChanged();
}

TBaseTreeNodeX* TBaseTreeNodeX::GetItem(Integer Index) const {
  return Index >= 0 && Index < Count() ? FItems[size_t(Index)] : nullptr;
}

Integer TBaseTreeNodeX::VisibleItemsCount() const {
  return AllChildrenVisible() ? Count() : Integer(FVisibleItems.size());
}

TBaseTreeNodeX* TBaseTreeNodeX::VisibleItem(Integer Index) const {
  if (AllChildrenVisible()) return GetItem(Index);
  return Index >= 0 && Index < Integer(FVisibleItems.size()) ? FVisibleItems[size_t(Index)] : nullptr;
}

void TBaseTreeNodeX::CheckOwner(const TBaseTreeNodeX* Node) const {
  if (Node->FOwner != FOwner) throw Exception("TBaseTreeNodeX.Add: Tree nodes can not has different Owners");
}

Integer TBaseTreeNodeX::Add(TBaseTreeNodeX* Node) {
  CheckOwner(Node);
  const Integer position = Count();
  if (AllChildrenVisible() && Node->FVisible) {
    FItems.push_back(Node);
    Node->FVisibleIndex = position;
    ++FVisibleCount;
  } else {
    FItems.push_back(Node);
    BuildVisibleItems();
  }
  return position;
}

void TBaseTreeNodeX::Insert(Integer Index, TBaseTreeNodeX* Node) {
  CheckOwner(Node);
  const Integer position = std::clamp(Index, 0, Count());
  if (AllChildrenVisible() && Node->FVisible) {
    FItems.insert(FItems.begin() + position, Node);
    ++FVisibleCount;
  } else {
    FItems.insert(FItems.begin() + position, Node);
    BuildVisibleItems();
  }
}

void TBaseTreeNodeX::Delete(Integer Index) {
  if (Index < 0 || Index >= Count()) return;
  if (AllChildrenVisible()) {
    FItems.erase(FItems.begin() + Index);
    --FVisibleCount;
  } else {
    FItems.erase(FItems.begin() + Index);
    BuildVisibleItems();
  }
}

void TBaseTreeNodeX::Exchange(Integer Index1, Integer Index2) {
  std::swap(FItems[size_t(Index1)], FItems[size_t(Index2)]);
  FItems[size_t(Index1)]->FIndex = Index1;
  FItems[size_t(Index2)]->FIndex = Index2;
}

void TBaseTreeNodeX::QuickSort(Integer Left, Integer Right, TSortOrderX Order, const TTreeNodeCompareX& Compare) {
  Integer i = Left;
  do {
    i = Left;
    Integer j = Right;
    TBaseTreeNodeX* pivot = FItems[size_t((Left + Right) / 2)];
    do {
      while (Compare(FItems[size_t(i)], pivot, Order) < 0) ++i;
      while (Compare(FItems[size_t(j)], pivot, Order) >= 1) --j;
      if (i <= j) {
        Exchange(i, j);
        ++i;
        --j;
      }
    } while (i <= j);
    if (Left < j) QuickSort(Left, j, Order, Compare);
    Left = i;
  } while (i < Right);
}

void TBaseTreeNodeX::SortData(TSortOrderX Order, bool Recursive, const TTreeNodeCompareX& Compare) {
  if (FItems.empty()) return;
  QuickSort(0, Count() - 1, Order, Compare);
  if (!AllChildrenVisible()) BuildVisibleItems();
  if (Recursive)
    for (TBaseTreeNodeX* child : FItems) child->SortData(Order, true, Compare);
}

bool TBaseTreeNodeX::CanChangeExpanded() { return !FOwner || FOwner->ExpandedChanging(this); }

void TBaseTreeNodeX::ClearItems() {
  FItems.clear();
  FVisibleItems.clear();
  FVisibleCount = 0;
}

void TBaseTreeNodeX::ChildVisibilityChanged(TBaseTreeNodeX*) { BuildVisibleItems(); }

void TBaseTreeNodeX::ExpandedChanged() {
  if (FOwner) FOwner->ExpandedChanged(this);
}

void TBaseTreeNodeX::VisibilityChanged() {
  if (FParent) FParent->ChildVisibilityChanged(this);
}

void TBaseTreeNodeX::BuildVisibleItems() {
  FVisibleItems.clear();
  for (TBaseTreeNodeX* child : FItems)
    if (child->FVisible) {
      child->FVisibleIndex = Integer(FVisibleItems.size());
      FVisibleItems.push_back(child);
    }
  FVisibleCount = Integer(FVisibleItems.size());
  if (!FItems.empty()) FHasChildren = VisibleItemsCount() > 0;
}
