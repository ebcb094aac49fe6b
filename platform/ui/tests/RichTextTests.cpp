#include "platform/rtl/Encodings.h"
#include "platform/testing/TestPaths.h"
#include "platform/ui/Forms.h"
#include "platform/ui/RichEdit.h"
#include <QFile>
#include <QProcess>
#include <QElapsedTimer>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <gtest/gtest.h>

namespace {

const QFont DefaultFont() {
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setPointSize(10);
  return f;
}

QString ReadPlain(const QByteArray& Rtf) {
  QTextDocument doc;
  ReadRichText(Rtf, &doc, DefaultFont());
  return doc.toPlainText();
}

struct TRun {
  QString Text;
  QString Family;
  double Points;
  bool Bold, Italic, Underline, Strike;
  QColor Foreground, Background;
};

std::vector<TRun> Runs(const QTextDocument& Doc) {
  std::vector<TRun> runs;
  for (QTextBlock b = Doc.begin(); b.isValid(); b = b.next()) {
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextCharFormat f = it.fragment().charFormat();
      runs.push_back({it.fragment().text(), f.fontFamilies().toStringList().value(0), f.fontPointSize(),
                      f.fontWeight() >= QFont::DemiBold, f.fontItalic(), f.fontUnderline(), f.fontStrikeOut(),
                      f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color() : QColor(),
                      f.hasProperty(QTextFormat::BackgroundBrush) ? f.background().color() : QColor()});
    }
  }
  return runs;
}

// A document using every kind of formatting the format carries, Chinese included.
void FillSample(QTextDocument& Doc) {
  QTextCursor c(&Doc);
  const auto fmt = [](const char* family, double points, bool b, bool i, bool u, bool s, QColor fg, QColor bg) {
    QTextCharFormat f;
    f.setFontFamilies(QStringList{QString::fromUtf8(family)});
    f.setFontPointSize(points);
    f.setFontWeight(b ? QFont::Bold : QFont::Normal);
    f.setFontItalic(i);
    f.setFontUnderline(u);
    f.setFontStrikeOut(s);
    if (fg.isValid()) f.setForeground(fg);
    if (bg.isValid()) f.setBackground(bg);
    return f;
  };
  c.insertText(QStringLiteral("工资条 {2026} \\ "), fmt("宋体", 12, true, false, false, false, QColor(), QColor()));
  c.insertText(QStringLiteral("应发\t合计"), fmt("DejaVu Sans", 9, false, true, true, false, QColor(255, 0, 0), QColor()));
  c.insertBlock();
  c.insertText(QStringLiteral("扣款") + QChar(QChar::LineSeparator) + QStringLiteral("€ 😀 ok"),
               fmt("Noto Sans CJK SC", 10.5, false, false, false, true, QColor(0, 0, 128), QColor(255, 255, 0)));
}

QString RunTool(const QString& Program, const QStringList& Args) {
  QProcess p;
  p.start(Program, Args);
  if (!p.waitForFinished(60000) || p.exitCode() != 0) return QStringLiteral("<failed>");
  return QString::fromUtf8(p.readAllStandardOutput());
}

}  // namespace

TEST(RichText, WrittenTextReadsBackWithItsFormatting) {
  QTextDocument doc;
  FillSample(doc);
  const QByteArray rtf = WriteRichText(&doc, DefaultFont());
  EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg936"));
  for (char c : rtf) ASSERT_LT(uchar(c), 0x80) << "rich text is 7-bit";

  QTextDocument back;
  ReadRichText(rtf, &back, DefaultFont());
  EXPECT_EQ(back.toPlainText(), doc.toPlainText());
  const std::vector<TRun> expected = Runs(doc), actual = Runs(back);
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    const TRun &e = expected[i], &a = actual[i];
    EXPECT_EQ(a.Text, e.Text);
    EXPECT_EQ(a.Family, e.Family);
    EXPECT_DOUBLE_EQ(a.Points, e.Points);
    EXPECT_EQ(std::tie(a.Bold, a.Italic, a.Underline, a.Strike), std::tie(e.Bold, e.Italic, e.Underline, e.Strike)) << i;
    EXPECT_EQ(a.Foreground, e.Foreground) << i;
    EXPECT_EQ(a.Background, e.Background) << i;
  }
  // Writing what was read gives the same bytes.
  EXPECT_EQ(WriteRichText(&back, DefaultFont()), rtf);
}

