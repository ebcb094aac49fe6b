#include "platform/rtl/Classes.h"
#include "platform/rtl/ScopeGuards.h"
#include <algorithm>

namespace {

[[noreturn]] void ListIndexError(Integer Index) {
  throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
}

}  // namespace

TCollectionItem::TCollectionItem(TCollection* Collection) {
  // Only joined here: the collection reports the change once the item is fully built (Add, Insert).
  if (Collection) Collection->InsertItem(this);
}

TCollectionItem::~TCollectionItem() { SetCollection(nullptr); }

void TCollectionItem::SetCollection(TCollection* Value) {
  if (FCollection == Value) return;
  if (TCollection* old = FCollection) {
    old->RemoveItem(this);
    old->Changed();
  }
  if (Value) {
    Value->InsertItem(this);
    Value->Changed();
  }
}

Integer TCollectionItem::Index() const {
  if (!FCollection) return -1;
  const auto& items = FCollection->FItems;
  return Integer(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::SetIndex(Integer Value) {
  const Integer current = Index();
  if (current < 0 || current == Value) return;
  auto& items = FCollection->FItems;
  if (Value < 0 || Value >= Integer(items.size())) ListIndexError(Value);
  items.erase(items.begin() + current);
  items.insert(items.begin() + Value, this);
  Changed(true);
}

String TCollectionItem::DisplayName() const { return ClassName(); }

void TCollectionItem::SetDisplayName(const String&) { Changed(false); }

TPersistent* TCollectionItem::GetOwner() const { return FCollection; }

void TCollectionItem::Changed(bool AllItems) {
  if (FCollection && FCollection->FUpdateCount == 0) FCollection->Update(AllItems ? nullptr : this);
}

// ---------------------------------------------------------------------------

TCollection::TCollection(TCollectionItemClass ItemClass) : FItemClass(std::move(ItemClass)) {}

TCollection::~TCollection() {
  // The derived collection is gone already: no change reports while the items go.
  FUpdateCount = 1;
  while (!FItems.empty()) delete FItems.back();
}

TCollectionItem* TCollection::Add() {
  TCollectionItem* item = FItemClass(this);
  if (item->FCollection != this) item->SetCollection(this);
  else Changed();
  return item;
}

TCollectionItem* TCollection::Insert(Integer Index) {
  if (Index < 0 || Index > Count()) ListIndexError(Index);
  TUpdateLock lock(this);
  TCollectionItem* item = Add();
  item->SetIndex(Index);
  return item;
}

void TCollection::Delete(Integer Index) { delete Items(Index); }

void TCollection::Clear() {
  if (FItems.empty()) return;
  BeginUpdate();
  while (!FItems.empty()) delete FItems.back();
  EndUpdate();
}

TCollectionItem* TCollection::Items(Integer Index) const {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
  return FItems[size_t(Index)];
}

void TCollection::SetItems(Integer Index, TCollectionItem* Value) { Items(Index)->Assign(Value); }

TCollectionItem* TCollection::FindItemID(Integer ID) const {
  auto it = std::find_if(FItems.begin(), FItems.end(), [ID](TCollectionItem* item) { return item->FID == ID; });
  return it == FItems.end() ? nullptr : *it;
}

void TCollection::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TCollection*>(Source);
  if (!source) {
    TPersistent::Assign(Source);
    return;
  }
  if (source == this) return;
  TUpdateLock lock(this);
  Clear();
  for (TCollectionItem* item : source->FItems) Add()->Assign(item);
}

void TCollection::BeginUpdate() { ++FUpdateCount; }

void TCollection::EndUpdate() {
  if (FUpdateCount == 0) return;
  --FUpdateCount;
  Changed();
}

void TCollection::Update(TCollectionItem*) {}

void TCollection::Changed() {
  if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::InsertItem(TCollectionItem* Item) {
  FItems.push_back(Item);
  Item->FCollection = this;
  Item->FID = FNextID++;
}

void TCollection::RemoveItem(TCollectionItem* Item) {
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  if (it != FItems.end()) FItems.erase(it);
  Item->FCollection = nullptr;
}
