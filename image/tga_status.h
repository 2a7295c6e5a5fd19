#pragma once

namespace zel {

// Outcome of a TGA load. The values are fixed: 1, 2, 4, 8 and 64.
enum class TgaStatus {
    Success = 1,
    NotFound = 2,
    MemoryAllocationFailed = 4,
    BadImageFormat = 8,
    UnsupportedImageFormat = 64,
};

} // namespace zel
