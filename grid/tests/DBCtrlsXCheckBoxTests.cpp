#include "DBCtrlsXTestSupport.h"
#include "grid/DBCtrlsX.h"

using dbedits::TPayTableForm;

namespace {

TDBCheckBoxX* PlaceCheckBox(TPayTableForm& f, const char* FieldName) {
  auto* box = new TDBCheckBoxX(f.Form);
  box->SetBounds(0, 60, 120, 17);
  box->SetParent(f.Form);
  if (FieldName) {
    box->SetDataSource(&f.Source);
    box->SetDataField(FieldName);
  }
  return box;
}

void PressSpace(TWinControl* Box) { dbedits::PressKey(Box, Qt::Key_Space, " "); }

}  // namespace

TEST(DBCheckBoxX, BooleanFieldsShowNullAsGrayed) {
  TPayTableForm f;
  TDBCheckBoxX* box = PlaceCheckBox(f, "paid");
  EXPECT_EQ(box->State(), cbChecked);
  f.Query.Next();
  EXPECT_EQ(box->State(), cbGrayed);
  f.Query.Edit();
  f.Field("paid")->SetAsBoolean(false);
  EXPECT_EQ(box->State(), cbUnchecked);

  box->SetFocus();
  PressSpace(box);
  f.Leave();
  EXPECT_TRUE(f.Field("paid")->AsBoolean());
}

TEST(DBCheckBoxX, TextFieldsMatchTheValueListsWithoutCase) {
  TPayTableForm f;
  TDBCheckBoxX* box = PlaceCheckBox(f, "flag");
  box->SetValueChecked("Y;Yes");
  box->SetValueUnchecked("N;No;");
  f.Query.Edit();
  struct Case { const char* text; TCheckBoxState state; };
  for (const Case& c : std::initializer_list<Case>{
         {"y", cbChecked}, {"YES", cbChecked}, {"no", cbUnchecked}, {"", cbUnchecked}, {"x", cbGrayed}})  {
    f.Field("flag")->SetAsString(c.text);
    EXPECT_EQ(box->State(), c.state) << c.text;
  }
  box->SetChecked(true);
  EXPECT_EQ(f.Field("flag")->AsString(), "Y");
  box->SetChecked(false);
  EXPECT_EQ(f.Field("flag")->AsString(), "N");
}

TEST(DBCheckBoxX, SpaceCyclesThroughGrayedOnlyWhenAllowed) {
  TPayTableForm f;
  TDBCheckBoxX* box = PlaceCheckBox(f, nullptr);
  box->SetFocus();
  const auto cycle = [&] {
    std::vector<TCheckBoxState> states{box->State()};
    for (int i = 0; i < 3; ++i) {
      PressSpace(box);
      states.push_back(box->State());
    }
    return states;
  };
  EXPECT_EQ(cycle(), (std::vector<TCheckBoxState>{cbUnchecked, cbChecked, cbUnchecked, cbChecked}));
  box->SetState(cbUnchecked);
  box->SetAllowGrayed(true);
  EXPECT_EQ(cycle(), (std::vector<TCheckBoxState>{cbUnchecked, cbGrayed, cbChecked, cbUnchecked}));
  f.Leave();
  EXPECT_FALSE(box->DataLink()->UnboundValue().AsBoolean());
  EXPECT_FALSE(box->StateStored()) << "an unchecked unbound box is not written to its form";
  box->SetState(cbGrayed);
  EXPECT_TRUE(VarIsNull(box->DataLink()->UnboundValue()));
  EXPECT_TRUE(box->StateStored());
}

TEST(DBCheckBoxX, AClickThatCannotFocusTheBoxDoesNotToggleIt) {
  TPayTableForm f;
  TDBCheckBoxX* box = PlaceCheckBox(f, nullptr);
  const auto click = [&] {
    box->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(TPoint(5, 5)));
    box->Perform(WM_LBUTTONUP, 0, PointToLParam(TPoint(5, 5)));
  };
  f.Form->Hide();
  click();
  EXPECT_EQ(box->State(), cbUnchecked);
  f.Form->Show();
  QApplication::setActiveWindow(f.Form->Handle());
  click();
  EXPECT_EQ(box->State(), cbChecked);
}
