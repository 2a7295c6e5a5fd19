#include "viewer/number_tokens.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
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

// Stream extraction takes one '+' before a number, which from_chars does not.
const char* afterPlusSign(const char* first, const char* last) {
    const bool plusBeforeNumber = *first == '+' && first + 1 != last && first[1] != '-';
    return plusBeforeNumber ? first + 1 : first;
}

} // namespace

NumberTokens::NumberTokens(std::istream& stream, std::size_t size)
    : in(stream), blockSize(size), block(new char[size]), next(block.get()), end(block.get()) {}

// Keeps the unfinished token at `next` and fills the rest of the block after it.
bool NumberTokens::refill() {
    if (streamEnded) {
        return false;
    }
    const std::size_t kept = static_cast<std::size_t>(end - next);
    std::memmove(block.get(), next, kept);
    next = block.get();
    in.read(block.get() + kept, static_cast<std::streamsize>(blockSize - kept));
    end = next + kept + in.gcount();
    if (!in) {
        streamEnded = true;
        failed = in.bad();
        if (!failed) {
            // Running into the end is how a text ends, not a failure of the stream.
            in.clear(std::ios::eofbit);
        }
    }
    return end != next + kept;
}

bool NumberTokens::startToken() {
    do {
        while (next != end && isSpace(*next)) {
            ++next;
        }
    } while (next == end && refill());
    return next != end;
}

bool NumberTokens::completeToken() {
    tokenEnd = next;
    while (true) {
        while (tokenEnd != end && !isSpace(*tokenEnd)) {
            ++tokenEnd;
        }
        if (tokenEnd != end) {
            return true;
        }
        if (streamEnded) {
            // A read error may have cut the last token short.
            return !failed;
        }
        if (end - next == static_cast<std::ptrdiff_t>(blockSize)) {
            // Too long for any number: drop what has been seen and look for its end.
            tooLong = true;
            next = end;
        }
        const std::ptrdiff_t scanned = tokenEnd - next;
        refill();
        tokenEnd = next + scanned;
    }
}

// Parses the token at `next` with `parse`, which returns the from_chars result for a range of
// text. Most numbers end at whitespace inside the block and are parsed right there, with no
// separate search for the token's end; any other token is parsed again once its whole text is
// in the block.
template <typename Parse>
std::optional<std::from_chars_result> NumberTokens::parseToken(const Parse& parse) {
    if (!startToken()) {
        return std::nullopt;
    }
    std::from_chars_result result = parse(next, end);
    const bool endsInBlock = result.ptr == end ? streamEnded : isSpace(*result.ptr);
    if (endsInBlock) {
        tokenEnd = result.ptr;
    } else {
        if (!completeToken()) {
            return std::nullopt;
        }
        result = parse(next, tokenEnd);
    }
    if (result.ptr != tokenEnd || tooLong) {
        result.ec = std::errc::invalid_argument;
    }
    next = tokenEnd;
    tooLong = false;
    return result;
}

NumberTokens::Token NumberTokens::read(float& value) {
    float parsed = 0.0f;
    const char* first = nullptr;
    const auto result = parseToken([&](const char* from, const char* to) {
        first = afterPlusSign(from, to);
        return std::from_chars(first, to, parsed);
    });
    if (!result) {
        return Token::Missing;
    }
    if (result->ec == std::errc::result_out_of_range) {
        return readOutOfRangeFloat(first, result->ptr, value) ? Token::Read : Token::Malformed;
    }
    // from_chars also reads "inf" and "nan", which are no numbers to stream extraction.
    if (result->ec != std::errc() || !std::isfinite(parsed)) {
        return Token::Malformed;
    }
    value = parsed;
    return Token::Read;
}

template <typename Integer>
NumberTokens::Token NumberTokens::readInteger(Integer& value, bool signAllowed) {
    Integer parsed = 0;
    // from_chars takes a '-' for a signed target only.
    const auto result = parseToken([&](const char* from, const char* to) {
        return std::from_chars(signAllowed ? afterPlusSign(from, to) : from, to, parsed);
    });
    if (!result) {
        return Token::Missing;
    }
    if (result->ec != std::errc()) {
        return Token::Malformed;
    }
    value = parsed;
    return Token::Read;
}

NumberTokens::Token NumberTokens::read(std::int32_t& value) { return readInteger(value, true); }

NumberTokens::Token NumberTokens::read(std::uint32_t& value) { return readInteger(value, false); }

} // namespace zel
