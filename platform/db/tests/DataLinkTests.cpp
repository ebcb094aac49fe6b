#include "DbTestSupport.h"

namespace {

class HundredRows : public ::testing::Test {
protected:
  void SetUp() override {
    Db.Exec(QStringLiteral("CREATE TABLE T (ID INTEGER PRIMARY KEY AUTOINCREMENT, Name VARCHAR(20))"));
    Db.Connection.BeginTrans();
    for (int i = 1; i <= 100; ++i) Db.Exec(QStringLiteral("INSERT INTO T (Name) VALUES ('n%1')").arg(i));
    Db.Connection.CommitTrans();
    Data = Db.Query(QStringLiteral("select * from T order by ID"), ltBatchOptimistic);
    Source.SetDataSet(Data.get());
    Link.SetBufferCount(10);
    Link.SetDataSource(&Source);
    Link.Events.clear();
    Data->AfterScroll = [this](TDataSet*) { ++Scrolls; };
  }

  // The ID of every row of the link's window ("-" for a new row), read through
  // ActiveRecord, which is put back afterwards.
  std::string Window() {
    std::string text;
    const Integer saved = Link.ActiveRecord();
    for (Integer r = 0; r < Link.RecordCount(); ++r) {
      Link.SetActiveRecord(r);
      const TField* id = Data->FieldByName(QStringLiteral("ID"));
      text += (r ? " " : "") + (id->IsNull() ? std::string("-") : std::to_string(id->AsInteger()));
    }
    Link.SetActiveRecord(saved);
    return text;
  }

  std::string Window(int first, int last) {
    std::string text;
    for (int i = first; i <= last; ++i) text += (i > first ? " " : "") + std::to_string(i);
    return text;
  }

  std::string TakeEvents() {
    std::string text;
    for (const std::string& e : Link.Events) text += (text.empty() ? "" : ", ") + e;
    Link.Events.clear();
    return text;
  }

