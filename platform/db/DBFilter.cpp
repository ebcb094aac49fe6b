#include "platform/db/DBFilter.h"
#include "platform/db/SqlText.h"
#include "platform/rtl/SysUtils.h"

namespace {

enum class TTok { End, Name, Text, Number, LParen, RParen, Op, And, Or, Not, Like, Is, Null };

struct TToken {
  TTok Kind = TTok::End;
  String Text;
  TFilterExpression::TOp Op = TFilterExpression::TOp::Equal;
};

class TFilterParser {
public:
  TFilterParser(const String& Text, std::vector<TFilterExpression::TNode>& Nodes) : FText(Text), FNodes(Nodes) {
    Advance();
  }

  int Parse() {
    if (FTok.Kind == TTok::End) return -1;
    const int root = ParseOr();
    if (FTok.Kind != TTok::End) Fail();
    return root;
  }

private:
  [[noreturn]] void Fail() const {
    throw EDatabaseError(QStringLiteral("Invalid filter expression: %1").arg(FText));
  }

  static bool IsNameChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('.'); }

  void Advance() {
    const qsizetype n = FText.size();
    while (FPos < n && FText[FPos].isSpace()) ++FPos;
    FTok = TToken();
    if (FPos >= n) return;
    const QChar c = FText[FPos];
    using Op = TFilterExpression::TOp;
    auto symbol = [&](qsizetype len, Op op) {
      FPos += len;
      FTok.Kind = TTok::Op;
      FTok.Op = op;
    };
    const QChar next = FPos + 1 < n ? FText[FPos + 1] : QChar();
    if (c == QLatin1Char('(')) { ++FPos; FTok.Kind = TTok::LParen; return; }
    if (c == QLatin1Char(')')) { ++FPos; FTok.Kind = TTok::RParen; return; }
    if (c == QLatin1Char('=')) return symbol(1, Op::Equal);
    if (c == QLatin1Char('<') && next == QLatin1Char('>')) return symbol(2, Op::NotEqual);
    if (c == QLatin1Char('!') && next == QLatin1Char('=')) return symbol(2, Op::NotEqual);
    if (c == QLatin1Char('<') && next == QLatin1Char('=')) return symbol(2, Op::LessOrEqual);
    if (c == QLatin1Char('>') && next == QLatin1Char('=')) return symbol(2, Op::GreaterOrEqual);
    if (c == QLatin1Char('<')) return symbol(1, Op::Less);
    if (c == QLatin1Char('>')) return symbol(1, Op::Greater);
    if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
      if (!ReadQuotedText(FText, FPos, c, FTok.Text)) Fail();
      FTok.Kind = TTok::Text;
      return;
    }
    if (c == QLatin1Char('[')) {
      const qsizetype close = FText.indexOf(QLatin1Char(']'), FPos + 1);
      if (close < 0) Fail();
      FTok.Kind = TTok::Name;
      FTok.Text = FText.mid(FPos + 1, close - FPos - 1).trimmed();
      FPos = close + 1;
      return;
    }
    if (c.isDigit() || ((c == QLatin1Char('-') || c == QLatin1Char('+') || c == QLatin1Char('.')) &&
                        (next.isDigit() || next == QLatin1Char('.')))) {
      const qsizetype start = FPos++;
      while (FPos < n && (FText[FPos].isDigit() || FText[FPos] == QLatin1Char('.') ||
                          FText[FPos] == QLatin1Char('e') || FText[FPos] == QLatin1Char('E') ||
                          ((FText[FPos] == QLatin1Char('-') || FText[FPos] == QLatin1Char('+')) &&
                           (FText[FPos - 1] == QLatin1Char('e') || FText[FPos - 1] == QLatin1Char('E')))))
        ++FPos;
      FTok.Kind = TTok::Number;
      FTok.Text = FText.mid(start, FPos - start);
      return;
    }
    if (!IsNameChar(c)) Fail();
    const qsizetype start = FPos;
    while (FPos < n && IsNameChar(FText[FPos])) ++FPos;
    FTok.Text = FText.mid(start, FPos - start);
    const String upper = FTok.Text.toUpper();
    if (upper == QLatin1String("AND")) FTok.Kind = TTok::And;
    else if (upper == QLatin1String("OR")) FTok.Kind = TTok::Or;
    else if (upper == QLatin1String("NOT")) FTok.Kind = TTok::Not;
    else if (upper == QLatin1String("LIKE")) FTok.Kind = TTok::Like;
    else if (upper == QLatin1String("IS")) FTok.Kind = TTok::Is;
    else if (upper == QLatin1String("NULL")) FTok.Kind = TTok::Null;
    else FTok.Kind = TTok::Name;
  }

  int Add(TFilterExpression::TNode node) {
    // Evaluation recurses along AND and OR chains: keep expressions to a sane size.
    if (FNodes.size() >= 4096) Fail();
    FNodes.push_back(std::move(node));
    return int(FNodes.size()) - 1;
  }

  int Junction(TFilterExpression::TOp op, int left, int right) {
    TFilterExpression::TNode node;
    node.Op = op;
    node.Left = left;
    node.Right = right;
    return Add(std::move(node));
  }

  int ParseOr() {
    int left = ParseAnd();
    while (FTok.Kind == TTok::Or) {
      Advance();
      left = Junction(TFilterExpression::TOp::Or, left, ParseAnd());
    }
    return left;
  }

  int ParseAnd() {
    int left = ParseFactor();
    while (FTok.Kind == TTok::And) {
      Advance();
      left = Junction(TFilterExpression::TOp::And, left, ParseFactor());
    }
    return left;
  }

  int ParseFactor() {
    // Nesting is bounded so that hostile text cannot exhaust the stack.
    if (++FDepth > 256) Fail();
    int node = -1;
    if (FTok.Kind == TTok::Not) {
      Advance();
      node = Junction(TFilterExpression::TOp::Not, ParseFactor(), -1);
    } else if (FTok.Kind == TTok::LParen) {
      Advance();
      node = ParseOr();
      if (FTok.Kind != TTok::RParen) Fail();
      Advance();
    } else {
      node = ParseCondition();
    }
    --FDepth;
    return node;
  }

  int ParseCondition() {
    using Op = TFilterExpression::TOp;
    if (FTok.Kind != TTok::Name) Fail();
    TFilterExpression::TNode node;
    node.FieldName = FTok.Text;
    Advance();
    if (FTok.Kind == TTok::Is) {
      Advance();
      node.Op = Op::IsNull;
      if (FTok.Kind == TTok::Not) {
        node.Op = Op::IsNotNull;
        Advance();
      }
      if (FTok.Kind != TTok::Null) Fail();
      Advance();
      return Add(std::move(node));
    }
    if (FTok.Kind == TTok::Not || FTok.Kind == TTok::Like) {
      node.Op = Op::Like;
      if (FTok.Kind == TTok::Not) {
        node.Op = Op::NotLike;
        Advance();
        if (FTok.Kind != TTok::Like) Fail();
      }
      Advance();
    } else if (FTok.Kind == TTok::Op) {
      node.Op = FTok.Op;
      Advance();
      if (FTok.Kind == TTok::Null) {
        if (node.Op != Op::Equal && node.Op != Op::NotEqual) Fail();
        node.Op = node.Op == Op::Equal ? Op::IsNull : Op::IsNotNull;
        Advance();
        return Add(std::move(node));
      }
    } else {
      Fail();
    }
    if (FTok.Kind == TTok::Text) {
      node.Literal = Variant(FTok.Text);
    } else if (FTok.Kind == TTok::Number) {
      bool ok = false;
      const double value = FTok.Text.toDouble(&ok);
      if (!ok) Fail();
      node.Literal = Variant(value);
    } else if (FTok.Kind == TTok::Name) {
      // A bare word such as True or a code written without quotes.
      node.Literal = Variant(FTok.Text);
    } else {
      Fail();
    }
    node.LiteralText = FTok.Text;
    Advance();
    return Add(std::move(node));
  }

  String FText;
  std::vector<TFilterExpression::TNode>& FNodes;
  qsizetype FPos = 0;
  int FDepth = 0;
  TToken FTok;
};

}  // namespace

