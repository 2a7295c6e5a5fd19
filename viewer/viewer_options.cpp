#include "viewer/viewer_options.h"

#include "common/number_token.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

namespace zel {
namespace {

double exaggerationFactor(const char* text) {
    if (text == nullptr) {
        throw ViewerOptionException("--exaggeration needs a factor after it");
    }
    double factor = 0.0;
    if (parseNumber(std::string_view(text), factor) != NumberProblem::None || !(factor > 0.0) ||
        !std::isfinite(factor)) {
        throw ViewerOptionException("--exaggeration needs a positive number, not \"" +
                                    std::string(text) + "\"");
    }
    return factor;
}

// A height given on the command line, or why it is none.
bool readHeight(std::string_view text, double& height) {
    return parseNumber(text, height) == NumberProblem::None && std::isfinite(height);
}

std::vector<double> levelHeights(const char* text) {
    if (text == nullptr) {
        throw ViewerOptionException("--levels needs heights after it, such as 0,200,1500");
    }
    const std::string_view list(text);
    std::vector<double> levels;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        double height = 0.0;
        if (!readHeight(list.substr(start, comma - start), height)) {
            throw ViewerOptionException("--levels needs numbers separated by commas, not \"" +
                                        std::string(list) + "\"");
        }
        if (!levels.empty() && !(height > levels.back())) {
            throw ViewerOptionException("--levels needs increasing heights, not \"" +
                                        std::string(list) + "\"");
        }
        levels.push_back(height);
        if (comma == list.size()) {
            return levels;
        }
        start = comma + 1;
    }
}

double seaLevel(const char* text) {
    if (text == nullptr) {
        throw ViewerOptionException("--sea-level needs a height after it");
    }
    double height = 0.0;
    if (!readHeight(text, height)) {
        throw ViewerOptionException("--sea-level needs a number, not \"" + std::string(text) +
                                    "\"");
    }
    return height;
}

} // namespace

ViewerOptions takeViewerOptions(int& argc, char** argv) {
    ViewerOptions options;
    int kept = argc > 0 ? 1 : 0;
    for (int i = kept; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--elevation") {
            options.elevation = true;
        } else if (argument == "--exaggeration") {
            options.exaggeration = exaggerationFactor(i + 1 < argc ? argv[i + 1] : nullptr);
            options.exaggerationGiven = true;
            ++i;
        } else if (argument == "--levels") {
            options.imageLevels.levels = levelHeights(i + 1 < argc ? argv[i + 1] : nullptr);
            ++i;
        } else if (argument == "--sea-level") {
            options.imageLevels.seaLevel = seaLevel(i + 1 < argc ? argv[i + 1] : nullptr);
            ++i;
        } else {
            argv[kept++] = argv[i];
        }
    }
    for (int i = kept; i < argc; ++i) {
        argv[i] = nullptr;
    }
    argc = kept;
    if (!options.imageLevels.levels.empty() && options.imageLevels.seaLevel) {
        throw ViewerOptionException("give one of --levels and --sea-level");
    }
    return options;
}

void checkLevelCount(const ViewerOptions& options, std::size_t imageCount) {
    const std::size_t count = options.imageLevels.levels.size();
    if (count > 0 && count != imageCount) {
        throw ViewerOptionException(
            "--levels gives " + std::to_string(count) + (count == 1 ? " height" : " heights") +
            ", one for each image, but there " +
            (imageCount == 1 ? "is 1 image" : "are " + std::to_string(imageCount) + " images"));
    }
}

} // namespace zel
