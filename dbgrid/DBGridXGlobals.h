#pragma once
// What all data-aware grids share, made once at program start: the indicator and title-sign
// images, the cursors over titles and the indicator, the small font of sort numbers, the
// keyboard shortcuts and incremental-search settings, and the scratch cell parameters.
#include "dbgrid/DBGridXStyle.h"
#include "dbgrid/DBGridXTypes.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Menus.h"
#include <array>

class TCustomDBGridX;
class TColumnX;

// An entry of the indicator title's shared menu: the visible-columns entry (Action 0) or one
// of the edit commands, acting on Grid.
class TDBGridXMenuItem : public TMenuItem {
public:
  using TMenuItem::TMenuItem;
  String ClassName() const override { return QStringLiteral("TDBGridXMenuItem"); }
  enum { CutAction = 1, CopyAction, PasteAction, DeleteAction, SelectAllAction };
  void Click() override;
  TCustomDBGridX* Grid = nullptr;
  Integer Action = 0;
};

// A column under the visible-columns entry: a click shows or hides it.
class TColumnXMenuItem : public TMenuItem {
public:
  using TMenuItem::TMenuItem;
  String ClassName() const override { return QStringLiteral("TColumnXMenuItem"); }
  void Click() override;
  TColumnX* Column = nullptr;
};

struct TDBGridXGlobals {
  std::unique_ptr<TDBGridXStyle> Style;
  std::unique_ptr<TImageList> IndicatorImages;  // 6 x 11: arrow, edit, insert, dot, arrow+dot, light arrow, search arrow
  std::unique_ptr<TImageList> SignImages;       // 10 x 9: sort down, sort up, drop-down, light sort down and up
  std::unique_ptr<TFont> SortNumberFont;
  std::unique_ptr<TColCellParamsX> SharedCellParams = std::make_unique<TColCellParamsX>();
  TShortCut IncSearchShortCut = 0;
  TShortCut NextMatchShortCut = 0;
  TShortCut PriorMatchShortCut = 0;
  TShortCut FindDialogShortCut = 0;
  TShortCut PreviousValueShortCut = 0;
  TShortCut FilterShortCut = 0;
  Cardinal IncSearchTimeout = 1500;
  TColor IncSearchColor = TColor(0x00FFFF);
  TColor IncSearchFontColor = TColor(0x000000);
  // When set, grids never paint through an off-screen bitmap.
  bool BufferedPaintOff = false;
  // The indicator title's shared menu and its entries, made on first use; the entries go
  // first, leaving the menu.
  std::unique_ptr<TPopupMenu> IndicatorMenu;
  std::array<std::unique_ptr<TDBGridXMenuItem>, 6> IndicatorMenuEntries;
};

// Cursor numbers of the grid's own cursors, registered with the screen.
constexpr TCursor crDownCursorX = 101, crRightCursorX = 102, crLeftCursorX = 103;

// Indicator image of each record mark kind (current, current and selected, edit, insert, searching).
constexpr Integer IndicatorImageOfKind[5] = {0, 5, 1, 2, 6};

// Makes the shared objects once; later calls do nothing.
void InitializeGridUnit();
void FinalizeGridUnit();
// The shared objects, made on first use.
TDBGridXGlobals& DBGridXGlobals();
// Rebuilds the seventh indicator image after the search colour changed.
void RebuildSearchIndicatorImage();
// Color moved towards Color2 by Amount in 255 on every channel (truncated, kept in 0..255):
// the filter row's background is the window colour tinted by the fixed colour.
TColor BlendColors(TColor Color, TColor Color2, Integer Amount);
// Color1 moved X 255ths of the way towards Color2 on every channel, truncated and kept in
// 0..255: 255 gives Color2, 0 gives Color1.
TColor ApproachColor(TColor Color1, TColor Color2, double X);
