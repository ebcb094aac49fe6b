// The cursor, the data links' buffer window, bookmarks and searches.
//
// The window is a run of FRecordCount consecutive view positions starting at FFirst;
// the cursor is the window row FActiveRecord. Links keep their own first row inside the
// window; a link moves that row by the Info of scroll events, which counts how far the
// window itself slid (negative when it slid towards the end).
#include "platform/db/DB.h"
#include <algorithm>

void TDataSet::ClearWindow() {
  FFirst = 0;
  FRecordCount = 0;
  FActiveRecord = 0;
  FBof = true;
  FEof = true;
}

void TDataSet::FillWindowAround(Integer Position, Integer RowsAbove) {
  const Integer n = Integer(FView.size());
  Integer above = std::clamp(RowsAbove, 0, std::min(Position, FBufferCount - 1));
  const Integer below = std::min(FBufferCount - above - 1, n - Position - 1);
  above += std::min(FBufferCount - above - below - 1, Position - above);
  FFirst = Position - above;
  FRecordCount = above + 1 + below;
  FActiveRecord = above;
}

void TDataSet::Resync(Integer Position, bool Center) {
  if (FView.empty()) {
    ClearWindow();
  } else {
    const Integer p = std::clamp(Position, 0, Integer(FView.size()) - 1);
    FillWindowAround(p, Center ? (FBufferCount - 1) / 2 : FActiveRecord);
    FBof = false;
    FEof = false;
  }
  DataEvent(deDataSetChange, 0);
}

void TDataSet::RefreshWindow() {
  FCalcCache.clear();
  Resync(CursorPosition(), false);
}

void TDataSet::UpdateBufferCount() {
  Integer wanted = 1;
  for (TDataSource* source : FDataSources)
    for (TDataLink* link : source->FDataLinks) wanted = std::max(wanted, link->FBufferCount);
  SetBufferCount(wanted);
}

void TDataSet::SetBufferCount(Integer Value) {
  if (Value == FBufferCount) return;
  auto adjustLinks = [&](Integer delta) {
    if (delta == 0) return;
    for (TDataSource* source : FDataSources)
      for (TDataLink* link : source->FDataLinks)
        if (link->FActive) link->FFirstRecord = std::max(0, link->FFirstRecord + delta);
  };
  if (!Active()) {
    FBufferCount = Value;
    return;
  }
  if (Value < FBufferCount && FRecordCount > 0) {
    // Drop rows above the first row any link shows, then rows below, keeping the cursor.
    Integer delta = FActiveRecord;
    for (TDataSource* source : FDataSources)
      for (TDataLink* link : source->FDataLinks)
        if (link->FActive) delta = std::min(delta, link->FFirstRecord);
    delta = std::max(delta, FActiveRecord - Value + 1);
    FFirst += delta;
    FActiveRecord -= delta;
    FRecordCount = std::min(FRecordCount - delta, Value);
    adjustLinks(-delta);
  }
  FBufferCount = Value;
  const Integer n = Integer(FView.size());
  while (FRecordCount < FBufferCount && FFirst + FRecordCount < n) ++FRecordCount;
  Integer prior = 0;
  while (FRecordCount < FBufferCount && FFirst > 0) {
    --FFirst;
    ++FRecordCount;
    ++FActiveRecord;
    ++prior;
  }
  // Rows fetched above shift the old ones down; each link then takes as much of the
  // window as it can see while keeping the cursor in view.
  adjustLinks(prior);
  for (TDataSource* source : FDataSources)
    for (TDataLink* link : source->FDataLinks)
      if (link->FActive) link->KeepActiveInWindow(FRecordCount);
}

void TDataSet::First() {
  CheckBrowseMode();
  Fire(BeforeScroll);
  FFirst = 0;
  FActiveRecord = 0;
  FRecordCount = std::min<Integer>(FBufferCount, Integer(FView.size()));
  FBof = true;
  FEof = FView.empty();
  DataEvent(deDataSetChange, 0);
  Fire(AfterScroll);
}

