#pragma once
// Data sets, fields, data sources and data links. A data set holds its rows in memory
// (RecordStore); the cursor is a position in a view of row ids that the local sort and
// filter define, and bookmarks are the stable row ids. Controls see the rows through data
// links, whose buffer window follows the cursor without ever moving it.
#include "platform/db/RecordStore.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/ScopeGuards.h"
#include "platform/rtl/Variants.h"
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

class TDataSet;
class TDataSource;
class TDataLink;
class TField;
class TFilterExpression;


// In this order, so tables indexed by field type stay valid.
enum TFieldType {
  ftUnknown, ftString, ftSmallint, ftInteger, ftWord, ftBoolean, ftFloat, ftCurrency, ftBCD, ftDate, ftTime,
  ftDateTime, ftBytes, ftVarBytes, ftAutoInc, ftBlob, ftMemo, ftGraphic, ftFmtMemo, ftParadoxOle, ftDBaseOle,
  ftTypedBinary, ftCursor, ftFixedChar, ftWideString, ftLargeint, ftADT, ftArray, ftReference, ftDataSet, ftOraBlob,
  ftOraClob, ftVariant, ftInterface, ftIDispatch, ftGuid, ftTimeStamp, ftFMTBcd
};

enum class TFilterOperandKind;
// The kind of value a data-set filter compares a field of DataType as.
TFilterOperandKind FilterOperandKindOf(TFieldType DataType);

enum TFieldKind { fkData, fkCalculated, fkLookup, fkInternalCalc, fkAggregate };

enum TDataSetState {
  dsInactive, dsBrowse, dsEdit, dsInsert, dsSetKey, dsCalcFields, dsFilter, dsNewValue, dsOldValue, dsCurValue,
  dsBlockRead, dsInternalCalc, dsOpening
};

enum TDataEvent {
  deFieldChange, deRecordChange, deDataSetChange, deDataSetScroll, deLayoutChange, deUpdateRecord, deUpdateState,
  deCheckBrowseMode, dePropertyChange, deFieldListChange, deFocusControl, deParentScroll, deConnectChange,
  deReconcileError, deDisabledStateChange
};

enum TLocateOption { loCaseInsensitive, loPartialKey };
using TLocateOptions = TSet<TLocateOption>;

// A bookmark names one row of one open data set; comparing two is O(1).
using TBookmarkStr = String;

using TDataSetNotifyEvent = std::function<void(TDataSet* DataSet)>;
using TFieldNotifyEvent = std::function<void(TField* Sender)>;
using TFieldGetTextEvent = std::function<void(TField* Sender, String& Text, bool DisplayText)>;
using TFieldSetTextEvent = std::function<void(TField* Sender, const String& Text)>;
using TDataChangeEvent = std::function<void(TObject* Sender, TField* Field)>;

bool InEditModes(TDataSetState State);  // edit, insert or set-key

// The next name of a ';'-separated field list from Pos (1-based, moved past the name).
String ExtractFieldName(const String& Fields, Integer& Pos);
[[noreturn]] void DatabaseError(const String& Message, TComponent* Component = nullptr);

// ---------------------------------------------------------------------------------------
// Fields

class TField : public TComponent {
public:
  explicit TField(TComponent* AOwner = nullptr);
  ~TField() override;

  TDataSet* DataSet() const { return FDataSet; }
  // Adds the field to the data set's fields (removing it from its previous one).
  void SetDataSet(TDataSet* Value);

  const String& FieldName() const { return FFieldName; }
  void SetFieldName(const String& Value) { FFieldName = Value; }
  TFieldKind FieldKind() const { return FFieldKind; }
  void SetFieldKind(TFieldKind Value) { FFieldKind = Value; }
  bool Calculated() const { return FFieldKind == fkCalculated; }
  bool Lookup() const { return FFieldKind == fkLookup; }
  TFieldType DataType() const { return FDataType; }
  Integer Size() const { return FSize; }
  void SetSize(Integer Value) { FSize = Value; }
  // Position among the data set's fields.
  Integer Index() const;
  // Moves the field to position Value among its data set's fields (clamped to the list);
  // the data links of an open data set hear of the new layout.
  void SetIndex(Integer Value);
  // 1-based column of a data field in the data set's result, 0 for other kinds.
  Integer FieldNo() const { return FFieldNo; }
  // The field's column in its data set's record store; -1 for fields the store does not
  // hold (calculated and lookup fields), which only Value reads.
  int StoreColumn() const { return FStoreColumn; }
  virtual bool IsBlob() const { return false; }

