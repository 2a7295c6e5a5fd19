#include "viewer/image_levels.h"
#include "viewer/terrain_model.h"
#include "viewer/viewer_options.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace zel {
namespace {

// Where each image is pure, for ground from -10 to 35.
TEST(PureImageHeights, EvenlyAtLevelsOrAboveTheSea) {
    struct Case {
        const char* name;
        std::vector<double> levels;
        std::optional<double> seaLevel;
        std::size_t images;
        std::vector<double> pure;
    };
    const std::vector<Case> cases{
        {"EvenlyOverTheGround", {}, {}, 4, {-10.0, 5.0, 20.0, 35.0}},
        {"OneImageAtTheLowestGround", {}, {}, 1, {-10.0}},
        {"NoImages", {}, {}, 0, {}},
        {"Levels", {0.0, 200.0, 1500.0}, {}, 3, {0.0, 200.0, 1500.0}},
        // The first image at and below the sea, the second just above it, the last on top.
        {"SeaLevel", {}, 5.0, 4, {5.0, 5.0, 20.0, 35.0}},
        {"SeaLevelTwoImages", {}, 5.0, 2, {5.0, 5.0}},
        {"SeaLevelOneImage", {}, 5.0, 1, {5.0}},
        {"SeaAboveAllTheGround", {}, 50.0, 3, {50.0, 50.0, 50.0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ImageLevels placement;
        placement.levels = c.levels;
        placement.seaLevel = c.seaLevel;
        EXPECT_EQ(pureImageHeights(placement, c.images, -10.0, 35.0), c.pure);
    }
}

// The legend's heights come from the model's ground as it stands: its box at its
// exaggeration, mapped back through its frame (data = 100 + 4 * file height).
TEST(PureImageHeights, FollowTheModelsGroundBackToTheData) {
    TerrainModel model;
    model.frame.known = true;
    model.frame.transform.scale = 0.25;
    model.frame.transform.ground = 100.0;
    model.exaggeration = 3.0;
    model.boundsMin.y = 6.0;  // file height 2
    model.boundsMax.y = 30.0; // file height 10
    model.imageCount = 3;
    EXPECT_EQ(pureImageHeights(model), (std::vector<double>{108.0, 124.0, 140.0}));
    model.imageLevels.seaLevel = 110.0;
    EXPECT_EQ(pureImageHeights(model), (std::vector<double>{110.0, 110.0, 140.0}));
}

struct Parsed {
    std::vector<std::string> arguments; // after the program's name
    std::string problem;                // empty when taken
    std::vector<double> levels;
    std::optional<double> seaLevel;
};

TEST(ViewerOptions, LevelsAndSeaLevelAreTakenOrRefused) {
    const std::vector<Parsed> cases{
        {{"t.tri", "--levels", "-20,0,150.5,1e3", "a.tga"}, "", {-20.0, 0.0, 150.5, 1000.0}, {}},
        {{"--sea-level", "-0.5", "t.tri"}, "", {}, -0.5},
        {{"--levels", "7", "t.tri"}, "", {7.0}, {}},
        {{"t.tri", "--levels"}, "--levels needs heights after it, such as 0,200,1500", {}, {}},
        {{"--levels", "1,,3", "t.tri"},
         "--levels needs numbers separated by commas, not \"1,,3\"",
         {},
         {}},
        {{"--levels", "1,2,", "t.tri"},
         "--levels needs numbers separated by commas, not \"1,2,\"",
         {},
         {}},
        {{"--levels", "1;2", "t.tri"},
         "--levels needs numbers separated by commas, not \"1;2\"",
         {},
         {}},
        {{"--levels", "0,inf", "t.tri"},
         "--levels needs numbers separated by commas, not \"0,inf\"",
         {},
         {}},
        {{"--levels", "0,5,5", "t.tri"},
         "--levels needs increasing heights, not \"0,5,5\"",
         {},
         {}},
        {{"--levels", "0,5,-1", "t.tri"},
         "--levels needs increasing heights, not \"0,5,-1\"",
         {},
         {}},
        {{"t.tri", "--sea-level"}, "--sea-level needs a height after it", {}, {}},
        {{"--sea-level", "low", "t.tri"}, "--sea-level needs a number, not \"low\"", {}, {}},
        {{"--sea-level", "0", "--levels", "1,2", "t.tri"},
         "give one of --levels and --sea-level",
         {},
         {}},
    };
    for (const Parsed& c : cases) {
        std::vector<std::string> words{"Tessaro"};
        words.insert(words.end(), c.arguments.begin(), c.arguments.end());
        SCOPED_TRACE(words[1] + " " + words[2]);
        std::vector<char*> argv;
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
        int argc = static_cast<int>(words.size());
        try {
            const ViewerOptions options = takeViewerOptions(argc, argv.data());
            EXPECT_EQ(c.problem, "");
            EXPECT_EQ(options.imageLevels.levels, c.levels);
            EXPECT_EQ(options.imageLevels.seaLevel, c.seaLevel);
            EXPECT_FALSE(options.exaggerationGiven);
        } catch (const ViewerOptionException& refused) {
            EXPECT_EQ(refused.what(), c.problem);
        }
    }
}

TEST(ViewerOptions, LevelsNameOneHeightForEachImage) {
    ViewerOptions options;
    EXPECT_NO_THROW(checkLevelCount(options, 4));
    options.imageLevels.seaLevel = 0.0;
    EXPECT_NO_THROW(checkLevelCount(options, 0));
    options.imageLevels.seaLevel.reset();
    options.imageLevels.levels = {1.0, 2.0, 3.0};
    EXPECT_NO_THROW(checkLevelCount(options, 3));
    const auto problem = [&options](std::size_t images) {
        try {
            checkLevelCount(options, images);
        } catch (const ViewerOptionException& refused) {
            return std::string(refused.what());
        }
        return std::string();
    };
    EXPECT_EQ(problem(4), "--levels gives 3 heights, one for each image, but there are 4 images");
    EXPECT_EQ(problem(1), "--levels gives 3 heights, one for each image, but there is 1 image");
    options.imageLevels.levels = {5.0};
    EXPECT_EQ(problem(0), "--levels gives 1 height, one for each image, but there are 0 images");
}

} // namespace
} // namespace zel
