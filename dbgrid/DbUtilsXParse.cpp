// The column-filter expression language: one or two conditions joined by AND or OR, each an
// operator and a value, a value list after IN, or a test for Null.
#include "dbgrid/DbUtilsX.h"
#include "platform/rtl/SysUtils.h"

const std::array<TSTValueKindX, ftFMTBcd + 1> STValueKindOfFieldType = {
    stvkOtherX,    // ftUnknown
    stvkTextX,     // ftString
    stvkNumberX,   // ftSmallint
    stvkNumberX,   // ftInteger
    stvkNumberX,   // ftWord
    stvkBooleanX,  // ftBoolean
    stvkNumberX,   // ftFloat
    stvkNumberX,   // ftCurrency
    stvkNumberX,   // ftBCD
    stvkDateTimeX, // ftDate
    stvkDateTimeX, // ftTime
    stvkDateTimeX, // ftDateTime
    stvkOtherX,    // ftBytes
    stvkOtherX,    // ftVarBytes
    stvkNumberX,   // ftAutoInc
    stvkOtherX,    // ftBlob
    stvkTextX,     // ftMemo
    stvkOtherX,    // ftGraphic
    stvkTextX,     // ftFmtMemo
    stvkOtherX,    // ftParadoxOle
    stvkOtherX,    // ftDBaseOle
    stvkOtherX,    // ftTypedBinary
    stvkOtherX,    // ftCursor
    stvkTextX,     // ftFixedChar
    stvkTextX,     // ftWideString
    stvkNumberX,   // ftLargeint
    stvkOtherX,    // ftADT
    stvkOtherX,    // ftArray
    stvkOtherX,    // ftReference
    stvkOtherX,    // ftDataSet
    stvkOtherX,    // ftOraBlob
    stvkOtherX,    // ftOraClob
    stvkOtherX,    // ftVariant
    stvkOtherX,    // ftInterface
    stvkOtherX,    // ftIDispatch
    stvkTextX,     // ftGuid
    stvkDateTimeX, // ftTimeStamp
    stvkNumberX,   // ftFMTBcd
};

const std::array<const char*, 16> STOperatorSymbols = {"",   "=",  "<>",  ">",    "<",    ">=",  "<=", "~",
                                                       "!~", "In", "!In", "Null", "Null", "AND", "OR", ""};

const std::array<const char*, 16> STOperatorFilterWords = {
    " ", "= ", " <> ", "> ", " < ", ">= ", " <= ", " LIKE ", "NOT LIKE ", " IN ", " NOT  IN ", " = Null ",
    " <> Null ", " AND ", " OR ", " "};

void ResetFilterExpression(TSTFilterExpressionX& Expression) {
  Expression.FirstOperator = stoNoneX;
  Expression.FirstOperand = Variant::Null();
  Expression.Junction = stoNoneX;
  Expression.SecondOperator = stoNoneX;
  Expression.SecondOperand = Variant::Null();
}

QChar CharAt(const String& Text, Integer Position) {
  return Position >= 1 && Position <= Text.size() ? Text[Position - 1] : QChar(0);
}

namespace {

// NOT and the opening parenthesis are lexemes of their own that never reach a caller.
constexpr Integer LexNot = 100, LexOpen = 101;

class TFilterTextReader {
public:
  TFilterTextReader(const String& Text, TSTValueKindX Kind) : FText(Text), FKind(Kind) { ResetListsRule(); }

  [[noreturn]] void Fail(const char* Message) const {
    throw Exception(QString::fromLatin1(Message) + FText);
  }
  void ResetListsRule() { FListsAllowed = !(FKind == stvkNumberX && DecimalSeparator == u','); }
  void AllowLists() { FListsAllowed = true; }
  bool PastEnd() const { return FPos > FText.size(); }
  QChar Current() const { return CharAt(FText, FPos); }
  void Skip() { ++FPos; }
  void SkipBlanks() {
    while (Current() == u' ') ++FPos;
  }

