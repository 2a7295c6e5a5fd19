#include "common/staged_output_file.h"
#include "extract/point_extraction.h"
#include "extract/point_file_exception.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <streambuf>
#include <string>
#include <utility>

namespace zel {
namespace {

std::string extract(const std::string& input) {
    std::istringstream points(input);
    std::ostringstream out;
    extractPoints(points, "pts.txt", out, "out.txt");
    return out.str();
}

std::string readFailure(const std::string& input) {
    std::istringstream points(input);
    std::ostringstream out;
    try {
        extractPoints(points, "pts.txt", out, "out.txt");
    } catch (const PointFileException& failure) {
        return failure.what();
    }
    return "no failure";
}

TEST(PointExtractionTest, WritesCountAndFirstTwoCoordinates) {
    EXPECT_EQ(extract("2\n1 2 3\n-4 5.5 6\n"), "2\n1 2\n-4 5.5\n");
    // Line structure of the input does not matter.
    EXPECT_EQ(extract("2 1\n2\n3 -4\t5.5 6"), "2\n1 2\n-4 5.5\n");

    std::istringstream points("1 7 8 9");
    std::ostringstream out;
    EXPECT_EQ(extractPoints(points, "pts.txt", out, "out.txt"), 1u);
}

TEST(PointExtractionTest, CoordinatesKeepSixSignificantDigits) {
    EXPECT_EQ(extract("1 1.23456789 12345.678 0"), "1\n1.23457 12345.7\n");
    EXPECT_EQ(extract("1 1000000 0.00001 0"), "1\n1e+06 1e-05\n");
    EXPECT_EQ(extract("1 100000 0.5 0"), "1\n100000 0.5\n");
    EXPECT_EQ(extract("1 -0 1e-40 0"), "1\n-0 9.99995e-41\n");
    EXPECT_EQ(extract("1 3.4028234e38 -1.17549435e-38 0"), "1\n3.40282e+38 -1.17549e-38\n");
}

TEST(PointExtractionTest, CoordinatesAreFormattedAsTheStreamFormatsAFloat) {
    std::mt19937 generator(20261208);
    std::uniform_int_distribution<std::uint32_t> bits;
    for (int i = 0; i < 20000; ++i) {
        // Any finite float, from random bit patterns.
        float value = 0;
        do {
            const std::uint32_t pattern = bits(generator);
            static_assert(sizeof pattern == sizeof value);
            std::memcpy(&value, &pattern, sizeof value);
        } while (!std::isfinite(value));
        std::ostringstream exact;
        exact.precision(9);
        exact << value;
        std::ostringstream expected;
        expected << "1\n" << value << ' ' << value << '\n';
        ASSERT_EQ(extract("1 " + exact.str() + ' ' + exact.str() + " 0"), expected.str());
    }
}

TEST(PointExtractionTest, CountIsWrittenAsTheValueRead) {
    EXPECT_EQ(extract("0002 1 2 3 4 5 6"), "2\n1 2\n4 5\n");
    EXPECT_EQ(extract("0"), "0\n");
}

TEST(PointExtractionTest, NothingAfterTheLastPointIsRead) {
    std::istringstream points("0 junk");
    std::ostringstream out;
    extractPoints(points, "pts.txt", out, "out.txt");
    std::string rest;
    points >> rest;
    EXPECT_EQ(rest, "junk");

    std::istringstream more("1 1 2 3 4 5 6");
    extractPoints(more, "pts.txt", out, "out.txt");
    int next = 0;
    more >> next;
    EXPECT_EQ(next, 4);
}

TEST(PointExtractionTest, CountProblemsAreNamed) {
    const std::string prefix = "Cannot read the point count in file: pts.txt ";
    EXPECT_EQ(readFailure(""), prefix + "(end of file)");
    EXPECT_EQ(readFailure(" \n\t"), prefix + "(end of file)");
    EXPECT_EQ(readFailure("x3"), prefix + "(not a number)");
    EXPECT_EQ(readFailure("-1 1 2 3"), prefix + "(negative)");
    EXPECT_EQ(readFailure("4294967296"), prefix + "(out of range)");
    // A count is a plain unsigned integer, and a whole token.
    for (const char* notPlain : {"+2 1 2 3", "3.0 1 2 3", "0.3 6.1 870", "2x 1 2 3"}) {
        EXPECT_EQ(readFailure(notPlain), prefix + "(not a number)") << notPlain;
    }
    EXPECT_EQ(readFailure(std::string(100000, '7')), prefix + "(too long)");
}

TEST(PointExtractionTest, CoordinateProblemsNameThePointAndAxis) {
    const std::string in = " in file: pts.txt ";
    EXPECT_EQ(readFailure("4294967295"),
              "Cannot read the x coordinate of point 1 of 4294967295" + in + "(end of file)");
    EXPECT_EQ(readFailure("2 1 2 3 4 y 6"),
              "Cannot read the y coordinate of point 2 of 2" + in + "(not a number)");
    EXPECT_EQ(readFailure("1 1 2"),
              "Cannot read the z coordinate of point 1 of 1" + in + "(end of file)");
    EXPECT_EQ(readFailure("1 1 2 1e39"),
              "Cannot read the z coordinate of point 1 of 1" + in + "(out of range)");
    EXPECT_EQ(readFailure("1 1e 2 3"),
              "Cannot read the x coordinate of point 1 of 1" + in + "(not a number)");
    EXPECT_EQ(readFailure("1 nan 2 3"),
              "Cannot read the x coordinate of point 1 of 1" + in + "(not a number)");
    EXPECT_EQ(readFailure("1 1.2.3 2"),
              "Cannot read the x coordinate of point 1 of 1" + in + "(not a number)");
}

// A stream buffer that fails on use: reading past `good`, or writing.
class FailingBuffer : public std::streambuf {
public:
    explicit FailingBuffer(std::string good = "") : good_(std::move(good)) {
        setg(good_.data(), good_.data(), good_.data() + good_.size());
    }

protected:
    int_type underflow() override { throw std::ios_base::failure("device gone"); }
    int_type overflow(int_type) override { return traits_type::eof(); }

private:
    std::string good_;
};

TEST(PointExtractionTest, ReadErrorIsNamed) {
    FailingBuffer buffer("2 1 2 ");
    std::istream points(&buffer);
    std::ostringstream out;
    try {
        extractPoints(points, "pts.txt", out, "out.txt");
        FAIL() << "no failure";
    } catch (const PointFileException& failure) {
        EXPECT_STREQ(failure.what(),
                     "Cannot read the z coordinate of point 1 of 2 in file: pts.txt (read error)");
    }
}

TEST(PointExtractionTest, WriteFailureStopsTheReading) {
    std::istringstream points("1 1 2 3");
    FailingBuffer sink;
    std::ostream out(&sink);
    try {
        extractPoints(points, "pts.txt", out, "out.txt");
        FAIL() << "no failure";
    } catch (const OutputFileException& failure) {
        EXPECT_STREQ(failure.what(), "Cannot write file: out.txt");
    }
    float x = 0;
    points >> x;
    EXPECT_EQ(x, 1.0f);
}

} // namespace
} // namespace zel
