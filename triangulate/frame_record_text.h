#pragma once

#include "triangulate/framing.h"
#include "triangulate/geographic_projection.h"

#include <optional>
#include <string>

namespace zel {

// The record of `framing`, and of `projection` where the points were degrees (see
// common/frame_record.h), without a line end: "frame 512000.5 4123000 0.02 0 0 0 ground 15".
// Every number is written with the shortest text that reads back as the same double.
std::string frameRecordText(const Framing& framing,
                            const std::optional<EquirectangularProjection>& projection);

} // namespace zel
