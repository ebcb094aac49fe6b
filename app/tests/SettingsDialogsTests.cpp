#include "MessageRecorder.h"
#include "ModalDriver.h"
#include "ScratchPayrollDb.h"
#include "app/About.h"
#include "app/LoginPassword.h"
#include "app/uParaSet.h"
#include "app/uPassInput.h"
#include "app/uPassSet.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Mask.h"
#include "platform/ui/Menus.h"
#include "platform/ui/Panels.h"
#include "platform/ui/StdCtrls.h"

namespace {

String U(const char* Text) { return QString::fromUtf8(Text); }

class SettingsDialogTest : public ::testing::Test {
protected:
  String Para(const char* Columns) {
    QStringList Values;
    for (const String& Column : U(Columns).split(u',')) Values << QStringLiteral("ifnull(%1, 'null')").arg(Column);
    return Db.Query(QStringLiteral("select %1 from TPara").arg(Values.join(QStringLiteral(" || '|' || "))));
  }
  TScratchPayrollDb Db;
  TMessageRecorder Messages;
};

TEST_F(SettingsDialogTest, ShowsTheSettingsRowAndDefaultsForEmptyValues) {
  {
    TfrmParaSet Form(nullptr);
    Form.ReadyData();
    EXPECT_EQ(Form.EditBillHeight->Text(), QStringLiteral("296.78"));
    EXPECT_EQ(Form.EditPageWidth->Text(), QStringLiteral("210.00"));
    EXPECT_EQ(Form.EditParagraph->Text(), QStringLiteral("  5.00"));
    EXPECT_EQ(Form.cmbShowFloat->ItemIndex(), 1);
    EXPECT_EQ(Form.cmbShowXH->ItemIndex(), 1);
    EXPECT_EQ(Form.udTopPos->Position(), 2);
    EXPECT_EQ(Form.lblTopPosMM->Caption(), U("合 5.08 毫米"));
  }
  Db.Exec(QStringLiteral("update TPara set EntName=NULL, BillHeight=NULL, Paragraph=NULL, StepTitleGrid=NULL, "
                         "PageWidth=NULL, TopPos=NULL, PrintDays=NULL, ShowFloat=NULL, ShowXH=7"));
  TfrmParaSet Form(nullptr);
  Form.ReadyData();
  EXPECT_EQ(Form.EditEntName->Text(), QString());
  EXPECT_EQ(Form.EditBillHeight->Text(), QStringLiteral("296.78"));
  EXPECT_EQ(Form.EditParagraph->Text(), QStringLiteral("  0.00"));
  EXPECT_EQ(Form.EditStepTitleGrid->Text(), QStringLiteral("  0.00"));
  EXPECT_EQ(Form.EditPageWidth->Text(), QStringLiteral("210.00"));
  EXPECT_EQ(Form.udTopPos->Position(), 2);
  for (TComboBox* List : {Form.cmbPrintDays, Form.cmbShowFloat, Form.cmbShowXH}) EXPECT_EQ(List->ItemIndex(), 0);
}

TEST_F(SettingsDialogTest, SavesTheRowAndTheLoadedSettingsFollow) {
  WhenModal<TfrmParaSet>([](TfrmParaSet* Form) {
    Form->EditEntName->SetText(U("  甲's 公司 "));
    Form->pmPaperHeight->Items()->Items(1)->Click();  // A5
    EXPECT_EQ(Form->EditBillHeight->Text(), QStringLiteral("209.85"));
    Form->cmbPrintDays->SetItemIndex(3);
    Form->cmbJJUnit->SetText(U("吨"));
    Form->cmbShowFloat->SetItemIndex(0);
    Form->cmbPrintOrientation->SetItemIndex(1);
    for (int i = 0; i < 25; ++i) Form->udTopPos->Step(btNext);
    EXPECT_EQ(Form->udTopPos->Position(), 20);
    EXPECT_EQ(Form->lblTopPosMM->Caption(), U("合 50.80 毫米"));
    Form->EditPageWidth->SetText(QStringLiteral("100"));
    Form->btnA4Width->Click();
    Form->EditParagraph->SetText(QStringLiteral("12.5"));
    Form->btnSave->Click();
  });
  EXPECT_TRUE(ShowParaSet());
  EXPECT_EQ(Para("EntName,BillHeight,PrintDays,JJUnit,ShowFloat,PrintOrientation,TopPos,PageWidth,Paragraph"),
            U("甲's 公司|209.85|3|吨|0|1|20|210.0|12.5"));
  EXPECT_EQ(Settings().GEntName, U("甲's 公司"));
  ASSERT_TRUE(LoadRegPara());  // the reopened settings row carries the new values
  EXPECT_EQ(AmountFormat(), QStringLiteral("0"));
  EXPECT_EQ(Settings().GPrintDays, 3);
  EXPECT_EQ(Settings().GTopPos, 20);

  WhenModal<TfrmParaSet>([](TfrmParaSet* Form) {
    Form->EditEntName->SetText(U("乙公司"));
    Form->btnCancel->Click();
  });
  EXPECT_FALSE(ShowParaSet());
  EXPECT_EQ(Para("EntName"), U("甲's 公司"));
  EXPECT_TRUE(Messages.Messages().isEmpty());
}

TEST_F(SettingsDialogTest, RefusesAShortPaperAndPieceworkWithoutUnit) {
  struct Case { const char* height; int mode; const char* unit; const char* message; const char* stored; };
  for (const Case& c : std::initializer_list<Case>{
         {"42.99", 0, "件", "工资条的最小高度为43毫米！", nullptr},
         {"43", 0, "件", nullptr, "43.0|件"},
         {"100", 3, "  ", "您选择了其他计件，请指定计件单位！", nullptr},
         {"100", 2, "", nullptr, "100.0| "}}) {
    Db.Exec(QStringLiteral("update TPara set BillHeight=296.78, JJUnit='old'"));
    TfrmParaSet Form(nullptr);
    Form.ReadyData();
    Form.EditBillHeight->SetText(U(c.height));
    Form.cmbPrintDays->SetItemIndex(c.mode);
    Form.cmbJJUnit->SetText(U(c.unit));
    Messages.Clear();
    Form.btnSave->Click();
    EXPECT_EQ(Messages.Messages(), c.message ? QStringList{U(c.message)} : QStringList{}) << c.height;
    EXPECT_EQ(Form.ModalResult(), c.message ? mrNone : mrOk) << c.height;
    EXPECT_EQ(Para("BillHeight,JJUnit"), c.stored ? U(c.stored) : QStringLiteral("296.78|old")) << c.height;
  }
  // A write the database refuses is reported and the dialog stays.
  Db.Exec(QStringLiteral("create trigger refuse before update on TPara begin select raise(abort, 'refused'); end"));
  TfrmParaSet Form(nullptr);
  Form.ReadyData();
  Messages.Clear();
  EXPECT_FALSE(Form.SaveData());
  EXPECT_EQ(Messages.Messages(), QStringList{U("存储数据发生错误！")});
}

TEST(PasswordStorage, HashesRealPasswordsAndKeepsTheNoPasswordValues) {
  for (const char* None : {"", "729"}) {
    EXPECT_TRUE(IsNoPassword(U(None)));
    EXPECT_EQ(StoredPasswordOf(U(None)), U(None));
  }
  const String Stored = StoredPasswordOf(U("秘密 pass"));
  EXPECT_TRUE(IsHashedPassword(Stored));
  EXPECT_FALSE(Stored.contains(U("秘密")));
  EXPECT_NE(StoredPasswordOf(U("秘密 pass")), Stored);  // a fresh salt each time
  struct Case { String stored; const char* entered; bool matches; };
  for (const Case& c : std::initializer_list<Case>{{Stored, "秘密 pass", true},
                                                   {Stored, "秘密 Pass", false},
                                                   {Stored, "", false},
                                                   {U("clear"), "clear", true},
                                                   {U("clear"), "Clear", false},
                                                   {U("729"), "729", true},
                                                   {QStringLiteral("pbkdf2-sha256$x$AA==$AA=="), "x", false},
                                                   {QStringLiteral("pbkdf2-sha256$1$AA=="), "x", false}})
    EXPECT_EQ(PasswordMatches(c.stored, U(c.entered)), c.matches) << c.stored.toStdString() << " / " << c.entered;
}

class PasswordTest : public SettingsDialogTest {
protected:
  // Answers the password prompt with Answer, checking its caption and hint.
  static void AnswerPrompt(const String& Expected, const String& Answer) {
    WhenModal<TfrmPassInput>([Expected, Answer](TfrmPassInput* Form) {
      EXPECT_EQ(Form->Caption(), Expected);
      EXPECT_EQ(Form->lblHint->Caption(), Expected);
      EXPECT_EQ(Form->EditPass->PasswordChar(), u'*');
      Form->EditPass->SetText(Answer);
      Form->btnOK->Click();
    });
  }
  const String Login = U("请输入登陆密码：");
};

TEST_F(PasswordTest, ChangingThePasswordStoresAHashAndTheCheckAsksForIt) {
  EXPECT_TRUE(CheckPassword(Login));  // "729": no prompt
  WhenModal<TfrmPassSet>([this](TfrmPassSet* Form) {
    Form->EditOldPass->SetText(QStringLiteral("729"));
    Form->EditNewPass->SetText(QStringLiteral("abc"));
    Form->EditConfirmPass->SetText(QStringLiteral("abd"));
    Form->btnOK->Click();
    EXPECT_EQ(Messages.Messages().last(), U("新密码与确认输入的新密码不一致！"));
    EXPECT_EQ(Form->EditNewPass->Text() + Form->EditConfirmPass->Text(), QString());
    Form->EditOldPass->SetText(QStringLiteral("72"));
    Form->EditNewPass->SetText(QStringLiteral("abc"));
    Form->EditConfirmPass->SetText(QStringLiteral("abc"));
    Form->btnOK->Click();
    EXPECT_EQ(Messages.Messages().last(), U("要修改密码，必须输入正确的原密码！"));
    EXPECT_EQ(Form->EditOldPass->Text(), QString());
    EXPECT_EQ(Form->ModalResult(), mrNone);
    Form->EditOldPass->SetText(QStringLiteral("729"));
    Form->btnOK->Click();
  });
  ShowPassSet();
  EXPECT_EQ(Messages.Messages().last(), U("修改密码成功！"));
  const String Stored = Db.Query(QStringLiteral("select LogPass from TPara"));
  EXPECT_TRUE(IsHashedPassword(Stored));
  ASSERT_TRUE(LoadRegPara());
  EXPECT_EQ(Settings().GLogPass, Stored);

  AnswerPrompt(Login, QStringLiteral("abd"));
  EXPECT_FALSE(CheckPassword(Login));
  EXPECT_EQ(Messages.Messages().last(), U("密码错误！"));
  AnswerPrompt(U("请输入登陆/管理密码："), QStringLiteral("abc"));
  Messages.Clear();
  EXPECT_TRUE(CheckPassword(U("请输入登陆/管理密码：")));
  EXPECT_TRUE(Messages.Messages().isEmpty());

  // Setting it to an empty text removes the prompt again.
  WhenModal<TfrmPassSet>([](TfrmPassSet* Form) {
    Form->EditOldPass->SetText(QStringLiteral("abc"));
    Form->btnOK->Click();
  });
  ShowPassSet();
  ASSERT_TRUE(LoadRegPara());
  EXPECT_EQ(Settings().GLogPass, QString());
  EXPECT_TRUE(CheckPassword(Login));
}

TEST_F(PasswordTest, AClearTextPasswordIsAcceptedOnceAndStoredHashed) {
  Db.Exec(QStringLiteral("update TPara set LogPass='old pass'"));
  DM->dsPara->Close();
  ASSERT_TRUE(LoadRegPara());
  AnswerPrompt(Login, QStringLiteral("old pass"));
  EXPECT_TRUE(CheckPassword(Login));
  const String Stored = Db.Query(QStringLiteral("select LogPass from TPara"));
  EXPECT_TRUE(IsHashedPassword(Stored));
  ASSERT_TRUE(LoadRegPara());
  EXPECT_EQ(Settings().GLogPass, Stored);
  AnswerPrompt(Login, QStringLiteral("old pass"));
  EXPECT_TRUE(CheckPassword(Login));
  // The prompt's Cancel hands back what was typed, which is checked like any answer.
  WhenModal<TfrmPassInput>([](TfrmPassInput* Form) { Form->btnCancel->Click(); });
  EXPECT_FALSE(CheckPassword(Login));
  EXPECT_EQ(Messages.Messages(), QStringList{U("密码错误！")});
}

TEST_F(SettingsDialogTest, AboutBoxShowsBrandVersionAndVendor) {
  ReadyPara();
  Db.Exec(QStringLiteral("update TPara set ClientVer='2.5'"));
  TfrmAbout Form(nullptr);
  EXPECT_EQ(Form.lblTitle->Caption(), Settings().GBrand + U("工资条制作打印软件"));
  EXPECT_EQ(Form.lblVersion->Caption(), U("版本：2.5"));
  EXPECT_EQ(Form.lblHomePage->Caption(), Settings().GVendorHomePage);
  EXPECT_EQ(Form.lblVendor->Caption(), Settings().GVendorName);
  EXPECT_EQ(Form.imgLogo->Picture()->Width(), 64);
}

}  // namespace
