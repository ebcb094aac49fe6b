#include "GridOutputFixture.h"
#include "gridout/BiffRecords.h"
#include "platform/rtl/Encodings.h"
#include <QJsonArray>
#include <QJsonDocument>

using namespace gridouttest;

namespace {

QByteArray Hex(const char* Text) { return QByteArray::fromHex(QByteArray(Text).replace(' ', "")); }

template <typename F>
QByteArray Written(F Write) {
  TByteBuffer out;
  Write(out);
  return QByteArray(out.Data(), qsizetype(out.Size()));
}

// The sheet as xlrd reads it: per row, per cell [type, value].
QJsonArray ReadWithXlrd(const QString& FileName) {
  const QString script = QStringLiteral(
      "import sys, json, xlrd\n"
      "s = xlrd.open_workbook(sys.argv[1]).sheet_by_index(0)\n"
      "print(json.dumps([[[s.cell_type(r, c), s.cell_value(r, c)] for c in range(s.ncols)] for r in range(s.nrows)]))\n");
  const QString out = RunPython(script, {FileName});
  const QJsonDocument doc = QJsonDocument::fromJson(out.toUtf8());
  EXPECT_TRUE(doc.isArray()) << out.toStdString();
  return doc.array();
}

}  // namespace

TEST(BiffRecords, CellRecordsHaveTheirFixedLayouts) {
  struct Case { const char* name; QByteArray bytes; const char* expected; };
  for (const Case& c : std::initializer_list<Case>{
         {"bof and code page", Written([](TByteBuffer& s) { BiffRecords::WriteBof(s); BiffRecords::WriteCodePage(s); }),
          "09 08 08 00 00 00 10 00 00 00 00 00 42 00 02 00 A8 03"},
         {"eof", Written([](TByteBuffer& s) { BiffRecords::WriteEof(s); }), "0A 00 00 00"},
         {"rk 7", Written([](TByteBuffer& s) { BiffRecords::WriteRk(s, 1, 2, 7); }), "7E 02 0A 00 01 00 02 00 00 00 1E 00 00 00"},
         {"rk -1", Written([](TByteBuffer& s) { BiffRecords::WriteRk(s, 0, 0, -1); }), "7E 02 0A 00 00 00 00 00 00 00 FE FF FF FF"},
         {"blank has xf 23", Written([](TByteBuffer& s) { BiffRecords::WriteBlank(s, 3, 1); }), "01 02 06 00 03 00 01 00 17 00"},
         {"number", Written([](TByteBuffer& s) { BiffRecords::WriteNumber(s, 0, 1, 1234.5); }),
          "03 02 0E 00 00 00 01 00 00 00 00 00 00 00 00 4A 93 40"},
         {"label", Written([](TByteBuffer& s) { BiffRecords::WriteLabel(s, 2, 0, StringToGbk(QStringLiteral("张三"))); }),
          "04 02 0C 00 02 00 00 00 00 00 04 00 D5 C5 C8 FD"}})
    EXPECT_EQ(c.bytes.toHex(' '), Hex(c.expected).toHex(' ')) << c.name;
}

TEST(BiffRecords, RkHoldsThirtyBitIntegersOnly) {
  struct Case { Int64 value; bool fits; };
  for (const Case& c : std::initializer_list<Case>{
         {0, true}, {536870911, true}, {536870912, false}, {-536870912, true}, {-536870913, false}})
    EXPECT_EQ(BiffRecords::FitsRk(c.value), c.fits) << c.value;
}

TEST(BiffRecords, ALabelTooLongForOneRecordIsCutAtACharacterBoundary) {
  struct Case { QByteArray text; qsizetype kept; };
  const QByteArray wide = StringToGbk(QString(40000, QChar(0x4E2D)));  // 80 000 bytes of two-byte characters
  for (const Case& c : std::initializer_list<Case>{{"a" + wide, 65527}, {wide, 65526}, {QByteArray(70000, 'x'), 65527}}) {
    const QByteArray record = Written([&](TByteBuffer& s) { BiffRecords::WriteLabel(s, 0, 0, c.text); });
    const Word recordLength = Word(uchar(record[2]) | uchar(record[3]) << 8);
    const Word textLength = Word(uchar(record[10]) | uchar(record[11]) << 8);
    EXPECT_EQ(textLength, c.kept);
    EXPECT_EQ(recordLength, 8 + c.kept);
    EXPECT_EQ(record.mid(12), c.text.left(c.kept));
  }
}

