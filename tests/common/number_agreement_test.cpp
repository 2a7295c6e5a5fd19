// The three programs' readers give a coordinate token the same value, or all refuse it.
#include "common/number_token.h"
#include "extract/point_extraction.h"
#include "triangulate/point_input.h"
#include "viewer/triangulation_reader.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace zel {
namespace {

// Planor's value, as it writes it: the float with six significant digits.
std::optional<std::string> planorReads(const std::string& token) {
    std::istringstream in("1\n" + token + " 0 0\n");
    std::ostringstream out;
    try {
        extractPoints(in, "in.txt", out, "out.txt");
    } catch (const std::exception&) {
        return std::nullopt;
    }
    const std::string text = out.str();
    return text.substr(2, text.find(' ', 2) - 2);
}

std::optional<float> viewerReads(const std::string& token) {
    std::istringstream in("1\n" + token + " 0\n0\n");
    try {
        return readTriangulation(in).points.at(0).x;
    } catch (const TriangulationFormatException&) {
        return std::nullopt;
    }
}

std::optional<double> triangulateReads(const std::string& token) {
    try {
        return parsePoints("1\n" + token + " 0\n", "in.txt").at(0).x;
    } catch (const PointInputException&) {
        return std::nullopt;
    }
}

std::string asPlanorWrites(float value) {
    char text[32];
    return {text,
            std::to_chars(text, text + sizeof text, value, std::chars_format::general, 6).ptr};
}

TEST(NumberAgreementTest, EveryReaderGivesATokenTheSameValueOrRefusesIt) {
    struct Case {
        const char* token;
        std::optional<double> value; // none: refused
    };
    // The float readers hold the value rounded to float; 1e-50 is 0 there.
    const Case cases[] = {
        {"1.5", 1.5},      {"-0", -0.0},     {"+2", 2.0},      {".5", 0.5},
        {"5.", 5.0},       {"2.5E-1", 0.25}, {"007", 7.0},     {"1e-400", 0.0},
        {"-1e-400", -0.0}, {"1e-50", 1e-50}, {"1e-40", 1e-40}, {"1e999", std::nullopt},
        {"inf", {}},       {"-inf", {}},     {"nan", {}},      {"1.2.3", {}},
        {"12abc", {}},     {"+-1", {}},      {"++1", {}},      {"--1", {}},
        {"0x10", {}},      {"1,5", {}},      {"e5", {}},       {"1e", {}},
        {"+", {}},         {"-", {}},        {".", {}},        {"1e5e3", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.token);
        const std::optional<std::string> planor = planorReads(c.token);
        const std::optional<float> viewer = viewerReads(c.token);
        const std::optional<double> triangulate = triangulateReads(c.token);
        ASSERT_EQ(planor.has_value(), c.value.has_value());
        ASSERT_EQ(viewer.has_value(), c.value.has_value());
        ASSERT_EQ(triangulate.has_value(), c.value.has_value());
        if (c.value) {
            const float single = static_cast<float>(*c.value);
            EXPECT_EQ(*planor, asPlanorWrites(single));
            EXPECT_EQ(*viewer, single);
            EXPECT_EQ(std::signbit(*viewer), std::signbit(single));
            EXPECT_EQ(*triangulate, *c.value);
            EXPECT_EQ(std::signbit(*triangulate), std::signbit(*c.value));
        }
    }
}

// Short decimals are read by a quick path of their own; it must give the C library's values
// and stop where from_chars does, within its limits (15 digits, 22 places), beyond them, and on
// a float midpoint (2^24 + 1) and next to one (the nearest double to 7.67102313041687 is a
// midpoint, the decimal is not).
TEST(NumberAgreementTest, DecimalsReadAsTheCLibraryReadsThem) {
    std::mt19937_64 random(3);
    std::vector<std::string> tokens = {"16777217",
                                       "7.67102313041687",
                                       "999999999999999",
                                       "9999999999999999",
                                       "0.0000000000000000000001",
                                       "0.00000000000000000000001",
                                       "7.e",
                                       "-.25",
                                       "3.5.",
                                       "1.5e2",
                                       "-0.000"};
    for (int k = 0; k < 100000; ++k) {
        // Up to 15 digits with a point anywhere among them, maybe negative.
        const std::string number = std::to_string(random() % (std::uint64_t{1} << (random() % 50)));
        const std::size_t cut = random() % (number.size() + 1);
        std::string token = random() % 2 ? "-" : "";
        token.append(number, 0, cut).append(1, '.').append(number, cut);
        tokens.push_back(token);
    }
    for (const std::string& token : tokens) {
        SCOPED_TRACE(token);
        const char* const last = token.data() + token.size();
        char* expectedEnd = nullptr;
        float single = 0.0f;
        const NumberScan singleScan = scanNumber(token.data(), last, single);
        const float expectedSingle = std::strtof(token.c_str(), &expectedEnd);
        ASSERT_EQ(singleScan.end - token.data(), expectedEnd - token.c_str());
        ASSERT_EQ(single, expectedSingle);
        ASSERT_EQ(std::signbit(single), std::signbit(expectedSingle));
        double wide = 0.0;
        const NumberScan wideScan = scanNumber(token.data(), last, wide);
        ASSERT_EQ(wideScan.end, singleScan.end);
        ASSERT_EQ(wide, std::strtod(token.c_str(), nullptr));
    }
}

} // namespace
} // namespace zel
