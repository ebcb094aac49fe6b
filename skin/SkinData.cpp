#include "skin/SkinData.h"
#include "platform/rtl/Classes.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"
#include "skin/SkinManage.h"
#include "skin/SkinReader.h"
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QPainter>

TSkinData::TSkinData(TComponent* AOwner) : TComponent(AOwner), FSkin3rd(std::make_unique<TStringList>()) {
  for (Integer t = xcMainMenu; t <= xcSystemMenu; ++t)
    if (t != xcMenuItem) FSkinControls.Include(TSkinControlType(t));
}

TSkinData::~TSkinData() {
  if (TSkinManage* manager = TSkinManage::Instance()) manager->UnregisterComponent(this);
}

TStrings* TSkinData::Skin3rd() const { return FSkin3rd.get(); }

void TSkinData::SetSkin3rd(TStrings* Value) { FSkin3rd->Assign(Value); }

String TSkinData::SkinStore() const {
  const bool designing = ComponentState().Contains(csDesigning);
  return designing && !FPackage.isEmpty() ? QStringLiteral("(Good)") : QStringLiteral("(none)");
}

void TSkinData::SetSkinStream(const QByteArray& Package) {
  FPackage = Package;
  if (!ComponentState().Contains(csDesigning)) Build();
}

void TSkinData::Build() {
  try {
    FModel.Build(FPackage);
    FReApplyPending = true;
  } catch (const ESkinError& E) {
    // A package this program cannot read leaves the current skin; the user hears why.
    const String title = Application ? Application->Title() : String();
    TDialogs::MessageBox(E.Message(), title, MB_OK | MB_ICONWARNING);
  }
}

void TSkinData::SetSkinFile(const String& Value) {
  FModel.SkinNotBuilt = true;
  FSkinFile = Value;
  if (ComponentState().Contains(csDesigning)) {
    FPackage.clear();
    return;
  }
  QFile file(Value);
  if (!QFileInfo(file).isFile()) return;
  if (!file.open(QIODevice::ReadOnly)) throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2").arg(Value, file.errorString()));
  FPackage = file.readAll();
  Build();
  if (!FModel.SkinNotBuilt && FSkinFormtype == sfMainform) ReApply();
}

void TSkinData::SetActive(bool Value) {
  if (Value == FActive) return;
  FActive = Value;
  if (ComponentState().Contains(csDesigning) || ComponentState().Contains(csLoading) || !FLoaded) return;
  TSkinManage* manager = TSkinManage::Create();
  switch (FSkinFormtype) {
    case sfOnlyThisForm:
      manager->SetTarget(this);
      if (Value && SkinNotBuilt()) return;
      manager->Post(Value ? TSkinManage::cmSkinForms : TSkinManage::cmUnskinAll, 250);
      return;
    case sfDialog:
    case sfDLL: return;
    case sfMainform:
      if (Value) {
        if (SkinNotBuilt()) return;
        manager->SetTarget(this);
        manager->Post(TSkinManage::cmSkinForms, 250);
        manager->MarkStarted();
      } else {
        manager->SetTarget(this);
        manager->Post(TSkinManage::cmUnskinAll, 250);
      }
      return;
  }
}

void TSkinData::Loaded() {
  TComponent::Loaded();
  if (ComponentState().Contains(csDesigning)) return;
  FLoaded = true;
  TSkinManage* manager = TSkinManage::Create();
  manager->RegisterComponent(this);
  if (FSkinFormtype != sfMainform) {
    manager->SetEnabled(true);
    manager->MarkStarted();
    if (auto* form = dynamic_cast<TCustomForm*>(Owner())) manager->SkinWindow(form);
  } else {
    manager->InstallHook();
    if (FActive) {
      if (SkinNotBuilt()) {
        FActive = false;
      } else {
        manager->SetTarget(this);
        manager->Post(TSkinManage::cmSkinForms, 250);
      }
    }
  }
  if (FSkinControls.Contains(xcMainMenu)) FSkinControls.Exclude(xcMenuItem);
  else FSkinControls.Exclude(xcSystemMenu);
  MakeAppIcon();
}

void TSkinData::MakeAppIcon() {
  const QIcon icon = QGuiApplication::windowIcon();
  if (icon.isNull()) return;
  const Integer w = GetSystemMetrics(SM_CXSMICON), h = GetSystemMetrics(SM_CYSMICON);
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(QColor(255, 0, 255));
  {
    QPainter p(&image);
    icon.paint(&p, QRect(0, 0, w, h));
  }
  FAppIcon.SetImage(image);
  FAppIcon.SetTransparentColor(TColor(0xFF00FF));
}

void TSkinData::ReApply() {
  if (ComponentState().Contains(csDesigning) || ComponentState().Contains(csReading)) return;
  if (!TSkinManage::Instance()) Loaded();
  TSkinManage* manager = TSkinManage::Instance();
  manager->SetTarget(this);
  manager->RefreshCaptionButtons();
  if (manager->Started() != TSkinManage::ssIdle) manager->Post(TSkinManage::cmReApply, 250);
}

bool TSkinData::MaySkin(const String& WindowClass, bool DoSkin) {
  if (OnFormSkin) OnFormSkin(this, WindowClass, DoSkin);
  else DoSkin = DoSkin && WindowClass != QStringLiteral("SysMonthCal32");
  return DoSkin;
}

void TSkinData::SkinChanged() {
  if (OnSkinChanged) OnSkinChanged(this);
}
