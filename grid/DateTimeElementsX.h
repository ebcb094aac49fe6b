#pragma once
// The element grammar of the date-time edit: an edit format of element letters (Y year,
// M month, D day, H hour, N minute, S second) becomes an edit mask, a display format and
// a table of where each element sits in the text; text and values convert through it.
#include "platform/rtl/Variants.h"
#include <array>

enum TDateTimeElementX { dteYearX, dteMonthX, dteDayX, dteHourX, dteMinuteX, dteSecondX };

struct TDateTimeElementPosX {
  Integer Pos = -1;  // 1-based position in the edit text
  Integer Length = -1;
  bool Present = false;
};
using DateTimeElementTable = std::array<TDateTimeElementPosX, 6>;
// In element order; -1 is a missing part.
using DateTimeParts = std::array<Integer, 6>;

enum TDateOrderX { doMDYX, doDMYX, doYMDX };
// The order of the first of D, M and Y in a date format (day first when none).
TDateOrderX DateOrderOf(const String& Format);
// The edit format for dates in the system's short date order.
String DefaultDateEditFormat(bool FourDigitYear);

// The edit mask for EditFormat; fills Table. Raises Exception for an element that is too
// long, of a wrong length or given twice.
String BuildDateTimeMask(const String& EditFormat, DateTimeElementTable& Table);
String EditFormatToDisplayFormat(const String& EditFormat);
// Element letters, '/' and ':' kept upper-cased, every other character a blank.
String EditFormatToPattern(const String& EditFormat);

// A two-digit year in the window of the 60 years before and 39 after the current year.
Integer ExpandTwoDigitYear(Integer Year);
// Reads every present element; false when one of them is not a number.
bool TextToParts(const String& Text, const DateTimeElementTable& Table, DateTimeParts& Parts);
DateTimeParts ValueToParts(const Variant& Value);
// Merges Parts into Value (which keeps the parts of elements absent from the format).
// Complete fills a missing day, month or year from today and caps out-of-range parts.
// A result that is no date-time makes Value Null and answers false.
bool PartsToValue(DateTimeParts Parts, const DateTimeElementTable& Table, bool Complete, Variant& Value);

// Steps the element of Pattern at the 1-based position Pos in Text up or down, wrapping
// within its range. Answers false when no element is there; SelStart and SelLength then
// mark the stepped element (0-based).
bool StepElementText(String& Text, const String& Pattern, Integer Pos, bool Up, Integer& SelStart,
                     Integer& SelLength);
// The element of Pattern at the 1-based position Pos (a separator there is skipped):
// its 0-based start and length, false when none.
bool ElementAt(const String& Pattern, Integer Pos, Integer& Start, Integer& Length);
