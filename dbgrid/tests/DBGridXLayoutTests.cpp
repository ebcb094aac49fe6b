// The layout rebuild: frozen and hidden columns, fitting widths, row heights, scaling, the
// locks and deferred requests, cell classification and the multi-level title tree.
#include "DBGridXTestSupport.h"

using dbgridtest::TGridForm;

namespace {
Integer TextHeightOf(TFont* Font) {
  TCanvas canvas;
  canvas.SetFont(Font);
  return canvas.TextHeight("Wg");
}

void AddColumns(TDBGridX* Grid, std::initializer_list<const char*> Fields) {
  for (const char* name : Fields) Grid->Columns()->Add()->SetFieldName(name);
}
}  // namespace

TEST(DBGridXLayout, FrozenColumnsCountHiddenColumnsAtTheEdge) {
  TGridForm f;
  f.Bind();
  AddColumns(f.Grid, {"id", "name", "base", "bonus"});
  f.Grid->Columns()->Items(0)->SetVisible(false);
  f.Grid->SetFrozenCols(2);
  EXPECT_EQ(f.Grid->FixedCols(), 3) << "indicator, the hidden column and one visible column";
  EXPECT_EQ(f.Grid->FrozenColCount(), 2);
  EXPECT_EQ(f.Grid->VisibleColumns()->Count(), 3);
  struct Case {
    bool colLines;
    Integer hiddenWidth;
  };
  for (const Case& c : {Case{true, -1}, Case{false, 0}}) {
    TDBGridOptions options = f.Grid->Options();
    if (c.colLines) options.Include(dgColLines);
    else options.Exclude(dgColLines);
    f.Grid->SetOptions(options);
    EXPECT_EQ(f.Grid->ColWidths(1), c.hiddenWidth) << c.colLines;
    EXPECT_EQ(f.Grid->ColWidths(2), f.Grid->Columns()->Items(1)->Width());
  }
}

TEST(DBGridXLayout, AutoFitSharesTheFreeWidth) {
  struct Case {
    const char* what;
    std::vector<Integer> design;
    Integer maxWidth0;
    std::vector<Integer> expected;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"by design widths", {100, 100, 200}, 0, {100, 100, 200}},
           {"a capped column", {100, 100, 200}, 50, {50, 117, 233}},
           {"design widths 0 leave widths alone", {0, 0, 0}, 0, {}},
       }) {
    TGridForm f(300, 200);
    f.Bind();
    AddColumns(f.Grid, {"name", "base", "bonus"});
    f.Grid->SetOptions(f.Grid->Options() - TDBGridOptions{dgColLines, dgIndicator});
    f.Grid->SetMinAutoFitWidth(400);
    for (Integer i = 0; i < 3; ++i) f.Grid->Columns()->Items(i)->SetWidth(40 + i);
    f.Grid->SetAutoFitColWidths(true);
    for (Integer i = 0; i < 3; ++i) {
      f.Grid->Columns()->Items(i)->SetDesignWidth(c.design[size_t(i)]);
      f.Grid->Columns()->Items(i)->SetMaxWidth(i == 0 ? c.maxWidth0 : 0);
    }
    std::vector<Integer> before;
    for (Integer i = 0; i < 3; ++i) before.push_back(f.Grid->Columns()->Items(i)->Width());
    f.Grid->RequestLayout();
    std::vector<Integer> widths;
    for (Integer i = 0; i < 3; ++i) widths.push_back(f.Grid->Columns()->Items(i)->Width());
    EXPECT_EQ(widths, c.design[0] == 0 ? before : c.expected) << c.what;
  }
}

