#include "DBCtrlsXTestSupport.h"
#include "grid/DBCtrlsX.h"
#include "grid/MRUListX.h"
#include "grid/PopupListboxX.h"
#include "platform/ui/Menus.h"

using dbedits::TPayTableForm;

TEST(DBEditX, ShowsDisplayTextAndEditsTheEditTextAndPostsWhenLeft) {
  TPayTableForm f;
  auto* amount = static_cast<TFloatField*>(f.Field("amount"));
  amount->SetDisplayFormat(QStringLiteral("#,##0.00元"));
  amount->SetEditFormat(QStringLiteral("0.##"));
  auto* edit = f.Place<TDBEditX>("amount");
  EXPECT_EQ(edit->EditText(), QStringLiteral("1,234.50元"));
  EXPECT_TRUE(static_cast<TCustomEdit*>(edit)->ReadOnly()) << "a browsing data set keeps the window read-only";

  edit->SetFocus();
  EXPECT_EQ(edit->EditText(), "1234.5");
  edit->SelectAll();
  dbedits::Type(edit, "99");
  EXPECT_EQ(f.Query.State(), dsEdit) << "the first character starts editing";
  EXPECT_EQ(edit->EditText(), "99");
  EXPECT_EQ(amount->AsFloat(), 1234.5) << "nothing is written while typing";

  f.Leave();
  EXPECT_EQ(amount->AsFloat(), 99.0);
  EXPECT_EQ(f.Query.State(), dsEdit) << "posting is the data set's affair";
  EXPECT_EQ(edit->EditText(), QStringLiteral("99.00元"));
  f.Query.Post();
  EXPECT_EQ(f.Scalar("SELECT amount FROM pay WHERE id = 1"), "99");
}

TEST(DBEditX, EscapeRevertsToTheFieldAndSelectsIt) {
  TPayTableForm f;
  auto* edit = f.Place<TDBEditX>("name");
  edit->SetFocus();
  edit->SelectAll();
  dbedits::Type(edit, "Wang");
  dbedits::PressKey(edit, Qt::Key_Escape, QStringLiteral("\x1b"));
  EXPECT_EQ(edit->EditText(), QStringLiteral("张三"));
  EXPECT_EQ(edit->SelLength(), 2);
  f.Leave();
  EXPECT_EQ(f.Field("name")->AsString(), QStringLiteral("张三"));
}

TEST(DBEditX, ChineseCharactersStartEditingLikeLatinOnes) {
  TPayTableForm f;
  auto* edit = f.Place<TDBEditX>("name");
  edit->SetFocus();
  edit->SetSelStart(2);
  dbedits::Type(edit, QStringLiteral("丰"));
  EXPECT_EQ(f.Query.State(), dsEdit);
  f.Leave();
  EXPECT_EQ(f.Field("name")->AsString(), QStringLiteral("张三丰"));
}

TEST(DBEditX, ReadOnlyEditsAndReadOnlyDataSetsRefuseTyping) {
  {
    TPayTableForm f;
    auto* edit = f.Place<TDBEditX>("name");
    edit->SetReadOnly(true);
    edit->SetFocus();
    dbedits::Type(edit, "x");
    EXPECT_EQ(f.Query.State(), dsBrowse);
    EXPECT_EQ(edit->EditText(), QStringLiteral("张三"));
  }
  {
    TPayTableForm f(ltReadOnly);
    auto* edit = f.Place<TDBEditX>("name");
    edit->SetFocus();
    dbedits::Type(edit, "x");
    EXPECT_EQ(f.Query.State(), dsBrowse);
    EXPECT_EQ(edit->EditText(), QStringLiteral("张三"));
  }
}

TEST(DBEditX, MaxLengthFollowsTheStringFieldSize) {
  TPayTableForm f;
  auto* edit = f.Place<TDBEditX>("name");
  EXPECT_EQ(edit->MaxLength(), 20);
  edit->SetDataField("note");
  EXPECT_EQ(edit->MaxLength(), 8) << "the old field's size is dropped before the new one is taken";
  edit->SetDataField("amount");
  EXPECT_EQ(edit->MaxLength(), 0);
}

TEST(DBEditX, UnboundEditKeepsItsOwnValueAndOnUpdateDataCanTakeOverTheWrite) {
  TPayTableForm f;
  auto* edit = new TDBEditX(f.Form);
  edit->SetParent(f.Form);
  edit->SetEditMask("!999-99;1;_");
  edit->SetFocus();
  dbedits::Type(edit, "12345");
  f.Leave();
  EXPECT_EQ(edit->DataLink()->UnboundValue().AsString(), "123-45") << "literals are kept";
  EXPECT_EQ(edit->Value().AsString(), "123-45");

  auto* bound = f.Place<TDBEditX>("name");
  int calls = 0;
  bound->OnUpdateData = [&](TObject*, bool& Handled) {
    ++calls;
    Handled = true;
  };
  bound->SetFocus();
  bound->SelectAll();
  dbedits::Type(bound, "Zhao");
  f.Leave();
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(f.Field("name")->AsString(), QStringLiteral("张三"));
  EXPECT_FALSE(bound->Modified());
}

