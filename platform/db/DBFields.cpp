#include "platform/db/DB.h"
#include "platform/rtl/SysUtils.h"
#include <algorithm>
#include <cmath>

bool InEditModes(TDataSetState State) { return State == dsEdit || State == dsInsert || State == dsSetKey; }

String ExtractFieldName(const String& Fields, Integer& Pos) {
  Integer i = Pos;
  while (i <= Fields.size() && Fields[i - 1] != QLatin1Char(';')) ++i;
  const String name = Fields.mid(Pos - 1, i - Pos).trimmed();
  if (i <= Fields.size() && Fields[i - 1] == QLatin1Char(';')) ++i;
  Pos = i;
  return name;
}

void DatabaseError(const String& Message, TComponent* Component) {
  if (Component && !Component->Name().isEmpty())
    throw EDatabaseError(QStringLiteral("%1: %2").arg(Component->Name(), Message));
  throw EDatabaseError(Message);
}

// ---------------------------------------------------------------------------------------

TField::TField(TComponent* AOwner) : TField(AOwner, ftUnknown, 0) {}

TField::TField(TComponent* AOwner, TFieldType Type, Integer Size) : TComponent(AOwner), FDataType(Type), FSize(Size) {}

TField::~TField() {
  if (FDataSet) FDataSet->RemoveField(this);
}

void TField::SetDataSet(TDataSet* Value) {
  if (Value == FDataSet) return;
  if ((FDataSet && FDataSet->Active()) || (Value && Value->Active()))
    DatabaseError(QStringLiteral("Cannot perform this operation on an open dataset"), this);
  if (FDataSet) FDataSet->RemoveField(this);
  if (Value) Value->AddField(this);
}

Integer TField::Index() const { return FDataSet ? FDataSet->Fields()->IndexOf(this) : -1; }

void TField::SetIndex(Integer Value) {
  if (!FDataSet) return;
  std::vector<TField*>& list = FDataSet->Fields()->FList;
  const Integer current = Index();
  const Integer target = std::clamp<Integer>(Value, 0, Integer(list.size()) - 1);
  if (current < 0 || target == current) return;
  list.erase(list.begin() + current);
  list.insert(list.begin() + target, this);
  PropertyChanged(true);
}

void TField::PropertyChanged(bool LayoutAffected) {
  if (FDataSet && FDataSet->Active()) FDataSet->DataEvent(LayoutAffected ? deLayoutChange : deDataSetChange, 0);
}

void TField::SetAlignment(TAlignment Value) {
  if (Value == FAlignment) return;
  FAlignment = Value;
  PropertyChanged(false);
}

void TField::SetVisible(bool Value) {
  if (Value == FVisible) return;
  FVisible = Value;
  PropertyChanged(true);
}

void TField::SetDisplayLabel(const String& Value) {
  if (Value == FDisplayLabel) return;
  FDisplayLabel = Value;
  PropertyChanged(true);
}

void TField::SetDisplayWidth(Integer Value) {
  if (Value == FDisplayWidth) return;
  FDisplayWidth = Value;
  PropertyChanged(true);
}

void TField::SetLookupDataSet(TDataSet* Value) {
  if (Value == FDataSet && Value) DatabaseError(QStringLiteral("Circular datalinks are not allowed"), this);
  FLookupDataSet = Value;
}

bool TField::CanModify() const {
  return !FReadOnly && FFieldKind == fkData && FDataSet && FDataSet->Active() && FDataSet->CanModify();
}

bool TField::IsValidChar(QChar) const { return true; }

Variant TField::Value() const {
  if (!FDataSet) DatabaseError(QStringLiteral("Field '%1' has no dataset").arg(FFieldName), const_cast<TField*>(this));
  return FDataSet->GetFieldValue(this);
}

void TField::SetValue(const Variant& V) {
  if (!FDataSet) DatabaseError(QStringLiteral("Field '%1' has no dataset").arg(FFieldName), this);
  FDataSet->SetFieldValue(this, VarIsClear(V) ? Variant::Null() : Coerce(V));
}

bool TField::IsNull() const { return VarIsClear(Value()); }

void TField::ConvertError(const String& Text, const char* Kind) const {
  throw EConvertError(QStringLiteral("'%1' is not a valid %2 value for field '%3'")
                          .arg(Text, QString::fromLatin1(Kind), DisplayName()));
}

namespace {

// Reads a non-null value with one of Variant's conversions, turning its failures into
// the conversion error the field layer reports.
template <typename Read>
auto ReadAs(const TField* Field, const Variant& V, Read read, decltype(read(V)) Zero) {
  if (VarIsClear(V)) return Zero;
  try {
    return read(V);
  } catch (const EVariantError&) {
    throw EConvertError(QStringLiteral("Field '%1' cannot be read as that type: '%2'")
                            .arg(Field->DisplayName(), VarToStr(V)));
  }
}

}  // namespace

