#include "viewer/viewer_options.h"

#include "common/number_token.h"

#include <cmath>
#include <string_view>

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
            ++i;
        } else {
            argv[kept++] = argv[i];
        }
    }
    for (int i = kept; i < argc; ++i) {
        argv[i] = nullptr;
    }
    argc = kept;
    return options;
}

} // namespace zel
