#include "DBCtrlsXTestSupport.h"
#include "grid/DBCtrlsX.h"
#include "grid/PopupMonthCalendarX.h"

using dbedits::TPayTableForm;

TEST(DateTimeElements, EditFormatsBecomeMasksAndDisplayFormats) {
  struct Case { const char* format; const char* mask; const char* display; };
  for (const Case& c : std::initializer_list<Case>{
         {"YYYY-MM-DD HH:NN", "!9999-99-99 99:99;1; ", "YYYY'-'MM'-'DD' 'HH:NN"},
         {"DD.MM.YYYY", "!99.99.9999;1; ", "DD'.'MM'.'YYYY"},
         {"yy/mm/dd", "!99/99/99;1; ", "YY/MM/DD"},
         {"DD\\9MM a", "!99999 \\a;1; ", "DD'9'MM' a'"},  // an escaped 9 stays a digit place
       }) {
    DateTimeElementTable table;
    EXPECT_EQ(BuildDateTimeMask(c.format, table), c.mask) << c.format;
    EXPECT_EQ(EditFormatToDisplayFormat(c.format), c.display) << c.format;
  }
  DateTimeElementTable table;
  BuildDateTimeMask("DD.MM.YYYY", table);
  EXPECT_EQ(table[dteYearX].Pos, 7);
  EXPECT_EQ(table[dteYearX].Length, 4);
  EXPECT_FALSE(table[dteHourX].Present);
}

TEST(DateTimeElements, FormatErrorsNameTheElement) {
  struct Case { const char* format; const char* message; };
  for (const Case& c : std::initializer_list<Case>{
         {"DDD/MM", "Element in EditFormat: \"DDD/MM\" is too long. Pos: 3"},
         {"YYY", "Invalid datetime format element length: \"Y\""},
         {"D/MM/YY", "Invalid datetime format element length: \"D\""},
         {"DD/MM/DD", "Duplicating datetime format element: \"D\""},
       }) {
    DateTimeElementTable table;
    try {
      BuildDateTimeMask(c.format, table);
      ADD_FAILURE() << c.format << " was accepted";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
  }
}

TEST(DateTimeElements, TwoDigitYearsFallInTheWindowAroundToday) {
  dbedits::TPinnedToday today;
  EXPECT_EQ(ExpandTwoDigitYear(45), 2045);
  EXPECT_EQ(ExpandTwoDigitYear(70), 1970);
  EXPECT_EQ(ExpandTwoDigitYear(66), 1966);
  EXPECT_EQ(ExpandTwoDigitYear(65), 2065);
  EXPECT_EQ(ExpandTwoDigitYear(1999), 1999);
}

TEST(DateTimeElements, SteppingWrapsEachElementInItsOwnRange) {
  struct Case { const char* text; Integer pos; bool up; const char* result; };
  for (const Case& c : std::initializer_list<Case>{
         {"31/02/2026", 1, true, "01/02/2026"},
         {"15/01/2026", 4, false, "15/12/2026"},
         {"15/01/9999", 7, true, "15/01/0001"},
         {"15/01/2026", 3, true, "15/02/2026"},  // on the separator: the element after it
       }) {
    String text = c.text;
    Integer start = 0, length = 0;
    ASSERT_TRUE(StepElementText(text, EditFormatToPattern("DD/MM/YYYY"), c.pos, c.up, start, length)) << c.text;
    EXPECT_EQ(text, c.result) << c.text;
  }
  String time = "23:59:00";
  Integer start = 0, length = 0;
  StepElementText(time, "HH:NN:SS", 1, true, start, length);
  EXPECT_EQ(time, "00:59:00");
  EXPECT_EQ(start, 0);
  EXPECT_EQ(length, 2);
}

TEST(DBDateTimeEditX, ShowsTheShortDateFormatAndCompletesADayTypedAlone) {
  dbedits::TPinnedToday today;
  TPayTableForm f;
  auto* edit = f.Place<TDBDateTimeEditX>("day");
  EXPECT_EQ(edit->EditFormat(), "YYYY/MM/DD");
  EXPECT_EQ(edit->EditText(), "2026-03-14");

  edit->SetFocus();
  edit->SelectAll();
  dbedits::PressKey(edit, Qt::Key_Delete);
  EXPECT_TRUE(edit->CurrentValue().IsNull()) << "an emptied text has no value";
  edit->SetSelStart(8);
  dbedits::Type(edit, "25");
  EXPECT_TRUE(edit->CurrentValue().IsNull()) << "a half-typed date is no value yet, and no error";
  f.Leave();
  EXPECT_TRUE(f.Exceptions.isEmpty()) << f.Exceptions.join(", ").toStdString();
  EXPECT_EQ(edit->EditText(), "2026-06-25") << "month and year come from today";
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn", f.Field("day")->AsDateTime()), "2026-06-25 08:30")
      << "a date-only edit keeps the field's time";
}

TEST(DBDateTimeEditX, UpAndDownStepTheElementUnderTheCaret) {
  TPayTableForm f;
  auto* edit = f.Place<TDBDateTimeEditX>("day");
  edit->SetFocus();
  edit->SetSelStart(5);
  dbedits::PressKey(edit, Qt::Key_Down);
  EXPECT_EQ(f.Query.State(), dsEdit);
  EXPECT_EQ(edit->EditText(), "2026-02-14");
  EXPECT_EQ(edit->SelText(), "02");
  dbedits::PressKey(edit, Qt::Key_Up);
  dbedits::PressKey(edit, Qt::Key_Up);
  f.Leave();
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd", f.Field("day")->AsDateTime()), "2026-04-14");
}

TEST(DBDateTimeEditX, ATimeOnlyEditOnANullValueStoresTheTypedTimeOnTheBaseDate) {
  TPayTableForm f;
  f.Query.Next();
  auto* edit = f.Place<TDBDateTimeEditX>("day");
  edit->SetKind(dtkTimeX);
  edit->SetFocus();
  edit->SetSelStart(0);
  dbedits::Type(edit, "0930");
  f.Leave();
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss", f.Field("day")->AsDateTime()), "1900-01-01 09:30:00");
}

TEST(DBDateTimeEditX, TextThatIsNoDateIsRefusedAndTheFieldReloaded) {
  TPayTableForm f;
  auto* edit = f.Place<TDBDateTimeEditX>("day");
  try {
    edit->SetText("2026-13-40");
    ADD_FAILURE() << "an impossible date was accepted";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Invalid datetime: \"2026-13-40\"");
  }
  EXPECT_EQ(edit->EditText(), "2026-03-14");
  edit->SetText("2026-12-01");
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn", f.Field("day")->AsDateTime()), "2026-12-01 08:30");
}

