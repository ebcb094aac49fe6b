// The ordered tree: levels, attaching and moving, the visible-children list, walks and sorting.
#include "dbgrid/MemTreeX.h"
#include <gtest/gtest.h>

namespace {

// Builds a tree from "a(b c(d)) e" style descriptions, names in Text.
class TreeFixture : public ::testing::Test {
protected:
  TTreeListX Tree{NodeClassOf<TBaseTreeNodeX>()};

  TBaseTreeNodeX* Add(const char* Name, TBaseTreeNodeX* Parent = nullptr) {
    return Tree.AddChild(QString::fromUtf8(Name), Parent, 0);
  }

  // The names along a walk from Start.
  template <typename Step> std::string Walk(TBaseTreeNodeX* Start, Step NextOf) {
    std::string names;
    for (TBaseTreeNodeX* n = Start; n; n = NextOf(n)) names += (names.empty() ? "" : " ") + n->Text().toStdString();
    return names;
  }

  std::string Children(TBaseTreeNodeX* Parent) {
    std::string names;
    for (Integer i = 0; i < Parent->Count(); ++i)
      names += (i ? " " : "") + Parent->GetItem(i)->Text().toStdString() + ":" + std::to_string(Parent->GetItem(i)->Index());
    return names;
  }
};

TEST_F(TreeFixture, LevelsFollowParentsAndStopAtMaxLevel) {
  TBaseTreeNodeX* a = Add("a");
  TBaseTreeNodeX* b = Add("b", a);
  TBaseTreeNodeX* c = Add("c", b);
  EXPECT_EQ(a->Level(), 1);
  EXPECT_EQ(c->Level(), 3);
  EXPECT_TRUE(a->HasChildren());

  b->SetLevel(10);
  EXPECT_EQ(c->Level(), 11);

  try {
    a->SetLevel(1001);
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "TBaseTreeNodeX.SetLevel: Max level exceed - 1000");
  }
  EXPECT_EQ(a->Level(), 1);
  EXPECT_THROW(a->SetLevel(999), Exception) << "c would reach 1001";
  EXPECT_EQ(c->Level(), 11) << "a refused level changes nothing";
  a->SetLevel(998);
  EXPECT_EQ(c->Level(), 1000);
}

TEST_F(TreeFixture, NodesOfAnotherTreeAreRefused) {
  TTreeListX other(NodeClassOf<TBaseTreeNodeX>());
  TBaseTreeNodeX* stranger = other.CreateNode("x", 0);
  try {
    Tree.Root()->Add(stranger);
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "TBaseTreeNodeX.Add: Tree nodes can not has different Owners");
  }
  delete stranger;
}

TEST_F(TreeFixture, AttachModesPlaceTheNode) {
  struct Case { TTreeAttachModeX mode; const char* rootChildren; const char* aChildren; };
  for (const Case& c : std::initializer_list<Case>{
         {tamAddX, "a:0 b:1 n:2", "a1:0 a2:1"},
         {tamAddFirstX, "n:0 a:1 b:2", "a1:0 a2:1"},
         {tamAddChildX, "a:0 b:1", "a1:0 a2:1 n:2"},
         {tamAddChildFirstX, "a:0 b:1", "n:0 a1:1 a2:2"},
         {tamInsertX, "n:0 a:1 b:2", "a1:0 a2:1"}}) {
    Tree.Clear();
    TBaseTreeNodeX* a = Add("a");
    Add("b");
    Add("a1", a);
    Add("a2", a);
    TBaseTreeNodeX* n = Tree.CreateNode("n", 7);
    EXPECT_EQ(n->Index(), -1);
    Tree.AddNode(n, a, true, c.mode);
    EXPECT_EQ(Children(Tree.Root()), c.rootChildren) << c.mode;
    EXPECT_EQ(Children(a), c.aChildren) << c.mode;
    EXPECT_EQ(n->Level(), n->Parent()->Level() + 1) << c.mode;
    EXPECT_EQ(n->Data(), 7);
  }
}

