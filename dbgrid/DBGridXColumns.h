#pragma once
// The column model of the data-aware grid: columns, their titles and footers, the column
// collection with its layout storage, and the grid-wide defaults columns fall back to.
//
// Most visual settings of a column and its title have no value of their own until they are
// set: they read through to the bound field, the grid or the grid's ColumnDefValues, so a
// change there reaches every column that was not customised. Each column records in one
// 32-bit mask which settings were assigned; only those are stored.
#include "dbgrid/DBGridXTypes.h"
#include "dbgrid/DbUtilsX.h"
#include "grid/DBSumLst.h"
#include "grid/DatasetFieldValueListX.h"
#include "grid/EditButtonX.h"
#include "grid/ExtraListRowX.h"
#include "grid/FieldDataLinkX.h"
#include "grid/MRUListX.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/InputMethod.h"
#include <memory>

class TColumnX;
class TDBGridColumnsX;
class TPopupDataGridX;
class TGroupDataTreeNodeX;

// The text of a field value in Format (the field's display text when Format is empty).
String FormatFieldValue(TField* Field, const String& Format);
// Items holds ';'-separated values; an item list ending in ';' also matches the empty text.
bool MatchesValueList(const String& Items, const String& Text);
bool LookupValueExists(TField* Field);
class TCustomDBGridX;
class TCustomImageList;
class TPopupMenu;

// One bit per inheriting setting of a column and its title.
enum TColumnAssignedValueX {
  cvColor = 0, cvWidth = 1, cvFont = 2, cvAlignment = 3, cvReadOnly = 4, cvTitleColor = 5, cvTitleCaption = 6,
  cvTitleAlignment = 7, cvTitleFont = 8, cvTitleButton = 9, cvTitleEndEllipsis = 10, cvTitleToolTips = 11,
  cvTitleOrientation = 12, cvImeMode = 13, cvImeName = 14, cvWordWrap = 15, cvLookupDisplayFields = 16,
  cvCheckboxes = 17, cvAlwaysShowEditButton = 18, cvEndEllipsis = 19, cvAutoDropDown = 20, cvDblClickNextVal = 21,
  cvToolTips = 22, cvDropDownSizing = 23, cvDropDownShowTitles = 24, cvLayout = 25, cvHighlightRequired = 26,
  cvBiDiMode = 27, cvTextEditing = 28
};

// ---- grid-wide defaults

class TColumnDefValuesX;

class TColumnTitleDefValuesX : public TPersistent {
public:
  explicit TColumnTitleDefValuesX(TColumnDefValuesX* Owner) : FOwner(Owner) {}
  String ClassName() const override { return QStringLiteral("TColumnTitleDefValuesX"); }
  void Assign(TPersistent* Source) override;
  TAlignment Alignment() const;
  void SetAlignment(TAlignment Value);
  bool AlignmentAssigned() const { return FAlignmentAssigned; }
  TColor Color() const;
  void SetColor(TColor Value);
  bool ColorAssigned() const { return FColorAssigned; }
  bool EndEllipsis() const { return FEndEllipsis; }
  void SetEndEllipsis(bool Value);
  TTextOrientationX Orientation() const { return FOrientation; }
  void SetOrientation(TTextOrientationX Value);
  bool TitleButton() const { return FTitleButton; }
  void SetTitleButton(bool Value) { FTitleButton = Value; }
  bool ToolTips() const { return FToolTips; }
  void SetToolTips(bool Value) { FToolTips = Value; }
private:
  TColumnDefValuesX* FOwner;
  TAlignment FAlignment = taLeftJustify;
  bool FAlignmentAssigned = false;
  TColor FColor = clBtnFace;
  bool FColorAssigned = false;
  bool FEndEllipsis = false;
  TTextOrientationX FOrientation = tohHorizontal;
  bool FTitleButton = false;
  bool FToolTips = false;
};

class TColumnFooterDefValuesX : public TPersistent {
public:
  String ClassName() const override { return QStringLiteral("TColumnFooterDefValuesX"); }
  void Assign(TPersistent* Source) override;
  bool ToolTips() const { return FToolTips; }
  void SetToolTips(bool Value) { FToolTips = Value; }
private:
  bool FToolTips = false;
};

class TColumnDefValuesX : public TPersistent {
public:
  explicit TColumnDefValuesX(TCustomDBGridX* Grid);
  ~TColumnDefValuesX() override;
  String ClassName() const override { return QStringLiteral("TColumnDefValuesX"); }
  void Assign(TPersistent* Source) override;
  TCustomDBGridX* Grid() const { return FGrid; }

