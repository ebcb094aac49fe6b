// The filter drop-down list under a column's title: its command entries, checking values and
// the rows the checks leave, and the size the user gives it.
#include "DBGridXTestSupport.h"
#include "dbgrid/DBGridXFilterEdit.h"
#include "dbgrid/DBGridXGlobals.h"
#include "grid/PopupListboxX.h"
#include <QKeyEvent>

using dbgridtest::TGridForm;

namespace {

struct TFilterListForm : TGridForm {
  TFilterListForm() : TGridForm(500, 200) {
    InitializeGridUnit();
    Connection.ExecuteSql("INSERT INTO pay VALUES (4, 'O''Brien', 500, 5, 'Y', 1)");
    Query.Close();
    Query.Open();
    Names.SetConnection(&Connection);
    Names.SQL()->SetText("SELECT DISTINCT name FROM pay");
    Names.Open();
    NameSource.SetDataSet(&Names);
    Bind();
    Grid->STFilter()->SetVisible(true);
    Grid->STFilter()->SetLocation(stflInTitleFilterX);
    Grid->STFilter()->SetInstantApply(true);
    NameColumn()->STFilter()->SetListSource(&NameSource);
  }
  TColumnX* NameColumn() { return Grid->Columns()->Items(1); }
  TPopupListboxX* List() { return Grid->FilterList(); }
  std::vector<String> Texts() {
    std::vector<String> texts;
    for (Integer i = 0; i < List()->Items()->Count(); ++i) texts.push_back(List()->Items()->Strings(i));
    return texts;
  }
  Integer IndexOf(const char* Text) { return List()->Items()->IndexOf(QString::fromUtf8(Text)); }
  // A press on entry From and a release on entry To.
  void Click(Integer From, Integer To) {
    const TRect from = List()->ItemRect(From), to = List()->ItemRect(To);
    const TPoint down(from.Left + 3, from.Top + 2), up(to.Left + 3, to.Top + 2);
    List()->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(down));
    if (From != To) List()->Perform(WM_MOUSEMOVE, MK_LBUTTON, PointToLParam(up));
    List()->Perform(WM_LBUTTONUP, 0, PointToLParam(up));
  }
  std::vector<String> ShownNames() {
    std::vector<String> names;
    for (Query.First(); !Query.Eof(); Query.Next()) names.push_back(Field("name")->AsString());
    return names;
  }
  TADOQuery Names;
  TDataSource NameSource;
};

}  // namespace

TEST(DBGridXFilterList, OffersItsCommandsAndSortEntriesOnlyWhereTheyApply) {
  TFilterListForm f;
  f.Grid->DropDownColumnFilterList(f.NameColumn());
  ASSERT_TRUE(f.Grid->FilterListDropped());
  std::vector<String> expected{"(清除条件)", "(自定义...)", "(全部)", "(非空)", "(空)", "Li", "O'Brien", "Wang",
                               "Zhang"};
  EXPECT_EQ(f.Texts(), expected);
  f.Grid->CloseFilterList(false);

  f.Grid->STFilter()->SetInstantApply(false);
  f.Grid->SetOptionsX(f.Grid->OptionsX() + TDBGridXOptions{dghAutoSortMarking});
  f.NameColumn()->Title()->SetTitleButton(true);
  f.Grid->DropDownColumnFilterList(f.NameColumn());
  expected.insert(expected.begin(), {"(降序排列)", "(升序排列)", "-"});
  expected.insert(expected.begin() + 4, "(应用条件)");
  EXPECT_EQ(f.Texts(), expected);
  f.Grid->CloseFilterList(false);
  EXPECT_FALSE(f.Grid->FilterListDropped());
}

