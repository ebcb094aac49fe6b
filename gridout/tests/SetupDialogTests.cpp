#include "gridout/fPrnDBGridXSetupDialog.h"
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// ShowModal that ends with mrAbort should the arranged answer never come.
TModalResult ShowModalAnswering(TCustomForm& Form, std::function<void()> Answer) {
  QTimer::singleShot(0, [Answer] { Answer(); });
  QTimer watchdog;
  watchdog.setSingleShot(true);
  QObject::connect(&watchdog, &QTimer::timeout, [&Form] { Form.SetModalResult(mrAbort); });
  watchdog.start(10000);
  return Form.ShowModal();
}

}  // namespace

TEST(PrintSetupDialog, FittingChoiceFollowsTheCheckAndKeepsItsItem) {
  TfPrnDBGridXSetupDialog dialog(nullptr);
  EXPECT_FALSE(dialog.rgFitingType->Enabled());
  dialog.cbFitWidthToPage->SetChecked(true);
  EXPECT_TRUE(dialog.rgFitingType->Enabled());
  dialog.rgFitingType->SetItemIndex(1);
  dialog.cbFitWidthToPage->SetChecked(false);
  EXPECT_FALSE(dialog.rgFitingType->Enabled());
  EXPECT_EQ(dialog.rgFitingType->ItemIndex(), 1);
}

TEST(PrintSetupDialog, ALetterMarginRaisesTheConversionErrorAndStays) {
  TfPrnDBGridXSetupDialog dialog(nullptr);
  for (const char* good : {"0", "2", "1.5", "-0.25"}) {
    dialog.seLeftMargin->SetText(QString::fromUtf8(good));
    EXPECT_NO_THROW(dialog.seMarginExit(dialog.seLeftMargin)) << good;
  }
  dialog.seUpMargin->SetText(QStringLiteral("2厘米"));
  EXPECT_THROW(dialog.seMarginExit(dialog.seUpMargin), EConvertError);
  EXPECT_EQ(dialog.seUpMargin->Text(), QStringLiteral("2厘米"));
}

TEST(PrintSetupDialog, ShowsWithPrinterSetupEnabledAndCancelReturnsCancel) {
  TfPrnDBGridXSetupDialog dialog(nullptr);
  dialog.bPrinterSetupDialog->SetEnabled(false);
  bool enabledWhenShown = false;
  const TModalResult result = ShowModalAnswering(dialog, [&] {
    enabledWhenShown = dialog.bPrinterSetupDialog->Enabled();
    dialog.bCancel->Click();
  });
  EXPECT_EQ(result, mrCancel);
  EXPECT_TRUE(enabledWhenShown);  // the PDF printer is always listed
}

TEST(PrintSetupDialog, FontButtonTakesOnlyTheChosenName) {
  TfPrnDBGridXSetupDialog dialog(nullptr);
  dialog.ePrintFont->SetText(QStringLiteral("宋体"));
  String asked;
  const auto previous = TFontDialog::SetAnswer([&](TFont* Font) {
    asked = Font->Name();
    Font->SetName(QStringLiteral("黑体"));
    Font->SetSize(30);
    return true;
  });
  dialog.bPrintFont->Click();
  TFontDialog::SetAnswer(previous);
  EXPECT_EQ(asked, QStringLiteral("宋体"));
  EXPECT_EQ(dialog.ePrintFont->Text(), QStringLiteral("黑体"));
}
