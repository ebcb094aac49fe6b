// Columns: binding to fields, the assigned-value rule, write-through of default columns,
// the layout stream and the interceptors.
#include "DBGridXTestSupport.h"
#include "dbgrid/DBGridXInterceptors.h"
#include "platform/rtl/Files.h"
#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <csignal>
#include <sys/resource.h>

using dbgridtest::TGridForm;

namespace {
// Lowers the process's file-size limit for a scope; writes beyond it fail instead of
// raising the signal.
class TFileSizeLimit {
public:
  explicit TFileSizeLimit(rlim_t Bytes) {
    getrlimit(RLIMIT_FSIZE, &FSaved);
    FHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = FSaved;
    limit.rlim_cur = Bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~TFileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &FSaved);
    std::signal(SIGXFSZ, FHandler);
  }
private:
  rlimit FSaved{};
  void (*FHandler)(int) = nullptr;
};
}  // namespace

TEST(DBGridXClass, NewGridHasTheDocumentedDefaults) {
  TGridForm f;
  TDBGridX* g = f.Grid;
  EXPECT_EQ(SetToBits(g->Options(), 13), 3325u);
  EXPECT_EQ(SetToBits(g->OptionsX(), 24), 10027105u);
  EXPECT_EQ(g->ColCount(), 2);
  EXPECT_EQ(g->RowCount(), 2);
  EXPECT_EQ(g->IndicatorColCount(), 1);
  EXPECT_EQ(g->Color(), clWindow);
  EXPECT_EQ(g->FooterColor(), clWindow);
  EXPECT_EQ(g->VTitleMargin(), 10);
  EXPECT_EQ(g->AllowedOperations().Contains(alopAppendX), true);
  // Even and odd colours follow Color until first assigned, then keep their own value.
  g->SetColor(clYellow);
  EXPECT_EQ(g->EvenRowColor(), clYellow);
  EXPECT_FALSE(g->IsEvenRowColorStored());
  g->SetEvenRowColor(clYellow);
  g->SetColor(clWhite);
  EXPECT_EQ(g->EvenRowColor(), clYellow);
  EXPECT_TRUE(g->IsEvenRowColorStored());
  EXPECT_EQ(g->OddRowColor(), clWhite);
}

TEST(DBGridXColumns, DefaultColumnsFollowTheVisibleFields) {
  TGridForm f;
  f.Grid->RequestLayout();
  ASSERT_EQ(f.Grid->Columns()->Count(), 1) << "no data source: one unbound column";
  EXPECT_EQ(f.Grid->Columns()->Items(0)->Field(), nullptr);
  f.Bind();
  ASSERT_EQ(f.Grid->Columns()->Count(), 6);
  EXPECT_FALSE(f.Grid->Columns()->IsCustomized());
  EXPECT_EQ(f.Grid->Columns()->Items(2)->Field(), f.Field("base"));
  EXPECT_EQ(f.Grid->ColCount(), 7);
  f.Field("bonus")->SetVisible(false);
  ASSERT_EQ(f.Grid->Columns()->Count(), 5);
  EXPECT_EQ(f.Grid->Columns()->Items(3)->Field(), f.Field("flag"));
}

TEST(DBGridXColumns, PersistentColumnsReplaceDefaultsAndKeepTheirBinding) {
  TGridForm f;
  f.Bind();
  ASSERT_EQ(f.Grid->Columns()->Count(), 6);
  TColumnX* base = f.Grid->Columns()->Add();
  base->SetFieldName("BASE");
  f.Grid->RequestLayout();
  ASSERT_EQ(f.Grid->Columns()->Count(), 1) << "a persistent column drops the default ones";
  TColumnX* missing = f.Grid->Columns()->Add();
  missing->SetFieldName("nosuch");
  EXPECT_EQ(base->FieldName(), "base") << "the name takes the field's letter case";
  f.Query.Close();
  f.Query.Open();
  EXPECT_EQ(base->Field(), f.Field("base"));
  EXPECT_EQ(missing->Field(), nullptr);
  EXPECT_EQ(f.Grid->Columns()->Count(), 2);
  EXPECT_EQ(f.Grid->GridDataLink()->MappedFieldCount(), 2);
  EXPECT_EQ(f.Grid->GridDataLink()->GetFields(1), nullptr);
  EXPECT_FALSE(f.Grid->GridDataLink()->GetDefaultFields());
}

