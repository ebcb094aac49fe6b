// The standard edit actions reaching a focused grid: each action answers through the member
// of EditActions it stands for, enabled by the grid's Can... checks.
#include "dbgrid/DBGridXOutputHooks.h"
#include "dbgrid/tests/DBGridXTestSupport.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/StdActns.h"

using namespace dbgridtest;

namespace {
// Records which output routine ran; the routines are unset again afterwards.
struct TOutputLog {
  QStringList Runs;
  TOutputLog() {
    const char* names[] = {"copy", "cut", "paste", "delete"};
    for (Integer a = goaCopyX; a < goaCountX; ++a)
      SetGridOutputHook(TGridOutputActionX(a), [this, name = QString::fromLatin1(names[a])](TCustomDBGridX*, bool) {
        Runs << name;
      });
  }
  ~TOutputLog() {
    for (Integer a = goaCopyX; a < goaCountX; ++a) SetGridOutputHook(TGridOutputActionX(a), nullptr);
  }
};
}  // namespace

TEST(DBGridXEditActions, EachActionAnswersThroughItsOwnMember) {
  TGridForm f;
  f.Grid->SetOptions(f.Grid->Options() + TDBGridOptions{dgMultiSelect, dgRowSelect});
  f.Bind();
  f.Grid->SetFocus();
  QApplication::processEvents();
  ASSERT_TRUE(f.Grid->Focused());
  TOutputLog log;
  TEditCopy copy(nullptr);
  TEditCut cut(nullptr);
  TEditPaste paste(nullptr);
  TEditDelete del(nullptr);
  TEditSelectAll selectAll(nullptr);
  Clipboard()->SetAsText(QStringLiteral("x"));

  copy.Update();
  EXPECT_FALSE(copy.Enabled()) << "no edit actions: nobody serves it";
  f.Grid->SetEditActions({geaCopyX});
  paste.Update();
  EXPECT_FALSE(paste.Enabled()) << "paste is not copy";
  EXPECT_TRUE(copy.Execute());
  EXPECT_EQ(log.Runs, QStringList{"copy"});

  f.Grid->SetEditActions({geaCopyX, geaPasteX, geaCutX, geaDeleteX, geaSelectAllX});
  struct Case {
    TAction* Action;
    bool Enabled;
    const char* Note;
  };
  for (const Case& c : {Case{&paste, true, "clipboard text"}, Case{&del, false, "nothing selected"},
                        Case{&cut, false, "cut needs delete"}, Case{&selectAll, true, "records"}}) {
    c.Action->Update();
    EXPECT_EQ(c.Action->Enabled(), c.Enabled) << c.Note;
  }
  f.Grid->RecordBookmarks()->MarkCurrentRow(true);
  for (TAction* action : {static_cast<TAction*>(&del), static_cast<TAction*>(&cut)}) {
    action->Update();
    EXPECT_TRUE(action->Enabled()) << action->ClassName().toStdString();
  }
  log.Runs.clear();
  EXPECT_TRUE(paste.Execute());
  EXPECT_TRUE(cut.Execute());
  EXPECT_TRUE(del.Execute());
  EXPECT_EQ(log.Runs, (QStringList{"paste", "cut", "delete"}));
  EXPECT_TRUE(selectAll.Execute());
  EXPECT_EQ(f.Grid->Selection()->SelectionKind(), gstAll);

  f.Grid->SetReadOnly(true);
  for (TAction* action : {static_cast<TAction*>(&paste), static_cast<TAction*>(&del)}) {
    action->Update();
    EXPECT_FALSE(action->Enabled()) << "read-only: " << action->ClassName().toStdString();
  }
}
