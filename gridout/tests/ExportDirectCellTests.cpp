// Cells written straight from the stored values must come out as the column's display text
// would: each case exports once that way and once with a cell event, which sends every cell
// through the column, and the bytes must agree.
#include "GridOutputFixture.h"
#include "gridout/AnsiText.h"
#include <QRandomGenerator>

using namespace gridouttest;

namespace {

QByteArray Bytes(const TByteBuffer& Buffer) { return QByteArray(Buffer.Data(), qsizetype(Buffer.Size())); }

// A table with a column of every kind the direct way reads, one it leaves to the column
// (money, dates), and rows at the edges of each: nulls, 32- and 64-bit limits, an integer
// beyond 32 bits in a 32-bit field, numbers with more digits than a field's precision and
// with exponents, text with quotes, characters outside the code page and bytes that are
// not UTF-8.
class TMixedForm : public TGridOutputForm {
public:
  TMixedForm() {
    Connection.ExecuteSql(
        "CREATE TABLE mix (i INTEGER, b BIGINT, s SMALLINT, r REAL, m MONEY, t VARCHAR(40), d DATETIME)");
    Connection.ExecuteSql(
        "INSERT INTO mix VALUES (7, 9007199254740993, -3, 1000.5, 12.3456, '张三\"引号\"', '2024-01-15 08:30:00'), "
        "(NULL, NULL, NULL, NULL, NULL, NULL, NULL), "
        "(-2147483648, -9223372036854775808, 0, -0.0001, 0, 'Ａ€😀', '2024-03-01'), "
        "(2147483647, 123, 1, 1e20, 1.5, 'bad' || CAST(X'FF41C0AF' AS TEXT), NULL), "
        "(3000000000, 0, 2, 0.1, -7.25, '', '1999-12-31 23:59:59'), "
        "(42, 5, 3, 123456789012345.6, 1e-7, 'tab\tinside', NULL), "
        "(-1, 6, 4, 1e-7, 2, '\"', NULL)");
    Query.Close();
    Query.SQL()->SetText("SELECT * FROM mix");
    Query.Open();
    SetColumns({{"i", "整数"}, {"b", "长整数"}, {"s", "短整数"}, {"r", "实数"}, {"m", "金额"}, {"t", "文本"}, {"d", "日期"}});
    Grid->SetFooterRowCount(1);
    for (Integer c = 0; c < 5; ++c) Column(c)->Footer()->SetValueType(fvtSum);
    Column(5)->Footer()->SetValueType(fvtCount);
    Bind();
  }
  TFloatField* Real() const { return static_cast<TFloatField*>(Query.FieldByName(QStringLiteral("r"))); }
  TIntegerField* Whole() const { return static_cast<TIntegerField*>(Query.FieldByName(QStringLiteral("i"))); }
};

template <typename T>
void ExpectDirectAgreesWithColumnText(TMixedForm& Form, const char* Case) {
  const QByteArray direct = Form.Export<T>();
  Form.Grid->OnGetCellParams = [](TObject*, TColumnX*, TFont*, TColor&, TGridDrawState) {};
  const QByteArray throughColumn = Form.Export<T>();
  Form.Grid->OnGetCellParams = nullptr;
  EXPECT_FALSE(direct.isEmpty()) << Case;
  EXPECT_EQ(direct.toHex(' '), throughColumn.toHex(' ')) << Case;
}

}  // namespace