void TDataSet::Last() {
  CheckBrowseMode();
  Fire(BeforeScroll);
  const Integer n = Integer(FView.size());
  FFirst = std::max(0, n - FBufferCount);
  FRecordCount = n - FFirst;
  FActiveRecord = std::max(0, FRecordCount - 1);
  FBof = n == 0;
  FEof = true;
  DataEvent(deDataSetChange, 0);
  Fire(AfterScroll);
}

Integer TDataSet::MoveBy(Integer Distance) {
  CheckBrowseMode();
  Integer moved = 0;
  Fire(BeforeScroll);
  if ((Distance > 0 && !FEof) || (Distance < 0 && !FBof)) {
    FBof = false;
    FEof = false;
    Integer slid = 0;
    const Integer n = Integer(FView.size());
    while (Distance > 0) {
      if (FActiveRecord < FRecordCount - 1) {
        ++FActiveRecord;
      } else if (FFirst + FRecordCount < n) {
        if (FRecordCount < FBufferCount) {
          ++FRecordCount;
        } else {
          ++FFirst;
          --slid;
        }
        FActiveRecord = FRecordCount - 1;
      } else {
        FEof = true;
        break;
      }
      --Distance;
      ++moved;
    }
    while (Distance < 0) {
      if (FActiveRecord > 0) {
        --FActiveRecord;
      } else if (FFirst > 0) {
        --FFirst;
        if (FRecordCount < FBufferCount) ++FRecordCount;
        ++slid;
        FActiveRecord = 0;
      } else {
        FBof = true;
        break;
      }
      ++Distance;
      --moved;
    }
    DataEvent(deDataSetScroll, slid);
    Fire(AfterScroll);
  }
  return moved;
}

bool TDataSet::IsEmpty() const { return FRecordCount == 0; }

Integer TDataSet::RecordCount() const { return Active() ? Integer(FView.size()) : 0; }

Integer TDataSet::RecNo() const {
  TRowId row = 0;
  if (!Active() || !ReadRow(row)) return -1;
  const Integer p = PositionOf(row);
  return p < 0 ? -1 : p + 1;
}

void TDataSet::SetRecNo(Integer Value) {
  CheckBrowseMode();
  if (FView.empty() || Value == RecNo()) return;
  Fire(BeforeScroll);
  Resync(std::clamp(Value, 1, Integer(FView.size())) - 1, true);
  Fire(AfterScroll);
}

Integer TDataSet::PositionOf(TRowId Row) const {
  if (!FPositionsValid) {
    FPositionOfRow.assign(FStore.RowSlots(), -1);
    for (size_t i = 0; i < FView.size(); ++i) FPositionOfRow[FView[i]] = int32_t(i);
    FPositionsValid = true;
  }
  return Row < FPositionOfRow.size() ? FPositionOfRow[Row] : -1;
}

// A row added or taken at the end moves no other row, so the position map
// stays valid with that one entry changed: appending row after row (an
// import) never rebuilds it. Elsewhere every later position moves and the map
// is rebuilt when next asked.
void TDataSet::RemoveFromView(Integer Position) {
  const TRowId row = FView[size_t(Position)];
  FView.erase(FView.begin() + Position);
  if (FPositionsValid && size_t(Position) == FView.size()) {
    if (row < FPositionOfRow.size()) FPositionOfRow[row] = -1;
  } else {
    FPositionsValid = false;
  }
}

void TDataSet::InsertIntoView(Integer Position, TRowId Row) {
  FView.insert(FView.begin() + Position, Row);
  if (FPositionsValid && size_t(Position) + 1 == FView.size()) {
    if (Row >= FPositionOfRow.size()) FPositionOfRow.resize(size_t(Row) + 1, -1);
    FPositionOfRow[Row] = int32_t(Position);
  } else {
    FPositionsValid = false;
  }
}

// ---------------------------------------------------------------------------------------
// Bookmarks: the open's generation and the row id, as three UTF-16 units.

TBookmarkStr TDataSet::Bookmark() const {
  TRowId row = 0;
  if (!Active() || !ReadRow(row)) return TBookmarkStr();
  TBookmarkStr mark(3, QChar());
  mark[0] = QChar(char16_t(FGeneration));
  mark[1] = QChar(char16_t(row & 0xFFFF));
  mark[2] = QChar(char16_t(row >> 16));
  return mark;
}

