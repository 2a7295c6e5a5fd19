// Every input form the program accepts reads to the same points; the header, quoting,
// comment and column rules give the points or the message they should.
#include "triangulate/point_input.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

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

// Headers, quoting, comments and geographic columns: the points read, or the message.
struct Reading {
    std::string name;
    std::string text;
    std::string problem; // the message after "in.csv:", or empty when points are read
    std::vector<PlanePoint> points = {};
    bool geographic = false;
    std::vector<double> heights = {}; // when given, read with the heights kept
};

void PrintTo(const Reading& param, std::ostream* os) {
    *os << param.name;
}

class ReadingTest : public ::testing::TestWithParam<Reading> {};

TEST_P(ReadingTest, GivesThePointsOrSaysWhatIsWrong) {
    const Reading& c = GetParam();
    if (!c.problem.empty()) {
        try {
            parsePointSet(c.text, "in.csv");
            ADD_FAILURE() << "accepted";
        } catch (const PointInputException& refused) {
            EXPECT_EQ(refused.what(), "in.csv:" + c.problem);
        }
        return;
    }
    const Heights kept = c.heights.empty() ? Heights::Dropped : Heights::Kept;
    const PointSet set = parsePointSet(c.text, "in.csv", kept);
    EXPECT_EQ(set.heights, c.heights);
    EXPECT_EQ(set.geographic, c.geographic);
    ASSERT_EQ(set.points.size(), c.points.size());
    for (std::size_t i = 0; i < c.points.size(); ++i) {
        EXPECT_EQ(set.points[i].x, c.points[i].x) << "point " << i;
        EXPECT_EQ(set.points[i].y, c.points[i].y) << "point " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ReadingTest,
    ::testing::Values(
        Reading{"CsvWithoutHeaderKeepsItsFirstPoint",
                "100,200,bench A\n300,400,bench B\n",
                "",
                {{100, 200}, {300, 400}}},
        Reading{"CsvFirstLinePartlyNumbers", "x,200,a\n1,2,b\n",
                "1: field 1: \"x\" is not a number"},
        Reading{"CsvHeaderWithEmptyFirstName", ",x,y\n0,1,2\n", "", {{1, 2}}},
        Reading{"CsvQuotedDelimiter", "name,x,y\n\"Smith, J\",100,200\n", "", {{100, 200}}},
        Reading{"CsvDoubledQuotesAndLineEndInQuotes",
                "name;x;y\n\"say \"\"hi\"\";\nthere\";1;2\n\" \"\"b\"\" \";3;4\n",
                "",
                {{1, 2}, {3, 4}}},
        Reading{"CsvLinesCountedAcrossQuotedLineEnds", "name,x,y\n\"a\nb\",1,2\nc,3,z\n",
                "4: field 3: \"z\" is not a number"},
        Reading{"CsvUnclosedQuote", "x,y\n1,2\n\"3,4\n",
                "3: field 1: the quote that opens it is never closed"},
        Reading{"CsvTextAfterClosingQuote", "x,y\n\"1\"2,3\n",
                "2: field 1: more than whitespace follows its closing quote"},
        Reading{"CsvCommentsOnlyBeforeTheRecords", "# survey, 2024\nx,y\n1,2\n#3,4\n",
                "4: field 1: \"#3\" is not a number"},
        Reading{"XyzHeaderAndComments",
                "# exported\nX Y Z\n1 2 3\n  # a note\n4 5 6\n",
                "",
                {{1, 2}, {4, 5}}},
        Reading{"XyzHeaderNamingTheColumns", "z northing easting\n1 2 3\n", "", {{3, 2}}},
        Reading{"XyzFirstLinePartlyNumbers", "x 2 3\n1 2 3\n", "1: \"x\" is not a number"},
        Reading{"CountedWithComments",
                "# three\n3\n1 2\n# middle\n3 4\n5 6\n",
                "",
                {{1, 2}, {3, 4}, {5, 6}}},
        Reading{"LongitudeLatitude", "LONGITUDE;Latitude\n7.5;46\n", "", {{7.5, 46}}, true},
        Reading{"LngLatAfterOtherColumns", "id,lat,lng\na,46,7.5\n", "", {{7.5, 46}}, true},
        Reading{"LongLatInXyz", "long lat h\n7.5 46 300\n", "", {{7.5, 46}}, true},
        Reading{"XYBeforeLonLat", "lon,lat,x,y\n7,46,1,2\n", "", {{1, 2}}, false},
        // Heights: the third of a triple, a named column anywhere, else the one after x and y.
        Reading{"HeightsOfTriples", "2\n1 2 3 4 5 6\n", "", {{1, 2}, {4, 5}}, false, {3, 6}},
        Reading{"HeightNamedFirst", "ALT;lon;lat\n300;7.5;46\n", "", {{7.5, 46}}, true, {300}},
        Reading{
            "HeightAfterLatLon", "id,lat,lon,mag\na,46,7.5,4.1\n", "", {{7.5, 46}}, true, {4.1}},
        Reading{"HeightOfCsvWithoutHeader", "1,2,3,x\n", "", {{1, 2}}, false, {3}},
        // Lines ended by a lone carriage return, as old Mac tools write them.
        Reading{"CountedWithLoneReturns", "3\r0 0\r1 0\r0 1\r", "", {{0, 0}, {1, 0}, {0, 1}}},
        Reading{"XyzWithLoneReturns", "X Y\r0 0\r\r1 0\r", "", {{0, 0}, {1, 0}}},
        Reading{"CsvWithLoneReturns", "x,y\r0,0\r1,0\r0,1\r", "", {{0, 0}, {1, 0}, {0, 1}}},
        Reading{
            "CsvQuotedFieldBeforeALoneReturn", "n,x,y\r\"a\",1,2\r\"b\",3,4", "", {{1, 2}, {3, 4}}},
        Reading{"CsvLinesCountedAtLoneReturns", "x,y\r1,2\r\n3,z\r",
                "3: field 2: \"z\" is not a number"},
        // A count that shares its line with the points is refused, not taken as a point;
        // a table whose first x happens to count the numbers after it is read as a table.
        Reading{"CountAndPointsOnOneLine", "3 0 0 1 0 0 1\n",
                "1: the point count 3 shares its line with the numbers that follow; the count "
                "stands on a line of its own"},
        Reading{"CountAndFirstPointOnOneLine", "2 0 0 7\n1 0 8\n",
                "1: the point count 2 shares its line with the numbers that follow; the count "
                "stands on a line of its own"},
        Reading{"TableWhoseFirstXCountsTheNumbers",
                "4 5 6\n1 2 3\n7 8 9\n",
                "",
                {{4, 5}, {1, 2}, {7, 8}}}),
    [](const auto& test) { return test.param.name; });

} // namespace
} // namespace zel
