// Arbitrary text as a pay-item formula over a few variables: parsing and
// evaluation must end with a value or an exception, never read out of bounds.
#include "app/AppMessages.h"
#include "app/CalcExpress.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  static const bool quiet = (SetShowMessageProc([](const String&) {}), true);
  (void)quiet;
  TStringList names;
  names.Add(QStringLiteral("a"));
  names.Add(QStringLiteral("基本工资"));
  names.Add(QStringLiteral("x1"));
  TCalcExpress calc;
  try {
    calc.SetVariables(&names);
    calc.SetFormula(QString::fromUtf8(reinterpret_cast<const char*>(Data), qsizetype(Size)));
    calc.Evaluate({1.5L, -2.0L, 1e300L});
  } catch (const Exception&) {
  }
  return 0;
}
