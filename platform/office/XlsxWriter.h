#pragma once
// Writing one-sheet .xlsx workbooks of text cells, with the few cell formats
// the program's exports use and merged ranges.
#include "platform/office/WorkbookErrors.h"
#include <memory>

struct TXlsxCellFormat {
  bool Bold = false;
  bool Wrap = false;
  bool Centre = false;          // horizontally
  bool CentreVertically = false;
  bool ThinBorder = false;
  String FontName;              // empty: the workbook's default font
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
