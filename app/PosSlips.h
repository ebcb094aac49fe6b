#pragma once
// Receipt slips: the records shown, as plain text lines of "caption<TAB>value" per employee,
// kept in "tmp.Txt" in code page 936 with CR LF line ends for the receipt printer.
#include "platform/rtl/Types.h"
#include <QStringList>
#include <vector>

class TDataSet;

// A record grid column as the slips see it.
struct TPosColumn {
  String Title;  // "应发工资|基本工资": the slip shows what follows the first "|"
  String FieldName;
  bool Visible = true;
};

// The lines of every record of Records in its order; the cursor stays where it was. Columns are the record grid's: the first
// (the key) and the last two are never printed, hidden ones neither; floating-point values
// take AmountFormat. Each block starts with "工资条" indented by half the widest title
// (at least 10 bytes), and a total's line is followed by a short rule.
QStringList PosSlipLines(TDataSet* Records, const std::vector<TPosColumn>& Columns, const String& AmountFormat);

// Writes Lines to FileName in code page 936, each ended by CR LF; failures raise.
void WritePosSlips(const String& FileName, const QStringList& Lines);
