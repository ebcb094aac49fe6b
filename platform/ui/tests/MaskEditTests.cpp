#include "platform/ui/MaskEngine.h"
#include "platform/rtl/SysUtils.h"
#include <gtest/gtest.h>

namespace {

// Keystrokes: '\b' is Backspace, '\x7f' Delete; everything else is typed.
struct TypingCase {
  const char* mask;
  const char* keys;
  const char* editText;
  const char* text;
  Integer caret;
};

TMaskEngine::TEditState PressKeys(const TMaskEngine& engine, const QString& keys) {
  TMaskEngine::TEditState s{engine.EmptyEditText(), 0, 0};
  for (const QChar key : keys) {
    if (key == u'\b') engine.DeleteBackward(s);
    else if (key == QChar(0x7f)) engine.DeleteForward(s);
    else engine.TypeChar(s, key);
  }
  return s;
}

}  // namespace

TEST(MaskEngine, TypingFillsPositionsSkipsLiteralsAndRefusesMisfits) {
  ASSERT_EQ(DateSeparator, u'-');
  for (const TypingCase& c : std::initializer_list<TypingCase>{
         {"!99/99/9999;1; ", "", "  -  -    ", "  -  -    ", 0},
         {"!99/99/9999;1; ", "01052024", "01-05-2024", "01-05-2024", 10},
         {"!99/99/9999;1; ", "1-5-2024", "1 -5 -2024", "1 -5 -2024", 10},
         {"!99/99/9999;1; ", "01-05-2024", "01-05-2024", "01-05-2024", 10},
         {"!99/99/9999;1; ", "0x1a05", "01-05-    ", "01-05-    ", 6},
         {"!99/99/9999;1; ", "0105\b\b7", "01-7 -    ", "01-7 -    ", 4},
         {"999.99;1;_", "12.5", "12_.5_", "12 .5 ", 5},
         {"999.99;1;_", "1234567", "123.45", "123.45", 6},
         {"999.99;0;_", "12.5", "12_.5_", "12 5 ", 5},
         {"999.99;1;_", ".", "___.__", "   .  ", 4},
         {"9999999.99;1;_", "5.5", "5______.5_", "5      .5 ", 9},
         {"9999999.99;1;_", "1234567.89", "1234567.89", "1234567.89", 10},
         {"9999999.99;1;_", "12\b3", "13_____.__", "13     .  ", 2},
         {">LL<ll;0;*", "aBcD", "ABcd", "ABcd", 4},
         {"000;1;_", "1-2", "12_", "12 ", 2},
       }) {
    const TMaskEngine engine{QString::fromUtf8(c.mask)};
    const TMaskEngine::TEditState s = PressKeys(engine, QString::fromUtf8(c.keys));
    EXPECT_EQ(s.EditText, QString::fromUtf8(c.editText)) << c.mask << " typing " << c.keys;
    EXPECT_EQ(engine.TextFromEditText(s.EditText), QString::fromUtf8(c.text)) << c.mask << " typing " << c.keys;
    EXPECT_EQ(s.SelStart, c.caret) << c.mask << " typing " << c.keys;
  }
}

TEST(MaskEngine, DeletingBlanksSelectionOrOnePositionAndKeepsLiterals) {
  const TMaskEngine engine{"999.99;1;_"};
  TMaskEngine::TEditState s{"123.45", 1, 4};  // "23.4" selected
  engine.DeleteForward(s);
  EXPECT_EQ(s.EditText, "1__._5");
  EXPECT_EQ(s.SelStart, 1);

  s = {"123.45", 4, 0};
  engine.DeleteBackward(s);  // the literal before the caret is stepped over
  EXPECT_EQ(s.EditText, "12_.45");
  EXPECT_EQ(s.SelStart, 2);

  s = {"123.45", 3, 0};
  engine.DeleteForward(s);  // Delete on the literal blanks the next input position
  EXPECT_EQ(s.EditText, "123._5");
  EXPECT_EQ(s.SelStart, 3);

  s = {"123.45", 0, 0};
  engine.DeleteBackward(s);  // nothing before the caret
  EXPECT_EQ(s.EditText, "123.45");
}

TEST(MaskEngine, PasteIsAllOrNothingAndReplacesTheSelection) {
  const TMaskEngine money{"9999999.99;1;_"};
  TMaskEngine::TEditState s{money.EmptyEditText(), 0, 0};
  ASSERT_TRUE(money.Paste(s, "12.50"));
  EXPECT_EQ(s.EditText, "12_____.50");

  TMaskEngine::TEditState before = s;
  EXPECT_FALSE(money.Paste(s, "7a"));
  EXPECT_EQ(s.EditText, before.EditText);
  EXPECT_EQ(s.SelStart, before.SelStart);

  s = {"12_____.50", 0, 10};
  ASSERT_TRUE(money.Paste(s, "3"));
  EXPECT_EQ(s.EditText, "3______.__");

  // Text read back from one edit pastes into another unchanged.
  const TMaskEngine date{"!99/99/9999;1; "};
  s = {date.EmptyEditText(), 0, 0};
  ASSERT_TRUE(date.Paste(s, date.TextFromEditText("01-05-2024")));
  EXPECT_EQ(s.EditText, "01-05-2024");
  EXPECT_FALSE(date.Paste(s, "1"));  // no room left
}