Integer TField::AsInteger() const {
  return ReadAs(this, Value(), [](const Variant& v) { return v.AsInteger(); }, Integer(0));
}

double TField::AsFloat() const {
  return ReadAs(this, Value(), [](const Variant& v) { return v.AsDouble(); }, 0.0);
}

Currency TField::AsCurrency() const {
  return ReadAs(this, Value(), [](const Variant& v) { return v.AsCurrency(); }, Currency());
}

TDateTime TField::AsDateTime() const {
  return ReadAs(this, Value(), [](const Variant& v) { return v.AsDateTime(); }, TDateTime(0));
}

bool TField::AsBoolean() const {
  return ReadAs(this, Value(), [](const Variant& v) { return v.AsBoolean(); }, false);
}

String TField::GetAsString() const { return VarToStr(Value()); }

void TField::SetAsStringValue(const String& V) { SetValue(Variant(V)); }

void TField::GetText(String& Text, bool) const { Text = GetAsString(); }

String TField::Text() const {
  String text;
  if (OnGetText) OnGetText(const_cast<TField*>(this), text, false);
  else GetText(text, false);
  return text;
}

String TField::DisplayText() const {
  String text;
  if (OnGetText) OnGetText(const_cast<TField*>(this), text, true);
  else GetText(text, true);
  return text;
}

void TField::SetText(const String& Value) {
  if (OnSetText) OnSetText(this, Value);
  else SetAsString(Value);
}

void TField::FocusControl() {
  if (!FDataSet || !FDataSet->Active()) return;
  TField* field = this;
  FDataSet->DataEvent(deFocusControl, reinterpret_cast<intptr_t>(&field));
}

// ---------------------------------------------------------------------------------------

Variant TStringField::Coerce(const Variant& V) const { return Variant(V.AsString()); }

TNumericField::TNumericField(TComponent* AOwner, TFieldType Type) : TField(AOwner, Type, 0) {
  SetAlignment(taRightJustify);
}

void TNumericField::SetDisplayFormat(const String& Value) {
  if (Value == FDisplayFormat) return;
  FDisplayFormat = Value;
  PropertyChanged(false);
}

void TNumericField::SetEditFormat(const String& Value) {
  if (Value == FEditFormat) return;
  FEditFormat = Value;
  PropertyChanged(false);
}

const String& TNumericField::TextFormat(bool DisplayText) const {
  return DisplayText || FEditFormat.isEmpty() ? FDisplayFormat : FEditFormat;
}

bool TNumericField::IsValidChar(QChar Ch) const {
  return Ch.isDigit() || Ch == QLatin1Char('+') || Ch == QLatin1Char('-') || Ch == DecimalSeparator ||
         Ch == QLatin1Char('e') || Ch == QLatin1Char('E');
}

bool TIntegerField::IsValidChar(QChar Ch) const {
  return Ch.isDigit() || Ch == QLatin1Char('+') || Ch == QLatin1Char('-');
}

void TIntegerField::SetAsStringValue(const String& V) {
  if (V.trimmed().isEmpty()) return Clear();
  Int64 value = 0;
  if (!TryStrToInt64(V.trimmed(), value)) ConvertError(V, "integer");
  SetValue(Variant(value));
}

void TIntegerField::GetText(String& Text, bool DisplayText) const {
  const Variant v = Value();
  if (VarIsClear(v)) {
    Text.clear();
    return;
  }
  const String& format = TextFormat(DisplayText);
  Text = format.isEmpty() ? IntToStr(v.AsInt64()) : FormatFloat(format, Extended(v.AsInt64()));
}

Variant TIntegerField::Coerce(const Variant& V) const {
  Int64 value = 0;
  try {
    value = V.AsInt64();
  } catch (const EVariantError&) {
    ConvertError(VarToStr(V), "integer");
  }
  if ((FMinValue != 0 || FMaxValue != 0) && (value < FMinValue || value > FMaxValue))
    DatabaseError(QStringLiteral("%1 is not a valid value for field '%2'. The allowed range is %3 to %4")
                      .arg(value).arg(DisplayName()).arg(FMinValue).arg(FMaxValue));
  // The store keeps 64 bits; the variant stays a 32-bit integer where the value fits one.
  if (value < std::numeric_limits<Integer>::min() || value > std::numeric_limits<Integer>::max()) return Variant(value);
  return Variant(Integer(value));
}

Variant TLargeintField::Coerce(const Variant& V) const {
  try {
    return Variant(V.AsInt64());
  } catch (const EVariantError&) {
    ConvertError(VarToStr(V), "integer");
  }
}

