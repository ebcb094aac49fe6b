#include "GridOutputFixture.h"
#include "platform/rtl/Encodings.h"
#include <QJsonArray>
#include <QJsonDocument>

using namespace gridouttest;

namespace {

QByteArray Hex(const char* Text) { return QByteArray::fromHex(QByteArray(Text).replace(' ', "")); }

QByteArray Le32(qint32 Value) {
  QByteArray out(4, '\0');
  for (int i = 0; i < 4; ++i) out[i] = char((quint32(Value) >> (8 * i)) & 0xFF);
  return out;
}

// The records of a two-column stream: an integer and an ANSI string cell each.
QByteArray IntegerAndAnsiRecords(std::initializer_list<std::pair<qint32, const char*>> Records, char Version = 1) {
  QByteArray out = QByteArray("GRIDBIF") + Version + Le32(2) + Hex("01 00 01 00");
  for (const auto& [number, text] : Records) {
    const QByteArray ansi = StringToGbk(QString::fromUtf8(text));
    out += '\x03' + Le32(number) + '\x05' + Le32(qint32(ansi.size())) + ansi;
  }
  return out + '\0';
}

}  // namespace

TEST(Gridbif, ExportWritesTaggedFieldValues) {
  TGridOutputForm f;
  f.SetColumns({{"qty", "数量"}, {"name", "姓名"}, {"base", "工资"}});
  f.Bind();
  const QByteArray bytes = f.Export<TDBGridXExportAsGRIDBIF>();
  QByteArray expected = QByteArray("GRIDBIF\x01", 8) + Le32(3) + Hex("01 00 01 00 01 00");
  auto wide = [](const char* Text) {
    const QByteArray units = StringToUtf16LE(QString::fromUtf8(Text));
    return '\x07' + Le32(qint32(units.size())) + units;
  };
  auto number = [](double Value) {
    QByteArray out(1, '\x04');
    out.append(reinterpret_cast<const char*>(&Value), 8);
    return out;
  };
  expected += '\x03' + Le32(4) + wide("张三") + number(1000.5);
  expected += QByteArray("\x02", 1) + wide("李四") + QByteArray("\x02", 1);
  expected += '\x03' + Le32(6) + wide("王五") + number(3000);
  expected += '\0';
  EXPECT_EQ(bytes.toHex(' '), expected.toHex(' '));
}

TEST(Gridbif, AnIndependentPythonReaderReadsOurExport) {
  TGridOutputForm f;
  f.SetColumns({{"id", "id"}, {"name", "姓名"}, {"base", "工资"}, {"note", "备注"}});
  f.Bind();
  const QString file = f.File(QStringLiteral("grid.gridbif"));
  ExportGridToFile(ExportClassOf<TDBGridXExportAsGRIDBIF>(), f.Grid, file, true);
  const QString reader = QString::fromUtf8(qgetenv("MOLI_SOURCE_DIR")) + QStringLiteral("/gridout/tests/gridbif_reader.py");
  const QString out = RunPython(
      QStringLiteral("import runpy, sys; sys.argv = sys.argv[1:]; runpy.run_path(sys.argv[0], run_name='__main__')"),
      {reader, file});
  const QJsonDocument doc = QJsonDocument::fromJson(out.toUtf8());
  ASSERT_TRUE(doc.isObject()) << out.toStdString();
  EXPECT_EQ(doc[QStringLiteral("columns")].toInt(), 4);
  const QJsonArray cells = doc[QStringLiteral("cells")].toArray();
  ASSERT_EQ(cells.size(), 12);
  EXPECT_EQ(cells[0].toInt(), 1);
  EXPECT_EQ(cells[1].toString(), QStringLiteral("张三"));
  EXPECT_DOUBLE_EQ(cells[2].toDouble(), 1000.5);
  EXPECT_TRUE(cells[6].isNull());
  EXPECT_EQ(cells[11].toString(), QStringLiteral("x\"y"));
}

