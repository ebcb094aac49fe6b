#include "platform/rtl/Classes.h"
#include "platform/testing/TestPaths.h"
#include <QFile>
#include "platform/rtl/tests/TrackedObject.h"
#include <gtest/gtest.h>

namespace {

TStringList* ListOf(TStringList& List, std::initializer_list<const char*> Items) {
  for (const char* s : Items) List.Add(String::fromUtf8(s));
  return &List;
}

QStringList Items(const TStrings& List) {
  QStringList result;
  for (Integer i = 0; i < List.Count(); ++i) result << List[i];
  return result;
}

using Tracked = moli::testing::TrackedObject;

TEST(StringList, SortedListsHonourTheDuplicatesRule) {
  struct Case { TDuplicates dup; QStringList expected; };
  for (const Case& c : {Case{dupIgnore, {"apple", "Banana", "cherry"}},
                        Case{dupAccept, {"apple", "banana", "Banana", "cherry"}}}) {
    TStringList list;
    list.SetSorted(true);
    list.SetDuplicates(c.dup);
    ListOf(list, {"cherry", "Banana", "apple", "banana"});
    EXPECT_EQ(Items(list), c.expected) << c.dup;
    EXPECT_EQ(list.IndexOf("BANANA"), 1);
  }
  TStringList strict;
  strict.SetSorted(true);
  strict.SetDuplicates(dupError);
  strict.Add("a");
  try {
    strict.Add("A");
    FAIL() << "a duplicate was accepted";
  } catch (const EStringListError& e) {
    EXPECT_EQ(e.Message(), "String list does not allow duplicates");
  }
  EXPECT_THROW(strict.Insert(0, "b"), EStringListError);
  strict.Add("b");
  EXPECT_THROW(strict.Move(1, 0), EStringListError);
  EXPECT_EQ(strict.Text(), "a\r\nb\r\n");
}

TEST(StringList, FindGivesTheInsertionPointAndCaseSensitivityResorts) {
  TStringList list;
  list.SetSorted(true);
  ListOf(list, {"b", "d", "f"});
  Integer index = -1;
  EXPECT_TRUE(list.Find("D", index));
  EXPECT_EQ(index, 1);
  EXPECT_FALSE(list.Find("e", index));
  EXPECT_EQ(index, 2);
  EXPECT_FALSE(list.Find("z", index));
  EXPECT_EQ(index, 3);

  TStringList cased;
  cased.SetCaseSensitive(true);
  ListOf(cased, {"a", "A"});
  EXPECT_EQ(cased.IndexOf("A"), 1);
  cased.Add("b");
  cased.SetSorted(true);
  EXPECT_EQ(Items(cased), QStringList({"a", "A", "b"}));
  EXPECT_EQ(cased.IndexOf("A"), 1);
  cased.SetCaseSensitive(false);
  EXPECT_EQ(cased.IndexOf("A"), 0);

  TStringList names;  // Chinese text sorts by its reading, as users expect
  names.SetSorted(true);
  ListOf(names, {"张三", "李四", "王五"});
  EXPECT_EQ(Items(names), QStringList({QString::fromUtf8("李四"), QString::fromUtf8("王五"), QString::fromUtf8("张三")}));
}

TEST(StringList, IndexErrorsNameTheIndex) {
  TStringList list;
  list.Add("x");
  for (Integer bad : {-1, 1}) {
    try {
      (void)list.Strings(bad);
      FAIL() << bad;
    } catch (const EStringListError& e) {
      EXPECT_EQ(e.Message(), QStringLiteral("List index out of bounds (%1)").arg(bad));
    }
  }
  EXPECT_THROW(list.Delete(1), EStringListError);
  EXPECT_THROW(list.Insert(2, "y"), EStringListError);
}

TEST(StringList, TextJoinsWithCrLfAndSplitsAnyLineBreak) {
  struct Case { const char* text; QStringList lines; };
  for (const Case& c : std::initializer_list<Case>{
         {"a\r\nb\r\n", {"a", "b"}}, {"a\nb", {"a", "b"}}, {"a\rb\r", {"a", "b"}},
         {"a\r\n\r\nb", {"a", "", "b"}}, {"\n", {""}}, {"", {}}}) {
    TStringList list;
    list.SetText(c.text);
    EXPECT_EQ(Items(list), c.lines) << c.text;
  }
  TStringList list;
  ListOf(list, {"一", "", "two"});
  EXPECT_EQ(list.Text(), QString::fromUtf8("一\r\n\r\ntwo\r\n"));
}

TEST(StringList, CommaTextQuotesWhatWouldNotSurviveAndReadsItBack) {
  struct Case { QStringList items; const char* text; };
  for (const Case& c : std::initializer_list<Case>{
         {{"a", "b c", "d,e", "say \"hi\""}, "a,\"b c\",\"d,e\",\"say \"\"hi\"\"\""},
         {{"a", "", "b"}, "a,,b"},
         {{""}, "\"\""},
         {{}, ""}}) {
    TStringList list;
    for (const String& s : c.items) list.Add(s);
    EXPECT_EQ(list.CommaText(), c.text);
    TStringList back;
    back.SetCommaText(c.text);
    EXPECT_EQ(Items(back), c.items) << c.text;
  }
  TStringList loose;
  loose.SetCommaText(" a b ,c,");
  EXPECT_EQ(Items(loose), QStringList({"a", "b", "c", ""}));
}

TEST(StringList, DelimitedTextUsesDelimiterQuoteAndStrictness) {
  TStringList list;
  list.SetDelimiter(u';');
  list.SetQuoteChar(u'\'');
  list.SetDelimitedText("x y;'p;q';'it''s'");
  EXPECT_EQ(Items(list), QStringList({"x", "y", "p;q", "it's"}));
  list.SetStrictDelimiter(true);
  list.SetDelimitedText(" x y ;z");
  EXPECT_EQ(Items(list), QStringList({" x y ", "z"}));
  EXPECT_EQ(list.DelimitedText(), " x y ;z");
}

TEST(StringList, NamesAndValues) {
  TStringList list;
  ListOf(list, {"Host=mail.example.com", "Port=25", "plain", "Empty=", "Expr=a=b"});
  EXPECT_EQ(list.Names(0), "Host");
  EXPECT_EQ(list.Names(2), "");
  EXPECT_EQ(list.Values("host"), "mail.example.com");
  EXPECT_EQ(list.Values("Expr"), "a=b");
  EXPECT_EQ(list.Values("Missing"), "");
  EXPECT_EQ(list.ValueFromIndex(2), "");
  EXPECT_EQ(list.IndexOfName("EMPTY"), 3);
  list.SetValues("Port", "465");
  list.SetValues("New", "1");
  list.SetValues("Host", "");
  EXPECT_EQ(Items(list), QStringList({"Port=465", "plain", "Empty=", "Expr=a=b", "New=1"}));
  list.SetNameValueSeparator(u':');
  list.Add("k:v");
  EXPECT_EQ(list.Values("K"), "v");
}

TEST(StringList, ChangeEventsFireOncePerOutermostUpdate) {
  TStringList list;
  int changing = 0, changed = 0;
  list.OnChanging = [&](TObject*) { ++changing; };
  list.OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &list);
    ++changed;
  };
  list.Add("a");
  EXPECT_EQ(changing, 1);
  EXPECT_EQ(changed, 1);
  list.BeginUpdate();
  list.BeginUpdate();
  list.Add("b");
  list.Delete(0);
  list.EndUpdate();
  EXPECT_EQ(changed, 1);
  list.EndUpdate();
  EXPECT_EQ(changing, 2);
  EXPECT_EQ(changed, 2);
  list.SetText("x\ny\nz");
  EXPECT_EQ(changed, 3);
}

