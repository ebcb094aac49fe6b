// The filter drop-down list under a column's title: its command entries, checking values and
// the rows the checks leave, and the size the user gives it.
#include "DBGridXTestSupport.h"
#include "dbgrid/DBGridXFilterEdit.h"
#include "dbgrid/DBGridXGlobals.h"
#include "grid/PopupListboxX.h"

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
