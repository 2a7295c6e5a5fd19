#pragma once

#include <string>

namespace zel::test {

// Starts one private Xvfb for this test process (the first call does it) and points
// DISPLAY at it. Xvfb picks a free display number itself (-displayfd), so parallel test
// runs never collide. Returns the display name (":N"); throws std::runtime_error when
// Xvfb cannot be started or does not become ready. The server ends with the process.
const std::string& startPrivateDisplay();

} // namespace zel::test
