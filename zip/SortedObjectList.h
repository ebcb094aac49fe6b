#pragma once
// An object list kept in the order of its Compare, with a policy for equal items.
#include "platform/rtl/Contnrs.h"

class TSortedObjectList : public TObjectList {
public:
  TSortedObjectList(bool AOwnsObjects, TDuplicates ADuplicates) : TObjectList(AOwnsObjects), FDuplicates(ADuplicates) {}
  TDuplicates Duplicates() const { return FDuplicates; }

  // Binary search. Found: Index is the equal item (with dupAccept the first
  // of the equal items); else where Key would go.
  bool Find(TObject* Key, Integer& Index) const;
  // Puts AObject in its place. An equal item makes dupIgnore drop it (the
  // caller keeps it), dupError raise EListError "Duplicate Object index",
  // dupAccept insert it before the equal items. Returns whether it went in.
  bool Add(TObject* AObject);
  // Index of an item equal to AObject, or -1.
  Integer IndexOf(TObject* AObject) const;

protected:
  // Negative when Item1 goes before Item2.
  virtual Integer Compare(TObject* Item1, TObject* Item2) const = 0;

private:
  TDuplicates FDuplicates;
};
