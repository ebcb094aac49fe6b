// The lookup list grid: binding its data side and list side, applying and choosing keys,
// keyboard, incremental search, mouse tracking with auto-scroll, sizing in whole rows, the
// special row, and the drop-down form of the grid.
#include "dbgrid/DBLookupGridX.h"
#include "grid/DropDownX.h"
#include "grid/LibraryRoutinesX.h"
#include "grid/SizeGripX.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/ScopeGuards.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/SystemColors.h"
#include <QWidget>

namespace {
// When the last search key of any lookup grid was typed.
Cardinal LastSearchTick = 0;

const char* const SPropDefByLookup = "Property already defined by lookup field";
const char* const SDataSourceFixed = "Operation not allowed in a DBCtrlGrid";
const char* const SFieldNotFound = "Field '%1' not found";

class TFlagOn {
public:
  explicit TFlagOn(bool& Flag) : FFlag(Flag), FSaved(Flag) { FFlag = true; }
  ~TFlagOn() { FFlag = FSaved; }
private:
  bool& FFlag;
  bool FSaved;
};

String JoinFieldNames(const TFieldsArrX& Fields) {
  QStringList names;
  for (TField* field : Fields) names << field->FieldName();
  return names.join(u';');
}

// A special-row cell text as it must be written into CellsText.
String QuoteCell(const String& Text) {
  if (!Text.contains(u';') && !Text.contains(u'"')) return Text;
  String quoted = Text;
  quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
  return u'"' + quoted + u'"';
}
}  // namespace

// ---- the column's drop-down grid

TPopupDataGridX* TColumnX::LookupGrid() const {
  if (!FLookupGrid) {
    FLookupGrid = std::make_unique<TPopupDataGridX>(nullptr);
    FLookupGrid->SetName(QStringLiteral("DataList"));
  }
  return FLookupGrid.get();
}

void TColumnX::ListSourceChanged(TComponent* Component) {
  if (Component && Grid()) Component->FreeNotification(Grid());
}

TDBLookupGridXOptions TColumnX::GetLookupOptions() const { return LookupGrid()->LookupOptions(); }
void TColumnX::SetLookupOptions(TDBLookupGridXOptions Value) { LookupGrid()->SetLookupOptions(Value); }

TCheckTitleXBtnEvent TColumnX::OnDropDownBoxCheckButton() const { return LookupGrid()->OnCheckButton; }
void TColumnX::SetOnDropDownBoxCheckButton(const TCheckTitleXBtnEvent& Value) { LookupGrid()->OnCheckButton = Value; }
TDrawColumnXCellEvent TColumnX::OnDropDownBoxDrawColumnCell() const { return LookupGrid()->OnDrawColumnCell; }
void TColumnX::SetOnDropDownBoxDrawColumnCell(const TDrawColumnXCellEvent& Value) {
  LookupGrid()->OnDrawColumnCell = Value;
}
TGetCellXParamsEvent TColumnX::OnDropDownBoxGetCellParams() const { return LookupGrid()->OnGetCellParams; }
void TColumnX::SetOnDropDownBoxGetCellParams(const TGetCellXParamsEvent& Value) {
  LookupGrid()->OnGetCellParams = Value;
}
TNotifyEvent TColumnX::OnDropDownBoxSortMarkingChanged() const { return LookupGrid()->OnSortMarkingChanged; }
void TColumnX::SetOnDropDownBoxSortMarkingChanged(const TNotifyEvent& Value) {
  LookupGrid()->OnSortMarkingChanged = Value;
}
TTitleXClickEvent TColumnX::OnDropDownBoxTitleBtnClick() const { return LookupGrid()->OnTitleBtnClick; }
void TColumnX::SetOnDropDownBoxTitleBtnClick(const TTitleXClickEvent& Value) { LookupGrid()->OnTitleBtnClick = Value; }

// ---- the column's drop-down box

void TColumnDropDownBoxX::SetListSource(TDataSource* Value) {
  if (Value == FListSource) return;
  FListSource = Value;
  if (FOwner) FOwner->ListSourceChanged(Value);
}

TDBGridColumnsX* TColumnDropDownBoxX::Columns() const { return FOwner ? FOwner->LookupGrid()->Columns() : nullptr; }

void TColumnDropDownBoxX::SetColumns(TDBGridColumnsX* Value) {
  if (FOwner) FOwner->LookupGrid()->Columns()->Assign(Value);
}

TColumnDefValuesX* TColumnDropDownBoxX::ColumnDefValues() const {
  return FOwner ? FOwner->LookupGrid()->ColumnDefValues() : nullptr;
}

void TColumnDropDownBoxX::SetColumnDefValues(TColumnDefValuesX* Value) {
  if (FOwner) FOwner->LookupGrid()->ColumnDefValues()->Assign(Value);
}

TDBLookupGridXOptions TColumnDropDownBoxX::Options() const {
  return FOwner ? FOwner->GetLookupOptions() : TDBLookupGridXOptions{};
}

void TColumnDropDownBoxX::SetOptions(TDBLookupGridXOptions Value) {
  if (FOwner) FOwner->SetLookupOptions(Value);
}

bool TColumnDropDownBoxX::SortLocal() const { return FOwner && FOwner->LookupGrid()->SortLocal(); }

void TColumnDropDownBoxX::SetSortLocal(bool Value) {
  if (FOwner) FOwner->LookupGrid()->SetSortLocal(Value);
}

