// The grid's in-place editor: the editor style per column, committing and reverting, the
// commit of key-list, pick-list and lookup texts, completion of typed and pasted text, and
// copying the previous record's value.
#include "DBGridXEditTestSupport.h"
#include "grid/CalculatorX.h"
#include "grid/PopupMonthCalendarX.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/PendingMessages.h"

using dbgridtest::PressKey;
using dbgridtest::TEditGridForm;
using dbgridtest::TypeText;

namespace {
const TShiftState None{};

TEditButtonControlX* DefaultButton(TDBGridInplaceEdit* Editor) { return Editor->ButtonControl(0); }
}  // namespace

TEST(DBGridInplaceEdit, EachColumnGetsTheEditorStyleOfItsButtonStyleAndField) {
  struct Case {
    Integer column;
    TColumnButtonStyleX buttonStyle;
    bool readOnly;
    TInplaceEditStyleX style;
    bool button;
    const char* list;  // class of the active list, "" for none
  };
  for (const Case& c : std::initializer_list<Case>{
           {TEditGridForm::colName, cbsAuto, false, iesPlainX, false, ""},
           {TEditGridForm::colFlag, cbsAuto, false, iesPickListX, true, "TPopupListboxX"},
           {TEditGridForm::colTitle, cbsAuto, false, iesDataListX, true, "TPopupDataGridX"},
           {TEditGridForm::colHired, cbsAuto, false, iesDateX, true, "TPopupMonthCalendarX"},
           {TEditGridForm::colHired, cbsAuto, true, iesPlainX, false, ""},
           {TEditGridForm::colBase, cbsDropDown, false, iesDropDownX, true, "TPopupCalculatorX"},
           {TEditGridForm::colBase, cbsAltDropDown, false, iesAltDropDownX, true, "TPopupCalculatorX"},
           {TEditGridForm::colName, cbsAltDropDown, false, iesAltDropDownX, true, ""},
           {TEditGridForm::colHired, cbsAltDropDown, false, iesAltDateX, true, "TPopupMonthCalendarX"},
           {TEditGridForm::colQty, cbsUpDown, false, iesUpDownX, true, ""},
           {TEditGridForm::colName, cbsEllipsis, false, iesEllipsisX, true, ""},
       }) {
    TEditGridForm f;
    f.Column(TEditGridForm::colFlag)->PickList()->SetText(QStringLiteral("Y\nn\nx"));
    f.Column(c.column)->SetButtonStyle(c.buttonStyle);
    if (c.readOnly) f.Column(c.column)->SetReadOnly(true);
    TDBGridInplaceEdit* editor = f.Edit(c.column);
    ASSERT_NE(editor, nullptr);
    const String where = QStringLiteral("column %1 style %2").arg(c.column).arg(Integer(c.buttonStyle));
    EXPECT_EQ(editor->EditStyle(), c.style) << where.toStdString();
    EXPECT_EQ(f.Column(c.column)->EditorStyle(), c.style) << where.toStdString();
    EXPECT_EQ(DefaultButton(editor)->Visible(), c.button) << where.toStdString();
    EXPECT_EQ(editor->ActiveList() ? editor->ActiveList()->ClassName() : String(), QString::fromUtf8(c.list))
        << where.toStdString();
    EXPECT_EQ(editor->ButtonsWidth() > 0, c.button) << where.toStdString();
  }
}

TEST(DBGridInplaceEdit, CheckBoxColumnsNeverShowTheEditor) {
  TEditGridForm f;
  f.Column(TEditGridForm::colFlag)->SetCheckboxes(true);
  f.Grid->SetSelectedIndex(TEditGridForm::colFlag);
  f.Grid->SetEditorMode(true);
  EXPECT_TRUE(!f.Grid->InplaceEditor() || !f.Grid->InplaceEditor()->IsWindowShown());
}

