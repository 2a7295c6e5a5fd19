#include "viewer/render/window_system_failures.h"

#include <GL/freeglut.h>
#include <X11/Xlib.h>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

namespace zel {
namespace {

// Neither library may be returned to: freeglut ends the process after its error callback,
// and Xlib's requests are not safe to go on with after a refusal. So the report ends the
// process here, with the exit status of every other failure, and at once: the clean-up of a
// normal exit would talk to the X server again and only draw further refusals.
[[noreturn]] void failToShowTheWindow(const std::string& why) {
    std::cout.flush();
    std::cerr << "Program failed:" << std::endl << "Cannot show the window: " << why << std::endl;
    std::_Exit(1);
}

extern "C" void onFreeglutError(const char* format, va_list arguments) {
    char text[512];
    std::vsnprintf(text, sizeof text, format, arguments);
    failToShowTheWindow(text);
}

extern "C" int onXError(Display* display, XErrorEvent* error) {
    char text[256];
    XGetErrorText(display, error->error_code, text, sizeof text);
    failToShowTheWindow(std::string("the X server refused a request (") + text + ")");
}

} // namespace

void reportWindowSystemFailures() {
    glutInitErrorFunc(onFreeglutError);
    XSetErrorHandler(onXError);
}

} // namespace zel
