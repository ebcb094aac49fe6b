// Keyboard handling: record moves, row selection by Shift, tabbing, appending, deleting and
// the incremental search.
#include "DBGridXTestSupport.h"
#include "dbgrid/DBGridXCenter.h"
#include "TreeGridForm.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/StdCtrls.h"

using dbgridtest::TGridForm;

namespace {
const TShiftState None{}, Shift{ssShift}, Ctrl{ssCtrl}, CtrlShift{ssCtrl, ssShift};

void Press(TCustomDBGridX* Grid, Word Key, TShiftState State = None) {
  Word key = Key;
  Grid->KeyDown(key, State);
}

void Type(TCustomDBGridX* Grid, const char* Text) {
  for (QChar ch : QString::fromUtf8(Text)) {
    TMessage m{WM_CHAR, WPARAM(ch.unicode()), 0, 0};
    Grid->Perform(m.Msg, m.WParam, m.LParam);
  }
}

// Record numbers of the selected rows.
std::vector<Integer> SelectedRecNos(TGridForm& F) {
  std::vector<Integer> recNos;
  TBookmarkListX* rows = F.Grid->RecordBookmarks();
  const TBookmarkStr current = F.Query.Bookmark();
  for (Integer i = 0; i < rows->GetCount(); ++i) {
    F.Query.SetBookmark(rows->GetBookmark(i));
    recNos.push_back(F.Query.RecNo());
  }
  F.Query.SetBookmark(current);
  return recNos;
}

std::vector<Integer> Range(Integer From, Integer To) {
  std::vector<Integer> range;
  for (Integer i = From; i <= To; ++i) range.push_back(i);
  return range;
}

class TSelectGrid : public TGridForm {
public:
  TSelectGrid() {
    AddRows(10);
    Bind();
    Grid->SetOptions(Grid->Options() + TDBGridOptions{dgRowSelect, dgMultiSelect});
    Query.First();
  }
};
}  // namespace

TEST(DBGridXKeys, ShiftExtendsTheRowSelectionAndStepsBackTowardsTheAnchor) {
  TSelectGrid f;
  struct Step {
    Word key;
    TShiftState shift;
    Integer recNo;
    std::vector<Integer> selected;
  };
  for (const Step& s : std::initializer_list<Step>{
           {VK_DOWN, Shift, 2, {1, 2}},
           {VK_DOWN, Shift, 3, {1, 2, 3}},
           {VK_DOWN, Shift, 4, {1, 2, 3, 4}},
           {VK_UP, Shift, 3, {1, 2, 3}},
           {VK_DOWN, None, 4, {}},
           {VK_END, CtrlShift, 13, Range(4, 13)},
           {VK_HOME, Ctrl, 1, {}},
       }) {
    Press(f.Grid, s.key, s.shift);
    EXPECT_EQ(f.Query.RecNo(), s.recNo) << s.key;
    EXPECT_EQ(SelectedRecNos(f), s.selected) << s.key;
  }
}

