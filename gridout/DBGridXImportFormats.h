#pragma once
// The formats the grid reads back: tab-separated text (code page 936 and UTF-16) and the
// interchange format "GRIDBIF".
#include "gridout/DBGridXImpExp.h"
#include "gridout/GridbifFormat.h"
#include "gridout/TextCellReader.h"

// No title line is recognised: a first line of captions is imported as a record.
class TDBGridXImportAsTextBase : public TDBGridXImport {
public:
  void BeginInput() override;
  void TakeRecord(TColumnsXList* Columns) override;
  void TakeDataCell(TColumnX* Column) override;
  void LoadFromStream(TStream* AStream, bool WholeGrid) override;
  const String& CellText() const { return FCellText; }

protected:
  virtual Integer UnitSize() const = 0;
  virtual String ClassName() const = 0;
  virtual String DecodeCell(const QByteArray& Units) const = 0;

private:
  void ReadCell();
  void TakeLookupCell(TField* Field);
  std::unique_ptr<TTextCellReader> FReader;
  String FCellText;
};

class TDBGridXImportAsText : public TDBGridXImportAsTextBase {
protected:
  Integer UnitSize() const override { return 1; }
  String ClassName() const override { return QStringLiteral("TDBGridXImportAsText"); }
  String DecodeCell(const QByteArray& Units) const override;
};

class TDBGridXImportAsUnicodeText : public TDBGridXImportAsTextBase {
protected:
  Integer UnitSize() const override { return 2; }
  String ClassName() const override { return QStringLiteral("TDBGridXImportAsUnicodeText"); }
  String DecodeCell(const QByteArray& Units) const override;
};

// Cells match columns by position; the header's names and flags are not used.
class TDBGridXImportAsGRIDBIF : public TDBGridXImport {
public:
  void BeginInput() override;
  void TakeRecord(TColumnsXList* Columns) override;
  void TakeDataCell(TColumnX* Column) override;
  void LoadFromStream(TStream* AStream, bool WholeGrid) override;
  // The value read ahead: Empty for an unassigned cell.
  const Variant& CurrentValue() const { return FCurrentValue; }
  const QByteArray& Header() const { return FReader->Header(); }

private:
  void ReadNextValue();
  std::unique_ptr<Gridbif::TReader> FReader;
  Integer FColumnCount = 0;
  Variant FCurrentValue;
  // A binary cell's bytes, written as they are into binary fields.
  QByteArray FCurrentBytes;
  bool FCurrentIsBinary = false;
};
