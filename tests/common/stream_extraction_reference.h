#pragma once

// The values NumberTokens must give, taken from stream extraction itself, and a comparison of
// the two over a whole text.

#include "common/number_tokens.h"

#include <cstddef>
#include <cstring>
#include <ios>
#include <locale>
#include <sstream>
#include <string>
#include <type_traits>

namespace zel::test {

// Stream extraction of one whitespace-free token, accepted only when it reads the token to its
// end. A count is digits only: extraction would also take a sign, and turn "-1" into the
// largest count.
template <typename Number> bool extractWholeToken(const std::string& token, Number& value) {
    if (std::is_unsigned_v<Number> && (token.front() == '+' || token.front() == '-')) {
        return false;
    }
    std::istringstream in(token);
    in.imbue(std::locale::classic());
    Number parsed{};
    if (!(in >> parsed) || in.peek() != std::char_traits<char>::eof()) {
        return false;
    }
    value = parsed;
    return true;
}

// Reads every whitespace-separated token of `text` as a `Number`, with NumberTokens and with
// stream extraction of the token alone, with NumberTokens taking the text in blocks of
// `blockSize` characters. Returns an empty string when both agree on every
// result and value (bit for bit) and on where the text ends (at a token as long as a block,
// which NumberTokens refuses and reads no further); otherwise says where they part.
template <typename Number>
std::string differenceFromStreamExtraction(const std::string& text,
                                           std::size_t blockSize = NumberTokens::defaultBlockSize) {
    std::istringstream tokens(text);
    tokens.imbue(std::locale::classic());
    std::istringstream source(text);
    NumberTokens numbers(source, blockSize);
    int tokenIndex = 0;
    for (std::string token; tokens >> token; ++tokenIndex) {
        Number read{};
        Number reference{};
        const NumberTokens::Token result = numbers.read(read);
        if (token.size() >= blockSize) {
            // Refused, and the text ends there: nothing after it is read.
            const bool ends = result == NumberTokens::Token::Malformed &&
                              numbers.read(read) == NumberTokens::Token::Missing;
            return ends ? "" : "token " + std::to_string(tokenIndex) + ": not refused as too long";
        }
        const bool readable = extractWholeToken(token, reference);
        const std::string where = "token " + std::to_string(tokenIndex) + ": ";
        if (result != (readable ? NumberTokens::Token::Read : NumberTokens::Token::Malformed)) {
            return where + "results differ";
        }
        if (std::memcmp(&read, &reference, sizeof read) != 0) {
            return where + "values differ";
        }
    }
    Number unused{};
    return numbers.read(unused) == NumberTokens::Token::Missing ? "" : "the ends differ";
}

} // namespace zel::test
