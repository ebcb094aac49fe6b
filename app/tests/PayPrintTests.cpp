// Pay sheets, pay strips and receipt slips from the main window over a real payroll
// database, printed to PDF files that poppler's tools read back.
#include "app/PayBillLayout.h"
#include "app/tests/MessageRecorder.h"
#include "app/tests/ModalDriver.h"
#include "app/tests/TestDataModule.h"
#include "app/uMain.h"
#include "app/uPosPrint.h"
#include "platform/print/Printers.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/Encodings.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/RichEdit.h"
#include "platform/ui/StdCtrls.h"
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <array>
#include <cmath>
#include <gtest/gtest.h>

namespace {

String U(const char* Text) { return QString::fromUtf8(Text); }

QString RunTool(const QString& Program, const QStringList& Args) {
  QProcess process;
  process.start(Program, Args);
  EXPECT_TRUE(process.waitForFinished(60000)) << Program.toStdString();
  return QString::fromUtf8(process.readAllStandardOutput());
}

QString PdfText(const QString& File) {
  return RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), File, QStringLiteral("-")});
}

// Keeps a copy of File in the folder MOLI_ARTIFACTS names, when it is set.
void KeepArtifact(const QString& File, const QString& Name) {
  const QString folder = qEnvironmentVariable("MOLI_ARTIFACTS");
  if (folder.isEmpty()) return;
  QDir().mkpath(folder);
  QFile::remove(QDir(folder).filePath(Name));
  EXPECT_TRUE(QFile::copy(File, QDir(folder).filePath(Name))) << Name.toStdString();
}

// Answers the report's setup dialog: to File, or cancelled when File is empty.
class TSetupAnswer {
public:
  explicit TSetupAnswer(const String& File)
      : FPrevious(TReportSetupDialogs::SetAnswer([this, File](TReportSetupRequest& Request) {
          ++Asked;
          Request.Destination = rdFile;
          Request.FileName = File;
          return !File.isEmpty();
        })) {}
  ~TSetupAnswer() { TReportSetupDialogs::SetAnswer(FPrevious); }
  int Asked = 0;
private:
  TReportSetupAnswer FPrevious;
};

class PayPrintTest : public ::testing::Test {
protected:
  void SetUp() override {
    TClock::SetCurrent(&Clock);
    const QDir source(moli::testing::SourceDir() + QStringLiteral("/resources/RPT"));
    QDir().mkpath(Module.Folder().File(QStringLiteral("RPT")));
    for (const QString& name : source.entryList({QStringLiteral("*.RAV")}, QDir::Files))
      ASSERT_TRUE(QFile::copy(source.filePath(name), Module.Folder().File(QStringLiteral("RPT/") + name)));
    Exec(QStringLiteral("update TPara set EntName='墨鲤科技', PageWidth=241, Paragraph=0, NameOnTitle=1"));
  }
  void TearDown() override {
    TClock::SetCurrent(nullptr);
    EXPECT_EQ(Dialogs.Unexpected(), 0);
  }
  void Exec(const String& Sql) { DM->ADOLocal->ExecuteSql(Sql); }
  String Query(const String& Sql) { return DM->GetDataBySQL(Sql); }
  void AddMonth(const String& Month) {
    Exec(QStringLiteral("insert into TGZMonth (GZMonth) values (%1)").arg(QuotedStr(Month)));
  }
  // Visible items: earnings GZ1..GZn captioned by Earnings, deductions KK1..KKn by Deductions.
  void AddItems(const String& Month, const QStringList& Earnings, const QStringList& Deductions) {
    const auto add = [&](const QStringList& Names, const char* Prefix, int Type) {
      for (int n = 1; n <= Names.size(); ++n)
        Exec(QStringLiteral("insert into TGZSet (GZMonth, GZField1, GZName, GZType, SortIdx, ShowStu, CalcStr) "
                            "values (%1, '%2%3', %4, %5, %3, 0, ' ')")
                 .arg(QuotedStr(Month), QLatin1String(Prefix)).arg(n).arg(QuotedStr(Names[n - 1])).arg(Type));
    };
    add(Earnings, "GZ", 0);
    add(Deductions, "KK", 1);
  }
  QStringList Captions(const char* Stem, int Count) {
    QStringList names;
    for (int n = 1; n <= Count; ++n) names << U(Stem) + QString::number(n);
    return names;
  }
  // A record whose earning n is Base·n and deduction n is n; totals to match.
  void AddRecord(const String& Month, const char* Depart, const char* Name, int Base, int Earnings, int Deductions) {
    QStringList columns{QStringLiteral("GZMonth"), QStringLiteral("DepartName"), QStringLiteral("EmpName"),
                        QStringLiteral("EmpCode"), QStringLiteral("ZWName")};
    QStringList values{QuotedStr(Month), QuotedStr(U(Depart)), QuotedStr(U(Name)), QuotedStr(QStringLiteral("E") + QString::number(Base)),
                       QStringLiteral("' '")};
    double earned = 0, deducted = 0;
    for (int n = 1; n <= Earnings; ++n) {
      columns << QStringLiteral("GZ%1").arg(n);
      values << QString::number(Base * n);
      earned += Base * n;
    }
    for (int n = 1; n <= Deductions; ++n) {
      columns << QStringLiteral("KK%1").arg(n);
      values << QString::number(n);
      deducted += n;
    }
    columns << QStringLiteral("YFTotal") << QStringLiteral("KKTotal") << QStringLiteral("GZTotal");
    values << QString::number(earned) << QString::number(deducted) << QString::number(earned - deducted);
    Exec(QStringLiteral("insert into TGZ (%1) values (%2)").arg(columns.join(u','), values.join(u',')));
  }
  std::unique_ptr<TfrmMainGZT> OpenWindow() {
    auto window = std::make_unique<TfrmMainGZT>(nullptr);
    window->EndProcess = [] {};
    return window;
  }
  // A window that printed the pay strip of its month to Pdf.
  std::unique_ptr<TfrmMainGZT> StripPrinted(const String& Pdf) {
    auto window = OpenWindow();
    TSetupAnswer setup(Pdf);
    window->N38Click(nullptr);
    EXPECT_EQ(setup.Asked, 1);
    return window;
  }
  template <class TKind>
  TKind* Component(TfrmMainGZT& Window, const char* Name) {
    TRvProjectManager* manager = Window.RvProject1->ProjectManager();
    TRaveComponent* page = manager->FindRaveComponent(QStringLiteral("Report1.Page1"), nullptr);
    return page ? dynamic_cast<TKind*>(manager->FindRaveComponent(QString::fromLatin1(Name), page)) : nullptr;
  }
  String Template(TfrmMainGZT& Window) { return QFileInfo(Window.RvProject1->ProjectFile()).fileName(); }
  String File(const char* Name) { return Module.Folder().File(QString::fromLatin1(Name)); }

