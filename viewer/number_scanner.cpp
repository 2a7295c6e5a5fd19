#include "viewer/number_scanner.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <climits>
#include <cstddef>
#include <cstring>
#include <ios>
#include <locale>
#include <sstream>
#include <streambuf>
#include <system_error>
#include <type_traits>

namespace zel {
namespace {

using Traits = std::char_traits<char>;

bool isClassicSpace(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(int c) {
    return c >= '0' && c <= '9';
}

bool isSign(int c) {
    return c == '+' || c == '-';
}

const char* skipDigits(const char* first, const char* last) {
    while (first != last && isDigit(*first)) {
        ++first;
    }
    return first;
}

// The characters a stream buffer already holds in memory (its get area), and taking some
// of them as sbumpc would, one by one. The buffer keeps these members protected; a pointer
// to them formed inside a derived class may be applied to any stream buffer, which the
// language allows. Reading in place needs no copy and never has to give characters back.
struct GetArea : std::streambuf {
    static const char* first(std::streambuf& buffer) { return (buffer.*&GetArea::gptr)(); }

    static std::size_t size(std::streambuf& buffer) {
        const char* const next = (buffer.*&GetArea::gptr)();
        const char* const end = (buffer.*&GetArea::egptr)();
        // gbump takes an int: a larger get area is read in several pieces.
        return std::min(static_cast<std::size_t>(end - next), static_cast<std::size_t>(INT_MAX));
    }

    static void take(std::streambuf& buffer, std::size_t count) {
        (buffer.*&GetArea::gbump)(static_cast<int>(count));
    }
};

// The end of the floating-point token at `first`: the characters that the standard
// library's num_get takes for a number in the classic locale, that is a sign, digits with
// at most one decimal point, and an exponent ('e' or 'E', a sign, digits) only after at
// least one digit. `last` when the token may go on beyond `last`.
const char* floatTokenEnd(const char* first, const char* last) {
    const char* p = first;
    if (p != last && isSign(*p)) {
        ++p;
    }
    const char* const integerDigits = p;
    p = skipDigits(p, last);
    bool foundMantissa = p != integerDigits;
    if (p != last && *p == '.') {
        const char* const fractionDigits = ++p;
        p = skipDigits(p, last);
        foundMantissa = foundMantissa || p != fractionDigits;
    }
    if (p != last && (*p == 'e' || *p == 'E') && foundMantissa) {
        ++p;
        if (p != last && isSign(*p)) {
            ++p;
        }
        p = skipDigits(p, last);
    }
    return p;
}

// The rare tokens that from_chars does not settle (values beyond float's range or below its
// smallest subnormal, a lone sign or point, an exponent without digits) are decided by
// stream extraction itself.
bool extractAsStreamDoes(const char* first, const char* last, float& value) {
    std::istringstream in(std::string(first, last));
    in.imbue(std::locale::classic());
    in >> value;
    return !in.fail();
}

// The parsers below take one whole token as found by the token ends above and say whether
// stream extraction reads it; `value` is set only when it does.
bool parseToken(const char* first, const char* last, float& value) {
    const char* digits = first;
    if (digits != last && *digits == '+') {
        ++digits; // from_chars takes no plus sign
    }
    float parsed = 0.0f;
    const auto [end, error] = std::from_chars(digits, last, parsed);
    const bool readable =
        (error == std::errc() && end == last) || extractAsStreamDoes(first, last, parsed);
    if (readable) {
        value = parsed;
    }
    return readable;
}

// An integer token: an optional sign, then decimal digits. The magnitude saturates far
// above every 32-bit range, so an overflow stays an overflow.
struct IntegerToken {
    bool negative = false;
    bool hasDigits = false;
    std::uint64_t magnitude = 0;
};

// Scans the integer token at `first` and returns its end, which is `last` when the token
// may go on beyond `last`.
const char* scanInteger(const char* first, const char* last, IntegerToken& token) {
    constexpr std::uint64_t saturated = std::uint64_t{1} << 40;
    token.negative = first != last && *first == '-';
    if (first != last && isSign(*first)) {
        ++first;
    }
    const char* const digits = first;
    for (; first != last && isDigit(*first); ++first) {
        const auto digit = static_cast<std::uint64_t>(*first - '0');
        token.magnitude = std::min(saturated, token.magnitude * 10 + digit);
    }
    token.hasDigits = first != digits;
    return first;
}

// Reads the digits of an integer token of fewer than eight digits that has eight characters
// of memory from `first`, all at once: no branch depends on where the digits end. Returns
// false, reading nothing, for a longer token.
bool readShortInteger(const char*& first, IntegerToken& token) {
    // The first character goes in the lowest byte.
    std::uint64_t eight = 0;
    std::memcpy(&eight, first, sizeof eight);
    if constexpr (std::endian::native == std::endian::big) {
        eight = __builtin_bswap64(eight);
    }
    // Digits turn into their values 0 to 9. A byte is no digit when its value has the top
    // bit set or reaches 10 in its low seven bits, which adding 118 carries into the top
    // bit; the sum stays inside the byte.
    constexpr std::uint64_t topBits = 0x8080808080808080u;
    const std::uint64_t values = eight ^ 0x3030303030303030u;
    const std::uint64_t nonDigits =
        (((values & ~topBits) + 0x7676767676767676u) | values) & topBits;
    if (nonDigits == 0) {
        return false;
    }
    const int digitCount = std::countr_zero(nonDigits) / 8;
    token.hasDigits = digitCount > 0;
    if (token.hasDigits) {
        // Leading zero bytes pad the digits to eight, then pairs, quads and the whole
        // eight combine.
        std::uint64_t v = values << (8 * (8 - digitCount));
        v = (v * 10 + (v >> 8)) & 0x00FF00FF00FF00FFu;
        v = (v * 100 + (v >> 16)) & 0x0000FFFF0000FFFFu;
        v = (v * 10000 + (v >> 32)) & 0x00000000FFFFFFFFu;
        token.magnitude = v;
    }
    first += digitCount;
    return true;
}

// Appends the decimal digits at `first` to `digits` and returns their end. Seven or fewer
// digits with eight characters of memory are read at once.
const char* appendDigits(const char* first, const char* last, std::uint64_t& digits) {
    static constexpr std::uint64_t scales[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000};
    IntegerToken token;
    const char* end = first;
    if (last - first >= 8 && readShortInteger(end, token)) {
        digits = digits * scales[end - first] + token.magnitude;
        return end;
    }
    for (; end != last && isDigit(*end); ++end) {
        digits = digits * 10 + static_cast<std::uint64_t>(*end - '0');
    }
    return end;
}

bool toValue(const IntegerToken& token, std::int32_t& value) {
    const std::uint64_t limit =
        token.negative ? std::uint64_t{1} << 31 : (std::uint64_t{1} << 31) - 1;
    if (!token.hasDigits || token.magnitude > limit) {
        return false;
    }
    const auto magnitude = static_cast<std::int64_t>(token.magnitude);
    value = static_cast<std::int32_t>(token.negative ? -magnitude : magnitude);
    return true;
}

// Like stream extraction, a minus sign is accepted and wraps around: "-1" reads 4294967295.
bool toValue(const IntegerToken& token, std::uint32_t& value) {
    if (!token.hasDigits || token.magnitude > 0xFFFFFFFFu) {
        return false;
    }
    const auto magnitude = static_cast<std::uint32_t>(token.magnitude);
    value = token.negative ? static_cast<std::uint32_t>(0u - magnitude) : magnitude;
    return true;
}

template <typename Integer>
bool parseToken(const char* first, const char* last, Integer& value) {
    IntegerToken token;
    return scanInteger(first, last, token) == last && toValue(token, value);
}

// Reading a token that lies in memory: each returns where the token ends and sets
// `readable` (and, when readable, `value`), or returns `last` without either when the token
// may go on beyond `last`.

// A plain decimal of at most 15 digits ending in whitespace, such as "-99.97005": its
// digits m and its count k of fraction digits are exact in double, so m / 10^k rounds once
// to the double d nearest the true value. Rounding d to float then gives the correctly
// rounded float, as stream extraction does, unless d lies exactly on the midpoint between
// two floats: a midpoint strictly between d and the true value would be nearer to the
// true value than d is. Every such value lies well inside float's normal range, where the
// 29 low bits of d's significand are the ones float drops; a midpoint has them 1000...0.
bool readShortDecimal(const char* first, const char* last, float& value, const char*& end) {
    static constexpr double powersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    constexpr int mostDigits = 15;
    const bool negative = first != last && *first == '-';
    if (first != last && isSign(*first)) {
        ++first;
    }
    std::uint64_t digits = 0; // wraps harmlessly when there are too many digits to use
    const char* p = appendDigits(first, last, digits);
    auto digitCount = p - first;
    std::ptrdiff_t fractionDigits = 0;
    if (p != last && *p == '.') {
        const char* const fraction = ++p;
        p = appendDigits(p, last, digits);
        fractionDigits = p - fraction;
        digitCount += fractionDigits;
    }
    if (digitCount == 0 || digitCount > mostDigits || p == last || !isClassicSpace(*p)) {
        return false;
    }
    const double nearest = static_cast<double>(digits) / powersOfTen[fractionDigits];
    constexpr std::uint64_t droppedBits = (std::uint64_t{1} << 29) - 1;
    constexpr std::uint64_t midpoint = std::uint64_t{1} << 28;
    if ((std::bit_cast<std::uint64_t>(nearest) & droppedBits) == midpoint) {
        return false;
    }
    const auto magnitude = static_cast<float>(nearest);
    value = negative ? -magnitude : magnitude;
    end = p;
    return true;
}

// Most coordinates are plain decimals ending in whitespace. from_chars reads exactly those
// characters of such a token that floatTokenEnd takes, provided a digit or a point follows
// the sign (which excludes "inf" and "nan"), so the token is read in one pass; any other
// ending is settled by the full rules.
const char* readToken(const char* first, const char* last, float& value, bool& readable) {
    if (const char* end = nullptr; readShortDecimal(first, last, value, end)) {
        readable = true;
        return end;
    }
    const char* digits = first;
    if (digits != last && isSign(*digits)) {
        ++digits;
    }
    if (digits != last && (isDigit(*digits) || *digits == '.')) {
        float parsed = 0.0f;
        const auto [end, error] = std::from_chars(*first == '+' ? digits : first, last, parsed);
        if (error == std::errc() && end != last && isClassicSpace(*end)) {
            value = parsed;
            readable = true;
            return end;
        }
    }
    const char* const end = floatTokenEnd(first, last);
    if (end != last) {
        readable = parseToken(first, end, value);
    }
    return end;
}

template <typename Integer>
const char* readToken(const char* first, const char* last, Integer& value, bool& readable) {
    IntegerToken token;
    const char* end = first;
    token.negative = end != last && *end == '-';
    if (end != last && isSign(*end)) {
        ++end;
    }
    if (last - end < 8 || !readShortInteger(end, token)) {
        end = scanInteger(first, last, token);
    }
    if (end != last) {
        readable = toValue(token, value);
    }
    return end;
}

} // namespace

NumberScanner::Token NumberScanner::read(float& value) {
    return readNumber(value);
}

NumberScanner::Token NumberScanner::read(std::int32_t& value) {
    return readNumber(value);
}

NumberScanner::Token NumberScanner::read(std::uint32_t& value) {
    return readNumber(value);
}

template <typename Number>
NumberScanner::Token NumberScanner::readNumber(Number& value) {
    Token result = Token::Missing;
    if (stream.good() && readInPlace(value, result)) {
        return result;
    }
    return readCharacterByCharacter(value);
}

// Reads the next token where it lies in the buffer's memory when it ends there: a
// character that cannot continue it follows inside the buffer. Otherwise takes only the
// whitespace before the token and returns false. A token that ends inside the buffer
// touches neither the end of the text nor the stream's end-of-file state.
template <typename Number>
bool NumberScanner::readInPlace(Number& value, Token& result) {
    std::streambuf& buffer = *stream.rdbuf();
    const char* const first = GetArea::first(buffer);
    const char* const last = first + GetArea::size(buffer);
    const char* start = first;
    while (start != last && isClassicSpace(*start)) {
        ++start;
    }
    bool readable = false;
    const char* const end = readToken(start, last, value, readable);
    if (end == last) {
        GetArea::take(buffer, static_cast<std::size_t>(start - first));
        return false;
    }
    GetArea::take(buffer, static_cast<std::size_t>(end - first));
    if (!readable) {
        stream.setstate(std::ios_base::failbit);
    }
    result = readable ? Token::Read : Token::Malformed;
    return true;
}

template <typename Number>
NumberScanner::Token NumberScanner::readCharacterByCharacter(Number& value) {
    const Token start = startToken();
    if (start != Token::Read) {
        return start;
    }
    if constexpr (std::is_floating_point_v<Number>) {
        collectFloatToken();
    } else {
        collectIntegerToken();
    }
    return finish(parseToken(token.data(), token.data() + token.size(), value));
}

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

// The same characters as floatTokenEnd, taken one by one from the stream.
void NumberScanner::collectFloatToken() {
    token.clear();
    int c = current();
    if (isSign(c)) {
        token += static_cast<char>(c);
        c = advance();
    }
    bool foundMantissa = false;
    bool foundPoint = false;
    bool foundExponent = false;
    while (c != Traits::eof()) {
        if (isDigit(c)) {
            foundMantissa = true;
        } else if (c == '.' && !foundPoint && !foundExponent) {
            foundPoint = true;
        } else if ((c == 'e' || c == 'E') && !foundExponent && foundMantissa) {
            token += static_cast<char>(c);
            foundExponent = true;
            c = advance();
            if (!isSign(c)) {
                continue;
            }
        } else {
            break;
        }
        token += static_cast<char>(c);
        c = advance();
    }
}

// The same characters as scanInteger, taken one by one from the stream.
void NumberScanner::collectIntegerToken() {
    token.clear();
    int c = current();
    if (isSign(c)) {
        token += static_cast<char>(c);
        c = advance();
    }
    while (isDigit(c)) {
        token += static_cast<char>(c);
        c = advance();
    }
}

} // namespace zel
