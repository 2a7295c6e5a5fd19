#include "triangulate/triangulate_command.h"

#include "common/standard_options.h"
#include "triangulate/delaunay_triangles.h"
#include "triangulate/framing.h"
#include "triangulate/point_input.h"
#include "triangulate/triangulation_writer.h"

#include <cstring>
#include <exception>
#include <iomanip>
#include <new>
#include <optional>
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
    "x/y, easting/northing or lon/lat). z is read and dropped.\n"
    "  --center   move the centre of the points to the origin\n"
    "  --fit      also scale them so that the longer side spans 200 units, as the viewer\n"
    "             shows them whole\n"
    "  --help     print this text (also -h)\n"
    "  --version  print the program's version\n";

struct Request {
    FramingMode framing = FramingMode::AsGiven;
    std::string pointsFile;
    std::string triangulationFile;
};

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

// "<file>: cannot be created: <reason>", or "cannot be written".
std::string outputProblem(const OutputFileException& failure) {
    const char* what = failure.failure() == OutputFileException::Failure::Create
                           ? ": cannot be created: "
                           : ": cannot be written: ";
    return failure.name() + what + std::strerror(failure.error());
}

void triangulate(const Request& request, std::ostream& out, std::ostream& err) {
    std::vector<ViewerPoint> points;
    Framing framing;
    {
        const std::vector<PlanePoint> read = readPointFile(request.pointsFile);
        const std::optional<Bounds> bounds = boundsOf(read);
        if (bounds) {
            framing = framingFor(*bounds, request.framing);
            if (request.framing == FramingMode::AsGiven) {
                warnIfOutsideViewerField(*bounds, err);
            }
        }
        try {
            points = framedFloats(read, framing);
        } catch (const std::range_error& outside) {
            throw std::range_error(request.pointsFile + ": " + outside.what());
        }
    }
    // Created before the long work, so that an unwritable name is reported at once.
    StagedOutputFile file(request.triangulationFile, ".triangulate-");
    const DelaunayTriangles result = triangulateClockwise(points);
    writeTriangulation(file, points, result.triangles);
    file.commit();

    warnIfNoTriangles(result, points.size(), err);
    if (request.framing != FramingMode::AsGiven) {
        out << "Transform: " << describe(framing) << std::endl;
    }
    out << "Triangulated " << points.size() << " points: " << result.triangles.size()
        << " triangles, " << result.duplicates << " duplicate points" << std::endl;
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
    try {
        triangulate(*parsed.request, out, err);
        return 0;
    } catch (const std::bad_alloc&) {
        err << "triangulate: not enough memory for " << parsed.request->pointsFile << std::endl;
        return failureExit;
    } catch (const OutputFileException& failure) {
        err << "triangulate: " << outputProblem(failure) << std::endl;
        return failureExit;
    } catch (const std::exception& failure) {
        err << "triangulate: " << failure.what() << std::endl;
        return failureExit;
    }
}

} // namespace zel
