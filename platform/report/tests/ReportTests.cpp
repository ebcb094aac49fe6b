// Report templates, the page layout over data, and the engine's setup, status, preview and
// printing, with PDF output read back by poppler's tools.
#include "platform/print/PrintDialogs.h"
#include "platform/report/RaveRender.h"
#include "platform/report/RvProject.h"
#include "platform/testing/MemoryDataSetX.h"
#include "platform/testing/TestPaths.h"
#include "platform/ui/StdCtrls.h"
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

String U(const char* Text) { return QString::fromUtf8(Text); }

QString RunTool(const QString& Program, const QStringList& Args) {
  QProcess process;
  process.start(Program, Args);
  EXPECT_TRUE(process.waitForFinished(60000)) << Program.toStdString();
  return QString::fromUtf8(process.readAllStandardOutput());
}

// A page 4 in wide and 3 in high; its region holds two bands of 1 in, so each page has two.
const char* const SmallTemplate = R"(; a list of people
Report Report1
  Page Page1 PageWidth=4 PageHeight=3
    Text PageTitle Left=0.2 Top=0.1 Width=3.6 Height=0.3 Text="人员名单" FontSize=12 Alignment=Center
    Region Region1 Left=0.2 Top=0.5 Width=3.6 Height=2.4
      DataBand DataBand1 Height=1
        Text Caption Left=0 Top=0.1 Width=1 Height=0.2 Text="姓名"
        DataText NameText Left=1 Top=0.1 Width=1 Height=0.2 DataField=Name
        DataText PayText Left=2 Top=0.1 Width=1.5 Height=0.2 DataField=Pay Alignment=Right
        DataText CompanyText Left=0 Top=0.5 Width=2 Height=0.2 DataField=Company DataView=RvDataSetConnection2
        Rectangle Frame Left=0 Top=0 Width=3.6 Height=0.9
)";

std::unique_ptr<TTestDataSetX> People(Integer Count) {
  std::vector<std::vector<Variant>> rows;
  for (Integer i = 1; i <= Count; ++i)
    rows.push_back({Variant(U("员工") + QString::number(i)), Variant(1000.5 * i)});
  auto data = std::make_unique<TTestDataSetX>(
      std::vector<TTestDataSetX::TColumn>{{QStringLiteral("Name"), ftString}, {QStringLiteral("Pay"), ftFloat}},
      std::move(rows));
  data->Open();
  static_cast<TFloatField*>(data->FieldByName(QStringLiteral("Pay")))->SetDisplayFormat(QStringLiteral("0.00"));
  return data;
}

std::unique_ptr<TTestDataSetX> Company() {
  auto data = std::make_unique<TTestDataSetX>(
      std::vector<TTestDataSetX::TColumn>{{QStringLiteral("Company"), ftString}},
      std::vector<std::vector<Variant>>{{Variant(U("墨鲤科技"))}});
  data->Open();
  return data;
}

// A project over the small template with its two connections on one owner.
struct TProjectFixture {
  moli::testing::ScratchDir Dir;
  TComponent Owner{nullptr};
  TRvSystem* System = new TRvSystem(&Owner);
  TRvProject* Project = new TRvProject(&Owner);
  std::unique_ptr<TTestDataSetX> Records, Settings = Company();
  explicit TProjectFixture(Integer Count, const char* Template = SmallTemplate) : Records(People(Count)) {
    QFile file(Dir.File(QStringLiteral("People.RAV")));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(Template);
    file.close();
    for (auto [name, data] : {std::pair{"RvDataSetConnection1", Records.get()}, {"RvDataSetConnection2", Settings.get()}}) {
      auto* connection = new TRvDataSetConnection(&Owner);
      connection->SetName(QString::fromLatin1(name));
      connection->SetDataSet(data);
    }
    Project->SetEngine(System);
    Project->SetProjectFile(file.fileName());
  }
};

