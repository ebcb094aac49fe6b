#include "grid/MemTableX.h"
#include "gridout/tests/GridPrintFixture.h"
#include <QImage>
#include <QPainter>

using namespace gridprinttest;

namespace {

using TWords = QList<TGridPrintForm::TWordBox>;

// The pay table's query as a memory table whose records form the tree Nodes describes (by
// record index).
class TTreeQuery : public TADOQuery, public IMemTableX {
public:
  ~TTreeQuery() override { Close(); }
  std::vector<TMemTableNodeInfoX> Nodes;

  Integer MemRecordCount() override { return Active() ? RecordCount() : 0; }
  Integer CurrentRecordIndex() override { return Active() && !IsEmpty() ? RecNo() - 1 : -1; }
  void SetCurrentRecordIndex(Integer Index) override { SetRecNo(Index + 1); }
  void EnterRecord(Integer Index) override { BeginReadAt(Index); }
  void LeaveRecord() override { EndReadAt(); }
  bool TreeViewActive() override { return true; }
  TMemTableNodeInfoX RecordNodeInfo(Integer Index) override {
    return Index >= 0 && Index < Integer(Nodes.size()) ? Nodes[size_t(Index)] : TMemTableNodeInfoX();
  }
  Integer SetNodeExpanded(Integer, bool) override { return -1; }
  void RefreshTreeView() override {}
  bool MoveRecords(const std::vector<Integer>&, Integer, Integer) override { return false; }
  void RegisterGrid(IMemTableChangeNotifyX*) override {}
  void UnregisterGrid(IMemTableChangeNotifyX*) override {}
};

}  // namespace

TEST(GridPrintingLayouts, VerticalTitlesRunUpwardsFromTheFootOfTheirCells) {
  for (bool multiTitle : {false, true}) {
    TGridPrintForm f(3);
    f.SetColumns({{"name", "人员|姓名", 80}, {"base", "工资|基本工资", 60}});
    f.Grid->Columns()->Items(1)->Title()->SetOrientation(tohVertical);
    // A single title row is one line high unless TitleHeight makes room.
    f.Grid->SetUseMultiTitle(multiTitle);
    if (!multiTitle) f.Grid->SetTitleHeight(80);
    f.Record();
    f.PdfPages();
    const TWords words = f.PdfWords().value(0);
    const QString caption = multiTitle ? QStringLiteral("基本工资") : QStringLiteral("工资|基本工资");
    const auto vertical = WordBox(words, caption);
    const auto firstRow = WordBox(words, QStringLiteral("员工1"));
    EXPECT_GT(vertical.Bottom - vertical.Top, 2 * (vertical.Right - vertical.Left)) << multiTitle;
    EXPECT_LT(vertical.Bottom, firstRow.Top) << "the whole caption stands in the title area";
    EXPECT_NEAR(vertical.Bottom, firstRow.Top, 12) << "its foot a few points above the first row";
    if (multiTitle) {
      EXPECT_LT(WordBox(words, QStringLiteral("工资")).Bottom, vertical.Top) << "the band lies above it";
    }
  }
}

TEST(GridPrintingLayouts, ARightToLeftGridPrintsAsTheMirrorOfItsPage) {
  QList<TWords> pages;
  for (TBiDiMode mode : {bdLeftToRight, bdRightToLeft}) {
    TGridPrintForm f(5);
    f.SetColumns({{"name", "姓名", 80}, {"dept", "部门", 100}, {"base", "基本工资", 90}});
    f.AddSumFooter({"base"});
    f.Grid->SetBiDiMode(mode);
    f.Print.Title()->SetText(QStringLiteral("月度工资"));
    f.Print.PageHeader()->LeftText()->SetText(QStringLiteral("甲单位"));
    f.Record();
    f.PdfPages();
    pages << f.PdfWords().value(0);
  }
  // Mirrored words sum to the same page width from their opposite edges.
  const QStringList texts = {"甲单位", "月度工资", "姓名", "部门", "基本工资", "员工1", "部门2", "500", "合计", "1500"};
  const double width = WordBox(pages[0], texts[0]).Left + WordBox(pages[1], texts[0]).Right;
  EXPECT_GT(width, 500);
  for (const QString& text : texts) {
    const auto ltr = WordBox(pages[0], text), rtl = WordBox(pages[1], text);
    EXPECT_NEAR(ltr.Left + rtl.Right, width, 1.5) << text.toStdString();
    EXPECT_NEAR(ltr.Top, rtl.Top, 0.5) << text.toStdString();
  }
}

