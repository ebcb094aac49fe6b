// Grouping a grid's records over a memory-table query: the group tree as records come, change
// and go, the group rows' text, the group panel and the keys of group rows.
#include "DBGridXTestSupport.h"
#include "MemTableQuery.h"
#include <map>

namespace {

using dbgridtest::OpenNewDatabase;
using dbgridtest::TMemTableQuery;

class Grouping : public ::testing::Test {
protected:
  void SetUp() override {
    SetSystemTable(ClassicSystemTable());
    OpenNewDatabase(Connection, FDir, "staff.db");
    Connection.ExecuteSql("CREATE TABLE staff (id INTEGER PRIMARY KEY, name VARCHAR(20), dept VARCHAR(20), city VARCHAR(20))");
    Connection.ExecuteSql(
        "INSERT INTO staff VALUES (1, 'A', 'Sales', 'Bj'), (2, 'B', 'Dev', 'Sh'), (3, 'C', 'Sales', 'Sh'), "
        "(4, 'D', 'Ops', 'Bj'), (5, 'E', 'Dev', 'Bj')");
    Query.SetConnection(&Connection);
    Query.SQL()->SetText("SELECT * FROM staff ORDER BY id");
    Query.Open();
    Source.SetDataSet(&Query);
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 440, 240);
    Grid = new TDBGridX(Form);
    Grid->SetBounds(10, 10, 400, 200);
    Grid->SetParent(Form);
    for (const char* name : {"id", "name", "dept", "city"}) {
      TColumnX* column = Grid->Columns()->Add();
      column->SetFieldName(QString::fromUtf8(name));
    }
    Column("dept")->Title()->SetCaption(QStringLiteral("Dept"));
    Grid->SetDataSource(&Source);
    Form->Show();
    QApplication::processEvents();
  }
  void TearDown() override { delete Form; }

  TColumnX* Column(const char* FieldName) {
    for (Integer i = 0; i < Grid->Columns()->Count(); ++i)
      if (Grid->Columns()->Items(i)->FieldName() == QString::fromUtf8(FieldName)) return Grid->Columns()->Items(i);
    return nullptr;
  }

  TGridDataGroupLevelX* GroupBy(const char* FieldName, TSortOrderX Order = soAscX) {
    TGridDataGroupLevelX* level = Grid->DataGrouping()->GroupLevels()->Add();
    level->SetSortOrder(Order);
    level->SetColumn(Column(FieldName));
    Grid->DataGrouping()->SetActive(true);
    return level;
  }

  TGridGroupDataTreeX* Tree() { return Grid->DataGrouping()->Tree(); }

  // Groups as Key[children], record nodes as their record index.
  static std::string Describe(TBaseTreeNodeX* Parent) {
    std::string text;
    for (Integer i = 0; i < Parent->Count(); ++i) {
      auto* node = static_cast<TGroupDataTreeNodeX*>(Parent->GetItem(i));
      text += i ? " " : "";
      if (node->IsGroupNode) text += VarToStr(node->KeyValue).toStdString() + "[" + Describe(node) + "]";
      else text += std::to_string(node->RecordIndex);
    }
    return text;
  }
  std::string Describe() { return Describe(Tree()->Root()); }

  TGroupDataTreeNodeX* FindGroup(const char* Key) {
    for (TBaseTreeNodeX* n = Tree()->GetFirst(); n; n = Tree()->GetNext(n)) {
      auto* node = static_cast<TGroupDataTreeNodeX*>(n);
      if (node->IsGroupNode && VarToStr(node->KeyValue) == QString::fromUtf8(Key)) return node;
    }
    return nullptr;
  }

  // Edits the record at Index through the query and tells the grid.
  void SetDept(Integer Index, const char* Dept) {
    Query.SetRecNo(Index + 1);
    Query.Edit();
    Query.FieldByName(QStringLiteral("dept"))->SetValue(QString::fromUtf8(Dept));
    Query.Post();
    Query.Notify(Index, mtcRecordChangedX);
  }

