#include "tests/support/x_windows.h"

#include "image/x_image_picture.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <thread>
#include <vector>

namespace zel::test {
namespace {

Display* asDisplay(void* display) {
    return static_cast<Display*>(display);
}

// Depth-first walk of the window tree below `window`.
std::optional<Window> findNamed(Display* display, Window window, const std::string& title) {
    char* name = nullptr;
    if (XFetchName(display, window, &name) != 0 && name != nullptr) {
        const bool match = title == name;
        XFree(name);
        if (match) {
            return window;
        }
    }
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &count) == 0) {
        return std::nullopt;
    }
    const std::vector<Window> below(children, children + count);
    if (children != nullptr) {
        XFree(children);
    }
    for (const Window child : below) {
        if (auto found = findNamed(display, child, title)) {
            return found;
        }
    }
    return std::nullopt;
}

// Mapped with every ancestor: only then does input under the pointer reach it. A window is
// named before it is mapped, and a pointer event sent in between goes to the root instead.
bool isViewable(Display* display, Window window) {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display, window, &attributes) != 0 &&
           attributes.map_state == IsViewable;
}

// A window can vanish between listing it and asking for its name; that is no failure.
int ignoreErrors(Display*, XErrorEvent*) {
    return 0;
}

} // namespace

XWindows::XWindows() : display_(XOpenDisplay(nullptr)) {
    XSetErrorHandler(ignoreErrors);
}

XWindows::~XWindows() {
    if (display_ != nullptr) {
        XCloseDisplay(asDisplay(display_));
    }
}

std::optional<unsigned long> XWindows::waitForWindow(const std::string& title,
                                                     std::chrono::milliseconds timeout) {
    Display* display = asDisplay(display_);
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
        XSync(display, False);
        const auto found = findNamed(display, DefaultRootWindow(display), title);
        if (found && isViewable(display, *found)) {
            return *found;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

bool XWindows::noWindowNamed(const std::string& title) {
    Display* display = asDisplay(display_);
    XSync(display, False);
    return !findNamed(display, DefaultRootWindow(display), title).has_value();
}

std::pair<std::string, std::string> XWindows::classOf(unsigned long window) {
    XClassHint hint{};
    if (XGetClassHint(asDisplay(display_), window, &hint) == 0) {
        return {};
    }
    std::pair<std::string, std::string> names{hint.res_name, hint.res_class};
    XFree(hint.res_name);
    XFree(hint.res_class);
    return names;
}

std::pair<int, int> XWindows::sizeOf(unsigned long window) {
    XWindowAttributes attributes{};
    XGetWindowAttributes(asDisplay(display_), window, &attributes);
    return {attributes.width, attributes.height};
}

std::vector<std::uint8_t> XWindows::shownPixels(unsigned long window, int inset) {
    Display* display = asDisplay(display_);
    const auto [width, height] = sizeOf(window);
    if (width <= 2 * inset || height <= 2 * inset) {
        return {};
    }
    XImage* image =
        XGetImage(display, window, inset, inset, static_cast<unsigned>(width - 2 * inset),
                  static_cast<unsigned>(height - 2 * inset), AllPlanes, ZPixmap);
    if (image == nullptr) {
        return {};
    }
    std::vector<std::uint8_t> pixels = pictureOf(*image).bytes;
    XDestroyImage(image);
    return pixels;
}

void XWindows::pressEscape(unsigned long window) {
    Display* display = asDisplay(display_);
    XKeyEvent key{};
    key.display = display;
    key.window = window;
    key.root = DefaultRootWindow(display);
    key.subwindow = None;
    key.time = CurrentTime;
    key.same_screen = True;
    key.keycode = XKeysymToKeycode(display, XK_Escape);
    key.type = KeyPress;
    XSendEvent(display, window, True, KeyPressMask, reinterpret_cast<XEvent*>(&key));
    key.type = KeyRelease;
    XSendEvent(display, window, True, KeyReleaseMask, reinterpret_cast<XEvent*>(&key));
    XFlush(display);
}

std::vector<std::uint8_t>
XWindows::waitForShown(unsigned long window, int inset,
                       const std::function<bool(const std::vector<std::uint8_t>&)>& wanted,
                       std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::vector<std::uint8_t> shown = shownPixels(window, inset);
    while (!wanted(shown) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        shown = shownPixels(window, inset);
    }
    return shown;
}

} // namespace zel::test
