// Records to and from workbooks: the record list exported as .xlsx (with and
// without grouped titles), records imported from an .xls a real writer made.
#include "app/tests/MessageRecorder.h"
#include "app/tests/TestDataModule.h"
#include "app/ExcelExport.h"
#include "app/ExcelImport.h"
#include "app/uExcelLoadIn.h"
#include "app/uMain.h"
#include "dbgrid/DBGridX.h"
#include "platform/office/SheetDataSet.h"
#include "platform/testing/TestPaths.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/StdCtrls.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

String U(const char* Text) { return QString::fromUtf8(Text); }

QByteArray WorkbookPart(const String& Workbook, const char* Part) {
  QProcess Unzip;
  Unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), Workbook, QLatin1String(Part)});
  EXPECT_TRUE(Unzip.waitForFinished(60000));
  EXPECT_EQ(Unzip.exitCode(), 0) << Part;
  return Unzip.readAllStandardOutput();
}

// Keeps a copy of File under Name in the folder MOLI_ARTIFACTS names, when it is set.
void KeepArtifact(const String& File, const char* Name) {
  const QString Folder = qEnvironmentVariable("MOLI_ARTIFACTS");
  if (Folder.isEmpty()) return;
  QDir().mkpath(Folder);
  const QString Target = QDir(Folder).filePath(QLatin1String(Name));
  QFile::remove(Target);
  QFile::copy(File, Target);
}

// The cells of Row under the given first-row titles as openpyxl reads them:
// "type value format|" each, "number" for the type of any number.
String ReadWithOpenpyxl(const String& Workbook, int Row, std::initializer_list<const char*> Titles) {
  QStringList Arguments{QStringLiteral("-c"), QStringLiteral(
      "import openpyxl, sys\n"
      "sheet = openpyxl.load_workbook(sys.argv[1]).active\n"
      "row = int(sys.argv[2])\n"
      "titles = {}\n"
      "for cell in sheet[1]:\n"
      "  titles.setdefault(cell.value, cell.column)\n"
      "if row == 3:\n"
      "  for cell in sheet[2]:\n"
      "    titles.setdefault(cell.value, cell.column)\n"
      "out = ''\n"
      "for title in sys.argv[3:]:\n"
      "  cell = sheet.cell(row=row, column=titles[title])\n"
      "  value = cell.value\n"
      "  number = isinstance(value, (int, float))\n"
      "  text = ('%g' % value) if number else str(value)\n"
      "  out += '%s %s %s|' % ('number' if number else type(value).__name__, text, cell.number_format)\n"
      "sys.stdout.buffer.write(out.encode('utf-8'))\n"), Workbook, QString::number(Row)};
  for (const char* Title : Titles) Arguments << U(Title);
  QProcess Python;
  Python.start(QStringLiteral("/usr/bin/python3"), Arguments);
  EXPECT_TRUE(Python.waitForFinished(60000));
  EXPECT_EQ(Python.exitCode(), 0) << Python.readAllStandardError().toStdString();
  return String::fromUtf8(Python.readAllStandardOutput());
}

class WorkbookExchangeTest : public ::testing::Test {
protected:
  void SetUp() override {
    Previous = SetShellOpenProc([this](const String& File, const String&) { Opened << File; });
    Exec(U("insert into TGZMonth (GZMonth) values ('202401')"));
    for (const auto& [Field, Name, Type] : std::initializer_list<std::tuple<const char*, const char*, int>>{
             {"GZ1", "基本 工资", 0}, {"GZ2", "奖金", 0}, {"KK1", "社保", 1}})
      Exec(QStringLiteral("insert into TGZSet (GZMonth, GZField1, GZName, GZType, SortIdx, ShowStu, CalcStr) "
                          "values ('202401', '%1', %2, %3, 1, 0, ' ')")
               .arg(QLatin1String(Field), QuotedStr(U(Name)))
               .arg(Type));
  }
  void TearDown() override { SetShellOpenProc(Previous); }
  void Exec(const String& Sql) { DM->ADOLocal->ExecuteSql(Sql); }
  String Query(const String& Sql) { return DM->GetDataBySQL(Sql); }
  std::unique_ptr<TfrmMainGZT> OpenWindow() {
    auto Window = std::make_unique<TfrmMainGZT>(nullptr);
    Window->EndProcess = [] {};
    return Window;
  }

