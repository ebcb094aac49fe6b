#pragma once
// The one skin manager of the program: it decides which forms get skinned and when. It sees
// every top-level form before it is first shown and when it is activated, and runs the
// commands the skin components post (skin the forms, unskin all, re-apply) from a 250 ms
// command timer, so that a burst of posts runs only the last command.
#include "platform/ui/Forms.h"
#include <QObject>
#include <memory>
#include <vector>

class QMenu;
class QTimer;
class TSkinData;
class TSkinForm;

class TSkinManage : public QObject {
public:
  enum TCommand { cmSkinForms = 1, cmUnskinAll = 2, cmReApply = 3, cmDropDead = 6 };
  enum TStartedState { ssIdle = 0, ssStarted = 1, ssDestroying = 4 };

  // The manager, or nullptr before the first skin component was loaded.
  static TSkinManage* Instance();
  // The manager, made on first use.
  static TSkinManage* Create();
  // Unskins nothing and frees the manager: the program is ending (or a test starts afresh).
  static void Shutdown();
  ~TSkinManage() override;

  void RegisterComponent(TSkinData* Component);
  void UnregisterComponent(TSkinData* Component);
  TSkinData* MainComponent() const { return FMainComponent; }
  // Starts watching forms being shown and activated.
  void InstallHook();

  // The command for Target that the next timer tick runs; a new post replaces it.
  void SetTarget(TSkinData* Target) { FTarget = Target; }
  void Post(Integer Command, Integer Interval);
  Integer PendingCommand() const { return FPendingCommand; }
  bool TimerActive() const;
  // Runs the pending command (the command timer's tick).
  void TimerTick();

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value) { FEnabled = Value; }
  Integer Started() const { return FStarted; }
  void MarkStarted() { if (FStarted == ssIdle) FStarted = ssStarted; }

  // Skins a visible top-level form; false when it is refused.
  bool SkinForm(TCustomForm* Form);
  bool SkinWindow(TCustomForm* Form);
  TSkinForm* SkinnedFormOf(const TCustomForm* Form) const;
  TSkinData* ChooseComponent(const TCustomForm* Form) const;
  bool MaySkin(const String& WindowClass) const;
  // Frees the caption-button objects of the forms skinned with the target component.
  void RefreshCaptionButtons();
  void DropDeadForms();
  // Gives a popup menu being shown its skinned frame and items, when its kind is skinned: a
  // drop-down of a menu bar needs xcMainMenu or xcMenuItem, the system menu xcSystemMenu,
  // any other popup xcPopupMenu.
  void SkinPopupMenu(QMenu* Menu);
  enum TPopupKind { pkPopup = 0, pkMenuBar = 1, pkSystemMenu = 2 };
  // Set by whoever opens a menu of a kind other than a plain popup, and reset when it closed.
  Integer PopupKind() const { return FPopupKind; }
  void SetPopupKind(Integer Value) { FPopupKind = Value; }

protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
  TSkinManage();
  void RunCommand(Integer Command, TSkinData* Target);
  void UnskinAndFree(size_t Index);
  void ReApplyForms(TSkinData* Target);
  QTimer* FTimer;
  Integer FPendingCommand = 0;
  TSkinData* FTarget = nullptr;
  bool FEnabled = false;
  bool FCommand1Pass = false;
  Integer FPopupKind = pkPopup;
  Integer FStarted = ssIdle;
  TSkinData* FMainComponent = nullptr;
  std::vector<TSkinData*> FComponents;
  std::vector<std::unique_ptr<TSkinForm>> FForms;
};