bool FilterLikeMatch(const String& Text, const String& Pattern) {
  // Greedy match that backs up to the last wildcard: linear in the text per pattern piece,
  // so hostile patterns cannot make it explode.
  auto isWild = [](QChar c) { return c == QLatin1Char('%') || c == QLatin1Char('*'); };
  const qsizetype n = Text.size(), m = Pattern.size();
  qsizetype t = 0, p = 0, star = -1, mark = 0;
  while (t < n) {
    if (p < m && isWild(Pattern[p])) {
      star = p++;
      mark = t;
    } else if (p < m && Text[t].toCaseFolded() == Pattern[p].toCaseFolded()) {
      ++t;
      ++p;
    } else if (star >= 0) {
      p = star + 1;
      t = ++mark;
    } else {
      return false;
    }
  }
  while (p < m && isWild(Pattern[p])) ++p;
  return p == m;
}

TFilterExpression::TFilterExpression(const String& Text) : FText(Text) {
  TFilterParser parser(Text, FNodes);
  FRoot = parser.Parse();
}

TFilterExpression::~TFilterExpression() = default;
TFilterExpression::TFilterExpression(TFilterExpression&&) noexcept = default;
TFilterExpression& TFilterExpression::operator=(TFilterExpression&&) noexcept = default;

void TFilterExpression::Bind(const TResolveField& Resolve) {
  for (TNode& node : FNodes) {
    if (node.Op == TOp::And || node.Op == TOp::Or || node.Op == TOp::Not) continue;
    node.Field = Resolve(node.FieldName, node.Kind);
    if (node.Op == TOp::IsNull || node.Op == TOp::IsNotNull || node.Op == TOp::Like || node.Op == TOp::NotLike)
      continue;
    auto bad = [&]() {
      return EDatabaseError(QStringLiteral("Invalid value %1 for field '%2' in filter: %3")
                                .arg(node.LiteralText, node.FieldName, FText));
    };
    switch (node.Kind) {
      case TFilterOperandKind::Text:
        node.Literal = Variant(node.LiteralText);
        break;
      case TFilterOperandKind::Number:
        if (node.Literal.VarType() == varString) {
          double value = 0;
          if (!TryStrToFloat(node.LiteralText, value) && !TryReadSqlNumber(node.LiteralText, value)) throw bad();
          node.Literal = Variant(value);
        }
        break;
      case TFilterOperandKind::DateTime: {
        TDateTime value = 0;
        if (!TryReadSqlDateTime(node.LiteralText, value) && !TryStrToDateTime(node.LiteralText, value)) throw bad();
        node.Literal = Variant::FromDate(value);
        break;
      }
      case TFilterOperandKind::Boolean: {
        const String upper = node.LiteralText.toUpper();
        if (upper == QLatin1String("TRUE")) node.Literal = Variant(true);
        else if (upper == QLatin1String("FALSE")) node.Literal = Variant(false);
        else if (node.Literal.VarType() == varDouble) node.Literal = Variant(node.Literal.AsDouble() != 0);
        else throw bad();
        break;
      }
    }
  }
}

