// The filter row: its editor hosted over the filter cells, keys moving between them, storing
// and applying conditions, and the column filter's texts and lookup values.
#include "DBGridXTestSupport.h"
#include "dbgrid/DBGridXFilterEdit.h"
#include "dbgrid/DBGridXGlobals.h"
#include <QKeyEvent>

using dbgridtest::TGridForm;

namespace {

// Synthetic keys sent to a control's window, as the user types them.
void PressKey(TWinControl* Control, int Key, const QString& Text = QString(),
              Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, Key, Modifiers, Text);
  QApplication::sendEvent(Control->Handle(), &press);
  QKeyEvent release(QEvent::KeyRelease, Key, Modifiers, Text);
  QApplication::sendEvent(Control->Handle(), &release);
}

void Type(TWinControl* Control, const QString& Text) {
  for (const QChar c : Text) PressKey(Control, 0, QString(c));
}

// A grid over the pay table with its filter row shown under the titles. Columns: id, name,
// base, bonus, flag, qty.
struct TFilterRowForm : TGridForm {
  TFilterRowForm() : TGridForm(500, 200) {
    InitializeGridUnit();
    Bind();
    Grid->STFilter()->SetVisible(true);
    QApplication::processEvents();
  }
  // Clicks the filter cell of column Index.
  void ClickFilterCell(Integer Index) {
    const TRect r = Grid->CellRect(Grid->ColumnIndexToGridCol(Index), Grid->HeaderRowCount() - 1);
    const TPoint p((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    Grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(p));
    Grid->Perform(WM_LBUTTONUP, 0, PointToLParam(p));
  }
  TInplaceFilterEditX* Editor() { return Grid->FilterEditor(); }
  // Leaves the filter row for the first data row.
  void LeaveRow() {
    if (!Grid->FilterEditMode()) return;
    const TRect data = Grid->CellRect(1, Grid->HeaderRowCount());
    Grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(TPoint(data.Left + 3, data.Top + 3)));
    Grid->Perform(WM_LBUTTONUP, 0, PointToLParam(TPoint(data.Left + 3, data.Top + 3)));
  }
  TSTColumnFilterX* Filter(Integer Index) { return Grid->Columns()->Items(Index)->STFilter(); }
  std::vector<String> Names() {
    std::vector<String> names;
    const TBookmarkStr current = Query.Bookmark();
    for (Query.First(); !Query.Eof(); Query.Next()) names.push_back(Field("name")->AsString());
    Query.SetBookmark(current);
    return names;
  }
};

void Key(TWinControl* Control, int QtKey, Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
  PressKey(Control, QtKey, QString(), Modifiers);
}

}  // namespace

TEST(DBGridXFilterRow, ClickingAFilterCellOpensTheEditorThereAndEnterFiltersTheData) {
  TFilterRowForm f;
  f.Filter(3)->SetVisible(false);
  f.ClickFilterCell(3);
  EXPECT_FALSE(f.Grid->FilterEditMode()) << "a column whose filter is hidden gets no editor";

  f.ClickFilterCell(2);
  ASSERT_NE(f.Editor(), nullptr);
  EXPECT_TRUE(f.Editor()->Visible());
  EXPECT_EQ(f.Grid->FilterCol(), 2);
  EXPECT_EQ(f.Grid->SelectedIndex(), 2);
  const TRect cell = f.Grid->CellRect(f.Grid->ColumnIndexToGridCol(2), f.Grid->HeaderRowCount() - 1);
  EXPECT_EQ(f.Editor()->BoundsRect(), TRect(cell.Left + 1, cell.Top, cell.Right, cell.Bottom));
  EXPECT_TRUE(f.Editor()->Focused());

  Type(f.Editor(), "> 1500");
  PressKey(f.Editor(), Qt::Key_Return, QStringLiteral("\r"));
  EXPECT_EQ(f.Names(), (std::vector<String>{"Li", "Wang"}));
  EXPECT_EQ(f.Filter(2)->ExpressionStr(), "> 1500");
  EXPECT_EQ(f.Filter(2)->ExpressionDisplayText(), "> 1500");
  EXPECT_TRUE(f.Editor()->Visible()) << "the editor stays in its cell after applying";
}