  TMessageRecorder Messages;
  TScriptedDialogs Dialogs;
  TManualClock Clock{45306.5};
  TTestDataModule Module;
};

}  // namespace

TEST(PayBillLayout, TemplateAndSlotsFollowTheAttendanceModeAndTheItemCounts) {
  struct Case { const char* printDays; Integer k, g; const char* name; bool movable; double w, v; };
  for (const Case& c : std::initializer_list<Case>{
         {"0", 0, 3, "GZBillNoKK.RAV", true, 2.0, 3.0},
         {"0", 0, 0, "GZBillNoKK.RAV", true, 6.0, 3.0},
         {"0", 0, 12, "GZBillNoKK.RAV", false, 0.5, 3.0},
         {"0", 1, 10, "GZBill.RAV", true, 0.6, 3.0},
         {"0", 5, 10, "GZBill.RAV", true, 0.6, 0.6},
         {"0", 2, 0, "GZBill.RAV", true, 6.0, 1.5},
         {"0", 5, 11, "GZBill20_5.RAV", false, 6.0 / 11, 0.6},
         {"0", 6, 10, "GZBill10_10.RAV", false, 0.6, 0.5},
         {"0", 10, 11, "GZBill20_10.RAV", false, 6.0 / 11, 0.3},
         {"0", 11, 1, "GZBill30_15.RAV", false, 6.0, 3.0 / 11},
         {"1", 5, 10, "GZBillWithDay.RAV", true, 0.6, 0.6},
         {"1", 0, 0, "GZBillWithDay.RAV", true, 6.0, 3.0},
         {"1", 6, 2, "GZBillWithDay20_10.RAV", false, 3.0, 0.5},
         {"1", 1, 11, "GZBillWithDay20_10.RAV", false, 6.0 / 11, 3.0},
         {"2", 8, 5, "GZBillWithHour.RAV", false, 1.2, 0.375},
         {"2", 1, 1, "GZBillWithHour.RAV", true, 6.0, 3.0},
         {"3", 9, 20, "GZBillWithDay.RAV", false, 0.3, 3.0 / 9},
         {"", 1, 1, "GZBillWithDay.RAV", true, 6.0, 3.0},
       }) {
    EXPECT_EQ(PayBillTemplateName(QString::fromLatin1(c.printDays), c.k, c.g), QString::fromLatin1(c.name))
        << c.printDays << " K=" << c.k << " G=" << c.g;
    const TPayBillLayout layout = PayBillLayout(c.k, c.g);
    EXPECT_EQ(layout.Movable, c.movable) << c.k << " " << c.g;
    EXPECT_DOUBLE_EQ(layout.EarningsWidth, c.w) << c.g;
    EXPECT_DOUBLE_EQ(layout.DeductionsWidth, c.v) << c.k;
  }
}

