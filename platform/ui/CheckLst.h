#pragma once
// A list box with a check box in front of every item.
#include "platform/ui/StdCtrls.h"

class TCheckListBox : public TCustomListBox {
public:
  explicit TCheckListBox(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TCheckListBox"); }
  bool Checked(Integer Index) const { return State(Index) == cbChecked; }
  void SetChecked(Integer Index, bool Value) { SetState(Index, Value ? cbChecked : cbUnchecked); }
  TCheckBoxState State(Integer Index) const;
  void SetState(Integer Index, TCheckBoxState Value);
  bool ItemEnabled(Integer Index) const;
  void SetItemEnabled(Integer Index, bool Value);
  // A click on a check box then moves through the grayed state too.
  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }
  // The user changed an item's check box.
  TNotifyEvent OnClickCheck;
  void Dispatch(TMessage& Message) override;
  QWidget* CreateWidget(const TCreateParams& Params, QWidget* ParentWidget) override;
protected:
  void WidgetItemMade(Integer Index, QListWidgetItem* Item) override;
private:
  struct TItemState {
    TCheckBoxState State = cbUnchecked;
    bool Enabled = true;
  };
  TItemState& ItemState(Integer Index);
  const TItemState* FindItemState(Integer Index) const;
  void UserToggled(Integer Index);
  std::vector<TItemState> FStates;
  bool FAllowGrayed = false;
  bool FApplying = false;
};
