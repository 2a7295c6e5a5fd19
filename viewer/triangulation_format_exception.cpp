#include "viewer/triangulation_format_exception.h"

#include <utility>

namespace zel {

TriangulationFormatException::TriangulationFormatException(std::string whatIsWrong)
    : problem(std::move(whatIsWrong)), message("Bad triangulation file: " + problem) {}

TriangulationFormatException
TriangulationFormatException::inFile(const std::string& fileName) const {
    TriangulationFormatException located(problem);
    located.message = "Bad triangulation file \"" + fileName + "\": " + problem;
    return located;
}

const char* TriangulationFormatException::what() const noexcept {
    return message.c_str();
}

} // namespace zel
