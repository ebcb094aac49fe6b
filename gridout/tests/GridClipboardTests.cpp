#include "GridOutputFixture.h"
#include "dbgrid/DBGridXOutputHooks.h"
#include "gridout/GridClipboard.h"
#include "platform/rtl/Encodings.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Dialogs.h"

using namespace gridouttest;

TEST(GridClipboard, CopyPutsTheFiveFormatsWithTheirTerminators) {
  TGridOutputForm f;
  f.SetColumns({{"name", "姓名"}, {"qty", "数量"}});
  f.Bind();
  f.Grid->Selection()->SelectAllCells();
  CopyGridToClipboard(f.Grid, false);
  TClipboard* c = Clipboard();
  for (const Word format : {CF_TEXT, CF_UNICODETEXT, CsvClipboardFormat, RtfClipboardFormat, GridbifClipboardFormat})
    EXPECT_TRUE(c->HasFormat(format)) << format;
  const String text = QStringLiteral("姓名\t数量\r\n张三\t4\r\n李四\t\r\n王五\t6");
  EXPECT_EQ(c->GetAsBytes(CF_TEXT), StringToGbk(text) + '\0');
  EXPECT_EQ(c->GetAsBytes(CF_UNICODETEXT), StringToUtf16LE(text) + QByteArray(2, '\0'));
  EXPECT_TRUE(c->GetAsBytes(CsvClipboardFormat).endsWith(QByteArray("\"6\"") + '\0'));
  EXPECT_TRUE(c->GetAsBytes(RtfClipboardFormat).startsWith("{\\rtf0"));
  EXPECT_TRUE(c->GetAsBytes(GridbifClipboardFormat).startsWith("GRIDBIF"));
  EXPECT_TRUE(c->GetAsBytes(GridbifClipboardFormat).endsWith(QByteArray(1, '\0')));
}

TEST(GridClipboard, CtrlCInAGridReachesTheCopyAndPasteMovesValuesToAnotherGrid) {
  ASSERT_TRUE(GridOutputHookSet(goaCopyX));
  TGridOutputForm from, to;
  from.SetColumns({{"base", "工资"}, {"hired", "日期"}, {"note", "备注"}});
  from.Bind();
  from.Grid->SetEditActions(TDBGridXEditActions{geaCopyX, geaPasteX});
  from.Grid->Selection()->SelectAllCells();
  Word key = Word('C');
  from.Grid->KeyDown(key, TShiftState{ssCtrl});
  ASSERT_TRUE(Clipboard()->HasFormat(GridbifClipboardFormat));

  to.Connection.ExecuteSql("UPDATE pay SET base = 1, hired = '2000-01-01', note = 'old'");
  to.Query.Close();
  to.Query.Open();
  to.SetColumns({{"base", "工资"}, {"hired", "日期"}, {"note", "备注"}});
  to.Bind();
  to.Grid->SetSelectedIndex(0);
  PasteGridFromClipboard(to.Grid, false);
  to.Query.CheckBrowseMode();
  // Numbers, dates and nulls arrive as values; no title line is taken as a record.
  EXPECT_EQ(to.Values("base"), from.Values("base"));
  EXPECT_EQ(to.Values("hired"), from.Values("hired"));
  EXPECT_EQ(to.Values("note"), from.Values("note"));
  EXPECT_EQ(to.Query.RecordCount(), 3);
}

TEST(GridClipboard, APasteFromATextEditorReadsTheUnicodeText) {
  TGridOutputForm f;
  f.SetColumns({{"name", "姓名"}});
  f.Bind();
  f.Grid->SetSelectedIndex(0);
  Clipboard()->SetAsText(QStringLiteral("甲\n乙"));
  PasteGridFromClipboard(f.Grid, false);
  f.Query.CheckBrowseMode();
  EXPECT_EQ(f.Values("name"), QStringList({QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("王五")}));
}

