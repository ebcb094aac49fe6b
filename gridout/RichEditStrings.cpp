#include "gridout/RichEditStrings.h"

TRichEditStrings::TRichEditStrings() : FRichEdit(std::make_unique<TRichEdit>(nullptr)) {
  FRichEdit->SetVisible(false);
}

TRichEditStrings::~TRichEditStrings() = default;

String TRichEditStrings::Get(Integer Index) const { return FRichEdit->Lines()->Strings(Index); }

Integer TRichEditStrings::GetCount() const { return FRichEdit->Lines()->Count(); }

void TRichEditStrings::Put(Integer Index, const String& S) { FRichEdit->Lines()->SetStrings(Index, S); }

void TRichEditStrings::SetTextStr(const String& Value) { FRichEdit->Lines()->SetText(Value); }

void TRichEditStrings::Clear() { FRichEdit->Lines()->Clear(); }

void TRichEditStrings::Delete(Integer Index) { FRichEdit->Lines()->Delete(Index); }

void TRichEditStrings::Insert(Integer Index, const String& S) {
  if (Index < 0) return;
  const Integer before = FRichEdit->TextLength();
  FRichEdit->Lines()->Insert(Index, S);
  const Integer after = FRichEdit->TextLength();
  // Nothing lands where there is no place for the line (past an empty last line); a line
  // that landed must have landed whole with its one line break.
  if (after != before && after != before + Integer(S.size()) + 1)
    throw EOutOfResources(QStringLiteral("RichEdit line insertion error"));
}

void TRichEditStrings::LoadFromStream(TStream* Stream) {
  try {
    FRichEdit->Lines()->LoadFromStream(Stream);
  } catch (const Exception&) {
    throw EOutOfResources(QStringLiteral("Failed to Load Stream"));
  }
}

void TRichEditStrings::SaveToStream(TStream* Stream) {
  try {
    FRichEdit->Lines()->SaveToStream(Stream);
  } catch (const Exception&) {
    throw EOutOfResources(QStringLiteral("Failed to Save Stream"));
  }
}
