#include "GridOutputFixture.h"
#include "gridout/RtfText.h"
#include <QRegularExpression>

using namespace gridouttest;

namespace {

QString Rtf(TGridOutputForm& Form, bool WholeGrid = true) {
  return QString::fromLatin1(Form.Export<TDBGridXExportAsRTF>(WholeGrid));
}

// Per table row: the edges each cell draws ("ltbr" letters) and each cell's text.
struct TRow {
  QStringList Edges;
  QStringList Texts;
};

std::vector<TRow> Rows(const QString& Rtf) {
  std::vector<TRow> rows;
  for (const QString& part : Rtf.split(QStringLiteral("\\trowd")).mid(1)) {
    TRow row;
    const QString defs = part.left(part.indexOf(QStringLiteral("{\\trrh0")));
    for (const QString& cell : defs.split(QStringLiteral("\\cellx")).mid(0, defs.count(QStringLiteral("\\cellx")))) {
      QString edges;
      for (const char* e : {"l", "t", "b", "r"})
        if (cell.contains(QStringLiteral("\\clbrdr") + QLatin1String(e))) edges += QLatin1String(e);
      row.Edges << edges;
    }
    auto it = QRegularExpression(QStringLiteral("\\\\cb\\d+ ([^\\r]*)\\\\cell\\}")).globalMatch(part);
    while (it.hasNext()) row.Texts << it.next().captured(1);
    rows.push_back(row);
  }
  return rows;
}

}  // namespace

TEST(RtfText, EscapesAndWritesChineseAsUnicodeWithItsCodePageBytes) {
  struct Case { const char* text; const char* rtf; };
  for (const Case& c : std::initializer_list<Case>{
         {"a\\b{c}", "a\\\\b\\{c\\}"},
         {"  lead", "  lead"},
         {"张", "{\\uc2\\u24352\\'d5\\'c5}"},
         {"😀", "{\\uc1\\u-10179?}{\\uc1\\u-8704?}"}})
    EXPECT_EQ(RtfEscapedText(QString::fromUtf8(c.text)), QByteArray(c.rtf)) << c.text;
  EXPECT_EQ(RtfColorKey(clBlack), QStringLiteral("  0  0  0"));
  EXPECT_EQ(RtfColorKey(TColor(0x0080FF)), QStringLiteral("255128  0"));
}

TEST(ExportAsRtf, DefaultColoursWidthsInTwipsAndCellTexts) {
  TGridOutputForm f;
  f.SetColumns({{"name", "姓名"}, {"note", "a\\b"}});
  f.Bind();
  f.Column(0)->SetWidth(64);
  f.Column(1)->SetWidth(100);
  const QString rtf = Rtf(f);
  EXPECT_TRUE(rtf.startsWith(QStringLiteral("{\\rtf0\\ansi\\ansicpg936\r\n{\\colortbl\\red0\\green0\\blue0;"
                                            "\\red255\\green255\\blue255;\\red192\\green192\\blue192;}\r\n{\\fonttbl\\f0\\fnil ")))
      << rtf.left(200).toStdString();
  EXPECT_TRUE(rtf.endsWith(QStringLiteral("\\pard\\intbl\\row}\r\n}")));
  EXPECT_TRUE(rtf.contains(QStringLiteral("\\cellx960\r\n")));
  EXPECT_TRUE(rtf.contains(QStringLiteral("\\cellx2460\r\n")));
  EXPECT_FALSE(rtf.contains(QStringLiteral("\\clshdng")));
  EXPECT_TRUE(rtf.contains(QStringLiteral("\\cf0\\cb1 ")));
  const std::vector<TRow> rows = Rows(rtf);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].Texts, QStringList({QStringLiteral("{\\uc2\\u22995\\'d0\\'d5}{\\uc2\\u21517\\'c3\\'fb}"),
                                        QStringLiteral("a\\\\b")}));
  EXPECT_EQ(rows[3].Texts[1], QStringLiteral("x\"y"));
  EXPECT_EQ(rows[1].Edges, QStringList({QStringLiteral("ltbr"), QStringLiteral("ltbr")}));
}

TEST(ExportAsRtf, MultiLevelTitlesMergeBandsByLeavingOutInnerBorders) {
  TGridOutputForm f;
  f.SetColumns({{"name", "G|A"}, {"base", "G|B"}, {"qty", "C"}});
  f.Grid->SetUseMultiTitle(true);
  f.Bind();
  const std::vector<TRow> rows = Rows(Rtf(f));
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[0].Edges, QStringList({QStringLiteral("ltb"), QStringLiteral("tbr"), QStringLiteral("ltr")}));
  EXPECT_EQ(rows[0].Texts, QStringList({QStringLiteral("G"), QString(), QStringLiteral("C")}));
  EXPECT_EQ(rows[1].Edges, QStringList({QStringLiteral("ltbr"), QStringLiteral("ltbr"), QStringLiteral("lbr")}));
  EXPECT_EQ(rows[1].Texts, QStringList({QStringLiteral("A"), QStringLiteral("B"), QString()}));
}

TEST(ExportAsRtf, TheCurrentCellAloneIsOneRowOfOneCellAndUnrtfReadsIt) {
  TGridOutputForm f;
  f.SetColumns({{"name", "姓名"}, {"base", "工资"}});
  f.Bind();
  f.Grid->SetFooterRowCount(1);
  const std::vector<TRow> rows = Rows(Rtf(f, false));
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].Edges.size(), 1);

  const QString file = f.File(QStringLiteral("grid.rtf"));
  ExportGridToFile(ExportClassOf<TDBGridXExportAsRTF>(), f.Grid, file, true);
  // unrtf writes the Unicode characters as numeric references in its HTML.
  QProcess unrtf;
  unrtf.start(QStringLiteral("unrtf"), {QStringLiteral("--html"), file});
  ASSERT_TRUE(unrtf.waitForFinished(30000));
  QString text = QString::fromUtf8(unrtf.readAllStandardOutput());
  const QRegularExpression reference(QStringLiteral("&#(\\d+);"));
  for (QRegularExpressionMatch m = reference.match(text); m.hasMatch(); m = reference.match(text))
    text.replace(m.capturedStart(), m.capturedLength(), QChar(m.captured(1).toInt()));
  text.remove(QRegularExpression(QStringLiteral("<[^>]*>|\\s")));
  for (const char* word : {"姓名", "工资", "张三", "李四", "王五", "1000.5"})
    EXPECT_TRUE(text.contains(QString::fromUtf8(word))) << word << "\n" << text.toStdString();
}
