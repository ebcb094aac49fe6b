#include "ColumnFit.h"
#include "MessageRecorder.h"
#include "ScratchPayrollDb.h"
#include "app/PayItemSets.h"
#include "app/uGZCount.h"
#include "dbgrid/DBGridX.h"
#include "gridout/PrinterPreview.h"
#include "platform/ui/ComCtrls.h"
#include "platform/db/ADODB.h"
#include "platform/ui/CheckLst.h"
#include "platform/ui/StdCtrls.h"
#include <QDir>
#include <QFile>
#include <QProcess>

namespace {

String U(const char* Text) { return QString::fromUtf8(Text); }

class StatisticsWindowTest : public ::testing::Test {
protected:
  StatisticsWindowTest() {
    StructUpdate();
    for (const char* Month : {"202311", "202312", "202401"})
      Db.Exec(QStringLiteral("insert into TGZMonth (GZMonth) values ('%1')").arg(QLatin1String(Month)));
    // 202312 has items of its own: GZ2 "岗位工资" and GZ1 "基本工资" shown, listed in that
    // order, and no deduction shown; the other months use the default items.
    Db.Exec(QStringLiteral("insert into TGZSet (GZMonth, GZField1, GZName, GZType, SortIdx, ShowStu, CalcStr) "
                           "select '202312', GZField1, GZName, GZType, SortIdx, ShowStu, CalcStr from TGZSet "
                           "where GZMonth='BASE'"));
    Db.Exec(U("update TGZSet set GZName='岗位工资', ShowStu=0, SortIdx=0 where GZMonth='202312' and GZField1='GZ2'"));
    Db.Exec(U("update TGZSet set GZName='基本工资', ShowStu=0 where GZMonth='202312' and GZField1='GZ1'"));
    Db.Exec(U("update TGZSet set ShowStu=0 where GZMonth='BASE' and GZField1='KK1'"));
    Record("202312", "销售部", "0002", "李四", 300, 10);
    Record("202312", "O'Brien部", "0003", "王五", 200, 0);
    Record("202401", "销售部", "0002", "李四", 400, 20);
    Record("202401", "财务部", "0001", "张三", 500, 0);
    Record("202311", "财务部", "0001", "张三", 999, 0);
    Window.ReadyMonth();
  }
  void Record(const char* Month, const char* Depart, const char* Code, const char* Name, double Pay, double Deduct) {
    Db.Exec(QStringLiteral("insert into TGZ (GZMonth, DepartName, EmpCode, EmpName, ZWName, WorkDays, GZ1, YFTotal, "
                           "KK1, KKTotal, GZTotal) values ('%1', %2, '%3', %4, ' ', 20, %5, %5, %6, %6, %7)")
                .arg(QLatin1String(Month), QuotedStr(U(Depart)), QLatin1String(Code), QuotedStr(U(Name)))
                .arg(Pay)
                .arg(Deduct)
                .arg(Pay - Deduct));
  }
  void Tick(const char* Month, bool Ticked = true) {
    Window.chkList->SetChecked(Window.chkList->Items()->IndexOf(QLatin1String(Month)), Ticked);
    Window.chkListClick();
  }
  static String Rows(TDataSet* DataSet, const char* Fields) {
    if (!DataSet->Active()) return QStringLiteral("closed");
    QStringList Rows;
    for (DataSet->First(); !DataSet->Eof(); DataSet->Next()) {
      QStringList Values;
      for (const String& Field : U(Fields).split(u',')) Values << DataSet->FieldByName(Field)->AsString();
      Rows << Values.join(u'/');
    }
    return Rows.join(u' ');
  }
  static bool Shown(TDBGridX* Grid, Integer Index) { return Grid->Columns()->Items(Index)->Visible(); }
  static String Title(TDBGridX* Grid, Integer Index) { return Grid->Columns()->Items(Index)->Title()->Caption(); }

