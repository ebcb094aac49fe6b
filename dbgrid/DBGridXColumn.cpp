// One column of the data-aware grid and its title: binding, the assigned-value rule and the
// settings that write through to the field while the column follows it.
#include "dbgrid/DBGridX.h"
#include "dbgrid/DBLookupGridX.h"
#include "platform/ui/Menus.h"
#include "platform/ui/ImgList.h"
#include <QFontMetrics>

namespace {
// Copies Fallback into Own without the copy counting as an assignment.
void CopyFontQuietly(TFont* Own, TFont* Fallback) {
  if (!Fallback || *Own == *Fallback) return;
  TNotifyEvent handler = std::move(Own->OnChange);
  Own->OnChange = nullptr;
  Own->Assign(Fallback);
  Own->OnChange = std::move(handler);
}

Integer DigitWidth(const TFont* Font) {
  return QFontMetrics(Font->ToQFont()).horizontalAdvance(QLatin1Char('0'));
}
}  // namespace

// ---- title

TColumnTitleX::TColumnTitleX(TColumnX* Column) : FColumn(Column), FFont(std::make_unique<TFont>()) {
  CopyFontQuietly(FFont.get(), DefaultFont());
  FFont->OnChange = [this](TObject*) { FontChanged(); };
}

TColumnTitleX::~TColumnTitleX() = default;

bool TColumnTitleX::Assigned(TColumnAssignedValueX Bit) const { return FColumn->IsAssigned(Bit); }
void TColumnTitleX::Assign(TColumnAssignedValueX Bit) { FColumn->MarkAssigned(Bit); }

void TColumnTitleX::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TColumnTitleX*>(Source);
  if (!source) {
    TPersistent::Assign(Source);
    return;
  }
  if (source->Assigned(cvTitleCaption)) SetCaption(source->Caption());
  if (source->Assigned(cvTitleAlignment)) SetAlignment(source->Alignment());
  if (source->Assigned(cvTitleColor)) SetColor(source->Color());
  if (source->Assigned(cvTitleFont)) SetFont(source->Font());
  FHint = source->FHint;
  FImageIndex = source->FImageIndex;
  if (source->Assigned(cvTitleOrientation)) SetOrientation(source->Orientation());
  FSortIndex = source->FSortIndex;
  FSortMarker = source->FSortMarker;
  if (source->Assigned(cvTitleButton)) SetTitleButton(source->TitleButton());
  if (source->Assigned(cvTitleEndEllipsis)) SetEndEllipsis(source->EndEllipsis());
  if (source->Assigned(cvTitleToolTips)) SetToolTips(source->ToolTips());
}

TAlignment TColumnTitleX::DefaultAlignment() const {
  TCustomDBGridX* grid = FColumn->Grid();
  return grid ? grid->ColumnDefValues()->Title()->Alignment() : taLeftJustify;
}
TAlignment TColumnTitleX::Alignment() const { return Assigned(cvTitleAlignment) ? FAlignment : DefaultAlignment(); }
void TColumnTitleX::SetAlignment(TAlignment Value) {
  if (Assigned(cvTitleAlignment) && Value == FAlignment) return;
  FAlignment = Value;
  Assign(cvTitleAlignment);
  FColumn->Changed(false);
}

String TColumnTitleX::DefaultCaption() const {
  TField* field = FColumn->Field();
  return field ? field->DisplayName() : FColumn->FieldName();
}
String TColumnTitleX::Caption() const { return Assigned(cvTitleCaption) ? FCaption : DefaultCaption(); }
void TColumnTitleX::SetCaption(const String& Value) {
  TCustomDBGridX* grid = FColumn->Grid();
  if (FColumn->FollowsField() && grid) {
    TField* field = FColumn->Field();
    if (grid->GridDataLink()->Active() && field) field->SetDisplayLabel(Value);
    return;
  }
  if (Assigned(cvTitleCaption) && Value == FCaption) return;
  FCaption = Value;
  Assign(cvTitleCaption);
  FColumn->Changed(false);
}

TColor TColumnTitleX::DefaultColor() const {
  TCustomDBGridX* grid = FColumn->Grid();
  return grid ? grid->ColumnDefValues()->Title()->Color() : clBtnFace;
}
TColor TColumnTitleX::Color() const { return Assigned(cvTitleColor) ? FColor : DefaultColor(); }
void TColumnTitleX::SetColor(TColor Value) {
  if (Assigned(cvTitleColor) && Value == FColor) return;
  FColor = Value;
  Assign(cvTitleColor);
  FColumn->Changed(false);
}