TEST(Gridbif, ReadsTheFormatsByteExampleIntoTheGridIncludingVersionTwo) {
  for (const char version : {'\x01', '\x02'}) {
    TGridOutputForm f;
    f.SetColumns({{"qty", "数量"}, {"name", "姓名"}});
    f.Bind();
    f.Grid->Selection()->SelectAllCells();
    f.Import<TDBGridXImportAsGRIDBIF>(IntegerAndAnsiRecords({{7, "甲"}, {8, "乙"}, {9, "丙"}}, version));
    EXPECT_EQ(f.Values("qty"), QStringList({"7", "8", "9"}));
    EXPECT_EQ(f.Values("name"), QStringList({QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙")}));
  }
}

TEST(Gridbif, MalformedStreamsAreTheFormatErrorAndReadNothingBeyondThem) {
  const QByteArray good = IntegerAndAnsiRecords({{1, "a"}});
  struct Case { const char* name; QByteArray bytes; };
  QByteArray oddWide = QByteArray("GRIDBIF\x01", 8) + Le32(1) + Hex("01 00") + '\x07' + Le32(3) + "abc" + '\0';
  QByteArray negative = QByteArray("GRIDBIF\x01", 8) + Le32(1) + Hex("01 00") + '\x05' + Le32(-1) + '\0';
  QByteArray huge = QByteArray("GRIDBIF\x01", 8) + Le32(1) + Hex("01 00") + '\x06' + Le32(0x7FFFFFFF) + "xy";
  for (const Case& c : std::initializer_list<Case>{
         {"short head", good.left(11)},
         {"wrong signature", QByteArray("GRIDBIX") + good.mid(7)},
         {"negative column count", QByteArray("GRIDBIF\x01", 8) + Le32(-5)},
         {"more columns than bytes", QByteArray("GRIDBIF\x01", 8) + Le32(1000000) + Hex("01 00")},
         {"descriptor without its end", QByteArray("GRIDBIF\x01", 8) + Le32(1) + Hex("01 41 42")},
         {"no end mark", good.left(good.size() - 1)},
         {"short integer", good.left(18)},
         {"odd wide count", oddWide},
         {"negative count", negative},
         {"count beyond the stream", huge},
         {"cells without columns", QByteArray("GRIDBIF\x01", 8) + Le32(0) + Hex("02 02 00")}}) {
    TGridOutputForm f;
    f.SetColumns({{"qty", "数量"}, {"name", "姓名"}});
    f.Bind();
    f.Grid->Selection()->SelectAllCells();
    try {
      f.Import<TDBGridXImportAsGRIDBIF>(c.bytes);
      ADD_FAILURE() << c.name << ": no error";
    } catch (const EGridbifFormatError& e) {
      EXPECT_EQ(e.Message(), QStringLiteral("TDBGridXImportAsGRIDBIF.ReadPrefix: 不合法的 GRIDBIF 格式")) << c.name;
    }
  }
}

TEST(Gridbif, NullsClearUnassignedCellsKeepAndDatesComeBackAsTheSameDay) {
  TGridOutputForm f;
  f.SetColumns({{"hired", "日期"}, {"qty", "数量"}, {"note", "备注"}});
  f.Bind();
  const TDateTime hired = f.Query.FieldByName(QStringLiteral("hired"))->AsDateTime();
  f.Grid->SetSelectedIndex(0);
  QByteArray bytes = QByteArray("GRIDBIF\x01", 8) + Le32(3) + Hex("01 00 01 00 01 00");
  double when = hired + 1;
  bytes += '\x04' + QByteArray(reinterpret_cast<const char*>(&when), 8) + QByteArray("\x02\x01", 2) + '\0';
  f.Import<TDBGridXImportAsGRIDBIF>(bytes);
  f.Query.First();
  EXPECT_DOUBLE_EQ(f.Query.FieldByName(QStringLiteral("hired"))->AsDateTime(), hired + 1);
  EXPECT_TRUE(f.Query.FieldByName(QStringLiteral("qty"))->IsNull());
  EXPECT_EQ(f.Query.FieldByName(QStringLiteral("note"))->AsString(), QStringLiteral("a"));
}
