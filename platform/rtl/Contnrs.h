#pragma once
// A list of objects that may own them.
#include "platform/rtl/Classes.h"

class TObjectList : public TList {
public:
  // An owning list deletes an object when it is deleted from the list, replaced, or the list goes.
  explicit TObjectList(bool AOwnsObjects = true) : FOwnsObjects(AOwnsObjects) {}
  ~TObjectList() override { Clear(); }

  TObject* Items(Integer Index) const { return static_cast<TObject*>(TList::Items(Index)); }
  void SetItems(Integer Index, TObject* AObject) { TList::SetItems(Index, AObject); }
  TObject* First() const { return static_cast<TObject*>(TList::First()); }
  TObject* Last() const { return static_cast<TObject*>(TList::Last()); }
  Integer Add(TObject* AObject) { return TList::Add(AObject); }
  void Insert(Integer Index, TObject* AObject) { TList::Insert(Index, AObject); }
  Integer Remove(TObject* AObject) { return TList::Remove(AObject); }
  TObject* Extract(TObject* AObject) { return static_cast<TObject*>(TList::Extract(AObject)); }
  Integer IndexOf(TObject* AObject) const { return TList::IndexOf(AObject); }

  bool OwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }
protected:
  void Notify(void* Ptr, TListNotification Action) override {
    if (Action == lnDeleted && FOwnsObjects) delete static_cast<TObject*>(Ptr);
  }
private:
  bool FOwnsObjects;
};
