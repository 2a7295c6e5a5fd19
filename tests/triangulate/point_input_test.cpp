// Every input form the program accepts reads to the same points.
#include "triangulate/point_input.h"

#include <gtest/gtest.h>
#include <string>

namespace zel {
namespace {

struct InputForm {
    std::string name;
    std::string text;
};

// Test names say what the case is; the default would print its bytes.
void PrintTo(const InputForm& param, std::ostream* os) {
    *os << param.name;
}

class PointInputTest : public ::testing::TestWithParam<InputForm> {};

TEST_P(PointInputTest, ReadsTheSamePoints) {
    const std::vector<PlanePoint> points = parsePoints(GetParam().text, "points.txt");
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[0].x, 512000.5);
    EXPECT_EQ(points[0].y, 4123000.25);
    EXPECT_EQ(points[1].x, 512010.0);
    EXPECT_EQ(points[1].y, 4123020.0);
    EXPECT_EQ(points[2].x, -3.5);
    EXPECT_EQ(points[2].y, 100.0);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, PointInputTest,
    ::testing::Values(
        InputForm{"CountThenTriples", "3\n512000.5 4123000.25 7\n512010 4123020 8\n-3.5 1e2 9\n"},
        InputForm{"CountThenPairs", "3\r\n512000.5 4123000.25\r\n512010 4123020\r\n-3.5 100\r\n"},
        InputForm{"CountThenTriplesOnOneLine",
                  "3\n512000.5 4123000.25 7 512010 4123020 8 -3.5 1e2 9"},
        InputForm{"NumberLines", "512000.5 4123000.25 7 1\n\n512010\t4123020 8\n-3.5 +100 9\n"},
        InputForm{"CsvWithHeader", "x,y,z\n512000.5,4123000.25,7\n512010,4123020,8\n-3.5,100,9\n"},
        InputForm{"SemicolonCsv", "512000.5; 4123000.25;7\n512010;4123020;8\n-3.5;100;9\n"},
        InputForm{"CsvNamedColumns",
                  "id,height,Easting,Northing\nA,7,512000.5,4123000.25\nB,8,512010,4123020\n"
                  "C,9,-3.5,100\n"},
        InputForm{"QuotedCsvLatitudeFirst",
                  "\xEF\xBB\xBF\"name\",\"lat\",\"lon\"\n\"a\",4123000.25,512000.5\n"
                  "\"b\",4123020,512010\n\"c\",\"100\",\"-3.5\"\n"}),
    [](const auto& test) { return test.param.name; });

} // namespace
} // namespace zel