TEST(DBGridInplaceEdit, EnterCommitsThroughTheFieldAndEscapeReverts) {
  TEditGridForm f;
  TDBGridInplaceEdit* editor = f.Edit(TEditGridForm::colName);
  ASSERT_TRUE(editor->IsWindowShown());
  EXPECT_EQ(editor->Text(), QStringLiteral("Zhang"));
  editor->SelectAll();
  TypeText(editor, QStringLiteral("Zhao"));
  EXPECT_EQ(f.Grid->EditorText(), QStringLiteral("Zhao"));
  PressKey(editor, Qt::Key_Return, QStringLiteral("\r"));
  EXPECT_EQ(f.Field("name")->AsString(), QStringLiteral("Zhao"));

  editor = f.Edit(TEditGridForm::colName);
  editor->SelectAll();
  TypeText(editor, QStringLiteral("Qian"));
  EXPECT_EQ(editor->Text(), QStringLiteral("Qian"));
  PressKey(editor, Qt::Key_Escape);
  EXPECT_EQ(f.Field("name")->AsString(), QStringLiteral("Zhao"));
  EXPECT_EQ(editor->Text(), QStringLiteral("Zhao"));
}

TEST(DBGridInplaceEdit, CommittingKeyListTextsWritesOnlyKeysTheTextStandsFor) {
  struct Case {
    const char* text;
    bool handler;
    bool accept;
    const char* stored;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"No", false, false, "n"},        // found: its key
           {"", false, false, nullptr},      // empty: Null
           {"Maybe", false, false, "Y"},     // unknown without a handler: unchanged
           {"Maybe", true, false, nullptr},  // refused by the handler: Null
           {"Maybe", true, true, "m"},       // the handler added it
       }) {
    TEditGridForm f;
    TColumnX* column = f.Column(TEditGridForm::colFlag);
    column->KeyList()->SetText(QStringLiteral("Y\nn"));
    column->PickList()->SetText(QStringLiteral("Yes\nNo"));
    String asked;
    if (c.handler)
      column->OnNotInList = [&](TObject*, const String& Text, bool& Accept) {
        asked = Text;
        if (!c.accept) return;
        column->PickList()->Add(Text);
        column->KeyList()->Add(QStringLiteral("m"));
        Accept = true;
      };
    f.Grid->SetSelectedIndex(TEditGridForm::colFlag);
    f.Query.Edit();
    f.Grid->SetEditorText(QString::fromUtf8(c.text));
    f.Grid->SetEditKeyValue(Variant::Null());
    f.Grid->UpdateData();
    if (c.stored) {
      EXPECT_EQ(f.Field("flag")->AsString(), QString::fromUtf8(c.stored)) << c.text;
    } else {
      EXPECT_TRUE(f.Field("flag")->IsNull()) << c.text;
    }
    if (c.handler) {
      EXPECT_EQ(asked, QString::fromUtf8(c.text));
    }
  }
}

TEST(DBGridInplaceEdit, CommittingPickListAndLookupTexts) {
  TEditGridForm f;
  TColumnX* flag = f.Column(TEditGridForm::colFlag);
  flag->PickList()->SetText(QStringLiteral("Y\nn"));
  String notInList;
  flag->OnNotInList = [&](TObject*, const String& Text, bool&) { notInList = Text; };
  f.Grid->SetSelectedIndex(TEditGridForm::colFlag);
  f.Query.Edit();
  f.Grid->SetEditorText(QStringLiteral("free"));
  f.Grid->UpdateData();
  EXPECT_EQ(notInList, QStringLiteral("free"));
  EXPECT_EQ(f.Field("flag")->AsString(), QStringLiteral("free"));

  f.Grid->SetSelectedIndex(TEditGridForm::colTitle);
  f.Grid->SetEditKeyValue(Variant(QStringLiteral("D3")));
  f.Grid->SetEditorText(QStringLiteral("Wang"));
  f.Grid->UpdateData();
  EXPECT_EQ(f.Field("dept")->AsString(), QStringLiteral("D3"));
  EXPECT_EQ(f.Field("title")->AsString(), QStringLiteral("Wang"));
  f.Query.Post();
  EXPECT_EQ(f.Field("title")->AsString(), QStringLiteral("Wang"));
}

