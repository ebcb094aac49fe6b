// The lookup list grid: sizing in rows, the special row, keys, the incremental search on the
// injectable clock, column moves, auto-scroll and the drop-down's close requests.
#include "DBGridXEditTestSupport.h"
#include "platform/rtl/Clock.h"

using dbgridtest::TEditGridForm;

namespace {
class TLookupForm : public TEditGridForm {
public:
  TLookupForm() : TEditGridForm(30) {
    ListSource.SetDataSet(&List);
    Lookup = new TDBLookupGridX(Form);
    Lookup->SetParent(Form);
    Lookup->SetBounds(10, 10, 240, 120);
    Lookup->SetListSource(&ListSource);
    Lookup->SetKeyField(QStringLiteral("code"));
    Lookup->SetListField(QStringLiteral("title;code"));
    Lookup->SpecRow()->SetCellsText(QStringLiteral("(none);-"));
    Lookup->SpecRow()->SetValue(Variant(QStringLiteral("none")));
    QApplication::processEvents();
  }
  void Press(Word Key) {
    Word key = Key;
    Lookup->KeyDown(key, TShiftState{});
  }
  void Type(const String& Text) {
    for (QChar ch : Text) Lookup->KeyPress(ch);
  }
  TDataSource ListSource;
  TDBLookupGridX* Lookup;
};

class TPinnedClock {
public:
  TPinnedClock() { TClock::SetCurrent(&Clock); }
  ~TPinnedClock() { TClock::SetCurrent(nullptr); }
  TManualClock Clock;
};
}  // namespace

TEST(DBLookupGrid, RowCountStaysWithinOneToAHundredRows) {
  TLookupForm f;
  for (const auto& [asked, rows] : std::initializer_list<std::pair<Integer, Integer>>{{0, 1}, {250, 100}, {5, 5}}) {
    f.Lookup->SetRowCount(asked);
    EXPECT_EQ(f.Lookup->RowCount(), rows) << asked;
  }
  f.Lookup->SetBounds(10, 10, 240, 2);
  EXPECT_EQ(f.Lookup->RowCount(), 1);
}

TEST(DBLookupGrid, TheSpecialRowStandsForItsValueAndForKeysNotInTheList) {
  TLookupForm f;
  TSpecRowX* row = f.Lookup->SpecRow();
  row->SetVisible(true);
  struct Case {
    const char* key;
    bool showIfNotInKeyList;
    bool selected;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"none", true, true}, {"X9", true, true}, {"D2", true, false}, {"X9", false, false}}) {
    row->SetShowIfNotInKeyList(c.showIfNotInKeyList);
    f.Lookup->SetKeyValue(Variant::Null());
    f.Lookup->SetKeyValue(Variant(QString::fromUtf8(c.key)));
    EXPECT_EQ(row->Selected, c.selected) << c.key;
  }
  f.Lookup->SetKeyValue(Variant(QStringLiteral("none")));
  EXPECT_EQ(f.Lookup->DisplayText(), QStringLiteral("(none)"));
  f.Lookup->SetKeyValue(Variant(QStringLiteral("D2")));
  EXPECT_EQ(f.Lookup->DisplayText(), QStringLiteral("Li"));
}

TEST(DBLookupGrid, UpOnTheFirstRecordChoosesTheSpecialRowAndDownLeavesIt) {
  TLookupForm f;
  f.Lookup->SpecRow()->SetVisible(true);
  f.Lookup->SetKeyValue(Variant(QStringLiteral("D2")));
  f.Press(VK_UP);
  EXPECT_EQ(f.Lookup->KeyValue().AsString(), QStringLiteral("D1"));
  f.Press(VK_UP);
  EXPECT_EQ(f.Lookup->KeyValue().AsString(), QStringLiteral("none"));
  EXPECT_TRUE(f.Lookup->SpecRow()->Selected);
  f.Press(VK_DOWN);
  EXPECT_EQ(f.Lookup->KeyValue().AsString(), QStringLiteral("D1"));
  EXPECT_FALSE(f.Lookup->SpecRow()->Selected);
  f.Press(VK_END);
  EXPECT_EQ(f.Lookup->KeyValue().AsString(), QStringLiteral("D30"));
}

