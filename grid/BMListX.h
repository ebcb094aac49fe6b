#pragma once
// An ordered list of data-set bookmarks. Entries added through MarkCurrentRow stay in the
// data set's own order without duplicates, so searches are binary; the grid keeps its
// selected rows in one and the footer sums their record order.
#include "platform/db/DB.h"
#include <memory>

class TBMListX : public TObject {
public:
  TBMListX();
  ~TBMListX() override;
  TBMListX(const TBMListX&) = delete;
  TBMListX& operator=(const TBMListX&) = delete;

  virtual TDataSet* GetDataSet() const { return nullptr; }
  // The list was emptied: subclasses repaint.
  virtual void RefreshView() {}
  [[noreturn]] virtual void RaiseListError(const String& Message) const;
  // Selects or deselects the data set's current record.
  virtual void MarkCurrentRow(bool Select);
  virtual void ListChanged();
  // After clearing, deleting the listed records, opening or closing.
  virtual void SelectionChanged() {}
  virtual void ClearBookmarks();
  // Compare gets the list, the caller's Context and two entry indexes.
  using TBMListCompareX = Integer (*)(TBMListX* List, void* Context, Integer Index1, Integer Index2);
  virtual void SortItems(void* Context, TBMListCompareX Compare);

  Integer GetCount() const { return FItems->Count(); }
  String GetBookmark(Integer Index) const { return FItems->Strings(Index); }
  Integer IndexOfBookmark(const TBookmarkStr& Bookmark);
  // Found flag; Index is where the bookmark is or would be inserted.
  bool SearchBookmark(const TBookmarkStr& Bookmark, Integer& Index);
  bool IsCurrentRowSelected();
  TBookmarkStr CurrentBookmark() const;
  Integer CompareItems(const TBookmarkStr& A, const TBookmarkStr& B) const;
  // These bypass the ordering: the caller keeps the data-set order.
  void InsertBookmark(Integer Index, const TBookmarkStr& Bookmark) { FItems->Insert(Index, Bookmark); }
  void RemoveAt(Integer Index) { FItems->Delete(Index); }
  void AppendBookmark(const TBookmarkStr& Bookmark) { FItems->Add(Bookmark); }
  // Changes inside an update bracket reach ListChanged once, at the outermost EndUpdate.
  void BeginUpdate() { FItems->BeginUpdate(); }
  void EndUpdate() { FItems->EndUpdate(); }
  // Deletes every listed record from the data set, last first.
  void DeleteRecords();
  void SetDataSetOpen(bool Open);
  bool DataSetOpen() const { return FDataSetOpen; }

private:
  void QuickSort(Integer L, Integer R, void* Context, TBMListCompareX Compare);
  TBookmarkStr FCachedBookmark;
  bool FCachedFound = false;
  Integer FCachedIndex = -1;
  bool FDataSetOpen = false;
  std::unique_ptr<TStringList> FItems;
};
