// Cell values of a column: kinds, texts through key and pick lists, check boxes, stepping
// and writing back.
#include "DBGridXTestSupport.h"
#include "platform/ui/ImgList.h"

using dbgridtest::TGridForm;

namespace {
TColumnX* ColumnOf(TGridForm& F, const char* FieldName) {
  TColumnX* column = F.Grid->Columns()->Add();
  column->SetFieldName(FieldName);
  return column;
}
void SetList(TStrings* List, std::initializer_list<const char*> Items) {
  List->Clear();
  for (const char* item : Items) List->Add(QString::fromUtf8(item));
}
}  // namespace

TEST(DBGridXCellValues, CellKindFollowsTheFirstRuleThatHolds) {
  TGridForm f;
  f.Bind();
  TColumnX* c = ColumnOf(f, "flag");
  TCustomImageList images(nullptr);
  struct Case {
    const char* what;
    std::function<void()> setUp;
    TColumnX::TCellKindX kind;
  };
  for (const Case& k : std::initializer_list<Case>{
           {"plain", [] {}, TColumnX::ckText},
           {"pick list", [&] { SetList(c->PickList(), {"a"}); }, TColumnX::ckPickList},
           {"image list", [&] { c->PickList()->Clear(); c->SetImageList(&images); }, TColumnX::ckImageList},
           {"key list", [&] { c->SetImageList(nullptr); SetList(c->KeyList(), {"Y"}); SetList(c->PickList(), {"是"}); },
            TColumnX::ckKeyList},
           {"image list before key list", [&] { c->SetImageList(&images); }, TColumnX::ckImageList},
           {"image and text", [&] { c->SetShowImageAndText(true); }, TColumnX::ckKeyList},
           {"check boxes first", [&] { c->SetCheckboxes(true); }, TColumnX::ckCheckbox},
       }) {
    k.setUp();
    EXPECT_EQ(c->CellKind(), k.kind) << k.what;
  }
}

TEST(DBGridXCellValues, KeyAndPickListsMapTheShownText) {
  TGridForm f;
  f.Bind();
  TColumnX* c = ColumnOf(f, "flag");
  SetList(c->KeyList(), {"Y", "N", "x"});
  SetList(c->PickList(), {"是", "否"});
  struct Case {
    Integer record;
    Integer notInKeyList;
    const char* display;
  };
  for (const Case& k : std::initializer_list<Case>{{1, -1, "是"}, {2, -1, "否"}, {3, -1, ""}, {3, 0, "是"},
                                                   {3, 1, "否"}, {3, 2, ""}}) {
    f.Query.SetRecNo(k.record);
    c->SetNotInKeyListIndex(k.notInKeyList);
    EXPECT_EQ(c->DisplayText(), QString::fromUtf8(k.display)) << k.record << " " << k.notInKeyList;
    EXPECT_EQ(c->EditText(), c->DisplayText());
  }
  TColumnX* amount = ColumnOf(f, "base");
  amount->SetDisplayFormat("#,##0.00");
  f.Query.SetRecNo(2);
  EXPECT_EQ(amount->DisplayText(), "2,000.50");
  EXPECT_EQ(amount->EditText(), f.Field("base")->Text());
  EXPECT_EQ(ColumnOf(f, "nosuch")->DisplayText(), "");
}

