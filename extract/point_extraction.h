#pragma once

#include <cstdint>
#include <istream>
#include <ostream>
#include <string>

namespace zel {

// Reads a point count N and then N triples x y z (whitespace-separated, in any line layout)
// from `points`, and writes N on one line and then "x y" for every triple on a line of its
// own, flushing each line. x and y are single-precision floats written with the stream's
// default six significant digits; z is read and dropped; whatever follows the N-th triple is
// not looked at. Returns N.
//
// Stops at the first item that cannot be read and throws PointFileException naming
// `pointsName`, the item and why; stops when `out` fails and throws OutputFileException
// naming `outName`.
std::uint32_t extractPoints(std::istream& points, const std::string& pointsName, std::ostream& out,
                            const std::string& outName);

// extractPoints from the file `inputName` into the file `outputName`. The output file appears
// only when the whole input has been read and written (see StagedOutputFile); it is not touched
// when the input cannot be opened. Returns the number of points.
//
// Throws PointFileException "Cannot open file: <inputName>" and the exceptions of
// extractPoints and StagedOutputFile.
std::uint32_t extractPointFile(const std::string& inputName, const std::string& outputName);

// extractPoints from the file `inputName` into `out`, an open stream such as standard output,
// which `outName` names in messages. Throws as extractPointFile does.
std::uint32_t extractPointFile(const std::string& inputName, std::ostream& out,
                               const std::string& outName);

} // namespace zel
