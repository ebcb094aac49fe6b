#include "zip/SortedObjectList.h"

bool TSortedObjectList::Find(TObject* Key, Integer& Index) const {
  Integer low = 0, high = Count() - 1;
  bool found = false;
  while (low <= high) {
    const Integer mid = (low + high) / 2;
    const Integer c = Compare(Items(mid), Key);
    if (c < 0) {
      low = mid + 1;
    } else {
      high = mid - 1;
      if (c == 0) {
        found = true;
        if (FDuplicates != dupAccept) low = mid;
      }
    }
  }
  Index = low;
  return found;
}

bool TSortedObjectList::Add(TObject* AObject) {
  Integer index;
  if (Find(AObject, index)) {
    if (FDuplicates == dupIgnore) return false;
    if (FDuplicates == dupError) throw EListError(QStringLiteral("Duplicate Object index"));
  }
  TObjectList::Insert(index, AObject);
  return true;
}

Integer TSortedObjectList::IndexOf(TObject* AObject) const {
  Integer index;
  return Find(AObject, index) ? index : -1;
}