TEST(DBGridXLayout, RowHeightFitsWholeTextLines) {
  TGridForm f;
  f.Bind();
  const Integer text = TextHeightOf(f.Grid->Font());
  const Integer border = 3 + f.Grid->GridLineWidth();
  f.Grid->SetOptionsX(f.Grid->OptionsX() + TDBGridXOptions{dghFitRowHeightToText});
  struct Case {
    Integer height;
    Integer lines;
  };
  for (const Case& c : {Case{border + text + text / 2, 1}, Case{border + text + (2 * text) / 3 + 1, 2}}) {
    f.Grid->LockLayout();
    f.Grid->SetRowLines(0);
    f.Grid->SetRowHeight(c.height);
    f.Grid->UnlockLayout();
    EXPECT_EQ(f.Grid->StdRowHeight(), border + c.lines * text) << c.height;
    EXPECT_EQ(f.Grid->RowLines(), c.lines);
  }
}

TEST(DBGridXLayout, FontChangesRebuildRowAndTitleHeights) {
  TGridForm f;
  f.Bind();
  const Integer row = f.Grid->RowHeights(1);
  f.Grid->Font()->SetSize(f.Grid->Font()->Size() * 2);
  QApplication::processEvents();
  EXPECT_GT(f.Grid->StdRowHeight(), row);
  EXPECT_EQ(f.Grid->RowHeights(1), f.Grid->StdRowHeight()) << "data rows take the taller font's height";

  f.Grid->SetParentFont(true);
  f.Grid->SetParentColor(true);
  QApplication::processEvents();
  const Integer title = f.Grid->RowHeights(0);
  f.Form->Font()->SetSize(f.Form->Font()->Size() * 3);
  f.Form->SetColor(clYellow);
  QApplication::processEvents();
  EXPECT_EQ(f.Grid->TitleFont()->Size(), f.Form->Font()->Size()) << "titles follow the parent's font";
  EXPECT_EQ(f.Grid->FooterFont()->Size(), f.Form->Font()->Size());
  EXPECT_GT(f.Grid->RowHeights(0), title);
  EXPECT_EQ(f.Grid->RowHeights(1), f.Grid->StdRowHeight());
  EXPECT_EQ(f.Grid->FooterColor(), clYellow) << "footers follow the parent's colour";
}

TEST(DBGridXLayout, ChangeScaleKeepsTheTotalExact) {
  TGridForm f;
  f.Bind();
  AddColumns(f.Grid, {"id", "name", "base", "bonus"});
  for (Integer i = 0; i < 4; ++i) f.Grid->Columns()->Items(i)->SetWidth(33);
  f.Grid->ChangeScale(3, 2);
  std::vector<Integer> widths;
  for (Integer i = 0; i < 4; ++i) widths.push_back(f.Grid->Columns()->Items(i)->Width());
  EXPECT_EQ(widths, (std::vector<Integer>{50, 49, 50, 49}));
}

TEST(DBGridXLayout, CellTypesCoverEveryArea) {
  TGridForm f;
  f.Bind();
  f.Grid->STFilter()->SetVisible(true);
  f.Grid->SetFooterRowCount(2);
  f.Grid->RequestLayout();
  const Integer data = f.Grid->RowCount();
  ASSERT_GT(data, 3);
  struct Case {
    Integer col, row;
    TCellAreaColX colKind;
    TCellAreaRowX rowKind;
    Integer dataCol, dataRow;
  };
  for (const Case& c : std::initializer_list<Case>{{0, 0, cacIndicator, carTitle, 0, 0},
                                                   {1, 0, cacData, carTitle, 0, 0},
                                                   {2, 1, cacData, carFilter, 1, 0},
                                                   {3, 2, cacData, carData, 2, 0},
                                                   {0, data - 1, cacIndicator, carData, 0, data - 3},
                                                   {1, data, cacData, carFooter, 0, 0},
                                                   {1, data + 1, cacData, carFooter, 0, 1}}) {
    Integer dataCol = -9, dataRow = -9;
    const TCellTypeX type = f.Grid->GetCellType(c.col, c.row, dataCol, dataRow);
    EXPECT_EQ(type, (TCellTypeX{c.colKind, c.rowKind})) << c.col << "," << c.row;
    EXPECT_EQ(dataCol, c.dataCol) << c.col << "," << c.row;
    EXPECT_EQ(dataRow, c.dataRow) << c.col << "," << c.row;
  }
  Integer dc = 0, dr = 0;
  EXPECT_THROW(f.Grid->GetCellType(1, data + 2, dc, dr), Exception);
  EXPECT_THROW(f.Grid->GetCellType(1, -1, dc, dr), Exception);
}