TEST_F(PayPrintTest, APaySheetShowsEachEmployeesItemsAndTotalsUnderTheirCaptions) {
  AddMonth(QStringLiteral("202401"));
  QStringList earnings = Captions("收入", 7);
  earnings << U("岗位津贴补");  // 10 bytes: printed smaller
  AddItems(QStringLiteral("202401"), earnings, {U("养老保险"), U("医疗保险"), U("公积金")});
  AddRecord(QStringLiteral("202401"), "销售部", "张三", 100, 8, 3);
  AddRecord(QStringLiteral("202401"), "生产部", "李四", 200, 8, 3);
  auto window = OpenWindow();
  const String pdf = File("paysheet.pdf");
  TSetupAnswer setup(pdf);
  window->N7Click(nullptr);
  ASSERT_EQ(setup.Asked, 1) << Messages.Messages().join(u'\n').toStdString();
  EXPECT_EQ(Template(*window), QStringLiteral("GZBill.RAV"));

  // Movable layout: eight earnings share 6 in, three deductions 3 in.
  auto* caption1 = Component<TRaveText>(*window, "TextA1");
  ASSERT_NE(caption1, nullptr);
  EXPECT_EQ(caption1->Text(), U("收入1"));
  EXPECT_DOUBLE_EQ(caption1->Left(), 0.7 + (0.75 - 0.6) / 2);
  EXPECT_EQ(caption1->Font().Size, 9);
  EXPECT_EQ(Component<TRaveText>(*window, "TextA8")->Font().Size, 8);
  EXPECT_EQ(Component<TRaveText>(*window, "TextC1")->Font().Size, 9) << "养老保险 is 8 bytes";
  EXPECT_DOUBLE_EQ(Component<TRaveDataText>(*window, "DataTextA2")->Left(), 0.7 + 2 * 0.75 - 0.6);
  EXPECT_DOUBLE_EQ(Component<TRaveRectangle>(*window, "RectangleB3")->Left(), 0.7 + 2 * 0.75);
  EXPECT_DOUBLE_EQ(Component<TRaveRectangle>(*window, "RectangleB3")->Width(), 0.75);
  EXPECT_EQ(Component<TRaveText>(*window, "TextA9")->Text(), QStringLiteral(" "));
  EXPECT_FALSE(Component<TRaveRectangle>(*window, "RectangleA9")->Visible());
  EXPECT_DOUBLE_EQ(Component<TRaveText>(*window, "TextC1")->Left(), 0.7 + (1.0 - 0.6) / 2);
  EXPECT_EQ(Component<TRaveDataText>(*window, "DataTextC3")->DataField(), QStringLiteral("KK3"));
  EXPECT_FALSE(Component<TRaveRectangle>(*window, "RectangleD4")->Visible());
  // Page from the settings: 241 mm wide, 296.78 mm high, the region 0.2 in down and centred.
  auto* page = dynamic_cast<TRavePage*>(window->RvProject1->ProjectManager()->FindRaveComponent(QStringLiteral("Report1.Page1"), nullptr));
  EXPECT_DOUBLE_EQ(page->PageWidth(), 241 / 25.4);
  EXPECT_NEAR(page->PageHeight(), 11.693132, 1e-9);
  auto* region = Component<TRaveRegion>(*window, "Region1");
  EXPECT_DOUBLE_EQ(region->Top(), 0.2);
  EXPECT_NEAR(region->Height(), 11.693132 - 0.2, 1e-9);
  EXPECT_DOUBLE_EQ(region->Left(), (241 / 25.4 - region->Width()) / 2);

  const QString info = RunTool(QStringLiteral("pdfinfo"), {pdf});
  EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Page size:\\s+68[34](\\.\\d+)? x 84[12](\\.\\d+)? pts")))) << info.toStdString();
  const QString text = PdfText(pdf);
  EXPECT_TRUE(text.contains(QRegularExpression(U("墨鲤科技工资单\\s+-\\s+销售部\\s+张三")))) << text.toStdString();
  EXPECT_TRUE(text.contains(QRegularExpression(U("序号\\s+收入1\\s+收入2.*收入7\\s+岗位津贴补\\s+应发合计")))) << text.toStdString();
  EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("2\\s+100.00\\s+200.00\\s+300.00.*800.00\\s+3600.00")))) << text.toStdString();
  EXPECT_TRUE(text.contains(QRegularExpression(U("姓名\\s+养老保险\\s+医疗保险\\s+公积金\\s+扣款合计\\s+实发工资")))) << text.toStdString();
  EXPECT_TRUE(text.contains(QRegularExpression(U("李四\\s+1.00\\s+2.00\\s+3.00\\s+6.00\\s+7194.00")))) << text.toStdString();
  // Each amount sits in its caption's slot (0.75 in = 54 pt wide), just below it (the first block is 李四's).
  const QString boxes = RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
  const auto box = [&](const String& Word) {
    const QRegularExpressionMatch m = QRegularExpression(
        QStringLiteral("xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"[\\d.]+\">") +
        QRegularExpression::escape(Word) + QStringLiteral("<")).match(boxes);
    EXPECT_TRUE(m.hasMatch()) << Word.toStdString();
    return std::array<double, 3>{m.captured(1).toDouble(), m.captured(3).toDouble(), m.captured(2).toDouble()};
  };
  for (const auto& [caption, amount] : {std::pair{"收入3", "600.00"}, {"岗位津贴补", "1600.00"}, {"公积金", "3.00"}}) {
    const auto c = box(U(caption)), a = box(QString::fromLatin1(amount));
    EXPECT_LT(std::abs((a[0] + a[1]) / 2 - (c[0] + c[1]) / 2), 27.0) << caption;
    EXPECT_GT(a[2], c[2]) << caption;
    EXPECT_LT(a[2] - c[2], 40.0) << caption;
  }
  KeepArtifact(pdf, QStringLiteral("paysheet.pdf"));
}

