// Reads arbitrary bytes as a points file for triangulate. A malformed file must be refused
// with PointInputException naming a line; an accepted one must give finite coordinates.
#include "triangulate/point_input.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        for (const zel::PlanePoint& p : zel::parsePoints(text, "fuzz.txt")) {
            if (!std::isfinite(p.x) || !std::isfinite(p.y)) {
                std::abort();
            }
        }
    } catch (const zel::PointInputException& refused) {
        if (std::string_view(refused.what()).rfind("fuzz.txt:", 0) != 0) {
            std::abort();
        }
    }
    return 0;
}
