#include "skin/SkinManage.h"
#include "platform/ui/ControlHost.h"
#include "skin/SkinData.h"
#include "skin/SkinForm.h"
#include "skin/SkinMenu.h"
#include "skin/SkinMessages.h"
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <algorithm>

namespace {
std::unique_ptr<TSkinManage>& TheManager() {
  static std::unique_ptr<TSkinManage> manager;
  return manager;
}
}  // namespace

TSkinManage* TSkinManage::Instance() { return TheManager().get(); }

TSkinManage* TSkinManage::Create() {
  if (!TheManager()) TheManager().reset(new TSkinManage());
  return TheManager().get();
}

void TSkinManage::Shutdown() { TheManager().reset(); }

TSkinManage::TSkinManage() : FTimer(new QTimer(this)) {
  FTimer->setSingleShot(true);
  FTimer->setInterval(250);
  connect(FTimer, &QTimer::timeout, this, [this] {
    try {
      TimerTick();
    } catch (...) {
      if (Application) Application->HandleException(nullptr);
    }
  });
}

TSkinManage::~TSkinManage() {
  FStarted = ssDestroying;
  FEnabled = false;
  SetFormShowingHook({});
  if (qApp) qApp->removeEventFilter(this);
  // The forms keep their looks (the program is ending); only the hooks go.
  FForms.clear();
}

void TSkinManage::RegisterComponent(TSkinData* Component) {
  if (std::find(FComponents.begin(), FComponents.end(), Component) == FComponents.end()) FComponents.push_back(Component);
  if (!FMainComponent && Component->SkinFormtype() == sfMainform) FMainComponent = Component;
}

void TSkinManage::UnregisterComponent(TSkinData* Component) {
  // Forms drawn from a component that goes lose their skin with it.
  for (size_t i = FForms.size(); i-- > 0;)
    if (FForms[i]->SkinData() == Component) UnskinAndFree(i);
  std::erase(FComponents, Component);
  if (FMainComponent == Component) FMainComponent = nullptr;
  if (FTarget == Component) FTarget = nullptr;
}

void TSkinManage::InstallHook() {
  SetFormShowingHook([this](TCustomForm* Form) { SkinWindow(Form); });
  qApp->removeEventFilter(this);
  qApp->installEventFilter(this);
}

void TSkinManage::SkinPopupMenu(QMenu* Menu) {
  TSkinData* component = FMainComponent;
  if (!FEnabled || !component || !component->Active() || TSkinPopMenu::IsSkinned(Menu)) return;
  bool fromBar = false;
  for (QObject* o = Menu->parent(); o && !fromBar; o = o->parent()) fromBar = qobject_cast<QMenuBar*>(o) != nullptr;
  const TSkinControlTypes types = component->SkinControls();
  switch (fromBar ? Integer(pkMenuBar) : FPopupKind) {
    case pkMenuBar:
      if (!types.Contains(xcMainMenu) && !types.Contains(xcMenuItem)) return;
      break;
    case pkSystemMenu:
      if (!types.Contains(xcSystemMenu)) return;
      break;
    default:
      if (!types.Contains(xcPopupMenu)) return;
      break;
  }
  new TSkinPopMenu(Menu);
}

bool TSkinManage::eventFilter(QObject* Watched, QEvent* Event) {
  if (Event->type() == QEvent::Show)
    if (auto* menu = qobject_cast<QMenu*>(Watched)) SkinPopupMenu(menu);
  if (Event->type() == QEvent::WindowActivate) {
    auto* widget = qobject_cast<QWidget*>(Watched);
    if (widget && widget->isWindow()) {
      MarkStarted();
      if (auto* form = dynamic_cast<TCustomForm*>(FindControl(widget))) SkinWindow(form);
    }
  }
  return false;
}

void TSkinManage::Post(Integer Command, Integer Interval) {
  FPendingCommand = Command;
  if (FTimer->interval() != Interval) FTimer->setInterval(Interval);
  if (FStarted != ssStarted) {
    if (Command == cmSkinForms) FEnabled = true;
    else if (Command == cmUnskinAll) FEnabled = false;
    return;
  }
  if (!FTimer->isActive()) FTimer->start();
}

bool TSkinManage::TimerActive() const { return FTimer->isActive(); }

void TSkinManage::TimerTick() {
  FTimer->stop();
  TSkinData* target = FTarget;
  if (!target) return;
  RunCommand(FPendingCommand, target);
  target->SkinChanged();
  FTarget = nullptr;
}

