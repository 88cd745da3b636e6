#pragma once
// Round numbers for the chart's axes and the sweep's boxes: steps of 1, 2 or 5 times a power of
// ten, and ends on multiples of them, in whatever unit the numbers are shown.

namespace explorer {

// The smallest 1, 2 or 5 x 10^n at or above step (a step a hair above a round one, as unit
// conversions leave it, counts as that round one). 0, negative or not finite: itself.
double roundStepAtLeast(double step);

struct RoundRange {
    double from;
    double to;
    double step; // from and to are whole multiples of it
};

// Ticks for [low, high]: at most about `ticks` intervals of a round step, the ends widened to
// multiples of it.
RoundRange roundAxis(double low, double high, int ticks);

// roundAxis made safe to draw whatever the figures: finite ends with from < to, and a step that
// gives at most a few times `ticks` intervals and is not lost in the ends' own rounding (a tick
// loop that adds a step below the ends' precision never ends). Non-finite ends fall back to 0
// and 1; a range too narrow for its magnitude is widened around its middle.
RoundRange drawableAxis(double low, double high, int ticks);

// A sweep from, to, step made round: a round step at least as fine, and ends widened to the
// round numbers an axis over them would tick (0 to 3.44738 bar by 0.00689476 becomes 0 to 3.5
// bar by 0.01). A falling sweep stays falling.
RoundRange roundSweep(double from, double to, double step);

} // namespace explorer