TEST(DBGridXCellValues, CheckboxStatesComeFromSemicolonLists) {
  EXPECT_TRUE(MatchesValueList("", ""));
  EXPECT_TRUE(MatchesValueList("Y; yes ", "YES"));
  EXPECT_FALSE(MatchesValueList("Y;yes", ""));
  EXPECT_TRUE(MatchesValueList("N;", ""));
  TGridForm f;
  f.Bind();
  TColumnX* c = ColumnOf(f, "flag");
  c->SetCheckboxes(true);
  SetList(c->KeyList(), {" y ; Yes", "n;"});
  struct Case {
    const char* text;
    Integer state;
  };
  f.Query.First();
  for (const Case& k : std::initializer_list<Case>{{"Y", 1}, {"yes", 1}, {"N", 0}, {"", 0}, {"x", 2}}) {
    f.Query.Edit();
    f.Field("flag")->SetAsString(k.text);
    EXPECT_EQ(c->CheckboxState(), k.state) << k.text;
    f.Query.Cancel();
  }
  TColumnX* bonus = ColumnOf(f, "bonus");
  f.Query.SetRecNo(2);
  EXPECT_EQ(bonus->CheckboxState(), 2) << "null number";
  f.Query.SetRecNo(1);
  EXPECT_EQ(bonus->CheckboxState(), 0);
  // Setting a text column's state writes the first value of the key-list item.
  f.Query.Edit();
  c->SetCheckboxState(0);
  EXPECT_EQ(f.Field("flag")->AsString(), "n");
  c->SetCheckboxState(1);
  EXPECT_EQ(f.Field("flag")->AsString(), "y");
}

TEST(DBGridXCellValues, StepValueWrapsAndStepsNumbers) {
  TGridForm f;
  f.Bind();
  TColumnX* keys = ColumnOf(f, "flag");
  SetList(keys->KeyList(), {"Y", "n", "x"});
  SetList(keys->PickList(), {"是", "否", "?"});
  f.Query.SetRecNo(3);  // "x", the last key
  keys->StepValue(1);
  EXPECT_EQ(f.Field("flag")->AsString(), "Y");
  keys->StepValue(-1);
  EXPECT_EQ(f.Field("flag")->AsString(), "x");
  f.Query.Cancel();

  TColumnX* picks = ColumnOf(f, "name");
  SetList(picks->PickList(), {"Li", "Wang"});
  Integer updates = 0;
  picks->OnUpdateData = [&](TObject*, String&, Variant&, bool&, bool&) { ++updates; };
  f.Query.SetRecNo(3);  // "Wang", the last item
  picks->StepValue(1);
  EXPECT_EQ(f.Field("name")->AsString(), "Li");
  EXPECT_EQ(updates, 0) << "the wrap sets the text directly";
  picks->StepValue(1);
  EXPECT_EQ(f.Field("name")->AsString(), "Wang");
  EXPECT_EQ(updates, 1) << "a neighbour goes through ApplyValue";
  f.Query.Cancel();

  TColumnX* qty = ColumnOf(f, "qty");
  f.Query.SetRecNo(2);
  ASSERT_TRUE(f.Field("qty")->IsNull());
  qty->StepValue(1);
  EXPECT_EQ(f.Field("qty")->AsInteger(), 0) << "a null integer stepped by 1 gives 0";
  qty->StepValue(2.5);
  EXPECT_EQ(f.Field("qty")->AsInteger(), 2);
  f.Query.Cancel();

  // An image-list column with no keys steps nothing.
  TCustomImageList images(nullptr);
  TColumnX* image = ColumnOf(f, "flag");
  image->SetImageList(&images);
  f.Query.SetRecNo(1);
  image->StepValue(1);
  EXPECT_EQ(f.Field("flag")->AsString(), "Y");
  f.Query.Cancel();
}

TEST(DBGridXCellValues, AHandledUpdateLeavesTheField) {
  TGridForm f;
  f.Bind();
  TColumnX* c = ColumnOf(f, "name");
  String seen;
  c->OnUpdateData = [&](TObject*, String& Text, Variant&, bool&, bool& Handled) {
    seen = Text;
    Handled = true;
  };
  f.Query.First();
  f.Query.Edit();
  c->ApplyValue("Other", Variant("Other"), true);
  EXPECT_EQ(seen, "Other");
  EXPECT_EQ(f.Field("name")->AsString(), "Zhang");
  c->OnUpdateData = nullptr;
  c->ApplyValue("Other", Variant("Other"), true);
  EXPECT_EQ(f.Field("name")->AsString(), "Other");
  f.Query.Cancel();
  EXPECT_TRUE(c->CanEditValue(false));
  c->SetReadOnly(true);
  EXPECT_FALSE(c->CanEditValue(false));
}
