#pragma once
// Actions: one command with its caption, state and handler, shared by the menu items
// linked to it. Changing the action changes every linked item.
#include "platform/ui/Menus.h"

class TActionList;

class TAction : public TComponent {
public:
  explicit TAction(TComponent* AOwner);
  ~TAction() override;
  String ClassName() const override { return QStringLiteral("TAction"); }
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value);
  bool Checked() const { return FChecked; }
  void SetChecked(bool Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value);
  TActionList* ActionList() const { return FActionList; }
  void SetActionList(TActionList* Value);

  // Runs OnExecute (or the list's OnExecute, which may handle it first) when enabled; without
  // either the focused control, then its parents, may carry it out (ExecuteAction). True
  // when someone handled it.
  virtual bool Execute();
  // Asks OnUpdate (or the list's), else the focused control and its parents (UpdateAction),
  // to refresh the state; true when someone did.
  virtual bool Update();
  // Whether the action can serve Target by itself, and doing so (see TControl::ExecuteAction).
  virtual bool HandlesTarget(TObject* Target) const { (void)Target; return false; }
  virtual void ExecuteTarget(TObject* Target) { (void)Target; }
  virtual void UpdateTarget(TObject* Target) { (void)Target; }
  TNotifyEvent OnExecute;
  TNotifyEvent OnUpdate;

  // Menu items linked to the action follow it; called by TMenuItem::SetAction.
  void AddClient(TMenuItem* Item);
  void RemoveClient(TMenuItem* Item);
private:
  friend class TActionList;
  void Changed();
  bool OfferToFocusedControls(bool Execute);
  String FCaption;
  bool FChecked = false;
  bool FEnabled = true;
  bool FVisible = true;
  String FHint;
  Integer FImageIndex = -1;
  TShortCut FShortCut = scNone;
  TActionList* FActionList = nullptr;
  std::vector<TMenuItem*> FClients;
};

using TActionEvent = std::function<void(TAction* Action, bool& Handled)>;

class TActionList : public TComponent {
public:
  explicit TActionList(TComponent* AOwner);
  ~TActionList() override;
  String ClassName() const override { return QStringLiteral("TActionList"); }
  Integer ActionCount() const { return Integer(FActions.size()); }
  TAction* Actions(Integer Index) const { return FActions.at(size_t(Index)); }
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  // Runs Update of every action, as is done when the program is idle.
  void UpdateActions();
  TActionEvent OnExecute;
  TActionEvent OnUpdate;
protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
private:
  friend class TAction;
  std::vector<TAction*> FActions;
  TCustomImageList* FImages = nullptr;
};
