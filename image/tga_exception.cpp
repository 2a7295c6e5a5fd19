#include "image/tga_exception.h"

#include <utility>

namespace zel {

namespace {

const char* suffixOf(TgaStatus kind) {
    using enum TgaStatus;
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

TgaException::TgaException(std::string name, TgaStatus failureKind)
    : fileName(std::move(name)), kind(failureKind),
      message_("Loading: " + fileName + suffixOf(kind)) {}

const char* TgaException::what() const noexcept {
    return message_.c_str();
}

} // namespace zel
