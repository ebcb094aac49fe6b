#include "app/CalcExpress.h"
#include "app/AppMessages.h"
#include "platform/rtl/PlainNumbers.h"
#include "platform/rtl/SysUtils.h"
#include <cmath>
#include <numbers>

namespace {

enum class TToken {
  Start, End, LParen, RParen, Plus, Minus, Times, Divide, Power, Number, Variable, Function
};

enum class TNodeKind { Add, Subtract, Multiply, Divide, Number, Variable, Negate, Power, Function };

enum class TFunction {
  Cos, Sin, Tg, Ctg, Abs, Sgn, Sqrt, Ln, Exp, ArcSin, ArcCos, ArcTg, ArcCtg, Sh, Ch, Th, Cth, Heaviside
};

struct TFunctionName { const char* Name; TFunction Function; };

constexpr TFunctionName FunctionNames[] = {
  {"cos", TFunction::Cos}, {"sin", TFunction::Sin}, {"tg", TFunction::Tg}, {"ctg", TFunction::Ctg},
  {"abs", TFunction::Abs}, {"sgn", TFunction::Sgn}, {"sign", TFunction::Sgn}, {"sqrt", TFunction::Sqrt},
  {"ln", TFunction::Ln}, {"exp", TFunction::Exp}, {"arcsin", TFunction::ArcSin},
  {"arccos", TFunction::ArcCos}, {"arctg", TFunction::ArcTg}, {"arctan", TFunction::ArcTg},
  {"arcctg", TFunction::ArcCtg}, {"sh", TFunction::Sh}, {"sinh", TFunction::Sh}, {"ch", TFunction::Ch},
  {"cosh", TFunction::Ch}, {"th", TFunction::Th}, {"tanh", TFunction::Th}, {"cth", TFunction::Cth},
  {"coth", TFunction::Cth}, {"heaviside", TFunction::Heaviside}, {"h", TFunction::Heaviside},
};

// Unwinds a parse; the partial tree is freed by its owners on the way out.
struct TSyntaxError {};

bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }
// The formula is lower-cased before it is read.
bool IsIdentStart(QChar c) { return (c >= u'a' && c <= u'z') || c == u'_'; }
bool IsIdentChar(QChar c) { return IsIdentStart(c) || IsDigit(c); }

}  // namespace

struct TCalcExpress::TNode {
  TNodeKind Kind;
  Extended Value = 0;            // a number's value
  Integer Index = -1;            // a variable's position in the variable list
  String Name;                   // a variable's name, for the error when it has no value
  TFunction Function = TFunction::Abs;
  std::unique_ptr<TNode> Left, Right;
};

namespace {

using TNodePtr = std::unique_ptr<TCalcExpress::TNode>;

// Bounds that keep the recursive parse and evaluation within the stack whatever
// text arrives; real formulas stay far below them.
constexpr Integer MaxDepth = 256;
constexpr Integer MaxNodes = 10000;

// Recursive descent over the lower-cased formula, lowest precedence first.
class TParser {
public:
  TParser(const String& Text, const TStrings& Variables) : FText(Text), FVariables(Variables) {}

  // Returns the tree, or nothing when the formula has a syntax error or
  // unbalanced parentheses.
  TNodePtr Run() {
    try {
      TNodePtr Tree = Expression();
      if (FDepth != 0) return nullptr;
      return Tree;
    } catch (const TSyntaxError&) {
      return nullptr;
    }
  }

private:
  TNodePtr NewNode(TNodeKind Kind, TNodePtr Left = nullptr, TNodePtr Right = nullptr) {
    if (++FNodes > MaxNodes) throw TSyntaxError{};
    auto Node = std::make_unique<TCalcExpress::TNode>();
    Node->Kind = Kind;
    Node->Left = std::move(Left);
    Node->Right = std::move(Right);
    return Node;
  }

  void OpenParenthesis() {
    if (++FDepth > MaxDepth) throw TSyntaxError{};
  }

  QChar At(Integer Index) const { return Index < FText.size() ? FText[Index] : QChar(); }

  void NextToken() {
    FPrevious = FCurrent;
    FCurrent = ReadToken();
  }

  TToken ReadToken() {
    while (At(FPos) == u' ') ++FPos;
    if (FPos >= FText.size()) return TToken::End;
    const QChar c = FText[FPos];
    switch (c.unicode()) {
      case u'(': ++FPos; return TToken::LParen;
      case u')': ++FPos; return TToken::RParen;
      case u'+': ++FPos; return TToken::Plus;
      case u'*': ++FPos; return TToken::Times;
      case u'/': ++FPos; return TToken::Divide;
      case u'^': ++FPos; return TToken::Power;
      case u'-':
        // A minus at the start or after "(" directly before a digit is the
        // sign of that number, so -3^2 is (-3)^2.
        if (IsDigit(At(FPos + 1)) && (FCurrent == TToken::Start || FCurrent == TToken::LParen))
          return ReadNumber();
        ++FPos;
        return TToken::Minus;
      default: break;
    }
    if (IsDigit(c)) return ReadNumber();
    if (IsIdentStart(c)) return ReadIdentifier();
    throw TSyntaxError{};
  }