bool TDataSet::DecodeBookmark(const TBookmarkStr& Value, TRowId& Row) const {
  if (Value.size() != 3 || Value[0].unicode() != FGeneration) return false;
  Row = TRowId(Value[1].unicode()) | (TRowId(Value[2].unicode()) << 16);
  return Row < FStore.RowSlots();
}

bool TDataSet::BookmarkValid(const TBookmarkStr& Value) const {
  TRowId row = 0;
  return Active() && DecodeBookmark(Value, row) && PositionOf(row) >= 0;
}

void TDataSet::SetBookmark(const TBookmarkStr& Value) {
  CheckBrowseMode();
  TRowId row = 0;
  if (!DecodeBookmark(Value, row) || PositionOf(row) < 0) Error(QStringLiteral("Record not found"));
  Fire(BeforeScroll);
  Resync(PositionOf(row), true);
  Fire(AfterScroll);
}

Integer TDataSet::CompareBookmarks(const TBookmarkStr& A, const TBookmarkStr& B) const {
  TRowId a = 0, b = 0;
  const bool validA = DecodeBookmark(A, a), validB = DecodeBookmark(B, b);
  if (!validA || !validB) return validA == validB ? 0 : (validA ? 1 : -1);
  const Integer pa = PositionOf(a), pb = PositionOf(b);
  if (pa >= 0 && pb >= 0) return pa == pb ? 0 : (pa < pb ? -1 : 1);
  return a == b ? 0 : (a < b ? -1 : 1);
}

// ---------------------------------------------------------------------------------------
// Searches

namespace {

bool KeyMatches(const Variant& Value, const Variant& Key, TLocateOptions Options) {
  if (VarIsClear(Key) || VarIsClear(Value)) return VarIsClear(Key) && VarIsClear(Value);
  if (Value.VarType() == varString || Key.VarType() == varString) {
    const Qt::CaseSensitivity cs = Options.Contains(loCaseInsensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive;
    const String text = VarToStr(Value), key = VarToStr(Key);
    if (Options.Contains(loPartialKey)) return text.startsWith(key, cs);
    if (text.compare(key, cs) == 0) return true;
    if (Value.VarType() == varString && Key.VarType() == varString) return false;
  }
  return VarCompareValue(Value, Key) == vrEqual;
}

}  // namespace

std::optional<TRowId> TDataSet::FindRow(const std::vector<TField*>& Keys, const Variant& Values,
                                        TLocateOptions Options) const {
  if (Keys.empty()) return std::nullopt;
  const bool single = Keys.size() == 1;
  if (!single && (!Values.IsArray() || Values.ArrayLength() != int(Keys.size())))
    Error(QStringLiteral("Key values do not match the key fields"));
  for (TRowId row : FView) {
    bool all = true;
    for (size_t i = 0; i < Keys.size() && all; ++i) {
      const Variant& key = single ? (Values.IsArray() && Values.ArrayLength() == 1 ? Values[0] : Values) : Values[int(i)];
      all = KeyMatches(ValueAt(row, Keys[i]), key, Options);
    }
    if (all) return row;
  }
  return std::nullopt;
}

bool TDataSet::Locate(const String& KeyFields, const Variant& KeyValues, TLocateOptions Options) {
  CheckBrowseMode();
  std::vector<TField*> keys;
  GetFieldList(keys, KeyFields);
  const std::optional<TRowId> row = FindRow(keys, KeyValues, Options);
  if (!row) return false;
  Fire(BeforeScroll);
  Resync(PositionOf(*row), true);
  Fire(AfterScroll);
  return true;
}

Variant TDataSet::Lookup(const String& KeyFields, const Variant& KeyValues, const String& ResultFields) {
  CheckActive();
  std::vector<TField*> keys, results;
  GetFieldList(keys, KeyFields);
  GetFieldList(results, ResultFields);
  const std::optional<TRowId> row = FindRow(keys, KeyValues, TLocateOptions());
  if (!row) return Variant::Null();
  if (results.size() == 1) return ValueAt(*row, results[0]);
  std::vector<Variant> values;
  for (TField* f : results) values.push_back(ValueAt(*row, f));
  return Variant::Array(std::move(values));
}