bool TColumnDropDownBoxX::ColumnsStored() const {
  TDBGridColumnsX* columns = Columns();
  return columns && columns->Count() > 0 && columns->Items(0)->Stored();
}

void TColumnDropDownBoxX::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TColumnDropDownBoxX*>(Source);
  if (!source) {
    TPersistent::Assign(Source);
    return;
  }
  FAutoFitColWidths = source->FAutoFitColWidths;
  // Copying columns among themselves must not make a drop-down grid for every one of them:
  // a source without one has only the defaults to give.
  const bool sourceHasGrid = source->FOwner && source->FOwner->HasLookupGrid();
  if (sourceHasGrid) {
    SetColumnDefValues(source->ColumnDefValues());
    if (source->ColumnsStored()) SetColumns(source->Columns());
    else if (TDBGridColumnsX* columns = Columns()) columns->Clear();
    SetOptions(source->Options());
    SetSortLocal(source->SortLocal());
  } else if (FOwner && FOwner->HasLookupGrid()) {
    Columns()->Clear();
    SetOptions(TDBLookupGridXOptions{dlgColLinesX});
    SetSortLocal(false);
  }
  FUseMultiTitle = source->FUseMultiTitle;
  SetListSource(source->FListSource);
  FSpecRow->Assign(source->FSpecRow.get());
}

// ---- special-row cells

TGridColumnSpecCellX::TGridColumnSpecCellX(TColumnX* Column) : FColumn(Column), FFont(std::make_unique<TFont>()) {
  FFont->OnChange = [this](TObject*) {
    if (!FCopying) FFontAssigned = true;
  };
}

TGridColumnSpecCellX::~TGridColumnSpecCellX() { FFont->OnChange = nullptr; }

TSpecRowX* TGridColumnSpecCellX::GridSpecRow() const {
  auto* grid = dynamic_cast<TDBLookupGridX*>(FColumn ? FColumn->Grid() : nullptr);
  return grid ? grid->SpecRow() : nullptr;
}

String TGridColumnSpecCellX::Text() const {
  if (FTextAssigned) return FText;
  TSpecRowX* row = GridSpecRow();
  return row ? row->ReadCellText(FColumn->Index()) : FText;
}

void TGridColumnSpecCellX::SetText(const String& Value) {
  if (Value == Text()) return;
  FText = Value;
  FTextAssigned = true;
}

TColor TGridColumnSpecCellX::Color() const {
  if (FColorAssigned) return FColor;
  TSpecRowX* row = GridSpecRow();
  return row ? row->Color() : FColor;
}

void TGridColumnSpecCellX::SetColor(TColor Value) {
  if (Value == Color()) return;
  FColor = Value;
  FColorAssigned = true;
}

TFont* TGridColumnSpecCellX::Font() {
  TSpecRowX* row = GridSpecRow();
  if (!FFontAssigned && row && !(*row->Font() == *FFont)) {
    FCopying = true;
    FFont->Assign(row->Font());
    FCopying = false;
  }
  return FFont.get();
}

void TGridColumnSpecCellX::Assign(TPersistent* Source) {
  auto* other = dynamic_cast<TGridColumnSpecCellX*>(Source);
  if (!other) {
    TPersistent::Assign(Source);
    return;
  }
  SetText(other->Text());
  SetColor(other->Color());
  if (other->FFontAssigned) SetFont(other->FFont.get());
}

// ---- columns

TDBLookupGridColumnX::TDBLookupGridColumnX(TCollection* Collection)
    : TColumnX(Collection), FSpecCell(std::make_unique<TGridColumnSpecCellX>(this)) {}

TDBLookupGridColumnX::~TDBLookupGridColumnX() = default;

void TDBLookupGridColumnX::SetIndex(Integer Value) {
  auto* grid = dynamic_cast<TDBLookupGridX*>(Grid());
  const Integer old = Index();
  if (!grid || Value == old || Value < 0 || Value >= Collection()->Count()) {
    TColumnX::SetIndex(Value);
    return;
  }
  // The special row's cells travel with their columns.
  TSpecRowX* row = grid->SpecRow();
  if (row->CellCount() > old) {
    QStringList cells;
    for (Integer i = 0; i < std::max(row->CellCount(), Collection()->Count()); ++i) cells << row->ReadCellText(i);
    cells.move(old, Value);
    QStringList quoted;
    for (const String& cell : cells) quoted << QuoteCell(cell);
    while (!quoted.isEmpty() && quoted.last().isEmpty()) quoted.removeLast();
    row->SetCellsText(quoted.join(u';'));
  }
  if (grid->FColumnChanging || !grid->ListActive()) {
    TFlagOn changing(grid->FColumnChanging);
    TColumnX::SetIndex(Value);
    return;
  }
  grid->LockLayout();
  TScopeGuard unlock([grid] { grid->UnlockLayout(); });
  Integer listIndex = grid->ListFieldIndex();
  if (listIndex == old) listIndex = Value;
  else if (old < listIndex && Value >= listIndex) --listIndex;
  else if (old > listIndex && Value <= listIndex) ++listIndex;
  {
    TFlagOn changing(grid->FColumnChanging);
    TColumnX::SetIndex(Value);
  }
  QStringList names;
  for (Integer i = 0; i < Collection()->Count(); ++i)
    names << static_cast<TColumnX*>(Collection()->Items(i))->FieldName();
  grid->FListFieldIndex = listIndex;
  grid->SetListField(names.join(u';'));
}

