#pragma once
// Income-tax brackets and the tax they give.
#include "platform/rtl/Types.h"
#include <vector>

struct TTaxBracket {
  Extended YNSTotal = 0;  // upper bound of the taxable amount
  Extended SLRate = 0;    // percent
  Extended SQKCS = 0;     // quick deduction
};

// The brackets of the payroll database in bracket order; none when they
// cannot be read.
std::vector<TTaxBracket> ReadTaxBrackets();

// Income tax of a taxable base: nothing up to the threshold; above it the
// first bracket whose bound reaches the excess (a bound equal to it counts);
// 0 when no bracket does.
Extended IncomeTax(Extended Base, Integer Limit, const std::vector<TTaxBracket>& Brackets);