// Answers the setup dialog once with Destination (and File), keeping what it was asked.
class TScriptedSetup {
public:
  TScriptedSetup(TReportDestination Destination, const String& File = {}, bool Accept = true)
      : FPrevious(TReportSetupDialogs::SetAnswer([=, this](TReportSetupRequest& Request) {
          Asked = Request;
          ++Count;
          Request.Destination = Destination;
          Request.FileName = File;
          return Accept;
        })) {}
  ~TScriptedSetup() { TReportSetupDialogs::SetAnswer(FPrevious); }
  TReportSetupRequest Asked;
  int Count = 0;
private:
  TReportSetupAnswer FPrevious;
};

}  // namespace

TEST(RaveTemplate, ReadsComponentsByKindWithTheirProperties) {
  const auto reports = ParseRaveTemplate(U(SmallTemplate), QStringLiteral("People.RAV"));
  ASSERT_EQ(reports.size(), 1u);
  const TRaveReport& report = *reports.front();
  auto* page = dynamic_cast<TRavePage*>(report.FindDescendant(QStringLiteral("Page1")));
  ASSERT_NE(page, nullptr);
  EXPECT_DOUBLE_EQ(page->PageWidth(), 4);
  EXPECT_DOUBLE_EQ(page->PageHeight(), 3);
  auto* title = dynamic_cast<TRaveText*>(report.FindDescendant(QStringLiteral("pagetitle")));
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->Text(), U("人员名单"));
  EXPECT_EQ(title->Font().Size, 12);
  EXPECT_EQ(title->Alignment(), TRaveAlignment::Center);
  EXPECT_EQ(title->Parent(), page);
  auto* band = dynamic_cast<TRaveDataBand*>(report.FindDescendant(QStringLiteral("DataBand1")));
  ASSERT_NE(band, nullptr);
  EXPECT_EQ(band->DataView(), QStringLiteral("RvDataSetConnection1"));
  EXPECT_EQ(band->Parent()->Name(), QStringLiteral("Region1"));
  auto* company = dynamic_cast<TRaveDataText*>(report.FindDescendant(QStringLiteral("CompanyText")));
  ASSERT_NE(company, nullptr);
  EXPECT_EQ(company->DataView(), QStringLiteral("RvDataSetConnection2"));
  EXPECT_EQ(company->DataField(), QStringLiteral("Company"));
  EXPECT_EQ(company->Parent(), band);
  auto* frame = dynamic_cast<TRaveRectangle*>(report.FindDescendant(QStringLiteral("Frame")));
  ASSERT_NE(frame, nullptr);
  EXPECT_DOUBLE_EQ(frame->Width(), 3.6);
  EXPECT_TRUE(frame->Visible());
}

TEST(RaveTemplate, RefusesWhatIsNotATemplateNamingFileAndLine) {
  struct Case { const char* text; const char* message; };
  for (const Case& c : std::initializer_list<Case>{
         {"", "第 1 行有误：没有报表"},
         {"Report R\n  Page P PageWidth=4,5", "第 2 行有误：长度“4,5”无效"},
         {"Report R\n  Page P\n    Region G\n      Text T Left=0", "第 4 行有误：Text “T”放的位置不对"},
         {"Report R\n  Page P\n    Text T Colour=red", "第 3 行有误：Text 没有属性“Colour”"},
         {"Report R\n  Page P\n    Text T Text=\"open", "第 3 行有误：引号没有结束"},
         {"Report R\n  Page P\n    Chart C", "第 3 行有误：未知的部件类型“Chart”"},
         {"Report R\n  Page P\n    Text T\n    Text t", "第 4 行有误：部件名称“t”重复"},
         {"Report R\n  Page P\n    Text T Alignment=Middle", "第 3 行有误：对齐方式“Middle”无效"},
         {"Report R\n  Page P\n    Text T Visible=yes", "第 3 行有误：“yes”应为 0 或 1"},
         {"Report R\n  Page P PageWidth=nan", "第 2 行有误：长度“nan”无效"},
         {"Report R\n  Page P PageHeight=inf", "第 2 行有误：长度“inf”无效"},
         {"Report R\n  Page P\n    Text T Left=1e300", "第 3 行有误：长度“1e300”无效"},
         {"Report R\n  Page P\n    Text T Width=1001", "第 3 行有误：长度“1001”无效"},
         {"Report R\n  Page P\n    Text T FontSize=100000", "第 3 行有误：字号“100000”无效"},
       }) {
    try {
      ParseRaveTemplate(U(c.text), QStringLiteral("Bad.RAV"));
      ADD_FAILURE() << c.text;
    } catch (const ERaveError& e) {
      EXPECT_EQ(e.Message(), U("报表模板“Bad.RAV”") + U(c.message)) << c.text;
    }
  }
}