  String DisplayLabel() const { return FDisplayLabel.isEmpty() ? FFieldName : FDisplayLabel; }
  void SetDisplayLabel(const String& Value);
  String DisplayName() const { return DisplayLabel(); }
  Integer DisplayWidth() const { return FDisplayWidth > 0 ? FDisplayWidth : DefaultWidth(); }
  void SetDisplayWidth(Integer Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value) { FReadOnly = Value; }
  bool Required() const { return FRequired; }
  void SetRequired(bool Value) { FRequired = Value; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  const String& EditMask() const { return FEditMask; }
  void SetEditMask(const String& Value) { FEditMask = Value; }
  const String& Origin() const { return FOrigin; }
  void SetOrigin(const String& Value) { FOrigin = Value; }
  // The field may be written now: not read-only, and its data set can be modified
  // (calculated and lookup fields only while their values are being calculated).
  bool CanModify() const;
  // Whether typing Ch can make sense for the field's type.
  virtual bool IsValidChar(QChar Ch) const;

  // Lookup fields: KeyFields of this data set are looked up in LookupDataSet's
  // LookupKeyFields and LookupResultField is shown.
  const String& KeyFields() const { return FKeyFields; }
  void SetKeyFields(const String& Value) { FKeyFields = Value; }
  TDataSet* LookupDataSet() const { return FLookupDataSet; }
  void SetLookupDataSet(TDataSet* Value);
  const String& LookupKeyFields() const { return FLookupKeyFields; }
  void SetLookupKeyFields(const String& Value) { FLookupKeyFields = Value; }
  const String& LookupResultField() const { return FLookupResultField; }
  void SetLookupResultField(const String& Value) { FLookupResultField = Value; }

  // The current record's value; Null when there is none. Reading never raises for a null:
  // AsString gives "" and the numeric readers 0.
  Variant Value() const;
  void SetValue(const Variant& V);
  bool IsNull() const;
  void Clear() { SetValue(Variant::Null()); }
  String AsString() const { return GetAsString(); }
  void SetAsString(const String& V) { SetAsStringValue(V); }
  Integer AsInteger() const;
  void SetAsInteger(Integer V) { SetValue(Variant(V)); }
  double AsFloat() const;
  void SetAsFloat(double V) { SetValue(Variant(V)); }
  Currency AsCurrency() const;
  void SetAsCurrency(Currency V) { SetValue(Variant::FromCurrency(V)); }
  TDateTime AsDateTime() const;
  void SetAsDateTime(TDateTime V) { SetValue(Variant::FromDate(V)); }
  bool AsBoolean() const;
  void SetAsBoolean(bool V) { SetValue(Variant(V)); }
  Variant AsVariant() const { return Value(); }
  void SetAsVariant(const Variant& V) { SetValue(V); }

  // Edit text (EditFormat) and display text (DisplayFormat), through OnGetText when set.
  String Text() const;
  void SetText(const String& Value);
  String DisplayText() const;

  // Asks the data links to focus the control that shows this field.
  void FocusControl();

  TFieldGetTextEvent OnGetText;
  TFieldSetTextEvent OnSetText;
  TFieldNotifyEvent OnChange;
  TFieldNotifyEvent OnValidate;

protected:
  TField(TComponent* AOwner, TFieldType Type, Integer Size);
  virtual Integer DefaultWidth() const { return 10; }
  virtual String GetAsString() const;
  virtual void SetAsStringValue(const String& V);
  virtual void GetText(String& Text, bool DisplayText) const;
  // The Variant kind a value of this field has, from any value the caller gives.
  virtual Variant Coerce(const Variant& V) const { return V; }
  [[noreturn]] void ConvertError(const String& Text, const char* Kind) const;
  // Tells the links of an open data set: a layout change makes grids rebuild their
  // columns, anything else only repaints.
  void PropertyChanged(bool LayoutAffected);

private:
  friend class TDataSet;
  TDataSet* FDataSet = nullptr;
  TDataSet* FLookupDataSet = nullptr;
  String FFieldName;
  TFieldKind FFieldKind = fkData;
  TFieldType FDataType = ftUnknown;
  Integer FSize = 0;
  Integer FFieldNo = 0;
  int FStoreColumn = -1;  // data fields: column in the record store
  int FCalcIndex = -1;    // calculated and lookup fields: slot in the calculated values
  bool FDefault = false;  // made by the data set from its field definitions
  String FDisplayLabel;
  Integer FDisplayWidth = 0;
  TAlignment FAlignment = taLeftJustify;
  bool FReadOnly = false;
  bool FRequired = false;
  bool FVisible = true;
  String FEditMask;
  String FOrigin;
  String FKeyFields, FLookupKeyFields, FLookupResultField;
};

class TStringField : public TField {
public:
  explicit TStringField(TComponent* AOwner = nullptr) : TField(AOwner, ftString, 20) {}
  bool FixedChar() const { return FFixedChar; }
  void SetFixedChar(bool Value) { FFixedChar = Value; }
protected:
  TStringField(TComponent* AOwner, TFieldType Type, Integer Size) : TField(AOwner, Type, Size) {}
  Integer DefaultWidth() const override { return Size(); }
  Variant Coerce(const Variant& V) const override;
private:
  bool FFixedChar = false;
};

class TWideStringField : public TStringField {
public:
  explicit TWideStringField(TComponent* AOwner = nullptr) : TStringField(AOwner, ftWideString, 20) {}
};

class TNumericField : public TField {
public:
  const String& DisplayFormat() const { return FDisplayFormat; }
  void SetDisplayFormat(const String& Value);
  const String& EditFormat() const { return FEditFormat; }
  void SetEditFormat(const String& Value);
  bool IsValidChar(QChar Ch) const override;
protected:
  TNumericField(TComponent* AOwner, TFieldType Type);
  // The format for the text wanted, empty when none is set.
  const String& TextFormat(bool DisplayText) const;
private:
  String FDisplayFormat, FEditFormat;
};

class TIntegerField : public TNumericField {
public:
  explicit TIntegerField(TComponent* AOwner = nullptr) : TIntegerField(AOwner, ftInteger) {}
  Int64 MinValue() const { return FMinValue; }
  void SetMinValue(Int64 Value) { FMinValue = Value; }
  Int64 MaxValue() const { return FMaxValue; }
  void SetMaxValue(Int64 Value) { FMaxValue = Value; }
  bool IsValidChar(QChar Ch) const override;
protected:
  TIntegerField(TComponent* AOwner, TFieldType Type) : TNumericField(AOwner, Type) {}
  Integer DefaultWidth() const override { return 11; }
  void SetAsStringValue(const String& V) override;
  void GetText(String& Text, bool DisplayText) const override;
  Variant Coerce(const Variant& V) const override;
private:
  Int64 FMinValue = 0, FMaxValue = 0;
};

class TSmallintField : public TIntegerField {
public:
  explicit TSmallintField(TComponent* AOwner = nullptr) : TIntegerField(AOwner, ftSmallint) {}
protected:
  Integer DefaultWidth() const override { return 6; }
};

class TWordField : public TIntegerField {
public:
  explicit TWordField(TComponent* AOwner = nullptr) : TIntegerField(AOwner, ftWord) {}
protected:
  Integer DefaultWidth() const override { return 5; }
};

class TAutoIncField : public TIntegerField {
public:
  explicit TAutoIncField(TComponent* AOwner = nullptr) : TIntegerField(AOwner, ftAutoInc) {}
};

class TLargeintField : public TIntegerField {
public:
  explicit TLargeintField(TComponent* AOwner = nullptr) : TIntegerField(AOwner, ftLargeint) {}
protected:
  Integer DefaultWidth() const override { return 15; }
  Variant Coerce(const Variant& V) const override;
};

class TFloatField : public TNumericField {
public:
  explicit TFloatField(TComponent* AOwner = nullptr) : TFloatField(AOwner, ftFloat) {}
  bool Currency() const { return FCurrency; }
  void SetCurrency(bool Value) { FCurrency = Value; }
  Integer Precision() const { return FPrecision; }
  void SetPrecision(Integer Value) { FPrecision = Value < 2 ? 2 : (Value > 15 ? 15 : Value); }
  double MinValue() const { return FMinValue; }
  void SetMinValue(double Value) { FMinValue = Value; }
  double MaxValue() const { return FMaxValue; }
  void SetMaxValue(double Value) { FMaxValue = Value; }
protected:
  TFloatField(TComponent* AOwner, TFieldType Type) : TNumericField(AOwner, Type) {}
  void SetAsStringValue(const String& V) override;
  void GetText(String& Text, bool DisplayText) const override;
  Variant Coerce(const Variant& V) const override;
  bool FCurrency = false;
private:
  Integer FPrecision = 15;
  double FMinValue = 0, FMaxValue = 0;
};

class TCurrencyField : public TFloatField {
public:
  explicit TCurrencyField(TComponent* AOwner = nullptr) : TFloatField(AOwner, ftCurrency) { FCurrency = true; }
protected:
  Variant Coerce(const Variant& V) const override;
};

class TBCDField : public TFloatField {
public:
  explicit TBCDField(TComponent* AOwner = nullptr) : TFloatField(AOwner, ftBCD) {}
protected:
  Variant Coerce(const Variant& V) const override;
};

class TBooleanField : public TField {
public:
  explicit TBooleanField(TComponent* AOwner = nullptr) : TField(AOwner, ftBoolean, 0) {}
  // "TrueText;FalseText"
  const String& DisplayValues() const { return FDisplayValues; }
  void SetDisplayValues(const String& Value) { FDisplayValues = Value; }
protected:
  Integer DefaultWidth() const override { return 5; }
  String GetAsString() const override;
  void SetAsStringValue(const String& V) override;
  Variant Coerce(const Variant& V) const override;
private:
  String FDisplayValues = QStringLiteral("True;False");
};

class TDateTimeField : public TField {
public:
  explicit TDateTimeField(TComponent* AOwner = nullptr) : TDateTimeField(AOwner, ftDateTime) {}
  const String& DisplayFormat() const { return FDisplayFormat; }
  void SetDisplayFormat(const String& Value);
  bool IsValidChar(QChar) const override { return true; }
protected:
  TDateTimeField(TComponent* AOwner, TFieldType Type) : TField(AOwner, Type, 0) {}
  Integer DefaultWidth() const override { return 18; }
  String GetAsString() const override;
  void SetAsStringValue(const String& V) override;
  void GetText(String& Text, bool DisplayText) const override;
  Variant Coerce(const Variant& V) const override;
private:
  String FDisplayFormat;
};

class TDateField : public TDateTimeField {
public:
  explicit TDateField(TComponent* AOwner = nullptr) : TDateTimeField(AOwner, ftDate) {}
protected:
  Integer DefaultWidth() const override { return 10; }
};

class TTimeField : public TDateTimeField {
public:
  explicit TTimeField(TComponent* AOwner = nullptr) : TDateTimeField(AOwner, ftTime) {}
protected:
  Integer DefaultWidth() const override { return 8; }
};

class TBlobField : public TField {
public:
  explicit TBlobField(TComponent* AOwner = nullptr) : TBlobField(AOwner, ftBlob) {}
  bool IsBlob() const override { return true; }
  // The stored bytes (a picture, a document), unchanged by any text decoding.
  QByteArray AsBytes() const;
  // Stores the bytes as they are, where SetValue stores text; the data set must be editing.
  void SetAsBytes(const QByteArray& Value);
protected:
  TBlobField(TComponent* AOwner, TFieldType Type) : TField(AOwner, Type, 0) {}
  void GetText(String& Text, bool DisplayText) const override;
  Variant Coerce(const Variant& V) const override;
};

class TMemoField : public TBlobField {
public:
  explicit TMemoField(TComponent* AOwner = nullptr) : TBlobField(AOwner, ftMemo) {}
};

// The field class for a field type (TField for types without one of their own).
std::unique_ptr<TField> CreateFieldOfType(TFieldType Type, TComponent* Owner);

class TFields {
public:
  Integer Count() const { return Integer(FList.size()); }
  TField* Fields(Integer Index) const;
  TField* operator[](Integer Index) const { return Fields(Index); }
  // Names compare without case.
  TField* FindField(const String& Name) const;
  TField* FieldByName(const String& Name) const;
  Integer IndexOf(const TField* Field) const;
private:
  friend class TDataSet;
  friend class TField;
  explicit TFields(TDataSet* DataSet) : FDataSet(DataSet) {}
  TDataSet* FDataSet;
  std::vector<TField*> FList;
};

class TFieldDef {
public:
  TFieldDef(const String& Name, TFieldType DataType, Integer Size, bool Required)
      : FName(Name), FDataType(DataType), FSize(Size), FRequired(Required) {}
  const String& Name() const { return FName; }
  TFieldType DataType() const { return FDataType; }
  Integer Size() const { return FSize; }
  bool Required() const { return FRequired; }
  Integer FieldNo() const { return FFieldNo; }
private:
  friend class TFieldDefs;
  String FName;
  TFieldType FDataType;
  Integer FSize;
  bool FRequired;
  Integer FFieldNo = 0;
};

class TFieldDefs {
public:
  Integer Count() const { return Integer(FItems.size()); }
  TFieldDef* Items(Integer Index) const;
  TFieldDef* Find(const String& Name) const;  // raises when absent
  Integer IndexOf(const String& Name) const;  // without case; -1 when absent
  void Add(const String& Name, TFieldType DataType, Integer Size = 0, bool Required = false);
  void Clear() { FItems.clear(); }
private:
  std::vector<std::unique_ptr<TFieldDef>> FItems;
};

// ---------------------------------------------------------------------------------------
// Data sets

// The row field reads show, as the store holds it, for readers that take many values of a
// row at once (exports, totals) without a Variant for each: Store's cells of Row, in the
// fields' store columns.
struct TStoredRow {
  const RecordStore* Store = nullptr;
  TRowId Row = 0;
};

class TDataSet : public TComponent {
public:
  explicit TDataSet(TComponent* AOwner = nullptr);
  ~TDataSet() override;

