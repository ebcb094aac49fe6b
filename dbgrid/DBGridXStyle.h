#pragma once
// The colour policy every grid shares: how selected and hot-tracked cells are coloured. Grids
// attach to the process-wide style when they are made; a grid without one keeps its own rules.
#include "dbgrid/DBGridXTypes.h"
#include "grid/GridsX.h"
#include <vector>

class TCustomDBGridX;

// The screen's colour count: -1 for more than 256 colours, which lets the style lighten
// colours; a palette screen gets plain system colours. Screens here always have more.
Integer ScreenColorCount();
void SetScreenColorCount(Integer Value);

class TDBGridXStyle : public TPersistent {
public:
  TDBGridXStyle();
  // Every registered grid is handed back a nil style (it then looks for the default one).
  ~TDBGridXStyle() override;
  String ClassName() const override { return QStringLiteral("TDBGridXStyle"); }

  // Selected cells of an unfocused grid and hot-tracked cells get lightened colours instead
  // of solid system colours.
  bool LightenSelection = true;
  // The focused data cell gets its focus rectangle.
  bool ShowFocusRect = true;
  // The face kind of the in-title filter buttons.
  Byte TitleFilterButtonStyle = 0;

  // The colours of data cell (ACol, ARow), the painted record being current; Selected is the
  // grid's own answer, which the style does not need. Answers whether the cell counts as
  // selected.
  virtual bool DataCellColors(TCustomDBGridX* Grid, Integer ACol, Integer ARow, Integer DataCol, Integer DataRow,
                              Integer Extra, TGridDrawState State, bool Selected, TColor& Background, TFont* AFont);
  // The colours of a selected fixed cell (indicator, title, filter or footer); false, and
  // nothing changed, when the cell is not Selected.
  virtual bool FixedCellColors(TCustomDBGridX* Grid, Integer ACol, Integer ARow, Integer AreaCol, Integer AreaRow,
                               TCellTypeX CellType, TGridDrawState State, bool Selected, TColor& Background,
                               TFont* AFont);

  void RegisterGrid(TCustomDBGridX* Grid);
  bool IsGridRegistered(TCustomDBGridX* Grid) const;
  void UnregisterGrid(TCustomDBGridX* Grid);
  const std::vector<TCustomDBGridX*>& RegisteredGrids() const { return FRegisteredGrids; }

  // Color half-way to Glass, then 60 % of the way to a light grey; Ungray moves it a quarter
  // away from the middle grey again. Channels rounded half to even and kept in 0..255.
  static TColor LightenColor(TColor Color, TColor Glass, bool Ungray);

private:
  std::vector<TCustomDBGridX*> FRegisteredGrids;
};

// The style every new grid attaches to; none once the grid module has been shut down.
TDBGridXStyle* GlobalGridStyle();
