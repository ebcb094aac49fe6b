#pragma once
// A string list kept in a hidden rich edit, so its lines carry their formatting: it streams
// rich text in and out and lays itself out on printed pages.
#include "platform/ui/RichEdit.h"

class TRichEditStrings : public TStrings {
public:
  TRichEditStrings();
  ~TRichEditStrings() override;
  String ClassName() const override { return QStringLiteral("TRichEditStrings"); }

  TRichEdit* RichEdit() const { return FRichEdit.get(); }

  void Clear() override;
  void Delete(Integer Index) override;
  // Raises EOutOfResources "RichEdit line insertion error" when the text did not land whole.
  void Insert(Integer Index, const String& S) override;
  // Rich text, or plain text when the bytes are not rich text (every line end becomes one
  // line break); raises EOutOfResources "Failed to Load Stream" when neither reads.
  void LoadFromStream(TStream* Stream) override;
  // Rich text; raises EOutOfResources "Failed to Save Stream" when it cannot be written.
  void SaveToStream(TStream* Stream) override;
  // Adds the lines without telling the rich edit's selection listener about each one.
  void AddStrings(TStrings* Strings) override;

protected:
  String Get(Integer Index) const override;
  Integer GetCount() const override;
  void Put(Integer Index, const String& S) override;
  // Replaces the text without a change notice from the rich edit.
  void SetTextStr(const String& Value) override;
  // While a shown rich edit is updated it does not redraw; afterwards it repaints and is
  // told its text changed.
  void SetUpdateState(bool Updating) override;

private:
  std::unique_ptr<TRichEdit> FRichEdit;
};
