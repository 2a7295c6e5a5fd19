#include "triangulate/frame_record_text.h"

#include "common/frame_record.h"

#include <charconv>

namespace zel {

namespace {

template <typename Number> void appendNumber(std::string& text, Number value) {
    char digits[32];
    char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    text.push_back(' ');
    text.append(digits, static_cast<std::size_t>(end - digits));
}

} // namespace

std::string frameRecordText(const Framing& framing,
                            const std::optional<EquirectangularProjection>& projection) {
    std::string text(frameRecordWord);
    for (const double value : {framing.centreX, framing.centreY, framing.scale}) {
        appendNumber(text, value);
    }
    appendNumber(text, framing.binaryExponent);
    appendNumber(text, framing.offsetX);
    appendNumber(text, framing.offsetY);
    if (framing.ground) {
        text.append(" ").append(frameGroundWord);
        appendNumber(text, *framing.ground);
    }
    if (framing.heightScale) {
        text.append(" ").append(frameHeightScaleWord);
        appendNumber(text, *framing.heightScale);
    }
    if (projection) {
        text.append(" ").append(frameProjectionWord);
        appendNumber(text, projection->standardLatitude);
        appendNumber(text, projection->metresPerDegreeX);
        appendNumber(text, projection->metresPerDegree);
        if (projection->centralMeridian) {
            text.append(" ").append(frameMeridianWord);
            appendNumber(text, *projection->centralMeridian);
        }
    }
    return text;
}

} // namespace zel
