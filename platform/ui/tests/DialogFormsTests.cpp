// The message and input boxes of the dialog service as forms: their buttons, answers and
// entered text, driven from inside their modal loops.
#include "UiTestSupport.h"
#include "platform/ui/DialogForms.h"
#include "platform/ui/QtTranslations.h"
#include "platform/ui/StdCtrls.h"
#include <QTimer>
#include <gtest/gtest.h>

namespace {

template <class T>
T* OpenForm(const String& ClassName) {
  for (Integer i = 0; Screen && i < Screen->FormCount(); ++i)
    if (Screen->Forms(i)->ClassName() == ClassName && Screen->Forms(i)->Visible()) return dynamic_cast<T*>(Screen->Forms(i));
  return nullptr;
}

QStringList Captions(const TMessageForm& Box) {
  QStringList out;
  for (const TButton* b : Box.Buttons()) out << b->Caption();
  return out;
}

}  // namespace

TEST(DialogForms, MessageBoxesOfferTheirButtonsAndAnswerAsClosingMeans) {
  struct Case { Cardinal Flags; const char* captions; Integer defaulted; Integer closed; };
  for (const Case& c : std::initializer_list<Case>{{MB_OK, "确定", 0, IDOK},
                                                   {MB_OKCANCEL | MB_DEFBUTTON2, "确定,取消", 1, IDCANCEL},
                                                   {MB_YESNO | MB_ICONQUESTION, "是(&Y),否(&N)", 0, IDNO},
                                                   {MB_YESNOCANCEL | MB_DEFBUTTON3, "是(&Y),否(&N),取消", 2, IDCANCEL},
                                                   {MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, "中止(&A),重试(&R),忽略(&I)", 1, IDNO},
                                                   {MB_RETRYCANCEL | MB_ICONERROR, "重试(&R),取消", 0, IDCANCEL},
                                                   {MB_YESNOALL | MB_ICONERROR, "是(&Y),否(&N),全部(&A)", 0, IDNO}}) {
    TMessageForm box({QStringLiteral("本月工资记录已存在。\n是否覆盖？"), QStringLiteral("提示"), c.Flags});
    EXPECT_EQ(Captions(box).join(u','), QString::fromUtf8(c.captions)) << c.Flags;
    EXPECT_TRUE(box.Buttons()[size_t(c.defaulted)]->Default()) << c.Flags;
    EXPECT_EQ(box.Caption(), QStringLiteral("提示"));
    EXPECT_GE(box.ClientWidth(), Integer(box.Buttons().size()) * 75);
    // Closed without a button: Cancel, or No, or OK for a lone OK.
    box.SetModalResult(mrCancel);
    EXPECT_EQ(box.Answer(), c.closed) << c.Flags;
  }
}

