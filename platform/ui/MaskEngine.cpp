#include "platform/ui/MaskEngine.h"
#include "platform/rtl/SysUtils.h"

namespace {

// Splits the mask at the separators that are not escaped by a backslash.
std::vector<String> SplitFields(const String& EditMask) {
  std::vector<String> fields(1);
  for (qsizetype i = 0; i < EditMask.size(); ++i) {
    const QChar ch = EditMask[i];
    if (ch == u'\\' && i + 1 < EditMask.size()) {
      fields.back() += ch;
      fields.back() += EditMask[++i];
    } else if (ch == u';' && fields.size() < 3) {
      fields.emplace_back();
    } else {
      fields.back() += ch;
    }
  }
  return fields;
}

}  // namespace

TMaskEngine::TMaskEngine(const String& EditMask) {
  const std::vector<String> fields = SplitFields(EditMask);
  if (fields.size() > 1) FSaveLiterals = !fields[1].startsWith(u'0');
  if (fields.size() > 2 && !fields[2].isEmpty()) FBlank = fields[2][0];

  const String& mask = fields[0];
  TCase currentCase = TCase::Keep;
  auto addInput = [&](TKind Kind, bool Required) { FPositions.push_back({Kind, Required, QChar(), currentCase}); };
  auto addLiteral = [&](QChar Ch) { FPositions.push_back({TKind::Literal, false, Ch, TCase::Keep}); };
  for (qsizetype i = 0; i < mask.size(); ++i) {
    const QChar ch = mask[i];
    switch (ch.unicode()) {
      case u'!': FLeadingBlanks = true; break;
      case u'>': currentCase = TCase::Upper; break;
      case u'<':
        if (i + 1 < mask.size() && mask[i + 1] == u'>') {
          currentCase = TCase::Keep;
          ++i;
        } else {
          currentCase = TCase::Lower;
        }
        break;
      case u'\\':
        if (i + 1 < mask.size()) addLiteral(mask[++i]);
        break;
      case u'0': addInput(TKind::Digit, true); break;
      case u'9': addInput(TKind::Digit, false); break;
      case u'#': addInput(TKind::DigitOrSign, false); break;
      case u'L': addInput(TKind::Letter, true); break;
      case u'l': addInput(TKind::Letter, false); break;
      case u'A': addInput(TKind::AlphaNum, true); break;
      case u'a': addInput(TKind::AlphaNum, false); break;
      case u'C': addInput(TKind::AnyChar, true); break;
      case u'c': addInput(TKind::AnyChar, false); break;
      case u'/': addLiteral(DateSeparator); break;
      case u':': addLiteral(TimeSeparator); break;
      case u'_': addLiteral(u' '); break;
      default: addLiteral(ch); break;
    }
  }
}

String TMaskEngine::EmptyEditText() const {
  String text;
  text.reserve(Length());
  for (const TPosition& p : FPositions) text += p.Kind == TKind::Literal ? p.Literal : FBlank;
  return text;
}

std::optional<QChar> TMaskEngine::Accept(Integer Index, QChar Ch) const {
  if (Index < 0 || Index >= Length()) return std::nullopt;
  const TPosition& p = Position(Index);
  if (p.Kind == TKind::Literal) return std::nullopt;
  if (IsBlank(Ch)) {
    if (p.Required) return std::nullopt;
    return FBlank;
  }
  const bool digit = Ch >= u'0' && Ch <= u'9';
  bool fits = false;
  switch (p.Kind) {
    case TKind::Digit: fits = digit; break;
    case TKind::DigitOrSign: fits = digit || Ch == u'+' || Ch == u'-'; break;
    case TKind::Letter: fits = Ch.isLetter(); break;
    case TKind::AlphaNum: fits = digit || Ch.isLetter(); break;
    case TKind::AnyChar: fits = Ch.isPrint(); break;
    case TKind::Literal: break;
  }
  if (!fits) return std::nullopt;
  if (p.Case == TCase::Upper) return Ch.toUpper();
  if (p.Case == TCase::Lower) return Ch.toLower();
  return Ch;
}

Integer TMaskEngine::NextInput(Integer Index) const {
  for (Integer i = std::max<Integer>(Index, 0); i < Length(); ++i)
    if (!IsLiteral(i)) return i;
  return Length();
}

Integer TMaskEngine::PreviousInput(Integer Index) const {
  for (Integer i = std::min(Index, Length()) - 1; i >= 0; --i)
    if (!IsLiteral(i)) return i;
  return -1;
}

void TMaskEngine::BlankRange(String& EditText, Integer From, Integer To) const {
  for (Integer i = std::max<Integer>(From, 0); i < std::min(To, Length()); ++i)
    if (!IsLiteral(i)) EditText[i] = FBlank;
}