  TADOConnection Connection;
  TMemTableQuery Query;
  TDataSource Source;
  TForm* Form = nullptr;
  TDBGridX* Grid = nullptr;

private:
  moli::testing::ScratchDir FDir;
};

TEST_F(Grouping, EqualKeysShareAGroupInTheLevelsSortOrder) {
  EXPECT_EQ(Grid->MemTable(), static_cast<IMemTableX*>(&Query));
  TGridDataGroupLevelX* dept = GroupBy("dept");
  EXPECT_TRUE(Grid->DataGrouping()->GroupingWorks());
  EXPECT_EQ(Describe(), "Dev[1 4] Ops[3] Sales[0 2]");

  dept->SetSortOrder(soDescX);
  EXPECT_EQ(Describe(), "Sales[0 2] Ops[3] Dev[1 4]");
  SetDept(3, "Hr");
  EXPECT_EQ(Describe(), "Sales[0 2] Hr[3] Dev[1 4]") << "a new value sorts in descending";

  TGridDataGroupLevelX* city = GroupBy("city");
  EXPECT_EQ(Describe(), "Sales[Bj[0] Sh[2]] Hr[Bj[3]] Dev[Bj[4] Sh[1]]");
  EXPECT_EQ(FindGroup("Sales")->Level(), 1);
  EXPECT_EQ(FindGroup("Sh")->Level(), 2);

  city->SetColumn(nullptr);
  dept->SetColumn(nullptr);
  EXPECT_FALSE(Grid->DataGrouping()->GroupingWorks());
  Tree()->RebuildFromMemTable(&Query);
  EXPECT_EQ(Describe(), "0 1 2 3 4") << "without levels the records hang under the root";
}

TEST_F(Grouping, AutoFitRowHeightGrowsRecordRowsToTheirWrappedText) {
  TColumnX* name = Column("name");
  name->SetWordWrap(true);
  name->SetWidth(40);
  Query.SetRecNo(2);
  Query.Edit();
  Query.FieldByName(QStringLiteral("name"))->SetValue(QStringLiteral("aa bb cc dd ee ff"));
  Query.Post();
  Query.Notify(1, mtcRecordChangedX);
  Grid->DataGrouping()->SetDefaultStateExpanded(true);
  GroupBy("dept");
  ASSERT_EQ(Describe(), "Dev[1 4] Ops[3] Sales[0 2]");
  ASSERT_EQ(Tree()->FlatNode(1)->RecordIndex, 1) << "the groups are open";
  const Integer wrapped = Grid->HeaderRowCount() + 1, plain = wrapped + 1;
  const Integer standard = Grid->StdRowHeight();
  EXPECT_EQ(Grid->RowHeights(wrapped), standard) << "rows keep the standard height unless they fit their content";

  Grid->SetOptionsX(Grid->OptionsX() + TDBGridXOptions{dghAutoFitRowHeight});
  QApplication::processEvents();
  EXPECT_GE(Grid->RowHeights(wrapped), 2 * standard) << "the wrapped name takes several lines";
  EXPECT_EQ(Grid->RowHeights(plain), standard);
  EXPECT_FALSE(name->WrapsInRow(standard));
  EXPECT_TRUE(name->WrapsInRow(Grid->RowHeights(wrapped)));

  Grid->SetOptionsX(Grid->OptionsX() - TDBGridXOptions{dghAutoFitRowHeight});
  QApplication::processEvents();
  EXPECT_EQ(Grid->RowHeights(wrapped), standard);
}

