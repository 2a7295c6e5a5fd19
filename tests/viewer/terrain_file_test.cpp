#include "model_test_support.h"
#include "viewer/triangulation_format_exception.h"
#include "viewer/triangulation_reader.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace zel {
namespace {

using TerrainFileTest = test::PointListTest;

struct Reading {
    bool terrain; // read with readTerrain, else as a triangulation file
    std::string text;
    std::string failure; // empty for a good file
};

// The failure text, or "" once the whole text has been read.
std::string readingFailure(const Reading& reading, TerrainModel& model) {
    std::istringstream in(reading.text);
    try {
        if (reading.terrain) {
            readTerrain(in, model);
        } else {
            in >> model;
        }
    } catch (const TriangulationFormatException& bad) {
        return bad.problem;
    }
    return "";
}

TEST_F(TerrainFileTest, EachPointLineHoldsExactlyXYZAfterTheMarker) {
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
        {false, good,
         "this is a terrain file (its point count is followed by \"xyz\"), which Tessaro shows "
         "with --elevation"},
    };
    for (const Reading& reading : readings) {
        SCOPED_TRACE(reading.text);
        points.clear();
        TerrainModel model;
        EXPECT_EQ(readingFailure(reading, model), reading.failure);
        if (!reading.failure.empty()) {
            // Nothing of a refused file stays behind.
            EXPECT_TRUE(points.empty());
            EXPECT_TRUE(model.elevations.empty());
            EXPECT_TRUE(model.triangles.empty());
        }
    }

    points.clear();
    TerrainModel model;
    ASSERT_EQ(readingFailure({true, good, ""}, model), "");
    EXPECT_FALSE(model.frame.known);
    ASSERT_EQ(points.size(), 4u);
    EXPECT_EQ(points[1].x, 10.0f);
    EXPECT_EQ(points[3].y, 10.0f);
    EXPECT_EQ(model.elevations, (std::vector<float>{1.0f, 2.5f, -3.0f, 40.0f}));
    ASSERT_EQ(model.triangles.size(), 2u);
    EXPECT_EQ(model.triangles.back()->indices[2], 3);
}

// The frame record: after "xyz" on a terrain file's first line, after the last triangle in a
// triangulation file (where anything else stays ignored, as before the record).
TEST_F(TerrainFileTest, TheFrameRecordIsReadWhereItMayStandAndCheckedNumberByNumber) {
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
        points.clear();
        TerrainModel model;
        EXPECT_EQ(readingFailure(reading, model), reading.failure);
        EXPECT_EQ(model.frame.known,
                  reading.failure.empty() && reading.text.find("frame ") != std::string::npos);
        if (!reading.failure.empty()) {
            EXPECT_TRUE(points.empty());
            EXPECT_TRUE(model.triangles.empty());
        }
    }
}

} // namespace
} // namespace zel
