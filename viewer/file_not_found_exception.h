#pragma once

#include <exception>

namespace zel {

struct FileNotFoundException : std::exception {
    const char* what() const noexcept override { return "File not found"; }
};

} // namespace zel