  void Open() { SetActive(true); }
  void Close() { SetActive(false); }
  bool Active() const { return FState != dsInactive; }
  void SetActive(bool Value);
  TDataSetState State() const { return FState; }

  void First();
  void Last();
  void Next() { MoveBy(1); }
  void Prior() { MoveBy(-1); }
  // Moves the cursor up to Distance rows; returns the distance moved.
  Integer MoveBy(Integer Distance);
  bool Bof() const { return FBof; }
  bool Eof() const { return FEof; }
  bool IsEmpty() const;
  // 1-based position of the current record in the current sort and filter; -1 without one.
  Integer RecNo() const;
  void SetRecNo(Integer Value);
  Integer RecordCount() const;
  // Whether RecNo and RecordCount describe the records; data sets that cannot number
  // their records answer false.
  virtual bool IsSequenced() const { return true; }

  void Edit();
  void Insert();
  void Append();
  void Post();
  void Cancel();
  void Delete();
  bool Modified() const { return FModified; }
  virtual bool CanModify() const { return true; }
  // Asks the data links to write pending control values into the fields.
  void UpdateRecord();
  // Posts or cancels a pending edit so that the data set browses.
  void CheckBrowseMode();
  void CheckActive() const;

  TFields* Fields() const { return FFields.get(); }
  TFieldDefs* FieldDefs() const { return FFieldDefs.get(); }
  Integer FieldCount() const { return FFields->Count(); }
  TField* FieldByName(const String& Name) const { return FFields->FieldByName(Name); }
  TField* FindField(const String& Name) const { return FFields->FindField(Name); }
  // Fields named in a ';'-separated list, in list order; raises for an unknown name.
  void GetFieldList(std::vector<TField*>& List, const String& FieldNames) const;
  // True when no field was made by the program (all come from the field definitions).
  bool DefaultFields() const;
  // One field's value, or a Variant array for a ';'-separated list of several.
  Variant FieldValues(const String& FieldNames) const;
  void SetFieldValues(const String& FieldNames, const Variant& Value);
  // The bytes of Field in the row field reads show, as stored: a binary value survives,
  // where Value reads the bytes as UTF-8 text. Empty for a null value or without a row.
  QByteArray GetFieldBytes(const TField* Field) const;
  // The row field reads show; false when there is none.
  bool ReadStoredRow(TStoredRow& Row) const;
  // How the store holds a field with a store column (see TField::StoreColumn).
  TStoreKind StoredKind(const TField* Field) const { return FStore.Kind(Field->StoreColumn()); }
  // Writes Bytes into Field of the row being edited as they are (no text encoding); a
  // field not held as bytes takes them as UTF-8 text.
  void SetFieldBytes(TField* Field, const QByteArray& Bytes);