  bool AlwaysShowEditButton() const { return FAlwaysShowEditButton; }
  void SetAlwaysShowEditButton(bool Value);
  bool AutoDropDown() const { return FAutoDropDown; }
  void SetAutoDropDown(bool Value) { FAutoDropDown = Value; }
  bool DblClickNextVal() const { return FDblClickNextVal; }
  void SetDblClickNextVal(bool Value) { FDblClickNextVal = Value; }
  bool DropDownShowTitles() const { return FDropDownShowTitles; }
  void SetDropDownShowTitles(bool Value) { FDropDownShowTitles = Value; }
  bool DropDownSizing() const { return FDropDownSizing; }
  void SetDropDownSizing(bool Value) { FDropDownSizing = Value; }
  bool EndEllipsis() const { return FEndEllipsis; }
  void SetEndEllipsis(bool Value);
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout Value);
  bool HighlightRequired() const { return FHighlightRequired; }
  void SetHighlightRequired(bool Value);
  bool ToolTips() const { return FToolTips; }
  void SetToolTips(bool Value) { FToolTips = Value; }
  TColumnTitleDefValuesX* Title() const { return FTitle.get(); }
  void SetTitle(TColumnTitleDefValuesX* Value) { FTitle->Assign(Value); }
  TColumnFooterDefValuesX* Footer() const { return FFooter.get(); }
  void SetFooter(TColumnFooterDefValuesX* Value) { FFooter->Assign(Value); }

  void RepaintGrid() const;
  void RelayoutGrid() const;

private:
  TCustomDBGridX* FGrid;
  bool FAlwaysShowEditButton = false;
  bool FAutoDropDown = false;
  bool FDblClickNextVal = false;
  bool FDropDownShowTitles = false;
  bool FDropDownSizing = false;
  bool FEndEllipsis = false;
  TTextLayout FLayout = tlTop;
  bool FHighlightRequired = false;
  bool FToolTips = false;
  std::unique_ptr<TColumnTitleDefValuesX> FTitle;
  std::unique_ptr<TColumnFooterDefValuesX> FFooter;
};

class TDBGridXColumnDefValuesX : public TColumnDefValuesX {
public:
  using TColumnDefValuesX::TColumnDefValuesX;
  String ClassName() const override { return QStringLiteral("TDBGridXColumnDefValuesX"); }
};

// ---- title

class TColumnTitleX : public TPersistent {
public:
  explicit TColumnTitleX(TColumnX* Column);
  ~TColumnTitleX() override;
  String ClassName() const override { return QStringLiteral("TColumnTitleX"); }
  void Assign(TPersistent* Source) override;
  TColumnX* Column() const { return FColumn; }

  TAlignment Alignment() const;
  void SetAlignment(TAlignment Value);
  TAlignment DefaultAlignment() const;
  // May hold several title levels separated by '|'.
  String Caption() const;
  void SetCaption(const String& Value);
  String DefaultCaption() const;
  TColor Color() const;
  void SetColor(TColor Value);
  TColor DefaultColor() const;
  bool EndEllipsis() const;
  void SetEndEllipsis(bool Value);
  bool DefaultEndEllipsis() const;
  TFont* Font() const;
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  TFont* DefaultFont() const;
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value) { FHint = Value; }
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  TTextOrientationX Orientation() const;
  void SetOrientation(TTextOrientationX Value);
  TTextOrientationX DefaultOrientation() const;
  Integer SortIndex() const { return FSortIndex; }
  void SetSortIndex(Integer Value);
  TSortMarkerX SortMarker() const { return FSortMarker; }
  void SetSortMarker(TSortMarkerX Value);
  bool TitleButton() const;
  void SetTitleButton(bool Value);
  bool DefaultTitleButton() const;
  bool ToolTips() const;
  void SetToolTips(bool Value);
  bool DefaultToolTips() const;

  // Whether a property is written when the column is stored.
  bool IsAlignmentStored() const;
  bool IsCaptionStored() const;
  bool IsColorStored() const;
  bool IsEndEllipsisStored() const;
  bool IsFontStored() const;
  bool IsOrientationStored() const;
  bool IsTitleButtonStored() const;
  bool IsToolTipsStored() const;

  void RestoreDefaults();
  // The own font follows its fallback again (the fallback changed).
  void RefreshDefaultFont() const;
  // The marker a title click gives: without KeepOthers the other columns' markers are cleared
  // and the marker goes down, up, down; with it down, up, none.
  void StepSortMarker(bool KeepOthers);

private:
  void FontChanged();
  bool Assigned(TColumnAssignedValueX Bit) const;
  void Assign(TColumnAssignedValueX Bit);
  TColumnX* FColumn;
  std::unique_ptr<TFont> FFont;
  TAlignment FAlignment = taLeftJustify;
  String FCaption;
  TColor FColor = clBtnFace;
  bool FEndEllipsis = false;
  String FHint;
  Integer FImageIndex = -1;
  TTextOrientationX FOrientation = tohHorizontal;
  Integer FSortIndex = 0;
  TSortMarkerX FSortMarker = smNoneX;
  bool FTitleButton = false;
  bool FToolTips = false;
};

// ---- footers

class TColumnFooterX : public TCollectionItem {
public:
  // An item of a column's Footers.
  explicit TColumnFooterX(TCollection* Collection);
  // A column's own Footer.
  explicit TColumnFooterX(TColumnX* Column);
  ~TColumnFooterX() override;
  String ClassName() const override { return QStringLiteral("TColumnFooterX"); }
  void Assign(TPersistent* Source) override;
  TColumnX* Column() const { return FColumn; }

  enum TAssigned { faAlignment, faFont, faColor, faToolTips };
  bool IsAssigned(TAssigned Which) const { return FAssigned.Contains(Which); }

