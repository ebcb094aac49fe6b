// The column-filter language, the filter text built from a grid's column filters, and the
// rows the data set's filter then selects.
#include "DBGridXTestSupport.h"
#include "dbgrid/DBGridXCenter.h"
#include "dbgrid/DbUtilsX.h"
#include "platform/db/DBFilter.h"
#include <QElapsedTimer>

using dbgridtest::TGridForm;

namespace {
// An operand as the tables below spell it: Null, 'text', a number, d:yyyy-mm-dd or [a|b].
std::string Describe(const Variant& Value) {
  if (Value.IsNull()) return "Null";
  if (Value.IsArray()) {
    std::string items;
    for (int i = 0; i < Value.ArrayLength(); ++i) items += (i ? "|" : "") + Describe(Value[i]);
    return "[" + items + "]";
  }
  if (Value.VarType() == varDouble) return FloatToStr(Value.AsDouble()).replace(DecimalSeparator, u'.').toStdString();
  if (Value.VarType() == varDate) return "d:" + FormatDateTime("yyyy-mm-dd hh:nn", Value.AsDateTime()).toStdString();
  return "'" + VarToStr(Value).toStdString() + "'";
}

std::string Describe(const TSTFilterExpressionX& E) {
  std::string text = std::to_string(E.FirstOperator) + " " + Describe(E.FirstOperand);
  if (E.Junction != stoNoneX) text += " j" + std::to_string(E.Junction);
  if (E.SecondOperator != stoNoneX) text += " " + std::to_string(E.SecondOperator) + " " + Describe(E.SecondOperand);
  return text;
}

std::string Parse(const char* Text, TSTValueKindX Kind, TSTAssumedOperatorX Assumed = staNoneX) {
  TSTFilterExpressionX e;
  e.ValueKind = Kind;
  try {
    const bool second = ParseFilterText(QString::fromUtf8(Text), e, Assumed);
    return Describe(e) + (second ? " +" : "");
  } catch (const EConvertError&) {
    return "conversion error";
  } catch (const Exception& error) {
    return error.Message().toStdString();
  }
}
}  // namespace

TEST(FilterLanguage, ParsesConditionsAsTheColumnKindReadsThem) {
  constexpr auto T = stvkTextX, N = stvkNumberX, D = stvkDateTimeX;
  struct Case {
    const char* text;
    TSTValueKindX kind;
    const char* expected;
  };
  // Operators by code: 1 =, 2 <>, 3 >, 4 <, 5 >=, 6 <=, 7 ~, 8 !~, 9 In, 10 !In, 11 Null,
  // 12 not Null; junctions 13 AND, 14 OR.
  for (const Case& c : std::initializer_list<Case>{
           {"", T, "0 Null"},
           {"   ", N, "0 Null"},
           {"abc", T, "7 'abc'"},
           {"5", N, "1 5"},
           {"a,b", T, "9 ['a'|'b']"},
           {"=null", T, "11 Null"},
           {"<> NULL", N, "12 Null"},
           {"!=Null", T, "12 Null"},
           {"not null", T, "Unexpected expression after operator: not null"},
           {"> null", N, "Unexpected expression before Null: > null"},
           {"'O''Brien'", T, "7 'O'Brien'"},
           {"O'Brien", T, "7 'O'Brien'"},
           {"'abc", T, "Quote is absent: 'abc"},
           {"in 5", N, "'(' expected: in 5"},
           {"in (1,2", N, "')' expected: in (1,2"},
           {"in (1, 2)", N, "9 [1|2]"},
           {"in (a, 'x')", T, "9 ['a'|' 'x'']"},
           {"not in ('a','b')", T, "10 ['a'|'b']"},
           {"a in b", T, "'(' expected: a in b"},
           {"abc and", T, "7 'abc' j13"},
           {"abc def", T, "7 'abc def'"},
           {"abc or 5", N, "conversion error"},
           {">= 100 and <= 200", N, "5 100 j13 6 200 +"},
           {"~ab% | x", T, "7 'ab%' j14 7 'x' +"},
           {"not like x", T, "8 'x'"},
           {"!~x", T, "8 'x'"},
           {"( a", T, "Error in expression: ( a"},
           {"a ( b", T, "Incorrect expression: a ( b"},
           {"= 5 > 6", N, "Unexpected AND or OR: = 5 > 6"},
           {"and x", T, "Unexpected AND or OR: and x"},
           {"| 5", N, "Unexpected AND or OR: | 5"},
           {"= and", N, "Unexpected expression after operator: = and"},
           {"=", N, "Unexpected expression after operator: ="},
           {"a or =null", T, "7 'a' j14 11 Null +"},
           {">= 2024-02-01", D, "5 d:2024-02-01 00:00"},
           {"= now", D, "1 'now'"},
           {"x", D, "conversion error"},
           {"a not not x", T, "7 'a not not x'"},
           {"a not ! not like x", T, "Unexpected AND or OR: a not ! not like x"},
           {"a not not in x", T, "'(' expected: a not not in x"},
       })
    EXPECT_EQ(Parse(c.text, c.kind), c.expected) << c.text;
}