bool TMaskEngine::TypeChar(TEditState& State, QChar Ch) const {
  TEditState s = State;
  if (s.EditText.size() != Length()) s.EditText = NormalizeEditText(s.EditText);
  if (s.SelLength > 0) {
    BlankRange(s.EditText, s.SelStart, s.SelStart + s.SelLength);
    s.SelLength = 0;
  }
  Integer caret = std::clamp<Integer>(s.SelStart, 0, Length());

  // The caret already moved past this literal after the previous character.
  if (caret > 0 && IsLiteral(caret - 1) && Position(caret - 1).Literal == Ch) {
    State = s;
    return true;
  }

  // Typing the literal the caret stands on steps over it.
  for (Integer i = caret; i < Length() && IsLiteral(i); ++i) {
    if (Position(i).Literal == Ch) {
      s.SelStart = NextInput(i + 1);
      State = s;
      return true;
    }
  }
  const Integer slot = NextInput(caret);
  if (const std::optional<QChar> stored = Accept(slot, Ch)) {
    s.EditText[slot] = *stored;
    s.SelStart = NextInput(slot + 1);
    State = s;
    return true;
  }
  // A separator typed early (the "." after two digits of "999.99") jumps to its place.
  for (Integer i = slot; i < Length(); ++i) {
    if (!IsLiteral(i)) continue;
    if (Position(i).Literal != Ch) return false;
    s.SelStart = NextInput(i + 1);
    State = s;
    return true;
  }
  return false;
}

void TMaskEngine::DeleteBackward(TEditState& State) const {
  if (State.EditText.size() != Length()) State.EditText = NormalizeEditText(State.EditText);
  if (State.SelLength > 0) {
    BlankRange(State.EditText, State.SelStart, State.SelStart + State.SelLength);
    State.SelLength = 0;
    return;
  }
  const Integer slot = PreviousInput(State.SelStart);
  if (slot < 0) return;
  State.EditText[slot] = FBlank;
  State.SelStart = slot;
}

void TMaskEngine::DeleteForward(TEditState& State) const {
  if (State.EditText.size() != Length()) State.EditText = NormalizeEditText(State.EditText);
  if (State.SelLength > 0) {
    BlankRange(State.EditText, State.SelStart, State.SelStart + State.SelLength);
    State.SelLength = 0;
    return;
  }
  const Integer slot = NextInput(State.SelStart);
  if (slot < Length()) State.EditText[slot] = FBlank;
}

bool TMaskEngine::Paste(TEditState& State, const String& Text) const {
  TEditState s = State;
  if (s.EditText.size() != Length()) s.EditText = NormalizeEditText(s.EditText);
  if (s.SelLength > 0) {
    BlankRange(s.EditText, s.SelStart, s.SelStart + s.SelLength);
    s.SelLength = 0;
  }
  for (const QChar ch : Text)
    if (!TypeChar(s, ch)) return false;
  State = s;
  return true;
}

String TMaskEngine::TextFromEditText(const String& EditText) const {
  const String edit = EditText.size() == Length() ? EditText : NormalizeEditText(EditText);
  String text;
  for (Integer i = 0; i < Length(); ++i) {
    if (IsLiteral(i)) {
      if (FSaveLiterals) text += edit[i];
    } else {
      text += edit[i] == FBlank ? QChar(u' ') : edit[i];
    }
  }
  return text;
}

String TMaskEngine::EditTextFromText(const String& Text) const {
  String value = Text;
  // With "!" a short value is right-aligned: its missing characters are the leading ones.
  if (FLeadingBlanks) {
    Integer full = FSaveLiterals ? Length() : Integer(std::count_if(FPositions.begin(), FPositions.end(),
                                                        [](const TPosition& p) { return p.Kind != TKind::Literal; }));
    if (value.size() < full) value = String(full - value.size(), u' ') + value;
  }
  String edit = EmptyEditText();
  qsizetype t = 0;
  for (Integer i = 0; i < Length() && t < value.size(); ++i) {
    if (IsLiteral(i)) {
      if (value[t] == Position(i).Literal) ++t;
      continue;
    }
    if (const std::optional<QChar> stored = Accept(i, value[t])) {
      edit[i] = *stored;
      ++t;
      continue;
    }
    // A value that leaves out optional characters before a literal ("0.00" in "999.99")
    // waits for that literal; any other misfit leaves the position blank.
    const bool waitsForLiteral = std::any_of(FPositions.begin() + i, FPositions.end(), [&](const TPosition& p) {
      return p.Kind == TKind::Literal && p.Literal == value[t];
    });
    if (!waitsForLiteral) ++t;
  }
  return edit;
}

String TMaskEngine::NormalizeEditText(const String& EditText) const {
  String edit = EmptyEditText();
  for (Integer i = 0; i < Length() && i < EditText.size(); ++i)
    if (!IsLiteral(i))
      if (const std::optional<QChar> stored = Accept(i, EditText[i])) edit[i] = *stored;
  return edit;
}

Integer TMaskEngine::FirstMissing(const String& EditText) const {
  for (Integer i = 0; i < Length(); ++i) {
    const TPosition& p = Position(i);
    if (p.Kind == TKind::Literal || !p.Required) continue;
    if (i >= EditText.size() || !Accept(i, EditText[i])) return i;
  }
  return -1;
}
