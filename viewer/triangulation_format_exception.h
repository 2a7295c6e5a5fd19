#pragma once

#include <exception>
#include <string>

namespace zel {

// A triangulation file that is not well formed. `problem` says what is wrong and where
// ("point 3 of 10 cannot be read"); what() is "Bad triangulation file: " and the problem,
// or, once the file is known, "Bad triangulation file \"<name>\": " and the problem.
struct TriangulationFormatException : std::exception {
    explicit TriangulationFormatException(std::string problem);

    // The same problem, reported against the named file.
    TriangulationFormatException inFile(const std::string& fileName) const;

    const char* what() const noexcept override;

    std::string problem;

private:
    std::string message_;
};

} // namespace zel