TEST_F(TreeFixture, MovingGuardsAgainstLoopsAndTheRoot) {
  TBaseTreeNodeX* a = Add("a");
  TBaseTreeNodeX* b = Add("b", a);
  TBaseTreeNodeX* c = Add("c", b);
  TBaseTreeNodeX* d = Add("d");

  for (TBaseTreeNodeX* below : {a, b, c}) {
    try {
      Tree.MoveTo(a, below, true, tamAddChildX);
      FAIL() << "no exception";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), "Reference-loop found");
    }
  }
  EXPECT_EQ(Children(Tree.Root()), "a:0 d:1");

  Tree.MoveTo(d, Tree.Root(), true, tamAddX);
  EXPECT_EQ(Children(Tree.Root()), "a:0 d:1");

  Tree.MoveTo(b, d, true, tamAddChildX);
  EXPECT_EQ(Children(Tree.Root()), "a:0 d:1");
  EXPECT_FALSE(a->HasChildren());
  EXPECT_EQ(b->Parent(), d);
  EXPECT_EQ(c->Level(), 3);
}

TEST_F(TreeFixture, HiddenChildrenLeaveTheVisibleList) {
  TBaseTreeNodeX* p = Add("p");
  TBaseTreeNodeX* x = Add("x", p);
  TBaseTreeNodeX* y = Add("y", p);
  TBaseTreeNodeX* z = Add("z", p);
  EXPECT_EQ(p->VisibleItemsCount(), 3);

  y->SetVisible(false);
  EXPECT_EQ(p->VisibleItemsCount(), 2);
  EXPECT_EQ(x->VisibleIndex(), 0);
  EXPECT_EQ(z->VisibleIndex(), 1);
  EXPECT_EQ(p->VisibleItem(1), z);
  EXPECT_EQ(p->VisibleItem(2), nullptr);

  TBaseTreeNodeX* w = Add("w", p);
  EXPECT_EQ(p->VisibleItemsCount(), 3);
  EXPECT_EQ(w->VisibleIndex(), 2);

  y->SetVisible(true);
  Tree.ReIndex(p, false);
  EXPECT_EQ(p->VisibleItemsCount(), 4);
  EXPECT_EQ(y->VisibleIndex(), 1);

  for (TBaseTreeNodeX* child : {x, y, z, w}) child->SetVisible(false);
  EXPECT_EQ(p->VisibleItemsCount(), 0);
  EXPECT_FALSE(p->HasChildren());
  EXPECT_EQ(p->GetItem(-1), nullptr);
  EXPECT_EQ(p->GetItem(4), nullptr);
}

TEST_F(TreeFixture, WalksInPreOrderAndSkipCollapsedAndHiddenSubtrees) {
  TBaseTreeNodeX* a = Add("a");
  Add("a1", a);
  TBaseTreeNodeX* a2 = Add("a2", a);
  Add("a21", a2);
  TBaseTreeNodeX* b = Add("b");
  TBaseTreeNodeX* b1 = Add("b1", b);
  Add("c");
  a->SetExpanded(true);
  b->SetExpanded(true);

  EXPECT_EQ(Walk(Tree.GetFirst(), [&](TBaseTreeNodeX* n) { return Tree.GetNext(n); }), "a a1 a2 a21 b b1 c");
  EXPECT_EQ(Walk(Tree.GetLastDescendant(nullptr), [&](TBaseTreeNodeX* n) { return Tree.GetPrevious(n); }),
            "c b1 b a21 a2 a1 a");

  auto shown = [&](TBaseTreeNodeX* n) { return Tree.GetNextVisible(n, true); };
  auto all = [&](TBaseTreeNodeX* n) { return Tree.GetNextVisible(n, false); };
  EXPECT_EQ(Walk(Tree.GetFirstVisible(), shown), "a a1 a2 b b1 c") << "a2 is collapsed";
  EXPECT_EQ(Walk(Tree.GetFirstVisible(), all), "a a1 a2 a21 b b1 c");

  b->SetVisible(false);
  EXPECT_EQ(Walk(Tree.GetFirstVisible(), all), "a a1 a2 a21 c");
  EXPECT_FALSE(Tree.IsShown(b1, false));
  EXPECT_EQ(Tree.GetNextVisible(b1, false)->Text(), "c") << "from inside a hidden subtree";

  a->SetVisible(false);
  EXPECT_EQ(Tree.GetFirstVisible()->Text(), "c");
  EXPECT_TRUE(Tree.IsShown(a, true));
  EXPECT_FALSE(Tree.IsShown(Tree.Root(), false));
}

