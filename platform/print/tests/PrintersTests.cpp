#include "platform/print/Printers.h"
#include "platform/rtl/SysUtils.h"
#include "platform/testing/TestPaths.h"
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

QString RunTool(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  if (!p.waitForFinished(60000) || p.exitCode() != 0) return {};
  return QString::fromUtf8(p.readAllStandardOutput());
}

// A printer on its PDF entry writing into a scratch folder.
struct PdfPrinter {
  moli::testing::ScratchDir dir;
  TPrinter printer;
  QString file = dir.File("out.pdf");
  PdfPrinter() {
    printer.SetPrinterIndex(printer.PdfPrinterIndex());
    printer.SetFileName(file);
  }
};

}  // namespace

TEST(Printer, PdfPrinterIsAlwaysListedLastAndIsTheDefaultWithoutOthers) {
  TPrinter printer;
  ASSERT_GE(printer.Printers()->Count(), 1);
  EXPECT_EQ(printer.Printers()->Strings(printer.PdfPrinterIndex()), PdfPrinterName);
  EXPECT_EQ(printer.PdfPrinterIndex(), printer.Printers()->Count() - 1);
  if (printer.Printers()->Count() == 1) {
    EXPECT_TRUE(printer.IsPdfPrinter());
  }
  EXPECT_THROW(printer.SetPrinterIndex(printer.Printers()->Count()), EPrinter);
}

TEST(Printer, PdfMetricsFollowPaperAndOrientation) {
  PdfPrinter p;
  TPrinter& pr = p.printer;
  EXPECT_EQ(pr.PixelsPerInchX(), 600);
  EXPECT_NEAR(pr.PaperWidthMM(), 210, 0.5);
  EXPECT_NEAR(pr.PaperHeightMM(), 297, 0.5);
  EXPECT_EQ(pr.PageWidth(), pr.PhysicalWidth());  // a PDF page prints to its edges
  EXPECT_EQ(pr.PhysicalOffsetX(), 0);
  EXPECT_NEAR(pr.PageWidth(), 210 / 25.4 * 600, 4);
  EXPECT_EQ(pr.HorzSizeMM(), 210);

  pr.SetOrientation(poLandscape);
  EXPECT_NEAR(pr.PageWidth(), 297 / 25.4 * 600, 4);
  EXPECT_NEAR(pr.PageHeight(), 210 / 25.4 * 600, 4);

  // Settings survive a change of printer.
  pr.SetPaperSize(148, 210);
  pr.SetCopies(3);
  pr.SetPrinterIndex(-1);
  EXPECT_EQ(pr.Orientation(), poLandscape);
  EXPECT_EQ(pr.Copies(), 3);
  EXPECT_NEAR(pr.PaperWidthMM(), 148, 0.5);
}

TEST(Printer, TwoPagesOfTextAndLinesReadBackFromThePdf) {
  PdfPrinter p;
  TPrinter& pr = p.printer;
  pr.SetPaperSize(148, 210);  // A5
  pr.SetTitle(QStringLiteral("工资条"));
  TCanvas* c = pr.Canvas();
  c->Font()->SetName(QStringLiteral("Noto Sans CJK SC"));
  c->Font()->SetSize(12);
  // Text is measured for the printer: a 12-point em is 100 pixels at 600 dpi.
  const TTextMetric tm = c->TextMetrics();
  EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 12 * 600 / 72);

  pr.BeginDoc();
  EXPECT_TRUE(pr.Printing());
  EXPECT_EQ(pr.PageNumber(), 1);
  c->TextOut(600, 600, QStringLiteral("第一页 应发工资 1234.50"));
  c->MoveTo(600, 800);
  c->LineTo(3000, 800);
  pr.NewPage();
  EXPECT_EQ(pr.PageNumber(), 2);
  c->TextOut(600, 600, QStringLiteral("第二页 实发工资 987.00"));
  c->Rectangle(500, 500, 3000, 1000);
  pr.EndDoc();
  EXPECT_FALSE(pr.Printing());
  EXPECT_THROW(pr.NewPage(), EPrinter);

  const QString info = RunTool("pdfinfo", {p.file});
  ASSERT_FALSE(info.isEmpty()) << "pdfinfo could not read the document";
  EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+2\\b"))) << info.toStdString();
  EXPECT_TRUE(info.contains(QRegularExpression("Page size:\\s+4(19|20)(\\.\\d+)? x 595(\\.\\d+)? pts \\(A5\\)"))) << info.toStdString();
  EXPECT_TRUE(info.contains(QStringLiteral("工资条"))) << info.toStdString();

  const QString page1 = RunTool("pdftotext", {"-f", "1", "-l", "1", p.file, "-"});
  const QString page2 = RunTool("pdftotext", {"-f", "2", "-l", "2", p.file, "-"});
  EXPECT_TRUE(page1.contains(QStringLiteral("第一页 应发工资 1234.50"))) << page1.toStdString();
  EXPECT_TRUE(page2.contains(QStringLiteral("第二页 实发工资 987.00"))) << page2.toStdString();

  // Text sits where it was drawn: about an inch from the top-left corner of the page.
  const QString bbox = RunTool("pdftotext", {"-f", "1", "-l", "1", "-bbox", p.file, "-"});
  const QRegularExpression word(QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>第一页"));
  const QRegularExpressionMatch m = word.match(bbox);
  ASSERT_TRUE(m.hasMatch()) << bbox.toStdString();
  EXPECT_NEAR(m.captured(1).toDouble(), 72, 3);
  EXPECT_NEAR(m.captured(2).toDouble(), 72, 6);
}

TEST(Printer, DocumentStateErrorsAndAbort) {
  PdfPrinter p;
  TPrinter& pr = p.printer;
  EXPECT_THROW(pr.EndDoc(), EPrinter);

  pr.BeginDoc();
  EXPECT_THROW(pr.BeginDoc(), EPrinter);
  EXPECT_THROW(pr.SetOrientation(poLandscape), EPrinter);
  pr.Canvas()->TextOut(100, 100, "x");
  pr.Abort();
  EXPECT_TRUE(pr.Aborted());
  EXPECT_FALSE(pr.Printing());
  EXPECT_FALSE(QFile::exists(p.file));  // no half-written document is left behind

  pr.SetFileName(p.dir.File("missing/folder/out.pdf"));
  EXPECT_THROW(pr.BeginDoc(), EPrinter);
  EXPECT_FALSE(pr.Printing());

  pr.SetFileName({});
  EXPECT_THROW(pr.BeginDoc(), EPrinter);
}

TEST(Printer, GlobalPrinterCanBeReplacedAndRestored) {
  TPrinter* original = Printer();
  TPrinter mine;
  EXPECT_EQ(SetPrinter(&mine), original);
  EXPECT_EQ(Printer(), &mine);
  EXPECT_EQ(SetPrinter(nullptr), &mine);
  EXPECT_EQ(Printer(), original);
}
