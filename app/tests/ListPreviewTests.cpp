#include "MessageRecorder.h"
#include "ModalDriver.h"
#include "ScratchPayrollDb.h"
#include "app/AmountColumns.h"
#include "app/PPreview.h"
#include "app/PayItemSets.h"
#include "app/uGZBaseSet.h"
#include "app/uMain.h"
#include "app/uPreview.h"
#include "gridout/PreviewBox.h"
#include "platform/print/PrintDialogs.h"
#include "platform/testing/TestPaths.h"
#include "platform/ui/Dialogs.h"
#include <QDir>
#include <QProcess>
#include <QRegularExpression>

namespace {

String U(const char* Text) { return QString::fromUtf8(Text); }

QString RunTool(const QString& Program, const QStringList& Args) {
  QProcess Process;
  Process.start(Program, Args);
  if (!Process.waitForFinished(60000) || Process.exitCode() != 0) return {};
  return QString::fromUtf8(Process.readAllStandardOutput());
}

class ListPreviewTest : public ::testing::Test {
protected:
  ListPreviewTest() {
    Db.Exec(QStringLiteral("insert into TGZMonth (GZMonth) values ('202401')"));
    StructUpdate();
    Db.Exec(U("update TGZSet set GZName='基本工资', ShowStu=0 where GZMonth='BASE' and GZField1='GZ1'"));
    Db.Exec(U("update TGZSet set GZName='社会保险费', ShowStu=0 where GZMonth='BASE' and GZField1='KK1'"));
    for (const auto& [Depart, Name, Pay] : {std::tuple{"财务部", "张三", 4400}, std::tuple{"销售部", "李四", 5300}})
      Db.Exec(QStringLiteral("insert into TGZ (GZMonth, DepartName, EmpName, ZWName, GZ1, YFTotal, KK1, KKTotal, "
                             "GZTotal) values ('202401', %1, %2, ' ', %3, %3, 100, 100, %4)")
                  .arg(QuotedStr(U(Depart)), QuotedStr(U(Name)))
                  .arg(Pay)
                  .arg(Pay - 100));
    Window = std::make_unique<TfrmMainGZT>(nullptr);
  }
  // Every printed page goes to Pdf.
  TPrintDialogAnswer PrintTo(const QString& Pdf) {
    return TPrintDialogs::SetAnswer([Pdf](TPrintDialogRequest& Request) {
      Request.PrinterIndex = Request.PdfPrinterIndex;
      Request.FileName = Pdf;
      return true;
    });
  }