TEST(DBGridXLayout, LocksRebuildOnceAtTheOutermostUnlock) {
  TGridForm f;
  f.Bind();
  TDBGridX* g = f.Grid;
  const Integer rebuilds = g->LayoutRebuilds();
  const Integer updates = g->Columns()->BeginUpdateCalls();
  g->LockLayout();
  g->LockLayout();
  g->Columns()->Add()->SetFieldName("name");
  g->UnlockLayout();
  EXPECT_EQ(g->LayoutRebuilds(), rebuilds);
  g->UnlockLayout();
  EXPECT_EQ(g->LayoutRebuilds(), rebuilds + 1);
  EXPECT_EQ(g->Columns()->BeginUpdateCalls(), updates + 1);
  EXPECT_EQ(g->LayoutLock(), 0);
  EXPECT_EQ(g->UpdateLock(), 0);

  g->LockUpdates();
  EXPECT_FALSE(g->TryLockLayout()) << "an update lock alone refuses the layout lock";
  g->UnlockUpdates();

  // Two deferred requests leave one message; each gives back only the lock its caller held.
  for (int i = 0; i < 2; ++i) {
    g->LockLayout();
    g->RequestDeferredLayout();
  }
  EXPECT_TRUE(HasPendingMessage(g, TCustomDBGridX::WM_DEFERRED_LAYOUT));
  EXPECT_EQ(g->LayoutLock(), 0);
  EXPECT_EQ(g->UpdateLock(), 0);
  g->RequestDeferredLayout();
  EXPECT_EQ(g->UpdateLock(), 0) << "a request without a lock lowers nothing";
  const Integer beforeMessage = g->LayoutRebuilds();
  QApplication::processEvents();
  EXPECT_EQ(g->LayoutRebuilds(), beforeMessage + 1);

  // A request arriving while a lock is held keeps the counters and is not posted again.
  g->LockLayout();
  g->Perform(TCustomDBGridX::WM_DEFERRED_LAYOUT, 0, 0);
  EXPECT_EQ(g->LayoutLock(), 1);
  EXPECT_EQ(g->UpdateLock(), 1);
  EXPECT_FALSE(HasPendingMessage(g, TCustomDBGridX::WM_DEFERRED_LAYOUT));
  const Integer beforeUnlock = g->LayoutRebuilds();
  g->UnlockLayout();
  EXPECT_EQ(g->LayoutRebuilds(), beforeUnlock + 1);

  // Under an update lock alone, the last unlock does the rebuild the message asked for.
  g->LockUpdates();
  g->Perform(TCustomDBGridX::WM_DEFERRED_LAYOUT, 0, 0);
  EXPECT_EQ(g->LayoutRebuilds(), beforeUnlock + 1);
  g->UnlockUpdates();
  EXPECT_EQ(g->LayoutRebuilds(), beforeUnlock + 2);
  g->LockUpdates();
  g->UnlockUpdates();
  EXPECT_EQ(g->LayoutRebuilds(), beforeUnlock + 2) << "nothing pending, nothing rebuilt";
}

namespace {
// "Caption(children) ..." of the tree under Node.
QString Describe(const THeadTreeNode* Node) {
  QStringList parts;
  for (const THeadTreeNode* child : Node->Children())
    parts << (child->FirstChild ? child->Caption + "(" + Describe(child) + ")" : child->Caption);
  return parts.join(u' ');
}
}  // namespace