TEST(DBGridXKeys, ExtendingWithCtrlOrWithoutClearingTogglesFromTheAnchorsFormerState) {
  TSelectGrid f;
  for (Integer i = 0; i < 3; ++i) Press(f.Grid, VK_DOWN, Shift);
  ASSERT_EQ(SelectedRecNos(f), Range(1, 4));
  Press(f.Grid, VK_HOME, CtrlShift);
  EXPECT_EQ(SelectedRecNos(f), std::vector<Integer>{1}) << "back over the range to the anchor";
  Press(f.Grid, VK_HOME, Ctrl);
  ASSERT_EQ(SelectedRecNos(f), std::vector<Integer>{});

  f.Grid->SetOptionsX(f.Grid->OptionsX() - TDBGridXOptions{dghClearSelection});
  for (Integer recNo : {2, 3, 7}) {
    f.Query.SetRecNo(recNo);
    f.Grid->RecordBookmarks()->MarkCurrentRow(true);
  }
  f.Query.SetRecNo(2);
  Press(f.Grid, VK_DOWN, Shift);
  Press(f.Grid, VK_DOWN, Shift);
  EXPECT_EQ(SelectedRecNos(f), std::vector<Integer>{7}) << "rows take the opposite of the selected anchor";
  Press(f.Grid, VK_DOWN);
  EXPECT_EQ(SelectedRecNos(f), std::vector<Integer>{7}) << "a plain move keeps the selection";

  // To either end in one key: the new anchor's rows beyond it, its former state before it.
  Integer changes = 0;
  f.Grid->OnSelectionChanged = [&](TObject*) { ++changes; };
  Press(f.Grid, VK_END, CtrlShift);
  EXPECT_EQ(f.Query.RecNo(), 13);
  EXPECT_EQ(SelectedRecNos(f), Range(5, 13));
  EXPECT_EQ(changes, 1) << "the rows reach the list in one change";
  Press(f.Grid, VK_HOME, CtrlShift);
  EXPECT_EQ(f.Query.RecNo(), 1);
  EXPECT_EQ(SelectedRecNos(f), Range(1, 5));
}

TEST(DBGridXKeys, CtrlAAndEscapeSelectAndClearEverything) {
  TSelectGrid f;
  Press(f.Grid, 'A', Ctrl);
  EXPECT_EQ(f.Grid->Selection()->SelectionKind(), gstNon) << "select-all is not an edit action of this grid";
  f.Grid->SetEditActions(TDBGridXEditActions{geaSelectAllX});
  Press(f.Grid, 'A', Ctrl);
  EXPECT_EQ(f.Grid->Selection()->SelectionKind(), gstAll);
  Press(f.Grid, VK_ESCAPE);
  EXPECT_EQ(f.Grid->Selection()->SelectionKind(), gstNon);
}

TEST(DBGridXKeys, TabWrapsToTheNeighbourRecordAndSkipsReadOnlyColumns) {
  TGridForm f;
  for (const char* name : {"name", "base", "bonus"}) f.Grid->Columns()->Add()->SetFieldName(name);
  f.Grid->Columns()->Items(1)->SetReadOnly(true);
  f.Bind();
  f.Query.First();
  f.Grid->SetSelectedIndex(0);
  struct Step {
    TShiftState shift;
    Integer recNo;
    Integer column;
  };
  for (const Step& s : std::initializer_list<Step>{{None, 1, 2}, {None, 2, 0}, {Shift, 1, 2}, {Shift, 1, 0}}) {
    Press(f.Grid, VK_TAB, s.shift);
    EXPECT_EQ(f.Query.RecNo(), s.recNo);
    EXPECT_EQ(f.Grid->SelectedIndex(), s.column);
  }
}

TEST(DBGridXKeys, DownAtTheEndAppendsAndUpCancelsTheUntouchedRecord) {
  TGridForm f;
  f.Bind();
  const Integer count = f.Query.RecordCount();
  f.Query.Last();
  Press(f.Grid, VK_DOWN);
  EXPECT_EQ(f.Query.State(), dsInsert);
  Press(f.Grid, VK_DOWN);
  EXPECT_EQ(f.Query.State(), dsInsert) << "a second Down on the untouched record does nothing";
  Press(f.Grid, VK_UP);
  EXPECT_EQ(f.Query.State(), dsBrowse);
  EXPECT_EQ(f.Query.RecordCount(), count);
  EXPECT_EQ(f.Query.RecNo(), count);

  f.Grid->SetOptions(f.Grid->Options() - TDBGridOptions{dgEditing});
  Press(f.Grid, VK_DOWN);
  EXPECT_EQ(f.Query.State(), dsBrowse) << "a grid that does not edit appends nothing";
}