  TScratchPayrollDb Db;
  TMessageRecorder Messages;
  TfrmGZCount Window{nullptr};
};

TEST_F(StatisticsWindowTest, TickedMonthsShowTogetherInThreeViews) {
  EXPECT_EQ(Window.chkList->Items()->Text(), QStringLiteral("202401\r\n202312\r\n202311\r\n"));
  Tick("202401");
  Tick("202312");
  EXPECT_EQ(Rows(Window.dsDetail, "SortIdx,GZMonth,DepartName,EmpName"),
            U("1/202312/O'Brien部/王五 2/202312/销售部/李四 3/202401/财务部/张三 4/202401/销售部/李四"));
  EXPECT_EQ(Rows(Window.dsDepart, "DepartName,GZTotal"), U("O'Brien部/200 财务部/500 销售部/670"));
  EXPECT_EQ(Rows(Window.dsEmp, "EmpName,WorkDays,AGZ1,AKK1,AGZTotal"),
            U("王五/20/200/0/200 张三/20/500/0/500 李四/40/700/30/670"));

  // The titles follow the first ticked month in the list (202401: the default items).
  EXPECT_FALSE(Shown(Window.DBGridEh3, 10));
  EXPECT_TRUE(Shown(Window.DBGridEh3, 41));
  EXPECT_TRUE(Shown(Window.DBGridEh3, 56));
  EXPECT_TRUE(Shown(Window.DBGridEh2, 52));

  Tick("202401", false);  // now 202312 leads: items titled by their fields, no deduction shown
  EXPECT_EQ(Title(Window.DBGridEh3, 10), U("应发工资|基本工资"));
  EXPECT_EQ(Title(Window.DBGridEh3, 11), U("应发工资|岗位工资"));
  EXPECT_EQ(Title(Window.DBGridEh2, 6), U("应发工资|基本工资"));
  EXPECT_EQ(Window.DBGridEh2->Columns()->Items(7)->FieldName(), QStringLiteral("AGZ2"));
  EXPECT_TRUE(Shown(Window.DBGridEh2, 7));
  EXPECT_FALSE(Shown(Window.DBGridEh3, 56));
  EXPECT_FALSE(Shown(Window.DBGridEh2, 52));

  Window.btnSelectNone->Click();
  for (TDataSet* View : {(TDataSet*)Window.dsDetail, (TDataSet*)Window.dsDepart, (TDataSet*)Window.dsEmp})
    EXPECT_FALSE(View->Active());
  Window.btnSelectAll->Click();
  EXPECT_EQ(Window.dsDetail->RecordCount(), 5);
}

TEST_F(StatisticsWindowTest, FiltersNarrowTheirOwnViewAndQuotesAreTexts) {
  Window.btnSelectAll->Click();
  Window.cmbEmpCode1->SetText(QStringLiteral("0001"));
  Window.chkListClick();
  EXPECT_EQ(Rows(Window.dsEmp, "EmpName,AGZTotal"), U("张三/1499"));
  EXPECT_EQ(Window.dsDetail->RecordCount(), 5);

  Window.cmbDepart->SetText(U("O'Brien"));
  Window.chkListClick();
  EXPECT_EQ(Rows(Window.dsDetail, "EmpName"), U("王五"));
  // Typed wildcards match only themselves.
  Window.cmbDepart->SetText(QStringLiteral("_"));
  Window.chkListClick();
  EXPECT_EQ(Window.dsDetail->RecordCount(), 0);
  Window.cmbDepart->SetText(QString());
  Window.cmbEmp->SetText(QStringLiteral("%"));
  Window.chkListClick();
  EXPECT_EQ(Window.dsDetail->RecordCount(), 0);
  Window.btnClear->Click();
  EXPECT_EQ(Window.dsDetail->RecordCount(), 5);
  EXPECT_EQ(Window.dsEmp->RecordCount(), 1);
  Window.btnClear1->Click();
  EXPECT_EQ(Window.dsEmp->RecordCount(), 3);
}

TEST_F(StatisticsWindowTest, TitleClicksAlternateOneDirectionSharedByTheViews) {
  Window.btnSelectAll->Click();
  Settings().GSortAscending = false;
  TColumnX* Pay = Window.DBGridEh1->Columns()->Items(1);
  Window.GridTitleClick(Window.DBGridEh1, Pay);
  EXPECT_EQ(Rows(Window.dsDepart, "GZTotal"), QStringLiteral("200 670 1499"));
  EXPECT_EQ(Pay->Title()->SortMarker(), smDownX);
  Window.GridTitleClick(Window.DBGridEh1, Pay);
  EXPECT_EQ(Rows(Window.dsDepart, "GZTotal"), QStringLiteral("1499 670 200"));
  EXPECT_EQ(Pay->Title()->SortMarker(), smUpX);
  Window.GridTitleClick(Window.DBGridEh2, Window.DBGridEh2->Columns()->Items(2));  // ascending again
  EXPECT_EQ(Rows(Window.dsEmp, "EmpName").section(u' ', 0, 0), U("张三"));
  EXPECT_EQ(Window.CurrentGrid(), Window.DBGridEh3);
}

TEST_F(StatisticsWindowTest, ThePageShownIsPrinted) {
  Window.btnSelectAll->Click();
  Window.PageControl1->SetActivePage(Window.TabSheet2);
  Window.Button7Click();
  const String Texts = SharedPrinterPreview()->PageFile(1)->Texts().join(String());
  EXPECT_TRUE(Texts.contains(U("O'Brien部")) && Texts.contains(U("1499"))) << Texts.toStdString();
  EXPECT_FALSE(Texts.contains(U("李四")));
}

}  // namespace

