#include "common/standard_options.h"

#include <iostream>
#include <string_view>

namespace zel {

const char* projectVersion() {
    return ZEL_VERSION;
}

std::optional<int> answerStandardOption(int argc, const char* const* argv,
                                        const ProgramDescription& program) {
    if (argc < 2 || argv[1] == nullptr) {
        return std::nullopt;
    }
    const std::string_view option = argv[1];
    if (option == "--help" || option == "-h") {
        std::cout << "Usage: " << program.name << ' ' << program.arguments << "\n\n"
                  << program.description << std::endl;
        return 0;
    }
    if (option == "--version") {
        std::cout << program.name << ' ' << projectVersion() << std::endl;
        return 0;
    }
    return std::nullopt;
}

} // namespace zel