TEST_F(Grouping, RecordNoticesKeepTheTreeInStep) {
  GroupBy("dept");
  GroupBy("city");
  ASSERT_EQ(Describe(), "Dev[Bj[4] Sh[1]] Ops[Bj[3]] Sales[Bj[0] Sh[2]]");

  SetDept(0, "Dev");
  EXPECT_EQ(Describe(), "Dev[Bj[0 4] Sh[1]] Ops[Bj[3]] Sales[Sh[2]]") << "a changed key moves the record";

  Query.SetRecNo(4);
  Query.Delete();
  Query.Notify(3, mtcRecordDeletedX);
  EXPECT_EQ(Describe(), "Dev[Bj[0 3] Sh[1]] Sales[Sh[2]]") << "emptied groups go, later records move down";

  Query.SetRecNo(4);
  Query.Insert();
  Query.FieldByName(QStringLiteral("id"))->SetValue(9);
  Query.FieldByName(QStringLiteral("dept"))->SetValue(QStringLiteral("Sales"));
  Query.FieldByName(QStringLiteral("city"))->SetValue(QStringLiteral("Bj"));
  Query.Post();
  ASSERT_EQ(Query.FieldByName(QStringLiteral("id"))->AsInteger(), 9);
  ASSERT_EQ(Query.RecNo(), 4);
  Query.Notify(3, mtcRecordInsertedX);
  EXPECT_EQ(Describe(), "Dev[Bj[0 4] Sh[1]] Sales[Bj[3] Sh[2]]") << "an insert at 3 renumbers 3 and up";

  const std::string before = Describe();
  Tree()->RecordChanged(42);
  Tree()->RecordDeleted(42);
  EXPECT_EQ(Describe(), before) << "notices for a record no node carries change nothing";
}

TEST_F(Grouping, AnInsertedRecordTakesThePendingKeysAndOpensItsGroups) {
  GroupBy("dept");
  ASSERT_FALSE(FindGroup("Ops")->Expanded());
  Query.SetRecNo(2);
  Query.Insert();
  Query.FieldByName(QStringLiteral("id"))->SetValue(7);
  Grid->DataGrouping()->SetPendingKeyValues(VarArrayOf({QStringLiteral("Ops")}));
  Query.Notify(1, mtcRecordInsertedX);
  EXPECT_EQ(Query.FieldByName(QStringLiteral("dept"))->AsString(), "Ops");
  EXPECT_EQ(Describe(), "Dev[2 5] Ops[1 4] Sales[0 3]");
  EXPECT_TRUE(FindGroup("Ops")->Expanded());
  EXPECT_TRUE(Grid->DataGrouping()->PendingKeyValues().IsEmpty());
  Query.Cancel();
}

TEST_F(Grouping, ARecordInsertedInAGroupTakesTheGroupsKeys) {
  GroupBy("dept");
  Grid->LocateGroupNodeForRecord(3, true);
  EXPECT_EQ(Query.RecNo(), 4) << "the data set follows the located node";
  EXPECT_EQ(Grid->CurrentGroupNode(), Tree()->FindRecordNode(3));
  Grid->InsertRecordInGroup();
  ASSERT_EQ(Query.State(), dsInsert);
  Query.FieldByName(QStringLiteral("id"))->SetValue(7);
  Query.Notify(3, mtcRecordInsertedX);
  EXPECT_EQ(Query.FieldByName(QStringLiteral("dept"))->AsString(), "Ops") << "the keys of record 4 (D, Ops)";
  Query.Cancel();
}

TEST_F(Grouping, ChangingALevelsColumnPrunesFromThatLevelOn) {
  TGridDataGroupLevelX* first = GroupBy("dept");
  TGridDataGroupLevelX* second = GroupBy("city");
  TGroupDataTreeNodeX* sales = FindGroup("Sales");
  std::vector<TBaseTreeNodeX*> cleared;
  Tree()->OnExpandedChanged = [&](TObject*, TBaseTreeNodeX* Node) { cleared.push_back(Node); };

  second->SetColumn(Column("name"));
  EXPECT_EQ(FindGroup("Sales"), sales) << "the first level's groups stay";
  EXPECT_EQ(Describe(), "Dev[B[1] E[4]] Ops[D[3]] Sales[A[0] C[2]]");

  Grid->DataGrouping()->SetActive(false);
  Grid->DataGrouping()->SetActive(true);
  first->SetColumn(Column("city"));
  EXPECT_EQ(FindGroup("Sales"), nullptr) << "the tree was cleared and grouped anew";
  EXPECT_EQ(Describe(), "Bj[A[0] D[3] E[4]] Sh[B[1] C[2]]");
}

