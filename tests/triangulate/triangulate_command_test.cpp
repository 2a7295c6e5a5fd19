// The program's command line, messages, framing and files, run in process.
#include "tests/support/scratch_directory.h"
#include "triangulate/framing.h"
#include "triangulate/point_input.h"
#include "triangulate/triangulate_command.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace zel {
namespace {

using test::readFile;

struct Outputs {
    int status;
    std::string out;
    std::string err;
};

Outputs run(const std::vector<std::string>& arguments) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = runTriangulate(arguments, out, err);
    return {status, out.str(), err.str()};
}

// `options` separated by spaces, then the two files.
Outputs run(const std::string& options, const std::string& in, const std::string& out) {
    std::istringstream words(options);
    std::vector<std::string> arguments{std::istream_iterator<std::string>(words), {}};
    arguments.push_back(in);
    arguments.push_back(out);
    return run(arguments);
}

struct MalformedFile {
    std::string name;
    std::optional<std::string> text; // none: the file does not exist
    std::string problem;             // what follows the file's name in the message
    std::string options = "--fit";
};

// Test names say what the case is; the default would print its bytes.
void PrintTo(const MalformedFile& param, std::ostream* os) {
    *os << param.name;
}

class MalformedFileTest : public ::testing::TestWithParam<MalformedFile> {};

const std::string noHeights = ": --elevation needs a third coordinate (x y z)";
const std::string elevation = "--fit --elevation";

TEST_P(MalformedFileTest, IsReportedAndLeavesTheOutputAsItWas) {
    test::ScratchDirectory scratch;
    const std::string in = scratch.file("in.txt");
    if (GetParam().text) {
        scratch.write("in.txt", *GetParam().text);
    }
    const std::string out = scratch.write("out.tri", "old\n");
    const Outputs result = run(GetParam().options, in, out);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "triangulate: " + in + GetParam().problem + "\n");
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(readFile(out), "old\n");
    EXPECT_EQ(scratch.entries().size(), GetParam().text ? 2u : 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, MalformedFileTest,
    ::testing::Values(
        MalformedFile{"Missing", std::nullopt, ": cannot be opened: No such file or directory"},
        MalformedFile{"Empty", " \n", ":1: the file holds no points"},
        MalformedFile{"WordAmongNumbers", "3\n1 2\n3 x\n5 6\n", ":3: \"x\" is not a number"},
        MalformedFile{"Infinity", "2\n1 2\n3 inf\n", ":3: \"inf\" is not a finite coordinate"},
        MalformedFile{"HugeNumber", "1\n1 1e999\n",
                      ":2: \"1e999\" is out of the range of a double"},
        MalformedFile{"CountNotWhole", "2.5\n1 2\n",
                      ":1: the point count \"2.5\" is not a whole number"},
        MalformedFile{"CountTooLarge", "4294967296\n",
                      ":1: the point count 4294967296 is more than 2147483647"},
        MalformedFile{"CountMismatch", "3\n1 2\n3 4\n\n",
                      ":1: the point count 3 does not match the 4 numbers that follow "
                      "(3 points take 6 or 9)"},
        MalformedFile{"LineOfOneNumber", "1 2 3\n4\n",
                      ":2: a point needs two numbers, x and y, but the line holds one"},
        MalformedFile{"NumberWithTail", "1 2 3\n4 5x 6\n", ":2: \"5x\" is not a number"},
        MalformedFile{"CsvShortLine", "x,y\n1,2\n3\n",
                      ":3: the line has 1 field, but y is field 2"},
        MalformedFile{"CsvEmptyField", "x;y\n1;2\n1;\n", ":3: field 2 is empty"},
        MalformedFile{"CsvWord", "x,y\n1,abc\n", ":2: field 2: \"abc\" is not a number"},
        MalformedFile{"BytesOutsidePrintableAscii", std::string("3\0\x1B[2J\xFF\n", 9),
                      ":1: the point count \"3\\x00\\x1B[2J\\xFF\" is not a whole number"},
        MalformedFile{"EndlessToken", "1\n" + std::string(longestToken + 1, '7'),
                      ":2: a token longer than 1 MiB cannot be read"},
        MalformedFile{"LatitudeOutsideDegrees", "lon,lat\n7,46\n7,91\n",
                      ": point 2 has the latitude 91, outside -90 to 90; --no-projection keeps "
                      "the coordinates as they are"},
        // Every form without a third coordinate, and a point without one among points with.
        MalformedFile{"ElevationCountThenPairs", "3\n1 2\n3 4\n5 6\n", noHeights, elevation},
        MalformedFile{"ElevationNumberLinesOfTwo", "1 2\n3 4\n5 6\n", noHeights, elevation},
        MalformedFile{"ElevationCsvOfTwoColumns", "1,2\n3,4\n", noHeights, elevation},
        MalformedFile{"ElevationCsvHeaderWithoutHeight", "name,lat,lon\na,46,7\n", noHeights,
                      elevation},
        MalformedFile{"ElevationLineWithoutHeight", "1 2 3\n4 5\n",
                      ":2: the line has 2 fields, but z is field 3", elevation},
        MalformedFile{"ElevationHeightBeyondFloat", "x,y,z\n0,0,1\n1,1,1e300\n",
                      ": the height of point 2 lies beyond the range of a float", elevation},
        MalformedFile{"DensityOfNoPoints", "x,y\n",
                      ": the file holds no points, so there is no density to map", "--density"},
        MalformedFile{"DensityAllAtOnePlaceWithoutBandwidth", "3 4\n3 4\n",
                      ": the points all lie at one place, so they give no bandwidth; "
                      "--bandwidth sets it",
                      "--density --fit"},
        // A run that fails writes no file, so it has nothing to frame and no warning about it.
        MalformedFile{"BeyondFloatWithoutFit", "1e308 0\n-1e308 1\n0 1e308\n",
                      ": point 1 lies beyond the range of a float; --fit brings it in", ""}),
    [](const auto& test) { return test.param.name; });

