#include "triangulate/triangulate_command.h"

#include "common/printable_text.h"
#include "common/standard_options.h"
#include "triangulate/delaunay_triangles.h"
#include "triangulate/framing.h"
#include "triangulate/geographic_projection.h"
#include "triangulate/point_input.h"
#include "triangulate/triangulation_writer.h"

#include <cstring>
#include <exception>
#include <iomanip>
#include <new>
#include <optional>
#include <sstream>
#include <stdexcept>

namespace zel {

namespace {

constexpr int failureExit = 1;
constexpr int usageErrorExit = 2;
constexpr std::size_t fewestForATriangle = 3;
constexpr int warningDigits = 10;

constexpr const char* usage =
    "Usage: triangulate [--center | --fit] <points-file> <triangulation-file>\n"
    "  or:  triangulate --help | -h | --version\n"
    "Writes the Delaunay triangulation of the points as a triangulation file for Tessaro.\n"
    "The points file holds a count then \"x y\" or \"x y z\" per point, or lines of two or\n"
    "more numbers (x y first), or CSV (x and y: the first two columns, or the columns named\n"
    "x/y, easting/northing or lon/lat). z is read and dropped. Longitudes and latitudes are\n"
    "projected to metres. Either file may be -, for standard input or standard output.\n"
    "  --center         move the centre of the points to the origin\n"
    "  --fit            also scale them so that the longer side spans 200 units, as the\n"
    "                   viewer shows them whole\n"
    "  --no-projection  keep longitudes and latitudes in degrees\n"
    "  --help           print this text (also -h)\n"
    "  --version        print the program's version\n";

struct Request {
    FramingMode framing = FramingMode::AsGiven;
    bool projection = true;
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

ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    ParsedCommandLine parsed;
    Request request;
    std::vector<std::string> files;
    bool framed = false;
    for (const std::string& argument : arguments) {
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
            << bounds.longerSide() << " units around (" << bounds.centerX() << ", "
            << bounds.centerY() << "), but the viewer shows about " << viewerFieldSize
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
std::vector<PlanePoint> readPoints(const Request& request, std::ostream& notes) {
    PointSet set = readPointSet(request.pointsFile);
    if (set.geographic && request.projection) {
        try {
            const EquirectangularProjection projection = projectionAbout(set.points);
            project(set.points, projection);
            notes << "Projection: " << describe(projection) << '\n';
        } catch (const std::range_error& notDegrees) {
            throw std::range_error(pointFileLabel(request.pointsFile) + ": " + notDegrees.what());
        }
    }
    return std::move(set.points);
}

// The points as the viewer will hold them, and how they got there.
struct FramedPoints {
    std::vector<ViewerPoint> points;
    Framing framing;
    std::optional<Bounds> shown; // the box the viewer gets, none for no points
};

FramedPoints framedPoints(const Request& request, std::ostream& notes) {
    const std::vector<PlanePoint> read = readPoints(request, notes);
    FramedPoints framed;
    if (const std::optional<Bounds> bounds = boundsOf(read)) {
        framed.framing = framingFor(*bounds, request.framing);
        framed.shown = shownBounds(*bounds, request.framing);
    }
    try {
        framed.points = framedFloats(read, framed.framing);
    } catch (const std::range_error& outside) {
        throw std::range_error(pointFileLabel(request.pointsFile) + ": " + outside.what());
    }
    return framed;
}

// Triangulates and writes the file; through `out` itself when `toStandardOutput`.
DelaunayTriangles writeTriangulationFile(const Request& request,
                                         const std::vector<ViewerPoint>& points,
                                         bool toStandardOutput, std::ostream& out) {
    if (toStandardOutput) {
        const DelaunayTriangles result = triangulateClockwise(points);
        writeTriangulation(out, points, result.triangles);
        if (!out.flush()) {
            const bool dash = request.triangulationFile == standardStreamName;
            throw OutputFileException(OutputFileException::Failure::Write,
                                      dash ? "standard output" : request.triangulationFile);
        }
        return result;
    }
    // Created before the long work, so that an unwritable name is reported at once.
    StagedOutputFile file(request.triangulationFile, ".triangulate-");
    DelaunayTriangles result = triangulateClockwise(points);
    writeTriangulation(file, points, result.triangles);
    file.commit();
    return result;
}

void triangulate(const Request& request, std::ostream& out, std::ostream& err) {
    // Then the data goes through standard output itself, and the lines about it beside it.
    const bool toStandardOutput = request.triangulationFile == standardStreamName ||
                                  namesStandardOutput(request.triangulationFile);
    std::ostringstream notes;
    const FramedPoints framed = framedPoints(request, notes);
    const DelaunayTriangles result =
        writeTriangulationFile(request, framed.points, toStandardOutput, out);

    // Only now that the file is written: a failed run has nothing to frame.
    if (framed.shown && request.framing != FramingMode::Fit) {
        warnIfOutsideViewerField(*framed.shown, err);
    }
    warnIfNoTriangles(result, framed.points.size(), err);
    std::ostream& summary = toStandardOutput ? err : out;
    summary << notes.str();
    if (request.framing != FramingMode::AsGiven) {
        summary << "Transform: " << describe(framed.framing) << '\n';
    }
    summary << "Triangulated " << counted(framed.points.size(), "point") << ": "
            << counted(result.triangles.size(), "triangle") << ", "
            << counted(result.duplicates, "duplicate point") << std::endl;
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
