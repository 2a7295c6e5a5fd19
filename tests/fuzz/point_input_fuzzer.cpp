// Reads arbitrary bytes as a points file for triangulate, with the heights dropped and kept.
// A malformed file must be refused with PointInputException naming the file; an accepted one
// must give finite coordinates, and a height for every point when they are kept.
#include "triangulate/point_input.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const zel::Heights heights : {zel::Heights::Dropped, zel::Heights::Kept}) {
        try {
            const zel::PointSet set = zel::parsePointSet(text, "fuzz.txt", heights);
            const bool kept = heights == zel::Heights::Kept;
            if (set.heights.size() != (kept ? set.points.size() : 0)) {
                std::abort();
            }
            for (std::size_t i = 0; i < set.points.size(); ++i) {
                if (!std::isfinite(set.points[i].x) || !std::isfinite(set.points[i].y) ||
                    (kept && !std::isfinite(set.heights[i]))) {
                    std::abort();
                }
            }
        } catch (const zel::PointInputException& refused) {
            if (std::string_view(refused.what()).rfind("fuzz.txt:", 0) != 0) {
                std::abort();
            }
        }
    }
    return 0;
}
