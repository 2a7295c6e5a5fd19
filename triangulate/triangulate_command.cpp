#include "triangulate/triangulate_command.h"

#include "common/file_identity.h"
#include "common/number_token.h"
#include "common/printable_text.h"
#include "common/standard_options.h"
#include "triangulate/delaunay_triangles.h"
#include "triangulate/density_options.h"
#include "triangulate/frame_record_text.h"
#include "triangulate/framing.h"
#include "triangulate/geographic_projection.h"
#include "triangulate/long_edge_filter.h"
#include "triangulate/message_number.h"
#include "triangulate/option_value.h"
#include "triangulate/point_input.h"
#include "triangulate/triangulation_writer.h"

#include <algorithm>
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

constexpr std::size_t fewestForATriangle = 3;
constexpr int warningDigits = 10;
// Under --fit the highest density stands a fifth of the field high: a landscape, not needles.
constexpr double densityPeakHeight = viewerFieldSize / 5.0;
// The summary's figures are for reading; the lines that map values back keep 10 digits.
constexpr int summaryDigits = 4;

} // namespace

const ProgramDescription triangulateProgram{
    "triangulate",
    "[--center | --fit] [--no-projection] [--max-edge <length>] "
    "<points-file> <triangulation-file>\n"
    "  or:  triangulate --elevation [--center | --fit] [--no-projection] [--max-edge <length>] "
    "<points-file> <terrain-file>\n"
    "  or:  triangulate --density [--bandwidth <length>] [--cells <n>] [--log] "
    "[--center | --fit] [--no-projection] <points-file> <terrain-file>",
    "Writes the Delaunay triangulation of the points as a triangulation file for Tessaro;\n"
    "with --elevation, as a terrain file for Tessaro --elevation, each point with its z;\n"
    "with --density, as a terrain file of the points' kernel density on a grid.\n"
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
    "  --max-edge <length>\n"
    "                      leave out every triangle with an edge longer than length across\n"
    "                      the ground, in the units of the points (metres for longitudes\n"
    "                      and latitudes), before --center or --fit\n"
    "  --no-projection     keep longitudes and latitudes in degrees\n"
    "  --density           write a terrain file for Tessaro --elevation whose heights are the\n"
    "                      points' Gaussian kernel density on a grid (points per km2 for\n"
    "                      projected degrees, else per square unit)\n"
    "  --bandwidth <length>\n"
    "                      the kernel's radius in the input's units (metres for projected\n"
    "                      degrees); without it, Scott's rule chooses one\n"
    "  --cells <n>         grid cells along the longer side, 2 to 4096 (default 512)\n"
    "  --log               heights log10(1 + density / a lone point's peak density)\n"
    "  --help              print this text (also -h)\n"
    "  --version           print the program's version"};

namespace {

struct Request {
    FramingMode framing = FramingMode::AsGiven;
    bool projection = true;
    bool elevation = false;
    std::optional<double> maxEdge;
    std::optional<DensitySettings> density;
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
    DensityOptions density;
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
            request.framing = argument == "--fit" ? FramingMode::Fit : FramingMode::Centre;
        } else if (argument == "--no-projection") {
            request.projection = false;
        } else if (argument == "--elevation" || argument == "-z") {
            request.elevation = true;
        } else if (argument == "--max-edge") {
            ++i;
            request.maxEdge =
                positiveNumberAfter(argument, "a length",
                                    i < arguments.size() ? &arguments[i] : nullptr, parsed.problem);
            if (!request.maxEdge) {
                return parsed;
            }
        } else if (isDensityOption(argument)) {
            if (!readDensityOption(arguments, i, density, parsed.problem)) {
                return parsed;
            }
        } else if (argument.size() > 1 && argument[0] == '-') {
            parsed.problem = "unknown option " + argument;
            return parsed;
        } else {
            files.push_back(argument);
        }
    }
    parsed.problem = densityConflict(density, request.elevation, request.maxEdge.has_value());
    if (!parsed.problem.empty()) {
        return parsed;
    }
    request.density = densityRequest(density);
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
            << " around (" << bounds.centreX() << ", " << bounds.centreY()
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