struct Outcome {
    std::string name;
    std::string options; // separated by spaces
    std::string points;
    std::string out;
    std::string err;
    std::string fileStart;
};

// Test names say what the case is; the default would print its bytes.
void PrintTo(const Outcome& param, std::ostream* os) {
    *os << param.name;
}

class OutcomeTest : public ::testing::TestWithParam<Outcome> {};

TEST_P(OutcomeTest, WritesTheFileAndSaysWhatItDid) {
    test::ScratchDirectory scratch;
    const std::string in = scratch.write("in.txt", GetParam().points);
    const std::string out = scratch.file("out.tri");
    const Outputs result = run(GetParam().options, in, out);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, GetParam().out);
    EXPECT_EQ(result.err, GetParam().err);
    EXPECT_EQ(readFile(out).substr(0, GetParam().fileStart.size()), GetParam().fileStart);
}

const std::string projected = "512000 4123000\n512010 4123000\n512000 4123010\n";

// A field 5 km square in metres, points 500 m apart, and one point 50 km east of its middle.
std::string fieldWithOutlier() {
    std::ostringstream text;
    text << "easting,northing\n";
    for (int i = 0; i < 11 * 11; ++i) {
        text << 300000 + 500 * (i % 11) << ',' << 5000000 + 500 * (i / 11) << '\n';
    }
    text << 355000 << ',' << 5002500 << '\n';
    return text.str();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OutcomeTest,
    ::testing::Values(
        Outcome{"OutsideTheViewerField", "", projected,
                "Triangulated 3 points: 1 triangle, 0 duplicate points\n",
                "triangulate: warning: the points span 10 units around (512005, 4123005), but the "
                "viewer shows about 200 units around the origin; --fit frames them\n",
                "3\n512000 4123000\n512010 4123000\n512000 4123010\n1\n"},
        Outcome{"Centered", "--center", projected,
                "Transform: x' = (x - 512005) * 1, y' = (y - 4123005) * 1\n"
                "Triangulated 3 points: 1 triangle, 0 duplicate points\n",
                "", "3\n-5 -5\n5 -5\n-5 5\n1\n"},
        // Within the viewer's field, and the printed transform leads back to the input.
        Outcome{"FittedProjectedCoordinates", "--fit",
                "easting;northing\n512000;4123000\n512010;4123000\n512000;4123010\n"
                "512010;4123020\n",
                "Transform: x' = (x - 512005) * 10, y' = (y - 4123010) * 10\n"
                "Triangulated 4 points: 2 triangles, 0 duplicate points\n",
                "", "4\n-50 -100\n50 -100\n-50 0\n50 100\n2\n"},
        // The box's side overflows a double; its half does not.
        Outcome{"FittedAcrossTheWholeDoubleRange", "--fit", "-1e308 0\n1e308 0\n0 1e308\n",
                "Transform: x' = x * 1e-306, y' = (y - 5e+307) * 1e-306\n"
                "Triangulated 3 points: 1 triangle, 0 duplicate points\n",
                "", "3\n-100 -50\n100 -50\n0 50\n1\n"},
        Outcome{"AllOnOneLine", "", "0 0\n1 1\n2 2\n3 3\n",
                "Triangulated 4 points: 0 triangles, 0 duplicate points\n",
                "triangulate: warning: all points lie on one line, so there are no triangles\n",
                "4\n0 0\n1 1\n2 2\n3 3\n0\n"},
        Outcome{"TwoDistinctPoints", "--fit", "-1 2.5\n-1 2.5\n1 -2.5\n",
                "Transform: x' = x * 40, y' = y * 40\n"
                "Triangulated 3 points: 0 triangles, 1 duplicate point\n",
                "triangulate: warning: fewer than three distinct points, so there are no "
                "triangles\n",
                "3\n-40 100\n-40 100\n40 -100\n0\n"},
        // Distinct points that no double scale spreads over the field, one box near the
        // origin and one far from it.
        Outcome{"FittedNarrowerThanAnyDoubleScale", "--fit",
                "0 0\n2e-320 0\n0 4e-320\n2e-320 4e-320\n1e-320 1e-320\n",
                "Transform: x' = (x - 9.999888672e-321) * 5.000055665e+321, y' = (y - "
                "1.999977734e-320) * 5.000055665e+321\n"
                "Triangulated 5 points: 4 triangles, 0 duplicate points\n",
                "", "5\n-50 -100\n50 -100\n-50 100\n50 100\n0 -50\n4\n"},
        Outcome{"FittedNarrowerThanAnyDoubleScaleFarOut", "--fit",
                "7e15 0\n7e15 1e-310\n7e15 3e-310\n",
                "Transform: x' = (x - 7e+15) * 6.666666667e+311, y' = (y - 1.5e-310) * "
                "6.666666667e+311\nTriangulated 3 points: 0 triangles, 0 duplicate points\n",
                "triangulate: warning: all points lie on one line, so there are no triangles\n",
                "3\n0 -100\n0 -33.333332\n0 100\n0\n"},
        Outcome{"CenteredStillTooWide", "--center", "0 0\n1000 0\n0 1000\n",
                "Transform: x' = (x - 500) * 1, y' = (y - 500) * 1\n"
                "Triangulated 3 points: 1 triangle, 0 duplicate points\n",
                "triangulate: warning: the points span 1000 units around (0, 0), but the viewer "
                "shows about 200 units around the origin; --fit frames them\n",
                "3\n-500 -500\n500 -500\n-500 500\n1\n"},
        // Longitudes and latitudes become metres about the middle latitude, 60 degrees.
        Outcome{"GeographicProjected", "", "Lat,Lng\n59.999,10\n60.001,10.002\n60.001,10\n",
                "Projection: x = longitude * 55597.54012, y = latitude * 111195.0802 (metres, "
                "equirectangular about latitude 60)\n"
                "Triangulated 3 points: 1 triangle, 0 duplicate points\n",
                "triangulate: warning: the points span 222.3901605 units around (556030.9987, "
                "6671704.814), but the viewer shows about 200 units around the origin; --fit "
                "frames them\n",
                // 0.002 degrees east are half as many metres as 0.002 degrees north.
                "3\n555975.4 6671593.5\n556086.6 6671816\n555975.4 6671816\n"},
        // Across the antimeridian the points lie 0.2 degrees apart, not 359.8: measured from
        // the meridian 180, a degree there being 111195.08 m * cos(16.95 degrees).
        Outcome{"GeographicAcrossTheAntimeridian", "",
                "lon,lat\n179.9,-17\n-179.9,-17\n179.95,-16.9\n",
                "Projection: x = (longitude - 180) * 106364.7142, y = latitude * 111195.0802 "
                "(metres, equirectangular about latitude -16.95, longitudes within 180 degrees "
                "of 180)\nTriangulated 3 points: 1 triangle, 0 duplicate points\n",
                "triangulate: warning: the points span 21272.94283 units around "
                "(1.511580194e-09, -1884756.61), but the viewer shows about 200 units around "
                "the origin; --fit frames them\n",
                "3\n-10636.472 -1890316.4\n10636.472 -1890316.4\n-5318.236 -1879196.9\n"},
        // 350 and -10 are one meridian: the box is 1 degree by 1, its longer side y.
        Outcome{"GeographicWrittenBothWays", "--fit", "lon,lat\n350,1\n-10,2\n-9,1\n",
                "Projection: x = (longitude + 9.5) * 111156.9765, y = latitude * 111195.0802 "
                "(metres, equirectangular about latitude 1.5, longitudes within 180 degrees of "
                "-9.5)\nTransform: x' = x * 0.001798640727, y' = (y - 166792.6204) * "
                "0.001798640727\nTriangulated 3 points: 1 triangle, 0 duplicate points\n",
                "", "3\n-99.96573 -100\n-99.96573 100\n99.96573 -100\n"},
        Outcome{"GeographicKeptInDegrees", "--no-projection", "lat,lon\n1,2\n3,2\n1,5\n",
                "Triangulated 3 points: 1 triangle, 0 duplicate points\n", "",
                "3\n2 1\n2 3\n5 1\n1\n"},
        // The height column named anywhere; the lowest height becomes 0.
        Outcome{
            "ElevationCentered", "--center --elevation",
            "Height;Easting;Northing\n120;512000;4123000\n95.5;512010;4123000\n"
            "130;512000;4123010\n",
            "Transform: x' = (x - 512005) * 1, y' = (y - 4123005) * 1, z' = (z - 95.5) * 1\n"
            "Triangulated 3 points: 1 triangle, 0 duplicate points\n",
            "",
            "3 xyz frame 512005 4123005 1 0 0 0 ground 95.5\n-5 -5 24.5\n5 -5 0\n-5 5 34.5\n1\n"},
        // A terrain has one height at each place: the first point's, and a warning says how
        // many were dropped.
        Outcome{"ElevationRepeatedPlacesKeepTheFirstHeight", "--elevation",
                "0 0 5\n10 0 6\n0 0 9\n0 10 7\n10 0 1\n",
                "Triangulated 5 points: 1 triangle, 2 duplicate points\n",
                "triangulate: warning: 2 points repeat the x, y of an earlier point; their "
                "heights were dropped (the first is kept)\n",
                "5 xyz\n0 0 5\n10 0 6\n0 0 9\n0 10 7\n10 0 1\n1\n3 1 0\n"},
        Outcome{"ElevationOneRepeatedPlace", "--elevation", "0 0 5\n10 0 6\n0 10 7\n0 10 8\n",
                "Triangulated 4 points: 1 triangle, 1 duplicate point\n",
                "triangulate: warning: 1 point repeats the x, y of an earlier point; its height "
                "was dropped (the first is kept)\n",
                "4 xyz\n0 0 5\n10 0 6\n0 10 7\n0 10 8\n1\n1 0 2\n"},
        // In the input's units, whatever --fit makes of them (here 20 times as long).
        Outcome{"MaxEdgeLeavesOutEveryTriangle", "--fit --max-edge 9.99", "0 0\n10 0\n0 10\n",
                "Transform: x' = (x - 5) * 20, y' = (y - 5) * 20\n"
                "Triangulated 3 points: 0 triangles, 0 duplicate points, 1 triangle with an edge "
                "longer than 9.99 left out\n",
                "triangulate: warning: every triangle has an edge longer than 9.99 (--max-edge), "
                "so there are no triangles\n",
                "3\n-100 -100\n100 -100\n-100 100\n0\n"},
        // An edge exactly as long as the length stays (3, 4, 5 m far from the origin).
        Outcome{"MaxEdgeKeepsAnEdgeOfExactlyTheLength", "--fit --max-edge 5",
                "512000 4123000\n512003 4123000\n512000 4123004\n",
                "Transform: x' = (x - 512001.5) * 50, y' = (y - 4123002) * 50\n"
                "Triangulated 3 points: 1 triangle, 0 duplicate points, 0 triangles with an edge "
                "longer than 5 left out\n",
                "", "3\n-75 -100\n75 -100\n-75 100\n1\n"},
        // The 10 triangles that join the outlier to the field's east side go, the field's 200
        // stay: 1000 is metres of the input, not units of the fitted file.
        Outcome{"MaxEdgeDropsAFarOutliersTrianglesInInputUnits", "--fit --max-edge 1000",
                fieldWithOutlier(),
                "Transform: x' = (x - 327500) * 0.003636363636, y' = (y - 5002500) * "
                "0.003636363636\n"
                "Triangulated 122 points: 200 triangles, 0 duplicate points, 10 triangles with "
                "an edge longer than 1000 left out\n",
                "", "122\n"},
        // Degrees are metres once projected, and the summary says so: 0.01 degrees of
        // longitude at latitude 45 are 786 m, of latitude 1112 m.
        Outcome{"MaxEdgeInMetresOfProjectedDegrees", "--fit --max-edge 1000",
                "lon,lat\n10,45\n10.01,45\n10,45.01\n",
                "Projection: x = longitude * 78619.93349, y = latitude * 111195.0802 (metres, "
                "equirectangular about latitude 45.005)\n"
                "Transform: x' = (x - 786592.4345) * 0.1798640727, y' = (y - 5004334.586) * "
                "0.1798640727\n"
                "Triangulated 3 points: 0 triangles, 0 duplicate points, 1 triangle with an edge "
                "longer than 1000 m left out\n",
                "triangulate: warning: every triangle has an edge longer than 1000 m "
                "(--max-edge), so there are no triangles\n",
                "3\n"},
        Outcome{"MaxEdgeInMetresKeepsShorterEdges", "--fit --max-edge 1500",
                "lon,lat\n10,45\n10.01,45\n10,45.01\n",
                "Projection: x = longitude * 78619.93349, y = latitude * 111195.0802 (metres, "
                "equirectangular about latitude 45.005)\n"
                "Transform: x' = (x - 786592.4345) * 0.1798640727, y' = (y - 5004334.586) * "
                "0.1798640727\n"
                "Triangulated 3 points: 1 triangle, 0 duplicate points, 0 triangles with an edge "
                "longer than 1500 m left out\n",
                "", "3\n"}),
    [](const auto& test) { return test.param.name; });