TEST(DBEditX, SettingTextThatTheFieldRefusesReloadsTheField) {
  TPayTableForm f;
  auto* edit = f.Place<TDBEditX>("amount");
  EXPECT_THROW(edit->SetText("abc"), Exception);
  EXPECT_EQ(edit->EditText(), "1234.5");
  edit->SetText("7");
  EXPECT_EQ(f.Field("amount")->AsFloat(), 7.0);
}

TEST(DBEditX, ClosedDataSetShowsNothing) {
  TPayTableForm f;
  auto* edit = f.Place<TDBEditX>("name");
  ASSERT_NE(edit->ButtonControl(0), nullptr);
  EXPECT_TRUE(edit->ButtonControl(0)->Enabled());
  f.Query.Close();
  EXPECT_EQ(edit->EditText(), "");
  EXPECT_FALSE(edit->DataLink()->IsActive());
  EXPECT_FALSE(edit->ButtonControl(0)->Enabled()) << "no buttons without data";
}

TEST(DBEditX, AnUnknownFieldNameIsReportedWithTheControlsName) {
  TPayTableForm f;
  auto* edit = f.Place<TDBEditX>("name");
  edit->SetName("PayEdit");
  try {
    edit->SetDataField("nosuch");
    ADD_FAILURE() << "an unknown field was accepted";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "PayEdit: Field 'nosuch' not found");
  }
  EXPECT_EQ(edit->DataLink()->FirstField(), nullptr);
}

TEST(DBEditX, TooltipShowsAClippedTextInTheEditsFont) {
  TPayTableForm f;
  auto* edit = f.Place<TDBEditX>("name");
  edit->SetTooltips(true);
  edit->SetWidth(30);
  f.Query.Edit();
  f.Field("name")->SetAsString(QStringLiteral("一个很长很长的名字"));
  THintInfo info;
  LRESULT shown = edit->Perform(CM_HINTSHOW, 0, LPARAM(&info));
  EXPECT_EQ(shown, 0);
  EXPECT_EQ(info.HintStr, QStringLiteral("一个很长很长的名字"));
  EXPECT_EQ(info.HintPos, edit->ClientToScreen(TPoint(0, edit->Height())));
  EXPECT_EQ(info.HintData, edit->Font());
  ASSERT_TRUE(info.HintWindowClass);
  std::unique_ptr<THintWindow> tip(info.HintWindowClass());
  edit->Font()->SetSize(20);
  const TRect large = tip->CalcHintRect(1000, info.HintStr, info.HintData);
  edit->Font()->SetSize(8);
  const TRect small = tip->CalcHintRect(1000, info.HintStr, info.HintData);
  EXPECT_GT(large.Width(), small.Width()) << "the tip measures in the edit's font";

  edit->SetWidth(400);
  THintInfo fits;
  EXPECT_EQ(edit->Perform(CM_HINTSHOW, 0, LPARAM(&fits)), 1) << "no tip for a text that fits, without ShowHint";
}

TEST(DBEditX, RecentValuesDropDownAsTheUserTypes) {
  TPayTableForm f;
  auto* edit = new TDBEditX(f.Form);
  edit->SetParent(f.Form);
  edit->MRUList()->SetActive(true);
  for (const char* value : {"abc", "Abd", "xyz"}) edit->MRUList()->Items()->Add(value);
  edit->SetFocus();
  dbedits::Type(edit, "ab");
  ASSERT_TRUE(edit->RecentListOpen());
  EXPECT_EQ(edit->RecentList()->Items()->Count(), 2) << "matching ignores case";
  dbedits::PressKey(edit, Qt::Key_Down);
  dbedits::PressKey(edit, Qt::Key_Down);
  EXPECT_EQ(edit->RecentList()->ItemIndex(), 1);
  dbedits::PressKey(edit, Qt::Key_Return, "\r");
  EXPECT_FALSE(edit->RecentListOpen());
  EXPECT_EQ(edit->Text(), "Abd");

  edit->SelectAll();
  dbedits::Type(edit, "x");
  ASSERT_TRUE(edit->RecentListOpen());
  dbedits::PressKey(edit, Qt::Key_Escape, "\x1b");
  EXPECT_FALSE(edit->RecentListOpen());
  EXPECT_EQ(edit->Text(), "x") << "Escape keeps the typed text";

  f.Leave();
  EXPECT_EQ(edit->MRUList()->Items()->Strings(edit->MRUList()->Items()->Count() - 1), "x")
      << "a stored value becomes the most recent one";
}

TEST(DBEditX, AButtonWithADropDownMenuOpensItUnderTheButtonAndComesBackUp) {
  TPayTableForm f;
  auto* edit = f.Place<TDBEditX>("amount");
  TPopupMenu menu(nullptr);
  TComponent* shownFor = nullptr;
  menu.OnPopup = [&](TObject*) { shownFor = menu.PopupComponent(); };
  auto* button = static_cast<TEditButtonX*>(edit->EditButtons()->Add());
  button->SetVisible(true);
  button->SetDropdownMenu(&menu);
  ASSERT_NE(edit->ButtonControl(1), nullptr);
  bool autoRepeat = false;
  edit->ButtonControl(1)->DoButtonDown(false, autoRepeat);
  EXPECT_EQ(shownFor, edit->ButtonControl(1));
  EXPECT_FALSE(edit->ButtonControl(1)->Down());
}