TEST(ExportDirectCells, TextCsvAndWorksheetAgreeWithTheColumnsTexts) {
  struct Case {
    const char* name;
    std::function<void(TMixedForm&)> dress;
  };
  const QChar separator = DecimalSeparator;
  for (const Case& c : std::initializer_list<Case>{
           {"plain", [](TMixedForm&) {}},
           {"column formats",
            [](TMixedForm& f) {
              f.Column(0)->SetDisplayFormat(QStringLiteral("#,##0"));
              f.Column(3)->SetDisplayFormat(QStringLiteral("0.00"));
              f.Column(5)->SetDisplayFormat(QStringLiteral("0.00"));
            }},
           {"field formats",
            [](TMixedForm& f) {
              f.Whole()->SetDisplayFormat(QStringLiteral("000"));
              f.Real()->SetDisplayFormat(QStringLiteral("0.0"));
            }},
           {"precision 4", [](TMixedForm& f) { f.Real()->SetPrecision(4); }},
           {"money flag", [](TMixedForm& f) { f.Real()->SetCurrency(true); }},
           {"text event",
            [](TMixedForm& f) {
              f.Query.FieldByName(QStringLiteral("t"))->OnGetText = [](TField* Sender, String& Text, bool) {
                Text = QStringLiteral("<%1>").arg(Sender->AsString());
              };
            }},
           {"key list",
            [](TMixedForm& f) {
              f.Column(2)->KeyList()->SetText(QStringLiteral("1\n2"));
              f.Column(2)->PickList()->SetText(QStringLiteral("一\n二"));
            }},
           {"pick list", [](TMixedForm& f) { f.Column(5)->PickList()->SetText(QStringLiteral("x\ny")); }},
           {"decimal comma", [](TMixedForm&) { DecimalSeparator = u','; }},
       }) {
    TMixedForm f;
    c.dress(f);
    ExpectDirectAgreesWithColumnText<TDBGridXExportAsText>(f, c.name);
    ExpectDirectAgreesWithColumnText<TDBGridXExportAsCSV>(f, c.name);
    ExpectDirectAgreesWithColumnText<TDBGridXExportAsXLS>(f, c.name);
    DecimalSeparator = separator;
  }
}

TEST(ExportDirectCells, PlainColumnsOfStoredFieldsAreWrittenDirectly) {
  TMixedForm f;
  struct Case {
    Integer column;
    bool direct, text;
  };
  for (const Case& c : std::initializer_list<Case>{
           {0, true, true}, {1, true, true}, {2, true, true}, {3, true, true}, {4, false, false}, {5, true, true},
           {6, false, false}}) {
    const TExportCellText cell(f.Column(c.column));
    EXPECT_EQ(cell.Direct(), c.direct) << c.column;
    EXPECT_EQ(cell.TextDirect(), c.text) << c.column;
  }
  f.Real()->SetCurrency(true);
  const TExportCellText money(f.Column(3));
  EXPECT_TRUE(money.Direct());
  EXPECT_FALSE(money.TextDirect());
}

// UTF-8 in pieces of every shape: ASCII, quotes, two- and three-byte characters in and out
// of the code page, a byte-order mark, four-byte characters, encoded surrogates, overlong
// and cut sequences, stray bytes.
TEST(AnsiText, Utf8IsEncodedAsTheStringWayEncodesIt) {
  const char* const pieces[] = {"a",          "Z9 ",          "\"",       "\xC3\xA9",     "\xC2\xA2",     "\xE4\xB8\xAD",
                                "\xE7\x8E\x8B", "\xEF\xBC\xA1", "\xE2\x82\xAC", "\xEF\xBF\xBD", "\xEF\xBB\xBF", "\xE0\xA0\x80",
                                "\xF0\x9F\x98\x80", "\xED\xA0\x80", "\xC0\xAF", "\xE0\x9F\xBF", "\xE4\xB8", "\xFF",
                                "\x80",        "\xDF",         "\xE1\x88\xB4", "\xC8\x80"};
  QRandomGenerator random(936);
  for (int n = 0; n < 20000; ++n) {
    QByteArray utf8;
    for (int k = int(random.bounded(8)); k > 0; --k) utf8 += pieces[random.bounded(int(std::size(pieces)))];
    const QByteArray expected = ToAnsiText(String::fromUtf8(utf8));
    TByteBuffer fromUtf8, fromString;
    fromUtf8.Append('<');
    AppendAnsiUtf8(fromUtf8, std::string_view(utf8.constData(), size_t(utf8.size())));
    AppendAnsiText(fromString, String::fromUtf8(utf8));
    ASSERT_EQ(Bytes(fromUtf8), "<" + expected) << utf8.toHex(' ').constData();
    ASSERT_EQ(Bytes(fromString), expected) << utf8.toHex(' ').constData();
  }
}
