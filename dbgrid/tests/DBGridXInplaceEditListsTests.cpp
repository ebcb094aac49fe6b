// The editor's drop-downs: their sizes, the keys that open, steer and close them, the values
// they give the cell, and the recent values.
#include "DBGridXEditTestSupport.h"
#include "grid/CalculatorX.h"
#include "grid/MRUListX.h"
#include "grid/PopupListboxX.h"
#include "grid/PopupMonthCalendarX.h"
#include <map>

using dbgridtest::PressKey;
using dbgridtest::TEditGridForm;
using dbgridtest::TypeText;

TEST(DBGridInplaceEditLists, TheLookupListIsAsHighAsItsRecordsUpToDropDownRows) {
  for (const auto& [records, rows] : std::initializer_list<std::pair<Integer, Integer>>{{3, 3}, {20, 7}}) {
    TEditGridForm f(records);
    TDBGridInplaceEdit* editor = f.Edit(TEditGridForm::colTitle);
    editor->OpenList();
    ASSERT_TRUE(editor->ListVisible()) << records;
    EXPECT_EQ(editor->DataList()->RowCount(), rows) << records;
    EXPECT_EQ(editor->DataList()->TCustomGridX::RowCount(), editor->DataList()->HeaderRowCount() + rows) << records;
    EXPECT_TRUE(editor->DataList()->Visible());
    EXPECT_GE(editor->DataList()->Width(), editor->Width());
    editor->CloseList(false);
    EXPECT_FALSE(editor->DataList()->Visible());
  }
}

TEST(DBGridInplaceEditLists, APickListKeepsTheSizeTheUserGaveIt) {
  TEditGridForm f;
  TColumnX* column = f.Column(TEditGridForm::colFlag);
  for (Integer i = 0; i < 12; ++i) column->PickList()->Add(QStringLiteral("item %1").arg(i));
  TDBGridInplaceEdit* editor = f.Edit(TEditGridForm::colFlag);
  editor->OpenList();
  TPopupListboxX* list = editor->PickList();
  const Integer itemHeight = list->ItemHeight();
  EXPECT_EQ(list->ClientHeight() / itemHeight, 7);
  list->SetHeight(list->Height() + 3 * itemHeight);
  list->SetUserSized(true);
  editor->CloseList(false);
  EXPECT_EQ(column->DropDownRows(), 10u);
  editor->OpenList();
  EXPECT_EQ(list->ClientHeight() / itemHeight, 10);
}

TEST(DBGridInplaceEditLists, KeysOpenSteerAndCloseAPickList) {
  TEditGridForm f;
  TColumnX* column = f.Column(TEditGridForm::colFlag);
  column->PickList()->SetText(QStringLiteral("Y\nn\nx"));
  TDBGridInplaceEdit* editor = f.Edit(TEditGridForm::colFlag);
  PressKey(editor, Qt::Key_Down, QString(), Qt::AltModifier);
  ASSERT_TRUE(editor->ListVisible());
  EXPECT_EQ(editor->PickList()->ItemIndex(), 0);
  PressKey(editor, Qt::Key_Down);
  EXPECT_EQ(editor->Text(), QStringLiteral("n"));
  PressKey(editor, Qt::Key_Escape);
  EXPECT_FALSE(editor->ListVisible());
  EXPECT_EQ(editor->Text(), QStringLiteral("Y"));

  PressKey(editor, Qt::Key_Return, QStringLiteral("\r"), Qt::ControlModifier);
  ASSERT_TRUE(editor->ListVisible());
  PressKey(editor, Qt::Key_Down);
  PressKey(editor, Qt::Key_Down);
  PressKey(editor, Qt::Key_Up, QString(), Qt::AltModifier);
  EXPECT_FALSE(editor->ListVisible());
  EXPECT_EQ(editor->Text(), QStringLiteral("x"));
  PressKey(editor, Qt::Key_Return, QStringLiteral("\r"));
  EXPECT_EQ(f.Field("flag")->AsString(), QStringLiteral("x"));
}