  TAlignment Alignment() const;
  void SetAlignment(TAlignment Value);
  TAlignment DefaultAlignment() const;
  TColor Color() const;
  void SetColor(TColor Value);
  TColor DefaultColor() const;
  const String& DisplayFormat() const { return FDisplayFormat; }
  void SetDisplayFormat(const String& Value);
  bool EndEllipsis() const { return FEndEllipsis; }
  void SetEndEllipsis(bool Value);
  const String& FieldName() const { return FFieldName; }
  void SetFieldName(const String& Value);
  TFont* Font() const;
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  TFont* DefaultFont() const;
  bool ToolTips() const;
  void SetToolTips(bool Value);
  const String& Value() const { return FValue; }
  void SetValue(const String& Value);
  TFooterValueType ValueType() const { return FValueType; }
  void SetValueType(TFooterValueType Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);

  bool IsAlignmentStored() const { return IsAssigned(faAlignment) && FAlignment != DefaultAlignment(); }
  bool IsColorStored() const { return IsAssigned(faColor) && FColor != DefaultColor(); }
  bool IsFontStored() const { return IsAssigned(faFont); }
  bool IsToolTipsStored() const { return IsAssigned(faToolTips) && FToolTips; }

  virtual void RestoreDefaults();
  // Sets up, changes or frees the sum-list item for the footer's value type.
  void SyncSumItem();
  // The footer's item in the grid's sum list; nullptr when it has none (or it was removed
  // from the list by someone else).
  TDBSum* SumItem() const;
  // The current aggregate (the sum item's value / 10 000); Null without a sum item.
  Variant SumValue() const;

protected:
  void Changed(bool AllItems) override;

private:
  void Init();
  void FontChanged();
  void InvalidateGridFooter() const;
  TDBSumListProducer* SumList() const;
  TColumnX* FColumn = nullptr;
  TSet<TAssigned> FAssigned;
  TAlignment FAlignment = taLeftJustify;
  TColor FColor = clWindow;
  String FDisplayFormat;
  bool FEndEllipsis = false;
  String FFieldName;
  std::unique_ptr<TFont> FFont;
  bool FToolTips = false;
  String FValue;
  TFooterValueType FValueType = fvtNon;
  bool FWordWrap = false;
  Integer FSumItemID = -1;  // the item is looked up by id, so an item freed elsewhere is never touched
};

class TColumnFootersX : public TCollection {
public:
  explicit TColumnFootersX(TColumnX* Column);
  String ClassName() const override { return QStringLiteral("TColumnFootersX"); }
  TColumnX* Column() const { return FColumn; }
  TPersistent* GetOwner() const override;
  TColumnFooterX* Items(Integer Index) const { return static_cast<TColumnFooterX*>(TCollection::Items(Index)); }
  TColumnFooterX* Add() { return static_cast<TColumnFooterX*>(TCollection::Add()); }
private:
  TColumnX* FColumn;
};

// ---- objects other parts of the grid fill (drop-down box, column filter)

// What a drop-down box needs of the column that owns it: the lookup grid its settings live
// in, and a word when its list source changes.
class IDropDownBoxOwnerX {
public:
  // The grid drops Component when it is freed.
  virtual void ListSourceChanged(TComponent* Component) = 0;
  // Made on first use.
  virtual TPopupDataGridX* LookupGrid() const = 0;
  // Whether the lookup grid was made: copying boxes must not make one for every column.
  virtual bool HasLookupGrid() const = 0;
  virtual TDBLookupGridXOptions GetLookupOptions() const = 0;
  virtual void SetLookupOptions(TDBLookupGridXOptions Value) = 0;
protected:
  ~IDropDownBoxOwnerX() = default;
};

// A column's drop-down lookup box settings; the lookup grid they act on is made by its owner.
class TColumnDropDownBoxX : public TPersistent {
public:
  explicit TColumnDropDownBoxX(IDropDownBoxOwnerX* Owner);
  ~TColumnDropDownBoxX() override;
  String ClassName() const override { return QStringLiteral("TColumnDropDownBoxX"); }
  void Assign(TPersistent* Source) override;
  bool AutoFitColWidths() const { return FAutoFitColWidths; }
  void SetAutoFitColWidths(bool Value) { FAutoFitColWidths = Value; }
  TDataSource* ListSource() const { return FListSource; }
  // The grid drops the source when it is freed.
  void SetListSource(TDataSource* Value);
  // These live in the column's drop-down grid, which reading or setting them makes; a box
  // without a column reads none, the empty set and False and sets nothing.
  TDBGridColumnsX* Columns() const;
  void SetColumns(TDBGridColumnsX* Value);
  TColumnDefValuesX* ColumnDefValues() const;
  void SetColumnDefValues(TColumnDefValuesX* Value);
  TDBLookupGridXOptions Options() const;
  void SetOptions(TDBLookupGridXOptions Value);
  bool SortLocal() const;
  void SetSortLocal(bool Value);
  // Whether Columns is written when the column is stored: the user made them.
  bool ColumnsStored() const;
  bool UseMultiTitle() const { return FUseMultiTitle; }
  void SetUseMultiTitle(bool Value) { FUseMultiTitle = Value; }
  TSpecRowX* SpecRow() const { return FSpecRow.get(); }
private:
  IDropDownBoxOwnerX* FOwner;
  bool FAutoFitColWidths = true;
  TDataSource* FListSource = nullptr;
  bool FUseMultiTitle = false;
  std::unique_ptr<TSpecRowX> FSpecRow;
};

