// Who may edit a cell and when: text editing per column and per cell, the editor kept away
// during an incremental search, columns freed while their filter list or editor is open, and
// what leaving the grid does to the record being edited.
#include "DBGridXEditTestSupport.h"
#include "dbgrid/DBGridXFilterEdit.h"
#include "dbgrid/DBGridXSelection.h"
#include "grid/PopupListboxX.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/StdCtrls.h"

using dbgridtest::PressKey;
using dbgridtest::TEditGridForm;
using dbgridtest::TypeText;

TEST(DBGridXEditingRules, AColumnShowingItsImageBesideTheTextStillEdits) {
  TEditGridForm f;
  TImageList images(nullptr);
  images.SetSize(8, 8);
  TColumnX* column = f.Column(TEditGridForm::colName);
  column->SetImageList(&images);
  EXPECT_FALSE(column->TextEditing()) << "an image cell has no text to type";
  column->SetShowImageAndText(true);
  EXPECT_TRUE(column->TextEditing());
  TDBGridInplaceEdit* editor = f.Edit(TEditGridForm::colName);
  ASSERT_TRUE(editor && editor->IsWindowShown());
  editor->SelectAll();
  TypeText(editor, QStringLiteral("Zhao"));
  PressKey(editor, Qt::Key_Return, QStringLiteral("\r"));
  EXPECT_EQ(f.Field("name")->AsString(), QStringLiteral("Zhao"));
  column->SetImageList(nullptr);
}

TEST(DBGridXEditingRules, FreeingAColumnClosesItsOpenFilterListAndEditor) {
  TEditGridForm f;
  f.Grid->STFilter()->SetVisible(true);
  f.Grid->STFilter()->SetLocation(stflInTitleFilterX);
  TColumnX* name = f.Column(TEditGridForm::colName);
  f.Grid->DropDownColumnFilterList(name);
  ASSERT_TRUE(f.Grid->FilterListDropped());
  delete name;
  EXPECT_FALSE(f.Grid->FilterListDropped());
  EXPECT_EQ(f.Grid->FilterDropDownColumn(), nullptr);
  EXPECT_FALSE(f.Grid->FilterList()->Visible());
  // Closing and repainting afterwards must not reach the freed column.
  f.Grid->CloseFilterList(true);
  f.Grab();

  f.Grid->STFilter()->SetLocation(stflUnderTitleFilterX);
  QApplication::processEvents();
  TColumnX* base = f.Grid->Columns()->Items(0);
  f.Grid->ShowFilterEditor(0);
  ASSERT_TRUE(f.Grid->FilterEditor() && f.Grid->FilterEditor()->Column() == base);
  delete base;
  EXPECT_EQ(f.Grid->FilterEditor()->Column(), nullptr);
  EXPECT_FALSE(f.Grid->FilterEditor()->Visible());
  EXPECT_FALSE(f.Grid->FilterEditMode()) << "the filter row has no cell left to edit";
  f.Grab();
  EXPECT_FALSE(f.Grid->FilterEditor()->Visible()) << "nor does a later layout bring the editor back";
}

TEST(DBGridXEditingRules, CellParametersCanSwitchTextEditingOffForOneCell) {
  TEditGridForm f;
  TColumnX* name = f.Column(TEditGridForm::colName);
  name->OnGetCellParams = [&f](TObject*, bool, TColCellParamsX* Params) {
    if (f.Field("name")->AsString() == QStringLiteral("Li")) Params->TextEditing = false;
  };
  TDBGridInplaceEdit* editor = f.Edit(TEditGridForm::colName);
  EXPECT_TRUE(editor && editor->IsWindowShown()) << "Zhang's name edits";
  f.Grid->SetEditorMode(false);
  f.Query.Next();
  f.Grid->SetEditorMode(true);
  QApplication::processEvents();
  EXPECT_FALSE(f.Grid->InplaceEditor() && f.Grid->InplaceEditor()->IsWindowShown()) << "Li's does not";
  f.Query.Next();
  editor = f.Edit(TEditGridForm::colName);
  EXPECT_TRUE(editor && editor->IsWindowShown()) << "Wang's does again";
}

