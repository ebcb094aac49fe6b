#include "app/AppMessages.h"
#include <QApplication>
#include <QMessageBox>

namespace {

TShowMessageProc& CurrentProc() {
  static TShowMessageProc Proc;
  return Proc;
}

}  // namespace

void ShowAppMessage(const String& Text) {
  if (CurrentProc())
    CurrentProc()(Text);
  else
    QMessageBox::information(QApplication::activeWindow(), QApplication::applicationName(), Text);
}

TShowMessageProc SetShowMessageProc(TShowMessageProc Proc) {
  TShowMessageProc Previous = std::move(CurrentProc());
  CurrentProc() = std::move(Proc);
  return Previous;
}