TEST(DBGridInplaceEdit, AStringFieldLimitsTheEditorUnlessTheColumnHasKeys) {
  TEditGridForm f;
  f.Field("name")->SetSize(10);
  EXPECT_EQ(f.Edit(TEditGridForm::colName)->MaxLength(), 10);
  f.Grid->SetEditorMode(false);
  f.Column(TEditGridForm::colName)->KeyList()->SetText(QStringLiteral("Zhang"));
  f.Column(TEditGridForm::colName)->PickList()->SetText(QStringLiteral("A very long shown text"));
  EXPECT_EQ(f.Edit(TEditGridForm::colName)->MaxLength(), 0);
}

TEST(DBGridInplaceEdit, TypingIntoAKeyListColumnAcceptsOnlyContinuationsOfItsPickList) {
  TEditGridForm f;
  TColumnX* column = f.Column(TEditGridForm::colFlag);
  column->KeyList()->SetText(QStringLiteral("Y\nn"));
  column->PickList()->SetText(QStringLiteral("Yes\nNo"));
  TDBGridInplaceEdit* editor = f.Edit(TEditGridForm::colFlag);
  editor->SelectAll();
  TypeText(editor, QStringLiteral("n"));
  EXPECT_EQ(editor->Text(), QStringLiteral("No"));
  EXPECT_EQ(editor->SelStart(), 1);
  EXPECT_EQ(editor->SelLength(), 1);
  TypeText(editor, QStringLiteral("x"));
  EXPECT_EQ(editor->Text(), QStringLiteral("No"));
  PressKey(editor, Qt::Key_Return, QStringLiteral("\r"));
  EXPECT_EQ(f.Field("flag")->AsString(), QStringLiteral("n"));
}

TEST(DBGridInplaceEdit, LookupColumnsCompleteTypedTextAndGuardTheirKeys) {
  TEditGridForm f;
  TDBGridInplaceEdit* editor = f.Edit(TEditGridForm::colTitle);
  EXPECT_EQ(editor->Text(), QStringLiteral("Lin"));
  EXPECT_EQ(f.Grid->EditKeyValue().AsString(), QStringLiteral("D1"));
  editor->SelectAll();
  TypeText(editor, QStringLiteral("w"));
  EXPECT_EQ(editor->Text(), QStringLiteral("Wang"));
  EXPECT_EQ(f.Grid->EditKeyValue().AsString(), QStringLiteral("D3"));
  // Without a not-in-list handler Backspace only moves the caret.
  editor->SetSelStart(2);
  editor->SetSelLength(0);
  PressKey(editor, Qt::Key_Backspace, QStringLiteral("\b"));
  EXPECT_EQ(editor->Text(), QStringLiteral("Wang"));
  EXPECT_EQ(editor->SelStart(), 1);
  // Delete with everything selected clears the key.
  editor->SelectAll();
  PressKey(editor, Qt::Key_Delete);
  EXPECT_EQ(editor->Text(), QString());
  EXPECT_TRUE(f.Grid->EditKeyValue().IsNull());
  PressKey(editor, Qt::Key_Return, QStringLiteral("\r"));
  EXPECT_TRUE(f.Field("dept")->IsNull());
}