  ScratchDatabase Db;
  std::unique_ptr<TADOQuery> Data;
  TDataSource Source;
  RecordingLink Link;
  int Scrolls = 0;
};

TEST_F(HundredRows, MovingReportsHowFarTheWindowScrolled) {
  EXPECT_EQ(Window(), Window(1, 10));
  struct Step {
    int distance;
    const char* events;
    int active;
    int firstId;
    int currentId;
  };
  for (const Step& s : std::initializer_list<Step>{
           {5, "scrolled 0", 5, 1, 6},
           {4, "scrolled 0", 9, 1, 10},
           {1, "scrolled 1", 9, 2, 11},
           {3, "scrolled 3", 9, 5, 14},
           {-9, "scrolled 0", 0, 5, 5},
           {-2, "scrolled -2", 0, 3, 3},
           {25, "scrolled 16", 9, 19, 28},
           {-100, "scrolled -18", 0, 1, 1},
       }) {
    EXPECT_EQ(Data->MoveBy(s.distance) != 0, true) << s.distance;
    EXPECT_EQ(TakeEvents(), s.events) << s.distance;
    EXPECT_EQ(Link.ActiveRecord(), s.active) << s.distance;
    EXPECT_EQ(Window(), Window(s.firstId, s.firstId + 9)) << s.distance;
    EXPECT_EQ(Data->FieldByName(QStringLiteral("ID"))->AsInteger(), s.currentId) << s.distance;
  }
  EXPECT_TRUE(Data->Bof());
}

TEST_F(HundredRows, LastFirstAndMovesPastTheEnds) {
  Data->Last();
  EXPECT_EQ(TakeEvents(), "changed");
  EXPECT_EQ(Link.ActiveRecord(), 9);
  EXPECT_EQ(Window(), Window(91, 100));
  EXPECT_TRUE(Data->Eof());
  EXPECT_EQ(Data->MoveBy(1), 0);
  EXPECT_EQ(TakeEvents(), "");
  EXPECT_EQ(Data->RecNo(), 100);

  Data->First();
  EXPECT_EQ(TakeEvents(), "changed");
  EXPECT_EQ(Link.ActiveRecord(), 0);
  EXPECT_EQ(Window(), Window(1, 10));
  EXPECT_TRUE(Data->Bof());
}

TEST_F(HundredRows, DeletesAndInsertsKeepTheActiveRow) {
  Data->MoveBy(3);  // ID 4, window row 3
  TakeEvents();
  Data->Delete();
  EXPECT_EQ(TakeEvents(), "changed");
  EXPECT_EQ(Link.ActiveRecord(), 3);
  EXPECT_EQ(Window(), "1 2 3 5 6 7 8 9 10 11");

  Data->Insert();
  EXPECT_EQ(TakeEvents(), "editing, changed");
  EXPECT_EQ(Link.ActiveRecord(), 3);
  EXPECT_EQ(Window(), "1 2 3 - 5 6 7 8 9 10");
  Data->Cancel();
  EXPECT_EQ(TakeEvents(), "browsing, changed");
  EXPECT_EQ(Window(), "1 2 3 5 6 7 8 9 10 11");
  EXPECT_EQ(Data->FieldByName(QStringLiteral("ID"))->AsInteger(), 5);

  Data->Append();
  EXPECT_EQ(Link.ActiveRecord(), 9);
  EXPECT_EQ(Window(), "92 93 94 95 96 97 98 99 100 -");
  Data->FieldByName(QStringLiteral("Name"))->SetAsString(QStringLiteral("new"));
  Data->Post();
  EXPECT_EQ(Link.ActiveRecord(), 9);
  EXPECT_EQ(Data->RecordCount(), 100);

  // Deleting the last row moves the cursor to the row before it.
  Data->Delete();
  EXPECT_EQ(Data->FieldByName(QStringLiteral("ID"))->AsInteger(), 100);
  EXPECT_EQ(Link.ActiveRecord(), 9);
  EXPECT_EQ(Window(), Window(91, 100));
}

TEST_F(HundredRows, SettingActiveRecordNeverMovesTheCursor) {
  RecordingLink small;
  small.SetBufferCount(3);
  small.SetDataSource(&Source);
  Data->MoveBy(12);
  TakeEvents();
  small.Events.clear();
  const int scrolls = Scrolls;
  const TBookmarkStr before = Data->Bookmark();

  const Integer saved = Link.ActiveRecord();
  Link.SetActiveRecord(2);
  EXPECT_EQ(Data->FieldByName(QStringLiteral("ID"))->AsInteger(), 6);  // window 4..13
  Link.SetActiveRecord(saved);

  EXPECT_EQ(Data->Bookmark(), before);
  EXPECT_EQ(Data->FieldByName(QStringLiteral("ID"))->AsInteger(), 13);
  EXPECT_EQ(Scrolls, scrolls);
  EXPECT_EQ(TakeEvents(), "");
  EXPECT_TRUE(small.Events.empty());
  EXPECT_EQ(small.ActiveRecord(), 2);
  EXPECT_EQ(small.RecordCount(), 3);
}

TEST_F(HundredRows, NestedDisableControlsGivesOneChangeAtTheOutermostEnable) {
  Data->DisableControls();
  Data->DisableControls();
  Data->Next();
  Data->Last();
  Data->Edit();
  Data->FieldByName(QStringLiteral("Name"))->SetAsString(QStringLiteral("x"));
  Data->Post();
  Data->EnableControls();
  EXPECT_TRUE(Data->ControlsDisabled());
  EXPECT_EQ(TakeEvents(), "");
  Data->EnableControls();
  EXPECT_EQ(TakeEvents(), "changed");
  EXPECT_EQ(Link.ActiveRecord(), 9);
  EXPECT_EQ(Window(), Window(91, 100));
}

TEST_F(HundredRows, DisableControlsLockEnablesThemWhenTheScopeFails) {
  try {
    TDisableControlsLock lock(Data.get());
    Data->Last();
    throw EDatabaseError(QStringLiteral("step failed"));
  } catch (const EDatabaseError&) {
  }
  EXPECT_FALSE(Data->ControlsDisabled());
  EXPECT_EQ(TakeEvents(), "changed");
  EXPECT_EQ(Window(), Window(91, 100));
}

TEST_F(HundredRows, ClosingAndReopeningWhileDisabledEndsInOneLayoutChange) {
  Data->DisableControls();
  Data->Close();
  Data->Open();
  Data->EnableControls();
  EXPECT_EQ(TakeEvents(), "layout");
  EXPECT_TRUE(Link.Active());
}

TEST_F(HundredRows, LinksFollowOpenCloseAndEditing) {
  Data->Close();
  EXPECT_EQ(TakeEvents(), "inactive");
  EXPECT_EQ(Link.RecordCount(), 0);
  Data->Open();
  EXPECT_EQ(TakeEvents(), "active");
  EXPECT_EQ(Link.RecordCount(), 10);
  EXPECT_TRUE(Link.Edit());
  EXPECT_EQ(TakeEvents(), "editing, record");
  Data->FieldByName(QStringLiteral("name"))->SetAsString(QStringLiteral("y"));
  EXPECT_EQ(TakeEvents(), "record Name");
  Data->Cancel();
  EXPECT_EQ(TakeEvents(), "browsing, changed");
  EXPECT_EQ(Data->FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("n1"));
  Link.SetReadOnly(true);
  EXPECT_FALSE(Link.Edit());
  EXPECT_EQ(Data->State(), dsBrowse);
}

TEST_F(HundredRows, PostCollectsPendingControlValuesAndFocusesMissingOnes) {
  Data->Edit();
  Link.PendingField = QStringLiteral("Name");
  Link.PendingText = QStringLiteral("typed");
  TakeEvents();
  Data->Post();
  EXPECT_EQ(TakeEvents(), "browsing, changed");  // the link's own write does not echo back to it
  EXPECT_EQ(Data->FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("typed"));

  Data->FieldByName(QStringLiteral("Name"))->SetRequired(true);
  Data->Insert();
  TakeEvents();
  EXPECT_THROW(Data->Post(), EDatabaseError);
  EXPECT_EQ(TakeEvents(), "focus Name");
  EXPECT_EQ(Data->State(), dsInsert);
}

TEST_F(HundredRows, FieldPropertiesRepaintOrRebuildTheLinks) {
  TField* name = Data->FieldByName(QStringLiteral("Name"));
  name->SetAlignment(taCenter);
  name->SetDisplayLabel(QStringLiteral("姓名"));
  name->SetVisible(false);
  name->SetVisible(false);
  dynamic_cast<TIntegerField*>(Data->FieldByName(QStringLiteral("ID")))->SetDisplayFormat(QStringLiteral("0000"));
  EXPECT_EQ(TakeEvents(), "changed, layout, layout, changed");
  EXPECT_EQ(Data->FieldByName(QStringLiteral("ID"))->DisplayText(), QStringLiteral("0001"));
  EXPECT_EQ(name->DisplayName(), QStringLiteral("姓名"));
}

TEST_F(HundredRows, MovingAFieldReordersTheFieldsAndRebuildsTheLinks) {
  TField* name = Data->FieldByName(QStringLiteral("Name"));
  TField* id = Data->FieldByName(QStringLiteral("ID"));
  struct Case {
    Integer Target;
    Integer NameIndex;
    const char* Events;
  };
  for (const Case& c : std::initializer_list<Case>{{0, 0, "layout"}, {0, 0, ""}, {9, 1, "layout"}, {-3, 0, "layout"}}) {
    name->SetIndex(c.Target);
    EXPECT_EQ(name->Index(), c.NameIndex) << c.Target;
    EXPECT_EQ(id->Index(), 1 - c.NameIndex) << c.Target;
    EXPECT_EQ(TakeEvents(), c.Events) << c.Target;
  }
  EXPECT_EQ(name->AsString(), QStringLiteral("n1")) << "values stay with their field";
}

TEST_F(HundredRows, GrowingAndShrinkingTheBufferKeepsTheCursorInside) {
  Data->Last();
  Link.SetBufferCount(20);
  EXPECT_EQ(Link.RecordCount(), 20);
  EXPECT_EQ(Link.ActiveRecord(), 19);
  EXPECT_EQ(Window(), Window(81, 100));
  Link.SetBufferCount(4);
  EXPECT_EQ(Link.RecordCount(), 4);
  EXPECT_EQ(Link.ActiveRecord(), 3);
  EXPECT_EQ(Window(), Window(97, 100));
}

}  // namespace