TEST(DBGridXFilterList, CtrlTDropsTheCurrentColumnsListOnlyWhileTheFilterIsInTheTitles) {
  TFilterListForm f;
  f.Grid->SetFocus();
  f.Grid->SetCol(f.Grid->ColumnIndexToGridCol(1));
  const auto pressCtrlT = [&f] {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_T, Qt::ControlModifier);
    QApplication::sendEvent(f.Grid->Handle(), &press);
  };
  pressCtrlT();
  ASSERT_TRUE(f.Grid->FilterListDropped());
  EXPECT_EQ(f.Grid->FilterDropDownColumn(), f.NameColumn());
  f.Grid->CloseFilterList(false);

  f.NameColumn()->STFilter()->SetVisible(false);
  pressCtrlT();
  EXPECT_FALSE(f.Grid->FilterListDropped()) << "a column without a visible filter";

  f.NameColumn()->STFilter()->SetVisible(true);
  f.Grid->STFilter()->SetLocation(stflUnderTitleFilterX);
  pressCtrlT();
  EXPECT_FALSE(f.Grid->FilterListDropped()) << "a filter row under the titles";
}

TEST(DBGridXFilterList, CheckedValuesBecomeTheConditionAndTheRowsShownAreExactlyThose) {
  TFilterListForm f;
  f.Grid->DropDownColumnFilterList(f.NameColumn());
  TSTColumnFilterX* filter = f.NameColumn()->STFilter();
  f.Click(f.IndexOf("Li"), f.IndexOf("Li"));
  EXPECT_TRUE(f.Grid->FilterListDropped()) << "a value click leaves the list open";
  EXPECT_EQ(filter->ExpressionStr(), "='Li'");
  EXPECT_EQ(f.ShownNames(), (std::vector<String>{"Li"}));

  f.Click(f.IndexOf("Wang"), f.IndexOf("Wang"));
  EXPECT_EQ(filter->ExpressionStr(), "in ('Li','Wang')");
  EXPECT_EQ(f.ShownNames(), (std::vector<String>{"Li", "Wang"}));

  f.Click(f.IndexOf("O'Brien"), f.IndexOf("O'Brien"));
  EXPECT_EQ(filter->ExpressionStr(), "in ('Li','O''Brien','Wang')");
  EXPECT_EQ(f.ShownNames(), (std::vector<String>{"Li", "Wang", "O'Brien"}));

  f.Click(f.IndexOf("Li"), f.IndexOf("Li"));
  EXPECT_EQ(filter->ExpressionStr(), "in ('O''Brien','Wang')") << "a second click clears the check";

  f.Click(f.IndexOf("Zhang"), f.IndexOf("Wang"));
  EXPECT_EQ(filter->ExpressionStr(), "in ('O''Brien','Wang')") << "a press and a release on another entry do nothing";
  EXPECT_EQ(filter->PressedItem(), -1);

  f.Grid->CloseFilterList(false);
  f.Grid->DropDownColumnFilterList(f.NameColumn());
  const std::vector<bool>& checks = filter->CheckStates();
  EXPECT_TRUE(checks[size_t(f.IndexOf("Wang"))] && checks[size_t(f.IndexOf("O'Brien"))]);
  EXPECT_FALSE(checks[size_t(f.IndexOf("Li"))]) << "a reopened list shows the condition's values checked";
  f.Grid->CloseFilterList(false);
}

TEST(DBGridXFilterList, CommandEntriesSetAndClearConditions) {
  TFilterListForm f;
  TSTColumnFilterX* name = f.NameColumn()->STFilter();
  f.Grid->Columns()->Items(2)->STFilter()->SetExpressionText("> 900");
  struct Step {
    const char* Entry;
    const char* NameText;
    std::vector<String> Rows;
  };
  for (const Step& s : std::initializer_list<Step>{{"(空)", "=Null", {}},
                                                  {"(非空)", "<>Null", {"Zhang", "Li", "Wang"}},
                                                  {"(全部)", "", {"Zhang", "Li", "Wang"}},
                                                  {"(清除条件)", "", {"Zhang", "Li", "Wang", "O'Brien"}}}) {
    f.Grid->DropDownColumnFilterList(f.NameColumn());
    f.Click(f.IndexOf(s.Entry), f.IndexOf(s.Entry));
    EXPECT_FALSE(f.Grid->FilterListDropped()) << s.Entry;
    EXPECT_EQ(name->ExpressionStr(), QString::fromUtf8(s.NameText)) << s.Entry;
    EXPECT_EQ(f.ShownNames(), s.Rows) << s.Entry;
  }
  EXPECT_EQ(f.Grid->Columns()->Items(2)->STFilter()->ExpressionStr(), "") << "clearing drops every column's condition";
}

