#pragma once
// A general ordered tree: nodes own their children, carry a text and a data word, can be
// expanded and hidden, and are walked in pre-order over all nodes or only the shown ones.
#include "platform/rtl/SysUtils.h"
#include <functional>
#include <vector>

class TTreeListX;

enum TSortOrderX { soAscX, soDescX };

// How AddNode and MoveTo attach a node relative to a destination.
enum TTreeAttachModeX {
  tamAddX,            // last child of the destination's parent
  tamAddFirstX,       // first child of the destination's parent
  tamAddChildX,       // last child of the destination
  tamAddChildFirstX,  // first child of the destination
  tamInsertX          // before the destination, under the same parent
};

class TBaseTreeNodeX;
// Below 0, 0 or above 0 as A sorts before, with or after B.
using TTreeNodeCompareX = std::function<Integer(TBaseTreeNodeX* A, TBaseTreeNodeX* B, TSortOrderX Order)>;

class TBaseTreeNodeX : public TObject {
public:
  explicit TBaseTreeNodeX(TTreeListX* AOwner);
  // Frees the children.
  ~TBaseTreeNodeX() override;
  TBaseTreeNodeX(const TBaseTreeNodeX&) = delete;
  TBaseTreeNodeX& operator=(const TBaseTreeNodeX&) = delete;

  TTreeListX* Owner() const { return FOwner; }
  const String& Text() const { return FText; }
  void SetText(const String& Value) { FText = Value; }
  Integer Data() const { return FData; }
  void SetData(Integer Value) { FData = Value; }

  bool Expanded() const { return FExpanded; }
  // Changes only when the value differs and the owner allows it.
  void SetExpanded(bool Value);
  // Whether the node has visible children.
  bool HasChildren() const { return FHasChildren; }
  void SetHasChildren(bool Value) { FHasChildren = Value; }
  // Position among the parent's children; -1 for a detached node.
  Integer Index() const { return FIndex; }
  Integer Level() const { return FLevel; }
  // Raises when Value, or the level a descendant would get, exceeds the owner's MaxLevel;
  // the children follow at Value + 1.
  void SetLevel(Integer Value);
  TBaseTreeNodeX* Parent() const { return FParent; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  Integer VisibleIndex() const { return FVisibleIndex; }

  Integer Count() const { return Integer(FItems.size()); }
  // The child at Index, none outside 0 .. Count - 1.
  virtual TBaseTreeNodeX* GetItem(Integer Index) const;
  Integer VisibleItemsCount() const;
  // The visible child at Index, none outside 0 .. VisibleItemsCount - 1.
  TBaseTreeNodeX* VisibleItem(Integer Index) const;

  Integer Add(TBaseTreeNodeX* Node);
  void Insert(Integer Index, TBaseTreeNodeX* Node);
  // Takes the child out of the lists without freeing it.
  void Delete(Integer Index);
  void Exchange(Integer Index1, Integer Index2);
  // Not stable; with Recursive every child then sorts its own children.
  void SortData(TSortOrderX Order, bool Recursive, const TTreeNodeCompareX& Compare);

  virtual bool CanChangeExpanded();
  virtual bool NodeQuery() { return true; }
  // Empties both child lists without freeing the children.
  virtual void ClearItems();
  virtual void ChildVisibilityChanged(TBaseTreeNodeX* Child);
  virtual void ExpandedChanged();
  virtual void VisibilityChanged();
  virtual void BuildVisibleItems();

private:
  friend class TTreeListX;
  void CheckOwner(const TBaseTreeNodeX* Node) const;
  void StoreLevel(Integer Value);
  // Levels below this node: 0 without children.
  Integer SubtreeDepth() const;
  bool AllChildrenVisible() const { return FVisibleCount == Count(); }
  void QuickSort(Integer Left, Integer Right, TSortOrderX Order, const TTreeNodeCompareX& Compare);

  TTreeListX* FOwner;
  String FText;
  Integer FData = 0;
  bool FExpanded = false;
  bool FHasChildren = false;
  Integer FIndex = -1;
  std::vector<TBaseTreeNodeX*> FItems;
  std::vector<TBaseTreeNodeX*> FVisibleItems;
  Integer FLevel = 0;
  TBaseTreeNodeX* FParent = nullptr;
  bool FVisible = true;
  Integer FVisibleCount = 0;
  Integer FVisibleIndex = 0;
};

// Makes the nodes of a tree: NodeClassOf<TMyNode>() for nodes constructed as TMyNode(Owner).
using TTreeNodeClassX = std::function<TBaseTreeNodeX*(TTreeListX* Owner)>;
template <typename T> TTreeNodeClassX NodeClassOf() {
  return [](TTreeListX* Owner) -> TBaseTreeNodeX* { return new T(Owner); };
}

using TTreeNodeNotifyEventX = std::function<void(TObject* Sender, TBaseTreeNodeX* Node)>;
using TTreeNodeChangingEventX = std::function<bool(TObject* Sender, TBaseTreeNodeX* Node)>;

class TTreeListX : public TObject {
public:
  explicit TTreeListX(TTreeNodeClassX NodeClass);
  ~TTreeListX() override;
  TTreeListX(const TTreeListX&) = delete;
  TTreeListX& operator=(const TTreeListX&) = delete;

