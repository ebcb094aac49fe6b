#pragma once
// Writing one-sheet .xlsx workbooks of text, number and date cells, with the
// few cell formats the program's exports use and merged ranges.
#include "platform/office/WorkbookErrors.h"
#include <memory>

struct TXlsxCellFormat {
  bool Bold = false;
  bool Wrap = false;
  bool Centre = false;          // horizontally
  bool CentreVertically = false;
  bool ThinBorder = false;
  String FontName;              // empty: the workbook's default font
  String NumberFormat;          // as a spreadsheet writes it ("0.00", "yyyy-mm-dd"); empty: General
  bool operator==(const TXlsxCellFormat&) const = default;
};

class TXlsxWriter {
public:
  // Starts the workbook; nothing is written before Close. With InlineStrings
  // every text is kept in its cell rather than in a table of shared strings;
  // rows must then be written in order, and Merge is refused.
  explicit TXlsxWriter(const String& FileName, bool InlineStrings = false);
  // Discards an unclosed workbook's file.
  ~TXlsxWriter();
  TXlsxWriter(const TXlsxWriter&) = delete;
  TXlsxWriter& operator=(const TXlsxWriter&) = delete;

  // Rows and columns count from 0.
  void Write(Integer Row, Integer Column, const String& Text, const TXlsxCellFormat& Format = {});
  // A number cell; a date-time is the number of days since 1899-12-30 with a date format.
  void WriteNumber(Integer Row, Integer Column, double Value, const TXlsxCellFormat& Format = {});
  // An empty cell that still shows its format (borders).
  void WriteBlank(Integer Row, Integer Column, const TXlsxCellFormat& Format);
  // Merges the range into one cell showing Text; raises EWorkbookError for a
  // range the library refuses, such as a single cell.
  void Merge(Integer FirstRow, Integer FirstColumn, Integer LastRow, Integer LastColumn, const String& Text,
             const TXlsxCellFormat& Format = {});
  void SetColumnWidth(Integer Column, double Characters);
  // Writes the file; raises EWorkbookError with the reason when it cannot.
  void Close();

private:
  struct TState;
  std::unique_ptr<TState> FState;
};
