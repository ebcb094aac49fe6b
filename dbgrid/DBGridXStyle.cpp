#include "dbgrid/DBGridXStyle.h"
#include "dbgrid/DBGridX.h"
#include "dbgrid/DBGridXGlobals.h"
#include "dbgrid/DBGridXRegisteredGrids.h"
#include "platform/ui/SystemColors.h"
#include <algorithm>
#include <cmath>

namespace {
Integer GScreenColorCount = -1;

// One third and two thirds of the way, in 255ths.
constexpr double OneThird = 85.33, TwoThirds = 170.67;
}  // namespace

Integer ScreenColorCount() { return GScreenColorCount; }
void SetScreenColorCount(Integer Value) { GScreenColorCount = Value; }

TDBGridXStyle* GlobalGridStyle() { return DBGridXGlobals().Style.get(); }

TDBGridXStyle::TDBGridXStyle() = default;

TDBGridXStyle::~TDBGridXStyle() {
  registeredgrids::ReleaseAll(FRegisteredGrids, [](TCustomDBGridX* Grid) { Grid->SetStyle(nullptr); });
}

void TDBGridXStyle::RegisterGrid(TCustomDBGridX* Grid) { registeredgrids::Add(FRegisteredGrids, Grid); }

bool TDBGridXStyle::IsGridRegistered(TCustomDBGridX* Grid) const {
  return registeredgrids::Contains(FRegisteredGrids, Grid);
}

void TDBGridXStyle::UnregisterGrid(TCustomDBGridX* Grid) { registeredgrids::Remove(FRegisteredGrids, Grid); }

TColor TDBGridXStyle::LightenColor(TColor Color, TColor Glass, bool Ungray) {
  const TColor c = ColorToRGB(Color), g = ColorToRGB(Glass);
  auto channel = [Ungray](Byte From, Byte To) {
    double m = From + (double(To) - From) * 0.5;
    m = m + (225 - m) * 0.6;
    if (Ungray) m = m - (122 - m) * 0.25;
    return Byte(std::clamp(std::nearbyint(m), 0.0, 255.0));
  };
  return RGB(channel(GetRValue(c), GetRValue(g)), channel(GetGValue(c), GetGValue(g)),
             channel(GetBValue(c), GetBValue(g)));
}

bool TDBGridXStyle::DataCellColors(TCustomDBGridX* Grid, Integer ACol, Integer ARow, Integer DataCol, Integer,
                                   Integer, TGridDrawState State, bool, TColor& Background, TFont* AFont) {
  const TDBGridOptions options = Grid->Options();
  const TDBGridXOptions optionsX = Grid->OptionsX();
  const bool rowSelect = options.Contains(dgRowSelect);
  const bool alwaysShow = options.Contains(dgAlwaysShowSelection);
  const bool currentRow = ARow == Grid->Row();
  const bool currentColumn = DataCol == Grid->SelectedIndex() || ACol == Grid->Col();
  const TGridCoord hot = Grid->HotTrackCell();
  const bool hotRow = hot.Y >= 0 && ARow == hot.Y;
  const bool lighten = ScreenColorCount() == -1;

  bool selected = Grid->PaintedCellSelected(ACol, ARow, DataCol);
  bool highlight = false;
  if (!selected) {
    highlight = Grid->IsFocusOwner() && optionsX.Contains(dghHighlightFocus);
    // Row highlighting shows the rest of the current row as a selection.
    if (optionsX.Contains(dghRowHighlight) && currentRow && !currentColumn &&
        Grid->Selection()->SelectionKind() == gstNon && (alwaysShow || highlight)) {
      highlight = true;
      State.Include(gdSelected);
    }
    selected = (State.Contains(gdSelected) || (currentRow && rowSelect)) && (alwaysShow || highlight) &&
               (Grid->UpdateLock() == 0 || rowSelect);
  }

  if (selected && Grid->GridOrEditorFocused()) {
    if (currentRow && (currentColumn || rowSelect)) {
      Background = clHighlight;
      AFont->SetColor(clHighlightText);
    } else if (LightenSelection && lighten) {
      Background = LightenColor(Background, clHighlight, true);
      if (optionsX.Contains(dghHotTrack) && optionsX.Contains(dghRowHighlight) && hotRow &&
          ((ACol == hot.X && ACol != Grid->Col()) || rowSelect))
        Background = ApproachColor(Background, clHighlight, OneThird);
    } else {
      // Without lightening, selected cells take the solid system colours.
      Background = clHighlight;
      AFont->SetColor(clHighlightText);
    }
  } else if (selected) {
    const auto approachHot = [&] {
      if (optionsX.Contains(dghHotTrack) && hotRow && (ACol == hot.X || rowSelect))
        Background = ApproachColor(Background, LightenColor(Background, clHighlight, true), TwoThirds);
    };
    if (currentRow && (ACol == Grid->Col() || rowSelect) && (alwaysShow || highlight)) {
      Background = clBtnShadow;
      AFont->SetColor(clHighlightText);
      approachHot();
    } else if (lighten) {
      Background = LightenColor(Background, clBtnShadow, false);
      approachHot();
    } else {
      Background = clBtnFace;
    }
  } else if (lighten && optionsX.Contains(dghHotTrack) && hotRow && Grid->CanHotTrackCell(ACol, ARow) &&
             hot.X >= Grid->IndicatorColCount()) {
    const TColor own = Background;
    const TColor lit = LightenColor(own, clHighlight, true);
    if (optionsX.Contains(dghRowHighlight) || rowSelect)
      Background = ACol == hot.X && !rowSelect ? lit : ApproachColor(lit, own, TwoThirds);
    else if (ACol == hot.X)
      Background = lit;
  }
  return selected;
}

bool TDBGridXStyle::FixedCellColors(TCustomDBGridX* Grid, Integer, Integer, Integer, Integer, TCellTypeX CellType,
                                    TGridDrawState, bool Selected, TColor& Background, TFont* AFont) {
  if (!Selected) return false;
  const bool dataColumn = CellType.ColKind == cacData;
  const bool dark = CellType.ColKind == cacIndicator ||
                    (dataColumn && (CellType.RowKind == carTitle || CellType.RowKind == carFilter)) ||
                    (dataColumn && CellType.RowKind == carFooter && Grid->FooterColor() == Grid->FixedColor());
  if (dark) {
    Background = RGB(64, 64, 64);
    AFont->SetColor(RGB(255, 255, 255));
  } else if (Grid->GridOrEditorFocused()) {
    if (LightenSelection && ScreenColorCount() == -1) {
      Background = LightenColor(Background, clHighlight, true);
    } else {
      Background = clHighlight;
      AFont->SetColor(clHighlightText);
    }
  } else {
    Background = ScreenColorCount() == -1 ? LightenColor(Background, clBtnShadow, false) : clBtnFace;
  }
  return true;
}
