// The column collection: the channel through which a column's changes reach the grid.
#include "dbgrid/DBGridX.h"

TDBGridColumnsX::TDBGridColumnsX(TCustomDBGridX* Grid, TCollectionItemClass ItemClass)
    : TCollection(std::move(ItemClass)), FGrid(Grid) {}

TPersistent* TDBGridColumnsX::GetOwner() const { return FGrid; }

TColumnX* TDBGridColumnsX::Add() {
  auto* column = static_cast<TColumnX*>(TCollection::Add());
  column->SetStored(true);
  return column;
}

TColumnX* TDBGridColumnsX::AddDefault() {
  TColumnX* column = Add();
  column->SetStored(false);
  return column;
}

void TDBGridColumnsX::Assign(TPersistent* Source) {
  if (!FGrid) {
    TCollection::Assign(Source);
    return;
  }
  FGrid->LockLayout();
  try {
    TCollection::Assign(Source);
    // Copies keep the source's default or stored state.
    if (auto* source = dynamic_cast<TDBGridColumnsX*>(Source))
      for (Integer i = 0; i < Count() && i < source->Count(); ++i) Items(i)->SetStored(source->Items(i)->Stored());
  } catch (...) {
    FGrid->UnlockLayout();
    throw;
  }
  FGrid->UnlockLayout();
}

void TDBGridColumnsX::ClearFieldCaches() {
  for (Integer i = 0; i < Count(); ++i) Items(i)->ClearFieldCache();
}

TColumnX* TDBGridColumnsX::FindColumnByName(const String& Name) const {
  for (Integer i = 0; i < Count(); ++i)
    if (Items(i)->ComponentName() == Name) return Items(i);
  return nullptr;
}

void TDBGridColumnsX::BeginUpdate() {
  ++FBeginUpdateCalls;
  TCollection::BeginUpdate();
}

void TDBGridColumnsX::EndUpdate() { TCollection::EndUpdate(); }

void TDBGridColumnsX::Update(TCollectionItem* Item) {
  if (!FGrid || FGrid->ComponentState().Contains(csLoading) || FGrid->FDestroying) return;
  auto* column = static_cast<TColumnX*>(Item);
  if (column && !column->Title()) return;  // still being made
  if (!column) {
    FGrid->RebuildSortMarkedColumns();
    FGrid->RequestLayout();
  } else {
    const Integer gridCol = FGrid->ColumnIndexToGridCol(column->Index());
    if (gridCol < FGrid->ColCount()) {
      FGrid->InvalidateColumnArea(gridCol);
      const bool designing = FGrid->ComponentState().Contains(csDesigning);
      if (!FGrid->AutoFitColWidths() || designing) {
        const Integer shown = column->GridWidth();
        if (shown != FGrid->ColWidths(gridCol) && !FGrid->RowPanel()->Active()) {
          const Integer width = column->Visible() ? column->Width()
                                                  : (FGrid->Options().Contains(dgColLines) ? -1 : 0);
          FGrid->SetColWidths(gridCol, FGrid->WidthToGrid(column, width));
        } else if (FGrid->UseMultiTitle()) {
          FGrid->RequestLayout();
        }
      } else {
        const Integer screen = FGrid->ColWidths(gridCol);
        if (screen != -1) {
          const Integer base = FGrid->WidthFromGrid(column, screen);
          const Integer oldShare = column->AutoFitShare();
          // A zero base leaves the share as it is.
          if (base != 0) column->SetAutoFitShare(MulDiv(oldShare, column->Width(), base));
          if (gridCol < FGrid->ColCount() - 1 && column->Index() + 1 < Count()) {
            TColumnX* next = Items(column->Index() + 1);
            next->SetAutoFitShare(std::max<Integer>(0, next->AutoFitShare() + oldShare - column->AutoFitShare()));
          }
        }
        FGrid->RequestLayout();
      }
    }
  }
  const Integer selected = FGrid->SelectedIndex();
  TColumnX* current = selected >= 0 && selected < Count() ? Items(selected) : nullptr;
  if ((selected >= Count() || (FGrid->VisibleColumns()->Count() > 0 && current && !current->Visible())) &&
      FGrid->VisibleColumns()->Count() > 0)
    FGrid->SetSelectedIndex(FGrid->VisibleColumns()->Items(0)->Index());
  if (FGrid->LayoutLock() == 0) FGrid->ReloadEditor();
}

Integer TColumnsXList::IndexOf(const TColumnX* Column) const {
  for (size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i] == Column) return Integer(i);
  return -1;
}

void TColumnsXList::Remove(const TColumnX* Column) {
  const Integer index = IndexOf(Column);
  if (index >= 0) FItems.erase(FItems.begin() + index);
}
