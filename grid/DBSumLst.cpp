#include "grid/DBSumLst.h"
#include "grid/LibraryRoutinesX.h"
#include "platform/rtl/ScopeGuards.h"
#include "platform/rtl/SysUtils.h"
#include <cmath>

namespace {
constexpr Int64 FixedOne = 10000;

[[noreturn]] void FixedOverflow() { throw EOverflow(QStringLiteral("Footer value out of range")); }

Int64 CheckedAdd(Int64 A, Int64 B) {
  Int64 R = 0;
  if (__builtin_add_overflow(A, B, &R)) FixedOverflow();
  return R;
}

Int64 CheckedSub(Int64 A, Int64 B) {
  Int64 R = 0;
  if (__builtin_sub_overflow(A, B, &R)) FixedOverflow();
  return R;
}

// Total / Count to the nearest integer, halves to the even neighbour.
Int64 DivideRounded(Int64 Total, Integer Count) {
  if (Count == 0) return 0;
  Int64 Q = Total / Count;
  const Int64 R = Total % Count;
  const Int64 TwiceR = 2 * (R < 0 ? -R : R);
  const bool Negative = (Total < 0) != (Count < 0);
  if (TwiceR > Count || (TwiceR == Count && (Q % 2) != 0)) Q += Negative ? -1 : 1;
  return Q;
}

Int64 RealToFixed(double Value) {
  const double Scaled = std::nearbyint(Value * double(FixedOne));
  // 2^63 is exactly representable; anything at or beyond it (or NaN) does not fit.
  if (!(Scaled >= -9223372036854775808.0 && Scaled < 9223372036854775808.0)) FixedOverflow();
  return Int64(Scaled);
}

// A count without a field counts records; with one, records whose field has a value.
bool CountsRecord(const TField* Field) { return !Field || !Field->IsNull(); }
}  // namespace

Int64 FieldValueToFixed(const TField* Field) {
  const Variant V = Field->Value();
  switch (V.VarType()) {
    case varEmpty:
    case varNull: return 0;
    case varCurrency: return V.AsCurrency().Scaled();
    case varSmallint:
    case varInteger:
    case varInt64:
    case varBoolean: {
      Int64 R = 0;
      if (__builtin_mul_overflow(V.AsInt64(), FixedOne, &R)) FixedOverflow();
      return R;
    }
    case varString: {
      // A text that reads as a number counts with that number; any other text counts 0,
      // so one stray value cannot break every recalculation of the footers.
      double Real = 0;
      return TryStrToFloat(V.AsString(), Real) ? RealToFixed(Real) : 0;
    }
    default:
      return RealToFixed(V.AsDouble());
  }
}

// ---- TDBSum

void TDBSum::Assign(TPersistent* Source) {
  if (auto* Other = dynamic_cast<TDBSum*>(Source)) {
    SetGroupOperation(Other->FGroupOperation);
    SetFieldName(Other->FFieldName);
    PreEditValue = Other->PreEditValue;
    AggregateValue = Other->AggregateValue;
    return;
  }
  TCollectionItem::Assign(Source);
}

void TDBSum::SetFieldName(const String& Value) {
  if (Value == FFieldName) return;
  FFieldName = Value;
  Changed(false);
}

void TDBSum::SetGroupOperation(TGroupOperation Value) {
  if (Value == FGroupOperation) return;
  FGroupOperation = Value;
  Changed(false);
}

// ---- TDBSumCollection

TDBSumCollection::TDBSumCollection(TDBSumListProducer* Producer)
    : TCollection(ItemClassOf<TDBSum>()), FProducer(Producer) {}

TPersistent* TDBSumCollection::GetOwner() const { return FProducer; }

void TDBSumCollection::Update(TCollectionItem*) { FProducer->RequestRecalc(); }

TDBSum* TDBSumCollection::FindSum(TGroupOperation Operation, const String& FieldName) const {
  for (Integer I = 0; I < Count(); ++I) {
    TDBSum* Sum = Items(I);
    if (Sum->GroupOperation() == Operation && AnsiCompareText(Sum->FieldName(), FieldName) == 0) return Sum;
  }
  return nullptr;
}

TDataSet* TSLBookmarkListX::GetDataSet() const { return FProducer->DataSet(); }

// ---- TDBSumListProducer

TDBSumListProducer::TDBSumListProducer(TComponent* AOwner)
    : FOwner(AOwner),
      FSumCollection(std::make_unique<TDBSumCollection>(this)),
      FVirtualRecList(std::make_unique<TSLBookmarkListX>(this)) {}