bool TColumnTitleX::DefaultEndEllipsis() const {
  TCustomDBGridX* grid = FColumn->Grid();
  return grid && grid->ColumnDefValues()->Title()->EndEllipsis();
}
bool TColumnTitleX::EndEllipsis() const { return Assigned(cvTitleEndEllipsis) ? FEndEllipsis : DefaultEndEllipsis(); }
void TColumnTitleX::SetEndEllipsis(bool Value) {
  if (Assigned(cvTitleEndEllipsis) && Value == FEndEllipsis) return;
  FEndEllipsis = Value;
  Assign(cvTitleEndEllipsis);
  FColumn->Changed(false);
}

TFont* TColumnTitleX::DefaultFont() const {
  TCustomDBGridX* grid = FColumn->Grid();
  return grid ? grid->TitleFont() : FColumn->Font();
}
void TColumnTitleX::RefreshDefaultFont() const {
  if (!Assigned(cvTitleFont)) CopyFontQuietly(FFont.get(), DefaultFont());
}
TFont* TColumnTitleX::Font() const {
  RefreshDefaultFont();
  return FFont.get();
}
void TColumnTitleX::FontChanged() {
  Assign(cvTitleFont);
  FColumn->Changed(true);
}

void TColumnTitleX::SetImageIndex(Integer Value) {
  FImageIndex = Value;
  if (TCustomDBGridX* grid = FColumn->Grid()) grid->RequestLayout();
}

TTextOrientationX TColumnTitleX::DefaultOrientation() const {
  TCustomDBGridX* grid = FColumn->Grid();
  return grid ? grid->ColumnDefValues()->Title()->Orientation() : tohHorizontal;
}
TTextOrientationX TColumnTitleX::Orientation() const {
  return Assigned(cvTitleOrientation) ? FOrientation : DefaultOrientation();
}
void TColumnTitleX::SetOrientation(TTextOrientationX Value) {
  if (Assigned(cvTitleOrientation) && Value == FOrientation) return;
  FOrientation = Value;
  Assign(cvTitleOrientation);
  FColumn->Changed(false);
}

void TColumnTitleX::SetSortIndex(Integer Value) {
  // Numbers only move by swapping outside a load; the sort-marking rules own them.
  Value = std::max<Integer>(Value, 0);
  if (Value == FSortIndex) return;
  TDBGridColumnsX* columns = FColumn->Columns();
  if (!columns || columns->UpdateCount() > 0) {
    FSortIndex = Value;
    return;
  }
  if (FSortMarker == smNoneX || Value == 0) return;
  for (Integer i = 0; i < columns->Count(); ++i) {
    TColumnX* other = columns->Items(i);
    if (other == FColumn || other->Title()->FSortIndex != Value) continue;
    other->Title()->FSortIndex = FSortIndex;
    FSortIndex = Value;
    if (TCustomDBGridX* grid = FColumn->Grid()) grid->RebuildSortMarkedColumns();
    FColumn->Changed(false);
    return;
  }
}

void TColumnTitleX::SetSortMarker(TSortMarkerX Value) {
  if (Value == FSortMarker) return;
  FSortMarker = Value;
  TDBGridColumnsX* columns = FColumn->Columns();
  TCustomDBGridX* grid = FColumn->Grid();
  if (!columns || columns->UpdateCount() > 0 || !grid) return;
  if (grid->OptionsX().Contains(dghMultiSortMarking)) {
    if (Value != smNoneX && FSortIndex == 0) {
      Integer marked = 0;
      for (Integer i = 0; i < columns->Count(); ++i)
        if (columns->Items(i)->Title()->FSortIndex != 0) ++marked;
      FSortIndex = marked + 1;
    } else if (Value == smNoneX && FSortIndex != 0) {
      for (Integer i = 0; i < columns->Count(); ++i) {
        TColumnTitleX* title = columns->Items(i)->Title();
        if (title->FSortIndex > FSortIndex) --title->FSortIndex;
      }
      FSortIndex = 0;
    }
  } else if (Value != smNoneX) {
    for (Integer i = 0; i < columns->Count(); ++i) {
      TColumnTitleX* title = columns->Items(i)->Title();
      if (title == this) continue;
      title->FSortMarker = smNoneX;
      title->FSortIndex = 0;
    }
    FSortIndex = 1;
  } else {
    FSortIndex = 0;
  }
  grid->RebuildSortMarkedColumns();
  FColumn->Changed(false);
}

