#include "viewer/triangulation_format_exception.h"
#include "viewer/triangulation_reader.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace zel {
namespace {

struct Reading {
    bool terrain; // read with readTerrain, else as a triangulation file
    std::string text;
    std::string failure; // empty for a good file
};

// The failure text, or "" once the whole text has been read.
std::string readingFailure(const Reading& reading, TerrainModel& model) {
    std::istringstream in(reading.text);
    try {
        model = reading.terrain ? readTerrain(in) : readTriangulation(in);
    } catch (const TriangulationFormatException& bad) {
        return bad.problem;
    }
    return "";
}

TEST(TerrainFileTest, EachPointLineHoldsExactlyXYZAfterTheMarker) {
    const std::string good = "4 xyz\n0 0 1\n10 0 2.5\r\n\n10 10 -3\n0 10 4e1\n2\n0 1 2 0 2\n3\n";
    const std::string lineRule = "; a terrain file has x y z on each point line";
    const std::string markerRule =
        "the first line must be the point count followed by \"xyz\" (a terrain file)";
    const std::vector<Reading> readings{
        {true, good, ""},
        {true, "0 xyz\n0\n", ""},
        {true, "4 xyz\n0 0 1\n10 0\n10 10 -3\n0 10 4\n0\n",
         "point 2 of 4 has 2 numbers" + lineRule},
        {true, "2 xyz\n0\n1 2 3\n0\n", "point 1 of 2 has 1 number" + lineRule},
        {true, "2 xyz\n0 0 1 7\n1 2 3\n0\n", "point 1 of 2 has more than 3 numbers" + lineRule},
        {true, "2 xyz\n0 0 1\n1 2 3 x\n0\n", "point 2 of 2 has more than 3 numbers" + lineRule},
        {true, "2 xyz\n0 0 1\n1 2 3m\n0\n", "point 2 of 2 cannot be read"},
        {true, "2 xyz\n0 0 1\n1 2 z\n0\n", "point 2 of 2 cannot be read"},
        {true, "2 xyz\n0 0 1\n1 2", "the file ends before point 2 of 2 is complete"},
        {true, "3 xyz\n0 0 0\n1 0 0\n0 1 0\n1\n0 1 7\n",
         "triangle 1 of 1 names vertex index 7, but there are 3 points (indices 0 to 2)"},
        {true, "2\n0 0 1\n1 2 3\n0\n", markerRule},
        {true, "2\nxyz\n0 0 1\n1 2 3\n0\n", markerRule},
        {true, "2 xyz 0 0 1\n1 2 3\n0\n", markerRule},
        {true, "2 xyzw\n0 0 1\n1 2 3\n0\n", markerRule},
        // A byte-order mark before the count, and lines ended by a lone carriage return.
        {true,
         "\xEF\xBB\xBF"
         "1 xyz\n0 0 1\n0\n",
         ""},
        {false,
         "\xEF\xBB\xBF"
         "1\n0 0\n0\n",
         ""},
        {false,
         "\xEF\xBB\xBF\xEF\xBB\xBF"
         "1\n0 0\n0\n",
         "the point count cannot be read"},
        {true, "2 xyz\r0 0 1\r1 2 3\r0\r", ""},
        {true, "2 xyz\r0 0 1\r1 2\r0\r", "point 2 of 2 has 2 numbers" + lineRule},
        {false, good,
         "this is a terrain file (its point count is followed by \"xyz\"), which Tessaro shows "
         "with --elevation"},
    };
    for (const Reading& reading : readings) {
        SCOPED_TRACE(reading.text);
        TerrainModel model;
        EXPECT_EQ(readingFailure(reading, model), reading.failure);
    }

    TerrainModel model;
    ASSERT_EQ(readingFailure({true, good, ""}, model), "");
    EXPECT_FALSE(model.frame.known);
    ASSERT_EQ(model.points.size(), 4u);
    EXPECT_EQ(model.points[1].x, 10.0f);
    EXPECT_EQ(model.points[3].y, 10.0f);
    EXPECT_EQ(model.elevations, (std::vector<float>{1.0f, 2.5f, -3.0f, 40.0f}));
    ASSERT_EQ(model.triangles.size(), 2u);
    EXPECT_EQ(model.triangles.back().indices[2], 3);
}

// The frame record: after "xyz" on a terrain file's first line, after the last triangle in a
// triangulation file (where anything else stays ignored, as before the record).
TEST(TerrainFileTest, TheFrameRecordIsReadWhereItMayStandAndCheckedNumberByNumber) {
    const std::string terrainRest = "\n0 0 1\n1 2 3\n0\n";
    const std::string triangulation = "3\n0 0\n1 0\n0 1\n1\n0 1 2\n";
    const std::string endsLine =
        "the first line must end after the frame record; the points follow, one to a line";
    const std::vector<Reading> readings{
        {true, "2 xyz frame 10 20 0.5 0 0 0 ground 3" + terrainRest, ""},
        {true, "2 xyz frame 10 20 0.5 0 0 0 projection 45 7e4 1.1e5" + terrainRest, ""},
        {true, "2 xyz frame 10 20 0.5 0 0 0 ground" + terrainRest,
         "the frame record ends before its ground"},
        {true, "2 xyz frame" + terrainRest, "the frame record ends before its centre x"},
        {true, "2 xyz frame 10 20 0 0 0 0" + terrainRest,
         "the frame record has a scale that is not positive"},
        {true, "2 xyz frame 10 20 1 0.5 0 0" + terrainRest,
         "the frame record has a binary exponent that cannot be read"},
        {true, "2 xyz frame 10 20 1 -2201 0 0" + terrainRest,
         "the frame record has a binary exponent beyond 2200"},
        {true, "2 xyz frame 10 20 1 0 0 0 projection 90.5 1 1" + terrainRest,
         "the frame record has a standard latitude outside -90 to 90"},
        {true, "2 xyz frame 10 20 1 0 0 0 projection 45 -1 1" + terrainRest,
         "the frame record has a metres per degree of longitude that is not positive"},
        {true, "2 xyz frame 10 20 1 0 0 0 7" + terrainRest, endsLine},
        {true, "2 xyz frame 10 20 1 0 0 0 ground 3 projection" + terrainRest,
         "the frame record ends before its standard latitude"},
        {false, triangulation + "frame 1 2 3 0 0 0\n", ""},
        {false, triangulation + "frame 1 2 3 0 0 0 projection 45 7e4 1.1e5 and more\n", ""},
        {false, triangulation + "frame 1 2 nan 0 0 0\n",
         "the frame record has a scale that cannot be read"},
        {false, triangulation + "frame 1 2", "the frame record ends before its scale"},
        {false, triangulation + "framed 1 2\n", ""},
        {false, triangulation + "notes: anything\n", ""},
    };
    for (const Reading& reading : readings) {
        SCOPED_TRACE(reading.text);
        TerrainModel model;
        EXPECT_EQ(readingFailure(reading, model), reading.failure);
        EXPECT_EQ(model.frame.known,
                  reading.failure.empty() && reading.text.find("frame ") != std::string::npos);
    }

    TerrainModel model;
    ASSERT_EQ(readingFailure({true,
                              "2 xyz frame -1.5 2e6 0.25 -3 0.5 0.125 ground -40 projection "
                              "-33.5 92000 111000 meridian 180" +
                                  terrainRest,
                              ""},
                             model),
              "");
    const MapFrame& frame = model.frame;
    EXPECT_EQ(frame.transform.centreX, -1.5);
    EXPECT_EQ(frame.transform.centreY, 2e6);
    EXPECT_EQ(frame.transform.scale, 0.25);
    EXPECT_EQ(frame.transform.binaryExponent, -3);
    EXPECT_EQ(frame.transform.offsetX, 0.5);
    EXPECT_EQ(frame.transform.offsetY, 0.125);
    EXPECT_EQ(frame.transform.ground, -40.0);
    ASSERT_TRUE(frame.projection.has_value());
    EXPECT_EQ(frame.projection->standardLatitude, -33.5);
    EXPECT_EQ(frame.projection->metresPerDegreeX, 92000.0);
    EXPECT_EQ(frame.projection->metresPerDegree, 111000.0);
    EXPECT_EQ(frame.projection->centralMeridian, 180.0);
    EXPECT_EQ(model.elevations, (std::vector<float>{1.0f, 3.0f}));
}

// Worked examples of the mapping back, one per part of the frame.
TEST(MapFrameTest, MapsFilePositionsAndHeightsBackToTheData) {
    const MapFrame identity;
    EXPECT_EQ(identity.toData(12.5, -3.0).x, 12.5);
    EXPECT_EQ(identity.toData(12.5, -3.0).y, -3.0);
    EXPECT_EQ(identity.heightToData(7.0), 7.0);
    EXPECT_EQ(identity.dataUnitsPerFileUnit(), 1.0);
    EXPECT_EQ(identity.unitName(), "units");

    // x' = (x - 512000) * 0.02: 100 file units east of the middle are 5 km.
    MapFrame fitted;
    fitted.known = true;
    fitted.transform.centreX = 512000.0;
    fitted.transform.centreY = 4100000.0;
    fitted.transform.scale = 0.02;
    fitted.transform.ground = 120.0;
    EXPECT_DOUBLE_EQ(fitted.toData(100.0, -50.0).x, 517000.0);
    EXPECT_DOUBLE_EQ(fitted.toData(100.0, -50.0).y, 4097500.0);
    EXPECT_DOUBLE_EQ(fitted.heightToData(3.0), 270.0);
    EXPECT_DOUBLE_EQ(fitted.heightToFile(270.0), 3.0);
    EXPECT_DOUBLE_EQ(fitted.dataUnitsPerFileUnit(), 50.0);
    // Densities: z' = z * 4.
    MapFrame density = fitted;
    density.transform.ground.reset();
    density.transform.heightScale = 4.0;
    EXPECT_DOUBLE_EQ(density.heightToData(3.0), 0.75);
    EXPECT_DOUBLE_EQ(density.heightToFile(0.75), 3.0);

    // The same metres were degrees: 517000 m east at 78000 m a degree.
    fitted.projection = EquirectangularProjection{45.5, 78000.0, 111000.0, std::nullopt};
    EXPECT_DOUBLE_EQ(fitted.toData(100.0, -50.0).x, 517000.0 / 78000.0);
    EXPECT_DOUBLE_EQ(fitted.toData(100.0, -50.0).y, 4097500.0 / 111000.0);
    EXPECT_EQ(fitted.unitName(), "m");
    // Measured from the meridian of 180 degrees, x east of it is a longitude west of -180.
    fitted.projection->centralMeridian = 180.0;
    EXPECT_NEAR(fitted.toData(100.0, -50.0).x, 517000.0 / 78000.0 - 180.0, 1e-9);

    // A box too narrow for a double scale: x' = ((x - 1) * 2^10 - 0.5) * 4.
    MapFrame narrow;
    narrow.known = true;
    narrow.transform.centreX = 1.0;
    narrow.transform.centreY = 2.0;
    narrow.transform.binaryExponent = 10;
    narrow.transform.offsetX = 0.5;
    narrow.transform.offsetY = 0.25;
    narrow.transform.scale = 4.0;
    narrow.transform.ground = 100.0;
    EXPECT_EQ(narrow.toData(2.0, -1.0).x, 1.0 + 1.0 / 1024.0);
    EXPECT_EQ(narrow.toData(2.0, -1.0).y, 2.0);
    EXPECT_EQ(narrow.heightToData(8192.0), 102.0);
    EXPECT_EQ(narrow.heightToFile(102.0), 8192.0);
    EXPECT_EQ(narrow.dataUnitsPerFileUnit(), 1.0 / 4096.0);
}

} // namespace
} // namespace zel
