#pragma once
// Shared pieces of the skinned-window tests: the shipped skins, a skin component started as
// the program starts its own, and a test form with a menu, a panel and a group box.
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"
#include "skin/SkinData.h"
#include "skin/SkinForm.h"
#include "skin/SkinManage.h"
#include <QImage>
#include <functional>
#include <memory>

namespace skintest {

QString RptFolder();
// The package of the program's skin k (1 to 5).
QByteArray ShippedSkin(int k);

// A fresh manager and a main-form skin component holding skin k, loaded and active, as the
// program's main window makes it; the layer's exceptions are collected.
class TSkinSession {
public:
  explicit TSkinSession(int Skin) : TSkinSession(ShippedSkin(Skin)) {}
  explicit TSkinSession(const QByteArray& Package);
  ~TSkinSession();
  TSkinManage* Manager() const { return TSkinManage::Instance(); }
  std::unique_ptr<TSkinData> Data;
  QStringList Exceptions;
private:
  TExceptionEvent FPreviousHandler;
};

// A form with a caption, a menu, a panel and a group box.
class TTestForm : public TForm {
public:
  explicit TTestForm(TComponent* AOwner);
  TMainMenu* MainMenu;
};

// Shows the form and runs events until its skinning is finished; the form's skinned-form
// object, or nullptr when the manager refused it.
TSkinForm* ShowSkinned(TCustomForm* Form);
void ProcessEventsUntil(const std::function<bool()>& Done);
QImage Grab(QWidget* Widget);
// Writes the image into the folder MOLI_ARTIFACTS names, when it is set.
void SaveArtifact(const QImage& Image, const QString& Name);
// Sends a frame mouse message at the window point P of Form.
LRESULT FrameMouse(TCustomForm* Form, Cardinal Msg, TPoint P, LRESULT Hit = HTCAPTION);
LRESULT HitTest(TCustomForm* Form, TPoint P);

}  // namespace skintest