// Every option value or pairing that --density cannot take is a usage error before anything
// is read or written.
TEST(CommandLineTest, DensityMisuseIsAUsageError) {
    struct Misuse {
        std::vector<std::string> options;
        std::string problem;
    };
    const std::string positive = "needs a positive number, not ";
    const std::string cells = "--cells needs a whole number from 2 to 4096, not ";
    const std::vector<Misuse> cases{
        {{"--density", "--bandwidth", "0"}, "--bandwidth " + positive + "\"0\""},
        {{"--density", "--bandwidth", "-5"}, "--bandwidth " + positive + "\"-5\""},
        {{"--density", "--bandwidth", "inf"}, "--bandwidth " + positive + "\"inf\""},
        {{"--density", "--cells", "1"}, cells + "\"1\""},
        {{"--density", "--cells", "4097"}, cells + "\"4097\""},
        {{"--density", "--cells", "18446744073709551617"}, cells + "\"18446744073709551617\""},
        {{"--density", "--cells", "2.5"}, cells + "\"2.5\""},
        {{"--density", "--elevation"}, "give one of --density and --elevation"},
        {{"-z", "--fit", "--density"}, "give one of --density and --elevation"},
        {{"--density", "--max-edge", "5"}, "give one of --density and --max-edge"},
        {{"--log", "--cells", "8"}, "--log goes with --density"},
        {{"--bandwidth", "3"}, "--bandwidth goes with --density"},
    };
    test::ScratchDirectory scratch;
    const std::string in = scratch.write("in.txt", "0 0\n1 0\n0 1\n");
    const std::string out = scratch.file("out.ter");
    for (const Misuse& c : cases) {
        std::vector<std::string> arguments = c.options;
        arguments.insert(arguments.end(), {in, out});
        SCOPED_TRACE(arguments[0] + " " + arguments[1] + " " + arguments[2]);
        const Outputs result = run(arguments);
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err.substr(0, result.err.find('\n')), "triangulate: " + c.problem);
        EXPECT_EQ(scratch.entries().size(), 1u);
    }
    const Outputs last = run({"--density", in, out, "--bandwidth"});
    EXPECT_EQ(last.err.substr(0, last.err.find('\n')),
              "triangulate: --bandwidth needs a length after it");
}