TEST(DBGridXEditingRules, NoEditorWhileAnIncrementalSearchRuns) {
  TEditGridForm f;
  f.Grid->SetSelectedIndex(TEditGridForm::colName);
  f.Grid->IncSearchStep(QStringLiteral("Li"), -1, 2);
  ASSERT_TRUE(f.Grid->IncSearching());
  f.Grid->SetEditorMode(true);
  QApplication::processEvents();
  EXPECT_FALSE(f.Grid->InplaceEditor() && f.Grid->InplaceEditor()->IsWindowShown());
  EXPECT_FALSE(f.Grid->EditorMayModify());
  f.Grid->StopIncSearch();
  TDBGridInplaceEdit* editor = f.Edit(TEditGridForm::colName);
  EXPECT_TRUE(editor && editor->IsWindowShown());
}

namespace {
struct TExitForm : TEditGridForm {
  TExitForm() {
    Other->SetParent(Form);
    Other->SetBounds(10, 250, 80, 20);
  }
  void LeaveGrid() {
    Other->SetFocus();
    QApplication::processEvents();
  }
  TEdit* Other = new TEdit(Form);
};
}  // namespace

TEST(DBGridXEditingRules, LeavingTheGridCancelsAnUntouchedAppendAndKeepsATypedOne) {
  TExitForm f;
  const Integer count = f.Query.RecordCount();
  f.Grid->SetFocus();
  f.Query.Append();
  f.LeaveGrid();
  EXPECT_EQ(f.Query.State(), dsBrowse) << "the untouched record is dropped";
  EXPECT_EQ(f.Query.RecordCount(), count);

  f.Grid->SetFocus();
  f.Query.Append();
  TDBGridInplaceEdit* editor = f.Edit(TEditGridForm::colName);
  ASSERT_TRUE(editor && editor->IsWindowShown());
  TypeText(editor, QStringLiteral("Sun"));
  f.LeaveGrid();
  EXPECT_EQ(f.Query.State(), dsInsert) << "a typed record stays";
  EXPECT_EQ(f.Field("name")->AsString(), QStringLiteral("Sun")) << "with the typed text written";
  f.Query.Cancel();

  f.Grid->SetOptions(f.Grid->Options() - TDBGridOptions{dgCancelOnExit});
  f.Grid->SetFocus();
  f.Query.Append();
  f.LeaveGrid();
  EXPECT_EQ(f.Query.State(), dsInsert) << "without the option the record stays";
  f.Query.Cancel();
}

TEST(DBGridXEditingRules, AWriteErrorOnLeavingKeepsTheFocusInTheGrid) {
  TExitForm f;
  f.Field("name")->OnSetText = [](TField*, const String&) { throw Exception(QStringLiteral("名字不对")); };
  TDBGridInplaceEdit* editor = f.Edit(TEditGridForm::colName);
  ASSERT_TRUE(editor && editor->IsWindowShown());
  editor->SelectAll();
  TypeText(editor, QStringLiteral("Zhao"));
  EXPECT_THROW(f.Other->SetFocus(), Exception) << "the error reaches the caller";
  QApplication::processEvents();
  EXPECT_TRUE(f.Grid->GridOrEditorFocused()) << "the focus came back";
  f.Field("name")->OnSetText = nullptr;
  f.Query.Cancel();
}

TEST(DBGridXEditingRules, DeletionIsAskedAboutByTheSelectionsSizeAndOnlyWithTheOption) {
  dbgridtest::TGridForm f;
  f.Grid->SetOptions(f.Grid->Options() + TDBGridOptions{dgMultiSelect, dgRowSelect});
  f.Bind();
  struct Case {
    Integer marked;
    bool option;
    Integer answer;
    bool confirmed;
    const char* question;
  };
  for (const Case& c : std::initializer_list<Case>{{0, true, mrOk, true, "Delete record?"},
                                                  {1, true, mrCancel, false, "Delete record?"},
                                                  {2, true, mrOk, true, "Delete all selected records?"},
                                                  {2, false, mrCancel, true, nullptr}}) {
    f.Grid->Selection()->Clear();
    for (Integer recNo = 1; recNo <= c.marked; ++recNo) {
      f.Query.SetRecNo(recNo);
      f.Grid->RecordBookmarks()->MarkCurrentRow(true);
    }
    f.Grid->SetOptions(c.option ? f.Grid->Options() + TDBGridOptions{dgConfirmDelete}
                                : f.Grid->Options() - TDBGridOptions{dgConfirmDelete});
    TScriptedDialogs dialogs;
    if (c.question) dialogs.AnswerMessageBox(c.answer);
    EXPECT_EQ(f.Grid->ConfirmDelete(), c.confirmed) << c.marked << " marked";
    EXPECT_EQ(dialogs.Unexpected(), 0) << c.marked << " marked";
    ASSERT_EQ(dialogs.Log().size(), c.question ? 1u : 0u) << c.marked << " marked";
    if (c.question) {
      EXPECT_TRUE(dialogs.Log().front().endsWith(QString::fromUtf8(c.question))) << dialogs.Log().front().toStdString();
    }
  }
}

