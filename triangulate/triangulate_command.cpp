#include "triangulate/triangulate_command.h"

#include "common/file_identity.h"
#include "common/number_token.h"
#include "common/printable_text.h"
#include "common/standard_options.h"
#include "triangulate/delaunay_triangles.h"
#include "triangulate/framing.h"
#include "triangulate/geographic_projection.h"
#include "triangulate/long_edge_filter.h"
#include "triangulate/message_number.h"
#include "triangulate/point_input.h"
#include "triangulate/triangulation_writer.h"

#include <cerrno>
#include <cstring>
#include <exception>
#include <iomanip>
#include <new>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace zel {

namespace {

constexpr int failureExit = 1;
constexpr int usageErrorExit = 2;
constexpr std::size_t fewestForATriangle = 3;
constexpr int warningDigits = 10;

constexpr const char* usage =
    "Usage: triangulate [--center | --fit] <points-file> <triangulation-file>\n"
    "  or:  triangulate --help | -h | --version\n"
    "Writes the Delaunay triangulation of the points as a triangulation file for Tessaro;\n"
    "with --elevation, as a terrain file for Tessaro --elevation, each point with its z.\n"
    "The points file holds a count then \"x y\" or \"x y z\" per point, or lines of two or\n"
    "more numbers (x y first), or CSV (x and y: the first two columns, or the columns named\n"
    "x/y, easting/northing or lon/lat). z is read and dropped, unless --elevation keeps it.\n"
    "Longitudes and latitudes are projected to metres. Either file may be -, for standard\n"
    "input or standard output.\n"
    "  --center            move the centre of the points to the origin (and with\n"
    "                      --elevation the lowest z to 0)\n"
    "  --fit               also scale them so that the longer side spans 200 units, as the\n"
    "                      viewer shows them whole (z by the same factor)\n"
    "  --elevation, -z     keep each point's z (the third number, or the CSV column named\n"
    "                      z, elevation, height, elev, alt or altitude) and write a terrain\n"
    "                      file for Tessaro --elevation\n"
    "  --max-edge <length> leave out every triangle with an edge longer than length across\n"
    "                      the ground, in the units written (after --center or --fit)\n"
    "  --no-projection     keep longitudes and latitudes in degrees\n"
    "  --help              print this text (also -h)\n"
    "  --version           print the program's version\n";

struct Request {
    FramingMode framing = FramingMode::AsGiven;
    bool projection = true;
    bool elevation = false;
    std::optional<double> maxEdge;
    std::string pointsFile;
    std::string triangulationFile;
};

// The file is in place, but the lines that say what it holds are lost.
struct SummaryNotWritten {};

struct ParsedCommandLine {
    std::optional<Request> request;
    bool help = false;
    std::string problem;
};

// The length after --max-edge, or why there is none.
std::optional<double> edgeLength(const std::string* text, std::string& problem) {
    if (text == nullptr) {
        problem = "--max-edge needs a length after it";
        return std::nullopt;
    }
    double length = 0.0;
    if (parseNumber(*text, length) != NumberProblem::None || !(length > 0.0)) {
        problem = "--max-edge needs a positive number, not \"" + printableText(*text) + "\"";
        return std::nullopt;
    }
    return length;
}

ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    ParsedCommandLine parsed;
    Request request;
    std::vector<std::string> files;
    bool framed = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            parsed.help = true;
            return parsed;
        }
        if (argument == "--center" || argument == "--fit") {
            if (framed) {
                parsed.problem = "give one of --center and --fit";
                return parsed;
            }
            framed = true;
            request.framing = argument == "--fit" ? FramingMode::Fit : FramingMode::Center;
        } else if (argument == "--no-projection") {
            request.projection = false;
        } else if (argument == "--elevation" || argument == "-z") {
            request.elevation = true;
        } else if (argument == "--max-edge") {
            ++i;
            request.maxEdge =
                edgeLength(i < arguments.size() ? &arguments[i] : nullptr, parsed.problem);
            if (!request.maxEdge) {
                return parsed;
            }
        } else if (argument.size() > 1 && argument[0] == '-') {
            parsed.problem = "unknown option " + argument;
            return parsed;
        } else {
            files.push_back(argument);
        }
    }
    if (files.size() != 2) {
        parsed.problem = "expected a points file and a triangulation file";
        return parsed;
    }
    request.pointsFile = files[0];
    request.triangulationFile = files[1];
    parsed.request = request;
    return parsed;
}

