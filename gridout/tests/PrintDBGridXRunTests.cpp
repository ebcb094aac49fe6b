#include "gridout/PreviewFormX.h"
#include "gridout/fPrnDBGridXSetupDialog.h"
#include "gridout/tests/GridPrintFixture.h"
#include <QTimer>
#include "platform/rtl/Clock.h"

using namespace gridprinttest;

namespace {

// A pay grid with two title levels and a footer row summing base and bonus.
void TwoLevelPayGrid(TGridPrintForm& F) {
  F.SetColumns({{"name", "人员|姓名", 80}, {"dept", "人员|部门", 80}, {"base", "工资|基本工资", 90},
                {"bonus", "工资|奖金", 70}});
  F.Grid->SetUseMultiTitle(true);
  F.AddSumFooter({"base", "bonus"});
  QApplication::processEvents();
}

// Selects the records with these ids.
void SelectIds(TGridPrintForm& F, std::initializer_list<Integer> Ids) {
  for (Integer id : Ids) {
    ASSERT_TRUE(F.Query.Locate(QStringLiteral("id"), Variant(id), {}));
    F.Grid->RecordBookmarks()->MarkCurrentRow(true);
  }
  ASSERT_EQ(F.Grid->Selection()->SelectionKind(), gstRecordBookmarks);
}

// A recorder that asks for the run to stop when page StopAt begins.
class TStoppingRecorder : public TPrinterPreview {
public:
  explicit TStoppingRecorder(Integer StopAt) : FStopAt(StopAt) {}
  void NewPage() override {
    TPrinterPreview::NewPage();
    if (GetPageNumber() == FStopAt) Abort();
  }
private:
  Integer FStopAt;
};

}  // namespace

TEST(GridPrinting, TwoHundredRecordsPageByPageWithTitlesFooterAndPageCount) {
  TGridPrintForm f(200);
  TwoLevelPayGrid(f);
  // Latin text in a Latin face: the CJK face leaves Latin runs to the platform's fallback.
  f.Print.SetPrintFontName(String());
  f.Print.PageFooter()->Font()->SetName(QStringLiteral("DejaVu Sans"));
  f.Print.PageFooter()->LeftText()->SetText(QStringLiteral("&[Page] of &[Pages]"));
  f.Print.PageHeader()->CenterText()->SetText(QStringLiteral("工资表"));
  f.Print.Title()->SetText(QStringLiteral("二〇二六年十二月"));
  f.Query.Locate(QStringLiteral("id"), Variant(77), {});
  f.Record();
  EXPECT_EQ(f.Query.FieldByName(QStringLiteral("id"))->AsInteger(), 77) << "the current record stays";
  EXPECT_FALSE(f.Recorder()->GetPrinting());

  const QStringList pages = f.PdfPages();
  const Integer n = f.RecordedPages();
  ASSERT_GT(n, 2);
  EXPECT_EQ(f.PdfPageCount, n);
  ASSERT_EQ(pages.size(), n);
  QStringList all;
  Integer perPage = 0;
  for (Integer k = 1; k <= n; ++k) {
    const QString& page = pages[k - 1];
    for (const char* title : {"二〇二六年十二月", "人员", "工资", "姓名", "部门", "基本工资", "奖金", "工资表"})
      EXPECT_TRUE(page.contains(QString::fromUtf8(title))) << title << " on page " << k;
    EXPECT_TRUE(page.contains(QStringLiteral("%1 of %2").arg(k).arg(n))) << page.toStdString();
    const QStringList names = Words(page, QStringLiteral("员工\\d+"));
    if (k == 1) {
      perPage = Integer(names.size());
    } else if (k < n) {
      EXPECT_EQ(names.size(), perPage) << "every full page holds as many rows";
    }
    all << names;
  }
  // The layout implies the count: full pages of perPage rows, the rest and the footer row on the last.
  EXPECT_EQ(n, (200 + 1 + perPage - 1) / perPage);
  ASSERT_EQ(all.size(), 200);
  for (Integer i = 0; i < 200; ++i) EXPECT_EQ(all[i], QStringLiteral("员工%1").arg(i + 1));
  EXPECT_TRUE(pages.last().contains(QStringLiteral("合计")));
  EXPECT_FALSE(pages.first().contains(QStringLiteral("合计")));
  EXPECT_FALSE(Words(pages.last(), QStringLiteral("2010000")).isEmpty()) << "base: 100 x (1 + ... + 200)";
  EXPECT_FALSE(Words(pages.last(), QStringLiteral("20100")).isEmpty()) << "bonus: 1 + ... + 200";
}

