// Tab-separated text into the grid's fields, through each column's own rules: lookup names
// become keys, pick-list names become key-list codes, other text is stripped of characters
// the field does not take.
#include "gridout/AnsiText.h"
#include "gridout/DBGridXImportFormats.h"

String TDBGridXImportAsText::DecodeCell(const QByteArray& Units) const { return FromAnsiText(Units); }

String TDBGridXImportAsUnicodeText::DecodeCell(const QByteArray& Units) const {
  return String(reinterpret_cast<const QChar*>(Units.constData()), Units.size() / 2);
}

void TDBGridXImportAsTextBase::LoadFromStream(TStream* AStream, bool WholeGrid) {
  SetIgnoreAllErrors(false);
  FReader = std::make_unique<TTextCellReader>(AStream, UnitSize(), ClassName());
  TDBGridXImport::LoadFromStream(AStream, WholeGrid);
}

void TDBGridXImportAsTextBase::BeginInput() {
  FReader->SetTokenClass(TTextCellReader::tcRowEnd);
  FReader->NextToken();
  SetAtEnd(FReader->AtEnd());
}

void TDBGridXImportAsTextBase::ReadCell() {
  FReader->ReadCellText();
  FCellText = DecodeCell(FReader->CellUnits());
  SetAtEnd(FReader->AtEnd());
}

void TDBGridXImportAsTextBase::TakeRecord(TColumnsXList* Columns) {
  if (FReader->TokenClass() == TTextCellReader::tcEnd) return;
  Integer index = 0;
  if (FReader->TokenClass() == TTextCellReader::tcValue) {
    ReadCell();
    if (Columns->Count() > 0) TakeDataCell(Columns->Items(0));
    index = 1;
  }
  while (FReader->TokenClass() == TTextCellReader::tcCellEnd) {
    ReadCell();
    if (index < Columns->Count()) TakeDataCell(Columns->Items(index));
    ++index;
  }
  FReader->NextToken();
  SetAtEnd(FReader->AtEnd());
}

// An exact match, without regard to case, comes before a match of the text's beginning,
// so "Li" finds Li and not Lin.
void TDBGridXImportAsTextBase::TakeLookupCell(TField* Field) {
  TDataSet* lookup = Field->LookupDataSet();
  if (!lookup) return;
  const String resultField = Field->LookupResultField();
  const bool found = lookup->Locate(resultField, Variant(FCellText), TLocateOptions{loCaseInsensitive}) ||
                     lookup->Locate(resultField, Variant(FCellText), TLocateOptions{loCaseInsensitive, loPartialKey});
  if (found) Field->DataSet()->SetFieldValues(Field->KeyFields(), lookup->FieldValues(Field->LookupKeyFields()));
}

void TDBGridXImportAsTextBase::TakeDataCell(TColumnX* Column) {
  if (!Column->CanEditValue(false)) return;
  TField* field = Column->Field();
  if (!field || (field->Lookup() && field->KeyFields().isEmpty())) return;
  AssignField(field, [&] {
    if (field->Lookup()) return TakeLookupCell(field);
    if (Column->CellKind() == TColumnX::ckKeyList) {
      Integer position = -1;
      for (Integer i = 0; i < Column->PickList()->Count() && position < 0; ++i)
        if (Column->PickList()->Strings(i).compare(FCellText, Qt::CaseInsensitive) == 0) position = i;
      if (position < 0 || position >= Column->KeyList()->Count())
        field->Clear();
      else
        field->SetText(Column->KeyList()->Strings(position));
      return;
    }
    field->SetText(Column->StripInvalidChars(FCellText));
  });
}
