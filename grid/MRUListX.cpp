#include "grid/MRUListX.h"
#include "grid/PlatformShimsX.h"
#include "platform/rtl/ScopeGuards.h"

TMRUListX::TMRUListX(TPersistent* AOwner) : FItems(std::make_unique<TStringList>()), FOwner(AOwner) {}

TMRUListX::~TMRUListX() = default;

void TMRUListX::Assign(TPersistent* Source) {
  auto* Other = dynamic_cast<TMRUListX*>(Source);
  if (!Other) return TPersistent::Assign(Source);
  SetActive(Other->FActive);
  SetItems(Other->FItems.get());
  SetLimit(Other->FLimit);
  FRows = Other->FRows;
  FCaseSensitive = Other->FCaseSensitive;
}

void TMRUListX::SetActive(bool Value) {
  if (Value == FActive) return;
  FActive = Value;
  if (OnActiveChangedHook) OnActiveChangedHook(this);
}

void TMRUListX::SetLimit(Integer Value) {
  if (Value == FLimit) return;
  FLimit = Value;
  TrimToLimit();
}

void TMRUListX::AddRecent(const String& Value) {
  if (Value.trimmed().isEmpty()) return;
  for (Integer I = 0; I < FItems->Count(); ++I) {
    const String Entry = FItems->Strings(I);
    if (FCaseSensitive ? Entry == Value : PlatformCompareText(Entry, Value) == 0) {
      FItems->Move(I, FItems->Count() - 1);
      return;
    }
  }
  FItems->Add(Value);
  TrimToLimit();
}

void TMRUListX::TrimToLimit() {
  while (FItems->Count() > FLimit) FItems->Delete(0);
}

void TMRUListX::CollectMatches(TStrings* Target, const String& Text) {
  TUpdateLock lock(Target);
  Target->Clear();
  for (Integer I = 0; I < FItems->Count(); ++I) {
    const String Entry = FItems->Strings(I);
    const String Head = Entry.left(Text.size());
    bool Accept = FCaseSensitive ? PlatformCompareStr(Head, Text) == 0 : PlatformCompareText(Head, Text) == 0;
    if (OnFilterHook) OnFilterHook(this, Entry, Accept);
    if (Accept) Target->Add(Entry);
  }
}

void TMRUListX::FireCloseUp(bool Accept) {
  if (OnCloseUpHook) OnCloseUpHook(this, Accept);
}

void TMRUListX::FireDropDown() {
  if (OnDropDownHook) OnDropDownHook(this);
}
