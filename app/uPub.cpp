#include "app/uPub.h"
#include "app/AppMessages.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/Encodings.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

String AmountFormat() {
  return Settings().GShowFloat != 0 ? QStringLiteral("0.00") : QStringLiteral("0");
}

Integer FindStringIndex(TStrings* List, const String& Text, bool Prefix) {
  for (Integer i = 0; i < List->Count(); ++i) {
    const String Item = List->Strings(i);
    if (Prefix ? Item.startsWith(Text) : Item == Text) return i;
  }
  return -1;
}

void CopyFileByStream(const String& Source, const String& Target) {
  TFileStream Input(Source, fmOpenRead | fmShareDenyWrite);
  TFileStream Output(Target, fmCreate);
  Output.CopyFrom(&Input, 0);
}

String NormalizeNumText(const String& Text) {
  String Result = Text;
  Result.remove(u' ');
  if (Result == QLatin1String(".") || Result == QLatin1String(".0")) return QStringLiteral("0.0");
  if (Result.endsWith(u'.')) Result.chop(1);
  if (Result.isEmpty()) return QStringLiteral("0");
  return Result;
}

String PadLeftZeros(const String& Text, Integer Width) {
  if (Text.size() >= Width) return Text;
  return String(Width - Text.size(), u'0') + Text;
}

Integer CountSubStr(const String& Part, const String& Text) {
  if (Part.isEmpty()) return 0;
  Integer Count = 0;
  for (qsizetype At = Text.indexOf(Part); At >= 0; At = Text.indexOf(Part, At + Part.size())) ++Count;
  return Count;
}

namespace {

QUrl UrlOf(const String& Target) {
  return QUrl::fromUserInput(Target, QDir::currentPath(), QUrl::AssumeLocalFile);
}

}  // namespace

void OpenUrlInBrowser(const String& Address) {
  if (!QDesktopServices::openUrl(UrlOf(Address)))
    ShowAppMessage(QStringLiteral("系统中没有可以打开“") + Address + QStringLiteral("”的程序，请安装网页浏览器后再试。"));
}

namespace {
TShellOpenProc& ShellOpenProc() {
  static TShellOpenProc Proc;
  return Proc;
}
}  // namespace

TShellOpenProc SetShellOpenProc(TShellOpenProc Proc) {
  TShellOpenProc Previous = std::move(ShellOpenProc());
  ShellOpenProc() = std::move(Proc);
  return Previous;
}

void ShellOpen(const String& FileName, const String& Parameters) {
  if (ShellOpenProc()) {
    ShellOpenProc()(FileName, Parameters);
    return;
  }
  const QFileInfo Info(FileName);
  const String Program = Info.isFile() && Info.isExecutable() ? Info.absoluteFilePath()
                                                               : QStandardPaths::findExecutable(FileName);
  if (Program.isEmpty())
    QDesktopServices::openUrl(UrlOf(FileName));
  else
    QProcess::startDetached(Program, QProcess::splitCommand(Parameters));
}

void DelayWithMessages(Cardinal Milliseconds) {
  const auto Start = GetTickCount();
  // Wakes the wait below when no event arrives before the time is up.
  QTimer Wake;
  Wake.setSingleShot(true);
  for (;;) {
    const auto Elapsed = GetTickCount() - Start;
    if (Elapsed > Milliseconds) return;
    Wake.start(int(Milliseconds - Elapsed + 1));
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  }
}

bool BrowseForFolder(TWinControl* Owner, const String& Title, const String& Root, String& Path) {
  String Chosen;
  const bool Ok = TDialogs::SelectDirectory(Title, Root, Chosen, Owner);
  Path = Ok ? Chosen : String();
  return Ok;
}

void EnterToNextControl(TControl* Control, Word Key, TShiftState Shift) {
  if (Key != VK_RETURN) return;
  TCustomForm* Form = GetParentForm(Control);
  // A form that has no window has no focus to move.
  if (!Form || !Form->HandleAllocated()) return;
  const TControl* Focus = Control == Form ? Form->ActiveControl() : Control;
  if (dynamic_cast<const TCustomMemo*>(Focus) && !Shift.Contains(ssCtrl)) return;
  // The move waits until the key is handled, so the key does not act on the
  // control that receives the focus. The window is the guard: a form that goes
  // in the meantime takes the pending move with it.
  QPointer<QWidget> Window = Form->Handle();
  QMetaObject::invokeMethod(
      Window,
      [Window] {
        auto* Target = dynamic_cast<TCustomForm*>(FindControl(Window));
        if (!Target) return;
        try {
          Target->SelectNext(Target->ActiveControl(), true, true);
        } catch (...) {
          // Runs from Qt's queue: no exception may cross its event loop.
          Application->HandleException(Target);
        }
      },
      Qt::QueuedConnection);
}

void ClearFolder(const String& Folder) {
  QDirIterator Files(Folder, QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                     QDirIterator::Subdirectories);
  while (Files.hasNext()) QFile::remove(Files.next());
}

String PadRight(const String& Text, Integer Width) {
  const Integer Used = DisplayWidth(Text);
  return Used >= Width ? Text : Text + String(Width - Used, u' ');
}

bool IsEmailAddress(const String& Text) {
  const qsizetype At = Text.indexOf(u'@');
  if (At <= 0) return false;
  // A dot before the "@" is common in mailbox names ("li.ming@corp.com"); the
  // domain is what must hold one.
  const qsizetype Dot = Text.indexOf(u'.', At + 1);
  return Dot > At && Dot < Text.size() - 1;
}
