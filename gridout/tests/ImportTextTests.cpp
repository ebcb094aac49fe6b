#include "GridOutputFixture.h"
#include "platform/rtl/Encodings.h"
#include "platform/ui/Dialogs.h"

using namespace gridouttest;

namespace {

QByteArray Ansi(const char* Text) { return StringToGbk(QString::fromUtf8(Text)); }

}  // namespace

TEST(ImportAsText, LinesFillFromTheCurrentCellOnAndAppendWhatIsLeftWhenAllowed) {
  for (const bool appending : {true, false}) {
    TGridOutputForm f;
    f.SetColumns({{"name", "姓名"}, {"base", "工资"}, {"qty", "数量"}});
    f.Bind();
    if (!appending) f.Grid->SetAllowedOperations(f.Grid->AllowedOperations() - TDBGridXAllowedOperations{alopAppendX});
    f.Grid->SetSelectedIndex(1);
    // LF alone ends a line like CR LF; cells beyond the columns are dropped.
    f.Import<TDBGridXImportAsText>(Ansi("1\t2\tdropped\n3\t4\r\n5\t6\n7\t8"));
    EXPECT_EQ(f.Values("base"), appending ? QStringList({"1", "3", "5", "7"}) : QStringList({"1", "3", "5"}));
    EXPECT_EQ(f.Values("qty"), appending ? QStringList({"2", "4", "6", "8"}) : QStringList({"2", "4", "6"}));
    EXPECT_EQ(f.Values("name").mid(0, 3), QStringList({QStringLiteral("张三"), QStringLiteral("李四"), QStringLiteral("王五")}));
  }
}

TEST(ImportAsText, CellRulesShortLinesTrailingTabsAndTheEndOfTheSource) {
  struct Case { const char* name; QByteArray text; QStringList base; QStringList qty; };
  for (const Case& c : std::initializer_list<Case>{
         {"fewer cells keep the rest", Ansi("11\r\n12\t13"), {"11", "12", "3000"}, {"4", "13", "6"}},
         {"a trailing tab empties", Ansi("11\t\r\n"), {"11", "<null>", "3000"}, {"<null>", "<null>", "6"}},
         {"characters the field refuses are stripped", Ansi("7\t12a"), {"7", "<null>", "3000"}, {"12", "<null>", "6"}},
         {"a NUL ends the source", Ansi("9\t9") + '\0' + Ansi("\r\n8\t8"), {"9", "<null>", "3000"}, {"9", "<null>", "6"}},
         {"an empty line is an empty first cell", Ansi("\r\n5"), {"<null>", "5", "3000"}, {"4", "<null>", "6"}}}) {
    TGridOutputForm f;
    f.SetColumns({{"base", "工资"}, {"qty", "数量"}});
    f.Bind();
    f.Grid->SetAllowedOperations(f.Grid->AllowedOperations() - TDBGridXAllowedOperations{alopAppendX});
    f.Grid->SetSelectedIndex(0);
    f.Import<TDBGridXImportAsText>(c.text);
    EXPECT_EQ(f.Values("base"), c.base) << c.name;
    EXPECT_EQ(f.Values("qty"), c.qty) << c.name;
  }
}

TEST(ImportAsText, ALoneCarriageReturnIsTheFormatError) {
  TGridOutputForm f;
  f.SetColumns({{"name", "姓名"}});
  f.Bind();
  try {
    f.Import<TDBGridXImportAsText>(Ansi("甲\r乙"));
    ADD_FAILURE() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("TDBGridXImportAsText.CheckState: 不合法的文本格式"));
  }
  EXPECT_THROW(f.Import<TDBGridXImportAsUnicodeText>(StringToUtf16LE(QStringLiteral("a\rb"))), Exception);
}

TEST(ImportAsUnicodeText, ReadsUtf16AndIgnoresAnOddTrailingByte) {
  TGridOutputForm f;
  f.SetColumns({{"name", "姓名"}, {"note", "备注"}});
  f.Bind();
  f.Grid->SetSelectedIndex(0);
  f.Import<TDBGridXImportAsUnicodeText>(StringToUtf16LE(QStringLiteral("甲\t😀\n乙")) + 'x');
  EXPECT_EQ(f.Values("name"), QStringList({QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("王五")}));
  EXPECT_EQ(f.Values("note")[0], QStringLiteral("😀"));
}

TEST(ImportAsText, KeyListColumnsStoreTheKeyOfTheShownName) {
  TGridOutputForm f;
  f.SetColumns({{"qty", "数量"}});
  f.Column(0)->PickList()->SetCommaText(QStringLiteral("四,六"));
  f.Column(0)->KeyList()->SetCommaText(QStringLiteral("4,6"));
  f.Bind();
  f.Grid->SetSelectedIndex(0);
  f.Import<TDBGridXImportAsText>(Ansi("六\r\n无"));
  EXPECT_EQ(f.Values("qty"), QStringList({"6", "<null>", "6"}));
}

TEST(ImportAsText, SelectedColumnsTakeTheSourceFromTheFirstRecordAndLeaveLaterOnes) {
  TGridOutputForm f;
  f.SetColumns({{"name", "姓名"}, {"qty", "数量"}});
  f.Bind();
  f.Grid->Selection()->Columns()->SelectColumn(f.Column(1), false);
  f.Query.Last();
  f.Import<TDBGridXImportAsText>(Ansi("1\r\n2"));
  EXPECT_EQ(f.Values("qty"), QStringList({"1", "2", "6"}));
  EXPECT_EQ(f.Query.RecNo(), 3);
}

TEST(ImportAsText, AnErrorAsksToGoOnStopOrPassOverAll) {
  struct Case { const char* name; std::vector<Integer> answers; QStringList qty; Integer asked; };
  // Each line's date is invalid; the quantity after it shows how far the import went.
  for (const Case& c : std::initializer_list<Case>{{"yes goes on", {IDYES, IDYES, IDYES}, {"1", "2", "3"}, 3},
                                                   {"no stops", {IDNO}, {"4", "<null>", "6"}, 1},
                                                   {"all passes over the rest", {IDALL}, {"1", "2", "3"}, 1}}) {
    TGridOutputForm f;
    f.SetColumns({{"hired", "日期"}, {"qty", "数量"}});
    f.Bind();
    f.Grid->SetSelectedIndex(0);
    TScriptedDialogs dialogs;
    for (const Integer answer : c.answers) dialogs.AnswerMessageBox(answer);
    try {
      f.Import<TDBGridXImportAsText>(Ansi("zz\t1\r\nzz\t2\r\nzz\t3"));
    } catch (const EAbort&) {
    }
    f.Query.CheckBrowseMode();
    EXPECT_EQ(f.Values("qty"), c.qty) << c.name;
    EXPECT_EQ(Integer(dialogs.Log().size()), c.asked) << c.name;
    ASSERT_FALSE(dialogs.Log().empty());
    EXPECT_TRUE(dialogs.Log()[0].contains(QStringLiteral("Error during insert value:\n"))) << c.name;
    EXPECT_TRUE(dialogs.Log()[0].endsWith(QStringLiteral("\n\n忽略错误?"))) << c.name;
  }
}
