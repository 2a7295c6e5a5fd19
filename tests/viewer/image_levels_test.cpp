#include "viewer/image_levels.h"
#include "viewer/terrain_model.h"
#include "viewer/viewer_options.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <utility>
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
    model.heightScale.initial = 3.0;
    model.bounds.min.y = 6.0;  // file height 2
    model.bounds.max.y = 30.0; // file height 10
    ImageLevels placement;
    EXPECT_EQ(pureImageHeights(model, placement, 3), (std::vector<double>{108.0, 124.0, 140.0}));
    placement.seaLevel = 110.0;
    EXPECT_EQ(pureImageHeights(model, placement, 3), (std::vector<double>{110.0, 110.0, 140.0}));
}

// The options as the viewer takes them from its arguments (after the program's name).
ViewerOptions taken(std::vector<std::string> words) {
    words.insert(words.begin(), "Tessaro");
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    int argc = static_cast<int>(words.size());
    return takeViewerOptions(argc, argv.data());
}

TEST(ViewerOptions, LevelsAndSeaLevelAreTakenOrRefused) {
    const ViewerOptions levels = taken({"t.tri", "--levels", "-20,0,150.5,1e3", "a.tga"});
    EXPECT_EQ(levels.imageLevels.levels, (std::vector<double>{-20.0, 0.0, 150.5, 1000.0}));
    EXPECT_FALSE(levels.imageLevels.seaLevel.has_value());
    EXPECT_FALSE(levels.exaggerationGiven);
    const ViewerOptions sea = taken({"--sea-level", "-0.5", "t.tri"});
    EXPECT_EQ(sea.imageLevels.seaLevel, -0.5);
    EXPECT_TRUE(sea.imageLevels.levels.empty());

    const std::string commas = "--levels needs numbers separated by commas, not ";
    const std::vector<std::pair<std::vector<std::string>, std::string>> refused{
        {{"t.tri", "--levels"}, "--levels needs heights after it, such as 0,200,1500"},
        {{"--levels", "1,,3"}, commas + "\"1,,3\""},
        {{"--levels", "1,2,"}, commas + "\"1,2,\""},
        {{"--levels", "1;2"}, commas + "\"1;2\""},
        {{"--levels", "0,inf"}, commas + "\"0,inf\""},
        {{"--levels", "0,5,5"}, "--levels needs increasing heights, not \"0,5,5\""},
        {{"--levels", "0,5,-1"}, "--levels needs increasing heights, not \"0,5,-1\""},
        {{"t.tri", "--sea-level"}, "--sea-level needs a height after it"},
        {{"--sea-level", "low"}, "--sea-level needs a number, not \"low\""},
        {{"--sea-level", "0", "--levels", "1,2"}, "give one of --levels and --sea-level"},
    };
    for (const auto& [arguments, problem] : refused) {
        try {
            taken(arguments);
            ADD_FAILURE() << "taken: " << problem;
        } catch (const ViewerOptionException& refusal) {
            EXPECT_EQ(refusal.what(), problem);
        }
    }
}

} // namespace
} // namespace zel