void TDBLookupGridColumnX::SetWidth(Integer Value) {
  auto* grid = dynamic_cast<TDBLookupGridX*>(Grid());
  if (!grid) {
    TColumnX::SetWidth(Value);
    return;
  }
  TFlagOn changing(grid->FColumnChanging);
  TColumnX::SetWidth(Value);
}

// ---- data side link

void TLookupGridDataLinkX::ActiveChanged() { FGrid->BindDataFields(); }

void TLookupGridDataLinkX::LayoutChanged() { FGrid->BindDataFields(); }

void TLookupGridDataLinkX::RecordChanged(TField* Field) { FGrid->DataSideRecordChanged(Field); }

void TLookupGridDataLinkX::FocusControl(TField*& Field) {
  if (!Field || FGrid->KeyDataFields().empty() || Field != FGrid->KeyDataFields().front()) return;
  if (FGrid->CanFocus()) {
    FGrid->SetFocus();
    Field = nullptr;
  }
}

// ---- the grid

TDBLookupGridX::TDBLookupGridX(TComponent* AOwner)
    : TCustomDBGridX(AOwner),
      FDataSideLink(std::make_unique<TLookupGridDataLinkX>(this)),
      FInternalListSource(std::make_unique<TDataSource>(nullptr)),
      FSpecRow(std::make_unique<TSpecRowX>(this)) {
  RemakeColumnObjects();
  FSpecRow->OnChanged = [this](TSpecRowX*) { SpecRowChanged(); };
  SetParentColor(false);
  SetOptions(TDBGridOptions{dgColLines, dgRowSelect});
  SetOptionsX(OptionsX() + TDBGridXOptions{dghTraceColSizing});
  SetTabStop(false);
  SetFlat(true);
  SetDrawMemoText(true);
  TCustomDBGridX::SetAutoFitColWidths(false);
  SetVTitleMargin(5);
  FScrollTimer = new TTimer(this);
  FScrollTimer->SetEnabled(false);
  FScrollTimer->OnTimer = [this](TObject*) { AutoScrollTick(); };
}

TDBLookupGridX::~TDBLookupGridX() {
  FSpecRow->OnChanged = nullptr;
  FDataSideLink->SetDataSource(nullptr);
}

std::unique_ptr<TColumnDefValuesX> TDBLookupGridX::CreateColumnDefValues() {
  return std::make_unique<TDBLookupGridColumnDefValuesX>(this);
}

std::unique_ptr<TDBGridColumnsX> TDBLookupGridX::CreateColumns() {
  return std::make_unique<TDBGridColumnsX>(this, ItemClassOf<TDBLookupGridColumnX>());
}

void TDBLookupGridX::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomDBGridX::Notification(AComponent, Operation);
  if (Operation == opRemove && FDataSideLink && AComponent == FDataSideLink->DataSource()) SetDataSource(nullptr);
}

// ---- properties

void TDBLookupGridX::SetDataSource(TDataSource* Value) {
  if (ComponentState().Contains(csLoading) && FDataSideLink->DataSourceFixed()) return;
  FDataSideLink->SetDataSource(Value);
  if (Value) Value->FreeNotification(this);
}

void TDBLookupGridX::SetDataField(const String& Value) {
  if (Value == FDataField) return;
  FDataField = Value;
  BindDataFields();
}

void TDBLookupGridX::SetListSource(TDataSource* Value) {
  if (FLookupMode) throw EDatabaseError(QString::fromLatin1(SPropDefByLookup));
  if (FDataSideLink->DataSourceFixed()) throw EDatabaseError(QString::fromLatin1(SDataSourceFixed));
  TCustomDBGridX::SetDataSource(Value);
}

void TDBLookupGridX::SetKeyField(const String& Value) {
  if (FLookupMode) throw EDatabaseError(QString::fromLatin1(SPropDefByLookup));
  if (FDataSideLink->DataSourceFixed()) throw EDatabaseError(QString::fromLatin1(SDataSourceFixed));
  if (Value == FKeyField) return;
  FKeyField = Value;
  BindListFields();
  FitToColumns();
}

void TDBLookupGridX::SetListField(const String& Value) {
  if (Value == FListField) return;
  FListField = Value;
  BindListFields();
  FitToColumns();
}

void TDBLookupGridX::SetListFieldIndex(Integer Value) {
  if (Value == FListFieldIndex) return;
  FListFieldIndex = Value;
  BindListFields();
}

void TDBLookupGridX::SetKeyValue(const Variant& Value) {
  if (VariantValuesEqual(Value, FKeyValue) && Value.IsNull() == FKeyValue.IsNull()) return;
  FKeyValue = Value;
  ApplyKeyValue();
}

String TDBLookupGridX::KeyDisplayText() const {
  if (FSpecRow->Selected) return FSpecRow->ReadCellText(FListFieldIndex);
  if (!FListFieldObject || !FListActive || FKeyValue.IsNull()) return String();
  TDataSet* list = ListDataSet();
  try {
    const Variant text = list->Lookup(FKeyField, FKeyValue, FListFieldObject->FieldName());
    return text.IsNull() ? String() : text.AsString();
  } catch (const Exception&) {
    return String();
  }
}

TDBLookupGridXOptions TDBLookupGridX::LookupOptions() const {
  TDBLookupGridXOptions result;
  if (Options().Contains(dgColumnResize)) result.Include(dlgColumnResizeX);
  if (Options().Contains(dgColLines)) result.Include(dlgColLinesX);
  if (Options().Contains(dgRowLines)) result.Include(dlgRowLinesX);
  if (OptionsX().Contains(dghAutoSortMarking)) result.Include(dlgAutoSortMarkingX);
  if (OptionsX().Contains(dghMultiSortMarking)) result.Include(dlgMultiSortMarkingX);
  return result;
}

