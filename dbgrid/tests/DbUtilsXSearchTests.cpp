// The default text search over a grid's records and columns.
#include "DBGridXTestSupport.h"
#include "dbgrid/DBGridXCenter.h"
#include "dbgrid/DbUtilsX.h"
#include <QKeyEvent>

using dbgridtest::TGridForm;

namespace {
// A 63-column table, far wider than the grid; cell (r, c) holds "r<r>c<c>", the last column
// of record 4 holds "Needle" and record 2's first column "needle".
class TWideGrid : public TGridForm {
public:
  TWideGrid() {
    QStringList columns, inserts;
    for (Integer c = 0; c < 63; ++c) columns << QStringLiteral("c%1 VARCHAR(20)").arg(c);
    Connection.ExecuteSql(QStringLiteral("CREATE TABLE wide (id INTEGER PRIMARY KEY, %1)").arg(columns.join(u',')));
    for (Integer r = 1; r <= 5; ++r) {
      QStringList values;
      for (Integer c = 0; c < 63; ++c) values << QStringLiteral("'r%1c%2'").arg(r).arg(c);
      if (r == 4) values[62] = QStringLiteral("'Needle'");
      if (r == 2) values[0] = QStringLiteral("'needle'");
      Connection.ExecuteSql(QStringLiteral("INSERT INTO wide VALUES (%1, %2)").arg(r).arg(values.join(u',')));
    }
    Query.Close();
    Query.SQL()->SetText("SELECT * FROM wide ORDER BY id");
    Query.Open();
    Bind();
    Grid->SetSelectedIndex(1);
  }
  Integer Id() { return Query.FieldByName("id")->AsInteger(); }
  String CurrentField() { return Grid->SelectedColumn()->FieldName(); }
};
}  // namespace

TEST(GridTextSearch, FindsByDirectionMatchAndColumnScope) {
  TWideGrid f;
  ASSERT_EQ(f.Grid->VisibleColumns()->Count(), 64);
  ASSERT_LT(f.Grid->FullyVisibleColCount(), 20);
  const TGridSearchOptionsX all{gsoAllColumnsX, gsoIgnoreCaseX};
  struct Case {
    const char* what;
    Integer startRecord;
    const char* field;
    const char* text;
    TGridSearchOptionsX options;
    TGridSearchDirectionX direction;
    TGridSearchMatchX match;
    bool found;
    Integer record;
    const char* column;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"last of 63 columns, all records", 3, "", "needle", all, gsdAllX, gsmWholeX, true, 2, "c0"},
           {"last of 63 columns, downwards", 3, "", "needle", all, gsdDownX, gsmWholeX, true, 4, "c62"},
           {"case kept", 1, "", "needle", {gsoAllColumnsX}, gsdDownX, gsmWholeX, true, 2, "c0"},
           {"upwards skips the current record", 4, "", "NEEDLE", all, gsdUpX, gsmWholeX, true, 2, "c0"},
           {"one column by field", 1, "c0", "r3", {}, gsdDownX, gsmStartX, true, 3, "c0"},
           {"contains", 1, "c5", "3c", {}, gsdDownX, gsmContainsX, true, 3, "c5"},
           {"whole needs the whole text", 1, "c5", "r3c", {}, gsdDownX, gsmWholeX, false, 1, "id"},
           {"down from the last record", 5, "", "r1", all, gsdDownX, gsmStartX, false, 5, "id"},
           {"empty text contains nothing", 1, "c1", "", {}, gsdAllX, gsmContainsX, false, 1, "id"},
           {"empty text starts every cell", 2, "c1", "", {}, gsdAllX, gsmStartX, true, 1, "c1"},
       }) {
    f.Query.SetRecNo(c.startRecord);
    f.Grid->SetSelectedIndex(0);
    const bool found = f.Grid->LocateText(QString::fromUtf8(c.field), QString::fromUtf8(c.text), c.options,
                                          c.direction, c.match, gtrAllNodesX);
    EXPECT_EQ(found, c.found) << c.what;
    EXPECT_EQ(f.Id(), c.found ? c.record : c.startRecord) << c.what;
    EXPECT_EQ(f.CurrentField(), QString::fromUtf8(c.column)) << c.what;
    EXPECT_FALSE(f.Query.ControlsDisabled()) << c.what;
  }
  EXPECT_THROW(f.Grid->LocateText("nosuch", "x", {}, gsdAllX, gsmWholeX, gtrAllNodesX), Exception);
}

TEST(GridTextSearch, NoMatchRestoresTheRowOnScreen) {
  TGridForm f;
  f.AddRows(40);
  f.Bind();
  f.Query.Last();
  f.Query.MoveBy(-3);
  const Integer row = f.Grid->GridDataLink()->ActiveRecord();
  const Integer recNo = f.Query.RecNo();
  EXPECT_FALSE(SearchGridText(f.Grid, "name", "nobody", {}, gsdAllX, gsmWholeX, gtrAllNodesX));
  EXPECT_EQ(f.Query.RecNo(), recNo);
  EXPECT_EQ(f.Grid->GridDataLink()->ActiveRecord(), row);
}

TEST(GridTextSearch, EscapeWaitingStopsTheSearchWhenAsked) {
  TWideGrid f;
  f.Query.First();
  auto pressEscape = [&] {
    QCoreApplication::postEvent(f.Grid->Handle(),
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
  };
  pressEscape();
  EXPECT_FALSE(SearchGridText(f.Grid, "", "Needle", {gsoAllColumnsX, gsoStopOnEscapeX}, gsdDownX, gsmWholeX,
                              gtrAllNodesX));
  EXPECT_EQ(f.Id(), 1);
  pressEscape();
  EXPECT_TRUE(SearchGridText(f.Grid, "", "Needle", {gsoAllColumnsX}, gsdDownX, gsmWholeX, gtrAllNodesX));
  QApplication::processEvents();
  EXPECT_EQ(f.Id(), 4);
}

TEST(GridTextSearch, ALocateHandlerOfTheCentreTakesTheJobOver) {
  TWideGrid f;
  DBGridXCenter().LocateTextHandler = [](TCustomDBGridX*, const String&, const String& Text, TGridSearchOptionsX,
                                         TGridSearchDirectionX, TGridSearchMatchX, TGridSearchTreeRangeX) {
    return Text == "yes";
  };
  const bool yes = f.Grid->LocateText("", "yes", {}, gsdAllX, gsmWholeX, gtrAllNodesX);
  const bool no = f.Grid->LocateText("", "Needle", {gsoAllColumnsX}, gsdAllX, gsmWholeX, gtrAllNodesX);
  DBGridXCenter().LocateTextHandler = nullptr;
  EXPECT_TRUE(yes);
  EXPECT_FALSE(no);
  EXPECT_EQ(f.Id(), 1);
}
