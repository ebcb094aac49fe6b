#pragma once
// Moving a data-aware grid's content out to other programs and back: the export and import
// walks shared by every format, and the entry points that take the format as a class.
// The walks follow the grid's selection (records, a rectangle, columns, everything, or the
// current cell alone), keep the grid's position and keep attached controls still.
#include "dbgrid/DBGridX.h"
#include "gridout/ByteBuffer.h"
#include "gridout/ExportCellText.h"
#include <functional>
#include <memory>

class TDBGridXExport {
public:
  TDBGridXExport();
  virtual ~TDBGridXExport();
  TDBGridXExport(const TDBGridXExport&) = delete;
  TDBGridXExport& operator=(const TDBGridXExport&) = delete;

  virtual void BeginOutput() {}
  virtual void EndOutput() {}
  virtual void PutTitleRow(TColumnsXList* Columns) { (void)Columns; }
  // Fills the cell parameters per column, runs the cell events, then PutDataCell. The
  // image index and check-box state, which no format writes, are filled for the events only.
  virtual void PutDataRow(TColumnsXList* Columns);
  virtual void PutDataCell(TColumnX* Column, TColCellParamsX* Params) { (void)Column, (void)Params; }
  // A cell whose text comes straight from the stored value (no cell event, see
  // TExportCellText); false leaves it to PutDataCell.
  virtual bool PutDirectCell(const TExportCellText& Cell, const TStoredRow& Row) { return (void)Cell, (void)Row, false; }
  // Footer text, font, colour and alignment per column, the footer event, then PutFooterCell.
  virtual void PutFooterRow(TColumnsXList* Columns, Integer FooterRow);
  virtual void PutFooterCell(Integer ColumnPos, Integer FooterRow, TColumnX* Column, TFont* AFont, TColor Background,
                             TAlignment Alignment, const String& Text);
  // The whole grid (every record, visible columns) or the selection.
  virtual void SaveToStream(TStream* AStream, bool WholeGrid);
  // Creates (or overwrites) the file and writes it.
  virtual void SaveToFile(const String& FileName, bool WholeGrid);

  TCustomDBGridX* Grid() const { return FGrid; }
  void SetGrid(TCustomDBGridX* Value) { FGrid = Value; }
  TStream* Stream() const { return FStream; }
  TColumnsXList* ExportColumns() const { return FExportColumns; }
  TColCellParamsX* CellParams() const { return FCellParams.get(); }

  // Adds the current record to the footer totals.
  void SumFooterValues();
  // The display text of a sum or count footer total.
  String FooterTotalText(Integer FooterRow, Integer ColumnPos);
  // A total as a number (sum or count).
  double FooterTotalValue(Integer FooterRow, Integer ColumnPos) const;
  // Rows the export writes: the title row, the data rows and the footer rows; moves the
  // data set only between a saved and restored position.
  Integer ExportRowCount(bool WholeGrid);
  // gstAll for the whole grid, else the selection's kind.
  TDBGridXSelectionType KindFor(bool WholeGrid) const;

protected:
  void SetStream(TStream* Value) { FStream = Value; }
  // Bytes on their way to the stream: formats that collect their output here have it
  // written a block at a time while the records are walked, and whole when the export ends.
  TByteBuffer& Output() { return FOutput; }
  void FlushOutput();

private:
  void OpenOutput(TColumnsXList* Columns);
  void PutFooterRows(TColumnsXList* Columns);
  void WalkRecords(TDBGridXSelectionType Kind);
  TField* FooterField(Integer FooterRow, Integer ColumnPos) const;
  void ResolveSummedFooters();
  // A column's font, colour and alignment, whether it has a field and how its cells are
  // read, taken once per export.
  struct TColumnLook {
    std::unique_ptr<TFont> Font;
    TColor Background;
    Byte Alignment;
    bool HasField;
    TExportCellText Cell;
  };
  void TakeColumnLooks(TColumnsXList* Columns);
  void PutCellThroughEvents(TColumnX* Column);
  std::vector<TColumnLook> FColumnLooks;
  TFont FEventFont;
  // A sum or count footer of the walk with its field, its place in FFooterTotals and how
  // its values are read: counted, straight from the store, or through the field.
  struct TSummedFooter {
    enum class TRead : uint8_t { Count, Field, StoredFloat, StoredInteger };
    size_t Index;
    TField* Field;
    TRead Read;
  };
  static TSummedFooter::TRead FooterReadOf(const TField* Field, bool Count);
  std::vector<TSummedFooter> FSummedFooters;
  std::unique_ptr<TColCellParamsX> FCellParams;
  TCustomDBGridX* FGrid = nullptr;
  TColumnsXList* FExportColumns = nullptr;
  TStream* FStream = nullptr;
  std::vector<Int64> FFooterTotals;
  TByteBuffer FOutput;
};

class TDBGridXImport {
public:
  TDBGridXImport() = default;
  virtual ~TDBGridXImport() = default;
  TDBGridXImport(const TDBGridXImport&) = delete;
  TDBGridXImport& operator=(const TDBGridXImport&) = delete;

  virtual void BeginInput() {}
  virtual void EndInput() {}
  virtual void TakeRecord(TColumnsXList* Columns);
  virtual void TakeDataCell(TColumnX* Column) { (void)Column; }
  virtual void LoadFromStream(TStream* AStream, bool WholeGrid);
  virtual void LoadFromFile(const String& FileName, bool WholeGrid);

  TCustomDBGridX* Grid() const { return FGrid; }
  void SetGrid(TCustomDBGridX* Value) { FGrid = Value; }
  TStream* Stream() const { return FStream; }
  TColumnsXList* ImportColumns() { return &FImportColumns; }
  bool AtEnd() const { return FAtEnd; }

protected:
  void SetAtEnd(bool Value) { FAtEnd = Value; }
  // Writes Value into Field the way every importer does: only when the data set can be
  // modified and is editing after Edit. An error asks whether to go on (Yes), stop the
  // import silently (No, EAbort) or pass over every later error (All).
  void AssignField(TField* Field, const std::function<void()>& Assignment);
  bool IgnoreAllErrors() const { return FIgnoreAllErrors; }
  void SetIgnoreAllErrors(bool Value) { FIgnoreAllErrors = Value; }

private:
  void InsertRecords(bool AppendMode);
  void TakeRectangle();
  void TakeFromCurrentRecord(bool& InsertState, bool& AppendMode);
  TCustomDBGridX* FGrid = nullptr;
  TStream* FStream = nullptr;
  TColumnsXList FImportColumns;
  bool FAtEnd = false;
  bool FIgnoreAllErrors = false;
};

// A format passed as a class: making one object of it.
using TDBGridXExportClass = std::function<std::unique_ptr<TDBGridXExport>()>;
using TDBGridXImportClass = std::function<std::unique_ptr<TDBGridXImport>()>;
template <typename T> TDBGridXExportClass ExportClassOf() {
  return [] { return std::unique_ptr<TDBGridXExport>(new T()); };
}
template <typename T> TDBGridXImportClass ImportClassOf() {
  return [] { return std::unique_ptr<TDBGridXImport>(new T()); };
}

void ExportGridToStream(const TDBGridXExportClass& ExportClass, TCustomDBGridX* Grid, TStream* Stream, bool WholeGrid);
// Writes a new file (an existing one is overwritten); a failure raises.
void ExportGridToFile(const TDBGridXExportClass& ExportClass, TCustomDBGridX* Grid, const String& FileName,
                      bool WholeGrid);
void ImportGridFromStream(const TDBGridXImportClass& ImportClass, TCustomDBGridX* Grid, TStream* Stream,
                          bool WholeGrid);