TDBSumListProducer::~TDBSumListProducer() {
  DeactivateSumList(false);
  // The collection's own teardown must not ask for a recalculation.
  FActive = false;
}

bool TDBSumListProducer::Blocked() const {
  if (!FOwner) return false;
  const TComponentState& State = FOwner->ComponentState();
  return State.Contains(csLoading) || (State.Contains(csDesigning) && !FDesignTimeWork);
}

bool TDBSumListProducer::VirtualMode() const { return FDataSet && !FDataSet->IsSequenced() && FVirtualRecords; }

void TDBSumListProducer::Assign(TPersistent* Source) {
  if (auto* Other = dynamic_cast<TDBSumListProducer*>(Source)) {
    SetActive(Other->FActive);
    SetDataSet(Other->FDataSet);
    SetExternalRecalc(Other->FExternalRecalc);
    FSumCollection->Assign(Other->FSumCollection.get());
    SumListChanged = Other->SumListChanged;
    SetVirtualRecords(Other->FVirtualRecords);
    OnAfterRecalcAll = Other->OnAfterRecalcAll;
    OnRecalcAll = Other->OnRecalcAll;
    return;
  }
  TPersistent::Assign(Source);
}

void TDBSumListProducer::SetDataSet(TDataSet* Value) {
  if (Value == FDataSet) {
    if (Value && Value->ComponentState().Contains(csDestroying)) {
      RestoreDataSetEvents();
      FDataSet = nullptr;
    }
    return;
  }
  if (Blocked()) {
    ForgetSumFields();
    FDataSet = Value;
    return;
  }
  const bool WasActive = FActive;
  DeactivateSumList(true);
  ForgetSumFields();
  FDataSet = Value;
  if (WasActive) ActivateSumList(true);
}

void TDBSumListProducer::SetActive(bool Value) {
  if (Value == FActive) return;
  if (Value) ActivateSumList(true);
  else DeactivateSumList(true);
}

void TDBSumListProducer::ActivateSumList(bool Recalc) {
  FActive = true;
  if (Blocked()) return;
  HookDataSetEvents();
  if (Recalc) RecalcAll();
}

void TDBSumListProducer::DeactivateSumList(bool ClearSums) {
  FActive = false;
  if (Blocked()) return;
  RestoreDataSetEvents();
  if (ClearSums) ResetSumValues();
}

void TDBSumListProducer::OwnerLoaded() {
  if (FDataSet && FActive) ActivateSumList(true);
}

void TDBSumListProducer::SetExternalRecalc(bool Value) {
  if (Value == FExternalRecalc) return;
  FExternalRecalc = Value;
  RecalcAll();
}

void TDBSumListProducer::SetVirtualRecords(bool Value) {
  if (Value == FVirtualRecords) return;
  FVirtualRecords = Value;
  if (Value) RecalcAll();
}

void TDBSumListProducer::RequestRecalc() {
  ForgetSumFields();
  if (FSumsUpdateCount > 0) {
    FRecalcRequested = true;
    return;
  }
  if (FOwner && (FOwner->ComponentState().Contains(csLoading) || FOwner->ComponentState().Contains(csDestroying)))
    return;
  RecalcAll();
}

void TDBSumListProducer::EndSumsUpdate() {
  if (FSumsUpdateCount == 0 || --FSumsUpdateCount > 0 || !FRecalcRequested) return;
  FRecalcRequested = false;
  RequestRecalc();
}

void TDBSumListProducer::NotifySumListChanged() {
  if (SumListChanged) SumListChanged(this);
}

void TDBSumListProducer::HookDataSetEvents() {
  if (!FDataSet || FEventsHooked) return;
  TDataSet* D = FDataSet;
  FSaved = {D->AfterCancel, D->AfterEdit, D->AfterInsert, D->AfterOpen, D->AfterPost, D->AfterScroll,
            D->BeforeDelete, D->AfterClose};
  D->AfterCancel = [this](TDataSet* S) { HandleAfterCancel(S); };
  D->AfterEdit = [this](TDataSet* S) { HandleAfterEdit(S); };
  D->AfterInsert = [this](TDataSet* S) { HandleAfterInsert(S); };
  D->AfterOpen = [this](TDataSet* S) { HandleAfterOpen(S); };
  D->AfterPost = [this](TDataSet* S) { HandleAfterPost(S); };
  D->AfterScroll = [this](TDataSet* S) { HandleAfterScroll(S); };
  D->BeforeDelete = [this](TDataSet* S) { HandleBeforeDelete(S); };
  D->AfterClose = [this](TDataSet* S) { HandleAfterClose(S); };
  FEventsHooked = true;
}

