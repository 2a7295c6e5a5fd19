#pragma once

namespace zel::test {

// Opens (once per process) a freeglut window of width x height with an RGB, double-buffered,
// depth-buffered context on a private Xvfb, and makes its context current. Later calls
// return the same window and only make it current again. Returns the window id.
int openGlTestWindow(int width = 256, int height = 256);

} // namespace zel::test