TEST(DBGridXFilterRow, KeysMoveBetweenFilterableColumnsAndDownLeavesTheRow) {
  TFilterRowForm f;
  f.Grid->SetOptions(f.Grid->Options() + TDBGridOptions{dgTabs});
  f.Filter(3)->SetVisible(false);
  f.ClickFilterCell(2);
  struct Step {
    int Key;
    Qt::KeyboardModifiers Modifiers;
    Integer Expected;
  };
  for (const Step& s : std::initializer_list<Step>{{Qt::Key_Tab, Qt::NoModifier, 4},     // skips the hidden filter
                                                  {Qt::Key_Right, Qt::NoModifier, 5},
                                                  {Qt::Key_Right, Qt::NoModifier, 5},   // stops at the end
                                                  {Qt::Key_Tab, Qt::NoModifier, 0},     // Tab wraps around
                                                  {Qt::Key_Backtab, Qt::ShiftModifier, 5},
                                                  {Qt::Key_Home, Qt::NoModifier, 0},    // the first column itself
                                                  {Qt::Key_Left, Qt::NoModifier, 0},
                                                  {Qt::Key_End, Qt::NoModifier, 5},     // the last column itself
                                                  {Qt::Key_Left, Qt::ControlModifier, 0}}) {
    Key(f.Editor(), s.Key, s.Modifiers);
    EXPECT_EQ(f.Grid->FilterCol(), s.Expected) << "after key " << s.Key;
  }
  Type(f.Editor(), "abc");
  Key(f.Editor(), Qt::Key_Left);
  EXPECT_EQ(f.Grid->FilterCol(), 0) << "Left inside the text moves the caret";
  EXPECT_EQ(f.Editor()->SelStart(), 2);

  f.Editor()->SetText(String());
  Key(f.Editor(), Qt::Key_Tab);
  f.Query.Last();
  Key(f.Editor(), Qt::Key_Down);
  EXPECT_FALSE(f.Grid->FilterEditMode());
  EXPECT_FALSE(f.Editor()->Visible());
  EXPECT_EQ(f.Grid->SelectedIndex(), 1) << "the filter column becomes the current column";
  EXPECT_EQ(f.Query.RecNo(), 1) << "the first visible record becomes current";
}

TEST(DBGridXFilterRow, UpFromTheFirstRecordAndCtrlUpFromAnyRecordEnterTheFilterRow) {
  TFilterRowForm f;
  f.Grid->SetFocus();
  f.Grid->SetCol(f.Grid->ColumnIndexToGridCol(2));
  f.Query.Last();
  Key(f.Grid, Qt::Key_Up);
  EXPECT_FALSE(f.Grid->FilterEditMode()) << "Up below the first record moves up a record";
  EXPECT_EQ(f.Query.RecNo(), 2);

  f.Query.First();
  Key(f.Grid, Qt::Key_Up);
  ASSERT_TRUE(f.Grid->FilterEditMode());
  EXPECT_EQ(f.Grid->FilterCol(), 2) << "the current column's filter cell";
  EXPECT_TRUE(f.Editor()->Visible());

  f.LeaveRow();
  f.Query.Last();
  Key(f.Grid, Qt::Key_Up, Qt::ControlModifier);
  EXPECT_TRUE(f.Grid->FilterEditMode()) << "Ctrl+Up from the last record";

  f.LeaveRow();
  f.Grid->STFilter()->SetLocation(stflInTitleFilterX);
  f.Query.First();
  Key(f.Grid, Qt::Key_Up);
  EXPECT_FALSE(f.Grid->FilterEditMode()) << "a filter inside the titles has no row to enter";
}

TEST(DBGridXFilterRow, InstantApplyFollowsLocalUntilItIsSet) {
  TFilterRowForm f;
  TSTDBGridXFilter* settings = f.Grid->STFilter();
  EXPECT_FALSE(settings->InstantApply());
  settings->SetLocal(true);
  EXPECT_TRUE(settings->InstantApply());
  settings->SetInstantApply(false);
  EXPECT_FALSE(settings->InstantApply());
  settings->SetLocal(false);
  settings->SetInstantApply(true);
  EXPECT_TRUE(settings->InstantApply()) << "once set it keeps its own value";
  EXPECT_TRUE(settings->InstantApplyStored());
}

TEST(DBGridXFilterRow, AnApplyHandlerThatRaisesStillRestoresTheLeftColumnAndRepaints) {
  TFilterRowForm f;
  f.Grid->SetBounds(10, 10, 200, 200);
  f.Grid->SetLeftCol(3);
  f.Grid->OnApplyFilter = [&](TObject*) {
    f.Grid->SetLeftCol(1);
    throw Exception(QStringLiteral("the data set refused the filter"));
  };
  try {
    f.Grid->ApplyFilter();
    FAIL() << "the handler's failure propagates";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), "the data set refused the filter");
  }
  EXPECT_EQ(f.Grid->LeftCol(), 3);
}