// A column's filter-row condition: the text the user typed and its parsed expression, the
// field it applies to, and for lookup columns the translation between shown and key values.
class TSTColumnFilterX : public TPersistent {
public:
  explicit TSTColumnFilterX(TColumnX* Column);
  ~TSTColumnFilterX() override;
  String ClassName() const override { return QStringLiteral("TSTColumnFilterX"); }
  void Assign(TPersistent* Source) override;
  TColumnX* Column() const { return FColumn; }
  // The text as the user entered it.
  const String& ExpressionStr() const { return FExpressionStr; }
  void SetExpressionStr(const String& Value) { FExpressionStr = Value; }
  // The parsed condition; the value kind follows the column's field.
  TSTFilterExpressionX Expression() const { return FExpression; }
  void SetExpression(const TSTFilterExpressionX& Value) { FExpression = Value; }
  // Parses Text with the operator the grid's centre assumes for a bare value and keeps it;
  // shown values of a lookup column become key values. A parse error propagates and leaves
  // both the stored text and the expression as they were.
  virtual void SetExpressionText(const String& Text);
  // SetExpressionText, then the grid repaints and a shown filter editor reloads.
  void SetFilterText(const String& Text);
  // No condition and no key value.
  void Clear();
  // The condition as the filter cell shows it; texts in it are quoted so it parses again.
  virtual String ExpressionDisplayText() const;
  virtual bool HasDropDownButton() const { return true; }
  const String& DataField() const { return FDataField; }
  void SetDataField(const String& Value) { FDataField = Value; }
  // DataField, else a lookup field's key fields, else the column's FieldName.
  virtual String FilterFieldName() const;
  // Held through a data link: a freed source leaves the filter without one.
  TDataSource* ListSource() const { return FListLink->DataSource(); }
  void SetListSource(TDataSource* Value);
  const String& ListField() const { return FListField; }
  void SetListField(const String& Value) { FListField = Value; }
  const String& KeyField() const { return FKeyField; }
  void SetKeyField(const String& Value) { FKeyField = Value; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  const Variant& KeyValue() const { return FKeyValue; }
  void SetKeyValue(const Variant& Value) { FKeyValue = Value; }
  // KeyField, else a lookup field's LookupKeyFields; ListField, else its LookupResultField;
  // the list source's data set, else the lookup field's LookupDataSet.
  String EffectiveKeyField() const;
  String EffectiveListField() const;
  TDataSet* ListDataSet() const;
  virtual Variant FirstFilterValue() const;
  virtual Variant SecondFilterValue() const { return FExpression.SecondOperand; }
  // The values of one condition as editable text: list items joined by ",", a lookup key
  // shown by its display value, quoted (quotes doubled) where the text would read back
  // otherwise.
  String ValuesAsEditText(TSTOperatorX Operator, const Variant& Value) const;
  String OperandText(TSTOperatorX Operator, const Variant& Value) const { return ValuesAsEditText(Operator, Value); }
  // The distinct values of the list source's field, or nullptr; kept until the list source's
  // activity changes.
  IMemTableDataFieldValueListX* CreateListValueList();

  // ---- the drop-down list of values
  // Sets the check states of the value entries from the condition.
  void MarkCheckedItems(TStrings* Items);
  // Builds the condition from the checked value entries and applies it as the grid does.
  void FilterTextFromCheckedItems(TStrings* Items);
  std::vector<bool>& CheckStates() { return FCheckStates; }
  Integer PressedItem() const { return FPressedItem; }
  void SetPressedItem(Integer Value) { FPressedItem = Value; }
  // Set while a value entry's click is handled, so the list stays open.
  bool ListUpdating() const { return FListUpdating; }
  void SetListUpdating(bool Value) { FListUpdating = Value; }
  // Clicks and Space add to the checked values instead of choosing one.
  bool MultiCheck() const { return FMultiCheck; }
  void SetMultiCheck(bool Value) { FMultiCheck = Value; }
  // The size the user last gave the drop-down list; 0 or less: the default.
  Integer DropDownWidth() const { return FDropDownWidth; }
  void SetDropDownWidth(Integer Value) { FDropDownWidth = Value; }
  Integer DropDownRows() const { return FDropDownRows; }
  void SetDropDownRows(Integer Value) { FDropDownRows = Value; }

protected:
  // The list source opened or closed (or went): its values are read again at the next drop-down.
  virtual void ListSourceActiveChanged();
  // Parses Text into Expression with the column's value kind and the centre's assumed operator.
  void ParseIntoExpression(const String& Text, TSTFilterExpressionX& Expression) const;
  virtual void RecodePickValues(TSTFilterExpressionX& Expression) const;

private:
  Variant DisplayToKey(const Variant& Value) const;
  Variant KeyToDisplay(const Variant& Value) const;
  bool IsLookupFilter() const;
  TColumnX* FColumn;
  String FExpressionStr;
  TSTFilterExpressionX FExpression;
  String FDataField;
  std::unique_ptr<TFieldDataLinkX> FListLink;
  String FListField;
  String FKeyField;
  bool FVisible = true;
  Variant FKeyValue = Variant::Null();
  std::unique_ptr<TDatasetFieldValueListX> FValueList;
  std::vector<bool> FCheckStates;
  Integer FPressedItem = -1;
  bool FListUpdating = false;
  bool FMultiCheck = false;
  Integer FDropDownWidth = 0;
  Integer FDropDownRows = 15;
};

// ---- column

class TColumnX : public TCollectionItem, public IDropDownBoxOwnerX {
public:
  explicit TColumnX(TCollection* Collection);
  ~TColumnX() override;
  String ClassName() const override { return QStringLiteral("TColumnX"); }
  void Assign(TPersistent* Source) override;
  String DisplayName() const override;
  void SetIndex(Integer Value) override;

