#include "app/MaskedNumber.h"

String AlignToNumberMask(const String& Number, const String& Mask) {
  const String Digits = Mask.section(u';', 0, 0);
  const qsizetype MaskPoint = Digits.contains(u'.') ? Digits.indexOf(u'.') : Digits.size();
  const qsizetype NumberPoint = Number.contains(u'.') ? Number.indexOf(u'.') : Number.size();
  return MaskPoint > NumberPoint ? String(MaskPoint - NumberPoint, u' ') + Number : Number;
}