void TColumnTitleX::StepSortMarker(bool KeepOthers) {
  TDBGridColumnsX* columns = FColumn->Columns();
  if (!KeepOthers && columns)
    for (Integer i = 0; i < columns->Count(); ++i)
      if (TColumnTitleX* other = columns->Items(i)->Title(); other != this) other->SetSortMarker(smNoneX);
  switch (FSortMarker) {
    case smNoneX: SetSortMarker(smDownX); break;
    case smDownX: SetSortMarker(smUpX); break;
    case smUpX: SetSortMarker(KeepOthers ? smNoneX : smDownX); break;
  }
}

bool TColumnTitleX::DefaultTitleButton() const {
  TCustomDBGridX* grid = FColumn->Grid();
  return grid && grid->ColumnDefValues()->Title()->TitleButton();
}
bool TColumnTitleX::TitleButton() const { return Assigned(cvTitleButton) ? FTitleButton : DefaultTitleButton(); }
void TColumnTitleX::SetTitleButton(bool Value) {
  if (Assigned(cvTitleButton) && Value == FTitleButton) return;
  FTitleButton = Value;
  Assign(cvTitleButton);
  FColumn->Changed(false);
}

bool TColumnTitleX::DefaultToolTips() const {
  TCustomDBGridX* grid = FColumn->Grid();
  return grid && grid->ColumnDefValues()->Title()->ToolTips();
}
bool TColumnTitleX::ToolTips() const { return Assigned(cvTitleToolTips) ? FToolTips : DefaultToolTips(); }
void TColumnTitleX::SetToolTips(bool Value) {
  FToolTips = Value;
  Assign(cvTitleToolTips);
}

bool TColumnTitleX::IsAlignmentStored() const { return Assigned(cvTitleAlignment) && FAlignment != DefaultAlignment(); }
bool TColumnTitleX::IsCaptionStored() const { return Assigned(cvTitleCaption) && FCaption != DefaultCaption(); }
bool TColumnTitleX::IsColorStored() const { return Assigned(cvTitleColor) && FColor != DefaultColor(); }
bool TColumnTitleX::IsEndEllipsisStored() const {
  return Assigned(cvTitleEndEllipsis) && FEndEllipsis != DefaultEndEllipsis();
}
bool TColumnTitleX::IsFontStored() const { return Assigned(cvTitleFont); }
bool TColumnTitleX::IsOrientationStored() const {
  return Assigned(cvTitleOrientation) && FOrientation != DefaultOrientation();
}
bool TColumnTitleX::IsTitleButtonStored() const {
  return Assigned(cvTitleButton) && FTitleButton != DefaultTitleButton();
}
bool TColumnTitleX::IsToolTipsStored() const { return Assigned(cvTitleToolTips) && FToolTips != DefaultToolTips(); }

void TColumnTitleX::RestoreDefaults() {
  const bool hadFont = Assigned(cvTitleFont);
  for (Integer bit = cvTitleColor; bit <= cvTitleOrientation; ++bit) FColumn->FAssignedMask &= ~(1u << bit);
  FCaption.clear();
  CopyFontQuietly(FFont.get(), DefaultFont());
  FColumn->Changed(hadFont);
}

// ---- column

TColumnX::TColumnX(TCollection* Collection) : TCollectionItem(nullptr), FFont(std::make_unique<TFont>()) {
  auto* columns = dynamic_cast<TDBGridColumnsX*>(Collection);
  TCustomDBGridX* grid = columns ? columns->Grid() : nullptr;
  if (grid) grid->LockLayout();
  try {
    SetCollection(Collection);
    CopyFontQuietly(FFont.get(), DefaultFont());
    FFont->OnChange = [this](TObject*) { FontChanged(); };
    FTitle = MakeTitle();
    FFooter = MakeFooter();
    FFooters = MakeFooters();
    FAutoFitShare = Width();
    FEditButtons = MakeEditButtons();
    FDropDownSpecRow = std::make_unique<TSpecRowX>(this);
    FDropDownBox = std::make_unique<TColumnDropDownBoxX>(this);
    FMRUList = std::make_unique<TMRUListX>(this);
    FSTFilter = MakeSTFilter();
  } catch (...) {
    if (grid) grid->UnlockLayout();
    throw;
  }
  if (grid) grid->UnlockLayout();
}

TColumnX::~TColumnX() {
  TCustomDBGridX* owningGrid = Columns() ? Columns()->Grid() : nullptr;
  if (TDBGridColumnsX* columns = Columns()) {
    if (columns->FVertMoveAnchor == this) columns->FVertMoveAnchor = nullptr;
    if (TCustomDBGridX* grid = columns->Grid()) {
      grid->ColumnGoing(this);
      grid->SortMarkedColumns()->Remove(this);
      grid->VisibleColumns()->Remove(this);
    }
  }
  // The footers' sum items leave the grid's sum list before the column leaves its grid.
  FFooters.reset();
  FFooter.reset();
  SetCollection(nullptr);
  if (owningGrid) owningGrid->DataGrouping()->ColumnRemoved(this);
}

