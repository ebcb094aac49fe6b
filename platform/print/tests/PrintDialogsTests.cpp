#include "platform/print/PrintDialogs.h"
#include "platform/ui/Dialogs.h"
#include <QApplication>
#include <QDialog>
#include <QRadioButton>
#include <QTimer>
#include <gtest/gtest.h>
#include <map>

namespace {

// Installs an answer for the test's duration and puts the previous one back.
struct ScriptedAnswer {
  TPrintDialogAnswer previous;
  explicit ScriptedAnswer(TPrintDialogAnswer answer) : previous(TPrintDialogs::SetAnswer(std::move(answer))) {}
  ~ScriptedAnswer() { TPrintDialogs::SetAnswer(std::move(previous)); }
};

}  // namespace

TEST(PrintDialog, ConfirmedChoicesGoToThePrinterAndThePageRangeIsKept) {
  TPrinter printer;
  TPrinter* previous = SetPrinter(&printer);
  TPrintDialog dialog(nullptr);
  dialog.SetMinPage(1);
  dialog.SetMaxPage(5);
  TPrintDialogRequest seen;
  ScriptedAnswer answer([&](TPrintDialogRequest& R) {
    seen = R;
    R.PrinterIndex = R.PdfPrinterIndex;
    R.FileName = "/tmp/x.pdf";
    R.Copies = 2;
    R.Orientation = poLandscape;
    R.PrintRange = prPageNums;
    R.FromPage = 2;
    R.ToPage = 9;  // beyond the last page
    return true;
  });
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(seen.Printers.last(), PdfPrinterName);
  EXPECT_EQ(seen.MaxPage, 5);
  EXPECT_TRUE(printer.IsPdfPrinter());
  EXPECT_EQ(printer.FileName(), "/tmp/x.pdf");
  EXPECT_EQ(printer.Copies(), 2);
  EXPECT_EQ(printer.Orientation(), poLandscape);
  EXPECT_EQ(dialog.PrintRange(), prPageNums);
  EXPECT_EQ(dialog.FromPage(), 2);
  EXPECT_EQ(dialog.ToPage(), 5);
  SetPrinter(previous);
}

TEST(PrinterSetupDialog, CancelChangesNothingAndAPdfWithoutFileIsRefused) {
  TPrinter printer;
  TPrinter* previous = SetPrinter(&printer);
  {
    ScriptedAnswer answer([](TPrintDialogRequest& R) {
      EXPECT_EQ(R.Kind, pdkPrinterSetup);
      R.Orientation = poLandscape;
      return false;
    });
    EXPECT_FALSE(TPrinterSetupDialog(nullptr).Execute());
    EXPECT_EQ(printer.Orientation(), poPortrait);
  }
  TScriptedDialogs messages;
  ScriptedAnswer answer([](TPrintDialogRequest& R) {
    R.PrinterIndex = R.PdfPrinterIndex;
    R.FileName.clear();
    R.Orientation = poLandscape;
    return true;
  });
  EXPECT_FALSE(TPrinterSetupDialog(nullptr).Execute());
  EXPECT_EQ(printer.Orientation(), poPortrait);
  ASSERT_EQ(messages.Log().size(), 1u);
  EXPECT_TRUE(messages.Log()[0].contains("PDF"));
  SetPrinter(previous);
}

TEST(PrintDialog, TheAskingDialogShowsTheOrientationAndThePageRangeEachChosen) {
  ScriptedAnswer person({});  // the dialog itself asks
  for (const TPrinterOrientation orientation : {poPortrait, poLandscape}) {
    std::map<QString, bool> checked;
    QTimer::singleShot(0, [&checked] {
      QWidget* dialog = QApplication::activeModalWidget();
      ASSERT_NE(dialog, nullptr);
      for (QRadioButton* button : dialog->findChildren<QRadioButton*>()) checked[button->text()] = button->isChecked();
      qobject_cast<QDialog*>(dialog)->reject();
    });
    TPrintDialogRequest request;
    request.Printers = {QStringLiteral("PDF")};
    request.Orientation = orientation;
    request.PrintRange = prAllPages;
    request.MinPage = 1;
    request.MaxPage = 3;
    EXPECT_FALSE(TPrintDialogs::Ask(request));
    EXPECT_EQ(checked[QStringLiteral("纵向")], orientation == poPortrait);
    EXPECT_EQ(checked[QStringLiteral("横向")], orientation == poLandscape);
    EXPECT_TRUE(checked[QStringLiteral("全部")]);
  }
}