namespace {

// A query that reads any of its records in place, as in-memory data sets offer it.
class ReadAtQuery : public TADOQuery {
public:
  using TDataSet::BeginReadAt;
  using TDataSet::EndReadAt;
};

TEST_F(HundredRows, ReadingARecordInPlaceMovesNeitherCursorNorLinks) {
  ReadAtQuery query;
  query.SetConnection(&Db.Connection);
  query.SQL()->SetText(QStringLiteral("select * from T order by ID"));
  query.Open();
  TDataSource source;
  source.SetDataSet(&query);
  RecordingLink link;
  link.SetBufferCount(5);
  link.SetDataSource(&source);
  query.MoveBy(3);
  link.Events.clear();
  TField* id = query.FieldByName(QStringLiteral("ID"));

  query.BeginReadAt(80);
  EXPECT_EQ(id->AsInteger(), 81);
  query.BeginReadAt(0);
  EXPECT_EQ(id->AsInteger(), 1);
  query.EndReadAt();
  EXPECT_EQ(id->AsInteger(), 81);
  query.EndReadAt();

  EXPECT_EQ(id->AsInteger(), 4);
  EXPECT_EQ(query.RecNo(), 4);
  EXPECT_TRUE(link.Events.empty());
  EXPECT_THROW(query.BeginReadAt(100), EDatabaseError);
  query.BeginReadAt(5);
  query.Close();
  query.Open();
  EXPECT_EQ(query.FieldByName(QStringLiteral("ID"))->AsInteger(), 1) << "closing ends every read in place";
}

}  // namespace
