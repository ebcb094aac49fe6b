// Paragraph formatting of rich text: alignment, indents and spacing read, written, checked
// by an independent reader and honoured when the text is laid out on a page.
#include "platform/testing/TestPaths.h"
#include "platform/ui/RichEdit.h"
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {

QFont DefaultFont() {
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setPointSize(10);
  return f;
}

// A paragraph's formatting: alignment and, in twips, left, right and first-line indents,
// space before and after.
struct TParagraph {
  QString Text;
  Qt::Alignment Alignment;
  Integer Left, Right, First, Before, After;
  friend bool operator==(const TParagraph&, const TParagraph&) = default;
};

std::ostream& operator<<(std::ostream& Out, const TParagraph& P) {
  return Out << P.Text.toStdString() << " align " << int(P.Alignment) << " li " << P.Left << " ri " << P.Right
             << " fi " << P.First << " sb " << P.Before << " sa " << P.After;
}

std::vector<TParagraph> Paragraphs(const QTextDocument& Doc) {
  std::vector<TParagraph> paragraphs;
  const auto twips = [](qreal Points) { return Integer(qRound(Points * 20)); };
  for (QTextBlock b = Doc.begin(); b.isValid(); b = b.next()) {
    const QTextBlockFormat f = b.blockFormat();
    paragraphs.push_back({b.text(), f.alignment() & Qt::AlignHorizontal_Mask, twips(f.leftMargin()),
                          twips(f.rightMargin()), twips(f.textIndent()), twips(f.topMargin()),
                          twips(f.bottomMargin())});
  }
  return paragraphs;
}

// Paragraph properties hold for the paragraph mark they reach and are kept per group, as
// other writers rely on.
const QByteArray Sample =
    "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 DejaVu Sans;}}\n"
    "\\pard\\qc\\sb240\\sa120 Title\\par\n"
    "\\pard\\qr\\li720\\ri360 Right\\par\n"
    "{\\pard\\qj\\li1440\\fi-720 Justified in a group\\par}\n"
    "After the group\\par\n"
    "\\pard\\fi360\\qc changed before its mark\\ql\\par\n"
    "\\pard Last}";

const std::vector<TParagraph> SampleParagraphs = {
    {QStringLiteral("Title"), Qt::AlignHCenter, 0, 0, 0, 240, 120},
    {QStringLiteral("Right"), Qt::AlignRight, 720, 360, 0, 0, 0},
    {QStringLiteral("Justified in a group"), Qt::AlignJustify, 1440, 0, -720, 0, 0},
    {QStringLiteral("After the group"), Qt::AlignRight, 720, 360, 0, 0, 0},
    {QStringLiteral("changed before its mark"), Qt::AlignLeft, 0, 0, 360, 0, 0},
    {QStringLiteral("Last"), Qt::AlignLeft, 0, 0, 0, 0, 0},
};

QString RunTool(const QString& Program, const QStringList& Args) {
  QProcess p;
  p.start(Program, Args);
  if (!p.waitForFinished(60000) || p.exitCode() != 0) return QStringLiteral("<failed>");
  return QString::fromUtf8(p.readAllStandardOutput());
}

}  // namespace

TEST(RichTextParagraphs, AlignmentIndentsAndSpacingReadAndWriteBack) {
  QTextDocument doc;
  ReadRichText(Sample, &doc, DefaultFont());
  EXPECT_EQ(Paragraphs(doc), SampleParagraphs);

  const QByteArray written = WriteRichText(&doc, DefaultFont());
  QTextDocument back;
  ReadRichText(written, &back, DefaultFont());
  EXPECT_EQ(Paragraphs(back), SampleParagraphs) << written.toStdString();
  EXPECT_EQ(WriteRichText(&back, DefaultFont()), written);
}

TEST(RichTextParagraphs, AnIndependentReaderKeepsTheAlignment) {
  QTextDocument doc;
  ReadRichText(Sample, &doc, DefaultFont());
  moli::testing::ScratchDir dir;
  QFile file(dir.File("paragraphs.rtf"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(WriteRichText(&doc, DefaultFont()));
  file.close();
  QString html = RunTool(QStringLiteral("unrtf"), {QStringLiteral("--html"), file.fileName()});
  html.remove(QRegularExpression(QStringLiteral("<font[^>]*>|</font>|\\s")));
  for (const char* expected : {"<center>Title<br></center>", "<divalign=\"right\">Right<br></div>",
                               "<divalign=\"justify\">Justifiedinagroup<br></div>"})
    EXPECT_TRUE(html.contains(QString::fromUtf8(expected))) << expected << "\n" << html.toStdString();
}

// Laid out on a page, each paragraph takes its place from its formatting.
TEST(RichTextParagraphs, PagesPlaceParagraphsByTheirFormatting) {
  TRichEdit edit(nullptr);
  edit.Font()->SetName(QStringLiteral("DejaVu Sans"));
  edit.Font()->SetSize(10);
  TMemoryStream stream;
  stream.Write(Sample.constData(), Integer(Sample.size()));
  stream.SetPosition(0);
  edit.StreamIn(&stream, sfRichText);
  // 144 dots per inch: a twip is a tenth of a dot.
  TBitmap page(800, 600);
  page.Canvas()->Brush()->SetColor(clWhite);
  page.Canvas()->FillRect(TRect(0, 0, 800, 600));
  TFormatRange r;
  r.Canvas = page.Canvas();
  r.PixelsPerInchX = r.PixelsPerInchY = 144;
  r.Rect = TRect(100, 50, 700, 590);
  const TFormatRangeResult placed = edit.FormatRange(r);
  EXPECT_EQ(placed.Next, edit.TextLength());

  // The ink of each text line: its rows and leftmost and rightmost columns.
  const QImage image = page.Image();
  struct TInk { int Top, Bottom, Left, Right; };
  std::vector<TInk> lines;
  bool inLine = false;
  for (int y = 0; y < image.height(); ++y) {
    int left = -1, right = -1;
    for (int x = 0; x < image.width(); ++x)
      if (qGray(image.pixel(x, y)) < 160) {
        if (left < 0) left = x;
        right = x;
      }
    if (left >= 0 && !inLine) lines.push_back({y, y, left, right});
    if (left >= 0) {
      TInk& line = lines.back();
      line.Bottom = y;
      line.Left = std::min(line.Left, left);
      line.Right = std::max(line.Right, right);
    }
    inLine = left >= 0;
  }
  ASSERT_EQ(lines.size(), SampleParagraphs.size());
  const int centre = (r.Rect.Left + r.Rect.Right) / 2;
  EXPECT_NEAR((lines[0].Left + lines[0].Right) / 2, centre, 3) << "centred";
  EXPECT_GE(lines[0].Top, r.Rect.Top + 24) << "12 points before the title";
  EXPECT_NEAR(lines[1].Right, r.Rect.Right - 36, 3) << "right-aligned against an 18-point right indent";
  EXPECT_NEAR(lines[3].Right, r.Rect.Right - 36, 3) << "the group's formatting ended with it";
  EXPECT_NEAR(lines[2].Left, r.Rect.Left + 144 - 72, 3) << "a hanging first line";
  EXPECT_NEAR(lines[4].Left, r.Rect.Left + 36, 3) << "a first-line indent";
  EXPECT_NEAR(lines[5].Left, r.Rect.Left, 3);
  const int lineGap = lines[5].Top - lines[4].Top;
  EXPECT_NEAR(lines[1].Top - lines[0].Top, lineGap + 12, 3) << "6 points after the title";
}
