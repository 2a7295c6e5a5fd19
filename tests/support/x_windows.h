#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zel::test {

// A client connection to the X display that DISPLAY names, for looking at the windows
// that another process opens there.
class XWindows {
public:
    XWindows();
    ~XWindows();
    XWindows(const XWindows&) = delete;
    XWindows& operator=(const XWindows&) = delete;

    bool connected() const { return display_ != nullptr; }

    // The first window, anywhere in the tree, whose name (WM_NAME) is `title`; waits up to
    // `timeout` for it to appear and be mapped (viewable).
    std::optional<unsigned long> waitForWindow(const std::string& title,
                                               std::chrono::milliseconds timeout);

    // True when no window named `title` exists now.
    bool noWindowNamed(const std::string& title);

    // The instance and class names of a window's WM_CLASS, empty when it has none.
    std::pair<std::string, std::string> classOf(unsigned long window);

    // Width and height of a window.
    std::pair<int, int> sizeOf(unsigned long window);

    // The RGB bytes that the server shows inside `window`, less a margin of `inset` pixels
    // on every side (a window may reach a pixel beyond the screen's edge). Empty on failure.
    std::vector<std::uint8_t> shownPixels(unsigned long window, int inset);

    // shownPixels, read again every tenth of a second until `wanted` holds for them or
    // `timeout` has passed: a frame may be long in coming on a busy machine. Returns the last.
    std::vector<std::uint8_t>
    waitForShown(unsigned long window, int inset,
                 const std::function<bool(const std::vector<std::uint8_t>&)>& wanted,
                 std::chrono::milliseconds timeout);

    // Delivers a press and release of the Escape key to `window`.
    void pressEscape(unsigned long window);

private:
    void* display_ = nullptr;
};

} // namespace zel::test