// What --density says, each line checked whole. A lone point's density peaks at
// 1 / (2 pi h^2): 0.1592 for h = 1, in points per km2 for h = 1000 m. Four corners 6 x 8
// apart have standard deviations 3 and 4 in x and y, so Scott's rule gives
// sqrt((9 + 16) / 2) * 4^(-1/6) = 2.806 -> 2.81, far from the origin as near it.
TEST(CommandLineTest, DensitySaysWhatItMapped) {
    struct Case {
        const char* name;
        std::string options;
        std::string points;
        std::vector<std::string> lines; // each a whole line of the output, in this order
        std::string err;
    };
    const std::string lonePoint = "Density of 1 point on 60 x 60 cells, bandwidth 1 unit: "
                                  "highest 0.1592 points per square unit";
    const std::vector<Case> cases{
        {"LogHeights",
         "--log --density --bandwidth 1 --cells 60",
         "5 5\n",
         {"Heights: log10(1 + density / R), R = 0.1591549431 points per square unit, a lone "
          "point's peak density",
          lonePoint},
         ""},
        {"LonePointInMetresCentred",
         "--density --center --bandwidth 1000 --cells 60",
         "lon,lat\n10,0\n",
         {"Projection: x = longitude * 111195.0802, y = latitude * 111195.0802 (metres, "
          "equirectangular about latitude 0)",
          "Transform: x' = (x - 1111950.802) * 1, y' = y * 1, z' = z * 1",
          "Density of 1 point on 60 x 60 cells, bandwidth 1000 m: highest 0.1592 points per "
          "km2"},
         "triangulate: warning: the points span 6000 units around (0, 0), but the viewer shows "
         "about 200 units around the origin; --fit frames them\n"},
        {"ScottsRule",
         "--density --center --cells 64",
         "4100000 4100000\n4100006 4100000\n4100000 4100008\n4100006 4100008\n",
         {"Bandwidth: 2.81 units (Scott's rule; --bandwidth sets it)"},
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::ScratchDirectory scratch;
        const Outputs result =
            run(c.options, scratch.write("in.txt", c.points), scratch.file("out.ter"));
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.err, c.err);
        const std::string said = "\n" + result.out;
        std::size_t from = 0;
        for (const std::string& line : c.lines) {
            const std::size_t at = said.find("\n" + line + "\n", from);
            ASSERT_NE(at, std::string::npos) << line << "\nnot in:" << said;
            from = at + 1;
        }
    }
}

