#pragma once

#include <exception>
#include <string>

namespace zel {

// A TGA file that could not be loaded: its name as passed to TGAImage::load and the
// TGAStatus of the failure. what() is "Loading: <name>" plus the kind's suffix.
struct TGAException : std::exception {
    TGAException(std::string fileName, int kind);
    const char* what() const noexcept override;

    std::string fileName;
    int kind;

private:
    std::string message;
};

} // namespace zel