  void ReadDigits() {
    if (!IsDigit(At(FPos))) throw TSyntaxError{};  // a wrong number
    while (IsDigit(At(FPos))) ++FPos;
  }

  TToken ReadNumber() {
    const Integer Start = FPos;
    if (At(FPos) == u'-') ++FPos;
    ReadDigits();
    if (At(FPos) == DecimalSeparator) {
      ++FPos;
      ReadDigits();
    }
    if (At(FPos) == u'e') {
      ++FPos;
      if (At(FPos) == u'+' || At(FPos) == u'-') ++FPos;
      ReadDigits();
    }
    String Number = FText.mid(Start, FPos - Start);
    Number.replace(DecimalSeparator, u'.');
    // Beyond the extended range this is an infinity, which evaluation reports as an overflow.
    FNumber = PlainTextToExtended(Number.toLatin1().constData());
    return TToken::Number;
  }

  TToken ReadIdentifier() {
    const Integer Start = FPos;
    while (IsIdentChar(At(FPos))) ++FPos;
    FIdentifier = FText.mid(Start, FPos - Start);
    for (const TFunctionName& f : FunctionNames)
      if (FIdentifier == QLatin1String(f.Name)) {
        FFunction = f.Function;
        return TToken::Function;
      }
    return TToken::Variable;
  }

  Integer VariableIndex(const String& Name) const {
    for (Integer i = 0; i < FVariables.Count(); ++i)
      if (FVariables.Strings(i).compare(Name, Qt::CaseInsensitive) == 0) return i;
    return -1;
  }

  TNodePtr Leaf() {
    if (FCurrent == TToken::Number) {
      TNodePtr Node = NewNode(TNodeKind::Number);
      Node->Value = FNumber;
      return Node;
    }
    TNodePtr Node = NewNode(TNodeKind::Variable);
    Node->Name = FIdentifier;
    Node->Index = VariableIndex(FIdentifier);
    return Node;
  }

  // Expression: terms joined by + and -, folded left; it ends at the end of
  // the text or at a ")" that closes one parenthesis.
  TNodePtr Expression() {
    TNodePtr Node = Term();
    for (;;) {
      switch (FCurrent) {
        case TToken::Plus: Node = NewNode(TNodeKind::Add, std::move(Node), Term()); break;
        case TToken::Minus: Node = NewNode(TNodeKind::Subtract, std::move(Node), Term()); break;
        case TToken::End: return Node;
        case TToken::RParen: --FDepth; return Node;
        default: throw TSyntaxError{};
      }
    }
  }

  // Term: factors joined by * and /; a sign is accepted only at the start
  // of the text or right after "(", so 2*-3 is rejected while 2*(-3) is not.
  TNodePtr Term() {
    NextToken();
    bool Negate = false;
    if ((FCurrent == TToken::Minus || FCurrent == TToken::Plus) &&
        (FPrevious == TToken::Start || FPrevious == TToken::LParen)) {
      Negate = FCurrent == TToken::Minus;
      NextToken();
    }
    TNodePtr Node = Factor();
    while (FCurrent == TToken::Times || FCurrent == TToken::Divide) {
      const TNodeKind Kind = FCurrent == TToken::Times ? TNodeKind::Multiply : TNodeKind::Divide;
      NextToken();
      Node = NewNode(Kind, std::move(Node), Factor());
    }
    return Negate ? NewNode(TNodeKind::Negate, std::move(Node)) : std::move(Node);
  }

  TNodePtr Factor() {
    TNodePtr Node;
    switch (FCurrent) {
      case TToken::LParen:
        OpenParenthesis();
        Node = Expression();
        break;
      case TToken::Number:
      case TToken::Variable:
        Node = Leaf();
        break;
      case TToken::Function: {
        const TFunction Function = FFunction;
        NextToken();
        if (FCurrent != TToken::LParen) throw TSyntaxError{};
        OpenParenthesis();
        Node = NewNode(TNodeKind::Function, Expression());
        Node->Function = Function;
        break;
      }
      default: throw TSyntaxError{};
    }
    NextToken();
    while (FCurrent == TToken::Power) Node = NewNode(TNodeKind::Power, std::move(Node), Exponent());
    return Node;
  }

  // An exponent is one number or variable, optionally in one pair of
  // parentheses: 2^(3) and 2^(-3) are valid, 2^(1+2) and 2^-3 are not.
  TNodePtr Exponent() {
    NextToken();
    const bool Enclosed = FCurrent == TToken::LParen;
    if (Enclosed) NextToken();
    if (FCurrent != TToken::Number && FCurrent != TToken::Variable) throw TSyntaxError{};
    TNodePtr Node = Leaf();
    if (Enclosed) {
      NextToken();
      if (FCurrent != TToken::RParen) throw TSyntaxError{};
    }
    NextToken();
    return Node;
  }