// The points as read, projected to metres when they are degrees and projection is asked for,
// and the projection that did so.
struct ReadPoints {
    PointSet set;
    std::optional<EquirectangularProjection> projection;
};

ReadPoints readPoints(const Request& request, std::ostream& notes) {
    ReadPoints read{
        readPointSet(request.pointsFile, request.elevation ? Heights::Kept : Heights::Dropped),
        std::nullopt};
    if (read.set.geographic && request.projection) {
        try {
            read.projection = projectionAbout(read.set.points);
            project(read.set.points, *read.projection);
            notes << "Projection: " << describe(*read.projection) << '\n';
        } catch (const std::range_error& notDegrees) {
            throw std::range_error(pointFileLabel(request.pointsFile) + ": " + notDegrees.what());
        }
    }
    return read;
}

// The points as the viewer will hold them, and how they got there.
struct FramedPoints {
    std::vector<Point2> points;
    std::vector<float> heights; // with --elevation
    Framing framing;
    std::optional<EquirectangularProjection> projection;
    std::optional<Bounds> shown; // the box the viewer gets, none for no points
    // The points before framing, which --max-edge measures; none without it.
    std::vector<PlanePoint> input;
};

// The record of the transform, none when the file holds the input's own coordinates.
std::string frameRecordOf(const Request& request, const FramedPoints& framed) {
    if (request.framing == FramingMode::AsGiven && !framed.projection) {
        return {};
    }
    return frameRecordText(framed.framing, framed.projection);
}

// " m" after a length when the points are known to be in metres, else nothing.
std::string lengthUnit(const FramedPoints& framed) {
    return framed.projection ? " m" : "";
}

FramedPoints framedPoints(const Request& request, std::ostream& notes) {
    ReadPoints readSet = readPoints(request, notes);
    const PointSet& read = readSet.set;
    FramedPoints framed;
    framed.projection = readSet.projection;
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
    if (request.maxEdge) {
        framed.input = std::move(readSet.set.points);
    }
    return framed;
}

// The triangles written, and how many --max-edge left out.
struct WrittenTriangles {
    DelaunayTriangles delaunay;
    std::size_t leftOut = 0;
};

WrittenTriangles trianglesOf(const Request& request, const FramedPoints& framed) {
    WrittenTriangles written{triangulateClockwise(framed.points)};
    if (request.maxEdge) {
        written.leftOut =
            dropLongEdgedTriangles(written.delaunay.triangles, framed.input, *request.maxEdge);
    }
    return written;
}

// Runs `write` (the long work, then the writing) on the output: `out` itself when
// `toStandardOutput`, else the staged file, which is complete or not there at all.
template <typename Write>
void writeOutput(const Request& request, bool toStandardOutput, std::ostream& out,
                 const Write& write) {
    if (toStandardOutput) {
        // The first write that fails leaves its reason in errno; the stream writes no more.
        errno = 0;
        write(out);
        if (!out.flush()) {
            const bool dash = request.triangulationFile == standardStreamName;
            throw OutputFileException(OutputFileException::Failure::Write,
                                      dash ? "standard output" : request.triangulationFile, errno);
        }
        return;
    }
    // Created before the long work, so that an unwritable name is reported at once.
    StagedOutputFile file(request.triangulationFile, ".triangulate-");
    write(file);
    file.commit();
}