void TDBLookupGridX::SetLookupOptions(TDBLookupGridXOptions Value) {
  TDBGridOptions options = Options() - TDBGridOptions{dgColumnResize, dgColLines, dgRowLines};
  if (Value.Contains(dlgColumnResizeX)) options.Include(dgColumnResize);
  if (Value.Contains(dlgColLinesX)) options.Include(dgColLines);
  if (Value.Contains(dlgRowLinesX)) options.Include(dgRowLines);
  SetOptions(options);
  TDBGridXOptions optionsX = OptionsX() - TDBGridXOptions{dghAutoSortMarking, dghMultiSortMarking};
  if (Value.Contains(dlgAutoSortMarkingX)) optionsX.Include(dghAutoSortMarking);
  if (Value.Contains(dlgMultiSortMarkingX)) optionsX.Include(dghMultiSortMarking);
  SetOptionsX(optionsX);
}

// ---- sizes

Integer TDBLookupGridX::FrameSize() { return HandleAllocated() ? Height() - ClientHeight() : 0; }

Integer TDBLookupGridX::ListRowHeight() {
  return StdRowHeightOf() + (Options().Contains(dgRowLines) ? GridLineWidth() : 0);
}

Integer TDBLookupGridX::SpecRowHeight() { return ListRowHeight(); }

Integer TDBLookupGridX::SpecRowShownHeight() { return FSpecRow->Visible() ? SpecRowHeight() : 0; }

Integer TDBLookupGridX::TitleAreaHeight() const { return Options().Contains(dgTitles) ? TitleRowHeight() : 0; }

void TDBLookupGridX::SetRowCount(Integer Value) {
  const Integer rows = std::clamp<Integer>(Value, 1, MaxRowCount);
  const Integer line = Options().Contains(dgRowLines) ? GridLineWidth() : 0;
  const Integer height = TitleAreaHeight() + line + rows * StdRowHeightOf() + rows * line + FrameSize() +
                         SpecRowShownHeight();
  FRowCount = rows;
  SetBounds(Left(), Top(), Width(), height);
}

void TDBLookupGridX::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  if (!FSpecRow) {
    TCustomDBGridX::SetBounds(ALeft, ATop, AWidth, AHeight);
    return;
  }
  const Integer specRowHeight = SpecRowShownHeight();
  const Integer rowHeight = std::max<Integer>(ListRowHeight(), 1);
  const Integer rows = std::max<Integer>(1, (AHeight - FrameSize() - TitleAreaHeight() - specRowHeight) / rowHeight);
  FRowCount = std::min(rows, MaxRowCount);
  const Integer height = TitleAreaHeight() + FrameSize() + rowHeight * FRowCount + specRowHeight +
                         (Options().Contains(dgRowLines) ? GridLineWidth() : 0);
  TCustomDBGridX::SetBounds(ALeft, ATop, AWidth, height);
}

// The window's frame counts in the height, and the rows are laid out for the window's size.
void TDBLookupGridX::CreateWnd() {
  TCustomDBGridX::CreateWnd();
  SetRowCount(FRowCount);
  UpdateRowCount();
}

void TDBLookupGridX::SetShowTitles(bool Value) {
  TDBGridOptions options = Options();
  if (Value) options.Include(dgTitles);
  else options.Exclude(dgTitles);
  SetOptions(options);
  SetBounds(Left(), Top(), Width(), ListRowHeight() * FRowCount + FrameSize() + TitleAreaHeight() + SpecRowShownHeight());
}

void TDBLookupGridX::SetAutoFitColWidths(bool Value) {
  if (Value == FListAutoFit) return;
  FListAutoFit = Value;
  HorzScrollBar()->SetVisible(!Value);
  SetRowCount(FRowCount);
  UpdateVertScrollBar();
  FitToColumns();
}

void TDBLookupGridX::FitToColumns() {
  if (FColumnChanging) return;
  TFlagOn changing(FColumnChanging);
  TCustomDBGridX::SetAutoFitColWidths(FListAutoFit);
  SetRowCount(FRowCount);
}

Integer TDBLookupGridX::ColumnsWidth() {
  Integer width = 0;
  for (Integer i = 0; i < Columns()->Count(); ++i) {
    TColumnX* column = Columns()->Items(i);
    if (!column->Visible()) continue;
    width += column->Width();
    if (Options().Contains(dgColLines)) width += GridLineWidth();
  }
  return width;
}

TRect TDBLookupGridX::DataAreaRect() {
  const Integer top = TitleAreaHeight();
  return TRect(0, top, ClientWidth(), top + SpecRowShownHeight() + FRowCount * ListRowHeight());
}

Integer TDBLookupGridX::UnderTitleRowCount() const {
  return TCustomDBGridX::UnderTitleRowCount() + (FSpecRow && FSpecRow->Visible() ? 1 : 0);
}

// ---- binding

