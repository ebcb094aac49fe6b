#include "UiTestSupport.h"
#include "platform/rtl/ScopeGuards.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/WrappedWidget.h"
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <gtest/gtest.h>

using uitest::TShownForm;

namespace {

void TypeText(QWidget* Widget, const QString& Text) {
  for (const QChar ch : Text) uitest::PressKey(Widget, 0, QString(ch));
}

// Records the WM_COMMAND notifications a parent receives from its children.
struct CommandLog {
  QStringList entries;
  explicit CommandLog(TWinControl* Parent) {
    TWndMethod previous = Parent->WindowProc;
    Parent->WindowProc = [this, previous](TMessage& M) {
      if (M.Msg == WM_COMMAND) entries << QStringLiteral("%1 %2").arg(CommandControl(M)->Name()).arg(CommandCode(M));
      previous(M);
    };
  }
};

}  // namespace

TEST(Edit, PropertiesReachTheWidgetAndTypingRaisesOnChangeAndNotifiesTheParent) {
  TShownForm f;
  CommandLog commands(f.Form);
  auto* edit = new TEdit(f.Form);
  edit->SetName("Edit1");
  edit->SetText("abc");  // set before the window exists
  edit->SetMaxLength(5);
  QStringList changes;
  edit->OnChange = [&](TObject*) { changes << edit->Text(); };
  edit->SetParent(f.Form);
  auto* line = qobject_cast<QLineEdit*>(edit->Handle());
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->text(), "abc");
  EXPECT_EQ(line->maxLength(), 5);
  EXPECT_EQ(changes, QStringList{"abc"});  // the text given before the window changed it too

  changes.clear();
  line->setCursorPosition(3);
  TypeText(line, "de中");  // the limit keeps the last character out
  EXPECT_EQ(edit->Text(), "abcde");
  EXPECT_EQ(changes, (QStringList{"abcd", "abcde"}));
  EXPECT_TRUE(edit->Modified());
  // One EN_CHANGE when the window took the first text, then one per typed character.
  EXPECT_EQ(commands.entries, (QStringList{"Edit1 768", "Edit1 768", "Edit1 768"}));

  edit->SetColor(clYellow);
  edit->Font()->SetColor(clRed);
  EXPECT_EQ(line->palette().color(QPalette::Base), QColor(Qt::yellow));
  EXPECT_EQ(line->palette().color(QPalette::Text), QColor(Qt::red));

  edit->SetReadOnly(true);
  edit->SetPasswordChar(u'*');
  EXPECT_TRUE(line->isReadOnly());
  EXPECT_EQ(line->echoMode(), QLineEdit::Password);
  TypeText(line, "x");
  EXPECT_EQ(edit->Text(), "abcde");
}

TEST(Edit, SelectionMessagesAndClipboard) {
  TShownForm f;
  auto* edit = new TEdit(f.Form);
  edit->SetParent(f.Form);
  edit->SetText("payroll");
  edit->Perform(EM_SETSEL, 3, 6);
  EXPECT_EQ(edit->SelText(), "rol");
  Integer start = 0, end = 0;
  edit->Perform(EM_GETSEL, WPARAM(&start), LPARAM(&end));
  EXPECT_EQ(start, 3);
  EXPECT_EQ(end, 6);

  edit->CopyToClipboard();
  EXPECT_EQ(Clipboard()->AsText(), "rol");
  edit->Perform(EM_SETSEL, 0x7FFFFFFF, -1);  // caret to the end
  EXPECT_EQ(edit->SelStart(), 7);
  EXPECT_EQ(edit->SelLength(), 0);
  edit->PasteFromClipboard();
  EXPECT_EQ(edit->Text(), "payrollrol");

  TRect r(2, 2, 100, 21);
  edit->Perform(EM_SETRECTNP, 0, LPARAM(&r));
  EXPECT_EQ(LoWord(edit->Perform(EM_GETMARGINS)), 2);
}

TEST(Memo, LinesAreTheTextWithLineBreaks) {
  TShownForm f;
  auto* memo = new TMemo(f.Form);
  memo->SetParent(f.Form);
  memo->Lines()->Add("第一行");
  memo->Lines()->Add("second");
  EXPECT_EQ(memo->Text(), "第一行\r\nsecond");
  auto* widget = qobject_cast<QPlainTextEdit*>(memo->Handle());
  ASSERT_NE(widget, nullptr);
  EXPECT_EQ(widget->toPlainText(), "第一行\nsecond");
  // Selections count each line break as two characters, as the text does.
  memo->SetSelStart(5);
  memo->SetSelLength(3);
  EXPECT_EQ(memo->SelText(), "sec");
  EXPECT_EQ(widget->textCursor().selectedText(), "sec");
  memo->SetSelText("2nd ");
  EXPECT_EQ(memo->Text(), "第一行\r\n2nd ond");

  memo->Lines()->SetStrings(1, "2");
  memo->Lines()->Delete(0);
  EXPECT_EQ(memo->Text(), "2");
  EXPECT_EQ(memo->Lines()->Count(), 1);
}