std::unique_ptr<TEditButtonsX> TColumnX::MakeEditButtons() {
  return std::make_unique<TEditButtonsX>(this, ItemClassOf<TVisibleEditButtonX>());
}
std::unique_ptr<TColumnFooterX> TColumnX::MakeFooter() { return std::make_unique<TColumnFooterX>(this); }
std::unique_ptr<TColumnFootersX> TColumnX::MakeFooters() { return std::make_unique<TColumnFootersX>(this); }
std::unique_ptr<TSTColumnFilterX> TColumnX::MakeSTFilter() { return std::make_unique<TSTColumnFilterX>(this); }
std::unique_ptr<TColumnTitleX> TColumnX::MakeTitle() { return std::make_unique<TColumnTitleX>(this); }

TDBGridColumnsX* TColumnX::Columns() const { return dynamic_cast<TDBGridColumnsX*>(Collection()); }
TCustomDBGridX* TColumnX::Grid() const {
  TDBGridColumnsX* columns = Columns();
  return columns ? columns->Grid() : nullptr;
}

String TColumnX::DisplayName() const { return FFieldName.isEmpty() ? TCollectionItem::DisplayName() : FFieldName; }

void TColumnX::Changed(bool AllItems) { TCollectionItem::Changed(AllItems); }

bool TColumnX::SetAssigned(TColumnAssignedValueX Bit, bool Differs) {
  if (IsAssigned(Bit) && !Differs) return false;
  MarkAssigned(Bit);
  return true;
}

void TColumnX::ResetAssignedValues() {
  const bool hadFont = IsAssigned(cvFont) || IsAssigned(cvTitleFont);
  FTitle->RestoreDefaults();
  FAssignedMask = 0;
  CopyFontQuietly(FFont.get(), DefaultFont());
  FPickList.reset();
  FKeyList.reset();
  FButtonStyle = cbsAuto;
  Changed(hadFont);
}

void TColumnX::RestoreDefaults() { ResetAssignedValues(); }

// ---- binding

TField* TColumnX::Field() const {
  if (FField || FFieldName.isEmpty()) return FField;
  TCustomDBGridX* grid = Grid();
  TDataSet* dataSet = grid ? grid->DataSet() : nullptr;
  if (!dataSet || (!dataSet->Active() && dataSet->DefaultFields())) return nullptr;
  TField* found = dataSet->FindField(FFieldName);
  if (found && found != FField) {
    auto* self = const_cast<TColumnX*>(this);
    self->FField = found;
    self->FFieldName = found->FieldName();
    self->SyncFooterSums();
  }
  return FField;
}

void TColumnX::SetField(TField* Value) {
  if (Value == FField) return;
  FField = Value;
  if (Value) FFieldName = Value->FieldName();
  if (FollowsField()) {
    if (!Value) FFieldName.clear();
    ResetAssignedValues();
    FAutoFitShare = Width();
  }
  SyncFooterSums();
  Changed(false);
}

void TColumnX::SetFieldName(const String& Value) {
  TField* field = nullptr;
  TCustomDBGridX* grid = Grid();
  if (grid && grid->DataSet() && !grid->ComponentState().Contains(csLoading) && !Value.isEmpty())
    field = grid->DataSet()->FindField(Value);
  FFieldName = Value;
  FField = nullptr;
  SetField(field);
  FFieldName = field ? field->FieldName() : Value;
  FAutoFitShare = Width();
  Changed(false);
}

void TColumnX::SyncFooterSums() {
  if (!FFooter || !FFooters) return;
  FFooter->SyncSumItem();
  for (Integer i = 0; i < FFooters->Count(); ++i) FFooters->Items(i)->SyncSumItem();
}

void TColumnX::SetIndex(Integer Value) {
  TCustomDBGridX* grid = Grid();
  if (FollowsField() && grid) {
    TField* field = Field();
    TGridDataLinkX* link = grid->GridDataLink();
    // A target whose map entry holds no field (-1) moves only the column.
    if (link->Active() && field && Value >= 0 && Value < link->MappedFieldCount() &&
        link->FieldIndexMap(Value) >= 0) {
      field->SetIndex(link->FieldIndexMap(Value));
    }
  }
  TCollectionItem::SetIndex(Value);
}

// ---- inheriting settings

