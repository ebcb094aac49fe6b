#include "platform/rtl/Classes.h"
#include <QMetaObject>
#include <algorithm>
#include <typeinfo>
#include <cxxabi.h>
#include <cstdlib>

String TPersistent::ClassName() const {
  int status = 0;
  char* demangled = abi::__cxa_demangle(typeid(*this).name(), nullptr, nullptr, &status);
  String name = status == 0 && demangled ? String::fromUtf8(demangled) : String::fromUtf8(typeid(*this).name());
  std::free(demangled);
  return name;
}

void TPersistent::Assign(TPersistent* Source) {
  if (Source) Source->AssignTo(this);
  else AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* Dest) { Dest->AssignError(this); }

void TPersistent::AssignError(TPersistent* Source) {
  const String sourceName = Source ? Source->ClassName() : QStringLiteral("nil");
  throw EConvertError(QStringLiteral("Cannot assign a %1 to a %2").arg(sourceName, ClassName()));
}

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  // Tell everyone who asked, then drop our own subscriptions to others.
  while (!FFreeNotifies.empty()) {
    TComponent* other = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    other->RemoveNotification(this);
    other->Notification(this, opRemove);
  }
  while (!FComponents.empty()) {
    TComponent* child = FComponents.back();
    Remove(child);
    delete child;
  }
  if (FOwner) FOwner->RemoveComponent(this);
}

TComponent* TComponent::Components(Integer Index) const {
  if (Index < 0 || Index >= ComponentCount())
    throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
  return FComponents[size_t(Index)];
}

Integer TComponent::ComponentIndex() const {
  if (!FOwner) return -1;
  auto& list = FOwner->FComponents;
  return Integer(std::find(list.begin(), list.end(), this) - list.begin());
}

TComponent* TComponent::FindComponent(const String& AName) const {
  if (AName.isEmpty()) return nullptr;
  for (TComponent* c : FComponents)
    if (c->FName.compare(AName, Qt::CaseInsensitive) == 0) return c;
  return nullptr;
}

void TComponent::SetName(const String& Value) {
  if (FName == Value) return;
  if (FOwner && !Value.isEmpty()) {
    TComponent* other = FOwner->FindComponent(Value);
    if (other && other != this)
      throw EComponentError(QStringLiteral("A component named %1 already exists").arg(Value));
  }
  FName = Value;
}

void TComponent::InsertComponent(TComponent* AComponent) {
  if (!AComponent->FName.isEmpty() && FindComponent(AComponent->FName))
    throw EComponentError(QStringLiteral("A component named %1 already exists").arg(AComponent->FName));
  if (AComponent->FOwner) AComponent->FOwner->RemoveComponent(AComponent);
  Insert(AComponent);
  Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  Notification(AComponent, opRemove);
  Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent) {
  FComponents.push_back(AComponent);
  AComponent->FOwner = this;
}

void TComponent::Remove(TComponent* AComponent) {
  auto it = std::find(FComponents.begin(), FComponents.end(), AComponent);
  if (it != FComponents.end()) FComponents.erase(it);
  AComponent->FOwner = nullptr;
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (!AComponent || AComponent == this) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end()) {
    FFreeNotifies.push_back(AComponent);
    AComponent->FreeNotification(this);
  }
  FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  RemoveNotification(AComponent);
  if (AComponent) AComponent->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent* AComponent) {
  auto it = std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent);
  if (it != FFreeNotifies.end()) FFreeNotifies.erase(it);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove) RemoveNotification(AComponent);
  for (TComponent* c : FComponents) c->Notification(AComponent, Operation);
}

void TComponent::Loaded() { FComponentState.Exclude(csLoading); }

void TComponent::BeginLoading() {
  FComponentState.Include(csLoading);
  for (TComponent* c : FComponents) c->BeginLoading();
}

void TComponent::EndLoading() {
  for (TComponent* c : FComponents) c->EndLoading();
  if (FComponentState.Contains(csLoading)) Loaded();
}

void TComponent::SetDesigning(bool Value) {
  if (Value) FComponentState.Include(csDesigning);
  else FComponentState.Exclude(csDesigning);
  for (TComponent* c : FComponents) c->SetDesigning(Value);
}

void TComponent::Destroying() {
  if (FComponentState.Contains(csDestroying)) return;
  FComponentState.Include(csDestroying);
  for (TComponent* c : FComponents) c->Destroying();
}
