#include "GridOutputFixture.h"
#include "dbgrid/DBGridXCenter.h"
#include "platform/rtl/Encodings.h"
#include "platform/rtl/ScopeGuards.h"

using namespace gridouttest;

TEST(ExportAsText, RowsAndCellsInEachTextFormat) {
  TGridOutputForm f;
  f.SetColumns({{"name", "姓名"}, {"base", "工资|基本"}, {"note", "备注"}});
  f.Bind();
  f.Grid->SetFooterRowCount(1);
  f.Column(1)->Footer()->SetValueType(fvtSum);
  const String text = QStringLiteral("姓名\t工资|基本\t备注\r\n张三\t1000.5\ta\r\n李四\t\t\r\n王五\t3000\tx\"y\r\n\t4000.5\t");
  EXPECT_EQ(f.Export<TDBGridXExportAsText>(), StringToGbk(text));
  EXPECT_EQ(f.Export<TDBGridXExportAsUnicodeText>(), StringToUtf16LE(text));
  const String csv = QStringLiteral(
      "\"姓名\";\"工资|基本\";\"备注\"\r\n\"张三\";\"1000.5\";\"a\"\r\n\"李四\";\"\";\"\"\r\n\"王五\";\"3000\";\"x\"\"y\"\r\n"
      "\"\";\"4000.5\";\"\"");
  EXPECT_EQ(f.Export<TDBGridXExportAsCSV>(), StringToGbk(csv));
}

TEST(ExportAsText, TheCurrentCellAloneIsOneValueWithoutSeparators) {
  TGridOutputForm f;
  f.SetColumns({{"name", "姓名"}, {"base", "工资"}});
  f.Bind();
  f.Grid->SetFooterRowCount(1);
  f.Grid->SetSelectedIndex(0);
  f.Query.Next();
  EXPECT_EQ(f.Export<TDBGridXExportAsText>(false), StringToGbk(QStringLiteral("李四")));
  EXPECT_EQ(f.Export<TDBGridXExportAsCSV>(false), StringToGbk(QStringLiteral("\"李四\"")));
}

TEST(ExportAsCsv, PythonsCsvReadsTheShownTexts) {
  TGridOutputForm f;
  f.SetColumns({{"name", "姓名"}, {"base", "工资"}, {"note", "备注"}});
  f.Bind();
  const QString file = f.File(QStringLiteral("grid.csv"));
  ExportGridToFile(ExportClassOf<TDBGridXExportAsCSV>(), f.Grid, file, true);
  const QString script = QStringLiteral(
      "import csv, sys\n"
      "with open(sys.argv[1], encoding='gbk', newline='') as f:\n"
      "  for row in csv.reader(f, delimiter=';', quoting=csv.QUOTE_ALL):\n"
      "    print('|'.join(row))\n");
  EXPECT_EQ(RunPython(script, {file}), QStringLiteral("姓名|工资|备注\n张三|1000.5|a\n李四||\n王五|3000|x\"y\n"));
}

TEST(ExportAsCsv, CellsHoldingTheSeparatorQuotesOrLineBreaksReadBackWhole) {
  TGridOutputForm f;
  f.Connection.ExecuteSql("UPDATE pay SET note='a;b' || char(13, 10) || '\"c\";' || char(10) || 'd' WHERE id = 2");
  f.Query.Close();
  f.Query.Open();
  f.SetColumns({{"name", "姓名;甲"}, {"note", "备注\"乙\""}});
  f.Bind();
  const QString file = f.File(QStringLiteral("grid.csv"));
  ExportGridToFile(ExportClassOf<TDBGridXExportAsCSV>(), f.Grid, file, true);
  const QString script = QStringLiteral(
      "import csv, sys\n"
      "with open(sys.argv[1], encoding='gbk', newline='') as f:\n"
      "  print(list(csv.reader(f, delimiter=';')))\n");
  EXPECT_EQ(RunPython(script, {file}),
            QStringLiteral("[['姓名;甲', '备注\"乙\"'], ['张三', 'a'], ['李四', 'a;b\\r\\n\"c\";\\nd'], ['王五', 'x\"y']]\n"));
}

TEST(ExportAsText, IntegersBeyond32BitsAndTheirSumsAreWrittenWhole) {
  TGridOutputForm f;
  f.Connection.ExecuteSql("UPDATE pay SET qty = 123456789012 WHERE id = 1");
  f.Query.Close();
  f.Query.Open();
  f.SetColumns({{"name", "姓名"}, {"qty", "数量"}});
  f.Bind();
  f.Grid->SetFooterRowCount(1);
  f.Column(1)->Footer()->SetValueType(fvtSum);
  EXPECT_EQ(f.Export<TDBGridXExportAsText>(),
            StringToGbk(QStringLiteral("姓名\t数量\r\n张三\t123456789012\r\n李四\t\r\n王五\t6\r\n\t123456789018")));
}

TEST(ExportAsUnicodeText, PythonDecodesTheUtf16) {
  TGridOutputForm f;
  f.SetColumns({{"name", "姓名"}});
  f.Bind();
  const QString file = f.File(QStringLiteral("grid.txt"));
  ExportGridToFile(ExportClassOf<TDBGridXExportAsUnicodeText>(), f.Grid, file, true);
  const QString script = QStringLiteral("import sys\nprint(open(sys.argv[1], 'rb').read().decode('utf-16-le').split('\\r\\n'))\n");
  EXPECT_EQ(RunPython(script, {file}), QStringLiteral("['姓名', '张三', '李四', '王五']\n"));
}

TEST(ExportAsText, TheCentresSwitchWritesNumericColumnsAsTheirEditText) {
  TGridOutputForm f;
  f.SetColumns({{"name", "姓名"}, {"base", "工资"}, {"qty", "数量"}});
  f.Bind();
  static_cast<TNumericField*>(f.Query.FieldByName("base"))->SetDisplayFormat(QStringLiteral("#,##0.00"));
  static_cast<TNumericField*>(f.Query.FieldByName("base"))->SetEditFormat(QStringLiteral("0.0#"));
  static_cast<TNumericField*>(f.Query.FieldByName("qty"))->SetEditFormat(QStringLiteral("0.0"));
  const String shown = QStringLiteral("张三\t1,000.50\t4\r\n李四\t\t\r\n王五\t3,000.00\t6");
  const String edited = QStringLiteral("张三\t1000.5\t4.0\r\n李四\t\t\r\n王五\t3000.0\t6.0");
  const String csv = QStringLiteral("\"张三\";\"1,000.50\";\"4\"\r\n\"李四\";\"\";\"\"\r\n\"王五\";\"3,000.00\";\"6\"");
  f.Grid->SetOptions(f.Grid->Options() - TDBGridOptions{dgTitles});
  TScopeGuard switchOff([] { DBGridXCenter().ExportNumbersAsEditText = false; });
  for (bool editText : {false, true}) {
    DBGridXCenter().ExportNumbersAsEditText = editText;
    const String& text = editText ? edited : shown;
    EXPECT_EQ(f.Export<TDBGridXExportAsText>(), StringToGbk(text)) << editText;
    EXPECT_EQ(f.Export<TDBGridXExportAsUnicodeText>(), StringToUtf16LE(text)) << editText;
    EXPECT_EQ(f.Export<TDBGridXExportAsCSV>(), StringToGbk(csv)) << "CSV writes what the grid shows";
  }
}