TEST_F(Grouping, AFreedColumnLeavesItsLevel) {
  TGridDataGroupLevelX* dept = GroupBy("dept");
  GroupBy("city");
  delete Column("dept");
  EXPECT_EQ(dept->Column(), nullptr);
  EXPECT_EQ(Grid->DataGrouping()->ActiveLevelCount(), 1);
  EXPECT_EQ(Describe(), "Bj[0 3 4] Sh[1 2]");
}

TEST_F(Grouping, GroupRowsShowCaptionKeyAndCount) {
  Connection.ExecuteSql("BEGIN");
  for (int i = 0; i < 10; ++i)
    Connection.ExecuteSql(QStringLiteral("INSERT INTO staff VALUES (%1, 'n', 'Sales', 'Bj')").arg(100 + i));
  Connection.ExecuteSql("COMMIT");
  Query.Close();
  Query.Open();
  auto* level = static_cast<TDBGridXDataGroupLevelX*>(GroupBy("dept"));
  String text;
  level->GroupRowText(FindGroup("Sales"), text);
  EXPECT_EQ(text, "Dept: Sales (12)");
  EXPECT_EQ(level->ColumnName(), "Column_2_dept");

  level->OnGetKeyValueAsText = [](TCustomDBGridX*, TGroupDataTreeNodeX*, String& Text, const Variant&) { Text = "S"; };
  Grid->OnDataGroupGetRowText = [](TCustomDBGridX*, TGroupDataTreeNodeX*, String& Text) { Text += "!"; };
  level->GroupRowText(FindGroup("Ops"), text);
  EXPECT_EQ(text, "Dept: S (1)!");

  level->SetColumnName(QStringLiteral("Column_9_none"));
  EXPECT_EQ(level->Column(), nullptr);
  EXPECT_EQ(level->ColumnName(), "");
}

TEST_F(Grouping, PanelGroupsByDroppedTitlesAndUngroupsThemAgain) {
  Grid->DataGrouping()->SetGroupPanelVisible(true);
  Grid->DataGrouping()->SetActive(true);
  EXPECT_EQ(Grid->GroupPanelHeight(), 30);
  EXPECT_EQ(Grid->OutBoundaryData()->TopIndent(), 30);

  QApplication::processEvents();
  const TRect inWindow = Grid->ClientRectInWindow();
  const QImage panel = Grid->Handle()->grab().toImage().copy(inWindow.Left, inWindow.Top, inWindow.Width(), 30);
  Integer darkPixels = 0;
  for (int x = 0; x < 300; ++x)
    for (int y = 2; y < 28; ++y) darkPixels += panel.pixelColor(x, y) == ColorToQColor(cl3DDkShadow) ? 1 : 0;
  EXPECT_GT(darkPixels, 20) << "the hint text";

  Grid->GroupByColumn(Column("dept"), 0);
  EXPECT_FALSE(Column("dept")->Visible());
  EXPECT_EQ(Describe(), "Dev[1 4] Ops[3] Sales[0 2]");
  EXPECT_GT(Grid->GroupPanelHeight(), 30);
  Grid->GroupByColumn(Column("city"), 0);
  EXPECT_EQ(Grid->DataGrouping()->ActiveLevels(0)->Column(), Column("city"));
  const std::vector<TRect> boxes = Grid->LayoutGroupPanelBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_GT(boxes[1].Left, boxes[0].Right);
  EXPECT_GT(boxes[1].Top, boxes[0].Top);

  Grid->UngroupLevel(0);
  EXPECT_TRUE(Column("city")->Visible());
  EXPECT_EQ(Grid->DataGrouping()->GroupLevels()->Count(), 1);
  EXPECT_EQ(Describe(), "Dev[1 4] Ops[3] Sales[0 2]");
}

