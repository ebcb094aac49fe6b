#include "app/AppMessages.h"
#include "platform/ui/Dialogs.h"

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
    TDialogs::ShowMessage(Text);
}

TShowMessageProc SetShowMessageProc(TShowMessageProc Proc) {
  TShowMessageProc Previous = std::move(CurrentProc());
  CurrentProc() = std::move(Proc);
  return Previous;
}
