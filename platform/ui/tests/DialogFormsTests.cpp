// The message and input boxes of the dialog service as forms: their buttons, answers and
// entered text, driven from inside their modal loops.
#include "UiTestSupport.h"
#include "platform/ui/DialogForms.h"
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
