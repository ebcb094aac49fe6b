#include "MessageRecorder.h"
#include "app/uBMYCalcParams.h"
#include "platform/ui/Mask.h"
#include "platform/ui/StdCtrls.h"
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TfrmBMYCalcParams* OpenDialog() {
  for (Integer i = 0; i < Screen->FormCount(); ++i)
    if (auto* Form = dynamic_cast<TfrmBMYCalcParams*>(Screen->Forms(i)); Form && Form->Modal()) return Form;
  return nullptr;
}

// Runs Steps on the open dialog once its modal loop runs; a dialog the steps
// leave open, or any modal form found in its place, is cancelled, so a failing
// test cannot block.
void WhenOpen(std::function<void(TfrmBMYCalcParams*)> Steps) {
  QTimer::singleShot(0, [Steps] {
    if (TfrmBMYCalcParams* Form = OpenDialog()) {
      Steps(Form);
      if (Form->ModalResult() == mrNone) Form->SetModalResult(mrCancel);
      return;
    }
    ADD_FAILURE() << "the days dialog is not open";
    for (Integer i = 0; i < Screen->FormCount(); ++i)
      if (Screen->Forms(i)->Modal()) Screen->Forms(i)->SetModalResult(mrCancel);
  });
}

TEST(ProrationDialog, RefusesDaysNoMonthHasAndStaysOpen) {
  struct Case { const char* toWork; const char* worked; const char* message; };
  TfrmBMYCalcParams Form(nullptr);
  for (const Case& c : std::initializer_list<Case>{
         {"0", "11.00", "本月应上班天数不能为0"},
         {"", "11.00", "本月应上班天数不能为0"},
         {"32", "11.00", "本月应上班天数不能大于31"},
         {"32", "32.00", "本月应上班天数不能大于31"},
         {"22", "31.01", "本月实际上班天数不能大于31"},
         {"31", "31.00", nullptr},
         {"22", "", nullptr},
         {"1", "0.50", nullptr}}) {
    Form.SetModalResult(mrNone);
    Form.EditDaysToWork->SetText(QString::fromUtf8(c.toWork));
    Form.EditDaysWorked->SetText(QString::fromUtf8(c.worked));
    TMessageRecorder Messages;
    Form.btnOK->Click();
    const QStringList Expected = c.message ? QStringList{QString::fromUtf8(c.message)} : QStringList{};
    EXPECT_EQ(Messages.Messages(), Expected) << c.toWork << " / " << c.worked;
    EXPECT_EQ(Form.ModalResult(), c.message ? mrNone : mrOk) << c.toWork << " / " << c.worked;
  }
}

TEST(ProrationDialog, ShowsTheDaysWorkedAndPresetsTwentyTwoDaysToWork) {
  TfrmBMYCalcParams Form(nullptr);
  EXPECT_EQ(Form.DaysToWork(), 22);
  for (Extended Days : {Extended(0), Extended(5), Extended(11.5), Extended(21.75)}) {
    Form.SetDaysWorked(Days);
    EXPECT_EQ(Form.DaysWorked(), Days) << double(Days) << " shown as " << Form.EditDaysWorked->EditText().toStdString();
  }
}

TEST(ProrationDialog, ConfirmedDialogGivesBothNumbers) {
  TMessageRecorder Messages;
  WhenOpen([&Messages](TfrmBMYCalcParams* Form) {
    EXPECT_EQ(Form->DaysWorked(), Extended(9.5));
    Form->EditDaysToWork->SetText(QStringLiteral("0"));
    Form->btnOK->Click();
    EXPECT_EQ(Messages.Messages(), QStringList{QStringLiteral("本月应上班天数不能为0")});
    Form->EditDaysToWork->SetText(QStringLiteral("22"));
    Form->EditDaysWorked->SetText(QStringLiteral("11.00"));
    Form->btnOK->Click();
  });
  Extended DaysToWork = -1, DaysWorked = 9.5;
  EXPECT_TRUE(EditBMYCalcParams(DaysToWork, DaysWorked));
  EXPECT_EQ(DaysToWork, 22);
  EXPECT_EQ(DaysWorked, 11);
}

TEST(ProrationDialog, CancelledDialogChangesNothing) {
  WhenOpen([](TfrmBMYCalcParams* Form) {
    Form->EditDaysWorked->SetText(QStringLiteral("11.00"));
    Form->btnCancel->Click();
  });
  Extended DaysToWork = -1, DaysWorked = 9.5;
  EXPECT_FALSE(EditBMYCalcParams(DaysToWork, DaysWorked));
  EXPECT_EQ(DaysToWork, -1);
  EXPECT_EQ(DaysWorked, Extended(9.5));
  EXPECT_EQ(OpenDialog(), nullptr);
}

}  // namespace
