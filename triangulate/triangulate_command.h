#pragma once

#include "common/standard_options.h"

#include <ostream>
#include <string>
#include <vector>

namespace zel {

// What triangulate says about itself for --help and --version.
extern const ProgramDescription triangulateProgram;

// The triangulate program: `arguments` are its command-line arguments without the program's
// name. Writes its messages to `out` and `err` and returns the exit status: 0 on success
// (warnings included) and for --help (anywhere among the arguments), 1 when a file cannot be
// read or written (the help text included), 2 for a command line it does not understand.
int runTriangulate(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace zel