  TTestDataModule Module;
  TScriptedDialogs Dialogs;
  TMessageRecorder Messages;
  QStringList Opened;
  TShellOpenProc Previous;
};

}  // namespace

TEST_F(WorkbookExchangeTest, ImportFieldsComeFromTheVisibleColumnsWithoutTotals) {
  auto Window = OpenWindow();
  const QList<TImportField> Fields = ImportFields(Window->DBGridEh2);
  QStringList Pairs;
  for (const TImportField& Field : Fields) Pairs << Field.Caption + u'=' + Field.FieldName;
  EXPECT_EQ(Pairs.first(), U("部门=DepartName"));
  EXPECT_EQ(Pairs.last(), U("电子邮件地址=EMail"));
  // A caption with a blank keeps its own field; hidden items and the totals are left out.
  EXPECT_TRUE(Pairs.contains(U("应发工资|基本 工资=GZ1")));
  EXPECT_TRUE(Pairs.contains(U("应扣/代扣工资|社保=KK1")));
  for (const char* Field : {"=GZ3", "=YFTotal", "=KKTotal", "=GZTotal", "=SortIdx", "=LOGTime"})
    EXPECT_FALSE(Pairs.join(u' ').contains(QLatin1String(Field))) << Field;
}

TEST_F(WorkbookExchangeTest, ImportsTheRowsOfARealWorkbookSkippingABadRowAndCountingEmptyItemsAsZero) {
  // A record already there with an empty deduction gets its totals too.
  Exec(U("insert into TGZ (GZMonth, DepartName, EmpName, ZWName, GZ1) values ('202401', '研发部', '赵六', ' ', 10)"));
  auto Window = OpenWindow();
  TfrmExcelLoadIn Form(nullptr, U("202401"), ImportFields(Window->DBGridEh2));
  Form.Button1Click();
  EXPECT_EQ(Messages.Messages(), QStringList{U("请首先选择源Excel数据文件，然后再指定列对应关系。")});
  Messages.Clear();
  EXPECT_FALSE(Form.Button4->Enabled());

  ASSERT_TRUE(Form.OpenWorkbook(moli::testing::SourceDir() + QStringLiteral("/app/tests/fixtures/records.xls")));
  EXPECT_TRUE(Form.cmbTables->Enabled());
  EXPECT_EQ(Form.cmbTables->Items()->Count(), 2);
  EXPECT_EQ(Form.cmbTables->Text(), U("工资$"));
  EXPECT_TRUE(Form.Button4->Enabled());
  // Matched by caption, never by field name ("empname" stays unmatched).
  QStringList Matched;
  for (const TImportMapping& Map : Form.Mapping())
    if (!Map.SheetColumn.isEmpty()) Matched << Map.FieldName + u'=' + Map.SheetColumn;
  EXPECT_EQ(Matched, (QStringList{U("DepartName=部门"), U("EmpCode=职员编码"), U("EmpName=姓名"),
                                  U("GZ1=应发工资|基本 工资"), U("KK1=应扣/代扣工资|社保"), U("EMail=电子邮件地址")}));
  // The remark is matched by hand.
  for (Form.dsMapping->First(); !Form.dsMapping->Eof(); Form.dsMapping->Next())
    if (Form.dsMapping->Fields()->Fields(1)->AsString() == u"QM") break;
  Form.MapColumnClick(QStringLiteral("Remark"));

  Form.Button4Click();
  ASSERT_EQ(Messages.Messages().size(), 1);
  const String Report = Messages.Messages()[0];
  EXPECT_TRUE(Report.startsWith(U("导入数据结束：导入 2 条，跳过 1 条。"))) << Report.toStdString();
  EXPECT_TRUE(Report.contains(U("第 3 行："))) << Report.toStdString();
  EXPECT_TRUE(Report.contains(QStringLiteral("abc"))) << Report.toStdString();
  EXPECT_FALSE(Form.Button4->Enabled());

  EXPECT_EQ(Query(U("select count(*) from TGZ where GZMonth='202401'")), QStringLiteral("3"));
  EXPECT_EQ(Query(U("select EmpCode||'/'||QM||'/'||EMail||'/'||YFTotal||'/'||KKTotal||'/'||GZTotal from TGZ where EmpName='张三'")),
            U("E01/全勤/zhang@example.com/5000.0/100.0/4900.0"));
  EXPECT_EQ(Query(U("select YFTotal||'/'||KKTotal||'/'||GZTotal||'/'||QM||'/'||ZWName from TGZ where EmpName='王五'")),
            U("6000.5/0.0/6000.5/病假/ "));
  EXPECT_EQ(Query(U("select YFTotal||'/'||GZTotal from TGZ where EmpName='赵六'")), U("10.0/10.0"));
  EXPECT_FALSE(Query(U("select LOGTime from TGZ where EmpName='张三'")).isEmpty());
}

