#include "platform/ui/Dialogs.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DialogForms.h"
#include "platform/ui/FileDialogForms.h"
#include "platform/ui/StdCtrls.h"
#include <QApplication>

namespace {

// Every box is a form of the layer, so that it is skinned like every other form.
class TFormDialogResponder : public TDialogResponder {
public:
  Integer MessageBox(const TMessageBoxRequest& Request) override {
    TMessageForm box(Request);
    box.ShowModal();
    return box.Answer();
  }

  bool Input(TInputRequest& Request) override {
    TInputForm box(Request);
    if (box.ShowModal() != mrOk) return false;
    Request.Value = box.Edit()->Text();
    return true;
  }

  bool ChooseFile(TFileDialogRequest& Request) override {
    TFileForm box(Request);
    if (box.ShowModal() != mrOk) return false;
    Request.FileName = box.FileName();
    if (!Request.Filter.isEmpty()) Request.FilterIndex = box.FilterIndex();
    return true;
  }

  bool ChooseFolder(TFolderRequest& Request) override {
    TFolderForm box(Request);
    if (box.ShowModal() != mrOk) return false;
    Request.Directory = box.Chosen();
    return true;
  }
};

TDialogResponder*& Installed() {
  static TDialogResponder* responder = nullptr;
  return responder;
}

}  // namespace

TDialogResponder& TDialogs::Responder() {
  static TFormDialogResponder formResponder;
  return Installed() ? *Installed() : formResponder;
}

TDialogResponder* TDialogs::SetResponder(TDialogResponder* Value) {
  TDialogResponder* previous = Installed();
  Installed() = Value;
  return previous;
}

Integer TDialogs::MessageBox(const String& Text, const String& Caption, Cardinal Flags) {
  return Responder().MessageBox({Text, Caption, Flags});
}

Integer TDialogs::MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons) {
  static const Cardinal icons[] = {MB_ICONWARNING, MB_ICONERROR, MB_ICONINFORMATION, MB_ICONQUESTION, 0};
  static const char* const captions[] = {"警告", "错误", "信息", "确认", ""};
  Cardinal flags = icons[DlgType];
  const bool yes = Buttons.Contains(mbYes), no = Buttons.Contains(mbNo), ok = Buttons.Contains(mbOK),
             cancel = Buttons.Contains(mbCancel);
  if (yes && no && cancel) flags |= MB_YESNOCANCEL;
  else if (yes && no && Buttons.Contains(mbAll)) flags |= MB_YESNOALL;
  else if (yes && no) flags |= MB_YESNO;
  else if (Buttons.Contains(mbAbort) && Buttons.Contains(mbRetry)) flags |= MB_ABORTRETRYIGNORE;
  else if (Buttons.Contains(mbRetry) && cancel) flags |= MB_RETRYCANCEL;
  else if (ok && cancel) flags |= MB_OKCANCEL;
  // Button ids and modal results share their numbers.
  return MessageBox(Msg, QString::fromUtf8(captions[DlgType]), flags);
}

// Titled with the program's title (the application's display name), not its file name.
void TDialogs::ShowMessage(const String& Msg) { MessageBox(Msg, QApplication::applicationDisplayName(), MB_OK); }

String TDialogs::InputBox(const String& Caption, const String& Prompt, const String& Default) {
  String value = Default;
  return InputQuery(Caption, Prompt, value) ? value : Default;
}

namespace {

bool AskInput(const String& Caption, const String& Prompt, String& Value, bool Password) {
  TInputRequest request{Caption, Prompt, Value, Password};
  if (!TDialogs::Responder().Input(request)) return false;
  Value = request.Value;
  return true;
}

}  // namespace

bool TDialogs::InputQuery(const String& Caption, const String& Prompt, String& Value) { return AskInput(Caption, Prompt, Value, false); }

bool TDialogs::PasswordQuery(const String& Caption, const String& Prompt, String& Value) { return AskInput(Caption, Prompt, Value, true); }

bool TDialogs::SelectDirectory(const String& Caption, const String& Root, String& Directory,
                               TWinControl* Owner) {
  TFolderRequest request{Caption, Root, Directory, Owner};
  if (!Responder().ChooseFolder(request)) return false;
  Directory = request.Directory;
  return true;
}

// ---- scripted answers

TScriptedDialogs::TScriptedDialogs() : FPrevious(TDialogs::SetResponder(this)) {}

TScriptedDialogs::~TScriptedDialogs() { TDialogs::SetResponder(FPrevious); }

bool TScriptedDialogs::Next(TAnswer::TKind Kind, TAnswer& Answer) {
  if (FScript.empty() || FScript.front().Kind != Kind) {
    ++FUnexpected;
    return false;
  }
  Answer = FScript.front();
  FScript.pop_front();
  return true;
}

Integer TScriptedDialogs::MessageBox(const TMessageBoxRequest& Request) {
  FLog.push_back(QStringLiteral("MessageBox %1: %2").arg(Request.Caption, Request.Text));
  TAnswer a{};
  if (Next(TAnswer::kMessage, a)) return a.Id;
  switch (Request.Flags & 0xF) {
    case MB_OK: return IDOK;
    case MB_YESNO:
    case MB_YESNOALL: return IDNO;
    default: return IDCANCEL;
  }
}

bool TScriptedDialogs::AnswerText(int Kind, const String& LogLine, String& Text) {
  FLog.push_back(LogLine);
  TAnswer a{};
  if (!Next(TAnswer::TKind(Kind), a) || !a.Ok) return false;
  Text = a.Text;
  return true;
}

bool TScriptedDialogs::Input(TInputRequest& Request) {
  return AnswerText(TAnswer::kInput, QStringLiteral("Input %1: %2").arg(Request.Caption, Request.Prompt), Request.Value);
}

bool TScriptedDialogs::ChooseFile(TFileDialogRequest& Request) {
  return AnswerText(TAnswer::kFile, QStringLiteral("File %1").arg(Request.Title), Request.FileName);
}

bool TScriptedDialogs::ChooseFolder(TFolderRequest& Request) {
  return AnswerText(TAnswer::kFolder, QStringLiteral("Folder %1").arg(Request.Caption), Request.Directory);
}
