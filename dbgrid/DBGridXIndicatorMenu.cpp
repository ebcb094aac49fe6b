// The indicator title's menu: the shared menu of every grid with the visible columns and the
// edit commands the centre chooses, followed by copies of the grid's own drop-down menu; and
// a column's own menu on a right click in its cells.
#include "dbgrid/DBGridX.h"
#include "dbgrid/DBGridXCenter.h"
#include "dbgrid/DBGridXGlobals.h"
#include "dbgrid/DBGridXOutputHooks.h"
#include "platform/ui/Forms.h"

namespace {
constexpr Integer VisibleColumnsEntry = 0;
const char* const EditEntryCaptions[] = {"剪切", "拷贝", "粘贴", "删除", "全选"};
constexpr TDBGridXEditAction EditEntryActions[] = {geaCutX, geaCopyX, geaPasteX, geaDeleteX, geaSelectAllX};

bool EditActionPossible(TCustomDBGridX* Grid, Integer Action) {
  switch (Action) {
    case TDBGridXMenuItem::CutAction: return Grid->CanCut();
    case TDBGridXMenuItem::CopyAction: return Grid->CanCopy();
    case TDBGridXMenuItem::PasteAction: return Grid->CanPaste();
    case TDBGridXMenuItem::DeleteAction: return Grid->CanDelete();
    default: return Grid->CanSelectAll();
  }
}

TPopupMenu* SharedIndicatorMenu() {
  TDBGridXGlobals& g = DBGridXGlobals();
  if (!g.IndicatorMenu) {
    g.IndicatorMenu = std::make_unique<TPopupMenu>(nullptr);
    g.IndicatorMenu->SetName(QStringLiteral("DBGridXIndicatorTitlePopupMenu"));
  }
  return g.IndicatorMenu.get();
}

// The shared entry Index, made on first use: 0 the visible columns, 1 to 5 the edit commands.
TDBGridXMenuItem* SharedEntry(Integer Index) {
  std::unique_ptr<TDBGridXMenuItem>& entry = DBGridXGlobals().IndicatorMenuEntries[size_t(Index)];
  if (!entry) {
    entry = std::make_unique<TDBGridXMenuItem>(nullptr);
    entry->SetCaption(Index == VisibleColumnsEntry ? QStringLiteral("Visible columns")
                                                   : QString::fromUtf8(EditEntryCaptions[Index - 1]));
    entry->Action = Index;
  }
  return entry.get();
}
}  // namespace

void TDBGridXMenuItem::Click() {
  TMenuItem::Click();
  if (Action != 0 && Grid) Grid->RunEditAction(Action);
}

void TColumnXMenuItem::Click() {
  TMenuItem::Click();
  if (Column) Column->Grid()->ToggleColumnVisible(Column);
}

void TDBGridXCenter::BuildIndicatorMenu(TCustomDBGridX* Grid, TPopupMenu*& PopupMenu) {
  if (BuildIndicatorMenuHandler) BuildIndicatorMenuHandler(Grid, PopupMenu);
  else DefaultBuildIndicatorMenu(Grid, PopupMenu);
}

void TDBGridXCenter::DefaultBuildIndicatorMenu(TCustomDBGridX* Grid, TPopupMenu*& PopupMenu) {
  TPopupMenu* menu = SharedIndicatorMenu();
  // The shared entries are only taken off; what the menu owns goes.
  while (menu->Items()->Count() > 0) {
    TMenuItem* item = menu->Items()->Items(0);
    if (item->Owner() == menu) delete item;
    else menu->Items()->Remove(item);
  }
  PopupMenu = menu;
  if (Grid->IndicatorTitle()->UseGlobalMenu()) {
    if (IndicatorMenuItems & (1 << VisibleColumnsEntry)) {
      TDBGridXMenuItem* columns = SharedEntry(VisibleColumnsEntry);
      columns->Grid = Grid;
      columns->Clear();
      for (Integer i = 0; i < Grid->Columns()->Count(); ++i) {
        TColumnX* column = Grid->Columns()->Items(i);
        if (column->Title()->Caption().isEmpty()) continue;
        auto* item = new TColumnXMenuItem(menu);
        item->SetCaption(column->Title()->Caption());
        item->SetChecked(column->Visible());
        item->Column = column;
        columns->Add(item);
      }
      menu->Items()->Add(columns);
    }
    for (Integer action = TDBGridXMenuItem::CutAction; action <= TDBGridXMenuItem::SelectAllAction; ++action) {
      if (!(IndicatorMenuItems & (1 << action))) continue;
      TDBGridXMenuItem* entry = SharedEntry(action);
      entry->Grid = Grid;
      entry->SetEnabled(EditActionPossible(Grid, action) &&
                        Grid->EditActions().Contains(EditEntryActions[action - 1]));
      menu->Items()->Add(entry);
    }
  }
  TPopupMenu* own = Grid->IndicatorTitle()->DropdownMenu();
  if (!own) return;
  if (menu->Items()->Count() > 0) {
    auto* line = new TMenuItem(menu);
    line->SetCaption(QStringLiteral("-"));
    menu->Items()->Add(line);
  }
  for (Integer i = 0; i < own->Items()->Count(); ++i) {
    TMenuItem* source = own->Items()->Items(i);
    auto* copy = new TMenuItem(menu);
    copy->SetAction(source->Action());
    copy->SetAutoCheck(source->AutoCheck());
    copy->SetCaption(source->Caption());
    copy->SetChecked(source->Checked());
    copy->SetDefault(source->Default());
    copy->SetEnabled(source->Enabled());
    copy->SetGroupIndex(source->GroupIndex());
    copy->SetHint(source->Hint());
    copy->SetImageIndex(source->ImageIndex());
    copy->SetRadioItem(source->RadioItem());
    copy->SetShortCut(source->ShortCut());
    copy->SetVisible(source->Visible());
    copy->OnClick = source->OnClick;
    menu->Items()->Add(copy);
  }
}