TEST(GridClipboard, DeleteAsksByKindUnderConfirmDelete) {
  struct Case { const char* name; TDBGridXSelectionType kind; Integer answer; const char* question; Integer records; QStringList qty; };
  for (const Case& c : std::initializer_list<Case>{
         {"one record", gstRecordBookmarks, IDOK, "Delete record?", 2, {"<null>", "6"}},
         {"one record cancelled", gstRecordBookmarks, IDCANCEL, "Delete record?", 3, {"4", "<null>", "6"}},
         {"rectangle clears", gstRectangle, IDOK, "您确认清除选择的单元吗?", 3, {"<null>", "<null>", "6"}},
         {"columns clear unasked", gstColumns, 0, "", 3, {"<null>", "<null>", "<null>"}},
         {"everything is asked first", gstAll, IDCANCEL, "Delete all selected records?", 3, {"4", "<null>", "6"}},
         {"everything", gstAll, IDOK, "Delete all selected records?", 0, {}}}) {
    TGridOutputForm f;
    f.SetColumns({{"name", "姓名"}, {"qty", "数量"}});
    f.Bind();
    TDBGridXSelection* selection = f.Grid->Selection();
    switch (c.kind) {
      case gstRecordBookmarks: f.Grid->RecordBookmarks()->MarkCurrentRow(true); break;
      case gstRectangle: {
        f.Query.First();
        const TBookmarkStr first = f.Query.Bookmark();
        f.Query.Next();
        selection->Rect()->SelectCell(0, first, false);
        selection->Rect()->SelectCell(1, f.Query.Bookmark(), true);
        break;
      }
      case gstColumns: selection->Columns()->SelectColumn(f.Column(1), false); break;
      default: selection->SelectAllCells(); break;
    }
    TScriptedDialogs dialogs;
    if (c.answer) dialogs.AnswerMessageBox(c.answer);
    DeleteGridSelection(f.Grid, false);
    f.Query.CheckBrowseMode();
    ASSERT_EQ(dialogs.Log().size(), *c.question ? 1u : 0u) << c.name;
    if (*c.question) {
      EXPECT_TRUE(dialogs.Log()[0].endsWith(QString::fromUtf8(c.question))) << c.name;
    }
    EXPECT_EQ(f.Query.RecordCount(), c.records) << c.name;
    EXPECT_EQ(f.Values("qty"), c.qty) << c.name;
  }
}

TEST(GridClipboard, CutOfARectangleLeavesTheValuesOnTheClipboardAndTheCellsEmpty) {
  TGridOutputForm f;
  f.SetColumns({{"name", "姓名"}, {"qty", "数量"}});
  f.Bind();
  f.Grid->SetOptions(f.Grid->Options() - TDBGridOptions{dgConfirmDelete});
  TDBGridXSelection* selection = f.Grid->Selection();
  f.Query.First();
  selection->Rect()->SelectCell(1, f.Query.Bookmark(), false);
  f.Query.Next();
  selection->Rect()->SelectCell(1, f.Query.Bookmark(), true);
  CutGridToClipboard(f.Grid, false);
  f.Query.CheckBrowseMode();
  EXPECT_EQ(Clipboard()->GetAsBytes(CF_TEXT), StringToGbk(QStringLiteral("数量\r\n4\r\n")) + '\0');
  EXPECT_EQ(f.Values("qty"), QStringList({"<null>", "<null>", "6"}));
}

TEST(GridClipboard, DeleteWithoutSelectionDoesNothingAndAsksNothing) {
  TGridOutputForm f;
  f.SetColumns({{"name", "姓名"}});
  f.Bind();
  TScriptedDialogs dialogs;
  DeleteGridSelection(f.Grid, false);
  EXPECT_TRUE(dialogs.Log().empty());
  EXPECT_EQ(f.Query.RecordCount(), 3);
}

// Pictures and documents are bytes: a copy and paste between grids moves them byte for byte,
// also bytes that are no text in any encoding.
TEST(GridClipboard, BinaryFieldsMoveAsBytes) {
  TGridOutputForm from, to;
  for (TGridOutputForm* f : {&from, &to}) {
    f->Connection.ExecuteSql("ALTER TABLE pay ADD COLUMN pic BLOB");
    f->Query.Close();
  }
  from.Connection.ExecuteSql("UPDATE pay SET pic = X'89504E4700FFC328' WHERE id = 1");
  from.Connection.ExecuteSql("UPDATE pay SET pic = X'C3' WHERE id = 3");
  to.Connection.ExecuteSql("UPDATE pay SET pic = X'0102'");
  for (TGridOutputForm* f : {&from, &to}) {
    f->Query.Open();
    f->SetColumns({{"pic", "照片"}, {"name", "姓名"}});
    f->Bind();
  }
  // A grid edits a binary field only when the program takes text for it.
  to.Query.FieldByName(QStringLiteral("pic"))->OnSetText = [](TField*, const String&) {};
  from.Grid->Selection()->SelectAllCells();
  CopyGridToClipboard(from.Grid, false);
  to.Grid->SetSelectedIndex(0);
  PasteGridFromClipboard(to.Grid, false);
  to.Query.CheckBrowseMode();
  TADOQuery stored;
  stored.SetConnection(&to.Connection);
  stored.SQL()->SetText("SELECT group_concat(CASE WHEN pic IS NULL THEN '<null>' ELSE hex(pic) END, ',') FROM "
      "(SELECT pic FROM pay ORDER BY id)");
  stored.Open();
  EXPECT_EQ(stored.Fields()->Fields(0)->AsString(), QStringLiteral("89504E4700FFC328,<null>,C3"));
}
