#pragma once
// The special row that lookup lists and column drop-downs show above their data rows
// ("(none)" and the like): its cells, look, shortcut and the value it stands for.
#include "platform/rtl/Variants.h"
#include "platform/ui/Controls.h"
#include <memory>

class TSpecRowX : public TPersistent {
public:
  // Owner: a lookup grid control, a grid column or a column's drop-down box.
  explicit TSpecRowX(TPersistent* AOwner);
  ~TSpecRowX() override;
  void Assign(TPersistent* Source) override;
  String ClassName() const override { return QStringLiteral("TSpecRowX"); }
  TPersistent* GetOwner() const override { return FOwner; }

  // Set by the lookup grid when the row stands for the current key; never read here.
  bool Selected = false;

  const String& CellsText() const { return FCellsText; }
  // ';' separates cells; a double-quoted item may contain ';' and "" for a quote.
  void SetCellsText(const String& Value);
  String ReadCellText(Integer Index) const;
  Integer CellCount() const { return FCells->Count(); }
  // The stored colour once set, else the owner control's.
  TColor Color() const;
  void SetColor(TColor Value);
  bool ColorAssigned() const { return FColorAssigned; }
  // The own font once set, else a copy of the owner control's.
  TFont* Font();
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  bool FontAssigned() const { return FFontAssigned; }
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value) { FShortCut = Value; }
  bool ShowIfNotInKeyList() const { return FShowIfNotInKeyList; }
  void SetShowIfNotInKeyList(bool Value);
  const Variant& Value() const { return FValue; }
  void SetValue(const Variant& Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);

  TFont* OwnerFont() const;
  TColor OwnerColor() const;
  void SuspendChanges() { ++FUpdateCount; }
  void ResumeChanges();
  void NotifyChanged();

  std::function<void(TSpecRowX* Row)> OnChanged;

private:
  TPersistent* FOwner;
  String FCellsText;
  std::unique_ptr<TStringList> FCells;
  TColor FColor = 0;
  bool FColorAssigned = false;
  std::unique_ptr<TFont> FFont;
  bool FFontAssigned = false;
  bool FCopyingOwnerFont = false;
  TShortCut FShortCut;
  bool FShowIfNotInKeyList = true;
  Variant FValue = Variant::Null();
  bool FVisible = false;
  Integer FUpdateCount = 0;
};