  // Reads the lexeme at the position; a value comes back in Value.
  Integer ReadLexeme(Variant& Value) { return ReadLexemeAt(FPos, &Value); }

private:
  static bool IsDelimiter(QChar Ch) {
    return Ch.unicode() < 32 || QStringView(u" !\"&'()+,-.<=>~|").contains(Ch);
  }

  // Moves to the next non-blank character; stays when only blanks remain.
  void SkipBlanksBeforeMore(Integer& Pos) const {
    Integer p = Pos;
    while (CharAt(FText, p) == u' ') ++p;
    if (p <= FText.size()) Pos = p;
  }

  // The symbol or keyword at Pos and its length, or stoValueX for the start of a value.
  Integer SymbolAt(Integer Pos, Integer& Length) const {
    const QChar ch = CharAt(FText, Pos);
    const QChar next = CharAt(FText, Pos + 1);
    Length = 1;
    auto two = [&Length](Integer Kind) {
      Length = 2;
      return Kind;
    };
    switch (ch.unicode()) {
      case u'!': return next == u'=' ? two(stoNotEqualX) : LexNot;
      case u'&': return stoAndX;
      case u'|': return stoOrX;
      case u'~': return stoLikeX;
      case u'=': return stoEqualX;
      case u'<': return next == u'=' ? two(stoLessOrEqualX) : next == u'>' ? two(stoNotEqualX) : stoLessX;
      case u'>': return next == u'=' ? two(stoGreaterOrEqualX) : stoGreaterX;
      case u'(': return LexOpen;
      case u'\'': return stoValueX;
      default: break;
    }
    Integer end = Pos;
    while (end <= FText.size() && !IsDelimiter(CharAt(FText, end))) ++end;
    Length = end - Pos;
    const String word = FText.mid(Pos - 1, Length).toUpper();
    if (word == u"NOT") return LexNot;
    if (word == u"AND") return stoAndX;
    if (word == u"OR") return stoOrX;
    if (word == u"LIKE") return stoLikeX;
    if (word == u"IN") return stoInListX;
    if (word == u"NULL") return stoIsNullX;
    return stoValueX;
  }

  // Reads the lexeme at Pos. A peek (Value null) tells a value from the rest without reading it.
  Integer ReadLexemeAt(Integer& Pos, Variant* Value) {
    if (Value) *Value = String();
    if (Pos > FText.size()) return stoNoneX;
    Integer length = 0;
    Integer kind = SymbolAt(Pos, length);
    FChainTail = 0;
    if (kind == stoValueX) return Value ? ReadListLexeme(Pos, *Value) : stoValueX;
    // NOT negates what follows it; a NOT before another NOT leaves nothing to negate.
    Integer nots = 0, notEnd = 0;
    while (kind == LexNot) {
      ++nots;
      Pos += length;
      FChainTail = notEnd;
      notEnd = Pos;
      SkipBlanksBeforeMore(Pos);
      if (Pos > FText.size()) return stoNoneX;
      kind = SymbolAt(Pos, length);
      if (kind == stoValueX) {
        if (Value) ReadListLexeme(Pos, *Value);
        return stoNoneX;
      }
    }
    Pos += length;
    SkipBlanksBeforeMore(Pos);
    if (kind == stoInListX) {
      if (CharAt(FText, Pos) != u'(') Fail("'(' expected: ");
      ++Pos;
    }
    if (kind == LexOpen) return stoNoneX;
    if (nots == 0) return kind;
    if (nots > 1) return stoNoneX;
    switch (kind) {
      case stoLikeX: return stoNotLikeX;
      case stoInListX: return stoNotInListX;
      case stoIsNullX: return stoIsNotNullX;
      default: return stoNoneX;
    }
  }

  Integer ReadListLexeme(Integer& Pos, Variant& Value) {
    Value = ReadValueList(Pos);
    return Value.IsNull() ? stoNoneX : stoValueX;
  }

  Variant ReadValueList(Integer& Pos) {
    std::vector<Variant> items{ReadValue(Pos)};
    while (!items.back().IsNull() && FListsAllowed && CharAt(FText, Pos) == u',') {
      ++Pos;
      items.push_back(ReadValue(Pos));
    }
    if (items.size() == 1) return items.front();
    return Variant::Array(std::move(items));
  }