  bool Locate(const String& KeyFields, const Variant& KeyValues, TLocateOptions Options);
  // The ResultFields of the first row whose KeyFields equal KeyValues; Null when none.
  // The cursor does not move.
  Variant Lookup(const String& KeyFields, const Variant& KeyValues, const String& ResultFields);

  // Filter text (see DBFilter.h); applied while Filtered is set.
  const String& Filter() const { return FFilter; }
  void SetFilter(const String& Value);
  bool Filtered() const { return FFiltered; }
  void SetFiltered(bool Value);
  // "Field [ASC|DESC], ..." applied to the rows in memory; kept across close and open.
  const String& Sort() const { return FSort; }
  void SetSort(const String& Value);

  TBookmarkStr Bookmark() const;
  void SetBookmark(const TBookmarkStr& Value);
  bool BookmarkValid(const TBookmarkStr& Value) const;
  // Negative, 0 or positive by the rows' order in the data set; an empty bookmark sorts first.
  Integer CompareBookmarks(const TBookmarkStr& A, const TBookmarkStr& B) const;

  void DisableControls();
  void EnableControls();
  bool ControlsDisabled() const { return FDisableCount != 0; }

  // Sends Event to the data sources (and so to the data links).
  void DataEvent(TDataEvent Event, intptr_t Info);

  TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose, BeforeInsert, AfterInsert, BeforeEdit,
      AfterEdit, BeforePost, AfterPost, BeforeCancel, AfterCancel, BeforeDelete, AfterDelete, BeforeScroll,
      AfterScroll, OnNewRecord, OnCalcFields;

protected:
  // Descendants fill FieldDefs, call InitStore and add the rows (AddStoreRow and the
  // Store setters, one store column per field definition) here.
  virtual void InternalOpen() = 0;
  virtual void InternalClose() {}
  // Called before a posted row is kept: Inserted says whether it is a new row. Raising
  // keeps the data set in its edit state with the values entered.
  virtual void InternalPost(TRowId Row, bool Inserted) = 0;
  // Raising keeps the row.
  virtual void InternalDelete(TRowId Row) = 0;
  // A new row that was cancelled before it was ever posted.
  virtual void InternalForget(TRowId) {}

  RecordStore& Store() { return FStore; }
  const RecordStore& Store() const { return FStore; }
  static TStoreKind StoreKindOf(TFieldType Type);
  void InitStore();
  TRowId AddStoreRow();
  // Hidden rows (deleted rows, saved originals) exist in the store but never in the view.
  void SetHidden(TRowId Row, bool Value) { FHidden[Row] = Value; }
  bool IsHidden(TRowId Row) const { return FHidden[Row]; }
  // The row field reads show; false when there is none.
  bool CurrentRow(TRowId& Row) const { return Active() && ReadRow(Row); }
  // The values of the row being edited as they were when the edit began.
  std::optional<TRowId> EditSnapshot() const { return FSnapshot; }
  // After the descendant changed rows wholesale: rebuilds the view (sort and filter),
  // keeping the cursor on its row when that row is still shown, and tells the links.
  void RefreshView();
  // After the descendant changed values of shown rows: tells the links.
  void RefreshWindow();
  // Until the matching EndReadAt, field reads show the row at 0-based view position
  // Position; the cursor, the buffer window and the data links stay. Calls nest.
  void BeginReadAt(Integer Position);
  void EndReadAt();
  [[noreturn]] void Error(const String& Message) const { DatabaseError(Message, const_cast<TDataSet*>(this)); }

private:
  friend class TField;
  friend class TDataLink;
  friend class TDataSource;