// The duplicate-name check looks each name up once, so a large template reads in time in
// proportion to its size.
TEST(RaveTemplate, ManyComponentsReadInLinearTime) {
  String text = QStringLiteral("Report R\n  Page P PageWidth=1000 PageHeight=0.001\n");
  for (int i = 0; i < 40000; ++i) text += QStringLiteral("    Text T%1 Left=999.5\n").arg(i);
  QElapsedTimer timer;
  timer.start();
  const auto reports = ParseRaveTemplate(text, QStringLiteral("Big.RAV"));
  EXPECT_LT(timer.elapsed(), 5000);
  EXPECT_EQ(reports.front()->FindDescendant(QStringLiteral("P"))->Children().size(), 40000u);
  try {
    ParseRaveTemplate(text + QStringLiteral("    Text t39999\n"), QStringLiteral("Big.RAV"));
    ADD_FAILURE();
  } catch (const ERaveError& e) {
    EXPECT_EQ(e.Message(), U("报表模板“Big.RAV”第 40003 行有误：部件名称“t39999”重复"));
  }
}

TEST(RaveTemplate, AMissingOrForeignFileIsReportedByName) {
  moli::testing::ScratchDir dir;
  const String missing = dir.File(QStringLiteral("GZBill.RAV"));
  try {
    ReadRaveTemplate(missing);
    ADD_FAILURE();
  } catch (const ERaveError& e) {
    EXPECT_EQ(e.Message(), U("找不到报表模板“GZBill.RAV”"));
  }
  QFile binary(dir.File(QStringLiteral("GZTiao.RAV")));
  ASSERT_TRUE(binary.open(QIODevice::WriteOnly));
  binary.write(QByteArray("\xff\xfe\x00\x01", 4));
  binary.close();
  EXPECT_THROW(ReadRaveTemplate(binary.fileName()), ERaveError);
}

TEST(RvProject, FindsPagesByQualifiedNameAndComponentsUnderTheirPage) {
  TProjectFixture f(1);
  TRvProjectManager* manager = f.Project->ProjectManager();
  EXPECT_EQ(manager->FindRaveComponent(QStringLiteral("Report1.Page1"), nullptr), nullptr) << "not loaded yet";
  f.Project->SetActive(true);
  TRaveComponent* page = manager->FindRaveComponent(QStringLiteral("Report1.Page1"), nullptr);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->Kind(), TRaveKind::Page);
  struct Case { const char* name; bool underPage; const char* found; };
  for (const Case& c : std::initializer_list<Case>{{"NameText", true, "NameText"},
                                                   {"Region1", true, "Region1"},
                                                   {"NameText", false, nullptr},
                                                   {"Report1.Page2", false, nullptr},
                                                   {"Report1.Page1", true, nullptr},
                                                   {"Missing", true, nullptr},
                                                   {"Report1.Page1.NameText", false, nullptr}}) {
    TRaveComponent* found = manager->FindRaveComponent(QString::fromLatin1(c.name), c.underPage ? page : nullptr);
    EXPECT_EQ(found ? found->Name() : QString(), QString::fromLatin1(c.found)) << c.name << " " << c.underPage;
  }
  f.Project->SetActive(false);
  EXPECT_EQ(manager->FindRaveComponent(QStringLiteral("Report1.Page1"), nullptr), nullptr);
}