void TSkinManage::RunCommand(Integer Command, TSkinData* Target) {
  const Integer formCount = Screen ? Screen->FormCount() : 0;
  if (Target->SkinFormtype() == sfOnlyThisForm) {
    auto ownForm = [&]() -> TSkinForm* {
      for (size_t i = FForms.size(); i-- > 0;)
        if (FForms[i]->SkinData() == Target) return FForms[i].get();
      return nullptr;
    };
    switch (Command) {
      case cmSkinForms:
        FEnabled = true;
        FCommand1Pass = true;
        for (Integer i = formCount; i-- > 0;)
          if (Screen->Forms(i) == Target->Owner()) {
            SkinForm(Screen->Forms(i));
            break;
          }
        FCommand1Pass = false;
        break;
      case cmUnskinAll:
        FEnabled = false;
        DropDeadForms();
        for (size_t i = FForms.size(); i-- > 0;)
          if (FForms[i]->SkinData() == Target) {
            UnskinAndFree(i);
            break;
          }
        break;
      case cmReApply:
        DropDeadForms();
        if (TSkinForm* form = ownForm()) {
          form->RefreshCaptionButtons();
          form->RebuildFrame();
          form->ReApply();
        }
        Target->SetReApplyPending(false);
        break;
      case cmDropDead: DropDeadForms(); break;
      default: break;
    }
    return;
  }
  switch (Command) {
    case cmSkinForms:
      FEnabled = true;
      FCommand1Pass = true;
      DropDeadForms();
      // Forms skinned before a new skin was built take its frame and colours too.
      if (Target->ReApplyPending()) ReApplyForms(Target);
      for (Integer i = formCount; i-- > 0;) SkinForm(Screen->Forms(i));
      FCommand1Pass = false;
      break;
    case cmUnskinAll:
      FEnabled = false;
      DropDeadForms();
      while (!FForms.empty()) UnskinAndFree(0);
      break;
    case cmReApply:
      DropDeadForms();
      ReApplyForms(Target);
      break;
    case cmDropDead: DropDeadForms(); break;
    default: break;
  }
}

void TSkinManage::ReApplyForms(TSkinData* Target) {
  for (auto& form : FForms)
    if (form->SkinData() == Target) {
      form->RefreshCaptionButtons();
      form->RebuildFrame();
    }
  for (auto& form : FForms)
    if (form->SkinData() == Target) form->ReApply();
  Target->SetReApplyPending(false);
}

void TSkinManage::UnskinAndFree(size_t Index) {
  std::unique_ptr<TSkinForm> form = std::move(FForms[Index]);
  FForms.erase(FForms.begin() + std::ptrdiff_t(Index));
  form->Detach();
}

void TSkinManage::DropDeadForms() {
  if (FStarted == ssDestroying) return;
  std::erase_if(FForms, [](const std::unique_ptr<TSkinForm>& form) { return form->LifeState() == TSkinForm::lsGone; });
}

bool TSkinManage::SkinForm(TCustomForm* Form) {
  if (!Form->Visible() || !Form->Showing() || Form->Parent()) return false;
  return SkinWindow(Form);
}

TSkinForm* TSkinManage::SkinnedFormOf(const TCustomForm* Form) const {
  for (const auto& form : FForms)
    if (form->Control() == Form && form->LifeState() != TSkinForm::lsGone) return form.get();
  return nullptr;
}

bool TSkinManage::SkinWindow(TCustomForm* Form) {
  if (!FEnabled || !Form) return false;
  if (Form->Perform(SKIN_ISSKINNED) == 1) return false;
  DropDeadForms();
  if (SkinnedFormOf(Form)) return false;
  if (Form->Parent() && !FCommand1Pass) return false;
  const String windowClass = Form->ClassName();
  if (Form->Width() * Form->Height() == 0) return false;
  // 99 is fixed, whatever a component's DisableTag says.
  if (Form->Tag() == 99) return false;
  if (windowClass == QStringLiteral("TApplication") || !MaySkin(windowClass)) return false;
  TSkinData* component = ChooseComponent(Form);
  if (!component || component->SkinNotBuilt()) return false;
  auto skinned = std::make_unique<TSkinForm>();
  TSkinForm* form = skinned.get();
  FForms.push_back(std::move(skinned));
  form->AttachToForm(component, Form);
  PostMessage(Form, SKIN_FINISHATTACH, 0, 1000);
  return true;
}

bool TSkinManage::MaySkin(const String& WindowClass) const {
  if (!FMainComponent) return true;
  bool result = true;
  if (!FMainComponent->Options().Contains(xoPreview) && WindowClass.toLower().contains(QStringLiteral("preview")))
    result = false;
  return FMainComponent->MaySkin(WindowClass, result);
}

TSkinData* TSkinManage::ChooseComponent(const TCustomForm* Form) const {
  TSkinData* found = nullptr;
  for (TSkinData* c : FComponents)
    if (c->SkinFormtype() == sfOnlyThisForm && c->Owner() == Form) found = c;
  if (found) return found;
  const String lower = Form->ClassName().toLower();
  if (lower == QStringLiteral("tmessageform") || lower == QStringLiteral("#32770")) {
    for (TSkinData* c : FComponents)
      if (c->SkinFormtype() == sfDialog) found = c;
    if (found) return found;
  }
  for (TSkinData* c : FComponents)
    if (c->SkinFormtype() == sfMainform) found = c;
  if (found) return found;
  return FComponents.empty() ? nullptr : FComponents.front();
}

void TSkinManage::RefreshCaptionButtons() {
  for (auto& form : FForms)
    if (form->SkinData() == FTarget) form->RefreshCaptionButtons();
}
