#include "common/number_token.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <optional>
#include <string>
#include <system_error>
#include <type_traits>

namespace zel {
namespace {

// Stream extraction takes one '+' before a number, which from_chars does not. A second sign
// after it stays, so that "+-1" is no number.
const char* afterPlusSign(const char* first, const char* last) {
    const bool plusBeforeNumber =
        first != last && *first == '+' && first + 1 != last && first[1] != '-' && first[1] != '+';
    return plusBeforeNumber ? first + 1 : first;
}

// from_chars reports a value too small for the type as out of range, where stream extraction
// (through strtof or strtod) gives the nearest value, zero or subnormal. That rare text is
// handed to the C library itself, so that both readings agree; only a value too large is
// refused.
float fromCLibrary(const std::string& text, float) {
    return std::strtof(text.c_str(), nullptr);
}
double fromCLibrary(const std::string& text, double) {
    return std::strtod(text.c_str(), nullptr);
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A plain decimal: an optional '-', then digits with at most one point, no exponent.
struct PlainDecimal {
    const char* end;
    bool negative;
    double whole; // the digits as a whole number, below 10^15 and so exact
    int places;   // digits after the point
};

// Coordinates are nearly always plain decimals of a few digits, whose value is found here
// without from_chars; any other text is left to it.
std::optional<PlainDecimal> scanPlainDecimal(const char* first, const char* last) {
    constexpr int mostDigits = 15;
    constexpr int mostPlaces = 22; // 10^22 is the largest power of ten a double holds exactly
    PlainDecimal decimal{first, first != last && *first == '-', 0.0, 0};
    const char* p = first + (decimal.negative ? 1 : 0);
    std::uint64_t whole = 0;
    int digits = 0;
    bool point = false;
    for (; p != last && digits <= mostDigits; ++p) {
        if (isDigit(*p)) {
            whole = whole * 10 + static_cast<std::uint64_t>(*p - '0');
            ++digits;
            decimal.places += point ? 1 : 0;
        } else if (*p == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    const bool moreToRead = p != last && (isDigit(*p) || *p == '.' || *p == 'e' || *p == 'E');
    if (digits == 0 || digits > mostDigits || moreToRead || decimal.places > mostPlaces) {
        return std::nullopt;
    }
    decimal.end = p;
    decimal.whole = static_cast<double>(whole);
    return decimal;
}

// The whole number and the power of ten are both exact doubles, so one division rounds the
// value correctly (Clinger's fast path).
double magnitude(const PlainDecimal& decimal) {
    constexpr double powersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                      1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                      1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    return decimal.whole / powersOfTen[decimal.places];
}

std::optional<NumberScan> scanQuickly(const char* first, const char* last, double& value) {
    const std::optional<PlainDecimal> decimal = scanPlainDecimal(first, last);
    if (!decimal) {
        return std::nullopt;
    }
    value = decimal->negative ? -magnitude(*decimal) : magnitude(*decimal);
    return NumberScan{decimal->end, NumberProblem::None};
}

// Rounding the correctly rounded double to float rounds the decimal correctly unless the
// double is a midpoint between two floats (its 29 bits below a float's precision are
// 1000...0), which the decimal itself may lie on either side of; that rare text is left to
// from_chars.
std::optional<NumberScan> scanQuickly(const char* first, const char* last, float& value) {
    double wide = 0.0;
    const std::optional<NumberScan> scan = scanQuickly(first, last, wide);
    constexpr std::uint64_t belowFloat = (std::uint64_t{1} << 29) - 1;
    constexpr std::uint64_t midpoint = std::uint64_t{1} << 28;
    if (!scan || (std::bit_cast<std::uint64_t>(wide) & belowFloat) == midpoint) {
        return std::nullopt;
    }
    value = static_cast<float>(wide);
    return scan;
}

template <typename Real> NumberScan scanReal(const char* first, const char* last, Real& value) {
    first = afterPlusSign(first, last);
    if (const std::optional<NumberScan> scan = scanQuickly(first, last, value)) {
        return *scan;
    }
    Real parsed{};
    const auto [end, error] = std::from_chars(first, last, parsed);
    if (error == std::errc::invalid_argument) {
        return {end, NumberProblem::NotANumber};
    }
    if (error == std::errc::result_out_of_range) {
        parsed = fromCLibrary(std::string(first, end), Real{});
        if (std::isinf(parsed)) {
            return {end, NumberProblem::OutOfRange};
        }
    } else if (!std::isfinite(parsed)) {
        // from_chars also reads "inf" and "nan", which are no numbers to stream extraction.
        return {end, NumberProblem::NotFinite};
    }
    value = parsed;
    return {end, NumberProblem::None};
}

// A triangulation holds tens of millions of indices, nearly all short runs of digits: those
// are read here, where up to 9 digits cannot overflow any of the integer types.
std::optional<NumberScan> scanShortDigits(const char* first, const char* last,
                                          std::uint32_t& value) {
    constexpr std::ptrdiff_t mostDigits = 9;
    const char* const stop = last - first > mostDigits ? first + mostDigits : last;
    std::uint32_t parsed = 0;
    const char* p = first;
    for (; p != stop && isDigit(*p); ++p) {
        parsed = parsed * 10 + static_cast<std::uint32_t>(*p - '0');
    }
    if (p == first || (p != last && isDigit(*p))) {
        return std::nullopt;
    }
    value = parsed;
    return NumberScan{p, NumberProblem::None};
}

template <typename Integer>
NumberScan scanInteger(const char* first, const char* last, Integer& value) {
    // from_chars takes a '-' for a signed target only.
    if constexpr (std::is_signed_v<Integer>) {
        first = afterPlusSign(first, last);
    }
    std::uint32_t digits = 0;
    if (const std::optional<NumberScan> scan = scanShortDigits(first, last, digits)) {
        value = static_cast<Integer>(digits);
        return *scan;
    }
    Integer parsed = 0;
    const auto [end, error] = std::from_chars(first, last, parsed);
    if (error == std::errc::invalid_argument) {
        return {end, NumberProblem::NotANumber};
    }
    if (error == std::errc::result_out_of_range) {
        return {end, NumberProblem::OutOfRange};
    }
    value = parsed;
    return {end, NumberProblem::None};
}

} // namespace

NumberScan scanNumber(const char* first, const char* last, float& value) {
    return scanReal(first, last, value);
}

NumberScan scanNumber(const char* first, const char* last, double& value) {
    return scanReal(first, last, value);
}

NumberScan scanNumber(const char* first, const char* last, std::int32_t& value) {
    return scanInteger(first, last, value);
}

NumberScan scanNumber(const char* first, const char* last, std::uint32_t& value) {
    return scanInteger(first, last, value);
}

NumberScan scanNumber(const char* first, const char* last, std::uint64_t& value) {
    return scanInteger(first, last, value);
}

} // namespace zel
