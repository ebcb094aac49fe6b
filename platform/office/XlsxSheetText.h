#pragma once
// The text cells of an .xlsx sheet as its XML parts hold them: shared strings
// and the sheet's cells, changed in place while every style stays.
#include "platform/office/WorkbookErrors.h"
#include <QStringList>
#include <functional>

// The shared strings of "xl/sharedStrings.xml" in order; the runs of a rich
// text string are joined. Raises EWorkbookError for XML that does not parse.
QStringList ReadSharedStrings(const QByteArray& Xml);

// The sheet XML with the text of every text cell in rows FirstRow (from 1)
// and below passed through Replace; a changed cell holds its text inline and
// keeps its style. Number and formula cells, and the rows above, stay as they
// are. Raises EWorkbookError for XML that does not parse or a shared string
// index out of range.
QByteArray RewriteSheetTexts(const QByteArray& SheetXml, const QStringList& SharedStrings, Integer FirstRow,
                             const std::function<String(const String&)>& Replace);

// What a rewritten text cell becomes: its text, or a number (written with '.').
struct TSheetCell {
  String Text;
  bool Number = false;
};

// RewriteSheetTexts where Rewrite may also turn a text cell into a number
// cell; the cell keeps its style, and so the number format it has.
QByteArray RewriteSheetCells(const QByteArray& SheetXml, const QStringList& SharedStrings, Integer FirstRow,
                             const std::function<TSheetCell(const String&)>& Rewrite);
