// Whole numbers from floating values and scaled products.
#include "platform/rtl/SysUtils.h"
#include <cmath>
#include <limits>

Int64 Round(Extended value) {
  const Extended whole = std::trunc(value);
  const Extended rest = std::fabs(value - whole);
  Extended rounded = whole;
  if (rest > 0.5L || (rest == 0.5L && std::fmod(whole, 2.0L) != 0)) rounded += value < 0 ? -1 : 1;
  return Int64(rounded);
}

Int64 Trunc(Extended value) { return Int64(std::trunc(value)); }

Integer MulDiv(Integer a, Integer b, Integer c) {
  if (c == 0) return -1;
  Int64 n = Int64(a) * b, d = c;
  if (d < 0) { n = -n; d = -d; }
  const Int64 q = (std::llabs(n) * 2 + d) / (d * 2);
  const Int64 result = n < 0 ? -q : q;
  if (result < std::numeric_limits<Integer>::min() || result > std::numeric_limits<Integer>::max()) return -1;
  return Integer(result);
}