TEST_F(StatisticsWindowTest, ThePageShownGoesToAWorkbookWithGroupedTitles) {
  QStringList Opened;
  const TShellOpenProc Previous = SetShellOpenProc([&](const String& File, const String&) { Opened << File; });
  Tick("202401");
  Window.Button1Click();
  SetShellOpenProc(Previous);
  ASSERT_EQ(Opened.size(), 1);
  EXPECT_TRUE(Opened[0].endsWith(QStringLiteral(".xlsx"))) << Opened[0].toStdString();
  EXPECT_TRUE(Window.DBGridEh3->Enabled());
  const QString Artifacts = qEnvironmentVariable("MOLI_ARTIFACTS");
  if (!Artifacts.isEmpty()) {
    QDir().mkpath(Artifacts);
    QFile::remove(QDir(Artifacts).filePath(QStringLiteral("statistics.xlsx")));
    QFile::copy(Opened[0], QDir(Artifacts).filePath(QStringLiteral("statistics.xlsx")));
  }
  QProcess Unzip;
  Unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), Opened[0], QStringLiteral("xl/worksheets/sheet1.xml")});
  ASSERT_TRUE(Unzip.waitForFinished(60000));
  const QByteArray Sheet = Unzip.readAllStandardOutput();
  // "序号" spans both title rows; the deductions group spans its item and its total.
  EXPECT_TRUE(Sheet.contains("<mergeCell ref=\"A1:A2\"/>")) << Sheet.toStdString();
  EXPECT_GE(Sheet.count("<mergeCell "), 2);
  EXPECT_TRUE(Sheet.contains("<c r=\"A3\"")) << "the first record is in row 3";
  // Another reader finds the amounts (500, 400 and 380) as numbers, whatever format shows them.
  QProcess Python;
  Python.start(QStringLiteral("/usr/bin/python3"),
               {QStringLiteral("-c"), QStringLiteral("import openpyxl, sys\n"
                                                     "def amount(v):\n"
                                                     "  try: return float(str(v)) in (500, 400, 380)\n"
                                                     "  except ValueError: return False\n"
                                                     "sheet = openpyxl.load_workbook(sys.argv[1]).active\n"
                                                     "kinds = {'number' if isinstance(c.value, (int, float)) else "
                                                     "type(c.value).__name__ for row in sheet.iter_rows(min_row=3) "
                                                     "for c in row if amount(c.value)}\n"
                                                     "print(' '.join(sorted(kinds)))\n"),
                Opened[0]});
  ASSERT_TRUE(Python.waitForFinished(60000));
  EXPECT_EQ(Python.readAllStandardOutput(), QByteArray("number\n")) << Python.readAllStandardError().toStdString();
}

TEST_F(StatisticsWindowTest, AmountsShowAsInTheRecordListInColumnsThatHoldThemWhole) {
  Db.Exec(QStringLiteral("update TGZ set GZ1=45.9, YFTotal=45.9, GZTotal=45.9 where GZMonth='202312' and EmpCode='0003'"));
  const Integer ShowFloat = Settings().GShowFloat;
  Settings().GShowFloat = 1;
  TfrmGZCount Shown(nullptr);
  Settings().GShowFloat = ShowFloat;
  Shown.ReadyMonth();
  Shown.chkList->SetChecked(Shown.chkList->Items()->IndexOf(QStringLiteral("202312")), true);
  Shown.chkListClick();
  // O'Brien部 comes first in all three views.
  Shown.dsDetail->First();
  Shown.dsEmp->First();
  Shown.dsDepart->First();
  EXPECT_EQ(Shown.DBGridEh3->Columns()->Items(10)->DisplayText(), QStringLiteral("45.90"));
  EXPECT_EQ(Shown.DBGridEh3->Columns()->Items(57)->DisplayText(), QStringLiteral("45.90"));
  EXPECT_EQ(Shown.DBGridEh2->Columns()->Items(6)->DisplayText(), QStringLiteral("45.90"));
  EXPECT_EQ(Shown.DBGridEh2->Columns()->Items(53)->DisplayText(), QStringLiteral("45.90"));
  EXPECT_EQ(Shown.DBGridEh1->Columns()->Items(1)->DisplayText(), QStringLiteral("45.90"));
  EXPECT_EQ(Shown.DBGridEh3->Columns()->Items(7)->DisplayText(), QStringLiteral("20")) << "days are no amount";

  const String Widest = QStringLiteral("99999999.99");
  for (Integer i = 9; i <= 57; ++i) EXPECT_TRUE(HoldsWhole(Shown.DBGridEh3->Columns()->Items(i), Widest)) << i;
  for (Integer i = 6; i <= 53; ++i) EXPECT_TRUE(HoldsWhole(Shown.DBGridEh2->Columns()->Items(i), Widest)) << i;
  EXPECT_TRUE(HoldsWhole(Shown.DBGridEh2->Columns()->Items(4), Widest));
  EXPECT_TRUE(HoldsWhole(Shown.DBGridEh1->Columns()->Items(1), Widest));
  EXPECT_TRUE(HoldsWhole(Shown.DBGridEh3->Columns()->Items(2), U("2026年12月")));
}