TEST_F(PayPrintTest, TheTemplateAndItsSlotsFollowTheMonthsItemsAndTheSettings) {
  struct Case { const char* printDays; int g, k, showXH; const char* name; bool placed; const char* text2; const char* text6; };
  for (const Case& c : std::initializer_list<Case>{
         {"0", 10, 5, 1, "GZBill.RAV", true, "序号", nullptr},
         {"0", 11, 5, 0, "GZBill20_5.RAV", false, " ", nullptr},
         {"0", 3, 0, 2, "GZBillNoKK.RAV", true, "职员编码", nullptr},
         {"0", 0, 2, 1, "GZBill.RAV", true, "序号", nullptr},
         {"2", 5, 8, 1, "GZBillWithHour.RAV", false, "序号", "工资/小时"},
         {"1", 2, 1, 1, "GZBillWithDay.RAV", true, "序号", "工资标准"},
       }) {
    SCOPED_TRACE(c.name);
    Exec(QStringLiteral("delete from TGZSet where GZMonth='202402'"));
    Exec(QStringLiteral("delete from TGZMonth"));
    AddMonth(QStringLiteral("202402"));
    AddItems(QStringLiteral("202402"), Captions("收入", c.g), Captions("扣款", c.k));
    Exec(QStringLiteral("update TPara set PrintDays=%1, ShowXH=%2").arg(QLatin1String(c.printDays)).arg(c.showXH));
    DM->dsPara->Close();  // the window loads the settings afresh
    auto window = OpenWindow();
    TSetupAnswer cancel({});
    window->N7Click(nullptr);
    EXPECT_EQ(cancel.Asked, 1);
    EXPECT_EQ(Template(*window), QString::fromLatin1(c.name));
    const TPayBillLayout layout = PayBillLayout(c.k, c.g);
    // A placed slot spans its share of the width; a fixed one keeps the template's 0.6 in.
    auto* first = Component<TRaveRectangle>(*window, "RectangleA1");
    ASSERT_NE(first, nullptr);
    EXPECT_DOUBLE_EQ(first->Width(), c.placed && c.g > 0 ? layout.EarningsWidth : 0.6);
    EXPECT_EQ(first->Visible(), c.g > 0 || !c.placed);
    EXPECT_EQ(Component<TRaveText>(*window, "TextA1")->Text(), c.g > 0 ? U("收入1") : QStringLiteral(" "));
    if (c.k > 0) {
      EXPECT_EQ(Component<TRaveDataText>(*window, "DataTextC1")->DataField(), QStringLiteral("KK1"));
    }
    EXPECT_EQ(Component<TRaveText>(*window, "Text2")->Text(), U(c.text2));
    if (c.text6) {
      EXPECT_EQ(Component<TRaveText>(*window, "Text6")->Text(), U(c.text6));
    }
    for (int n = 1; c.g == 0 && n <= 10; ++n) {
      EXPECT_FALSE(Component<TRaveRectangle>(*window, QStringLiteral("RectangleB%1").arg(n).toLatin1().constData())->Visible());
    }
  }
}