TEST_F(WorkbookExchangeTest, AnImportKeepsEveryGoodRowOrNoneWhenCancelledOrRefused) {
  TSheetTable Sheet;
  Sheet.Columns = {U("姓名"), U("基本")};
  for (int i = 1; i <= 1500; ++i) Sheet.Rows << QStringList{U("职员%1").arg(i), i == 700 ? U("abc") : QString::number(i)};
  const QList<TImportMapping> Mapping{{QStringLiteral("EmpName"), U("姓名")}, {QStringLiteral("GZ1"), U("基本")}};
  const auto Count = [this] { return Query(U("select count(*) from TGZ where GZMonth='202401'")); };

  // Cancelled at the second report of progress: nothing is kept.
  QList<Integer> Reports;
  TImportRun Run = ImportSheetRows(Sheet, Mapping, U("202401"), [&](Integer Done, Integer Rows) {
    EXPECT_EQ(Rows, 1500);
    Reports << Done;
    return Reports.size() < 2;
  });
  EXPECT_TRUE(Run.Cancelled);
  EXPECT_EQ(Run.Imported, 0);
  EXPECT_EQ(Count(), QStringLiteral("0"));

  // A row the database refuses fails the whole write: nothing is kept, and the failure says why.
  Exec(U("create trigger refuse before insert on TGZ when new.EmpName='职员1400' begin select raise(abort, 'no room'); end"));
  Run = ImportSheetRows(Sheet, Mapping, U("202401"));
  EXPECT_FALSE(Run.Cancelled);
  EXPECT_EQ(Run.Imported, 0);
  EXPECT_TRUE(Run.Failure.contains(QStringLiteral("no room"))) << Run.Failure.toStdString();
  EXPECT_EQ(Count(), QStringLiteral("0"));

  // Otherwise every row is kept but the one reported, with its sheet row.
  Exec(U("drop trigger refuse"));
  Reports.clear();
  Run = ImportSheetRows(Sheet, Mapping, U("202401"), [&](Integer Done, Integer) {
    Reports << Done;
    return true;
  });
  EXPECT_EQ(Reports, (QList<Integer>{512, 1024, 1500}));
  EXPECT_EQ(Run.Imported, 1499);
  ASSERT_EQ(Run.Skipped.size(), 1);
  EXPECT_EQ(Run.Skipped[0].SheetRow, 701);
  EXPECT_EQ(Count(), QStringLiteral("1499"));
  EXPECT_EQ(Query(U("select GZ1 from TGZ where EmpName='职员1500'")), QStringLiteral("1500"));
}

