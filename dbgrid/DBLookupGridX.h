#pragma once
// A data-aware grid that shows the records of a list data set and lets the user pick one:
// the picked record's key goes into a field of another data set (or only into KeyValue). It
// shows any number of list columns, an optional special row above the data that stands for a
// value outside the list, searches the displayed list field as the user types and sizes itself
// in whole rows. TPopupDataGridX is the same grid as a drop-down window that never takes the
// focus; the grid's in-place editor shows a column's one under a lookup cell.
#include "dbgrid/DBGridX.h"
#include "grid/ExtraListRowX.h"
#include "grid/FieldListsX.h"

class TDBLookupGridX;
class TSizeGripX;
class TTimer;

// The cell of a lookup grid column in the special row.
class TGridColumnSpecCellX : public TPersistent {
public:
  explicit TGridColumnSpecCellX(TColumnX* Column);
  ~TGridColumnSpecCellX() override;
  String ClassName() const override { return QStringLiteral("TGridColumnSpecCellX"); }
  void Assign(TPersistent* Source) override;
  // The own text once set, else the grid special row's cell at the column's index.
  String Text() const;
  void SetText(const String& Value);
  TColor Color() const;
  void SetColor(TColor Value);
  TFont* Font();
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  bool TextAssigned() const { return FTextAssigned; }
  bool ColorAssigned() const { return FColorAssigned; }
  bool FontAssigned() const { return FFontAssigned; }
private:
  TSpecRowX* GridSpecRow() const;
  TColumnX* FColumn;
  String FText;
  bool FTextAssigned = false;
  TColor FColor = clWindow;
  bool FColorAssigned = false;
  std::unique_ptr<TFont> FFont;
  bool FFontAssigned = false;
  bool FCopying = false;
};

class TDBLookupGridColumnX : public TColumnX {
public:
  explicit TDBLookupGridColumnX(TCollection* Collection);
  ~TDBLookupGridColumnX() override;
  String ClassName() const override { return QStringLiteral("TDBLookupGridColumnX"); }
  TGridColumnSpecCellX* SpecCell() const { return FSpecCell.get(); }
  void SetSpecCell(TGridColumnSpecCellX* Value) { FSpecCell->Assign(Value); }
  // Moving a column keeps ListFieldIndex on its field and reorders ListField and the special row.
  void SetIndex(Integer Value) override;
  void SetWidth(Integer Value) override;
private:
  std::unique_ptr<TGridColumnSpecCellX> FSpecCell;
};

class TDBLookupGridColumnDefValuesX : public TColumnDefValuesX {
public:
  using TColumnDefValuesX::TColumnDefValuesX;
  String ClassName() const override { return QStringLiteral("TDBLookupGridColumnDefValuesX"); }
};

// Ties the grid to the edited field (the data side).
class TLookupGridDataLinkX : public TDataLink {
public:
  explicit TLookupGridDataLinkX(TDBLookupGridX* Grid) : FGrid(Grid) {}
  String ClassName() const override { return QStringLiteral("TLookupGridDataLinkX"); }
protected:
  void ActiveChanged() override;
  void LayoutChanged() override;
  void RecordChanged(TField* Field) override;
  void FocusControl(TField*& Field) override;
private:
  TDBLookupGridX* FGrid;
};

class TDBLookupGridX : public TCustomDBGridX {
public:
  explicit TDBLookupGridX(TComponent* AOwner);
  ~TDBLookupGridX() override;
  String ClassName() const override { return QStringLiteral("TDBLookupGridX"); }

  static constexpr Integer MaxRowCount = 100;
  static constexpr Integer MaxSearchLength = 32;
  static constexpr Cardinal SearchRestartInterval = 2000;

  // ---- the data side: where the chosen key goes
  TDataSource* DataSource() const { return FDataSideLink->DataSource(); }
  void SetDataSource(TDataSource* Value);
  const String& DataField() const { return FDataField; }
  void SetDataField(const String& Value);
  const TFieldsArrX& KeyDataFields() const { return FKeyDataFields; }
  bool LookupMode() const { return FLookupMode; }

  // ---- the list side
  TDataSource* ListSource() const { return TCustomDBGridX::DataSource(); }
  void SetListSource(TDataSource* Value);
  TDataSet* ListDataSet() const { return TCustomDBGridX::DataSet(); }
  const String& KeyField() const { return FKeyField; }
  void SetKeyField(const String& Value);
  const String& ListField() const { return FListField; }
  void SetListField(const String& Value);
  Integer ListFieldIndex() const { return FListFieldIndex; }
  void SetListFieldIndex(Integer Value);
  TField* ListFieldObject() const { return FListFieldObject; }
  const std::vector<TField*>& ListFields() const { return FListFields; }
  bool ListActive() const { return FListActive; }

  const Variant& KeyValue() const { return FKeyValue; }
  void SetKeyValue(const Variant& Value);
  // The text of the current key: the special row's while it is selected, else the list field's.
  const String& DisplayText() const { return FDisplayText; }
  TSpecRowX* SpecRow() const { return FSpecRow.get(); }
  void SetSpecRow(TSpecRowX* Value) { FSpecRow->Assign(Value); }
  const String& SearchText() const { return FSearchText; }
  bool FocusShown() const { return FFocusShown; }

