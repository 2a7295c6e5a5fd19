#pragma once

#include "common/frame_transform.h"

#include <optional>
#include <string>

namespace zel {

// A position in the data's own coordinates: eastings and northings (or the input's own
// units), or longitude and latitude in degrees where triangulate projected degrees.
struct DataPosition {
    double x;
    double y;
};

// How the file's coordinates came from the data's, as the file's frame record says (see
// common/frame_record.h). A file without the record holds the data's own coordinates:
// `known` is false and every mapping is the identity.
struct MapFrame {
    bool known = false;
    // Its ground is none when the heights were not framed (a triangulation file, or neither
    // --center nor --fit).
    FrameTransform transform;
    // Some where the data were degrees, projected to metres.
    std::optional<EquirectangularProjection> projection;

    // The data's own x and y at a file position (longitude and latitude where projected).
    DataPosition toData(double fileX, double fileY) const;
    // The data's own height at a file height (before the viewer's exaggeration).
    double heightToData(double fileZ) const;
    // The file height of a data height: heightToData's inverse.
    double heightToFile(double dataZ) const;
    // How long one file unit is across the ground in the data's horizontal units (metres
    // where degrees were projected).
    double dataUnitsPerFileUnit() const;
    // "m" when the horizontal units are known to be metres (after projection), else "units".
    std::string unitName() const;
};

} // namespace zel
