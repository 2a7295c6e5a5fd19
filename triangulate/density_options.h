#pragma once

#include "triangulate/density_landscape.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace zel {

// The density options as the command line gives them, in any order.
struct DensityOptions {
    bool asked = false;       // --density
    std::string firstSetting; // the first of --bandwidth, --cells and --log, if any
    DensitySettings settings;
};

// True when `argument` is --density, --bandwidth, --cells or --log.
bool isDensityOption(const std::string& argument);

// Takes the density option at arguments[i], and its value from arguments[i + 1], moving i past
// it. False, with `problem` saying why, for a missing or bad value: a bandwidth is a positive
// number, the cells a whole number from 2 to mostDensityCells.
bool readDensityOption(const std::vector<std::string>& arguments, std::size_t& i,
                       DensityOptions& options, std::string& problem);

// Why the options cannot go together, or nothing: --density makes a grid of its own, so
// neither --elevation nor --max-edge has a meaning beside it, and the settings have none
// without it.
std::string densityConflict(const DensityOptions& options, bool elevation, bool maxEdge);

// The settings when --density is asked for.
std::optional<DensitySettings> densityRequest(const DensityOptions& options);

} // namespace zel