TEST_F(PayPrintTest, AMonthWithoutItemsOrRecordsPrintsWithTheBaseItemsOnDefaultPages) {
  AddMonth(QStringLiteral("202403"));
  Exec(QStringLiteral("update TPara set BillHeight=NULL, TopPos=5"));
  DM->dsPara->Close();
  auto window = OpenWindow();  // makes the default items
  Exec(QStringLiteral("update TGZSet set ShowStu=0, GZName='底薪' where GZMonth='BASE' and GZField1='GZ1'"));
  Exec(QStringLiteral("update TGZSet set ShowStu=0, GZName='社保' where GZMonth='BASE' and GZField1='KK1'"));
  TSetupAnswer cancel({});
  window->N7Click(nullptr);
  EXPECT_EQ(Template(*window), QStringLiteral("GZBill.RAV"));
  EXPECT_EQ(Component<TRaveText>(*window, "TextA1")->Text(), U("底薪"));
  EXPECT_EQ(Component<TRaveDataText>(*window, "DataTextA1")->DataField(), QStringLiteral("GZ1"));
  EXPECT_EQ(Component<TRaveText>(*window, "TextC1")->Text(), U("社保"));
  EXPECT_DOUBLE_EQ(Component<TRaveRectangle>(*window, "RectangleA1")->Width(), 6.0);
  auto* page = dynamic_cast<TRavePage*>(window->RvProject1->ProjectManager()->FindRaveComponent(QStringLiteral("Report1.Page1"), nullptr));
  EXPECT_NEAR(page->PageHeight(), 11.693132, 1e-9);
  EXPECT_DOUBLE_EQ(Component<TRaveRegion>(*window, "Region1")->Top(), 0.5);

  // Selected rows of an empty month: nothing is marked and the report still runs.
  TSetupAnswer again({});
  window->N8Click(nullptr);
  EXPECT_EQ(again.Asked, 1);
  EXPECT_FALSE(window->dsGZDetail->Filtered());

  // No records: an empty slip file and an empty slip window.
  String shown = QStringLiteral("(not shown)");
  WhenModal<TfrmPosPrint>([&](TfrmPosPrint* Form) {
    shown = Form->RichEdit1->Text();
    Form->Button5->Click();
  });
  window->MenuItem3Click(nullptr);
  EXPECT_EQ(shown, String());
  EXPECT_EQ(QFileInfo(File("tmp.Txt")).size(), 0);
}

TEST_F(PayPrintTest, AMissingTemplateIsReportedByNameAndNothingRuns) {
  AddMonth(QStringLiteral("202401"));
  AddItems(QStringLiteral("202401"), Captions("收入", 2), Captions("扣款", 1));
  ASSERT_TRUE(QFile::remove(File("RPT/GZBill.RAV")));
  auto window = OpenWindow();
  TSetupAnswer setup(File("never.pdf"));
  window->N7Click(nullptr);
  EXPECT_EQ(Messages.Messages(), QStringList{U("找不到报表模板“GZBill.RAV”")});
  EXPECT_EQ(setup.Asked, 0);
  EXPECT_FALSE(QFile::exists(File("never.pdf")));
}

