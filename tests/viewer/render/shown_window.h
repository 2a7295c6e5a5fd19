#pragma once

#include <cstdint>
#include <vector>

namespace zel::test {

// The RGB pixels that the X server shows in the current GL window (width x height from its
// top-left corner), bottom row first as glReadPixels gives them. Waits for the window to be
// mapped; returns an empty vector when it is not.
std::vector<std::uint8_t> readShownWindow(int width, int height);

} // namespace zel::test
