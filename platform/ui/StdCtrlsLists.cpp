#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/WrappedWidget.h"
#include "platform/rtl/ScopeGuards.h"
#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QStyledItemDelegate>

// Paints the items of owner-drawn and virtual list boxes through the control.
class TListBoxDelegate : public QStyledItemDelegate {
public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* Painter, const QStyleOptionViewItem& Option, const QModelIndex& Index) const override {
    auto* list = WrappingControl<TCustomListBox>(qobject_cast<QWidget*>(parent()));
    if (!list) return;
    TOwnerDrawState state;
    if (Option.state & QStyle::State_Selected) state.Include(odSelected);
    if (Option.state & QStyle::State_HasFocus) state.Include(odFocused);
    if (!(Option.state & QStyle::State_Enabled)) state.Include(odDisabled);
    const QRect r = Option.rect;
    TControlCanvas* canvas = list->FCanvas.get();
    try {
      canvas->BeginPaint(Painter, TPoint(0, 0), QRegion(r));
      TScopeGuard endPaint([canvas] { canvas->EndPaint(); });
      list->DrawItem(Index.row(), TRect(r.left(), r.top(), r.right() + 1, r.bottom() + 1), state);
    } catch (...) {
      // Qt paints the item: no exception may cross back into its event loop.
      if (Application) Application->HandleException(list);
    }
  }
  QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override {
    auto* list = WrappingControl<TCustomListBox>(qobject_cast<QWidget*>(parent()));
    if (!list) return QStyledItemDelegate::sizeHint(Option, Index);
    Integer height = list->ItemHeight();
    if (list->Style() == lbOwnerDrawVariable && list->OnMeasureItem) list->OnMeasureItem(list, Index.row(), height);
    return QSize(Option.rect.width(), height);
  }
};

// ---- TCustomListBox

TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TWinControl(AOwner), FItems(std::make_unique<TStringList>()), FCanvas(std::make_unique<TControlCanvas>(this)) {
  SetBounds(0, 0, 121, 97);
  SetBorderStyle(bsSingle);
  FTabStop = true;
  FItems->OnChange = [this](TObject*) {
    if (FItemIndex >= FItems->Count()) FItemIndex = -1;
    FSelected.resize(size_t(FItems->Count()), false);
    if (HandleAllocated()) Rebuild();
  };
}

TCustomListBox::~TCustomListBox() { FItems->OnChange = nullptr; }

QListWidget* TCustomListBox::ListWidget() const {
  return HandleAllocated() ? qobject_cast<QListWidget*>(const_cast<TCustomListBox*>(this)->Handle()) : nullptr;
}

QWidget* TCustomListBox::CreateWidget(const TCreateParams&, QWidget* ParentWidget) {
  auto* list = new QListWidget(ParentWidget);
  list->setItemDelegate(new TListBoxDelegate(list));
  QObject::connect(list, &QListWidget::itemSelectionChanged, list, [list] {
    if (auto* control = WrappingControl<TCustomListBox>(list)) control->WidgetSelectionChanged();
  });
  QObject::connect(list, &QListWidget::itemDoubleClicked, list, [list] {
    if (auto* control = WrappingControl<TCustomListBox>(list)) SendCommandNotification(control, LBN_DBLCLK);
  });
  ApplyControlColors(list, this, QPalette::Base);
  return list;
}

void TCustomListBox::CreateHandle() {
  TWinControl::CreateHandle();
  Rebuild();
}