  const String& FText;
  const TStrings& FVariables;
  Integer FPos = 0;
  Integer FDepth = 0;
  Integer FNodes = 0;
  TToken FPrevious = TToken::Start;
  TToken FCurrent = TToken::Start;
  Extended FNumber = 0;
  String FIdentifier;
  TFunction FFunction = TFunction::Abs;
};

[[noreturn]] void RaiseInvalidOp() { throw EInvalidOp(QStringLiteral("Invalid floating point operation")); }
[[noreturn]] void RaiseZeroDivide() { throw EZeroDivide(QStringLiteral("Floating point division by zero")); }

// Numeric faults surface as exceptions instead of NaN or infinity in a pay amount.
Extended Checked(Extended Value) {
  if (std::isnan(Value)) RaiseInvalidOp();
  if (std::isinf(Value)) throw EOverflow(QStringLiteral("Floating point overflow"));
  return Value;
}

Extended Divide(Extended Dividend, Extended Divisor) {
  if (Divisor == 0) {
    if (Dividend == 0) RaiseInvalidOp();
    RaiseZeroDivide();
  }
  return Checked(Dividend / Divisor);
}

Extended ApplyFunction(TFunction Function, Extended x) {
  switch (Function) {
    case TFunction::Cos: return Checked(cosl(x));
    case TFunction::Sin: return Checked(sinl(x));
    case TFunction::Tg: return Checked(tanl(x));
    case TFunction::Ctg: return Divide(1, tanl(x));
    case TFunction::Abs: return fabsl(x);
    case TFunction::Sgn: return x < 0 ? -1 : (x > 0 ? 1 : 0);
    case TFunction::Sqrt: return Checked(sqrtl(x));
    case TFunction::Ln:
      if (x == 0) RaiseZeroDivide();
      return Checked(logl(x));
    case TFunction::Exp: return Checked(expl(x));
    case TFunction::ArcSin: return Checked(asinl(x));
    case TFunction::ArcCos: return Checked(acosl(x));
    case TFunction::ArcTg: return atanl(x);
    case TFunction::ArcCtg: return std::numbers::pi_v<Extended> / 2 - atanl(x);
    case TFunction::Sh: return Checked(sinhl(x));
    case TFunction::Ch: return Checked(coshl(x));
    case TFunction::Th: return tanhl(x);
    // As the reciprocal of th, so the two agree where cosh and sinh alone would overflow.
    case TFunction::Cth: return Divide(1, tanhl(x));
    case TFunction::Heaviside: return x >= 0 ? 1 : 0;
  }
  return 0;
}

Extended Evaluate(const TCalcExpress::TNode& Node, const std::vector<Extended>& Values) {
  switch (Node.Kind) {
    case TNodeKind::Add: return Checked(Evaluate(*Node.Left, Values) + Evaluate(*Node.Right, Values));
    case TNodeKind::Subtract: return Checked(Evaluate(*Node.Left, Values) - Evaluate(*Node.Right, Values));
    case TNodeKind::Multiply: return Checked(Evaluate(*Node.Left, Values) * Evaluate(*Node.Right, Values));
    case TNodeKind::Divide: return Divide(Evaluate(*Node.Left, Values), Evaluate(*Node.Right, Values));
    case TNodeKind::Number: return Checked(Node.Value);
    case TNodeKind::Variable:
      // A name that is not in the variable list, or has no value given, must
      // not read outside the value array.
      if (Node.Index < 0 || size_t(Node.Index) >= Values.size())
        throw EInvalidOperation(QStringLiteral("Variable \"%1\" has no value.").arg(Node.Name));
      return Values[size_t(Node.Index)];
    case TNodeKind::Negate: return -Evaluate(*Node.Left, Values);
    case TNodeKind::Power: {
      const Extended Base = Evaluate(*Node.Left, Values);
      const Extended Power = Evaluate(*Node.Right, Values);
      if (Base == 0 && Power < 0) RaiseZeroDivide();
      return Checked(powl(Base, Power));
    }
    case TNodeKind::Function: return ApplyFunction(Node.Function, Evaluate(*Node.Left, Values));
  }
  return 0;
}

}  // namespace

TCalcExpress::TCalcExpress(TComponent* AOwner)
    : TComponent(AOwner), FVariables(std::make_unique<TStringList>()) {
  SetFormula(QStringLiteral("0"));
}

TCalcExpress::~TCalcExpress() = default;

void TCalcExpress::SetFormula(const String& Value) {
  FTree.reset();
  FFormula = Value.toLower();
  Parse();
}

bool TCalcExpress::ParseQuietly(const String& Value) {
  FFormula = Value.toLower();
  FTree = TParser(FFormula, *FVariables).Run();
  return FTree != nullptr;
}

void TCalcExpress::SetVariables(TStrings* Value) {
  FVariables->Clear();
  if (Value)
    for (Integer i = 0; i < Value->Count(); ++i) FVariables->Add(Value->Strings(i));
  FTree.reset();
  Parse();
}

void TCalcExpress::Parse() {
  FTree = TParser(FFormula, *FVariables).Run();
  if (!FTree) ShowAppMessage(QStringLiteral("Error in formula."));
}

Extended TCalcExpress::Evaluate(const std::vector<Extended>& Values) const {
  if (!FTree) throw EInvalidOperation(QStringLiteral("The formula could not be parsed."));
  return ::Evaluate(*FTree, Values);
}
