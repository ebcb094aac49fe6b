#pragma once
// The multi-level title tree: a root, one leaf per column in column order and an inner
// node for every band that neighbouring columns share. A caption such as "Pay|Base" puts
// its column under the band "Pay"; neighbours that begin with the same part share it.
#include "dbgrid/DBGridXTypes.h"

class TColumnX;

class THeadTreeNode {
public:
  THeadTreeNode(const String& Caption, Integer Height, Integer Width);
  // The root frees the whole tree; any other node only itself.
  ~THeadTreeNode();
  THeadTreeNode(const THeadTreeNode&) = delete;
  THeadTreeNode& operator=(const THeadTreeNode&) = delete;

  THeadTreeNode* FirstChild = nullptr;
  TColumnX* LeafColumn = nullptr;
  bool BandPainted = false;
  Integer BandHeight = 0;
  Integer PrintHeight = 0;
  THeadTreeNode* Parent = nullptr;
  // The child rings are circular: the last child points back to the first.
  THeadTreeNode* NextSibling = nullptr;
  String Caption;
  Integer LineWidth = 0;
  Integer BandWidth = 0;
  Integer PrintWidth = 0;
  Integer TextIndent = 0;

  // Raise "Node not in Tree" when After / ParentNode is not reachable from this node.
  THeadTreeNode* InsertAfter(THeadTreeNode* After, const String& ACaption, Integer Height, Integer Width);
  THeadTreeNode* AppendChild(THeadTreeNode* ParentNode, const String& ACaption, Integer Height, Integer Width);
  void ClearChildren();
  bool Contains(const THeadTreeNode* Node) const;
  Integer Depth() const;
  // Puts the ring run From..To under one new node and returns it.
  THeadTreeNode* GroupSiblings(THeadTreeNode* From, THeadTreeNode* To, const String& ACaption, Integer Height);
  // The children in ring order.
  std::vector<THeadTreeNode*> Children() const;

private:
  THeadTreeNode* PreviousInRing() const;
  void FreeChildren();
};

// Caption parts are the non-empty runs between '|' separators.
Integer CaptionPartPos(Integer N, const String& S);
String CaptionPart(Integer N, const String& S);
String CaptionPartAt(Integer N, const String& S, Integer& Pos);
Integer CaptionPartCount(const String& S);

// One leaf per column of the collection: its node and its column.
struct TLeafColX {
  THeadTreeNode* Leaf = nullptr;
  TColumnX* Column = nullptr;
};
using PTLeafCol = std::vector<TLeafColX>;

// Rebuilds the tree under Root from the leaves' columns: each leaf first gets the whole
// caption path, then runs of leaves whose first part agrees are grouped pass by pass.
// Heights and widths are the leaf's LeafHeight and the widths the caller puts in Widths.
void BuildTitleTree(THeadTreeNode* Root, PTLeafCol& Leaves, const std::vector<Integer>& Widths, Integer LeafHeight,
                    Integer LineWidth);