void TDBLookupGridX::BindDataFields() {
  FKeyDataFields.clear();
  FDataFields.clear();
  FKeyDataFieldNames.clear();
  TDataSet* dataSet = FDataSideLink->DataSet();
  if (FDataSideLink->Active() && !FDataField.isEmpty()) {
    ResolveFieldsArray(dataSet, this, FDataField, FDataFields);
    if (FDataFields.size() == 1 && FDataFields.front()->Lookup())
      ResolveFieldsArray(dataSet, this, FDataFields.front()->KeyFields(), FKeyDataFields);
    else
      FKeyDataFields = FDataFields;
    FKeyDataFieldNames = JoinFieldNames(FKeyDataFields);
  }
  const bool lookupMode = FDataFields.size() == 1 && FDataFields.front()->Lookup();
  if (lookupMode != FLookupMode) {
    FLookupMode = lookupMode;
    if (lookupMode) {
      TField* field = FDataFields.front();
      FInternalListSource->SetDataSet(field->LookupDataSet());
      FKeyField = field->LookupKeyFields();
      TCustomDBGridX::SetDataSource(FInternalListSource.get());
    } else {
      TCustomDBGridX::SetDataSource(nullptr);
      FKeyField.clear();
      FInternalListSource->SetDataSet(nullptr);
    }
  }
  DataSideRecordChanged(nullptr);
}

void TDBLookupGridX::DataSideRecordChanged(TField* Field) {
  if (Field && std::find(FKeyDataFields.begin(), FKeyDataFields.end(), Field) == FKeyDataFields.end()) return;
  if (FKeyDataFields.empty() || !FDataSideLink->Active()) SetKeyValue(Variant::Null());
  else SetKeyValue(FDataSideLink->DataSet()->FieldValues(FKeyDataFieldNames));
}

void TDBLookupGridX::BindListFields() {
  FListActive = false;
  FListFieldObject = nullptr;
  FListFields.clear();
  TScopeGuard finish([this] {
    if (FListActive) ApplyKeyValue();
    else RefreshListWindow();
  });
  TDataSet* list = ListDataSet();
  const auto resolve = [&] {
    ResolveFieldsArray(list, this, FKeyField, FKeyFields);
    FListFields.clear();
    try {
      list->GetFieldList(FListFields, FListField);
    } catch (const EDatabaseError&) {
      throw EDatabaseError(QString::fromLatin1(SFieldNotFound).arg(FListField));
    }
    if (FLookupMode) {
      FListFieldObject = list->FindField(FDataFields.front()->LookupResultField());
      if (FListFieldObject && std::find(FListFields.begin(), FListFields.end(), FListFieldObject) == FListFields.end())
        FListFields.insert(FListFields.begin(), FListFieldObject);
    } else {
      if (FListFields.empty()) FListFields = FKeyFields;
      const bool inRange = FListFieldIndex >= 0 && FListFieldIndex < Integer(FListFields.size());
      FListFieldObject = FListFields.empty() ? nullptr : FListFields[size_t(inRange ? FListFieldIndex : 0)];
    }
  };
  if (GridDataLink()->Active() && !FKeyField.isEmpty()) {
    resolve();
    FListActive = true;
  }
  if (FLookupMode) FKeyField = FDataFields.front()->LookupKeyFields();
  if (GridDataLink()->Active() && !FKeyField.isEmpty()) resolve();
  RequestLayout();
}

// ---- keys of the list

Variant TDBLookupGridX::CurrentListKey() const {
  TDataSet* list = ListDataSet();
  return list ? list->FieldValues(FKeyField) : Variant::Null();
}

bool TDBLookupGridX::LocateKeyRecord() {
  TDataSet* list = ListDataSet();
  if (FKeyValue.IsNull() || !list || !list->Active()) return false;
  const Variant saved = FKeyValue;
  bool found = false;
  try {
    found = list->Locate(FKeyField, FKeyValue, {});
  } catch (const Exception&) {
    found = false;
  }
  FKeyValue = saved;
  return found;
}

void TDBLookupGridX::ApplyKeyValue() {
  if (FSpecRow->Visible()) {
    FSpecRow->Selected = VariantValuesEqual(FKeyValue, FSpecRow->Value()) &&
                         FKeyValue.IsNull() == FSpecRow->Value().IsNull();
    if (!FChoosing && !FSpecRow->Selected && FSpecRow->ShowIfNotInKeyList()) {
      if (LocateKeyRecord()) RefreshListWindow();
      else FSpecRow->Selected = true;
    }
  } else {
    FSpecRow->Selected = false;
  }
  if (FListActive && !FChoosing) {
    if (!LocateKeyRecord() && !FSpecRow->Selected) ListDataSet()->First();
    RefreshListWindow();
  }
  FDisplayText = KeyDisplayText();
  Invalidate();
}

void TDBLookupGridX::RefreshListWindow() {
  if (FRefreshing) return;
  TFlagOn refreshing(FRefreshing);
  if (FListActive) {
    FWinRecIndex = GridDataLink()->ActiveRecord();
    FWinRecCount = GridDataLink()->RecordCount();
  } else {
    FWinRecIndex = FWinRecCount = 0;
  }
  if (HandleAllocated()) {
    UpdateVertScrollBar();
    FollowActiveRecord();
    Invalidate();
  }
}

Integer TDBLookupGridX::KeyRecordIndex() {
  if (FKeyValue.IsNull() || !FListActive) return -1;
  TGridDataLinkX* link = GridDataLink();
  const Integer saved = link->ActiveRecord();
  Integer found = -1;
  for (Integer row = 0; row < link->RecordCount() && found < 0; ++row) {
    link->SetActiveRecord(row);
    const Variant key = CurrentListKey();
    if (VariantValuesEqual(key, FKeyValue) && !key.IsNull()) found = row;
  }
  link->SetActiveRecord(saved);
  return found;
}

