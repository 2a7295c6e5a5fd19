#include "image/tga_exception.h"

#include "image/tga_status.h"

#include <utility>

namespace zel {

namespace {

const char* suffixOf(int kind) {
    switch (kind) {
    case NotFound:
        return " - not found";
    case MemoryAllocationFailed:
        return " - memory allocation failed";
    case BadImageFormat:
        return " - bad image format";
    case UnsupportedImageFormat:
        return " - unsupported image format";
    default:
        return "";
    }
}

} // namespace

TGAException::TGAException(std::string name, int failureKind)
    : fileName(std::move(name)), kind(failureKind),
      message("Loading: " + fileName + suffixOf(kind)) {}

const char* TGAException::what() const noexcept {
    return message.c_str();
}

} // namespace zel
