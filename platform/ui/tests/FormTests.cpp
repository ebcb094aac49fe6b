#include "UiTestSupport.h"
#include "platform/ui/Dialogs.h"
#include <gtest/gtest.h>

using namespace uitest;

namespace {

// A form that answers a private message by setting its modal result, so a test can queue
// the user's answer before the modal loop starts.
class TAnsweringForm : public TForm {
public:
  using TForm::TForm;
  static constexpr Cardinal WM_ANSWER = WM_USER + 7;
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_ANSWER) {
      if (Message.LParam) throw EConvertError(QStringLiteral("bad answer"));
      SetModalResult(TModalResult(Message.WParam));
      return;
    }
    TForm::Dispatch(Message);
  }
};

}  // namespace

TEST(ModalForms, ShowModalRunsUntilAResultAndAsksBeforeClosing) {
  TScriptedDialogs dialogs;
  TAnsweringForm form(nullptr);
  QStringList events;
  form.OnShow = [&](TObject*) {
    events << QStringLiteral("show");
    PostMessage(&form, TAnsweringForm::WM_ANSWER, 0, 1);  // a failing handler: reported, the loop goes on
    PostMessage(&form, TAnsweringForm::WM_ANSWER, mrOk);  // refused by the close query
  };
  form.OnHide = [&](TObject*) { events << QStringLiteral("hide"); };
  Integer asked = 0;
  form.OnCloseQuery = [&](TObject*, bool& CanClose) {
    CanClose = ++asked > 1;
    if (!CanClose) PostMessage(&form, TAnsweringForm::WM_ANSWER, mrYes);
  };
  EXPECT_EQ(form.ShowModal(), mrYes);
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(events, QStringList({"show", "hide"}));
  EXPECT_FALSE(form.Visible());
  EXPECT_EQ(dialogs.Log(), std::vector<String>({QStringLiteral("MessageBox : bad answer")}));

  // Close on a modal form answers Cancel; a visible form cannot become modal.
  form.OnCloseQuery = nullptr;
  form.OnShow = [&](TObject*) { form.Close(); };
  EXPECT_EQ(form.ShowModal(), mrCancel);
  form.OnShow = nullptr;
  form.Show();
  EXPECT_THROW(form.ShowModal(), EInvalidOperation);
}

TEST(ModalForms, CloseOfAModelessFormFollowsTheCloseAction) {
  TForm form(nullptr);
  form.Show();
  TCloseAction action = caNone;
  form.OnClose = [&](TObject*, TCloseAction& A) { A = action; };
  form.Close();
  EXPECT_TRUE(form.Visible());
  action = caHide;
  form.Close();
  EXPECT_FALSE(form.Visible());
  EXPECT_FALSE(Application->Terminated());
}

TEST(Dialogs, ScriptedAnswersInOrderAndUnscriptedDialogsNeverBlock) {
  TScriptedDialogs dialogs;
  dialogs.AnswerMessageBox(IDYES);
  dialogs.AnswerInput(QStringLiteral("2024年05月"));
  dialogs.CancelInput();
  dialogs.AnswerFile(QStringLiteral("/tmp/out.xls"));
  EXPECT_EQ(TDialogs::MessageBox(QStringLiteral("删除吗？"), QStringLiteral("确认"), MB_YESNO | MB_ICONWARNING), IDYES);
  EXPECT_EQ(TDialogs::InputBox(QStringLiteral("月份"), QStringLiteral("请输入月份："), QStringLiteral("x")), QStringLiteral("2024年05月"));
  EXPECT_EQ(TDialogs::InputBox(QStringLiteral("月份"), QStringLiteral("请输入月份："), QStringLiteral("x")), QStringLiteral("x"));
  TFileDialogRequest save;
  save.Kind = fdSave;
  save.Title = QStringLiteral("导出");
  EXPECT_TRUE(TDialogs::ChooseFile(save));
  EXPECT_EQ(save.FileName, QStringLiteral("/tmp/out.xls"));
  EXPECT_TRUE(dialogs.ScriptDone());

  String password = QStringLiteral("old");
  EXPECT_FALSE(TDialogs::PasswordQuery(QStringLiteral("密码"), QStringLiteral("请输入登陆密码："), password));
  EXPECT_EQ(password, QStringLiteral("old"));
  EXPECT_EQ(TDialogs::MessageDlg(QStringLiteral("?"), mtConfirmation, {mbYes, mbNo}), mrNo);
  EXPECT_EQ(dialogs.Unexpected(), 2);
  EXPECT_EQ(dialogs.Log().back(), QStringLiteral("MessageBox Confirm: ?"));
}
