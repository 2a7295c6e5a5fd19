#pragma once

#include <stdexcept>

namespace zel {

// The point file cannot be opened or read. The text is the whole message for the user and
// names the file and, for a read, the item that failed.
struct PointFileException : std::runtime_error {
    using std::runtime_error::runtime_error;
};

} // namespace zel