// A value is read once however many blanks or NOTs it holds.
TEST(FilterLanguage, LongValuesReadInLinearTime) {
  const std::string blanks = "a" + std::string(40000, ' ') + "b";
  std::string nots = "a";
  for (int i = 0; i < 20000; ++i) nots += " not";
  QElapsedTimer timer;
  timer.start();
  EXPECT_EQ(Parse(blanks.c_str(), stvkTextX), "7 '" + blanks + "'");
  EXPECT_EQ(Parse((nots + " b").c_str(), stvkTextX), "7 '" + nots + " b'");
  EXPECT_EQ(Parse((nots + " like b").c_str(), stvkTextX), "Unexpected AND or OR: " + nots + " like b");
  EXPECT_LT(timer.elapsed(), 5000);
}

TEST(FilterLanguage, AssumedOperatorsAddWildcardsToTheFirstConditionOnly) {
  struct Case {
    const char* text;
    TSTAssumedOperatorX assumed;
    const char* expected;
  };
  for (const Case& c : std::initializer_list<Case>{{"ab", staContainsX, "7 '%ab%'"},
                                                   {"%ab", staContainsX, "7 '%ab'"},
                                                   {"ab", staNotBeginsWithX, "8 'ab%'"},
                                                   {"ab", staEndsWithX, "7 '%ab'"},
                                                   {"ab or cd", staBeginsWithX, "7 'ab%' j14 7 'cd' +"},
                                                   {"ab", staEqualX, "1 'ab'"}})
    EXPECT_EQ(Parse(c.text, stvkTextX, c.assumed), c.expected) << c.text << " " << int(c.assumed);
}

TEST(FilterLanguage, ACommaDecimalSeparatorReadsOneNumber) {
  const QChar saved = DecimalSeparator;
  DecimalSeparator = u',';
  const std::string number = Parse("1,5", stvkNumberX);
  const std::string text = Parse("a,b", stvkTextX);
  DecimalSeparator = saved;
  EXPECT_EQ(number, "1 1.5");
  EXPECT_EQ(text, "9 ['a'|'b']");
}

namespace {
// A staff table with a text, a number and a date-time column, some of them empty.
class TStaffGrid : public TGridForm {
public:
  TStaffGrid() {
    Connection.ExecuteSql("CREATE TABLE staff (id INTEGER PRIMARY KEY, name VARCHAR(20), qty INTEGER, paid DATETIME)");
    Connection.ExecuteSql(
        "INSERT INTO staff VALUES (1, 'Zhang', 5, '2024-01-15 08:00:00'), (2, 'O''Brien', 7, '2024-02-01 00:00:00'), "
        "(3, 'Li', NULL, '2024-03-10 12:30:00'), (4, NULL, 2, NULL), (5, 'Wang', 1, '2024-02-20 00:00:00')");
    Query.Close();
    Query.SQL()->SetText("SELECT * FROM staff ORDER BY id");
    Query.Open();
    for (const char* name : {"id", "name", "qty", "paid"}) Grid->Columns()->Add()->SetFieldName(name);
    Bind();
  }
  TSTColumnFilterX* Filter(Integer Column) { return Grid->Columns()->Items(Column)->STFilter(); }
  std::vector<Integer> Ids() {
    std::vector<Integer> ids;
    for (Query.First(); !Query.Eof(); Query.Next()) ids.push_back(Query.FieldByName("id")->AsInteger());
    return ids;
  }
};
}  // namespace

