#include "gridout/tests/GridPrintFixture.h"
#include "platform/testing/MemoryDataSetX.h"
#include "platform/ui/ImgList.h"
#include <QBuffer>
#include <QImage>
#include <QPainter>

using namespace gridprinttest;

namespace {

// A recorder for a printer of another resolution: the same paper in other device units.
class TResolutionRecorder : public TPrinterPreview {
public:
  explicit TResolutionRecorder(Integer Dpi) : FDpi(Dpi) {}
  Integer GetPixelsPerInchX() override { return FDpi; }
  Integer GetPixelsPerInchY() override { return FDpi; }
  Integer GetPageWidth() override { return Scaled(TPrinterPreview::GetPageWidth()); }
  Integer GetPageHeight() override { return Scaled(TPrinterPreview::GetPageHeight()); }
  Integer GetFullPageWidth() override { return GetPageWidth() + 2 * Scaled(PhysicalOffsetX()); }
  Integer GetFullPageHeight() override { return GetPageHeight() + 2 * Scaled(PhysicalOffsetY()); }
private:
  Integer Scaled(Integer Value) { return MulDiv(Value, FDpi, TPrinterPreview::GetPixelsPerInchX()); }
  Integer FDpi;
};

std::vector<int> VerticalLines(const QImage& Image) { return GridLines(Image, true); }

// Pixels of the page that are pure red.
Integer RedPixels(const TPageRecording* Page) {
  const QImage image = PageImage(Page, 0.25);
  Integer red = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) red += image.pixel(x, y) == qRgb(255, 0, 0) ? 1 : 0;
  return red;
}

// A picture of one colour, as PNG bytes.
QByteArray PngOf(Integer Width, Integer Height, QRgb Color) {
  QImage image(Width, Height, QImage::Format_RGB32);
  image.fill(Color);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}

// The pixels of Image between the rows Top and Bottom whose colour is near Color: how many
// and where.
struct TColourSpot {
  Integer Count = 0;
  QRect Box;
};
TColourSpot SpotOf(const QImage& Image, int Top, int Bottom, QRgb Color) {
  TColourSpot spot;
  const auto near = [](int A, int B) { return std::abs(A - B) < 60; };
  for (int y = Top; y < Bottom; ++y)
    for (int x = 0; x < Image.width(); ++x) {
      const QRgb p = Image.pixel(x, y);
      if (!near(qRed(p), qRed(Color)) || !near(qGreen(p), qGreen(Color)) || !near(qBlue(p), qBlue(Color))) continue;
      ++spot.Count;
      spot.Box |= QRect(x, y, 1, 1);
    }
  return spot;
}

}  // namespace

TEST(GridPrintingCells, ColumnsKeepTheirScreenSizeOnPaperAtAnyPrinterResolution) {
  // A column 96 screen pixels wide and its grid line are 97/96 inch on paper, also on a
  // printer coarser than the screen. Pages are drawn at 96 dots per inch to compare.
  for (Integer dpi : {600, 300, 48}) {
    TGridPrintForm f(10);
    f.SetColumns({{"name", "姓名", 96}, {"dept", "部门", 96}});
    TResolutionRecorder recorder(dpi);
    f.Print.PrintTo(&recorder);
    ASSERT_EQ(recorder.PageFileCount(), 1) << dpi;
    ASSERT_EQ(recorder.PageFile(1)->PixelsPerInchX(), dpi);
    const std::vector<int> lines = VerticalLines(PageImage(recorder.PageFile(1), 96.0 / dpi));
    ASSERT_EQ(lines.size(), 3u) << dpi;
    EXPECT_NEAR(lines[1] - lines[0], 97, 2) << dpi;
    EXPECT_NEAR(lines[2] - lines[1], 97, 2) << dpi;
  }
}