TEST(DBGridInplaceEditLists, EnterOnATextNotInTheLookupListClosesWithoutTakingIt) {
  TEditGridForm f;
  f.Column(TEditGridForm::colTitle)->OnNotInList = [](TObject*, const String&, bool&) {};
  TDBGridInplaceEdit* editor = f.Edit(TEditGridForm::colTitle);
  editor->OpenList();
  PressKey(editor, Qt::Key_Down);
  EXPECT_EQ(editor->DataList()->KeyValue().AsString(), QStringLiteral("D2"));
  editor->SetText(QStringLiteral("Zzz"));
  PressKey(editor, Qt::Key_Return, QStringLiteral("\r"));
  EXPECT_FALSE(editor->ListVisible());
  EXPECT_EQ(f.Grid->EditKeyValue().AsString(), QStringLiteral("D1"));
  EXPECT_EQ(f.Field("dept")->AsString(), QStringLiteral("D1"));

  editor->SetText(QStringLiteral("Lin"));
  editor->OpenList();
  PressKey(editor, Qt::Key_Down);
  PressKey(editor, Qt::Key_Return, QStringLiteral("\r"));
  EXPECT_FALSE(editor->ListVisible());
  EXPECT_EQ(editor->Text(), QStringLiteral("Li"));
  EXPECT_EQ(f.Grid->EditKeyValue().AsString(), QStringLiteral("D2"));
}

TEST(DBGridInplaceEditLists, OnlyKeyDownMessagesSteerAnOpenList) {
  TEditGridForm f;
  f.Query.Edit();
  f.Field("hired")->SetAsDateTime(EncodeDate(2024, 3, 5) + 2.0 / 24);
  f.Query.Post();
  TDBGridInplaceEdit* editor = f.Edit(TEditGridForm::colHired);
  editor->OpenList();
  ASSERT_TRUE(editor->ListVisible());
  const TDateTime shown = editor->MonthCalendar()->Date();
  for (const char ch : {'\'', '(', '!', '"', '&'}) editor->Perform(WM_CHAR, WPARAM(ch), 0);
  EXPECT_EQ(editor->MonthCalendar()->Date(), shown);
  EXPECT_TRUE(editor->ListVisible());
}

TEST(DBGridInplaceEditLists, TheCalendarKeepsTheTimeOfDayAndTheCalculatorGivesItsValue) {
  TEditGridForm f;
  f.Query.Edit();
  f.Field("hired")->SetAsDateTime(EncodeDate(2024, 3, 5) + 2.0 / 24);
  f.Query.Post();
  TDBGridInplaceEdit* editor = f.Edit(TEditGridForm::colHired);
  editor->OpenList();
  editor->MonthCalendar()->SetDate(EncodeDate(2024, 3, 20));
  editor->CloseList(true);
  EXPECT_DOUBLE_EQ(f.Field("hired")->AsDateTime(), EncodeDate(2024, 3, 20) + 2.0 / 24);

  f.Column(TEditGridForm::colBase)->SetButtonStyle(cbsDropDown);
  editor = f.Edit(TEditGridForm::colBase);
  editor->OpenList();
  ASSERT_TRUE(editor->ListVisible());
  EXPECT_DOUBLE_EQ(editor->Calculator()->GetValue().AsDouble(), 1000);
  editor->Calculator()->SetValue(Variant(1234.5));
  editor->CloseList(true);
  EXPECT_EQ(editor->Text(), QStringLiteral("1234.5"));
  PressKey(editor, Qt::Key_Return, QStringLiteral("\r"));
  EXPECT_DOUBLE_EQ(f.Field("base")->AsFloat(), 1234.5);
}

TEST(DBGridInplaceEditLists, TheRecentValuesOpenOnTypingAndCloseWhenTheTextIsCleared) {
  TEditGridForm f;
  TMRUListX* recent = f.Column(TEditGridForm::colName)->MRUList();
  recent->SetActive(true);
  recent->Items()->SetText(QStringLiteral("Zhou\nZheng\nSun"));
  TDBGridInplaceEdit* editor = f.Edit(TEditGridForm::colName);
  editor->SelectAll();
  TypeText(editor, QStringLiteral("Zh"));
  ASSERT_TRUE(editor->MRUBoxDroppedDown());
  EXPECT_EQ(editor->MRUBox()->Items()->Count(), 2);
  editor->SelectAll();
  PressKey(editor, Qt::Key_Delete);
  EXPECT_EQ(editor->Text(), QString());
  EXPECT_FALSE(editor->MRUBoxDroppedDown());
}