TEST(DBGridXColumns, SettingsReadThroughToTheirFallbackUntilAssigned) {
  TGridForm f;
  f.Bind();
  TColumnX* c = f.Grid->Columns()->Add();
  c->SetFieldName("base");
  f.Field("base")->SetAlignment(taRightJustify);
  struct Case {
    const char* what;
    std::function<bool()> readsFallback;
    std::function<void()> assign;
    std::function<bool()> readsOwn;
  };
  const std::vector<Case> cases{
      {"Color from the grid", [&] { f.Grid->SetColor(clAqua); return c->Color() == clAqua; },
       [&] { c->SetColor(clLime); }, [&] { f.Grid->SetColor(clRed); return c->Color() == clLime; }},
      {"EndEllipsis from ColumnDefValues",
       [&] { f.Grid->ColumnDefValues()->SetEndEllipsis(true); return c->EndEllipsis(); },
       [&] { c->SetEndEllipsis(false); }, [&] { return !c->EndEllipsis(); }},
      {"Alignment from the field", [&] { return c->Alignment() == taRightJustify; },
       [&] { c->SetAlignment(taCenter); },
       [&] { f.Field("base")->SetAlignment(taLeftJustify); return c->Alignment() == taCenter; }},
      {"Title.Alignment from the title defaults",
       [&] { f.Grid->ColumnDefValues()->Title()->SetAlignment(taRightJustify);
             return c->Title()->Alignment() == taRightJustify; },
       [&] { c->Title()->SetAlignment(taCenter); }, [&] { return c->Title()->Alignment() == taCenter; }},
      {"Title.Caption from the field's label", [&] { return c->Title()->Caption() == "base"; },
       [&] { c->Title()->SetCaption("Base pay"); },
       [&] { f.Field("base")->SetDisplayLabel("x"); return c->Title()->Caption() == "Base pay"; }},
      {"Title.Color from the fixed colour", [&] { f.Grid->SetFixedColor(clSilver); return c->Title()->Color() == clSilver; },
       [&] { c->Title()->SetColor(clGray); }, [&] { return c->Title()->Color() == clGray; }},
  };
  for (const Case& k : cases) {
    EXPECT_TRUE(k.readsFallback()) << k.what;
    k.assign();
    EXPECT_TRUE(k.readsOwn()) << k.what;
  }
  // An assigned value equal to its fallback is assigned but not stored.
  c->SetReadOnly(false);
  EXPECT_TRUE(c->IsAssigned(cvReadOnly));
  EXPECT_FALSE(c->IsReadOnlyStored());
  c->SetWidth(c->DefaultWidth() + 7);
  EXPECT_TRUE(c->IsWidthStored());
  c->Title()->SetAlignment(f.Grid->ColumnDefValues()->Title()->Alignment());
  EXPECT_FALSE(c->Title()->IsAlignmentStored());
  c->ResetAssignedValues();
  EXPECT_EQ(c->AssignedMask(), 0u);
  EXPECT_EQ(c->Color(), f.Grid->Color());
}

TEST(DBGridXColumns, DefaultColumnsWriteThroughToTheirFields) {
  TGridForm f;
  f.Bind();
  TColumnX* name = f.Grid->Columns()->Items(1);
  ASSERT_EQ(name->Field(), f.Field("name"));
  const Integer before = f.Field("name")->DisplayWidth();
  name->SetWidth(name->Width() * 2);
  EXPECT_GT(f.Field("name")->DisplayWidth(), before);
  name->Title()->SetCaption("姓名");
  EXPECT_EQ(f.Field("name")->DisplayLabel(), "姓名");
  // Moving a default column moves its field; the grid follows the new field order.
  f.Grid->Columns()->Items(4)->SetIndex(0);
  EXPECT_EQ(f.Field("flag")->Index(), 0);
  EXPECT_EQ(f.Grid->Columns()->Items(0)->Field(), f.Field("flag"));
}

