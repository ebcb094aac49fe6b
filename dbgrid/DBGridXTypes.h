#pragma once
// Option sets, enumerations, event types and the cell-parameter record of the data-aware grid.
#include "grid/GridsX.h"
#include "platform/db/DB.h"
#include "platform/ui/StdCtrls.h"

class TCustomDBGridX;
class TColumnX;
class TBMListX;

// Members in stored bit order.
enum TDBGridOption {
  dgEditing, dgAlwaysShowEditor, dgTitles, dgIndicator, dgColumnResize, dgColLines, dgRowLines, dgTabs,
  dgRowSelect, dgAlwaysShowSelection, dgConfirmDelete, dgCancelOnExit, dgMultiSelect
};
using TDBGridOptions = TSet<TDBGridOption>;

enum TDBGridXOption {
  dghFixed3D, dghFrozen3D, dghFooter3D, dghData3D, dghResizeWholeRightPart, dghHighlightFocus, dghClearSelection,
  dghFitRowHeightToText, dghAutoSortMarking, dghMultiSortMarking, dghEnterAsTab, dghTraceColSizing, dghIncSearch,
  dghPreferIncSearch, dghRowHighlight, dghDblClickOptimizeColWidth, dghDialogFind, dghRecordMoving, dghShowRecNo,
  dghColumnResize, dghColumnMove, dghAutoFitRowHeight, dghHotTrack, dghExtendVertLines
};
using TDBGridXOptions = TSet<TDBGridXOption>;

enum TDBGridXAllowedOperation { alopInsertX, alopUpdateX, alopDeleteX, alopAppendX };
using TDBGridXAllowedOperations = TSet<TDBGridXAllowedOperation>;

enum TDBGridXSelectionType { gstRecordBookmarks, gstRectangle, gstColumns, gstAll, gstNon };
// The kinds a grid lets the user select: all but gstNon.
using TDBGridXAllowedSelection = TDBGridXSelectionType;
using TDBGridXAllowedSelections = TSet<TDBGridXAllowedSelection>;

enum TDBGridXEditAction { geaCutX, geaCopyX, geaPasteX, geaDeleteX, geaSelectAllX };
using TDBGridXEditActions = TSet<TDBGridXEditAction>;

enum TEditButtonsShowOptionX {
  sebShowOnlyForCurCellX, sebShowOnlyForCurRowX, sebShowOnlyWhenGridActiveX, sebShowOnlyWhenDataEditingX
};
using TEditButtonsShowOptionsX = TSet<TEditButtonsShowOptionX>;

enum TSortMarkerX { smNoneX, smDownX, smUpX };
enum TTextOrientationX { tohHorizontal, tohVertical };
enum TFooterValueType { fvtNon, fvtSum, fvtAvg, fvtCount, fvtFieldValue, fvtStaticText };
enum TColumnButtonStyleX { cbsAuto, cbsEllipsis, cbsNone, cbsUpDown, cbsDropDown, cbsAltUpDown, cbsAltDropDown };
// The in-place editor's styles a column asks for.
enum TInplaceEditStyleX : Byte {
  iesPlainX = 0, iesEllipsisX = 1, iesPickListX = 2, iesDataListX = 3, iesDateX = 4, iesUpDownX = 5,
  iesDropDownX = 6, iesAltUpDownX = 7, iesAltDropDownX = 8, iesAltDateX = 9
};
enum TDBLookupGridXOption { dlgColumnResizeX, dlgColLinesX, dlgRowLinesX, dlgAutoSortMarkingX, dlgMultiSortMarkingX };
using TDBLookupGridXOptions = TSet<TDBLookupGridXOption>;
enum TScrollBarVisibleModeX { sbAlwaysShowX, sbNeverShowX, sbAutoShowX };
enum TSTFilterLocationX { stflUnderTitleFilterX, stflInTitleFilterX };
enum TGridRowPanelTabNavigationTypeX { rpntUpToDownPriorityX, rpntLeftToRightPriorityX };
enum TGridRowPanelNavKeysNavigationTypeX { rpntRowToRowX, rpntCellToCellX };

// The areas GetCellType places a cell in.
enum TCellAreaColX : Byte { cacIndicator = 0, cacData = 1 };
enum TCellAreaRowX : Byte { carTitle = 0, carFilter = 1, carData = 2, carFooter = 4 };
struct TCellTypeX {
  TCellAreaColX ColKind = cacIndicator;
  TCellAreaRowX RowKind = carTitle;
  friend bool operator==(const TCellTypeX&, const TCellTypeX&) = default;
};

// What a cell shows, filled by its column and adjustable by the cell-parameter events.
class TColCellParamsX {
public:
  Byte Alignment = taLeftJustify;
  TColor Background = clWindow;
  Byte CheckboxState = 0;
  TFont* Font = nullptr;
  Integer ImageIndex = -1;
  bool ReadOnly = false;
  TGridDrawState State;
  String Text;
  bool TextEditing = true;
  // The grid cell painted, -1 outside the painter; its rectangle.
  Integer Col = -1, Row = -1;
  TRect CellRect;
  // Paints the data cell like a fixed cell: fixed colour, no text, no buttons, a frame.
  bool DrawAsFixed = false;
  // An event's background stays in the current cell instead of the selection colours.
  bool BackgroundSet = false;
};