  // ---- size and look
  Integer RowCount() const { return FRowCount; }
  void SetRowCount(Integer Value);
  bool ShowTitles() const { return Options().Contains(dgTitles); }
  void SetShowTitles(bool Value);
  bool AutoFitColWidths() const { return FListAutoFit; }
  void SetAutoFitColWidths(bool Value);
  TDBLookupGridXOptions LookupOptions() const;
  void SetLookupOptions(TDBLookupGridXOptions Value);
  Integer ColumnsWidth();
  // The height of the title row, 0 without titles.
  Integer TitleAreaHeight() const;
  TRect DataAreaRect();
  Integer WindowRecordIndex() const { return FWinRecIndex; }
  Integer WindowRecordCount() const { return FWinRecCount; }
  // The auto-scroll timer's interval now, 0 while it is stopped.
  Cardinal AutoScrollInterval() const;

  // ---- virtual operations
  virtual bool CanChangeKey();
  virtual bool KeyValueLocatable(const String& KeyFields, const Variant& Value) { (void)KeyFields; (void)Value; return true; }
  virtual Integer FrameSize();
  virtual Integer SpecRowHeight();
  virtual Integer ListRowHeight();
  virtual void ApplyKeyValue();
  virtual void RefreshListWindow();
  virtual void SearchKeyPressed(QChar Key);
  virtual void ChooseKeyValue(const Variant& Value);
  virtual void SpecRowChanged();
  virtual void FitToColumns();
  virtual void BindDataFields();
  virtual void BindListFields();
  virtual bool LocateKeyRecord();

  // Choosing from the keyboard and the mouse.
  void ChooseCurrentRecord();
  void ChooseSpecRow();
  void ChooseAt(Integer X, Integer Y);
  void AutoScrollTick();

  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(QChar& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
  Integer UnderTitleRowCount() const override;
  void HandleDataSetChange() override;
  void HandleLinkActiveChange(bool Active) override;
  void ScrollByRecords(Integer Distance) override;
  void FollowActiveRecord() override;
  void UpdateRowCount() override;
  void MapDataFields() override;
  void CollectShownFields(std::vector<TField*>& List) override;
  bool DrawsFocusRect() override { return FFocusShown; }
  void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
  friend class TLookupGridDataLinkX;
  friend class TDBLookupGridColumnX;
  std::unique_ptr<TColumnDefValuesX> CreateColumnDefValues() override;
  std::unique_ptr<TDBGridColumnsX> CreateColumns() override;
  void CreateWnd() override;
  void PaintUnderTitleCell(Integer ACol, Integer ARow, Integer DataCol, TRect R, TGridDrawState State) override;
  void FireGetCellParams(TColumnX* Column, TFont* AFont, TColor& Background, TGridDrawState State) override;
  void DataSideRecordChanged(TField* Field);
  bool Choosing() const { return FChoosing; }
  bool Tracking() const { return FTracking; }
  void StopTracking();
  Integer SpecRowShownHeight();
  // The current record's values of the key fields.
  Variant CurrentListKey() const;
  // The buffer row of the key's record, -1 when it is not in the window.
  Integer KeyRecordIndex();
  String KeyDisplayText() const;

private:
  std::unique_ptr<TLookupGridDataLinkX> FDataSideLink;
  std::unique_ptr<TDataSource> FInternalListSource;
  String FDataField;
  TFieldsArrX FDataFields;
  TFieldsArrX FKeyDataFields;
  String FKeyDataFieldNames;
  bool FLookupMode = false;
  String FKeyField;
  TFieldsArrX FKeyFields;
  String FListField;
  std::vector<TField*> FListFields;
  TField* FListFieldObject = nullptr;
  Integer FListFieldIndex = 0;
  bool FListActive = false;
  Variant FKeyValue = Variant::Null();
  std::unique_ptr<TSpecRowX> FSpecRow;
  String FSearchText;
  Integer FRowCount = 7;
  bool FListAutoFit = false;
  Integer FWinRecIndex = 0;
  Integer FWinRecCount = 0;
  bool FFocusShown = false;
  bool FChoosing = false;
  bool FTracking = false;
  Integer FLastTrackY = 0;
  TTimer* FScrollTimer = nullptr;
  bool FColumnChanging = false;
  bool FRefreshing = false;
  String FDisplayText;
};

// The lookup grid as a drop-down: a top-level window without the focus, with a size grip,
// that asks its owner to close when the user picks a record or releases the mouse outside.
class TPopupDataGridX : public TDBLookupGridX {
public:
  explicit TPopupDataGridX(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TPopupDataGridX"); }
  TSizeGripX* SizeGrip() const { return FSizeGrip; }
  // Set by every resize; the in-place editor reads and clears it.
  bool Sized() const { return FSized; }
  void SetSized(bool Value) { FSized = Value; }
  bool CanFocus() const override { return false; }

  std::function<void(TObject* Grid, bool Accept)> CloseUpRequest;
  std::function<void(TObject* Grid)> UserKeyChanged;

  void ApplyKeyValue() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  QWidget* CreateWidget(const TCreateParams& Params, QWidget* ParentWidget) override;
  void Dispatch(TMessage& Message) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void Resize() override;

private:
  TSizeGripX* FSizeGrip;
  bool FUserAction = false;
  bool FMayClose = false;
  bool FSized = false;
  bool FStateAtPress = false;  // a grid state other than normal was active at the press
};