TEST(GridPrinting, SelectedRowsPrintAloneWithTheirOwnSums) {
  TGridPrintForm f(200);
  TwoLevelPayGrid(f);
  SelectIds(f, {3, 50, 120});
  f.Query.Locate(QStringLiteral("id"), Variant(10), {});
  f.Record();
  EXPECT_EQ(f.Query.FieldByName(QStringLiteral("id"))->AsInteger(), 10);
  const QStringList pages = f.PdfPages();
  ASSERT_EQ(pages.size(), 1);
  EXPECT_EQ(Words(pages[0], QStringLiteral("员工\\d+")), QStringList({"员工3", "员工50", "员工120"}));
  EXPECT_FALSE(Words(pages[0], QStringLiteral("17300")).isEmpty()) << pages[0].toStdString();
  EXPECT_FALSE(Words(pages[0], QStringLiteral("173")).isEmpty());
}

TEST(GridPrinting, ACellRectanglePrintsItsRowsAndColumnsWithTheirOwnSums) {
  TGridPrintForm f(200);
  f.SetColumns({{"name", "姓名", 80}, {"dept", "部门", 80}, {"base", "基本工资", 90}, {"bonus", "奖金", 70}});
  f.AddSumFooter({"base", "bonus"});
  // Drawn upwards from the bottom right corner: the rows still print top to bottom.
  const auto bookmarkOf = [&](Integer Id) {
    EXPECT_TRUE(f.Query.Locate(QStringLiteral("id"), Variant(Id), {}));
    return f.Query.Bookmark();
  };
  f.Grid->Selection()->Rect()->SelectCell(2, bookmarkOf(109), false);
  f.Grid->Selection()->Rect()->SelectCell(0, bookmarkOf(105), true);
  ASSERT_EQ(f.Grid->Selection()->SelectionKind(), gstRectangle);
  f.Query.Locate(QStringLiteral("id"), Variant(150), {});
  f.Record();
  EXPECT_EQ(f.Query.FieldByName(QStringLiteral("id"))->AsInteger(), 150);
  const QStringList pages = f.PdfPages();
  ASSERT_EQ(pages.size(), 1);
  EXPECT_EQ(Words(pages[0], QStringLiteral("员工\\d+")),
            QStringList({"员工105", "员工106", "员工107", "员工108", "员工109"}));
  EXPECT_TRUE(pages[0].contains(QStringLiteral("基本工资")) && pages[0].contains(QStringLiteral("部门")));
  EXPECT_FALSE(pages[0].contains(QStringLiteral("奖金"))) << "the bonus column lies outside the rectangle";
  EXPECT_TRUE(pages[0].contains(QStringLiteral("合计")));
  EXPECT_FALSE(Words(pages[0], QStringLiteral("53500")).isEmpty()) << "base: 100 x (105 + ... + 109)";
}

TEST(GridPrinting, ASelectedRecordDeletedMeanwhileIsPassedOverAndTheWalkEnds) {
  TGridPrintForm f(20);
  TwoLevelPayGrid(f);
  SelectIds(f, {2, 5, 9});
  ASSERT_TRUE(f.Query.Locate(QStringLiteral("id"), Variant(5), {}));
  const TBookmarkStr gone = f.Query.Bookmark();
  f.Query.Delete();
  Integer index = 0;
  if (!f.Grid->RecordBookmarks()->SearchBookmark(gone, index)) f.Grid->RecordBookmarks()->InsertBookmark(index, gone);
  f.Record();
  const QStringList pages = f.PdfPages();
  ASSERT_EQ(pages.size(), 1);
  EXPECT_EQ(Words(pages[0], QStringLiteral("员工\\d+")), QStringList({"员工2", "员工9"}));
  EXPECT_FALSE(Words(pages[0], QStringLiteral("1100")).isEmpty());
}

TEST(GridPrinting, AnEmptyDataSetPrintsTitlesAndFooters) {
  for (bool footer : {true, false}) {
    TGridPrintForm f(0);
    f.SetColumns({{"name", "姓名", 80}, {"base", "基本工资", 90}});
    if (footer) f.AddSumFooter({"base"});
    f.Record();
    const QStringList pages = f.PdfPages();
    ASSERT_EQ(pages.size(), 1) << footer;
    EXPECT_TRUE(pages[0].contains(QStringLiteral("姓名")) && pages[0].contains(QStringLiteral("基本工资")));
    EXPECT_EQ(pages[0].contains(QStringLiteral("合计")), footer);
  }
}