TEST(ExportAsXls, XlrdReadsTitlesValuesBlanksAndFooterNumbers) {
  TGridOutputForm f;
  f.SetColumns({{"name", "姓名"}, {"base", "工资|基本"}, {"qty", "数量"}, {"hired", "日期"}});
  f.Bind();
  f.Grid->SetFooterRowCount(1);
  f.Column(0)->Footer()->SetValueType(fvtStaticText);
  f.Column(0)->Footer()->SetValue(QStringLiteral("合计"));
  f.Column(1)->Footer()->SetValueType(fvtSum);
  f.Column(2)->Footer()->SetValueType(fvtCount);
  const QString file = f.File(QStringLiteral("grid.xls"));
  ExportGridToFile(ExportClassOf<TDBGridXExportAsXLS>(), f.Grid, file, true);

  const QJsonArray rows = ReadWithXlrd(file);
  ASSERT_EQ(rows.size(), 5);
  auto cell = [&](int r, int c) { return rows[r].toArray()[c].toArray(); };
  const QStringList titles{QStringLiteral("姓名"), QStringLiteral("工资|基本"), QStringLiteral("数量"), QStringLiteral("日期")};
  for (int c = 0; c < 4; ++c) EXPECT_EQ(cell(0, c)[1].toString(), titles[c]);
  EXPECT_EQ(cell(1, 0)[1].toString(), QStringLiteral("张三"));
  EXPECT_EQ(cell(1, 1)[0].toInt(), 2);
  EXPECT_DOUBLE_EQ(cell(1, 1)[1].toDouble(), 1000.5);
  EXPECT_DOUBLE_EQ(cell(1, 2)[1].toDouble(), 4);
  EXPECT_EQ(cell(1, 3)[0].toInt(), 1);  // a date goes as its display text
  for (int c = 1; c < 4; ++c) EXPECT_TRUE(cell(2, c)[0].toInt() == 0 || cell(2, c)[0].toInt() == 6) << c;
  EXPECT_DOUBLE_EQ(cell(3, 2)[1].toDouble(), 6);
  EXPECT_EQ(cell(4, 0)[1].toString(), QStringLiteral("合计"));
  EXPECT_EQ(cell(4, 1)[0].toInt(), 2);
  EXPECT_DOUBLE_EQ(cell(4, 1)[1].toDouble(), 4000.5);
  EXPECT_DOUBLE_EQ(cell(4, 2)[1].toDouble(), 3);  // the null counts too
}

TEST(ExportAsXls, TheCurrentCellAloneIsOneRecordAtTheOrigin) {
  TGridOutputForm f;
  f.SetColumns({{"name", "姓名"}, {"qty", "数量"}});
  f.Bind();
  f.Grid->SetSelectedIndex(1);
  const QByteArray bytes = f.Export<TDBGridXExportAsXLS>(false);
  EXPECT_EQ(bytes.toHex(' '), Hex("09 08 08 00 00 00 10 00 00 00 00 00 42 00 02 00 A8 03 "
                                  "7E 02 0A 00 00 00 00 00 00 00 12 00 00 00 0A 00 00 00").toHex(' '));
}

TEST(ExportAsXls, MoreRowsThanTheFormatHoldsAreRefusedBeforeAnythingIsWritten) {
  TGridOutputForm f;
  f.Connection.ExecuteSql("WITH RECURSIVE n(i) AS (SELECT 4 UNION ALL SELECT i + 1 FROM n WHERE i < 65536) "
                          "INSERT INTO pay (id, name) SELECT i, 'r' FROM n");
  f.Query.Close();
  f.Query.Open();
  f.SetColumns({{"id", "id"}});
  f.Bind();
  const QString file = f.File(QStringLiteral("kept.xls"));
  {
    QFile existing(file);
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("earlier");
  }
  // 65 536 records and the title row.
  EXPECT_THROW(ExportGridToFile(ExportClassOf<TDBGridXExportAsXLS>(), f.Grid, file, true), Exception);
  QFile kept(file);
  ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
  EXPECT_EQ(kept.readAll(), QByteArray("earlier"));
  TMemoryStream stream;
  EXPECT_THROW(ExportGridToStream(ExportClassOf<TDBGridXExportAsXLS>(), f.Grid, &stream, true), Exception);
  EXPECT_EQ(stream.Size(), 0);

  f.Grid->SetOptions(f.Grid->Options() - TDBGridOptions{dgTitles});
  EXPECT_NO_THROW(ExportGridToStream(ExportClassOf<TDBGridXExportAsXLS>(), f.Grid, &stream, true));
}