TEST_F(TreeFixture, ExpansionAsksTheOwnerAndTellsIt) {
  TBaseTreeNodeX* a = Add("a");
  std::vector<TBaseTreeNodeX*> changed;
  Tree.OnExpandedChanged = [&](TObject*, TBaseTreeNodeX* Node) { changed.push_back(Node); };
  Tree.OnExpandedChanging = [&](TObject*, TBaseTreeNodeX*) { return false; };
  a->SetExpanded(true);
  EXPECT_FALSE(a->Expanded());
  Tree.OnExpandedChanging = nullptr;
  a->SetExpanded(true);
  a->SetExpanded(true);
  EXPECT_TRUE(a->Expanded());
  EXPECT_EQ(changed, std::vector<TBaseTreeNodeX*>{a});
}

TEST_F(TreeFixture, RecursiveSortOrdersEveryLevel) {
  const std::vector<std::pair<const char*, std::vector<const char*>>> shape = {
      {"m", {"m3", "m1", "m2"}}, {"c", {"c2", "c1"}}, {"x", {}}, {"a", {"a9", "a5", "a7", "a1"}}};
  for (const auto& [name, kids] : shape) {
    TBaseTreeNodeX* node = Add(name);
    for (const char* kid : kids) Add(kid, node);
  }
  Tree.GetFirst()->GetItem(1)->SetVisible(false);  // m1 hidden
  const TTreeNodeCompareX byText = [](TBaseTreeNodeX* A, TBaseTreeNodeX* B, TSortOrderX Order) {
    const int result = QString::compare(A->Text(), B->Text());
    return Order == soAscX ? result : -result;
  };

  Tree.SortData(soAscX, false, byText);
  EXPECT_EQ(Children(Tree.Root()), "a:0 c:1 m:2 x:3");
  EXPECT_EQ(Children(Tree.Root()->GetItem(0)), "a9:0 a5:1 a7:2 a1:3") << "not recursive";

  Tree.SortData(soDescX, true, byText);
  EXPECT_EQ(Children(Tree.Root()), "x:0 m:1 c:2 a:3");
  EXPECT_EQ(Children(Tree.Root()->GetItem(3)), "a9:0 a7:1 a5:2 a1:3");
  TBaseTreeNodeX* m = Tree.Root()->GetItem(1);
  EXPECT_EQ(Children(m), "m3:0 m2:1 m1:2");
  EXPECT_EQ(m->VisibleItem(1)->Text(), "m2") << "the visible list follows the new order";
}

TEST_F(TreeFixture, DeletingFreesSubtreesAndKeepsParentsInStep) {
  TBaseTreeNodeX* a = Add("a");
  TBaseTreeNodeX* b = Add("b");
  Add("b1", b);
  Add("c");
  Tree.DeleteNode(b, true);
  EXPECT_EQ(Children(Tree.Root()), "a:0 c:1");
  Tree.ExtractNode(a, true);
  EXPECT_EQ(Children(Tree.Root()), "c:0");
  EXPECT_EQ(a->Parent(), nullptr);
  delete a;
  Tree.Clear();
  EXPECT_EQ(Tree.GetFirst(), nullptr);
  EXPECT_EQ(Tree.GetFirstVisible(), nullptr);
  EXPECT_FALSE(Tree.HasChildNodes(nullptr));
}

}  // namespace
