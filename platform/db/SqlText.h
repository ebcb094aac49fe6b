#pragma once
// Values as they are kept in SQLite text: date-times as ISO text ("yyyy-MM-dd HH:mm:ss",
// dates "yyyy-MM-dd", times "HH:mm:ss", milliseconds added when present) and numbers with '.'.
#include "platform/rtl/Types.h"
#include <QByteArray>
#include <string_view>

enum class TSqlDateTimePart { DateTime, Date, Time };

// Raises EConvertError for a value outside 0001-01-01 to 9999-12-31 (or not a number).
QByteArray SqlDateTimeText(TDateTime Value, TSqlDateTimePart Part);
// Reads the ISO forms above (a 'T' may separate date and time); false for anything else.
bool TryReadSqlDateTime(std::string_view Text, TDateTime& Value);
bool TryReadSqlDateTime(const String& Text, TDateTime& Value);
// The text of a literal quoted with Quote that starts at Pos (a doubled quote stands for
// one); Pos moves past the closing quote. False when the closing quote is missing.
bool ReadQuotedText(const String& Text, qsizetype& Pos, QChar Quote, String& Value);
// A number written with '.', independent of the locale.
bool TryReadSqlNumber(const String& Text, double& Value);
// A LIKE pattern, quoted with its ESCAPE clause, matching texts that contain
// Text: the '%' and '_' a user types match only themselves.
String SqlLikeContains(const String& Text);