TEST(RichText, AnIndependentReaderGetsTheSameText) {
  QTextDocument doc;
  FillSample(doc);
  moli::testing::ScratchDir dir;
  QFile file(dir.File("sample.rtf"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(WriteRichText(&doc, DefaultFont()));
  file.close();
  // Its HTML output carries Unicode characters as entities, which its text output cannot.
  const QString html = RunTool(QStringLiteral("unrtf"), {QStringLiteral("--html"), file.fileName()});
  const QString text = QTextDocumentFragment::fromHtml(html).toPlainText();
  for (const char* expected : {"工资条 {2026} \\", "应发", "合计", "扣款", "€ 😀 ok"})
    EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << html.toStdString();
  EXPECT_TRUE(html.contains(QStringLiteral("<b>"))) << html.toStdString();
  EXPECT_TRUE(html.contains(QStringLiteral("<i>")));
}

TEST(RichText, ReaderHandlesWhatOtherWritersProduce) {
  struct Case { const char* rtf; const char* text; };
  for (const Case& c : std::initializer_list<Case>{
         {R"({\rtf1\ansi\ansicpg936 \'b9\'a4\'d7\'ca})", "工资"},
         {R"({\rtf1\ansi{\fonttbl{\f0\fcharset134 \'cb\'ce\'cc\'e5;}}\f0 \'d6\'d0\'ce\'c4})", "中文"},
         {R"({\rtf1 \u20013?\u25991?})", "中文"},
         {R"({\rtf1 \uc2\u20013\'d6\'d0 x})", "中 x"},
         {R"({\rtf1 \uc0\u-27829 y})", "鍋y"},
         {R"({\rtf1 a{\*\unknown hidden {nested}}b{\info{\title T}}c})", "abc"},
         {R"({\rtf1{\stylesheet{\s0 Normal;}}x\par y\line z\tab w})", "x\ny\nz\tw"},
         {R"({\rtf1 \{braces\} and \\ back})", "{braces} and \\ back"},
         {R"({\rtf1 {\field{\*\fldinst HYPERLINK "u"}{\fldrslt link}} end})", "link end"},
         {"{\\rtf1 line1\r\nline2\\\nnext}", "line1line2\nnext"},
         {R"({\rtf1 {\pict\pngblip 89504e47}pic})", "pic"},
         {R"({\rtf1 \b unclosed)", "unclosed"},
       })
    EXPECT_EQ(ReadPlain(c.rtf), QString::fromUtf8(c.text)) << c.rtf;
  EXPECT_THROW(ReadPlain("plain words"), ERichTextError);
}

TEST(RichText, ReaderAppliesTheCharacterFormatting) {
  QTextDocument doc;
  ReadRichText(R"({\rtf1{\fonttbl{\f0 Arial;}{\f1 DejaVu Serif;}}{\colortbl;\red255\green0\blue0;\red0\green0\blue255;})"
               R"(\f1\fs30\b\i\ul\strike\cf1\cb2 A\plain B{\b C}D})",
               &doc, DefaultFont());
  const std::vector<TRun> runs = Runs(doc);
  ASSERT_EQ(runs.size(), 4u);
  EXPECT_EQ(runs[0].Text, QStringLiteral("A"));
  EXPECT_EQ(runs[0].Family, QStringLiteral("DejaVu Serif"));
  EXPECT_DOUBLE_EQ(runs[0].Points, 15);
  EXPECT_TRUE(runs[0].Bold && runs[0].Italic && runs[0].Underline && runs[0].Strike);
  EXPECT_EQ(runs[0].Foreground, QColor(255, 0, 0));
  EXPECT_EQ(runs[0].Background, QColor(0, 0, 255));
  EXPECT_EQ(runs[1].Family, QStringLiteral("Arial"));  // \plain goes back to the default font
  EXPECT_FALSE(runs[1].Bold || runs[1].Underline);
  EXPECT_DOUBLE_EQ(runs[1].Points, 10);
  EXPECT_TRUE(runs[2].Bold);
  EXPECT_FALSE(runs[3].Bold);  // the group's bold ended with it
}

TEST(RichText, ReaderKeepsTheTextAroundBrokenBytesEscapesAndBinaryData) {
  struct Case { const char* rtf; const char* text; };
  for (const Case& c : std::initializer_list<Case>{
         {R"({\rtf1\ansi\ansicpg936 \'d6\'d0\'ce\'c4 abc \'ff})", "中文 abc \uFFFD"},
         {R"({\rtf1 \'d6 a\'b9\'a4})", "\uFFFD a工"},
         {R"({\rtf1 a{\pict\bin5 x}}{}b}c})", "ac"},
         {R"({\rtf1 a\bin2 }{b})", "ab"},
         {R"({\rtf1 \uc1\u20013\bin1 }x})", "中x"},
         {R"({\rtf1 a\bin99 xy)", "a"},
         {R"({\rtf1 a\'+fb})", "a+fb"},
         {R"({\rtf1 a\' fb})", "a fb"},
         {R"({\rtf1 a\'4})", "a4"},
         {R"({\rtf1 a\u-2147483648?b})", "a?b"},
         {R"({\rtf1 a\u70000?b})", "a?b"},
         {R"({\rtf1 a\u0?b\u?c})", "a?b?c"},
       })
    EXPECT_EQ(ReadPlain(c.rtf), QString::fromUtf8(c.text)) << c.rtf;
}

// Hostile rich text costs time and memory in proportion to its size.
TEST(RichText, ReaderBoundsNestingAndStaysLinear) {
  const QByteArray nested = "{\\rtf1 " + QByteArray(998, '{') + "deep" + QByteArray(999, '}');
  EXPECT_EQ(ReadPlain(nested), QStringLiteral("deep"));
  QTextDocument doc;
  doc.setPlainText(QStringLiteral("before"));
  EXPECT_THROW(ReadRichText("{\\rtf1 " + QByteArray(5'000'000, '{'), &doc, DefaultFont()), ERichTextError);
  EXPECT_TRUE(doc.isEmpty()) << "nothing of a refused text is shown";

  QByteArray runs = "{\\rtf1 ";
  for (int i = 0; i < 20000; ++i) runs += "\\b a\\b0 b";
  QElapsedTimer timer;
  timer.start();
  ReadRichText(runs + "}", &doc, DefaultFont());
  EXPECT_LT(timer.elapsed(), 5000) << "40 000 format runs";
  EXPECT_EQ(doc.characterCount(), 40001);

  ReadRichText("{\\rtf1 " + QByteArray("x\\par ").repeated(100000) + "}", &doc, DefaultFont());
  EXPECT_EQ(doc.blockCount(), 100001);
  EXPECT_EQ(doc.availableUndoSteps(), 0) << "reading keeps no undo history";
  EXPECT_TRUE(doc.isUndoRedoEnabled());
}

// ---- the rich edit

namespace {

bool IsBold(TRichEdit& Edit, Integer Position) {
  QTextCursor c(Edit.Document());
  c.setPosition(Position + 1);
  return c.charFormat().fontWeight() >= QFont::DemiBold;
}

}  // namespace

TEST(RichEdit, LineOperationsKeepTheFormattingOfOtherLines) {
  TRichEdit edit(nullptr);
  TMemoryStream in;
  in.WriteBuffer(QByteArray(R"({\rtf1 {\b first}\par second\par third})"));
  in.SetPosition(0);
  edit.Lines()->LoadFromStream(&in);
  TStrings* lines = edit.Lines();
  ASSERT_EQ(lines->Count(), 3);
  EXPECT_EQ(edit.Text(), QStringLiteral("first\r\nsecond\r\nthird"));

  lines->SetStrings(1, QStringLiteral("2nd"));
  lines->Insert(0, QStringLiteral("zero"));
  lines->Add(QStringLiteral("last"));
  lines->Delete(3);
  lines->Delete(9);    // no such line: nothing
  lines->Insert(-1, QStringLiteral("x"));
  EXPECT_EQ(lines->Text(), QStringLiteral("zero\r\nfirst\r\n2nd\r\nlast\r\n"));
  EXPECT_TRUE(IsBold(edit, edit.LineIndex(1)));
  EXPECT_FALSE(IsBold(edit, edit.LineIndex(2)));
  EXPECT_EQ(edit.LineCount(), 4);
  EXPECT_EQ(edit.LineIndex(4), -1);
  EXPECT_EQ(edit.LineLength(2), 3);
  EXPECT_EQ(edit.FindText(QStringLiteral("LAST"), 0, -1, false, false), edit.LineIndex(3));
  EXPECT_EQ(edit.FindText(QStringLiteral("LAST"), 0, -1, true, false), -1);

  // A text ending in a line break counts its empty last line out, and adding goes there.
  edit.Lines()->SetText(QStringLiteral("a\r\nb\r\n"));
  EXPECT_EQ(lines->Count(), 2);
  lines->Add(QStringLiteral("c"));
  EXPECT_EQ(edit.Text(), QStringLiteral("a\r\nb\r\nc\r\n"));
}

TEST(RichEdit, StreamsPlainAndRichText) {
  TRichEdit edit(nullptr);
  // A stream that is not rich text loads as plain text with its line breaks made uniform.
  TMemoryStream plain;
  plain.WriteBuffer(StringToGbk(QStringLiteral("一\r二\n三\r\n四")));
  plain.SetPosition(0);
  edit.Lines()->LoadFromStream(&plain);
  EXPECT_EQ(edit.Text(), QStringLiteral("一\r\n二\r\n三\r\n四"));

  TMemoryStream out;
  edit.StreamOut(&out, sfPlainText);
  EXPECT_EQ(Utf8ToString(out.Bytes()), edit.Text());

  TMemoryStream rich;
  edit.Lines()->SaveToStream(&rich);
  TRichEdit other(nullptr);
  rich.SetPosition(0);
  other.StreamIn(&rich, sfRichText);
  EXPECT_EQ(other.Text(), edit.Text());

  plain.SetPosition(0);
  EXPECT_THROW(other.StreamIn(&plain, sfRichText), ERichTextError);
  other.SetPlainText(true);
  rich.SetPosition(0);
  other.Lines()->LoadFromStream(&rich);  // read as text, the markup shows
  EXPECT_TRUE(other.Text().startsWith(QStringLiteral("{\\rtf1")));
}

TEST(RichEdit, TextSetByProgramOrWidgetReachesTheDocument) {
  TForm form(nullptr);
  auto* edit = new TRichEdit(&form);
  edit->SetParent(&form);
  edit->SetText(QStringLiteral("甲\r\n乙"));
  EXPECT_EQ(edit->LineText(1), QStringLiteral("乙"));
  form.HandleNeeded();
  edit->HandleNeeded();
  edit->ReplaceRange(0, 1, QStringLiteral("丙"));
  EXPECT_EQ(edit->Text(), QStringLiteral("丙\r\n乙"));
  edit->SetText(QStringLiteral("丁"));
  EXPECT_EQ(edit->LineCount(), 1);
  EXPECT_EQ(edit->LineText(0), QStringLiteral("丁"));
}

TEST(RichEdit, FormatRangeAlwaysProgressesAndMeasuresWithoutDrawing) {
  TRichEdit edit(nullptr);
  edit.Font()->SetName(QStringLiteral("DejaVu Sans"));
  edit.Font()->SetSize(10);
  edit.Lines()->SetText(QStringLiteral("one\r\ntwo\r\nthree"));
  TBitmap page(400, 400);
  TFormatRange r;
  r.Canvas = page.Canvas();
  r.PixelsPerInchX = r.PixelsPerInchY = 96;
  r.Render = false;

  // A generous area takes everything; the bottom tells the height used.
  r.Rect = TRect(10, 10, 390, 390);
  TFormatRangeResult all = edit.FormatRange(r);
  EXPECT_EQ(all.Next, edit.TextLength());
  const Integer lineHeight = (all.Bottom - 10) / 3;
  EXPECT_GT(lineHeight, 10);
  EXPECT_EQ(page.Image().pixel(20, 15), qRgb(255, 255, 255));  // only measured

  // An area lower than a line, or of no height at all, still takes one line per call.
  for (Integer height : {0, 3}) {
    r.Rect = TRect(10, 10, 390, 10 + height);
    Integer pos = 0, calls = 0;
    while (pos < edit.TextLength() && calls < 10) {
      r.First = pos;
      pos = edit.FormatRange(r).Next;
      ++calls;
    }
    EXPECT_EQ(calls, 3) << height;
  }
  // A range stops where asked.
  r.Rect = TRect(10, 10, 390, 390);
  r.First = 4;
  r.Last = 7;
  EXPECT_EQ(edit.FormatRange(r).Next, 7);

  r.First = 0;
  r.Last = -1;
  r.Render = true;
  edit.FormatRange(r);
  bool inked = false;
  for (int x = 10; x < 60 && !inked; ++x)
    for (int y = 10; y < 10 + lineHeight && !inked; ++y) inked = page.Image().pixel(x, y) != qRgb(255, 255, 255);
  EXPECT_TRUE(inked);
}
