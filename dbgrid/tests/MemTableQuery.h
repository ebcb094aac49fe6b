#pragma once
// A SQLite query that offers the memory-table interface, as the grids' grouping and tree view
// expect of an in-memory data set: a record's index is its position in the query's view;
// with ParentFieldName set, the records form a tree through that column (the KeyFieldName
// value of the parent record, Null for top records).
#include "grid/MemTableX.h"
#include "platform/db/ADODB.h"
#include <algorithm>
#include <map>
#include <vector>

namespace dbgridtest {

class TMemTableQuery : public TADOQuery, public IMemTableX {
public:
  explicit TMemTableQuery(TComponent* AOwner = nullptr) : TADOQuery(AOwner) {}
  // Closed here, while the interface is still whole, so that grids can let go of it (unless a
  // test frees it the careless way).
  ~TMemTableQuery() override {
    if (CloseOnDestroy) Close();
  }
  bool CloseOnDestroy = true;

  String KeyFieldName = QStringLiteral("id");
  String ParentFieldName;
  bool TreeView = false;
  std::vector<IMemTableChangeNotifyX*> Grids;

  // Tells every registered grid about a change of the record at Index.
  void Notify(Integer Index, TMemTableChangeKindX Kind, Integer OldIndex = -1) {
    for (IMemTableChangeNotifyX* grid : std::vector<IMemTableChangeNotifyX*>(Grids))
      grid->MemTableRecordChanged(Index, Kind, OldIndex);
  }

  Integer MemRecordCount() override { return Active() ? RecordCount() : 0; }
  Integer CurrentRecordIndex() override { return Active() && !IsEmpty() ? RecNo() - 1 : -1; }
  void SetCurrentRecordIndex(Integer Index) override { SetRecNo(Index + 1); }
  void EnterRecord(Integer Index) override { BeginReadAt(Index); }
  void LeaveRecord() override { EndReadAt(); }

  bool TreeViewActive() override { return TreeView && !ParentFieldName.isEmpty(); }

  TMemTableNodeInfoX RecordNodeInfo(Integer Index) override {
    TMemTableNodeInfoX info;
    if (Index < 0 || Index >= MemRecordCount()) return info;
    const std::vector<Variant> path = PathOf(Key(Index));
    info.Level = Integer(path.size());
    for (size_t i = 0; i < path.size(); ++i) info.LevelHasNextSibling.push_back(HasNextSibling(path[i]));
    info.HasChildren = !Children(Key(Index)).empty();
    info.Expanded = FExpanded[KeyText(Key(Index))];
    return info;
  }

  Integer SetNodeExpanded(Integer Index, bool Expanded) override {
    if (Index < 0 || Index >= MemRecordCount()) return -1;
    FExpanded[KeyText(Key(Index))] = Expanded;
    return Index;
  }

  void RefreshTreeView() override { ++TreeRefreshes; }
  Integer TreeRefreshes = 0;

  bool MoveRecords(const std::vector<Integer>&, Integer, Integer) override { return false; }

  void RegisterGrid(IMemTableChangeNotifyX* Grid) override { Grids.push_back(Grid); }
  void UnregisterGrid(IMemTableChangeNotifyX* Grid) override {
    Grids.erase(std::remove(Grids.begin(), Grids.end(), Grid), Grids.end());
  }

private:
  Variant ReadAt(Integer Index, const String& FieldName) {
    BeginReadAt(Index);
    const Variant value = FieldByName(FieldName)->Value();
    EndReadAt();
    return value;
  }
  Variant Key(Integer Index) { return ReadAt(Index, KeyFieldName); }
  static String KeyText(const Variant& Key) { return VarToStr(Key); }
  // Record indexes whose parent is ParentKey, in view order.
  std::vector<Integer> Children(const Variant& ParentKey) {
    std::vector<Integer> result;
    for (Integer i = 0; i < MemRecordCount(); ++i) {
      const Variant parent = ReadAt(i, ParentFieldName);
      if ((ParentKey.IsNull() && parent.IsNull()) || (!parent.IsNull() && KeyText(parent) == KeyText(ParentKey)))
        result.push_back(i);
    }
    return result;
  }
  Variant ParentOf(const Variant& Key) {
    for (Integer i = 0; i < MemRecordCount(); ++i)
      if (KeyText(ReadAt(i, KeyFieldName)) == KeyText(Key)) return ReadAt(i, ParentFieldName);
    return Variant::Null();
  }
  // The keys from the top record down to Key.
  std::vector<Variant> PathOf(const Variant& Key) {
    std::vector<Variant> path{Key};
    for (Variant parent = ParentOf(Key); !parent.IsNull() && path.size() < 100; parent = ParentOf(parent))
      path.insert(path.begin(), parent);
    return path;
  }
  bool HasNextSibling(const Variant& Key) {
    const std::vector<Integer> siblings = Children(ParentOf(Key));
    return !siblings.empty() && KeyText(this->Key(siblings.back())) != KeyText(Key);
  }

  std::map<String, bool> FExpanded;
};

}  // namespace dbgridtest