TEST(Button, ClickSetsModalResultAndDialogKeysClickDefaultAndCancel) {
  TShownForm f;
  auto* ok = new TButton(f.Form);
  ok->SetParent(f.Form);
  ok->SetCaption("确认(&E)");
  ok->SetDefault(true);
  ok->SetModalResult(mrOk);
  auto* cancel = new TButton(f.Form);
  cancel->SetParent(f.Form);
  cancel->SetCancel(true);
  QStringList clicks;
  ok->OnClick = [&](TObject*) { clicks << "ok"; };
  cancel->OnClick = [&](TObject*) { clicks << "cancel"; };

  auto* widget = qobject_cast<QPushButton*>(ok->Handle());
  ASSERT_NE(widget, nullptr);
  EXPECT_EQ(widget->text(), "确认(&E)");
  uitest::Click(ok, {5, 5});
  EXPECT_EQ(clicks, QStringList{"ok"});
  EXPECT_EQ(f.Form->ModalResult(), mrOk);

  f.Form->Perform(CM_DIALOGKEY, VK_ESCAPE);
  f.Form->Perform(CM_DIALOGKEY, VK_RETURN);
  EXPECT_EQ(clicks, (QStringList{"ok", "cancel", "ok"}));
}

TEST(CheckBox, ClicksCycleThroughTheStatesAndRaiseOnClick) {
  TShownForm f;
  auto* box = new TCheckBox(f.Form);
  box->SetParent(f.Form);
  box->SetAllowGrayed(true);
  Integer clicks = 0;
  box->OnClick = [&](TObject*) { ++clicks; };
  auto* widget = qobject_cast<QCheckBox*>(box->Handle());
  ASSERT_NE(widget, nullptr);
  for (TCheckBoxState expected : {cbChecked, cbGrayed, cbUnchecked}) {
    uitest::Click(box, {3, 8});
    EXPECT_EQ(box->State(), expected);
    EXPECT_EQ(widget->checkState(), expected == cbChecked ? Qt::Checked : expected == cbGrayed ? Qt::PartiallyChecked : Qt::Unchecked);
  }
  EXPECT_EQ(clicks, 3);
  box->SetChecked(true);  // by program, also an OnClick
  EXPECT_EQ(clicks, 4);
  EXPECT_EQ(box->Perform(BM_GETCHECK), BST_CHECKED);
}

TEST(RadioButton, CheckingOneUnchecksItsSiblings) {
  TShownForm f;
  auto* a = new TRadioButton(f.Form);
  auto* b = new TRadioButton(f.Form);
  a->SetParent(f.Form);
  b->SetParent(f.Form);
  b->SetTop(20);
  a->SetChecked(true);
  uitest::Click(b, {3, 8});
  EXPECT_TRUE(b->Checked());
  EXPECT_FALSE(a->Checked());
  EXPECT_FALSE(qobject_cast<QRadioButton*>(a->Handle())->isChecked());
}

TEST(ListBox, ItemsReachTheWidgetAndAUserSelectionRaisesOnClick) {
  TShownForm f;
  auto* list = new TListBox(f.Form);
  list->Items()->Add("甲");
  list->Items()->Add("乙");
  list->SetItemIndex(1);
  list->SetParent(f.Form);
  auto* widget = qobject_cast<QListWidget*>(list->Handle());
  ASSERT_NE(widget, nullptr);
  EXPECT_EQ(widget->count(), 2);
  EXPECT_EQ(widget->currentRow(), 1);

  Integer clicks = 0;
  list->OnClick = [&](TObject*) { ++clicks; };
  list->Items()->Add("丙");
  EXPECT_EQ(widget->count(), 3);
  EXPECT_EQ(clicks, 0);  // changes by program raise nothing
  widget->setCurrentRow(2);  // as a click on the third item does
  EXPECT_EQ(list->ItemIndex(), 2);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(list->ItemAtPos({5, 2}, true), 0);
}

TEST(ListBox, OwnerDrawAndVirtualItemsAreDrawnThroughTheControl) {
  TShownForm f;
  auto* list = new TListBox(f.Form);
  list->SetStyle(lbVirtualOwnerDraw);
  list->SetParent(f.Form);
  list->SetBounds(0, 0, 120, 120);
  list->SetItemHeight(20);
  list->SetCount(3);
  list->OnData = [](TWinControl*, Integer Index, String& Data) { Data = QString::number(Index * 10); };
  QStringList drawn;
  list->OnDrawItem = [&](TWinControl* Control, Integer Index, TRect Rect, TOwnerDrawState) {
    drawn << static_cast<TListBox*>(Control)->ItemText(Index);
    EXPECT_EQ(Rect.Height(), 20);
  };
  uitest::Grab(list->Handle());
  EXPECT_EQ(drawn, (QStringList{"0", "10", "20"}));
  EXPECT_THROW(TListBox(nullptr).SetCount(1), EInvalidOperation);
}

