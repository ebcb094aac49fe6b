#include "grid/ExtraListRowX.h"
#include "platform/rtl/ScopeGuards.h"

namespace {
constexpr TShortCut AltDelete = 0x8000 | VK_DELETE;

bool IsControlChar(QChar C) { return C.unicode() >= 1 && C.unicode() < 32; }

std::vector<String> SplitCells(const String& Text) {
  std::vector<String> Cells;
  qsizetype P = 0;
  const qsizetype N = Text.size();
  while (P < N && Text[P].unicode() >= 1 && Text[P].unicode() <= 32) ++P;
  while (P < N) {
    String Item;
    if (Text[P] == u'"') {
      ++P;
      while (P < N) {
        if (Text[P] == u'"') {
          if (P + 1 < N && Text[P + 1] == u'"') {
            Item += u'"';
            P += 2;
            continue;
          }
          ++P;
          break;
        }
        Item += Text[P++];
      }
    } else {
      while (P < N && Text[P] != u';' && !(Text[P].unicode() < 32)) Item += Text[P++];
    }
    Cells.push_back(Item);
    while (P < N && IsControlChar(Text[P])) ++P;
    if (P < N && Text[P] == u';') {
      ++P;
      while (P < N && IsControlChar(Text[P])) ++P;
    }
  }
  return Cells;
}
}  // namespace

TSpecRowX::TSpecRowX(TPersistent* AOwner)
    : FOwner(AOwner), FCells(std::make_unique<TStringList>()), FFont(std::make_unique<TFont>()), FShortCut(AltDelete) {
  FFont->Assign(OwnerFont());
  FFont->OnChange = [this](TObject*) {
    if (FCopyingOwnerFont) return;
    NotifyChanged();
    FFontAssigned = true;
  };
}

TSpecRowX::~TSpecRowX() { FFont->OnChange = nullptr; }

void TSpecRowX::Assign(TPersistent* Source) {
  auto* Other = dynamic_cast<TSpecRowX*>(Source);
  if (!Other) return TPersistent::Assign(Source);
  SuspendChanges();
  TScopeGuard resume([this] { ResumeChanges(); });
  SetCellsText(Other->FCellsText);
  SetColor(Other->Color());
  if (Other->FFontAssigned) SetFont(Other->FFont.get());
  FShortCut = Other->FShortCut;
  SetShowIfNotInKeyList(Other->FShowIfNotInKeyList);
  SetValue(Other->FValue);
  SetVisible(Other->FVisible);
}

void TSpecRowX::SetCellsText(const String& Value) {
  if (Value == FCellsText) return;
  FCellsText = Value;
  FCells->BeginUpdate();
  FCells->Clear();
  for (const String& Cell : SplitCells(Value)) FCells->Add(Cell);
  FCells->EndUpdate();
  NotifyChanged();
}

String TSpecRowX::ReadCellText(Integer Index) const {
  return Index >= 0 && Index < FCells->Count() ? FCells->Strings(Index) : String();
}

TColor TSpecRowX::Color() const { return FColorAssigned ? FColor : OwnerColor(); }

void TSpecRowX::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  FColorAssigned = true;
  NotifyChanged();
}

TFont* TSpecRowX::Font() {
  if (!FFontAssigned) {
    TFont* Owner = OwnerFont();
    if (Owner != FFont.get() && !(*Owner == *FFont)) {
      FCopyingOwnerFont = true;
      FFont->Assign(Owner);
      FCopyingOwnerFont = false;
    }
  }
  return FFont.get();
}

void TSpecRowX::SetShowIfNotInKeyList(bool Value) {
  if (Value == FShowIfNotInKeyList) return;
  FShowIfNotInKeyList = Value;
  NotifyChanged();
}

void TSpecRowX::SetValue(const Variant& Value) {
  if (VarCompareValue(Value, FValue) == vrEqual) return;
  FValue = Value;
  NotifyChanged();
}

void TSpecRowX::SetVisible(bool Value) {
  if (Value == FVisible) return;
  FVisible = Value;
  NotifyChanged();
}

TFont* TSpecRowX::OwnerFont() const {
  if (auto* Control = dynamic_cast<TControl*>(FOwner)) return Control->Font();
  return FFont.get();
}

TColor TSpecRowX::OwnerColor() const {
  if (auto* Control = dynamic_cast<TCustomControl*>(FOwner)) return Control->Color();
  return FColor;
}

void TSpecRowX::ResumeChanges() {
  if (FUpdateCount > 0) --FUpdateCount;
  NotifyChanged();
}

void TSpecRowX::NotifyChanged() {
  if (FUpdateCount == 0 && OnChanged) OnChanged(this);
}
