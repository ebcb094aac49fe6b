#include "app/PayBillLayout.h"

String PayBillTemplateName(const String& PrintDays, Integer K, Integer G) {
  if (PrintDays == u"0") {
    if (K == 0) return QStringLiteral("GZBillNoKK.RAV");
    if (K <= 5) return G <= 10 ? QStringLiteral("GZBill.RAV") : QStringLiteral("GZBill20_5.RAV");
    if (K <= 10) return G <= 10 ? QStringLiteral("GZBill10_10.RAV") : QStringLiteral("GZBill20_10.RAV");
    return QStringLiteral("GZBill30_15.RAV");
  }
  if (PrintDays == u"1")
    return K <= 5 && G <= 10 ? QStringLiteral("GZBillWithDay.RAV") : QStringLiteral("GZBillWithDay20_10.RAV");
  if (PrintDays == u"2") return QStringLiteral("GZBillWithHour.RAV");
  return QStringLiteral("GZBillWithDay.RAV");
}

TPayBillLayout PayBillLayout(Integer K, Integer G) {
  TPayBillLayout layout;
  layout.Movable = K <= 5 && G <= 10;
  layout.EarningsWidth = G == 0 ? 6.0 : 6.0 / G;
  layout.DeductionsWidth = K == 0 ? 3.0 : 3.0 / K;
  return layout;
}