TEST(GridPrintingLayouts, TheRowPanelPrintsEveryRecordAsItsPanelBlock) {
  TGridPrintForm f(60);
  f.SetColumns({{"name", "姓名", 80}, {"dept", "部门", 80}, {"base", "基本工资", 80}, {"bonus", "奖金", 70}});
  f.AddSumFooter({"base"});
  f.Grid->Columns()->Items(2)->SetInRowLinePos(1);
  f.Grid->Columns()->Items(3)->SetInRowLinePos(1);
  f.Grid->RowPanel()->SetActive(true);
  QApplication::processEvents();
  f.Record();
  const QStringList texts = f.PdfPages();
  const QList<TWords> pages = f.PdfWords();
  ASSERT_GT(pages.size(), 1);
  QStringList names;
  for (const QString& page : texts) {
    names << Words(page, QStringLiteral("员工\\d+"));
    for (const char* title : {"姓名", "部门", "基本工资", "奖金"})
      EXPECT_TRUE(page.contains(QString::fromUtf8(title))) << title;
  }
  ASSERT_EQ(names.size(), 60);
  for (Integer i = 0; i < 60; ++i) EXPECT_EQ(names[i], QStringLiteral("员工%1").arg(i + 1));

  const TWords& first = pages[0];
  // The titles stand as the panel places them: base under name, bonus under dept.
  const auto name = WordBox(first, QStringLiteral("姓名")), base = WordBox(first, QStringLiteral("基本工资"));
  EXPECT_GT(base.Top, name.Bottom);
  EXPECT_NEAR(base.Left, name.Left, 1);
  EXPECT_NEAR(WordBox(first, QStringLiteral("奖金")).Left, WordBox(first, QStringLiteral("部门")).Left, 1);
  // Each record: name and department on its first line, its pay on the second, above the next record.
  for (Integer id = 1; id <= 3; ++id) {
    const auto person = WordBox(first, QStringLiteral("员工%1").arg(id));
    const auto dept = WordBox(first, QStringLiteral("部门%1").arg(id % 3));
    const auto pay = WordBox(first, QString::number(id * 100));
    const auto next = WordBox(first, QStringLiteral("员工%1").arg(id + 1));
    EXPECT_NEAR(dept.Top, person.Top, 0.5) << id;
    EXPECT_GT(pay.Top, person.Bottom) << id;
    EXPECT_LT(pay.Bottom, next.Top) << id;
  }
  // The footer row is a block too: the total under the pay of the records.
  const auto total = WordBox(pages.last(), QStringLiteral("183000"));
  EXPECT_GT(total.Top, WordBox(pages.last(), QStringLiteral("合计")).Bottom);
}

TEST(GridPrintingLayouts, TreeRecordsPrintIndentedByLevelWithTheirLinesUnlessThereAreFooters) {
  for (bool footer : {false, true}) {
    TGridPrintForm f(4);
    TTreeQuery tree;
    tree.SetConnection(&f.Connection);
    tree.SQL()->SetText("SELECT * FROM pay ORDER BY id");
    tree.Open();
    // 1 holds 2 and 3; 4 stands alone.
    tree.Nodes = {{1, true, true, {true}}, {2, false, false, {true, true}}, {2, false, false, {true, false}},
                  {1, false, false, {false}}};
    f.Source.SetDataSet(&tree);
    f.SetColumns({{"name", "姓名", 120}, {"base", "基本工资", 90}});
    if (footer) f.AddSumFooter({"base"});
    QApplication::processEvents();
    ASSERT_TRUE(f.Grid->TreeViewShown());
    f.Record();
    f.PdfPages();
    const TWords words = f.PdfWords().value(0);
    const double root = WordBox(words, QStringLiteral("员工1")).Left;
    // A level is 18 screen pixels: 13.5 points.
    EXPECT_NEAR(WordBox(words, QStringLiteral("员工2")).Left - root, 13.5, 0.6) << footer;
    EXPECT_NEAR(WordBox(words, QStringLiteral("员工3")).Left - root, 13.5, 0.6) << footer;
    EXPECT_NEAR(WordBox(words, QStringLiteral("员工4")).Left, root, 0.3) << footer;

    // Left of the first record's text: its expanded box, unless footer rows leave the lines out.
    const QImage page = PageImage(f.Recorder()->PageFile(1), 0.5);
    const std::vector<int> columns = GridLines(page, true), rows = GridLines(page, false);
    ASSERT_GE(columns.size(), 2u);
    ASSERT_GE(rows.size(), 3u);
    const int treeArea = 112 / 2;  // one level at 600 dpi, drawn at 300 dpi
    Integer ink = 0;
    for (int y = rows[1] + 4; y < rows[2] - 4; ++y)
      for (int x = columns[0] + 4; x < columns[0] + 4 + treeArea; ++x) ink += qGray(page.pixel(x, y)) < 220 ? 1 : 0;
    if (footer) EXPECT_EQ(ink, 0);
    else EXPECT_GT(ink, 20);
    f.Source.SetDataSet(&f.Query);
  }
}

TEST(GridPrintingLayouts, TheRowPanelPrintsOnlyTheSelectedCellsInTheirPanelPlaces) {
  TGridPrintForm f(20);
  f.SetColumns({{"name", "姓名", 80}, {"dept", "部门", 80}, {"base", "基本工资", 80}, {"bonus", "奖金", 70}});
  f.Grid->Columns()->Items(2)->SetInRowLinePos(1);
  f.Grid->Columns()->Items(3)->SetInRowLinePos(1);
  f.Grid->RowPanel()->SetActive(true);
  QApplication::processEvents();
  const auto bookmarkOf = [&](Integer Id) {
    EXPECT_TRUE(f.Query.Locate(QStringLiteral("id"), Variant(Id), {}));
    return f.Query.Bookmark();
  };
  f.Grid->Selection()->Rect()->SelectCell(2, bookmarkOf(5), false);
  f.Grid->Selection()->Rect()->SelectCell(3, bookmarkOf(7), true);
  ASSERT_EQ(f.Grid->Selection()->SelectionKind(), gstRectangle);
  f.Record();
  const QStringList texts = f.PdfPages();
  ASSERT_EQ(texts.size(), 1);
  EXPECT_EQ(Words(texts[0], QStringLiteral("\\S+")),
            QStringList({"基本工资", "奖金", "500", "5", "600", "6", "700", "7"}));
  // The panel's first line stays empty above each: the title and every record keep their block's shape.
  const TWords words = f.PdfWords().value(0);
  const auto title = WordBox(words, QStringLiteral("基本工资")), first = WordBox(words, QStringLiteral("500"));
  const double line = title.Bottom - title.Top;
  EXPECT_GT(first.Top - title.Bottom, line);
  EXPECT_GT(WordBox(words, QStringLiteral("600")).Top - first.Bottom, line);
}
