#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace zel {

struct PlanePoint {
    double x;
    double y;
};

// A point file that cannot be opened or is malformed. The text names the file and, for a
// malformed file, the line: "<file>:<line>: <what is wrong>".
struct PointInputException : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Reads the x and y of every point in the file, in file order. The form is told from the
// content:
// - a count on a line of its own, then that many "x y" pairs or "x y z" triples (the
//   input of Planor and the point section it writes; line ends carry no meaning here);
// - lines of two or more numbers, x and y first (XYZ files);
// - CSV, when the first line holds a comma or a semicolon (the semicolon wins when both
//   appear): x and y are the first two fields, or the fields that a header row names x/y,
//   easting/northing, lon/lat or longitude/latitude. Other fields are not read.
// Every number is a whole token (or a whole field), finite, in the range of a double.
std::vector<PlanePoint> readPointFile(const std::string& name);

// The same, from text already in memory; `name` only labels the messages.
std::vector<PlanePoint> parsePoints(std::string_view text, const std::string& name);

} // namespace zel
