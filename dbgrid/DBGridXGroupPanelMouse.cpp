// The mouse over the group panel: a level's box is pressed to flip its sort order or dragged
// to another place (or back onto the titles, which ungroups it), and a title dragged onto the
// panel groups by its column; an arrow shows where a dragged box or title would land.
#include "dbgrid/DBGridX.h"

namespace {
bool InsideBox(const TRect& Box, Integer X, Integer Y) {
  return X > Box.Left && X < Box.Right - 1 && Y > Box.Top && Y < Box.Bottom - 1;
}
}  // namespace

bool TCustomDBGridX::OverGroupPanel(Integer Y) const { return FDataGrouping->GroupPanelVisible() && Y >= 0 && Y < GroupPanelHeight(); }

Integer TCustomDBGridX::GroupPanelBoxAt(Integer X, Integer Y) const {
  const std::vector<TRect> boxes = LayoutGroupPanelBoxes();
  for (Integer i = 0; i < Integer(boxes.size()); ++i)
    if (InsideBox(boxes[size_t(i)], X, Y)) return i;
  return -1;
}

bool TCustomDBGridX::GroupBoxFilterButton(const TRect& Box, TRect& Button) const {
  if (!FSTFilter->Visible() || FSTFilter->Location() != stflInTitleFilterX) return false;
  TRect inside = Box;
  InflateRect(inside, -1, -1);
  FilterButtonHit(TPoint(-1, -1), inside, Button);
  return true;
}

void TCustomDBGridX::UpdateGroupPanelHot(Integer X, Integer Y) {
  Integer box = -1, button = -1;
  if (OverGroupPanel(Y) && !Designing()) {
    box = GroupPanelBoxAt(X, Y);
    TRect face;
    if (box >= 0 && GroupBoxFilterButton(LayoutGroupPanelBoxes().at(size_t(box)), face) && PtInRect(face, TPoint(X, Y)))
      button = box;
  }
  if (box == FDataGrouping->HotBoxIndex() && button == FDataGrouping->HotButtonIndex()) return;
  FDataGrouping->SetHotBoxIndex(box);
  FDataGrouping->SetHotButtonIndex(button);
  OutBoundaryData()->InvalidateBoundary(TGridOutBoundaryDataX::AreaTop);
}

bool TCustomDBGridX::HandleGroupPanelMouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (!OverGroupPanel(Y)) return false;
  if (Button != mbLeft || Shift.Contains(ssDouble)) return true;
  const Integer index = GroupPanelBoxAt(X, Y);
  if (index < 0) return true;
  TColumnX* column = FDataGrouping->ActiveLevels(index)->Column();
  const TRect box = LayoutGroupPanelBoxes().at(size_t(index));
  TRect filterButton;
  if (!Designing() && GroupBoxFilterButton(box, filterButton) && PtInRect(filterButton, TPoint(X, Y))) {
    // The box's filter button opens the column's filter list under the box, or closes it.
    if (FFilterListDropped && FFilterListColumn == column) {
      CloseFilterList(false);
    } else {
      if (FFilterListDropped) CloseFilterList(false);
      DropDownFilterList(column, box);
    }
    OutBoundaryData()->InvalidateBoundary(TGridOutBoundaryDataX::AreaTop);
    return true;
  }
  bool titleButton = column->Title()->TitleButton();
  if (OnCheckButton) OnCheckButton(this, column->Index(), column, titleButton);
  SetMouseCapture(true);
  if (!titleButton || Designing()) {
    FGroupPanelDragLevel = index;
    TrackGroupPanelDrop(X, Y);
  } else {
    FGroupPanelPressedLevel = index;
    FGroupPanelPressedShown = true;
    OutBoundaryData()->InvalidateBoundary(TGridOutBoundaryDataX::AreaTop);
  }
  return true;
}

