#pragma once
// The edit-mask engine behind the masked edit: parses a mask such as "999.99;1;_" and
// performs typing, deleting and pasting on the displayed text, which always keeps one
// character per mask position.
//
// Mask syntax: the mask proper, then optionally ";" and the save-literals flag ("0" keeps
// only the typed characters in Text, anything else keeps the literals too), then
// optionally ";" and the blank character shown in empty positions (default "_").
// Input positions: 0 digit, 9 digit or blank, # digit, sign or blank, L letter, l letter
// or blank, A letter or digit, a letter, digit or blank, C any character, c any character
// or blank. Directives that take no position: ! (a short Text fills the last positions,
// so missing optional characters appear as leading blanks), > upper case from here,
// < lower case from here, <> no case change. Literals: "\" makes the next character
// literal, "/" is the date separator, ":" the time separator, "_" a space; any other
// character stands for itself.
#include "platform/rtl/Types.h"
#include <optional>
#include <vector>

class TMaskEngine {
public:
  enum class TKind { Literal, Digit, DigitOrSign, Letter, AlphaNum, AnyChar };
  enum class TCase { Keep, Upper, Lower };
  struct TPosition {
    TKind Kind = TKind::Literal;
    bool Required = false;
    QChar Literal;  // the character shown for a literal position
    TCase Case = TCase::Keep;
  };
  // The displayed text with its caret and selection (SelStart..SelStart+SelLength).
  struct TEditState {
    String EditText;
    Integer SelStart = 0;
    Integer SelLength = 0;
  };

  TMaskEngine() = default;
  explicit TMaskEngine(const String& EditMask);

  bool IsMasked() const { return !FPositions.empty(); }
  Integer Length() const { return Integer(FPositions.size()); }
  const TPosition& Position(Integer Index) const { return FPositions.at(size_t(Index)); }
  bool IsLiteral(Integer Index) const { return Position(Index).Kind == TKind::Literal; }
  QChar BlankChar() const { return FBlank; }
  bool SaveLiterals() const { return FSaveLiterals; }
  bool LeadingBlanks() const { return FLeadingBlanks; }

  // The displayed text with every input position blank.
  String EmptyEditText() const;
  // Ch as stored at input position Index (case applied), or nothing when it does not fit.
  // A blank (space or the blank character) fits the optional positions only.
  std::optional<QChar> Accept(Integer Index, QChar Ch) const;

  // Types Ch at the caret, replacing a selection first: the character goes into the next
  // input position at or after the caret; a character that fits no position but equals
  // a literal further on (with only input positions between) moves the caret past that
  // literal. False, with State unchanged, when the character is refused.
  bool TypeChar(TEditState& State, QChar Ch) const;
  // Backspace: blanks the selection, or the input position before the caret.
  void DeleteBackward(TEditState& State) const;
  // Delete: blanks the selection, or the input position at or after the caret.
  void DeleteForward(TEditState& State) const;
  // Types Text over the selection character by character. All or nothing: false, with
  // State unchanged, when any character is refused.
  bool Paste(TEditState& State, const String& Text) const;

  // Text as a program reads it from the displayed text: blanks become spaces, literals
  // are kept only with the save-literals flag.
  String TextFromEditText(const String& EditText) const;
  // The displayed text for a Text value, read the way TextFromEditText writes it;
  // characters that do not fit their position leave it blank.
  String EditTextFromText(const String& Text) const;
  // The displayed text for an EditText value laid over the positions one by one.
  String NormalizeEditText(const String& EditText) const;
  // Index of the first required position that is blank, or -1 when the text is complete.
  Integer FirstMissing(const String& EditText) const;

  // Next input position at or after Index (Length() when none), previous before Index (-1).
  Integer NextInput(Integer Index) const;
  Integer PreviousInput(Integer Index) const;

private:
  // Blanks the input positions in [From, To) of EditText.
  void BlankRange(String& EditText, Integer From, Integer To) const;
  bool IsBlank(QChar Ch) const { return Ch == FBlank || Ch == u' '; }

  std::vector<TPosition> FPositions;
  QChar FBlank = u'_';
  bool FSaveLiterals = true;
  bool FLeadingBlanks = false;
};
