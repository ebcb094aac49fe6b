#include "dbgrid/DBGridXTitleTree.h"
#include "dbgrid/DBGridXColumns.h"

namespace {
const char* const SNodeNotInTree = "Node not in Tree";
const char* const SToNotInLevel = "ATo not in level";
}  // namespace

THeadTreeNode::THeadTreeNode(const String& Caption, Integer Height, Integer Width)
    : BandHeight(Height), NextSibling(this), Caption(Caption), BandWidth(Width) {}

THeadTreeNode::~THeadTreeNode() {
  if (!Parent) FreeChildren();
}

void THeadTreeNode::FreeChildren() {
  for (THeadTreeNode* child : Children()) {
    child->FreeChildren();
    delete child;
  }
  FirstChild = nullptr;
}

void THeadTreeNode::ClearChildren() { FreeChildren(); }

std::vector<THeadTreeNode*> THeadTreeNode::Children() const {
  std::vector<THeadTreeNode*> result;
  if (!FirstChild) return result;
  THeadTreeNode* node = FirstChild;
  do {
    result.push_back(node);
    node = node->NextSibling;
  } while (node != FirstChild);
  return result;
}

bool THeadTreeNode::Contains(const THeadTreeNode* Node) const {
  if (!Node) return false;
  const THeadTreeNode* member = this;
  do {
    if (member == Node) return true;
    for (const THeadTreeNode* child : member->Children())
      if (child->Contains(Node)) return true;
    member = member->NextSibling;
  } while (member && member != this);
  return false;
}

Integer THeadTreeNode::Depth() const {
  Integer depth = 0;
  for (const THeadTreeNode* node = Parent; node; node = node->Parent) ++depth;
  return depth;
}

THeadTreeNode* THeadTreeNode::PreviousInRing() const {
  const THeadTreeNode* node = this;
  while (node->NextSibling != this) node = node->NextSibling;
  return const_cast<THeadTreeNode*>(node);
}

THeadTreeNode* THeadTreeNode::InsertAfter(THeadTreeNode* After, const String& ACaption, Integer Height,
                                          Integer Width) {
  if (!Contains(After)) throw Exception(QString::fromLatin1(SNodeNotInTree));
  auto* node = new THeadTreeNode(ACaption, Height, Width);
  node->Parent = After->Parent;
  node->NextSibling = After->NextSibling;
  After->NextSibling = node;
  return node;
}

THeadTreeNode* THeadTreeNode::AppendChild(THeadTreeNode* ParentNode, const String& ACaption, Integer Height,
                                          Integer Width) {
  if (!Contains(ParentNode)) throw Exception(QString::fromLatin1(SNodeNotInTree));
  auto* node = new THeadTreeNode(ACaption, Height, Width);
  node->Parent = ParentNode;
  if (!ParentNode->FirstChild) {
    ParentNode->FirstChild = node;
  } else {
    THeadTreeNode* last = ParentNode->FirstChild->PreviousInRing();
    last->NextSibling = node;
    node->NextSibling = ParentNode->FirstChild;
  }
  return node;
}

THeadTreeNode* THeadTreeNode::GroupSiblings(THeadTreeNode* From, THeadTreeNode* To, const String& ACaption,
                                            Integer Height) {
  if (!Contains(From)) throw Exception(QString::fromLatin1(SNodeNotInTree));
  // To must be From or follow it before the ring returns to the parent's first child.
  std::vector<THeadTreeNode*> run{From};
  const THeadTreeNode* first = From->Parent ? From->Parent->FirstChild : From;
  for (THeadTreeNode* node = From; node != To;) {
    node = node->NextSibling;
    if (node == first || node == From) throw Exception(QString::fromLatin1(SToNotInLevel));
    run.push_back(node);
  }
  THeadTreeNode* group = InsertAfter(To, ACaption, Height, 0);
  group->LineWidth = To->LineWidth;
  THeadTreeNode* before = From->PreviousInRing();
  THeadTreeNode* parent = From->Parent;
  if (before == To) {
    // The run was the whole ring apart from the new node.
    group->NextSibling = group;
  } else {
    before->NextSibling = group;
  }
  if (parent && parent->FirstChild == From) parent->FirstChild = group;
  Integer width = 0;
  for (THeadTreeNode* node : run) {
    node->Parent = group;
    node->BandHeight -= Height;
    width += node->BandWidth + group->LineWidth;
  }
  To->NextSibling = From;
  group->FirstChild = From;
  group->BandWidth = group->LineWidth > 0 ? width - group->LineWidth : width;
  return group;
}