void TDBLookupGridX::FollowActiveRecord() {
  StopIncSearch();
  FFocusShown = false;
  if (!FListActive || !HandleAllocated() || ComponentState().Contains(csLoading)) return;
  const Integer index = KeyRecordIndex();
  if (index < 0) return;
  const Integer row = index + HeaderRowCount();
  if (row != Row() && row < TCustomGridX::RowCount()) {
    if (!Options().Contains(dgAlwaysShowEditor)) HideInplaceEditor();
    MoveToCell(std::max(Col(), FixedCols()), row, false, false, false);
    Invalidate();
  }
  FFocusShown = true;
}

bool TDBLookupGridX::CanChangeKey() {
  if (!FListActive || FDataSideLink->ReadOnly()) return false;
  if (!FDataSideLink->DataSource()) return true;
  if (FKeyDataFields.empty()) return false;
  for (TField* field : FKeyDataFields)
    if (!field->CanModify() && !(FDataSideLink->DataSet() && FDataSideLink->DataSet()->CanModify())) return false;
  return true;
}

void TDBLookupGridX::ChooseKeyValue(const Variant& Value) {
  if (FKeyDataFields.empty()) {
    SetKeyValue(Value);
  } else if (FDataSideLink->Edit()) {
    AssignFieldValues(FDataSideLink->DataSet(), FKeyDataFieldNames, Value);
  }
  FollowActiveRecord();
  Repaint();
  if (OnClick) OnClick(this);
}

void TDBLookupGridX::ChooseCurrentRecord() {
  TFlagOn choosing(FChoosing);
  const Variant key = CurrentListKey();
  if (!VariantValuesEqual(key, FKeyValue) || key.IsNull() != FKeyValue.IsNull()) ChooseKeyValue(key);
}

void TDBLookupGridX::ChooseSpecRow() {
  {
    TFlagOn choosing(FChoosing);
    const Variant value = FSpecRow->Value();
    if (!VariantValuesEqual(value, FKeyValue) || value.IsNull() != FKeyValue.IsNull()) ChooseKeyValue(value);
  }
  FSpecRow->Selected = true;
  FDisplayText = KeyDisplayText();
  FFocusShown = false;
  Invalidate();
}

void TDBLookupGridX::ChooseAt(Integer X, Integer Y) {
  const Integer title = TitleAreaHeight();
  const Integer specRowHeight = SpecRowShownHeight();
  if (FSpecRow->Visible() && Y > title && Y <= title + specRowHeight) {
    ChooseSpecRow();
    return;
  }
  if (Y < title + specRowHeight || !FListActive) return;
  Y = std::min(Y, ClientHeight() - 1);
  const TGridCoord cell = CellAtPoint(X, Y);
  if (cell.Y < HeaderRowCount() || cell.Y >= TCustomGridX::RowCount()) return;
  ListDataSet()->MoveBy(cell.Y - HeaderRowCount() - FWinRecIndex);
  FWinRecIndex = GridDataLink()->ActiveRecord();
  ChooseCurrentRecord();
}

void TDBLookupGridX::KeyDown(Word& Key, TShiftState Shift) {
  if (!CanChangeKey()) {
    TCustomDBGridX::KeyDown(Key, Shift);
    return;
  }
  const Integer page = std::max<Integer>(1, TCustomGridX::RowCount() - HeaderRowCount());
  Integer step = 0;
  bool home = false, end = false;
  switch (Key) {
    case VK_PRIOR: step = -page; break;
    case VK_NEXT: step = page; break;
    case VK_END: end = true; break;
    case VK_HOME: home = true; break;
    case VK_LEFT:
    case VK_RIGHT:
      if (!FListAutoFit) {
        TCustomDBGridX::KeyDown(Key, Shift);
        return;
      }
      step = Key == VK_LEFT ? -1 : 1;
      break;
    case VK_UP: step = -1; break;
    case VK_DOWN: step = 1; break;
    default: TCustomDBGridX::KeyDown(Key, Shift); return;
  }
  Key = 0;
  FSearchText.clear();
  TDataSet* list = ListDataSet();
  const bool specShown = FSpecRow->Visible();
  if (step < 0 && specShown && (list->Bof() || FSpecRow->Selected)) {
    ChooseSpecRow();
    list->First();
    return;
  }
  if ((step > 0 && FSpecRow->Selected) || home) {
    list->First();
  } else if (end) {
    list->Last();
  } else {
    const Integer index = KeyRecordIndex();
    if (index < 0) {
      ApplyKeyValue();
      step = 0;
    } else {
      list->MoveBy(index - GridDataLink()->ActiveRecord());
    }
    const Integer moved = step == 0 ? 0 : list->MoveBy(step);
    if (moved == 0 && step < 0 && specShown && !FSpecRow->Selected) {
      ChooseSpecRow();
      return;
    }
  }
  ChooseCurrentRecord();
}

void TDBLookupGridX::KeyPress(QChar& Key) {
  SearchKeyPressed(Key);
  TCustomDBGridX::KeyPress(Key);
}

void TDBLookupGridX::SearchKeyPressed(QChar Key) {
  TField* field = FListFieldObject;
  if (!field || !(field->FieldKind() == fkData || field->FieldKind() == fkInternalCalc) ||
      (field->DataType() != ftString && field->DataType() != ftWideString))
    return;
  if (Key == u'\b' || Key.unicode() == 27) {
    FSearchText.clear();
    return;
  }
  if (Key.unicode() < 32 || !CanChangeKey()) return;
  const Cardinal now = GetTickCount();
  if (now - LastSearchTick > SearchRestartInterval) FSearchText.clear();
  LastSearchTick = now;
  if (FSearchText.length() >= MaxSearchLength) return;
  const String candidate = FSearchText + Key;
  try {
    if (ListDataSet()->Locate(field->FieldName(), Variant(candidate), TLocateOptions{loCaseInsensitive, loPartialKey}))
      ChooseKeyValue(CurrentListKey());
  } catch (const Exception&) {
    // A list that cannot search keeps the text typed so far.
  }
  FSearchText = candidate;
}