TEST(GridPrinting, NothingToPrintRecordsNoPageAndRaisesNoEvent) {
  TGridPrintForm f(5);
  bool before = false;
  f.Print.OnBeforePrint = [&](TObject*) { before = true; };
  f.Query.Close();
  f.Record();
  f.Query.Open();
  {
    auto* grid = new TDBGridX(f.Form);
    f.Print.SetDBGridX(grid);
    f.Record();  // a grid without a data source
    delete grid;
  }
  EXPECT_EQ(f.Print.DBGridX(), nullptr) << "the freed grid is forgotten";
  f.Record();
  EXPECT_EQ(f.RecordedPages(), 0);
  EXPECT_FALSE(before);
}

TEST(GridPrinting, StoppingKeepsTheCurrentRecordAndEndsTheDocument) {
  TGridPrintForm f(200);
  TwoLevelPayGrid(f);
  f.Query.Locate(QStringLiteral("id"), Variant(42), {});
  std::vector<String> events;
  f.Print.OnBeforePrint = [&](TObject*) { events.push_back(QStringLiteral("before")); };
  f.Print.OnAfterPrint = [&](TObject*) { events.push_back(QStringLiteral("after")); };
  TStoppingRecorder recorder(2);
  EXPECT_THROW(f.Print.PrintTo(&recorder), EAbort);
  EXPECT_EQ(f.Query.FieldByName(QStringLiteral("id"))->AsInteger(), 42);
  EXPECT_FALSE(recorder.GetPrinting());
  EXPECT_EQ(recorder.PageFileCount(), 2);
  EXPECT_EQ(events, std::vector<String>({QStringLiteral("before"), QStringLiteral("after")}));
  EXPECT_FALSE(f.Print.Printing());
}

TEST(GridPrinting, ASecondRunWhileOneIsGoingOnIsRefused) {
  TGridPrintForm f(10);
  f.SetColumns({{"name", "姓名", 80}});
  bool refused = false;
  f.Print.OnBeforePrint = [&](TObject*) {
    try {
      f.Print.Preview();
    } catch (const EInvalidOperation&) {
      refused = true;
    }
  };
  f.Record();
  EXPECT_TRUE(refused);
  const QStringList pages = f.PdfPages();
  ASSERT_EQ(pages.size(), 1);
  EXPECT_EQ(Words(pages[0], QStringLiteral("员工\\d+")).size(), 10);
}

TEST(GridPrinting, AWideGridPrintsPageGroupsOrFitsThePage) {
  struct Case { TPrintDBGridXOptions options; Integer pages; };
  for (const Case& c : std::initializer_list<Case>{
           {{}, 2},
           {{pghFitGridToPageWidth}, 1},
           {{pghFitGridToPageWidth, pghFitingByColWidths}, 1}}) {
    TGridPrintForm f(30);
    f.SetColumns({{"name", "姓名", 300}, {"base", "基本工资", 300}, {"dept", "部门", 300}, {"bonus", "奖金", 300}});
    f.Print.SetOptions(c.options);
    f.Record();
    const QStringList pages = f.PdfPages();
    ASSERT_EQ(pages.size(), c.pages);
    const QString joined = pages.join(QString());
    for (const char* title : {"姓名", "基本工资", "部门", "奖金"})
      EXPECT_TRUE(joined.contains(QString::fromUtf8(title))) << title;
    if (c.pages == 2) {
      // The same rows on both pages, each with its own columns.
      EXPECT_EQ(Words(pages[0], QStringLiteral("员工\\d+")).size(), 30);
      EXPECT_EQ(Words(pages[1], QStringLiteral("部门\\d")).size(), 30);
      EXPECT_FALSE(pages[1].contains(QStringLiteral("员工")));
      EXPECT_EQ(Words(pages[0], QStringLiteral("3000")).size(), 1);
      EXPECT_EQ(Words(pages[1], QStringLiteral("30")).size(), 1);
    } else {
      EXPECT_EQ(Words(pages[0], QStringLiteral("员工\\d+")).size(), 30);
      EXPECT_EQ(Words(pages[0], QStringLiteral("部门\\d")).size(), 30);
    }
  }
}

