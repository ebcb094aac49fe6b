#include "platform/ui/ActnList.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ImgList.h"

// ---- TAction

TAction::TAction(TComponent* AOwner) : TComponent(AOwner) {}

TAction::~TAction() {
  Destroying();
  SetActionList(nullptr);
  while (!FClients.empty()) FClients.back()->SetAction(nullptr);
}

void TAction::SetActionList(TActionList* Value) {
  if (Value == FActionList) return;
  if (FActionList) {
    auto& list = FActionList->FActions;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
  }
  FActionList = Value;
  if (Value) Value->FActions.push_back(this);
}

void TAction::AddClient(TMenuItem* Item) {
  if (std::find(FClients.begin(), FClients.end(), Item) == FClients.end()) FClients.push_back(Item);
}

void TAction::RemoveClient(TMenuItem* Item) { FClients.erase(std::remove(FClients.begin(), FClients.end(), Item), FClients.end()); }

void TAction::Changed() {
  for (TMenuItem* item : FClients) item->ActionChanged();
}

void TAction::SetCaption(const String& Value) {
  FCaption = Value;
  Changed();
}

void TAction::SetChecked(bool Value) {
  FChecked = Value;
  Changed();
}

void TAction::SetEnabled(bool Value) {
  FEnabled = Value;
  Changed();
}

void TAction::SetVisible(bool Value) {
  FVisible = Value;
  Changed();
}

void TAction::SetHint(const String& Value) {
  FHint = Value;
  Changed();
}

void TAction::SetImageIndex(Integer Value) {
  FImageIndex = Value;
  Changed();
}

void TAction::SetShortCut(TShortCut Value) {
  FShortCut = Value;
  Changed();
}

bool TAction::Execute() {
  Update();
  if (!FEnabled) return false;
  bool handled = false;
  if (FActionList && FActionList->OnExecute) FActionList->OnExecute(this, handled);
  if (handled) return true;
  if (!OnExecute) return OfferToFocusedControls(true);
  OnExecute(this);
  return true;
}

bool TAction::Update() {
  bool handled = false;
  if (FActionList && FActionList->OnUpdate) FActionList->OnUpdate(this, handled);
  if (handled) return true;
  if (!OnUpdate) return OfferToFocusedControls(false);
  OnUpdate(this);
  return true;
}

bool TAction::OfferToFocusedControls(bool Execute) {
  for (TControl* control = Screen ? Screen->ActiveControl() : nullptr; control; control = control->Parent())
    if (Execute ? control->ExecuteAction(this) : control->UpdateAction(this)) return true;
  return false;
}

// ---- TActionList

TActionList::TActionList(TComponent* AOwner) : TComponent(AOwner) {}

TActionList::~TActionList() {
  Destroying();
  for (TAction* action : FActions) action->FActionList = nullptr;
}

void TActionList::SetImages(TCustomImageList* Value) {
  FImages = Value;
  if (Value) Value->FreeNotification(this);
}

void TActionList::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

void TActionList::UpdateActions() {
  for (TAction* action : std::vector<TAction*>(FActions)) action->Update();
}
