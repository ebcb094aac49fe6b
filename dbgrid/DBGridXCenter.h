#pragma once
// The behaviour all grids share and a program may replace: text location and filtering.
// Each job runs the program's handler when one is assigned, else the handler registered for
// the grid's data set class, else the library's own default.
#include "dbgrid/DbUtilsX.h"
#include "grid/GridsX.h"
#include <functional>

class TCustomDBGridX;
class TColumnX;
class TColumnsXList;
class TPopupMenu;
class TBMListX;

class TDBGridXCenter : public TPersistent {
public:
  // Every registered grid is left without a centre.
  ~TDBGridXCenter() override;
  String ClassName() const override { return QStringLiteral("TDBGridXCenter"); }

  void RegisterGrid(TCustomDBGridX* Grid);
  bool IsGridRegistered(TCustomDBGridX* Grid) const;
  void UnregisterGrid(TCustomDBGridX* Grid);
  const std::vector<TCustomDBGridX*>& RegisteredGrids() const { return FRegisteredGrids; }

  using TLocateTextHandlerX =
      std::function<bool(TCustomDBGridX* Grid, const String& FieldName, const String& Text, TGridSearchOptionsX Options,
                         TGridSearchDirectionX Direction, TGridSearchMatchX Match, TGridSearchTreeRangeX TreeRange)>;
  using TApplyFilterHandlerX = std::function<void(TCustomDBGridX* Grid)>;
  TLocateTextHandlerX LocateTextHandler;
  TApplyFilterHandlerX ApplyFilterHandler;
  using TFillFilterListHandlerX =
      std::function<void(TCustomDBGridX* Grid, TColumnX* Column, TStrings* Items, bool& Processed)>;
  TFillFilterListHandlerX FillFilterListHandler;
  // While not 0, a command entry of a filter list applies the filter at once.
  Byte FilterApplyTriggers = 0;
  using TApplySortingHandlerX = std::function<void(TCustomDBGridX* Grid)>;
  TApplySortingHandlerX ApplySortingHandler;
  // The entries of the indicator title's menu: bit 0 the visible columns, 1 cut, 2 copy,
  // 3 paste, 4 delete, 5 select all.
  Byte IndicatorMenuItems = 63;
  // A grid whose data set offers the memory-table interface uses it (grouping, tree view,
  // scrolling by the memory table's record positions) only while this is on.
  bool UseMemTableFeatures = true;
  using TBuildIndicatorMenuHandlerX = std::function<void(TCustomDBGridX* Grid, TPopupMenu*& PopupMenu)>;
  TBuildIndicatorMenuHandlerX BuildIndicatorMenuHandler;
  using TGridCellMouseHandlerX = std::function<void(TCustomDBGridX* Grid, TGridCoord Cell, TMouseButton Button,
                                                    TShiftState Shift, Integer X, Integer Y)>;
  TGridCellMouseHandlerX CellMouseClickHandler;
  TGridCellMouseHandlerX IndicatorTitleMouseDownHandler;
  // The operator assumed for a filter text that starts with a bare value, by value kind: text
  // and other kinds, numbers, Booleans, date-times.
  std::array<TSTAssumedOperatorX, 4> ValueKindFlags{staNoneX, staNoneX, staNoneX, staNoneX};
  // While set, the tab-separated text exports write a numeric column's edit text (the value
  // without its display format) instead of the text the grid shows.
  bool ExportNumbersAsEditText = false;

  virtual bool DefaultLocateText(TCustomDBGridX* Grid, const String& FieldName, const String& Text,
                                 TGridSearchOptionsX Options, TGridSearchDirectionX Direction, TGridSearchMatchX Match,
                                 TGridSearchTreeRangeX TreeRange);
  virtual bool LocateText(TCustomDBGridX* Grid, const String& FieldName, const String& Text,
                          TGridSearchOptionsX Options, TGridSearchDirectionX Direction, TGridSearchMatchX Match,
                          TGridSearchTreeRangeX TreeRange);
  virtual void ApplyFilter(TCustomDBGridX* Grid);
  // The sort-marked columns applied to the data set through ApplySortingHandler; without one
  // nothing happens.
  virtual void DefaultApplySorting(TCustomDBGridX* Grid);
  // Without a registered handler the data set's own filter is set from the column filters.
  virtual void DefaultApplyFilter(TCustomDBGridX* Grid);
  // The command entries of a column's filter list, then its distinct values.
  virtual void FillFilterSpecialItems(TCustomDBGridX* Grid, TColumnX* Column, TStrings* Items);
  virtual void DefaultFillFilterDataValues(TCustomDBGridX* Grid, TColumnX* Column, TStrings* Items);
  // The find dialog of the grid library through the find hook.
  virtual void ShowFind(TCustomDBGridX* Grid, const String& Text, const String& FieldName, bool Modal);
  virtual TSTAssumedOperatorX ValueKindFlag(TCustomDBGridX* Grid, TColumnX* Column,
                                            const TSTFilterExpressionX& Expression) const;

  // The indicator title's menu: BuildIndicatorMenuHandler, else the shared menu with the
  // entries IndicatorMenuItems chooses and copies of the grid's own drop-down menu.
  void BuildIndicatorMenu(TCustomDBGridX* Grid, TPopupMenu*& PopupMenu);
  virtual void DefaultBuildIndicatorMenu(TCustomDBGridX* Grid, TPopupMenu*& PopupMenu);
  // A click on a cell that has no OnCellMouseClick of the grid: CellMouseClickHandler, else
  // the default, which does nothing.
  void CellMouseClick(TCustomDBGridX* Grid, TGridCoord Cell, TMouseButton Button, TShiftState Shift, Integer X,
                      Integer Y);
  virtual void DefaultCellMouseClick(TCustomDBGridX* Grid, TGridCoord Cell, TMouseButton Button, TShiftState Shift,
                                     Integer X, Integer Y);
  // A press on the indicator title: IndicatorTitleMouseDownHandler, else the grid's own.
  virtual void IndicatorTitleMouseDown(TCustomDBGridX* Grid, TGridCoord Cell, TMouseButton Button, TShiftState Shift,
                                       Integer X, Integer Y);
  virtual void DefaultIndicatorTitleMouseDown(TCustomDBGridX* Grid, TGridCoord Cell, TMouseButton Button,
                                              TShiftState Shift, Integer X, Integer Y);
  // Records moved by the handler registered for the grid's data set; false without one.
  virtual bool MoveRecords(TCustomDBGridX* Grid, TBMListX* Bookmarks, Integer ToRecNo, bool CheckOnly);
  virtual bool DefaultMoveRecords(TCustomDBGridX* Grid, TBMListX* Bookmarks, Integer ToRecNo, bool CheckOnly);

private:
  std::vector<TCustomDBGridX*> FRegisteredGrids;
};

// The find dialog's entry, set by the module that offers the dialog; while it is unset the
// find command does nothing.
using TGridFindHookX = std::function<void(TCustomDBGridX* Grid, const String& Text, const String& FieldName,
                                          TColumnsXList* Columns, bool Modal)>;
TGridFindHookX& GridFindHook();

// The centre every grid uses.
TDBGridXCenter& DBGridXCenter();
