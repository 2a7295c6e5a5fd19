#pragma once

namespace zel {

// Saves the frame just drawn (the back buffer, width x height pixels) as a PNG in the
// working directory under the first free name tessaro-0001.png, tessaro-0002.png, ...
// and prints "Screenshot saved: <path>" on standard output. An existing file is never
// overwritten. A failure is reported on standard error and the viewer goes on.
void saveScreenshot(int width, int height);

} // namespace zel
