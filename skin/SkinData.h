#pragma once
// The skin component a program places on its main form: it holds the packed skin and the
// model built from it, and the settings that decide what is skinned; at run time it makes
// the one skin manager and hands it commands.
#include "platform/ui/Controls.h"
#include "skin/SkinModel.h"
#include <memory>

class TStringList;
class TStrings;
class TSkinData;

// Bit positions are fixed: skin settings store them as a number.
enum TSkinControlType { xcMainMenu, xcPopupMenu, xcMenuItem, xcToolbar, xcControlbar, xcCombo, xcCheckBox,
                        xcRadioButton, xcProgress, xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcSpin,
                        xcPanel, xcGroupBox, xcStatusBar, xcTab, xcTrackBar, xcSystemMenu };
using TSkinControlTypes = TSet<TSkinControlType>;
enum TSkinOption { xoMDIScrollbar, xoMenuMerge, xoTransparent, xoPreview, xoParentBackGround, xoNoFocusRect,
                   xoToolbarBK };
using TSkinOptions = TSet<TSkinOption>;
enum TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog, sfDLL };

// aName is the class name of the window about to be skinned; DoSkin := false refuses it.
using TOnFormSkin = std::function<void(TObject* Sender, const String& aName, bool& DoSkin)>;
// Asked before a control gets a painter; a painter returned in SkinnedControl is used instead.
using TOnSkinControl = std::function<void(TComponent* Sender, TSkinData* SkinData, TWinControl* Form,
                                          TControl* Control, const String& ControlClass,
                                          TComponent*& SkinnedControl)>;

class TSkinData : public TComponent {
public:
  explicit TSkinData(TComponent* AOwner);
  ~TSkinData() override;
  String ClassName() const override { return QStringLiteral("TSkinData"); }

  // Switches skinning on or off through the manager's command timer; nothing when unchanged.
  bool Active() const { return FActive; }
  void SetActive(bool Value);
  // Loads and builds the skin file when it exists. A file this program cannot read is
  // reported to the user and the current skin stays; a missing file is not reported.
  const String& SkinFile() const { return FSkinFile; }
  void SetSkinFile(const String& Value);
  // The held package; assigning one at run time builds it at once (as a form description does).
  const QByteArray& SkinStream() const { return FPackage; }
  void SetSkinStream(const QByteArray& Package);
  String SkinStore() const;
  String Version() const { return QStringLiteral("20051001"); }

  Integer DisableTag() const { return FDisableTag; }
  void SetDisableTag(Integer Value) { FDisableTag = Value; }
  TSkinControlTypes SkinControls() const { return FSkinControls; }
  void SetSkinControls(TSkinControlTypes Value) { FSkinControls = Value; }
  TSkinOptions Options() const { return FOptions; }
  void SetOptions(TSkinOptions Value) { FOptions = Value; }
  TSkinFormType SkinFormtype() const { return FSkinFormtype; }
  void SetSkinFormtype(TSkinFormType Value) { FSkinFormtype = Value; }
  bool MenuUpdate() const { return FMenuUpdate; }
  void SetMenuUpdate(bool Value) { FMenuUpdate = Value; }
  bool MenuMerge() const { return FMenuMerge; }
  void SetMenuMerge(bool Value) { FMenuMerge = Value; }
  // Extra class-to-painter lines "ClassName=kind".
  TStrings* Skin3rd() const;
  void SetSkin3rd(TStrings* Value);

  TOnFormSkin OnFormSkin;
  TNotifyEvent OnSkinChanged;
  TOnSkinControl OnSkinControl;

  const TSkinModel& Model() const { return FModel; }
  TSkinModel& Model() { return FModel; }
  bool SkinNotBuilt() const { return FModel.SkinNotBuilt; }
  // The application's small icon on magenta; empty while the application has none.
  const TBitmap& AppIcon() const { return FAppIcon; }
  // A build happened that forms skinned earlier have not been re-applied to yet.
  bool ReApplyPending() const { return FReApplyPending; }
  void SetReApplyPending(bool Value) { FReApplyPending = Value; }

  // Makes the manager when needed, registers with it and starts skinning as the form type
  // says; run once the component's properties are set.
  void Loaded() override;
  // Rebuilds the caption buttons of the forms skinned with this component and asks the
  // manager to re-apply the skin to them.
  void ReApply();
  // Whether a window of that class may be skinned, DoSkin being the manager's answer so far:
  // OnFormSkin decides from it, else it stands for every class but "SysMonthCal32".
  bool MaySkin(const String& WindowClass, bool DoSkin);
  void SkinChanged();

private:
  void Build();
  void MakeAppIcon();
  bool FActive = false;
  String FSkinFile;
  QByteArray FPackage;
  Integer FDisableTag = 99;
  TSkinControlTypes FSkinControls;
  TSkinOptions FOptions{xoPreview};
  TSkinFormType FSkinFormtype = sfMainform;
  bool FMenuUpdate = true;
  bool FMenuMerge = false;
  bool FLoaded = false;
  bool FReApplyPending = false;
  std::unique_ptr<TStringList> FSkin3rd;
  TSkinModel FModel;
  TBitmap FAppIcon;
};