void TCustomListBox::Rebuild() {
  QListWidget* list = ListWidget();
  if (!list) return;
  FSyncing = true;
  list->clear();
  list->setSelectionMode(FMultiSelect ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
  // The standard style lets the widget draw its own items; the others draw through us.
  if (OwnerDraw()) list->setItemDelegate(new TListBoxDelegate(list));
  else list->setItemDelegate(new QStyledItemDelegate(list));
  const Integer count = Count();
  for (Integer i = 0; i < count; ++i) {
    list->addItem(Virtual() ? String() : FItems->Strings(i));
    WidgetItemMade(i, list->item(i));
  }
  for (Integer i = 0; i < count && i < Integer(FSelected.size()); ++i)
    if (FSelected[size_t(i)]) list->item(i)->setSelected(true);
  if (FItemIndex >= 0 && FItemIndex < count) list->setCurrentRow(FItemIndex, FMultiSelect ? QItemSelectionModel::Current : QItemSelectionModel::ClearAndSelect);
  FSyncing = false;
}

void TCustomListBox::WidgetSelectionChanged() {
  if (FSyncing) return;
  QListWidget* list = ListWidget();
  FItemIndex = list->currentRow();
  FSelected.assign(size_t(Count()), false);
  for (const QListWidgetItem* item : list->selectedItems()) FSelected[size_t(list->row(item))] = true;
  SendCommandNotification(this, LBN_SELCHANGE);
}

TStrings* TCustomListBox::Items() const { return FItems.get(); }

void TCustomListBox::SetItems(TStrings* Value) { FItems->Assign(Value); }

Integer TCustomListBox::Count() const { return Virtual() ? FVirtualCount : FItems->Count(); }

void TCustomListBox::SetCount(Integer Value) {
  if (!Virtual()) throw EInvalidOperation(QStringLiteral("只有虚拟列表可以设置项数"));
  FVirtualCount = std::max<Integer>(0, Value);
  FSelected.resize(size_t(FVirtualCount), false);
  if (FItemIndex >= FVirtualCount) FItemIndex = -1;
  Rebuild();
}

Integer TCustomListBox::ItemIndex() const { return FItemIndex; }

void TCustomListBox::SetItemIndex(Integer Value) {
  if (Value < -1 || Value >= Count()) Value = -1;
  FItemIndex = Value;
  if (!FMultiSelect) {
    FSelected.assign(size_t(Count()), false);
    if (Value >= 0) FSelected[size_t(Value)] = true;
  }
  if (QListWidget* list = ListWidget()) {
    FSyncing = true;
    if (Value < 0) list->clearSelection();
    list->setCurrentRow(Value, FMultiSelect ? QItemSelectionModel::Current : QItemSelectionModel::ClearAndSelect);
    FSyncing = false;
  }
}

void TCustomListBox::SetMultiSelect(bool Value) {
  FMultiSelect = Value;
  Rebuild();
}

bool TCustomListBox::Selected(Integer Index) const {
  if (Index < 0 || Index >= Count()) throw EListError(QStringLiteral("列表索引越界 (%1)").arg(Index));
  return Index < Integer(FSelected.size()) && FSelected[size_t(Index)];
}

void TCustomListBox::SetSelected(Integer Index, bool Value) {
  if (Index < 0 || Index >= Count()) throw EListError(QStringLiteral("列表索引越界 (%1)").arg(Index));
  if (!FMultiSelect) {
    SetItemIndex(Value ? Index : (FItemIndex == Index ? -1 : FItemIndex));
    return;
  }
  FSelected.resize(size_t(Count()), false);
  FSelected[size_t(Index)] = Value;
  if (QListWidget* list = ListWidget()) {
    FSyncing = true;
    list->item(Index)->setSelected(Value);
    FSyncing = false;
  }
}

Integer TCustomListBox::SelCount() const {
  if (!FMultiSelect) return -1;
  return Integer(std::count(FSelected.begin(), FSelected.end(), true));
}

void TCustomListBox::SetSorted(bool Value) {
  FSorted = Value;
  FItems->SetSorted(Value);
}

void TCustomListBox::SetStyle(TListBoxStyle Value) {
  FStyle = Value;
  if (FItemIndex >= Count()) FItemIndex = -1;
  Rebuild();
}

void TCustomListBox::SetItemHeight(Integer Value) {
  FItemHeight = std::max<Integer>(1, Value);
  if (QListWidget* list = ListWidget()) list->doItemsLayout();
}

Integer TCustomListBox::TopIndex() const {
  QListWidget* list = ListWidget();
  if (!list) return FTopIndex;
  const QModelIndex top = list->indexAt(QPoint(1, 1));
  return top.isValid() ? top.row() : 0;
}

void TCustomListBox::SetTopIndex(Integer Value) {
  FTopIndex = Value;
  if (QListWidget* list = ListWidget())
    if (QListWidgetItem* item = list->item(Value)) list->scrollToItem(item, QAbstractItemView::PositionAtTop);
}

TRect TCustomListBox::ItemRect(Integer Index) const {
  QListWidget* list = ListWidget();
  if (list && Index >= 0 && Index < list->count()) {
    const QRect r = list->visualItemRect(list->item(Index));
    return TRect(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
  }
  const Integer top = (Index - FTopIndex) * FItemHeight;
  return TRect(0, top, ClientWidth(), top + FItemHeight);
}

Integer TCustomListBox::ItemAtPos(TPoint P, bool Existing) const {
  if (QListWidget* list = ListWidget()) {
    const QModelIndex index = list->indexAt(QPoint(P.X, P.Y));
    if (index.isValid()) return index.row();
    return Existing ? -1 : Count();
  }
  const Integer row = FTopIndex + P.Y / FItemHeight;
  if (P.Y >= 0 && row < Count()) return row;
  return Existing ? -1 : Count();
}

void TCustomListBox::Clear() {
  if (Virtual()) SetCount(0);
  else FItems->Clear();
}

String TCustomListBox::ItemText(Integer Index) const {
  if (!Virtual()) return FItems->Strings(Index);
  String data;
  if (OnData) OnData(const_cast<TCustomListBox*>(this), Index, data);
  return data;
}

void TCustomListBox::DrawItem(Integer Index, const TRect& Rect, TOwnerDrawState State) {
  if (OnDrawItem && FStyle != lbVirtual) {
    OnDrawItem(this, Index, Rect, State);
    return;
  }
  TCanvas* canvas = Canvas();
  canvas->SetFont(Font());
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(State.Contains(odSelected) ? clHighlight : Color());
  if (State.Contains(odSelected)) canvas->Font()->SetColor(clHighlightText);
  canvas->FillRect(Rect);
  TRect text = Rect;
  text.Left += 2;
  DrawText(canvas, ItemText(Index), text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void TCustomListBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND:
      if (CommandCode(Message) == LBN_SELCHANGE) Click();
      else if (CommandCode(Message) == LBN_DBLCLK) DblClick();
      return;
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; return;
    default:
      if (!DispatchColorChange(this, Message, QPalette::Base)) TWinControl::Dispatch(Message);
  }
}

// ---- TCustomComboBox

namespace {

// Tells the control when the list opens and closes.
class TComboWidget : public QComboBox {
public:
  using QComboBox::QComboBox;
  void showPopup() override {
    if (auto* control = WrappingControl<TWinControl>(this)) SendCommandNotification(control, CBN_DROPDOWN);
    QComboBox::showPopup();
  }
  void hidePopup() override {
    QComboBox::hidePopup();
    if (auto* control = WrappingControl<TWinControl>(this)) SendCommandNotification(control, CBN_CLOSEUP);
  }
};

}  // namespace

TCustomComboBox::TCustomComboBox(TComponent* AOwner) : TWinControl(AOwner), FItems(std::make_unique<TStringList>()) {
  SetBounds(0, 0, 145, 21);
  FTabStop = true;
  FItems->OnChange = [this](TObject*) {
    if (FItemIndex >= FItems->Count()) FItemIndex = -1;
    if (HandleAllocated()) Rebuild();
  };
}

TCustomComboBox::~TCustomComboBox() { FItems->OnChange = nullptr; }

QComboBox* TCustomComboBox::ComboWidget() const {
  return HandleAllocated() ? qobject_cast<QComboBox*>(const_cast<TCustomComboBox*>(this)->Handle()) : nullptr;
}

QWidget* TCustomComboBox::CreateWidget(const TCreateParams&, QWidget* ParentWidget) {
  auto* combo = new TComboWidget(ParentWidget);
  combo->setInsertPolicy(QComboBox::NoInsert);
  QObject::connect(combo, qOverload<int>(&QComboBox::activated), combo, [combo](int Index) {
    if (auto* control = WrappingControl<TCustomComboBox>(combo)) control->WidgetIndexChanged(Index);
  });
  ApplyControlColors(combo, this, QPalette::Base);
  return combo;
}

void TCustomComboBox::CreateHandle() {
  TWinControl::CreateHandle();
  Rebuild();
}

void TCustomComboBox::Rebuild() {
  QComboBox* combo = ComboWidget();
  if (!combo) return;
  FSyncing = true;
  const bool editable = FStyle == csDropDown || FStyle == csSimple;
  if (combo->isEditable() != editable) {
    combo->setEditable(editable);
    if (QLineEdit* edit = combo->lineEdit()) {
      ForwardKeys(edit, combo);
      QObject::connect(edit, &QLineEdit::textEdited, combo, [combo](const QString& Value) {
        if (auto* control = WrappingControl<TCustomComboBox>(combo)) control->WidgetTextEdited(Value);
      });
    }
  }
  combo->clear();
  QStringList texts;
  texts.reserve(FItems->Count());
  for (Integer i = 0; i < FItems->Count(); ++i) texts.append(FItems->Strings(i));
  combo->addItems(texts);
  combo->setMaxVisibleItems(FDropDownCount);
  combo->setCurrentIndex(FItemIndex);
  if (QLineEdit* edit = combo->lineEdit()) {
    edit->setMaxLength(FMaxLength > 0 ? FMaxLength : 32767);
    edit->setText(Text());
  }
  FSyncing = false;
}

void TCustomComboBox::WidgetIndexChanged(int Index) {
  if (FSyncing) return;
  FItemIndex = Index;
  FSyncing = true;
  TWinControl::SetText(Index >= 0 ? FItems->Strings(Index) : String());
  FSyncing = false;
  SendCommandNotification(this, CBN_SELCHANGE);
}

void TCustomComboBox::WidgetTextEdited(const String& Value) {
  if (FSyncing) return;
  FItemIndex = -1;
  FSyncing = true;
  TWinControl::SetText(Value);
  FSyncing = false;
  SendCommandNotification(this, CBN_EDITCHANGE);
}

TStrings* TCustomComboBox::Items() const { return FItems.get(); }

void TCustomComboBox::SetItems(TStrings* Value) { FItems->Assign(Value); }

void TCustomComboBox::SetItemIndex(Integer Value) {
  if (Value < -1 || Value >= FItems->Count()) Value = -1;
  FItemIndex = Value;
  TWinControl::SetText(Value >= 0 ? FItems->Strings(Value) : String());
  if (QComboBox* combo = ComboWidget()) {
    FSyncing = true;
    combo->setCurrentIndex(Value);
    if (QLineEdit* edit = combo->lineEdit()) edit->setText(Text());
    FSyncing = false;
  }
}

void TCustomComboBox::SetText(const String& Value) {
  const Integer index = FItems->IndexOf(Value);
  if (FStyle == csDropDownList) {
    SetItemIndex(index);
    return;
  }
  FItemIndex = index;
  TWinControl::SetText(Value);
  if (QComboBox* combo = ComboWidget()) {
    FSyncing = true;
    combo->setCurrentIndex(index);
    if (QLineEdit* edit = combo->lineEdit()) edit->setText(Value);
    FSyncing = false;
  }
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value) {
  FStyle = Value;
  if (Value == csDropDownList) SetItemIndex(FItems->IndexOf(Text()));
  Rebuild();
}

void TCustomComboBox::SetDropDownCount(Integer Value) {
  FDropDownCount = Value;
  if (QComboBox* combo = ComboWidget()) combo->setMaxVisibleItems(Value);
}

void TCustomComboBox::SetSorted(bool Value) {
  FSorted = Value;
  FItems->SetSorted(Value);
}

void TCustomComboBox::SetMaxLength(Integer Value) {
  FMaxLength = Value;
  Rebuild();
}

bool TCustomComboBox::DroppedDown() const {
  QComboBox* combo = ComboWidget();
  return combo && combo->view()->isVisible();
}

void TCustomComboBox::SetDroppedDown(bool Value) {
  QComboBox* combo = ComboWidget();
  if (!combo) return;
  if (Value) combo->showPopup();
  else combo->hidePopup();
}

void TCustomComboBox::Clear() {
  FItems->Clear();
  SetItemIndex(-1);
}

void TCustomComboBox::Change() {
  if (OnChange) OnChange(this);
}

void TCustomComboBox::Select() {
  if (OnSelect) OnSelect(this);
  else Change();
}

void TCustomComboBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND:
      switch (CommandCode(Message)) {
        case CBN_SELCHANGE:
          Click();
          Select();
          break;
        case CBN_EDITCHANGE: Change(); break;
        case CBN_DROPDOWN:
          if (OnDropDown) OnDropDown(this);
          break;
        case CBN_CLOSEUP:
          if (OnCloseUp) OnCloseUp(this);
          break;
        default: break;
      }
      return;
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; return;
    default:
      if (!DispatchColorChange(this, Message, QPalette::Base)) TWinControl::Dispatch(Message);
  }
}
