#pragma once
// A shown form with a data-aware grid over a pay table in a scratch SQLite file, a grid
// print component bound to it, and a preview box whose recorder the grid is printed into
// and whose pages go on to a PDF file read back with poppler's tools.
#include "gridout/PreviewBox.h"
#include "gridout/PrintDBGridX.h"
#include "platform/db/ADODB.h"
#include "platform/print/PrintDialogs.h"
#include "platform/testing/TestPaths.h"
#include "platform/ui/Forms.h"
#include "platform/ui/SystemColors.h"
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <algorithm>
#include <vector>

namespace gridprinttest {

inline const QString CjkFont = QStringLiteral("Noto Sans CJK SC");

inline QString RunTool(const QString& Program, const QStringList& Args) {
  QProcess p;
  p.start(Program, Args);
  if (!p.waitForFinished(60000) || p.exitCode() != 0) return {};
  return QString::fromUtf8(p.readAllStandardOutput());
}

class TGridPrintForm {
public:
  // Records rows: id 1.., name "员工<id>", dept "部门<id mod 3>", base id x 100, bonus id.
  explicit TGridPrintForm(Integer Records) : Form(new TForm(nullptr)) {
    SetSystemTable(ClassicSystemTable());
    const QString path = FDir.File(QStringLiteral("pay.db"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    Connection.SetConnectionString(QStringLiteral("Provider=Any;Data Source=%1").arg(path));
    Connection.Open();
    Connection.ExecuteSql("CREATE TABLE pay (id INTEGER PRIMARY KEY, name VARCHAR(20), dept VARCHAR(20), base REAL, "
                          "bonus INTEGER, note VARCHAR(200))");
    Connection.ExecuteSql("BEGIN");
    for (Integer i = 1; i <= Records; ++i)
      Connection.ExecuteSql(QStringLiteral("INSERT INTO pay VALUES (%1, '员工%1', '部门%2', %3, %1, '')")
                                .arg(i)
                                .arg(i % 3)
                                .arg(i * 100));
    Connection.ExecuteSql("COMMIT");
    Query.SetConnection(&Connection);
    Query.SQL()->SetText("SELECT * FROM pay ORDER BY id");
    Query.Open();
    Source.SetDataSet(&Query);
    Form->SetBounds(0, 0, 640, 480);
    Grid = new TDBGridX(Form);
    Grid->SetBounds(10, 10, 600, 400);
    Grid->SetParent(Form);
    Grid->Font()->SetName(CjkFont);
    Grid->TitleFont()->SetName(CjkFont);
    Grid->FooterFont()->SetName(CjkFont);
    Form->Show();
    Grid->SetDataSource(&Source);
    QApplication::processEvents();
    Print.SetDBGridX(Grid);
    Print.SetPrintFontName(CjkFont);
    Print.PageHeader()->Font()->SetName(CjkFont);
    Print.PageFooter()->Font()->SetName(CjkFont);
    Box->SetBounds(0, 0, 600, 500);
    Box->SetParent(&BoxForm);
  }
  ~TGridPrintForm() { delete Form; }

  // Columns of the given fields with the given captions, widths in screen pixels.
  void SetColumns(std::initializer_list<std::tuple<const char*, const char*, Integer>> Columns) {
    Grid->Columns()->BeginUpdate();
    for (const auto& [field, caption, width] : Columns) {
      TColumnX* column = Grid->Columns()->Add();
      column->SetFieldName(QString::fromUtf8(field));
      column->Title()->SetCaption(QString::fromUtf8(caption));
      column->SetWidth(width);
    }
    Grid->Columns()->EndUpdate();
    QApplication::processEvents();
  }
  // One footer row: "合计" under the first column, the sum under the named ones.
  void AddSumFooter(std::initializer_list<const char*> SumFields) {
    Grid->SetFooterRowCount(1);
    Grid->Columns()->Items(0)->Footer()->SetValueType(fvtStaticText);
    Grid->Columns()->Items(0)->Footer()->SetValue(QStringLiteral("合计"));
    for (Integer i = 0; i < Grid->Columns()->Count(); ++i)
      for (const char* field : SumFields)
        if (Grid->Columns()->Items(i)->FieldName() == QString::fromUtf8(field))
          Grid->Columns()->Items(i)->Footer()->SetValueType(fvtSum);
  }

  TPrinterPreview* Recorder() { return Box->Preview(); }
  Integer RecordedPages() { return Recorder()->PageFileCount(); }
  void Record() { Print.PrintTo(Recorder()); }

  // Replays every recorded page to a PDF file and returns the text of each page.
  QStringList PdfPages(const QString& Name = QStringLiteral("grid.pdf")) {
    const QString pdf = FDir.File(Name);
    const auto previous = TPrintDialogs::SetAnswer([&](TPrintDialogRequest& R) {
      R.PrinterIndex = R.PdfPrinterIndex;
      R.FileName = pdf;
      return true;
    });
    Box->PrintPages();
    TPrintDialogs::SetAnswer(previous);
    const QString info = RunTool(QStringLiteral("pdfinfo"), {pdf});
    const QRegularExpressionMatch pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    PdfPageCount = pages.hasMatch() ? pages.captured(1).toInt() : -1;
    QStringList texts = RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")})
                            .split(QLatin1Char('\f'));
    if (!texts.isEmpty() && texts.last().trimmed().isEmpty()) texts.removeLast();
    return texts;
  }

  QString PdfFile(const QString& Name) const { return FDir.File(Name); }

  // The first page of a PDF written by PdfPages as poppler renders it at Dpi without
  // smoothing, only the part Crop (in pixels from the page's top left).
  QImage PdfPageImage(const QString& Name, int Dpi, const QRect& Crop) const {
    const QString prefix = FDir.File(Name + QStringLiteral("-page"));
    RunTool(QStringLiteral("pdftoppm"),
            {QStringLiteral("-png"), QStringLiteral("-singlefile"), QStringLiteral("-f"), QStringLiteral("1"),
             QStringLiteral("-l"), QStringLiteral("1"), QStringLiteral("-r"), QString::number(Dpi),
             QStringLiteral("-aa"), QStringLiteral("no"), QStringLiteral("-aaVector"), QStringLiteral("no"),
             QStringLiteral("-x"), QString::number(Crop.x()), QStringLiteral("-y"), QString::number(Crop.y()),
             QStringLiteral("-W"), QString::number(Crop.width()), QStringLiteral("-H"), QString::number(Crop.height()),
             FDir.File(Name), prefix});
    return QImage(prefix + QStringLiteral(".png"));
  }

  // A word of a printed page and its box in points, the origin at the page's top left.
  struct TWordBox {
    QString Text;
    double Left, Top, Right, Bottom;
  };
  // The words of each page of a PDF written by PdfPages.
  QList<QList<TWordBox>> PdfWords(const QString& Name = QStringLiteral("grid.pdf")) {
    const QString html = RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), FDir.File(Name), QStringLiteral("-")});
    QList<QList<TWordBox>> pages;
    static const QRegularExpression tag(QStringLiteral(
        "<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    for (auto it = tag.globalMatch(html); it.hasNext();) {
      const QRegularExpressionMatch m = it.next();
      if (m.captured(0).startsWith(QStringLiteral("<page"))) {
        pages.append(QList<TWordBox>());
      } else if (!pages.isEmpty()) {
        pages.last().append({m.captured(5), m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                             m.captured(4).toDouble()});
      }
    }
    return pages;
  }

