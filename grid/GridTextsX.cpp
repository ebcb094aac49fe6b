#include "grid/GridTextsX.h"

namespace GridTextsX {
String SClearSelectedCellsX = QStringLiteral("您确认清除选择的单元吗?");
String SInvalidTextFormatX = QStringLiteral("不合法的文本格式");
String SInvalidGridBifFormatX = QStringLiteral("不合法的 GRIDBIF 格式");
String SErrorDuringInsertValueX = QStringLiteral("Error during insert value:");
String SIgnoreErrorX = QStringLiteral("忽略错误?");
String STabularInformationX = QStringLiteral("Tabular information");
String SPageOfPagesX = QStringLiteral("页 %d of %d");
String SPreviewX = QStringLiteral("预览");
String SFieldNameNotFoundX = QStringLiteral("字段名 '%s' 不存在");
String SVisibleColumnsX = QStringLiteral("Visible columns");
String SCutX = QStringLiteral("剪切");
String SCopyX = QStringLiteral("拷贝");
String SPasteX = QStringLiteral("粘贴");
String SDeleteX = QStringLiteral("删除");
String SSelectAllX = QStringLiteral("全选");
String SFilterBlanksX = QStringLiteral("(空)");
String SFilterNonBlanksX = QStringLiteral("(非空)");
String SFilterAllX = QStringLiteral("(全部)");
String SFilterClearX = QStringLiteral("(清除条件)");
String SFilterSortAscX = QStringLiteral("(升序排列)");
String SFilterSortDescX = QStringLiteral("(降序排列)");
String SFilterApplyX = QStringLiteral("(应用条件)");
String SFilterCustomX = QStringLiteral("(自定义...)");
String SOpEqualX = QStringLiteral("等于");
String SOpNotEqualX = QStringLiteral("不等于");
String SOpGreaterX = QStringLiteral("大于");
String SOpGreaterOrEqualX = QStringLiteral("大于等于");
String SOpLessX = QStringLiteral("小于");
String SOpLessOrEqualX = QStringLiteral("小于等于");
String SOpBeginsWithX = QStringLiteral("begins with");
String SOpNotBeginsWithX = QStringLiteral("does not begin with");
String SOpEndsWithX = QStringLiteral("ends with");
String SOpNotEndsWithX = QStringLiteral("does not end with");
String SOpContainsX = QStringLiteral("contains");
String SOpNotContainsX = QStringLiteral("does not contain");
String SOpLikeX = QStringLiteral("包含");
String SOpNotLikeX = QStringLiteral("不包含");
String SOpInListX = QStringLiteral("in list");
String SOpNotInListX = QStringLiteral("not in list");
String SOpBlankX = QStringLiteral("空格");
String SOpNonBlankX = QStringLiteral("非空格");
String SGroupPanelHintX = QStringLiteral("Drag a column header here to group by that column");
}  // namespace GridTextsX