TEST(DBGridInplaceEdit, PastingDropsRefusedCharactersAndTakesAnExactLookupMatch) {
  TEditGridForm f;
  TDBGridInplaceEdit* editor = f.Edit(TEditGridForm::colQty);
  editor->SelectAll();
  Clipboard()->SetAsText(QStringLiteral("1a2b3"));
  editor->Perform(WM_PASTE);
  EXPECT_EQ(editor->Text(), QStringLiteral("123"));

  editor = f.Edit(TEditGridForm::colTitle);
  editor->SelectAll();
  Clipboard()->SetAsText(QStringLiteral("li"));
  editor->Perform(WM_PASTE);
  EXPECT_EQ(editor->Text(), QStringLiteral("Li"));
  EXPECT_EQ(f.Grid->EditKeyValue().AsString(), QStringLiteral("D2"));
  editor->SelectAll();
  Clipboard()->SetAsText(QStringLiteral("wa"));
  editor->Perform(WM_PASTE);
  EXPECT_EQ(editor->Text(), QStringLiteral("Wang"));
  EXPECT_EQ(f.Grid->EditKeyValue().AsString(), QStringLiteral("D3"));
}

TEST(DBGridInplaceEdit, TheAlternativeDropDownOfATextColumnFiresTheEditButtonEvent) {
  TEditGridForm f;
  Integer clicks = 0;
  f.Grid->OnEditButtonClick = [&](TObject*) { ++clicks; };
  f.Column(TEditGridForm::colName)->SetButtonStyle(cbsAltDropDown);
  TDBGridInplaceEdit* editor = f.Edit(TEditGridForm::colName);
  bool autoRepeat = false;
  DefaultButton(editor)->DoButtonDown(true, autoRepeat);
  EXPECT_FALSE(editor->ListVisible());
  f.Column(TEditGridForm::colName)->SetButtonStyle(cbsEllipsis);
  editor = f.Edit(TEditGridForm::colName);
  PressKey(editor, Qt::Key_Return, QStringLiteral("\r"), Qt::ControlModifier);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(editor->Text(), QStringLiteral("Zhang"));
}

TEST(DBGridInplaceEdit, UpDownButtonsStepTheValue) {
  TEditGridForm f;
  f.Column(TEditGridForm::colQty)->SetButtonStyle(cbsUpDown);
  f.Column(TEditGridForm::colQty)->SetIncrement(2);
  TDBGridInplaceEdit* editor = f.Edit(TEditGridForm::colQty);
  editor->StepByButton(false);
  EXPECT_EQ(f.Field("qty")->AsInteger(), 6);
  editor->StepByButton(true);
  EXPECT_EQ(f.Field("qty")->AsInteger(), 4);
}

TEST(DBGridInplaceEdit, CtrlQuoteCopiesThePreviousRecordsValueWhenEditingIsAllowed) {
  TEditGridForm f;
  f.Grid->SetSelectedIndex(TEditGridForm::colTitle);
  Word key = VK_OEM_7;
  f.Grid->KeyDown(key, TShiftState{ssCtrl});  // the first buffered row has no previous record
  EXPECT_EQ(f.Field("dept")->AsString(), QStringLiteral("D1"));
  f.Query.Next();
  key = VK_OEM_7;
  f.Grid->KeyDown(key, TShiftState{ssCtrl});
  EXPECT_EQ(f.Field("dept")->AsString(), QStringLiteral("D1"));
  EXPECT_EQ(f.Field("title")->AsString(), QStringLiteral("Lin"));
  f.Query.Post();

  f.Grid->SetSelectedIndex(TEditGridForm::colName);
  TDBGridInplaceEdit* editor = f.Edit(TEditGridForm::colName);
  PressKey(editor, Qt::Key_Apostrophe, QStringLiteral("'"), Qt::ControlModifier);
  EXPECT_EQ(f.Field("name")->AsString(), QStringLiteral("Zhang"));
  EXPECT_EQ(editor->Text(), QStringLiteral("Zhang"));
  f.Query.Cancel();

  f.Grid->SetOptions(f.Grid->Options() - TDBGridOptions{dgEditing});
  f.Query.Next();
  key = VK_OEM_7;
  f.Grid->KeyDown(key, TShiftState{ssCtrl});
  EXPECT_EQ(f.Field("name")->AsString(), QStringLiteral("Wang"));
}

