#pragma once

namespace zel {

// Seconds on a monotonic clock with an arbitrary origin; only differences are meaningful.
double currentSeconds();

} // namespace zel