TEST(RaveRender, BandsFollowTheRowsAndBreakPagesAtTheRegionsBottom) {
  TProjectFixture f(5);
  f.Project->SetActive(true);
  auto* page = static_cast<TRavePage*>(f.Project->ProjectManager()->FindRaveComponent(QStringLiteral("Report1.Page1"), nullptr));
  // The cursor comes back to the row it was on.
  f.Records->First();
  f.Records->Next();
  std::vector<Integer> started;
  const auto lookup = [&](const String& Name) -> TDataSet* {
    return Name == u"RvDataSetConnection1" ? f.Records.get() : Name == u"RvDataSetConnection2" ? f.Settings.get() : nullptr;
  };
  const auto pages = RenderRavePage(*page, lookup, [&](Integer Page) { started.push_back(Page); });
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_EQ(started, (std::vector<Integer>{1, 2, 3}));
  EXPECT_EQ(f.Records->RecNo(), 2);
  EXPECT_EQ(pages[0]->Width(), 4 * RaveRecordingResolution);
  EXPECT_EQ(pages[0]->Height(), 3 * RaveRecordingResolution);
  const QStringList expectedFirst{U("人员名单"), U("姓名"), U("员工1"), QStringLiteral("1000.50"), U("墨鲤科技"),
                                  U("姓名"), U("员工2"), QStringLiteral("2001.00"), U("墨鲤科技")};
  EXPECT_EQ(pages[0]->Texts(), expectedFirst);
  EXPECT_EQ(pages[2]->Texts(), (QStringList{U("人员名单"), U("姓名"), U("员工5"), QStringLiteral("5002.50"), U("墨鲤科技")}));

  // A filter narrows the rows; a blank data field prints nothing; no rows: one page with the page's own items.
  f.Records->SetFilter(QStringLiteral("Name='员工3'"));
  f.Records->SetFiltered(true);
  static_cast<TRaveDataText*>(page->FindDescendant(QStringLiteral("PayText")))->SetDataField(QStringLiteral(" "));
  EXPECT_EQ(RenderRavePage(*page, lookup).front()->Texts(),
            (QStringList{U("人员名单"), U("姓名"), U("员工3"), U("墨鲤科技")}));
  f.Records->SetFilter(QStringLiteral("Name='nobody'"));
  const auto empty = RenderRavePage(*page, lookup);
  ASSERT_EQ(empty.size(), 1u);
  EXPECT_EQ(empty.front()->Texts(), QStringList{U("人员名单")});
}

TEST(RaveRender, AnUnknownFieldOrConnectionIsReported) {
  TProjectFixture f(2);
  f.Project->SetActive(true);
  auto* page = static_cast<TRavePage*>(f.Project->ProjectManager()->FindRaveComponent(QStringLiteral("Report1.Page1"), nullptr));
  const auto onlyRecords = [&](const String& Name) -> TDataSet* {
    return Name == u"RvDataSetConnection1" ? f.Records.get() : nullptr;
  };
  try {
    RenderRavePage(*page, onlyRecords);
    ADD_FAILURE();
  } catch (const ERaveError& e) {
    EXPECT_EQ(e.Message(), U("报表没有数据连接“RvDataSetConnection2”"));
  }
  static_cast<TRaveDataText*>(page->FindDescendant(QStringLiteral("CompanyText")))->SetDataField(QStringLiteral(" "));
  static_cast<TRaveDataText*>(page->FindDescendant(QStringLiteral("NameText")))->SetDataField(QStringLiteral("Nmae"));
  try {
    RenderRavePage(*page, onlyRecords);
    ADD_FAILURE();
  } catch (const ERaveError& e) {
    EXPECT_EQ(e.Message(), U("数据连接“RvDataSetConnection1”没有字段“Nmae”"));
  }
}