TEST(DBGridInplaceEditLists, AReleaseOutsideTheLookupListClosesItWithoutTakingItsRecord) {
  TEditGridForm f;
  TDBGridInplaceEdit* editor = f.Edit(TEditGridForm::colTitle);
  editor->OpenList();
  TPopupDataGridX* list = editor->DataList();
  ASSERT_TRUE(editor->ListVisible());
  const Integer y = list->TitleAreaHeight() + list->ListRowHeight() + 2;
  list->MouseDown(mbLeft, TShiftState{ssLeft}, 5, y);
  list->MouseUp(mbLeft, TShiftState{}, -20, -20);
  EXPECT_FALSE(editor->ListVisible());
  EXPECT_EQ(f.Grid->EditKeyValue().AsString(), QStringLiteral("D1"));
  EXPECT_EQ(editor->Text(), QStringLiteral("Lin"));

  editor->OpenList();
  list->MouseDown(mbLeft, TShiftState{ssLeft}, 5, y);
  list->MouseUp(mbLeft, TShiftState{}, 5, y);
  EXPECT_FALSE(editor->ListVisible());
  EXPECT_EQ(f.Grid->EditKeyValue().AsString(), QStringLiteral("D2"));
  EXPECT_EQ(editor->Text(), QStringLiteral("Li"));
}

// The column's drop-down box events live in its lookup list and fire where that list paints
// its cells and where its title buttons are pressed.
TEST(DBGridInplaceEditLists, TheColumnsDropDownBoxEventsFireInItsLookupList) {
  TEditGridForm f;
  TColumnX* column = f.Column(TEditGridForm::colTitle);
  std::map<std::string, Integer> fired;
  column->SetOnDropDownBoxCheckButton([&](TObject*, Integer, TColumnX*, bool&) { ++fired["CheckButton"]; });
  column->SetOnDropDownBoxDrawColumnCell(
      [&](TObject*, const TRect&, Integer, TColumnX*, TGridDrawState) { ++fired["DrawColumnCell"]; });
  column->SetOnDropDownBoxGetCellParams(
      [&](TObject*, TColumnX*, TFont*, TColor&, TGridDrawState) { ++fired["GetCellParams"]; });
  column->SetOnDropDownBoxSortMarkingChanged([&](TObject*) { ++fired["SortMarkingChanged"]; });
  column->SetOnDropDownBoxTitleBtnClick([&](TObject*, Integer, TColumnX*) { ++fired["TitleBtnClick"]; });
  column->DropDownBox()->SetOptions(TDBLookupGridXOptions{dlgColLinesX, dlgAutoSortMarkingX});
  TDBGridInplaceEdit* editor = f.Edit(TEditGridForm::colTitle);
  editor->OpenList();
  TPopupDataGridX* list = editor->DataList();
  ASSERT_EQ(list, column->LookupGrid());
  list->SetShowTitles(true);
  list->Columns()->Items(0)->Title()->SetTitleButton(true);
  list->Handle()->grab();
  const TRect title = list->CellRect(list->IndicatorColCount(), 0);
  const TPoint middle{(title.Left + title.Right) / 2, (title.Top + title.Bottom) / 2};
  list->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(middle));
  list->Perform(WM_LBUTTONUP, 0, PointToLParam(middle));
  for (const char* event : {"CheckButton", "DrawColumnCell", "GetCellParams", "SortMarkingChanged", "TitleBtnClick"})
    EXPECT_GE(fired[event], 1) << "OnDropDownBox" << event;
  EXPECT_EQ(fired["TitleBtnClick"], 1);
  EXPECT_EQ(list->Columns()->Items(0)->Title()->SortMarker(), smDownX);
  EXPECT_TRUE(editor->ListVisible()) << "a title press chooses nothing";
}

TEST(DBGridInplaceEditLists, ACopiedColumnTakesItsDropDownBoxesLocalSorting) {
  TEditGridForm f;
  TColumnX* column = f.Column(TEditGridForm::colTitle);
  column->DropDownBox()->SetSortLocal(true);
  EXPECT_TRUE(column->LookupGrid()->SortLocal());
  TColumnX* copy = f.Column(TEditGridForm::colName);
  copy->Assign(column);
  EXPECT_TRUE(copy->DropDownBox()->SortLocal());
  column->DropDownBox()->SetSortLocal(false);
  copy->Assign(column);
  EXPECT_FALSE(copy->DropDownBox()->SortLocal());
  TColumnDropDownBoxX ownerless(nullptr);
  ownerless.SetSortLocal(true);
  EXPECT_FALSE(ownerless.SortLocal()) << "a box without a column keeps nothing";
}
