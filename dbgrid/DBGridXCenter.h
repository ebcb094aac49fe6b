#pragma once
// The behaviour all grids share and a program may replace: text location and filtering.
// Each job runs the program's handler when one is assigned, else the handler registered for
// the grid's data set class, else the library's own default.
#include "dbgrid/DbUtilsX.h"
#include <functional>

class TCustomDBGridX;
class TColumnX;
class TColumnsXList;

class TDBGridXCenter : public TPersistent {
public:
  String ClassName() const override { return QStringLiteral("TDBGridXCenter"); }

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
};

// The find dialog's entry, set by the module that offers the dialog; while it is unset the
// find command does nothing.
using TGridFindHookX = std::function<void(TCustomDBGridX* Grid, const String& Text, const String& FieldName,
                                          TColumnsXList* Columns, bool Modal)>;
TGridFindHookX& GridFindHook();

// The centre every grid uses.
TDBGridXCenter& DBGridXCenter();
