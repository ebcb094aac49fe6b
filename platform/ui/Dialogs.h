#pragma once
// Every modal question to the user goes through one service: message boxes, input boxes,
// password queries and file and folder choice. The program answers with dialog-box forms of
// the layer (DialogForms.h, FileDialogForms.h); tests install TScriptedDialogs, which answers
// from a script and never blocks.
#include "platform/rtl/Classes.h"
#include <deque>

class TWinControl;

constexpr Cardinal MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_ABORTRETRYIGNORE = 0x2, MB_YESNOCANCEL = 0x3, MB_YESNO = 0x4,
                   MB_RETRYCANCEL = 0x5, MB_YESNOALL = 0x7, MB_ICONERROR = 0x10, MB_ICONSTOP = 0x10, MB_ICONHAND = 0x10,
                   MB_ICONQUESTION = 0x20, MB_ICONWARNING = 0x30, MB_ICONEXCLAMATION = 0x30,
                   MB_ICONINFORMATION = 0x40, MB_ICONASTERISK = 0x40, MB_DEFBUTTON1 = 0x0, MB_DEFBUTTON2 = 0x100,
                   MB_DEFBUTTON3 = 0x200;
constexpr Integer IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7, IDALL = 8;

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };
using TMsgDlgButtons = TSet<TMsgDlgBtn>;

struct TMessageBoxRequest {
  String Text;
  String Caption;
  Cardinal Flags = MB_OK;  // buttons, icon and default button
};

struct TInputRequest {
  String Caption;
  String Prompt;
  String Value;  // proposed on the way in, entered on the way out
  bool Password = false;
};

enum TFileDialogKind { fdOpen, fdSave };

struct TFileDialogRequest {
  TFileDialogKind Kind = fdOpen;
  String Title;
  // Pairs of description and pattern separated by '|': "Text files (*.txt)|*.txt|All files|*.*".
  String Filter;
  Integer FilterIndex = 1;  // 1-based
  String DefaultExt;        // without the dot
  String InitialDir;
  String FileName;          // proposed on the way in, chosen on the way out
};

struct TFolderRequest {
  String Caption;
  String Root;
  String Directory;  // proposed on the way in, chosen on the way out
  TWinControl* Owner = nullptr;  // the window the dialog stays above; the active window when none
};

class TDialogResponder {
public:
  virtual ~TDialogResponder() = default;
  // Returns the IDxxx code of the button pressed.
  virtual Integer MessageBox(const TMessageBoxRequest& Request) = 0;
  virtual bool Input(TInputRequest& Request) = 0;
  virtual bool ChooseFile(TFileDialogRequest& Request) = 0;
  virtual bool ChooseFolder(TFolderRequest& Request) = 0;
};

class TDialogs {
public:
  // The responder in use; the layer's dialog forms unless another is installed.
  static TDialogResponder& Responder();
  // Installs Value (not owned; nullptr restores the dialog forms) and returns the previous one.
  static TDialogResponder* SetResponder(TDialogResponder* Value);

  static Integer MessageBox(const String& Text, const String& Caption, Cardinal Flags);
  // Returns the mrXxx code of the button pressed.
  static Integer MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons);
  static void ShowMessage(const String& Msg);
  // The entered text, or Default when the user cancels.
  static String InputBox(const String& Caption, const String& Prompt, const String& Default);
  static bool InputQuery(const String& Caption, const String& Prompt, String& Value);
  static bool PasswordQuery(const String& Caption, const String& Prompt, String& Value);
  static bool ChooseFile(TFileDialogRequest& Request) { return Responder().ChooseFile(Request); }
  static bool SelectDirectory(const String& Caption, const String& Root, String& Directory,
                              TWinControl* Owner = nullptr);
};

// Answers dialogs from a script, in order, and records every request. A dialog nobody
// scripted is answered with Cancel (or No, or false) and counted in Unexpected.
class TScriptedDialogs : public TDialogResponder {
public:
  TScriptedDialogs();   // installs itself
  ~TScriptedDialogs() override;  // restores the previous responder
  TScriptedDialogs(const TScriptedDialogs&) = delete;
  TScriptedDialogs& operator=(const TScriptedDialogs&) = delete;

  void AnswerMessageBox(Integer Id) { FScript.push_back({TAnswer::kMessage, Id, {}, true}); }
  void AnswerInput(const String& Value) { FScript.push_back({TAnswer::kInput, 0, Value, true}); }
  void CancelInput() { FScript.push_back({TAnswer::kInput, 0, {}, false}); }
  void AnswerFile(const String& FileName) { FScript.push_back({TAnswer::kFile, 0, FileName, true}); }
  void CancelFile() { FScript.push_back({TAnswer::kFile, 0, {}, false}); }
  void AnswerFolder(const String& Directory) { FScript.push_back({TAnswer::kFolder, 0, Directory, true}); }

  // "MessageBox <caption>: <text>", "Input <caption>: <prompt>", "File <title>", "Folder <caption>".
  const std::vector<String>& Log() const { return FLog; }
  Integer Unexpected() const { return FUnexpected; }
  bool ScriptDone() const { return FScript.empty(); }

  Integer MessageBox(const TMessageBoxRequest& Request) override;
  bool Input(TInputRequest& Request) override;
  bool ChooseFile(TFileDialogRequest& Request) override;
  bool ChooseFolder(TFolderRequest& Request) override;
private:
  struct TAnswer {
    enum TKind { kMessage, kInput, kFile, kFolder } Kind;
    Integer Id;
    String Text;
    bool Ok;
  };
  bool Next(TAnswer::TKind Kind, TAnswer& Answer);
  // Logs the request and puts the next scripted text of that kind into Text.
  bool AnswerText(int Kind, const String& LogLine, String& Text);
  std::deque<TAnswer> FScript;
  std::vector<String> FLog;
  Integer FUnexpected = 0;
  TDialogResponder* FPrevious;
};
