#include "grid/BMListX.h"
#include "grid/LibraryRoutinesX.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/ScopeGuards.h"

TBMListX::TBMListX() : FItems(std::make_unique<TStringList>()) {
  FItems->OnChange = [this](TObject*) { ListChanged(); };
}

TBMListX::~TBMListX() {
  // Virtual calls from here reach only this class's bodies; subclasses clean up themselves.
  FItems->OnChange = nullptr;
}

void TBMListX::RaiseListError(const String& Message) const { throw Exception(Message); }

void TBMListX::ListChanged() {
  FCachedBookmark.clear();
  FCachedIndex = -1;
}

TBookmarkStr TBMListX::CurrentBookmark() const {
  if (!FDataSetOpen) RaiseListError(QStringLiteral("Cannot perform this operation on a closed dataset"));
  return GetDataSet()->Bookmark();
}

Integer TBMListX::CompareItems(const TBookmarkStr& A, const TBookmarkStr& B) const {
  return CompareBookmarkStrs(GetDataSet(), A, B);
}

bool TBMListX::SearchBookmark(const TBookmarkStr& Bookmark, Integer& Index) {
  // Inside an update the list changes without ListChanged, so the last answer may be stale.
  if (FCachedIndex >= 0 && Bookmark == FCachedBookmark && FItems->UpdateCount() == 0) {
    Index = FCachedIndex;
    return FCachedFound;
  }
  bool Found = false;
  Integer Low = 0, High = GetCount() - 1;
  while (Low <= High) {
    const Integer Mid = Integer((unsigned(Low) + unsigned(High)) >> 1);
    const Integer C = CompareItems(GetBookmark(Mid), Bookmark);
    if (C < 0) {
      Low = Mid + 1;
    } else {
      High = Mid - 1;
      if (C == 0) {
        Found = true;
        Low = Mid;
      }
    }
  }
  Index = Low;
  FCachedBookmark = Bookmark;
  FCachedIndex = Low;
  FCachedFound = Found;
  return Found;
}

Integer TBMListX::IndexOfBookmark(const TBookmarkStr& Bookmark) {
  Integer Index = -1;
  return SearchBookmark(Bookmark, Index) ? Index : -1;
}

void TBMListX::MarkCurrentRow(bool Select) {
  const TBookmarkStr Current = CurrentBookmark();
  Integer Index = 0;
  if (SearchBookmark(Current, Index) == Select) return;
  if (Select) InsertBookmark(Index, Current);
  else RemoveAt(Index);
}

bool TBMListX::IsCurrentRowSelected() {
  Integer Index = 0;
  return SearchBookmark(CurrentBookmark(), Index);
}

void TBMListX::ClearBookmarks() {
  if (GetCount() == 0) return;
  FItems->Clear();
  SelectionChanged();
  RefreshView();
}

void TBMListX::SetDataSetOpen(bool Open) {
  ClearBookmarks();
  SelectionChanged();
  FDataSetOpen = Open;
}

void TBMListX::DeleteRecords() {
  TDataSet* DataSet = GetDataSet();
  {
    TDisableControlsLock controlsLock(DataSet);
    for (Integer I = GetCount() - 1; I >= 0; --I) {
      DataSet->SetBookmark(GetBookmark(I));
      DataSet->Delete();
      RemoveAt(I);
    }
  }
  SelectionChanged();
}

void TBMListX::SortItems(void* Context, TBMListCompareX Compare) {
  if (GetCount() < 2) return;
  TUpdateLock lock(FItems.get());
  QuickSort(0, GetCount() - 1, Context, Compare);
}

// The comparison works on indexes, so the pivot is followed by index through exchanges.
void TBMListX::QuickSort(Integer L, Integer R, void* Context, TBMListCompareX Compare) {
  Integer I;
  do {
    I = L;
    Integer J = R;
    Integer P = (L + R) >> 1;
    do {
      while (Compare(this, Context, I, P) < 0) ++I;
      while (Compare(this, Context, J, P) > 0) --J;
      if (I <= J) {
        if (I != J) FItems->Exchange(I, J);
        if (P == I) P = J;
        else if (P == J) P = I;
        ++I;
        --J;
      }
    } while (I <= J);
    if (L < J) QuickSort(L, J, Context, Compare);
    L = I;
  } while (I < R);
}
