// Who may edit a cell and when: text editing per column and per cell, the editor kept away
// during an incremental search, columns freed while their filter list or editor is open, and
// what leaving the grid does to the record being edited.
#include "DBGridXEditTestSupport.h"
#include "dbgrid/DBGridXFilterEdit.h"
#include "grid/PopupListboxX.h"
#include "platform/ui/ImgList.h"
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
  f.Grab();
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
