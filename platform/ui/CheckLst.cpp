#include "platform/ui/CheckLst.h"
#include "platform/ui/WrappedWidget.h"
#include <QListWidget>

namespace {

// CN_COMMAND code of a check box the user clicked; LParam is the item index.
constexpr Word CheckClicked = 0x100;

Qt::CheckState ToQt(TCheckBoxState State) {
  return State == cbChecked ? Qt::Checked : State == cbGrayed ? Qt::PartiallyChecked : Qt::Unchecked;
}

}  // namespace

TCheckListBox::TCheckListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}

QWidget* TCheckListBox::CreateWidget(const TCreateParams& Params, QWidget* ParentWidget) {
  auto* list = qobject_cast<QListWidget*>(TCustomListBox::CreateWidget(Params, ParentWidget));
  QObject::connect(list, &QListWidget::itemChanged, list, [list](QListWidgetItem* Item) {
    auto* control = WrappingControl<TCheckListBox>(list);
    if (!control || control->FApplying) return;
    TMessage m{CN_COMMAND, MakeWParam(0, CheckClicked), LPARAM(list->row(Item)), 0};
    DeliverMessage(control, m);
  });
  return list;
}

const TCheckListBox::TItemState* TCheckListBox::FindItemState(Integer Index) const {
  if (Index < 0 || Index >= Count()) throw EListError(QStringLiteral("列表索引越界 (%1)").arg(Index));
  return Index < Integer(FStates.size()) ? &FStates[size_t(Index)] : nullptr;
}

TCheckListBox::TItemState& TCheckListBox::ItemState(Integer Index) {
  FindItemState(Index);
  if (Index >= Integer(FStates.size())) FStates.resize(size_t(Index) + 1);
  return FStates[size_t(Index)];
}

TCheckBoxState TCheckListBox::State(Integer Index) const {
  const TItemState* state = FindItemState(Index);
  return state ? state->State : cbUnchecked;
}

bool TCheckListBox::ItemEnabled(Integer Index) const {
  const TItemState* state = FindItemState(Index);
  return state ? state->Enabled : true;
}

void TCheckListBox::SetState(Integer Index, TCheckBoxState Value) {
  ItemState(Index).State = Value;
  if (QListWidget* list = ListWidget()) WidgetItemMade(Index, list->item(Index));
}

void TCheckListBox::SetItemEnabled(Integer Index, bool Value) {
  ItemState(Index).Enabled = Value;
  if (QListWidget* list = ListWidget()) WidgetItemMade(Index, list->item(Index));
}

void TCheckListBox::WidgetItemMade(Integer Index, QListWidgetItem* Item) {
  if (!Item) return;
  FApplying = true;
  Qt::ItemFlags flags = Item->flags() | Qt::ItemIsUserCheckable;
  if (ItemEnabled(Index)) flags |= Qt::ItemIsEnabled;
  else flags &= ~Qt::ItemIsEnabled;
  Item->setFlags(flags);
  Item->setCheckState(ToQt(State(Index)));
  FApplying = false;
}

void TCheckListBox::UserToggled(Integer Index) {
  if (Index < 0 || Index >= Count()) return;
  TItemState& state = ItemState(Index);
  // Our order: unchecked, checked, (grayed,) unchecked; the widget's own cycle is replaced.
  switch (state.State) {
    case cbUnchecked: state.State = cbChecked; break;
    case cbChecked: state.State = FAllowGrayed ? cbGrayed : cbUnchecked; break;
    case cbGrayed: state.State = cbUnchecked; break;
  }
  if (QListWidget* list = ListWidget()) WidgetItemMade(Index, list->item(Index));
  if (OnClickCheck) OnClickCheck(this);
}

void TCheckListBox::Dispatch(TMessage& Message) {
  if (Message.Msg == CN_COMMAND && CommandCode(Message) == CheckClicked) {
    UserToggled(Integer(Message.LParam));
    return;
  }
  TCustomListBox::Dispatch(Message);
}