TEST_F(PayPrintTest, AStripShowsFifteenItemsWithEarningsFirst) {
  AddMonth(QStringLiteral("202401"));
  AddItems(QStringLiteral("202401"), Captions("收入", 12), Captions("扣款", 6));
  AddRecord(QStringLiteral("202401"), "销售部", "张三", 100, 12, 6);
  const String pdf = File("paystrip.pdf");
  auto window = StripPrinted(pdf);
  for (int n = 1; n <= 15; ++n) {
    const QByteArray name = QStringLiteral("TextA%1").arg(n).toLatin1();
    const String expected = n <= 12 ? U("收入") + QString::number(n) : U("扣款") + QString::number(n - 12);
    EXPECT_EQ(Component<TRaveText>(*window, name.constData())->Text(), expected);
  }
  EXPECT_EQ(Component<TRaveDataText>(*window, "DataTextA13")->DataField(), QStringLiteral("KK1"));
  EXPECT_DOUBLE_EQ(Component<TRaveText>(*window, "TextYFTitle")->Left(), Component<TRaveText>(*window, "TextA12")->Left() - 0.3);
  EXPECT_DOUBLE_EQ(Component<TRaveText>(*window, "TextYKTitle")->Left(), Component<TRaveText>(*window, "TextA13")->Left() + 0.2);
  EXPECT_EQ(Component<TRaveDataText>(*window, "DataTextYFTotal")->DataField(), QStringLiteral("GZTotal"));
  const QString text = PdfText(pdf);
  EXPECT_TRUE(text.contains(U("墨鲤科技工资单"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QRegularExpression(U("姓名\\s+收入1\\s+收入2.*收入12\\s+扣款1\\s+扣款2\\s+扣款3\\s+实发工资")))) << text.toStdString();
  EXPECT_TRUE(text.contains(QRegularExpression(U("张三\\s+100.00\\s+200.00.*1200.00\\s+1.00\\s+2.00\\s+3.00\\s+7779.00")))) << text.toStdString();
  EXPECT_FALSE(text.contains(U("扣款4")));
  KeepArtifact(pdf, QStringLiteral("paystrip.pdf"));
}

TEST_F(PayPrintTest, OnTheDefaultA4WidthEverySheetLiesInsideThePagesPrintableArea) {
  Exec(QStringLiteral("update TPara set PageWidth=210"));
  struct Case { int g, k; const char* name; };
  for (const Case& c : std::initializer_list<Case>{{8, 3, "GZBill.RAV"}, {12, 0, "GZBillNoKK.RAV"}, {20, 12, "GZBill30_15.RAV"}}) {
    SCOPED_TRACE(c.name);
    Exec(QStringLiteral("delete from TGZSet"));
    Exec(QStringLiteral("delete from TGZ"));
    Exec(QStringLiteral("delete from TGZMonth"));
    AddMonth(QStringLiteral("202412"));
    AddItems(QStringLiteral("202412"), Captions("收入", c.g), Captions("扣款", c.k));
    AddRecord(QStringLiteral("202412"), "销售部", "张三", 1000, c.g, c.k);
    DM->dsPara->Close();
    auto window = OpenWindow();
    const String pdf = File("a4.pdf");
    TSetupAnswer setup(pdf);
    window->N7Click(nullptr);
    ASSERT_EQ(setup.Asked, 1);
    EXPECT_EQ(Template(*window), QString::fromLatin1(c.name));
    const QString boxes = RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    const QRegularExpressionMatch page =
        QRegularExpression(QStringLiteral("<page width=\"([\\d.]+)\"")).match(boxes);
    ASSERT_TRUE(page.hasMatch());
    const double width = page.captured(1).toDouble();
    EXPECT_NEAR(width, 210 / 25.4 * 72, 1.0);
    // A printer cannot print the outer quarter inch; nothing of the sheet lies there.
    const double margin = 18;
    int words = 0;
    QRegularExpressionMatchIterator it =
        QRegularExpression(QStringLiteral("xMin=\"([\\d.]+)\" yMin=\"[\\d.]+\" xMax=\"([\\d.]+)\" yMax=\"[\\d.]+\">([^<]*)<"))
            .globalMatch(boxes);
    while (it.hasNext()) {
      const QRegularExpressionMatch word = it.next();
      ++words;
      EXPECT_GE(word.captured(1).toDouble(), margin) << word.captured(3).toStdString();
      EXPECT_LE(word.captured(2).toDouble(), width - margin) << word.captured(3).toStdString();
    }
    EXPECT_GT(words, 10);
    if (c.k == 3) KeepArtifact(pdf, QStringLiteral("paysheet-a4.pdf"));
  }
}

TEST_F(PayPrintTest, AShortStripPrintsNoEmptyCellsAndCentresItsCaptionsInTheirCells) {
  AddMonth(QStringLiteral("202401"));
  QStringList earnings = Captions("收入", 4);
  earnings << U("住房公积金");  // 10 bytes: printed smaller
  AddItems(QStringLiteral("202401"), earnings, Captions("扣款", 2));
  AddRecord(QStringLiteral("202401"), "销售部", "张三", 100, 5, 2);
  const String pdf = File("shortstrip.pdf");
  auto window = StripPrinted(pdf);
  for (int n = 1; n <= 15; ++n) {
    const bool used = n <= 7;
    for (const char* frame : {"RectangleA%1", "RectangleB%1"})
      EXPECT_EQ(Component<TRaveRectangle>(*window, QString::fromLatin1(frame).arg(n).toLatin1().constData())->Visible(), used) << n;
  }
  // The earnings caption ends where the last earnings slot ends.
  auto* earningsTitle = Component<TRaveText>(*window, "TextYFTitle");
  auto* lastEarning = Component<TRaveText>(*window, "TextA5");
  EXPECT_NEAR(earningsTitle->Left() + earningsTitle->Width(), lastEarning->Left() + lastEarning->Width(), 1e-9);
  EXPECT_GT(Component<TRaveText>(*window, "TextYKTitle")->Left(), lastEarning->Left() + lastEarning->Width());

  const QString boxes = RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
  const auto middle = [&](const String& Word) {
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("yMin=\"([\\d.]+)\" xMax=\"[\\d.]+\" yMax=\"([\\d.]+)\">") +
                                                         QRegularExpression::escape(Word) + QStringLiteral("<"))
                                          .match(boxes);
    EXPECT_TRUE(m.hasMatch()) << Word.toStdString();
    return (m.captured(1).toDouble() + m.captured(2).toDouble()) / 2;
  };
  // The captions sit in the middle of their cells (the first band starts at the region's
  // top), the smaller one too.
  const double cellMiddle =
      (Component<TRaveRegion>(*window, "Region1")->Top() + lastEarning->Top() + lastEarning->Height() / 2) * 72;
  for (const char* caption : {"收入1", "住房公积金", "姓名"}) EXPECT_NEAR(middle(U(caption)), cellMiddle, 1.5) << caption;
  KeepArtifact(pdf, QStringLiteral("paystrip-short.pdf"));
}

