// Arbitrary text as a data-set filter over three fields of different kinds:
// parsing, binding and matching must end with a result or an exception.
#include "platform/db/DBFilter.h"
#include "platform/rtl/SysUtils.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  try {
    TFilterExpression filter(QString::fromUtf8(reinterpret_cast<const char*>(Data), qsizetype(Size)));
    filter.Bind([](const String& Name, TFilterOperandKind& Kind) {
      static const String names[] = {QStringLiteral("Name"), QStringLiteral("GZTotal"), QStringLiteral("LogTime")};
      static const TFilterOperandKind kinds[] = {TFilterOperandKind::Text, TFilterOperandKind::Number,
                                                 TFilterOperandKind::DateTime};
      for (int i = 0; i < 3; ++i)
        if (Name.compare(names[i], Qt::CaseInsensitive) == 0) {
          Kind = kinds[i];
          return i;
        }
      throw EDatabaseError(QStringLiteral("Field '%1' not found").arg(Name));
    });
    for (int row = 0; row < 3; ++row)
      filter.Matches([row](int Field) {
        if (row == 2) return Variant::Null();
        if (Field == 0) return Variant(QStringLiteral("张三's"));
        if (Field == 1) return Variant(1234.5);
        return Variant::FromDate(45000.5);
      });
  } catch (const Exception&) {
  }
  return 0;
}
