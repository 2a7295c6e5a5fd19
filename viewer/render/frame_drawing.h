#pragma once

namespace zel {

// Display and idle callback: clears, draws the turning terrain, swaps buffers.
void displayFrame();

} // namespace zel
