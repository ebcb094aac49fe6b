#include "platform/db/ConnectionString.h"
#include "platform/db/SqlText.h"

String ConnectionStringValue(const String& ConnectionString, const String& Key) {
  const String wanted = Key.trimmed();
  const qsizetype n = ConnectionString.size();
  qsizetype pos = 0;
  while (pos < n) {
    const qsizetype eq = ConnectionString.indexOf(QLatin1Char('='), pos);
    if (eq < 0) break;
    const String key = ConnectionString.mid(pos, eq - pos).trimmed();
    qsizetype p = eq + 1;
    while (p < n && ConnectionString[p].isSpace()) ++p;
    String value;
    if (p < n && (ConnectionString[p] == QLatin1Char('"') || ConnectionString[p] == QLatin1Char('\''))) {
      ReadQuotedText(ConnectionString, p, ConnectionString[p], value);  // an open quote runs to the end
      const qsizetype semi = ConnectionString.indexOf(QLatin1Char(';'), p);
      pos = semi < 0 ? n : semi + 1;
    } else {
      const qsizetype semi = ConnectionString.indexOf(QLatin1Char(';'), p);
      const qsizetype end = semi < 0 ? n : semi;
      value = ConnectionString.mid(p, end - p).trimmed();
      pos = end + 1;
    }
    if (key.compare(wanted, Qt::CaseInsensitive) == 0) return value;
  }
  return String();
}
