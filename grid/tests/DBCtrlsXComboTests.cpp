#include "DBCtrlsXTestSupport.h"
#include "grid/DBCtrlsX.h"
#include "grid/PopupListboxX.h"

using dbedits::TPayTableForm;

namespace {

TDBComboBoxX* UnboundCombo(TPayTableForm& f, const QStringList& Items, const QStringList& Keys = {}) {
  auto* combo = new TDBComboBoxX(f.Form);
  combo->SetBounds(0, 30, 150, 21);
  combo->SetParent(f.Form);
  for (const QString& item : Items) combo->Items()->Add(item);
  for (const QString& key : Keys) combo->KeyItems()->Add(key);
  combo->SetFocus();
  return combo;
}

}  // namespace

TEST(DBComboBoxX, TypingCompletesToTheFirstMatchingItem) {
  TPayTableForm f;
  TDBComboBoxX* combo = UnboundCombo(f, {"abc", "abd", "xyz", "1.50"});
  dbedits::Type(combo, "a");
  EXPECT_EQ(combo->EditText(), "abc");
  EXPECT_EQ(combo->SelText(), "bc");
  EXPECT_EQ(combo->ItemIndex(), 0);
  dbedits::Type(combo, "d");
  EXPECT_EQ(combo->EditText(), "ad");
  EXPECT_EQ(combo->ItemIndex(), -1);
  dbedits::Type(combo, "\bb");
  EXPECT_EQ(combo->EditText(), "abc");
  EXPECT_EQ(combo->SelText(), "c");

  combo->SelectAll();
  dbedits::Type(combo, "1");
  EXPECT_EQ(combo->EditText(), "1.50");
  dbedits::Type(combo, ".");
  EXPECT_EQ(combo->EditText(), "1.") << "a full stop is typed, not completed";
}

TEST(DBComboBoxX, KeyModeShowsTheItemOfTheFieldsKeyAndStoresTheKey) {
  TPayTableForm f;
  auto* combo = f.Place<TDBComboBoxX>("flag");
  for (const char* item : {"Yes", "No"}) combo->Items()->Add(item);
  for (const char* key : {"Y", "N"}) combo->KeyItems()->Add(key);
  EXPECT_EQ(combo->EditText(), "Yes");
  EXPECT_EQ(combo->Value().AsString(), "Y");

  combo->SetFocus();
  dbedits::PressKey(combo, Qt::Key_Down);
  EXPECT_EQ(combo->EditText(), "No");
  dbedits::PressKey(combo, Qt::Key_Down);
  EXPECT_EQ(combo->EditText(), "No") << "nothing after the last item";
  dbedits::PressKey(combo, Qt::Key_Up);
  EXPECT_EQ(combo->EditText(), "Yes");
  combo->SelectAll();
  dbedits::Type(combo, "n");
  EXPECT_EQ(combo->EditText(), "No");
  EXPECT_EQ(combo->ItemIndex(), 1);
  f.Leave();
  EXPECT_EQ(f.Field("flag")->AsString(), "N");

  f.Query.Next();
  EXPECT_EQ(combo->EditText(), "") << "a key without an item shows nothing";
  EXPECT_EQ(combo->ItemIndex(), -1);
}

TEST(DBComboBoxX, KeyModeOffersOnlyItemsThatHaveAKey) {
  TPayTableForm f;
  TDBComboBoxX* combo = UnboundCombo(f, {"one", "two", "three"}, {"1", "2"});
  EXPECT_EQ(combo->UsableItemCount(), 2);
  for (int i = 0; i < 3; ++i) dbedits::PressKey(combo, Qt::Key_Down);
  EXPECT_EQ(combo->EditText(), "two");
  combo->SelectAll();
  dbedits::Type(combo, "th");
  EXPECT_EQ(combo->EditText(), "two") << "an item without a key is never found";
}

TEST(DBComboBoxX, DeleteClearsAKeyUnlessTheFieldIsRequired) {
  TPayTableForm f;
  TDBComboBoxX* unbound = UnboundCombo(f, {"Yes", "No"}, {"Y", "N"});
  dbedits::PressKey(unbound, Qt::Key_Down);
  ASSERT_EQ(unbound->Value().AsString(), "Y");
  dbedits::PressKey(unbound, Qt::Key_Delete);
  EXPECT_TRUE(unbound->Value().IsNull());

  f.Field("flag")->SetRequired(true);
  auto* bound = f.Place<TDBComboBoxX>("flag");
  for (const char* item : {"Yes", "No"}) bound->Items()->Add(item);
  for (const char* key : {"Y", "N"}) bound->KeyItems()->Add(key);
  bound->SetFocus();
  dbedits::PressKey(bound, Qt::Key_Delete);
  EXPECT_EQ(bound->Value().AsString(), "Y");
}

TEST(DBComboBoxX, TheListDropsDownWithTheItemSelectedAndReturnTakesItsChoice) {
  TPayTableForm f;
  TDBComboBoxX* combo = UnboundCombo(f, {"Yes", "No", "Maybe"}, {"Y", "N", "M"});
  dbedits::PressKey(combo, Qt::Key_Down);
  dbedits::PressKey(combo, Qt::Key_Down, QString(), Qt::AltModifier);
  ASSERT_TRUE(combo->ListVisible());
  EXPECT_EQ(combo->DropDownList()->ItemIndex(), 0);
  EXPECT_GE(combo->DropDownList()->Width(), combo->Width());
  dbedits::PressKey(combo, Qt::Key_Down);
  dbedits::PressKey(combo, Qt::Key_Down);
  EXPECT_EQ(combo->EditText(), "Yes") << "moving in the list does not change the value yet";
  dbedits::PressKey(combo, Qt::Key_Return, "\r");
  EXPECT_FALSE(combo->ListVisible());
  EXPECT_EQ(combo->Value().AsString(), "M");

  dbedits::PressKey(combo, Qt::Key_Down, QString(), Qt::AltModifier);
  dbedits::PressKey(combo, Qt::Key_Up);
  dbedits::PressKey(combo, Qt::Key_Escape, "\x1b");
  EXPECT_FALSE(combo->ListVisible());
  EXPECT_EQ(combo->Value().AsString(), "M") << "Escape keeps the value";
}
