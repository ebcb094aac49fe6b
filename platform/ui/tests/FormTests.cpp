#include "UiTestSupport.h"
#include "platform/ui/Dialogs.h"
#include <QTimer>
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

// ShowModal that ends with mrAbort should the answers the test arranged never come, so
// that a fault fails the test instead of hanging it.
TModalResult ShowModalWithin10s(TCustomForm& Form) {
  QTimer watchdog;
  watchdog.setSingleShot(true);
  QObject::connect(&watchdog, &QTimer::timeout, [&Form] { Form.SetModalResult(mrAbort); });
  watchdog.start(10000);
  return Form.ShowModal();
}

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
  EXPECT_EQ(ShowModalWithin10s(form), mrYes);
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(events, QStringList({"show", "hide"}));
  EXPECT_FALSE(form.Visible());
  EXPECT_EQ(dialogs.Log(), std::vector<String>({QStringLiteral("MessageBox : bad answer")}));

  // Close on a modal form answers Cancel; a visible form cannot become modal.
  form.OnCloseQuery = nullptr;
  form.OnShow = [&](TObject*) { form.Close(); };
  EXPECT_EQ(ShowModalWithin10s(form), mrCancel);
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

TEST(FormFrames, AWindowTheUserMayNotResizeTakesTheSizeTheProgramGives) {
  for (TFormBorderStyle style : {bsSingle, bsDialog, bsToolWindow}) {
    TForm form(nullptr);
    form.SetBorderStyle(style);
    form.SetBounds(10, 10, 200, 120);
    form.Show();
    form.SetBounds(10, 10, 260, 150);
    EXPECT_EQ(form.Handle()->size(), QSize(260, 150)) << style;
    // The user still cannot change it.
    EXPECT_EQ(form.Handle()->maximumSize(), QSize(260, 150)) << style;
    EXPECT_EQ(form.Handle()->minimumSize(), QSize(260, 150)) << style;
  }
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
  EXPECT_EQ(dialogs.Log().back(), QStringLiteral("MessageBox 确认: ?"));
}

TEST(FormFrames, ASelfDrawnFrameTakesItsInsetsPaintsTheCaptionAndAnswersFrameClicks) {
  TShownForm shown;
  TForm form(nullptr);
  form.SetSelfDrawnFrame(true);
  form.SetCaption(QStringLiteral("工资条"));
  form.SetBounds(20, 20, 200, 120);
  EXPECT_EQ(form.ClientRect(), Rect(0, 0, 200 - 8, 120 - 8 - 19));  // sizeable frame 4, caption 19
  QStringList frameMessages;
  form.WindowProc = [&, old = form.WindowProc](TMessage& M) {
    old(M);
    if (M.Msg == WM_NCLBUTTONDOWN || M.Msg == WM_NCLBUTTONUP) frameMessages << QStringLiteral("%1 %2").arg(uitest::MessageName(M.Msg)).arg(M.WParam);
    if (M.Msg == WM_LBUTTONDOWN) frameMessages << QStringLiteral("client %1,%2").arg(TWMMouse{M}.XPos()).arg(TWMMouse{M}.YPos());
  };
  form.Show();
  QApplication::setActiveWindow(form.Handle());
  EXPECT_TRUE(form.Handle()->windowFlags().testFlag(Qt::FramelessWindowHint));

  const QImage img = Grab(form.Handle());
  EXPECT_EQ(QColorToColor(img.pixelColor(4, 10)), RGB(0, 0, 0x80));        // the active caption's start colour
  EXPECT_EQ(QColorToColor(img.pixelColor(100, 0)), RGB(0xDF, 0xDF, 0xDF));  // raised outer edge
  EXPECT_EQ(QColorToColor(img.pixelColor(100, 1)), RGB(0xFF, 0xFF, 0xFF));  // and its inner ring

  // Frame clicks arrive as frame messages with their hit codes; client clicks as client ones.
  auto click = [&](QPoint P) {
    QWidget* w = form.Handle();
    QMouseEvent down(QEvent::MouseButtonPress, P, w->mapToGlobal(P), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &down);
    QMouseEvent up(QEvent::MouseButtonRelease, P, w->mapToGlobal(P), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &up);
  };
  click(QPoint(60, 10));
  click(QPoint(4 + 10, 4 + 19 + 5));
  EXPECT_EQ(frameMessages, QStringList({QStringLiteral("0xa1 %1").arg(HTCAPTION), QStringLiteral("0xa2 %1").arg(HTCAPTION), "client 10,5"}));

  // The close box closes the form.
  click(QPoint(200 - 4 - 8, 4 + 9));
  EXPECT_FALSE(form.Visible());
  form.WindowProc = [&form](TMessage& M) { form.WndProc(M); };
}

TEST(FormFrames, AHookChoosesTheFrameBeforeShowingAndCustomInsetsSizeTheClientArea) {
  TShownForm shown;
  QStringList seen;
  SetFormShowingHook([&](TCustomForm* Form) {
    seen << QStringLiteral("%1 %2").arg(Form->Caption()).arg(Form->Showing());
    Form->SetSelfDrawnFrame(true);
  });
  TForm form(nullptr);
  form.SetCaption(QStringLiteral("modal"));
  form.SetBounds(20, 20, 200, 120);
  QTimer::singleShot(0, [&] {
    // Made anew for its own frame on the way to the screen, the window is still modal.
    EXPECT_TRUE(form.Handle()->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(form.Handle()->windowModality(), Qt::ApplicationModal);
    const TRect insets(6, 30, 7, 8);
    form.SetFrameInsets(&insets);
    EXPECT_EQ(form.ClientRectInWindow(), Rect(6, 30, 200 - 7, 120 - 8));
    // The plain frame's close box is not there; the area above the client is the caption.
    const TPoint topRight = form.ClientToScreen({200 - 6 - 12, -30 + 10});
    EXPECT_EQ(form.Perform(WM_NCHITTEST, 0, PointToLParam(topRight)), HTCAPTION);
    form.SetFrameInsets(nullptr);
    EXPECT_EQ(form.ClientRectInWindow(), Rect(4, 4 + 19, 200 - 4, 120 - 4));
    form.SetModalResult(mrOk);
  });
  EXPECT_EQ(form.ShowModal(), mrOk);
  SetFormShowingHook({});
  EXPECT_EQ(seen, QStringList({"modal 0"}));
}

TEST(FormFrames, ClicksOnAChildsBorderAreFrameMessages) {
  TShownForm shown;
  QStringList log;
  auto* control = new TRecordingControl(shown.Form, &log, QStringLiteral("A"));
  control->SetParent(shown.Form);
  control->SetBounds(10, 10, 100, 50);
  control->SetBorderStyle(bsSingle);
  LRESULT hit = -1;
  control->WindowProc = [&, old = control->WindowProc](TMessage& M) {
    if (M.Msg == WM_NCLBUTTONDOWN) hit = LRESULT(M.WParam);
    old(M);
  };
  log.clear();
  QWidget* w = control->Handle();
  QMouseEvent down(QEvent::MouseButtonPress, QPointF(0, 20), w->mapToGlobal(QPointF(0, 20)), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w, &down);
  EXPECT_EQ(hit, HTBORDER);
  EXPECT_FALSE(log.contains("A WM_LBUTTONDOWN"));
  control->WindowProc = [control](TMessage& M) { control->WndProc(M); };
}
