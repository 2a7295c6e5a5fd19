#include "common/number_tokens.h"
#include "tests/common/stream_extraction_reference.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <sstream>
#include <streambuf>
#include <string>
#include <utility>
#include <vector>

namespace zel {
namespace {

using Token = NumberTokens::Token;

// clang-format off
const char* const trickyTexts[] = {
    // signs, points and exponents
    "0", "-0", "+0", "007", "1.5", "-3.5", "+2", ".5", "5.", "-.5", "+.e5", ".", "-", "+", "-+1",
    "1e2", "1E-2", "1e+2", "1e", "1e+", "1e-", "e5", "1e5e3", "1e5.3", "1.2.3", "1-2", "1+2",
    "00.00e00", "1.e5", "0.1e-1x", "12abc",
    // what other parsers take
    "0x1p3", "0x10", "nan", "inf", "-inf", "1,5", "1\xff", "\xff",
    // bytes that look like digits to careless bit tricks
    "1 0\xcd" "0 1 00! 0 00 ", "12\xca" "3456789", "1\x3a", "1/", "1\xb0", "123456\xcf" "78",
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

TEST(NumberTokens, AgreesWithStreamExtractionOnTrickyTokens) {
    for (const char* text : trickyTexts) {
        EXPECT_EQ(test::differenceFromStreamExtraction<float>(text), "") << "float: " << text;
        EXPECT_EQ(test::differenceFromStreamExtraction<std::int32_t>(text), "") << "int: " << text;
        EXPECT_EQ(test::differenceFromStreamExtraction<std::uint32_t>(text), "")
            << "unsigned: " << text;
    }
}

TEST(NumberTokens, AgreesWithStreamExtractionOnGeneratedTexts) {
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

TEST(NumberTokens, LeavesTheTargetAloneUnlessItReadsANumber) {
    std::istringstream in("x ");
    NumberTokens numbers(in);
    float x = 7;
    EXPECT_EQ(numbers.read(x), Token::Malformed);
    EXPECT_EQ(x, 7.0f);
    EXPECT_EQ(numbers.read(x), Token::Missing);
    EXPECT_EQ(x, 7.0f);
}

TEST(NumberTokens, RefusesNumbersGluedToOtherTextAndSignedCounts) {
    for (const char* glued :
         {"3.0", "1.2.3", "12abc", "1e5e3", "0x1p3", "1,5", "-1", "+3", "1-2"}) {
        SCOPED_TRACE(glued);
        std::istringstream in(std::string(glued) + " 4");
        NumberTokens numbers(in);
        std::uint32_t count = 0;
        EXPECT_EQ(numbers.read(count), Token::Malformed);
        EXPECT_EQ(numbers.read(count), Token::Read);
        EXPECT_EQ(count, 4u);
    }
    std::istringstream in("1.2.3 .5 +2");
    NumberTokens coordinates(in);
    float x = 0;
    EXPECT_EQ(coordinates.read(x), Token::Malformed);
    EXPECT_EQ(coordinates.read(x), Token::Read);
    EXPECT_EQ(x, 0.5f);
    EXPECT_EQ(coordinates.read(x), Token::Read);
    EXPECT_EQ(x, 2.0f);
}

// A source as long as the test wants, counting the bytes it hands out.
class CountingSource : public std::streambuf {
public:
    CountingSource(std::string start, std::size_t length)
        : start_(std::move(start)), left_(length) {}
    std::size_t handedOut = 0;

protected:
    int_type underflow() override {
        if (left_ == 0) {
            return traits_type::eof();
        }
        const std::size_t size = std::min(left_, sizeof chunk_);
        std::fill_n(chunk_, size, 'y');
        const std::size_t lead = std::min(start_.size(), size);
        std::copy_n(start_.data(), lead, chunk_);
        start_.erase(0, lead);
        left_ -= size;
        handedOut += size;
        setg(chunk_, chunk_, chunk_ + size);
        return traits_type::to_int_type(chunk_[0]);
    }

private:
    std::string start_;
    std::size_t left_;
    char chunk_[64];
};

TEST(NumberTokens, RefusesATokenAsLongAsABlockAndEndsTheTextThere) {
    std::istringstream in("1234567 12345678 5");
    NumberTokens numbers(in, 8);
    std::uint32_t count = 0;
    EXPECT_EQ(numbers.read(count), Token::Read);
    EXPECT_EQ(count, 1234567u);
    EXPECT_EQ(numbers.read(count), Token::Malformed);
    EXPECT_EQ(numbers.read(count), Token::Missing);

    // An endless token (/dev/zero, `yes | tr -d '\n'`) is not followed to its end: a source
    // of 100 blocks is left after the first two.
    CountingSource endless("3 ", 100 * 1024);
    std::istream endlessIn(&endless);
    NumberTokens endlessNumbers(endlessIn, 1024);
    EXPECT_EQ(endlessNumbers.read(count), Token::Read);
    EXPECT_EQ(endlessNumbers.read(count), Token::Malformed);
    EXPECT_EQ(endlessNumbers.read(count), Token::Missing);
    EXPECT_LE(endless.handedOut, 2u * 1024u);
}

// A pipe's text is handed on as it arrives: a number is read without waiting for more of the
// stream than the piece that holds it (here the first of 64 bytes).
TEST(NumberTokens, ReadsANumberWithoutWaitingForTheRestOfAPipe) {
    CountingSource pipe("12 ", 1 << 20);
    std::istream in(&pipe);
    NumberTokens numbers(in);
    std::uint32_t count = 0;
    EXPECT_EQ(numbers.read(count), Token::Read);
    EXPECT_EQ(count, 12u);
    EXPECT_EQ(pipe.handedOut, 64u);
}

// Texts shaped like triangulation files: mostly numbers in the usual forms, now and then one
// that is not.
std::string generatedNumbers(std::mt19937& generator, int count) {
    std::uniform_int_distribution<int> percent(0, 99);
    std::uniform_int_distribution<int> digitCount(1, 17);
    std::uniform_int_distribution<int> digit(0, 9);
    const char* const separators[] = {" ", "\n", "\r\n", "\t", "  "};
    std::string text;
    for (int k = 0; k < count; ++k) {
        if (percent(generator) < 30) {
            text += "-";
        } else if (percent(generator) < 5) {
            text += "+";
        }
        const int digits = digitCount(generator);
        const int pointAt = percent(generator) < 50 ? percent(generator) % (digits + 1) : -1;
        for (int d = 0; d < digits; ++d) {
            if (d == pointAt) {
                text += '.';
            }
            text += static_cast<char>('0' + digit(generator));
        }
        if (percent(generator) < 10) {
            text += percent(generator) < 50 ? "e" : "E-";
            text += std::to_string(percent(generator) % 45);
        }
        if (percent(generator) < 5) {
            text += "x\xcd,:/\xb9"[percent(generator) % 6];
        }
        text += separators[percent(generator) % 5];
    }
    return text;
}

TEST(NumberTokens, AgreesWithStreamExtractionOnGeneratedNumberRuns) {
    std::mt19937 generator(8);
    for (int round = 0; round < 300; ++round) {
        const std::string text = generatedNumbers(generator, 40);
        // Blocks just longer than the longest token split tokens at every place.
        for (const std::size_t blockSize : {25, 32, 101}) {
            ASSERT_EQ(test::differenceFromStreamExtraction<float>(text, blockSize), "") << text;
            ASSERT_EQ(test::differenceFromStreamExtraction<std::int32_t>(text, blockSize), "")
                << text;
            ASSERT_EQ(test::differenceFromStreamExtraction<std::uint32_t>(text, blockSize), "")
                << text;
        }
    }
    // A text longer than the first, small block, with the token at its end carried over into
    // the full-size block that follows.
    for (int round = 0; round < 4; ++round) {
        const std::string text = generatedNumbers(generator, 12000);
        ASSERT_GT(text.size(), std::size_t{1} << 16);
        ASSERT_EQ(test::differenceFromStreamExtraction<float>(text), "");
    }
}

// Decimals that lie on or right beside the midpoint between two floats, where a value
// rounded first to double and then to float could come out one float off.
TEST(NumberTokens, RoundsDecimalsNearFloatMidpointsAsStreamExtractionDoes) {
    // clang-format off
    std::vector<std::string> texts = {
        "16777217", "16777219", "33554434", "33554438", "-16777217", "16777217.0",
        "16777217.00001", "16777216.99999", "0.1", "0.2", "0.3", "3.4028235e38",
        "1.00000005960464477539", "1.0000000596046448", "1.000000059604645",
        "0.000000000000001", "999999999999999", "9999999999999999", "0.30000001192092896",
    };
    // clang-format on
    std::mt19937 generator(2026);
    std::uniform_int_distribution<std::uint32_t> mantissa(1u << 23, (1u << 24) - 1);
    std::uniform_int_distribution<int> exponent(-40, 20);
    std::uniform_int_distribution<int> decimals(0, 16);
    for (int k = 0; k < 20000; ++k) {
        const float below =
            std::ldexp(static_cast<float>(mantissa(generator)), exponent(generator));
        const float above = std::nextafter(below, 2 * below);
        const double midpoint = (static_cast<double>(below) + static_cast<double>(above)) / 2;
        char text[64];
        std::snprintf(text, sizeof text, "%.*f", decimals(generator), midpoint);
        texts.emplace_back(text);
        std::snprintf(text, sizeof text, "%.15g", midpoint);
        texts.emplace_back(text);
    }
    std::string all;
    for (const std::string& text : texts) {
        all += text + " ";
    }
    ASSERT_EQ(test::differenceFromStreamExtraction<float>(all), "");
}

} // namespace
} // namespace zel
