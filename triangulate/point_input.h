#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
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

// The points of a file, their heights when they are kept, and whether they are longitudes and
// latitudes in degrees.
struct PointSet {
    std::vector<PlanePoint> points;
    std::vector<double> heights; // the third coordinate of every point, or none
    bool geographic = false;
};

// Whether the reader keeps each point's third coordinate or drops it unread.
enum class Heights { Dropped, Kept };

// The file name that stands for standard input (and, as the output, for standard output).
inline constexpr std::string_view standardStreamName = "-";

// A token longer than this is refused: no number is that long, and an endless one (from
// /dev/zero, say) must not fill memory.
inline constexpr std::size_t longestToken = std::size_t{1} << 20;

// Reads the x and y of every point in the file, in file order; the name "-" reads standard
// input. The form is told from the content:
// - a count on a line of its own, then that many "x y" pairs or "x y z" triples (the
//   input of Planor and the point section it writes; line ends carry no meaning here);
// - lines of two or more numbers, x and y first (XYZ files);
// - CSV (RFC 4180), when the first line holds a comma or a semicolon (the semicolon wins
//   when both appear).
// Lines whose first character other than whitespace is '#' are comments, except among the
// records of a CSV file. In CSV and XYZ files the first line is a header when none of the
// fields read from it (x and y in CSV, every number in XYZ) is a number; a header that names
// x/y, easting/northing or a longitude (lon, lng, long, longitude) and a latitude (lat,
// latitude) takes x and y from those fields, and the last pair makes the set geographic.
// Other CSV fields are not read. Every number is a whole token (or a whole field), finite,
// in the range of a double.
// With Heights::Kept the third coordinate is read too: the third of each triple in the
// counted form, else the field a header names z, elevation, height, elev, alt or altitude,
// or failing such a name the field after x and y. Every point must have it; a file whose form
// holds none (pairs after the count, a first point or a header without that field) is refused
// as a whole: "<file>: --elevation needs a third coordinate (x y z)".
PointSet readPointSet(const std::string& name, Heights heights = Heights::Dropped);

// The same, from text already in memory; `name` only labels the messages.
PointSet parsePointSet(std::string_view text, const std::string& name,
                       Heights heights = Heights::Dropped);

// The name that messages give the file `name` of readPointSet: "standard input" for "-".
std::string pointFileLabel(const std::string& name);

// The points alone.
std::vector<PlanePoint> parsePoints(std::string_view text, const std::string& name);

} // namespace zel
