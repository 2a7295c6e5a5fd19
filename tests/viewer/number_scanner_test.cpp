#include "viewer/number_scanner.h"

#include "stream_extraction_reference.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <sstream>
#include <string>

namespace zel {
namespace {

using Token = NumberScanner::Token;

// clang-format off
const char* const trickyTexts[] = {
    // signs, points and exponents
    "0", "-0", "+0", "007", "1.5", "-3.5", "+2", ".5", "5.", "-.5", "+.e5", ".", "-", "+", "-+1",
    "1e2", "1E-2", "1e+2", "1e", "1e+", "1e-", "e5", "1e5e3", "1e5.3", "1.2.3", "1-2", "1+2",
    "00.00e00", "1.e5", "0.1e-1x", "12abc",
    // what other parsers take
    "0x1p3", "0x10", "nan", "inf", "-inf", "1,5", "1\xff", "\xff",
    // the edges of float
    "1e39", "-1e39", "3.4028235e38", "3.4028236e38", "1e-40", "1e-45", "7e-46", "1e-50",
    "0.000000000000000000000000000000000000000000001", "123456789012345678901234567890",
    // the edges of the 32-bit integers
    "4294967295", "4294967296", "-4294967295", "-4294967296", "2147483647", "2147483648",
    "-2147483648", "-2147483649", "99999999999999999999999", "00000000000000000000000000000000001",
    // whitespace
    "1 2 3", "  \t\r\n 4 \v\f 5", "", "   ",
};
// clang-format on

TEST(NumberScanner, AgreesWithStreamExtractionOnTrickyTokens) {
    for (const char* text : trickyTexts) {
        EXPECT_EQ(test::differenceFromStreamExtraction<float>(text), "") << "float: " << text;
        EXPECT_EQ(test::differenceFromStreamExtraction<std::int32_t>(text), "") << "int: " << text;
        EXPECT_EQ(test::differenceFromStreamExtraction<std::uint32_t>(text), "")
            << "unsigned: " << text;
    }
}

TEST(NumberScanner, AgreesWithStreamExtractionOnGeneratedTexts) {
    // Short texts over the characters that matter to number syntax, and long digit runs.
    std::mt19937 generator(20261208);
    const std::string alphabet = "0123456789000.+-eE \n.1x";
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(1, 40);
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        for (int n = length(generator); n > 0; --n) {
            text += alphabet[pick(generator)];
        }
        ASSERT_EQ(test::differenceFromStreamExtraction<float>(text), "") << "float: " << text;
        ASSERT_EQ(test::differenceFromStreamExtraction<std::int32_t>(text), "") << "int: " << text;
        ASSERT_EQ(test::differenceFromStreamExtraction<std::uint32_t>(text), "")
            << "unsigned: " << text;
    }
}

TEST(NumberScanner, IgnoresTheStreamsLocaleAndNumberBase) {
    std::istringstream in("1.5 10");
    in.imbue(std::locale("C"));
    in >> std::hex;
    NumberScanner scanner(in);
    float x = 0;
    std::int32_t i = 0;
    EXPECT_EQ(scanner.read(x), Token::Read);
    EXPECT_EQ(scanner.read(i), Token::Read);
    EXPECT_EQ(x, 1.5f);
    EXPECT_EQ(i, 10);
}

TEST(NumberScanner, LeavesTheTargetAloneUnlessItReadsANumber) {
    std::istringstream in("x");
    NumberScanner scanner(in);
    float x = 7;
    EXPECT_EQ(scanner.read(x), Token::Malformed);
    EXPECT_EQ(x, 7.0f);
    std::istringstream empty(" ");
    NumberScanner atEnd(empty);
    EXPECT_EQ(atEnd.read(x), Token::Missing);
    EXPECT_EQ(x, 7.0f);
}

} // namespace
} // namespace zel