TEST(DBLookupGrid, TheSearchRestartsAfterTwoSecondsAndStopsAtThirtyTwoCharacters) {
  TPinnedClock clock;
  TLookupForm f;
  f.Lookup->SetKeyValue(Variant(QStringLiteral("D1")));
  clock.Clock.Advance(5000);
  f.Type(QStringLiteral("W"));
  EXPECT_EQ(f.Lookup->KeyValue().AsString(), QStringLiteral("D3"));
  clock.Clock.Advance(2000);
  f.Type(QStringLiteral("a"));
  EXPECT_EQ(f.Lookup->SearchText(), QStringLiteral("Wa"));
  clock.Clock.Advance(2001);
  f.Type(QStringLiteral("dept 1"));
  EXPECT_EQ(f.Lookup->SearchText(), QStringLiteral("dept 1"));
  EXPECT_EQ(f.Lookup->KeyValue().AsString(), QStringLiteral("D10"));
  f.Type(String(40, u'x'));
  EXPECT_EQ(f.Lookup->SearchText().length(), 32);

  TADOQuery numbers;
  numbers.SetConnection(&f.Connection);
  numbers.SQL()->SetText("SELECT rowid AS n, title FROM dept");
  numbers.Open();
  TDataSource numberSource;
  numberSource.SetDataSet(&numbers);
  f.Lookup->SetListSource(nullptr);
  f.Lookup->SetKeyField(QStringLiteral("n"));
  f.Lookup->SetListField(QStringLiteral("n"));
  f.Lookup->SetListSource(&numberSource);
  f.Lookup->SetKeyValue(Variant(3));
  const String searched = f.Lookup->SearchText();
  clock.Clock.Advance(3000);
  f.Type(QStringLiteral("1"));
  EXPECT_EQ(f.Lookup->SearchText(), searched);
  EXPECT_EQ(f.Lookup->KeyValue().AsInteger(), 3);
  f.Lookup->SetListSource(nullptr);
}

TEST(DBLookupGrid, AMovedColumnKeepsTheListFieldIndexOnItsField) {
  TLookupForm f;
  f.Lookup->SetListField(QStringLiteral("code;title"));
  f.Lookup->SetListFieldIndex(1);
  ASSERT_EQ(f.Lookup->ListFieldObject()->FieldName(), QStringLiteral("title"));
  ASSERT_EQ(f.Lookup->Columns()->Count(), 2);
  f.Lookup->SpecRow()->SetCellsText(QStringLiteral("-;(none)"));
  f.Lookup->Columns()->Items(1)->SetIndex(0);
  EXPECT_EQ(f.Lookup->ListField(), QStringLiteral("title;code"));
  EXPECT_EQ(f.Lookup->ListFieldIndex(), 0);
  EXPECT_EQ(f.Lookup->ListFieldObject()->FieldName(), QStringLiteral("title"));
  EXPECT_EQ(f.Lookup->SpecRow()->CellsText(), QStringLiteral("(none);-"));
}

TEST(DBLookupGrid, AutoScrollNeverRunsFasterThanTenMilliseconds) {
  TLookupForm f;
  f.Lookup->SetKeyValue(Variant(QStringLiteral("D1")));
  const TRect cell = f.Lookup->CellRect(f.Lookup->IndicatorColCount(), f.Lookup->HeaderRowCount());
  f.Lookup->MouseDown(mbLeft, TShiftState{ssLeft}, cell.Left + 2, cell.Top + 2);
  const Integer bottom = f.Lookup->ClientHeight();
  f.Lookup->MouseMove(TShiftState{ssLeft}, 5, bottom + 1);
  EXPECT_EQ(f.Lookup->AutoScrollInterval(), 170u);
  f.Lookup->MouseMove(TShiftState{ssLeft}, 5, bottom + 60);
  EXPECT_EQ(f.Lookup->AutoScrollInterval(), 10u);
  f.Lookup->MouseUp(mbLeft, TShiftState{}, 5, 5);
  EXPECT_EQ(f.Lookup->AutoScrollInterval(), 0u);
}
