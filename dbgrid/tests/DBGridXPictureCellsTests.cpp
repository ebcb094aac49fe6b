// Picture columns: pictures fitted into their cells, and cells whose bytes hold no picture.
#include "DBGridXTestSupport.h"
#include "platform/testing/MemoryDataSetX.h"
#include <QBuffer>

using dbgridtest::TGridForm;

namespace {
TColor PixelAt(const QImage& Image, Integer X, Integer Y) { return QColorToColor(Image.pixelColor(X, Y)); }

// A red picture of the given size whose last column is blue, as PNG bytes.
QByteArray RedPicture(Integer Width, Integer Height) {
  QImage image(Width, Height, QImage::Format_RGB32);
  image.fill(Qt::red);
  for (Integer y = 0; y < Height; ++y) image.setPixelColor(Width - 1, y, Qt::blue);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}
}  // namespace

TEST(DBGridXPictureCells, PicturesFitTheirCellsAndBytesThatAreNoPictureLeaveAnEmptyCell) {
  TGridForm f;
  QStringList errors;
  const TExceptionEvent previous = Application->OnException;
  Application->OnException = [&](TObject*, const Exception& E) { errors << E.Message(); };
  const Integer cellWidth = 40, cellHeight = 30;
  const QByteArray png = RedPicture(4, 4);
  TPictureDataSetX pictures({RedPicture(cellWidth, cellHeight), RedPicture(cellWidth + 1, cellHeight), png,
                            QByteArray("not a picture"), png.left(png.size() / 2), QByteArray()});
  pictures.Open();
  TDataSource source;
  source.SetDataSet(&pictures);
  f.Grid->SetDrawGraphicData(true);
  f.Grid->SetDataSource(&source);
  f.Grid->Columns()->Add()->SetFieldName("pic");
  f.Grid->Columns()->Items(0)->SetWidth(cellWidth);
  f.Grid->SetRowHeight(cellHeight);
  f.Grid->SetBounds(0, 0, 200, 300);
  ASSERT_EQ(f.Grid->Columns()->Items(0)->CellKind(), TColumnX::ckGraphic);
  TEdit* other = new TEdit(f.Form);  // keeps the focus and its frame off the grid
  other->SetParent(f.Form);
  other->SetFocus();
  QApplication::processEvents();
  const QImage image = f.Grab();
  const TColor red = QColorToColor(Qt::red), blue = QColorToColor(Qt::blue), empty = ColorToRGB(clWindow);
  const auto cell = [&](Integer Record) { return f.Grid->CellRect(1, Record); };
  ASSERT_EQ(cell(1).Width(), cellWidth);
  ASSERT_EQ(cell(1).Height(), cellHeight);
  struct Probe {
    Integer record;
    Integer x, y;  // relative to the cell; negative counts from its far edge
    TColor expected;
    const char* what;
  };
  for (const Probe& p : std::initializer_list<Probe>{
           {1, 0, 0, red, "as large as the cell: unscaled at the top-left corner"},
           {1, -1, 0, blue, "its last column at the cell's last column"},
           {1, 0, -1, red, "down to the last row"},
           {2, -1, 0, blue, "one pixel wider: shrunk to the cell width, not cut"},
           {2, -2, 0, red, ""},
           {2, 0, -1, empty, "29 rows high, so the last row is the cell's own"},
           {3, (cellWidth - 4) / 2, (cellHeight - 4) / 2, red, "a small picture keeps its size, centred"},
           {3, (cellWidth - 4) / 2 + 4, (cellHeight - 4) / 2, empty, ""},
           {3, 0, 0, empty, ""},
           {4, cellWidth / 2, cellHeight / 2, empty, "bytes that are no picture"},
           {5, cellWidth / 2, cellHeight / 2, empty, "a cut-off picture"},
           {6, cellWidth / 2, cellHeight / 2, empty, "no value"},
       }) {
    const TRect r = cell(p.record);
    const Integer x = p.x < 0 ? r.Right + p.x : r.Left + p.x, y = p.y < 0 ? r.Bottom + p.y : r.Top + p.y;
    EXPECT_EQ(PixelAt(image, x, y), p.expected) << "record " << p.record << ": " << p.what;
  }
  EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
  Application->OnException = previous;
  f.Grid->SetDataSource(nullptr);
}