// ---- the grid's side

void TCustomDBGridX::BuildIndicatorMenu(TPopupMenu*& Menu) {
  if (OnBuildIndicatorTitleMenu) OnBuildIndicatorTitleMenu(this, Menu);
  else DefaultBuildIndicatorMenu(Menu);
}

void TCustomDBGridX::DefaultBuildIndicatorMenu(TPopupMenu*& Menu) {
  if (FCenter) FCenter->BuildIndicatorMenu(this, Menu);
}

// The last visible column stays.
void TCustomDBGridX::ToggleColumnVisible(TColumnX* Column) {
  if (Column->Visible() && FVisibleColumns.Count() <= 1) return;
  Column->SetVisible(!Column->Visible());
}

void TCustomDBGridX::RunEditAction(Integer Action) {
  switch (Action) {
    case TDBGridXMenuItem::CutAction: RunGridOutputHook(goaCutX, this, false); break;
    case TDBGridXMenuItem::CopyAction: RunGridOutputHook(goaCopyX, this, false); break;
    case TDBGridXMenuItem::PasteAction: RunGridOutputHook(goaPasteX, this, false); break;
    case TDBGridXMenuItem::DeleteAction: RunGridOutputHook(goaDeleteSelectionX, this, false); break;
    case TDBGridXMenuItem::SelectAllAction: FSelection->SelectAllCells(); break;
    default: break;
  }
}

// With a title button the indicator title is pressed and drops its menu under itself; a
// title button without a menu stays pressed while the mouse is held. Without one, a
// multi-selecting grid selects every record, and clears again.
void TCustomDBGridX::IndicatorTitleClick() {
  if (FIndicatorTitle->TitleButton()) {
    FIndicatorTitlePressed = true;
    InvalidateCellArea(0, 0);
    TPopupMenu* menu = nullptr;
    BuildIndicatorMenu(menu);
    const TRect cell = CellRect(0, 0);
    const TPoint at = ClientToScreen(TPoint(cell.Left, cell.Bottom));
    if (menu && menu->Items()->Count() > 0) {
      menu->SetPopupComponent(this);
      menu->Popup(at.X, at.Y);
      if (!menu->Owner() && menu != DBGridXGlobals().IndicatorMenu.get()) delete menu;
      FIndicatorTitlePressed = false;
      InvalidateCellArea(0, 0);
    } else if (MouseCapture()) {
      FGridMouseState = gmsIndicatorTitlePressed;
      FMouseTracking = true;
    }
    return;
  }
  if (!FOptions.Contains(dgMultiSelect) || !FDataLink->Active() || !FAllowedSelections.Contains(gstAll)) return;
  if (FSelection->SelectionKind() == gstNon) FSelection->SelectAllCells();
  else ClearSelection();
}

void TCustomDBGridX::IndicatorTitleMouseDown(TGridCoord Cell, TMouseButton Button, TShiftState Shift, Integer X,
                                             Integer Y) {
  if (OnIndicatorTitleMouseDown) OnIndicatorTitleMouseDown(this, Cell, Button, Shift, X, Y);
  else IndicatorTitleClick();
}

// A right click in a column's cells shows the column's own menu.
void TCustomDBGridX::DefaultHandler(TMessage& Message) {
  TCustomGridX::DefaultHandler(Message);
  if (Message.Msg != WM_RBUTTONUP) return;
  const TPoint p = LParamToPoint(Message.LParam);
  const TGridCoord cell = CellAtPoint(p.X, p.Y);
  const Integer index = GridColToColumnIndex(cell.X);
  if (cell.X < FIndicatorColCount || cell.Y < 0 || index >= FColumns->Count()) return;
  TPopupMenu* menu = FColumns->Items(index)->PopupMenu();
  if (!menu || !menu->AutoPopup()) return;
  Perform(WM_CANCELMODE);
  menu->SetPopupComponent(this);
  const TPoint screen = ClientToScreen(p);
  menu->Popup(screen.X, screen.Y);
  Message.Result = 1;
}
