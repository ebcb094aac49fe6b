#include "gridout/RichEditStrings.h"
#include <utility>

TRichEditStrings::TRichEditStrings() : FRichEdit(std::make_unique<TRichEdit>(nullptr)) {
  FRichEdit->SetVisible(false);
}

TRichEditStrings::~TRichEditStrings() = default;

String TRichEditStrings::Get(Integer Index) const { return FRichEdit->Lines()->Strings(Index); }

Integer TRichEditStrings::GetCount() const { return FRichEdit->Lines()->Count(); }

void TRichEditStrings::Put(Integer Index, const String& S) { FRichEdit->Lines()->SetStrings(Index, S); }

namespace {
// Takes an event handler away for a scope and gives it back however the scope ends.
class TUnhookedEvent {
public:
  explicit TUnhookedEvent(TNotifyEvent& Event) : FEvent(Event), FSaved(std::exchange(Event, nullptr)) {}
  ~TUnhookedEvent() { FEvent = std::move(FSaved); }
  TUnhookedEvent(const TUnhookedEvent&) = delete;
  TUnhookedEvent& operator=(const TUnhookedEvent&) = delete;
private:
  TNotifyEvent& FEvent;
  TNotifyEvent FSaved;
};
}  // namespace

void TRichEditStrings::SetTextStr(const String& Value) {
  const TUnhookedEvent quiet(FRichEdit->OnChange);
  FRichEdit->Lines()->SetText(Value);
}

void TRichEditStrings::AddStrings(TStrings* Strings) {
  const TUnhookedEvent quiet(FRichEdit->OnSelectionChange);
  TStrings::AddStrings(Strings);
}

void TRichEditStrings::SetUpdateState(bool Updating) {
  if (!FRichEdit->Showing()) return;
  FRichEdit->Handle()->setUpdatesEnabled(!Updating);
  if (Updating) return;
  FRichEdit->Refresh();
  FRichEdit->Perform(CM_TEXTCHANGED, 0, 0);
}

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