void TCustomDBGridX::TrackGroupPanelDrop(Integer X, Integer Y) {
  Integer index = -1;
  if (OverGroupPanel(Y)) {
    const std::vector<TRect> boxes = LayoutGroupPanelBoxes();
    index = Integer(boxes.size());
    for (Integer i = 0; i < Integer(boxes.size()); ++i)
      if ((boxes[size_t(i)].Left + boxes[size_t(i)].Right) / 2 > X) {
        index = i;
        break;
      }
  }
  if (index == FGroupPanelDropIndex) return;
  FGroupPanelDropIndex = index;
  OutBoundaryData()->InvalidateBoundary(TGridOutBoundaryDataX::AreaTop);
}

void TCustomDBGridX::HideGroupPanelArrow() {
  if (FGroupPanelDropIndex < 0) return;
  FGroupPanelDropIndex = -1;
  OutBoundaryData()->InvalidateBoundary(TGridOutBoundaryDataX::AreaTop);
}

bool TCustomDBGridX::GroupPanelMouseMove(Integer X, Integer Y) {
  if (FGroupPanelDragLevel >= 0) return TrackTitleDragOverGroupPanel(X, Y);
  if (FGroupPanelPressedLevel >= 0) {
    const bool pressed = GroupPanelBoxAt(X, Y) == FGroupPanelPressedLevel;
    if (pressed != FGroupPanelPressedShown) {
      FGroupPanelPressedShown = pressed;
      OutBoundaryData()->InvalidateBoundary(TGridOutBoundaryDataX::AreaTop);
    }
    return true;
  }
  // A title being moved shows where it would join the grouping levels.
  if (GridState() == msColMoving && FDataGrouping->GroupPanelVisible()) TrackTitleDragOverGroupPanel(X, Y);
  return false;
}

bool TCustomDBGridX::TrackTitleDragOverGroupPanel(Integer X, Integer Y) {
  // Below the panel a dragged box goes on as a column move among the titles.
  if (FGroupPanelDragLevel >= 0 && Y >= GroupPanelHeight() && LeaveGroupPanelAsColumnMove(X, Y)) return true;
  TrackGroupPanelDrop(X, Y);
  return true;
}

bool TCustomDBGridX::GroupPanelMouseUp(Integer X, Integer Y) {
  if (FGroupPanelDragLevel >= 0) {
    const Integer from = std::exchange(FGroupPanelDragLevel, -1);
    const Integer to = FGroupPanelDropIndex;
    HideGroupPanelArrow();
    SetMouseCapture(false);
    FinishGroupPanelDrop(from, to, Y);
    return true;
  }
  if (FGroupPanelPressedLevel >= 0) {
    const Integer pressed = std::exchange(FGroupPanelPressedLevel, -1);
    FGroupPanelPressedShown = false;
    SetMouseCapture(false);
    OutBoundaryData()->InvalidateBoundary(TGridOutBoundaryDataX::AreaTop);
    if (GroupPanelBoxAt(X, Y) == pressed) ToggleGroupLevelSort(pressed);
    return true;
  }
  // A title moved onto the panel becomes a grouping level instead of moving; the release
  // then ends as that of an abandoned column move.
  if (GridState() == msColMoving && FDragGroupLevel >= 0) {
    if (!OverGroupPanel(Y)) return false;
    TCustomGridX::StopMouseTracking();
    FinishGroupLevelColumnMove(Y);
    return false;
  }
  if (GridState() == msColMoving && OverGroupPanel(Y)) {
    const Integer dataCol = GridColToColumnIndex(MoveIndex());
    const Integer to = std::max<Integer>(FGroupPanelDropIndex, 0);
    HideGroupPanelArrow();
    TCustomGridX::StopMouseTracking();
    if (dataCol >= 0 && dataCol < FColumns->Count()) GroupByColumn(FColumns->Items(dataCol), GroupLevelIndexOfActive(to));
    return false;
  }
  HideGroupPanelArrow();
  return false;
}

bool TCustomDBGridX::GroupPanelDragging() const { return FGroupPanelDragLevel >= 0 || FGroupPanelPressedLevel >= 0; }

void TCustomDBGridX::EndGroupPanelDrag() {
  if (!GroupPanelDragging() && FGroupPanelDropIndex < 0) return;
  FGroupPanelDragLevel = -1;
  FGroupPanelPressedLevel = -1;
  FGroupPanelPressedShown = false;
  FGroupPanelDropIndex = -1;
  OutBoundaryData()->InvalidateBoundary(TGridOutBoundaryDataX::AreaTop);
  SetMouseCapture(false);
}

