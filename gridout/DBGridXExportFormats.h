#pragma once
// The export formats: tab-separated text (code page 936 and UTF-16), CSV, an RTF table, a
// BIFF worksheet and the grid library's own interchange format "GRIDBIF".
#include "gridout/DBGridXImpExp.h"
#include "grid/MemoryStreamX.h"

// Rows separated by CR LF, cells by a separator; nothing escaped; no terminator.
class TDBGridXExportAsTextBase : public TDBGridXExport {
public:
  void PutTitleRow(TColumnsXList* Columns) override;
  void PutDataRow(TColumnsXList* Columns) override;
  void PutDataCell(TColumnX* Column, TColCellParamsX* Params) override;
  void PutFooterRow(TColumnsXList* Columns, Integer FooterRow) override;
  void PutFooterCell(Integer ColumnPos, Integer FooterRow, TColumnX* Column, TFont* AFont, TColor Background,
                     TAlignment Alignment, const String& Text) override;
  void SaveToStream(TStream* AStream, bool WholeGrid) override;
  virtual void StartRow();
  virtual void StartCell();

protected:
  // Writes text in the format's encoding.
  virtual void WriteText(QStringView Text) = 0;
  // Writes the text of a cell as the format shows it (CSV quotes it).
  virtual void WriteCellText(QStringView Text) { WriteText(Text); }
  virtual String Separator() const { return QStringLiteral("\t"); }
  virtual void WriteSeparator() { WriteText(FSeparator); }
  // Whether numeric columns are written with their edit text: while the grid centre asks
  // for it.
  virtual bool WritesNumericEditText() const;
  bool FAtFirstRow = true;
  bool FAtFirstCell = true;

private:
  String FSeparator;
};

class TDBGridXExportAsText : public TDBGridXExportAsTextBase {
public:
  bool PutDirectCell(const TExportCellText& Cell, const TStoredRow& Row) override;
  void SaveToStream(TStream* AStream, bool WholeGrid) override;
protected:
  void WriteText(QStringView Text) override;
  // The separator's bytes, encoded once per export.
  void WriteSeparator() override { Output().Append(FAnsiSeparator.constData(), size_t(FAnsiSeparator.size())); }
  // Writes a direct cell's text as the format shows it (CSV quotes it).
  virtual void WriteDirectCellText(const TExportCellText& Cell, const TStoredRow& Row);
private:
  QByteArray FAnsiSeparator;
};

// Little-endian UTF-16 without a byte-order mark.
class TDBGridXExportAsUnicodeText : public TDBGridXExportAsTextBase {
protected:
  void WriteText(QStringView Text) override;
};

// The separator of CSV exports made from now on.
extern char CsvSeparator;

// Every value in double quotes, inner quotes doubled.
class TDBGridXExportAsCSV : public TDBGridXExportAsText {
public:
  TDBGridXExportAsCSV();
  char SeparatorChar() const { return FSeparatorChar; }
protected:
  // CSV always writes what the grid shows.
  bool WritesNumericEditText() const override { return false; }
  void WriteCellText(QStringView Text) override;
  void WriteDirectCellText(const TExportCellText& Cell, const TStoredRow& Row) override;
  String Separator() const override { return QString(QChar::fromLatin1(FSeparatorChar)); }
private:
  char FSeparatorChar;
};

// A worksheet of BOF, a CODEPAGE record (936), one cell record per exported cell and EOF.
class TDBGridXExportAsXLS : public TDBGridXExport {
public:
  static constexpr Integer MaxRows = 65536;
  void BeginOutput() override;
  void EndOutput() override;
  void PutTitleRow(TColumnsXList* Columns) override;
  void PutDataCell(TColumnX* Column, TColCellParamsX* Params) override;
  void PutFooterCell(Integer ColumnPos, Integer FooterRow, TColumnX* Column, TFont* AFont, TColor Background,
                     TAlignment Alignment, const String& Text) override;
  // Raises before writing anything when the rows do not fit the format.
  void SaveToStream(TStream* AStream, bool WholeGrid) override;
  void SaveToFile(const String& FileName, bool WholeGrid) override;

  bool PutDirectCell(const TExportCellText& Cell, const TStoredRow& Row) override;

  void PutBlank();
  void PutNumber(double Value);
  void PutRk(Integer Value);
  void PutLabel(QStringView Text);
  // A whole number as an RK record when it fits one, else as a NUMBER record.
  void PutInteger(Int64 Value);
  Integer CellRow() const { return FCellRow; }
  Integer CellCol() const { return FCellCol; }

private:
  void CheckFits(bool WholeGrid);
  void AdvanceCell();
  struct TCellColumn {
    TField* Field;
    TFieldType DataType;
    bool KeyList;
  };
  std::vector<TCellColumn> FCellColumns;  // per exported column
  Integer FCellRow = 0;
  Integer FCellCol = 0;
};

// An RTF document holding one table; the rows go to a cache first, since the colour and
// font tables must precede them.
class TDBGridXExportAsRTF : public TDBGridXExport {
public:
  TDBGridXExportAsRTF();
  ~TDBGridXExportAsRTF() override;
  void EndOutput() override;
  void PutTitleRow(TColumnsXList* Columns) override;
  void PutDataRow(TColumnsXList* Columns) override;
  void PutDataCell(TColumnX* Column, TColCellParamsX* Params) override;
  void PutFooterRow(TColumnsXList* Columns, Integer FooterRow) override;
  void PutFooterCell(Integer ColumnPos, Integer FooterRow, TColumnX* Column, TFont* AFont, TColor Background,
                     TAlignment Alignment, const String& Text) override;
  void SaveToStream(TStream* AStream, bool WholeGrid) override;

  Integer ColorIndex(TColor Color);
  Integer FontIndex(const String& FontName);
  static QByteArray AlignmentWord(TAlignment Alignment);

private:
  struct TCellEdges {
    bool Left = true, Top = true, Bottom = true, Right = true;
  };
  void Write(const QByteArray& Bytes);
  void EmitText(TFont* AFont, const String& Text, TColor Background);
  void PutCellBorders(const TCellEdges& Edges);
  void BeginTableRow(TColumnsXList* Columns, const std::vector<TCellEdges>& Edges, const std::vector<TColor>& Shades);
  void PutCell(TAlignment Alignment, const QByteArray& Spacing, TFont* AFont, const String& Text, TColor Background);
  // False, writing nothing, when a column has no place in the title tree.
  bool PutMultiTitleRows(TColumnsXList* Columns);
  TColor DataCellShade(TColumnsXList* Columns, Integer Pos);
  TColor FooterCellShade(TColumnsXList* Columns, Integer Pos, Integer FooterRow);
  QByteArray RowSpacing() const;
  Integer TwipsOf(Integer Pixels) const;
  std::unique_ptr<TMemoryStreamX> FBodyCache;
  std::unique_ptr<TStringList> FColorTable;
  std::unique_ptr<TStringList> FFontTable;
  Integer FPixelsPerInch = 96;
};

// Field values with type tags, so numbers, dates, nulls and lookup keys come back as values.
class TDBGridXExportAsGRIDBIF : public TDBGridXExport {
public:
  void BeginOutput() override;
  void EndOutput() override;
  void PutDataCell(TColumnX* Column, TColCellParamsX* Params) override;
};
