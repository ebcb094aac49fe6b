#include "app/ProcessSignals.h"
#include "app/uDM.h"
#include "app/uMain.h"
#include "platform/ui/QtTranslations.h"
#include "platform/ui/SystemColors.h"
#include <QApplication>
#include <QTimer>

namespace {

// With MOLI_SCREENSHOT set, the main window is saved to that file once it
// shows and wears its skin, and the program ends before the backup-folder
// check (a second after the first activation) can ask anything; ExitCode
// becomes 1 when the file cannot be written. The skin may make the form's
// window anew, so the window is looked up when the time comes.
void ScreenshotOnceShown(TfrmMainGZT* Form, int& ExitCode) {
  const QString FileName = qEnvironmentVariable("MOLI_SCREENSHOT");
  if (FileName.isEmpty()) return;
  QTimer::singleShot(800, QCoreApplication::instance(), [Form, FileName, &ExitCode] {
    if (!Form->Handle()->grab().save(FileName)) ExitCode = 1;
    Application->Terminate();
  });
}

}  // namespace

// The data module comes first, so that the main window finds the database
// connected; both are freed in the opposite order when the main window closes.
int main(int argc, char** argv) {
  IgnoreFileSizeSignal();
  QApplication QtApplication(argc, argv);
  SetSystemTable(PaletteSystemTable());
  InstallQtTranslations();
  Application->SetTitle(QString::fromUtf8("墨鲤工资条打印软件"));
  try {
    DM = new TDM(Application);
    frmMainGZT = new TfrmMainGZT(Application);
    Application->SetMainForm(frmMainGZT);
  } catch (...) {
    // A program that cannot start reports why before it ends.
    Application->HandleException(nullptr);
    return 1;
  }
  int ExitCode = 0;
  ScreenshotOnceShown(frmMainGZT, ExitCode);
  Application->Run();
  delete frmMainGZT;
  frmMainGZT = nullptr;
  delete DM;
  DM = nullptr;
  return ExitCode;
}
