#include "triangulate/density_options.h"

#include "triangulate/option_value.h"

namespace zel {

namespace {

constexpr std::uint32_t fewestCells = 2;

} // namespace

bool isDensityOption(const std::string& argument) {
    return argument == "--density" || argument == "--bandwidth" || argument == "--cells" ||
           argument == "--log";
}

bool readDensityOption(const std::vector<std::string>& arguments, std::size_t& i,
                       DensityOptions& options, std::string& problem) {
    const std::string& option = arguments[i];
    if (option == "--density") {
        options.asked = true;
        return true;
    }
    if (options.firstSetting.empty()) {
        options.firstSetting = option;
    }
    if (option == "--log") {
        options.settings.logarithmic = true;
        return true;
    }
    ++i;
    const std::string* text = i < arguments.size() ? &arguments[i] : nullptr;
    if (option == "--bandwidth") {
        options.settings.bandwidth = positiveNumberAfter(option, "a length", text, problem);
        return options.settings.bandwidth.has_value();
    }
    const std::optional<std::uint32_t> cells =
        wholeNumberAfter(option, "a number of cells", fewestCells, mostDensityCells, text, problem);
    options.settings.cells = cells.value_or(options.settings.cells);
    return cells.has_value();
}

std::string densityConflict(const DensityOptions& options, bool elevation, bool maxEdge) {
    if (!options.asked) {
        return options.firstSetting.empty() ? "" : options.firstSetting + " goes with --density";
    }
    if (elevation) {
        return "give one of --density and --elevation";
    }
    return maxEdge ? "give one of --density and --max-edge" : "";
}

std::optional<DensitySettings> densityRequest(const DensityOptions& options) {
    return options.asked ? std::optional<DensitySettings>(options.settings) : std::nullopt;
}

} // namespace zel