  TCustomDBGridX* Grid() const;
  TDBGridColumnsX* Columns() const;
  Cardinal AssignedMask() const { return FAssignedMask; }
  bool IsAssigned(TColumnAssignedValueX Bit) const { return (FAssignedMask >> Bit) & 1u; }
  void MarkAssigned(TColumnAssignedValueX Bit) { FAssignedMask |= 1u << Bit; }
  void ResetAssignedValues();

  // ---- binding
  const String& FieldName() const { return FFieldName; }
  void SetFieldName(const String& Value);
  // The bound field, looked up by name in the grid's data set and cached.
  TField* Field() const;
  virtual void SetField(TField* Value);
  // Drops the cached field (the data set's fields changed).
  void ClearFieldCache() { FField = nullptr; }
  TField* CachedField() const { return FField; }
  virtual bool FollowsField() const { return !FStored; }
  bool Stored() const { return FStored; }
  void SetStored(bool Value) { FStored = Value; }

  // ---- inheriting settings
  TAlignment Alignment() const;
  virtual void SetAlignment(TAlignment Value);
  TAlignment DefaultAlignment() const;
  bool AlwaysShowEditButton() const;
  void SetAlwaysShowEditButton(bool Value);
  bool DefaultAlwaysShowEditButton() const;
  bool AutoDropDown() const;
  void SetAutoDropDown(bool Value);
  bool DefaultAutoDropDown() const;
  TBiDiMode BiDiMode() const;
  void SetBiDiMode(TBiDiMode Value);
  bool Checkboxes() const;
  void SetCheckboxes(bool Value);
  bool DefaultCheckboxes() const;
  TColor Color() const;
  void SetColor(TColor Value);
  TColor DefaultColor() const;
  bool DblClickNextVal() const;
  void SetDblClickNextVal(bool Value);
  bool DefaultDblClickNextVal() const;
  bool DropDownShowTitles() const;
  void SetDropDownShowTitles(bool Value);
  bool DefaultDropDownShowTitles() const;
  bool DropDownSizing() const;
  void SetDropDownSizing(bool Value);
  bool DefaultDropDownSizing() const;
  bool EndEllipsis() const;
  void SetEndEllipsis(bool Value);
  bool DefaultEndEllipsis() const;
  TFont* Font() const;
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  TFont* DefaultFont() const;
  bool HighlightRequired() const;
  void SetHighlightRequired(bool Value);
  bool DefaultHighlightRequired() const;
  TTextLayout Layout() const;
  void SetLayout(TTextLayout Value);
  TTextLayout DefaultLayout() const;
  String LookupDisplayFields() const;
  void SetLookupDisplayFields(const String& Value);
  String DefaultLookupDisplayFields() const;
  bool ReadOnly() const;
  void SetReadOnly(bool Value);
  bool DefaultReadOnly() const;
  bool TextEditing() const;
  void SetTextEditing(bool Value);
  bool DefaultTextEditing() const;
  bool ToolTips() const;
  void SetToolTips(bool Value);
  bool DefaultToolTips() const;
  Integer Width() const;
  virtual void SetWidth(Integer Value);
  Integer DefaultWidth() const;
  bool WordWrap() const;
  void SetWordWrap(bool Value);
  bool DefaultWordWrap() const;
  // The input method while the column is current: the grid's settings unless the column
  // stores its own.
  TImeMode ImeMode() const;
  void SetImeMode(TImeMode Value);
  String ImeName() const;
  void SetImeName(const String& Value);