TEST(GridPrintingCells, ColumnColoursFillCellsOnlyWhenPrintingInColour) {
  for (bool colored : {false, true}) {
    TGridPrintForm f(5);
    f.SetColumns({{"name", "姓名", 80}, {"base", "基本工资", 80}});
    f.Grid->Columns()->Items(1)->SetColor(clRed);
    if (colored) f.Print.SetOptions({pghColored});
    f.Record();
    ASSERT_EQ(f.RecordedPages(), 1);
    const Integer red = RedPixels(f.Recorder()->PageFile(1));
    // Five cells 81 x about 23 screen pixels, drawn at a quarter of 600 dpi.
    if (colored) EXPECT_GT(red, 5 * 100 * 20) << red;
    else EXPECT_EQ(red, 0);
  }
}

TEST(GridPrintingCells, HiddenDuplicatesShowAgainAtTheTopOfEveryPage) {
  for (bool hide : {true, false}) {
    TGridPrintForm f(60);
    f.Connection.ExecuteSql(QStringLiteral("UPDATE pay SET dept = '同部门'"));
    f.Query.Close();
    f.Query.Open();
    f.SetColumns({{"name", "姓名", 80}, {"dept", "部门", 80}});
    f.Grid->Columns()->Items(1)->SetHideDuplicates(hide);
    f.Record();
    const QStringList pages = f.PdfPages();
    ASSERT_EQ(pages.size(), 2);
    for (const QString& page : pages) {
      const qsizetype rows = Words(page, QStringLiteral("员工\\d+")).size();
      EXPECT_EQ(Words(page, QStringLiteral("同部门")).size(), hide ? 1 : rows) << hide;
    }
  }
}

// Duplicates are the column's own texts for its values: equal values whose cell event
// shows them differently are hidden, different values that the event shows alike are not.
TEST(GridPrintingCells, HiddenDuplicatesCompareTheValuesTextsNotWhatTheCellEventShows) {
  for (bool sameValues : {true, false}) {
    TGridPrintForm f(6);
    if (sameValues) {
      f.Connection.ExecuteSql(QStringLiteral("UPDATE pay SET dept = '同部门'"));
      f.Query.Close();
      f.Query.Open();
    }
    f.SetColumns({{"name", "姓名", 80}, {"dept", "部门", 120}});
    TColumnX* dept = f.Grid->Columns()->Items(1);
    dept->SetHideDuplicates(true);
    Integer shown = 0;
    dept->OnGetCellParams = [&](TObject*, bool, TColCellParamsX* Params) {
      Params->Text = sameValues ? Params->Text + QString::number(++shown) : QStringLiteral("同部门");
    };
    f.Record();
    const QStringList pages = f.PdfPages();
    ASSERT_EQ(pages.size(), 1);
    EXPECT_EQ(Words(pages[0], QStringLiteral("同部门\\d*")).size(), sameValues ? 1 : 6) << sameValues;
  }
}

TEST(GridPrintingCells, FootersPrintTheirOwnSumsAndCountsOrTheGridsText) {
  TGridPrintForm f(200);
  f.SetColumns({{"name", "姓名", 80}, {"base", "基本工资", 90}, {"bonus", "奖金", 70}, {"id", "编号", 70}});
  f.Grid->SetFooterRowCount(1);
  struct Footer { Integer column; TFooterValueType type; const char* format; };
  for (const Footer& c : std::initializer_list<Footer>{{0, fvtCount, "0条"},
                                                       {1, fvtSum, "0.00"},
                                                       {2, fvtAvg, ""},
                                                       {3, fvtSum, ""}}) {
    f.Grid->Columns()->Items(c.column)->Footer()->SetValueType(c.type);
    f.Grid->Columns()->Items(c.column)->Footer()->SetDisplayFormat(QString::fromUtf8(c.format));
  }
  for (Integer id : {3, 50, 120}) {
    ASSERT_TRUE(f.Query.Locate(QStringLiteral("id"), Variant(id), {}));
    f.Grid->RecordBookmarks()->MarkCurrentRow(true);
  }
  const String average = f.Grid->FooterValueText(0, 2);
  f.Record();
  const QStringList pages = f.PdfPages();
  ASSERT_EQ(pages.size(), 1);
  const QString footer = pages[0].section(QStringLiteral("员工120"), 1).section(QLatin1Char('\n'), 1);
  EXPECT_EQ(Words(footer, QStringLiteral("\\S+")),
            QStringList({QStringLiteral("3条"), QStringLiteral("17300.00"), average, QStringLiteral("173")}))
      << "the count and sums of the printed rows; the average is the grid's own";
}