namespace {

String FloatText(double Value, const String& Format, bool Currency, Integer Precision, bool DisplayText) {
  if (!Format.isEmpty()) return FormatFloat(Format, Extended(Value));
  if (Currency) return FloatToStrF(Extended(Value), DisplayText ? ffCurrency : ffFixed, Precision, CurrencyDecimals);
  return FloatToStrF(Extended(Value), ffGeneral, Precision, 0);
}

}  // namespace

void TFloatField::SetAsStringValue(const String& V) {
  if (V.trimmed().isEmpty()) return Clear();
  Extended value = 0;
  if (!TryStrToFloat(V.trimmed(), value)) ConvertError(V, "floating point");
  SetValue(Variant(double(value)));
}

void TFloatField::GetText(String& Text, bool DisplayText) const {
  const Variant v = Value();
  Text = VarIsClear(v) ? String() : FloatText(v.AsDouble(), TextFormat(DisplayText), FCurrency, FPrecision, DisplayText);
}

Variant TFloatField::Coerce(const Variant& V) const {
  double value = 0;
  try {
    value = V.AsDouble();
  } catch (const EVariantError&) {
    ConvertError(VarToStr(V), "floating point");
  }
  if ((FMinValue != 0 || FMaxValue != 0) && (value < FMinValue || value > FMaxValue))
    DatabaseError(QStringLiteral("%1 is not a valid value for field '%2'. The allowed range is %3 to %4")
                      .arg(FloatToStr(value), DisplayName(), FloatToStr(FMinValue), FloatToStr(FMaxValue)));
  return Variant(value);
}

Variant TCurrencyField::Coerce(const Variant& V) const {
  return Variant::FromCurrency(Currency::FromDouble(TFloatField::Coerce(V).AsDouble()));
}

Variant TBCDField::Coerce(const Variant& V) const {
  return Variant::FromCurrency(Currency::FromDouble(TFloatField::Coerce(V).AsDouble()));
}

String TBooleanField::GetAsString() const {
  const Variant v = Value();
  if (VarIsClear(v)) return String();
  const qsizetype semi = FDisplayValues.indexOf(QLatin1Char(';'));
  const String trueText = semi < 0 ? FDisplayValues : FDisplayValues.left(semi);
  const String falseText = semi < 0 ? String() : FDisplayValues.mid(semi + 1);
  return v.AsBoolean() ? trueText : falseText;
}

void TBooleanField::SetAsStringValue(const String& V) {
  const String text = V.trimmed();
  if (text.isEmpty()) return Clear();
  const qsizetype semi = FDisplayValues.indexOf(QLatin1Char(';'));
  const String trueText = semi < 0 ? FDisplayValues : FDisplayValues.left(semi);
  const String falseText = semi < 0 ? String() : FDisplayValues.mid(semi + 1);
  auto starts = [&](const String& word) { return !word.isEmpty() && word.startsWith(text, Qt::CaseInsensitive); };
  if (starts(trueText)) SetValue(Variant(true));
  else if (starts(falseText)) SetValue(Variant(false));
  else ConvertError(V, "boolean");
}

Variant TBooleanField::Coerce(const Variant& V) const {
  try {
    return Variant(V.AsBoolean());
  } catch (const EVariantError&) {
    ConvertError(VarToStr(V), "boolean");
  }
}

void TDateTimeField::SetDisplayFormat(const String& Value) {
  if (Value == FDisplayFormat) return;
  FDisplayFormat = Value;
  PropertyChanged(false);
}

String TDateTimeField::GetAsString() const {
  String text;
  GetText(text, false);
  return text;
}

void TDateTimeField::SetAsStringValue(const String& V) {
  const String text = V.trimmed();
  if (text.isEmpty()) return Clear();
  TDateTime value = 0;
  bool ok = false;
  switch (DataType()) {
    case ftDate: ok = TryStrToDate(text, value); break;
    case ftTime: ok = TryStrToTime(text, value); break;
    default: ok = TryStrToDateTime(text, value); break;
  }
  if (!ok) ConvertError(V, "date and time");
  SetValue(Variant::FromDate(value));
}

void TDateTimeField::GetText(String& Text, bool DisplayText) const {
  const Variant v = Value();
  if (VarIsClear(v)) {
    Text.clear();
    return;
  }
  const TDateTime value = v.AsDateTime();
  if (DisplayText && !FDisplayFormat.isEmpty()) {
    Text = FormatDateTime(FDisplayFormat, value);
    return;
  }
  switch (DataType()) {
    case ftDate: Text = DateToStr(value); break;
    case ftTime: Text = TimeToStr(value); break;
    default: Text = DateTimeToStr(value); break;
  }
}

