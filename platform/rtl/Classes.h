#pragma once
// Persistent objects and components: ownership, names, component state and
// free notification.
#include "platform/rtl/SysUtils.h"
#include <vector>

class TPersistent : public TObject {
public:
  // Copies Source into this object; raises EConvertError "Cannot assign a X to a Y"
  // when neither side knows the other.
  virtual void Assign(TPersistent* Source);
  virtual String ClassName() const;
protected:
  virtual void AssignTo(TPersistent* Dest);
  [[noreturn]] void AssignError(TPersistent* Source);
};

enum TComponentStateValue { csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor,
                            csUpdating, csFixups, csFreeNotification, csInline, csDesignInstance };
using TComponentState = TSet<TComponentStateValue>;

enum TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
public:
  explicit TComponent(TComponent* AOwner = nullptr);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return FOwner; }
  const String& Name() const { return FName; }
  // Names are unique among the owner's components (compared without case);
  // raises EComponentError for a duplicate.
  virtual void SetName(const String& Value);
  Int64 Tag() const { return FTag; }
  void SetTag(Int64 Value) { FTag = Value; }
  const TComponentState& ComponentState() const { return FComponentState; }

  Integer ComponentCount() const { return Integer(FComponents.size()); }
  TComponent* Components(Integer Index) const;
  Integer ComponentIndex() const;
  TComponent* FindComponent(const String& AName) const;

  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);

  // AComponent will be told (Notification opRemove) when this component goes,
  // whoever owns it.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  // Component state for streaming and designing; Loaded is called once when
  // loading ends.
  void BeginLoading();
  void EndLoading();
  void SetDesigning(bool Value);
  // Marks this component and everything it owns as being destroyed.
  void Destroying();
protected:
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  virtual void Loaded();
  void IncludeState(TComponentStateValue v) { FComponentState.Include(v); }
  void ExcludeState(TComponentStateValue v) { FComponentState.Exclude(v); }
private:
  void Insert(TComponent* AComponent);
  void Remove(TComponent* AComponent);
  void RemoveNotification(TComponent* AComponent);

  TComponent* FOwner = nullptr;
  String FName;
  Int64 FTag = 0;
  TComponentState FComponentState;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
};