TEST(DBGridXKeys, CtrlDeleteAsksAndNeedsAnEditingGrid) {
  TGridForm f;
  f.Bind();
  const Integer count = f.Query.RecordCount();
  TScriptedDialogs dialogs;
  dialogs.AnswerMessageBox(mrCancel);
  Press(f.Grid, VK_DELETE, Ctrl);
  EXPECT_EQ(f.Query.RecordCount(), count);
  EXPECT_TRUE(dialogs.ScriptDone());

  f.Grid->SetOptions(f.Grid->Options() - TDBGridOptions{dgEditing});
  Press(f.Grid, VK_DELETE, Ctrl);
  EXPECT_EQ(f.Query.RecordCount(), count);
  EXPECT_EQ(dialogs.Unexpected(), 0) << "a grid that does not edit does not even ask";

  f.Grid->SetOptions(f.Grid->Options() + TDBGridOptions{dgEditing});
  dialogs.AnswerMessageBox(mrOk);
  Press(f.Grid, VK_DELETE, Ctrl);
  EXPECT_EQ(f.Query.RecordCount(), count - 1);
}

TEST(DBGridXIncSearch, TypedTextTakesTheValuesCaseAndEndsOnTimeOutOrEscape) {
  TGridForm f;
  f.Connection.ExecuteSql("UPDATE pay SET name = 'Abc' WHERE id = 2");
  f.Connection.ExecuteSql("UPDATE pay SET name = 'abd' WHERE id = 3");
  f.Query.Close();
  f.Query.Open();
  f.Bind();
  f.Grid->SetOptionsX(f.Grid->OptionsX() + TDBGridXOptions{dghPreferIncSearch});
  f.Grid->SetSelectedIndex(1);
  struct Step {
    const char* typed;
    Word key;
    Integer recNo;
    const char* text;
    bool searching;
  };
  for (const Step& s : std::initializer_list<Step>{
           {"a", 0, 2, "A", true},
           {"b", 0, 2, "Ab", true},
           {"x", 0, 2, "Ab", true},
           {"d", 0, 3, "abd", true},
           {"", VK_BACK, 3, "ab", true},
           {"", VK_ESCAPE, 3, "", false},
       }) {
    Type(f.Grid, s.typed);
    if (s.key) Press(f.Grid, s.key);
    EXPECT_EQ(f.Query.RecNo(), s.recNo) << s.typed << s.key;
    EXPECT_EQ(f.Grid->IncSearchText(), QString::fromUtf8(s.text)) << s.typed << s.key;
    EXPECT_EQ(f.Grid->IncSearching(), s.searching) << s.typed << s.key;
  }
  Type(f.Grid, "z");
  EXPECT_TRUE(f.Grid->IncSearching());
  f.Grid->Perform(WM_TIMER, WPARAM(TCustomDBGridX::IncSearchTimerId), 0);
  EXPECT_FALSE(f.Grid->IncSearching()) << "the typing time-out ends the search";
  Type(f.Grid, "a");
  ASSERT_TRUE(f.Grid->IncSearching());
  f.Query.First();
  EXPECT_FALSE(f.Grid->IncSearching()) << "a record move made elsewhere ends the search";
}

TEST(DBGridXIncSearch, TheSearchKeyStartsASearchWithoutTimeOutAndFindsTheNextMatch) {
  TGridForm f;
  f.Bind();
  f.Grid->SetOptionsX(f.Grid->OptionsX() + TDBGridXOptions{dghIncSearch} - TDBGridXOptions{dghDialogFind});
  f.Grid->SetSelectedIndex(4);
  f.Query.First();
  Press(f.Grid, 'F', Ctrl);
  EXPECT_TRUE(f.Grid->IncSearching());
  Type(f.Grid, "y");
  EXPECT_EQ(f.Query.RecNo(), 1);
  EXPECT_EQ(f.Grid->IncSearchText(), "Y");
  Press(f.Grid, VK_BACK);
  EXPECT_EQ(f.Grid->IncSearchText(), "");
  Type(f.Grid, "n");
  EXPECT_EQ(f.Query.RecNo(), 2);
  Press(f.Grid, VK_RETURN, Ctrl);
  EXPECT_EQ(f.Query.RecNo(), 2) << "no further n";
  Press(f.Grid, VK_RETURN);
  EXPECT_FALSE(f.Grid->IncSearching());
}