  TScratchPayrollDb Db;
  TMessageRecorder Messages;
  TScriptedDialogs Dialogs;
  std::unique_ptr<TfrmMainGZT> Window;
};

TEST_F(ListPreviewTest, TheRecordListGoesOverWithItsHeaderRowsCellsAndFooters) {
  ASSERT_EQ(Window->dsGZDetail->RecordCount(), 2);
  TfrmPreview Form(nullptr);
  Form.ReadyData1(QStringLiteral("标题"), Window->DBGridEh2, Window->dsGZDetail);
  TPPreview* P = Form.PPreview;
  EXPECT_EQ(P->pColCount(), 63);
  EXPECT_EQ(P->pHeaderRowCount(), 2);
  EXPECT_EQ(P->pRowHeight(), 24);
  EXPECT_EQ(P->pDataRowCount(), 2);
  // One text per header row: a single-level caption repeats, a two-level one splits.
  EXPECT_EQ(P->TitleText(5, 0), U("姓名"));
  EXPECT_EQ(P->TitleText(5, 1), U("姓名"));
  EXPECT_EQ(P->TitleText(10, 0), U("应发工资"));
  EXPECT_EQ(P->TitleText(10, 1), U("基本工资"));
  // A hidden column goes over at width 0 with its cells.
  EXPECT_EQ(P->ColWidth(0), 0);
  EXPECT_FALSE(P->CellText(0, 0).isEmpty());
  EXPECT_EQ(P->ColWidth(5), 60);
  EXPECT_EQ(P->CellText(5, 0), U("张三"));
  EXPECT_EQ(P->CellText(10, 1), U("5300.00"));  // the amount format of the settings  // the amount format before the settings say otherwise
  // The footer row follows the records.
  EXPECT_EQ(P->CellText(1, 2), U("合计"));
  EXPECT_EQ(P->CellText(5, 2), U("2条"));
  EXPECT_EQ(P->CellText(57, 2), U("9500.00"));
  EXPECT_EQ(P->PrintedRowCount(), 3);
}

TEST_F(ListPreviewTest, KeyListCodesShowTheirPickListWords) {
  Db.Exec(QStringLiteral("update TGZSet set ShowStu=7 where GZMonth='BASE' and GZField1='GZ3'"));
  TfrmGZBaseSet Items(nullptr);
  ASSERT_TRUE(Items.ReadyData(QStringLiteral("BASE")));
  TfrmPreview Form(nullptr);
  Form.ReadyData1(QStringLiteral("项目"), Items.DBGridEh1, Items.dsEarnings);
  EXPECT_EQ(Form.PPreview->CellText(2, 0), U("启用"));  // GZ1 shown
  EXPECT_EQ(Form.PPreview->CellText(2, 1), U("禁用"));
  EXPECT_EQ(Form.PPreview->CellText(2, 2), QStringLiteral("7"));  // no such code: the stored text
}

TEST_F(ListPreviewTest, PrintingTheRecordListWidensItemColumnsMeanwhileAndPrintsToPdf) {
  moli::testing::ScratchDir Dir;
  const QString Artifacts = qEnvironmentVariable("MOLI_ARTIFACTS");
  const QString Pdf = Artifacts.isEmpty() ? Dir.File(QStringLiteral("list-preview.pdf"))
                                          : QDir(Artifacts).filePath(QStringLiteral("list-preview.pdf"));
  const TPrintDialogAnswer Previous = PrintTo(Pdf);
  Window->DBGridEh2->Columns()->Items(12)->SetWidth(90);
  // Never narrower than an amount, so that no printed amount is cut.
  const Integer Amount = std::max<Integer>(52, AmountColumnWidth(Window->DBGridEh2->Columns()->Items(10)));
  WhenModal<TfrmPreview>([this, Amount](TfrmPreview* Form) {
    TDBGridColumnsX* Columns = Window->DBGridEh2->Columns();
    EXPECT_EQ(Columns->Items(10)->Width(), Amount);    // four characters: 52
    EXPECT_EQ(Columns->Items(41)->Width(), std::max<Integer>(65, Amount));    // five characters
    EXPECT_EQ(Columns->Items(12)->Width(), Amount);    // "工资项目"
    EXPECT_EQ(Columns->Items(40)->Width(), std::max<Integer>(66, Amount));    // "合计" keeps its width
    EXPECT_EQ(Form->PPreview->PageCount(), 1);
    Form->PPreview->btnPrint->Click();
    Form->PPreview->btnClose->Click();
  });
  Window->Button7Click(nullptr);
  TPrintDialogs::SetAnswer(Previous);
  for (Integer i = 10; i <= 42; ++i) EXPECT_EQ(Window->DBGridEh2->Columns()->Items(i)->Width(), Amount) << i;

  EXPECT_TRUE(RunTool(QStringLiteral("pdfinfo"), {Pdf}).contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\b"))));
  QString Text = RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), Pdf, QStringLiteral("-")});
  Text.remove(QRegularExpression(QStringLiteral("\\s")));
  for (const char* Expected : {"月度[202401]工资发放明细表", "应发工资", "基本工资", "社会保险费", "张三", "李四",
                               "合计", "2条", "9500.00", "第1页共1页"})
    EXPECT_TRUE(Text.contains(U(Expected))) << Expected << " in " << Text.toStdString();
}