// Triangulates and writes the file.
WrittenTriangles writeTriangulationFile(const Request& request, const FramedPoints& framed,
                                        bool toStandardOutput, std::ostream& out) {
    const std::vector<float>* heights = request.elevation ? &framed.heights : nullptr;
    const std::string record = frameRecordOf(request, framed);
    WrittenTriangles written;
    writeOutput(request, toStandardOutput, out, [&](auto& file) {
        written = trianglesOf(request, framed);
        writeTriangulation(file, framed.points, heights, written.delaunay.triangles, record);
    });
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

void warnIfAllLeftOut(const Request& request, const WrittenTriangles& written,
                      const std::string& unit, std::ostream& err) {
    if (written.leftOut > 0 && written.delaunay.triangles.empty()) {
        err << "triangulate: warning: every triangle has an edge longer than "
            << messageNumber(*request.maxEdge) << unit << " (--max-edge), so there are no triangles"
            << std::endl;
    }
}

// The landscape with the file's name on its problems.
DensityLandscape landscapeOf(const Request& request, const PointSet& read) {
    try {
        return densityLandscape(read.points, read.geographic && request.projection,
                                *request.density);
    } catch (const std::range_error& problem) {
        throw std::range_error(pointFileLabel(request.pointsFile) + ": " + problem.what());
    }
}

// Metres are said as such; other units have no name.
std::string length(double value, bool metres) {
    return messageNumber(value) + (metres ? " m" : value == 1.0 ? " unit" : " units");
}

// The framing of the grid: heights kept as densities, or under --fit brought to the field.
Framing densityFraming(const Request& request, const DensityLandscape& landscape) {
    Framing framing = framingFor(landscape.grid.bounds(), request.framing);
    if (request.framing == FramingMode::Fit) {
        const double highest =
            *std::max_element(landscape.heights.begin(), landscape.heights.end());
        framing.heightScale = densityPeakHeight / highest;
    } else if (request.framing == FramingMode::Centre) {
        framing.heightScale = 1.0;
    }
    return framing;
}

void mapDensity(const Request& request, bool toStandardOutput, std::ostream& out,
                std::ostream& err) {
    std::ostringstream notes;
    const ReadPoints readSet = readPoints(request, notes);
    const PointSet& read = readSet.set;
    const bool metres = readSet.projection.has_value();
    DensityLandscape landscape;
    Framing framing;
    writeOutput(request, toStandardOutput, out, [&](auto& file) {
        landscape = landscapeOf(request, read);
        framing = densityFraming(request, landscape);
        const std::vector<float> heights = framedHeights(landscape.heights, framing);
        const std::string record = request.framing == FramingMode::AsGiven && !metres
                                       ? std::string()
                                       : frameRecordText(framing, readSet.projection);
        writeTriangulation(file, framedFloats(gridNodes(landscape.grid), framing), &heights,
                           gridTriangles(landscape.grid), record);
    });

    if (request.framing != FramingMode::Fit) {
        warnIfOutsideViewerField(shownBounds(landscape.grid.bounds(), request.framing), err);
    }
    std::ostream& summary = toStandardOutput ? err : out;
    summary << notes.str();
    if (landscape.bandwidthByRule) {
        summary << "Bandwidth: " << length(landscape.bandwidth, metres)
                << " (Scott's rule; --bandwidth sets it)\n";
    }
    if (request.framing != FramingMode::AsGiven) {
        summary << "Transform: " << describe(framing) << '\n';
    }
    const std::string perArea = metres ? " points per km2" : " points per square unit";
    if (request.density->logarithmic) {
        summary << "Heights: log10(1 + density / R), R = " << messageNumber(landscape.logReference)
                << perArea << ", a lone point's peak density\n";
    }
    summary << "Density of " << counted(read.points.size(), "point") << " on "
            << landscape.grid.columns << " x " << landscape.grid.rows << " cells, bandwidth "
            << length(landscape.bandwidth, metres) << ": highest "
            << messageNumber(roundedToDigits(landscape.highestDensity, summaryDigits)) << perArea
            << std::endl;
    if (!summary) {
        throw SummaryNotWritten();
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
    if (request.density) {
        mapDensity(request, toStandardOutput, out, err);
        return;
    }
    std::ostringstream notes;
    const FramedPoints framed = framedPoints(request, notes);
    const WrittenTriangles written = writeTriangulationFile(request, framed, toStandardOutput, out);
    const DelaunayTriangles& result = written.delaunay;

    // Only now that the file is written: a failed run has nothing to frame.
    if (framed.shown && request.framing != FramingMode::Fit) {
        warnIfOutsideViewerField(*framed.shown, err);
    }
    warnIfNoTriangles(result, framed.points.size(), err);
    warnIfAllLeftOut(request, written, lengthUnit(framed), err);
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
                << messageNumber(*request.maxEdge) << lengthUnit(framed) << " left out";
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
        return writeAnswer(out, err, "triangulate", usageText(triangulateProgram));
    }
    if (!parsed.request) {
        err << "triangulate: " << parsed.problem << "\n"
            << usageText(triangulateProgram) << std::flush;
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