// ---- caption parts

namespace {
struct TPart {
  Integer Start;  // 0-based
  Integer Length;
};

std::vector<TPart> SplitParts(const String& S) {
  std::vector<TPart> parts;
  Integer i = 0;
  const Integer n = Integer(S.size());
  while (i < n) {
    while (i < n && S[i] == u'|') ++i;
    const Integer start = i;
    while (i < n && S[i] != u'|') ++i;
    if (i > start) parts.push_back({start, i - start});
  }
  return parts;
}
}  // namespace

Integer CaptionPartCount(const String& S) { return Integer(SplitParts(S).size()); }

Integer CaptionPartPos(Integer N, const String& S) {
  const std::vector<TPart> parts = SplitParts(S);
  if (N < 1 || N > Integer(parts.size())) return 0;
  return parts[size_t(N - 1)].Start + 1;
}

String CaptionPart(Integer N, const String& S) {
  Integer pos = 0;
  return CaptionPartAt(N, S, pos);
}

String CaptionPartAt(Integer N, const String& S, Integer& Pos) {
  const std::vector<TPart> parts = SplitParts(S);
  if (N < 1 || N > Integer(parts.size())) {
    Pos = 0;
    return String();
  }
  const TPart& part = parts[size_t(N - 1)];
  Pos = part.Start + 1;
  return S.mid(part.Start, part.Length);
}

// ---- building

namespace {
// The caption a leaf shows: its last remaining part, or the remaining path when it could
// not be split further.
String LeafCaption(const String& Rest) { return CaptionPartCount(Rest) <= 1 ? CaptionPart(1, Rest) : Rest; }
}  // namespace

void BuildTitleTree(THeadTreeNode* Root, PTLeafCol& Leaves, const std::vector<Integer>& Widths, Integer LeafHeight,
                    Integer LineWidth) {
  Root->ClearChildren();
  // Each leaf keeps the part of its caption path that no band has taken yet.
  std::vector<String> rest(Leaves.size());
  for (size_t i = 0; i < Leaves.size(); ++i) {
    TColumnX* column = Leaves[i].Column;
    rest[i] = column->Title()->Caption();
    THeadTreeNode* leaf = Root->AppendChild(Root, rest[i], LeafHeight, Widths[i]);
    leaf->LeafColumn = column;
    leaf->TextIndent = column->Title()->SortMarker() != smNoneX ? 16 : 0;
    leaf->LineWidth = LineWidth;
    Leaves[i].Leaf = leaf;
  }
  // Every grouping removes one part from the captions of its run, so the passes end. A run
  // whose leaves do not stand side by side in one ring (their depths differ) gets no band
  // and keeps its captions whole; the scan goes on behind its first leaf. The check comes
  // before anything changes, so the tree is never left half built.
  bool changed = true;
  while (changed) {
    changed = false;
    for (size_t i = 0; i < Leaves.size() && !changed; ++i) {
      if (CaptionPartCount(rest[i]) < 2) continue;
      const String part = CaptionPart(1, rest[i]);
      size_t last = i;
      while (last + 1 < Leaves.size() && CaptionPart(1, rest[last + 1]) == part) ++last;
      bool oneRing = Leaves[i].Leaf->Depth() == Leaves[last].Leaf->Depth();
      for (size_t k = i + 1; k <= last && oneRing; ++k)
        oneRing = Leaves[k].Leaf->Parent == Leaves[i].Leaf->Parent;
      if (!oneRing) continue;
      for (size_t k = i; k <= last; ++k) {
        const Integer pos = CaptionPartPos(2, rest[k]);
        rest[k] = pos > 0 ? rest[k].mid(pos - 1) : String();
      }
      Root->GroupSiblings(Leaves[i].Leaf, Leaves[last].Leaf, part, 20);
      changed = true;
    }
  }
  for (size_t i = 0; i < Leaves.size(); ++i) Leaves[i].Leaf->Caption = LeafCaption(rest[i]);
}