TEST(StringList, MoveExchangeAndCustomSortCarryTheirObjects) {
  TObject a, b, c;
  TStringList list;
  list.AddObject("a", &a);
  list.AddObject("b", &b);
  list.AddObject("c", &c);
  list.Move(0, 2);
  EXPECT_EQ(Items(list), QStringList({"b", "c", "a"}));
  EXPECT_EQ(list.Objects(2), &a);
  list.Exchange(0, 1);
  EXPECT_EQ(list.Objects(0), &c);
  list.CustomSort([](TStringList* l, Integer i, Integer j) { return l->Strings(j).compare(l->Strings(i)); });
  EXPECT_EQ(Items(list), QStringList({"c", "b", "a"}));
  EXPECT_EQ(list.IndexOfObject(&b), 1);
  EXPECT_EQ(list.Objects(1), &b);
}

TEST(StringList, OwningListDeletesItsObjectsOnce) {
  int deleted = 0;
  {
    TStringList list(true);
    list.AddObject("a", new Tracked(deleted));
    list.AddObject("b", new Tracked(deleted));
    list.AddObject("c", new Tracked(deleted));
    list.Delete(0);
    EXPECT_EQ(deleted, 1);
    list.Move(0, 1);  // moving must not delete
    EXPECT_EQ(deleted, 1);
  }
  EXPECT_EQ(deleted, 3);
}

TEST(StringList, AssignCopiesStringsAndObjects) {
  TObject o;
  TStringList source, target;
  source.AddObject("x", &o);
  target.Add("old");
  target.Assign(&source);
  EXPECT_EQ(Items(target), QStringList({"x"}));
  EXPECT_EQ(target.Objects(0), &o);
  TPersistent other;
  EXPECT_THROW(target.Assign(&other), EConvertError);
}

TEST(StringList, FilesAreSavedAsUtf8AndLegacyGbkFilesAreRead) {
  moli::testing::ScratchDir dir;
  TStringList list;
  ListOf(list, {"工资", "Name=张三"});
  list.SaveToFile(dir.File("list.txt"));
  QFile saved(dir.File("list.txt"));
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_EQ(saved.readAll(), QString::fromUtf8("工资\r\nName=张三\r\n").toUtf8());

  QFile legacy(dir.File("gbk.txt"));
  ASSERT_TRUE(legacy.open(QIODevice::WriteOnly));
  legacy.write("\xB9\xA4\xD7\xCA\r\nok\r\n");  // "工资" in GBK
  legacy.close();
  TStringList read;
  read.LoadFromFile(dir.File("gbk.txt"));
  EXPECT_EQ(Items(read), QStringList({QString::fromUtf8("工资"), "ok"}));
  EXPECT_THROW(read.LoadFromFile(dir.File("missing.txt")), EFOpenError);
}

}  // namespace
