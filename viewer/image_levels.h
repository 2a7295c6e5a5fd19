#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace zel {

struct TerrainModel;

// Where the images are pure, in the data's own heights: evenly from the lowest ground to the
// highest (neither option given), at one given height each (--levels), or the first at and
// below a sea level and the others evenly from there to the highest ground (--sea-level).
struct ImageLevels {
    std::vector<double> levels;     // --levels, increasing; empty without it
    std::optional<double> seaLevel; // --sea-level

    bool even() const { return levels.empty() && !seaLevel; }
};

// The height at which each of `imageCount` images is pure, for ground from `lowest` to
// `highest`, in their units; `placement.levels`, when given, must hold one per image. Under a
// sea level the first two are the sea level itself: the first image holds everything at or
// below it, the second begins just above it.
std::vector<double> pureImageHeights(const ImageLevels& placement, std::size_t imageCount,
                                     double lowest, double highest);

// The heights at which `imageCount` images placed by `placement` are pure on `model`'s
// ground, in the data's own heights: its ground as it stands (its bounding box at its
// exaggeration, mapped back through its frame). For a legend.
std::vector<double> pureImageHeights(const TerrainModel& model, const ImageLevels& placement,
                                     std::size_t imageCount);

} // namespace zel
