#pragma once
// The words the grid library shows to the user. They are variables so that a translation
// can replace each one whole.
#include "platform/rtl/Types.h"

namespace GridTextsX {
extern String SClearSelectedCellsX;
extern String SInvalidTextFormatX;
extern String SInvalidGridBifFormatX;
extern String SErrorDuringInsertValueX;
extern String SIgnoreErrorX;
extern String STabularInformationX;
extern String SPageOfPagesX;
extern String SPreviewX;
extern String SFieldNameNotFoundX;
extern String SVisibleColumnsX;
extern String SCutX;
extern String SCopyX;
extern String SPasteX;
extern String SDeleteX;
extern String SSelectAllX;
extern String SFilterBlanksX;
extern String SFilterNonBlanksX;
extern String SFilterAllX;
extern String SFilterClearX;
extern String SFilterSortAscX;
extern String SFilterSortDescX;
extern String SFilterApplyX;
extern String SFilterCustomX;
extern String SOpEqualX;
extern String SOpNotEqualX;
extern String SOpGreaterX;
extern String SOpGreaterOrEqualX;
extern String SOpLessX;
extern String SOpLessOrEqualX;
extern String SOpBeginsWithX;
extern String SOpNotBeginsWithX;
extern String SOpEndsWithX;
extern String SOpNotEndsWithX;
extern String SOpContainsX;
extern String SOpNotContainsX;
extern String SOpLikeX;
extern String SOpNotLikeX;
extern String SOpInListX;
extern String SOpNotInListX;
extern String SOpBlankX;
extern String SOpNonBlankX;
extern String SGroupPanelHintX;
}  // namespace GridTextsX