  TBaseTreeNodeX* Root() const { return FRoot; }
  Integer MaxLevel() const { return FMaxLevel; }
  void SetMaxLevel(Integer Value) { FMaxLevel = Value; }
  TTreeNodeNotifyEventX OnExpandedChanged;
  TTreeNodeChangingEventX OnExpandedChanging;

  virtual bool ExpandedChanging(TBaseTreeNodeX* Node);
  virtual void ExpandedChanged(TBaseTreeNodeX* Node);
  virtual Integer ListQuery() { return 0; }
  // Detaches Node and attaches it again; raises when Destination is Node or lies below it.
  virtual void MoveTo(TBaseTreeNodeX* Node, TBaseTreeNodeX* Destination, bool ReIndexing, Integer Mode);
  virtual void SortData(TSortOrderX Order, bool Recursive, const TTreeNodeCompareX& Compare);

  // A new last child of Parent (the root when none).
  TBaseTreeNodeX* AddChild(const String& Text, TBaseTreeNodeX* Parent, Integer Data);
  // A detached node, owned by the caller until attached.
  TBaseTreeNodeX* CreateNode(const String& Text, Integer Data);
  void AddNode(TBaseTreeNodeX* Node, TBaseTreeNodeX* Destination, bool ReIndexing, Integer Mode);
  // Takes Node out of its parent without freeing it.
  void ExtractNode(TBaseTreeNodeX* Node, bool ReIndexing);
  void DeleteChildren(TBaseTreeNodeX* Node);
  void DeleteNode(TBaseTreeNodeX* Node, bool ReIndexing);
  void Clear() { DeleteChildren(FRoot); }
  void ReIndex(TBaseTreeNodeX* Node, bool Recursive);

  TBaseTreeNodeX* GetFirst() const;
  TBaseTreeNodeX* GetFirstChild(TBaseTreeNodeX* Node) const;
  TBaseTreeNodeX* GetLastChild(TBaseTreeNodeX* Node) const;
  TBaseTreeNodeX* GetPrevSibling(TBaseTreeNodeX* Node) const;
  TBaseTreeNodeX* GetNextSibling(TBaseTreeNodeX* Node) const;
  // Pre-order successor and predecessor.
  TBaseTreeNodeX* GetNext(TBaseTreeNodeX* Node) const;
  TBaseTreeNodeX* GetPrevious(TBaseTreeNodeX* Node) const;
  // The last child of the last child ... of Node (the root when none is given).
  TBaseTreeNodeX* GetLastDescendant(TBaseTreeNodeX* Node) const;
  bool HasChildNodes(TBaseTreeNodeX* Node) const;
  TBaseTreeNodeX* GetFirstVisible() const;
  // Whether every ancestor below the root is visible and, with ExpandedOnly, expanded.
  bool IsShown(TBaseTreeNodeX* Node, bool ExpandedOnly) const;
  // The next node in pre-order that is visible, skipping hidden subtrees and, with
  // ExpandedOnly, the children of collapsed nodes.
  TBaseTreeNodeX* GetNextVisible(TBaseTreeNodeX* Node, bool ExpandedOnly) const;

private:
  bool IsBelow(const TBaseTreeNodeX* Node, const TBaseTreeNodeX* Ancestor) const;
  void DetachFromParent(TBaseTreeNodeX* Node, bool ReIndexing);
  TBaseTreeNodeX* NextVisibleSiblingWalk(TBaseTreeNodeX* Node) const;

  TTreeNodeClassX FNodeClass;
  Integer FMaxLevel = 1000;
  TBaseTreeNodeX* FRoot;
};