TEST(GridPrintingCells, ANumberTooWideForItsPrintedCellPrintsAsAMarkNeverCut) {
  TGridPrintForm f(3);
  f.Connection.ExecuteSql("UPDATE pay SET base = 12345678.9");
  f.Query.Close();
  f.Query.Open();
  f.SetColumns({{"name", "姓名", 80}, {"base", "基本工资", 40}, {"bonus", "奖金", 70}});
  f.Grid->SetFooterRowCount(1);
  f.Grid->Columns()->Items(1)->Footer()->SetValueType(fvtSum);
  f.Grid->Columns()->Items(1)->Footer()->SetDisplayFormat(QStringLiteral("0.00"));
  f.Record();
  const QStringList pages = f.PdfPages();
  ASSERT_EQ(pages.size(), 1);
  EXPECT_EQ(pages[0].count(QStringLiteral("###")), 4) << "three cells and the footer\n" << pages[0].toStdString();
  EXPECT_EQ(Words(pages[0], QStringLiteral("\\S*(5678|7036)\\S*")), QStringList()) << "no part of a number";
  EXPECT_EQ(Words(pages[0], QStringLiteral("员工\\d")).size(), 3) << "texts keep printing as they are";
}

TEST(GridPrintingCells, ABandSplitByPageGroupsIsCentredOverItsWholeWidth) {
  TGridPrintForm f(10);
  f.SetColumns({{"name", "收入|基本", 300}, {"base", "收入|奖金", 300}, {"bonus", "收入|津贴", 300}});
  f.Grid->SetUseMultiTitle(true);
  f.Print.Title()->SetText(QStringLiteral("月度工资"));
  f.Record();
  const QStringList pages = f.PdfPages();
  ASSERT_EQ(pages.size(), 2);
  // The band's and the title's centre lie on the first page: the second shows their cut-off right part.
  EXPECT_TRUE(pages[0].contains(QStringLiteral("收入")) && pages[0].contains(QStringLiteral("月度工资")));
  EXPECT_FALSE(pages[1].contains(QStringLiteral("收入")) || pages[1].contains(QStringLiteral("月度工资")));
  EXPECT_TRUE(pages[0].contains(QStringLiteral("基本")) && pages[0].contains(QStringLiteral("奖金")));
  EXPECT_TRUE(pages[1].contains(QStringLiteral("津贴")));
  EXPECT_EQ(Words(pages[1], QStringLiteral("\\d+")).size(), 10) << "the same rows with the third column";
}

namespace {

struct TInk {
  Integer Dark = 0, Grey = 0;
  friend bool operator==(const TInk&, const TInk&) = default;
};

TInk InkIn(const QImage& Image, const QRect& R) {
  TInk ink;
  for (int y = R.top(); y <= R.bottom(); ++y)
    for (int x = R.left(); x <= R.right(); ++x) {
      const int g = qGray(Image.pixel(x, y));
      ink.Dark += g < 100 ? 1 : 0;
      ink.Grey += g >= 100 && g < 230 ? 1 : 0;
    }
  return ink;
}

}  // namespace