TEST(DBGridXColumns, DefaultColumnIndexNeverUsesAnUnmappedEntry) {
  // A stored layout whose second entry names no field maps it to -1; a default column moved
  // there must not move its field to index -1.
  TGridForm f;
  f.Bind();
  TGridDataLinkX* link = f.Grid->GridDataLink();
  link->ClearMapping();
  link->SetSparseMap(true);
  link->AddMapping("id");
  link->AddMapping("nosuch");
  ASSERT_EQ(link->FieldIndexMap(1), -1);
  TColumnX* flag = f.Grid->Columns()->Items(4);
  flag->SetIndex(1);
  EXPECT_EQ(f.Field("flag")->Index(), 4) << "the field stays";
  EXPECT_EQ(flag->Index(), 4) << "and the default column follows its field again";
  EXPECT_EQ(f.Field("id")->Index(), 0);
}

TEST(DBGridXDataLink, MappingGrowsAndAnswersOutsideItsRange) {
  TGridForm f;
  f.Bind();
  TGridDataLinkX* link = f.Grid->GridDataLink();
  link->ClearMapping();
  link->SetSparseMap(true);
  std::vector<Integer> capacities;
  for (Integer i = 0; i < 17; ++i) {
    link->AddMapping("name");
    capacities.push_back(link->MapCapacity());
  }
  EXPECT_EQ(capacities[0], 8);
  EXPECT_EQ(capacities[8], 16);
  EXPECT_EQ(capacities[16], 32);
  EXPECT_EQ(link->GetFields(-1), nullptr);
  EXPECT_EQ(link->GetFields(17), nullptr);
  link->SetSparseMap(false);
  EXPECT_THROW(link->AddMapping("nosuch"), EDatabaseError);
}