  Variant ReadValue(Integer& Pos) {
    if (Pos > FText.size()) return Variant::Null();
    if (CharAt(FText, Pos) == u'\'') {
      String value;
      for (Integer p = Pos + 1;; ++p) {
        if (p > FText.size()) Fail("Quote is absent: ");
        if (CharAt(FText, p) != u'\'') {
          value += CharAt(FText, p);
        } else if (CharAt(FText, p + 1) == u'\'') {
          value += u'\'';
          ++p;
        } else {
          Pos = p + 1;
          return value;
        }
      }
    }
    const Integer start = Pos;
    Integer p = Pos;
    for (; p <= FText.size(); ++p) {
      const QChar ch = CharAt(FText, p);
      if (ch == u'(' || ch == u')' || (ch == u',' && FListsAllowed)) break;
      if (ch != u' ') continue;
      Integer next = p;
      while (CharAt(FText, next) == u' ') ++next;
      if (OperatorFollows(next)) break;
      // The other blanks of the run see the same lexeme, and so do the blanks among a chain
      // of NOTs up to its last one: asking again at each would make the reading quadratic.
      p = std::max(next, FChainTail) - 1;
    }
    Pos = p;
    return FText.mid(start - 1, p - start);
  }

  // Whether the lexeme at Pos is an operator, Null or a junction.
  bool OperatorFollows(Integer Pos) {
    const Integer kind = ReadLexemeAt(Pos, nullptr);
    return kind >= stoEqualX && kind <= stoOrX;
  }

  const String& FText;
  TSTValueKindX FKind;
  Integer FPos = 1;
  bool FListsAllowed = true;
  // After a lexeme read past two or more NOTs: the position just after the last NOT but one.
  Integer FChainTail = 0;
};

bool IsListOperator(Integer Kind) { return Kind == stoInListX || Kind == stoNotInListX; }

TSTOperatorX OperatorForBareValue(const Variant& Value, TSTValueKindX Kind) {
  if (Value.IsArray()) return stoInListX;
  return Kind == stvkTextX ? stoLikeX : stoEqualX;
}

// Operator and operand after an operator lexeme: a value, or Null after = and <>.
void ReadOperatorCondition(TFilterTextReader& Reader, Integer Operator, TSTOperatorX& StoredOperator,
                           Variant& Operand) {
  if (IsListOperator(Operator)) Reader.AllowLists();
  Reader.SkipBlanks();
  Variant value;
  const Integer operand = Reader.ReadLexeme(value);
  StoredOperator = TSTOperatorX(Operator);
  if (operand == stoIsNullX) {
    if (Operator == stoEqualX) StoredOperator = stoIsNullX;
    else if (Operator == stoNotEqualX) StoredOperator = stoIsNotNullX;
    else Reader.Fail("Unexpected expression before Null: ");
    Operand = Variant::Null();
    return;
  }
  if (operand != stoValueX) Reader.Fail("Unexpected expression after operator: ");
  Operand = value;
}

String ValueAsText(const Variant& Value) {
  if (!Value.IsArray()) return VarToStr(Value);
  QStringList items;
  for (int i = 0; i < Value.ArrayLength(); ++i) items << VarToStr(Value[i]);
  return items.join(u',');
}

Variant AssumedOperand(const Variant& Value, TSTAssumedOperatorX Assumed) {
  const bool after = Assumed == staBeginsWithX || Assumed == staNotBeginsWithX || Assumed == staContainsX ||
                     Assumed == staNotContainsX;
  const bool before = Assumed == staEndsWithX || Assumed == staNotEndsWithX || Assumed == staContainsX ||
                      Assumed == staNotContainsX;
  if (!after && !before) return Value;
  String text = ValueAsText(Value);
  if (after && !text.startsWith(u'%')) text += u'%';
  if (before && !text.startsWith(u'%')) text.prepend(u'%');
  return text;
}

TSTOperatorX StoredOperatorOf(TSTAssumedOperatorX Assumed) {
  switch (Assumed) {
    case staBeginsWithX:
    case staEndsWithX:
    case staContainsX: return stoLikeX;
    case staNotBeginsWithX:
    case staNotEndsWithX:
    case staNotContainsX: return stoNotLikeX;
    default: return TSTOperatorX(Assumed);
  }
}

Variant ConvertItem(const Variant& Item, TSTValueKindX Kind) {
  if (Item.IsNull()) return Item;
  if (Kind == stvkNumberX) return double(StrToFloat(Trim(VarToStr(Item))));
  if (Kind == stvkDateTimeX) {
    const String text = VarToStr(Item);
    if (text.compare(u"NOW", Qt::CaseInsensitive) == 0) return text;
    return Variant::FromDate(StrToDateTime(Trim(text)));
  }
  return Item;
}

Variant ConvertOperand(TSTOperatorX Operator, const Variant& Operand, TSTValueKindX Kind) {
  if (Operator < stoEqualX || Operator > stoNotInListX) return Variant::Null();
  if (!Operand.IsArray()) return ConvertItem(Operand, Kind);
  std::vector<Variant> items;
  for (int i = 0; i < Operand.ArrayLength(); ++i) items.push_back(ConvertItem(Operand[i], Kind));
  return Variant::Array(std::move(items));
}

}  // namespace