bool TFilterExpression::Matches(const std::function<Variant(int Field)>& Value) const {
  return FRoot < 0 || Eval(FRoot, Value);
}

bool TFilterExpression::Eval(int Index, const std::function<Variant(int)>& Value) const {
  const TNode& node = FNodes[size_t(Index)];
  switch (node.Op) {
    case TOp::And: return Eval(node.Left, Value) && Eval(node.Right, Value);
    case TOp::Or: return Eval(node.Left, Value) || Eval(node.Right, Value);
    case TOp::Not: return !Eval(node.Left, Value);
    default: break;
  }
  const Variant v = Value(node.Field);
  if (node.Op == TOp::IsNull) return VarIsClear(v);
  if (node.Op == TOp::IsNotNull) return !VarIsClear(v);
  if (VarIsClear(v)) return false;
  if (node.Op == TOp::Like || node.Op == TOp::NotLike)
    return FilterLikeMatch(VarToStr(v), node.LiteralText) == (node.Op == TOp::Like);
  int order = 0;
  if (node.Kind == TFilterOperandKind::Text) {
    order = VarToStr(v).compare(node.Literal.AsString(), Qt::CaseInsensitive);
  } else {
    switch (VarCompareValue(v, node.Literal)) {
      case vrEqual: order = 0; break;
      case vrLessThan: order = -1; break;
      case vrGreaterThan: order = 1; break;
      case vrNotEqual: return node.Op == TOp::NotEqual;
    }
  }
  switch (node.Op) {
    case TOp::Equal: return order == 0;
    case TOp::NotEqual: return order != 0;
    case TOp::Less: return order < 0;
    case TOp::Greater: return order > 0;
    case TOp::LessOrEqual: return order <= 0;
    case TOp::GreaterOrEqual: return order >= 0;
    default: return false;
  }
}
