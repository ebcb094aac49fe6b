// Backup, restore and clearing of the payroll data from the main window, and
// the toolbar's close with its offer of a backup.
#include "app/AppMessages.h"
#include "app/DataBackup.h"
#include "app/LoginPassword.h"
#include "app/uDM.h"
#include "app/uMain.h"
#include "app/uReBulid.h"
#include "platform/rtl/Files.h"
#include "platform/ui/Dialogs.h"
#include <QDir>

namespace {

String TodaysArchiveName() { return FormatDateTime(QStringLiteral("yyyyMMdd"), Now()) + QStringLiteral(".GZBK"); }

// Backs the data folder up into ArchiveName; a failure is shown with its reason.
bool BackupTo(const String& ArchiveName) {
  try {
    BackupDataFolder(*DM->ADOLocal, Settings().GAppPath, ArchiveName);
    return true;
  } catch (const Exception& E) {
    ShowAppMessage(QStringLiteral("备份文件发生错误，确认目标位置可写入！\n") + E.Message());
    return false;
  }
}

}  // namespace

void TfrmMainGZT::MenuItem1Click(TObject*) {
  const String Folder = ResolvePath(Settings().GAppPath, QStringLiteral("Bak"));
  TFileDialogRequest Request;
  Request.Kind = fdSave;
  Request.Title = QStringLiteral(" 存储工资条数据库");
  Request.Filter = QStringLiteral("工资条数据库备份(*.GZBK)|*.GZBK");
  Request.DefaultExt = QStringLiteral("GZBK");
  Request.InitialDir = Folder;
  Request.FileName = QDir(Folder).filePath(TodaysArchiveName());
  if (!TDialogs::ChooseFile(Request)) return;
  if (BackupTo(Request.FileName)) ShowAppMessage(QStringLiteral("数据文件备份成功！"));
}

void TfrmMainGZT::ToolButton2Click(TObject*) {
  const String Folder = Settings().GAutoBakPath;
  if (!Folder.isEmpty() && QDir(Folder).exists()) {
    const String ArchiveName = QDir(Folder).filePath(TodaysArchiveName());
    const String Question =
        QStringLiteral("是否立即备份文件到：") + QDir::toNativeSeparators(ArchiveName) +
        QStringLiteral(" ?\n由于磁盘存在整体损坏的可能性，建议定期将备份的数据文件，复制到其他电脑或U盘进行异机备份。");
    if (TDialogs::MessageBox(Question, Application->Title(), MB_YESNO | MB_ICONINFORMATION) == IDYES &&
        !BackupTo(ArchiveName))
      return;
  }
  Close();
}

void TfrmMainGZT::MenuItem2Click(TObject*) {
  if (!CheckPassword(QStringLiteral("请输入登陆/管理密码："))) return;
  TFileDialogRequest Request;
  Request.Kind = fdOpen;
  Request.Title = QStringLiteral("选择工资条数据备份文件");
  Request.Filter = QStringLiteral("工资条数据备份(*.GZBK)|*.GZBK");
  Request.DefaultExt = QStringLiteral("GZBK");
  if (!TDialogs::ChooseFile(Request)) return;
  try {
    RestoreDataFolder(*DM->ADOLocal, Settings().GAppPath, Request.FileName);
    ShowAppMessage(QStringLiteral("还原数据成功，软件将关闭，请手工重新启动系统。"));
  } catch (const Exception& E) {
    ShowAppMessage(QStringLiteral("数据文件还原失败，确认选择的文件是本系统自动升级文件，或该自动升级文件已损坏！\n"
                                  "原有数据没有改变。（") +
                   E.Message() + QStringLiteral("）\n软件将关闭，请手工重新启动系统。"));
  }
  EndProcess();
}

void TfrmMainGZT::N2Click(TObject*) {
  if (!CheckPassword(QStringLiteral("请输入登陆/管理密码："))) return;
  if (ShowReBulid())
    EndProcess();
  else
    ReadyMonth();
}