TEST(CommandLineTest, HelpAndMisuse) {
    const Outputs help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.substr(0, help.out.find('\n')),
              "Usage: triangulate [--center | --fit] [--no-projection] [--max-edge <length>] "
              "<points-file> <triangulation-file>");
    const Outputs both = run({"--fit", "--center", "in.txt", "out.tri"});
    EXPECT_EQ(both.status, 2);
    EXPECT_EQ(both.err.substr(0, both.err.find('\n')),
              "triangulate: give one of --center and --fit");
}

// --fit frames heights by the factor of x and y, with the lowest at 0: every corner of the
// box maps back through the framing (whose numbers the transform line prints).
TEST(ElevationFitTest, EveryCornerOfTheBoxMapsBack) {
    struct Box {
        const char* name;
        double minX, maxX, minY, maxY, minZ, maxZ;
    };
    const std::vector<Box> boxes{
        {"HillInProjectedMetres", 512000, 513000, 4100000, 4101000, 0, 150},
        {"BelowSeaLevel", 0, 5000, 0, 3000, -4200, -15},
        {"TallerThanWide", 0, 2, 0, 1, 10, 1000},
        {"FlatGround", -50, 50, -20, 20, 300, 300},
        {"Tiny", 0, 1e-3, 0, 1e-3, 0, 1e-4},
    };
    for (const Box& box : boxes) {
        SCOPED_TRACE(box.name);
        std::vector<PlanePoint> corners;
        std::vector<double> heights;
        for (int i = 0; i < 8; ++i) {
            corners.push_back({i & 1 ? box.maxX : box.minX, i & 2 ? box.maxY : box.minY});
            heights.push_back(i & 4 ? box.maxZ : box.minZ);
        }
        const Framing f = framingFor(*boundsOf(corners), FramingMode::Fit, lowestHeight(heights));
        const std::vector<Point2> framed = framedFloats(corners, f);
        const std::vector<float> framedZ = framedHeights(heights, f);
        const double extent = std::max(box.maxX - box.minX, box.maxY - box.minY);
        for (std::size_t i = 0; i < corners.size(); ++i) {
            EXPECT_NEAR(framed[i].x / f.scale + f.centreX, corners[i].x, 1e-7 * extent);
            EXPECT_NEAR(framed[i].y / f.scale + f.centreY, corners[i].y, 1e-7 * extent);
            EXPECT_NEAR(framedZ[i] / f.scale + *f.ground, heights[i], 1e-7 * extent);
            EXPECT_EQ(framedZ[i] == 0.0f, heights[i] == box.minZ) << "corner " << i;
        }
    }
}

} // namespace
} // namespace zel
