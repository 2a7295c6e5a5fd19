#include "piece_buffer.h"
#include "tests/common/stream_extraction_reference.h"
#include "viewer/triangulation_format_exception.h"
#include "viewer/triangulation_reader.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <ios>
#include <locale>
#include <random>
#include <sstream>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace zel {
namespace {

constexpr const char* square = "4\n0 0\n10 0\n10 10\n0 10\n2\n0 1 2\n0 2 3\n";

class TriangulationReaderTest : public ::testing::Test {
protected:
    void read(const std::string& text) {
        std::istringstream in(text);
        model = readTriangulation(in);
    }

    // The failure text of reading `text`.
    static std::string failureOf(const std::string& text) {
        std::istringstream in(text);
        try {
            readTriangulation(in);
        } catch (const TriangulationFormatException& bad) {
            return bad.what();
        }
        return "no failure";
    }

    std::vector<std::vector<std::int32_t>> triangleIndices() const {
        std::vector<std::vector<std::int32_t>> all;
        for (const Triangle& triangle : model.triangles) {
            all.push_back({triangle.indices[0], triangle.indices[1], triangle.indices[2]});
        }
        return all;
    }

    std::vector<std::vector<float>> pointCoordinates() const {
        std::vector<std::vector<float>> all;
        for (const Point2& point : model.points) {
            all.push_back({point.x, point.y});
        }
        return all;
    }