TEST_F(PayPrintTest, PrintingSelectedRowsPrintsOnlyThemAndAlwaysClearsTheMarks) {
  AddMonth(QStringLiteral("202401"));
  AddItems(QStringLiteral("202401"), Captions("收入", 2), Captions("扣款", 1));
  AddRecord(QStringLiteral("202401"), "销售部", "张三", 100, 2, 1);
  AddRecord(QStringLiteral("202401"), "销售部", "李四", 200, 2, 1);
  AddRecord(QStringLiteral("202401"), "生产部", "王五", 300, 2, 1);
  auto window = OpenWindow();
  TDataSet* records = window->dsGZDetail;
  const auto marked = [records] {
    int count = 0;
    for (records->First(); !records->Eof(); records->Next())
      count += records->FieldByName(QStringLiteral("SelectStu"))->AsInteger();
    return count;
  };
  const auto select = [&](const char* Name) {
    ASSERT_TRUE(records->Locate(QStringLiteral("EmpName"), Variant(U(Name)), {}));
    window->DBGridEh2->RecordBookmarks()->AppendBookmark(records->Bookmark());
  };
  select("王五");
  select("张三");
  {
    const String pdf = File("selected.pdf");
    TSetupAnswer setup(pdf);
    window->N8Click(nullptr);
    const QString text = PdfText(pdf);
    EXPECT_TRUE(text.contains(U("张三")) && text.contains(U("王五"))) << text.toStdString();
    EXPECT_FALSE(text.contains(U("李四")));
  }
  EXPECT_FALSE(records->Filtered());
  EXPECT_EQ(records->RecordCount(), 3);
  EXPECT_EQ(marked(), 0);

  // Without a selection the current record prints; a failing printout still clears the marks.
  window->DBGridEh2->RecordBookmarks()->ClearBookmarks();
  ASSERT_TRUE(records->Locate(QStringLiteral("EmpName"), Variant(U("李四")), {}));
  {
    const String pdf = File("current.pdf");
    TSetupAnswer setup(pdf);
    window->N39Click(nullptr);
    const QString text = PdfText(pdf);
    EXPECT_TRUE(text.contains(U("李四"))) << text.toStdString();
    EXPECT_FALSE(text.contains(U("张三")) || text.contains(U("王五")));
  }
  ASSERT_TRUE(records->Locate(QStringLiteral("EmpName"), Variant(U("张三")), {}));
  {
    TSetupAnswer unwritable(File("no/such/folder/out.pdf"));
    EXPECT_THROW(window->N8Click(nullptr), Exception);
  }
  EXPECT_FALSE(records->Filtered());
  EXPECT_EQ(records->RecordCount(), 3);
  EXPECT_EQ(marked(), 0);
  EXPECT_EQ(Query(QStringLiteral("select count(*) from TGZ where SelectStu<>0")), QStringLiteral("0"));
}