TEST(DBGridXEditingRules, TakingTheFocusSaysWhetherItLandedOrThatTheGridMayNotHaveIt) {
  TEditGridForm f;
  TEdit* other = new TEdit(f.Form);
  other->SetParent(f.Form);
  other->SetFocus();
  QApplication::processEvents();
  EXPECT_TRUE(f.Grid->TakeFocus());
  EXPECT_TRUE(f.Grid->GridOrEditorFocused());
  TDBGridInplaceEdit* editor = f.Edit(TEditGridForm::colName);
  ASSERT_TRUE(editor && editor->IsWindowShown());
  editor->SetFocus();
  EXPECT_TRUE(f.Grid->TakeFocus()) << "the editor holding the focus counts";
  other->SetFocus();
  f.Grid->SetEnabled(false);
  EXPECT_TRUE(f.Grid->TakeFocus()) << "a grid that may not have the focus does not ask";
  EXPECT_TRUE(other->Focused());
}

TEST(DBGridXEditingRules, SettersKeepSelectionsAndTabStopsInStep) {
  dbgridtest::TGridForm f;
  f.Grid->SetOptions(f.Grid->Options() + TDBGridOptions{dgMultiSelect});
  f.Bind();
  TDBGridXSelection* selection = f.Grid->Selection();
  const TDBGridXAllowedSelections all = f.Grid->AllowedSelections();
  selection->Columns()->SelectColumn(f.Grid->Columns()->Items(1), false);
  f.Grid->SetAllowedSelections(all - TDBGridXAllowedSelections{gstRecordBookmarks});
  EXPECT_EQ(selection->SelectionKind(), gstColumns) << "an allowed kind stays";
  f.Grid->SetAllowedSelections(all - TDBGridXAllowedSelections{gstColumns});
  EXPECT_EQ(selection->SelectionKind(), gstNon) << "a kind no longer allowed goes";
  f.Grid->RecordBookmarks()->MarkCurrentRow(true);
  f.Grid->SetAllowedSelections(all - TDBGridXAllowedSelections{gstColumns, gstRectangle});
  EXPECT_EQ(selection->SelectionKind(), gstRecordBookmarks);

  const Integer nameCol = f.Grid->ColumnIndexToGridCol(1);
  ASSERT_TRUE(f.Grid->TabStops(nameCol));
  f.Grid->SetReadOnly(true);
  EXPECT_FALSE(f.Grid->TabStops(nameCol)) << "a read-only grid's columns are no tab stops";
  f.Grid->SetReadOnly(false);
  EXPECT_TRUE(f.Grid->TabStops(nameCol));
}

TEST(DBGridXEditingRules, WhileDesigningEveryDataSetChangeRecountsTheFooters) {
  dbgridtest::TGridForm f;
  f.Bind();
  f.Grid->SetFooterRowCount(1);
  f.Grid->Columns()->Items(2)->Footer()->SetValueType(fvtSum);
  f.Grid->SumList()->SetActive(true);
  Integer recounts = 0;
  f.Grid->OnSumListRecalcAll = [&](TObject*) { ++recounts; };
  const auto changeAndCount = [&] {
    recounts = 0;
    f.Query.Edit();
    f.Field("base")->SetAsFloat(f.Field("base")->AsFloat() + 1);
    f.Query.Post();
    return recounts;
  };
  const Integer running = changeAndCount();
  f.Grid->SetDesigning(true);
  EXPECT_GT(changeAndCount(), running);
  f.Grid->SetDesigning(false);
}