TEST(ComboBox, SelectingAndTypingRaiseTheirEvents) {
  TShownForm f;
  auto* combo = new TComboBox(f.Form);
  combo->Items()->SetCommaText("件,套,方");
  combo->SetStyle(csDropDownList);
  combo->SetItemIndex(1);
  combo->SetParent(f.Form);
  auto* widget = qobject_cast<QComboBox*>(combo->Handle());
  ASSERT_NE(widget, nullptr);
  EXPECT_FALSE(widget->isEditable());
  EXPECT_EQ(widget->currentIndex(), 1);
  EXPECT_EQ(combo->Text(), "套");

  QStringList events;
  combo->OnChange = [&](TObject*) { events << "change " + combo->Text(); };
  combo->OnClick = [&](TObject*) { events << "click"; };
  widget->setCurrentIndex(2);
  Q_EMIT widget->activated(2);  // what choosing the third entry in the list does
  EXPECT_EQ(combo->ItemIndex(), 2);
  EXPECT_EQ(events, (QStringList{"click", "change 方"}));

  events.clear();
  combo->SetStyle(csDropDown);
  ASSERT_TRUE(widget->isEditable());
  widget->lineEdit()->clear();
  TypeText(widget->lineEdit(), "米");
  EXPECT_EQ(combo->Text(), "米");
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(events, QStringList{"change 米"});

  combo->SetText("件");
  EXPECT_EQ(combo->ItemIndex(), 0);
  EXPECT_EQ(widget->lineEdit()->text(), "件");
}

TEST(ComboBox, ItemsAddedInAnUpdateBracketReachTheWidgetInOneInsert) {
  TShownForm f;
  auto* combo = new TComboBox(f.Form);
  combo->SetParent(f.Form);
  auto* widget = qobject_cast<QComboBox*>(combo->Handle());
  ASSERT_NE(widget, nullptr);
  QList<int> inserts;
  QObject::connect(widget->model(), &QAbstractItemModel::rowsInserted,
                   [&](const QModelIndex&, int First, int Last) { inserts << Last - First + 1; });
  {
    const TUpdateLock<TStrings> bulk(combo->Items());
    for (int i = 0; i < 500; ++i) combo->Items()->Add(QStringLiteral("职员%1").arg(i));
  }
  EXPECT_EQ(inserts, QList<int>{500});
  ASSERT_EQ(widget->count(), 500);
  EXPECT_EQ(widget->itemText(499), "职员499");
}

TEST(ScrollBar, UserScrollingArrivesAsOnScrollThenOnChange) {
  TShownForm f;
  auto* bar = new TScrollBar(f.Form);
  bar->SetParent(f.Form);
  bar->SetParams(5, 0, 20);
  bar->SetLargeChange(10);
  auto* widget = qobject_cast<QScrollBar*>(bar->Handle());
  ASSERT_NE(widget, nullptr);
  EXPECT_EQ(widget->value(), 5);
  QStringList events;
  bar->OnScroll = [&](TObject*, TScrollCode Code, Integer& Pos) { events << QStringLiteral("scroll %1 %2").arg(Code).arg(Pos); };
  bar->OnChange = [&](TObject*) { events << QStringLiteral("change %1").arg(bar->Position()); };
  widget->triggerAction(QAbstractSlider::SliderPageStepAdd);
  widget->triggerAction(QAbstractSlider::SliderPageStepAdd);  // stops at the end
  EXPECT_EQ(events, (QStringList{"scroll 3 15", "change 15", "scroll 3 20", "change 20"}));
  EXPECT_THROW(bar->SetParams(0, 10, 5), EInvalidOperation);
}

TEST(Label, AutoSizeFollowsTheCaptionAndAClickReachesOnClick) {
  TShownForm f;
  auto* label = new TLabel(f.Form);
  label->SetParent(f.Form);
  label->Font()->SetName("Noto Sans CJK SC");
  label->SetCaption("初始密码为729");
  const Integer width = label->Width();
  label->SetCaption("初始密码为729，登陆不需要输入密码");
  EXPECT_GT(label->Width(), width);
  label->SetAutoSize(false);
  label->SetCaption("短");
  EXPECT_GT(label->Width(), width);  // kept
  Integer clicks = 0;
  label->OnClick = [&](TObject*) { ++clicks; };
  uitest::Click(f.Form, {label->Left() + 2, label->Top() + 2});
  EXPECT_EQ(clicks, 1);
}

TEST(GroupBox, ChildrenAlignBelowTheCaption) {
  TShownForm f;
  auto* group = new TGroupBox(f.Form);
  group->SetParent(f.Form);
  group->SetCaption("提示");
  auto* child = new TEdit(f.Form);
  child->SetParent(group);
  child->SetAlign(alClient);
  EXPECT_GT(child->Top(), 8);
  EXPECT_LT(child->Width(), group->Width());
}