  // Field values of the row being read: the calculation row, or the active window row.
  bool ReadRow(TRowId& Row) const;
  Variant GetFieldValue(const TField* Field) const;
  void SetFieldValue(TField* Field, const Variant& Value);
  // The checks of a field change, then Write on the edited row and the validation (a
  // rejected value is undone by Undo), then the change notifications.
  void ChangeStoredField(TField* Field, const std::function<void(TRowId)>& Write,
                         const std::function<void(TRowId)>& Undo);
  Variant StoreValue(TRowId Row, const TField* Field) const;
  void WriteStore(TRowId Row, const TField* Field, const Variant& Value);
  const std::vector<Variant>& CalcValues(TRowId Row) const;
  void CalculateRow(TRowId Row, std::vector<Variant>& Values) const;

  void AddField(TField* Field);
  void RemoveField(TField* Field);
  void BindFields();
  void DestroyDefaultFields();

  void DoOpen();
  void DoClose();
  void SetState(TDataSetState Value);
  void Fire(const TDataSetNotifyEvent& Event) { if (Event) Event(this); }
  void CheckCanModify() const;
  void CheckRequiredFields() const;

  // Buffer window.
  void SetBufferCount(Integer Value);
  void UpdateBufferCount();
  void ClearWindow();
  void FillWindowAround(Integer Position, Integer RowsAbove);
  Integer CursorPosition() const { return FFirst + FActiveRecord; }

