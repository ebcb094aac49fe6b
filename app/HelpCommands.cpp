#include "app/HelpCommands.h"
#include "app/AppMessages.h"
#include "app/uPub.h"
#include "platform/rtl/Files.h"

namespace {

void OpenProgramFile(const String& Relative, const String& Missing, const std::function<void(const String&)>& Open) {
  const String FileName = ResolvePath(Settings().GAppPath, Relative);
  if (!FileExists(FileName)) {
    ShowAppMessage(Missing + FileName);
    return;
  }
  Open(FileName);
}

}  // namespace

void OpenTutorial() {
  OpenProgramFile(QStringLiteral("Help/Tessaly.htm"), QStringLiteral("找不到教程文件："), OpenUrlInBrowser);
}

void StartUpdater() {
  OpenProgramFile(QStringLiteral("LiveUpdate"), QStringLiteral("找不到升级程序："),
                  [](const String& FileName) { ShellOpen(FileName, String()); });
}