TEST(DBGridXFilterList, AResizedListReopensAtItsSize) {
  TFilterListForm f;
  f.Grid->DropDownColumnFilterList(f.NameColumn());
  const Integer defaultWidth = f.List()->Width();
  f.List()->SetBounds(f.List()->Left(), f.List()->Top(), defaultWidth + 120, f.List()->ItemHeight() * 4 + 4);
  f.Grid->CloseFilterList(false);
  f.Grid->DropDownColumnFilterList(f.NameColumn());
  EXPECT_EQ(f.List()->Width(), defaultWidth + 120);
  EXPECT_EQ(f.NameColumn()->STFilter()->DropDownRows(), f.List()->Rows());
  f.Grid->CloseFilterList(false);
}

TEST(DBGridXFilterList, ValuesAreThoseTheOtherColumnsConditionsLeave) {
  TFilterListForm f;
  TADOQuery rows;
  rows.SetConnection(&f.Connection);
  rows.SQL()->SetText("SELECT * FROM pay");
  rows.Open();
  TDataSource rowSource;
  rowSource.SetDataSet(&rows);
  auto values = [&f] {
    f.Grid->DropDownColumnFilterList(f.NameColumn());
    std::vector<String> texts = f.Texts();
    f.Grid->CloseFilterList(false);
    texts.erase(texts.begin(), texts.begin() + 5);  // the command entries
    return texts;
  };
  f.Grid->Columns()->Items(2)->STFilter()->SetExpressionText("> 900");
  f.NameColumn()->STFilter()->SetExpressionText("='Li'");
  struct Case {
    TDataSource* List;
    const char* OtherCondition;
    std::vector<String> Values;
  };
  for (const Case& c : std::initializer_list<Case>{
           {&rowSource, "> 900", {"Li", "Wang", "Zhang"}},
           {&rowSource, "> 1500", {"Li", "Wang"}},
           {&rowSource, "", {"Li", "O'Brien", "Wang", "Zhang"}},
           {&f.NameSource, "> 1500", {"Li", "O'Brien", "Wang", "Zhang"}}}) {
    f.NameColumn()->STFilter()->SetListSource(c.List);
    f.Grid->Columns()->Items(2)->STFilter()->SetExpressionText(QString::fromUtf8(c.OtherCondition));
    EXPECT_EQ(values(), c.Values) << c.OtherCondition << (c.List == &f.NameSource ? " over a list without the field" : "");
  }
  EXPECT_EQ(f.NameColumn()->STFilter()->ExpressionStr(), "='Li'") << "the column's own condition is back";
  EXPECT_EQ(f.NameColumn()->STFilter()->Expression().FirstOperator, stoEqualX);
}

namespace {
// The title's filter button of column Index: its right end, half way down.
TPoint FilterButtonPoint(TFilterListForm& F, Integer Index) {
  const TRect title = F.Grid->CellRect(F.Grid->ColumnIndexToGridCol(Index), 0);
  return TPoint(title.Right - 4, (title.Top + title.Bottom) / 2);
}

void PressAt(TFilterListForm& F, const TPoint& P) {
  SetCursorPos(F.Grid->ClientToScreen(P));
  F.Grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(P));
  F.Grid->Perform(WM_LBUTTONUP, 0, PointToLParam(P));
}

// Black pixels of the button face around P: its arrow, drawn opaque only when the face is.
Integer ArrowPixels(TFilterListForm& F, const TPoint& P) {
  const QImage image = F.Grab();
  Integer count = 0;
  for (Integer y = P.Y - 8; y < P.Y + 8; ++y)
    for (Integer x = P.X - 8; x < P.X + 4; ++x)
      if (QColorToColor(image.pixelColor(x, y)) == 0) ++count;
  return count;
}
}  // namespace

