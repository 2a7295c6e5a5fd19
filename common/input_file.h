#pragma once

#include <fstream>
#include <memory>
#include <string>

namespace zel {

// A file opened for reading, or the reason it could not be.
struct InputFile {
    std::unique_ptr<std::ifstream> stream; // null when the file cannot be read
    int error = 0;                         // the errno value of the failure, else 0
};

// Opens the file `name` for reading as bytes. A directory, which opens like a file but
// fails at its first read, counts as a file that cannot be opened (EISDIR). Each program says
// in its own words that a file is missing; this is where all of them find it out.
InputFile openInputFile(const std::string& name);

} // namespace zel
