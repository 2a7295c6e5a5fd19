#include "common/number_token.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
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

template <typename Real> NumberScan scanReal(const char* first, const char* last, Real& value) {
    first = afterPlusSign(first, last);
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

template <typename Integer>
NumberScan scanInteger(const char* first, const char* last, Integer& value) {
    // from_chars takes a '-' for a signed target only.
    if constexpr (std::is_signed_v<Integer>) {
        first = afterPlusSign(first, last);
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
