// Interchange-format cells into the grid's fields as values.
#include "gridout/DBGridXImportFormats.h"
#include "grid/FieldListsX.h"

void TDBGridXImportAsGRIDBIF::LoadFromStream(TStream* AStream, bool WholeGrid) {
  SetIgnoreAllErrors(false);
  FReader = std::make_unique<Gridbif::TReader>(AStream);
  TDBGridXImport::LoadFromStream(AStream, WholeGrid);
}

void TDBGridXImportAsGRIDBIF::BeginInput() {
  FColumnCount = FReader->ReadHeader();
  ReadNextValue();
}

void TDBGridXImportAsGRIDBIF::ReadNextValue() {
  if (AtEnd()) return;
  const Gridbif::TCell cell = FReader->ReadCell();
  FCurrentValue = cell.Value;
  FCurrentBytes = cell.Tag == Gridbif::tagBinary ? cell.Bytes : QByteArray();
  FCurrentIsBinary = cell.Tag == Gridbif::tagBinary;
  if (cell.Tag == Gridbif::tagEnd) SetAtEnd(true);
}

void TDBGridXImportAsGRIDBIF::TakeRecord(TColumnsXList* Columns) {
  // Records without cells would never reach the end mark.
  if (FColumnCount == 0 && !AtEnd()) throw EGridbifFormatError(QStringLiteral("TDBGridXImportAsGRIDBIF.ReadPrefix: ") +
                                                              QString::fromUtf8("不合法的 GRIDBIF 格式"));
  for (Integer i = 0; i < FColumnCount; ++i) TakeDataCell(i < Columns->Count() ? Columns->Items(i) : nullptr);
}

void TDBGridXImportAsGRIDBIF::TakeDataCell(TColumnX* Column) {
  if (!FCurrentValue.IsEmpty() && Column && Column->CanEditValue(false)) {
    TField* field = Column->Field();
    if (field->Lookup()) {
      TFieldsArrX keys;
      ResolveFieldsArray(field->DataSet(), field, field->KeyFields(), keys);
      TStringList values;
      values.SetCommaText(VarToStr(FCurrentValue));
      for (size_t k = 0; k < keys.size(); ++k) {
        const String value = values.Strings(Integer(k));
        AssignField(keys[k], [&] { keys[k]->SetAsString(value); });
      }
    } else if (auto* blob = dynamic_cast<TBlobField*>(field); blob && FCurrentIsBinary &&
                                                               Gridbif::HoldsBinary(field->DataType())) {
      // A picture or document goes back byte for byte, never through text.
      AssignField(field, [&] { blob->SetAsBytes(FCurrentBytes); });
    } else {
      AssignField(field, [&] { field->SetValue(FCurrentValue); });
    }
  }
  ReadNextValue();
}
