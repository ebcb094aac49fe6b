#include "UiTestSupport.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/CheckLst.h"
#include "platform/ui/FontDialog.h"
#include "platform/ui/Spin.h"
#include <QListWidget>
#include <QSpinBox>
#include <gtest/gtest.h>

using uitest::TShownForm;

TEST(FontDialog, AConfirmedChoiceReplacesTheFontAndCancelKeepsIt) {
  TFontDialog dialog(nullptr);
  dialog.Font()->SetName("Noto Sans CJK SC");
  dialog.Font()->SetSize(9);
  TFontDialogAnswer previous = TFontDialog::SetAnswer([](TFont* Font) {
    Font->SetSize(14);
    return false;
  });
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(dialog.Font()->Size(), 9);
  TFontDialog::SetAnswer([](TFont* Font) {
    EXPECT_EQ(Font->Name(), "Noto Sans CJK SC");
    Font->SetSize(14);
    Font->SetStyle({fsBold});
    return true;
  });
  EXPECT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.Font()->Size(), 14);
  EXPECT_TRUE(dialog.Font()->Style().Contains(fsBold));
  TFontDialog::SetAnswer(previous);
}

TEST(CheckListBox, UserClicksCycleTheCheckStateAndRaiseOnClickCheck) {
  TShownForm f;
  auto* list = new TCheckListBox(f.Form);
  list->Items()->SetCommaText("基本工资,奖金");
  list->SetChecked(1, true);
  list->SetParent(f.Form);
  auto* widget = qobject_cast<QListWidget*>(list->Handle());
  ASSERT_NE(widget, nullptr);
  EXPECT_EQ(widget->item(1)->checkState(), Qt::Checked);
  Integer checks = 0;
  list->OnClickCheck = [&](TObject*) { ++checks; };
  widget->item(0)->setCheckState(Qt::Checked);  // as a click on the first box does
  EXPECT_TRUE(list->Checked(0));
  list->SetAllowGrayed(true);
  widget->item(0)->setCheckState(Qt::Unchecked);
  EXPECT_EQ(list->State(0), cbGrayed);
  EXPECT_EQ(widget->item(0)->checkState(), Qt::PartiallyChecked);
  EXPECT_EQ(checks, 2);
  list->SetItemEnabled(1, false);
  EXPECT_FALSE(widget->item(1)->flags() & Qt::ItemIsEnabled);
  EXPECT_THROW(list->State(5), EListError);
}

TEST(SpinEdit, ValueStaysInRangeAndUserStepsRaiseOnChange) {
  TShownForm f;
  auto* spin = new TSpinEdit(f.Form);
  spin->SetMinValue(2);
  spin->SetMaxValue(20);
  spin->SetValue(25);
  EXPECT_EQ(spin->Value(), 20);
  spin->SetParent(f.Form);
  auto* widget = qobject_cast<QSpinBox*>(spin->Handle());
  ASSERT_NE(widget, nullptr);
  EXPECT_EQ(widget->value(), 20);
  Integer changes = 0;
  spin->OnChange = [&](TObject*) { ++changes; };
  widget->stepDown();
  EXPECT_EQ(spin->Value(), 19);
  EXPECT_EQ(spin->Text(), "19");
  EXPECT_EQ(changes, 1);
}

TEST(Action, LinkedMenuItemsFollowTheActionAndRunIt) {
  TActionList list(nullptr);
  auto* action = new TAction(&list);
  action->SetActionList(&list);
  action->SetCaption("备份(&B)");
  Integer executed = 0;
  action->OnExecute = [&](TObject*) { ++executed; };
  bool enable = true;
  action->OnUpdate = [&](TObject*) { action->SetEnabled(enable); };

  TMenuItem item(nullptr);
  item.SetAction(action);
  EXPECT_EQ(item.Caption(), "备份(&B)");
  item.Click();
  EXPECT_EQ(executed, 1);
  enable = false;
  list.UpdateActions();
  EXPECT_FALSE(item.Enabled());
  item.Click();  // a disabled action does not run
  EXPECT_EQ(executed, 1);

  delete action;  // the item lets go of it
  EXPECT_EQ(item.Action(), nullptr);
  EXPECT_EQ(list.ActionCount(), 0);
}
