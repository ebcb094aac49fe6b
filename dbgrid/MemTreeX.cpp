// The tree: node creation, attaching, moving, deleting and the pre-order walks.
#include "dbgrid/MemTreeX.h"
#include <algorithm>

TTreeListX::TTreeListX(TTreeNodeClassX NodeClass) : FNodeClass(std::move(NodeClass)), FRoot(FNodeClass(this)) {}

TTreeListX::~TTreeListX() { delete FRoot; }

bool TTreeListX::ExpandedChanging(TBaseTreeNodeX* Node) {
  return OnExpandedChanging ? OnExpandedChanging(this, Node) : true;
}

void TTreeListX::ExpandedChanged(TBaseTreeNodeX* Node) {
  if (OnExpandedChanged) OnExpandedChanged(this, Node);
}

void TTreeListX::SortData(TSortOrderX Order, bool Recursive, const TTreeNodeCompareX& Compare) {
  FRoot->SortData(Order, Recursive, Compare);
}

TBaseTreeNodeX* TTreeListX::AddChild(const String& Text, TBaseTreeNodeX* Parent, Integer Data) {
  if (!Parent) Parent = FRoot;
  TBaseTreeNodeX* node = FNodeClass(this);
  node->FParent = Parent;
  Parent->FHasChildren = true;
  node->FData = Data;
  node->FText = Text;
  try {
    node->SetLevel(Parent->FLevel + 1);
  } catch (...) {
    delete node;
    throw;
  }
  node->FIndex = Parent->Add(node);
  return node;
}

TBaseTreeNodeX* TTreeListX::CreateNode(const String& Text, Integer Data) {
  TBaseTreeNodeX* node = FNodeClass(this);
  node->FText = Text;
  node->FData = Data;
  return node;
}

void TTreeListX::AddNode(TBaseTreeNodeX* Node, TBaseTreeNodeX* Destination, bool ReIndexing, Integer Mode) {
  if (!Node || Node == FRoot) return;
  if (!Destination) Destination = FRoot;
  Mode &= 0x7F;
  if (Destination == FRoot && Mode != tamAddChildX && Mode != tamAddChildFirstX) return;
  if (Mode == tamAddX || Mode == tamAddFirstX) {
    Destination = Destination->FParent;
    Mode = Mode == tamAddX ? tamAddChildX : tamAddChildFirstX;
  }
  if (!Destination || (Mode == tamInsertX && !Destination->FParent)) return;
  switch (Mode) {
    case tamAddChildX:
      Node->SetLevel(Destination->FLevel + 1);
      Node->FParent = Destination;
      Destination->FHasChildren = true;
      Node->FIndex = Destination->Add(Node);
      break;
    case tamAddChildFirstX:
      Node->SetLevel(Destination->FLevel + 1);
      Node->FParent = Destination;
      Destination->FHasChildren = true;
      Destination->Insert(0, Node);
      Node->FIndex = 0;
      if (ReIndexing) ReIndex(Destination, false);
      break;
    case tamInsertX: {
      TBaseTreeNodeX* parent = Destination->FParent;
      Node->SetLevel(parent->FLevel + 1);
      Node->FParent = parent;
      parent->FHasChildren = true;
      parent->Insert(Destination->FIndex, Node);
      Node->FIndex = Destination->FIndex;
      if (ReIndexing) ReIndex(parent, false);
      break;
    }
    default:
      break;
  }
}

bool TTreeListX::IsBelow(const TBaseTreeNodeX* Node, const TBaseTreeNodeX* Ancestor) const {
  for (const TBaseTreeNodeX* p = Node; p; p = p->FParent)
    if (p == Ancestor) return true;
  return false;
}

void TTreeListX::DetachFromParent(TBaseTreeNodeX* Node, bool ReIndexing) {
  TBaseTreeNodeX* parent = Node->FParent;
  if (!parent) return;
  Integer position = Node->FIndex;
  if (parent->GetItem(position) != Node) {
    const auto found = std::find(parent->FItems.begin(), parent->FItems.end(), Node);
    position = found == parent->FItems.end() ? -1 : Integer(found - parent->FItems.begin());
  }
  parent->Delete(position);
  parent->FHasChildren = parent->Count() > 0;
  Node->FParent = nullptr;
  Node->FIndex = -1;
  if (ReIndexing) ReIndex(parent, false);
}

void TTreeListX::MoveTo(TBaseTreeNodeX* Node, TBaseTreeNodeX* Destination, bool ReIndexing, Integer Mode) {
  if (!Node || Node == FRoot) return;
  if (!Destination) Destination = FRoot;
  const Integer mode = Mode & 0x7F;
  if (Destination == FRoot && mode != tamAddChildX && mode != tamAddChildFirstX) return;
  if (IsBelow(Destination, Node)) throw Exception("Reference-loop found");
  DetachFromParent(Node, ReIndexing);
  AddNode(Node, Destination, ReIndexing, Mode);
}

void TTreeListX::ExtractNode(TBaseTreeNodeX* Node, bool ReIndexing) {
  if (Node && Node != FRoot) DetachFromParent(Node, ReIndexing);
}