void TDBSumListProducer::RestoreDataSetEvents() {
  if (!FDataSet || !FEventsHooked) return;
  TDataSet* D = FDataSet;
  D->AfterCancel = std::move(FSaved.AfterCancel);
  D->AfterEdit = std::move(FSaved.AfterEdit);
  D->AfterInsert = std::move(FSaved.AfterInsert);
  D->AfterOpen = std::move(FSaved.AfterOpen);
  D->AfterPost = std::move(FSaved.AfterPost);
  D->AfterScroll = std::move(FSaved.AfterScroll);
  D->BeforeDelete = std::move(FSaved.BeforeDelete);
  D->AfterClose = std::move(FSaved.AfterClose);
  FSaved = {};
  FEventsHooked = false;
  FVirtualRecList->ClearBookmarks();
}

void TDBSumListProducer::ResetSumValues() {
  for (Integer I = 0; I < FSumCollection->Count(); ++I) {
    TDBSum* Sum = FSumCollection->Items(I);
    Sum->AggregateValue = Sum->PreEditValue = Sum->AvgTotal = 0;
    Sum->NonNullCount = 0;
  }
  NotifySumListChanged();
}

const std::vector<TField*>& TDBSumListProducer::SumFields() {
  if (FSumFieldsValid && FSumFields.size() == size_t(FSumCollection->Count())) return FSumFields;
  std::vector<TField*> Fields(size_t(FSumCollection->Count()), nullptr);
  for (Integer I = 0; I < FSumCollection->Count(); ++I) {
    const TDBSum* Sum = FSumCollection->Items(I);
    if (!Sum->FieldName().isEmpty()) Fields[size_t(I)] = FDataSet->FieldByName(Sum->FieldName());
  }
  FSumFields = std::move(Fields);
  FSumFieldsValid = true;
  return FSumFields;
}

void TDBSumListProducer::ForEachSum(const std::function<void(TDBSum* Sum, const TField* Field)>& Step) {
  const std::vector<TField*>& Fields = SumFields();
  for (Integer I = 0; I < FSumCollection->Count(); ++I) Step(FSumCollection->Items(I), Fields[size_t(I)]);
}

void TDBSumListProducer::FinishRecalc() {
  FLastFiltered = FDataSet->Filtered();
  FLastFilter = FDataSet->Filter();
  FRecalculating = false;
  NotifySumListChanged();
}

void TDBSumListProducer::RecalcAll() {
  ForgetSumFields();  // the sums or the data set's fields may have changed
  if (Blocked() || !FActive || !FDataSet || !FDataSet->Active() || !FEventsHooked) return;
  ResetSumValues();
  FLastFoundIndex = -1;
  TScopeGuard finish([this] { FinishRecalc(); });
  if (OnRecalcAll) OnRecalcAll(this);
  if (FExternalRecalc) return;
  bool NeedWalk = VirtualMode();
  for (Integer I = 0; I < FSumCollection->Count(); ++I) {
    const TDBSum* Sum = FSumCollection->Items(I);
    NeedWalk = NeedWalk || Sum->GroupOperation() == goCount || !Sum->FieldName().isEmpty();
  }
  if (NeedWalk) {
    const std::vector<TField*> Fields = SumFields();
    const TBookmarkStr Saved = FDataSet->IsEmpty() ? TBookmarkStr() : FDataSet->Bookmark();
    const bool Virtual = VirtualMode();
    const Integer Count = FSumCollection->Count();
    TDisableControlsLock controlsLock(FDataSet);
    FVirtualRecList->ClearBookmarks();
    FRecalculating = true;
    {
      // Whatever happens during the walk, the user's record comes back.
      TScopeGuard restore([&] {
        if (!Saved.isEmpty() && FDataSet->BookmarkValid(Saved)) FDataSet->SetBookmark(Saved);
        else FDataSet->First();
      });
      for (FDataSet->First(); !FDataSet->Eof(); FDataSet->Next()) {
        for (Integer I = 0; I < Count; ++I) {
          TDBSum* Sum = FSumCollection->Items(I);
          const TField* Field = Fields[size_t(I)];
          switch (Sum->GroupOperation()) {
            case goSum:
              if (Field && !Field->IsNull()) Sum->AggregateValue = CheckedAdd(Sum->AggregateValue, FieldValueToFixed(Field));
              break;
            case goAvg:
              if (Field && !Field->IsNull()) {
                ++Sum->NonNullCount;
                Sum->AvgTotal = CheckedAdd(Sum->AvgTotal, FieldValueToFixed(Field));
              }
              break;
            case goCount:
              if (CountsRecord(Field)) Sum->AggregateValue = CheckedAdd(Sum->AggregateValue, FixedOne);
              break;
          }
        }
        if (Virtual) FVirtualRecList->AppendBookmark(FDataSet->Bookmark());
      }
    }
    for (Integer I = 0; I < Count; ++I) {
      TDBSum* Sum = FSumCollection->Items(I);
      if (Sum->GroupOperation() == goAvg) Sum->AggregateValue = DivideRounded(Sum->AvgTotal, Sum->NonNullCount);
    }
  }
  if (OnAfterRecalcAll) OnAfterRecalcAll(this);
}