  TADOConnection Connection;
  TADOQuery Query;
  TDataSource Source;
  TForm* Form;
  TDBGridX* Grid = nullptr;
  TPrintDBGridX Print{nullptr};
  TForm BoxForm{nullptr};
  TPreviewBox* Box = new TPreviewBox(&BoxForm);
  Integer PdfPageCount = -1;

private:
  moli::testing::ScratchDir FDir;
};

// Every whole word of Text that matches Pattern (e.g. "员工\\d+").
inline QStringList Words(const QString& Text, const QString& Pattern) {
  QStringList found;
  auto it = QRegularExpression(QStringLiteral("(?<!\\S)") + Pattern + QStringLiteral("(?!\\S)")).globalMatch(Text);
  while (it.hasNext()) found << it.next().captured(0);
  return found;
}

// The topmost word of Words that is Text (of those the leftmost); fails the test when there is none.
inline TGridPrintForm::TWordBox WordBox(const QList<TGridPrintForm::TWordBox>& Words, const QString& Text) {
  const TGridPrintForm::TWordBox* found = nullptr;
  for (const TGridPrintForm::TWordBox& word : Words)
    if (word.Text == Text && (!found || std::pair(word.Top, word.Left) < std::pair(found->Top, found->Left)))
      found = &word;
  if (found) return *found;
  ADD_FAILURE() << "no word " << Text.toStdString();
  return {Text, 0, 0, 0, 0};
}

// The page drawn at Scale with white paper; only its top Height pixels when Height is given.
inline QImage PageImage(const TPageRecording* Page, double Scale, int Height = 0) {
  QImage image(int(Page->Width() * Scale) + 1, Height > 0 ? Height : int(Page->Height() * Scale) + 1,
               QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  Page->Replay(painter, Scale, Scale);
  return image;
}

// Where the grid lines across one axis begin: the pixel columns (Vertical) or rows that are
// dark over most of the table's extent.
inline std::vector<int> GridLines(const QImage& Image, bool Vertical) {
  const int along = Vertical ? Image.width() : Image.height(), across = Vertical ? Image.height() : Image.width();
  std::vector<int> dark(size_t(along), 0);
  for (int a = 0; a < along; ++a)
    for (int b = 0; b < across; ++b)
      dark[size_t(a)] += qGray(Vertical ? Image.pixel(a, b) : Image.pixel(b, a)) < 128 ? 1 : 0;
  const int most = *std::max_element(dark.begin(), dark.end());
  std::vector<int> lines;
  for (int a = 0; a < along; ++a)
    if (dark[size_t(a)] > most * 8 / 10 && (a == 0 || dark[size_t(a - 1)] <= most * 8 / 10)) lines.push_back(a);
  return lines;
}

}  // namespace gridprinttest