bool TCustomDBGridX::LeaveGroupPanelAsColumnMove(Integer X, Integer Y) {
  if (FGroupPanelDragLevel >= FDataGrouping->ActiveLevelCount()) return false;
  TGridDataGroupLevelX* level = FDataGrouping->ActiveLevels(FGroupPanelDragLevel);
  TColumnX* column = level->Column();
  if (!column || (!FRowPanel->Active() && !FOptions.Contains(dgTitles))) return false;
  const TRect box = LayoutGroupPanelBoxes().at(size_t(FGroupPanelDragLevel));
  HideGroupPanelArrow();
  FGroupPanelDragLevel = -1;
  FDragGroupLevel = level->Index();
  FTitleDragMoved = true;
  if (FRowPanel->Active()) {
    StartTitleDrag(box, column->Index());
    TrackTitleDrag(TShiftState(), X, Y);
    return true;
  }
  TGridDrawInfoX di;
  FillDrawInfo(di);
  StartColumnMove(ColumnIndexToGridCol(column->Index()), X, Y, di);
  if (GridState() == msColMoving) return true;
  FGroupPanelDragLevel = FDataGrouping->ActiveLevelCount() - 1;
  while (FGroupPanelDragLevel >= 0 && FDataGrouping->ActiveLevels(FGroupPanelDragLevel) != level) --FGroupPanelDragLevel;
  FDragGroupLevel = -1;
  FTitleDragMoved = false;
  return false;
}

void TCustomDBGridX::FinishGroupLevelColumnMove(Integer Y) {
  const Integer levelIndex = std::exchange(FDragGroupLevel, -1);
  TGridDataGroupLevelsX* levels = FDataGrouping->GroupLevels();
  if (levelIndex < 0 || levelIndex >= levels->Count()) return;
  const Integer to = FGroupPanelDropIndex;
  HideGroupPanelArrow();
  if (!OverGroupPanel(Y)) {
    UngroupLevel(levelIndex);
    return;
  }
  TGridDataGroupLevelX* level = levels->Items(levelIndex);
  Integer from = FDataGrouping->ActiveLevelCount() - 1;
  while (from >= 0 && FDataGrouping->ActiveLevels(from) != level) --from;
  FinishGroupPanelDrop(from, to, Y);
}

Integer TCustomDBGridX::GroupLevelIndexOfActive(Integer ActiveIndex) const {
  if (ActiveIndex >= 0 && ActiveIndex < FDataGrouping->ActiveLevelCount())
    return FDataGrouping->ActiveLevels(ActiveIndex)->Index();
  return FDataGrouping->GroupLevels()->Count();
}

void TCustomDBGridX::FinishGroupPanelDrop(Integer From, Integer To, Integer Y) {
  if (From < 0 || From >= FDataGrouping->ActiveLevelCount()) return;
  TGridDataGroupLevelX* level = FDataGrouping->ActiveLevels(From);
  if (!OverGroupPanel(Y)) {
    // A box dropped back onto the titles gives its column back.
    if (Y >= GroupPanelHeight() && Y < GroupPanelHeight() + (TitlesShown() ? RowHeights(0) : 0) + GridLineWidth())
      UngroupLevel(level->Index());
    return;
  }
  if (To < 0 || To == From || To == From + 1) return;
  const Integer target = GroupLevelIndexOfActive(To);
  FDataGrouping->MoveGroupLevel(level->Index(), target > level->Index() ? target - 1 : target);
}

void TCustomDBGridX::ToggleGroupLevelSort(Integer ActiveIndex) {
  TGridDataGroupLevelX* level = FDataGrouping->ActiveLevels(ActiveIndex);
  TColumnX* column = level->Column();
  if (OnTitleBtnClick && column) OnTitleBtnClick(this, column->Index(), column);
  level->SetSortOrder(level->SortOrder() == soAscX ? soDescX : soAscX);
  if (FCurrentGroupNode) SelectGroupNode(FCurrentGroupNode);
}