TEST(DBGridXFilterRow, ARejectedTextKeepsTheOldConditionAndItsText) {
  TFilterRowForm f;
  f.Filter(2)->SetExpressionText("> 1500");
  EXPECT_THROW(f.Filter(2)->SetExpressionText("> 'unclosed"), Exception);
  EXPECT_EQ(f.Filter(2)->ExpressionStr(), "> 1500");
  EXPECT_EQ(f.Filter(2)->Expression().FirstOperator, stoGreaterX);
  EXPECT_EQ(f.Filter(2)->Expression().FirstOperand.AsDouble(), 1500.0);
}

TEST(DBGridXFilterRow, DisplayTextsQuoteTextsSoTheyParseBack) {
  TFilterRowForm f;
  struct Case {
    Integer Column;
    const char* Typed;
    const char* Shown;
  };
  for (const Case& c : std::initializer_list<Case>{{1, "O'Brien", "~ 'O''Brien'"},
                                                  {1, "in ('Li','O''Brien')", "In ('Li','O''Brien')"},
                                                  {1, "=Null", "=Null"},
                                                  {1, "<>Null", "<>Null"},
                                                  {1, "Li | Wang", "~ 'Li' OR ~ 'Wang'"},
                                                  {2, ">= 5", ">= 5"},
                                                  {2, "", ""}}) {
    f.Filter(c.Column)->SetExpressionText(QString::fromUtf8(c.Typed));
    const String shown = f.Filter(c.Column)->ExpressionDisplayText();
    EXPECT_EQ(shown, QString::fromUtf8(c.Shown)) << c.Typed;
    f.Filter(c.Column)->SetExpressionText(shown);
    EXPECT_EQ(f.Filter(c.Column)->ExpressionDisplayText(), shown) << "reads back as the same condition: " << c.Typed;
  }
}

TEST(DBGridXFilterRow, ALookupColumnStoresTheKeyOfATypedNameAndFiltersByIt) {
  TFilterRowForm f;
  f.Connection.ExecuteSql("CREATE TABLE dept (code INTEGER PRIMARY KEY, title VARCHAR(20))");
  f.Connection.ExecuteSql("INSERT INTO dept VALUES (4, 'Sales'), (6, 'Stock')");
  TADOQuery depts;
  depts.SetConnection(&f.Connection);
  depts.SQL()->SetText("SELECT * FROM dept");
  depts.Open();
  f.Query.Close();
  auto* lookup = new TStringField(&f.Query);
  lookup->SetFieldName("deptname");
  lookup->SetFieldKind(fkLookup);
  lookup->SetKeyFields("qty");
  lookup->SetLookupDataSet(&depts);
  lookup->SetLookupKeyFields("code");
  lookup->SetLookupResultField("title");
  lookup->SetDataSet(&f.Query);
  f.Query.Open();
  TColumnX* column = f.Grid->Columns()->Add();
  column->SetFieldName("deptname");
  TSTColumnFilterX* filter = column->STFilter();
  EXPECT_EQ(filter->FilterFieldName(), "qty");

  filter->SetExpressionText("=Stock");
  EXPECT_EQ(VarToStr(filter->Expression().FirstOperand), "6");
  EXPECT_EQ(filter->ValuesAsEditText(stoEqualX, filter->Expression().FirstOperand), "Stock");
  f.Grid->ApplyFilter();
  EXPECT_EQ(f.Names(), (std::vector<String>{"Wang"}));

  filter->SetExpressionText("=Nobody");
  EXPECT_TRUE(filter->Expression().FirstOperand.IsNull());
}

TEST(DBGridXFilterRow, ValuesAsEditTextQuotesWhatWouldReadBackOtherwise) {
  TFilterRowForm f;
  struct Case {
    TSTOperatorX Operator;
    Variant Value;
    const char* Text;
  };
  for (const Case& c : std::initializer_list<Case>{{stoEqualX, Variant(String("plain")), "plain"},
                                                  {stoEqualX, Variant(String("sand and")), "'sand and'"},
                                                  {stoEqualX, Variant(String("or")), "'or'"},
                                                  {stoEqualX, Variant(String(" lead")), "' lead'"},
                                                  {stoEqualX, Variant(String("O'Brien")), "O'Brien"},
                                                  {stoEqualX, Variant(String("'quoted")), "'''quoted'"},
                                                  {stoInListX, Variant::Array({Variant(String("a,b")), Variant(String("c"))}), "'a,b',c"},
                                                  {stoEqualX, Variant(String("a,b")), "a,b"}})
    EXPECT_EQ(f.Filter(1)->ValuesAsEditText(c.Operator, c.Value), QString::fromUtf8(c.Text)) << c.Text;
}