Variant TDateTimeField::Coerce(const Variant& V) const {
  try {
    if (V.VarType() == varString) {
      TDateTime value = 0;
      if (!TryStrToDateTime(V.AsString(), value)) ConvertError(V.AsString(), "date and time");
      return Variant::FromDate(value);
    }
    return Variant::FromDate(V.AsDateTime());
  } catch (const EVariantError&) {
    ConvertError(VarToStr(V), "date and time");
  }
}

void TBlobField::GetText(String& Text, bool DisplayText) const {
  if (!DisplayText) {
    Text = GetAsString();
    return;
  }
  // Grids show a marker, not the (possibly long, multi-line) contents.
  const bool memo = DataType() == ftMemo || DataType() == ftFmtMemo;
  const String word = memo ? QStringLiteral("Memo") : QStringLiteral("Blob");
  Text = QStringLiteral("(%1)").arg(IsNull() ? word : word.toUpper());
}

QByteArray TBlobField::AsBytes() const { return DataSet() ? DataSet()->GetFieldBytes(this) : QByteArray(); }

void TBlobField::SetAsBytes(const QByteArray& Value) {
  if (!DataSet()) DatabaseError(QStringLiteral("Field '%1' has no dataset").arg(FieldName()), this);
  DataSet()->SetFieldBytes(this, Value);
}

Variant TBlobField::Coerce(const Variant& V) const { return Variant(V.AsString()); }

std::unique_ptr<TField> CreateFieldOfType(TFieldType Type, TComponent* Owner) {
  switch (Type) {
    case ftString:
    case ftFixedChar:
    case ftGuid: return std::make_unique<TStringField>(Owner);
    case ftWideString: return std::make_unique<TWideStringField>(Owner);
    case ftSmallint: return std::make_unique<TSmallintField>(Owner);
    case ftInteger: return std::make_unique<TIntegerField>(Owner);
    case ftWord: return std::make_unique<TWordField>(Owner);
    case ftAutoInc: return std::make_unique<TAutoIncField>(Owner);
    case ftLargeint: return std::make_unique<TLargeintField>(Owner);
    case ftBoolean: return std::make_unique<TBooleanField>(Owner);
    case ftFloat: return std::make_unique<TFloatField>(Owner);
    case ftCurrency: return std::make_unique<TCurrencyField>(Owner);
    case ftBCD:
    case ftFMTBcd: return std::make_unique<TBCDField>(Owner);
    case ftDate: return std::make_unique<TDateField>(Owner);
    case ftTime: return std::make_unique<TTimeField>(Owner);
    case ftDateTime:
    case ftTimeStamp: return std::make_unique<TDateTimeField>(Owner);
    case ftMemo:
    case ftFmtMemo:
    case ftOraClob: return std::make_unique<TMemoField>(Owner);
    case ftBlob:
    case ftGraphic:
    case ftBytes:
    case ftVarBytes:
    case ftTypedBinary:
    case ftOraBlob: return std::make_unique<TBlobField>(Owner);
    default: return std::make_unique<TField>(Owner);
  }
}

// ---------------------------------------------------------------------------------------

TField* TFields::Fields(Integer Index) const {
  if (Index < 0 || Index >= Count()) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
  return FList[size_t(Index)];
}

TField* TFields::FindField(const String& Name) const {
  for (TField* f : FList)
    if (f->FieldName().compare(Name, Qt::CaseInsensitive) == 0) return f;
  return nullptr;
}

TField* TFields::FieldByName(const String& Name) const {
  TField* f = FindField(Name);
  if (!f) DatabaseError(QStringLiteral("Field '%1' not found").arg(Name), FDataSet);
  return f;
}

Integer TFields::IndexOf(const TField* Field) const {
  for (size_t i = 0; i < FList.size(); ++i)
    if (FList[i] == Field) return Integer(i);
  return -1;
}

TFieldDef* TFieldDefs::Items(Integer Index) const {
  if (Index < 0 || Index >= Count()) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
  return FItems[size_t(Index)].get();
}

Integer TFieldDefs::IndexOf(const String& Name) const {
  for (size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i]->Name().compare(Name, Qt::CaseInsensitive) == 0) return Integer(i);
  return -1;
}

TFieldDef* TFieldDefs::Find(const String& Name) const {
  const Integer i = IndexOf(Name);
  if (i < 0) DatabaseError(QStringLiteral("Field '%1' not found").arg(Name));
  return FItems[size_t(i)].get();
}

void TFieldDefs::Add(const String& Name, TFieldType DataType, Integer Size, bool Required) {
  FItems.push_back(std::make_unique<TFieldDef>(Name, DataType, Size, Required));
  FItems.back()->FFieldNo = Count();
}