TEST_F(ListPreviewTest, LongListsTakeSeveralPagesEachWithTheHeader) {
  TPPreview P(nullptr);
  P.SetpColCount(2);
  P.SetpRowHeight(20);
  P.SetpCaption(QStringLiteral("L"));
  P.SetpHeaderRowCount(2);
  P.SetTitleText(0, 0, U("姓名"));
  P.SetTitleText(0, 1, U("姓名"));
  P.SetTitleText(1, 0, U("应发工资"));
  P.SetTitleText(1, 1, U("合计"));
  P.SetpDataRowCount(200);
  for (Integer Row = 0; Row < 200; ++Row) P.SetCellText(0, Row, QStringLiteral("R%1").arg(Row));
  P.SetpActive(true);
  const Integer Pages = P.PageCount();
  EXPECT_GT(Pages, 3);
  for (Integer Page = 1; Page <= Pages; ++Page) {
    const String Texts = P.PreviewBox()->Preview()->PageFile(Page)->Texts().join(String());
    EXPECT_TRUE(Texts.contains(U("应发工资")) && Texts.contains(U("姓名"))) << Page;
    EXPECT_TRUE(Texts.contains(QStringLiteral("第%1页 共%2页").arg(Page).arg(Pages))) << Page;
  }
  EXPECT_TRUE(P.PreviewBox()->Preview()->PageFile(Pages)->Texts().contains(QStringLiteral("R199")));
  EXPECT_FALSE(P.PreviewBox()->Preview()->PageFile(1)->Texts().contains(QStringLiteral("R199")));
  EXPECT_THROW(P.SetCellText(2, 0, QStringLiteral("x")), EListError);
}

TEST_F(ListPreviewTest, TheSelectedRowsPrintThroughTheGridPrinting) {
  Window->dsGZDetail->Last();  // 李四
  Window->DBGridEh2->RecordBookmarks()->MarkCurrentRow(true);
  Window->dsGZDetail->First();
  Window->N6Click(nullptr);
  TPrinterPreview* Recorder = SharedPrinterPreview();
  ASSERT_GE(Recorder->PageFileCount(), 1);
  const String Texts = Recorder->PageFile(1)->Texts().join(String());
  EXPECT_TRUE(Texts.contains(U("李四")));
  EXPECT_FALSE(Texts.contains(U("张三")));
  EXPECT_EQ(Window->dsGZDetail->RecNo(), 1);
}

TEST_F(ListPreviewTest, AClosedListIsNotPreviewed) {
  Window->dsGZDetail->Close();
  EXPECT_TRUE(PreviewGrid(QStringLiteral("x"), Window->DBGridEh2, Window->dsGZDetail));
  EXPECT_EQ(Messages.Messages().last(), U("无查询结果！"));
}

TEST_F(ListPreviewTest, TheListPreviewZoomsFromItsBar) {
  TfrmPreview Form(nullptr);
  Form.ReadyData1(QStringLiteral("标题"), Window->DBGridEh2, Window->dsGZDetail);
  TPPreview* P = Form.PPreview;
  P->SetpActive(true);
  TPreviewBox* Box = P->PreviewBox();
  EXPECT_EQ(P->cmbZoom->Text(), U("整页"));
  for (const auto& [Caption, Percent] : {std::pair{"200%", 200}, {"50%", 50}, {"100%", 100}}) {
    P->cmbZoom->SetItemIndex(P->cmbZoom->Items()->IndexOf(QString::fromUtf8(Caption)));
    P->cmbZoom->OnChange(P->cmbZoom);
    EXPECT_EQ(Box->ScalePercent(), Percent) << Caption;
  }
  P->cmbZoom->SetItemIndex(P->cmbZoom->Items()->IndexOf(U("页宽")));
  P->cmbZoom->OnChange(P->cmbZoom);
  EXPECT_EQ(Box->ScaleMode(), 8);
}

}  // namespace