TEST(GridPrintingCells, CheckBoxColumnsPrintTheThreeStatesCentred) {
  TGridPrintForm f(3);
  f.Connection.ExecuteSql(QStringLiteral("UPDATE pay SET bonus = CASE id WHEN 1 THEN 1 WHEN 2 THEN 0 ELSE NULL END"));
  f.Query.Close();
  f.Query.Open();
  f.SetColumns({{"name", "姓名", 80}, {"bonus", "奖金", 80}});
  f.Grid->Columns()->Items(1)->SetCheckboxes(true);
  f.Record();
  const QImage page = PageImage(f.Recorder()->PageFile(1), 0.25);
  const std::vector<int> columns = VerticalLines(page);
  const std::vector<int> rows = GridLines(page, false);
  ASSERT_EQ(columns.size(), 3u);
  ASSERT_EQ(rows.size(), 5u) << "the title's top, and the bottoms of the title and three rows";
  std::vector<TInk> cells;
  for (size_t r = 2; r < 5; ++r)
    cells.push_back(InkIn(page, QRect(QPoint(columns[1] + 3, rows[r - 1] + 3), QPoint(columns[2] - 3, rows[r] - 3))));
  const TInk& checked = cells[0];
  const TInk& unchecked = cells[1];
  const TInk& grayed = cells[2];
  EXPECT_GT(unchecked.Dark, 0) << "the box";
  EXPECT_GT(checked.Dark, unchecked.Dark) << "the mark";
  EXPECT_FALSE(grayed == checked || grayed == unchecked);
  // The box is centred: as much empty space on its left as on its right.
  const int y = (rows[1] + rows[2]) / 2;
  int left = columns[1] + 2, right = columns[2] - 2;
  while (left < right && qGray(page.pixel(left, y)) > 200) ++left;
  while (right > left && qGray(page.pixel(right, y)) > 200) --right;
  EXPECT_NEAR(left - columns[1], columns[2] - right, 3);
}

TEST(GridPrintingCells, ImagesPrintAtTheirScaledSizeAndOnlyForIndexesTheListHas) {
  TGridPrintForm f(4);
  f.Connection.ExecuteSql(QStringLiteral("UPDATE pay SET bonus = CASE WHEN id < 3 THEN 0 ELSE id + 10 END"));
  f.Query.Close();
  f.Query.Open();
  TImageList images(nullptr);
  TBitmap red(16, 16);
  red.Canvas()->Brush()->SetColor(clRed);
  red.Canvas()->FillRect(TRect(0, 0, 16, 16));
  images.Add(&red, nullptr);
  f.SetColumns({{"name", "姓名", 80}, {"bonus", "奖金", 80}});
  f.Grid->Columns()->Items(1)->SetImageList(&images);
  f.Record();
  // Two records show image 0, 100 x 100 units at 600 dpi (25 x 25 pixels here); 13 and 14 are not in the list.
  EXPECT_NEAR(RedPixels(f.Recorder()->PageFile(1)), 2 * 25 * 25, 2 * 2 * 25);

  f.Grid->SetTitleImages(&images);
  f.Grid->Columns()->Items(0)->Title()->SetImageIndex(0);
  f.Record();
  EXPECT_NEAR(RedPixels(f.Recorder()->PageFile(1)), 3 * 25 * 25, 3 * 2 * 25) << "and the title's image";
  const QStringList pages = f.PdfPages();
  ASSERT_EQ(pages.size(), 1);
  EXPECT_FALSE(pages[0].contains(QStringLiteral("姓名"))) << "a title with an image shows no caption";
  EXPECT_TRUE(pages[0].contains(QStringLiteral("奖金")));
}

TEST(GridPrintingCells, TitleLinesAndTitleHeightSetTheTitleRow) {
  // At 600 dpi from a 96 dpi screen: vertical cell margin Round(12.5) = 12, band margin Round(6.25) = 6.
  TPageRecording scratch(100, 100, 600, 600);
  TRecordingCanvas measuring(&scratch);
  TGridPrintForm probe(1);
  measuring.Font()->Assign(probe.Grid->TitleFont());
  const TTextMetric tm = measuring.TextMetrics();
  const Integer wg = measuring.TextHeight(QStringLiteral("Wg"));
  const Integer rowLines = probe.Grid->Options().Contains(dgRowLines) ? 6 : 0;
  struct Case { Integer lines, height, expected; };
  for (const Case& c : std::initializer_list<Case>{
           {0, 0, wg + 2 * 12},
           {2, 0, 2 * tm.tmHeight + tm.tmExternalLeading + 12 + rowLines},
           {1, 8, tm.tmHeight + tm.tmExternalLeading + 12 + 50 + rowLines}}) {
    TGridPrintForm f(2);
    f.SetColumns({{"name", "姓名", 80}, {"dept", "部门", 80}});
    f.Grid->SetTitleLines(c.lines);
    f.Grid->SetTitleHeight(c.height);
    f.Record();
    const std::vector<int> rows = GridLines(PageImage(f.Recorder()->PageFile(1), 1, 1200), false);
    ASSERT_GE(rows.size(), 2u);
    EXPECT_EQ(rows[1] - rows[0], c.expected) << c.lines << " lines, height " << c.height;
  }
}