TEST_F(WorkbookExchangeTest, FormulaResultsAreImportedAndAnErrorResultIsReportedWithItsRow) {
  const TXlsWorkbook Book(moli::testing::SourceDir() + QStringLiteral("/platform/office/tests/fixtures/formulas.xls"));
  const QList<TImportMapping> Mapping{{QStringLiteral("EmpName"), U("姓名")}, {QStringLiteral("GZ1"), U("基本工资")},
                                      {QStringLiteral("GZ2"), U("奖金")},   {QStringLiteral("GZ3"), U("应发合计")},
                                      {QStringLiteral("QM"), U("备注")},     {QStringLiteral("GZ4"), U("系数")}};
  const TImportRun Run = ImportSheetRows(Book.ReadTable(U("工资$")), Mapping, U("202401"));
  EXPECT_EQ(Run.Imported, 1);
  ASSERT_EQ(Run.Skipped.size(), 1);
  EXPECT_EQ(Run.Skipped[0].SheetRow, 3);
  EXPECT_TRUE(Run.Skipped[0].Reason.contains(QStringLiteral("#DIV/0!"))) << Run.Skipped[0].Reason.toStdString();
  EXPECT_EQ(Query(U("select GZ3||'/'||QM from TGZ where EmpName='张三'")), QStringLiteral("5300.5/OK"));
  // Full precision: a small ratio is not cut to six decimals.
  EXPECT_EQ(Query(U("select GZ4 = 1.23e-7 from TGZ where EmpName='张三'")), QStringLiteral("1"));
  EXPECT_EQ(Query(U("select count(*) from TGZ where EmpName='李四'")), QStringLiteral("0"));
}

TEST_F(WorkbookExchangeTest, AFileThatIsNoWorkbookIsRefused) {
  moli::testing::ScratchDir Dir;
  QFile Bad(Dir.File(QStringLiteral("bad.xls")));
  ASSERT_TRUE(Bad.open(QIODevice::WriteOnly));
  Bad.write("not a workbook");
  Bad.close();
  TfrmExcelLoadIn Form(nullptr, U("202401"), {});
  EXPECT_FALSE(Form.OpenWorkbook(Bad.fileName()));
  EXPECT_EQ(Messages.Messages(), QStringList{U("确认选择的数据文件是正确的数据文件！")});
  EXPECT_FALSE(Form.Button4->Enabled());
}