// ---- mouse

void TDBLookupGridX::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  const TGridCoord cell = CellAtPoint(X, Y);
  const Integer header = HeaderRowCount();
  const bool specRowHit = FSpecRow->Visible() && cell.Y == header - 1 && Y > TitleAreaHeight();
  const bool dataHit = cell.Y >= header && cell.Y < TCustomGridX::RowCount() && cell.X >= 0;
  if (!dataHit && !specRowHit) {
    TCustomDBGridX::MouseDown(Button, Shift, X, Y);
    return;
  }
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
  if (Button != mbLeft) return;
  FSearchText.clear();
  if (CanFocus() && !Focused()) {
    SetFocus();
    if (!Focused()) return;
  }
  if (!CanChangeKey()) return;
  if (Shift.Contains(ssDouble) && cell.Y == FWinRecIndex + header) {
    DblClick();
    return;
  }
  SetMouseCapture(true);
  FTracking = true;
  if (Y > TitleAreaHeight()) ChooseAt(X, Y);
}

// Moves and releases that do not follow a press on the list (title buttons, column sizing)
// are the base grid's.
void TDBLookupGridX::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  if (!FTracking) {
    TCustomDBGridX::MouseMove(Shift, X, Y);
    return;
  }
  ChooseAt(X, Y);
  FLastTrackY = Y;
  AutoScrollTick();
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TDBLookupGridX::StopTracking() {
  FTracking = false;
  FScrollTimer->SetEnabled(false);
  SetMouseCapture(false);
}

void TDBLookupGridX::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (!FTracking) {
    TCustomDBGridX::MouseUp(Button, Shift, X, Y);
    return;
  }
  StopTracking();
  if (Y > TitleAreaHeight()) ChooseAt(X, Y);
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

Cardinal TDBLookupGridX::AutoScrollInterval() const { return FScrollTimer->Enabled() ? FScrollTimer->Interval() : 0; }

void TDBLookupGridX::AutoScrollTick() {
  Integer distance = 0, direction = 0;
  if (FLastTrackY < 0) {
    direction = -1;
    distance = -FLastTrackY;
  } else if (FLastTrackY >= ClientHeight()) {
    direction = 1;
    distance = FLastTrackY - ClientHeight() + 1;
  }
  if (direction == 0 || !FListActive) {
    FScrollTimer->SetEnabled(false);
    return;
  }
  TDataSet* list = ListDataSet();
  if (FSpecRow->Visible() && direction < 0 && list->Bof()) ChooseSpecRow();
  else if (list->MoveBy(direction) != 0) ChooseCurrentRecord();
  // A far drag scrolls fast, but never in a busy loop.
  FScrollTimer->SetInterval(Cardinal(std::max<Integer>(10, 200 - 15 * distance)));
  FScrollTimer->SetEnabled(true);
}

bool TDBLookupGridX::DoMouseWheelDown(TShiftState, TPoint) {
  if (FListActive) ListDataSet()->MoveBy(FWinRecCount - FWinRecIndex);
  return true;
}

bool TDBLookupGridX::DoMouseWheelUp(TShiftState, TPoint) {
  if (FListActive) ListDataSet()->MoveBy(-(FWinRecIndex + 1));
  return true;
}

// ---- reactions of the grid

void TDBLookupGridX::HandleLinkActiveChange(bool Active) {
  if (ComponentState().Contains(csDestroying)) return;
  BindListFields();
  TCustomDBGridX::HandleLinkActiveChange(Active);
  FitToColumns();
}

void TDBLookupGridX::HandleDataSetChange() {
  TCustomDBGridX::HandleDataSetChange();
  RefreshListWindow();
}

void TDBLookupGridX::UpdateRowCount() {
  if (FRefreshing) {
    TCustomDBGridX::UpdateRowCount();
    return;
  }
  TFlagOn refreshing(FRefreshing);
  TCustomDBGridX::UpdateRowCount();
  if (FListActive) {
    FWinRecIndex = GridDataLink()->ActiveRecord();
    FWinRecCount = GridDataLink()->RecordCount();
  }
}

void TDBLookupGridX::ScrollByRecords(Integer Distance) {
  LockUpdates();
  {
    TScopeGuard unlock([this] { UnlockUpdates(); });
    TCustomDBGridX::ScrollByRecords(Distance);
  }
  RefreshListWindow();
}

void TDBLookupGridX::MapDataFields() {
  if (Columns()->IsCustomized()) {
    TCustomDBGridX::MapDataFields();
    return;
  }
  GridDataLink()->SetSparseMap(false);
  for (TField* field : FListFields) GridDataLink()->AddMapping(field->FieldName());
}

void TDBLookupGridX::CollectShownFields(std::vector<TField*>& List) {
  List.insert(List.end(), FListFields.begin(), FListFields.end());
}

void TDBLookupGridX::SpecRowChanged() {
  if (!ComponentState().Contains(csLoading)) Invalidate();
}