TEST(DialogForms, TheServiceShowsItsBoxesAsFormsAndReturnsWhatWasChosen) {
  QTimer::singleShot(0, [] {
    auto* box = OpenForm<TMessageForm>(QStringLiteral("TMessageForm"));
    ASSERT_NE(box, nullptr);
    box->Buttons()[1]->Click();
  });
  EXPECT_EQ(TDialogs::MessageBox(QStringLiteral("删除本月记录？"), QStringLiteral("确认"), MB_YESNO), IDNO);

  QTimer::singleShot(0, [] {
    auto* box = OpenForm<TInputForm>(QStringLiteral("TInputForm"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->Edit()->Text(), QStringLiteral("二月"));
    EXPECT_EQ(box->Edit()->PasswordChar(), QChar());
    box->Edit()->SetText(QStringLiteral("三月"));
    box->SetModalResult(mrOk);
  });
  String month = QStringLiteral("二月");
  EXPECT_TRUE(TDialogs::InputQuery(QStringLiteral("月份"), QStringLiteral("新月份："), month));
  EXPECT_EQ(month, QStringLiteral("三月"));

  QTimer::singleShot(0, [] {
    auto* box = OpenForm<TInputForm>(QStringLiteral("TInputForm"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->Edit()->PasswordChar(), QChar(u'*'));
    box->Edit()->SetText(QStringLiteral("729"));
    box->Close();
  });
  String password;
  EXPECT_FALSE(TDialogs::PasswordQuery(QStringLiteral("密码"), QStringLiteral("请输入密码："), password));
  EXPECT_EQ(password, String());
}

TEST(DialogForms, AMessageBoxShowsEveryLineAndWrapsALongOneInsideItself) {
  const String longLine = QString::fromUtf8("请指定自动备份路径，建议在非系统盘上建立专门的备份存放路径，以免重新装系统后数据丢失！");
  struct Case { String text; Integer lines; };
  for (const Case& c : {Case{QStringLiteral("第一行\r\n第二行\r第三行"), 3}, Case{QStringLiteral("一\n二\n三"), 3},
                        Case{QString::fromUtf8("您没有指定自动备份路径！\r") + longLine, 3}}) {
    TMessageForm box({c.text, QStringLiteral("提示"), MB_OK | MB_ICONWARNING});
    TLabel* label = nullptr;
    for (Integer i = 0; i < box.ControlCount(); ++i)
      if (auto* found = dynamic_cast<TLabel*>(box.Controls(i))) label = found;
    ASSERT_NE(label, nullptr);
    TBitmap measure(1, 1);
    measure.Canvas()->SetFont(label->Font());
    const Integer lineHeight = measure.Canvas()->TextHeight(QStringLiteral("国"));
    EXPECT_GE(label->Height(), c.lines * lineHeight) << c.text.toStdString();
    EXPECT_LE(label->Left() + label->Width(), box.ClientWidth());
    EXPECT_LE(label->Top() + label->Height(), box.Buttons()[0]->Top());
    EXPECT_LE(box.Width(), 640) << "a long line wraps instead of widening the box";
    // Every line is painted: ink in each line's band of the label.
    box.Show();
    QApplication::processEvents();
    const QImage image = uitest::Grab(box.Handle());
    const TPoint client = box.ClientOrigin();
    const QPoint offset = box.Handle()->mapFromGlobal(QPoint(client.X, client.Y));
    for (Integer line = 0; line < c.lines; ++line) {
      bool ink = false;
      for (Integer y = label->Top() + line * lineHeight; y < label->Top() + (line + 1) * lineHeight && !ink; ++y)
        for (Integer x = label->Left(); x < label->Left() + label->Width() && !ink; ++x)
          ink = image.pixelColor(offset.x() + x, offset.y() + y).lightness() < 100;
      EXPECT_TRUE(ink) << c.text.toStdString() << " line " << line;
    }
    box.Hide();
  }
}

TEST(DialogForms, AButtonsLetterAnswersAQuestionWithoutAlt) {
  for (const auto& [key, answer] : {std::pair{Qt::Key_Y, IDYES}, {Qt::Key_N, IDNO}}) {
    QTimer::singleShot(0, [key = key] {
      auto* box = OpenForm<TMessageForm>(QStringLiteral("TMessageForm"));
      ASSERT_NE(box, nullptr);
      QWidget* focused = QApplication::focusWidget();
      uitest::PressKey(focused ? focused : box->Handle(), key, QString(QChar(key).toLower()));
    });
    EXPECT_EQ(TDialogs::MessageBox(QStringLiteral("是否继续？"), QStringLiteral("确认"), MB_YESNO | MB_ICONQUESTION), answer);
  }
}

TEST(DialogForms, BoxesAreTitledByTheProgramAndTheirKinds) {
  TScriptedDialogs answers;
  const String previous = Application->Title();
  Application->SetTitle(QStringLiteral("墨鲤工资条打印软件"));
  TDialogs::ShowMessage(QStringLiteral("保存成功！"));
  TDialogs::MessageDlg(QStringLiteral("删除？"), mtConfirmation, {mbYes, mbNo});
  Application->SetTitle(previous);
  ASSERT_EQ(answers.Log().size(), 2u);
  EXPECT_EQ(answers.Log()[0], QStringLiteral("MessageBox 墨鲤工资条打印软件: 保存成功！"));
  EXPECT_EQ(answers.Log()[1], QStringLiteral("MessageBox 确认: 删除？"));
}

TEST(QtTranslations, TextsQtMakesItselfSpeakChinese) {
  ASSERT_TRUE(InstallQtTranslations()) << "qt6-translations-l10n is not installed";
  EXPECT_TRUE(InstallQtTranslations()) << "a second call keeps the installed translations";
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "OK"), QStringLiteral("确定"));
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));
}