TEST(GridPrintingCells, PicturesPrintFittedIntoTheirCellsInRowsAsTallAsThePictures) {
  const QRgb yellow = qRgb(255, 255, 0), cyan = qRgb(0, 255, 255);
  TPictureDataSetX pictures({PngOf(40, 64, yellow), PngOf(200, 100, cyan), QByteArray()});
  pictures.Open();
  TGridPrintForm f(1);
  f.Source.SetDataSet(&pictures);
  f.Grid->SetDrawGraphicData(true);
  f.SetColumns({{"id", "编号", 60}, {"pic", "照片", 100}});
  ASSERT_EQ(f.Grid->Columns()->Items(1)->CellKind(), TColumnX::ckGraphic);
  f.Record();
  f.PdfPages();
  ASSERT_EQ(f.PdfPageCount, 1);
  // 600 dpi from a 96 dpi screen: a screen pixel is 6.25 units, the picture column's cell
  // Round(101 x 6.25) = 631 wide.
  const QImage page = f.PdfPageImage(QStringLiteral("grid.pdf"), 600, QRect(0, 0, 2400, 2400));
  ASSERT_FALSE(page.isNull());
  const std::vector<int> rows = GridLines(page, false);
  ASSERT_EQ(rows.size(), 5u) << "the titles' top and bottom and three records";
  EXPECT_NEAR(rows[2] - rows[1], 400, 2) << "64 picture rows";
  EXPECT_NEAR(rows[3] - rows[2], 312, 2) << "a picture twice the column's width shows 50 rows";
  EXPECT_LT(rows[4] - rows[3], 250) << "no picture: the row of one text line";

  const TColourSpot small = SpotOf(page, rows[1], rows[2] + 6, yellow);
  EXPECT_NEAR(small.Box.width(), 250, 4) << "a picture that fits keeps its printed size";
  EXPECT_GE(small.Box.height(), 390);
  EXPECT_GT(small.Count, 250 * 380);
  const TColourSpot wide = SpotOf(page, rows[2], rows[3] + 6, cyan);
  EXPECT_NEAR(wide.Box.width(), 624, 8) << "1250 x 625 shrunk to the cell's 312 rows, proportions kept";
  EXPECT_GE(wide.Box.height(), 300);
  EXPECT_GT(wide.Count, 600 * 290);
  EXPECT_EQ(SpotOf(page, rows[3], rows[4] + 6, yellow).Count + SpotOf(page, rows[3], rows[4] + 6, cyan).Count, 0);
}

TEST(GridPrintingCells, ThickGridLinesCloseTheTablesCorners) {
  TGridPrintForm f(3);
  f.SetColumns({{"name", "姓名", 80}, {"dept", "部门", 80}});
  f.Record();
  f.PdfPages();
  const QImage page = f.PdfPageImage(QStringLiteral("grid.pdf"), 600, QRect(0, 0, 2000, 2000));
  ASSERT_FALSE(page.isNull());
  QRect table;
  for (int y = 0; y < page.height(); ++y)
    for (int x = 0; x < page.width(); ++x)
      if (qGray(page.pixel(x, y)) < 128) table |= QRect(x, y, 1, 1);
  ASSERT_GT(table.width(), 900);
  // Lines six pixels wide: a corner left open misses a square of three by three.
  const QPoint corners[] = {table.topLeft(), table.topRight(), table.bottomLeft(), table.bottomRight()};
  for (const QPoint& corner : corners)
    for (int dy = 0; dy < 3; ++dy)
      for (int dx = 0; dx < 3; ++dx) {
        const int x = corner.x() == table.left() ? corner.x() + dx : corner.x() - dx;
        const int y = corner.y() == table.top() ? corner.y() + dy : corner.y() - dy;
        EXPECT_LT(qGray(page.pixel(x, y)), 128) << x << "," << y;
      }
}