using TDBGridXNotifyEvent = std::function<void(TCustomDBGridX* Sender)>;
using TDBGridXClickEvent = std::function<void(TColumnX* Column)>;
using TDBGridXFillSTFilterListValuesEvent =
    std::function<void(TCustomDBGridX* Sender, TColumnX* Column, TStrings* Items, bool& Processed)>;
using TTitleXClickEvent = std::function<void(TObject* Sender, Integer ACol, TColumnX* Column)>;
using TCheckTitleXBtnEvent = std::function<void(TObject* Sender, Integer ACol, TColumnX* Column, bool& Enabled)>;
using TDrawColumnXCellEvent =
    std::function<void(TObject* Sender, const TRect& Rect, Integer DataCol, TColumnX* Column, TGridDrawState State)>;
using TDrawDataCellEvent = std::function<void(TObject* Sender, const TRect& Rect, TField* Field, TGridDrawState State)>;
using TDrawFooterCellEvent = std::function<void(TObject* Sender, Integer DataCol, Integer Row, TColumnX* Column,
                                                const TRect& Rect, TGridDrawState State)>;
using TGetCellXParamsEvent =
    std::function<void(TObject* Sender, TColumnX* Column, TFont* AFont, TColor& Background, TGridDrawState State)>;
using TGetBtnXParamsEvent = std::function<void(TObject* Sender, TColumnX* Column, TFont* AFont, TColor& Background,
                                               TSortMarkerX& SortMarker, bool IsDown)>;
using TGetFooterParamsEvent =
    std::function<void(TObject* Sender, Integer DataCol, Integer Row, TColumnX* Column, TFont* AFont,
                       TColor& Background, TAlignment& Alignment, TGridDrawState State, String& Text)>;
using TGetDBGridXRowHeightEvent = std::function<void(TObject* Sender, Integer& RowHeight)>;
using TDBGridXAdvDrawColumnDataEvent =
    std::function<void(TCustomDBGridX* Sender, TGridCoord Cell, TGridCoord AreaCell, TColumnX* Column,
                       const TRect& ARect, TColCellParamsX& Params, bool& Processed)>;
using TGetColCellParamsEventX = std::function<void(TObject* Sender, bool EditMode, TColCellParamsX* Params)>;
using TColCellUpdateDataEventX =
    std::function<void(TObject* Sender, String& Text, Variant& Value, bool& UseText, bool& Handled)>;
using TOnColumnCheckDrawRequiredStateEventX = std::function<void(TObject* Sender, const String& Text, bool& DrawState)>;
using TNotInListEventX = std::function<void(TObject* Sender, const String& NewText, bool& RecheckInList)>;
using TGridMoveRecordsEventX =
    std::function<bool(TObject* Sender, TBMListX* BookmarkList, Integer ToRecNo, Integer TreeLevel, bool CheckOnly)>;
using TDBGridXCheckRowHaveDetailPanelEvent = std::function<void(TObject* Sender, bool& RowHaveDetailPanel)>;
using TDBGridXRowDetailPanelShowEvent = std::function<void(TObject* Sender, bool& CanShow)>;
using TDBGridXRowDetailPanelHideEvent = std::function<void(TObject* Sender, bool& CanHide)>;

// A set as the integer of its member bits (member N is bit N), and back.
template <typename E>
Cardinal SetToBits(const TSet<E>& Set, Integer MemberCount) {
  Cardinal bits = 0;
  for (Integer i = 0; i < MemberCount; ++i)
    if (Set.Contains(E(i))) bits |= 1u << i;
  return bits;
}
template <typename E>
TSet<E> BitsToSet(Cardinal Bits, Integer MemberCount) {
  TSet<E> set;
  for (Integer i = 0; i < MemberCount; ++i)
    if (Bits & (1u << i)) set.Include(E(i));
  return set;
}

// What a data cell's hint shows, handed to the data-hint events: the position is in client
// coordinates while an event runs, the cursor rectangle is where the hint stays.
struct TDBGridXDataHintParams {
  TPoint HintPos;
  Integer HintMaxWidth = 0;
  TColor HintColor = clInfoBk;
  TRect CursorRect;
  Integer ReshowTimeout = 0;
  Integer HideTimeout = 0;
  String HintStr;
  TFont* HintFont = nullptr;
};

using TDBGridXHintShowPauseEvent =
    std::function<void(TCustomDBGridX* Sender, TPoint CursorPos, TGridCoord Cell, TPoint InCellCursorPos,
                       TColumnX* Column, Integer& HintPause, bool& Processed)>;
using TDBGridXDataHintShowEvent =
    std::function<void(TCustomDBGridX* Sender, TPoint CursorPos, TGridCoord Cell, TPoint InCellCursorPos,
                       TColumnX* Column, TDBGridXDataHintParams& Params, bool& Processed)>;
