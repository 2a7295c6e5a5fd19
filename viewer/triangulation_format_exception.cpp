#include "viewer/triangulation_format_exception.h"

#include <utility>

namespace zel {

TriangulationFormatException::TriangulationFormatException(std::string whatIsWrong)
    : problem(std::move(whatIsWrong)), message_("Bad triangulation file: " + problem) {}

TriangulationFormatException
TriangulationFormatException::inFile(const std::string& fileName) const {
    TriangulationFormatException located(problem);
    located.message_ = "Bad triangulation file \"" + fileName + "\": " + problem;
    return located;
}

const char* TriangulationFormatException::what() const noexcept {
    return message_.c_str();
}

} // namespace zel