void TDBSumListProducer::HandleAfterEdit(TDataSet* DataSet) {
  if (FActive)
    ForEachSum([](TDBSum* Sum, const TField* Field) {
      if (Sum->GroupOperation() == goCount) {
        Sum->PreEditValue = CountsRecord(Field) ? FixedOne : 0;
      } else if (Field) {
        Sum->PreEditValue = FieldValueToFixed(Field);
        Sum->PreEditVariant = Field->Value();
      }
    });
  CallSaved(FSaved.AfterEdit, DataSet);
}

void TDBSumListProducer::HandleAfterInsert(TDataSet* DataSet) {
  if (FActive) {
    ForEachSum([](TDBSum* Sum, const TField* Field) {
      if (Sum->GroupOperation() == goCount) {
        Sum->PreEditValue = Field && !Field->IsNull() ? FixedOne : 0;
      } else {
        Sum->PreEditValue = 0;
        Sum->PreEditVariant = Variant::Null();
      }
    });
    if (VirtualMode()) {
      const TBookmarkStr Bookmark = DataSet->Bookmark();
      if (!Bookmark.isEmpty()) FVirtualRecList->AppendBookmark(Bookmark);
      else FPendingInsert = true;
    }
  }
  CallSaved(FSaved.AfterInsert, DataSet);
}

void TDBSumListProducer::HandleAfterPost(TDataSet* DataSet) {
  if (FActive) {
    ForEachSum([](TDBSum* Sum, const TField* Field) {
      switch (Sum->GroupOperation()) {
        case goSum:
          if (!Field) break;
          Sum->AggregateValue = Field->IsNull() ? CheckedSub(Sum->AggregateValue, Sum->PreEditValue)
                                                : CheckedAdd(Sum->AggregateValue,
                                                             CheckedSub(FieldValueToFixed(Field), Sum->PreEditValue));
          break;
        case goAvg:
          if (!Field) break;
          if (Field->IsNull()) {
            if (!VarIsNull(Sum->PreEditVariant)) --Sum->NonNullCount;
            Sum->AvgTotal = CheckedSub(Sum->AvgTotal, Sum->PreEditValue);
          } else {
            if (VarIsNull(Sum->PreEditVariant)) ++Sum->NonNullCount;
            Sum->AvgTotal = CheckedAdd(Sum->AvgTotal, CheckedSub(FieldValueToFixed(Field), Sum->PreEditValue));
          }
          Sum->AggregateValue = DivideRounded(Sum->AvgTotal, Sum->NonNullCount);
          break;
        case goCount:
          Sum->AggregateValue = CountsRecord(Field)
                                    ? CheckedAdd(Sum->AggregateValue, FixedOne - Sum->PreEditValue)
                                    : CheckedSub(Sum->AggregateValue, Sum->PreEditValue);
          break;
      }
    });
    if (VirtualMode() && FPendingInsert) InsertPendingBookmark();
    NotifySumListChanged();
  }
  CallSaved(FSaved.AfterPost, DataSet);
}

void TDBSumListProducer::InsertPendingBookmark() {
  const TBookmarkStr Bookmark = FDataSet->Bookmark();
  TSLBookmarkListX* List = FVirtualRecList.get();
  const Integer Count = List->GetCount();
  Integer Pos = (FLastFoundIndex < 0 || FLastFoundIndex >= Count) ? 0 : FLastFoundIndex;
  if (Count > 0) {
    const Integer C = List->CompareItems(List->GetBookmark(Pos), Bookmark);
    if (C < 0) {
      while (Pos < Count && List->CompareItems(List->GetBookmark(Pos), Bookmark) < 0) ++Pos;
    } else if (C > 0) {
      while (Pos >= 0 && List->CompareItems(List->GetBookmark(Pos), Bookmark) > 0) --Pos;
      ++Pos;
    }
  }
  List->InsertBookmark(Pos, Bookmark);
  FPendingInsert = false;
}