namespace {
// Gives every stored property of the column a value other than its fallback.
void Customise(TColumnX* c) {
  c->SetFieldName("bonus");
  c->SetColor(clAqua);
  c->SetWidth(77);
  c->Font()->SetSize(13);
  c->SetAlignment(taCenter);
  c->SetReadOnly(true);
  c->SetAlwaysShowEditButton(true);
  c->SetAutoFitColWidth(false);
  c->SetButtonStyle(cbsEllipsis);
  c->SetCheckboxes(true);
  c->SetDisplayFormat("0.00");
  c->SetDropDownRows(9);
  c->SetDropDownWidth(120);
  c->SetEditMask("999");
  c->SetEndEllipsis(true);
  c->SetHideDuplicates(true);
  c->SetIncrement(2.5);
  c->KeyList()->Add("Y;y");
  c->KeyList()->Add("N;");
  c->SetLayout(tlCenter);
  c->SetMaxWidth(300);
  c->SetMinWidth(20);
  c->SetNotInKeyListIndex(1);
  c->PickList()->Add("是");
  c->SetShowImageAndText(true);
  c->SetTag(42);
  c->SetToolTips(true);
  c->SetVisible(false);
  c->SetWordWrap(true);
  c->SetInRowLinePos(2);
  c->SetInRowLineHeight(3);
  c->Title()->SetCaption("Pay|Bonus");
  c->Title()->SetAlignment(taRightJustify);
  c->Title()->SetColor(clLime);
  c->Title()->Font()->SetStyle(TFontStyles{fsBold});
  c->Title()->SetHint("hint");
  c->Title()->SetOrientation(tohVertical);
  c->Title()->SetTitleButton(true);
  c->Footer()->SetValueType(fvtSum);
  c->Footer()->SetDisplayFormat("0.00");
  c->Footer()->SetAlignment(taRightJustify);
  c->Footer()->SetColor(clYellow);
  TColumnFooterX* second = c->Footers()->Add();
  second->SetValueType(fvtStaticText);
  second->SetValue("合计");
  second->SetWordWrap(true);
}

std::vector<QString> Describe(TColumnX* c) {
  return {c->FieldName(), QString::number(c->Color()), QString::number(c->Width()), QString::number(c->Font()->Size()),
          QString::number(c->Alignment()), QString::number(c->ReadOnly()), QString::number(c->AlwaysShowEditButton()),
          QString::number(c->AutoFitColWidth()), QString::number(c->ButtonStyle()), QString::number(c->Checkboxes()),
          c->DisplayFormat(), QString::number(c->DropDownRows()), QString::number(c->DropDownWidth()), c->EditMask(),
          QString::number(c->EndEllipsis()), QString::number(c->HideDuplicates()), QString::number(double(c->Increment())),
          c->KeyList()->CommaText(), QString::number(c->Layout()), QString::number(c->MaxWidth()),
          QString::number(c->MinWidth()), QString::number(c->NotInKeyListIndex()), c->PickList()->CommaText(),
          QString::number(c->ShowImageAndText()), QString::number(c->Tag()), QString::number(c->ToolTips()),
          QString::number(c->Visible()), QString::number(c->WordWrap()), QString::number(c->InRowLinePos()),
          QString::number(c->InRowLineHeight()), c->Title()->Caption(), QString::number(c->Title()->Alignment()),
          QString::number(c->Title()->Color()), QString::number(c->Title()->Font()->Style().Contains(fsBold)),
          c->Title()->Hint(), QString::number(c->Title()->Orientation()), QString::number(c->Title()->TitleButton()),
          QString::number(c->Footer()->ValueType()), c->Footer()->DisplayFormat(),
          QString::number(c->Footer()->Alignment()), QString::number(c->Footer()->Color()),
          QString::number(c->Footers()->Count()),
          c->Footers()->Count() > 0 ? c->Footers()->Items(0)->Value() : QString(),
          c->Footers()->Count() > 0 ? QString::number(c->Footers()->Items(0)->WordWrap()) : QString()};
}
}  // namespace

TEST(DBGridXLayoutStream, SavedLayoutRestoresEveryStoredProperty) {
  TGridForm f;
  f.Bind();
  Customise(f.Grid->Columns()->Add());
  TColumnX* plain = f.Grid->Columns()->Add();
  plain->SetFieldName("name");
  const std::vector<QString> expected0 = Describe(f.Grid->Columns()->Items(0));
  const std::vector<QString> expected1 = Describe(plain);
  TMemoryStream stream;
  f.Grid->Columns()->SaveToStream(&stream);

  TGridForm g;
  g.Bind();
  stream.SetPosition(0);
  g.Grid->Columns()->LoadFromStream(&stream);
  ASSERT_EQ(g.Grid->Columns()->Count(), 2);
  EXPECT_TRUE(g.Grid->Columns()->IsCustomized());
  EXPECT_EQ(Describe(g.Grid->Columns()->Items(0)), expected0);
  EXPECT_EQ(Describe(g.Grid->Columns()->Items(1)), expected1);
  EXPECT_EQ(g.Grid->Columns()->Items(0)->Field(), g.Field("bonus"));
  EXPECT_NE(g.Grid->Columns()->Items(0)->Footer()->SumItem(), nullptr) << "the loaded sum footer has its item";
}

