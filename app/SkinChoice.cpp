#include "app/SkinChoice.h"
#include "app/AppMessages.h"
#include "app/uPub.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/SysUtils.h"
#include "skin/SkinData.h"
#include <QFile>

void InstallSkinFile(const String& Source, const String& Target) {
  QFile File(Source);
  if (!File.open(QIODevice::ReadOnly))
    throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2").arg(Source, File.errorString()));
  const QByteArray Package = File.readAll();
  // Building the whole model is the test that the file is a skin this program can show.
  TSkinModel Model;
  Model.Build(Package);
  AtomicWriteFile(Target, Package);
}

void ChooseSkin(Integer Number, TSkinData* SkinData) {
  const String Folder = Settings().GAppPath;
  const String Target = ResolvePath(Folder, QStringLiteral("RPT/Skin.Skn"));
  try {
    InstallSkinFile(ResolvePath(Folder, QStringLiteral("RPT/Skin%1.skn").arg(Number)), Target);
    SkinData->SetSkinFile(Target);
    SkinData->SetActive(false);
    SkinData->SetActive(true);
  } catch (const Exception& E) {
    ShowAppMessage(QStringLiteral("复制文件发生错误！\n") + E.Message());
    return;
  }
  ShowAppMessage(QStringLiteral("部分色彩重新启动本软件后生效！"));
}