  // Views: sort and filter.
  void BuildView();
  void ApplySortToView();
  bool RowPassesFilter(TRowId Row) const;
  void PrepareFilter();
  std::vector<std::pair<int, bool>> ParseSortText(const String& Text) const;
  Integer PositionOf(TRowId Row) const;
  void RemoveFromView(Integer Position);
  void InsertIntoView(Integer Position, TRowId Row);
  std::optional<TRowId> FindRow(const std::vector<TField*>& Keys, const Variant& Values, TLocateOptions Options) const;
  Variant ValueAt(TRowId Row, const TField* Field) const;
  bool DecodeBookmark(const TBookmarkStr& Value, TRowId& Row) const;
  void InsertRow(bool AtEnd);
  void Resync(Integer Position, bool Center);

  void AddDataSource(TDataSource* Source);
  void RemoveDataSource(TDataSource* Source);

  std::unique_ptr<TFields> FFields;
  std::unique_ptr<TFieldDefs> FFieldDefs;
  std::vector<std::unique_ptr<TField>> FDefaultFieldsOwned;
  std::vector<TDataSource*> FDataSources;
  RecordStore FStore;
  std::vector<TRowId> FView;
  mutable std::vector<int32_t> FPositionOfRow;  // row id -> view position, -1 when not shown
  mutable bool FPositionsValid = false;
  std::vector<bool> FHidden;
  Word FGeneration = 0;  // changes with every open, so old bookmarks stop matching

  TDataSetState FState = dsInactive;
  TDataSetState FDisableState = dsInactive;
  TDataEvent FEnableEvent = deDataSetChange;
  Integer FDisableCount = 0;
  bool FBof = true, FEof = true, FModified = false;
  Integer FBufferCount = 1, FFirst = 0, FRecordCount = 0, FActiveRecord = 0;

  std::optional<TRowId> FEditRow;   // the row being edited or inserted
  std::optional<TRowId> FSnapshot;  // its values before the edit began
  mutable std::optional<TRowId> FCalcRow;
  std::vector<TRowId> FReadAtRows;  // rows BeginReadAt shows, innermost last
  Integer FCalcCount = 0;
  mutable std::unordered_map<TRowId, std::vector<Variant>> FCalcCache;
  std::vector<Variant>* FCalcTarget = nullptr;

