#pragma once

#include <string>

namespace zel {

// A number as the lines for the user show it: at most 10 significant digits, enough to map a
// position back and not so many that the last ones are noise ("1.000285081", "5e+307"). A long
// double, because a transform's scale may lie beyond the range of a double (1e320).
std::string messageNumber(long double value);

} // namespace zel
