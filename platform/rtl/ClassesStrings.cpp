#include "platform/rtl/Classes.h"
#include "platform/rtl/Encodings.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/ScopeGuards.h"
#include <algorithm>
#include <numeric>

namespace {

// Reads a quoted item starting at Pos (on the opening quote): doubled quotes stand
// for one, the item ends at a single quote or at the end of the text.
String ExtractQuoted(const String& Text, qsizetype& Pos, QChar Quote) {
  String result;
  ++Pos;
  while (Pos < Text.size()) {
    if (Text[Pos] == Quote) {
      if (Pos + 1 < Text.size() && Text[Pos + 1] == Quote) {
        result += Quote;
        Pos += 2;
        continue;
      }
      ++Pos;
      break;
    }
    result += Text[Pos++];
  }
  return result;
}

String Quoted(const String& S, QChar Quote) {
  String doubled = S;
  doubled.replace(Quote, String(2, Quote));
  return Quote + doubled + Quote;
}

bool IsBlank(QChar C) { return C.unicode() >= 1 && C.unicode() <= u' '; }

}  // namespace

void TStrings::IndexError(Integer Index) {
  throw EStringListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
}

Integer TStrings::Add(const String& S) { return AddObject(S, nullptr); }

Integer TStrings::AddObject(const String& S, TObject* AObject) {
  const Integer index = Count();
  InsertObject(index, S, AObject);
  return index;
}

void TStrings::AddStrings(TStrings* Strings) {
  TUpdateLock lock(this);
  for (Integer i = 0; i < Strings->Count(); ++i) AddObject(Strings->Get(i), Strings->GetObject(i));
}

void TStrings::InsertObject(Integer Index, const String& S, TObject* AObject) {
  Insert(Index, S);
  PutObject(Index, AObject);
}

void TStrings::Put(Integer Index, const String& S) {
  TObject* object = GetObject(Index);
  Delete(Index);
  InsertObject(Index, S, object);
}

TObject* TStrings::GetObject(Integer) const { return nullptr; }

void TStrings::PutObject(Integer, TObject*) {}

void TStrings::Move(Integer CurIndex, Integer NewIndex) {
  if (CurIndex == NewIndex) return;
  TUpdateLock lock(this);
  const String s = Get(CurIndex);
  TObject* object = GetObject(CurIndex);
  PutObject(CurIndex, nullptr);
  Delete(CurIndex);
  InsertObject(NewIndex, s, object);
}

void TStrings::Exchange(Integer Index1, Integer Index2) {
  TUpdateLock lock(this);
  const String s1 = Get(Index1), s2 = Get(Index2);
  TObject* o1 = GetObject(Index1);
  TObject* o2 = GetObject(Index2);
  Put(Index1, s2);
  Put(Index2, s1);
  PutObject(Index1, o2);
  PutObject(Index2, o1);
}

Integer TStrings::IndexOf(const String& S) const {
  for (Integer i = 0; i < Count(); ++i)
    if (CompareStrings(Get(i), S) == 0) return i;
  return -1;
}

Integer TStrings::IndexOfName(const String& Name) const {
  for (Integer i = 0; i < Count(); ++i) {
    const String s = Get(i);
    const qsizetype p = s.indexOf(FNameValueSeparator);
    if (p >= 0 && CompareStrings(s.left(p), Name) == 0) return i;
  }
  return -1;
}

Integer TStrings::IndexOfObject(TObject* AObject) const {
  for (Integer i = 0; i < Count(); ++i)
    if (GetObject(i) == AObject) return i;
  return -1;
}

void TStrings::Assign(TPersistent* Source) {
  if (auto* source = dynamic_cast<TStrings*>(Source)) {
    if (source == this) return;
    TUpdateLock lock(this);
    Clear();
    FDelimiter = source->FDelimiter;
    FQuoteChar = source->FQuoteChar;
    FNameValueSeparator = source->FNameValueSeparator;
    FStrictDelimiter = source->FStrictDelimiter;
    AddStrings(source);
    return;
  }
  TPersistent::Assign(Source);
}

String TStrings::Names(Integer Index) const {
  const String s = Get(Index);
  const qsizetype p = s.indexOf(FNameValueSeparator);
  return p >= 0 ? s.left(p) : String();
}

String TStrings::Values(const String& Name) const {
  const Integer index = IndexOfName(Name);
  return index >= 0 ? ValueFromIndex(index) : String();
}

void TStrings::SetValues(const String& Name, const String& Value) {
  const Integer index = IndexOfName(Name);
  if (Value.isEmpty()) {
    if (index >= 0) Delete(index);
  } else if (index >= 0) {
    Put(index, Name + FNameValueSeparator + Value);
  } else {
    Add(Name + FNameValueSeparator + Value);
  }
}

