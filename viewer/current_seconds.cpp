#include "viewer/current_seconds.h"

#include <cstdint>
#include <time.h>

namespace zel {
namespace {

// A microsecond counter: counter x 1000 stays inside 64 bits for about 292 years of uptime,
// where a nanosecond counter would overflow after about 106 days.
constexpr std::int64_t counterFrequency = 1'000'000;

std::int64_t readCounter() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * counterFrequency + now.tv_nsec / 1000;
}

} // namespace

double currentSeconds() {
    const std::int64_t milliTicks = readCounter() * 1000;
    return static_cast<double>(milliTicks) / static_cast<double>(counterFrequency) * 0.001;
}

} // namespace zel