TEST(DBGridXFilterRow, FilterCellsShowTheirConditionInBlueBesideAFaintButton) {
  TFilterRowForm f;
  f.Filter(2)->SetFilterText(QStringLiteral("> 1500"));
  const Integer row = f.Grid->HeaderRowCount() - 1;
  auto textPart = [&](Integer Index) {
    TRect r = f.Grid->CellRect(f.Grid->ColumnIndexToGridCol(Index), row);
    r.Right -= GetSystemMetrics(SM_CXVSCROLL);
    return r;
  };
  // Text pixels: blue clearly above the other channels.
  auto bluePixels = [](const QImage& Image, const TRect& R) {
    Integer count = 0;
    for (Integer y = R.Top; y < R.Bottom; ++y)
      for (Integer x = R.Left; x < R.Right; ++x) {
        const QColor c = Image.pixelColor(x, y);
        if (c.blue() - std::max(c.red(), c.green()) > 80) ++count;
      }
    return count;
  };
  const QImage image = f.Grab();
  EXPECT_GT(bluePixels(image, textPart(2)), 10) << "the condition's text";
  EXPECT_EQ(bluePixels(image, textPart(1)), 0) << "no condition, no text";
  const TRect empty = textPart(1);
  const TColor tinted = ColorToRGB(BlendColors(clWindow, clBtnFace, 8));
  EXPECT_EQ(QColorToColor(image.pixelColor(empty.Left + 3, empty.Top + empty.Height() / 2)), tinted);
  EXPECT_NE(tinted, ColorToRGB(clWindow));
  const TRect cell = f.Grid->CellRect(f.Grid->ColumnIndexToGridCol(1), row);
  bool buttonDrawn = false;
  for (Integer x = empty.Right; x < cell.Right && !buttonDrawn; ++x)
    for (Integer y = cell.Top; y < cell.Bottom && !buttonDrawn; ++y)
      buttonDrawn = QColorToColor(image.pixelColor(x, y)) != tinted;
  EXPECT_TRUE(buttonDrawn) << "the drop-down button at the cell's right end";

  f.Grid->Columns()->Items(2)->SetFieldName(QString());
  EXPECT_EQ(bluePixels(f.Grab(), textPart(2)), 0) << "a column without a field shows no condition";
}

TEST(DBGridXFilterRow, APressOnAFilterCellPutsTheCaretWhereItWas) {
  TFilterRowForm f;
  f.Filter(2)->SetFilterText(QStringLiteral("> 1500"));
  const TRect cell = f.Grid->CellRect(f.Grid->ColumnIndexToGridCol(2), f.Grid->HeaderRowCount() - 1);
  const Integer middle = (cell.Top + cell.Bottom) / 2;
  auto pressAt = [&](Integer X) {
    f.LeaveRow();
    f.Grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(TPoint(X, middle)));
    f.Grid->Perform(WM_LBUTTONUP, 0, PointToLParam(TPoint(X, middle)));
    EXPECT_EQ(f.Editor()->SelLength(), 0) << X;
    return f.Editor()->SelStart();
  };
  EXPECT_EQ(pressAt(cell.Left + 2), 0);
  TCanvas measure;
  measure.SetFont(f.Grid->Font());
  const Integer inside = pressAt(cell.Left + 2 + measure.TextWidth(QStringLiteral("> 15")));
  EXPECT_GT(inside, 0);
  EXPECT_LT(inside, 6);
  EXPECT_EQ(pressAt(cell.Right - GetSystemMetrics(SM_CXVSCROLL) - 4), 6) << "past the text: its end";
}