String TStrings::ValueFromIndex(Integer Index) const {
  const String s = Get(Index);
  const qsizetype p = s.indexOf(FNameValueSeparator);
  return p >= 0 ? s.mid(p + 1) : String();
}

void TStrings::SetValueFromIndex(Integer Index, const String& Value) {
  if (Value.isEmpty()) {
    if (Index >= 0) Delete(Index);
    return;
  }
  if (Index < 0) Add(FNameValueSeparator + Value);
  else Put(Index, Names(Index) + FNameValueSeparator + Value);
}

String TStrings::GetTextStr() const {
  String result;
  for (Integer i = 0; i < Count(); ++i) {
    result += Get(i);
    result += QStringLiteral("\r\n");
  }
  return result;
}

void TStrings::SetTextStr(const String& Value) {
  TUpdateLock lock(this);
  Clear();
  qsizetype start = 0;
  const qsizetype n = Value.size();
  while (start < n) {
    qsizetype end = start;
    while (end < n && Value[end] != u'\r' && Value[end] != u'\n') ++end;
    Add(Value.mid(start, end - start));
    if (end < n && Value[end] == u'\r') ++end;
    if (end < n && Value[end] == u'\n') ++end;
    start = end;
  }
}

String TStrings::CommaText() const { return DelimitedTextWith(u',', u'"'); }

void TStrings::SetCommaText(const String& Value) { SetDelimitedTextWith(Value, u',', u'"'); }

String TStrings::DelimitedText() const { return DelimitedTextWith(FDelimiter, FQuoteChar); }

void TStrings::SetDelimitedText(const String& Value) { SetDelimitedTextWith(Value, FDelimiter, FQuoteChar); }

String TStrings::DelimitedTextWith(QChar Delim, QChar Quote) const {
  if (Count() == 1 && Get(0).isEmpty()) return String(2, Quote);
  String result;
  for (Integer i = 0; i < Count(); ++i) {
    const String s = Get(i);
    const bool needsQuotes = std::any_of(s.begin(), s.end(), [&](QChar c) {
      return c == Quote || c == Delim || c.unicode() == 0 || (!FStrictDelimiter && c.unicode() <= u' ');
    });
    if (i > 0) result += Delim;
    result += needsQuotes ? Quoted(s, Quote) : s;
  }
  return result;
}

void TStrings::SetDelimitedTextWith(const String& Value, QChar Delim, QChar Quote) {
  TUpdateLock lock(this);
  Clear();
  const qsizetype n = Value.size();
  qsizetype p = 0;
  auto skipBlanks = [&] {
    if (!FStrictDelimiter)
      while (p < n && IsBlank(Value[p])) ++p;
  };
  skipBlanks();
  while (p < n) {
    if (Value[p] == Quote) {
      Add(ExtractQuoted(Value, p, Quote));
    } else {
      const qsizetype start = p;
      while (p < n && Value[p] != Delim && (FStrictDelimiter || Value[p].unicode() > u' ')) ++p;
      Add(Value.mid(start, p - start));
    }
    skipBlanks();
    if (p < n && Value[p] == Delim) {
      if (p + 1 == n) Add(String());
      ++p;
      skipBlanks();
    }
  }
}

void TStrings::BeginUpdate() {
  if (FUpdateCount == 0) SetUpdateState(true);
  ++FUpdateCount;
}

void TStrings::EndUpdate() {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::SetUpdateState(bool) {}

Integer TStrings::CompareStrings(const String& S1, const String& S2) const { return AnsiCompareText(S1, S2); }

void TStrings::LoadFromFile(const String& FileName) {
  TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&stream);
}

void TStrings::LoadFromStream(TStream* Stream) { SetTextStr(DecodeLegacyText(Stream->ReadRest())); }

void TStrings::SaveToFile(const String& FileName) { AtomicWriteFile(FileName, Text().toUtf8()); }

void TStrings::SaveToStream(TStream* Stream) { Stream->WriteBuffer(Text().toUtf8()); }

// ---------------------------------------------------------------------------

TStringList::~TStringList() {
  OnChange = nullptr;
  OnChanging = nullptr;
  if (FOwnsObjects)
    for (TStringItem& item : FList) delete item.FObject;
}

