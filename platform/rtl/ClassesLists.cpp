#include "platform/rtl/Classes.h"
#include <algorithm>

void TList::CheckIndex(Integer Index, Integer Limit) const {
  if (Index < 0 || Index >= Limit) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
}

void* TList::Items(Integer Index) const {
  CheckIndex(Index, Count());
  return FList[size_t(Index)];
}

void TList::SetItems(Integer Index, void* Item) {
  CheckIndex(Index, Count());
  void* old = FList[size_t(Index)];
  if (old == Item) return;
  FList[size_t(Index)] = Item;
  if (old) Notify(old, lnDeleted);
  if (Item) Notify(Item, lnAdded);
}

Integer TList::Add(void* Item) {
  FList.push_back(Item);
  if (Item) Notify(Item, lnAdded);
  return Count() - 1;
}

void TList::Insert(Integer Index, void* Item) {
  CheckIndex(Index, Count() + 1);
  FList.insert(FList.begin() + Index, Item);
  if (Item) Notify(Item, lnAdded);
}

void TList::Delete(Integer Index) {
  CheckIndex(Index, Count());
  void* item = FList[size_t(Index)];
  FList.erase(FList.begin() + Index);
  if (item) Notify(item, lnDeleted);
}

Integer TList::Remove(void* Item) {
  const Integer index = IndexOf(Item);
  if (index >= 0) Delete(index);
  return index;
}

void* TList::Extract(void* Item) {
  const Integer index = IndexOf(Item);
  if (index < 0) return nullptr;
  FList.erase(FList.begin() + index);
  Notify(Item, lnExtracted);
  return Item;
}

Integer TList::IndexOf(void* Item) const {
  auto it = std::find(FList.begin(), FList.end(), Item);
  return it == FList.end() ? -1 : Integer(it - FList.begin());
}

void TList::Exchange(Integer Index1, Integer Index2) {
  CheckIndex(Index1, Count());
  CheckIndex(Index2, Count());
  std::swap(FList[size_t(Index1)], FList[size_t(Index2)]);
}

void TList::Move(Integer CurIndex, Integer NewIndex) {
  if (CurIndex == NewIndex) return;
  CheckIndex(CurIndex, Count());
  CheckIndex(NewIndex, Count());
  void* item = FList[size_t(CurIndex)];
  FList.erase(FList.begin() + CurIndex);
  FList.insert(FList.begin() + NewIndex, item);
}

void TList::Sort(const TListSortCompare& Compare) {
  std::stable_sort(FList.begin(), FList.end(), [&](void* a, void* b) { return Compare(a, b) < 0; });
}

void TList::Clear() {
  // Taken out first so that Notify never sees a half-emptied list.
  std::vector<void*> items;
  items.swap(FList);
  for (void* item : items)
    if (item) Notify(item, lnDeleted);
}

void TList::Notify(void*, TListNotification) {}
