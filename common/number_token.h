#pragma once

#include <cstdint>
#include <string_view>

namespace zel {

// Why a token is not a number of the kind asked for.
enum class NumberProblem {
    None,
    NotANumber, // not decimal notation of the kind, or more than the number in the token
    OutOfRange, // too large in magnitude for the type
    NotFinite,  // "inf" or "nan"
};

struct NumberScan {
    const char* end; // where reading stopped: a token is a number only if this is its end
    NumberProblem problem;
};

// The number rule that every program's reader keeps. A number is a whole whitespace-free
// token in decimal notation, and its value is the one stream extraction gives in the classic
// locale: correctly rounded, a value too small for the type rounded to zero or a subnormal
// (so "1e-400" is 0), a value too large refused. A floating-point number or a signed integer
// may start with one '+' or '-'; an unsigned integer (a count) is digits only.
//
// scanNumber reads the number that starts at `first`, stopping at the first character that
// cannot continue it, as std::from_chars does; `value` is set only when the problem is None.
NumberScan scanNumber(const char* first, const char* last, float& value);
NumberScan scanNumber(const char* first, const char* last, double& value);
NumberScan scanNumber(const char* first, const char* last, std::int32_t& value);
NumberScan scanNumber(const char* first, const char* last, std::uint32_t& value);
NumberScan scanNumber(const char* first, const char* last, std::uint64_t& value);

// The whole token as a number; `value` is set only when the problem is None.
template <typename Number> NumberProblem parseNumber(std::string_view token, Number& value) {
    const char* const last = token.data() + token.size();
    Number parsed{};
    const NumberScan scan = scanNumber(token.data(), last, parsed);
    if (scan.end != last) {
        return NumberProblem::NotANumber;
    }
    if (scan.problem == NumberProblem::None) {
        value = parsed;
    }
    return scan.problem;
}

} // namespace zel