// "1 point", "3 points".
std::string counted(std::size_t count, const std::string& noun) {
    return std::to_string(count) + ' ' + noun + (count == 1 ? "" : "s");
}

void warnIfOutsideViewerField(const Bounds& bounds, std::ostream& err) {
    if (outsideViewerField(bounds)) {
        // Enough digits to tell projected coordinates apart, not so many as to blur them.
        err << std::setprecision(warningDigits) << "triangulate: warning: the points span "
            << bounds.longerSide() << (bounds.longerSide() == 1.0 ? " unit" : " units")
            << " around (" << bounds.centerX() << ", " << bounds.centerY()
            << "), but the viewer shows about " << viewerFieldSize
            << " units around the origin; --fit frames them" << std::endl;
    }
}

void warnIfNoTriangles(const DelaunayTriangles& result, std::size_t pointCount, std::ostream& err) {
    if (result.collinear) {
        err << "triangulate: warning: all points lie on one line, so there are no triangles"
            << std::endl;
    } else if (pointCount - result.duplicates < fewestForATriangle) {
        err << "triangulate: warning: fewer than three distinct points, so there are no "
               "triangles"
            << std::endl;
    }
}

// "<file>: cannot be created: <reason>", or "cannot be written", with the reason when known.
std::string outputProblem(const OutputFileException& failure) {
    const char* what = failure.failure() == OutputFileException::Failure::Create
                           ? ": cannot be created"
                           : ": cannot be written";
    const std::string reason =
        failure.error() != 0 ? std::string(": ") + std::strerror(failure.error()) : "";
    return failure.name() + what + reason;
}

// The points as read, projected to metres when they are degrees and projection is asked for.
PointSet readPoints(const Request& request, std::ostream& notes) {
    PointSet set =
        readPointSet(request.pointsFile, request.elevation ? Heights::Kept : Heights::Dropped);
    if (set.geographic && request.projection) {
        try {
            const EquirectangularProjection projection = projectionAbout(set.points);
            project(set.points, projection);
            notes << "Projection: " << describe(projection) << '\n';
        } catch (const std::range_error& notDegrees) {
            throw std::range_error(pointFileLabel(request.pointsFile) + ": " + notDegrees.what());
        }
    }
    return set;
}

// The points as the viewer will hold them, and how they got there.
struct FramedPoints {
    std::vector<ViewerPoint> points;
    std::vector<float> heights; // with --elevation
    Framing framing;
    std::optional<Bounds> shown; // the box the viewer gets, none for no points
};

FramedPoints framedPoints(const Request& request, std::ostream& notes) {
    const PointSet read = readPoints(request, notes);
    FramedPoints framed;
    if (const std::optional<Bounds> bounds = boundsOf(read.points)) {
        framed.framing = framingFor(*bounds, request.framing, lowestHeight(read.heights));
        framed.shown = shownBounds(*bounds, request.framing);
    }
    try {
        framed.points = framedFloats(read.points, framed.framing);
        framed.heights = framedHeights(read.heights, framed.framing);
    } catch (const std::range_error& outside) {
        throw std::range_error(pointFileLabel(request.pointsFile) + ": " + outside.what());
    }
    return framed;
}

// The triangles written, and how many --max-edge left out.
struct WrittenTriangles {
    DelaunayTriangles delaunay;
    std::size_t leftOut = 0;
};

WrittenTriangles trianglesOf(const Request& request, const std::vector<ViewerPoint>& points) {
    WrittenTriangles written{triangulateClockwise(points)};
    if (request.maxEdge) {
        written.leftOut =
            dropLongEdgedTriangles(written.delaunay.triangles, points, *request.maxEdge);
    }
    return written;
}

// Triangulates and writes the file; through `out` itself when `toStandardOutput`.
WrittenTriangles writeTriangulationFile(const Request& request, const FramedPoints& framed,
                                        bool toStandardOutput, std::ostream& out) {
    const std::vector<float>* heights = request.elevation ? &framed.heights : nullptr;
    if (toStandardOutput) {
        const WrittenTriangles written = trianglesOf(request, framed.points);
        // The first write that fails leaves its reason in errno; the stream writes no more.
        errno = 0;
        writeTriangulation(out, framed.points, heights, written.delaunay.triangles);
        if (!out.flush()) {
            const bool dash = request.triangulationFile == standardStreamName;
            throw OutputFileException(OutputFileException::Failure::Write,
                                      dash ? "standard output" : request.triangulationFile, errno);
        }
        return written;
    }
    // Created before the long work, so that an unwritable name is reported at once.
    StagedOutputFile file(request.triangulationFile, ".triangulate-");
    WrittenTriangles written = trianglesOf(request, framed.points);
    writeTriangulation(file, framed.points, heights, written.delaunay.triangles);
    file.commit();
    return written;
}