TEST_F(PayPrintTest, ReceiptSlipsAreGbkTextWithCrLfShownAndPrintedFromTheirWindow) {
  AddMonth(QStringLiteral("202401"));
  AddItems(QStringLiteral("202401"), {U("基本工资"), U("奖金")}, {U("个税")});
  AddRecord(QStringLiteral("202401"), "销售部", "张三", 1000, 2, 1);
  Exec(QStringLiteral("update TGZ set GZ2=1234.5, YFTotal=2234.5, GZTotal=2233.5"));
  auto window = OpenWindow();
  String shown;
  WhenModal<TfrmPosPrint>([&](TfrmPosPrint* Form) {
    shown = Form->RichEdit1->Text();
    EXPECT_EQ(Form->Caption(), U("POS打印机打印"));
    Form->cmdMaxClick(nullptr);
    EXPECT_EQ(Form->RichEdit1->Font()->Size(), 11);
    EXPECT_EQ(Form->RichEdit1->Text(), shown);
    Form->Button5->Click();
  });
  window->MenuItem3Click(nullptr);
  QFile file(File("tmp.Txt"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  file.close();
  // The widest title is a hidden deduction's "应扣/代扣工资|工资项目" (22 bytes): (22 - 3) div 2 blanks.
  const QByteArray expectedStart = StringToGbk(QString(9, u' ') + U("   工资条\r\n序号\t1\r\n月度\t202401\r\n部门\t销售部\r\n"
                                                                 "职员编码\tE1000\r\n姓名\t张三\r\n职务\t \r\n基本工资\t1000.00\r\n"
                                                                 "奖金\t1234.50\r\n合计\t2234.50\r\n-----------\r\n个税\t1.00\r\n"
                                                                 "合计\t1.00\r\n-----------\r\n实发工资\t2233.50\r\n"));
  EXPECT_TRUE(bytes.startsWith(expectedStart)) << GbkToString(bytes).toStdString();
  EXPECT_TRUE(bytes.endsWith(QByteArray("\r\n") + QByteArray(35, '-') + "\r\n\r\n")) << GbkToString(bytes).toStdString();
  EXPECT_FALSE(bytes.contains(StringToGbk(U("电子邮件地址"))));
  const auto lines = [](String Text) {
    Text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    while (Text.endsWith(u'\n')) Text.chop(1);
    return Text;
  };
  EXPECT_EQ(lines(shown), lines(GbkToString(bytes)));
  KeepArtifact(file.fileName(), QStringLiteral("tmp.Txt"));

  // Without decimals amounts are whole; the selected-rows variant prints the current record.
  Settings().GShowFloat = 0;
  WhenModal<TfrmPosPrint>([](TfrmPosPrint* Form) { Form->Button5->Click(); });
  window->MenuItem4Click(nullptr);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const String text = GbkToString(file.readAll());
  file.close();
  EXPECT_TRUE(text.contains(U("奖金\t1235\r\n"))) << text.toStdString();
  EXPECT_FALSE(window->dsGZDetail->Filtered());

  // Printed on the default printer: here the PDF printer, as no other is installed.
  TPrinter printer;
  if (printer.PdfPrinterIndex() != 0) GTEST_SKIP() << "a system printer is installed";
  printer.SetFileName(File("slips.pdf"));
  TPrinter* before = SetPrinter(&printer);
  WhenModal<TfrmPosPrint>([](TfrmPosPrint* Form) {
    Form->Button4->Click();
    Form->Button5->Click();
  });
  window->MenuItem3Click(nullptr);
  SetPrinter(before);
  const QString printed = RunTool(QStringLiteral("pdftotext"), {File("slips.pdf"), QStringLiteral("-")});
  EXPECT_TRUE(printed.contains(U("工资条")) && printed.contains(U("张三")) && printed.contains(QStringLiteral("2234"))) << printed.toStdString();
}

TEST_F(PayPrintTest, ASlipFileThatCannotBeWrittenIsReportedAndNoWindowOpens) {
  AddMonth(QStringLiteral("202401"));
  AddRecord(QStringLiteral("202401"), "销售部", "张三", 1000, 1, 0);
  ASSERT_TRUE(QDir().mkpath(File("tmp.Txt/held")));  // a folder where the file should go
  auto window = OpenWindow();
  EXPECT_THROW(window->MenuItem3Click(nullptr), EWriteError);
  EXPECT_TRUE(QFileInfo(File("tmp.Txt")).isDir());
}

TEST_F(PayPrintTest, ReceiptSlipsNeedAnOpenList) {
  auto window = OpenWindow();
  window->dsGZDetail->Close();
  window->MenuItem3Click(nullptr);
  window->MenuItem4Click(nullptr);
  EXPECT_EQ(Messages.Messages(), (QStringList{U("没有用于打印的工资数据！"), U("没有用于打印的工资数据！")}));
  EXPECT_FALSE(QFile::exists(File("tmp.Txt")));
}
