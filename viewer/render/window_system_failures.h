#pragma once

namespace zel {

// Routes the failures of freeglut (no display to open, say) and the X server's refusals of
// our requests (a window geometry it cannot make) to the failure report: "Program failed:",
// a line that says the window cannot be shown and why, exit status 1. Both libraries would
// otherwise print their own text and end the process themselves. Call before glutInit.
void reportWindowSystemFailures();

} // namespace zel
