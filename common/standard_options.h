#pragma once

#include <optional>

namespace zel {

// What a program says about itself when asked with --help or --version.
struct ProgramDescription {
    const char* name;
    const char* arguments;   // the usage after the program's name
    const char* description; // one paragraph
};

// Answers --help, -h and --version given as the first argument: prints to standard output
// and returns the exit status (0). Any other first argument, or none, is left to the
// program (a file really named --help is given as ./--help), and the result is empty.
// The project's version, as --version prints it.
const char* projectVersion();

std::optional<int> answerStandardOption(int argc, const char* const* argv,
                                        const ProgramDescription& program);

} // namespace zel