TEST(DBGridXLayoutStream, DamagedStreamsRaiseAndLeaveTheColumns) {
  TGridForm f;
  f.Bind();
  Customise(f.Grid->Columns()->Add());
  TMemoryStream saved;
  f.Grid->Columns()->SaveToStream(&saved);
  saved.SetPosition(0);
  const QByteArray good = saved.ReadRest();

  TGridForm g;
  g.Bind();
  const std::vector<QString> before = Describe(g.Grid->Columns()->Items(0));
  struct Case {
    const char* what;
    QByteArray bytes;
  };
  QByteArray altered = good;
  altered[altered.size() / 2] = char(altered[altered.size() / 2] ^ 0x40);
  QByteArray foreign = good;
  foreign[0] = 'X';
  for (const Case& c : std::initializer_list<Case>{{"empty", QByteArray()},
                                                   {"truncated", good.left(good.size() - 5)},
                                                   {"cut in the middle", good.left(good.size() / 2)},
                                                   {"one byte altered", altered},
                                                   {"foreign signature", foreign}}) {
    TMemoryStream stream;
    stream.WriteBuffer(c.bytes);
    stream.SetPosition(0);
    EXPECT_THROW(g.Grid->Columns()->LoadFromStream(&stream), EReadError) << c.what;
    ASSERT_EQ(g.Grid->Columns()->Count(), 6) << c.what;
    EXPECT_EQ(Describe(g.Grid->Columns()->Items(0)), before) << c.what;
  }
}

namespace {
// A layout stream signed as the grid signs it, whatever its columns hold.
QByteArray SignedLayout(quint32 Count, const std::function<void(QDataStream&)>& WriteColumns) {
  QByteArray body;
  {
    QDataStream out(&body, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_4);
    out.writeRawData("MOLI-GRID-COLUMNS", 17);
    out << quint16(1) << Count;
    WriteColumns(out);
  }
  return body + QCryptographicHash::hash(body, QCryptographicHash::Sha256);
}
}  // namespace

// A layout signed on purpose is still outside input: it is refused with a clear error in
// time and memory in proportion to its size, and the columns stay as they are.
TEST(DBGridXLayoutStream, HostileSignedStreamsAreRefused) {
  struct Case {
    const char* what;
    QByteArray bytes;
    const char* message;
  };
  const std::vector<Case> cases{
      {"100 000 nested lists", SignedLayout(1, [](QDataStream& out) {
         out << QStringLiteral("Tag");
         for (int i = 0; i < 100000; ++i) out << quint32(QMetaType::QVariantList) << qint8(0) << quint32(1);
         out << QVariant(7) << QString();
       }), "list inside a list"},
      {"a value type no layout holds", SignedLayout(1, [](QDataStream& out) {
         out << QStringLiteral("Tag") << QVariant(QByteArray("x")) << QString();
       }), "value of type 12"},
      {"a list longer than the stream", SignedLayout(1, [](QDataStream& out) {
         out << QStringLiteral("PickList") << quint32(QMetaType::QStringList) << qint8(0) << quint32(0xFFFFFFFF);
       }), "list of 4294967295 items"},
      {"more columns than the stream holds", SignedLayout(50000, [](QDataStream& out) { out << QString(); }),
       "column count"},
      {"footers beyond the stream's size", SignedLayout(100, [](QDataStream& out) {
         for (int i = 0; i < 100; ++i) out << QStringLiteral("Footers") << QVariant(10000) << QString();
       }), "Footers"},
      {"a footer kind no footer has", SignedLayout(1, [](QDataStream& out) {
         out << QStringLiteral("Footer.ValueType") << QVariant(17920) << QString();
       }), "value 17920 out of range"},
      {"a repeated key", SignedLayout(1, [](QDataStream& out) {
         out << QStringLiteral("Width") << QVariant(10) << QStringLiteral("Width") << QVariant(20) << QString();
       }), "Width given twice"},
  };
  TGridForm g;
  g.Bind();
  const std::vector<QString> before = Describe(g.Grid->Columns()->Items(0));
  for (const Case& c : cases) {
    TMemoryStream stream;
    stream.WriteBuffer(c.bytes);
    stream.SetPosition(0);
    try {
      g.Grid->Columns()->LoadFromStream(&stream);
      ADD_FAILURE() << c.what << " was read";
    } catch (const EReadError& e) {
      EXPECT_EQ(e.Message(), QStringLiteral("Invalid column layout: %1").arg(QString::fromLatin1(c.message))) << c.what;
    }
    ASSERT_EQ(g.Grid->Columns()->Count(), 6) << c.what;
    EXPECT_EQ(Describe(g.Grid->Columns()->Items(0)), before) << c.what;
  }
  // A few footers on a small layout are well within its size.
  TMemoryStream stream;
  stream.WriteBuffer(SignedLayout(2, [](QDataStream& out) {
    for (int i = 0; i < 2; ++i) out << QStringLiteral("Footers") << QVariant(3) << QString();
  }));
  stream.SetPosition(0);
  g.Grid->Columns()->LoadFromStream(&stream);
  ASSERT_EQ(g.Grid->Columns()->Count(), 2);
  EXPECT_EQ(g.Grid->Columns()->Items(1)->Footers()->Count(), 3);
}