TEST_F(Grouping, RowsPaintTheirGroupsAndTheRecordsUnderThem) {
  Column("id")->SetWidth(30);
  TGridDataGroupLevelX* dept = GroupBy("dept");
  dept->SetColor(clAqua);
  dept->ExpandAll();
  const Integer header = Grid->HeaderRowCount();
  ASSERT_EQ(Tree()->FlatCount(), 8);
  std::map<Integer, String> namesByTop;
  Grid->OnDrawColumnCell = [&](TObject*, const TRect& Rect, Integer, TColumnX* Column, TGridDrawState) {
    if (Column->FieldName() == "name") namesByTop[Rect.Top] = Column->Field()->AsString();
  };
  const QImage image = [&] {
    QApplication::processEvents();
    const TRect inWindow = Grid->ClientRectInWindow();
    return Grid->Handle()->grab().toImage().copy(inWindow.Left, inWindow.Top, inWindow.Width(), inWindow.Height());
  }();
  const Integer nameCol = Grid->ColumnIndexToGridCol(Column("name")->Index());
  const std::vector<const char*> rows = {"", "B", "E", "", "D", "", "A", "C"};
  for (Integer i = 0; i < Integer(rows.size()); ++i) {
    const TRect cell = Grid->CellRect(nameCol, header + i);
    const auto found = namesByTop.find(cell.Top);
    EXPECT_EQ(found == namesByTop.end() ? String() : found->second, QString::fromUtf8(rows[size_t(i)])) << "row " << i;
  }

  const TRect opsRow = Grid->CellRect(Grid->ColumnIndexToGridCol(0), header + 3);
  const TRect recordD = Grid->CellRect(Grid->ColumnIndexToGridCol(0), header + 4);
  const TRect opsName = Grid->CellRect(nameCol, header + 3);
  const QColor aqua = ColorToQColor(clAqua);
  EXPECT_EQ(image.pixelColor(opsName.Right - 3, opsName.Top + 2), aqua) << "the group row's band";
  EXPECT_EQ(image.pixelColor(recordD.Left + 4, recordD.Top + 3), aqua) << "the record's indent band";
  EXPECT_EQ(image.pixelColor(recordD.Left + 20, recordD.Top + 2), ColorToQColor(Grid->Color())) << "its cell after the indent";
  Integer textPixels = 0;
  for (Integer x = opsName.Left; x < opsName.Right; ++x)
    for (Integer y = opsRow.Top; y < opsRow.Bottom - 1; ++y) textPixels += image.pixelColor(x, y) == QColor(Qt::black) ? 1 : 0;
  EXPECT_GT(textPixels, 10) << "the text \"Dept: Ops (1)\" runs on over the next column";
}

TEST_F(Grouping, KeysOnGroupRowsExpandCollapseAndScroll) {
  for (Integer i = 0; i < Grid->Columns()->Count(); ++i) Grid->Columns()->Items(i)->SetWidth(200);
  GroupBy("dept");
  QApplication::processEvents();
  const Integer header = Grid->HeaderRowCount();
  ASSERT_EQ(Tree()->FlatCount(), 3) << "groups start collapsed";
  EXPECT_EQ(Grid->RowCount(), header + 3);
  Grid->SelectGroupNode(FindGroup("Dev"));
  ASSERT_EQ(Grid->Row(), header);

  Word key = VK_ADD;
  Grid->KeyDown(key, TShiftState());
  EXPECT_TRUE(FindGroup("Dev")->Expanded());
  EXPECT_EQ(Tree()->FlatCount(), 5);
  EXPECT_EQ(Grid->RowCount(), header + 5);

  const Integer leftCol = Grid->LeftCol(), scrollPos = Grid->HorzScrollPos();
  key = VK_RIGHT;
  Grid->KeyDown(key, TShiftState());
  EXPECT_TRUE(FindGroup("Dev")->Expanded());
  EXPECT_TRUE(Grid->LeftCol() != leftCol || Grid->HorzScrollPos() != scrollPos) << "Right on an expanded group scrolls";

  key = VK_LEFT;
  Grid->KeyDown(key, TShiftState());
  EXPECT_FALSE(FindGroup("Dev")->Expanded());

  key = VK_DOWN;
  Grid->KeyDown(key, TShiftState());
  EXPECT_EQ(Grid->CurrentGroupNode(), FindGroup("Ops"));
  EXPECT_EQ(Query.RecNo(), 4) << "the data set follows to the group's first record";
}

