#pragma once
// The columns of a pay record as the record list shows them, and copying a
// record's values between data sets.
#include "platform/rtl/Types.h"
#include <QStringList>
#include <vector>

class TDataSet;

struct TRecordColumn {
  String FieldName;
  String Title;  // "|" separates the title levels
  bool Visible;  // before a month's items decide
  // Pixels; the text fields' sizes would make their columns far too wide. A column
  // keeps only a width other than the grid's default (64) before its field is bound.
  Integer Width;
};

// The record list's 63 columns in order: "ID", "SortIdx", "GZMonth", ...,
// "GZ1".."GZ30", "YFTotal", "KK1".."KK15", "KKTotal", "GZTotal", ..., "LOGTime".
const std::vector<TRecordColumn>& RecordColumns();
constexpr Integer FirstAmountColumn = 9;  // "OneDayMOney"
constexpr Integer LastAmountColumn = 57;  // "GZTotal"
constexpr Integer FirstEarningsColumn = 10;
constexpr Integer YFTotalColumn = 40;
constexpr Integer FirstDeductionsColumn = 41;
constexpr Integer KKTotalColumn = 56;

// What an employee copy takes over: every list column after "SortIdx".
QStringList RecordCopyFields();
// What a month copy takes over: the record's own values, without its month
// and creation time.
QStringList MonthCopyFields();

// Copies the values of Fields from the current row of Source into the row
// Target is editing; an empty job title becomes " ".
void CopyRecordFields(TDataSet* Source, TDataSet* Target, const QStringList& Fields);
