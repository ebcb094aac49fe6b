// Moving between the columns of a row panel: along a line, up and down through the columns
// that overlap, and the Tab order in either priority.
#include "dbgrid/DBGridX.h"

bool TColumnX::CanTabTo() const {
  TCustomDBGridX* grid = Grid();
  TField* field = Field();
  return Visible() && !ReadOnly() && grid && grid->GridDataLink()->Active() && field && !field->Calculated() &&
         TCustomDBGridX::FieldCanModifyX(field);
}

namespace {
struct TPanelPlace {
  Integer Left, Top, Width, Height;
  Integer Right() const { return Left + Width; }
};

TPanelPlace PlaceOf(const TDBGridColumnsX* Columns, const TColumnX* Column) {
  const TRowPanelRectX& r = Columns->Grid()->RowPanelRect(Column->Index());
  return {r.Left, r.Top, r.Width, r.Height};
}

bool PanelLeftToRight(const TDBGridColumnsX* Columns) {
  TGridRowPanelX* panel = Columns->Grid()->RowPanel();
  return panel->Active() && panel->TabNavigationType() == rpntLeftToRightPriorityX;
}
}  // namespace

TColumnX* TDBGridColumnsX::NextInLine(TColumnX* Column, bool Forward, bool OnlyEditable, bool Wrap) const {
  const TPanelPlace from = PlaceOf(this, Column);
  auto candidate = [&](TColumnX* Other) {
    return Other != Column && Other->Visible() && (!OnlyEditable || Other->CanTabTo());
  };
  TColumnX* found = nullptr;
  for (Integer i = 0; i < Count(); ++i) {
    TColumnX* other = Items(i);
    if (!candidate(other)) continue;
    const TPanelPlace at = PlaceOf(this, other);
    if (at.Top != from.Top) continue;
    if (Forward && at.Right() > from.Right() && (!found || at.Left < PlaceOf(this, found).Left)) found = other;
    if (!Forward && at.Left < from.Left && (!found || at.Left > PlaceOf(this, found).Left)) found = other;
  }
  if (found || !Wrap) return found ? found : Column;
  for (Integer i = 0; i < Count(); ++i) {
    TColumnX* other = Items(i);
    if (!candidate(other)) continue;
    const TPanelPlace at = PlaceOf(this, other);
    if (Forward && at.Top > from.Top) {
      if (!found) found = other;
      else if (const TPanelPlace best = PlaceOf(this, found); at.Top <= best.Top && at.Left <= best.Left) found = other;
    }
    if (!Forward && at.Top < from.Top) {
      if (!found) found = other;
      else if (const TPanelPlace best = PlaceOf(this, found); at.Top >= best.Top && at.Left >= best.Left) found = other;
    }
  }
  return found ? found : Column;
}

TColumnX* TDBGridColumnsX::NextVertical(TColumnX* Column, bool Down) const {
  const TPanelPlace from = PlaceOf(this, Column);
  const TPanelPlace reference = PlaceOf(this, FVertMoveAnchor ? FVertMoveAnchor : Column);
  auto overlaps = [&](const TPanelPlace& At) {
    const Integer a1 = reference.Left, a2 = reference.Right(), b1 = At.Left, b2 = At.Right();
    return (b1 >= a1 && b1 <= a2) || (a1 >= b1 && a1 <= b2);
  };
  TColumnX* found = nullptr;
  TPanelPlace best{};
  for (Integer i = 0; i < Count(); ++i) {
    TColumnX* other = Items(i);
    if (other == Column || !other->Visible()) continue;
    const TPanelPlace at = PlaceOf(this, other);
    if (!overlaps(at)) continue;
    const bool beyond = Down ? at.Top > from.Top + from.Height : at.Top < from.Top;
    if (!beyond) continue;
    const bool better = !found || (Down ? at.Top < best.Top : at.Top > best.Top) || (at.Top == best.Top && at.Left < best.Left);
    if (better) {
      found = other;
      best = at;
    }
  }
  return found ? found : Column;
}

TColumnX* TDBGridColumnsX::TopmostVertical(TColumnX* Column) const {
  for (TColumnX* next = NextVertical(Column, false); next != Column; next = NextVertical(Column, false)) Column = next;
  return Column;
}

TColumnX* TDBGridColumnsX::BottommostVertical(TColumnX* Column) const {
  for (TColumnX* next = NextVertical(Column, true); next != Column; next = NextVertical(Column, true)) Column = next;
  return Column;
}

TColumnX* TDBGridColumnsX::NextTabColumn(TColumnX* Column, bool Forward) const {
  if (PanelLeftToRight(this)) return NextInLine(Column, Forward, true, true);
  const Integer step = Forward ? 1 : -1;
  for (Integer i = Column->Index() + step; i >= 0 && i < Count(); i += step)
    if (Items(i)->CanTabTo()) return Items(i);
  return Column;
}

TColumnX* TDBGridColumnsX::FirstTabColumn() const {
  for (Integer i = 0; i < Count(); ++i)
    if (Items(i)->CanTabTo()) return Items(i);
  return nullptr;
}

TColumnX* TDBGridColumnsX::LastTabColumn() const {
  TColumnX* found = nullptr;
  const bool byPlace = PanelLeftToRight(this);
  for (Integer i = 0; i < Count(); ++i) {
    TColumnX* column = Items(i);
    if (!column->CanTabTo()) continue;
    if (!byPlace || !found) {
      found = column;
      continue;
    }
    const TPanelPlace at = PlaceOf(this, column), best = PlaceOf(this, found);
    if (at.Top > best.Top || (at.Top == best.Top && at.Left > best.Left)) found = column;
  }
  return found;
}