TEST(FilterText, ColumnFiltersBecomeOneDataSetFilterText) {
  TStaffGrid f;
  EXPECT_EQ(BuildDataSetFilterText(f.Grid, LocalFilterConditionText, nullptr, false, true), "");
  f.Filter(2)->SetExpressionText("> 100");
  EXPECT_EQ(BuildDataSetFilterText(f.Grid, LocalFilterConditionText, nullptr, false, true), " [qty] >  100 ");
  f.Filter(2)->SetExpressionText("in (1, 2.5)");
  f.Filter(1)->SetExpressionText("abc% | x");
  EXPECT_EQ(BuildDataSetFilterText(f.Grid, LocalFilterConditionText, nullptr, false, true),
            "( [name] Like 'abc%'  OR  [name] Like 'x') AND  ([qty] = 1 OR [qty] = 2.5) ");
  EXPECT_EQ(BuildDataSetFilterText(f.Grid, LocalFilterConditionText, nullptr, false, false),
            "( [name] = 'abc%'  OR  [name] = 'x') AND  ([qty] = 1 OR [qty] = 2.5) ");
  f.Filter(1)->SetExpressionText("x and");
  EXPECT_EQ(BuildDataSetFilterText(f.Grid, LocalFilterConditionText, nullptr, false, true),
            " [name] Like 'x' AND  ([qty] = 1 OR [qty] = 2.5) ");
  f.Filter(1)->SetDataField("nick");
  EXPECT_EQ(f.Filter(1)->FilterFieldName(), "nick");
}

TEST(FilterText, AFailedParseKeepsTheFilterItHad) {
  TStaffGrid f;
  f.Filter(2)->SetExpressionText("> 1");
  EXPECT_THROW(f.Filter(2)->SetExpressionText("> null"), Exception);
  EXPECT_EQ(f.Filter(2)->ExpressionStr(), "> 1");
  EXPECT_EQ(f.Filter(2)->Expression().FirstOperator, stoGreaterX);
}

TEST(FilterText, TheCentreFiltersTheDataSetToExactlyTheRowsAsked) {
  TStaffGrid f;
  struct Case {
    Integer column;
    const char* text;
    std::vector<Integer> ids;
  };
  for (const Case& c : std::initializer_list<Case>{
           {1, "O'Brien", {2}},
           {1, "'O''Brien' or li", {2, 3}},
           {2, "in (5, 7)", {1, 2}},
           {2, "not in (5, 7)", {3, 4, 5}},
           {2, "> 1 and < 7", {1, 4}},
           {1, "=null", {4}},
           {1, "<>null", {1, 2, 3, 5}},
           {3, ">= 2024-02-01", {2, 3, 5}},
           {3, "< 2024-02-01 or = null", {1, 4}},
           {1, "", {1, 2, 3, 4, 5}},
           {2, "= 5, 7", {1, 2}},
           {2, "<> 5, 7", {4, 5}},
           {2, "> 6, 1", {1, 2, 4}},
           {1, "Zhang,Li", {1, 3}},
       }) {
    f.Filter(c.column)->SetExpressionText(QString::fromUtf8(c.text));
    f.Grid->ApplyFilter();
    EXPECT_TRUE(f.Query.Filtered()) << c.text;
    EXPECT_EQ(f.Ids(), c.ids) << c.text << " -> " << f.Query.Filter().toStdString();
    f.Filter(c.column)->SetExpressionText("");
  }
  f.Filter(2)->SetExpressionText(">= 2");
  f.Filter(3)->SetExpressionText("< 2024-03-01");
  f.Grid->ApplyFilter();
  EXPECT_EQ(f.Ids(), (std::vector<Integer>{1, 2}));
}

