#pragma once

#include "image/tga_status.h"

#include <exception>
#include <string>

namespace zel {

// A TGA file that could not be loaded: its name as passed to TgaImage::load and the
// TgaStatus of the failure. what() is "Loading: <name>" plus the kind's suffix.
struct TgaException : std::exception {
    TgaException(std::string fileName, TgaStatus kind);
    const char* what() const noexcept override;

    std::string fileName;
    TgaStatus kind;

private:
    std::string message_;
};

} // namespace zel