TEST_F(WorkbookExchangeTest, TheRecordListGoesToAnXlsxWithOneOrTwoHeaderRows) {
  Exec(U("insert into TGZ (GZMonth, DepartName, EmpName, ZWName, GZ1, GZ2, KK1, YFTotal, KKTotal, GZTotal, LOGTime) "
         "values ('202401', '研发部', '张三', ' ', 5000, 300, 100.25, 5300, 100.25, 5199.75, '2024-01-15 08:30:00')"));
  auto Window = OpenWindow();
  QDir().mkpath(Module.Folder().File(QStringLiteral("db")));

  const String Plain = ExportGridToExcel(U("工资表"), Window->DBGridEh2);
  ASSERT_TRUE(QFileInfo(Plain).isFile()) << Plain.toStdString();
  EXPECT_TRUE(QFileInfo(Plain).fileName().startsWith(QStringLiteral("tmp")));
  EXPECT_EQ(Opened, QStringList{Plain});
  const String PlainXml = String::fromUtf8(WorkbookPart(Plain, "xl/sharedStrings.xml"));
  for (const char* Text : {"姓名", "应发工资|基本 工资", "应扣/代扣工资|合计", "张三", "研发部"})
    EXPECT_TRUE(PlainXml.contains(U(Text))) << Text;
  EXPECT_FALSE(WorkbookPart(Plain, "xl/worksheets/sheet1.xml").contains("mergeCell "));
  // Another reader finds amounts as numbers in the list's format and the time as a date.
  const auto ShownFormat = [&](const char* Field) {
    for (Integer i = 0; i < Window->DBGridEh2->Columns()->Count(); ++i) {
      TColumnX* Column = Window->DBGridEh2->Columns()->Items(i);
      if (Column->FieldName() == QLatin1String(Field))
        return Column->DisplayFormat().isEmpty() ? QStringLiteral("General") : Column->DisplayFormat();
    }
    return QStringLiteral("?");
  };
  const String Cells = ReadWithOpenpyxl(Plain, 2, {"姓名", "应发工资|基本 工资", "应扣/代扣工资|社保", "实发工资", "登记时间"});
  EXPECT_EQ(Cells, QStringLiteral("str %1 General|number 5000 %2|number 100.25 %3|number 5199.75 %4|"
                                  "datetime 2024-01-15 08:30:00 yy-mm-dd hh:mm|")
                       .arg(U("张三"), ShownFormat("GZ1"), ShownFormat("KK1"), ShownFormat("GZTotal")));

  const String Grouped = ExportGridToExcelGrouped(U("工资表"), Window->DBGridEh2);
  ASSERT_TRUE(QFileInfo(Grouped).isFile());
  KeepArtifact(Grouped, "records-grouped.xlsx");
  const QByteArray Sheet = WorkbookPart(Grouped, "xl/worksheets/sheet1.xml");
  // The column letter of each visible column, found by its title.
  QStringList Titles;
  for (Integer i = 0; i < Window->DBGridEh2->Columns()->Count(); ++i)
    if (Window->DBGridEh2->Columns()->Items(i)->Visible()) Titles << Window->DBGridEh2->Columns()->Items(i)->Title()->Caption();
  ASSERT_LT(Titles.size(), 26);
  const auto Letter = [&](const char* Title) {
    const qsizetype At = Titles.indexOf(U(Title));
    EXPECT_GE(At, 0) << Title;
    return QByteArray(1, char('A' + At));
  };
  EXPECT_TRUE(Sheet.contains("<mergeCell ref=\"" + Letter("姓名") + "1:" + Letter("姓名") + "2\"/>")) << Sheet.toStdString();
  EXPECT_TRUE(Sheet.contains("<mergeCell ref=\"" + Letter("应发工资|基本 工资") + "1:" + Letter("应发工资|合计") + "1\"/>"))
      << Sheet.toStdString();
  EXPECT_TRUE(Sheet.contains("<mergeCell ref=\"" + Letter("应扣/代扣工资|社保") + "1:" + Letter("应扣/代扣工资|合计") + "1\"/>"))
      << Sheet.toStdString();
  const String Strings = String::fromUtf8(WorkbookPart(Grouped, "xl/sharedStrings.xml"));
  for (const char* Text : {"应发工资", "基本 工资", "奖金", "合计", "社保", "张三"}) EXPECT_TRUE(Strings.contains(U(Text))) << Text;
  EXPECT_FALSE(Strings.contains(U("应发工资|")));
  const String Styles = String::fromUtf8(WorkbookPart(Grouped, "xl/styles.xml"));
  EXPECT_TRUE(Styles.contains(U("宋体")));
  EXPECT_TRUE(Styles.contains(QStringLiteral("wrapText=\"1\"")));
  EXPECT_TRUE(Styles.contains(QStringLiteral("<b/>")));
  EXPECT_EQ(ReadWithOpenpyxl(Grouped, 3, {"姓名", "实发工资"}),
            QStringLiteral("str %1 General|number 5199.75 %2|").arg(U("张三"), ShownFormat("GZTotal")));
}

TEST_F(WorkbookExchangeTest, AClosedListIsReportedAndNothingIsWritten) {
  auto Window = OpenWindow();
  Window->dsGZDetail->Close();
  EXPECT_TRUE(ExportGridToExcelGrouped(U("工资表"), Window->DBGridEh2).isEmpty());
  EXPECT_EQ(Messages.Messages(), QStringList{U("查询过程没有执行，没有数据库可以发送！")});
  EXPECT_TRUE(Opened.isEmpty());
}