TEST(MaskEngine, ValuesLaidIntoTheMask) {
  struct Case {
    const char* mask;
    const char* text;
    const char* editText;
  };
  for (const Case& c : std::initializer_list<Case>{
         {"999.99;1;_", "296.78", "296.78"},
         {"999.99;1;_", "0.00", "0__.00"},
         {"999.99;1;_", "210", "210.__"},
         {"999.99;1;_", "", "___.__"},
         {"999.99;0;_", "21045", "210.45"},
         {"!99/99/9999;1; ", "1-05-2024", " 1-05-2024"},
         {"!99/99/9999;1; ", "01-05-2024", "01-05-2024"},
         {"9999999.99;1;_", "x5.5", "_5_____.5_"},
         {"!999;0;_", "7", "__7"},
         {"999;0;_", "7", "7__"},
       }) {
    const TMaskEngine engine{QString::fromUtf8(c.mask)};
    EXPECT_EQ(engine.EditTextFromText(QString::fromUtf8(c.text)), QString::fromUtf8(c.editText))
        << c.mask << " <- " << c.text;
  }
}

TEST(MaskEngine, ParsesFieldsEscapesAndRequiredPositions) {
  const TMaskEngine plain{"999.99"};
  EXPECT_TRUE(plain.SaveLiterals());
  EXPECT_EQ(plain.BlankChar(), u'_');

  const TMaskEngine escaped{"\\;0:00;0;#"};
  EXPECT_EQ(escaped.EmptyEditText(), ";#:##");
  EXPECT_FALSE(escaped.SaveLiterals());
  EXPECT_EQ(escaped.FirstMissing(";1:2#"), 4);
  EXPECT_EQ(escaped.FirstMissing(";1:23"), -1);

  EXPECT_FALSE(TMaskEngine{""}.IsMasked());
  EXPECT_TRUE(TMaskEngine{"999"}.Accept(0, u' ').has_value());  // optional takes a blank
  EXPECT_EQ(TMaskEngine{"000"}.Accept(0, u' '), std::nullopt);        // required does not
}

// ---- the masked edit control

#include "UiTestSupport.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Mask.h"
#include <QLineEdit>

namespace {

struct MaskedEditOnForm {
  uitest::TShownForm f;
  TMaskEdit* edit = new TMaskEdit(f.Form);
  QLineEdit* line = nullptr;
  explicit MaskedEditOnForm(const QString& mask) {
    edit->SetEditMask(mask);
    edit->SetParent(f.Form);
    line = qobject_cast<QLineEdit*>(edit->Handle());
  }
  void Type(const QString& keys) {
    for (const QChar ch : keys) {
      if (ch == u'\b') uitest::PressKey(line, Qt::Key_Backspace, "\b");
      else if (ch == QChar(0x7f)) uitest::PressKey(line, Qt::Key_Delete);
      else uitest::PressKey(line, 0, QString(ch));
    }
  }
};

}  // namespace

TEST(MaskEdit, KeysGoThroughTheMaskAndTheWidgetShowsEditText) {
  MaskedEditOnForm m("999.99;1;_");
  ASSERT_NE(m.line, nullptr);
  EXPECT_EQ(m.line->text(), "___.__");
  QStringList changes;
  m.edit->OnChange = [&](TObject*) { changes << m.edit->EditText(); };
  m.edit->SetSelStart(0);
  m.Type("12x.5");
  EXPECT_EQ(m.line->text(), "12_.5_");
  EXPECT_EQ(m.edit->Text(), "12 .5 ");
  EXPECT_EQ(m.edit->SelStart(), 5);
  EXPECT_EQ(changes, (QStringList{"1__.__", "12_.__", "12_.5_"}));  // the refused "x" changed nothing
  m.Type("\b\b\b");  // the second one lands on a position that was already blank
  EXPECT_EQ(m.line->text(), "1__.__");

  Clipboard()->SetAsText("296.78");
  m.edit->SelectAll();
  m.edit->PasteFromClipboard();
  EXPECT_EQ(m.edit->EditText(), "296.78");
  Clipboard()->SetAsText("abc");
  m.edit->PasteFromClipboard();  // refused whole
  EXPECT_EQ(m.edit->EditText(), "296.78");

  m.edit->SetSelStart(0);
  m.Type(QString(QChar(0x7f)));
  EXPECT_EQ(m.edit->EditText(), "_96.78");
}

TEST(MaskEdit, TextValueAndValidation) {
  MaskedEditOnForm m("!99/99/9999;1; ");
  m.edit->SetText("1-05-2024");
  EXPECT_EQ(m.line->text(), " 1-05-2024");
  EXPECT_EQ(m.edit->Text(), " 1-05-2024");
  m.edit->ValidateEdit();  // optional positions may stay blank

  MaskedEditOnForm required("00:00;0;_");
  required.edit->SetText("12");
  EXPECT_EQ(required.edit->EditText(), "12:__");
  EXPECT_EQ(required.edit->Text(), "12  ");
  EXPECT_THROW(required.edit->ValidateEdit(), EDBEditError);
  EXPECT_EQ(required.edit->SelStart(), 3);  // the caret goes to the first missing digit

  // Dropping the mask keeps the value.
  required.edit->SetEditMask("");
  EXPECT_EQ(required.edit->Text(), "12  ");
  required.Type("ab");
  EXPECT_EQ(required.line->text().size(), 6);
}
