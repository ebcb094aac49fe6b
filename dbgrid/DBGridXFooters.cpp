// Column footers: settings that fall back to the grid, and the sum-list item behind each
// sum, average and count footer.
#include "dbgrid/DBGridX.h"

namespace {
void CopyFontQuietly(TFont* Own, TFont* Fallback) {
  if (!Fallback || *Own == *Fallback) return;
  TNotifyEvent handler = std::move(Own->OnChange);
  Own->OnChange = nullptr;
  Own->Assign(Fallback);
  Own->OnChange = std::move(handler);
}
}  // namespace

TColumnFooterX::TColumnFooterX(TCollection* Collection) : TCollectionItem(Collection) {
  if (auto* footers = dynamic_cast<TColumnFootersX*>(Collection)) FColumn = footers->Column();
  Init();
  InvalidateGridFooter();
}

TColumnFooterX::TColumnFooterX(TColumnX* Column) : TCollectionItem(nullptr), FColumn(Column) { Init(); }

void TColumnFooterX::Init() {
  FFont = std::make_unique<TFont>();
  CopyFontQuietly(FFont.get(), DefaultFont());
  FFont->OnChange = [this](TObject*) { FontChanged(); };
}

TColumnFooterX::~TColumnFooterX() {
  InvalidateGridFooter();
  delete SumItem();
}

TDBSum* TColumnFooterX::SumItem() const {
  TDBSumListProducer* sumList = FSumItemID >= 0 ? SumList() : nullptr;
  return sumList ? static_cast<TDBSum*>(sumList->SumCollection()->FindItemID(FSumItemID)) : nullptr;
}

void TColumnFooterX::InvalidateGridFooter() const {
  TCustomDBGridX* grid = FColumn ? FColumn->Grid() : nullptr;
  if (grid) grid->InvalidateFooter();
}

void TColumnFooterX::Changed(bool AllItems) {
  if (!FColumn) return;
  if (Collection()) TCollectionItem::Changed(AllItems);
  FColumn->ColumnChanged(AllItems);
}

void TColumnFooterX::FontChanged() {
  FAssigned.Include(faFont);
  Changed(true);
}

TAlignment TColumnFooterX::DefaultAlignment() const {
  TField* field = FColumn ? FColumn->Field() : nullptr;
  return field ? field->Alignment() : taLeftJustify;
}
TAlignment TColumnFooterX::Alignment() const { return IsAssigned(faAlignment) ? FAlignment : DefaultAlignment(); }
void TColumnFooterX::SetAlignment(TAlignment Value) {
  if (IsAssigned(faAlignment) && Value == FAlignment) return;
  FAlignment = Value;
  FAssigned.Include(faAlignment);
  Changed(false);
}

TColor TColumnFooterX::DefaultColor() const {
  TCustomDBGridX* grid = FColumn ? FColumn->Grid() : nullptr;
  return grid ? grid->FooterColor() : clWindow;
}
TColor TColumnFooterX::Color() const { return IsAssigned(faColor) ? FColor : DefaultColor(); }
void TColumnFooterX::SetColor(TColor Value) {
  if (IsAssigned(faColor) && Value == FColor) return;
  FColor = Value;
  FAssigned.Include(faColor);
  Changed(false);
}

TFont* TColumnFooterX::DefaultFont() const {
  if (!FColumn) return nullptr;
  TCustomDBGridX* grid = FColumn->Grid();
  return grid ? grid->FooterFont() : FColumn->Font();
}
TFont* TColumnFooterX::Font() const {
  if (!IsAssigned(faFont)) CopyFontQuietly(FFont.get(), DefaultFont());
  return FFont.get();
}

bool TColumnFooterX::ToolTips() const {
  if (IsAssigned(faToolTips)) return FToolTips;
  TCustomDBGridX* grid = FColumn ? FColumn->Grid() : nullptr;
  return grid && grid->ColumnDefValues()->Footer()->ToolTips();
}
void TColumnFooterX::SetToolTips(bool Value) {
  FToolTips = Value;
  FAssigned.Include(faToolTips);
}