TEST(DBGridXKeys, CtrlFOpensTheFindDialogThroughTheFindHook) {
  TGridForm f;
  f.Bind();
  Integer opened = 0;
  GridFindHook() = [&](TCustomDBGridX* Grid, const String&, const String&, TColumnsXList*, bool Modal) {
    EXPECT_EQ(Grid, f.Grid);
    EXPECT_TRUE(Modal);
    ++opened;
  };
  Press(f.Grid, 'F', Ctrl);
  GridFindHook() = nullptr;
  EXPECT_EQ(opened, 1);
}

using dbgridtest::TTreeGridForm;

TEST(DBGridXKeys, KeypadKeysExpandCollapseAndToggleTheCurrentTreeNode) {
  TTreeGridForm f;
  f.Query.SetRecNo(3);  // A2, whose child is A21
  struct Step {
    Word key;
    bool expanded;
  };
  for (const Step& s : {Step{VK_ADD, true}, Step{VK_ADD, true}, Step{VK_SUBTRACT, false}, Step{VK_MULTIPLY, true},
                        Step{VK_MULTIPLY, false}}) {
    Press(f.Grid, s.key);
    EXPECT_EQ(f.Query.RecordNodeInfo(2).Expanded, s.expanded) << s.key;
    EXPECT_EQ(f.Query.RecNo(), 3) << "the node stays current";
  }
  Type(f.Grid, "+");
  EXPECT_FALSE(f.Grid->EditorMode()) << "the keypad's character does not open the editor";
}

TEST(DBGridXKeys, CtrlDownAndTheKeypadOpenAndCloseTheDetailPanel) {
  TGridForm f;
  f.Bind();
  TRowDetailPanelX* panel = f.Grid->RowDetailPanel();
  panel->SetActive(true);
  auto* edit = new TEdit(f.Form);
  edit->SetParent(f.Grid->RowDetailPanelControl());
  bool hasPanel = false;
  f.Grid->OnCheckRowHaveDetailPanel = [&](TObject*, bool& Has) { Has = hasPanel; };
  f.Grid->SetFocus();
  QApplication::processEvents();

  Press(f.Grid, VK_DOWN, Ctrl);
  EXPECT_FALSE(panel->Shown()) << "a row without a panel";
  EXPECT_EQ(f.Query.RecNo(), 1) << "and Ctrl+Down no longer moves while the panel is active";
  Press(f.Grid, VK_ADD);
  EXPECT_FALSE(panel->Shown());

  hasPanel = true;
  Press(f.Grid, VK_DOWN, Ctrl);
  EXPECT_TRUE(panel->Shown());
  EXPECT_TRUE(edit->Focused()) << "the focus goes into the panel";
  f.Grid->SetFocus();
  struct Step {
    Word key;
    bool shown;
  };
  for (const Step& s : {Step{VK_SUBTRACT, false}, Step{VK_SUBTRACT, false}, Step{VK_ADD, true},
                        Step{VK_MULTIPLY, false}, Step{VK_MULTIPLY, true}}) {
    Press(f.Grid, s.key);
    EXPECT_EQ(panel->Shown(), s.shown) << s.key;
  }
}

TEST(DBGridXKeys, TheOptimalWidthOfTheFirstColumnMakesRoomForTheDeepestTreeIndent) {
  TTreeGridForm f;
  TColumnX* first = f.Grid->Columns()->Add();
  first->SetFieldName("id");
  first->Title()->SetCaption(".");  // narrower than every record's number
  f.Grid->OptimizeColumnWidth(first);
  const Integer withTree = first->Width();
  f.Query.TreeView = false;
  f.Grid->OptimizeColumnWidth(first);
  EXPECT_EQ(withTree - first->Width(), 54) << "A21 stands three levels deep";
}