TEST(DBGridXFilterList, TheTitleFilterButtonOpensTheListUnderItsTitleAndShowsPressedWhileItIsOpen) {
  TFilterListForm f;
  f.Grid->SetFocus();
  const TPoint button = FilterButtonPoint(f, 1);
  EXPECT_EQ(ArrowPixels(f, button), 0) << "a faint button";
  PressAt(f, button);
  ASSERT_TRUE(f.Grid->FilterListDropped());
  EXPECT_EQ(f.Grid->FilterDropDownColumn(), f.NameColumn());
  const TRect title = f.Grid->CellRect(f.Grid->ColumnIndexToGridCol(1), 0);
  EXPECT_EQ(f.List()->Left(), f.Grid->ClientToScreen(TPoint(title.Left, 0)).X);
  EXPECT_EQ(f.List()->Top(), f.Grid->ClientToScreen(TPoint(0, title.Bottom + 1)).Y);
  EXPECT_GT(ArrowPixels(f, button), 0) << "pressed while the list is open";

  PressAt(f, button);
  EXPECT_FALSE(f.Grid->FilterListDropped()) << "a second press closes it";
  EXPECT_EQ(ArrowPixels(f, button), 0);

  PressAt(f, button);
  PressAt(f, FilterButtonPoint(f, 2));
  EXPECT_TRUE(f.Grid->FilterListDropped());
  EXPECT_EQ(f.Grid->FilterDropDownColumn(), f.Grid->Columns()->Items(2)) << "another title's button moves the list";
  const TRect data = f.Grid->CellRect(2, 2);
  PressAt(f, TPoint(data.Left + 3, data.Top + 3));
  EXPECT_FALSE(f.Grid->FilterListDropped()) << "a press elsewhere in the grid closes it";
}

TEST(DBGridXFilterList, TheButtonUnderThePointerLightsUp) {
  TFilterListForm f;
  const TPoint button = FilterButtonPoint(f, 1);
  const TRect title = f.Grid->CellRect(f.Grid->ColumnIndexToGridCol(1), 0);
  auto moveTo = [&f](const TPoint& P) { f.Grid->Perform(WM_MOUSEMOVE, 0, PointToLParam(P)); };
  moveTo(TPoint(title.Left + 3, title.Top + 3));
  moveTo(button);
  EXPECT_EQ(f.Grid->HotEditButton(), 0);
  EXPECT_GT(ArrowPixels(f, button), 0);
  moveTo(TPoint(title.Left + 3, title.Top + 3));
  EXPECT_EQ(f.Grid->HotEditButton(), -1);
  EXPECT_EQ(ArrowPixels(f, button), 0);
}

TEST(DBGridXFilterList, TheListClosesWithoutChoosingWhenTheGridLosesTheFocus) {
  TFilterListForm f;
  TEdit* other = new TEdit(f.Form);
  other->SetParent(f.Form);
  TForm* otherWindow = new TForm(f.Form);
  otherWindow->SetBounds(600, 0, 100, 100);
  struct Case {
    const char* Name;
    std::function<void()> TakeFocus;
  };
  for (const Case& c : std::initializer_list<Case>{{"another control", [other] { other->SetFocus(); }},
                                                  {"another window", [otherWindow] {
                                                     otherWindow->Show();
                                                     otherWindow->Handle()->activateWindow();
                                                   }}}) {
    f.Grid->SetFocus();
    QApplication::processEvents();
    f.Grid->DropDownColumnFilterList(f.NameColumn());
    f.List()->SetItemIndex(f.IndexOf("Li"));
    QApplication::processEvents();
    ASSERT_TRUE(f.Grid->FilterListDropped()) << c.Name;
    c.TakeFocus();
    QApplication::processEvents();
    EXPECT_FALSE(f.Grid->FilterListDropped()) << c.Name;
    EXPECT_EQ(f.NameColumn()->STFilter()->ExpressionStr(), "") << c.Name;
  }
}
