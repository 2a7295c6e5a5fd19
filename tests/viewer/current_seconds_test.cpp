#include "viewer/current_seconds.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace zel {
namespace {

TEST(CurrentSeconds, NeverRunsBackwards) {
    double previous = currentSeconds();
    for (int i = 0; i < 100000; ++i) {
        const double now = currentSeconds();
        ASSERT_GE(now, previous);
        previous = now;
    }
}

TEST(CurrentSeconds, MeasuresASleepInSeconds) {
    const double before = currentSeconds();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const double elapsed = currentSeconds() - before;
    EXPECT_GE(elapsed, 0.0199);
    EXPECT_LT(elapsed, 10.0);
}

} // namespace
} // namespace zel