TEST_F(Grouping, TitlesDroppedOnThePanelGroupAndBoxesDroppedOnTheTitlesUngroup) {
  Grid->SetOptionsX(Grid->OptionsX() + TDBGridXOptions{dghColumnMove});
  Grid->DataGrouping()->SetGroupPanelVisible(true);
  Grid->DataGrouping()->SetActive(true);
  QApplication::processEvents();
  auto send = [&](Cardinal Msg, TPoint P, Word Keys) { Grid->Perform(Msg, Keys, PointToLParam(P)); };
  auto middle = [](const TRect& R) { return TPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2); };
  const TPoint title = middle(Grid->CellRect(Grid->ColumnIndexToGridCol(Column("dept")->Index()), 0));
  const TPoint onPanel(20, 10);
  send(WM_LBUTTONDOWN, title, MK_LBUTTON);
  send(WM_MOUSEMOVE, TPoint(title.X + 10, title.Y), MK_LBUTTON);
  send(WM_MOUSEMOVE, onPanel, MK_LBUTTON);
  EXPECT_EQ(Grid->GroupPanelDropIndex(), 0) << "the arrow shows the place";
  send(WM_LBUTTONUP, onPanel, 0);
  EXPECT_EQ(Grid->GroupPanelDropIndex(), -1);
  EXPECT_FALSE(Column("dept")->Visible());
  EXPECT_EQ(Describe(), "Dev[1 4] Ops[3] Sales[0 2]");

  const TRect box = Grid->LayoutGroupPanelBoxes().at(0);
  const TPoint firstTitle = middle(Grid->CellRect(Grid->ColumnIndexToGridCol(0), 0));
  send(WM_LBUTTONDOWN, TPoint(box.Left + 5, box.Top + 5), MK_LBUTTON);
  send(WM_MOUSEMOVE, firstTitle, MK_LBUTTON);
  EXPECT_EQ(Grid->GridState(), msColMoving) << "off the panel the box goes on as a move of its column";
  EXPECT_EQ(Grid->GroupPanelDropIndex(), -1);
  send(WM_LBUTTONUP, firstTitle, 0);
  EXPECT_TRUE(Column("dept")->Visible()) << "the box dropped on the titles";
  EXPECT_EQ(Grid->DataGrouping()->GroupLevels()->Count(), 0);
  EXPECT_EQ(Column("dept")->Index(), 0) << "its column goes where it was dropped";
}

