// Planor: turns a file of 3-D points into the point section of a triangulation file.

#include "common/printable_text.h"
#include "common/staged_output_file.h"
#include "common/standard_options.h"
#include "common/standard_streams.h"
#include "extract/point_extraction.h"

#include <exception>
#include <iostream>

namespace {

constexpr zel::ProgramDescription planorProgram{
    "Planor", "<in-file> <out-file>",
    "Turns a file of 3-D points into the point section of a triangulation file. The input\n"
    "holds a point count N and N triples x y z; the output gets N on its first line, then\n"
    "x y for each point, one per line. The third coordinate is dropped. The output file\n"
    "appears only when the run succeeds."};

void printUsage(const char* programName) {
    std::cout << "This program extracts 2D points from 3D points" << std::endl;
    std::cout << "Usage: " << programName << "<in-file> <out-file>" << std::endl;
}

} // namespace

int main(int argc, char* argv[]) {
    if (zel::openClosedStandardStreams().output) {
        // Nothing written to it reaches anyone, so the summary counts as not written.
        std::cout.setstate(std::ios::badbit);
    }
    if (const auto answered = zel::answerStandardOption(argc, argv, planorProgram)) {
        return *answered;
    }
    if (argc != 3) {
        // A process may be started with an empty argument vector.
        printUsage(argc > 0 && argv[0] != nullptr ? argv[0] : "Planor");
        return zel::usageErrorExit;
    }
    try {
        // The points then go out through standard output itself, and the summary beside them.
        const bool toStandardOutput = zel::namesStandardOutput(argv[2]);
        const auto count = toStandardOutput ? zel::extractPointFile(argv[1], std::cout, argv[2])
                                            : zel::extractPointFile(argv[1], argv[2]);
        std::ostream& summary = toStandardOutput ? std::cerr : std::cout;
        summary << "Extracted " << count << " points" << std::endl;
        if (!summary) {
            std::cerr << "Cannot write the summary line to standard output" << std::endl;
            return zel::failureExit;
        }
        return 0;
    } catch (const std::exception& failure) {
        std::cerr << zel::printableText(failure.what()) << std::endl;
        return zel::failureExit;
    }
}
