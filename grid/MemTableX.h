#pragma once
// What an in-memory data set may offer the grids: its records by 0-based index, reading a
// record without moving the cursor, a tree of records, moving records and telling a grid
// about changes of single records. Grids ask a data set for it with dynamic_cast.
#include "platform/rtl/Types.h"
#include <vector>

// The kinds of change a memory table reports for one record.
enum TMemTableChangeKindX {
  mtcRecordInsertedX,
  mtcRecordChangedX,
  mtcRecordDeletedX,
  mtcRecordMovedX,
  mtcDataResetX
};

// Implemented by a grid that wants record-level notices from a memory table.
class IMemTableChangeNotifyX {
public:
  virtual ~IMemTableChangeNotifyX() = default;
  // OldIndex is the record's former index for mtcRecordMovedX, else -1.
  virtual void MemTableRecordChanged(Integer RecordIndex, TMemTableChangeKindX Kind, Integer OldIndex) = 0;
};

// The tree data of one record, as a grid paints its tree lines.
struct TMemTableNodeInfoX {
  Integer Level = 0;                 // 1 for top nodes; 0 outside a tree
  bool HasChildren = false;
  bool Expanded = false;
  std::vector<bool> LevelHasNextSibling;  // element L - 1: whether the path's node at level L has a following sibling
};

class IMemTableX {
public:
  virtual ~IMemTableX() = default;

  // Records by index: the count, the current record's index (-1 without one) and its setter.
  virtual Integer MemRecordCount() = 0;
  virtual Integer CurrentRecordIndex() = 0;
  virtual void SetCurrentRecordIndex(Integer Index) = 0;
  // Between the two the data set's fields read the record at Index; the cursor stays.
  virtual void EnterRecord(Integer Index) = 0;
  virtual void LeaveRecord() = 0;

  // Tree view of the records.
  virtual bool TreeViewActive() = 0;
  virtual TMemTableNodeInfoX RecordNodeInfo(Integer Index) = 0;
  // Expands or collapses the node of the record at Index; answers the index of the record the
  // data set should move to, -1 for none.
  virtual Integer SetNodeExpanded(Integer Index, bool Expanded) = 0;
  // Rebuilds the data set's view after a change of its tree.
  virtual void RefreshTreeView() = 0;

  // Moves the records at Indexes to sit before the record at Destination (after the last
  // record when Destination is the record count), at tree level Level (0 outside a tree);
  // answers whether anything moved.
  virtual bool MoveRecords(const std::vector<Integer>& Indexes, Integer Destination, Integer Level) = 0;

  // A grid that starts or stops using the data set.
  virtual void RegisterGrid(IMemTableChangeNotifyX* Grid) = 0;
  virtual void UnregisterGrid(IMemTableChangeNotifyX* Grid) = 0;
};
