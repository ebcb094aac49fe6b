#include "grid/FittedNumberX.h"
#include <QRegularExpression>

bool IsNumberText(const String& Text) {
  static const QRegularExpression Number(QStringLiteral("^\\s*[-+]?[￥$]?[-+]?(\\d[\\d,]*(\\.\\d*)?|\\.\\d+)%?\\s*$"));
  return Number.match(Text).hasMatch();
}

String FittedNumberText(TCanvas* Canvas, const String& Text, Integer Room) {
  if (!IsNumberText(Text) || Canvas->TextWidth(Text) <= Room) return Text;
  return QStringLiteral("###");
}