// The key's record shows in the highlight colours.
void TDBLookupGridX::FireGetCellParams(TColumnX* Column, TFont* AFont, TColor& Background, TGridDrawState State) {
  if (FListActive && !FKeyValue.IsNull() && !FSpecRow->Selected) {
    const Variant key = CurrentListKey();
    if (VariantValuesEqual(key, FKeyValue) && !key.IsNull()) {
      Background = clHighlight;
      AFont->SetColor(clHighlightText);
    }
  }
  TCustomDBGridX::FireGetCellParams(Column, AFont, Background, State);
}

void TDBLookupGridX::PaintUnderTitleCell(Integer ACol, Integer ARow, Integer DataCol, TRect R, TGridDrawState State) {
  if (!FSpecRow->Visible() || ARow != HeaderRowCount() - 1 || DataCol < 0 || DataCol >= Columns()->Count()) {
    TCustomDBGridX::PaintUnderTitleCell(ACol, ARow, DataCol, R, State);
    return;
  }
  auto* column = dynamic_cast<TDBLookupGridColumnX*>(Columns()->Items(DataCol));
  TCanvas* canvas = Canvas();
  canvas->Font()->Assign(column ? column->SpecCell()->Font() : FSpecRow->Font());
  TColor background = column ? column->SpecCell()->Color() : FSpecRow->Color();
  if (FSpecRow->Selected) {
    background = clHighlight;
    canvas->Font()->SetColor(clHighlightText);
  }
  canvas->Brush()->SetColor(background);
  canvas->FillRect(R);
  const String text = column ? column->SpecCell()->Text() : FSpecRow->ReadCellText(DataCol);
  TAlignment alignment = Columns()->Items(DataCol)->Alignment();
  if (RightToLeft()) alignment = alignment == taLeftJustify ? taRightJustify : alignment == taRightJustify ? taLeftJustify : alignment;
  WriteCellText(R, 2, 2, text, alignment, tlTop, false, false);
  if (FSpecRow->Selected) {
    canvas->Font()->SetColor(clWindowText);
    canvas->Brush()->SetColor(clWindow);
    TRect row = R;
    row.Left = 0;
    row.Right = ClientWidth();
    DrawFocusRect(canvas, row);
  }
}

// ---- the drop-down form

TPopupDataGridX::TPopupDataGridX(TComponent* AOwner) : TDBLookupGridX(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyle{csNoDesignVisible});
  FSizeGrip = new TSizeGripX(this);
  FSizeGrip->SetTriangular(true);
  FSizeGrip->SetParent(this);
  SetShowHint(true);
}

void TPopupDataGridX::CreateParams(TCreateParams& Params) {
  TDBLookupGridX::CreateParams(Params);
  Params.Style = (Params.Style & ~WS_CHILD) | WS_POPUP | WS_CLIPSIBLINGS;
  if (!Ctl3D()) Params.Style |= WS_BORDER;
  Params.ExStyle |= WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  Params.WndParent = nullptr;
}

QWidget* TPopupDataGridX::CreateWidget(const TCreateParams& Params, QWidget* ParentWidget) {
  (void)ParentWidget;
  QWidget* widget = TDBLookupGridX::CreateWidget(Params, nullptr);
  widget->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
  widget->setAttribute(Qt::WA_ShowWithoutActivating);
  widget->setFocusPolicy(Qt::NoFocus);
  return widget;
}

void TPopupDataGridX::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_DROPDOWNSIDEX) {
    FSizeGrip->FlipToSide(Integer(Message.WParam));
    return;
  }
  TDBLookupGridX::Dispatch(Message);
}

void TPopupDataGridX::Resize() {
  TDBLookupGridX::Resize();
  FSized = true;
  FSizeGrip->MoveToCorner();
}

void TPopupDataGridX::ApplyKeyValue() {
  TDBLookupGridX::ApplyKeyValue();
  if (FUserAction && UserKeyChanged) UserKeyChanged(this);
}

void TPopupDataGridX::KeyDown(Word& Key, TShiftState Shift) {
  TFlagOn user(FUserAction);
  TDBLookupGridX::KeyDown(Key, Shift);
}

void TPopupDataGridX::KeyUp(Word& Key, TShiftState Shift) { TDBLookupGridX::KeyUp(Key, Shift); }

void TPopupDataGridX::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TFlagOn user(FUserAction);
  FStateAtPress = GridState() != msIdle;
  if (Button == mbLeft) FMayClose = true;
  TDBLookupGridX::MouseDown(Button, Shift, X, Y);
}

void TPopupDataGridX::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TFlagOn user(FUserAction);
  if (!Tracking() && !Shift.Contains(ssLeft) && !GridDataLink()->ReadOnly() && !FStateAtPress) ChooseAt(X, Y);
  TDBLookupGridX::MouseMove(Shift, X, Y);
}

void TPopupDataGridX::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  {
    TFlagOn user(FUserAction);
    TDBLookupGridX::MouseUp(Button, Shift, X, Y);
  }
  if (FStateAtPress || !FMayClose) return;
  FMayClose = false;
  const TRect client = ClientRect();
  if (X < 0 || Y < 0 || X >= client.Right || Y >= client.Bottom) {
    if (CloseUpRequest) CloseUpRequest(this, false);
    return;
  }
  const TGridCoord cell = CellAtPoint(X, Y);
  const bool specRow = SpecRow()->Visible() && cell.Y == HeaderRowCount() - 1 && Y > TitleAreaHeight();
  if ((cell.Y >= HeaderRowCount() && cell.Y < TCustomGridX::RowCount()) || specRow) {
    if (CloseUpRequest) CloseUpRequest(this, true);
  }
}