TAlignment TColumnX::DefaultAlignment() const {
  TField* field = Field();
  return field ? field->Alignment() : taLeftJustify;
}
TAlignment TColumnX::Alignment() const { return IsAssigned(cvAlignment) ? FAlignment : DefaultAlignment(); }
void TColumnX::SetAlignment(TAlignment Value) {
  TCustomDBGridX* grid = Grid();
  if (FollowsField() && grid) {
    TField* field = Field();
    if (grid->GridDataLink()->Active() && field) field->SetAlignment(Value);
    return;
  }
  if (!SetAssigned(cvAlignment, Value != FAlignment)) return;
  FAlignment = Value;
  Changed(false);
}

bool TColumnX::DefaultReadOnly() const {
  TCustomDBGridX* grid = Grid();
  TField* field = Field();
  return (grid && grid->ReadOnly()) || (field && field->ReadOnly());
}
bool TColumnX::ReadOnly() const { return IsAssigned(cvReadOnly) ? FReadOnly : DefaultReadOnly(); }
void TColumnX::SetReadOnly(bool Value) {
  TCustomDBGridX* grid = Grid();
  if (FollowsField() && grid) {
    TField* field = Field();
    if (grid->GridDataLink()->Active() && field) field->SetReadOnly(Value);
    return;
  }
  if (!SetAssigned(cvReadOnly, Value != FReadOnly)) return;
  FReadOnly = Value;
  Changed(false);
}

