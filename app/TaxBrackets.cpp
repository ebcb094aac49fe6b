#include "app/TaxBrackets.h"
#include "app/uDM.h"

std::vector<TTaxBracket> ReadTaxBrackets() {
  std::vector<TTaxBracket> Brackets;
  try {
    TADODataSet Rows;
    Rows.SetConnection(DM->ADOLocal);
    Rows.SetCommandText(QStringLiteral("select * from TGSModel Order by ClassIdx"));
    Rows.Open();
    for (Rows.First(); !Rows.Eof(); Rows.Next())
      Brackets.push_back({Rows.FieldByName(QStringLiteral("YNSTotal"))->AsFloat(),
                          Rows.FieldByName(QStringLiteral("SLRate"))->AsFloat(),
                          Rows.FieldByName(QStringLiteral("SQKCS"))->AsFloat()});
  } catch (const Exception&) {
    return {};
  }
  return Brackets;
}

Extended IncomeTax(Extended Base, Integer Limit, const std::vector<TTaxBracket>& Brackets) {
  if (Base <= Limit) return 0;
  const Extended Taxable = Base - Limit;
  for (const TTaxBracket& Bracket : Brackets)
    if (Bracket.YNSTotal >= Taxable) return Taxable * Bracket.SLRate / 100 - Bracket.SQKCS;
  return 0;
}
