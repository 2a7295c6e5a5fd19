#include "viewer/map_frame_record.h"

#include "common/frame_record.h"
#include "viewer/triangulation_format_exception.h"

#include <cmath>
#include <cstdint>
#include <string>

namespace zel {

namespace {

// Beyond this a power of two takes every double to 0 or infinity.
constexpr std::int32_t largestExponent = 2200;

[[noreturn]] void reject(const std::string& problem) {
    throw TriangulationFormatException("the frame record " + problem);
}

// The next number of the record, on the record's line.
template <typename Number> Number recordNumber(NumberTokens& in, const char* name) {
    Number value{};
    const NumberTokens::Token token = in.read(value);
    if (token == NumberTokens::Token::Missing || in.lineEndBefore()) {
        reject(std::string("ends before its ") + name);
    }
    if (token == NumberTokens::Token::Malformed) {
        reject(std::string("has a ") + name + " that cannot be read");
    }
    return value;
}

double positive(double value, const char* name) {
    if (!(value > 0.0)) {
        reject(std::string("has a ") + name + " that is not positive");
    }
    return value;
}

// An optional part: its word, on the record's line.
bool partFollows(NumberTokens& in, std::string_view word) {
    return in.readWord(word) && !in.lineEndBefore();
}

EquirectangularProjection readProjection(NumberTokens& in) {
    EquirectangularProjection projection{};
    projection.standardLatitude = recordNumber<double>(in, "standard latitude");
    if (!(std::fabs(projection.standardLatitude) <= 90.0)) {
        reject("has a standard latitude outside -90 to 90");
    }
    projection.metresPerDegreeX =
        positive(recordNumber<double>(in, "metres per degree of longitude"),
                 "metres per degree of longitude");
    projection.metresPerDegree =
        positive(recordNumber<double>(in, "metres per degree"), "metres per degree");
    return projection;
}

} // namespace

std::optional<MapFrame> readFrameRecord(NumberTokens& in) {
    if (!in.readWord(frameRecordWord)) {
        return std::nullopt;
    }
    MapFrame frame;
    frame.known = true;
    FrameTransform& t = frame.transform;
    t.centreX = recordNumber<double>(in, "centre x");
    t.centreY = recordNumber<double>(in, "centre y");
    t.scale = positive(recordNumber<double>(in, "scale"), "scale");
    t.binaryExponent = recordNumber<std::int32_t>(in, "binary exponent");
    if (std::abs(t.binaryExponent) > largestExponent) {
        reject("has a binary exponent beyond " + std::to_string(largestExponent));
    }
    t.offsetX = recordNumber<double>(in, "offset x");
    t.offsetY = recordNumber<double>(in, "offset y");
    // A part's word on a later line is no part of the record (a well-formed file has none).
    if (partFollows(in, frameGroundWord)) {
        t.ground = recordNumber<double>(in, "ground");
    }
    if (partFollows(in, frameHeightScaleWord)) {
        t.heightScale = positive(recordNumber<double>(in, "height scale"), "height scale");
    }
    if (partFollows(in, frameProjectionWord)) {
        frame.projection = readProjection(in);
        if (partFollows(in, frameMeridianWord)) {
            const double meridian = recordNumber<double>(in, "central meridian");
            if (!(std::fabs(meridian) <= 360.0)) {
                reject("has a central meridian outside -360 to 360");
            }
            frame.projection->centralMeridian = meridian;
        }
    }
    return frame;
}

} // namespace zel