TEST(GridPrinting, OptimalWidthsMeasureTheLastTitleLevel) {
  const String band = QStringLiteral("这是一个很长很长很长很长很长很长很长很长的上级标题");
  struct Case { bool multiTitle; bool onePage; };
  for (const Case& c : std::initializer_list<Case>{{true, true}, {false, false}}) {
    TGridPrintForm f(10);
    f.SetColumns({{"name", "", 400}, {"base", "", 400}, {"dept", "", 400}, {"bonus", "", 400}});
    const char* leaves[] = {"姓名", "基本", "部门", "奖金"};
    for (Integer i = 0; i < 4; ++i)
      f.Grid->Columns()->Items(i)->Title()->SetCaption(band + QStringLiteral("|") + QString::fromUtf8(leaves[i]));
    f.Grid->SetUseMultiTitle(c.multiTitle);
    f.Print.SetOptions({pghOptimalColWidths});
    f.Record();
    EXPECT_EQ(f.RecordedPages() == 1, c.onePage) << c.multiTitle << " pages " << f.RecordedPages();
  }
}

TEST(GridPrinting, ARecordTallerThanAPagePrintsAloneAndCut) {
  TGridPrintForm f(8);
  QString note;
  for (Integer i = 0; i < 900; ++i) note += QStringLiteral("备注%1 ").arg(i);
  f.Connection.ExecuteSql(QStringLiteral("UPDATE pay SET note = '%1END' WHERE id = 5").arg(note));
  f.Query.Close();
  f.Query.Open();
  f.SetColumns({{"name", "姓名", 80}, {"note", "备注", 500}});
  f.Print.SetOptions({pghRowAutoStretch});
  f.Record();
  const QStringList pages = f.PdfPages();
  ASSERT_EQ(pages.size(), 3);
  EXPECT_EQ(Words(pages[0], QStringLiteral("员工\\d+")), QStringList({"员工1", "员工2", "员工3", "员工4"}));
  EXPECT_EQ(Words(pages[1], QStringLiteral("员工\\d+")), QStringList({"员工5"}));
  EXPECT_EQ(Words(pages[2], QStringLiteral("员工\\d+")), QStringList({"员工6", "员工7", "员工8"}));
  EXPECT_TRUE(pages[1].contains(QStringLiteral("备注0")));
  EXPECT_FALSE(pages.join(QString()).contains(QStringLiteral("END")));
  for (const QString& page : pages) EXPECT_TRUE(page.contains(QStringLiteral("姓名")));
}

TEST(GridPrinting, RichTextBeforeTheGridRunsOverPagesAndTheGridFollowsIt) {
  TGridPrintForm f(20);
  f.SetColumns({{"name", "姓名", 80}, {"base", "基本工资", 90}});
  f.Print.PageHeader()->CenterText()->SetText(QStringLiteral("工资表"));
  // The page count asked for in another letter case still gets its counting pass.
  f.Print.PageFooter()->RightText()->SetText(QStringLiteral("第&[page]页 共&[PAGES]页"));
  QStringList lines;
  for (Integer i = 1; i <= 150; ++i) lines << QStringLiteral("说明第%1行").arg(i);
  f.Print.BeforeGridText()->SetText(lines.join(QStringLiteral("\n")));
  f.Print.AfterGridText()->SetText(QStringLiteral("制表人签字"));
  f.Record();
  const QStringList pages = f.PdfPages();
  const Integer n = Integer(pages.size());
  ASSERT_GE(n, 2);
  QStringList notes;
  for (Integer k = 1; k <= n; ++k) {
    EXPECT_TRUE(pages[k - 1].contains(QStringLiteral("工资表"))) << k;
    EXPECT_TRUE(pages[k - 1].contains(QStringLiteral("第%1页 共%2页").arg(k).arg(n))) << k;
    notes << Words(pages[k - 1], QStringLiteral("说明第\\d+行"));
  }
  ASSERT_EQ(notes.size(), 150);
  for (Integer i = 0; i < 150; ++i) EXPECT_EQ(notes[i], QStringLiteral("说明第%1行").arg(i + 1));
  // The grid starts below the text's end, on the same page, and the text after it follows its last row.
  const auto textEnd = std::find_if(pages.begin(), pages.end(),
                                    [](const QString& P) { return P.contains(QStringLiteral("说明第150行")); });
  ASSERT_NE(textEnd, pages.end());
  const qsizetype lastNote = textEnd->indexOf(QStringLiteral("说明第150行"));
  EXPECT_GT(textEnd->indexOf(QStringLiteral("姓名")), lastNote);
  EXPECT_GT(textEnd->indexOf(QStringLiteral("员工1 ")), lastNote);
  EXPECT_GT(pages.last().indexOf(QStringLiteral("制表人签字")), pages.last().indexOf(QStringLiteral("员工20")));
}