void TDBSumListProducer::HandleBeforeDelete(TDataSet* DataSet) {
  CallSaved(FSaved.BeforeDelete, DataSet);
  if (!FActive) return;
  ForEachSum([](TDBSum* Sum, const TField* Field) {
    switch (Sum->GroupOperation()) {
      case goSum:
        if (Field) Sum->AggregateValue = CheckedSub(Sum->AggregateValue, FieldValueToFixed(Field));
        break;
      case goAvg:
        if (!Field) break;
        Sum->AvgTotal = CheckedSub(Sum->AvgTotal, FieldValueToFixed(Field));
        if (!Field->IsNull()) --Sum->NonNullCount;
        Sum->AggregateValue = DivideRounded(Sum->AvgTotal, Sum->NonNullCount);
        break;
      case goCount:
        if (CountsRecord(Field)) Sum->AggregateValue = CheckedSub(Sum->AggregateValue, FixedOne);
        break;
    }
  });
  if (VirtualMode()) {
    const Integer Index = FindVirtualRecNo(DataSet->Bookmark());
    if (Index >= 0) FVirtualRecList->RemoveAt(Index);
  }
  NotifySumListChanged();
}

void TDBSumListProducer::HandleAfterOpen(TDataSet* DataSet) {
  RecalcAll();
  CallSaved(FSaved.AfterOpen, DataSet);
}

void TDBSumListProducer::HandleAfterScroll(TDataSet* DataSet) {
  CallSaved(FSaved.AfterScroll, DataSet);
  if (FRecalculating) return;
  if (DataSet->Filtered() != FLastFiltered || (DataSet->Filtered() && DataSet->Filter() != FLastFilter)) RecalcAll();
}

void TDBSumListProducer::HandleAfterClose(TDataSet* DataSet) {
  ForgetSumFields();
  ResetSumValues();
  FRecalculating = false;
  FVirtualRecList->ClearBookmarks();
  CallSaved(FSaved.AfterClose, DataSet);
}

void TDBSumListProducer::HandleAfterCancel(TDataSet* DataSet) {
  CallSaved(FSaved.AfterCancel, DataSet);
  FPendingInsert = false;
}

Integer TDBSumListProducer::GetVirtualRecNo() {
  if (VirtualMode() && FActive) return 1 + FindVirtualRecNo(FDataSet->Bookmark());
  return FDataSet->RecNo();
}

void TDBSumListProducer::SetVirtualRecNo(Integer RecNo) {
  if (VirtualMode() && FActive) FDataSet->SetBookmark(FVirtualRecList->GetBookmark(RecNo - 1));
  else FDataSet->SetRecNo(RecNo);
}

Integer TDBSumListProducer::GetVirtualRecordCount() {
  if (!FDataSet) return 0;
  if (VirtualMode() && FActive) return FVirtualRecList->GetCount();
  return FDataSet->RecordCount();
}

bool TDBSumListProducer::IsRecNoAvailable() {
  if (FDataSet && FDataSet->IsSequenced()) return true;
  if (!FDataSet || !FVirtualRecords || !FActive) return false;
  return FVirtualRecList->GetCount() > 0 || (FDataSet->Bof() && FDataSet->Eof());
}

Integer TDBSumListProducer::FindVirtualRecNo(const TBookmarkStr& Bookmark) {
  TSLBookmarkListX* List = FVirtualRecList.get();
  const Integer Count = List->GetCount();
  if (Count == 0) return -1;
  Integer Pos = (FLastFoundIndex < 0 || FLastFoundIndex >= Count) ? 0 : FLastFoundIndex;
  Integer Result = -1;
  while (Pos >= 0 && Pos < Count) {
    const Integer C = List->CompareItems(List->GetBookmark(Pos), Bookmark);
    if (C == 0) {
      Result = Pos;
      break;
    }
    const Integer Step = C > 0 ? -1 : 1;
    // Stepping back past a smaller entry (or forward past a greater one) means it is absent.
    const Integer Next = Pos + Step;
    if (Next >= 0 && Next < Count) {
      const Integer NextC = List->CompareItems(List->GetBookmark(Next), Bookmark);
      if ((Step < 0 && NextC < 0) || (Step > 0 && NextC > 0)) {
        Pos = Next;
        break;
      }
    }
    Pos = Next;
  }
  FLastFoundIndex = std::clamp(Pos, 0, Count - 1);
  return Result;
}