  // ---- plain settings
  bool AutoFitColWidth() const { return FAutoFitColWidth; }
  virtual void SetAutoFitColWidth(bool Value);
  TColumnButtonStyleX ButtonStyle() const { return FButtonStyle; }
  void SetButtonStyle(TColumnButtonStyleX Value);
  const String& DisplayFormat() const { return FDisplayFormat; }
  void SetDisplayFormat(const String& Value);
  Cardinal DropDownRows() const { return FDropDownRows; }
  void SetDropDownRows(Cardinal Value) { FDropDownRows = Value; }
  Integer DropDownWidth() const { return FDropDownWidth; }
  void SetDropDownWidth(Integer Value) { FDropDownWidth = Value; }
  const String& EditMask() const { return FEditMask; }
  void SetEditMask(const String& Value) { FEditMask = Value; }
  bool HideDuplicates() const { return FHideDuplicates; }
  virtual void SetHideDuplicates(bool Value);
  TCustomImageList* ImageList() const { return FImageList; }
  void SetImageList(TCustomImageList* Value);
  Extended Increment() const { return FIncrement; }
  void SetIncrement(Extended Value) { FIncrement = Value; }
  TStrings* KeyList() const;
  void SetKeyList(TStrings* Value) { KeyList()->Assign(Value); }
  Integer MaxWidth() const { return FMaxWidth; }
  void SetMaxWidth(Integer Value);
  Integer MinWidth() const { return FMinWidth; }
  void SetMinWidth(Integer Value);
  Integer NotInKeyListIndex() const { return FNotInKeyListIndex; }
  void SetNotInKeyListIndex(Integer Value);
  TStrings* PickList() const;
  void SetPickList(TStrings* Value) { PickList()->Assign(Value); }
  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* Value) { FPopupMenu = Value; }
  bool ShowImageAndText() const { return FShowImageAndText; }
  void SetShowImageAndText(bool Value);
  Integer Tag() const { return FTag; }
  void SetTag(Integer Value) { FTag = Value; }
  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool Value);

  // ---- owned parts
  TColumnTitleX* Title() const { return FTitle.get(); }
  void SetTitle(TColumnTitleX* Value) { FTitle->Assign(Value); }
  TColumnFooterX* Footer() const { return FFooter.get(); }
  void SetFooter(TColumnFooterX* Value) { FFooter->Assign(Value); }
  TColumnFootersX* Footers() const { return FFooters.get(); }
  void SetFooters(TColumnFootersX* Value) { FFooters->Assign(Value); }
  // Footer row Row shows item Row of Footers when there is one, else the column's Footer.
  TColumnFooterX* FooterAt(Integer Row) const;
  TEditButtonsX* EditButtons() const { return FEditButtons.get(); }
  TColumnDropDownBoxX* DropDownBox() const { return FDropDownBox.get(); }
  TSpecRowX* DropDownSpecRow() const { return FDropDownSpecRow.get(); }
  TMRUListX* MRUList() const { return FMRUList.get(); }
  TSTColumnFilterX* STFilter() const { return FSTFilter.get(); }

  // ---- row-panel placement (the row panel sets them)
  // Keyboard moves may stop here: visible, editable, on an active link, with a data field
  // that may be changed.
  bool CanTabTo() const;
  Integer InRowLinePos() const { return std::max<Integer>(FInRowLinePos, 0); }
  void SetInRowLinePos(Integer Value);
  Integer InRowLineHeight() const { return std::max<Integer>(FInRowLineHeight, 1); }
  void SetInRowLineHeight(Integer Value);

  // ---- auto-fit
  Integer AutoFitShare() const { return FAutoFitShare; }
  void SetAutoFitShare(Integer Value) { FAutoFitShare = Value; }
  // The width the user gave the column, kept while auto-fitting stretches it.
  Integer DesignWidth() const { return FDesignWidth; }
  void SetDesignWidth(Integer Value) { FDesignWidth = Value; }
  bool FitBound() const { return FFitBound; }
  void SetFitBound(bool Value) { FFitBound = Value; }
  // Width on screen: Width plus the group indent on the first visible column.
  Integer GridWidth() const;
  // "Column_" + index + "_" + FieldName.
  String ComponentName() const;

  // ---- stored rules
  bool IsAlignmentStored() const;
  bool IsColorStored() const;
  bool IsFontStored() const { return IsAssigned(cvFont); }
  bool IsReadOnlyStored() const;
  bool IsWidthStored() const;
  bool IsWordWrapStored() const;

  void RestoreDefaults();
  void RefreshDefaultFont() const;

  // ---- events
  TOnColumnCheckDrawRequiredStateEventX OnCheckDrawRequiredState;
  TDBGridXAdvDrawColumnDataEvent OnAdvDrawDataCell;
  TButtonClickEventX OnEditButtonClick;
  TButtonDownEventX OnEditButtonDown;
  TGetColCellParamsEventX OnGetCellParams;
  TNotInListEventX OnNotInList;
  TColCellUpdateDataEventX OnUpdateData;
  TDBGridXFillSTFilterListValuesEvent OnFillSTFilterListValues;
  TDBGridXHintShowPauseEvent OnHintShowPause;
  TDBGridXDataHintShowEvent OnDataHintShow;
  // A grouping level on this column asks for the key of the current record and its text.
  using TGroupGetKeyValueEventX = std::function<void(TCustomDBGridX* Grid, TColumnX* Column, Variant& KeyValue)>;
  using TGroupGetKeyValueAsTextEventX = std::function<void(TCustomDBGridX* Grid, TGroupDataTreeNodeX* GroupNode,
                                                           String& Text, const Variant& KeyValue)>;
  TGroupGetKeyValueEventX OnGroupGetKeyValue;
  TGroupGetKeyValueAsTextEventX OnGroupGetKeyValueAsText;
  // The drop-down box's events are its lookup grid's own.
  TCheckTitleXBtnEvent OnDropDownBoxCheckButton() const;
  void SetOnDropDownBoxCheckButton(const TCheckTitleXBtnEvent& Value);
  TDrawColumnXCellEvent OnDropDownBoxDrawColumnCell() const;
  void SetOnDropDownBoxDrawColumnCell(const TDrawColumnXCellEvent& Value);
  TGetCellXParamsEvent OnDropDownBoxGetCellParams() const;
  void SetOnDropDownBoxGetCellParams(const TGetCellXParamsEvent& Value);
  TNotifyEvent OnDropDownBoxSortMarkingChanged() const;
  void SetOnDropDownBoxSortMarkingChanged(const TNotifyEvent& Value);
  TTitleXClickEvent OnDropDownBoxTitleBtnClick() const;
  void SetOnDropDownBoxTitleBtnClick(const TTitleXClickEvent& Value);

  // ---- factories
  virtual std::unique_ptr<TEditButtonsX> MakeEditButtons();
  virtual std::unique_ptr<TColumnFooterX> MakeFooter();
  virtual std::unique_ptr<TColumnFootersX> MakeFooters();
  virtual std::unique_ptr<TSTColumnFilterX> MakeSTFilter();
  virtual std::unique_ptr<TColumnTitleX> MakeTitle();

  // ---- cell values of the data set's current record
  enum TCellKindX { ckText = 0, ckPickList = 1, ckLookup = 2, ckKeyList = 3, ckImageList = 4, ckCheckbox = 5,
                    ckGraphic = 6 };
  TCellKindX CellKind() const;
  String DisplayText() const;
  String EditText() const;
  // The text the in-place editor starts with; Key receives the lookup key values (Null for
  // other fields).
  String LoadEditorText(Variant& Key);
  Integer CheckboxState() const;
  void SetCheckboxState(Integer State);
  Integer ImageIndexOfValue() const;
  bool CanEditValue(bool BeginEdit);
  // The one road by which the grid writes a cell.
  void ApplyValue(String Text, Variant Value, bool UseText);
  void StepValue(Extended Step);
  bool AcceptsChar(QChar Ch) const;
  String StripInvalidChars(const String& Text) const;
  String EffectiveEditMask() const;
  void FillCellParams(TColCellParamsX* Params) const;
  bool TextEditingNow();
  virtual void FireGetCellParams(bool EditMode, TColCellParamsX* Params);
  TDataSet* ListDataSet() const;
  TDataSet* LookupDataSet() const;
  // The editor style of the column; ForEditor leaves out the test that the lookup data set is open.
  TInplaceEditStyleX EditorStyle(bool ForEditor = false) const;
  bool LocateLookupRecord() const;
  // The column's drop-down data grid, made on first use and kept until the column goes.
  TPopupDataGridX* LookupGrid() const override;
  bool HasLookupGrid() const override { return FLookupGrid != nullptr; }
  void ListSourceChanged(TComponent* Component) override;
  TDBLookupGridXOptions GetLookupOptions() const override;
  void SetLookupOptions(TDBLookupGridXOptions Value) override;

  // Fits the width to the title, every record's cell and the footers.
  void OptimizeWidth();

  // The row height the current record needs in this column: the standard row height unless
  // rows fit their content, then tall enough for the (wrapped) text or picture.
  Integer NeededRowHeight() const;
  // What the grid asks every visible column when it sizes a record's row.
  virtual Integer RowHeightNeed() const { return NeededRowHeight(); }
  // True when a row of Height has room for more than one line of the column's text.
  bool WrapsInRow(Integer Height) const;

  // Sets up the sum-list items of the column's footers again.
  void SyncFooterSums();

  // Tells the collection that this column changed (AllItems: the whole collection).
  void ColumnChanged(bool AllItems) { Changed(AllItems); }