TEST(GridPrinting, RichTextParagraphsPrintWhereTheirFormattingPutsThem) {
  TGridPrintForm f(2);
  f.SetColumns({{"name", "姓名", 80}});
  const QByteArray rtf = "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil DejaVu Sans;}}\n"
                         "\\pard\\qc\\f0\\fs28 PayReport\\par\n"
                         "\\pard\\qr\\f0\\fs20 UnitYuan\\par\n"
                         "\\pard\\li720\\f0\\fs20 Indented\\par\n"
                         "\\pard\\f0\\fs20 AtTheMargin}";
  TMemoryStream stream;
  stream.Write(rtf.constData(), Integer(rtf.size()));
  stream.SetPosition(0);
  f.Print.BeforeGridText()->LoadFromStream(&stream);
  f.Record();
  f.PdfPages();
  ASSERT_EQ(f.PdfPageCount, 1);
  // Margins of 2 cm from the paper's edges: 472 units at 600 dpi.
  const double point = 72.0 / f.Recorder()->GetPixelsPerInchX();
  const double left = 472 * point, right = (f.Recorder()->GetFullPageWidth() - 472) * point;
  const QList<TGridPrintForm::TWordBox> words = f.PdfWords().value(0);
  const TGridPrintForm::TWordBox title = WordBox(words, QStringLiteral("PayReport"));
  EXPECT_NEAR((title.Left + title.Right) / 2, (left + right) / 2, 1.5) << "centred";
  EXPECT_NEAR(WordBox(words, QStringLiteral("UnitYuan")).Right, right, 1.5) << "right-aligned";
  EXPECT_NEAR(WordBox(words, QStringLiteral("Indented")).Left, left + 36, 1.5) << "indented by 720 twips";
  EXPECT_NEAR(WordBox(words, QStringLiteral("AtTheMargin")).Left, left, 1.5);
  EXPECT_LT(WordBox(words, QStringLiteral("AtTheMargin")).Bottom, WordBox(words, QStringLiteral("姓名")).Top);
}

TEST(GridPrinting, SubstitutionsApplyWhilePrintingAndTheTextsComeBack) {
  TGridPrintForm f(3);
  f.SetColumns({{"name", "姓名", 80}});
  f.Print.BeforeGridText()->SetText(QStringLiteral("单位：{单位} {单位}"));
  f.Print.CreateSubstitutions();
  f.Print.SubstitutionNames()->Add(QStringLiteral("{单位}"));
  f.Print.SubstitutionValues()->Add(QStringLiteral("墨鲤{单位}"));
  f.Record();
  const QStringList pages = f.PdfPages();
  ASSERT_EQ(pages.size(), 1);
  EXPECT_TRUE(pages[0].contains(QStringLiteral("单位：墨鲤{单位} 墨鲤{单位}"))) << pages[0].toStdString();
  EXPECT_EQ(f.Print.BeforeGridText()->Text(), QStringLiteral("单位：{单位} {单位}\r\n"));
}

namespace {

// Where the first word Word begins from the top of page 1 of the PDF, in points.
double WordTop(const QString& Pdf, const QString& Word) {
  const QString html = RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-f"),
                                                             QStringLiteral("1"), QStringLiteral("-l"),
                                                             QStringLiteral("1"), Pdf, QStringLiteral("-")});
  const QRegularExpression word(QStringLiteral("yMin=\"([0-9.]+)\"[^>]*>") + QRegularExpression::escape(Word) +
                                QStringLiteral("</word>"));
  const QRegularExpressionMatch m = word.match(html);
  return m.hasMatch() ? m.captured(1).toDouble() : -1;
}

}  // namespace

