#pragma once

namespace zel {

// Each press of ] multiplies every height by this, each press of [ divides by it.
inline constexpr double heightStep = 1.5;
// Presses either way beyond the starting factor: 1.5^34 is about a million.
inline constexpr int mostHeightSteps = 34;

// The vertical exaggeration while the user looks around: the factor the command line set,
// and the presses of ] less the presses of [ since. Counting presses, rather than multiplying
// the factor each time, brings ] then [ back to exactly the same heights.
struct HeightScale {
    double initial = 1.0;
    int steps = 0;

    double factor() const;
};

// The scale after one more press: `step` is +1 for ], -1 for [. A press beyond
// mostHeightSteps changes nothing.
HeightScale stepped(const HeightScale& scale, int step);

// A height multiplied by a factor, as the terrain's vertices hold it: in double precision,
// rounded to float (beyond the range of a float: infinite).
float exaggeratedHeight(float height, double factor);

// Whether heights as tall as `tallestHeight` (in magnitude, before any exaggeration) stay
// within the range of a float under `scale`, computed as the vertices are: beyond it a height
// is infinite and there is nothing to show.
bool staysWithinFloat(float tallestHeight, const HeightScale& scale);

} // namespace zel
