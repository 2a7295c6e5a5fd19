#include "viewer/automatic_exaggeration.h"

#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace zel {
namespace {

TEST(RoundNumber, NearestOfOneTwoAndFiveByRatio) {
    struct Case {
        double value;
        double rounded;
    };
    // The boundaries lie at the geometric means: 1.414..., 3.162..., 7.071...
    const std::vector<Case> cases{
        {1.0, 1.0},     {1.41, 1.0},  {1.42, 2.0},    {3.16, 2.0}, {3.17, 5.0},
        {7.07, 5.0},    {7.08, 10.0}, {20.8, 20.0},   {0.3, 0.2},  {0.0035, 0.005},
        {45000.0, 5e4}, {9.99, 10.0}, {104.0, 100.0}, {2.5, 2.0},  {12.5, 10.0},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(roundNumber(c.value), c.rounded) << c.value;
    }
}

// A square 200 units wide, its heights from 10 to 10 + relief.
std::optional<AutomaticExaggeration> forRelief(float relief) {
    const std::vector<Point2> square{{-100.0f, -100.0f}, {100.0f, -100.0f}, {100.0f, 60.0f}};
    return automaticExaggeration(square, {10.0f, 10.0f + relief, 10.0f + relief / 2.0f});
}

TEST(AutomaticExaggeration, OnlyForReliefUnderATwentiethOfTheWidth) {
    // 1.2 of 200 is 0.6%: an eighth (25) wants 20.8, which rounds to 20.
    const auto flat = forRelief(1.2f);
    ASSERT_TRUE(flat.has_value());
    EXPECT_EQ(flat->factor, 20.0);
    EXPECT_NEAR(flat->reliefPercent, 0.6, 1e-6);
    EXPECT_EQ(describe(*flat), "Exaggeration: 20 (true relief is 0.6% of the width; "
                               "--exaggeration 1 shows true proportions)");
    // Just under a twentieth (10 units) still wants 2.5: 2 by ratio.
    const auto nearly = forRelief(9.99f);
    ASSERT_TRUE(nearly.has_value());
    EXPECT_EQ(nearly->factor, 2.0);
    EXPECT_FALSE(forRelief(10.0f).has_value());
    EXPECT_FALSE(forRelief(80.0f).has_value());
    EXPECT_FALSE(forRelief(0.0f).has_value());
    // A tiny relief over a wide field: 0.002 of 200 wants 12500.
    const auto tiny = forRelief(0.002f);
    ASSERT_TRUE(tiny.has_value());
    EXPECT_EQ(tiny->factor, 10000.0);
    EXPECT_EQ(describe(*tiny), "Exaggeration: 10000 (true relief is 0.001% of the width; "
                               "--exaggeration 1 shows true proportions)");
    EXPECT_FALSE(automaticExaggeration({}, {}).has_value());
    // 20 times 3e37 is beyond a float: the terrain starts as it is.
    const std::vector<Point2> wide{{-1e37f, -1e37f}, {1e37f, 1e37f}};
    EXPECT_FALSE(automaticExaggeration(wide, {3e37f, 2.99e37f}).has_value());
}

} // namespace
} // namespace zel