  String FFilter, FSort;
  bool FFiltered = false;
  std::unique_ptr<TFilterExpression> FFilterExpr;
  std::vector<std::pair<int, bool>> FSortKeys;  // store column, descending
};

// Keeps a data set's controls from following it for a scope: DisableControls now,
// EnableControls (which tells the controls what changed meanwhile) when the scope ends.
class TDisableControlsLock {
public:
  explicit TDisableControlsLock(TDataSet* DataSet) : FDataSet(DataSet) { FDataSet->DisableControls(); }
  TDisableControlsLock(const TDisableControlsLock&) = delete;
  TDisableControlsLock& operator=(const TDisableControlsLock&) = delete;
  ~TDisableControlsLock() noexcept(false) {
    auto enableControls = [this] { FDataSet->EnableControls(); };
    ScopeGuards::RunAtScopeEnd(enableControls, FUncaught);
  }
private:
  TDataSet* FDataSet;
  int FUncaught = std::uncaught_exceptions();
};

// ---------------------------------------------------------------------------------------
// Data sources and links

class TDataSource : public TComponent {
public:
  explicit TDataSource(TComponent* AOwner = nullptr);
  ~TDataSource() override;

  TDataSet* DataSet() const { return FDataSet; }
  void SetDataSet(TDataSet* Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  bool AutoEdit() const { return FAutoEdit; }
  void SetAutoEdit(bool Value) { FAutoEdit = Value; }
  TDataSetState State() const { return FState; }
  // Puts the data set into edit mode when AutoEdit allows and it is browsing.
  void Edit();

  TDataChangeEvent OnDataChange;
  TNotifyEvent OnStateChange;
  TNotifyEvent OnUpdateData;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  friend class TDataSet;
  friend class TDataLink;
  void DataEvent(TDataEvent Event, intptr_t Info);
  void UpdateState();
  void AddDataLink(TDataLink* Link);
  void RemoveDataLink(TDataLink* Link);

  TDataSet* FDataSet = nullptr;
  bool FEnabled = true;
  bool FAutoEdit = true;
  TDataSetState FState = dsInactive;
  std::vector<TDataLink*> FDataLinks;
};

class TDataLink : public TPersistent {
public:
  TDataLink() = default;
  ~TDataLink() override;
  TDataLink(const TDataLink&) = delete;
  TDataLink& operator=(const TDataLink&) = delete;

  TDataSource* DataSource() const { return FDataSource; }
  virtual void SetDataSource(TDataSource* Value);
  TDataSet* DataSet() const;
  bool DataSourceFixed() const { return FDataSourceFixed; }
  void SetDataSourceFixed(bool Value) { FDataSourceFixed = Value; }
  bool Active() const { return FActive; }
  bool Editing() const { return FEditing; }
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  bool VisualControl() const { return FVisualControl; }
  void SetVisualControl(bool Value) { FVisualControl = Value; }

  // Row of the window that field reads show; setting it never moves the data set's cursor.
  Integer ActiveRecord() const;
  void SetActiveRecord(Integer Value);
  Integer BufferCount() const { return FBufferCount; }
  void SetBufferCount(Integer Value);
  // Records in this link's window.
  Integer RecordCount() const;
  // Puts the data set into edit mode (unless the link is read-only); true when editing.
  bool Edit();
  void UpdateRecord();
  virtual Integer MoveBy(Integer Distance);

protected:
  friend class TDataSource;
  friend class TDataSet;
  virtual void ActiveChanged() {}
  virtual void CheckBrowseMode() {}
  virtual void DataEvent(TDataEvent Event, intptr_t Info);
  virtual void DataSetChanged() { RecordChanged(nullptr); }
  virtual void DataSetScrolled(Integer) { DataSetChanged(); }
  virtual void EditingChanged() {}
  virtual void FocusControl(TField*&) {}
  virtual void LayoutChanged() { DataSetChanged(); }
  virtual void RecordChanged(TField*) {}
  virtual void UpdateData() {}

private:
  void UpdateState();
  void SetActive(bool Value);
  void SetEditing(bool Value);
  void UpdateRange();
  // Moves this link's first row so that the cursor stays in its rows, within WindowRows.
  void KeepActiveInWindow(Integer WindowRows);

  TDataSource* FDataSource = nullptr;
  bool FDataSourceFixed = false;
  bool FActive = false;
  bool FEditing = false;
  bool FReadOnly = false;
  bool FUpdating = false;
  bool FVisualControl = false;
  Integer FBufferCount = 1;
  Integer FFirstRecord = 0;
};
