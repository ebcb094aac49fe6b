#pragma once
// Grouping a grid's records by column values: the settings, the grouping levels and the group
// data tree, whose shown nodes (group rows and record rows) are the grid's rows. Grouping
// works over a data set that offers IMemTableX only.
#include "dbgrid/MemTreeX.h"
#include "grid/MemTableX.h"
#include "platform/rtl/Classes.h"
#include "platform/ui/Graphics.h"
#include <memory>

class TCustomGridX;
class TCustomDBGridX;
class TColumnX;
class TGridDataGroupsX;
class TGridDataGroupLevelX;

class TGroupDataTreeNodeX : public TBaseTreeNodeX {
public:
  using TBaseTreeNodeX::TBaseTreeNodeX;
  TGridDataGroupLevelX* GroupLevel = nullptr;  // none for a record node
  Integer RecordIndex = 0;                     // a record node's 0-based position in the memory table
  Variant KeyValues;                           // a record node's key of each active level, then its record index
  bool IsGroupNode = false;
  Variant KeyValue;                            // a group's key value; a record node's record index
  Integer RowHeight = 0;
  bool HeightDirty = true;
};

class TGridGroupDataTreeX : public TTreeListX {
public:
  explicit TGridGroupDataTreeX(TGridDataGroupsX* Groups);

  void RebuildFromMemTable(IMemTableX* MemTable);
  void RecordInserted(Integer Index);
  void RecordChanged(Integer Index);
  void RecordDeleted(Integer Index);

  // The shown nodes in display order.
  Integer FlatCount() const { return Integer(FFlatList.size()); }
  TGroupDataTreeNodeX* FlatNode(Integer Index) const;
  Integer FlatIndexOf(TBaseTreeNodeX* Node) const;
  Integer FlatIndexOfRecord(Integer RecordIndex) const;
  // The record node carrying RecordIndex, none when no node does.
  TGroupDataTreeNodeX* FindRecordNode(Integer RecordIndex) const;

  void CollapseLevel(Integer TreeLevel);
  void ExpandLevel(Integer TreeLevel);
  void SortLevel(Integer ActiveIndex, TSortOrderX Order);
  // Deletes every group node of TreeLevel with its subtree; at level 1 or less the whole tree.
  void PruneLevel(Integer TreeLevel);
  void RecalcHeights();
  Integer NodeHeight(TGroupDataTreeNodeX* Node);
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate() { if (FUpdateCount > 0) --FUpdateCount; }
  void RebuildFlatList();

  void ExpandedChanged(TBaseTreeNodeX* Node) override;

private:
  TGroupDataTreeNodeX* AddRecordNode(const Variant& KeyValues);
  void FillRecordNode(TGroupDataTreeNodeX* Node, Integer RecordIndex, const Variant& KeyValues);
  // Deletes Node and then every ancestor left empty, up to the number of active levels.
  void DeleteWithEmptyAncestors(TGroupDataTreeNodeX* Node);
  void ShiftRecordIndexes(Integer From, Integer Delta);
  void ApplyToLevel(Integer TreeLevel, const std::function<void(TGroupDataTreeNodeX*)>& Action);
  void FlatListChanged();

  TGridDataGroupsX* FGroups;
  std::vector<TGroupDataTreeNodeX*> FFlatList;
  Integer FUpdateCount = 0;
};

using TGridDataGroupKeyValueHandlerX = std::function<void(TGridDataGroupLevelX* Level, Variant& Value)>;

class TGridDataGroupLevelX : public TCollectionItem {
public:
  explicit TGridDataGroupLevelX(TCollection* Collection);
  String ClassName() const override { return QStringLiteral("TGridDataGroupLevelX"); }
  void Assign(TPersistent* Source) override;

  TGridDataGroupsX* Groups() const;
  TColumnX* Column() const { return FColumn; }
  void SetColumn(TColumnX* Value);
  // Forgets a column that is going away, without reporting a change.
  void DropColumn() { FColumn = nullptr; }
  TColor Color() const;
  void SetColor(TColor Value);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool Value);
  TFont* Font();
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool Value);
  Integer RowHeight() const { return FRowHeight; }
  void SetRowHeight(Integer Value) { FRowHeight = Value; }
  Integer RowLines() const { return FRowLines; }
  void SetRowLines(Integer Value) { FRowLines = Value; }
  TSortOrderX SortOrder() const { return FSortOrder; }
  void SetSortOrder(TSortOrderX Value);
  TGridDataGroupKeyValueHandlerX KeyValueHandler;

  void CollapseAll();
  void ExpandAll();
  // Copies the settings' font in while ParentFont is set.
  void RefreshFont();

  virtual void LevelChanged();
  virtual void GroupRowText(TGroupDataTreeNodeX* Node, String& Text);
  // The current record's key value of this level; left untouched when there is none.
  virtual void GetKeyValue(Variant& Value);