protected:
  void Changed(bool AllItems) override;

private:
  friend class TColumnTitleX;
  void FontChanged();
  bool SetAssigned(TColumnAssignedValueX Bit, bool Differs);

  Cardinal FAssignedMask = 0;
  bool FStored = true;
  String FFieldName;
  mutable TField* FField = nullptr;

  TAlignment FAlignment = taLeftJustify;
  bool FAlwaysShowEditButton = false;
  bool FAutoDropDown = false;
  TBiDiMode FBiDiMode = bdLeftToRight;
  bool FCheckboxes = false;
  TColor FColor = clWindow;
  bool FDblClickNextVal = false;
  bool FDropDownShowTitles = false;
  bool FDropDownSizing = false;
  bool FEndEllipsis = false;
  std::unique_ptr<TFont> FFont;
  bool FHighlightRequired = false;
  TTextLayout FLayout = tlTop;
  String FLookupDisplayFields;
  bool FReadOnly = false;
  bool FTextEditing = true;
  bool FToolTips = false;
  Integer FWidth = 0;
  bool FWordWrap = false;
  TImeMode FImeMode = imDontCare;
  String FImeName;

  bool FAutoFitColWidth = true;
  TColumnButtonStyleX FButtonStyle = cbsAuto;
  String FDisplayFormat;
  Cardinal FDropDownRows = 7;
  Integer FDropDownWidth = 0;
  String FEditMask;
  bool FHideDuplicates = false;
  TCustomImageList* FImageList = nullptr;
  TChangeLink FImageChangeLink;  // a change of ImageList repaints the grid
  Extended FIncrement = 1;
  mutable std::unique_ptr<TStringList> FKeyList;
  Integer FMaxWidth = 0;
  Integer FMinWidth = 0;
  Integer FNotInKeyListIndex = -1;
  mutable std::unique_ptr<TStringList> FPickList;
  TPopupMenu* FPopupMenu = nullptr;
  bool FShowImageAndText = false;
  Integer FTag = 0;
  bool FVisible = true;

  Integer FInRowLinePos = 0;
  Integer FInRowLineHeight = 1;
  Integer FAutoFitShare = 0;
  Integer FDesignWidth = 0;
  bool FFitBound = false;

  std::unique_ptr<TColumnTitleX> FTitle;
  std::unique_ptr<TColumnFooterX> FFooter;
  std::unique_ptr<TColumnFootersX> FFooters;
  std::unique_ptr<TEditButtonsX> FEditButtons;
  std::unique_ptr<TColumnDropDownBoxX> FDropDownBox;
  std::unique_ptr<TSpecRowX> FDropDownSpecRow;
  std::unique_ptr<TMRUListX> FMRUList;
  std::unique_ptr<TSTColumnFilterX> FSTFilter;
  mutable std::unique_ptr<TPopupDataGridX> FLookupGrid;
};