TEST_F(Grouping, ABoxDraggedIntoTheRowPanelPlacesItsColumnAndBackOnThePanelStaysALevel) {
  Grid->SetOptionsX(Grid->OptionsX() + TDBGridXOptions{dghColumnMove});
  Grid->DataGrouping()->SetGroupPanelVisible(true);
  GroupBy("dept");
  Column("dept")->SetVisible(false);
  Grid->RowPanel()->SetActive(true);
  QApplication::processEvents();
  auto send = [&](Cardinal Msg, TPoint P, Word Keys) { Grid->Perform(Msg, Keys, PointToLParam(P)); };
  const Integer panelCol = Grid->ColumnIndexToGridCol(0);
  const TRect box = Grid->LayoutGroupPanelBoxes().at(0);
  const TPoint press(box.Left + 5, box.Top + 5);

  send(WM_LBUTTONDOWN, press, MK_LBUTTON);
  const TRect id = Grid->PanelColumnRect(panelCol, 0, Column("id")->Index());
  send(WM_MOUSEMOVE, TPoint(id.Right + 3, id.Top + 5), MK_LBUTTON);
  EXPECT_TRUE(Grid->PanelTitleDragging());
  send(WM_MOUSEMOVE, press, MK_LBUTTON);
  EXPECT_EQ(Grid->GroupPanelDropIndex(), 0) << "back over the group panel its arrow shows again";
  send(WM_LBUTTONUP, press, 0);
  EXPECT_FALSE(Grid->PanelTitleDragging());
  EXPECT_FALSE(Column("dept")->Visible());
  EXPECT_EQ(Grid->DataGrouping()->ActiveLevelCount(), 1);

  send(WM_LBUTTONDOWN, press, MK_LBUTTON);
  send(WM_MOUSEMOVE, TPoint(id.Right + 3, id.Top + 5), MK_LBUTTON);
  send(WM_LBUTTONUP, TPoint(id.Right + 3, id.Top + 5), 0);
  EXPECT_TRUE(Column("dept")->Visible());
  EXPECT_EQ(Grid->DataGrouping()->GroupLevels()->Count(), 0);
  EXPECT_EQ(Column("dept")->Index(), Column("id")->Index() + 1) << "placed after the column it was dropped behind";
}

TEST_F(Grouping, BoxesCarryTheTitleFilterButtonThatDropsTheColumnsList) {
  Grid->DataGrouping()->SetGroupPanelVisible(true);
  GroupBy("dept");
  QApplication::processEvents();
  const Integer plainWidth = Grid->LayoutGroupPanelBoxes().at(0).Width();
  Grid->STFilter()->SetVisible(true);
  Grid->STFilter()->SetLocation(stflInTitleFilterX);
  QApplication::processEvents();
  const TRect box = Grid->LayoutGroupPanelBoxes().at(0);
  EXPECT_GT(box.Width(), plainWidth) << "the box makes room for the button";
  const TPoint onButton(box.Right - 5, (box.Top + box.Bottom) / 2);
  Grid->Perform(WM_MOUSEMOVE, 0, PointToLParam(TPoint(box.Left + 4, box.Top + 4)));
  EXPECT_EQ(Grid->DataGrouping()->HotBoxIndex(), 0);
  EXPECT_EQ(Grid->DataGrouping()->HotButtonIndex(), -1);
  Grid->Perform(WM_MOUSEMOVE, 0, PointToLParam(onButton));
  EXPECT_EQ(Grid->DataGrouping()->HotButtonIndex(), 0);

  auto click = [&](TPoint P) {
    SetCursorPos(Grid->ClientToScreen(P));
    Grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(P));
    Grid->Perform(WM_LBUTTONUP, 0, PointToLParam(P));
  };
  click(onButton);
  EXPECT_TRUE(Grid->FilterListDropped());
  EXPECT_EQ(Grid->FilterDropDownColumn(), Column("dept"));
  EXPECT_EQ(Describe(), "Dev[1 4] Ops[3] Sales[0 2]") << "the button press does not flip the level's order";
  click(onButton);
  EXPECT_FALSE(Grid->FilterListDropped()) << "a second press closes it";
}

TEST_F(Grouping, LevelsMarkTheSortingWhileTheLinkIsActive) {
  Grid->SetOptionsX(Grid->OptionsX() + TDBGridXOptions{dghAutoSortMarking});
  Integer marked = 0;
  Grid->OnSortMarkingChanged = [&](TObject*) { ++marked; };
  GroupBy("dept");
  EXPECT_GT(marked, 0) << "a new level";
  GroupBy("city");
  marked = 0;
  Grid->DataGrouping()->MoveGroupLevel(1, 0);
  EXPECT_GT(marked, 0) << "a moved level";
  EXPECT_EQ(Grid->DataGrouping()->ActiveLevels(0)->Column(), Column("city"));

  Query.Close();
  marked = 0;
  Grid->DataGrouping()->MoveGroupLevel(1, 0);
  EXPECT_EQ(marked, 0) << "not while the link is inactive";
}

