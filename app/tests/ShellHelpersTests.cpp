#include "app/AppMessages.h"
#include "app/uPub.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include <QApplication>
#include <QKeyEvent>
#include <gtest/gtest.h>

namespace {

// Answers the folder question as told and keeps what it was asked.
class TFolderAnswer : public TDialogResponder {
public:
  TFolderAnswer(bool Ok, const String& Directory) : FOk(Ok), FDirectory(Directory), FPrevious(TDialogs::SetResponder(this)) {}
  ~TFolderAnswer() override { TDialogs::SetResponder(FPrevious); }
  Integer MessageBox(const TMessageBoxRequest&) override { return IDCANCEL; }
  bool Input(TInputRequest&) override { return false; }
  bool ChooseFile(TFileDialogRequest&) override { return false; }
  bool ChooseFolder(TFolderRequest& Request) override {
    Asked.push_back(Request);
    if (FOk) Request.Directory = FDirectory;
    return FOk;
  }
  std::vector<TFolderRequest> Asked;
private:
  bool FOk;
  String FDirectory;
  TDialogResponder* FPrevious;
};

TEST(ShellHelpers, BrowseForFolderGivesTheChosenFolderOrNothing) {
  const String Title = QStringLiteral("选择自动备份文件保存的目标路径");
  {
    TFolderAnswer Answer(true, QStringLiteral("/home/user/备份"));
    TForm Owner(nullptr);
    String Path;
    EXPECT_TRUE(BrowseForFolder(&Owner, Title, QStringLiteral("/home"), Path));
    EXPECT_EQ(Path, QStringLiteral("/home/user/备份"));
    ASSERT_EQ(Answer.Asked.size(), 1u);
    EXPECT_EQ(Answer.Asked[0].Caption, Title);
    EXPECT_EQ(Answer.Asked[0].Root, QStringLiteral("/home"));
    EXPECT_EQ(Answer.Asked[0].Owner, &Owner);
  }
  TFolderAnswer Cancel(false, QString());
  String Path = QStringLiteral("/left/over");
  EXPECT_FALSE(BrowseForFolder(nullptr, Title, QString(), Path));
  EXPECT_TRUE(Path.isEmpty());
  ASSERT_EQ(Cancel.Asked.size(), 1u);
  EXPECT_TRUE(Cancel.Asked[0].Root.isEmpty());
}

TEST(ShellHelpers, AppMessagesGoThroughTheDialogService) {
  TScriptedDialogs Dialogs;
  Dialogs.AnswerMessageBox(IDOK);
  const TShowMessageProc Previous = SetShowMessageProc({});
  ShowAppMessage(QStringLiteral("密码错误！"));
  SetShowMessageProc(Previous);
  ASSERT_EQ(Dialogs.Log().size(), 1u);
  EXPECT_TRUE(Dialogs.Log()[0].startsWith(QStringLiteral("MessageBox ")));
  EXPECT_TRUE(Dialogs.Log()[0].endsWith(QStringLiteral(": 密码错误！")));
  EXPECT_TRUE(Dialogs.ScriptDone());
}

// A shown form with an edit, a memo and another edit, in that tab order.
class EnterToNextControlTest : public ::testing::Test {
protected:
  void SetUp() override {
    Form = new TForm(nullptr);
    Form->SetBounds(10, 10, 300, 200);
    First = Add<TEdit>(10);
    Memo = Add<TMemo>(40);
    Last = Add<TEdit>(110);
    Form->Show();
    QApplication::setActiveWindow(Form->Handle());
    QApplication::processEvents();
    First->SetFocus();
    QApplication::processEvents();
  }
  void TearDown() override {
    delete Form;
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  template <class T> T* Add(Integer Top) {
    auto* Control = new T(Form);
    Control->SetParent(Form);
    Control->SetBounds(10, Top, 200, Top == 40 ? 60 : 22);
    return Control;
  }
  // The control that has the focus once every posted move has happened.
  TWinControl* FocusAfterEvents() {
    QApplication::processEvents();
    return Form->ActiveControl();
  }
  TForm* Form = nullptr;
  TEdit* First = nullptr;
  TMemo* Memo = nullptr;
  TEdit* Last = nullptr;
};

TEST_F(EnterToNextControlTest, EnterMovesOnOnceTheKeyIsHandledButStaysInAMemo) {
  ASSERT_EQ(Form->ActiveControl(), First);
  EnterToNextControl(First, VK_TAB, {});
  EXPECT_EQ(FocusAfterEvents(), First);

  EnterToNextControl(First, VK_RETURN, {});
  EXPECT_EQ(Form->ActiveControl(), First);  // not before the key is done
  EXPECT_EQ(FocusAfterEvents(), Memo);

  EnterToNextControl(Memo, VK_RETURN, {});
  EXPECT_EQ(FocusAfterEvents(), Memo);
  EnterToNextControl(Memo, VK_RETURN, {ssCtrl});
  EXPECT_EQ(FocusAfterEvents(), Last);

  // The form itself, previewing keys, stands for its focused control; the order wraps.
  EnterToNextControl(Form, VK_RETURN, {});
  EXPECT_EQ(FocusAfterEvents(), First);
}

TEST_F(EnterToNextControlTest, WorksFromAPreviewingFormsKeyEvents) {
  Form->SetKeyPreview(true);
  Form->OnKeyDown = [this](TObject*, Word& Key, TShiftState Shift) { EnterToNextControl(Form, Key, Shift); };
  auto PressEnter = [](Qt::KeyboardModifiers Modifiers) {
    QWidget* Target = QApplication::focusWidget();
    ASSERT_NE(Target, nullptr);
    QKeyEvent Press(QEvent::KeyPress, Qt::Key_Return, Modifiers, QStringLiteral("\r"));
    QApplication::sendEvent(Target, &Press);
    QKeyEvent Release(QEvent::KeyRelease, Qt::Key_Return, Modifiers, QStringLiteral("\r"));
    QApplication::sendEvent(Target, &Release);
  };
  PressEnter(Qt::NoModifier);
  EXPECT_EQ(FocusAfterEvents(), Memo);
  PressEnter(Qt::NoModifier);
  EXPECT_EQ(FocusAfterEvents(), Memo);
  PressEnter(Qt::ControlModifier);
  EXPECT_EQ(FocusAfterEvents(), Last);
}

TEST_F(EnterToNextControlTest, AFormThatGoesTakesItsPendingMoveWithIt) {
  EnterToNextControl(First, VK_RETURN, {});
  delete Form;
  Form = nullptr;
  QApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QApplication::processEvents();

  // A form that was never shown has no focus to move.
  TForm Hidden(nullptr);
  auto* Edit = new TEdit(&Hidden);
  Edit->SetParent(&Hidden);
  EnterToNextControl(Edit, VK_RETURN, {});
  QApplication::processEvents();
  EXPECT_FALSE(Hidden.HandleAllocated());
}

}  // namespace