TEST(DBGridXLayoutStream, AFailedSaveKeepsTheOldFile) {
  TGridForm f;
  f.Bind();
  moli::testing::ScratchDir dir;
  const String path = dir.File(QStringLiteral("NotFirst.txt"));
  f.Grid->Columns()->SaveToFile(path);
  const qint64 size = QFileInfo(path).size();
  ASSERT_GT(size, 0);
  // A file-size limit below the new layout's size makes the next save fail while writing.
  Customise(f.Grid->Columns()->Add());
  {
    TFileSizeLimit limit(size + 16);
    EXPECT_THROW(f.Grid->Columns()->SaveToFile(path), EWriteError);
  }
  EXPECT_EQ(QFileInfo(path).size(), size);
  EXPECT_EQ(QDir(dir.Path()).entryList(QDir::Files | QDir::Hidden).size(), 1) << "no temporary file is left";
  f.Grid->Columns()->LoadFromFile(path);
  EXPECT_EQ(f.Grid->Columns()->Count(), 6);
  EXPECT_ANY_THROW(f.Grid->Columns()->SaveToFile(dir.File(QStringLiteral("missing/NotFirst.txt"))));
}

TEST(DBGridXInterceptors, ColumnsIndexRestoresTheOrderByFieldName) {
  TGridForm f;
  f.Bind();
  TDBGridColumnsX* columns = f.Grid->Columns();
  for (const char* name : {"id", "name", "base", "name"}) columns->Add()->SetFieldName(name);
  TColumnsXPropertyInterceptor order(columns);
  EXPECT_EQ(order.ColumnsIndex(), "\"id\",\"name\",\"base\",\"name\"");
  const auto names = [&] {
    QStringList list;
    for (Integer i = 0; i < columns->Count(); ++i) list << columns->Items(i)->FieldName() + QString::number(columns->Items(i)->Tag());
    return list.join(u' ');
  };
  for (Integer i = 0; i < columns->Count(); ++i) columns->Items(i)->SetTag(i);
  struct Case {
    const char* saved;
    const char* expected;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"\"base\",\"id\"", "base2 id0 name1 name3"},
           {"\"name\",\"name\"", "id0 name1 base2 name3"},
           {"\"BASE\",\"ID\"", "id0 name1 base2 name3"},
           {"\"id\",\"nosuch\",\"base\"", "id0 name1 base2 name3"},
       }) {
    order.SetColumnsIndex("\"id\",\"name\",\"base\"");
    for (Integer i = 0; i < columns->Count(); ++i) columns->Items(i)->SetTag(i);
    order.SetColumnsIndex(c.saved);
    EXPECT_EQ(names(), c.expected) << c.saved;
  }
}

TEST(DBGridXInterceptors, WidthGoesToTheDesignWidthWhileFitting) {
  TGridForm f;
  f.Bind();
  TColumnX* c = f.Grid->Columns()->Add();
  c->SetFieldName("name");
  TColumnXPropertyInterceptor width(c);
  width.SetWidth(90);
  EXPECT_EQ(c->Width(), 90);
  f.Grid->SetAutoFitColWidths(true);
  const Integer shown = c->Width();
  width.SetWidth(55);
  EXPECT_EQ(c->DesignWidth(), 55);
  EXPECT_EQ(c->Width(), shown);
}
