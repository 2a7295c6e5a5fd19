#pragma once

#include <string>

namespace zel {

// A number as the lines for the user show it: at most 10 significant digits, enough to map a
// position back and not so many that the last ones are noise ("1.000285081", "5e+307"). A long
// double, because a transform's scale may lie beyond the range of a double (1e320).
std::string messageNumber(long double value);

// The double nearest to `value` rounded to `digits` significant decimal digits (1 to 17), so
// that a figure chosen by a rule of thumb reads as a round number and, given back on the
// command line, is the very value used.
double roundedToDigits(double value, int digits);

} // namespace zel