void TStringList::CheckIndex(Integer Index, Integer Limit) const {
  if (Index < 0 || Index >= Limit) IndexError(Index);
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::SetUpdateState(bool Updating) {
  if (Updating) {
    if (OnChanging) OnChanging(this);
  } else if (OnChange) {
    OnChange(this);
  }
}

String TStringList::Get(Integer Index) const {
  CheckIndex(Index, Count());
  return FList[size_t(Index)].FString;
}

TObject* TStringList::GetObject(Integer Index) const {
  CheckIndex(Index, Count());
  return FList[size_t(Index)].FObject;
}

void TStringList::Put(Integer Index, const String& S) {
  if (FSorted) throw EStringListError(QStringLiteral("Operation not allowed on sorted list"));
  CheckIndex(Index, Count());
  Changing();
  FList[size_t(Index)].FString = S;
  Changed();
}

void TStringList::PutObject(Integer Index, TObject* AObject) {
  CheckIndex(Index, Count());
  Changing();
  FList[size_t(Index)].FObject = AObject;
  Changed();
}

Integer TStringList::AddObject(const String& S, TObject* AObject) {
  Integer index = Count();
  if (FSorted && Find(S, index)) {
    if (FDuplicates == dupIgnore) return index;
    if (FDuplicates == dupError) throw EStringListError(QStringLiteral("String list does not allow duplicates"));
  }
  InsertItem(index, S, AObject);
  return index;
}

void TStringList::Insert(Integer Index, const String& S) { InsertObject(Index, S, nullptr); }

void TStringList::InsertObject(Integer Index, const String& S, TObject* AObject) {
  if (FSorted) throw EStringListError(QStringLiteral("Operation not allowed on sorted list"));
  CheckIndex(Index, Count() + 1);
  InsertItem(Index, S, AObject);
}

void TStringList::InsertItem(Integer Index, const String& S, TObject* AObject) {
  Changing();
  FList.insert(FList.begin() + Index, TStringItem{S, AObject});
  Changed();
}

void TStringList::Delete(Integer Index) {
  CheckIndex(Index, Count());
  Changing();
  TObject* object = FList[size_t(Index)].FObject;
  FList.erase(FList.begin() + Index);
  if (FOwnsObjects) delete object;
  Changed();
}

void TStringList::Clear() {
  if (FList.empty()) return;
  Changing();
  std::vector<TStringItem> items;
  items.swap(FList);
  if (FOwnsObjects)
    for (TStringItem& item : items) delete item.FObject;
  Changed();
}

void TStringList::Move(Integer CurIndex, Integer NewIndex) {
  // Refused up front: removing first and failing the re-insert would lose the item.
  if (FSorted) throw EStringListError(QStringLiteral("Operation not allowed on sorted list"));
  if (CurIndex == NewIndex) return;
  CheckIndex(CurIndex, Count());
  CheckIndex(NewIndex, Count());
  Changing();
  TStringItem item = std::move(FList[size_t(CurIndex)]);
  FList.erase(FList.begin() + CurIndex);
  FList.insert(FList.begin() + NewIndex, std::move(item));
  Changed();
}

void TStringList::Exchange(Integer Index1, Integer Index2) {
  CheckIndex(Index1, Count());
  CheckIndex(Index2, Count());
  Changing();
  std::swap(FList[size_t(Index1)], FList[size_t(Index2)]);
  Changed();
}

Integer TStringList::IndexOf(const String& S) const {
  if (!FSorted) return TStrings::IndexOf(S);
  Integer index = -1;
  return Find(S, index) ? index : -1;
}

bool TStringList::Find(const String& S, Integer& Index) const {
  // Lower bound, so that with duplicates the first equal string is found.
  Integer low = 0, high = Count() - 1;
  bool found = false;
  while (low <= high) {
    const Integer mid = (low + high) / 2;
    const Integer c = CompareStrings(FList[size_t(mid)].FString, S);
    if (c < 0) {
      low = mid + 1;
    } else {
      high = mid - 1;
      if (c == 0) found = true;
    }
  }
  Index = low;
  return found;
}

void TStringList::Sort() {
  CustomSort([](TStringList* list, Integer a, Integer b) {
    return list->CompareStrings(list->FList[size_t(a)].FString, list->FList[size_t(b)].FString);
  });
}

void TStringList::CustomSort(const TStringListSortCompare& Compare) {
  if (Count() < 2) return;
  Changing();
  // Sort a permutation first: Compare reads the list by index, which must not move meanwhile.
  std::vector<Integer> order(FList.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](Integer a, Integer b) { return Compare(this, a, b) < 0; });
  std::vector<TStringItem> sorted;
  sorted.reserve(FList.size());
  for (Integer i : order) sorted.push_back(std::move(FList[size_t(i)]));
  FList.swap(sorted);
  Changed();
}

void TStringList::SetSorted(bool Value) {
  if (FSorted == Value) return;
  if (Value) Sort();
  FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
  if (FCaseSensitive == Value) return;
  FCaseSensitive = Value;
  if (FSorted) Sort();
}

Integer TStringList::CompareStrings(const String& S1, const String& S2) const {
  return FCaseSensitive ? AnsiCompareStr(S1, S2) : AnsiCompareText(S1, S2);
}
