// The grid's cells as tagged field values in the interchange format.
#include "gridout/AnsiText.h"
#include "gridout/DBGridXExportFormats.h"
#include "gridout/GridbifFormat.h"
#include "grid/FieldListsX.h"
#include <limits>

void TDBGridXExportAsGRIDBIF::BeginOutput() {
  std::vector<bool> visible;
  for (Integer i = 0; i < ExportColumns()->Count(); ++i) visible.push_back(ExportColumns()->Items(i)->Visible());
  Gridbif::PutHeader(Stream(), visible);
}

void TDBGridXExportAsGRIDBIF::EndOutput() { Gridbif::PutEnd(Stream()); }

namespace {

// The key values of a lookup field as comma text, in key order.
String LookupKeyText(TField* Field) {
  TFieldsArrX keys;
  ResolveFieldsArray(Field->DataSet(), Field, Field->KeyFields(), keys);
  TStringList list;
  for (TField* key : keys) list.Add(key->AsString());
  return list.CommaText();
}

// Text the code page cannot carry goes as UTF-16, so no character is lost on the way.
void PutText(TStream* Stream, const String& Text) {
  QByteArray ansi;
  if (EncodesToAnsi(Text, ansi))
    Gridbif::PutAnsi(Stream, ansi);
  else
    Gridbif::PutWide(Stream, Text);
}

}  // namespace

void TDBGridXExportAsGRIDBIF::PutDataCell(TColumnX* Column, TColCellParamsX*) {
  TStream* stream = Stream();
  TField* field = Column->Field();
  if (field && field->Lookup()) return Gridbif::PutWide(stream, LookupKeyText(field));
  if (!field) return Gridbif::PutUnassigned(stream);
  if (field->IsNull()) return Gridbif::PutNull(stream);
  if (Gridbif::HoldsBinary(field->DataType())) return Gridbif::PutBinary(stream, field->DataSet()->GetFieldBytes(field));
  switch (field->DataType()) {
    case ftString:
    case ftBoolean:
    case ftMemo:
    case ftFixedChar:
    case ftLargeint:
    case ftOraClob:
    case ftGuid: return PutText(stream, field->AsString());
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc: {
      // A stored value beyond 32 bits goes as a float rather than wrapped.
      const Int64 value = field->Value().AsInt64();
      if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        return Gridbif::PutFloat(stream, double(value));
      return Gridbif::PutInteger(stream, Integer(value));
    }
    case ftDate:
    case ftTime:
    case ftDateTime:
    case ftTimeStamp: return Gridbif::PutFloat(stream, field->AsDateTime());
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftFMTBcd: return Gridbif::PutFloat(stream, field->AsFloat());
    case ftWideString: return Gridbif::PutWide(stream, field->AsString());
    default: return Gridbif::PutUnassigned(stream);
  }
}