TEST(DBGridXFilterRow, TheOpenEditorStaysOverItsCellWhenTheGridScrollsOrAColumnIsSized) {
  TFilterRowForm f;
  for (Integer i = 0; i < f.Grid->Columns()->Count(); ++i) f.Grid->Columns()->Items(i)->SetWidth(120);
  QApplication::processEvents();
  f.ClickFilterCell(2);
  ASSERT_TRUE(f.Editor()->Visible());
  auto expected = [&f] {
    const TRect cell = f.Grid->CellRect(f.Grid->ColumnIndexToGridCol(2), f.Grid->HeaderRowCount() - 1);
    return TRect(cell.Left + 1, cell.Top, cell.Right, cell.Bottom);
  };
  const TRect before = f.Editor()->BoundsRect();

  f.Grid->Perform(WM_HSCROLL, TWMScroll::Pack(SB_LINEDOWN, 0), 0);
  ASSERT_NE(expected(), before) << "the cell moved";
  EXPECT_EQ(f.Editor()->BoundsRect(), expected()) << "after a horizontal scroll";

  const Integer nameCol = f.Grid->ColumnIndexToGridCol(1);
  f.Grid->SetColWidths(nameCol, f.Grid->ColWidths(nameCol) + 30);
  EXPECT_EQ(f.Editor()->BoundsRect(), expected()) << "after the column on its left was sized";

  f.Grid->Columns()->Items(0)->SetVisible(false);
  EXPECT_EQ(f.Editor()->BoundsRect(), expected()) << "after the layout was rebuilt";

  f.Grid->SetBounds(f.Grid->Left(), f.Grid->Top(), f.Grid->Width() - 60, f.Grid->Height());
  EXPECT_EQ(f.Editor()->BoundsRect(), expected()) << "after the grid was resized";
  EXPECT_TRUE(f.Editor()->Visible());
}

TEST(DBGridXFilterRow, AFreedListSourceLeavesTheFilterWithoutOneAndAnOpenedOneIsReadThrough) {
  TFilterRowForm f;
  TADOQuery list;
  list.SetConnection(&f.Connection);
  list.SQL()->SetText("SELECT id, name FROM pay ORDER BY id");
  list.Open();
  list.Last();
  auto* source = new TDataSource(nullptr);
  source->SetDataSet(&list);
  TSTColumnFilterX* filter = f.Filter(1);
  filter->SetListField("name");
  filter->SetKeyField("id");
  filter->SetListSource(source);
  EXPECT_EQ(list.RecNo(), 1) << "an active list is read through and left on its first record";
  EXPECT_EQ(filter->ListDataSet(), &list);
  ASSERT_NE(filter->CreateListValueList(), nullptr);

  list.Close();
  list.Open();
  EXPECT_NE(filter->CreateListValueList(), nullptr) << "the values are taken again after the reopening";

  delete source;
  EXPECT_EQ(filter->ListSource(), nullptr);
  EXPECT_EQ(filter->ListDataSet(), nullptr);
  EXPECT_EQ(filter->CreateListValueList(), nullptr);
  filter->SetExpressionText("= Li");
  EXPECT_EQ(VarToStr(filter->Expression().FirstOperand), "Li") << "without a list the text is the value";
}

TEST(DBGridXFilterRow, TheOpenEditorFollowsItsCellWhenNewRecordsWidenTheIndicatorOrAColumnIsSized) {
  TFilterRowForm f;
  f.Grid->SetOptionsX(f.Grid->OptionsX() + TDBGridXOptions{dghShowRecNo});
  QApplication::processEvents();
  f.ClickFilterCell(1);
  ASSERT_TRUE(f.Grid->FilterEditMode());
  const auto cellLeft = [&] { return f.Grid->CellRect(f.Grid->ColumnIndexToGridCol(1), f.Grid->HeaderRowCount() - 1).Left; };
  const Integer cellBefore = cellLeft(), editorBefore = f.Editor()->Left();
  for (Integer i = 0; i < 10; ++i) {
    f.Query.Append();
    f.Field("name")->SetAsString(QStringLiteral("n%1").arg(i));
    f.Query.Post();
  }
  QApplication::processEvents();
  ASSERT_GT(cellLeft(), cellBefore) << "two-digit record numbers widen the indicator";
  EXPECT_EQ(f.Editor()->Left() - editorBefore, cellLeft() - cellBefore);

  const Integer cellNow = cellLeft(), editorNow = f.Editor()->Left();
  TColumnX* first = f.Grid->Columns()->Items(0);
  first->SetWidth(first->Width() + 30);
  QApplication::processEvents();
  ASSERT_EQ(cellLeft(), cellNow + 30);
  EXPECT_EQ(f.Editor()->Left(), editorNow + 30) << "a wider column before it moves the editor along";
}