TEST(GridPrinting, HeaderAndFooterTakeTheirTextAndRulesFromThePage) {
  // At 600 dpi a rule takes 600 / 20 = 30 units (3.6 pt), a second one 600 / 30 = 20 more
  // (2.4 pt), and text gets a gap of 30 units below it.
  struct Case { const char* header; TPageColontitleLineType rule; const char* footer; TPageColontitleLineType footerRule; };
  const Case cases[] = {{"", pcltNon, "", pcltNon},
                        {"", pcltSingleLine, "", pcltNon},
                        {"", pcltDoubleLine, "", pcltNon},
                        {"页眉", pcltNon, "", pcltNon},
                        {"页眉", pcltSingleLine, "", pcltNon},
                        {"页眉\n第二行", pcltNon, "", pcltNon},
                        {"", pcltNon, "页脚", pcltDoubleLine}};
  std::vector<double> tops;
  for (const Case& c : cases) {
    TGridPrintForm f(3);
    f.SetColumns({{"name", "姓名", 80}});
    f.Print.PageHeader()->LeftText()->SetText(QString::fromUtf8(c.header));
    f.Print.PageHeader()->SetLineType(c.rule);
    f.Print.PageFooter()->CenterText()->SetText(QString::fromUtf8(c.footer));
    f.Print.PageFooter()->SetLineType(c.footerRule);
    f.Record();
    const QStringList pages = f.PdfPages(QStringLiteral("rules.pdf"));
    ASSERT_EQ(pages.size(), 1);
    if (*c.header) {
      EXPECT_TRUE(pages[0].contains(QStringLiteral("页眉")));
    }
    tops.push_back(WordTop(f.PdfFile(QStringLiteral("rules.pdf")), QStringLiteral("姓名")));
    ASSERT_GT(tops.back(), 0);
  }
  const double base = tops[0];
  EXPECT_NEAR(tops[1] - base, 3.6, 0.2);
  EXPECT_NEAR(tops[2] - base, 6.0, 0.2);
  const double oneLine = tops[3] - base - 3.6;  // the text's own height
  EXPECT_GT(oneLine, 5);
  EXPECT_NEAR(tops[4] - tops[3], 3.6, 0.2);
  EXPECT_NEAR(tops[5] - tops[3], oneLine, 0.3) << "the second line adds one line";
  EXPECT_NEAR(tops[6], base, 0.1) << "the footer does not move the grid";
}

TEST(GridPrinting, PreviewRecordsIntoTheSharedWindowWhoseSetupButtonAsksThisComponent) {
  TGridPrintForm f(5);
  f.SetColumns({{"name", "姓名", 80}});
  Integer setups = 0;
  f.Print.OnPrinterSetupDialog = [&](TObject*) { ++setups; };
  f.Print.Preview();
  TPreviewBox* box = PreviewForm->PreviewEh1;
  EXPECT_EQ(box->PageCount(), 1);
  EXPECT_EQ(box->PrintComponent(), &f.Print);
  EXPECT_EQ(SharedPrinterPreview()->GetTitle(), QStringLiteral("Tabular information"));
  box->PrinterSetup();
  EXPECT_EQ(setups, 1);

  // Without a handler of its own the component's setup dialog runs; Cancel prints nothing again.
  f.Print.OnPrinterSetupDialog = nullptr;
  f.Print.Preview();
  QTimer::singleShot(0, [] { PrintSetupDialog->bCancel->Click(); });
  box->PrinterSetup();
  EXPECT_EQ(setups, 1);
  EXPECT_EQ(box->PageCount(), 1);
  PreviewForm->Close();
}

TEST(GridPrinting, AGridChangedByAnEventWhilePrintingEndsTheRunUnharmed) {
  TGridPrintForm f(100);
  f.SetColumns({{"name", "姓名", 80}, {"base", "基本工资", 90}});
  f.Query.Locate(QStringLiteral("id"), Variant(12), {});
  bool after = false;
  f.Print.OnAfterPrint = [&](TObject*) { after = true; };
  // The event arrives while the first cells are drawn.
  QTimer::singleShot(0, [&] { delete f.Grid->Columns()->Items(1); });
  EXPECT_THROW(f.Record(), EAbort);
  EXPECT_TRUE(after);
  EXPECT_FALSE(f.Recorder()->GetPrinting());
  EXPECT_EQ(f.Query.FieldByName(QStringLiteral("id"))->AsInteger(), 12);
  f.Record();
  const QStringList pages = f.PdfPages();
  ASSERT_FALSE(pages.isEmpty());
  EXPECT_FALSE(pages[0].contains(QStringLiteral("基本工资")));
}