private:
  void FontChanged();
  // Position among the active levels, -1 when the level is not active.
  Integer ActiveIndex() const;

  TColor FColor = clWindow;
  TColumnX* FColumn = nullptr;
  std::unique_ptr<TFont> FFont;
  bool FParentColor = true;
  bool FParentFont = true;
  Integer FRowHeight = 0;
  Integer FRowLines = 0;
  TSortOrderX FSortOrder = soAscX;
};

class TGridDataGroupLevelsX : public TCollection {
public:
  TGridDataGroupLevelsX(TGridDataGroupsX* Groups, TCollectionItemClass ItemClass);
  String ClassName() const override { return QStringLiteral("TGridDataGroupLevelsX"); }
  TPersistent* GetOwner() const override;
  TGridDataGroupsX* Groups() const { return FGroups; }
  TGridDataGroupLevelX* Add() { return static_cast<TGridDataGroupLevelX*>(TCollection::Add()); }
  TGridDataGroupLevelX* Items(Integer Index) const { return static_cast<TGridDataGroupLevelX*>(TCollection::Items(Index)); }
  void SortOrderChanged(TGridDataGroupLevelX* Level);
  void RefreshFonts();
protected:
  void Update(TCollectionItem* Item) override;
private:
  TGridDataGroupsX* FGroups;
};

class TGridDataGroupsX : public TPersistent {
public:
  explicit TGridDataGroupsX(TCustomGridX* Grid);
  ~TGridDataGroupsX() override;
  String ClassName() const override { return QStringLiteral("TGridDataGroupsX"); }
  void Assign(TPersistent* Source) override;
  // Makes the level collection; called once right after construction.
  void Initialize();

  TCustomGridX* Grid() const { return FGrid; }
  bool Active() const { return FActive; }
  void SetActive(bool Value);
  TColor Color() const;
  void SetColor(TColor Value);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool Value);
  TFont* Font();
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool Value);
  TGridDataGroupLevelsX* GroupLevels() const { return FGroupLevels.get(); }
  void SetGroupLevels(TGridDataGroupLevelsX* Value) { FGroupLevels->Assign(Value); }
  bool GroupPanelVisible() const { return FGroupPanelVisible; }
  void SetGroupPanelVisible(bool Value);
  bool DefaultStateExpanded() const { return FDefaultStateExpanded; }
  void SetDefaultStateExpanded(bool Value) { FDefaultStateExpanded = Value; }

  Integer ActiveLevelCount() const { return Integer(FActiveLevels.size()); }
  TGridDataGroupLevelX* ActiveLevels(Integer Index) const { return FActiveLevels[size_t(Index)]; }
  TGridGroupDataTreeX* Tree() const { return FTree.get(); }
  // The key of each active level for the record, then the record index.
  Variant RecordKeyValues(Integer RecordIndex);
  void SetPendingKeyValues(const Variant& Value) { FPendingKeyValues = Value; }
  const Variant& PendingKeyValues() const { return FPendingKeyValues; }
  // Writes the pending key values, when set, into the fields of the active levels' columns and
  // into KeyValues, then clears them.
  void ApplyPendingKeyValues(Variant& KeyValues);
  // Brings the active levels in step with the collection (after a change of it).
  void CheckStructure();

  virtual std::unique_ptr<TGridDataGroupLevelsX> CreateGroupLevels();
  virtual void ActiveChanged() {}
  virtual void GroupLevelsChanged() {}
  virtual void GroupPanelChanged() {}
  virtual void VisualChanged();
  virtual void RebuildActiveLevels();
  virtual void SortLevel(Integer ActiveIndex, TSortOrderX Order);
  virtual bool GroupingWorks() const { return FActive; }

  // What the tree asks of the grid that shows it.
  virtual IMemTableX* MemTable() const { return nullptr; }
  virtual Integer GroupRowHeight(TGroupDataTreeNodeX*) { return 0; }
  // The height of the record the memory table has entered.
  virtual Integer EnteredRecordHeight() { return 0; }
  virtual void FlatListChanged() {}
  virtual void RecordRowChanged(Integer) {}
  // Whether the grid's data set is inserting the record at RecordIndex.
  virtual bool InsertingRecord(Integer) const { return false; }