    TerrainModel model;
};

using Indices = std::vector<std::vector<std::int32_t>>;
using Coordinates = std::vector<std::vector<float>>;

TEST_F(TriangulationReaderTest, ReadsPointsAndTrianglesInFileOrderWithTheirCircles) {
    read(square);
    EXPECT_EQ(pointCoordinates(), (Coordinates{{0, 0}, {10, 0}, {10, 10}, {0, 10}}));
    EXPECT_EQ(triangleIndices(), (Indices{{0, 1, 2}, {0, 2, 3}}));
    for (const Triangle& triangle : model.triangles) {
        EXPECT_EQ(triangle.circumcircle.centre.x, 5.0f);
        EXPECT_EQ(triangle.circumcircle.centre.y, 5.0f);
        EXPECT_EQ(triangle.circumcircle.radius, static_cast<float>(std::sqrt(50.0)));
    }
}

TEST_F(TriangulationReaderTest, LineStructureCarriesNoMeaning) {
    for (const std::string text : {"4 0 0 10 0 10 10 0 10 2 0 1 2 0 2 3",
                                   "4\r\n0 0\r\n10 0\r\n10 10\r\n0 10\r\n2\r\n0 1 2\r\n0 2 3\r\n",
                                   "\t4\n\n0\t0 10\n0 10 10 0\n10\n2 0\n1\n2 0 2\n3",
                                   "4 0 0 10 0 10 10 0 10\v2\f0 1 2 0 2 3\n\n\n"}) {
        SCOPED_TRACE(text);
        read(text);
        EXPECT_EQ(pointCoordinates(), (Coordinates{{0, 0}, {10, 0}, {10, 10}, {0, 10}}));
        ASSERT_EQ(model.triangles.size(), 2u);
        EXPECT_EQ(model.triangles.back().indices[2], 3);
    }
}

TEST_F(TriangulationReaderTest, TwoZeroCountsGiveAnEmptyTerrain) {
    read("0 0");
    EXPECT_TRUE(model.points.empty());
    EXPECT_TRUE(model.triangles.empty());
}

TEST_F(TriangulationReaderTest, PointsWithoutTrianglesAreRead) {
    read("2 1 2 3 4 0\n");
    EXPECT_EQ(pointCoordinates(), (Coordinates{{1, 2}, {3, 4}}));
    EXPECT_TRUE(model.triangles.empty());
}

TEST_F(TriangulationReaderTest, AcceptsTheNumberFormsOfStreamExtraction) {
    read("3  1e2 -3.5  +2 .5  7. 1E-2  1  +0 -0 2");
    EXPECT_EQ(pointCoordinates(), (Coordinates{{100, -3.5f}, {2, 0.5f}, {7, 0.01f}}));
    EXPECT_EQ(triangleIndices(), (Indices{{0, 0, 2}}));
}

TEST_F(TriangulationReaderTest, TinyCoordinatesUnderflowInsteadOfFailing) {
    read("1 1e-40 1e-50 0");
    ASSERT_EQ(model.points.size(), 1u);
    EXPECT_GT(model.points[0].x, 0.0f);
    EXPECT_EQ(model.points[0].y, 0.0f);
}

TEST_F(TriangulationReaderTest, WhateverFollowsTheLastTriangleIsIgnored) {
    EXPECT_EQ(failureOf("0 0 this is not a number"), "no failure");
    EXPECT_EQ(failureOf("3 0 0 1 0 0 1 1 0 2 1 -1 99 x 1e"), "no failure");
    EXPECT_EQ(failureOf(std::string(square) + std::string("\0\xff garbage", 10)), "no failure");
}

TEST_F(TriangulationReaderTest, UnreadableCountsAreRejected) {
    EXPECT_EQ(failureOf(""), "Bad triangulation file: the file ends before the point count");
    EXPECT_EQ(failureOf(" \r\n\t "),
              "Bad triangulation file: the file ends before the point count");
    EXPECT_EQ(failureOf("points"), "Bad triangulation file: the point count cannot be read");
    EXPECT_EQ(failureOf("-"), "Bad triangulation file: the point count cannot be read");
    EXPECT_EQ(failureOf("4294967296 0"), "Bad triangulation file: the point count cannot be read");
    for (const char* notPlain : {"3.0", "-1", "+3", "3e0", "0.3"}) {
        EXPECT_EQ(failureOf(std::string(notPlain) + " 0 0 1 1 2 2 0"),
                  "Bad triangulation file: the point count cannot be read")
            << notPlain;
    }
    EXPECT_EQ(failureOf("1 2 3"),
              "Bad triangulation file: the file ends before the triangle count");
    EXPECT_EQ(failureOf("1 2 3 \n"),
              "Bad triangulation file: the file ends before the triangle count");
    EXPECT_EQ(failureOf("1 2 3 x"), "Bad triangulation file: the triangle count cannot be read");
    EXPECT_EQ(failureOf("1 2 3 4294967296"),
              "Bad triangulation file: the triangle count cannot be read");
}

TEST_F(TriangulationReaderTest, UnreadableOrMissingPointsAreRejected) {
    EXPECT_EQ(failureOf("2 0 0 1"),
              "Bad triangulation file: the file ends before point 2 of 2 is complete");
    EXPECT_EQ(failureOf("2 0 0"),
              "Bad triangulation file: the file ends before point 2 of 2 is complete");
    EXPECT_EQ(failureOf("2 0 0 1 y 0"), "Bad triangulation file: point 2 of 2 cannot be read");
    EXPECT_EQ(failureOf("2 0 0 x 1 0"), "Bad triangulation file: point 2 of 2 cannot be read");
    for (const char* bad :
         {"1e39", "-1e39", "3.4028236e38", "nan", "inf", "1e", "-", "e5", "0x1p3"}) {
        EXPECT_EQ(failureOf(std::string("3 0 0 ") + bad + " 1 0 1 0"),
                  "Bad triangulation file: point 2 of 3 cannot be read")
            << bad;
    }
    // A number glued to other text is refused whole, not read as its prefix.
    for (const char* glued : {"1,5", "1.2.3", "2x", "1e5e3"}) {
        EXPECT_EQ(failureOf(std::string("1 ") + glued + " 2 0"),
                  "Bad triangulation file: point 1 of 1 cannot be read")
            << glued;
    }
}

TEST_F(TriangulationReaderTest, UnreadableOrMissingTrianglesAreRejected) {
    const std::string threePoints = "3 0 0 1 0 0 1 ";
    EXPECT_EQ(failureOf(threePoints + "2 0 1 2"),
              "Bad triangulation file: the file ends before triangle 2 of 2 is complete");
    EXPECT_EQ(failureOf(threePoints + "1 0 1"),
              "Bad triangulation file: the file ends before triangle 1 of 1 is complete");
    EXPECT_EQ(failureOf(threePoints + "1 0 x 2"),
              "Bad triangulation file: triangle 1 of 1 cannot be read");
    EXPECT_EQ(failureOf(threePoints + "2 0 1 2 0 1 2147483648"),
              "Bad triangulation file: triangle 2 of 2 cannot be read");
    EXPECT_EQ(failureOf(threePoints + "1 0 1 -2147483649"),
              "Bad triangulation file: triangle 1 of 1 cannot be read");
    EXPECT_EQ(failureOf(threePoints + "1 0 1 .5"),
              "Bad triangulation file: triangle 1 of 1 cannot be read");
}

TEST_F(TriangulationReaderTest, IndicesOutsideThePointListAreRejected) {
    const std::string threePoints = "3 0 0 1 0 0 1 ";
    EXPECT_EQ(
        failureOf(threePoints + "1 0 1 3"),
        "Bad triangulation file: triangle 1 of 1 names vertex index 3, but there are 3 points "
        "(indices 0 to 2)");
    EXPECT_EQ(
        failureOf(threePoints + "2 0 1 2 0 -1 2"),
        "Bad triangulation file: triangle 2 of 2 names vertex index -1, but there are 3 points "
        "(indices 0 to 2)");
    EXPECT_EQ(failureOf(threePoints + "1 -2147483648 1 2"),
              "Bad triangulation file: triangle 1 of 1 names vertex index -2147483648, but there "
              "are 3 points (indices 0 to 2)");
    EXPECT_EQ(failureOf("1 5 5 1 0 0 1"),
              "Bad triangulation file: triangle 1 of 1 names vertex index 1, but there is 1 point "
              "(index 0)");
    EXPECT_EQ(
        failureOf("0 1 0 0 0"),
        "Bad triangulation file: triangle 1 of 1 names vertex index 0, but there are no points");
    // An index is checked as soon as it has been read, before the rest of its triangle.
    EXPECT_EQ(
        failureOf(threePoints + "1 7 x"),
        "Bad triangulation file: triangle 1 of 1 names vertex index 7, but there are 3 points "
        "(indices 0 to 2)");
}

TEST_F(TriangulationReaderTest, NamesTheTriangleAndIndexInALargerFile) {
    std::ostringstream text;
    text << "50\n";
    for (int i = 0; i < 50; ++i) {
        text << i << ' ' << i * i % 7 << '\n';
    }
    text << "40\n";
    for (int t = 1; t <= 40; ++t) {
        text << "0 1 " << (t == 12 ? 57 : t + 1) << '\n';
    }
    EXPECT_EQ(failureOf(text.str()),
              "Bad triangulation file: triangle 12 of 40 names vertex index 57, but there are 50 "
              "points (indices 0 to 49)");
}

TEST_F(TriangulationReaderTest, HugeCountsInATinyFileFailWhereTheFileEnds) {
    EXPECT_EQ(failureOf("4000000000\n0 0\n1 1\n"),
              "Bad triangulation file: the file ends before point 3 of 4000000000 is complete");
    EXPECT_EQ(failureOf("3 0 0 1 0 0 1 4294967295 0 1 2"),
              "Bad triangulation file: the file ends before triangle 2 of 4294967295 is complete");
}

// Hands out its text, then fails as a disk that cannot be read does.
struct FailingBuffer : std::streambuf {
    explicit FailingBuffer(std::string start) : text(std::move(start)) {
        setg(text.data(), text.data(), text.data() + text.size());
    }
    int_type underflow() override { throw std::ios_base::failure("Input/output error"); }
    std::string text;
};

TEST_F(TriangulationReaderTest, AReadErrorIsAFormatFailure) {
    // The text breaks off inside a number, which must not be taken for the whole number.
    FailingBuffer failing("4\n0 0\n10 0\n1");
    std::istream in(&failing);
    try {
        readTriangulation(in);
        FAIL() << "no failure";
    } catch (const TriangulationFormatException& bad) {
        EXPECT_EQ(bad.problem, "the file cannot be read to its end (a read error)");
    }
}

// The expected failure for a prefix holding `tokens` whole or partial tokens of the square.
std::string expectedFailureAfter(std::size_t tokens) {
    const std::string prefix = "Bad triangulation file: the file ends before ";
    if (tokens == 0) {
        return prefix + "the point count";
    }
    if (tokens < 1 + 8) {
        return prefix + "point " + std::to_string((tokens - 1) / 2 + 1) + " of 4 is complete";
    }
    if (tokens == 9) {
        return prefix + "the triangle count";
    }
    if (tokens < 10 + 6) {
        return prefix + "triangle " + std::to_string((tokens - 10) / 3 + 1) + " of 2 is complete";
    }
    return "no failure";
}

TEST_F(TriangulationReaderTest, EveryTruncatedPrefixFailsWhereItEnds) {
    // Every token of the square reads as a number however it is cut, so a prefix fails
    // exactly where its tokens run out.
    const std::string whole = square;
    for (std::size_t length = 0; length <= whole.size(); ++length) {
        const std::string prefix = whole.substr(0, length);
        std::istringstream tokens(prefix);
        std::size_t count = 0;
        for (std::string token; tokens >> token;) {
            ++count;
        }
        EXPECT_EQ(failureOf(prefix), expectedFailureAfter(count)) << "length " << length;
    }
}

// A locale that writes 1.234,5: decimal comma and grouped thousands.
struct CommaDecimals : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

TEST_F(TriangulationReaderTest, ReadsInTheClassicLocaleAndDecimalWhateverTheStreamSays) {
    const std::locale commaLocale(std::locale::classic(), new CommaDecimals);
    std::istringstream in("11 1.5 2 10 0.25 1000 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n1 1 0 10");
    in.imbue(commaLocale);
    in >> std::hex;
    model = readTriangulation(in);

    ASSERT_EQ(model.points.size(), 11u);
    EXPECT_EQ(model.points[0].x, 1.5f);
    EXPECT_EQ(model.points[1].y, 0.25f);
    EXPECT_EQ(model.points[2].x, 1000.0f);
    EXPECT_EQ(triangleIndices(), (Indices{{1, 0, 10}}));
    // The caller's settings are back.
    EXPECT_EQ(in.getloc(), commaLocale);
    EXPECT_TRUE(in.flags() & std::ios_base::hex);
}

TEST_F(TriangulationReaderTest, LeavesTheStreamsLocaleAloneOnFailure) {
    const std::locale commaLocale(std::locale::classic(), new CommaDecimals);
    std::istringstream in("x");
    in.imbue(commaLocale);
    EXPECT_THROW(readTriangulation(in), TriangulationFormatException);
    EXPECT_EQ(in.getloc(), commaLocale);
}

TEST(TriangulationFormatException, NamesTheFileOnceItIsKnown) {
    const TriangulationFormatException bad("point 3 of 10 cannot be read");
    EXPECT_EQ(std::string(bad.what()), "Bad triangulation file: point 3 of 10 cannot be read");
    const TriangulationFormatException located = bad.inFile("hills.txt");
    EXPECT_EQ(std::string(located.what()),
              "Bad triangulation file \"hills.txt\": point 3 of 10 cannot be read");
    EXPECT_EQ(located.problem, bad.problem);
    const std::exception& general = located;
    EXPECT_EQ(std::string(general.what()),
              "Bad triangulation file \"hills.txt\": point 3 of 10 cannot be read");
}

// What stream extraction makes of a triangulation text.
struct ExtractedTriangulation {
    std::vector<Point2> points;
    std::vector<std::int32_t> indices;
};

ExtractedTriangulation extractTriangulation(const std::string& text) {
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    ExtractedTriangulation result;
    std::uint32_t count = 0;
    in >> count;
    for (std::uint32_t k = 0; k < count; ++k) {
        Point2 point{0.0f, 0.0f};
        in >> point.x >> point.y;
        result.points.push_back(point);
    }
    in >> count;
    for (std::uint32_t k = 0; k < 3 * count; ++k) {
        std::int32_t index = 0;
        in >> index;
        result.indices.push_back(index);
    }
    EXPECT_FALSE(in.fail()) << "the text must be a well-formed triangulation";
    return result;
}

// A warped, jittered grid with every number form stream extraction reads, written in
// varying layouts, followed by `trailer`.
std::string generatedTriangulation(std::uint32_t side, const std::string& trailer) {
    std::mt19937 generator(side);
    std::uniform_real_distribution<double> jitter(-0.5, 0.5);
    std::uniform_int_distribution<int> form(0, 9);
    const char* const separators[] = {" ", "\n", "\r\n", "\t", "   "};
    std::string text = std::to_string(side * side) + "\n";
    char number[64];
    for (std::uint32_t k = 0; k < 2 * side * side; ++k) {
        const double value = (k / 2 % side) * 3.25 + jitter(generator) * 1e3;
        const char* const formats[] = {"%+.3e", "%.0f", "%.17g", "%.6f"};
        const int choice = form(generator);
        if (choice < 4) {
            std::snprintf(number, sizeof number, formats[choice], value);
        } else if (choice == 4) {
            std::snprintf(number, sizeof number, "%.9G", value * 1e-30);
        } else {
            std::snprintf(number, sizeof number, "%.6f", value);
        }
        text += number;
        text += separators[form(generator) % 5];
    }
    const std::uint32_t cells = (side - 1) * (side - 1);
    text += std::to_string(2 * cells) + "\n";
    for (std::uint32_t row = 0; row + 1 < side; ++row) {
        for (std::uint32_t column = 0; column + 1 < side; ++column) {
            const std::uint32_t i = row * side + column;
            text += std::to_string(i) + " " + std::to_string(i + side) + " +" +
                    std::to_string(i + 1) + separators[form(generator) % 5];
            text += std::to_string(i + 1) + " " + std::to_string(i + side) + " 00" +
                    std::to_string(i + side + 1) + "\n";
        }
    }
    return text + trailer;
}

class ExactReadingTest : public TriangulationReaderTest {
protected:
    // Reads all of `in` and expects exactly what stream extraction reads from `text`.
    void expectReadAsStreamExtractionDoes(std::istream& in, const std::string& text) {
        const ExtractedTriangulation expected = extractTriangulation(text);
        const TerrainModel fresh = readTriangulation(in);
        const std::vector<Point2>& points = fresh.points;
        ASSERT_EQ(points.size(), expected.points.size());
        EXPECT_EQ(
            std::memcmp(points.data(), expected.points.data(), points.size() * sizeof(Point2)), 0);
        std::vector<std::int32_t> indices;
        for (const Triangle& triangle : fresh.triangles) {
            indices.insert(indices.end(), triangle.indices, triangle.indices + 3);
        }
        EXPECT_EQ(indices, expected.indices);
        EXPECT_FALSE(in.fail());
    }
};

TEST_F(ExactReadingTest, ReadsEveryNumberAsStreamExtractionDoes) {
    for (const std::string trailer : {"", "\n", " 7 trailing words", "x"}) {
        const std::string text = generatedTriangulation(12, trailer);
        SCOPED_TRACE("trailer \"" + trailer + "\"");
        std::istringstream whole(text);
        expectReadAsStreamExtractionDoes(whole, text);
        for (const std::vector<std::size_t>& sizes :
             {std::vector<std::size_t>{1}, {3, 7, 2}, {8, 9}, {4096}}) {
            test::PieceBuffer pieces(text, sizes);
            std::istream in(&pieces);
            expectReadAsStreamExtractionDoes(in, text);
        }
    }
}

TEST_F(ExactReadingTest, ReadsAFileAcrossTheFileBuffersRefills) {
    const std::string text = generatedTriangulation(60, " end");
    ASSERT_GT(text.size(), 4u * 8192u);
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() /
        ("triangulation_reader_test_" + std::to_string(::getpid()) + ".txt");
    std::ofstream(file, std::ios::binary) << text;
    {
        std::ifstream in(file, std::ios::binary);
        expectReadAsStreamExtractionDoes(in, text);
    }
    {
        char smallBuffer[61];
        std::ifstream in;
        in.rdbuf()->pubsetbuf(smallBuffer, sizeof smallBuffer);
        in.open(file, std::ios::binary);
        expectReadAsStreamExtractionDoes(in, text);
    }
    std::filesystem::remove(file);
}

} // namespace
} // namespace zel