TEST_F(WorkbookExchangeTest, TheMainWindowOffersTheSlowExportTheImportAndTheSlips) {
  auto Window = OpenWindow();
  EXPECT_TRUE(Window->Button12->Enabled());
  ASSERT_EQ(Window->pmExport->Items()->Count(), 2);
  EXPECT_TRUE(Window->pmExport->Items()->Items(1)->Enabled());
  QDir().mkpath(Module.Folder().File(QStringLiteral("db")));
  Window->Excel3Click(nullptr);
  ASSERT_EQ(Opened.size(), 1);
  EXPECT_TRUE(QFileInfo(Opened[0]).isFile());
  Exec(U("delete from TGZMonth"));
  Window->ReadyMonth();
  Window->ToolButton7Click(nullptr);
  Window->Button13Click(nullptr);
  EXPECT_EQ(Messages.Messages(), (QStringList{U("请首先建立/选择工资发放月度！"), U("请首先建立/选择工资发放月度！")}));
}

TEST_F(WorkbookExchangeTest, TheQuickExportWritesAWorksheetAnotherReaderReads) {
  Exec(U("insert into TGZ (GZMonth, DepartName, EmpName, ZWName, GZ1, GZ2, KK1, YFTotal, KKTotal, GZTotal, LOGTime) "
         "values ('202401', '研发部', '张三', ' ', 5000, 300, 100.25, 5300, 100.25, 5199.75, '2024-01-15 08:30:00')"));
  auto Window = OpenWindow();
  QDir().mkpath(Module.Folder().File(QStringLiteral("db")));
  Window->Excel2Click(nullptr);
  ASSERT_EQ(Opened.size(), 1);
  const String File = Opened[0];
  EXPECT_TRUE(QFileInfo(File).fileName().startsWith(QStringLiteral("tmp")));
  EXPECT_TRUE(File.endsWith(QStringLiteral(".xls")));
  KeepArtifact(File, "records.xls");

  QProcess Reader;
  Reader.start(QStringLiteral("/usr/bin/python3"),
               {QStringLiteral("-c"),
                QStringLiteral("import sys, xlrd\n"
                               "s = xlrd.open_workbook(sys.argv[1]).sheet_by_index(0)\n"
                               "sys.stdout.buffer.write('\\n'.join('\\t'.join(str(c.value) for c in s.row(r)) "
                               "for r in range(s.nrows)).encode('utf-8'))\n"),
                File});
  ASSERT_TRUE(Reader.waitForFinished(60000));
  ASSERT_EQ(Reader.exitCode(), 0) << Reader.readAllStandardError().toStdString();
  const QStringList Rows = String::fromUtf8(Reader.readAllStandardOutput()).split(u'\n');
  // Titles, the record, then the footer row with its sums.
  ASSERT_EQ(Rows.size(), 3) << Rows.join(u'\n').toStdString();
  EXPECT_TRUE(Rows[0].contains(U("应发工资|基本 工资"))) << Rows[0].toStdString();
  EXPECT_TRUE(Rows[1].contains(U("张三\t")));
  EXPECT_TRUE(Rows[1].contains(U("研发部\t")));
  EXPECT_TRUE(Rows[1].contains(QStringLiteral("\t5000.0\t")));
  EXPECT_TRUE(Rows[2].startsWith(U("合计")));

  // The list's own menu entry and the toolbar's quick entry write the same way and keep the list usable.
  Window->Excel20101Click(nullptr);
  EXPECT_EQ(Opened.size(), 2);
  EXPECT_TRUE(Window->DBGridEh2->Enabled());
  EXPECT_TRUE(Window->pmExport->Items()->Items(0)->Enabled());
  EXPECT_TRUE(Messages.Messages().isEmpty());
}