TEST(RvProject, ExecuteWritesTheChosenPdfFileWithTheStatusWindowFollowingThePages) {
  TProjectFixture f(5);
  const String pdf = f.Dir.File(QStringLiteral("people.pdf"));
  f.System->OutputFileName = QStringLiteral("proposed.pdf");
  TScriptedSetup setup(rdFile, pdf);
  ASSERT_TRUE(f.Project->Execute());
  EXPECT_EQ(setup.Asked.Title, U("打印设置"));
  EXPECT_EQ(setup.Asked.Destination, rdPreview);
  EXPECT_EQ(setup.Asked.FileName, QStringLiteral("proposed.pdf"));
  EXPECT_EQ(f.System->StatusForm()->Caption(), U("状态"));
  EXPECT_EQ(f.System->StatusForm()->lblStatus->Caption(), QStringLiteral("Generating page 3"));
  EXPECT_FALSE(f.System->StatusForm()->Visible());

  const QString info = RunTool(QStringLiteral("pdfinfo"), {pdf});
  EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+3\\b")))) << info.toStdString();
  EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Page size:\\s+288 x 216 pts")))) << info.toStdString();
  EXPECT_TRUE(info.contains(QStringLiteral("ReportPrinter Report"))) << info.toStdString();
  const QString text = RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  for (const char* expected : {"人员名单", "员工1", "1000.50", "员工5", "5002.50", "墨鲤科技"})
    EXPECT_TRUE(text.contains(U(expected))) << expected << "\n" << text.toStdString();
  EXPECT_TRUE(text.contains(QRegularExpression(U("姓名\\s+员工2\\s+2001.00")))) << text.toStdString();
}

TEST(RvProject, ACancelledSetupOrAMissingTemplatePrintsNothing) {
  TProjectFixture f(1);
  TScriptedSetup cancel(rdFile, f.Dir.File(QStringLiteral("out.pdf")), false);
  EXPECT_FALSE(f.Project->Execute());
  EXPECT_FALSE(QFile::exists(f.Dir.File(QStringLiteral("out.pdf"))));

  f.Project->SetActive(false);
  f.Project->SetProjectFile(f.Dir.File(QStringLiteral("GZBill.RAV")));
  EXPECT_THROW(f.Project->SetActive(true), ERaveError);
  EXPECT_FALSE(f.Project->Active());
  EXPECT_THROW(f.Project->Execute(), ERaveError);
  EXPECT_EQ(cancel.Count, 1) << "no setup dialog without a template";
}

TEST(RvProject, ThePreviewShowsThePagesAndPrintsTheChosenOnes) {
  TProjectFixture f(5);
  f.System->SystemPrinter().Orientation = poLandscape;
  {
    TScriptedSetup setup(rdPreview);
    ASSERT_TRUE(f.Project->Execute());
  }
  TRvPreviewForm* preview = f.System->PreviewForm();
  EXPECT_TRUE(preview->Visible());
  EXPECT_EQ(preview->Caption(), U("打印预览"));
  EXPECT_EQ(preview->PageCount(), 3);
  EXPECT_EQ(preview->lblPage->Caption(), U("第 1 页，共 3 页"));
  EXPECT_FALSE(preview->btnPrior->Enabled());
  preview->btnNext->Click();
  preview->btnNext->Click();
  EXPECT_EQ(preview->PageIndex(), 3);
  EXPECT_FALSE(preview->btnNext->Enabled());
  preview->Repaint();

  const String pdf = f.Dir.File(QStringLiteral("pages.pdf"));
  TPrinter printer;
  TPrinter* before = SetPrinter(&printer);
  const auto previous = TPrintDialogs::SetAnswer([&](TPrintDialogRequest& R) {
    EXPECT_EQ(std::tie(R.MinPage, R.MaxPage), std::make_tuple(1, 3));
    R.PrinterIndex = R.PdfPrinterIndex;
    R.FileName = pdf;
    R.PrintRange = prPageNums;
    R.FromPage = 2;
    R.ToPage = 3;
    return true;
  });
  preview->btnPrint->Click();
  TPrintDialogs::SetAnswer(previous);
  SetPrinter(before);
  const QString info = RunTool(QStringLiteral("pdfinfo"), {pdf});
  EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\b")))) << info.toStdString();
  // Landscape paper turned to show the 4 by 3 inch pages as made.
  EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Page size:\\s+288 x 216 pts")))) << info.toStdString();
  const QString text = RunTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
  EXPECT_FALSE(text.contains(U("员工1")));
  EXPECT_TRUE(text.contains(U("员工3")) && text.contains(U("员工5"))) << text.toStdString();
  preview->btnClose->Click();
  EXPECT_FALSE(preview->Visible());
}
