#include "viewer/number_scanner.h"

#include <algorithm>
#include <charconv>
#include <ios>
#include <locale>
#include <sstream>
#include <streambuf>
#include <system_error>

namespace zel {
namespace {

using Traits = std::char_traits<char>;

bool isClassicSpace(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(int c) {
    return c >= '0' && c <= '9';
}

// The rare tokens that from_chars does not settle (values beyond float's range or below its
// smallest subnormal, a lone sign or point, an exponent without digits) are decided by
// stream extraction itself.
bool extractAsStreamDoes(const std::string& token, float& value) {
    std::istringstream in(token);
    in.imbue(std::locale::classic());
    in >> value;
    return !in.fail();
}

} // namespace

int NumberScanner::current() {
    const int c = stream.rdbuf()->sgetc();
    reachedEnd = c == Traits::eof();
    return c;
}

int NumberScanner::advance() {
    const int c = stream.rdbuf()->snextc();
    reachedEnd = c == Traits::eof();
    return c;
}

// Mirrors `in >> std::ws` followed by the sentry of a formatted extraction. Read here means
// that a token starts at the current character.
NumberScanner::Token NumberScanner::startToken() {
    if (stream.eof()) {
        stream.setstate(std::ios_base::failbit);
        return Token::Missing;
    }
    if (!stream.good()) {
        stream.setstate(std::ios_base::failbit);
        return Token::Malformed;
    }
    int c = current();
    while (isClassicSpace(c)) {
        c = advance();
    }
    if (c == Traits::eof()) {
        stream.setstate(std::ios_base::eofbit);
        return Token::Missing;
    }
    return Token::Read;
}

NumberScanner::Token NumberScanner::finish(bool readable) {
    if (reachedEnd) {
        stream.setstate(std::ios_base::eofbit);
    }
    if (!readable) {
        stream.setstate(std::ios_base::failbit);
        return Token::Malformed;
    }
    return Token::Read;
}

// Takes the characters that the standard library's num_get takes for a floating-point
// number in the classic locale: a sign, digits with at most one decimal point, and an
// exponent ('e' or 'E', a sign, digits) only after at least one digit.
void NumberScanner::collectFloatToken() {
    token.clear();
    int c = current();
    if (c == '+' || c == '-') {
        token += static_cast<char>(c);
        c = advance();
    }
    bool foundMantissa = false;
    bool foundPoint = false;
    bool foundExponent = false;
    while (c != Traits::eof()) {
        if (isDigit(c)) {
            token += static_cast<char>(c);
            foundMantissa = true;
        } else if (c == '.' && !foundPoint && !foundExponent) {
            token += '.';
            foundPoint = true;
        } else if ((c == 'e' || c == 'E') && !foundExponent && foundMantissa) {
            token += 'e';
            foundExponent = true;
            c = advance();
            if (c != '+' && c != '-') {
                continue;
            }
            token += static_cast<char>(c);
        } else {
            break;
        }
        c = advance();
    }
}

// An optional sign, then decimal digits; false when there is no digit. The magnitude
// saturates far above every 32-bit range, so an overflow stays an overflow.
bool NumberScanner::scanInteger(bool& negative, std::uint64_t& magnitude) {
    constexpr std::uint64_t saturated = std::uint64_t{1} << 40;
    int c = current();
    negative = c == '-';
    if (c == '+' || c == '-') {
        c = advance();
    }
    bool foundDigit = false;
    magnitude = 0;
    while (isDigit(c)) {
        foundDigit = true;
        magnitude = std::min(saturated, magnitude * 10 + static_cast<std::uint64_t>(c - '0'));
        c = advance();
    }
    return foundDigit;
}

NumberScanner::Token NumberScanner::read(float& value) {
    const Token start = startToken();
    if (start != Token::Read) {
        return start;
    }
    collectFloatToken();
    const char* first = token.data();
    const char* const last = first + token.size();
    if (first != last && *first == '+') {
        ++first; // from_chars takes no plus sign
    }
    float parsed = 0.0f;
    const auto [end, error] = std::from_chars(first, last, parsed);
    const bool readable =
        (error == std::errc() && end == last) || extractAsStreamDoes(token, parsed);
    if (readable) {
        value = parsed;
    }
    return finish(readable);
}

NumberScanner::Token NumberScanner::read(std::int32_t& value) {
    const Token start = startToken();
    if (start != Token::Read) {
        return start;
    }
    bool negative = false;
    std::uint64_t magnitude = 0;
    const bool readable =
        scanInteger(negative, magnitude) &&
        magnitude <= (negative ? std::uint64_t{1} << 31 : (std::uint64_t{1} << 31) - 1);
    if (readable) {
        value = static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(magnitude)
                                                   : static_cast<std::int64_t>(magnitude));
    }
    return finish(readable);
}

// Like stream extraction, a minus sign is accepted and wraps around: "-1" reads 4294967295.
NumberScanner::Token NumberScanner::read(std::uint32_t& value) {
    const Token start = startToken();
    if (start != Token::Read) {
        return start;
    }
    bool negative = false;
    std::uint64_t magnitude = 0;
    const bool readable = scanInteger(negative, magnitude) && magnitude <= 0xFFFFFFFFu;
    if (readable) {
        const auto unsignedValue = static_cast<std::uint32_t>(magnitude);
        value = negative ? static_cast<std::uint32_t>(0u - unsignedValue) : unsignedValue;
    }
    return finish(readable);
}

} // namespace zel