// The column class of TDBGridX: the same column, published.
class TDBGridColumnX : public TColumnX {
public:
  using TColumnX::TColumnX;
  String ClassName() const override { return QStringLiteral("TDBGridColumnX"); }
};

// ---- collection

class TDBGridColumnsX : public TCollection {
public:
  TDBGridColumnsX(TCustomDBGridX* Grid, TCollectionItemClass ItemClass);
  String ClassName() const override { return QStringLiteral("TDBGridColumnsX"); }
  TPersistent* GetOwner() const override;
  TCustomDBGridX* Grid() const { return FGrid; }
  TColumnX* Items(Integer Index) const { return static_cast<TColumnX*>(TCollection::Items(Index)); }
  TColumnX* operator[](Integer Index) const { return Items(Index); }
  // A stored (customised) column.
  TColumnX* Add();
  // A column made from a data-set field: not stored.
  TColumnX* AddDefault();
  bool IsCustomized() const { return Count() > 0 && Items(0)->Stored(); }
  void Assign(TPersistent* Source) override;
  void ClearFieldCaches();
  TColumnX* FindColumnByName(const String& Name) const;
  TColumnX* VertMoveAnchor() const { return FVertMoveAnchor; }
  void SetVertMoveAnchor(TColumnX* Value) { FVertMoveAnchor = Value; }
  // Row-panel moves; each answers Column itself when there is nowhere to go. NextInLine: the
  // nearest column on Column's line (Wrap: then the first of the next lines or the last of
  // the previous ones). NextVertical: the nearest column below or above that overlaps the
  // vertical move's anchor column horizontally.
  TColumnX* NextInLine(TColumnX* Column, bool Forward, bool OnlyEditable, bool Wrap) const;
  TColumnX* NextVertical(TColumnX* Column, bool Down) const;
  TColumnX* TopmostVertical(TColumnX* Column) const;
  TColumnX* BottommostVertical(TColumnX* Column) const;
  // Tab order: collection order, or along the panel's lines with left-to-right priority.
  TColumnX* NextTabColumn(TColumnX* Column, bool Forward) const;
  TColumnX* FirstTabColumn() const;
  TColumnX* LastTabColumn() const;

  // The layout of every column in the grid's own versioned format. Loading replaces the
  // columns only when the whole stream reads; a damaged stream raises and changes nothing.
  void SaveToStream(TStream* Stream) const;
  void LoadFromStream(TStream* Stream);
  // Replaces the file atomically: a failed save leaves the old file.
  void SaveToFile(const String& FileName) const;
  void LoadFromFile(const String& FileName);

  void BeginUpdate() override;
  void EndUpdate() override;
  // Times BeginUpdate was called (for tests of the layout lock).
  Integer BeginUpdateCalls() const { return FBeginUpdateCalls; }

protected:
  void Update(TCollectionItem* Item) override;

private:
  friend class TColumnX;
  TCustomDBGridX* FGrid;
  TColumnX* FVertMoveAnchor = nullptr;
  Integer FBeginUpdateCalls = 0;
};

// A list of columns that does not own them (visible, sort-marked, selected columns).
class TColumnsXList {
public:
  Integer Count() const { return Integer(FItems.size()); }
  TColumnX* Items(Integer Index) const { return FItems.at(size_t(Index)); }
  TColumnX* operator[](Integer Index) const { return Items(Index); }
  void SetItems(Integer Index, TColumnX* Value) { FItems.at(size_t(Index)) = Value; }
  void Add(TColumnX* Column) { FItems.push_back(Column); }
  void Insert(Integer Index, TColumnX* Column) { FItems.insert(FItems.begin() + Index, Column); }
  Integer IndexOf(const TColumnX* Column) const;
  void Remove(const TColumnX* Column);
  void Clear() { FItems.clear(); }
  void SetCount(Integer Value) { FItems.resize(size_t(Value), nullptr); }
  const std::vector<TColumnX*>& List() const { return FItems; }
private:
  std::vector<TColumnX*> FItems;
};