TEST(DBGridXTitleTree, CaptionsBuildBandsOverNeighbours) {
  struct Case {
    std::vector<const char*> captions;
    std::vector<bool> visible;
    const char* expected;
  };
  for (const Case& c : std::initializer_list<Case>{
           {{"Pay|Base", "Pay|Bonus", "Name"}, {}, "Pay(Base Bonus) Name"},
           {{"A||B"}, {}, "A(B)"},
           {{"|A|B|"}, {}, "A(B)"},
           {{"A|x", "A|z", "A|y"}, {true, false, true}, "A(x z y)"},
           {{"A|x", "B|z", "A|y"}, {true, false, true}, "A(x) B(z) A(y)"},
           {{"A|B", "A"}, {}, "A(B )"},
           {{"A|B|c", "B"}, {}, "A(B|c) B"},
           {{"A|B|c", "B|d"}, {}, "A(B(c)) B(d)"},
           {{"Name", "Base"}, {}, "Name Base"},
       }) {
    TGridForm f;
    f.Bind();
    for (size_t i = 0; i < c.captions.size(); ++i) {
      TColumnX* column = f.Grid->Columns()->Add();
      column->SetFieldName("name");
      column->Title()->SetCaption(c.captions[i]);
      column->SetWidth(50 + Integer(i));
      if (!c.visible.empty()) column->SetVisible(c.visible[i]);
    }
    f.Grid->SetUseMultiTitle(true);
    EXPECT_EQ(Describe(f.Grid->TitleTreeRoot()), c.expected) << c.captions[0];
    EXPECT_EQ(f.Grid->TitleTreeRoot()->Caption, "Root");
    f.Grid->RequestLayout();
    EXPECT_EQ(Describe(f.Grid->TitleTreeRoot()), c.expected) << "rebuilt twice";
  }
}

TEST(DBGridXTitleTree, BandWidthsAndHeightsFollowTheColumns) {
  TGridForm f;
  f.Bind();
  for (const char* caption : {"Pay|Base", "Pay|Hidden", "Pay|Bonus", "Name"}) {
    TColumnX* column = f.Grid->Columns()->Add();
    column->SetFieldName("name");
    column->Title()->SetCaption(caption);
    column->SetWidth(60);
  }
  f.Grid->Columns()->Items(1)->SetVisible(false);
  f.Grid->SetUseMultiTitle(true);
  THeadTreeNode* root = f.Grid->TitleTreeRoot();
  const std::vector<THeadTreeNode*> top = root->Children();
  ASSERT_EQ(top.size(), 2u);
  THeadTreeNode* pay = top[0];
  EXPECT_EQ(pay->BandWidth, 60 + 60 + 1) << "two visible columns and the line between them";
  const Integer text = TextHeightOf(f.Grid->TitleFont());
  const Integer leafText = text + f.Grid->VTitleMargin();
  EXPECT_EQ(root->BandHeight, 2 * leafText);
  EXPECT_EQ(pay->BandHeight, leafText);
  for (THeadTreeNode* leaf : pay->Children()) EXPECT_EQ(leaf->BandHeight, leafText);
  EXPECT_EQ(top[1]->BandHeight, 2 * leafText) << "a leaf reaches down from the top";
  EXPECT_EQ(f.Grid->TitleRowHeight(), 2 * leafText - 1);

  THeadTreeNode scratch("Root", 0, 0);
  THeadTreeNode* a = scratch.AppendChild(&scratch, "a", 10, 5);
  THeadTreeNode other("Other", 0, 0);
  EXPECT_THROW(scratch.InsertAfter(&other, "x", 1, 1), Exception);
  THeadTreeNode* b = scratch.AppendChild(&scratch, "b", 10, 5);
  EXPECT_THROW(scratch.GroupSiblings(b, a, "g", 1), Exception) << "a run must go forward in its ring";
  EXPECT_EQ(Describe(&scratch), "a b");
}
