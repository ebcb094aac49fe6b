#include "platform/office/XlsxSheetText.h"
#include "platform/office/XlsxWriter.h"
#include "platform/testing/TestPaths.h"
#include "WorkbookTestSupport.h"
#include <QFile>
#include <gtest/gtest.h>

namespace {
QString U(const char* Text) { return QString::fromUtf8(Text); }
}  // namespace

TEST(XlsxWriter, WritesTextCellsFormatsAndMergedRanges) {
  moli::testing::ScratchDir Dir;
  const QString Name = Dir.File(U("分组.xlsx"));
  {
    TXlsxWriter Writer(Name);
    TXlsxCellFormat Header;
    Header.Bold = Header.Wrap = Header.Centre = Header.CentreVertically = Header.ThinBorder = true;
    Header.FontName = U("宋体");
    Writer.Merge(0, 0, 1, 0, U("姓名"), Header);
    Writer.Merge(0, 1, 0, 2, U("应发工资"), Header);
    Writer.Write(1, 1, U("基本工资"), Header);
    Writer.Write(1, 2, U("合计"), Header);
    Writer.Write(2, 0, U("张三"));
    Writer.Write(2, 1, QStringLiteral("3500"));
    Writer.Close();
  }
  const QByteArray Sheet = XlsxPart(Name, QStringLiteral("xl/worksheets/sheet1.xml"));
  EXPECT_TRUE(Sheet.contains("<mergeCell ref=\"A1:A2\"/>")) << Sheet.constData();
  EXPECT_TRUE(Sheet.contains("<mergeCell ref=\"B1:C1\"/>"));
  const QStringList Strings = ReadSharedStrings(XlsxPart(Name, QStringLiteral("xl/sharedStrings.xml")));
  for (const char* Text : {"姓名", "应发工资", "基本工资", "合计", "张三", "3500"}) EXPECT_TRUE(Strings.contains(U(Text))) << Text;
  const QByteArray Styles = XlsxPart(Name, QStringLiteral("xl/styles.xml"));
  EXPECT_TRUE(Styles.contains(U("<name val=\"宋体\"/>").toUtf8()));
  EXPECT_TRUE(Styles.contains("wrapText=\"1\""));
  EXPECT_TRUE(Styles.contains("<b/>"));
}

TEST(XlsxWriter, FailuresRaiseAndAnAbandonedWorkbookLeavesNoFile) {
  moli::testing::ScratchDir Dir;
  TXlsxWriter Missing(Dir.File(QStringLiteral("no/such/folder/x.xlsx")));
  Missing.Write(0, 0, QStringLiteral("x"));
  EXPECT_THROW(Missing.Close(), EWorkbookError);

  const QString Abandoned = Dir.File(QStringLiteral("abandoned.xlsx"));
  {
    TXlsxWriter Writer(Abandoned);
    Writer.Write(0, 0, QStringLiteral("x"));
    EXPECT_THROW(Writer.Merge(1, 1, 1, 1, QStringLiteral("one cell")), EWorkbookError);
  }
  EXPECT_FALSE(QFile::exists(Abandoned));
}

TEST(XlsxSheetText, RewritesTextCellsBelowTheFirstRowInlineKeepingStyles) {
  const QStringList Shared{QStringLiteral("[Title]"), QStringLiteral("[Name] / [Code]"), QStringLiteral("x")};
  const QByteArray Sheet =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
      "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
      "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheetData>"
      "<row r=\"1\"><c r=\"A1\" s=\"1\" t=\"s\"><v>0</v></c></row>"
      "<row r=\"2\" spans=\"1:3\"><c r=\"A2\" s=\"2\" t=\"s\"><v>1</v></c><c r=\"B2\" s=\"3\"><v>12.5</v></c>"
      "<c r=\"C2\" t=\"inlineStr\"><is><t>[Title]&amp;</t></is></c><c r=\"D2\" t=\"str\"><f>A1</f><v>[Title]</v></c></row>"
      "</sheetData><mergeCells count=\"1\"><mergeCell ref=\"A2:A3\"/></mergeCells></worksheet>";
  const QByteArray Out = RewriteSheetTexts(Sheet, Shared, 2, [](const String& Text) {
    return String(Text).replace(QStringLiteral("[Name]"), U("张三")).replace(QStringLiteral("[Title]"), QStringLiteral("<T>"));
  });
  const QString Text = QString::fromUtf8(Out);
  EXPECT_TRUE(Text.contains(QStringLiteral("<c r=\"A1\" s=\"1\" t=\"s\"><v>0</v></c>"))) << Out.constData();
  EXPECT_TRUE(Text.contains(U("<c r=\"A2\" s=\"2\" t=\"inlineStr\"><is><t xml:space=\"preserve\">张三 / [Code]</t></is></c>")));
  EXPECT_TRUE(Text.contains(QStringLiteral("<c r=\"B2\" s=\"3\"><v>12.5</v></c>")));
  EXPECT_TRUE(Text.contains(QStringLiteral("<t xml:space=\"preserve\">&lt;T&gt;&amp;</t>")));
  EXPECT_TRUE(Text.contains(QStringLiteral("<f>A1</f><v>[Title]</v>")));
  EXPECT_TRUE(Text.contains(QStringLiteral("<mergeCell ref=\"A2:A3\"/>")));
  EXPECT_TRUE(Text.contains(QStringLiteral("xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"")));

  EXPECT_THROW(RewriteSheetTexts("<worksheet><row r=\"2\"><c r=\"A2\" t=\"s\"><v>7</v></c></row></worksheet>", Shared, 1,
                                 [](const String& T) { return T; }),
               EWorkbookError);
  EXPECT_THROW(RewriteSheetTexts("<worksheet><row>", Shared, 1, [](const String& T) { return T; }), EWorkbookError);
}
