#pragma once

// The behaviour that NumberScanner must match, taken from stream extraction itself, and a
// comparison of the two over a whole text.

#include "viewer/number_scanner.h"

#include <cstring>
#include <ios>
#include <locale>
#include <sstream>
#include <string>

namespace zel::test {

template <typename Number>
NumberScanner::Token extractNumber(std::istream& in, Number& value) {
    in >> std::ws;
    if (in.eof()) {
        return NumberScanner::Token::Missing;
    }
    Number parsed{};
    if (!(in >> parsed)) {
        return NumberScanner::Token::Malformed;
    }
    value = parsed;
    return NumberScanner::Token::Read;
}

inline std::streamoff positionOf(std::istream& in) {
    return in.rdbuf()->pubseekoff(0, std::ios_base::cur, std::ios_base::in);
}

// Reads `text` as a sequence of `Number`s with the scanner (from `scanned`, a stream over the
// same text) and with stream extraction, up to the first token that is not a number. Returns
// an empty string when both agree on every result, value (bit for bit), stopping position and
// stream state; otherwise says where they part.
template <typename Number>
std::string differenceFromStreamExtraction(std::istream& scanned, const std::string& text) {
    std::istringstream extracted(text);
    extracted.imbue(std::locale::classic());
    NumberScanner scanner(scanned);
    for (int tokenIndex = 0;; ++tokenIndex) {
        Number fast{};
        Number reference{};
        const NumberScanner::Token fastToken = scanner.read(fast);
        const NumberScanner::Token referenceToken = extractNumber(extracted, reference);
        const std::string where = "token " + std::to_string(tokenIndex) + ": ";
        if (fastToken != referenceToken) {
            return where + "results differ";
        }
        if (std::memcmp(&fast, &reference, sizeof fast) != 0) {
            return where + "values differ";
        }
        if (positionOf(scanned) != positionOf(extracted)) {
            return where + "stopping positions differ";
        }
        if (scanned.eof() != extracted.eof() || scanned.fail() != extracted.fail()) {
            return where + "stream states differ";
        }
        if (fastToken != NumberScanner::Token::Read) {
            return "";
        }
    }
}

template <typename Number>
std::string differenceFromStreamExtraction(const std::string& text) {
    std::istringstream scanned(text);
    return differenceFromStreamExtraction<Number>(scanned, text);
}

} // namespace zel::test
