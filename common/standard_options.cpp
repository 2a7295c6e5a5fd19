#include "common/standard_options.h"

#include <iostream>
#include <string>

namespace zel {

const char* projectVersion() {
    return ZEL_VERSION;
}

std::string usageText(const ProgramDescription& program) {
    const std::string name = program.name;
    return "Usage: " + name + ' ' + program.arguments + "\n  or:  " + name +
           " --help | -h | --version\n\n" + program.description + '\n';
}

std::optional<int> answerStandardOption(int argc, const char* const* argv,
                                        const ProgramDescription& program) {
    if (argc < 2 || argv[1] == nullptr) {
        return std::nullopt;
    }
    const std::string_view option = argv[1];
    const std::string name = program.name;
    if (option == "--help" || option == "-h") {
        return writeAnswer(std::cout, std::cerr, name, usageText(program));
    }
    if (option == "--version") {
        return writeAnswer(std::cout, std::cerr, name, name + ' ' + projectVersion() + '\n');
    }
    return std::nullopt;
}

int writeAnswer(std::ostream& out, std::ostream& err, std::string_view programName,
                std::string_view text) {
    out << text << std::flush;
    if (!out) {
        err << programName << ": cannot write to standard output" << std::endl;
        return 1;
    }
    return 0;
}

} // namespace zel