void TTreeListX::DeleteChildren(TBaseTreeNodeX* Node) {
  if (!Node) return;
  std::vector<TBaseTreeNodeX*> children;
  children.swap(Node->FItems);
  Node->ClearItems();
  Node->FHasChildren = false;
  for (TBaseTreeNodeX* child : children) delete child;
}

void TTreeListX::DeleteNode(TBaseTreeNodeX* Node, bool ReIndexing) {
  if (!Node || Node == FRoot) return;
  DeleteChildren(Node);
  ExtractNode(Node, ReIndexing);
  delete Node;
}

void TTreeListX::ReIndex(TBaseTreeNodeX* Node, bool Recursive) {
  if (!Node) return;
  Node->FVisibleItems.clear();
  for (Integer i = 0; i < Node->Count(); ++i) {
    TBaseTreeNodeX* child = Node->FItems[size_t(i)];
    child->FIndex = i;
    if (Recursive) ReIndex(child, true);
  }
  Node->BuildVisibleItems();
}

TBaseTreeNodeX* TTreeListX::GetFirst() const { return FRoot->GetItem(0); }

TBaseTreeNodeX* TTreeListX::GetFirstChild(TBaseTreeNodeX* Node) const { return Node ? Node->GetItem(0) : nullptr; }

TBaseTreeNodeX* TTreeListX::GetLastChild(TBaseTreeNodeX* Node) const {
  return Node ? Node->GetItem(Node->Count() - 1) : nullptr;
}

TBaseTreeNodeX* TTreeListX::GetPrevSibling(TBaseTreeNodeX* Node) const {
  return Node && Node->FParent ? Node->FParent->GetItem(Node->FIndex - 1) : nullptr;
}

TBaseTreeNodeX* TTreeListX::GetNextSibling(TBaseTreeNodeX* Node) const {
  return Node && Node->FParent ? Node->FParent->GetItem(Node->FIndex + 1) : nullptr;
}

TBaseTreeNodeX* TTreeListX::GetNext(TBaseTreeNodeX* Node) const {
  if (!Node) return nullptr;
  if (TBaseTreeNodeX* child = Node->GetItem(0)) return child;
  for (TBaseTreeNodeX* p = Node; p; p = p->FParent)
    if (TBaseTreeNodeX* sibling = GetNextSibling(p)) return sibling;
  return nullptr;
}

TBaseTreeNodeX* TTreeListX::GetPrevious(TBaseTreeNodeX* Node) const {
  if (!Node || Node == FRoot) return Node;
  if (TBaseTreeNodeX* sibling = GetPrevSibling(Node)) return GetLastDescendant(sibling);
  return Node->FParent == FRoot ? nullptr : Node->FParent;
}

TBaseTreeNodeX* TTreeListX::GetLastDescendant(TBaseTreeNodeX* Node) const {
  TBaseTreeNodeX* result = Node ? Node : FRoot;
  while (result->Count() > 0) result = result->FItems.back();
  return result;
}

bool TTreeListX::HasChildNodes(TBaseTreeNodeX* Node) const { return (Node ? Node : FRoot)->Count() > 0; }

// From Node, the next sibling of Node or of its nearest ancestor that is visible; Node's own
// children are not entered.
TBaseTreeNodeX* TTreeListX::NextVisibleSiblingWalk(TBaseTreeNodeX* Node) const {
  TBaseTreeNodeX* p = Node;
  while (p && p != FRoot) {
    TBaseTreeNodeX* sibling = GetNextSibling(p);
    while (sibling && !sibling->FVisible) sibling = GetNextSibling(sibling);
    if (sibling) return sibling;
    p = p->FParent;
  }
  return nullptr;
}

TBaseTreeNodeX* TTreeListX::GetFirstVisible() const {
  TBaseTreeNodeX* first = FRoot->GetItem(0);
  if (!first || first->FVisible) return first;
  return NextVisibleSiblingWalk(first);
}

bool TTreeListX::IsShown(TBaseTreeNodeX* Node, bool ExpandedOnly) const {
  if (!Node || Node == FRoot) return false;
  TBaseTreeNodeX* p = Node->FParent;
  while (p && p != FRoot && p->FVisible && (!ExpandedOnly || p->FExpanded)) p = p->FParent;
  return p == FRoot;
}

TBaseTreeNodeX* TTreeListX::GetNextVisible(TBaseTreeNodeX* Node, bool ExpandedOnly) const {
  if (!Node || Node == FRoot) return nullptr;
  if (!Node->FVisible || !IsShown(Node, ExpandedOnly)) {
    // The walk goes on after the outermost node that hides this one, never back into its
    // own subtree.
    TBaseTreeNodeX* hiding = Node;
    for (TBaseTreeNodeX* p = Node; p && p != FRoot; p = p->FParent)
      if (!p->FVisible || (p != Node && ExpandedOnly && !p->FExpanded)) hiding = p;
    return NextVisibleSiblingWalk(hiding);
  }
  const bool entered = Node->Count() > 0 && (Node->FExpanded || !ExpandedOnly);
  if (entered) {
    TBaseTreeNodeX* child = Node->FItems.front();
    if (child->FVisible) return child;
    return NextVisibleSiblingWalk(child);
  }
  return NextVisibleSiblingWalk(Node);
}
