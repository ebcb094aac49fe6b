#pragma once
// The most recently used values of an edit or a grid column, newest last.
#include "platform/rtl/Classes.h"
#include <memory>

class TMRUListX : public TPersistent {
public:
  explicit TMRUListX(TPersistent* AOwner);
  ~TMRUListX() override;
  void Assign(TPersistent* Source) override;
  String ClassName() const override { return QStringLiteral("TMRUListX"); }
  TPersistent* GetOwner() const override { return FOwner; }

  bool Active() const { return FActive; }
  void SetActive(bool Value);
  bool AutoAdd() const { return FAutoAdd; }
  void SetAutoAdd(bool Value) { FAutoAdd = Value; }
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool Value) { FCaseSensitive = Value; }
  TStrings* Items() const { return FItems.get(); }
  void SetItems(TStrings* Value) { FItems->Assign(Value); }
  Integer Limit() const { return FLimit; }
  void SetLimit(Integer Value);
  Integer Rows() const { return FRows; }
  void SetRows(Integer Value) { FRows = Value; }
  // The width the user gave the list; 0 follows the edit.
  Integer Width() const { return FWidth; }
  void SetWidth(Integer Value) { FWidth = Value; }
  bool DroppedDown() const { return FDroppedDown; }
  void SetDroppedDown(bool Value) { FDroppedDown = Value; }

  // A value of blanks only is ignored; a known value moves to the end in its stored
  // spelling; a new one is appended and the oldest dropped beyond Limit.
  void AddRecent(const String& Value);
  void TrimToLimit();
  // Fills Target with the entries that begin with Text (through the filter hook).
  void CollectMatches(TStrings* Target, const String& Text);

  virtual void FireCloseUp(bool Accept);
  virtual void FireDropDown();

  std::function<void(TMRUListX* List)> OnDropDownHook;
  std::function<void(TMRUListX* List, bool Accept)> OnCloseUpHook;
  std::function<void(TMRUListX* List)> OnActiveChangedHook;
  std::function<void(TMRUListX* List, const String& Entry, bool& Accept)> OnFilterHook;

private:
  bool FActive = false;
  bool FAutoAdd = true;
  bool FCaseSensitive = false;
  std::unique_ptr<TStringList> FItems;
  Integer FLimit = 100;
  Integer FRows = 7;
  Integer FWidth = 0;
  TPersistent* FOwner;
  bool FDroppedDown = false;
};