// A terrain has one height at each place: the first point's.
void warnIfHeightsDropped(const Request& request, const WrittenTriangles& written,
                          std::ostream& err) {
    const std::size_t repeats = written.delaunay.duplicates;
    if (request.elevation && repeats > 0) {
        err << "triangulate: warning: "
            << (repeats == 1 ? "1 point repeats the x, y of an earlier point; its height was"
                             : std::to_string(repeats) +
                                   " points repeat the x, y of an earlier point; their heights "
                                   "were")
            << " dropped (the first is kept)" << std::endl;
    }
}

void warnIfAllLeftOut(const Request& request, const WrittenTriangles& written, std::ostream& err) {
    if (written.leftOut > 0 && written.delaunay.triangles.empty()) {
        err << "triangulate: warning: every triangle has an edge longer than "
            << messageNumber(*request.maxEdge) << " (--max-edge), so there are no triangles"
            << std::endl;
    }
}

// A run whose output is its own points file would replace the points with their triangulation:
// refused before anything is read or written.
void refuseOutputOverInput(const Request& request) {
    const std::optional<FileIdentity> input = request.pointsFile == standardStreamName
                                                  ? regularFileOpenOn(STDIN_FILENO)
                                                  : regularFileNamed(request.pointsFile);
    const bool dash = request.triangulationFile == standardStreamName;
    if (input && input == (dash ? regularFileOpenOn(STDOUT_FILENO)
                                : regularFileNamed(request.triangulationFile))) {
        throw std::runtime_error((dash ? "standard output" : request.triangulationFile) +
                                 ": cannot be created: it is the points file");
    }
}

void triangulate(const Request& request, std::ostream& out, std::ostream& err) {
    refuseOutputOverInput(request);
    // Then the data goes through standard output itself, and the lines about it beside it.
    const bool toStandardOutput = request.triangulationFile == standardStreamName ||
                                  namesStandardOutput(request.triangulationFile);
    std::ostringstream notes;
    const FramedPoints framed = framedPoints(request, notes);
    const WrittenTriangles written = writeTriangulationFile(request, framed, toStandardOutput, out);
    const DelaunayTriangles& result = written.delaunay;

    // Only now that the file is written: a failed run has nothing to frame.
    if (framed.shown && request.framing != FramingMode::Fit) {
        warnIfOutsideViewerField(*framed.shown, err);
    }
    warnIfNoTriangles(result, framed.points.size(), err);
    warnIfAllLeftOut(request, written, err);
    warnIfHeightsDropped(request, written, err);
    std::ostream& summary = toStandardOutput ? err : out;
    summary << notes.str();
    if (request.framing != FramingMode::AsGiven) {
        summary << "Transform: " << describe(framed.framing) << '\n';
    }
    summary << "Triangulated " << counted(framed.points.size(), "point") << ": "
            << counted(result.triangles.size(), "triangle") << ", "
            << counted(result.duplicates, "duplicate point");
    if (request.maxEdge) {
        summary << ", " << counted(written.leftOut, "triangle") << " with an edge longer than "
                << messageNumber(*request.maxEdge) << " left out";
    }
    summary << std::endl;
    if (!summary) {
        throw SummaryNotWritten();
    }
}

} // namespace

int runTriangulate(const std::vector<std::string>& arguments, std::ostream& out,
                   std::ostream& err) {
    const ParsedCommandLine parsed = parseCommandLine(arguments);
    if (parsed.help) {
        return writeAnswer(out, err, "triangulate", usage);
    }
    if (!parsed.request) {
        err << "triangulate: " << parsed.problem << "\n" << usage << std::flush;
        return usageErrorExit;
    }
    std::string problem;
    try {
        triangulate(*parsed.request, out, err);
        return 0;
    } catch (const SummaryNotWritten&) {
        problem = "cannot write the summary to standard output";
    } catch (const std::bad_alloc&) {
        problem = "not enough memory for " + pointFileLabel(parsed.request->pointsFile);
    } catch (const OutputFileException& failure) {
        problem = outputProblem(failure);
    } catch (const std::exception& failure) {
        problem = failure.what();
    }
    err << "triangulate: " << printableText(problem) << std::endl;
    return failureExit;
}

} // namespace zel