TEST_F(Grouping, LevelsNamedWhileLoadingFindTheirColumnsOnceTheGridIsLoaded) {
  Grid->BeginLoading();
  auto* level = static_cast<TDBGridXDataGroupLevelX*>(Grid->DataGrouping()->GroupLevels()->Add());
  level->SetColumnName(QStringLiteral("Column_2_dept"));
  EXPECT_EQ(level->Column(), nullptr) << "only kept while loading";
  Grid->Loaded();
  EXPECT_EQ(level->Column(), Column("dept"));
  EXPECT_TRUE(HasPendingMessage(Grid, TCustomDBGridX::WM_DEFERRED_LAYOUT)) << "one more layout once all is loaded";
  EXPECT_EQ(Grid->LayoutLock(), 0);
}

TEST_F(Grouping, PressesOnBoxesFlipTheSortAndOnGroupRowsToggleThem) {
  Grid->DataGrouping()->SetGroupPanelVisible(true);
  GroupBy("dept");
  Column("dept")->Title()->SetTitleButton(true);
  QApplication::processEvents();
  auto click = [&](TPoint P) {
    Grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(P));
    Grid->Perform(WM_LBUTTONUP, 0, PointToLParam(P));
  };
  const TRect box = Grid->LayoutGroupPanelBoxes().at(0);
  click(TPoint(box.Left + 5, box.Top + 5));
  EXPECT_EQ(Describe(), "Sales[0 2] Ops[3] Dev[1 4]") << "a released box flips its level's order";

  const Integer header = Grid->HeaderRowCount();
  const TRect ops = Grid->CellRect(Grid->ColumnIndexToGridCol(0), header + 1);
  click(TPoint(ops.Left + 9, (ops.Top + ops.Bottom) / 2));
  EXPECT_TRUE(FindGroup("Ops")->Expanded()) << "the box of the row";
  EXPECT_EQ(Grid->CurrentGroupNode(), FindGroup("Ops"));
  const TRect sales = Grid->CellRect(Grid->ColumnIndexToGridCol(1), header);
  click(TPoint(sales.Right - 3, (sales.Top + sales.Bottom) / 2));
  EXPECT_FALSE(FindGroup("Sales")->Expanded()) << "elsewhere the row only becomes current";
  EXPECT_EQ(Grid->CurrentGroupNode(), FindGroup("Sales"));
}

}  // namespace

TEST_F(Grouping, AColumnsGroupEventsGiveTheKeyAndItsTextBeforeTheLevelDoes) {
  TColumnX* dept = Column("dept");
  dept->OnGroupGetKeyValue = [&](TCustomDBGridX* EventGrid, TColumnX* EventColumn, Variant& KeyValue) {
    EXPECT_EQ(EventGrid, Grid);
    EXPECT_EQ(EventColumn, dept);
    KeyValue = VarToStr(KeyValue).left(1);
  };
  dept->OnGroupGetKeyValueAsText = [](TCustomDBGridX*, TGroupDataTreeNodeX*, String& Text, const Variant& KeyValue) {
    Text = u'<' + VarToStr(KeyValue) + u'>';
  };
  auto* level = static_cast<TDBGridXDataGroupLevelX*>(GroupBy("dept"));
  EXPECT_EQ(Describe(), "D[1 4] O[3] S[0 2]");
  String text;
  level->GroupRowText(FindGroup("S"), text);
  EXPECT_EQ(text, "Dept: <S> (2)");
  level->OnGetKeyValueAsText = [](TCustomDBGridX*, TGroupDataTreeNodeX*, String& Text, const Variant&) { Text += u'!'; };
  level->GroupRowText(FindGroup("O"), text);
  EXPECT_EQ(text, "Dept: <O>! (1)") << "the level's event follows the column's";
}
