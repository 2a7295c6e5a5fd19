#include "viewer/number_tokens.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>
#include <system_error>

namespace zel {
namespace {

bool isSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// from_chars reports a value too small for float as out of range, where stream extraction
// (through strtof) gives the nearest float, zero or subnormal. That rare token is handed to
// strtof itself, so that both readings agree; only a value too large is refused.
bool readOutOfRangeFloat(const char* first, const char* last, float& value) {
    const std::string token(first, last);
    const float parsed = std::strtof(token.c_str(), nullptr);
    if (std::isinf(parsed)) {
        return false;
    }
    value = parsed;
    return true;
}

} // namespace

bool NumberTokens::skipWhitespace() {
    while (next != end && isSpace(*next)) {
        ++next;
    }
    return next != end;
}

bool NumberTokens::passToken(const char* parsedUpTo) {
    const bool whole = parsedUpTo != next && (parsedUpTo == end || isSpace(*parsedUpTo));
    if (whole) {
        next = parsedUpTo;
        return true;
    }
    while (next != end && !isSpace(*next)) {
        ++next;
    }
    return false;
}

// Stream extraction takes one '+' before a number, which from_chars does not.
const char* NumberTokens::afterPlusSign() const {
    const bool plusBeforeNumber =
        *next == '+' && next + 1 != end && next[1] != '-' && next[1] != '+';
    return plusBeforeNumber ? next + 1 : next;
}

NumberTokens::Token NumberTokens::read(float& value) {
    if (!skipWhitespace()) {
        return Token::Missing;
    }
    const char* const first = afterPlusSign();
    float parsed = 0.0f;
    const auto [stop, error] = std::from_chars(first, end, parsed);
    if (!passToken(stop)) {
        return Token::Malformed;
    }
    if (error == std::errc::result_out_of_range) {
        return readOutOfRangeFloat(first, stop, value) ? Token::Read : Token::Malformed;
    }
    // from_chars also reads "inf" and "nan", which are no numbers to stream extraction.
    if (error != std::errc() || !std::isfinite(parsed)) {
        return Token::Malformed;
    }
    value = parsed;
    return Token::Read;
}

template <typename Integer>
NumberTokens::Token NumberTokens::readInteger(Integer& value, bool signAllowed) {
    if (!skipWhitespace()) {
        return Token::Missing;
    }
    Integer parsed = 0;
    const char* const first = signAllowed ? afterPlusSign() : next;
    // from_chars takes a '-' for a signed target only.
    const auto [stop, error] = std::from_chars(first, end, parsed);
    if (!passToken(stop) || error != std::errc()) {
        return Token::Malformed;
    }
    value = parsed;
    return Token::Read;
}

NumberTokens::Token NumberTokens::read(std::int32_t& value) { return readInteger(value, true); }

NumberTokens::Token NumberTokens::read(std::uint32_t& value) { return readInteger(value, false); }

} // namespace zel
