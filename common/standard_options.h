#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace zel {

// The exit status of a run that failed, and of a command line that Planor or triangulate does
// not understand (they print their usage with it). Tessaro's usage errors exit with
// failureExit, as they always have: its users and scripts know it so.
inline constexpr int failureExit = 1;
inline constexpr int usageErrorExit = 2;

// What a program says about itself when asked with --help or --version.
struct ProgramDescription {
    const char* name;
    const char* arguments;   // the usage after the program's name; further forms each on a line
                             // of their own, "  or:  <name> ..."
    const char* description; // one paragraph
};

// The answer to --help: "Usage: <name> <arguments>", "  or:  <name> --help | -h | --version",
// a blank line, then the description.
std::string usageText(const ProgramDescription& program);

// The project's version, as --version prints it.
const char* projectVersion();

// Answers --help, -h and --version given as the first argument: prints to standard output
// and returns the exit status (as writeAnswer). Any other first argument, or none, is left to
// the program (a file really named --help is given as ./--help), and the result is empty.
std::optional<int> answerStandardOption(int argc, const char* const* argv,
                                        const ProgramDescription& program);

// Writes a program's answer to --help or --version to `out` and flushes it. Returns 0, or 1
// when the text cannot be written (standard output on a full disk): a help text that never
// arrived is a failure the caller must see, so `err` then gets "<programName>: cannot write
// to standard output".
int writeAnswer(std::ostream& out, std::ostream& err, std::string_view programName,
                std::string_view text);

} // namespace zel