#define MOLI_COLUMN_DEF_BOOL(Name, Bit, Notify)                                                       \
  bool TColumnX::Default##Name() const {                                                              \
    TCustomDBGridX* grid = Grid();                                                                    \
    return grid && grid->ColumnDefValues()->Name();                                                   \
  }                                                                                                   \
  bool TColumnX::Name() const { return IsAssigned(Bit) ? F##Name : Default##Name(); }                 \
  void TColumnX::Set##Name(bool Value) {                                                              \
    if (!SetAssigned(Bit, Value != F##Name) && Notify) return;                                        \
    F##Name = Value;                                                                                  \
    if (Notify) Changed(false);                                                                       \
  }

MOLI_COLUMN_DEF_BOOL(AlwaysShowEditButton, cvAlwaysShowEditButton, true)
MOLI_COLUMN_DEF_BOOL(EndEllipsis, cvEndEllipsis, true)
MOLI_COLUMN_DEF_BOOL(HighlightRequired, cvHighlightRequired, true)
MOLI_COLUMN_DEF_BOOL(AutoDropDown, cvAutoDropDown, false)
MOLI_COLUMN_DEF_BOOL(DblClickNextVal, cvDblClickNextVal, false)
MOLI_COLUMN_DEF_BOOL(DropDownShowTitles, cvDropDownShowTitles, false)
MOLI_COLUMN_DEF_BOOL(DropDownSizing, cvDropDownSizing, false)
MOLI_COLUMN_DEF_BOOL(ToolTips, cvToolTips, false)
#undef MOLI_COLUMN_DEF_BOOL

TBiDiMode TColumnX::BiDiMode() const {
  if (IsAssigned(cvBiDiMode)) return FBiDiMode;
  TCustomDBGridX* grid = Grid();
  return grid ? grid->BiDiMode() : FBiDiMode;
}
void TColumnX::SetBiDiMode(TBiDiMode Value) {
  if (!SetAssigned(cvBiDiMode, Value != FBiDiMode)) return;
  FBiDiMode = Value;
  Changed(false);
}

bool TColumnX::DefaultCheckboxes() const {
  TField* field = Field();
  return field && field->DataType() == ftBoolean;
}
bool TColumnX::Checkboxes() const { return IsAssigned(cvCheckboxes) ? FCheckboxes : DefaultCheckboxes(); }
void TColumnX::SetCheckboxes(bool Value) {
  if (!SetAssigned(cvCheckboxes, Value != FCheckboxes)) return;
  FCheckboxes = Value;
  Changed(false);
}

TColor TColumnX::DefaultColor() const {
  TCustomDBGridX* grid = Grid();
  return grid ? grid->Color() : clWindow;
}
TColor TColumnX::Color() const { return IsAssigned(cvColor) ? FColor : DefaultColor(); }
void TColumnX::SetColor(TColor Value) {
  if (!SetAssigned(cvColor, Value != FColor)) return;
  FColor = Value;
  Changed(false);
}

TFont* TColumnX::DefaultFont() const {
  TCustomDBGridX* grid = Grid();
  return grid ? grid->Font() : nullptr;
}
void TColumnX::RefreshDefaultFont() const {
  if (!IsAssigned(cvFont)) CopyFontQuietly(FFont.get(), DefaultFont());
}
TFont* TColumnX::Font() const {
  RefreshDefaultFont();
  return FFont.get();
}
void TColumnX::FontChanged() {
  MarkAssigned(cvFont);
  if (FTitle) FTitle->RefreshDefaultFont();
  Changed(false);
}

TTextLayout TColumnX::DefaultLayout() const {
  TCustomDBGridX* grid = Grid();
  return grid ? grid->ColumnDefValues()->Layout() : tlTop;
}
TTextLayout TColumnX::Layout() const { return IsAssigned(cvLayout) ? FLayout : DefaultLayout(); }
void TColumnX::SetLayout(TTextLayout Value) {
  if (!SetAssigned(cvLayout, Value != FLayout)) return;
  FLayout = Value;
  Changed(false);
}

String TColumnX::DefaultLookupDisplayFields() const {
  TField* field = Field();
  return field ? field->LookupResultField() : String();
}
String TColumnX::LookupDisplayFields() const {
  return IsAssigned(cvLookupDisplayFields) ? FLookupDisplayFields : DefaultLookupDisplayFields();
}
void TColumnX::SetLookupDisplayFields(const String& Value) {
  if (IsAssigned(cvLookupDisplayFields) || Value != DefaultLookupDisplayFields()) {
    FLookupDisplayFields = Value;
    MarkAssigned(cvLookupDisplayFields);
  }
  Changed(false);
}

// An image list shown beside the text leaves the text editable; only image and check-box cells
// have no text to type.
bool TColumnX::DefaultTextEditing() const {
  const TCellKindX kind = CellKind();
  return kind != ckImageList && kind != ckCheckbox;
}
bool TColumnX::TextEditing() const { return IsAssigned(cvTextEditing) ? FTextEditing : DefaultTextEditing(); }
void TColumnX::SetTextEditing(bool Value) {
  TCustomDBGridX* grid = Grid();
  const bool loading = grid && grid->ComponentState().Contains(csLoading);
  if (!SetAssigned(cvTextEditing, Value != FTextEditing) && !loading) return;
  FTextEditing = Value;
  Changed(false);
}

Integer TColumnX::DefaultWidth() const {
  TCustomDBGridX* grid = Grid();
  if (!grid) return 64;
  TField* field = Field();
  if (!field) return grid->DefaultColWidth();
  const Integer overhang = 0;  // outline fonts draw bold and italic without extra width
  return (DigitWidth(Font()) - overhang) * field->DisplayWidth() + overhang + 4;
}
Integer TColumnX::Width() const { return IsAssigned(cvWidth) ? FWidth : DefaultWidth(); }
void TColumnX::SetWidth(Integer Value) {
  TCustomDBGridX* grid = Grid();
  bool store = true;
  if (FollowsField() && grid) {
    if (TField* field = Field()) {
      const QFontMetrics metrics(Font()->ToQFont());
      const Integer digit = std::max(1, metrics.horizontalAdvance(QLatin1Char('0')));
      field->SetDisplayWidth((Value + metrics.averageCharWidth() / 2 - 3) / digit);
    }
    store = !grid->FLinkLayoutChanging || IsAssigned(cvWidth);
  }
  if (store && (IsAssigned(cvWidth) || Value != DefaultWidth()) && Value != -1) {
    FWidth = Value;
    MarkAssigned(cvWidth);
    if (FMaxWidth > 0 && FWidth > FMaxWidth) FWidth = FMaxWidth;
    if (FMinWidth > 0 && FWidth < FMinWidth) FWidth = FMinWidth;
  }
  Changed(grid && grid->RowPanel()->Active());
}

bool TColumnX::DefaultWordWrap() const {
  if (!Grid()) return false;
  TField* field = Field();
  if (!field) return false;
  switch (field->DataType()) {
    case ftString: case ftMemo: case ftFmtMemo: case ftWideString: case ftOraClob: return true;
    default: return false;
  }
}
bool TColumnX::WordWrap() const { return IsAssigned(cvWordWrap) ? FWordWrap : DefaultWordWrap(); }
void TColumnX::SetWordWrap(bool Value) {
  TCustomDBGridX* grid = Grid();
  const bool loading = grid && grid->ComponentState().Contains(csLoading);
  if (!SetAssigned(cvWordWrap, Value != FWordWrap) && !loading) return;
  FWordWrap = Value;
  Changed(false);
}

TImeMode TColumnX::ImeMode() const {
  if (IsAssigned(cvImeMode)) return FImeMode;
  return Grid() ? Grid()->ImeMode() : imDontCare;
}
void TColumnX::SetImeMode(TImeMode Value) {
  FImeMode = Value;
  SetAssigned(cvImeMode, true);
}
String TColumnX::ImeName() const {
  if (IsAssigned(cvImeName)) return FImeName;
  return Grid() ? Grid()->ImeName() : String();
}
void TColumnX::SetImeName(const String& Value) {
  FImeName = Value;
  SetAssigned(cvImeName, true);
}

// ---- plain settings

void TColumnX::SetAutoFitColWidth(bool Value) {
  if (Value == FAutoFitColWidth) return;
  FAutoFitColWidth = Value;
  TCustomDBGridX* grid = Grid();
  if (grid && grid->AutoFitColWidths() && !grid->ComponentState().Contains(csLoading) &&
      !grid->ComponentState().Contains(csDesigning))
    SetWidth(FAutoFitShare);
  Changed(false);
}

void TColumnX::SetButtonStyle(TColumnButtonStyleX Value) {
  if (Value == FButtonStyle) return;
  FButtonStyle = Value;
  Changed(false);
}

void TColumnX::SetDisplayFormat(const String& Value) {
  if (Value == FDisplayFormat) return;
  FDisplayFormat = Value;
  Changed(false);
}

void TColumnX::SetHideDuplicates(bool Value) {
  if (Value == FHideDuplicates) return;
  FHideDuplicates = Value;
  Changed(false);
}

void TColumnX::SetImageList(TCustomImageList* Value) {
  if (Value == FImageList) return;
  if (FImageList) FImageList->UnRegisterChanges(&FImageChangeLink);
  FImageList = Value;
  if (Value) {
    Value->RegisterChanges(&FImageChangeLink);
    FImageChangeLink.OnChange = [this](TObject*) {
      if (TCustomDBGridX* grid = Grid()) grid->Invalidate();
    };
  }
  TCustomDBGridX* grid = Grid();
  if (grid) {
    if (Value) Value->FreeNotification(grid);
    grid->Invalidate();
  }
}

TStrings* TColumnX::KeyList() const {
  if (!FKeyList) FKeyList = std::make_unique<TStringList>();
  return FKeyList.get();
}
TStrings* TColumnX::PickList() const {
  if (!FPickList) FPickList = std::make_unique<TStringList>();
  return FPickList.get();
}

void TColumnX::SetMaxWidth(Integer Value) {
  FMaxWidth = Value;
  if (Value > 0 && Width() > Value) SetWidth(Value);
}

void TColumnX::SetMinWidth(Integer Value) {
  FMinWidth = Value;
  if (Value > 0 && Width() < Value) SetWidth(Value);
}

void TColumnX::SetNotInKeyListIndex(Integer Value) {
  if (Value == FNotInKeyListIndex) return;
  FNotInKeyListIndex = Value;
  if (TCustomDBGridX* grid = Grid()) grid->Invalidate();
}

void TColumnX::SetShowImageAndText(bool Value) {
  if (Value == FShowImageAndText) return;
  FShowImageAndText = Value;
  Changed(false);
}

void TColumnX::SetVisible(bool Value) {
  if (Value == FVisible) return;
  FVisible = Value;
  Changed(true);
}

TColumnFooterX* TColumnX::FooterAt(Integer Row) const {
  return Row >= 0 && Row < FFooters->Count() ? FFooters->Items(Row) : FFooter.get();
}

Integer TColumnX::GridWidth() const {
  TCustomDBGridX* grid = Grid();
  return grid ? grid->WidthToGrid(this, Width()) : Width();
}

String TColumnX::ComponentName() const { return QStringLiteral("Column_%1_%2").arg(Index()).arg(FFieldName); }

bool TColumnX::IsAlignmentStored() const { return IsAssigned(cvAlignment) && FAlignment != DefaultAlignment(); }
bool TColumnX::IsColorStored() const { return IsAssigned(cvColor) && FColor != DefaultColor(); }
bool TColumnX::IsReadOnlyStored() const { return IsAssigned(cvReadOnly) && FReadOnly != DefaultReadOnly(); }
bool TColumnX::IsWidthStored() const { return IsAssigned(cvWidth) && FWidth != DefaultWidth(); }
bool TColumnX::IsWordWrapStored() const { return IsAssigned(cvWordWrap) && FWordWrap != DefaultWordWrap(); }

void TColumnX::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TColumnX*>(Source);
  if (!source) {
    TCollectionItem::Assign(Source);
    return;
  }
  TCollection* collection = Collection();
  if (collection) collection->BeginUpdate();
  try {
    ResetAssignedValues();
    SetFieldName(source->FieldName());
    if (source->IsAssigned(cvColor)) SetColor(source->Color());
    if (source->IsAssigned(cvWidth)) SetWidth(source->Width());
    if (source->IsAssigned(cvFont)) SetFont(source->Font());
    if (source->IsAssigned(cvAlignment)) SetAlignment(source->Alignment());
    if (source->IsAssigned(cvReadOnly)) SetReadOnly(source->ReadOnly());
    FTitle->Assign(source->Title());
    FDropDownRows = source->FDropDownRows;
    SetButtonStyle(source->FButtonStyle);
    SetPickList(source->PickList());
    FPopupMenu = source->FPopupMenu;
    FAutoFitShare = source->FAutoFitShare;
    FAutoFitColWidth = source->FAutoFitColWidth;
    if (source->IsAssigned(cvEndEllipsis)) SetEndEllipsis(source->EndEllipsis());
    FDropDownWidth = source->FDropDownWidth;
    if (source->IsAssigned(cvLookupDisplayFields)) SetLookupDisplayFields(source->LookupDisplayFields());
    if (source->IsAssigned(cvAutoDropDown)) SetAutoDropDown(source->AutoDropDown());
    if (source->IsAssigned(cvAlwaysShowEditButton)) SetAlwaysShowEditButton(source->AlwaysShowEditButton());
    // Only an assigned word wrap is copied: a column taken from a layout read without a
    // grid would otherwise lose the wrap its field gives it.
    if (source->IsAssigned(cvWordWrap)) SetWordWrap(source->WordWrap());
    if (source->IsAssigned(cvImeMode)) SetImeMode(source->FImeMode);
    if (source->IsAssigned(cvImeName)) SetImeName(source->FImeName);
    FFooter->Assign(source->Footer());
    SetKeyList(source->KeyList());
    if (source->IsAssigned(cvCheckboxes)) SetCheckboxes(source->Checkboxes());
    FIncrement = source->FIncrement;
    if (source->IsAssigned(cvToolTips)) SetToolTips(source->ToolTips());
    FFooters->Assign(source->Footers());
    FTag = source->FTag;
    SetVisible(source->FVisible);
    SetImageList(source->FImageList);
    SetNotInKeyListIndex(source->FNotInKeyListIndex);
    FMinWidth = source->FMinWidth;
    FMaxWidth = source->FMaxWidth;
    if (source->IsAssigned(cvDblClickNextVal)) SetDblClickNextVal(source->DblClickNextVal());
    if (source->IsAssigned(cvDropDownSizing)) SetDropDownSizing(source->DropDownSizing());
    if (source->IsAssigned(cvDropDownShowTitles)) SetDropDownShowTitles(source->DropDownShowTitles());
    if (source->IsAssigned(cvHighlightRequired)) SetHighlightRequired(source->HighlightRequired());
    if (source->IsAssigned(cvTextEditing)) SetTextEditing(source->TextEditing());
    if (source->IsAssigned(cvBiDiMode)) SetBiDiMode(source->BiDiMode());
    OnGetCellParams = source->OnGetCellParams;
    OnNotInList = source->OnNotInList;
    OnUpdateData = source->OnUpdateData;
    OnEditButtonClick = source->OnEditButtonClick;
    OnEditButtonDown = source->OnEditButtonDown;
    OnCheckDrawRequiredState = source->OnCheckDrawRequiredState;
    OnAdvDrawDataCell = source->OnAdvDrawDataCell;
    FEditButtons->Assign(source->EditButtons());
    FDropDownBox->Assign(source->DropDownBox());
    FMRUList->Assign(source->MRUList());
    FSTFilter->Assign(source->STFilter());
    SetDisplayFormat(source->FDisplayFormat);
    FEditMask = source->FEditMask;
    SetShowImageAndText(source->FShowImageAndText);
    SetHideDuplicates(source->FHideDuplicates);
    if (source->IsAssigned(cvLayout)) SetLayout(source->Layout());
    FInRowLinePos = source->FInRowLinePos;
    FInRowLineHeight = source->FInRowLineHeight;
  } catch (...) {
    if (collection) collection->EndUpdate();
    throw;
  }
  if (collection) collection->EndUpdate();
}

// ---- drop-down box and filter settings

TColumnDropDownBoxX::TColumnDropDownBoxX(IDropDownBoxOwnerX* Owner)
    : FOwner(Owner), FSpecRow(std::make_unique<TSpecRowX>(this)) {}
TColumnDropDownBoxX::~TColumnDropDownBoxX() = default;


void TSTColumnFilterX::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TSTColumnFilterX*>(Source);
  if (!source) {
    TPersistent::Assign(Source);
    return;
  }
  FExpressionStr = source->FExpressionStr;
  FExpression = source->FExpression;
  FDataField = source->FDataField;
  SetListSource(source->ListSource());
  FListField = source->FListField;
  FKeyField = source->FKeyField;
  FVisible = source->FVisible;
}