TEST(DBDateTimeEditX, TheCalendarOpensFromItsButtonAndAcceptingKeepsTheTime) {
  TPayTableForm f;
  auto* edit = f.Place<TDBDateTimeEditX>("day");
  edit->SetFocus();
  TEditButtonControlX* button = edit->ButtonControl(0);
  ASSERT_NE(button, nullptr);
  EXPECT_TRUE(button->Visible());
  const auto click = [&] {
    button->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(TPoint(2, 2)));
    button->Perform(WM_LBUTTONUP, 0, PointToLParam(TPoint(2, 2)));
  };
  click();
  EXPECT_TRUE(edit->CalendarOpen()) << "the click that follows the opening press leaves it open";
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd", edit->CalendarPopup()->Date()), "2026-03-14");
  click();
  EXPECT_FALSE(edit->CalendarOpen()) << "a second click closes it without taking its date";

  dbedits::PressKey(edit, Qt::Key_Down, QString(), Qt::AltModifier);
  ASSERT_TRUE(edit->CalendarOpen());
  edit->CalendarPopup()->SetDate(EncodeDate(2026, 3, 20));
  dbedits::PressKey(edit, Qt::Key_Return, "\r");
  EXPECT_FALSE(edit->CalendarOpen());
  EXPECT_EQ(edit->EditText(), "2026-03-20");
  f.Leave();
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn", f.Field("day")->AsDateTime()), "2026-03-20 08:30");
}