TEST(FilterText, QuotesInsideAValueNeverWidenTheFilter) {
  TStaffGrid f;
  const String crafted = QStringLiteral("x' OR name <> '");
  const String condition = LocalFilterConditionText(stoEqualX, crafted, "name", &f.Query, nullptr, true);
  EXPECT_EQ(condition, " [name] =  'x'' OR name <> '''");
  f.Query.SetFilter(condition);
  f.Query.SetFiltered(true);
  EXPECT_TRUE(f.Ids().empty());
}

TEST(FilterText, AnApplyFilterHandlerTakesTheJobOver) {
  TStaffGrid f;
  Integer calls = 0;
  DBGridXCenter().ApplyFilterHandler = [&](TCustomDBGridX* Grid) {
    ++calls;
    EXPECT_EQ(Grid, f.Grid);
  };
  f.Filter(2)->SetExpressionText("> 5");
  f.Grid->ApplyFilter();
  DBGridXCenter().ApplyFilterHandler = nullptr;
  EXPECT_EQ(calls, 1);
  EXPECT_FALSE(f.Query.Filtered());
}

TEST(DataSetHandlers, TheNearestClassWinsAndTheEarlierOnATie) {
  struct THandler : TDataSetHandlerForX<TDataSet> {
    bool LocateText(TCustomDBGridX*, const String&, const String&, TGridSearchOptionsX, TGridSearchDirectionX,
                    TGridSearchMatchX, TGridSearchTreeRangeX) override {
      return true;
    }
    void ApplyFilter(TCustomDBGridX*, TDataSet*, bool) override {}
  };
  struct TQueryHandler : THandler {
    Integer ClassDistance(const TDataSet* DataSet) const override {
      if (!dynamic_cast<const TADOQuery*>(DataSet)) return -1;
      return typeid(*DataSet) == typeid(TADOQuery) ? 0 : 1;
    }
  };
  TDataSetHandlersX registry;
  TADOQuery query;
  EXPECT_EQ(registry.HandlerForDataSet(&query), nullptr);
  auto general = std::make_unique<THandler>();
  auto second = std::make_unique<THandler>();
  auto specific = std::make_unique<TQueryHandler>();
  TDataSetHandlerX* generalPtr = general.get();
  TDataSetHandlerX* specificPtr = specific.get();
  registry.Register(std::move(general));
  registry.Register(std::move(second));
  EXPECT_EQ(registry.HandlerForDataSet(&query), generalPtr);
  registry.Register(std::move(specific));
  EXPECT_EQ(registry.HandlerForDataSet(&query), specificPtr);
  EXPECT_EQ(registry.HandlerForDataSet(nullptr), nullptr);
}

TEST(FilterText, EveryParsedConditionReadsBackAsADataSetFilter) {
  const String controls = QStringLiteral("a") + QChar(0) + QStringLiteral("b\x01\t\x1f");
  struct Case {
    TSTValueKindX kind;
    TSTAssumedOperatorX assumed;
    String text;
  };
  for (const Case& c : {Case{stvkTextX, staNoneX, controls}, Case{stvkTextX, staEqualX, QStringLiteral("x,y")},
                        Case{stvkTextX, staContainsX, QStringLiteral("x,y")}, Case{stvkTextX, staNoneX, "= x,y"},
                        Case{stvkNumberX, staGreaterX, QStringLiteral("1,2")}, Case{stvkTextX, staNoneX, "<> x, y"},
                        Case{stvkTextX, staNoneX, QStringLiteral("'") + controls + QStringLiteral("'")},
                        Case{stvkTextX, staNoneX, QStringLiteral("like ") + controls}}) {
    TSTFilterExpressionX e;
    e.ValueKind = c.kind;
    ParseFilterText(c.text, e, c.assumed);
    const String condition = LocalFilterConditionText(e.FirstOperator, e.FirstOperand, "F", nullptr, nullptr, true);
    EXPECT_NO_THROW(TFilterExpression{condition}) << condition.toStdString();
  }
}