private:
  void FontChanged();

  TCustomGridX* FGrid;
  bool FActive = false;
  TColor FColor = clWindow;
  std::unique_ptr<TFont> FFont;
  bool FParentColor = true;
  bool FParentFont = true;
  bool FCopyingFont = false;
  bool FGroupPanelVisible = false;
  bool FDefaultStateExpanded = false;
  std::unique_ptr<TGridDataGroupLevelsX> FGroupLevels;
  std::vector<TGridDataGroupLevelX*> FActiveLevels;
  std::vector<TColumnX*> FActiveColumns;
  std::unique_ptr<TGridGroupDataTreeX> FTree;
  Variant FPendingKeyValues;
};

// ---- the data-aware grid's forms of a level and of the settings

using TDBGridXDataGroupGetKeyValueEvent =
    std::function<void(TCustomDBGridX* Grid, TGridDataGroupLevelX* Level, Variant& KeyValue)>;
using TDBGridXDataGroupGetKeyValueAsTextEvent = std::function<void(
    TCustomDBGridX* Grid, TGroupDataTreeNodeX* Node, String& KeyValueText, const Variant& KeyValue)>;
using TDBGridXDataGroupGetGroupRowTextEvent =
    std::function<void(TCustomDBGridX* Grid, TGroupDataTreeNodeX* Node, String& GroupRowText)>;

class TDBGridXDataGroupLevelX : public TGridDataGroupLevelX {
public:
  using TGridDataGroupLevelX::TGridDataGroupLevelX;
  String ClassName() const override { return QStringLiteral("TDBGridXDataGroupLevelX"); }
  void Assign(TPersistent* Source) override;

  TCustomDBGridX* Grid() const;
  // The column's streaming name, "Column_" + index + "_" + field name; empty without a column.
  String ColumnName() const;
  // While the grid loads only keeps the name; else the column whose streaming name matches.
  void SetColumnName(const String& Value);
  // Resolves a name kept while the grid was loading.
  void ResolveColumnName();
  void KeyValueAsText(TGroupDataTreeNodeX* Node, String& Text);

  TDBGridXDataGroupGetKeyValueEvent OnGetKeyValue;
  TDBGridXDataGroupGetKeyValueAsTextEvent OnGetKeyValueAsText;
  TDBGridXDataGroupGetGroupRowTextEvent OnGetGroupRowText;

  void LevelChanged() override;
  // Caption of the column's title, ": ", the key value as text, then " (" + the number of
  // direct children + ")".
  void GroupRowText(TGroupDataTreeNodeX* Node, String& Text) override;
  void GetKeyValue(Variant& Value) override;

private:
  String FPendingColumnName;
};

class TDBGridXDataGroupsX : public TGridDataGroupsX {
public:
  explicit TDBGridXDataGroupsX(TCustomDBGridX* Grid);
  String ClassName() const override { return QStringLiteral("TDBGridXDataGroupsX"); }
  TCustomDBGridX* DBGrid() const { return FDBGrid; }
  TDBGridXDataGroupLevelX* Levels(Integer Index) const {
    return static_cast<TDBGridXDataGroupLevelX*>(GroupLevels()->Items(Index));
  }
  Integer HotBoxIndex() const { return FHotBoxIndex; }
  void SetHotBoxIndex(Integer Value) { FHotBoxIndex = Value; }
  Integer HotButtonIndex() const { return FHotButtonIndex; }
  void SetHotButtonIndex(Integer Value) { FHotButtonIndex = Value; }
  // The level grouping by Column, none when no level does.
  TDBGridXDataGroupLevelX* LevelOfColumn(const TColumnX* Column) const;
  void ResolveColumnNames();
  // A column of the grid is gone: levels on it lose their column and the tree is grouped anew.
  void ColumnRemoved(TColumnX* Column);

  std::unique_ptr<TGridDataGroupLevelsX> CreateGroupLevels() override;
  void ActiveChanged() override;
  void GroupLevelsChanged() override;
  void GroupPanelChanged() override;
  void RebuildActiveLevels() override;
  virtual void MoveGroupLevel(Integer FromIndex, Integer ToIndex);
  bool GroupingWorks() const override;

  IMemTableX* MemTable() const override;
  Integer GroupRowHeight(TGroupDataTreeNodeX* Node) override;
  Integer EnteredRecordHeight() override;
  void FlatListChanged() override;
  void RecordRowChanged(Integer FlatIndex) override;
  bool InsertingRecord(Integer RecordIndex) const override;

private:
  TCustomDBGridX* FDBGrid;
  Integer FHotBoxIndex = -1;
  Integer FHotButtonIndex = -1;
};