namespace {
// Images holds eight 8 x 8 red squares.
void FillRedSquares(TImageList& Images) {
  Images.SetSize(8, 8);
  TBitmap red(8, 8);
  red.Canvas()->Brush()->SetColor(clRed);
  red.Canvas()->FillRect(TRect(0, 0, 8, 8));
  for (Integer i = 0; i < 8; ++i) Images.Add(&red, nullptr);
}
}  // namespace

TEST(DBGridInplaceEdit, TheColumnImageIsPaintedBeforeTheTextWithTheArrowCursorOverIt) {
  TEditGridForm f;
  TImageList images(nullptr);
  FillRedSquares(images);
  TColumnX* qty = f.Column(TEditGridForm::colQty);
  qty->SetImageList(&images);
  qty->SetShowImageAndText(true);
  TDBGridInplaceEdit* editor = f.Edit(TEditGridForm::colQty);
  ASSERT_TRUE(editor->Visible());
  ASSERT_EQ(editor->ImageIndex(), 4) << "the value of qty";
  const QImage shown = editor->Handle()->grab().toImage();
  const Integer middle = editor->ClientHeight() / 2;
  EXPECT_EQ(QColorToColor(shown.pixelColor(2 + 4, middle)), clRed) << "the image";
  EXPECT_NE(QColorToColor(shown.pixelColor(2 + 8 + 3, middle)), clRed) << "the gap before the text";

  TRect text;
  editor->TextRect(text);
  EXPECT_EQ(text.Left, 2 + 8 + 5);
  auto cursorAt = [&](Integer X) {
    SetCursorPos(editor->ClientToScreen(TPoint(X, middle)));
    editor->Perform(WM_SETCURSOR, 0, HTCLIENT);
    return CursorShape();
  };
  EXPECT_EQ(cursorAt(4), crArrow) << "over the image";
  EXPECT_EQ(cursorAt(text.Left + 2), crIBeam) << "over the text";
  SetCursorShape(crDefault);

  f.Query.Edit();
  f.Field("qty")->Clear();
  f.Grid->InvalidateEditor();
  EXPECT_EQ(editor->ImageIndex(), -1);
  EXPECT_NE(QColorToColor(editor->Handle()->grab().toImage().pixelColor(2 + 4, middle)), clRed) << "no image for Null";
  f.Query.Cancel();
}

TEST(DBGridInplaceEdit, AWrappingColumnWrapsInTheRowPanelOnlyOnMoreThanOneLine) {
  TEditGridForm f;
  TColumnX* name = f.Column(TEditGridForm::colName);
  name->SetWordWrap(true);
  f.Grid->RowPanel()->SetActive(true);
  QApplication::processEvents();
  EXPECT_FALSE(f.Edit(TEditGridForm::colName)->WordWrap()) << "a one-line panel cell";
  f.Grid->SetEditorMode(false);
  name->SetInRowLineHeight(2);
  QApplication::processEvents();
  EXPECT_TRUE(f.Edit(TEditGridForm::colName)->WordWrap());
}

TEST(DBGridInplaceEdit, OnlyAPressWaitingNextForAButtonIsTakenOffTheQueue) {
  TEditGridForm f;
  f.Column(TEditGridForm::colQty)->SetButtonStyle(cbsUpDown);
  TEditButtonControlX* button = DefaultButton(f.Edit(TEditGridForm::colQty));
  PostMessage(button, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  EXPECT_TRUE(TakePendingClickOnControl(button));
  EXPECT_FALSE(HasPendingMessage(button, WM_LBUTTONDOWN));
  EXPECT_FALSE(TakePendingClickOnControl(button)) << "nothing waits any more";
  PostMessage(button, WM_LBUTTONUP, 0, 0);
  PostMessage(button, WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
  EXPECT_FALSE(TakePendingClickOnControl(button)) << "a release comes first";
  EXPECT_TRUE(HasPendingMessage(button, WM_LBUTTONDBLCLK));
  QApplication::processEvents();
}