bool ParseFilterText(const String& Text, TSTFilterExpressionX& Expression, TSTAssumedOperatorX Assumed) {
  ResetFilterExpression(Expression);
  const String text = Trim(Text);
  if (text.isEmpty()) return false;
  TFilterTextReader reader(text, Expression.ValueKind);
  reader.SkipBlanks();
  Variant value;
  const Integer first = reader.ReadLexeme(value);
  if (first == stoValueX) {
    if (Assumed != staNoneX) {
      Expression.FirstOperator = StoredOperatorOf(Assumed);
      Expression.FirstOperand = AssumedOperand(value, Assumed);
    } else {
      Expression.FirstOperator = OperatorForBareValue(value, Expression.ValueKind);
      Expression.FirstOperand = value;
    }
  } else {
    if (first == stoNoneX) reader.Fail("Error in expression: ");
    // A junction joins two conditions; leading, it leaves the first without an operator.
    if (first == stoAndX || first == stoOrX) reader.Fail("Unexpected AND or OR: ");
    ReadOperatorCondition(reader, first, Expression.FirstOperator, Expression.FirstOperand);
    if (IsListOperator(first)) {
      reader.SkipBlanks();
      if (reader.Current() != u')') reader.Fail("')' expected: ");
      reader.Skip();
      reader.ResetListsRule();
    }
  }
  bool second = false;
  reader.SkipBlanks();
  const Integer junction = reader.ReadLexeme(value);
  if (junction == stoNoneX) {
    if (!reader.PastEnd()) reader.Fail("Incorrect expression: ");
  } else {
    if (junction != stoAndX && junction != stoOrX) reader.Fail("Unexpected AND or OR: ");
    Expression.Junction = TSTOperatorX(junction);
    reader.SkipBlanks();
    const Integer condition = reader.ReadLexeme(value);
    if (condition == stoNoneX) {
      if (!reader.PastEnd()) reader.Fail("Incorrect expression: ");
    } else if (condition == stoValueX) {
      Expression.SecondOperator = OperatorForBareValue(value, Expression.ValueKind);
      Expression.SecondOperand = value;
      second = true;
    } else {
      ReadOperatorCondition(reader, condition, Expression.SecondOperator, Expression.SecondOperand);
      reader.ResetListsRule();
      second = true;
    }
  }
  Expression.FirstOperand = ConvertOperand(Expression.FirstOperator, Expression.FirstOperand, Expression.ValueKind);
  Expression.SecondOperand =
      ConvertOperand(Expression.SecondOperator, Expression.SecondOperand, Expression.ValueKind);
  return second;
}