void TColumnFooterX::SetDisplayFormat(const String& Value) {
  if (Value == FDisplayFormat) return;
  FDisplayFormat = Value;
  Changed(false);
}

void TColumnFooterX::SetEndEllipsis(bool Value) {
  FEndEllipsis = Value;
  Changed(false);
}

void TColumnFooterX::SetValue(const String& Value) {
  FValue = Value;
  Changed(false);
}

void TColumnFooterX::SetWordWrap(bool Value) {
  FWordWrap = Value;
  Changed(false);
}

void TColumnFooterX::SetFieldName(const String& Value) {
  FFieldName = Value;
  SyncSumItem();
  Changed(false);
}

void TColumnFooterX::SetValueType(TFooterValueType Value) {
  if (Value == FValueType) return;
  FValueType = Value;
  SyncSumItem();
  Changed(false);
}

TDBSumListProducer* TColumnFooterX::SumList() const {
  TCustomDBGridX* grid = FColumn ? FColumn->Grid() : nullptr;
  return grid ? grid->SumList() : nullptr;
}

void TColumnFooterX::SyncSumItem() {
  TDBSumListProducer* sumList = SumList();
  if (!sumList) return;
  TDBSum* item = SumItem();
  const bool aggregate = FValueType == fvtSum || FValueType == fvtAvg || FValueType == fvtCount;
  const String fieldName = FFieldName.isEmpty() ? FColumn->FieldName() : FFieldName;
  // A sum or average needs its field: an item naming a field the open data set lacks would
  // fail every recalculation, so such a footer gets no item and shows "0".
  TDataSet* dataSet = FColumn->Grid()->DataSet();
  const bool fieldKnown = FValueType == fvtCount || (dataSet && dataSet->Active() && dataSet->FindField(fieldName));
  if (!aggregate || !fieldKnown) {
    delete item;
    FSumItemID = -1;
    return;
  }
  const auto setUp = [this, &fieldName](TDBSum* Sum) {
    if (FValueType == fvtCount) {
      Sum->SetGroupOperation(goCount);
      Sum->SetFieldName(String());
      return;
    }
    Sum->SetGroupOperation(FValueType == fvtSum ? goSum : goAvg);
    Sum->SetFieldName(fieldName);
  };
  if (item) {
    setUp(item);
    return;
  }
  TDBSumCollection* sums = sumList->SumCollection();
  sums->BeginUpdate();
  try {
    item = sums->Add();
    FSumItemID = item->ID();
    setUp(item);
  } catch (...) {
    sums->EndUpdate();
    throw;
  }
  sums->EndUpdate();
}

Variant TColumnFooterX::SumValue() const {
  TDBSum* item = SumItem();
  if (!item) return Variant::Null();
  return Variant::FromCurrency(Currency::FromScaled(item->SumValue()));
}

void TColumnFooterX::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TColumnFooterX*>(Source);
  if (!source) {
    TCollectionItem::Assign(Source);
    return;
  }
  if (source->IsAssigned(faAlignment)) SetAlignment(source->Alignment());
  if (source->IsAssigned(faColor)) SetColor(source->Color());
  if (source->IsAssigned(faFont)) SetFont(source->Font());
  FEndEllipsis = source->FEndEllipsis;
  FValueType = source->FValueType;
  FFieldName = source->FFieldName;
  FValue = source->FValue;
  FWordWrap = source->FWordWrap;
  FDisplayFormat = source->FDisplayFormat;
  SetToolTips(source->ToolTips());
  SyncSumItem();
  Changed(false);
}

void TColumnFooterX::RestoreDefaults() {
  const bool hadFont = IsAssigned(faFont);
  FAssigned = {};
  CopyFontQuietly(FFont.get(), DefaultFont());
  if (hadFont) Changed(true);
}

TColumnFootersX::TColumnFootersX(TColumnX* Column)
    : TCollection(ItemClassOf<TColumnFooterX>()), FColumn(Column) {}

TPersistent* TColumnFootersX::GetOwner() const { return FColumn; }
